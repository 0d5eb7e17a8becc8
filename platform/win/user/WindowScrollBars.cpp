// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL): their values, the room they take from the
// client area at the right and bottom edges, painting them into the backing image, and the
// scroll-bar functions, which hand a "ScrollBar" control (SB_CTL) its SBM_ messages.
#include <algorithm>
#include "platform/win/user/Controls.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/ScrollBarInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
TbWindowScrollBars* BarsOf(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return nullptr;
    auto* pBars = dynamic_cast<TbWindowScrollBars*>(pWnd->pScroll.get());
    if (!pBars && !pWnd->bDestroying) {
        pBars = new TbWindowScrollBars;
        pWnd->pScroll.reset(pBars);
    }
    return pBars;
}

DWORD StyleOfBar(int nBar)
{
    return nBar == SB_HORZ ? WS_HSCROLL : nBar == SB_VERT ? WS_VSCROLL : WS_HSCROLL | WS_VSCROLL;
}

// Shows or hides bars by their style bits; the client area changes size, so the window hears
// WM_SIZE and repaints it.
void ShowBars(HWND hWnd, DWORD dwBars, BOOL bShow)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return;
    const DWORD dwOld = pWnd->dwStyle;
    pWnd->dwStyle = bShow ? (dwOld | dwBars) : (dwOld & ~dwBars);
    if (pWnd->dwStyle == dwOld)
        return;
    InvalidateRect(hWnd, nullptr, TRUE);
    TbDrawWindowScrollBars(hWnd);
    if ((pWnd = TbFindWindow(hWnd)) == nullptr || !pWnd->bCreated)
        return;
    const WPARAM wType = (pWnd->dwStyle & WS_MINIMIZE) ? SIZE_MINIMIZED : (pWnd->dwStyle & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
    SendMessageA(hWnd, WM_SIZE, wType, MAKELPARAM(TbClientWidth(pWnd), TbClientHeight(pWnd)));
}

bool IsWindowBar(int nBar)
{
    return nBar == SB_HORZ || nBar == SB_VERT;
}
}  // namespace

int TbVertBarWidth(const TbWindow* pWnd)
{
    return (pWnd->dwStyle & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
}

int TbHorzBarHeight(const TbWindow* pWnd)
{
    return (pWnd->dwStyle & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
}

TbScrollBarInfo* TbFindScrollBar(HWND hWnd, int nBar)
{
    if (nBar == SB_CTL)
        return TbControlScrollBar(hWnd);
    if (!IsWindowBar(nBar))
        return nullptr;
    TbWindowScrollBars* pBars = BarsOf(hWnd);
    return pBars ? &pBars->bars[nBar] : nullptr;
}

BOOL TbScrollBarPlace(HWND hWnd, int nBar, RECT* pRect, BOOL* pbVert)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd)
        return FALSE;
    const int cx = TbClientWidth(pWnd), cy = TbClientHeight(pWnd);
    if (nBar == SB_CTL) {
        *pRect = RECT{0, 0, cx, cy};
        *pbVert = (pWnd->dwStyle & SBS_VERT) != 0;
        return TbControlScrollBar(hWnd) != nullptr;
    }
    if (nBar == SB_VERT && (pWnd->dwStyle & WS_VSCROLL)) {
        *pRect = RECT{cx, 0, cx + TbVertBarWidth(pWnd), cy};
        *pbVert = TRUE;
        return TRUE;
    }
    if (nBar == SB_HORZ && (pWnd->dwStyle & WS_HSCROLL)) {
        *pRect = RECT{0, cy, cx, cy + TbHorzBarHeight(pWnd)};
        *pbVert = FALSE;
        return TRUE;
    }
    return FALSE;
}

BOOL TbScrollBarEnabled(HWND hWnd, int nBar)
{
    if (!IsWindowEnabled(hWnd))
        return FALSE;
    if (nBar == SB_CTL)
        return TRUE;
    const TbScrollBarInfo* pSb = TbFindScrollBar(hWnd, nBar);
    return pSb && pSb->CanScroll();
}

void TbRedrawScrollBar(HWND hWnd, int nBar)
{
    if (nBar == SB_CTL) {
        InvalidateRect(hWnd, nullptr, TRUE);
        UpdateWindow(hWnd);
    } else {
        TbDrawWindowScrollBars(hWnd);
    }
}

void TbDrawWindowScrollBars(HWND hWnd)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !(pWnd->dwStyle & (WS_HSCROLL | WS_VSCROLL)) || TbWindowWidth(pWnd) == 0)
        return;
    HDC hdc = GetWindowDC(hWnd);
    if (!hdc)
        return;
    for (int nBar : {SB_HORZ, SB_VERT}) {
        RECT rc;
        BOOL bVert = FALSE;
        if (TbScrollBarPlace(hWnd, nBar, &rc, &bVert))
            if (const TbScrollBarInfo* pSb = TbFindScrollBar(hWnd, nBar))
                TbDrawScrollBar(hdc, *pSb, rc, bVert, TbScrollBarEnabled(hWnd, nBar));
    }
    if ((pWnd = TbFindWindow(hWnd)) != nullptr && (pWnd->dwStyle & WS_HSCROLL) && (pWnd->dwStyle & WS_VSCROLL)) {
        const int cx = TbClientWidth(pWnd), cy = TbClientHeight(pWnd);
        RECT rcCorner = {cx, cy, cx + TbVertBarWidth(pWnd), cy + TbHorzBarHeight(pWnd)};
        FillRect(hdc, &rcCorner, GetSysColorBrush(COLOR_BTNFACE));
    }
    ReleaseDC(hWnd, hdc);
}

int TbScrollBarHitTest(HWND hWnd, POINT ptScreen)
{
    POINT pt = ptScreen;
    ScreenToClient(hWnd, &pt);
    for (int nBar : {SB_VERT, SB_HORZ}) {
        RECT rc;
        BOOL bVert = FALSE;
        if (TbScrollBarPlace(hWnd, nBar, &rc, &bVert) && PtInRect(&rc, pt))
            return nBar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return HTNOWHERE;
}

int SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO pInfo, BOOL bRedraw)
{
    if (!pInfo)
        return 0;
    if (nBar == SB_CTL)
        return static_cast<int>(SendMessageA(hWnd, SBM_SETSCROLLINFO, bRedraw, reinterpret_cast<LPARAM>(pInfo)));
    TbScrollBarInfo* pSb = TbFindScrollBar(hWnd, nBar);
    if (!pSb)
        return 0;
    BarsOf(hWnd)->bSet[nBar] = TRUE;
    TbApplyScrollInfo(*pSb, *pInfo);
    const int nPos = pSb->nPos;
    // A new range or page decides whether the bar is needed; a position alone never does.
    if (pInfo->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL)) {
        pSb->bDisableNoScroll = (pInfo->fMask & SIF_DISABLENOSCROLL) != 0;
        const BOOL bShow = pSb->CanScroll() || pSb->bDisableNoScroll;
        TbWindow* pWnd = TbFindWindow(hWnd);
        if (pWnd && ((pWnd->dwStyle & StyleOfBar(nBar)) != 0) != (bShow != 0)) {
            ShowBars(hWnd, StyleOfBar(nBar), bShow);
            return nPos;
        }
    }
    if (bRedraw)
        TbDrawWindowScrollBars(hWnd);
    return nPos;
}

BOOL GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO pInfo)
{
    if (!pInfo)
        return FALSE;
    if (nBar == SB_CTL)
        return static_cast<BOOL>(SendMessageA(hWnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(pInfo)));
    TbWindow* pWnd = TbFindWindow(hWnd);
    TbWindowScrollBars* pBars = IsWindowBar(nBar) ? BarsOf(hWnd) : nullptr;
    // A window that never had the bar has no values to give.
    if (!pWnd || !pBars || (!pBars->bSet[nBar] && !(pWnd->dwStyle & StyleOfBar(nBar))))
        return FALSE;
    TbReadScrollInfo(pBars->bars[nBar], pInfo);
    return TRUE;
}

int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO si = {sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hWnd, nBar, &si) && !IsWindowBar(nBar))
        return 0;
    const int nOld = si.nPos;
    si.nPos = nPos;
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return nOld;
}

int GetScrollPos(HWND hWnd, int nBar)
{
    SCROLLINFO si = {sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hWnd, nBar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (!IsWindow(hWnd) || (!IsWindowBar(nBar) && nBar != SB_CTL))
        return FALSE;
    SCROLLINFO si = {sizeof si, SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(hWnd, nBar, &si, bRedraw);
    return TRUE;
}

BOOL GetScrollRange(HWND hWnd, int nBar, LPINT pnMinPos, LPINT pnMaxPos)
{
    SCROLLINFO si = {sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    const BOOL bOk = GetScrollInfo(hWnd, nBar, &si);
    if (pnMinPos)
        *pnMinPos = bOk ? si.nMin : 0;
    if (pnMaxPos)
        *pnMaxPos = bOk ? si.nMax : 0;
    return bOk;
}

BOOL ShowScrollBar(HWND hWnd, int nBar, BOOL bShow)
{
    if (!IsWindow(hWnd))
        return FALSE;
    if (nBar == SB_CTL) {
        ShowWindow(hWnd, bShow ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (!IsWindowBar(nBar) && nBar != SB_BOTH)
        return FALSE;
    ShowBars(hWnd, StyleOfBar(nBar), bShow);
    return TRUE;
}

BOOL EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    const int nBar = static_cast<int>(wSBflags);
    BOOL bChanged = FALSE;
    for (int n : {SB_HORZ, SB_VERT, SB_CTL}) {
        if (n != nBar && !(nBar == SB_BOTH && n != SB_CTL))
            continue;
        TbScrollBarInfo* pSb = TbFindScrollBar(hWnd, n);
        if (!pSb || pSb->uArrows == (wArrows & ESB_DISABLE_BOTH))
            continue;
        pSb->uArrows = wArrows & ESB_DISABLE_BOTH;
        bChanged = TRUE;
        TbRedrawScrollBar(hWnd, n);
    }
    return bChanged;
}
