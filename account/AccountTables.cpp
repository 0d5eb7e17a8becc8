#include "account/AccountTables.h"
#include "app/TableFactory.h"

void RegisterAccountTables()
{
}
