// The progress bar "msctls_progress32": a sunken frame filled from the start in proportion to the
// position within the range, from the left, or from the right when the bar is laid out right to
// left. The position stays inside the range.
#include <algorithm>
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
struct TbProgressState : TbControlState {
    int nMin = 0;
    int nMax = 100;
    int nPos = 0;
    int nStep = 10;
};

TbProgressState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbProgressState>(hWnd);
}

// Sets the position inside the range and shows it; the old position comes back.
LRESULT MoveTo(HWND hWnd, TbProgressState* pState, long long nPos)
{
    const int nOld = pState->nPos;
    pState->nPos = static_cast<int>(std::clamp<long long>(nPos, pState->nMin, std::max(pState->nMin, pState->nMax)));
    if (pState->nPos != nOld)
        InvalidateRect(hWnd, nullptr, FALSE);
    return nOld;
}

// A range whose end is not past its start is kept as given; the bar then shows empty.
LRESULT OnSetRange(HWND hWnd, int nMin, int nMax)
{
    TbProgressState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const LRESULT lOld = MAKELPARAM(pState->nMin, pState->nMax);
    pState->nMin = nMin;
    pState->nMax = nMax;
    MoveTo(hWnd, pState, pState->nPos);
    InvalidateRect(hWnd, nullptr, FALSE);
    return lOld;
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbProgressState* pState = StateOf(hWnd);
    if (!hdc || !pState)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    TbDrawFrame3D(hdc, rc, TRUE);
    RECT rcInside = {rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
    if (pState->nMax > pState->nMin && rcInside.right > rcInside.left) {
        const int cxFull = rcInside.right - rcInside.left;
        const int cxDone = static_cast<int>(static_cast<long long>(pState->nPos - pState->nMin) * cxFull /
                                            (pState->nMax - pState->nMin));
        RECT rcDone = rcInside;
        if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
            rcDone.left = rcDone.right - cxDone;
        else
            rcDone.right = rcDone.left + cxDone;
        FillRect(hdc, &rcDone, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    EndPaint(hWnd, &ps);
    return 0;
}
}  // namespace

LRESULT CALLBACK TbProgressWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    TbProgressState* pState = nullptr;
    switch (uMsg) {
    case WM_NCCREATE:    return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:       return OnPaint(hWnd);
    case WM_ERASEBKGND:  return 1;      // WM_PAINT fills it all
    case PBM_SETRANGE:   return OnSetRange(hWnd, static_cast<WORD>(LOWORD(lParam)), static_cast<WORD>(HIWORD(lParam)));
    case PBM_SETPOS:     return (pState = StateOf(hWnd)) ? MoveTo(hWnd, pState, static_cast<int>(wParam)) : 0;
    case PBM_DELTAPOS:   return (pState = StateOf(hWnd)) ? MoveTo(hWnd, pState, pState->nPos + static_cast<long long>(static_cast<int>(wParam))) : 0;
    case PBM_STEPIT:     return (pState = StateOf(hWnd)) ? MoveTo(hWnd, pState, static_cast<long long>(pState->nPos) + pState->nStep) : 0;
    case PBM_GETPOS:     return (pState = StateOf(hWnd)) ? pState->nPos : 0;
    case PBM_SETSTEP:
        if ((pState = StateOf(hWnd)) != nullptr) {
            const int nOld = pState->nStep;
            pState->nStep = static_cast<int>(wParam);
            return nOld;
        }
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
