// Pixels under raster operations: spans, lines, polygons and ellipse spans.
#include "platform/win/gdi/Raster.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include "platform/win/gdi/GdiDefs.h"
#include "platform/win/gdi/Region.h"

uint32_t TbRop2(int nRop2, uint32_t P, uint32_t D)
{
    uint32_t r;
    switch (nRop2) {
    case R2_COPYPEN: r = P; break;
    case R2_XORPEN:  r = P ^ D; break;
    case R2_NOT:     r = ~D; break;
    case R2_NOP:     r = D; break;
    default: {
        // The code less one is the truth table over (pen, destination) bit pairs.
        unsigned t = static_cast<unsigned>(nRop2 - 1) & 0xF;
        r = ((t & 8) ? (P & D) : 0) | ((t & 4) ? (P & ~D) : 0) | ((t & 2) ? (~P & D) : 0) | ((t & 1) ? (~P & ~D) : 0);
    }
    }
    return r | 0xFF000000u;
}

uint32_t TbRop3(BYTE t, uint32_t P, uint32_t S, uint32_t D)
{
    switch (t) {
    case 0xCC: return S | 0xFF000000u;                  // SRCCOPY
    case 0xF0: return P | 0xFF000000u;                  // PATCOPY
    case 0x88: return (S & D) | 0xFF000000u;            // SRCAND
    case 0xEE: return (S | D) | 0xFF000000u;            // SRCPAINT
    case 0x66: return (S ^ D) | 0xFF000000u;            // SRCINVERT
    case 0x5A: return (P ^ D) | 0xFF000000u;            // PATINVERT
    case 0x55: return ~D | 0xFF000000u;                 // DSTINVERT
    case 0x33: return ~S | 0xFF000000u;                 // NOTSRCCOPY
    }
    // Any other code: bit (P<<2 | S<<1 | D) of the code byte gives each result bit.
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(t & (1u << i)))
            continue;
        r |= ((i & 4) ? P : ~P) & ((i & 2) ? S : ~S) & ((i & 1) ? D : ~D);
    }
    return r | 0xFF000000u;
}

static int Mod(int a, int b)
{
    int m = a % b;
    return m < 0 ? m + b : m;
}

BOOL TbPaint::At(int x, int y, uint32_t* pPx) const
{
    if (bNone)
        return FALSE;
    if (!pPattern || pPattern->IsEmpty()) {
        *pPx = px;
        return TRUE;
    }
    uint32_t pxPat = pPattern->Row(Mod(y - ptOrigin.y, pPattern->Height()))[Mod(x - ptOrigin.x, pPattern->Width())];
    if (!bMonoPattern) {
        *pPx = pxPat;
        return TRUE;
    }
    if (pxPat == TB_PIXEL_WHITE) {
        if (bTransparentBack)
            return FALSE;
        *pPx = pxBack;
    } else {
        *pPx = pxFore;
    }
    return TRUE;
}

void CTbRaster::Grow(int l, int t, int r, int b)
{
    m_rcDirty = TbUnion(m_rcDirty, RECT{l, t, r, b});
}

void CTbRaster::Put(int x, int y, uint32_t px)
{
    uint32_t& d = m_target.Row(y)[x];
    d = TbRop2(m_nRop2, px, d);
}

void CTbRaster::Span(int y, int x0, int x1, const TbPaint& paint)
{
    FillRect(RECT{x0, y, x1, y + 1}, paint);
}

void CTbRaster::FillRect(const RECT& rc, const TbPaint& paint)
{
    if (rc.left >= rc.right || rc.top >= rc.bottom || paint.bNone)
        return;
    // Clip first, then walk only the rows and columns left: a small clip (one bar of a chart)
    // costs as little as it covers, however large the figures drawn through it.
    for (const RECT& rcClip : m_clip) {
        const int l = std::max<int>(rc.left, rcClip.left), r = std::min<int>(rc.right, rcClip.right);
        const int t = std::max<int>(rc.top, rcClip.top), b = std::min<int>(rc.bottom, rcClip.bottom);
        if (l >= r || t >= b)
            continue;
        for (int y = t; y < b; ++y) {
            uint32_t* pRow = m_target.Row(y);
            if (!paint.pPattern && m_nRop2 == R2_COPYPEN) {
                std::fill(pRow + l, pRow + r, paint.px | 0xFF000000u);
            } else {
                uint32_t px;
                for (int x = l; x < r; ++x)
                    if (paint.At(x, y, &px))
                        pRow[x] = TbRop2(m_nRop2, px, pRow[x]);
            }
        }
        Grow(l, t, r, b);
    }
}

void CTbRaster::Pixel(int x, int y, uint32_t px)
{
    for (const RECT& rc : m_clip)
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom) {
            Put(x, y, px);
            Grow(x, y, x + 1, y + 1);
            return;
        }
}

static int64_t RoundDiv(int64_t nNum, int64_t nDen)
{
    int64_t n = 2 * nNum + nDen, d = 2 * nDen;
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

void CTbRaster::AxisLine(POINT a, POINT b, uint32_t px)
{
    const bool bHorizontal = a.y == b.y;
    const int nFrom = bHorizontal ? a.x : a.y, nTo = bHorizontal ? b.x : b.y;
    const int nLow = nFrom < nTo ? nFrom : nTo + 1;
    const int nHigh = nFrom < nTo ? nTo : nFrom + 1;     // exclusive
    for (const RECT& rc : m_clip) {
        if (bHorizontal) {
            if (a.y < rc.top || a.y >= rc.bottom)
                continue;
            const int l = std::max<int>(nLow, rc.left), r = std::min<int>(nHigh, rc.right);
            for (int x = l; x < r; ++x)
                Put(x, a.y, px);
            if (l < r)
                Grow(l, a.y, r, a.y + 1);
        } else {
            if (a.x < rc.left || a.x >= rc.right)
                continue;
            const int t = std::max<int>(nLow, rc.top), bottom = std::min<int>(nHigh, rc.bottom);
            for (int y = t; y < bottom; ++y)
                Put(a.x, y, px);
            if (t < bottom)
                Grow(a.x, t, a.x + 1, bottom);
        }
    }
}

void CTbRaster::Line(POINT a, POINT b, const TbLinePen& pen)
{
    int64_t dx = static_cast<int64_t>(b.x) - a.x, dy = static_cast<int64_t>(b.y) - a.y;
    int64_t n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (n == 0)
        return;
    // Only the steps that can reach the target are walked, however long the line.
    double t0 = 0, t1 = static_cast<double>(n);
    auto clipAxis = [&](double s, double d, double lo, double hi) {
        if (d == 0)
            return s >= lo && s <= hi;
        double ta = (lo - s) * n / d, tb = (hi - s) * n / d;
        t0 = std::max(t0, std::min(ta, tb) - 1);
        t1 = std::min(t1, std::max(ta, tb) + 1);
        return t0 < t1;
    };
    // The steps are bounded by the clip's extent, so a long line through a narrow clip (one
    // bar of a chart) walks only the stretch that can show.
    RECT rcBound = {0, 0, 0, 0};
    for (const RECT& rc : m_clip)
        rcBound = TbUnion(rcBound, rc);
    rcBound.left = std::max<LONG>(rcBound.left, 0);
    rcBound.top = std::max<LONG>(rcBound.top, 0);
    rcBound.right = std::min<LONG>(rcBound.right, m_target.Width());
    rcBound.bottom = std::min<LONG>(rcBound.bottom, m_target.Height());
    if (rcBound.left >= rcBound.right || rcBound.top >= rcBound.bottom)
        return;
    if (!clipAxis(a.x, static_cast<double>(dx), rcBound.left - 1, rcBound.right + 1) ||
        !clipAxis(a.y, static_cast<double>(dy), rcBound.top - 1, rcBound.bottom + 1))
        return;
    int64_t i0 = std::max<int64_t>(0, static_cast<int64_t>(t0));
    int64_t i1 = std::min<int64_t>(n, static_cast<int64_t>(t1) + 1);
    int nTotal = 0;
    for (int k = 0; k < pen.nDashes; ++k)
        nTotal += pen.pDashes[k];
    if (nTotal == 0 && (dx == 0 || dy == 0)) {
        // A solid line along an axis: its pixels in one run per clip rectangle, as the walk
        // below would put them (the end point left out).
        AxisLine(a, b, pen.px);
        return;
    }
    for (int64_t i = i0; i < i1; ++i) {
        int x = static_cast<int>(a.x + RoundDiv(dx * i, n));
        int y = static_cast<int>(a.y + RoundDiv(dy * i, n));
        bool bOn = true;
        if (nTotal > 0) {
            int nPos = static_cast<int>(i % nTotal), k = 0;
            while (nPos >= pen.pDashes[k]) {
                nPos -= pen.pDashes[k];
                ++k;
            }
            bOn = (k % 2) == 0;
        }
        if (bOn)
            Pixel(x, y, pen.px);
        else if (pen.bOpaqueGaps)
            Pixel(x, y, pen.pxGap);
    }
}

void CTbRaster::Polygon(const POINT* pPoints, int nCount, int nFillMode, const TbPaint& paint)
{
    if (nCount < 3 || paint.bNone)
        return;
    LONG yMin = pPoints[0].y, yMax = pPoints[0].y;
    for (int i = 1; i < nCount; ++i) {
        yMin = std::min(yMin, pPoints[i].y);
        yMax = std::max(yMax, pPoints[i].y);
    }
    yMin = std::max<LONG>(yMin, 0);
    yMax = std::min<LONG>(yMax, m_target.Height());
    std::vector<std::pair<double, int>> xs;
    for (LONG y = yMin; y < yMax; ++y) {
        double yc = y + 0.5;
        xs.clear();
        for (int i = 0; i < nCount; ++i) {
            const POINT& p = pPoints[i];
            const POINT& q = pPoints[(i + 1) % nCount];
            if (p.y == q.y)
                continue;
            bool bDown = q.y > p.y;
            double y0 = bDown ? p.y : q.y, y1 = bDown ? q.y : p.y;
            if (yc < y0 || yc >= y1)
                continue;
            double x = p.x + (yc - p.y) * static_cast<double>(q.x - p.x) / static_cast<double>(q.y - p.y);
            xs.emplace_back(x, bDown ? 1 : -1);
        }
        std::sort(xs.begin(), xs.end());
        int nWinding = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            nWinding += xs[i].second;
            bool bInside = nFillMode == WINDING ? nWinding != 0 : (i % 2) == 0;
            if (!bInside)
                continue;
            int x0 = static_cast<int>(std::ceil(xs[i].first - 0.5));
            int x1 = static_cast<int>(std::ceil(xs[i + 1].first - 0.5));
            Span(static_cast<int>(y), x0, x1, paint);
        }
    }
}

void CTbRaster::EllipseSpans(const RECT& rc, std::vector<std::pair<int, int>>& spans)
{
    spans.clear();
    double a = (rc.right - rc.left) / 2.0, b = (rc.bottom - rc.top) / 2.0;
    double cx = (rc.left + rc.right) / 2.0, cy = (rc.top + rc.bottom) / 2.0;
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        double d = (y + 0.5 - cy) / b;
        if (b <= 0 || a <= 0 || std::fabs(d) >= 1.0) {
            spans.emplace_back(0, 0);
            continue;
        }
        double hw = a * std::sqrt(1.0 - d * d);
        spans.emplace_back(static_cast<int>(std::ceil(cx - hw - 0.5)), static_cast<int>(std::ceil(cx + hw - 0.5)));
    }
}
