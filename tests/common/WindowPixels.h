#pragma once
// A window's client pixels as they stand, read through a window DC (no message is pumped), row
// by row: what tests compare to see what a change painted.
#include <vector>
#include "platform/win/Windows.h"

inline std::vector<COLORREF> WindowPixels(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    std::vector<COLORREF> pixels;
    HDC hdc = GetDC(hWnd);
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x)
            pixels.push_back(GetPixel(hdc, x, y));
    ReleaseDC(hWnd, hdc);
    return pixels;
}
