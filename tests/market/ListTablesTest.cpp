// The lists and trades tables fed through a real message source: the KSE stock list and its
// texts, the tick bands of "TU", the KSE trades split by board, and the US trades made from the
// volumes of quote lines.
#include <gtest/gtest.h>
#include <filesystem>
#include <string>
#include "DataTableTestSupport.h"
#include "framework/base/InfoWindow.h"
#include "framework/base/SharedGlobals.h"
#include "market/QuotationMonthlyTable.h"
#include "market/StockListKSETable.h"
#include "market/TickerLookupResultsTable.h"
#include "market/TicksUnitsKSETable.h"
#include "market/TimeAndSalesKSETables.h"
#include "market/TimeAndSalesTable.h"

namespace {

// The information window's lines, the string ids as "#id".
class CInfoLines : public IInfoWindow
{
public:
    CInfoLines() : m_pOld(GetSharedGlobals()->m_pInfoWindow) { GetSharedGlobals()->m_pInfoWindow = this; }
    ~CInfoLines() override { GetSharedGlobals()->m_pInfoWindow = m_pOld; }
    void AddText(LPCSTR pszText) override { m_lines.push_back(pszText); }
    void AddResourceText(UINT nId) override { m_lines.push_back("#" + std::to_string(nId)); }
    std::vector<std::string> m_lines;

private:
    IInfoWindow* m_pOld;
};

struct ListFixture : CTableFixture
{
    // The stock list of two stocks, complete.
    CStockListKSETable* MakeStockList() { return FillStockList(Make<CStockListKSETable>()); }
    CStockListKSETable* FillStockList(CStockListKSETable* pList)
    {
        FireAll({"~SL|1|XC||0",
                 "102|NCB|ncb|Najd Commercial Bank|najd|1|261207093000|100|0.1|614|0|1|614|261207|261207|1|261207|261207|0|0|0",
                 "101|GHB|ghb|Gulf Harbour Bank|gulf|1|261207093000|100|0.1|842|0|1|842|261207|261207|1|261207|261207|0|0|0",
                 "$EN|1|XC|0"});
        return pList;
    }
};

}  // namespace

TEST_F(ListFixture, StockListNamesStocksAndTakesLiveLinesOnceComplete)
{
    CStockListKSETable* pList = Make<CStockListKSETable>();
    Fire("~LL|0|XC|0|103|KFH|kfh|Kuwait Finance House|kfh");
    EXPECT_EQ(0, pList->GetRows()->GetCount()) << "a live line before the list's end changes nothing";
    EXPECT_EQ(CString("101"), GetKSEStockSymbol(101, FALSE)) << "a stock the list lacks reads as its id";

    FillStockList(pList);
    ASSERT_EQ(2, pList->GetRows()->GetCount());
    EXPECT_EQ("101,102", Column(*pList->GetRows(), SLC_ID));
    EXPECT_EQ("20261207093000", std::string(pList->GetRows()->GetAt(0)->GetText(6))) << "the server's date converted";
    EXPECT_EQ(CString("GHB"), pList->GetStockSymbol(101, FALSE));
    EXPECT_EQ(CString("ghb"), pList->GetStockSymbol(101, TRUE));
    EXPECT_EQ(CString("Najd Commercial Bank"), pList->GetStockName(102, FALSE));
    EXPECT_EQ(CString("=KWD"), pList->GetStockSymbol(0, FALSE));
    EXPECT_EQ(CString("999"), pList->GetStockSymbol(999, FALSE));
    EXPECT_EQ(CString(""), pList->GetStockName(999, FALSE));
    EXPECT_EQ(CString("NCB"), GetKSEStockSymbol(102, FALSE)) << "through the table map";

    Fire("~LL|0|XC|0|103|KFH|kfh|Kuwait Finance House|kfh");
    Fire("~LL|0|XC|0|101|GHB2|ghb2|Gulf Harbour Bank|gulf");
    EXPECT_EQ("101,102,103", Column(*pList->GetRows(), SLC_ID)) << "a new stock is added, a known one changed";
    EXPECT_EQ(CString("GHB2"), pList->GetStockSymbol(101, FALSE));
    EXPECT_EQ(3, pList->GetTable()->GetView(0)->GetRowCount() - 1) << "and the grand total";
}

TEST_F(ListFixture, EveryTickLineReplacesTheBands)
{
    CTicksUnitsKSETable* pTicks = Make<CTicksUnitsKSETable>();
    Fire("~TU|0|XC|0|0|100|0.1|100|150|0.5|250|250|1|500|0|0");
    ASSERT_EQ(3, pTicks->GetRows()->GetCount());
    EXPECT_EQ("0,1,2", Column(*pTicks->GetRows(), 0));
    EXPECT_EQ("0.100000,0.500000,1.000000", Column(*pTicks->GetRows(), 4));
    EXPECT_EQ(3, pTicks->GetBandCount());
    EXPECT_EQ(101, pTicks->GetBand(1)->nFrom);
    EXPECT_EQ(nullptr, pTicks->GetBand(3));
    Fire("~TU|0|XC|0|0|1000|0.29");
    EXPECT_EQ("0.290000", Column(*pTicks->GetRows(), 4)) << "rounded to hundredths, not truncated";
    EXPECT_EQ(1, pTicks->GetTable()->GetView(0)->GetRowCount() - 1) << "and the grand total";
}

TEST_F(ListFixture, KseTradesSplitByBoardAndLiveTradesUpdateTheirNumber)
{
    MakeStockList();
    CTimeAndSalesKSETable* pRegular = Make<CTimeAndSalesKSETable>();
    CTimeAndSalesOddLotKSETable* pOddLot = Make<CTimeAndSalesOddLotKSETable>();
    Fire("~TM|0|XC|0|1|4000|261207092900|101|840|100");
    EXPECT_EQ(0, pRegular->GetRows()->GetCount()) << "a trade before the first reply's end is dropped";

    FireAll({"~TE|1|XC||0", "1|5003|261207093100|102|614|300", "2|5002|261207093000|101|840|5",
             "1|5001|261207093000|101|842|100", "$EN|1|XC|0"});
    EXPECT_EQ("5001,5003", Column(*pRegular->GetRows(), 0));
    EXPECT_EQ("GHB,NCB", Column(*pRegular->GetRows(), 2)) << "named by the stock list";
    EXPECT_EQ("101,102", Column(*pRegular->GetRows(), 3));
    EXPECT_EQ(",", Column(*pRegular->GetRows(), 4)) << "no KSE quotation table names them yet";
    EXPECT_EQ("5002", Column(*pOddLot->GetRows(), 0));
    EXPECT_EQ("GHB", Column(*pOddLot->GetRows(), 2));
    EXPECT_EQ("20261207093000", std::string(pOddLot->GetRows()->GetAt(0)->GetText(1)));

    // A trade told again changes its row; a new one is added; each board keeps to its own.
    Fire("~TM|0|XC|0|1|5001|261207093000|101|845|150");
    Fire("~TM|0|XC|0|1|5004|261207093200|102|615|10");
    Fire("~TM|0|XC|0|2|5005|261207093200|102|600|1");
    EXPECT_EQ("5001,5003,5004", Column(*pRegular->GetRows(), 0));
    EXPECT_DOUBLE_EQ(845.0, pRegular->GetRows()->GetAt(0)->GetDouble(5));
    EXPECT_DOUBLE_EQ(150.0, pRegular->GetRows()->GetAt(0)->GetDouble(6));
    EXPECT_EQ("5002,5005", Column(*pOddLot->GetRows(), 0));
    EXPECT_EQ(3, pRegular->GetTable()->GetView(0)->GetRowCount() - 1) << "three trades and the grand total";
}

TEST_F(ListFixture, UsTradesComeFromGrowingVolumesOfFollowedSymbols)
{
    CTimeAndSalesTable* pTrades = Make<CTimeAndSalesTable>();
    EXPECT_EQ(pTrades, FindTimeAndSalesFeed());
    pTrades->AddSymbol("ABC");
    pTrades->AddSymbol("ABC");
    EXPECT_TRUE(pTrades->IsSymbolAdded("ABC"));
    const CDataArray& rows = *pTrades->GetRows();
    // 0 symbol, 1 result, 2 kind (1 snapshot), 3 last, 6 time, 9 trades#volume, 11 high, 12 low.
    Fire("~GS|0|XC|4|ABC|0|1|10.5|||93000|||12#1000||11|10");
    Fire("~GS|0|XC|4|XYZ|0|2|10.5|||93001|||12#5000||11|10");
    EXPECT_EQ(0, rows.GetCount()) << "a snapshot and a symbol not followed make no trade";

    Fire("~GS|0|XC|4|ABC|0|2|10.8|||93005|||13#1500||11|10");
    ASSERT_EQ(1, rows.GetCount());
    EXPECT_EQ("0", std::string(rows.GetAt(0)->GetText(UTC_NUMBER)));
    EXPECT_EQ("093005", std::string(rows.GetAt(0)->GetText(UTC_TIME))) << "the hour's zero put back";
    EXPECT_EQ("ABC", std::string(rows.GetAt(0)->GetText(UTC_SYMBOL)));
    EXPECT_DOUBLE_EQ(500.0, rows.GetAt(0)->GetDouble(UTC_QUANTITY));
    EXPECT_DOUBLE_EQ(10.8, rows.GetAt(0)->GetDouble(UTC_PRICE));

    Fire("~GS|0|XC|4|ABC|0|2|10.9|||93006|||14#1500||11|10");
    Fire("~GS|0|XC|4|ABC|1|2|10.9|||93006|||14#2500||11|10");
    Fire("~GS|0|XC|4|ABC|0|2|0|||93006|||14#2500||11|10");
    Fire("~GS|0|XC|4|ABC|0|2|10.9||||||14#2500||11|10");
    EXPECT_EQ(1, rows.GetCount()) << "no growth, a refused line, no price or no time: no trade";

    // A stopped symbol makes no rows but keeps counting.
    pTrades->ToggleSymbolStop("ABC");
    EXPECT_TRUE(pTrades->IsSymbolStopped("ABC"));
    Fire("~GS|0|XC|4|ABC|0|2|9.5|||93010|||15#1800||11|9.5");
    EXPECT_EQ(1, rows.GetCount());
    pTrades->ToggleSymbolStop("ABC");
    Fire("~GS|0|XC|4|ABC|0|2|12|||100000|||16#1900||12|9.5");
    ASSERT_EQ(2, rows.GetCount());
    EXPECT_DOUBLE_EQ(100.0, rows.GetAt(1)->GetDouble(UTC_QUANTITY)) << "from the volume the stopped line left";
    EXPECT_EQ("1", std::string(rows.GetAt(1)->GetText(UTC_NUMBER)));
    EXPECT_EQ("100000", std::string(rows.GetAt(1)->GetText(UTC_TIME)));

    pTrades->AddSymbol("XYZ");
    Fire("~GS|0|XC|4|XYZ|0|2|5|||93020|||1#10||5|5");
    EXPECT_EQ(3, rows.GetCount());
    pTrades->RemoveSymbol("ABC");
    EXPECT_FALSE(pTrades->IsSymbolAdded("ABC"));
    EXPECT_EQ("XYZ", Column(rows, UTC_SYMBOL)) << "its rows went with it";
    Fire("~GS|0|XC|4|ABC|0|2|12|||100100|||17#2000||12|9.5");
    EXPECT_EQ(1, rows.GetCount());
}

TEST_F(ListFixture, LookupThatFoundNothingSaysSo)
{
    CInfoLines info;
    CTickerLookupResultsTable* pResults = Make<CTickerLookupResultsTable>();
    FireAll({"~TL|1|XC||0", "BRKT|Brookton Motors", "ALPN|Alpine Networks", "~EN|1|XC|2"});
    EXPECT_EQ("ALPN,BRKT", Column(*pResults->GetRows(), 0));
    EXPECT_TRUE(info.m_lines.empty());
    Fire("~EN|1|XC|0");
    EXPECT_TRUE(info.m_lines.empty()) << "an end outside its reply is no answer";
    FireAll({"~TL|2|XC||0", "~EN|2|XC|0"});
    EXPECT_EQ(0, pResults->GetRows()->GetCount());
    EXPECT_EQ(std::vector<std::string>{"#55305"}, info.m_lines);
}

TEST_F(ListFixture, HistoryRepliesOfOtherStocksAndStampsThatNameNoFileAreNotCached)
{
    MakeStockList();
    CQuotationMonthlyTable* pMonthly = Make<CQuotationMonthlyTable>();
    pMonthly->RequestHistory(101);
    // 0 date, 1 close, ..., 11 state. Heads: 3 stamp, 4 period, 5 stock, 7 mode (1 every month).
    FireAll({"~DQ|1|XC||0||1002|261206|2|102||1", "261206|614|1|1|1|1|1|1|1|1|102|0", "~EN|1|XC|0"});
    EXPECT_EQ(0, pMonthly->GetRows()->GetCount()) << "the answer to an earlier request for another stock";
    EXPECT_FALSE(pMonthly->IsComplete());
    FireAll({"~DQ|2|XC||0||1002|261206|1|101||1", "~EN|2|XC|0"});
    EXPECT_FALSE(pMonthly->IsComplete()) << "another period's history";

    // A stamp that is not letters and digits: the months are shown and no file is written.
    const std::string strStamp = "../26-12";
    FireAll({("~DQ|3|XC||0||1002|" + strStamp + "|2|101||1").c_str(), "261206|842|5|6|7|850|830|1|1|1|101|1",
             "261103|830|5|6|7|850|830|1|1|1|101|0", "~EN|3|XC|0"});
    EXPECT_TRUE(pMonthly->IsComplete());
    ASSERT_EQ(2, pMonthly->GetRows()->GetCount());
    EXPECT_EQ("GHB", std::string(pMonthly->GetRows()->GetAt(0)->GetText(0)));
    EXPECT_EQ("20261103", std::string(pMonthly->GetRows()->GetAt(0)->GetText(2)));
    EXPECT_EQ(LoadMarketText(57826), pMonthly->GetRows()->GetAt(1)->GetText(15)) << "state 1";
    EXPECT_EQ(LoadMarketText(57825), pMonthly->GetRows()->GetAt(0)->GetText(15)) << "state 0";
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_NE(0u, entry.path().filename().string().rfind("QM_", 0)) << entry.path();
    EXPECT_FALSE(std::filesystem::exists("../26-12.SAV"));
}
