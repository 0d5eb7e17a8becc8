#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/base/DrawUtils.h"
#include "framework/base/TB3DFrame.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/Window.h"

namespace {
const COLORREF BACK = RGB(0, 0, 255);

// A window whose backing image the tests draw into and read back through its DC.
class DrawTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.lpszClassName = "DrawUtilsTestWnd";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(0, "DrawUtilsTestWnd", "", WS_OVERLAPPED, 0, 0, 40, 30, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(nullptr, m_hWnd);
        m_hdc = GetDC(m_hWnd);
        ASSERT_NE(nullptr, m_hdc);
        FillSolidRect(m_hdc, RECT{0, 0, 40, 30}, BACK);
    }
    void TearDown() override
    {
        ReleaseDC(m_hWnd, m_hdc);
        DestroyWindow(m_hWnd);
    }
    // One letter per pixel: L light, S shadow, D dark, F face, B background, K black, W white
    // is L; anything else '?'.
    static char Letter(COLORREF cr)
    {
        static const struct { int nSysColor; char ch; } s_sys[] = {
            {COLOR_BTNHIGHLIGHT, 'L'}, {COLOR_BTNSHADOW, 'S'}, {COLOR_3DDKSHADOW, 'D'}, {COLOR_BTNFACE, 'F'}};
        for (const auto& s : s_sys)
            if (cr == GetSysColor(s.nSysColor))
                return s.ch;
        if (cr == BACK)
            return 'B';
        if (cr == RGB(0, 0, 0))
            return 'K';
        if (cr == RGB(255, 0, 255))
            return 'M';
        return '?';
    }
    std::string Row(int y, int x1, int x2) const
    {
        std::string str;
        for (int x = x1; x < x2; ++x)
            str += Letter(GetPixel(m_hdc, x, y));
        return str;
    }
    std::vector<std::string> Rows(int x1, int y1, int x2, int y2) const
    {
        std::vector<std::string> rows;
        for (int y = y1; y < y2; ++y)
            rows.push_back(Row(y, x1, x2));
        return rows;
    }
    HWND m_hWnd = nullptr;
    HDC m_hdc = nullptr;
};
}  // namespace

TEST_F(DrawTest, FramesRaisedSunkenFlatAndThin)
{
    CTB3DFrame frame;
    frame.Create3D(1);
    EXPECT_TRUE(frame.IsCreated3D());
    frame.DrawFrame(m_hdc, RECT{1, 1, 7, 6}, FALSE);
    std::vector<std::string> raised = {
        "BBBBBBBB",
        "BLLLLLSB",     // top edge light; the top-right end softened to shadow
        "BLFFFSDB",     // inside: face, the inner right edge shadow, the outer right edge dark
        "BLFFFSDB",
        "BLSSSSDB",     // the inner bottom edge
        "BSDDDDDB",     // the outer bottom edge, its left end softened
        "BBBBBBBB"};
    EXPECT_EQ(raised, Rows(0, 0, 8, 7));

    frame.DrawFrame(m_hdc, RECT{10, 1, 16, 6}, TRUE);
    std::vector<std::string> sunken = {
        "DDDDDS",
        "DFFFFS",
        "DFFFFS",
        "DFFFFS",
        "SSSSSS"};
    EXPECT_EQ(sunken, Rows(10, 1, 16, 6));

    // An empty rectangle draws nothing; one pixel high is one line of the outer bottom-right pen.
    frame.DrawFrame(m_hdc, RECT{20, 1, 20, 9}, FALSE);
    frame.DrawFrame(m_hdc, RECT{20, 3, 26, 3}, TRUE);
    EXPECT_EQ("BBBBBB", Row(1, 20, 26));
    EXPECT_EQ("BBBBBB", Row(3, 20, 26));
    frame.DrawFrame(m_hdc, RECT{20, 5, 25, 6}, FALSE);
    EXPECT_EQ("BDDDDDB", Row(5, 19, 26));
    frame.DrawFrame(m_hdc, RECT{20, 7, 25, 9}, FALSE);
    EXPECT_EQ("LLLLL", Row(7, 20, 25));
    EXPECT_EQ("DDDDD", Row(8, 20, 25));

    // Flat: the dark outline around the DC's brush.
    frame.SetFlat(TRUE);
    frame.Create3D(1);
    EXPECT_TRUE(frame.IsFlat()) << "building keeps the flat bit";
    HGDIOBJ hOld = SelectObject(m_hdc, GetStockObject(NULL_BRUSH));
    frame.DrawFrame(m_hdc, RECT{1, 10, 5, 13}, FALSE);
    SelectObject(m_hdc, hOld);
    std::vector<std::string> flat = {"DDDD", "DBBD", "DDDD"};
    EXPECT_EQ(flat, Rows(1, 10, 5, 13));
}

TEST_F(DrawTest, ArrowsAndColoredSets)
{
    CTB3DFrame frame;
    frame.Create3D(1);
    frame.DrawArrow(m_hdc, RECT{0, 0, 7, 5}, TRUE);     // 5 x 5 centred in 7 x 5
    std::vector<std::string> up = {
        "BBBLBBB",
        "BBBLSBB",
        "BBLBSBB",
        "BBLBBSB",
        "BSSSSSB"};     // each edge leaves out its end, which the next one starts with
    EXPECT_EQ(up, Rows(0, 0, 7, 5));
    frame.DrawArrow(m_hdc, RECT{10, 0, 15, 5}, FALSE);
    std::vector<std::string> down = {
        "LLLLS",
        "BLBBS",
        "BLBSB",
        "BBLSB",
        "BBLBB"};
    EXPECT_EQ(down, Rows(10, 0, 15, 5));

    // Coloured sets: the button face (even palette-relative) is the 3-D set; red shades.
    frame.CreateColored(GetSysColor(COLOR_BTNFACE) | 0x02000000, 1);
    EXPECT_TRUE(frame.IsCreated3D());
    frame.SetFlat(TRUE);
    frame.CreateColored(RGB(255, 0, 0), 1);
    EXPECT_FALSE(frame.IsCreated3D());
    EXPECT_FALSE(frame.IsFlat());
    frame.DrawFrame(m_hdc, RECT{20, 10, 24, 14}, FALSE);
    EXPECT_EQ(ShadeColor(RGB(255, 0, 0), 130), GetPixel(m_hdc, 20, 11));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(m_hdc, 23, 11));
    EXPECT_EQ(ShadeColor(RGB(255, 0, 0), 67), GetPixel(m_hdc, 22, 11));

    // Mono: everything black on a white inside.
    frame.CreateMono(1);
    frame.DrawFrame(m_hdc, RECT{30, 10, 34, 14}, FALSE);
    EXPECT_EQ("KKKS", Row(10, 30, 34));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(m_hdc, 31, 11));
    frame.DeleteObjects();
    EXPECT_EQ(nullptr, frame.GetDarkPen());
}

TEST_F(DrawTest, TransparentBitmapLeavesItsKeyColourShowingTheBackground)
{
    // 4 x 2: magenta is transparent; black and white are drawn.
    const DWORD M = 0xFF00FF, K = 0x000000, W = 0xFFFFFF;
    const DWORD bits[] = {M, K, W, M, K, M, M, W};
    HBITMAP hBitmap = CreateBitmap(4, 2, 1, 32, bits);
    ASSERT_NE(nullptr, hBitmap);
    ASSERT_TRUE(DrawTransparentBitmap(m_hdc, hBitmap, 2, 3, RGB(255, 0, 255), 0, 0, -1, -1));
    EXPECT_EQ("BBKLBB", Row(3, 1, 7));
    EXPECT_EQ("BKBBLB", Row(4, 1, 7));
    // A part of it: the right half only.
    ASSERT_TRUE(DrawTransparentBitmap(m_hdc, hBitmap, 10, 3, RGB(255, 0, 255), 2, 0, 2, 2));
    EXPECT_EQ("BLBB", Row(3, 9, 13));
    EXPECT_EQ("BBLB", Row(4, 9, 13));

    // The bitmap itself is unchanged.
    HDC hdcMem = CreateCompatibleDC(m_hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    EXPECT_EQ(RGB(255, 0, 255), GetPixel(hdcMem, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdcMem, 1, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdcMem, 3, 1));
    // Selected elsewhere, the bitmap cannot be drawn.
    EXPECT_FALSE(DrawTransparentBitmap(m_hdc, hBitmap, 0, 0, 0, 0, 0, -1, -1));
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    DeleteObject(hBitmap);
    EXPECT_FALSE(DrawTransparentBitmap(m_hdc, hBitmap, 0, 0, 0, 0, 0, -1, -1));
}

TEST_F(DrawTest, DisabledBitmapAndDitherBrush)
{
    // White background with a black 2 x 2 block at (1,1) in a 5 x 5 bitmap.
    DWORD bits[25];
    for (int i = 0; i < 25; ++i)
        bits[i] = 0xFFFFFF;
    bits[6] = bits[7] = bits[11] = bits[12] = 0;
    HBITMAP hBitmap = CreateBitmap(5, 5, 1, 32, bits);
    HBITMAP hDisabled = CreateDisabledBitmap(hBitmap);
    ASSERT_NE(nullptr, hDisabled);
    HDC hdcMem = CreateCompatibleDC(m_hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hDisabled);
    BitBlt(m_hdc, 0, 0, 5, 5, hdcMem, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    std::vector<std::string> embossed = {"FFFFF", "FSSFF", "FSSLF", "FFLLF", "FFFFF"};
    EXPECT_EQ(embossed, Rows(0, 0, 5, 5));
    DeleteObject(hDisabled);
    DeleteObject(hBitmap);
    EXPECT_EQ(nullptr, CreateDisabledBitmap(nullptr));

    HBRUSH hDither = CreateDitherBrush();
    ASSERT_NE(nullptr, hDither);
    SetTextColor(m_hdc, RGB(0, 0, 0));
    SetBkColor(m_hdc, RGB(255, 255, 255));
    RECT rc = {10, 0, 18, 4};
    FillRect(m_hdc, &rc, hDither);
    DeleteObject(hDither);
    std::string strRow0 = Row(0, 10, 18), strRow1 = Row(1, 10, 18);
    EXPECT_TRUE(strRow0 == "KLKLKLKL" || strRow0 == "LKLKLKLK") << strRow0;
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(strRow0[i], strRow1[i]) << "a checkerboard at column " << i;
}

TEST(DrawColors, HlsConversionAndShades)
{
    EXPECT_EQ(0xF07800u, RgbToHls(RGB(255, 0, 0)));        // hue 0, lightness 120, saturation 240
    EXPECT_EQ(RGB(255, 0, 0), HlsToRgb(0, 120, 240));
    EXPECT_EQ(160u, RgbToHls(RGB(128, 128, 128)) & 0xFF) << "grey takes the undefined hue";
    for (COLORREF cr : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0), RGB(0, 0, 0),
                        RGB(255, 255, 255)}) {
        DWORD dw = RgbToHls(cr);
        EXPECT_EQ(cr, HlsToRgb(dw & 0xFF, (dw >> 8) & 0xFF, (dw >> 16) & 0xFF)) << std::hex << cr;
    }
    EXPECT_EQ(RGB(0, 0, 0), ShadeColor(RGB(255, 0, 0), 0));
    EXPECT_EQ(RGB(255, 0, 0), ShadeColor(RGB(255, 0, 0), 100));
    COLORREF crLight = ShadeColor(RGB(200, 40, 40), 130);
    COLORREF crDark = ShadeColor(RGB(200, 40, 40), 67);
    EXPECT_GT(GetGValue(crLight), 40);
    EXPECT_LT(GetRValue(crDark), 200);
    EXPECT_EQ(RGB(255, 255, 255), ShadeColor(RGB(255, 255, 255), 300)) << "lightness stays within the scale";
}
