// The reference data filled by real server lines fanned out through the message source: the
// market list before and after login, symbol lists, currencies, states, times and notices.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "RefDataSupport.h"
#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"
#include "refdata/ZorvatGlobals.h"

namespace {

// A market row of the market list: 23 fields, the named ones set.
std::string MarketRow(int nCode, const char* pszEnglish, const char* pszArabic, int nEnabled, int nLinked = 0,
                      int nOffset = 0)
{
    std::vector<std::string> fields(23, "");
    fields[0] = "t0";
    fields[3] = "t3";
    fields[4] = std::to_string(nEnabled);
    fields[8] = std::to_string(nLinked);
    fields[12] = std::to_string(nCode);
    fields[13] = pszEnglish;
    fields[14] = pszArabic;
    fields[21] = std::to_string(nOffset);
    std::string s;
    for (size_t i = 0; i < fields.size(); ++i)
        s += (i ? "|" : "") + fields[i];
    return s;
}

std::string Join(const CArray<int, int>& codes)
{
    std::string s;
    for (int i = 0; i < codes.GetSize(); ++i)
        s += (i ? "," : "") + std::to_string(codes[i]);
    return s;
}

std::string Join(const CStringArray& texts)
{
    std::vector<std::string> sorted;
    for (int i = 0; i < texts.GetSize(); ++i)
        sorted.push_back(texts[i].GetString());
    std::sort(sorted.begin(), sorted.end());
    std::string s;
    for (size_t i = 0; i < sorted.size(); ++i)
        s += (i ? "," : "") + sorted[i];
    return s;
}

std::string Load(UINT nId)
{
    CString str;
    str.LoadString(nId);
    return str.GetString();
}

class RefData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_client.m_strFolder = m_folder.Path().c_str();
        ASSERT_TRUE(m_globals.Register(&m_source, &m_client));
        m_globals.SetClockSource(&m_clock);
    }
    void TearDown() override { GetNorvGlobals().m_nLanguage = 0; }
    void Fire(std::initializer_list<std::string> lines)
    {
        for (const auto& line : lines)
            FireLine(m_source, line.c_str());
    }
    // The market list: KSE (2, enabled), US (4, enabled), Europe (8, disabled), Asia (16, enabled).
    void FireMarketList()
    {
        Fire({"$XC|1|XC||0||||3600", MarketRow(2, "KSE", "Kuwait", 1), MarketRow(4, "US", "Amrika", 1, 2, 7200),
              MarketRow(8, "Europe", "", 0), MarketRow(16, "Asia", "Asya", 1, 32), "$EN|1|XC|0"});
    }
    bool FileExists() const { return std::ifstream(m_folder.File("Markets.zvt")).good(); }

    CLanguageModule m_language;
    CTempFolder m_folder;
    CFixedClock m_clock;
    CZorvatMessageSource m_source;
    CMarketListClientDouble m_client;
    CZorvatGlobals m_globals;           // unregisters before the source goes
};

}  // namespace

TEST_F(RefData, MarketRowsBecomeRecordsWithTheirLinkedNames)
{
    FireMarketList();
    MarketDetail us;
    ASSERT_TRUE(m_globals.LookupMarket(4, us));
    EXPECT_EQ("US", std::string(us.m_strEnglishName));
    EXPECT_EQ("Amrika", std::string(us.m_strArabicName));
    EXPECT_EQ("t0 t3", std::string(us.m_strText0) + " " + us.m_strText3.GetString());
    EXPECT_EQ(1, us.m_nEnabled);
    EXPECT_EQ(1, us.m_nConstant1);
    EXPECT_EQ(7200, m_globals.GetMarketTimeOffset(4));
    EXPECT_EQ(3600, m_globals.GetGlobalTimeOffset());
    // Names are emptied when the list begins: KSE came first and is known, 32 never.
    EXPECT_EQ("KSE", std::string(us.m_strLinkedMarketName));
    MarketDetail asia;
    ASSERT_TRUE(m_globals.LookupMarket(16, asia));
    EXPECT_EQ("32", std::string(asia.m_strLinkedMarketName));
    MarketDetail kse;
    ASSERT_TRUE(m_globals.LookupMarket(2, kse));
    EXPECT_EQ("", std::string(kse.m_strLinkedMarketName));

    // A short row: what it lacks reads as 0 or empty, the constant stays 1.
    Fire({"$XC|2|XC||0", "a|b|c|d|1|5||||||||Short", "$EN|1|XC|0"});
    MarketDetail shortRow;
    ASSERT_TRUE(m_globals.LookupMarket(0, shortRow));
    EXPECT_EQ("Short|5|0|0|1", std::string(shortRow.m_strEnglishName) + "|" + std::to_string(shortRow.m_nValue5) +
                                   "|" + std::to_string(shortRow.m_nTimeOffset) + "|" +
                                   std::to_string(shortRow.m_nNoNewsFlag) + "|" + std::to_string(shortRow.m_nConstant1));
    EXPECT_FALSE(m_globals.LookupMarket(4, us));        // the new list replaced the old one
}

TEST_F(RefData, MarketListBeforeLoginOnlyFillsTheMaps)
{
    FireMarketList();
    EXPECT_EQ("tickers removed; busy; idle", m_client.Take());
    EXPECT_TRUE(m_client.m_tickers.empty());
    EXPECT_FALSE(FileExists());
    EXPECT_EQ("Europe", std::string(m_globals.GetMarketName(8)));
    CArray<int, int> codes;
    m_globals.GetMarketCodes(codes);
    EXPECT_EQ(4, codes.GetSize());
    m_globals.GetMarketCodeList(codes);             // nobody logged in: nobody's markets
    EXPECT_EQ(4, codes.GetSize());
}

TEST_F(RefData, MarketListAfterLoginAsksForSymbolsAndRebuilds)
{
    m_client.LogIn(4711, "880012", 2 | 4 | 8);
    m_client.m_tickers = {"old"};
    FireMarketList();
    // Symbols for the enabled markets but KSE, in the map's order; then menus; then the file.
    EXPECT_EQ("tickers removed; busy; send 315 ||4; send 315 ||16; market list changed; idle", m_client.Take());
    EXPECT_EQ((std::vector<std::string>{"KSE", "US", "Europe"}), m_client.m_tickers);
    CArray<int, int> codes;
    codes.Add(99);
    m_globals.GetMarketCodeList(codes);             // appended, in arrival order
    EXPECT_EQ("99,2,4,8", Join(codes));
    EXPECT_TRUE(FileExists());

    // Arabic names for the tickers when the language flag is set.
    GetNorvGlobals().m_nLanguage = 1;
    FireMarketList();
    EXPECT_EQ((std::vector<std::string>{"Kuwait", "Amrika", ""}), m_client.m_tickers);
    EXPECT_EQ(16, m_globals.GetMarketCode("Asya"));
    EXPECT_EQ(0, m_globals.GetMarketCode("Asia"));
}

TEST_F(RefData, UserWithoutPermittedMarketsGetsTheAllTicker)
{
    m_client.LogIn(4711, "880012", 1 | 32);
    FireMarketList();
    EXPECT_EQ((std::vector<std::string>{"ALL"}), m_client.m_tickers);
    CArray<int, int> codes;
    m_globals.GetMarketCodeList(codes);
    EXPECT_EQ(0, codes.GetSize());
}

TEST_F(RefData, OrderStatusAskedAgainAfterTheLastSymbolListOfEachMarketList)
{
    m_client.LogIn(4711, "880012", 4);
    Fire({"$XC|1|XC||0", MarketRow(3, "A", "", 1), MarketRow(5, "B", "", 1), MarketRow(6, "C", "", 1), "$EN|1|XC|0"});
    EXPECT_EQ(3, static_cast<int>(std::count_if(m_client.m_log.begin(), m_client.m_log.end(),
                                                [](const std::string& e) { return e.rfind("send 315", 0) == 0; })));
    m_client.Take();
    // Three lists, one of them refused: its reply never opens, so the count stays one up.
    Fire({"$DS|1|XC||0||3", "S3|3|x", "$EN|1|XC|0", "~DS|1|XC||77||5", "$EN|1|XC|0",
          "$DS|1|XC||0||6", "S6|6|x", "$EN|1|XC|0"});
    EXPECT_EQ(std::string::npos, m_client.Take().find("order status again"));
    // The next market list counts afresh.
    Fire({"$XC|1|XC||0", MarketRow(3, "A", "", 1), MarketRow(5, "B", "", 1), MarketRow(6, "C", "", 1), "$EN|1|XC|0"});
    m_client.Take();
    Fire({"$DS|1|XC||0||3", "$EN|1|XC|0", "$DS|1|XC||0||5", "$EN|1|XC|0"});
    EXPECT_EQ("busy; idle; busy; idle", m_client.Take());
    Fire({"$DS|1|XC||0||6", "$EN|1|XC|0"});
    EXPECT_EQ("busy; order status again; idle", m_client.Take());
    Fire({"$DS|1|XC||0||6", "$EN|1|XC|0"});         // one more: nothing owed any more
    EXPECT_EQ("busy; idle", m_client.Take());
}

TEST_F(RefData, SymbolListsFillBothMapsAndReplaceAMarketsMap)
{
    Fire({"$DS|1|XC||0||7", "AAA|7|a2|a3|a4|a5|a6", "BBB|7|b2", "$EN|1|XC|0",
          "$SL|1|XC||0", "NBK|n1|n2|n3|n4", "AAA|k1", "$EN|1|XC|0"});
    ShortStockListEntry entry;
    ASSERT_TRUE(m_globals.LookupShortStockEntry(7, "AAA", entry));
    EXPECT_EQ("7|AAA|a2|a3|a4|a5|a6", std::to_string(entry.market) + "|" + entry.text1.GetString() + "|" +
                                          entry.text2.GetString() + "|" + entry.text3.GetString() + "|" +
                                          entry.text4.GetString() + "|" + entry.text5.GetString() + "|" +
                                          entry.text6.GetString());
    ASSERT_TRUE(m_globals.LookupShortStockEntry(2, "NBK", entry));
    EXPECT_EQ("2|NBK|NBK|n1|n2|n3|n4", std::to_string(entry.market) + "|" + entry.text1.GetString() + "|" +
                                           entry.text2.GetString() + "|" + entry.text3.GetString() + "|" +
                                           entry.text4.GetString() + "|" + entry.text5.GetString() + "|" +
                                           entry.text6.GetString());
    CStringArray symbols;
    m_globals.GetStockListNames(7, symbols);        // "AAA" went to KSE with the later row
    EXPECT_EQ("BBB", Join(symbols));
    m_globals.GetStockListNames(2, symbols);
    EXPECT_EQ("AAA,NBK", Join(symbols));
    m_globals.GetMarketSymbols(7, symbols);
    EXPECT_EQ("AAA,BBB", Join(symbols));

    // A new list of market 7 replaces its map whole; rows outside a reply go nowhere.
    Fire({"$DS|1|XC||0||7", "CCC|7", "$EN|1|XC|0", "DDD|7"});
    m_globals.GetMarketSymbols(7, symbols);
    EXPECT_EQ("CCC", Join(symbols));
    EXPECT_FALSE(m_globals.LookupShortStockEntry(7, "AAA", entry));
    m_globals.GetMarketSymbols(99, symbols);
    EXPECT_EQ(0, symbols.GetSize());
}

TEST_F(RefData, CurrencyListAndUserRequests)
{
    Fire({"$CL|1|XC||", "1|KWD|3|Dinar", "2|USD|2|Dollar", "9|KWD|3|Kuwaiti dinar", "$EN|1|XC|0"});
    CStringArray codes;
    m_globals.GetCurrencyCodes(codes);
    EXPECT_EQ("KWD,USD", Join(codes));
    CurrencyDetail kwd;
    ASSERT_TRUE(m_globals.LookupCurrency("KWD", kwd));
    EXPECT_EQ("KWD|3|9|Kuwaiti dinar", std::string(kwd.m_strCode) + "|" + std::to_string(kwd.m_nValue2) + "|" +
                                           std::to_string(kwd.m_nValue0) + "|" + kwd.m_strText3.GetString());
    EXPECT_FALSE(m_globals.LookupCurrency("EUR", kwd));
    m_client.Take();

    m_client.LogIn(4711, "880012", 4);
    m_globals.RequestMarketList();
    m_globals.RequestCurrencyList();
    EXPECT_EQ("send 314 ||4711|880012; send 308 ||4711|", m_client.Take());
}

TEST_F(RefData, MarketNamesAndStatesByLookup)
{
    FireMarketList();
    EXPECT_EQ("7", std::string(m_globals.GetMarketName(7)));
    EXPECT_EQ("", std::string(m_globals.GetMarketName(0)));
    CString strName;
    EXPECT_FALSE(m_globals.LookupMarketName(7, strName));
    GetNorvGlobals().m_nLanguage = 1;
    EXPECT_EQ("Amrika", std::string(m_globals.GetMarketName(4)));
    EXPECT_EQ("", std::string(m_globals.GetMarketName(8)));        // Europe has no Arabic name
    EXPECT_EQ(-1, m_globals.GetMarketState(4));
    m_globals.SetMarketState(4, 3);
    EXPECT_EQ(3, m_globals.GetMarketState(4));
}

TEST_F(RefData, StatesAndTimesFromSingleMessages)
{
    Fire({"$MT|1|XC||x|83000|123000", "$GM|1|XC||x|x|90000|93000|100000|110000|120000|123000|130000|133000|x|x|1"});
    EXPECT_EQ("08:30:00 12:30:00", std::string(m_globals.GetFirstMarketTimeText()) + " " +
                                       m_globals.GetSecondMarketTimeText().GetString());
    EXPECT_EQ(9 * 3600, m_globals.GetScheduleTime(0).GetSecondsOfDay());
    EXPECT_EQ(13 * 3600 + 1800, m_globals.GetScheduleTime(7).GetSecondsOfDay());
    EXPECT_EQ(0, m_globals.GetScheduleTime(8).GetSecondsOfDay());
    EXPECT_EQ(Load(56910) + "|" + Load(56911), std::string(m_globals.GetKseStatus1Text()) + "|" +
                                                   m_globals.GetKseStatus2Text().GetString());

    Fire({"$CM|1|XC||1|1", "$CM|1|XC||2|0"});
    EXPECT_EQ(Load(56911) + "|" + Load(56910), std::string(m_globals.GetKseStatus1Text()) + "|" +
                                                   m_globals.GetKseStatus2Text().GetString());
    Fire({"$CM|1|XC||3|1"});                        // neither status
    EXPECT_EQ(Load(56911) + "|" + Load(56910), std::string(m_globals.GetKseStatus1Text()) + "|" +
                                                   m_globals.GetKseStatus2Text().GetString());

    Fire({"$MM|1|XC||3|2"});
    EXPECT_EQ(3, m_globals.GetKseMarketState());
    EXPECT_EQ(Load(56699), std::string(m_globals.GetKseMarketStateText()));
    Fire({"$MM|1|XC||12|2"});
    EXPECT_EQ(12, m_globals.GetKseMarketState());
    EXPECT_EQ("", std::string(m_globals.GetKseMarketStateText()));
    m_client.Take();
    Fire({"$MM|1|XC||99|1"});
    EXPECT_EQ(Load(55253), std::string(m_globals.GetUsMarketStateText()));
    Fire({"$MM|1|XC||4|0"});
    EXPECT_EQ(Load(55252), std::string(m_globals.GetUsMarketStateText()));
    EXPECT_EQ("reset charts", m_client.Take());
    Fire({"$MM|1|XC||5|0"});
    EXPECT_EQ("", std::string(m_globals.GetUsMarketStateText()));
    EXPECT_EQ(12, m_globals.GetKseMarketState());

    std::string line = "$GG|1|XC|";
    for (int i = 0; i < 28; ++i)
        line += "|" + std::to_string(i) + (i >= 15 && i <= 24 ? ".5" : "");
    Fire({line});
    const KseGlobalParams& params = m_globals.GetKseGlobalParams();
    EXPECT_EQ(2, params.anValues[0]);
    EXPECT_EQ(14, params.anValues[12]);
    EXPECT_DOUBLE_EQ(20.5, params.adRatesA[0]);
    EXPECT_DOUBLE_EQ(19.5, params.adRatesB[4]);
    EXPECT_EQ(27, params.anLimits[2]);
}

TEST_F(RefData, ClosingWarningsOncePerApproach)
{
    Fire({"$MT|1|XC||x|83000|123000"});
    m_clock.m_nSecondsOfDay = 12 * 3600 + 10;
    Fire({"$TI|1|XC||120000"});
    EXPECT_EQ(10, m_globals.GetClockOffset());
    EXPECT_EQ("", m_client.Take());                 // half an hour before: nothing
    Fire({"$TI|1|XC||122640"});                     // 200 s before
    EXPECT_EQ("info " + Load(55322) + "; top 1", m_client.Take());
    Fire({"$TI|1|XC||122700", "$TI|1|XC||122915"}); // 180 s, then 45 s before
    EXPECT_EQ("info " + Load(55323) + "; top 1", m_client.Take());
    Fire({"$TI|1|XC||122930"});
    EXPECT_EQ("", m_client.Take());
    Fire({"$TI|1|XC||123000", "$TI|1|XC||122950"}); // past the time the marks reset
    EXPECT_EQ("info " + Load(55322) + "; top 1; info " + Load(55323) + "; top 1", m_client.Take());
}

TEST_F(RefData, OrderNoticesNameTheirPricesAndDate)
{
    // No code tables here: codes read as their numbers.
    Fire({"$NU|1|XC||ACC9|ORD1|2|150|x|NBK|2|1.5|2.25|1|61231|0|x|x|0"});
    CString strExpected;
    strExpected.FormatMessage(57700, "ORD1", "ACC9", "2", "NBK", "150", "2.2500 1 1.5000 0 1 31/12/2006");
    EXPECT_EQ("info " + std::string(strExpected) + "; top 1", m_client.Take());
    Fire({"$NU|1|XC||A|O|1|10|x|S|3|0|0|1|bad|1|x|x|1"});
    strExpected.FormatMessage(57703, "O", "A", "1", "S", "10", "3");
    EXPECT_EQ("info " + std::string(strExpected) + "; top 1", m_client.Take());
    Fire({"$NU|1|XC||A|O|1|10|x|S|7|0|0|0|x|0|x|x|1"});
    strExpected.FormatMessage(57701, "O", "A", "1", "S", "10", "");
    EXPECT_EQ("info " + std::string(strExpected) + "; top 1", m_client.Take());
    EXPECT_NE(std::string::npos, std::string(strExpected).find("O"));

    // An order goes by the name its acknowledgement noted for its number and symbol; the oldest
    // names are forgotten first.
    for (int i = 0; i <= CZorvatGlobals::ORDER_NAMES_KEPT; ++i)
        m_globals.NoteOrderName(std::to_string(i).c_str(), "S", ("S Put " + std::to_string(i)).c_str());
    Fire({"$NU|1|XC||A|1|1|10|x|S|3|0|0|0|x|0|x|x|0"});
    strExpected.FormatMessage(57700, "1", "A", "1", "S Put 1", "10", "3");
    EXPECT_EQ("info " + std::string(strExpected) + "; top 1", m_client.Take());
    EXPECT_EQ("S", std::string(m_globals.GetOrderName("0", "S"))) << "forgotten";
    EXPECT_EQ("T", std::string(m_globals.GetOrderName("1", "T"))) << "another symbol's order 1";
}

TEST_F(RefData, ServerCodeTableRepliesPassBy)
{
    // Country and role lists are other sinks' streams: the reference data takes no row of them.
    m_client.LogIn(4711, "880012", 4);
    FireMarketList();
    m_client.Take();
    Fire({"$CT|1|XC||1|0", "965|Kuwait", "$EN|1|XC|0", "$RO|1|XC||0", "4|Trader", "$EN|1|XC|0"});
    EXPECT_EQ("", m_client.Take());
    CArray<int, int> codes;
    m_globals.GetMarketCodes(codes);
    EXPECT_EQ(4, codes.GetSize());
    EXPECT_FALSE(m_globals.GetSinkRecord()->m_bReceiving);
}

TEST(RefDataObject, OneProcessWideObjectThatRegistersOnce)
{
    CLanguageModule language;
    CZorvatMessageSource source;
    CMarketListClientDouble client;
    CZorvatGlobals* pGlobals = GetGlobals();
    ASSERT_EQ(pGlobals, GetGlobals());
    EXPECT_EQ(-1, pGlobals->GetSinkId());
    ASSERT_TRUE(pGlobals->Register(&source, &client));
    EXPECT_FALSE(pGlobals->Register(&source, &client));
    pGlobals->LoadStrings();
    EXPECT_EQ(Load(1020), std::string(pGlobals->m_strText1));
    EXPECT_FALSE(pGlobals->m_strText3.IsEmpty());
    pGlobals->Unregister();
    EXPECT_EQ(-1, pGlobals->GetSinkId());
    EXPECT_EQ(0, source.GetSinkCount());
}
