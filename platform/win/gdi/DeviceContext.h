#pragma once
// Inside the drawing layer: GDI object records, the object and DC tables and the DC state.
#include <algorithm>
#include <memory>
#include <vector>
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/gdi/Region.h"
#include "platform/win/spool/Printers.h"

struct TbGdiObject {
    virtual ~TbGdiObject() = default;
    int       nType = 0;            // OBJ_PEN, OBJ_BRUSH, ... or TB_OBJ_ICON
    uintptr_t hHandle = 0;
    BOOL      bStock = FALSE;
};
#define TB_OBJ_ICON 100

struct TbPen : TbGdiObject {
    UINT     uStyle = PS_SOLID;
    int      nWidth = 1;
    COLORREF cr = 0;
};
struct TbBrush : TbGdiObject {
    UINT     uStyle = BS_SOLID;
    COLORREF cr = 0;
    int      nHatch = 0;
    CTbPixelBuffer pattern;         // BS_PATTERN and BS_HATCHED (monochrome for hatches)
};
struct TbFont : TbGdiObject {
    LOGFONTA lf = {};
    std::shared_ptr<void> pFace;    // the text engine's font, made on first use
    LONG nFaceHeight = 0;           // the device height pFace was made for
};
struct TbBitmap : TbGdiObject {
    CTbPixelBuffer bits;
    CTbPixelBuffer mask;            // white where the image file was transparent; empty when opaque
    HDC hdcSelected = nullptr;      // a bitmap is in one memory DC at a time
};
struct TbRgn : TbGdiObject {
    CTbRegion rgn;
};
struct TbPalette : TbGdiObject {
    std::vector<PALETTEENTRY> entries;
};
// Icons and cursors: an image whose transparent pixels come from the mask, or a standard shape.
struct TbIcon : TbGdiObject {
    CTbPixelBuffer image;
    CTbPixelBuffer mask;            // white = transparent; empty = fully opaque
    POINT ptHotSpot = {0, 0};
    int   nStandard = 0;            // IDC_ / IDI_ number of a standard shape, 0 for an image
    BOOL  bCursor = FALSE;
};

HGDIOBJ TbGdiAdd(std::shared_ptr<TbGdiObject> pObject, int nType);
TbGdiObject* TbGdiFind(HGDIOBJ hObject);
std::shared_ptr<TbGdiObject> TbGdiFindShared(HGDIOBJ hObject);
template <class T> T* TbGdiFindAs(HGDIOBJ h, int nType)
{
    TbGdiObject* p = TbGdiFind(h);
    return (p && p->nType == nType) ? static_cast<T*>(p) : nullptr;
}
// A brush handle of COLOR_xxx + 1 stands for the system colour's brush.
TbBrush* TbResolveBrush(HBRUSH hBrush);
COLORREF TbBrushColor(HBRUSH hBrush);       // CLR_INVALID for a null or patterned brush

#define TB_DC_MEMORY 1
#define TB_DC_WINDOW 2
#define TB_DC_SCREEN 3
#define TB_DC_PRINTER 4         // CreateDC: draws into a document between StartPage and EndPage
#define TB_DC_INFO 5            // CreateIC: answers capabilities and measures, draws nowhere

// A printer DC's device and its document. Device units are the printer's dots, (0, 0) the top
// left of the printable area.
struct TbPrinterState {
    TBPRINTER printer;
    TBPAGEGEOMETRY page;
    std::unique_ptr<ITbPrintJob> pJob;      // between StartDoc and EndDoc or AbortDoc
    ITbPrintPage* pPage = nullptr;          // between StartPage and EndPage
    int nJobId = 0;
    SIZE Printable() const
    {
        return SIZE{std::max<LONG>(0, page.szPhysical.cx - 2 * page.ptOffset.x),
                    std::max<LONG>(0, page.szPhysical.cy - 2 * page.ptOffset.y)};
    }
};

struct TbDcState {
    std::shared_ptr<TbPen>    pPen;
    std::shared_ptr<TbBrush>  pBrush;
    std::shared_ptr<TbFont>   pFont;
    std::shared_ptr<TbBitmap> pBitmap;      // memory DCs
    HPALETTE hPalette = nullptr;
    COLORREF crText = 0;
    COLORREF crBk = 0xFFFFFF;
    int      nBkMode = OPAQUE;
    int      nRop2 = R2_COPYPEN;
    int      nPolyFillMode = ALTERNATE;
    int      nStretchMode = BLACKONWHITE;
    UINT     uTextAlign = 0;
    POINT    ptCurrent = {0, 0};
    POINT    ptBrushOrg = {0, 0};
    int      nMapMode = MM_TEXT;
    POINT    ptWindowOrg = {0, 0};
    POINT    ptViewportOrg = {0, 0};
    SIZE     szWindowExt = {1, 1};
    SIZE     szViewportExt = {1, 1};
    int      nGraphicsMode = GM_COMPATIBLE;
    XFORM    xform = {1, 0, 0, 1, 0, 0};    // world to page, before the window and viewport
    BOOL     bHasClip = FALSE;
    CTbRegion rgnClip;                      // device coordinates
};

struct TbDC {
    int       nKind = TB_DC_MEMORY;
    HWND      hWnd = nullptr;
    TbDcState st;
    std::vector<TbDcState> saved;
    BOOL      bSystemClip = FALSE;
    BOOL      bWholeImage = FALSE;          // a window DC that reaches the scroll bars (GetWindowDC)
    CTbRegion rgnSystem;                    // BeginPaint's update region, device coordinates
    std::shared_ptr<TbPrinterState> pPrinter;   // printer and information DCs
    RECT      rcDirty = {0, 0, 0, 0};       // what drawing touched, device coordinates
    // Where the pixels go; null when the window is gone.
    CTbPixelBuffer* Target();
    // The clip that drawing obeys, in device coordinates, within the target.
    const std::vector<RECT>& Clip();
    // A printer DC's open page with the DC's clip set on it; null for every other DC and between
    // pages. Drawing calls go there instead of to Target().
    ITbPrintPage* PrintPage();
    void InvalidateClip() { m_bClipValid = FALSE; }
    void Touch(const RECT& rc);
    // Logical to device, through the world transform and then the window and viewport.
    POINT ToDevice(int x, int y) const;
    RECT  ToDevice(const RECT& rc) const;   // the box around the mapped corners
    void  ToDeviceCorners(const RECT& rc, POINT pts[4]) const;     // clockwise from left, top
    POINT ToLogical(POINT ptDevice) const;
    // Lengths along the logical x and y axes in device pixels, and back.
    int   ScaleX(int cx) const;
    int   ScaleY(int cy) const;
    int   UnscaleX(int cx) const;
    int   UnscaleY(int cy) const;
    BOOL  IsIdentity() const;               // window and viewport extents alike
    BOOL  HasWorldTransform() const;        // anything but the identity
    BOOL  IsTurned() const;                 // rotation or shear: rectangles stop being rectangles
private:
    BOOL m_bClipValid = FALSE;
    CTbRegion m_rgnEffective;
    CTbPixelBuffer* m_pLastTarget = nullptr;
    int m_cxLast = -1;
    int m_cyLast = -1;
};

TbDC* TbFindDC(HDC hdc);
HDC   TbCreateWindowDC(HWND hWnd, const CTbRegion* pClip);
// Frees a window DC and answers what its drawing touched (device = client coordinates).
RECT  TbFreeWindowDC(HDC hdc);
HDC   TbScreenDC();
HDC   TbCreatePrinterDC(int nKind, std::shared_ptr<TbPrinterState> pPrinter);
int   TbPrinterDeviceCaps(const TbPrinterState& printer, int nIndex);
void  TbSetRegion(HRGN hRgn, const CTbRegion& rgn);
const CTbRegion* TbGetRegion(HRGN hRgn);
// The pixel a colour gives on a surface (nearest of black and white on a monochrome one).
uint32_t TbSurfacePixel(COLORREF cr, BOOL bMono);
