// The "ScrollBar" class: a bar on its own (SBS_HORZ, SBS_VERT) whose arrows, page areas, thumb
// and keys send WM_HSCROLL/WM_VSCROLL to the parent with the control's handle, or a size box
// (SBS_SIZEBOX) that only draws its grip.
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/ScrollBarInternal.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct TbScrollBarState : TbControlState {
    TbScrollBarInfo sb;
};

TbScrollBarState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbScrollBarState>(hWnd);
}

bool IsSizeBox(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0;
}

void Redraw(HWND hWnd, BOOL bRedraw)
{
    if (bRedraw)
        InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbScrollBarState* pState = TbFindClassState<TbScrollBarState>(hWnd);
    if (!hdc || !pState)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    if (IsSizeBox(hWnd)) {
        FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        // The grip: three diagonal lines in the bottom right corner.
        HPEN hPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ hOld = SelectObject(hdc, hPen);
        for (int d = 4; d <= 12; d += 4) {
            MoveToEx(hdc, rc.right - d, rc.bottom - 1, nullptr);
            LineTo(hdc, rc.right, rc.bottom - 1 - d);
        }
        SelectObject(hdc, hOld);
        DeleteObject(hPen);
    } else {
        TbControlColors(hWnd, hdc, WM_CTLCOLORSCROLLBAR);
        TbDrawScrollBar(hdc, pState->sb, rc, (GetWindowLongA(hWnd, GWL_STYLE) & SBS_VERT) != 0, IsWindowEnabled(hWnd));
    }
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnLButtonDown(HWND hWnd, LPARAM lParam)
{
    if (IsSizeBox(hWnd))
        return 0;
    if ((GetWindowLongA(hWnd, GWL_STYLE) & WS_TABSTOP) && GetFocus() != hWnd)
        SetFocus(hWnd);
    TbTrackScrollBar(hWnd, SB_CTL, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
}

// Keys send what the matching part would, then SB_ENDSCROLL, as on the original.
LRESULT OnKeyDown(HWND hWnd, WPARAM wParam)
{
    static const struct { UINT uVk; int nCode; } s_keys[] = {
        {VK_UP, SB_LINEUP}, {VK_LEFT, SB_LINEUP}, {VK_DOWN, SB_LINEDOWN}, {VK_RIGHT, SB_LINEDOWN},
        {VK_PRIOR, SB_PAGEUP}, {VK_NEXT, SB_PAGEDOWN}, {VK_HOME, SB_TOP}, {VK_END, SB_BOTTOM},
    };
    if (IsSizeBox(hWnd) || !IsWindowEnabled(hWnd))
        return 0;
    HWND hParent = GetParent(hWnd);
    const UINT uMsg = (GetWindowLongA(hWnd, GWL_STYLE) & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    for (const auto& k : s_keys) {
        if (k.uVk != wParam)
            continue;
        SendMessageA(hParent, uMsg, MAKEWPARAM(k.nCode, 0), reinterpret_cast<LPARAM>(hWnd));
        if (IsWindow(hWnd))
            SendMessageA(hParent, uMsg, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(hWnd));
        break;
    }
    return 0;
}

// What the bar's picture is made of: new values that leave it as it was repaint nothing, so a
// view whose row count moves by one line at a time does not repaint its bar each time.
struct TbBarLook {
    TbScrollGeometry g;
    BOOL bCanScroll = FALSE;
    UINT uArrows = 0;
    int  nPressed = TB_SBP_NONE;
    bool operator==(const TbBarLook& o) const
    {
        return g.nArrow == o.g.nArrow && g.nTrack == o.g.nTrack && g.nThumbStart == o.g.nThumbStart
               && g.nThumbLen == o.g.nThumbLen && bCanScroll == o.bCanScroll && uArrows == o.uArrows
               && nPressed == o.nPressed;
    }
};

TbBarLook LookOf(HWND hWnd, const TbScrollBarInfo& sb)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const BOOL bEnabled = IsWindowEnabled(hWnd);
    TbBarLook look;
    look.g = TbScrollBarGeometry(sb, rc, (GetWindowLongA(hWnd, GWL_STYLE) & SBS_VERT) != 0, bEnabled);
    look.bCanScroll = bEnabled && sb.CanScroll();
    look.uArrows = sb.uArrows;
    look.nPressed = sb.nPressed;
    return look;
}

LRESULT OnSetScrollInfo(HWND hWnd, BOOL bRedraw, const SCROLLINFO* pInfo)
{
    TbScrollBarState* pState = StateOf(hWnd);
    if (!pState || !pInfo)
        return 0;
    const BOOL bBar = bRedraw && !IsSizeBox(hWnd);
    const TbBarLook before = bBar ? LookOf(hWnd, pState->sb) : TbBarLook();
    TbApplyScrollInfo(pState->sb, *pInfo);
    Redraw(hWnd, bRedraw && !(bBar && LookOf(hWnd, pState->sb) == before));
    return pState->sb.nPos;
}

LRESULT OnGetScrollInfo(HWND hWnd, SCROLLINFO* pInfo)
{
    TbScrollBarState* pState = StateOf(hWnd);
    if (!pState || !pInfo)
        return FALSE;
    TbReadScrollInfo(pState->sb, pInfo);
    return TRUE;
}

// SBM_SETPOS answers the position before; SBM_SETRANGE too.
LRESULT OnSetPos(HWND hWnd, int nPos, BOOL bRedraw)
{
    TbScrollBarState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const int nOld = pState->sb.nPos;
    SCROLLINFO si = {sizeof si, SIF_POS, 0, 0, 0, nPos, 0};
    OnSetScrollInfo(hWnd, bRedraw, &si);
    return nOld;
}

LRESULT OnSetRange(HWND hWnd, int nMin, int nMax, BOOL bRedraw)
{
    TbScrollBarState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const int nOld = pState->sb.nPos;
    SCROLLINFO si = {sizeof si, SIF_RANGE, nMin, nMax, 0, 0, 0};
    OnSetScrollInfo(hWnd, bRedraw, &si);
    return nOld;
}

LRESULT OnGetRange(HWND hWnd, LPINT pnMin, LPINT pnMax)
{
    TbScrollBarState* pState = StateOf(hWnd);
    if (pState && pnMin)
        *pnMin = pState->sb.nMin;
    if (pState && pnMax)
        *pnMax = pState->sb.nMax;
    return 0;
}

LRESULT OnEnableArrows(HWND hWnd, UINT uArrows)
{
    TbScrollBarState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    pState->sb.uArrows = uArrows & ESB_DISABLE_BOTH;
    Redraw(hWnd, TRUE);
    return TRUE;
}
}  // namespace

TbScrollBarInfo* TbControlScrollBar(HWND hWnd)
{
    TbScrollBarState* pState = TbFindClassState<TbScrollBarState>(hWnd);
    return pState ? &pState->sb : nullptr;
}

LRESULT CALLBACK TbScrollBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:        return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:           return OnPaint(hWnd);
    case WM_ERASEBKGND:      return 1;      // WM_PAINT covers the whole bar
    case WM_ENABLE:          Redraw(hWnd, TRUE); return 0;
    case WM_GETDLGCODE:      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:   return OnLButtonDown(hWnd, lParam);
    case WM_KEYDOWN:         return OnKeyDown(hWnd, wParam);
    case SBM_SETSCROLLINFO:  return OnSetScrollInfo(hWnd, static_cast<BOOL>(wParam), reinterpret_cast<const SCROLLINFO*>(lParam));
    case SBM_GETSCROLLINFO:  return OnGetScrollInfo(hWnd, reinterpret_cast<SCROLLINFO*>(lParam));
    case SBM_SETPOS:         return OnSetPos(hWnd, static_cast<int>(wParam), static_cast<BOOL>(lParam));
    case SBM_GETPOS:         return StateOf(hWnd) ? StateOf(hWnd)->sb.nPos : 0;
    case SBM_SETRANGE:       return OnSetRange(hWnd, static_cast<int>(wParam), static_cast<int>(lParam), FALSE);
    case SBM_SETRANGEREDRAW: return OnSetRange(hWnd, static_cast<int>(wParam), static_cast<int>(lParam), TRUE);
    case SBM_GETRANGE:       return OnGetRange(hWnd, reinterpret_cast<LPINT>(wParam), reinterpret_cast<LPINT>(lParam));
    case SBM_ENABLE_ARROWS:  return OnEnableArrows(hWnd, static_cast<UINT>(wParam));
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
