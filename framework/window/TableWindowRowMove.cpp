// Rows of a live view move under the grid: the grid moves bands of pixels with them and paints
// only the lines they uncover.
#include <algorithm>
#include <cstdlib>

#include "framework/window/TableWindow.h"
#include "platform/win/user/Paint.h"

void CTableWindow::OnRowMoved(CRowPosition*, int, CRowPosition*, int)
{
    Refresh();
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

void CTableWindow::ScrollRowsRegion(int nFirstLine, int nLines, int nMoved)
{
    const int nShown = GetLinesThatFit();
    if (!m_hWnd || nFirstLine < 0 || nFirstLine >= nShown)
        return;
    const RECT rcRows = GetRowsRect();
    const int nRow = m_nRowHeight;
    const int nEnd = nLines < 0 ? nShown : std::min(nShown, nFirstLine + nLines);
    RECT rcBand = {rcRows.left, rcRows.top + nFirstLine * nRow, rcRows.right,
                   std::min(rcRows.bottom, rcRows.top + nEnd * nRow)};
    if (IsRectEmpty(&rcBand))
        return;
    RECT rcStrip = rcBand;
    if (nMoved != 0) {
        // Pending paints inside the band would be moved with stale pixels: do them first.
        UpdateNow();
        ScrollWindow(m_hWnd, 0, nMoved * nRow, &rcBand, &rcBand);
        if (nMoved > 0)
            rcStrip.bottom = std::min(rcBand.bottom, rcBand.top + nMoved * nRow);
        else
            rcStrip.top = std::max(rcBand.top, rcBand.bottom + nMoved * nRow - 2);
    }
    if (m_headerPane.IsDragActive()) {
        HDC hdc = GetDC(m_hWnd);
        if (hdc) {
            m_headerPane.OnRowsMoved(hdc, nFirstLine, nEnd - nFirstLine, nMoved);
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
        ScrollWindow(m_hWnd, 0, nDy, &rcRows, &rcRows);
        if (nLines > 0)
            rcStrip.bottom = rcRows.top + nDy;
        else
            rcStrip.top = rcRows.bottom + nDy;
        PaintStripNow(rcStrip);
    }
    if (m_headerPane.IsDragActive()) {
        if (nLines > 0)
            m_headerPane.OnLinesScrolledDown(nLines);
        else
            m_headerPane.OnLinesScrolledUp(-nLines);
        HDC hdc = GetDC(m_hWnd);
        if (hdc) {
            m_headerPane.OnRowsMoved(hdc, 0, 5000, nLines);
            ReleaseDC(m_hWnd, hdc);
        }
    }
}
