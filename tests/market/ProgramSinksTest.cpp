// Every message sink of the program takes exactly the types whose handlers its class overrides:
// a handler whose type was not stated would never be called, a type stated without a handler
// would cost its fan-outs a walk for nothing. A new sink class joins the table below.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include "DataTableTestSupport.h"
#include "link/ErrorDictionary.h"
#include "market/CompanyNewsTable.h"
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
#include "market/NewsReaderDlg.h"
#include "market/NewsTable.h"
#include "market/OpenInterestFwdKSETable.h"
#include "market/OptionChainTable.h"
#include "market/OrderBookKSETable.h"
#include "market/OrderBookOddLotKSETable.h"
#include "market/QuotationDailyTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationMonthlyTable.h"
#include "market/QuotationOddLotKSETable.h"
#include "market/QuotationTable.h"
#include "market/RulesFwdKSETable.h"
#include "market/StockDetailTables.h"
#include "market/StockListKSETable.h"
#include "market/TickerLookupResultsTable.h"
#include "market/TicksUnitsKSETable.h"
#include "market/TimeAndSalesKSETables.h"
#include "market/TimeAndSalesTable.h"
#include "market/ZorvatInfoTable.h"
#include "refdata/ServerCodeTables.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/common/SinkOverrides.h"

namespace {

struct SINK_CLASS
{
    const char* pszName;
    std::function<CZorvatMessageSink*(CZorvatMessageSource*)> make;
};

template <class TTable>
CZorvatMessageSink* MakeOn(CZorvatMessageSource* pSource)
{
    return new TTable(pSource);
}

const SINK_CLASS s_classes[] = {
    // The tables, whose types come from their descriptions.
    {"time and sales", MakeOn<CTimeAndSalesTable>},
    {"KSE trades", MakeOn<CTimeAndSalesKSETable>},
    {"KSE odd-lot trades", MakeOn<CTimeAndSalesOddLotKSETable>},
    {"forward trades", MakeOn<CTimeAndSalesFwdKSETable>},
    {"KSE stock list", MakeOn<CStockListKSETable>},
    {"ticks and units", MakeOn<CTicksUnitsKSETable>},
    {"forward rules", MakeOn<CRulesFwdKSETable>},
    {"ticker lookup results", MakeOn<CTickerLookupResultsTable>},
    {"stock monthly history", MakeOn<CQuotationMonthlyTable>},
    {"stock financials", MakeOn<CStockFinancialTable>},
    {"stock information", MakeOn<CStockInformationTable>},
    {"US quotations", MakeOn<CQuotationTable>},
    {"KSE odd-lot board", MakeOn<CQuotationOddLotKSETable>},
    {"forward market", MakeOn<CQuotationFwdKSETable>},
    {"open interest", MakeOn<COpenInterestFwdKSETable>},
    {"indices", MakeOn<CIndicesKSETable>},
    {"index daily history", MakeOn<CIndicesDailyTable>},
    {"index monthly history", MakeOn<CIndicesMonthlyTable>},
    {"stock daily history", MakeOn<CQuotationDailyTable>},
    {"KSE board", MakeOn<CQuotationKSETable>},
    {"exchange rates", MakeOn<CInternationalExchangeRatesTable>},
    {"interest rates", MakeOn<CInternationalInterestRatesTable>},
    {"market schedule", MakeOn<CInternationalMarketScheduleTable>},
    {"option chain", MakeOn<COptionChainTable>},
    {"KSE order book", MakeOn<COrderBookKSETable>},
    {"KSE odd-lot book", MakeOn<COrderBookOddLotKSETable>},
    {"US price-level book", MakeOn<CInternationalOrderBookTable>},
    {"US market-maker book", MakeOn<CInternationalMarketMakerOrderBookTable>},
    {"news list", MakeOn<CListNewsTable>},
    {"company news", MakeOn<CCompanyNewsTable>},
    {"KSE news", MakeOn<CNewsKSETable>},
    {"KSE news detail", MakeOn<CNewsDetailKSETable>},
    {"KSE news browser", MakeOn<CNewsBrowserKSETable>},
    {"news", MakeOn<CNewsTable>},
    {"KSE corporate events", MakeOn<CCorporateEventsKSETable>},
    {"corporate events", MakeOn<CCorporateEventsTable>},
    {"holidays", MakeOn<CHolidayTable>},
    {"gainers", [](CZorvatMessageSource* pSource) { return new CGainerLooserTable(pSource, 0); }},
    {"losers", [](CZorvatMessageSource* pSource) { return new CGainerLooserTable(pSource, 1); }},
    {"most active", [](CZorvatMessageSource* pSource) { return new CGainerLooserTable(pSource, 2); }},
    {"information window", [](CZorvatMessageSource* pSource) { return new CZorvatInfoTable(nullptr, pSource); }},
    // The reference data, the code tables and the error dictionary.
    {"reference data", [](CZorvatMessageSource*) { return new CZorvatGlobals; }},
    {"countries", [](CZorvatMessageSource*) { return new CCountryName(nullptr, nullptr); }},
    {"roles", [](CZorvatMessageSource*) { return new CRoleName(nullptr, nullptr); }},
    {"business types", [](CZorvatMessageSource*) { return new CBusinessType; }},
    {"employment states", [](CZorvatMessageSource*) { return new CEmpStatus; }},
    {"error dictionary", [](CZorvatMessageSource*) { return new CZorvatErrorDictionary(nullptr, nullptr, nullptr); }},
    // The forms.
    {"news reader", [](CZorvatMessageSource*) { return new CNewsReaderDlg; }},
};

}  // namespace

TEST_F(CTableFixture, EverySinkTakesTheTypesOfItsOwnHandlers)
{
    for (const SINK_CLASS& sinkClass : s_classes) {
        std::unique_ptr<CZorvatMessageSink> pSink(sinkClass.make(&source));
        EXPECT_EQ(GetOverriddenTypes(pSink.get()), pSink->GetMessageTypes()) << sinkClass.pszName;
    }
}
