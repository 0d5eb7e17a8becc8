// The KSE board fed through a real message source: its figures against known answers worked out
// in Python (tests/market/gen_kse_board.py), the live lines (before, inside and after a reply),
// the state texts and market time, the ticker, the alerts that fire once, the outside holdings
// and the per-stock settings, and the double click, clicks, commands and menu through the grid.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "app/StockActions.h"
#include "framework/base/InfoWindow.h"
#include "framework/base/SettingsFile.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationKSETable.h"
#include "market/TickerFeed.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/DataTableTestSupport.h"
#include "tests/market/RecordingActions.h"

namespace {

// The 31 fields of a board line; the rest empty.
struct BoardLine
{
    std::vector<std::string> fields = std::vector<std::string>(31);
    BoardLine(long nStock, double dLast, double dPrevious)
    {
        fields[KF_STOCK] = std::to_string(nStock);
        Set(1, dLast);
        Set(12, dPrevious);
        fields[KF_DATE] = "211207101500";
    }
    BoardLine& Set(int nField, double dValue)
    {
        std::ostringstream out;
        out.precision(17);
        out << dValue;
        fields[nField] = out.str();
        return *this;
    }
    BoardLine& Text(int nField, const char* pszText)
    {
        fields[nField] = pszText;
        return *this;
    }
    std::string Join() const
    {
        std::string strLine;
        for (size_t i = 0; i < fields.size(); ++i)
            strLine += (i > 0 ? "|" : "") + fields[i];
        return strLine;
    }
};

class CInfoRecorder : public IInfoWindow
{
public:
    void AddText(LPCSTR pszText) override { lines.push_back(pszText); }
    void AddResourceText(UINT nId) override { lines.push_back(std::to_string(nId)); }
    std::vector<std::string> lines;
};

struct BoardFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CQuotationKSETable* pTable = nullptr;
    CRecordingTicker ticker;
    CRecordingActions actions;
    CInfoRecorder info;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        pTable = new CQuotationKSETable(&source);     // the table map deletes it
        ASSERT_TRUE(pTable->Create());
        RegisterTickerFeed(GetGlobals()->GetMarketName(2), &ticker);
        SetStockActions(&actions);
        GetSharedGlobals()->m_pInfoWindow = &info;
    }
    void TearDown() override
    {
        GetSharedGlobals()->m_pInfoWindow = nullptr;
        SetStockActions(nullptr);
        RegisterTickerFeed(GetGlobals()->GetMarketName(2), nullptr);
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    void Reply(const std::vector<BoardLine>& lines)
    {
        Fire("~SQ|1|XC||0");
        for (const BoardLine& line : lines)
            Fire(line.Join());
        Fire("$EN|1|XC|0");
    }
    void Live(const BoardLine& line) { Fire("~QQ|1|XC|0|" + line.Join()); }
    CDataBuffer* Row(long nStock) { return pTable->GetRows()->FindRowByIds({static_cast<LONG>(nStock)}); }
    std::string Cell(long nStock, int nCol)
    {
        const CDataBuffer* pRow = Row(nStock);
        return pRow != nullptr ? std::string(pRow->GetText(nCol, TRUE)) : "(none)";
    }
    // The view row of a stock in the main window, and the colour index of its cell.
    BOOL ViewRow(long nStock, CViewRow& row, int* pnIndex = nullptr)
    {
        CViewTable* pView = pTable->GetTable()->GetView(0);
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CTBString strStock;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strStock, KC_STOCK) &&
                strStock == std::to_string(nStock).c_str()) {
                if (pnIndex != nullptr)
                    *pnIndex = i;
                return TRUE;
            }
        }
        return FALSE;
    }
    int DataRows()
    {
        CViewTable* pView = pTable->GetMainWindow()->GetView();
        int nRows = 0;
        CViewRow row;
        for (int i = 0; i < pView->GetRowCount(); ++i)
            nRows += pView->GetRow(row, i) && row.IsDataRow() ? 1 : 0;
        return nRows;
    }
    int Colour(long nStock, int nCol)
    {
        CViewRow row;
        return ViewRow(nStock, row) ? row.GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK : -1;
    }
    void Select(long nStock)
    {
        int nIndex = -1;
        CViewRow row;
        ASSERT_TRUE(ViewRow(nStock, row, &nIndex));
        CTableMDIWnd* pWindow = pTable->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        pWindow->GetGrid().SelectRow(nIndex, 1, FALSE);
        pWindow->MDIActivate();
        ASSERT_EQ(pWindow, pTable->GetActiveWindow());
        ASSERT_EQ(nIndex, pWindow->GetGrid().GetCurrentRow());
    }
};

std::vector<std::string> Split(const std::string& strLine)
{
    std::vector<std::string> parts;
    std::stringstream in(strLine);
    std::string strPart;
    while (std::getline(in, strPart, '|'))
        parts.push_back(strPart);
    return parts;
}

}  // namespace

TEST_F(BoardFixture, FiguresMatchKnownAnswers)
{
    std::ifstream in(TB_SOURCE_DIR "/tests/market/expected_kse_board.txt");
    ASSERT_TRUE(in.good());
    std::vector<std::vector<std::string>> quotes, holdings, settings;
    for (std::string strLine; std::getline(in, strLine);) {
        std::vector<std::string> parts = Split(strLine);
        (parts[0] == "Q" ? quotes : parts[0] == "H" ? holdings : settings).push_back(parts);
    }
    ASSERT_FALSE(quotes.empty());
    std::vector<BoardLine> lines;
    for (size_t i = 0; i < quotes.size(); ++i) {
        BoardLine line(1000 + static_cast<long>(i), atof(quotes[i][1].c_str()), atof(quotes[i][2].c_str()));
        line.Set(8, atof(quotes[i][3].c_str())).Set(10, atof(quotes[i][4].c_str()));
        lines.push_back(line);
    }
    Reply(lines);
    for (size_t i = 0; i < quotes.size(); ++i) {
        const CDataBuffer* pRow = Row(1000 + static_cast<long>(i));
        ASSERT_NE(nullptr, pRow);
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(atof(quotes[i][5].c_str()), pRow->GetDouble(KC_CHANGE));
        EXPECT_NEAR(atof(quotes[i][6].c_str()), pRow->GetDouble(KC_PERCENT), 1e-9);
        EXPECT_DOUBLE_EQ(atof(quotes[i][7].c_str()), pRow->GetDouble(KC_AVERAGE));
    }
    // The ticker's texts, with and without the change, from live lines of flagged rows.
    for (size_t i = 0; i < quotes.size(); ++i) {
        ticker.bChanges = i % 2 == 0;
        ticker.items.clear();
        BoardLine line = lines[i];
        Live(line.Text(KF_TICKER, "1"));
        ASSERT_EQ(1u, ticker.items.size());
        const std::string& strItem = ticker.items[0];
        const std::string strText = strItem.substr(strItem.find(':') + 1, strItem.rfind(':') - strItem.find(':') - 1);
        EXPECT_EQ(quotes[i][ticker.bChanges ? 9 : 8], strText) << i;
    }

    for (size_t i = 0; i < holdings.size(); ++i) {
        const long nStock = 5000 + static_cast<long>(i);
        BoardLine line(nStock, atof(holdings[i][3].c_str()), atof(holdings[i][4].c_str()));
        Live(line.Set(5, atof(holdings[i][5].c_str())));
        ASSERT_TRUE(pTable->SetExternalHolding(nStock, atof(holdings[i][1].c_str()), atof(holdings[i][2].c_str())));
        const CDataBuffer* pRow = Row(nStock);
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(atof(holdings[i][6].c_str()), pRow->GetDouble(KC_EXT_COST));
        EXPECT_DOUBLE_EQ(atof(holdings[i][7].c_str()), pRow->GetDouble(KC_EXT_VALUE));
        EXPECT_NEAR(atof(holdings[i][8].c_str()), pRow->GetDouble(KC_EXT_GAIN), 1e-9);
        EXPECT_NEAR(atof(holdings[i][9].c_str()), pRow->GetDouble(KC_EXT_GAIN_PERCENT), 1e-9);
    }

    // Prices through the settings file: whole hundredths rounded to the nearest, read back as
    // written.
    for (const std::vector<std::string>& setting : settings) {
        CDataBuffer* pRow = Row(1002);
        const double dPrice = atof(setting[1].c_str());
        pRow->SetValue(KC_EXT_PRICE, &dPrice, TRUE);
        CSettingsFile ini;
        pTable->SaveUserSettings(ini);
        EXPECT_EQ(atol(setting[2].c_str()), ini.GetLong("ExtPrcKSE1002", 0)) << setting[1];
        pTable->LoadUserSettings(ini);
        EXPECT_DOUBLE_EQ(atof(setting[3].c_str()), Row(1002)->GetDouble(KC_EXT_PRICE)) << setting[1];
    }
}

TEST_F(BoardFixture, RepliesAndLiveLinesKeepOneRowPerStock)
{
    Live(BoardLine(101, 510, 500));
    Fire("~SQ|1|XC||0");
    Live(BoardLine(101, 510, 500));
    Fire(BoardLine(205, 290, 300).Join());
    Fire(BoardLine(101, 0, 500).Join());
    Fire("$EN|1|XC|0");
    // Lines before the first reply ended are lost; the stock list is not open: the number.
    ASSERT_EQ(2, pTable->GetRows()->GetCount());
    EXPECT_EQ("101", Cell(101, KC_TEXT));
    EXPECT_EQ("", Cell(101, KC_CHANGE));
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour(101, KC_LAST));
    EXPECT_EQ(QUOTE_ATTR_FALLING, Colour(205, KC_CHANGE));
    EXPECT_EQ(QUOTE_ATTR_FALLING, Colour(205, KC_PERCENT));

    // A refill holds the live lines until its end, and they update its rows, never twice.
    Fire("~SQ|1|XC||0");
    Live(BoardLine(205, 310, 300));
    Live(BoardLine(999, 50, 40));
    Fire(BoardLine(205, 290, 300).Join());
    EXPECT_EQ(2, pTable->GetHeldLineCount());
    Fire("$EN|1|XC|0");
    ASSERT_EQ(2, pTable->GetRows()->GetCount());
    EXPECT_EQ("10", Cell(205, KC_CHANGE));
    EXPECT_EQ(QUOTE_ATTR_RISING, Colour(205, KC_LAST));
    // A stock added by a live line has no text until the next reply.
    EXPECT_EQ("", Cell(999, KC_TEXT));
    EXPECT_EQ(50.0, pTable->GetLastPrice(999));
    EXPECT_EQ(0.0, pTable->GetLastPrice(4));
}

TEST_F(BoardFixture, StateTextsTimesAndColours)
{
    Reply({BoardLine(1, 100, 90).Text(KF_STATE, "2").Text(KF_SEGMENT, "14").Text(KF_SESSION, "12")
               .Text(KF_WHOLE, "7.5").Text(KF_MARKET_TIME, "93000"),
           BoardLine(2, 80, 90).Text(KF_STATE, "3").Text(KF_SEGMENT, "1").Text(KF_SESSION, "21")
               .Text(KF_WHOLE, "0.4").Text(KF_MARKET_TIME, "103000"),
           BoardLine(3, 80, 90).Text(KF_SEGMENT, "4").Text(KF_SESSION, "0"),
           BoardLine(4, 90, 90).Text(KF_SEGMENT, "0")});
    EXPECT_EQ(std::string(LoadMarketText(57827)), Cell(1, KC_STATE));
    EXPECT_EQ(std::string(LoadMarketText(57845)), Cell(1, KC_SEGMENT));
    EXPECT_EQ(std::string(LoadMarketText(57845)), Cell(4, KC_SEGMENT));
    EXPECT_EQ(std::string(LoadMarketText(57831)), Cell(2, KC_SEGMENT));
    EXPECT_EQ(std::string(LoadMarketText(57829)), Cell(3, KC_SESSION));
    EXPECT_EQ(std::string(LoadMarketText(57844)), Cell(1, KC_SESSION));
    EXPECT_EQ("8", Cell(1, KC_WHOLE));
    EXPECT_EQ("", Cell(2, KC_WHOLE));
    // Five digits are an hour before ten: the same shift as six.
    EXPECT_EQ("09:30:00", Cell(1, KC_MARKET_TIME));
    EXPECT_EQ("10:30:00", Cell(2, KC_MARKET_TIME));
    // The prices by their sign, the rest by the row's state: session, suspended, segment.
    EXPECT_EQ(QUOTE_ATTR_RISING, Colour(1, KC_LAST));
    EXPECT_EQ(KSE_ATTR_SESSION, Colour(1, KC_VOLUME));
    EXPECT_EQ(KSE_ATTR_SEGMENT, Colour(2, KC_VOLUME));
    EXPECT_EQ(KSE_ATTR_SUSPENDED, Colour(3, KC_TEXT));
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour(4, KC_TEXT));
    EXPECT_EQ(std::string(LoadMarketText(57827)), std::string(pTable->GetStockName(1, TRUE)));
    EXPECT_EQ("77", std::string(pTable->GetStockName(77, FALSE)));
}

TEST_F(BoardFixture, AlertsFireOnceAndTickerNeedsBothFlags)
{
    Reply({BoardLine(1, 100, 90), BoardLine(2, 100, 90)});
    ASSERT_TRUE(pTable->SetAlert(1, 105));
    EXPECT_EQ(ALERT_ON_RISE, Row(1)->GetLong(KC_ALERT_DIR));
    ASSERT_TRUE(pTable->SetAlert(2, 95));
    EXPECT_EQ(ALERT_ON_FALL, Row(2)->GetLong(KC_ALERT_DIR));
    Live(BoardLine(1, 104, 90));
    EXPECT_TRUE(info.lines.empty());
    Live(BoardLine(1, 106, 90));
    ASSERT_EQ(1u, info.lines.size());
    EXPECT_NE(std::string::npos, info.lines[0].find("105.00"));
    EXPECT_EQ(ALERT_NONE, Row(1)->GetLong(KC_ALERT_DIR));
    EXPECT_EQ("", Cell(1, KC_ALERT_PRICE));
    Live(BoardLine(1, 107, 90));
    EXPECT_EQ(1u, info.lines.size()) << "an alert fires once";
    // At the reference price it fires at once; at or below 0 it is removed.
    ASSERT_TRUE(pTable->SetAlert(2, 100));
    EXPECT_EQ(2u, info.lines.size());
    ASSERT_TRUE(pTable->SetAlert(2, 95));
    ASSERT_TRUE(pTable->SetAlert(2, 0));
    EXPECT_EQ(ALERT_NONE, Row(2)->GetLong(KC_ALERT_DIR));
    EXPECT_FALSE(pTable->SetAlert(3, 10));

    // The ticker: field 30 and the row's flag (set by default at the reply's end) both needed.
    ticker.items.clear();
    Live(BoardLine(2, 101, 90));
    EXPECT_TRUE(ticker.items.empty());
    Live(BoardLine(2, 101, 90).Text(KF_TICKER, "1"));
    ASSERT_EQ(1u, ticker.items.size());
    EXPECT_EQ("2:101.00 +11.00:2", ticker.items[0]);
    ASSERT_TRUE(pTable->ToggleTicker(2));
    Live(BoardLine(2, 80, 90).Text(KF_TICKER, "1"));
    EXPECT_EQ(1u, ticker.items.size());
    Live(BoardLine(8, 80, 90).Text(KF_TICKER, "1"));
    EXPECT_EQ(1u, ticker.items.size()) << "a new stock never reaches the ticker";
}

TEST_F(BoardFixture, SettingsComeBackWithEveryReply)
{
    Reply({BoardLine(1, 100, 90), BoardLine(2, 10, 9)});
    ASSERT_TRUE(pTable->SetAlert(1, 12.345));
    ASSERT_TRUE(pTable->SetExternalHolding(2, 100, 1.15));
    ASSERT_TRUE(pTable->ToggleTicker(2));
    pTable->SetShowExternal(TRUE);
    pTable->SaveUserSettings(GetSharedGlobals()->m_settings);
    EXPECT_EQ(1235, GetSharedGlobals()->m_settings.GetLong("AlertPrcKSE1", 0));
    EXPECT_EQ(115, GetSharedGlobals()->m_settings.GetLong("ExtPrcKSE2", 0));
    pTable->SetShowExternal(FALSE);
    EXPECT_TRUE(pTable->GetTable()->GetColumn(KC_EXT_GAIN).IsHidden());
    EXPECT_FALSE(pTable->GetTable()->GetColumn(KC_EXT_GAIN).IsUserSwitchable());

    Reply({BoardLine(1, 100, 90), BoardLine(2, 10, 9), BoardLine(3, 10, 9)});
    EXPECT_TRUE(pTable->IsShowingExternal());
    EXPECT_FALSE(pTable->GetTable()->GetColumn(KC_EXT_GAIN).IsHidden());
    EXPECT_DOUBLE_EQ(12.35, Row(1)->GetDouble(KC_ALERT_PRICE));
    EXPECT_EQ(ALERT_ON_FALL, Row(1)->GetLong(KC_ALERT_DIR));
    EXPECT_DOUBLE_EQ(115.0, Row(2)->GetDouble(KC_EXT_COST));
    EXPECT_DOUBLE_EQ(1000.0, Row(2)->GetDouble(KC_EXT_VALUE));
    EXPECT_EQ(0, Row(2)->GetLong(KC_TICKER));
    EXPECT_EQ(1, Row(3)->GetLong(KC_TICKER)) << "a stock without keys is on the ticker";
    EXPECT_EQ(ALERT_NONE, Row(3)->GetLong(KC_ALERT_DIR));
}

TEST_F(BoardFixture, ClicksCommandsAndMenu)
{
    Reply({BoardLine(1, 0, 90).Set(3, 0).Set(14, 88).Set(4, 95),
           BoardLine(2, 100, 90).Set(3, 101).Text(KF_STATE, "2"), BoardLine(3, 100, 90).Text(KF_STATE, "1")});
    Select(1);
    // Column 4 with neither its price nor a last: the fallback, to sell.
    pTable->OnDoubleClick(nullptr, KC_PRICE_MODE2);
    pTable->OnDoubleClick(nullptr, KC_PRICE_MODE1);
    pTable->OnDoubleClick(nullptr, KC_LAST);
    pTable->OnDoubleClick(nullptr, KC_VOLUME);
    Select(2);
    pTable->OnDoubleClick(nullptr, KC_PRICE_MODE2);
    pTable->OnDoubleClick(nullptr, KC_FALLBACK);
    pTable->OnCmdMsg(33050, CN_COMMAND, nullptr, nullptr);
    pTable->OnCmdMsg(33210, CN_COMMAND, nullptr, nullptr);
    pTable->OnCmdMsg(33209, CN_COMMAND, nullptr, nullptr);
    const std::vector<std::string> expected = {"ticket 2 1 88", "ticket 1 1 95", "ticket 1 1 88", "ticket 2 2 101",
                                               "ticket 1 2 100", "ticket 2 2 100", "chart 2 1 2", "news 2 2"};
    EXPECT_EQ(expected, actions.calls);
    EXPECT_EQ(2, pTable->GetFocusedValue(KC_STOCK).GetNumber());

    CUpdateProbe order, alert;
    actions.bAllowed = FALSE;
    pTable->OnCmdMsg(33208, CN_UPDATE_COMMAND_UI, &order, nullptr);
    EXPECT_FALSE(order.bEnabled) << "the application's rule says no";
    pTable->OnCmdMsg(33078, CN_UPDATE_COMMAND_UI, &alert, nullptr);
    EXPECT_TRUE(alert.bEnabled);

    // A click on the state text narrows the window to the rows of that state.
    CViewRow row;
    ASSERT_TRUE(ViewRow(2, row));
    int nHandled = 0;
    pTable->OnCellClick(&row, KC_STATE, &nHandled);
    EXPECT_EQ(1, nHandled);
    EXPECT_EQ(1, DataRows());
    // The ticker column switches the flag.
    ASSERT_TRUE(ViewRow(2, row));
    pTable->OnCellClick(&row, KC_TICKER, &nHandled);
    EXPECT_EQ(0, Row(2)->GetLong(KC_TICKER));
    // The stock text with neither the trades nor the book open changes nothing and is handled.
    pTable->OnCellClick(&row, KC_TEXT, &nHandled);

    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(33279u, GetMenuItemID(hMenu, 0));
    EXPECT_EQ(33280u, GetMenuItemID(hMenu, 1));
    EXPECT_EQ(33281u, GetMenuItemID(hMenu, 3));
    EXPECT_EQ(33282u, GetMenuItemID(hMenu, 4));
    const int nCount = GetMenuItemCount(hMenu);
    EXPECT_NE(nullptr, GetSubMenu(hMenu, nCount - 1)) << "the table's menu last";
    for (int i = 0; i < nCount; ++i)
        EXPECT_NE(33208u, GetMenuItemID(hMenu, i));
    DestroyMenu(hMenu);
}
