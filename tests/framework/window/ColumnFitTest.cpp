// Columns whose width follows what they hold: as wide as their widest text or title when the
// grid opens, wider as a wider value comes (a live change, a new row, the total line), never '#'
// for a value such a column can hold; a width the user sets stays, and so does a saved one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/base/SettingsFile.h"
#include "framework/table/Row.h"
#include "framework/window/TableWindowArea.h"
#include "platform/win/user/Paint.h"
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

TEST(ColumnFit, TheTotalLineWidensItsColumn)
{
    CFittedTable table;
    for (int i = 0; i < 30; ++i)
        PutInt(table.t, table.Add(i), GRID_COL_VOLUME, 99999999);
    CGridWindow grid(table.View(), 400, 200);
    table.View().SetTotalsMode(2);
    UpdateWindow(grid.Hwnd());
    EXPECT_GE(grid->GetColumnWidth(GRID_COL_VOLUME), WidestText(grid.Grid(), table.View(), GRID_COL_VOLUME) + 7);
    EXPECT_GT(WidestText(grid.Grid(), table.View(), GRID_COL_VOLUME), TextWidth(grid.Grid(), "99,999,999"));
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
