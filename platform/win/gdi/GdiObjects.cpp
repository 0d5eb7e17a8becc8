// GDI objects: the handle table, stock objects, pens, brushes, fonts, bitmaps, regions, palettes.
#include <algorithm>
#include <cstring>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/user/HandleTable.h"
#include "platform/win/user/SysMetrics.h"

static CTbHandleTable<TbGdiObject>& Objects()
{
    static CTbHandleTable<TbGdiObject>* s_pTable = new CTbHandleTable<TbGdiObject>(TB_HANDLE_GDI);
    return *s_pTable;
}

HGDIOBJ TbGdiAdd(std::shared_ptr<TbGdiObject> pObject, int nType)
{
    TbGdiObject* p = pObject.get();
    p->nType = nType;
    uintptr_t h = Objects().Add(std::move(pObject));
    p->hHandle = h;
    return reinterpret_cast<HGDIOBJ>(h);
}

TbGdiObject* TbGdiFind(HGDIOBJ hObject)
{
    return Objects().Find(reinterpret_cast<uintptr_t>(hObject));
}

std::shared_ptr<TbGdiObject> TbGdiFindShared(HGDIOBJ hObject)
{
    return Objects().FindShared(reinterpret_cast<uintptr_t>(hObject));
}

TbBrush* TbResolveBrush(HBRUSH hBrush)
{
    uintptr_t n = reinterpret_cast<uintptr_t>(hBrush);
    if (n >= 1 && n <= TB_SYSCOLOR_COUNT)
        hBrush = GetSysColorBrush(static_cast<int>(n - 1));
    return TbGdiFindAs<TbBrush>(hBrush, OBJ_BRUSH);
}

COLORREF TbBrushColor(HBRUSH hBrush)
{
    TbBrush* pBrush = TbResolveBrush(hBrush);
    return (pBrush && pBrush->uStyle == BS_SOLID) ? (pBrush->cr & 0xFFFFFF) : CLR_INVALID;
}

uint32_t TbSurfacePixel(COLORREF cr, BOOL bMono)
{
    uint32_t px = TbColorToPixel(cr & 0xFFFFFF);
    return bMono ? TbPixelToMono(px) : px;
}

// ---- creation ----

HPEN CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    auto pPen = std::make_shared<TbPen>();
    pPen->uStyle = static_cast<UINT>(nPenStyle) & PS_STYLE_MASK;
    if (pPen->uStyle > PS_INSIDEFRAME)
        pPen->uStyle = PS_SOLID;
    pPen->nWidth = std::clamp(nWidth, 0, 1000);
    pPen->cr = crColor;
    return static_cast<HPEN>(TbGdiAdd(std::move(pPen), OBJ_PEN));
}

HPEN CreatePenIndirect(const LOGPEN* pLogPen)
{
    return pLogPen ? CreatePen(static_cast<int>(pLogPen->lopnStyle), pLogPen->lopnWidth.x, pLogPen->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF crColor)
{
    auto pBrush = std::make_shared<TbBrush>();
    pBrush->cr = crColor;
    return static_cast<HBRUSH>(TbGdiAdd(std::move(pBrush), OBJ_BRUSH));
}

HBRUSH CreateHatchBrush(int nIndex, COLORREF crColor)
{
    if (nIndex < HS_HORIZONTAL || nIndex > HS_DIAGCROSS)
        return nullptr;
    auto pBrush = std::make_shared<TbBrush>();
    pBrush->uStyle = BS_HATCHED;
    pBrush->cr = crColor;
    pBrush->nHatch = nIndex;
    // Black marks the hatch lines, white the background (which the DC's background mode decides).
    pBrush->pattern.Create(8, 8, TRUE, TB_PIXEL_WHITE);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool bH = y == 4, bV = x == 4, bF = x == y, bB = x == 7 - y;
            bool bOn = nIndex == HS_HORIZONTAL ? bH : nIndex == HS_VERTICAL ? bV : nIndex == HS_FDIAGONAL ? bF
                     : nIndex == HS_BDIAGONAL ? bB : nIndex == HS_CROSS ? (bH || bV) : (bF || bB);
            if (bOn)
                pBrush->pattern.Row(y)[x] = TB_PIXEL_BLACK;
        }
    return static_cast<HBRUSH>(TbGdiAdd(std::move(pBrush), OBJ_BRUSH));
}

HBRUSH CreatePatternBrush(HBITMAP hBitmap)
{
    TbBitmap* pBitmap = TbGdiFindAs<TbBitmap>(hBitmap, OBJ_BITMAP);
    if (!pBitmap || pBitmap->bits.IsEmpty())
        return nullptr;
    auto pBrush = std::make_shared<TbBrush>();
    pBrush->uStyle = BS_PATTERN;
    pBrush->pattern = pBitmap->bits;
    return static_cast<HBRUSH>(TbGdiAdd(std::move(pBrush), OBJ_BRUSH));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* pLogBrush)
{
    if (!pLogBrush)
        return nullptr;
    switch (pLogBrush->lbStyle) {
    case BS_SOLID:   return CreateSolidBrush(pLogBrush->lbColor);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(pLogBrush->lbHatch), pLogBrush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(pLogBrush->lbHatch));
    case BS_NULL: {
        auto pBrush = std::make_shared<TbBrush>();
        pBrush->uStyle = BS_NULL;
        return static_cast<HBRUSH>(TbGdiAdd(std::move(pBrush), OBJ_BRUSH));
    }
    }
    return nullptr;
}

HFONT CreateFontIndirectA(const LOGFONTA* pLogFont)
{
    if (!pLogFont)
        return nullptr;
    auto pFont = std::make_shared<TbFont>();
    pFont->lf = *pLogFont;
    pFont->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(TbGdiAdd(std::move(pFont), OBJ_FONT));
}

HFONT CreateFontA(int nHeight, int nWidth, int nEscapement, int nOrientation, int fnWeight, DWORD fdwItalic,
                  DWORD fdwUnderline, DWORD fdwStrikeOut, DWORD fdwCharSet, DWORD fdwOutputPrecision,
                  DWORD fdwClipPrecision, DWORD fdwQuality, DWORD fdwPitchAndFamily, LPCSTR pszFace)
{
    LOGFONTA lf = {nHeight, nWidth, nEscapement, nOrientation, fnWeight, static_cast<BYTE>(fdwItalic),
                   static_cast<BYTE>(fdwUnderline), static_cast<BYTE>(fdwStrikeOut), static_cast<BYTE>(fdwCharSet),
                   static_cast<BYTE>(fdwOutputPrecision), static_cast<BYTE>(fdwClipPrecision),
                   static_cast<BYTE>(fdwQuality), static_cast<BYTE>(fdwPitchAndFamily), {}};
    if (pszFace)
        snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", pszFace);
    return CreateFontIndirectA(&lf);
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT cPlanes, UINT cBitsPerPel, const void* pvBits)
{
    if (nWidth < 0 || nHeight < 0 || nWidth > 32767 || nHeight > 32767 || cPlanes != 1 ||
        (cBitsPerPel != 1 && cBitsPerPel != 24 && cBitsPerPel != 32))
        return nullptr;
    if (nWidth == 0 || nHeight == 0) {
        nWidth = nHeight = 1;           // as on the original: an empty bitmap is a 1x1 monochrome one
        cBitsPerPel = 1;
        pvBits = nullptr;
    }
    auto pBitmap = std::make_shared<TbBitmap>();
    BOOL bMono = cBitsPerPel == 1;
    pBitmap->bits.Create(nWidth, nHeight, bMono, TB_PIXEL_BLACK);
    if (pvBits) {
        const BYTE* pSrc = static_cast<const BYTE*>(pvBits);
        size_t nStride = bMono ? ((static_cast<size_t>(nWidth) + 15) / 16) * 2
                       : cBitsPerPel == 24 ? ((static_cast<size_t>(nWidth) * 3 + 1) / 2) * 2
                                           : static_cast<size_t>(nWidth) * 4;
        for (int y = 0; y < nHeight; ++y) {
            const BYTE* pRow = pSrc + nStride * static_cast<size_t>(y);
            uint32_t* pDst = pBitmap->bits.Row(y);
            for (int x = 0; x < nWidth; ++x) {
                if (bMono) {
                    pDst[x] = (pRow[x / 8] & (0x80 >> (x % 8))) ? TB_PIXEL_WHITE : TB_PIXEL_BLACK;
                } else {
                    const BYTE* p = pRow + x * (cBitsPerPel / 8);
                    pDst[x] = 0xFF000000u | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
                }
            }
        }
    }
    return static_cast<HBITMAP>(TbGdiAdd(std::move(pBitmap), OBJ_BITMAP));
}

LONG GetBitmapBits(HBITMAP hBitmap, LONG cb, LPVOID pvBits)
{
    TbBitmap* pBitmap = TbGdiFindAs<TbBitmap>(hBitmap, OBJ_BITMAP);
    if (!pBitmap || cb <= 0 || !pvBits)
        return 0;
    const int cx = pBitmap->bits.Width();
    BYTE* pOut = static_cast<BYTE*>(pvBits);
    size_t nCopied = 0;
    for (int y = 0; y < pBitmap->bits.Height() && nCopied < static_cast<size_t>(cb); ++y) {
        const uint32_t* pRow = pBitmap->bits.Row(y);
        for (int x = 0; x < cx && nCopied + 4 <= static_cast<size_t>(cb); ++x) {
            const uint32_t px = pRow[x] & 0x00FFFFFFu;
            memcpy(pOut + nCopied, &px, 4);
            nCopied += 4;
        }
    }
    return static_cast<LONG>(nCopied);
}

HPALETTE CreatePalette(const LOGPALETTE* pLogPalette)
{
    if (!pLogPalette || pLogPalette->palNumEntries == 0)
        return nullptr;
    auto pPalette = std::make_shared<TbPalette>();
    pPalette->entries.assign(pLogPalette->palPalEntry, pLogPalette->palPalEntry + pLogPalette->palNumEntries);
    return static_cast<HPALETTE>(TbGdiAdd(std::move(pPalette), OBJ_PAL));
}

HPALETTE CreateHalftonePalette(HDC)
{
    LOGPALETTE lp = {0x300, 1, {{0, 0, 0, 0}}};
    return CreatePalette(&lp);
}

UINT RealizePalette(HDC)
{
    return 0;
}

BOOL UnrealizeObject(HGDIOBJ hObject)
{
    return TbGdiFind(hObject) != nullptr;
}

// ---- stock objects ----

HGDIOBJ GetStockObject(int nObject)
{
    static HGDIOBJ* s_stock = new HGDIOBJ[DC_PEN + 1]();
    if (nObject < 0 || nObject > DC_PEN || nObject == 9)
        return nullptr;
    HGDIOBJ& h = s_stock[nObject];
    if (TbGdiFind(h))
        return h;
    std::shared_ptr<TbGdiObject> pObject;
    int nType = OBJ_BRUSH;
    static const COLORREF s_brushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                             RGB(64, 64, 64), RGB(0, 0, 0)};
    if (nObject <= BLACK_BRUSH || nObject == NULL_BRUSH || nObject == DC_BRUSH) {
        auto pBrush = std::make_shared<TbBrush>();
        if (nObject == NULL_BRUSH)
            pBrush->uStyle = BS_NULL;
        else
            pBrush->cr = nObject == DC_BRUSH ? RGB(255, 255, 255) : s_brushColors[nObject];
        pObject = pBrush;
    } else if (nObject <= NULL_PEN || nObject == DC_PEN) {
        auto pPen = std::make_shared<TbPen>();
        pPen->uStyle = nObject == NULL_PEN ? PS_NULL : PS_SOLID;
        pPen->cr = nObject == WHITE_PEN ? RGB(255, 255, 255) : 0;
        pObject = pPen;
        nType = OBJ_PEN;
    } else if (nObject == DEFAULT_PALETTE) {
        auto pPalette = std::make_shared<TbPalette>();
        pPalette->entries.assign(20, PALETTEENTRY{0, 0, 0, 0});
        pObject = pPalette;
        nType = OBJ_PAL;
    } else {
        // Fonts: the variable faces as the dialog font, the fixed ones monospaced.
        auto pFont = std::make_shared<TbFont>();
        bool bFixed = nObject == OEM_FIXED_FONT || nObject == ANSI_FIXED_FONT || nObject == SYSTEM_FIXED_FONT;
        pFont->lf.lfHeight = -11;
        pFont->lf.lfWeight = nObject == SYSTEM_FONT ? FW_BOLD : FW_NORMAL;
        pFont->lf.lfCharSet = DEFAULT_CHARSET;
        pFont->lf.lfPitchAndFamily = bFixed ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS);
        snprintf(pFont->lf.lfFaceName, LF_FACESIZE, "%s", bFixed ? "Courier New" : "MS Sans Serif");
        pObject = pFont;
        nType = OBJ_FONT;
    }
    pObject->bStock = TRUE;
    h = TbGdiAdd(std::move(pObject), nType);
    return h;
}

BOOL DeleteObject(HGDIOBJ hObject)
{
    TbGdiObject* pObject = TbGdiFind(hObject);
    if (!pObject)
        return FALSE;
    if (pObject->bStock)
        return TRUE;
    // A DC that still holds the object keeps it alive; the handle is dead from here on.
    Objects().Remove(reinterpret_cast<uintptr_t>(hObject));
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ hObject)
{
    if (TbFindDC(static_cast<HDC>(hObject))) {
        TbDC* pDC = TbFindDC(static_cast<HDC>(hObject));
        return pDC->nKind == TB_DC_MEMORY ? OBJ_MEMDC : OBJ_DC;
    }
    TbGdiObject* pObject = TbGdiFind(hObject);
    return (pObject && pObject->nType != TB_OBJ_ICON) ? static_cast<DWORD>(pObject->nType) : 0;
}

int GetObjectA(HGDIOBJ hObject, int cbBuffer, LPVOID pvObject)
{
    TbGdiObject* pObject = TbGdiFind(hObject);
    if (!pObject || cbBuffer < 0)
        return 0;
    auto give = [&](const void* pData, size_t cb) {
        if (!pvObject)
            return static_cast<int>(cb);
        size_t n = std::min(cb, static_cast<size_t>(cbBuffer));
        memcpy(pvObject, pData, n);
        return static_cast<int>(n);
    };
    switch (pObject->nType) {
    case OBJ_PEN: {
        const TbPen* p = static_cast<const TbPen*>(pObject);
        LOGPEN lp = {p->uStyle, {p->nWidth, 0}, p->cr};
        return give(&lp, sizeof lp);
    }
    case OBJ_BRUSH: {
        const TbBrush* p = static_cast<const TbBrush*>(pObject);
        LOGBRUSH lb = {p->uStyle, p->cr, static_cast<ULONG_PTR>(p->nHatch)};
        return give(&lb, sizeof lb);
    }
    case OBJ_FONT:
        return give(&static_cast<const TbFont*>(pObject)->lf, sizeof(LOGFONTA));
    case OBJ_BITMAP: {
        const CTbPixelBuffer& bits = static_cast<const TbBitmap*>(pObject)->bits;
        BOOL bMono = bits.IsMono();
        BITMAP bm = {0, bits.Width(), bits.Height(), bMono ? ((bits.Width() + 15) / 16) * 2 : bits.Width() * 4, 1,
                     static_cast<WORD>(bMono ? 1 : 32), nullptr};
        return give(&bm, sizeof bm);
    }
    case OBJ_PAL: {
        WORD nEntries = static_cast<WORD>(static_cast<const TbPalette*>(pObject)->entries.size());
        return give(&nEntries, sizeof nEntries);
    }
    }
    return 0;
}

// ---- regions ----

static HRGN NewRegion(const CTbRegion& rgn)
{
    auto pRgn = std::make_shared<TbRgn>();
    pRgn->rgn = rgn;
    return static_cast<HRGN>(TbGdiAdd(std::move(pRgn), OBJ_REGION));
}

HRGN CreateRectRgn(int nLeft, int nTop, int nRight, int nBottom)
{
    RECT rc = {std::min(nLeft, nRight), std::min(nTop, nBottom), std::max(nLeft, nRight), std::max(nTop, nBottom)};
    return NewRegion(CTbRegion(rc));
}

HRGN CreateRectRgnIndirect(const RECT* pRect)
{
    return pRect ? CreateRectRgn(pRect->left, pRect->top, pRect->right, pRect->bottom) : nullptr;
}

const CTbRegion* TbGetRegion(HRGN hRgn)
{
    TbRgn* p = TbGdiFindAs<TbRgn>(hRgn, OBJ_REGION);
    return p ? &p->rgn : nullptr;
}

void TbSetRegion(HRGN hRgn, const CTbRegion& rgn)
{
    if (TbRgn* p = TbGdiFindAs<TbRgn>(hRgn, OBJ_REGION))
        p->rgn = rgn;
}

BOOL SetRectRgn(HRGN hRgn, int nLeft, int nTop, int nRight, int nBottom)
{
    TbRgn* p = TbGdiFindAs<TbRgn>(hRgn, OBJ_REGION);
    if (!p)
        return FALSE;
    p->rgn.SetRect(RECT{std::min(nLeft, nRight), std::min(nTop, nBottom), std::max(nLeft, nRight), std::max(nTop, nBottom)});
    return TRUE;
}

int CombineRgn(HRGN hDest, HRGN hSrc1, HRGN hSrc2, int nMode)
{
    TbRgn* pDest = TbGdiFindAs<TbRgn>(hDest, OBJ_REGION);
    const CTbRegion* p1 = TbGetRegion(hSrc1);
    const CTbRegion* p2 = nMode == RGN_COPY ? p1 : TbGetRegion(hSrc2);
    if (!pDest || !p1 || !p2)
        return ERROR;
    CTbRegion rgn = *p1;
    switch (nMode) {
    case RGN_AND:  rgn.Intersect(*p2); break;
    case RGN_OR:   rgn.Union(*p2); break;
    case RGN_XOR:  rgn.Xor(*p2); break;
    case RGN_DIFF: rgn.Subtract(*p2); break;
    case RGN_COPY: break;
    default: return ERROR;
    }
    pDest->rgn = rgn;
    return rgn.GetType();
}

int OffsetRgn(HRGN hRgn, int dx, int dy)
{
    TbRgn* p = TbGdiFindAs<TbRgn>(hRgn, OBJ_REGION);
    if (!p)
        return ERROR;
    p->rgn.Offset(dx, dy);
    return p->rgn.GetType();
}

int GetRgnBox(HRGN hRgn, LPRECT pRect)
{
    const CTbRegion* p = TbGetRegion(hRgn);
    if (!p || !pRect)
        return ERROR;
    *pRect = p->GetBox();
    return p->GetType();
}

BOOL PtInRegion(HRGN hRgn, int x, int y)
{
    const CTbRegion* p = TbGetRegion(hRgn);
    return p && p->Contains(x, y);
}

BOOL RectInRegion(HRGN hRgn, const RECT* pRect)
{
    const CTbRegion* p = TbGetRegion(hRgn);
    return p && pRect && p->Intersects(*pRect);
}

BOOL EqualRgn(HRGN hRgn1, HRGN hRgn2)
{
    const CTbRegion* p1 = TbGetRegion(hRgn1);
    const CTbRegion* p2 = TbGetRegion(hRgn2);
    return p1 && p2 && p1->Equals(*p2);
}
