// The tickers in the running terminal against the test server: opened docked from their menu
// items they stack under the information window's grid, the KSE ticker takes the board's live
// items, one floats by its own mark to the bottom of the main window and docks again, and
// removing the docked ones gives the grid its whole window back. Pictures in both languages.
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>
#include "app/AppCommands.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/QuotationKSETable.h"
#include "market/ZorvatTickerWnd.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/market/MarketSessionSupport.h"

namespace fs = std::filesystem;

namespace {

std::string ShotPath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    fs::create_directories(strFolder);
    return strFolder + "/" + strName + ".png";
}

int ClientHeight(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return rc.bottom;
}

struct TickerSession : CMarketSession
{
    void Run(bool bArabic, const char* pszLanguage)
    {
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
        CZORVAT32App& app = pRun->App();
        ASSERT_GE(app.GetTickerCount(), 2);
        CDataTable* pInfo = FindDataTable(IDS_TABLE_INFO);
        ASSERT_NE(nullptr, pInfo);
        CNorvApp::ShowTable(pInfo);
        HWND hInfo = pInfo->GetMainWindow()->m_hWnd;
        HWND hGrid = pInfo->GetMainWindow()->GetGrid().m_hWnd;
        const int nFull = ClientHeight(hInfo);

        // Every ticker from its menu item: docked, stacked upwards from the bottom.
        for (int i = 0; i < app.GetTickerCount() && i < 3; ++i)
            ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST + i));
        int nBar = app.GetTickerBarHeight(TRUE);
        ASSERT_GT(nBar, 0);
        EXPECT_EQ(nFull - nBar, ClientHeight(hGrid));
        int nBottom = nFull;
        for (int i = 0; i < app.GetTickerCount() && i < 3; ++i) {
            CTickerWnd* pTicker = app.GetTickerWindow(app.GetTickerName(i));
            ASSERT_NE(nullptr, pTicker);
            EXPECT_TRUE(pTicker->IsDocked());
            EXPECT_EQ(bArabic, pTicker->GetDirection() != FALSE);
            RECT rc;
            pTicker->GetWindowRect(&rc);
            ::ScreenToClient(hInfo, reinterpret_cast<POINT*>(&rc.right));
            EXPECT_EQ(nBottom, rc.bottom) << i;
            nBottom -= pTicker->GetTextHeight(FALSE);
        }

        // The board's live lines reach some ticker.
        auto itemsShown = [&] {
            int n = 0;
            for (int i = 0; i < app.GetTickerCount(); ++i)
                if (CTickerWnd* pTicker = app.GetTickerWindow(app.GetTickerName(i)))
                    n += pTicker->GetItemCount();
            return n;
        };
        EXPECT_TRUE(PumpUntil([&] { return itemsShown() >= 3; }, 20000)) << itemsShown();
        PumpFor(300);
        UpdateWindow(hInfo);
        EXPECT_TRUE(TbSaveWindowPng(hInfo, ShotPath(std::string("market_tickers_docked_") + pszLanguage).c_str()));

        // The second ticker floats through its own mark, placed along the main window's bottom.
        CString strSecond = app.GetTickerName(1);
        app.GetTickerWindow(strSecond)->SetCommandPending(TRUE);
        ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FLOAT));
        CTickerWnd* pFloating = app.GetTickerWindow(strSecond);
        ASSERT_NE(nullptr, pFloating);
        EXPECT_FALSE(pFloating->IsDocked());
        EXPECT_FALSE(pFloating->IsCommandPending());
        EXPECT_EQ(nFull - app.GetTickerBarHeight(TRUE), ClientHeight(hGrid));
        RECT rcFloat, rcMain;
        pFloating->GetWindowRect(&rcFloat);
        app.GetMainFrame()->GetClientRect(&rcMain);
        app.GetMainFrame()->ClientToScreen(&rcMain);
        EXPECT_EQ(rcMain.bottom, rcFloat.bottom);
        EXPECT_EQ(rcMain.left, rcFloat.left);
        PumpFor(300);
        EXPECT_TRUE(TbSaveWindowPng(pFloating->m_hWnd,
                                    ShotPath(std::string("market_ticker_floating_") + pszLanguage).c_str()));
        // A dock with no mark does nothing; with the mark it docks again.
        ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_DOCK));
        EXPECT_FALSE(app.GetTickerWindow(strSecond)->IsDocked());
        app.GetTickerWindow(strSecond)->SetCommandPending(TRUE);
        ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_DOCK));
        EXPECT_TRUE(app.GetTickerWindow(strSecond)->IsDocked());

        // Their menu items again remove them all; the grid fills the window.
        for (int i = 0; i < app.GetTickerCount() && i < 3; ++i)
            ASSERT_TRUE(app.RunCommand(ID_APP_TICKER_FIRST + i));
        for (int i = 0; i < app.GetTickerCount() && i < 3; ++i)
            EXPECT_EQ(nullptr, app.GetTickerWindow(app.GetTickerName(i)));
        EXPECT_EQ(0, app.GetTickerBarHeight(FALSE));
        EXPECT_EQ(nFull, ClientHeight(hGrid));
    }
};

}  // namespace

TEST_F(TickerSession, TickersDockFloatAndTakeTheBoardsItemsInEnglish)
{
    Run(false, "en");
}

TEST_F(TickerSession, TickersDockFloatAndTakeTheBoardsItemsInArabic)
{
    Run(true, "ar");
}
