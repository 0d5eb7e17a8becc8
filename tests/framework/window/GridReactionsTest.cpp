// How a grid window follows its view: live cell writes painted at once, re-sorts and sum-mode
// switches that keep the current row, columns hidden and shown, titles, and the view's end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "tests/common/WindowPixels.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

// The bounding box of the pixels that differ; empty when none do.
RECT Changed(HWND hWnd, const std::vector<COLORREF>& before, const std::vector<COLORREF>& after)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    RECT box = {0, 0, 0, 0};
    bool bAny = false;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) {
            size_t i = static_cast<size_t>(y) * static_cast<size_t>(rc.right) + static_cast<size_t>(x);
            if (before[i] == after[i])
                continue;
            if (!bAny)
                box = {x, y, x + 1, y + 1};
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                   std::max<LONG>(box.bottom, y + 1)};
            bAny = true;
        }
    return box;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

void WriteVolume(CGridTable& table, TBCellSlot* pBlock, int32_t nVolume)
{
    CRow row = table.t.Find(pBlock);
    ASSERT_TRUE(row.UpdateCell(GRID_COL_VOLUME, &nVolume));
}

}  // namespace

TEST(GridReactions, CellWritePaintsOnlyThatCellAtOnce)
{
    CGridTable table;
    std::vector<TBCellSlot*> blocks;
    for (int i = 0; i < 50; ++i)
        blocks.push_back(table.Add(i));
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    CGridWindow window(table.View());
    CTableWindow& grid = window.Grid();
    grid.SetCurrentRowOffset(0);
    Drain();
    const int nDisplayCol = table.View().GetColumnOrder().FindPosition(GRID_COL_VOLUME);
    RECT rcCell;
    grid.GetCellRect(3, nDisplayCol, &rcCell);
    ASSERT_FALSE(IsRectEmpty(&rcCell));

    std::vector<COLORREF> before = WindowPixels(window.Hwnd());
    WriteVolume(table, blocks[3], 987654);
    std::vector<COLORREF> after = WindowPixels(window.Hwnd());
    RECT rcChanged = Changed(window.Hwnd(), before, after);
    EXPECT_FALSE(IsRectEmpty(&rcChanged)) << "painted without a message";
    EXPECT_TRUE(Inside(rcChanged, rcCell)) << "changed " << rcChanged.left << "," << rcChanged.top << " "
                                           << rcChanged.right << "," << rcChanged.bottom;

    // Under the window's redraw lock, and outside the window, nothing is painted.
    before = after;
    grid.LockRedraw();
    WriteVolume(table, blocks[4], 123);
    grid.UnlockRedraw();
    WriteVolume(table, blocks[49], 456);
    after = WindowPixels(window.Hwnd());
    rcChanged = Changed(window.Hwnd(), before, after);
    EXPECT_TRUE(IsRectEmpty(&rcChanged));
    EXPECT_EQ(0, grid.GetCurrentOffset()) << "the frame came back where it was";
}

TEST(GridReactions, ChangeHighlightPaintsTheRowHeaderToo)
{
    CGridTable table;
    std::vector<TBCellSlot*> blocks;
    for (int i = 0; i < 10; ++i)
        blocks.push_back(table.Add(i));
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    // Long-standing rows: only the write below is recent.
    for (int i = 0; i < 10; ++i)
        table.View().GetRowTree().GetNodeAt(i)->SetStamp(0);
    CGridWindow window(table.View());
    window->SetHighlightSeconds(5);
    Drain();
    RECT rcHeader;
    ASSERT_TRUE(window->GetHeaderPane().GetLineRect(2, &rcHeader));
    std::vector<COLORREF> before = WindowPixels(window.Hwnd());
    WriteVolume(table, blocks[2], 4242);
    RECT rcChanged = Changed(window.Hwnd(), before, WindowPixels(window.Hwnd()));
    EXPECT_LE(rcChanged.left, rcHeader.right - 1) << "the header cell shows the change";
    EXPECT_GE(rcChanged.top, rcHeader.top);
    EXPECT_LE(rcChanged.bottom, rcHeader.bottom) << "and no other line";
}

// A batch reports each changed cell; the row header shows the change once and the window ends
// as a full repaint would paint it, for rows written in turn and again.
TEST(GridReactions, BatchOfCellsLeavesTheWindowAsAFullRepaint)
{
    CGridTable table;
    std::vector<TBCellSlot*> blocks;
    for (int i = 0; i < 10; ++i)
        blocks.push_back(table.Add(i));
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    for (int i = 0; i < 10; ++i)
        table.View().GetRowTree().GetNodeAt(i)->SetStamp(0);
    // A fixed column: the band between the panes meets whole-line repaints.
    table.View().SetAllowFixedColumns(TRUE);
    table.View().SetFixedColumnCount(1);
    CGridWindow window(table.View());
    window->SetHighlightSeconds(5);
    Drain();
    RECT rcHeader;
    ASSERT_TRUE(window->GetHeaderPane().GetLineRect(2, &rcHeader));
    const std::vector<COLORREF> before = WindowPixels(window.Hwnd());
    int32_t nVolume = 1000;
    for (int nRow : {2, 2, 5, 2, 7, 7}) {
        CRow row = table.t.Find(blocks[static_cast<size_t>(nRow)]);
        row.BeginUpdate();
        ++nVolume;
        ASSERT_TRUE(row.UpdateCell(GRID_COL_VOLUME, &nVolume));
        const double dChange = nVolume / 100.0;
        ASSERT_TRUE(row.UpdateCell(GRID_COL_CHANGE, &dChange));
        row.EndUpdate();
        // A whole-line change too, now and then.
        CViewRow line;
        if (nRow == 5 && table.View().GetRow(line, 4))
            line.SetStatusChar('X');
        const std::vector<COLORREF> live = WindowPixels(window.Hwnd());
        InvalidateRect(window.Hwnd(), nullptr, FALSE);
        UpdateWindow(window.Hwnd());
        const std::vector<COLORREF> full = WindowPixels(window.Hwnd());
        RECT rcStale = Changed(window.Hwnd(), live, full);
        EXPECT_TRUE(IsRectEmpty(&rcStale)) << "row " << nRow << ": stale at " << rcStale.left << "," << rcStale.top;
    }
    RECT rcChanged = Changed(window.Hwnd(), before, WindowPixels(window.Hwnd()));
    EXPECT_LT(rcChanged.left, rcHeader.right) << "the headers show the changes";
}

// A view shorter than its window: rows arriving and leaving above, between and after the others
// leave the window as a full repaint paints it, the empty lines below included.
TEST(GridReactions, RowsComingAndGoingInAShortViewLeaveTheWindowAsAFullRepaint)
{
    CGridTable table;
    std::vector<TBCellSlot*> blocks;
    for (int i = 0; i < 6; ++i)
        blocks.push_back(table.Add(i * 10));
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    table.View().SetTotalsMode(2);
    CGridWindow window(table.View());
    Drain();
    auto Check = [&](const char* pszWhat) {
        const std::vector<COLORREF> live = WindowPixels(window.Hwnd());
        InvalidateRect(window.Hwnd(), nullptr, FALSE);
        UpdateWindow(window.Hwnd());
        RECT rcStale = Changed(window.Hwnd(), live, WindowPixels(window.Hwnd()));
        EXPECT_TRUE(IsRectEmpty(&rcStale)) << pszWhat << ": stale at " << rcStale.left << "," << rcStale.top << " "
                                           << rcStale.right << "," << rcStale.bottom;
    };
    for (int i : {5, 0, 33, 61, 1}) {
        blocks.push_back(table.Add(i));
        Check("added");
    }
    for (size_t n : {size_t{0}, size_t{7}, size_t{3}, size_t{9}}) {
        CRow row = table.t.Find(blocks[n]);
        ASSERT_TRUE(table.t.Table().DeleteRow(row));
        Check("removed");
    }
}

// A whole-row change (here the status character) repaints the line with its header cell.
TEST(GridReactions, RowChangeRepaintsTheWholeLineWithItsHeader)
{
    CGridTable table;
    table.Fill(10);
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    CGridWindow window(table.View());
    Drain();
    RECT rcHeader;
    RECT rcLine;
    ASSERT_TRUE(window->GetHeaderPane().GetLineRect(4, &rcHeader));
    ASSERT_TRUE(window->GetScrollPane().GetLineRect(4, &rcLine));
    std::vector<COLORREF> before = WindowPixels(window.Hwnd());
    CViewRow row;
    ASSERT_TRUE(table.View().GetRow(row, 4));
    row.SetStatusChar('X');
    RECT rcChanged = Changed(window.Hwnd(), before, WindowPixels(window.Hwnd()));
    EXPECT_LT(rcChanged.left, rcHeader.right) << "the status shows in the header at once";
    EXPECT_GE(rcChanged.top, rcLine.top);
    EXPECT_LE(rcChanged.bottom, rcLine.bottom);
}

TEST(GridReactions, ResortKeepsTheCurrentRowOnItsDataRowAndLine)
{
    CGridTable table;
    table.Fill(80);
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    CGridWindow window(table.View());
    CTableWindow& grid = window.Grid();
    grid.SetTopRow(10, FALSE, 0);
    grid.SetCurrentRowOffset(4);
    CTableRow* pNode = table.View().GetRowTree().GetNodeAt(14);
    table.SortBy(GRID_COL_SYMBOL, SORT_DESCENDING);
    EXPECT_EQ(4, grid.GetCurrentOffset());
    EXPECT_EQ(pNode, table.View().GetRowTree().GetNodeAt(grid.GetCurrentRow()));

    // A current row on the view's last row stays on the last row.
    grid.SetTopRow(grid.GetMaxTopRow(), FALSE, 0);
    grid.SetCurrentRowOffset(79 - grid.GetTopRow());
    table.SortBy(GRID_COL_CHANGE, SORT_ASCENDING);
    EXPECT_EQ(79, grid.GetCurrentRow());
}

TEST(GridReactions, SumModeGoesToTheNearestMarkedRowAndComesBack)
{
    CGridTable table;
    table.Fill(60);
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    // Marked: 20, 24 and 40. From 22, 20 and 24 are as near: the one above wins.
    for (int i : {20, 24, 40}) {
        CViewRow row;
        table.View().GetRow(row, i);
        row.SetMarked(TRUE);
    }
    CGridWindow window(table.View());
    CTableWindow& grid = window.Grid();
    grid.SetTopRow(15, FALSE, 0);
    grid.SetCurrentRowOffset(22 - 15);
    CTableRow* pTwenty = table.View().GetRowTree().GetNodeAt(20);
    window->ToggleSumMode();
    ASSERT_EQ(1, table.View().GetSumMode());
    EXPECT_EQ(3, table.View().GetRowCount());
    EXPECT_EQ(0, grid.GetTopRow());
    EXPECT_EQ(pTwenty, table.View().GetRowTree().GetNodeAt(grid.GetCurrentRow()));

    window->ToggleSumMode();
    ASSERT_EQ(0, table.View().GetSumMode());
    EXPECT_EQ(15, grid.GetTopRow()) << "the earlier top comes back";
    EXPECT_EQ(20, grid.GetCurrentRow()) << "on the row that was current in the sum mode";

    // From the marked row itself, the earlier line comes back too.
    grid.SetCurrentRowOffset(24 - 15);
    window->ToggleSumMode();
    window->ToggleSumMode();
    EXPECT_EQ(15, grid.GetTopRow());
    EXPECT_EQ(24 - 15, grid.GetCurrentOffset());
}

TEST(GridReactions, HiddenColumnLeavesItsPaneAndComesBack)
{
    CGridTable table;
    table.Fill(10);
    CGridWindow window(table.View());
    CTableWindow& grid = window.Grid();
    grid.SetCurrentRowOffset(2);
    const int nDisplayCol = table.View().GetColumnOrder().FindPosition(GRID_COL_CHANGE);
    const int nWidth = grid.GetColumnWidth(nDisplayCol);
    ASSERT_GT(nWidth, 0);
    grid.OnColumnHiddenChanged(GRID_COL_CHANGE, TRUE);
    EXPECT_EQ(0, grid.GetColumnWidth(nDisplayCol));
    EXPECT_TRUE(table.View().GetColumns().GetColumn(GRID_COL_CHANGE)->m_bHidden);
    EXPECT_EQ(2, grid.GetCurrentOffset());
    grid.OnColumnHiddenChanged(GRID_COL_CHANGE, FALSE);
    EXPECT_EQ(nWidth, grid.GetColumnWidth(nDisplayCol));
    EXPECT_FALSE(table.View().GetColumns().GetColumn(GRID_COL_CHANGE)->m_bHidden);
    EXPECT_EQ(2, grid.GetCurrentOffset());
}

TEST(GridReactions, WindowTextFollowsTheTitleOfTheCurrentLanguageOnly)
{
    CGridTable table;
    CGridWindow window(table.View());
    const int nLanguage = GetNorvGlobals().m_nLanguage;
    table.View().SetTitle("Quotes", nLanguage);
    EXPECT_EQ("Quotes", std::string(window->GetWindowText()));
    table.View().SetTitle("Other", 1 - nLanguage);
    EXPECT_EQ("Quotes", std::string(window->GetWindowText()));
    // Switching the language shows the view's title in the new one.
    GetNorvGlobals().SetLanguage(1 - nLanguage);
    EXPECT_EQ("Other", std::string(window->GetWindowText()));
    GetNorvGlobals().SetLanguage(nLanguage);
    EXPECT_EQ("Quotes", std::string(window->GetWindowText()));
}

TEST(GridReactions, DestroyingTheViewDestroysTheWindow)
{
    auto pTable = std::make_unique<CGridTable>();
    pTable->Fill(5);
    CTableWindow grid;
    CGridWindow window(pTable->View(), 400, 300, &grid);
    HWND hWnd = window.Hwnd();
    ASSERT_TRUE(IsWindow(hWnd));
    pTable.reset();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, grid.GetView());
}

TEST(GridReactions, InsertedRowIsShownHalfAWindowBelowTheTop)
{
    CGridTable table;
    table.Fill(100);
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    CGridWindow window(table.View());
    CTableWindow& grid = window.Grid();
    const int nWhole = grid.GetWholeLines();
    ASSERT_GE(nWhole, 4);
    grid.OnRowInserted(table.View().GetRowTree().GetNodeAt(70), 70, -1);
    EXPECT_EQ(70, grid.GetCurrentRow());
    EXPECT_EQ(70 - nWhole / 2, grid.GetTopRow());
    EXPECT_FALSE(grid.IsEditorShowing());
}

// A hidden window takes the write without painting; showing it paints the new value.
TEST(GridReactions, HiddenWindowMarksTheCellAndPaintsItWhenShown)
{
    CGridTable table;
    std::vector<TBCellSlot*> blocks;
    for (int i = 0; i < 10; ++i)
        blocks.push_back(table.Add(i));
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    CGridWindow window(table.View());
    Drain();
    ShowWindow(window.Hwnd(), SW_HIDE);
    const std::vector<COLORREF> before = WindowPixels(window.Hwnd());
    WriteVolume(table, blocks[3], 987654);
    RECT rcChanged = Changed(window.Hwnd(), before, WindowPixels(window.Hwnd()));
    EXPECT_TRUE(IsRectEmpty(&rcChanged)) << "nothing painted while hidden";
    RECT rcCell;
    window->GetCellRect(3, table.View().GetColumnOrder().FindPosition(GRID_COL_VOLUME), &rcCell);
    RECT rcUpdate;
    ASSERT_TRUE(GetUpdateRect(window.Hwnd(), &rcUpdate, FALSE));
    EXPECT_TRUE(Inside(rcCell, rcUpdate)) << "the cell waits for the next paint";

    ShowWindow(window.Hwnd(), SW_SHOW);
    UpdateWindow(window.Hwnd());
    rcChanged = Changed(window.Hwnd(), before, WindowPixels(window.Hwnd()));
    EXPECT_FALSE(IsRectEmpty(&rcChanged)) << "the new value shows";
    EXPECT_TRUE(Inside(rcChanged, rcCell)) << "and nothing else changed";
}

namespace {

// The symbol a user reads on a window line of the grid ("" past the view's end).
std::string LineSymbol(CGridTable& table, CTableWindow& grid, int nLine)
{
    CRowPosition pos;
    if (!table.View().GetRowTree().LocateByIndex(grid.GetTopRow() + nLine, &pos))
        return "";
    char sz[32] = "";
    pos.m_pNode->GetCellText(sz, sizeof sz, GRID_COL_SYMBOL, table.View().GetColumns().GetColumn(GRID_COL_SYMBOL),
                             &table.View());
    return sz;
}

std::string CurrentSymbol(CGridTable& table, CTableWindow& grid)
{
    return LineSymbol(table, grid, grid.GetCurrentRow() - grid.GetTopRow());
}

}  // namespace

// A row arriving at the window's first line, and the current row at or around that line: what
// the first line and the current row show afterwards.
TEST(GridReactions, RowArrivingAtTheTopLineKeepsTheCurrentRowWhereTheUserSeesIt)
{
    struct Case {
        const char* pszWhat;
        int nCurrentOffset;          // window line of the current row
        const char* pszNewSymbol;    // sorts at view index 9 ("S0008a") or 10, the top line ("S0009a")
        const char* pszFirstLine;    // what the first line shows afterwards
        const char* pszCurrent;
        int nCurrentLine;            // its window line afterwards
    };
    const Case cases[] = {
        {"arrives at the top line, which is current", 0, "S0009a", "S0010", "S0010", 0},
        {"arrives at the top line above the current row", 3, "S0009a", "S0010", "S0013", 3},
        {"arrives just above the top line", 0, "S0008a", "S0010", "S0010", 0},
        {"arrives just below the top line, which is current", 0, "S0010a", "S0010", "S0010", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CGridTable table;
        table.Fill(40);
        table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
        CGridWindow window(table.View());
        CTableWindow& grid = window.Grid();
        ASSERT_GT(grid.GetWholeLines(), 5);
        grid.SetTopRow(10, FALSE, 0);
        grid.SetCurrentRowOffset(c.nCurrentOffset);
        ASSERT_EQ("S0010", LineSymbol(table, grid, 0));

        TBCellSlot* pBlock = table.t.NewBlock();
        PutText(table.t, pBlock, GRID_COL_SYMBOL, c.pszNewSymbol);
        table.t.Insert(pBlock);

        EXPECT_EQ(c.pszFirstLine, LineSymbol(table, grid, 0));
        EXPECT_EQ(c.pszCurrent, CurrentSymbol(table, grid));
        EXPECT_EQ(c.nCurrentLine, grid.GetCurrentRow() - grid.GetTopRow());
    }
    // Scrolled to the end, the window can still take one more line: the rows stay as they were.
    CGridTable table;
    table.Fill(40);
    table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
    CGridWindow window(table.View());
    CTableWindow& grid = window.Grid();
    grid.SetTopRow(grid.GetMaxTopRow(), FALSE, 0);
    grid.SetCurrentRowOffset(0);
    const std::string strFirst = LineSymbol(table, grid, 0);
    TBCellSlot* pBlock = table.t.NewBlock();
    char szBefore[16];                          // sorts just before the first line's symbol
    snprintf(szBefore, sizeof szBefore, "S%04da", std::stoi(strFirst.substr(1)) - 1);
    PutText(table.t, pBlock, GRID_COL_SYMBOL, szBefore);
    table.t.Insert(pBlock);
    EXPECT_EQ(strFirst, LineSymbol(table, grid, 0));
    EXPECT_EQ(strFirst, CurrentSymbol(table, grid));
}
