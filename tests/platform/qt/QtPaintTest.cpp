// Painting with the real font engine: measured text, right-aligned and right-to-left Arabic from
// code page 1256, the widget showing the backing image, and screenshots written as PNG files.
#include <gtest/gtest.h>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>
#include <algorithm>
#include <cstring>
#include <vector>
#include "QtTestSupport.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/SysMetrics.h"

namespace {
HFONT MakeFont(int nHeight, BYTE nCharSet, LONG nWeight = FW_NORMAL)
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfCharSet = nCharSet;
    lf.lfQuality = 3;       // no smoothing: text pixels are exactly the text colour
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Tahoma");
    return CreateFontIndirectA(&lf);
}

// Columns that hold a pixel of the colour, as a left..right range; {-1, -1} for none.
std::pair<int, int> InkColumns(HDC hdc, const RECT& rc, COLORREF cr)
{
    int nLeft = -1, nRight = -1;
    for (int x = rc.left; x < rc.right; ++x)
        for (int y = rc.top; y < rc.bottom; ++y)
            if (GetPixel(hdc, x, y) == cr) {
                if (nLeft < 0)
                    nLeft = x;
                nRight = x;
                break;
            }
    return {nLeft, nRight};
}

struct QtPaintTest : ::testing::Test {
    void SetUp() override
    {
        hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 120);
        ASSERT_NE(nullptr, hWnd);
        PumpQt(10);
        hdc = GetDC(hWnd);
        RECT rc = {0, 0, 320, 120};
        FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    void TearDown() override
    {
        ReleaseDC(hWnd, hdc);
        DestroyWindow(hWnd);
        PumpQt(10);
    }
    HWND hWnd = nullptr;
    HDC hdc = nullptr;
};
}

TEST_F(QtPaintTest, FontsMeasureFromTheRealFace)
{
    HFONT hFont = MakeFont(-16, ANSI_CHARSET);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(hdc, &tm));
    EXPECT_GE(tm.tmHeight, 16);
    EXPECT_LT(tm.tmHeight, 30);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    SIZE sizeW, sizeI;
    GetTextExtentPoint32A(hdc, "WWWW", 4, &sizeW);
    GetTextExtentPoint32A(hdc, "iiii", 4, &sizeI);
    EXPECT_GT(sizeW.cx, sizeI.cx);
    EXPECT_EQ(tm.tmHeight, sizeW.cy);
    // DT_CALCRECT answers the size the text needs without drawing.
    RECT rc = {0, 0, 1000, 0};
    int nHeight = DrawTextA(hdc, "WWWW", -1, &rc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(sizeW.cx, rc.right);
    EXPECT_EQ(tm.tmHeight, nHeight);
    SelectObject(hdc, hOld);
    DeleteObject(hFont);
}

TEST_F(QtPaintTest, RightAlignedArabicTextFromCodePage1256)
{
    HFONT hFont = MakeFont(-18, ARABIC_CHARSET);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, RGB(0, 0, 128));
    // "The market" in Arabic, as the server sends it in code page 1256.
    const char* pszArabic = "\xC7\xE1\xD3\xE6\xDE";
    RECT rcLine = {10, 10, 310, 50};
    DrawTextA(hdc, pszArabic, -1, &rcLine, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_RTLREADING | DT_NOPREFIX);
    auto ink = InkColumns(hdc, rcLine, RGB(0, 0, 128));
    ASSERT_GE(ink.first, 0) << "no text drawn";
    EXPECT_GT(ink.first, 200);              // right-aligned: nothing near the left edge
    EXPECT_LE(ink.second, 310);
    EXPECT_GE(ink.second, 300);
    SIZE size;
    GetTextExtentPoint32A(hdc, pszArabic, 5, &size);
    EXPECT_GT(size.cx, 10);

    // Reading order: Latin text before the Arabic word stands to its right in a right-to-left line.
    const char* pszMixed = "ABC \xC7\xE1\xD3\xE6\xDE";
    RECT rcLtr = {10, 60, 310, 85}, rcRtl = {10, 85, 310, 110};
    DrawTextA(hdc, pszMixed, -1, &rcLtr, DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX);
    DrawTextA(hdc, pszMixed, -1, &rcRtl, DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX | DT_RTLREADING);
    auto inkLtr = InkColumns(hdc, rcLtr, RGB(0, 0, 128));
    auto inkRtl = InkColumns(hdc, rcRtl, RGB(0, 0, 128));
    EXPECT_EQ(inkLtr.second - inkLtr.first, inkRtl.second - inkRtl.first);
    bool bSame = true;
    for (int x = inkLtr.first; x <= inkLtr.second && bSame; ++x)
        for (int y = 0; y < 25 && bSame; ++y)
            bSame = (GetPixel(hdc, x, rcLtr.top + y) == RGB(0, 0, 128)) == (GetPixel(hdc, x, rcRtl.top + y) == RGB(0, 0, 128));
    EXPECT_FALSE(bSame) << "the right-to-left line came out in left-to-right order";
    TbSaveWindowPng(hWnd, ScreenshotPath("arabic_text").c_str());
    SelectObject(hdc, hOld);
    DeleteObject(hFont);
}

// A light Arabic font joins its letters: the faces with a light weight hold Latin alone, and
// Arabic taken from them letter by letter would come out unjoined and wider.
TEST_F(QtPaintTest, LightArabicTextDrawsJoinedAsTheRegularWeightDoes)
{
    const char* pszArabic = "\xC7\xE1\xE5\xE6\xC7\xE3\xD4";       // "the margins", code page 1256
    std::pair<int, int> ink[2];
    for (int i = 0; i < 2; ++i) {
        HFONT hFont = MakeFont(-18, ARABIC_CHARSET, i == 0 ? FW_NORMAL : FW_LIGHT);
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        SetTextColor(hdc, RGB(0, 0, 128));
        RECT rcLine = {10, 10 + 40 * i, 310, 40 + 40 * i};
        DrawTextA(hdc, pszArabic, -1, &rcLine, DT_SINGLELINE | DT_RIGHT | DT_RTLREADING | DT_NOPREFIX);
        ink[i] = InkColumns(hdc, rcLine, RGB(0, 0, 128));
        SelectObject(hdc, hOld);
        DeleteObject(hFont);
    }
    EXPECT_EQ(ink[0], ink[1]);
}

// Ink per pixel column of the colour, from the first inked column to the last.
std::vector<int> InkProfile(HDC hdc, const RECT& rc, COLORREF cr)
{
    std::vector<int> counts;
    for (int x = rc.left; x < rc.right; ++x) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            n += GetPixel(hdc, x, y) == cr;
        counts.push_back(n);
    }
    while (!counts.empty() && counts.back() == 0)
        counts.pop_back();
    counts.erase(counts.begin(), std::find_if(counts.begin(), counts.end(), [](int n) { return n != 0; }));
    return counts;
}

// A page range typed into a field shows in the order typed, whether the field reads left to right
// or right to left: digits and their separator are no right-to-left text; its first character
// selected marks the "2" and leaves "-7", and the caret after it stands between "2" and "-".
TEST_F(QtPaintTest, EditsShowANumberRangeInTheOrderTyped)
{
    HFONT hFont = MakeFont(-18, ARABIC_CHARSET);
    const COLORREF crText = GetSysColor(COLOR_WINDOWTEXT);
    auto Drawn = [&](const char* pszText) {         // the ink of the text drawn left to right
        HGDIOBJ hOld = SelectObject(hdc, hFont);
        RECT rcRef = {10, 80, 300, 110};
        FillRect(hdc, &rcRef, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(hdc, crText);
        DrawTextA(hdc, pszText, -1, &rcRef, DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(hdc, hOld);
        return InkProfile(hdc, rcRef, crText);
    };
    const std::vector<int> expected = Drawn("2-7"), expectedTwo = Drawn("2"), expectedRest = Drawn("-7");
    ASSERT_FALSE(expected.empty());

    const struct { DWORD dwStyle, dwExStyle; } fields[] = {
        {0, 0}, {ES_RIGHT, 0}, {0, WS_EX_RTLREADING}, {ES_RIGHT, WS_EX_RTLREADING | WS_EX_RIGHT}};
    for (const auto& f : fields) {
        HWND hEdit = CreateWindowExA(f.dwExStyle, "Edit", "", WS_CHILD | WS_VISIBLE | ES_NOHIDESEL | f.dwStyle, 10, 10, 200, 28, hWnd,
                                     nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, hEdit);
        SendMessageA(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        SetFocus(hEdit);
        for (char ch : {'2', '-', '7'})
            SendMessageA(hEdit, WM_CHAR, static_cast<WPARAM>(ch), 0);
        SetFocus(hWnd);
        UpdateWindow(hEdit);
        HDC hdcEdit = GetDC(hEdit);
        RECT rcEdit = {0, 0, 200, 28};
        SCOPED_TRACE(::testing::Message() << "style " << std::hex << f.dwStyle << " ex style " << f.dwExStyle);
        EXPECT_EQ(expected, InkProfile(hdcEdit, rcEdit, crText));
        // The first character selected marks the "2", wherever the line stands.
        SendMessageA(hEdit, EM_SETSEL, 0, 1);
        UpdateWindow(hEdit);
        RECT rcMarked = {200, 28, 0, 0};
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 28; ++y)
                if (GetPixel(hdcEdit, x, y) == GetSysColor(COLOR_HIGHLIGHT)) {
                    rcMarked = RECT{std::min<LONG>(rcMarked.left, x), std::min<LONG>(rcMarked.top, y),
                                    std::max<LONG>(rcMarked.right, x + 1), std::max<LONG>(rcMarked.bottom, y + 1)};
                }
        EXPECT_EQ(expectedTwo, InkProfile(hdcEdit, rcMarked, GetSysColor(COLOR_HIGHLIGHTTEXT)));
        EXPECT_EQ(expectedRest, InkProfile(hdcEdit, rcEdit, crText));
        // The caret after the "2" stands between it and the "-".
        SetFocus(hEdit);
        SendMessageA(hEdit, EM_SETSEL, 1, 1);
        POINT ptCaret = {};
        ASSERT_TRUE(GetCaretPos(&ptCaret));
        EXPECT_EQ(rcMarked.right, ptCaret.x);
        SetFocus(hWnd);
        ReleaseDC(hEdit, hdcEdit);
        if (f.dwExStyle & WS_EX_RTLREADING) {
            // After a word the number stands at the left, its digits left to right: the carets
            // 0 .. 5 of two Arabic letters, a space and "12" run leftwards to the "1", then rightwards.
            SetWindowTextA(hEdit, "\xD5\xD5 12");
            SetFocus(hEdit);
            int x[6];
            for (int i = 0; i < 6; ++i) {
                SendMessageA(hEdit, EM_SETSEL, i, i);
                POINT pt = {};
                GetCaretPos(&pt);
                x[i] = pt.x;
            }
            EXPECT_TRUE(x[3] < x[4] && x[4] < x[5] && x[5] < x[2] && x[2] < x[1] && x[1] < x[0])
                << x[0] << " " << x[1] << " " << x[2] << " " << x[3] << " " << x[4] << " " << x[5];
            SetFocus(hWnd);
        }
        DestroyWindow(hEdit);
    }
    DeleteObject(hFont);
}

TEST_F(QtPaintTest, OpaqueTextFillsItsCellAndClipsToTheRectangle)
{
    HFONT hFont = MakeFont(-14, ANSI_CHARSET);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, RGB(255, 255, 0));
    SetTextColor(hdc, RGB(0, 0, 0));
    RECT rc = {20, 20, 60, 40};
    DrawTextA(hdc, "A long text cut at the cell", -1, &rc, DT_SINGLELINE | DT_LEFT | DT_VCENTER);
    EXPECT_EQ(RGB(255, 255, 0), GetPixel(hdc, 58, 30) == RGB(0, 0, 0) ? RGB(255, 255, 0) : GetPixel(hdc, 58, 30));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(hdc, 61, 30));          // nothing past the cell
    EXPECT_NE(-1, InkColumns(hdc, rc, RGB(0, 0, 0)).first);
    SelectObject(hdc, hOld);
    DeleteObject(hFont);
}

TEST_F(QtPaintTest, WidgetShowsTheBackingImageAndScreenshotsAreWritten)
{
    // A small scene: a 3-D looking frame, a filled cell, a focus frame and text.
    HPEN hLight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HPEN hDark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    RECT rcFace = {10, 10, 150, 40};
    FillRect(hdc, &rcFace, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ hOld = SelectObject(hdc, hLight);
    MoveToEx(hdc, 10, 39, nullptr);
    LineTo(hdc, 10, 10);
    LineTo(hdc, 149, 10);
    SelectObject(hdc, hDark);
    LineTo(hdc, 149, 39);
    LineTo(hdc, 9, 39);
    SelectObject(hdc, hOld);
    SetBkMode(hdc, TRANSPARENT);
    TextOutA(hdc, 16, 16, "Quotes", 6);
    RECT rcFocus = {160, 10, 300, 40};
    DrawFocusRect(hdc, &rcFocus);
    ReleaseDC(hWnd, hdc);
    hdc = GetDC(hWnd);
    PumpQt(20);

    QWidget* pWidget = TbQtWidgetOf(hWnd);
    ASSERT_NE(nullptr, pWidget);
    QImage shown = pWidget->grab().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(qRed(shown.pixel(50, 30)), qGreen(shown.pixel(50, 30)), qBlue(shown.pixel(50, 30))));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(qRed(shown.pixel(149, 20)), qGreen(shown.pixel(149, 20)), qBlue(shown.pixel(149, 20))));

    std::string strPath = ScreenshotPath("scene");
    remove(strPath.c_str());
    ASSERT_TRUE(TbSaveWindowPng(hWnd, strPath.c_str()));
    QImage saved(QString::fromStdString(strPath));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(320, saved.width());
    EXPECT_EQ(120, saved.height());
    EXPECT_EQ(shown.pixel(50, 30), saved.pixel(50, 30));
    DeleteObject(hLight);
    DeleteObject(hDark);
}

namespace {
// Counts the repaints the display makes of a widget.
struct PaintCounter : QObject {
    int nPaints = 0;
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        nPaints += pEvent->type() == QEvent::Paint;
        return false;
    }
};
}  // namespace

// An indicator copied onto a window on every tick: the display repaints only when the picture
// changes, not for a copy of what it already shows.
TEST_F(QtPaintTest, APictureCopiedOverItselfIsNotShownAgain)
{
    QWidget* pWidget = TbQtWidgetOf(hWnd);
    ASSERT_NE(nullptr, pWidget);
    ReleaseDC(hWnd, hdc);
    hdc = GetDC(hWnd);
    PumpQt(20);
    PaintCounter counter;
    pWidget->installEventFilter(&counter);
    HDC hdcMem = CreateCompatibleDC(nullptr);
    HBITMAP hbm = CreateCompatibleBitmap(hdc, 16, 16);
    HGDIOBJ hOld = SelectObject(hdcMem, hbm);
    auto copy = [&](COLORREF cr) {
        RECT rc = {0, 0, 16, 16};
        HBRUSH hbr = CreateSolidBrush(cr);
        FillRect(hdcMem, &rc, hbr);
        DeleteObject(hbr);
        HDC hdcWnd = GetDC(hWnd);
        BitBlt(hdcWnd, 10, 10, 16, 16, hdcMem, 0, 0, SRCCOPY);
        ReleaseDC(hWnd, hdcWnd);
        counter.nPaints = 0;
        PumpQt(30);
        const bool bRepainted = counter.nPaints > 0;      // before the picture: taking it paints too
        const QRgb px = pWidget->grab().toImage().pixel(15, 15);
        return std::to_string(bRepainted) + " " + QColor(px).name().toStdString();
    };
    EXPECT_EQ("1 #ff0000", copy(RGB(255, 0, 0))) << "the first copy shows";
    EXPECT_EQ("0 #ff0000", copy(RGB(255, 0, 0))) << "the same picture again: nothing to show";
    EXPECT_EQ("1 #0000ff", copy(RGB(0, 0, 255))) << "a changed picture shows";
    pWidget->removeEventFilter(&counter);
    SelectObject(hdcMem, hOld);
    DeleteObject(hbm);
    DeleteDC(hdcMem);
}

TEST_F(QtPaintTest, ImagesLoadFromPngFilesWithTheirTransparency)
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(qRgba(255, 0, 0, 255));
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    std::string strPath = ScreenshotPath("tiny_icon");
    ASSERT_TRUE(image.save(QString::fromStdString(strPath), "PNG"));
    HBITMAP hBitmap = static_cast<HBITMAP>(LoadImageA(nullptr, strPath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(nullptr, hBitmap);
    BITMAP bm;
    ASSERT_EQ(static_cast<int>(sizeof bm), GetObjectA(hBitmap, sizeof bm, &bm));
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(3, bm.bmHeight);
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(hdcMem, 2, 2));
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    DeleteObject(hBitmap);
}
