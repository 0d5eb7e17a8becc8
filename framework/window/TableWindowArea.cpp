// A pane of the grid window: binding, geometry, column widths and hit tests. Painting lives in
// TableWindowAreaPaint.cpp, horizontal scrolling in TableWindowAreaScroll.cpp.
#include "framework/window/TableWindowArea.h"

#include <algorithm>

#include "framework/table/TableColumn.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Controls.h"

namespace {

int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

} // namespace

// ---- Binding -----------------------------------------------------------------------------

void CTableWindowArea::Init(int, CTableWindow* pGrid, int nFirst, int nLast, BOOL bScrollable)
{
    m_pGrid = pGrid;
    m_bScrollable = bScrollable;
    CViewTable* pView = pGrid ? pGrid->GetView() : nullptr;
    int nCount = pView ? pView->GetColumnCount() : 0;
    if (nFirst < 0 || nLast < 0 || nFirst >= nCount || nLast >= nCount)
        nFirst = nLast = -1;
    m_nFirst = nFirst;
    m_nLast = nLast;
    m_nOffset = 0;
    RecalcTotalWidth();
    m_bBarShown = FALSE;
    if (IsWindow(m_scrollBar.GetSafeHwnd()))
        ShowWindow(m_scrollBar.GetSafeHwnd(), SW_HIDE);
    RecalcLayout();
}

void CTableWindowArea::InitHeader(int nUnused, CTableWindow* pGrid)
{
    // The header's one column is no view column: it exists whatever the view holds.
    Init(nUnused, pGrid, -1, -1, FALSE);
    m_nFirst = m_nLast = 0;
    RecalcTotalWidth();
    RecalcLayout();
}

void CTableWindowArea::SetColumnRange(int nFirst, int nLast)
{
    if (nFirst < 0 || nLast < 0)
        nFirst = nLast = -1;
    m_nFirst = nFirst;
    m_nLast = nLast;
    RecalcTotalWidth();
    if (m_nOffset > GetMaxOffset())
        m_nOffset = GetMaxOffset();
    RecalcLayout();
    UpdateScrollBar();
    Invalidate(nullptr, FALSE);
}

BOOL CTableWindowArea::ContainsColumn(int nDisplayCol) const
{
    if (IsEmpty() || nDisplayCol < 0)
        return FALSE;
    return m_nFirst <= m_nLast ? nDisplayCol >= m_nFirst && nDisplayCol <= m_nLast
                               : nDisplayCol <= m_nFirst && nDisplayCol >= m_nLast;
}

// ---- Geometry ----------------------------------------------------------------------------

int CTableWindowArea::GetRowHeight() const
{
    int nHeight = m_pGrid ? m_pGrid->GetRowHeight() : 0;
    return nHeight > 0 ? nHeight : 20;
}

int CTableWindowArea::TitleHeight() const
{
    int nHeight = m_pGrid ? m_pGrid->GetTitleHeight() : 0;
    return nHeight > 0 ? nHeight : 20;
}

BOOL CTableWindowArea::IsMirroredLayout() const
{
    return m_pGrid && m_pGrid->IsMirrored();
}

void CTableWindowArea::RecalcTotalWidth()
{
    m_nTotalWidth = 0;
    if (IsEmpty())
        return;
    int nStep = StepOf(m_nFirst, m_nLast);
    for (int nCol = m_nFirst;; nCol += nStep) {
        int nWidth = GetColumnWidth(nCol);
        if (nWidth > 0)
            m_nTotalWidth += nWidth;
        if (nCol == m_nLast)
            break;
    }
}

int CTableWindowArea::GetVisibleRowCount(const RECT& rect) const
{
    int nHeight = Height(rect) - (m_bHasTitle ? TitleHeight() : 0);
    BOOL bBar = m_bScrollable && m_nTotalWidth > Width(rect);
    if (bBar || m_bReserveStrip)
        nHeight -= GetSystemMetrics(SM_CYHSCROLL);
    return nHeight > 0 ? nHeight / GetRowHeight() : 0;
}

void CTableWindowArea::RecalcLayout()
{
    int nUsed = m_nTotalWidth - m_nOffset;
    if (nUsed > Width(m_rcPane))
        nUsed = Width(m_rcPane);
    if (nUsed < 0)
        nUsed = 0;
    int nLeft = IsMirroredLayout() ? m_rcPane.right - nUsed : m_rcPane.left;
    int nStrip = (m_bBarShown || m_bReserveStrip) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    int nCellBottom = m_rcPane.bottom - nStrip;
    int nTitleBottom = m_rcPane.top + (m_bHasTitle ? TitleHeight() : 0);
    if (nTitleBottom > m_rcPane.bottom)
        nTitleBottom = m_rcPane.bottom;
    if (nCellBottom < nTitleBottom)
        nCellBottom = nTitleBottom;
    ::SetRect(&m_rcTitle, nLeft, m_rcPane.top, nLeft + nUsed, nTitleBottom);
    ::SetRect(&m_rcCells, nLeft, nTitleBottom, nLeft + nUsed, nCellBottom);
    if (nStrip > 0)
        ::SetRect(&m_rcScrollStrip, m_rcPane.left, nCellBottom, m_rcPane.right, m_rcPane.bottom);
    else
        SetRectEmpty(&m_rcScrollStrip);
    int nRowHeight = GetRowHeight();
    int nCellHeight = Height(m_rcCells);
    m_nWholeLines = nCellHeight / nRowHeight;
    m_nLinesFit = (nCellHeight + nRowHeight - 1) / nRowHeight;
}

void CTableWindowArea::SetRect(const RECT& rect, BOOL bForce)
{
    if (!bForce && EqualRect(&rect, &m_rcPane))
        return;
    // Widths may have changed behind the pane (a new width table, a new row height).
    RecalcTotalWidth();
    BOOL bWasShown = m_bBarShown;
    BOOL bNeedBar = m_bScrollable && m_nTotalWidth > Width(rect);
    HWND hGrid = GridHwnd();
    if (bNeedBar && hGrid) {
        int cy = GetSystemMetrics(SM_CYHSCROLL);
        RECT rcBar = {rect.left, rect.bottom - cy, rect.right, rect.bottom};
        if (!IsWindow(m_scrollBar.GetSafeHwnd()))
            m_scrollBar.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_BOTTOMALIGN, rcBar, m_pGrid, 0);
        if (IsWindow(m_scrollBar.GetSafeHwnd())) {
            SetWindowPos(m_scrollBar.GetSafeHwnd(), nullptr, rcBar.left, rcBar.top, Width(rcBar), cy,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            m_bBarShown = TRUE;
        } else {
            m_bBarShown = FALSE;
        }
    } else {
        if (IsWindow(m_scrollBar.GetSafeHwnd()))
            ShowWindow(m_scrollBar.GetSafeHwnd(), SW_HIDE);
        m_bBarShown = FALSE;
    }
    const EDGES edgesBefore = EdgeCells();
    if (IsMirroredLayout())
        MoveToRtl(rect);
    else
        MoveTo(rect);
    m_rcPane = rect;
    if (m_nOffset > GetMaxOffset())
        m_nOffset = GetMaxOffset();
    RecalcLayout();
    InvalidateEdgeCells(edgesBefore);
    UpdateScrollBar();
    if (bWasShown != m_bBarShown) {
        // The cells end above the bar, or reach down where it was.
        RECT rc = m_rcPane;
        rc.top = rc.bottom - GetSystemMetrics(SM_CYHSCROLL) - 2;
        if (rc.top < m_rcPane.top)
            rc.top = m_rcPane.top;
        Invalidate(&rc, FALSE);
        if (m_pGrid)
            m_pGrid->OnPaneScrollBarChanged(this, m_bBarShown);
    }
}

// The pixels that stay in place need no repaint: only what the new rectangle uncovers is
// invalidated, widened into the old area so that frame edges drawn at the old border go.
void CTableWindowArea::MoveTo(const RECT& rcNew)
{
    InvalidateUncovered(rcNew, FALSE);
}

void CTableWindowArea::MoveToRtl(const RECT& rcNew)
{
    InvalidateUncovered(rcNew, TRUE);
}

void CTableWindowArea::InvalidateUncovered(const RECT& rcNew, BOOL bMirrored)
{
    HWND hGrid = GridHwnd();
    if (!hGrid)
        return;
    const RECT& rcOld = m_rcPane;
    // The leading edge and the top anchor the content; when either moves, everything moves.
    BOOL bAnchored = rcOld.top == rcNew.top && (bMirrored ? rcOld.right == rcNew.right : rcOld.left == rcNew.left);
    // A pane that grows on its trailing side while scrolled lets the offset absorb the growth,
    // so that no blank shows after its last column: the columns then move too.
    int nGrowth = Width(rcNew) - Width(rcOld);
    if (nGrowth > 0 && m_nOffset > 0) {
        int nMax = m_nTotalWidth - Width(rcNew);
        int nOffset = m_nOffset < nMax ? m_nOffset : (nMax > 0 ? nMax : 0);
        if (nOffset != m_nOffset) {
            m_nOffset = nOffset;
            bAnchored = FALSE;
        }
    }
    if (IsRectEmpty(&rcOld) || !bAnchored) {
        InvalidateRect(hGrid, &rcOld, FALSE);
        InvalidateRect(hGrid, &rcNew, FALSE);
        return;
    }
    int nStrip = GetSystemMetrics(SM_CYHSCROLL);
    if (rcNew.right != rcOld.right || rcNew.left != rcOld.left) {
        RECT rc = rcNew;
        if (bMirrored)
            rc.right = (rcOld.left > rcNew.left ? rcOld.left : rcNew.left) + 2;
        else
            rc.left = (rcOld.right < rcNew.right ? rcOld.right : rcNew.right) - 2;
        InvalidateRect(hGrid, &rc, FALSE);
    }
    if (rcNew.bottom != rcOld.bottom) {
        RECT rc = rcNew;
        rc.top = (rcOld.bottom < rcNew.bottom ? rcOld.bottom : rcNew.bottom) - nStrip - 2;
        InvalidateRect(hGrid, &rc, FALSE);
    }
}

// The cells of the columns that the cell area's sides cut: their texts stand inside the part that
// shows (Paint), so a move of either side or a scroll repaints them whole.
CTableWindowArea::EDGES CTableWindowArea::EdgeCells() const
{
    EDGES edges = {};
    for (int i = 0; i < 2; ++i) {
        const int nCol = ColumnFromX(i == 0 ? m_rcCells.left : m_rcCells.right - 1);
        RECT& rc = edges.rc[i];
        if (nCol < 0 || !ColumnBounds(nCol, &rc) || (rc.left >= m_rcCells.left && rc.right <= m_rcCells.right)
            || !IntersectRect(&rc, &rc, &m_rcCells))
            SetRectEmpty(&rc);
    }
    return edges;
}

void CTableWindowArea::InvalidateEdgeCells(const EDGES& before)
{
    HWND hGrid = GridHwnd();
    if (!hGrid)
        return;
    const EDGES after = EdgeCells();
    for (const EDGES* pEdges : {&before, &after})
        for (const RECT& rc : pEdges->rc)
            if (!IsRectEmpty(&rc))
                InvalidateRect(hGrid, &rc, FALSE);
}

void CTableWindowArea::ReserveScrollStrip(BOOL bReserve)
{
    bReserve = bReserve ? TRUE : FALSE;
    if (bReserve == m_bReserveStrip)
        return;
    if (bReserve && m_bScrollable && m_bBarShown) {
        m_bReserveStrip = bReserve;
        return;
    }
    m_bReserveStrip = bReserve;
    SetRect(m_rcPane, TRUE);
    RECT rc = m_rcPane;
    rc.top = rc.bottom - GetSystemMetrics(SM_CYHSCROLL) - 2;
    if (rc.top < m_rcPane.top)
        rc.top = m_rcPane.top;
    Invalidate(&rc, FALSE);
}

// ---- Columns -----------------------------------------------------------------------------

int CTableWindowArea::GetColumnWidth(int nDisplayCol) const
{
    if (!m_pGrid || !ContainsColumn(nDisplayCol))
        return -1;
    return m_pGrid->GetColumnWidth(nDisplayCol);
}

void CTableWindowArea::StoreWidth(int nDisplayCol, int nWidth)
{
    if (!m_pGrid || nDisplayCol < 0 || nDisplayCol >= m_pGrid->GetDisplayColumnCount())
        return;
    m_pGrid->StoreColumnWidth(nDisplayCol, nWidth);
}

void CTableWindowArea::SetColumnWidthNow(int nDisplayCol, int nWidth)
{
    if (!ContainsColumn(nDisplayCol))
        return;
    StoreWidth(nDisplayCol, nWidth);
    RecalcTotalWidth();
    RecalcLayout();
}

void CTableWindowArea::SetColumnWidth(int nDisplayCol, int nWidth, BOOL bAnimate)
{
    if (!ContainsColumn(nDisplayCol))
        return;
    if (bAnimate) {
        if (IsMirroredLayout())
            ResizeColumnRtl(nDisplayCol, nWidth);
        else
            ResizeColumn(nDisplayCol, nWidth);
    } else {
        SetColumnWidthNow(nDisplayCol, nWidth);
    }
    ClampScroll();
}

BOOL CTableWindowArea::RestoreColumnWidth(int nDisplayCol, BOOL bAnimate)
{
    if (!m_pGrid || !ContainsColumn(nDisplayCol) || GetColumnWidth(nDisplayCol) != 0)
        return FALSE;
    CViewTable* pView = m_pGrid->GetView();
    CTableColumn* pColumn = pView ? pView->GetColumnOrder().GetColumn(nDisplayCol) : nullptr;
    if (!pColumn)
        return FALSE;
    SetColumnWidth(nDisplayCol, pColumn->m_nWidth, bAnimate);
    return TRUE;
}

// What follows the column moves by the width difference: the column's title and everything
// from the column's changing edge to the pane's trailing edge is painted again.
void CTableWindowArea::ResizeColumn(int nDisplayCol, int nWidth)
{
    ResizeAndInvalidate(nDisplayCol, nWidth, FALSE);
}

void CTableWindowArea::ResizeColumnRtl(int nDisplayCol, int nWidth)
{
    ResizeAndInvalidate(nDisplayCol, nWidth, TRUE);
}

void CTableWindowArea::ResizeAndInvalidate(int nDisplayCol, int nWidth, BOOL bRtl)
{
    RECT rcOld;
    BOOL bHad = ColumnBounds(nDisplayCol, &rcOld);
    SetColumnWidthNow(nDisplayCol, nWidth);
    RecalcLayout();
    UpdateScrollBar();
    if (!bHad)
        return;
    RECT rc = m_rcPane;
    if (bRtl)
        rc.right = std::min(rcOld.right + 4, m_rcPane.right);
    else
        rc.left = std::max(rcOld.left - 4, m_rcPane.left);
    Invalidate(&rc, FALSE);
}

int CTableWindowArea::ColumnStartX() const
{
    return IsMirroredLayout() ? m_rcCells.right - m_nTotalWidth + m_nOffset : m_rcCells.left - m_nOffset;
}

BOOL CTableWindowArea::ColumnBounds(int nDisplayCol, RECT* pRect) const
{
    if (!ContainsColumn(nDisplayCol))
        return FALSE;
    int x = ColumnStartX();
    int nStep = StepOf(m_nFirst, m_nLast);
    for (int nCol = m_nFirst;; nCol += nStep) {
        int nWidth = GetColumnWidth(nCol);
        if (nWidth < 0)
            nWidth = 0;
        if (nCol == nDisplayCol) {
            ::SetRect(pRect, x, m_rcCells.top, x + nWidth, m_rcCells.bottom);
            return TRUE;
        }
        x += nWidth;
        if (nCol == m_nLast)
            break;
    }
    return FALSE;
}

BOOL CTableWindowArea::GetColumnRect(int nDisplayCol, RECT* pRect) const
{
    if (!pRect)
        return FALSE;
    if (!ColumnBounds(nDisplayCol, pRect)) {
        SetRectEmpty(pRect);
        return FALSE;
    }
    return pRect->left >= m_rcCells.left && pRect->right <= m_rcCells.right;
}

BOOL CTableWindowArea::IsColumnVisible(int nDisplayCol) const
{
    if (!m_pGrid || !ContainsColumn(nDisplayCol))
        return FALSE;
    CViewTable* pView = m_pGrid->GetView();
    CTableColumn* pColumn = pView ? pView->GetColumnOrder().GetColumn(nDisplayCol) : nullptr;
    return pColumn && !pColumn->m_bHidden;
}

BOOL CTableWindowArea::EnsureColumnVisible(int nDisplayCol)
{
    if (!IsColumnVisible(nDisplayCol))
        return FALSE;
    if (!m_bScrollable)
        return TRUE;
    RECT rc;
    ColumnBounds(nDisplayCol, &rc);
    int nCellWidth = Width(m_rcCells);
    int nOffset = m_nOffset;
    // Offsets grow towards the trailing side: content moves left, or right when mirrored.
    int nSign = IsMirroredLayout() ? -1 : 1;
    BOOL bStartsBefore = IsMirroredLayout() ? rc.right > m_rcCells.right : rc.left < m_rcCells.left;
    BOOL bEndsAfter = IsMirroredLayout() ? rc.left < m_rcCells.left : rc.right > m_rcCells.right;
    if (Width(rc) > nCellWidth || bStartsBefore)
        nOffset += nSign * (IsMirroredLayout() ? rc.right - m_rcCells.right : rc.left - m_rcCells.left);
    else if (bEndsAfter)
        nOffset += nSign * (IsMirroredLayout() ? rc.left - m_rcCells.left : rc.right - m_rcCells.right);
    ScrollToClamped(nOffset);
    return TRUE;
}

void CTableWindowArea::ScrollToClamped(int nOffset)
{
    const int nMax = GetMaxOffset();
    nOffset = std::max(0, std::min(nOffset, nMax));
    if (nOffset != m_nOffset)
        ScrollTo(nOffset, TRUE);
}

// ---- Lines and hit tests -----------------------------------------------------------------

BOOL CTableWindowArea::GetLineRect(int nLine, RECT* pRect) const
{
    if (!pRect)
        return FALSE;
    if (nLine == -2)
        nLine = m_pGrid ? m_pGrid->GetAppendLineOffset() : -3;
    if (nLine < 0)
        return FALSE;
    int nTop = m_rcCells.top + GetRowHeight() * nLine;
    ::SetRect(pRect, m_rcCells.left, nTop, m_rcCells.right, nTop + GetRowHeight());
    if (pRect->bottom > m_rcCells.bottom)
        pRect->bottom = m_rcCells.bottom;
    return nTop < m_rcCells.bottom;
}

int CTableWindowArea::ColumnFromX(int x) const
{
    BOOL bMirrored = IsMirroredLayout();
    if (bMirrored ? x >= m_rcCells.right : x < m_rcCells.left)
        return -1;
    if (IsEmpty() || x < m_rcCells.left || x >= m_rcCells.right)
        return -2;
    int xCol = ColumnStartX();
    int nStep = StepOf(m_nFirst, m_nLast);
    for (int nCol = m_nFirst;; nCol += nStep) {
        int nWidth = GetColumnWidth(nCol);
        if (nWidth > 0 && x >= xCol && x < xCol + nWidth)
            return nCol;
        if (nWidth > 0)
            xCol += nWidth;
        if (nCol == m_nLast)
            break;
    }
    return -2;
}

int CTableWindowArea::RowFromY(int y) const
{
    if (y < m_rcPane.top || y >= m_rcCells.bottom)
        return -3;
    if (y < m_rcCells.top)
        return -1;
    int nLine = (y - m_rcCells.top) / GetRowHeight();
    int nAppend = m_pGrid ? m_pGrid->GetAppendLineOffset() : -3;
    if (nAppend >= 0 ? nLine >= nAppend : nLine >= m_nLinesFit)
        return -2;
    return nLine;
}

// ---- Invalidation ------------------------------------------------------------------------

HWND CTableWindowArea::GridHwnd() const
{
    HWND hWnd = m_pGrid ? m_pGrid->GetSafeHwnd() : nullptr;
    return hWnd && IsWindow(hWnd) ? hWnd : nullptr;
}

void CTableWindowArea::Invalidate(const RECT* pRect, BOOL bErase)
{
    HWND hGrid = GridHwnd();
    if (hGrid)
        InvalidateRect(hGrid, pRect ? pRect : &m_rcPane, bErase);
}

void CTableWindowArea::InvalidateCells(BOOL bUpdateNow)
{
    HWND hGrid = GridHwnd();
    if (!hGrid)
        return;
    InvalidateRect(hGrid, &m_rcCells, FALSE);
    if (bUpdateNow)
        UpdateWindow(hGrid);
}
