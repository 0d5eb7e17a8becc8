#include "market/SymbolCommands.h"

#include <cstdio>
#include <cstring>
#include "app/StockActions.h"
#include "app/ZorvatApp.h"
#include "market/InternationalOrderBookTable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

namespace {

long MarketCodeOf(LPCSTR pszMarket)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    return pGlobals != nullptr && pszMarket != nullptr ? pGlobals->GetMarketCode(pszMarket) : 0;
}

// What going to a symbol shows: its chart, unless its market looks symbols up in the quotations
// (or is unknown), where there is nothing to open.
BOOL CanGoTo(LPCSTR pszMarket)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    MarketDetail market;
    return pGlobals != nullptr && pGlobals->LookupMarket(MarketCodeOf(pszMarket), market) &&
           market.m_nQuoteLookupFlag != 1 && GetStockActions() != nullptr &&
           GetStockActions()->CanOpenChart(CHART_KIND_HISTORY);
}

void OpenOrderBook(LPCSTR pszSymbol, LPCSTR pszMarket)
{
    auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_QUOTATIONS_US));
    if (pszMarket != nullptr && strcmp(pszMarket, BOOK_MARKET_TEXT) == 0 && pQuotes != nullptr &&
        pQuotes->ShowInBook(pszSymbol, pszMarket, IDS_TABLE_ORDER_BOOK_US))
        return;
    char szMarket[16];
    snprintf(szMarket, sizeof(szMarket), "%ld", MarketCodeOf(pszMarket));
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OpenOrderBookPage(pszSymbol, szMarket);
}

}  // namespace

BOOL IsSymbolCommand(UINT nId)
{
    return nId == ID_SYMBOL_GO_TO || nId == ID_SYMBOL_ORDER_BOOK || nId == ID_SYMBOL_NEWS;
}

BOOL CanRunSymbolCommand(UINT nId, LPCSTR pszMarket)
{
    // A row of no market (a cash line) names no symbol.
    if (MarketCodeOf(pszMarket) == 0)
        return FALSE;
    switch (nId) {
    case ID_SYMBOL_GO_TO:
        return CanGoTo(pszMarket);
    case ID_SYMBOL_ORDER_BOOK:
        return TRUE;
    case ID_SYMBOL_NEWS:
        return GetStockActions() != nullptr && GetStockActions()->CanOpenCompanyNews();
    default:
        return FALSE;
    }
}

void RunSymbolCommand(UINT nId, LPCSTR pszSymbol, LPCSTR pszMarket)
{
    if (pszSymbol == nullptr || pszSymbol[0] == 0 || !CanRunSymbolCommand(nId, pszMarket))
        return;
    if (nId == ID_SYMBOL_GO_TO) {
        GoToSymbol(pszSymbol, MarketCodeOf(pszMarket));
    } else if (nId == ID_SYMBOL_ORDER_BOOK) {
        OpenOrderBook(pszSymbol, pszMarket);
    } else if (nId == ID_SYMBOL_NEWS) {
        CString strKey;
        strKey.Format("COMPANY:%s", pszSymbol);
        GetStockActions()->OpenCompanyNews(strKey, MarketCodeOf(pszMarket));
    }
}
