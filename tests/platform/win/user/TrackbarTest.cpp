// The slider through its messages, keys and mouse: the range and the sizes of a line and a
// page, the scroll messages the parent gets for each move and where the thumb is drawn.
#include <gtest/gtest.h>
#include "ControlTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class Trackbars : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (IsWindow(m_hParent))
            DestroyWindow(m_hParent);
        DrainQueue();
    }
    HWND Make(DWORD dwStyle, int cx, int cy)
    {
        m_hParent = CreateControlParent();
        m_hBar = CreateControl(m_hParent, TRACKBAR_CLASSA, dwStyle, 0, 0, cx, cy, 3);
        return m_hBar;
    }
    int Pos() { return static_cast<int>(SendMessageA(m_hBar, TBM_GETPOS, 0, 0)); }
    void Key(UINT uVk)
    {
        SendMessageA(m_hBar, WM_KEYDOWN, uVk, 0);
        SendMessageA(m_hBar, WM_KEYUP, uVk, 0);
    }
    HWND m_hParent = nullptr;
    HWND m_hBar = nullptr;
};
}  // namespace

TEST_F(Trackbars, RangePositionAndStepSizes)
{
    ASSERT_NE(nullptr, Make(TBS_HORZ, 120, 30));
    EXPECT_EQ(0, SendMessageA(m_hBar, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(100, SendMessageA(m_hBar, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(1, SendMessageA(m_hBar, TBM_GETLINESIZE, 0, 0));
    EXPECT_EQ(20, SendMessageA(m_hBar, TBM_GETPAGESIZE, 0, 0));
    SendMessageA(m_hBar, TBM_SETRANGE, TRUE, MAKELPARAM(10, 50));
    EXPECT_EQ(10, Pos());                       // kept inside the range
    SendMessageA(m_hBar, TBM_SETPOS, TRUE, 70);
    EXPECT_EQ(50, Pos());
    SendMessageA(m_hBar, TBM_SETRANGEMAX, TRUE, 40);
    EXPECT_EQ(40, Pos());
    SendMessageA(m_hBar, TBM_SETRANGEMIN, TRUE, -5);
    EXPECT_EQ(-5, SendMessageA(m_hBar, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(20, SendMessageA(m_hBar, TBM_SETPAGESIZE, 0, 8));     // the old size
    EXPECT_EQ(8, SendMessageA(m_hBar, TBM_GETPAGESIZE, 0, 0));
    EXPECT_EQ(1, SendMessageA(m_hBar, TBM_SETLINESIZE, 0, 3));
    EXPECT_EQ(3, SendMessageA(m_hBar, TBM_GETLINESIZE, 0, 0));
    // The program's moves are not told.
    EXPECT_EQ("", ParentLog().Joined());
}

TEST_F(Trackbars, KeysMoveByLinesPagesAndToTheEndsAndTellTheParent)
{
    ASSERT_NE(nullptr, Make(TBS_HORZ | TBS_AUTOTICKS, 120, 30));
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(m_hBar, WM_GETDLGCODE, 0, 0));
    SendMessageA(m_hBar, TBM_SETPOS, TRUE, 50);
    Key(VK_RIGHT);
    EXPECT_EQ(51, Pos());
    Key(VK_UP);
    EXPECT_EQ(50, Pos());
    Key(VK_NEXT);
    EXPECT_EQ(70, Pos());
    Key(VK_PRIOR);
    EXPECT_EQ(50, Pos());
    Key(VK_END);
    EXPECT_EQ(100, Pos());
    Key(VK_DOWN);                               // no further than the end
    EXPECT_EQ(100, Pos());
    Key(VK_HOME);
    EXPECT_EQ(0, Pos());
    EXPECT_EQ("HSCROLL 1 ctl, HSCROLL 8 ctl, HSCROLL 0 ctl, HSCROLL 8 ctl, HSCROLL 3 ctl, HSCROLL 8 ctl, "
              "HSCROLL 2 ctl, HSCROLL 8 ctl, HSCROLL 7 ctl, HSCROLL 8 ctl, HSCROLL 1 ctl, HSCROLL 8 ctl, "
              "HSCROLL 6 ctl, HSCROLL 8 ctl",
              ParentLog().Joined());
}

TEST_F(Trackbars, ClicksInTheChannelPageAndTheThumbDrags)
{
    // 120 wide: the channel runs from x 9 (the minimum) to x 111 (the maximum).
    ASSERT_NE(nullptr, Make(TBS_HORZ, 120, 30));
    SendMessageA(m_hBar, TBM_SETPOS, TRUE, 50);
    Click(m_hBar, 100, 15);
    EXPECT_EQ(70, Pos());
    Click(m_hBar, 12, 15);
    EXPECT_EQ(50, Pos());
    EXPECT_EQ(m_hBar, GetFocus());
    EXPECT_EQ("HSCROLL 3 ctl, HSCROLL 8 ctl, HSCROLL 2 ctl, HSCROLL 8 ctl", ParentLog().Joined());
    ParentLog().Clear();
    // The thumb of 50 is at x 60; taken 2 pixels right of its middle, it follows the pointer.
    SendMessageA(m_hBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(62, 15));
    SendMessageA(m_hBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(113, 15));
    EXPECT_EQ(100, Pos());
    SendMessageA(m_hBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 40));   // beyond the end
    SendMessageA(m_hBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(11, 15));
    EXPECT_EQ(0, Pos());
    SendMessageA(m_hBar, WM_LBUTTONUP, 0, MAKELPARAM(11, 15));
    EXPECT_EQ(nullptr, GetCapture());
    // (The log's "track" reads a scroll bar's drag, which a slider has not.)
    EXPECT_EQ("HSCROLL 5 pos 100 ctl track -1, HSCROLL 5 pos 0 ctl track -1, HSCROLL 4 pos 0 ctl, HSCROLL 8 ctl", ParentLog().Joined());
}

TEST_F(Trackbars, VerticalSliderRunsDownAndSendsVScroll)
{
    ASSERT_NE(nullptr, Make(TBS_VERT, 30, 120));
    SendMessageA(m_hBar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    Click(m_hBar, 15, 110);                     // below the thumb at the top: a page down
    EXPECT_EQ(10, Pos());
    EXPECT_EQ("VSCROLL 3 ctl, VSCROLL 8 ctl", ParentLog().Joined());
    // The thumb is drawn where the position is: at the bottom of the channel.
    UpdateWindow(m_hBar);
    HDC hdc = GetDC(m_hBar);
    const COLORREF crThumb = GetPixel(hdc, 15, 111);
    const COLORREF crTop = GetPixel(hdc, 15, 9);
    ReleaseDC(m_hBar, hdc);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), crThumb);
    EXPECT_NE(crThumb, crTop);
}
