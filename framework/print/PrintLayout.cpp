// Unit and colour rules of table printing.
#include "framework/print/PrintLayout.h"

namespace {

// The screen's resolution, read once from a memory DC compatible with the screen.
void ScreenResolution(int* pnX, int* pnY)
{
    static int s_nX = -1;
    static int s_nY = -1;
    if (s_nX < 1 || s_nY < 1) {
        HDC hdc = CreateCompatibleDC(nullptr);
        s_nX = hdc ? GetDeviceCaps(hdc, LOGPIXELSX) : 96;
        s_nY = hdc ? GetDeviceCaps(hdc, LOGPIXELSY) : 96;
        if (hdc)
            DeleteDC(hdc);
        if (s_nX < 1)
            s_nX = 96;
        if (s_nY < 1)
            s_nY = 96;
    }
    *pnX = s_nX;
    *pnY = s_nY;
}

} // namespace

int ScreenToPrinterX(HDC hdcPrinter, int nPixels)
{
    int nX, nY;
    ScreenResolution(&nX, &nY);
    return static_cast<int>(static_cast<long long>(nPixels) * GetDeviceCaps(hdcPrinter, LOGPIXELSX) / nX);
}

int ScreenToPrinterY(HDC hdcPrinter, int nPixels)
{
    int nX, nY;
    ScreenResolution(&nX, &nY);
    return static_cast<int>(static_cast<long long>(nPixels) * GetDeviceCaps(hdcPrinter, LOGPIXELSY) / nY);
}

int LineWidthToPrinter(HDC hdcPrinter, int nWidth)
{
    if (nWidth < 0)
        return -nWidth;
    if (nWidth == 0)
        return 0;
    // The mean of the two conversions; a line of one pixel stays visible on a screen-like DC.
    return (ScreenToPrinterX(hdcPrinter, nWidth) + ScreenToPrinterY(hdcPrinter, nWidth)) / 2;
}

COLORREF PrintTextColor(int nColorMode, COLORREF crColor)
{
    return nColorMode == 1 || nColorMode == 2 ? PALETTERGB(0, 0, 0) : crColor;
}

COLORREF PrintBackColor(int nColorMode, COLORREF crColor)
{
    return nColorMode == 1 || nColorMode == 2 ? PALETTERGB(255, 255, 255) : crColor;
}

COLORREF PrintCellTextColor(int nColorMode, COLORREF crColor)
{
    if (nColorMode == 2)
        return PALETTERGB(0, 0, 0);
    if (nColorMode == 1) {
        int nGrey = (GetRValue(crColor) + GetGValue(crColor) + GetBValue(crColor)) / 3;
        return PALETTERGB(nGrey, nGrey, nGrey);
    }
    return crColor;
}
