// Finding and the row menu end to end: the trader opens the KSE stock list and quotations,
// right-clicks a column title and types into fast find, and right-clicks a row for the table's menu.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/TWApp.h"
#include "framework/window/TableWindow.h"
#include "app/AppCommands.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/StockListKSETable.h"
#include "platform/win/user/Display.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

const int IDC_FIND_TEXT = 1031;

// A right click as the display sends it, on the middle of a column's title.
void RightClickOnTitle(CTableWindow& grid, int nDisplayCol)
{
    RECT rc;
    CTableWindowArea* pPane = grid.PaneOfColumn(nDisplayCol);
    pPane->GetColumnRect(nDisplayCol, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (pPane->GetTitleRect().top + pPane->GetTitleRect().bottom) / 2};
    ClientToScreen(grid.m_hWnd, &pt);
    for (const auto& [uMsg, wKeys] : {std::pair<UINT, WPARAM>{WM_MOUSEMOVE, 0}, {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}}) {
        TbDisplayMouse(grid.m_hWnd, uMsg, wKeys, pt);
        PumpFor(20);
    }
}

// The text the current row of the table's main window shows in a column, "" without one.
std::string CurrentText(CDataTable* pTable, int nCol)
{
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    CViewRow row;
    CTBString strText;
    const int nRow = pWindow->GetGrid().GetCurrentRow();
    return nRow >= 0 && pWindow->GetView()->GetRow(row, nRow) && row.GetText(strText, nCol) ? std::string(strText) : "";
}

}  // namespace

// Typing into fast find after a right click on a column's title moves the current row to the
// first row whose cell begins with the text, in a text column as in a number column, in the
// stock list and in the KSE quotations; a right click on a row pops the table's own menu up with
// the grid's column menu under it.
TEST_F(CMarketSession, FastFindInTextAndNumberColumnsAndTheRowMenu)
{
    ASSERT_TRUE(StartSession({}, false));
    CDataTable* pList = FindDataTable(IDS_TABLE_STOCK_LIST_KSE);
    ASSERT_NE(nullptr, pList);
    ASSERT_TRUE(PumpUntil([&] { return pList->IsComplete(); }));
    ASSERT_TRUE(pRun->App().RunCommand(ID_APP_KSE_QUOTES));
    CDataTable* pQuotes = FindDataTable(IDS_TABLE_QUOTATIONS_KSE);
    ASSERT_NE(nullptr, pQuotes);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->GetRows()->GetCount() >= 10; }));
    struct TABLE_CASE { CDataTable* pTable; int nSymbolCol; int nNumberCol; };
    for (const TABLE_CASE& t : {TABLE_CASE{pList, SLC_SYMBOL, SLC_ID}, TABLE_CASE{pQuotes, 0, 1}}) {
        CNorvApp::ShowTable(t.pTable);
        PumpFor(100);
        CTableWindow& grid = t.pTable->GetMainWindow()->GetGrid();
        auto& order = t.pTable->GetMainWindow()->GetView()->GetColumnOrder();
        ASSERT_GE(order.FindPosition(t.nSymbolCol), 0);
        RightClickOnTitle(grid, order.FindPosition(t.nSymbolCol));
        CDlgFastFind* pFind = CTWApp::Get()->GetFastFindDialog();
        ASSERT_TRUE(pFind != nullptr && pFind->m_hWnd != nullptr) << "the title's right click opens fast find";
        // Typed, and the symbol found; the last in the number column, chosen while fast find has
        // the focus.
        for (const auto& [pszTyped, pszSymbol] : {std::pair{"SHQ", "SHQ"}, {"zam", "ZAM"}, {"Z*", "ZAM"}, {"n?b", "NCB"},
                                                  {"GH", "GHB"}, {"110", "SHQ"}}) {
            if (std::string(pszTyped) == "110") {
                Shoot(t.pTable, "market_fast_find_symbol_" + std::to_string(t.nSymbolCol));
                RightClickOnTitle(grid, order.FindPosition(t.nNumberCol));
            }
            SetDlgItemTextA(pFind->m_hWnd, IDC_FIND_TEXT, pszTyped);
            PumpFor(20);
            EXPECT_EQ(pszSymbol, CurrentText(t.pTable, t.nSymbolCol)) << pszTyped;
        }
        SendMessageA(pFind->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }

    // The row menu: copy, filter, remove filter, sort, export, font and grid lines, the columns last.
    CTableWindow& grid = pList->GetMainWindow()->GetGrid();
    RECT rc;
    grid.GetCellRect(1, 1, &rc);
    HMENU hMenu = grid.PrepareContextMenu((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    ASSERT_NE(nullptr, hMenu);
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        ids.push_back(GetMenuItemID(hMenu, i));
    for (UINT nId : {25601u, 60000u, 60004u, 25900u, 60008u, 25500u, 25504u})
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), nId)) << nId;
    EXPECT_EQ(grid.GetColumnMenu(), GetSubMenu(hMenu, GetMenuItemCount(hMenu) - 1));
}
