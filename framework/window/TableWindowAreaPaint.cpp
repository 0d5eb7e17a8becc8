// Painting of a grid pane: title strip, rows, cells and the XOR focus frame. Everything is
// clipped to the update rectangle at every level, and rows come from the grid's row cache.
#include "framework/window/TableWindowArea.h"

#include <cstdio>
#include <cstring>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/CellText.h"
#include "framework/window/TableRowCache.h"
#include "framework/window/TableWindow.h"

namespace {

BOOL Meets(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The part of a background rectangle the update covers, filled; FALSE when they do not meet.
// The rest shows that background already: a live change paints into the window without a clip,
// and filling the whole of a strip beside or below the rows cost more than the change's cell.
BOOL FillWithin(HDC hdc, const RECT& rc, const RECT& rcUpdate, HBRUSH hBrush, RECT* pFilled = nullptr)
{
    RECT rcPart;
    if (!Meets(rc, rcUpdate) || !IntersectRect(&rcPart, &rc, &rcUpdate))
        return FALSE;
    FillRect(hdc, &rcPart, hBrush);
    if (pFilled)
        *pFilled = rcPart;
    return TRUE;
}

UINT AlignFlag(int nAlign)
{
    static const UINT s_flags[] = {DT_LEFT, DT_CENTER, DT_RIGHT};   // by ALIGN_LEFT, _CENTER, _RIGHT
    return nAlign >= ALIGN_LEFT && nAlign <= ALIGN_RIGHT ? s_flags[nAlign] : DT_LEFT;
}

// A colour index of a cell attribute: 1..126 names a table entry; 0 and the 7-bit value 127,
// which lies past the tables, mean "no colour of its own".
BOOL IsTableColorIndex(int nIndex)
{
    return nIndex >= 1 && nIndex < CTableWindowProperties::COLOR_COUNT;
}

} // namespace

void CTableWindowArea::Paint(HDC hdc, const RECT& rcUpdate, CTableRowCache* pCache)
{
    if (!hdc || !m_pGrid || !Meets(rcUpdate, m_rcPane))
        return;
    int nSaved = SaveDC(hdc);

    // The columns that meet the update rectangle, in run order.
    int nVisFirst = -1;
    int nVisLast = -1;
    if (!IsEmpty()) {
        int x = ColumnStartX();
        int nStep = StepOf(m_nFirst, m_nLast);
        for (int nCol = m_nFirst;; nCol += nStep) {
            int nWidth = GetColumnWidth(nCol);
            if (nWidth > 0) {
                RECT rc = {x, m_rcPane.top, x + nWidth, m_rcPane.bottom};
                if (Meets(rc, rcUpdate) && rc.left < m_rcCells.right && rc.right > m_rcCells.left) {
                    if (nVisFirst < 0)
                        nVisFirst = nCol;
                    nVisLast = nCol;
                }
                x += nWidth;
            }
            if (nCol == m_nLast)
                break;
        }
    }

    if (m_bHasTitle && Meets(rcUpdate, RECT{m_rcPane.left, m_rcPane.top, m_rcPane.right, m_rcTitle.bottom}))
        PaintTitleStrip(hdc, rcUpdate, nVisFirst, nVisLast);
    if (m_bReserveStrip && !m_bBarShown && Meets(rcUpdate, m_rcScrollStrip))
        m_pGrid->DrawFrame(hdc, m_rcScrollStrip, 0, nullptr);

    // Rows, then the window background below the last one.
    int nRowHeight = GetRowHeight();
    int nLines = pCache ? pCache->GetCount() : 0;
    if (nLines > m_nLinesFit)
        nLines = m_nLinesFit;
    int nRowsBottom = m_rcCells.top + nLines * nRowHeight;
    if (nRowsBottom > m_rcCells.bottom)
        nRowsBottom = m_rcCells.bottom;
    if (!IsRectEmpty(&m_rcCells)) {
        IntersectClipRect(hdc, m_rcCells.left, m_rcCells.top, m_rcCells.right, m_rcCells.bottom);
        // The rows leave the column separators and the focus frame to one pass over them all.
        m_bPaintingRows = TRUE;
        RECT rcRows = {m_rcCells.right, 0, m_rcCells.left, 0};
        for (int nLine = 0; nLine < nLines; ++nLine) {
            int nTop = m_rcCells.top + nLine * nRowHeight;
            RECT rcLine = {m_rcCells.left, nTop, m_rcCells.right, nTop + nRowHeight};
            if (!Meets(rcLine, rcUpdate))
                continue;
            CViewRow* pLine = pCache->GetLine(nLine);
            CTableRow* pRow = pLine ? pLine->GetNode() : nullptr;
            int nKind = pLine ? pLine->GetPosition().m_nKind : LINE_NONE;
            PaintRow(hdc, pRow, nLine, nKind, nVisFirst, nVisLast, rcLine);
            if (IsRectEmpty(&rcRows))
                rcRows = rcLine;
            rcRows.bottom = rcLine.bottom;
        }
        m_bPaintingRows = FALSE;
        if (!IsRectEmpty(&rcRows) && nVisFirst >= 0) {
            DrawSeparators(hdc, nVisFirst, nVisLast, rcRows.top, rcRows.bottom);
            RedrawFocusIn(hdc, rcRows);
        }
        RECT rcBelow = {m_rcCells.left, nRowsBottom, m_rcCells.right, m_rcCells.bottom};
        RECT rcFilled;
        if (FillWithin(hdc, rcBelow, rcUpdate, m_pGrid->GetBackgroundBrush(), &rcFilled)) {
            // The append line's focus frame lies on the background just filled.
            RedrawFocusIn(hdc, rcFilled);
        }
        RestoreDC(hdc, nSaved);
        nSaved = SaveDC(hdc);
    }

    // The window background beside the cell area.
    RECT rcBefore = {m_rcPane.left, m_rcCells.top, m_rcCells.left, m_rcCells.bottom};
    RECT rcAfter = {m_rcCells.right, m_rcCells.top, m_rcPane.right, m_rcCells.bottom};
    FillWithin(hdc, rcBefore, rcUpdate, m_pGrid->GetBackgroundBrush());
    FillWithin(hdc, rcAfter, rcUpdate, m_pGrid->GetBackgroundBrush());
    RestoreDC(hdc, nSaved);
}

void CTableWindowArea::PaintTitleStrip(HDC hdc, const RECT& rcUpdate, int nVisFirst, int nVisLast)
{
    COLORREF crOld = SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    if (nVisFirst >= 0 && !IsRectEmpty(&m_rcTitle)) {
        int nSaved = SaveDC(hdc);
        IntersectClipRect(hdc, m_rcTitle.left, m_rcTitle.top, m_rcTitle.right, m_rcTitle.bottom);
        int nStep = StepOf(m_nFirst, m_nLast);
        for (int nCol = nVisFirst;; nCol += nStep) {
            RECT rc;
            if (GetColumnWidth(nCol) > 0 && ColumnBounds(nCol, &rc)) {
                rc.top = m_rcTitle.top;
                rc.bottom = m_rcTitle.bottom;
                if (Meets(rc, rcUpdate))
                    m_pGrid->DrawColumnTitle(hdc, nCol, rc);
            }
            if (nCol == nVisLast)
                break;
        }
        RestoreDC(hdc, nSaved);
    }
    RECT rcBefore = {m_rcPane.left, m_rcTitle.top, m_rcTitle.left, m_rcTitle.bottom};
    RECT rcAfter = {m_rcTitle.right, m_rcTitle.top, m_rcPane.right, m_rcTitle.bottom};
    if (Meets(rcBefore, rcUpdate))
        m_pGrid->DrawFrame(hdc, rcBefore, 0, nullptr);
    if (Meets(rcAfter, rcUpdate))
        m_pGrid->DrawFrame(hdc, rcAfter, 0, nullptr);
    SetTextColor(hdc, crOld);
}

// The line is painted whole over the columns asked for: background, separators, cells and its
// lines. So a row repainted on its own, outside a paint, leaves nothing stale behind.
void CTableWindowArea::PaintRow(HDC hdc, CTableRow* pRow, int nLine, int nRowKind, int nFirst, int nLast,
                                const RECT& rcLine)
{
    (void)nLine;
    if (!hdc || !m_pGrid || IsEmpty() || nFirst < 0 || nLast < 0 || !ContainsColumn(nFirst) || !ContainsColumn(nLast))
        return;
    int nStep = StepOf(m_nFirst, m_nLast);
    // The run from nFirst to nLast must follow the pane's direction.
    if (nFirst != nLast && StepOf(nFirst, nLast) != nStep)
        return;
    RECT rcFirst;
    RECT rcLast;
    ColumnBounds(nFirst, &rcFirst);
    ColumnBounds(nLast, &rcLast);
    RECT rcExtent = {rcFirst.left, rcLine.top, rcLast.right, rcLine.bottom};
    if (rcExtent.right <= rcExtent.left)
        return;
    BOOL bGridLines = m_pGrid->GetFlag5();
    FillRect(hdc, &rcExtent, m_pGrid->GetCellBackBrush());

    int x = rcFirst.left;
    for (int nCol = nFirst;; nCol += nStep) {
        int nWidth = GetColumnWidth(nCol);
        if (nWidth > 0) {
            RECT rcCell = {x, rcLine.top, x + nWidth - 1, rcLine.bottom};
            if (rcCell.right > rcCell.left)
                PaintCell(hdc, pRow, nCol, rcCell);
            x += nWidth;
        }
        if (nCol == nLast)
            break;
    }
    if (!m_bPaintingRows)
        DrawSeparators(hdc, nFirst, nLast, rcLine.top, rcLine.bottom);

    CViewTable* pView = m_pGrid->GetView();
    BOOL bGroupLines = pView && pView->GetGroupHeaderMode() == 1
                       && (nRowKind == LINE_GROUP_END || nRowKind == LINE_GROUP_SUM || nRowKind == LINE_TOTAL);
    if (bGroupLines) {
        DrawRule(hdc, RECT{rcExtent.left, rcLine.top, rcExtent.right, rcLine.top + 1}, m_pGrid->GetShadowColor());
        DrawRule(hdc, RECT{rcExtent.left, rcLine.bottom - 1, rcExtent.right, rcLine.bottom}, m_pGrid->GetShadowColor());
    } else if (bGridLines) {
        DrawRule(hdc, RECT{rcExtent.left, rcLine.bottom - 1, rcExtent.right, rcLine.bottom}, m_pGrid->GetFaceColor());
    }
    if (!m_bPaintingRows)
        RedrawFocusIn(hdc, rcExtent);
}

// Each column's separator, a line on its last pixel column, when grid lines are on.
void CTableWindowArea::DrawSeparators(HDC hdc, int nFirst, int nLast, int nTop, int nBottom)
{
    if (!m_pGrid->GetFlag5())
        return;
    RECT rcFirst;
    if (!ColumnBounds(nFirst, &rcFirst))
        return;
    HBRUSH hBrush = CreateSolidBrush(m_pGrid->GetFaceColor());
    if (!hBrush)
        return;
    int nStep = StepOf(m_nFirst, m_nLast);
    int x = rcFirst.left;
    for (int nCol = nFirst;; nCol += nStep) {
        int nWidth = GetColumnWidth(nCol);
        if (nWidth > 0) {
            x += nWidth;
            RECT rc = {x - 1, nTop, x, nBottom};
            FillRect(hdc, &rc, hBrush);
        }
        if (nCol == nLast)
            break;
    }
    DeleteObject(hBrush);
}

// A one-pixel line in the colour of the grid's pens, filled rather than stroked: the same
// pixels at a fraction of a pen line's cost, which matters at one line per row.
void CTableWindowArea::DrawRule(HDC hdc, const RECT& rc, COLORREF crColor)
{
    HBRUSH hBrush = CreateSolidBrush(crColor);
    if (!hBrush)
        return;
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
}

// The column of a display position and the cell's text in m_szText ("NULL" without a row);
// null without a view or a column there.
CTableColumn* CTableWindowArea::ReadCell(CTableRow* pRow, int nDisplayCol, BYTE* pAttrs)
{
    CViewTable* pView = m_pGrid ? m_pGrid->GetView() : nullptr;
    if (!pView || nDisplayCol < 0 || nDisplayCol >= pView->GetColumnOrder().GetCount())
        return nullptr;
    CTableColumnsMap& order = pView->GetColumnOrder();
    CTableColumn* pColumn = order.GetColumn(nDisplayCol);
    const int nCol = order.GetColumnIndex(nDisplayCol);
    if (!pColumn)
        return nullptr;
    pAttrs[0] = pAttrs[1] = pAttrs[2] = 0;
    if (pRow) {
        pRow->GetCellText(m_szText, sizeof(m_szText), nCol, pColumn, pView);
        for (int i = 0; i < 3; ++i)
            pAttrs[i] = pRow->GetAttr(nCol, i);
    } else {
        snprintf(m_szText, sizeof(m_szText), "%s", "NULL");
    }
    return pColumn;
}

// The cell's room for its text: 3 pixels in from each side, within the part of the cell the
// pane shows; a value a little wider takes the margins up to the cell's lines, so a column as
// wide as its values were made for shows them. The font the cell is drawn in is selected.
void CTableWindowArea::LayOutCell(HDC hdc, const CTableColumn* pColumn, const BYTE* pAttrs, const RECT& rcCell,
                                  RECT* prcText, UINT* puFormat)
{
    const BOOL bBold = (pAttrs[1] & CELL_BOLD) != 0;
    const CELL_ROOM room = {rcCell, m_rcCells, 3, 1, GetDecimalPadding(pColumn, pAttrs, m_szText, bBold),
                            AlignFlag(pColumn->GetEffectiveAlignment())};
    LayOutCellText(hdc, m_szText, sizeof(m_szText), room, prcText, puFormat);
}

void CTableWindowArea::PaintCell(HDC hdc, CTableRow* pRow, int nDisplayCol, const RECT& rcCell)
{
    BYTE attrs[3];
    CTableColumn* pColumn = hdc ? ReadCell(pRow, nDisplayCol, attrs) : nullptr;
    if (!pColumn)
        return;
    int nBack = attrs[0] & CELL_BACK_MASK;
    if (IsTableColorIndex(nBack)) {
        HBRUSH hBrush = CreateSolidBrush(m_pGrid->GetCellBackColor(nBack));
        if (hBrush) {
            FillRect(hdc, &rcCell, hBrush);
            DeleteObject(hBrush);
        }
    }
    if (!m_szText[0])
        return;

    HFONT hBold = (attrs[1] & CELL_BOLD) ? m_pGrid->GetBoldFont() : nullptr;
    HGDIOBJ hOldFont = hBold ? SelectObject(hdc, hBold) : nullptr;
    int nText = attrs[1] & CELL_TEXT_MASK;
    BOOL bColor = IsTableColorIndex(nText);
    COLORREF crOld = bColor ? SetTextColor(hdc, m_pGrid->GetCellTextColor(nText)) : 0;
    RECT rcText;
    UINT uFormat;
    LayOutCell(hdc, pColumn, attrs, rcCell, &rcText, &uFormat);
    DrawTextA(hdc, m_szText, -1, &rcText, uFormat);
    if (bColor)
        SetTextColor(hdc, crOld);
    if (hOldFont)
        SelectObject(hdc, hOldFont);
}

BOOL CTableWindowArea::GetShownCellText(int nLine, int nDisplayCol, CTBString* pText, RECT* pRect)
{
    RECT rcCell;
    HWND hGrid = GridHwnd();
    if (!hGrid || !ColumnBounds(nDisplayCol, &rcCell) || !GetLineRect(nLine, pRect) || GetColumnWidth(nDisplayCol) <= 0)
        return FALSE;
    rcCell = RECT{rcCell.left, pRect->top, rcCell.right - 1, pRect->bottom};
    // A live change empties the cache and paints only what it moved: the cell still shows.
    CTableRowCache& cache = m_pGrid->GetShownRowCache();
    CTableRow* pRow = nLine < cache.GetCount() ? cache.GetLineRow(nLine) : nullptr;
    BYTE attrs[3];
    CTableColumn* pColumn = pRow ? ReadCell(pRow, nDisplayCol, attrs) : nullptr;
    if (!pColumn || !m_szText[0])
        return FALSE;
    HDC hdc = GetDC(hGrid);
    m_pGrid->PrepareDC(hdc);
    HFONT hBold = (attrs[1] & CELL_BOLD) ? m_pGrid->GetBoldFont() : nullptr;
    if (hBold)
        SelectObject(hdc, hBold);
    UINT uFormat;
    LayOutCell(hdc, pColumn, attrs, rcCell, pRect, &uFormat);
    ReleaseDC(hGrid, hdc);
    *pText = m_szText;
    return TRUE;
}

// Decimal points line up in a right-aligned number column (CellDecimalInset), at the widths of
// the font the cell is drawn in.
int CTableWindowArea::GetDecimalPadding(const CTableColumn* pColumn, const BYTE* pAttrs, const char* pszText,
                                        BOOL bBold) const
{
    if (!m_pGrid)
        return 0;
    return CellDecimalInset(pColumn, pAttrs && (pAttrs[2] & CELL_FRACTION), pszText, m_pGrid->GetDigitWidth(bBold),
                            m_pGrid->GetSeparatorWidth(bBold));
}

// ---- The focus frame ---------------------------------------------------------------------

// An inverted outline, and with the focus-frame property a dark XOR fill inside it. Both are
// their own inverse, so drawing the same figure again removes it.
void CTableWindowArea::DrawFocusFigure(HDC hdc, const RECT& rc) const
{
    if (!hdc || IsRectEmpty(&rc))
        return;
    int nOldRop = SetROP2(hdc, R2_NOT);
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, rc.left, rc.top, rc.right, rc.bottom);
    if (m_pGrid && m_pGrid->GetFocusFrame()) {
        SetROP2(hdc, R2_XORPEN);
        SelectObject(hdc, GetStockObject(NULL_PEN));
        SelectObject(hdc, GetStockObject(DKGRAY_BRUSH));
        // Without a pen the fill stops one pixel short: it covers exactly the outline's inside.
        Rectangle(hdc, rc.left + 1, rc.top + 1, rc.right, rc.bottom);
    }
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
    SetROP2(hdc, nOldRop);
}

void CTableWindowArea::RedrawFocusIn(HDC hdc, const RECT& rcFresh) const
{
    RECT rc;
    if (!m_bFocusDrawn || !IntersectRect(&rc, &rcFresh, &m_rcFocus))
        return;
    int nSaved = SaveDC(hdc);
    IntersectClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
    DrawFocusFigure(hdc, m_rcFocus);
    RestoreDC(hdc, nSaved);
}

void CTableWindowArea::DrawFocus(HDC hdc, int nLine)
{
    if (m_bFocusDrawn)
        EraseFocus(hdc);
    RECT rc;
    if (!hdc || !GetLineRect(nLine, &rc))
        return;
    rc.bottom -= 1;
    if (rc.bottom <= rc.top || rc.right <= rc.left)
        return;
    DrawFocusFigure(hdc, rc);
    m_rcFocus = rc;
    m_bFocusDrawn = TRUE;
}

void CTableWindowArea::EraseFocus(HDC hdc)
{
    if (!m_bFocusDrawn || !hdc)
        return;
    DrawFocusFigure(hdc, m_rcFocus);
    m_bFocusDrawn = FALSE;
}
