#pragma once
// Small drawing and colour routines shared by the grid, its header, the framework controls and
// the table printing. Colours in the hue-lightness-saturation model run 0..240 on each scale.
#include "platform/win/WinTypes.h"

// An 8 x 8 checkerboard pattern brush for the grid's drag and focus marks; the caller deletes it.
HBRUSH CreateDitherBrush();
void FillSolidRect(HDC hdc, const RECT& rc, COLORREF crColor);
// One line with the pen, the DC's pen put back; the end point is left out as LineTo does.
void DrawHLine(HDC hdc, int x1, int x2, int y, HPEN hPen);
void DrawVLine(HDC hdc, int x, int y1, int y2, HPEN hPen);

const int HLSMAX = 240;
const int RGBMAX = 255;
// Hue in the low byte, lightness in the second, saturation in the third.
DWORD RgbToHls(COLORREF crColor);
COLORREF HlsToRgb(int nHue, int nLightness, int nSaturation);
int HueToRgb(int n1, int n2, int nHue);
// Lightness scaled by nPercent (at most 240); above 100 % the saturation drops too. 0 gives black.
COLORREF ShadeColor(COLORREF crColor, int nPercent);

// Draws part of a bitmap at x, y with the pixels of crTransparent left showing the background.
// A negative width or height takes the bitmap's own. The bitmap comes back unchanged; FALSE when
// it cannot be drawn (a bad handle, or a bitmap selected into another DC).
BOOL DrawTransparentBitmap(HDC hdc, HBITMAP hBitmap, int x, int y, COLORREF crTransparent, int xSrc, int ySrc,
                           int nWidth, int nHeight);
// A new bitmap of the same size showing the bitmap embossed as disabled on the button face; its
// top-left pixel's colour counts as background. Null for a bad bitmap; the caller deletes it.
HBITMAP CreateDisabledBitmap(HBITMAP hBitmap);
