// The grid's current row, its owner's events, and the in-place editor's road from the first key
// to the view, through a real grid window on the offscreen display.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/framework/window/GridTestSupport.h"
#include "platform/win/user/Controls.h"

namespace {

// Records what the grid tells its owner; optionally replaces the editor's text at one step.
class CGridSink final : public CTableWindowEventSink
{
public:
    void OnCurrentRowChanged(CViewRow* pRow) override
    {
        m_rows.push_back(pRow && pRow->IsValid() ? pRow->GetPosition().m_nIndex : -1);
    }
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override
    {
        m_log.push_back("click " + std::to_string(pRow && pRow->IsValid() ? pRow->GetPosition().m_nIndex : -1) + " " +
                        std::to_string(nCol));
        *pnHandled = m_nHandled;
    }
    void OnBeginEdit(CViewRow*, int nCol, CTBString* pText) override
    {
        m_log.push_back("begin " + std::to_string(nCol) + " " + std::string(*pText));
        if (m_pszBegin)
            *pText = m_pszBegin;
    }
    void OnEditChange(CViewRow*, int, CTBString* pText) override
    {
        m_log.push_back("change " + std::string(*pText));
    }
    void OnEndEdit(CViewRow*, int nCol, CTBString* pText) override
    {
        m_log.push_back("end " + std::to_string(nCol) + " " + std::string(*pText));
        if (m_pszEnd)
            *pText = m_pszEnd;
    }
    std::vector<int> m_rows;
    std::vector<std::string> m_log;
    const char* m_pszBegin = nullptr;
    const char* m_pszEnd = nullptr;
    int m_nHandled = 0;
};

// A sorted table of 60 rows whose Volume cells may be edited.
class CEditableGrid
{
public:
    explicit CEditableGrid(int nRows = 60)
    {
        table.Fill(nRows);
        table.SortBy(GRID_COL_SYMBOL, SORT_ASCENDING);
        table.View().GetColumns().GetColumn(GRID_COL_VOLUME)->m_bEditable = TRUE;
        for (int i = 0; i < table.View().GetRowCount(); ++i)
            table.View().GetRowTree().GetNodeAt(i)->SetFlag(ROW_EDITABLE, TRUE);
        window = std::make_unique<CGridWindow>(table.View());
        window->Grid().AddEventSink(&sink);
        Drain();
    }
    CTableWindow& Grid() { return window->Grid(); }
    HWND Editor() { return Grid().GetEditor().GetSafeHwnd(); }
    int VolumeDisplayColumn() { return table.View().GetColumnOrder().FindPosition(GRID_COL_VOLUME); }
    std::string Volume(int nIndex)
    {
        CViewRow row;
        table.View().GetRow(row, nIndex);
        CTBString str;
        row.GetText(str, GRID_COL_VOLUME);
        return std::string(str);
    }
    void Type(const char* pszKeys)
    {
        for (const char* p = pszKeys; *p; ++p)
            SendMessageA(Editor(), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*p)), 0);
    }
    CGridTable table;
    CGridSink sink;                     // outlives the window, which tells it of its end
    std::unique_ptr<CGridWindow> window;
};

}  // namespace

TEST(GridCurrentRow, MovesLineByLineAndLeavesTheEdgesToTheCaller)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    const int nWhole = grid.GetWholeLines();
    ASSERT_GE(nWhole, 5);
    grid.SetCurrentRowOffset(0);
    EXPECT_EQ(0, grid.GetCurrentRow());
    EXPECT_FALSE(grid.MoveCurrentRow(0)) << "up from the first line is a scroll";
    EXPECT_TRUE(grid.MoveCurrentRow(1));
    EXPECT_EQ(1, grid.GetCurrentOffset());
    grid.SetCurrentRowOffset(nWhole - 1);
    EXPECT_FALSE(grid.MoveCurrentRow(1)) << "down from the last whole line is a scroll";
    EXPECT_EQ(nWhole - 1, grid.GetCurrentOffset());
    EXPECT_FALSE(grid.MoveCurrentRow(2));
    // Parked around a layout change, the row comes back on its line.
    grid.ParkCurrentRow();
    EXPECT_EQ(nWhole - 1, grid.GetCurrentOffset());
    EXPECT_EQ(nWhole - 1, grid.GetCurrentRow());
    grid.RestoreCurrentRow();
    EXPECT_FALSE(grid.IsParked());
    EXPECT_EQ(nWhole - 1, grid.GetCurrentOffset());
    // A line below the view's rows cannot be current.
    EXPECT_FALSE(grid.IsValidCurrentRow(nWhole));
}

TEST(GridCurrentRow, AppendLineFollowsTheLastRowWhenTheViewTakesRows)
{
    for (BOOL bPaste : {TRUE, FALSE}) {
        CEditableGrid g(3);
        g.table.t.Table().SetAllowPaste(bPaste);
        CTableWindow& grid = g.Grid();
        ASSERT_EQ(3, grid.GetAppendLineOffset());
        grid.SetCurrentRowOffset(2);
        EXPECT_TRUE(grid.MoveCurrentRow(1));
        EXPECT_EQ(bPaste ? TW_APPEND_LINE : 2, grid.GetCurrentOffset()) << "paste " << bPaste;
        EXPECT_TRUE(grid.MoveCurrentRow(0));
        EXPECT_EQ(bPaste ? 2 : 1, grid.GetCurrentOffset());
    }
}

TEST(GridCurrentRow, OwnerHearsEachNewRowOnce)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    grid.SetCurrentRowOffset(3);
    grid.SetCurrentRowOffset(3);
    grid.ParkCurrentRow();
    grid.RestoreCurrentRow();
    grid.SetCurrentRowOffset(4);
    grid.SetCurrentRowOffset(3);
    EXPECT_EQ((std::vector<int>{3, 4, 3}), g.sink.m_rows);
    // Scrolling moves the row under the line: a new view index is told.
    g.sink.m_rows.clear();
    grid.SetTopRow(2, FALSE, 0);
    EXPECT_EQ((std::vector<int>{5}), g.sink.m_rows);
}

// Each move to no row is told with an empty cursor; coming back there after a scroll is no move.
TEST(GridCurrentRow, OwnerHearsEveryMoveToNoRow)
{
    CEditableGrid small(1);
    small.Grid().SetCurrentRowOffset(TW_APPEND_LINE);
    small.Grid().SetCurrentRowOffset(0);
    small.Grid().SetCurrentRowOffset(TW_APPEND_LINE);
    small.Grid().ParkCurrentRow();
    small.Grid().RestoreCurrentRow();
    small.Grid().SetCurrentRowOffset(0);
    small.Grid().SetCurrentRowOffset(TW_APPEND_LINE);
    ASSERT_GE(small.sink.m_rows.size(), 4u);
    EXPECT_EQ((std::vector<int>{0, -1, 0, -1}),
              std::vector<int>(small.sink.m_rows.end() - 4, small.sink.m_rows.end()));
}

TEST(GridCurrentRow, TypedTextIsWrittenAndSinksSeeEachStep)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    const int nCol = g.VolumeDisplayColumn();
    grid.SetCurrentRowOffset(2);
    EXPECT_FALSE(grid.StartEdit(3, nCol)) << "only on the current row";
    EXPECT_FALSE(grid.StartEdit(2, g.table.View().GetColumnOrder().FindPosition(GRID_COL_SYMBOL)));
    ASSERT_TRUE(grid.StartEdit(2, nCol));
    EXPECT_TRUE(grid.IsEditorShowing());
    g.Type("77");
    grid.CloseEditor(TRUE);
    EXPECT_FALSE(grid.IsEditorShowing());
    EXPECT_EQ("77", g.Volume(2));
    const std::string strCol = std::to_string(GRID_COL_VOLUME);
    ASSERT_EQ(4u, g.sink.m_log.size());
    EXPECT_EQ("begin " + strCol + " 20", g.sink.m_log[0]);
    EXPECT_EQ("change 7", g.sink.m_log[1]);
    EXPECT_EQ("end " + strCol + " 77", g.sink.m_log[3]);
}

TEST(GridCurrentRow, EndSinkDecidesWhatIsWrittenButAnUntouchedTextStays)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    const int nCol = g.VolumeDisplayColumn();
    grid.SetCurrentRowOffset(1);
    // Nothing typed, nothing replaced: the cell is not rewritten.
    ASSERT_TRUE(grid.StartEdit(1, nCol));
    grid.CloseEditor(TRUE);
    EXPECT_EQ("10", g.Volume(1));
    // Nothing typed, but the sink replaced the text: its text is stored.
    g.sink.m_pszEnd = "555";
    ASSERT_TRUE(grid.StartEdit(1, nCol));
    grid.CloseEditor(TRUE);
    EXPECT_EQ("555", g.Volume(1));
    // Typed, and replaced: the sink's text wins.
    g.sink.m_pszEnd = "9";
    ASSERT_TRUE(grid.StartEdit(1, nCol));
    g.Type("44");
    grid.CloseEditor(TRUE);
    EXPECT_EQ("9", g.Volume(1));
    // A begin sink's text is shown, and is no user change.
    g.sink.m_pszEnd = nullptr;
    g.sink.m_pszBegin = "31";
    ASSERT_TRUE(grid.StartEdit(1, nCol));
    EXPECT_EQ("31", std::string(grid.GetEditor().GetWindowText()));
    grid.CloseEditor(TRUE);
    EXPECT_EQ("9", g.Volume(1));
}

TEST(GridCurrentRow, CancelledEditNeverWrites)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    grid.SetCurrentRowOffset(4);
    ASSERT_TRUE(grid.StartEdit(4, g.VolumeDisplayColumn()));
    g.Type("123");
    SendMessageA(g.Editor(), WM_KEYDOWN, VK_ESCAPE, 0);
    if (grid.IsEditorShowing())
        grid.CloseEditor(FALSE);
    EXPECT_FALSE(grid.IsEditorShowing());
    EXPECT_EQ("40", g.Volume(4));
    for (const std::string& strStep : g.sink.m_log)
        EXPECT_NE(0u, strStep.rfind("end", 0)) << "a cancelled edit has no end: " << strStep;
}

TEST(GridCurrentRow, EditorComesBackOnItsCellWhenTheGridRegainsTheFocus)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    CTestParent other;
    const int nCol = g.VolumeDisplayColumn();
    grid.SetCurrentRowOffset(5);
    ASSERT_TRUE(grid.StartEdit(5, nCol));
    g.Type("8");
    SetFocus(other.m_hWnd);
    EXPECT_FALSE(grid.IsEditorShowing());
    EXPECT_EQ("8", g.Volume(5)) << "losing the focus ends the edit with its text";
    SetFocus(g.window->Hwnd());
    EXPECT_TRUE(grid.IsEditorShowing());
    EXPECT_EQ(GetFocus(), g.Editor());
    grid.CloseEditor(TRUE);
    SetFocus(other.m_hWnd);
    SetFocus(g.window->Hwnd());
    EXPECT_FALSE(grid.IsEditorShowing()) << "closed from inside the grid, the cell is no longer sticky";
}

TEST(GridCurrentRow, EditorWalksToTheNextEditableRowInItsColumn)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    const int nCol = g.VolumeDisplayColumn();
    g.table.View().GetRowTree().GetNodeAt(2)->SetFlag(ROW_EDITABLE, FALSE);
    grid.SetCurrentRowOffset(1);
    ASSERT_TRUE(grid.StartEdit(1, nCol));
    g.Type("6");
    EXPECT_TRUE(grid.MoveCurrentRow(1));
    EXPECT_EQ(3, grid.GetCurrentRow()) << "row 2 is not editable";
    EXPECT_TRUE(grid.IsEditorShowing());
    EXPECT_EQ("6", g.Volume(1));
    // Past the last editable row the editor closes, and its edit is written.
    for (int i = 4; i < g.table.View().GetRowCount(); ++i)
        g.table.View().GetRowTree().GetNodeAt(i)->SetFlag(ROW_EDITABLE, FALSE);
    g.Type("5");
    EXPECT_TRUE(grid.MoveCurrentRow(1)) << "the row itself still moves";
    EXPECT_FALSE(grid.IsEditorShowing());
    EXPECT_EQ(4, grid.GetCurrentRow());
    EXPECT_EQ("5", g.Volume(3));
}

TEST(GridCurrentRow, SelectRowScrollsItIntoViewAndCanOpenTheEditor)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    const int nWhole = grid.GetWholeLines();
    EXPECT_TRUE(grid.SelectRow(40, g.VolumeDisplayColumn(), TRUE));
    EXPECT_EQ(40, grid.GetCurrentRow());
    EXPECT_EQ(40 - nWhole + 1, grid.GetTopRow()) << "only made visible";
    EXPECT_TRUE(grid.IsEditorShowing());
    grid.CloseEditor(FALSE);
    EXPECT_TRUE(grid.SelectRow(500, -1, FALSE));
    EXPECT_EQ(59, grid.GetCurrentRow());
    EXPECT_FALSE(grid.IsEditorShowing());
}

// Sinks hear the view's column index, whatever display position the column has moved to.
TEST(GridCurrentRow, ClicksCarryTheViewsColumnIndex)
{
    CEditableGrid g;
    CTableWindow& grid = g.Grid();
    ASSERT_TRUE(g.table.View().GetColumnOrder().MoveColumn(GRID_COL_CHANGE, 0));
    grid.SetTopRow(7, FALSE, 0);
    EXPECT_EQ(0, grid.CellClick(2, 0));
    g.sink.m_nHandled = 1;
    EXPECT_EQ(1, grid.CellClick(3, 1));
    EXPECT_EQ(0, grid.CellClick(2, 99)) << "no such column";
    EXPECT_EQ((std::vector<std::string>{"click 9 " + std::to_string(GRID_COL_CHANGE),
                                        "click 10 " + std::to_string(GRID_COL_SYMBOL)}),
              g.sink.m_log);
}
