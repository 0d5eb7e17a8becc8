#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/base/NorvTime.h"
#include "tests/common/ExpectedData.h"

namespace {
CNorvTime Make(int nHours, int nMinutes, int nSeconds)
{
    CNorvTime t;
    t.Set(nHours, nMinutes, nSeconds);
    return t;
}

std::string Text(const CNorvTime& t, BOOL bLeadingZero = TRUE)
{
    return static_cast<const char*>(t.Format(bLeadingZero));
}
}  // namespace

TEST(NorvTime, SetCarriesSecondsAndMinutes)
{
    EXPECT_EQ(21710, Make(1, 75, 130).GetPacked());
    EXPECT_EQ("02:17:10", Text(Make(1, 75, 130)));
    EXPECT_EQ("-01:30:00", Text(Make(-1, 30, 0)));
    EXPECT_EQ("-1:30:00", Text(Make(-1, 30, 0), FALSE));
    EXPECT_EQ("-00:00:05", Text(Make(0, 0, -5)));
    EXPECT_EQ(-5400, Make(-1, 30, 0).GetSecondsOfDay());
    EXPECT_EQ("9:05:07", Text(Make(9, 5, 7), FALSE));
    EXPECT_EQ("09:05:07", Make(9, 5, 7).ToString());
    EXPECT_EQ("00:00:00", CNorvTime().ToString());
    // Extreme arguments neither overflow nor wrap: the hours stop at what the value holds.
    EXPECT_EQ("214747:59:59", Text(Make(INT32_MAX, 59, 59)));
    EXPECT_EQ("-214747:00:00", Text(Make(INT32_MIN, 0, 0)));
}

TEST(NorvTime, ArithmeticAndOrder)
{
    EXPECT_EQ("24:30:00", Text(Make(23, 30, 0) + Make(1, 0, 0)));
    EXPECT_EQ("-00:30:00", Text(Make(1, 0, 0) - Make(1, 30, 0)));
    EXPECT_TRUE(Make(10, 0, 0) > Make(9, 59, 59));
    EXPECT_TRUE(Make(9, 59, 59) < Make(10, 0, 0));
    EXPECT_TRUE(Make(10, 0, 0) >= Make(10, 0, 0));
    EXPECT_TRUE(Make(-1, 0, 0) < Make(0, 0, 0));

    char szShort[6];
    Make(12, 34, 56).FormatTo(szShort, sizeof(szShort), TRUE);
    EXPECT_STREQ("12:34", szShort);

    CNorvTime now;
    now.SetNow();
    EXPECT_GE(now.GetSecondsOfDay(), 0);
    EXPECT_LT(now.GetSecondsOfDay(), 86400);
}

TEST(NorvTime, DurationsMatchPythonTimedelta)
{
    int nRows = 0;
    for (const std::vector<std::string>& f : ReadExpectedRows("tests/framework/base/expected_dates.txt", 'T')) {
        ASSERT_EQ(9u, f.size());
        const std::string strCase = f[1] + ":" + f[2] + ":" + f[3] + " " + f[4] + " " + f[5] + ":" + f[6] + ":" + f[7];
        CNorvTime a = Make(std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]));
        CNorvTime b = Make(std::stoi(f[5]), std::stoi(f[6]), std::stoi(f[7]));
        EXPECT_EQ(f[8], Text(f[4] == "+" ? a + b : a - b)) << strCase;
        ++nRows;
    }
    EXPECT_GT(nRows, 100);
}
