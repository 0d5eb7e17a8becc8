#include "market/MarketTables.h"

#include "app/TableFactory.h"

void RegisterMarketTables()
{
}
