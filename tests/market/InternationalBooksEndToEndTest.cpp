// The US books end to end: the trader watches a symbol, turns its books on and subscribes them
// against the test server on loopback; the price-level and the market-maker book fill with the
// symbol's full picture, and its live lines keep each book equal to a model the test builds
// from the lines the server sent, by the books' own rules; the stop command sends one stop and
// the server's clearing line empties the price levels only. Pictures in both languages.
#include <gtest/gtest.h>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/InternationalMarketMakerOrderBookTable.h"
#include "market/InternationalOrderBookTable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/TerminalRun.h"
#include "tests/market/DataTableTestSupport.h"
#include "tests/market/MarketSessionSupport.h"

namespace {

const char* const SYMBOL = "ALPN";
const long MARKET = 8;

// A number as both sides compare it: the text read as a double, printed one way.
std::string Num(const std::string& strText)
{
    return std::to_string(atof(strText.c_str()));
}
std::string Num(double dValue)
{
    return std::to_string(dValue);
}

std::pair<std::string, std::string> Pair(const std::string& strPair)
{
    const size_t nColon = strPair.find(':');
    if (nColon == std::string::npos)
        return {strPair, ""};
    return {strPair.substr(0, nColon), strPair.substr(nColon + 1)};
}

// symbol and price to "side-1 quantity|orders|side-2 quantity|orders"
using CLevels = std::map<std::pair<std::string, std::string>, std::string>;
// symbol, maker and side to "price|side-1 quantity|side-2 quantity|entry text"
using CMakers = std::map<std::tuple<std::string, std::string, int>, std::string>;

struct UsBooksSession : CMarketSession
{
    CQuotationTable* pQuotes = nullptr;
    CInternationalOrderBookTable* pLevels = nullptr;
    CInternationalMarketMakerOrderBookTable* pMakers = nullptr;

    // Logged in as the trader, the symbol watched, both its books on and subscribed.
    void Start(bool bArabic)
    {
        ASSERT_TRUE(StartSession({"--rate", "200"}, bArabic));
        pQuotes = Find<CQuotationTable>(IDS_TABLE_QUOTATIONS_US);
        pLevels = Find<CInternationalOrderBookTable>(IDS_TABLE_ORDER_BOOK_US);
        pMakers = Find<CInternationalMarketMakerOrderBookTable>(IDS_TABLE_MAKER_BOOK_US);
        ASSERT_TRUE(pQuotes != nullptr && pLevels != nullptr && pMakers != nullptr) << "standing tables of the trader";
        const CString strMarket = GetGlobals()->GetMarketName(MARKET);
        pQuotes->AddSymbol(SYMBOL, strMarket, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote(SYMBOL, strMarket) != nullptr; }));
        pQuotes->SetOrderBookFlag(SYMBOL, MARKET, 1);
        const int nOn = 1;
        pQuotes->FindQuote(SYMBOL, strMarket)->SetValue(QC_MAKER_BOOK, &nOn, TRUE);
        EXPECT_NE(0, pLevels->Subscribe(SYMBOL, MARKET, TRUE));
        EXPECT_NE(0, pMakers->Subscribe(SYMBOL, MARKET, TRUE));
        ASSERT_TRUE(PumpUntil([&] { return pLevels->GetRows()->GetCount() > 0 && pMakers->GetRows()->GetCount() > 0; }))
            << "the subscription's full picture";
    }
    // The server's book lines of one type, in order.
    std::vector<std::string> Sent(int nType) const
    {
        std::vector<std::string> lines;
        for (const std::string& strEntry : server.Log())
            if (strEntry.rfind("> ", 0) == 0 && CServerMessage(strEntry.c_str() + 2, 1).GetType() == nType)
                lines.push_back(strEntry.substr(2));
        return lines;
    }
    // The price levels the "L2" lines make: "1" replaces the symbol's levels, "2" clears them,
    // a level with both quantities 0 goes, only the first 20 of a line count.
    static void ApplyLevelLine(CLevels& model, const std::string& strLine)
    {
        CServerMessage msg(strLine.c_str(), 1);
        const std::string strSymbol = msg.GetFieldText(2), strAction = msg.GetFieldText(4);
        if (msg.GetLong(0) != 0)
            return;
        if (strAction == "1" || strAction == "2")
            std::erase_if(model, [&](const auto& level) { return level.first.first == strSymbol; });
        if (strAction == "2")
            return;
        for (int i = 0, nAt = 5; i < 20 && *msg.GetFieldText(nAt) != '\0'; ++i, nAt += 3) {
            const auto side1 = Pair(msg.GetFieldText(nAt + 1)), side2 = Pair(msg.GetFieldText(nAt + 2));
            const std::pair<std::string, std::string> key{strSymbol, Num(msg.GetFieldText(nAt))};
            if (atoi(side1.first.c_str()) == 0 && atoi(side2.first.c_str()) == 0)
                model.erase(key);
            else
                model[key] = Num(side1.first) + "|" + side1.second + "|" + Num(side2.first) + "|" + side2.second;
        }
    }
    CLevels LevelRows() const
    {
        CLevels rows;
        for (int i = 0; i < pLevels->GetRows()->GetCount(); ++i) {
            const CDataBuffer* pRow = pLevels->GetRows()->GetAt(i);
            rows[{std::string(pRow->GetText(PL_SYMBOL)), Num(pRow->GetDouble(PL_PRICE))}] =
                Num(pRow->GetDouble(PL_BUY_QUANTITY)) + "|" + std::to_string(pRow->GetLong(PL_BUY_ORDERS)) + "|" +
                Num(pRow->GetDouble(PL_SELL_QUANTITY)) + "|" + std::to_string(pRow->GetLong(PL_SELL_ORDERS));
        }
        return rows;
    }
    // The makers the "L3" lines make: a side with a maker sets that maker's row of the side; no
    // entry removes one.
    static void ApplyMakerLine(CMakers& model, const std::string& strLine)
    {
        CServerMessage msg(strLine.c_str(), 1);
        const std::string strSymbol = msg.GetFieldText(2), strAction = msg.GetFieldText(4);
        if (msg.GetLong(0) != 0)
            return;
        if (strAction == "1" || strAction == "2")
            std::erase_if(model, [&](const auto& row) { return std::get<0>(row.first) == strSymbol; });
        if (strAction == "2")
            return;
        for (int i = 0, nAt = 5; i < 10; ++i, nAt += 6)
            for (int nSide = 1; nSide <= 2; ++nSide) {
                const int nField = nAt + 3 * (nSide - 1);
                const std::string strMaker = msg.GetFieldText(nField);
                if (strMaker.empty())
                    continue;
                const auto pair = Pair(msg.GetFieldText(nField + 2));
                model[{strSymbol, strMaker, nSide}] = Num(pair.second) + "|" + (nSide == 1 ? Num(pair.first) : Num(0.0)) + "|" +
                         (nSide == 2 ? Num(pair.first) : Num(0.0)) + "|" + msg.GetFieldText(nField + 1);
            }
    }
    // Whether the rows show the book of the server's first n lines of a type for some n not below
    // nFrom. The server logs a line as it queues it, so while the book streams the rows may be a
    // line or two behind the whole log at any moment and still be right.
    template <class Model, class Apply>
    bool ShowsTheLog(int nType, size_t nFrom, const Model& rows, Apply apply) const
    {
        const std::vector<std::string> lines = Sent(nType);
        Model model;
        for (size_t i = 0; i <= lines.size(); ++i) {
            if (i >= nFrom && model == rows)
                return true;
            if (i < lines.size())
                apply(model, lines[i]);
        }
        return false;
    }
    bool LevelsShowTheLog(size_t nFrom) const { return ShowsTheLog(MSG_L2, nFrom, LevelRows(), ApplyLevelLine); }
    bool MakersShowTheLog(size_t nFrom) const { return ShowsTheLog(MSG_L3, nFrom, MakerRows(), ApplyMakerLine); }
    CMakers MakerRows() const
    {
        CMakers rows;
        for (int i = 0; i < pMakers->GetRows()->GetCount(); ++i) {
            const CDataBuffer* pRow = pMakers->GetRows()->GetAt(i);
            rows[{std::string(pRow->GetText(MC_SYMBOL)), std::to_string(pRow->GetLong(MC_MAKER)),
                  static_cast<int>(pRow->GetLong(MC_SIDE))}] =
                Num(pRow->GetDouble(MC_PRICE)) + "|" + Num(pRow->GetDouble(MC_BUY_QUANTITY)) + "|" +
                Num(pRow->GetDouble(MC_SELL_QUANTITY)) + "|" + std::string(pRow->GetText(MC_ENTRY));
        }
        return rows;
    }
    int ChangeLines(int nType) const
    {
        int nCount = 0;
        for (const std::string& strLine : Sent(nType))
            nCount += std::string(CServerMessage(strLine.c_str(), 1).GetFieldText(4)) == "0" ? 1 : 0;
        return nCount;
    }
    int StopsSent() const
    {
        int nCount = 0;
        for (const std::string& line : server.Received())
            nCount += line.rfind("&L2|", 0) == 0 && line.size() > 10 && line.compare(line.size() - 10, 10, "||ALPN|8|2") == 0;
        return nCount;
    }

    // Both books follow the server, pictured; then the stop from the price-level book's menu.
    void FollowAndStop(const std::string& strLanguage)
    {
        const CString strMarket = GetGlobals()->GetMarketName(MARKET);
        ASSERT_TRUE(PumpUntil([&] { return ChangeLines(MSG_L2) >= 3 && ChangeLines(MSG_L3) >= 3; }, 20000))
            << "live changes of the symbol's book";
        const size_t nLevelLines = Sent(MSG_L2).size(), nMakerLines = Sent(MSG_L3).size();
        EXPECT_TRUE(PumpUntil([&] { return LevelsShowTheLog(nLevelLines); }, 5000));
        EXPECT_TRUE(PumpUntil([&] { return MakersShowTheLog(nMakerLines); }, 5000));
        EXPECT_FALSE(LevelRows().empty());
        EXPECT_LE(static_cast<int>(LevelRows().size()), MAX_BOOK_LEVELS);
        for (int i = 0; i < pLevels->GetRows()->GetCount(); ++i) {
            const CDataBuffer* pRow = pLevels->GetRows()->GetAt(i);
            EXPECT_EQ(strMarket, pRow->GetText(PL_MARKET));
            EXPECT_EQ(pQuotes->FindQuote(SYMBOL, strMarket)->GetText(QC_NAME), pRow->GetText(PL_NAME))
                << "the watch list's name";
            EXPECT_TRUE((pRow->GetDouble(PL_BUY_QUANTITY) > 0) != (pRow->GetDouble(PL_SELL_QUANTITY) > 0))
                << "one side a price in the server's book";
        }
        Shoot(pLevels, "market_us_price_book_" + strLanguage);
        Shoot(pMakers, "market_us_maker_book_" + strLanguage);

        // The stop on the selected level: one "L2" stop, the watch list's order-book flag off
        // and the maker book's left on; the server's clearing line empties the levels.
        CTableMDIWnd* pWindow = pLevels->GetMainWindow();
        ASSERT_NE(nullptr, pWindow);
        CNorvApp::ShowTable(pLevels);
        pWindow->MDIActivate();
        const int nFirstData = FirstDataRow(pWindow);
        ASSERT_GE(nFirstData, 0);
        pWindow->GetGrid().SetCurrentRowOffset(nFirstData);
        EXPECT_TRUE(pLevels->OnCmdMsg(ID_STOP_ORDER_BOOK, CN_COMMAND, nullptr, nullptr));
        EXPECT_TRUE(PumpUntil([&] { return StopsSent() == 1; }));
        EXPECT_EQ(0, pQuotes->FindQuote(SYMBOL, strMarket)->GetLong(QC_BOOK));
        EXPECT_EQ(1, pQuotes->FindQuote(SYMBOL, strMarket)->GetLong(QC_MAKER_BOOK));
        EXPECT_TRUE(PumpUntil([&] { return pLevels->GetRows()->GetCount() == 0; }, 5000)) << "the server's \"2\" line";
        const int nMakers = pMakers->GetRows()->GetCount();
        PumpFor(500);
        EXPECT_EQ(0, pLevels->GetRows()->GetCount()) << "no level comes back after the stop";
        EXPECT_EQ(1, StopsSent()) << "one stop";
        EXPECT_GE(pMakers->GetRows()->GetCount(), nMakers) << "the maker book goes on";
        const size_t nLater = Sent(MSG_L3).size();
        EXPECT_TRUE(PumpUntil([&] { return MakersShowTheLog(nLater); }, 5000)) << "the maker book after the stop";
    }
};

}  // namespace

TEST_F(UsBooksSession, BothBooksFollowTheServerAndTheStopClearsThePriceLevelsInEnglish)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    FollowAndStop("en");
}

TEST_F(UsBooksSession, BothBooksFollowTheServerAndTheStopClearsThePriceLevelsInArabic)
{
    ASSERT_NO_FATAL_FAILURE(Start(true));
    FollowAndStop("ar");
}
