// The clock's server forms, the fixed-point texts and the data-file reader.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <fstream>
#include "tests/tools/testserver/model/SimTestSupport.h"

TEST(SimClock, WritesServerFormsAndCountsDays)
{
    CSimClock clock;
    ASSERT_TRUE(clock.Set(20061231, 93000));
    EXPECT_EQ("61231", clock.ServerDate());
    EXPECT_EQ("93000", clock.ServerTime());
    EXPECT_EQ("61231093000", clock.ServerDateTime());
    // Across a year's end and a leap day.
    clock.Advance(int64_t{14 * 3600 + 30 * 60} * 1000 + 1);
    EXPECT_EQ(20070101, clock.GetDate());
    EXPECT_EQ(0, clock.GetTime());
    ASSERT_TRUE(clock.Set(20280228, 235959));
    clock.Advance(1000);
    EXPECT_EQ(20280229, clock.GetDate());
    EXPECT_EQ("280229", clock.ServerDate());
    EXPECT_EQ(20280229, CSimClock::FromServerDate("280229"));

    EXPECT_FALSE(clock.Set(20270229, 0));
    EXPECT_FALSE(clock.Set(20261207, 240000));
    EXPECT_FALSE(clock.Set(19991231, 0));
    EXPECT_EQ(20280229, clock.GetDate()) << "a refused Set leaves the clock";
}

TEST(SimClock, PreviousTradingDateSkipsTheKuwaitWeekend)
{
    // Monday 7 December 2026 back to Thursday 3 December, over Saturday and Friday.
    EXPECT_EQ(20261203, CSimClock::PreviousTradingDate(20261206));
    EXPECT_EQ(20261206, CSimClock::PreviousTradingDate(20261207));
    EXPECT_EQ(20261203, CSimClock::PreviousTradingDate(20261205));
    EXPECT_EQ(20261231, CSimClock::PreviousTradingDate(20270103));
}

TEST(SimRecord, NumbersAlwaysCarryAPoint)
{
    EXPECT_EQ("842.0", FormatUnits(8420, 1));
    EXPECT_EQ("-0.05", FormatUnits(-5, 2));
    EXPECT_EQ("48.2500", FormatUnits(482500, 4));
    EXPECT_EQ("7.0", FormatUnits(7, 0));
    EXPECT_EQ("0.000", FormatDouble(0.0, 3));
    EXPECT_EQ("-1.3", FormatDouble(-1.25, 1)) << "half away from zero";
    EXPECT_EQ("12.5", FormatDouble(12.5, 0)) << "one digit at least";
    EXPECT_EQ("0.0", FormatDouble(std::nan(""), 1)) << "not a number writes as zero";
}

TEST(SimTables, ReadsHeaderNamedRowsAndNamesTheBadLine)
{
    // One file per process: CTest may run this test in two programs at once.
    const std::string strPath = std::string(TB_BINARY_DIR) + "/sim_tables_test_" + std::to_string(getpid()) + ".txt";
    {
        std::ofstream out(strPath);
        out << "# a comment\nid|name\r\n1|Alpha\n\n# another\n2|Beta|extra\n";
    }
    CSimTable table;
    std::string strError;
    EXPECT_FALSE(CSimTables::ReadFile(strPath, table, &strError));
    EXPECT_NE(std::string::npos, strError.find(":6:")) << strError;
    {
        std::ofstream out(strPath);
        out << "# a comment\nid|name\r\n1|Alpha\n2|\n";
    }
    ASSERT_TRUE(CSimTables::ReadFile(strPath, table, &strError)) << strError;
    ASSERT_EQ(2u, table.rows.size());
    EXPECT_EQ("Alpha", GetField(table.rows[0], "name"));
    EXPECT_EQ("", GetField(table.rows[1], "name"));
    EXPECT_EQ("2", GetField(table.rows[1], "id"));
    std::remove(strPath.c_str());
    EXPECT_FALSE(CSimTables::ReadFile(strPath, table, &strError));
}

TEST(SimTables, ShippedMarketHoldsWhatTheIssueAsks)
{
    CSimTables tables;
    std::string strError;
    ASSERT_TRUE(tables.Load(TESTSERVER_MARKET_DIR, &strError)) << strError;
    EXPECT_GE(tables.Get("stocks").rows.size(), 20u);
    EXPECT_GE(tables.Get("us_symbols").rows.size(), 30u);
    for (const CSimRecord& row : tables.Get("stocks").rows) {
        EXPECT_GT(atoi(GetField(row, "id").c_str()), 0) << "KSE stocks have numeric ids";
        EXPECT_FALSE(GetField(row, "name_ar").empty());
    }
    int nArabic = 0;
    for (const CSimRecord& row : tables.Get("news").rows)
        nArabic += GetField(row, "lang") == "1";
    EXPECT_GT(nArabic, 0);
    EXPECT_TRUE(tables.Get("no such file").rows.empty());
    EXPECT_FALSE(tables.Load("/nonexistent", &strError));
}
