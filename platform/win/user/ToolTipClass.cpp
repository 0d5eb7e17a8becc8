// The "tooltips_class32" class: a small top-level window that shows one line of text near the
// pointer, sized to its text; the toolbar owns one and moves, fills, shows and hides it.
#include <cstring>

#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int TIP_PADDING = 3;

LRESULT OnTipPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (!hdc)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_INFOTEXT));
    char szText[256];
    const int nLen = GetWindowTextA(hWnd, szText, sizeof szText);
    HGDIOBJ hOld = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&rc, -TIP_PADDING, -TIP_PADDING);
    DrawTextA(hdc, szText, nLen, &rc, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | TbTextFlags(hWnd));
    SelectObject(hdc, hOld);
    EndPaint(hWnd, &ps);
    return 0;
}

// The tip takes the size of its text.
LRESULT OnTipSetText(HWND hWnd, LPARAM lParam)
{
    const LRESULT lResult = DefWindowProcA(hWnd, WM_SETTEXT, 0, lParam);
    const char* pszText = reinterpret_cast<const char*>(lParam);
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int cx = TbTextWidth(hWnd, hFont, pszText ? pszText : "", pszText ? static_cast<int>(strlen(pszText)) : 0);
    SetWindowPos(hWnd, nullptr, 0, 0, cx + 2 * TIP_PADDING + 2, TbFontHeight(hFont) + 2 * TIP_PADDING,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hWnd, nullptr, TRUE);
    return lResult;
}
}  // namespace

LRESULT CALLBACK TbToolTipWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT:        return OnTipPaint(hWnd);
    case WM_ERASEBKGND:   return 1;
    case WM_SETTEXT:      return OnTipSetText(hWnd, lParam);
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
