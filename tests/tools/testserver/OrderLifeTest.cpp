// An order's life over the wire: checked, refused for a wrong password, placed and partly
// filled against the book, the rest filled by the walk; another one resting, modified and
// cancelled; every change as the user's live lines, the cash and the shares adding up.
#include <gtest/gtest.h>
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

    // Placed: the offer's quantity trades at once, the rest waits at the limit.
    const CServerMessage placed = s.Ask("KR", strOrder + "secret");
    ASSERT_EQ(0, placed.GetLong(0)) << Joined(s.lines);
    const std::string strNo = placed.GetFieldText(17);
    s.client.ReadUntil("~NX|", 2000, &s.lines);
    for (std::string& line : s.client.ReadFor(150))
        s.lines.push_back(std::move(line));
    ASSERT_LE(2u, s.Statuses(strNo).size()) << Joined(s.lines);
    EXPECT_EQ(1, s.Statuses(strNo)[0]) << "placed";
    EXPECT_EQ(2, s.Statuses(strNo)[1]) << "partly filled";

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
    EXPECT_EQ(4, s.Status(strRest));
    EXPECT_LE(2u, s.Lines("~NC|").size()) << "each order closed";

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
    EXPECT_EQ(1, CServerMessage(status[0].c_str(), 1).GetLong(16));
    EXPECT_EQ(4, CServerMessage(status[1].c_str(), 1).GetLong(16));
    s.checker.Check(s.lines);
    EXPECT_TRUE(s.checker.faults.empty()) << Joined(s.checker.faults);
}

}  // namespace
