#pragma once
// One pane of a grid window: a contiguous run of the view's display columns over the rows on
// screen, with a title strip at its top and, for the scrolling pane, a horizontal scroll bar of
// its own along its bottom. The pane has no window: it paints into the grid window's device
// context and reads the grid's view, widths, fonts, pens and appearance. The grid owns its panes
// and decides their rectangles.
#include "framework/base/TBString.h"
#include "framework/window/TBScrollBar.h"
#include "platform/win/Windows.h"

class CTableWindow;
class CTableRowCache;
class CTableColumn;
class CTableRow;

class CTableWindowArea
{
public:
    CTableWindowArea() = default;
    virtual ~CTableWindowArea() = default;
    CTableWindowArea(const CTableWindowArea&) = delete;
    CTableWindowArea& operator=(const CTableWindowArea&) = delete;

    // Binding. A run outside 0..view column count - 1 leaves the pane empty (-1, -1); the run may
    // descend (mirrored layout). The header pane is bound to its one column, 0..0, not scrolling.
    virtual void Init(int nUnused, CTableWindow* pGrid, int nFirst, int nLast, BOOL bScrollable);
    void InitHeader(int nUnused, CTableWindow* pGrid);
    void SetColumnRange(int nFirst, int nLast);     // a negative value empties the pane
    int  GetFirstColumn() const { return m_nFirst; }
    int  GetLastColumn() const { return m_nLast; }
    BOOL IsEmpty() const { return m_nFirst < 0; }
    BOOL ContainsColumn(int nDisplayCol) const;

    // Geometry. SetRect without force ignores an unchanged rectangle; a scroll bar shown or
    // hidden on the way tells the grid (OnPaneScrollBarChanged).
    void SetRect(const RECT& rect, BOOL bForce);
    const RECT& GetRect() const { return m_rcPane; }
    const RECT& GetTitleRect() const { return m_rcTitle; }
    const RECT& GetCellRect() const { return m_rcCells; }
    int  GetTotalWidth() const { return m_nTotalWidth; }
    void RecalcTotalWidth();
    int  GetLinesThatFit() const { return m_nLinesFit; }     // a partly visible last line counts
    int  GetWholeLines() const { return m_nWholeLines; }
    int  GetRowHeight() const;
    int  GetVisibleRowCount(const RECT& rect) const;         // lines that fit the rectangle
    void ReserveScrollStrip(BOOL bReserve);
    BOOL IsScrollBarShown() const { return m_bBarShown; }
    BOOL IsScrollStripReserved() const { return m_bReserveStrip; }

    // Columns. Widths live in the grid's width table; -1 / FALSE for a column outside the pane.
    virtual int GetColumnWidth(int nDisplayCol) const;
    void SetColumnWidth(int nDisplayCol, int nWidth, BOOL bAnimate);
    void SetColumnWidthNow(int nDisplayCol, int nWidth);     // stores without repainting
    virtual void ResizeColumn(int nDisplayCol, int nWidth);  // economic repaint
    virtual void ResizeColumnRtl(int nDisplayCol, int nWidth);
    BOOL RestoreColumnWidth(int nDisplayCol, BOOL bAnimate); // FALSE when the width is not 0
    // TRUE when the whole column lies inside the cell area; the rectangle spans the cell area.
    BOOL GetColumnRect(int nDisplayCol, RECT* pRect) const;
    BOOL IsColumnVisible(int nDisplayCol) const;
    BOOL EnsureColumnVisible(int nDisplayCol);
    int  GetDecimalPadding(const CTableColumn* pColumn, const BYTE* pAttrs, const char* pszText, BOOL bBold) const;
    // The text a cell of a screen line shows (a value that cannot show whole as a run of '#')
    // and the rectangle it takes, as the pane paints it; FALSE when the line or the column has
    // no cell on screen or the cell is empty.
    BOOL GetShownCellText(int nLine, int nDisplayCol, CTBString* pText, RECT* pRect);

    // Horizontal scrolling, pixels; the offset is 0 with the first column flush at the leading edge.
    virtual void OnHScroll(UINT nCode, UINT nPos);
    virtual void Scroll(UINT nCode, UINT nPos);              // the code, then SB_ENDSCROLL
    virtual void ScrollTo(int nOffset, BOOL bAnimate);
    virtual void OnBeginScroll();
    virtual void OnEndScroll() {}
    int  GetOffset() const { return m_nOffset; }
    int  GetMaxOffset() const;
    void ClampScroll();
    CTBScrollBar& GetScrollBar() { return m_scrollBar; }

    // Painting into the grid's DC, clipped to the update rectangle at every level.
    virtual void Paint(HDC hdc, const RECT& rcUpdate, CTableRowCache* pCache);
    virtual void PaintRow(HDC hdc, CTableRow* pRow, int nLine, int nRowKind, int nFirst, int nLast, const RECT& rcLine);
    virtual void PaintCell(HDC hdc, CTableRow* pRow, int nDisplayCol, const RECT& rcCell);
    // The line's rectangle across the cell area; line -2 = the append line. FALSE below the cells.
    BOOL GetLineRect(int nLine, RECT* pRect) const;

    // The XOR focus frame: drawing the same frame twice removes it.
    void DrawFocus(HDC hdc, int nLine);
    void EraseFocus(HDC hdc);
    BOOL IsFocusDrawn() const { return m_bFocusDrawn; }

    // Hit tests: -1 before the cell area, -2 after the last column; -3 outside the rows, -1 in
    // the title strip, -2 from the append line on.
    int  ColumnFromX(int x) const;
    int  RowFromY(int y) const;

    void Invalidate(const RECT* pRect, BOOL bErase);        // null = the whole pane
    void InvalidateCells(BOOL bUpdateNow);

protected:
    virtual void MoveTo(const RECT& rcNew);                  // moves what stays, invalidates the rest
    virtual void MoveToRtl(const RECT& rcNew);
    void RecalcLayout();
    void UpdateScrollBar();
    int  StepOf(int nFrom, int nTo) const { return nFrom <= nTo ? 1 : -1; }   // the run's direction

    RECT m_rcFocus = {0, 0, 0, 0};
    BOOL m_bFocusDrawn = FALSE;
    int  m_nFirst = -1;                 // display positions; the run may descend
    int  m_nLast = -1;
    int  m_nTotalWidth = 0;
    CTBScrollBar m_scrollBar;           // child of the grid window, made on first need
    BOOL m_bScrollable = FALSE;
    int  m_nOffset = 0;
    BOOL m_bBarShown = FALSE;
    BOOL m_bScrollGesture = FALSE;
    BOOL m_bReserveStrip = FALSE;
    BOOL m_bHasTitle = TRUE;
    RECT m_rcPane = {0, 0, 0, 0};
    RECT m_rcTitle = {0, 0, 0, 0};
    RECT m_rcCells = {0, 0, 0, 0};
    RECT m_rcScrollStrip = {0, 0, 0, 0};
    int  m_nLinesFit = 0;
    int  m_nWholeLines = 0;
    CTableWindow* m_pGrid = nullptr;    // not owned: the grid owns the pane
    char m_szText[1024] = {};           // cell text buffer

    // Pane geometry and painting helpers.
    struct EDGES { RECT rc[2]; };                      // empty where the side cuts no column
    EDGES EdgeCells() const;
    void InvalidateEdgeCells(const EDGES& before);      // and the edge cells of the layout now
    CTableColumn* ReadCell(CTableRow* pRow, int nDisplayCol, BYTE* pAttrs);
    void LayOutCell(HDC hdc, const CTableColumn* pColumn, const BYTE* pAttrs, const RECT& rcCell, RECT* prcText,
                    UINT* puFormat);
    HWND GridHwnd() const;                                   // null without a grid window
    int  TitleHeight() const;
    BOOL IsMirroredLayout() const;
    int  ColumnStartX() const;                               // x of the run's first column
    BOOL ColumnBounds(int nDisplayCol, RECT* pRect) const;   // unclipped, over the cell area
    void StoreWidth(int nDisplayCol, int nWidth);
    void InvalidateUncovered(const RECT& rcNew, BOOL bMirrored);
    void ResizeAndInvalidate(int nDisplayCol, int nWidth, BOOL bRtl);
    void ScrollToClamped(int nOffset);                       // within 0..the maximum, animated
    void PaintTitleStrip(HDC hdc, const RECT& rcUpdate, int nVisFirst, int nVisLast);
    void DrawSeparators(HDC hdc, int nFirst, int nLast, int nTop, int nBottom);
    static void DrawRule(HDC hdc, const RECT& rc, COLORREF crColor);
    BOOL m_bPaintingRows = FALSE;       // inside Paint: separators and focus follow the rows
    void DrawFocusFigure(HDC hdc, const RECT& rc) const;
    void RedrawFocusIn(HDC hdc, const RECT& rcFresh) const;  // the frame again over fresh pixels
};
