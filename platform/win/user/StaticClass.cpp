// The "Static" class: labels, frames, rectangles and pictures (SS_ICON, SS_BITMAP). Clicks reach
// the parent only with SS_NOTIFY.
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/SysMetrics.h"

namespace {
struct TbStaticState : TbControlState {
    // The picture shown; not owned: whoever set it frees it after the control is gone.
    HANDLE hImage = nullptr;
    UINT uImageType = IMAGE_BITMAP;
};

void DrawImage(HDC hdc, const TbStaticState* pState)
{
    if (pState == nullptr || pState->hImage == nullptr)
        return;
    if (pState->uImageType == IMAGE_ICON) {
        DrawIconEx(hdc, 0, 0, static_cast<HICON>(pState->hImage), 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    BITMAP bm = {};
    if (!GetObjectA(pState->hImage, sizeof bm, &bm))
        return;
    HDC hdcImage = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcImage, pState->hImage);
    BitBlt(hdc, 0, 0, bm.bmWidth, bm.bmHeight, hdcImage, 0, 0, SRCCOPY);
    SelectObject(hdcImage, hOld);
    DeleteDC(hdcImage);
}

// STM_SETICON and STM_SETIMAGE: the picture before, which the caller still owns.
LRESULT OnSetImage(HWND hWnd, UINT uType, HANDLE hImage)
{
    TbStaticState* pState = TbClassStateOf<TbStaticState>(hWnd);
    if (pState == nullptr || (uType != IMAGE_BITMAP && uType != IMAGE_ICON))
        return 0;
    HANDLE hOld = pState->uImageType == uType ? pState->hImage : nullptr;
    pState->hImage = hImage;
    pState->uImageType = uType;
    InvalidateRect(hWnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(hOld);
}

LRESULT OnGetImage(HWND hWnd, UINT uType)
{
    const TbStaticState* pState = TbClassStateOf<TbStaticState>(hWnd);
    return pState != nullptr && pState->uImageType == uType ? reinterpret_cast<LRESULT>(pState->hImage) : 0;
}

void DrawFrame(HDC hdc, const RECT& rc, UINT uType)
{
    static const struct { UINT uType; int nColor; BOOL bFill; } s_shapes[] = {
        {SS_BLACKRECT, COLOR_WINDOWFRAME, TRUE}, {SS_GRAYRECT, COLOR_BTNSHADOW, TRUE},
        {SS_WHITERECT, COLOR_WINDOW, TRUE}, {SS_BLACKFRAME, COLOR_WINDOWFRAME, FALSE},
        {SS_GRAYFRAME, COLOR_BTNSHADOW, FALSE}, {SS_WHITEFRAME, COLOR_WINDOW, FALSE}};
    for (const auto& s : s_shapes) {
        if (s.uType != uType)
            continue;
        if (s.bFill)
            FillRect(hdc, &rc, GetSysColorBrush(s.nColor));
        else
            FrameRect(hdc, &rc, GetSysColorBrush(s.nColor));
        return;
    }
    if (uType == SS_ETCHEDHORZ) {
        RECT rcLine = {rc.left, rc.top, rc.right, rc.top + 2};
        TbDrawFrame3D(hdc, rcLine, TRUE);
    } else if (uType == SS_ETCHEDVERT) {
        RECT rcLine = {rc.left, rc.top, rc.left + 2, rc.bottom};
        TbDrawFrame3D(hdc, rcLine, TRUE);
    } else if (uType == SS_ETCHEDFRAME) {
        TbDrawFrame3D(hdc, rc, TRUE);
    }
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (!hdc)
        return 0;
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    const UINT uType = static_cast<UINT>(lStyle & SS_TYPEMASK);
    RECT rc;
    GetClientRect(hWnd, &rc);
    HGDIOBJ hOldFont = SelectObject(hdc, TbControlFont(TbClassStateOf<TbStaticState>(hWnd)));
    HBRUSH hbr = TbControlColors(hWnd, hdc, WM_CTLCOLORSTATIC);
    if (uType == SS_ICON || uType == SS_BITMAP) {
        FillRect(hdc, &rc, hbr);
        DrawImage(hdc, TbClassStateOf<TbStaticState>(hWnd));
    } else if (uType >= SS_BLACKRECT && uType <= SS_WHITEFRAME) {
        DrawFrame(hdc, rc, uType);
    } else if (uType >= SS_ETCHEDHORZ && uType <= SS_ETCHEDFRAME) {
        FillRect(hdc, &rc, hbr);
        DrawFrame(hdc, rc, uType);
    } else if (uType != SS_OWNERDRAW && uType != SS_ICON && uType != SS_BITMAP) {
        FillRect(hdc, &rc, hbr);
        char szText[1024];
        const int nLen = GetWindowTextA(hWnd, szText, sizeof szText);
        UINT uFormat = TbTextFlags(hWnd);
        if (uType == SS_CENTER)
            uFormat |= DT_CENTER | DT_WORDBREAK;
        else if (uType == SS_RIGHT || (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RIGHT))
            uFormat |= DT_RIGHT | DT_WORDBREAK;
        else if (uType == SS_SIMPLE || uType == SS_LEFTNOWORDWRAP)
            uFormat |= DT_SINGLELINE;
        else
            uFormat |= DT_WORDBREAK;
        if (lStyle & SS_NOPREFIX)
            uFormat |= DT_NOPREFIX;
        if (lStyle & SS_CENTERIMAGE)
            uFormat = (uFormat & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
        if (lStyle & WS_DISABLED)
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
        SetBkMode(hdc, TRANSPARENT);
        DrawTextA(hdc, szText, nLen, &rc, uFormat);
    }
    if (uType == SS_OWNERDRAW) {
        DRAWITEMSTRUCT dis = {ODT_STATIC, static_cast<UINT>(GetDlgCtrlID(hWnd)), 0, ODA_DRAWENTIRE,
                              (lStyle & WS_DISABLED) ? static_cast<UINT>(ODS_DISABLED) : 0u, hWnd, hdc, rc, 0};
        SendMessageA(GetParent(hWnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    }
    SelectObject(hdc, hOldFont);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnClick(HWND hWnd, UINT uCode)
{
    if (GetWindowLongA(hWnd, GWL_STYLE) & SS_NOTIFY)
        TbNotifyParent(hWnd, uCode);
    return 0;
}

LRESULT OnSetText(HWND hWnd, LPARAM lParam)
{
    const LRESULT lResult = DefWindowProcA(hWnd, WM_SETTEXT, 0, lParam);
    InvalidateRect(hWnd, nullptr, TRUE);
    return lResult;
}
}  // namespace

LRESULT CALLBACK TbStaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT:         return OnPaint(hWnd);
    case WM_ERASEBKGND:    return 1;        // WM_PAINT fills with the parent's brush
    case WM_SETTEXT:       return OnSetText(hWnd, lParam);
    case WM_SETFONT:       return TbControlSetFont(hWnd, TbClassStateOf<TbStaticState>(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:       return TbControlGetFont(TbClassStateOf<TbStaticState>(hWnd));
    case STM_SETICON:      return OnSetImage(hWnd, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam));
    case STM_GETICON:      return OnGetImage(hWnd, IMAGE_ICON);
    case STM_SETIMAGE:     return OnSetImage(hWnd, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam));
    case STM_GETIMAGE:     return OnGetImage(hWnd, static_cast<UINT>(wParam));
    case WM_GETDLGCODE:    return DLGC_STATIC;
    case WM_ENABLE:        InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN:   return OnClick(hWnd, STN_CLICKED);
    case WM_LBUTTONDBLCLK: return OnClick(hWnd, STN_DBLCLK);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
