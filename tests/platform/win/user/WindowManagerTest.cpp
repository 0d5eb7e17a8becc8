// The window manager on the headless display: creation and destruction order, the creation hook,
// subclassing, stale handles, the procedure's exception guard, geometry and focus.
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include "FakeDisplay.h"
#include "WindowTestSupport.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/SysMetrics.h"

namespace {
struct WindowTest : ::testing::Test {
    void SetUp() override
    {
        CMessageLog::Get().Clear();
        g_pfnTestOverride = nullptr;
    }
    void TearDown() override
    {
        g_pfnTestOverride = nullptr;
        PumpReady();
    }
};
}

TEST_F(WindowTest, CreationSendsTheOriginalsOrder)
{
    HWND hTop = CreateTestWindow();
    ASSERT_TRUE(IsWindow(hTop));
    EXPECT_EQ("GETMINMAXINFO NCCREATE NCCALCSIZE CREATE SIZE MOVE", CMessageLog::Get().Names(hTop));
    char szText[16];
    EXPECT_EQ(4, GetWindowTextA(hTop, szText, sizeof szText));       // WM_NCCREATE's default took the title
    EXPECT_STREQ("test", szText);

    CMessageLog::Get().Clear();
    HWND hChild = CreateTestWindow(hTop, WS_CHILD | WS_VISIBLE, 7);
    ASSERT_TRUE(IsWindow(hChild));
    EXPECT_EQ("NCCREATE NCCALCSIZE CREATE SIZE MOVE SHOWWINDOW POSCHANGING POSCHANGED", CMessageLog::Get().Names(hChild));
    EXPECT_EQ("PARENTNOTIFY", CMessageLog::Get().Names(hTop));
    EXPECT_EQ(hChild, GetDlgItem(hTop, 7));
    EXPECT_EQ(7, GetDlgCtrlID(hChild));
    EXPECT_EQ(hTop, GetParent(hChild));
    DestroyWindow(hTop);
    EXPECT_FALSE(IsWindow(hChild));
}

TEST_F(WindowTest, RefusedCreationLeavesNoWindow)
{
    static HWND s_hSeen = nullptr;
    g_pfnTestOverride = [](HWND hWnd, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled) -> LRESULT {
        if (uMsg == WM_CREATE) {
            s_hSeen = hWnd;
            *pbHandled = TRUE;
            return -1;
        }
        return 0;
    };
    EXPECT_EQ(nullptr, CreateTestWindow());
    EXPECT_FALSE(IsWindow(s_hSeen));
    EXPECT_EQ("GETMINMAXINFO NCCREATE NCCALCSIZE CREATE DESTROY NCDESTROY", CMessageLog::Get().Names(s_hSeen));

    CMessageLog::Get().Clear();
    g_pfnTestOverride = [](HWND hWnd, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled) -> LRESULT {
        s_hSeen = hWnd;
        *pbHandled = uMsg == WM_NCCREATE;
        return FALSE;
    };
    EXPECT_EQ(nullptr, CreateTestWindow());
    EXPECT_FALSE(IsWindow(s_hSeen));
    EXPECT_EQ("GETMINMAXINFO NCCREATE DESTROY NCDESTROY", CMessageLog::Get().Names(s_hSeen));
}

namespace {
HHOOK g_hHook = nullptr;
WNDPROC g_pfnClassProc = nullptr;
std::vector<std::string> g_hookLog;

LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE)
        g_hookLog.push_back("subclass NCCREATE");
    if (uMsg == WM_NCDESTROY) {
        // Give the window its own procedure back before it goes, as a framework object detaching does.
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnClassProc));
        g_hookLog.push_back("subclass NCDESTROY");
    }
    return CallWindowProcA(g_pfnClassProc, hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CbtHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_CREATEWND) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        auto* pCbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        g_hookLog.push_back(std::string("hook CREATEWND ") + pCbt->lpcs->lpszName);
        if (std::string(pCbt->lpcs->lpszName) == "refuse")
            return 1;
        g_pfnClassProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
        UnhookWindowsHookEx(g_hHook);
        g_hHook = nullptr;
        return 0;
    }
    return CallNextHookEx(g_hHook, nCode, wParam, lParam);
}
}

TEST_F(WindowTest, CreationHookSubclassesBeforeTheFirstMessage)
{
    g_hookLog.clear();
    g_hHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, 0);
    ASSERT_NE(nullptr, g_hHook);
    HWND hWnd = CreateWindowExA(0, TestWindowClass(), "hooked", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(IsWindow(hWnd));
    ASSERT_EQ(2u, g_hookLog.size());
    EXPECT_EQ("hook CREATEWND hooked", g_hookLog[0]);
    EXPECT_EQ("subclass NCCREATE", g_hookLog[1]);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(SubclassProc), GetWindowLongPtrA(hWnd, GWLP_WNDPROC));

    // The class procedure still sees WM_NCDESTROY after the subclass put it back.
    CMessageLog::Get().Clear();
    DestroyWindow(hWnd);
    EXPECT_EQ("subclass NCDESTROY", g_hookLog.back());
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_NCDESTROY, hWnd));

    g_hookLog.clear();
    g_hHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, 0);
    EXPECT_EQ(nullptr, CreateWindowExA(0, TestWindowClass(), "refuse", 0, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_NCCREATE));
    UnhookWindowsHookEx(g_hHook);
}

TEST_F(WindowTest, DestructionOrderAndStaleHandles)
{
    HWND hTop = CreateTestWindow();
    HWND hA = CreateTestWindow(hTop, WS_CHILD, 1);
    HWND hB = CreateTestWindow(hTop, WS_CHILD, 2);
    HWND hA1 = CreateTestWindow(hA, WS_CHILD, 3);
    CMessageLog::Get().Clear();
    ASSERT_TRUE(DestroyWindow(hTop));
    std::vector<std::pair<HWND, UINT>> seen;
    for (const auto& m : CMessageLog::Get().All())
        if (m.uMsg == WM_DESTROY || m.uMsg == WM_NCDESTROY)
            seen.emplace_back(m.hWnd, m.uMsg);
    std::vector<std::pair<HWND, UINT>> expected = {
        {hTop, WM_DESTROY}, {hA, WM_DESTROY}, {hA1, WM_DESTROY}, {hB, WM_DESTROY},
        {hA1, WM_NCDESTROY}, {hA, WM_NCDESTROY}, {hB, WM_NCDESTROY}, {hTop, WM_NCDESTROY}};
    EXPECT_EQ(expected, seen);
    for (HWND h : {hTop, hA, hB, hA1})
        EXPECT_FALSE(IsWindow(h));

    // A dead handle finds nothing, even after many new windows took its place in the table.
    std::set<HWND> fresh;
    for (int i = 0; i < 300; ++i) {
        HWND h = CreateTestWindow();
        fresh.insert(h);
        DestroyWindow(h);
    }
    EXPECT_EQ(0u, fresh.count(hTop) + fresh.count(hA) + fresh.count(hB) + fresh.count(hA1));
    CMessageLog::Get().Clear();
    EXPECT_EQ(0, SendMessageA(hA, WM_USER, 0, 0));
    EXPECT_FALSE(PostMessageA(hA, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(hA));
    EXPECT_EQ(0u, CMessageLog::Get().All().size());
}

TEST_F(WindowTest, ThrowingHandlerAnswersZeroAndTheProgramGoesOn)
{
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_USER)
            throw std::runtime_error("handler failed");
        return 0;
    };
    HWND hWnd = CreateTestWindow();
    EXPECT_EQ(0, SendMessageA(hWnd, WM_USER, 0, 0));
    PostMessageA(hWnd, WM_USER, 0, 0);
    PostMessageA(hWnd, WM_USER + 1, 0, 0);
    PumpReady();
    EXPECT_EQ(3, CMessageLog::Get().Count(WM_USER) + CMessageLog::Get().Count(WM_USER + 1));
    EXPECT_TRUE(IsWindow(hWnd));
    EXPECT_TRUE(SetWindowTextA(hWnd, "still alive"));
    DestroyWindow(hWnd);
}

TEST_F(WindowTest, GeometryMessagesAndCoordinates)
{
    HWND hTop = CreateTestWindow();
    HWND hChild = CreateTestWindow(hTop, WS_CHILD | WS_VISIBLE, 1);
    CMessageLog::Get().Clear();
    ASSERT_TRUE(MoveWindow(hChild, 30, 40, 60, 50, TRUE));
    EXPECT_EQ("POSCHANGING POSCHANGED MOVE SIZE", CMessageLog::Get().Names(hChild));
    RecordedMessage size = {};
    for (const auto& m : CMessageLog::Get().All())
        if (m.uMsg == WM_SIZE)
            size = m;
    EXPECT_EQ(60, LOWORD(size.lParam));
    EXPECT_EQ(50, HIWORD(size.lParam));

    CMessageLog::Get().Clear();
    MoveWindow(hChild, 30, 40, 60, 50, TRUE);       // nothing changed: no WM_MOVE, no WM_SIZE
    EXPECT_EQ("POSCHANGING POSCHANGED", CMessageLog::Get().Names(hChild));

    POINT pt = {5, 6};
    ClientToScreen(hChild, &pt);
    EXPECT_EQ(10 + 30 + 5, pt.x);
    EXPECT_EQ(20 + 40 + 6, pt.y);
    ScreenToClient(hTop, &pt);
    EXPECT_EQ(35, pt.x);
    RECT rc;
    GetClientRect(hChild, &rc);
    EXPECT_EQ(60, rc.right);
    GetWindowRect(hChild, &rc);
    EXPECT_EQ(40, rc.left);

    EXPECT_FALSE(IsWindowVisible(hChild));          // the parent is still hidden
    ShowWindow(hTop, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(hChild));
    EXPECT_EQ(hChild, WindowFromPoint(POINT{50, 70}));
    EXPECT_EQ(hTop, WindowFromPoint(POINT{12, 22}));
    DestroyWindow(hTop);
}

TEST_F(WindowTest, FocusMovesWithMessagesAndLeavesWithTheWindow)
{
    HWND hTop = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hA = CreateTestWindow(hTop, WS_CHILD | WS_VISIBLE, 1);
    HWND hB = CreateTestWindow(hTop, WS_CHILD | WS_VISIBLE, 2);
    EXPECT_EQ(hTop, GetActiveWindow());
    EXPECT_EQ(hTop, GetFocus());                    // the activated window took the focus
    SetFocus(hA);
    CMessageLog::Get().Clear();
    EXPECT_EQ(hA, SetFocus(hB));
    EXPECT_EQ("KILLFOCUS", CMessageLog::Get().Names(hA));
    EXPECT_EQ("SETFOCUS", CMessageLog::Get().Names(hB));
    EXPECT_EQ(hB, GetFocus());

    EnableWindow(hB, FALSE);                        // a disabled window gives the focus up
    EXPECT_EQ(nullptr, GetFocus());
    EXPECT_FALSE(IsWindowEnabled(hB));
    EnableWindow(hB, TRUE);
    SetFocus(hB);
    SetCapture(hB);
    DestroyWindow(hB);
    EXPECT_EQ(hTop, GetFocus());                    // the focus falls back to the parent
    EXPECT_EQ(nullptr, GetCapture());
    DestroyWindow(hTop);
    EXPECT_EQ(nullptr, GetActiveWindow());
}

TEST_F(WindowTest, WindowDataAndClasses)
{
    HWND hWnd = CreateTestWindow();
    EXPECT_EQ(0, SetWindowLongPtrA(hWnd, GWLP_USERDATA, 1234));
    EXPECT_EQ(1234, GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    EXPECT_EQ(0, SetWindowLongPtrA(hWnd, 8, 99));                // extra bytes of the class
    EXPECT_EQ(99, GetWindowLongPtrA(hWnd, 8));
    EXPECT_EQ(0, GetWindowLongPtrA(hWnd, 16));                   // past the extra bytes: refused
    EXPECT_EQ(0, SetWindowLongPtrA(hWnd, 12, 5));
    char szClass[8];
    EXPECT_EQ(7, GetClassNameA(hWnd, szClass, sizeof szClass));  // cut to the buffer
    EXPECT_STREQ("TbTestW", szClass);
    WNDCLASSA wc = {};
    EXPECT_TRUE(GetClassInfoA(nullptr, "tbtestwindow", &wc));     // names compare without case
    wc.lpszClassName = "TbTestWindow";
    EXPECT_EQ(0, RegisterClassA(&wc));                           // registered twice: refused
    EXPECT_EQ(nullptr, CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    EXPECT_NE(0u, RegisterWindowMessageA("TbTestMessage"));
    EXPECT_EQ(RegisterWindowMessageA("TbTestMessage"), RegisterWindowMessageA("tbtestmessage"));
    DestroyWindow(hWnd);
}

TEST_F(WindowTest, PlacementKeepsTheRestoredRectangleWhileMaximised)
{
    HWND hWnd = CreateTestWindow();
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    wp.showCmd = SW_SHOWMAXIMIZED;
    wp.rcNormalPosition = RECT{30, 40, 330, 240};
    ASSERT_TRUE(SetWindowPlacement(hWnd, &wp));
    EXPECT_TRUE(IsZoomed(hWnd));
    RECT rc;
    GetClientRect(hWnd, &rc);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rc.right);
    WINDOWPLACEMENT got = {};
    ASSERT_TRUE(GetWindowPlacement(hWnd, &got));
    EXPECT_EQ(static_cast<UINT>(SW_SHOWMAXIMIZED), got.showCmd);
    EXPECT_TRUE(EqualRect(&wp.rcNormalPosition, &got.rcNormalPosition));
    ShowWindow(hWnd, SW_RESTORE);
    GetWindowRect(hWnd, &rc);
    EXPECT_TRUE(EqualRect(&wp.rcNormalPosition, &rc));
    wp.rcNormalPosition = RECT{10, 10, 5, 5};                   // inverted: refused
    EXPECT_FALSE(SetWindowPlacement(hWnd, &wp));
    DestroyWindow(hWnd);
}

TEST_F(WindowTest, TreeOrderReparentingAndEnumeration)
{
    HWND hTop = CreateTestWindow();
    HWND hA = CreateTestWindow(hTop, WS_CHILD, 1);
    HWND hB = CreateTestWindow(hTop, WS_CHILD, 2);
    HWND hC = CreateTestWindow(hB, WS_CHILD, 3);
    // Children come in creation order, as dialogs rely on for their tab order.
    EXPECT_EQ(hA, GetWindow(hTop, GW_CHILD));
    EXPECT_EQ(hB, GetWindow(hA, GW_HWNDNEXT));
    EXPECT_EQ(nullptr, GetWindow(hB, GW_HWNDNEXT));
    EXPECT_EQ(hTop, GetAncestor(hC, GA_ROOT));
    EXPECT_TRUE(IsChild(hTop, hC));
    SetWindowPos(hB, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(hB, GetWindow(hTop, GW_CHILD));

    static std::vector<HWND> s_seen;
    s_seen.clear();
    EnumChildWindows(hTop, [](HWND h, LPARAM) -> BOOL { s_seen.push_back(h); return TRUE; }, 0);
    EXPECT_EQ((std::vector<HWND>{hB, hC, hA}), s_seen);

    EXPECT_EQ(hB, SetParent(hC, hA));
    EXPECT_EQ(hA, GetParent(hC));
    EXPECT_EQ(nullptr, SetParent(hA, hC));          // a window cannot go under its own child
    DestroyWindow(hA);
    EXPECT_FALSE(IsWindow(hC));                     // it went with its new parent
    DestroyWindow(hTop);
}

namespace {
// The size/move messages and the place changes between them, in order, for one window.
std::string SizeMoveLog(HWND hWnd)
{
    std::string str;
    for (const RecordedMessage& m : CMessageLog::Get().All()) {
        const char* psz = m.uMsg == WM_ENTERSIZEMOVE ? "ENTER" : m.uMsg == WM_EXITSIZEMOVE ? "EXIT"
                        : m.uMsg == WM_SIZE ? "SIZE" : m.uMsg == WM_MOVE ? "MOVE" : nullptr;
        if (psz && m.hWnd == hWnd)
            str += (str.empty() ? "" : " ") + std::string(psz);
    }
    return str;
}
}  // namespace

TEST_F(WindowTest, TheUsersDragOfATopLevelWindowIsOneSizeMovePhase)
{
    HWND hTop = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    MoveWindow(hTop, 10, 10, 300, 200, TRUE);
    CMessageLog::Get().Clear();
    // Several reports close together are one drag; a report of the place it has is no change.
    TbDisplayGeometry(hTop, 10, 10, 320, 200);
    TbDisplayGeometry(hTop, 10, 10, 340, 210);
    TbDisplayGeometry(hTop, 10, 10, 340, 210);
    PumpFor(TB_SIZEMOVE_QUIET_MS / 3);
    TbDisplayGeometry(hTop, 20, 10, 340, 210);
    EXPECT_EQ("ENTER SIZE SIZE MOVE", SizeMoveLog(hTop));
    PumpFor(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_EQ("ENTER SIZE SIZE MOVE EXIT", SizeMoveLog(hTop));
    RECT rc;
    GetWindowRect(hTop, &rc);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(340, rc.right - rc.left);

    // The next change after quiet is a new drag.
    CMessageLog::Get().Clear();
    TbDisplayGeometry(hTop, 30, 10, 340, 210);
    PumpFor(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_EQ("ENTER MOVE EXIT", SizeMoveLog(hTop));

    // Places the program sets are no drag.
    CMessageLog::Get().Clear();
    MoveWindow(hTop, 40, 40, 200, 100, TRUE);
    SetWindowPos(hTop, nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpFor(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_EQ("MOVE SIZE MOVE", SizeMoveLog(hTop));
    DestroyWindow(hTop);
}

TEST_F(WindowTest, ASizeMovePhaseLastsWhileTheButtonIsHeld)
{
    CFakeDisplay display;
    HWND hTop = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    MoveWindow(hTop, 10, 10, 300, 200, TRUE);
    CMessageLog::Get().Clear();
    display.m_bLeftDown = TRUE;
    TbDisplayGeometry(hTop, 10, 10, 320, 200);
    PumpFor(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_EQ("ENTER SIZE", SizeMoveLog(hTop));     // a paused drag
    display.m_bLeftDown = FALSE;
    PumpFor(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_EQ("ENTER SIZE EXIT", SizeMoveLog(hTop));
    // A window destroyed inside its phase leaves no timer behind to call for it.
    CMessageLog::Get().Clear();
    TbDisplayGeometry(hTop, 10, 10, 330, 200);
    DestroyWindow(hTop);
    PumpFor(TB_SIZEMOVE_QUIET_MS * 2);
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_EXITSIZEMOVE));
}

// Loading a workspace redraws the main window once, at the end: while locked it draws nothing.
TEST_F(WindowTest, LockedWindowUpdatesOnceWhenUnlocked)
{
    HWND hA = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hB = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    PumpReady();
    ASSERT_TRUE(LockWindowUpdate(hA));
    EXPECT_FALSE(LockWindowUpdate(hB));             // one window at a time
    CMessageLog::Get().Clear();
    InvalidateRect(hA, nullptr, TRUE);
    PumpReady();
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_PAINT, hA));
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    EXPECT_FALSE(LockWindowUpdate(nullptr));
    PumpReady();
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_PAINT, hA));
    EXPECT_TRUE(LockWindowUpdate(hB));
    DestroyWindow(hB);
    EXPECT_TRUE(LockWindowUpdate(hA));              // a destroyed window holds no lock
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    DestroyWindow(hA);
}
