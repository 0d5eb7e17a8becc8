// The "ListBox" class: a list of texts (or owner-drawn items with data) with one selection,
// several (LBS_MULTIPLESEL) or ranges (LBS_EXTENDEDSEL), kept sorted with LBS_SORT, scrolled by
// item through its own vertical bar. What the user changes is LBN_SELCHANGE (and LBN_DBLCLK) to
// the parent with LBS_NOTIFY; LBS_WANTKEYBOARDINPUT lets the parent take keys first.
#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
struct TbListItem {
    std::string str;
    ULONG_PTR   data = 0;
    BOOL        bSel = FALSE;
};

struct TbListBoxState : TbControlState {
    std::vector<TbListItem> items;
    int  nCaret = -1;           // the item with the focus frame; the selection of a single list
    int  nAnchor = -1;          // where a Shift range starts (extended selection)
    int  nTop = 0;
    int  nItemHeight = 0;       // 0 until measured
    BOOL bFocus = FALSE;
    BOOL bTracking = FALSE;     // the button is down: moving selects
    BOOL bScrollBar = FALSE;    // made with WS_VSCROLL: the bar comes and goes with the need
};

TbListBoxState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbListBoxState>(hWnd);
}

LONG StyleOf(HWND hWnd)
{
    return GetWindowLongA(hWnd, GWL_STYLE);
}

bool IsMulti(HWND hWnd)     { return (StyleOf(hWnd) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
bool IsExtended(HWND hWnd)  { return (StyleOf(hWnd) & LBS_EXTENDEDSEL) != 0; }
bool IsOwnerDraw(HWND hWnd) { return (StyleOf(hWnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool HasStrings(HWND hWnd)  { return !IsOwnerDraw(hWnd) || (StyleOf(hWnd) & LBS_HASSTRINGS); }
int  Count(const TbListBoxState& st) { return static_cast<int>(st.items.size()); }
bool IsValid(const TbListBoxState& st, int n) { return n >= 0 && n < Count(st); }

int ItemHeight(HWND hWnd, TbListBoxState& st)
{
    if (st.nItemHeight <= 0)
        st.nItemHeight = std::max(1, TbFontHeight(TbControlFont(&st)));
    (void)hWnd;
    return st.nItemHeight;
}

int VisibleCount(HWND hWnd, TbListBoxState& st)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return std::max(1, rc.bottom / ItemHeight(hWnd, st));
}

void Notify(HWND hWnd, UINT uCode)
{
    if (StyleOf(hWnd) & LBS_NOTIFY)
        TbNotifyParent(hWnd, uCode);
}

void UpdateScrollBar(HWND hWnd, TbListBoxState& st)
{
    if (!st.bScrollBar)
        return;
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Count(st) - 1),
                     static_cast<UINT>(VisibleCount(hWnd, st)), st.nTop, 0};
    if (StyleOf(hWnd) & LBS_DISABLENOSCROLL)
        si.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(hWnd, SB_VERT, &si, TRUE);
}

void SetTop(HWND hWnd, TbListBoxState& st, int nTop)
{
    nTop = std::clamp(nTop, 0, std::max(0, Count(st) - VisibleCount(hWnd, st)));
    if (nTop != st.nTop) {
        st.nTop = nTop;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    UpdateScrollBar(hWnd, st);
}

void ShowItem(HWND hWnd, TbListBoxState& st, int n)
{
    if (!IsValid(st, n))
        return;
    const int nVisible = VisibleCount(hWnd, st);
    if (n < st.nTop)
        SetTop(hWnd, st, n);
    else if (n >= st.nTop + nVisible)
        SetTop(hWnd, st, n - nVisible + 1);
}

// Selection changes; TRUE when something changed.
BOOL SelectOnly(HWND hWnd, TbListBoxState& st, int n)
{
    BOOL bChanged = FALSE;
    for (int i = 0; i < Count(st); ++i) {
        const BOOL bSel = i == n;
        if (st.items[static_cast<size_t>(i)].bSel != bSel) {
            st.items[static_cast<size_t>(i)].bSel = bSel;
            bChanged = TRUE;
        }
    }
    InvalidateRect(hWnd, nullptr, TRUE);
    return bChanged;
}

BOOL SelectRange(HWND hWnd, TbListBoxState& st, int nFrom, int nTo, BOOL bSel, BOOL bOthersOff)
{
    const int nLo = std::min(nFrom, nTo), nHi = std::max(nFrom, nTo);
    BOOL bChanged = FALSE;
    for (int i = 0; i < Count(st); ++i) {
        TbListItem& item = st.items[static_cast<size_t>(i)];
        const BOOL bIn = i >= nLo && i <= nHi;
        if (!bIn && !bOthersOff)
            continue;
        const BOOL bNew = bIn ? bSel : FALSE;
        if (item.bSel != bNew) {
            item.bSel = bNew;
            bChanged = TRUE;
        }
    }
    InvalidateRect(hWnd, nullptr, TRUE);
    return bChanged;
}

void SetCaret(HWND hWnd, TbListBoxState& st, int n)
{
    st.nCaret = n;
    ShowItem(hWnd, st, n);
    InvalidateRect(hWnd, nullptr, TRUE);
}

// The user went to an item (a key, a click): what that selects depends on the kind of list and
// the keys held. bToggle: a click or Space in a multiple list flips the item.
void UserGoTo(HWND hWnd, TbListBoxState& st, int n, BOOL bShift, BOOL bCtrl, BOOL bToggle)
{
    if (!IsValid(st, n))
        return;
    BOOL bChanged = FALSE;
    if (!IsMulti(hWnd)) {
        bChanged = SelectOnly(hWnd, st, n) || st.nCaret != n;
    } else if (!IsExtended(hWnd)) {
        if (bToggle) {
            st.items[static_cast<size_t>(n)].bSel = !st.items[static_cast<size_t>(n)].bSel;
            bChanged = TRUE;
        }
    } else if (bShift) {
        if (st.nAnchor < 0)
            st.nAnchor = n;
        bChanged = SelectRange(hWnd, st, st.nAnchor, n, TRUE, !bCtrl);
    } else if (bCtrl) {
        if (bToggle) {
            st.items[static_cast<size_t>(n)].bSel = !st.items[static_cast<size_t>(n)].bSel;
            bChanged = TRUE;
            st.nAnchor = n;
        }
    } else {
        bChanged = SelectOnly(hWnd, st, n);
        st.nAnchor = n;
    }
    if (st.nAnchor < 0)
        st.nAnchor = n;
    SetCaret(hWnd, st, n);
    if (bChanged)
        Notify(hWnd, LBN_SELCHANGE);
}

int FindItem(HWND hWnd, const TbListBoxState& st, int nStart, LPARAM lParam, BOOL bExact)
{
    const int nCount = Count(st);
    if (nCount == 0)
        return LB_ERR;
    const bool bStrings = HasStrings(hWnd);
    const char* psz = reinterpret_cast<const char*>(lParam);
    if (bStrings && !psz)
        return LB_ERR;
    const size_t nLen = bStrings ? std::strlen(psz) : 0;
    // The search starts after nStart and wraps round to it; -1 starts at the top.
    const int nFirst = nStart < 0 || nStart >= nCount ? 0 : nStart + 1;
    for (int k = 0; k < nCount; ++k) {
        const int i = (nFirst + k) % nCount;
        const TbListItem& item = st.items[static_cast<size_t>(i)];
        const bool bMatch = !bStrings ? item.data == static_cast<ULONG_PTR>(lParam)
            : bExact ? strcasecmp(item.str.c_str(), psz) == 0
                     : strncasecmp(item.str.c_str(), psz, nLen) == 0;
        if (bMatch)
            return i;
    }
    return LB_ERR;
}

LRESULT OnInsert(HWND hWnd, int nIndex, LPARAM lParam, BOOL bAdd)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return LB_ERR;
    TbListBoxState& st = *pState;
    TbListItem item;
    if (HasStrings(hWnd)) {
        item.str = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    } else {
        item.data = static_cast<ULONG_PTR>(lParam);
    }
    if (bAdd && (StyleOf(hWnd) & LBS_SORT) && HasStrings(hWnd)) {
        // After equal texts, so that items added in order stay in that order.
        nIndex = 0;
        while (nIndex < Count(st) && strcasecmp(st.items[static_cast<size_t>(nIndex)].str.c_str(), item.str.c_str()) <= 0)
            ++nIndex;
    } else if (bAdd || nIndex == -1) {
        nIndex = Count(st);
    } else if (nIndex < 0 || nIndex > Count(st)) {
        return LB_ERR;
    }
    st.items.insert(st.items.begin() + nIndex, item);
    if (st.nCaret >= nIndex)
        ++st.nCaret;
    if (st.nAnchor >= nIndex)
        ++st.nAnchor;
    UpdateScrollBar(hWnd, st);
    InvalidateRect(hWnd, nullptr, TRUE);
    return nIndex;
}

LRESULT OnDelete(HWND hWnd, int nIndex)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsValid(*pState, nIndex))
        return LB_ERR;
    TbListBoxState& st = *pState;
    st.items.erase(st.items.begin() + nIndex);
    if (st.nCaret == nIndex && !IsMulti(hWnd))
        st.nCaret = -1;
    else if (st.nCaret > nIndex || st.nCaret >= Count(st))
        --st.nCaret;
    if (st.nAnchor >= Count(st))
        st.nAnchor = Count(st) - 1;
    SetTop(hWnd, st, st.nTop);
    InvalidateRect(hWnd, nullptr, TRUE);
    return Count(st);
}

LRESULT OnResetContent(HWND hWnd)
{
    if (TbListBoxState* pState = StateOf(hWnd)) {
        pState->items.clear();
        pState->nCaret = pState->nAnchor = -1;
        pState->nTop = 0;
        UpdateScrollBar(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnGetText(HWND hWnd, int nIndex, LPSTR pszBuffer)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsValid(*pState, nIndex) || !pszBuffer)
        return LB_ERR;
    const TbListItem& item = pState->items[static_cast<size_t>(nIndex)];
    if (!HasStrings(hWnd)) {
        std::memcpy(pszBuffer, &item.data, sizeof item.data);
        return sizeof item.data;
    }
    // The caller's buffer holds the text: LB_GETTEXTLEN told it how long.
    std::memcpy(pszBuffer, item.str.c_str(), item.str.size() + 1);
    return static_cast<LRESULT>(item.str.size());
}

LRESULT OnGetTextLen(HWND hWnd, int nIndex)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsValid(*pState, nIndex))
        return LB_ERR;
    return HasStrings(hWnd) ? static_cast<LRESULT>(pState->items[static_cast<size_t>(nIndex)].str.size())
                            : static_cast<LRESULT>(sizeof(ULONG_PTR));
}

LRESULT OnItemData(HWND hWnd, int nIndex, const LPARAM* plData)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsValid(*pState, nIndex))
        return LB_ERR;
    TbListItem& item = pState->items[static_cast<size_t>(nIndex)];
    if (!plData)
        return static_cast<LRESULT>(item.data);
    item.data = static_cast<ULONG_PTR>(*plData);
    return TRUE;
}

// LB_SETCURSEL: single lists only; -1 clears and answers LB_ERR, as on the original.
LRESULT OnSetCurSel(HWND hWnd, int nIndex)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || IsMulti(hWnd))
        return LB_ERR;
    if (!IsValid(*pState, nIndex)) {
        SelectOnly(hWnd, *pState, -1);
        pState->nCaret = -1;
        return LB_ERR;
    }
    SelectOnly(hWnd, *pState, nIndex);
    SetCaret(hWnd, *pState, nIndex);
    return nIndex;
}

LRESULT OnGetCurSel(HWND hWnd)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return LB_ERR;
    if (IsMulti(hWnd))
        return IsValid(*pState, pState->nCaret) ? pState->nCaret : LB_ERR;
    for (int i = 0; i < Count(*pState); ++i)
        if (pState->items[static_cast<size_t>(i)].bSel)
            return i;
    return LB_ERR;
}

// LB_SETSEL: multiple lists only; -1 means every item.
LRESULT OnSetSel(HWND hWnd, BOOL bSel, int nIndex)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsMulti(hWnd) || (nIndex != -1 && !IsValid(*pState, nIndex)))
        return LB_ERR;
    if (nIndex == -1) {
        SelectRange(hWnd, *pState, 0, Count(*pState) - 1, bSel, FALSE);
        return LB_OKAY;
    }
    pState->items[static_cast<size_t>(nIndex)].bSel = bSel;
    if (bSel) {
        pState->nAnchor = nIndex;
        SetCaret(hWnd, *pState, nIndex);
    }
    InvalidateRect(hWnd, nullptr, TRUE);
    return LB_OKAY;
}

LRESULT OnGetSel(HWND hWnd, int nIndex)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsValid(*pState, nIndex))
        return LB_ERR;
    return pState->items[static_cast<size_t>(nIndex)].bSel ? 1 : 0;
}

LRESULT OnGetSelItems(HWND hWnd, int nMax, int* pnItems, BOOL bCountOnly)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsMulti(hWnd))
        return LB_ERR;
    int n = 0;
    for (int i = 0; i < Count(*pState); ++i) {
        if (!pState->items[static_cast<size_t>(i)].bSel)
            continue;
        if (!bCountOnly) {
            if (n >= nMax || !pnItems)
                break;
            pnItems[n] = i;
        }
        ++n;
    }
    return n;
}

LRESULT OnSelItemRange(HWND hWnd, BOOL bSel, int nFirst, int nLast)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !IsMulti(hWnd))
        return LB_ERR;
    nLast = std::min(nLast, Count(*pState) - 1);
    if (nFirst < 0 || nFirst > nLast)
        return LB_ERR;
    SelectRange(hWnd, *pState, nFirst, nLast, bSel, FALSE);
    return LB_OKAY;
}

LRESULT OnSelectString(HWND hWnd, int nStart, LPARAM lParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || IsMulti(hWnd))
        return LB_ERR;
    const int n = FindItem(hWnd, *pState, nStart, lParam, FALSE);
    return n == LB_ERR ? LB_ERR : OnSetCurSel(hWnd, n);
}

// LB_ITEMFROMPOINT: the nearest item in the low word, 1 in the high word when the point lies
// outside the client area or below the last item.
LRESULT OnItemFromPoint(HWND hWnd, LPARAM lParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return MAKELRESULT(0, 1);
    TbListBoxState& st = *pState;
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    BOOL bOutside = x < 0 || x >= rc.right || y < 0 || y >= rc.bottom;
    if (Count(st) == 0)
        return MAKELRESULT(0, 1);
    int n = y < 0 ? st.nTop - 1 : st.nTop + y / ItemHeight(hWnd, st);
    if (n < 0 || n >= Count(st))
        bOutside = TRUE;
    n = std::clamp(n, 0, Count(st) - 1);
    return MAKELRESULT(n, bOutside);
}

LRESULT OnGetItemRect(HWND hWnd, int nIndex, RECT* pRect)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !pRect || !IsValid(*pState, nIndex))
        return LB_ERR;
    RECT rc;
    GetClientRect(hWnd, &rc);
    const int h = ItemHeight(hWnd, *pState);
    *pRect = RECT{0, (nIndex - pState->nTop) * h, rc.right, (nIndex - pState->nTop + 1) * h};
    return LB_OKAY;
}

LRESULT OnSetItemHeight(HWND hWnd, LPARAM lParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    const int h = LOWORD(lParam);
    if (!pState || h <= 0 || h > 255)
        return LB_ERR;
    pState->nItemHeight = h;
    SetTop(hWnd, *pState, pState->nTop);
    InvalidateRect(hWnd, nullptr, TRUE);
    return LB_OKAY;
}

void PaintItem(HWND hWnd, HDC hdc, TbListBoxState& st, int i, const RECT& rcItem)
{
    const TbListItem& item = st.items[static_cast<size_t>(i)];
    const bool bFocusItem = st.bFocus && i == st.nCaret;
    if (IsOwnerDraw(hWnd)) {
        DRAWITEMSTRUCT dis = {ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(i), ODA_DRAWENTIRE,
                              (item.bSel ? static_cast<UINT>(ODS_SELECTED) : 0u) | (bFocusItem ? static_cast<UINT>(ODS_FOCUS) : 0u) |
                              (IsWindowEnabled(hWnd) ? 0u : static_cast<UINT>(ODS_DISABLED)),
                              hWnd, hdc, rcItem, item.data};
        SendMessageA(GetParent(hWnd), WM_DRAWITEM, static_cast<WPARAM>(dis.CtlID), reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (item.bSel) {
        FillRect(hdc, &rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        SetTextColor(hdc, GetSysColor(IsWindowEnabled(hWnd) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    }
    RECT rcText = {rcItem.left + 2, rcItem.top, rcItem.right - 2, rcItem.bottom};
    const bool bRight = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    DrawTextA(hdc, item.str.c_str(), static_cast<int>(item.str.size()), &rcText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (bRight ? DT_RIGHT : DT_LEFT) | TbTextFlags(hWnd));
    if (bFocusItem)
        DrawFocusRect(hdc, &rcItem);
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbListBoxState* pState = StateOf(hWnd);
    if (!hdc || !pState)
        return 0;
    RECT rc;
    GetClientRect(hWnd, &rc);
    HGDIOBJ hOldFont = SelectObject(hdc, TbControlFont(pState));
    FillRect(hdc, &rc, TbControlColors(hWnd, hdc, WM_CTLCOLORLISTBOX));
    SetBkMode(hdc, TRANSPARENT);
    const int h = ItemHeight(hWnd, *pState);
    for (int i = pState->nTop; i < Count(*pState) && (i - pState->nTop) * h < rc.bottom; ++i) {
        const RECT rcItem = {0, (i - pState->nTop) * h, rc.right, (i - pState->nTop + 1) * h};
        PaintItem(hWnd, hdc, *pState, i, rcItem);
        if ((pState = TbFindClassState<TbListBoxState>(hWnd)) == nullptr)
            break;
    }
    if (pState && ((StyleOf(hWnd) & WS_BORDER) || (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)))
        TbDrawFrame3D(hdc, rc, TRUE);
    SelectObject(hdc, hOldFont);
    EndPaint(hWnd, &ps);
    return 0;
}

LRESULT OnKeyDown(HWND hWnd, WPARAM wParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    // The parent may take the key: -2 handled, -1 the default, an item to go there.
    if (StyleOf(hWnd) & LBS_WANTKEYBOARDINPUT) {
        const LRESULT lAnswer = SendMessageA(GetParent(hWnd), WM_VKEYTOITEM, MAKEWPARAM(wParam, std::max(pState->nCaret, 0)),
                                             reinterpret_cast<LPARAM>(hWnd));
        if ((pState = StateOf(hWnd)) == nullptr || lAnswer == -2)
            return 0;
        if (lAnswer >= 0) {
            UserGoTo(hWnd, *pState, static_cast<int>(std::min<LRESULT>(lAnswer, Count(*pState) - 1)), FALSE, FALSE, FALSE);
            return 0;
        }
    }
    TbListBoxState& st = *pState;
    if (Count(st) == 0)
        return 0;
    const BOOL bShift = GetKeyState(VK_SHIFT) < 0, bCtrl = GetKeyState(VK_CONTROL) < 0;
    const int nPage = std::max(1, VisibleCount(hWnd, st) - 1);
    const int nFrom = std::max(st.nCaret, 0);
    int nTo = -1;
    switch (wParam) {
    case VK_UP:    nTo = nFrom - 1; break;
    case VK_DOWN:  nTo = st.nCaret < 0 ? 0 : nFrom + 1; break;
    case VK_PRIOR: nTo = nFrom - nPage; break;
    case VK_NEXT:  nTo = nFrom + nPage; break;
    case VK_HOME:  nTo = 0; break;
    case VK_END:   nTo = Count(st) - 1; break;
    case VK_SPACE:
        if (IsMulti(hWnd))
            UserGoTo(hWnd, st, nFrom, bShift, bCtrl || !IsExtended(hWnd), TRUE);
        return 0;
    default:
        return 0;
    }
    nTo = std::clamp(nTo, 0, Count(st) - 1);
    // A multiple list moves only the focus; Ctrl does the same in an extended one.
    if (IsMulti(hWnd) && (!IsExtended(hWnd) || (bCtrl && !bShift)))
        SetCaret(hWnd, st, nTo);
    else
        UserGoTo(hWnd, st, nTo, bShift, bCtrl, FALSE);
    return 0;
}

// A character goes to the next item that starts with it, or to the parent's choice.
LRESULT OnChar(HWND hWnd, WPARAM wParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    if ((StyleOf(hWnd) & LBS_WANTKEYBOARDINPUT) && !HasStrings(hWnd)) {
        const LRESULT lAnswer = SendMessageA(GetParent(hWnd), WM_CHARTOITEM, MAKEWPARAM(wParam, std::max(pState->nCaret, 0)),
                                             reinterpret_cast<LPARAM>(hWnd));
        if ((pState = StateOf(hWnd)) != nullptr && lAnswer >= 0)
            UserGoTo(hWnd, *pState, static_cast<int>(std::min<LRESULT>(lAnswer, Count(*pState) - 1)), FALSE, FALSE, FALSE);
        return 0;
    }
    if (!HasStrings(hWnd) || static_cast<unsigned char>(wParam) < ' ')
        return 0;
    const char sz[2] = {static_cast<char>(wParam), 0};
    const int n = FindItem(hWnd, *pState, pState->nCaret, reinterpret_cast<LPARAM>(sz), FALSE);
    if (n != LB_ERR)
        UserGoTo(hWnd, *pState, n, FALSE, FALSE, FALSE);
    return 0;
}

int ItemAt(HWND hWnd, LPARAM lParam)
{
    const LRESULT l = OnItemFromPoint(hWnd, lParam);
    TbListBoxState* pState = StateOf(hWnd);
    return pState && Count(*pState) ? static_cast<int>(LOWORD(l)) : -1;
}

LRESULT OnLButtonDown(HWND hWnd, WPARAM wKeys, LPARAM lParam, BOOL bDouble)
{
    if (GetFocus() != hWnd)
        SetFocus(hWnd);
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const int n = ItemAt(hWnd, lParam);
    if (n < 0 || HIWORD(OnItemFromPoint(hWnd, lParam)))
        return 0;
    UserGoTo(hWnd, *pState, n, (wKeys & MK_SHIFT) != 0, (wKeys & MK_CONTROL) != 0, TRUE);
    if ((pState = StateOf(hWnd)) == nullptr)
        return 0;
    pState->bTracking = TRUE;
    SetCapture(hWnd);
    if (bDouble)
        Notify(hWnd, LBN_DBLCLK);
    return 0;
}

// Dragging with the button down: a single list follows the pointer, an extended one stretches
// the range from the anchor.
LRESULT OnMouseMove(HWND hWnd, WPARAM wKeys, LPARAM lParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState || !pState->bTracking || GetCapture() != hWnd)
        return 0;
    const int n = ItemAt(hWnd, lParam);
    if (n < 0 || n == pState->nCaret || (IsMulti(hWnd) && !IsExtended(hWnd)))
        return 0;
    UserGoTo(hWnd, *pState, n, IsExtended(hWnd), (wKeys & MK_CONTROL) != 0, FALSE);
    return 0;
}

LRESULT OnLButtonUp(HWND hWnd)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (pState && pState->bTracking) {
        pState->bTracking = FALSE;
        if (GetCapture() == hWnd)
            ReleaseCapture();
    }
    return 0;
}

LRESULT OnVScroll(HWND hWnd, WPARAM wParam)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return 0;
    const int nPage = VisibleCount(hWnd, *pState);
    switch (LOWORD(wParam)) {
    case SB_LINEUP:        SetTop(hWnd, *pState, pState->nTop - 1); break;
    case SB_LINEDOWN:      SetTop(hWnd, *pState, pState->nTop + 1); break;
    case SB_PAGEUP:        SetTop(hWnd, *pState, pState->nTop - nPage); break;
    case SB_PAGEDOWN:      SetTop(hWnd, *pState, pState->nTop + nPage); break;
    case SB_TOP:           SetTop(hWnd, *pState, 0); break;
    case SB_BOTTOM:        SetTop(hWnd, *pState, Count(*pState)); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTop(hWnd, *pState, static_cast<short>(HIWORD(wParam))); break;
    }
    return 0;
}

LRESULT OnFocus(HWND hWnd, BOOL bFocus)
{
    if (TbListBoxState* pState = StateOf(hWnd)) {
        pState->bFocus = bFocus;
        InvalidateRect(hWnd, nullptr, TRUE);
    }
    TbNotifyParent(hWnd, bFocus ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
}

// An owner-drawn list asks its parent for the items' height once, when it is made.
LRESULT OnCreate(HWND hWnd)
{
    TbListBoxState* pState = StateOf(hWnd);
    if (!pState)
        return -1;
    if (IsOwnerDraw(hWnd)) {
        MEASUREITEMSTRUCT mis = {ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), 0, 0,
                                 static_cast<UINT>(ItemHeight(hWnd, *pState)), 0};
        SendMessageA(GetParent(hWnd), WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
        if ((pState = StateOf(hWnd)) != nullptr && mis.itemHeight > 0)
            pState->nItemHeight = static_cast<int>(mis.itemHeight);
    }
    if (pState) {
        pState->bScrollBar = (StyleOf(hWnd) & WS_VSCROLL) != 0;
        UpdateScrollBar(hWnd, *pState);
    }
    return 0;
}
}  // namespace

LRESULT CALLBACK TbListBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const int nIndex = static_cast<int>(wParam);
    switch (uMsg) {
    case WM_NCCREATE:       return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_CREATE:         return OnCreate(hWnd);
    case WM_PAINT:          return OnPaint(hWnd);
    case WM_ERASEBKGND:     return 1;       // WM_PAINT fills with the parent's brush
    case WM_SIZE:
        if (TbListBoxState* pState = StateOf(hWnd))
            SetTop(hWnd, *pState, pState->nTop);
        return 0;
    case WM_SETFONT:        return TbControlSetFont(hWnd, StateOf(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:        return TbControlGetFont(StateOf(hWnd));
    case WM_GETDLGCODE:     return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ENABLE:         InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_SETFOCUS:       return OnFocus(hWnd, TRUE);
    case WM_KILLFOCUS:      return OnFocus(hWnd, FALSE);
    case WM_KEYDOWN:        return OnKeyDown(hWnd, wParam);
    case WM_CHAR:           return OnChar(hWnd, wParam);
    case WM_LBUTTONDOWN:    return OnLButtonDown(hWnd, wParam, lParam, FALSE);
    case WM_LBUTTONDBLCLK:  return OnLButtonDown(hWnd, wParam, lParam, TRUE);
    case WM_MOUSEMOVE:      return OnMouseMove(hWnd, wParam, lParam);
    case WM_LBUTTONUP:      return OnLButtonUp(hWnd);
    case WM_VSCROLL:        return OnVScroll(hWnd, wParam);
    case WM_MOUSEWHEEL:     return OnVScroll(hWnd, static_cast<short>(HIWORD(wParam)) > 0 ? SB_LINEUP : SB_LINEDOWN);
    case LB_ADDSTRING:      return OnInsert(hWnd, -1, lParam, TRUE);
    case LB_INSERTSTRING:   return OnInsert(hWnd, nIndex, lParam, FALSE);
    case LB_DELETESTRING:   return OnDelete(hWnd, nIndex);
    case LB_RESETCONTENT:   return OnResetContent(hWnd);
    case LB_GETCOUNT:       return StateOf(hWnd) ? Count(*StateOf(hWnd)) : 0;
    case LB_GETTEXT:        return OnGetText(hWnd, nIndex, reinterpret_cast<LPSTR>(lParam));
    case LB_GETTEXTLEN:     return OnGetTextLen(hWnd, nIndex);
    case LB_SETITEMDATA:    return OnItemData(hWnd, nIndex, &lParam);
    case LB_GETITEMDATA:    return OnItemData(hWnd, nIndex, nullptr);
    case LB_SETCURSEL:      return OnSetCurSel(hWnd, nIndex);
    case LB_GETCURSEL:      return OnGetCurSel(hWnd);
    case LB_SETSEL:         return OnSetSel(hWnd, static_cast<BOOL>(wParam), static_cast<int>(lParam));
    case LB_GETSEL:         return OnGetSel(hWnd, nIndex);
    case LB_GETSELCOUNT:    return OnGetSelItems(hWnd, 0, nullptr, TRUE);
    case LB_GETSELITEMS:    return OnGetSelItems(hWnd, nIndex, reinterpret_cast<int*>(lParam), FALSE);
    case LB_SELITEMRANGE:   return OnSelItemRange(hWnd, static_cast<BOOL>(wParam), LOWORD(lParam), HIWORD(lParam));
    case LB_SETTOPINDEX:
        if (TbListBoxState* pState = StateOf(hWnd)) {
            if (!IsValid(*pState, nIndex))
                return LB_ERR;
            SetTop(hWnd, *pState, nIndex);
        }
        return LB_OKAY;
    case LB_GETTOPINDEX:    return StateOf(hWnd) ? StateOf(hWnd)->nTop : 0;
    case LB_FINDSTRING:     return StateOf(hWnd) ? FindItem(hWnd, *StateOf(hWnd), nIndex, lParam, FALSE) : LB_ERR;
    case LB_FINDSTRINGEXACT: return StateOf(hWnd) ? FindItem(hWnd, *StateOf(hWnd), nIndex, lParam, TRUE) : LB_ERR;
    case LB_SELECTSTRING:   return OnSelectString(hWnd, nIndex, lParam);
    case LB_ITEMFROMPOINT:  return OnItemFromPoint(hWnd, lParam);
    case LB_GETITEMRECT:    return OnGetItemRect(hWnd, nIndex, reinterpret_cast<RECT*>(lParam));
    case LB_SETCARETINDEX:
        if (TbListBoxState* pState = StateOf(hWnd)) {
            if (!IsValid(*pState, nIndex))
                return LB_ERR;
            SetCaret(hWnd, *pState, nIndex);
        }
        return LB_OKAY;
    case LB_GETCARETINDEX:  return StateOf(hWnd) ? std::max(StateOf(hWnd)->nCaret, 0) : 0;
    case LB_SETITEMHEIGHT:  return OnSetItemHeight(hWnd, lParam);
    case LB_GETITEMHEIGHT:  return StateOf(hWnd) ? ItemHeight(hWnd, *StateOf(hWnd)) : LB_ERR;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
