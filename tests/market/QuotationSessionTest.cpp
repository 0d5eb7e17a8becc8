// The quotation tables end to end against the test server, logged in as the trader: the symbol
// lists fill the watch list and subscribe it, quotes (compact ones too) move its values and
// colours, a symbol comes back through the ticker choice, an alert set in its dialog fires once,
// the list with its alerts and own prices survives the end of the session, and the odd-lot
// rows of the "SQ" reply are kept by "QQ". Pictures of both windows in English and Arabic.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationOddLotKSETable.h"
#include "market/QuotationTable.h"
#include "market/dialogs/AlertDlg.h"
#include "market/dialogs/TickerSelectDlg.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Sound.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/MenuShot.h"
#include "tests/market/MarketSessionSupport.h"
#include "tests/app/TerminalRun.h"

namespace {

#define HARBOR_MARKET 4                 // its quotes go out compact to the trader
#define ID_ADD_SYMBOL 33074

std::string Shot(const char* pszName, bool bArabic)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(strFolder);
    return strFolder + "/" + pszName + (bArabic ? "_ar" : "_en") + ".png";
}

template <class TTable>
TTable* OpenTable(CZORVAT32App& app, UINT nNameId, UINT nTitleId)
{
    IDataTable* pTable = app.FindTable(nNameId);
    if (pTable == nullptr)
        pTable = MakeTable(nNameId, 0, nTitleId);
    if (pTable != nullptr)
        CNorvApp::ShowTable(pTable);
    return dynamic_cast<TTable*>(pTable);
}

int CountReceived(const CTestServer& server, const std::string& strStart)
{
    int nCount = 0;
    for (const std::string& line : server.Received())
        nCount += line.rfind(strStart, 0) == 0;
    return nCount;
}

int CountSent(const CTestServer& server, const std::string& strStart)
{
    int nCount = 0;
    for (const std::string& line : server.Log())
        nCount += line.rfind("> " + strStart, 0) == 0;
    return nCount;
}

// The rows of one market whose last price has come.
int QuotedRows(CQuotationTable* pTable, LPCSTR pszMarket)
{
    int nRows = 0;
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i) {
        const CDataBuffer* pRow = pTable->GetRows()->GetAt(i);
        nRows += pRow->GetText(QC_MARKET) == pszMarket && pRow->GetDouble(QC_LAST) > 0;
    }
    return nRows;
}

// How many shown cells of a column carry that colour (any change's colour for -1).
int ColouredCells(CDataTable* pTable, int nCol, int nColour = -1)
{
    CViewTable* pView = pTable->GetTable()->GetView(0);
    int nCells = 0;
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CViewRow row;
        if (!pView->GetRow(row, i) || !row.IsDataRow())
            continue;
        const int nCell = row.GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK;
        nCells += nColour < 0 ? nCell != 0 : nCell == nColour;
    }
    return nCells;
}

BOOL ViewRowOf(CQuotationTable* pTable, LPCSTR pszTicker, CViewRow& row)
{
    CViewTable* pView = pTable->GetTable()->GetView(0);
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CTBString strTicker;
        if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strTicker, QC_TICKER) && strTicker == pszTicker)
            return TRUE;
    }
    return FALSE;
}

// The menu as the grid opens it: right to left in Arabic.
void ShootContextMenu(CDataTable* pTable, const std::string& strShot, bool bArabic)
{
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    HMENU hMenu = pTable->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    RECT rc;
    GetWindowRect(pWindow->m_hWnd, &rc);
    const int nMenusShown = ShootMenuWhile(pWindow->m_hWnd, strShot, [&] {
        TrackPopupMenu(hMenu, bArabic ? TPM_LAYOUTRTL : 0, rc.left + 40, rc.top + 60, 0, pWindow->m_hWnd, nullptr);
    });
    DestroyMenu(hMenu);
    EXPECT_GE(nMenusShown, 1);
}

struct QuotesSession : ::testing::Test
{
    CTestServer server;
    void SetUp() override { ASSERT_TRUE(server.Start({"--rate", "200"})); }

    // Logs the trader in with both quotation tables made before the first reply comes.
    void LogIn(CTerminalRun& run)
    {
        run.WriteLinkSettings(server.Port());
        run.QueueLogin("trader", "secret");
        ASSERT_TRUE(run.Start());
        pQuotes = OpenTable<CQuotationTable>(run.App(), IDS_TABLE_QUOTATIONS_US, IDS_TITLE_QUOTATIONS_US);
        pOddLots = OpenTable<CQuotationOddLotKSETable>(run.App(), IDS_TABLE_QUOTATIONS_ODDLOT_KSE,
                                                       IDS_TITLE_QUOTATIONS_ODDLOT_KSE);
        ASSERT_NE(nullptr, pQuotes);
        ASSERT_NE(nullptr, pOddLots);
        ASSERT_TRUE(run.WaitForLoad()) << run.InfoText();
    }
    CQuotationTable* pQuotes = nullptr;
    CQuotationOddLotKSETable* pOddLots = nullptr;
};

}  // namespace

TEST_F(QuotesSession, WatchListFollowsTheMarketsAndKeepsWhatTheUserSet)
{
    const std::string strFolder = MakeTestFolder("quotes");
    CString strHarbor;
    {
        CTerminalRun run(false, strFolder);
        LogIn(run);
        strHarbor = GetGlobals()->GetMarketName(HARBOR_MARKET);
        // The markets' symbol lists fill the watch list and each symbol is subscribed.
        ASSERT_TRUE(PumpUntil([&] { return QuotedRows(pQuotes, strHarbor) > 5; }, 20000)) << run.InfoText();
        const int nRows = pQuotes->GetRows()->GetCount();
        EXPECT_GE(nRows, 30);
        EXPECT_GE(CountReceived(server, "&GS|"), 30);
        // The live lines move prices and colour them; the Harbor Exchange's come compact.
        ASSERT_TRUE(PumpUntil([&] { return ColouredCells(pQuotes, QC_CHANGE) > 3 && CountSent(server, "~GS|") > 50; },
                              20000));
        EXPECT_EQ(nRows, pQuotes->GetRows()->GetCount()) << "quotes change rows, they add none";

        // A symbol removed and added again through the ticker choice.
        ASSERT_TRUE(pQuotes->RemoveSymbol("PRSM", strHarbor));
        run.QueueDialog(IDC_TICKER_SYMBOL, {{IDC_TICKER_SYMBOL, "PRSM"}, {IDC_TICKER_MARKET, std::string(static_cast<LPCSTR>(strHarbor))}});
        pQuotes->OnCmdMsg(ID_ADD_SYMBOL, CN_COMMAND, nullptr, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("PRSM", strHarbor) != nullptr; })) << run.InfoText();
        EXPECT_GE(CountReceived(server, "&RN|"), 1);
        ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote("PRSM", strHarbor)->GetDouble(QC_LAST) > 0; }));

        // An alert set in its dialog from the alert cell, below a price the row shows for a
        // moment and below the market's own, so a streamed quote between them cannot turn it into
        // an alert on a rise, fires on the next quote below it: once, with its beep, and is gone.
        char szHigh[64];
        snprintf(szHigh, sizeof szHigh, "~GS|1|XC|%d|PRSM|0|1|1000", HARBOR_MARKET);
        CServerMessage high(szHigh, 1);
        pQuotes->OnGS(&high);
        CViewRow row;
        ASSERT_TRUE(ViewRowOf(pQuotes, "PRSM", row));
        const UINT nBeeps = TbGetBeepCount();
        run.QueueDialog(IDC_ALERT_VALUE, {{IDC_ALERT_VALUE, "50.00"}});
        int nHandled = 0;
        pQuotes->OnCellClick(&row, QC_ALERT_PRICE, &nHandled);
        EXPECT_EQ(1, nHandled);
        // The next quote below the alert fires it; one is sent at once, since the market's own
        // may be long coming on a loaded machine.
        snprintf(szHigh, sizeof szHigh, "~GS|1|XC|%d|PRSM|0|1|40", HARBOR_MARKET);
        CServerMessage low(szHigh, 1);
        pQuotes->OnGS(&low);
        ASSERT_TRUE(PumpUntil([&] { return TbGetBeepCount() > nBeeps; }, 5000)) << run.InfoText();
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), TbGetLastBeepType());
        EXPECT_NE(std::string::npos, run.InfoText().find("PRSM reached 50.0000")) << run.InfoText();
        EXPECT_EQ(ALERT_NONE, pQuotes->FindQuote("PRSM", strHarbor)->GetLong(QC_ALERT_DIR));
        PumpFor(300);
        EXPECT_EQ(nBeeps + 1, TbGetBeepCount()) << "an alert fires once";

        // What the user sets on a row, kept for the next session.
        ASSERT_TRUE(pQuotes->SetAlert("PRSM", strHarbor, 9999.15));
        ASSERT_TRUE(pQuotes->SetOwnPosition("PRSM", strHarbor, 30, 0.29));
        pQuotes->ShowExtColumns(TRUE);

        // The odd-lot board: the reply's rows, kept (not multiplied) by the live lines.
        ASSERT_TRUE(PumpUntil([&] { return pOddLots->IsComplete() && pOddLots->GetRows()->GetCount() > 0; }));
        const int nOddLots = pOddLots->GetRows()->GetCount();
        const int nLive = CountSent(server, "~QQ|");
        ASSERT_TRUE(PumpUntil([&] { return CountSent(server, "~QQ|") > nLive + 10; }, 20000));
        PumpFor(200);
        EXPECT_EQ(nOddLots, pOddLots->GetRows()->GetCount());
        run.Close();
    }
    {
        CTerminalRun run(false, strFolder);
        LogIn(run);
        ASSERT_TRUE(PumpUntil([&] {
            const CDataBuffer* pRow = pQuotes->FindQuote("PRSM", strHarbor);
            return pRow != nullptr && pRow->GetLong(QC_ALERT_DIR) != ALERT_NONE;
        }, 20000)) << run.InfoText();
        const CDataBuffer* pRow = pQuotes->FindQuote("PRSM", strHarbor);
        EXPECT_EQ(ALERT_ON_RISE, pRow->GetLong(QC_ALERT_DIR));
        EXPECT_DOUBLE_EQ(9999.15, pRow->GetDouble(QC_ALERT_PRICE));
        EXPECT_DOUBLE_EQ(30, pRow->GetDouble(QC_OWN_QTY));
        EXPECT_DOUBLE_EQ(0.29, pRow->GetDouble(QC_OWN_PRICE));
        EXPECT_TRUE(pQuotes->IsShowingExtColumns());
        run.Close();
    }
}

TEST_F(QuotesSession, PicturesOfBothTablesInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        CTerminalRun run(bArabic);
        LogIn(run);
        const CString strHarbor = GetGlobals()->GetMarketName(HARBOR_MARKET);
        ASSERT_TRUE(PumpUntil([&] { return QuotedRows(pQuotes, strHarbor) > 5 && ColouredCells(pQuotes, QC_CHANGE) > 3; },
                              20000));
        // Falls too, if the market gives some within a few seconds.
        PumpUntil([&] { return ColouredCells(pQuotes, QC_CHANGE, QUOTE_ATTR_FALLING) > 2; }, 5000);
        // A starred quote in its own colours beside the rising and falling ones.
        char szStarred[128];
        snprintf(szStarred, sizeof szStarred, "~GS|1|XC|%d|PRSM|0|1*|%.2f", HARBOR_MARKET,
                 pQuotes->FindQuote("PRSM", strHarbor)->GetDouble(QC_LAST) + 0.5);
        CServerMessage starred(szStarred, 1);
        pQuotes->OnGS(&starred);
        CTableMDIWnd* pWindow = pQuotes->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        pWindow->MoveWindow(0, 0, 1000, 820);
        CNorvApp::ShowTable(pQuotes);
        PumpFor(100);
        EXPECT_TRUE(TbSaveWindowPng(pWindow->m_hWnd, Shot("quotes_watch_list", bArabic).c_str()));
        // The Name column names the symbol, not its ticker again.
        const std::vector<std::string> tickers = ShownTexts(pQuotes, 0), names = ShownTexts(pQuotes, 2);
        ASSERT_EQ(tickers.size(), names.size());
        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_TRUE(!names[i].empty() && names[i] != tickers[i]) << tickers[i] << " named \"" << names[i] << '"';
        ShootContextMenu(pQuotes, Shot("quotes_context_menu", bArabic), bArabic);

        ASSERT_TRUE(PumpUntil([&] { return pOddLots->IsComplete() && pOddLots->GetRows()->GetCount() > 0; }));
        CTableMDIWnd* pOddWindow = pOddLots->GetMainWindow();
        ASSERT_NE(nullptr, pOddWindow);
        pOddWindow->MoveWindow(0, 0, 900, 360);
        CNorvApp::ShowTable(pOddLots);
        PumpFor(100);
        EXPECT_TRUE(TbSaveWindowPng(pOddWindow->m_hWnd, Shot("quotes_odd_lots", bArabic).c_str()));
        run.Close();
    }
}
