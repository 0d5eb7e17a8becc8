// The grid's menu commands: the states the context menu's items get before it opens, the
// commands behind them (toggles, marking, fixed columns, colours and fonts through the common
// dialogs, the owner's range) and the column menu that shows a hidden column where it was asked.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/table/TableFilters.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

// The framework switches a test changes, put back whatever happens.
class CGlobalsGuard
{
public:
    CGlobalsGuard() : m_bBeep(GetNorvGlobals().m_bBeep), m_nLanguage(GetNorvGlobals().m_nLanguage),
                      m_crFrame1(GetNorvGlobals().m_crFrame1) {}
    ~CGlobalsGuard()
    {
        GetNorvGlobals().m_bBeep = m_bBeep;
        GetNorvGlobals().SetLanguage(m_nLanguage);
        GetNorvGlobals().SetFrameColor1(m_crFrame1);
        TbClearTestAnswers();
    }

private:
    BOOL m_bBeep;
    int m_nLanguage;
    COLORREF m_crFrame1;
};

class CCountingGrid : public CTableWindow
{
public:
    void Beep() override { ++m_nBeeps; }
    int m_nBeeps = 0;
};

class CCommandSink : public CTableWindowEventSink
{
public:
    void OnCommand(UINT nId) override { m_commands.push_back(nId); }
    std::vector<UINT> m_commands;
};

// A context menu as an owner would hand it over: the grid's own items and one of the owner's.
HMENU MakeContextMenu()
{
    static const UINT s_ids[] = {25501, 25502, 25503, 25504, 25505, 25506, 25600, 25601, 25602, 25701, 25702,
                                 25703, 25704, 25706, 25800, 25801, 25802, 25803, 25804, 25805, 25806, 25807,
                                 25900, 25911, 25912, 26500};
    HMENU hMenu = CreatePopupMenu();
    for (UINT nId : s_ids)
        AppendMenuA(hMenu, MF_STRING, nId, "item");
    return hMenu;
}

void InitMenu(CGridWindow& grid, HMENU hMenu)
{
    SendMessageA(grid.Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
}

// An item the menu lacks is neither.
bool HasState(HMENU hMenu, UINT nId, UINT uFlag)
{
    const UINT uState = GetMenuState(hMenu, nId, MF_BYCOMMAND);
    return uState != static_cast<UINT>(-1) && (uState & uFlag) != 0;
}
bool IsChecked(HMENU hMenu, UINT nId) { return HasState(hMenu, nId, MF_CHECKED); }
bool IsGrayed(HMENU hMenu, UINT nId) { return HasState(hMenu, nId, MF_GRAYED); }

// The checked items of a range, as ids.
std::vector<UINT> CheckedIn(HMENU hMenu, UINT nFirst, UINT nLast)
{
    std::vector<UINT> ids;
    for (UINT nId = nFirst; nId <= nLast; ++nId)
        if (IsChecked(hMenu, nId))
            ids.push_back(nId);
    return ids;
}

void Command(CGridWindow& grid, UINT nId)
{
    SendMessageA(grid.Hwnd(), WM_COMMAND, MAKEWPARAM(nId, 0), 0);
}

// The view's columns in display order, by title initial, hidden ones in brackets.
std::string Order(CTableWindow& grid)
{
    std::string strOrder;
    CTableColumnsMap& order = grid.GetView()->GetColumnOrder();
    for (int i = 0; i < order.GetCount(); ++i) {
        const char chTitle = order.GetColumn(i)->GetTitle()[0];
        strOrder += grid.GetColumnWidth(i) > 0 ? std::string(1, chTitle) : "(" + std::string(1, chTitle) + ")";
        if (i + 1 == grid.GetView()->GetFixedColumnCount())
            strOrder += '|';
    }
    return strOrder;
}

POINT CellCentre(CTableWindow& grid, int nDisplayCol)
{
    RECT rc = {0, 0, 0, 0};
    EXPECT_TRUE(grid.GetCellRect(0, nDisplayCol, &rc));
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

}  // namespace

TEST(GridCommands, ContextMenuItemsShowTheGridsStateWhenItOpens)
{
    CGlobalsGuard guard;
    CGridTable table;
    table.Fill(6);
    CViewTable& view = table.View();
    view.SetAllowFixedColumns(TRUE);
    view.SetFixedColumnCount(1);
    CGridWindow grid(view);
    HMENU hMenu = MakeContextMenu();
    grid->SetContextMenu(hMenu);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }

    // The highlight item nearest the seconds, the lower one on a tie.
    const struct { int nSeconds; UINT nItem; } highlights[] = {{12, 25804}, {20, 25805}, {4, 25802}, {0, 25800},
                                                               {45, 25806}, {600, 25807}};
    for (const auto& h : highlights) {
        grid->SetHighlightSeconds(h.nSeconds);
        InitMenu(grid, hMenu);
        EXPECT_EQ(std::vector<UINT>{h.nItem}, CheckedIn(hMenu, 25800, 25807)) << h.nSeconds << " seconds";
    }

    GetNorvGlobals().m_bBeep = FALSE;
    view.m_bRowAlerts = TRUE;
    InitMenu(grid, hMenu);
    EXPECT_FALSE(IsChecked(hMenu, 25501));
    EXPECT_TRUE(IsGrayed(hMenu, 25505)) << "alerts sound through the beep";
    EXPECT_TRUE(IsChecked(hMenu, 25505));
    GetNorvGlobals().m_bBeep = TRUE;
    InitMenu(grid, hMenu);
    EXPECT_TRUE(IsChecked(hMenu, 25501));
    EXPECT_FALSE(IsGrayed(hMenu, 25505));

    // Fixed columns: the current count checked; the others greyed while the view keeps them.
    EXPECT_EQ(std::vector<UINT>{25702}, CheckedIn(hMenu, 25701, 25706));
    EXPECT_FALSE(IsGrayed(hMenu, 25703));
    view.SetAllowFixedColumns(FALSE);
    CheckMenuItem(hMenu, 25706, MF_BYCOMMAND | MF_CHECKED);
    InitMenu(grid, hMenu);
    EXPECT_TRUE(IsGrayed(hMenu, 25701));
    EXPECT_TRUE(IsGrayed(hMenu, 25704));
    EXPECT_FALSE(IsGrayed(hMenu, 25702));
    EXPECT_TRUE(IsChecked(hMenu, 25706)) << "the items stop at the first id the menu lacks";

    // Unmark-all wants a marked row; copy a row, cut the view's option, paste the clipboard.
    EXPECT_TRUE(IsGrayed(hMenu, 25503));
    EXPECT_FALSE(IsGrayed(hMenu, 25601));
    EXPECT_FALSE(IsGrayed(hMenu, 25600));
    EXPECT_TRUE(IsGrayed(hMenu, 25602));
    CRowPosition pos;
    ASSERT_TRUE(view.GetRowTree().LocateByIndex(2, &pos));
    SetRowMarked(&view, pos.m_pNode, TRUE);
    view.m_bAllowCut = FALSE;
    view.m_bAllowSortDialog = FALSE;
    ASSERT_EQ(1, grid->Copy());
    InitMenu(grid, hMenu);
    EXPECT_FALSE(IsGrayed(hMenu, 25503));
    EXPECT_TRUE(IsGrayed(hMenu, 25600));
    EXPECT_FALSE(IsGrayed(hMenu, 25602));
    EXPECT_TRUE(IsGrayed(hMenu, 25900));
    EXPECT_EQ(std::vector<UINT>{25911}, CheckedIn(hMenu, 25911, 25912));
}

TEST(GridCommands, CommandsSwitchMarkAndFixAsTheirItemsSay)
{
    CGlobalsGuard guard;
    CGridTable table;
    table.Fill(6);
    CViewTable& view = table.View();
    CCountingGrid counting;
    CGridWindow grid(view, 400, 300, &counting);
    CCommandSink sink;
    grid->AddEventSink(&sink);
    Command(grid, 26500);
    EXPECT_EQ(std::vector<UINT>{26500}, sink.m_commands);

    // Toggles do nothing without a context menu, then flip what the item showed.
    GetNorvGlobals().m_bBeep = TRUE;
    Command(grid, 25501);
    EXPECT_TRUE(GetNorvGlobals().m_bBeep);
    HMENU hMenu = MakeContextMenu();
    grid->SetContextMenu(hMenu);
    InitMenu(grid, hMenu);
    Command(grid, 25501);
    EXPECT_FALSE(GetNorvGlobals().m_bBeep);
    const BOOL bGridLines = grid->GetFlag5();
    InitMenu(grid, hMenu);
    Command(grid, 25504);
    EXPECT_EQ(!bGridLines, grid->GetFlag5());
    InitMenu(grid, hMenu);
    Command(grid, 25505);
    EXPECT_EQ(!IsChecked(hMenu, 25505), view.m_bRowAlerts != 0);

    Command(grid, 25502);
    EXPECT_EQ(6, view.GetRowTree().GetMarkedCount());
    Command(grid, 25503);
    EXPECT_EQ(0, view.GetRowTree().GetMarkedCount());

    // Fixed columns only where the view allows them and within its columns.
    Command(grid, 25702);
    EXPECT_EQ(1, counting.m_nBeeps);
    EXPECT_EQ(0, view.GetFixedColumnCount());
    view.SetAllowFixedColumns(TRUE);
    Command(grid, 25703);
    EXPECT_EQ(2, view.GetFixedColumnCount());
    Command(grid, 25701 + GRID_COLUMNS + 1);
    EXPECT_EQ(2, counting.m_nBeeps);
    EXPECT_EQ(2, view.GetFixedColumnCount());

    Command(grid, 25912);
    EXPECT_EQ(1, GetNorvGlobals().m_nLanguage);
    grid->RemoveEventSink(&sink);
}

TEST(GridCommands, ColourAndFontCommandsTakeTheDialogsAnswers)
{
    CGlobalsGuard guard;
    CGridTable table;
    table.Fill(4);
    CGridWindow grid(table.View());
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "10,20,30"});
    Command(grid, 25102);
    EXPECT_EQ(0x02000000u | RGB(10, 20, 30), GetNorvGlobals().m_crFrame1);

    grid->SetFontFace("DejaVu Sans", 9);
    HFONT hBefore = grid->GetFont();
    TbQueueTestAnswer({TB_ASK_FONT, IDCANCEL, "DejaVu Serif;14"});
    Command(grid, 25500);
    EXPECT_EQ(hBefore, grid->GetFont());
    const int nRowHeight = grid->GetRowHeight();
    TbQueueTestAnswer({TB_ASK_FONT, IDOK, "DejaVu Serif;20"});
    Command(grid, 25500);
    EXPECT_EQ(0, TbPendingTestAnswers());
    LOGFONTA lf = {};
    ASSERT_NE(0, GetObjectA(grid->GetFont(), sizeof lf, &lf));
    EXPECT_STREQ("DejaVu Serif", lf.lfFaceName);
    EXPECT_LT(lf.lfWeight, FW_BOLD);
    LOGFONTA lfBold = {};
    ASSERT_NE(0, GetObjectA(grid->GetBoldFont(), sizeof lfBold, &lfBold));
    EXPECT_STREQ("DejaVu Serif", lfBold.lfFaceName);
    EXPECT_EQ(FW_BOLD, lfBold.lfWeight);
    EXPECT_GT(grid->GetRowHeight(), nRowHeight) << "the rows are measured again";
}

TEST(GridCommands, AColumnShownFromTheMenuComesJustAfterTheRightClickedOne)
{
    CGridTable table;
    table.Fill(4);
    CViewTable& view = table.View();
    for (int i = 0; i < GRID_COLUMNS; ++i)
        view.GetColumns()[i]->m_bUserSwitchable = TRUE;
    view.SetAllowFixedColumns(TRUE);
    view.SetFixedColumnCount(2);
    CGridWindow grid(view, 500, 200);
    grid->SetContextMenu(MakeContextMenu());
    ASSERT_EQ("SL|VC", Order(grid.Grid()));

    const int nFixedWidth = grid->GetFixedPane().GetRect().right - grid->GetFixedPane().GetRect().left;
    Command(grid, 27000 + GRID_COL_LAST);
    EXPECT_EQ("S(L)|VC", Order(grid.Grid()));
    EXPECT_LT(grid->GetFixedPane().GetRect().right - grid->GetFixedPane().GetRect().left, nFixedWidth);
    EXPECT_EQ(1, grid->FindNextHiddenColumn(1));
    EXPECT_EQ(-1, grid->FindNextHiddenColumn(-1)) << "the first column is shown";

    // The column menu hangs in the context menu while it pops up, under its caption.
    POINT pt = CellCentre(grid.Grid(), 3);
    HMENU hMenu = grid->PrepareContextMenu(pt.x, pt.y);
    ASSERT_EQ(grid->GetContextMenu(), hMenu);
    const int nItems = GetMenuItemCount(hMenu);
    EXPECT_EQ(grid->GetColumnMenu(), GetSubMenu(hMenu, nItems - 1));
    char szCaption[32] = "";
    GetMenuStringA(hMenu, static_cast<UINT>(nItems - 1), szCaption, sizeof szCaption, MF_BYPOSITION);
    EXPECT_STREQ("Columns", szCaption);
    EXPECT_FALSE(IsChecked(grid->GetColumnMenu(), 27000 + GRID_COL_LAST));
    EnableMenuItem(grid->GetColumnMenu(), 0, MF_BYPOSITION | MF_GRAYED);
    InitMenu(grid, grid->GetColumnMenu());
    EXPECT_FALSE(GetMenuState(grid->GetColumnMenu(), 0, MF_BYPOSITION) & MF_GRAYED);

    // Shown after Change, in the scrolling pane: the fixed pane loses it.
    Command(grid, 27000 + GRID_COL_LAST);
    grid->ReleaseContextMenu();
    EXPECT_EQ(nItems - 1, GetMenuItemCount(hMenu));
    EXPECT_EQ("S|VCL", Order(grid.Grid()));
    EXPECT_EQ(nFixedWidth - grid->GetColumnWidth(1), grid->GetFixedPane().GetRect().right - grid->GetFixedPane().GetRect().left);

    // After a right click on a fixed column a column joins the fixed pane.
    Command(grid, 27000 + GRID_COL_CHANGE);
    EXPECT_EQ("S|V(C)L", Order(grid.Grid()));
    pt = CellCentre(grid.Grid(), 0);
    grid->PrepareContextMenu(pt.x, pt.y);
    Command(grid, 27000 + GRID_COL_CHANGE);
    grid->ReleaseContextMenu();
    EXPECT_EQ("SC|VL", Order(grid.Grid()));

    // From the row header a column goes first.
    Command(grid, 27000 + GRID_COL_VOLUME);
    const RECT& rcHeader = grid->GetHeaderPane().GetRect();
    grid->PrepareContextMenu((rcHeader.left + rcHeader.right) / 2, rcHeader.bottom - 2);
    Command(grid, 27000 + GRID_COL_VOLUME);
    EXPECT_EQ("VSC|L", Order(grid.Grid()));
    EXPECT_FALSE(grid->OnCmdMsg(27000 + GRID_COL_VOLUME, 0)) << "the column commands answer 0";
}
