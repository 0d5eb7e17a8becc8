// CFrameWnd, CMDIFrameWnd and CMDIChildWnd: creation, commands and the MDI operations. The bars,
// prompts and menu updates are in FrameBars.cpp.
#include "platform/mfc/FrameWnd.h"

#include <cstring>

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WindowObjects.h"

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {
BOOL RegisterFrameClass()
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(nullptr, AFX_FRAME_CLASS, &wc))
        return TRUE;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = AFX_FRAME_CLASS;
    return RegisterClassA(&wc) != 0;
}

BOOL CreateFrame(CFrameWnd* pFrame, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                 HWND hWndParent, HMENU hMenu, DWORD dwExStyle)
{
    // The default rectangle's corners are CW_USEDEFAULT: no size is computed from them.
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (CRect(rect) != CFrameWnd::rectDefault) {
        x = rect.left;
        y = rect.top;
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    }
    return pFrame->CreateEx(dwExStyle, pszClassName, pszWindowName, dwStyle, x, y, cx, cy, hWndParent, hMenu);
}

BOOL IsKeyMessage(const MSG* pMsg)
{
    return pMsg && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
}

// The first MDI frame among the top-level windows, topmost first.
BOOL CALLBACK FindMdiFrame(HWND hWnd, LPARAM lParam)
{
    auto* pFrame = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(hWnd));
    if (pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr)
        return TRUE;
    *reinterpret_cast<CMDIFrameWnd**>(lParam) = pFrame;
    return FALSE;
}

// The frame menu's submenu that holds the Window commands: the window list goes there.
HMENU FindWindowMenu(HMENU hMenuBar)
{
    for (int i = GetMenuItemCount(hMenuBar) - 1; i >= 0; --i) {
        HMENU hSub = GetSubMenu(hMenuBar, i);
        for (int j = 0; hSub && j < GetMenuItemCount(hSub); ++j) {
            const UINT uId = GetMenuItemID(hSub, j);
            if (uId >= ID_WINDOW_NEW && uId <= ID_WINDOW_SPLIT)
                return hSub;
        }
    }
    return nullptr;
}
}  // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_NOTIFY, OnToolTipNotify)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd()
{
    if (m_bOwnAccelTable)
        DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCSTR pszMenuName, DWORD dwExStyle, CCreateContext*)
{
    HMENU hMenu = nullptr;
    if (pszMenuName != nullptr && (hMenu = ::LoadMenuA(nullptr, pszMenuName)) == nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    if (CreateFrame(this, pszClassName, pszWindowName, dwStyle, rect, pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu,
                    dwExStyle))
        return TRUE;
    // A window that was made took its menu down with it; one never made left the menu to us.
    if (hMenu != nullptr && IsMenu(hMenu))
        ::DestroyMenu(hMenu);
    return FALSE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    // The string's later parts (after '\n') name documents, which frames here do not have.
    char szTitle[256];
    LoadStringA(nullptr, nIDResource, szTitle, sizeof szTitle);
    if (char* pszEnd = std::strchr(szTitle, '\n'))
        *pszEnd = '\0';
    HACCEL hAccel = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(nIDResource));
    // Create deletes the frame when it fails: nothing of this object is touched after that.
    if (!Create(nullptr, szTitle, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCEA(nIDResource), 0,
                pContext)) {
        if (hAccel)
            DestroyAcceleratorTable(hAccel);
        return FALSE;
    }
    m_strTitle = szTitle;
    if (hAccel) {
        if (m_bOwnAccelTable)
            DestroyAcceleratorTable(m_hAccelTable);
        m_hAccelTable = hAccel;
        m_bOwnAccelTable = TRUE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        if (!RegisterFrameClass())
            return FALSE;
        cs.lpszClass = AFX_FRAME_CLASS;
    }
    return TRUE;
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::SetTitle(LPCSTR pszTitle)
{
    m_strTitle = pszTitle ? pszTitle : "";
    if (m_hWnd != nullptr)
        SetWindowText(m_strTitle);
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    BringWindowToTop();
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccelTable != nullptr && IsKeyMessage(pMsg) && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- the MDI frame ----

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(ID_WINDOW_ARRANGE, ID_WINDOW_TILE_VERT, OnWindowCommand)
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCTA pCreate, CMenu* pWindowMenu)
{
    if (m_hWndMDIClient != nullptr)
        return FALSE;
    // Scroll bars asked for in the frame's creation are the client's: the frame gives them up.
    const DWORD dwScroll = pCreate ? static_cast<DWORD>(pCreate->style) & (WS_HSCROLL | WS_VSCROLL) : 0;
    if (dwScroll != 0)
        ModifyStyle(WS_HSCROLL | WS_VSCROLL, 0, SWP_NOREDRAW | SWP_FRAMECHANGED);
    CLIENTCREATESTRUCT ccs = {pWindowMenu ? pWindowMenu->m_hMenu : FindWindowMenu(::GetMenu(m_hWnd)),
                              AFX_IDM_FIRST_MDICHILD};
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | dwScroll, 0, 0, rc.right,
                                        rc.bottom, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        nullptr, &ccs);
    return m_hWndMDIClient != nullptr;
}

int CMDIFrameWnd::OnCreate(LPCREATESTRUCTA pCreate)
{
    return CreateClient(pCreate, nullptr) ? 0 : -1;
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    HWND hActive = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(pbMaximized)));
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(hActive));
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    if (pWndActivate != nullptr)
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->m_hWnd), 0);
}

void CMDIFrameWnd::MDINext()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0);
}

void CMDIFrameWnd::MDIPrev()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 1);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    if (pWnd != nullptr)
        ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    if (pWnd != nullptr)
        ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->m_hWnd), 0);
}

void CMDIFrameWnd::MDICascade(int nType)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDITile(int nType)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0);
}

void CMDIFrameWnd::MDIIconArrange()
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    HMENU hOld = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                        reinterpret_cast<WPARAM>(pFrameMenu ? pFrameMenu->m_hMenu : nullptr),
                                                        reinterpret_cast<LPARAM>(pWindowMenu ? pWindowMenu->m_hMenu : nullptr)));
    return CMenu::FromHandle(hOld);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Menus and accelerators (no control): the document window the user works in decides first.
    if (lParam == 0)
        if (CMDIChildWnd* pActive = MDIGetActive())
            if (pActive->OnCommand(wParam, lParam))
                return TRUE;
    return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_hWndMDIClient != nullptr)
        if (CMDIChildWnd* pActive = MDIGetActive())
            if (pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
                return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWndMDIClient != nullptr && IsKeyMessage(pMsg) && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, uMsg, wParam, lParam);
}

void CMDIFrameWnd::OnWindowCommand(UINT nID)
{
    switch (nID) {
    case ID_WINDOW_ARRANGE:   MDIIconArrange(); break;
    case ID_WINDOW_CASCADE:   MDICascade(); break;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); break;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); break;
    }
}

// ---- document windows ----

BOOL CMDIChildWnd::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext*)
{
    if (pParentWnd == nullptr)
        EnumWindows(&FindMdiFrame, reinterpret_cast<LPARAM>(&pParentWnd));
    if (pParentWnd == nullptr || pParentWnd->m_hWndMDIClient == nullptr) {
        // Without the application's MDI frame the document window stands alone as a top-level window.
        return CreateFrame(this, pszClassName, pszWindowName, dwStyle & ~static_cast<DWORD>(WS_CHILD), rect, nullptr, nullptr,
                           0);
    }
    if (m_hWnd != nullptr)
        return FALSE;
    CREATESTRUCTA cs = {nullptr, nullptr, nullptr, pParentWnd->m_hWndMDIClient, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, static_cast<LONG>(dwStyle), pszWindowName, pszClassName,
                        WS_EX_MDICHILD};
    // The default rectangle's corners are CW_USEDEFAULT: no size is computed from them.
    if (CRect(rect) != rectDefault) {
        cs.x = rect.left;
        cs.y = rect.top;
        cs.cx = rect.right - rect.left;
        cs.cy = rect.bottom - rect.top;
    }
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCTA mcs = {cs.lpszClass, cs.lpszName, nullptr, cs.x, cs.y, cs.cx, cs.cy, static_cast<DWORD>(cs.style), 0};
    BOOL bAttached = FALSE;
    HWND hClient = pParentWnd->m_hWndMDIClient;
    HWND hWnd = CTbCreationHook<CWnd>::CreateThrough(this, [hClient, &mcs] {
        return reinterpret_cast<HWND>(::SendMessageA(hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }, &bAttached);
    if (!bAttached) {
        PostNcDestroy();
        return FALSE;
    }
    return hWnd != nullptr;
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    if (m_hWnd == nullptr || !(GetExStyle() & WS_EX_MDICHILD))
        return nullptr;
    HWND hClient = ::GetParent(m_hWnd);
    return dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(hClient)));
}

LRESULT CMDIChildWnd::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd != nullptr && GetMDIFrame() != nullptr)
        return ::DefMDIChildProcA(m_hWnd, uMsg, wParam, lParam);
    return CFrameWnd::DefWindowProc(uMsg, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) {
        ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
        return TRUE;
    }
    return CFrameWnd::DestroyWindow();
}

void CMDIChildWnd::MDIActivate()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame()) {
        pFrame->MDIActivate(this);
        return;
    }
    ::BringWindowToTop(m_hWnd);
    ::SetActiveWindow(m_hWnd);
}

void CMDIChildWnd::MDIDestroy()
{
    DestroyWindow();
}

void CMDIChildWnd::MDIMaximize()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIMaximize(this);
    else
        ShowWindow(SW_SHOWMAXIMIZED);
}

void CMDIChildWnd::MDIRestore()
{
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        pFrame->MDIRestore(this);
    else
        ShowWindow(SW_RESTORE);
}
