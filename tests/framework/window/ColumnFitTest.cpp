// Columns whose width follows what they hold: as wide as their widest text or title when the
// grid opens, wider as a wider value comes (a live change, a new row, the total line), never '#'
// for a value such a column can hold; a width the user sets stays, and so does a saved one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>
#include <string>
#include <vector>

#include "framework/base/SettingsFile.h"
#include "framework/table/CodeFormats.h"
#include "framework/table/Row.h"
#include "framework/table/TableFilters.h"
#include "framework/window/TableWindowArea.h"
#include "platform/win/user/Paint.h"
#include "tests/common/Property.h"
#include "tests/common/WindowPixels.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

int TextWidth(CTableWindow& grid, const char* pszText)
{
    HDC hdc = GetDC(grid.m_hWnd);
    grid.PrepareDC(hdc);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(hdc, pszText, static_cast<int>(strlen(pszText)), &size);
    ReleaseDC(grid.m_hWnd, hdc);
    return size.cx;
}

// The widest text of a column over the view's lines.
int WidestText(CTableWindow& grid, CViewTable& view, int nCol)
{
    int nWidest = 0;
    for (int i = 0; i < view.GetRowCount(); ++i) {
        CViewRow row;
        CTBString strText;
        if (view.GetRow(row, i) && row.GetText(strText, nCol))
            nWidest = std::max(nWidest, TextWidth(grid, strText));
    }
    return nWidest;
}

// What the screen line shows in a column, and whether it shows all of the cell's text.
std::string Shown(CTableWindow& grid, int nLine, int nCol)
{
    CTBString strShown;
    RECT rc;
    if (!grid.PaneOfColumn(nCol)->GetShownCellText(nLine, nCol, &strShown, &rc))
        return "";
    return std::string(strShown);
}

class CFittedTable : public CGridTable
{
public:
    CFittedTable()
    {
        for (int nCol = 0; nCol < GRID_COLUMNS; ++nCol) {
            t.Table().GetColumn(nCol).SetWidth(150);
            t.Table().GetColumn(nCol).SetFitWidth(TRUE);
        }
    }
};

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}

void WriteLast(CGridTable& table, TBCellSlot* pBlock, double dLast)
{
    CRow row = table.t.Find(pBlock);
    row.UpdateCell(GRID_COL_LAST, &dLast);
}

}  // namespace

TEST(ColumnFit, OpensAsWideAsItsWidestTextOrTitle)
{
    CFittedTable table;
    table.Fill(12);
    CGridWindow grid(table.View(), 600, 300);
    for (int nCol = 0; nCol < GRID_COLUMNS; ++nCol) {
        const int nText = WidestText(grid.Grid(), table.View(), nCol) + 7;
        const int nTitle = TextWidth(grid.Grid(), table.View().GetColumnOrder().GetColumn(nCol)->GetTitle()) + 8;
        EXPECT_GE(grid->GetColumnWidth(nCol), std::max(nText, nTitle)) << nCol;
        EXPECT_LE(grid->GetColumnWidth(nCol), std::max(nText, nTitle) + grid->GetDigitWidth(FALSE) * 3 + 1) << nCol;
        EXPECT_LT(grid->GetColumnWidth(nCol), 150) << "narrower than it was described";
        EXPECT_EQ(grid->GetColumnWidth(nCol), table.View().GetColumnOrder().GetColumn(nCol)->m_nWidth) << "printing takes it";
    }
}

TEST(ColumnFit, GrowsWhenAWiderValueComesSoThatNoValueReadsAsMarks)
{
    CFittedTable table;
    table.Fill(3);
    CGridWindow grid(table.View(), 300, 200);
    const int nBefore = grid->GetColumnWidth(GRID_COL_LAST);
    // A live change on screen, then one off it.
    TBCellSlot* pBlock = table.Add(3);
    WriteLast(table, pBlock, 123456789.125);
    UpdateWindow(grid.Hwnd());
    EXPECT_GT(grid->GetColumnWidth(GRID_COL_LAST), nBefore);
    EXPECT_EQ("123,456,789.125", Shown(grid.Grid(), 3, GRID_COL_LAST));
    for (int i = 4; i < 40; ++i)
        table.Add(i);
    WriteLast(table, table.Add(40), -9876543210.5);
    UpdateWindow(grid.Hwnd());
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_LAST), WidestText(grid.Grid(), table.View(), GRID_COL_LAST) + 7) << "a row off screen";
    // A volume shown in sixty-fourths is wider than its digits shown as a number.
    TBCellSlot* pFraction = table.Add(41);
    CViewRow line(&table.View());
    for (int i = 0; i < table.View().GetRowCount(); ++i) {
        CTBString strVolume;
        if (table.View().GetRow(line, i) && line.GetText(strVolume, GRID_COL_VOLUME) && std::string(strVolume) == "410")
            break;
    }
    ASSERT_TRUE(line.SetCellFraction(GRID_COL_VOLUME, TRUE));
    const int32_t nSixtyFourths = 64001;
    table.t.Find(pFraction).UpdateCell(GRID_COL_VOLUME, &nSixtyFourths);
    UpdateWindow(grid.Hwnd());
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), TextWidth(grid.Grid(), "1,000 1/64") + 7);
    // A new row, and the total line it makes larger.
    TBCellSlot* pNew = table.t.NewBlock();
    PutInt(table.t, pNew, GRID_COL_VOLUME, 2000000000);
    table.t.Insert(pNew);
    UpdateWindow(grid.Hwnd());
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), TextWidth(grid.Grid(), "2,000,000,000") + 7);
}

// A name column: a long name whole, a longer one than the bound cut at the bound rather than
// taking the window.
TEST(ColumnFit, ANameShowsWholeWithinTheBound)
{
    COwnedTable t({{"Name", COLTYPE_STRING, 600, FALSE}});
    t.Table().GetColumn(0).SetFitWidth(TRUE);
    t.Table().Open();
    TBCellSlot* pBlock = t.NewBlock();
    PutText(t, pBlock, 0, "Gulf Investment and Real Estate Development Holding");
    t.Insert(pBlock);
    CGridWindow grid(t.View(0), 900, 200);
    const int nName = TextWidth(grid.Grid(), "Gulf Investment and Real Estate Development Holding");
    EXPECT_GE(grid->GetColumnWidth(0), nName + 7);
    TBCellSlot* pLong = t.NewBlock();
    PutText(t, pLong, 0, std::string(500, 'W').c_str());
    t.Insert(pLong);
    EXPECT_EQ(grid->GetFitBound(), grid->GetColumnWidth(0));
}

// A window too narrow for a long name and the figures beside it: the name gives its room, the
// figures stand inside the window; a wider window gives the name its room back; a width the user
// sets on the name stands.
TEST(ColumnFit, ANameGivesItsRoomToTheFiguresOfANarrowWindow)
{
    const char* const pszName = "Gulf Investment and Real Estate Development Holding";
    COwnedTable t({{"Name", COLTYPE_STRING, 60, FALSE}, {"Value", COLTYPE_DOUBLE, 0, FALSE}, {"Quantity", COLTYPE_INT32, 0, FALSE}});
    t.Table().GetColumn(0).SetFitWidth(TRUE, TRUE);
    for (int nCol = 1; nCol < 3; ++nCol) {
        t.Table().GetColumn(nCol).SetFitWidth(TRUE);
        t.Table().GetColumn(nCol).SetThousands(TRUE);
    }
    t.Table().GetColumn(1).SetDecimals(3);
    t.Table().Open();
    TBCellSlot* pBlock = t.NewBlock();
    PutText(t, pBlock, 0, pszName);
    const double dValue = -12345678.125;
    t.View(0).GetColumns().SetSlotValue(&pBlock[1], &dValue, 1);
    PutInt(t, pBlock, 2, -12345678);
    t.Insert(pBlock);
    CGridWindow grid(t.View(0), 420, 200);
    const auto ExpectFiguresInView = [&](const char* pszWhen) {
        RECT rcClient;
        GetClientRect(grid.Hwnd(), &rcClient);
        for (int nCol = 1; nCol < 3; ++nCol) {
            RECT rc;
            ASSERT_TRUE(grid->PaneOfColumn(nCol)->GetColumnRect(nCol, &rc));
            EXPECT_LE(rc.right, rcClient.right) << pszWhen << " column " << nCol;
            EXPECT_EQ(std::string::npos, Shown(grid.Grid(), 0, nCol).find('#')) << pszWhen << " column " << nCol;
        }
    };
    ExpectFiguresInView("narrow");
    EXPECT_LT(grid->GetColumnWidth(0), TextWidth(grid.Grid(), pszName));
    EXPECT_GE(grid->GetColumnWidth(0), 80) << "a name keeps some room";
    UpdateWindow(grid.Hwnd());
    SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 1000, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_GE(grid->GetColumnWidth(0), TextWidth(grid.Grid(), pszName) + 7) << "wide: the name whole";
    ExpectFiguresInView("wide");
    // The figures move in the part of the window the resize kept too.
    const auto ExpectAsAWholeRepaint = [&](const char* pszWhen) {
        UpdateWindow(grid.Hwnd());
        const std::vector<COLORREF> resized = WindowPixels(grid.Hwnd());
        InvalidateRect(grid.Hwnd(), nullptr, FALSE);
        UpdateWindow(grid.Hwnd());
        EXPECT_TRUE(resized == WindowPixels(grid.Hwnd())) << pszWhen << " as a whole repaint shows it";
    };
    ExpectAsAWholeRepaint("widened");
    // The user widens the name by its title's edge in the narrow window: it stays so.
    SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 420, 200, SWP_NOMOVE | SWP_NOZORDER);
    ExpectAsAWholeRepaint("narrowed");
    RECT rc;
    ASSERT_TRUE(grid->PaneOfColumn(0)->GetColumnRect(0, &rc));
    const POINT pt = {rc.right, (rc.top + grid->PaneOfColumn(0)->GetTitleRect().top) / 2};
    grid->BeginColumnResize(0, pt);
    grid->TrackColumnResize(rc.left + 300, pt.y);
    grid->EndColumnResize(TRUE);
    const int nSet = grid->GetColumnWidth(0);
    EXPECT_GT(nSet, 250);
    SetWindowPos(grid.Hwnd(), nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    grid->Refresh();
    EXPECT_EQ(nSet, grid->GetColumnWidth(0)) << "the user's width";
}

// An amount whose decimals follow its row's currency, written before the currency: the column
// holds the amount as the currency makes it, at the next paint and at every later one.
TEST(ColumnFit, AnAmountFollowsItsRowsCurrencyAtEveryPaint)
{
    COwnedTable t({{"Currency", COLTYPE_STRING, 8, FALSE}, {"Net", COLTYPE_DOUBLE, 0, FALSE}});
    for (int nCol = 0; nCol < 2; ++nCol)
        t.Table().GetColumn(nCol).SetFitWidth(TRUE);
    t.Table().GetColumn(1).SetThousands(TRUE);
    t.Table().GetColumn(1).SetDecimals(-2);
    t.Table().GetColumn(1).SetUnit(0, [](const char* pszUnit, int nDecimals) { return strcmp(pszUnit, "=KWD") == 0 ? -3 : nDecimals; });
    t.Table().Open();
    TBCellSlot* pBlock = t.NewBlock();
    const double dNet = 12620;
    t.View(0).GetColumns().SetSlotValue(&pBlock[1], &dNet, 1);
    t.Insert(pBlock);
    CGridWindow grid(t.View(0), 400, 200);
    EXPECT_EQ("12,620.00", Shown(grid.Grid(), 0, 1));
    CRow row = t.Find(pBlock);
    row.UpdateCell(0, "=KWD");
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ("12,620.000", Shown(grid.Grid(), 0, 1)) << "the row as it stands";
    EXPECT_GE(grid->GetColumnWidth(1), TextWidth(grid.Grid(), "12,620.000") + 7);
    InvalidateRect(grid.Hwnd(), nullptr, TRUE);
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ("12,620.000", Shown(grid.Grid(), 0, 1)) << "after a whole repaint";
}

TEST(ColumnFit, TheTotalLineWidensItsColumn)
{
    CFittedTable table;
    for (int i = 0; i < 30; ++i)
        PutInt(table.t, table.Add(i), GRID_COL_VOLUME, 99999999);
    CGridWindow grid(table.View(), 400, 200);
    // A power of ten has a digit more than the nines below it, and is wider than their negative.
    int nRow = 30;
    for (const int32_t nVolume : {-999999999, 1000000000}) {
        table.t.Find(table.Add(nRow++)).UpdateCell(GRID_COL_VOLUME, &nVolume);
        UpdateWindow(grid.Hwnd());
        EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), WidestText(grid.Grid(), table.View(), GRID_COL_VOLUME) + 7) << nVolume;
    }
    table.View().SetTotalsMode(2);
    UpdateWindow(grid.Hwnd());
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), WidestText(grid.Grid(), table.View(), GRID_COL_VOLUME) + 7);
    EXPECT_GT(WidestText(grid.Grid(), table.View(), GRID_COL_VOLUME), TextWidth(grid.Grid(), "99,999,999"));
    // A reply's rows: its total shows whole at a paint during the reply and when the reply ends.
    table.View().SetLoading(TRUE);
    for (int nPart = 0; nPart < 2; ++nPart) {
        for (int i = 0; i < 40; ++i) {
            TBCellSlot* pNew = table.t.NewBlock();
            PutInt(table.t, pNew, GRID_COL_VOLUME, 2000000000);
            table.t.Insert(pNew);
        }
        if (nPart == 0)
            UpdateWindow(grid.Hwnd());
        else
            table.View().SetLoading(FALSE);
        EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), WidestText(grid.Grid(), table.View(), GRID_COL_VOLUME) + 7) << nPart;
    }
}

TEST(ColumnFit, AWidthTheUserSetsStaysAndSoDoesASavedOne)
{
    CFittedTable table;
    table.Fill(3);
    CGridWindow grid(table.View(), 400, 200);
    // The user narrows the price column by its title's edge.
    RECT rc;
    ASSERT_TRUE(grid->GetScrollPane().GetColumnRect(GRID_COL_LAST, &rc));
    const POINT pt = {rc.right, (rc.top + grid->GetScrollPane().GetTitleRect().top) / 2};
    grid->BeginColumnResize(GRID_COL_LAST, pt);
    grid->TrackColumnResize(rc.left + 40, pt.y);
    grid->EndColumnResize(TRUE);
    const int nSet = grid->GetColumnWidth(GRID_COL_LAST);
    WriteLast(table, table.Add(3), 123456789.125);
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(nSet, grid->GetColumnWidth(GRID_COL_LAST)) << "the user's width";
    EXPECT_EQ(std::string::npos, Shown(grid.Grid(), 3, GRID_COL_LAST).find_first_not_of('#')) << "too narrow: marks";

    // Saved and loaded into a fresh table: the set width stays, the fitted ones fit again.
    char szPath[] = "/tmp/column_fit_XXXXXX";
    const int fd = mkstemp(szPath);
    ASSERT_GE(fd, 0);
    close(fd);
    CIni layout(szPath, "Layout");
    table.View().SaveSettings(&layout, nullptr);
    CFittedTable other;
    other.Fill(3);
    ASSERT_TRUE(other.View().LoadSettings(&layout, nullptr));
    unlink(szPath);
    CGridWindow again(other.View(), 400, 200);
    EXPECT_EQ(nSet, again->GetColumnWidth(GRID_COL_LAST));
    EXPECT_EQ(grid->GetColumnWidth(GRID_COL_VOLUME), again->GetColumnWidth(GRID_COL_VOLUME));
    WriteLast(other, other.Add(3), 5.0);
    PutText(other.t, other.Add(4), GRID_COL_SYMBOL, "");
    CRow row = other.t.Find(other.Add(5));
    int32_t nVolume = 2000000000;
    row.UpdateCell(GRID_COL_VOLUME, &nVolume);
    UpdateWindow(again.Hwnd());
    EXPECT_EQ("2,000,000,000", Shown(again.Grid(), 5, GRID_COL_VOLUME)) << "a fitted column still grows";
}

namespace {

HFONT MakeFont(int nHeight, int nWeight)
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "DejaVu Sans");
    return CreateFontIndirectA(&lf);
}

// What a text takes in the grid's plain font or, when it has one, its bold font, the wider.
int FitWidth(CTableWindow& grid, const std::string& strText)
{
    HDC hdc = GetDC(grid.m_hWnd);
    grid.PrepareDC(hdc);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(hdc, strText.data(), static_cast<int>(strText.size()), &size);
    int nWidest = size.cx;
    if (grid.GetBoldFont()) {
        HGDIOBJ hOld = SelectObject(hdc, grid.GetBoldFont());
        GetTextExtentPoint32A(hdc, strText.data(), static_cast<int>(strText.size()), &size);
        nWidest = std::max(nWidest, static_cast<int>(size.cx));
        SelectObject(hdc, hOld);
    }
    ReleaseDC(grid.m_hWnd, hdc);
    return nWidest;
}

// One fitted text column under a one-letter title, its cells changed live.
class CCodeColumn
{
public:
    explicit CCodeColumn(const std::vector<std::string>& texts) : t({{"C", COLTYPE_STRING, 40, FALSE}})
    {
        t.Table().GetColumn(0).SetFitWidth(TRUE);
        t.Table().Open();
        for (const std::string& strText : texts) {
            TBCellSlot* pBlock = t.NewBlock();
            PutText(t, pBlock, 0, strText.c_str());
            t.Insert(pBlock);
            m_blocks.push_back(pBlock);
        }
    }
    void Write(size_t nRow, const std::string& strText)
    {
        CRow row = t.Find(m_blocks[nRow]);
        row.UpdateCell(0, strText.c_str());
    }
    COwnedTable t;
    std::vector<TBCellSlot*> m_blocks;
};

}  // namespace

// Codes, times and numbers of as many characters as the widest so far can still be wider: the
// column follows them to the pixel, in the bold font's widths too.
TEST(ColumnFit, AValueAsLongAsTheWidestButWiderWidensItsColumn)
{
    CCodeColumn codes({"1234567890....", "1234567890,,,,"});
    CGridWindow grid(codes.t.View(0), 500, 200);
    ASSERT_EQ(FitWidth(grid.Grid(), "1234567890....") + 7, grid->GetColumnWidth(0));
    codes.Write(1, "1234567890%%%%");
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(FitWidth(grid.Grid(), "1234567890%%%%") + 7, grid->GetColumnWidth(0));
    EXPECT_EQ("1234567890%%%%", Shown(grid.Grid(), 1, 0));

    // A value one pixel wider than the widest: two endings of as many characters that differ so.
    const std::string strStem = "12:34:56 (+1,234.5/6)";
    std::string strNarrow;
    std::string strWider;
    const char* pszChars = "0123456789.,:-+%/() ";
    for (const char* a = pszChars; *a && strWider.empty(); ++a)
        for (const char* b = pszChars; *b && strWider.empty(); ++b)
            for (const char* c = pszChars; *c && strWider.empty(); ++c) {
                const std::string strOne = strStem + *a + *b, strOther = strStem + *a + *c;
                if (FitWidth(grid.Grid(), strOther) == FitWidth(grid.Grid(), strOne) + 1)
                    strNarrow = strOne, strWider = strOther;
            }
    ASSERT_FALSE(strWider.empty()) << "the font has no two characters a pixel apart";
    CCodeColumn times({strNarrow, "1"});
    CGridWindow other(times.t.View(0), 500, 200);
    ASSERT_EQ(FitWidth(other.Grid(), strNarrow) + 7, other->GetColumnWidth(0));
    times.Write(1, strNarrow);
    times.Write(1, strWider);
    UpdateWindow(other.Hwnd());
    EXPECT_EQ(FitWidth(other.Grid(), strWider) + 7, other->GetColumnWidth(0)) << strNarrow << " -> " << strWider;
    EXPECT_EQ(strWider, Shown(other.Grid(), 1, 0));

    // A number one pixel wider than its column's title: a title of letters that falls short so.
    const int nNumberFit = FitWidth(other.Grid(), "1,234.56") + 7;
    std::string strTitle;
    for (int nWide = 0; nWide < 12 && strTitle.empty(); ++nWide)
        for (int nNarrow = 0; nNarrow < 24 && strTitle.empty(); ++nNarrow) {
            const std::string strTry = std::string(static_cast<size_t>(nWide), 'm') + std::string(static_cast<size_t>(nNarrow), 'i');
            if (!strTry.empty() && TextWidth(other.Grid(), strTry.c_str()) + 8 == nNumberFit - 1)
                strTitle = strTry;
        }
    ASSERT_FALSE(strTitle.empty()) << "no title of m and i falls a pixel short of the number";
    COwnedTable amounts({{strTitle.c_str(), COLTYPE_DOUBLE, 0, FALSE}});
    amounts.Table().GetColumn(0).SetDecimals(-2);
    amounts.Table().GetColumn(0).SetThousands(TRUE);
    amounts.Table().GetColumn(0).SetFitWidth(TRUE);
    amounts.Table().Open();
    // A narrow figure beside it, measured as the window opens.
    TBCellSlot* pBlock = amounts.NewBlock();
    TBCellSlot* pSmall = amounts.NewBlock();
    const double dZero = 0, dSmall = 1.5, dAmount = 1234.56;
    amounts.View(0).GetColumns().SetSlotValue(&pBlock[0], &dZero, 0);
    amounts.View(0).GetColumns().SetSlotValue(&pSmall[0], &dSmall, 0);
    amounts.Insert(pBlock);
    amounts.Insert(pSmall);
    CGridWindow third(amounts.View(0), 500, 200);
    ASSERT_EQ(nNumberFit - 1, third->GetColumnWidth(0)) << strTitle;
    amounts.Find(pBlock).UpdateCell(0, &dAmount);
    UpdateWindow(third.Hwnd());
    EXPECT_EQ(nNumberFit, third->GetColumnWidth(0)) << strTitle;
    EXPECT_EQ("1,234.56", Shown(third.Grid(), 0, 0));
}

TEST(ColumnFit, TheBoldFontsWidthsCountForALiveValue)
{
    CCodeColumn codes({"11111111", "1"});
    CGridWindow grid(codes.t.View(0), 600, 200);
    grid->SetBoldFont(MakeFont(-30, FW_BOLD));
    UpdateWindow(grid.Hwnd());
    ASSERT_EQ(FitWidth(grid.Grid(), "11111111") + 7, grid->GetColumnWidth(0));
    codes.Write(1, "%%%%%%%%");
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(FitWidth(grid.Grid(), "%%%%%%%%") + 7, grid->GetColumnWidth(0));
}

// A text measured in the old font is measured again in the new one, a live value too.
TEST(ColumnFit, ANewFontFitsTheColumnToItsOwnWidths)
{
    CCodeColumn codes({"Atlantic Harbor", "12.50"});
    CGridWindow grid(codes.t.View(0), 600, 200);
    codes.Write(1, "12.75");
    grid->SetFont(MakeFont(-24, FW_NORMAL));
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(FitWidth(grid.Grid(), "Atlantic Harbor") + 7, grid->GetColumnWidth(0));
    codes.Write(0, "12.75");
    codes.Write(1, "Atlantic Harbor");
    codes.Write(0, "Atlantic Harbor Holding");
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(FitWidth(grid.Grid(), "Atlantic Harbor Holding") + 7, grid->GetColumnWidth(0));
    EXPECT_EQ("Atlantic Harbor Holding", Shown(grid.Grid(), 0, 0));
}

// Prices line up at their decimal point: a price with fewer decimals than the column's stands
// in from the edge by the missing digits, and its column makes room for them too.
TEST(ColumnFit, APriceShortOfDecimalsHasRoomForTheMissingDigits)
{
    CFittedTable table;
    table.Fill(3);
    CTableColumn* pLast = table.View().GetColumnOrder().GetColumn(GRID_COL_LAST);
    pLast->SetMinDecimals(1);
    pLast->m_nAlign = ALIGN_RIGHT;
    pLast->RecalcAlignment();
    CGridWindow grid(table.View(), 500, 200);
    ASSERT_EQ("100.125", Shown(grid.Grid(), 1, GRID_COL_LAST));
    const int nBefore = grid->GetColumnWidth(GRID_COL_LAST);
    WriteLast(table, table.Add(3), 1000.5);
    UpdateWindow(grid.Hwnd());
    EXPECT_GT(grid->GetColumnWidth(GRID_COL_LAST), nBefore);
    EXPECT_EQ(TextWidth(grid.Grid(), "1,000.5") + 2 * grid->GetDigitWidth(FALSE) + 7, grid->GetColumnWidth(GRID_COL_LAST));
    EXPECT_EQ("1,000.5", Shown(grid.Grid(), 3, GRID_COL_LAST));
    // A value that rounds up into one more whole digit than it holds.
    WriteLast(table, table.Add(4), -9999.999);
    WriteLast(table, table.Add(5), 9999.9996);
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ("10,000.0", Shown(grid.Grid(), 5, GRID_COL_LAST));
    EXPECT_EQ(TextWidth(grid.Grid(), "10,000.0") + 2 * grid->GetDigitWidth(FALSE) + 7, grid->GetColumnWidth(GRID_COL_LAST));
}

// A column that grows in a window of the same size: the cells reach over the new width at once,
// and a bar comes when the columns no longer fit, so every cell shows and can be scrolled to.
TEST(ColumnFit, AWiderColumnTakesItsRoomInTheSameWindow)
{
    CFittedTable table;
    table.Fill(3);
    CGridWindow grid(table.View(), 280, 200);
    CTableWindowArea& pane = grid->GetScrollPane();
    ASSERT_FALSE(pane.IsScrollBarShown());
    ASSERT_LT(pane.GetTotalWidth() + 30, Width(pane.GetRect())) << "room to grow within the window";
    const int nBefore = Width(pane.GetCellRect());

    WriteLast(table, table.Add(3), 1234.125);
    UpdateWindow(grid.Hwnd());
    EXPECT_GT(pane.GetTotalWidth(), nBefore);
    EXPECT_EQ(pane.GetTotalWidth(), Width(pane.GetCellRect())) << "the cells end where the columns do";
    EXPECT_FALSE(pane.IsScrollBarShown());
    EXPECT_EQ("1,234.125", Shown(grid.Grid(), 3, GRID_COL_LAST));

    WriteLast(table, table.Add(4), -98765432109876.125);
    UpdateWindow(grid.Hwnd());
    ASSERT_GT(pane.GetTotalWidth(), Width(pane.GetRect()));
    EXPECT_TRUE(pane.IsScrollBarShown()) << "the columns no longer fit";
    EXPECT_EQ(Width(pane.GetRect()), Width(pane.GetCellRect()));
    pane.EnsureColumnVisible(GRID_COL_CHANGE);
    UpdateWindow(grid.Hwnd());
    EXPECT_NE("", Shown(grid.Grid(), 0, GRID_COL_CHANGE)) << "the last column scrolled to";
}

// A title wider than its column's texts sets the width, in the font and the language shown.
TEST(ColumnFit, ATitleFitsInTheFontAndTheLanguageShown)
{
    COwnedTable t({{"Qty", COLTYPE_INT32, 0, FALSE}});
    const int nLanguage = GetNorvGlobals().m_nLanguage;
    t.Table().GetColumn(0).SetTitle("Quantity", nLanguage);
    t.Table().GetColumn(0).SetTitle("Quantity traded today", 1 - nLanguage);
    t.Table().GetColumn(0).SetFitWidth(TRUE);
    t.Table().Open();
    TBCellSlot* pBlock = t.NewBlock();
    PutInt(t, pBlock, 0, 7);
    t.Insert(pBlock);
    CGridWindow grid(t.View(0), 600, 200);
    grid->SetFont(MakeFont(-24, FW_NORMAL));
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ(TextWidth(grid.Grid(), "Quantity") + 8, grid->GetColumnWidth(0)) << "measured in the new font";
    GetNorvGlobals().SetLanguage(1 - nLanguage);
    EXPECT_EQ(TextWidth(grid.Grid(), "Quantity traded today") + 8, grid->GetColumnWidth(0));
    GetNorvGlobals().SetLanguage(nLanguage);
}

// An update of its sort key and another column at once, in place or moving its row.
void UpdateTwo(CGridTable& table, TBCellSlot* pBlock, double dLast, int nCol, const void* pValue)
{
    CRow row = table.t.Find(pBlock);
    row.BeginUpdate();
    row.UpdateCell(GRID_COL_LAST, &dLast);
    row.UpdateCell(nCol, pValue);
    row.EndUpdate();
}

// An update of a row's sort key widens every column it wrote, whether the row keeps its place or
// moves; a row a filter hid comes into view with texts written while hidden, and its columns
// hold them too.
TEST(ColumnFit, AnUpdateOfTheSortKeyWidensEveryColumnItWrote)
{
    CFittedTable table;
    table.Fill(12);
    table.SortBy(GRID_COL_LAST, SORT_DESCENDING);
    CGridWindow grid(table.View(), 600, 400);
    const int32_t nVolume = 2000000000;
    UpdateTwo(table, table.Add(12), 900.0, GRID_COL_VOLUME, &nVolume);
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ("2,000,000,000", Shown(grid.Grid(), 0, GRID_COL_VOLUME)) << "in place";
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), TextWidth(grid.Grid(), "2,000,000,000") + 7);
    TBCellSlot* pBlock = table.Add(13);
    const double dMoved = -1234567.25;
    UpdateTwo(table, pBlock, 1.5, GRID_COL_CHANGE, &dMoved);
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ("-1,234,567.25", Shown(grid.Grid(), table.View().GetRowCount() - 1, GRID_COL_CHANGE)) << "moved";
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_CHANGE), TextWidth(grid.Grid(), "-1,234,567.25") + 7);

    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(&table.View(), nullptr);
    pFilters->AddFilter(GRID_COL_LAST, ">100", /*bFlag=*/FALSE, /*nGroup=*/0);
    pFilters->SetMode(FILTER_MARK);
    table.View().SetFilters(pFilters);
    table.View().ApplyFilters(pFilters);
    table.View().SetSumMode(1);
    const double dChange = -98765432.25;
    table.t.Find(pBlock).UpdateCell(GRID_COL_CHANGE, &dChange);
    WriteLast(table, pBlock, 1000.0);
    UpdateWindow(grid.Hwnd());
    ASSERT_EQ("1,000", Shown(grid.Grid(), 0, GRID_COL_LAST)) << "the hidden row shows";
    EXPECT_EQ("-98,765,432.25", Shown(grid.Grid(), 0, GRID_COL_CHANGE));
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_CHANGE), TextWidth(grid.Grid(), "-98,765,432.25") + 7);
    table.View().SetSumMode(0);
    table.View().SetFilters(nullptr);
}

namespace {
BOOL FormatPledge(char* pszBuf, int nSize, const TBCellSlot* pRow, int nUserValue)
{
    static const char* const s_texts[] = {"Own", "Pledged", "Pledged as collateral for a loan"};
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s", s_texts[pRow[nUserValue].nValue % 3]);
    return TRUE;
}
}  // namespace

// A text made of the row's other values widens its column when an update that moves the row
// writes one of them.
TEST(ColumnFit, AComputedTextWidensWithTheValueItIsMadeOf)
{
    COwnedTable t({{"Rank", COLTYPE_INT32, 0, FALSE}, {"Pledge", COLTYPE_INT32, 0, FALSE}, {"T", COLTYPE_COMPUTED, 0, FALSE}});
    t.Table().GetColumn(2).SetComputed(FormatPledge, 1);
    t.Table().GetColumn(2).SetFitWidth(TRUE);
    t.Table().Open();
    std::vector<TBCellSlot*> blocks;
    for (int i = 0; i < 3; ++i) {
        blocks.push_back(t.NewBlock());
        PutInt(t, blocks.back(), 0, i);
        t.Insert(blocks.back());
    }
    CSortColumns keys(30);
    keys.Add(0, SORT_ASCENDING);
    t.View(0).Sort(keys, FALSE);
    CGridWindow grid(t.View(0), 600, 200);
    const int32_t nCollateral = 2, nLast = 9;
    CRow row = t.Find(blocks[0]);
    row.BeginUpdate();
    row.UpdateCell(0, &nLast);
    row.UpdateCell(1, &nCollateral);
    row.EndUpdate();
    UpdateWindow(grid.Hwnd());
    EXPECT_EQ("Pledged as collateral for a loan", Shown(grid.Grid(), 2, 2));
    EXPECT_EQ(TextWidth(grid.Grid(), "Pledged as collateral for a loan") + 7, grid->GetColumnWidth(2));
}

namespace {
// A code table's texts by code, as the terminal's code tables give them; made again in another
// language while the window stays open.
const char* const* s_pHoldingTexts = nullptr;
BOOL FormatHolding(char* pszBuf, int nSize, const TBCellSlot* pRow, int nUserValue)
{
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s", s_pHoldingTexts[pRow[nUserValue].nValue % 3]);
    return TRUE;
}
}  // namespace

// A code's text is known again by its code, a name by its letters: a refit that starts from
// the title still reaches the widest text, if only a few pixels wider than the next; texts made
// again widen the column. A zero the column shows takes its room too.
TEST(ColumnFit, ACodeColumnHoldsItsWidestCodesTextAtEveryRefit)
{
    static const char* const s_first[] = {"Own", "Pledged as collateral", "Pledged as collaterals"};
    static const char* const s_again[] = {"Own", "Pledged as collateral", "Pledged as collateral to the bank"};
    static const char* const s_names[] = {"Gulf", "Gulf Bank I", "Gulf Bank II"};
    s_pHoldingTexts = s_first;
    RegisterCodeFormat(FormatHolding);
    TouchCodeFormats();
    COwnedTable t({{"Code", COLTYPE_INT32, 0, FALSE}, {"H", COLTYPE_COMPUTED, 0, FALSE}, {"N", COLTYPE_STRING, 20, FALSE},
                   {"Z", COLTYPE_DOUBLE, 0, FALSE}});
    t.Table().GetColumn(1).SetComputed(FormatHolding, 0);
    t.Table().GetColumn(3).SetDecimals(-3);
    t.Table().GetColumn(3).SetBlankZero(FALSE);
    t.Table().GetColumn(3).SetMinDecimals(3);
    for (int nCol = 1; nCol < 4; ++nCol)
        t.Table().GetColumn(nCol).SetFitWidth(TRUE);
    t.Table().Open();
    for (int i = 0; i < 9; ++i) {
        TBCellSlot* pBlock = t.NewBlock();
        PutInt(t, pBlock, 0, i % 3);
        PutText(t, pBlock, 2, s_names[i % 3]);
        const double dZero = 0.0;
        t.View(0).GetColumns().SetSlotValue(&pBlock[3], &dZero, 3);
        t.Insert(pBlock);
    }
    CGridWindow grid(t.View(0), 600, 300);
    const auto expectWhole = [&](int nCol, const char* pszWidest, int nRows, const char* pszWhen) {
        UpdateWindow(grid.Hwnd());
        EXPECT_EQ(TextWidth(grid.Grid(), pszWidest) + 7, grid->GetColumnWidth(nCol)) << pszWhen << ", column " << nCol;
        int nWhole = 0;
        for (int nLine = 0; nLine < t.View(0).GetRowCount(); ++nLine)
            nWhole += Shown(grid.Grid(), nLine, nCol) == pszWidest ? 1 : 0;
        EXPECT_EQ(nRows, nWhole) << pszWhen << ": every row of the widest text shows it whole, column " << nCol;
    };
    expectWhole(1, "Pledged as collaterals", 3, "opened");
    expectWhole(2, "Gulf Bank II", 3, "opened");
    expectWhole(3, "0.000", 9, "opened");
    // The code's decimals changed: the window fits every column again from its title.
    t.Table().GetColumn(0).SetDecimals(1);
    expectWhole(1, "Pledged as collaterals", 3, "refitted");
    expectWhole(2, "Gulf Bank II", 3, "refitted");
    expectWhole(3, "0.000", 9, "refitted");
    s_pHoldingTexts = s_again;
    TouchCodeFormats();
    t.Table().GetColumn(0).SetDecimals(2);
    expectWhole(1, "Pledged as collateral to the bank", 3, "texts made again");
    s_pHoldingTexts = nullptr;

    // A time whose date the server left blank still shows, and takes its room when it comes.
    COwnedTable stamps({{"T", COLTYPE_DATETIME_TEXT, 14, FALSE}, {"Name", COLTYPE_STRING, 20, FALSE}});
    stamps.Table().GetColumn(0).SetFitWidth(TRUE);
    stamps.Table().GetColumn(1).SetFitWidth(TRUE);
    stamps.Table().Open();
    TBCellSlot* pStamp = stamps.NewBlock();
    PutText(stamps, pStamp, 1, "Gulf Bank");
    stamps.Insert(pStamp);
    CGridWindow times(stamps.View(0), 400, 200);
    stamps.Find(pStamp).UpdateCell(0, "--------093015");
    UpdateWindow(times.Hwnd());
    const std::string strShown = Shown(times.Grid(), 0, 0);
    EXPECT_NE(std::string::npos, strShown.find("30")) << "[" << strShown << "]";
    EXPECT_EQ(TextWidth(times.Grid(), strShown.c_str()) + 7, times->GetColumnWidth(0)) << strShown;
}

// A reply of many rows into a fitted grid, in any order with live changes, removals and paints:
// the model is what the server said. Each paint shows its lines' texts whole, and once a reply
// has ended so does every page of the window.
namespace {
enum { RF_SYMBOL, RF_CURRENCY, RF_AMOUNT, RF_QUANTITY, RF_CODE, RF_HOLDING, RF_NAME, RF_DATE, RF_COLUMNS };
const char* const s_replyHoldings[] = {"Own", "Pledged", "Pledged as collateral to the bank"};

// A row as the server said it: an amount in its currency's fils or cents, a quantity (none
// shows blank), a holding's code, a company's name and a date (day and month without zeros).
struct CRowSaid
{
    bool bKwd = false;
    long long nUnits = 0;
    int32_t nQuantity = 0, nCode = 0;
    std::string strName;
    int nYear = 2011, nMonth = 1, nDay = 1;
};

struct CSaid
{
    std::map<int, CRowSaid> rows;   // by symbol, as the view sorts them
    bool bLoading = false;
    int nNext = 0;
    int KeyAt(size_t nAt) const { return std::next(rows.begin(), static_cast<long>(nAt % rows.size()))->first; }
};

std::string Grouped(unsigned long long n)
{
    std::string strDigits = std::to_string(n);
    for (int i = static_cast<int>(strDigits.size()) - 3; i > 0; i -= 3)
        strDigits.insert(static_cast<size_t>(i), ",");
    return strDigits;
}

std::string Symbol(int nKey)
{
    char szSymbol[16];
    snprintf(szSymbol, sizeof szSymbol, "S%05d", nKey);
    return szSymbol;
}

// The text a trader reads in a column for the row the server said.
std::string ExpectedText(int nKey, const CRowSaid& row, int nCol)
{
    const unsigned long long nUnit = row.bKwd ? 1000 : 100, nAbs = static_cast<unsigned long long>(std::llabs(row.nUnits));
    std::string strFraction = std::to_string(nAbs % nUnit);
    strFraction.insert(0, (row.bKwd ? 3 : 2) - strFraction.size(), '0');
    switch (nCol) {
    case RF_SYMBOL: return Symbol(nKey);
    case RF_CURRENCY: return row.bKwd ? "=KWD" : "USD";
    case RF_AMOUNT: return (row.nUnits < 0 ? "-" : "") + Grouped(nAbs / nUnit) + "." + strFraction;
    case RF_QUANTITY:
        return row.nQuantity == 0 ? "" : (row.nQuantity < 0 ? "-" : "") + Grouped(static_cast<unsigned long long>(std::llabs(row.nQuantity)));
    case RF_HOLDING: return s_replyHoldings[row.nCode % 3];
    case RF_NAME: return row.strName;
    case RF_DATE: return std::to_string(row.nDay) + "/" + std::to_string(row.nMonth) + "/" + std::to_string(row.nYear);
    }
    return "";
}

// A row of the server's key nKey: the later the row, the more digits its figures may take (a
// name four letters a digit), so that the widest text of a reply comes late in it as often as not.
CRowSaid GenRow(int nKey)
{
    const int nDigits = std::min(12, 1 + nKey / 120);
    const auto upTo = [](int nMost) {
        long long nLimit = 1;
        for (int i = *rc::gen::inRange(0, nMost + 1); i > 0; --i)
            nLimit *= 10;
        return *rc::gen::inRange(0LL, nLimit) * (*rc::gen::arbitrary<bool>() ? -1 : 1);
    };
    CRowSaid row;
    row.bKwd = *rc::gen::arbitrary<bool>();
    row.nUnits = upTo(nDigits);
    row.nQuantity = static_cast<int32_t>(upTo(std::min(nDigits, 9)));
    row.nCode = *rc::gen::inRange(0, std::min(3, 1 + nDigits / 4));
    row.strName = *rc::gen::container<std::string>(static_cast<size_t>(*rc::gen::inRange(0, 4 * nDigits + 1)),
                                                     rc::gen::elementOf(std::string("aiWM Gulf")));
    row.nYear = *rc::gen::inRange(2000, 2030);
    row.nMonth = *rc::gen::inRange(1, std::min(12, nDigits) + 1);
    row.nDay = *rc::gen::inRange(1, std::min(28, 2 * nDigits) + 1);
    return row;
}

class CReplyGrid
{
public:
    CReplyGrid()
        : t({{"Symbol", COLTYPE_STRING, 8, FALSE}, {"Currency", COLTYPE_STRING, 8, FALSE}, {"Amount", COLTYPE_DOUBLE, 0, FALSE},
             {"Quantity", COLTYPE_INT32, 0, FALSE}, {"Code", COLTYPE_INT32, 0, FALSE}, {"Holding", COLTYPE_COMPUTED, 0, FALSE},
             {"Name", COLTYPE_STRING, 60, FALSE}, {"Date", COLTYPE_DATE_TEXT, 8, FALSE}})
    {
        UseSourceResources();
        GetNorvGlobals().m_strDatePattern = "d/m/Y";
        s_pHoldingTexts = s_replyHoldings;
        RegisterCodeFormat(FormatHolding);
        TouchCodeFormats();
        CColumn amount = t.Table().GetColumn(RF_AMOUNT);
        amount.SetDecimals(-2);
        amount.SetBlankZero(FALSE);
        amount.SetUnit(RF_CURRENCY, [](const char* pszUnit, int nDecimals) { return strcmp(pszUnit, "=KWD") == 0 ? -3 : nDecimals; });
        t.Table().GetColumn(RF_QUANTITY).SetBlankZero(TRUE);
        t.Table().GetColumn(RF_HOLDING).SetComputed(FormatHolding, RF_CODE);
        for (int nCol = 0; nCol < RF_COLUMNS; ++nCol) {
            t.Table().GetColumn(nCol).SetFitWidth(nCol != RF_CODE);
            t.Table().GetColumn(nCol).SetThousands(TRUE);
        }
        t.Table().Open();
        CSortColumns bySymbol(1);
        bySymbol.Add(RF_SYMBOL, SORT_ASCENDING);
        t.View(0).Sort(bySymbol, FALSE);
        pGrid = std::make_unique<CGridWindow>(t.View(0), 900, 1200);
    }
    ~CReplyGrid()
    {
        GetNorvGlobals().m_strDatePattern = m_strDatePattern;
        s_pHoldingTexts = nullptr;
    }
    void Write(int nKey, const CRowSaid& row)
    {
        const double dAmount = static_cast<double>(row.nUnits) / (row.bKwd ? 1000.0 : 100.0);
        TBCellSlot*& pBlock = blocks[nKey];
        if (pBlock != nullptr) {
            CRow written = t.Find(pBlock);
            written.UpdateCell(RF_AMOUNT, &dAmount);
            written.UpdateCell(RF_QUANTITY, &row.nQuantity);
            written.UpdateCell(RF_NAME, row.strName.c_str());
            return;
        }
        pBlock = t.NewBlock();
        char szDate[16];
        snprintf(szDate, sizeof szDate, "%04d%02d%02d", row.nYear, row.nMonth, row.nDay);
        for (const auto& [nCol, strText] : {std::pair<int, std::string>{RF_SYMBOL, Symbol(nKey)}, {RF_CURRENCY, row.bKwd ? "=KWD" : "USD"},
                                            {RF_NAME, row.strName}, {RF_DATE, szDate}})
            PutText(t, pBlock, nCol, strText.c_str());
        t.View(0).GetColumns().SetSlotValue(&pBlock[RF_AMOUNT], &dAmount, RF_AMOUNT);
        PutInt(t, pBlock, RF_QUANTITY, row.nQuantity);
        PutInt(t, pBlock, RF_CODE, row.nCode);
        t.Insert(pBlock);
    }
    // Once no reply runs, every column is as wide as the widest text its rows make.
    void ExpectEveryRowFits(const CSaid& said)
    {
        for (int nCol = 0; nCol < RF_COLUMNS && !said.bLoading; ++nCol) {
            int nWidest = 0;
            for (const auto& [nKey, row] : said.rows) {
                const std::string strText = ExpectedText(nKey, row, nCol);
                auto it = widths.find(strText);
                if (it == widths.end())
                    it = widths.emplace(strText, TextWidth(pGrid->Grid(), strText.c_str())).first;
                nWidest = std::max(nWidest, it->second);
            }
            RC_ASSERT(nCol == RF_CODE || (*pGrid)->GetColumnWidth(nCol) >= nWidest + 7);
        }
    }
    // The lines the window shows from the given line on read whole, as the server's rows make them.
    void ExpectShownLinesWhole(const CSaid& said, int nFirst)
    {
        CTableWindow& grid = pGrid->Grid();
        grid.SetTopRow(nFirst, FALSE, 0);
        UpdateWindow(pGrid->Hwnd());
        auto it = said.rows.begin();
        for (int i = 0; i < grid.GetTopRow() && it != said.rows.end(); ++i)
            ++it;
        for (int nLine = 0; nLine < grid.GetLinesThatFit() && it != said.rows.end(); ++nLine, ++it)
            for (int nCol = 0; nCol < RF_COLUMNS; ++nCol)
                RC_ASSERT(nCol == RF_CODE || Shown(grid, nLine, nCol) == ExpectedText(it->first, it->second, nCol));
    }

    const CTBString m_strDatePattern = GetNorvGlobals().m_strDatePattern;
    COwnedTable t;
    std::unique_ptr<CGridWindow> pGrid;
    std::map<int, TBCellSlot*> blocks;
    std::map<std::string, int> widths;
};

using CReplyCommand = rc::state::Command<CSaid, CReplyGrid>;

struct CServerRows : CReplyCommand
{
    explicit CServerRows(const CSaid& said)
    {
        for (int i = *rc::gen::inRange(1, 700); i > 0; --i)
            rows.push_back(GenRow(said.nNext + static_cast<int>(rows.size())));
    }
    std::vector<CRowSaid> rows;
    void checkPreconditions(const CSaid& said) const override { RC_PRE(said.rows.size() + rows.size() <= 1500); }
    void apply(CSaid& said) const override
    {
        for (const CRowSaid& row : rows)
            said.rows[said.nNext++] = row;
    }
    void run(const CSaid& said, CReplyGrid& sut) const override
    {
        for (size_t i = 0; i < rows.size(); ++i)
            sut.Write(said.nNext + static_cast<int>(i), rows[i]);
        CSaid after = said;
        apply(after);
        sut.ExpectEveryRowFits(after);
    }
    void show(std::ostream& os) const override { os << rows.size() << " rows"; }
};

// A row's figures and name change (its currency and holding stay), or the row goes.
struct CRowChangedOrRemoved : CReplyCommand
{
    explicit CRowChangedOrRemoved(const CSaid& said) : changed(GenRow(said.nNext)) {}
    size_t nAt = *rc::gen::inRange<size_t>(0, 1500);
    bool bRemoved = *rc::gen::arbitrary<bool>();
    CRowSaid changed;
    void checkPreconditions(const CSaid& said) const override { RC_PRE(!said.rows.empty()); }
    void apply(CSaid& said) const override
    {
        CRowSaid& row = said.rows[said.KeyAt(nAt)];
        std::tie(row.nUnits, row.nQuantity, row.strName) = std::tie(changed.nUnits, changed.nQuantity, changed.strName);
        if (bRemoved)
            said.rows.erase(said.KeyAt(nAt));
    }
    void run(const CSaid& said, CReplyGrid& sut) const override
    {
        const int nKey = said.KeyAt(nAt);
        CSaid after = said;
        apply(after);
        if (!bRemoved) {
            sut.Write(nKey, after.rows[nKey]);
            sut.ExpectEveryRowFits(after);
            return;
        }
        CRow row = sut.t.Find(sut.blocks[nKey]);
        RC_ASSERT(sut.t.Table().DeleteRow(row));
        sut.t.FreeBlock(sut.blocks[nKey]);
        sut.blocks.erase(nKey);
    }
    void show(std::ostream& os) const override { os << "row " << nAt << (bRemoved ? " removed" : " changed"); }
};

// A reply begins (one the server sends whole empties the table first) or ends; at its end every
// page of the window reads whole.
struct CReplyBeginsOrEnds : CReplyCommand
{
    bool bWhole = *rc::gen::arbitrary<bool>();
    void apply(CSaid& said) const override
    {
        if (!said.bLoading && bWhole)
            said.rows.clear();
        said.bLoading = !said.bLoading;
    }
    void run(const CSaid& said, CReplyGrid& sut) const override
    {
        if (!said.bLoading && bWhole) {
            sut.t.Table().RemoveAllRows();
            for (const auto& [nKey, pBlock] : sut.blocks)
                sut.t.FreeBlock(pBlock);
            sut.blocks.clear();
        }
        sut.t.View(0).SetLoading(!said.bLoading);
        CSaid after = said;
        apply(after);
        sut.ExpectEveryRowFits(after);
        for (int nTop = 0; said.bLoading && nTop < static_cast<int>(said.rows.size()); nTop += sut.pGrid->Grid().GetLinesThatFit())
            sut.ExpectShownLinesWhole(said, nTop);
    }
    void show(std::ostream& os) const override { os << (bWhole ? "a whole reply begins or ends" : "a reply begins or ends"); }
};

// The trader scrolls to a place and the window paints.
struct CPainted : CReplyCommand
{
    int nPercent = *rc::gen::inRange(0, 101);
    void run(const CSaid& said, CReplyGrid& sut) const override
    {
        sut.ExpectShownLinesWhole(said, static_cast<int>(said.rows.size()) * nPercent / 100);
    }
    void show(std::ostream& os) const override { os << "painted at " << nPercent << "%"; }
};
}  // namespace

TEST(ColumnFit, AReplysRowsReadWholeWhereverTheyComeAndWhateverIsPaintedMeanwhile)
{
    TB_CHECK_PROPERTY(12, [] {
        CReplyGrid sut;
        rc::state::check(CSaid{}, sut,
                         rc::state::gen::execOneOfWithArgs<CServerRows, CRowChangedOrRemoved, CReplyBeginsOrEnds, CPainted>());
    });
}
