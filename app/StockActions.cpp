#include "app/StockActions.h"
#include "app/ZorvatApp.h"
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
    if (pGlobals == nullptr || !pGlobals->LookupMarket(nMarketCode, market) || s_pActions == nullptr)
        return;
    if (market.m_nQuoteLookupFlag != 1) {
        s_pActions->OpenChart(pszSymbol, CHART_KIND_HISTORY, nMarketCode);
        return;
    }
    // A market whose symbols live in the quotations has no chart of its own: the symbol goes to
    // the order ticket, on its market, for a user who may place US orders.
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr && s_pActions->CanEnterOrderUS())
        pApp->OpenOrderTicket(0, pszSymbol, 0.0, pGlobals->GetMarketName(nMarketCode), nullptr, 0);
}
