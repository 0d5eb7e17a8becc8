// The grid's column panes: hit tests, lines, horizontal scrolling, cell colours, decimal insets
// and the focus frame, through a real grid window on the offscreen display.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewRow.h"
#include "framework/window/CellText.h"
#include "platform/win/kernel/CodePage.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

// The pixels of a rectangle of the grid's backing image.
std::vector<COLORREF> Pixels(HWND hWnd, const RECT& rc)
{
    std::vector<COLORREF> pixels;
    HDC hdc = GetDC(hWnd);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(GetPixel(hdc, x, y));
    ReleaseDC(hWnd, hdc);
    return pixels;
}

COLORREF PixelAt(HWND hWnd, int x, int y)
{
    HDC hdc = GetDC(hWnd);
    COLORREF cr = GetPixel(hdc, x, y);
    ReleaseDC(hWnd, hdc);
    return cr;
}

void Repaint(HWND hWnd)
{
    InvalidateRect(hWnd, nullptr, FALSE);
    UpdateWindow(hWnd);
}

// Mirrored layout for the life of a test, whatever it asserts.
class CRightToLeft
{
public:
    CRightToLeft() { GetNorvGlobals().SetRightToLeft(TRUE); }
    ~CRightToLeft() { GetNorvGlobals().SetRightToLeft(FALSE); }
};

}  // namespace

TEST(TableWindowArea, HitTestsAndLineRectangles)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow grid(table.View(), 600, 300);
    ASSERT_NE(nullptr, grid.Hwnd());
    CTableWindowArea& pane = grid->GetScrollPane();
    const RECT rcCells = pane.GetCellRect();
    const int nRowHeight = grid->GetRowHeight();
    const int nWidth0 = grid->GetColumnWidth(0);
    ASSERT_GT(nWidth0, 0);
    ASSERT_LT(pane.GetTotalWidth(), pane.GetRect().right - pane.GetRect().left);

    EXPECT_EQ(-1, pane.ColumnFromX(rcCells.left - 1));
    EXPECT_EQ(0, pane.ColumnFromX(rcCells.left));
    EXPECT_EQ(0, pane.ColumnFromX(rcCells.left + nWidth0 - 1));
    EXPECT_EQ(1, pane.ColumnFromX(rcCells.left + nWidth0));
    EXPECT_EQ(GRID_COLUMNS - 1, pane.ColumnFromX(rcCells.left + pane.GetTotalWidth() - 1));
    EXPECT_EQ(-2, pane.ColumnFromX(rcCells.left + pane.GetTotalWidth()));

    EXPECT_EQ(-3, pane.RowFromY(-1));
    EXPECT_EQ(-1, pane.RowFromY(rcCells.top - 1));
    EXPECT_EQ(0, pane.RowFromY(rcCells.top));
    EXPECT_EQ(3, pane.RowFromY(rcCells.top + 3 * nRowHeight + 1));
    // Five rows: the sixth line is the append line, and everything below it counts as it.
    EXPECT_EQ(-2, pane.RowFromY(rcCells.top + 5 * nRowHeight));
    EXPECT_EQ(-2, pane.RowFromY(rcCells.top + 8 * nRowHeight));
    EXPECT_EQ(-3, pane.RowFromY(rcCells.bottom));

    RECT rc;
    ASSERT_TRUE(pane.GetLineRect(2, &rc));
    EXPECT_EQ(rcCells.top + 2 * nRowHeight, rc.top);
    EXPECT_EQ(nRowHeight, rc.bottom - rc.top);
    EXPECT_EQ(rcCells.left, rc.left);
    EXPECT_EQ(rcCells.right, rc.right);
    ASSERT_TRUE(pane.GetLineRect(-2, &rc));
    EXPECT_EQ(rcCells.top + 5 * nRowHeight, rc.top);
    EXPECT_FALSE(pane.GetLineRect(1000, &rc));
}

TEST(TableWindowArea, AppendLineOffScreenIsNoLine)
{
    CGridTable table;
    table.Fill(100);
    CGridWindow grid(table.View(), 600, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    RECT rc;
    EXPECT_FALSE(pane.GetLineRect(-2, &rc));
    // Lines are all rows: the last one that fits is a row line, not the append line.
    const int nLast = pane.GetLinesThatFit() - 1;
    EXPECT_EQ(nLast, pane.RowFromY(pane.GetCellRect().top + nLast * grid->GetRowHeight()));
}

TEST(TableWindowArea, ScrollingStepsAndClamps)
{
    CGridTable table;
    table.Fill(20);
    CGridWindow grid(table.View(), 120, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    const int nPaneWidth = pane.GetRect().right - pane.GetRect().left;
    ASSERT_GT(pane.GetTotalWidth(), nPaneWidth);
    EXPECT_TRUE(pane.IsScrollBarShown());
    EXPECT_EQ(pane.GetTotalWidth() - nPaneWidth, pane.GetMaxOffset());

    pane.Scroll(SB_LINELEFT, 0);
    EXPECT_EQ(0, pane.GetOffset());
    pane.Scroll(SB_LINERIGHT, 0);
    EXPECT_EQ(10, pane.GetOffset());
    pane.Scroll(SB_PAGERIGHT, 0);
    EXPECT_EQ(10 + nPaneWidth * 5 / 6, pane.GetOffset());
    pane.Scroll(SB_THUMBTRACK, 7);
    EXPECT_EQ(7, pane.GetOffset());
    pane.Scroll(SB_RIGHT, 0);
    EXPECT_EQ(pane.GetMaxOffset(), pane.GetOffset());
    pane.Scroll(SB_LINERIGHT, 0);
    EXPECT_EQ(pane.GetMaxOffset(), pane.GetOffset());
    pane.Scroll(SB_THUMBPOSITION, 100000);
    EXPECT_EQ(pane.GetMaxOffset(), pane.GetOffset());
    EXPECT_EQ(pane.GetMaxOffset(), GetScrollPos(pane.GetScrollBar().GetSafeHwnd(), SB_CTL));
    // Scrolled to the end the last column ends flush with the pane's right edge.
    EXPECT_EQ(GRID_COLUMNS - 1, pane.ColumnFromX(pane.GetRect().right - 1));
    pane.Scroll(SB_LEFT, 0);
    EXPECT_EQ(0, pane.GetOffset());
    EXPECT_EQ(0, pane.ColumnFromX(pane.GetCellRect().left));
}

TEST(TableWindowArea, ScrollMovesPixelsAndRepaintsOnlyTheUncoveredStrip)
{
    CGridTable table;
    table.Fill(20);
    CGridWindow grid(table.View(), 200, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    Repaint(grid.Hwnd());
    const RECT rcPane = pane.GetRect();
    const int y = pane.GetCellRect().top + grid->GetRowHeight() / 2;
    const std::vector<COLORREF> before = Pixels(grid.Hwnd(), RECT{rcPane.left, y, rcPane.right, y + 1});

    pane.ScrollTo(10, TRUE);
    // Besides the uncovered strip at the right only the cells the pane's sides cut are
    // repainted: a column wholly in view is not.
    HRGN hUpdate = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetUpdateRgn(grid.Hwnd(), hUpdate, FALSE));
    const int xStrip = rcPane.right - 10 - 3;
    EXPECT_TRUE(PtInRegion(hUpdate, rcPane.right - 1, y));
    EXPECT_TRUE(PtInRegion(hUpdate, xStrip, y));
    RECT rcWhole = {0, 0, 0, 0};
    for (int nCol = 0; nCol < grid->GetDisplayColumnCount() && IsRectEmpty(&rcWhole); ++nCol)
        if (!pane.GetColumnRect(nCol, &rcWhole))
            SetRectEmpty(&rcWhole);
    ASSERT_FALSE(IsRectEmpty(&rcWhole));
    EXPECT_FALSE(PtInRegion(hUpdate, (rcWhole.left + rcWhole.right) / 2, y));
    DeleteObject(hUpdate);
    // What stayed in view moved 10 pixels to the left.
    const std::vector<COLORREF> after = Pixels(grid.Hwnd(), RECT{rcPane.left, y, rcPane.right, y + 1});
    for (int x = 1; x + 10 < xStrip - rcPane.left; ++x)
        ASSERT_EQ(before[x + 10], after[x]) << "x " << x;

    // Once painted, the screen is the one a whole repaint gives.
    UpdateWindow(grid.Hwnd());
    const std::vector<COLORREF> scrolled = Pixels(grid.Hwnd(), pane.GetRect());
    Repaint(grid.Hwnd());
    EXPECT_EQ(Pixels(grid.Hwnd(), pane.GetRect()), scrolled);
}

// Scrolled sideways by every step of its bar, in either layout, the pane moves the pixels that
// stay in view and paints the columns it brings in at the edge they come from: once painted,
// the screen is the one a whole repaint gives.
TEST(TableWindowArea, EverySidewaysScrollPaintsTheColumnsItBringsIn)
{
    for (BOOL bMirrored : {FALSE, TRUE}) {
        std::unique_ptr<CRightToLeft> pRtl(bMirrored ? new CRightToLeft : nullptr);
        CGridTable table;
        table.Fill(20);
        CGridWindow grid(table.View(), 120, 300);
        CTableWindowArea& pane = grid->GetScrollPane();
        Repaint(grid.Hwnd());
        // Towards the columns out of view first (right, or left in a mirrored pane), then back.
        const UINT nLineOn = bMirrored ? SB_LINELEFT : SB_LINERIGHT, nLineBack = bMirrored ? SB_LINERIGHT : SB_LINELEFT;
        const UINT nPageOn = bMirrored ? SB_PAGELEFT : SB_PAGERIGHT, nPageBack = bMirrored ? SB_PAGERIGHT : SB_PAGELEFT;
        const UINT nEndOn = bMirrored ? SB_LEFT : SB_RIGHT, nEndBack = bMirrored ? SB_RIGHT : SB_LEFT;
        int nMoves = 0;
        for (const UINT nCode : {nLineOn, nPageOn, nLineBack, nEndOn, nLineBack, nPageBack, nEndBack}) {
            const int nBefore = pane.GetOffset();
            pane.Scroll(nCode, 0);
            nMoves += nBefore != pane.GetOffset();
            UpdateWindow(grid.Hwnd());
            const std::vector<COLORREF> scrolled = Pixels(grid.Hwnd(), pane.GetRect());
            Repaint(grid.Hwnd());
            EXPECT_EQ(Pixels(grid.Hwnd(), pane.GetRect()), scrolled)
                << "code " << nCode << " to offset " << pane.GetOffset() << ", mirrored " << bMirrored;
        }
        EXPECT_EQ(7, nMoves) << "mirrored " << bMirrored;
    }
}

TEST(TableWindowArea, PaneThatFitsHasNoBarAndNoOffset)
{
    CGridTable table;
    table.Fill(20);
    CGridWindow grid(table.View(), 200, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    pane.Scroll(SB_RIGHT, 0);
    ASSERT_GT(pane.GetOffset(), 0);
    SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 800, 300, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_FALSE(pane.IsScrollBarShown());
    EXPECT_EQ(0, pane.GetOffset());
    EXPECT_EQ(0, pane.GetMaxOffset());
    EXPECT_EQ(0, pane.ColumnFromX(pane.GetCellRect().left));
}

TEST(TableWindowArea, MirroredLayoutFlushesRightAndMirrorsTheBar)
{
    CRightToLeft rtl;
    CGridTable table;
    table.Fill(20);
    {
        CGridWindow wide(table.View(), 800, 300);
        CTableWindowArea& pane = wide->GetScrollPane();
        EXPECT_EQ(pane.GetRect().right, pane.GetCellRect().right);
        EXPECT_EQ(pane.GetTotalWidth(), pane.GetCellRect().right - pane.GetCellRect().left);
        // The run descends: its first (rightmost) column is the leading one.
        EXPECT_EQ(-1, pane.ColumnFromX(pane.GetCellRect().right));
        EXPECT_EQ(0, pane.ColumnFromX(pane.GetCellRect().right - 1));
        EXPECT_EQ(GRID_COLUMNS - 1, pane.ColumnFromX(pane.GetCellRect().left));
        EXPECT_EQ(-2, pane.ColumnFromX(pane.GetCellRect().left - 1));
    }
    CGridWindow grid(table.View(), 200, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    ASSERT_TRUE(pane.IsScrollBarShown());
    const HWND hBar = pane.GetScrollBar().GetSafeHwnd();
    EXPECT_EQ(pane.GetMaxOffset(), GetScrollPos(hBar, SB_CTL));
    EXPECT_EQ(0, pane.ColumnFromX(pane.GetRect().right - 1));
    // The bar's right arrow moves its thumb right: the offset shrinks.
    pane.Scroll(SB_LINELEFT, 0);
    EXPECT_EQ(10, pane.GetOffset());
    EXPECT_EQ(pane.GetMaxOffset() - 10, GetScrollPos(hBar, SB_CTL));
    pane.Scroll(SB_THUMBPOSITION, 0);
    EXPECT_EQ(pane.GetMaxOffset(), pane.GetOffset());
    EXPECT_EQ(GRID_COLUMNS - 1, pane.ColumnFromX(pane.GetRect().left));
}

TEST(TableWindowArea, DecimalInsetLinesUpTrimmedFractions)
{
    CGridTable table;
    CGridWindow grid(table.View(), 400, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    CTableColumn column;
    column.SetDataType(COLTYPE_DOUBLE);
    column.m_nAlign = ALIGN_RIGHT;
    column.RecalcAlignment();
    column.m_chDecimals = -2;
    column.SetMinDecimals(1);
    const BYTE attrs[3] = {0, 0, 0};
    const int nDigit = grid->GetDigitWidth(FALSE);
    const int nSep = grid->GetSeparatorWidth(FALSE);
    ASSERT_GT(nDigit, 0);
    EXPECT_EQ(2 * nDigit + nSep, pane.GetDecimalPadding(&column, attrs, "5", FALSE));
    EXPECT_EQ(nDigit, pane.GetDecimalPadding(&column, attrs, "5.1", FALSE));
    EXPECT_EQ(0, pane.GetDecimalPadding(&column, attrs, "5.25", FALSE));
    EXPECT_EQ(2 * grid->GetDigitWidth(TRUE) + grid->GetSeparatorWidth(TRUE),
              pane.GetDecimalPadding(&column, attrs, "5", TRUE));

    // No inset without trimming, left of the right edge, or for sixty-fourths.
    column.SetMinDecimals(0);
    EXPECT_EQ(0, pane.GetDecimalPadding(&column, attrs, "5", FALSE));
    column.SetOmitZeroFraction(2);
    EXPECT_EQ(2 * nDigit + nSep, pane.GetDecimalPadding(&column, attrs, "5", FALSE));
    column.m_chDecimals = DECIMALS_64THS;
    EXPECT_EQ(0, pane.GetDecimalPadding(&column, attrs, "5", FALSE));
    // A price, which shows every decimal it carries, lines up at its least decimals: it stands
    // at the right edge, not five digits in.
    column.m_chDecimals = DECIMALS_CARRIED;
    column.SetOmitZeroFraction(0);
    column.SetMinDecimals(1);
    EXPECT_EQ(0, pane.GetDecimalPadding(&column, attrs, "844.0", FALSE));
    EXPECT_EQ(0, pane.GetDecimalPadding(&column, attrs, "849.585", FALSE));
    EXPECT_EQ(nDigit + nSep, pane.GetDecimalPadding(&column, attrs, "844", FALSE));
    column.m_chDecimals = -2;
    column.m_nAlign = ALIGN_LEFT;
    column.RecalcAlignment();
    EXPECT_EQ(0, pane.GetDecimalPadding(&column, attrs, "5", FALSE));
}

TEST(TableWindowArea, ColourIndexZeroAndOneBeyondTheTablesKeepTheDefaults)
{
    CGridTable table;
    table.Fill(3);
    CGridWindow grid(table.View(), 500, 300);
    grid->SetCellBackColor(RGB(10, 200, 30), 5);
    grid->SetCellBackColor(RGB(200, 10, 30), 126);
    CViewRow row;
    ASSERT_TRUE(table.View().GetRow(row, 1));
    row.SetCellBackColor(GRID_COL_SYMBOL, 5);
    row.SetCellBackColor(GRID_COL_LAST, 127);
    row.SetCellTextColor(GRID_COL_LAST, 127);
    ASSERT_TRUE(table.View().GetRow(row, 2));
    row.SetCellBackColor(GRID_COL_SYMBOL, 126);
    Repaint(grid.Hwnd());

    CTableWindowArea& pane = grid->GetScrollPane();
    RECT rcSymbol, rcLast;
    pane.GetColumnRect(GRID_COL_SYMBOL, &rcSymbol);
    pane.GetColumnRect(GRID_COL_LAST, &rcLast);
    auto Back = [&](const RECT& rcCol, int nLine) {
        return PixelAt(grid.Hwnd(), rcCol.left + 1, pane.GetCellRect().top + nLine * grid->GetRowHeight() + 2);
    };
    EXPECT_EQ(RGB(10, 200, 30), Back(rcSymbol, 1));
    EXPECT_EQ(RGB(200, 10, 30), Back(rcSymbol, 2));
    EXPECT_EQ(grid->GetCellBackColor(0), Back(rcSymbol, 0));
    EXPECT_EQ(grid->GetCellBackColor(0), Back(rcLast, 1));
    // The cell with text colour 127 looks exactly as the same cell without attributes.
    ASSERT_TRUE(table.View().GetRow(row, 1));
    const int nTop = pane.GetCellRect().top + grid->GetRowHeight();
    const RECT rcCell = {rcLast.left, nTop, rcLast.right - 1, nTop + grid->GetRowHeight() - 1};
    const std::vector<COLORREF> with127 = Pixels(grid.Hwnd(), rcCell);
    row.SetCellBackColor(GRID_COL_LAST, 0);
    row.SetCellTextColor(GRID_COL_LAST, 0);
    Repaint(grid.Hwnd());
    EXPECT_EQ(Pixels(grid.Hwnd(), rcCell), with127);
}

TEST(TableWindowArea, FocusFrameDrawnAndErasedLeavesThePixels)
{
    CGridTable table;
    table.Fill(10);
    CGridWindow grid(table.View(), 500, 300);
    CTableWindowArea& pane = grid->GetScrollPane();
    for (BOOL bFrame : {FALSE, TRUE}) {
        grid->SetFocusFrame(bFrame);
        Repaint(grid.Hwnd());
        if (pane.IsFocusDrawn()) {
            HDC hdc = GetDC(grid.Hwnd());
            pane.EraseFocus(hdc);
            ReleaseDC(grid.Hwnd(), hdc);
        }
        const std::vector<COLORREF> clean = Pixels(grid.Hwnd(), pane.GetRect());
        HDC hdc = GetDC(grid.Hwnd());
        pane.DrawFocus(hdc, 3);
        ReleaseDC(grid.Hwnd(), hdc);
        ASSERT_TRUE(pane.IsFocusDrawn());
        EXPECT_NE(Pixels(grid.Hwnd(), pane.GetRect()), clean) << "frame property " << bFrame;

        // A repaint under the frame keeps it whole, so that erasing still removes all of it.
        Repaint(grid.Hwnd());
        hdc = GetDC(grid.Hwnd());
        pane.EraseFocus(hdc);
        ReleaseDC(grid.Hwnd(), hdc);
        EXPECT_FALSE(pane.IsFocusDrawn());
        EXPECT_EQ(Pixels(grid.Hwnd(), pane.GetRect()), clean) << "frame property " << bFrame;
    }
    grid->SetFocusFrame(FALSE);
}

TEST(TableWindowArea, EconomicRepaintsEndAsAWholeRepaint)
{
    for (BOOL bMirrored : {FALSE, TRUE}) {
        std::unique_ptr<CRightToLeft> pRtl(bMirrored ? new CRightToLeft : nullptr);
        CGridTable table;
        table.Fill(30);
        table.View().SetShowHeader(TRUE);
        CGridWindow grid(table.View(), 260, 300);
        Repaint(grid.Hwnd());
        auto Settled = [&](const char* pszStep) {
            UpdateWindow(grid.Hwnd());
            RECT rcClient;
            GetClientRect(grid.Hwnd(), &rcClient);
            const std::vector<COLORREF> economic = Pixels(grid.Hwnd(), rcClient);
            Repaint(grid.Hwnd());
            EXPECT_EQ(Pixels(grid.Hwnd(), rcClient), economic) << pszStep << ", mirrored " << bMirrored;
        };
        grid->SetColumnWidth(GRID_COL_LAST, 120, TRUE);
        Settled("wider column");
        grid->SetColumnWidth(GRID_COL_LAST, 40, TRUE);
        Settled("narrower column");
        grid->GetScrollPane().Scroll(SB_PAGERIGHT, 0);
        Settled("page scroll");
        SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 330, 260, SWP_NOZORDER | SWP_NOMOVE);
        Settled("larger window");
        SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 200, 320, SWP_NOZORDER | SWP_NOMOVE);
        Settled("narrower window");
    }
}

namespace {
// Which pixel columns of a band hold dark ink ('#') and which not ('.'), blank ends dropped.
std::string InkAcross(HDC hdc, const RECT& rc)
{
    std::string strInk;
    for (int x = rc.left; x < rc.right; ++x) {
        bool bInk = false;
        for (int y = rc.top; y < rc.bottom && !bInk; ++y) {
            const COLORREF cr = GetPixel(hdc, x, y);
            bInk = GetRValue(cr) + GetGValue(cr) + GetBValue(cr) < 3 * 96;
        }
        strInk += bInk ? '#' : '.';
    }
    const size_t nFirst = strInk.find('#');
    return nFirst == std::string::npos ? "" : strInk.substr(nFirst, strInk.rfind('#') - nFirst + 1);
}

// The ink of a text drawn black on white in the font.
std::string InkOfText(HFONT hFont, const std::string& strText)
{
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 400, 40);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hBitmap);
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    RECT rc = {0, 0, 400, 40};
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    RECT rcText = {10, 10, 390, 30};
    DrawTextA(hdc, strText.c_str(), -1, &rcText, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    const std::string strInk = InkAcross(hdc, rc);
    SelectObject(hdc, hOldFont);
    SelectObject(hdc, hOldBitmap);
    DeleteObject(hBitmap);
    DeleteDC(hdc);
    return strInk;
}

// The ink of the first line's cell of a display column, as the grid paints it now.
std::string CellInk(CGridWindow& grid, int nCol)
{
    Repaint(grid.Hwnd());
    CTableWindowArea* pPane = grid->PaneOfColumn(nCol);
    RECT rcCol;
    pPane->GetColumnRect(nCol, &rcCol);
    const RECT rcCell = {rcCol.left + 1, pPane->GetCellRect().top + 1, rcCol.right - 2,
                         pPane->GetCellRect().top + grid->GetRowHeight() - 2};
    HDC hdc = GetDC(grid.Hwnd());
    const std::string strInk = InkAcross(hdc, rcCell);
    ReleaseDC(grid.Hwnd(), hdc);
    return strInk;
}
}  // namespace

// A price too wide for its narrowed column never shows its trailing digits as if they were the
// number: the cell shows a run of '#' marks; widened again, the whole number is back.
TEST(TableWindowArea, ValueWiderThanItsCellShowsMarksNotAnotherNumber)
{
    CGridTable table;
    TBCellSlot* pBlock = table.t.NewBlock();
    PutText(table.t, pBlock, GRID_COL_SYMBOL, "WIDE");
    double dLast = 1221676.4;
    table.View().GetColumns().SetSlotValue(&pBlock[GRID_COL_LAST], &dLast, GRID_COL_LAST);
    table.t.Insert(pBlock);
    CGridWindow grid(table.View(), 500, 200);
    const HFONT hFont = grid->GetFont();
    CViewRow row;
    CTBString strShown;
    ASSERT_TRUE(table.View().GetRow(row, 0));
    ASSERT_TRUE(row.GetText(strShown, GRID_COL_LAST));
    ASSERT_EQ(InkOfText(hFont, static_cast<const char*>(strShown)), CellInk(grid, GRID_COL_LAST)) << "it fits at first";

    grid->SetColumnWidth(GRID_COL_LAST, 40, FALSE);
    const std::string strNarrow = CellInk(grid, GRID_COL_LAST);
    bool bMarks = false;
    for (int n = 1; n <= 10 && !bMarks; ++n)
        bMarks = strNarrow == InkOfText(hFont, std::string(n, '#'));
    EXPECT_TRUE(bMarks) << "seen " << strNarrow;

    grid->SetColumnWidth(GRID_COL_LAST, 120, FALSE);
    EXPECT_EQ(InkOfText(hFont, static_cast<const char*>(strShown)), CellInk(grid, GRID_COL_LAST));
}

// In a right-to-left window a code without Arabic letters reads as written: "=KWD" keeps its
// "=" in front, where right-to-left reading would move it behind ("KWD=").
TEST(TableWindowArea, LatinCodeInARightToLeftWindowReadsAsWritten)
{
    CRightToLeft rtl;
    CGridTable table;
    TBCellSlot* pBlock = table.t.NewBlock();
    PutText(table.t, pBlock, GRID_COL_SYMBOL, "=KWD");
    table.t.Insert(pBlock);
    CGridWindow grid(table.View(), 500, 200);
    EXPECT_EQ(InkOfText(grid->GetFont(), "=KWD"), CellInk(grid, GRID_COL_SYMBOL))
        << "KWD= is " << InkOfText(grid->GetFont(), "KWD=");
}

// An Arabic name too long for its left-aligned column in an English window keeps its start:
// read right to left, the name stands against the cell's right edge with its first word there,
// and the cut takes its end.
TEST(TableWindowArea, CutArabicNameKeepsItsFirstWord)
{
    const UINT nOldPage = GetACP();
    TbSetActiveCodePage(1256);
    UseSourceResources();
    COwnedTable t({{"Name", COLTYPE_STRING, 80, FALSE}});
    t.Table().Open();
    TBCellSlot* pBlock = t.NewBlock();
    PutText(t, pBlock, 0, TbUtf8ToCodePage("البنك التجاري النجدي", 1256).c_str());
    t.Insert(pBlock);
    CGridWindow grid(t.View(0), 400, 150);
    grid->SetColumnWidth(0, 70, FALSE);
    const std::string strInk = CellInk(grid, 0);
    const std::string strFirstWord = InkOfText(grid->GetFont(), TbUtf8ToCodePage("البنك", 1256));
    TbSetActiveCodePage(nOldPage);
    ASSERT_GT(strInk.size(), strFirstWord.size());
    EXPECT_EQ(strFirstWord, strInk.substr(strInk.size() - strFirstWord.size())) << strInk;
}

// A value whose column holds it stands whole at its place in its cell at every scroll of either
// direction: the pane's edge hides a part of it as it hides the cell, and never turns it into
// '#', which says only that the column is too narrow.
TEST(TableWindowArea, ValuesCutByThePanesEdgeStandWholeAtTheirPlaceNotAsMarks)
{
    for (BOOL bMirrored : {FALSE, TRUE}) {
        std::unique_ptr<CRightToLeft> pRtl(bMirrored ? new CRightToLeft : nullptr);
        CGridTable table;
        table.Add(8200);    // last 1,125.000
        CGridWindow grid(table.View(), 150, 120);
        CTableWindowArea& pane = grid->GetScrollPane();
        CViewRow row;
        ASSERT_TRUE(table.View().GetRow(row, 0));
        int nCut = 0;
        for (int nOffset = 0; nOffset <= pane.GetMaxOffset(); nOffset += 3) {
            pane.ScrollTo(nOffset, TRUE);
            for (int nCol = 0; nCol < grid->GetDisplayColumnCount(); ++nCol) {
                CTBString strShown, strFull;
                RECT rc, rcCol;
                // The column's whole rectangle, also where the pane shows a part of it.
                pane.GetColumnRect(nCol, &rcCol);
                if (!pane.GetShownCellText(0, nCol, &strShown, &rc) || !row.GetText(strFull, nCol) || IsRectEmpty(&rcCol))
                    continue;
                EXPECT_STREQ(strFull, strShown) << "at offset " << nOffset << ", mirrored " << bMirrored;
                EXPECT_TRUE(rc.left >= rcCol.left && rc.right <= rcCol.right)
                    << strShown << " at offset " << nOffset << ", mirrored " << bMirrored;
                nCut += rc.left < pane.GetCellRect().left || rc.right > pane.GetCellRect().right;
            }
        }
        EXPECT_LT(0, nCut) << "the edge cut some value, mirrored " << bMirrored;
    }
}

// A value at each width around its own: inside the margins at its column's side, less as much of
// its decimal inset as there is room for; a little wider, into the margins up to the cell's
// lines; as marks only when wider than its cell. A text stands at its start. What is painted is
// the laid-out text, and a sideways scroll either way leaves the pixels a whole repaint gives,
// the focus frame's sides among them.
TEST(TableWindowArea, CellTextStandsWholeAtItsPlaceOrShowsMarks)
{
    CGridTable table;
    table.Add(8204);    // S8204, last 1,125.5: two digits short of its three decimals
    CTableColumn* pLast = table.View().GetColumnOrder().GetColumn(GRID_COL_LAST);
    pLast->SetMinDecimals(1);
    pLast->m_nAlign = ALIGN_RIGHT;
    pLast->RecalcAlignment();
    CGridWindow grid(table.View(), 500, 120);
    HDC hdc = GetDC(grid.Hwnd());
    grid->PrepareDC(hdc);
    SIZE value = {0, 0}, symbol = {0, 0};
    GetTextExtentPoint32A(hdc, "1,125.5", 7, &value);
    GetTextExtentPoint32A(hdc, "S8204", 5, &symbol);
    ReleaseDC(grid.Hwnd(), hdc);
    const int W = value.cx, D = 2 * grid->GetDigitWidth(FALSE);
    // Widths with the last pixel column, the cell's line; edges from the cell's right (values)
    // or the column's left (text).
    const struct { const char* pszWhat; int nCol, nWidth; const char* pszShown; int nEdge; } cases[] = {
        {"margins and inset", GRID_COL_LAST, W + 7 + D, "1,125.5", -3 - D},
        {"margins and half the inset", GRID_COL_LAST, W + 7 + D / 2, "1,125.5", -3 - D / 2},
        {"margins only", GRID_COL_LAST, W + 7, "1,125.5", -3},
        {"into the margins, clear of the lines", GRID_COL_LAST, W + 3, "1,125.5", -1},
        {"exactly its cell", GRID_COL_LAST, W + 1, "1,125.5", 0},
        {"a pixel short", GRID_COL_LAST, W, nullptr, 0},
        {"a text", GRID_COL_SYMBOL, symbol.cx + 20, "S8204", 3},
    };
    CTableWindowArea& pane = grid->GetScrollPane();
    for (const auto& c : cases) {
        grid->SetColumnWidth(c.nCol, c.nWidth, FALSE);
        CTBString strShown;
        RECT rc, rcCol;
        ASSERT_TRUE(pane.GetShownCellText(0, c.nCol, &strShown, &rc) && pane.GetColumnRect(c.nCol, &rcCol)) << c.pszWhat;
        const std::string strExpected = c.pszShown ? c.pszShown : std::string(strlen(strShown), '#');
        EXPECT_EQ(strExpected, std::string(strShown)) << c.pszWhat;
        Repaint(grid.Hwnd());
        HDC hdcCell = GetDC(grid.Hwnd());
        const int nTop = pane.GetCellRect().top;
        const std::string strInk = InkAcross(hdcCell, {rcCol.left + 1, nTop + 1, rcCol.right - 1, nTop + grid->GetRowHeight() - 2});
        ReleaseDC(grid.Hwnd(), hdcCell);
        EXPECT_EQ(InkOfText(grid->GetFont(), strExpected), strInk) << c.pszWhat;
        if (c.pszShown) {
            EXPECT_GE(rc.right - rc.left, c.nCol == GRID_COL_LAST ? W : symbol.cx) << c.pszWhat;
            EXPECT_EQ(c.nEdge, c.nCol == GRID_COL_LAST ? rc.right - (rcCol.right - 1) : rc.left - rcCol.left) << c.pszWhat;
        }
    }
    for (BOOL bMirrored : {FALSE, TRUE}) {
        std::unique_ptr<CRightToLeft> pRtl(bMirrored ? new CRightToLeft : nullptr);
        CGridWindow narrow(table.View(), 110, 120);
        CTableWindowArea& scrolled = narrow->GetScrollPane();
        const int nMax = scrolled.GetMaxOffset();
        for (int nStep = 1; nStep <= 2 * nMax; ++nStep) {
            const int nOffset = nStep <= nMax ? nStep : 2 * nMax - nStep;    // there and back
            scrolled.ScrollTo(nOffset, TRUE);
            UpdateWindow(narrow.Hwnd());
            const std::vector<COLORREF> economic = Pixels(narrow.Hwnd(), scrolled.GetCellRect());
            Repaint(narrow.Hwnd());
            ASSERT_EQ(Pixels(narrow.Hwnd(), scrolled.GetCellRect()), economic) << "offset " << nOffset << ", mirrored " << bMirrored;
        }
    }
}
