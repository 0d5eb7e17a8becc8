// The lists, trades and cached histories end to end: the terminal logs in as the trader against
// the test server on loopback and shows the KSE stock list (its Arabic names drawn and copied as
// Arabic in English too), its tick bands, the KSE and US time and sales; the monthly history,
// financials and company information are cached in the program folder and taken from there
// again; a close mid-stream, an "EN" after an error and replies in reverse order leave the caches
// sound.
#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/TableColumnsMap.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/QuotationMonthlyTable.h"
#include "market/QuotationTable.h"
#include "market/StockDetailTables.h"
#include "market/StockListKSETable.h"
#include "market/TicksUnitsKSETable.h"
#include "market/TimeAndSalesKSETables.h"
#include "market/TimeAndSalesTable.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "tests/market/MarketSessionSupport.h"

namespace fs = std::filesystem;

namespace {

const long STOCK_A = 101;
const long STOCK_B = 102;

// The texts the window draws as it repaints, as the text engine receives them.
std::vector<std::string> DrawnTexts(HWND hWnd)
{
    struct CRecorder : ITbTextEngine {
        ITbTextEngine* pEngine = TbGetTextEngine();
        std::vector<std::string> texts;
        std::shared_ptr<void> CreateFace(const LOGFONTA& lf) override { return pEngine->CreateFace(lf); }
        void GetMetrics(void* pFace, TEXTMETRICA* pMetrics) override { pEngine->GetMetrics(pFace, pMetrics); }
        int MeasureWidth(void* pFace, const char* psz, int cb) override
        {
            return pEngine->MeasureWidth(pFace, psz, cb);
        }
        void Draw(void* pFace, CTbPixelBuffer& target, const std::vector<RECT>& clip, int x, int yTop,
                  const char* psz, int cb, uint32_t pxColor, BOOL bRtl) override
        {
            texts.emplace_back(psz, static_cast<size_t>(cb));
            pEngine->Draw(pFace, target, clip, x, yTop, psz, cb, pxColor, bRtl);
        }
        void EndDrawing() override { pEngine->EndDrawing(); }
    } recorder;
    TbSetTextEngine(&recorder);
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    TbSetTextEngine(recorder.pEngine);
    return recorder.texts;
}

// A table the session has not made yet, made as its opener does.
template <class TTable>
TTable* Open(UINT nNameId, UINT nTitleId)
{
    if (TTable* pTable = Find<TTable>(nNameId))
        return pTable;
    return dynamic_cast<TTable*>(MakeTable(nNameId, 0, nTitleId));
}

struct ListsSession : CMarketSession
{
    // The server with these options, the terminal (in this folder when given) logged in as the
    // trader with its initial load done.
    void Start(const std::vector<std::string>& options, bool bArabic = false, const std::string& strFolder = "")
    {
        ASSERT_TRUE(StartSession(options, bArabic, strFolder));
    }
    std::string Folder() const { return pRun->Folder(); }
    // Requests of the mnemonic whose body is this ("" any); the link puts its number after the
    // mnemonic.
    int SentCount(const std::string& strMnemonic, const std::string& strFields = "") const
    {
        int nCount = 0;
        for (const std::string& line : server.Received()) {
            const size_t nXC = line.find("|XC||");
            if (line.rfind("&" + strMnemonic + "|", 0) == 0 && nXC != std::string::npos &&
                (strFields.empty() || line.substr(nXC + 5) == strFields))
                ++nCount;
        }
        return nCount;
    }
    // The monthly history of the stock, its reply taken in whole.
    CQuotationMonthlyTable* RequestMonthly(long nStock)
    {
        CQuotationMonthlyTable* pTable =
            Open<CQuotationMonthlyTable>(IDS_TABLE_QUOTATION_MONTHLY, IDS_TITLE_QUOTATION_MONTHLY);
        if (pTable == nullptr)
            return nullptr;
        const int nSent = SentCount("DQ");
        pTable->RequestHistory(nStock);
        PumpUntil([&] { return SentCount("DQ") > nSent; });
        PumpUntil([&] { return pTable->GetRows()->GetCount() > 0 && !pTable->IsReceiving(); });
        PumpFor(100);
        return pTable;
    }
};

// A cache file cut back to the months up to its third newest, under that month's stamp: the
// cache an earlier day left. Returns the new file's stamp.
std::string MakeOlderCache(const std::string& strFolder, const std::string& strFile)
{
    std::ifstream in(strFolder + "/" + strFile);
    std::vector<std::pair<std::string, std::string>> rows;     // month "YYYYMMDD", line
    for (std::string strLine; std::getline(in, strLine);) {
        // The third cell, as shown: "DD/MM/YYYY".
        size_t nStart = 0;
        for (int nField = 0; nField < 2 && nStart != std::string::npos; ++nField)
            nStart = strLine.find('|', nStart) + 1;
        const std::string strShown = strLine.substr(nStart, 10);
        if (strShown.size() == 10)
            rows.emplace_back(strShown.substr(6, 4) + strShown.substr(3, 2) + strShown.substr(0, 2), strLine);
    }
    std::sort(rows.begin(), rows.end());
    if (rows.size() < 4)
        return "";
    const std::string strMonth = rows[rows.size() - 3].first;
    const std::string strStamp = std::to_string(atoi(strMonth.substr(0, 4).c_str()) - 2000) + strMonth.substr(4);
    std::ofstream out(strFolder + "/QM_101_" + strStamp + ".SAV");
    for (const auto& row : rows)
        if (row.first <= strMonth)
            out << row.second << "\n";
    in.close();
    fs::remove(strFolder + "/" + strFile);
    return strStamp;
}

// The second row's date cells, right-aligned between the grid's 3-pixel margins: each date
// measures no wider than its column leaves, so none starts left of the margin and loses its
// first digit to the clip. Returns how many date cells there were.
int CheckDateCells(CDataTable* pTable)
{
    CTableWindow& grid = pTable->GetMainWindow()->GetGrid();
    CViewTable* pView = pTable->GetMainWindow()->GetView();
    CTableColumnsMap& order = pView->GetColumnOrder();
    CViewRow row;
    if (!pView->GetRow(row, 1))
        return 0;
    HDC hdc = GetDC(grid.m_hWnd);
    HGDIOBJ hOld = SelectObject(hdc, grid.GetFont());
    int nDates = 0;
    for (int i = 0; i < order.GetCount(); ++i) {
        CTBString strText;
        RECT rc;
        if (!row.GetText(strText, order.GetColumnIndex(i)) || !grid.GetCellRect(1, i, &rc))
            continue;
        const std::string str(strText);
        if (str.size() != 10 || str[2] != '/' || str[5] != '/')
            continue;
        ++nDates;
        SIZE size = {};
        GetTextExtentPoint32A(hdc, str.c_str(), 10, &size);
        EXPECT_LE(size.cx, rc.right - rc.left - 6) << str << " at x " << rc.left;
    }
    SelectObject(hdc, hOld);
    ReleaseDC(grid.m_hWnd, hdc);
    return nDates;
}

}  // namespace

TEST_F(ListsSession, StockListTickBandsAndKseTradesByBoard)
{
    Start({});
    CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
    ASSERT_NE(nullptr, pList);
    ASSERT_TRUE(PumpUntil([&] { return pList->IsComplete(); }));
    EXPECT_GE(pList->GetRows()->GetCount(), 5);
    EXPECT_EQ(CString("GHB"), pList->GetStockSymbol(STOCK_A, FALSE));
    EXPECT_EQ(1, SentCount("SQ")) << "the list's end started the KSE subscriptions, once";

    // The Arabic names read as Arabic in English too, on screen and in what Ctrl+C copies.
    const std::string strNameAr = "بنك مرفأ الخليج";     // GHB's Arabic name in the server's data
    CNorvApp::ShowTable(pList);
    CTableWindow& grid = pList->GetMainWindow()->GetGrid();
    const std::vector<std::string> drawn = DrawnTexts(grid.m_hWnd);
    EXPECT_EQ(1, std::count(drawn.begin(), drawn.end(), strNameAr)) << "drawn as the server's text";
    const std::vector<std::string> symbols = ShownTexts(pList, SLC_SYMBOL);
    const auto itGhb = std::find(symbols.begin(), symbols.end(), "GHB");
    ASSERT_NE(symbols.end(), itGhb);
    ASSERT_TRUE(grid.SelectRow(static_cast<int>(itGhb - symbols.begin()), 0, FALSE));
    ::SetFocus(grid.m_hWnd);
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard()) << "no earlier test's text";
    std::string strCopied;
    EXPECT_TRUE(pRun->TypeCtrl('C', [&] { return TbDisplayClipboardText(&strCopied); }));
    EXPECT_NE(std::string::npos, strCopied.find("\tGHB\t")) << strCopied;
    EXPECT_NE(std::string::npos, strCopied.find("\t" + strNameAr + "\t")) << strCopied;

    CTicksUnitsKSETable* pTicks = Find<CTicksUnitsKSETable>(IDS_TABLE_TICKS_UNITS_KSE);
    ASSERT_NE(nullptr, pTicks);
    ASSERT_TRUE(PumpUntil([&] { return pTicks->GetRows()->GetCount() > 0; }));
    ASSERT_EQ(5, pTicks->GetRows()->GetCount());
    // Each band as shown: the ticks below one fils keep their tenth, and each band's high is
    // where the next begins.
    EXPECT_EQ((std::vector<std::string>{"0.1", "0.5", "1", "2", "5"}), ShownTexts(pTicks, 4));
    EXPECT_EQ((std::vector<std::string>{"", "100", "250", "500", "1,000"}), ShownTexts(pTicks, 2));
    EXPECT_EQ((std::vector<std::string>{"100", "250", "500", "1,000", "100,000"}), ShownTexts(pTicks, 1));

    pRun->App().RunCommand(ID_APP_KSE_TIME_SALES);
    CTimeAndSalesKSETable* pRegular = Find<CTimeAndSalesKSETable>(IDS_TABLE_TRADES_KSE);
    CTimeAndSalesOddLotKSETable* pOddLot = Find<CTimeAndSalesOddLotKSETable>(IDS_TABLE_TRADES_ODDLOT_KSE);
    ASSERT_TRUE(pRegular != nullptr && pOddLot != nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pRegular->IsComplete() && pOddLot->IsComplete(); }));
    // The day has just begun: the trades come live.
    ASSERT_TRUE(PumpUntil([&] { return pRegular->GetRows()->GetCount() >= 3; }, 15000)) << "live trades";
    EXPECT_EQ(0, pOddLot->GetRows()->GetCount()) << "the server's trades are all of the regular board";
    for (int i = 0; i < pRegular->GetRows()->GetCount(); ++i) {
        const CDataBuffer* pRow = pRegular->GetRows()->GetAt(i);
        EXPECT_EQ(pList->GetStockSymbol(pRow->GetLong(3), FALSE), pRow->GetText(2)) << "named by the stock list";
        EXPECT_EQ(14, pRow->GetText(1).GetLength()) << "date and time in full";
    }

    Shoot(pList, "stock_list_arabic_names_en");
    // Wide enough for the date columns.
    MoveWindow(pList->GetMainWindow()->m_hWnd, 0, 0, 1500, 260, TRUE);
    PumpFor(100);
    EXPECT_GE(CheckDateCells(pList), 3);
    Shoot(pList, "stock_list_dates_en");
    Shoot(pTicks, "market_ticks_units_en");
    Shoot(pRegular, "market_time_sales_kse_en");
}

TEST_F(ListsSession, UsTradesFromTheQuotesOfAWatchedSymbolInArabic)
{
    Start({"--rate", "200"}, /*bArabic=*/true);
    CQuotationTable* pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
    CTimeAndSalesTable* pTrades = Find<CTimeAndSalesTable>(IDS_TABLE_TIME_AND_SALES);
    ASSERT_TRUE(pQuotes != nullptr && pTrades != nullptr);
    for (const char* pszSymbol : {"ALPN", "BRKT", "CDRX"})
        pQuotes->AddSymbol(pszSymbol, "", nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->GetRows()->FindRow({"CDRX"}) != nullptr; }));
    for (const char* pszSymbol : {"ALPN", "BRKT", "CDRX"})
        pTrades->AddSymbol(pszSymbol);
    ASSERT_TRUE(PumpUntil([&] { return pTrades->GetRows()->GetCount() >= 6; }, 20000));
    const CDataArray& rows = *pTrades->GetRows();
    for (int i = 0; i < rows.GetCount(); ++i) {
        const CDataBuffer* pRow = rows.GetAt(i);
        EXPECT_GT(pRow->GetDouble(UTC_QUANTITY), 0.0);
        EXPECT_EQ(6, pRow->GetText(UTC_TIME).GetLength());
        EXPECT_FALSE(pRow->GetText(UTC_MARKET).IsEmpty());
        EXPECT_EQ(i, pRow->GetLong(UTC_NUMBER)) << "numbered as they came";
    }
    Shoot(pTrades, "market_time_sales_us_ar");

    pRun->App().RunCommand(ID_APP_KSE_TIME_SALES);
    CTimeAndSalesKSETable* pRegular = Find<CTimeAndSalesKSETable>(IDS_TABLE_TRADES_KSE);
    ASSERT_NE(nullptr, pRegular);
    ASSERT_TRUE(PumpUntil([&] { return pRegular->IsComplete(); }));
    Shoot(pRegular, "market_time_sales_kse_ar");
    Shoot(Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE), "market_stock_list_ar");
}

TEST_F(ListsSession, UsTradesInEnglish)
{
    Start({"--rate", "200"});
    CQuotationTable* pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
    CTimeAndSalesTable* pTrades = Find<CTimeAndSalesTable>(IDS_TABLE_TIME_AND_SALES);
    ASSERT_TRUE(pQuotes != nullptr && pTrades != nullptr);
    pQuotes->AddSymbol("ALPN", "", nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->GetRows()->FindRow({"ALPN"}) != nullptr; }));
    pTrades->AddSymbol("ALPN");
    ASSERT_TRUE(PumpUntil([&] { return pTrades->GetRows()->GetCount() >= 4; }, 20000));
    Shoot(pTrades, "market_time_sales_us_en");
}

TEST_F(ListsSession, MonthlyHistoryCachedReusedAndAddedTo)
{
    Start({});
    // No cache: the request carries no stamp, the whole history comes and is written.
    CQuotationMonthlyTable* pTable = RequestMonthly(STOCK_A);
    ASSERT_NE(nullptr, pTable);
    const int nMonths = pTable->GetRows()->GetCount();
    ASSERT_GE(nMonths, 4);
    EXPECT_EQ(1, SentCount("DQ", "||1002||2|101")) << "an empty stamp";
    EXPECT_EQ(CString("GHB"), pTable->GetRows()->GetAt(0)->GetText(0));
    const std::string strStamp = static_cast<LPCSTR>(pTable->GetStamp());
    const std::vector<std::string> files = CacheFiles(Folder(), "QM_");
    ASSERT_EQ(std::vector<std::string>{"QM_101_" + strStamp + ".SAV"}, files) << "in the program folder";

    // The cache is current: its rows, none from the server.
    pTable = RequestMonthly(STOCK_A);
    EXPECT_EQ(1, SentCount("DQ", "||1002|" + strStamp + "|2|101"));
    EXPECT_EQ(nMonths, pTable->GetRows()->GetCount());
    EXPECT_EQ(CString("GHB"), pTable->GetRows()->GetAt(0)->GetText(0));

    // An older cache: its months, then the later ones; the new file replaces it.
    const std::string strOlder = MakeOlderCache(Folder(), files[0]);
    ASSERT_FALSE(strOlder.empty());
    pTable = RequestMonthly(STOCK_A);
    EXPECT_EQ(1, SentCount("DQ", "||1002|" + strOlder + "|2|101"));
    EXPECT_EQ(nMonths, pTable->GetRows()->GetCount()) << "each month once";
    EXPECT_EQ(files, CacheFiles(Folder(), "QM_"));
}

TEST_F(ListsSession, FinancialsAndInformationCachedFromTheStockList)
{
    Start({});
    CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
    ASSERT_TRUE(pList != nullptr && PumpUntil([&] { return pList->IsComplete(); }));
    CNorvApp::ShowTable(pList);
    ASSERT_TRUE(pList->GetMainWindow()->GetGrid().SelectRow(0, 0, FALSE));
    const CString strStock = pList->GetRows()->GetAt(0)->GetText(SLC_ID);
    for (UINT nCommand : {ID_STOCK_FINANCIALS, ID_STOCK_INFORMATION}) {
        const BOOL bFinancial = nCommand == ID_STOCK_FINANCIALS;
        const std::string strPrefix = bFinancial ? "SF_" : "SI_";
        ASSERT_TRUE(pList->OnCmdMsg(nCommand, CN_COMMAND, nullptr, nullptr));
        CStockDetailTable* pTable =
            Find<CStockDetailTable>(bFinancial ? IDS_TABLE_STOCK_FINANCIAL : IDS_TABLE_STOCK_INFORMATION);
        ASSERT_NE(nullptr, pTable);
        EXPECT_EQ(atol(strStock), pTable->GetStock());
        ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete(); }));
        const int nRows = pTable->GetRows()->GetCount();
        EXPECT_GT(nRows, 0);
        const CString strFirst = pTable->GetRows()->GetAt(0)->GetText(1);
        const std::vector<std::string> files = CacheFiles(Folder(), strPrefix);
        ASSERT_EQ(std::vector<std::string>{strPrefix + static_cast<LPCSTR>(strStock) + "_0_" +
                                           static_cast<LPCSTR>(pTable->GetStamp()) + ".SAV"}, files);

        // Current: the rows come from the file, in the server's order.
        pTable->Request(atol(strStock));
        ASSERT_TRUE(PumpUntil([&] { return pTable->GetRows()->GetCount() == nRows; }));
        PumpFor(100);
        EXPECT_EQ(nRows, pTable->GetRows()->GetCount());
        EXPECT_EQ(strFirst, pTable->GetRows()->GetAt(0)->GetText(1));
        EXPECT_EQ(files, CacheFiles(Folder(), strPrefix));
    }
}

TEST_F(ListsSession, CloseMidStreamKeepsTheOlderCache)
{
    std::string strFolder, strOlder;
    {
        Start({});
        ASSERT_NE(nullptr, RequestMonthly(STOCK_A));
        strFolder = Folder();
        strOlder = MakeOlderCache(strFolder, CacheFiles(strFolder, "QM_").at(0));
        ASSERT_FALSE(strOlder.empty());
        pRun.reset();
        server.Stop();
    }
    ASSERT_TRUE(StartSession({"--scenario", "close-in-stream=DQ"}, false, strFolder));
    CQuotationMonthlyTable* pTable =
        Open<CQuotationMonthlyTable>(IDS_TABLE_QUOTATION_MONTHLY, IDS_TITLE_QUOTATION_MONTHLY);
    ASSERT_NE(nullptr, pTable);
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});     // the connection's loss is told
    pTable->RequestHistory(STOCK_A);
    ASSERT_TRUE(PumpUntil([&] { return !pRun->App().IsConnected(); }));
    PumpFor(300);
    EXPECT_EQ(std::vector<std::string>{"QM_101_" + strOlder + ".SAV"}, CacheFiles(strFolder, "QM_"));
}

TEST_F(ListsSession, EndAfterAnErrorWritesNoCache)
{
    Start({"--fail", "DQ=7", "--scenario", "en-after-error"});
    CQuotationMonthlyTable* pTable =
        Open<CQuotationMonthlyTable>(IDS_TABLE_QUOTATION_MONTHLY, IDS_TITLE_QUOTATION_MONTHLY);
    ASSERT_NE(nullptr, pTable);
    pTable->RequestHistory(STOCK_A);
    ASSERT_TRUE(PumpUntil([&] {
        for (const std::string& line : server.Log())
            if (line.rfind("> ~EN|", 0) == 0 || line.find("EN|") != std::string::npos)
                return true;
        return false;
    }));
    PumpFor(300);
    EXPECT_EQ(0, pTable->GetRows()->GetCount());
    EXPECT_FALSE(pTable->IsReceiving());
    EXPECT_FALSE(pTable->IsComplete());
    EXPECT_FALSE(pRun->App().IsBusy());
    EXPECT_TRUE(CacheFiles(Folder(), "QM_").empty());
}

TEST_F(ListsSession, ReplyOfAnEarlierRequestIsIgnored)
{
    Start({"--scenario", "reverse=DQ"});
    CQuotationMonthlyTable* pTable =
        Open<CQuotationMonthlyTable>(IDS_TABLE_QUOTATION_MONTHLY, IDS_TITLE_QUOTATION_MONTHLY);
    ASSERT_NE(nullptr, pTable);
    pTable->RequestHistory(STOCK_A);
    pTable->RequestHistory(STOCK_B);
    ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete(); }));
    PumpFor(500);
    ASSERT_GT(pTable->GetRows()->GetCount(), 0);
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i)
        EXPECT_EQ(STOCK_B, pTable->GetRows()->GetAt(i)->GetLong(1));
    const std::vector<std::string> files = CacheFiles(Folder(), "QM_");
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(0u, files[0].rfind("QM_102_", 0));
}
