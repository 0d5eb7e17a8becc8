// The slider "msctls_trackbar32": a thumb along a channel from the range's minimum to its
// maximum, across (TBS_HORZ) or down (TBS_VERT), with tick marks. The keys and the mouse move the
// thumb by lines, pages or to the ends, and every move is WM_HSCROLL or WM_VSCROLL to the parent
// with a TB_ code and the slider's handle; a move ends with TB_ENDTRACK.
#include <algorithm>
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct TbTrackbarState : TbControlState {
    int  nMin = 0;
    int  nMax = 100;
    int  nPos = 0;
    int  nLine = 1;
    int  nPage = 20;
    int  nTicFreq = 1;
    BOOL bFocus = FALSE;
    BOOL bDragging = FALSE;     // the thumb is held
    int  nGrab = 0;             // where in the thumb it was taken, along the channel
    BOOL bPaging = FALSE;       // the button went down in the channel: its release ends the move
};

const int THUMB_WIDTH = 11;     // along the channel
const int THUMB_LENGTH = 20;    // across it
const int CHANNEL_WIDTH = 4;
const int TIC_LENGTH = 3;

TbTrackbarState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbTrackbarState>(hWnd);
}

bool IsVert(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & TBS_VERT) != 0;
}

// The channel's extent along the axis, in client pixels: where the minimum and the maximum are.
void ChannelEnds(HWND hWnd, int* pnFrom, int* pnTo)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int nLength = IsVert(hWnd) ? rc.bottom : rc.right;
    *pnFrom = THUMB_WIDTH / 2 + 4;
    *pnTo = std::max(*pnFrom, nLength - THUMB_WIDTH / 2 - 4);
}

int PixelOfPos(HWND hWnd, const TbTrackbarState& st, int nPos)
{
    int nFrom = 0, nTo = 0;
    ChannelEnds(hWnd, &nFrom, &nTo);
    if (st.nMax <= st.nMin)
        return nFrom;
    return nFrom + static_cast<int>(static_cast<long long>(nPos - st.nMin) * (nTo - nFrom) / (st.nMax - st.nMin));
}

int PosOfPixel(HWND hWnd, const TbTrackbarState& st, int nPixel)
{
    int nFrom = 0, nTo = 0;
    ChannelEnds(hWnd, &nFrom, &nTo);
    if (nTo <= nFrom)
        return st.nMin;
    const long long llSpan = static_cast<long long>(st.nMax - st.nMin) * (nPixel - nFrom);
    // Rounded to the nearest position.
    const int nPos = st.nMin + static_cast<int>((llSpan + (llSpan >= 0 ? 1 : -1) * (nTo - nFrom) / 2) / (nTo - nFrom));
    return std::clamp(nPos, st.nMin, std::max(st.nMin, st.nMax));
}

// Across the axis the thumb sits in the middle, or to a side when the ticks are on one side only.
RECT ThumbRect(HWND hWnd, const TbTrackbarState& st)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int nAt = PixelOfPos(hWnd, st, st.nPos);
    const int nAcross = IsVert(hWnd) ? rc.right : rc.bottom;
    const int nStart = std::max(0, (nAcross - THUMB_LENGTH) / 2);
    const int nEnd = std::min(nAcross, nStart + THUMB_LENGTH);
    if (IsVert(hWnd))
        return RECT{nStart, nAt - THUMB_WIDTH / 2, nEnd, nAt - THUMB_WIDTH / 2 + THUMB_WIDTH};
    return RECT{nAt - THUMB_WIDTH / 2, nStart, nAt - THUMB_WIDTH / 2 + THUMB_WIDTH, nEnd};
}

void Notify(HWND hWnd, int nCode, int nPos)
{
    const WPARAM wParam = (nCode == TB_THUMBTRACK || nCode == TB_THUMBPOSITION) ? MAKEWPARAM(nCode, nPos) : MAKEWPARAM(nCode, 0);
    SendMessageA(GetParent(hWnd), IsVert(hWnd) ? WM_VSCROLL : WM_HSCROLL, wParam, reinterpret_cast<LPARAM>(hWnd));
}

void SetPos(HWND hWnd, TbTrackbarState& st, int nPos, BOOL bRedraw)
{
    nPos = std::clamp(nPos, st.nMin, std::max(st.nMin, st.nMax));
    if (nPos != st.nPos) {
        st.nPos = nPos;
        if (bRedraw)
            InvalidateRect(hWnd, nullptr, TRUE);
    }
}

// The user moved the thumb: the new position, then the parent is told.
void UserMove(HWND hWnd, int nCode, int nPos)
{
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState)
        return;
    SetPos(hWnd, *pState, nPos, TRUE);
    Notify(hWnd, nCode, pState->nPos);
}

LRESULT OnSetRange(HWND hWnd, int nMin, int nMax, BOOL bRedraw)
{
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    pState->nMin = nMin;
    pState->nMax = nMax;
    SetPos(hWnd, *pState, pState->nPos, FALSE);
    if (bRedraw)
        InvalidateRect(hWnd, nullptr, TRUE);
    return 0;
}

LRESULT OnKeyDown(HWND hWnd, WPARAM wParam)
{
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const TbTrackbarState& st = *pState;
    switch (wParam) {
    case VK_LEFT:
    case VK_UP:    UserMove(hWnd, TB_LINEUP, st.nPos - st.nLine); break;
    case VK_RIGHT:
    case VK_DOWN:  UserMove(hWnd, TB_LINEDOWN, st.nPos + st.nLine); break;
    case VK_PRIOR: UserMove(hWnd, TB_PAGEUP, st.nPos - st.nPage); break;
    case VK_NEXT:  UserMove(hWnd, TB_PAGEDOWN, st.nPos + st.nPage); break;
    case VK_HOME:  UserMove(hWnd, TB_TOP, st.nMin); break;
    case VK_END:   UserMove(hWnd, TB_BOTTOM, st.nMax); break;
    }
    return 0;
}

// Letting go of a moving key ends the move.
LRESULT OnKeyUp(HWND hWnd, WPARAM wParam)
{
    switch (wParam) {
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
        Notify(hWnd, TB_ENDTRACK, 0);
        break;
    }
    return 0;
}

int Along(HWND hWnd, LPARAM lParam)
{
    return IsVert(hWnd) ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
}

// A press on the thumb takes it; a press in the channel moves a page towards the pointer.
LRESULT OnLButtonDown(HWND hWnd, LPARAM lParam)
{
    if (GetFocus() != hWnd)
        SetFocus(hWnd);
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const RECT rcThumb = ThumbRect(hWnd, *pState);
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int nAt = Along(hWnd, lParam);
    SetCapture(hWnd);
    if (PtInRect(&rcThumb, pt)) {
        pState->bDragging = TRUE;
        pState->nGrab = nAt - PixelOfPos(hWnd, *pState, pState->nPos);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    }
    pState->bPaging = TRUE;
    if (nAt < PixelOfPos(hWnd, *pState, pState->nPos))
        UserMove(hWnd, TB_PAGEUP, pState->nPos - pState->nPage);
    else
        UserMove(hWnd, TB_PAGEDOWN, pState->nPos + pState->nPage);
    return 0;
}

LRESULT OnMouseMove(HWND hWnd, LPARAM lParam)
{
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState || !pState->bDragging || GetCapture() != hWnd)
        return 0;
    const int nPos = PosOfPixel(hWnd, *pState, Along(hWnd, lParam) - pState->nGrab);
    if (nPos != pState->nPos)
        UserMove(hWnd, TB_THUMBTRACK, nPos);
    return 0;
}

LRESULT OnLButtonUp(HWND hWnd)
{
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState || (!pState->bDragging && !pState->bPaging))
        return 0;
    const BOOL bDragged = pState->bDragging;
    pState->bDragging = pState->bPaging = FALSE;
    if (GetCapture() == hWnd)
        ReleaseCapture();
    InvalidateRect(hWnd, nullptr, TRUE);
    if ((pState = StateOf(hWnd)) == nullptr)
        return 0;
    if (bDragged)
        Notify(hWnd, TB_THUMBPOSITION, pState->nPos);
    Notify(hWnd, TB_ENDTRACK, 0);
    return 0;
}

void DrawTic(HDC hdc, HWND hWnd, int nAt, int nAcross, int nDir)
{
    if (IsVert(hWnd)) {
        MoveToEx(hdc, nAcross, nAt, nullptr);
        LineTo(hdc, nAcross + nDir * TIC_LENGTH, nAt);
    } else {
        MoveToEx(hdc, nAt, nAcross, nullptr);
        LineTo(hdc, nAt, nAcross + nDir * TIC_LENGTH);
    }
}

// Ticks at the ends, and with TBS_AUTOTICKS at every nTicFreq positions between, below (right of)
// the thumb, above (left of) it with TBS_TOP, or on both sides with TBS_BOTH.
void DrawTics(HWND hWnd, HDC hdc, const TbTrackbarState& st, const RECT& rcThumb)
{
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    if (lStyle & TBS_NOTICKS)
        return;
    HPEN hPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    const bool bVert = IsVert(hWnd);
    const int nBefore = (bVert ? rcThumb.left : rcThumb.top) - 2;
    const int nAfter = (bVert ? rcThumb.right : rcThumb.bottom) + 1;
    const bool bTop = (lStyle & (TBS_TOP | TBS_BOTH)) != 0, bBottom = !(lStyle & TBS_TOP) || (lStyle & TBS_BOTH);
    auto tic = [&](int nPos) {
        const int nAt = PixelOfPos(hWnd, st, nPos);
        if (bTop)
            DrawTic(hdc, hWnd, nAt, nBefore, -1);
        if (bBottom)
            DrawTic(hdc, hWnd, nAt, nAfter, 1);
    };
    tic(st.nMin);
    if ((lStyle & TBS_AUTOTICKS) && st.nTicFreq > 0)
        for (long long n = static_cast<long long>(st.nMin) + st.nTicFreq; n < st.nMax; n += st.nTicFreq)
            tic(static_cast<int>(n));
    tic(st.nMax);
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbTrackbarState* pState = StateOf(hWnd);
    if (!hdc || !pState)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    HBRUSH hbr = TbControlColors(hWnd, hdc, WM_CTLCOLORSTATIC);
    if ((pState = StateOf(hWnd)) == nullptr)
        return 0;
    FillRect(hdc, &rc, hbr);
    const RECT rcThumb = ThumbRect(hWnd, *pState);
    int nFrom = 0, nTo = 0;
    ChannelEnds(hWnd, &nFrom, &nTo);
    RECT rcChannel;
    if (IsVert(hWnd)) {
        const int x = (rcThumb.left + rcThumb.right) / 2 - CHANNEL_WIDTH / 2;
        rcChannel = RECT{x, nFrom - 2, x + CHANNEL_WIDTH, nTo + 2};
    } else {
        const int y = (rcThumb.top + rcThumb.bottom) / 2 - CHANNEL_WIDTH / 2;
        rcChannel = RECT{nFrom - 2, y, nTo + 2, y + CHANNEL_WIDTH};
    }
    FillRect(hdc, &rcChannel, GetSysColorBrush(COLOR_WINDOW));
    TbDrawFrame3D(hdc, rcChannel, TRUE);
    DrawTics(hWnd, hdc, *pState, rcThumb);
    FillRect(hdc, &rcThumb, GetSysColorBrush(pState->bDragging ? COLOR_3DLIGHT : COLOR_BTNFACE));
    TbDrawFrame3D(hdc, rcThumb, FALSE);
    if (pState->bFocus)
        DrawFocusRect(hdc, &rc);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnFocus(HWND hWnd, BOOL bFocus)
{
    if (TbTrackbarState* pState = StateOf(hWnd)) {
        pState->bFocus = bFocus;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    return 0;
}

// The old size comes back; a size below one is refused.
LRESULT OnSetStep(HWND hWnd, LPARAM lParam, BOOL bPage)
{
    TbTrackbarState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    int& nStep = bPage ? pState->nPage : pState->nLine;
    const int nOld = nStep;
    if (lParam >= 1)
        nStep = static_cast<int>(lParam);
    return nOld;
}
}  // namespace

LRESULT CALLBACK TbTrackbarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:       return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:          return OnPaint(hWnd);
    case WM_ERASEBKGND:     return 1;       // WM_PAINT fills with the parent's brush
    case WM_SETFONT:        return TbControlSetFont(hWnd, StateOf(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:        return TbControlGetFont(StateOf(hWnd));
    case WM_GETDLGCODE:     return DLGC_WANTARROWS;
    case WM_ENABLE:         InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:       return OnFocus(hWnd, TRUE);
    case WM_KILLFOCUS:      return OnFocus(hWnd, FALSE);
    case WM_KEYDOWN:        return OnKeyDown(hWnd, wParam);
    case WM_KEYUP:          return OnKeyUp(hWnd, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  return OnLButtonDown(hWnd, lParam);
    case WM_MOUSEMOVE:      return OnMouseMove(hWnd, lParam);
    case WM_LBUTTONUP:      return OnLButtonUp(hWnd);
    case TBM_GETPOS:        return StateOf(hWnd) ? StateOf(hWnd)->nPos : 0;
    case TBM_SETPOS:
        if (TbTrackbarState* pState = StateOf(hWnd))
            SetPos(hWnd, *pState, static_cast<int>(lParam), wParam != 0);
        return 0;
    case TBM_GETRANGEMIN:   return StateOf(hWnd) ? StateOf(hWnd)->nMin : 0;
    case TBM_GETRANGEMAX:   return StateOf(hWnd) ? StateOf(hWnd)->nMax : 0;
    case TBM_SETRANGE:      return OnSetRange(hWnd, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), wParam != 0);
    case TBM_SETRANGEMIN:
        return StateOf(hWnd) ? OnSetRange(hWnd, static_cast<int>(lParam), StateOf(hWnd)->nMax, wParam != 0) : 0;
    case TBM_SETRANGEMAX:
        return StateOf(hWnd) ? OnSetRange(hWnd, StateOf(hWnd)->nMin, static_cast<int>(lParam), wParam != 0) : 0;
    case TBM_SETTICFREQ:
        if (TbTrackbarState* pState = StateOf(hWnd)) {
            pState->nTicFreq = std::max(1, static_cast<int>(wParam));
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        return 0;
    case TBM_SETPAGESIZE:   return OnSetStep(hWnd, lParam, TRUE);
    case TBM_GETPAGESIZE:   return StateOf(hWnd) ? StateOf(hWnd)->nPage : 0;
    case TBM_SETLINESIZE:   return OnSetStep(hWnd, lParam, FALSE);
    case TBM_GETLINESIZE:   return StateOf(hWnd) ? StateOf(hWnd)->nLine : 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
