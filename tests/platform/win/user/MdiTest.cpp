// MDI without a display: the client's children, their activation, arrangement and window list,
// the frame's and the children's default procedures, and the MDI system keys.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "FakeDisplay.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "WindowTestSupport.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Mdi.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/Window.h"

namespace {
const UINT ID_FIRST_CHILD = 0xFF00;

// Children that hide on WM_CLOSE instead of going away, as a connection window does.
std::set<HWND>& HidingChildren()
{
    static std::set<HWND> s_hiding;
    return s_hiding;
}

LRESULT CALLBACK FrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CMessageLog::Get().Add(hWnd, uMsg, wParam, lParam);
    return DefFrameProcA(hWnd, reinterpret_cast<HWND>(GetWindowLongPtrA(hWnd, 0)), uMsg, wParam, lParam);
}

// Children that are never smaller than their form, as an order ticket is: the size they answer.
std::map<HWND, SIZE>& FormChildren()
{
    static std::map<HWND, SIZE> s_forms;
    return s_forms;
}

LRESULT CALLBACK ChildProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CMessageLog::Get().Add(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_GETMINMAXINFO && FormChildren().count(hWnd)) {
        DefMDIChildProcA(hWnd, uMsg, wParam, lParam);
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{FormChildren()[hWnd].cx, FormChildren()[hWnd].cy};
        return 0;
    }
    if (uMsg == WM_CLOSE && HidingChildren().count(hWnd)) {
        ShowWindow(hWnd, SW_HIDE);
        return 0;
    }
    return DefMDIChildProcA(hWnd, uMsg, wParam, lParam);
}

struct MdiFixture : ::testing::Test {
    void SetUp() override
    {
        static bool s_bRegistered = false;
        if (!s_bRegistered) {
            WNDCLASSA wc = {0, FrameProc, 0, sizeof(LONG_PTR), nullptr, nullptr, nullptr, nullptr, nullptr, "TbMdiFrame"};
            RegisterClassA(&wc);
            WNDCLASSA wcChild = {0, ChildProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "TbMdiChild"};
            RegisterClassA(&wcChild);
            s_bRegistered = true;
        }
        hWindowMenu = CreatePopupMenu();
        AppendMenuA(hWindowMenu, MF_STRING, 500, "&Cascade");
        AppendMenuA(hWindowMenu, MF_STRING, 501, "&Tile");
        hBar = CreateMenu();
        AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindowMenu), "&Window");
        hFrame = CreateWindowExA(0, "TbMdiFrame", "Terminal", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, hBar,
                                 nullptr, nullptr);
        CLIENTCREATESTRUCT ccs = {hWindowMenu, ID_FIRST_CHILD};
        RECT rc;
        GetClientRect(hFrame, &rc);
        hClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, rc.right,
                                  rc.bottom, hFrame, nullptr, nullptr, &ccs);
        SetWindowLongPtrA(hFrame, 0, reinterpret_cast<LONG_PTR>(hClient));
        ShowWindow(hFrame, SW_SHOW);
        PumpReady();
        CMessageLog::Get().Clear();
    }
    void TearDown() override
    {
        DestroyWindow(hFrame);
        DestroyMenu(hBar);
        HidingChildren().clear();
        FormChildren().clear();
    }
    HWND Create(const char* pszTitle, DWORD dwStyle = WS_VISIBLE, int x = CW_USEDEFAULT, int cx = CW_USEDEFAULT)
    {
        MDICREATESTRUCTA mcs = {"TbMdiChild", pszTitle, nullptr, x, x, cx, cx, dwStyle, 0};
        return reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }
    HWND Active(BOOL* pbMaximized = nullptr) const
    {
        return reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    }
    static RECT RectIn(HWND hWnd, HWND hParent)
    {
        RECT rc;
        GetWindowRect(hWnd, &rc);
        MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    // The rectangle the child takes with the frame and title bar the display draws around it.
    static RECT OuterIn(HWND hWnd, HWND hParent)
    {
        RECT rc = RectIn(hWnd, hParent), rcFrame;
        TbGetDisplay()->GetMdiChildFrame(&rcFrame);
        return RECT{rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom};
    }
    static std::string Str(const RECT& rc)
    {
        return std::to_string(rc.left) + "," + std::to_string(rc.top) + " " + std::to_string(rc.right - rc.left) + "x" +
               std::to_string(rc.bottom - rc.top);
    }
    // The window menu's items after its own two, "&1 A*|&2 B" with * on the active child.
    std::string WindowList() const
    {
        std::string str;
        for (int i = 2; i < GetMenuItemCount(hWindowMenu); ++i) {
            char sz[64];
            GetMenuStringA(hWindowMenu, static_cast<UINT>(i), sz, sizeof sz, MF_BYPOSITION);
            const UINT uState = GetMenuState(hWindowMenu, static_cast<UINT>(i), MF_BYPOSITION);
            str += (uState & MF_SEPARATOR) ? std::string("-") : std::string("|") + sz + ((uState & MF_CHECKED) ? "*" : "");
        }
        return str;
    }
    HMENU hBar = nullptr, hWindowMenu = nullptr;
    HWND hFrame = nullptr, hClient = nullptr;
};

// Holds a key through the queue, so that the keyboard state says it is down.
void Hold(int nVk, BOOL bDown)
{
    HWND hWnd = CreateTestWindow();
    PostMessageA(hWnd, bDown ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(nVk), 0);
    MSG msg;
    while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) {
    }
    DestroyWindow(hWnd);
}
}  // namespace

TEST_F(MdiFixture, ChildrenAreCreatedActivatedAndListed)
{
    HWND hA = Create("Quotes");
    ASSERT_NE(nullptr, hA);
    EXPECT_TRUE(GetWindowLongA(hA, GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(hClient, GetParent(hA));
    EXPECT_EQ(hA, Active());
    // The child is told it is active: WM_MDIACTIVATE with lParam the activated one.
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CHILDACTIVATE, hA));
    ASSERT_EQ(1, CMessageLog::Get().Count(WM_MDIACTIVATE, hA));
    HWND hB = Create("Orders");
    HWND hC = Create("Link");
    EXPECT_EQ(hC, Active());
    EXPECT_EQ(hC, GetFocus());
    // CW_USEDEFAULT places each child a step down the cascade, its frame inside the client.
    RECT rcA = OuterIn(hA, hClient), rcB = OuterIn(hB, hClient);
    EXPECT_EQ(0, rcA.left);
    EXPECT_EQ(0, rcA.top);
    EXPECT_GT(rcB.left, rcA.left);
    EXPECT_EQ(rcB.left - rcA.left, rcB.top - rcA.top);
    EXPECT_EQ(static_cast<int>(ID_FIRST_CHILD + 1), GetDlgCtrlID(hB));
    EXPECT_EQ("-|&1 Quotes|&2 Orders|&3 Link*", WindowList());

    // Activation: the old child hears it lost, the new one that it won, each with both handles.
    CMessageLog::Get().Clear();
    SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hA), 0);
    EXPECT_EQ(hA, Active());
    EXPECT_EQ(hA, GetWindow(hClient, GW_CHILD));            // on top
    for (HWND h : {hA, hC}) {
        ASSERT_EQ(1, CMessageLog::Get().Count(WM_MDIACTIVATE, h));
        for (const auto& m : CMessageLog::Get().All())
            if (m.hWnd == h && m.uMsg == WM_MDIACTIVATE) {
                EXPECT_EQ(reinterpret_cast<WPARAM>(hC), m.wParam);
                EXPECT_EQ(reinterpret_cast<LPARAM>(hA), m.lParam);
            }
    }
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_MDIACTIVATE, hB));
    EXPECT_EQ("-|&1 Quotes*|&2 Orders|&3 Link", WindowList());

    // Next goes round the z-order, the one left going to the bottom; previous takes the bottom one.
    SendMessageA(hClient, WM_MDINEXT, 0, 0);
    const HWND hSecond = Active();
    EXPECT_NE(hA, hSecond);
    EXPECT_EQ(hA, GetWindow(GetWindow(hClient, GW_CHILD), GW_HWNDLAST));
    SendMessageA(hClient, WM_MDINEXT, 0, 0);
    SendMessageA(hClient, WM_MDINEXT, 0, 0);
    EXPECT_EQ(hA, Active());
    SendMessageA(hClient, WM_MDINEXT, 0, 1);
    EXPECT_EQ(GetWindow(hClient, GW_CHILD), Active());

    // The window list's command activates its child through the frame's default procedure.
    SendMessageA(hFrame, WM_COMMAND, ID_FIRST_CHILD + 1, 0);
    EXPECT_EQ(hB, Active());
    // Destroying the active child activates another and renumbers the rest.
    SendMessageA(hClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hB), 0);
    EXPECT_FALSE(IsWindow(hB));
    EXPECT_NE(nullptr, Active());
    EXPECT_EQ(static_cast<int>(ID_FIRST_CHILD + 1), GetDlgCtrlID(hC));
    SetWindowTextA(hC, "Link 2");
    SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hC), 0);
    EXPECT_EQ("-|&1 Quotes|&2 Link 2*", WindowList());
}

TEST_F(MdiFixture, MaximisedModeFollowsTheActiveChild)
{
    HWND hA = Create("A", WS_VISIBLE, 10, 200);
    HWND hB = Create("B", WS_VISIBLE, 30, 200);
    RECT rcClient;
    GetClientRect(hClient, &rcClient);
    SendMessageA(hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hB), 0);
    BOOL bMaximized = FALSE;
    EXPECT_EQ(hB, Active(&bMaximized));
    EXPECT_TRUE(bMaximized);
    EXPECT_TRUE(IsZoomed(hB));
    EXPECT_EQ(Str(rcClient), Str(RectIn(hB, hClient)));
    // Activating another child carries the mode over.
    SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hA), 0);
    EXPECT_TRUE(IsZoomed(hA));
    EXPECT_FALSE(IsZoomed(hB));
    EXPECT_EQ("30,30 200x200", Str(RectIn(hB, hClient)));
    // The maximised child follows the client's size.
    MoveWindow(hClient, 0, 0, 500, 300, TRUE);
    EXPECT_EQ("0,0 500x300", Str(RectIn(hA, hClient)));
    SendMessageA(hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hA), 0);
    EXPECT_EQ(hA, Active(&bMaximized));
    EXPECT_FALSE(bMaximized);
    EXPECT_EQ("10,10 200x200", Str(RectIn(hA, hClient)));

    // The user's system commands go through the child's default procedure to the client.
    SendMessageA(hB, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(hB, Active(&bMaximized));
    EXPECT_TRUE(bMaximized);
    SendMessageA(hB, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(hB));
    SendMessageA(hA, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(hA));
    RECT rcIcon = RectIn(hA, hClient);
    EXPECT_EQ(0, rcIcon.left);
    EXPECT_EQ(300, rcIcon.bottom);                          // in the icon row at the bottom
    SendMessageA(hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hA), 0);
    EXPECT_EQ("10,10 200x200", Str(RectIn(hA, hClient)));
    // A frame that reads right to left starts the row at the right.
    SetWindowLongA(hFrame, GWL_EXSTYLE, GetWindowLongA(hFrame, GWL_EXSTYLE) | WS_EX_RTLREADING);
    SendMessageA(hA, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendMessageA(hB, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(500, RectIn(hA, hClient).right);
    EXPECT_EQ(RectIn(hA, hClient).left, RectIn(hB, hClient).right);
    EXPECT_EQ(300, RectIn(hB, hClient).bottom);
}

// Alt and minus open the menu of the document window that has the keyboard, restored or
// maximised; its choice is that window's command.
TEST_F(MdiFixture, AltMinusOpensTheDocumentWindowsMenu)
{
    HWND hA = Create("A");
    for (UINT uCommand : {SC_MAXIMIZE, SC_RESTORE}) {
        SetFocus(hA);
        TbClearTestAnswers();
        TbQueueTestAnswer({TB_ASK_POPUPMENU, static_cast<int>(uCommand), ""});
        TbDisplayKey(WM_KEYDOWN, VK_OEM_MINUS, MAKELPARAM(1, KF_ALTDOWN), "-");
        TbDisplayKey(WM_KEYUP, VK_OEM_MINUS, MAKELPARAM(1, KF_ALTDOWN | KF_UP), nullptr);
        PumpReady();
        EXPECT_EQ(0, TbPendingTestAnswers()) << "no menu opened";
        EXPECT_EQ(uCommand == SC_MAXIMIZE, IsZoomed(hA) != FALSE);
    }
}

TEST_F(MdiFixture, ChildrenAreTiledAndCascaded)
{
    MoveWindow(hClient, 0, 0, 600, 400, TRUE);
    HWND hA = Create("A");
    HWND hB = Create("B");
    HWND hHidden = Create("Hidden", 0);
    EXPECT_FALSE(IsWindowVisible(hHidden));
    EXPECT_EQ(hB, Active());
    // Two windows one above another, or side by side; the topmost takes the first place.
    EXPECT_TRUE(SendMessageA(hClient, WM_MDITILE, MDITILE_HORIZONTAL, 0));
    EXPECT_EQ("0,0 600x200", Str(OuterIn(hB, hClient)));
    EXPECT_EQ("0,200 600x200", Str(OuterIn(hA, hClient)));
    EXPECT_TRUE(SendMessageA(hClient, WM_MDITILE, MDITILE_VERTICAL, 0));
    EXPECT_EQ("0,0 300x400", Str(OuterIn(hB, hClient)));
    EXPECT_EQ("300,0 300x400", Str(OuterIn(hA, hClient)));
    // Five: two groups, the second one window more.
    HWND hC = Create("C"), hD = Create("D"), hE = Create("E");
    EXPECT_TRUE(SendMessageA(hClient, WM_MDITILE, MDITILE_VERTICAL, 0));
    EXPECT_EQ("0,0 300x200", Str(OuterIn(hE, hClient)));
    EXPECT_EQ("300,0 300x200", Str(OuterIn(hD, hClient)));
    EXPECT_EQ("0,200 200x200", Str(OuterIn(hC, hClient)));
    EXPECT_EQ("400,200 200x200", Str(OuterIn(hA, hClient)));
    // Cascade: the same size, a step apart, the active child last and on top.
    EXPECT_EQ(5, SendMessageA(hClient, WM_MDICASCADE, 0, 0));
    RECT rcE = RectIn(hE, hClient), rcD = RectIn(hD, hClient);
    EXPECT_EQ(rcE.right - rcE.left, rcD.right - rcD.left);
    EXPECT_GT(rcE.top, rcD.top);
    EXPECT_EQ(hE, Active());
    // A maximised child is restored before an arrangement.
    SendMessageA(hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hE), 0);
    SendMessageA(hClient, WM_MDICASCADE, 0, 0);
    BOOL bMaximized = TRUE;
    Active(&bMaximized);
    EXPECT_FALSE(bMaximized);
    EXPECT_FALSE(IsZoomed(hE));
}

namespace {
// A display whose sub-windows have a tall title bar and uneven borders.
class CFramedDisplay : public CFakeDisplay
{
public:
    void GetMdiChildFrame(RECT* prcFrame) override { *prcFrame = RECT{5, 30, 7, 9}; }
};
}  // namespace

TEST_F(MdiFixture, PlacesLeaveRoomForTheDisplaysFrame)
{
    CFramedDisplay display;
    MoveWindow(hClient, 0, 0, 600, 400, TRUE);
    // A child placed by default: its title bar starts at the client's corner.
    HWND hA = Create("A");
    EXPECT_EQ(5, RectIn(hA, hClient).left);
    EXPECT_EQ(30, RectIn(hA, hClient).top);
    HWND hB = Create("B");
    // Tiled: the outer rectangles share the client, the clients lie inside them.
    SendMessageA(hClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    EXPECT_EQ("5,30 588x161", Str(RectIn(hB, hClient)));
    EXPECT_EQ("5,230 588x161", Str(RectIn(hA, hClient)));
    HWND hC = Create("C");
    HWND hD = Create("D");
    std::vector<HWND> all = {hA, hB, hC, hD};
    for (UINT uMsg : {WM_MDITILE, WM_MDICASCADE}) {
        SendMessageA(hClient, uMsg, MDITILE_VERTICAL, 0);
        for (HWND h : all) {
            const RECT rc = OuterIn(h, hClient);
            EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= 600 && rc.bottom <= 400)
                << "message " << uMsg << ": " << Str(rc);
        }
    }
    // The cascade steps one title bar, so that each title shows below the one behind it.
    EXPECT_EQ(OuterIn(hA, hClient).top + 30, OuterIn(hB, hClient).top);
    EXPECT_EQ(OuterIn(hC, hClient).top + 30, OuterIn(hD, hClient).top);
}

namespace {
// Whether any of the windows in 'above' lies over the rectangle.
bool Covered(const RECT& rc, const std::vector<RECT>& above)
{
    for (const RECT& r : above)
        if (r.left < rc.right && rc.left < r.right && r.top < rc.bottom && rc.top < r.bottom)
            return true;
    return false;
}
}  // namespace

// However many windows are open, the cascade shows each window's caption below the one behind it
// and the active window whole, in front; no window lies over the whole cascade.
TEST_F(MdiFixture, CascadeShowsEveryCaptionAndTheActiveWindowInFront)
{
    CFramedDisplay display;
    MoveWindow(hClient, 0, 0, 1000, 700, TRUE);
    const int nTitle = 30;                  // the framed display's title bar, the cascade's step
    std::vector<HWND> windows;
    for (int n = 1; n <= 30; ++n) {
        SCOPED_TRACE(std::to_string(n) + " windows");
        windows.push_back(Create(("W" + std::to_string(n)).c_str()));
        EXPECT_EQ(n, SendMessageA(hClient, WM_MDICASCADE, 0, 0));
        const HWND hActive = Active();
        std::vector<RECT> above;            // the outer rectangles of the windows over the one looked at
        int nFrontTop = -1;
        for (HWND h = GetWindow(hClient, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            const RECT rc = OuterIn(h, hClient);
            EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= 1000 && rc.bottom <= 700) << Str(rc);
            if (above.empty()) {
                EXPECT_EQ(hActive, h);
            }
            // Up to a dozen windows (more than the client takes at three quarters of its size),
            // the caption's start shows: where its icon and title begin.
            if (n <= 12) {
                if (h == GetWindow(GetWindow(hClient, GW_CHILD), GW_HWNDLAST)) {
                    EXPECT_EQ("0,0", Str(rc).substr(0, 3)) << "the cascade starts at the client's corner";
                }
                EXPECT_FALSE(Covered(RECT{rc.left, rc.top, rc.left + nTitle, rc.top + nTitle}, above)) << Str(rc);
                EXPECT_GE(rc.bottom - rc.top, 700 / 3);
                EXPECT_GE(rc.right - rc.left, 1000 / 3);
            }
            nFrontTop = std::max(nFrontTop, static_cast<int>(rc.top));
            above.push_back(rc);
        }
        EXPECT_EQ(nFrontTop, OuterIn(hActive, hClient).top) << "the active window is not the front one";
    }
}

// In a frame that reads right to left the arrangements start at the client's right, as the
// minimised windows' row does: a new window, the cascade's back-most window and the first tile.
TEST_F(MdiFixture, AFrameThatReadsRightToLeftArrangesFromTheRight)
{
    CFramedDisplay display;
    MoveWindow(hClient, 0, 0, 1000, 700, TRUE);
    SetWindowLongA(hFrame, GWL_EXSTYLE, GetWindowLongA(hFrame, GWL_EXSTYLE) | WS_EX_RTLREADING);
    const HWND hFirst = Create("W1");
    EXPECT_EQ(1000, OuterIn(hFirst, hClient).right) << "a new window at the right: " << Str(OuterIn(hFirst, hClient));
    Create("W2");
    Create("W3");
    SendMessageA(hClient, WM_MDICASCADE, 0, 0);
    const HWND hBack = GetWindow(GetWindow(hClient, GW_CHILD), GW_HWNDLAST);
    EXPECT_EQ(1000, OuterIn(hBack, hClient).right) << Str(OuterIn(hBack, hClient));
    EXPECT_EQ(0, OuterIn(hBack, hClient).top);
    // Each window over another a step lower and further left, its caption's start in view.
    for (HWND h = GetWindow(hBack, GW_HWNDPREV); h != nullptr; h = GetWindow(h, GW_HWNDPREV)) {
        const RECT rc = OuterIn(h, hClient), rcUnder = OuterIn(GetWindow(h, GW_HWNDNEXT), hClient);
        EXPECT_LT(rc.right, rcUnder.right) << Str(rc);
        EXPECT_GT(rc.top, rcUnder.top) << Str(rc);
        EXPECT_GE(rc.left, 0) << Str(rc);
    }
    SendMessageA(hClient, WM_MDITILE, MDITILE_VERTICAL, 0);
    EXPECT_EQ(1000, OuterIn(Active(), hClient).right) << "the topmost takes the first place, at the right";
    SendMessageA(hClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    EXPECT_EQ(1000, OuterIn(Active(), hClient).right);
}

// Tile and Cascade never make a form smaller than its dialog: tiled, the forms stand whole one
// above another at the reading start and the other windows share the rest; where they do not fit
// beside the others, each is placed whole inside the client. Every window stays inside the client.
TEST_F(MdiFixture, ArrangementsLeaveAFormWhole)
{
    CFramedDisplay display;
    MoveWindow(hClient, 0, 0, 1000, 700, TRUE);
    for (DWORD dwReading : {DWORD(0), DWORD(WS_EX_RTLREADING)}) {
        SCOPED_TRACE(dwReading ? "right to left" : "left to right");
        SetWindowLongA(hFrame, GWL_EXSTYLE, dwReading);
        std::vector<HWND> tables;
        for (int i = 0; i < 5; ++i)
            tables.push_back(Create(("T" + std::to_string(i)).c_str()));
        const HWND hTicket = Create("Ticket");
        FormChildren()[hTicket] = SIZE{380, 420};
        const HWND hReview = Create("Review");
        FormChildren()[hReview] = SIZE{340, 200};
        auto whole = [&](HWND h) {
            const RECT rc = RectIn(h, hClient);
            return rc.right - rc.left >= FormChildren()[h].cx && rc.bottom - rc.top >= FormChildren()[h].cy;
        };
        auto inside = [&](HWND h) {
            const RECT rc = OuterIn(h, hClient);
            return rc.left >= 0 && rc.top >= 0 && rc.right <= 1000 && rc.bottom <= 700;
        };
        for (UINT uFlags : {UINT(MDITILE_VERTICAL), UINT(MDITILE_HORIZONTAL)}) {
            SendMessageA(hClient, WM_MDITILE, uFlags, 0);
            const RECT rcTicket = OuterIn(hTicket, hClient), rcReview = OuterIn(hReview, hClient);
            EXPECT_TRUE(whole(hTicket) && whole(hReview)) << Str(rcTicket) << " " << Str(rcReview);
            EXPECT_EQ(dwReading ? 1000 : 0, dwReading ? rcReview.right : rcReview.left) << "at the reading start";
            EXPECT_EQ(rcReview.bottom, rcTicket.top) << "one above the other, the topmost first";
            for (HWND h : tables) {
                const RECT rc = OuterIn(h, hClient);
                EXPECT_TRUE(inside(h)) << Str(rc);
                RECT rcCommon;
                EXPECT_FALSE(IntersectRect(&rcCommon, &rc, &rcTicket) || IntersectRect(&rcCommon, &rc, &rcReview)) << Str(rc);
                EXPECT_GE(rc.right - rc.left, (1000 - 394) / 3) << "the rest is shared: " << Str(rc);
            }
        }
        // A form taller than the client beside another: each placed whole, in the client where it fits.
        FormChildren()[hReview] = SIZE{340, 400};
        for (UINT uMsg : {WM_MDITILE, WM_MDICASCADE}) {
            SendMessageA(hClient, uMsg, MDITILE_VERTICAL, 0);
            EXPECT_TRUE(whole(hTicket) && whole(hReview) && inside(hTicket) && inside(hReview)) << uMsg;
        }
        tables.insert(tables.end(), {hTicket, hReview});
        for (HWND h : tables) {
            EXPECT_TRUE(inside(h)) << Str(OuterIn(h, hClient));
            DestroyWindow(h);
        }
    }
}

TEST_F(MdiFixture, AChildThatHidesOnCloseStaysForLater)
{
    HWND hLink = Create("Link");
    HWND hQuotes = Create("Quotes");
    HidingChildren().insert(hLink);
    SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hLink), 0);
    // Closing from its system menu (the user's close box): hidden, another child active.
    SendMessageA(hLink, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(hLink));
    EXPECT_FALSE(IsWindowVisible(hLink));
    EXPECT_EQ(hQuotes, Active());
    EXPECT_EQ("-|&1 Quotes*", WindowList());
    // Shown again it can be activated.
    ShowWindow(hLink, SW_SHOW);
    SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hLink), 0);
    EXPECT_EQ(hLink, Active());
    EXPECT_EQ("-|&1 Link*|&2 Quotes", WindowList());

    // Ctrl+F4 closes the active child; a child that does not hide goes away.
    SendMessageA(hClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hQuotes), 0);
    Hold(VK_CONTROL, TRUE);
    MSG msg = {hQuotes, WM_KEYDOWN, VK_F4, 0, 0, {0, 0}, 0};
    EXPECT_TRUE(TranslateMDISysAccel(hClient, &msg));
    EXPECT_FALSE(IsWindow(hQuotes));
    EXPECT_EQ(hLink, Active());
    // Ctrl+F6 and Ctrl+Tab step to the next child; other keys are not MDI keys.
    HWND hOrders = Create("Orders");
    msg.wParam = VK_F6;
    EXPECT_TRUE(TranslateMDISysAccel(hClient, &msg));
    EXPECT_EQ(hLink, Active());
    msg.wParam = VK_TAB;
    EXPECT_TRUE(TranslateMDISysAccel(hClient, &msg));
    EXPECT_EQ(hOrders, Active());
    msg.wParam = VK_F2;
    EXPECT_FALSE(TranslateMDISysAccel(hClient, &msg));
    Hold(VK_CONTROL, FALSE);
    msg.wParam = VK_F4;
    EXPECT_FALSE(TranslateMDISysAccel(hClient, &msg));
    EXPECT_TRUE(IsWindow(hOrders));
    // The frame's menus change together with the window list's place.
    HMENU hOtherWindowMenu = CreatePopupMenu();
    HMENU hOtherBar = CreateMenu();
    AppendMenuA(hOtherBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hOtherWindowMenu), "&Window");
    HMENU hOld = reinterpret_cast<HMENU>(SendMessageA(hClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(hOtherBar),
                                                      reinterpret_cast<LPARAM>(hOtherWindowMenu)));
    EXPECT_EQ(hBar, hOld);
    EXPECT_EQ(hOtherBar, GetMenu(hFrame));
    EXPECT_EQ(2, GetMenuItemCount(hWindowMenu));            // the list left the old menu
    EXPECT_EQ(3, GetMenuItemCount(hOtherWindowMenu));       // separator, Link, Orders
    SetMenu(hFrame, hBar);
    DestroyMenu(hOtherBar);
}

namespace {
// While "More Windows..." asks: the entry named s_strPick is chosen and the dialog answered OK;
// its title and buttons read "title|OK|Cancel".
std::string s_strPick;
std::string s_strDialog;
int s_nEntriesOffered = -1;
void CALLBACK PickFromMoreWindows(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    HWND hDlg = GetActiveWindow();
    HWND hList = hDlg != nullptr ? GetDlgItem(hDlg, 100) : nullptr;
    if (hList == nullptr)
        return;
    KillTimer(hWnd, nId);
    s_nEntriesOffered = static_cast<int>(SendMessageA(hList, LB_GETCOUNT, 0, 0));
    char szText[3][64] = {};
    GetWindowTextA(hDlg, szText[0], sizeof szText[0]);
    GetDlgItemTextA(hDlg, IDOK, szText[1], sizeof szText[1]);
    GetDlgItemTextA(hDlg, IDCANCEL, szText[2], sizeof szText[2]);
    s_strDialog = TbCodePageToUtf8(std::string(szText[0]) + "|" + szText[1] + "|" + szText[2], CP_ACP);
    SendMessageA(hList, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s_strPick.c_str()));
    SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST_F(MdiFixture, WindowListIsMadeAfreshWhenTheMenuOpensNineEntriesThenMoreWindows)
{
    std::vector<HWND> children;
    for (const char* psz : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K"})
        children.push_back(Create(psz));
    HidingChildren().insert(children[1]);
    SendMessageA(children[1], WM_CLOSE, 0, 0);      // B hides: no entry, and no id in the list's run
    // An application's own list left behind in the window menu, with a stale separator.
    AppendMenuA(hWindowMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hWindowMenu, MF_STRING, ID_FIRST_CHILD + 10, "1&0 K");
    AppendMenuA(hWindowMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hWindowMenu, MF_STRING, ID_FIRST_CHILD + 3, "&4 D");
    // The user opens the menu.
    TbQueueTestAnswer({TB_ASK_POPUPMENU, 0, ""});
    TrackPopupMenu(hWindowMenu, 0, 10, 10, 0, hFrame, nullptr);
    TrackPopupMenu(hWindowMenu, 0, 10, 10, 0, hFrame, nullptr);
    // Each child activated beyond the ninth took the ninth's place: the active K is numbered.
    EXPECT_EQ("-|&1 A|&2 C|&3 D|&4 E|&5 F|&6 G|&7 H|&8 K*|&9 I|&More Windows...", WindowList());
    EXPECT_EQ(static_cast<int>(ID_FIRST_CHILD + 1), GetDlgCtrlID(children[2])) << "C follows A";

    // Each entry activates its child; "More Windows..." offers every visible one.
    SendMessageA(hFrame, WM_COMMAND, ID_FIRST_CHILD + 8, 0);
    EXPECT_EQ(children[8], Active());
    s_strPick = "K";
    s_nEntriesOffered = -1;
    SetTimer(hFrame, 91, 5, PickFromMoreWindows);
    SendMessageA(hFrame, WM_COMMAND, GetMenuItemID(hWindowMenu, GetMenuItemCount(hWindowMenu) - 1), 0);
    KillTimer(hFrame, 91);
    EXPECT_EQ(10, s_nEntriesOffered);
    EXPECT_EQ(children[10], Active());
    EXPECT_EQ("Select Window|OK|Cancel", s_strDialog);

    // In Arabic the entry and its dialog read Arabic.
    const UINT uOldPage = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    SetThreadLocale(0x3401);
    TbQueueTestAnswer({TB_ASK_POPUPMENU, 0, ""});
    TrackPopupMenu(hWindowMenu, 0, 10, 10, 0, hFrame, nullptr);
    const std::string strList = TbCodePageToUtf8(WindowList(), 1256);
    EXPECT_EQ("|&نوافذ أخرى...", strList.substr(strList.rfind('|'))) << strList;
    s_strPick = "A";
    SetTimer(hFrame, 91, 5, PickFromMoreWindows);
    SendMessageA(hFrame, WM_COMMAND, GetMenuItemID(hWindowMenu, GetMenuItemCount(hWindowMenu) - 1), 0);
    KillTimer(hFrame, 91);
    EXPECT_EQ("اختيار نافذة|موافق|إلغاء", s_strDialog);
    SetThreadLocale(1033);
    TbSetActiveCodePage(uOldPage);
}
