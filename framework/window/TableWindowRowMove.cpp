// Rows of a live view move under the grid: the grid moves bands of pixels with them and paints
// only the lines they uncover.
#include <algorithm>
#include <cstdlib>

#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/RowMovePlan.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Paint.h"

// A shown row that an update moved had its other cells read when they were written: only the
// columns the update changed are read again. A row new to the window is read whole.
BOOL CTableWindow::GrowMovedRow(const CRowPosition* pOld, const CRowPosition* pNew, int nNewLines)
{
    CTableRow* pNode = pNew->IsDataRow() ? pNew->m_pNode : nullptr;
    const CChangeBits* pChanges = m_pView->GetUpdateChanges(pNode);
    if (!pChanges || !pOld || pOld->m_nIndex < 0 || nNewLines != 1)
        return GrowColumnsToRows(pNew->m_nIndex, nNewLines, -1, pNode);
    const int nColumns = std::min(pChanges->GetCount(), m_pView->GetColumnCount());
    for (int nCol = 0; nCol < nColumns; ++nCol)
        if (pChanges->IsSet(nCol) && IsUnitColumn(nCol))
            return GrowColumnsToRows(pNew->m_nIndex, 1, -1, pNode);
    BOOL bGrown = FALSE;
    for (int nCol = 0; nCol < nColumns; ++nCol)
        if (pChanges->IsSet(nCol))
            bGrown |= GrowColumnsToRows(pNew->m_nIndex, 1, nCol, pNode);
    return GrowComputedColumns(pNew->m_nIndex, pNode) || bGrown;
}

void CTableWindow::OnRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines)
{
    if (!m_pView || !m_hWnd)
        return;
    if (IsRedrawLocked()) {
        m_bFitUnseen = m_bFitUnseen || (pNew && nNewLines > 0);
        return;
    }
    // A row that comes or changes wider than its fitted columns widens them: every line moves.
    // A data row's node comes with its place: it is not looked up again.
    if (pNew && nNewLines > 0 && !HoldLoadLineFit(pNew->IsDataRow() ? pNew->m_pNode : nullptr, nNewLines)
        && GrowMovedRow(pOld, pNew, nNewLines)) {
        m_nLastLineCount = GetRowCount();
        ApplyFitWidths();
        return;
    }
    if (!IsWindowVisible(m_hWnd))
        return;
    m_nLastLineCount = GetRowCount();
    m_cache.Clear();
    CRowMoveInput in;
    in.m_nOldPos = pOld ? pOld->m_nIndex : -1;
    in.m_nOldLines = pOld ? nOldLines : 0;
    in.m_nNewPos = pNew ? pNew->m_nIndex : -1;
    in.m_nNewLines = pNew ? nNewLines : 0;
    in.m_bInGroup = pOld && pOld->m_pGroup != nullptr;
    in.m_nGroupExtraLines = m_pView->GetGroupExtraRowCount();
    in.m_bTotalLine = m_pView->HasGrandTotalRow();
    in.m_nLineCount = m_nLastLineCount;
    in.m_nTopRow = m_nTopRow;
    in.m_nWholeLines = GetWholeLines();
    in.m_nShownLines = GetLinesThatFit();
    const int nOffset = GetCurrentOffset();
    const int nOldCount = m_nLastLineCount - in.m_nNewLines + in.m_nOldLines;
    in.m_nCurrentRow = nOffset >= 0 ? m_nTopRow + nOffset : (nOffset == TW_APPEND_LINE ? nOldCount : -1);
    in.m_bFollowLastRow = GetFollowLastRow();
    CRowMovePlan plan;
    if (!PlanRowMove(in, &plan)) {
        Refresh();
        return;
    }
    if (plan.m_bNothing)
        return;
    CloseEditor(TRUE);
    const BOOL bPark = !m_bParked;
    if (bPark)
        ParkCurrentRow();
    SetRowHeaderHotLine(-3);
    // Pending paints are not done first: the view has already changed, so they would paint the
    // new rows at their old places and the bands would then move those pixels away from them.
    // ScrollWindow moves a pending invalid part along with its pixels instead, to where its row
    // now stands, and the next paint draws it there.
    StoreTopRow(std::max(0, m_nTopRow + plan.m_nTopShift));
    // Lines below every line of the view, before the change and after it, show the background
    // either way: the bands stop there (one more for the append line), so a view shorter than its
    // window does not move its empty lines.
    const int nContent = std::max(nOldCount - in.m_nTopRow, m_nLastLineCount - m_nTopRow) + 1;
    const RECT rcRows = GetRowsRect();
    // A reply's rows: their lines are painted once, at the next paint, however many come.
    const BOOL bPaintNow = !m_pView->IsLoading() || m_headerPane.IsDragActive();
    if (!bPaintNow) {
        m_headerPane.MarkMoved();
        InvalidateRect(m_hWnd, &rcRows, FALSE);
        plan.m_nBands = plan.m_nRepaints = 0;
    }
    for (int i = 0; i < plan.m_nBands; ++i)
        ScrollRowsRegion(plan.m_aBands[i].m_nFirstLine, plan.m_aBands[i].m_nLines, plan.m_aBands[i].m_nMoved, nContent);
    for (int i = 0; i < plan.m_nRepaints; ++i) {
        const CRowLineRange& lines = plan.m_aRepaints[i];
        RECT rcLines = {rcRows.left, rcRows.top + lines.m_nFirst * m_nRowHeight, rcRows.right,
                        std::min(rcRows.bottom, rcRows.top + (lines.m_nFirst + lines.m_nCount) * m_nRowHeight)};
        PaintStripNow(rcLines);
    }
    // The row headers' frame below the last line starts where the lines end: when their number
    // changes, the lines about the old and the new end are painted again, or that frame's top
    // edge would stay where the end was.
    if (bPaintNow && m_nLastLineCount != nOldCount) {
        const int nFrom = std::max(0, std::min(nOldCount, m_nLastLineCount) - m_nTopRow);
        const int nTo = std::max(nOldCount, m_nLastLineCount) - m_nTopRow + 2;
        PaintStripNow(RECT{rcRows.left, rcRows.top + nFrom * m_nRowHeight, rcRows.right,
                           std::min(rcRows.bottom, rcRows.top + nTo * m_nRowHeight)});
    }
    OnRowCountChanged(in.m_nNewLines, in.m_nOldLines, 0, FALSE);
    // The current row goes with its row while that stays on screen; a row that left the window
    // leaves the focus on its screen line, on the row that took its place.
    if (plan.m_nCurrentRow == m_nLastLineCount && nOffset == TW_APPEND_LINE)
        m_nSavedOffset = TW_APPEND_LINE;
    else if (plan.m_nCurrentRow >= m_nTopRow && plan.m_nCurrentRow < m_nTopRow + GetWholeLines())
        m_nSavedOffset = plan.m_nCurrentRow - m_nTopRow;
    else if (nOffset < 0)
        m_nSavedOffset = nOffset;
    if (bPark)
        RestoreCurrentRow();
}

// The rows region: the three panes' cell areas side by side, below the title strip.
RECT CTableWindow::GetRowsRect() const
{
    RECT rc = m_scrollPane.GetCellRect();
    const RECT* panes[] = {&m_fixedPane.GetCellRect(), &m_headerPane.GetCellRect()};
    for (const RECT* pPane : panes)
        if (!IsRectEmpty(pPane))
            UnionRect(&rc, &rc, pPane);
    return rc;
}

// Paints a strip of the window at once, on a DC prepared as for a paint, and validates it.
void CTableWindow::PaintStripNow(const RECT& rcStrip)
{
    if (IsRectEmpty(&rcStrip))
        return;
    // A strip a scroll uncovers while a load's rows wait for their fit.
    if (!m_fitHeld.empty())
        GrowStaleLines(FALSE);
    HDC hdc = GetDC(m_hWnd);
    if (!hdc)
        return;
    PrepareDC(hdc);
    const int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, rcStrip.left, rcStrip.top, rcStrip.right, rcStrip.bottom);
    m_cache.Clear();
    Paint(hdc, rcStrip);
    RestoreDC(hdc, nSaved);
    ReleaseDC(m_hWnd, hdc);
    ValidateRect(m_hWnd, &rcStrip);
}

void CTableWindow::ScrollRowsRegion(int nFirstLine, int nLines, int nMoved, int nContentLines)
{
    CRowBandMove band;
    band.m_nFirstLine = nFirstLine;
    band.m_nLines = nLines;
    band.m_nMoved = nMoved;
    CRowBandScroll scroll;
    const int nShown = nContentLines >= 0 ? std::min(GetLinesThatFit(), nContentLines) : GetLinesThatFit();
    if (!m_hWnd || !ComputeBandScroll(band, nShown, &scroll))
        return;
    const RECT rcRows = GetRowsRect();
    const int nRow = m_nRowHeight;
    RECT rcBand = {rcRows.left, rcRows.top + scroll.m_nFirst * nRow, rcRows.right,
                   std::min(rcRows.bottom, rcRows.top + scroll.m_nEnd * nRow)};
    if (IsRectEmpty(&rcBand))
        return;
    RECT rcStrip = {rcRows.left, rcRows.top + scroll.m_nUncoveredFirst * nRow, rcRows.right,
                    std::min(rcRows.bottom, rcRows.top + scroll.m_nUncoveredEnd * nRow)};
    if (scroll.m_nMoved != 0) {
        m_headerPane.MarkMoved();
        ScrollWindow(m_hWnd, 0, scroll.m_nMoved * nRow, &rcBand, &rcBand);
        if (scroll.m_nMoved < 0)
            rcStrip.top = std::max(rcBand.top, rcStrip.top - 2);
    }
    if (m_headerPane.IsDragActive()) {
        HDC hdc = GetDC(m_hWnd);
        if (hdc) {
            m_headerPane.OnRowsMoved(hdc, scroll.m_nFirst, GetLinesThatFit(), scroll.m_nMoved);
            ReleaseDC(m_hWnd, hdc);
        }
    }
    PaintStripNow(rcStrip);
}

void CTableWindow::SmoothScrollLines(int nLines)
{
    if (!m_hWnd || nLines == 0)
        return;
    const RECT rcRows = GetRowsRect();
    const int nDy = nLines * m_nRowHeight;
    RECT rcStrip = rcRows;
    if (std::abs(nDy) >= rcRows.bottom - rcRows.top) {
        InvalidateRect(m_hWnd, &rcRows, FALSE);
        UpdateNow();
    } else {
        UpdateNow();
        m_headerPane.MarkMoved();
        ScrollWindow(m_hWnd, 0, nDy, &rcRows, &rcRows);
        if (nLines > 0)
            rcStrip.bottom = rcRows.top + nDy;
        else
            rcStrip.top = rcRows.bottom + nDy;
        PaintStripNow(rcStrip);
    }
    // A marking drag follows its rows; its painted range moves with them once, here.
    if (m_headerPane.IsDragActive()) {
        if (nLines > 0)
            m_headerPane.OnLinesScrolledDown(nLines);
        else
            m_headerPane.OnLinesScrolledUp(-nLines);
    }
}
