// What every scroll bar does alike: its values kept in range, its geometry and drawing, and the
// user's press on an arrow, a page area or the thumb.
#include <algorithm>
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/ScrollBarInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int MIN_THUMB = 8;
const UINT_PTR TRACK_TIMER_ID = 0xFFFA;     // the layer's own id: the program's timers stay apart
const UINT FIRST_REPEAT_MS = 400;           // a held arrow waits, then repeats quickly
const UINT REPEAT_MS = 50;

int Along(POINT pt, const RECT& rc, BOOL bVert)
{
    return bVert ? pt.y - rc.top : pt.x - rc.left;
}

int PosFromThumb(const TbScrollBarInfo& sb, const TbScrollGeometry& g, int nStart)
{
    const int nRoom = g.nTrack - g.nThumbLen;
    const long long llSpan = static_cast<long long>(sb.MaxPos()) - sb.nMin;
    if (nRoom <= 0 || llSpan <= 0)
        return sb.nMin;
    return static_cast<int>(sb.nMin + (llSpan * nStart + nRoom / 2) / nRoom);
}

void DrawArrow(HDC hdc, const RECT& rc, BOOL bVert, BOOL bUp, BOOL bPressed, BOOL bEnabled)
{
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    TbDrawFrame3D(hdc, rc, bPressed);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    const int nSize = std::max(2, std::min(cx, cy) / 4);
    const int xc = rc.left + cx / 2 + (bPressed ? 1 : 0), yc = rc.top + cy / 2 + (bPressed ? 1 : 0);
    POINT pts[3];
    if (bVert) {
        const int d = bUp ? -1 : 1;
        pts[0] = {xc - nSize, yc - d * nSize / 2};
        pts[1] = {xc + nSize, yc - d * nSize / 2};
        pts[2] = {xc, yc + d * (nSize - nSize / 2)};
    } else {
        const int d = bUp ? -1 : 1;
        pts[0] = {xc - d * nSize / 2, yc - nSize};
        pts[1] = {xc - d * nSize / 2, yc + nSize};
        pts[2] = {xc + d * (nSize - nSize / 2), yc};
    }
    const COLORREF cr = GetSysColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    HBRUSH hbr = CreateSolidBrush(cr);
    HPEN hPen = CreatePen(PS_SOLID, 1, cr);
    HGDIOBJ hOldBrush = SelectObject(hdc, hbr), hOldPen = SelectObject(hdc, hPen);
    Polygon(hdc, pts, 3);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
    DeleteObject(hbr);
    DeleteObject(hPen);
}

RECT PartRect(const RECT& rc, BOOL bVert, int nFrom, int nTo)
{
    return bVert ? RECT{rc.left, rc.top + nFrom, rc.right, rc.top + nTo} : RECT{rc.left + nFrom, rc.top, rc.left + nTo, rc.bottom};
}
}  // namespace

void TbApplyScrollInfo(TbScrollBarInfo& sb, const SCROLLINFO& info)
{
    if (info.fMask & SIF_RANGE) {
        sb.nMin = info.nMin;
        sb.nMax = std::max(info.nMin, info.nMax);
    }
    if (info.fMask & SIF_PAGE)
        sb.nPage = info.nPage;
    if (info.fMask & SIF_POS)
        sb.nPos = info.nPos;
    if (info.fMask & SIF_DISABLENOSCROLL)
        sb.bDisableNoScroll = TRUE;
    const long long llRange = static_cast<long long>(sb.nMax) - sb.nMin + 1;
    if (static_cast<long long>(sb.nPage) > llRange)
        sb.nPage = static_cast<UINT>(llRange);
    sb.nPos = std::clamp(sb.nPos, sb.nMin, std::max(sb.nMin, sb.MaxPos()));
    if (!sb.bTracking)
        sb.nTrackPos = sb.nPos;
}

void TbReadScrollInfo(const TbScrollBarInfo& sb, SCROLLINFO* pInfo)
{
    if (pInfo->fMask & SIF_RANGE) {
        pInfo->nMin = sb.nMin;
        pInfo->nMax = sb.nMax;
    }
    if (pInfo->fMask & SIF_PAGE)
        pInfo->nPage = sb.nPage;
    if (pInfo->fMask & SIF_POS)
        pInfo->nPos = sb.nPos;
    if (pInfo->fMask & SIF_TRACKPOS)
        pInfo->nTrackPos = sb.bTracking ? sb.nTrackPos : sb.nPos;
}

TbScrollGeometry TbScrollBarGeometry(const TbScrollBarInfo& sb, const RECT& rc, BOOL bVert, BOOL bEnabled)
{
    TbScrollGeometry g;
    const int nLen = bVert ? rc.bottom - rc.top : rc.right - rc.left;
    const int nThick = bVert ? rc.right - rc.left : rc.bottom - rc.top;
    g.nArrow = std::max(0, std::min(nThick, nLen / 2));
    g.nTrack = std::max(0, nLen - 2 * g.nArrow);
    if (!bEnabled || !sb.CanScroll() || sb.uArrows == ESB_DISABLE_BOTH)
        return g;
    const long long llRange = static_cast<long long>(sb.nMax) - sb.nMin + 1;
    int nThumb = sb.nPage ? static_cast<int>(g.nTrack * static_cast<long long>(sb.nPage) / llRange) : g.nArrow;
    nThumb = std::max(nThumb, MIN_THUMB);
    if (nThumb > g.nTrack)
        return g;       // no room for a thumb: the arrows still work
    g.nThumbLen = nThumb;
    const int nRoom = g.nTrack - nThumb;
    const long long llSpan = static_cast<long long>(sb.MaxPos()) - sb.nMin;
    if (sb.bTracking && sb.nThumbOffset >= 0)
        g.nThumbStart = std::clamp(sb.nThumbOffset, 0, nRoom);
    else if (llSpan > 0)
        g.nThumbStart = static_cast<int>(nRoom * (static_cast<long long>(std::clamp(sb.nPos, sb.nMin, sb.MaxPos())) - sb.nMin) / llSpan);
    return g;
}

int TbScrollHitPart(const TbScrollBarInfo& sb, const RECT& rc, BOOL bVert, BOOL bEnabled, POINT pt)
{
    if (!bEnabled || !PtInRect(&rc, pt))
        return TB_SBP_NONE;
    const TbScrollGeometry g = TbScrollBarGeometry(sb, rc, bVert, bEnabled);
    const int a = Along(pt, rc, bVert);
    if (a < g.nArrow)
        return (sb.uArrows & ESB_DISABLE_LTUP) ? TB_SBP_NONE : TB_SBP_LINEUP;
    if (a >= g.nArrow + g.nTrack)
        return (sb.uArrows & ESB_DISABLE_RTDN) ? TB_SBP_NONE : TB_SBP_LINEDOWN;
    if (!g.nThumbLen)
        return TB_SBP_NONE;
    const int t = a - g.nArrow;
    if (t < g.nThumbStart)
        return TB_SBP_PAGEUP;
    return t < g.nThumbStart + g.nThumbLen ? TB_SBP_THUMB : TB_SBP_PAGEDOWN;
}

void TbDrawScrollBar(HDC hdc, const TbScrollBarInfo& sb, const RECT& rc, BOOL bVert, BOOL bEnabled)
{
    const TbScrollGeometry g = TbScrollBarGeometry(sb, rc, bVert, bEnabled);
    RECT rcTrack = PartRect(rc, bVert, g.nArrow, g.nArrow + g.nTrack);
    FillRect(hdc, &rcTrack, GetSysColorBrush(COLOR_SCROLLBAR));
    const BOOL bCanScroll = bEnabled && sb.CanScroll();
    DrawArrow(hdc, PartRect(rc, bVert, 0, g.nArrow), bVert, TRUE, sb.nPressed == TB_SBP_LINEUP,
              bCanScroll && !(sb.uArrows & ESB_DISABLE_LTUP));
    DrawArrow(hdc, PartRect(rc, bVert, g.nArrow + g.nTrack, 2 * g.nArrow + g.nTrack), bVert, FALSE,
              sb.nPressed == TB_SBP_LINEDOWN, bCanScroll && !(sb.uArrows & ESB_DISABLE_RTDN));
    if (!g.nThumbLen)
        return;
    // A held page area shows dark, as on the original.
    if (sb.nPressed == TB_SBP_PAGEUP || sb.nPressed == TB_SBP_PAGEDOWN) {
        const RECT rcPage = sb.nPressed == TB_SBP_PAGEUP
            ? PartRect(rc, bVert, g.nArrow, g.nArrow + g.nThumbStart)
            : PartRect(rc, bVert, g.nArrow + g.nThumbStart + g.nThumbLen, g.nArrow + g.nTrack);
        FillRect(hdc, &rcPage, GetSysColorBrush(COLOR_3DDKSHADOW));
    }
    RECT rcThumb = PartRect(rc, bVert, g.nArrow + g.nThumbStart, g.nArrow + g.nThumbStart + g.nThumbLen);
    FillRect(hdc, &rcThumb, GetSysColorBrush(COLOR_BTNFACE));
    TbDrawFrame3D(hdc, rcThumb, FALSE);
}

namespace {
struct Tracking {
    HWND hWnd;
    int  nBar;
    int  nPart;
    int  nGrab;             // the pointer's distance from the thumb's start when it was taken
    POINT pt;
    BOOL bDone = FALSE;
};

void Notify(const Tracking& t, BOOL bVert, int nCode, int nPos)
{
    HWND hTarget = t.nBar == SB_CTL ? GetParent(t.hWnd) : t.hWnd;
    const LPARAM lCtl = t.nBar == SB_CTL ? reinterpret_cast<LPARAM>(t.hWnd) : 0;
    if (hTarget)
        SendMessageA(hTarget, bVert ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(nCode, nPos), lCtl);
}

// A held arrow or page area acts again while the pointer stays on it; a page stops where the
// thumb reaches the pointer.
void Repeat(const Tracking& t)
{
    static const int s_codes[] = {-1, SB_LINEUP, SB_PAGEUP, -1, SB_PAGEDOWN, SB_LINEDOWN};
    TbScrollBarInfo* pSb = TbFindScrollBar(t.hWnd, t.nBar);
    RECT rc;
    BOOL bVert = FALSE;
    if (!pSb || !TbScrollBarPlace(t.hWnd, t.nBar, &rc, &bVert))
        return;
    const int nPart = TbScrollHitPart(*pSb, rc, bVert, TbScrollBarEnabled(t.hWnd, t.nBar), t.pt);
    if (pSb->nPressed != (nPart == t.nPart ? t.nPart : TB_SBP_NONE)) {
        pSb->nPressed = nPart == t.nPart ? t.nPart : TB_SBP_NONE;
        TbRedrawScrollBar(t.hWnd, t.nBar);
    }
    if (nPart == t.nPart && s_codes[t.nPart] >= 0)
        Notify(t, bVert, s_codes[t.nPart], 0);
}

void Drag(const Tracking& t)
{
    TbScrollBarInfo* pSb = TbFindScrollBar(t.hWnd, t.nBar);
    RECT rc;
    BOOL bVert = FALSE;
    if (!pSb || !TbScrollBarPlace(t.hWnd, t.nBar, &rc, &bVert))
        return;
    const TbScrollGeometry g = TbScrollBarGeometry(*pSb, rc, bVert, TRUE);
    const int nStart = std::clamp(Along(t.pt, rc, bVert) - g.nArrow - t.nGrab, 0, std::max(0, g.nTrack - g.nThumbLen));
    pSb->nThumbOffset = nStart;
    const int nPos = PosFromThumb(*pSb, g, nStart);
    TbRedrawScrollBar(t.hWnd, t.nBar);
    if (nPos == pSb->nTrackPos)
        return;
    pSb->nTrackPos = nPos;
    Notify(t, bVert, SB_THUMBTRACK, nPos);
}
}  // namespace

void TbTrackScrollBar(HWND hWnd, int nBar, POINT pt)
{
    TbScrollBarInfo* pSb = TbFindScrollBar(hWnd, nBar);
    RECT rc;
    BOOL bVert = FALSE;
    if (!pSb || pSb->nPressed != TB_SBP_NONE || !TbScrollBarPlace(hWnd, nBar, &rc, &bVert))
        return;
    const int nPart = TbScrollHitPart(*pSb, rc, bVert, TbScrollBarEnabled(hWnd, nBar), pt);
    if (nPart == TB_SBP_NONE)
        return;
    const TbScrollGeometry g = TbScrollBarGeometry(*pSb, rc, bVert, TRUE);
    Tracking t = {hWnd, nBar, nPart, Along(pt, rc, bVert) - g.nArrow - g.nThumbStart, pt};
    pSb->nPressed = nPart;
    if (nPart == TB_SBP_THUMB) {
        pSb->bTracking = TRUE;
        pSb->nTrackPos = pSb->nPos;
        pSb->nThumbOffset = g.nThumbStart;
    }
    SetCapture(hWnd);
    TbRedrawScrollBar(hWnd, nBar);
    if (nPart != TB_SBP_THUMB)
        Repeat(t);
    SetTimer(hWnd, TRACK_TIMER_ID, FIRST_REPEAT_MS, nullptr);
    // The bar's own loop takes every mouse message, so the window's procedure never sees the
    // press as a click in its client area.
    TbRunModalLoop(nullptr, [&t] { return t.bDone || !IsWindow(t.hWnd) || GetCapture() != t.hWnd; },
                   [&t](MSG* pMsg) {
        if (pMsg->message == WM_TIMER && pMsg->hwnd == t.hWnd && pMsg->wParam == TRACK_TIMER_ID) {
            if (t.nPart != TB_SBP_THUMB) {
                Repeat(t);
                SetTimer(t.hWnd, TRACK_TIMER_ID, REPEAT_MS, nullptr);
            }
            return TRUE;
        }
        // A move or release queued before the capture was taken came as a non-client message
        // with a screen point.
        const bool bNc = pMsg->message >= WM_NCMOUSEMOVE && pMsg->message <= WM_NCMBUTTONDBLCLK;
        if (!bNc && (pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST || pMsg->message == WM_MOUSEWHEEL))
            return FALSE;
        const UINT uMsg = bNc ? pMsg->message + (WM_MOUSEMOVE - WM_NCMOUSEMOVE) : pMsg->message;
        POINT pt = {GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
        if (bNc)
            ScreenToClient(t.hWnd, &pt);
        if (pMsg->hwnd == t.hWnd && uMsg == WM_MOUSEMOVE) {
            t.pt = pt;
            if (t.nPart == TB_SBP_THUMB)
                Drag(t);
        } else if (uMsg == WM_LBUTTONUP) {
            t.bDone = TRUE;
        }
        return TRUE;
    }, TB_MODAL_KEEPMODE);
    if (IsWindow(hWnd)) {
        KillTimer(hWnd, TRACK_TIMER_ID);
        if (GetCapture() == hWnd)
            ReleaseCapture();
    }
    if (nPart == TB_SBP_THUMB)
        if ((pSb = TbFindScrollBar(hWnd, nBar)) != nullptr)
            Notify(t, bVert, SB_THUMBPOSITION, pSb->nTrackPos);
    if ((pSb = TbFindScrollBar(hWnd, nBar)) != nullptr) {
        pSb->nPressed = TB_SBP_NONE;
        pSb->bTracking = FALSE;
        pSb->nThumbOffset = -1;
        pSb->nTrackPos = pSb->nPos;
        TbRedrawScrollBar(hWnd, nBar);
    }
    if (IsWindow(hWnd))
        Notify(t, bVert, SB_ENDSCROLL, 0);
}
