// The progress bar through its messages and its pixels, and an owner-drawn button's states as its
// parent is asked to draw them.
#include <gtest/gtest.h>
#include <functional>
#include "ControlTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"

namespace {
struct Controls : ::testing::Test {
    HWND hParent = nullptr;
    void SetUp() override
    {
        hParent = CreateControlParent();
        ParentLog().Clear();
    }
    void TearDown() override
    {
        if (IsWindow(hParent))
            DestroyWindow(hParent);
        DrainQueue();
    }
};

// How many columns of the bar's middle row show the highlight colour, and whether they start at
// the left.
std::pair<int, bool> Filled(HWND hBar)
{
    UpdateWindow(hBar);
    HDC hdc = GetDC(hBar);
    RECT rc;
    GetClientRect(hBar, &rc);
    int nFilled = 0;
    for (int x = 0; x < rc.right; ++x)
        nFilled += GetPixel(hdc, x, rc.bottom / 2) == GetSysColor(COLOR_HIGHLIGHT);
    const bool bLeft = GetPixel(hdc, 2, rc.bottom / 2) == GetSysColor(COLOR_HIGHLIGHT);
    ReleaseDC(hBar, hdc);
    return {nFilled, bLeft};
}
}  // namespace

TEST_F(Controls, ProgressBarKeepsItsPositionInRangeAndFillsInProportion)
{
    // 104 pixels wide: a 2-pixel frame on each side leaves 100 to fill.
    HWND hBar = CreateControl(hParent, PROGRESS_CLASSA, 0, 0, 0, 104, 16, 5);
    ASSERT_NE(nullptr, hBar);
    EXPECT_EQ(MAKELPARAM(0, 100), SendMessageA(hBar, PBM_SETRANGE, 0, MAKELPARAM(0, 400)));
    const struct { UINT uMsg; WPARAM wParam; int nOld, nPos, nFilled; } steps[] = {
        {PBM_SETPOS, 100, 0, 100, 25},
        {PBM_SETPOS, 401, 100, 400, 100},          // past the end: the end
        {PBM_DELTAPOS, static_cast<WPARAM>(-300), 400, 100, 25},
        {PBM_SETPOS, static_cast<WPARAM>(-7), 100, 0, 0},
        {PBM_STEPIT, 0, 0, 10, 2},
        {PBM_SETPOS, 399, 10, 399, 99},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.nOld, SendMessageA(hBar, s.uMsg, s.wParam, 0)) << s.uMsg << " " << static_cast<int>(s.wParam);
        EXPECT_EQ(s.nPos, SendMessageA(hBar, PBM_GETPOS, 0, 0));
        EXPECT_EQ(s.nFilled, Filled(hBar).first) << "at " << s.nPos;
    }
    // A range that shrinks below the position takes the position with it.
    EXPECT_EQ(MAKELPARAM(0, 400), SendMessageA(hBar, PBM_SETRANGE, 0, MAKELPARAM(50, 150)));
    EXPECT_EQ(150, SendMessageA(hBar, PBM_GETPOS, 0, 0));
    EXPECT_EQ(100, Filled(hBar).first);
    EXPECT_EQ(150, SendMessageA(hBar, PBM_SETPOS, 75, 0));
    EXPECT_EQ(25, Filled(hBar).first);
    EXPECT_TRUE(Filled(hBar).second);
    // Laid out right to left, the bar fills from the right.
    HWND hRtl = CreateWindowExA(WS_EX_LAYOUTRTL, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 20, 104, 16, hParent,
                                reinterpret_cast<HMENU>(6), nullptr, nullptr);
    SendMessageA(hRtl, PBM_SETPOS, 40, 0);
    EXPECT_EQ((std::pair<int, bool>{40, false}), Filled(hRtl));
}

TEST_F(Controls, OwnerDrawnButtonTellsItsStates)
{
    HWND hButton = CreateControl(hParent, WC_BUTTONA, BS_OWNERDRAW | WS_TABSTOP, 0, 0, 60, 20, 7, "Go");
    ASSERT_NE(nullptr, hButton);
    UpdateWindow(hButton);
    EXPECT_EQ("DRAW 0", ParentLog().Joined());
    const struct { const char* pszStep; std::function<void()> fn; const char* pszDrawn; } steps[] = {
        {"focus", [&] { SetFocus(hButton); }, "DRAW 0 focus"},
        {"press", [&] { SendMessageA(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }, "DRAW 0 sel focus"},
        {"release", [&] { SendMessageA(hButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, "DRAW 0 focus"},
        {"disable", [&] { SetFocus(hParent); EnableWindow(hButton, FALSE); }, "DRAW 0 disabled"},
    };
    for (const auto& s : steps) {
        ParentLog().Clear();
        s.fn();
        DrainQueue();
        UpdateWindow(hButton);
        ASSERT_FALSE(ParentLog().entries.empty()) << s.pszStep;
        // Only the last drawing shows the state the button ended in.
        EXPECT_EQ(s.pszDrawn, ParentLog().entries.back()) << s.pszStep;
    }
}
