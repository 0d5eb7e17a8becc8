// The main window's MDI children as a user meets them after logging in: the Window menu lists
// the open windows once each, new table windows open inside the client where they can be
// dragged, and a maximised window keeps its buttons on the frame's menu bar.
#include <gtest/gtest.h>
#include <filesystem>
#include <set>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "app/TableMDIWnd.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Display.h"
#include "tests/common/MenuShot.h"

namespace {

const std::vector<std::string> s_serverData = {"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"};

std::string ScreenshotPath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strFolder);
    return strFolder + "/" + strName + ".png";
}

// Entries of a window list: "&1 Title" .. "&9 Title".
int CountListEntries(const std::vector<std::string>& texts)
{
    int n = 0;
    for (const std::string& str : texts)
        n += str.size() > 2 && str[0] == '&' && str[1] >= '1' && str[1] <= '9' && str[2] == ' ';
    return n;
}

std::vector<std::string> ItemTexts(HMENU hMenu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        char szText[256] = {};
        GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        texts.push_back(szText);
    }
    return texts;
}

// The outer rectangles of the visible children, as the display draws them with their frames, in
// the client's coordinates.
std::vector<RECT> ChildFrames(HWND hClient)
{
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    std::vector<RECT> frames;
    for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h) || IsZoomed(h))
            continue;
        RECT rc;
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        frames.push_back({rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom});
    }
    return frames;
}

// The window menu as the user opens it from the menu bar: the frame prepares it, the display
// shows it under its title. Its items' texts.
std::vector<std::string> OpenWindowMenu(CNorvMainFrame* pFrame, const std::string& strShot, bool bArabic)
{
    HMENU hBar = ::GetMenu(pFrame->m_hWnd);
    const int nCount = GetMenuItemCount(hBar);
    HMENU hWindow = GetSubMenu(hBar, nCount - 2);
    RECT rc;
    GetWindowRect(pFrame->m_hWnd, &rc);
    EXPECT_GE(ShootMenuWhile(pFrame->m_hWnd, strShot, [&] {
                  TrackPopupMenu(hWindow, bArabic ? TPM_LAYOUTRTL : 0, rc.left + 300, rc.top + 30, 0, pFrame->m_hWnd, nullptr);
              }),
              1);
    return ItemTexts(hWindow);
}

struct MdiFixture : ::testing::Test
{
    CTestServer server;
    void SetUp() override { ASSERT_TRUE(server.Start(s_serverData)); }
};

}  // namespace

TEST_F(MdiFixture, WindowMenuListsEachOpenWindowOnceAndNewWindowsCascadeInsideTheClient)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        const std::string strLanguage = bArabic ? "_ar" : "_en";
        CTerminalRun run(bArabic);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        PumpFor(300);
        CZORVAT32App& app = run.App();
        CNorvMainFrame* pFrame = app.GetMainFrame();
        const HWND hClient = pFrame->m_hWndMDIClient;

        // Right after login: the one open window, once, however often the menu opens.
        std::vector<std::string> texts;
        for (int n = 0; n < 3; ++n)
            texts = OpenWindowMenu(pFrame, ScreenshotPath("mdi_window_menu_login" + strLanguage), bArabic);
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ("", texts[texts.size() - 2]) << "the separator before the list";
        EXPECT_EQ("&1 ", texts.back().substr(0, 3));
        EXPECT_EQ(1, CountListEntries(texts));
        const size_t nFixed = texts.size() - 2;

        // Six table windows from the menus: each inside the client, title bar included, the
        // later ones down the cascade.
        for (UINT nId : {ID_APP_KSE_QUOTES, ID_APP_KSE_STOCK_LIST, ID_APP_KSE_INDICES, ID_APP_KSE_TIME_SALES,
                         ID_APP_KSE_ORDER_BOOK, ID_APP_US_QUOTES})
            pFrame->SendMessage(WM_COMMAND, nId);
        PumpFor(200);
        RECT rcClient;
        GetClientRect(hClient, &rcClient);
        const std::vector<RECT> frames = ChildFrames(hClient);
        ASSERT_EQ(7u, frames.size());
        std::set<std::pair<LONG, LONG>> corners;
        for (const RECT& rc : frames) {
            EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.left < rcClient.right - 40 && rc.top < rcClient.bottom - 40)
                << rc.left << "," << rc.top;
            corners.insert({rc.left, rc.top});
        }
        EXPECT_GE(corners.size(), 6u) << "each new window a step down the cascade";
        TbSaveScreenPng(pFrame->m_hWnd, ScreenshotPath("mdi_windows" + strLanguage).c_str());

        // Seven windows: seven entries, numbered once each, the active one checked.
        texts = OpenWindowMenu(pFrame, ScreenshotPath("mdi_window_menu" + strLanguage), bArabic);
        ASSERT_EQ(nFixed + 1 + 7, texts.size());
        for (size_t i = 0; i < 7; ++i)
            EXPECT_EQ("&" + std::to_string(i + 1) + " ", texts[nFixed + 1 + i].substr(0, 3));

        // A click on an entry brings its window to the front.
        HMENU hWindow = GetSubMenu(::GetMenu(pFrame->m_hWnd), GetMenuItemCount(::GetMenu(pFrame->m_hWnd)) - 2);
        for (int i : {1, 5}) {
            const UINT nId = GetMenuItemID(hWindow, static_cast<int>(nFixed) + 1 + i);
            pFrame->SendMessage(WM_COMMAND, nId);
            CMDIChildWnd* pActive = pFrame->MDIGetActive();
            ASSERT_NE(nullptr, pActive);
            EXPECT_EQ(static_cast<int>(nId), GetDlgCtrlID(pActive->m_hWnd)) << texts[nFixed + 1 + i];
        }

        // Maximised: the window's system menu leads the frame's menu bar and its buttons end it;
        // the bar's close button closes the window, which gives its place back first.
        CMDIChildWnd* pActive = pFrame->MDIGetActive();
        ASSERT_NE(nullptr, pActive);
        const HWND hMaximised = pActive->m_hWnd;
        pFrame->MDIMaximize(pActive);
        PumpFor(100);
        HMENU hBar = ::GetMenu(pFrame->m_hWnd);
        EXPECT_EQ(GetSystemMenu(hMaximised, FALSE), GetSubMenu(hBar, 0));
        const int nBar = GetMenuItemCount(hBar);
        ASSERT_GE(nBar, 4);
        EXPECT_EQ((std::vector<UINT>{SC_MINIMIZE, SC_RESTORE, SC_CLOSE}),
                  (std::vector<UINT>{GetMenuItemID(hBar, nBar - 3), GetMenuItemID(hBar, nBar - 2), GetMenuItemID(hBar, nBar - 1)}));
        TbSaveScreenPng(pFrame->m_hWnd, ScreenshotPath("mdi_maximised" + strLanguage).c_str());
        TbDisplayMenuDone(pFrame->m_hWnd, SC_CLOSE);
        PumpFor(100);
        EXPECT_FALSE(IsWindow(hMaximised) && IsWindowVisible(hMaximised)) << "closed from the bar";
        EXPECT_EQ(nBar - 4, GetMenuItemCount(::GetMenu(pFrame->m_hWnd))) << "the controls left the bar";
        run.Close();
    }
}
