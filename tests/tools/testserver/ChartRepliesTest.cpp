// The chart series replies: rows on the market's trading days, weeks and months dated on their
// first trading day, the day's minutes from the open, the US indices with their live lines, and
// an unknown ticker refused with a code that has its text.
#include <algorithm>
#include <set>
#include <gtest/gtest.h>
#include "SimSession.h"
#include "link/ServerMessage.h"

namespace {
int Weekday(int nDate)      // 1 Monday .. 7 Sunday (Sakamoto's rule)
{
    static const int s_t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int m = nDate / 100 % 100, y = nDate / 10000 - (m < 3);
    const int nDay = (y + y / 4 - y / 100 + y / 400 + s_t[m - 1] + nDate % 100) % 7;
    return nDay == 0 ? 7 : nDay;
}

// Every "CD" and "KH" reply in arrival order: its header and its rows' fields up to its "EN".
std::vector<std::pair<std::string, std::vector<CServerMessage>>> ChartReplies(const std::vector<std::string>& lines)
{
    std::vector<std::pair<std::string, std::vector<CServerMessage>>> replies;
    bool bIn = false;
    for (const std::string& line : lines) {
        const bool bHead = line.rfind("~CD|", 0) == 0 || line.rfind("~KH|", 0) == 0;
        if (bHead)
            replies.push_back({line, {}});
        if (line[0] == '~')
            bIn = bHead || (bIn && line.rfind("~EN|", 0) != 0);
        else if (bIn)
            replies.back().second.emplace_back(line.c_str(), 1);
    }
    return replies;
}
}

TEST(ChartReplies, SeriesFallOnTheMarketsTradingDays)
{
    CSimSession s;
    ASSERT_TRUE(s.Start({"--rate", "2000", "--clock", "2026-12-08 18:00:00"}));
    ASSERT_TRUE(s.Handshake());
    s.Request("UL", "trader|secret|");
    for (std::string& line : s.client.ReadFor(500))     // the market trades a while first
        s.lines.push_back(std::move(line));
    // Ticker, duration, period code, average length, market; the KSE's in fields 2 to 5.
    for (const char* pszBody : {"ALPN|3|3|20|8", "ALPN|5|5|0|8", "||101|2|4|5", ".DJI|2|3|0|0", ".DJI|0|0|0|0", "NOPE|1|3|0|0"})
        s.Request(pszBody[0] == '|' ? "KH" : "CD", pszBody);
    for (std::string& line : s.client.ReadFor(1000))
        s.lines.push_back(std::move(line));
    // The one fault: the refusal of the unknown ticker, which no forced failure announced.
    s.checker.Check(s.lines);
    ASSERT_EQ(1u, s.checker.faults.size()) << (s.checker.faults.empty() ? "" : s.checker.faults[0]);
    EXPECT_NE(std::string::npos, s.checker.faults[0].find("|NOPE|1|3|0|0||652"));
    EXPECT_FALSE(s.Lines("652|").empty()) << "its text came with the error texts";
    const auto replies = ChartReplies(s.lines);
    ASSERT_EQ(6u, replies.size());

    // The KSE's calendar or the US one, the period code, rows at least and at most.
    static const struct { bool bKse; int nPeriod; size_t nMin, nMax; } historical[] = {
        {false, 3, 240, 260}, {false, 5, 59, 61}, {true, 4, 24, 27}, {false, 3, 120, 130}};
    const std::set<int> usHolidays = {20260101, 20261126}, kseHolidays = {20260225, 20260226, 20260527};
    for (size_t r = 0; r < 4; ++r) {
        const auto& want = historical[r];
        const auto& [strHeader, rows] = replies[r];
        SCOPED_TRACE(strHeader);
        const CServerMessage head(strHeader.c_str(), 1);
        EXPECT_EQ(0, head.GetLong(want.bKse ? 0 : head.GetSize() - 1));
        const auto IsTradingDay = [&](int nDate) {
            const int nDay = Weekday(nDate);
            return want.bKse ? nDay != 5 && nDay != 6 && !kseHolidays.count(nDate) : nDay != 6 && nDay != 7 && !usHolidays.count(nDate);
        };
        EXPECT_LE(want.nMin, rows.size());
        EXPECT_GE(want.nMax, rows.size());
        int nLastDate = 0;
        for (const CServerMessage& row : rows) {
            const int nDate = 20000000 + static_cast<int>(row.GetLong(0));
            EXPECT_TRUE(IsTradingDay(nDate) && nDate > nLastDate && nDate < 20261208) << nDate;
            EXPECT_TRUE(row.GetDouble(4, 0) <= row.GetDouble(1, 0) && row.GetDouble(1, 0) <= row.GetDouble(3, 0)) << nDate;
            // A week's or month's row is its first trading day (the days before it in its month).
            const int nBack = want.nPeriod == 5 ? nDate % 100 - 1 : want.nPeriod == 4 ? std::min(Weekday(nDate) % 7, nDate % 100 - 1) : 0;
            for (int nDay = nDate - nBack; nDay < nDate; ++nDay)
                EXPECT_FALSE(IsTradingDay(nDay)) << nDate << " after " << nDay;
            nLastDate = nDate;
        }
    }
    EXPECT_GT(replies[0].second.back().GetDouble(6, 0), 0.0) << "the average of 20 days";
    EXPECT_GT(replies[0].second.back().GetDouble(7, 0), 0.0);
    EXPECT_EQ(0.0, replies[1].second.back().GetDouble(6, 0));
    // The index trades billions a day; its day so far is a row a minute from the US open.
    EXPECT_GT(atoll(replies[3].second.back().GetFieldText(2)), 2147483647LL);
    const auto& minutes = replies[4].second;
    ASSERT_FALSE(minutes.empty());
    EXPECT_STREQ("163000", minutes.front().GetFieldText(0));
    const long nLast = minutes.back().GetLong(0) / 100;
    EXPECT_EQ(nLast / 100 * 60 + nLast % 100 - (16 * 60 + 30) + 1, static_cast<long>(minutes.size()));
    const std::vector<std::string> ix = s.Lines("~IX|");
    EXPECT_TRUE(std::any_of(ix.begin(), ix.end(), [](const std::string& l) { return l.find("|.DJI|") != std::string::npos; }));
    EXPECT_EQ(652, CServerMessage(replies[5].first.c_str(), 1).GetLong(6));
}
