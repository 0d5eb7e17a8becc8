// The tab strip "SysTabControl32": a row of text tabs along the top, the current one raised. The
// items are read and written by index (TCM_GETITEMA, TCM_SETITEMA), so that a program can change
// a tab's label in place.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "platform/win/user/ControlInternal.h"

namespace {
struct TbTabItem {
    std::string strText;
    LPARAM lParam = 0;
};

struct TbTabControlState : TbControlState {
    std::vector<TbTabItem> items;
    int nCurrent = -1;
};

const int TAB_PADDING = 12;     // beside the text, both sides together
const int TAB_HEIGHT_EXTRA = 6;

TbTabControlState* StateOf(HWND hWnd)
{
    return TbClassStateOf<TbTabControlState>(hWnd);
}

TbTabItem* ItemAt(TbTabControlState* pState, WPARAM wParam)
{
    const int nIndex = static_cast<int>(wParam);
    if (!pState || nIndex < 0 || nIndex >= static_cast<int>(pState->items.size()))
        return nullptr;
    return &pState->items[static_cast<size_t>(nIndex)];
}

void ApplyItem(TbTabItem& item, const TCITEMA& tci)
{
    if (tci.mask & TCIF_TEXT)
        item.strText = tci.pszText ? tci.pszText : "";
    if (tci.mask & TCIF_PARAM)
        item.lParam = tci.lParam;
}

LRESULT OnInsertItem(HWND hWnd, WPARAM wParam, const TCITEMA* pItem)
{
    TbTabControlState* pState = StateOf(hWnd);
    if (!pState || !pItem || static_cast<int>(wParam) < 0)
        return -1;
    const size_t nAt = std::min(static_cast<size_t>(wParam), pState->items.size());
    TbTabItem item;
    ApplyItem(item, *pItem);
    pState->items.insert(pState->items.begin() + static_cast<std::ptrdiff_t>(nAt), item);
    if (pState->nCurrent < 0)
        pState->nCurrent = 0;
    else if (static_cast<int>(nAt) <= pState->nCurrent)
        ++pState->nCurrent;
    InvalidateRect(hWnd, nullptr, TRUE);
    return static_cast<LRESULT>(nAt);
}

LRESULT OnGetItem(HWND hWnd, WPARAM wParam, TCITEMA* pItem)
{
    const TbTabItem* pTab = ItemAt(StateOf(hWnd), wParam);
    if (!pTab || !pItem)
        return FALSE;
    if ((pItem->mask & TCIF_TEXT) && pItem->pszText && pItem->cchTextMax > 0) {
        const size_t nCopy = std::min(pTab->strText.size(), static_cast<size_t>(pItem->cchTextMax - 1));
        memcpy(pItem->pszText, pTab->strText.data(), nCopy);
        pItem->pszText[nCopy] = '\0';
    }
    if (pItem->mask & TCIF_PARAM)
        pItem->lParam = pTab->lParam;
    return TRUE;
}

LRESULT OnSetItem(HWND hWnd, WPARAM wParam, const TCITEMA* pItem)
{
    TbTabItem* pTab = ItemAt(StateOf(hWnd), wParam);
    if (!pTab || !pItem)
        return FALSE;
    ApplyItem(*pTab, *pItem);
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnDeleteItem(HWND hWnd, WPARAM wParam)
{
    TbTabControlState* pState = StateOf(hWnd);
    if (!ItemAt(pState, wParam))
        return FALSE;
    const int nIndex = static_cast<int>(wParam);
    pState->items.erase(pState->items.begin() + nIndex);
    if (pState->nCurrent >= static_cast<int>(pState->items.size()) || nIndex < pState->nCurrent)
        --pState->nCurrent;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnSetCurSel(HWND hWnd, WPARAM wParam)
{
    TbTabControlState* pState = StateOf(hWnd);
    if (!ItemAt(pState, wParam))
        return -1;
    const int nOld = pState->nCurrent;
    pState->nCurrent = static_cast<int>(wParam);
    InvalidateRect(hWnd, nullptr, TRUE);
    return nOld;
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    TbTabControlState* pState = StateOf(hWnd);
    RECT rc;
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, TbControlColors(hWnd, hdc, WM_CTLCOLORSTATIC));
    if (pState) {
        HFONT hFont = TbControlFont(pState);
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        SetBkMode(hdc, TRANSPARENT);
        const int cyTab = TbFontHeight(hFont) + TAB_HEIGHT_EXTRA;
        RECT rcPage = {rc.left, std::min<LONG>(rc.bottom, cyTab), rc.right, rc.bottom};
        TbDrawFrame3D(hdc, rcPage, FALSE);
        int x = 2;
        for (size_t i = 0; i < pState->items.size(); ++i) {
            const std::string& strText = pState->items[i].strText;
            const int cx = TbTextWidth(hWnd, hFont, strText.c_str(), static_cast<int>(strText.size())) + TAB_PADDING;
            const BOOL bCurrent = static_cast<int>(i) == pState->nCurrent;
            RECT rcTab = {x, bCurrent ? 0 : 2, x + cx, cyTab + (bCurrent ? 1 : 0)};
            TbDrawFrame3D(hdc, rcTab, FALSE);
            DrawTextA(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcTab,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | TbTextFlags(hWnd));
            x += cx;
        }
        SelectObject(hdc, hOld);
    }
    EndPaint(hWnd, &ps);
    return 0;
}
}  // namespace

LRESULT CALLBACK TbTabControlWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:       return TbControlNcCreate(hWnd, StateOf(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:          return OnPaint(hWnd);
    case WM_ERASEBKGND:     return 1;       // WM_PAINT fills with the parent's brush
    case WM_SETFONT:        return TbControlSetFont(hWnd, StateOf(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:        return TbControlGetFont(StateOf(hWnd));
    case TCM_GETITEMCOUNT:  return StateOf(hWnd) ? static_cast<LRESULT>(StateOf(hWnd)->items.size()) : 0;
    case TCM_INSERTITEMA:   return OnInsertItem(hWnd, wParam, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_GETITEMA:      return OnGetItem(hWnd, wParam, reinterpret_cast<TCITEMA*>(lParam));
    case TCM_SETITEMA:      return OnSetItem(hWnd, wParam, reinterpret_cast<const TCITEMA*>(lParam));
    case TCM_DELETEITEM:    return OnDeleteItem(hWnd, wParam);
    case TCM_DELETEALLITEMS:
        if (TbTabControlState* pState = StateOf(hWnd)) {
            pState->items.clear();
            pState->nCurrent = -1;
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        return TRUE;
    case TCM_GETCURSEL:     return StateOf(hWnd) ? StateOf(hWnd)->nCurrent : -1;
    case TCM_SETCURSEL:     return OnSetCurSel(hWnd, wParam);
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
