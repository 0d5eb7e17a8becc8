// The "ComboBox" class: a selection field over a list. CBS_DROPDOWN types into an "Edit" child
// (id 1001, which the parent may subclass), CBS_DROPDOWNLIST shows the selected item, and both
// drop a "ListBox" in a top-level popup below the field; CBS_SIMPLE keeps the list shown under the
// edit as a child. The list holds the items, so the item messages are the list's own.
#include <algorithm>
#include <string>
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct TbComboState : TbControlState {
    HWND hEdit = nullptr;           // CBS_DROPDOWN and CBS_SIMPLE
    HWND hList = nullptr;
    int  cyField = 0;               // the selection field's height
    int  cyDrop = 0;                // the height the combo was made with: the field and the list's room
    int  cxDropped = 0;             // CB_SETDROPPEDWIDTH: the list's least width
    int  nSelAtDrop = -1;           // the selection when the list opened, for a cancel
    BOOL bDropped = FALSE;
    BOOL bFocus = FALSE;            // the combo or its edit has the focus
    BOOL bListBar = FALSE;          // made with WS_VSCROLL: the list gets the bar
    BOOL bQuietEdit = FALSE;        // the combo sets the edit's text: no CBN_EDITUPDATE/EDITCHANGE
    BOOL bInListKey = FALSE;        // a key passed to the list: its LBN_SELCHANGE is handled here
    BOOL bPressed = FALSE;          // the button is held since the press that opened the list
    BOOL bKeyedChange = FALSE;      // CBN_SELCHANGE was sent while the list was open
    int  nSelTold = -1;             // the selection the parent last heard of while the list was open
};

const int FIELD_PAD = 8;            // the field's height over the font's

TbComboState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbComboState>(hWnd);
}

LONG StyleOf(HWND hWnd)
{
    return GetWindowLongA(hWnd, GWL_STYLE);
}

int  KindOf(HWND hWnd)    { return static_cast<int>(StyleOf(hWnd) & 3); }
bool IsSimple(HWND hWnd)  { return KindOf(hWnd) == CBS_SIMPLE; }
bool IsListOnly(HWND hWnd) { return KindOf(hWnd) == CBS_DROPDOWNLIST; }
bool IsOwnerDraw(HWND hWnd) { return (StyleOf(hWnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }

LRESULT ToList(const TbComboState& st, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return st.hList ? SendMessageA(st.hList, uMsg, wParam, lParam) : CB_ERR;
}

int CurSel(const TbComboState& st)
{
    return static_cast<int>(ToList(st, LB_GETCURSEL, 0, 0));
}

int ButtonWidth()
{
    return GetSystemMetrics(SM_CXVSCROLL);
}

// The drop button at the field's right (left with WS_EX_LEFTSCROLLBAR); empty for CBS_SIMPLE.
RECT ButtonRect(HWND hWnd, const TbComboState& st)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    if (IsSimple(hWnd))
        return RECT{0, 0, 0, 0};
    const int cx = ButtonWidth();
    if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR)
        return RECT{2, 2, 2 + cx, st.cyField - 2};
    return RECT{rc.right - 2 - cx, 2, rc.right - 2, st.cyField - 2};
}

RECT FieldTextRect(HWND hWnd, const TbComboState& st)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    const RECT rcButton = ButtonRect(hWnd, st);
    RECT rcField = {3, 3, rc.right - 3, st.cyField - 3};
    if (rcButton.right > rcButton.left) {
        if (rcButton.left <= 2)
            rcField.left = rcButton.right + 1;
        else
            rcField.right = rcButton.left - 1;
    }
    return rcField;
}

// Where the dropped list goes: below the field, in screen coordinates, as many items high as the
// combo's made height leaves room for.
RECT DroppedRect(HWND hWnd, const TbComboState& st)
{
    RECT rcWnd;
    GetWindowRect(hWnd, &rcWnd);
    const int cyItem = std::max(1, static_cast<int>(ToList(st, LB_GETITEMHEIGHT, 0, 0)));
    const int nCount = std::max(1, static_cast<int>(ToList(st, LB_GETCOUNT, 0, 0)));
    const int nRoom = std::max(1, (st.cyDrop - st.cyField) / cyItem);
    const int cx = std::max(static_cast<int>(rcWnd.right - rcWnd.left), st.cxDropped);
    return RECT{rcWnd.left, rcWnd.top + st.cyField, rcWnd.left + cx, rcWnd.top + st.cyField + std::min(nCount, nRoom) * cyItem + 2};
}

void Notify(HWND hWnd, UINT uCode)
{
    TbNotifyParent(hWnd, uCode);
}

std::string ItemText(const TbComboState& st, int n)
{
    const LRESULT lLen = ToList(st, LB_GETTEXTLEN, static_cast<WPARAM>(n), 0);
    if (lLen < 0)
        return std::string();
    std::string str(static_cast<size_t>(lLen) + sizeof(ULONG_PTR) + 1, '\0');
    ToList(st, LB_GETTEXT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(str.data()));
    str.resize(static_cast<size_t>(lLen));
    return str;
}

// The field shows the selection: the edit gets its text (all selected while it has the focus),
// and the combo's own text follows for WM_GETTEXT of a drop-down list.
void ShowSelection(HWND hWnd, TbComboState& st)
{
    const int nSel = CurSel(st);
    const std::string str = nSel >= 0 ? ItemText(st, nSel) : std::string();
    if (st.hEdit) {
        st.bQuietEdit = TRUE;
        SendMessageA(st.hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(str.c_str()));
        if (TbComboState* pState = StateOf(hWnd)) {
            pState->bQuietEdit = FALSE;
            if (pState->bFocus)
                SendMessageA(pState->hEdit, EM_SETSEL, 0, -1);
        }
    } else if (TbWindow* pWnd = TbFindWindow(hWnd)) {
        pWnd->strText = str;
    }
    InvalidateRect(hWnd, nullptr, TRUE);
}

void Layout(HWND hWnd, TbComboState& st)
{
    st.cyField = TbFontHeight(TbControlFont(&st)) + FIELD_PAD;
    RECT rcWnd;
    GetWindowRect(hWnd, &rcWnd);
    const int cx = rcWnd.right - rcWnd.left;
    // Only the field is the combo's window; the list's room stays in cyDrop.
    if (!IsSimple(hWnd) && rcWnd.bottom - rcWnd.top != st.cyField)
        SetWindowPos(hWnd, nullptr, 0, 0, cx, st.cyField, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return;
    if (pState->hEdit) {
        const RECT rcEdit = FieldTextRect(hWnd, *pState);
        SetWindowPos(pState->hEdit, nullptr, rcEdit.left, rcEdit.top, rcEdit.right - rcEdit.left,
                     rcEdit.bottom - rcEdit.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsSimple(hWnd) && pState->hList)
        SetWindowPos(pState->hList, nullptr, 0, pState->cyField, cx, std::max(0, pState->cyDrop - pState->cyField),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void OpenList(HWND hWnd)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || pState->bDropped || IsSimple(hWnd) || !pState->hList)
        return;
    Notify(hWnd, CBN_DROPDOWN);
    if ((pState = StateOf(hWnd)) == nullptr || pState->bDropped)
        return;
    pState->bDropped = TRUE;
    pState->bKeyedChange = FALSE;
    pState->nSelAtDrop = CurSel(*pState);
    pState->nSelTold = pState->nSelAtDrop;
    const RECT rc = DroppedRect(hWnd, *pState);
    SetWindowPos(pState->hList, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if ((pState = StateOf(hWnd)) == nullptr)
        return;
    if (pState->nSelAtDrop >= 0)
        ToList(*pState, LB_SETTOPINDEX, static_cast<WPARAM>(pState->nSelAtDrop), 0);
    // The combo takes the mouse while the list is open: a click elsewhere closes it.
    SetCapture(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
}

enum TbCloseKind { CLOSE_OK, CLOSE_CANCEL, CLOSE_PROGRAM };

// Closes the list. CLOSE_OK: the user chose (CBN_SELENDOK); CLOSE_CANCEL: the choice is dropped
// and the selection goes back (CBN_SELENDCANCEL); CLOSE_PROGRAM: CB_SHOWDROPDOWN, as it stands.
void CloseList(HWND hWnd, TbCloseKind nKind)
{
    const BOOL bOk = nKind != CLOSE_CANCEL;
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->bDropped)
        return;
    pState->bDropped = FALSE;
    pState->bPressed = FALSE;
    ShowWindow(pState->hList, SW_HIDE);
    if (GetCapture() == hWnd)
        ReleaseCapture();
    if ((pState = StateOf(hWnd)) == nullptr)
        return;
    InvalidateRect(hWnd, nullptr, TRUE);
    const int nSel = CurSel(*pState);
    const BOOL bChanged = nSel != pState->nSelAtDrop;
    if (!bOk && bChanged) {
        ToList(*pState, LB_SETCURSEL, static_cast<WPARAM>(pState->nSelAtDrop), 0);
        ShowSelection(hWnd, *pState);
    }
    if (nKind == CLOSE_PROGRAM) {
        Notify(hWnd, CBN_CLOSEUP);
        return;
    }
    const BOOL bTell = bOk ? bChanged && !pState->bKeyedChange : bChanged && pState->bKeyedChange;
    Notify(hWnd, bOk ? CBN_SELENDOK : CBN_SELENDCANCEL);
    Notify(hWnd, CBN_CLOSEUP);
    // A choice made with the mouse is told now; a cancel after keyed changes tells the way back.
    if (bTell && IsWindow(hWnd))
        Notify(hWnd, CBN_SELCHANGE);
}

// The user moved the selection (a key, a click in the shown list).
void UserSelected(HWND hWnd, TbComboState& st)
{
    ShowSelection(hWnd, st);
    if (TbComboState* pState = StateOf(hWnd))
        if (pState->bDropped) {
            pState->bKeyedChange = TRUE;
            pState->nSelTold = CurSel(*pState);
        }
    Notify(hWnd, CBN_SELCHANGE);
}

// A key or character for the list: what it selects is the user's choice.
void PassToList(HWND hWnd, UINT uMsg, WPARAM wParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return;
    const int nBefore = CurSel(*pState);
    pState->bInListKey = TRUE;
    ToList(*pState, uMsg, wParam, 0);
    if ((pState = StateOf(hWnd)) == nullptr)
        return;
    pState->bInListKey = FALSE;
    if (CurSel(*pState) != nBefore)
        UserSelected(hWnd, *pState);
}

LRESULT OnKeyDown(HWND hWnd, WPARAM wParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    switch (wParam) {
    case VK_F4:
        if (pState->bDropped)
            CloseList(hWnd, CLOSE_OK);
        else
            OpenList(hWnd);
        return 0;
    case VK_RETURN:
        CloseList(hWnd, CLOSE_OK);
        return 0;
    case VK_ESCAPE:
        CloseList(hWnd, CLOSE_CANCEL);
        return 0;
    case VK_HOME:
    case VK_END:
        // In the edit they move the caret; only the list style moves the selection with them.
        if (pState->hEdit && !pState->bDropped)
            return 0;
        [[fallthrough]];
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        PassToList(hWnd, WM_KEYDOWN, wParam);
        return 0;
    }
    return 0;
}

// Alt+Down and Alt+Up open and close the list.
LRESULT OnSysKeyDown(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (pState && (wParam == VK_DOWN || wParam == VK_UP)) {
        if (pState->bDropped)
            CloseList(hWnd, CLOSE_OK);
        else
            OpenList(hWnd);
        return 0;
    }
    return DefWindowProcA(hWnd, WM_SYSKEYDOWN, wParam, lParam);
}

// A character in a drop-down list goes to the next item that starts with it.
LRESULT OnChar(HWND hWnd, WPARAM wParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (pState && !pState->hEdit)
        PassToList(hWnd, WM_CHAR, wParam);
    return 0;
}

POINT ToListClient(HWND hWnd, const TbComboState& st, LPARAM lParam)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hWnd, &pt);
    ScreenToClient(st.hList, &pt);
    return pt;
}

bool InListClient(const TbComboState& st, POINT ptList)
{
    RECT rc;
    GetClientRect(st.hList, &rc);
    return PtInRect(&rc, ptList) != FALSE;
}

LRESULT OnLButtonDown(HWND hWnd, WPARAM wKeys, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (pState->bDropped) {
        const POINT ptList = ToListClient(hWnd, *pState, lParam);
        if (InListClient(*pState, ptList))
            return 0;       // chosen on the release
        POINT ptScreen = pt;
        ClientToScreen(hWnd, &ptScreen);
        // The list's own bar scrolls it; the list stays open.
        if (SendMessageA(pState->hList, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)) == HTVSCROLL) {
            SendMessageA(pState->hList, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(ptScreen.x, ptScreen.y));
            if ((pState = StateOf(hWnd)) != nullptr && pState->bDropped)
                SetCapture(hWnd);
            return 0;
        }
        CloseList(hWnd, CLOSE_CANCEL);
        // A click outside the combo closes the list and lands where it was aimed, as the pointer
        // showed it: the trader who clicked the next field types into that field.
        RECT rcCombo = {};
        GetWindowRect(hWnd, &rcCombo);
        if (!PtInRect(&rcCombo, ptScreen) && IsWindow(hWnd)) {
            const HWND hUnder = WindowFromPoint(ptScreen);
            if (hUnder != nullptr && hUnder != hWnd && !IsChild(hWnd, hUnder)) {
                // Next in the queue, ahead of the keys typed after the click: they go where the
                // click puts the keys. The release the display gave while the combo held the
                // mouse went to the combo; the press, then its release.
                if (!(TbDeliveredKeyState(VK_LBUTTON) & 0x8000))
                    TbDisplayMouse(hUnder, WM_LBUTTONUP, wKeys & ~static_cast<WPARAM>(MK_LBUTTON), ptScreen, TRUE);
                TbDisplayMouse(hUnder, WM_LBUTTONDOWN, wKeys, ptScreen, TRUE);
            }
        }
        return 0;
    }
    if (GetFocus() != hWnd && GetFocus() != pState->hEdit)
        SetFocus(pState->hEdit ? pState->hEdit : hWnd);
    if ((pState = StateOf(hWnd)) == nullptr)
        return 0;
    const RECT rcButton = ButtonRect(hWnd, *pState);
    if (PtInRect(&rcButton, pt) || (IsListOnly(hWnd) && pt.y < pState->cyField)) {
        OpenList(hWnd);
        if ((pState = StateOf(hWnd)) != nullptr && pState->bDropped) {
            pState->bPressed = TRUE;
            InvalidateRect(hWnd, nullptr, TRUE);
        }
    }
    return 0;
}

// While the list is open the item under the pointer is the selection.
LRESULT OnMouseMove(HWND hWnd, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->bDropped)
        return 0;
    const POINT ptList = ToListClient(hWnd, *pState, lParam);
    if (!InListClient(*pState, ptList))
        return 0;
    const LRESULT lItem = ToList(*pState, LB_ITEMFROMPOINT, 0, MAKELPARAM(ptList.x, ptList.y));
    if (!HIWORD(lItem) && static_cast<int>(LOWORD(lItem)) != CurSel(*pState))
        ToList(*pState, LB_SETCURSEL, LOWORD(lItem), 0);
    return 0;
}

LRESULT OnLButtonUp(HWND hWnd, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->bDropped)
        return 0;
    pState->bPressed = FALSE;
    InvalidateRect(hWnd, nullptr, TRUE);
    const POINT ptList = ToListClient(hWnd, *pState, lParam);
    if (!InListClient(*pState, ptList))
        return 0;       // the release of the opening press, or off the items: the list stays
    const LRESULT lItem = ToList(*pState, LB_ITEMFROMPOINT, 0, MAKELPARAM(ptList.x, ptList.y));
    if (HIWORD(lItem))
        return 0;
    // Chosen as the keys choose: the selection set and told (CBN_SELCHANGE), then the list
    // closes with CBN_SELENDOK and CBN_CLOSEUP, so the parent acts on the item it reads.
    ToList(*pState, LB_SETCURSEL, LOWORD(lItem), 0);
    if (CurSel(*pState) != pState->nSelTold)
        UserSelected(hWnd, *pState);
    else
        ShowSelection(hWnd, *pState);
    CloseList(hWnd, CLOSE_OK);
    return 0;
}

LRESULT OnFocus(HWND hWnd, BOOL bFocus, HWND hOther)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    if (bFocus) {
        // The edit takes the focus of a combo that has one.
        if (pState->hEdit) {
            SetFocus(pState->hEdit);
            return 0;
        }
        if (pState->bFocus)
            return 0;
        pState->bFocus = TRUE;
        InvalidateRect(hWnd, nullptr, TRUE);
        Notify(hWnd, CBN_SETFOCUS);
        return 0;
    }
    // The focus going to our own parts is not the combo losing it.
    if (!pState->bFocus || hOther == hWnd || (hOther && (hOther == pState->hEdit || hOther == pState->hList)))
        return 0;
    CloseList(hWnd, CLOSE_CANCEL);
    if ((pState = StateOf(hWnd)) == nullptr)
        return 0;
    pState->bFocus = FALSE;
    InvalidateRect(hWnd, nullptr, TRUE);
    Notify(hWnd, CBN_KILLFOCUS);
    return 0;
}

// What the edit and the simple list tell the combo becomes what the combo tells its parent.
LRESULT OnCommand(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const HWND hFrom = reinterpret_cast<HWND>(lParam);
    const UINT uCode = HIWORD(wParam);
    if (hFrom && hFrom == pState->hEdit) {
        switch (uCode) {
        case EN_UPDATE:
            if (!pState->bQuietEdit)
                Notify(hWnd, CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            if (!pState->bQuietEdit)
                Notify(hWnd, CBN_EDITCHANGE);
            break;
        case EN_SETFOCUS:
            if (!pState->bFocus) {
                pState->bFocus = TRUE;
                SendMessageA(pState->hEdit, EM_SETSEL, 0, -1);
                Notify(hWnd, CBN_SETFOCUS);
            }
            break;
        case EN_KILLFOCUS:
            OnFocus(hWnd, FALSE, GetFocus());
            break;
        }
    } else if (hFrom && hFrom == pState->hList) {
        switch (uCode) {
        case LBN_SELCHANGE:
            if (!pState->bInListKey)
                UserSelected(hWnd, *pState);
            break;
        case LBN_DBLCLK:
            Notify(hWnd, CBN_DBLCLK);
            break;
        case LBN_SETFOCUS:
            // A click in the shown list of a simple combo leaves the typing in the edit.
            if (pState->hEdit)
                SetFocus(pState->hEdit);
            break;
        }
    }
    return 0;
}

void DrawArrow(HDC hdc, const RECT& rc, BOOL bEnabled)
{
    const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    HPEN hPen = CreatePen(PS_SOLID, 1, GetSysColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    for (int i = 0; i < 4; ++i) {
        MoveToEx(hdc, cx - 3 + i, cy - 2 + i, nullptr);
        LineTo(hdc, cx + 4 - i, cy - 2 + i);
    }
    SelectObject(hdc, hOld);
    DeleteObject(hPen);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbComboState* pState = StateOf(hWnd);
    if (!hdc || !pState)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    const RECT rcFieldAll = {0, 0, rc.right, pState->cyField};
    HGDIOBJ hOldFont = SelectObject(hdc, TbControlFont(pState));
    HBRUSH hbr = TbControlColors(hWnd, hdc, pState->hEdit ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
    if ((pState = StateOf(hWnd)) == nullptr)
        return 0;
    FillRect(hdc, &rcFieldAll, hbr);
    const BOOL bEnabled = IsWindowEnabled(hWnd);
    if (!pState->hEdit) {
        const RECT rcText = FieldTextRect(hWnd, *pState);
        const int nSel = CurSel(*pState);
        const bool bHighlight = pState->bFocus && !pState->bDropped;
        if (bHighlight) {
            FillRect(hdc, &rcText, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(hdc, GetSysColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        }
        SetBkMode(hdc, TRANSPARENT);
        if (IsOwnerDraw(hWnd)) {
            DRAWITEMSTRUCT dis = {ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(nSel), ODA_DRAWENTIRE,
                                  (bHighlight ? static_cast<UINT>(ODS_SELECTED | ODS_FOCUS) : 0u) |
                                  (bEnabled ? 0u : static_cast<UINT>(ODS_DISABLED)),
                                  hWnd, hdc, rcText, nSel >= 0 ? static_cast<ULONG_PTR>(ToList(*pState, LB_GETITEMDATA, static_cast<WPARAM>(nSel), 0)) : 0};
            SendMessageA(GetParent(hWnd), WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            if ((pState = StateOf(hWnd)) == nullptr)
                return 0;
        } else if (nSel >= 0) {
            const std::string str = ItemText(*pState, nSel);
            RECT rcInner = {rcText.left + 2, rcText.top, rcText.right - 2, rcText.bottom};
            const bool bRight = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
            DrawTextA(hdc, str.c_str(), static_cast<int>(str.size()), &rcInner,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (bRight ? DT_RIGHT : DT_LEFT) | TbTextFlags(hWnd));
        }
        if (bHighlight)
            DrawFocusRect(hdc, &rcText);
    }
    const RECT rcButton = ButtonRect(hWnd, *pState);
    if (rcButton.right > rcButton.left) {
        FillRect(hdc, &rcButton, GetSysColorBrush(COLOR_BTNFACE));
        TbDrawFrame3D(hdc, rcButton, pState->bPressed);
        DrawArrow(hdc, rcButton, bEnabled);
    }
    TbDrawFrame3D(hdc, rcFieldAll, TRUE);
    SelectObject(hdc, hOldFont);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnSetText(HWND hWnd, LPCSTR pszText)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return CB_ERR;
    if (pState->hEdit) {
        pState->bQuietEdit = TRUE;
        SendMessageA(pState->hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszText ? pszText : ""));
        if ((pState = StateOf(hWnd)) != nullptr)
            pState->bQuietEdit = FALSE;
        return TRUE;
    }
    // A drop-down list can only show one of its items.
    const LRESULT lItem = ToList(*pState, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText ? pszText : ""));
    if (lItem < 0)
        return CB_ERR;
    ToList(*pState, LB_SETCURSEL, static_cast<WPARAM>(lItem), 0);
    ShowSelection(hWnd, *pState);
    return TRUE;
}

LRESULT OnGetText(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (pState && pState->hEdit)
        return SendMessageA(pState->hEdit, uMsg, wParam, lParam);
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LRESULT OnSetCurSel(HWND hWnd, int nIndex)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return CB_ERR;
    const LRESULT lResult = ToList(*pState, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ShowSelection(hWnd, *pState);
    return lResult;
}

LRESULT OnSelectString(HWND hWnd, int nStart, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return CB_ERR;
    const LRESULT lItem = ToList(*pState, LB_FINDSTRING, static_cast<WPARAM>(nStart), lParam);
    return lItem < 0 ? CB_ERR : OnSetCurSel(hWnd, static_cast<int>(lItem));
}

// Items added or taken away while the list is open: it keeps as many items high as it holds, so
// that a list filtered down covers no more of the window below than its items need.
LRESULT RefitList(HWND hWnd, LRESULT lResult)
{
    const TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->bDropped || !pState->hList)
        return lResult;
    const RECT rc = DroppedRect(hWnd, *pState);
    RECT rcNow = {};
    GetWindowRect(pState->hList, &rcNow);
    if (!EqualRect(&rc, &rcNow))
        SetWindowPos(pState->hList, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return lResult;
}

// Removing the selected item, or all, empties the field.
LRESULT OnDelete(HWND hWnd, UINT uMsg, WPARAM wParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return CB_ERR;
    const int nSel = CurSel(*pState);
    const LRESULT lResult = ToList(*pState, uMsg, wParam, 0);
    if (uMsg == LB_RESETCONTENT || (lResult >= 0 && static_cast<int>(wParam) == nSel)) {
        if ((pState = StateOf(hWnd)) != nullptr)
            ShowSelection(hWnd, *pState);
    } else if (pState) {
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    return RefitList(hWnd, uMsg == LB_RESETCONTENT ? CB_OKAY : lResult);
}

LRESULT OnGetEditSel(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->hEdit)
        return CB_ERR;
    return SendMessageA(pState->hEdit, EM_GETSEL, wParam, lParam);
}

// CB_SETEDITSEL: the start and end in the words of lParam; -1 as the start removes the
// selection, -1 as the end reaches the end of the text.
LRESULT OnSetEditSel(HWND hWnd, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->hEdit)
        return CB_ERR;
    SendMessageA(pState->hEdit, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                 static_cast<LPARAM>(static_cast<short>(HIWORD(lParam))));
    return TRUE;
}

LRESULT OnLimitText(HWND hWnd, WPARAM wParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pState->hEdit)
        return CB_ERR;
    SendMessageA(pState->hEdit, EM_LIMITTEXT, wParam, 0);
    return TRUE;
}

LRESULT OnSetDroppedWidth(HWND hWnd, WPARAM wParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || static_cast<int>(wParam) < 0)
        return CB_ERR;
    RECT rc;
    GetWindowRect(hWnd, &rc);
    pState->cxDropped = static_cast<int>(wParam);
    return std::max(pState->cxDropped, static_cast<int>(rc.right - rc.left));
}

LRESULT OnGetDroppedControlRect(HWND hWnd, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    RECT* pRect = reinterpret_cast<RECT*>(lParam);
    if (!pState || !pRect)
        return CB_ERR;
    if (IsSimple(hWnd)) {
        GetWindowRect(pState->hList, pRect);
        return TRUE;
    }
    // The list's full room below the field, as the combo was made.
    RECT rcWnd;
    GetWindowRect(hWnd, &rcWnd);
    *pRect = RECT{rcWnd.left, rcWnd.top + pState->cyField, rcWnd.left + std::max(static_cast<int>(rcWnd.right - rcWnd.left), pState->cxDropped),
                  rcWnd.top + std::max(pState->cyDrop, pState->cyField)};
    return TRUE;
}

// CB_SETITEMHEIGHT: -1 is the selection field, anything else the list's items.
LRESULT OnItemHeight(HWND hWnd, WPARAM wParam, LPARAM lParam, BOOL bSet)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return CB_ERR;
    if (static_cast<int>(wParam) != -1)
        return ToList(*pState, bSet ? LB_SETITEMHEIGHT : LB_GETITEMHEIGHT, 0, lParam);
    if (!bSet)
        return pState->cyField;
    const int h = LOWORD(lParam);
    if (h <= 0 || h > 255)
        return CB_ERR;
    pState->cyField = h;
    RECT rcWnd;
    GetWindowRect(hWnd, &rcWnd);
    if (!IsSimple(hWnd))
        SetWindowPos(hWnd, nullptr, 0, 0, rcWnd.right - rcWnd.left, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if ((pState = StateOf(hWnd)) != nullptr && pState->hEdit) {
        const RECT rcEdit = FieldTextRect(hWnd, *pState);
        SetWindowPos(pState->hEdit, nullptr, rcEdit.left, rcEdit.top, rcEdit.right - rcEdit.left,
                     rcEdit.bottom - rcEdit.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hWnd, nullptr, TRUE);
    return CB_OKAY;
}

LRESULT OnSetFont(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    TbControlSetFont(hWnd, pState, reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    if (pState->hEdit)
        SendMessageA(pState->hEdit, WM_SETFONT, wParam, lParam);
    if (pState->hList)
        SendMessageA(pState->hList, WM_SETFONT, wParam, lParam);
    if ((pState = StateOf(hWnd)) != nullptr)
        Layout(hWnd, *pState);
    return 0;
}

// The list's owner drawing and colours come to the combo, which asks its own parent as itself.
LRESULT OnListAsks(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const HWND hParent = GetParent(hWnd);
    const UINT uId = static_cast<UINT>(GetDlgCtrlID(hWnd));
    if (uMsg == WM_DRAWITEM) {
        auto* pDis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        pDis->CtlType = ODT_COMBOBOX;
        pDis->CtlID = uId;
        pDis->hwndItem = hWnd;
        return SendMessageA(hParent, uMsg, uId, lParam);
    }
    if (uMsg == WM_MEASUREITEM) {
        auto* pMis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        pMis->CtlType = ODT_COMBOBOX;
        pMis->CtlID = uId;
        return SendMessageA(hParent, uMsg, uId, lParam);
    }
    return hParent ? SendMessageA(hParent, uMsg, wParam, lParam) : 0;
}

LRESULT OnGetDlgCode(HWND hWnd, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    UINT uCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
    // Enter and Escape close an open list instead of pressing the dialog's buttons.
    if (pState && pState->bDropped && pMsg && pMsg->message == WM_KEYDOWN &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        uCode |= DLGC_WANTMESSAGE;
    return uCode;
}

// The list and the edit are made with the combo; WS_VSCROLL and the sorting go to the list.
LRESULT OnCreate(HWND hWnd, const CREATESTRUCTA* pCs)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState || !pCs)
        return -1;
    const LONG lStyle = StyleOf(hWnd);
    // A right-to-left combo's list reads from the right and keeps its bar at the left.
    const DWORD dwExText =
        static_cast<DWORD>(GetWindowLongA(hWnd, GWL_EXSTYLE)) & (WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR);
    pState->cyDrop = pCs->cy;
    DWORD dwList = WS_BORDER | LBS_NOINTEGRALHEIGHT | (pState->bListBar ? WS_VSCROLL : 0) |
                   ((lStyle & CBS_SORT) ? LBS_SORT : 0) | ((lStyle & CBS_HASSTRINGS) ? LBS_HASSTRINGS : 0) |
                   ((lStyle & CBS_OWNERDRAWFIXED) ? LBS_OWNERDRAWFIXED : 0) |
                   ((lStyle & CBS_DISABLENOSCROLL) ? LBS_DISABLENOSCROLL : 0);
    if (IsSimple(hWnd))
        pState->hList = CreateWindowExA(dwExText, WC_LISTBOXA, "", dwList | WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0, 0, pCs->cx, 0,
                                        hWnd, reinterpret_cast<HMENU>(1000), pCs->hInstance, nullptr);
    else    // made without an owner (the combo measures its items for it, as itself); never active,
            // so that a click on it leaves the focus in the combo
        pState->hList = CreateWindowExA(dwExText | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WC_LISTBOXA, "", dwList | WS_POPUP,
                                        0, 0, pCs->cx, 0,
                                        nullptr, nullptr, pCs->hInstance, nullptr);
    if ((pState = StateOf(hWnd)) == nullptr || !pState->hList)
        return -1;
    if (!IsSimple(hWnd)) {
        // The popup list belongs to the combo: it asks the combo for colours and owner drawing.
        SetWindowLongPtrA(pState->hList, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hWnd));
        if (IsOwnerDraw(hWnd)) {
            MEASUREITEMSTRUCT mis = {ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), 0, 0,
                                     static_cast<UINT>(ToList(*pState, LB_GETITEMHEIGHT, 0, 0)), 0};
            SendMessageA(GetParent(hWnd), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
            if ((pState = StateOf(hWnd)) == nullptr)
                return -1;
            ToList(*pState, LB_SETITEMHEIGHT, 0, static_cast<LPARAM>(mis.itemHeight));
        }
    }
    if (!IsListOnly(hWnd)) {
        const DWORD dwEdit = WS_CHILD | WS_VISIBLE | ((lStyle & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0) |
                             ((lStyle & CBS_UPPERCASE) ? ES_UPPERCASE : 0) | ((lStyle & CBS_LOWERCASE) ? ES_LOWERCASE : 0);
        HWND hEdit = CreateWindowExA(dwExText, WC_EDITA, pCs->lpszName && !IS_INTRESOURCE(pCs->lpszName) ? pCs->lpszName : "",
                                     dwEdit, 0, 0, 0, 0, hWnd, reinterpret_cast<HMENU>(TB_COMBO_EDIT_ID), pCs->hInstance, nullptr);
        if ((pState = StateOf(hWnd)) == nullptr || !hEdit)
            return -1;
        pState->hEdit = hEdit;
    }
    Layout(hWnd, *pState);
    return 0;
}

LRESULT OnNcCreate(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbComboState* pState = StateOf(hWnd);
    if (!pState)
        return FALSE;
    // The combo gets no bar of its own: its list has it.
    const LONG lStyle = StyleOf(hWnd);
    pState->bListBar = (lStyle & WS_VSCROLL) != 0;
    SetWindowLongA(hWnd, GWL_STYLE, lStyle & ~(WS_VSCROLL | WS_HSCROLL));
    if (auto* pCs = reinterpret_cast<CREATESTRUCTA*>(lParam))
        pCs->style &= ~(WS_VSCROLL | WS_HSCROLL);
    return DefWindowProcA(hWnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnDestroy(HWND hWnd)
{
    TbComboState* pState = StateOf(hWnd);
    if (pState && pState->hList && !IsSimple(hWnd)) {
        HWND hList = pState->hList;
        pState->hList = nullptr;
        DestroyWindow(hList);
    }
    return 0;
}
}  // namespace

// The edit child of a combo hands it the keys that work the list; TRUE when the combo took it.
BOOL TbComboEditKey(HWND hEdit, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const HWND hCombo = GetParent(hEdit);
    const TbWindow* pCombo = TbFindWindow(hCombo);
    if (!pCombo || !pCombo->pClass || pCombo->pClass->pfnWndProc != TbComboBoxWndProc || GetDlgCtrlID(hEdit) != TB_COMBO_EDIT_ID)
        return FALSE;
    const TbComboState* pState = TbFindClassState<TbComboState>(hCombo);
    if (!pState)
        return FALSE;
    if (uMsg == WM_SYSKEYDOWN)
        return (wParam == VK_DOWN || wParam == VK_UP) ? (SendMessageA(hCombo, uMsg, wParam, lParam), TRUE) : FALSE;
    switch (wParam) {
    case VK_F4: case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
        break;
    case VK_RETURN: case VK_ESCAPE: case VK_HOME: case VK_END:
        if (!pState->bDropped)
            return FALSE;
        break;
    default:
        return FALSE;
    }
    SendMessageA(hCombo, uMsg, wParam, lParam);
    return TRUE;
}

UINT TbComboEditDlgCode(HWND hEdit, LPARAM lParam)
{
    const HWND hCombo = GetParent(hEdit);
    const TbWindow* pCombo = TbFindWindow(hCombo);
    if (!pCombo || !pCombo->pClass || pCombo->pClass->pfnWndProc != TbComboBoxWndProc)
        return 0;
    return static_cast<UINT>(SendMessageA(hCombo, WM_GETDLGCODE, 0, lParam));
}

LRESULT CALLBACK TbComboBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const int nIndex = static_cast<int>(wParam);
    switch (uMsg) {
    case WM_NCCREATE:       return OnNcCreate(hWnd, wParam, lParam);
    case WM_CREATE:         return OnCreate(hWnd, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:        return OnDestroy(hWnd);
    case WM_PAINT:          return OnPaint(hWnd);
    case WM_ERASEBKGND:     return 1;       // WM_PAINT fills with the parent's brush
    case WM_SETFONT:        return OnSetFont(hWnd, wParam, lParam);
    case WM_GETFONT:        return TbControlGetFont(StateOf(hWnd));
    case WM_SETTEXT:        return OnSetText(hWnd, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:  return OnGetText(hWnd, uMsg, wParam, lParam);
    case WM_GETDLGCODE:     return OnGetDlgCode(hWnd, lParam);
    case WM_ENABLE:
        if (TbComboState* pState = StateOf(hWnd))
            if (pState->hEdit)
                EnableWindow(pState->hEdit, wParam != 0);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:       return OnFocus(hWnd, TRUE, reinterpret_cast<HWND>(wParam));
    case WM_KILLFOCUS:      return OnFocus(hWnd, FALSE, reinterpret_cast<HWND>(wParam));
    case WM_KEYDOWN:        return OnKeyDown(hWnd, wParam);
    case WM_SYSKEYDOWN:     return OnSysKeyDown(hWnd, wParam, lParam);
    case WM_CHAR:           return OnChar(hWnd, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  return OnLButtonDown(hWnd, wParam, lParam);
    case WM_MOUSEMOVE:      return OnMouseMove(hWnd, lParam);
    case WM_LBUTTONUP:      return OnLButtonUp(hWnd, lParam);
    case WM_MOUSEWHEEL:
        if (TbComboState* pState = StateOf(hWnd); pState && pState->bDropped)
            return ToList(*pState, uMsg, wParam, lParam);
        return 0;
    case WM_CANCELMODE:     CloseList(hWnd, CLOSE_CANCEL); return 0;
    case WM_COMMAND:        return OnCommand(hWnd, wParam, lParam);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return OnListAsks(hWnd, uMsg, wParam, lParam);
    case CB_ADDSTRING:      return StateOf(hWnd) ? RefitList(hWnd, ToList(*StateOf(hWnd), LB_ADDSTRING, wParam, lParam)) : CB_ERR;
    case CB_INSERTSTRING:   return StateOf(hWnd) ? RefitList(hWnd, ToList(*StateOf(hWnd), LB_INSERTSTRING, wParam, lParam)) : CB_ERR;
    case CB_DELETESTRING:   return OnDelete(hWnd, LB_DELETESTRING, wParam);
    case CB_RESETCONTENT:   return OnDelete(hWnd, LB_RESETCONTENT, 0);
    case CB_GETCOUNT:       return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_GETCOUNT, 0, 0) : 0;
    case CB_GETLBTEXT:      return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_GETTEXT, wParam, lParam) : CB_ERR;
    case CB_GETLBTEXTLEN:   return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_GETTEXTLEN, wParam, 0) : CB_ERR;
    case CB_SETITEMDATA:    return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_SETITEMDATA, wParam, lParam) : CB_ERR;
    case CB_GETITEMDATA:    return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_GETITEMDATA, wParam, 0) : CB_ERR;
    case CB_SETCURSEL:      return OnSetCurSel(hWnd, nIndex);
    case CB_GETCURSEL:      return StateOf(hWnd) ? CurSel(*StateOf(hWnd)) : CB_ERR;
    case CB_FINDSTRING:     return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_FINDSTRING, wParam, lParam) : CB_ERR;
    case CB_FINDSTRINGEXACT: return StateOf(hWnd) ? ToList(*StateOf(hWnd), LB_FINDSTRINGEXACT, wParam, lParam) : CB_ERR;
    case CB_SELECTSTRING:   return OnSelectString(hWnd, nIndex, lParam);
    case CB_SHOWDROPDOWN:
        if (wParam)
            OpenList(hWnd);
        else
            CloseList(hWnd, CLOSE_PROGRAM);
        return TRUE;
    case CB_GETDROPPEDSTATE: return StateOf(hWnd) ? StateOf(hWnd)->bDropped : FALSE;
    case CB_GETEDITSEL:     return OnGetEditSel(hWnd, wParam, lParam);
    case CB_SETEDITSEL:     return OnSetEditSel(hWnd, lParam);
    case CB_LIMITTEXT:      return OnLimitText(hWnd, wParam);
    case CB_SETDROPPEDWIDTH: return OnSetDroppedWidth(hWnd, wParam);
    case CB_GETDROPPEDCONTROLRECT: return OnGetDroppedControlRect(hWnd, lParam);
    case CB_SETITEMHEIGHT:  return OnItemHeight(hWnd, wParam, lParam, TRUE);
    case CB_GETITEMHEIGHT:  return OnItemHeight(hWnd, wParam, lParam, FALSE);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
