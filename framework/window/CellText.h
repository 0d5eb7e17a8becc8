#pragma once
// Fitting a cell's text to its cell, shared by the grid's panes and table printing.
#include "platform/win/Windows.h"

class CTableColumn;

// The decimal code of a column that shows every decimal a value carries, up to six, its trailing
// zeros dropped down to the column's minimum (a price's): it has no place of its own to line
// decimal points up at.
constexpr int DECIMALS_CARRIED = -6;

// Where a cell's text has room: the cell less the line it ends with, the part of it that shows
// (a column partly scrolled out of its pane shows only a part), the margin the text keeps from
// the cell's sides, the least gap a value keeps when it takes those margins, the decimal inset
// of a right-aligned cell and the column's alignment (DT_LEFT, DT_CENTER or DT_RIGHT).
struct CELL_ROOM
{
    RECT rcCell;
    RECT rcShown;
    int nMargin;
    int nGap;
    int nInset;
    UINT uAlign;
};

// Lays a cell's text out for DrawText: the rectangle it takes and the flags to draw it with.
// A text of digits and number punctuation (a number, a date, a time) is shown whole or not at
// all: cut at either end it would read as another value. It stands at its column's alignment
// inside the margins of the whole cell; a little wider, it takes the margins too; wider than the
// cell, it becomes a run of '#' (the mark the table engine gives a value it cannot show) over
// the part that shows. A pane's edge that cuts the cell only hides a part of the value, as it
// hides the rest of the cell. Any other text stands inside the
// margins of the part that shows, at its reading start when it is too wide, so that the cut
// takes its end in its own reading order.
void LayOutCellText(HDC hdc, char* pszText, size_t nSize, const CELL_ROOM& room, RECT* prcText, UINT* puFormat);

// The reading order of a cell's text, as DrawText flags: right to left for a text that holds a
// right-to-left letter, left to right for one that holds none (a code such as "=KWD", a number),
// whatever the window's language; so an Arabic name keeps its start in an English window and a
// currency code its "=" in front in an Arabic one. The bytes are read in the code page given
// (the one the text is drawn in).
UINT CellReadingFlag(const char* pszText, UINT nCodePage = CP_ACP);

// The alignment of a cell's text: the column's, unless the text is wider than the room it has;
// then it stands at its reading start (the left, or the right for right-to-left reading), so
// that the cut falls at its end and never takes its first words.
UINT CellAlignFlag(HDC hdc, const char* pszText, int nRoom, UINT uAlign, UINT uReading);

// The decimal inset of a number in a right-aligned column that trims its fraction, so that the
// decimal points line up: the digits its fraction lacks of the column's places, and the
// separator too when it has none, at the font's widths of a digit and of the separator. A column
// that shows every decimal a value carries (DECIMALS_CARRIED) lines them up at its minimum, so
// that a price stands at the right edge as in any other number column. bFraction: the cell shows
// sixty-fourths.
int CellDecimalInset(const CTableColumn* pColumn, BOOL bFraction, const char* pszText, int nDigit, int nSeparator);
