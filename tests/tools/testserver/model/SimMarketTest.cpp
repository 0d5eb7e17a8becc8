// The walk: replay under a seed, prices on their ticks inside their limits, books that the
// events rebuild, quotes and indices that add up from the trades.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>
#include "tests/tools/testserver/model/SimTestSupport.h"

TEST(SimMarket, SeedReplaysTheSameEvents)
{
    CSimulator a, b, c;
    ASSERT_TRUE(StartTestSimulator(a, 42));
    ASSERT_TRUE(StartTestSimulator(b, 42));
    ASSERT_TRUE(StartTestSimulator(c, 43));
    int nDiffer = 0;
    for (int k = 0; k < 5000; ++k) {
        const std::string strA = EventText(*a.Next());
        ASSERT_EQ(strA, EventText(*b.Next())) << "event " << k;
        nDiffer += strA != EventText(*c.Next());
    }
    EXPECT_GT(nDiffer, 2500) << "another seed makes another market";
}

// Ticks from the file, independently of the model's own band lookup.
static double TickOf(const CSimTables& tables, int nMarket, double dPrice)
{
    if (nMarket != 2)
        return 0.01;
    double dTick = 0;
    for (const CSimRecord& band : tables.Get("ticks").rows)
        if (dPrice >= Num(band, "low") - 1e-9)
            dTick = Num(band, "tick");
    return dTick;
}

static bool OnTick(double dPrice, double dTick)
{
    const double dSteps = dPrice / dTick;
    return std::fabs(dSteps - std::round(dSteps)) < 1e-6;
}

TEST(SimMarket, PricesStayOnTicksAndInsideLimits)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 7));
    sim.SetStepMillis(1);
    std::map<std::string, std::set<std::string>> prices;
    for (int k = 0; k < 60000; ++k) {
        const CSimEvent& ev = *sim.Next();
        if (ev.nType != SIM_TRADE && ev.nType != SIM_BOOK)
            continue;
        const CSimRecord& rec = *ev.pRecord;
        const double dPrice = Num(rec, "price");
        ASSERT_TRUE(OnTick(dPrice, TickOf(sim.Tables(), ev.nMarket, dPrice))) << k << ": " << RecordText(rec);
        const CSimRecord& quote = sim.Market().GetQuote(*sim.Market().Find(ev.nMarket, GetField(rec, "symbol")));
        if (Num(quote, "limit_up") > 0) {
            ASSERT_LE(dPrice, Num(quote, "limit_up") + 1e-9) << RecordText(rec);
            ASSERT_GE(dPrice, Num(quote, "limit_down") - 1e-9) << RecordText(rec);
        }
        if (ev.nType == SIM_TRADE)
            prices[GetField(rec, "symbol")].insert(GetField(rec, "price"));
    }
    // The walk moves: most symbols traded at several prices.
    int nMoving = 0;
    for (const auto& entry : prices)
        nMoving += entry.second.size() >= 3;
    EXPECT_GE(nMoving, 40);
}

TEST(SimMarket, BookEventsRebuildFiveOrderedLevelsASide)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 11));
    // The model: every symbol's book as the reply gives it at the start, then every level event.
    std::map<std::string, std::map<double, std::string>> model;
    const auto key = [](int nMarket, const std::string& strSymbol) { return std::to_string(nMarket) + ":" + strSymbol; };
    const auto levelText = [](const CSimRecord& rec) {
        return GetField(rec, "bid_orders") + "/" + GetField(rec, "bid_qty") + " " + GetField(rec, "ask_orders") + "/" +
               GetField(rec, "ask_qty");
    };
    for (const CSimInstrument& inst : sim.Market().GetInstruments())
        for (const CSimRecord& level : sim.Market().GetBook(inst))
            model[key(inst.pMarket->nCode, inst.strSymbol)][Num(level, "price")] = levelText(level);
    // Through the end of the last step, so the model has every change the books have.
    for (int k = 0; k < 30000 || sim.GetPendingCount() > 0; ++k) {
        const CSimEvent& ev = *sim.Next();
        if (ev.nType != SIM_BOOK)
            continue;
        auto& book = model[key(ev.nMarket, GetField(*ev.pRecord, "symbol"))];
        if (Num(*ev.pRecord, "bid_qty") == 0 && Num(*ev.pRecord, "ask_qty") == 0)
            book.erase(Num(*ev.pRecord, "price"));
        else
            book[Num(*ev.pRecord, "price")] = levelText(*ev.pRecord);
    }
    for (const CSimInstrument& inst : sim.Market().GetInstruments()) {
        const std::vector<CSimRecord> book = sim.Market().GetBook(inst);
        std::string strBook, strModel;
        for (const CSimRecord& level : book)
            strBook += GetField(level, "price") + " " + levelText(level) + "|";
        const auto& mine = model[key(inst.pMarket->nCode, inst.strSymbol)];
        for (auto it = mine.rbegin(); it != mine.rend(); ++it)
            strModel += CSimMarket::PriceText(*inst.pMarket, CSimMarket::ToUnits(*inst.pMarket, it->first)) + " " + it->second + "|";
        EXPECT_EQ(strBook, strModel) << inst.strSymbol;

        // Highest first, asks above bids, five a side unless a limit cuts the side short.
        int nBids = 0, nAsks = 0;
        double dPrevious = 1e300, dLowestAsk = 1e300, dHighestBid = 0;
        for (const CSimRecord& level : book) {
            const double dPrice = Num(level, "price");
            EXPECT_LT(dPrice, dPrevious) << inst.strSymbol;
            dPrevious = dPrice;
            EXPECT_TRUE((Num(level, "bid_qty") > 0) != (Num(level, "ask_qty") > 0)) << "one side per price";
            if (Num(level, "bid_qty") > 0) {
                ++nBids;
                dHighestBid = std::max(dHighestBid, dPrice);
                EXPECT_GT(Num(level, "bid_orders"), 0);
            } else {
                ++nAsks;
                dLowestAsk = std::min(dLowestAsk, dPrice);
            }
        }
        EXPECT_LT(dHighestBid, dLowestAsk) << inst.strSymbol;
        const CSimRecord& quote = sim.Market().GetQuote(inst);
        const bool bAtLimit = Num(quote, "limit_up") > 0 && (Num(quote, "ask") >= Num(quote, "limit_up") - 1e-9 ||
                                                            Num(quote, "bid") <= Num(quote, "limit_down") + 1e-9);
        if (!bAtLimit) {
            EXPECT_EQ(5, nBids) << inst.strSymbol;
            EXPECT_EQ(5, nAsks) << inst.strSymbol;
        }
        EXPECT_EQ(Num(quote, "bid"), dHighestBid) << inst.strSymbol;
        EXPECT_EQ(Num(quote, "ask"), dLowestAsk) << inst.strSymbol;
    }
}

TEST(SimMarket, OddLotEventsRebuildTheOddLotBoard)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 13));
    const auto entry = [](const CSimRecord& rec) {
        return GetField(rec, "symbol") + " " + GetField(rec, "quantity") + " " + GetField(rec, "side") + " " + GetField(rec, "price");
    };
    std::map<std::string, std::string> model;      // entry to its orders
    for (const CSimInstrument& inst : sim.Market().GetInstruments())
        for (const CSimRecord& rec : sim.Market().GetOddLots(inst))
            model[entry(rec)] = GetField(rec, "orders");
    int nEvents = 0;
    for (int k = 0; k < 20000 || sim.GetPendingCount() > 0; ++k) {
        const CSimEvent& ev = *sim.Next();
        if (ev.nType != SIM_ODDLOT)
            continue;
        ++nEvents;
        ASSERT_EQ(2, ev.nMarket);
        ASSERT_LT(Num(*ev.pRecord, "quantity"), 500) << "fewer shares than a round lot";
        if (GetField(*ev.pRecord, "orders") == "0")
            ASSERT_EQ(1u, model.erase(entry(*ev.pRecord))) << "only a standing entry goes";
        else
            ASSERT_TRUE(model.emplace(entry(*ev.pRecord), GetField(*ev.pRecord, "orders")).second) << "entries stay distinct";
    }
    EXPECT_GT(nEvents, 500);
    std::map<std::string, std::string> board;
    for (const CSimInstrument& inst : sim.Market().GetInstruments())
        for (const CSimRecord& rec : sim.Market().GetOddLots(inst))
            board[entry(rec)] = GetField(rec, "orders");
    EXPECT_EQ(model, board);
    EXPECT_EQ(80u, board.size()) << "two a side for each of the twenty stocks";
}

TEST(SimMarket, QuotesAndIndicesAddUpFromTheTrades)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 5));
    struct Totals { long long nVolume = 0; int nTrades = 0; double dHigh = 0, dLow = 1e300; };
    std::map<std::string, Totals> totals;
    int nIndexEvents = 0, nTickers = 0, nForwards = 0;
    for (int k = 0; k < 20000; ++k) {
        const CSimEvent& ev = *sim.Next();
        const CSimRecord& rec = *ev.pRecord;
        if (ev.nType == SIM_TRADE) {
            Totals& t = totals[GetField(rec, "symbol")];
            t.nVolume += atoll(GetField(rec, "quantity").c_str());
            ++t.nTrades;
            t.dHigh = std::max(t.dHigh, Num(rec, "price"));
            t.dLow = std::min(t.dLow, Num(rec, "price"));
        } else if (ev.nType == SIM_QUOTE) {
            const Totals& t = totals[GetField(rec, "symbol")];
            ASSERT_EQ(t.nVolume, atoll(GetField(rec, "volume").c_str())) << RecordText(rec);
            ASSERT_EQ(t.nTrades, atoi(GetField(rec, "trades").c_str()));
            ASSERT_EQ(t.dHigh, Num(rec, "high"));
            ASSERT_EQ(t.dLow, Num(rec, "low"));
            ASSERT_NEAR(Num(rec, "last") - Num(rec, "prev_close"), Num(rec, "change"), 1e-9);
        } else if (ev.nType == SIM_INDEX && ev.nMarket == SIM_MARKET_KSE) {
            // Index = base × Σ shares × last / Σ shares × previous close, over its sector.
            const CSimRecord* pDef = nullptr;
            for (const CSimRecord& row : sim.Tables().Get("indices").rows)
                if (GetField(row, "code") == GetField(rec, "code"))
                    pDef = &row;
            ASSERT_NE(nullptr, pDef);
            double dNow = 0, dBefore = 0;
            for (const CSimRecord& stock : sim.Tables().Get("stocks").rows) {
                if (Num(*pDef, "sector") != 0 && Num(*pDef, "sector") != Num(stock, "sector"))
                    continue;
                const CSimRecord& quote = sim.Market().GetQuote(*sim.Market().Find(2, GetField(stock, "id")));
                dNow += Num(stock, "shares") * Num(quote, "ref_price");
                dBefore += Num(stock, "shares") * Num(stock, "prev_close");
            }
            ASSERT_NEAR(Num(*pDef, "base") * dNow / dBefore, Num(rec, "value"), 0.006) << RecordText(rec);
            ++nIndexEvents;
        } else if (ev.nType == SIM_FORWARD) {
            const CSimRecord& quote = sim.Market().GetQuote(*sim.Market().Find(2, GetField(rec, "stock")));
            ASSERT_NEAR(Num(quote, "ref_price") * (1 + Num(rec, "premium") / 100 * Num(rec, "months") / 12), Num(rec, "price"), 0.0006)
                << RecordText(rec);
            ++nForwards;
        } else if (ev.nType == SIM_TICKER) {
            const CSimInstrument* pInst = sim.Market().Find(ev.nMarket, GetField(rec, "symbol"));
            ASSERT_NE(nullptr, pInst);
            EXPECT_TRUE(pInst->bTicker);
            ++nTickers;
        }
    }
    EXPECT_GT(nIndexEvents, 50);
    EXPECT_GT(nTickers, 100);
    EXPECT_GT(nForwards, 100);
}

TEST(SimMarket, MoversAreRankedAndNewsComesOnTime)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 9));
    std::vector<std::string> released;
    int64_t nStart = sim.GetClock().GetMinute();
    sim.Advance(int64_t{10} * 60000, [&](const CSimEvent& ev) {
        if (ev.nType == SIM_NEWS) {
            released.push_back(GetField(*ev.pRecord, "id"));
            EXPECT_LE(atoi(GetField(*ev.pRecord, "minute").c_str()), sim.GetClock().GetMinute() - nStart);
        }
    });
    std::vector<std::string> due;
    for (const CSimRecord& row : sim.Tables().Get("news").rows)
        if (atoi(GetField(row, "minute").c_str()) <= 10)
            due.push_back(GetField(row, "id"));
    EXPECT_EQ(due, released);
    for (const CSimRecord& story : sim.Market().GetNews(1))
        EXPECT_EQ("1", GetField(story, "lang"));

    const std::vector<CSimRecord> gainers = sim.Market().GetMovers(2, 0, 5);
    const std::vector<CSimRecord> losers = sim.Market().GetMovers(2, 1, 5);
    ASSERT_FALSE(gainers.empty());
    ASSERT_FALSE(losers.empty());
    for (size_t i = 0; i < gainers.size(); ++i) {
        EXPECT_GT(Num(gainers[i], "change_pct"), 0);
        if (i > 0) {
            EXPECT_GE(Num(gainers[i - 1], "change_pct"), Num(gainers[i], "change_pct"));
        }
    }
    for (size_t i = 0; i < losers.size(); ++i) {
        EXPECT_LT(Num(losers[i], "change_pct"), 0);
        if (i > 0) {
            EXPECT_LE(Num(losers[i - 1], "change_pct"), Num(losers[i], "change_pct"));
        }
    }
    EXPECT_LE(sim.Market().GetMovers(2, 2, 3).size(), 3u);
    EXPECT_FALSE(sim.Market().GetOptionChain("ALPN").empty());
    EXPECT_TRUE(sim.Market().GetOptionChain("BRKT").empty());
    EXPECT_EQ(sim.Tables().Get("forwards").rows.size(), sim.Market().GetForwards().size());

    // Ten minutes past nine: the KSE trades, the US markets are closed since the night before.
    EXPECT_EQ("2", GetField(sim.Market().GetMarketState(2), "state"));
    EXPECT_EQ("3", GetField(sim.Market().GetMarketState(8), "state"));
    EXPECT_TRUE(sim.Market().GetMarketState(77).empty());
}

// A stock's stories of one minute come out as one KSE announcement of both languages, after the
// stories themselves; a story in one language only keeps its language; other markets' stay out.
TEST(SimMarket, KseAnnouncementsJoinTheLanguagesOfAStory)
{
    namespace fs = std::filesystem;
    char szDir[] = "/tmp/tb-sim-news-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strMarket = std::string(szDir) + "/market";
    fs::copy(TESTSERVER_MARKET_DIR, strMarket, fs::copy_options::recursive);
    {
        std::ofstream news(strMarket + "/news.txt", std::ios::app);
        news << "5951|1|3|2|104|إعلان بالعربية فقط|نص\n" << "5952|0|3|2|105|English only|Text\n";
    }
    CSimulator sim;
    std::string strError;
    ASSERT_TRUE(sim.Start(strMarket, 9, TEST_DATE, TEST_TIME, &strError)) << strError;
    std::vector<std::string> order;
    sim.Advance(int64_t{10} * 60000, [&](const CSimEvent& ev) {
        if (ev.nType == SIM_NEWS || ev.nType == SIM_ANNOUNCEMENT)
            order.push_back((ev.nType == SIM_NEWS ? "story " : "announcement ") + GetField(*ev.pRecord, "id"));
        if (ev.nType == SIM_ANNOUNCEMENT) {
            EXPECT_EQ(2, ev.nMarket);
        }
    });
    fs::remove_all(szDir);
    // Minute 3: the two stories first, then their announcements, one per stock.
    const std::vector<std::string> minute3 = {"story 5951", "story 5952", "announcement 5951", "announcement 5952"};
    EXPECT_NE(std::search(order.begin(), order.end(), minute3.begin(), minute3.end()), order.end());

    std::map<std::string, std::string> seen;
    std::set<std::string> times;
    for (const CSimRecord& rec : sim.Market().GetAnnouncements()) {
        EXPECT_TRUE(times.insert(GetField(rec, "datetime")).second) << "each announcement its own time";
        seen[GetField(rec, "id")] = GetField(rec, "lang") + "|" + GetField(rec, "symbol") + "|" + GetField(rec, "headline") + "|" +
                                    GetField(rec, "headline_ar") + "|" + GetField(rec, "story_ar");
    }
    const std::map<std::string, std::string> expected = {
        {"5001", "2||KSE opens the week steady|افتتاح مستقر لسوق الكويت|افتتح السوق تداولات الأسبوع بطلب على البنوك وهدوء في قطاع العقار."},
        {"5003", "2|101|Gulf Harbour Bank lifts its dividend|بنك مرفأ الخليج يرفع التوزيعات|أوصى مجلس إدارة البنك بتوزيع أرباح نقدية بواقع 25 فلسا للسهم."},
        {"5007", "2|107|Al Waha Telecom adds subscribers|الواحة للاتصالات تزيد مشتركيها|ارتفع عدد مشتركي الهاتف المتنقل بنسبة ثمانية في المئة خلال الربع."},
        {"5951", "1|104||إعلان بالعربية فقط|نص"},
        {"5952", "0|105|English only||"},
    };
    EXPECT_EQ(expected, seen);
}

TEST(SimMarket, HistoryIsFixedPerSeedAndSymbolAndKeepsToTicks)
{
    CSimulator a, b, c;
    ASSERT_TRUE(StartTestSimulator(a, 31));
    ASSERT_TRUE(StartTestSimulator(b, 31));
    ASSERT_TRUE(StartTestSimulator(c, 32));
    for (int k = 0; k < 3000; ++k)
        a.Next();       // the walk does not change the past
    const CSimInstrument& inst = *a.Market().Find(2, "107");
    const std::vector<CSimRecord> days = a.Market().GetDailyHistory(inst, 0, 1000);
    ASSERT_GE(days.size(), 200u);
    std::string strA, strB, strC;
    for (const CSimRecord& day : days)
        strA += RecordText(day);
    for (const CSimRecord& day : b.Market().GetDailyHistory(*b.Market().Find(2, "107"), 0, 1000))
        strB += RecordText(day);
    for (const CSimRecord& day : c.Market().GetDailyHistory(*c.Market().Find(2, "107"), 0, 1000))
        strC += RecordText(day);
    EXPECT_EQ(strA, strB);
    EXPECT_NE(strA, strC);

    EXPECT_EQ(CSimClock::PreviousTradingDate(TEST_DATE), CSimClock::FromServerDate(GetField(days[0], "date")));
    EXPECT_EQ(GetField(a.Market().GetQuote(inst), "prev_close"), GetField(days[0], "close"));
    for (size_t i = 0; i < days.size(); ++i) {
        for (const char* pszPrice : {"open", "high", "low", "close"}) {
            const double dPrice = Num(days[i], pszPrice);
            EXPECT_TRUE(OnTick(dPrice, TickOf(a.Tables(), 2, dPrice))) << RecordText(days[i]);
        }
        EXPECT_LE(Num(days[i], "low"), std::min(Num(days[i], "open"), Num(days[i], "close")));
        EXPECT_GE(Num(days[i], "high"), std::max(Num(days[i], "open"), Num(days[i], "close")));
        if (i + 1 < days.size()) {
            EXPECT_GT(CSimClock::FromServerDate(GetField(days[i], "date")), CSimClock::FromServerDate(GetField(days[i + 1], "date")));
            EXPECT_EQ(GetField(days[i], "prev_close"), GetField(days[i + 1], "close"));
        }
    }
    // Only the days after a cached date, newest first.
    const int nCached = CSimClock::FromServerDate(GetField(days[10], "date"));
    const std::vector<CSimRecord> newer = a.Market().GetDailyHistory(inst, nCached, 1000);
    ASSERT_EQ(10u, newer.size());
    EXPECT_EQ(RecordText(days[9]), RecordText(newer[9]));
    EXPECT_EQ(5u, a.Market().GetIndexHistory(1, 0, 5).size());
    EXPECT_TRUE(a.Market().GetIndexHistory(99, 0, 5).empty());

    EXPECT_EQ(1u, a.Market().LookupSymbols("alp", 10).size());
    EXPECT_EQ(4u, a.Market().LookupSymbols("BANK", 10).size()) << "by name, any case";
    EXPECT_EQ(2u, a.Market().LookupSymbols("bank", 2).size());
    EXPECT_TRUE(a.Market().LookupSymbols("zzzz", 10).empty());
}
