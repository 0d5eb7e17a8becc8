// The terminal end to end against the test server on loopback: start-up, connection, handshake,
// the login through its dialog, the initial load, refusals, log-off, a server that goes away,
// a second connection, the user's workspace file, and the same session in Arabic.
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"
#include "charts/ChartChooserDlg.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/MainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/dialogs/CredentialDialogs.h"
#include "app/dialogs/VersionInfoDlg.h"
#include "platform/win/kernel/Registry.h"
#include "link/CommDialogs.h"
#include "link/LinkProtocol.h"
#include "link/ZorvatComm.h"
#include "framework/base/NorvGlobals.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/QueueInternal.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"
#include "refdata/ZorvatGlobals.h"
#include "tools/demo/TerminalSetup.h"

#define IDS_INITIAL_LOAD_DONE 40331

namespace {

const std::vector<std::string> s_serverData = {"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"};

std::string ScreenshotPath(const char* pszName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strFolder);
    return strFolder + "/" + pszName + ".png";
}

std::string FrameTitle(CZORVAT32App& app)
{
    CString strTitle;
    if (app.GetMainFrame() != nullptr)
        app.GetMainFrame()->GetWindowText(strTitle);
    return static_cast<LPCSTR>(strTitle);
}

// The bytes of a value under the program's registry key, or "<none>".
std::string RegistryValue(const char* pszKey, const char* pszValue)
{
    const std::string strKey = std::string("Software\\ZORVATOnLine\\Quelmor Pro\\") + pszKey;
    HKEY hKey = nullptr;
    char szValue[512];
    DWORD cbValue = sizeof szValue, dwType = 0;
    LONG nResult = RegOpenKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, KEY_READ, &hKey);
    if (nResult == ERROR_SUCCESS) {
        nResult = RegQueryValueExA(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue), &cbValue);
        RegCloseKey(hKey);
    }
    return nResult == ERROR_SUCCESS ? std::string(szValue, cbValue) : "<none>";
}

BOOL Enabled(CZORVAT32App& app, UINT nId)
{
    BOOL bEnabled = FALSE;
    app.GetCommandState(nId, &bEnabled, nullptr);
    return bEnabled;
}

struct SessionFixture : ::testing::Test
{
    CTestServer server;
    void SetUp() override { ASSERT_TRUE(server.Start(s_serverData)); }
};

}  // namespace

TEST_F(SessionFixture, ConnectsLogsInThroughTheDialogAndLoadsOnce)
{
    CTerminalRun run;
    run.WriteLinkSettings(server.Port());
    run.QueueLogin("demo01", "demo12");
    run.m_strDialogShot = ScreenshotPath("terminal_login_en");
    ASSERT_TRUE(run.Start());
    CZORVAT32App& app = run.App();
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    EXPECT_EQ(1, run.LoginDialogsSeen());
    EXPECT_NE(std::string::npos, FrameTitle(app).find("[1001 / demo01 / Demo User]")) << FrameTitle(app);
    PumpFor(300);
    EXPECT_EQ(1, run.CountInfoLines(IDS_INITIAL_LOAD_DONE)) << run.InfoText();
    EXPECT_TRUE(app.GetInfoTable()->GetDataTable()->GetMainWindow()->IsWindowVisible())
        << "a first login's workspace has no place for the information window: it shows all the same";
    EXPECT_EQ(app.GetInfoTable()->GetLineCount(),
              app.GetInfoTable()->GetDataTable()->GetTable()->GetView(0)->GetRowCount())
        << "the window shows each line once";
    TbSaveWindowPng(app.GetMainFrame()->m_hWnd, ScreenshotPath("terminal_main_en").c_str());

    // The version command tells what the hello said: this version is current.
    run.QueueDialog(IDC_VERSION_STATUS, {});
    app.RunCommand(ID_APP_VERSION);
    CString strCurrent;
    GetSharedGlobals()->LoadString(strCurrent, IDS_VERSION_CURRENT);
    EXPECT_EQ(std::string(strCurrent), run.m_strMarkText);

    // Logging in again asks first; No leaves the session as it is.
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});
    app.RunCommand(ID_APP_LOGIN);
    EXPECT_EQ(3, app.GetUser().GetRole());
    EXPECT_EQ(1, run.LoginDialogsSeen());

    // The reading direction command writes what the next start reads.
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
    app.RunCommand(ID_APP_READING_DIRECTION);
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ(std::string("\1\0\0\0", 4), RegistryValue("Settings", "Arabic"));
}

// The initial load ends with the reply the user's role waits for: the holidays below role 3,
// the last follow-up ("VX") from role 3 on. The server cuts the line inside the "VX" reply: a
// load that waited for the holidays has ended, one that waited for "VX" never does.
TEST(SessionRoles, InitialLoadWaitsForTheReplyOfTheUsersRole)
{
    struct Case {
        const char* pszUser;
        const char* pszPassword;
        int nRole;
        bool bLoaded;
    };
    const Case cases[] = {{"dealer", "dealer1", 2, true}, {"demo01", "demo12", 3, false}, {"margin", "margin1", 4, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszUser) + ", role " + std::to_string(c.nRole));
        CTestServer server;
        std::vector<std::string> options = s_serverData;
        options.insert(options.end(), {"--scenario", "close-in-stream=VX"});
        ASSERT_TRUE(server.Start(options));
        CTerminalRun run;
        run.WriteLinkSettings(server.Port());
        run.QueueLogin(c.pszUser, c.pszPassword);
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the lost line is told in a box
        ASSERT_TRUE(run.Start());
        CZORVAT32App& app = run.App();
        ASSERT_TRUE(PumpUntil([&] { return !app.IsConnected() && TbPendingTestAnswers() == 0; }, 20000))
            << run.InfoText();
        EXPECT_EQ(c.bLoaded, app.IsInitialLoadDone() != FALSE) << run.InfoText();
        EXPECT_EQ(c.bLoaded ? 1 : 0, run.CountInfoLines(IDS_INITIAL_LOAD_DONE)) << run.InfoText();
    }
}

// A password with the field separator never goes out (the same dialog takes the next answer); a
// refused one brings the dialog back with the reason; the accepted login's workspace file is
// named by the plain characters of the user's name.
TEST_F(SessionFixture, LoginRefusalsAndTheUsersFileName)
{
    CTerminalRun run;
    run.WriteLinkSettings(server.Port());
    run.QueueLogin("dealer", "de|ler1");
    run.QueueLogin("dealer", "wrong1");
    run.QueueLogin("dealer", "dealer1");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    EXPECT_EQ(std::vector<std::string>({"", "Unknown user or password"}), run.m_loginRefusals)
        << "the second dialog says why, where the user looks";
    int nLogins = 0;
    for (const std::string& line : server.Received())
        nLogins += line.rfind("&UL|", 0) == 0;
    EXPECT_EQ(2, nLogins);
    const std::string strFile = static_cast<LPCSTR>(run.App().GetWorkspaceFile());
    EXPECT_EQ(run.Folder() + "/DealerOn.wsp", strFile);
    EXPECT_TRUE(std::filesystem::exists(strFile));
}

// Disconnect logs off: the user is forgotten and the session's forms, charts and pages go, the
// news reader stays, the information window keeps what it said; connecting again loads again.
TEST_F(SessionFixture, LogoffForgetsTheUserAndItsWindowsAndReconnectLoadsAgain)
{
    CTerminalRun run;
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
    CZORVAT32App& app = run.App();
    CFormMDIWnd* pPage = new CFormHtml;
    static_cast<CFormHtml*>(pPage)->SetPageId("LOGOFF_TEST_PAGE");
    ASSERT_TRUE(pPage->CreateForm(0, nullptr, &pPage));
    CFormChart* pChartFrame = new CFormChart;
    pChartFrame->SetSection("ChartView0");
    CFormMDIWnd* pChart = pChartFrame;
    ASSERT_TRUE(pChart->CreateForm(0, nullptr, &pChart));
    CFormMDIWnd* pTicket = new CFormMDIWnd;
    ASSERT_TRUE(pTicket->CreateForm(7310, nullptr, &pTicket));
    CFormMDIWnd* pNews = new CFormMDIWnd;
    ASSERT_TRUE(pNews->CreateForm(IDD_FORM_NEWS_READER, nullptr, &pNews));
    pPage->SendMessage(WM_CLOSE);
    ASSERT_NE(nullptr, pPage) << "a page frame only hides";

    const std::string strInfo = run.InfoText();
    ASSERT_EQ(1, run.CountInfoLines(IDS_INITIAL_LOAD_DONE));
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    app.RunCommand(ID_APP_DISCONNECT);
    EXPECT_NE(std::string::npos, run.InfoText().find(strInfo)) << run.InfoText();
    EXPECT_EQ(-1, app.GetUser().GetRole());
    EXPECT_EQ(0, app.GetUser().GetKseAccessLevel()) << "no right of the last user stays";
    EXPECT_TRUE(app.GetUser().GetPassword().IsEmpty());
    EXPECT_EQ(std::string(app.GetAppTitle()), FrameTitle(app));
    EXPECT_FALSE(Enabled(app, ID_APP_CHANGE_PIN));
    EXPECT_EQ(nullptr, pPage) << "the hidden page frame is destroyed, not left behind";
    EXPECT_EQ(nullptr, pChart);
    EXPECT_EQ(nullptr, pTicket);
    ASSERT_NE(nullptr, pNews) << "the news reader outlives the session";
    EXPECT_TRUE(::IsWindow(pNews->m_hWnd));
    ASSERT_TRUE(PumpUntil([&] { return !app.IsConnected(); }, 5000));
    EXPECT_TRUE(Enabled(app, ID_APP_CONNECT));

    run.QueueLogin("demo01", "demo12");
    app.RunCommand(ID_APP_CONNECT);
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    EXPECT_EQ(2, run.LoginDialogsSeen());
    PumpFor(200);
    EXPECT_EQ(2, run.CountInfoLines(IDS_INITIAL_LOAD_DONE)) << "once per connection, in the day's log";
    pNews->DestroyWindow();
    EXPECT_EQ(nullptr, pNews);
}

// The day's log outlives the session: File > Connect and a new login add lines to the
// information window and take none away.
TEST_F(SessionFixture, InformationLinesOutliveReconnectAndNewLogin)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CTerminalRun run(bArabic);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        CZORVAT32App& app = run.App();
        for (int n = 0; n < 40; ++n)
            app.AddInfoText("Market open");
        const std::string strDay = run.InfoText();
        run.QueueLogin("demo01", "demo12");
        app.RunCommand(ID_APP_CONNECT);
        ASSERT_TRUE(PumpUntil([&] { return run.LoginDialogsSeen() == 2 && app.IsInitialLoadDone(); })) << run.InfoText();
        // The window opened on the kept lines shows the newest whole.
        app.RunCommand(ID_APP_INFO_BUTTON);
        PumpFor(50);
        CTableWindow& grid = app.GetInfoTable()->GetDataTable()->GetMainWindow()->GetGrid();
        EXPECT_EQ(grid.GetRowCount() - 1, grid.GetLastFullyShownRow());
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        run.QueueLogin("demo01", "demo12");
        app.RunCommand(ID_APP_LOGIN);
        ASSERT_TRUE(PumpUntil([&] { return run.LoginDialogsSeen() == 3 && app.IsInitialLoadDone(); })) << run.InfoText();
        EXPECT_EQ(0u, run.InfoText().find(strDay)) << run.InfoText();
        EXPECT_EQ(3, run.CountInfoLines(IDS_INITIAL_LOAD_DONE)) << run.InfoText();
    }
}

TEST_F(SessionFixture, WorkspaceOfTheUserComesBackOnTheNextLogin)
{
    // The alert sound lives in the reference data, which outlives the runs: put back at the end.
    CZorvatGlobals* pGlobals = GetGlobals();
    const int nSoundMode = pGlobals->m_nAlertSoundMode;
    const CString strSoundFile = pGlobals->m_strAlertSoundFile;
    const std::shared_ptr<void> putBack(nullptr, [&](void*) {
        pGlobals->m_nAlertSoundMode = nSoundMode;
        pGlobals->m_strAlertSoundFile = strSoundFile;
    });
    std::string strFolder;
    {
        CTerminalRun run;
        strFolder = run.Folder();
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        CTableMDIWnd* pInfo = run.App().GetInfoTable()->GetDataTable()->GetMainWindow();
        run.App().RunCommand(ID_APP_SHOW_INFO);
        pInfo->SetWindowPos(nullptr, 30, 40, 420, 260, SWP_NOZORDER);
        run.App().SetInfoPriority(3);
        run.App().SetRememberPin(TRUE);
        pGlobals->m_nAlertSoundMode = 2;
        pGlobals->m_strAlertSoundFile = "bell.wav";
    }   // closed as the user closes it: the workspace is saved on the way out
    std::ifstream in(strFolder + "/DemoUser.wsp");
    const std::string strText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* pszKey : {"ShowToolBar=Yes", "ShowStatusBar=Yes"})
        EXPECT_NE(std::string::npos, strText.find(pszKey)) << pszKey << " in\n" << strText;
    const size_t nGeneral = strText.find("[.General]\n");
    ASSERT_NE(std::string::npos, nGeneral);
    const std::string strGeneral = strText.substr(nGeneral, strText.find("\n[", nGeneral) - nGeneral) + "\n";
    for (const char* pszLine : {"\nBringInfoWindoToTop=Yes\n", "\nRememberPIN=Yes\n", "\nCloseOnSysMenu=", "\nAutoSave=Yes\n",
                                "\nColorTickerDifferent=", "\nAlertSound=2\n", "\nAlertSoundFile=bell.wav\n"})
        EXPECT_NE(std::string::npos, strGeneral.find(pszLine)) << pszLine << " in\n" << strGeneral;
    pGlobals->m_nAlertSoundMode = 0;
    pGlobals->m_strAlertSoundFile = "";

    // The user's workspace is the first of the recent files.
    EXPECT_EQ(strFolder + "/DemoUser.wsp", std::string(RegistryValue("Recent File List", "File1").c_str()));

    CTerminalRun again(/*bArabic=*/false, strFolder);
    again.WriteLinkSettings(server.Port());
    again.QueueLogin("demo01", "demo12");
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.WaitForLoad());
    EXPECT_EQ(3, again.App().GetInfoPriority());
    EXPECT_TRUE(again.App().IsRememberPin());
    EXPECT_EQ(2, pGlobals->m_nAlertSoundMode);
    EXPECT_EQ("bell.wav", std::string(pGlobals->m_strAlertSoundFile));
    CTableMDIWnd* pInfo = again.App().GetInfoTable()->GetDataTable()->GetMainWindow();
    EXPECT_TRUE(pInfo->IsWindowVisible()) << "it was open when the workspace was saved";
    CRect rc;
    pInfo->GetClientRect(&rc);
    EXPECT_GT(rc.Height(), 150) << "its size came back";
    EXPECT_LT(rc.Height(), 300) << "its size came back";
}

TEST_F(SessionFixture, ArabicSessionReadsRightToLeft)
{
    CWholeTerminalMakers makers;
    CTerminalRun run(/*bArabic=*/true);
    run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
    run.WriteLinkSettings(server.Port());
    run.QueueLogin("demo01", "demo12");
    run.m_strDialogShot = ScreenshotPath("terminal_login_ar");
    ASSERT_TRUE(run.Start());
    EXPECT_STREQ("1", run.App().GetLanguageCode()) << "the error texts are asked in Arabic";
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    // Read right to left as its caption reads, the title keeps the user's fields in their order:
    // the number first at the right, then the user, then the name.
    const HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_TRUE(SameInk(InkOfText(hFont, "[Demo User / demo01 / 1001] " + std::string(run.App().GetAppTitle())),
                        InkOfText(hFont, FrameTitle(run.App()), RGB(255, 255, 255), true)));
    TbSaveWindowPng(run.App().GetMainFrame()->m_hWnd, ScreenshotPath("terminal_main_ar").c_str());

    // Never placed before, the information window stands at the right, where Arabic starts.
    CTableMDIWnd* pInfo = run.App().GetInfoTable()->GetDataTable()->GetMainWindow();
    ASSERT_NE(nullptr, pInfo);
    CRect rcClient, rcInfo;
    ::GetClientRect(run.App().GetMainFrame()->m_hWndMDIClient, &rcClient);
    pInfo->GetWindowRect(&rcInfo);
    ::MapWindowPoints(nullptr, run.App().GetMainFrame()->m_hWndMDIClient, reinterpret_cast<POINT*>(&rcInfo), 2);
    EXPECT_LT(40, rcInfo.left) << "as wide as its columns, not the whole client";
    EXPECT_NEAR(rcClient.right, rcInfo.right, 4);

    // So does every other window kind never placed before, one at a time: each table's, each
    // form's and each chart's window stands as far from the client's right as from its top, as a
    // cascade from the top-right corner places it.
    const HWND hClient = run.App().GetMainFrame()->m_hWndMDIClient;
    const auto openedAt = [&](UINT nCommand) {
        std::set<HWND> shown;
        for (HWND h = ::GetWindow(hClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
            if (::IsWindowVisible(h))
                shown.insert(h);
        run.QueueDialog(IDC_CHART_TICKER, {{IDC_CHART_TICKER, "101"}});
        run.App().GetMainFrame()->SendMessage(WM_COMMAND, nCommand);
        PumpFor(100);
        TbClearTestAnswers();
        for (HWND h = ::GetWindow(hClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
            if (::IsWindowVisible(h) && !shown.count(h)) {
                RECT rc;
                ::GetWindowRect(h, &rc);
                ::MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
                ::ShowWindow(h, SW_HIDE);
                return CRect(rc);
            }
        return CRect();
    };
    std::vector<UINT> commands = CZORVAT32App::GetFormCommands(), charts = CZORVAT32App::GetChartCommands();
    commands.insert(commands.end(), charts.begin(), charts.end());
    for (const auto& [nCommand, nNameId] : CZORVAT32App::GetTableCommands())
        commands.push_back(nCommand);
    size_t nPlaced = 0;
    for (UINT nCommand : commands) {
        const CRect rc = openedAt(nCommand);
        if (rc.IsRectEmpty())
            continue;               // a window this user may not open, or one that shows elsewhere
        ++nPlaced;
        EXPECT_LE(rcClient.right - rc.right, rc.top) << "command " << nCommand << ": " << rc.left << "," << rc.top
                                                      << " " << rc.right << "," << rc.bottom;
        EXPECT_LE(rc.right, rcClient.right + 4) << "command " << nCommand;
    }
    EXPECT_GT(nPlaced, commands.size() / 2) << "most kinds opened";
}

// A refused password change leaves the session's password as it was, whatever reply comes next:
// the accepted PIN change after it, or the next session's PIN change after a disconnect that
// came before the server's answer; that next login builds the workspace behind the locked frame.
TEST_F(SessionFixture, RefusedPasswordChangeNeverBecomesTheSessionsPassword)
{
    CTerminalRun run;
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
    CZORVAT32App& app = run.App();
    auto count = [&](const std::string& strText, int n = 0) {
        for (size_t i = run.InfoText().find(strText); i != std::string::npos; i = run.InfoText().find(strText, i + 1))
            ++n;
        return n;
    };
    auto changePassword = [&](const char* pszOld, const char* pszNew) {
        run.QueueDialog(IDC_PASSWORD_NEW, {{IDC_PASSWORD_OLD, pszOld}, {IDC_PASSWORD_NEW, pszNew}, {IDC_PASSWORD_REPEAT, pszNew}});
        app.RunCommand(ID_APP_CHANGE_PASSWORD);
    };
    auto changePin = [&] {
        run.QueueDialog(IDC_PIN_NEW, {{IDC_PIN_OLD, "1111"}, {IDC_PIN_NEW, "4321"}, {IDC_PIN_REPEAT, "4321"}});
        app.RunCommand(ID_APP_CHANGE_PIN);
    };
    const std::string strRefused = "Wrong old password or PIN", strDone = "Request 1001 was carried out.";

    changePassword("wrong1", "refused1");
    ASSERT_TRUE(PumpUntil([&] { return count(strRefused) == 1; }, 5000)) << run.InfoText();
    changePin();
    ASSERT_TRUE(PumpUntil([&] { return count(strDone) == 1; }, 5000)) << run.InfoText();
    EXPECT_EQ("demo12", std::string(app.GetUser().GetPassword())) << "the PIN's acceptance took the refused password";

    // The answer to this one is never read: the link goes first.
    changePassword("wrong1", "unread1");
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    app.RunCommand(ID_APP_DISCONNECT);
    ASSERT_TRUE(PumpUntil([&] { return !app.IsConnected(); }, 5000));
    // The next login builds the user's workspace behind the locked frame, which draws once it is all there.
    HWND hFrame = app.GetMainFrame()->m_hWnd;
    const int nWorkspaceLines = count("Workspace: ");
    CRedrawWatch redraws(hFrame, [&] { return count("Workspace: ") > nWorkspaceLines + 1 ? "loaded" : "not loaded"; });
    run.QueueLogin("demo01", "demo12");
    app.RunCommand(ID_APP_CONNECT);
    const bool bLoaded = run.WaitForLoad();
    redraws.Stop();
    ASSERT_TRUE(bLoaded) << run.InfoText();
    const std::string strLast = "off (not loaded)|on (loaded)|";   // the connection's own redraws come before
    EXPECT_TRUE(redraws.Log().ends_with(strLast)) << redraws.Log();
    changePin();
    ASSERT_TRUE(PumpUntil([&] { return count(strDone) == 2; }, 5000)) << run.InfoText();
    EXPECT_EQ("demo12", std::string(app.GetUser().GetPassword())) << "the last session's change outlived it";

    // An accepted change becomes the session's password; the user text stays.
    changePassword("demo12", "newpw77");
    ASSERT_TRUE(PumpUntil([&] { return app.GetUser().GetPassword() == "newpw77"; }, 5000))
        << std::string(app.GetUser().GetPassword());
    EXPECT_EQ("demo01", std::string(app.GetUser().GetUserText()));
}


namespace {
bool CtrlSSaves(CTerminalRun& run, const std::string& strWorkspace)
{
    std::filesystem::remove(strWorkspace);
    return run.TypeCtrl('S', [&] { return std::filesystem::exists(strWorkspace); });
}


std::string ClipboardText()
{
    std::string strText;
    HANDLE hData = ::OpenClipboard(nullptr) ? ::GetClipboardData(CF_TEXT) : nullptr;
    if (const char* psz = hData != nullptr ? static_cast<const char*>(::GlobalLock(hData)) : nullptr)
        strText = psz, ::GlobalUnlock(hData);
    ::CloseClipboard();
    return strText;
}
}  // namespace

// Ctrl+S typed while a grid has the focus saves the workspace, as the File menu's item does:
// in every table window, and in the form whose grid stands among a dialog's controls.
TEST_F(SessionFixture, FrameAcceleratorReachesTheFrameFromAFocusedGrid)
{
    CTerminalRun run;
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
    CZORVAT32App& app = run.App();
    PumpFor(200);
    CMDIFrameWnd* pFrame = app.GetMainFrame();
    // The user's own workspace file, which File > Save workspace writes too.
    const std::string strWorkspace = static_cast<LPCSTR>(app.GetWorkspaceFile());
    for (UINT nId : {ID_APP_KSE_QUOTES, ID_APP_KSE_STOCK_LIST})
        pFrame->SendMessage(WM_COMMAND, nId);
    PumpFor(100);
    std::vector<CTableMDIWnd*> tables;
    for (HWND hChild = ::GetWindow(pFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (auto* pTable = dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(hChild)))
            tables.push_back(pTable);
    ASSERT_GE(tables.size(), 3u) << "the information window, the KSE quotations and stock list";
    for (CTableMDIWnd* pTable : tables) {
        CString strTitle;
        pTable->GetWindowText(strTitle);
        SCOPED_TRACE(static_cast<LPCSTR>(strTitle));
        pFrame->MDIActivate(pTable);
        const HWND hGrid = pTable->GetGrid().GetSafeHwnd();
        ::SetFocus(hGrid);
        ASSERT_EQ(hGrid, ::GetFocus());
        EXPECT_TRUE(CtrlSSaves(run, strWorkspace));
        EXPECT_EQ(hGrid, ::GetFocus()) << "the grid keeps the focus";
    }

    pFrame->SendMessage(WM_COMMAND, ID_APP_OPTION_CHAIN);
    PumpFor(100);
    auto* pForm = dynamic_cast<CFormMDIWnd*>(pFrame->MDIGetActive());
    ASSERT_NE(nullptr, pForm);
    ASSERT_NE(nullptr, pForm->GetView());
    const HWND hFormGrid = ::GetDlgItem(pForm->GetView()->m_hWnd, 6712);
    ASSERT_NE(nullptr, hFormGrid);
    ::SetFocus(hFormGrid);
    ASSERT_EQ(hFormGrid, ::GetFocus());
    EXPECT_TRUE(CtrlSSaves(run, strWorkspace)) << "from the option chain's grid";

    // A field that takes the key keeps it: Ctrl+C copies the field's text, not the form.
    const HWND hUnderlying = ::GetDlgItem(pForm->GetView()->m_hWnd, 6707);
    ASSERT_NE(nullptr, hUnderlying);
    ::SetFocus(hUnderlying);
    ::SetWindowTextA(hUnderlying, "ZAIN");
    ::SendMessageA(hUnderlying, EM_SETSEL, 0, -1);
    EXPECT_TRUE(run.TypeCtrl('C', [] { return ClipboardText() == "ZAIN"; })) << ClipboardText();
}

namespace {
// The titles of the table windows on screen, in order of their names.
std::vector<std::string> OpenTableTitles(CZORVAT32App& app)
{
    std::vector<std::string> titles;
    for (HWND hChild = ::GetWindow(app.GetMainFrame()->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (auto* pTable = dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(hChild)); pTable && pTable->IsWindowVisible()) {
            CString strTitle;
            pTable->GetWindowText(strTitle);
            titles.push_back(static_cast<LPCSTR>(strTitle));
        }
    std::sort(titles.begin(), titles.end());
    return titles;
}
}  // namespace

// The demo's own server data: the trader the README names has both markets' quotations. File >
// Connect ends the session and builds the tables again, and the login that follows brings back
// the user's windows. The server goes away: the market-state panes stop telling states nobody
// sends, the link's timed tries fail quietly until the server is back on its port, and the
// login after the one that succeeds brings the windows back again.
TEST(DemoSession, TradersWindowsComeBackAfterFileConnectAndALostServer)
{
    CTestServer demoServer;
    ASSERT_TRUE(demoServer.Start());
    CTerminalRun run;
    run.WriteLinkSettings(demoServer.Port());
    std::ofstream(run.Folder() + "/" + AppText(false, IDS_LINK_SETTINGS_FILE), std::ios::app) << "Reconnect Time=1\n";
    run.QueueLogin("trader", "secret");
    ASSERT_TRUE(run.Start());
    CZORVAT32App& app = run.App();
    EXPECT_FALSE(Enabled(app, ID_APP_US_QUOTES)) << "nobody is logged in yet";
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    for (UINT nId : {ID_APP_US_QUOTES, ID_APP_US_TIME_SALES})
        EXPECT_TRUE(Enabled(app, nId)) << nId;
    const HWND hFrame = app.GetMainFrame()->m_hWnd;
    for (UINT nId : {ID_APP_INFO_BUTTON, ID_APP_US_QUOTES, ID_APP_KSE_QUOTES, ID_APP_KSE_INDICES})
        ::SendMessageA(hFrame, WM_COMMAND, nId, 0);
    const std::vector<std::string> windows = OpenTableTitles(app);
    ASSERT_EQ(4u, windows.size()) << "the information window and the three";
    CNorvStatusBar& bar = static_cast<CMainFrame*>(app.GetMainFrame())->GetStatusBar();
    auto panes = [&] { return std::string(bar.GetPaneText(4)) + "|" + std::string(bar.GetPaneText(5)); };
    EXPECT_TRUE(PumpUntil([&] { return panes().find("Unknown") == std::string::npos; }, 3000)) << panes();

    run.QueueLogin("trader", "secret");
    ::SendMessageA(hFrame, WM_COMMAND, ID_APP_CONNECT, 0);
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    EXPECT_EQ(windows, OpenTableTitles(app)) << "connected again while connected";

    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
    demoServer.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !app.IsConnected(); }));
    EXPECT_TRUE(PumpUntil([&] { return panes() == "US: Unknown  KSE: Unknown |US: Unknown  KSE: Unknown "; }, 3000))
        << panes();
    EXPECT_EQ(0, TbPendingTestAnswers()) << "the loss was told in a message box";
    const HWND hLink = app.GetComm()->m_hWnd;
    ASSERT_TRUE(TbTimerExists(hLink, LINK_TIMER_RECONNECT, nullptr)) << "the link tries again by itself";
    // A try while the server is away says so in the information window, opens no dialog, and
    // leaves the next try to come; the user's own connect offers the link's settings.
    run.QueueDialog(IDC_COMM_SERVER, {});
    ::SendMessageA(hLink, WM_TIMER, LINK_TIMER_RECONNECT, 0);
    EXPECT_TRUE(PumpUntil([&] { return run.InfoText().find("The server could not be reached.") != std::string::npos; }, 3000))
        << run.InfoText();
    PumpFor(200);
    EXPECT_EQ("", run.m_strMarkText) << "a settings dialog opened";
    EXPECT_TRUE(TbTimerExists(hLink, LINK_TIMER_RECONNECT, nullptr));
    TbSaveWindowPng(hFrame, ScreenshotPath("terminal_server_lost_en").c_str());
    ::SendMessageA(hFrame, WM_COMMAND, ID_APP_CONNECT, 0);
    EXPECT_TRUE(PumpUntil([&] { return run.m_strMarkText == "127.0.0.1"; }, 3000)) << run.m_strMarkText;

    CTestServer back;
    ASSERT_TRUE(back.Start({"--port", std::to_string(demoServer.Port())}));
    run.QueueLogin("trader", "secret");
    // Its minute gone by: the timer's message as the queue hands it over.
    ::SendMessageA(hLink, WM_TIMER, LINK_TIMER_RECONNECT, 0);
    ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    EXPECT_EQ(windows, OpenTableTitles(app)) << "connected again after the server came back";
    EXPECT_TRUE(PumpUntil([&] { return panes().find("Unknown") == std::string::npos; }, 3000)) << panes();
    TbSaveWindowPng(hFrame, ScreenshotPath("terminal_reconnected_en").c_str());
}

// What the start-up lines say of each market and what the state pane says agree with the
// server's clock: before the KSE opens, while it trades, and in the US session after it closed.
TEST(ClockedSession, StartupLinesAndStatePaneTellTheSameMarketStates)
{
    struct
    {
        const char* pszClock;
        const char* pszKseLine;
        const char* pszUsLine;
        const char* pszPane;
    } const cases[] = {
        {"2026-12-07 08:45:00", "Kuwait Stock Exchange: Pre-opening: orders are collected", "Atlantic Board: Market closed",
         "US: Closed  KSE: Pre-open "},
        {"2026-12-07 09:30:00", "Kuwait Stock Exchange: Continuous trading", "Atlantic Board: Market closed",
         "US: Closed  KSE: Open "},
        {"2026-12-07 18:00:00", "Kuwait Stock Exchange: Market closed", "Atlantic Board: Regular session",
         "US: Open  KSE: Closed "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszClock);
        CTestServer clocked;
        ASSERT_TRUE(clocked.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt", "--clock", c.pszClock}));
        CTerminalRun run;
        ASSERT_TRUE(run.StartLoggedIn(clocked.Port(), "demo01", "demo12"));
        CNorvStatusBar& bar = static_cast<CMainFrame*>(run.App().GetMainFrame())->GetStatusBar();
        EXPECT_TRUE(PumpUntil([&] { return std::string(bar.GetPaneText(5)) == c.pszPane; }, 3000)) << bar.GetPaneText(5);
        const std::string strInfo = run.InfoText();
        EXPECT_NE(std::string::npos, strInfo.find(std::string(c.pszKseLine) + "\n")) << strInfo;
        EXPECT_NE(std::string::npos, strInfo.find(std::string(c.pszUsLine) + "\n")) << strInfo;
    }
}
