// Column titles end to end: every line of every title of the trader's tables fits its column,
// in English and in Arabic, and a title of two lines shows two lines in a strip as high.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/NorvApp.h"
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
            if (rc.right - rc.left > nRoom)
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
        ASSERT_TRUE(StartSession({}, bArabic));
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
        MoveWindow(pList->GetMainWindow()->m_hWnd, 0, 0, 1100, 260, TRUE);
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
            if (pPane == nullptr || !pPane->GetColumnRect(i, &rc) || rc.left < 0 || rc.right > 1000 ||
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
