#pragma once
// Inside the drawing layer: pixels, spans, lines and polygons on a pixel buffer, with the binary
// and ternary raster operations and a clip list. Coordinates are device pixels.
#include <vector>
#include "platform/win/gdi/PixelBuffer.h"

// What a fill puts at a pixel: one colour, or a pattern aligned to an origin. In a monochrome
// pattern black pixels take pxFore and white ones pxBack (or nothing, with bTransparentBack).
struct TbPaint {
    BOOL bNone = FALSE;
    uint32_t px = TB_PIXEL_BLACK;
    const CTbPixelBuffer* pPattern = nullptr;
    BOOL bMonoPattern = FALSE;
    uint32_t pxFore = TB_PIXEL_BLACK;
    uint32_t pxBack = TB_PIXEL_WHITE;
    BOOL bTransparentBack = FALSE;
    POINT ptOrigin = {0, 0};
    BOOL At(int x, int y, uint32_t* pPx) const;
};

// A cosmetic pen: its colour, its dash pattern (empty: solid) and what the gaps show.
struct TbLinePen {
    uint32_t px = TB_PIXEL_BLACK;
    const int* pDashes = nullptr;      // on, off, on, off ... lengths; null for solid
    int nDashes = 0;
    BOOL bOpaqueGaps = FALSE;
    uint32_t pxGap = TB_PIXEL_WHITE;
};

uint32_t TbRop2(int nRop2, uint32_t pxPen, uint32_t pxDest);
uint32_t TbRop3(BYTE bRop3, uint32_t pxPattern, uint32_t pxSource, uint32_t pxDest);

class CTbRaster
{
public:
    CTbRaster(CTbPixelBuffer& target, const std::vector<RECT>& clip, int nRop2)
        : m_target(target), m_clip(clip), m_nRop2(nRop2) {}
    void Span(int y, int x0, int x1, const TbPaint& paint);       // [x0, x1)
    void FillRect(const RECT& rc, const TbPaint& paint);
    void Pixel(int x, int y, uint32_t px);
    // One-pixel line from a to b, b itself left out (the original's rule).
    void Line(POINT a, POINT b, const TbLinePen& pen);
    // Interior of a polygon: pixels whose centres lie inside (ALTERNATE or WINDING).
    void Polygon(const POINT* pPoints, int nCount, int nFillMode, const TbPaint& paint);
    // Spans of an ellipse inscribed in rc, row by row: [left, right) per row, or empty rows.
    static void EllipseSpans(const RECT& rc, std::vector<std::pair<int, int>>& spans);
    RECT Dirty() const { return m_rcDirty; }

private:
    void AxisLine(POINT a, POINT b, uint32_t px);
    void Put(int x, int y, uint32_t px);
    void Grow(int l, int t, int r, int b);
    CTbPixelBuffer& m_target;
    const std::vector<RECT>& m_clip;
    int m_nRop2;
    RECT m_rcDirty = {0, 0, 0, 0};
};
