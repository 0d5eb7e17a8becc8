#pragma once
// Device contexts and drawing. A window's DC paints into the window's backing image at once; a
// memory DC paints into the bitmap selected into it. Handles of deleted objects stay invalid, and an
// object deleted while selected lives on until its DC lets it go.
#include "platform/win/WinTypes.h"
#include "platform/win/gdi/GdiDefs.h"

// Device contexts. GetDC and BeginPaint are in Paint.h.
HDC  CreateCompatibleDC(HDC hdc);            // a memory DC holding a 1x1 monochrome bitmap
BOOL DeleteDC(HDC hdc);
int  SaveDC(HDC hdc);                        // the new depth; RestoreDC(-1) goes back one
BOOL RestoreDC(HDC hdc, int nSavedDC);
int  GetDeviceCaps(HDC hdc, int nIndex);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ hObject);   // the previous object of that kind; regions clip
HGDIOBJ GetCurrentObject(HDC hdc, UINT uObjectType);

// Attributes. Each setter returns the previous value (CLR_INVALID or 0 on a bad DC).
COLORREF SetBkColor(HDC hdc, COLORREF crColor);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF crColor);
COLORREF GetTextColor(HDC hdc);
int  SetBkMode(HDC hdc, int nMode);
int  GetBkMode(HDC hdc);
int  SetROP2(HDC hdc, int nDrawMode);
int  GetROP2(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT uAlign);
UINT GetTextAlign(HDC hdc);
int  SetPolyFillMode(HDC hdc, int nMode);
int  SetStretchBltMode(HDC hdc, int nMode);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT pOld);

// Coordinates: logical to device through the world transform, then the window and viewport origins
// and extents.
int  SetMapMode(HDC hdc, int nMode);
int  GetMapMode(HDC hdc);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT pOld);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT pPoint);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT pOld);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT pOld);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT pPoint);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT pOld);
BOOL SetWindowExtEx(HDC hdc, int cx, int cy, LPSIZE pOld);
BOOL GetWindowExtEx(HDC hdc, LPSIZE pSize);
BOOL SetViewportExtEx(HDC hdc, int cx, int cy, LPSIZE pOld);
BOOL GetViewportExtEx(HDC hdc, LPSIZE pSize);
BOOL LPtoDP(HDC hdc, LPPOINT pPoints, int nCount);
BOOL DPtoLP(HDC hdc, LPPOINT pPoints, int nCount);
// The world transform, applied before the window and viewport. Setting or changing it needs
// GM_ADVANCED and an invertible result; GM_COMPATIBLE comes back only with the identity in place.
// Translation and scaling are exact; under rotation or shear lines, polygons and filled rectangles
// follow the turned corners, while ellipses, frames, blits, clip rectangles and text cells take
// the box around the turned rectangle, and glyphs stay upright.
int  SetGraphicsMode(HDC hdc, int nMode);    // the previous mode; 0 on a refusal
int  GetGraphicsMode(HDC hdc);
BOOL SetWorldTransform(HDC hdc, const XFORM* pXform);
BOOL GetWorldTransform(HDC hdc, LPXFORM pXform);
BOOL ModifyWorldTransform(HDC hdc, const XFORM* pXform, DWORD dwMode);

// Clipping (logical coordinates in, region results as NULLREGION/SIMPLEREGION/COMPLEXREGION/ERROR).
int  SelectClipRgn(HDC hdc, HRGN hRgn);      // a copy is taken; null removes the clip
int  IntersectClipRect(HDC hdc, int nLeft, int nTop, int nRight, int nBottom);
int  ExcludeClipRect(HDC hdc, int nLeft, int nTop, int nRight, int nBottom);
int  GetClipBox(HDC hdc, LPRECT pRect);
int  GetClipRgn(HDC hdc, HRGN hRgn);         // 1 with a clip, 0 without, -1 on error
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* pRect);

// Objects.
HPEN   CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
HPEN   CreatePenIndirect(const LOGPEN* pLogPen);
HBRUSH CreateSolidBrush(COLORREF crColor);
HBRUSH CreateHatchBrush(int nIndex, COLORREF crColor);
HBRUSH CreatePatternBrush(HBITMAP hBitmap);  // the bitmap is copied; a monochrome one takes the DC's colours
HBRUSH CreateBrushIndirect(const LOGBRUSH* pLogBrush);
HFONT  CreateFontIndirectA(const LOGFONTA* pLogFont);
HFONT  CreateFontA(int nHeight, int nWidth, int nEscapement, int nOrientation, int fnWeight, DWORD fdwItalic,
                   DWORD fdwUnderline, DWORD fdwStrikeOut, DWORD fdwCharSet, DWORD fdwOutputPrecision,
                   DWORD fdwClipPrecision, DWORD fdwQuality, DWORD fdwPitchAndFamily, LPCSTR pszFace);
// Bits: rows of 1-bit (padded to 16 bits) or 32-bit (0x00RRGGBB) pixels; null leaves the bitmap black.
HBITMAP CreateBitmap(int nWidth, int nHeight, UINT cPlanes, UINT cBitsPerPel, const void* pvBits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int nWidth, int nHeight);   // the format of the DC's bitmap
// A colour bitmap's pixels as rows of 32-bit 0x00RRGGBB values (monochrome: 0 or 0x00FFFFFF); the
// bytes copied, at most cb, 0 for a handle that is no bitmap.
LONG GetBitmapBits(HBITMAP hBitmap, LONG cb, LPVOID pvBits);
HPALETTE CreatePalette(const LOGPALETTE* pLogPalette);
HPALETTE CreateHalftonePalette(HDC hdc);
HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBackground);
UINT   RealizePalette(HDC hdc);               // true-colour screens: nothing to realise
HGDIOBJ GetStockObject(int nObject);
BOOL   DeleteObject(HGDIOBJ hObject);         // stock objects are never deleted
int    GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID pvObject);
DWORD  GetObjectType(HGDIOBJ hObject);
BOOL   UnrealizeObject(HGDIOBJ hObject);

// Regions.
HRGN CreateRectRgn(int nLeft, int nTop, int nRight, int nBottom);
HRGN CreateRectRgnIndirect(const RECT* pRect);
BOOL SetRectRgn(HRGN hRgn, int nLeft, int nTop, int nRight, int nBottom);
int  CombineRgn(HRGN hDest, HRGN hSrc1, HRGN hSrc2, int nMode);
int  OffsetRgn(HRGN hRgn, int dx, int dy);
int  GetRgnBox(HRGN hRgn, LPRECT pRect);
BOOL PtInRegion(HRGN hRgn, int x, int y);
BOOL RectInRegion(HRGN hRgn, const RECT* pRect);
BOOL EqualRgn(HRGN hRgn1, HRGN hRgn2);
BOOL FillRgn(HDC hdc, HRGN hRgn, HBRUSH hBrush);

// Lines and shapes. Lines leave out their last point; Rectangle and Ellipse cover left..right-1.
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT pOld);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pPoint);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* pPoints, int nCount);
BOOL Polygon(HDC hdc, const POINT* pPoints, int nCount);
BOOL Rectangle(HDC hdc, int nLeft, int nTop, int nRight, int nBottom);
BOOL Ellipse(HDC hdc, int nLeft, int nTop, int nRight, int nBottom);
int  FillRect(HDC hdc, const RECT* pRect, HBRUSH hBrush);   // a brush of COLOR_xxx + 1 is the system colour
int  FrameRect(HDC hdc, const RECT* pRect, HBRUSH hBrush);
BOOL InvertRect(HDC hdc, const RECT* pRect);
BOOL DrawFocusRect(HDC hdc, const RECT* pRect);              // dotted XOR frame: twice removes it
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF crColor);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF crColor);
COLORREF GetPixel(HDC hdc, int x, int y);                    // CLR_INVALID outside the surface

// Blocks. Colour to monochrome: the source DC's background colour becomes white, the rest black;
// monochrome to colour: white becomes the destination's background colour, black its text colour.
BOOL PatBlt(HDC hdc, int x, int y, int nWidth, int nHeight, DWORD dwRop);
BOOL BitBlt(HDC hdcDest, int xDest, int yDest, int nWidth, int nHeight, HDC hdcSrc, int xSrc, int ySrc, DWORD dwRop);
BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int nWidthDest, int nHeightDest, HDC hdcSrc, int xSrc, int ySrc,
                int nWidthSrc, int nHeightSrc, DWORD dwRop);

// Text, in the code page of the font's character set (the active page for DEFAULT_CHARSET).
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR pszString, int cchString);
BOOL ExtTextOutA(HDC hdc, int x, int y, UINT fuOptions, const RECT* pRect, LPCSTR pszString, UINT cchString,
                 const INT* pDx);
int  DrawTextA(HDC hdc, LPCSTR pszString, int cchString, LPRECT pRect, UINT uFormat);   // the text's height
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR pszString, int cchString, LPSIZE pSize);
BOOL GetTextExtentPointA(HDC hdc, LPCSTR pszString, int cchString, LPSIZE pSize);
BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA pMetrics);
int  GetTextFaceA(HDC hdc, int cchFace, LPSTR pszFace);
BOOL GetCharWidth32A(HDC hdc, UINT iFirstChar, UINT iLastChar, LPINT pBuffer);
