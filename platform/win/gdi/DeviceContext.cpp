// Device contexts: the table, their state, coordinates and clipping.
#include <algorithm>
#include <cmath>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/user/HandleTable.h"
#include "platform/win/user/WindowRecord.h"

static CTbHandleTable<TbDC>& DCs()
{
    static CTbHandleTable<TbDC>* s_pTable = new CTbHandleTable<TbDC>(TB_HANDLE_DC);
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
    case TB_DC_PRINTER:
    case TB_DC_INFO:
        return nullptr;     // pages are vector drawings: see PrintPage()
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
    if (pPrinter)
        rcTarget = RECT{0, 0, pPrinter->Printable().cx, pPrinter->Printable().cy};
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

ITbPrintPage* TbDC::PrintPage()
{
    if (!pPrinter || !pPrinter->pPage)
        return nullptr;
    pPrinter->pPage->SetClip(&Clip());
    return pPrinter->pPage;
}

void TbDC::Touch(const RECT& rc)
{
    rcDirty = TbUnion(rcDirty, rc);
}

BOOL TbDC::IsIdentity() const
{
    return st.szWindowExt.cx == st.szViewportExt.cx && st.szWindowExt.cy == st.szViewportExt.cy;
}

BOOL TbDC::HasWorldTransform() const
{
    const XFORM& xf = st.xform;
    return xf.eM11 != 1 || xf.eM12 != 0 || xf.eM21 != 0 || xf.eM22 != 1 || xf.eDx != 0 || xf.eDy != 0;
}

BOOL TbDC::IsTurned() const
{
    return st.xform.eM12 != 0 || st.xform.eM21 != 0;
}

// Page to device on one axis, unrounded, so that a world transform and the mapping round once.
static double MapAxis(double v, LONG nWindowOrg, LONG nWindowExt, LONG nViewportOrg, LONG nViewportExt)
{
    if (nWindowExt == nViewportExt)
        return v - nWindowOrg + nViewportOrg;
    return (v - nWindowOrg) * nViewportExt / (nWindowExt ? nWindowExt : 1) + nViewportOrg;
}

static LONG Round(double d)
{
    return static_cast<LONG>(std::lround(d));
}

POINT TbDC::ToDevice(int x, int y) const
{
    double px = x, py = y;
    if (HasWorldTransform()) {
        const XFORM& xf = st.xform;
        px = x * static_cast<double>(xf.eM11) + y * static_cast<double>(xf.eM21) + xf.eDx;
        py = x * static_cast<double>(xf.eM12) + y * static_cast<double>(xf.eM22) + xf.eDy;
    }
    return POINT{Round(MapAxis(px, st.ptWindowOrg.x, st.szWindowExt.cx, st.ptViewportOrg.x, st.szViewportExt.cx)),
                 Round(MapAxis(py, st.ptWindowOrg.y, st.szWindowExt.cy, st.ptViewportOrg.y, st.szViewportExt.cy))};
}

void TbDC::ToDeviceCorners(const RECT& rc, POINT pts[4]) const
{
    pts[0] = ToDevice(rc.left, rc.top);
    pts[1] = ToDevice(rc.right, rc.top);
    pts[2] = ToDevice(rc.right, rc.bottom);
    pts[3] = ToDevice(rc.left, rc.bottom);
}

RECT TbDC::ToDevice(const RECT& rc) const
{
    POINT pts[4];
    ToDeviceCorners(rc, pts);
    RECT box = {pts[0].x, pts[0].y, pts[0].x, pts[0].y};
    for (const POINT& pt : pts) {
        box.left = std::min(box.left, pt.x);
        box.top = std::min(box.top, pt.y);
        box.right = std::max(box.right, pt.x);
        box.bottom = std::max(box.bottom, pt.y);
    }
    return box;
}

POINT TbDC::ToLogical(POINT ptDevice) const
{
    double px = static_cast<double>(ptDevice.x - st.ptViewportOrg.x) * st.szWindowExt.cx / st.szViewportExt.cx + st.ptWindowOrg.x;
    double py = static_cast<double>(ptDevice.y - st.ptViewportOrg.y) * st.szWindowExt.cy / st.szViewportExt.cy + st.ptWindowOrg.y;
    if (HasWorldTransform()) {
        // The transform is kept invertible (SetWorldTransform refuses the rest), so det is not 0.
        const XFORM& xf = st.xform;
        double a = xf.eM11, b = xf.eM12, c = xf.eM21, d = xf.eM22;
        double det = a * d - b * c;
        double dx = px - xf.eDx, dy = py - xf.eDy;
        px = (d * dx - c * dy) / det;
        py = (a * dy - b * dx) / det;
    }
    return POINT{Round(px), Round(py)};
}

// A logical length's device length: the world transform stretches a unit along x by the length
// of (eM11, eM12), along y by that of (eM21, eM22); the extents stretch on top of that.
static double AxisFactor(double dWorld, LONG nWindowExt, LONG nViewportExt)
{
    return std::fabs(dWorld * nViewportExt / nWindowExt);
}

int TbDC::ScaleX(int cx) const
{
    if (st.szWindowExt.cx == st.szViewportExt.cx && !HasWorldTransform())
        return cx;
    double f = AxisFactor(std::hypot(st.xform.eM11, st.xform.eM12), st.szWindowExt.cx, st.szViewportExt.cx);
    return static_cast<int>(std::lround(std::fabs(cx * f)));
}

int TbDC::ScaleY(int cy) const
{
    if (st.szWindowExt.cy == st.szViewportExt.cy && !HasWorldTransform())
        return cy;
    double f = AxisFactor(std::hypot(st.xform.eM21, st.xform.eM22), st.szWindowExt.cy, st.szViewportExt.cy);
    return static_cast<int>(std::lround(std::fabs(cy * f)));
}

int TbDC::UnscaleX(int cx) const
{
    if (!HasWorldTransform())
        return st.szWindowExt.cx == st.szViewportExt.cx ? cx
             : static_cast<int>(std::abs(static_cast<int64_t>(cx) * st.szWindowExt.cx / st.szViewportExt.cx));
    double f = AxisFactor(std::hypot(st.xform.eM11, st.xform.eM12), st.szWindowExt.cx, st.szViewportExt.cx);
    return static_cast<int>(std::lround(std::fabs(cx / f)));
}

int TbDC::UnscaleY(int cy) const
{
    if (!HasWorldTransform())
        return st.szWindowExt.cy == st.szViewportExt.cy ? cy
             : static_cast<int>(std::abs(static_cast<int64_t>(cy) * st.szWindowExt.cy / st.szViewportExt.cy));
    double f = AxisFactor(std::hypot(st.xform.eM21, st.xform.eM22), st.szWindowExt.cy, st.szViewportExt.cy);
    return static_cast<int>(std::lround(std::fabs(cy / f)));
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
    TbGetTextEngine()->EndDrawing();
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

HDC TbCreatePrinterDC(int nKind, std::shared_ptr<TbPrinterState> pPrinter)
{
    HDC hdc = NewDC(nKind, nullptr);
    if (TbDC* pDC = TbFindDC(hdc))
        pDC->pPrinter = std::move(pPrinter);
    return hdc;
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
    // A document still open is dropped, as the original's spooler drops an unfinished job.
    if (pDC->pPrinter && pDC->pPrinter->pJob) {
        pDC->pPrinter->pPage = nullptr;
        pDC->pPrinter->pJob->Abort();
        pDC->pPrinter->pJob.reset();
    }
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
    if (pDC->pPrinter)
        return TbPrinterDeviceCaps(*pDC->pPrinter, nIndex);
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
    case TECHNOLOGY:  return DT_RASDISPLAY;
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
    for (int i = 0; i < nCount; ++i)
        pPoints[i] = pDC->ToLogical(pPoints[i]);
    return TRUE;
}

// ---- world transform ----

int SetGraphicsMode(HDC hdc, int nMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || (nMode != GM_COMPATIBLE && nMode != GM_ADVANCED))
        return 0;
    // The compatible mode has no world transform, so one still in place refuses the way back.
    if (nMode == GM_COMPATIBLE && pDC->HasWorldTransform())
        return 0;
    int nOld = pDC->st.nGraphicsMode;
    pDC->st.nGraphicsMode = nMode;
    return nOld;
}

int GetGraphicsMode(HDC hdc)
{
    TbDC* pDC = TbFindDC(hdc);
    return pDC ? pDC->st.nGraphicsMode : 0;
}

// A transform that folds the plane flat has no way back for DPtoLP, so it is refused.
static BOOL IsInvertible(const XFORM& xf)
{
    double det = static_cast<double>(xf.eM11) * xf.eM22 - static_cast<double>(xf.eM12) * xf.eM21;
    return std::isfinite(det) && det != 0 && std::isfinite(xf.eDx) && std::isfinite(xf.eDy);
}

BOOL SetWorldTransform(HDC hdc, const XFORM* pXform)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || !pXform || pDC->st.nGraphicsMode != GM_ADVANCED || !IsInvertible(*pXform))
        return FALSE;
    pDC->st.xform = *pXform;
    return TRUE;
}

BOOL GetWorldTransform(HDC hdc, LPXFORM pXform)
{
    return GetStateField(hdc, &TbDcState::xform, pXform);
}

// a then b: the row-vector product a * b, so a point goes through a first.
static XFORM Combine(const XFORM& a, const XFORM& b)
{
    return XFORM{a.eM11 * b.eM11 + a.eM12 * b.eM21,         a.eM11 * b.eM12 + a.eM12 * b.eM22,
                 a.eM21 * b.eM11 + a.eM22 * b.eM21,         a.eM21 * b.eM12 + a.eM22 * b.eM22,
                 a.eDx * b.eM11 + a.eDy * b.eM21 + b.eDx,   a.eDx * b.eM12 + a.eDy * b.eM22 + b.eDy};
}

BOOL ModifyWorldTransform(HDC hdc, const XFORM* pXform, DWORD dwMode)
{
    TbDC* pDC = TbFindDC(hdc);
    if (!pDC || pDC->st.nGraphicsMode != GM_ADVANCED)
        return FALSE;
    XFORM xf;
    switch (dwMode) {
    case MWT_IDENTITY:      xf = XFORM{1, 0, 0, 1, 0, 0}; break;
    case MWT_LEFTMULTIPLY:  if (!pXform) return FALSE; xf = Combine(*pXform, pDC->st.xform); break;
    case MWT_RIGHTMULTIPLY: if (!pXform) return FALSE; xf = Combine(pDC->st.xform, *pXform); break;
    default:                return FALSE;
    }
    if (!IsInvertible(xf))
        return FALSE;
    pDC->st.xform = xf;
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
