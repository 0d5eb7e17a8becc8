// The default processing every window procedure falls back on.
#include <algorithm>
#include <cstring>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/ScrollBarInternal.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowRecord.h"

static LRESULT OnSetText(TbWindow* pWnd, LPCSTR pszText)
{
    pWnd->strText = pszText ? pszText : "";
    if (pWnd->pSurface)
        pWnd->pSurface->SetText(pWnd->strText.c_str());
    return TRUE;
}

static LRESULT OnGetText(TbWindow* pWnd, WPARAM cchMax, LPSTR pszBuffer)
{
    if (!pszBuffer || cchMax == 0)
        return 0;
    return TbCopyText(pszBuffer, static_cast<int>(std::min<WPARAM>(cchMax, 0x7FFFFFFF)), pWnd->strText.c_str());
}

static LRESULT OnEraseBkgnd(TbWindow* pWnd, HDC hdc)
{
    HBRUSH hbr = pWnd->pClass->hbrBackground;
    if (!hbr || !hdc)
        return 0;
    RECT rc = {0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)};
    FillRect(hdc, &rc, hbr);
    return 1;
}

static LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    if (BeginPaint(hWnd, &ps))
        EndPaint(hWnd, &ps);
    return 0;
}

static LRESULT OnSetCursor(TbWindow* pWnd, HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    // The parent decides first, so a container can set the shape for its children.
    if (pWnd->hParent && SendMessageA(pWnd->hParent, WM_SETCURSOR, wParam, lParam))
        return TRUE;
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return FALSE;
    if (static_cast<short>(LOWORD(lParam)) == HTCLIENT) {
        SetCursor(pWnd->pClass->hCursor);
        return pWnd->pClass->hCursor != nullptr;
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return FALSE;
}

static LRESULT OnWindowPosChanged(HWND hWnd, const WINDOWPOS* pPos)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pPos)
        return 0;
    if (!(pPos->flags & SWP_NOMOVE))
        SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(pWnd->rcWindow.left, pWnd->rcWindow.top));
    if ((pWnd = TbFindWindow(hWnd)) != nullptr && !(pPos->flags & SWP_NOSIZE)) {
        WPARAM wType = (pWnd->dwStyle & WS_MINIMIZE) ? SIZE_MINIMIZED
                     : (pWnd->dwStyle & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessageA(hWnd, WM_SIZE, wType, MAKELPARAM(TbClientWidth(pWnd), TbClientHeight(pWnd)));
    }
    return 0;
}

static LRESULT OnSysCommand(HWND hWnd, WPARAM wParam)
{
    switch (wParam & 0xFFF0) {
    case SC_CLOSE:    return SendMessageA(hWnd, WM_CLOSE, 0, 0);
    case SC_MINIMIZE: ShowWindow(hWnd, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(hWnd, SW_SHOWMAXIMIZED); return 0;
    case SC_RESTORE:  ShowWindow(hWnd, SW_RESTORE); return 0;
    }
    return 0;
}

static LRESULT OnCtlColor(HDC hdc, UINT uMsg)
{
    int nBack = (uMsg == WM_CTLCOLOREDIT || uMsg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(nBack));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(nBack));
}

// The client area inside a proposed window rectangle: below the menu bar, beside the scroll bars.
static LRESULT OnNcCalcSize(TbWindow* pWnd, WPARAM wParam, LPARAM lParam)
{
    RECT* pRect = reinterpret_cast<RECT*>(lParam);
    if (wParam || !pRect)
        return 0;
    pRect->top = std::min(pRect->bottom, pRect->top + pWnd->nMenuBarHeight);
    pRect->right = std::max(pRect->left, pRect->right - TbVertBarWidth(pWnd));
    pRect->bottom = std::max(pRect->top, pRect->bottom - TbHorzBarHeight(pWnd));
    return 0;
}

// A press on the window's own scroll bar is tracked there until the button is released.
// The window being dragged by its caption: the pointer and the window where the drag began.
struct CaptionDrag
{
    HWND hWnd = nullptr;
    POINT ptStart = {0, 0};
    RECT rcStart = {0, 0, 0, 0};
};
static CaptionDrag s_drag;

static LRESULT OnCaptionDrag(HWND hWnd, UINT uMsg)
{
    if (s_drag.hWnd != hWnd)
        return 0;
    if (uMsg == WM_MOUSEMOVE && GetCapture() == hWnd) {
        POINT pt;
        GetCursorPos(&pt);
        SetWindowPos(hWnd, nullptr, s_drag.rcStart.left + pt.x - s_drag.ptStart.x,
                     s_drag.rcStart.top + pt.y - s_drag.ptStart.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (uMsg != WM_MOUSEMOVE) {
        s_drag.hWnd = nullptr;
        if (uMsg == WM_LBUTTONUP && GetCapture() == hWnd)
            ReleaseCapture();
    }
    return 0;
}

static LRESULT OnNcLButtonDown(HWND hWnd, WPARAM wHit, LPARAM lParam)
{
    if (wHit == HTCAPTION) {
        s_drag.hWnd = hWnd;
        s_drag.ptStart = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        GetWindowRect(hWnd, &s_drag.rcStart);
        SetCapture(hWnd);
        return 0;
    }
    if (wHit != HTVSCROLL && wHit != HTHSCROLL)
        return 0;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(hWnd, &pt);
    TbTrackScrollBar(hWnd, wHit == HTVSCROLL ? SB_VERT : SB_HORZ, pt);
    return 0;
}

LRESULT DefWindowProcA(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd)
        return 0;
    switch (uMsg) {
    case WM_NCCREATE: {
        const CREATESTRUCTA* pCs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (pCs && pCs->lpszName && !IS_INTRESOURCE(pCs->lpszName))
            OnSetText(pWnd, pCs->lpszName);
        return TRUE;
    }
    case WM_SETTEXT:        return OnSetText(pWnd, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:        return OnGetText(pWnd, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_SETICON: {
        HICON& hSlot = wParam == ICON_BIG ? pWnd->hIcon : pWnd->hIconSm;
        HICON hOld = hSlot;
        hSlot = reinterpret_cast<HICON>(lParam);
        TbShowWindowIcon(pWnd);
        return reinterpret_cast<LRESULT>(hOld);
    }
    case WM_GETICON:        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? pWnd->hIcon : pWnd->hIconSm);
    case WM_GETTEXTLENGTH:  return static_cast<LRESULT>(pWnd->strText.size());
    case WM_CLOSE:          DestroyWindow(hWnd); return 0;
    case WM_ERASEBKGND:     return OnEraseBkgnd(pWnd, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:          return OnPaint(hWnd);
    case WM_SETCURSOR:      return OnSetCursor(pWnd, hWnd, wParam, lParam);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(hWnd, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_SYSCOMMAND:     return OnSysCommand(hWnd, wParam);
    case WM_SETREDRAW:      pWnd->bRedraw = wParam != 0; return 0;
    case WM_NCHITTEST: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT rc;
        GetWindowRect(hWnd, &rc);
        if (!PtInRect(&rc, pt))
            return HTNOWHERE;
        if (const int nHit = TbScrollBarHitTest(hWnd, pt))
            return nHit;
        return pt.y < rc.top + pWnd->nMenuBarHeight ? HTMENU : HTCLIENT;
    }
    case WM_NCCALCSIZE:     return OnNcCalcSize(pWnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return OnNcLButtonDown(hWnd, wParam, lParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: return OnCaptionDrag(hWnd, uMsg);
    case WM_MOUSEACTIVATE:
        if (pWnd->hParent) {
            LRESULT lResult = SendMessageA(pWnd->hParent, WM_MOUSEACTIVATE, wParam, lParam);
            if (lResult)
                return lResult;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        // An activated window without a focused descendant takes the focus itself.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            HWND hFocus = GetFocus();
            if (hFocus != hWnd && !IsChild(hWnd, hFocus))
                SetFocus(hWnd);
        }
        return 0;
    case WM_MOUSEWHEEL:
        // Unhandled wheel turns go up to the parent, as on the original.
        return pWnd->hParent ? SendMessageA(pWnd->hParent, uMsg, wParam, lParam) : 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN))
            SendMessageA(GetAncestor(hWnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCHAR:
        // Alt and minus: the menu of the document window that holds the keyboard.
        if (wParam == '-')
            for (HWND h = hWnd; h != nullptr; h = GetParent(h))
                if (TbMdiClientOf(h) != nullptr) {
                    SendMessageA(h, WM_SYSCOMMAND, SC_KEYMENU, '-');
                    break;
                }
        return 0;
    case WM_CANCELMODE:
        // Leaves whatever mode the user is in: a capture, an open popup menu.
        EndMenu();
        if (GetCapture() == hWnd)
            ReleaseCapture();
        return 0;
    case WM_NCACTIVATE:
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
        return TRUE;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        return OnCtlColor(reinterpret_cast<HDC>(wParam), uMsg);
    case WM_GETMINMAXINFO:
        if (MINMAXINFO* pMmi = reinterpret_cast<MINMAXINFO*>(lParam)) {
            SIZE screen = {1024, 768};
            TbGetDisplay()->GetScreenSize(&screen);
            pMmi->ptMaxSize = POINT{screen.cx, screen.cy};
            pMmi->ptMaxTrackSize = POINT{screen.cx, screen.cy};
            pMmi->ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        }
        return 0;
    }
    return 0;
}
