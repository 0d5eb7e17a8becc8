// Window geometry: showing, moving and sizing, z-order, coordinates and hit-testing.
#include <algorithm>
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/user/Hooks.h"
#include "platform/win/user/MdiInternal.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowRecord.h"

POINT TbClientOrigin(const TbWindow* pWnd)
{
    POINT pt = {pWnd->rcWindow.left, pWnd->rcWindow.top + pWnd->nMenuBarHeight};
    while (pWnd->hParent) {
        pWnd = TbFindWindow(pWnd->hParent);
        if (!pWnd)
            break;
        pt.x += pWnd->rcWindow.left;
        pt.y += pWnd->rcWindow.top + pWnd->nMenuBarHeight;
    }
    return pt;
}

BOOL TbIsVisibleChain(const TbWindow* pWnd)
{
    while (pWnd) {
        if (!(pWnd->dwStyle & WS_VISIBLE))
            return FALSE;
        if (!pWnd->hParent)
            return TRUE;
        pWnd = TbFindWindow(pWnd->hParent);
    }
    return FALSE;
}

void TbResizeImage(TbWindow* pWnd)
{
    TbGetTextEngine()->EndDrawing();        // it may be drawing into the image that moves
    if (!pWnd->image.IsEmpty() || TbImageWidth(pWnd) == 0 || TbImageHeight(pWnd) == 0)
        pWnd->image.Resize(TbImageWidth(pWnd), TbImageHeight(pWnd), TB_PIXEL_WHITE);
}

// Newly uncovered client area after a size change needs painting; the whole client with
// CS_HREDRAW/CS_VREDRAW when the matching side changed.
static void InvalidateAfterSize(HWND hWnd, int cxOld, int cyOld, int cxNew, int cyNew, UINT uClassStyle)
{
    RECT rcAll = {0, 0, cxNew, cyNew};
    if (((uClassStyle & CS_HREDRAW) && cxOld != cxNew) || ((uClassStyle & CS_VREDRAW) && cyOld != cyNew)) {
        InvalidateRect(hWnd, &rcAll, TRUE);
        return;
    }
    if (cxNew > cxOld) {
        RECT rc = {cxOld, 0, cxNew, cyNew};
        InvalidateRect(hWnd, &rc, TRUE);
    }
    if (cyNew > cyOld) {
        RECT rc = {0, cyOld, cxNew, cyNew};
        InvalidateRect(hWnd, &rc, TRUE);
    }
}

static void ChangeZOrder(TbWindow* pWnd, HWND hWndInsertAfter)
{
    std::vector<HWND>* pList = &TbUser().topLevel;
    if (pWnd->hParent) {
        TbWindow* pParent = TbFindWindow(pWnd->hParent);
        if (!pParent)
            return;
        pList = &pParent->children;
    }
    auto it = std::find(pList->begin(), pList->end(), pWnd->hWnd);
    if (it == pList->end())
        return;
    pList->erase(it);
    BOOL bTop = TRUE;
    if (hWndInsertAfter == HWND_BOTTOM) {
        pList->push_back(pWnd->hWnd);
        bTop = FALSE;
    } else if (hWndInsertAfter == HWND_TOP || hWndInsertAfter == HWND_TOPMOST || hWndInsertAfter == HWND_NOTOPMOST) {
        pList->insert(pList->begin(), pWnd->hWnd);
    } else {
        auto itAfter = std::find(pList->begin(), pList->end(), hWndInsertAfter);
        if (itAfter == pList->end()) {
            pList->insert(pList->begin(), pWnd->hWnd);
        } else {
            pList->insert(itAfter + 1, pWnd->hWnd);
            bTop = FALSE;
        }
    }
    if (pWnd->pSurface)
        pWnd->pSurface->Raise(bTop);
}

// The one place geometry changes. bFromDisplay: the display already shows the new geometry.
static BOOL SetPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags, BOOL bFromDisplay)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    WINDOWPOS wp = {hWnd, hWndInsertAfter, x, y, cx, cy, uFlags};
    if (uFlags & SWP_NOMOVE) {
        wp.x = pWnd->rcWindow.left;
        wp.y = pWnd->rcWindow.top;
    }
    if (uFlags & SWP_NOSIZE) {
        wp.cx = TbWindowWidth(pWnd);
        wp.cy = TbWindowHeight(pWnd);
    }
    if (!(uFlags & SWP_NOSENDCHANGING))
        SendMessageA(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if ((pWnd = TbFindWindow(hWnd)) == nullptr)
        return FALSE;
    wp.cx = std::clamp(wp.cx, 0, 32767);
    wp.cy = std::clamp(wp.cy, 0, 32767);
    const int cxOld = TbClientWidth(pWnd), cyOld = TbClientHeight(pWnd);
    BOOL bMoved = wp.x != pWnd->rcWindow.left || wp.y != pWnd->rcWindow.top;
    BOOL bSized = wp.cx != TbWindowWidth(pWnd) || wp.cy != TbWindowHeight(pWnd);
    pWnd->rcWindow = RECT{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    if (pWnd->nShowState != SW_SHOWMAXIMIZED && pWnd->nShowState != SW_SHOWMINIMIZED)
        pWnd->rcNormal = pWnd->rcWindow;
    if (bSized) {
        TbResizeImage(pWnd);
        if (!(wp.flags & SWP_NOREDRAW))
            InvalidateAfterSize(hWnd, cxOld, cyOld, TbClientWidth(pWnd), TbClientHeight(pWnd), pWnd->pClass->uStyle);
        pWnd = TbFindWindow(hWnd);
    }
    if (!(wp.flags & SWP_NOZORDER))
        ChangeZOrder(pWnd, wp.hwndInsertAfter);
    if ((bMoved || bSized) && pWnd->pSurface && !bFromDisplay)
        pWnd->pSurface->SetGeometry(wp.x, wp.y, wp.cx, wp.cy);
    if ((wp.flags & SWP_SHOWWINDOW) && !(pWnd->dwStyle & WS_VISIBLE)) {
        pWnd->dwStyle |= WS_VISIBLE;
        if (pWnd->nShowState == SW_HIDE)
            pWnd->nShowState = SW_SHOWNORMAL;
        if (pWnd->pSurface)
            pWnd->pSurface->SetVisible(TRUE);
        RECT rcAll = {0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)};
        InvalidateRect(hWnd, &rcAll, TRUE);
        if (!pWnd->hParent && !(wp.flags & SWP_NOACTIVATE))
            SetActiveWindow(hWnd);
    } else if ((wp.flags & SWP_HIDEWINDOW) && (pWnd->dwStyle & WS_VISIBLE)) {
        pWnd->dwStyle &= ~WS_VISIBLE;
        if (pWnd->pSurface)
            pWnd->pSurface->SetVisible(FALSE);
        if (GetFocus() == hWnd || IsChild(hWnd, GetFocus()))
            SetFocus(pWnd->hParent);
    }
    if (!IsWindow(hWnd))
        return FALSE;
    if (!(wp.flags & SWP_NOZORDER) && TbMdiClientOf(hWnd))
        TbMdiNoteZOrder(hWnd);
    if (!IsWindow(hWnd))
        return FALSE;
    // Tell what really changed, so that the default processing sends WM_MOVE and WM_SIZE only then.
    if (!bMoved)
        wp.flags |= SWP_NOMOVE;
    if (!bSized)
        wp.flags |= SWP_NOSIZE;
    SendMessageA(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags)
{
    return SetPos(hWnd, hWndInsertAfter, x, y, cx, cy, uFlags, FALSE);
}

BOOL MoveWindow(HWND hWnd, int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    return SetWindowPos(hWnd, nullptr, x, y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hWnd)
{
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

static RECT MaximizedRect(TbWindow* pWnd)
{
    if (pWnd->hParent)
        if (TbWindow* pParent = TbFindWindow(pWnd->hParent))
            return RECT{0, 0, TbClientWidth(pParent), TbClientHeight(pParent)};
    SIZE screen = {1024, 768};
    TbGetDisplay()->GetScreenSize(&screen);
    return RECT{0, 0, screen.cx, screen.cy};
}

static void SetShowState(HWND hWnd, int nState)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || pWnd->nShowState == nState)
        return;
    int nOld = pWnd->nShowState;
    pWnd->nShowState = nState;
    if (nOld == SW_HIDE && nState == SW_SHOWNORMAL)
        return;         // shown for the first time: it stays where it was made
    if (nOld != SW_SHOWMAXIMIZED && nOld != SW_SHOWMINIMIZED)
        pWnd->rcNormal = pWnd->rcWindow;
    RECT rcTarget = pWnd->rcNormal;
    pWnd->dwStyle &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (nState == SW_SHOWMAXIMIZED) {
        pWnd->dwStyle |= WS_MAXIMIZE;
        rcTarget = MaximizedRect(pWnd);
    } else if (nState == SW_SHOWMINIMIZED) {
        pWnd->dwStyle |= WS_MINIMIZE;
    }
    if (pWnd->pSurface)
        pWnd->pSurface->SetShowState(nState);
    if (nState == SW_SHOWMINIMIZED) {
        SendMessageA(hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
    } else {
        BOOL bSameRect = EqualRect(&pWnd->rcWindow, &rcTarget);
        SetWindowPos(hWnd, nullptr, rcTarget.left, rcTarget.top, rcTarget.right - rcTarget.left,
                     rcTarget.bottom - rcTarget.top, SWP_NOZORDER | SWP_NOACTIVATE);
        // A change of state at the same size still tells the window its new state.
        if (bSameRect && (pWnd = TbFindWindow(hWnd)) != nullptr)
            SendMessageA(hWnd, WM_SIZE, nState == SW_SHOWMAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED,
                         MAKELPARAM(TbClientWidth(pWnd), TbClientHeight(pWnd)));
    }
    // A document window its program minimises, restores or maximises leaves the client as the
    // user's buttons would: the icon row, the maximised mode and the menu bar's buttons.
    if (HWND hClient = IsWindow(hWnd) ? TbMdiClientOf(hWnd) : nullptr)
        TbMdiNoteChildState(hClient, hWnd);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    BOOL bWasVisible = (pWnd->dwStyle & WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) {
        if (!bWasVisible)
            return FALSE;
        SendMessageA(hWnd, WM_SHOWWINDOW, FALSE, 0);
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (GetActiveWindow() == hWnd) {
            // The active window hid: its owner, or the next visible top-level window, takes over.
            HWND hNext = GetWindow(hWnd, GW_OWNER);
            for (HWND hTop : TbUser().topLevel)
                if (!hNext && hTop != hWnd && IsWindowVisible(hTop))
                    hNext = hTop;
            SetActiveWindow(hNext);
        }
        return TRUE;
    }
    int nState = SW_SHOWNORMAL;
    if (nCmdShow == SW_SHOWMAXIMIZED)
        nState = SW_SHOWMAXIMIZED;
    else if (nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINIMIZED || nCmdShow == SW_SHOWMINNOACTIVE)
        nState = SW_SHOWMINIMIZED;
    else if ((nCmdShow == SW_SHOW || nCmdShow == SW_SHOWNA) && pWnd->nShowState != SW_HIDE)
        nState = pWnd->nShowState;      // showing keeps the state it had
    BOOL bActivate = nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWMINNOACTIVE &&
                     nCmdShow != SW_MINIMIZE;
    if (!bWasVisible) {
        SendMessageA(hWnd, WM_SHOWWINDOW, TRUE, 0);
        if (!IsWindow(hWnd))
            return FALSE;
        // The window's answer showed it already in a state of its own (a document window
        // activated while the client is in maximised mode comes up maximised): that stands.
        if ((pWnd = TbFindWindow(hWnd)) != nullptr && (pWnd->dwStyle & WS_VISIBLE) && pWnd->nShowState != SW_HIDE &&
            nCmdShow != SW_SHOWMAXIMIZED && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINIMIZED &&
            nCmdShow != SW_SHOWMINNOACTIVE)
            nState = pWnd->nShowState;
    }
    SetShowState(hWnd, nState);
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (bActivate ? 0 : SWP_NOACTIVATE));
    if (bActivate && bWasVisible && (pWnd = TbFindWindow(hWnd)) != nullptr && !pWnd->hParent)
        SetActiveWindow(hWnd);
    return bWasVisible;
}

BOOL IsWindowVisible(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd && TbIsVisibleChain(pWnd);
}

BOOL IsIconic(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd && (pWnd->dwStyle & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    return pWnd && (pWnd->dwStyle & WS_MAXIMIZE) != 0;
}

BOOL GetClientRect(HWND hWnd, LPRECT pRect)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd || !pRect)
        return FALSE;
    *pRect = RECT{0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)};
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT pRect)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd || !pRect)
        return FALSE;
    POINT pt = TbClientOrigin(pWnd);
    pt.y -= pWnd->nMenuBarHeight;
    *pRect = RECT{pt.x, pt.y, pt.x + TbWindowWidth(pWnd), pt.y + TbWindowHeight(pWnd)};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT pPoint)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd || !pPoint)
        return FALSE;
    POINT pt = TbClientOrigin(pWnd);
    pPoint->x -= pt.x;
    pPoint->y -= pt.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT pPoint)
{
    TbWindow* pWnd = TbFindWindowOrDesktop(hWnd);
    if (!pWnd || !pPoint)
        return FALSE;
    POINT pt = TbClientOrigin(pWnd);
    pPoint->x += pt.x;
    pPoint->y += pt.y;
    return TRUE;
}

int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT pPoints, UINT cPoints)
{
    POINT ptFrom = {0, 0}, ptTo = {0, 0};
    if (hWndFrom) {
        TbWindow* p = TbFindWindowOrDesktop(hWndFrom);
        if (!p)
            return 0;
        ptFrom = TbClientOrigin(p);
    }
    if (hWndTo) {
        TbWindow* p = TbFindWindowOrDesktop(hWndTo);
        if (!p)
            return 0;
        ptTo = TbClientOrigin(p);
    }
    LONG dx = ptFrom.x - ptTo.x, dy = ptFrom.y - ptTo.y;
    for (UINT i = 0; pPoints && i < cPoints; ++i) {
        pPoints[i].x += dx;
        pPoints[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

static HWND DeepestChildAt(HWND hWnd, POINT ptScreen)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    for (HWND hChild : pWnd->children) {
        TbWindow* pChild = TbFindWindow(hChild);
        if (!pChild || !(pChild->dwStyle & WS_VISIBLE))
            continue;
        RECT rc;
        GetWindowRect(hChild, &rc);
        if (PtInRect(&rc, ptScreen))
            return DeepestChildAt(hChild, ptScreen);
    }
    return hWnd;
}

HWND WindowFromPoint(POINT pt)
{
    for (HWND hTop : TbUser().topLevel) {
        RECT rc;
        if (IsWindowVisible(hTop) && GetWindowRect(hTop, &rc) && PtInRect(&rc, pt))
            return DeepestChildAt(hTop, pt);
    }
    return nullptr;
}

HWND ChildWindowFromPoint(HWND hWndParent, POINT pt)
{
    TbWindow* pWnd = TbFindWindow(hWndParent);
    if (!pWnd)
        return nullptr;
    RECT rcClient = {0, 0, TbClientWidth(pWnd), TbClientHeight(pWnd)};
    if (!PtInRect(&rcClient, pt))
        return nullptr;
    for (HWND hChild : pWnd->children)
        if (TbWindow* pChild = TbFindWindow(hChild))
            if (PtInRect(&pChild->rcWindow, pt))
                return hChild;
    return hWndParent;
}

BOOL GetWindowPlacement(HWND hWnd, WINDOWPLACEMENT* pPlacement)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pPlacement)
        return FALSE;
    *pPlacement = WINDOWPLACEMENT{};
    pPlacement->length = sizeof(WINDOWPLACEMENT);
    pPlacement->showCmd = (pWnd->dwStyle & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                        : (pWnd->dwStyle & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    pPlacement->ptMinPosition = POINT{-1, -1};
    pPlacement->ptMaxPosition = POINT{-1, -1};
    pPlacement->rcNormalPosition = (pWnd->dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)) ? pWnd->rcNormal : pWnd->rcWindow;
    return TRUE;
}

BOOL SetWindowPlacement(HWND hWnd, const WINDOWPLACEMENT* pPlacement)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pPlacement)
        return FALSE;
    // A stored rectangle is a claim from a file: an inverted or absurd one is not applied.
    RECT rc = pPlacement->rcNormalPosition;
    if (rc.right < rc.left || rc.bottom < rc.top || rc.right - rc.left > 32767 || rc.bottom - rc.top > 32767)
        return FALSE;
    if (pWnd->dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)) {
        pWnd->rcNormal = rc;
    } else {
        SetWindowPos(hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (pPlacement->showCmd <= SW_MAX)
        ShowWindow(hWnd, static_cast<int>(pPlacement->showCmd));
    if ((pWnd = TbFindWindow(hWnd)) != nullptr && (pWnd->dwStyle & (WS_MINIMIZE | WS_MAXIMIZE)))
        pWnd->rcNormal = rc;
    return TRUE;
}

// ---- calls from the display ----

// The user's move or size phase (Display.h): the layer's own timer id on the window, apart from
// the program's, and the quiet time that ends the phase.
static const UINT_PTR SIZEMOVE_TIMER_ID = 0xFFFB;

static void CALLBACK SizeMoveQuiet(HWND hWnd, UINT, UINT_PTR, DWORD)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    // A button still held is a drag that paused, not one that ended: the timer asks again.
    if (!pWnd || (GetAsyncKeyState(VK_LBUTTON) & 0x8000))
        return;
    KillTimer(hWnd, SIZEMOVE_TIMER_ID);
    if (!pWnd->bInSizeMove)
        return;
    pWnd->bInSizeMove = FALSE;
    SendMessageA(hWnd, WM_EXITSIZEMOVE, 0, 0);
}

void TbDisplayGeometry(HWND hWnd, int x, int y, int cx, int cy)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    if (x == pWnd->rcWindow.left && y == pWnd->rcWindow.top && cx == TbWindowWidth(pWnd) && cy == TbWindowHeight(pWnd))
        return;
    if (!pWnd->bInSizeMove) {
        pWnd->bInSizeMove = TRUE;
        SendMessageA(hWnd, WM_ENTERSIZEMOVE, 0, 0);
        if (!TbFindWindow(hWnd))
            return;
    }
    // Every change starts the quiet time again.
    SetTimer(hWnd, SIZEMOVE_TIMER_ID, TB_SIZEMOVE_QUIET_MS, SizeMoveQuiet);
    SetPos(hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE, TRUE);
}

void TbDisplayShowState(HWND hWnd, int nCmdShow)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || pWnd->nShowState == nCmdShow || !(pWnd->dwStyle & WS_VISIBLE))
        return;
    // The buttons of a modal dialog's owner do nothing: what the window manager did is undone.
    if (!TbDisplayTakesInput(hWnd)) {
        if (pWnd->pSurface)
            pWnd->pSurface->SetShowState(pWnd->nShowState);
        return;
    }
    SetShowState(hWnd, nCmdShow);
}

void TbDisplayClose(HWND hWnd)
{
    if (TbFindWindow(hWnd) && TbDisplayTakesInput(hWnd))
        SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}
