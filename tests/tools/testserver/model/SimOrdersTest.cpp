// An order's life against the walk, the refusals, stops and the check's figures.
#include <gtest/gtest.h>
#include <vector>
#include "tests/tools/testserver/model/SimTestSupport.h"

namespace {

struct TakenEvent
{
    int nType;
    std::string strUser;
    CSimRecord rec;
};

// The events an order call made: they wait at the head of the stream.
std::vector<TakenEvent> TakePending(CSimulator& sim)
{
    std::vector<TakenEvent> events;
    for (size_t n = sim.GetPendingCount(); n > 0; --n) {
        const CSimEvent& ev = *sim.Next();
        events.push_back({ev.nType, ev.strUser, *ev.pRecord});
    }
    return events;
}

CSimOrderRequest Request(const char* pszSymbol, int nSide, int nType, long long nQty, double dPrice, double dStop = 0)
{
    CSimOrderRequest req;
    req.strUser = "viewer";
    req.strPassword = "viewer";
    req.nMarket = 2;
    req.strSymbol = pszSymbol;
    req.nSide = nSide;
    req.nType = nType;
    req.nQty = nQty;
    req.dPrice = dPrice;
    req.dStop = dStop;
    return req;
}

CSimRecord CashOf(const CSimulator& sim, const char* pszUser, const char* pszCurrency)
{
    for (const CSimRecord& rec : sim.Accounts().GetCash(*sim.Accounts().Find(pszUser)))
        if (GetField(rec, "currency") == pszCurrency)
            return rec;
    return CSimRecord();
}

CSimRecord HoldingOf(const CSimulator& sim, const char* pszUser, const char* pszSymbol)
{
    for (const CSimRecord& rec : sim.Accounts().GetHoldings(*sim.Accounts().Find(pszUser), 0))
        if (GetField(rec, "symbol") == pszSymbol)
            return rec;
    return CSimRecord();
}

// Walks until the user's order reaches nStatus; false when it never does.
bool WalkUntilStatus(CSimulator& sim, const std::string& strOrderNo, int nStatus, std::vector<TakenEvent>* pSeen)
{
    for (int k = 0; k < 400000; ++k) {
        const CSimEvent& ev = *sim.Next();
        if (!ev.strUser.empty())
            pSeen->push_back({ev.nType, ev.strUser, *ev.pRecord});
        if (ev.nType == SIM_ORDER && GetField(*ev.pRecord, "order_no") == strOrderNo && Num(*ev.pRecord, "status") == nStatus)
            return true;
    }
    return false;
}

}  // namespace

TEST(SimOrders, LifePartlyFilledRestingFilledByTheWalkModifiedCancelled)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 3));
    sim.Login("viewer", "viewer");
    const double dCashBefore = Num(CashOf(sim, "viewer", "KWD"), "balance");
    EXPECT_TRUE(HoldingOf(sim, "viewer", "108").empty());

    // A buy at the best offer for more than it holds: the level fills, the rest waits.
    const CSimRecord quote = sim.Market().GetQuote(*sim.Market().Find(2, "108"));
    const double dAsk = Num(quote, "ask");
    const long long nAskQty = atoll(GetField(quote, "ask_qty").c_str());
    CSimRecord order;
    std::string strInsert;
    ASSERT_EQ(0, sim.SendOrder(Request("108", SIM_SIDE_BUY, SIM_TYPE_LIMIT, nAskQty + 1000, dAsk), &order, &strInsert));
    EXPECT_EQ("6", GetField(order, "status"));
    EXPECT_EQ(nAskQty, atoll(GetField(order, "filled_qty").c_str()));
    EXPECT_EQ("1000", GetField(order, "open_qty"));
    std::vector<int> accountTypes;
    for (const TakenEvent& ev : TakePending(sim)) {
        if (ev.strUser.empty())
            continue;
        EXPECT_EQ("viewer", ev.strUser);
        accountTypes.push_back(ev.nType);
        if (ev.nType == SIM_FILL) {
            EXPECT_EQ(dAsk, Num(ev.rec, "price"));
            EXPECT_EQ(nAskQty, atoll(GetField(ev.rec, "quantity").c_str()));
        }
    }
    EXPECT_EQ((std::vector<int>{SIM_ORDER, SIM_CASH, SIM_FILL, SIM_HOLDING, SIM_CASH, SIM_TRANSACTION, SIM_MARGIN, SIM_ORDER}),
              accountTypes);
    // Held back for the open 1000: their value at the limit and the charges on it.
    const double dOpenValue = 1000 * dAsk / 1000;
    EXPECT_NEAR(dOpenValue + std::max(2.0, dOpenValue * 0.00125) + dOpenValue * 0.00035, Num(CashOf(sim, "viewer", "KWD"), "reserved"),
                0.001);
    EXPECT_EQ(nAskQty, atoll(GetField(HoldingOf(sim, "viewer", "108"), "quantity").c_str()));

    // The walk trades at or below the limit: the rest fills there.
    std::vector<TakenEvent> seen;
    ASSERT_TRUE(WalkUntilStatus(sim, GetField(order, "order_no"), SIM_STATUS_FILLED, &seen));
    ASSERT_GE(seen.size(), 2u);
    const TakenEvent* pLastFill = nullptr;
    for (const TakenEvent& ev : seen)
        pLastFill = ev.nType == SIM_FILL ? &ev : pLastFill;
    ASSERT_NE(nullptr, pLastFill);
    EXPECT_LE(Num(pLastFill->rec, "price"), dAsk);
    EXPECT_EQ("1000", GetField(pLastFill->rec, "quantity"));
    EXPECT_EQ(nAskQty + 1000, atoll(GetField(HoldingOf(sim, "viewer", "108"), "quantity").c_str()));
    EXPECT_EQ("0.000", GetField(CashOf(sim, "viewer", "KWD"), "reserved")) << "nothing held back once filled";

    // A sale far above the market rests; modify it, then cancel it.
    const CSimRecord quote101 = sim.Market().GetQuote(*sim.Market().Find(2, "101"));
    const double dLimitUp = Num(quote101, "limit_up");
    const long long nHeld = atoll(GetField(HoldingOf(sim, "viewer", "101"), "quantity").c_str());
    CSimRecord sale;
    ASSERT_EQ(0, sim.SendOrder(Request("101", SIM_SIDE_SELL, SIM_TYPE_LIMIT, 2000, dLimitUp), &sale, &strInsert));
    EXPECT_EQ("2", GetField(sale, "status"));
    EXPECT_EQ("2000", GetField(HoldingOf(sim, "viewer", "101"), "reserved"));
    EXPECT_EQ(nHeld - 2000, atoll(GetField(HoldingOf(sim, "viewer", "101"), "available").c_str()));
    const int64_t nSaleNo = atoll(GetField(sale, "order_no").c_str());
    CSimRecord modified;
    ASSERT_EQ(0, sim.ModifyOrder(nSaleNo, Request("101", SIM_SIDE_SELL, SIM_TYPE_LIMIT, 3000, dLimitUp - 5), &modified, &strInsert));
    EXPECT_EQ("3000", GetField(modified, "quantity"));
    EXPECT_EQ(dLimitUp - 5, Num(modified, "price"));
    EXPECT_EQ("3000", GetField(HoldingOf(sim, "viewer", "101"), "reserved"));
    EXPECT_EQ(SIM_ERR_SHARES,
              sim.ModifyOrder(nSaleNo, Request("101", SIM_SIDE_SELL, SIM_TYPE_LIMIT, nHeld + 1, dLimitUp), &modified, &strInsert));
    EXPECT_EQ(std::to_string(nHeld), strInsert) << "the order's own shares count as available";
    CSimRecord cancelled;
    ASSERT_EQ(0, sim.CancelOrder("viewer", "viewer", nSaleNo, &cancelled, &strInsert));
    EXPECT_EQ("5", GetField(cancelled, "status"));
    EXPECT_EQ("0", GetField(HoldingOf(sim, "viewer", "101"), "reserved"));
    EXPECT_EQ(SIM_ERR_NOT_OPEN, sim.CancelOrder("viewer", "viewer", nSaleNo, &cancelled, &strInsert));
    EXPECT_EQ(std::to_string(nSaleNo), strInsert);

    // Cash adds up from the fills.
    double dSpent = 0;
    for (const CSimRecord& fill : sim.Orders().GetFills("viewer", 0, TEST_DATE, TEST_DATE))
        dSpent += Num(fill, "side") == 1 ? Num(fill, "net") : -Num(fill, "net");
    EXPECT_NEAR(dCashBefore - dSpent, Num(CashOf(sim, "viewer", "KWD"), "balance"), 0.002);
    EXPECT_EQ(2u, sim.Orders().GetOrders("viewer", 2, TEST_DATE, TEST_DATE).size());
}

TEST(SimOrders, RefusalsCarryTheirCodeAndInsertAndChangeNothing)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 4));
    sim.Login("viewer", "viewer");
    sim.Login("trader", "secret");
    const CSimRecord cashBefore = CashOf(sim, "viewer", "KWD");
    const double dPrice = Num(sim.Market().GetQuote(*sim.Market().Find(2, "103")), "ask");
    CSimRecord rec;
    std::string strInsert;

    CSimOrderRequest req = Request("103", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 1000, dPrice);
    req.strPassword = "wrong";
    EXPECT_EQ(SIM_ERR_PASSWORD, sim.SendOrder(req, &rec, &strInsert));
    req.strUser = "nobody";
    EXPECT_EQ(SIM_ERR_ACCOUNT, sim.SendOrder(req, &rec, &strInsert));

    const struct { CSimOrderRequest req; int nError; const char* pszInsert; } cases[] = {
        {Request("103", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 10000000, dPrice), SIM_ERR_CASH, "250000.000"},
        {Request("101", SIM_SIDE_SELL, SIM_TYPE_LIMIT, 25001, 842), SIM_ERR_SHARES, "25000"},
        {Request("103", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 1000, 388.5), SIM_ERR_TICK, "1.0"},
        {Request("104", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 1000, 74.55), SIM_ERR_TICK, "0.1"},
        {Request("103", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 1000, 500), SIM_ERR_LIMITS, "311.0 - 465.0"},
        {Request("103", SIM_SIDE_BUY, SIM_TYPE_STOP, 1000, 0, 250), SIM_ERR_LIMITS, "311.0 - 465.0"},
        {Request("999", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 1000, 100), SIM_ERR_SYMBOL, "999"},
        {Request("103", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 0, dPrice), SIM_ERR_QUANTITY, "1"},
    };
    for (const auto& c : cases) {
        strInsert.clear();
        EXPECT_EQ(c.nError, sim.CheckOrder(c.req, &rec, &strInsert)) << c.req.strSymbol << " " << c.req.dPrice;
        EXPECT_EQ(c.pszInsert, strInsert) << c.req.strSymbol << " " << c.req.dPrice;
        EXPECT_EQ(c.nError, sim.SendOrder(c.req, &rec, &strInsert));
    }
    EXPECT_EQ(0u, sim.GetPendingCount()) << "a refusal sends nothing";
    EXPECT_EQ(RecordText(cashBefore), RecordText(CashOf(sim, "viewer", "KWD")));
    EXPECT_TRUE(sim.Orders().GetOrders("viewer", 0, 20000101, 20991231).empty());

    // Another user's order is not open to this one.
    CSimOrderRequest theirs = Request("107", SIM_SIDE_SELL, SIM_TYPE_LIMIT, 100, 1350);
    theirs.strUser = "trader";
    theirs.strPassword = "secret";
    ASSERT_EQ(0, sim.SendOrder(theirs, &rec, &strInsert));
    const int64_t nTheirs = atoll(GetField(rec, "order_no").c_str());
    EXPECT_EQ(SIM_ERR_NOT_OPEN, sim.CancelOrder("viewer", "viewer", nTheirs, &rec, &strInsert));
    EXPECT_EQ(SIM_ERR_PASSWORD, sim.CancelOrder("trader", "viewer", nTheirs, &rec, &strInsert));
    EXPECT_EQ(0, sim.CancelOrder("trader", "secret", nTheirs, &rec, &strInsert));
}

TEST(SimOrders, CheckAnswersWithValueAndCharges)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 8));
    sim.Login("viewer", "viewer");
    const CSimRecord quote = sim.Market().GetQuote(*sim.Market().Find(2, "101"));
    CSimRecord review;
    std::string strInsert;
    ASSERT_EQ(0, sim.CheckOrder(Request("101", SIM_SIDE_BUY, SIM_TYPE_LIMIT, 10000, Num(quote, "ask")), &review, &strInsert));
    const double dValue = 10000 * Num(quote, "ask") / 1000;     // fils to dinars
    EXPECT_NEAR(dValue, Num(review, "value"), 0.0005);
    EXPECT_NEAR(std::max(2.0, dValue * 0.00125), Num(review, "commission"), 0.0005);
    EXPECT_NEAR(dValue * 0.00035, Num(review, "exchange_fee") + Num(review, "clearing_fee"), 0.001);
    EXPECT_NEAR(dValue + Num(review, "charges"), Num(review, "total"), 0.0005);
    EXPECT_EQ(GetField(CashOf(sim, "viewer", "KWD"), "available"), GetField(review, "cash_available"));
    EXPECT_EQ("25000", GetField(review, "shares_available"));
    EXPECT_EQ(0u, sim.GetPendingCount()) << "a check changes nothing";

    // A market buy counts at the highest offer of the book; a small value pays the least commission.
    ASSERT_EQ(0, sim.CheckOrder(Request("104", SIM_SIDE_BUY, SIM_TYPE_MARKET, 500, 0), &review, &strInsert));
    double dHighest = 0;
    for (const CSimRecord& level : sim.Market().GetBook(*sim.Market().Find(2, "104")))
        dHighest = Num(level, "ask_qty") > 0 ? std::max(dHighest, Num(level, "price")) : dHighest;
    EXPECT_EQ(dHighest, Num(review, "est_price"));
    EXPECT_EQ("2.000", GetField(review, "commission"));

    // An order that takes three levels pays the least commission once, not per level.
    std::vector<CSimRecord> asks;
    for (const CSimRecord& level : sim.Market().GetBook(*sim.Market().Find(2, "111")))
        if (Num(level, "ask_qty") > 0)
            asks.insert(asks.begin(), level);
    ASSERT_GE(asks.size(), 3u);
    long long nQty = 0;
    for (int i = 0; i < 3; ++i)
        nQty += atoll(GetField(asks[static_cast<size_t>(i)], "ask_qty").c_str());
    CSimRecord order;
    ASSERT_EQ(0, sim.SendOrder(Request("111", SIM_SIDE_BUY, SIM_TYPE_LIMIT, nQty, Num(asks[2], "price")), &order, &strInsert));
    EXPECT_EQ("3", GetField(order, "status"));
    double dCommission = 0, dValue3 = 0;
    int nFills = 0;
    for (const CSimRecord& fill : sim.Orders().GetFills("viewer", 2, TEST_DATE, TEST_DATE)) {
        dCommission += Num(fill, "commission");
        dValue3 += Num(fill, "value");
        ++nFills;
    }
    EXPECT_EQ(3, nFills);
    EXPECT_NEAR(std::max(2.0, dValue3 * 0.00125), dCommission, 0.002);
}

TEST(SimOrders, StopWaitsForTheLastPriceThenTradesAgainstTheBook)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 12));
    sim.Login("viewer", "viewer");
    const CSimRecord quote = sim.Market().GetQuote(*sim.Market().Find(2, "101"));
    CSimRecord order;
    std::string strInsert;
    // A sell stop at the day's upper limit: the first trade of the stock reaches it.
    ASSERT_EQ(0, sim.SendOrder(Request("101", SIM_SIDE_SELL, SIM_TYPE_STOP, 1000, 0, Num(quote, "limit_up")), &order, &strInsert));
    EXPECT_EQ("1", GetField(order, "status"));
    EXPECT_EQ("0", GetField(order, "filled_qty"));
    TakePending(sim);
    std::vector<TakenEvent> seen;
    ASSERT_TRUE(WalkUntilStatus(sim, GetField(order, "order_no"), SIM_STATUS_FILLED, &seen));
    std::vector<std::string> statuses;
    for (const TakenEvent& ev : seen)
        if (ev.nType == SIM_ORDER)
            statuses.push_back(GetField(ev.rec, "status"));
    EXPECT_EQ("2", statuses.front()) << "triggered before it trades";
    EXPECT_EQ(24000, atoll(GetField(HoldingOf(sim, "viewer", "101"), "quantity").c_str()));

    // The sale realized its gain over the average cost of 790 fils, net of charges.
    const std::vector<CSimRecord> realized = sim.Accounts().GetRealized(*sim.Accounts().Find("viewer"), 2, TEST_DATE, TEST_DATE);
    ASSERT_FALSE(realized.empty());
    double dProfit = 0, dExpected = 0;
    for (const CSimRecord& rec : realized) {
        dProfit += Num(rec, "profit");
        dExpected += Num(rec, "proceeds") - Num(rec, "charges") - Num(rec, "quantity") * 0.790;
    }
    EXPECT_NEAR(dExpected, dProfit, 0.002);
}
