#include "app/StockActions.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

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

void GoToSymbol(LPCSTR pszSymbol, long nMarketCode)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    MarketDetail market;
    if (pGlobals == nullptr || !pGlobals->LookupMarket(nMarketCode, market) || market.m_nQuoteLookupFlag == 1)
        return;
    if (s_pActions != nullptr)
        s_pActions->OpenChart(pszSymbol, CHART_KIND_HISTORY, nMarketCode);
}
