// A window that answers HTCAPTION for a point of its body is moved by a press there and the
// drag that follows; one that answers HTCLIENT gets its button messages as before.
#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "platform/win/user/Display.h"

namespace {

struct CaptionDragTest : ::testing::Test
{
    void SetUp() override
    {
        PumpReady();
        g_pfnTestOverride = nullptr;
        hWnd = CreateTestWindow(nullptr, WS_POPUP | WS_THICKFRAME | WS_VISIBLE);
        SetWindowPos(hWnd, nullptr, 100, 100, 200, 40, SWP_NOZORDER);
        PumpReady();
    }
    void TearDown() override
    {
        g_pfnTestOverride = nullptr;
        DestroyWindow(hWnd);
        PumpReady();
    }
    void Drag(POINT ptFrom, int dx, int dy)
    {
        TbDisplayMouse(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ptFrom);
        PumpReady();
        TbDisplayMouse(hWnd, WM_MOUSEMOVE, MK_LBUTTON, POINT{ptFrom.x + dx / 2, ptFrom.y + dy / 2});
        PumpReady();
        TbDisplayMouse(hWnd, WM_MOUSEMOVE, MK_LBUTTON, POINT{ptFrom.x + dx, ptFrom.y + dy});
        PumpReady();
        TbDisplayMouse(hWnd, WM_LBUTTONUP, 0, POINT{ptFrom.x + dx, ptFrom.y + dy});
        PumpReady();
    }
    HWND hWnd = nullptr;
};

TEST_F(CaptionDragTest, ABodyAnsweringCaptionDragsTheWindow)
{
    g_pfnTestOverride = [](HWND h, UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL* pbHandled) -> LRESULT {
        if (uMsg != WM_NCHITTEST)
            return 0;
        *pbHandled = TRUE;
        LRESULT nHit = DefWindowProcA(h, uMsg, wParam, lParam);
        return nHit == HTCLIENT ? HTCAPTION : nHit;
    };
    RECT rc;
    GetWindowRect(hWnd, &rc);
    Drag(POINT{rc.left + 50, rc.top + 20}, 30, -12);
    RECT rcAfter;
    GetWindowRect(hWnd, &rcAfter);
    EXPECT_EQ(rc.left + 30, rcAfter.left);
    EXPECT_EQ(rc.top - 12, rcAfter.top);
    EXPECT_EQ(rc.right - rc.left, rcAfter.right - rcAfter.left);
    EXPECT_EQ(nullptr, GetCapture()) << "the drag ends with the button";
}

TEST_F(CaptionDragTest, AClientBodyStaysAndGetsItsClicks)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int nDowns = 0;
    static int* s_pDowns = nullptr;
    s_pDowns = &nDowns;
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_LBUTTONDOWN)
            ++*s_pDowns;
        return 0;
    };
    Drag(POINT{rc.left + 50, rc.top + 20}, 30, 10);
    RECT rcAfter;
    GetWindowRect(hWnd, &rcAfter);
    EXPECT_EQ(rc.left, rcAfter.left);
    EXPECT_EQ(rc.top, rcAfter.top);
    EXPECT_EQ(1, nDowns);
    g_pfnTestOverride = nullptr;
    s_pDowns = nullptr;
}

}  // namespace
