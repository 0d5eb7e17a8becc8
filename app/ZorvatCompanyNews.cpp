#include "app/ZorvatApp.h"

#include "app/ChartWindows.h"
#include "app/CompanyNews.h"
#include "app/DataTable.h"
#include "app/FormFactory.h"
#include "app/NorvMainFrame.h"
#include "app/StockActions.h"
#include "refdata/ZorvatGlobals.h"

#define NEWS_MARKET 1           // the market whose record allows the ticker choice
#define IDD_FORM_ORDER_TICKET 7310

namespace {

// The command's rule met and its window there to open.
BOOL IsCommandEnabled(UINT nId)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    BOOL bEnabled = FALSE;
    return pApp != nullptr && pApp->GetCommandState(nId, &bEnabled, nullptr) && bEnabled;
}

// What the stock rows ask of the application. The charts open only with the charts layer's
// maker, under the rule of the menu's chart of their kind. The order ticket opens on the KSE
// regular board with the row's stock and price.
class CAppStockActions : public IStockActions
{
public:
    void OpenOrderTicketKSE(int nMode, LPCSTR pszStock, double dPrice, long, long) override
    {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->OpenOrderTicketKSE(nMode, pszStock, dPrice, 0, /*nMarketType=*/1);
    }
    void OpenChart(LPCSTR pszStock, int nKind, long nMarketCode) override
    {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->OpenChart(pszStock, nKind, static_cast<int>(nMarketCode));
    }
    void OpenCompanyNews(LPCSTR pszStock, long nMarketCode) override
    {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->OpenCompanyNews(pszStock, nMarketCode);
    }
    BOOL CanEnterOrderKSE() const override { return FindFormMaker(IDD_FORM_ORDER_TICKET) != nullptr && IsCommandEnabled(33049); }
    BOOL CanEnterOrderUS() const override { return FindFormMaker(IDD_FORM_ORDER_TICKET) != nullptr && IsCommandEnabled(33100); }
    BOOL CanOpenChart(int nKind) const override
    {
        return GetChartMaker() != nullptr &&
               IsCommandEnabled(nKind == CHART_KIND_INTRADAY ? ID_APP_CHART_US_INTRADAY : ID_APP_CHART_US_HISTORY);
    }
    BOOL CanOpenCompanyNews() const override
    {
        return IsCommandEnabled(ID_APP_COMPANY_NEWS);
    }
};

CAppStockActions s_stockActions;

}  // namespace

void CZORVAT32App::RegisterStockActions(BOOL bRegister)
{
    if (bRegister)
        SetStockActions(&s_stockActions);
    else if (GetStockActions() == &s_stockActions)
        SetStockActions(nullptr);
}

void CZORVAT32App::OpenCompanyNews(LPCSTR pszSymbol, long nMarketCode)
{
    CString strTicker(pszSymbol != nullptr ? pszSymbol : "");
    long nMarket = nMarketCode;
    if (pszSymbol == nullptr) {
        const PFN_CHOOSE_COMPANY pfnChoose = GetCompanyChooser();
        CString strMarket;
        const HWND hParent = m_pMainFrame != nullptr ? m_pMainFrame->m_hWnd : nullptr;
        if (pfnChoose == nullptr ||
            !pfnChoose(hParent, COMPANY_CHOICE_NEWS, IDS_TITLE_COMPANY_NEWS_ID, &strTicker, &strMarket))
            return;
        nMarket = GetGlobals()->GetMarketCode(strMarket);
    }
    BOOL bMade = FALSE;
    IDataTable* pTable = MakeMissingTable(IDS_TABLE_COMPANY_NEWS_ID, IDS_TITLE_COMPANY_NEWS_ID, &bMade);
    if (pTable == nullptr)
        return;
    ShowTable(pTable);
    pTable->SendRequestFor(nMarket, strTicker);
}

void CZORVAT32App::OnCompanyNewsCommand(UINT nId)
{
    if (nId != ID_APP_COMPANY_NEWS_TICKER) {
        OpenCompanyNews(nullptr, 0);
        return;
    }
    MarketDetail market;
    const PFN_CHOOSE_COMPANY pfnChoose = GetCompanyChooser();
    if (!GetGlobals()->LookupMarket(NEWS_MARKET, market) || market.m_nNoNewsFlag == 1 || pfnChoose == nullptr)
        return;
    CString strTicker, strMarket;
    const HWND hParent = m_pMainFrame != nullptr ? m_pMainFrame->m_hWnd : nullptr;
    if (pfnChoose(hParent, COMPANY_CHOICE_TICKER, IDS_TITLE_COMPANY_NEWS_ID, &strTicker, &strMarket))
        OpenCompanyNews(strTicker, GetGlobals()->GetMarketCode(strMarket));
}
