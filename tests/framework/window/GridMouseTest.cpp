// The grid's mouse as the display delivers it: the title-click sort and its grouping, the corner
// click, fitting, resizing, moving, hiding and showing columns, marking drags over the row
// headers, and what the right button opens.
#include <gtest/gtest.h>

#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

// "1+" for column 1 ascending, "1-|3+" for two keys.
std::string SortKeys(CViewTable& view)
{
    std::string str;
    const CSortColumns& keys = view.GetSortColumns();
    for (int i = 0; i < keys.GetCount(); ++i)
        str += (i ? "|" : "") + std::to_string(keys.GetAt(i).m_nColumn) + (keys.GetAt(i).m_nDirection < 0 ? "-" : "+");
    return str;
}

std::string ColumnOrder(CViewTable& view)
{
    std::string str;
    for (int i = 0; i < view.GetColumnOrder().GetCount(); ++i)
        str += static_cast<char>('0' + view.GetColumnOrder().GetColumnIndex(i));
    return str;
}

POINT Mid(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

}  // namespace

TEST(GridMouse, TitleClicksSortAscendingDescendingThenNotAtAll)
{
    CInputGridFixture f(10);
    CViewTable& view = f.table.View();
    // Each click a few pixels from the last, so that none is a double click.
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_LAST, 0));
    EXPECT_EQ("1+", SortKeys(view));
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_LAST, 6));
    EXPECT_EQ("1-", SortKeys(view));
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_LAST, -6));
    EXPECT_EQ("", SortKeys(view));
    EXPECT_EQ("sort|sort|sort", f.sink.Of("sort"));
    EXPECT_EQ("click -1 1|click -1 1|click -1 1", f.sink.Of("click"));

    // Another title always starts ascending; so does the first key's while the default order holds.
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_LAST, 0));
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_CHANGE, 0));
    EXPECT_EQ("3+", SortKeys(view));
    view.GetColumns().m_bDefaultOrder = TRUE;
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_CHANGE, 6));
    EXPECT_EQ("3+", SortKeys(view));
    view.GetColumns().m_bDefaultOrder = FALSE;

    // A sink that handles the title's click keeps the order; so does a column that does not sort.
    f.sink.m_bHandleClicks = TRUE;
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_SYMBOL, 0));
    f.sink.m_bHandleClicks = FALSE;
    view.GetColumnOrder().GetColumn(GRID_COL_VOLUME)->m_bSortable = FALSE;
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_VOLUME, 0));
    EXPECT_EQ("3+", SortKeys(view));
}

TEST(GridMouse, TitleClickGroupsByTheColumnsGroupSetting)
{
    CInputGridFixture f(12);
    CViewTable& view = f.table.View();
    // Setting 2 always groups, 1 keeps what the view did, 0 and 3 never group.
    const BOOL bExpected[4][2] = {{FALSE, FALSE}, {FALSE, TRUE}, {TRUE, TRUE}, {FALSE, FALSE}};
    int nClick = 0;
    for (int nSetting = 0; nSetting < 4; ++nSetting) {
        for (int nBefore = 0; nBefore < 2; ++nBefore) {
            CSortColumns keys(30);
            keys.Add(GRID_COL_SYMBOL, SORT_ASCENDING);
            view.Sort(keys, nBefore);
            ASSERT_EQ(nBefore, view.GetGroupColumns().GetCount() > 0 ? 1 : 0);
            view.GetColumnOrder().GetColumn(GRID_COL_CHANGE)->m_nSetting03 = nSetting;
            ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_CHANGE, (nClick++ % 2) * 6));
            EXPECT_EQ("3+", SortKeys(view));
            EXPECT_EQ(bExpected[nSetting][nBefore], view.GetGroupColumns().GetCount() > 0)
                << "setting " << nSetting << ", grouped before " << nBefore;
        }
    }
}

TEST(GridMouse, CornerClickTogglesTheSumModeUnlessASinkTakesIt)
{
    CInputGridFixture f(5);
    const POINT ptCorner = Mid(f.grid.GetHeaderPane().GetTitleRect());
    ClickAt(f.Hwnd(), ptCorner);
    EXPECT_EQ(1, f.table.View().GetSumMode());
    EXPECT_EQ("click -1 -1", f.sink.Of("click"));
    f.sink.m_bHandleClicks = TRUE;
    ClickAt(f.Hwnd(), POINT{ptCorner.x, ptCorner.y + 3});
    EXPECT_EQ(1, f.table.View().GetSumMode());
}

TEST(GridMouse, DoubleClickOnATitleEdgeFitsTheColumn)
{
    CInputGridFixture f(10);
    f.grid.SetColumnWidth(GRID_COL_SYMBOL, 200, FALSE);
    const int nFit = f.grid.AutoFitColumn(GRID_COL_SYMBOL, TRUE);
    ASSERT_LT(nFit, 200);
    const RECT rc = TitleCell(f.grid, GRID_COL_SYMBOL);
    const POINT ptEdge = {rc.right - 1, (rc.top + rc.bottom) / 2};
    ClickAt(f.Hwnd(), ptEdge);
    EXPECT_EQ(200, f.grid.GetColumnWidth(GRID_COL_SYMBOL)) << "a single click resizes by nothing";
    DeliverMouse(f.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, ptEdge);
    DeliverMouse(f.Hwnd(), WM_LBUTTONUP, 0, ptEdge);
    EXPECT_EQ(nFit, f.grid.GetColumnWidth(GRID_COL_SYMBOL));
    EXPECT_FALSE(f.grid.IsColumnDragActive());
    EXPECT_EQ("", f.sink.Of("sort"));
}

TEST(GridMouse, ColumnsResizeMoveHideAndShowByMouse)
{
    CInputGridFixture f(10, 500, 200);
    CViewTable& view = f.table.View();
    // Resize: the trailing edge dragged 30 pixels on.
    RECT rc = TitleCell(f.grid, GRID_COL_LAST);
    const int nWidth = f.grid.GetColumnWidth(GRID_COL_LAST);
    const int yMid = (rc.top + rc.bottom) / 2;
    DragFromTo(f.Hwnd(), POINT{rc.right - 1, yMid}, POINT{rc.right + 29, yMid});
    EXPECT_EQ(nWidth + 30, f.grid.GetColumnWidth(GRID_COL_LAST));
    EXPECT_EQ(nWidth + 30, view.GetColumnOrder().GetColumn(GRID_COL_LAST)->m_nWidth);
    EXPECT_FALSE(f.grid.IsColumnDragActive());

    // Move: from the strip's bottom edge; a drop past the middle of a column goes after it.
    rc = TitleCell(f.grid, GRID_COL_LAST);
    const POINT ptGrip = {(rc.left + rc.right) / 2, rc.bottom - 2};
    RECT rcTarget = TitleCell(f.grid, GRID_COL_CHANGE);
    DragFromTo(f.Hwnd(), ptGrip, POINT{rcTarget.right - 5, CellPoint(f.grid, 2, 0).y});
    EXPECT_EQ("0231", ColumnOrder(view));
    // A title taken by its middle and dropped on another title moves too, before that column.
    DragFromTo(f.Hwnd(), TitlePoint(f.grid, 3), POINT{TitleCell(f.grid, 1).left + 3, TitlePoint(f.grid, 1).y});
    EXPECT_EQ("0123", ColumnOrder(view));
    EXPECT_EQ("", f.sink.Of("sort")) << "a drag is no title click";
    // A press that moves less than a drag's start is a title click: it sorts.
    DragFromTo(f.Hwnd(), TitlePoint(f.grid, 2), POINT{TitlePoint(f.grid, 2).x + 2, TitlePoint(f.grid, 2).y});
    EXPECT_EQ("0123", ColumnOrder(view));
    EXPECT_NE("", f.sink.Of("sort"));

    // Hide: a click on the top edge of a title. Show: a click on the top of the edge where it was.
    rc = TitleCell(f.grid, 1);
    ClickAt(f.Hwnd(), POINT{(rc.left + rc.right) / 2, rc.top + 1});
    EXPECT_TRUE(view.GetColumnOrder().GetColumn(1)->m_bHidden);
    EXPECT_EQ(0, f.grid.GetColumnWidth(1));
    rc = TitleCell(f.grid, 0);
    ClickAt(f.Hwnd(), POINT{rc.right - 1, rc.top + 1});
    EXPECT_FALSE(view.GetColumnOrder().GetColumn(1)->m_bHidden);
    EXPECT_GT(f.grid.GetColumnWidth(1), 0);
}

TEST(GridMouse, ColumnMovedPastThePaneScrollsItOnItsTimer)
{
    CInputGridFixture f(10, 220, 200);
    const RECT rc = TitleCell(f.grid, GRID_COL_LAST);
    const POINT ptGrip = {(rc.left + rc.right) / 2, rc.bottom - 2};
    const RECT& rcPane = f.grid.GetScrollPane().GetRect();
    DragFromTo(f.Hwnd(), ptGrip, POINT{rcPane.right + 10, CellPoint(f.grid, 2, GRID_COL_LAST).y}, false);
    ASSERT_TRUE(f.grid.IsColumnDragActive());
    EXPECT_TRUE(PumpUntil([&f] { return f.grid.GetScrollPane().GetOffset() > 0; }, 2000));
    DeliverMouse(f.Hwnd(), WM_LBUTTONUP, 0, POINT{rcPane.right + 10, 50});
    EXPECT_FALSE(f.grid.IsColumnDragActive());
    EXPECT_EQ("0123", ColumnOrder(f.table.View())) << "dropped outside the pane";
}

TEST(GridMouse, DragOverTheRowHeadersMarksARangeAndScrollsBelowTheRows)
{
    CInputGridFixture f(60, 400, 200);
    DragFromTo(f.Hwnd(), RowHeaderPoint(f.grid, 1), RowHeaderPoint(f.grid, 4));
    EXPECT_EQ("sel 1-4 1", f.sink.Of("sel"));
    EXPECT_EQ(4, f.grid.GetCurrentRow());

    // Held below the rows, the window scrolls on and the range follows.
    f.sink.m_log.clear();
    const POINT ptBelow = {RowHeaderPoint(f.grid, 0).x, 240};
    DragFromTo(f.Hwnd(), RowHeaderPoint(f.grid, 6), ptBelow, false);
    EXPECT_TRUE(PumpUntil([&f] { return f.grid.GetTopRow() >= 3; }, 2000));
    DeliverMouse(f.Hwnd(), WM_LBUTTONUP, 0, ptBelow);
    const int nLast = f.grid.GetCurrentRow();
    EXPECT_GE(nLast, f.grid.GetTopRow() + 3);
    EXPECT_EQ("sel 6-" + std::to_string(nLast) + " 1", f.sink.Of("sel"));
    CViewRow row;
    ASSERT_TRUE(f.table.View().GetRow(row, nLast));
    EXPECT_TRUE(row.IsMarked());

    // A press on one cell and a release on another click nothing; the current row follows.
    f.sink.m_log.clear();
    f.grid.SelectRow(0, 0, FALSE);
    DragFromTo(f.Hwnd(), CellPoint(f.grid, 1, GRID_COL_LAST), CellPoint(f.grid, 3, GRID_COL_LAST));
    EXPECT_EQ("", f.sink.Of("click"));
    EXPECT_EQ(f.grid.GetTopRow() + 3, f.grid.GetCurrentRow());
    ClickAt(f.Hwnd(), CellPoint(f.grid, 2, GRID_COL_LAST));
    EXPECT_EQ("click " + std::to_string(f.grid.GetTopRow() + 2) + " 1", f.sink.Of("click"));
}

TEST(GridMouse, RightClickOnATitleOpensFastFindOrWithShiftTheFilter)
{
    CInputGridFixture f(5);
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_VOLUME), true);
    DeliverKey(VK_SHIFT, true);
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_VOLUME, 6), true);
    DeliverKey(VK_SHIFT, false);
    EXPECT_EQ((std::vector<std::string>{"find 2", "filter 2"}), f.grid.m_dialogs);
    EXPECT_EQ("rclick -1 2|rclick -1 2", f.sink.Of("rclick"));
    f.sink.m_bHandleClicks = TRUE;
    ClickAt(f.Hwnd(), TitlePoint(f.grid, GRID_COL_VOLUME), true);
    EXPECT_EQ(2u, f.grid.m_dialogs.size());
}

TEST(GridMouse, RightButtonAndAltF10PopTheContextMenuWithItsColumnSubmenu)
{
    CInputGridFixture f(5);
    TbClearTestAnswers();
    HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 26001, "Own command");
    f.grid.SetContextMenu(hMenu);
    // A column's item can be chosen only while the column menu hangs in the context menu.
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, 27003, ""});
    ClickAt(f.Hwnd(), CellPoint(f.grid, 1, GRID_COL_LAST), true);
    PumpInput();
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ((std::vector<UINT>{27003}), f.grid.m_commands);
    EXPECT_EQ("rclick 1 1", f.sink.Of("rclick"));
    EXPECT_EQ(1, f.grid.GetCurrentRow()) << "the right click selects the row first";
    EXPECT_EQ(1, GetMenuItemCount(hMenu)) << "the column menu is taken out again";

    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, 26001, ""});
    DeliverKey(VK_MENU, true);
    TbDisplayKey(WM_KEYDOWN, VK_F10, MAKELPARAM(1, KF_ALTDOWN), nullptr);
    PumpInput();
    DeliverKey(VK_MENU, false);
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ("command 26001", f.sink.Of("command"));

    // The corner pops the column menu alone.
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_POPUPMENU, 27002, ""});
    ClickAt(f.Hwnd(), Mid(f.grid.GetHeaderPane().GetTitleRect()), true);
    PumpInput();
    EXPECT_EQ(0, TbPendingTestAnswers());
    EXPECT_EQ(27002u, f.grid.m_commands.back());

    // Without a context menu a right click on a cell beeps.
    f.grid.SetContextMenu(nullptr);
    ClickAt(f.Hwnd(), CellPoint(f.grid, 2, GRID_COL_LAST), true);
    EXPECT_EQ(1, f.grid.m_nBeeps);
    TbClearTestAnswers();
}

// The pointer on a cell too narrow for its text shows the whole text in a tip by the pointer;
// a cell whose text fits shows none, and a press takes the tip away.
TEST(GridMouse, PointerOnACutCellShowsItsWholeTextInATip)
{
    CInputGridFixture f(3, 500, 200);
    f.grid.SetColumnWidth(GRID_COL_SYMBOL, 24, FALSE);
    auto Tip = [](const char* pszText) {
        HWND hTip = FindWindowA(TOOLTIPS_CLASSA, pszText);
        return hTip != nullptr && IsWindowVisible(hTip);
    };
    DeliverMouse(f.Hwnd(), WM_MOUSEMOVE, 0, CellPoint(f.grid, 1, GRID_COL_SYMBOL));
    EXPECT_TRUE(Tip("S0001"));
    DeliverMouse(f.Hwnd(), WM_MOUSEMOVE, 0, CellPoint(f.grid, 1, GRID_COL_LAST));
    EXPECT_FALSE(Tip("S0001"));
    EXPECT_FALSE(Tip(nullptr)) << "a text that fits has no tip";
    const POINT ptCut = CellPoint(f.grid, 2, GRID_COL_SYMBOL);
    DeliverMouse(f.Hwnd(), WM_MOUSEMOVE, 0, ptCut);
    EXPECT_TRUE(Tip("S0002"));
    DeliverMouse(f.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, ptCut);
    DeliverMouse(f.Hwnd(), WM_LBUTTONUP, 0, ptCut);
    EXPECT_FALSE(Tip("S0002"));
    // At the screen's right edge the tip stays whole on the screen.
    const HWND hTop = GetAncestor(f.Hwnd(), GA_ROOT);
    SetWindowPos(hTop, nullptr, GetSystemMetrics(SM_CXSCREEN) - 60, 100, 500, 200, SWP_NOZORDER | SWP_NOSIZE);
    DeliverMouse(f.Hwnd(), WM_MOUSEMOVE, 0, CellPoint(f.grid, 1, GRID_COL_SYMBOL));
    ASSERT_TRUE(Tip("S0001"));
    RECT rcTip;
    GetWindowRect(FindWindowA(TOOLTIPS_CLASSA, "S0001"), &rcTip);
    EXPECT_LE(rcTip.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(rcTip.left, 0);
    SetWindowPos(hTop, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);

    // A column wider than the window: its right-aligned price, past the window's edge, shows
    // whole inside the window, so no tip is needed.
    CTableColumn* pLast = f.table.View().GetColumnOrder().GetColumn(GRID_COL_LAST);
    pLast->m_nAlign = ALIGN_RIGHT;
    pLast->RecalcAlignment();
    f.grid.SetColumnWidth(GRID_COL_SYMBOL, 60, FALSE);
    f.grid.SetColumnWidth(GRID_COL_LAST, 2000, FALSE);
    const RECT& rcCells = f.grid.GetScrollPane().GetCellRect();
    DeliverMouse(f.Hwnd(), WM_MOUSEMOVE, 0, POINT{rcCells.right - 10, CellPoint(f.grid, 1, GRID_COL_SYMBOL).y});
    CViewRow row;
    CTBString strPrice;
    ASSERT_TRUE(f.table.View().GetRow(row, 1));
    row.GetText(strPrice, GRID_COL_LAST);
    EXPECT_FALSE(Tip(strPrice));

    // A price that takes its cell's margins shows whole: no tip either.
    HDC hdc = GetDC(f.Hwnd());
    f.grid.PrepareDC(hdc);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(hdc, strPrice, static_cast<int>(strlen(strPrice)), &size);
    ReleaseDC(f.Hwnd(), hdc);
    f.grid.SetColumnWidth(GRID_COL_LAST, size.cx + 3, FALSE);
    DeliverMouse(f.Hwnd(), WM_MOUSEMOVE, 0, CellPoint(f.grid, 1, GRID_COL_LAST));
    EXPECT_FALSE(Tip(strPrice));
}
