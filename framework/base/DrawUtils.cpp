#include "framework/base/DrawUtils.h"

#include <algorithm>

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"

HBRUSH CreateDitherBrush()
{
    // Rows of 16 bits; alternating rows shift the pattern by one pixel.
    static const WORD s_rows[8] = {0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555};
    HBITMAP hBitmap = CreateBitmap(8, 8, 1, 1, s_rows);
    if (hBitmap == nullptr)
        return nullptr;
    HBRUSH hBrush = CreatePatternBrush(hBitmap);
    DeleteObject(hBitmap);
    return hBrush;
}

void FillSolidRect(HDC hdc, const RECT& rc, COLORREF crColor)
{
    HBRUSH hBrush = CreateSolidBrush(crColor);
    FillRect(hdc, &rc, hBrush);
    DeleteObject(hBrush);
}

void DrawHLine(HDC hdc, int x1, int x2, int y, HPEN hPen)
{
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    MoveToEx(hdc, x1, y, nullptr);
    LineTo(hdc, x2, y);
    if (hOld != nullptr)
        SelectObject(hdc, hOld);
}

void DrawVLine(HDC hdc, int x, int y1, int y2, HPEN hPen)
{
    HGDIOBJ hOld = SelectObject(hdc, hPen);
    MoveToEx(hdc, x, y1, nullptr);
    LineTo(hdc, x, y2);
    if (hOld != nullptr)
        SelectObject(hdc, hOld);
}

// The classic integer conversion: every division adds half its divisor first, and grey has the
// undefined hue two thirds of the way round.
namespace {
const int HLS_UNDEFINED = HLSMAX * 2 / 3;

int ClampRgb(int n)
{
    return std::clamp(n, 0, RGBMAX);
}
}  // namespace

DWORD RgbToHls(COLORREF crColor)
{
    int r = GetRValue(crColor), g = GetGValue(crColor), b = GetBValue(crColor);
    int cMax = std::max({r, g, b});
    int cMin = std::min({r, g, b});
    int l = ((cMax + cMin) * HLSMAX + RGBMAX) / (2 * RGBMAX);
    int h = HLS_UNDEFINED;
    int s = 0;
    if (cMax != cMin) {
        int nSum = cMax + cMin;
        int nDiff = cMax - cMin;
        if (l <= HLSMAX / 2)
            s = (nDiff * HLSMAX + nSum / 2) / nSum;
        else
            s = (nDiff * HLSMAX + (2 * RGBMAX - nSum) / 2) / (2 * RGBMAX - nSum);
        int rDelta = ((cMax - r) * (HLSMAX / 6) + nDiff / 2) / nDiff;
        int gDelta = ((cMax - g) * (HLSMAX / 6) + nDiff / 2) / nDiff;
        int bDelta = ((cMax - b) * (HLSMAX / 6) + nDiff / 2) / nDiff;
        if (r == cMax)
            h = bDelta - gDelta;
        else if (g == cMax)
            h = HLSMAX / 3 + rDelta - bDelta;
        else
            h = 2 * HLSMAX / 3 + gDelta - rDelta;
        if (h < 0)
            h += HLSMAX;
        if (h > HLSMAX)
            h -= HLSMAX;
    }
    return static_cast<DWORD>(h & 0xFF) | (static_cast<DWORD>(l & 0xFF) << 8) | (static_cast<DWORD>(s & 0xFF) << 16);
}

int HueToRgb(int n1, int n2, int nHue)
{
    if (nHue < 0)
        nHue += HLSMAX;
    if (nHue > HLSMAX)
        nHue -= HLSMAX;
    if (nHue < HLSMAX / 6)
        return n1 + ((n2 - n1) * nHue + HLSMAX / 12) / (HLSMAX / 6);
    if (nHue < HLSMAX / 2)
        return n2;
    if (nHue < HLSMAX * 2 / 3)
        return n1 + ((n2 - n1) * (HLSMAX * 2 / 3 - nHue) + HLSMAX / 12) / (HLSMAX / 6);
    return n1;
}

COLORREF HlsToRgb(int nHue, int nLightness, int nSaturation)
{
    if (nSaturation == 0) {
        int n = ClampRgb(nLightness * RGBMAX / HLSMAX);
        return RGB(n, n, n);
    }
    int nMagic2;
    if (nLightness <= HLSMAX / 2)
        nMagic2 = (nLightness * (HLSMAX + nSaturation) + HLSMAX / 2) / HLSMAX;
    else
        nMagic2 = nLightness + nSaturation - (nLightness * nSaturation + HLSMAX / 2) / HLSMAX;
    int nMagic1 = 2 * nLightness - nMagic2;
    int r = (HueToRgb(nMagic1, nMagic2, nHue + HLSMAX / 3) * RGBMAX + HLSMAX / 2) / HLSMAX;
    int g = (HueToRgb(nMagic1, nMagic2, nHue) * RGBMAX + HLSMAX / 2) / HLSMAX;
    int b = (HueToRgb(nMagic1, nMagic2, nHue - HLSMAX / 3) * RGBMAX + HLSMAX / 2) / HLSMAX;
    return RGB(ClampRgb(r), ClampRgb(g), ClampRgb(b));
}

COLORREF ShadeColor(COLORREF crColor, int nPercent)
{
    DWORD dwHls = RgbToHls(crColor);
    int h = static_cast<int>(dwHls & 0xFF);
    int l = static_cast<int>((dwHls >> 8) & 0xFF);
    int s = static_cast<int>((dwHls >> 16) & 0xFF);
    l = std::min(HLSMAX, l * nPercent / 100);
    if (nPercent > 100)
        s = std::clamp(s * (100 - (nPercent - 100) / 3) / 100, 0, HLSMAX);
    return HlsToRgb(h, l, s);
}

namespace {
// Selects a bitmap into a memory DC. A fresh DC's own bitmap may have no handle to give back, so
// success is read from the DC itself.
BOOL SelectBitmap(HDC hdc, HBITMAP hBitmap, HGDIOBJ* phOld)
{
    *phOld = SelectObject(hdc, hBitmap);
    return GetCurrentObject(hdc, OBJ_BITMAP) == hBitmap;
}

// A memory DC with its own bitmap, both freed together.
struct CMemSurface {
    HDC hdc = nullptr;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hOld = nullptr;
    BOOL bSelected = FALSE;
    CMemSurface(HDC hdcRef, int cx, int cy, BOOL bMono)
    {
        hdc = CreateCompatibleDC(hdcRef);
        hBitmap = bMono ? CreateBitmap(cx, cy, 1, 1, nullptr) : CreateCompatibleBitmap(hdcRef, cx, cy);
        if (hdc && hBitmap)
            bSelected = SelectBitmap(hdc, hBitmap, &hOld);
    }
    ~CMemSurface()
    {
        if (hdc && hOld)
            SelectObject(hdc, hOld);
        if (hdc)
            DeleteDC(hdc);
        if (hBitmap)
            DeleteObject(hBitmap);
    }
    BOOL Ok() const { return bSelected; }
};

// Paints crColor where the monochrome mask is black and keeps the destination where it is white.
void PaintThroughMask(HDC hdcDest, int x, int y, int cx, int cy, HDC hdcMask, COLORREF crColor)
{
    COLORREF crOldText = SetTextColor(hdcDest, RGB(0, 0, 0));
    COLORREF crOldBk = SetBkColor(hdcDest, RGB(255, 255, 255));
    BitBlt(hdcDest, x, y, cx, cy, hdcMask, 0, 0, SRCAND);
    CMemSurface colored(hdcDest, cx, cy, FALSE);
    if (colored.Ok()) {
        // Black of the mask becomes the colour, white becomes black, which OR leaves alone.
        SetTextColor(colored.hdc, crColor);
        SetBkColor(colored.hdc, RGB(0, 0, 0));
        BitBlt(colored.hdc, 0, 0, cx, cy, hdcMask, 0, 0, SRCCOPY);
        BitBlt(hdcDest, x, y, cx, cy, colored.hdc, 0, 0, SRCPAINT);
    }
    SetTextColor(hdcDest, crOldText);
    SetBkColor(hdcDest, crOldBk);
}
}  // namespace

BOOL DrawTransparentBitmap(HDC hdc, HBITMAP hBitmap, int x, int y, COLORREF crTransparent, int xSrc, int ySrc,
                           int nWidth, int nHeight)
{
    BITMAP bm = {};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return FALSE;
    if (nWidth < 0)
        nWidth = bm.bmWidth;
    if (nHeight < 0)
        nHeight = bm.bmHeight;
    if (nWidth == 0 || nHeight == 0)
        return TRUE;
    HDC hdcTemp = CreateCompatibleDC(hdc);
    HGDIOBJ hOldTemp = nullptr;
    if (hdcTemp == nullptr || !SelectBitmap(hdcTemp, hBitmap, &hOldTemp)) {
        if (hdcTemp)
            DeleteDC(hdcTemp);
        return FALSE;
    }
    CMemSurface back(hdc, nWidth, nHeight, TRUE);       // the inverted mask
    CMemSurface object(hdc, nWidth, nHeight, TRUE);     // the mask: transparent pixels white
    CMemSurface mem(hdc, nWidth, nHeight, FALSE);       // where the result is composed
    CMemSurface save(hdc, nWidth, nHeight, FALSE);      // the bitmap's pixels, put back at the end
    BOOL bOk = back.Ok() && object.Ok() && mem.Ok() && save.Ok();
    if (bOk) {
        SetMapMode(hdcTemp, GetMapMode(hdc));
        BitBlt(save.hdc, 0, 0, nWidth, nHeight, hdcTemp, xSrc, ySrc, SRCCOPY);
        COLORREF crOldBk = SetBkColor(hdcTemp, crTransparent);
        BitBlt(object.hdc, 0, 0, nWidth, nHeight, hdcTemp, xSrc, ySrc, SRCCOPY);
        SetBkColor(hdcTemp, crOldBk);
        BitBlt(back.hdc, 0, 0, nWidth, nHeight, object.hdc, 0, 0, NOTSRCCOPY);
        // Monochrome sources take black and white from the destination's text and background.
        SetTextColor(mem.hdc, RGB(0, 0, 0));
        SetBkColor(mem.hdc, RGB(255, 255, 255));
        COLORREF crTempText = SetTextColor(hdcTemp, RGB(0, 0, 0));
        COLORREF crTempBk = SetBkColor(hdcTemp, RGB(255, 255, 255));
        BitBlt(mem.hdc, 0, 0, nWidth, nHeight, hdc, x, y, SRCCOPY);
        BitBlt(mem.hdc, 0, 0, nWidth, nHeight, object.hdc, 0, 0, SRCAND);
        BitBlt(hdcTemp, xSrc, ySrc, nWidth, nHeight, back.hdc, 0, 0, SRCAND);
        BitBlt(mem.hdc, 0, 0, nWidth, nHeight, hdcTemp, xSrc, ySrc, SRCPAINT);
        BitBlt(hdc, x, y, nWidth, nHeight, mem.hdc, 0, 0, SRCCOPY);
        BitBlt(hdcTemp, xSrc, ySrc, nWidth, nHeight, save.hdc, 0, 0, SRCCOPY);
        SetTextColor(hdcTemp, crTempText);
        SetBkColor(hdcTemp, crTempBk);
    }
    if (hOldTemp != nullptr)
        SelectObject(hdcTemp, hOldTemp);
    DeleteDC(hdcTemp);
    return bOk;
}

HBITMAP CreateDisabledBitmap(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    int cx = bm.bmWidth, cy = bm.bmHeight;
    HDC hdcScreen = GetDC(nullptr);
    HDC hdcSrc = CreateCompatibleDC(hdcScreen);
    HGDIOBJ hOldSrc = nullptr;
    HBITMAP hResult = nullptr;
    if (hdcSrc != nullptr && SelectBitmap(hdcSrc, hBitmap, &hOldSrc)) {
        CMemSurface mask(hdcScreen, cx, cy, TRUE);
        HDC hdcDest = CreateCompatibleDC(hdcScreen);
        hResult = CreateCompatibleBitmap(hdcScreen, cx, cy);
        HGDIOBJ hOldDest = nullptr;
        BOOL bDest = hdcDest && hResult && SelectBitmap(hdcDest, hResult, &hOldDest);
        if (mask.Ok() && bDest) {
            // The background colour turns white in the mask, the picture black.
            COLORREF crOldBk = SetBkColor(hdcSrc, GetPixel(hdcSrc, 0, 0));
            BitBlt(mask.hdc, 0, 0, cx, cy, hdcSrc, 0, 0, SRCCOPY);
            SetBkColor(hdcSrc, crOldBk);
            RECT rc = {0, 0, cx, cy};
            FillSolidRect(hdcDest, rc, GetSysColor(COLOR_BTNFACE));
            PaintThroughMask(hdcDest, 1, 1, cx - 1, cy - 1, mask.hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
            PaintThroughMask(hdcDest, 0, 0, cx, cy, mask.hdc, GetSysColor(COLOR_BTNSHADOW));
        } else if (hResult != nullptr) {
            DeleteObject(hResult);
            hResult = nullptr;
        }
        if (hOldDest != nullptr)
            SelectObject(hdcDest, hOldDest);
        if (hdcDest)
            DeleteDC(hdcDest);
        if (hOldSrc != nullptr)
            SelectObject(hdcSrc, hOldSrc);
    }
    if (hdcSrc)
        DeleteDC(hdcSrc);
    ReleaseDC(nullptr, hdcScreen);
    return hResult;
}
