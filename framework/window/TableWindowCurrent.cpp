// The grid's current row (a line offset from the top row, parked around every change of the
// pixels under it), the current cell and the in-place editor.
#include "framework/window/TableWindow.h"

#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "platform/win/user/Controls.h"

namespace
{
// The editor stands inside its cell, clear of the grid lines and the focus frame.
const int EDIT_INSET_X = 3;
const int EDIT_INSET_Y = 2;
}

// ---- The current row ------------------------------------------------------------------------

int CTableWindow::GetCurrentRow() const
{
    int nOffset = GetCurrentOffset();
    return nOffset < 0 ? -1 : m_nTopRow + nOffset;
}

// The view keeps no separate insert and delete switches: a view whose rows may be pasted may
// take a typed row, one whose rows may be cut may lose one.
BOOL CTableWindow::ViewAllowsInsert() const
{
    return m_pView && m_pView->m_bAllowPaste;
}

BOOL CTableWindow::ViewAllowsDelete() const
{
    return m_pView && m_pView->m_bAllowCut;
}

BOOL CTableWindow::IsValidCurrentRow(int nOffset) const
{
    if (!m_pView)
        return FALSE;
    if (nOffset >= 0)
        // A line below the view's last row holds nothing to be current on.
        return nOffset < GetWholeLines() && m_nTopRow + nOffset < GetRowCount();
    if (nOffset != TW_APPEND_LINE || !ViewAllowsInsert())
        return FALSE;
    return GetRowCount() == 0 || GetAppendLineOffset() >= 0;
}

void CTableWindow::DrawFocusFrames(int nOffset)
{
    HDC hdc = m_hWnd ? ::GetDC(m_hWnd) : nullptr;
    if (!hdc)
        return;
    PrepareDC(hdc);
    m_fixedPane.DrawFocus(hdc, nOffset);
    m_scrollPane.DrawFocus(hdc, nOffset);
    ::ReleaseDC(m_hWnd, hdc);
    m_bFocusDrawn = TRUE;
}

void CTableWindow::EraseFocusFrames()
{
    HDC hdc = m_hWnd ? ::GetDC(m_hWnd) : nullptr;
    if (hdc) {
        PrepareDC(hdc);
        m_fixedPane.EraseFocus(hdc);
        m_scrollPane.EraseFocus(hdc);
        ::ReleaseDC(m_hWnd, hdc);
    }
    m_bFocusDrawn = FALSE;
}

void CTableWindow::ParkCurrentRow()
{
    if (m_bMoving) {
        EraseMoveImage(nullptr);
        return;
    }
    if (m_bResizing) {
        EraseResizeLine();
        return;
    }
    if (!m_bParked)
        m_nSavedOffset = m_nCurrentOffset;
    // The edit is written while the row it belongs to is still current. The write's own
    // repaint parks and restores on the way, so the flag is noted only afterwards; a nested
    // park keeps what the outer one noted.
    BOOL bWasOpen = IsEditorShowing();
    if (bWasOpen)
        CloseEditor(TRUE);
    m_bEditorWasOpen = bWasOpen || (m_bParked && m_bEditorWasOpen);
    m_nCurrentOffset = TW_NO_ROW;
    EraseFocusFrames();
    m_bParked = TRUE;
}

void CTableWindow::RestoreCurrentRow(int nOffset)
{
    if (m_bMoving) {
        DrawMoveImage();
        return;
    }
    if (m_bResizing) {
        DrawResizeLine();
        return;
    }
    if (!m_bParked)
        return;
    int nAppend = GetAppendLineOffset();
    int nLimit = nAppend >= 0 ? nAppend : GetWholeLines();
    if (nOffset >= nLimit) {
        nOffset = nLimit - 1;
        if (nOffset < 0 && IsValidCurrentRow(TW_APPEND_LINE))
            nOffset = TW_APPEND_LINE;
    }
    if (nOffset == TW_APPEND_LINE && !IsValidCurrentRow(TW_APPEND_LINE))
        nOffset = nLimit - 1;
    if (nOffset == TW_NO_ROW && nLimit - 1 >= 0)
        nOffset = 0;
    m_nCurrentOffset = nOffset;
    m_bParked = FALSE;
    if (m_hWnd) {
        if (nOffset >= 0 || nOffset == TW_APPEND_LINE)
            DrawFocusFrames(nOffset);
        // Coming back to the same no-row after a scroll is no move: the owner heard of it.
        if (nOffset >= 0 || nOffset != m_nNotifiedRow)
            NotifyCurrentRow();
    }
    BOOL bReopen = m_bEditorWasOpen && nOffset >= 0 && m_nEditorCol >= 0;
    m_bEditorWasOpen = FALSE;
    if (bReopen)
        StartEdit(nOffset, m_nEditorCol);
}

void CTableWindow::SetCurrentRowOffset(int nOffset, int nFlag)
{
    (void)nFlag;
    if (!m_hWnd || !IsValidCurrentRow(nOffset))
        return;
    m_bParked = FALSE;
    if (nOffset == m_nCurrentOffset && m_bFocusDrawn)
        return;
    BOOL bWasOpen = IsEditorShowing();
    if (bWasOpen)
        CloseEditor(TRUE);
    EraseFocusFrames();
    m_nCurrentOffset = nOffset;
    DrawFocusFrames(nOffset);
    NotifyCurrentRow();
    if (bWasOpen && nOffset >= 0 && nOffset < GetWholeLines() && m_nEditorCol >= 0)
        StartEdit(nOffset, m_nEditorCol);
    if (m_headerPane.IsDragActive())
        m_headerPane.DragTo(nOffset);
}

void CTableWindow::NotifyCurrentRow()
{
    if (!m_pView)
        return;
    int nOffset = m_nCurrentOffset;
    if (nOffset < 0) {
        // Every move to no row is told: the owner may have acted on the row in between.
        m_nNotifiedRow = nOffset;
        CViewRow empty(m_pView);
        FireCurrentRowChanged(&empty);
        return;
    }
    CViewRow row(m_pView);
    int nRow = nOffset;
    int nCol = -1;
    if (!ResolveCell(&row, &nRow, &nCol, TRUE) || !row.IsValid())
        return;
    if (nRow == m_nNotifiedRow)
        return;
    m_nNotifiedRow = nRow;
    FireCurrentRowChanged(&row);
}

BOOL CTableWindow::MoveCurrentRow(int nDirection)
{
    if (nDirection != 0 && nDirection != 1)
        return FALSE;
    if (IsEditorShowing() && MoveEditorToNextRow(nDirection))
        return TRUE;
    int nOffset = GetCurrentOffset();
    int nAppend = GetAppendLineOffset();
    if (nDirection == 1) {
        if (nOffset == TW_APPEND_LINE)
            return TRUE;
        if (nAppend < 1) {
            if (nOffset >= GetWholeLines() - 1)
                return FALSE;
            SetCurrentRowOffset(nOffset + 1);
            return TRUE;
        }
        if (nOffset < nAppend - 1)
            SetCurrentRowOffset(nOffset + 1);
        else if (nOffset == nAppend - 1 && IsValidCurrentRow(TW_APPEND_LINE))
            SetCurrentRowOffset(TW_APPEND_LINE);
        return TRUE;
    }
    if (nOffset >= 1) {
        SetCurrentRowOffset(nOffset - 1);
        return TRUE;
    }
    if (nOffset == TW_APPEND_LINE) {
        int nLast = (nAppend >= 0 ? nAppend : GetWholeLines()) - 1;
        if (nLast >= 0)
            SetCurrentRowOffset(nLast);
        return TRUE;
    }
    return FALSE;
}

// ---- Cells ----------------------------------------------------------------------------------

BOOL CTableWindow::IsCellEditable(int nRow, int nDisplayCol)
{
    if (!m_pView || nRow < 0 || nDisplayCol < 0 || nDisplayCol >= m_pView->GetColumnOrder().GetCount())
        return FALSE;
    CTableRow* pNode = m_pView->GetRowTree().GetNodeAt(nRow);
    if (!pNode || pNode->Kind() != NODE_ROW || (pNode->m_bFlags & ROW_EDITABLE) == 0)
        return FALSE;
    const CTableColumn* pColumn = m_pView->GetColumnOrder().GetColumn(nDisplayCol);
    return pColumn && pColumn->m_bEditable && !pColumn->m_bHidden;
}

BOOL CTableWindow::ResolveCell(CViewRow* pRow, int* pRowIndex, int* pCol, BOOL bRelative)
{
    if (!m_pView || !pRowIndex || !pCol)
        return FALSE;
    int nRow = *pRowIndex;
    if (nRow < 0) {
        nRow = -1;
    } else if (bRelative) {
        nRow += m_nTopRow;
        if (nRow > GetLastShownRow())
            return FALSE;
    }
    int nCol = *pCol;
    if (nCol != -1) {
        if (nCol < 0 || nCol >= m_pView->GetColumnOrder().GetCount())
            return FALSE;
        nCol = m_pView->GetColumnOrder().GetColumnIndex(nCol);
    }
    if (nRow >= 0) {
        // The cache holds the lines on screen; it may have been cleared since the last paint.
        CViewRow* pCached = GetShownRowCache().GetRow(nRow);
        if (!pCached)
            return FALSE;
        if (pRow)
            *pRow = *pCached;
    }
    *pRowIndex = nRow;
    *pCol = nCol;
    return TRUE;
}

BOOL CTableWindow::GetCellRect(int nOffset, int nDisplayCol, RECT* pRect) const
{
    if (!pRect)
        return FALSE;
    ::SetRectEmpty(pRect);
    const CTableWindowArea* pPane = m_fixedPane.ContainsColumn(nDisplayCol)    ? &m_fixedPane
                                    : m_scrollPane.ContainsColumn(nDisplayCol) ? &m_scrollPane
                                                                               : nullptr;
    RECT rcLine;
    RECT rcColumn;
    if (!pPane || !pPane->GetLineRect(nOffset, &rcLine))
        return FALSE;
    BOOL bWhole = pPane->GetColumnRect(nDisplayCol, &rcColumn);
    *pRect = {rcColumn.left, rcLine.top, rcColumn.right, rcLine.bottom};
    const RECT& rcCells = pPane->GetCellRect();
    return bWhole && pRect->right > pRect->left && pRect->bottom <= rcCells.bottom;
}

BOOL CTableWindow::SetCurrentCell(int nRow, int nDisplayCol)
{
    int nCount = GetRowCount();
    if (nRow >= nCount)
        nRow = nCount - 1;
    if (nRow < 0)
        nRow = 0;
    int nTop = m_nTopRow;
    int nWhole = GetWholeLines();
    if (nRow < nTop)
        nTop = nRow;
    else if (nRow > nTop + nWhole - 1)
        nTop = nRow - nWhole + 1;
    if (nTop < 0)
        nTop = 0;
    ParkCurrentRow();
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    if (pPane && !pPane->IsColumnVisible(nDisplayCol))
        pPane->EnsureColumnVisible(nDisplayCol);
    if (nTop != m_nTopRow)
        SetTopRow(nTop, !IsRedrawLocked(), 0);
    // The current row keeps its screen line; callers that want the row itself move it after.
    RestoreCurrentRow(m_nSavedOffset);
    RECT rc;
    return GetCellRect(nRow - m_nTopRow, nDisplayCol, &rc);
}

BOOL CTableWindow::SelectRow(int nRow, int nDisplayCol, BOOL bOpenEditor)
{
    int nCount = GetRowCount();
    if (!m_hWnd || nCount <= 0)
        return FALSE;
    if (nRow >= nCount)
        nRow = nCount - 1;
    if (nRow < 0)
        nRow = 0;
    ScrollToRow(nRow, -3);
    int nOffset = nRow - m_nTopRow;
    if (nOffset < 0 || nOffset >= GetWholeLines())
        return FALSE;
    SetCurrentRowOffset(nOffset);
    if (bOpenEditor && IsCellEditable(nRow, nDisplayCol))
        StartEdit(nOffset, nDisplayCol);
    return TRUE;
}

BOOL CTableWindow::DeleteRowAt(int nOffset)
{
    if (!ViewAllowsDelete())
        return FALSE;
    if (nOffset < 0) {
        Beep();
        return FALSE;
    }
    return m_pView->GetRowTree().RemoveAt(m_nTopRow + nOffset) != 0;
}

int CTableWindow::CellClick(int nOffset, int nDisplayCol)
{
    CViewRow row(m_pView);
    int nRow = nOffset;
    int nCol = nDisplayCol;
    if (!ResolveCell(&row, &nRow, &nCol, TRUE))
        return 0;
    int nHandled = 0;
    FireCellClick(&row, nCol, &nHandled);
    return nHandled;
}

int CTableWindow::CellRightClick(int nOffset, int nDisplayCol)
{
    CViewRow row(m_pView);
    int nRow = nOffset;
    int nCol = nDisplayCol;
    if (!ResolveCell(&row, &nRow, &nCol, TRUE))
        return 0;
    int nHandled = 0;
    FireCellRightClick(&row, nCol, &nHandled);
    return nHandled;
}

// ---- The in-place editor --------------------------------------------------------------------

BOOL CTableWindow::IsEditorShowing() const
{
    HWND hEdit = m_editor.GetSafeHwnd();
    return hEdit && ::IsWindowVisible(hEdit);
}

void CTableWindow::SetEditorText(const CTBString& strText)
{
    HWND hEdit = m_editor.GetSafeHwnd();
    if (!hEdit)
        return;
    // The editor reports our own text as a change; it is not the user's.
    m_bSettingEditText = TRUE;
    ::SetWindowTextA(hEdit, strText);
    m_bSettingEditText = FALSE;
}

BOOL CTableWindow::StartEdit(int nOffset, int nDisplayCol)
{
    if (!m_hWnd || !m_pView || IsColumnDragActive() || nOffset < 0 || nOffset != GetCurrentOffset())
        return FALSE;
    int nRow = m_nTopRow + nOffset;
    if (!IsCellEditable(nRow, nDisplayCol))
        return FALSE;
    if (IsEditorShowing())
        CloseEditor(TRUE);
    RECT rc;
    if (!GetCellRect(nOffset, nDisplayCol, &rc)) {
        UpdateNow();
        SetCurrentCell(nRow, nDisplayCol);
        nOffset = GetCurrentOffset();
        if (nOffset < 0)
            return FALSE;
        GetCellRect(nOffset, nDisplayCol, &rc);
    }
    ::InflateRect(&rc, -EDIT_INSET_X, -EDIT_INSET_Y);

    CViewRow row(m_pView);
    int nResolved = nOffset;
    int nCol = nDisplayCol;
    if (!ResolveCell(&row, &nResolved, &nCol, TRUE))
        return FALSE;
    const CTableColumn* pColumn = m_pView->GetColumns().GetColumn(nCol);
    if (!pColumn)
        return FALSE;
    CTBString strText;
    row.GetText(strText, nCol);
    BOOL bFraction = row.GetNode() && row.GetNode()->IsFraction(nCol);
    m_nEditType = pColumn->GetDataType();
    m_nEditDecimals = pColumn->GetDecimals(bFraction);
    m_bEditTypeSet = TRUE;
    m_editor.SetColumnType(m_nEditType, m_nEditDecimals);

    if (m_editor.GetSafeHwnd()) {
        SetEditorText(strText);
    } else {
        m_bSettingEditText = TRUE;
        BOOL bMade = m_editor.Create(1, strText, rc, this, IsMirrored() ? ES_RIGHT : 0, 0);
        m_bSettingEditText = FALSE;
        if (!bMade)
            return FALSE;
    }
    m_nEditorCol = m_nEditedCol = m_nStickyCol = nDisplayCol;
    m_nStickyRow = nOffset;

    HWND hEdit = m_editor.GetSafeHwnd();
    ::SendMessageA(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()), 0);
    ::SetWindowPos(hEdit, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetFocus(hEdit);
    ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
    ::SendMessageA(hEdit, EM_LIMITTEXT, static_cast<WPARAM>(pColumn->m_nSize > 1 ? pColumn->m_nSize - 1 : 1), 0);
    m_bEditChanged = FALSE;
    return TRUE;
}

void CTableWindow::CloseEditor(BOOL bCommit)
{
    if (!IsEditorShowing())
        return;
    if (!bCommit || GetCurrentOffset() < 0)
        m_nEditedCol = -1;
    m_nStickyRow = -1;
    if (m_hWnd)
        ::SetFocus(m_hWnd);
    // The focus never reached the editor (another application is active): end the edit here.
    if (IsEditorShowing())
        EndEdit();
}

BOOL CTableWindow::ResolveCurrentEditCell(CViewRow* pRow, int* pCol)
{
    int nRow = GetCurrentOffset();
    *pCol = m_nEditedCol;
    return nRow >= 0 && ResolveCell(pRow, &nRow, pCol, TRUE);
}

void CTableWindow::BeginEdit()
{
    if (m_nEditedCol >= 0 && IsEditorShowing())
        OfferEditText(TRUE);
}

void CTableWindow::EditChanged()
{
    if (m_bSettingEditText || m_nEditedCol < 0 || !IsEditorShowing())
        return;
    m_bEditChanged = TRUE;
    OfferEditText(FALSE);
}

// The sinks see the editor's text as it starts or changes; a text they replace shows at once.
void CTableWindow::OfferEditText(BOOL bBegin)
{
    CViewRow row(m_pView);
    int nCol = -1;
    if (!ResolveCurrentEditCell(&row, &nCol))
        return;
    CTBString strText = m_editor.GetWindowText();
    const CTBString strBefore = strText;
    if (bBegin)
        FireBeginEdit(&row, nCol, &strText);
    else
        FireEditChange(&row, nCol, &strText);
    if (strText != strBefore)
        SetEditorText(strText);
}

void CTableWindow::EndEdit()
{
    if (!IsEditorShowing())
        return;
    HWND hEdit = m_editor.GetSafeHwnd();
    const UINT uHide = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    if (m_nEditedCol < 0) {
        // A cancelled edit: the text is dropped.
        ::SetWindowPos(hEdit, nullptr, 0, 0, 0, 0, uHide);
        m_bEditChanged = FALSE;
        return;
    }
    CTBString strText = m_editor.GetWindowText();
    CViewRow row(m_pView);
    int nCol = -1;
    int nRow = GetCurrentRow();
    BOOL bResolved = ResolveCurrentEditCell(&row, &nCol);
    BOOL bReplaced = FALSE;
    if (bResolved) {
        CTBString strBefore = strText;
        FireEndEdit(&row, nCol, &strText);
        bReplaced = strText != strBefore;
        if (bReplaced)
            SetEditorText(strText);
    }
    m_nEditedCol = -1;
    ::SetWindowPos(hEdit, nullptr, 0, 0, 0, 0, uHide);
    // A sink that replaced the text decides what is stored, typed or not.
    BOOL bWrite = bResolved && (m_bEditChanged || bReplaced);
    m_bEditChanged = FALSE;
    if (bWrite && !m_pView->GetRowTree().SetCellTextAt(nRow, nCol, strText))
        Beep();
}

BOOL CTableWindow::MoveEditorToNextRow(int nDirection)
{
    int nCol = m_nEditorCol;
    int nRow = GetCurrentRow();
    if (!m_pView || nRow < 0 || nCol < 0)
        return FALSE;
    int nStep = nDirection == 1 ? 1 : -1;
    int nCount = GetRowCount();
    for (int i = nRow + nStep; i >= 0 && i < nCount; i += nStep) {
        if (!IsCellEditable(i, nCol))
            continue;
        // The edit so far is written before the editor moves on.
        CloseEditor(TRUE);
        UpdateNow();
        SetCurrentCell(i, nCol);
        int nOffset = i - m_nTopRow;
        SetCurrentRowOffset(nOffset);
        StartEdit(nOffset, nCol);
        return TRUE;
    }
    CloseEditor(TRUE);
    return FALSE;
}

// ---- Presses --------------------------------------------------------------------------------

void CTableWindow::OnRButtonDown(UINT nKeys, int x, int y)
{
    BOOL bHadFocus = ::GetFocus() == m_hWnd;
    ::SetCapture(m_hWnd);
    if (!m_pView) {
        CTBWnd::OnRButtonDown(nKeys, x, y);
        return;
    }
    int nZone = m_nLastZone;
    int nCol = m_nLastCol;
    if (x != m_ptLast.x || y != m_ptLast.y) {
        if (!bHadFocus) {
            CTBWnd::OnRButtonDown(nKeys, x, y);
            return;
        }
        nZone = HitTestZone(POINT{x, y}, &nCol);
    } else if (bHadFocus) {
        // The pointer may have come while another window (fast find) had the focus, when the
        // titles answer no zone; the click's activation gave the focus back, so the zone counts
        // as the release will see it (and as a pointer move there would have stored it).
        int nRowThere = -3;
        HitTestCell(POINT{x, y}, &nRowThere, &nCol, &nZone);
    }
    if (m_bResizing) {
        EndColumnResize(FALSE);
        return;
    }
    if (m_bMoving) {
        EndColumnMove(FALSE);
        return;
    }
    int nRow = RowFromPoint(x, y);
    if (!bHadFocus) {
        nRow = -3;
        nCol = -99;
        nZone = 0;
    }
    POINT pt = {x, y};
    if (m_pView->GetShowHeader() && ::PtInRect(&m_headerPane.GetRect(), pt) && !m_headerPane.IsDragActive())
        m_headerPane.BeginDrag(nRow, /*bMark=*/FALSE);
    m_nPressRow = nRow;
    m_nPressCol = nCol;
    m_nPressZone = nZone;
}

void CTableWindow::OnLButtonDblClk(UINT nKeys, int x, int y)
{
    if (!m_pView) {
        CTBWnd::OnLButtonDblClk(nKeys, x, y);
        return;
    }
    int nRow = RowFromPoint(x, y);
    int nDisplayCol = ColumnFromPoint(x, y);
    if (nRow != m_nPressRow && nDisplayCol != m_nPressCol)
        return;
    CViewRow row(m_pView);
    int nIndex = nRow;
    int nCol = nDisplayCol;
    BOOL bFired = FALSE;
    if (ResolveCell(&row, &nIndex, &nCol, TRUE)) {
        const BOOL bHadFocus = HasFocusOrEditor();
        FireDoubleClick(&row, nCol);
        bFired = TRUE;
        // A window the double click opened took the keys: the grid leaves it in front, and the
        // button's release is no click of its own.
        if (bHadFocus && !HasFocusOrEditor() && ::GetFocus() != nullptr) {
            m_nPressZone = -1;      // no zone a release can be on
            return;
        }
    }
    OnMouseDown(nKeys, x, y, TRUE);
    if (bFired)
        m_nPressZone = 0;
}
