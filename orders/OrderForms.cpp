#include "orders/OrderForms.h"
#include "app/FormFactory.h"

void RegisterOrderForms()
{
}
