// Registering the standard control classes and what every control does alike: fonts, colours
// from the parent, notifications and frames.
#include <algorithm>
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WebBrowser.h"

void TbRegisterControlClasses()
{
    static const struct { const char* pszName; WNDPROC pfn; UINT uStyle; int cbExtra; int nBrush; } s_classes[] = {
        {WC_STATICA, TbStaticWndProc, CS_DBLCLKS, 0, 0},
        {WC_BUTTONA, TbButtonWndProc, CS_DBLCLKS, 0, 0},
        {WC_EDITA, TbEditWndProc, CS_DBLCLKS, 0, 0},
        {WC_LISTBOXA, TbListBoxWndProc, CS_DBLCLKS, 0, 0},
        // A bar's arrows sit at its ends and its thumb in proportion: a new size repaints it whole.
        {WC_SCROLLBARA, TbScrollBarWndProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, 0, 0},
        {WC_COMBOBOXA, TbComboBoxWndProc, CS_DBLCLKS, 0, 0},
        {TRACKBAR_CLASSA, TbTrackbarWndProc, 0, 0, 0},
        {WC_TABCONTROLA, TbTabControlWndProc, CS_DBLCLKS, 0, 0},
        {TOOLBARCLASSNAMEA, TbToolbarWndProc, CS_DBLCLKS, 0, 0},
        {TOOLTIPS_CLASSA, TbToolTipWndProc, CS_SAVEBITS, 0, 0},
        {STATUSCLASSNAMEA, TbStatusBarWndProc, CS_DBLCLKS, 0, 0},
        {DATETIMEPICK_CLASSA, TbDateTimePickWndProc, CS_DBLCLKS, 0, 0},
        {WC_RICHVIEWA, TbRichViewWndProc, 0, 0, 0},
        {WC_WEBBROWSERA, TbWebBrowserWndProc, 0, 0, 0},
        {PROGRESS_CLASSA, TbProgressWndProc, 0, 0, 0},
        {WC_DIALOGA, DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA, 0},
    };
    for (const auto& c : s_classes) {
        WNDCLASSA wc = {};
        if (GetClassInfoA(nullptr, c.pszName, &wc))
            continue;
        wc.style = c.uStyle | CS_GLOBALCLASS;
        wc.lpfnWndProc = c.pfn;
        wc.cbWndExtra = c.cbExtra;
        wc.hCursor = LoadCursorA(nullptr, c.pfn == TbEditWndProc ? IDC_IBEAM : IDC_ARROW);
        wc.lpszClassName = c.pszName;
        RegisterClassA(&wc);
    }
}

LRESULT TbControlSetFont(HWND hWnd, TbControlState* pState, HFONT hFont, BOOL bRedraw)
{
    if (!pState)
        return 0;
    pState->hFont = hFont;
    if (bRedraw)
        InvalidateRect(hWnd, nullptr, TRUE);
    return 0;
}

HFONT TbControlFont(const TbControlState* pState)
{
    return pState && pState->hFont ? pState->hFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TbNotifyParent(HWND hWnd, UINT uCode)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    if (!pWnd || !pWnd->hParent)
        return;
    SendMessageA(pWnd->hParent, WM_COMMAND, MAKEWPARAM(pWnd->nId, uCode), reinterpret_cast<LPARAM>(hWnd));
}

HBRUSH TbControlColors(HWND hWnd, HDC hdc, UINT uCtlColorMsg)
{
    HWND hParent = GetParent(hWnd);
    LRESULT lBrush = 0;
    if (hParent)
        lBrush = SendMessageA(hParent, uCtlColorMsg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWnd));
    // A parent that answers nothing leaves the colours to the default procedure, as on the original.
    if (!lBrush)
        lBrush = DefWindowProcA(hWnd, uCtlColorMsg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWnd));
    return reinterpret_cast<HBRUSH>(lBrush);
}

void TbDrawFrame3D(HDC hdc, const RECT& rc, BOOL bSunken)
{
    if (rc.right - rc.left < 2 || rc.bottom - rc.top < 2)
        return;
    HPEN hLight = CreatePen(PS_SOLID, 1, GetSysColor(bSunken ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW));
    HPEN hDark = CreatePen(PS_SOLID, 1, GetSysColor(bSunken ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
    HGDIOBJ hOld = SelectObject(hdc, hDark);
    MoveToEx(hdc, rc.left, rc.bottom - 1, nullptr);
    LineTo(hdc, rc.left, rc.top);
    LineTo(hdc, rc.right - 1, rc.top);
    SelectObject(hdc, hLight);
    LineTo(hdc, rc.right - 1, rc.bottom - 1);
    LineTo(hdc, rc.left - 1, rc.bottom - 1);
    SelectObject(hdc, hOld);
    DeleteObject(hLight);
    DeleteObject(hDark);
}

UINT TbTextFlags(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) ? DT_RTLREADING : 0;
}

int TbTextWidth(HWND, HFONT hFont, LPCSTR pszText, int cch)
{
    if (cch <= 0)
        return 0;
    HDC hdc = GetDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(hdc, pszText, cch, &size);
    SelectObject(hdc, hOld);
    ReleaseDC(nullptr, hdc);
    return size.cx;
}

int TbFontHeight(HFONT hFont)
{
    HDC hdc = GetDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRICA tm = {};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(nullptr, hdc);
    return tm.tmHeight;
}
