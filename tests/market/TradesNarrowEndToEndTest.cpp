// The KSE time and sales narrowed by a click, end to end: the trader's terminal against the test
// server; a left click on a symbol cell, as the display sends it, leaves only that stock's trades
// and the window's caption names the stock; a click on the corner cell brings every trade and the
// plain caption back. Pictures in both languages.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/AppCommands.h"
#include "app/TableMDIWnd.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/TimeAndSalesKSETables.h"
#include "platform/win/user/Display.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

const int TRADE_SYMBOL = 2;

// A left click as the display sends it, at a point of the grid's client area, handled. Nothing
// runs between the press and the release: a live trade would scroll the followed grid under the
// pointer.
void ClickAt(HWND hWnd, POINT pt)
{
    ClientToScreen(hWnd, &pt);
    for (const auto& [uMsg, wKeys] : {std::pair<UINT, WPARAM>{WM_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}})
        TbDisplayMouse(hWnd, uMsg, wKeys, pt);
    PumpPending();
}

std::string Caption(HWND hWnd)
{
    char szText[256] = "";
    GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

struct TradesSession : CMarketSession
{
    void ClickSymbolThenCorner(bool bArabic, const std::string& strShot)
    {
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
        pRun->App().RunCommand(ID_APP_KSE_TIME_SALES);
        CTimeAndSalesKSETable* pTrades = Find<CTimeAndSalesKSETable>(IDS_TABLE_TRADES_KSE);
        ASSERT_NE(nullptr, pTrades);
        // Trades of two stocks at least, so that a narrowing shows.
        auto symbols = [&] {
            std::set<std::string> seen;
            for (int i = 0; i < pTrades->GetRows()->GetCount(); ++i)
                seen.insert(std::string(pTrades->GetRows()->GetAt(i)->GetText(TRADE_SYMBOL)));
            return seen;
        };
        ASSERT_TRUE(PumpUntil([&] { return pTrades->IsComplete() && symbols().size() >= 2; }, 20000))
            << pRun->InfoText();
        CNorvApp::ShowTable(pTrades);
        PumpPending();
        CTableMDIWnd* pWindow = pTrades->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        CTableWindow& grid = pWindow->GetGrid();
        const std::string strPlain = Caption(pWindow->m_hWnd);
        ASSERT_FALSE(strPlain.empty());
        // The stock the first line shows as the press comes. What is queued (a live line, a
        // paint) is handled first: the press then comes before any line that arrives later.
        PumpPending();
        const int nSymbolAt = pWindow->GetView()->GetColumnOrder().FindPosition(TRADE_SYMBOL);
        RECT rc;
        ASSERT_TRUE(grid.GetCellRect(0, nSymbolAt, &rc));
        CTBString strCell;
        RECT rcShown;
        ASSERT_TRUE(grid.PaneOfColumn(nSymbolAt)->GetShownCellText(0, nSymbolAt, &strCell, &rcShown));
        const std::string strSymbol(strCell);

        ClickAt(grid.m_hWnd, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
        const std::vector<std::string> shown = ShownTexts(pTrades, TRADE_SYMBOL);
        ASSERT_FALSE(shown.empty());
        for (const std::string& strShown : shown)
            EXPECT_EQ(strSymbol, strShown) << "only the clicked stock's trades";
        EXPECT_LT(shown.size(), static_cast<size_t>(pTrades->GetRows()->GetCount()));
        EXPECT_EQ(strPlain + " - " + strSymbol, Caption(pWindow->m_hWnd)) << "the caption says the window is narrowed";
        Shoot(pTrades, strShot);

        const RECT& rcCorner = grid.GetHeaderPane().GetTitleRect();
        ClickAt(grid.m_hWnd, POINT{(rcCorner.left + rcCorner.right) / 2, rcCorner.bottom - 3});
        EXPECT_EQ(static_cast<size_t>(pTrades->GetRows()->GetCount()), ShownTexts(pTrades, TRADE_SYMBOL).size())
            << "the corner cell brings every trade back";
        EXPECT_EQ(strPlain, Caption(pWindow->m_hWnd));
    }
};

}  // namespace

TEST_F(TradesSession, SymbolClickNarrowsWithTheStockInTheCaptionAndTheCornerUndoesItInEnglish)
{
    ClickSymbolThenCorner(false, "market_time_sales_kse_narrowed_en");
}

TEST_F(TradesSession, SymbolClickNarrowsWithTheStockInTheCaptionAndTheCornerUndoesItInArabic)
{
    ClickSymbolThenCorner(true, "market_time_sales_kse_narrowed_ar");
}
