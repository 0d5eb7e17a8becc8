// CWnd: the wrappers of the window functions and the default bodies of the message handlers.
#include "platform/mfc/Wnd.h"

#include <vector>

#include "platform/win/user/Paint.h"

LRESULT CWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, uMsg, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, uMsg, wParam, lParam);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(const RECT& rect, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::GetClientRect(LPRECT pRect) const
{
    if (pRect != nullptr && !::GetClientRect(m_hWnd, pRect))
        *pRect = RECT{0, 0, 0, 0};
}

void CWnd::GetWindowRect(LPRECT pRect) const
{
    if (pRect != nullptr && !::GetWindowRect(m_hWnd, pRect))
        *pRect = RECT{0, 0, 0, 0};
}

void CWnd::ScreenToClient(LPPOINT pPoint) const
{
    ::ScreenToClient(m_hWnd, pPoint);
}

void CWnd::ScreenToClient(LPRECT pRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->right));
}

void CWnd::ClientToScreen(LPPOINT pPoint) const
{
    ::ClientToScreen(m_hWnd, pPoint);
}

void CWnd::ClientToScreen(LPRECT pRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->right));
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* pPlacement) const
{
    return ::GetWindowPlacement(m_hWnd, pPlacement);
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* pPlacement)
{
    return ::SetWindowPlacement(m_hWnd, pPlacement);
}

CWnd* CWnd::SetActiveWindow()
{
    return FromHandle(::SetActiveWindow(m_hWnd));
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(::SetCapture(m_hWnd));
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::InvalidateRect(const RECT* pRect, BOOL bErase)
{
    ::InvalidateRect(m_hWnd, pRect, bErase);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC pfnTimer)
{
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, pfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    return ::KillTimer(m_hWnd, nIDEvent);
}

void CWnd::SetWindowText(LPCSTR pszText)
{
    ::SetWindowTextA(m_hWnd, pszText ? pszText : "");
}

void CWnd::GetWindowText(CString& strText) const
{
    int nLength = ::GetWindowTextLengthA(m_hWnd);
    if (nLength <= 0) {
        strText.Empty();
        return;
    }
    int nCopied = ::GetWindowTextA(m_hWnd, strText.GetBufferSetLength(nLength), nLength + 1);
    strText.ReleaseBuffer(nCopied < 0 ? 0 : nCopied);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE));
}

namespace {
BOOL ModifyStyleBits(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwOld = static_cast<DWORD>(::GetWindowLongA(hWnd, nIndex));
    DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
    if (dwNew == dwOld)
        return FALSE;
    ::SetWindowLongA(hWnd, nIndex, static_cast<LONG>(dwNew));
    if (nFlags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    return pWnd != nullptr && ::IsChild(m_hWnd, pWnd->m_hWnd);
}

// The default bodies: the system's processing of the message being dispatched.
int CWnd::OnCreate(LPCREATESTRUCTA) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    // A control that colours itself (ON_WM_CTLCOLOR_REFLECT) answers before the default.
    const MSG& msg = GetCurrentMessage();
    LRESULT lResult = 0;
    if (SendChildNotify(msg.message, msg.wParam, msg.lParam, &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSysColorChange()
{
    // The system tells the top-level windows only; each passes the change on to every window
    // inside it. Not only to the library's own objects: the framework's windows paint with the
    // system colours as well.
    if (m_hWnd != nullptr && !(GetStyle() & WS_CHILD))
        SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, /*bDeep=*/TRUE, /*bOnlyPerm=*/FALSE);
    Default();
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT pDrawItemStruct)
{
    // The control's own object draws it when it can (an owner-drawn list, a status bar).
    LRESULT lResult = 0;
    if (!SendChildNotify(WM_DRAWITEM, static_cast<WPARAM>(nIDCtl), reinterpret_cast<LPARAM>(pDrawItemStruct), &lResult))
        Default();
}

namespace {
void SendToDescendants(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    // A handler may destroy windows: the children are listed first and each checked before use.
    std::vector<HWND> children;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    for (HWND hChild : children) {
        if (!::IsWindow(hChild))
            continue;
        if (!bOnlyPerm)
            ::SendMessageA(hChild, uMsg, wParam, lParam);
        else if (CWnd* pChild = CWnd::FromHandlePermanent(hChild))
            pChild->SendMessage(uMsg, wParam, lParam);
        if (bDeep && ::IsWindow(hChild))
            SendToDescendants(hChild, uMsg, wParam, lParam, bDeep, bOnlyPerm);
    }
}
}  // namespace

void CWnd::SendMessageToDescendants(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) const
{
    if (m_hWnd != nullptr)
        SendToDescendants(m_hWnd, uMsg, wParam, lParam, bDeep, bOnlyPerm);
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    return FromHandle(::GetAncestor(m_hWnd, GA_ROOT));
}
