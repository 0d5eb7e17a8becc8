// The sort and group dialog.
#include "framework/window/DlgSortCol.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/base/DrawUtils.h"
#include "framework/base/TBApp.h"
#include "framework/table/SortColumns.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/TableWindow.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Controls.h"

namespace {
const UINT CAPTION_STRING_ID = 28701;
const UINT DESCENDING_BITMAP_ID = 4001;
const UINT ASCENDING_BITMAP_ID = 4002;
const int MARK_SIZE = 8;
const int MIN_ITEM_HEIGHT = 12;

// One list item as it moves between the lists: its text and its data (column index + 1,
// negative for a descending key).
struct ListItem
{
    std::string strText;
    LRESULT lData = 0;
};

int Count(HWND hList)
{
    return hList ? static_cast<int>(SendMessageA(hList, LB_GETCOUNT, 0, 0)) : 0;
}

BOOL IsSelected(HWND hList, int nItem)
{
    return SendMessageA(hList, LB_GETSEL, static_cast<WPARAM>(nItem), 0) > 0;
}

// The selected items in ascending order.
std::vector<int> Selection(HWND hList)
{
    const int nSelected = hList ? static_cast<int>(SendMessageA(hList, LB_GETSELCOUNT, 0, 0)) : 0;
    if (nSelected <= 0)
        return {};
    std::vector<int> items(static_cast<size_t>(nSelected));
    const int nGot = static_cast<int>(SendMessageA(hList, LB_GETSELITEMS, static_cast<WPARAM>(nSelected),
                                                   reinterpret_cast<LPARAM>(items.data())));
    items.resize(static_cast<size_t>(std::clamp(nGot, 0, nSelected)));
    std::sort(items.begin(), items.end());
    return items;
}

ListItem GetItem(HWND hList, int nItem)
{
    ListItem item;
    const int nLength = static_cast<int>(SendMessageA(hList, LB_GETTEXTLEN, static_cast<WPARAM>(nItem), 0));
    if (nLength > 0) {
        std::string str(static_cast<size_t>(nLength) + 1, '\0');
        SendMessageA(hList, LB_GETTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(str.data()));
        item.strText = str.c_str();
    }
    item.lData = SendMessageA(hList, LB_GETITEMDATA, static_cast<WPARAM>(nItem), 0);
    return item;
}

// At nPos, or at the end for -1; the index it got, or -1.
int InsertItem(HWND hList, int nPos, const ListItem& item)
{
    const int nItem = static_cast<int>(SendMessageA(hList, LB_INSERTSTRING, static_cast<WPARAM>(nPos),
                                                    reinterpret_cast<LPARAM>(item.strText.c_str())));
    if (nItem >= 0)
        SendMessageA(hList, LB_SETITEMDATA, static_cast<WPARAM>(nItem), item.lData);
    return nItem;
}

void DeleteItems(HWND hList, const std::vector<int>& items)
{
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        SendMessageA(hList, LB_DELETESTRING, static_cast<WPARAM>(*it), 0);
}

// Moves one item, selected, to nTo (an index of the list without it).
void MoveItem(HWND hList, int nFrom, int nTo)
{
    const ListItem item = GetItem(hList, nFrom);
    SendMessageA(hList, LB_DELETESTRING, static_cast<WPARAM>(nFrom), 0);
    const int nItem = InsertItem(hList, nTo, item);
    if (nItem >= 0)
        SendMessageA(hList, LB_SETSEL, TRUE, nItem);
}

// A column offered in the lists: sortable, and shown or one the user may show.
BOOL IsOffered(const CTableColumn* pColumn)
{
    return pColumn != nullptr && pColumn->m_bSortable && (!pColumn->m_bHidden || pColumn->m_bUserSwitchable);
}

// Titles may have several lines; a list item has one.
std::string ItemText(const CTableColumn& column)
{
    std::string str = static_cast<const char*>(column.GetTitle());
    std::replace(str.begin(), str.end(), '\n', ' ');
    return str;
}

// The 8 by 8 image as a monochrome mask: the mark's pixels 0, the white ground 1.
HBITMAP LoadMask(UINT nId)
{
    HINSTANCE hModule = GetTBApp() ? GetTBApp()->GetModule() : nullptr;
    HBITMAP hImage = LoadBitmapA(hModule, MAKEINTRESOURCEA(nId));
    if (hImage == nullptr)
        return nullptr;
    HBITMAP hMask = CreateBitmap(MARK_SIZE, MARK_SIZE, 1, 1, nullptr);
    HDC hdcImage = CreateCompatibleDC(nullptr);
    HDC hdcMask = CreateCompatibleDC(nullptr);
    if (hMask != nullptr && hdcImage != nullptr && hdcMask != nullptr) {
        HGDIOBJ hOldImage = SelectObject(hdcImage, hImage);
        HGDIOBJ hOldMask = SelectObject(hdcMask, hMask);
        SetBkColor(hdcImage, RGB(255, 255, 255));
        BitBlt(hdcMask, 0, 0, MARK_SIZE, MARK_SIZE, hdcImage, 0, 0, SRCCOPY);
        SelectObject(hdcMask, hOldMask);
        SelectObject(hdcImage, hOldImage);
    }
    if (hdcImage)
        DeleteDC(hdcImage);
    if (hdcMask)
        DeleteDC(hdcMask);
    DeleteObject(hImage);
    return hMask;
}

// The mask in the text colour over whatever the item's background is.
void DrawMark(HDC hdc, HBITMAP hMask, int x, int y, COLORREF crText)
{
    HDC hdcMask = hMask ? CreateCompatibleDC(hdc) : nullptr;
    if (hdcMask == nullptr)
        return;
    HGDIOBJ hOld = SelectObject(hdcMask, hMask);
    const COLORREF crOldText = SetTextColor(hdc, RGB(0, 0, 0));
    const COLORREF crOldBack = SetBkColor(hdc, RGB(255, 255, 255));
    BitBlt(hdc, x, y, MARK_SIZE, MARK_SIZE, hdcMask, 0, 0, SRCAND);      // the mark black, the ground kept
    SetTextColor(hdc, crText);
    SetBkColor(hdc, RGB(0, 0, 0));
    BitBlt(hdc, x, y, MARK_SIZE, MARK_SIZE, hdcMask, 0, 0, SRCPAINT);    // the mark in the text colour
    SetTextColor(hdc, crOldText);
    SetBkColor(hdc, crOldBack);
    SelectObject(hdcMask, hOld);
    DeleteDC(hdcMask);
}
}  // namespace

CDlgSortCol::CDlgSortCol() : CTBLangDialog(IDD, nullptr) {}

CDlgSortCol::~CDlgSortCol()
{
    // Destroyed here, the window still saves its position under this dialog's section.
    if (m_hWnd != nullptr)
        DestroyWindow();
    if (m_hAscending)
        DeleteObject(m_hAscending);
    if (m_hDescending)
        DeleteObject(m_hDescending);
}

BOOL CDlgSortCol::Create(CTableWindow* pWindow)
{
    m_pTarget = pWindow && pWindow->GetView() ? pWindow : nullptr;
    return CTBDialog::Create(IDD, pWindow);
}

CViewTable* CDlgSortCol::SortableView() const
{
    CViewTable* pView = m_pTarget ? m_pTarget->GetView() : nullptr;
    return pView && pView->m_bAllowSortDialog ? pView : nullptr;
}

void CDlgSortCol::SetTarget(CTableWindow* pWindow)
{
    m_pTarget = pWindow && pWindow->GetView() ? pWindow : nullptr;
    if (m_hWnd == nullptr)
        return;
    RefreshControls();
    CViewTable* pView = m_pTarget ? m_pTarget->GetView() : nullptr;
    CheckDlgButton(m_hWnd, IDC_GROUP, pView && pView->GetGroupColumns().GetCount() > 0 ? BST_CHECKED : BST_UNCHECKED);
    FillLists();
    RefreshGroupBox();
    SetWindowTextA(m_hWnd, GetCaption());
}

void CDlgSortCol::Refresh()
{
    if (m_hWnd == nullptr)
        return;
    FillLists();
    RefreshGroupBox();
}

CTBString CDlgSortCol::GetSettingsSection()
{
    return GridDialogSection("DlgSortCol", m_pTarget ? m_pTarget->GetView() : nullptr);
}

CTBString CDlgSortCol::GetCaption()
{
    CTBString strCaption;
    strCaption.LoadAppString(CAPTION_STRING_ID);
    if (CViewTable* pView = m_pTarget ? m_pTarget->GetView() : nullptr) {
        strCaption += " - ";
        strCaption += pView->GetTitle();
    }
    return strCaption;
}

CTBString CDlgSortCol::GetLangSection(int nLanguage)
{
    return GridDialogLangSection("DlgSortCol", nLanguage);
}

void CDlgSortCol::OnLanguageChanged(int nLanguage)
{
    CTBLangDialog::OnLanguageChanged(nLanguage);
    // The titles of the columns are in the new language too.
    Refresh();
}

BOOL CDlgSortCol::OnInitDialog()
{
    m_keys.SubclassDlgItem(IDC_KEYS, this);
    m_columns.SubclassDlgItem(IDC_COLUMNS, this);
    if (m_hAscending == nullptr)
        m_hAscending = LoadMask(ASCENDING_BITMAP_ID);
    if (m_hDescending == nullptr)
        m_hDescending = LoadMask(DESCENDING_BITMAP_ID);
    CViewTable* pView = m_pTarget ? m_pTarget->GetView() : nullptr;
    CheckDlgButton(m_hWnd, IDC_GROUP, pView && pView->GetGroupColumns().GetCount() > 0 ? BST_CHECKED : BST_UNCHECKED);
    m_keys.m_bAcceptsDragging = TRUE;
    m_keys.m_bAcceptsOwnDrops = TRUE;
    m_columns.m_bAcceptsDragging = FALSE;
    m_columns.m_bAcceptsOwnDrops = FALSE;

    // The keys are drawn here, as high as the other list's font.
    int nHeight = MIN_ITEM_HEIGHT;
    if (HDC hdc = GetDC(m_columns.m_hWnd)) {
        HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessageA(m_columns.m_hWnd, WM_GETFONT, 0, 0)));
        TEXTMETRICA tm = {};
        if (GetTextMetricsA(hdc, &tm))
            nHeight = std::max(nHeight, static_cast<int>(tm.tmHeight));
        SelectObject(hdc, hOld);
        ReleaseDC(m_columns.m_hWnd, hdc);
    }
    SendMessageA(m_keys.m_hWnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(nHeight, 0));

    RefreshControls();
    FillLists();
    RefreshGroupBox();
    return TRUE;
}

void CDlgSortCol::OnOK()
{
    Apply();
    DestroyWindow();
}

void CDlgSortCol::OnCancel()
{
    DestroyWindow();
}

void CDlgSortCol::RefreshControls()
{
    const BOOL bEnable = SortableView() != nullptr;
    for (int nId : {IDC_ADD, IDC_REMOVE, IDC_GROUP, IDC_COLUMNS, IDC_KEYS, IDC_APPLY})
        EnableItem(nId, bEnable);
}

void CDlgSortCol::FillLists()
{
    HWND hColumns = List(IDC_COLUMNS), hKeys = List(IDC_KEYS);
    if (hColumns == nullptr || hKeys == nullptr)
        return;
    SendMessageA(hColumns, LB_RESETCONTENT, 0, 0);
    SendMessageA(hKeys, LB_RESETCONTENT, 0, 0);
    CViewTable* pView = m_pTarget ? m_pTarget->GetView() : nullptr;
    if (pView == nullptr)
        return;
    const CSortColumns& keys = pView->GetSortColumns();
    const CTableColumns& columns = pView->GetColumns();
    for (int nCol = 0; nCol < columns.GetCount(); ++nCol) {
        const CTableColumn* pColumn = columns.GetColumn(nCol);
        if (!keys.HasColumn(nCol) && IsOffered(pColumn))
            InsertItem(hColumns, -1, ListItem{ItemText(*pColumn), nCol + 1});
    }
    for (int i = 0; i < keys.GetCount(); ++i) {
        const CSortPair& key = keys.GetAt(i);
        const CTableColumn* pColumn = columns.GetColumn(key.m_nColumn);
        if (IsOffered(pColumn))
            InsertItem(hKeys, -1, ListItem{ItemText(*pColumn), key.m_nDirection < 0 ? -(key.m_nColumn + 1) : key.m_nColumn + 1});
    }
}

// Grouping goes by the first key, and only a column that allows it can be grouped.
void CDlgSortCol::RefreshGroupBox()
{
    if (m_hWnd == nullptr)
        return;
    BOOL bEnable = FALSE;
    if (CViewTable* pView = SortableView()) {
        HWND hKeys = List(IDC_KEYS);
        if (Count(hKeys) > 0) {
            const LRESULT lData = SendMessageA(hKeys, LB_GETITEMDATA, 0, 0);
            const CTableColumn* pColumn = pView->GetColumns().GetColumn(static_cast<int>(std::llabs(lData)) - 1);
            bEnable = pColumn != nullptr && pColumn->m_nSetting03 != 0;
        }
    }
    EnableItem(IDC_GROUP, bEnable);
    if (!bEnable)
        CheckDlgButton(m_hWnd, IDC_GROUP, BST_UNCHECKED);
}

void CDlgSortCol::Add(int nPos)
{
    HWND hColumns = List(IDC_COLUMNS), hKeys = List(IDC_KEYS);
    if (nPos < 0 || nPos > Count(hKeys))
        nPos = -1;
    const std::vector<int> selection = Selection(hColumns);
    for (int nItem : selection) {
        const int nNew = InsertItem(hKeys, nPos, GetItem(hColumns, nItem));
        if (nPos >= 0 && nNew >= 0)
            nPos = nNew + 1;
    }
    DeleteItems(hColumns, selection);
    RefreshGroupBox();
}

// Each key goes back to its column-order place among the available columns.
void CDlgSortCol::Remove()
{
    HWND hColumns = List(IDC_COLUMNS), hKeys = List(IDC_KEYS);
    const std::vector<int> selection = Selection(hKeys);
    for (int nItem : selection) {
        ListItem item = GetItem(hKeys, nItem);
        item.lData = std::llabs(item.lData);
        int nPos = -1;
        for (int i = 0; i < Count(hColumns) && nPos < 0; ++i)
            if (std::llabs(SendMessageA(hColumns, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)) > item.lData)
                nPos = i;
        InsertItem(hColumns, nPos, item);
    }
    DeleteItems(hKeys, selection);
    RefreshGroupBox();
}

void CDlgSortCol::MoveKeys(int nPos)
{
    HWND hKeys = List(IDC_KEYS);
    const std::vector<int> selection = Selection(hKeys);
    if (selection.empty())
        return;
    if (nPos < 0 || nPos > Count(hKeys))
        nPos = Count(hKeys);
    std::vector<ListItem> items;
    for (int nItem : selection) {
        items.push_back(GetItem(hKeys, nItem));
        if (nItem < nPos)
            --nPos;     // the place, counted without the keys that leave
    }
    DeleteItems(hKeys, selection);
    for (const ListItem& item : items) {
        const int nNew = InsertItem(hKeys, nPos, item);
        if (nNew >= 0) {
            SendMessageA(hKeys, LB_SETSEL, TRUE, nNew);
            nPos = nNew + 1;
        }
    }
    RefreshGroupBox();
}

void CDlgSortCol::MoveKeysUp()
{
    HWND hKeys = List(IDC_KEYS);
    for (int i = 1; i < Count(hKeys); ++i)
        if (IsSelected(hKeys, i) && !IsSelected(hKeys, i - 1))
            MoveItem(hKeys, i, i - 1);
    RefreshGroupBox();
}

void CDlgSortCol::MoveKeysDown()
{
    HWND hKeys = List(IDC_KEYS);
    for (int i = Count(hKeys) - 1; i >= 0; --i) {
        if (!IsSelected(hKeys, i))
            continue;
        int nBelow = i + 1;
        while (nBelow < Count(hKeys) && IsSelected(hKeys, nBelow))
            ++nBelow;
        if (nBelow < Count(hKeys))
            MoveItem(hKeys, i, nBelow);     // without it, the unselected item is one higher
    }
    RefreshGroupBox();
}

void CDlgSortCol::FlipKey(int nItem)
{
    HWND hKeys = List(IDC_KEYS);
    if (nItem < 0 || nItem >= Count(hKeys) || !IsSelected(hKeys, nItem))
        return;
    const LRESULT lData = SendMessageA(hKeys, LB_GETITEMDATA, static_cast<WPARAM>(nItem), 0);
    SendMessageA(hKeys, LB_SETITEMDATA, static_cast<WPARAM>(nItem), -lData);
    InvalidateRect(hKeys, nullptr, TRUE);
}

void CDlgSortCol::Apply()
{
    CViewTable* pView = SortableView();
    if (pView == nullptr || m_hWnd == nullptr)
        return;
    HWND hKeys = List(IDC_KEYS);
    const int nColumns = pView->GetColumnCount();
    CSortColumns keys(MAX_KEYS);
    const int nItems = std::min(Count(hKeys), static_cast<int>(MAX_KEYS));
    for (int i = 0; i < nItems; ++i) {
        const LRESULT lData = SendMessageA(hKeys, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        const long long nColumn = std::llabs(lData);
        if (nColumn >= 1 && nColumn <= nColumns)
            keys.Add(static_cast<int>(nColumn - 1), lData > 0 ? SORT_ASCENDING : SORT_DESCENDING);
    }
    const BOOL bGroup = IsDlgButtonChecked(m_hWnd, IDC_GROUP) == BST_CHECKED;
    const CSortColumns oldKeys(pView->GetSortColumns());
    HCURSOR hOldCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    CTableWindow* pTarget = m_pTarget;
    pTarget->FireSortChanging(&keys, &oldKeys);
    // A listener may have closed the grid; then there is nothing left to sort.
    if (m_pTarget == pTarget && pTarget->GetView() == pView)
        pView->Sort(keys, bGroup);
    SetCursor(hOldCursor);
}

BOOL CDlgSortCol::OnCmdMsg(UINT nId, int nCode)
{
    switch (nId) {
    case IDC_COLUMNS:
    case IDC_KEYS: {
        const CTBDragListBox& list = nId == IDC_KEYS ? m_keys : m_columns;
        // Only a left double click moves the item; the right button's has a meaning of its own.
        if (nCode != LBN_DBLCLK || list.GetDoubleClickSource() != 1)
            break;
        if (nId == IDC_COLUMNS)
            Add(-1);
        else
            Remove();
        return TRUE;
    }
    case IDC_ADD:    Add(-1); return TRUE;
    case IDC_REMOVE: Remove(); return TRUE;
    case IDC_APPLY:  Apply(); return TRUE;
    }
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}

// -2: the key was ours; -1: the list box's own handling.
LRESULT CDlgSortCol::OnVKeyToItem(UINT nKey, int nItem, HWND hWndList)
{
    const BOOL bControl = GetKeyState(VK_CONTROL) < 0;
    if (hWndList != nullptr && hWndList == m_keys.m_hWnd) {
        switch (nKey) {
        case VK_SPACE:
            FlipKey(nItem);
            return -2;
        case VK_LEFT:
        case VK_DELETE:
            if (nItem >= 0 && nItem < Count(hWndList)) {
                SendMessageA(hWndList, LB_SETSEL, TRUE, nItem);
                Remove();
            }
            return -2;
        case VK_UP:
            if (!bControl)
                break;
            MoveKeysUp();
            return -2;
        case VK_DOWN:
            if (!bControl)
                break;
            MoveKeysDown();
            return -2;
        }
    } else if (hWndList != nullptr && hWndList == m_columns.m_hWnd && (nKey == VK_RIGHT || nKey == VK_INSERT)) {
        if (nItem >= 0 && nItem < Count(hWndList)) {
            SendMessageA(hWndList, LB_SETSEL, TRUE, nItem);
            Add(-1);
        }
        return -2;
    }
    return -1;
}

// Only this dialog's own drags land here, and only on its two lists.
LRESULT CDlgSortCol::OnQueryDrop(int nType, const TBDROPRECORD* pRecord)
{
    if (pRecord == nullptr || nType != DRAG_TYPE || SortableView() == nullptr)
        return 0;
    const BOOL bFromUs = pRecord->pData == static_cast<LPVOID>(m_keys.m_hWnd) ||
                         pRecord->pData == static_cast<LPVOID>(m_columns.m_hWnd);
    const BOOL bOnUs = pRecord->hWndTarget == m_keys.m_hWnd || pRecord->hWndTarget == m_columns.m_hWnd;
    return bFromUs && bOnUs ? 1 : 0;
}

void CDlgSortCol::OnDoDrop(int nType, const TBDROPRECORD* pRecord)
{
    if (!OnQueryDrop(nType, pRecord))
        return;
    if (pRecord->hWndTarget == m_columns.m_hWnd) {
        Remove();
        return;
    }
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    ScreenToClient(m_keys.m_hWnd, &pt);
    const LRESULT lHit = SendMessageA(m_keys.m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    const int nPos = HIWORD(lHit) ? -1 : static_cast<int>(LOWORD(lHit));
    if (pRecord->pData == static_cast<LPVOID>(m_keys.m_hWnd))
        MoveKeys(nPos);
    else
        Add(nPos);
}

LRESULT CDlgSortCol::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_VKEYTOITEM)
        return OnVKeyToItem(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), reinterpret_cast<HWND>(lParam));
    if (uMsg == GetBeginDragDropMessage()) {
        HWND hWndList = reinterpret_cast<HWND>(lParam);
        if (hWndList != nullptr && (hWndList == m_keys.m_hWnd || hWndList == m_columns.m_hWnd))
            CDragDropWnd::Create(static_cast<LPVOID>(hWndList), DRAG_TYPE);
        return 0;
    }
    if (uMsg == GetQueryDropMessage())
        return OnQueryDrop(static_cast<int>(wParam), reinterpret_cast<const TBDROPRECORD*>(lParam));
    if (uMsg == GetDoDropMessage()) {
        OnDoDrop(static_cast<int>(wParam), reinterpret_cast<const TBDROPRECORD*>(lParam));
        return 0;
    }
    return CTBLangDialog::WindowProc(uMsg, wParam, lParam);
}

void CDlgSortCol::OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw)
{
    if (nIdCtl != IDC_KEYS || pDraw == nullptr || pDraw->hDC == nullptr) {
        CTBLangDialog::OnDrawItem(nIdCtl, pDraw);
        return;
    }
    HDC hdc = pDraw->hDC;
    const RECT& rc = pDraw->rcItem;
    int nBack = COLOR_WINDOW, nText = COLOR_WINDOWTEXT;
    if (pDraw->itemState & ODS_SELECTED) {
        nBack = COLOR_HIGHLIGHT;
        nText = COLOR_HIGHLIGHTTEXT;
    } else if (pDraw->itemState & ODS_DISABLED) {
        nText = COLOR_GRAYTEXT;
    }
    FillSolidRect(hdc, rc, GetSysColor(nBack));
    const COLORREF crText = GetSysColor(nText);
    const COLORREF crOldText = SetTextColor(hdc, crText);
    const int nOldMode = SetBkMode(hdc, TRANSPARENT);
    const ListItem item = GetItem(pDraw->hwndItem, static_cast<int>(pDraw->itemID));
    // The Arabic layout reads from the right: the mark stands at the item's right end there.
    const BOOL bRight = (GetWindowLongA(pDraw->hwndItem, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    RECT rcText = bRight ? RECT{rc.left + 2, rc.top, rc.right - 12, rc.bottom} : RECT{rc.left + 12, rc.top, rc.right - 2, rc.bottom};
    DrawTextA(hdc, item.strText.c_str(), static_cast<int>(item.strText.size()), &rcText,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (bRight ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
    const int xMark = bRight ? rc.right - 2 - MARK_SIZE : rc.left + 2;
    const int yMark = rc.top + (rc.bottom - rc.top - MARK_SIZE) / 2;
    DrawMark(hdc, item.lData > 0 ? m_hAscending : m_hDescending, xMark, yMark, crText);
    if (pDraw->itemState & ODS_FOCUS)
        DrawFocusRect(hdc, &rc);
    SetBkMode(hdc, nOldMode);
    SetTextColor(hdc, crOldText);
}
