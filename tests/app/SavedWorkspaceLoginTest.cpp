// A saved workspace is a file of another session, language or version: whatever it holds, the
// login goes on, each window it names comes back, and one that could not is told in the
// information window by the name the trader knows it by.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"
#include "app/AppCommands.h"
#include "app/ChartWindows.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "platform/win/user/WebBrowser.h"


namespace {

// Bytes of a disk that went wrong, around sections that still read; a window of a name no
// version knows, in Arabic letters.
const char s_szUnknownArabic[] = "\xE4\xC7\xDD\xD0\xC9";
const char s_szDamaged[] = "\0\xFF[[=\n[.Z-Order]\n=\n0=NoSuchWindow:2\n1=\xE4\xC7\xDD\xD0\xC9\nNumTables=2\n[ChartView0]\nTkrSymb=\xFF\nMarket=-99999\n";

std::string Line(UINT nId, const std::string& strName)
{
    CString strLine;
    GetSharedGlobals()->LoadString(strLine, nId);
    strLine.Replace("%1", strName.c_str());
    return static_cast<LPCSTR>(strLine);
}

std::string LeftOutLine(const std::string& strName)
{
    return Line(IDS_WORKSPACE_LEFT_OUT, strName);
}

}  // namespace

// The files of an Arabic session, in both languages (its US watch list asks for quotes while
// the key exchange is under way; its KSE holdings are named by their Arabic title, as the
// previous version saved them), alone or with the user's own, and a damaged file.
TEST(SavedWorkspaceLogin, SavedFilesNeverStopTheLoginAndBringTheirWindowsBack)
{
    CWholeTerminalMakers makers;
    const std::vector<UINT> saved = {IDS_TABLE_KSE_QUOTATIONS, IDS_TABLE_KSE_HOLDINGS, IDS_TABLE_KSE_ORDER_STATUS};
    const struct { bool bArabic; std::vector<const char*> files; std::string strUserFile; std::vector<UINT> shown; } cases[] = {
        {false, {"/Default.wsp", "/TestTrad.wsp"}, "", saved},
        {true, {"/Default.wsp", "/TestTrad.wsp"}, "", saved},
        {false, {"/Default.wsp"}, "", saved},
        {true, {"/Default.wsp"}, "", saved},
        {false, {}, std::string(s_szDamaged, sizeof s_szDamaged - 1), {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bArabic) + " " + std::to_string(c.files.size()));
        CTestServer server;
        ASSERT_TRUE(server.Start());
        CTerminalRun run(c.bArabic);
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        for (const char* pszFile : c.files)
            std::filesystem::copy_file(TB_SOURCE_DIR "/tests/app/data/saved-arabic-workspace" + std::string(pszFile),
                                       run.Folder() + pszFile);
        if (!c.strUserFile.empty())
            std::ofstream(run.Folder() + "/TestTrad.wsp", std::ios::binary) << c.strUserFile;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
        for (UINT nTable : c.shown) {
            IDataTable* pTable = run.App().FindTable(nTable);
            ASSERT_NE(nullptr, pTable) << nTable;
            EXPECT_TRUE(pTable->GetMainWindow()->IsWindowVisible()) << nTable << "\n" << run.InfoText();
        }
        const bool bToldLeftOut = run.InfoText().find(LeftOutLine("")) != std::string::npos;
        EXPECT_EQ(c.shown.empty(), bToldLeftOut) << run.InfoText();
        EXPECT_EQ(c.shown.empty(), run.InfoText().find(LeftOutLine("NoSuchWindow")) != std::string::npos);
        // An English line keeps its direction: the Arabic name follows on a line of its own.
        EXPECT_EQ(c.shown.empty(), run.InfoText().find(LeftOutLine("") + "\n" + s_szUnknownArabic) != std::string::npos);
    }
}

// Charts and pages are part of the workspace's order: reopened, each stands again between the
// tables it stood between. A chart that cannot open is told by its name.
TEST(SavedWorkspaceLogin, ChartsComeBackInTheirPlaceOrAreTold)
{
    CWholeTerminalMakers makers;
    CTestServer server;
    ASSERT_TRUE(server.Start());
    TbWebBrowserUseEngine(FALSE);
    const std::shared_ptr<void> engineBack(nullptr, [](void*) { TbWebBrowserUseEngine(TRUE); });
    CTerminalRun run;
    run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
    std::ofstream(run.Folder() + "/TestTrad.wsp")
        << "[.Z-Order]\n0=QuotesKSE\n1=OrderStatusKSE\n2=KSE Holdings\nNumTables=3\n"
           "[QuotesKSE]\nWinPlace=0,1,-1,-1,-1,-1,10,30,500,400\n"
           "[ChartView0]\nTkrSymb=ALPN\nDuration=1\nMarket=2\nWinPlace=0,1,-1,-1,-1,-1,60,60,600,450\n"
           "[BRIEF_STOCK_TICKER]\nWinPlace=0,1,-1,-1,-1,-1,90,90,600,450\n";
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
    // The five windows by letter: Q, O and H the tables, c the chart, p the page.
    auto window = [&](char chWindow) -> CMDIChildWnd* {
        switch (chWindow) {
        case 'c': return run.App().GetChartWindow(0);
        case 'p': return run.App().GetPageWindow("BRIEF_STOCK_TICKER");
        }
        const UINT nTable = chWindow == 'Q' ? IDS_TABLE_KSE_QUOTATIONS
                            : chWindow == 'O' ? IDS_TABLE_KSE_ORDER_STATUS : IDS_TABLE_KSE_HOLDINGS;
        IDataTable* pTable = run.App().FindTable(nTable);
        return pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    };
    // Those on view in the client's order from the top (the information window may stand among them).
    auto shown = [&] {
        std::string strOrder;
        for (HWND h = ::GetWindow(run.App().GetMainFrame()->m_hWndMDIClient, GW_CHILD); h != nullptr;
             h = ::GetWindow(h, GW_HWNDNEXT))
            for (char chWindow : std::string("QOHcp"))
                if (CMDIChildWnd* pWindow = window(chWindow); pWindow != nullptr && pWindow->m_hWnd == h && ::IsWindowVisible(h))
                    strOrder += chWindow;
        return strOrder;
    };
    // A chart and a page each between two tables, on top, at the bottom, and the tables in
    // another order than the file's.
    for (const std::string strOrder : {"QcOpH", "cQpOH", "QOHpc", "HpOcQ", "pcQOH"}) {
        for (auto it = strOrder.rbegin(); it != strOrder.rend(); ++it) {
            CMDIChildWnd* pWindow = window(*it);
            ASSERT_NE(nullptr, pWindow) << *it;
            if (it + 1 == strOrder.rend())
                pWindow->MDIActivate();
            ::SetWindowPos(pWindow->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        }
        PumpPending();
        ASSERT_EQ(strOrder, shown());
        run.App().SaveWorkspace();
        run.App().LoadWorkspace(run.App().GetWorkspaceFile(), TRUE);
        PumpPending();
        EXPECT_EQ(strOrder, shown());
    }
    RegisterChartMaker(nullptr);
    run.App().LoadWorkspace(run.App().GetWorkspaceFile(), TRUE);
    EXPECT_NE(std::string::npos, run.InfoText().find(LeftOutLine("Chart ALPN"))) << run.InfoText();
}

// File > Connect starts a new session, which closes the reports the user had open (each made for
// what was chosen in its dialog); the next login says so by their titles, in the user's language.
TEST(SavedWorkspaceLogin, ReconnectingTellsTheReportsItClosedByTheirTitles)
{
    CWholeTerminalMakers makers;
    const UINT reports[][2] = {{56305, 56796}, {56272, 56794}, {41176, 41177}, {51580, 56765}};
    for (const bool bArabic : {false, true}) {
        CTestServer server;
        ASSERT_TRUE(server.Start());
        CTerminalRun run(bArabic);
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
        for (const auto& report : reports)
            CNorvApp::ShowTable(MakeTable(report[0], 0, report[1]));
        run.QueueLogin("trader", "secret");
        run.App().RunCommand(ID_APP_CONNECT);
        ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
        for (const auto& report : reports) {
            CString strTitle;
            GetSharedGlobals()->LoadString(strTitle, report[1]);
            EXPECT_NE(std::string::npos, run.InfoText().find(Line(IDS_WORKSPACE_REPORT_CLOSED, static_cast<LPCSTR>(strTitle))));
        }
        EXPECT_EQ(std::string::npos, run.InfoText().find(LeftOutLine(""))) << run.InfoText();
        // No line names a table the terminal makes by the name it keeps it under.
        for (UINT nId : RegisteredTableIds()) {
            CString strName;
            GetSharedGlobals()->LoadString(strName, nId);
            if (!strName.IsEmpty() && strName.Find(' ') < 0) {
                EXPECT_EQ(std::string::npos, run.InfoText().find(static_cast<LPCSTR>(strName))) << strName;
            }
        }
    }
}

// A floating ticker's place of another screen or a damaged file stays on this screen.
TEST(SavedWorkspaceLogin, FloatingTickersStayOnTheScreen)
{
    CTestServer server;
    ASSERT_TRUE(server.Start());
    CTerminalRun run;
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    settings.WriteString("WinPlace1", "0,1,0,0,0,0,100000,100000,200000,200030");
    settings.WriteString("WinPlace2", "0,1,0,0,0,0,-100000,-5,100000,2147483647");
    for (int nNumber : {1, 2}) {
        RECT rc{};     // left, top, width, height
        run.App().GetTickerRect(&rc, nNumber, FALSE);
        EXPECT_TRUE(rc.left >= 0 && rc.left + rc.right <= GetSystemMetrics(SM_CXSCREEN)) << rc.left << "+" << rc.right;
        EXPECT_TRUE(rc.top >= 0 && rc.top + rc.bottom <= GetSystemMetrics(SM_CYSCREEN)) << rc.top << "+" << rc.bottom;
    }
}

namespace {

// A table window as the trader reads it: its title, then each row's cells, or (for the market's
// windows, whose prices move between two logins) how many rows it shows.
std::string WindowText(HWND hWnd, bool bCells)
{
    CTableMDIWnd* pWindow = dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(hWnd));
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return "";
    char szTitle[256] = "";
    ::GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    std::string strText = szTitle;
    int nRows = 0;
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CViewRow row;
        if (!pView->GetRow(row, i) || !row.IsDataRow())
            continue;
        ++nRows;
        for (int nCol = 0; bCells && nCol < pView->GetColumnCount(); ++nCol) {
            CTBString strCell;
            row.GetText(strCell, nCol);
            strText += (nCol == 0 ? "\n" : "|") + std::string(static_cast<const char*>(strCell));
        }
    }
    return bCells ? strText : strText + " " + std::to_string(nRows) + " rows";
}

}  // namespace

// A window the workspace brings back at the next login shows what the same window opened from
// its menu shows: its title and its rows, in both languages. (The margin user: the trader's
// account has no margin window to open.)
TEST(SavedWorkspaceLogin, RestoredWindowsShowWhatTheirCommandsShow)
{
    CWholeTerminalMakers makers;
    const struct { UINT nCommand; bool bCells; } commands[] = {
        {ID_APP_US_UNREALIZED, true}, {33235, true}, {ID_APP_MARGIN_DETAILS, true},
        {ID_APP_KSE_SORT_FIRST, false}, {ID_APP_KSE_SORT_FIRST + 1, false}};
    for (const bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CTestServer server;
        // A still market: a position is valued at the price of the moment, the same in both runs.
        ASSERT_TRUE(server.Start({"--rate", "0"}));
        std::vector<std::string> opened;
        std::string strFolder;
        {
            CTerminalRun run(bArabic);
            run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
            ASSERT_TRUE(run.StartLoggedIn(server.Port(), "margin", "margin"));
            std::vector<HWND> windows;
            for (const auto& command : commands) {
                run.App().RunCommand(command.nCommand);
                PumpUntil([] { return false; }, 1000);
                windows.push_back(reinterpret_cast<HWND>(
                    ::SendMessageA(run.App().GetMainFrame()->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0)));
            }
            for (size_t i = 0; i < windows.size(); ++i)
                opened.push_back(WindowText(windows[i], commands[i].bCells));
            run.App().SaveWorkspace();
            strFolder = run.Folder();
            run.Close();
        }
        CTerminalRun again(bArabic, strFolder);
        again.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        ASSERT_TRUE(again.StartLoggedIn(server.Port(), "margin", "margin"));
        PumpUntil([] { return false; }, 2000);
        std::vector<std::string> restored;
        for (HWND hChild = ::GetWindow(again.App().GetMainFrame()->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
             hChild = ::GetWindow(hChild, GW_HWNDNEXT))
            for (bool bCells : {true, false})
                restored.push_back(WindowText(hChild, bCells));
        for (const std::string& strOpened : opened)
            EXPECT_NE(restored.end(), std::find(restored.begin(), restored.end(), strOpened))
                << strOpened << "\n" << again.InfoText();
        // Asked for once the data are in, they stay in their places: the last opened on top of
        // them (the information window may stand in between).
        const auto place = [&](const std::string& strText) { return std::find(restored.begin(), restored.end(), strText); };
        for (size_t i = 0; i + 1 < opened.size(); ++i)
            EXPECT_LT(place(opened.back()), place(opened[i])) << opened[i];
        EXPECT_EQ(std::string::npos, again.InfoText().find(LeftOutLine(""))) << again.InfoText();
    }
}
