// Lines, shapes, fills and pixels.
#include <algorithm>
#include <cmath>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Raster.h"

namespace {
const int s_dash[] = {18, 6};
const int s_dot[] = {3, 3};
const int s_dashDot[] = {9, 6, 3, 6};
const int s_dashDotDot[] = {9, 3, 3, 3, 3, 3};

TbPaint BrushPaint(TbDC* pDC, const TbBrush* pBrush, BOOL bMono)
{
    TbPaint paint;
    if (!pBrush || pBrush->uStyle == BS_NULL) {
        paint.bNone = TRUE;
        return paint;
    }
    paint.px = TbSurfacePixel(pBrush->cr, bMono);
    if (pBrush->uStyle == BS_PATTERN || pBrush->uStyle == BS_HATCHED) {
        paint.pPattern = &pBrush->pattern;
        paint.bMonoPattern = pBrush->pattern.IsMono();
        paint.ptOrigin = pDC->st.ptBrushOrg;
        if (pBrush->uStyle == BS_HATCHED) {
            paint.pxFore = paint.px;
            paint.pxBack = TbSurfacePixel(pDC->st.crBk, bMono);
            paint.bTransparentBack = pDC->st.nBkMode == TRANSPARENT;
        } else {
            paint.pxFore = TbSurfacePixel(pDC->st.crText, bMono);
            paint.pxBack = TbSurfacePixel(pDC->st.crBk, bMono);
        }
        if (!paint.bMonoPattern && bMono) {
            // A colour pattern on a monochrome surface: each pixel to its nearer of black and white.
            paint.pPattern = nullptr;
            paint.px = TbPixelToMono(pBrush->pattern.Row(0)[0]);
        }
    }
    return paint;
}

// A drawing call's context: the target, its clip and the raster with the DC's mix mode.
// A printer DC's page instead of a target: the same figures as vector shapes.
struct Drawing {
    TbDC* pDC = nullptr;
    CTbPixelBuffer* pTarget = nullptr;
    ITbPrintPage* pPage = nullptr;
    BOOL bMono = FALSE;
    explicit Drawing(HDC hdc)
    {
        pDC = TbFindDC(hdc);
        pTarget = pDC ? pDC->Target() : nullptr;
        pPage = pDC ? pDC->PrintPage() : nullptr;
        bMono = pTarget && pTarget->IsMono();
    }
    BOOL Ok() const { return pDC && pTarget; }
};

int PenWidth(TbDC* pDC, const TbPen* pPen)
{
    return pPen->nWidth <= 1 ? 1 : std::max(1, pDC->ScaleX(pPen->nWidth));
}

TbLinePen LinePen(TbDC* pDC, const TbPen* pPen, BOOL bMono)
{
    TbLinePen pen;
    pen.px = TbSurfacePixel(pPen->cr, bMono);
    if (pPen->nWidth <= 1) {
        switch (pPen->uStyle) {
        case PS_DASH:       pen.pDashes = s_dash; pen.nDashes = 2; break;
        case PS_DOT:        pen.pDashes = s_dot; pen.nDashes = 2; break;
        case PS_DASHDOT:    pen.pDashes = s_dashDot; pen.nDashes = 4; break;
        case PS_DASHDOTDOT: pen.pDashes = s_dashDotDot; pen.nDashes = 6; break;
        }
    }
    pen.bOpaqueGaps = pDC->st.nBkMode == OPAQUE;
    pen.pxGap = TbSurfacePixel(pDC->st.crBk, bMono);
    return pen;
}

// A line of the DC's pen between device points, the end point left out.
void PenLine(CTbRaster& raster, TbDC* pDC, const TbPen* pPen, BOOL bMono, POINT a, POINT b)
{
    if (pPen->uStyle == PS_NULL)
        return;
    int w = PenWidth(pDC, pPen);
    if (w <= 1) {
        raster.Line(a, b, LinePen(pDC, pPen, bMono));
        return;
    }
    TbPaint paint;
    paint.px = TbSurfacePixel(pPen->cr, bMono);
    double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    if (len == 0)
        return;
    // A wide line is the band around it, squared off half the width past both ends.
    double ux = dx / len * w / 2.0, uy = dy / len * w / 2.0;
    POINT quad[4] = {
        {static_cast<LONG>(std::lround(a.x - ux - uy)), static_cast<LONG>(std::lround(a.y - uy + ux))},
        {static_cast<LONG>(std::lround(b.x + ux - uy)), static_cast<LONG>(std::lround(b.y + uy + ux))},
        {static_cast<LONG>(std::lround(b.x + ux + uy)), static_cast<LONG>(std::lround(b.y + uy - ux))},
        {static_cast<LONG>(std::lround(a.x - ux + uy)), static_cast<LONG>(std::lround(a.y - uy - ux))}};
    raster.Polygon(quad, 4, WINDING, paint);
}

// The colour a printer fills with: patterns and hatches print as their colour. FALSE for no brush.
BOOL PrintBrush(const TbBrush* pBrush, COLORREF* pcr)
{
    if (!pBrush || pBrush->uStyle == BS_NULL)
        return FALSE;
    *pcr = pBrush->cr;
    return TRUE;
}

void PrintPen(const Drawing& d, const POINT* pPoints, int nCount, BOOL bClosed)
{
    const TbPen* pPen = d.pDC->st.pPen.get();
    if (pPen->uStyle != PS_NULL)
        d.pPage->Lines(pPoints, nCount, bClosed, pPen->cr, PenWidth(d.pDC, pPen), pPen->uStyle);
}

// A rectangle's frame inside it, w dots wide, as filled bands (each dot once).
void PrintFrame(ITbPrintPage* pPage, const RECT& rc, int w, COLORREF cr)
{
    CTbRegion ring(rc);
    ring.Subtract(RECT{rc.left + w, rc.top + w, rc.right - w, rc.bottom - w});
    for (const RECT& r : ring.Rects())
        pPage->FillRect(r, cr);
}

void PrintLogicalRect(const Drawing& d, const RECT& rc, COLORREF cr)
{
    if (!d.pDC->IsTurned()) {
        d.pPage->FillRect(d.pDC->ToDevice(rc), cr);
        return;
    }
    POINT pts[4];
    d.pDC->ToDeviceCorners(rc, pts);
    d.pPage->FillPolygon(pts, 4, FALSE, cr);
}

// A figure from device points: the brush inside, then the pen around it.
void FillAndOutline(const Drawing& d, const POINT* pPoints, int nCount, int nFillMode)
{
    if (d.pPage) {
        COLORREF cr = 0;
        if (PrintBrush(d.pDC->st.pBrush.get(), &cr))
            d.pPage->FillPolygon(pPoints, nCount, nFillMode == WINDING, cr);
        PrintPen(d, pPoints, nCount, TRUE);
        return;
    }
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), d.pDC->st.nRop2);
    raster.Polygon(pPoints, nCount, nFillMode, BrushPaint(d.pDC, d.pDC->st.pBrush.get(), d.bMono));
    for (int i = 0; i < nCount; ++i)
        PenLine(raster, d.pDC, d.pDC->st.pPen.get(), d.bMono, pPoints[i], pPoints[(i + 1) % nCount]);
    d.pDC->Touch(raster.Dirty());
}

// A logical rectangle's pixels: its device rectangle, or under rotation or shear the
// parallelogram of its turned corners, which the polygon fill covers by pixel centres.
void FillLogicalRect(CTbRaster& raster, TbDC* pDC, const RECT& rc, const TbPaint& paint)
{
    if (!pDC->IsTurned()) {
        raster.FillRect(pDC->ToDevice(rc), paint);
        return;
    }
    POINT pts[4];
    pDC->ToDeviceCorners(rc, pts);
    raster.Polygon(pts, 4, ALTERNATE, paint);
}

RECT Normalised(int l, int t, int r, int b)
{
    return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT pOld)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return FALSE;
    if (pOld)
        *pOld = pDC->st.ptCurrent;
    pDC->st.ptCurrent = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pPoint)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pPoint)
        return FALSE;
    *pPoint = pDC->st.ptCurrent;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    Drawing d(hdc);
    if (!d.pDC)
        return FALSE;
    POINT a = d.pDC->ToDevice(d.pDC->st.ptCurrent.x, d.pDC->st.ptCurrent.y), b = d.pDC->ToDevice(x, y);
    d.pDC->st.ptCurrent = POINT{x, y};
    if (d.pPage) {
        POINT pts[2] = {a, b};
        PrintPen(d, pts, 2, FALSE);
    }
    if (!d.pTarget)
        return TRUE;
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), d.pDC->st.nRop2);
    PenLine(raster, d.pDC, d.pDC->st.pPen.get(), d.bMono, a, b);
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pPoints, int nCount)
{
    Drawing d(hdc);
    if (d.pPage && pPoints && nCount >= 2) {
        std::vector<POINT> pts(static_cast<size_t>(nCount));
        for (int i = 0; i < nCount; ++i)
            pts[static_cast<size_t>(i)] = d.pDC->ToDevice(pPoints[i].x, pPoints[i].y);
        PrintPen(d, pts.data(), nCount, FALSE);
        return TRUE;
    }
    if (!d.Ok() || !pPoints || nCount < 2)
        return d.pDC != nullptr && nCount >= 0;
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), d.pDC->st.nRop2);
    for (int i = 0; i + 1 < nCount; ++i)
        PenLine(raster, d.pDC, d.pDC->st.pPen.get(), d.bMono, d.pDC->ToDevice(pPoints[i].x, pPoints[i].y),
                d.pDC->ToDevice(pPoints[i + 1].x, pPoints[i + 1].y));
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pPoints, int nCount)
{
    Drawing d(hdc);
    if ((!d.Ok() && !d.pPage) || !pPoints || nCount < 2)
        return FALSE;
    std::vector<POINT> pts(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        pts[static_cast<size_t>(i)] = d.pDC->ToDevice(pPoints[i].x, pPoints[i].y);
    FillAndOutline(d, pts.data(), nCount, d.pDC->st.nPolyFillMode);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int nLeft, int nTop, int nRight, int nBottom)
{
    Drawing d(hdc);
    if (!d.Ok() && !d.pPage)
        return d.pDC != nullptr;
    if (d.pDC->IsTurned()) {
        POINT corners[4];
        d.pDC->ToDeviceCorners(Normalised(nLeft, nTop, nRight, nBottom), corners);
        FillAndOutline(d, corners, 4, ALTERNATE);
        return TRUE;
    }
    RECT rc = d.pDC->ToDevice(Normalised(nLeft, nTop, nRight, nBottom));
    const TbPen* pPen = d.pDC->st.pPen.get();
    if (d.pPage) {
        COLORREF cr = 0;
        const int w = pPen->uStyle == PS_NULL ? 0 : PenWidth(d.pDC, pPen);
        // Without a pen the figure is one dot smaller, as on the screen.
        RECT rcFill = w ? RECT{rc.left + w, rc.top + w, rc.right - w, rc.bottom - w}
                        : RECT{rc.left, rc.top, rc.right - 1, rc.bottom - 1};
        if (PrintBrush(d.pDC->st.pBrush.get(), &cr) && !TbRectEmpty(rcFill))
            d.pPage->FillRect(rcFill, cr);
        if (w && (pPen->uStyle == PS_SOLID || w > 1)) {
            PrintFrame(d.pPage, rc, w, pPen->cr);
        } else if (w) {
            POINT corners[4] = {{rc.left, rc.top}, {rc.right - 1, rc.top}, {rc.right - 1, rc.bottom - 1}, {rc.left, rc.bottom - 1}};
            PrintPen(d, corners, 4, TRUE);
        }
        return TRUE;
    }
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), d.pDC->st.nRop2);
    TbPaint brush = BrushPaint(d.pDC, d.pDC->st.pBrush.get(), d.bMono);
    if (pPen->uStyle == PS_NULL) {
        // Without a pen the figure is one pixel smaller, as on the original.
        raster.FillRect(RECT{rc.left, rc.top, rc.right - 1, rc.bottom - 1}, brush);
        d.pDC->Touch(raster.Dirty());
        return TRUE;
    }
    int w = PenWidth(d.pDC, pPen);
    raster.FillRect(RECT{rc.left + w, rc.top + w, rc.right - w, rc.bottom - w}, brush);
    if (w > 1 || rc.right - rc.left <= 2 || rc.bottom - rc.top <= 2) {
        // A wide frame lies inside the rectangle; a thin sliver is one block, each pixel once.
        TbPaint pen;
        pen.px = TbSurfacePixel(pPen->cr, d.bMono);
        CTbRegion ring(rc);
        ring.Subtract(RECT{rc.left + w, rc.top + w, rc.right - w, rc.bottom - w});
        for (const RECT& r : ring.Rects())
            raster.FillRect(r, pen);
    } else {
        POINT corners[5] = {{rc.left, rc.top}, {rc.right - 1, rc.top}, {rc.right - 1, rc.bottom - 1},
                            {rc.left, rc.bottom - 1}, {rc.left, rc.top}};
        TbLinePen pen = LinePen(d.pDC, pPen, d.bMono);
        for (int i = 0; i < 4; ++i)
            raster.Line(corners[i], corners[i + 1], pen);
    }
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

BOOL Ellipse(HDC hdc, int nLeft, int nTop, int nRight, int nBottom)
{
    Drawing d(hdc);
    if (!d.Ok() && !d.pPage)
        return d.pDC != nullptr;
    RECT rc = d.pDC->ToDevice(Normalised(nLeft, nTop, nRight, nBottom));
    const TbPen* pPen = d.pDC->st.pPen.get();
    int w = pPen->uStyle == PS_NULL ? 0 : PenWidth(d.pDC, pPen);
    if (d.pPage) {
        COLORREF cr = 0;
        BOOL bFill = PrintBrush(d.pDC->st.pBrush.get(), &cr);
        d.pPage->Ellipse(rc, bFill, cr, w > 0, pPen->cr, w);
        return TRUE;
    }
    std::vector<std::pair<int, int>> outer, inner;
    CTbRaster::EllipseSpans(rc, outer);
    CTbRaster::EllipseSpans(RECT{rc.left + w, rc.top + w, rc.right - w, rc.bottom - w}, inner);
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), d.pDC->st.nRop2);
    TbPaint brush = BrushPaint(d.pDC, d.pDC->st.pBrush.get(), d.bMono);
    TbPaint pen;
    pen.px = pPen->uStyle == PS_NULL ? 0 : TbSurfacePixel(pPen->cr, d.bMono);
    for (size_t i = 0; i < outer.size(); ++i) {
        int y = rc.top + static_cast<int>(i);
        int nInner = y - (rc.top + w);
        std::pair<int, int> in = (nInner >= 0 && static_cast<size_t>(nInner) < inner.size()) ? inner[static_cast<size_t>(nInner)]
                                                                                            : std::pair<int, int>(0, 0);
        if (in.first >= in.second) {
            if (w)
                raster.Span(y, outer[i].first, outer[i].second, pen);
            continue;
        }
        raster.Span(y, in.first, in.second, brush);
        if (w) {
            raster.Span(y, outer[i].first, std::min(in.first, outer[i].second), pen);
            raster.Span(y, std::max(in.second, outer[i].first), outer[i].second, pen);
        }
    }
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

int FillRect(HDC hdc, const RECT* pRect, HBRUSH hBrush)
{
    Drawing d(hdc);
    TbBrush* pBrush = TbResolveBrush(hBrush);
    COLORREF cr = 0;
    if (d.pPage && pRect && PrintBrush(pBrush, &cr))
        PrintLogicalRect(d, *pRect, cr);
    if (d.pPage)
        return pRect && pBrush;
    if (!d.Ok() || !pRect || !pBrush)
        return FALSE;
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), R2_COPYPEN);
    FillLogicalRect(raster, d.pDC, *pRect, BrushPaint(d.pDC, pBrush, d.bMono));
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

BOOL FillRgn(HDC hdc, HRGN hRgn, HBRUSH hBrush)
{
    Drawing d(hdc);
    TbBrush* pBrush = TbResolveBrush(hBrush);
    const CTbRegion* pRgn = TbGetRegion(hRgn);
    COLORREF cr = 0;
    if (d.pPage && pRgn && PrintBrush(pBrush, &cr))
        for (const RECT& rc : pRgn->Rects())
            PrintLogicalRect(d, rc, cr);
    if (d.pPage)
        return pBrush && pRgn;
    if (!d.Ok() || !pBrush || !pRgn)
        return FALSE;
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), R2_COPYPEN);
    TbPaint paint = BrushPaint(d.pDC, pBrush, d.bMono);
    for (const RECT& rc : pRgn->Rects())
        FillLogicalRect(raster, d.pDC, rc, paint);
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

int FrameRect(HDC hdc, const RECT* pRect, HBRUSH hBrush)
{
    Drawing d(hdc);
    TbBrush* pBrush = TbResolveBrush(hBrush);
    COLORREF cr = 0;
    if (d.pPage && pRect && PrintBrush(pBrush, &cr) && !TbRectEmpty(d.pDC->ToDevice(*pRect)))
        PrintFrame(d.pPage, d.pDC->ToDevice(*pRect), 1, cr);
    if (d.pPage)
        return pRect && pBrush;
    if (!d.Ok() || !pRect || !pBrush)
        return FALSE;
    RECT rc = d.pDC->ToDevice(*pRect);
    if (TbRectEmpty(rc))
        return TRUE;
    CTbRegion ring(rc);
    ring.Subtract(RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1});
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), R2_COPYPEN);
    TbPaint paint = BrushPaint(d.pDC, pBrush, d.bMono);
    for (const RECT& r : ring.Rects())
        raster.FillRect(r, paint);
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* pRect)
{
    Drawing d(hdc);
    if (!d.Ok() || !pRect)
        return d.pPage && pRect;      // a page has nothing to invert
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), R2_NOT);
    FillLogicalRect(raster, d.pDC, *pRect, TbPaint());
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* pRect)
{
    Drawing d(hdc);
    if (!d.Ok() || !pRect)
        return d.pPage && pRect;      // a page has nothing to invert
    RECT rc = d.pDC->ToDevice(*pRect);
    if (TbRectEmpty(rc))
        return TRUE;
    // Every other pixel of the frame inverted, each pixel once, so a second call restores it.
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), R2_NOT);
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            raster.Pixel(x, y, 0);
    };
    for (int x = rc.left; x < rc.right; ++x) {
        dot(x, rc.top);
        if (rc.bottom - 1 > rc.top)
            dot(x, rc.bottom - 1);
    }
    for (int y = rc.top + 1; y < rc.bottom - 1; ++y) {
        dot(rc.left, y);
        if (rc.right - 1 > rc.left)
            dot(rc.right - 1, y);
    }
    d.pDC->Touch(raster.Dirty());
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF crColor)
{
    Drawing d(hdc);
    if (d.pPage) {
        POINT pt = d.pDC->ToDevice(x, y);
        d.pPage->FillRect(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}, crColor);
        return crColor & 0xFFFFFF;
    }
    if (!d.Ok())
        return CLR_INVALID;
    POINT pt = d.pDC->ToDevice(x, y);
    uint32_t px = TbSurfacePixel(crColor, d.bMono);
    CTbRaster raster(*d.pTarget, d.pDC->Clip(), R2_COPYPEN);
    raster.Pixel(pt.x, pt.y, px);
    if (TbRectEmpty(raster.Dirty()))
        return CLR_INVALID;
    d.pDC->Touch(raster.Dirty());
    return TbPixelToColor(px);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF crColor)
{
    return SetPixel(hdc, x, y, crColor) != CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    Drawing d(hdc);
    if (!d.Ok())
        return CLR_INVALID;
    POINT pt = d.pDC->ToDevice(x, y);
    if (!d.pTarget->Contains(pt.x, pt.y))
        return CLR_INVALID;
    for (const RECT& rc : d.pDC->Clip())
        if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom)
            return TbPixelToColor(d.pTarget->Row(pt.y)[pt.x]);
    return CLR_INVALID;
}
