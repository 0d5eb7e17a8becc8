// Cursors, icons and images.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct CursorState {
    HCURSOR hCurrent = nullptr;
    int nShowCount = 0;
    std::map<int, HICON> standard;          // IDC_/IDI_ number (icons offset) -> shared object
    TBRESOURCEFILEPROC pfnFinder = TbFindResourceFile;
};
CursorState& Cursors()
{
    static CursorState* s_pState = new CursorState;
    return *s_pState;
}

// The system's standard icons (IDI_), drawn here as the message boxes' pictures: a shape in a
// colour and a 5 x 7 glyph scaled three times in the middle. Outside the shape the mask is white.
struct StandardIcon {
    int nId;
    BOOL bTriangle;
    COLORREF crShape, crGlyph;
    BYTE glyph[7];                          // rows, the glyph's leftmost column in bit 4
};
const StandardIcon s_standardIcons[] = {
    {32512, FALSE, RGB(0, 84, 166), RGB(255, 255, 255), {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F}},  // application
    {32513, FALSE, RGB(200, 30, 30), RGB(255, 255, 255), {0x11, 0x0A, 0x04, 0x04, 0x04, 0x0A, 0x11}},  // hand
    {32514, FALSE, RGB(0, 84, 166), RGB(255, 255, 255), {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}},   // question
    {32515, TRUE, RGB(245, 200, 20), RGB(0, 0, 0), {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}},        // exclamation
    {32516, FALSE, RGB(0, 84, 166), RGB(255, 255, 255), {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},   // information
    {32517, FALSE, RGB(0, 84, 166), RGB(255, 255, 255), {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F}},  // the system's
};

void DrawStandardIcon(TbIcon* pIcon, int nId)
{
    const StandardIcon* pDef = nullptr;
    for (const StandardIcon& d : s_standardIcons)
        if (d.nId == nId)
            pDef = &d;
    if (!pDef)
        return;
    const int n = pIcon->image.Width();
    pIcon->mask.Create(n, n, FALSE, TB_PIXEL_WHITE);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int dx = 2 * x + 1 - n, dy = 2 * y + 1 - n;      // doubled, from the centre
            const bool bIn = pDef->bTriangle ? (y >= 2 && y < n - 1 && std::abs(dx) <= (y - 1))
                                             : dx * dx + dy * dy <= (n - 2) * (n - 2);
            if (!bIn)
                continue;
            pIcon->mask.Row(y)[x] = TB_PIXEL_BLACK;
            const int gx = (x - (n - 15) / 2) / 3, gy = (y - (n - 21) / 2 - (pDef->bTriangle ? 3 : 0)) / 3;
            const bool bGlyph = x >= (n - 15) / 2 && gx < 5 && gy >= 0 && gy < 7 &&
                                y >= (n - 21) / 2 + (pDef->bTriangle ? 3 : 0) && (pDef->glyph[gy] & (0x10 >> gx));
            pIcon->image.Row(y)[x] = TbColorToPixel(bGlyph ? pDef->crGlyph : pDef->crShape);
        }
}

HICON StandardShape(int nId, BOOL bCursor)
{
    int nKey = bCursor ? nId : -nId;
    HICON& h = Cursors().standard[nKey];
    if (!TbGdiFindAs<TbIcon>(h, TB_OBJ_ICON)) {
        auto pIcon = std::make_shared<TbIcon>();
        pIcon->nStandard = nId;
        pIcon->bCursor = bCursor;
        pIcon->bStock = TRUE;
        int nSize = bCursor ? 32 : 32;
        pIcon->image.Create(nSize, nSize, FALSE, TB_PIXEL_WHITE);
        if (!bCursor)
            DrawStandardIcon(pIcon.get(), nId);
        h = static_cast<HICON>(TbGdiAdd(std::move(pIcon), TB_OBJ_ICON));
    }
    return h;
}

BOOL IsStandardId(LPCSTR pszName, int nFirst, int nLast)
{
    if (!IS_INTRESOURCE(pszName))
        return FALSE;
    int nId = static_cast<int>(reinterpret_cast<ULONG_PTR>(pszName));
    return nId >= nFirst && nId <= nLast;
}

DWORD ReadBigEndian(const unsigned char* p)
{
    return (DWORD(p[0]) << 24) | (DWORD(p[1]) << 16) | (DWORD(p[2]) << 8) | DWORD(p[3]);
}

// A cursor drawn as a PNG names its hot spot in a text chunk: keyword "HotSpot", text "x,y".
// Without one (or in any other file) the hot spot stays at the top left corner.
BOOL ReadPngHotSpot(LPCSTR pszPath, POINT* pt)
{
    static const unsigned char s_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static const char s_keyword[] = "HotSpot";     // with its terminating zero, as the chunk has it
    FILE* pFile = fopen(pszPath, "rb");
    if (!pFile)
        return FALSE;
    unsigned char header[8];
    BOOL bFound = FALSE;
    if (fread(header, 1, 8, pFile) == 8 && memcmp(header, s_signature, 8) == 0) {
        // Chunks: length, type, data, CRC. Only the text chunks are read; the rest is skipped.
        while (!bFound && fread(header, 1, 8, pFile) == 8) {
            DWORD cbData = ReadBigEndian(header);
            if (cbData > 0x7fffffff)
                break;
            if (memcmp(header + 4, "tEXt", 4) == 0 && cbData < 64) {
                char szText[64] = {};
                if (fread(szText, 1, cbData, pFile) != cbData)
                    break;
                int xy[2];
                if (cbData > sizeof s_keyword && memcmp(szText, s_keyword, sizeof s_keyword) == 0 &&
                    sscanf(szText + sizeof s_keyword, "%d,%d", &xy[0], &xy[1]) == 2) {
                    pt->x = xy[0];
                    pt->y = xy[1];
                    bFound = TRUE;
                }
                cbData = 0;
            }
            if (fseek(pFile, static_cast<long>(cbData) + 4, SEEK_CUR) != 0)
                break;
        }
    }
    fclose(pFile);
    return bFound;
}

HANDLE LoadFromFile(LPCSTR pszPath, UINT uType, BOOL bShared)
{
    ITbImageCodec* pCodec = TbGetImageCodec();
    if (!pCodec || !pszPath)
        return nullptr;
    if (uType == IMAGE_BITMAP) {
        auto pBitmap = std::make_shared<TbBitmap>();
        // The pixels stay opaque; the transparency is kept beside them for those who draw
        // through it (the toolbar's images).
        if (!pCodec->Load(pszPath, &pBitmap->bits, &pBitmap->mask))
            return nullptr;
        pBitmap->bStock = bShared;
        return TbGdiAdd(std::move(pBitmap), OBJ_BITMAP);
    }
    auto pIcon = std::make_shared<TbIcon>();
    if (!pCodec->Load(pszPath, &pIcon->image, &pIcon->mask))
        return nullptr;
    pIcon->bCursor = uType == IMAGE_CURSOR;
    if (pIcon->bCursor) {
        POINT pt = {0, 0};
        // A hot spot outside the image would click where the pointer shows nothing.
        if (ReadPngHotSpot(pszPath, &pt) && pt.x >= 0 && pt.y >= 0 && pt.x < pIcon->image.Width() &&
            pt.y < pIcon->image.Height())
            pIcon->ptHotSpot = pt;
    }
    pIcon->bStock = bShared;
    return TbGdiAdd(std::move(pIcon), TB_OBJ_ICON);
}

HANDLE LoadFromResource(HINSTANCE hInstance, LPCSTR pszName, UINT uType)
{
    static const char* const s_types[] = {"BITMAP", "ICON", "CURSOR"};
    if (!Cursors().pfnFinder || uType > IMAGE_CURSOR)
        return nullptr;
    // Images loaded from the resource module are shared, as the original's are. They are known by
    // the file they come from: a module's handle may be taken again by another module once the
    // first is freed, and must not find the first one's images.
    static std::map<std::string, HANDLE>* s_pCache = new std::map<std::string, HANDLE>;
    char szPath[1024];
    if (!Cursors().pfnFinder(hInstance, s_types[uType], pszName, szPath, sizeof szPath))
        return nullptr;
    const std::string strKey = std::to_string(uType) + ":" + szPath;
    auto it = s_pCache->find(strKey);
    if (it != s_pCache->end() && TbGdiFind(it->second))
        return it->second;
    HANDLE h = LoadFromFile(szPath, uType, TRUE);
    if (h)
        (*s_pCache)[strKey] = h;
    return h;
}
}

void TbSetResourceFileFinder(TBRESOURCEFILEPROC pfn)
{
    Cursors().pfnFinder = pfn;
}

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR pszCursorName)
{
    if (!hInstance && IsStandardId(pszCursorName, 32512, 32651))
        return StandardShape(static_cast<int>(reinterpret_cast<ULONG_PTR>(pszCursorName)), TRUE);
    return static_cast<HCURSOR>(LoadFromResource(hInstance, pszCursorName, IMAGE_CURSOR));
}

HICON LoadIconA(HINSTANCE hInstance, LPCSTR pszIconName)
{
    if (!hInstance && IsStandardId(pszIconName, 32512, 32517))
        return StandardShape(static_cast<int>(reinterpret_cast<ULONG_PTR>(pszIconName)), FALSE);
    return static_cast<HICON>(LoadFromResource(hInstance, pszIconName, IMAGE_ICON));
}

HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR pszBitmapName)
{
    // A bitmap from LoadBitmap belongs to the caller, who deletes it: hand out a copy of the shared one.
    TbBitmap* pShared = TbGdiFindAs<TbBitmap>(LoadFromResource(hInstance, pszBitmapName, IMAGE_BITMAP), OBJ_BITMAP);
    if (!pShared)
        return nullptr;
    auto pBitmap = std::make_shared<TbBitmap>();
    pBitmap->bits = pShared->bits;
    pBitmap->mask = pShared->mask;
    return static_cast<HBITMAP>(TbGdiAdd(std::move(pBitmap), OBJ_BITMAP));
}

HANDLE LoadImageA(HINSTANCE hInstance, LPCSTR pszName, UINT uType, int, int, UINT fuLoad)
{
    if (uType > IMAGE_CURSOR || !pszName)
        return nullptr;
    if (fuLoad & LR_LOADFROMFILE)
        return IS_INTRESOURCE(pszName) ? nullptr : LoadFromFile(pszName, uType, (fuLoad & LR_SHARED) != 0);
    if (uType == IMAGE_CURSOR)
        return LoadCursorA(hInstance, pszName);
    if (uType == IMAGE_ICON)
        return LoadIconA(hInstance, pszName);
    return LoadBitmapA(hInstance, pszName);
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    CursorState& state = Cursors();
    HCURSOR hOld = state.hCurrent;
    if (hCursor == hOld)
        return hOld;
    state.hCurrent = hCursor;
    TBCURSORSHAPE shape = {0, nullptr, {0, 0}};
    if (TbIcon* pIcon = TbGdiFindAs<TbIcon>(hCursor, TB_OBJ_ICON)) {
        shape.nStandard = pIcon->nStandard;
        shape.pImage = pIcon->nStandard ? nullptr : &pIcon->image;
        shape.ptHotSpot = pIcon->ptHotSpot;
    }
    TbGetDisplay()->SetCursorShape(shape);
    return hOld;
}

HCURSOR GetCursor()
{
    return Cursors().hCurrent;
}

int ShowCursor(BOOL bShow)
{
    return bShow ? ++Cursors().nShowCount : --Cursors().nShowCount;
}

BOOL DestroyCursor(HCURSOR hCursor)
{
    TbIcon* pIcon = TbGdiFindAs<TbIcon>(hCursor, TB_OBJ_ICON);
    if (!pIcon)
        return FALSE;
    if (pIcon->bStock)
        return TRUE;        // shared shapes stay
    if (Cursors().hCurrent == hCursor)
        SetCursor(nullptr);
    return DeleteObject(hCursor);
}

BOOL DestroyIcon(HICON hIcon)
{
    return DestroyCursor(hIcon);
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON hIcon)
{
    return DrawIconEx(hdc, x, y, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON hIcon, int cx, int cy, UINT, HBRUSH, UINT)
{
    TbIcon* pIcon = TbGdiFindAs<TbIcon>(hIcon, TB_OBJ_ICON);
    TbDC* pDC = TbFindDC(hdc);
    if (!pIcon || !pDC)
        return FALSE;
    CTbPixelBuffer* pTarget = pDC->Target();
    if (!pTarget || pIcon->image.IsEmpty())
        return pTarget != nullptr;
    int nWidth = cx > 0 ? cx : pIcon->image.Width();
    int nHeight = cy > 0 ? cy : pIcon->image.Height();
    POINT pt = pDC->ToDevice(x, y);
    const std::vector<RECT>& clip = pDC->Clip();
    BOOL bMasked = !pIcon->mask.IsEmpty();
    for (int j = 0; j < nHeight; ++j)
        for (int i = 0; i < nWidth; ++i) {
            int sx = i * pIcon->image.Width() / nWidth, sy = j * pIcon->image.Height() / nHeight;
            if (bMasked && pIcon->mask.Row(sy)[sx] == TB_PIXEL_WHITE)
                continue;
            int dx = pt.x + i, dy = pt.y + j;
            for (const RECT& rc : clip)
                if (dx >= rc.left && dx < rc.right && dy >= rc.top && dy < rc.bottom) {
                    uint32_t px = pIcon->image.Row(sy)[sx];
                    pTarget->Row(dy)[dx] = pTarget->IsMono() ? TbPixelToMono(px) : px;
                    break;
                }
        }
    pDC->Touch(RECT{pt.x, pt.y, pt.x + nWidth, pt.y + nHeight});
    return TRUE;
}
