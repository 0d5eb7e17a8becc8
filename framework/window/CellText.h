#pragma once
// Fitting a cell's text to its cell, shared by the grid's panes and table printing.
#include "platform/win/Windows.h"

// A text of digits and number punctuation (a number, a date, a time) that is wider than the
// room it has would lose its leading characters to the clip and read as another value: such a
// text becomes a run of '#' as wide as the room allows (one at least), the mark the table
// engine gives a value it cannot show. *pnInset, the decimal inset of a right-aligned cell,
// shrinks first where the text fits without it. TRUE when the text was replaced.
BOOL FitCellText(HDC hdc, char* pszText, size_t nSize, int nRoom, int* pnInset);

// The reading order of a cell's text, as DrawText flags: right to left for a text that holds a
// right-to-left letter, left to right for one that holds none (a code such as "=KWD", a number),
// whatever the window's language; so an Arabic name keeps its start in an English window and a
// currency code its "=" in front in an Arabic one.
UINT CellReadingFlag(const char* pszText);

// The alignment of a cell's text: the column's, unless the text is wider than the room it has;
// then it stands at its reading start (the left, or the right for right-to-left reading), so
// that the cut falls at its end and never takes its first words.
UINT CellAlignFlag(HDC hdc, const char* pszText, int nRoom, UINT uAlign, UINT uReading);
