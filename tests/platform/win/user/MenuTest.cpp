// Menus: editing and reading menu objects, a window's menu bar and system menu, popup menus in
// the modal loop, and accelerators.
#include <gtest/gtest.h>
#include <string>
#include "WindowTestSupport.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/Window.h"

namespace {
enum { ID_OPEN = 100, ID_SAVE, ID_CLOSE, ID_BID, ID_ASK, ID_LAST, ID_ZOOM };

std::string Text(HMENU hMenu, UINT uItem, UINT uFlags)
{
    char sz[64];
    GetMenuStringA(hMenu, uItem, sz, sizeof sz, uFlags);
    return sz;
}

// What each item of a menu says, "Open|Save" with "-" for separators and ">" before submenus.
std::string Items(HMENU hMenu)
{
    std::string str;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        if (!str.empty())
            str += '|';
        const UINT uState = GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        str += (uState & MF_SEPARATOR) ? "-" : (uState & MF_POPUP) ? ">" + Text(hMenu, static_cast<UINT>(i), MF_BYPOSITION)
                                                                   : Text(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    return str;
}

// A bar with File (Open, Save, -, Close) and Prices (Bid, Ask, Last, and a View submenu with Zoom).
HMENU MakeBar(HMENU* phFile = nullptr, HMENU* phPrices = nullptr)
{
    HMENU hFile = CreatePopupMenu();
    AppendMenuA(hFile, MF_STRING, ID_OPEN, "&Open");
    AppendMenuA(hFile, MF_STRING, ID_SAVE, "&Save");
    AppendMenuA(hFile, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hFile, MF_STRING, ID_CLOSE, "&Close");
    HMENU hView = CreatePopupMenu();
    AppendMenuA(hView, MF_STRING, ID_ZOOM, "&Zoom");
    HMENU hPrices = CreatePopupMenu();
    AppendMenuA(hPrices, MF_STRING, ID_BID, "&Bid");
    AppendMenuA(hPrices, MF_STRING, ID_ASK, "&Ask");
    AppendMenuA(hPrices, MF_STRING, ID_LAST, "&Last");
    AppendMenuA(hPrices, MF_POPUP, reinterpret_cast<UINT_PTR>(hView), "&View");
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), "&File");
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hPrices), "&Prices");
    if (phFile)
        *phFile = hFile;
    if (phPrices)
        *phPrices = hPrices;
    return hBar;
}

// Sets the keyboard state the way input leaves the queue: each key pressed goes through it.
void HoldKeys(std::initializer_list<int> keys, BOOL bDown)
{
    HWND hWnd = CreateTestWindow();
    for (int nKey : keys)
        PostMessageA(hWnd, bDown ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(nKey), 0);
    MSG msg;
    while (PeekMessageA(&msg, hWnd, 0, 0, PM_REMOVE)) {
    }
    DestroyWindow(hWnd);
}

MSG KeyMsg(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam = 0)
{
    return MSG{hWnd, uMsg, wParam, lParam, 0, {0, 0}, 0};
}
}  // namespace

TEST(Menu, ItemsAreInsertedModifiedAndRemovedByPositionOrCommand)
{
    HMENU hPrices = nullptr;
    HMENU hBar = MakeBar(nullptr, &hPrices);
    EXPECT_EQ(">&File|>&Prices", Items(hBar));
    // By command the item is found in a submenu, two levels down too.
    EXPECT_EQ("&Zoom", Text(hBar, ID_ZOOM, MF_BYCOMMAND));
    ASSERT_TRUE(InsertMenuA(hBar, ID_ASK, MF_BYCOMMAND | MF_STRING, 200, "&Mid"));
    EXPECT_EQ("&Bid|&Mid|&Ask|&Last|>&View", Items(hPrices));
    ASSERT_TRUE(InsertMenuA(hPrices, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(InsertMenuA(hPrices, 99, MF_BYPOSITION | MF_STRING, 201, "&End"));
    EXPECT_EQ("-|&Bid|&Mid|&Ask|&Last|>&View|&End", Items(hPrices));

    ASSERT_TRUE(ModifyMenuA(hBar, 200, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 202, "Mi&dpoint"));
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(hBar, 200, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(hBar, 202, MF_BYCOMMAND));
    EXPECT_EQ("Mi&dpoint", Text(hPrices, 2, MF_BYPOSITION));

    // RemoveMenu leaves a submenu to the caller; DeleteMenu destroys it.
    HMENU hView = GetSubMenu(hPrices, 5);
    ASSERT_TRUE(RemoveMenu(hPrices, 5, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(hView));
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(hBar, ID_ZOOM, MF_BYCOMMAND));
    ASSERT_TRUE(InsertMenuA(hPrices, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hView), "&View"));
    ASSERT_TRUE(DeleteMenu(hPrices, 0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(hView));
    ASSERT_TRUE(DeleteMenu(hBar, 202, MF_BYCOMMAND));
    EXPECT_FALSE(DeleteMenu(hBar, 202, MF_BYCOMMAND));
    EXPECT_FALSE(RemoveMenu(hPrices, 40, MF_BYPOSITION));
    EXPECT_EQ("-|&Bid|&Ask|&Last|&End", Items(hPrices));
    // A submenu handle that is not a menu is refused, and nothing changes.
    EXPECT_FALSE(AppendMenuA(hPrices, MF_POPUP, 12345, "Bad"));
    EXPECT_FALSE(ModifyMenuA(hPrices, 1, MF_BYPOSITION | MF_POPUP, 12345, "Bad"));
    EXPECT_EQ("-|&Bid|&Ask|&Last|&End", Items(hPrices));

    ASSERT_TRUE(DestroyMenu(hBar));
    EXPECT_FALSE(IsMenu(hPrices));
    EXPECT_FALSE(DestroyMenu(hBar));
    EXPECT_EQ(-1, GetMenuItemCount(hBar));
}

TEST(Menu, ItemsAreEnabledCheckedAndReadBack)
{
    HMENU hFile = nullptr, hPrices = nullptr;
    HMENU hBar = MakeBar(&hFile, &hPrices);
    EXPECT_EQ(static_cast<UINT>(MF_ENABLED), EnableMenuItem(hBar, ID_SAVE, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), EnableMenuItem(hBar, ID_SAVE, MF_BYCOMMAND | MF_ENABLED));
    EXPECT_EQ(static_cast<UINT>(MF_ENABLED), EnableMenuItem(hFile, 3, MF_BYPOSITION | MF_DISABLED));
    EXPECT_EQ(static_cast<UINT>(MF_DISABLED), GetMenuState(hFile, ID_CLOSE, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(-1), EnableMenuItem(hBar, 999, MF_BYCOMMAND | MF_GRAYED));

    EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(hBar, ID_ZOOM, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(hBar, ID_ZOOM, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<DWORD>(-1), CheckMenuItem(hBar, 999, MF_BYCOMMAND | MF_CHECKED));

    // A radio group: one checked, the rest of the range cleared, items outside it untouched.
    CheckMenuItem(hPrices, ID_LAST, MF_BYCOMMAND | MF_CHECKED);
    ASSERT_TRUE(CheckMenuRadioItem(hBar, ID_BID, ID_ASK, ID_ASK, MF_BYCOMMAND));
    ASSERT_TRUE(CheckMenuRadioItem(hBar, ID_BID, ID_ASK, ID_BID, MF_BYCOMMAND));
    EXPECT_TRUE(GetMenuState(hPrices, ID_BID, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(hPrices, ID_ASK, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(hPrices, ID_LAST, MF_BYCOMMAND) & MF_CHECKED);
    ASSERT_TRUE(CheckMenuRadioItem(hPrices, 0, 2, 1, MF_BYPOSITION));
    EXPECT_FALSE(GetMenuState(hPrices, ID_BID, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(hPrices, ID_LAST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(CheckMenuRadioItem(hPrices, 0, 9, 1, MF_BYPOSITION));
    EXPECT_FALSE(CheckMenuRadioItem(hBar, ID_BID, ID_ASK, ID_LAST, MF_BYCOMMAND));

    // Item information: read the text length, then the text cut to the buffer, then change it.
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(hPrices, 1, TRUE, &mii));
    EXPECT_EQ(4u, mii.cch);
    EXPECT_EQ(static_cast<UINT>(ID_ASK), mii.wID);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), mii.fState);
    EXPECT_EQ(static_cast<UINT>(MFT_RADIOCHECK), mii.fType);
    char sz[3];
    mii.dwTypeData = sz;
    mii.cch = sizeof sz;
    ASSERT_TRUE(GetMenuItemInfoA(hPrices, ID_ASK, FALSE, &mii));
    EXPECT_STREQ("&A", sz);
    MENUITEMINFOA set = {};
    set.cbSize = sizeof set;
    set.fMask = MIIM_STRING | MIIM_DATA | MIIM_STATE;
    set.dwTypeData = const_cast<LPSTR>("&Offer");
    set.dwItemData = 77;
    set.fState = MFS_GRAYED;
    ASSERT_TRUE(SetMenuItemInfoA(hBar, ID_ASK, FALSE, &set));
    EXPECT_EQ("&Offer", Text(hPrices, ID_ASK, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(MFS_GRAYED | MFT_RADIOCHECK), GetMenuState(hPrices, ID_ASK, MF_BYCOMMAND));
    MENUITEMINFOA data = {};
    data.cbSize = sizeof data;
    data.fMask = MIIM_DATA | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoA(hPrices, ID_ASK, FALSE, &data));
    EXPECT_EQ(77u, data.dwItemData);
    EXPECT_EQ(nullptr, data.hSubMenu);
    MENUITEMINFOA ins = {};
    ins.cbSize = sizeof ins;
    ins.fMask = MIIM_STRING | MIIM_ID;
    ins.dwTypeData = const_cast<LPSTR>("&Spread");
    ins.wID = 300;
    ASSERT_TRUE(InsertMenuItemA(hPrices, 0, TRUE, &ins));
    EXPECT_EQ(300u, GetMenuItemID(hPrices, 0));
    EXPECT_FALSE(GetMenuItemInfoA(hPrices, 999, FALSE, &data));
    DestroyMenu(hBar);
}

TEST(MenuBar, TheClientAreaShrinksBelowTheBar)
{
    HWND hWnd = CreateTestWindow();
    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    HMENU hBar = MakeBar();
    CMessageLog::Get().Clear();
    ASSERT_TRUE(SetMenu(hWnd, hBar));
    EXPECT_EQ(hBar, GetMenu(hWnd));
    const int nBar = GetSystemMetrics(SM_CYMENU);
    GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(100 - nBar, rcClient.bottom);
    EXPECT_EQ(200, rcClient.right);
    RECT rcAfter;
    GetWindowRect(hWnd, &rcAfter);
    EXPECT_TRUE(EqualRect(&rcWindow, &rcAfter));
    ASSERT_EQ(1, CMessageLog::Get().Count(WM_SIZE, hWnd));
    EXPECT_EQ(MAKELPARAM(200, 100 - nBar), CMessageLog::Get().All().back().lParam);
    POINT pt = {0, 0};
    ClientToScreen(hWnd, &pt);
    EXPECT_EQ(rcWindow.top + nBar, pt.y);
    // The bar is the menu area for hit-testing.
    EXPECT_EQ(HTMENU, SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rcWindow.left + 5, rcWindow.top + 2)));
    EXPECT_EQ(HTCLIENT, SendMessageA(hWnd, WM_NCHITTEST, 0, MAKELPARAM(rcWindow.left + 5, rcWindow.top + nBar + 2)));
    // Resizing keeps the bar; removing it gives the client its height back.
    MoveWindow(hWnd, 10, 20, 300, 150, TRUE);
    GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(150 - nBar, rcClient.bottom);
    EXPECT_TRUE(DrawMenuBar(hWnd));
    ASSERT_TRUE(SetMenu(hWnd, nullptr));
    GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(150, rcClient.bottom);
    // A child window has no menu bar; a dead menu is refused.
    HWND hChild = CreateTestWindow(hWnd, WS_CHILD, 5);
    EXPECT_FALSE(SetMenu(hChild, hBar));
    EXPECT_EQ(nullptr, GetMenu(hChild));
    DestroyMenu(hBar);
    EXPECT_FALSE(SetMenu(hWnd, hBar));
    DestroyWindow(hWnd);

    // A menu given at creation is the bar from the start, and goes with the window.
    hBar = MakeBar();
    hWnd = CreateWindowExA(0, TestWindowClass(), "bar", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, hBar, nullptr, nullptr);
    GetClientRect(hWnd, &rcClient);
    EXPECT_EQ(100 - nBar, rcClient.bottom);
    EXPECT_EQ(hBar, GetMenu(hWnd));
    DestroyWindow(hWnd);
    EXPECT_FALSE(IsMenu(hBar));
}

TEST(MenuBar, TheSystemMenuIsTheWindowsOwnCopy)
{
    HWND hWnd = CreateTestWindow();
    HMENU hSys = GetSystemMenu(hWnd, FALSE);
    ASSERT_NE(nullptr, hSys);
    EXPECT_EQ(hSys, GetSystemMenu(hWnd, FALSE));
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(hSys, SC_CLOSE, MF_BYCOMMAND));
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(hSys, SC_MAXIMIZE, MF_BYCOMMAND));
    EXPECT_EQ(nullptr, GetSystemMenu(hWnd, TRUE));
    EXPECT_FALSE(IsMenu(hSys));
    hSys = GetSystemMenu(hWnd, FALSE);
    DestroyWindow(hWnd);
    EXPECT_FALSE(IsMenu(hSys));
}

// ---- popup menus ----

namespace {
struct PopupFixture : ::testing::Test {
    void SetUp() override
    {
        TbClearTestAnswers();
        hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        hPopup = CreatePopupMenu();
        AppendMenuA(hPopup, MF_STRING, ID_BID, "&Bid");
        AppendMenuA(hPopup, MF_STRING, ID_ASK, "&Ask");
        PumpReady();
        CMessageLog::Get().Clear();
    }
    void TearDown() override
    {
        g_pfnTestOverride = nullptr;
        DestroyMenu(hPopup);
        DestroyWindow(hWnd);
        TbClearTestAnswers();
    }
    static void Answer(INT_PTR nId)
    {
        TBTESTANSWER answer;
        answer.nKind = TB_ASK_POPUPMENU;
        answer.nValue = nId;
        TbQueueTestAnswer(answer);
    }
    std::vector<RecordedMessage> Of(UINT uMsg) const
    {
        std::vector<RecordedMessage> out;
        for (const auto& m : CMessageLog::Get().All())
            if (m.uMsg == uMsg && m.hWnd == hWnd)
                out.push_back(m);
        return out;
    }
    HWND hWnd = nullptr;
    HMENU hPopup = nullptr;
};
}  // namespace

TEST_F(PopupFixture, TheOwnerPreparesThePopupAndGetsTheChosenCommand)
{
    // The owner greys Ask while the popup is prepared: choosing it then does nothing.
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM wParam, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_INITMENUPOPUP)
            EnableMenuItem(reinterpret_cast<HMENU>(wParam), ID_ASK, MF_BYCOMMAND | MF_GRAYED);
        return 0;
    };
    Answer(ID_ASK);
    EXPECT_TRUE(TrackPopupMenu(hPopup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 50, 60, 0, hWnd, nullptr));
    EXPECT_EQ(0, TbPendingTestAnswers());
    ASSERT_EQ(1u, Of(WM_INITMENU).size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(hPopup), Of(WM_INITMENU)[0].wParam);
    ASSERT_EQ(1u, Of(WM_INITMENUPOPUP).size());
    EXPECT_EQ(0, HIWORD(Of(WM_INITMENUPOPUP)[0].lParam));     // not the system menu
    ASSERT_EQ(1u, Of(WM_MENUSELECT).size());
    EXPECT_EQ(0xFFFF, HIWORD(Of(WM_MENUSELECT)[0].wParam));   // the menu closed
    PumpReady();
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_COMMAND, hWnd));

    // An enabled item: WM_COMMAND comes through the queue after the menu closed.
    CMessageLog::Get().Clear();
    Answer(ID_BID);
    EXPECT_TRUE(TrackPopupMenu(hPopup, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 50, 60, 0, hWnd, nullptr));
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_COMMAND, hWnd));
    PumpReady();
    auto commands = Of(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(ID_BID), commands[0].wParam);
    EXPECT_EQ(0, commands[0].lParam);
}

TEST_F(PopupFixture, ReturnCmdAnswersTheCommandAndNoNotifySendsNothing)
{
    Answer(ID_ASK);
    EXPECT_EQ(ID_ASK, TrackPopupMenuEx(hPopup, TPM_RETURNCMD | TPM_CENTERALIGN | TPM_VCENTERALIGN, 5, 5, hWnd, nullptr));
    Answer(0);
    EXPECT_EQ(0, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 5, 5, hWnd, nullptr));
    // An id the menu does not have is no choice.
    Answer(4242);
    EXPECT_EQ(0, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 5, 5, hWnd, nullptr));
    EXPECT_EQ(3u, Of(WM_INITMENUPOPUP).size());
    PumpReady();
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_COMMAND, hWnd));

    CMessageLog::Get().Clear();
    Answer(ID_BID);
    EXPECT_EQ(ID_BID, TrackPopupMenuEx(hPopup, TPM_RETURNCMD | TPM_NONOTIFY, 5, 5, hWnd, nullptr));
    EXPECT_EQ(0u, Of(WM_INITMENU).size() + Of(WM_INITMENUPOPUP).size() + Of(WM_MENUSELECT).size());
    // Bad menus and windows are refused without a loop.
    EXPECT_FALSE(TrackPopupMenuEx(nullptr, 0, 5, 5, hWnd, nullptr));
    EXPECT_FALSE(TrackPopupMenuEx(hPopup, 0, 5, 5, nullptr, nullptr));
    EXPECT_EQ(0, TbPendingTestAnswers());
}

TEST_F(PopupFixture, TheQueueRunsWhileThePopupIsOpen)
{
    // Messages posted before the popup are delivered before the answer is taken.
    static BOOL s_bAnswerPending;
    s_bAnswerPending = FALSE;
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_USER + 1)
            s_bAnswerPending = TbPendingTestAnswers() > 0;
        return 0;
    };
    PostMessageA(hWnd, WM_USER + 1, 0, 0);
    Answer(ID_BID);
    EXPECT_EQ(ID_BID, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 5, 5, hWnd, nullptr));
    EXPECT_TRUE(s_bAnswerPending);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_USER + 1, hWnd));

    // Unanswered, the popup stays open while a timer is due: the timer cancels the mode.
    g_pfnTestOverride = [](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_TIMER && wParam == 7) {
            KillTimer(hWnd, 7);
            PostMessageA(hWnd, WM_CANCELMODE, 0, 0);
        }
        return 0;
    };
    CMessageLog::Get().Clear();
    SetTimer(hWnd, 7, 30, nullptr);
    EXPECT_EQ(0, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 5, 5, hWnd, nullptr));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_TIMER, hWnd));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, hWnd));

    // ... or a timer gives the answer while it is open.
    g_pfnTestOverride = [](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, BOOL*) -> LRESULT {
        if (uMsg == WM_TIMER && wParam == 8) {
            KillTimer(hWnd, 8);
            Answer(ID_ASK);
        }
        return 0;
    };
    SetTimer(hWnd, 8, 30, nullptr);
    EXPECT_TRUE(TrackPopupMenu(hPopup, 0, 5, 5, 0, hWnd, nullptr));
    PumpReady();
    ASSERT_EQ(1u, Of(WM_COMMAND).size());
    EXPECT_EQ(static_cast<WPARAM>(ID_ASK), Of(WM_COMMAND)[0].wParam);

    // With nothing left to answer it, the popup closes by itself; the owner stays enabled.
    EXPECT_EQ(0, TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 5, 5, hWnd, nullptr));
    EXPECT_TRUE(IsWindowEnabled(hWnd));
    EXPECT_FALSE(EndMenu());
}

TEST_F(PopupFixture, TheSystemMenuGivesSystemCommands)
{
    HMENU hSys = GetSystemMenu(hWnd, FALSE);
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled) -> LRESULT {
        *pbHandled = uMsg == WM_SYSCOMMAND;     // keep the window
        return 0;
    };
    Answer(SC_MAXIMIZE);
    EXPECT_TRUE(TrackPopupMenu(hSys, 0, 5, 5, 0, hWnd, nullptr));
    EXPECT_EQ(1, HIWORD(Of(WM_INITMENUPOPUP)[0].lParam));
    PumpReady();
    ASSERT_EQ(1u, Of(WM_SYSCOMMAND).size());
    EXPECT_EQ(static_cast<WPARAM>(SC_MAXIMIZE), Of(WM_SYSCOMMAND)[0].wParam);
    EXPECT_EQ(0u, Of(WM_COMMAND).size());
}

// ---- accelerators ----

TEST(Accelerators, KeysBecomeCommandsOnlyWithTheirModifiers)
{
    const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'S', ID_SAVE}, {FVIRTKEY, VK_F5, ID_BID},
                             {FVIRTKEY | FSHIFT | FCONTROL, 'S', ID_ASK}, {FVIRTKEY | FALT, 'L', ID_LAST},
                             {0, 'z', ID_ZOOM}, {FALT, 'q', ID_CLOSE}};
    HACCEL hAccel = CreateAcceleratorTableA(entries, 6);
    HWND hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    PumpReady();
    CMessageLog::Get().Clear();
    auto lastCommand = [&]() -> WPARAM {
        for (auto it = CMessageLog::Get().All().rbegin(); it != CMessageLog::Get().All().rend(); ++it)
            if (it->uMsg == WM_COMMAND)
                return it->wParam;
        return 0;
    };

    MSG msg = KeyMsg(hWnd, WM_KEYDOWN, VK_F5);
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(MAKEWPARAM(ID_BID, 1), lastCommand());
    msg = KeyMsg(hWnd, WM_KEYDOWN, 'S');
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));       // Ctrl is not held
    HoldKeys({VK_CONTROL}, TRUE);
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(MAKEWPARAM(ID_SAVE, 1), lastCommand());
    msg = KeyMsg(hWnd, WM_KEYDOWN, VK_F5);
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));       // Ctrl is one modifier too many
    HoldKeys({VK_SHIFT}, TRUE);
    msg = KeyMsg(hWnd, WM_KEYDOWN, 'S');
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(MAKEWPARAM(ID_ASK, 1), lastCommand());
    HoldKeys({VK_SHIFT, VK_CONTROL}, FALSE);
    // Alt comes with the system key's flags.
    msg = KeyMsg(hWnd, WM_SYSKEYDOWN, 'L', static_cast<LPARAM>(KF_ALTDOWN) << 16);
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(MAKEWPARAM(ID_LAST, 1), lastCommand());
    msg = KeyMsg(hWnd, WM_KEYDOWN, 'L');
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    // Character entries match characters, and Alt tells WM_SYSCHAR apart; key-ups never match.
    msg = KeyMsg(hWnd, WM_CHAR, 'z');
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(MAKEWPARAM(ID_ZOOM, 1), lastCommand());
    msg = KeyMsg(hWnd, WM_KEYDOWN, 'Z');
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    msg = KeyMsg(hWnd, WM_SYSCHAR, 'q');
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(MAKEWPARAM(ID_CLOSE, 1), lastCommand());
    msg = KeyMsg(hWnd, WM_CHAR, 'q');
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    msg = KeyMsg(hWnd, WM_KEYUP, VK_F5);
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));

    // A disabled window takes no accelerators, nor does a dead table.
    const int nCommands = CMessageLog::Get().Count(WM_COMMAND, hWnd);
    EnableWindow(hWnd, FALSE);
    msg = KeyMsg(hWnd, WM_KEYDOWN, VK_F5);
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EnableWindow(hWnd, TRUE);
    DestroyAcceleratorTable(hAccel);
    EXPECT_FALSE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(nCommands, CMessageLog::Get().Count(WM_COMMAND, hWnd));
    DestroyWindow(hWnd);
}

TEST(Accelerators, MenuStateDecidesAndSystemItemsAreSystemCommands)
{
    const ACCEL entries[] = {{FVIRTKEY, VK_F2, ID_SAVE}, {FVIRTKEY, VK_F3, SC_MAXIMIZE}, {FVIRTKEY, VK_F4, ID_OPEN}};
    HACCEL hAccel = CreateAcceleratorTableA(entries, 3);
    HWND hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetMenu(hWnd, MakeBar());
    // The owner greys Save as the menu is prepared for the key.
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM wParam, LPARAM, BOOL* pbHandled) -> LRESULT {
        if (uMsg == WM_INITMENU)
            EnableMenuItem(reinterpret_cast<HMENU>(wParam), ID_SAVE, MF_BYCOMMAND | MF_GRAYED);
        *pbHandled = uMsg == WM_SYSCOMMAND;
        return 0;
    };
    PumpReady();
    CMessageLog::Get().Clear();
    MSG msg = KeyMsg(hWnd, WM_KEYDOWN, VK_F2);
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_INITMENU, hWnd));
    EXPECT_EQ(0, CMessageLog::Get().Count(WM_COMMAND, hWnd));
    msg = KeyMsg(hWnd, WM_KEYDOWN, VK_F4);
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_COMMAND, hWnd));
    msg = KeyMsg(hWnd, WM_KEYDOWN, VK_F3);
    EXPECT_TRUE(TranslateAcceleratorA(hWnd, hAccel, &msg));
    ASSERT_EQ(1, CMessageLog::Get().Count(WM_SYSCOMMAND, hWnd));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_COMMAND, hWnd));
    g_pfnTestOverride = nullptr;
    DestroyWindow(hWnd);
    DestroyAcceleratorTable(hAccel);
}
