// The grid's answers to its view's table events and to the framework's settings events. The grid
// never polls: every repaint, scroll and re-layout happens here, inside the call that changed
// the view, before that call returns.
#include "framework/window/TableWindow.h"

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TWApp.h"

namespace
{
// How far the re-sort and sum-mode reactions look for a row to hold on to.
const int REMEMBER_LINES = 500;
}

// ---- Rows ----------------------------------------------------------------------------------

void CTableWindow::OnRowsAdded(int nFirst, int nIndex)
{
    (void)nFirst;
    CRowPosition oldPos;
    CRowPosition newPos;
    newPos.m_nIndex = nIndex;
    OnRowMoved(&oldPos, 0, &newPos, 1);
}

void CTableWindow::OnLoadEnded()
{
    GrowStaleLines(TRUE);
    m_nFitLoadLines = 0;
    if (m_bVBarStale && m_pView)
        UpdateVScrollBar(GetWholeLines());
}

// Lines a load changed that no fit has read: its held rows and the total line, at a paint or
// when the load ends.
void CTableWindow::GrowStaleLines(BOOL bLoadEnded)
{
    if (!m_pView || !m_hWnd)
        return;
    BOOL bGrown = GrowHeldLines();
    if (bLoadEnded)
        m_bFitLoadDeferred = FALSE;
    if (m_bFitTotalStale) {
        m_bFitTotalStale = FALSE;
        bGrown |= m_pView->HasGrandTotalRow() && GrowColumnsToRows(m_pView->GetRowCount() - 1, 1, -1);
    }
    if (bGrown) {
        m_bFitPaintsLater = TRUE;
        ApplyFitWidths();
        m_bFitPaintsLater = FALSE;
    }
}

// A reply brings its rows by the thousand: once it has brought as many lines as the window held
// before it, each row is held by its block and read with a batch of others (at a paint, when the
// batch is full and when the reply ends), each fitted column's checks made once for the batch
// while its rows are still fresh. A reply of a few lines into a long table is read line by line.
BOOL CTableWindow::HoldLoadLineFit(CTableRow* pNode, int nNewLines)
{
    if (!m_pView->IsLoading())
        return FALSE;
    // A title dragged meanwhile paints each line as it comes: the lines held are read first.
    if (m_headerPane.IsDragActive()) {
        if (GrowHeldLines())
            ApplyFitWidths();
        return FALSE;
    }
    if (!m_bFitLoadDeferred) {
        m_nFitLoadLines += nNewLines;
        m_bFitLoadDeferred = m_nFitLoadLines >= FIT_DEFER_LINES && m_nFitLoadLines * 2 >= m_pView->GetRowCount();
    }
    // A row with lines of its own (a group's) is read at once, its lines by their places.
    if (!m_bFitLoadDeferred || nNewLines > 1 || !pNode || pNode->Kind() != NODE_ROW)
        return FALSE;
    m_fitHeld.push_back(pNode->GetData());
    if (m_fitHeld.size() >= FIT_HELD_LINES && GrowHeldLines())
        ApplyFitWidths();
    return TRUE;
}

void CTableWindow::OnRowsRemoved(int nIndex, int nLines)
{
    if (nLines < 1 || IsRedrawLocked())
        return;
    CRowPosition oldPos;
    CRowPosition newPos;
    oldPos.m_nIndex = nIndex;
    OnRowMoved(&oldPos, nLines, &newPos, 0);
}

void CTableWindow::OnRowChanged(CTableRow* pNode, int nIndex, int nCol)
{
    RepaintRowNow(nIndex, nCol, pNode);
}

// A changed cell is painted at once into the window's DC: live data must not wait for a
// message round trip, and invalidating would repaint far more than the one cell.
void CTableWindow::RepaintRowNow(int nIndex, int nCol, CTableRow* pNode)
{
    if (!m_hWnd || !m_pView)
        return;
    if (IsRedrawLocked()) {
        m_bFitUnseen = TRUE;
        return;
    }
    // A row's unit (its currency) sets the decimals its amounts show: they change with it.
    if (nCol >= 0 && IsUnitColumn(nCol))
        nCol = -1;
    // Each row of a reply changes the total line: it is read once, when the rows are painted or
    // the reply ends.
    const BOOL bTotalLater = m_pView->IsLoading() && nCol < 0 && pNode && pNode->Kind() == NODE_SUM
                             && m_pView->HasGrandTotalRow() && nIndex == m_pView->GetRowCount() - 1;
    m_bFitTotalStale = m_bFitTotalStale || bTotalLater;
    const BOOL bLater = bTotalLater || (pNode && HoldLoadLineFit(pNode, 0));
    // A line reported for its look alone holds the texts its fit has read already.
    if (!bLater && !m_pView->IsReportingLookOnly() && GrowColumnsToRows(nIndex, 1, nCol, pNode)) {
        ApplyFitWidths();
        return;
    }
    if (nIndex < m_nTopRow || nIndex > GetLastShownRow())
        return;
    m_cache.Clear();
    int nLine = nIndex - m_nTopRow;
    RECT rc;
    if (nCol >= 0) {
        int nDisplayCol = m_pView->GetColumnOrder().FindPosition(nCol);
        CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
        if (!pPane)
            return;
        GetCellRect(nLine, nDisplayCol, &rc);
        RECT rcVisible;
        if (!::IntersectRect(&rcVisible, &rc, &pPane->GetCellRect()))
            return;
        rc = rcVisible;
    } else {
        // The whole line, its header cell included: a row's mark and status show there.
        ::SetRectEmpty(&rc);
        for (const CTableWindowArea* pPane : {static_cast<const CTableWindowArea*>(&m_headerPane),
                                              static_cast<const CTableWindowArea*>(&m_fixedPane),
                                              static_cast<const CTableWindowArea*>(&m_scrollPane)}) {
            RECT rcLine;
            if (pPane->GetLineRect(nLine, &rcLine))
                ::UnionRect(&rc, &rc, &rcLine);
        }
        if (::IsRectEmpty(&rc))
            return;
    }
    // A hidden window (its frame hidden too) paints nothing now: the parts are marked for the
    // paint that showing it brings. Nor does one that takes a reply's rows, before it paints them.
    if (!::IsWindowVisible(m_hWnd) || m_pView->IsLoading()) {
        RECT rcHeader;
        if (GetHighlightSeconds() >= 1 && nCol >= 0 && m_headerPane.GetLineRect(nLine, &rcHeader))
            ::InvalidateRect(m_hWnd, &rcHeader, FALSE);
        ::InvalidateRect(m_hWnd, &rc, FALSE);
        return;
    }
    // The focus frame is an XOR figure on the current line alone: only a repaint of that line
    // has to take it off and put it back.
    BOOL bParked = m_bFocusDrawn && !m_bParked && m_nCurrentOffset == nLine;
    if (bParked)
        ParkCurrentRow();
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc) {
        PrepareDC(hdc);
        Paint(hdc, rc);
        // The header cell carries the row's change highlight. A batch reports each of its cells
        // in turn: the header is painted for the first, and not again while nothing else drew
        // there and the row, its place and its change stamp stay the same.
        RECT rcHeader;
        if (GetHighlightSeconds() >= 1 && nCol >= 0 && m_headerPane.GetLineRect(nLine, &rcHeader)) {
            const CTableRow* pNode = m_cache.GetLineRow(nLine);
            const int64_t nStamp = pNode ? pNode->GetStamp() : 0;
            const BOOL bSame = pNode && pNode == m_header.pNode && nLine == m_header.nLine
                               && m_nTopRow == m_header.nTopRow && nStamp == m_header.nStamp
                               && m_headerPane.GetPaintCount() == m_header.nPaints;
            if (!bSame) {
                m_headerPane.Paint(hdc, rcHeader, &m_cache);
                m_header = {pNode, nLine, m_nTopRow, nStamp, m_headerPane.GetPaintCount()};
            }
        }
        ::ReleaseDC(m_hWnd, hdc);
    }
    if (bParked)
        RestoreCurrentRow();
}

void CTableWindow::OnRowInserted(CTableRow* pNode, int nIndex, int nCol)
{
    (void)pNode;
    if (!m_hWnd || !m_pView || GetLinesThatFit() < 1)
        return;
    // Half a window below the top, so that the rows around the new one show too.
    int nWhole = GetWholeLines();
    ScrollToRow(nIndex, nWhole < 2 ? -3 : nWhole / 2);
    SelectRow(nIndex, nCol >= 0 ? m_pView->GetColumnOrder().FindPosition(nCol) : -1, FALSE);
}

void CTableWindow::OnFilterChanged()
{
    // Rows may have come while the view told nothing.
    m_bFitUnseen = TRUE;
    Refresh();
}

// ---- Settings -------------------------------------------------------------------------------

void CTableWindow::OnSettingsSaved(CIni* pLayout, CIni* pDefinition)
{
    Save(pLayout, pDefinition);
}

void CTableWindow::OnSettingsLoaded(CIni* pLayout, CIni* pDefinition)
{
    Load(pLayout, pDefinition);
}

// ---- Sorting and the sum mode ---------------------------------------------------------------

int CTableWindow::RememberDataRow(int nIndex) const
{
    if (!m_pView || nIndex < 0)
        return -1;
    CTableGroups& tree = m_pView->GetRowTree();
    for (int i = nIndex; i >= 0 && i >= nIndex - REMEMBER_LINES; --i) {
        CTableRow* pNode = tree.GetNodeAt(i);
        if (pNode && pNode->Kind() == NODE_ROW)
            return i;
    }
    return -1;
}

int CTableWindow::RememberMarkedRow(int nIndex) const
{
    if (!m_pView || nIndex < 0)
        return -1;
    CTableGroups& tree = m_pView->GetRowTree();
    int nCount = GetRowCount();
    // Outward from the row, the line above first, so that a tie goes up.
    for (int d = 0; d <= REMEMBER_LINES; ++d) {
        int nAbove = nIndex - d;
        int nBelow = nIndex + d;
        if (nAbove < 0 && nBelow >= nCount)
            break;
        CTableRow* pNode = nAbove >= 0 ? tree.GetNodeAt(nAbove) : nullptr;
        if (pNode && pNode->Kind() == NODE_ROW && pNode->IsMarked())
            return nAbove;
        pNode = d > 0 && nBelow < nCount ? tree.GetNodeAt(nBelow) : nullptr;
        if (pNode && pNode->Kind() == NODE_ROW && pNode->IsMarked())
            return nBelow;
    }
    return -1;
}

void CTableWindow::OnSortChanging()
{
    m_pSortRow = nullptr;
    m_bSortOnLastRow = FALSE;
    m_nSortOffset = GetCurrentOffset();
    if (!m_pView || m_nSortOffset < 0)
        return;
    int nRow = m_nTopRow + m_nSortOffset;
    if (nRow == GetRowCount() - 1) {
        m_bSortOnLastRow = TRUE;
        return;
    }
    int nData = RememberDataRow(nRow);
    if (nData >= 0)
        m_pSortRow = m_pView->GetRowTree().GetNodeAt(nData);
}

void CTableWindow::OnSortChanged(CSortColumns* pKeys)
{
    (void)pKeys;
    if (!m_pView)
        return;
    int nIndex = -1;
    CRowPosition pos;
    if (m_pSortRow && m_pView->GetRowTree().LocateRow(m_pSortRow, &pos))
        nIndex = pos.m_nIndex;
    else if (m_bSortOnLastRow)
        nIndex = GetRowCount() - 1;
    if (nIndex >= 0 && m_nSortOffset >= 0) {
        // The row keeps its screen line; one scroll, no frames drawn on the way.
        LockRedraw();
        ScrollToRow(nIndex, m_nSortOffset);
        UnlockRedraw();
        SetCurrentRowOffset(nIndex - m_nTopRow);
    }
    m_pSortRow = nullptr;
    m_bSortOnLastRow = FALSE;
    m_nSortOffset = TW_NO_ROW;
    Refresh();
    // An open sort dialog serving this window shows the new keys.
    if (CTWApp* pApp = CTWApp::Get())
        pApp->NotifySortChanged(this);
}

void CTableWindow::OnSumModeChanging()
{
    m_nLastLineCount = -1;
    m_pSumRowNode = nullptr;
    if (!m_pView)
        return;
    int nCurrent = GetCurrentRow();
    int nRemember = -1;
    if (m_pView->GetSumMode() != 0) {
        if (nCurrent >= 0)
            nRemember = RememberDataRow(nCurrent);
    } else {
        m_nSumSavedTop = m_nTopRow;
        m_nSumSavedOffset = GetCurrentOffset();
        if (nCurrent >= 0)
            nRemember = RememberMarkedRow(nCurrent);
    }
    if (nRemember >= 0)
        m_pSumRowNode = m_pView->GetRowTree().GetNodeAt(nRemember);
}

void CTableWindow::OnSumModeChanged()
{
    if (!m_pView)
        return;
    ParkCurrentRow();
    int nTop = 0;
    if (m_pView->GetSumMode() == 0) {
        nTop = m_nSumSavedTop;
        m_nSavedOffset = m_nSumSavedOffset;
    }
    int nMaxTop = GetMaxTopRow();
    StoreTopRow(nTop < 0 ? 0 : (nTop > nMaxTop ? nMaxTop : nTop));
    CRowPosition pos;
    if (m_pSumRowNode && m_pView->GetRowTree().LocateRow(m_pSumRowNode, &pos) && pos.m_nIndex >= 0) {
        LockRedraw();
        ScrollToRow(pos.m_nIndex, -3);
        UnlockRedraw();
        m_nSavedOffset = pos.m_nIndex - m_nTopRow;
    }
    m_pSumRowNode = nullptr;
    m_bFitUnseen = TRUE;        // the sums of other rows
    Refresh();
    RestoreCurrentRow();
}

void CTableWindow::ToggleSumMode()
{
    if (!m_pView)
        return;
    m_headerPane.SetHotLine(-3);
    HCURSOR hOld = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    // The view fires the changing and changed events around the switch and its new sums.
    m_pView->SetSumMode(m_pView->GetSumMode() != 0 ? 0 : 1);
    ::SetCursor(hOld);
}

// ---- The view's end ---------------------------------------------------------------------------

void CTableWindow::OnViewDestroyed()
{
    CViewTable* pView = m_pView;
    // Forgotten first, so that nothing the window's destruction runs reaches the dying view.
    if (pView)
        pView->RemoveSink(this);
    m_pView = nullptr;
    m_fitHeld.clear();
    m_cache.Clear();
    if (m_hWnd)
        DestroyWindow();
}

// ---- Columns --------------------------------------------------------------------------------

void CTableWindow::OnColumnAlignChanged(int nCol, int nAlign)
{
    (void)nAlign;
    if (!m_hWnd || !m_pView)
        return;
    int nDisplayCol = m_pView->GetColumnOrder().FindPosition(nCol);
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    RECT rc;
    if (!pPane || GetColumnWidth(nDisplayCol) <= 0)
        return;
    pPane->GetColumnRect(nDisplayCol, &rc);
    ::InvalidateRect(m_hWnd, &rc, FALSE);
    UpdateNow();
}

void CTableWindow::OnColumnNumberFormatChanged(int nCol, CTableColumn* pColumn)
{
    (void)pColumn;
    OnColumnAlignChanged(nCol, 0);
}

void CTableWindow::OnColumnTitleChanged(int nCol, const CTBString* pTitle, int nLanguage)
{
    (void)pTitle;
    (void)nLanguage;
    if (!m_hWnd || !m_pView)
        return;
    int nDisplayCol = m_pView->GetColumnOrder().FindPosition(nCol);
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    RECT rc;
    if (!pPane || GetColumnWidth(nDisplayCol) <= 0)
        return;
    pPane->GetColumnRect(nDisplayCol, &rc);
    rc.bottom = rc.top;
    rc.top = pPane->GetRect().top;
    ::InvalidateRect(m_hWnd, &rc, FALSE);
    UpdateNow();
}

void CTableWindow::OnColumnHiddenChanged(int nCol, BOOL bHidden)
{
    if (!m_pView)
        return;
    if (nCol == -1) {
        RebuildWidthTable();
        m_fixedPane.RecalcTotalWidth();
        m_scrollPane.RecalcTotalWidth();
        m_headerPane.RecalcTotalWidth();
        Refresh();
        return;
    }
    int nDisplayCol = m_pView->GetColumnOrder().FindPosition(nCol);
    if (nDisplayCol < 0)
        return;
    if (bHidden)
        HideColumn(nDisplayCol);
    else
        ShowColumn(nDisplayCol);
    UpdateNow();
}

void CTableWindow::OnColumnWidthChanged(int nCol, int nWidth)
{
    if (!m_pView)
        return;
    int nDisplayCol = m_pView->GetColumnOrder().FindPosition(nCol);
    if (nDisplayCol < 0)
        return;
    BOOL bPark = !m_bParked || m_bTrackDrawn;
    if (bPark)
        ParkCurrentRow();
    SetColumnWidth(nDisplayCol, nWidth, TRUE);
    if (bPark)
        RestoreCurrentRow();
}

void CTableWindow::OnColumnAttributeChanged(int nCol, int nDecimals)
{
    (void)nCol;
    (void)nDecimals;
    m_bFitExact = TRUE;
    Refresh();
}

void CTableWindow::OnFixedColumnsChanged(int nCount)
{
    (void)nCount;
    if (!m_hWnd)
        return;
    ParkCurrentRow();
    SetPaneColumnRuns();
    Refresh();
    RestoreCurrentRow();
}

void CTableWindow::OnShowHeaderChanged(BOOL bShow)
{
    (void)bShow;
    Refresh();
}

void CTableWindow::OnGroupHeaderModeChanged(int nMode)
{
    (void)nMode;
    if (m_pView)
        m_pView->GetRowTree().RecalcTableGroups();
    m_bFitUnseen = TRUE;        // sum lines came or went
    Refresh();
}

void CTableWindow::OnTotalsModeChanged(int nMode)
{
    OnGroupHeaderModeChanged(nMode);
}

void CTableWindow::HideColumn(int nDisplayCol)
{
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    CTableColumn* pColumn = m_pView ? m_pView->GetColumnOrder().GetColumn(nDisplayCol) : nullptr;
    if (!pPane || !pColumn)
        return;
    ParkCurrentRow();
    if (pPane == &m_fixedPane)
        MoveDivider(GetColumnWidth(nDisplayCol));
    pPane->ResizeColumn(nDisplayCol, 0);
    pColumn->m_bHidden = TRUE;
    RestoreCurrentRow();
}

void CTableWindow::ShowColumn(int nDisplayCol)
{
    CTableWindowArea* pPane = PaneOfColumn(nDisplayCol);
    CTableColumn* pColumn = m_pView ? m_pView->GetColumnOrder().GetColumn(nDisplayCol) : nullptr;
    if (!pPane || !pColumn)
        return;
    ParkCurrentRow();
    // A column that fits what it holds comes back as wide as that, not as it last was.
    FitColumnsToContent(TRUE, nDisplayCol);
    if (pPane == &m_fixedPane)
        MoveDivider(-pColumn->m_nWidth);
    pPane->RestoreColumnWidth(nDisplayCol, TRUE);
    if (pPane == &m_scrollPane)
        pPane->EnsureColumnVisible(nDisplayCol);
    pColumn->m_bHidden = FALSE;
    RestoreCurrentRow();
    pPane->EnsureColumnVisible(nDisplayCol);
}

// ---- Titles and the framework's settings ----------------------------------------------------

void CTableWindow::OnTitleChanged(const CTBString* pTitle, int nLanguage)
{
    if (m_hWnd && pTitle && nLanguage == GetNorvGlobals().m_nLanguage)
        ::SetWindowTextA(m_hWnd, *pTitle);
}

void CTableWindow::OnLayoutChanged(int nLanguage)
{
    (void)nLanguage;
    if (!m_hWnd || !m_pView)
        return;
    ::SetWindowTextA(m_hWnd, m_pView->GetTitleAt(GetNorvGlobals().m_nLanguage));
    SetPaneColumnRuns();
    m_bFitExact = TRUE;
    Refresh();
}

void CTableWindow::OnLanguageChanged(int nLanguage)
{
    if (!m_hWnd || !m_pView)
        return;
    ::SetWindowTextA(m_hWnd, m_pView->GetTitleAt(nLanguage));
    m_bFitExact = TRUE;         // titles and texts of the other language
    Refresh();
}

void CTableWindow::OnFrameColor1Changed(COLORREF crColor)
{
    (void)crColor;
    Refresh();
}

void CTableWindow::OnFrameColor2Changed(COLORREF crColor)
{
    (void)crColor;
    if (m_hWnd)
        m_headerPane.InvalidateCells(!IsRedrawLocked());
}
