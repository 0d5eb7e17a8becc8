// The order books end to end: the terminal logs in as the trader against the test server on
// loopback; with the option flag on the KSE order book fills after the subscription and its live
// lines keep it equal to a model the test builds from the lines the server sent; a click on a
// stock narrows the book; with the flag off there are no books. Pictures in both languages.
#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "app/TableMDIWnd.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/InternationalOrderBookTable.h"
#include "market/OrderBookKSETable.h"
#include "market/OrderBookOddLotKSETable.h"
#include "market/QuotationKSETable.h"
#include "market/TableLinks.h"
#include "market/TimeAndSalesKSETables.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/Registry.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/market/MarketSessionSupport.h"

namespace fs = std::filesystem;

namespace {

// The market-depth option as the profile keeps it; null removes it (the default, on).
void SetDepthOption(const char* pszValue)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ZORVATOnLine\\Quelmor Pro\\Options", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &hKey, nullptr) != ERROR_SUCCESS)
        return;
    if (pszValue == nullptr)
        RegDeleteValueA(hKey, "KSEMarketDepth");
    else
        RegSetValueExA(hKey, "KSEMarketDepth", 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                       static_cast<DWORD>(strlen(pszValue) + 1));
    RegCloseKey(hKey);
}

struct BooksSession : CMarketSession
{
    void Start(bool bArabic)
    {
        ASSERT_TRUE(StartSession({}, bArabic));
    }
    void SetUp() override { SetDepthOption(nullptr); }
    void TearDown() override
    {
        SetDepthOption(nullptr);
        StopSession();
    }
    // Whether the rows are the order book the server's lines make as of some entry of its log not
    // before nFrom (the server logs a line as it queues it, so a streaming book may be a line
    // behind the whole log at any moment): the last "OB" reply's rows, then the "OU" lines after
    // it; "stock|price" to "orders|quantity|orders|quantity".
    bool ShowsTheLog(const std::map<std::pair<long, double>, std::string>& rows, size_t nFrom) const
    {
        std::map<std::pair<long, double>, std::string> model;
        bool bInReply = false;
        const std::vector<std::string> log = server.Log();
        for (size_t i = 0; i <= log.size(); ++i) {
            if (i >= nFrom && !bInReply && !model.empty() && model == rows)
                return true;
            if (i == log.size())
                break;
            const std::string& strEntry = log[i];
            if (strEntry.rfind("> ", 0) != 0)
                continue;
            const std::string strLine = strEntry.substr(2);
            CServerMessage msg(strLine.c_str(), 1);
            if (msg.GetType() == MSG_OB) {
                model.clear();
                bInReply = true;
                continue;
            }
            if (bInReply && msg.GetType() == MSG_EN) {
                bInReply = false;
                continue;
            }
            const bool bRow = bInReply && msg.GetType() == MESSAGE_TYPE_DATA_ROW;
            if (!bRow && msg.GetType() != MSG_OU)
                continue;
            const std::pair<long, double> key{msg.GetLong(0), msg.GetDouble(1, 0)};
            if (!bRow && msg.GetLong(2) == 0 && msg.GetLong(4) == 0) {
                model.erase(key);
                continue;
            }
            model[key] = std::to_string(msg.GetLong(2)) + "|" + std::to_string(msg.GetDouble(3, 0)) + "|" +
                         std::to_string(msg.GetLong(4)) + "|" + std::to_string(msg.GetDouble(5, 0));
        }
        return false;
    }
    static std::map<std::pair<long, double>, std::string> Rows(const CDataArray& rows)
    {
        std::map<std::pair<long, double>, std::string> table;
        for (int i = 0; i < rows.GetCount(); ++i) {
            const CDataBuffer* pRow = rows.GetAt(i);
            table[{pRow->GetLong(BC_STOCK), pRow->GetDouble(BC_PRICE)}] =
                std::to_string(pRow->GetLong(BC_BUY_ORDERS)) + "|" + std::to_string(pRow->GetDouble(BC_BUY_QUANTITY)) +
                "|" + std::to_string(pRow->GetLong(BC_SELL_ORDERS)) + "|" +
                std::to_string(pRow->GetDouble(BC_SELL_QUANTITY));
        }
        return table;
    }
    void FilledAndKeptByLiveLines(const std::string& strLanguage)
    {
        auto* pBook = dynamic_cast<COrderBookKSETable*>(FindDataTable(IDS_TABLE_ORDER_BOOK_KSE));
        ASSERT_NE(nullptr, pBook);
        ASSERT_NE(nullptr, FindDataTable(IDS_TABLE_ORDER_BOOK_ODDLOT_KSE));
        ASSERT_TRUE(PumpUntil([&] { return pBook->IsComplete(); })) << "the subscription's \"OB\" reply fills it";
        EXPECT_GT(pBook->GetRows()->GetCount(), 0);
        // Live lines flow for a while; between two of them the book equals what the lines made.
        PumpFor(1500);
        const size_t nLogged = server.Log().size();
        EXPECT_TRUE(PumpUntil([&] { return ShowsTheLog(Rows(*pBook->GetRows()), nLogged); }, 5000));

        // A click on the first data row's stock narrows the window to that stock.
        CTableMDIWnd* pWindow = pBook->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        CViewTable* pView = pWindow->GetView();
        CTBString strStock;
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CViewRow row;
            if (!pView->GetRow(row, i) || !row.IsDataRow() || !row.GetText(strStock, BC_STOCK))
                continue;
            int nHandled = 0;
            pBook->OnCellClick(&row, BC_STOCK, &nHandled);
            EXPECT_EQ(1, nHandled);
            break;
        }
        int nShown = 0;
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CViewRow row;
            CTBString strCell;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strCell, BC_STOCK)) {
                EXPECT_EQ(std::string(strStock), std::string(strCell));
                ++nShown;
            }
        }
        EXPECT_GT(nShown, 0);
        Shoot(pBook, "market_order_book_filtered_" + strLanguage);
    }
};

}  // namespace

TEST_F(BooksSession, OrderBookFillsAndFollowsTheServerInEnglish)
{
    Start(false);
    FilledAndKeptByLiveLines("en");
}

TEST_F(BooksSession, OrderBookFillsAndFollowsTheServerInArabic)
{
    Start(true);
    FilledAndKeptByLiveLines("ar");
}

TEST_F(BooksSession, NoBooksWithoutTheOptionFlag)
{
    SetDepthOption("No");
    Start(false);
    PumpFor(300);
    EXPECT_FALSE(GetGlobals()->m_bOption);
    EXPECT_EQ(nullptr, FindDataTable(IDS_TABLE_ORDER_BOOK_KSE));
    EXPECT_EQ(nullptr, FindDataTable(IDS_TABLE_ORDER_BOOK_ODDLOT_KSE));
}

namespace {

// The texts of one column of the data rows a window shows.
std::vector<std::string> ShownTexts(CTableMDIWnd* pWindow, int nCol)
{
    std::vector<std::string> texts;
    CViewRow row;
    for (int i = 0; pWindow->GetView()->GetRow(row, i); ++i) {
        CTBString strText;
        if (row.IsDataRow() && row.GetText(strText, nCol))
            texts.push_back(std::string(strText));
    }
    return texts;
}

}  // namespace

TEST_F(BooksSession, BoardClickOnAStockShowsItsLevelsAndTradesAndTheNextClickTheNextStock)
{
    Start(false);
    auto* pBoard = dynamic_cast<CQuotationKSETable*>(FindDataTable(IDS_TABLE_QUOTATIONS_KSE));
    auto* pBook = dynamic_cast<COrderBookKSETable*>(FindDataTable(IDS_TABLE_ORDER_BOOK_KSE));
    CDataTable* pTrades = FindDataTable(IDS_TABLE_TRADES_KSE);
    ASSERT_TRUE(pBoard != nullptr && pBook != nullptr && pTrades != nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pBoard->IsComplete() && pBook->IsComplete(); }, 20000)) << pRun->InfoText();
    // Some trades, when the market gives them soon; the filter holds either way.
    PumpUntil([&] { return pTrades->GetRows()->GetCount() > 0; }, 3000);
    for (CDataTable* pTable : {static_cast<CDataTable*>(pBoard), static_cast<CDataTable*>(pBook), pTrades})
        CNorvApp::ShowTable(pTable);
    // Two stocks that have levels: the book's first and last.
    const CDataArray& levels = *pBook->GetRows();
    ASSERT_GT(levels.GetCount(), 1);
    const long nFirst = levels.GetAt(0)->GetLong(BC_STOCK);
    const long nLast = levels.GetAt(levels.GetCount() - 1)->GetLong(BC_STOCK);
    ASSERT_NE(nFirst, nLast);
    for (const long nStock : {nFirst, nLast}) {
        CViewTable* pView = pBoard->GetMainWindow()->GetView();
        CViewRow row;
        int nIndex = 0;
        CTBString strCell;
        while (pView->GetRow(row, nIndex) && !(row.IsDataRow() && row.GetText(strCell, KC_STOCK) &&
                                               strCell == std::to_string(nStock).c_str()))
            ++nIndex;
        ASSERT_LT(nIndex, pView->GetRowCount()) << "stock " << nStock << " is on the board";
        CTBString strText;
        ASSERT_TRUE(row.GetText(strText, KC_TEXT));
        int nHandled = 0;
        pBoard->OnCellClick(&row, KC_TEXT, &nHandled);
        EXPECT_EQ(1, nHandled);

        const std::vector<std::string> stocks = ShownTexts(pBook->GetMainWindow(), BC_STOCK);
        EXPECT_FALSE(stocks.empty()) << "stock " << nStock << ": a click shows the stock clicked, not what two have";
        for (const std::string& strStock : stocks)
            EXPECT_EQ(std::to_string(nStock), strStock);
        for (const std::string& strSymbol : ShownTexts(pBook->GetMainWindow(), BC_SYMBOL))
            EXPECT_EQ(std::string(strText), strSymbol);
        CTableMDIWnd* pTradesWindow = pTrades->GetMainWindow();
        const std::vector<std::string> trades = ShownTexts(pTradesWindow, 2);
        for (const std::string& strTrade : trades)
            EXPECT_EQ(std::string(strText), strTrade);
        if (!trades.empty()) {
            EXPECT_EQ(pTradesWindow->GetGrid().GetRowCount() - 1, pTradesWindow->GetGrid().GetCurrentRow())
                << "the stock's latest trade";
        }
    }
}
