// Block transfers: PatBlt, BitBlt and StretchBlt with the ternary raster operations, the
// colour/monochrome conversions between DCs, ScrollDC, and writing images out as PNG.
#include <algorithm>
#include <climits>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/WindowRecord.h"

namespace {
bool UsesSource(BYTE t) { return ((t >> 2) & 0x33) != (t & 0x33); }
bool UsesPattern(BYTE t) { return ((t >> 4) & 0x0F) != (t & 0x0F); }

// The source of a transfer: which pixels and how they turn into destination pixels.
struct Source {
    const CTbPixelBuffer* pBits = nullptr;
    int x0 = 0, y0 = 0, cx = 0, cy = 0;     // device rectangle; negative extents mirror
    BOOL bToMono = FALSE;                   // colour source onto a monochrome destination
    BOOL bFromMono = FALSE;                 // monochrome source onto a colour destination
    uint32_t pxSrcBk = TB_PIXEL_WHITE;      // source DC background (colour to monochrome)
    uint32_t pxDstText = TB_PIXEL_BLACK;    // destination colours (monochrome to colour)
    uint32_t pxDstBk = TB_PIXEL_WHITE;
    BOOL Get(int i, int j, int nDstW, int nDstH, uint32_t* pPx) const
    {
        int ci = static_cast<int>((static_cast<int64_t>(i) * 2 + 1) * std::abs(cx) / (2 * static_cast<int64_t>(nDstW)));
        int cj = static_cast<int>((static_cast<int64_t>(j) * 2 + 1) * std::abs(cy) / (2 * static_cast<int64_t>(nDstH)));
        int x = cx > 0 ? x0 + ci : x0 - 1 - ci;
        int y = cy > 0 ? y0 + cj : y0 - 1 - cj;
        if (!pBits->Contains(x, y))
            return FALSE;
        uint32_t px = pBits->Row(y)[x];
        if (bToMono)
            px = ((px & 0xFFFFFF) == (pxSrcBk & 0xFFFFFF)) ? TB_PIXEL_WHITE : TB_PIXEL_BLACK;
        else if (bFromMono)
            px = px == TB_PIXEL_WHITE ? pxDstBk : pxDstText;
        *pPx = px;
        return TRUE;
    }
};

TbPaint PatternOf(TbDC* pDC, BOOL bMono)
{
    TbPaint paint;
    const TbBrush* pBrush = pDC->st.pBrush.get();
    if (!pBrush || pBrush->uStyle == BS_NULL) {
        paint.px = TB_PIXEL_BLACK;
        return paint;
    }
    paint.px = TbSurfacePixel(pBrush->cr, bMono);
    if (pBrush->uStyle == BS_PATTERN || pBrush->uStyle == BS_HATCHED) {
        paint.pPattern = &pBrush->pattern;
        paint.bMonoPattern = pBrush->pattern.IsMono();
        paint.ptOrigin = pDC->st.ptBrushOrg;
        paint.pxFore = pBrush->uStyle == BS_HATCHED ? paint.px : TbSurfacePixel(pDC->st.crText, bMono);
        paint.pxBack = TbSurfacePixel(pDC->st.crBk, bMono);
    }
    return paint;
}

// A transfer onto paper: an image copied as an image (stretched, not re-sampled here) and the
// plain fills. Raster mixes that read the page back (masks, XOR) have nothing to read on paper
// and draw nothing; mirrored extents print upright.
BOOL PrintTransfer(TbDC* pDst, ITbPrintPage* pPage, const RECT& rcLogical, HDC hdcSrc, int xs, int ys, int cxs, int cys,
                   BYTE t)
{
    RECT rcDst = pDst->ToDevice(rcLogical);
    if (TbRectEmpty(rcDst))
        return TRUE;
    if (!UsesSource(t)) {
        const TbBrush* pBrush = pDst->st.pBrush.get();
        if (t == 0x00 || t == 0xFF)             // BLACKNESS, WHITENESS
            pPage->FillRect(rcDst, t ? RGB(255, 255, 255) : RGB(0, 0, 0));
        else if (t == 0xF0 && pBrush && pBrush->uStyle != BS_NULL)     // PATCOPY
            pPage->FillRect(rcDst, pBrush->cr);
        return TRUE;
    }
    TbDC* pSrc = TbFindDC(hdcSrc);
    const CTbPixelBuffer* pBits = pSrc ? pSrc->Target() : nullptr;
    if (!pBits || pSrc->IsTurned())
        return FALSE;
    if (t != 0xCC)                              // SRCCOPY
        return TRUE;
    POINT sa = pSrc->ToDevice(xs, ys), sb = pSrc->ToDevice(xs + cxs, ys + cys);
    RECT rcSrc = {std::min(sa.x, sb.x), std::min(sa.y, sb.y), std::max(sa.x, sb.x), std::max(sa.y, sb.y)};
    if (TbRectEmpty(rcSrc))
        return TRUE;
    if (!pBits->IsMono()) {
        pPage->Image(*pBits, rcSrc, rcDst);
        return TRUE;
    }
    // Monochrome onto colour: white takes the destination's background colour, black its text colour.
    CTbPixelBuffer colour;
    colour.Create(pBits->Width(), pBits->Height(), FALSE, TB_PIXEL_WHITE);
    const uint32_t pxText = TbSurfacePixel(pDst->st.crText, FALSE), pxBk = TbSurfacePixel(pDst->st.crBk, FALSE);
    for (int y = 0; y < pBits->Height(); ++y)
        for (int x = 0; x < pBits->Width(); ++x)
            colour.Row(y)[x] = pBits->Row(y)[x] == TB_PIXEL_WHITE ? pxBk : pxText;
    pPage->Image(colour, rcSrc, rcDst);
    return TRUE;
}

// Destination rectangle dst (device, extents may be negative to mirror) from the source.
BOOL Transfer(HDC hdcDest, int xd, int yd, int cxd, int cyd, HDC hdcSrc, int xs, int ys, int cxs, int cys, DWORD dwRop)
{
    TbDC* pDst = TbFindDC(hdcDest);
    if (ITbPrintPage* pPage = pDst ? pDst->PrintPage() : nullptr)
        return PrintTransfer(pDst, pPage, RECT{std::min(xd, xd + cxd), std::min(yd, yd + cyd), std::max(xd, xd + cxd),
                                               std::max(yd, yd + cyd)},
                             hdcSrc, xs, ys, cxs, cys, static_cast<BYTE>((dwRop >> 16) & 0xFF));
    CTbPixelBuffer* pTarget = pDst ? pDst->Target() : nullptr;
    if (!pTarget)
        return FALSE;
    BYTE t = static_cast<BYTE>((dwRop >> 16) & 0xFF);
    BOOL bMono = pTarget->IsMono();
    POINT a = pDst->ToDevice(xd, yd), b = pDst->ToDevice(xd + cxd, yd + cyd);
    if (pDst->IsTurned()) {
        // Turned, the destination is upright in the box around the turned rectangle.
        RECT rc = pDst->ToDevice(RECT{xd, yd, xd + cxd, yd + cyd});
        a = POINT{rc.left, rc.top};
        b = POINT{rc.right, rc.bottom};
    }
    int nDstW = b.x - a.x, nDstH = b.y - a.y;
    if (nDstW == 0 || nDstH == 0)
        return TRUE;
    Source src;
    CTbPixelBuffer copy;
    if (UsesSource(t)) {
        TbDC* pSrc = TbFindDC(hdcSrc);
        CTbPixelBuffer* pBits = pSrc ? pSrc->Target() : nullptr;
        // A turned source would be a parallelogram of pixels, which a block transfer cannot read.
        if (!pBits || pSrc->IsTurned())
            return FALSE;
        if (pBits == pTarget) {
            copy = *pBits;          // overlapping transfers read the pixels as they were
            pBits = &copy;
        }
        POINT sa = pSrc->ToDevice(xs, ys), sb = pSrc->ToDevice(xs + cxs, ys + cys);
        src.pBits = pBits;
        src.x0 = sa.x;
        src.y0 = sa.y;
        src.cx = sb.x - sa.x;
        src.cy = sb.y - sa.y;
        if (src.cx == 0 || src.cy == 0)
            return TRUE;
        // Mirroring on either side flips the other; normalise the destination to positive extents.
        if (nDstW < 0) {
            a.x = b.x;
            nDstW = -nDstW;
            src.x0 += src.cx;
            src.cx = -src.cx;
        }
        if (nDstH < 0) {
            a.y = b.y;
            nDstH = -nDstH;
            src.y0 += src.cy;
            src.cy = -src.cy;
        }
        src.bToMono = bMono && !pBits->IsMono();
        src.bFromMono = !bMono && pBits->IsMono();
        src.pxSrcBk = TbSurfacePixel(pSrc->st.crBk, FALSE);
        src.pxDstText = TbSurfacePixel(pDst->st.crText, FALSE);
        src.pxDstBk = TbSurfacePixel(pDst->st.crBk, FALSE);
    } else {
        if (nDstW < 0) { a.x = b.x; nDstW = -nDstW; }
        if (nDstH < 0) { a.y = b.y; nDstH = -nDstH; }
    }
    TbPaint pattern = PatternOf(pDst, bMono);
    BOOL bPattern = UsesPattern(t);
    RECT rcDst = {a.x, a.y, a.x + nDstW, a.y + nDstH};
    // Only pixels that change are shown anew: a picture copied again over itself (an indicator
    // redrawn on every tick) costs the display nothing.
    int nLeft = INT_MAX, nTop = INT_MAX, nRight = INT_MIN, nBottom = INT_MIN;
    for (const RECT& rcClip : pDst->Clip()) {
        RECT rc = TbIntersect(rcDst, rcClip);
        for (int y = rc.top; y < rc.bottom; ++y) {
            uint32_t* pRow = pTarget->Row(y);
            for (int x = rc.left; x < rc.right; ++x) {
                uint32_t S = 0, P = 0;
                if (src.pBits && !src.Get(x - rcDst.left, y - rcDst.top, nDstW, nDstH, &S))
                    continue;
                if (bPattern && !pattern.At(x, y, &P))
                    P = pattern.pxBack;
                const uint32_t px = TbRop3(t, P, S, pRow[x]);
                if (px == pRow[x])
                    continue;
                pRow[x] = px;
                nLeft = std::min(nLeft, x), nRight = std::max(nRight, x + 1);
                nTop = std::min(nTop, y), nBottom = std::max(nBottom, y + 1);
            }
        }
    }
    if (nLeft < nRight)
        pDst->Touch(RECT{nLeft, nTop, nRight, nBottom});
    return TRUE;
}
}

BOOL PatBlt(HDC hdc, int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    BYTE t = static_cast<BYTE>((dwRop >> 16) & 0xFF);
    if (UsesSource(t))
        return FALSE;
    return Transfer(hdc, x, y, nWidth, nHeight, nullptr, 0, 0, 0, 0, dwRop);
}

BOOL BitBlt(HDC hdcDest, int xDest, int yDest, int nWidth, int nHeight, HDC hdcSrc, int xSrc, int ySrc, DWORD dwRop)
{
    if (nWidth < 0 || nHeight < 0)
        return FALSE;
    TbDC* pSrc = TbFindDC(hdcSrc);
    TbDC* pDst = TbFindDC(hdcDest);
    if (!pDst)
        return FALSE;
    // A source with other units than the destination scales like StretchBlt.
    int cxs = nWidth, cys = nHeight;
    if (pSrc && (!pSrc->IsIdentity() || !pDst->IsIdentity())) {
        cxs = pSrc->IsIdentity() ? pDst->ScaleX(nWidth) : nWidth;
        cys = pSrc->IsIdentity() ? pDst->ScaleY(nHeight) : nHeight;
    }
    return Transfer(hdcDest, xDest, yDest, nWidth, nHeight, hdcSrc, xSrc, ySrc, cxs, cys, dwRop);
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int nWidthDest, int nHeightDest, HDC hdcSrc, int xSrc, int ySrc,
                int nWidthSrc, int nHeightSrc, DWORD dwRop)
{
    return Transfer(hdcDest, xDest, yDest, nWidthDest, nHeightDest, hdcSrc, xSrc, ySrc, nWidthSrc, nHeightSrc, dwRop);
}

BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* prcScroll, const RECT* prcClip, HRGN hrgnUpdate, LPRECT prcUpdate)
{
    TbDC* pDC = TbFindDC(hdc);
    CTbPixelBuffer* pTarget = pDC ? pDC->Target() : nullptr;
    if (!pTarget)
        return FALSE;
    RECT rcAll = {0, 0, pTarget->Width(), pTarget->Height()};
    RECT rcScroll = TbIntersect(prcScroll ? pDC->ToDevice(*prcScroll) : rcAll, rcAll);
    RECT rcClip = TbIntersect(prcClip ? pDC->ToDevice(*prcClip) : rcAll, rcAll);
    int ddx = pDC->ScaleX(dx) * (dx < 0 ? -1 : 1), ddy = pDC->ScaleY(dy) * (dy < 0 ? -1 : 1);
    pTarget->Move(rcScroll, ddx, ddy, rcClip);
    RECT rcMoved = TbIntersect(RECT{rcScroll.left + ddx, rcScroll.top + ddy, rcScroll.right + ddx, rcScroll.bottom + ddy}, rcClip);
    CTbRegion rgnUncovered(TbIntersect(rcScroll, rcClip));
    rgnUncovered.Subtract(rcMoved);
    if (hrgnUpdate)
        TbSetRegion(hrgnUpdate, rgnUncovered);
    if (prcUpdate)
        *prcUpdate = rgnUncovered.GetBox();
    pDC->Touch(TbUnion(TbIntersect(rcScroll, rcClip), rcMoved));
    return TRUE;
}

BOOL TbSaveBitmapPng(HBITMAP hBitmap, LPCSTR pszPath)
{
    TbBitmap* pBitmap = TbGdiFindAs<TbBitmap>(hBitmap, OBJ_BITMAP);
    ITbImageCodec* pCodec = TbGetImageCodec();
    return pBitmap && pCodec && pszPath && !pBitmap->bits.IsEmpty() && pCodec->SavePng(pBitmap->bits, pszPath);
}

// The window as it shows: its own image, then its visible children from the bottom of the z-order
// up (transparent ones, group boxes, beneath the rest), each with its own children, clipped.
static void ComposeWindow(TbWindow* pWnd, CTbPixelBuffer& out)
{
    CTbPixelBuffer* pImage = TbWindowImage(pWnd);
    const int cx = TbImageWidth(pWnd), cy = TbImageHeight(pWnd);     // the scroll bars too
    out.Create(cx, cy, FALSE, TB_PIXEL_WHITE);
    for (int y = 0; y < cy && y < pImage->Height(); ++y)
        for (int x = 0; x < cx && x < pImage->Width(); ++x)
            out.Row(y)[x] = pImage->Row(y)[x];
    if (pWnd->pSurface)
        pWnd->pSurface->DrawForeign(&out);
    std::vector<HWND> children(pWnd->children.rbegin(), pWnd->children.rend());
    std::stable_partition(children.begin(), children.end(), [](HWND h) {
        const TbWindow* p = TbFindWindow(h);
        return p && (p->dwExStyle & WS_EX_TRANSPARENT);
    });
    for (auto it = children.begin(); it != children.end(); ++it) {
        TbWindow* pChild = TbFindWindow(*it);
        if (!pChild || !(pChild->dwStyle & WS_VISIBLE))
            continue;
        CTbPixelBuffer child;
        ComposeWindow(pChild, child);
        const int x0 = pChild->rcWindow.left, y0 = pChild->rcWindow.top;
        for (int y = 0; y < child.Height(); ++y)
            for (int x = 0; x < child.Width(); ++x)
                if (out.Contains(x0 + x, y0 + y))
                    out.Row(y0 + y)[x0 + x] = child.Row(y)[x];
    }
}

BOOL TbSaveWindowPng(HWND hWnd, LPCSTR pszPath)
{
    TbWindow* pWnd = TbFindWindow(hWnd);
    ITbImageCodec* pCodec = TbGetImageCodec();
    if (!pWnd || !pCodec || !pszPath)
        return FALSE;
    CTbPixelBuffer image;
    ComposeWindow(pWnd, image);
    return !image.IsEmpty() && pCodec->SavePng(image, pszPath);
}
