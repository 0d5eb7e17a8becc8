// An order's life over the wire: checked, refused for a wrong password, placed and partly
// filled against the book, the rest filled by the walk; another one resting, modified and
// cancelled; every change as the user's live lines, the cash and the shares adding up.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <map>
#include "SimSession.h"
#include "link/ServerMessage.h"

namespace {

std::string Joined(const std::vector<std::string>& v)
{
    std::string s;
    for (const std::string& line : v)
        s += line + "\n";
    return s;
}

struct Trader : CSimSession
{
    // The reply of one request, read as the terminal parses it.
    CServerMessage Ask(const std::string& strMnemonic, const std::string& strBody)
    {
        const long nLink = Request(strMnemonic, strBody);
        const std::string strPrefix = "~" + strMnemonic + "|" + std::to_string(nLink) + "|";
        std::vector<std::string> got;
        client.ReadUntil(strPrefix, 3000, &got);
        lines.insert(lines.end(), got.begin(), got.end());
        for (const std::string& line : got)
            if (line.rfind(strPrefix, 0) == 0)
                return CServerMessage(line.c_str(), 1);
        return CServerMessage("", 1);
    }
    // A KSE check of stock 101: (cash available, shares available).
    std::pair<double, long> Holdings()
    {
        const CServerMessage buy = Ask("KV", "||1002|10020|1|1|101|500|0|800.0||0|||");
        const CServerMessage sell = Ask("KV", "||1002|10020|1|2|101|500|0|800.0||0|||");
        // With no shares the sale is refused, the shares available its insert.
        return {buy.GetDouble(14, 0), sell.GetLong(0) == 432 ? sell.GetLong(1) : sell.GetLong(15)};
    }
    // The statuses an order's live lines gave it, in order.
    std::vector<long> Statuses(const std::string& strOrder) const
    {
        std::vector<long> out;
        for (const std::string& line : lines) {
            const CServerMessage msg(line.c_str(), 1);
            if (line.rfind("~NS|", 0) == 0 && std::string(msg.GetFieldText(0)) == strOrder)
                out.push_back(msg.GetLong(16));
        }
        return out;
    }
    // The rows of the first reply whose header starts so.
    std::vector<std::string> RowsOf(const std::string& strHead) const
    {
        std::vector<std::string> rows;
        bool bIn = false;
        for (const std::string& line : lines) {
            if (bIn && line[0] == '~')
                break;
            if (bIn)
                rows.push_back(line);
            bIn = bIn || line.rfind(strHead, 0) == 0;
        }
        return rows;
    }
    long Status(const std::string& strOrder) const
    {
        const std::vector<long> statuses = Statuses(strOrder);
        return statuses.empty() ? 0 : statuses.back();
    }
};

TEST(OrderLife, PlacedFilledRestingModifiedCancelledAndTheAccountAddsUp)
{
    Trader s;
    ASSERT_TRUE(s.Start({"--rate", "5000"}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    const auto [dCashBefore, nSharesBefore] = s.Holdings();
    ASSERT_GT(dCashBefore, 0);

    // The book of the stock: its best offer and the quantity there.
    s.Request("OB", "");
    s.client.ReadUntil("~EN|", 3000, &s.lines);
    double dAsk = 0, dBid = 0;
    long nAskQty = 0;
    for (const std::string& line : s.lines) {
        const CServerMessage row(line.c_str(), 1);
        if (line[0] == '~' || std::string(row.GetFieldText(0)) != "101")
            continue;
        if (row.GetLong(5) > 0 && (dAsk == 0 || row.GetDouble(1, 0) < dAsk)) {
            dAsk = row.GetDouble(1, 0);
            nAskQty = row.GetLong(5);
        }
        if (row.GetLong(3) > 0)
            dBid = std::max(dBid, row.GetDouble(1, 0));
    }
    ASSERT_GT(dAsk, 0);
    ASSERT_GT(dBid, 0);
    char szAsk[32], szLow[32];
    snprintf(szAsk, sizeof szAsk, "%.1f", dAsk);
    snprintf(szLow, sizeof szLow, "%.1f", std::floor(dBid * 0.09) * 10);    // on every band's tick

    // The check prices the order; a wrong password refuses it with its text's code.
    const std::string strQty = std::to_string(nAskQty + 500);
    const std::string strOrder = "||1002|10020|1|1|101|" + strQty + "|0|" + szAsk + "||0|||";
    const CServerMessage check = s.Ask("KV", strOrder);
    EXPECT_EQ(0, check.GetLong(0));
    EXPECT_STREQ("101", check.GetFieldText(6));
    EXPECT_GT(check.GetDouble(22, 0), check.GetDouble(17, 0)) << "a buy costs its value and the charges";
    EXPECT_EQ(105, s.Ask("KR", strOrder + "wrong").GetLong(0));
    EXPECT_EQ(2, s.Ask("KV", "||1002|10020|2|1|101|50|0|" + std::string(szAsk) + "||0|||").GetLong(4))
        << "the odd-lot ticket's board comes back";

    // Placed: the offer's quantity trades at once, the rest waits at the limit.
    const CServerMessage placed = s.Ask("KR", strOrder + "secret");
    ASSERT_EQ(0, placed.GetLong(0)) << Joined(s.lines);
    const std::string strNo = placed.GetFieldText(17);
    s.client.ReadUntil("~NX|", 2000, &s.lines);
    for (std::string& line : s.client.ReadFor(150))
        s.lines.push_back(std::move(line));
    ASSERT_LE(2u, s.Statuses(strNo).size()) << Joined(s.lines);
    EXPECT_EQ(2, s.Statuses(strNo)[0]) << "placed";
    EXPECT_EQ(6, s.Statuses(strNo)[1]) << "partly filled";

    // The walk fills the rest once its price reaches the limit.
    for (int i = 0; i < 40 && s.Status(strNo) != 3; ++i)
        for (std::string& line : s.client.ReadFor(100))
            s.lines.push_back(std::move(line));
    EXPECT_EQ(3, s.Status(strNo)) << "filled by the walk";

    // A second order rests far below the market, is modified and cancelled.
    const CServerMessage resting = s.Ask("KR", std::string("||1002|10020|1|1|101|1000|0|") + szLow + "||0|||secret");
    ASSERT_EQ(0, resting.GetLong(0)) << Joined(s.lines);
    const std::string strRest = resting.GetFieldText(17);
    const CServerMessage modified = s.Ask("KM", "||1002|10020|1|101|1500|0|" + std::string(szLow) + "||0|||" + strRest + "|secret");
    EXPECT_EQ(0, modified.GetLong(0)) << Joined(s.lines);
    EXPECT_EQ(1500, modified.GetLong(6));
    const CServerMessage cancelled = s.Ask("KC", "||1002|10020|" + strRest + "||||||||||||||||||||secret");
    EXPECT_EQ(0, cancelled.GetLong(0)) << Joined(s.lines);
    EXPECT_EQ(724, s.Ask("KC", "||1002|10020|" + strRest + "||||||||||||||||||||secret").GetLong(0)) << "not open any more";
    for (std::string& line : s.client.ReadFor(100))
        s.lines.push_back(std::move(line));
    EXPECT_EQ(5, s.Status(strRest));
    EXPECT_LE(2u, s.Lines("~NC|").size()) << "each order closed";
    // The trader reads the order and trade lines: the notices are for the restricted roles.
    EXPECT_EQ(0u, s.Lines("~NU|").size()) << Joined(s.Lines("~NU|"));

    // The fills are what moved the shares and the money.
    long nFilled = 0;
    double dPaid = 0, dCommission = 0;
    for (const std::string& line : s.lines) {
        if (line.rfind("~NX|", 0) != 0)
            continue;
        const CServerMessage fill(line.c_str(), 1);
        EXPECT_EQ(strNo, std::string(fill.GetFieldText(13)));
        nFilled += fill.GetLong(5);
        dPaid += fill.GetDouble(6, 0) * static_cast<double>(fill.GetLong(5)) / 1000.0;
        dCommission += fill.GetDouble(7, 0);
    }
    EXPECT_EQ(atol(strQty.c_str()), nFilled);
    const auto [dCashAfter, nSharesAfter] = s.Holdings();
    EXPECT_EQ(nSharesBefore + nFilled, nSharesAfter);
    const double dSpent = dCashBefore - dCashAfter;
    EXPECT_GE(dSpent + 0.001, dPaid + dCommission);
    EXPECT_LT(dSpent, (dPaid + dCommission) * 1.01) << "fees are a small part of the value";
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
}

TEST(OrderLife, UsOrdersCarryTheirResultWhereTheUsReadersReadIt)
{
    Trader s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    const CServerMessage unknown = s.Ask("OV", "1002|10020|1|NOSUCH|100|0|10.0||0||||ATLANTIC");
    EXPECT_EQ(652, unknown.GetLong(12));
    EXPECT_STREQ("NOSUCH", unknown.GetFieldText(13)) << "the text's insert";
    const CServerMessage check = s.Ask("OV", "1002|10020|1|ALPN|100|0|40.00||0||||ATLANTIC");
    EXPECT_EQ(0, check.GetLong(12));
    EXPECT_NEAR(4000.0, check.GetDouble(17, 0), 0.01) << "the value at the limit";
    const CServerMessage placed = s.Ask("OR", "1002|10020|1|ALPN|100|0|40.00||0|||secret");
    ASSERT_EQ(0, placed.GetLong(12));
    const std::string strNo = placed.GetFieldText(11);
    const CServerMessage cancelled = s.Ask("OC", "1002|10020|" + strNo + "|secret");
    EXPECT_EQ(0, cancelled.GetLong(3));
    EXPECT_EQ(strNo, std::string(cancelled.GetFieldText(2)));
    for (std::string& line : s.client.ReadFor(100))
        s.lines.push_back(std::move(line));
    const std::vector<std::string> status = s.Lines("~NO|");
    ASSERT_EQ(2u, status.size()) << Joined(s.lines);
    EXPECT_EQ(2, CServerMessage(status[0].c_str(), 1).GetLong(16));
    EXPECT_EQ(5, CServerMessage(status[1].c_str(), 1).GetLong(16));
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
}

// A US order goes to the market it names, whichever US market lists its symbol, and its status
// line names that market; an option's series trades on the options board alone, and a market
// the server has not, or the KSE, takes no US order: refused, the symbol its insert.
TEST(OrderLife, AUsOrderIsBookedOnTheMarketItNames)
{
    Trader s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    const struct { const char* pszMnemonic; const char* pszBody; int nError; int nBooked; } cases[] = {
        {"OV", "1002|10020|1|GLNT|100|0|60.00||0||||4", 0, 0},
        {"OR", "1002|10020|1|GLNT|100|0|60.00||0|||secret|||||4", 0, 4},
        {"OR", "1002|10020|1|GLNT|100|0|60.00||0|||secret|||||8", 0, 8},
        {"OR", "1002|10020|1|GLNT|100|0|60.00||0|||secret", 0, 8},
        {"OV", "1002|10020|1|GLNT|100|0|60.00||0||||2", 652, 0},
        {"OR", "1002|10020|1|GLNT|100|0|60.00||0|||secret|||||99", 652, 0},
        {"OR", "1002|10020|1|ALPN|1|0|1.50||0|||secret|||||8|||ALPN|2|50.00|261218", 652, 0},
        {"OR", "1002|10020|1|ALPN|1|0|1.50||0|||secret|||||16|||ALPN|2|50.00|261218", 0, 16},
    };
    for (const auto& c : cases) {
        const CServerMessage reply = s.Ask(c.pszMnemonic, c.pszBody);
        ASSERT_EQ(c.nError, reply.GetLong(12)) << c.pszBody << "\n" << Joined(s.lines);
        if (c.nError != 0) {
            EXPECT_STREQ(std::string(c.pszBody).find("|GLNT|") != std::string::npos ? "GLNT" : "ALPN", reply.GetFieldText(13));
        }
        if (c.nBooked == 0)
            continue;
        const std::string strNo = reply.GetFieldText(11);
        for (std::string& line : s.client.ReadFor(100))
            s.lines.push_back(std::move(line));
        int nTold = 0;
        for (const std::string& line : s.Lines("~NO|")) {
            const CServerMessage status(line.c_str(), 1);
            if (std::string(status.GetFieldText(0)) == strNo) {
                EXPECT_EQ(c.nBooked, status.GetLong(27)) << line;
                ++nTold;
            }
        }
        EXPECT_LT(0, nTold) << strNo << "\n" << Joined(s.lines);
    }
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
}

// A body whose field does not read as the protocol gives it is refused, the field its insert,
// before the model is asked: a date typed as yyyymmdd, a grouped quantity, a price with a
// letter, a side or a validity outside its table; the same body written right is taken.
TEST(OrderLife, ABodyThatDoesNotReadAsTheProtocolGivesIsRefused)
{
    Trader s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    const struct { const char* pszMnemonic; const char* pszBody; int nError, nInsert; const char* pszField; } cases[] = {
        {"OV", "1002|10020|1|ALPN|100|0|40.00||1|3|20261211||ATLANTIC", 12, 13, "10"},
        {"OV", "1002|10020|1|ALPN|1,000|0|40.00||0||||ATLANTIC", 12, 13, "4"},
        {"OV", "1002|10020|1|ALPN|100|0|4O.00||0||||ATLANTIC", 12, 13, "6"},
        {"OV", "1002|10020|9|ALPN|100|0|40.00||0||||ATLANTIC", 12, 13, "2"},
        {"KV", "||1002|10020|1|1|101|500|0|800.0||4|||", 0, 1, "11"},
        {"KV", "||1002|10020|1|1|101|500|0|800.0||1|3|2026-12-11|", 0, 1, "13"},
    };
    for (const auto& c : cases) {
        const CServerMessage reply = s.Ask(c.pszMnemonic, c.pszBody);
        EXPECT_EQ(901, reply.GetLong(c.nError)) << c.pszBody;
        EXPECT_STREQ(c.pszField, reply.GetFieldText(c.nInsert)) << c.pszBody;
    }
    EXPECT_EQ(0, s.Ask("OV", "1002|10020|1|ALPN|100|0|40.00||1|3|261211||ATLANTIC").GetLong(12)) << Joined(s.lines);
    EXPECT_EQ(0, s.Ask("KV", "||1002|10020|1|1|101|500|0|800.0||1|3|261211|").GetLong(0)) << Joined(s.lines);
}

// A forward order: checked at the series' quote, refused for a wrong password or a series the
// stock does not have, placed as a contract at once that the contract list, its live line and
// the forward board's trade line all show; one away from the quote rests until the walk brings
// the series to it; a contract is closed with its preview and action.
TEST(OrderLife, ForwardOrdersOpenContractsAtOnceOrOnceReachedAndContractsClose)
{
    Trader s;
    ASSERT_TRUE(s.Start({"--rate", "2000"}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    s.Ask("FQ", "");
    s.Ask("FE", "");
    const std::string strOrder = "||1002|10020|1|101|1000|0|3|1|850.0";
    const CServerMessage check = s.Ask("KU", strOrder);
    ASSERT_EQ(0, check.GetLong(0)) << Joined(s.lines);
    EXPECT_EQ(101, check.GetLong(5));
    EXPECT_EQ(1000, check.GetLong(6));
    EXPECT_DOUBLE_EQ(850.0, check.GetDouble(23, 0));
    EXPECT_DOUBLE_EQ(850.0, check.GetDouble(24, 0)) << "a thousand shares at 850 fils";
    EXPECT_GT(check.GetDouble(12, 0), 0.0) << "a commission";
    EXPECT_EQ(652, s.Ask("KU", "||1002|10020|1|101|1000|0|3|12|850.0").GetLong(0)) << "no twelve-month series";
    EXPECT_EQ(442, s.Ask("KU", "||1002|10020|1|101|0|0|3|1|850.0").GetLong(0));
    EXPECT_EQ(105, s.Ask("KA", strOrder + "|wrong").GetLong(0));

    const CServerMessage placed = s.Ask("KA", strOrder + "|secret");
    ASSERT_EQ(0, placed.GetLong(0)) << Joined(s.lines);
    EXPECT_STREQ("10020", placed.GetFieldText(3));
    EXPECT_DOUBLE_EQ(850.0, placed.GetDouble(10, 0));
    EXPECT_EQ(3, placed.GetLong(12)) << "filled at once";
    EXPECT_STRNE("", placed.GetFieldText(13)) << "the order";
    const std::string strContract = placed.GetFieldText(11);
    ASSERT_FALSE(strContract.empty());
    s.client.ReadUntil("~FM|", 2000, &s.lines);
    bool bUpdate = false, bTrade = false;
    for (const std::string& line : s.lines) {
        const CServerMessage msg(line.c_str(), 1);
        bUpdate = bUpdate || (line.rfind("~CU|", 0) == 0 && strContract == msg.GetFieldText(2) && msg.GetLong(6) == 1000);
        bTrade = bTrade || (line.rfind("~FM|", 0) == 0 && msg.GetLong(3) == 101 && msg.GetLong(6) == 1000);
    }
    EXPECT_TRUE(bUpdate) << "the contract's live line";
    EXPECT_TRUE(bTrade) << "the forward board's trade";
    s.Ask("KN", "||1002|10020|0|0|1000000|0|2|");
    s.client.ReadUntil("~EN|", 2000, &s.lines);
    const std::vector<std::string> rows = s.RowsOf("~KN|");
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(strContract, CServerMessage(rows.back().c_str(), 1).GetFieldText(2));

    // A buy between the series' price and its ask rests; the walk fills it at its limit.
    double dPrice = 0, dAsk = 0;
    for (const std::string& row : s.RowsOf("~FQ|")) {
        const CServerMessage msg(row.c_str(), 1);
        if (msg.GetLong(0) == 101 && msg.GetLong(2) == 1) {
            dPrice = msg.GetDouble(6, 0);
            dAsk = msg.GetDouble(10, 0);
        }
    }
    ASSERT_GT(dAsk, dPrice);
    char szLimit[32];
    snprintf(szLimit, sizeof szLimit, "%.3f", std::floor((dPrice + dAsk) / 2 * 1000) / 1000);
    const CServerMessage resting = s.Ask("KA", std::string("||1002|10020|1|101|2000|0|3|1|") + szLimit + "|secret");
    ASSERT_EQ(0, resting.GetLong(0)) << Joined(s.lines);
    EXPECT_EQ(1, resting.GetLong(12)) << "open";
    EXPECT_STREQ("", resting.GetFieldText(11)) << "no contract yet";
    const std::string strRestingNo = resting.GetFieldText(13);
    s.client.ReadUntil("~NW|", 8000, &s.lines);
    for (std::string& line : s.client.ReadFor(100))
        s.lines.push_back(std::move(line));
    std::vector<long> statuses;
    std::string strFilled;
    for (const std::string& line : s.lines) {
        const CServerMessage msg(line.c_str(), 1);
        if (line.rfind("~NF|", 0) == 0 && strRestingNo == msg.GetFieldText(0))
            statuses.push_back(msg.GetLong(11));
        if (line.rfind("~NW|", 0) == 0 && strRestingNo == msg.GetFieldText(13)) {
            EXPECT_EQ(2000, msg.GetLong(6));
            EXPECT_DOUBLE_EQ(atof(szLimit), msg.GetDouble(7, 0)) << "at its limit";
            strFilled = msg.GetFieldText(0);
        }
    }
    EXPECT_EQ((std::vector<long>{1, 3}), statuses) << "placed, then filled";
    ASSERT_FALSE(strFilled.empty()) << Joined(s.lines);
    const size_t nBefore = s.lines.size();
    s.Ask("KB", "||1002|10020|0|0|1000000|0||2");
    s.Ask("EF", "||1002|10020|0|0|0");
    s.client.ReadUntil("~EN|", 2000, &s.lines);
    s.Ask("FE", "");
    s.client.ReadUntil("~EN|", 2000, &s.lines);
    const std::vector<std::string> later(s.lines.begin() + static_cast<long>(nBefore), s.lines.end());
    auto hasRow = [&](const std::string& strPrefix, int nField, const std::string& strValue) {
        for (const std::string& line : later)
            if (line.rfind(strPrefix, 0) == 0 && line[0] != '~' && strValue == CServerMessage(line.c_str(), 1).GetFieldText(nField))
                return true;
        return false;
    };
    EXPECT_TRUE(hasRow(strRestingNo + "|", 11, "3")) << "the order among the forward orders, filled";
    EXPECT_TRUE(hasRow(strFilled + "|", 13, strRestingNo)) << "its fill among the forward trades";
    size_t nFeRows = 0;
    for (auto it = std::find_if(later.begin(), later.end(), [](const std::string& l) { return l.rfind("~FE|", 0) == 0; });
         it != later.end() && ++it != later.end() && (*it)[0] != '~';)
        ++nFeRows;
    EXPECT_EQ(2u, nFeRows) << "the day's forward trades: the order at once and the one that rested";

    // The first contract offers its actions; closed whole, it offers none and takes no more.
    const std::string strAction = "||1002|10020|2|261207|" + strContract + "|10020|1|101|1|0|0.0|0.0||||||0.0";
    const CServerMessage preview = s.Ask("KL", strAction);
    EXPECT_EQ(0, preview.GetLong(0)) << Joined(s.lines);
    EXPECT_EQ(2, preview.GetLong(4));
    EXPECT_EQ(strContract, std::string(preview.GetFieldText(6)));
    EXPECT_EQ(1000, preview.GetLong(11));
    EXPECT_EQ(500, s.Ask("KL", "||1002|10020|8|261207|" + strContract + "|10020|1|101|1|0|0.0|0.0||||||0.0").GetLong(0));
    const std::string strAct = "||1002|10020|2|261207|" + strContract + "|10020|1|101|1|0|||secret||||0.0";
    const CServerMessage acted = s.Ask("KI", strAct);
    ASSERT_EQ(0, acted.GetLong(0)) << Joined(s.lines);
    EXPECT_EQ(2, acted.GetLong(19)) << "closed";
    s.client.ReadUntil("~CU|", 2000, &s.lines);
    const std::vector<std::string> updates = s.Lines("~CU|");
    ASSERT_FALSE(updates.empty());
    const CServerMessage update(updates.back().c_str(), 1);
    EXPECT_EQ(strContract, std::string(update.GetFieldText(3)));
    EXPECT_EQ(0, update.GetLong(14)) << "no actions left";
    EXPECT_EQ(724, s.Ask("KI", strAct).GetLong(0));
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
}

// The trader's option position shows among the US holdings by its letters; the exercise form's
// terms change nothing, the exercise buys the underlying at the strike as a trade of the user;
// the expiration instruction stands as recorded.
TEST(OrderLife, AnOptionPositionIsExercisedIntoItsUnderlying)
{
    Trader s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    s.Ask("IH", "1002|10020|3");
    s.client.ReadUntil("~EN|", 2000, &s.lines);
    bool bListed = false;
    for (const std::string& row : s.RowsOf("~IH|")) {
        const CServerMessage msg(row.c_str(), 1);
        if (std::string(msg.GetFieldText(0)) == "ALPNLI") {
            bListed = true;
            EXPECT_EQ(5, msg.GetLong(1));
            EXPECT_STREQ("ALPN", msg.GetFieldText(19));
            EXPECT_EQ(1, msg.GetLong(20));
            EXPECT_DOUBLE_EQ(45.0, msg.GetDouble(21, 0));
            EXPECT_STREQ("261218", msg.GetFieldText(22));
        }
    }
    EXPECT_TRUE(bListed) << Joined(s.lines);

    const CServerMessage terms = s.Ask("XO", "||1002|0|10020|ALPNLI|16|2");
    ASSERT_EQ(0, terms.GetLong(0)) << Joined(s.lines);
    EXPECT_STREQ("ALPNLI", terms.GetFieldText(5));
    EXPECT_EQ(1, terms.GetLong(9));
    EXPECT_EQ(200, terms.GetLong(13));
    EXPECT_DOUBLE_EQ(9000.0, terms.GetDouble(14, 0));
    EXPECT_EQ(442, s.Ask("XO", "||1002|0|10020|ALPNLI|16|9").GetLong(0)) << "five held";
    EXPECT_EQ(652, s.Ask("XO", "||1002|0|10020|ZZZZAA|16|1").GetLong(0));
    EXPECT_TRUE(s.Lines("~NT|").empty()) << "the terms change nothing";

    const CServerMessage made = s.Ask("XO", "||1002|1|10020|ALPNLI|16|2");
    ASSERT_EQ(0, made.GetLong(0)) << Joined(s.lines);
    s.client.ReadUntil("~MN|", 2000, &s.lines);
    for (std::string& line : s.client.ReadFor(100))
        s.lines.push_back(std::move(line));
    const std::vector<std::string> trades = s.Lines("~NT|");
    ASSERT_EQ(1u, trades.size()) << Joined(s.lines);
    const CServerMessage trade(trades[0].c_str(), 1);
    EXPECT_STREQ("ALPN", trade.GetFieldText(3));
    EXPECT_EQ(200, trade.GetLong(4));
    EXPECT_DOUBLE_EQ(45.0, trade.GetDouble(5, 0));
    std::map<std::string, long> held;
    for (const std::string& line : s.Lines("~NH|"))
        held[CServerMessage(line.c_str(), 1).GetFieldText(0)] = CServerMessage(line.c_str(), 1).GetLong(1);
    EXPECT_EQ(200, held["ALPN"]);
    EXPECT_EQ(3, held["ALPNLI"]);

    const CServerMessage standing = s.Ask("XI", "||1002|10020|ALPNLI|16|0|||");
    ASSERT_EQ(0, standing.GetLong(0));
    EXPECT_EQ(3, standing.GetLong(7)) << "every contract held";
    EXPECT_EQ(0, s.Ask("XI", "||1002|10020|ALPNLI|16|1|1|0.500000|60.000000").GetLong(0));
    const CServerMessage recorded = s.Ask("XI", "||1002|10020|ALPNLI|16|0|||");
    EXPECT_EQ(1, recorded.GetLong(7));
    EXPECT_DOUBLE_EQ(0.5, recorded.GetDouble(8, 0));
    EXPECT_DOUBLE_EQ(60.0, recorded.GetDouble(9, 0));
    EXPECT_STREQ("ALPN 261218C45", recorded.GetFieldText(10));
    EXPECT_STREQ("261218", recorded.GetFieldText(13));
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
}

// The account requests with their bodies as the terminal builds them (the demo viewer's account).
const struct AccountRequest { const char *pszMnemonic, *pszBody; } s_accountRequests[] = {
    {"OS", "1001|10010|0|0|1000000|0||2"}, {"KS", "||1001|10010|0|0|0|1000000|0||2"}, {"KB", "||1001|10010|0|0|1000000|0||2"},
    {"ET", "1001|10010|0|0|0"}, {"EK", "||1001|10010|0|0|1000000|1"}, {"EF", "||1001|10010|0|0|0"},
    {"IH", "1001|10010|3"}, {"IK", "||1001|10010|3"}, {"UP", "1001|10010|2"}, {"UK", "||1001|10010|2"},
    {"RP", "1001|10010|261101|261231|||||2"}, {"RK", "||1001|10010|261101|261231|||||2"},
    {"TH", "1001|10010|261101|261231||||||||2"}, {"TK", "||1001|10010|261101|261231|||||2"},
    {"KN", "||1001|10010|0|0|1000000|0|2|"}, {"MD", "||1001|10010"}, {"ML", "||1001|10010|1"}, {"LM", "||1001|10010|2"},
    {"PF", "1001|10010|261101|261207"}, {"PK", "||1001|10010|261101|261207"}, {"PX", "1001|10010|261101|261207|KWD"},
    {"CC", "||1001|10010"}, {"RC", "||1001|10010|100.000000|=KWD|=USD|0.000000|0"},
    {"RC", "||1001|10010|100.000000|KWD|USD|0.000000|0"}, {"KD", "||1001|10010|261207|1"},
    {"PB", "||1001|10010||30.000|0.3010000|0.3070000"}, {"PB", "||1001|10010|99999999.00||0.3010000|0.3070000"},
    {"PB", "||1001|10010|||0.3010000|0.3070000"},
};

TEST(Accounts, ReportsEchoTheirRequestAndCarryTheFieldsTheReadersRead)
{
    Trader s;
    ASSERT_TRUE(s.Start({}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "viewer|viewer|");
    std::map<long, const AccountRequest*> asked;
    for (const AccountRequest& r : s_accountRequests)
        asked[s.Request(r.pszMnemonic, r.pszBody)] = &r;
    s.Drain();
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
    for (const AccountRequest& r : s_accountRequests)
        EXPECT_LE(1, s.checker.counts[r.pszMnemonic]) << r.pszMnemonic;
    // The header of each report holds the request's fields at their places, the error field aside.
    static const std::map<std::string, int> s_errorField = {{"OS", 8}, {"ET", 5}, {"IH", 3}, {"UP", 3}, {"RP", 9}, {"TH", 12}};
    for (const std::string& line : s.lines) {
        const CServerMessage msg(line.c_str(), 1);
        const long nLink = atol(line.substr(line.find('|') + 1).c_str());
        auto it = asked.find(nLink);
        if (line[0] != '~' || it == asked.end() || line.rfind(std::string("~") + it->second->pszMnemonic, 0) != 0 ||
            std::string("CC RC PF PX KD PB").find(it->second->pszMnemonic) != std::string::npos)
            continue;
        auto itError = s_errorField.find(it->second->pszMnemonic);
        const int nError = itError == s_errorField.end() ? 0 : itError->second;
        std::vector<std::string> body;
        std::string strBody = it->second->pszBody;
        for (size_t nBar; (nBar = strBody.find('|')) != std::string::npos; strBody.erase(0, nBar + 1))
            body.push_back(strBody.substr(0, nBar));
        body.push_back(strBody);
        for (size_t i = 0; i < body.size(); ++i) {
            if (static_cast<int>(i) == nError)
                continue;
            EXPECT_EQ(body[i], std::string(msg.GetFieldText(static_cast<int>(i)))) << line << " field " << i;
        }
    }
    // The conversion form's one line: both opening balances and the two rates it converts at.
    ASSERT_EQ(1u, s.Lines("~CC|").size());
    const CServerMessage form(s.Lines("~CC|")[0].c_str(), 1);
    EXPECT_STREQ("500000.00", form.GetFieldText(4));
    EXPECT_STREQ("250000.000", form.GetFieldText(5));
    EXPECT_STREQ("0.3062", form.GetFieldText(6)) << "dollars to dinars at the bid";
    EXPECT_STREQ("0.3068", form.GetFieldText(7)) << "dinars to dollars at the ask";
    // The demo account's opening positions are there: KSE stocks, US symbols, two forward contracts.
    EXPECT_LE(3u, s.RowsOf("~IK|").size());
    EXPECT_EQ(2u, s.RowsOf("~KN|").size());
    const CServerMessage contract(s.Lines("~KD|")[0].c_str(), 1);
    EXPECT_EQ(0, contract.GetLong(0));
    EXPECT_EQ(1, contract.GetLong(5)) << "the contract asked for";
    EXPECT_EQ(101, contract.GetLong(8));
    const CServerMessage quote(s.Lines("~RC|")[0].c_str(), 1);
    EXPECT_EQ(0, quote.GetLong(0));
    EXPECT_GT(quote.GetDouble(10, 0), 300.0) << "a dinar buys more than three dollars";
    EXPECT_STREQ("=KWD", quote.GetFieldText(5)) << "codes as the reference data keeps them";
    EXPECT_STREQ("=USD", quote.GetFieldText(6));
    EXPECT_EQ(461, CServerMessage(s.Lines("~RC|")[1].c_str(), 1).GetLong(0)) << "a code without its \"=\"";
    const std::vector<std::string> conversions = s.Lines("~PB|");
    ASSERT_EQ(3u, conversions.size());
    EXPECT_EQ(0, CServerMessage(conversions[0].c_str(), 1).GetLong(0)) << "thirty dinars changed to dollars";
    EXPECT_EQ(428, CServerMessage(conversions[1].c_str(), 1).GetLong(0)) << "more dollars than the account holds";
    EXPECT_EQ(461, CServerMessage(conversions[2].c_str(), 1).GetLong(0)) << "no amount";
}

}  // namespace
