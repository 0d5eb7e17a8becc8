#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport.h"
#include "framework/window/TickerWnd.h"

namespace {

struct Ticker
{
    CTickerWnd wnd;
    CTickerWnd* pSlot = nullptr;
};

void Make(Ticker& t, HWND hParent, BOOL bDocked, BOOL bDirection, BOOL bScrolling = TRUE, int cx = 300)
{
    t.pSlot = &t.wnd;
    RECT rc = {0, 0, cx, 24};
    ASSERT_TRUE(t.wnd.CreateTickerWindow(rc, CWnd::FromHandle(hParent), &t.pSlot, bDocked, bScrolling, bDirection));
    if (bDocked) {
        int h = t.wnd.GetTextHeight(FALSE);
        t.wnd.MoveWindow(0, 0, cx, h);
    }
    Drain();
}

// Every pixel of the text line equals the strip's slice at the position shown now; the first
// mismatch as "x,y", else "".
std::string Mismatch(const CTickerWnd& wnd)
{
    RECT rc;
    wnd.GetClientRect(&rc);
    HDC hdc = GetDC(wnd.GetSafeHwnd());
    int xStrip = wnd.VisibleStripX();
    std::string strBad;
    for (int y = 0; y < wnd.GetLineHeight() && strBad.empty(); ++y)
        for (int x = 0; x < rc.right; ++x)
            if (GetPixel(hdc, x, wnd.GetTopMargin() + y) != GetPixel(wnd.GetStripDC(), xStrip + x, y)) {
                strBad = std::to_string(x) + "," + std::to_string(y);
                break;
            }
    ReleaseDC(wnd.GetSafeHwnd(), hdc);
    return strBad;
}

// Steps the timer as the system would until the crawl stops, checking the window after each
// step; the number of steps.
int CrawlChecked(CTickerWnd& wnd)
{
    int nSteps = 0;
    while (wnd.IsTimerRunning() && nSteps < 10000) {
        int nBefore = wnd.GetPosition();
        wnd.SendMessage(WM_TIMER, CTickerWnd::SCROLL_TIMER);
        ++nSteps;
        EXPECT_GT(wnd.GetPosition(), nBefore);
        EXPECT_EQ("", Mismatch(wnd)) << "after step " << nSteps;
    }
    return nSteps;
}

TEST(TickerWndTest, TimingFollowsTheLineHeightAndAlwaysMoves)
{
    struct Case { int h; UINT ms; int step; };
    for (Case c : {Case{30, 25, 6}, Case{5, 150, 1}, Case{3, 250, 1}, Case{0, 750, 1}, Case{-2, 750, 1},
                   Case{200, 10, 10}}) {
        CTickerWnd::Timing t = CTickerWnd::TimingFor(c.h);
        EXPECT_EQ(c.ms, t.uIntervalMs) << c.h;
        EXPECT_EQ(c.step, t.nDefaultStep) << c.h;
    }
}

TEST(TickerWndTest, EachStepShowsTheStripSliceInBothDirections)
{
    for (BOOL bDirection : {FALSE, TRUE}) {
        CTestParent parent(400, 100);
        Ticker t;
        Make(t, parent.m_hWnd, TRUE, bDirection);
        EXPECT_EQ(4, t.wnd.GetTopMargin());
        t.wnd.AddItem("AAPL", 0xFF0000, "101.25 +0.50", 0x00FF00);
        t.wnd.AddItem("MSFT", CTickerWnd::TEXT_COLOR, "55.00 -1.00", 0x0000FF);
        EXPECT_TRUE(t.wnd.IsTimerRunning());
        EXPECT_GT(CrawlChecked(t.wnd), 1);
        EXPECT_FALSE(t.wnd.IsTimerRunning());
        EXPECT_EQ(t.wnd.GetTarget(), t.wnd.GetPosition());
        EXPECT_EQ(t.wnd.GetDefaultStep(), t.wnd.GetStep());
        // The docked margin above the text keeps the frame's colour.
        HDC hdc = GetDC(t.wnd.GetSafeHwnd());
        EXPECT_EQ(GetSysColor(COLOR_INACTIVEBORDER), GetPixel(hdc, 10, 1));
        ReleaseDC(t.wnd.GetSafeHwnd(), hdc);
        // A repaint shows the same.
        t.wnd.Invalidate(FALSE);
        t.wnd.UpdateWindow();
        EXPECT_EQ("", Mismatch(t.wnd));
    }
}

TEST(TickerWndTest, NewItemsEnterAtTheirSide)
{
    for (BOOL bDirection : {FALSE, TRUE}) {
        CTestParent parent(400, 100);
        Ticker t;
        Make(t, parent.m_hWnd, TRUE, bDirection, FALSE);
        t.wnd.AddText("WWWWWWWW", 0);
        // Black ink at the entering side, none at the other.
        RECT rc;
        t.wnd.GetClientRect(&rc);
        HDC hdc = GetDC(t.wnd.GetSafeHwnd());
        int nInkLeft = 0, nInkRight = 0;
        for (int y = t.wnd.GetTopMargin(); y < rc.bottom; ++y)
            for (int x = 0; x < 60; ++x) {
                nInkLeft += GetPixel(hdc, x, y) == 0;
                nInkRight += GetPixel(hdc, rc.right - 1 - x, y) == 0;
            }
        ReleaseDC(t.wnd.GetSafeHwnd(), hdc);
        EXPECT_EQ(bDirection ? 0 : 1, nInkLeft == 0) << bDirection;
        EXPECT_EQ(bDirection ? 1 : 0, nInkRight == 0) << bDirection;
    }
}

TEST(TickerWndTest, KeepsFifteenItemsAndCutsLongTexts)
{
    CTestParent parent(400, 100);
    Ticker t;
    Make(t, parent.m_hWnd, TRUE, FALSE, FALSE);
    for (int i = 1; i <= 16; ++i)
        t.wnd.AddItem(("S" + std::to_string(i)).c_str(), 0, "1.00", 0);
    ASSERT_EQ(15, t.wnd.GetItemCount());
    EXPECT_STREQ("S16", t.wnd.GetItemText(0, FALSE));
    EXPECT_STREQ("S2", t.wnd.GetItemText(14, FALSE));
    EXPECT_EQ(nullptr, t.wnd.GetItemText(15, FALSE));
    // A new font rebuilds the strip from the kept items only.
    LOGFONTA lf = t.wnd.GetLogFont();
    lf.lfHeight = 20;
    t.wnd.SetLogFont(lf);
    EXPECT_EQ(15, t.wnd.GetItemCount());
    EXPECT_STREQ("S16", t.wnd.GetItemText(0, FALSE));
    EXPECT_FALSE(t.wnd.IsTimerRunning());
    EXPECT_EQ(t.wnd.GetTarget(), t.wnd.GetPosition());

    std::string strLong(400, 'x');
    t.wnd.AddItem(strLong.c_str(), 0, strLong.c_str(), 0);
    EXPECT_EQ(std::string(CTickerWnd::MAX_TEXT, 'x'), t.wnd.GetItemText(0, FALSE));
    EXPECT_EQ(std::string(CTickerWnd::MAX_TEXT, 'x'), t.wnd.GetItemText(0, TRUE));
}

TEST(TickerWndTest, ScrollingOffOrHiddenShowsAtOnce)
{
    CTestParent parent(400, 100);
    Ticker t;
    Make(t, parent.m_hWnd, TRUE, FALSE, FALSE);
    t.wnd.AddItem("IBM", 0, "12.00", 0);
    EXPECT_FALSE(t.wnd.IsTimerRunning());
    EXPECT_EQ(t.wnd.GetTarget(), t.wnd.GetPosition());
    EXPECT_EQ("", Mismatch(t.wnd));

    t.wnd.SetScrolling(TRUE);
    t.wnd.ShowWindow(SW_HIDE);
    t.wnd.AddItem("ORCL", 0, "9.00", 0);
    EXPECT_FALSE(t.wnd.IsTimerRunning());
    EXPECT_EQ(t.wnd.GetTarget(), t.wnd.GetPosition());
    t.wnd.ShowWindow(SW_SHOW);
    t.wnd.UpdateWindow();
    EXPECT_EQ("", Mismatch(t.wnd));
}

TEST(TickerWndTest, AFullStripShiftsAndTheCrawlStillEnds)
{
    CTestParent parent(400, 100);
    Ticker t;
    Make(t, parent.m_hWnd, TRUE, FALSE);
    std::string strWide(200, 'M');
    int nShifts = 0;
    for (int i = 0; i < 200 && nShifts == 0; ++i) {
        int nTarget = t.wnd.GetTarget();
        t.wnd.AddItem(strWide.c_str(), 0, "1.00", 0);
        if (t.wnd.GetTarget() <= nTarget)
            ++nShifts;
        else
            EXPECT_LE(t.wnd.GetTarget(), t.wnd.GetStripWidth());
    }
    ASSERT_EQ(1, nShifts);
    EXPECT_LE(t.wnd.GetTarget(), t.wnd.GetStripWidth());
    CrawlChecked(t.wnd);
    EXPECT_EQ(t.wnd.GetTarget(), t.wnd.GetPosition());
}

// The owner's slot holds the ticker until the object goes, also when its window went first
// (with its parent): the owner still has to delete it.
TEST(TickerWndTest, FloatingDragsByItsBodyAndClearsItsOwnerSlotWhenDeleted)
{
    CTickerWnd* pSlot = nullptr;
    auto* pTicker = new CTickerWnd;
    pSlot = pTicker;
    RECT rc = {50, 50, 350, 80};
    ASSERT_TRUE(pTicker->CreateTickerWindow(rc, nullptr, &pSlot, FALSE, TRUE, FALSE));
    EXPECT_EQ(0, pTicker->GetTopMargin());
    EXPECT_TRUE(pTicker->GetStyle() & WS_THICKFRAME);
    RECT rcWindow;
    pTicker->GetWindowRect(&rcWindow);
    POINT pt = {(rcWindow.left + rcWindow.right) / 2, (rcWindow.top + rcWindow.bottom) / 2};
    EXPECT_EQ(HTCAPTION, pTicker->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
    pTicker->DestroyWindow();
    EXPECT_EQ(pTicker, pSlot);
    delete pTicker;
    EXPECT_EQ(nullptr, pSlot);
}

}  // namespace

namespace {

TEST(TickerWndTest, AWindowWiderThanTheScreenShowsOnlyTheStrip)
{
    int cx = GetSystemMetrics(SM_CXFULLSCREEN) + 200;
    CTestParent parent(cx + 20, 100);
    Ticker t;
    Make(t, parent.m_hWnd, TRUE, FALSE, TRUE, cx);
    t.wnd.AddItem("WIDE", 0, "1.00", 0);
    EXPECT_GE(t.wnd.VisibleStripX(), 0);
    CrawlChecked(t.wnd);
    EXPECT_GE(t.wnd.VisibleStripX(), 0);
    EXPECT_LE(t.wnd.VisibleStripX() + cx, t.wnd.GetStripWidth());
}

}  // namespace

namespace {

TEST(TickerWndTest, OwnCommandsToggleAndTheSnapAsksTheMainWindow)
{
    CTestParent parent(400, 100);
    Ticker t;
    Make(t, parent.m_hWnd, TRUE, FALSE);
    const BOOL bScrolling = t.wnd.IsScrolling();
    t.wnd.SendMessage(WM_COMMAND, CTickerWnd::ID_TICKER_SCROLLING);
    EXPECT_NE(bScrolling, t.wnd.IsScrolling());
    t.wnd.SendMessage(WM_COMMAND, CTickerWnd::ID_TICKER_CHANGES);
    EXPECT_FALSE(t.wnd.IsShowingChanges());

    parent.m_log.clear();
    t.wnd.SendMessage(WM_COMMAND, CTickerWnd::ID_TICKER_SNAP);
    EXPECT_TRUE(t.wnd.IsCommandPending());
    EXPECT_TRUE(parent.Messages(WM_COMMAND).empty());       // only once the ticker's message is done
    Drain();
    auto commands = parent.Messages(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(CTickerWnd::ID_APP_UNSNAP), commands[0].wParam);
}

}  // namespace
