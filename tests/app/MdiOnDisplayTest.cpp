// The buttons of a table window's and a form window's caption, and of their icons once
// minimised, clicked by the window system on a real display (Xvfb with a window manager), in
// English and in Arabic: each does what it shows, and the caption the window comes back with is
// drawn at once, title and buttons, not left a plain bar. Tiled among table windows, the order
// ticket stays whole.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/MainFrame.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/user/Display.h"
#include "tests/common/DisplayUnderTest.h"

namespace {
const UINT ID_ORDER_TICKET = 33049;

// A click of the window system's own at a point of the screen.
void ClickAt(const POINT& pt)
{
    RunOnDisplay({"xdotool", "mousemove", "--sync", std::to_string(pt.x), std::to_string(pt.y)});
    RunOnDisplay({"xdotool", "click", "1"});
    PumpFor(400);
}

::testing::AssertionResult ClickTitleButton(HWND hWnd, UINT uCommand)
{
    POINT pt;
    if (!TbQtTitleButtonOnScreen(hWnd, uCommand, &pt))
        return ::testing::AssertionFailure() << "no button " << std::hex << uCommand << " on its caption";
    ClickAt(pt);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult ClickBarButton(HWND hFrame, UINT uCommand)
{
    POINT pt;
    if (!TbQtMenuBarButtonOnScreen(hFrame, uCommand, &pt))
        return ::testing::AssertionFailure() << "no button " << std::hex << uCommand << " on the menu bar";
    ClickAt(pt);
    return ::testing::AssertionSuccess();
}

// The caption as the screen shows it (an icon: the whole icon) is drawn: along its middle the
// colour changes often, over the title's letters and the buttons; a plain bar changes at its ends.
::testing::AssertionResult CaptionDrawn(HWND hClient, HWND hWnd)
{
    CTbPixelBuffer image;
    if (!TbQtPicture(hClient, &image))
        return ::testing::AssertionFailure() << "no picture of the client";
    RECT rcFrame{}, rc;
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
    int y = (rc.top + rc.bottom) / 2, nLeft = rc.left, nRight = rc.right;
    if (!IsIconic(hWnd)) {
        y = rc.top - rcFrame.top / 2;
        nLeft -= rcFrame.left;
        nRight += rcFrame.right;
    }
    if (y < 0 || y >= image.Height())
        return ::testing::AssertionFailure() << "the caption is off the client";
    int nChanges = 0;
    const uint32_t* pRow = image.Row(y);
    for (int x = std::max(1, nLeft); x < std::min(nRight, image.Width()); ++x)
        nChanges += (pRow[x] & 0xFFFFFF) != (pRow[x - 1] & 0xFFFFFF);
    if (nChanges < 12)
        return ::testing::AssertionFailure() << "a plain bar: " << nChanges << " changes of colour along it";
    return ::testing::AssertionSuccess();
}

std::string FrameTitle(CMDIFrameWnd* pFrame)
{
    char sz[512] = "";
    GetWindowTextA(pFrame->m_hWnd, sz, sizeof sz);
    return sz;
}

// Every button of the window's caption and of its icon, each clicked once or more, the window's
// state and its caption checked after each; the window is closed by its icon's close button.
void ClickEveryButton(CMDIFrameWnd* pFrame, HWND hWnd)
{
    const HWND hClient = pFrame->m_hWndMDIClient;
    char szTitle[256] = "";
    GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    RECT rcNormal;
    GetWindowRect(hWnd, &rcNormal);
    auto normal = [&] {
        RECT rc;
        GetWindowRect(hWnd, &rc);
        return !IsIconic(hWnd) && !IsZoomed(hWnd) && TbQtMdiChildShownWhole(hWnd) && EqualRect(&rc, &rcNormal);
    };
    auto maximised = [&] {
        RECT rc, rcClient;
        GetWindowRect(hWnd, &rc);
        GetClientRect(hClient, &rcClient);
        POINT pt;
        return IsZoomed(hWnd) && TbQtMdiChildShownWhole(hWnd) && rc.right - rc.left == rcClient.right &&
               TbQtMenuBarButtonOnScreen(pFrame->m_hWnd, SC_RESTORE, &pt) &&
               FrameTitle(pFrame).find(std::string("[") + szTitle + "]") != std::string::npos;
    };
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_MINIMIZE));
    EXPECT_TRUE(IsIconic(hWnd)) << "the caption's minimise";
    EXPECT_TRUE(CaptionDrawn(hClient, hWnd)) << "the icon";
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_RESTORE));
    EXPECT_TRUE(normal()) << "the icon's restore";
    EXPECT_TRUE(CaptionDrawn(hClient, hWnd)) << "restored from the icon";
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_MINIMIZE));
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_MAXIMIZE));
    EXPECT_TRUE(maximised()) << "the icon's maximise: " << FrameTitle(pFrame);
    ASSERT_TRUE(ClickBarButton(pFrame->m_hWnd, SC_RESTORE));
    EXPECT_TRUE(normal()) << "the menu bar's restore";
    EXPECT_TRUE(CaptionDrawn(hClient, hWnd)) << "restored from maximised";
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_MAXIMIZE));
    EXPECT_TRUE(maximised()) << "the caption's maximise";
    ASSERT_TRUE(ClickBarButton(pFrame->m_hWnd, SC_MINIMIZE));
    EXPECT_TRUE(IsIconic(hWnd)) << "the menu bar's minimise";
    EXPECT_TRUE(CaptionDrawn(hClient, hWnd)) << "the icon of a maximised window";
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_MAXIMIZE));
    EXPECT_TRUE(maximised()) << "the icon's maximise, once more";
    ASSERT_TRUE(ClickBarButton(pFrame->m_hWnd, SC_RESTORE));
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_MINIMIZE));
    ASSERT_TRUE(ClickTitleButton(hWnd, SC_CLOSE));
    EXPECT_FALSE(IsWindow(hWnd) && IsWindowVisible(hWnd)) << "the icon's close";
}

// The order ticket among table windows, tiled either way and cascaded: its dialog whole inside
// its window (Submit and Close in view), the window inside the client.
void TileWithTheTicket(CMDIFrameWnd* pFrame, bool bArabic)
{
    for (UINT nCommand : {UINT(ID_APP_KSE_QUOTES), UINT(ID_APP_KSE_HOLDINGS), UINT(ID_APP_COMBINED_HOLDINGS),
                          UINT(ID_APP_US_QUOTES), ID_ORDER_TICKET})
        pFrame->SendMessage(WM_COMMAND, nCommand);
    PumpFor(500);
    auto* pTicket = dynamic_cast<CFormMDIWnd*>(pFrame->MDIGetActive());
    ASSERT_TRUE(pTicket != nullptr && pTicket->GetView() != nullptr);
    for (UINT nCommand : {ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT, ID_WINDOW_CASCADE}) {
        SCOPED_TRACE("arranged by " + std::to_string(nCommand));
        pFrame->SendMessage(WM_COMMAND, nCommand);
        PumpFor(400);
        CRect rcView, rcInside, rcWindow, rcArea;
        pTicket->GetView()->GetWindowRect(&rcView);
        pTicket->GetClientRect(&rcInside);
        pTicket->ClientToScreen(&rcInside);
        pTicket->GetWindowRect(&rcWindow);
        ::GetClientRect(pFrame->m_hWndMDIClient, &rcArea);
        ::ClientToScreen(pFrame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rcArea.left));
        ::ClientToScreen(pFrame->m_hWndMDIClient, reinterpret_cast<POINT*>(&rcArea.right));
        CRect rcCommon;
        rcCommon.IntersectRect(rcView, rcInside);
        EXPECT_EQ(rcView, rcCommon) << "the ticket's dialog is cut";
        rcCommon.IntersectRect(rcWindow, rcArea);
        EXPECT_EQ(rcWindow, rcCommon) << "the ticket lies outside the client";
        std::filesystem::create_directories(std::string(TB_BINARY_DIR) + "/screenshots");
        if (nCommand == ID_WINDOW_TILE_HORZ)
            TbSaveScreenPng(pFrame->m_hWnd, (std::string(TB_BINARY_DIR) + "/screenshots/mdi_tiled_with_ticket_" +
                                             (bArabic ? "ar" : "en") + ".png").c_str());
    }
    for (UINT nCommand : {UINT(ID_APP_KSE_QUOTES), UINT(ID_APP_US_QUOTES)}) {
        pFrame->SendMessage(WM_COMMAND, nCommand);
        pFrame->MDIGetActive()->SendMessage(WM_CLOSE);
    }
}

TEST(MdiOnDisplay, DISABLED_TheTradersClicks)
{
    if (!OnDisplayUnderTest())
        GTEST_SKIP() << "runs on a display that MdiOnDisplay.EveryButtonOfACaptionAndOfAnIconDoesWhatItShows starts";
    CTestServer server;
    ASSERT_TRUE(server.Start({"--accounts", TB_SOURCE_DIR "/tests/app/data/accounts.txt"}));
    CWholeTerminalMakers makers;
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CTerminalRun run(bArabic);
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "demo01", "demo12"));
        CNorvMainFrame* pFrame = run.App().GetMainFrame();
        pFrame->ShowWindow(SW_SHOWMAXIMIZED);
        PumpFor(500);
        TileWithTheTicket(pFrame, bArabic);
        struct { UINT nCommand; const char* pszWhat; } windows[] = {{ID_APP_KSE_HOLDINGS, "table"}, {ID_ORDER_TICKET, "form"}};
        for (const auto& window : windows) {
            SCOPED_TRACE(std::string(window.pszWhat) + " of command " + std::to_string(window.nCommand));
            pFrame->SendMessage(WM_COMMAND, window.nCommand);
            PumpFor(500);
            CMDIChildWnd* pWindow = pFrame->MDIGetActive();
            ASSERT_NE(nullptr, pWindow);
            ClickEveryButton(pFrame, pWindow->m_hWnd);
            // The caption's close, on the window the command brings back.
            pFrame->SendMessage(WM_COMMAND, window.nCommand);
            PumpFor(500);
            pWindow = pFrame->MDIGetActive();
            ASSERT_NE(nullptr, pWindow);
            const HWND hWnd = pWindow->m_hWnd;
            EXPECT_TRUE(CaptionDrawn(pFrame->m_hWndMDIClient, hWnd)) << "brought back by its command";
            ASSERT_TRUE(ClickTitleButton(hWnd, SC_CLOSE));
            EXPECT_FALSE(IsWindow(hWnd) && IsWindowVisible(hWnd)) << "the caption's close";
        }
        run.Close();
    }
}

}  // namespace

TEST(MdiOnDisplay, EveryButtonOfACaptionAndOfAnIconDoesWhatItShows)
{
    const std::string strMissing = CDisplayUnderTest::MissingPrograms();
    if (!strMissing.empty())
        GTEST_SKIP() << "no real display: " << strMissing << " not installed (scripts/setup installs them)";
    CDisplayUnderTest display;
    ASSERT_TRUE(display.Ready()) << display.Why();
    const DISPLAY_RUN run = display.RunCase("MdiOnDisplay.DISABLED_TheTradersClicks", 240000);
    EXPECT_EQ(0, run.nStatus) << run.strOutput;
    EXPECT_NE(std::string::npos, run.strOutput.find("[  PASSED  ] 1 test")) << run.strOutput;
}
