// Column titles end to end: every line of every title of the trader's tables (the account tables
// too) fits its column, in English and in Arabic, and a title of two lines shows two lines in a strip as high; a title
// dragged by the strip's bottom edge moves its column, with the move pointer and the dragged band
// on screen while it goes.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "account/AccountTables.h"
#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Display.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

struct TitlesSession : CMarketSession
{
    // The trader logged in with the account tables made too, each shown in its window.
    ::testing::AssertionResult StartWithAccountTables(bool bArabic)
    {
        if (!server.Start({}))
            return ::testing::AssertionFailure() << "the test server did not start";
        pRun = std::make_unique<CTerminalRun>(bArabic);
        pRun->m_onMakersRegistered = [] { RegisterAccountTables(); };
        ::testing::AssertionResult result = pRun->StartLoggedIn(server.Port(), "trader", "secret");
        for (UINT nId : std::initializer_list<UINT>{IDS_TABLE_US_HOLDINGS, IDS_TABLE_KSE_HOLDINGS, IDS_TABLE_COMBINED_HOLDINGS,
                         IDS_TABLE_US_UNREALIZED, 51110, 51130, 51128, 51164, 51165, 51166, 56370, 51142}) {
            CDataTable* pTable = FindDataTable(nId);
            if (pTable == nullptr)
                return ::testing::AssertionFailure() << "no account table " << nId;
            CNorvApp::ShowTable(pTable);
        }
        return result;
    }

    // "<table> col <n> \"<title>\" needs <w> of <room>" for each title with a line wider than its
    // room, and a line for each title higher than the title strip.
    std::vector<std::string> CutTitles(CTableMDIWnd* pWindow)
    {
        char szName[128] = "";
        GetWindowTextA(pWindow->m_hWnd, szName, sizeof szName);
        std::vector<std::string> cut;
        CTableWindow& grid = pWindow->GetGrid();
        CViewTable* pView = pWindow->GetView();
        HDC hdc = CreateCompatibleDC(nullptr);
        grid.PrepareDC(hdc);
        const RECT& rcStrip = grid.GetScrollPane().GetTitleRect();
        const int nStrip = rcStrip.bottom - rcStrip.top;
        for (int i = 0; i < pView->GetColumnOrder().GetCount(); ++i) {
            const CTableColumn* pColumn = pView->GetColumnOrder().GetColumn(i);
            if (pColumn->m_bHidden)
                continue;
            // The text keeps 3 pixels on each side.
            const int nRoom = grid.GetColumnWidth(i) - 6;
            const CTBString& strTitle = pColumn->GetTitle();
            RECT rc = {0, 0, nRoom, 0};
            DrawTextA(hdc, strTitle, -1, &rc, DT_CALCRECT | DT_NOPREFIX);
            if (rc.bottom - rc.top > nStrip)
                cut.push_back(std::string(szName) + " col " + std::to_string(i) + " \"" + std::string(strTitle) +
                              "\" is " + std::to_string(rc.bottom - rc.top) + " high in a strip of " +
                              std::to_string(nStrip));
            // Right to left, a title of two lines that fills its room exactly is drawn on one line.
            const bool bOneLine = grid.IsMirrored() && pColumn->GetTitleLines() > 1;
            if (rc.right - rc.left > nRoom || (bOneLine && rc.right - rc.left == nRoom))
                cut.push_back(std::string(szName) + " col " + std::to_string(i) + " \"" +
                              std::string(strTitle) + "\" needs " + std::to_string(rc.right - rc.left) + " of " +
                              std::to_string(nRoom));
        }
        DeleteDC(hdc);
        return cut;
    }
};

}  // namespace

TEST_F(TitlesSession, EveryTitleLineFitsItsColumnInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_TRUE(StartWithAccountTables(bArabic));
        CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
        ASSERT_NE(nullptr, pList);
        ASSERT_TRUE(PumpUntil([&] { return pList->IsComplete(); }));
        std::vector<std::string> cut;
        for (IDataTable* pTable : pRun->App().GetTables()) {
            CTableMDIWnd* pWindow = pTable->GetMainWindow();
            if (pWindow == nullptr)
                continue;
            const std::vector<std::string> inWindow = CutTitles(pWindow);
            cut.insert(cut.end(), inWindow.begin(), inWindow.end());
        }
        std::string strCut;
        for (const std::string& str : cut)
            strCut += str + "\n";
        EXPECT_EQ("", strCut);
        CNorvApp::ShowTable(pList);
        // Wide enough for three titles of two lines beside the companies' longest names.
        MoveWindow(pList->GetMainWindow()->m_hWnd, 0, 0, 1600, 260, TRUE);
        PumpFor(100);
        // On screen, each title of two lines shows two lines of ink, one above the other.
        CTableWindow& grid = pList->GetMainWindow()->GetGrid();
        CViewTable* pView = pList->GetMainWindow()->GetView();
        UpdateWindow(grid.m_hWnd);
        HDC hdc = GetDC(grid.m_hWnd);
        int nTwoLines = 0;
        for (int i = 0; i < pView->GetColumnOrder().GetCount(); ++i) {
            RECT rc;
            CTableWindowArea* pPane = grid.PaneOfColumn(i);
            if (pPane == nullptr || !pPane->GetColumnRect(i, &rc) || rc.left < 0 || rc.right > 1500 ||
                pView->GetColumnOrder().GetColumn(i)->GetTitleLines() != 2)
                continue;
            ++nTwoLines;
            const RECT& rcStrip = pPane->GetTitleRect();
            // Rows with ink, as '#' and '.'; a line of text is a run of three or more (a letter's
            // dots alone make shorter ones).
            std::string strRows;
            for (int y = rcStrip.top + 1; y < rcStrip.bottom - 1; ++y) {
                bool bInk = false;
                for (int x = rc.left + 3; x < rc.right - 3 && !bInk; ++x) {
                    const COLORREF cr = GetPixel(hdc, x, y);
                    bInk = GetRValue(cr) + GetGValue(cr) + GetBValue(cr) < 200;
                }
                strRows += bInk ? '#' : '.';
            }
            int nRuns = 0;
            for (size_t n = strRows.find("###"); n != std::string::npos; n = strRows.find("###", strRows.find('.', n)))
                ++nRuns;
            EXPECT_EQ(2, nRuns) << "rows with ink in the title of column " << i << ": " << strRows;
        }
        ReleaseDC(grid.m_hWnd, hdc);
        EXPECT_GE(nTwoLines, 3);
        Shoot(pList, bArabic ? "stock_list_titles_ar" : "stock_list_titles_en");
        StopSession();
    }
}

namespace {

void Mouse(HWND hWnd, UINT uMsg, WPARAM wKeys, POINT pt)
{
    ClientToScreen(hWnd, &pt);
    TbDisplayMouse(hWnd, uMsg, wKeys, pt);
    PumpFor(20);
}

RECT TitleRect(CTableWindow& grid, int nDisplayCol)
{
    RECT rc;
    CTableWindowArea* pPane = grid.PaneOfColumn(nDisplayCol);
    pPane->GetColumnRect(nDisplayCol, &rc);
    return RECT{rc.left, pPane->GetTitleRect().top, rc.right, pPane->GetTitleRect().bottom};
}

std::string Order(CViewTable* pView)
{
    std::string str;
    for (int i = 0; i < 4; ++i)
        str += std::to_string(pView->GetColumnOrder().GetColumnIndex(i)) + " ";
    return str;
}

}  // namespace

// The trader takes the Symbol title by the strip's bottom edge and drags it past the middle of
// Company: the move pointer shows, a band as wide as the column follows the pointer over the rows,
// and on release Symbol stands after Company. Taken by its middle and dropped on the titles, it
// moves as well: back before the column that took its place.
TEST_F(TitlesSession, TitleDraggedByItsBottomEdgeOrItsMiddleMovesItsColumn)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_TRUE(StartSession({}, bArabic));
        CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
        ASSERT_NE(nullptr, pList);
        ASSERT_TRUE(PumpUntil([&] { return pList->IsComplete(); }));
        CNorvApp::ShowTable(pList);
        CTableMDIWnd* pWindow = pList->GetMainWindow();
        MoveWindow(pWindow->m_hWnd, 0, 0, 700, 300, TRUE);
        PumpFor(100);
        CTableWindow& grid = pWindow->GetGrid();
        CViewTable* pView = pWindow->GetView();
        const HWND hGrid = grid.m_hWnd;
        ASSERT_EQ("0 1 2 3 ", Order(pView));

        const RECT rcSymbol = TitleRect(grid, 1);
        const RECT rcCompany = TitleRect(grid, 3);
        // Past the middle of Company, on its far side: the right in English, the left in Arabic.
        const POINT ptDrop = {bArabic ? rcCompany.left + 10 : rcCompany.right - 10, rcSymbol.bottom + 40};
        const POINT ptGrip = {(rcSymbol.left + rcSymbol.right) / 2, rcSymbol.bottom - 2};
        Mouse(hGrid, WM_MOUSEMOVE, 0, ptGrip);
        EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), GetCursor()) << "the move pointer over the bottom edge";
        HDC hdc = GetDC(hGrid);
        // The band is a pattern: a few pixels around the pointer, not one that may be its white.
        const auto Around = [&] {
            std::vector<COLORREF> pixels;
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx)
                    pixels.push_back(GetPixel(hdc, ptDrop.x + dx, ptDrop.y + dy));
            return pixels;
        };
        const std::vector<COLORREF> before = Around();
        Mouse(hGrid, WM_LBUTTONDOWN, MK_LBUTTON, ptGrip);
        Mouse(hGrid, WM_MOUSEMOVE, MK_LBUTTON, ptDrop);
        ASSERT_TRUE(grid.IsColumnDragActive());
        EXPECT_NE(before, Around()) << "the band under the pointer";
        EXPECT_TRUE(TbSaveWindowPng(pWindow->m_hWnd, ScreenshotPath(bArabic ? "column_drag_ar" : "column_drag_en").c_str()));
        ReleaseDC(hGrid, hdc);
        Mouse(hGrid, WM_LBUTTONUP, 0, ptDrop);
        EXPECT_FALSE(grid.IsColumnDragActive());
        EXPECT_EQ("0 2 3 1 ", Order(pView));

        // Symbol, now last, taken by the middle of its title and dropped on the near half of the
        // second title: it stands second again.
        const RECT rcMoved = TitleRect(grid, 3), rcSecond = TitleRect(grid, 1);
        const POINT ptMiddle = {(rcMoved.left + rcMoved.right) / 2, (rcMoved.top + rcMoved.bottom) / 2};
        const POINT ptOnTitle = {bArabic ? rcSecond.right - 5 : rcSecond.left + 5, ptMiddle.y};
        Mouse(hGrid, WM_MOUSEMOVE, 0, ptMiddle);
        Mouse(hGrid, WM_LBUTTONDOWN, MK_LBUTTON, ptMiddle);
        Mouse(hGrid, WM_MOUSEMOVE, MK_LBUTTON, ptOnTitle);
        Mouse(hGrid, WM_LBUTTONUP, 0, ptOnTitle);
        EXPECT_EQ("0 1 2 3 ", Order(pView)) << "a title taken by its middle";
        StopSession();
    }
}
