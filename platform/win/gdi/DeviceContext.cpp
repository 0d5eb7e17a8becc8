// Device contexts: the table, their state, coordinates and clipping.
#include <algorithm>
#include <cmath>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/user/HandleTable.h"
#include "platform/win/user/WindowRecord.h"

static CTbHandleTable<TbDC>& DCs()
{
    static CTbHandleTable<TbDC>* s_pTable = new CTbHandleTable<TbDC>;
    return *s_pTable;
}

TbDC* TbFindDC(HDC hdc)
{
    return DCs().Find(reinterpret_cast<uintptr_t>(hdc));
}

static std::shared_ptr<TbBitmap> DefaultBitmap()
{
    static std::shared_ptr<TbBitmap>* s_pBitmap = nullptr;
    if (!s_pBitmap) {
        // A stock object with a handle, so that selecting the DC's first bitmap back works.
        auto pBitmap = std::make_shared<TbBitmap>();
        pBitmap->bits.Create(1, 1, TRUE, TB_PIXEL_BLACK);
        pBitmap->bStock = TRUE;
        TbGdiAdd(pBitmap, OBJ_BITMAP);
        s_pBitmap = new std::shared_ptr<TbBitmap>(pBitmap);
    }
    return *s_pBitmap;
}

template <class T> static std::shared_ptr<T> Stock(int nObject)
{
    return std::static_pointer_cast<T>(TbGdiFindShared(GetStockObject(nObject)));
}

static HDC NewDC(int nKind, HWND hWnd)
{
    auto pDC = std::make_shared<TbDC>();
    pDC->nKind = nKind;
    pDC->hWnd = hWnd;
    pDC->st.pPen = Stock<TbPen>(BLACK_PEN);
    pDC->st.pBrush = Stock<TbBrush>(WHITE_BRUSH);
    pDC->st.pFont = Stock<TbFont>(SYSTEM_FONT);
    if (nKind == TB_DC_MEMORY)
        pDC->st.pBitmap = DefaultBitmap();
    return reinterpret_cast<HDC>(DCs().Add(std::move(pDC)));
}

CTbPixelBuffer* TbDC::Target()
{
    switch (nKind) {
    case TB_DC_MEMORY:
        return st.pBitmap ? &st.pBitmap->bits : nullptr;
    case TB_DC_WINDOW: {
        TbWindow* pWnd = TbFindWindow(hWnd);
        return pWnd ? TbWindowImage(pWnd) : nullptr;
    }
    }
    // The screen DC measures; what is drawn on it goes nowhere visible.
    static CTbPixelBuffer* s_pScreen = nullptr;
    if (!s_pScreen) {
        s_pScreen = new CTbPixelBuffer;
        s_pScreen->Create(1, 1, FALSE, TB_PIXEL_WHITE);
    }
    return s_pScreen;
}

const std::vector<RECT>& TbDC::Clip()
{
    CTbPixelBuffer* pTarget = Target();
    RECT rcTarget = {0, 0, pTarget ? pTarget->Width() : 0, pTarget ? pTarget->Height() : 0};
    // A window's image holds its scroll bars beside the client area, which client drawing leaves alone.
    if (nKind == TB_DC_WINDOW && !bWholeImage)
        if (const TbWindow* pWnd = TbFindWindow(hWnd)) {
            rcTarget.right = std::min<LONG>(rcTarget.right, TbClientWidth(pWnd));
            rcTarget.bottom = std::min<LONG>(rcTarget.bottom, TbClientHeight(pWnd));
        }
    // A window's image changes size with the window, so the clip follows the target's size.
    if (!m_bClipValid || pTarget != m_pLastTarget || rcTarget.right != m_cxLast || rcTarget.bottom != m_cyLast) {
        m_rgnEffective.SetRect(rcTarget);
        if (bSystemClip)
            m_rgnEffective.Intersect(rgnSystem);
        if (st.bHasClip)
            m_rgnEffective.Intersect(st.rgnClip);
        m_pLastTarget = pTarget;
        m_cxLast = rcTarget.right;
        m_cyLast = rcTarget.bottom;
        m_bClipValid = TRUE;
    }
    return m_rgnEffective.Rects();
}

void TbDC::Touch(const RECT& rc)
{
    rcDirty = TbUnion(rcDirty, rc);
}

BOOL TbDC::IsIdentity() const
{
    return st.szWindowExt.cx == st.szViewportExt.cx && st.szWindowExt.cy == st.szViewportExt.cy;
}

static LONG MapAxis(int v, LONG nWindowOrg, LONG nWindowExt, LONG nViewportOrg, LONG nViewportExt)
{
    if (nWindowExt == nViewportExt)
        return v - nWindowOrg + nViewportOrg;
    double d = static_cast<double>(v - nWindowOrg) * nViewportExt / (nWindowExt ? nWindowExt : 1);
    return static_cast<LONG>(std::lround(d)) + nViewportOrg;
}

POINT TbDC::ToDevice(int x, int y) const
{
    return POINT{MapAxis(x, st.ptWindowOrg.x, st.szWindowExt.cx, st.ptViewportOrg.x, st.szViewportExt.cx),
                 MapAxis(y, st.ptWindowOrg.y, st.szWindowExt.cy, st.ptViewportOrg.y, st.szViewportExt.cy)};
}

RECT TbDC::ToDevice(const RECT& rc) const
{
    POINT a = ToDevice(rc.left, rc.top), b = ToDevice(rc.right, rc.bottom);
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int TbDC::ScaleX(int cx) const
{
    if (st.szWindowExt.cx == st.szViewportExt.cx)
        return cx;
    return static_cast<int>(std::lround(std::fabs(static_cast<double>(cx) * st.szViewportExt.cx / st.szWindowExt.cx)));
}

int TbDC::ScaleY(int cy) const
{
    if (st.szWindowExt.cy == st.szViewportExt.cy)
        return cy;
    return static_cast<int>(std::lround(std::fabs(static_cast<double>(cy) * st.szViewportExt.cy / st.szWindowExt.cy)));
}

HDC TbCreateWindowDC(HWND hWnd, const CTbRegion* pClip)
{
    HDC hdc = NewDC(TB_DC_WINDOW, hWnd);
    if (TbDC* pDC = TbFindDC(hdc)) {
        if (pClip) {
            pDC->bSystemClip = TRUE;
            pDC->rgnSystem = *pClip;
        }
        if (TbWindow* pWnd = TbFindWindow(hWnd))
            if (pWnd->pClass->hbrBackground)
                pDC->st.crBk = RGB(255, 255, 255);
    }
    return hdc;
}

RECT TbFreeWindowDC(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    RECT rc = pDC ? pDC->rcDirty : RECT{0, 0, 0, 0};
    if (pDC && pDC->st.pBitmap)
        pDC->st.pBitmap->hdcSelected = nullptr;
    DCs().Remove(reinterpret_cast<uintptr_t>(hdc));
    return rc;
}

HDC TbScreenDC()
{
    static HDC s_hdc = nullptr;
    if (!TbFindDC(s_hdc))
        s_hdc = NewDC(TB_DC_SCREEN, nullptr);
    return s_hdc;
}

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc && !TbFindDC(hdc))
        return nullptr;
    return NewDC(TB_DC_MEMORY, nullptr);
}

BOOL DeleteDC(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || pDC->nKind == TB_DC_SCREEN)
        return pDC != nullptr;
    if (pDC->nKind == TB_DC_WINDOW)
        return FALSE;       // window DCs go back through ReleaseDC
    if (pDC->st.pBitmap)
        pDC->st.pBitmap->hdcSelected = nullptr;
    DCs().Remove(reinterpret_cast<uintptr_t>(hdc));
    return TRUE;
}

int SaveDC(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return 0;
    pDC->saved.push_back(pDC->st);
    return static_cast<int>(pDC->saved.size());
}

BOOL RestoreDC(HDC hdc, int nSavedDC)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return FALSE;
    int nDepth = static_cast<int>(pDC->saved.size());
    int nLevel = nSavedDC < 0 ? nDepth + nSavedDC + 1 : nSavedDC;
    if (nLevel < 1 || nLevel > nDepth)
        return FALSE;
    std::shared_ptr<TbBitmap> pOldBitmap = pDC->st.pBitmap;
    pDC->st = pDC->saved[static_cast<size_t>(nLevel - 1)];
    pDC->saved.resize(static_cast<size_t>(nLevel - 1));
    if (pOldBitmap != pDC->st.pBitmap) {
        if (pOldBitmap)
            pOldBitmap->hdcSelected = nullptr;
        if (pDC->st.pBitmap && !pDC->st.pBitmap->bStock)
            pDC->st.pBitmap->hdcSelected = hdc;
    }
    pDC->InvalidateClip();
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int nIndex)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return 0;
    CTbPixelBuffer* pTarget = pDC->Target();
    SIZE screen = {1024, 768};
    TbGetDisplay()->GetScreenSize(&screen);
    switch (nIndex) {
    case HORZRES:     return pDC->nKind == TB_DC_SCREEN ? screen.cx : (pTarget ? pTarget->Width() : 0);
    case VERTRES:     return pDC->nKind == TB_DC_SCREEN ? screen.cy : (pTarget ? pTarget->Height() : 0);
    case HORZSIZE:    return GetDeviceCaps(hdc, HORZRES) * 254 / 960;
    case VERTSIZE:    return GetDeviceCaps(hdc, VERTRES) * 254 / 960;
    case BITSPIXEL:   return (pTarget && pTarget->IsMono()) ? 1 : 32;
    case PLANES:      return 1;
    case NUMCOLORS:   return -1;
    case RASTERCAPS:  return RC_BITBLT | RC_STRETCHBLT;      // true colour: no palette
    case LOGPIXELSX:
    case LOGPIXELSY:  return 96;
    case SIZEPALETTE: return 0;
    }
    return 0;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ hObject)
{
    TbDC* pDC = TbFindDC(hdc);
    std::shared_ptr<TbGdiObject> pObject = TbGdiFindShared(hObject);
    if (!pDC || !pObject)
        return nullptr;
    HGDIOBJ hOld = nullptr;
    switch (pObject->nType) {
    case OBJ_PEN:
        hOld = reinterpret_cast<HGDIOBJ>(pDC->st.pPen->hHandle);
        pDC->st.pPen = std::static_pointer_cast<TbPen>(pObject);
        break;
    case OBJ_BRUSH:
        hOld = reinterpret_cast<HGDIOBJ>(pDC->st.pBrush->hHandle);
        pDC->st.pBrush = std::static_pointer_cast<TbBrush>(pObject);
        break;
    case OBJ_FONT:
        hOld = reinterpret_cast<HGDIOBJ>(pDC->st.pFont->hHandle);
        pDC->st.pFont = std::static_pointer_cast<TbFont>(pObject);
        break;
    case OBJ_BITMAP: {
        auto pBitmap = std::static_pointer_cast<TbBitmap>(pObject);
        if (pDC->nKind != TB_DC_MEMORY)
            return nullptr;
        // One memory DC at a time may hold a bitmap, as on the original.
        if (!pBitmap->bStock && pBitmap->hdcSelected && pBitmap->hdcSelected != hdc && TbFindDC(pBitmap->hdcSelected))
            return nullptr;
        hOld = reinterpret_cast<HGDIOBJ>(pDC->st.pBitmap->hHandle);
        if (pDC->st.pBitmap != pBitmap)
            pDC->st.pBitmap->hdcSelected = nullptr;
        pDC->st.pBitmap = pBitmap;
        if (!pBitmap->bStock)
            pBitmap->hdcSelected = hdc;
        pDC->InvalidateClip();
        break;
    }
    case OBJ_REGION:
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(hObject))));
    default:
        return nullptr;
    }
    return hOld;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT uObjectType)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return nullptr;
    switch (uObjectType) {
    case OBJ_PEN:    return reinterpret_cast<HGDIOBJ>(pDC->st.pPen->hHandle);
    case OBJ_BRUSH:  return reinterpret_cast<HGDIOBJ>(pDC->st.pBrush->hHandle);
    case OBJ_FONT:   return reinterpret_cast<HGDIOBJ>(pDC->st.pFont->hHandle);
    case OBJ_BITMAP: return pDC->st.pBitmap ? reinterpret_cast<HGDIOBJ>(pDC->st.pBitmap->hHandle) : nullptr;
    case OBJ_PAL:    return pDC->st.hPalette ? pDC->st.hPalette : GetStockObject(DEFAULT_PALETTE);
    }
    return nullptr;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !TbGdiFindAs<TbPalette>(hPal, OBJ_PAL))
        return nullptr;
    HPALETTE hOld = pDC->st.hPalette ? pDC->st.hPalette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    pDC->st.hPalette = hPal;
    return hOld;
}

// ---- attributes ----

#define TB_DC_SETTER(Name, Type, Field, Bad)                 \
    Type Set##Name(HDC hdc, Type value)                       \
    {                                                         \
        TbDC* pDC = TbFindDC(hdc);                            \
        if (!pDC)                                             \
            return Bad;                                       \
        Type old = pDC->st.Field;                             \
        pDC->st.Field = value;                                \
        return old;                                           \
    }                                                         \
    Type Get##Name(HDC hdc)                                   \
    {                                                         \
        TbDC* pDC = TbFindDC(hdc);                            \
        return pDC ? pDC->st.Field : Bad;                     \
    }

TB_DC_SETTER(BkColor, COLORREF, crBk, CLR_INVALID)
TB_DC_SETTER(TextColor, COLORREF, crText, CLR_INVALID)
TB_DC_SETTER(TextAlign, UINT, uTextAlign, 0)
#undef TB_DC_SETTER

int SetBkMode(HDC hdc, int nMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || (nMode != TRANSPARENT && nMode != OPAQUE))
        return 0;
    int nOld = pDC->st.nBkMode;
    pDC->st.nBkMode = nMode;
    return nOld;
}

int GetBkMode(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    return pDC ? pDC->st.nBkMode : 0;
}

int SetROP2(HDC hdc, int nDrawMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || nDrawMode < R2_BLACK || nDrawMode > R2_WHITE)
        return 0;
    int nOld = pDC->st.nRop2;
    pDC->st.nRop2 = nDrawMode;
    return nOld;
}

int GetROP2(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    return pDC ? pDC->st.nRop2 : 0;
}

int SetPolyFillMode(HDC hdc, int nMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || (nMode != ALTERNATE && nMode != WINDING))
        return 0;
    int nOld = pDC->st.nPolyFillMode;
    pDC->st.nPolyFillMode = nMode;
    return nOld;
}

int SetStretchBltMode(HDC hdc, int nMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || nMode < BLACKONWHITE || nMode > HALFTONE)
        return 0;
    int nOld = pDC->st.nStretchMode;
    pDC->st.nStretchMode = nMode;
    return nOld;
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT pOld)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return FALSE;
    if (pOld)
        *pOld = pDC->st.ptBrushOrg;
    pDC->st.ptBrushOrg = POINT{x, y};
    return TRUE;
}

// ---- coordinates ----

int SetMapMode(HDC hdc, int nMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || nMode < MM_TEXT || nMode > MM_ANISOTROPIC)
        return 0;
    int nOld = pDC->st.nMapMode;
    pDC->st.nMapMode = nMode;
    // Fixed modes: logical units per inch against 96 device pixels, y growing upwards.
    static const LONG s_units[] = {1, 1, 254, 2540, 100, 1000, 1440};
    if (nMode == MM_TEXT) {
        pDC->st.szWindowExt = SIZE{1, 1};
        pDC->st.szViewportExt = SIZE{1, 1};
    } else if (nMode < MM_ISOTROPIC) {
        pDC->st.szWindowExt = SIZE{s_units[nMode], s_units[nMode]};
        pDC->st.szViewportExt = SIZE{96, -96};
    }
    return nOld;
}

int GetMapMode(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    return pDC ? pDC->st.nMapMode : 0;
}

static BOOL SetPoint(HDC hdc, POINT TbDcState::*pField, int x, int y, LPPOINT pOld, BOOL bOffset)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return FALSE;
    POINT& pt = pDC->st.*pField;
    if (pOld)
        *pOld = pt;
    pt = bOffset ? POINT{pt.x + x, pt.y + y} : POINT{x, y};
    return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT pOld) { return SetPoint(hdc, &TbDcState::ptWindowOrg, x, y, pOld, FALSE); }
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT pOld) { return SetPoint(hdc, &TbDcState::ptWindowOrg, dx, dy, pOld, TRUE); }
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT pOld) { return SetPoint(hdc, &TbDcState::ptViewportOrg, x, y, pOld, FALSE); }
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT pOld) { return SetPoint(hdc, &TbDcState::ptViewportOrg, dx, dy, pOld, TRUE); }

// Reads one field of a DC's state; FALSE for an unknown DC or no place to put it.
template <class T>
static BOOL GetStateField(HDC hdc, T TbDcState::*pField, T* pOut)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pOut)
        return FALSE;
    *pOut = pDC->st.*pField;
    return TRUE;
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT pPoint) { return GetStateField(hdc, &TbDcState::ptWindowOrg, pPoint); }

BOOL GetViewportOrgEx(HDC hdc, LPPOINT pPoint) { return GetStateField(hdc, &TbDcState::ptViewportOrg, pPoint); }

static void MakeIsotropic(TbDcState& st)
{
    // Equal units on both axes: the viewport shrinks on the axis that would stretch more.
    double sx = std::fabs(static_cast<double>(st.szViewportExt.cx) / st.szWindowExt.cx);
    double sy = std::fabs(static_cast<double>(st.szViewportExt.cy) / st.szWindowExt.cy);
    if (sx > sy)
        st.szViewportExt.cx = static_cast<LONG>(std::lround(st.szViewportExt.cx * sy / sx));
    else if (sy > sx)
        st.szViewportExt.cy = static_cast<LONG>(std::lround(st.szViewportExt.cy * sx / sy));
}

BOOL SetWindowExtEx(HDC hdc, int cx, int cy, LPSIZE pOld)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || cx == 0 || cy == 0)
        return FALSE;
    if (pOld)
        *pOld = pDC->st.szWindowExt;
    if (pDC->st.nMapMode != MM_ISOTROPIC && pDC->st.nMapMode != MM_ANISOTROPIC)
        return TRUE;
    pDC->st.szWindowExt = SIZE{cx, cy};
    if (pDC->st.nMapMode == MM_ISOTROPIC)
        MakeIsotropic(pDC->st);
    return TRUE;
}

BOOL SetViewportExtEx(HDC hdc, int cx, int cy, LPSIZE pOld)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || cx == 0 || cy == 0)
        return FALSE;
    if (pOld)
        *pOld = pDC->st.szViewportExt;
    if (pDC->st.nMapMode != MM_ISOTROPIC && pDC->st.nMapMode != MM_ANISOTROPIC)
        return TRUE;
    pDC->st.szViewportExt = SIZE{cx, cy};
    if (pDC->st.nMapMode == MM_ISOTROPIC)
        MakeIsotropic(pDC->st);
    return TRUE;
}

BOOL GetWindowExtEx(HDC hdc, LPSIZE pSize) { return GetStateField(hdc, &TbDcState::szWindowExt, pSize); }

BOOL GetViewportExtEx(HDC hdc, LPSIZE pSize) { return GetStateField(hdc, &TbDcState::szViewportExt, pSize); }

BOOL LPtoDP(HDC hdc, LPPOINT pPoints, int nCount)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || (!pPoints && nCount > 0))
        return FALSE;
    for (int i = 0; i < nCount; ++i)
        pPoints[i] = pDC->ToDevice(pPoints[i].x, pPoints[i].y);
    return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT pPoints, int nCount)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || (!pPoints && nCount > 0))
        return FALSE;
    const TbDcState& st = pDC->st;
    for (int i = 0; i < nCount; ++i) {
        double x = static_cast<double>(pPoints[i].x - st.ptViewportOrg.x) * st.szWindowExt.cx / st.szViewportExt.cx;
        double y = static_cast<double>(pPoints[i].y - st.ptViewportOrg.y) * st.szWindowExt.cy / st.szViewportExt.cy;
        pPoints[i] = POINT{static_cast<LONG>(std::lround(x)) + st.ptWindowOrg.x,
                           static_cast<LONG>(std::lround(y)) + st.ptWindowOrg.y};
    }
    return TRUE;
}

// ---- clipping ----

static int ClipType(TbDC* pDC)
{
    pDC->InvalidateClip();
    CTbRegion rgn;
    for (const RECT& rc : pDC->Clip())
        rgn.Union(rc);
    return rgn.GetType();
}

int SelectClipRgn(HDC hdc, HRGN hRgn)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return ERROR;
    if (!hRgn) {
        pDC->st.bHasClip = FALSE;
        pDC->st.rgnClip.SetEmpty();
        return ClipType(pDC);
    }
    const CTbRegion* pRgn = TbGetRegion(hRgn);
    if (!pRgn)
        return ERROR;
    pDC->st.bHasClip = TRUE;
    pDC->st.rgnClip = *pRgn;
    return ClipType(pDC);
}

static CTbRegion CurrentClip(TbDC* pDC)
{
    if (pDC->st.bHasClip)
        return pDC->st.rgnClip;
    return CTbRegion(RECT{-32768, -32768, 32767, 32767});
}

int IntersectClipRect(HDC hdc, int nLeft, int nTop, int nRight, int nBottom)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return ERROR;
    CTbRegion rgn = CurrentClip(pDC);
    rgn.Intersect(pDC->ToDevice(RECT{nLeft, nTop, nRight, nBottom}));
    pDC->st.rgnClip = rgn;
    pDC->st.bHasClip = TRUE;
    return ClipType(pDC);
}

int ExcludeClipRect(HDC hdc, int nLeft, int nTop, int nRight, int nBottom)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return ERROR;
    CTbRegion rgn = CurrentClip(pDC);
    rgn.Subtract(pDC->ToDevice(RECT{nLeft, nTop, nRight, nBottom}));
    pDC->st.rgnClip = rgn;
    pDC->st.bHasClip = TRUE;
    return ClipType(pDC);
}

int GetClipBox(HDC hdc, LPRECT pRect)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pRect)
        return ERROR;
    CTbRegion rgn;
    for (const RECT& rc : pDC->Clip())
        rgn.Union(rc);
    RECT rcBox = rgn.GetBox();
    POINT pts[2] = {{rcBox.left, rcBox.top}, {rcBox.right, rcBox.bottom}};
    DPtoLP(hdc, pts, 2);
    *pRect = RECT{std::min(pts[0].x, pts[1].x), std::min(pts[0].y, pts[1].y), std::max(pts[0].x, pts[1].x),
                  std::max(pts[0].y, pts[1].y)};
    return rgn.GetType();
}

int GetClipRgn(HDC hdc, HRGN hRgn)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !TbGetRegion(hRgn))
        return -1;
    if (!pDC->st.bHasClip)
        return 0;
    TbSetRegion(hRgn, pDC->st.rgnClip);
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC)
        return FALSE;
    POINT pt = pDC->ToDevice(x, y);
    for (const RECT& rc : pDC->Clip())
        if (pt.x >= rc.left && pt.x < rc.right && pt.y >= rc.top && pt.y < rc.bottom)
            return TRUE;
    return FALSE;
}

BOOL RectVisible(HDC hdc, const RECT* pRect)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pRect)
        return FALSE;
    RECT rc = pDC->ToDevice(*pRect);
    for (const RECT& rcClip : pDC->Clip())
        if (!TbRectEmpty(TbIntersect(rc, rcClip)))
            return TRUE;
    return FALSE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int nWidth, int nHeight)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || nWidth < 0 || nHeight < 0)
        return nullptr;
    // As on the original: compatible with the bitmap the DC holds, so a fresh memory DC gives a
    // monochrome one; a window or screen DC gives colour.
    CTbPixelBuffer* pTarget = pDC->Target();
    BOOL bMono = pDC->nKind == TB_DC_MEMORY && pTarget && pTarget->IsMono();
    return CreateBitmap(nWidth, nHeight, 1, bMono ? 1 : 32, nullptr);
}
