// The US watch list fed through a real message source, with the reference data's market list:
// symbol lists fill it, quotes change values and colours in place (starred ones in their own
// palette), compact quotes read as full ones, holdings and own positions add their figures, an
// alert fires once, the saved list keeps what the user set, and the market popup stays bounded.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "framework/base/SettingsFile.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationTable.h"
#include "market/TickerFeed.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Sound.h"
#include "refdata/MarketListClient.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/AppTestSupport.h"
#include "tests/market/DataTableTestSupport.h"

namespace {

class CInfoLines : public IInfoWindow
{
public:
    void AddText(LPCSTR pszText) override { lines.push_back(pszText); }
    void AddResourceText(UINT nId) override { lines.push_back("#" + std::to_string(nId)); }
    std::vector<std::string> lines;
};

// A market row of the "XC" list: enabled, its code, its name, the quote-list flag.
std::string MarketRow(int nCode, const char* pszName, int nQuoteList)
{
    return std::string("x|") + pszName + "|" + pszName + "|x|1|0|0|0|0|0|0|0|" + std::to_string(nCode) + "|" +
           pszName + "|" + pszName + "|" + std::to_string(nQuoteList) + "|0|0|0|0|0|0|0";
}

// A quote: market, ticker, what it updates, last, bid, ask, time, counter, open, close, eps.
std::string Quote(int nMarket, const char* pszTicker, const char* pszKind, const char* pszLast, const char* pszClose,
                  const char* pszEps = "")
{
    return "~GS|1|XC|" + std::to_string(nMarket) + "|" + pszTicker + "|0|" + pszKind + "|" + pszLast +
           "|10.1|10.3|101500|3|4|1500#200|9.5|11|9|||" + pszClose + "|211207|" + pszEps;
}

struct QuoteFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CZorvatMessageSource source;
    CInfoLines info;
    CQuotationTable* pTable = nullptr;

    void SetUp() override
    {
        RegisterMessageCodes(g_messageCodePairs);
        ASSERT_TRUE(GetGlobals()->Register(&source, nullptr));
        GetSharedGlobals()->m_pInfoWindow = &info;
        Fire({"$XC|1|XC||0", MarketRow(2, "KSE", 1), MarketRow(4, "US", 1), MarketRow(8, "NASD", 1),
              MarketRow(16, "Options", 0), "$EN|1|XC|0"});
        pTable = new CQuotationTable(&source);       // the table map deletes it
        ASSERT_TRUE(pTable->Create());
        Fire({"$DS|1|XC||0||4", "IBM|4|IBM|Intl Bus|ibm|IBM Corp|ibm|USD|Tech|t",
              ".DJI|4|.DJI|Dow|dow|Dow Jones|dow|USD|Index|i", "AAPL|4|AAPL|Apple|apl|Apple Inc|apl|USD|Tech|t",
              "$EN|1|XC|0"});
    }
    void TearDown() override
    {
        GetSharedGlobals()->m_pInfoWindow = nullptr;
        GetGlobals()->Unregister();
        if (CNorvApp::Get() != nullptr)
            CNorvApp::Get()->RemoveAllTables();
    }
    void Fire(const std::string& strLine) { FireTableLine(source, strLine.c_str()); }
    void Fire(std::initializer_list<std::string> lines)
    {
        for (const std::string& strLine : lines)
            Fire(strLine);
    }
    CDataBuffer* Row(const char* pszTicker, const char* pszMarket = "US") { return pTable->FindQuote(pszTicker, pszMarket); }
    std::string Cell(const char* pszTicker, int nCol)
    {
        CDataBuffer* pRow = Row(pszTicker);
        return pRow != nullptr ? std::string(pRow->GetText(nCol, TRUE)) : "(no row)";
    }
    // The text colour index the grid draws the cell in.
    int Colour(const char* pszTicker, int nCol)
    {
        CViewTable* pView = pTable->GetTable()->GetView(0);
        for (int i = 0; i < pView->GetRowCount(); ++i) {
            CViewRow row;
            CTBString strTicker;
            if (pView->GetRow(row, i) && row.IsDataRow() && row.GetText(strTicker, QC_TICKER) &&
                strTicker == pszTicker)
                return row.GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK;
        }
        return -1;
    }
};

}  // namespace

TEST_F(QuoteFixture, SymbolListFillsTheWatchListOfItsMarketOnly)
{
    ASSERT_EQ(3, pTable->GetRows()->GetCount());
    EXPECT_EQ("Intl Bus", Cell("IBM", QC_NAME));
    EXPECT_EQ("IBM Corp", Cell("IBM", QC_COMPANY));
    EXPECT_EQ("USD", Cell("IBM", 12));
    EXPECT_EQ("Tech", Cell("IBM", 43));
    EXPECT_EQ(1, Row("IBM")->GetLong(QC_SCROLLING));
    EXPECT_EQ(0, Row(".DJI")->GetLong(QC_SCROLLING)) << "an index stays out of the scrolling ticker";

    // A market whose list the watch list does not take, and a stray "EN", add nothing.
    Fire({"$DS|1|XC||0||16", "IBM 24C|16|x|x|x|x|x|x|x|x", "$EN|1|XC|0", "$EN|1|XC|0"});
    EXPECT_EQ(3, pTable->GetRows()->GetCount());
    // The same list again updates the rows it has.
    Fire({"$DS|1|XC||0||4", "IBM|4|IBM|IBM again|ibm|IBM Corp|ibm|USD|Tech|t", "$EN|1|XC|0"});
    EXPECT_EQ(3, pTable->GetRows()->GetCount());
    EXPECT_EQ("IBM again", Cell("IBM", QC_NAME));
}

TEST_F(QuoteFixture, QuotesChangeValuesAndColoursInPlace)
{
    Fire(Quote(4, "IBM", "1", "10.2", "10", "0.5"));
    EXPECT_EQ("10.20", Cell("IBM", QC_LAST));
    EXPECT_EQ("0.20", Cell("IBM", QC_CHANGE));
    EXPECT_EQ("2.00", Cell("IBM", QC_PERCENT));
    EXPECT_EQ("300", Cell("IBM", QC_BID_SIZE));
    EXPECT_EQ("400", Cell("IBM", QC_ASK_SIZE));
    EXPECT_EQ("1,500", Cell("IBM", QC_VOLUME));
    EXPECT_EQ("200.00", Cell("IBM", QC_TRADES));
    EXPECT_EQ("10:15:00", Cell("IBM", QC_TIME));
    EXPECT_EQ("20.4", Cell("IBM", QC_PE));
    EXPECT_EQ("20211207", std::string(Row("IBM")->GetText(14))) << "the server's date in the column's form";
    for (int nCol : {QC_LAST, QC_CHANGE, QC_PERCENT})
        EXPECT_EQ(QUOTE_ATTR_RISING, Colour("IBM", nCol)) << nCol;
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour("IBM", QC_NAME));

    Fire(Quote(4, "IBM", "1", "9.8", "10"));
    EXPECT_EQ("-0.20", Cell("IBM", QC_CHANGE));
    EXPECT_EQ(QUOTE_ATTR_FALLING, Colour("IBM", QC_LAST));
    // Starred: the same signs in the starred palette, every other cell starred plain.
    Fire(Quote(4, "IBM", "1*", "10.5", "10"));
    EXPECT_EQ(QUOTE_ATTR_STAR_RISING, Colour("IBM", QC_CHANGE));
    EXPECT_EQ(QUOTE_ATTR_STAR_UNCHANGED, Colour("IBM", QC_NAME));
    Fire(Quote(4, "IBM", "2*", "9.5", "10"));
    EXPECT_EQ(QUOTE_ATTR_STAR_FALLING, Colour("IBM", QC_PERCENT));
    Fire(Quote(4, "IBM", "2", "10", "10"));
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour("IBM", QC_LAST));
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour("IBM", QC_NAME));

    // No reference yet: no percentage rather than an infinite one.
    Fire("~GS|1|XC|4|AAPL|0|1|5|||101500|||7|0||||||||");
    EXPECT_EQ("5.00", Cell("AAPL", QC_CHANGE));
    EXPECT_EQ("0.00", Cell("AAPL", QC_PERCENT));
    // A line for the ticker only, one of another market, one for a symbol not listed: no row moves.
    Fire(Quote(4, "AAPL", "0", "99", "10"));
    Fire(Quote(8, "AAPL", "1", "99", "10"));
    Fire(Quote(4, "MSFT", "1", "99", "10"));
    EXPECT_EQ("5.00", Cell("AAPL", QC_LAST));
    EXPECT_EQ(3, pTable->GetRows()->GetCount());
}

TEST_F(QuoteFixture, CompactQuoteReadsAsTheFullOne)
{
    // "0|1|10.2|10.1" packed (gen_compact_quotes.py's encoder), padded.
    CServerMessage msg("~GS|1|XC|4|IBM|ChoQsqELHu", 1);
    ASSERT_EQ(2, msg.GetSize());
    pTable->ExpandCompactQuote(&msg);
    ASSERT_EQ(MSG_GS, msg.GetType());
    EXPECT_EQ("IBM", std::string(msg.GetFieldText(0)));
    EXPECT_EQ(4, msg.GetHeaderNumber());
    source.FireType(MSG_GS, &msg, -1);
    EXPECT_EQ("10.20", Cell("IBM", QC_LAST));

    CServerMessage damaged("~GS|1|XC|4|IBM|Ch+QsqELHu", 1);
    pTable->ExpandCompactQuote(&damaged);
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, damaged.GetType()) << "a damaged line reaches no sink";
}

TEST_F(QuoteFixture, NotQuotedResultRemovesTheRow)
{
    Fire("~GS|1|XC|4|AAPL|561|1");
    EXPECT_EQ(nullptr, Row("AAPL"));
    EXPECT_EQ(2, pTable->GetRows()->GetCount());
    Fire("~GS|1|XC|4||561|1");
    EXPECT_EQ(2, pTable->GetRows()->GetCount()) << "a result without a ticker names no row";
}

TEST_F(QuoteFixture, HoldingsAndOwnPositionAddTheirFigures)
{
    Fire(Quote(4, "IBM", "1", "12", "10"));
    // Held 100 and 50 more bought today: a position of 150 that gained 2 each today.
    Fire("~NH|1|XC|0|IBM|100|7|50|||||||||||||||||||||||4");
    EXPECT_EQ("100", Cell("IBM", QC_HELD1));
    EXPECT_EQ("150", Cell("IBM", QC_POSITION));
    EXPECT_EQ("300.00", Cell("IBM", QC_DAY_GAIN));
    EXPECT_EQ(QUOTE_ATTR_RISING, Colour("IBM", QC_DAY_GAIN));
    Fire("~NH|1|XC|0|MSFT|100|0|0");
    EXPECT_EQ(3, pTable->GetRows()->GetCount()) << "holdings of a symbol not listed add no row";

    ASSERT_TRUE(pTable->SetOwnPosition("IBM", "US", 100, 10));
    EXPECT_EQ("1,000.00", Cell("IBM", QC_OWN_COST));
    EXPECT_EQ("1,200.00", Cell("IBM", QC_OWN_VALUE));
    EXPECT_EQ("20.00", Cell("IBM", QC_OWN_GAIN_PERCENT));
    EXPECT_EQ(QUOTE_ATTR_RISING, Colour("IBM", QC_OWN_GAIN));
    // A later quote revalues it.
    Fire(Quote(4, "IBM", "1", "8", "10"));
    EXPECT_EQ("-20.00", Cell("IBM", QC_OWN_GAIN_PERCENT));
    EXPECT_FALSE(pTable->SetOwnPosition("MSFT", "US", 1, 1)) << "a row gone meanwhile is not written";
}

// A quote after the holdings line values the day's gain on the held quantities of fields 1 and
// 3 of "NH"; field 2 is held too, but its gain does not count for the day.
TEST_F(QuoteFixture, QuoteAfterHoldingsCountsTheDaysGainOfTheFirstAndThirdHeldQuantities)
{
    struct Case {
        const char* pszHolding;
        const char* pszDayGain;     // after a quote 3 up on the close
    };
    const Case cases[] = {{"~NH|1|XC|0|IBM|40|0|0", "120.00"},
                          {"~NH|1|XC|0|IBM|0|40|0", ""},
                          {"~NH|1|XC|0|IBM|0|0|40", "120.00"},
                          {"~NH|1|XC|0|IBM|40|5|2", "126.00"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszHolding);
        Fire(Quote(4, "IBM", "1", "10", "10"));
        Fire(c.pszHolding);
        Fire(Quote(4, "IBM", "1", "13", "10"));
        EXPECT_EQ(c.pszDayGain, Cell("IBM", QC_DAY_GAIN));
    }
    // Holdings after a quote of a symbol that has not traded today: no gain, whichever came first.
    for (bool bHoldingsFirst : {true, false}) {
        SCOPED_TRACE(bHoldingsFirst ? "holdings first" : "quote first");
        Fire(Quote(4, "IBM", "1", "10", "10"));
        if (bHoldingsFirst)
            Fire("~NH|1|XC|0|IBM|40|0|0");
        Fire(Quote(4, "IBM", "1", "0", "10"));
        if (!bHoldingsFirst)
            Fire("~NH|1|XC|0|IBM|40|0|0");
        EXPECT_EQ("", Cell("IBM", QC_DAY_GAIN));
    }
}

TEST_F(QuoteFixture, AlertFiresOnceAndIsCleared)
{
    Fire(Quote(4, "IBM", "1", "10", "10"));
    ASSERT_TRUE(pTable->SetAlert("IBM", "US", 10.5));
    EXPECT_EQ(ALERT_ON_RISE, Row("IBM")->GetLong(QC_ALERT_DIR));
    Fire(Quote(4, "IBM", "1", "10.4", "10"));
    EXPECT_TRUE(info.lines.empty());
    const UINT nBeeps = TbGetBeepCount();
    Fire(Quote(4, "IBM", "1", "10.6", "10"));
    ASSERT_EQ(1u, info.lines.size());
    EXPECT_EQ(nBeeps + 1, TbGetBeepCount());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), TbGetLastBeepType());
    EXPECT_NE(std::string::npos, info.lines[0].find("IBM")) << info.lines[0];
    EXPECT_NE(std::string::npos, info.lines[0].find("10.5000")) << info.lines[0];
    EXPECT_EQ(ALERT_NONE, Row("IBM")->GetLong(QC_ALERT_DIR));
    EXPECT_EQ("", Cell("IBM", QC_ALERT_PRICE));
    Fire(Quote(4, "IBM", "1", "11", "10"));
    EXPECT_EQ(1u, info.lines.size()) << "an alert fires once";
    EXPECT_EQ(nBeeps + 1, TbGetBeepCount());

    // A fall, an alert at the current price (due at once), and a removal.
    ASSERT_TRUE(pTable->SetAlert("IBM", "US", 9));
    EXPECT_EQ(ALERT_ON_FALL, Row("IBM")->GetLong(QC_ALERT_DIR));
    ASSERT_TRUE(pTable->SetAlert("IBM", "US", 0));
    EXPECT_EQ(ALERT_NONE, Row("IBM")->GetLong(QC_ALERT_DIR));
    ASSERT_TRUE(pTable->SetAlert("IBM", "US", 11));
    EXPECT_EQ(2u, info.lines.size());
    EXPECT_EQ(ALERT_NONE, Row("IBM")->GetLong(QC_ALERT_DIR));
    EXPECT_FALSE(pTable->SetAlert("MSFT", "US", 11)) << "a row gone meanwhile is not written";
}

TEST_F(QuoteFixture, SavedListKeepsWhatTheUserSet)
{
    Fire(Quote(4, "IBM", "1", "10", "10"));
    pTable->SetAlert("IBM", "US", 1.15);
    pTable->SetOwnPosition("AAPL", "US", 30, 0.29);
    pTable->ShowExtColumns(TRUE);
    CSettingsFile ini;
    pTable->SaveWatchList(ini);
    EXPECT_STREQ("QuotesUS.Ticker", ini.GetSection());
    EXPECT_TRUE(ini.GetBool("ShowExt", FALSE));
    // In the store's order: by ticker within the market.
    EXPECT_STREQ(".DJI", ini.GetString("Ticker0"));
    EXPECT_STREQ("AAPL", ini.GetString("Ticker1"));
    EXPECT_STREQ("IBM", ini.GetString("Ticker2"));
    EXPECT_STREQ("", ini.GetString("Ticker3"));
    EXPECT_EQ(4, ini.GetInt("MktCode2", 0));
    EXPECT_EQ(115, ini.GetLong("AlertPrc2", 0));
    EXPECT_EQ(ALERT_ON_FALL, ini.GetLong("AlertDir2", 0));
    EXPECT_EQ(30, ini.GetLong("ExtQty1", 0));
    EXPECT_EQ(29, ini.GetLong("ExtPrc1", 0));
    EXPECT_TRUE(ini.GetBool("ScrollingTicker2", FALSE));
    EXPECT_FALSE(ini.GetBool("ScrollingTicker0", TRUE));

    pTable->ShowExtColumns(FALSE);
    pTable->LoadWatchList(ini);
    EXPECT_TRUE(pTable->IsShowingExtColumns());
    EXPECT_FALSE(pTable->GetTable()->GetColumn(QC_OWN_PRICE).IsHidden());
}

TEST_F(QuoteFixture, MarketPopupListsTheMarketsButTheKseAtMost31)
{
    auto MarketItems = [this]() {
        HMENU hMenu = pTable->CreateContextMenu();
        EXPECT_NE(nullptr, hMenu);
        const int nItems = GetMenuItemCount(GetSubMenu(hMenu, 0));
        DestroyMenu(hMenu);
        return nItems - 2;          // "All" and its separator
    };
    EXPECT_EQ(3, MarketItems());
    std::vector<std::string> lines = {"$XC|1|XC||0"};
    for (int i = 1; i <= 40; ++i)
        lines.push_back(MarketRow(i, ("M" + std::to_string(i)).c_str(), 0));
    for (const std::string& strLine : lines)
        Fire(strLine);
    Fire("$EN|1|XC|0");
    EXPECT_EQ(31, MarketItems());
}

TEST_F(QuoteFixture, StarredRowMovedByItsHoldingsLeavesNoMarkBehind)
{
    Fire(Quote(4, "IBM", "1*", "10.5", "10"));
    ASSERT_EQ(QUOTE_ATTR_STAR_UNCHANGED, Colour("IBM", QC_NAME));
    // The holdings name another market: the row moves there, starred as it was.
    Fire("~NH|1|XC|0|IBM|100|7|50|||||||||||||||||||||||8");
    ASSERT_NE(nullptr, Row("IBM", "NASD"));
    EXPECT_EQ(QUOTE_ATTR_STAR_UNCHANGED, Colour("IBM", QC_NAME));
    Fire(Quote(8, "IBM", "1", "10.6", "10"));
    EXPECT_EQ(QUOTE_ATTR_UNCHANGED, Colour("IBM", QC_NAME)) << "unstarred where it is now";
    Fire(Quote(8, "IBM", "1*", "10.7", "10"));
    ASSERT_TRUE(pTable->RemoveSymbol("IBM", "NASD"));
    // Listed again under its first market, its first starred quote stars its plain cells.
    Fire({"$DS|1|XC||0||4", "IBM|4|IBM|Intl Bus|ibm|IBM Corp|ibm|USD|Tech|t", "$EN|1|XC|0"});
    ASSERT_NE(nullptr, Row("IBM"));
    Fire(Quote(4, "IBM", "1*", "10.5", "10"));
    EXPECT_EQ(QUOTE_ATTR_STAR_UNCHANGED, Colour("IBM", QC_NAME));
    EXPECT_EQ(QUOTE_ATTR_STAR_UNCHANGED, Colour("IBM", QC_MARKET));
    EXPECT_EQ(QUOTE_ATTR_STAR_RISING, Colour("IBM", QC_LAST));
    // Removed while starred and listed again: the same.
    ASSERT_TRUE(pTable->RemoveSymbol("IBM", "US"));
    Fire({"$DS|1|XC||0||4", "IBM|4|IBM|Intl Bus|ibm|IBM Corp|ibm|USD|Tech|t", "$EN|1|XC|0"});
    Fire(Quote(4, "IBM", "1*", "10.5", "10"));
    EXPECT_EQ(QUOTE_ATTR_STAR_UNCHANGED, Colour("IBM", QC_NAME));
}

TEST_F(QuoteFixture, TradesGoToTheMarketsTickerElseTheTickerOfEveryMarket)
{
    // Market 4 "US": ticker, what it updates, last, time, trade counter; the reference is 10.
    auto Trade = [this](const char* pszTicker, const char* pszKind, const char* pszLast, const char* pszTime,
                        const char* pszCounter) {
        Fire(std::string("~GS|1|XC|4|") + pszTicker + "|0|" + pszKind + "|" + pszLast + "|10.1|10.3|" + pszTime +
             "|3|4|" + pszCounter + "#7||11|9|||10|211207|");
    };
    Fire({"$DS|1|XC||0||4", "MSFT|4||||||USD|Tech|t", "$EN|1|XC|0"});
    CRecordingTicker all(TICKER_ALL_MARKETS);
    Trade("IBM", "2", "10.5", "93000", "100");      // no reference yet: no change
    Trade("IBM", "2", "9.5", "93100", "100");       // the counter did not move: no trade
    Trade("IBM", "2", "9.5", "93100", "101");
    {
        CRecordingTicker us("US");
        Trade("IBM", "0", "11", "93200", "105");    // the ticker only: the row keeps 9.5 and 101
        EXPECT_EQ("9.50", Cell("IBM", QC_LAST));
        Trade("IBM", "1", "12", "93300", "110");    // the row only
        Trade("IBM", "2", "12", "93400", "110");
        Trade("IBM", "2", "12.5", "", "120");       // no time
        Trade("IBM", "2", "0", "93500", "130");     // no price
        us.bChanges = FALSE;
        Trade("IBM", "2*", "12.5", "93600", "140");
        Trade("MSFT", "2", "8", "93600", "1");      // no name: the ticker
        Trade(".DJI", "2", "900", "93600", "1");    // an index stays out
        EXPECT_EQ((std::vector<std::string>{"Intl Bus:11.000 +1.000:2", "Intl Bus:12.500:2", "MSFT:8.000:1"}),
                  us.items);
    }
    EXPECT_EQ((std::vector<std::string>{"Intl Bus:10.500 +0.000:1", "Intl Bus:9.500 -0.500:3"}), all.items);
}
