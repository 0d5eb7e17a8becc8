// The row-header pane: header cells with marks, status characters and change highlights, the
// corner cell with the sum mode, and the marking drag over the headers.
#include "framework/window/TableWindowHeaderArea.h"

#include <ctime>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableRowCache.h"
#include "framework/window/TableWindow.h"

namespace {

BOOL Meets(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

const UINT HEADER_TEXT_FORMAT = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

} // namespace

int CTableWindowHeaderArea::GetColumnWidth(int) const
{
    return GetRowHeight();
}

// The same clock that stamps the rows when they change, so that the age of a stamp is true.
int64_t CTableWindowHeaderArea::Now()
{
    return static_cast<int64_t>(time(nullptr));
}

void CTableWindowHeaderArea::Paint(HDC hdc, const RECT& rcUpdate, CTableRowCache* pCache)
{
    if (!hdc || !m_pGrid || !Meets(rcUpdate, m_rcPane))
        return;
    ++m_nPaints;
    int nSaved = SaveDC(hdc);
    COLORREF crOld = SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));

    if (m_bHasTitle && Meets(rcUpdate, m_rcTitle))
        PaintCorner(hdc);
    if (m_bReserveStrip && !m_bBarShown && Meets(rcUpdate, m_rcScrollStrip))
        m_pGrid->DrawFrame(hdc, m_rcScrollStrip, 0, nullptr);

    if (!IsRectEmpty(&m_rcCells)) {
        int nInner = SaveDC(hdc);
        IntersectClipRect(hdc, m_rcCells.left, m_rcCells.top, m_rcCells.right, m_rcCells.bottom);
        m_tNow = Now();
        m_bPaintingHeaders = TRUE;
        int nRowHeight = GetRowHeight();
        int nLines = pCache ? pCache->GetCount() : 0;
        if (nLines > m_nLinesFit)
            nLines = m_nLinesFit;
        for (int nLine = 0; nLine < nLines; ++nLine) {
            RECT rc = LineCell(nLine);
            if (Meets(rc, rcUpdate))
                PaintRowHeader(hdc, pCache->GetLineRow(nLine), nLine, rc);
        }
        RECT rcEmpty = {m_rcCells.left, m_rcCells.top + nLines * nRowHeight, m_rcCells.right, m_rcCells.bottom + 2};
        if (rcEmpty.top < m_rcCells.bottom && Meets(rcEmpty, rcUpdate))
            m_pGrid->DrawFrame(hdc, rcEmpty, 0, nullptr);
        m_bPaintingHeaders = FALSE;
        RestoreDC(hdc, nInner);
    }

    RECT rcBefore = {m_rcPane.left, m_rcPane.top, m_rcCells.left, m_rcPane.bottom};
    RECT rcAfter = {m_rcCells.right, m_rcPane.top, m_rcPane.right, m_rcPane.bottom};
    // Only what the update covers: the rest shows that background already.
    for (const RECT& rcSide : {rcBefore, rcAfter}) {
        RECT rcPart;
        if (Meets(rcSide, rcUpdate) && IntersectRect(&rcPart, &rcSide, &rcUpdate))
            FillRect(hdc, &rcPart, m_pGrid->GetBackgroundBrush());
    }
    SetTextColor(hdc, crOld);
    RestoreDC(hdc, nSaved);
}

void CTableWindowHeaderArea::PaintCorner(HDC hdc)
{
    BOOL bPressed = m_nHotLine == -1;
    m_pGrid->DrawFrame(hdc, m_rcTitle, bPressed, nullptr);
    RECT rc = m_rcTitle;
    if (bPressed)
        OffsetRect(&rc, 1, 1);
    CViewTable* pView = m_pGrid->GetView();
    HFONT hBold = m_pGrid->GetBoldFont();
    HGDIOBJ hOld = hBold ? SelectObject(hdc, hBold) : nullptr;
    DrawTextA(hdc, pView && pView->GetSumMode() != 0 ? "+" : "-", 1, &rc, HEADER_TEXT_FORMAT);
    if (hOld)
        SelectObject(hdc, hOld);
}

BOOL CTableWindowHeaderArea::IsHighlighted(const CTableRow* pRow) const
{
    int nSeconds = m_pGrid ? m_pGrid->GetHighlightSeconds() : 0;
    if (nSeconds <= 0 || !pRow || pRow->GetStamp() == 0)
        return FALSE;
    // The whole 64-bit age: an old stamp never wraps round into a recent one, and a stamp
    // ahead of the clock (the clock was set back) counts as expired.
    int64_t nAge = m_tNow - pRow->GetStamp();
    return nAge >= 0 && nAge <= nSeconds;
}

void CTableWindowHeaderArea::PaintRowHeader(HDC hdc, CTableRow* pRow, int nLine, const RECT& rcCell)
{
    if (!hdc || !m_pGrid)
        return;
    ++m_nPaints;
    // A header painted on its own (a changed row, an aged highlight) reads the clock itself.
    if (!m_bPaintingHeaders)
        m_tNow = Now();
    BOOL bMarkable = pRow && (pRow->m_bFlags & ROW_MARKABLE) != 0;
    BOOL bPressed;
    BOOL bMark;
    if (m_bDragActive) {
        int nLow = m_nAnchor < m_nCurrent ? m_nAnchor : m_nCurrent;
        int nHigh = m_nAnchor < m_nCurrent ? m_nCurrent : m_nAnchor;
        bPressed = nLine >= nLow && nLine <= nHigh;
        bMark = bPressed && m_bDragMark && bMarkable;
    } else {
        bPressed = nLine == m_nHotLine;
        bMark = pRow && pRow->IsMarked();
    }
    CNorvGlobals& globals = GetNorvGlobals();
    const CTB3DFrame* pFrames = IsHighlighted(pRow) ? &globals.m_frame2 : &globals.m_frame1;
    m_pGrid->DrawFrame(hdc, rcCell, bPressed, pFrames);

    RECT rc = rcCell;
    if (bPressed)
        OffsetRect(&rc, 1, 1);
    if (!bMark) {
        if (pRow) {
            char szStatus[2] = {pRow->GetStatus(), '\0'};
            if (szStatus[0])
                DrawTextA(hdc, szStatus, 1, &rc, HEADER_TEXT_FORMAT);
        }
        return;
    }
    int nHeight = rc.bottom - rc.top - 6;
    nHeight -= nHeight & 1;
    if (nHeight <= 0)
        return;
    int nHalf = nHeight / 2;
    int nInset = (rc.right - rc.left - nHalf) / 2;
    // It points along the reading direction: right, or left in a mirrored grid.
    BOOL bMirrored = m_pGrid->IsMirrored();
    int xSide = bMirrored ? rc.right - 1 - nInset : rc.left + nInset;
    int xApex = bMirrored ? xSide - nHalf : xSide + nHalf;
    POINT pts[3] = {{xSide, rc.top + 2}, {xSide, rc.top + 2 + nHeight}, {xApex, rc.top + 2 + nHalf}};
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    Polygon(hdc, pts, 3);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
}

RECT CTableWindowHeaderArea::LineCell(int nLine) const
{
    int nTop = m_rcCells.top + nLine * GetRowHeight();
    return RECT{m_rcCells.left, nTop, m_rcCells.right, nTop + GetRowHeight()};
}

// The row of a screen line: from the row cache while it holds the rows on screen, else from
// the view (the cache may have been cleared since the last paint).
CTableRow* CTableWindowHeaderArea::RowOfLine(int nLine, CViewRow& cursor) const
{
    if (!m_pGrid || nLine < 0)
        return nullptr;
    CTableRowCache& cache = m_pGrid->GetRowCache();
    if (cache.GetFirst() >= 0 && cache.GetFirst() == m_pGrid->GetTopRow() && nLine < cache.GetCount())
        return cache.GetLineRow(nLine);
    CViewTable* pView = m_pGrid->GetView();
    if (!pView || !pView->GetRow(cursor, m_pGrid->GetTopRow() + nLine))
        return nullptr;
    return cursor.GetNode();
}

void CTableWindowHeaderArea::SetHotLine(int nLine)
{
    int nHot = -3;
    if (nLine == -1) {
        nHot = -1;
    } else if (nLine >= 0 && nLine < m_nLinesFit) {
        CViewRow cursor;
        CTableRow* pRow = RowOfLine(nLine, cursor);
        if (pRow && (pRow->m_bFlags & ROW_MARKABLE) != 0)
            nHot = nLine;
    }
    if (nHot == m_nHotLine)
        return;
    int nOld = m_nHotLine;
    m_nHotLine = nHot;
    HWND hGrid = GridHwnd();
    if (!hGrid)
        return;
    for (int n : {nOld, nHot}) {
        if (n == -1) {
            InvalidateRect(hGrid, &m_rcTitle, FALSE);
        } else if (n >= 0) {
            RECT rc = LineCell(n);
            InvalidateRect(hGrid, &rc, FALSE);
        }
    }
    UpdateWindow(hGrid);
}

// ---- Marking drags -----------------------------------------------------------------------

void CTableWindowHeaderArea::BeginDrag(int nLine, BOOL bMark)
{
    if (nLine < 0)
        return;
    m_bDragMark = bMark ? TRUE : FALSE;
    m_bDragActive = TRUE;
    m_nAnchor = -1;
    m_nCurrent = -1;
    SetDragRange(nLine, nLine, nullptr);
}

void CTableWindowHeaderArea::DragTo(int nLine)
{
    if (nLine < 0 || !m_bDragActive)
        return;
    SetDragRange(m_nAnchor, nLine, nullptr);
}

int CTableWindowHeaderArea::LastDragLine() const
{
    int nFit = m_pGrid ? m_pGrid->GetScrollPane().GetLinesThatFit() : 0;
    return nFit > 0 ? nFit - 1 : 0;
}

int CTableWindowHeaderArea::ClampLine(int nLine) const
{
    int nLast = LastDragLine();
    return nLine < 0 ? 0 : (nLine > nLast ? nLast : nLine);
}

void CTableWindowHeaderArea::SetDragRange(int nAnchor, int nCurrent, HDC hdc)
{
    m_nAnchor = nAnchor;
    m_nCurrent = nCurrent;
    int nLow = ClampLine(nAnchor < nCurrent ? nAnchor : nCurrent);
    int nHigh = ClampLine(nAnchor < nCurrent ? nCurrent : nAnchor);
    if (nLow == m_nPaintedFirst && nHigh == m_nPaintedLast)
        return;
    int nOldFirst = m_nPaintedFirst;
    int nOldLast = m_nPaintedLast;
    m_nPaintedFirst = nLow;
    m_nPaintedLast = nHigh;
    // Only the lines that entered or left the range change their look.
    int nFrom = nOldFirst >= 0 && nOldFirst < nLow ? nOldFirst : nLow;
    int nTo = nOldLast > nHigh ? nOldLast : nHigh;
    int nRunStart = -1;
    for (int nLine = nFrom; nLine <= nTo + 1; ++nLine) {
        BOOL bOld = nOldFirst >= 0 && nLine >= nOldFirst && nLine <= nOldLast;
        BOOL bNew = nLine >= nLow && nLine <= nHigh;
        BOOL bChanged = nLine <= nTo && bOld != bNew;
        if (bChanged && nRunStart < 0)
            nRunStart = nLine;
        if (!bChanged && nRunStart >= 0) {
            RepaintLines(hdc, nRunStart, nLine - 1);
            nRunStart = -1;
        }
    }
}

void CTableWindowHeaderArea::OnLinesScrolledDown(int nLines)
{
    ShiftDrag(nLines);
}

void CTableWindowHeaderArea::OnLinesScrolledUp(int nLines)
{
    ShiftDrag(-nLines);
}

// The content moved by nLines on screen: the anchor stays on its row, even outside the window;
// the painted range moves with the pixels.
void CTableWindowHeaderArea::ShiftDrag(int nLines)
{
    if (!m_bDragActive || nLines == 0)
        return;
    m_nAnchor += nLines;
    ShiftPaintedRange(0, 0x7fffffff, nLines);
}

void CTableWindowHeaderArea::ShiftPaintedRange(int nFrom, int nTo, int nLines)
{
    if (m_nPaintedFirst < 0)
        return;
    int nFirst = m_nPaintedFirst >= nFrom && m_nPaintedFirst <= nTo ? m_nPaintedFirst + nLines : m_nPaintedFirst;
    int nLast = m_nPaintedLast >= nFrom && m_nPaintedLast <= nTo ? m_nPaintedLast + nLines : m_nPaintedLast;
    int nMax = LastDragLine();
    if (nLast < 0 || nFirst > nMax) {
        // Every pressed line left the window with the pixels that showed it.
        m_nPaintedFirst = m_nPaintedLast = -1;
        return;
    }
    m_nPaintedFirst = ClampLine(nFirst);
    m_nPaintedLast = ClampLine(nLast);
}

void CTableWindowHeaderArea::OnRowsMoved(HDC hdc, int nFrom, int nTo, int nCount)
{
    (void)hdc;
    if (!m_bDragActive || nCount == 0)
        return;
    ShiftPaintedRange(nFrom, nTo, nCount);
}

void CTableWindowHeaderArea::EndDrag(BOOL bApply)
{
    if (!m_bDragActive)
        return;
    m_bDragActive = FALSE;
    CViewTable* pView = m_pGrid ? m_pGrid->GetView() : nullptr;
    if (bApply && pView && pView->GetRowCount() > 0)
        ApplyDrag(pView);
    int nFirst = m_nPaintedFirst;
    int nLast = m_nPaintedLast;
    m_nPaintedFirst = m_nPaintedLast = -1;
    if (nFirst >= 0)
        RepaintLines(nullptr, nFirst, nLast);
}

void CTableWindowHeaderArea::ApplyDrag(CViewTable* pView)
{
    int nTop = m_pGrid->GetTopRow();
    int nLastRow = pView->GetRowCount() - 1;
    int nLow = (m_nAnchor < m_nCurrent ? m_nAnchor : m_nCurrent) + nTop;
    int nHigh = (m_nAnchor < m_nCurrent ? m_nCurrent : m_nAnchor) + nTop;
    nLow = nLow < 0 ? 0 : (nLow > nLastRow ? nLastRow : nLow);
    nHigh = nHigh < 0 ? 0 : (nHigh > nLastRow ? nLastRow : nHigh);
    if (nHigh > nLow) {
        CTableFilters filters;
        if (!filters.Init(pView, nullptr))
            return;
        filters.SetMode(m_bDragMark ? FILTER_MARK_ALL : FILTER_UNMARK_ALL);
        filters.SetRowRange(nLow, nHigh);
        pView->ApplyFilters(&filters);
        m_pGrid->FireRowsSelected(nLow, nHigh, m_bDragMark);
        return;
    }
    CViewRow row;
    if (!pView->GetRow(row, nLow) || !row.GetNode() || (row.GetNode()->m_bFlags & ROW_MARKABLE) == 0)
        return;
    BOOL bMark = m_bDragMark ? !row.IsMarked() : FALSE;
    row.SetMarked(bMark);
    m_pGrid->FireRowMarked(&row, bMark);
}

void CTableWindowHeaderArea::RepaintLines(HDC hdc, int nFirst, int nLast)
{
    HWND hGrid = GridHwnd();
    if (!hGrid || IsRectEmpty(&m_rcCells))
        return;
    if (nFirst < 0)
        nFirst = 0;
    if (nLast >= m_nLinesFit)
        nLast = m_nLinesFit - 1;
    if (nFirst > nLast)
        return;
    HDC hdcOwn = nullptr;
    if (!hdc) {
        hdcOwn = GetDC(hGrid);
        if (!hdcOwn)
            return;
        m_pGrid->PrepareDC(hdcOwn);
        hdc = hdcOwn;
    }
    int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, m_rcCells.left, m_rcCells.top, m_rcCells.right, m_rcCells.bottom);
    m_tNow = Now();
    m_bPaintingHeaders = TRUE;
    CViewRow cursor;
    for (int nLine = nFirst; nLine <= nLast; ++nLine) {
        // Lines past the last row belong to the empty frame below the rows.
        CTableRow* pRow = RowOfLine(nLine, cursor);
        if (pRow)
            PaintRowHeader(hdc, pRow, nLine, LineCell(nLine));
    }
    m_bPaintingHeaders = FALSE;
    RestoreDC(hdc, nSaved);
    if (hdcOwn)
        ReleaseDC(hGrid, hdcOwn);
}
