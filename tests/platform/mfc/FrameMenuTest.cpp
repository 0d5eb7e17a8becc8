// The class library's menus and frames: CMenu, a frame's accelerators, the MDI frame with its
// document windows and the way commands reach them.
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/Menu.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
enum { ID_CONNECT = 200, ID_QUOTES, ID_SHARED, ID_FRAME_ONLY };

std::string& Log()
{
    static std::string s_log;
    return s_log;
}

class CDocWnd : public CMDIChildWnd
{
public:
    explicit CDocWnd(const char* pszName, BOOL bHideOnClose = FALSE) : m_strName(pszName), m_bHideOnClose(bHideOnClose) {}
    std::string m_strName;
    BOOL m_bHideOnClose;

protected:
    afx_msg void OnShared() { Log() += m_strName + ":Shared "; }
    afx_msg void OnQuotes() { Log() += m_strName + ":Quotes "; }
    afx_msg void OnClose()
    {
        // A connection window stays alive behind the scenes when the user closes it.
        if (m_bHideOnClose)
            ShowWindow(SW_HIDE);
        else
            CMDIChildWnd::OnClose();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDocWnd, CMDIChildWnd)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND(ID_QUOTES, OnQuotes)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

class CTestFrame : public CMDIFrameWnd
{
protected:
    afx_msg void OnShared() { Log() += "Frame:Shared "; }
    afx_msg void OnFrameOnly() { Log() += "Frame:Only "; }
    afx_msg void OnConnect() { Log() += "Frame:Connect "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CMDIFrameWnd)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND(ID_FRAME_ONLY, OnFrameOnly)
    ON_COMMAND(ID_CONNECT, OnConnect)
END_MESSAGE_MAP()

void PumpReady()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) {
        if (CWnd::WalkPreTranslateTree(nullptr, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A key pressed on a window, through the queue and the frames' pre-translation.
void Press(HWND hWnd, UINT uVk, BOOL bCtrl = FALSE)
{
    if (bCtrl)
        PostMessageA(hWnd, WM_KEYDOWN, VK_CONTROL, 0);
    PostMessageA(hWnd, WM_KEYDOWN, uVk, 0);
    PostMessageA(hWnd, WM_KEYUP, uVk, 0);
    if (bCtrl)
        PostMessageA(hWnd, WM_KEYUP, VK_CONTROL, 0);
    PumpReady();
}

// A bar with Connect and Shared under File, and the Window menu the window list goes into.
CMenu* MakeFrameMenu()
{
    auto* pBar = new CMenu;
    pBar->CreateMenu();
    CMenu file, window;
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, ID_CONNECT, "&Connect");
    file.AppendMenu(MF_STRING, ID_SHARED, "&Shared");
    window.CreatePopupMenu();
    window.AppendMenu(MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
    window.AppendMenu(MF_STRING, ID_WINDOW_TILE_HORZ, "&Tile");
    pBar->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), "&File");
    pBar->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(window.Detach()), "&Window");
    return pBar;
}

// A frame with the menu above and its client made on creation.
CTestFrame* MakeFrame()
{
    auto* pFrame = new CTestFrame;
    CMenu* pMenu = MakeFrameMenu();
    HMENU hMenu = pMenu->Detach();
    delete pMenu;
    // The menu is given at creation, so that the client finds its Window menu.
    EXPECT_TRUE(pFrame->CreateEx(0, nullptr, "Terminal", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, hMenu));
    pFrame->ShowWindow(SW_SHOW);
    return pFrame;
}
}  // namespace

TEST(CMenuTest, WrapsTheMenuItOwns)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_FALSE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_CONNECT, "&Connect");
    menu.AppendMenu(MF_SEPARATOR);
    menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_QUOTES, "&Quotes");
    CMenu sub;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, ID_SHARED, "&Shared");
    HMENU hSub = sub.Detach();
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "&More");
    EXPECT_EQ(4u, menu.GetMenuItemCount());
    EXPECT_EQ(static_cast<UINT>(ID_QUOTES), menu.GetMenuItemID(0));
    CString str;
    EXPECT_EQ(8, menu.GetMenuString(ID_CONNECT, str, MF_BYCOMMAND));
    EXPECT_EQ(CString("&Connect"), str);
    EXPECT_TRUE(menu.ModifyMenu(ID_CONNECT, MF_BYCOMMAND | MF_STRING, ID_CONNECT, "&Disconnect"));
    menu.GetMenuString(1, str, MF_BYPOSITION);
    EXPECT_EQ(CString("&Disconnect"), str);
    EXPECT_EQ(static_cast<UINT>(MF_ENABLED), menu.EnableMenuItem(ID_SHARED, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), menu.CheckMenuItem(ID_QUOTES, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_TRUE(menu.GetMenuState(ID_QUOTES, MF_BYCOMMAND) & MF_CHECKED);
    // The submenu's object is a temporary one: the same each time, owning nothing.
    CMenu* pSub = menu.GetSubMenu(3);
    ASSERT_NE(nullptr, pSub);
    EXPECT_EQ(hSub, pSub->m_hMenu);
    EXPECT_EQ(pSub, CMenu::FromHandle(hSub));
    EXPECT_FALSE(pSub->DestroyMenu());
    EXPECT_EQ(nullptr, menu.GetSubMenu(0));
    EXPECT_TRUE(menu.DeleteMenu(2, MF_BYPOSITION));
    EXPECT_TRUE(menu.RemoveMenu(ID_QUOTES, MF_BYCOMMAND));
    EXPECT_EQ(2u, menu.GetMenuItemCount());

    // Attach takes a menu over; the object destroys what it holds, unless detached first.
    HMENU hMenu = menu.m_hMenu;
    HMENU hOwn = ::CreatePopupMenu();
    {
        CMenu other;
        EXPECT_FALSE(other.Attach(hMenu));          // held by menu already
        EXPECT_TRUE(other.Attach(hOwn));
        EXPECT_EQ(&other, CMenu::FromHandle(hOwn));
        HMENU hSecond = ::CreatePopupMenu();
        EXPECT_FALSE(other.Attach(hSecond));        // other holds one already
        ::DestroyMenu(hSecond);
        HMENU hKept = ::CreatePopupMenu();
        CMenu keeper;
        keeper.Attach(hKept);
        EXPECT_EQ(hKept, keeper.Detach());
        EXPECT_TRUE(::DestroyMenu(hKept));
    }
    EXPECT_FALSE(IsMenu(hOwn));
    EXPECT_TRUE(IsMenu(hMenu));
    CMenu::DeleteTempMap();
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(hMenu));
    EXPECT_FALSE(IsMenu(hSub));
}

TEST(CMenuTest, TrackPopupMenuSendsTheCommandToTheWindow)
{
    Log().clear();
    TbClearTestAnswers();
    CTestFrame* pFrame = MakeFrame();
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, ID_FRAME_ONLY, "&Only");
    popup.AppendMenu(MF_STRING, ID_CONNECT, "&Connect");
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, ID_FRAME_ONLY, ""});
    EXPECT_TRUE(popup.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 10, 10, pFrame));
    PumpReady();
    EXPECT_EQ("Frame:Only ", Log());
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, ID_CONNECT, ""});
    EXPECT_EQ(ID_CONNECT, popup.TrackPopupMenu(TPM_RETURNCMD, 10, 10, pFrame));
    PumpReady();
    EXPECT_EQ("Frame:Only ", Log());
    pFrame->DestroyWindow();
}

TEST(FrameWndTest, TheFramesAcceleratorsBecomeCommands)
{
    Log().clear();
    CTestFrame* pFrame = MakeFrame();
    const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'K', ID_CONNECT}, {FVIRTKEY, VK_F9, ID_FRAME_ONLY}};
    pFrame->m_hAccelTable = CreateAcceleratorTableA(entries, 2);
    Press(pFrame->m_hWnd, 'K', TRUE);
    Press(pFrame->m_hWnd, VK_F9);
    Press(pFrame->m_hWnd, 'K');                       // without Ctrl: a plain key
    EXPECT_EQ("Frame:Connect Frame:Only ", Log());
    EXPECT_NE(nullptr, pFrame->GetMenu());
    EXPECT_EQ(2u, pFrame->GetMenu()->GetMenuItemCount());
    DestroyAcceleratorTable(pFrame->m_hAccelTable);
    pFrame->DestroyWindow();
}

TEST(MDIFrameWndTest, DocumentWindowsLiveInTheFramesClient)
{
    Log().clear();
    CTestFrame* pFrame = MakeFrame();
    ASSERT_NE(nullptr, pFrame->m_hWndMDIClient);
    auto* pQuotes = new CDocWnd("Quotes");
    auto* pLink = new CDocWnd("Link", TRUE);
    ASSERT_TRUE(pQuotes->Create(nullptr, "Quotes"));             // finds the frame by itself
    ASSERT_TRUE(pLink->Create(nullptr, "Link", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, pFrame));
    EXPECT_EQ(pFrame, pQuotes->GetMDIFrame());
    EXPECT_EQ(pFrame->m_hWndMDIClient, ::GetParent(pLink->m_hWnd));
    BOOL bMaximized = TRUE;
    EXPECT_EQ(pLink, pFrame->MDIGetActive(&bMaximized));
    EXPECT_FALSE(bMaximized);

    // Commands: the active document window first, then the frame.
    pFrame->SendMessage(WM_COMMAND, ID_SHARED, 0);
    pFrame->SendMessage(WM_COMMAND, ID_FRAME_ONLY, 0);
    pQuotes->MDIActivate();
    EXPECT_EQ(pQuotes, pFrame->MDIGetActive());
    pFrame->SendMessage(WM_COMMAND, ID_SHARED, 0);
    pFrame->SendMessage(WM_COMMAND, ID_QUOTES, 0);
    EXPECT_EQ("Link:Shared Frame:Only Quotes:Shared Quotes:Quotes ", Log());

    // The MDI operations and the Window menu's commands.
    pFrame->MDINext();
    EXPECT_EQ(pLink, pFrame->MDIGetActive());
    pFrame->MDIMaximize(pLink);
    pFrame->MDIGetActive(&bMaximized);
    EXPECT_TRUE(bMaximized);
    pFrame->MDIRestore(pLink);
    EXPECT_FALSE(pLink->IsZoomed());
    pFrame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_HORZ, 0);
    CRect rcLink, rcQuotes, rcClient;
    pLink->GetWindowRect(&rcLink);
    pQuotes->GetWindowRect(&rcQuotes);
    ::GetClientRect(pFrame->m_hWndMDIClient, &rcClient);
    RECT rcFrame;
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    EXPECT_EQ(rcClient.Width(), rcLink.Width() + rcFrame.left + rcFrame.right);
    EXPECT_EQ(rcLink.bottom + rcFrame.bottom + rcFrame.top, rcQuotes.top);
    // The window list is in the frame's Window menu; its command activates the child.
    CMenu* pWindowMenu = pFrame->GetMenu()->GetSubMenu(1);
    ASSERT_EQ(5u, pWindowMenu->GetMenuItemCount());
    pFrame->SendMessage(WM_COMMAND, pWindowMenu->GetMenuItemID(3), 0);
    EXPECT_EQ(pQuotes, pFrame->MDIGetActive());

    // Closing: the link window hides and stays; Ctrl+F4 closes the quotes window for good.
    pLink->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(::IsWindow(pLink->m_hWnd));
    EXPECT_FALSE(pLink->IsWindowVisible());
    EXPECT_EQ(pQuotes, pFrame->MDIGetActive());
    HWND hQuotes = pQuotes->m_hWnd;
    Press(hQuotes, VK_F4, TRUE);
    EXPECT_FALSE(::IsWindow(hQuotes));
    EXPECT_EQ(nullptr, pFrame->MDIGetActive());
    pLink->ShowWindow(SW_SHOW);
    EXPECT_EQ(pLink, pFrame->MDIGetActive());
    pFrame->DestroyWindow();
}

TEST(MDIFrameWndTest, ADocumentWindowStandsAloneWithoutAFrame)
{
    auto* pDoc = new CDocWnd("Alone");
    ASSERT_TRUE(pDoc->Create(nullptr, "Alone", WS_CHILD | WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(nullptr, pDoc->GetMDIFrame());
    EXPECT_EQ(nullptr, ::GetParent(pDoc->m_hWnd));
    pDoc->MDIMaximize();
    EXPECT_TRUE(pDoc->IsZoomed());
    pDoc->MDIDestroy();
}

namespace {
// The frames' test resources made the resource module for one test, and the old one put back.
class CFrameResources
{
public:
    CFrameResources() : m_hOld(TbGetResourceModule())
    {
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hModule = LoadLibraryA("testframe_1252.dll");
        TbSetResourceModule(m_hModule);
    }
    ~CFrameResources()
    {
        TbSetResourceModule(m_hOld);
        FreeLibrary(m_hModule);
    }
    HMODULE m_hModule = nullptr;

private:
    HINSTANCE m_hOld;
};

// A frame that tells when it is gone, since a failed creation deletes it.
class CCountedFrame : public CFrameWnd
{
public:
    explicit CCountedFrame(int* pnAlive) : m_pnAlive(pnAlive) { ++*m_pnAlive; }
    ~CCountedFrame() override { --*m_pnAlive; }

private:
    int* m_pnAlive;
};
}  // namespace

TEST(CMenuTest, LoadMenuTakesTheResourceModulesMenu)
{
    CFrameResources resources;
    ASSERT_NE(nullptr, resources.m_hModule);
    CMenu menu;
    EXPECT_FALSE(menu.LoadMenu(999));
    EXPECT_EQ(nullptr, menu.m_hMenu);
    ASSERT_TRUE(menu.LoadMenu(501));
    EXPECT_FALSE(menu.LoadMenu(500));               // holds one already
    EXPECT_EQ(2u, menu.GetMenuItemCount());
    EXPECT_EQ(201u, menu.GetMenuItemID(0));
    EXPECT_EQ(&menu, CMenu::FromHandle(menu.m_hMenu));
    HMENU hMenu = menu.m_hMenu;
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(IsMenu(hMenu));
}

TEST(FrameWndTest, LoadFrameTakesMenuAcceleratorsAndTitleOfOneId)
{
    CFrameResources resources;
    Log().clear();
    auto* pFrame = new CTestFrame;
    ASSERT_TRUE(pFrame->LoadFrame(500));
    CString strTitle;
    pFrame->GetWindowText(strTitle);
    EXPECT_EQ(CString("Quotes Terminal"), strTitle);
    ASSERT_NE(nullptr, pFrame->GetMenu());
    EXPECT_EQ(2u, pFrame->GetMenu()->GetMenuItemCount());
    ASSERT_NE(nullptr, pFrame->m_hAccelTable);
    EXPECT_EQ(2, CopyAcceleratorTableA(pFrame->m_hAccelTable, nullptr, 0));
    pFrame->ShowWindow(SW_SHOW);
    Press(pFrame->m_hWnd, 'K', TRUE);
    Press(pFrame->m_hWnd, VK_F9);
    EXPECT_EQ("Frame:Connect Frame:Only ", Log());
    // The client was made with the menu in place, so the window list joins the loaded Window menu.
    auto* pDoc = new CDocWnd("Doc");
    ASSERT_TRUE(pDoc->Create(nullptr, "Doc"));
    EXPECT_EQ(4u, pFrame->GetMenu()->GetSubMenu(1)->GetMenuItemCount());
    HMENU hMenu = pFrame->GetMenu()->m_hMenu;
    HACCEL hAccel = pFrame->m_hAccelTable;
    pFrame->DestroyWindow();
    EXPECT_FALSE(IsMenu(hMenu));
    EXPECT_EQ(0, CopyAcceleratorTableA(hAccel, nullptr, 0));    // the frame's own table went with it
}

TEST(FrameWndTest, FramesWithAndWithoutTheirResources)
{
    CFrameResources resources;
    int nAlive = 0;
    // A menu without string or accelerators: an empty title and no table.
    auto* pPlain = new CCountedFrame(&nAlive);
    ASSERT_TRUE(pPlain->LoadFrame(501, WS_OVERLAPPEDWINDOW));
    CString strTitle;
    pPlain->GetWindowText(strTitle);
    EXPECT_TRUE(strTitle.IsEmpty());
    EXPECT_EQ(nullptr, pPlain->m_hAccelTable);
    EXPECT_EQ(201u, pPlain->GetMenu()->GetMenuItemID(0));
    pPlain->DestroyWindow();
    EXPECT_EQ(0, nAlive);
    // No menu of that id: the frame is refused and deleted, whatever else the id has.
    auto* pNoMenu = new CCountedFrame(&nAlive);
    EXPECT_FALSE(pNoMenu->LoadFrame(502));
    EXPECT_EQ(0, nAlive);
    // Create with a menu name, by number or missing.
    auto* pNamed = new CCountedFrame(&nAlive);
    ASSERT_TRUE(pNamed->Create(nullptr, "Named", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr,
                               MAKEINTRESOURCEA(500)));
    EXPECT_EQ(2u, pNamed->GetMenu()->GetMenuItemCount());
    EXPECT_EQ(nullptr, pNamed->m_hAccelTable);      // only LoadFrame loads accelerators
    pNamed->DestroyWindow();
    auto* pMissing = new CCountedFrame(&nAlive);
    EXPECT_FALSE(pMissing->Create(nullptr, "Missing", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, "NOMENU"));
    EXPECT_EQ(0, nAlive);
}
