#include "market/MarketTables.h"

#include "app/AppCommands.h"
#include "app/FormFactory.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "market/CorporateEventsKSETable.h"
#include "market/CorporateEventsTable.h"
#include "market/GainerLooserTable.h"
#include "market/HolidayTable.h"
#include "market/IndicesHistoryTables.h"
#include "market/IndicesKSETable.h"
#include "market/InternationalExchangeRatesTable.h"
#include "market/InternationalInterestRatesTable.h"
#include "market/InternationalMarketMakerOrderBookTable.h"
#include "market/InternationalMarketScheduleTable.h"
#include "market/InternationalOrderBookTable.h"
#include "market/ListNewsTable.h"
#include "market/NewsBrowserKSETable.h"
#include "market/NewsDetailKSETable.h"
#include "market/NewsKSETable.h"
#include "market/OpenInterestFwdKSETable.h"
#include "market/OptionChainDlg.h"
#include "market/OptionChainTable.h"
#include "market/OrderBookKSETable.h"
#include "market/OrderBookOddLotKSETable.h"
#include "market/NewsReaderDlg.h"
#include "market/PreferencesDlg.h"
#include "market/QuotationDailyTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationMonthlyTable.h"
#include "market/QuotationOddLotKSETable.h"
#include "market/QuotationTable.h"
#include "market/RulesFwdKSETable.h"
#include "market/StockDetailTables.h"
#include "market/StockListKSETable.h"
#include "market/TickerLookupDlg.h"
#include "market/TickerLookupResultsTable.h"
#include "market/TicksUnitsKSETable.h"
#include "market/TimeAndSalesKSETables.h"
#include "market/TimeAndSalesTable.h"
#include "market/ZorvatInfoTable.h"
#include "market/ZorvatTickerWnd.h"
#include "market/dialogs/PausePasswdDlg.h"

namespace {

// The information window answers to the application as its host.
IDataTable* MakeInfoTable(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    CZorvatInfoTable* pTable = new CZorvatInfoTable(pApp, pApp);
    if (!pTable->Create(nNameId, nFixedColumns, nTitleId)) {
        delete pTable;
        return nullptr;
    }
    return pTable;
}

// The pause lock of the application's command: the dialog over the main window, expecting the
// session's password.
int RunPauseLock(HWND hParent, LPCSTR pszPassword)
{
    CPausePasswdDlg dialog(hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr);
    dialog.SetExpectedPassword(pszPassword);
    return static_cast<int>(dialog.DoModal());
}

}  // namespace

void RegisterMarketTables()
{
    RegisterTableMaker(IDS_TABLE_INFO, MakeInfoTable);
    RegisterTickerMaker(CZorvatTickerWnd::Make);
    RegisterTableMaker(IDS_TABLE_TIME_AND_SALES, MakeDataTable<CTimeAndSalesTable>);
    RegisterTableMaker(IDS_TABLE_TRADES_KSE, MakeDataTable<CTimeAndSalesKSETable>);
    RegisterTableMaker(IDS_TABLE_TRADES_ODDLOT_KSE, MakeDataTable<CTimeAndSalesOddLotKSETable>);
    RegisterTableMaker(IDS_TABLE_TRADES_FWD_KSE, MakeDataTable<CTimeAndSalesFwdKSETable>);
    RegisterTableMaker(IDS_TABLE_STOCK_LIST_KSE, MakeDataTable<CStockListKSETable>);
    RegisterTableMaker(IDS_TABLE_TICKS_UNITS_KSE, MakeDataTable<CTicksUnitsKSETable>);
    RegisterTableMaker(IDS_TABLE_RULES_FWD_KSE, MakeDataTable<CRulesFwdKSETable>);
    RegisterTableMaker(IDS_TABLE_TICKER_LOOKUP_RESULTS, MakeDataTable<CTickerLookupResultsTable>);
    RegisterTableMaker(IDS_TABLE_QUOTATION_MONTHLY, MakeDataTable<CQuotationMonthlyTable>);
    RegisterTableMaker(IDS_TABLE_STOCK_FINANCIAL, MakeDataTable<CStockFinancialTable>);
    RegisterTableMaker(IDS_TABLE_STOCK_INFORMATION, MakeDataTable<CStockInformationTable>);
    RegisterTableMaker(IDS_TABLE_QUOTATIONS_US, MakeDataTable<CQuotationTable>);
    RegisterTableMaker(IDS_TABLE_QUOTATIONS_ODDLOT_KSE, MakeDataTable<CQuotationOddLotKSETable>);
    RegisterTableMaker(IDS_TABLE_QUOTATIONS_FWD_KSE, MakeDataTable<CQuotationFwdKSETable>);
    RegisterTableMaker(IDS_TABLE_OPEN_INTEREST_FWD_KSE, MakeDataTable<COpenInterestFwdKSETable>);
    RegisterTableMaker(IDS_TABLE_INDICES_KSE, MakeDataTable<CIndicesKSETable>);
    RegisterTableMaker(IDS_TABLE_INDEX_DAILY, MakeDataTable<CIndicesDailyTable>);
    RegisterTableMaker(IDS_TABLE_INDEX_MONTHLY, MakeDataTable<CIndicesMonthlyTable>);
    RegisterTableMaker(IDS_TABLE_QUOTATION_DAILY, MakeDataTable<CQuotationDailyTable>);
    RegisterTableMaker(IDS_TABLE_QUOTATIONS_KSE, MakeDataTable<CQuotationKSETable>);
    RegisterTableMaker(IDS_TABLE_EXCHANGE_RATES, MakeDataTable<CInternationalExchangeRatesTable>);
    RegisterTableMaker(IDS_TABLE_INTEREST_RATES, MakeDataTable<CInternationalInterestRatesTable>);
    RegisterTableMaker(IDS_TABLE_MARKET_SCHEDULE, MakeDataTable<CInternationalMarketScheduleTable>);
    RegisterTableMaker(IDS_TABLE_OPTION_CHAIN, MakeDataTable<COptionChainTable>);
    RegisterTableMaker(IDS_TABLE_ORDER_BOOK_KSE, MakeDataTable<COrderBookKSETable>);
    RegisterTableMaker(IDS_TABLE_ORDER_BOOK_ODDLOT_KSE, MakeDataTable<COrderBookOddLotKSETable>);
    RegisterTableMaker(IDS_TABLE_ORDER_BOOK_US, MakeDataTable<CInternationalOrderBookTable>);
    RegisterTableMaker(IDS_TABLE_MAKER_BOOK_US, MakeDataTable<CInternationalMarketMakerOrderBookTable>);
    RegisterFormMaker(IDD_FORM_TICKER_LOOKUP, CTickerLookupDlg::Make);
    RegisterFormMaker(IDD_FORM_PREFERENCES, CPreferencesDlg::Make);
    RegisterFormMaker(IDD_FORM_NEWS_READER, CNewsReaderDlg::Make);
    RegisterFormMaker(IDD_FORM_OPTION_CHAIN, COptionChainDlg::Make);
    RegisterTableMaker(IDS_TABLE_NEWS_LIST, MakeDataTable<CListNewsTable>);
    RegisterTableMaker(IDS_TABLE_NEWS_KSE, MakeDataTable<CNewsKSETable>);
    RegisterTableMaker(IDS_TABLE_NEWS_DETAIL_KSE, MakeDataTable<CNewsDetailKSETable>);
    RegisterTableMaker(IDS_TABLE_NEWS_BROWSER_KSE, MakeDataTable<CNewsBrowserKSETable>);
    RegisterTableMaker(IDS_TABLE_CORPORATE_EVENTS_KSE, MakeDataTable<CCorporateEventsKSETable>);
    RegisterTableMaker(IDS_TABLE_CORPORATE_EVENTS, MakeDataTable<CCorporateEventsTable>);
    RegisterTableMaker(IDS_TABLE_HOLIDAYS, MakeDataTable<CHolidayTable>);
    RegisterTableMaker(IDS_TABLE_GAINERS, MakeGainerLooserTable<0>);
    RegisterTableMaker(IDS_TABLE_LOSERS, MakeGainerLooserTable<1>);
    RegisterTableMaker(IDS_TABLE_MOST_ACTIVE, MakeGainerLooserTable<2>);
    RegisterPauseLock(RunPauseLock);
    RegisterCommandDialog(ID_APP_CORP_EVENTS, RunCorpEventDownload);
}
