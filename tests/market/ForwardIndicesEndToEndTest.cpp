// The KSE forward market, its open interest, the indices and the histories end to end: the
// terminal logs in as the trader against the test server on loopback; after the market-data
// subscription the indices and the forward market fill and follow the live lines, the indices'
// context menu opens the index histories, and the histories are cached in the program folder.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/IndicesHistoryTables.h"
#include "market/IndicesKSETable.h"
#include "market/OpenInterestFwdKSETable.h"
#include "market/QuotationDailyTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/StockListKSETable.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/market/MarketSessionSupport.h"

namespace fs = std::filesystem;

namespace {

const long STOCK_A = 101;

// The change columns as the indices show them, from the current and reference values.
void ExpectChanges(const CDataBuffer* pRow)
{
    const double dCurrent = pRow->GetDouble(3);
    const double dReference = pRow->GetDouble(7);
    EXPECT_GT(dReference, 0.0);
    EXPECT_NEAR(dCurrent > 0 ? dCurrent - dReference : 0.0, pRow->GetDouble(8), 0.005);
    EXPECT_NEAR(dCurrent > 0 ? (dCurrent - dReference) / dReference * 100.0 : 0.0, pRow->GetDouble(21), 0.005);
}

struct ForwardIndicesSession : CMarketSession
{
    void Start(const std::vector<std::string>& options, bool bArabic = false)
    {
        ASSERT_TRUE(StartSession(options, bArabic));
    }
    std::string Folder() const { return pRun->Folder(); }
    // The requests that hold the text (after the prefix, the type and the link's number).
    int SentCount(const std::string& strStart) const
    {
        int nCount = 0;
        for (const std::string& line : server.Received())
            nCount += line.find(strStart) != std::string::npos ? 1 : 0;
        return nCount;
    }
    template <class TTable>
    TTable* Filled(UINT nNameId)
    {
        TTable* pTable = Find<TTable>(nNameId);
        if (pTable != nullptr)
            PumpUntil([&] { return pTable->IsComplete() && pTable->GetRows()->GetCount() > 0; });
        return pTable;
    }
};

// Every forward line gives a row per side, and the two differ in their side only among the keys.
void ExpectTwoSidesPerLine(const CDataArray& rows)
{
    std::map<std::pair<long, long>, int> sides;
    for (int i = 0; i < rows.GetCount(); ++i) {
        const CDataBuffer* pRow = rows.GetAt(i);
        sides[{pRow->GetLong(1), pRow->GetLong(3)}] |= 1 << pRow->GetLong(2);
    }
    EXPECT_FALSE(sides.empty());
    for (const auto& [key, nMask] : sides)
        EXPECT_EQ(6, nMask) << "stock " << key.first << " series " << key.second;
    EXPECT_EQ(static_cast<int>(sides.size()) * 2, rows.GetCount()) << "no row twice";
}

}  // namespace

TEST_F(ForwardIndicesSession, IndicesAndForwardMarketFillAndFollowLiveLines)
{
    Start({"--rate", "200"});
    CIndicesKSETable* pIndices = Filled<CIndicesKSETable>(IDS_TABLE_INDICES_KSE);
    ASSERT_NE(nullptr, pIndices);
    EXPECT_EQ(1, SentCount("&LX|"));
    const int nIndices = pIndices->GetRows()->GetCount();
    ASSERT_GE(nIndices, 2);
    EXPECT_EQ(CString("KSE Price Index"), pIndices->GetRows()->GetAt(0)->GetText(1));
    const CString strFirst = pIndices->GetRows()->GetAt(0)->GetText(3);
    for (int i = 0; i < nIndices; ++i)
        ExpectChanges(pIndices->GetRows()->GetAt(i));
    // A chart of a US index brings that index's live lines too, named by its ticker.
    pRun->App().SendRequest(MSG_CD, "||.DJI|0|0|0|4");
    EXPECT_TRUE(PumpUntil([&] { return pIndices->GetRows()->GetAt(0)->GetText(3) != strFirst; }, 15000)) << "IX";
    EXPECT_TRUE(PumpUntil([&] { return !ServerLines("IX").empty() && ServerLines("IX").find(".DJI") != std::string::npos; }))
        << ServerLines("IX");
    PumpFor(300);
    EXPECT_EQ(nIndices, pIndices->GetRows()->GetCount()) << "live lines update their rows, no other market's index joins";
    for (const std::string& strName : ShownTexts(pIndices, 1))
        EXPECT_FALSE(strName.empty()) << "every index shown has its name";
    ExpectChanges(pIndices->GetRows()->GetAt(0));
    EXPECT_EQ(CString("KSE Price Index"), pIndices->GetRows()->GetAt(0)->GetText(1)) << "texts kept";

    CQuotationFwdKSETable* pForward = Filled<CQuotationFwdKSETable>(IDS_TABLE_QUOTATIONS_FWD_KSE);
    ASSERT_NE(nullptr, pForward);
    EXPECT_EQ(1, SentCount("&FQ|"));
    ExpectTwoSidesPerLine(*pForward->GetRows());
    const CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
    ASSERT_NE(nullptr, pList);
    const CDataBuffer* pRow = pForward->GetRows()->GetAt(0);
    EXPECT_EQ(pList->GetStockSymbol(pRow->GetLong(1), FALSE), pRow->GetText(0));

    Shoot(pIndices, "market_indices_kse_en");
    Shoot(pForward, "market_forward_kse_en");
}

TEST_F(ForwardIndicesSession, ArabicShowsTheStockListsSecondSymbols)
{
    Start({}, /*bArabic=*/true);
    CIndicesKSETable* pIndices = Filled<CIndicesKSETable>(IDS_TABLE_INDICES_KSE);
    CQuotationFwdKSETable* pForward = Filled<CQuotationFwdKSETable>(IDS_TABLE_QUOTATIONS_FWD_KSE);
    ASSERT_TRUE(pIndices != nullptr && pForward != nullptr);
    const CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
    ASSERT_NE(nullptr, pList);
    const CDataBuffer* pRow = pForward->GetRows()->GetAt(0);
    EXPECT_EQ(pList->GetStockSymbol(pRow->GetLong(1), TRUE), pRow->GetText(0));
    Shoot(pIndices, "market_indices_kse_ar");
    Shoot(pForward, "market_forward_kse_ar");
}

TEST_F(ForwardIndicesSession, AUsMarketStateNeverEmptiesTheForwardMarket)
{
    Start({"--scenario", "us-mm-kse-0"});
    CQuotationFwdKSETable* pForward = Filled<CQuotationFwdKSETable>(IDS_TABLE_QUOTATIONS_FWD_KSE);
    ASSERT_NE(nullptr, pForward);
    const int nRows = pForward->GetRows()->GetCount();
    ASSERT_GT(nRows, 0);
    PumpFor(1500);
    EXPECT_EQ(nRows, pForward->GetRows()->GetCount());
}

TEST_F(ForwardIndicesSession, OpenInterestByStockTermAndSide)
{
    Start({});
    COpenInterestFwdKSETable* pTable = dynamic_cast<COpenInterestFwdKSETable*>(
        MakeTable(IDS_TABLE_OPEN_INTEREST_FWD_KSE, 0, IDS_TITLE_OPEN_INTEREST_FWD_KSE));
    ASSERT_NE(nullptr, pTable);
    pTable->SendRequest("");
    ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete(); }));
    ASSERT_GT(pTable->GetRows()->GetCount(), 0);
    const CStockListKSETable* pList = Find<CStockListKSETable>(IDS_TABLE_STOCK_LIST_KSE);
    const CDataBuffer* pRow = pTable->GetRows()->GetAt(0);
    EXPECT_EQ(pList->GetStockSymbol(atol(pRow->GetText(1)), FALSE), pRow->GetText(0));
    // Quantity, contracts, value, margin and settled: every row shows its amounts.
    CNorvApp::ShowTable(pTable);
    for (int nCol = 4; nCol <= 8; ++nCol)
        for (const std::string& strCell : ShownTexts(pTable, nCol))
            EXPECT_FALSE(strCell.empty()) << "column " << nCol;
    // The value is in dinars: its shares at the stock's price in fils over 1000, a forward's
    // premium above it.
    CQuotationFwdKSETable* pForward = Filled<CQuotationFwdKSETable>(IDS_TABLE_QUOTATIONS_FWD_KSE);
    ASSERT_NE(nullptr, pForward);
    for (int i = 0; i < pTable->GetRows()->GetCount(); ++i) {
        const CDataBuffer* pInterest = pTable->GetRows()->GetAt(i);
        double dUnderlying = 0;
        for (int j = 0; j < pForward->GetRows()->GetCount(); ++j)
            if (atol(pForward->GetRows()->GetAt(j)->GetText(1)) == atol(pInterest->GetText(1)))
                dUnderlying = pForward->GetRows()->GetAt(j)->GetDouble(7) / 1000.0;
        ASSERT_LT(0.0, dUnderlying) << pInterest->GetText(1);
        const double dPerShare = pInterest->GetDouble(6) / pInterest->GetDouble(4);
        EXPECT_LE(dUnderlying * 0.9, dPerShare) << pInterest->GetText(1);
        EXPECT_GE(dUnderlying * 1.2, dPerShare) << pInterest->GetText(1);
    }
}

TEST_F(ForwardIndicesSession, IndexHistoriesFromTheContextMenuCachedPerIndex)
{
    Start({});
    CIndicesKSETable* pIndices = Filled<CIndicesKSETable>(IDS_TABLE_INDICES_KSE);
    ASSERT_NE(nullptr, pIndices);
    CNorvApp::ShowTable(pIndices);
    ASSERT_TRUE(pIndices->GetMainWindow()->GetGrid().SelectRow(1, 0, FALSE));
    const long nIndex = static_cast<long>(pIndices->GetFocusedValue(0).GetNumber());
    EXPECT_EQ(2, nIndex);

    ASSERT_TRUE(pIndices->OnCmdMsg(ID_INDEX_DAILY_HISTORY, CN_COMMAND, nullptr, nullptr));
    CIndicesDailyTable* pDaily = Find<CIndicesDailyTable>(IDS_TABLE_INDEX_DAILY);
    ASSERT_NE(nullptr, pDaily);
    ASSERT_TRUE(PumpUntil([&] { return pDaily->IsComplete(); }));
    const int nDays = pDaily->GetRows()->GetCount();
    EXPECT_GT(nDays, 0);
    EXPECT_EQ(1, SentCount("XC||||1002||1|2")) << "no cache: an empty date";
    const std::string strStamp = static_cast<LPCSTR>(pDaily->GetStamp());
    EXPECT_EQ(std::vector<std::string>{"IXD_2_" + strStamp + ".SAV"}, CacheFiles(Folder(), "IXD_"));
    EXPECT_EQ(nullptr, Find<CIndicesMonthlyTable>(IDS_TABLE_INDEX_MONTHLY)) << "not opened";

    // The monthly kind leaves the daily table as it is; then the daily cache is current.
    ASSERT_TRUE(pIndices->OnCmdMsg(ID_INDEX_MONTHLY_HISTORY, CN_COMMAND, nullptr, nullptr));
    CIndicesMonthlyTable* pMonthly = Find<CIndicesMonthlyTable>(IDS_TABLE_INDEX_MONTHLY);
    ASSERT_NE(nullptr, pMonthly);
    ASSERT_TRUE(PumpUntil([&] { return pMonthly->IsComplete(); }));
    EXPECT_EQ(nDays, pDaily->GetRows()->GetCount());
    EXPECT_EQ(1u, CacheFiles(Folder(), "IXM_2_").size());

    pDaily->RequestHistory(nIndex);
    EXPECT_TRUE(PumpUntil([&] { return pDaily->GetRows()->GetCount() == nDays; }));
    EXPECT_EQ(1, SentCount("XC||||1002|" + strStamp + "|1|2"));
    EXPECT_EQ(std::vector<std::string>{"IXD_2_" + strStamp + ".SAV"}, CacheFiles(Folder(), "IXD_"));
    Shoot(pDaily, "market_index_daily_en");
}

TEST_F(ForwardIndicesSession, DailyStockHistoryCachedAndReplacedWhole)
{
    Start({});
    CQuotationDailyTable* pTable =
        dynamic_cast<CQuotationDailyTable*>(MakeTable(IDS_TABLE_QUOTATION_DAILY, 0, IDS_TITLE_QUOTATION_DAILY));
    ASSERT_NE(nullptr, pTable);
    pTable->RequestHistory(STOCK_A);
    ASSERT_TRUE(PumpUntil([&] { return pTable->IsComplete(); }));
    const int nDays = pTable->GetRows()->GetCount();
    ASSERT_GT(nDays, 0);
    EXPECT_EQ(1, SentCount("XC||||1002||1|101"));
    const std::string strStamp = static_cast<LPCSTR>(pTable->GetStamp());
    const std::vector<std::string> files = CacheFiles(Folder(), "QD_");
    ASSERT_EQ(std::vector<std::string>{"QD_101_" + strStamp + ".SAV"}, files);

    // An older file beside it, left by a run that stopped between writing and deleting: the
    // latest is asked for, and stays the only one the next reply leaves alone.
    fs::copy_file(Folder() + "/" + files[0], Folder() + "/QD_101_000101.SAV");
    fs::copy_file(Folder() + "/" + files[0], Folder() + "/QD_101_..x.SAV");
    pTable->RequestHistory(STOCK_A);
    EXPECT_TRUE(PumpUntil([&] { return pTable->GetRows()->GetCount() == nDays; }));
    EXPECT_EQ(1, SentCount("XC||||1002|" + strStamp + "|1|101"));
    EXPECT_EQ(CString(strStamp.c_str()), pTable->GetStamp());
    Shoot(pTable, "market_quotation_daily_en");
}

TEST_F(ForwardIndicesSession, IndexHistoryReplyOfAnEarlierRequestIsIgnored)
{
    Start({"--scenario", "reverse=DX"});
    CIndicesDailyTable* pDaily =
        dynamic_cast<CIndicesDailyTable*>(MakeTable(IDS_TABLE_INDEX_DAILY, 0, IDS_TITLE_INDEX_DAILY));
    ASSERT_NE(nullptr, pDaily);
    pDaily->RequestHistory(1);
    pDaily->RequestHistory(2);
    ASSERT_TRUE(PumpUntil([&] { return pDaily->IsComplete(); }));
    PumpFor(500);
    EXPECT_GT(pDaily->GetRows()->GetCount(), 0);
    const std::vector<std::string> files = CacheFiles(Folder(), "IXD_");
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(0u, files[0].rfind("IXD_2_", 0)) << "only the last request's reply";
}

TEST_F(ForwardIndicesSession, IndexHistoryEndAfterAnErrorWritesNoCache)
{
    Start({"--fail", "DX=7", "--scenario", "en-after-error"});
    CIndicesMonthlyTable* pMonthly =
        dynamic_cast<CIndicesMonthlyTable*>(MakeTable(IDS_TABLE_INDEX_MONTHLY, 0, IDS_TITLE_INDEX_MONTHLY));
    ASSERT_NE(nullptr, pMonthly);
    pMonthly->RequestHistory(1);
    ASSERT_TRUE(PumpUntil([&] {
        for (const std::string& line : server.Log())
            if (line.find("EN|") != std::string::npos)
                return true;
        return false;
    }));
    PumpFor(300);
    EXPECT_EQ(0, pMonthly->GetRows()->GetCount());
    EXPECT_FALSE(pMonthly->IsReceiving());
    EXPECT_FALSE(pRun->App().IsBusy());
    EXPECT_TRUE(CacheFiles(Folder(), "IXM_").empty());
}

TEST_F(ForwardIndicesSession, AFailedCacheWriteKeepsTheOldFileAndSaysSo)
{
    Start({});
    CIndicesDailyTable* pDaily =
        dynamic_cast<CIndicesDailyTable*>(MakeTable(IDS_TABLE_INDEX_DAILY, 0, IDS_TITLE_INDEX_DAILY));
    ASSERT_NE(nullptr, pDaily);
    pDaily->RequestHistory(1);
    ASSERT_TRUE(PumpUntil([&] { return pDaily->IsComplete(); }));
    const int nDays = pDaily->GetRows()->GetCount();
    const std::string strNew = "IXD_1_" + std::string(static_cast<LPCSTR>(pDaily->GetStamp())) + ".SAV";
    // The cache becomes an older day's, and the new file's temporary name is taken by a folder.
    fs::rename(Folder() + "/" + strNew, Folder() + "/IXD_1_000101.SAV");
    fs::create_directory(Folder() + "/" + strNew + ".new");

    pDaily->RequestHistory(1);
    EXPECT_TRUE(PumpUntil([&] { return !pDaily->IsReceiving() && pDaily->GetRows()->GetCount() == nDays; }));
    PumpFor(200);
    EXPECT_EQ(1, SentCount("XC||||1002|000101|1|1"));
    EXPECT_EQ(nDays, pDaily->GetRows()->GetCount()) << "the rows are shown all the same, each day once";
    EXPECT_EQ(std::vector<std::string>{"IXD_1_000101.SAV"}, CacheFiles(Folder(), "IXD_"));
    EXPECT_NE(std::string::npos, pRun->InfoText().find(strNew)) << pRun->InfoText();
}
