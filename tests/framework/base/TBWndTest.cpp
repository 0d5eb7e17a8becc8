#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "framework/base/TBApp.h"
#include "framework/base/TBWnd.h"
#include "platform/win/kernel/Resources.h"

namespace {
const char* const TEST_CLASS = "TBWndTestClass";
const UINT WM_TEST_END = WM_USER + 17;

// Dispatches whatever is queued, so that one test's leftovers never reach the next.
void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
}

// Writes the handlers it sees into one text, so a test compares the whole order at once.
class CLogWnd : public CTBWnd
{
public:
    std::string m_strLog;
    int m_nPostNcDestroy = 0;
    BOOL m_bRefuse = FALSE;
    int m_nCreateResult = 0;
    UINT m_nHandledId = 0;
    HWND m_hWndInNcCreate = nullptr;
    BOOL m_bFoundInNcCreate = FALSE;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        m_strLog += "Pre ";
        cs.style |= WS_CLIPCHILDREN;
        return !m_bRefuse;
    }
    BOOL OnNcCreate(LPCREATESTRUCTA pCreate) override
    {
        m_strLog += "NcCreate ";
        m_hWndInNcCreate = m_hWnd;
        m_bFoundInNcCreate = FromHandle(m_hWnd) == this && (pCreate->style & WS_CLIPCHILDREN);
        return CTBWnd::OnNcCreate(pCreate);
    }
    int OnCreate(LPCREATESTRUCTA pCreate) override
    {
        m_strLog += "Create ";
        CTBWnd::OnCreate(pCreate);
        return m_nCreateResult;
    }
    void OnSize(UINT, int cx, int cy) override { m_strLog += "Size" + std::to_string(cx) + "x" + std::to_string(cy) + " "; }
    void OnDestroy() override { m_strLog += "Destroy "; }
    void PostNcDestroy() override { ++m_nPostNcDestroy; m_strLog += "PostNcDestroy "; }
    BOOL OnCmdMsg(UINT nId, int nCode) override
    {
        m_strLog += "Cmd" + std::to_string(nId) + "/" + std::to_string(nCode) + " ";
        return nId == m_nHandledId;
    }
    int OnMenuSelect(UINT nItem, UINT, HMENU) override
    {
        m_strLog += "MenuSelect" + std::to_string(nItem) + " ";
        return nItem == m_nHandledId;
    }
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_TEST_END) {
            EndModalLoop(static_cast<int>(wParam));
            return 0;
        }
        return CTBWnd::WindowProc(uMsg, wParam, lParam);
    }
};

class TBWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_STREQ(TEST_CLASS, RegisterWndClass(TEST_CLASS, CS_DBLCLKS, nullptr, nullptr, nullptr));
    }
    void TearDown() override { Drain(); }
    CTBApp m_app;
};
}  // namespace

TEST_F(TBWndTest, CreationReachesTheObjectFromTheFirstMessage)
{
    CLogWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TEST_CLASS, "top", WS_OVERLAPPEDWINDOW, 10, 20, 200, 100, nullptr, nullptr));
    EXPECT_EQ("Pre NcCreate Create Size200x100 ", wnd.m_strLog);
    EXPECT_EQ(wnd.m_hWnd, wnd.m_hWndInNcCreate);
    EXPECT_TRUE(wnd.m_bFoundInNcCreate) << "attached before WM_NCCREATE, with PreCreateWindow's style";
    EXPECT_EQ("top", std::string(wnd.GetWindowText()));
    // The framework procedure replaced the class's default one.
    EXPECT_NE(reinterpret_cast<LONG_PTR>(&DefWindowProcA), GetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC));

    HWND hWnd = wnd.m_hWnd;
    wnd.m_strLog.clear();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ("Destroy PostNcDestroy ", wnd.m_strLog);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CTBWnd::FromHandle(hWnd)) << "a destroyed window's handle finds nothing";

    // The object outlives its window and can be created again; the class is registered once.
    EXPECT_STREQ(TEST_CLASS, RegisterWndClass(TEST_CLASS, 0, nullptr, nullptr, nullptr));
    ASSERT_TRUE(wnd.Create(TEST_CLASS, "again", WS_OVERLAPPED, RECT{0, 0, 50, 40}, nullptr, 0));
    EXPECT_NE(hWnd, wnd.m_hWnd);
}

TEST_F(TBWndTest, RefusedOrFailedCreationEndsWithOnePostNcDestroy)
{
    CLogWnd refused;
    refused.m_bRefuse = TRUE;
    EXPECT_FALSE(refused.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ("Pre PostNcDestroy ", refused.m_strLog);
    EXPECT_EQ(nullptr, refused.m_hWnd);

    CLogWnd failing;
    failing.m_nCreateResult = -1;
    EXPECT_FALSE(failing.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(1, failing.m_nPostNcDestroy);
    EXPECT_EQ(nullptr, failing.m_hWnd);

    CLogWnd noClass;
    EXPECT_FALSE(noClass.CreateEx(0, "NoSuchClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(1, noClass.m_nPostNcDestroy) << "a window the hook never saw still ends the object's creation";

    // The next creation works: no hook or waiting object was left behind.
    CLogWnd next;
    EXPECT_TRUE(next.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(0, next.m_nPostNcDestroy);
}

TEST_F(TBWndTest, UnhandledCommandsAndMenuSelectionsGoToTheParent)
{
    CLogWnd parent, child, grandchild;
    parent.m_nHandledId = 100;
    child.m_nHandledId = 200;
    ASSERT_TRUE(parent.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(child.Create(TEST_CLASS, "", 0, RECT{0, 0, 50, 50}, &parent, 7));
    ASSERT_TRUE(grandchild.Create(TEST_CLASS, "", 0, RECT{0, 0, 20, 20}, &child, 8));
    EXPECT_TRUE(GetWindowLongA(child.m_hWnd, GWL_STYLE) & WS_CHILD);
    parent.m_strLog.clear();
    child.m_strLog.clear();
    grandchild.m_strLog.clear();

    // 100 climbs two levels; 200 stops at the child; id 0 is no command.
    SendMessageA(grandchild.m_hWnd, WM_COMMAND, MAKEWPARAM(100, 5), 0);
    EXPECT_EQ(0, SendMessageA(grandchild.m_hWnd, WM_COMMAND, MAKEWPARAM(200, 0), 0));
    SendMessageA(grandchild.m_hWnd, WM_COMMAND, MAKEWPARAM(0, 1), 0);
    EXPECT_EQ("Cmd100/5 Cmd200/0 ", grandchild.m_strLog);
    EXPECT_EQ("Cmd100/5 Cmd200/0 ", child.m_strLog);
    EXPECT_EQ("Cmd100/5 ", parent.m_strLog);
    EXPECT_EQ(-1, SendMessageA(child.m_hWnd, WM_COMMAND, MAKEWPARAM(200, 0), 0)) << "a handled command answers -1";

    parent.m_strLog.clear();
    child.m_strLog.clear();
    SendMessageA(child.m_hWnd, WM_MENUSELECT, MAKEWPARAM(300, 0), 0);
    SendMessageA(child.m_hWnd, WM_MENUSELECT, MAKEWPARAM(200, 0), 0);
    EXPECT_EQ("MenuSelect300 MenuSelect200 ", child.m_strLog);
    EXPECT_EQ("MenuSelect300 ", parent.m_strLog);

    // A top-level window has no parent to ask.
    parent.m_strLog.clear();
    SendMessageA(parent.m_hWnd, WM_COMMAND, MAKEWPARAM(300, 0), 0);
    EXPECT_EQ("Cmd300/0 ", parent.m_strLog);
}

TEST_F(TBWndTest, ModalLoopEndsWithItsValueOrWithTheQuitMessage)
{
    CLogWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 30, 30, nullptr, nullptr));
    EXPECT_FALSE(wnd.IsInModalLoop());
    PostMessageA(wnd.m_hWnd, WM_TEST_END, 42, 0);
    EXPECT_EQ(42, wnd.RunModalLoop());
    EXPECT_FALSE(wnd.IsInModalLoop());
    EXPECT_TRUE(IsWindowVisible(wnd.m_hWnd)) << "the loop shows its window";

    // A quit message ends the loop with -1 and is still there for the loop outside.
    PostQuitMessage(7);
    EXPECT_EQ(-1, wnd.RunModalLoop());
    MSG msg = {};
    ASSERT_EQ(0, GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(7u, msg.wParam);
    Drain();

    // Ending a loop that is not running only stores the value.
    wnd.EndModalLoop(5);
    EXPECT_FALSE(wnd.IsInModalLoop());

    // A window destroyed inside its loop ends the loop instead of leaving it waiting forever.
    PostMessageA(wnd.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(5, wnd.RunModalLoop());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
}

namespace {
LRESULT CALLBACK ControlProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_USER)
        return 1000 + static_cast<LRESULT>(wParam);
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

class CSubclassWnd : public CTBWnd
{
public:
    LONG_PTR m_nProcAtEnd = 0;
    HWND m_hWndDying = nullptr;
    std::string m_strKeys;
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT) override { m_strKeys += std::to_string(nKey) + "x" + std::to_string(nRepeat) + " "; }
    void OnNcDestroy() override
    {
        m_hWndDying = m_hWnd;
        CTBWnd::OnNcDestroy();
    }
    void PostNcDestroy() override { m_nProcAtEnd = GetWindowLongPtrA(m_hWndDying, GWLP_WNDPROC); }
};
}  // namespace

TEST_F(TBWndTest, SubclassedControlGetsItsProcedureBackAtNcDestroy)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ControlProc;
    wc.lpszClassName = "TBWndTestControl";
    RegisterClassA(&wc);
    CLogWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    HWND hCtl = CreateWindowExA(0, "TBWndTestControl", "", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                reinterpret_cast<HMENU>(55), nullptr, nullptr);
    ASSERT_NE(nullptr, hCtl);
    EXPECT_EQ(nullptr, CTBWnd::FromHandle(hCtl)) << "a window without an object is no framework window";

    CSubclassWnd ctl;
    EXPECT_FALSE(ctl.SubclassDlgItem(56, &parent));
    ASSERT_TRUE(ctl.SubclassDlgItem(55, &parent));
    EXPECT_EQ(&ctl, CTBWnd::FromHandle(hCtl));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(&ControlProc), *ctl.GetSuperWndProcAddr());
    CSubclassWnd other;
    EXPECT_FALSE(other.SubclassWindow(hCtl)) << "one object per window";
    EXPECT_FALSE(other.Attach(nullptr));

    // Our handler sees the key first; what we do not map reaches the control's own procedure.
    SendMessageA(hCtl, WM_KEYDOWN, 0x41, MAKELPARAM(3, 0));
    EXPECT_EQ("65x3 ", ctl.m_strKeys);
    EXPECT_EQ(1009, SendMessageA(hCtl, WM_USER, 9, 0));

    DestroyWindow(parent.m_hWnd);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&ControlProc), ctl.m_nProcAtEnd);
    EXPECT_EQ(nullptr, ctl.m_hWnd);
    EXPECT_EQ(nullptr, *ctl.GetSuperWndProcAddr());
}

namespace {
class CThrowingWnd : public CTBWnd
{
public:
    int m_nTimers = 0;
    UINT m_uSeenInNested = 0;
    UINT m_uSeenAfterNested = 0;
    void OnTimer(UINT_PTR nId) override
    {
        ++m_nTimers;
        if (nId == 1)
            throw std::runtime_error("handler failed");
    }
    void OnLButtonDown(UINT, int, int) override
    {
        SendMessageA(m_hWnd, WM_RBUTTONDOWN, 0, 0);
        m_uSeenAfterNested = GetCurrentMessage().message;
    }
    void OnRButtonDown(UINT, int, int) override { m_uSeenInNested = GetCurrentMessage().message; }
    int OnCreate(LPCREATESTRUCTA) override { return 0; }
};
}  // namespace

TEST_F(TBWndTest, FailingHandlerAnswersZeroAndNestedDispatchKeepsItsMessage)
{
    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 30, 30, nullptr, nullptr));
    EXPECT_EQ(0, SendMessageA(wnd.m_hWnd, WM_TIMER, 1, 0));
    EXPECT_EQ(0, SendMessageA(wnd.m_hWnd, WM_TIMER, 2, 0));
    EXPECT_EQ(2, wnd.m_nTimers) << "the window keeps working after the failure";

    SendMessageA(wnd.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(-3, 4));
    EXPECT_EQ(static_cast<UINT>(WM_RBUTTONDOWN), wnd.m_uSeenInNested);
    EXPECT_EQ(static_cast<UINT>(WM_LBUTTONDOWN), wnd.m_uSeenAfterNested);
}

namespace {
class CConsumingWnd : public CLogWnd
{
public:
    UINT m_uConsume = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        m_strLog += "Pre" + std::to_string(pMsg->message) + " ";
        return pMsg->message == m_uConsume;
    }
};
}  // namespace

TEST_F(TBWndTest, PreTranslationWalksFrameworkWindowsUpToTheMainWindow)
{
    CConsumingWnd top, main;
    ASSERT_TRUE(top.CreateEx(0, TEST_CLASS, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    ASSERT_TRUE(main.Create(TEST_CLASS, "", 0, RECT{0, 0, 80, 80}, &top, 1));
    // A plain window between two framework windows is skipped, not a stop.
    HWND hPlain = CreateWindowExA(0, TEST_CLASS, "", WS_CHILD, 0, 0, 50, 50, main.m_hWnd, nullptr, nullptr, nullptr);
    CConsumingWnd leaf;
    ASSERT_TRUE(leaf.Create(TEST_CLASS, "", 0, RECT{0, 0, 10, 10}, CTBWnd::FromHandle(hPlain), 3));
    EXPECT_FALSE(GetWindowLongA(leaf.m_hWnd, GWL_STYLE) & WS_CHILD) << "no parent object, no child style";
    DestroyWindow(leaf.m_hWnd);
    ASSERT_TRUE(leaf.CreateEx(0, TEST_CLASS, "", WS_CHILD, 0, 0, 10, 10, hPlain, nullptr));
    top.m_strLog.clear();
    main.m_strLog.clear();
    leaf.m_strLog.clear();

    top.m_uConsume = WM_KEYDOWN;
    MSG msg = {leaf.m_hWnd, WM_KEYDOWN, 0, 0, 0, {0, 0}, 0};
    EXPECT_TRUE(m_app.PreTranslateMessage(&msg)) << "no main window: up to the top";
    EXPECT_EQ("Pre256 ", leaf.m_strLog);
    EXPECT_EQ("Pre256 ", main.m_strLog);
    EXPECT_EQ("Pre256 ", top.m_strLog);

    m_app.m_pMainWnd = &main;
    top.m_strLog.clear();
    EXPECT_FALSE(m_app.PreTranslateMessage(&msg)) << "the walk stops after the main window";
    EXPECT_EQ("", top.m_strLog);

    main.m_uConsume = WM_CHAR;
    msg.message = WM_CHAR;
    EXPECT_TRUE(m_app.PreTranslateMessage(&msg));
    m_app.m_pMainWnd = nullptr;
}

namespace {
class CRunApp : public CTBApp
{
public:
    std::string m_strLog;
    BOOL m_bInit = TRUE;
    BOOL InitInstance() override { m_strLog += "Init "; return m_bInit; }
    BOOL ExitInstance() override { m_strLog += "Exit "; return 3; }
};
}  // namespace

TEST(TBApp, RunPumpsUntilQuitAndRegistersItself)
{
    EXPECT_EQ(nullptr, GetTBApp());
    {
        CRunApp app;
        EXPECT_EQ(&app, GetTBApp());
        app.m_bInit = FALSE;
        EXPECT_FALSE(app.Run());
        EXPECT_EQ("Init ", app.m_strLog);

        app.m_bInit = TRUE;
        app.m_strLog.clear();
        PostQuitMessage(0);
        EXPECT_EQ(3, app.Run());
        EXPECT_EQ("Init Exit ", app.m_strLog);
    }
    EXPECT_EQ(nullptr, GetTBApp());
}

TEST(TBApp, InitMakesItsModuleTheSourceOfFrameworkStrings)
{
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    HMODULE hModule = LoadLibraryA("_1252.dll");
    ASSERT_NE(nullptr, hModule);
    HINSTANCE hOld = TbGetResourceModule();
    {
        CTBApp app;
        EXPECT_TRUE(app.Init(hModule, "Terminal", 3));
        EXPECT_EQ(hModule, TbGetResourceModule());
        EXPECT_EQ(hModule, app.GetModule());
        EXPECT_STREQ("Terminal", app.GetName());
        EXPECT_EQ(3, app.GetOption());
        EXPECT_STREQ("mm", GetAppString(29000));
        EXPECT_STREQ("", GetAppString(64999));
    }
    TbSetResourceModule(hOld);
    FreeLibrary(hModule);
}
