// The grid's filter dialog: target, criteria editing, counting, finding, Apply. The criteria
// lists' filling and drawing are in DlgFilterLists.cpp.
#include "framework/window/DlgFilter.h"

#include <memory>
#include <new>

#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/table/SortColumns.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/Sound.h"

namespace {
// The wait cursor for a walk over the view.
class CWaitPointer
{
public:
    CWaitPointer() : m_hOld(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitPointer() { SetCursor(m_hOld); }
    CWaitPointer(const CWaitPointer&) = delete;
    CWaitPointer& operator=(const CWaitPointer&) = delete;

private:
    HCURSOR m_hOld;
};

void RefusalBeep()
{
    if (GetNorvGlobals().m_bBeep)
        MessageBeep(0);
}

// The buttons that write into the active field.
const struct {
    int nId;
    const char* pszText;
} s_operators[] = {{1042, "="}, {1043, "<"}, {1044, ">"}, {1045, "<="}, {1046, ">="}};

// What a control needs to be enabled; see RefreshControls.
enum : unsigned {
    NEED_VIEW = 0x01,
    NEED_COLUMN = 0x02,       // a chosen column open to criteria (option flag and first further flag)
    NEED_ROOM = 0x04,         // fewer than FILTER_MAX_CRITERIA criteria in it
    NEED_ANY_TEXT = 0x08,
    NEED_ALL_TEXT = 0x10,
    NEED_ANY_SEL = 0x20,
    NEED_ALL_SEL = 0x40,
    NEED_DIRTY = 0x80,
    NEED_SORTABLE = 0x100,    // with a chosen column: the view sorts and the column is sortable
};
const struct {
    int nId;
    unsigned uNeeds;
} s_states[] = {
    {IDC_GRID_COLUMNS, NEED_VIEW},
    {IDC_FILTER_SORT, NEED_VIEW | NEED_SORTABLE},
    {IDC_FILTER_ANY_TEXT, NEED_VIEW | NEED_COLUMN | NEED_ROOM},
    {IDC_FILTER_ALL_TEXT, NEED_VIEW | NEED_COLUMN | NEED_ROOM},
    {IDC_FILTER_ANY_LIST, NEED_VIEW | NEED_COLUMN},
    {IDC_FILTER_ALL_LIST, NEED_VIEW | NEED_COLUMN},
    {IDC_FILTER_ANY_ADD, NEED_VIEW | NEED_COLUMN | NEED_ROOM | NEED_ANY_TEXT},
    {IDC_FILTER_ALL_ADD, NEED_VIEW | NEED_COLUMN | NEED_ROOM | NEED_ALL_TEXT},
    {IDC_FILTER_ANY_DELETE, NEED_VIEW | NEED_COLUMN | NEED_ANY_SEL},
    {IDC_FILTER_ALL_DELETE, NEED_VIEW | NEED_COLUMN | NEED_ALL_SEL},
    {IDC_FILTER_APPLY, NEED_VIEW | NEED_DIRTY},
    {IDOK, NEED_VIEW},
    {IDC_FILTER_REMOVE_ALL, NEED_VIEW},
    {IDC_GRID_FIND_NEXT, NEED_VIEW},
};
}  // namespace

const CDlgFilter::FILTER_SIDE CDlgFilter::s_sides[2] = {
    {1, IDC_FILTER_ANY_TEXT, IDC_FILTER_ANY_LIST, IDC_FILTER_ANY_ADD, IDC_FILTER_ANY_DELETE, IDC_FILTER_TO_ALL},
    {0, IDC_FILTER_ALL_TEXT, IDC_FILTER_ALL_LIST, IDC_FILTER_ALL_ADD, IDC_FILTER_ALL_DELETE, IDC_FILTER_TO_ANY},
};

CDlgFilter::CDlgFilter() : CTBLangDialog(IDD_FILTER, nullptr) {}

CDlgFilter::~CDlgFilter()
{
    // The window goes first: its last messages may still read the copy, and its position is
    // kept while the section names are still this class's.
    if (m_hWnd != nullptr)
        DestroyWindow();
    if (m_hCheck != nullptr)
        DeleteObject(m_hCheck);
}

CViewTable* CDlgFilter::TargetView() const
{
    return m_pTarget ? m_pTarget->GetView() : nullptr;
}

// A fresh copy of the window's view filters; without a window or view, none.
BOOL CDlgFilter::TakeCopy(CTableWindow* pWindow)
{
    m_filters.Free();
    m_pCopyView = nullptr;
    m_bDirty = FALSE;
    CViewTable* pView = pWindow ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return TRUE;
    if (!m_filters.Init(pView, pView->GetFilters()))
        return FALSE;
    m_pCopyView = pView;
    return TRUE;
}

BOOL CDlgFilter::Create(CTableWindow* pWindow, int nCol)
{
    m_nCol = nCol;
    m_pTarget = pWindow;
    if (!TakeCopy(pWindow))
        return FALSE;
    return CTBDialog::Create(IDD_FILTER, pWindow);
}

BOOL CDlgFilter::SetTarget(CTableWindow* pWindow, int nCol)
{
    if (pWindow != nullptr && pWindow == m_pTarget && pWindow->GetView() == m_pCopyView) {
        SetColumn(nCol);
        return TRUE;
    }
    m_pTarget = pWindow;
    m_nCol = -1;
    const BOOL bCopied = TakeCopy(pWindow);
    if (m_hWnd == nullptr) {
        m_nCol = nCol;
        return bCopied;
    }
    FillColumnLists();
    FillBothCriteria();
    SetCombineCaption();
    ShowRowCount();
    SetDlgItemTextA(m_hWnd, IDC_FILTER_MATCHES, "");
    SetColumn(nCol);
    SetWindowTextA(m_hWnd, GetCaption());
    RefreshControls();
    return bCopied;
}

void CDlgFilter::SetColumn(int nCol)
{
    if (m_hWnd == nullptr) {
        m_nCol = nCol;
        return;
    }
    SelectColumnInList(GetDlgItem(m_hWnd, IDC_GRID_COLUMNS), TargetView(), nCol);
    OnColumnChange();
}

void CDlgFilter::FillColumnLists()
{
    HWND hColumns = GetDlgItem(m_hWnd, IDC_GRID_COLUMNS);
    const int nItem = FillColumnList(hColumns, TargetView(), m_nCol);
    if (TargetView() != nullptr)
        SendMessageA(hColumns, CB_SETCURSEL, static_cast<WPARAM>(nItem >= 0 ? nItem : 0), 0);
    HWND hInsert = GetDlgItem(m_hWnd, IDC_FILTER_INSERT_LIST);
    FillColumnList(hInsert, TargetView(), -1);
    SendMessageA(hInsert, CB_SETCURSEL, 0, 0);
}

int CDlgFilter::CriteriaCount() const
{
    const CColumnFilter* pColumn = m_filters.GetColumnFilter(m_nCol);
    return pColumn ? pColumn->GetSize() : 0;
}

void CDlgFilter::OnColumnChange()
{
    SetDlgItemTextA(m_hWnd, IDC_FILTER_MATCHES, "");
    CViewTable* pView = TargetView();
    const int nOld = m_nCol;
    const int nNew = GetSelectedColumn(GetDlgItem(m_hWnd, IDC_GRID_COLUMNS), pView);
    m_nCol = nNew;
    if (pView != nullptr && nOld >= 0 && nOld < pView->GetColumnCount() && nNew >= 0) {
        // A text criterion means nothing in a number column.
        const BOOL bOldText = ColumnTypeIsTextual(pView->GetColumns().GetColumn(nOld)->GetDataType());
        const BOOL bNewText = ColumnTypeIsTextual(pView->GetColumns().GetColumn(nNew)->GetDataType());
        if (bOldText && !bNewText) {
            SetField(IDC_FILTER_ANY_TEXT, "");
            SetField(IDC_FILTER_ALL_TEXT, "");
        }
    }
    RefreshControls();
}

void CDlgFilter::SetField(int nId, const char* pszText)
{
    SetDlgItemTextA(m_hWnd, nId, pszText);
}

void CDlgFilter::SetDirty()
{
    m_bDirty = TRUE;
}

void CDlgFilter::AddCriterion(int nSide)
{
    const FILTER_SIDE& side = s_sides[nSide];
    CTBString strText;
    GetItemText(side.nText, strText);
    if (TargetView() == nullptr || m_nCol < 0 || CriteriaCount() >= FILTER_MAX_CRITERIA) {
        RefusalBeep();
        return;
    }
    if (strText.IsBlank()) {
        SetFocus(GetDlgItem(m_hWnd, IDC_FILTER_ANY_TEXT));
        return;
    }
    const int nPos = m_filters.AddFilter(m_nCol, strText, /*bFlag=*/FALSE, side.nGroup, /*bQuote=*/FALSE);
    if (nPos < 0)
        return;     // no criterion, or one already there
    // The new criterion moves the later ones of its column in both groups.
    FillCriteria(1 - nSide);
    FillCriteria(nSide, m_nCol, nPos);
    SetDirty();
    Count();
    SetField(side.nText, "");
    SetFocus(GetDlgItem(m_hWnd, side.nText));
    RefreshControls();
}

ITFilter* CDlgFilter::FilterOf(const FILTER_ITEM& item) const
{
    const CColumnFilter* pColumn = m_filters.GetColumnFilter(item.nCol);
    return pColumn && item.nPos >= 0 && item.nPos < pColumn->GetSize() ? (*pColumn)[item.nPos] : nullptr;
}

BOOL CDlgFilter::ReplaceCriterion(int nSide, const FILTER_ITEM& item, const CTBString& strText)
{
    CColumnFilter* pColumn = m_filters.GetColumnFilter(item.nCol);
    ITFilter* pOld = FilterOf(item);
    if (pColumn == nullptr || pOld == nullptr || !m_filters.IsValidCriteria(item.nCol, strText))
        return FALSE;
    const BOOL bFlag = pOld->GetFlag();
    pColumn->DeleteAt(item.nPos);
    const int nPos = m_filters.AddFilter(item.nCol, strText, bFlag, s_sides[nSide].nGroup, /*bQuote=*/FALSE);
    SetField(s_sides[nSide].nText, "");
    SetDirty();
    FillCriteria(1 - nSide);
    FillCriteria(nSide, item.nCol, nPos);
    Count();
    return TRUE;
}

void CDlgFilter::OnListSelect(int nSide)
{
    FILTER_ITEM item = {};
    if (SelectedItem(nSide, &item) < 0)
        return;
    ITFilter* pFilter = FilterOf(item);
    CColumnFilter* pColumn = m_filters.GetColumnFilter(item.nCol);
    if (pFilter == nullptr || pColumn == nullptr)
        return;
    SelectColumnInList(GetDlgItem(m_hWnd, IDC_GRID_COLUMNS), TargetView(), item.nCol);
    OnColumnChange();
    CTBString strText;
    pColumn->FormatFilterText(strText, item.nPos);
    SetField(s_sides[1 - nSide].nText, "");
    SetField(s_sides[nSide].nText, strText);
    m_nActiveSide = nSide;
    RefreshControls();
}

void CDlgFilter::OnFieldLeft(int nSide)
{
    const FILTER_SIDE& side = s_sides[nSide];
    if (GetFocus() == GetDlgItem(m_hWnd, side.nAdd))
        return;
    CTBString strText;
    GetItemText(side.nText, strText);
    FILTER_ITEM item = {};
    if (!strText.IsBlank() && SelectedItem(nSide, &item) >= 0)
        ReplaceCriterion(nSide, item, strText);
    RefreshControls();
}

void CDlgFilter::DeleteCriterion(int nSide, BOOL bFocusField)
{
    const FILTER_SIDE& side = s_sides[nSide];
    FILTER_ITEM item = {};
    const int nIndex = SelectedItem(nSide, &item);
    CColumnFilter* pColumn = m_filters.GetColumnFilter(item.nCol);
    if (nIndex < 0 || pColumn == nullptr || !pColumn->DeleteAt(item.nPos))
        return;
    FillCriteria(1 - nSide);
    FillCriteria(nSide);
    const int nCount = static_cast<int>(m_items[nSide].size());
    if (nCount > 0)
        SendDlgItemMessageA(m_hWnd, side.nList, LB_SETCURSEL, static_cast<WPARAM>(nIndex < nCount ? nIndex : nCount - 1), 0);
    SetField(side.nText, "");
    SetDirty();
    Count();
    if (bFocusField)
        SetFocus(GetDlgItem(m_hWnd, side.nText));
    RefreshControls();
}

void CDlgFilter::MoveCriterion(int nSide)
{
    FILTER_ITEM item = {};
    ITFilter* pFilter = SelectedItem(nSide, &item) >= 0 ? FilterOf(item) : nullptr;
    if (pFilter == nullptr)
        return;
    pFilter->SetGroup(s_sides[1 - nSide].nGroup);
    FillBothCriteria();
    SetField(s_sides[nSide].nText, "");
    SetDirty();
    Count();
    RefreshControls();
}

void CDlgFilter::ToggleFlag()
{
    CViewTable* pView = TargetView();
    FILTER_ITEM item = {};
    ITFilter* pFilter = SelectedItem(0, &item) >= 0 ? FilterOf(item) : nullptr;
    if (pView == nullptr || pView->GetCellEventMode() != 1 || pFilter == nullptr)
        return;
    pFilter->SetFlag(!pFilter->GetFlag());
    SetDirty();
    InvalidateRect(GetDlgItem(m_hWnd, IDC_FILTER_ANY_LIST), nullptr, TRUE);
    RefreshControls();
}

void CDlgFilter::RemoveAll()
{
    m_filters.RemoveAllFilters();
    SetDirty();
    FillBothCriteria();
    SetField(IDC_FILTER_MATCHES, "");
    SetField(IDC_FILTER_ANY_TEXT, "");
    SetField(IDC_FILTER_ALL_TEXT, "");
    RefreshControls();
    SetFocus(GetDlgItem(m_hWnd, IDC_FILTER_ANY_TEXT));
}

void CDlgFilter::SwitchCombine()
{
    if (!m_filters.IsBound())
        return;
    m_filters.SetCombine(!m_filters.GetCombine());
    SetDirty();
    Count();
    SetCombineCaption();
    RefreshControls();
}

void CDlgFilter::Count()
{
    CViewTable* pView = TargetView();
    if (pView == nullptr || !m_filters.IsBound())
        return;
    CTBString strCount;
    {
        CWaitPointer wait;
        m_filters.SetMode(FILTER_COUNT);
        m_filters.ClearRowRange();
        pView->ApplyFilters(&m_filters);
        strCount.Format("%ld", static_cast<long>(m_filters.GetMatchCount()));
    }
    SetField(IDC_FILTER_MATCHES, strCount);
    if (m_pTarget->m_hWnd != nullptr)
        m_pTarget->GetHeaderPane().Invalidate(nullptr, TRUE);
}

void CDlgFilter::FindNextMatch()
{
    CViewTable* pView = TargetView();
    if (pView == nullptr || !m_filters.IsBound() || !TakePendingText())
        return;
    int nFound = -1;
    {
        CWaitPointer wait;
        const int nFirst = m_pTarget->GetCurrentRow() + 1;   // 0 without a current row
        m_filters.SetMode(FILTER_FIND);
        m_filters.SetRowRange(nFirst, -1);
        pView->ApplyFilters(&m_filters);
        nFound = m_filters.GetFoundIndex();
        if (nFound < 0 && nFirst > 0) {
            m_filters.ClearRowRange();
            pView->ApplyFilters(&m_filters);
            nFound = m_filters.GetFoundIndex();
        }
    }
    if (nFound >= 0) {
        m_pTarget->SetCurrentCell(nFound, 0);
        m_pTarget->SelectRow(nFound, 0, /*bOpenEditor=*/FALSE);
    } else {
        m_pTarget->Beep();
        m_filters.ClearRowRange();
    }
    SetFocus(GetDlgItem(m_hWnd, IDC_FILTER_ANY_TEXT));
}

void CDlgFilter::SortByColumn()
{
    CViewTable* pView = TargetView();
    if (pView == nullptr || m_nCol < 0 || m_nCol >= pView->GetColumnCount())
        return;
    CSortColumns keys(30);
    keys.Add(m_nCol, SORT_ASCENDING);
    m_pTarget->FireSortChanging(&keys, &pView->GetSortColumns());
    // The sort re-targets nothing, but a sink may have closed the grid.
    pView = TargetView();
    if (pView == nullptr)
        return;
    CWaitPointer wait;
    pView->Sort(keys, pView->GetGroupColumns().GetCount() > 0);
}

// The text left in the any-of field counts as a criterion: replacing the selected one or added.
BOOL CDlgFilter::TakePendingText()
{
    CTBString strText;
    GetItemText(IDC_FILTER_ANY_TEXT, strText);
    if (strText.IsBlank())
        return TRUE;
    if (m_nCol < 0 || !m_filters.IsValidCriteria(m_nCol, strText)) {
        RefusalBeep();
        HWND hField = GetDlgItem(m_hWnd, IDC_FILTER_ANY_TEXT);
        SetFocus(hField);
        SendMessageA(hField, EM_SETSEL, 0, -1);
        return FALSE;
    }
    FILTER_ITEM item = {};
    if (SelectedItem(0, &item) >= 0)
        return ReplaceCriterion(0, item, strText);
    if (CriteriaCount() >= FILTER_MAX_CRITERIA) {
        RefusalBeep();
        return FALSE;
    }
    if (m_filters.AddFilter(m_nCol, strText, /*bFlag=*/FALSE, /*nGroup=*/1, /*bQuote=*/FALSE) >= 0) {
        SetDirty();
        FillBothCriteria();
    }
    SetField(IDC_FILTER_ANY_TEXT, "");
    return TRUE;
}

BOOL CDlgFilter::Apply()
{
    CViewTable* pView = TargetView();
    if (pView == nullptr || !m_filters.IsBound()) {
        RefreshControls();
        return TRUE;
    }
    if (!TakePendingText())
        return FALSE;
    if (!m_bDirty)
        return TRUE;
    std::unique_ptr<CTableFilters> pCopy(new (std::nothrow) CTableFilters);
    if (!pCopy || !pCopy->Init(pView, &m_filters))
        return FALSE;
    const BOOL bSet = !pCopy->IsEmpty();
    {
        CWaitPointer wait;
        pCopy->ClearRowRange();
        if (bSet) {
            pCopy->SetMode(FILTER_MARK);
            CTableFilters* pFilters = pCopy.release();
            pView->SetFilters(pFilters);        // the view owns them now
            pView->ApplyFilters(pFilters);
        } else {
            pCopy->SetMode(FILTER_UNMARK_ALL);
            pView->ApplyFilters(pCopy.get());
            pView->SetFilters(nullptr);
        }
    }
    // Marked rows alone show while a filter is set.
    if (bSet && pView->GetSumMode() == 0)
        pView->SetSumMode(1);
    else if (!bSet && pView->GetSumMode() != 0)
        pView->SetSumMode(0);
    m_bDirty = FALSE;
    ShowRowCount();
    SetFocus(GetDlgItem(m_hWnd, IDC_FILTER_ANY_TEXT));
    Count();
    RefreshControls();
    return TRUE;
}

void CDlgFilter::AppendToActiveField(const char* pszText)
{
    const int nId = s_sides[m_nActiveSide].nText;
    CTBString strText;
    GetItemText(nId, strText);
    strText += pszText;
    SetField(nId, strText);
    RefreshControls();
}

void CDlgFilter::ShowRowCount()
{
    CViewTable* pView = TargetView();
    CTBString strRows;
    if (pView != nullptr) {
        CRowStatistics stats;
        pView->GetRowStatistics(&stats);
        strRows.Format("%ld", static_cast<long>(stats.nRows));
    }
    SetField(IDC_FILTER_ROWS, strRows);
}

void CDlgFilter::SetCombineCaption()
{
    CTBString strCaption;
    CTBApp* pApp = GetTBApp();
    strCaption.LoadStringOrEmpty(pApp ? pApp->GetModule() : nullptr,
                                 m_filters.GetCombine() ? IDS_FILTER_MATCH_ANY : IDS_FILTER_MATCH_ALL);
    SetField(IDC_FILTER_COMBINE, strCaption);
}

void CDlgFilter::SwitchSize()
{
    m_bExpanded = !m_bExpanded;
    RECT rcUnits = {0, 0, 385, m_bExpanded ? 230 : 189};
    MapDialogRect(m_hWnd, &rcUnits);
    // The template's size is the client area's; the frame comes on top.
    RECT rcWindow = {}, rcClient = {};
    GetWindowRect(m_hWnd, &rcWindow);
    GetClientRect(m_hWnd, &rcClient);
    const int cxFrame = (rcWindow.right - rcWindow.left) - rcClient.right;
    const int cyFrame = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcUnits.right + cxFrame, rcUnits.bottom + cyFrame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetSizeCaption();
}

void CDlgFilter::SetSizeCaption()
{
    CTBString strCaption;
    CTBApp* pApp = GetTBApp();
    strCaption.LoadStringOrEmpty(pApp ? pApp->GetModule() : nullptr, m_bExpanded ? IDS_FILTER_LESS : IDS_FILTER_MORE);
    SetField(IDC_FILTER_MORE, strCaption);
}

void CDlgFilter::RefreshControls()
{
    if (m_hWnd == nullptr)
        return;
    CViewTable* pView = TargetView();
    const CTableColumn* pColumn =
        pView && m_nCol >= 0 && m_nCol < pView->GetColumnCount() ? pView->GetColumns().GetColumn(m_nCol) : nullptr;
    CTBString strAny, strAll;
    GetItemText(IDC_FILTER_ANY_TEXT, strAny);
    GetItemText(IDC_FILTER_ALL_TEXT, strAll);
    unsigned uHave = 0;
    if (pView != nullptr && m_filters.IsBound())
        uHave |= NEED_VIEW;
    if (pColumn && pColumn->m_bOptionFlag && pColumn->m_bFlag1)
        uHave |= NEED_COLUMN;
    if (CriteriaCount() < FILTER_MAX_CRITERIA)
        uHave |= NEED_ROOM;
    if (strAny.GetLength() > 0)
        uHave |= NEED_ANY_TEXT;
    if (strAll.GetLength() > 0)
        uHave |= NEED_ALL_TEXT;
    if (SelectedItem(0, nullptr) >= 0)
        uHave |= NEED_ANY_SEL;
    if (SelectedItem(1, nullptr) >= 0)
        uHave |= NEED_ALL_SEL;
    if (m_bDirty)
        uHave |= NEED_DIRTY;
    if (pColumn ? (pView->m_bAllowSortDialog && pColumn->m_bSortable) : TRUE)
        uHave |= NEED_SORTABLE;
    for (const auto& state : s_states)
        EnableItem(state.nId, (uHave & state.uNeeds) == state.uNeeds);
}

CTBString CDlgFilter::GetSettingsSection()
{
    return GridDialogSection("DlgFilter", TargetView());
}

CTBString CDlgFilter::GetCaption()
{
    return GridDialogCaption(IDS_FILTER_CAPTION, TargetView());
}

CTBString CDlgFilter::GetLangSection(int nLanguage)
{
    return GridDialogLangSection("DlgFilter", nLanguage);
}

void CDlgFilter::OnLanguageChanged(int nLanguage)
{
    CTBLangDialog::OnLanguageChanged(nLanguage);
    if (m_hWnd == nullptr)
        return;
    // Titles are translated: the lists follow, keeping the column.
    FillColumnLists();
    OnColumnChange();
    FillBothCriteria();
    SetCombineCaption();
    SetSizeCaption();
    ShowRowCount();
}

BOOL CDlgFilter::OnInitDialog()
{
    FillColumnLists();
    OnColumnChange();
    FillBothCriteria();
    SetCombineCaption();
    ShowRowCount();
    SetField(IDC_FILTER_MATCHES, "");
    if (m_hCheck == nullptr) {
        CTBApp* pApp = GetTBApp();
        m_hCheck = LoadBitmapA(pApp ? pApp->GetModule() : nullptr, MAKEINTRESOURCEA(IDB_FILTER_CHECK));
    }
    m_bExpanded = TRUE;
    SwitchSize();
    RefreshControls();
    return FALSE;
}

BOOL CDlgFilter::OnCmdMsg(UINT nId, int nCode)
{
    for (int nSide = 0; nSide < 2; ++nSide) {
        const FILTER_SIDE& side = s_sides[nSide];
        if (static_cast<int>(nId) == side.nText) {
            if (nCode == EN_SETFOCUS)
                m_nActiveSide = nSide;
            else if (nCode == EN_KILLFOCUS)
                OnFieldLeft(nSide);
            else if (nCode == EN_CHANGE)
                RefreshControls();
            return TRUE;
        }
        if (static_cast<int>(nId) == side.nList) {
            if (nCode == LBN_SELCHANGE)
                OnListSelect(nSide);
            else if (nCode == LBN_SETFOCUS)
                m_nActiveSide = nSide;
            return TRUE;
        }
        if (nCode != BN_CLICKED)
            continue;
        if (static_cast<int>(nId) == side.nAdd) {
            AddCriterion(nSide);
            return TRUE;
        }
        if (static_cast<int>(nId) == side.nDelete) {
            DeleteCriterion(nSide, /*bFocusField=*/TRUE);
            return TRUE;
        }
        if (static_cast<int>(nId) == side.nMove) {
            MoveCriterion(nSide);
            return TRUE;
        }
    }
    if (nId == IDC_GRID_COLUMNS) {
        if (nCode == CBN_SELCHANGE)
            OnColumnChange();
        return TRUE;
    }
    if (nCode != BN_CLICKED)
        return CTBLangDialog::OnCmdMsg(nId, nCode);
    for (const auto& op : s_operators)
        if (static_cast<int>(nId) == op.nId) {
            AppendToActiveField(op.pszText);
            return TRUE;
        }
    switch (nId) {
    case IDC_FILTER_INSERT: {
        CTBString strTitle;
        GetItemText(IDC_FILTER_INSERT_LIST, strTitle);
        AppendToActiveField(strTitle);
        return TRUE;
    }
    case IDC_FILTER_CLEAR:
        SetField(s_sides[m_nActiveSide].nText, "");
        RefreshControls();
        return TRUE;
    case IDC_FILTER_REMOVE_ALL: RemoveAll(); return TRUE;
    case IDC_FILTER_COMBINE: SwitchCombine(); return TRUE;
    case IDC_FILTER_MORE: SwitchSize(); return TRUE;
    case IDC_FILTER_COUNT: Count(); return TRUE;
    case IDC_GRID_FIND_NEXT: FindNextMatch(); return TRUE;
    case IDC_FILTER_SORT: SortByColumn(); return TRUE;
    case IDC_FILTER_APPLY: Apply(); return TRUE;
    case IDOK:
        if (Apply())
            DestroyWindow();
        return TRUE;
    case IDCANCEL:
        // Escape in the any-of field takes back what was typed, not the dialog.
        if (GetFocus() == GetDlgItem(m_hWnd, IDC_FILTER_ANY_TEXT))
            SetField(IDC_FILTER_ANY_TEXT, "");
        else
            DestroyWindow();
        return TRUE;
    }
    return CTBLangDialog::OnCmdMsg(nId, nCode);
}

void CDlgFilter::OnClose()
{
    Apply();
    DestroyWindow();
}

LRESULT CDlgFilter::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_VKEYTOITEM && reinterpret_cast<HWND>(lParam) == GetDlgItem(m_hWnd, IDC_FILTER_ANY_LIST)) {
        if (LOWORD(wParam) == VK_DELETE) {
            DeleteCriterion(0, /*bFocusField=*/FALSE);
            return -2;
        }
        if (LOWORD(wParam) == VK_SPACE) {
            ToggleFlag();
            return -2;
        }
        return -1;
    }
    return CTBLangDialog::WindowProc(uMsg, wParam, lParam);
}
