// The queue on the headless display: sent against posted, the reading order, quitting inside a
// nested loop, timers, posting from another thread, keyboard translation and painting.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include "WindowTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct QueueTest : ::testing::Test {
    void SetUp() override
    {
        PumpReady();
        CMessageLog::Get().Clear();
        g_pfnTestOverride = nullptr;
        hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        PumpReady();
        CMessageLog::Get().Clear();
    }
    void TearDown() override
    {
        g_pfnTestOverride = nullptr;
        DestroyWindow(hWnd);
        PumpReady();
    }
    HWND hWnd = nullptr;
};
}

TEST_F(QueueTest, SentRunsAtOncePostedWaitsInOrder)
{
    PostMessageA(hWnd, WM_USER + 1, 0, 0);
    PostMessageA(hWnd, WM_USER + 2, 0, 0);
    SendMessageA(hWnd, WM_USER, 0, 0);
    EXPECT_EQ("USER", CMessageLog::Get().Names(hWnd));
    // A message posted while another is handled goes behind what is already queued.
    g_pfnTestOverride = [](HWND h, UINT uMsg, WPARAM, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_USER + 1)
            PostMessageA(h, WM_USER + 3, 0, 0);
        return 0;
    };
    PumpReady();
    EXPECT_EQ("USER USER1 USER2 USER3", CMessageLog::Get().Names(hWnd));
}

TEST_F(QueueTest, PaintAndTimerComeAfterPostedAndQuitAfterPosted)
{
    SetTimer(hWnd, 5, 10, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    InvalidateRect(hWnd, nullptr, TRUE);
    PostMessageA(hWnd, WM_USER, 0, 0);
    PostQuitMessage(3);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(static_cast<UINT>(WM_USER), msg.message);
    std::vector<UINT> order;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(3u, msg.wParam);
    ASSERT_EQ(1u, order.size());
    EXPECT_EQ(static_cast<UINT>(WM_USER), order[0]);
    order.clear();
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
        if (msg.message == WM_TIMER)
            break;
    }
    ASSERT_EQ(2u, order.size());
    EXPECT_EQ(static_cast<UINT>(WM_PAINT), order[0]);
    EXPECT_EQ(static_cast<UINT>(WM_TIMER), order[1]);
    KillTimer(hWnd, 5);
}

TEST_F(QueueTest, QuitInsideANestedLoopReachesTheOuterLoop)
{
    // A modal loop meeting WM_QUIT ends and posts it again, so the main loop ends too.
    g_pfnTestOverride = [](HWND h, UINT uMsg, WPARAM, LPARAM, BOOL*) -> LRESULT {
        if (uMsg != WM_USER)
            return 0;
        PostMessageA(h, WM_USER + 1, 0, 0);
        PostQuitMessage(9);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0))
            DispatchMessageA(&msg);
        PostQuitMessage(static_cast<int>(msg.wParam));
        return 0;
    };
    PostMessageA(hWnd, WM_USER, 0, 0);
    MSG msg;
    int nOuter = 0;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        DispatchMessageA(&msg);
        ++nOuter;
    }
    EXPECT_EQ(1, nOuter);
    EXPECT_EQ(9u, msg.wParam);
    EXPECT_EQ("USER USER1", CMessageLog::Get().Names(hWnd));
}

TEST_F(QueueTest, LateTimersCoalesceAndEachIdTicks)
{
    SetTimer(hWnd, 1, 10, nullptr);
    SetTimer(hWnd, 2, 10, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    PumpReady();
    int n1 = 0, n2 = 0;
    for (const auto& m : CMessageLog::Get().All())
        if (m.uMsg == WM_TIMER)
            (m.wParam == 1 ? n1 : n2)++;
    EXPECT_EQ(1, n1);           // twelve periods late, still one WM_TIMER each
    EXPECT_EQ(1, n2);
    CMessageLog::Get().Clear();
    KillTimer(hWnd, 2);
    EXPECT_FALSE(KillTimer(hWnd, 2));
    PumpFor(120);
    EXPECT_GE(CMessageLog::Get().Count(WM_TIMER), 4);
    for (const auto& m : CMessageLog::Get().All()) {
        if (m.uMsg == WM_TIMER) {
            EXPECT_EQ(1u, m.wParam);
        }
    }
    // Setting an id again restarts it with the new period; destroying the window ends its timers.
    EXPECT_EQ(1u, SetTimer(hWnd, 1, 100000, nullptr));
    CMessageLog::Get().Clear();
    PumpFor(50);
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_TIMER));
}

namespace {
int g_nTimerProcCalls = 0;
void CALLBACK CountingTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_nTimerProcCalls;
}
}

TEST_F(QueueTest, TimerProcedureRunsInsteadOfTheWindow)
{
    g_nTimerProcCalls = 0;
    SetTimer(hWnd, 3, 10, CountingTimerProc);
    PumpFor(60);
    EXPECT_GE(g_nTimerProcCalls, 2);
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_TIMER));
    KillTimer(hWnd, 3);
}

TEST_F(QueueTest, PostFromAnotherThreadWakesTheLoop)
{
    std::thread poster([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        PostMessageA(hWnd, WM_USER + 2, 42, 0);
    });
    SetTimer(hWnd, 9, 5000, nullptr);      // a bound on the wait if the wake were lost
    auto start = std::chrono::steady_clock::now();
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    poster.join();
    KillTimer(hWnd, 9);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 2), msg.message);
    EXPECT_EQ(42u, msg.wParam);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

TEST_F(QueueTest, KeysFromTheDisplayReachTheFocusAndTranslate)
{
    HWND hEdit = CreateTestWindow(hWnd, WS_CHILD | WS_VISIBLE, 1);
    SetFocus(hEdit);
    PumpReady();
    CMessageLog::Get().Clear();
    TbDisplayKey(WM_KEYDOWN, 'Q', MAKELPARAM(1, 0x10), "q");
    TbDisplayKey(WM_KEYUP, 'Q', MAKELPARAM(1, 0x10 | KF_UP | KF_REPEAT), nullptr);
    TbDisplayKey(WM_KEYDOWN, VK_F10, MAKELPARAM(1, 0x44), nullptr);
    TbDisplayKey(WM_KEYDOWN, 'X', MAKELPARAM(1, KF_ALTDOWN), "x");
    PumpReady();
    EXPECT_EQ("KEYDOWN CHAR KEYUP SYSKEYDOWN SYSKEYDOWN SYSCHAR", CMessageLog::Get().Names(hEdit));
    for (const auto& m : CMessageLog::Get().All()) {
        if (m.uMsg == WM_CHAR) {
            EXPECT_EQ(static_cast<WPARAM>('q'), m.wParam);
        }
    }
    EXPECT_EQ(0, GetKeyState('Q') & 0x8000);        // released by the time the queue was read

    // A key message made by hand translates from the key and the shift state.
    CMessageLog::Get().Clear();
    MSG msg = {hEdit, WM_KEYDOWN, 'B', 0, 0, {0, 0}, 0};
    TranslateMessage(&msg);
    msg.wParam = VK_RETURN;
    TranslateMessage(&msg);
    msg.wParam = VK_LEFT;
    EXPECT_FALSE(TranslateMessage(&msg));
    PumpReady();
    std::vector<WPARAM> chars;
    for (const auto& m : CMessageLog::Get().All())
        if (m.uMsg == WM_CHAR)
            chars.push_back(m.wParam);
    EXPECT_EQ((std::vector<WPARAM>{'\r', 'b'}), chars);   // each goes first in the queue
    DestroyWindow(hEdit);
}

// Without a keyboard of its own the display answers the asynchronous state from what it
// delivered: at once, before the program has read the messages, and whether or not a window took them.
TEST_F(QueueTest, AsyncKeyStateFollowsTheDeliveredKeysAndButtons)
{
    SetFocus(hWnd);
    PumpReady();
    TbDisplayKey(WM_KEYDOWN, VK_SHIFT, MAKELPARAM(1, 0x2A), nullptr);
    EXPECT_NE(0, GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_NE(0, GetAsyncKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_EQ(0, GetKeyState(VK_SHIFT) & 0x8000) << "not read from the queue yet";
    EXPECT_EQ(0, GetAsyncKeyState(VK_CONTROL) & 0x8000);
    TbDisplayMouse(hWnd, WM_RBUTTONDOWN, MK_RBUTTON, POINT{5, 5});
    EXPECT_NE(0, GetAsyncKeyState(VK_RBUTTON) & 0x8000);
    PumpReady();
    TbDisplayKey(WM_KEYUP, VK_SHIFT, MAKELPARAM(1, 0x2A | KF_UP | KF_REPEAT), nullptr);
    TbDisplayMouse(hWnd, WM_RBUTTONUP, 0, POINT{5, 5});
    EXPECT_EQ(0, GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_EQ(0, GetAsyncKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_EQ(0, GetAsyncKeyState(VK_RBUTTON) & 0x8000);
    PumpReady();
}

TEST_F(QueueTest, PaintingValidatesAndScrollingInvalidatesTheBand)
{
    g_pfnTestOverride = [](HWND h, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled) -> LRESULT {
        if (uMsg != WM_PAINT)
            return 0;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(h, &ps);
        // Each line shows its row number as the grey level, so a scroll is visible in the pixels.
        for (int y = ps.rcPaint.top; y < ps.rcPaint.bottom; ++y)
            for (int x = ps.rcPaint.left; x < ps.rcPaint.right; ++x)
                SetPixelV(hdc, x, y, RGB(y, y, y));
        EndPaint(h, &ps);
        *pbHandled = TRUE;
        return 0;
    };
    InvalidateRect(hWnd, nullptr, FALSE);
    UpdateWindow(hWnd);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_PAINT));
    RECT rc;
    EXPECT_FALSE(GetUpdateRect(hWnd, &rc, FALSE));
    UpdateWindow(hWnd);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_PAINT));        // nothing invalid: no second paint

    RECT rcBand = {0, 10, 200, 60};
    EXPECT_EQ(SIMPLEREGION, ScrollWindowEx(hWnd, 0, -5, &rcBand, &rcBand, nullptr, &rc, SW_INVALIDATE));
    EXPECT_EQ(55, rc.top);
    EXPECT_EQ(60, rc.bottom);
    GetUpdateRect(hWnd, &rc, FALSE);
    EXPECT_EQ(55, rc.top);
    HDC hdc = GetDC(hWnd);
    EXPECT_EQ(RGB(25, 25, 25), GetPixel(hdc, 7, 20));       // line 25 moved up to line 20
    EXPECT_EQ(RGB(9, 9, 9), GetPixel(hdc, 7, 9));           // above the band: untouched
    ReleaseDC(hWnd, hdc);
    UpdateWindow(hWnd);
    hdc = GetDC(hWnd);
    EXPECT_EQ(RGB(57, 57, 57), GetPixel(hdc, 7, 57));       // the uncovered band painted anew
    ReleaseDC(hWnd, hdc);

    // A band partly waiting for its paint still moves the pixels that show.
    InvalidateRect(hWnd, nullptr, FALSE);
    UpdateWindow(hWnd);
    RECT rcWaiting = {0, 10, 200, 30};
    InvalidateRect(hWnd, &rcWaiting, FALSE);
    ScrollWindowEx(hWnd, 0, -5, &rcBand, &rcBand, nullptr, nullptr, SW_INVALIDATE);
    hdc = GetDC(hWnd);
    EXPECT_EQ(RGB(40, 40, 40), GetPixel(hdc, 7, 35));       // line 40 moved up to line 35
    ReleaseDC(hWnd, hdc);
    UpdateWindow(hWnd);
    // A band wholly waiting for its paint, scrolled again and again, shows what its paint draws.
    InvalidateRect(hWnd, &rcBand, FALSE);
    for (int i = 0; i < 20; ++i)
        ScrollWindowEx(hWnd, 0, (i % 3) - 1, &rcBand, &rcBand, nullptr, nullptr, SW_INVALIDATE);
    UpdateWindow(hWnd);
    hdc = GetDC(hWnd);
    for (int y = rcBand.top; y < rcBand.bottom; ++y)
        EXPECT_EQ(RGB(y, y, y), GetPixel(hdc, 7, y)) << y;
    ReleaseDC(hWnd, hdc);

    // A procedure that never validates is not asked again and again.
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled) -> LRESULT {
        *pbHandled = uMsg == WM_PAINT;
        return 0;
    };
    CMessageLog::Get().Clear();
    InvalidateRect(hWnd, nullptr, FALSE);
    PumpReady();
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_PAINT));
}
