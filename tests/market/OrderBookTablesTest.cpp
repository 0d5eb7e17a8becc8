// The KSE order book and odd-lot book against a plain model fed the same seeded stream of
// replies, live lines (some inside a refill) and removals, compared after every step; a click
// and the board's call narrowing a window to one stock; the US price-level book's lines, its
// levels cap and its stop command.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>
#include "framework/base/SharedGlobals.h"
#include "framework/base/TBString.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "app/TableMDIWnd.h"
#include "market/DataArray.h"
#include "market/InternationalOrderBookTable.h"
#include "market/OrderBookKSETable.h"
#include "market/TableLinks.h"
#include "market/OrderBookOddLotKSETable.h"
#include "market/QuotationTable.h"
#include "platform/mfc/CmdUI.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/DataTableTestSupport.h"

namespace {

struct BookFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;

    void SetUp() override { RegisterMessageCodes(g_messageCodePairs); }
    void TearDown() override
    {
        GetGlobals()->Unregister();
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    // The data rows a window shows, their column 0 texts joined by ' '.
    static std::string Shown(CTableMDIWnd* pWindow)
    {
        std::string strText;
        CViewTable* pView = pWindow->GetView();
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CViewRow row;
            CTBString strCell;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strCell, 0))
                strText += (strText.empty() ? "" : " ") + std::string(strCell);
        }
        return strText;
    }
};

using Level = std::tuple<long, long, long, long>;                      // orders and quantity, side 1 then 2
using BookModel = std::map<std::pair<long, long>, Level>;              // (stock, price)
using OddKey = std::tuple<long, long, long, long, long>;               // stock, quantity, side, prices
using OddModel = std::map<OddKey, long>;                               // orders

std::string Fields(std::initializer_list<long> values)
{
    std::string strText;
    for (long n : values)
        strText += (strText.empty() ? "" : "|") + std::to_string(n);
    return strText;
}

// The model's rule for one order-book line.
void ApplyBook(BookModel& model, long nStock, long nPrice, const Level& level)
{
    if (std::get<0>(level) == 0 && std::get<2>(level) == 0)
        model.erase({nStock, nPrice});
    else
        model[{nStock, nPrice}] = level;
}

// The model's rule for one odd-lot line: side 1's price in the first column, any other side's
// in the second; no orders remove a stock, a quantity of it, or one entry.
void ApplyOddLot(OddModel& model, long nStock, long nQuantity, long nPrice, long nSide, long nOrders)
{
    const OddKey key{nStock, nQuantity, nSide, nSide == 1 ? nPrice : 0, nSide == 1 ? 0 : nPrice};
    if (nOrders != 0) {
        model[key] = nOrders;
        return;
    }
    if (nPrice != 0) {
        model.erase(key);
        return;
    }
    std::erase_if(model, [&](const auto& entry) {
        return std::get<0>(entry.first) == nStock && (nQuantity == 0 || std::get<1>(entry.first) == nQuantity);
    });
}

std::string BookText(const BookModel& model)
{
    std::string strText;
    for (const auto& [key, level] : model)
        strText += Fields({key.first, key.second, std::get<0>(level), std::get<1>(level), std::get<2>(level),
                           std::get<3>(level)}) + "\n";
    return strText;
}

std::string BookText(const CDataArray& rows)
{
    std::string strText;
    for (int i = 0; i < rows.GetCount(); ++i) {
        const CDataBuffer* pRow = rows.GetAt(i);
        strText += Fields({pRow->GetLong(BC_STOCK), static_cast<long>(pRow->GetDouble(BC_PRICE)),
                           pRow->GetLong(BC_BUY_ORDERS), static_cast<long>(pRow->GetDouble(BC_BUY_QUANTITY)),
                           pRow->GetLong(BC_SELL_ORDERS), static_cast<long>(pRow->GetDouble(BC_SELL_QUANTITY))}) +
                   "\n";
    }
    return strText;
}

std::string OddText(const OddModel& model)
{
    std::string strText;
    for (const auto& [key, nOrders] : model)
        strText += Fields({std::get<0>(key), std::get<1>(key), std::get<2>(key), std::get<3>(key), std::get<4>(key),
                           nOrders}) + "\n";
    return strText;
}

std::string OddText(const CDataArray& rows)
{
    std::string strText;
    for (int i = 0; i < rows.GetCount(); ++i) {
        const CDataBuffer* pRow = rows.GetAt(i);
        strText += Fields({pRow->GetLong(OBC_STOCK), static_cast<long>(pRow->GetDouble(OBC_QUANTITY)),
                           pRow->GetLong(OBC_SIDE), static_cast<long>(pRow->GetDouble(OBC_BUY_PRICE)),
                           static_cast<long>(pRow->GetDouble(OBC_SELL_PRICE)), pRow->GetLong(OBC_ORDERS)}) +
                   "\n";
    }
    return strText;
}

}  // namespace

TEST_F(BookFixture, BothKseBooksFollowAModelThroughRepliesLiveLinesAndRemovals)
{
    auto* pBook = new COrderBookKSETable(&source);          // the table map deletes them
    auto* pOdd = new COrderBookOddLotKSETable(&source);
    ASSERT_TRUE(pBook->Create());
    ASSERT_TRUE(pOdd->Create());
    BookModel book, bookReply;
    OddModel odd, oddReply;
    std::vector<std::string> heldBook, heldOdd;
    std::mt19937 random(20261207);
    auto pick = [&](long nLow, long nHigh) { return std::uniform_int_distribution<long>(nLow, nHigh)(random); };
    auto bookLevel = [&]() {
        // A fifth remove the level; some keep one side only.
        if (pick(0, 4) == 0)
            return Level{0, 0, 0, 0};
        return Level{pick(0, 3), pick(1, 900), pick(0, 3) == 0 ? 0 : pick(1, 3), pick(1, 900)};
    };
    // Which table a refill runs for: 0 none, 1 the order book, 2 the odd-lot book. Replies come
    // one at a time, as the server sends them.
    int nRefilling = 0;
    BOOL bBookLoaded = FALSE, bOddLoaded = FALSE;
    for (int nStep = 0; nStep < 3000; ++nStep) {
        const long nKind = pick(0, 99);
        if (nRefilling == 0 && nKind < 4) {
            nRefilling = nKind < 2 ? 1 : 2;
            Fire(nRefilling == 1 ? "~OB|1|XC||0" : "~OD|1|XC||0");
            bookReply.clear();
            oddReply.clear();
            for (int i = pick(0, 30); i > 0; --i) {
                const long nStock = pick(1, 6);
                if (nRefilling == 1) {
                    const long nPrice = pick(100, 112);
                    if (bookReply.count({nStock, nPrice}) != 0)
                        continue;
                    Level level{pick(1, 3), pick(1, 900), pick(0, 3), pick(1, 900)};
                    bookReply[{nStock, nPrice}] = level;
                    Fire(Fields({nStock, nPrice, std::get<0>(level), std::get<1>(level), std::get<2>(level),
                                 std::get<3>(level)}));
                } else {
                    const long nQuantity = pick(1, 4), nPrice = pick(100, 104), nSide = pick(1, 3);
                    const OddKey key{nStock, nQuantity, nSide, nSide == 1 ? nPrice : 0, nSide == 1 ? 0 : nPrice};
                    if (oddReply.count(key) != 0)
                        continue;
                    oddReply[key] = pick(1, 5);
                    Fire(Fields({nStock, nQuantity, nPrice, nSide, oddReply[key]}));
                }
            }
            heldBook.clear();
            heldOdd.clear();
            continue;
        }
        if (nRefilling != 0 && nKind < 20) {
            Fire("$EN|1|XC|0");
            if (nRefilling == 1) {
                book = bookReply;
                bBookLoaded = TRUE;
                for (const std::string& strLine : heldBook) {
                    CServerMessage msg(strLine.c_str(), 1);
                    ApplyBook(book, msg.GetLong(0), msg.GetLong(1),
                              {msg.GetLong(2), msg.GetLong(3), msg.GetLong(4), msg.GetLong(5)});
                }
            } else {
                odd = oddReply;
                bOddLoaded = TRUE;
                for (const std::string& strLine : heldOdd) {
                    CServerMessage msg(strLine.c_str(), 1);
                    ApplyOddLot(odd, msg.GetLong(0), msg.GetLong(1), msg.GetLong(2), msg.GetLong(3),
                                msg.GetLong(4));
                }
            }
            nRefilling = 0;
        } else if (nKind < 60) {
            const long nStock = pick(1, 6), nPrice = pick(100, 112);
            const Level level = bookLevel();
            const std::string strLine = "~OU|1|XC|0|" + Fields({nStock, nPrice, std::get<0>(level),
                                                                 std::get<1>(level), std::get<2>(level),
                                                               std::get<3>(level)});
            Fire(strLine);
            // While a reply runs, the source hands lines only to the table receiving it.
            if (nRefilling == 1 && bBookLoaded)
                heldBook.push_back(strLine);
            else if (bBookLoaded && nRefilling == 0)
                ApplyBook(book, nStock, nPrice, level);
        } else {
            // Side 3 is no side the server names; its entries must still come and go.
            const long nStock = pick(1, 6), nSide = pick(1, 3);
            long nQuantity = pick(1, 4), nPrice = pick(100, 104), nOrders = pick(0, 3);
            if (nOrders == 0 && pick(0, 9) == 0) {
                nPrice = 0;
                nQuantity = pick(0, 1) == 0 ? 0 : nQuantity;
            }
            const std::string strLine = "~OO|1|XC|0|" + Fields({nStock, nQuantity, nPrice, nSide, nOrders});
            Fire(strLine);
            if (nRefilling == 2 && bOddLoaded)
                heldOdd.push_back(strLine);
            else if (bOddLoaded && nRefilling == 0)
                ApplyOddLot(odd, nStock, nQuantity, nPrice, nSide, nOrders);
        }
        if (nRefilling != 1) {
            ASSERT_EQ(BookText(book), BookText(*pBook->GetRows())) << "step " << nStep;
        }
        if (nRefilling != 2) {
            ASSERT_EQ(OddText(odd), OddText(*pOdd->GetRows())) << "step " << nStep;
        }
    }
    EXPECT_TRUE(bBookLoaded && bOddLoaded);
}

TEST_F(BookFixture, OrderBookRowsNameTheirStockAndColourTheirSides)
{
    auto* pBook = new COrderBookKSETable(&source);
    ASSERT_TRUE(pBook->Create());
    Fire("~OU|1|XC|0|101|1.25|2|100|0|0");
    EXPECT_EQ(0, pBook->GetRows()->GetCount()) << "a live line before the first reply is lost";
    // The second row repeats the first's key: it must not take the first's place nor crash.
    for (const char* pszLine : {"~OB|1|XC||0", "101|1.25|2|100|1|50", "101|1.25|9|9|9|9", "205|3|1|10|0|0",
                                "$EN|1|XC|0"})
        Fire(pszLine);
    Fire("~OU|1|XC|0|205|3.5|0|0|4|40");
    const CDataBuffer* pRow = pBook->GetRows()->FindRow({"205", "3.5"});
    ASSERT_NE(nullptr, pRow);
    EXPECT_EQ("205", std::string(pRow->GetText(BC_SYMBOL)));
    EXPECT_EQ("205", std::string(pRow->GetText(BC_NAME))) << "a stock no list names shows its number";
    EXPECT_EQ("2", std::string(pBook->GetRows()->FindRow({"101", "1.25"})->GetText(BC_BUY_ORDERS)));
    // The sides' colours reach the grid's nodes.
    CViewTable* pView = pBook->GetTable()->GetView(0);
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CViewRow row;
        if (!pView->GetRow(row, i) || !row.IsDataRow())
            continue;
        EXPECT_EQ(BOOK_BUY_ATTRIBUTE, row.GetNode()->GetAttr(BC_BUY_QUANTITY, 1) & CELL_TEXT_MASK);
        EXPECT_EQ(BOOK_SELL_ATTRIBUTE, row.GetNode()->GetAttr(BC_SELL_ORDERS, 1) & CELL_TEXT_MASK);
    }
}

TEST_F(BookFixture, ClickOrTheBoardNarrowsTheBookToOneStock)
{
    auto* pBook = new COrderBookKSETable(&source);
    ASSERT_TRUE(pBook->Create());
    for (const char* pszLine : {"~OB|1|XC||0", "101|1.25|2|100|1|50", "101|1.5|1|10|0|0", "205|3|1|10|0|0",
                                "307|7|1|10|0|0", "$EN|1|XC|0"})
        Fire(pszLine);
    CTableMDIWnd* pWindow = pBook->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    EXPECT_EQ("101 101 205 307", Shown(pWindow));

    CViewTable* pView = pWindow->GetView();
    auto rowOf = [&](const char* pszStock, CViewRow& row) {
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CTBString strCell;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strCell, BC_STOCK) && strCell == pszStock)
                return TRUE;
        }
        return FALSE;
    };
    CViewRow row;
    ASSERT_TRUE(rowOf("205", row));
    int nHandled = 0;
    pBook->OnCellClick(&row, BC_PRICE, &nHandled);
    EXPECT_EQ(0, nHandled) << "the price column does not filter";
    EXPECT_EQ("101 101 205 307", Shown(pWindow));
    // A filter on one stock, as a window that narrows the book sets it.
    EXPECT_TRUE(ShowRowsOf(pBook, BC_STOCK, "205"));
    EXPECT_EQ("205", Shown(pWindow));
    // A level that comes later shows when it is the stock's.
    Fire("~OU|1|XC|0|205|2.5|1|5|0|0");
    Fire("~OU|1|XC|0|307|2.5|1|5|0|0");
    EXPECT_EQ("205 205", Shown(pWindow));
    // A click on a stock's text keeps the filters already set.
    ASSERT_TRUE(rowOf("205", row));
    pBook->OnCellClick(&row, BC_SYMBOL, &nHandled);
    EXPECT_EQ(1, nHandled);
    EXPECT_EQ("205 205", Shown(pWindow));
}

TEST_F(BookFixture, ClickOnAStockNarrowsTheWindow)
{
    auto* pBook = new COrderBookKSETable(&source);
    ASSERT_TRUE(pBook->Create());
    for (const char* pszLine : {"~OB|1|XC||0", "101|1.25|2|100|1|50", "205|3|1|10|0|0", "$EN|1|XC|0"})
        Fire(pszLine);
    CTableMDIWnd* pWindow = pBook->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    CViewTable* pView = pWindow->GetView();
    for (int i = 0; i < pView->GetRowCount(); ++i) {
        CViewRow row;
        CTBString strCell;
        if (!pView->GetRow(row, i) || !row.IsDataRow() || !row.GetText(strCell, BC_STOCK) || strCell != "101")
            continue;
        int nHandled = 0;
        pBook->OnCellClick(&row, BC_STOCK, &nHandled);
        EXPECT_EQ(1, nHandled);
        break;
    }
    EXPECT_EQ("101", Shown(pWindow));
}

namespace {

// A market row of the "XC" list: enabled, its code, its name, the quote-list flag.
std::string MarketRow(int nCode, const char* pszName)
{
    return std::string("x|") + pszName + "|" + pszName + "|x|1|0|0|0|0|0|0|0|" + std::to_string(nCode) + "|" +
           pszName + "|" + pszName + "|1|0|0|0|0|0|0|0";
}

// The price-level book with the requests it sends kept.
class CWatchedBook : public CInternationalOrderBookTable
{
public:
    using CInternationalOrderBookTable::CInternationalOrderBookTable;
    std::vector<std::string> sent;

protected:
    long SendLine(LPCSTR pszBody) override
    {
        sent.push_back(pszBody);
        return 1;
    }
};

class CRecordingCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override { bEnabled = bOn; }
    void SetText(LPCSTR pszText) override { strText = pszText; }
    BOOL bEnabled = -1;
    std::string strText;
};

struct PriceBookFixture : BookFixture
{
    CQuotationTable* pQuotes = nullptr;
    CWatchedBook* pBook = nullptr;

    void SetUp() override
    {
        BookFixture::SetUp();
        ASSERT_TRUE(GetGlobals()->Register(&source, nullptr));
        for (const std::string& strLine : {std::string("$XC|1|XC||0"), MarketRow(2, "KSE"), MarketRow(4, "US"),
                                           std::string("$EN|1|XC|0")})
            Fire(strLine);
        pQuotes = new CQuotationTable(&source);
        ASSERT_TRUE(pQuotes->Create());
        Fire("$DS|1|XC||0||4");
        Fire("IBM|4|IBM|Intl Bus|ibm|IBM Corp|ibm|USD|Tech|t");
        Fire("AAPL|4|AAPL|Apple|apl|Apple Inc|apl|USD|Tech|t");
        Fire("$EN|1|XC|0");
        pQuotes->SetOrderBookFlag("IBM", 4, 1);
        pBook = new CWatchedBook(&source);
        ASSERT_TRUE(pBook->Create());
    }
    std::string Levels()
    {
        std::string strText;
        CDataArray* pRows = pBook->GetRows();
        for (int i = 0; i < pRows->GetCount(); ++i) {
            const CDataBuffer* pRow = pRows->GetAt(i);
            strText += (i > 0 ? "|" : "") + std::string(pRow->GetText(PL_SYMBOL)) + " " +
                       std::string(pRow->GetText(PL_NAME)) + " " + std::string(pRow->GetText(PL_PRICE, TRUE)) +
                       " " + std::string(pRow->GetText(PL_BUY_QUANTITY, TRUE)) + ":" +
                       std::string(pRow->GetText(PL_BUY_ORDERS, TRUE)) + " " +
                       std::string(pRow->GetText(PL_SELL_QUANTITY, TRUE)) + ":" +
                       std::string(pRow->GetText(PL_SELL_ORDERS, TRUE));
        }
        return strText;
    }
};

}  // namespace

TEST_F(PriceBookFixture, LinesOfAFollowedSymbolShapeItsLevels)
{
    Fire("~L2|1|XC|0|0||IBM|4|1|10.5|100:3|0:0|10.4|0:7|50:2");
    EXPECT_EQ("IBM Intl Bus 10.40 :7 50:2|IBM Intl Bus 10.50 100:3 :", Levels());
    // Both quantities 0 remove a level even when orders remain; a new price adds one.
    Fire("~L2|1|XC|0|0||IBM|4|0|10.4|0:5|0:1|10.3|20:1|0:0");
    EXPECT_EQ("IBM Intl Bus 10.30 20:1 :|IBM Intl Bus 10.50 100:3 :", Levels());
    // A full picture replaces the symbol's levels; only twenty of them are read.
    std::string strLine = "~L2|1|XC|0|0||IBM|4|1";
    for (int i = 0; i < 25; ++i)
        strLine += "|" + std::to_string(50 + i) + "|1:1|0:0";
    Fire(strLine);
    EXPECT_EQ(20, pBook->GetRows()->GetCount());
    // A symbol not followed, or a status, change no level; the status clears the flag.
    Fire("~L2|1|XC|0|0||AAPL|4|1|1|1:1|0:0");
    EXPECT_EQ(20, pBook->GetRows()->GetCount());
    Fire("~L2|1|XC|0|7||IBM|4|2");
    EXPECT_EQ(20, pBook->GetRows()->GetCount());
    EXPECT_EQ(0, pQuotes->FindQuote("IBM", "US")->GetLong(QC_BOOK));
    Fire("~L2|1|XC|0|0||IBM|4|1|10.5|100:3|0:0");
    EXPECT_EQ(20, pBook->GetRows()->GetCount()) << "a late line after the flag went does not bring it back";
    Fire("~L2|1|XC|0|0||IBM|4|2");
    EXPECT_EQ(0, pBook->GetRows()->GetCount());
}

TEST_F(PriceBookFixture, StopSendsOneRequestAndClearsTheFlagOnly)
{
    Fire("~L2|1|XC|0|0||IBM|4|1|10.5|100:3|0:0");
    CTableMDIWnd* pWindow = pBook->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    CNorvApp::ShowTable(pBook);
    pWindow->MDIActivate();
    CRecordingCmdUI ui;
    ASSERT_TRUE(pBook->OnCmdMsg(ID_STOP_ORDER_BOOK, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_FALSE(ui.bEnabled) << "no row selected";
    EXPECT_EQ("Stop the order book ", ui.strText);
    pBook->OnCmdMsg(ID_STOP_ORDER_BOOK, CN_COMMAND, nullptr, nullptr);
    EXPECT_TRUE(pBook->sent.empty());

    ASSERT_TRUE(pWindow->HasGrid());
    const int nFirstData = FirstDataRow(pWindow);
    ASSERT_GE(nFirstData, 0);
    pWindow->GetGrid().SetCurrentRowOffset(nFirstData);
    ASSERT_EQ(pWindow, pBook->GetActiveWindow());
    ASSERT_EQ(nFirstData, pWindow->GetGrid().GetCurrentRow());
    ASSERT_TRUE(pBook->OnCmdMsg(ID_STOP_ORDER_BOOK, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_TRUE(ui.bEnabled);
    EXPECT_EQ("Stop the order book (IBM)", ui.strText);
    pBook->OnCmdMsg(ID_STOP_ORDER_BOOK, CN_COMMAND, nullptr, nullptr);
    ASSERT_EQ(1u, pBook->sent.size());
    EXPECT_EQ("||IBM|4|2", pBook->sent[0]);
    EXPECT_EQ(0, pQuotes->FindQuote("IBM", "US")->GetLong(QC_BOOK));
    EXPECT_EQ(1, pBook->GetRows()->GetCount()) << "the rows go with the server's clear line";
}
