// The grid's keyboard as the display delivers it: marking with Shift and the arrows, Space,
// Tab and Enter over the editable cells, Esc, the keys that move the current row, delete, the
// clipboard keys' refusals and fast find.
#include <gtest/gtest.h>

#include "tests/framework/window/GridTestSupport.h"

namespace {

BOOL IsRowMarked(CViewTable& view, int nRow)
{
    CViewRow row;
    return view.GetRow(row, nRow) && row.IsMarked();
}

std::string MarkedRows(CViewTable& view)
{
    std::string str;
    for (int i = 0; i < view.GetRowCount(); ++i)
        if (IsRowMarked(view, i))
            str += (str.empty() ? "" : ",") + std::to_string(i);
    return str;
}

// Symbol and volume editable, on every row.
void MakeEditable(CViewTable& view)
{
    view.GetColumnOrder().GetColumn(GRID_COL_SYMBOL)->m_bEditable = TRUE;
    view.GetColumnOrder().GetColumn(GRID_COL_VOLUME)->m_bEditable = TRUE;
    for (int i = 0; i < view.GetRowCount(); ++i) {
        CViewRow row;
        if (view.GetRow(row, i))
            row.SetEditable(TRUE);
    }
}

}  // namespace

TEST(GridKeys, ShiftArrowsMarkARangeInOneEventAndCtrlShiftUnmarksIt)
{
    CInputGridFixture f(20);
    ASSERT_TRUE(f.grid.SelectRow(2, 0, FALSE));
    DeliverKey(VK_SHIFT, true);
    for (int i = 0; i < 3; ++i)
        TypeKey(VK_DOWN);
    EXPECT_EQ(5, f.grid.GetCurrentRow());
    EXPECT_EQ("", f.sink.Of("sel")) << "nothing is applied while Shift is held";
    DeliverKey(VK_SHIFT, false);
    EXPECT_EQ("sel 2-5 1", f.sink.Of("sel"));
    EXPECT_EQ("2,3,4,5", MarkedRows(f.table.View()));
    EXPECT_EQ("key 16|key 40|key 40|key 40", f.sink.Of("key"));

    f.sink.m_log.clear();
    DeliverKey(VK_CONTROL, true);
    DeliverKey(VK_SHIFT, true);
    for (int i = 0; i < 2; ++i)
        TypeKey(VK_UP);
    DeliverKey(VK_SHIFT, false);
    DeliverKey(VK_CONTROL, false);
    EXPECT_EQ("sel 3-5 0", f.sink.Of("sel"));
    EXPECT_EQ("2", MarkedRows(f.table.View()));

    // Space toggles the current row alone, ending nothing else.
    TypeKey(VK_SPACE);
    EXPECT_EQ("2,3", MarkedRows(f.table.View()));
    TypeKey(VK_SPACE);
    EXPECT_EQ("2", MarkedRows(f.table.View()));
    EXPECT_EQ("mark 3 1|mark 3 0", f.sink.Of("mark"));
}

TEST(GridKeys, TabAndEnterWalkTheEditableCellsAcrossRows)
{
    CInputGridFixture f(3);
    MakeEditable(f.table.View());
    ASSERT_TRUE(f.grid.SelectRow(0, GRID_COL_SYMBOL, TRUE));
    ASSERT_TRUE(f.grid.IsEditorShowing());
    TypeKey(VK_TAB);                    // the volume of the same row
    TypeKey(VK_RETURN);                 // wraps to the symbol of the next row
    DeliverKey(VK_SHIFT, true);
    TypeKey(VK_TAB);                    // back to the volume of the first row
    DeliverKey(VK_SHIFT, false);
    EXPECT_EQ("edit 0 0|edit 0 2|edit 1 0|edit 0 2", f.sink.Of("edit"));
    EXPECT_EQ(0, f.grid.GetCurrentRow());

    // Past the last editable cell the editor closes and the row stays.
    ASSERT_TRUE(f.grid.SelectRow(2, GRID_COL_VOLUME, TRUE));
    TypeKey(VK_TAB);
    EXPECT_FALSE(f.grid.IsEditorShowing());
    EXPECT_EQ(2, f.grid.GetCurrentRow());

    // Without the editor Enter and Tab are not the grid's: no key event.
    f.sink.m_log.clear();
    TypeKey(VK_RETURN);
    TypeKey(VK_TAB);
    EXPECT_EQ("", f.sink.Of("key"));
    EXPECT_EQ(2, f.grid.GetCurrentRow());
    EXPECT_EQ(0, f.grid.m_nBeeps);
}

TEST(GridKeys, EscapeDropsTheTypedTextAndBeeps)
{
    CInputGridFixture f(3);
    MakeEditable(f.table.View());
    ASSERT_TRUE(f.grid.SelectRow(1, GRID_COL_SYMBOL, TRUE));
    TypeKey('Z', "Z");
    TypeKey('Q', "Q");
    ASSERT_EQ(CTBString("ZQ"), f.grid.GetEditor().GetWindowText());
    TypeKey(VK_ESCAPE);
    EXPECT_FALSE(f.grid.IsEditorShowing());
    EXPECT_EQ(f.grid.m_hWnd, GetFocus());
    EXPECT_EQ(1, f.grid.m_nBeeps);
    CViewRow row;
    CTBString strText;
    ASSERT_TRUE(f.table.View().GetRow(row, 1));
    row.GetText(strText, GRID_COL_SYMBOL);
    EXPECT_EQ(CTBString("S0001"), strText);
    // Nor does the focus coming back reopen the dropped edit.
    SetFocus(nullptr);
    SetFocus(f.grid.m_hWnd);
    PumpInput();
    EXPECT_FALSE(f.grid.IsEditorShowing());

    // Without editable columns the walk has nowhere to go.
    ASSERT_TRUE(f.grid.SelectRow(1, GRID_COL_SYMBOL, TRUE));
    f.table.View().GetColumnOrder().GetColumn(GRID_COL_SYMBOL)->m_bEditable = FALSE;
    f.table.View().GetColumnOrder().GetColumn(GRID_COL_VOLUME)->m_bEditable = FALSE;
    TypeKey(VK_TAB);
    EXPECT_EQ(2, f.grid.m_nBeeps);
    f.grid.CloseEditor(FALSE);
}

TEST(GridKeys, PagesHomeAndEndMoveTheCurrentRowThenScroll)
{
    CInputGridFixture f(100, 200, 200);
    const int nWhole = f.grid.GetWholeLines();
    ASSERT_GT(nWhole, 3);
    ASSERT_TRUE(f.grid.SelectRow(0, 0, FALSE));
    TypeKey(VK_NEXT);
    EXPECT_EQ(nWhole - 1, f.grid.GetCurrentRow()) << "first to the window's last row";
    EXPECT_EQ(0, f.grid.GetTopRow());
    TypeKey(VK_NEXT);
    EXPECT_EQ(nWhole, f.grid.GetTopRow()) << "then a page on";
    TypeKey(VK_PRIOR);
    EXPECT_EQ(nWhole, f.grid.GetCurrentRow());
    TypeKey(VK_END);
    EXPECT_EQ(99, f.grid.GetCurrentRow());
    TypeKey(VK_HOME);
    EXPECT_EQ(0, f.grid.GetCurrentRow());
    EXPECT_EQ(0, f.grid.GetTopRow());
    // Ctrl with Home and End scrolls the columns instead.
    DeliverKey(VK_CONTROL, true);
    TypeKey(VK_END);
    DeliverKey(VK_CONTROL, false);
    EXPECT_EQ(0, f.grid.GetCurrentRow());
    EXPECT_GT(f.grid.GetScrollPane().GetOffset(), 0);
}

// Page Up from the second line makes the first line current without scrolling; from the first
// line it scrolls a page up and keeps the current row on the first line.
TEST(GridKeys, PageUpTakesTheFirstLineBeforeItScrolls)
{
    CInputGridFixture f(100, 200, 200);
    const int nWhole = f.grid.GetWholeLines();
    ASSERT_GT(nWhole, 3);
    f.grid.SetTopRow(40, FALSE, 0);
    f.grid.SetCurrentRowOffset(1);
    ASSERT_EQ(41, f.grid.GetCurrentRow());
    TypeKey(VK_PRIOR);
    EXPECT_EQ(40, f.grid.GetTopRow()) << "no scrolling from the second line";
    EXPECT_EQ(40, f.grid.GetCurrentRow());
    TypeKey(VK_PRIOR);
    EXPECT_EQ(40 - nWhole, f.grid.GetTopRow()) << "from the first line a page up";
    EXPECT_EQ(40 - nWhole, f.grid.GetCurrentRow());
    EXPECT_EQ(0, f.grid.GetCurrentOffset());
}

TEST(GridKeys, DeleteRemovesTheCurrentRowAndRefusalsBeep)
{
    CInputGridFixture f(5);
    ASSERT_TRUE(f.grid.SelectRow(1, 0, FALSE));
    TypeKey(VK_DELETE);
    EXPECT_EQ(4, f.table.View().GetRowCount());
    CViewRow row;
    CTBString strText;
    ASSERT_TRUE(f.table.View().GetRow(row, 1));
    row.GetText(strText, GRID_COL_SYMBOL);
    EXPECT_EQ(CTBString("S0002"), strText);

    // The clipboard keys are the menu's commands; letters beep when the command cannot run.
    DeliverKey(VK_CONTROL, true);
    TypeKey('C');
    TypeKey(VK_INSERT);
    DeliverKey(VK_CONTROL, false);
    DeliverKey(VK_SHIFT, true);
    TypeKey(VK_DELETE);
    DeliverKey(VK_SHIFT, false);
    EXPECT_EQ((std::vector<UINT>{25601, 25601, 25600}), f.grid.m_commands);
    EXPECT_EQ(3, f.table.View().GetRowCount()) << "Shift+Delete cuts the current row";
    f.table.View().m_bAllowPaste = FALSE;
    DeliverKey(VK_CONTROL, true);
    TypeKey('V');
    DeliverKey(VK_CONTROL, false);
    EXPECT_EQ(1, f.grid.m_nBeeps);
    EXPECT_EQ(3u, f.grid.m_commands.size());

    // Ctrl+F asks for fast find over no column.
    DeliverKey(VK_CONTROL, true);
    TypeKey('F');
    DeliverKey(VK_CONTROL, false);
    EXPECT_EQ((std::vector<std::string>{"find -1"}), f.grid.m_dialogs);
}

TEST(GridKeys, CtrlCOnAnEmptyViewBeeps)
{
    CInputGridFixture f(0);
    DeliverKey(VK_CONTROL, true);
    TypeKey('C');
    DeliverKey(VK_CONTROL, false);
    EXPECT_EQ(1, f.grid.m_nBeeps);
    EXPECT_TRUE(f.grid.m_commands.empty());
}

TEST(GridKeys, InsertPutsTheSinksRowAtTheCurrentLine)
{
    CInputGridFixture f(5);
    ASSERT_TRUE(f.grid.SelectRow(2, 0, FALSE));
    // Nobody gives the new row values: it cannot go in.
    TypeKey(VK_INSERT);
    EXPECT_EQ(1, f.grid.m_nBeeps);
    EXPECT_EQ(5, f.table.View().GetRowCount());

    f.sink.m_fillInsert = [&f](CViewRow* pRow) {
        TBCellSlot* pBlock = f.table.t.NewBlock();
        PutText(f.table.t, pBlock, GRID_COL_SYMBOL, "NEW");
        pRow->NewNode(pBlock);
    };
    TypeKey(VK_INSERT);
    EXPECT_EQ("insert 2|insert 2", f.sink.Of("insert"));
    ASSERT_EQ(6, f.table.View().GetRowCount());
    CViewRow row;
    CTBString strText;
    ASSERT_TRUE(f.table.View().GetRow(row, 2));
    row.GetText(strText, GRID_COL_SYMBOL);
    EXPECT_EQ(CTBString("NEW"), strText);
    // The view's own row holds a block the table owns: it goes before the blocks do.
    f.table.View().RemoveAllRows();
}

// Ctrl+A in the in-cell editor selects the cell's whole text, in a cell of every column type a
// table takes, and the next key acts on all of it, as in every other field.
TEST(GridKeys, CtrlAInTheCellEditorSelectsTheWholeTextAndTheNextKeyTakesItAll)
{
    std::vector<CTestColumn> columns;
    std::vector<std::string> names;
    for (int nType = 0; nType < 128; ++nType)
        if (ColumnTypeIsValid(nType))
            names.push_back("Type " + std::to_string(nType));
    for (int nType = 0, i = 0; nType < 128; ++nType)
        if (ColumnTypeIsValid(nType))
            columns.push_back({names[static_cast<size_t>(i++)].c_str(), nType, 16, FALSE});
    ASSERT_GT(columns.size(), 10u);
    COwnedTable t(columns);
    t.Table().Open();
    t.Insert(t.NewBlock());
    CViewTable& view = t.View();
    for (int nCol = 0; nCol < view.GetColumnOrder().GetCount(); ++nCol)
        view.GetColumnOrder().GetColumn(nCol)->m_bEditable = TRUE;
    CViewRow row;
    ASSERT_TRUE(view.GetRow(row, 0));
    row.SetEditable(TRUE);
    CTableWindow grid;
    CGridWindow window(view, 600, 200, &grid);
    for (int nCol = 0; nCol < view.GetColumnOrder().GetCount(); ++nCol) {
        const int nType = view.GetColumnOrder().GetColumn(nCol)->GetDataType();
        SCOPED_TRACE("column type " + std::to_string(nType));
        ASSERT_TRUE(grid.SelectRow(0, nCol, TRUE));
        ASSERT_TRUE(grid.IsEditorShowing());
        const HWND hEdit = grid.GetEditor().m_hWnd;
        SetWindowTextA(hEdit, "12");
        SendMessageA(hEdit, EM_SETSEL, 1, 1);
        DeliverKey(VK_CONTROL, true);
        TypeKey('A', "\x01");
        DeliverKey(VK_CONTROL, false);
        DWORD dwStart = 9, dwEnd = 9;
        SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
        EXPECT_EQ(0u, dwStart);
        EXPECT_EQ(2u, dwEnd);
        // A column without a value of its own takes no typing; every other takes Backspace.
        if (nType == COLTYPE_NONE)
            continue;
        TypeKey(VK_BACK, "\b");
        EXPECT_EQ(0, GetWindowTextLengthA(hEdit));
    }
    grid.CloseEditor(FALSE);
    DestroyWindow(grid.m_hWnd);
    PumpInput();
}
