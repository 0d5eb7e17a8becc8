#include "platform/mfc/FrameWnd.h"

#include "platform/win/user/Cursor.h"
#include "platform/win/user/SysMetrics.h"

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
                 HWND hWndParent, DWORD dwExStyle)
{
    int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (CRect(rect) == CFrameWnd::rectDefault)
        x = y = cx = cy = CW_USEDEFAULT;
    return pFrame->CreateEx(dwExStyle, pszClassName, pszWindowName, dwStyle, x, y, cx, cy, hWndParent, nullptr);
}
}  // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CFrameWnd::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCSTR pszMenuName, DWORD dwExStyle, CCreateContext*)
{
    if (pszMenuName != nullptr) {
        PostNcDestroy();
        return FALSE;
    }
    return CreateFrame(this, pszClassName, pszWindowName, dwStyle, rect, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                       dwExStyle);
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

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::OnClose()
{
    DestroyWindow();
}

BOOL CMDIChildWnd::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd*, CCreateContext*)
{
    // Without the application's MDI frame the document window stands alone as a top-level window.
    return CreateFrame(this, pszClassName, pszWindowName, dwStyle & ~static_cast<DWORD>(WS_CHILD), rect, nullptr, 0);
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

void CMDIChildWnd::MDIActivate()
{
    ::BringWindowToTop(m_hWnd);
    ::SetActiveWindow(m_hWnd);
}

void CMDIChildWnd::MDIDestroy()
{
    DestroyWindow();
}

void CMDIChildWnd::MDIMaximize()
{
    ShowWindow(SW_SHOWMAXIMIZED);
}

void CMDIChildWnd::MDIRestore()
{
    ShowWindow(SW_RESTORE);
}
