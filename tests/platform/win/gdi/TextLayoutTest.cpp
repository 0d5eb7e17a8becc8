// Text layout on the headless stand-in font (every character half as wide as the font is high),
// so positions are exact: alignment, word breaking, mnemonics, ellipsis and the current position.
#include <gtest/gtest.h>
#include "platform/win/gdi/Gdi.h"

namespace {
struct TextTest : ::testing::Test {
    void SetUp() override
    {
        hdc = CreateCompatibleDC(nullptr);
        LOGFONTA lf = {};
        lf.lfHeight = -10;          // stand-in cells: 5 pixels wide, 10 high
        hFont = CreateFontIndirectA(&lf);
        hOld = SelectObject(hdc, hFont);
    }
    void TearDown() override
    {
        SelectObject(hdc, hOld);
        DeleteObject(hFont);
        DeleteDC(hdc);
    }
    HDC hdc = nullptr;
    HFONT hFont = nullptr;
    HGDIOBJ hOld = nullptr;
};
}

TEST_F(TextTest, CalcRectMeasuresLinesWordsAndMnemonics)
{
    RECT rc = {0, 0, 100, 0};
    EXPECT_EQ(10, DrawTextA(hdc, "&File", -1, &rc, DT_CALCRECT | DT_SINGLELINE));
    EXPECT_EQ(20, rc.right);                       // the '&' is not shown
    rc = RECT{0, 0, 100, 0};
    DrawTextA(hdc, "&File", -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(25, rc.right);
    rc = RECT{0, 0, 100, 0};
    EXPECT_EQ(30, DrawTextA(hdc, "one\r\ntwo\nthree", -1, &rc, DT_CALCRECT));
    EXPECT_EQ(25, rc.right);                       // the widest line
    rc = RECT{0, 0, 50, 0};                        // ten characters a line
    EXPECT_EQ(30, DrawTextA(hdc, "alpha beta gamma delta", -1, &rc, DT_CALCRECT | DT_WORDBREAK));
    EXPECT_EQ(50, rc.right);                       // "alpha beta", "gamma", "delta"
    rc = RECT{0, 0, 100, 0};
    DrawTextA(hdc, "a\tb", -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(45, rc.right);                       // the tab runs to column 8
    SIZE size;
    ASSERT_TRUE(GetTextExtentPoint32A(hdc, "abcd", 4, &size));
    EXPECT_EQ(20, size.cx);
    EXPECT_EQ(10, size.cy);
    EXPECT_FALSE(GetTextExtentPoint32A(hdc, nullptr, 3, &size));
}

TEST_F(TextTest, OpaqueBackgroundFollowsAlignmentAndTheCurrentPosition)
{
    HBITMAP hBitmap = CreateBitmap(60, 20, 1, 32, nullptr);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hBitmap);
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(0, 0, 255));
    RECT rc = {0, 0, 60, 20};
    DrawTextA(hdc, "ab", 2, &rc, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
    // The text's cell is 10 wide at the right edge, vertically centred: rows 5..14.
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(hdc, 50, 5));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(hdc, 59, 14));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdc, 49, 10));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(hdc, 55, 15));

    SetTextAlign(hdc, TA_UPDATECP);
    MoveToEx(hdc, 3, 0, nullptr);
    TextOutA(hdc, 0, 0, "xyz", 3);
    POINT pt;
    GetCurrentPositionEx(hdc, &pt);
    EXPECT_EQ(18, pt.x);                           // moved on by the text's width
    SetTextAlign(hdc, TA_RIGHT | TA_BOTTOM);
    SetBkColor(hdc, RGB(255, 0, 0));
    TextOutA(hdc, 40, 20, "q", 1);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(hdc, 35, 10));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(hdc, 39, 19));
    EXPECT_NE(RGB(255, 0, 0), GetPixel(hdc, 40, 19));
    SelectObject(hdc, hOldBitmap);
    DeleteObject(hBitmap);
}
