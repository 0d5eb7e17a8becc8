// Scroll bars: a window's own bars (room taken from the client area, values kept in range, hidden
// when nothing scrolls, painted beside the client) and the "ScrollBar" control, each part clicked
// and the thumb dragged giving the scroll messages in order.
#include <gtest/gtest.h>
#include "ControlTestSupport.h"
#include "tests/common/WindowPixels.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
// A press at pt held until the release already queued: the bar's loop reads the release.
void Press(HWND hWnd, int x, int y, std::initializer_list<POINT> moves = {})
{
    for (POINT pt : moves)
        PostMessageA(hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    PostMessageA(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

SIZE ClientSize(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return SIZE{rc.right, rc.bottom};
}

// The user at the display: press and release at a point of the window, in screen coordinates.
void DisplayClick(HWND hWnd, int x, int y, std::initializer_list<POINT> moves = {})
{
    POINT pt = {x, y};
    ClientToScreen(hWnd, &pt);
    TbDisplayMouse(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    for (POINT m : moves) {
        POINT ptMove = m;
        ClientToScreen(hWnd, &ptMove);
        TbDisplayMouse(hWnd, WM_MOUSEMOVE, MK_LBUTTON, ptMove);
    }
    TbDisplayMouse(hWnd, WM_LBUTTONUP, 0, pt);
    DrainQueue();
}

class ScrollBars : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (IsWindow(m_hParent))
            DestroyWindow(m_hParent);
        DrainQueue();
    }
    HWND m_hParent = nullptr;
};
}  // namespace

TEST_F(ScrollBars, WindowBarsTakeTheirExtentFromTheClientArea)
{
    m_hParent = CreateControlParent(WS_VSCROLL | WS_HSCROLL);
    const int cxBar = GetSystemMetrics(SM_CXVSCROLL), cyBar = GetSystemMetrics(SM_CYHSCROLL);
    SIZE size = ClientSize(m_hParent);
    EXPECT_EQ(200 - cxBar, size.cx);
    EXPECT_EQ(200 - cyBar, size.cy);
    RECT rc = {0, 0, 300, 250};
    SendMessageA(m_hParent, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(300 - cxBar, rc.right);
    EXPECT_EQ(250 - cyBar, rc.bottom);
    // The parts of the window a point falls on.
    POINT pt = {200 - cxBar / 2, 50};
    ClientToScreen(m_hParent, &pt);
    pt.x = 10 + 200 - cxBar / 2;
    EXPECT_EQ(HTVSCROLL, SendMessageA(m_hParent, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    EXPECT_EQ(HTHSCROLL, SendMessageA(m_hParent, WM_NCHITTEST, 0, MAKELPARAM(10 + 50, 20 + 200 - cyBar / 2)));
    EXPECT_EQ(HTCLIENT, SendMessageA(m_hParent, WM_NCHITTEST, 0, MAKELPARAM(10 + 50, 20 + 50)));
    // Hiding a bar gives its room back and tells the window its new size.
    ShowScrollBar(m_hParent, SB_VERT, FALSE);
    EXPECT_EQ(200, ClientSize(m_hParent).cx);
    EXPECT_FALSE(GetWindowLongA(m_hParent, GWL_STYLE) & WS_VSCROLL);
    ShowScrollBar(m_hParent, SB_BOTH, FALSE);
    EXPECT_EQ(200, ClientSize(m_hParent).cy);
}

TEST_F(ScrollBars, SetScrollInfoKeepsPageAndPositionInRangeAndHidesAnIdleBar)
{
    m_hParent = CreateControlParent(WS_VSCROLL);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 95, 0};
    EXPECT_EQ(90, SetScrollInfo(m_hParent, SB_VERT, &si, TRUE));       // nMax - nPage + 1
    si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(m_hParent, SB_VERT, &si));
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(99, si.nMax);
    EXPECT_EQ(10u, si.nPage);
    EXPECT_EQ(90, si.nPos);
    EXPECT_EQ(90, si.nTrackPos);
    EXPECT_EQ(90, SetScrollPos(m_hParent, SB_VERT, -5, TRUE));
    EXPECT_EQ(0, GetScrollPos(m_hParent, SB_VERT));
    // The whole range fits in a page: the bar goes, and its room goes to the client.
    si = {sizeof si, SIF_PAGE, 0, 0, 500, 0, 0};
    SetScrollInfo(m_hParent, SB_VERT, &si, TRUE);
    EXPECT_FALSE(GetWindowLongA(m_hParent, GWL_STYLE) & WS_VSCROLL);
    si = {sizeof si, SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(m_hParent, SB_VERT, &si);
    EXPECT_EQ(100u, si.nPage);                                          // cut to the range
    // With SIF_DISABLENOSCROLL it stays, disabled; a range that scrolls shows it again.
    si = {sizeof si, SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 200, 0, 0};
    SetScrollInfo(m_hParent, SB_VERT, &si, TRUE);
    EXPECT_TRUE(GetWindowLongA(m_hParent, GWL_STYLE) & WS_VSCROLL);
    ShowScrollBar(m_hParent, SB_VERT, FALSE);
    SetScrollRange(m_hParent, SB_VERT, 0, 1000, TRUE);
    EXPECT_TRUE(GetWindowLongA(m_hParent, GWL_STYLE) & WS_VSCROLL);
    int nMin = -1, nMax = -1;
    EXPECT_TRUE(GetScrollRange(m_hParent, SB_VERT, &nMin, &nMax));
    EXPECT_EQ(0, nMin);
    EXPECT_EQ(1000, nMax);
    // A window that never had a horizontal bar has no values for one.
    EXPECT_FALSE(GetScrollInfo(m_hParent, SB_HORZ, &si));
}

TEST_F(ScrollBars, ClicksAndDragsOnAWindowBarScrollItWithANullHandle)
{
    m_hParent = CreateControlParent(WS_VSCROLL | WS_HSCROLL);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(m_hParent, SB_VERT, &si, TRUE);
    SetScrollInfo(m_hParent, SB_HORZ, &si, TRUE);
    const SIZE client = ClientSize(m_hParent);
    const int xBar = client.cx + 2;
    DisplayClick(m_hParent, xBar, client.cy - 3);              // the down arrow
    DisplayClick(m_hParent, xBar, 3);                          // the up arrow
    DisplayClick(m_hParent, xBar, client.cy / 2);              // below the thumb
    DisplayClick(m_hParent, client.cx - 3, client.cy + 2);     // the right arrow
    EXPECT_EQ("VSCROLL 1, VSCROLL 8, VSCROLL 0, VSCROLL 8, VSCROLL 3, VSCROLL 8, HSCROLL 1, HSCROLL 8",
              ParentLog().Joined());
    // The thumb (the first pixels of the track at position 0) dragged to the end and beyond.
    ParentLog().Clear();
    const int yThumb = GetSystemMetrics(SM_CYVSCROLL) + 2;
    DisplayClick(m_hParent, xBar, yThumb, {{xBar, yThumb + 1000}});
    EXPECT_EQ("VSCROLL 5 pos 90 track 90, VSCROLL 4 pos 90, VSCROLL 8", ParentLog().Joined());
    EXPECT_EQ(0, GetScrollPos(m_hParent, SB_VERT));            // the program moves the bar, not the user
}

TEST_F(ScrollBars, WindowBarsArePaintedBesideTheClientAndClientDrawingLeavesThem)
{
    m_hParent = CreateControlParent(WS_VSCROLL);
    UpdateWindow(m_hParent);
    const int cx = ClientSize(m_hParent).cx;
    HDC hdc = GetDC(m_hParent);
    RECT rcAll = {0, 0, 400, 400};
    FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(m_hParent, hdc);
    HDC hdcWindow = GetWindowDC(m_hParent);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(hdcWindow, cx + 2, 2));      // the up arrow's face
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdcWindow, cx - 1, 2));
    ReleaseDC(m_hParent, hdcWindow);
}

TEST_F(ScrollBars, ControlSendsEachPartsCodeToItsParentWithItsHandle)
{
    m_hParent = CreateControlParent();
    HWND hBar = CreateControl(m_hParent, WC_SCROLLBARA, SBS_VERT, 0, 0, 16, 100, 5);
    ASSERT_NE(nullptr, hBar);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
    EXPECT_EQ(0, SendMessageA(hBar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&si)));
    Press(hBar, 8, 5);
    Press(hBar, 8, 95);
    Press(hBar, 8, 60);
    EXPECT_EQ(91, SendMessageA(hBar, SBM_SETPOS, 0, TRUE) + SendMessageA(hBar, SBM_SETPOS, 500, TRUE) + 91);
    EXPECT_EQ(91, SendMessageA(hBar, SBM_GETPOS, 0, 0));         // 100 - 10 + 1
    Press(hBar, 8, 30);
    EXPECT_EQ("VSCROLL 0 ctl, VSCROLL 8 ctl, VSCROLL 1 ctl, VSCROLL 8 ctl, VSCROLL 3 ctl, VSCROLL 8 ctl, "
              "VSCROLL 2 ctl, VSCROLL 8 ctl", ParentLog().Joined());
    // A disabled arrow does nothing; keys send what the parts would.
    ParentLog().Clear();
    EnableScrollBar(hBar, SB_CTL, ESB_DISABLE_UP);
    Press(hBar, 8, 5);
    SendMessageA(hBar, WM_KEYDOWN, VK_HOME, 0);
    SendMessageA(hBar, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ("VSCROLL 6 ctl, VSCROLL 8 ctl, VSCROLL 3 ctl, VSCROLL 8 ctl", ParentLog().Joined());
}

TEST_F(ScrollBars, ControlThumbDragTracksThenSetsThePosition)
{
    m_hParent = CreateControlParent();
    HWND hBar = CreateControl(m_hParent, WC_SCROLLBARA, SBS_HORZ, 0, 0, 116, 16, 6);
    SendMessageA(hBar, SBM_SETRANGE, 0, 100);
    int nMin = -1, nMax = -1;
    SendMessageA(hBar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&nMin), reinterpret_cast<LPARAM>(&nMax));
    EXPECT_EQ(100, nMax);
    // Track 84 pixels between the arrows, thumb 16 (no page): 68 pixels for 100 positions.
    Press(hBar, 20, 8, {{54, 8}, {54, 9}, {300, 8}});
    EXPECT_EQ("HSCROLL 5 pos 50 ctl track 50, HSCROLL 5 pos 100 ctl track 100, HSCROLL 4 pos 100 ctl, HSCROLL 8 ctl",
              ParentLog().Joined());
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(hBar, SB_CTL, &si);
    EXPECT_EQ(0, si.nPos);
    EXPECT_EQ(0, si.nTrackPos);
}

namespace {
void CALLBACK ReleaseLater(HWND hWnd, UINT, UINT_PTR uId, DWORD)
{
    KillTimer(hWnd, uId);
    PostMessageA(GetDlgItem(hWnd, 5), WM_LBUTTONUP, 0, MAKELPARAM(8, 95));
}
}  // namespace

TEST_F(ScrollBars, HeldArrowRepeatsUntilReleased)
{
    m_hParent = CreateControlParent();
    HWND hBar = CreateControl(m_hParent, WC_SCROLLBARA, SBS_VERT, 0, 0, 16, 100, 5);
    SetTimer(m_hParent, 1, 700, ReleaseLater);
    SendMessageA(hBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 95));
    int nLines = 0;
    for (const std::string& s : ParentLog().entries)
        nLines += s == "VSCROLL 1 ctl";
    EXPECT_GE(nLines, 3);
    EXPECT_EQ("VSCROLL 8 ctl", ParentLog().entries.back());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ScrollBars, ControlRepaintsOnlyWhenNewValuesChangeItsPicture)
{
    m_hParent = CreateControlParent();
    HWND hBar = CreateControl(m_hParent, WC_SCROLLBARA, SBS_VERT, 0, 0, 16, 100, 5);
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 999, 10, 0, 0};
    SetScrollInfo(hBar, SB_CTL, &si, TRUE);
    UpdateWindow(hBar);
    RECT rc;
    ASSERT_FALSE(GetUpdateRect(hBar, &rc, FALSE));
    // One more line leaves the smallest thumb at the top: nothing to repaint.
    si.nMax = 1000;
    SetScrollInfo(hBar, SB_CTL, &si, TRUE);
    EXPECT_FALSE(GetUpdateRect(hBar, &rc, FALSE));
    // The thumb moves, or the bar has nothing left to scroll: repainted.
    si.fMask = SIF_POS;
    si.nPos = 500;
    SetScrollInfo(hBar, SB_CTL, &si, TRUE);
    EXPECT_TRUE(GetUpdateRect(hBar, &rc, FALSE));
    UpdateWindow(hBar);
    si.fMask = SIF_RANGE;
    si.nMax = 5;
    SetScrollInfo(hBar, SB_CTL, &si, TRUE);
    EXPECT_TRUE(GetUpdateRect(hBar, &rc, FALSE));
    UpdateWindow(hBar);
    // Without redraw nothing is marked, as before.
    si.nMax = 2000;
    SetScrollInfo(hBar, SB_CTL, &si, FALSE);
    EXPECT_FALSE(GetUpdateRect(hBar, &rc, FALSE));
}

// A bar made shorter or longer, as a window's arrangement sizes it, shows what a full repaint of
// it shows: both arrows at its ends and the thumb in proportion, no piece of its old picture.
TEST_F(ScrollBars, ControlSizedAnewShowsItsWholePicture)
{
    m_hParent = CreateControlParent();
    for (DWORD dwStyle : {static_cast<DWORD>(SBS_HORZ), static_cast<DWORD>(SBS_VERT)}) {
        const bool bHorz = dwStyle == SBS_HORZ;
        HWND hBar = CreateControl(m_hParent, WC_SCROLLBARA, dwStyle, 0, 0, bHorz ? 200 : 16, bHorz ? 16 : 200, 6);
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 30, 20, 0};
        SetScrollInfo(hBar, SB_CTL, &si, TRUE);
        UpdateWindow(hBar);
        for (int nLength : {120, 180, 60}) {
            SetWindowPos(hBar, nullptr, 0, 0, bHorz ? nLength : 16, bHorz ? 16 : nLength, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            UpdateWindow(hBar);
            const std::vector<COLORREF> shown = WindowPixels(hBar);
            RedrawWindow(hBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            EXPECT_TRUE(WindowPixels(hBar) == shown) << (bHorz ? "horizontal " : "vertical ") << nLength;
        }
        DestroyWindow(hBar);
    }
}
