// The main window's MDI children as a user meets them after logging in: the Window menu lists
// the open windows once each, new table windows open inside the client down its cascade, a
// maximised window keeps its buttons on the frame's menu bar while it stays maximised, and Close
// all windows closes them whichever is active. The active window is the one on top, on the
// display too, from a saved workspace on.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/MainFrame.h"
#include "WholeTerminalMakers.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Display.h"
#include "tests/common/MenuShot.h"

namespace {

std::string ScreenshotPath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strFolder);
    return strFolder + "/" + strName + ".png";
}

// The window menu as the user opens it from the menu bar, pictured while it shows: its texts.
std::vector<std::string> OpenWindowMenu(CNorvMainFrame* pFrame, HMENU hWindow, const std::string& strShot, bool bArabic)
{
    RECT rc;
    GetWindowRect(pFrame->m_hWnd, &rc);
    EXPECT_GE(ShootMenuWhile(pFrame->m_hWnd, strShot, [&] {
                  TrackPopupMenu(hWindow, bArabic ? TPM_LAYOUTRTL : 0, rc.left + 300, rc.top + 30, 0, pFrame->m_hWnd, nullptr);
              }),
              1);
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(hWindow); ++i) {
        char szText[256] = {};
        GetMenuStringA(hWindow, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        texts.push_back(szText);
    }
    return texts;
}

// The active window is the topmost open one, and the display shows it on top and as active.
::testing::AssertionResult ActiveOnTop(CMDIFrameWnd* pFrame)
{
    const HWND hClient = pFrame->m_hWndMDIClient;
    HWND hTop = nullptr, hShownTop = nullptr, hShownActive = nullptr;
    for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr && hTop == nullptr; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h) && !IsIconic(h))
            hTop = h;
    TbQtMdiShown(hClient, &hShownTop, &hShownActive);
    const HWND hActive = pFrame->MDIGetActive() != nullptr ? pFrame->MDIGetActive()->m_hWnd : nullptr;
    auto title = [](HWND h) {
        char sz[128] = "(none)";
        if (h != nullptr)
            GetWindowTextA(h, sz, sizeof sz);
        return std::string(sz);
    };
    if (hTop != nullptr && hActive == hTop && hShownTop == hTop && hShownActive == hTop)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "active " << title(hActive) << ", on top " << title(hTop) << ", shown on top "
                                         << title(hShownTop) << ", shown active " << title(hShownActive);
}

}  // namespace

// The titles of the windows beneath hWnd whose captions it lies over, frames included.
std::string CaptionsCoveredBy(HWND hWnd)
{
    RECT rcFrame{}, rc, rcCommon;
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    GetWindowRect(hWnd, &rc);
    const RECT rcOver = {rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom};
    std::string strCovered;
    for (HWND h = GetWindow(hWnd, GW_HWNDNEXT); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        RECT rc;
        GetWindowRect(h, &rc);
        const RECT rcCaption = {rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.top};
        char szTitle[128] = "";
        GetWindowTextA(h, szTitle, sizeof szTitle);
        if (IsWindowVisible(h) && !IsIconic(h) && IntersectRect(&rcCommon, &rcCaption, &rcOver))
            strCovered += std::string(szTitle) + "|";
    }
    return strCovered;
}

// Six windows from the saved workspace: the active one is on top after the login, a choice from
// the Window menu, a notice, Cascade and Tile. With two forms more and one maximised (filling the
// client) and a table minimised, Close all windows closes every one; the information window it
// leaves in the icon row comes back with the next refusal, which shows whole, as do those that follow.
// Raised by the login and by a notice, the information window covers no window's caption.
TEST(MdiWindows, TheActiveWindowIsOnTopAndCloseAllClosesEveryWindow)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"}));
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        std::string strFolder;
        {
            CTerminalRun first(bArabic);
            strFolder = first.Folder();
            ASSERT_TRUE(first.StartLoggedIn(server.Port(), "demo01", "demo12"));
            CNorvMainFrame* pFrame = first.App().GetMainFrame();
            for (UINT nId : {ID_APP_INFO_BUTTON, ID_APP_KSE_QUOTES, ID_APP_KSE_STOCK_LIST, ID_APP_KSE_TIME_SALES,
                             ID_APP_KSE_ORDER_BOOK, ID_APP_US_QUOTES})
                pFrame->SendMessage(WM_COMMAND, nId);
            pFrame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ);
            // The information window left over the other windows' captions.
            RECT rcClient;
            GetClientRect(pFrame->m_hWndMDIClient, &rcClient);
            first.App().GetInfoTable()->GetDataTable()->GetMainWindow()->MoveWindow(
                40, 40, rcClient.right - 80, rcClient.bottom / 2);
            PumpFor(100);
            first.Close();
        }
        CTerminalRun run(bArabic, strFolder);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        PumpFor(300);
        CNorvMainFrame* pFrame = run.App().GetMainFrame();
        const HWND hClient = pFrame->m_hWndMDIClient;
        EXPECT_TRUE(ActiveOnTop(pFrame)) << "after the login";
        const HWND hInfoWindow = run.App().GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
        EXPECT_EQ("", CaptionsCoveredBy(hInfoWindow)) << "the information window raised at the login";
        HWND hBottom = nullptr;
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
            hBottom = IsWindowVisible(h) ? h : hBottom;
        pFrame->SendMessage(WM_COMMAND, GetDlgCtrlID(hBottom));
        PumpFor(50);
        EXPECT_EQ(hBottom, pFrame->MDIGetActive()->m_hWnd);
        EXPECT_TRUE(ActiveOnTop(pFrame)) << "chosen from the Window menu";
        // A notice brings the information window up beneath the active window, which stays.
        run.App().AddInfoText("Market closed");
        run.App().BringInfoWindowToTop(1);
        EXPECT_TRUE(ActiveOnTop(pFrame)) << "a notice";
        if (hInfoWindow != hBottom) {
            EXPECT_EQ("", CaptionsCoveredBy(hInfoWindow)) << "a notice";
        }
        EXPECT_EQ(hBottom, pFrame->MDIGetActive()->m_hWnd);
        for (UINT nId : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ}) {
            pFrame->SendMessage(WM_COMMAND, nId);
            PumpFor(50);
            EXPECT_TRUE(ActiveOnTop(pFrame)) << nId;
        }

        const HWND hInfo = run.App().GetInfoTable()->GetDataTable()->GetMainWindow()->m_hWnd;
        for (UINT nId : {ID_APP_TICKER_LOOKUP, ID_APP_OPTION_CHAIN})
            pFrame->SendMessage(WM_COMMAND, nId);
        // A table minimised by its title bar's button, as the user does: Close all closes it too.
        const HWND hMinimised = run.App().FindTable(IDS_TABLE_KSE_QUOTATIONS)->GetMainWindow()->m_hWnd;
        EXPECT_TRUE(TbQtClickTitleButton(hMinimised, SC_MINIMIZE));
        EXPECT_TRUE(IsIconic(hMinimised));
        pFrame->MDIMaximize(pFrame->MDIGetActive());
        PumpFor(100);
        RECT rcMax, rcShown;
        GetWindowRect(pFrame->MDIGetActive()->m_hWnd, &rcMax);
        ASSERT_TRUE(TbQtGetSurfaceGeometry(hClient, &rcShown));
        EXPECT_EQ(rcShown.right - rcShown.left, rcMax.right - rcMax.left) << "the maximised window fills the client";
        EXPECT_EQ(rcShown.bottom - rcShown.top, rcMax.bottom - rcMax.top);
        pFrame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_TABLES);
        PumpFor(100);
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
            EXPECT_FALSE(IsWindowVisible(h) && h != hInfo) << GetDlgCtrlID(h);
        EXPECT_TRUE(IsIconic(hInfo));
        RECT rcIcon, rcArea;
        GetWindowRect(hInfo, &rcIcon);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rcIcon), 2);
        GetClientRect(hClient, &rcArea);
        EXPECT_EQ(bArabic ? rcArea.right : 0, bArabic ? rcIcon.right : rcIcon.left) << "the icon row starts where reading does";

        // Back from the icon row, the window shows each refusal that raises it whole, also after
        // the trader chose an older line.
        CTableWindow& grid = run.App().GetInfoTable()->GetDataTable()->GetMainWindow()->GetGrid();
        for (int n = 0; n < 6; ++n) {
            if (n == 3)
                grid.SetCurrentCell(0, 1);
            run.App().AddInfoText("Order refused");
            run.App().BringInfoWindowToTop(2);
            PumpFor(50);
            EXPECT_EQ(grid.GetRowCount() - 1, grid.GetLastFullyShownRow()) << "refusal " << n;
        }
        EXPECT_FALSE(IsIconic(hInfo));
        EXPECT_TRUE(ActiveOnTop(pFrame)) << "the refusal is read";
        EXPECT_EQ(hInfo, pFrame->MDIGetActive()->m_hWnd);
        run.Close();
    }
}

TEST(MdiWindows, WindowMenuListsEachOpenWindowOnceAndNewWindowsCascadeInsideTheClient)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"}));
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        const std::string strLanguage = bArabic ? "_ar" : "_en";
        CTerminalRun run(bArabic);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        PumpFor(300);
        CNorvMainFrame* pFrame = run.App().GetMainFrame();
        // A first login opens no window: the user opens the information window from its button.
        pFrame->SendMessage(WM_COMMAND, ID_APP_INFO_BUTTON);
        PumpFor(100);
        const HWND hClient = pFrame->m_hWndMDIClient;
        const HMENU hWindow = GetSubMenu(::GetMenu(pFrame->m_hWnd), GetMenuItemCount(::GetMenu(pFrame->m_hWnd)) - 2);

        // Right after login: the one open window after a separator, the same however often the
        // menu opens.
        const std::string strLoginShot = ScreenshotPath("mdi_window_menu_login" + strLanguage);
        const std::vector<std::string> texts = OpenWindowMenu(pFrame, hWindow, strLoginShot, bArabic);
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ("", texts[texts.size() - 2]);
        EXPECT_EQ("&1 ", texts.back().substr(0, 3));
        for (int n = 0; n < 2; ++n)
            EXPECT_EQ(texts, OpenWindowMenu(pFrame, hWindow, strLoginShot, bArabic));
        const size_t nFirst = texts.size() - 1;

        // Six table windows from the menus: each inside the client, title bar included, each a
        // step down the cascade.
        for (UINT nId : {ID_APP_KSE_QUOTES, ID_APP_KSE_STOCK_LIST, ID_APP_KSE_INDICES, ID_APP_KSE_TIME_SALES,
                         ID_APP_KSE_ORDER_BOOK, ID_APP_US_QUOTES})
            pFrame->SendMessage(WM_COMMAND, nId);
        PumpFor(200);
        RECT rcClient, rcFrame = {};
        GetClientRect(hClient, &rcClient);
        TbGetDisplay()->GetMdiChildFrame(&rcFrame);
        std::vector<std::pair<LONG, LONG>> corners;
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            if (!IsWindowVisible(h))
                continue;
            RECT rc;
            GetWindowRect(h, &rc);
            MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_TRUE(rc.left - rcFrame.left >= 0 && rc.top - rcFrame.top >= 0 && rc.left < rcClient.right - 40 &&
                        rc.top < rcClient.bottom - 40) << rc.left << "," << rc.top;
            corners.push_back({rc.left, rc.top});
        }
        ASSERT_EQ(7u, corners.size());
        EXPECT_GE(std::set(corners.begin(), corners.end()).size(), 6u) << "each new window a step down the cascade";
        TbSaveScreenPng(pFrame->m_hWnd, ScreenshotPath("mdi_windows" + strLanguage).c_str());

        // Seven windows: seven entries numbered once each; a click on one brings its window to
        // the front.
        const std::vector<std::string> seven = OpenWindowMenu(pFrame, hWindow, ScreenshotPath("mdi_window_menu" + strLanguage), bArabic);
        ASSERT_EQ(nFirst + 7, seven.size());
        for (size_t i = 0; i < 7; ++i)
            EXPECT_EQ("&" + std::to_string(i + 1) + " ", seven[nFirst + i].substr(0, 3));
        for (int i : {1, 5}) {
            const UINT nId = GetMenuItemID(hWindow, static_cast<int>(nFirst) + i);
            pFrame->SendMessage(WM_COMMAND, nId);
            ASSERT_NE(nullptr, pFrame->MDIGetActive());
            EXPECT_EQ(static_cast<int>(nId), GetDlgCtrlID(pFrame->MDIGetActive()->m_hWnd)) << seven[nFirst + i];
        }
        // Ten windows: the one opened last is numbered, also once another is activated.
        const HWND hWorking = pFrame->MDIGetActive()->m_hWnd;
        for (UINT nId : {ID_APP_GAINERS, ID_APP_LOSERS, ID_APP_MOST_ACTIVE})
            pFrame->SendMessage(WM_COMMAND, nId);
        const UINT nLast = static_cast<UINT>(GetDlgCtrlID(pFrame->MDIGetActive()->m_hWnd));
        SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWorking), 0);
        SendMessageA(hClient, WM_MDIREFRESHMENU, 0, 0);
        EXPECT_EQ(nLast, GetMenuItemID(hWindow, static_cast<int>(nFirst) + 8));

        // Maximised: the window's system menu and its three buttons join the frame's menu bar;
        // the bar's close button closes the window and they leave the bar.
        const HWND hMaximised = pFrame->MDIGetActive()->m_hWnd;
        const int nBar = GetMenuItemCount(::GetMenu(pFrame->m_hWnd));
        pFrame->MDIMaximize(pFrame->MDIGetActive());
        PumpFor(100);
        EXPECT_EQ(nBar + 4, GetMenuItemCount(::GetMenu(pFrame->m_hWnd)));
        TbSaveScreenPng(pFrame->m_hWnd, ScreenshotPath("mdi_maximised" + strLanguage).c_str());
        TbDisplayMenuDone(pFrame->m_hWnd, SC_CLOSE);
        PumpFor(100);
        EXPECT_FALSE(IsWindow(hMaximised) && IsWindowVisible(hMaximised));
        EXPECT_EQ(nBar, GetMenuItemCount(::GetMenu(pFrame->m_hWnd)));

        // A form opened over a maximised table: the buttons stand on the bar exactly while a
        // window is maximised.
        pFrame->MDIMaximize(pFrame->MDIGetActive());
        pFrame->SendMessage(WM_COMMAND, ID_APP_TICKER_LOOKUP);
        PumpFor(100);
        BOOL bAnyMaximised = FALSE;
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
            bAnyMaximised |= IsWindowVisible(h) && IsZoomed(h);
        EXPECT_EQ(nBar + (bAnyMaximised ? 4 : 0), GetMenuItemCount(::GetMenu(pFrame->m_hWnd)));

        // The information window's close box sends it to the icon row and the next window takes
        // over; Close all windows with it active leaves it an icon and closes every other window.
        pFrame->SendMessage(WM_COMMAND, ID_APP_INFO_BUTTON);
        const HWND hInfo = pFrame->MDIGetActive()->m_hWnd;
        TbDisplaySysCommand(hInfo, SC_CLOSE);
        PumpFor(100);
        RECT rcIcon;
        GetWindowRect(hInfo, &rcIcon);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rcIcon), 2);
        EXPECT_TRUE(IsIconic(hInfo) && rcIcon.bottom == rcClient.bottom);
        EXPECT_NE(hInfo, pFrame->MDIGetActive()->m_hWnd);
        pFrame->SendMessage(WM_COMMAND, ID_APP_INFO_BUTTON);
        ASSERT_EQ(hInfo, pFrame->MDIGetActive()->m_hWnd);
        pFrame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_TABLES);
        PumpFor(100);
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT))
            EXPECT_FALSE(IsWindowVisible(h) && h != hInfo) << GetDlgCtrlID(h);
        EXPECT_TRUE(IsIconic(hInfo));

        // A sorted quotations window is titled by what it lists (the command's short name), also
        // once the next one has opened.
        pFrame->SendMessage(WM_COMMAND, ID_APP_KSE_SORT_FIRST);
        const HWND hGainers = pFrame->MDIGetActive()->m_hWnd;
        pFrame->SendMessage(WM_COMMAND, ID_APP_KSE_SORT_FIRST + 1);
        CString strPrompt;
        strPrompt.LoadString(ID_APP_KSE_SORT_FIRST);
        char szTitle[128] = "";
        GetWindowTextA(hGainers, szTitle, sizeof szTitle);
        EXPECT_EQ(std::string(strPrompt.Mid(strPrompt.ReverseFind('\n') + 1)), szTitle);
        run.Close();
    }
}

namespace {

// A window left in the state a show command gives it, another window over it where that state
// leaves room for one: minimised as the user minimises, by the title bar's button; maximised by
// the client; otherwise shown with the command.
void LeaveInState(CMDIFrameWnd* pFrame, HWND hWnd, HWND hOther, int nCmdShow)
{
    if (IsZoomed(hWnd))
        SendMessageA(pFrame->m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hWnd), 0);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    SendMessageA(pFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0);
    PumpFor(0);
    if (nCmdShow == SW_SHOWMAXIMIZED) {
        SendMessageA(pFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hWnd), 0);
        PumpFor(0);
        return;
    }
    if (nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINNOACTIVE)
        EXPECT_TRUE(TbQtClickTitleButton(hWnd, SC_MINIMIZE));
    else
        ShowWindow(hWnd, nCmdShow);
    SendMessageA(pFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hOther), 0);
    PumpFor(0);
}

// The command brings its window up whole, active and in front from every state a show command
// leaves it in; one maximised stays maximised. It is left restored.
void ExpectCommandShowsItWhole(CMDIFrameWnd* pFrame, CMDIChildWnd* pWindow, HWND hOther, UINT nCommand)
{
    for (int nCmdShow = SW_HIDE; nCmdShow <= SW_MAX; ++nCmdShow) {
        SCOPED_TRACE("command " + std::to_string(nCommand) + ", left by show command " + std::to_string(nCmdShow));
        LeaveInState(pFrame, pWindow->m_hWnd, hOther, nCmdShow);
        pFrame->SendMessage(WM_COMMAND, nCommand);
        PumpFor(0);
        ASSERT_TRUE(IsWindow(pWindow->m_hWnd));
        EXPECT_TRUE(pWindow->IsWindowVisible() && !pWindow->IsIconic() && TbQtMdiChildShownWhole(pWindow->m_hWnd));
        EXPECT_EQ(pWindow, pFrame->MDIGetActive());
        EXPECT_EQ(nCmdShow == SW_SHOWMAXIMIZED, pWindow->IsZoomed() != FALSE);
        EXPECT_TRUE(ActiveOnTop(pFrame));
    }
    if (pWindow->IsZoomed())
        pFrame->MDIRestore(pWindow);
}

// A table window a command opens, never placed before: as wide as its columns and its caption
// need, up to the client's width, and inside the client.
void ExpectWideEnough(CMDIFrameWnd* pFrame, CTableMDIWnd* pWindow)
{
    RECT rcFrame{}, rc, rcClient, rcGrid;
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    GetWindowRect(pWindow->m_hWnd, &rc);
    MapWindowPoints(nullptr, pFrame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
    GetClientRect(pFrame->m_hWndMDIClient, &rcClient);
    const RECT rcOuter = {rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom};
    EXPECT_TRUE(rcOuter.left >= 0 && rcOuter.top >= 0 && rcOuter.right <= rcClient.right && rcOuter.bottom <= rcClient.bottom);
    const bool bAcross = rcOuter.right - rcOuter.left >= rcClient.right - 1;
    char szTitle[256] = "";
    GetWindowTextA(pWindow->m_hWnd, szTitle, sizeof szTitle);
    EXPECT_TRUE(bAcross || rcOuter.right - rcOuter.left >= TbGetDisplay()->GetMdiTitleWidth(szTitle)) << "caption cut";
    CTableWindow& grid = pWindow->GetGrid();
    int nColumns = grid.GetRowHeight();
    for (int i = 0; i < grid.GetDisplayColumnCount(); ++i)
        nColumns += grid.GetColumnWidth(i);
    GetClientRect(grid.m_hWnd, &rcGrid);
    EXPECT_TRUE(bAcross || nColumns <= rcGrid.right) << "columns cut: " << nColumns << " in " << rcGrid.right;
}

}  // namespace

// Every window a table or form command or a line brings up shows whole, caption and rows, whatever state
// each show command left it in: minimised (from the title bar, as the user does), maximised,
// hidden (as Close all leaves a table), under another window. The command's window comes up
// active in front and a maximised one stays maximised, a table's as wide as its columns and
// caption need; the line's window comes up beneath the active one with its newest line in view.
TEST(MdiWindows, AWindowACommandOrALineBringsUpShowsWholeWhateverStateItWasLeftIn)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"}));
    CWholeTerminalMakers makers;
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CTerminalRun run(bArabic);
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        CNorvMainFrame* pFrame = run.App().GetMainFrame();
        pFrame->SendMessage(WM_COMMAND, ID_APP_INFO_BUTTON);
        pFrame->SendMessage(WM_COMMAND, ID_APP_TICKER_LOOKUP);
        PumpFor(100);
        const HWND hOther = pFrame->MDIGetActive()->m_hWnd;
        CTableMDIWnd* pInfo = run.App().GetInfoTable()->GetDataTable()->GetMainWindow();
        CTableWindow& grid = pInfo->GetGrid();
        for (int nCmdShow = SW_HIDE; nCmdShow <= SW_MAX; ++nCmdShow) {
            SCOPED_TRACE("left by show command " + std::to_string(nCmdShow));
            LeaveInState(pFrame, pInfo->m_hWnd, hOther, nCmdShow);
            grid.SetCurrentCell(0, 1);
            run.App().AddInfoText("Order refused");
            run.App().BringInfoWindowToTop(2);
            PumpFor(0);
            EXPECT_TRUE(pInfo->IsWindowVisible() && !pInfo->IsIconic() && TbQtMdiChildShownWhole(pInfo->m_hWnd));
            EXPECT_EQ(grid.GetRowCount() - 1, grid.GetLastFullyShownRow());
            EXPECT_EQ(nCmdShow == SW_SHOWMAXIMIZED, pInfo->IsZoomed() != FALSE);
            EXPECT_TRUE(ActiveOnTop(pFrame));
            if (nCmdShow == SW_HIDE || nCmdShow == SW_SHOWMINIMIZED)
                TbSaveScreenPng(pFrame->m_hWnd, ScreenshotPath(std::string("mdi_line_from_") +
                                                               (nCmdShow == SW_HIDE ? "hidden" : "minimised") +
                                                               (bArabic ? "_ar" : "_en")).c_str());
        }
        if (pInfo->IsZoomed())
            pFrame->MDIRestore(pInfo);

        int nTables = 0;
        for (const auto& [nCommand, nNameId] : CZORVAT32App::GetTableCommands()) {
            BOOL bEnabled = FALSE;
            if (!run.App().GetCommandState(nCommand, &bEnabled, nullptr) || !bEnabled)
                continue;
            pFrame->SendMessage(WM_COMMAND, nCommand);
            IDataTable* pTable = run.App().FindTable(nNameId);
            CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
            if (pWindow == nullptr || !pWindow->IsWindowVisible())
                continue;       // its window waits for the server's first reply
            ++nTables;
            char szTitle[256] = "";
            ::GetWindowTextA(pWindow->m_hWnd, szTitle, sizeof szTitle);
            SCOPED_TRACE(szTitle);
            ExpectWideEnough(pFrame, pWindow);
            ExpectCommandShowsItWhole(pFrame, pWindow, hOther, nCommand);
            pWindow->SendMessage(WM_CLOSE);
        }
        EXPECT_GT(nTables, 20);

        // The forms a command opens, and the order ticket (its command 33049, F4).
        std::vector<UINT> forms = CZORVAT32App::GetFormCommands();
        forms.push_back(33049);
        int nForms = 0;
        for (UINT nCommand : forms) {
            BOOL bEnabled = FALSE;
            if (!run.App().GetCommandState(nCommand, &bEnabled, nullptr) || !bEnabled)
                continue;
            pFrame->SendMessage(WM_COMMAND, nCommand);
            PumpFor(0);
            CMDIChildWnd* pForm = pFrame->MDIGetActive();
            if (pForm == nullptr || pForm->m_hWnd == hOther || dynamic_cast<CFormMDIWnd*>(pForm) == nullptr)
                continue;
            char szTitle[128] = "";
            ::GetWindowTextA(pForm->m_hWnd, szTitle, sizeof szTitle);
            SCOPED_TRACE(szTitle);
            ++nForms;
            ExpectCommandShowsItWhole(pFrame, pForm, hOther, nCommand);
        }
        EXPECT_GT(nForms, 2);
        run.Close();
    }
}

// The order ticket moved by the trader keeps its place through Close all windows, whether it was
// open, minimised or maximised then: F4 opens it where it stood, and Exit writes that place into
// the workspace.
TEST(MdiWindows, TheTicketKeepsItsPlaceThroughCloseAll)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"}));
    CWholeTerminalMakers makers;
    CTerminalRun run;
    run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
    ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
    CNorvMainFrame* pFrame = run.App().GetMainFrame();
    const UINT ID_KSE_TICKET = 33049;       // F4
    pFrame->SendMessage(WM_COMMAND, ID_KSE_TICKET);
    PumpFor(50);
    CMDIChildWnd* pTicket = pFrame->MDIGetActive();
    ASSERT_NE(nullptr, pTicket);
    pTicket->SetWindowPos(nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto corner = [&] {
        CMDIChildWnd* pShown = pFrame->MDIGetActive();
        RECT rc = {};
        if (pShown != nullptr)
            GetWindowRect(pShown->m_hWnd, &rc);
        MapWindowPoints(nullptr, pFrame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rc), 2);
        return std::to_string(rc.left) + "," + std::to_string(rc.top);
    };
    ASSERT_EQ("150,90", corner());
    for (UINT nLeft : {0u, static_cast<UINT>(SC_MINIMIZE), static_cast<UINT>(SC_MAXIMIZE)}) {
        SCOPED_TRACE("left by " + std::to_string(nLeft));
        if (nLeft == SC_MINIMIZE)
            EXPECT_TRUE(TbQtClickTitleButton(pFrame->MDIGetActive()->m_hWnd, SC_MINIMIZE));
        else if (nLeft == SC_MAXIMIZE)
            pFrame->MDIMaximize(pFrame->MDIGetActive());
        pFrame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_TABLES);
        PumpFor(50);
        pFrame->SendMessage(WM_COMMAND, ID_KSE_TICKET);
        PumpFor(50);
        ASSERT_NE(nullptr, pFrame->MDIGetActive());
        EXPECT_FALSE(pFrame->MDIGetActive()->IsIconic() || pFrame->MDIGetActive()->IsZoomed());
        EXPECT_EQ("150,90", corner());
    }
    const std::string strWorkspace = static_cast<LPCSTR>(run.App().GetWorkspaceFile());
    run.Close();
    std::ifstream file(strWorkspace);
    const std::string strText((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t nSection = strText.find("[7310-0]");
    ASSERT_NE(std::string::npos, nSection) << strWorkspace;
    EXPECT_EQ(strText.find("WinPlace=", nSection), strText.find("WinPlace=0,1,-1,-1,-1,-1,150,90,", nSection)) << strText.substr(nSection, 80);
}
