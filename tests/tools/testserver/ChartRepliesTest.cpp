// The chart series replies: rows on the market's trading days, weeks and months dated on their
// first trading day, the day's minutes inside the session, the US indices with their live lines,
// and an unknown ticker refused with a code that has its text.
#include <algorithm>
#include <set>
#include <gtest/gtest.h>
#include "SimSession.h"
#include "link/ServerMessage.h"

namespace {
// Weekday 1 Monday .. 7 Sunday of a YYYYMMDD date (Sakamoto's rule).
int Weekday(int nDate)
{
    static const int s_t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int y = nDate / 10000;
    const int m = nDate / 100 % 100, d = nDate % 100;
    y -= m < 3;
    const int nSunday0 = (y + y / 4 - y / 100 + y / 400 + s_t[m - 1] + d) % 7;
    return nSunday0 == 0 ? 7 : nSunday0;
}

int Date(const std::string& strServerDate)
{
    return 20000000 + atoi(strServerDate.c_str());
}

// Days since 1 March of year 0, and back (the civil calendar on years starting in March).
int DayNumber(int nDate)
{
    int y = nDate / 10000;
    const int m = nDate / 100 % 100, d = nDate % 100;
    y -= m <= 2;
    return y * 365 + y / 4 - y / 100 + y / 400 + (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
}

int DateOfDay(int nDay)
{
    int nDate = nDay / 366 * 10000 + 101;
    while (DayNumber(nDate) < nDay) {
        const int nNext = nDate + 1;
        nDate = nNext % 100 <= 31 && nNext / 100 % 100 <= 12 && Weekday(nNext) > 0 && DayNumber(nNext) == DayNumber(nDate) + 1
                    ? nNext : (nDate / 100 % 100 == 12 ? (nDate / 10000 + 1) * 10000 + 101 : nDate / 100 * 100 + 101);
    }
    return nDate;
}

struct Reply
{
    std::string strHeader;
    std::vector<std::vector<std::string>> rows;
};

// Every "CD" and "KH" reply in arrival order, its rows up to its "EN".
std::vector<Reply> ChartReplies(const std::vector<std::string>& lines)
{
    std::vector<Reply> replies;
    bool bIn = false;
    for (const std::string& line : lines) {
        if (line.rfind("~CD|", 0) == 0 || line.rfind("~KH|", 0) == 0) {
            replies.push_back({line, {}});
            bIn = true;
        } else if (line.rfind("~EN|", 0) == 0) {
            bIn = false;
        } else if (bIn && line[0] != '~') {
            const CServerMessage row(line.c_str(), 1);
            std::vector<std::string> fields;
            for (int i = 0; i < row.GetSize(); ++i)
                fields.push_back(row.GetFieldText(i));
            replies.back().rows.push_back(fields);
        }
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
    // The market trades a while first, so that the index has a day so far.
    for (std::string& line : s.client.ReadFor(500))
        s.lines.push_back(std::move(line));
    // Ticker, duration, period code, average length, market; the KSE's in fields 2 to 5.
    s.Request("CD", "ALPN|3|3|20|8");
    s.Request("CD", "ALPN|5|5|0|8");
    s.Request("KH", "||101|2|4|5");
    s.Request("CD", ".DJI|2|3|0|0");
    s.Request("CD", ".DJI|0|0|0|0");
    s.Request("CD", "NOPE|1|3|0|0");
    for (std::string& line : s.client.ReadFor(1000))
        s.lines.push_back(std::move(line));
    s.checker.Check(s.lines);
    // The one fault: the refusal of the unknown ticker, which no forced failure announced.
    ASSERT_EQ(1u, s.checker.faults.size()) << (s.checker.faults.empty() ? "" : s.checker.faults[0]);
    EXPECT_NE(std::string::npos, s.checker.faults[0].find("|NOPE|1|3|0|0||652"));
    const std::vector<Reply> replies = ChartReplies(s.lines);
    ASSERT_EQ(6u, replies.size());

    // Per reply: the KSE's calendar, the period code, the months of the span.
    static const struct { bool bKse; int nPeriod; int nMonths; } historical[] = {
        {false, 3, 12}, {false, 5, 60}, {true, 4, 6}, {false, 3, 6}};
    const std::set<int> usHolidays = {20260101, 20261126}, kseHolidays = {20260225, 20260226, 20260527};
    for (size_t r = 0; r < 4; ++r) {
        const auto& want = historical[r];
        const Reply& reply = replies[r];
        SCOPED_TRACE(reply.strHeader);
        const CServerMessage head(reply.strHeader.c_str(), 1);
        EXPECT_EQ(0, head.GetLong(want.bKse ? 0 : head.GetSize() - 1));
        const auto IsTradingDay = [&](int nDate) {
            const int nDay = Weekday(nDate);
            return want.bKse ? nDay != 5 && nDay != 6 && !kseHolidays.count(nDate)
                             : nDay != 6 && nDay != 7 && !usHolidays.count(nDate);
        };
        const int nPerMonth = want.nPeriod == 5 ? 1 : want.nPeriod == 4 ? 4 : 19;
        EXPECT_GE(reply.rows.size(), static_cast<size_t>(want.nMonths * nPerMonth - 1));
        EXPECT_LE(reply.rows.size(), static_cast<size_t>(want.nMonths * nPerMonth * 5 / 4 + 2));
        int nLastDate = 0;
        for (const auto& row : reply.rows) {
            ASSERT_EQ(8u, row.size());
            const int nDate = Date(row[0]);
            EXPECT_TRUE(IsTradingDay(nDate)) << nDate;
            EXPECT_GT(nDate, nLastDate);
            EXPECT_LT(nDate, 20261208);
            EXPECT_LE(atof(row[4].c_str()), atof(row[1].c_str()));     // low <= close <= high
            EXPECT_GE(atof(row[3].c_str()), atof(row[1].c_str()));
            // A week's or a month's row is dated on its first trading day.
            const int nFirst = want.nPeriod == 5 ? DayNumber(nDate / 100 * 100 + 1)
                             : want.nPeriod == 4 ? DayNumber(nDate) - Weekday(nDate) % 7     // from Sunday
                                                 : DayNumber(nDate);
            for (int nDay = nFirst; nDay < DayNumber(nDate); ++nDay)
                EXPECT_FALSE(IsTradingDay(DateOfDay(nDay))) << nDate << " after " << DateOfDay(nDay);
            nLastDate = nDate;
        }
    }
    EXPECT_GT(atof(replies[0].rows.back()[6].c_str()), 0.0) << "the average of 20 days";
    EXPECT_GT(atof(replies[0].rows.back()[7].c_str()), 0.0);
    EXPECT_EQ(0.0, atof(replies[1].rows.back()[6].c_str()));
    // The index trades billions a day; its day so far is a row a minute from the US open.
    EXPECT_GT(atoll(replies[3].rows.back()[2].c_str()), 2147483647LL);
    ASSERT_FALSE(replies[4].rows.empty());
    EXPECT_EQ("163000", replies[4].rows.front()[0]);
    const int nLastMinute = atoi(replies[4].rows.back()[0].c_str()) / 100;
    EXPECT_EQ(nLastMinute / 100 * 60 + nLastMinute % 100 - (16 * 60 + 30) + 1, static_cast<int>(replies[4].rows.size()));
    const std::vector<std::string> ix = s.Lines("~IX|");
    ASSERT_FALSE(ix.empty()) << "the index's live lines follow the chart";
    EXPECT_TRUE(std::any_of(ix.begin(), ix.end(), [](const std::string& line) { return line.find("|.DJI|") != std::string::npos; }));
    // The unknown ticker: refused with 652, whose text came with the error texts.
    const CServerMessage refused(replies[5].strHeader.c_str(), 1);
    EXPECT_STREQ("NOPE", refused.GetFieldText(0));
    EXPECT_EQ(652, refused.GetLong(refused.GetSize() - 1));
    EXPECT_FALSE(s.Lines("652|").empty());
}
