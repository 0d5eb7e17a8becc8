// Accounts: one per user, shared by the user's sessions; opening positions and their history;
// reports within date ranges; margin and forward figures.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include "tests/tools/testserver/model/SimTestSupport.h"

TEST(SimAccounts, EachUserHasOneAccountOfTheirOwn)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 21));
    const int nDemo = sim.Login("viewer", "viewer");
    const int nTrader = sim.Login("trader", "secret");
    EXPECT_NE(nDemo, nTrader);
    EXPECT_EQ(nDemo, sim.Login("viewer", "viewer")) << "a second session of the user shares the account";
    const int nGuest = sim.Login("guest", "guest");
    EXPECT_NE(nGuest, nDemo);
    EXPECT_EQ(7001, sim.Login("role16", "x", 7001)) << "the server's accounts file names the number";

    // A user the portfolios do not name starts with the "*" lines.
    std::map<std::string, std::string> guestCash;
    for (const CSimRecord& rec : sim.Accounts().GetCash(*sim.Accounts().Find("guest")))
        guestCash[GetField(rec, "currency")] = GetField(rec, "balance");
    EXPECT_EQ((std::map<std::string, std::string>{{"KWD", "50000.000"}, {"USD", "100000.000"}}), guestCash);

    // The trader's buy moves the trader's money, nobody else's.
    const std::string strDemoBefore = RecordText(sim.Accounts().GetCash(*sim.Accounts().Find("viewer"))[0]);
    CSimOrderRequest req;
    req.strUser = "trader";
    req.strPassword = "secret";
    req.nMarket = 8;
    req.strSymbol = "BRKT";
    req.nSide = SIM_SIDE_BUY;
    req.nType = SIM_TYPE_MARKET;
    req.nQty = 100;
    CSimRecord order;
    std::string strInsert;
    ASSERT_EQ(0, sim.SendOrder(req, &order, &strInsert));
    EXPECT_EQ("3", GetField(order, "status"));
    EXPECT_EQ(strDemoBefore, RecordText(sim.Accounts().GetCash(*sim.Accounts().Find("viewer"))[0]));
    bool bTraderUsd = false;
    for (const CSimRecord& rec : sim.Accounts().GetCash(*sim.Accounts().Find("trader")))
        bTraderUsd = bTraderUsd || (GetField(rec, "currency") == "USD" && Num(rec, "balance") < 2000000);
    EXPECT_TRUE(bTraderUsd) << "a US trade settles in dollars";
    while (sim.GetPendingCount() > 0) {
        const CSimEvent& ev = *sim.Next();
        if (ev.nType >= SIM_ORDER) {
            EXPECT_EQ("trader", ev.strUser);
        }
    }
}

TEST(SimAccounts, OpeningHistoryAddsUpToThePortfolio)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 22));
    sim.Login("viewer", "viewer");
    const CSimAccount& account = *sim.Accounts().Find("viewer");
    std::map<std::string, double> sums;
    for (const CSimRecord& rec : sim.Accounts().GetTransactions(account, 0, 20000101, 20991231))
        sums[GetField(rec, "currency")] += Num(rec, "amount");
    std::map<std::string, double> balances;
    std::map<std::string, long long> quantities;
    for (const CSimRecord& row : sim.Tables().Get("portfolios").rows) {
        if (GetField(row, "user") != "viewer")
            continue;
        if (GetField(row, "kind") == "C")
            balances[GetField(row, "symbol")] = Num(row, "quantity");
        else if (GetField(row, "kind") == "H")
            quantities[GetField(row, "symbol")] = atoll(GetField(row, "quantity").c_str());
    }
    for (const auto& entry : balances)
        EXPECT_NEAR(entry.second, sums[entry.first], 0.002) << entry.first;
    for (const CSimRecord& rec : sim.Accounts().GetHoldings(account, 0)) {
        EXPECT_EQ(quantities[GetField(rec, "symbol")], atoll(GetField(rec, "quantity").c_str())) << GetField(rec, "symbol");
        EXPECT_NEAR(Num(rec, "market_value") - Num(rec, "cost"), Num(rec, "unrealized"), 0.002);
    }
    EXPECT_EQ(quantities.size(), sim.Accounts().GetHoldings(account, 0).size());
    EXPECT_EQ(3u, sim.Accounts().GetHoldings(account, 2).size()) << "KSE holdings only";

    // Margin: equity is cash and holdings in dinars.
    const CSimRecord margin = sim.Accounts().GetMargin(account);
    EXPECT_NEAR(Num(margin, "cash") + Num(margin, "holdings_value"), Num(margin, "equity"), 0.002);
    EXPECT_EQ("0", GetField(margin, "call"));
    EXPECT_EQ(2u, sim.Accounts().GetForwardContracts(account).size());
}

TEST(SimAccounts, ReportsAnswerWithinTheirDateRange)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 23));
    sim.Login("viewer", "viewer");
    CSimOrderRequest req;
    req.strUser = "viewer";
    req.strPassword = "viewer";
    req.nMarket = 2;
    req.strSymbol = "101";
    req.nSide = SIM_SIDE_SELL;
    req.nType = SIM_TYPE_MARKET;
    req.nQty = 500;
    CSimRecord order;
    std::string strInsert;
    ASSERT_EQ(0, sim.SendOrder(req, &order, &strInsert));
    const CSimAccount& account = *sim.Accounts().Find("viewer");

    const std::vector<CSimRecord> all = sim.Accounts().GetTransactions(account, 0, 20000101, 20991231);
    ASSERT_GE(all.size(), 8u);
    std::vector<int> dates;
    for (const CSimRecord& rec : all)
        dates.push_back(CSimClock::FromServerDate(GetField(rec, "date")));
    for (size_t i = 1; i < dates.size(); ++i)
        EXPECT_LE(dates[i - 1], dates[i]) << "oldest first";
    EXPECT_EQ(TEST_DATE, dates.back()) << "today's sale";

    // Every range between two of the dates: exactly the transactions inside it.
    for (size_t a = 0; a < dates.size(); ++a) {
        for (size_t b = a; b < dates.size(); ++b) {
            size_t nInside = 0;
            for (int nDate : dates)
                nInside += nDate >= dates[a] && nDate <= dates[b];
            const std::vector<CSimRecord> rows = sim.Accounts().GetTransactions(account, 0, dates[a], dates[b]);
            ASSERT_EQ(nInside, rows.size()) << dates[a] << " to " << dates[b];
        }
    }
    EXPECT_TRUE(sim.Accounts().GetTransactions(account, 0, TEST_DATE, TEST_DATE - 1).empty());
    // A market's history keeps the cash lines but only that market's trades.
    for (const CSimRecord& rec : sim.Accounts().GetTransactions(account, 1, 20000101, 20991231))
        EXPECT_TRUE(GetField(rec, "market").empty() || GetField(rec, "market") == "8") << RecordText(rec);

    const int nYesterday = CSimClock::PreviousTradingDate(TEST_DATE);
    EXPECT_EQ(1u, sim.Orders().GetOrders("viewer", 0, TEST_DATE, TEST_DATE).size());
    EXPECT_TRUE(sim.Orders().GetOrders("viewer", 0, nYesterday, nYesterday).empty());
    EXPECT_FALSE(sim.Orders().GetFills("viewer", 2, TEST_DATE, TEST_DATE).empty());
    EXPECT_TRUE(sim.Orders().GetFills("viewer", 1, TEST_DATE, TEST_DATE).empty());
    const std::vector<CSimRecord> realized = sim.Accounts().GetRealized(account, 0, TEST_DATE, TEST_DATE);
    ASSERT_FALSE(realized.empty());
    // The stock was the first holding bought, twenty trading days back.
    int nBought = TEST_DATE;
    for (int i = 0; i < 20; ++i)
        nBought = CSimClock::PreviousTradingDate(nBought);
    EXPECT_EQ(nBought, CSimClock::FromServerDate(GetField(realized[0], "buy_date")));
    EXPECT_EQ(TEST_DATE, CSimClock::FromServerDate(GetField(realized[0], "sell_date")));
    EXPECT_EQ("1", GetField(realized[0], "row"));
    EXPECT_TRUE(sim.Accounts().GetRealized(account, 0, nYesterday, nYesterday).empty());
}

TEST(SimAccounts, ConversionQuotesThenMovesCashAtTheListedRate)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 24));
    sim.Login("viewer", "viewer");
    CSimRecord quote;
    std::string strInsert;
    ASSERT_EQ(0, sim.ConvertCash("viewer", "KWD", "USD", 1000, /*bExecute=*/false, &quote, &strInsert));
    EXPECT_EQ("3.2626000", GetField(quote, "rate"));
    EXPECT_EQ("3262.600", GetField(quote, "converted"));
    EXPECT_EQ("0", GetField(quote, "done"));
    EXPECT_EQ(0u, sim.GetPendingCount()) << "a quote moves nothing";

    ASSERT_EQ(0, sim.ConvertCash("viewer", "KWD", "USD", 1000, /*bExecute=*/true, &quote, &strInsert));
    std::map<std::string, std::string> balances;
    for (const CSimRecord& rec : sim.Accounts().GetCash(*sim.Accounts().Find("viewer")))
        balances[GetField(rec, "currency")] = GetField(rec, "balance");
    EXPECT_EQ(GetField(quote, "from_after"), balances["KWD"]);
    EXPECT_EQ(GetField(quote, "to_after"), balances["USD"]);
    std::vector<int> types;
    while (sim.GetPendingCount() > 0)
        types.push_back(sim.Next()->nType);
    EXPECT_EQ((std::vector<int>{SIM_CASH, SIM_CASH, SIM_TRANSACTION, SIM_TRANSACTION, SIM_MARGIN}), types);

    // A pair not listed goes through the dinar.
    ASSERT_EQ(0, sim.ConvertCash("viewer", "USD", "EUR", 100, false, &quote, &strInsert));
    EXPECT_NEAR(0.3065 / 0.3312, Num(quote, "rate"), 1e-7);
    EXPECT_EQ(SIM_ERR_CONVERT, sim.ConvertCash("viewer", "KWD", "XXX", 100, false, &quote, &strInsert));
    EXPECT_EQ(SIM_ERR_CONVERT, sim.ConvertCash("viewer", "KWD", "USD", 0, false, &quote, &strInsert));
    EXPECT_EQ(SIM_ERR_CONVERT_CASH, sim.ConvertCash("viewer", "KWD", "USD", 1e9, true, &quote, &strInsert));
    EXPECT_EQ(balances["KWD"] , strInsert);

    // The performance over the run: what came in and what was gained make today's value.
    const CSimRecord perf = sim.Accounts().GetPerformance(*sim.Accounts().Find("viewer"), 0, 20000101, TEST_DATE);
    EXPECT_NEAR(Num(perf, "opening_value") + Num(perf, "deposits") - Num(perf, "withdrawals") + Num(perf, "realized") +
                    Num(perf, "unrealized"),
                Num(perf, "closing_value"), 0.01);
    EXPECT_EQ("KWD", GetField(perf, "currency"));
}

TEST(SimAccounts, AForwardOrderOpensAContractAtTheSeriesQuote)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 24));
    sim.Login("trader", "secret");
    const CSimAccount& account = *sim.Accounts().Find("trader");
    CSimForwardRequest req;
    req.strUser = "trader";
    req.strPassword = "secret";
    req.nStock = 107;
    req.nMonths = 3;
    req.nSide = 2;
    req.nQty = 1000;
    const std::vector<CSimRecord> quotes = sim.Market().GetForwards();
    const CSimRecord* pSeries = nullptr;
    for (const CSimRecord& quote : quotes)
        if (GetField(quote, "stock") == "107" && GetField(quote, "months") == "3")
            pSeries = &quote;
    ASSERT_NE(nullptr, pSeries);
    const double dBid = Num(*pSeries, "bid");
    const size_t nBefore = account.forwards.size();

    // Refusals open nothing.
    CSimRecord contract;
    std::string strInsert;
    req.strPassword = "wrong";
    EXPECT_EQ(SIM_ERR_PASSWORD, sim.PlaceForward(req, &contract, &strInsert));
    req.strPassword = "secret";
    req.nMonths = 6;
    EXPECT_EQ(SIM_ERR_SYMBOL, sim.PlaceForward(req, &contract, &strInsert));
    EXPECT_EQ("107", strInsert);
    req.nMonths = 3;
    EXPECT_EQ(nBefore, account.forwards.size());
    EXPECT_EQ(0u, sim.GetPendingCount());

    // A sale without a price takes the series' bid; the contract matures three periods on.
    CSimRecord review;
    ASSERT_EQ(0, sim.CheckForward(req, &review, &strInsert));
    EXPECT_DOUBLE_EQ(dBid, Num(review, "price"));
    EXPECT_NEAR(dBid, Num(review, "value"), 0.001) << "a thousand shares, fils to dinars";
    EXPECT_LT(Num(review, "total"), Num(review, "value")) << "a sale's charges come off its value";
    ASSERT_EQ(0, sim.PlaceForward(req, &contract, &strInsert));
    ASSERT_EQ(nBefore + 1, account.forwards.size());
    EXPECT_EQ(std::to_string(nBefore + 1), GetField(contract, "contract_no"));
    EXPECT_EQ(GetField(review, "maturity"), GetField(contract, "maturity"));
    std::vector<int> types;
    while (sim.GetPendingCount() > 0)
        types.push_back(sim.Next()->nType);
    EXPECT_EQ((std::vector<int>{SIM_FORWARD_ORDER, SIM_FORWARD_FILL, SIM_FORWARD_ORDER, SIM_CONTRACT, SIM_FORWARD_TRADE}), types);
    EXPECT_EQ(nBefore + 1, sim.Accounts().GetForwardContracts(account).size());
}
