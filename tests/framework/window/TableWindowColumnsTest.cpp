// The grid's columns under the user's hands and its appearance: resizing with its limits and the
// timer that widens past the pane, moving, the sort arrow of the first key, change highlights that
// age away, fonts from a face, one grid's appearance copied to another, and two grids of one view.
#include <gtest/gtest.h>

#include <ctime>
#include <memory>

#include "framework/table/ViewRow.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

// The column's title cell as pixels, drawn alone on a memory DC.
std::vector<COLORREF> TitlePixels(CTableWindow& grid, int nDisplayCol, int cx)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = CreateBitmap(cx, 20, 1, 32, nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    RECT rc = {0, 0, cx, 20};
    FillRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    grid.PrepareDC(hdc);
    grid.DrawColumnTitle(hdc, nDisplayCol, rc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 20; ++y)
        for (int x = cx - 14; x < cx; ++x)      // the arrow's box at the trailing end
            pixels.push_back(GetPixel(hdc, x, y));
    SelectObject(hdc, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hdc);
    return pixels;
}

POINT TrailingEdge(CTableWindow& grid, int nDisplayCol)
{
    RECT rc;
    grid.PaneOfColumn(nDisplayCol)->GetColumnRect(nDisplayCol, &rc);
    return POINT{rc.right, (rc.top + grid.GetScrollPane().GetTitleRect().top) / 2};
}

}  // namespace

TEST(TableWindowColumns, ResizeStopsAtTenPixelsAndGrowsPastThePaneOnItsTimer)
{
    CGridTable table;
    table.Fill(10);
    CGridWindow grid(table.View(), 300, 200);
    const int nCol = 1;
    POINT pt = TrailingEdge(grid.Grid(), nCol);
    grid->BeginColumnResize(nCol, pt);
    ASSERT_TRUE(grid->IsColumnDragActive());
    // Left of the column's own start but inside the pane: the narrowest width.
    grid->TrackColumnResize(grid->GetScrollPane().GetRect().left + 2, pt.y);
    EXPECT_EQ(10, grid->GetColumnWidth(nCol));
    grid->TrackColumnResize(pt.x + 20, pt.y);
    EXPECT_EQ(75 + 20, grid->GetColumnWidth(nCol));
    grid->EndColumnResize(TRUE);
    EXPECT_FALSE(grid->IsColumnDragActive());
    EXPECT_EQ(95, table.View().GetColumnOrder().GetColumn(nCol)->m_nWidth) << "kept as the column's width";

    // Past the pane's far edge the column widens by 10 pixels a tick while the pane scrolls along.
    const int nLast = 3;
    pt = TrailingEdge(grid.Grid(), nLast);
    grid->BeginColumnResize(nLast, pt);
    const int nBefore = grid->GetColumnWidth(nLast);
    grid->TrackColumnResize(grid->GetScrollPane().GetRect().right + 40, pt.y);
    EXPECT_EQ(nBefore, grid->GetColumnWidth(nLast)) << "the timer widens, not the pointer";
    SendMessageA(grid.Hwnd(), WM_TIMER, TW_TIMER_GROW_COLUMN, 0);
    SendMessageA(grid.Hwnd(), WM_TIMER, TW_TIMER_GROW_COLUMN, 0);
    EXPECT_EQ(nBefore + 20, grid->GetColumnWidth(nLast));
    EXPECT_GT(grid->GetScrollPane().GetOffset(), 0);
    // A cancelled drag keeps what the timer did but applies nothing more.
    SendMessageA(grid.Hwnd(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(grid->IsColumnDragActive());
}

TEST(TableWindowColumns, MovedColumnGoesBeforeItsDropTarget)
{
    CGridTable table;
    table.Fill(5);
    table.View().SetFixedColumnCount(1);
    CGridWindow grid(table.View(), 500, 200);
    CTableColumnsMap& order = table.View().GetColumnOrder();
    auto orderText = [&order] {
        std::string str;
        for (int i = 0; i < order.GetCount(); ++i)
            str += static_cast<char>('0' + order.GetColumnIndex(i));
        return str;
    };
    RECT rc;
    grid->GetScrollPane().GetColumnRect(1, &rc);
    POINT pt = {(rc.left + rc.right) / 2, rc.top + 30};
    // Dropped on itself: nothing moves.
    grid->BeginColumnMove(1, pt);
    ASSERT_TRUE(grid->IsColumnDragActive());
    grid->TrackColumnMove(pt.x + 1, pt.y);
    grid->EndColumnMove(TRUE);
    EXPECT_EQ("0123", orderText());
    // Dropped past the last column: it goes to the end.
    grid->BeginColumnMove(1, pt);
    grid->TrackColumnMove(grid->GetScrollPane().GetCellRect().right - 2, pt.y);
    grid->EndColumnMove(TRUE);
    EXPECT_EQ("0231", orderText());
    // A fixed column does not move.
    grid->BeginColumnMove(0, POINT{5, pt.y});
    EXPECT_FALSE(grid->IsColumnDragActive());
}

TEST(TableWindowColumns, SortArrowShowsOnTheFirstKeyOnly)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow grid(table.View(), 400, 200);
    const std::vector<COLORREF> plain = TitlePixels(grid.Grid(), GRID_COL_LAST, 80);
    table.SortBy(GRID_COL_LAST, SORT_DESCENDING);
    EXPECT_NE(plain, TitlePixels(grid.Grid(), GRID_COL_LAST, 80)) << "the first key shows its arrow";
    const std::vector<COLORREF> other = TitlePixels(grid.Grid(), GRID_COL_VOLUME, 80);
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    EXPECT_EQ(other, TitlePixels(grid.Grid(), GRID_COL_VOLUME, 80)) << "no arrow on a column that is no key";
    EXPECT_EQ(plain, TitlePixels(grid.Grid(), GRID_COL_LAST, 80)) << "the arrow goes with the key";
}

TEST(TableWindowColumns, HighlightsAgeAwayByTheWholeAgeOfTheirStamp)
{
    CGridTable table;
    table.Fill(6);
    CGridWindow grid(table.View(), 400, 200);
    grid->SetHighlightSeconds(5);
    UpdateWindow(grid.Hwnd());
    const int64_t tNow = static_cast<int64_t>(time(nullptr));
    const int64_t stamps[] = {tNow - 2, tNow - 60, tNow + 3600, tNow - 65536 - 1, 0, tNow};
    for (int i = 0; i < 6; ++i) {
        CViewRow row(&table.View());
        ASSERT_TRUE(table.View().GetRow(row, i));
        row.GetNode()->SetStamp(stamps[i]);
    }
    SendMessageA(grid.Hwnd(), WM_TIMER, TW_TIMER_HIGHLIGHT, 0);
    std::vector<int64_t> left;
    for (int i = 0; i < 6; ++i) {
        CViewRow row(&table.View());
        table.View().GetRow(row, i);
        left.push_back(row.GetNode()->GetStamp());
    }
    // Recent stamps stay; old ones, one from the future and one a 16-bit compare would call
    // recent all go.
    EXPECT_EQ((std::vector<int64_t>{tNow - 2, 0, 0, 0, 0, tNow}), left);
    // Switching highlighting off clears every mark at once.
    grid->SetHighlightSecondsIndex(0);
    CViewRow row(&table.View());
    table.View().GetRow(row, 0);
    EXPECT_EQ(0, row.GetNode()->GetStamp());
    EXPECT_EQ(0, grid->GetHighlightSeconds());
}

TEST(TableWindowColumns, FontsFromAFaceAndAppearanceCopiedFromAnotherGrid)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow first(table.View(), 300, 200);
    CGridWindow second(table.View(), 300, 200);
    const int nSmallRow = first->GetRowHeight();
    ASSERT_TRUE(first->SetFontFace("DejaVu Sans", 20));
    EXPECT_GT(first->GetRowHeight(), nSmallRow) << "a bigger face makes taller rows";
    LOGFONTA normal = {}, bold = {};
    GetObjectA(first->GetFont(), sizeof(normal), &normal);
    GetObjectA(first->GetBoldFont(), sizeof(bold), &bold);
    EXPECT_EQ(400, normal.lfWeight);
    EXPECT_EQ(700, bold.lfWeight);

    first->SetCellTextColor(RGB(1, 2, 3), 7);
    first->SetBackgroundColor(RGB(9, 8, 7));
    first->SetHighlightSeconds(10);
    first->SetFollowLastRow(FALSE);
    second->CopyAppearance(&first.Grid());
    EXPECT_EQ(RGB(1, 2, 3), second->GetCellTextColor(7));
    EXPECT_EQ(RGB(9, 8, 7), second->GetWindowBackColor());
    EXPECT_EQ(10, second->GetHighlightSeconds());
    EXPECT_FALSE(second->GetFollowLastRow());
    EXPECT_NE(first->GetFont(), second->GetFont()) << "each grid owns its fonts";
    EXPECT_EQ(first->GetRowHeight(), second->GetRowHeight());
}

TEST(TableWindowColumns, TwoGridsOfOneViewGoWithIt)
{
    auto pTable = std::make_unique<CGridTable>();
    pTable->Fill(5);
    CGridWindow first(pTable->View(), 200, 150);
    CGridWindow second(pTable->View(), 200, 150);
    const HWND hFirst = first.Hwnd(), hSecond = second.Hwnd();
    ASSERT_TRUE(IsWindow(hFirst) && IsWindow(hSecond));
    pTable.reset();
    EXPECT_FALSE(IsWindow(hFirst));
    EXPECT_FALSE(IsWindow(hSecond));
    EXPECT_EQ(nullptr, first->GetView());
    EXPECT_EQ(nullptr, second->GetView());
}

TEST(TableWindowColumns, MinimiseAndSizeFollowTheirFlagsToo)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow grid(table.View(), 300, 200);
    grid->SetAllowMinimize(FALSE);
    SendMessageA(grid.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsIconic(grid.Hwnd()));
    grid->SetAllowMinimize(TRUE);
    SendMessageA(grid.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(grid.Hwnd()));
    ShowWindow(grid.Hwnd(), SW_RESTORE);
}

TEST(TableWindowColumns, ColourCommandsAskAndStoreAPaletteColourOrNothingWhenCancelled)
{
    CGridTable table;
    table.Fill(5);
    CGridWindow grid(table.View(), 300, 200);
    const COLORREF crBefore = grid->GetCellBackColor(0);
    TbQueueTestAnswer({TB_ASK_COLOR, IDCANCEL, "10,20,30"});
    SendMessageA(grid.Hwnd(), WM_COMMAND, MAKEWPARAM(25002, 0), 0);
    EXPECT_EQ(crBefore, grid->GetCellBackColor(0));
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "10,20,30"});
    SendMessageA(grid.Hwnd(), WM_COMMAND, MAKEWPARAM(25002, 0), 0);
    EXPECT_EQ(0x02000000u | RGB(10, 20, 30), grid->GetCellBackColor(0));
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "40,50,60"});
    SendMessageA(grid.Hwnd(), WM_COMMAND, MAKEWPARAM(25003 + 4, 0), 0);
    EXPECT_EQ(0x02000000u | RGB(40, 50, 60), grid->GetCellTextColor(4));
}

TEST(TableWindowColumns, HighlightCommandsGiveTheirSeconds)
{
    CGridTable table;
    table.Fill(3);
    CGridWindow grid(table.View(), 300, 200);
    const int seconds[] = {0, 1, 3, 5, 10, 15, 30, 60};
    for (UINT nItem = 25801; nItem <= 25807; ++nItem) {
        SendMessageA(grid.Hwnd(), WM_COMMAND, MAKEWPARAM(nItem, 0), 0);
        EXPECT_EQ(seconds[nItem - 25800], grid->GetHighlightSeconds()) << nItem;
    }
    SendMessageA(grid.Hwnd(), WM_COMMAND, MAKEWPARAM(25800, 0), 0);
    EXPECT_EQ(0, grid->GetHighlightSeconds()) << "the first item switches highlighting off";
}
