// The forward market and the indices fed through a real message source: two rows per forward
// line, "FW" at any time without a row twice, "FM" counted into its period and handed to the
// KSE ticker, "MM" emptying the table for the KSE's closing states only; the indices' changes
// against known answers, and their live lines.
#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <string>
#include <vector>
#include "DataTableTestSupport.h"
#include "app/TableMDIWnd.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/IndicesKSETable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/TickerFeed.h"
#include "market/TimeAndSalesKSETables.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/market/RecordingActions.h"

namespace {

// Stock 101 series 1: term, underlying, premium, then per period side 1's five figures and
// side 2's five (1 month: 10.5 and 10.75 with counts 3 and 4).
const char FWD_LINE[] = "101|1|3|1.234|7.5|10.5|11|0|100|3|10.75|11.25|0|200|4"
                        "||||||||||||||||||||||||||||||||||||||||";
const char FWD_LINE_2[] = "102|2|1|2|1|20|21|0|5|1|20.5|21.5|0|6|2";

// A ticker's items as "label text", without their colours.
struct CPlainTicker : ITickerFeed
{
    std::vector<std::string> items;
    void AddItem(LPCSTR pszLabel, COLORREF, LPCSTR pszText, COLORREF) override
    {
        items.push_back(std::string(pszLabel) + " " + pszText);
    }
    COLORREF GetTextColor() const override { return 0; }
    COLORREF GetUpColor() const override { return 0; }
    COLORREF GetDownColor() const override { return 0; }
    BOOL IsShowingChanges() const override { return FALSE; }
};

struct ForwardFeed : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CQuotationFwdKSETable* pTable = nullptr;
    CPlainTicker ticker;
    std::string strTicker;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CQuotationFwdKSETable(&source);
        ASSERT_TRUE(pTable->Create());
        strTicker = GetGlobals() != nullptr ? static_cast<LPCSTR>(GetGlobals()->GetMarketName(2)) : "";
        RegisterTickerFeed(strTicker.c_str(), &ticker);
    }
    void TearDown() override
    {
        RegisterTickerFeed(strTicker.c_str(), nullptr);
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    void Reply(std::initializer_list<const char*> rows)
    {
        Fire("~FQ|1|XC||0");
        for (const char* pszRow : rows)
            Fire(pszRow);
        Fire("$EN|1|XC|0");
    }
    const CDataBuffer* Row(LONG nStock, LONG nSide, LONG nSeries) const
    {
        return pTable->GetRows()->FindRowByIds({nStock, nSide, nSeries});
    }
};

}  // namespace

TEST_F(ForwardFeed, EachLineGivesOneRowPerSideWithThatSidesFigures)
{
    Reply({FWD_LINE, FWD_LINE_2});
    ASSERT_EQ(4, pTable->GetRows()->GetCount());
    const CDataBuffer* pBuy = Row(101, 1, 1);
    const CDataBuffer* pSell = Row(101, 2, 1);
    ASSERT_TRUE(pBuy != nullptr && pSell != nullptr);
    EXPECT_EQ(CString("101"), pBuy->GetText(0)) << "a stock the list lacks shows its code";
    EXPECT_DOUBLE_EQ(1.234, pBuy->GetDouble(5));
    EXPECT_DOUBLE_EQ(0.0, pBuy->GetDouble(7)) << "no board: no underlying price";
    EXPECT_DOUBLE_EQ(10.5, pBuy->GetDouble(8));
    EXPECT_DOUBLE_EQ(100, pBuy->GetDouble(11));
    EXPECT_EQ(3, pBuy->GetLong(12));
    EXPECT_DOUBLE_EQ(10.75, pSell->GetDouble(8));
    EXPECT_DOUBLE_EQ(200, pSell->GetDouble(11));
    EXPECT_EQ(4, pSell->GetLong(12));
    for (int nCol : {0, 1, 3, 4, 5, 6})
        EXPECT_EQ(pBuy->GetText(nCol), pSell->GetText(nCol)) << "column " << nCol;
}

TEST_F(ForwardFeed, FigureLinesApplyAtAnyTimeAndNeverDuplicateARow)
{
    Fire(std::string("$FW|1|XC||") + FWD_LINE_2);
    EXPECT_EQ(2, pTable->GetRows()->GetCount()) << "before any reply";
    Reply({FWD_LINE, FWD_LINE_2});
    ASSERT_EQ(4, pTable->GetRows()->GetCount());

    // Inside a refill: held, then applied to the refilled rows.
    Fire("~FQ|1|XC||0");
    Fire(FWD_LINE);
    Fire("$FW|1|XC||101|1|3|1.5|7.5|12|13|0|100|9|12.5|13.5|0|200|8");
    Fire(FWD_LINE_2);
    Fire("$EN|1|XC|0");
    ASSERT_EQ(4, pTable->GetRows()->GetCount());
    EXPECT_DOUBLE_EQ(12, Row(101, 1, 1)->GetDouble(8));
    EXPECT_EQ(8, Row(101, 2, 1)->GetLong(12));

    Fire("$FW|1|XC||103|1|1|1|1|5|6|0|1|1|5|6|0|1|1");
    EXPECT_EQ(6, pTable->GetRows()->GetCount()) << "a new stock and series: two rows";
}

TEST_F(ForwardFeed, TradesCountIntoTheirPeriodAndReachTheKseTicker)
{
    Fire("$FM|1|XC||7|20261207101500|1|101|6|10.5|25|1|1");
    EXPECT_TRUE(ticker.items.empty()) << "before the table has its figures";
    Reply({FWD_LINE});
    const CDataBuffer* pBuy = Row(101, 1, 1);
    ASSERT_NE(nullptr, pBuy);
    const double dQuantity = pBuy->GetDouble(21);
    const long nCount = pBuy->GetLong(22);
    Fire("$FM|1|XC||8|20261207101500|1|101|6|10.5|25|1|1");
    Fire("$FM|1|XC||9|20261207101600|1|101|6|10.75|15|1|1");
    EXPECT_DOUBLE_EQ(dQuantity + 40, pBuy->GetDouble(21));
    EXPECT_EQ(nCount + 2, pBuy->GetLong(22));
    EXPECT_EQ((std::vector<std::string>{"101 10.50 (6)", "101 10.75 (6)"}), ticker.items);

    Fire("$FM|1|XC||10|20261207101700|1|101|6|10.5|25|1|0");
    Fire("$FM|1|XC||11|20261207101700|1|999|6|10.5|25|1|1");
    EXPECT_EQ(nCount + 2, pBuy->GetLong(22)) << "field 8 of 0, or a stock without a row: nothing";
    EXPECT_EQ(2u, ticker.items.size());
    Fire("$FM|1|XC||12|20261207101700|1|101|2|10.5|25|1|1");
    EXPECT_EQ(nCount + 2, pBuy->GetLong(22)) << "a period of 2 months counts nowhere";
    EXPECT_EQ(3u, ticker.items.size()) << "but is shown";
}

TEST_F(ForwardFeed, OnlyTheKseClosingStatesEmptyTheTable)
{
    Reply({FWD_LINE});
    Fire("$MM|1|XC||0|1");
    EXPECT_EQ(2, pTable->GetRows()->GetCount()) << "a US market's state";
    Fire("$MM|1|XC||2|2");
    EXPECT_EQ(2, pTable->GetRows()->GetCount()) << "KSE open";
    Fire("$MM|1|XC||5|2");
    EXPECT_EQ(0, pTable->GetRows()->GetCount());
}

TEST_F(ForwardFeed, AClickOnTheStockSideOrSeriesShowsOnlyTheRowsAlike)
{
    Reply({FWD_LINE, FWD_LINE_2});
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    CViewTable* pView = pWindow->GetView();
    const int nShown = pView->GetRowCount();
    CViewRow row;
    int nIndex = 0;
    while (nIndex < nShown && !(pView->GetRow(row, nIndex) && row.IsDataRow()))
        ++nIndex;
    ASSERT_LT(nIndex, nShown);
    int nHandled = 0;
    pTable->OnCellClick(&row, 4, &nHandled);
    EXPECT_EQ(0, nHandled) << "the term filters nothing";
    EXPECT_EQ(nShown, pView->GetRowCount());
    pTable->OnCellClick(&row, 1, &nHandled);
    EXPECT_EQ(1, nHandled);
    EXPECT_LT(pView->GetRowCount(), nShown) << "one stock's rows";
}

TEST_F(ForwardFeed, AClickOnTheStockShowsItsForwardTradesAloneWithTheLatestSelected)
{
    auto* pTrades = new CTimeAndSalesFwdKSETable(&source);
    ASSERT_TRUE(pTrades->Create());
    // Trade number, time, side, stock, months, price, quantity, series.
    for (const char* pszLine : {"~FE|1|XC||0", "1|261207093000|1|101|6|10.5|25|1", "2|261207093100|2|102|3|20|5|2",
                                "3|261207093200|1|101|6|10.75|10|1", "$EN|1|XC|0"})
        Fire(pszLine);
    ASSERT_EQ(3, pTrades->GetRows()->GetCount());
    Reply({FWD_LINE, FWD_LINE_2});
    CTableMDIWnd* pTradesWindow = pTrades->GetMainWindow();
    ASSERT_NE(nullptr, pTradesWindow);
    CViewTable* pView = pTable->GetMainWindow()->GetView();
    for (const auto& click : {std::pair<const char*, int>{"102", 1}, {"101", 2}}) {
        CViewRow row;
        int nIndex = 0;
        CTBString strStock;
        while (pView->GetRow(row, nIndex) && !(row.IsDataRow() && row.GetText(strStock, 0) && strStock == click.first))
            ++nIndex;
        ASSERT_LT(nIndex, pView->GetRowCount()) << click.first;
        int nHandled = 0;
        pTable->OnCellClick(&row, 0, &nHandled);
        EXPECT_EQ(1, nHandled);
        int nShown = 0;
        CViewRow trade;
        for (int i = 0; pTradesWindow->GetView()->GetRow(trade, i); ++i) {
            CTBString strTraded;
            if (!trade.IsDataRow() || !trade.GetText(strTraded, 3))
                continue;
            EXPECT_EQ(std::string(click.first), std::string(strTraded));
            ++nShown;
        }
        EXPECT_EQ(click.second, nShown) << "stock " << click.first << " alone, whatever was shown before";
        EXPECT_EQ(pTradesWindow->GetGrid().GetRowCount() - 1, pTradesWindow->GetGrid().GetCurrentRow());
    }
}

TEST_F(ForwardFeed, OrderTicketItemFollowsTheSelectedRowAndTheUsOrderRule)
{
    CRecordingActions actions;
    std::optional<CStockActionsScope> scope(&actions);
    Reply({FWD_LINE, FWD_LINE_2});
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    pWindow->MDIActivate();
    const auto enabled = [&] {
        CUpdateProbe probe;
        EXPECT_TRUE(pTable->OnCmdMsg(ID_FWD_ORDER_TICKET, CN_UPDATE_COMMAND_UI, &probe, nullptr));
        return probe.bEnabled;
    };
    EXPECT_FALSE(enabled()) << "no row selected";
    CViewTable* pView = pWindow->GetView();
    int nIndex = 0;
    CViewRow row;
    while (nIndex < pView->GetRowCount() && !(pView->GetRow(row, nIndex) && row.IsDataRow()))
        ++nIndex;
    ASSERT_LT(nIndex, pView->GetRowCount());
    pWindow->GetGrid().SelectRow(nIndex, 1, FALSE);
    EXPECT_TRUE(enabled());
    actions.bAllowed = FALSE;
    EXPECT_TRUE(enabled()) << "the KSE order rule is not this table's";
    actions.bUsAllowed = FALSE;
    EXPECT_FALSE(enabled());
    // The command takes the row and opens nothing.
    EXPECT_TRUE(pTable->OnCmdMsg(ID_FWD_ORDER_TICKET, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_EQ(4, pTable->GetRows()->GetCount());
    scope.reset();
    EXPECT_FALSE(enabled()) << "without the application's actions";

    // Its menu is the tables' own, without the ticket.
    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(hMenu, ID_FWD_ORDER_TICKET, MF_BYCOMMAND));
    EXPECT_GT(GetMenuItemCount(hMenu), 5);
    DestroyMenu(hMenu);
}

namespace {

struct IndicesFeed : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CIndicesKSETable* pTable = nullptr;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CIndicesKSETable(&source);
        ASSERT_TRUE(pTable->Create());
    }
    void TearDown() override
    {
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    const CDataBuffer* Row(LONG nCode) const { return pTable->GetRows()->FindRowByIds({nCode}); }
};

}  // namespace

// Expected values from Python: current - reference, and (current - reference) / reference * 100.
TEST_F(IndicesFeed, ChangesAgainstTheReferenceValue)
{
    Fire("~LX|1|XC||0");
    Fire("1|Price|Desc|7200.55|7100|7250|7090|7125.4|1000|2000.5|30|0|0|0|498.62|0|0|0|500");
    Fire("2|Weighted|Desc|0|0|0|0|480|1|1|1");
    Fire("3|Flat|Desc|520.25|0|0|0|0|1|1|1");
    Fire("$EN|1|XC|0");
    const CDataBuffer* pRise = Row(1);
    ASSERT_NE(nullptr, pRise);
    EXPECT_NEAR(75.15, pRise->GetDouble(8), 1e-9);
    EXPECT_NEAR(1.0546776321329407, pRise->GetDouble(21), 1e-9);
    EXPECT_NEAR(-1.38, pRise->GetDouble(20), 1e-9) << "the second set against its own reference";
    EXPECT_DOUBLE_EQ(498.62, pRise->GetDouble(16)) << "a day value left 0 takes the current one";

    const CDataBuffer* pNone = Row(2);
    EXPECT_DOUBLE_EQ(0.0, pNone->GetDouble(8)) << "no current value: no change";
    EXPECT_DOUBLE_EQ(0.0, pNone->GetDouble(21));
    const CDataBuffer* pFlat = Row(3);
    EXPECT_DOUBLE_EQ(520.25, pFlat->GetDouble(7)) << "no reference: the current value";
    EXPECT_DOUBLE_EQ(0.0, pFlat->GetDouble(8));
    EXPECT_DOUBLE_EQ(0.0, pFlat->GetDouble(21));

    // A live line without the texts: the row's texts stay, the change follows.
    Fire("$IX|1|XC||1|7000|7100|7250|6990|7125.4|1|1|1");
    EXPECT_EQ(CString("Price"), pRise->GetText(1));
    EXPECT_NEAR(-125.4, pRise->GetDouble(8), 1e-9);
    EXPECT_NEAR(-1.7599011985292001, pRise->GetDouble(21), 1e-9);
    Fire("$IX|1|XC||9|100|0|0|0|90|1|1|1");
    ASSERT_NE(nullptr, Row(9)) << "an unknown index adds a row";
    EXPECT_EQ(CString(""), Row(9)->GetText(1));
    EXPECT_NEAR(10.0, Row(9)->GetDouble(8), 1e-9);
    EXPECT_EQ(4, pTable->GetRows()->GetCount());
}

TEST_F(IndicesFeed, LiveLinesInsideARefillNeverDuplicateARow)
{
    Fire("$IX|1|XC||1|7000|0|0|0|7100|1|1|1");
    EXPECT_EQ(0, pTable->GetRows()->GetCount()) << "before the first reply";
    for (int nPass = 0; nPass < 2; ++nPass) {
        Fire("~LX|1|XC||0");
        Fire("1|Price|Desc|7200|0|0|0|7100|1|1|1");
        Fire("$IX|1|XC||1|7300|0|0|0|7100|1|1|1");
        Fire("2|Weighted|Desc|480|0|0|0|470|1|1|1");
        Fire("$EN|1|XC|0");
        EXPECT_EQ(2, pTable->GetRows()->GetCount());
        // The first reply drops it (no table yet to update); a refill applies it after its end.
        EXPECT_DOUBLE_EQ(nPass == 0 ? 7200 : 7300, Row(1)->GetDouble(3)) << "pass " << nPass;
    }
}

TEST_F(IndicesFeed, HistoryItemsShowTheirShortTextNotTheirPrompt)
{
    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(static_cast<UINT>(ID_INDEX_DAILY_HISTORY), GetMenuItemID(hMenu, 0));
    ASSERT_EQ(static_cast<UINT>(ID_INDEX_MONTHLY_HISTORY), GetMenuItemID(hMenu, 1));
    char szText[128] = "";
    GetMenuStringA(hMenu, 0, szText, sizeof szText, MF_BYPOSITION);
    EXPECT_STREQ("&Daily history", szText);
    GetMenuStringA(hMenu, 1, szText, sizeof szText, MF_BYPOSITION);
    EXPECT_STREQ("&Monthly history", szText);
    DestroyMenu(hMenu);
}
