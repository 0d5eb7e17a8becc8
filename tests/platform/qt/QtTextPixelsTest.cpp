// Strings kept laid out and drawn with the paint's one painter give exactly the pixels of a
// painter and a layout made for every string.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <vector>
#include "QtTestSupport.h"
#include "platform/win/gdi/Gdi.h"

namespace {
const int PAGE_CX = 480;
const int PAGE_CY = 610;

HFONT MakeFont(const char* pszFace, int nHeight, BYTE nCharSet, LONG nWeight, BOOL bItalic, BOOL bUnderline)
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic);
    lf.lfUnderline = static_cast<BYTE>(bUnderline);
    lf.lfCharSet = nCharSet;
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", pszFace);
    return CreateFontIndirectA(&lf);
}

// Latin, numbers and Arabic (code page 1256) in both directions, clipped and not, opaque and
// transparent, with fills between the strings as a grid draws its cells.
void DrawPage(HDC hdc)
{
    RECT rcAll = {0, 0, PAGE_CX, PAGE_CY};
    FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HFONT fonts[] = {
        MakeFont("Tahoma", -13, ANSI_CHARSET, FW_NORMAL, FALSE, FALSE),
        MakeFont("DejaVu Serif", -17, ANSI_CHARSET, FW_BOLD, TRUE, TRUE),
        MakeFont("Tahoma", 15, ARABIC_CHARSET, FW_NORMAL, FALSE, FALSE),
        MakeFont("", -11, ARABIC_CHARSET, FW_SEMIBOLD, FALSE, TRUE),
        MakeFont("DejaVu Sans", -12, ANSI_CHARSET, FW_BOLD, TRUE, FALSE),
    };
    const char* strings[] = {
        "12,345.50", "Bid 1,024.75 / Ask 1,025.00", "\xC7\xE1\xD3\xDA\xD1 12,345.50",
        "\xC7\xE1\xD4\xD1\xDF\xC9 Ltd. 99", "-0.25%", "Mixed \xC7\xE1\xD3\xE6\xE3 text 42",
        "1,024.75", "(5.5) 12:30:05", "-3 100/64",   // numbers take a path of their own
    };
    HBRUSH hbrCell = CreateSolidBrush(RGB(230, 240, 250));
    int y = 2;
    for (int nPass = 0; nPass < 2; ++nPass) {       // the second pass finds every string laid out
        for (size_t f = 0; f < std::size(fonts); ++f) {
            HGDIOBJ hOld = SelectObject(hdc, fonts[f]);
            for (size_t s = 0; s < std::size(strings); ++s) {
                BOOL bRtl = (s + f) % 2 == 1;
                BOOL bOpaque = (s + f + static_cast<size_t>(nPass)) % 3 == 0;
                int x = static_cast<int>(s % 3) * 160 + 2;
                RECT rcCell = {x, y, x + (s % 2 ? 70 : 155), y + 18};
                FillRect(hdc, &rcCell, hbrCell);
                SetBkMode(hdc, bOpaque ? OPAQUE : TRANSPARENT);
                SetBkColor(hdc, RGB(255, 255, 200));
                SetTextColor(hdc, RGB(static_cast<int>(40 * f), 0, static_cast<int>(60 * s)));
                if ((s + static_cast<size_t>(nPass)) % 2 == 0) {
                    UINT uFormat = DT_SINGLELINE | DT_VCENTER | (s % 3 == 0 ? DT_RIGHT : DT_LEFT) |
                                   (bRtl ? DT_RTLREADING : 0) | (s == 4 ? DT_NOCLIP : 0);
                    DrawTextA(hdc, strings[s], -1, &rcCell, uFormat);
                } else {
                    SetTextAlign(hdc, (s % 3 == 1 ? TA_RIGHT : TA_LEFT) | (bRtl ? TA_RTLREADING : 0));
                    int xText = s % 3 == 1 ? rcCell.right : rcCell.left;
                    ExtTextOutA(hdc, xText, rcCell.top, s == 5 ? 0 : ETO_CLIPPED | (bOpaque ? ETO_OPAQUE : 0), &rcCell,
                                strings[s], static_cast<UINT>(strlen(strings[s])), nullptr);
                }
                if (s % 3 == 2)
                    y += 20;
            }
            SelectObject(hdc, hOld);
        }
    }
    SetTextAlign(hdc, TA_LEFT);
    DeleteObject(hbrCell);
    for (HFONT hFont : fonts)
        DeleteObject(hFont);
}

std::vector<COLORREF> Pixels(HWND hWnd)
{
    HDC hdc = GetDC(hWnd);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < PAGE_CY; ++y)
        for (int x = 0; x < PAGE_CX; ++x)
            pixels.push_back(GetPixel(hdc, x, y));
    ReleaseDC(hWnd, hdc);
    return pixels;
}

std::vector<COLORREF> PaintedPage(HWND hWnd, BOOL bKeepLayouts)
{
    TbQtKeepTextLayouts(bKeepLayouts);
    InvalidateRect(hWnd, nullptr, FALSE);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    DrawPage(hdc);
    EndPaint(hWnd, &ps);
    std::vector<COLORREF> pixels = Pixels(hWnd);
    TbQtKeepTextLayouts(TRUE);
    return pixels;
}
}

TEST(QtTextPixelsTest, KeptLayoutsDrawTheSamePixelsAsALayoutPerString)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_POPUP | WS_VISIBLE, 0, 0, PAGE_CX, PAGE_CY);
    ASSERT_NE(nullptr, hWnd);
    PumpQt(10);
    std::vector<COLORREF> before = PaintedPage(hWnd, FALSE);
    std::vector<COLORREF> after = PaintedPage(hWnd, TRUE);
    std::vector<COLORREF> again = PaintedPage(hWnd, TRUE);
    ASSERT_EQ(before.size(), after.size());
    size_t nText = 0, nDiffer = 0, nFirst = before.size();
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != RGB(255, 255, 255) && before[i] != RGB(230, 240, 250) && before[i] != RGB(255, 255, 200))
            ++nText;
        if (before[i] != after[i] || before[i] != again[i]) {
            ++nDiffer;
            nFirst = std::min(nFirst, i);
        }
    }
    EXPECT_GT(nText, 2000u);        // the page holds text, not only fills
    EXPECT_EQ(0u, nDiffer) << "first at x " << nFirst % PAGE_CX << ", y " << nFirst / PAGE_CX;
    DestroyWindow(hWnd);
    PumpQt(10);
}

// A date in a grid's 70-pixel column: Arial 10, right-aligned between the grid's 3-pixel margins.
// The widths were made for whole-pixel advances ("07/12/2026" is 64 pixels there); wider text
// would start left of the margin and lose the first digit's left stroke to the clip.
TEST(QtTextPixelsTest, ADateFitsTheGridsColumnAndDrawsItsFirstDigitWhole)
{
    const int CX = 120;
    const int CY = 30;
    HWND hWnd = CreateQtWindow(nullptr, WS_POPUP | WS_VISIBLE, 0, 0, CX, CY);
    ASSERT_NE(nullptr, hWnd);
    PumpQt(10);
    const char* pszDate = "07/12/2026";
    const RECT rcCell = {20, 4, 90, 22};
    const RECT rcText = {rcCell.left + 3, rcCell.top, rcCell.right - 3, rcCell.bottom};
    const UINT uFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT;
    HFONT hFont = MakeFont("Arial", -13, ANSI_CHARSET, FW_NORMAL, FALSE, FALSE);
    // The cell drawn as the grid draws it, or without the clip; each pixel row read back.
    auto draw = [&](UINT uExtra) {
        InvalidateRect(hWnd, nullptr, FALSE);
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hWnd, &ps);
        RECT rcAll = {0, 0, CX, CY};
        FillRect(hdc, &rcAll, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        SetBkMode(hdc, TRANSPARENT);
        RECT rc = rcText;
        DrawTextA(hdc, pszDate, -1, &rc, uFormat | uExtra);
        SelectObject(hdc, hOld);
        EndPaint(hWnd, &ps);
        std::vector<std::vector<bool>> ink(CY, std::vector<bool>(CX));
        HDC hdcRead = GetDC(hWnd);
        for (int y = 0; y < CY; ++y)
            for (int x = 0; x < CX; ++x)
                ink[y][x] = GetRValue(GetPixel(hdcRead, x, y)) < 240;     // faint edges too
        ReleaseDC(hWnd, hdcRead);
        return ink;
    };
    const auto clipped = draw(0);
    const auto whole = draw(DT_NOCLIP);
    int xFirst = CX;
    for (int y = 0; y < CY; ++y)
        for (int x = 0; x < CX; ++x)
            if (whole[y][x])
                xFirst = std::min(xFirst, x);
    EXPECT_GE(xFirst, rcText.left) << "the unclipped date starts inside the margins";
    EXPECT_LE(xFirst, rcText.left + 2) << "and fills the column as the original's does";
    // The first digit's columns hold the same ink as the unclipped drawing: nothing was cut.
    int nInk = 0, nCut = 0;
    for (int y = 0; y < CY; ++y)
        for (int x = rcCell.left; x < rcText.left + 7; ++x) {
            nCut += whole[y][x] != clipped[y][x] ? 1 : 0;
            nInk += clipped[y][x] ? 1 : 0;
        }
    EXPECT_EQ(0, nCut) << "pixels of the first digit cut by the clip";
    EXPECT_GE(nInk, 10) << "the zero's strokes are on screen";

    // Measuring agrees with drawing, in whole pixels as wide as the original's.
    HDC hdc = GetDC(hWnd);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size = {};
    ASSERT_TRUE(GetTextExtentPoint32A(hdc, pszDate, 10, &size));
    RECT rcCalc = {0, 0, 0, 0};
    DrawTextA(hdc, pszDate, -1, &rcCalc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(hdc, hOld);
    ReleaseDC(hWnd, hdc);
    EXPECT_LE(size.cx, 64);
    EXPECT_EQ(size.cx, rcCalc.right - rcCalc.left);
    DeleteObject(hFont);
    DestroyWindow(hWnd);
}
