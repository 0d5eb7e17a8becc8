// The packed calendar date against Python's datetime, every day from 1900 to 2100
// (data/calendar_days.txt, written by data/gen_dates.py).
#include <fstream>
#include <random>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "charts/ChartPoint.h"

namespace {
struct Day
{
    int nPacked;
    int nWeekday;
};

std::vector<Day> ReadDays()
{
    std::vector<Day> days;
    std::ifstream in(std::string(TB_SOURCE_DIR) + "/tests/charts/data/calendar_days.txt");
    Day day{};
    while (in >> day.nPacked >> day.nWeekday)
        days.push_back(day);
    return days;
}
}

TEST(NorvDate, EveryDayFrom1900To2100MatchesPython)
{
    const std::vector<Day> days = ReadDays();
    ASSERT_EQ(73414u, days.size());
    int nFirstOfYear = 0;       // line of the 1st of January of the day's year
    for (size_t i = 0; i < days.size(); ++i) {
        const CNorvDate date(days[i].nPacked);
        SCOPED_TRACE(days[i].nPacked);
        if (days[i].nPacked % 10000 == 101)
            nFirstOfYear = static_cast<int>(i);
        ASSERT_EQ(days[i].nPacked, date.GetPacked());
        ASSERT_TRUE(date.IsValid());
        ASSERT_EQ(days[i].nWeekday, date.DayOfWeek());
        ASSERT_EQ(static_cast<int>(i) - nFirstOfYear + 1, date.DayOfYear());
        ASSERT_EQ(static_cast<int>(i) + CNorvDate(days[0].nPacked).GetDayNumber(), date.GetDayNumber());
        if (i + 1 < days.size()) {
            ASSERT_EQ(days[i + 1].nPacked, (date + 1).GetPacked());
        }
        if (i > 0) {
            CNorvDate before(date);
            before.SubtractDays(1);
            ASSERT_EQ(days[i - 1].nPacked, before.GetPacked());
        }
    }
    // Long steps, across months, years and centuries.
    std::mt19937 rng(32);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(days.size()) - 1);
    for (int nStep = 0; nStep < 20000; ++nStep) {
        const int i = pick(rng), j = pick(rng);
        const int nFrom = std::min(i, j), nTo = std::max(i, j);
        CNorvDate later(days[nFrom].nPacked), earlier(days[nTo].nPacked);
        later.AddDays(nTo - nFrom);
        earlier.SubtractDays(nTo - nFrom);
        ASSERT_EQ(days[nTo].nPacked, later.GetPacked()) << days[nFrom].nPacked << " + " << nTo - nFrom;
        ASSERT_EQ(days[nFrom].nPacked, earlier.GetPacked()) << days[nTo].nPacked << " - " << nTo - nFrom;
    }
}

TEST(NorvDate, TwoDigitYearsAndDaysThatDoNotExist)
{
    static const struct { int nIn, nOut; BOOL bValid; } cases[] = {
        {510315, 20510315, TRUE}, {800229, 19800229, TRUE}, {990101, 19990101, TRUE}, {999999, 99999999, FALSE},
        {0, 0, TRUE},             {20240230, 20240230, FALSE}, {19000229, 19000229, FALSE}, {20000229, 20000229, TRUE},
        {1231, 20001231, TRUE},   {790101, 20790101, TRUE},   {20241301, 20241301, FALSE},
    };
    for (const auto& c : cases) {
        const CNorvDate date(c.nIn);
        EXPECT_EQ(c.nOut, date.GetPacked()) << c.nIn;
        EXPECT_EQ(c.bValid, date.IsValid()) << c.nIn;
    }
    EXPECT_EQ(0, CNorvDate(20240230).DayOfWeek());
    EXPECT_EQ(29, CNorvDate::DaysInMonth(2, 2000));
    EXPECT_EQ(0, CNorvDate::DaysInMonth(13, 2000));
}
