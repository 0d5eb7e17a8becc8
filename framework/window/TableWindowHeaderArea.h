#pragma once
// The row-header pane at the leading side of a grid window: one header cell per line with the
// row's mark or status character, a pressed look under the mouse or inside a drag, and a
// highlight while the row changed recently; its corner cell shows the sum mode. Dragging over
// the headers marks or unmarks rows.
#include <cstdint>

#include "framework/window/TableWindowArea.h"

class CViewRow;
class CViewTable;

class CTableWindowHeaderArea : public CTableWindowArea
{
public:
    // The header column is as wide as a row is high.
    int  GetColumnWidth(int nDisplayCol) const override;
    void Paint(HDC hdc, const RECT& rcUpdate, CTableRowCache* pCache) override;
    void PaintRowHeader(HDC hdc, CTableRow* pRow, int nLine, const RECT& rcCell);

    // -1 presses the corner cell, a line of a markable row presses its header, anything else
    // releases; both cells are repainted at once.
    void SetHotLine(int nLine);
    int  GetHotLine() const { return m_nHotLine; }

    // Marking drags. Lines may lie outside the window while it scrolls; only the painted range
    // is clamped to the lines that fit. A negative line starts nothing.
    void BeginDrag(int nLine, BOOL bMark);
    void DragTo(int nLine);
    void SetDragRange(int nAnchor, int nCurrent, HDC hdc);
    void EndDrag(BOOL bApply);
    BOOL IsDragActive() const { return m_bDragActive; }
    int  GetAnchorLine() const { return m_nAnchor; }
    int  GetCurrentLine() const { return m_nCurrent; }
    void OnLinesScrolledDown(int nLines);
    void OnLinesScrolledUp(int nLines);
    void OnRowsMoved(HDC hdc, int nFrom, int nTo, int nCount);

    // Counts what may have changed the header cells' pixels: each paint here, and each move of
    // the grid's row pixels (MarkMoved). Equal counts: nothing was drawn there in between.
    int  GetPaintCount() const { return m_nPaints; }
    void MarkMoved() { ++m_nPaints; }

private:
    void RepaintLines(HDC hdc, int nFirst, int nLast);

    int  m_nHotLine = -3;               // -1 corner, -3 none
    BOOL m_bDragActive = FALSE;
    BOOL m_bDragMark = TRUE;            // TRUE marks, FALSE unmarks
    int  m_nAnchor = -1;                // follows its row while the grid scrolls
    int  m_nCurrent = -1;
    int  m_nPaintedFirst = -1;          // the ordered range drawn pressed
    int  m_nPaintedLast = -1;
    int64_t m_tNow = 0;                 // seconds, taken at the start of every paint
    int  m_nPaints = 0;

    // Header painting and drag helpers.
    static int64_t Now();                                    // the clock of the rows' change stamps
    void PaintCorner(HDC hdc);
    BOOL IsHighlighted(const CTableRow* pRow) const;
    RECT LineCell(int nLine) const;
    CTableRow* RowOfLine(int nLine, CViewRow& cursor) const;
    int  LastDragLine() const;
    int  ClampLine(int nLine) const;
    void ShiftDrag(int nLines);
    void ShiftPaintedRange(int nFrom, int nTo, int nLines);
    void ApplyDrag(CViewTable* pView);
    BOOL m_bPaintingHeaders = FALSE;    // inside a paint: now was taken at its start
};
