// The buttons of a table window's and a form window's caption, and of their icons once
// minimised, clicked by the window system on a real display (Xvfb with a window manager), in
// English and in Arabic: each does what it shows, and the caption the window comes back with is
// drawn at once, title and buttons, not left a plain bar. Tiled among table windows, the order
// ticket stays whole.
#include <gtest/gtest.h>

#include <algorithm>
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

// A click of the window system's own on a button of the window's caption, or (bOnBar) of the
// frame's menu bar, where a maximised window keeps its buttons.
::testing::AssertionResult Click(CMDIFrameWnd* pFrame, HWND hWnd, UINT uCommand, bool bOnBar)
{
    POINT pt;
    if (!(bOnBar ? TbQtMenuBarButtonOnScreen(pFrame->m_hWnd, uCommand, &pt) : TbQtTitleButtonOnScreen(hWnd, uCommand, &pt)))
        return ::testing::AssertionFailure() << "no button " << std::hex << uCommand << (bOnBar ? " on the bar" : "");
    RunOnDisplay({"xdotool", "mousemove", "--sync", std::to_string(pt.x), std::to_string(pt.y)});
    RunOnDisplay({"xdotool", "click", "1"});
    PumpFor(400);
    return ::testing::AssertionSuccess();
}

// The caption as the screen shows it (an icon: the whole icon) is drawn: along its middle the
// colour changes often, over the title's letters and the buttons; a plain bar changes at its ends.
::testing::AssertionResult CaptionDrawn(HWND hClient, HWND hWnd)
{
    CTbPixelBuffer image;
    RECT rcFrame{}, rc;
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
    if (!IsIconic(hWnd))
        rc = RECT{rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.top};
    const int y = (rc.top + rc.bottom) / 2;
    if (!TbQtPicture(hClient, &image) || y < 0 || y >= image.Height())
        return ::testing::AssertionFailure() << "no picture of the caption";
    int nChanges = 0;
    for (int x = std::max(1, static_cast<int>(rc.left)); x < std::min(static_cast<int>(rc.right), image.Width()); ++x)
        nChanges += (image.Row(y)[x] & 0xFFFFFF) != (image.Row(y)[x - 1] & 0xFFFFFF);
    if (nChanges < 12)
        return ::testing::AssertionFailure() << "a plain bar: " << nChanges << " changes of colour along it";
    return ::testing::AssertionSuccess();
}

enum SHOWN { ICON, NORMAL, MAXIMISED, CLOSED };

// Every button of the window's caption, of its icon and of the menu bar while it is maximised,
// clicked in turn; after each the window's state, and the caption it shows drawn.
void ClickEveryButton(CMDIFrameWnd* pFrame, HWND hWnd)
{
    const HWND hClient = pFrame->m_hWndMDIClient;
    char szTitle[256] = "", szFrame[512] = "";
    GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    RECT rcNormal, rc, rcClient;
    GetWindowRect(hWnd, &rcNormal);
    const struct { UINT uCommand; bool bOnBar; SHOWN shown; const char* pszWhat; } steps[] = {
        {SC_MINIMIZE, false, ICON, "the caption's minimise"},     {SC_RESTORE, false, NORMAL, "the icon's restore"},
        {SC_MINIMIZE, false, ICON, "the caption's minimise"},     {SC_MAXIMIZE, false, MAXIMISED, "the icon's maximise"},
        {SC_RESTORE, true, NORMAL, "the bar's restore"},          {SC_MAXIMIZE, false, MAXIMISED, "the caption's maximise"},
        {SC_MINIMIZE, true, ICON, "the bar's minimise"},          {SC_MAXIMIZE, false, MAXIMISED, "the icon's maximise"},
        {SC_RESTORE, true, NORMAL, "the bar's restore"},          {SC_MINIMIZE, false, ICON, "the caption's minimise"},
        {SC_CLOSE, false, CLOSED, "the icon's close"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        ASSERT_TRUE(Click(pFrame, hWnd, step.uCommand, step.bOnBar));
        if (step.shown == CLOSED) {
            EXPECT_FALSE(IsWindow(hWnd) && IsWindowVisible(hWnd));
            continue;
        }
        GetWindowRect(hWnd, &rc);
        GetClientRect(hClient, &rcClient);
        GetWindowTextA(pFrame->m_hWnd, szFrame, sizeof szFrame);
        EXPECT_EQ(step.shown == ICON, IsIconic(hWnd) != FALSE);
        EXPECT_EQ(step.shown == MAXIMISED, IsZoomed(hWnd) != FALSE);
        EXPECT_TRUE(step.shown == MAXIMISED || CaptionDrawn(hClient, hWnd));
        EXPECT_TRUE(step.shown != NORMAL || (TbQtMdiChildShownWhole(hWnd) && EqualRect(&rc, &rcNormal))) << "where it stood, whole";
        if (step.shown == MAXIMISED) {
            POINT pt;
            EXPECT_TRUE(TbQtMdiChildShownWhole(hWnd) && rc.right - rc.left == rcClient.right) << "fills the client";
            EXPECT_TRUE(TbQtMenuBarButtonOnScreen(pFrame->m_hWnd, SC_RESTORE, &pt)) << "its buttons on the bar";
            EXPECT_NE(nullptr, strstr(szFrame, (std::string("[") + szTitle + "]").c_str())) << szFrame;
        }
    }
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
    for (UINT nCommand : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_VERT, ID_WINDOW_TILE_HORZ}) {
        SCOPED_TRACE("arranged by " + std::to_string(nCommand));
        pFrame->SendMessage(WM_COMMAND, nCommand);
        PumpFor(400);
        CRect rcView, rcInside, rcWindow, rcArea, rcCommon;
        pTicket->GetView()->GetWindowRect(&rcView);
        pTicket->GetClientRect(&rcInside);
        pTicket->ClientToScreen(&rcInside);
        pTicket->GetWindowRect(&rcWindow);
        ::GetWindowRect(pFrame->m_hWndMDIClient, &rcArea);
        EXPECT_TRUE(rcCommon.IntersectRect(rcView, rcInside) && rcCommon == rcView) << "the ticket's dialog is cut";
        EXPECT_TRUE(rcCommon.IntersectRect(rcWindow, rcArea) && rcCommon == rcWindow) << "outside the client";
    }
    std::filesystem::create_directories(std::string(TB_BINARY_DIR) + "/screenshots");
    TbSaveScreenPng(pFrame->m_hWnd, (std::string(TB_BINARY_DIR) + "/screenshots/mdi_tiled_with_ticket_" +
                                     (bArabic ? "ar" : "en") + ".png").c_str());
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
        for (UINT nCommand : {UINT(ID_APP_KSE_HOLDINGS), ID_ORDER_TICKET}) {     // a table's window, a form's
            SCOPED_TRACE("the window of command " + std::to_string(nCommand));
            // Every button, then the caption's close on the window the command brings back.
            for (bool bEvery : {true, false}) {
                pFrame->SendMessage(WM_COMMAND, nCommand);
                PumpFor(500);
                ASSERT_NE(nullptr, pFrame->MDIGetActive());
                const HWND hWnd = pFrame->MDIGetActive()->m_hWnd;
                EXPECT_TRUE(CaptionDrawn(pFrame->m_hWndMDIClient, hWnd)) << "brought up by its command";
                if (bEvery) {
                    ClickEveryButton(pFrame, hWnd);
                    continue;
                }
                ASSERT_TRUE(Click(pFrame, hWnd, SC_CLOSE, false));
                EXPECT_FALSE(IsWindow(hWnd) && IsWindowVisible(hWnd)) << "the caption's close";
            }
        }
        run.Close();
    }
}

}  // namespace

TEST(MdiOnDisplay, EveryButtonOfACaptionAndOfAnIconDoesWhatItShows)
{
    RunCaseOnDisplay("MdiOnDisplay.DISABLED_TheTradersClicks", 240000);
}
