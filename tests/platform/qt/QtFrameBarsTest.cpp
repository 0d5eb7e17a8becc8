// An MDI frame with its toolbar and status bar, as the terminal's main window has them: the
// layout around the client, buttons and panes that follow the command handlers while idle,
// clicks, tips and prompts, owner-drawn panes, hiding a bar, and screenshots in both reading
// directions.
#include <gtest/gtest.h>

#include <QtWidgets/QMenuBar>
#include <QtWidgets/QApplication>

#include <string>

#include "QtTestSupport.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/SysMetrics.h"

namespace {
enum { ID_CONNECT = 601, ID_DISCONNECT, ID_OPEN, ID_INFO, ID_PRINT, ID_INDICATOR = 610 };

// A status bar whose second pane is drawn by its owner, as the terminal's connection pane is.
class CPaneBar : public CStatusBar
{
public:
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override
    {
        ++m_nDrawn;
        m_nLastItem = static_cast<int>(pDraw->itemID);
        HBRUSH hBrush = CreateSolidBrush(RGB(0, 160, 0));
        FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
        DeleteObject(hBrush);
    }
    int m_nDrawn = 0;
    int m_nLastItem = -1;
};

class CBarsFrame : public CMDIFrameWnd
{
public:
    CToolBar m_wndToolBar;
    CPaneBar m_wndStatusBar;
    int m_nConnects = 0;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override
    {
        if (GetACP() == 1256)
            cs.dwExStyle |= WS_EX_RTLREADING;
        return CMDIFrameWnd::PreCreateWindow(cs);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate)
    {
        // The client scrolls to windows moved out of sight.
        pCreate->style |= WS_HSCROLL | WS_VSCROLL;
        if (CMDIFrameWnd::OnCreate(pCreate) == -1)
            return -1;
        static const UINT s_indicators[] = {ID_SEPARATOR, ID_INDICATOR};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(s_indicators, 2))
            return -1;
        m_wndStatusBar.SetPaneInfo(1, ID_INDICATOR, SBPS_OWNERDRAW, 60);
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_FLYBY | CBRS_SIZE_DYNAMIC) ||
            !m_wndToolBar.LoadToolBar(600))
            return -1;
        m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        return 0;
    }
    afx_msg void OnConnect() { ++m_nConnects; }
    afx_msg void OnUpdateOpen(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateIndicator(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarsFrame, CMDIFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(ID_CONNECT, OnConnect)
    ON_UPDATE_COMMAND_UI(ID_OPEN, OnUpdateOpen)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR, OnUpdateIndicator)
END_MESSAGE_MAP()

class CBarsApp : public CWinApp
{
protected:
    afx_msg void OnInfo() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarsApp, CWinApp)
    ON_COMMAND(ID_INFO, OnInfo)
END_MESSAGE_MAP()

// The frame in one language, shown at a known size, with the application around it.
class QtFrameBars : public ::testing::Test
{
protected:
    void Open(UINT uCodePage)
    {
        TbInitQtPlatform(nullptr, nullptr);
        TbSetActiveCodePage(uCodePage);
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hOldModule = TbGetResourceModule();
        m_hModule = LoadLibraryA(uCodePage == 1256 ? "testbars_1256.dll" : "testbars_1252.dll");
        ASSERT_NE(nullptr, m_hModule);
        TbSetResourceModule(m_hModule);
        m_pFrame = new CBarsFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(600));
        m_app.m_pMainWnd = m_pFrame;
        m_pFrame->MoveWindow(40, 40, 640, 360);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->UpdateWindow();
        m_app.OnIdle(0);
        PumpQt(30);
    }
    void TearDown() override
    {
        m_app.m_pMainWnd = nullptr;
        if (m_pFrame != nullptr && ::IsWindow(m_pFrame->m_hWnd))
            m_pFrame->DestroyWindow();
        PumpQt(10);
        TbSetResourceModule(m_hOldModule);
        if (m_hModule)
            FreeLibrary(m_hModule);
        TbSetActiveCodePage(1252);
    }
    HWND Tip() const { return reinterpret_cast<HWND>(m_pFrame->m_wndToolBar.SendMessage(TB_GETTOOLTIPS)); }
    CRect ButtonRect(UINT nID) const
    {
        CRect rc;
        m_pFrame->m_wndToolBar.GetItemRect(m_pFrame->m_wndToolBar.CommandToIndex(nID), &rc);
        return rc;
    }
    // A window's rectangle in the frame's client coordinates.
    CRect InFrame(HWND hWnd) const
    {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        m_pFrame->ScreenToClient(&rc);
        return rc;
    }
    std::string MessagePane() const { return std::string(m_pFrame->m_wndStatusBar.GetPaneText(0)); }
    void MouseTo(const CPoint& pt) const
    {
        m_pFrame->m_wndToolBar.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    }
    // Pumps until the condition holds, at most a second.
    template <class FN>
    bool PumpUntil(FN fn)
    {
        for (int i = 0; i < 100 && !fn(); ++i)
            PumpQt(10);
        return fn();
    }

    CBarsApp m_app;
    CBarsFrame* m_pFrame = nullptr;     // owns itself
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldModule = nullptr;
};

TEST_F(QtFrameBars, BarsSurroundTheClientAndFollowTheHandlers)
{
    Open(1252);
    CToolBar& toolBar = m_pFrame->m_wndToolBar;
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    const CRect rcTool = InFrame(toolBar.m_hWnd), rcStatus = InFrame(m_pFrame->m_wndStatusBar.m_hWnd);
    const CRect rcMdi = InFrame(m_pFrame->m_hWndMDIClient);
    EXPECT_EQ(CRect(0, 0, rcClient.right, 22 + 4), rcTool);         // 16x15 images in 23x22 buttons
    EXPECT_EQ(rcClient.bottom, rcStatus.bottom);
    EXPECT_EQ(CRect(0, rcTool.bottom, rcClient.right, rcStatus.top), rcMdi);
    // The frame's scroll bars go to the client, whose display area scrolls: no room is kept for them.
    EXPECT_EQ(0u, m_pFrame->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
    CRect rcMdiClient;
    ::GetClientRect(m_pFrame->m_hWndMDIClient, &rcMdiClient);
    EXPECT_EQ(rcMdi.Size(), rcMdiClient.Size());

    // The buttons of the resource: two, a separator, one, a separator, one.
    EXPECT_EQ(6, toolBar.GetCount());
    EXPECT_EQ(0, toolBar.CommandToIndex(ID_CONNECT));
    EXPECT_EQ(3, toolBar.CommandToIndex(ID_OPEN));
    EXPECT_EQ(-1, toolBar.CommandToIndex(ID_PRINT));
    EXPECT_EQ(static_cast<UINT>(ID_SEPARATOR), toolBar.GetItemID(2));
    EXPECT_EQ(CRect(0, 2, 23, 24), ButtonRect(ID_CONNECT));
    EXPECT_EQ(CRect(23 + 23 + 8, 2, 23 + 23 + 8 + 23, 24), ButtonRect(ID_OPEN));
    CRect rcBad;
    toolBar.GetItemRect(99, &rcBad);
    EXPECT_TRUE(rcBad.IsRectEmpty());

    // Idle: a command nobody handles is disabled, an update handler checks, the application's
    // handler counts as well.
    EXPECT_TRUE(toolBar.GetToolBarCtrl().IsButtonEnabled(ID_CONNECT));
    EXPECT_FALSE(toolBar.GetToolBarCtrl().IsButtonEnabled(ID_DISCONNECT));
    EXPECT_TRUE(toolBar.GetToolBarCtrl().IsButtonChecked(ID_OPEN));
    EXPECT_TRUE(toolBar.SendMessage(TB_ISBUTTONENABLED, ID_INFO));
    EXPECT_NE(0u, toolBar.GetButtonStyle(1) & TBBS_DISABLED);

    // A click sends the command; a disabled button sends nothing.
    const CPoint ptConnect = ButtonRect(ID_CONNECT).CenterPoint();
    toolBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptConnect.x, ptConnect.y));
    toolBar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptConnect.x, ptConnect.y));
    const CPoint ptDisconnect = ButtonRect(ID_DISCONNECT).CenterPoint();
    toolBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDisconnect.x, ptDisconnect.y));
    toolBar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptDisconnect.x, ptDisconnect.y));
    // Pressed, then released outside: nothing either.
    toolBar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptConnect.x, ptConnect.y));
    toolBar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 10));
    toolBar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
    EXPECT_EQ(1, m_pFrame->m_nConnects);

    // Menu prompts in the message pane: the string of the command up to its '\n'.
    HMENU hFile = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_OPEN, MF_STRING), reinterpret_cast<LPARAM>(hFile));
    EXPECT_EQ("Open a saved workspace", MessagePane());
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(::GetMenu(m_pFrame->m_hWnd)));
    EXPECT_EQ("", MessagePane());
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("Ready", MessagePane());
    m_pFrame->SetMessageText("Connecting...");
    EXPECT_EQ("Connecting...", MessagePane());
}

TEST_F(QtFrameBars, OwnerDrawnPanesAndTheMinimumHeight)
{
    Open(1252);
    CPaneBar& bar = m_pFrame->m_wndStatusBar;
    bar.Invalidate();
    bar.UpdateWindow();
    EXPECT_GT(bar.m_nDrawn, 0);
    EXPECT_EQ(1, bar.m_nLastItem);
    UINT nID = 0, nStyle = 0;
    int cxWidth = 0;
    bar.GetPaneInfo(1, nID, nStyle, cxWidth);
    EXPECT_EQ(static_cast<UINT>(ID_INDICATOR), nID);
    EXPECT_EQ(60, cxWidth);
    CRect rcPane;
    bar.GetItemRect(1, &rcPane);
    EXPECT_EQ(60 + 6, rcPane.Width());

    // A taller minimum: the frame lays out again when told, and the client gives up the room.
    const int cyBefore = InFrame(bar.m_hWnd).Height();
    bar.GetStatusBarCtrl().SetMinHeight(40);
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    m_pFrame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rcClient.Width(), rcClient.Height()));
    const CRect rcStatus = InFrame(bar.m_hWnd);
    EXPECT_GT(rcStatus.Height(), cyBefore);
    EXPECT_GE(rcStatus.Height(), 40);
    EXPECT_EQ(rcStatus.top, InFrame(m_pFrame->m_hWndMDIClient).bottom);

    // Hiding a bar through its command: the client takes its place; the menu item shows it.
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(0, InFrame(m_pFrame->m_hWndMDIClient).top);
    HMENU hView = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 1);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hView), 1);
    EXPECT_EQ(0u, ::GetMenuState(hView, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_NE(0u, ::GetMenuState(hView, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED);
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(InFrame(m_pFrame->m_wndToolBar.m_hWnd).bottom, InFrame(m_pFrame->m_hWndMDIClient).top);
    EXPECT_EQ(&m_pFrame->m_wndStatusBar, m_pFrame->GetControlBar(AFX_IDW_STATUS_BAR));
}

TEST_F(QtFrameBars, TipsNameTheButtonUnderThePointer)
{
    Open(1252);
    HWND hTip = Tip();
    ASSERT_NE(nullptr, hTip);
    const HWND hActive = ::GetActiveWindow();
    EXPECT_EQ(m_pFrame->m_hWnd, hActive);
    MouseTo(ButtonRect(ID_OPEN).CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(hTip) != FALSE; }));
    PumpQt(20);
    EXPECT_EQ(hActive, ::GetActiveWindow());        // a tip never takes the activation
    char szTip[64] = "";
    ::GetWindowTextA(hTip, szTip, sizeof szTip);
    EXPECT_STREQ("Open workspace", szTip);
    // The bar flies by: its prompt shows while its tip does.
    EXPECT_EQ("Open a saved workspace", MessagePane());
    // The tip sits under its button.
    CRect rcTip, rcButton = ButtonRect(ID_OPEN);
    ::GetWindowRect(hTip, &rcTip);
    m_pFrame->m_wndToolBar.ClientToScreen(&rcButton);
    EXPECT_GE(rcTip.top, rcButton.bottom);
    EXPECT_EQ(rcButton.left, rcTip.left);

    // Along the bar the next tip follows at once; off the buttons it goes.
    MouseTo(ButtonRect(ID_INFO).CenterPoint());
    EXPECT_TRUE(::IsWindowVisible(hTip));
    ::GetWindowTextA(hTip, szTip, sizeof szTip);
    EXPECT_STREQ("Information", szTip);
    MouseTo(CPoint(500, 10));
    EXPECT_FALSE(::IsWindowVisible(hTip));
    EXPECT_EQ("Ready", MessagePane());
    // The pointer moving on to another window takes the tip away.
    MouseTo(ButtonRect(ID_OPEN).CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(hTip) != FALSE; }));
    POINT ptButton = ButtonRect(ID_OPEN).CenterPoint();
    m_pFrame->m_wndToolBar.ClientToScreen(&ptButton);
    TbDisplayMouse(m_pFrame->m_wndToolBar.m_hWnd, WM_MOUSEMOVE, 0, ptButton);
    CRect rcClient;
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &rcClient);
    TbDisplayMouse(m_pFrame->m_hWndMDIClient, WM_MOUSEMOVE, 0, rcClient.CenterPoint());
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(hTip); }));
    EXPECT_EQ("Ready", MessagePane());
    // A disabled button is named as well.
    MouseTo(ButtonRect(ID_DISCONNECT).CenterPoint());
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(hTip) != FALSE; }));
    ::GetWindowTextA(hTip, szTip, sizeof szTip);
    EXPECT_STREQ("Disconnect", szTip);

    // A bar without tips shows none.
    MouseTo(CPoint(500, 10));
    m_pFrame->m_wndToolBar.EnableToolTips(FALSE);
    MouseTo(ButtonRect(ID_CONNECT).CenterPoint());
    PumpQt(600);
    EXPECT_FALSE(::IsWindowVisible(hTip));
}

// The colour of a toolbar pixel as the frame shows it.
COLORREF ToolbarPixel(CToolBar& toolBar, CPoint pt)
{
    HDC hdc = ::GetDC(toolBar.m_hWnd);
    const COLORREF cr = ::GetPixel(hdc, pt.x, pt.y);
    ::ReleaseDC(toolBar.m_hWnd, hdc);
    return cr;
}

// The frame alone says its reading direction: the application's own layout direction stays
// left to right here, as the terminal leaves it.
TEST_F(QtFrameBars, MenuBarRunsFromTheRightInARightToLeftFrame)
{
    for (UINT uCodePage : {1252u, 1256u}) {
        SCOPED_TRACE(uCodePage);
        Open(uCodePage);
        auto* pBar = TbQtWidgetOf(m_pFrame->m_hWnd)->findChild<QMenuBar*>();
        ASSERT_NE(nullptr, pBar);
        ASSERT_FALSE(pBar->actions().isEmpty());
        const QRect rcFirst = pBar->actionGeometry(pBar->actions().first());
        if (uCodePage == 1256)
            EXPECT_GT(rcFirst.left(), pBar->width() / 2) << "the first menu stands at the right";
        else
            EXPECT_LT(rcFirst.left(), pBar->width() / 2) << "the first menu stands at the left";
        TearDown();
        m_pFrame = nullptr;
        m_hModule = nullptr;
    }
}

TEST_F(QtFrameBars, ScreenshotsInBothReadingDirections)
{
    static const struct { UINT uCodePage; const char* pszShot; } s_runs[] = {
        {1252, "frame_bars_english"}, {1256, "frame_bars_arabic"}};
    for (const auto& run : s_runs) {
        SCOPED_TRACE(run.pszShot);
        if (run.uCodePage == 1256)
            QApplication::setLayoutDirection(Qt::RightToLeft);
        Open(run.uCodePage);
        CToolBar& toolBar = m_pFrame->m_wndToolBar;
        CRect rcBar;
        toolBar.GetClientRect(&rcBar);
        const CRect rcConnect = ButtonRect(ID_CONNECT);
        CRect rcMessage;
        m_pFrame->m_wndStatusBar.GetItemRect(0, &rcMessage);
        if (run.uCodePage == 1256) {
            // Mirrored: the first button and the message pane stand at the right.
            EXPECT_EQ(rcBar.right, rcConnect.right);
            EXPECT_EQ(rcBar.right, rcMessage.right);
            CRect rcIndicator;
            m_pFrame->m_wndStatusBar.GetItemRect(1, &rcIndicator);
            EXPECT_LT(rcIndicator.right, rcMessage.left);
        } else {
            EXPECT_EQ(0, rcConnect.left);
            EXPECT_EQ(0, rcMessage.left);
        }
        // The first image (a green square) is drawn inside its button; around it, where the
        // image is transparent, the face shows.
        m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_CONNECT, MF_STRING), 0);
        toolBar.UpdateWindow();
        m_pFrame->m_wndStatusBar.UpdateWindow();
        const CPoint ptConnect(rcConnect.left + (rcConnect.Width() - 16) / 2, rcConnect.top + (rcConnect.Height() - 15) / 2);
        EXPECT_EQ(RGB(0, 128, 0), ToolbarPixel(toolBar, ptConnect + CPoint(6, 7)));
        const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
        for (const CPoint& pt : {CPoint(1, 1), CPoint(14, 13), CPoint(12, 2)})
            EXPECT_EQ(crFace, ToolbarPixel(toolBar, ptConnect + pt)) << pt.x << "," << pt.y;
        // The disabled button's image is embossed: its shape in the shadow colour, the face
        // around it, the highlight one pixel down and right of the shape.
        const CRect rcDisconnect = ButtonRect(ID_DISCONNECT);
        const CPoint ptDisconnect(rcDisconnect.left + (rcDisconnect.Width() - 16) / 2,
                                  rcDisconnect.top + (rcDisconnect.Height() - 15) / 2);
        const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW);
        EXPECT_EQ(crShadow, ToolbarPixel(toolBar, rcDisconnect.CenterPoint()));
        EXPECT_EQ(crShadow, ToolbarPixel(toolBar, ptDisconnect + CPoint(2, 2)));
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), ToolbarPixel(toolBar, ptDisconnect + CPoint(14, 13)));
        for (const CPoint& pt : {CPoint(1, 1), CPoint(8, 1), CPoint(8, 13), CPoint(0, 7)})
            EXPECT_EQ(crFace, ToolbarPixel(toolBar, ptDisconnect + pt)) << pt.x << "," << pt.y;
        PumpQt(30);
        EXPECT_TRUE(TbSaveWindowPng(m_pFrame->m_hWnd, ScreenshotPath(run.pszShot).c_str()));
        // As the display shows it, with the menu bar.
        EXPECT_EQ(0, TbSaveScreenPng(m_pFrame->m_hWnd, ScreenshotPath((std::string(run.pszShot) + "_screen").c_str()).c_str()));
        TearDown();
        m_pFrame = nullptr;
        m_hModule = nullptr;
        QApplication::setLayoutDirection(Qt::LeftToRight);
    }
}
}  // namespace
