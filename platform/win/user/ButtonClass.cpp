// The "Button" class: push buttons (the default one framed), check boxes, radio buttons, their
// automatic kinds and group boxes. A click is BN_CLICKED to the parent.
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct TbButtonState : TbControlState {
    UINT uCheck = BST_UNCHECKED;
    BOOL bPushed = FALSE;           // drawn pressed: the mouse or the space bar holds it down
    BOOL bFocus = FALSE;
};

const int CHECK_BOX_SIZE = 13;

UINT TypeOf(HWND hWnd)
{
    return static_cast<UINT>(GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK);
}

bool IsPushType(UINT uType)
{
    return uType == BS_PUSHBUTTON || uType == BS_DEFPUSHBUTTON;
}

bool IsRadioType(UINT uType)
{
    return uType == BS_RADIOBUTTON || uType == BS_AUTORADIOBUTTON;
}

// Text on the left, box on the right: asked for, or implied by a right-aligned window.
bool BoxOnRight(HWND hWnd)
{
    return (GetWindowLongA(hWnd, GWL_STYLE) & BS_LEFTTEXT) || (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RIGHT);
}

void Redraw(HWND hWnd)
{
    InvalidateRect(hWnd, nullptr, TRUE);
}

void PaintPush(HWND hWnd, HDC hdc, const RECT& rcClient, const TbButtonState& st, LPCSTR pszText, int nLen)
{
    RECT rc = rcClient;
    HBRUSH hbr = TbControlColors(hWnd, hdc, WM_CTLCOLORBTN);
    FillRect(hdc, &rc, hbr);
    if (TypeOf(hWnd) == BS_DEFPUSHBUTTON) {
        FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rc, -1, -1);
    }
    TbDrawFrame3D(hdc, rc, st.bPushed || st.uCheck == BST_CHECKED);
    RECT rcText = rc;
    if (st.bPushed)
        OffsetRect(&rcText, 1, 1);
    SetBkMode(hdc, TRANSPARENT);
    if (GetWindowLongA(hWnd, GWL_STYLE) & WS_DISABLED)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(hdc, pszText, nLen, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | TbTextFlags(hWnd));
    if (st.bFocus) {
        InflateRect(&rcText, -3, -3);
        DrawFocusRect(hdc, &rcText);
    }
}

void PaintCheck(HWND hWnd, HDC hdc, const RECT& rcClient, const TbButtonState& st, LPCSTR pszText, int nLen)
{
    HBRUSH hbr = TbControlColors(hWnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &rcClient, hbr);
    const bool bRight = BoxOnRight(hWnd);
    const int nTop = rcClient.top + (rcClient.bottom - rcClient.top - CHECK_BOX_SIZE) / 2;
    RECT rcBox = {bRight ? rcClient.right - CHECK_BOX_SIZE : rcClient.left, nTop, 0, nTop + CHECK_BOX_SIZE};
    rcBox.right = rcBox.left + CHECK_BOX_SIZE;
    const COLORREF crMark = GetSysColor((GetWindowLongA(hWnd, GWL_STYLE) & WS_DISABLED) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    HBRUSH hbrBox = GetSysColorBrush(st.bPushed ? COLOR_BTNFACE : COLOR_WINDOW);
    if (IsRadioType(TypeOf(hWnd))) {
        HGDIOBJ hOldBrush = SelectObject(hdc, hbrBox);
        HPEN hPen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ hOldPen = SelectObject(hdc, hPen);
        Ellipse(hdc, rcBox.left, rcBox.top, rcBox.right, rcBox.bottom);
        if (st.uCheck == BST_CHECKED) {
            HBRUSH hDot = CreateSolidBrush(crMark);
            SelectObject(hdc, hDot);
            SelectObject(hdc, GetStockObject(NULL_PEN));
            Ellipse(hdc, rcBox.left + 4, rcBox.top + 4, rcBox.right - 3, rcBox.bottom - 3);
            SelectObject(hdc, hbrBox);
            DeleteObject(hDot);
        }
        SelectObject(hdc, hOldPen);
        SelectObject(hdc, hOldBrush);
        DeleteObject(hPen);
    } else {
        FillRect(hdc, &rcBox, hbrBox);
        TbDrawFrame3D(hdc, rcBox, TRUE);
        if (st.uCheck != BST_UNCHECKED) {
            HPEN hPen = CreatePen(PS_SOLID, 2, st.uCheck == BST_INDETERMINATE ? GetSysColor(COLOR_GRAYTEXT) : crMark);
            HGDIOBJ hOldPen = SelectObject(hdc, hPen);
            MoveToEx(hdc, rcBox.left + 3, rcBox.top + 6, nullptr);
            LineTo(hdc, rcBox.left + 5, rcBox.top + 9);
            LineTo(hdc, rcBox.left + 10, rcBox.top + 3);
            SelectObject(hdc, hOldPen);
            DeleteObject(hPen);
        }
    }
    RECT rcText = rcClient;
    if (bRight)
        rcText.right = rcBox.left - 4;
    else
        rcText.left = rcBox.right + 4;
    SetBkMode(hdc, TRANSPARENT);
    if (GetWindowLongA(hWnd, GWL_STYLE) & WS_DISABLED)
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    const UINT uAlign = bRight ? DT_RIGHT : DT_LEFT;
    DrawTextA(hdc, pszText, nLen, &rcText, uAlign | DT_VCENTER | DT_SINGLELINE | TbTextFlags(hWnd));
    if (st.bFocus && nLen > 0) {
        RECT rcCalc = rcText;
        DrawTextA(hdc, pszText, nLen, &rcCalc, DT_CALCRECT | DT_SINGLELINE);
        const int cx = rcCalc.right - rcCalc.left, cy = rcCalc.bottom - rcCalc.top;
        RECT rcFocus = {bRight ? rcText.right - cx : rcText.left, rcText.top + (rcText.bottom - rcText.top - cy) / 2, 0, 0};
        rcFocus.right = rcFocus.left + cx;
        rcFocus.bottom = rcFocus.top + cy;
        InflateRect(&rcFocus, 1, 1);
        DrawFocusRect(hdc, &rcFocus);
    }
}

void PaintGroup(HWND hWnd, HDC hdc, const RECT& rcClient, LPCSTR pszText, int nLen)
{
    HBRUSH hbr = TbControlColors(hWnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &rcClient, hbr);
    RECT rcCalc = {0, 0, 0, 0};
    DrawTextA(hdc, nLen ? pszText : "X", nLen ? nLen : 1, &rcCalc, DT_CALCRECT | DT_SINGLELINE);
    const int cyText = rcCalc.bottom - rcCalc.top;
    RECT rcFrame = {rcClient.left, rcClient.top + cyText / 2, rcClient.right, rcClient.bottom};
    TbDrawFrame3D(hdc, rcFrame, TRUE);
    InflateRect(&rcFrame, -1, -1);
    TbDrawFrame3D(hdc, rcFrame, FALSE);
    if (nLen > 0) {
        const int cx = rcCalc.right - rcCalc.left;
        const bool bRight = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
        RECT rcText = {bRight ? rcClient.right - 8 - cx - 2 : rcClient.left + 8, rcClient.top, 0, rcClient.top + cyText};
        rcText.right = rcText.left + cx + 2;
        FillRect(hdc, &rcText, hbr);
        SetBkMode(hdc, TRANSPARENT);
        DrawTextA(hdc, pszText, nLen, &rcText, DT_CENTER | DT_SINGLELINE | TbTextFlags(hWnd));
    }
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    if (!hdc || !pState)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    char szText[512];
    const int nLen = GetWindowTextA(hWnd, szText, sizeof szText);
    HGDIOBJ hOldFont = SelectObject(hdc, TbControlFont(pState));
    const UINT uType = TypeOf(hWnd);
    if (uType == BS_GROUPBOX) {
        PaintGroup(hWnd, hdc, rc, szText, nLen);
    } else if (uType == BS_OWNERDRAW) {
        const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
        UINT uState = (pState->bPushed ? ODS_SELECTED : 0u) | (pState->bFocus ? ODS_FOCUS : 0u) |
                      ((lStyle & WS_DISABLED) ? ODS_DISABLED : 0u);
        DRAWITEMSTRUCT dis = {ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(hWnd)), 0, ODA_DRAWENTIRE, uState, hWnd, hdc, rc, 0};
        SendMessageA(GetParent(hWnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    } else if (IsPushType(uType) || (GetWindowLongA(hWnd, GWL_STYLE) & BS_PUSHLIKE)) {
        PaintPush(hWnd, hdc, rc, *pState, szText, nLen);
    } else {
        PaintCheck(hWnd, hdc, rc, *pState, szText, nLen);
    }
    SelectObject(hdc, hOldFont);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnSetCheck(HWND hWnd, UINT uCheck)
{
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    const UINT uType = TypeOf(hWnd);
    if (!pState || IsPushType(uType) || uType == BS_GROUPBOX)
        return 0;
    if (uCheck == BST_INDETERMINATE && uType != BS_3STATE && uType != BS_AUTO3STATE)
        uCheck = BST_CHECKED;
    pState->uCheck = uCheck > BST_INDETERMINATE ? BST_CHECKED : uCheck;
    // The checked radio button is the group's tab stop, so Tab returns to the choice made.
    if (IsRadioType(uType)) {
        const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
        const LONG lNew = pState->uCheck ? (lStyle | WS_TABSTOP) : (lStyle & ~WS_TABSTOP);
        if (lNew != lStyle)
            SetWindowLongA(hWnd, GWL_STYLE, lNew);
    }
    Redraw(hWnd);
    return 0;
}

// Unchecks the other automatic radio buttons of the group (WS_GROUP to WS_GROUP among the siblings).
void UncheckGroupOthers(HWND hWnd)
{
    TbWindow* pParent = TbFindWindow(GetParent(hWnd));
    if (!pParent)
        return;
    const std::vector<HWND> list = pParent->children;
    size_t nAt = 0;
    while (nAt < list.size() && list[nAt] != hWnd)
        ++nAt;
    if (nAt == list.size())
        return;
    size_t nFirst = nAt;
    while (nFirst > 0 && !(GetWindowLongA(list[nFirst], GWL_STYLE) & WS_GROUP))
        --nFirst;
    for (size_t i = nFirst; i < list.size(); ++i) {
        if (i > nFirst && (GetWindowLongA(list[i], GWL_STYLE) & WS_GROUP))
            break;
        if (list[i] != hWnd && (GetWindowLongA(list[i], GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
            TbFindClassState<TbButtonState>(list[i]))
            SendMessageA(list[i], BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

// What a click does: the automatic kinds change their check first, then the parent is told.
LRESULT OnClick(HWND hWnd)
{
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    if (!pState || !IsWindowEnabled(hWnd) || TypeOf(hWnd) == BS_GROUPBOX)
        return 0;
    switch (TypeOf(hWnd)) {
    case BS_AUTOCHECKBOX:
        OnSetCheck(hWnd, pState->uCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        OnSetCheck(hWnd, (pState->uCheck + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        OnSetCheck(hWnd, BST_CHECKED);
        UncheckGroupOthers(hWnd);
        break;
    }
    TbNotifyParent(hWnd, BN_CLICKED);
    return 0;
}

void SetPushed(HWND hWnd, BOOL bPushed)
{
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    if (pState && pState->bPushed != bPushed) {
        pState->bPushed = bPushed;
        Redraw(hWnd);
    }
}

LRESULT OnLButtonDown(HWND hWnd)
{
    if (TypeOf(hWnd) == BS_GROUPBOX)
        return 0;
    SetFocus(hWnd);
    SetCapture(hWnd);
    SetPushed(hWnd, TRUE);
    return 0;
}

LRESULT OnMouseMove(HWND hWnd, LPARAM lParam)
{
    if (GetCapture() != hWnd)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    SetPushed(hWnd, PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
    return 0;
}

LRESULT OnLButtonUp(HWND hWnd, LPARAM lParam)
{
    if (GetCapture() != hWnd)
        return 0;
    ReleaseCapture();
    RECT rc;
    GetClientRect(hWnd, &rc);
    SetPushed(hWnd, FALSE);
    if (PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
        OnClick(hWnd);
    return 0;
}

// The space bar presses and releases the button like the mouse.
LRESULT OnKey(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (wParam != VK_SPACE)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    if (uMsg == WM_KEYDOWN) {
        SetPushed(hWnd, TRUE);
    } else if (pState && pState->bPushed) {
        SetPushed(hWnd, FALSE);
        OnClick(hWnd);
    }
    return 0;
}

LRESULT OnFocus(HWND hWnd, BOOL bFocus, HWND hOther)
{
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    if (!pState)
        return 0;
    pState->bFocus = bFocus;
    if (!bFocus)
        pState->bPushed = FALSE;
    Redraw(hWnd);
    HWND hParent = GetParent(hWnd);
    if (IsPushType(TypeOf(hWnd)) && TbIsDialog(hParent)) {
        if (bFocus)
            TbDlgShowDefaultButton(hParent, hWnd);
        else if (!hOther || GetParent(hOther) != hParent || !IsPushType(TypeOf(hOther)) ||
                 !TbFindClassState<TbButtonState>(hOther))
            TbDlgShowDefaultButton(hParent, nullptr);
    }
    if (GetWindowLongA(hWnd, GWL_STYLE) & BS_NOTIFY)
        TbNotifyParent(hWnd, bFocus ? BN_SETFOCUS : BN_KILLFOCUS);
    return 0;
}

LRESULT OnGetDlgCode(HWND hWnd)
{
    switch (TypeOf(hWnd)) {
    case BS_PUSHBUTTON:      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:   return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:        return DLGC_STATIC;
    }
    return DLGC_BUTTON;
}

LRESULT OnSetStyle(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    const LONG lStyle = GetWindowLongA(hWnd, GWL_STYLE);
    const LONG lNew = (lStyle & ~static_cast<LONG>(BS_TYPEMASK)) | static_cast<LONG>(wParam & BS_TYPEMASK);
    if (lNew != lStyle)
        SetWindowLongA(hWnd, GWL_STYLE, lNew);
    if (lParam)
        Redraw(hWnd);
    return 0;
}

LRESULT OnGetState(HWND hWnd)
{
    TbButtonState* pState = TbClassStateOf<TbButtonState>(hWnd);
    if (!pState)
        return 0;
    return static_cast<LRESULT>(pState->uCheck | (pState->bPushed ? BST_PUSHED : 0u) | (pState->bFocus ? BST_FOCUS : 0u));
}

// A group box stands above the buttons it frames in the creation order, yet must not hide them:
// it is transparent, drawn beneath its siblings on the display and in screenshots.
LRESULT OnNcCreate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (TypeOf(hWnd) == BS_GROUPBOX) {
        if (TbWindow* pWnd = TbFindWindow(hWnd)) {
            pWnd->dwExStyle |= WS_EX_TRANSPARENT;
            if (pWnd->pSurface)
                pWnd->pSurface->Raise(FALSE);
        }
    }
    return DefWindowProcA(hWnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnSetText(HWND hWnd, LPARAM lParam)
{
    const LRESULT lResult = DefWindowProcA(hWnd, WM_SETTEXT, 0, lParam);
    Redraw(hWnd);
    return lResult;
}
}  // namespace

LRESULT CALLBACK TbButtonWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:      return OnNcCreate(hWnd, wParam, lParam);
    case WM_PAINT:         return OnPaint(hWnd);
    case WM_ERASEBKGND:    return 1;        // WM_PAINT fills with the parent's brush
    case WM_SETTEXT:       return OnSetText(hWnd, lParam);
    case WM_SETFONT:       return TbControlSetFont(hWnd, TbClassStateOf<TbButtonState>(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:       return TbControlGetFont(TbClassStateOf<TbButtonState>(hWnd));
    case WM_GETDLGCODE:    return OnGetDlgCode(hWnd);
    case WM_ENABLE:        Redraw(hWnd); return 0;
    case WM_SETFOCUS:      return OnFocus(hWnd, TRUE, reinterpret_cast<HWND>(wParam));
    case WM_KILLFOCUS:     return OnFocus(hWnd, FALSE, reinterpret_cast<HWND>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return OnLButtonDown(hWnd);
    case WM_MOUSEMOVE:     return OnMouseMove(hWnd, lParam);
    case WM_LBUTTONUP:     return OnLButtonUp(hWnd, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:         return OnKey(hWnd, uMsg, wParam, lParam);
    case WM_CHAR:          return wParam == ' ' ? 0 : DefWindowProcA(hWnd, uMsg, wParam, lParam);
    case BM_GETCHECK:      return TbClassStateOf<TbButtonState>(hWnd) ? TbClassStateOf<TbButtonState>(hWnd)->uCheck : 0;
    case BM_SETCHECK:      return OnSetCheck(hWnd, static_cast<UINT>(wParam));
    case BM_GETSTATE:      return OnGetState(hWnd);
    case BM_SETSTATE:      SetPushed(hWnd, wParam != 0); return 0;
    case BM_SETSTYLE:      return OnSetStyle(hWnd, wParam, lParam);
    case BM_CLICK:         return OnClick(hWnd);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
