// Finding and the row menu end to end: the trader opens the KSE stock list, right-clicks a column
// title and types into fast find, and right-clicks a row for the table's menu.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "framework/window/DlgFastFind.h"
#include "framework/window/TWApp.h"
#include "framework/window/TableWindow.h"
#include "app/AppCommands.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

const int IDC_FIND_TEXT = 1031;

// A right click as the display sends it, at a point of the grid's client area.
void RightClickAt(HWND hWnd, POINT pt)
{
    ClientToScreen(hWnd, &pt);
    for (const auto& [uMsg, wKeys] : {std::pair<UINT, WPARAM>{WM_MOUSEMOVE, 0}, {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_RBUTTONUP, 0}}) {
        TbDisplayMouse(hWnd, uMsg, wKeys, pt);
        PumpFor(20);
    }
}

POINT TitlePoint(CTableWindow& grid, int nDisplayCol)
{
    RECT rc;
    CTableWindowArea* pPane = grid.PaneOfColumn(nDisplayCol);
    pPane->GetColumnRect(nDisplayCol, &rc);
    return POINT{(rc.left + rc.right) / 2, (pPane->GetTitleRect().top + pPane->GetTitleRect().bottom) / 2};
}

POINT CellPoint(CTableWindow& grid, int nLine, int nDisplayCol)
{
    RECT rc;
    grid.GetCellRect(nLine, nDisplayCol, &rc);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

struct FindSession : CMarketSession
{
    CStockListKSETable* pList = nullptr;
    CTableMDIWnd* pWindow = nullptr;

    void Start(bool bArabic)
    {
        ASSERT_TRUE(StartSession({}, bArabic));
        pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
        ASSERT_NE(nullptr, pList);
        ASSERT_TRUE(PumpUntil([&] { return pList->IsComplete(); }));
        CNorvApp::ShowTable(pList);
        pWindow = pList->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        PumpFor(100);
    }
    CTableWindow& Grid() { return pWindow->GetGrid(); }
    // The text the current row shows in a column, "" without a current row.
    std::string CurrentText(int nCol)
    {
        CViewRow row;
        CTBString strText;
        if (Grid().GetCurrentRow() < 0 || !pWindow->GetView()->GetRow(row, Grid().GetCurrentRow()) ||
            !row.GetText(strText, nCol))
            return "";
        return std::string(strText);
    }
};

}  // namespace

// Typing into fast find after a right click on a column's title moves the current row to the
// first row whose cell begins with the text, in a text column as in a number column, in the
// stock list and in the KSE quotations.
TEST_F(FindSession, FastFindMovesToTheRowInTextAndNumberColumns)
{
    Start(false);
    ASSERT_TRUE(pRun->App().RunCommand(ID_APP_KSE_QUOTES));
    CDataTable* pQuotes = FindDataTable(IDS_TABLE_QUOTATIONS_KSE);
    ASSERT_NE(nullptr, pQuotes);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->GetRows()->GetCount() >= 10; }));
    struct TABLE_CASE { CDataTable* pTable; int nSymbolCol; int nNumberCol; };
    for (const TABLE_CASE& t : {TABLE_CASE{pList, SLC_SYMBOL, SLC_ID}, TABLE_CASE{pQuotes, 0, 1}}) {
        CNorvApp::ShowTable(t.pTable);
        pWindow = t.pTable->GetMainWindow();
        PumpFor(100);
        const int nSymbolAt = pWindow->GetView()->GetColumnOrder().FindPosition(t.nSymbolCol);
        ASSERT_GE(nSymbolAt, 0);
        RightClickAt(Grid().m_hWnd, TitlePoint(Grid(), nSymbolAt));
        CDlgFastFind* pFind = CTWApp::Get()->GetFastFindDialog();
        ASSERT_TRUE(pFind != nullptr && pFind->m_hWnd != nullptr) << "the title's right click opens fast find";
        struct CASE { const char* pszTyped; const char* pszSymbol; };
        for (const CASE& c : {CASE{"SHQ", "SHQ"}, CASE{"zam", "ZAM"}, CASE{"Z*", "ZAM"}, CASE{"n?b", "NCB"},
                              CASE{"GH", "GHB"}}) {
            SetDlgItemTextA(pFind->m_hWnd, IDC_FIND_TEXT, c.pszTyped);
            PumpFor(20);
            EXPECT_EQ(c.pszSymbol, CurrentText(t.nSymbolCol)) << c.pszTyped;
        }
        Shoot(t.pTable, "market_fast_find_symbol_" + std::to_string(t.nSymbolCol));
        // The stock number column of the same window, chosen while fast find has the focus.
        RightClickAt(Grid().m_hWnd, TitlePoint(Grid(), pWindow->GetView()->GetColumnOrder().FindPosition(t.nNumberCol)));
        SetDlgItemTextA(pFind->m_hWnd, IDC_FIND_TEXT, "110");
        PumpFor(20);
        EXPECT_EQ("SHQ", CurrentText(t.nSymbolCol));
        SendMessageA(pFind->m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }
}

// A right click on a row pops the table's own menu up with the grid's column menu under it.
TEST_F(FindSession, RowMenuOffersTheTableCommands)
{
    Start(true);
    const POINT pt = CellPoint(Grid(), 1, 1);
    HMENU hMenu = Grid().PrepareContextMenu(pt.x, pt.y);
    ASSERT_NE(nullptr, hMenu);
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        ids.push_back(GetMenuItemID(hMenu, i));
    for (UINT nId : {25601u, 60000u, 60004u, 25900u, 60008u, 25500u, 25504u})
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), nId)) << nId;
    EXPECT_EQ(Grid().GetColumnMenu(), GetSubMenu(hMenu, GetMenuItemCount(hMenu) - 1)) << "the columns last";
}
