// The forward board's resting orders, actions on a contract, and option positions exercised
// into their underlying: what each changes in the account and the events it makes.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>
#include "tests/tools/testserver/model/SimTestSupport.h"

namespace {

double Cash(const CSimulator& sim, const char* pszUser, const char* pszCurrency)
{
    for (const CSimRecord& rec : sim.Accounts().GetCash(*sim.Accounts().Find(pszUser)))
        if (GetField(rec, "currency") == pszCurrency)
            return Num(rec, "balance");
    return 0;
}

CSimRecord Series(const CSimulator& sim, const char* pszStock, const char* pszMonths)
{
    for (const CSimRecord& quote : sim.Market().GetForwards())
        if (GetField(quote, "stock") == pszStock && GetField(quote, "months") == pszMonths)
            return quote;
    return {};
}

std::vector<int> TakeTypes(CSimulator& sim)
{
    std::vector<int> types;
    while (sim.GetPendingCount() > 0)
        types.push_back(sim.Next()->nType);
    return types;
}

}  // namespace

TEST(SimForwards, AnOrderAwayFromTheQuoteRestsUntilTheSeriesComesToIt)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 31));
    sim.Login("trader", "secret");
    const CSimAccount& account = *sim.Accounts().Find("trader");
    const size_t nContracts = account.forwards.size();
    // A buy between the series' price and its ask: not reached now, reached once the stock dips.
    const CSimRecord quote = Series(sim, "101", "1");
    const double dLimit = (Num(quote, "price") + Num(quote, "ask")) / 2;
    CSimForwardRequest req;
    req.strUser = "trader";
    req.strPassword = "secret";
    req.nStock = 101;
    req.nMonths = 1;
    req.nQty = 2000;
    req.dPrice = std::floor(dLimit * 1000) / 1000;
    CSimRecord order;
    std::string strInsert;
    ASSERT_EQ(0, sim.PlaceForward(req, &order, &strInsert));
    EXPECT_EQ("1", GetField(order, "status"));
    EXPECT_EQ("", GetField(order, "contract_no"));
    EXPECT_EQ(nContracts, account.forwards.size()) << "nothing opens while it rests";
    EXPECT_EQ(std::vector<int>{SIM_FORWARD_ORDER}, TakeTypes(sim));

    const CSimEvent* pFill = nullptr;
    std::vector<int> after;
    for (int i = 0; i < 200000 && !pFill; ++i) {
        const CSimEvent* pEv = sim.Next();
        if (pEv->nType == SIM_FORWARD_FILL) {
            pFill = pEv;
            after = TakeTypes(sim);
        }
    }
    ASSERT_NE(nullptr, pFill) << "the walk never reached the limit";
    EXPECT_EQ((std::vector<int>{SIM_FORWARD_ORDER, SIM_CONTRACT, SIM_FORWARD_TRADE}), after);
    ASSERT_EQ(nContracts + 1, account.forwards.size());
    EXPECT_DOUBLE_EQ(req.dPrice, account.forwards.back().dPrice) << "a resting order trades at its limit";
    const std::vector<CSimRecord> orders = sim.Accounts().GetForwardOrders(account);
    ASSERT_EQ(1u, orders.size());
    EXPECT_EQ("3", GetField(orders[0], "status"));
    EXPECT_EQ("2000", GetField(orders[0], "filled"));
    EXPECT_EQ(std::to_string(nContracts + 1), GetField(orders[0], "contract_no"));
    ASSERT_EQ(1u, sim.Accounts().GetForwardFills(account).size());
    EXPECT_EQ(GetField(orders[0], "order_no"), GetField(sim.Accounts().GetForwardFills(account)[0], "order_no"));
    EXPECT_EQ(1u, sim.Accounts().GetForwardTrades().size());
    EXPECT_FALSE(sim.Accounts().HasRestingForwards());
}

TEST(SimForwards, AContractClosesInPartsRollsOnAndPaysItsProfitInDinars)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 32));
    sim.Login("trader", "secret");
    const CSimAccount& account = *sim.Accounts().Find("trader");
    ASSERT_EQ(1u, account.forwards.size());
    const CSimAccount::Forward opened = account.forwards[0];    // a buy of 10,000 at 620
    EXPECT_EQ("7", GetField(sim.Accounts().GetForwardContracts(account)[0], "actions"));

    CSimContractAction req;
    req.strUser = "trader";
    req.strPassword = "secret";
    req.nContract = opened.nNo;
    CSimRecord result;
    std::string strInsert;
    req.nAction = 8;
    EXPECT_EQ(SIM_ERR_NO_ACTION, sim.CheckContractAction(req, &result, &strInsert)) << "not offered";
    req.nAction = SIM_CONTRACT_CLOSE;
    req.nQty = opened.nQty + 1;
    EXPECT_EQ(SIM_ERR_QUANTITY, sim.CheckContractAction(req, &result, &strInsert));
    EXPECT_EQ("10000", strInsert);
    req.nQty = 4000;
    req.dPrice = 650;
    req.strPassword = "wrong";
    EXPECT_EQ(SIM_ERR_PASSWORD, sim.ActOnContract(req, &result, &strInsert));
    req.strPassword = "secret";

    // The preview changes nothing; the close pays 4,000 x 30 fils.
    const double dKwd = Cash(sim, "trader", "KWD");
    ASSERT_EQ(0, sim.CheckContractAction(req, &result, &strInsert));
    EXPECT_EQ("120.000", GetField(result, "profit"));
    EXPECT_EQ("6000", GetField(result, "left"));
    EXPECT_EQ(0u, sim.GetPendingCount());
    ASSERT_EQ(0, sim.ActOnContract(req, &result, &strInsert));
    EXPECT_NEAR(dKwd + 120.0, Cash(sim, "trader", "KWD"), 1e-9);
    EXPECT_EQ(6000, account.forwards[0].nQty);
    EXPECT_EQ((std::vector<int>{SIM_CASH, SIM_TRANSACTION, SIM_MARGIN, SIM_CONTRACT}), TakeTypes(sim));

    // A roll moves the maturity on by the series' month and keeps the price.
    req.nAction = SIM_CONTRACT_ROLL;
    ASSERT_EQ(0, sim.ActOnContract(req, &result, &strInsert));
    EXPECT_LT(opened.nMaturity, account.forwards[0].nMaturity);
    EXPECT_EQ(CSimClock::ServerDate(account.forwards[0].nMaturity), GetField(result, "maturity"));
    EXPECT_DOUBLE_EQ(opened.dPrice, account.forwards[0].dPrice);

    // Closing the rest at a loss ends the contract: no more actions.
    req.nAction = SIM_CONTRACT_CLOSE;
    req.nQty = 0;
    req.dPrice = 600;
    const double dBefore = Cash(sim, "trader", "KWD");
    ASSERT_EQ(0, sim.ActOnContract(req, &result, &strInsert));
    EXPECT_NEAR(dBefore - 120.0, Cash(sim, "trader", "KWD"), 1e-9);
    const CSimRecord contract = sim.Accounts().GetForwardContracts(account)[0];
    EXPECT_EQ("2", GetField(contract, "status"));
    EXPECT_EQ("0", GetField(contract, "actions"));
    EXPECT_EQ(SIM_ERR_NOT_OPEN, sim.ActOnContract(req, &result, &strInsert));
}

TEST(SimOptions, AnExerciseDeliversTheUnderlyingAtTheStrike)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 33));
    sim.Login("trader", "secret");
    const CSimAccount& account = *sim.Accounts().Find("trader");
    std::vector<std::string> symbols;
    for (const CSimRecord& rec : sim.Accounts().GetOptionPositions(account))
        symbols.push_back(GetField(rec, "symbol") + " " + GetField(rec, "name") + " " + GetField(rec, "quantity"));
    EXPECT_EQ((std::vector<std::string>{"ALPNLI ALPN 261218C45 5", "GLNTXN GLNT 261218P70 3", "CDRXAM CDRX 270115C65 2"}), symbols);

    auto shares = [&](const char* pszSymbol) {
        for (const CSimRecord& rec : sim.Accounts().GetHoldings(account, 0))
            if (GetField(rec, "symbol") == pszSymbol)
                return static_cast<long>(Num(rec, "quantity"));
        return 0L;
    };
    CSimOptionRequest req;
    req.strUser = "trader";
    req.strSymbol = "ALPNLI";
    req.nContracts = 6;
    CSimRecord terms;
    std::string strInsert;
    EXPECT_EQ(SIM_ERR_QUANTITY, sim.Exercise(req, &terms, &strInsert)) << "five held";
    req.nContracts = 2;
    const double dUsd = Cash(sim, "trader", "USD");
    ASSERT_EQ(0, sim.Exercise(req, &terms, &strInsert));
    EXPECT_EQ("9000.0000", GetField(terms, "amount")) << "200 shares at 45";
    EXPECT_EQ("200", GetField(terms, "shares_after"));
    EXPECT_EQ(0u, sim.GetPendingCount()) << "the terms change nothing";

    req.bExecute = true;
    ASSERT_EQ(0, sim.Exercise(req, &terms, &strInsert));
    EXPECT_EQ(200, shares("ALPN"));
    const double dPaid = dUsd - Cash(sim, "trader", "USD");
    EXPECT_GE(dPaid, 9000.0);
    EXPECT_LT(dPaid, 9100.0) << "the strike and small charges";
    EXPECT_EQ("3", GetField(sim.Accounts().GetOptionPositions(account)[0], "quantity"));
    const std::vector<CSimRecord> fills = sim.Orders().GetFills("trader", 0, 0, 99991231);
    ASSERT_EQ(1u, fills.size());
    EXPECT_NE("", GetField(fills[0], "order_no")) << "the exercise is an order of its own";
    EXPECT_DOUBLE_EQ(45.0, Num(fills[0], "price"));
    EXPECT_EQ((std::vector<int>{SIM_FILL, SIM_HOLDING, SIM_CASH, SIM_TRANSACTION, SIM_MARGIN, SIM_ORDER, SIM_HOLDING}),
              TakeTypes(sim));

    // A put sells the shares held at its strike; without them it is refused.
    req.strSymbol = "GLNTXN";
    req.nContracts = 3;
    const long nGlnt = shares("GLNT");
    ASSERT_EQ(0, sim.Exercise(req, &terms, &strInsert));
    EXPECT_EQ(nGlnt - 300, shares("GLNT"));
    req.strSymbol = "NOSUCH";
    EXPECT_EQ(SIM_ERR_SYMBOL, sim.Exercise(req, &terms, &strInsert));
    EXPECT_EQ("NOSUCH", strInsert);
}

TEST(SimOptions, AnExpirationInstructionStandsUntilChanged)
{
    CSimulator sim;
    ASSERT_TRUE(StartTestSimulator(sim, 34));
    sim.Login("trader", "secret");
    CSimOptionRequest req;
    req.strUser = "trader";
    req.strSymbol = "CDRXAM";
    CSimRecord rec;
    std::string strInsert;
    ASSERT_EQ(0, sim.Instruct(req, &rec, &strInsert));
    EXPECT_EQ("2", GetField(rec, "contracts")) << "every contract held, until told";
    EXPECT_EQ("0.0100", GetField(rec, "min_in_money"));
    req.bExecute = true;
    req.nContracts = 3;
    EXPECT_EQ(SIM_ERR_QUANTITY, sim.Instruct(req, &rec, &strInsert));
    req.nContracts = 1;
    req.dMinInMoney = 0.25;
    req.dLimit = 80;
    ASSERT_EQ(0, sim.Instruct(req, &rec, &strInsert));
    req.bExecute = false;
    ASSERT_EQ(0, sim.Instruct(req, &rec, &strInsert));
    EXPECT_EQ("1", GetField(rec, "contracts"));
    EXPECT_EQ("0.2500", GetField(rec, "min_in_money"));
    EXPECT_EQ("80.0000", GetField(rec, "limit"));
    EXPECT_EQ("2", GetField(rec, "held"));
}

// Contracts sold to open stand beside those bought, as the short side of the position: the
// premium received a share and the proceeds in the unit the cost is given in (a share's premium
// times the contracts), a series written only holding no contract long.
TEST(SimOptions, WrittenContractsAreTheShortSideOfTheirPosition)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("sim-written-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::copy(TESTSERVER_MARKET_DIR, dir, std::filesystem::copy_options::recursive);
    std::ofstream(dir / "portfolios.txt", std::ios::app) << "trader|W|16|ALPNLI|2|3.10\ntrader|W|16|ALPNXJ|1|4.25\n";
    CSimulator sim;
    std::string strError;
    const bool bStarted = sim.Start(dir.string(), 33, TEST_DATE, TEST_TIME, &strError);
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(bStarted) << strError;
    sim.Login("trader", "secret");
    std::vector<std::string> sides;
    for (const CSimRecord& rec : sim.Accounts().GetOptionPositions(*sim.Accounts().Find("trader")))
        sides.push_back(GetField(rec, "symbol") + " " + GetField(rec, "quantity") + " " + GetField(rec, "short_quantity") + " " +
                        GetField(rec, "short_avg") + " " + GetField(rec, "short_proceeds"));
    EXPECT_EQ((std::vector<std::string>{"ALPNLI 5 2 3.1000 6.200000", "GLNTXN 3 0 0.0000 0.000000", "CDRXAM 2 0 0.0000 0.000000",
                                        "ALPNXJ 0 1 4.2500 4.250000"}),
              sides);
}
