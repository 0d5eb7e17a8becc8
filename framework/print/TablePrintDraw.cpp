// The print engine's drawing: a page's headers, footer, body, column titles, lines and cells.
// Everything is in logical units of the run's scale; columns run from the reading start.
#include "framework/print/TablePrint.h"

#include <cstdio>
#include <cstring>

#include "framework/base/NorvGlobals.h"
#include "framework/table/RowPosition.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/CellText.h"

namespace {

BOOL IsRtl()
{
    return GetNorvGlobals().m_bRightToLeft;
}

// The cell of width nWidth at the running edge x, which moves on along the reading direction.
RECT NextCell(int* px, int nWidth, const RECT& rcLine)
{
    RECT rc;
    if (IsRtl()) {
        rc = RECT{*px - nWidth, rcLine.top, *px, rcLine.bottom};
        *px -= nWidth;
    } else {
        rc = RECT{*px, rcLine.top, *px + nWidth, rcLine.bottom};
        *px += nWidth;
    }
    return rc;
}

int StartEdge(const RECT& rc)
{
    return IsRtl() ? rc.right : rc.left;
}

UINT AlignFlags(int nAlign)
{
    static const UINT s_flags[] = {DT_LEFT, DT_CENTER, DT_RIGHT, DT_LEFT, DT_CENTER};
    return nAlign >= 0 && nAlign < 5 ? s_flags[nAlign] : DT_LEFT;
}

} // namespace

void CTablePrint::DrawHLine(HDC hdc, HBRUSH hBrush, int nWidth, int x1, int x2, int y) const
{
    if (!hBrush || nWidth <= 0)
        return;
    int nLogical = ToLogical(nWidth) > 0 ? ToLogical(nWidth) : 1;
    RECT rc = {x1 < x2 ? x1 : x2, y - nLogical, x1 < x2 ? x2 : x1, y};
    FillRect(hdc, &rc, hBrush);
}

void CTablePrint::DrawVLine(HDC hdc, HBRUSH hBrush, int nWidth, int x, int y1, int y2) const
{
    if (!hBrush || nWidth <= 0)
        return;
    int nLogical = ToLogical(nWidth) > 0 ? ToLogical(nWidth) : 1;
    // The line lies inside the edge it marks, on the side of the cell it closes.
    RECT rc = {x - nLogical / 2, y1, x - nLogical / 2 + nLogical, y2};
    FillRect(hdc, &rc, hBrush);
}

int CTablePrint::PrintPage(HDC hdc, const CPrintPage& page, const RECT* prcClip)
{
    if (prcClip && !RectsMeet(*prcClip, m_rcLogical))
        return 1;
    int nSaved = SaveDC(hdc);
    SelectObject(hdc, m_fontData.GetSafeHandle());
    SetBkMode(hdc, TRANSPARENT);
    IntersectClipRect(hdc, m_rcLogical.left, m_rcLogical.top, m_rcLogical.right, m_rcLogical.bottom);
    m_fields.SetNumber(CTablePrintFields::FIELD_PAGE, GetPageNumber(page));
    int nHeaders = DrawPageHeaders(hdc, page, prcClip);
    int nBodySaved = SaveDC(hdc);
    int nBody = DrawBody(hdc, page, prcClip);
    RestoreDC(hdc, nBodySaved);
    int nFooter = DrawPageFooter(hdc, page, prcClip);
    RestoreDC(hdc, nSaved);
    return nHeaders && nBody && nFooter ? 1 : 0;
}

int CTablePrint::DrawPageHeaders(HDC hdc, const CPrintPage& page, const RECT* prcClip)
{
    RECT rcArea = page.m_rcHeader;
    if (page.m_nSlice == 1 && m_settings.m_bReportHeader) {
        RECT rcReport = {rcArea.left, rcArea.top, rcArea.right, rcArea.top + m_nReportHeaderHeight};
        if (!prcClip || RectsMeet(rcReport, *prcClip))
            CTablePrintHeader::DrawList(m_reportHeader, hdc, rcReport, page, this);
        rcArea.top += m_nReportHeaderHeight;
    }
    if (m_settings.m_bPageHeader) {
        RECT rcPage = {rcArea.left, rcArea.top, rcArea.right, rcArea.top + m_nPageHeaderHeight};
        if (!prcClip || RectsMeet(rcPage, *prcClip))
            CTablePrintHeader::DrawList(m_pageHeader, hdc, rcPage, page, this);
    }
    return 1;
}

int CTablePrint::DrawPageFooter(HDC hdc, const CPrintPage& page, const RECT* prcClip)
{
    if (m_settings.m_bPageFooter && (!prcClip || RectsMeet(page.m_rcFooter, *prcClip)))
        CTablePrintHeader::DrawList(m_pageFooter, hdc, page.m_rcFooter, page, this);
    return 1;
}

int CTablePrint::DrawBody(HDC hdc, const CPrintPage& page, const RECT* prcClip)
{
    if (prcClip && !RectsMeet(page.m_rcBody, *prcClip))
        return 1;
    RECT rcRows = page.m_rcBody;
    if (page.m_bTitles)
        rcRows.top += m_sizeTitle.cy;
    if (m_settings.m_crBackground != static_cast<COLORREF>(-1)) {
        int nLines = page.m_nLastLine - page.m_nFirstLine + 1;
        RECT rcFill = {rcRows.left, rcRows.top, rcRows.right, rcRows.top + (nLines > 0 ? nLines : 0) * m_sizeRow.cy};
        HBRUSH hBrush = CreateSolidBrush(PrintBackColor(m_settings.m_nColorMode, m_settings.m_crBackground));
        FillRect(hdc, &rcFill, hBrush);
        DeleteObject(hBrush);
    }
    if (page.m_bTitles) {
        RECT rcTitles = {page.m_rcBody.left, page.m_rcBody.top, page.m_rcBody.right, page.m_rcBody.top + m_sizeTitle.cy};
        DrawColumnTitles(hdc, rcTitles, page);
    }
    DrawRows(hdc, rcRows, page, prcClip);
    return 1;
}

void CTablePrint::DrawColumnTitles(HDC hdc, const RECT& rc, const CPrintPage& page)
{
    const CPrintBand* pBand = GetBand(page.m_nBand);
    if (!pBand)
        return;
    HGDIOBJ hOld = SelectObject(hdc, (m_settings.m_nBoldTitles == 1 ? m_fontTitle : m_fontData).GetSafeHandle());
    COLORREF crOld = SetTextColor(hdc, PrintTextColor(m_settings.m_nColorMode, GetSysColor(COLOR_WINDOWTEXT)));
    int nLines = m_sizeRow.cy > 0 ? 1 : 0;
    for (int i = pBand->m_nFirstColumn; i <= pBand->m_nLastColumn; ++i) {
        CTableColumn* pColumn = GetPrintColumn(i, nullptr);
        if (pColumn && pColumn->GetTitleLines() > nLines)
            nLines = pColumn->GetTitleLines();
    }
    int nTextBottom = rc.top + m_sizeRow.cy * nLines;
    if (nTextBottom > rc.bottom)
        nTextBottom = rc.bottom;
    int x = StartEdge(rc);
    RECT rcStrip = {rc.left, rc.top, rc.right, nTextBottom};
    int xFirst = x;
    DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, xFirst, rc.top, rc.bottom);
    if (page.m_nBand == 0 && m_settings.m_bRowTitles) {
        // The row-title cell is closed towards the first column, as in the rows under it.
        const RECT rcTitle = NextCell(&x, m_sizeTitle.cx, rcStrip);
        DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, IsRtl() ? rcTitle.left : rcTitle.right, rc.top, rc.bottom);
    }
    for (int i = pBand->m_nFirstColumn; i <= pBand->m_nLastColumn; ++i) {
        int nWidth = GetColumnWidth(i);
        if (nWidth <= 0)
            continue;
        RECT rcCell = NextCell(&x, nWidth, rcStrip);
        DrawColumnTitle(hdc, i, rcCell);
        DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, IsRtl() ? rcCell.left : rcCell.right, rc.top, rc.bottom);
    }
    int xLeft = IsRtl() ? x : xFirst;
    int xRight = IsRtl() ? xFirst : x;
    HBRUSH hTop = m_hGridBrush;
    DrawHLine(hdc, hTop, m_nGridPenWidth, xLeft, xRight, rc.top + ToLogical(m_nGridPenWidth));
    switch (m_settings.m_nTitleStyle) {
    case 1:
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, nTextBottom);
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, rc.bottom);
        break;
    case 2: {
        HBRUSH hFace = CreateSolidBrush(PrintTextColor(m_settings.m_nColorMode, m_properties.GetFaceColor()));
        DrawHLine(hdc, hFace, m_nThickPenWidth, xLeft, xRight, nTextBottom);
        DeleteObject(hFace);
        break;
    }
    case 3:
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, nTextBottom);
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, rc.bottom);
        DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, rc.top, rc.bottom);
        DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, xRight, rc.top, rc.bottom);
        break;
    default:
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, rc.bottom);
        break;
    }
    SetTextColor(hdc, crOld);
    SelectObject(hdc, hOld);
}

void CTablePrint::DrawColumnTitle(HDC hdc, int nIndex, const RECT& rc)
{
    int nCol = -1;
    CTableColumn* pColumn = GetPrintColumn(nIndex, &nCol);
    if (!pColumn)
        return;
    RECT rcText = {rc.left + m_nCellInset, rc.top, rc.right - m_nCellInset, rc.bottom};
    const CSortColumns& keys = m_sortColumns;
    if (rc.right - rc.left > m_nArrowWidth && IsSortMarked(nCol)) {
        RECT rcArrow;
        int nArrowHeight = m_nArrowWidth < rc.bottom - rc.top ? m_nArrowWidth : rc.bottom - rc.top;
        int yArrow = rc.top + (rc.bottom - rc.top - nArrowHeight) / 2;
        if (IsRtl()) {
            rcArrow = RECT{rc.left + m_nPx2, yArrow, rc.left + m_nPx2 + m_nArrowWidth - m_nPx4, yArrow + nArrowHeight};
            rcText.left = rcArrow.right;
        } else {
            rcArrow = RECT{rc.right - m_nArrowWidth + m_nPx2, yArrow, rc.right - m_nPx2, yArrow + nArrowHeight};
            rcText.right = rcArrow.left;
        }
        m_frame.DrawArrow(hdc, rcArrow, keys.GetAt(0).m_nDirection >= 0);
    }
    const CTBString& strTitle = pColumn->GetTitle();
    UINT uAlign = m_hGridBrush ? DT_CENTER : AlignFlags(pColumn->GetEffectiveAlignment());
    if (m_hGridBrush) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(hdc, strTitle, strTitle.GetLength(), &size);
        if (size.cx > rcText.right - rcText.left)
            uAlign = IsRtl() ? DT_RIGHT : DT_LEFT;
    }
    UINT uLines = pColumn->GetTitleLines() > 1 ? 0 : DT_SINGLELINE | DT_VCENTER;
    DrawTextA(hdc, strTitle, -1, &rcText, uAlign | uLines | DT_NOPREFIX | GetNorvGlobals().GetRtlReadingFlag());
}

void CTablePrint::DrawRows(HDC hdc, const RECT& rc, const CPrintPage& page, const RECT* prcClip)
{
    int y = rc.top;
    for (int nLine = page.m_nFirstLine; nLine <= page.m_nLastLine && nLine >= 0; ++nLine) {
        RECT rcLine = {rc.left, y, rc.right, y + m_sizeRow.cy};
        RECT rcGrown = {rcLine.left - m_sizeRow.cx / 2, rcLine.top - m_sizeRow.cy / 2, rcLine.right + m_sizeRow.cx / 2,
                        rcLine.bottom + m_sizeRow.cy / 2};
        if (!prcClip || RectsMeet(rcGrown, *prcClip))
            DrawRow(hdc, rcLine, nLine, page);
        y += m_sizeRow.cy;
    }
    BOOL bLastSlice = !m_pages.empty() && page.m_nSlice == m_pages.back().m_nSlice;
    if (bLastSlice && m_settings.m_bReportFooter && m_nReportFooterHeight > 0) {
        RECT rcFooter = {page.m_rcFooter.left, y, page.m_rcFooter.right, y + m_nReportFooterHeight};
        if (!prcClip || RectsMeet(rcFooter, *prcClip))
            CTablePrintHeader::DrawList(m_reportFooter, hdc, rcFooter, page, this);
    }
}

void CTablePrint::DrawMarkTriangle(HDC hdc, const RECT& rc) const
{
    int nHeight = rc.bottom - rc.top - 2 * m_nPy2;
    nHeight -= nHeight & 1;
    if (nHeight <= 0)
        return;
    int nDepth = nHeight / 2;
    int xSide = rc.left + (rc.right - rc.left - nDepth) / 2;
    int yTop = rc.top + m_nPy2;
    POINT pts[3];
    if (IsRtl()) {
        xSide += nDepth;
        pts[0] = POINT{xSide, yTop};
        pts[1] = POINT{xSide, yTop + nHeight};
        pts[2] = POINT{xSide - nDepth, yTop + nDepth};
    } else {
        pts[0] = POINT{xSide, yTop};
        pts[1] = POINT{xSide, yTop + nHeight};
        pts[2] = POINT{xSide + nDepth, yTop + nDepth};
    }
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(BLACK_BRUSH));
    Polygon(hdc, pts, 3);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
}

void CTablePrint::DrawRow(HDC hdc, const RECT& rc, int nLine, const CPrintPage& page)
{
    const CPrintBand* pBand = GetBand(page.m_nBand);
    CViewRow row(m_pView);
    if (!pBand || !m_pView || !m_pView->GetRow(row, nLine) || !row.GetNode())
        return;
    CTableRow* pRow = row.GetNode();
    int nKind = row.GetPosition().m_nKind;
    HGDIOBJ hOldFont = nKind == LINE_TOTAL ? SelectObject(hdc, m_fontTitle.GetSafeHandle()) : nullptr;
    COLORREF crOld = SetTextColor(hdc, PrintTextColor(m_settings.m_nColorMode, m_properties.GetCellTextColor(0)));

    int x = StartEdge(rc);
    const int xStart = x;
    if (page.m_nBand == 0 && m_settings.m_bRowTitles) {
        DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, x, rc.top, rc.bottom);
        RECT rcTitle = NextCell(&x, m_sizeTitle.cx, rc);
        if (pRow->IsMarked()) {
            DrawMarkTriangle(hdc, rcTitle);
        } else {
            char szStatus[2] = {pRow->GetStatus(), '\0'};
            if (szStatus[0] && szStatus[0] != ' ')
                DrawTextA(hdc, szStatus, 1, &rcTitle, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    RECT rcCells = rc;
    if (IsRtl())
        rcCells.right = x;
    else
        rcCells.left = x;
    DrawRowCells(hdc, *pBand, pRow, rcCells);

    int xLeft = IsRtl() ? rc.right - pBand->m_nWidth : xStart;
    int xRight = IsRtl() ? xStart : xStart + pBand->m_nWidth;
    BOOL bFirstOnPage = nLine == page.m_nFirstLine;
    if (bFirstOnPage && (m_settings.m_nTitleRows == 0 || (m_settings.m_nTitleRows == 1 && page.m_nSlice != 1)))
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, rc.top + ToLogical(m_nGridPenWidth));
    BOOL bGroupLine = m_pView->GetGroupHeaderMode() == 1
                      && (nKind == LINE_GROUP_END || nKind == LINE_GROUP_SUM || nKind == LINE_TOTAL);
    if (bGroupLine) {
        DrawHLine(hdc, m_hThickBrush, m_nThickPenWidth, xLeft, xRight, rc.bottom);
        if (m_settings.m_nGroupLineStyle == 3)
            DrawHLine(hdc, m_hThickBrush, m_nThickPenWidth, xLeft, xRight,
                      rc.bottom - ToLogical(m_nGridPenWidth) - m_nPy2 - ToLogical(m_nThickPenWidth));
    } else {
        DrawHLine(hdc, m_hGridBrush, m_nGridPenWidth, xLeft, xRight, rc.bottom);
    }
    SetTextColor(hdc, crOld);
    if (hOldFont)
        SelectObject(hdc, hOldFont);
}

void CTablePrint::DrawRowCells(HDC hdc, const CPrintBand& band, CTableRow* pRow, const RECT& rc)
{
    int x = StartEdge(rc);
    BOOL bFirst = TRUE;
    for (int i = band.m_nFirstColumn; i <= band.m_nLastColumn; ++i) {
        int nWidth = GetColumnWidth(i);
        if (nWidth <= 0)
            continue;
        if (bFirst)
            DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, x, rc.top, rc.bottom);
        bFirst = FALSE;
        RECT rcCell = NextCell(&x, nWidth, rc);
        DrawCell(hdc, pRow, i, rcCell);
        DrawVLine(hdc, m_hGridBrush, m_nGridPenWidth, IsRtl() ? rcCell.left : rcCell.right, rc.top, rc.bottom);
    }
}

// Decimal points line up as on screen (CellDecimalInset), at the printer font's widths.
int CTablePrint::DecimalInset(const CTableColumn* pColumn, const BYTE* pAttrs, const char* pszText, BOOL bTitleFont) const
{
    return CellDecimalInset(pColumn, pAttrs && (pAttrs[2] & CELL_FRACTION), pszText, m_nDigitWidth[bTitleFont ? 0 : 1],
                            m_nDigitWidth[bTitleFont ? 2 : 3]);
}

void CTablePrint::DrawCell(HDC hdc, CTableRow* pRow, int nIndex, const RECT& rc)
{
    int nCol = -1;
    CTableColumn* pColumn = GetPrintColumn(nIndex, &nCol);
    if (!pColumn)
        return;
    BYTE attrs[3] = {0, 0, 0};
    if (pRow) {
        pRow->GetCellText(m_szCell, sizeof(m_szCell), nCol, pColumn, m_pView);
        for (int i = 0; i < 3; ++i)
            attrs[i] = pRow->GetAttr(nCol, i);
    } else {
        snprintf(m_szCell, sizeof(m_szCell), "%s", "NULL");
    }
    if (!m_szCell[0])
        return;
    BOOL bTitleFont = (attrs[1] & CELL_BOLD) != 0;
    HGDIOBJ hOldFont = bTitleFont ? SelectObject(hdc, m_fontTitle.GetSafeHandle()) : nullptr;
    int nColor = attrs[1] & CELL_TEXT_MASK;
    BOOL bColor = nColor != 0;
    COLORREF crOld = bColor ? SetTextColor(hdc, PrintCellTextColor(m_settings.m_nColorMode,
                                                                   m_properties.GetCellTextColor(nColor)))
                            : 0;
    // The text stays inside its cell, less the line at its end; a value that cannot print whole
    // prints as marks, and a text too wide loses its end in its own reading order.
    const int nLine = ToLogical(m_nGridPenWidth > 0 ? m_nGridPenWidth : m_nPx1);
    const RECT rcCell = {IsRtl() ? rc.left + nLine : rc.left, rc.top, IsRtl() ? rc.right : rc.right - nLine, rc.bottom};
    const CELL_ROOM room = {rcCell, rcCell, m_nCellInset, m_nPx1, DecimalInset(pColumn, attrs, m_szCell, bTitleFont),
                            AlignFlags(pColumn->GetEffectiveAlignment())};
    RECT rcText;
    UINT uFormat;
    LayOutCellText(hdc, m_szCell, sizeof(m_szCell), room, &rcText, &uFormat);
    if (rcText.right > rcText.left)
        DrawTextA(hdc, m_szCell, -1, &rcText, uFormat);
    if (bColor)
        SetTextColor(hdc, crOld);
    if (hOldFont)
        SelectObject(hdc, hOldFont);
}
