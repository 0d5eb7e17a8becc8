// Drawing on memory DCs, checked pixel by pixel: XOR figures that undo themselves, the raster
// operations of BitBlt, the colour/monochrome rules, the end-point rule, clipping, mapping, the
// world transform and the life of objects.
#include <gtest/gtest.h>
#include <vector>
#include "platform/win/gdi/Gdi.h"

namespace {
// A memory DC holding a colour bitmap, every pixel a different colour so that changes show.
struct Canvas {
    HDC hdc = nullptr;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hOld = nullptr;
    int cx, cy;
    Canvas(int w, int h, BOOL bPattern = TRUE) : cx(w), cy(h)
    {
        std::vector<DWORD> bits(static_cast<size_t>(w * h));
        for (int i = 0; i < w * h; ++i)
            bits[static_cast<size_t>(i)] = bPattern ? static_cast<DWORD>(i * 2654435761u) & 0xFFFFFF : 0xFFFFFF;
        hBitmap = CreateBitmap(w, h, 1, 32, bits.data());
        hdc = CreateCompatibleDC(nullptr);
        hOld = SelectObject(hdc, hBitmap);
    }
    ~Canvas()
    {
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hBitmap);
    }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> out;
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x)
                out.push_back(GetPixel(hdc, x, y));
        return out;
    }
    // The canvas as rows of characters: '#' for the colour, '.' for anything else.
    std::string Map(COLORREF cr, int w, int h) const
    {
        std::string str;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                str += GetPixel(hdc, x, y) == cr ? '#' : '.';
            str += '|';
        }
        return str;
    }
};

HBRUSH DitherBrush()
{
    WORD rows[8];
    for (int i = 0; i < 8; ++i)
        rows[i] = (i % 2) ? 0x5555 : 0xAAAA;
    HBITMAP hPattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH hBrush = CreatePatternBrush(hPattern);
    DeleteObject(hPattern);
    return hBrush;
}
}

TEST(Gdi, XorFiguresDrawnTwiceLeaveThePixelsAsTheyWere)
{
    Canvas c(40, 30);
    const std::vector<COLORREF> before = c.Pixels();
    HBRUSH hDither = DitherBrush();
    struct Figure { const char* pszName; void (*pfnDraw)(HDC, HBRUSH); };
    const Figure figures[] = {
        {"inverted outline", [](HDC hdc, HBRUSH) {
             int nOld = SetROP2(hdc, R2_NOT);
             HGDIOBJ hBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
             Rectangle(hdc, 3, 4, 30, 20);
             SelectObject(hdc, hBrush);
             SetROP2(hdc, nOld);
         }},
        {"XOR filled row", [](HDC hdc, HBRUSH) {
             int nOld = SetROP2(hdc, R2_XORPEN);
             HGDIOBJ hBrush = SelectObject(hdc, GetStockObject(DKGRAY_BRUSH));
             HGDIOBJ hPen = SelectObject(hdc, GetStockObject(NULL_PEN));
             Rectangle(hdc, 2, 6, 38, 15);
             SelectObject(hdc, hPen);
             SelectObject(hdc, hBrush);
             SetROP2(hdc, nOld);
         }},
        {"XOR line", [](HDC hdc, HBRUSH) {
             SetROP2(hdc, R2_XORPEN);
             HPEN hPen = CreatePen(PS_DOT, 1, RGB(255, 0, 0));
             HGDIOBJ hOld = SelectObject(hdc, hPen);
             MoveToEx(hdc, 0, 29, nullptr);
             LineTo(hdc, 39, 0);
             SelectObject(hdc, hOld);
             DeleteObject(hPen);
             SetROP2(hdc, R2_COPYPEN);
         }},
        {"focus rectangle", [](HDC hdc, HBRUSH) { RECT rc = {5, 5, 25, 17}; DrawFocusRect(hdc, &rc); }},
        {"insert mark", [](HDC hdc, HBRUSH hDitherBrush) {
             HGDIOBJ hOld = SelectObject(hdc, hDitherBrush);
             PatBlt(hdc, 0, 10, 40, 4, PATINVERT);
             SelectObject(hdc, hOld);
         }},
        {"inverted cell", [](HDC hdc, HBRUSH) { RECT rc = {1, 1, 39, 29}; InvertRect(hdc, &rc); }},
    };
    for (const Figure& f : figures) {
        f.pfnDraw(c.hdc, hDither);
        EXPECT_NE(before, c.Pixels()) << f.pszName << " drew nothing";
        f.pfnDraw(c.hdc, hDither);
        EXPECT_EQ(before, c.Pixels()) << f.pszName << " did not undo itself";
    }
    DeleteObject(hDither);
}

TEST(Gdi, BitBltRasterOperationsCombinePixelsBitwise)
{
    const COLORREF src[4] = {RGB(0x12, 0x34, 0x56), RGB(0xFF, 0x00, 0x0F), RGB(0, 0, 0), RGB(0xA5, 0x5A, 0xC3)};
    const COLORREF dst[4] = {RGB(0xF0, 0x0F, 0x33), RGB(0x80, 0x80, 0x80), RGB(0xFF, 0xFF, 0xFF), RGB(0x3C, 0xC3, 0x99)};
    const COLORREF pat = RGB(0x55, 0xAA, 0x0F);
    const struct { const char* pszName; DWORD dwRop; COLORREF (*pfn)(COLORREF s, COLORREF d, COLORREF p); } rops[] = {
        {"SRCCOPY", SRCCOPY, [](COLORREF s, COLORREF, COLORREF) { return s; }},
        {"SRCAND", SRCAND, [](COLORREF s, COLORREF d, COLORREF) { return s & d; }},
        {"SRCPAINT", SRCPAINT, [](COLORREF s, COLORREF d, COLORREF) { return s | d; }},
        {"SRCINVERT", SRCINVERT, [](COLORREF s, COLORREF d, COLORREF) { return s ^ d; }},
        {"DSTINVERT", DSTINVERT, [](COLORREF, COLORREF d, COLORREF) { return ~d & 0xFFFFFF; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](COLORREF s, COLORREF, COLORREF) { return ~s & 0xFFFFFF; }},
        {"PATINVERT", PATINVERT, [](COLORREF, COLORREF d, COLORREF p) { return p ^ d; }},
        {"MERGEPAINT", MERGEPAINT, [](COLORREF s, COLORREF d, COLORREF) { return (~s | d) & 0xFFFFFF; }},
        {"BLACKNESS", BLACKNESS, [](COLORREF, COLORREF, COLORREF) { return COLORREF(0); }},
        {"WHITENESS", WHITENESS, [](COLORREF, COLORREF, COLORREF) { return COLORREF(0xFFFFFF); }},
    };
    Canvas s(4, 1), d(4, 1);
    for (int i = 0; i < 4; ++i)
        SetPixel(s.hdc, i, 0, src[i]);
    HBRUSH hBrush = CreateSolidBrush(pat);
    HGDIOBJ hOld = SelectObject(d.hdc, hBrush);
    for (const auto& r : rops) {
        for (int i = 0; i < 4; ++i)
            SetPixel(d.hdc, i, 0, dst[i]);
        ASSERT_TRUE(BitBlt(d.hdc, 0, 0, 4, 1, s.hdc, 0, 0, r.dwRop)) << r.pszName;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(r.pfn(src[i], dst[i], pat), GetPixel(d.hdc, i, 0)) << r.pszName << " pixel " << i;
    }
    SelectObject(d.hdc, hOld);
    DeleteObject(hBrush);
}

TEST(Gdi, ColourAndMonochromeConvertThroughTheDcColours)
{
    Canvas colour(4, 1, FALSE);
    const COLORREF key = RGB(255, 0, 255);
    SetPixel(colour.hdc, 0, 0, key);
    SetPixel(colour.hdc, 1, 0, RGB(10, 200, 30));
    SetPixel(colour.hdc, 2, 0, key);
    SetPixel(colour.hdc, 3, 0, RGB(255, 255, 255));
    // Colour to monochrome: the source's background colour becomes white, everything else black.
    HDC hdcMask = CreateCompatibleDC(colour.hdc);
    HBITMAP hMask = CreateBitmap(4, 1, 1, 1, nullptr);
    HGDIOBJ hOldMask = SelectObject(hdcMask, hMask);
    SetBkColor(colour.hdc, key);
    BitBlt(hdcMask, 0, 0, 4, 1, colour.hdc, 0, 0, SRCCOPY);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdcMask, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdcMask, 1, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdcMask, 2, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdcMask, 3, 0));         // white is not the key: black

    // Monochrome to colour: white takes the destination's background colour, black its text colour.
    Canvas out(4, 1);
    SetTextColor(out.hdc, RGB(200, 0, 0));
    SetBkColor(out.hdc, RGB(0, 0, 200));
    BitBlt(out.hdc, 0, 0, 4, 1, hdcMask, 0, 0, SRCCOPY);
    EXPECT_EQ(RGB(0, 0, 200), GetPixel(out.hdc, 0, 0));
    EXPECT_EQ(RGB(200, 0, 0), GetPixel(out.hdc, 1, 0));

    // The mask technique: the background keeps its pixels under the mask's white, the image is
    // blacked out there, and OR puts them together.
    Canvas scene(4, 1, FALSE);
    for (int i = 0; i < 4; ++i)
        SetPixel(scene.hdc, i, 0, RGB(0, 128, 0));
    SetTextColor(scene.hdc, RGB(0, 0, 0));
    SetBkColor(scene.hdc, RGB(255, 255, 255));
    BitBlt(scene.hdc, 0, 0, 4, 1, hdcMask, 0, 0, SRCAND);
    SetTextColor(colour.hdc, RGB(255, 255, 255));
    SetBkColor(colour.hdc, RGB(0, 0, 0));
    BitBlt(colour.hdc, 0, 0, 4, 1, hdcMask, 0, 0, SRCAND);
    BitBlt(scene.hdc, 0, 0, 4, 1, colour.hdc, 0, 0, SRCPAINT);
    EXPECT_EQ(RGB(0, 128, 0), GetPixel(scene.hdc, 0, 0));
    EXPECT_EQ(RGB(10, 200, 30), GetPixel(scene.hdc, 1, 0));
    EXPECT_EQ(RGB(0, 128, 0), GetPixel(scene.hdc, 2, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(scene.hdc, 3, 0));
    SelectObject(hdcMask, hOldMask);
    DeleteDC(hdcMask);
    DeleteObject(hMask);
}

TEST(Gdi, LinesAndShapesCoverTheOriginalsPixels)
{
    Canvas c(12, 10, FALSE);
    const COLORREF black = RGB(0, 0, 0);
    MoveToEx(c.hdc, 1, 1, nullptr);
    LineTo(c.hdc, 6, 1);                                  // the last point is left out
    Rectangle(c.hdc, 2, 3, 8, 7);                         // black pen, white brush
    RECT rcFill = {9, 3, 11, 5};
    FillRect(c.hdc, &rcFill, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ("............|"
              ".#####......|"
              "............|"
              "..######.##.|"
              "..#....#.##.|"
              "..#....#....|"
              "..######....|"
              "............|"
              "............|"
              "............|", c.Map(black, 12, 10));

    // A dotted pen: three on, three off.
    Canvas d(14, 1, FALSE);
    HPEN hDot = CreatePen(PS_DOT, 1, black);
    HGDIOBJ hOld = SelectObject(d.hdc, hDot);
    SetBkMode(d.hdc, TRANSPARENT);
    MoveToEx(d.hdc, 0, 0, nullptr);
    LineTo(d.hdc, 14, 0);
    EXPECT_EQ("###...###...##|", d.Map(black, 14, 1));
    SelectObject(d.hdc, hOld);
    DeleteObject(hDot);

    // A filled triangle keeps to its edges' left and top sides.
    Canvas t(8, 5, FALSE);
    SelectObject(t.hdc, GetStockObject(BLACK_BRUSH));
    SelectObject(t.hdc, GetStockObject(NULL_PEN));
    POINT tri[3] = {{0, 4}, {8, 4}, {4, 0}};
    Polygon(t.hdc, tri, 3);
    EXPECT_EQ("...#....|..###...|.#####..|#######.|........|", t.Map(black, 8, 5));
}

TEST(Gdi, ClippingSavingAndMapping)
{
    Canvas c(10, 6, FALSE);
    const COLORREF red = RGB(255, 0, 0);
    HBRUSH hRed = CreateSolidBrush(red);
    RECT rcAll = {0, 0, 10, 6};
    int nSaved = SaveDC(c.hdc);
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(c.hdc, 2, 1, 5, 3));
    EXPECT_EQ(COMPLEXREGION, ExcludeClipRect(c.hdc, 3, 1, 4, 2));
    FillRect(c.hdc, &rcAll, hRed);
    EXPECT_EQ("..........|..#.#.....|..###.....|..........|..........|..........|", c.Map(red, 10, 6));
    EXPECT_EQ(CLR_INVALID, GetPixel(c.hdc, 0, 0));        // outside the clip
    RestoreDC(c.hdc, nSaved);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(c.hdc, 0, 0));
    EXPECT_FALSE(RestoreDC(c.hdc, nSaved));                // that level is gone

    // Twice the size through the viewport: a 2x2 logical square covers 4x4 pixels.
    Canvas m(10, 6, FALSE);
    SetMapMode(m.hdc, MM_ANISOTROPIC);
    SetWindowExtEx(m.hdc, 1, 1, nullptr);
    SetViewportExtEx(m.hdc, 2, 2, nullptr);
    SetViewportOrgEx(m.hdc, 1, 0, nullptr);
    RECT rcSquare = {0, 0, 2, 2};
    FillRect(m.hdc, &rcSquare, hRed);
    POINT pt = {3, 1};
    LPtoDP(m.hdc, &pt, 1);
    EXPECT_EQ(7, pt.x);
    EXPECT_EQ(2, pt.y);
    SetMapMode(m.hdc, MM_TEXT);
    SetViewportOrgEx(m.hdc, 0, 0, nullptr);
    EXPECT_EQ(".####.....|.####.....|.####.....|.####.....|..........|..........|", m.Map(red, 10, 6));
    DeleteObject(hRed);
}

TEST(Gdi, DeletedObjectsStayDeadAndSelectedOnesLiveOn)
{
    Canvas c(4, 4, FALSE);
    HBRUSH hBlue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ hOld = SelectObject(c.hdc, hBlue);
    EXPECT_TRUE(DeleteObject(hBlue));
    LOGBRUSH lb;
    EXPECT_EQ(0, GetObjectA(hBlue, sizeof lb, &lb));       // the handle is dead...
    Rectangle(c.hdc, 0, 0, 4, 4);
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(c.hdc, 1, 1));      // ...but the DC still paints with it
    EXPECT_EQ(nullptr, SelectObject(c.hdc, hBlue));
    SelectObject(c.hdc, hOld);
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    EXPECT_NE(0, GetObjectA(GetStockObject(WHITE_BRUSH), sizeof lb, &lb));   // stock objects stay

    // A bitmap is in one memory DC at a time; a fresh memory DC makes monochrome bitmaps, and its
    // own first bitmap can be selected back, which frees the other for another DC.
    HDC hdcOther = CreateCompatibleDC(nullptr);
    EXPECT_EQ(nullptr, SelectObject(hdcOther, c.hBitmap));
    HBITMAP hSecond = CreateBitmap(2, 2, 1, 32, nullptr);
    HGDIOBJ hFirst = SelectObject(hdcOther, hSecond);
    ASSERT_NE(nullptr, hFirst);
    EXPECT_EQ(hSecond, SelectObject(hdcOther, hFirst));
    HDC hdcThird = CreateCompatibleDC(nullptr);
    EXPECT_EQ(hFirst, SelectObject(hdcThird, hSecond));
    DeleteDC(hdcThird);
    DeleteObject(hSecond);
    HBITMAP hCompat = CreateCompatibleBitmap(hdcOther, 5, 3);
    BITMAP bm;
    ASSERT_EQ(static_cast<int>(sizeof bm), GetObjectA(hCompat, sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmBitsPixel);
    EXPECT_EQ(5, bm.bmWidth);
    DeleteObject(hCompat);
    DeleteDC(hdcOther);
    EXPECT_EQ(0, GetDeviceCaps(hdcOther, BITSPIXEL));
}

// Whatever DCs earlier code left alive, a bitmap is a bitmap and a DC a DC: a handle of one kind
// never answers as another (the clipboard refuses a bitmap GetObjectType calls a DC).
TEST(Gdi, BitmapsAndDcsAliveTogetherKeepTheirKinds)
{
    std::vector<HDC> dcs;
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 3000; ++i)
        dcs.push_back(CreateCompatibleDC(nullptr));
    for (int i = 0; i < 3000; ++i)
        bitmaps.push_back(CreateBitmap(1, 1, 1, 32, nullptr));
    int nWrongBitmaps = 0, nWrongDcs = 0;
    for (HBITMAP hBitmap : bitmaps)
        nWrongBitmaps += GetObjectType(hBitmap) != OBJ_BITMAP;
    for (HDC hdc : dcs)
        nWrongDcs += GetObjectType(hdc) != OBJ_MEMDC;
    EXPECT_EQ(0, nWrongBitmaps);
    EXPECT_EQ(0, nWrongDcs);
    for (HBITMAP hBitmap : bitmaps)
        DeleteObject(hBitmap);
    for (HDC hdc : dcs)
        DeleteDC(hdc);
}

TEST(Gdi, RegionsCombine)
{
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), r = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, CombineRgn(r, a, b, RGN_OR));
    EXPECT_TRUE(PtInRegion(r, 12, 12));
    EXPECT_FALSE(PtInRegion(r, 12, 2));
    EXPECT_EQ(SIMPLEREGION, CombineRgn(r, a, b, RGN_AND));
    RECT rc;
    GetRgnBox(r, &rc);
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(10, rc.right);
    EXPECT_EQ(COMPLEXREGION, CombineRgn(r, a, b, RGN_XOR));
    EXPECT_FALSE(PtInRegion(r, 7, 7));
    EXPECT_EQ(NULLREGION, CombineRgn(r, a, a, RGN_DIFF));
    EXPECT_EQ(ERROR, CombineRgn(r, a, reinterpret_cast<HRGN>(1), RGN_OR));
    for (HRGN h : {a, b, r})
        DeleteObject(h);
}

namespace {
const XFORM s_identity = {1, 0, 0, 1, 0, 0};

XFORM Translation(FLOAT dx, FLOAT dy) { return XFORM{1, 0, 0, 1, dx, dy}; }
XFORM Scaling(FLOAT s) { return XFORM{s, 0, 0, s, 0, 0}; }
XFORM QuarterTurn() { return XFORM{0, 1, -1, 0, 0, 0}; }   // (x, y) to (-y, x)

void Advanced(HDC hdc, const XFORM& xf)
{
    ASSERT_NE(0, SetGraphicsMode(hdc, GM_ADVANCED));
    ASSERT_TRUE(SetWorldTransform(hdc, &xf));
}

// GetPixel reads through the transform too; the maps are of device pixels.
void Identity(HDC hdc)
{
    ASSERT_TRUE(ModifyWorldTransform(hdc, nullptr, MWT_IDENTITY));
}

POINT ToDevice(HDC hdc, int x, int y)
{
    POINT pt = {x, y};
    LPtoDP(hdc, &pt, 1);
    return pt;
}
}

TEST(GdiWorldTransform, TranslationAndScalingLandOnExactPixels)
{
    const COLORREF black = RGB(0, 0, 0);
    Canvas t(12, 10, FALSE);
    Advanced(t.hdc, Translation(3, 2));
    Rectangle(t.hdc, 0, 0, 4, 3);
    MoveToEx(t.hdc, 0, 6, nullptr);
    LineTo(t.hdc, 3, 6);
    Identity(t.hdc);
    EXPECT_EQ("............|"
              "............|"
              "...####.....|"
              "...#..#.....|"
              "...####.....|"
              "............|"
              "............|"
              "............|"
              "...###......|"
              "............|", t.Map(black, 12, 10));

    // Twice the size, one pixel right.
    Canvas s(12, 10, FALSE);
    Advanced(s.hdc, XFORM{2, 0, 0, 2, 1, 0});
    RECT rc = {0, 0, 2, 2};
    FillRect(s.hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    MoveToEx(s.hdc, 0, 4, nullptr);
    LineTo(s.hdc, 3, 4);
    Identity(s.hdc);
    EXPECT_EQ(".####.......|"
              ".####.......|"
              ".####.......|"
              ".####.......|"
              "............|"
              "............|"
              "............|"
              "............|"
              ".######.....|"
              "............|", s.Map(black, 12, 10));

    // Clipping and block transfers go through it too.
    Canvas c(8, 6, FALSE);
    Advanced(c.hdc, Translation(3, 2));
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(c.hdc, 0, 0, 2, 2));
    RECT rcAll = {-10, -10, 20, 20};
    FillRect(c.hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Identity(c.hdc);
    SelectClipRgn(c.hdc, nullptr);
    EXPECT_EQ("........|........|...##...|...##...|........|........|", c.Map(black, 8, 6));

    Canvas src(2, 1, FALSE), dst(8, 4, FALSE);
    SetPixel(src.hdc, 0, 0, RGB(255, 0, 0));
    SetPixel(src.hdc, 1, 0, black);
    Advanced(dst.hdc, XFORM{2, 0, 0, 2, 1, 1});
    ASSERT_TRUE(BitBlt(dst.hdc, 0, 0, 2, 1, src.hdc, 0, 0, SRCCOPY));   // stretched to 4 x 2
    Identity(dst.hdc);
    EXPECT_EQ("........|...##...|...##...|........|", dst.Map(black, 8, 4));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dst.hdc, 1, 1));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(dst.hdc, 2, 2));
    // A turned source would be a parallelogram of pixels: refused.
    Advanced(src.hdc, QuarterTurn());
    EXPECT_FALSE(BitBlt(dst.hdc, 0, 0, 2, 1, src.hdc, 0, 0, SRCCOPY));
}

TEST(GdiWorldTransform, QuarterTurnFillsTheTurnedRectangle)
{
    Canvas c(8, 5, FALSE);
    XFORM xf = QuarterTurn();
    xf.eDx = 5;
    Advanced(c.hdc, xf);
    RECT rc = {0, 0, 3, 1};                     // turned upright, one pixel left of x = 5
    FillRect(c.hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Identity(c.hdc);
    EXPECT_EQ("....#...|....#...|....#...|........|........|", c.Map(RGB(0, 0, 0), 8, 5));
}

TEST(GdiWorldTransform, TextIsPlacedAndSizedByTheTransform)
{
    Canvas c(60, 40, FALSE);
    LOGFONTA lf = {};
    lf.lfHeight = -10;                          // stand-in cells: 5 pixels wide, 10 high
    HFONT hFont = CreateFontIndirectA(&lf);
    HGDIOBJ hOld = SelectObject(c.hdc, hFont);
    const COLORREF blue = RGB(0, 0, 255);
    SetBkMode(c.hdc, OPAQUE);
    SetBkColor(c.hdc, blue);
    Advanced(c.hdc, Translation(20, 5));
    TextOutA(c.hdc, 0, 0, "ab", 2);             // the cell covers 20..29 x 5..14
    EXPECT_EQ(blue, GetPixel(c.hdc, 0, 0));      // read back through the transform
    Identity(c.hdc);
    EXPECT_EQ(blue, GetPixel(c.hdc, 20, 5));
    EXPECT_EQ(blue, GetPixel(c.hdc, 29, 14));
    EXPECT_NE(blue, GetPixel(c.hdc, 19, 5));
    EXPECT_NE(blue, GetPixel(c.hdc, 30, 14));
    EXPECT_NE(blue, GetPixel(c.hdc, 20, 15));

    // Twice the size: the font is made twice as high, and measures the same in logical units.
    Canvas s(60, 40, FALSE);
    SelectObject(c.hdc, hOld);
    hOld = SelectObject(s.hdc, hFont);
    SetBkColor(s.hdc, blue);
    Advanced(s.hdc, Scaling(2));
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(s.hdc, "ab", 2, &size));
    EXPECT_EQ(10, size.cx);
    EXPECT_EQ(10, size.cy);
    TextOutA(s.hdc, 1, 1, "ab", 2);             // 2..21 x 2..21
    Identity(s.hdc);
    EXPECT_EQ(blue, GetPixel(s.hdc, 2, 2));
    EXPECT_EQ(blue, GetPixel(s.hdc, 21, 21));
    EXPECT_NE(blue, GetPixel(s.hdc, 22, 21));
    EXPECT_NE(blue, GetPixel(s.hdc, 21, 22));
    SelectObject(s.hdc, hOld);
    DeleteObject(hFont);
}

TEST(GdiWorldTransform, LeftMultiplyAppliesTheNewTransformFirst)
{
    Canvas c(4, 4, FALSE);
    const XFORM move = Translation(5, 0);
    Advanced(c.hdc, Scaling(2));
    ASSERT_TRUE(ModifyWorldTransform(c.hdc, &move, MWT_LEFTMULTIPLY));   // move, then scale
    XFORM xf;
    ASSERT_TRUE(GetWorldTransform(c.hdc, &xf));
    EXPECT_EQ(10, xf.eDx);
    EXPECT_EQ(10, ToDevice(c.hdc, 0, 0).x);
    EXPECT_EQ(12, ToDevice(c.hdc, 1, 0).x);

    SetWorldTransform(c.hdc, &s_identity);
    const XFORM scale = Scaling(2);
    SetWorldTransform(c.hdc, &scale);
    ASSERT_TRUE(ModifyWorldTransform(c.hdc, &move, MWT_RIGHTMULTIPLY));  // scale, then move
    EXPECT_EQ(5, ToDevice(c.hdc, 0, 0).x);
    EXPECT_EQ(7, ToDevice(c.hdc, 1, 0).x);

    // With a turn the order shows on both axes: (1, 0) turns to (0, 1) and moves to (10, 1), or
    // moves to (11, 0) and turns to (0, 11).
    const XFORM turn = QuarterTurn(), right = Translation(10, 0);
    SetWorldTransform(c.hdc, &turn);
    ModifyWorldTransform(c.hdc, &right, MWT_RIGHTMULTIPLY);
    POINT pt = ToDevice(c.hdc, 1, 0);
    EXPECT_EQ(10, pt.x);
    EXPECT_EQ(1, pt.y);
    SetWorldTransform(c.hdc, &turn);
    ModifyWorldTransform(c.hdc, &right, MWT_LEFTMULTIPLY);
    pt = ToDevice(c.hdc, 1, 0);
    EXPECT_EQ(0, pt.x);
    EXPECT_EQ(11, pt.y);
}

TEST(GdiWorldTransform, ModeRulesRefuseAndLeaveTheStateAlone)
{
    Canvas c(4, 4, FALSE);
    const XFORM move = Translation(1, 2), flat = {1, 2, 2, 4, 0, 0};
    XFORM xf;
    EXPECT_EQ(GM_COMPATIBLE, GetGraphicsMode(c.hdc));
    EXPECT_FALSE(SetWorldTransform(c.hdc, &move));
    EXPECT_FALSE(ModifyWorldTransform(c.hdc, &move, MWT_LEFTMULTIPLY));
    EXPECT_FALSE(ModifyWorldTransform(c.hdc, nullptr, MWT_IDENTITY));
    ASSERT_TRUE(GetWorldTransform(c.hdc, &xf));
    EXPECT_EQ(0, xf.eDx);
    EXPECT_EQ(0, SetGraphicsMode(c.hdc, 3));

    EXPECT_EQ(GM_COMPATIBLE, SetGraphicsMode(c.hdc, GM_ADVANCED));
    EXPECT_FALSE(SetWorldTransform(c.hdc, &flat));         // no way back from a flattened plane
    EXPECT_FALSE(SetWorldTransform(c.hdc, nullptr));
    EXPECT_FALSE(ModifyWorldTransform(c.hdc, &move, 4));
    EXPECT_TRUE(SetWorldTransform(c.hdc, &move));
    EXPECT_EQ(0, SetGraphicsMode(c.hdc, GM_COMPATIBLE));   // the transform must go first
    EXPECT_EQ(GM_ADVANCED, GetGraphicsMode(c.hdc));
    EXPECT_EQ(3, ToDevice(c.hdc, 2, 0).x);
    EXPECT_TRUE(ModifyWorldTransform(c.hdc, nullptr, MWT_IDENTITY));
    EXPECT_EQ(GM_ADVANCED, SetGraphicsMode(c.hdc, GM_COMPATIBLE));
    EXPECT_EQ(2, ToDevice(c.hdc, 2, 0).x);
    EXPECT_EQ(0, GetGraphicsMode(nullptr));
    EXPECT_FALSE(GetWorldTransform(c.hdc, nullptr));
}

TEST(GdiWorldTransform, SaveAndRestoreKeepTheModeAndTransform)
{
    Canvas c(4, 4, FALSE);
    int nPlain = SaveDC(c.hdc);
    Advanced(c.hdc, Translation(2, 1));
    int nMoved = SaveDC(c.hdc);
    const XFORM scale = Scaling(3);
    SetWorldTransform(c.hdc, &scale);
    ASSERT_TRUE(RestoreDC(c.hdc, nMoved));
    SetPixel(c.hdc, 0, 0, RGB(0, 0, 0));
    EXPECT_EQ(GM_ADVANCED, GetGraphicsMode(c.hdc));
    ASSERT_TRUE(RestoreDC(c.hdc, nPlain));
    EXPECT_EQ(GM_COMPATIBLE, GetGraphicsMode(c.hdc));
    EXPECT_EQ("....|..#.|....|....|", c.Map(RGB(0, 0, 0), 4, 4));
}

TEST(GdiWorldTransform, DeviceAndLogicalPointsRoundTripThroughTheMapping)
{
    Canvas c(4, 4, FALSE);
    SetMapMode(c.hdc, MM_ANISOTROPIC);
    SetWindowExtEx(c.hdc, 1, 1, nullptr);
    SetViewportExtEx(c.hdc, 2, -2, nullptr);
    SetViewportOrgEx(c.hdc, 1, 100, nullptr);
    Advanced(c.hdc, XFORM{3, 0, 0, 3, 2, 1});
    // The world first: (4, 5) is (14, 16) on the page, then (29, 68) on the device.
    POINT pt = ToDevice(c.hdc, 4, 5);
    EXPECT_EQ(29, pt.x);
    EXPECT_EQ(68, pt.y);
    DPtoLP(c.hdc, &pt, 1);
    EXPECT_EQ(4, pt.x);
    EXPECT_EQ(5, pt.y);

    const XFORM turn = {0, 1, -1, 0, 7, -3};
    SetWorldTransform(c.hdc, &turn);
    for (POINT lp : {POINT{0, 0}, POINT{-5, 9}, POINT{12, -4}}) {
        POINT p = lp;
        LPtoDP(c.hdc, &p, 1);
        EXPECT_EQ(1 + 2 * (-lp.y + 7), p.x);
        EXPECT_EQ(100 - 2 * (lp.x - 3), p.y);
        DPtoLP(c.hdc, &p, 1);
        EXPECT_EQ(lp.x, p.x);
        EXPECT_EQ(lp.y, p.y);
    }
}

TEST(Gdi, BitmapBitsReadBackWhatWasDrawn)
{
    Canvas canvas(5, 3);
    const std::vector<COLORREF> pixels = canvas.Pixels();
    SelectObject(canvas.hdc, canvas.hOld);      // a bitmap is read outside its DC as well
    std::vector<DWORD> bits(15, 0xDEADBEEF);
    EXPECT_EQ(60, GetBitmapBits(canvas.hBitmap, 60, bits.data()));
    for (size_t i = 0; i < bits.size(); ++i)        // 0x00RRGGBB against COLORREF's 0x00BBGGRR
        EXPECT_EQ(pixels[i], RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF)) << i;
    // A short buffer takes whole pixels only; no bitmap gives 0.
    std::vector<DWORD> few(3, 0);
    EXPECT_EQ(8, GetBitmapBits(canvas.hBitmap, 11, few.data()));
    EXPECT_EQ(0u, few[2]);
    EXPECT_EQ(0, GetBitmapBits(nullptr, 60, bits.data()));
    canvas.hOld = SelectObject(canvas.hdc, canvas.hBitmap);
}
