#pragma once
// Fitting a cell's text to its cell, shared by the grid's panes and table printing.
#include "platform/win/Windows.h"

// A text of digits and number punctuation (a number, a date, a time) that is wider than the
// room it has would lose its leading characters to the clip and read as another value: such a
// text becomes a run of '#' as wide as the room allows (one at least), the mark the table
// engine gives a value it cannot show. *pnInset, the decimal inset of a right-aligned cell,
// shrinks first where the text fits without it. TRUE when the text was replaced.
BOOL FitCellText(HDC hdc, char* pszText, size_t nSize, int nRoom, int* pnInset);
