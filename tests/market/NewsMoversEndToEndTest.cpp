// The news list, the movers and the holidays end to end: the terminal logs in as the trader
// against the test server (its data with headlines that mention markets added) and opens them
// through their commands, in English and in Arabic.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/AppCommands.h"
#include "app/TableFactory.h"
#include "app/ChartWindows.h"
#include "app/TableMDIWnd.h"
#include "app/NorvApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/CorporateEventsKSETable.h"
#include "market/DataArray.h"
#include "market/GainerLooserTable.h"
#include "market/HolidayTable.h"
#include "market/ListNewsTable.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Menu.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

// The server's data with two stories that mention markets, both out at its clock's first minute
// change (the session starts three seconds before it).
std::string DataWithMentions()
{
    const std::string strData = CopyServerData("tb-news-data");
    if (strData.empty())
        return "";
    std::ofstream news(strData + "/market/news.txt", std::ios::app);
    news << "5901|0|0|2||Banks lead @2, @8 quiet|Banks led the board.\n"
         << "5902|0|1|4||Chips rally on @4|Chip makers rose.\n";
    return strData;
}

struct NewsMoversSession : CMarketSession
{
    void Start(bool bArabic)
    {
        strData = DataWithMentions();
        ASSERT_FALSE(strData.empty());
        ASSERT_TRUE(StartSession({"--rate", "200", "--data", strData, "--clock", "2026-12-07 09:30:57"}, bArabic));
    }
    void TearDown() override
    {
        StopSession();
        TbClearTestAnswers();
    }
    static std::string Name(long nCode) { return static_cast<LPCSTR>(GetGlobals()->GetMarketName(nCode)); }
    static void CheckMentions(const CDataArray& rows)
    {
        const CDataBuffer* pFirst = rows.FindRow({"5901", "0"});
        const CDataBuffer* pSecond = rows.FindRow({"5902", "0"});
        ASSERT_TRUE(pFirst != nullptr && pSecond != nullptr);
        EXPECT_EQ("Banks lead (" + Name(2) + "), (" + Name(8) + ") quiet", std::string(pFirst->GetText(6)));
        EXPECT_EQ("Chips rally on (" + Name(4) + ")", std::string(pSecond->GetText(6)));
    }

    // The rows as the grid copies them (what Ctrl+C gives), a line per row.
    static std::vector<std::string> CopiedLines(CListNewsTable* pNews)
    {
        CTableWindow& grid = pNews->GetMainWindow()->GetGrid();
        EXPECT_NE(0, grid.CopySelection(FALSE));
        std::string strText;
        if (OpenClipboard(nullptr)) {
            if (HANDLE hText = GetClipboardData(CF_TEXT)) {
                strText = static_cast<const char*>(GlobalLock(hText));
                GlobalUnlock(hText);
            }
            CloseClipboard();
        }
        std::vector<std::string> lines;
        for (size_t nStart = 0; nStart < strText.size();) {
            const size_t nEnd = std::min(strText.find("\r\n", nStart), strText.size());
            lines.push_back(strText.substr(nStart, nEnd - nStart));
            nStart = nEnd + 2;
        }
        return lines;
    }

    // The language column names the story's language in the user's words.
    static void CheckLanguageColumn(CListNewsTable* pNews, const std::string& strLanguage)
    {
        const std::string strEnglish = strLanguage == "ar" ? TbUtf8ToCodePage("\tالإنجليزية\t", 1256) : "\tEnglish\t";
        const std::string strArabic = strLanguage == "ar" ? TbUtf8ToCodePage("\tالعربية\t", 1256) : "\tArabic\t";
        int nEnglish = 0, nArabic = 0;
        for (const std::string& strLine : CopiedLines(pNews)) {
            const bool bEnglish = strLine.find(strEnglish) != std::string::npos;
            const bool bArabic = strLine.find(strArabic) != std::string::npos;
            EXPECT_NE(bEnglish, bArabic) << strLine;
            nEnglish += bEnglish;
            nArabic += bArabic;
            if (strLine.find("Banks lead") != std::string::npos) {
                EXPECT_TRUE(bEnglish) << strLine;
            }
        }
        EXPECT_GT(nEnglish, 0);
        EXPECT_GT(nArabic, 0);
    }

    // The news list, its mentions named, a live story with a mention, a click's story request
    // and the refresh after its question.
    void CheckNewsList(const std::string& strLanguage)
    {
        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_NEWS_LIST));
        CListNewsTable* pNews = Find<CListNewsTable>(IDS_TABLE_NEWS_LIST);
        ASSERT_NE(nullptr, pNews);
        ASSERT_TRUE(PumpUntil([&] { return pNews->IsComplete(); }));
        // The stories come out as the server's clock moves: live, or in the reply.
        const CDataArray& rows = *pNews->GetRows();
        ASSERT_TRUE(PumpUntil([&] { return rows.FindRow({"5901", "0"}) != nullptr && rows.FindRow({"5902", "0"}) != nullptr; },
                              20000)) << ServerLines("LW") << ServerLines("BW");
        CheckMentions(rows);

        // A click on the headline asks for its story.
        CNorvApp::ShowTable(pNews);
        const int nStories = RequestCount("EW");
        ASSERT_TRUE(pNews->GetMainWindow()->GetGrid().SelectRow(0, 0, FALSE));
        ASSERT_TRUE(pNews->OnCmdMsg(ID_NEWS_READ_STORY, CN_COMMAND, nullptr, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return RequestCount("EW") > nStories; }));

        // Refresh: No sends nothing, Yes asks again.
        const int nLists = RequestCount("LW");
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});
        pNews->OnCmdMsg(ID_NEWS_REFRESH, CN_COMMAND, nullptr, nullptr);
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        pNews->OnCmdMsg(ID_NEWS_REFRESH, CN_COMMAND, nullptr, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return RequestCount("LW") == nLists + 1; }));
        ASSERT_TRUE(PumpUntil([&] { return !pNews->IsReceiving() && rows.FindRow({"5902", "0"}) != nullptr; }));
        CheckMentions(rows);
        const std::vector<std::string> markets = ShownTexts(pNews, 5);
        EXPECT_NE(markets.end(), std::find(markets.begin(), markets.end(), Name(2))) << "the KSE named whole";
        CheckLanguageColumn(pNews, strLanguage);
        Shoot(pNews, "market_news_list_" + strLanguage);
    }

    // The charts as far as a symbol's item reaches them: the chooser, asked and cancelled.
    struct CChartAsked : IChartMaker
    {
        std::string strAsked;
        std::unique_ptr<IChartChoice> AskChoice(int, LPCSTR pszSymbol, int nMarket) override
        {
            strAsked = std::string(pszSymbol) + " " + std::to_string(nMarket);
            return nullptr;
        }
        CFormChart* MakeFrame() override { return nullptr; }
        CWnd* MakeView(int, int) override { return nullptr; }
    };

    // The trader right-clicks the first mover and picks an item: "Show symbol" asks for the
    // symbol's chart; "Company news", which has nothing to open, is grey and does nothing.
    void CheckMoverRowMenu(CGainerLooserTable* pTable)
    {
        CNorvApp::ShowTable(pTable);
        PumpFor(100);
        CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
        RECT rc;
        ASSERT_TRUE(grid.GetCellRect(0, 0, &rc));
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(grid.m_hWnd, &pt);
        CViewRow row;
        CTBString strSymbol;
        ASSERT_TRUE(pTable->GetMainWindow()->GetView()->GetRow(row, 0) && row.GetText(strSymbol, 0));
        CChartAsked charts;
        RegisterChartMaker(&charts);
        for (UINT nId : {ID_MOVER_SHOW_SYMBOL, ID_MOVER_NEWS}) {
            charts.strAsked.clear();
            TbQueueTestAnswer({TB_ASK_POPUPMENU, static_cast<INT_PTR>(nId), ""});
            for (auto [uMsg, wKeys] : {std::pair<UINT, WPARAM>{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0},
                                       {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}}) {
                TbDisplayMouse(grid.m_hWnd, uMsg, wKeys, pt);
                PumpFor(20);
            }
            PumpFor(100);
            EXPECT_EQ(0, TbPendingTestAnswers()) << "the row menu popped up";
            const UINT nState = GetMenuState(grid.GetContextMenu(), nId, MF_BYCOMMAND);
            EXPECT_EQ(nId == ID_MOVER_NEWS, (nState & MF_GRAYED) != 0) << nId;
            EXPECT_EQ(nId == ID_MOVER_NEWS ? "" : std::string(strSymbol) + " 1", charts.strAsked) << nId;
        }
        RegisterChartMaker(nullptr);
    }

    // One "GL" fills the three lists; the holidays came after login.
    void CheckMoversAndHolidays(const std::string& strLanguage)
    {
        const int nBefore = RequestCount("GL");
        for (UINT nId : {ID_APP_GAINERS, ID_APP_LOSERS, ID_APP_MOST_ACTIVE})
            ASSERT_TRUE(pRun->App().RunCommand(nId));
        CGainerLooserTable* pTables[3] = {Find<CGainerLooserTable>(IDS_TABLE_GAINERS),
                                          Find<CGainerLooserTable>(IDS_TABLE_LOSERS),
                                          Find<CGainerLooserTable>(IDS_TABLE_MOST_ACTIVE)};
        for (CGainerLooserTable* pTable : pTables) {
            ASSERT_NE(nullptr, pTable);
            ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete() && !pTable->IsReceiving(); }));
        }
        EXPECT_EQ(nBefore + 3, RequestCount("GL"));
        int nRows = 0;
        for (int nKind = 0; nKind < 3; ++nKind) {
            const CDataArray& rows = *pTables[nKind]->GetRows();
            nRows += rows.GetCount();
            for (int i = 0; i < rows.GetCount(); ++i)
                EXPECT_EQ(nKind, rows.GetAt(i)->GetLong(6)) << "only its own list";
        }
        EXPECT_GT(nRows, 0);
        // The KSE's lists name their market.
        for (int i = 0; i < pTables[0]->GetRows()->GetCount(); ++i)
            EXPECT_EQ(std::string(GetGlobals()->GetMarketName(2)), std::string(pTables[0]->GetRows()->GetAt(i)->GetText(5)));
        Shoot(pTables[0], "market_gainers_" + strLanguage);
        CheckMoverRowMenu(pTables[0]);

        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_HOLIDAYS));
        CHolidayTable* pHolidays = Find<CHolidayTable>(IDS_TABLE_HOLIDAYS);
        ASSERT_NE(nullptr, pHolidays);
        ASSERT_TRUE(PumpUntil([&] { return pHolidays->IsComplete(); }));
        const CDataArray& days = *pHolidays->GetRows();
        ASSERT_GT(days.GetCount(), 0);
        // The KSE named whole; a click on its name narrows the window to it, and the caption says so.
        const std::vector<std::string> markets = ShownTexts(pHolidays, 1);
        ASSERT_EQ(static_cast<size_t>(days.GetCount()), markets.size());
        EXPECT_EQ(4, std::count(markets.begin(), markets.end(), Name(2))) << ::testing::PrintToString(markets);
        EXPECT_EQ(Name(2), strLanguage == "en" ? "Kuwait Stock Exchange" : "\xD3\xE6\xDE \xC7\xE1\xDF\xE6\xED\xCA \xE1\xE1\xC3\xE6\xD1\xC7\xDE \xC7\xE1\xE3\xC7\xE1\xED\xC9");
        CTableMDIWnd* pWindow = pHolidays->GetMainWindow();
        char szTitle[256] = "";
        GetWindowTextA(pWindow->m_hWnd, szTitle, sizeof szTitle);
        const std::string strPlain = szTitle;
        CViewRow row;
        ASSERT_TRUE(pWindow->GetView()->GetRow(row, static_cast<int>(std::find(markets.begin(), markets.end(), Name(2)) - markets.begin())));
        int nHandled = 0;
        pHolidays->OnCellClick(&row, 1, &nHandled);
        EXPECT_EQ((std::vector<std::string>(4, Name(2))), ShownTexts(pHolidays, 1));
        GetWindowTextA(pWindow->m_hWnd, szTitle, sizeof szTitle);
        EXPECT_EQ(strPlain + " - " + Name(2), std::string(szTitle));
        Shoot(pHolidays, "market_holidays_" + strLanguage);

        ASSERT_TRUE(pRun->App().RunCommand(ID_APP_KSE_EVENTS));
        CCorporateEventsKSETable* pEvents = Find<CCorporateEventsKSETable>(IDS_TABLE_CORPORATE_EVENTS_KSE);
        ASSERT_NE(nullptr, pEvents);
        ASSERT_TRUE(PumpUntil([&] { return pEvents->IsComplete() && pEvents->GetRows()->GetCount() > 0; }));
        EXPECT_EQ(1, RequestCount("CF"));
        // The first dividend as shown: both dates in this century, the event by its name.
        const std::vector<std::string> dates = ShownTexts(pEvents, 1), kinds = ShownTexts(pEvents, 3),
                                       records = ShownTexts(pEvents, 7);
        ASSERT_FALSE(dates.empty());
        ASSERT_EQ(dates.size(), records.size());
        ASSERT_EQ(dates.size(), kinds.size());
        const size_t nFirst = std::find(dates.begin(), dates.end(), "14/12/2026") - dates.begin();
        ASSERT_LT(nFirst, dates.size()) << ::testing::PrintToString(dates);
        EXPECT_EQ("21/12/2026", records[nFirst]);
        EXPECT_EQ(strLanguage == "en" ? "Cash dividend" : "\xCA\xE6\xD2\xED\xDA \xC3\xD1\xC8\xC7\xCD \xE4\xDE\xCF\xED\xC9",
                  kinds[nFirst]);
        Shoot(pEvents, "market_corporate_events_kse_" + strLanguage);
    }
};

}  // namespace

TEST_F(NewsMoversSession, NewsMoversAndHolidaysInEnglish)
{
    Start(false);
    CheckNewsList("en");
    CheckMoversAndHolidays("en");
}

TEST_F(NewsMoversSession, NewsMoversAndHolidaysInArabic)
{
    Start(true);
    CheckNewsList("ar");
    CheckMoversAndHolidays("ar");
}
