#pragma once
// What a pagination leaves behind and the unit rules every printed element shares: the page
// record (a slice of display lines crossed with a band of columns), the column band, the
// screen-to-printer conversions and the colour rules of the three colour modes.
#include "platform/win/Windows.h"

// One printed page. Rectangles are in logical units of the run's scale.
struct CPrintPage
{
    int  m_nFirstLine = -1;
    int  m_nLastLine = -1;
    int  m_nSlice = 0;          // row slice, from 1
    int  m_nBand = -1;          // column band, from 0
    BOOL m_bTitles = FALSE;     // the column-title row shows
    RECT m_rcHeader = {0, 0, 0, 0};
    RECT m_rcBody = {0, 0, 0, 0};
    RECT m_rcFooter = {0, 0, 0, 0};
};

// A run of columns printed side by side; the first band's width includes the row-title column.
struct CPrintBand
{
    int m_nFirstColumn = 0;
    int m_nLastColumn = -1;
    int m_nWidth = 0;           // logical units
};

// Screen pixels to printer device units: n * printer LOGPIXELS / screen LOGPIXELS, truncated.
// The screen's resolution is read once per process.
int ScreenToPrinterX(HDC hdcPrinter, int nPixels);
int ScreenToPrinterY(HDC hdcPrinter, int nPixels);
// A line width in screen pixels as device units: -w for a negative w, 0 for 0, else the mean of
// the two conversions.
int LineWidthToPrinter(HDC hdcPrinter, int nWidth);

// Colour rules by colour mode (0 colour, 1 grey, 2 black and white): lines and texts print
// black in modes 1 and 2; backgrounds white; a cell's text colour as a grey in mode 1.
COLORREF PrintTextColor(int nColorMode, COLORREF crColor);
COLORREF PrintBackColor(int nColorMode, COLORREF crColor);
COLORREF PrintCellTextColor(int nColorMode, COLORREF crColor);

inline BOOL RectsMeet(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
