#include "app/StockActions.h"

namespace {
IStockActions* s_pActions = nullptr;
}

void SetStockActions(IStockActions* pActions)
{
    s_pActions = pActions;
}

IStockActions* GetStockActions()
{
    return s_pActions;
}
