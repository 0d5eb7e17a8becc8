// The clocks, the server's date and time fields and rounding by mode, against the answers that
// gen_expected.py wrote with Python's zoneinfo, datetime and decimal.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/base/ColumnDataType.h"
#include "refdata/NewYorkTime.h"
#include "refdata/RoundByMode.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatClocks.h"
#include "tests/common/ExpectedData.h"

namespace {

std::vector<std::vector<std::string>> ReadExpected(char chKind)
{
    return ReadExpectedRows("tests/refdata/expected_clocks.txt", chKind);
}

CNorvTime Time(int nHours, int nMinutes, int nSeconds)
{
    CNorvTime time;
    time.Set(nHours, nMinutes, nSeconds);
    return time;
}

CNorvTime TimeOfDigits(const std::string& strDigits)
{
    const int n = std::stoi(strDigits);
    return Time(n / 10000, n / 100 % 100, n % 100);
}

// "hh:mm:ss/1" for a conversion and its previous-day result.
std::string NewYork(const CNorvTime& kuwait, time_t tNow)
{
    CNorvTime result;
    const BOOL bPrevious = KuwaitToNewYorkTimeAt(kuwait, result, tNow);
    return std::string(result.ToString()) + std::string(bPrevious ? "/1" : "/0");
}

const time_t WINTER_2030 = 1894000000;      // 7 January 2030
const time_t SUMMER_2030 = 1909000000;      // 30 June 2030
const time_t SWITCH_DAY_2030 = 1899349200;  // 10 March 2030, 08:00 in Kuwait

class CFakeClock : public IClockSource
{
public:
    time_t GetNow() const override { return m_tNow; }
    int GetLocalSecondsOfDay() const override { return m_nLocal; }
    time_t m_tNow = WINTER_2030;
    int m_nLocal = 0;
};

class CFakeMarkets : public IMarketTimeOffsets
{
public:
    long GetMarketTimeOffset(long nMarketCode) const override
    {
        auto it = m_offsets.find(nMarketCode);
        return it == m_offsets.end() ? 0 : it->second;
    }
    std::map<long, long> m_offsets;
};

// The machine's time zone for a scope, as a POSIX rule (no zone database needed); the one
// before comes back at the end.
class CMachineZone
{
public:
    explicit CMachineZone(const char* pszZone)
    {
        const char* pszSaved = getenv("TZ");
        m_bHadZone = pszSaved != nullptr;
        m_strSaved = m_bHadZone ? pszSaved : "";
        setenv("TZ", pszZone, 1);
        tzset();
    }
    ~CMachineZone()
    {
        if (m_bHadZone)
            setenv("TZ", m_strSaved.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    CMachineZone(const CMachineZone&) = delete;
    CMachineZone& operator=(const CMachineZone&) = delete;

private:
    bool m_bHadZone = false;
    std::string m_strSaved;
};

// The system clock as it reads at a fixed instant: the time of day in the machine's zone.
class CMachineClock : public IClockSource
{
public:
    time_t GetNow() const override { return m_tNow; }
    int GetLocalSecondsOfDay() const override
    {
        struct tm local = {};
        localtime_r(&m_tNow, &local);
        return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    }
    long UtcOffset() const
    {
        struct tm local = {};
        localtime_r(&m_tNow, &local);
        return local.tm_gmtoff;
    }
    time_t m_tNow = 0;
};

std::string ClockOfDigits(const std::string& strDigits)
{
    return strDigits.substr(0, 2) + ":" + strDigits.substr(2, 2) + ":" + strDigits.substr(4, 2);
}

std::string Shift(const CZorvatClocks& clocks, const char* pszTime, long nMarket = 1)
{
    char szResult[SHIFT_TIME_SIZE + 4];
    memset(szResult, '#', sizeof(szResult));
    const BOOL bNextDay = clocks.ShiftServerTime(pszTime, szResult, nMarket);
    EXPECT_EQ('#', szResult[SHIFT_TIME_SIZE]) << "wrote past the buffer for " << pszTime;
    szResult[SHIFT_TIME_SIZE] = '\0';
    return szResult + std::string(bNextDay ? "/1" : "/0");
}

std::string Parsed(const COleDateTime& dt)
{
    if (dt.GetStatus() == COleDateTime::invalid)
        return "INVALID";
    if (dt.GetStatus() == COleDateTime::null)
        return "NULL";
    return std::to_string(dt.GetYear()) + "|" + std::to_string(dt.GetMonth()) + "|" + std::to_string(dt.GetDay()) +
           "|" + std::to_string(dt.GetHour()) + "|" + std::to_string(dt.GetMinute()) + "|" +
           std::to_string(dt.GetSecond());
}

}  // namespace

TEST(NewYorkTime, SummerTimeWindowMatchesZoneInfo)
{
    const auto rows = ReadExpected('D');
    ASSERT_EQ(31u, rows.size());
    for (const auto& r : rows) {
        const int nYear = std::stoi(r[1]);
        EXPECT_EQ(std::stoll(r[2]), static_cast<long long>(UsDstStart(nYear))) << nYear;
        EXPECT_EQ(std::stoll(r[3]), static_cast<long long>(UsDstEnd(nYear))) << nYear;
        EXPECT_TRUE(IsUsSummerTime(UsDstStart(nYear)) && !IsUsSummerTime(UsDstStart(nYear) - 1)) << nYear;
        EXPECT_TRUE(IsUsSummerTime(UsDstEnd(nYear) - 1) && !IsUsSummerTime(UsDstEnd(nYear))) << nYear;
    }
    // Year 0 is the current year; years outside the calendar have no window.
    struct tm utc = {};
    const time_t now = time(nullptr);
    gmtime_r(&now, &utc);
    EXPECT_EQ(UsDstStart(utc.tm_year + 1900), UsDstStart(0));
    EXPECT_EQ(UsDstEnd(utc.tm_year + 1900), UsDstEnd(0));
    EXPECT_EQ(-1, UsDstStart(-5));
    EXPECT_EQ(-1, UsDstEnd(10000));
}

TEST(NewYorkTime, ConvertsKuwaitTimeAsZoneInfoAroundTheSwitches)
{
    const auto rows = ReadExpected('N');
    ASSERT_GT(rows.size(), 1000u);
    for (const auto& r : rows) {
        const time_t tInstant = static_cast<time_t>(std::stoll(r[1]));
        const std::string strExpected = std::string(TimeOfDigits(r[3]).ToString()) + "/" + r[4];
        EXPECT_EQ(strExpected, NewYork(TimeOfDigits(r[2]), tInstant)) << "instant " << r[1] << " Kuwait " << r[2];
    }
}

TEST(NewYorkTime, KuwaitMorningAcrossMidnightInNewYork)
{
    EXPECT_EQ("23:30:00/1", NewYork(Time(7, 30, 0), WINTER_2030));
    EXPECT_EQ("00:30:00/0", NewYork(Time(7, 30, 0), SUMMER_2030));
    EXPECT_EQ("00:00:00/0", NewYork(Time(8, 0, 0), WINTER_2030));
    EXPECT_EQ("17:00:00/1", NewYork(Time(0, 0, 0), SUMMER_2030));
    // A server time past midnight that was not wrapped stays past 24 hours.
    EXPECT_EQ("18:00:00/0", NewYork(Time(26, 0, 0), WINTER_2030));
}

TEST(NewYorkTime, DoesNotDependOnTheMachineTimeZone)
{
    std::vector<std::string> results;
    for (const char* pszZone : {"UTC", "Asia/Tokyo", "America/Los_Angeles", "Europe/London"}) {
        CMachineZone zone(pszZone);
        results.push_back(NewYork(Time(9, 0, 0), SWITCH_DAY_2030) + NewYork(Time(13, 0, 0), SWITCH_DAY_2030) +
                          std::to_string(UsDstStart(2030)));
    }
    for (const auto& s : results)
        EXPECT_EQ(results[0], s);
    // 10 March 2030, the switch day: 09:00 in Kuwait is 06:00 UTC, before 07:00 UTC (02:00 in
    // New York); 13:00 in Kuwait is after it.
    EXPECT_EQ("01:00:00/0", NewYork(Time(9, 0, 0), SWITCH_DAY_2030));
    EXPECT_EQ("06:00:00/0", NewYork(Time(13, 0, 0), SWITCH_DAY_2030));
}

TEST(ZorvatClocks, ServerTimeIsUnwrappedButItsTextsWrap)
{
    CFakeClock clock;
    CZorvatClocks clocks;
    clocks.SetClockSource(&clock);
    clock.m_nLocal = 30 * 60;                   // 00:30:00 local
    clocks.SetClockOffset(3600);                // the server is an hour behind
    EXPECT_EQ(-3000, clocks.GetServerTime().GetPacked());
    EXPECT_STREQ("23:30:00", clocks.GetServerTimeText());
    clocks.SetClockOffset(-3600);
    clock.m_nLocal = 23 * 3600 + 30 * 60;
    EXPECT_EQ(243000, clocks.GetServerTime().GetPacked());
    EXPECT_STREQ("00:30:00", clocks.GetServerTimeText());
    // New York from the same server time, in winter and summer.
    clocks.SetClockOffset(0);
    clock.m_nLocal = 7 * 3600 + 30 * 60;
    EXPECT_EQ(233000, clocks.GetServerTimeNY().GetPacked());
    EXPECT_STREQ("23:30:00", clocks.GetServerTimeNYText());
    clock.m_tNow = SUMMER_2030;
    EXPECT_STREQ("00:30:00", clocks.GetServerTimeNYText());
    // A wild offset from the server still gives a clock.
    clocks.SetClockOffset(2147483647L);
    EXPECT_EQ(8, clocks.GetServerTimeText().GetLength());
    EXPECT_LT(clocks.GetServerTime().GetPacked(), 0);
}

// The status bar's New York clock on machines in zones on both sides of Kuwait, some with summer
// times of their own, the offset measured by a "TI" some hours earlier: the server time it
// converts may have passed the machine's midnight or Kuwait's, unwrapped.
TEST(ZorvatClocks, NewYorkPaneMatchesZoneInfoOnMachinesInAnyZone)
{
    const auto rows = ReadExpected('N');
    ASSERT_GT(rows.size(), 5000u);
    for (const char* pszZone : {"UTC0", "JST-9", "IST-5:30", "LINT-14", "SST11", "PST8PDT,M3.2.0,M11.1.0",
                                "GMT0BST,M3.5.0/1,M10.5.0"}) {
        CMachineZone zone(pszZone);
        int nWrong = 0, nChecked = 0;
        std::string strFirstWrong;
        for (const auto& r : rows) {
            const time_t tInstant = static_cast<time_t>(std::stoll(r[1]));
            const int nKuwait = TimeOfDigits(r[2]).GetSecondsOfDay();
            for (int nLagHours : {0, 3, 7, 11}) {
                // The "TI" came then, telling the Kuwait time of that moment; the offset is
                // measured as the reference data measures it.
                CMachineClock clock;
                clock.m_tNow = tInstant - nLagHours * 3600;
                const long nOffsetThen = clock.UtcOffset();
                const int nLocalThen = clock.GetLocalSecondsOfDay();
                clock.m_tNow = tInstant;
                if (clock.UtcOffset() != nOffsetThen)
                    continue;   // the machine's own clock moved since: an hour off until the next "TI"
                CZorvatClocks clocks;
                clocks.SetClockSource(&clock);
                clocks.SetClockOffset(nLocalThen - ((nKuwait - nLagHours * 3600) % 86400 + 86400) % 86400);
                ++nChecked;
                const std::string strShown = static_cast<LPCSTR>(clocks.GetServerTimeNYText());
                if (strShown != ClockOfDigits(r[3]) && nWrong++ == 0)
                    strFirstWrong = "instant " + r[1] + " TI " + std::to_string(nLagHours) + " h before: shows " +
                                    strShown + ", New York reads " + ClockOfDigits(r[3]);
            }
        }
        EXPECT_GT(nChecked, 20000) << pszZone;
        EXPECT_EQ(0, nWrong) << pszZone << ": " << strFirstWrong;
    }
}

TEST(ZorvatClocks, SessionTimesInKuwaitAndNewYork)
{
    CFakeClock clock;
    CZorvatClocks clocks;
    clocks.SetClockSource(&clock);
    clocks.SetFirstMarketTime(Time(9, 0, 0));
    clocks.SetSecondMarketTime(Time(12, 40, 0));
    EXPECT_STREQ("09:00:00", clocks.GetFirstMarketTimeText());
    EXPECT_STREQ("12:40:00", clocks.GetSecondMarketTimeText());
    EXPECT_EQ(10000, clocks.GetFirstMarketTimeNY().GetPacked());
    EXPECT_STREQ("01:00:00", clocks.GetFirstMarketTimeNYText());
    EXPECT_STREQ("04:40:00", clocks.GetSecondMarketTimeNYText());
    clock.m_tNow = SUMMER_2030;
    EXPECT_STREQ("02:00:00", clocks.GetFirstMarketTimeNYText());
    EXPECT_STREQ("05:40:00", clocks.GetSecondMarketTimeNYText());
}

TEST(ZorvatClocks, ShiftServerTimeByMarketAndGlobalOffsets)
{
    CFakeMarkets markets;
    CZorvatClocks clocks;
    clocks.SetGlobalTimeOffset(3600);
    EXPECT_EQ("003000/1", Shift(clocks, "233000"));         // no market list: offset 0
    EXPECT_EQ("000000/1", Shift(clocks, "230000"));         // midnight itself is the next day
    EXPECT_EQ("235959/0", Shift(clocks, "225959"));
    clocks.SetMarketTimeOffsets(&markets);
    EXPECT_EQ("003000/1", Shift(clocks, "233000"));         // a market not listed
    markets.m_offsets[4] = 9 * 3600;
    EXPECT_EQ("153000/0", Shift(clocks, "233000", 4));
    EXPECT_EQ("170000/0", Shift(clocks, "010000", 4));      // before midnight: wrapped, FALSE
    EXPECT_EQ("080000/0", Shift(clocks, "160000", 4));
    // Offsets the server claims beyond a day still give six digits.
    clocks.SetGlobalTimeOffset(3 * 86400 + 60);
    EXPECT_EQ("160038/1", Shift(clocks, "005938", 4));
    markets.m_offsets[5] = -2147483647L;
    EXPECT_EQ(8u, Shift(clocks, "235959", 5).size());
    // Anything but six digits is copied unchanged, cut to the buffer.
    clocks.SetGlobalTimeOffset(0);
    EXPECT_EQ("0930/0", Shift(clocks, "0930"));
    EXPECT_EQ("/0", Shift(clocks, ""));
    EXPECT_EQ("/0", Shift(clocks, nullptr));
    EXPECT_EQ("12:30:/0", Shift(clocks, "12:30:00"));
    EXPECT_EQ("1230ab/0", Shift(clocks, "1230ab"));
    EXPECT_EQ("123456/0", Shift(clocks, "123456789"));
    EXPECT_FALSE(clocks.ShiftServerTime("120000", nullptr, 1));
}

TEST(ServerDateFields, ConvertBothWaysAsDatetime)
{
    const auto server = ReadExpected('S');
    const auto display = ReadExpected('T');
    ASSERT_EQ(900u, server.size());
    ASSERT_EQ(900u, display.size());
    for (const auto& r : server)
        EXPECT_STREQ(r[3].c_str(), ConvertServerDateField(r[2].c_str(), std::stoi(r[1]))) << r[1] << " " << r[2];
    for (const auto& r : display)
        EXPECT_STREQ(r[3].c_str(), ConvertDisplayDateField(r[2].c_str(), std::stoi(r[1]))) << r[1] << " " << r[2];
}

TEST(ServerDateFields, EmptyShortAndOtherFields)
{
    EXPECT_STREQ("20061231", ConvertServerDateField("61231", COLTYPE_DATE_TEXT));
    EXPECT_STREQ("20101231", ConvertServerDateField("101231", COLTYPE_DATE_TEXT));
    EXPECT_STREQ("093000", ConvertServerDateField("93000", COLTYPE_TIME_TEXT));
    EXPECT_STREQ("0930", ConvertServerDateField("930", COLTYPE_TIME_TEXT));     // one zero only
    EXPECT_STREQ("", ConvertServerDateField("1093000", COLTYPE_TIME_TEXT));
    EXPECT_STREQ("        ", ConvertServerDateField("", COLTYPE_DATE_TEXT));
    EXPECT_STREQ("      ", ConvertServerDateField(nullptr, COLTYPE_TIME_TEXT));
    EXPECT_STREQ("            ", ConvertServerDateField("", COLTYPE_DATETIME_TEXT));
    EXPECT_STREQ("", ConvertServerDateField("", COLTYPE_STRING));
    EXPECT_STREQ("20000101", ConvertServerDateField("12", COLTYPE_DATE_TEXT));
    EXPECT_STREQ("20000101000000", ConvertServerDateField("123", COLTYPE_DATETIME_TEXT));
    EXPECT_STREQ("61231", ConvertServerDateField("61231", COLTYPE_STRING));
    EXPECT_STREQ("61231", ConvertDisplayDateField("20061231", COLTYPE_DATE_TEXT));
    EXPECT_STREQ("93000", ConvertDisplayDateField("093000", COLTYPE_TIME_TEXT));
    EXPECT_STREQ("123000", ConvertDisplayDateField(" 123000 ", COLTYPE_TIME_TEXT));
    EXPECT_STREQ("   ", ConvertDisplayDateField("   ", COLTYPE_DATE_TEXT));
    EXPECT_STREQ("", ConvertDisplayDateField(nullptr, COLTYPE_DATETIME_TEXT));
    EXPECT_STREQ("20061231", ConvertDisplayDateField("20061231", COLTYPE_STRING));
    // Short texts are read without reaching outside them.
    EXPECT_STREQ("-198812", ConvertDisplayDateField("12", COLTYPE_DATE_TEXT));
}

TEST(ServerDateFields, ParsesAsDatetimeValidates)
{
    const auto rows = ReadExpected('P');
    ASSERT_EQ(900u, rows.size());
    for (const auto& r : rows) {
        std::string strExpected = r[3];
        for (size_t i = 4; i < r.size(); ++i)
            strExpected += "|" + r[i];
        EXPECT_EQ(strExpected, Parsed(ParseServerDateField(r[2].c_str(), std::stoi(r[1])))) << r[1] << " " << r[2];
    }
    EXPECT_EQ("NULL", Parsed(ParseServerDateField("123", COLTYPE_DATE_TEXT)));
    EXPECT_EQ("NULL", Parsed(ParseServerDateField("123456789", COLTYPE_DATETIME_TEXT)));
    EXPECT_EQ("NULL", Parsed(ParseServerDateField(nullptr, COLTYPE_TIME_TEXT)));
    EXPECT_EQ("2000|12|31|0|0|0", Parsed(ParseServerDateField("1231", COLTYPE_DATE_TEXT)));
    EXPECT_EQ("1899|12|30|0|30|15", Parsed(ParseServerDateField("3015", COLTYPE_TIME_TEXT)));
    EXPECT_EQ("INVALID", Parsed(ParseServerDateField("6a231", COLTYPE_DATE_TEXT)));
    EXPECT_EQ("INVALID", Parsed(ParseServerDateField("99999999991231", COLTYPE_DATE_TEXT)));
    const COleDateTime other = ParseServerDateField("61231", COLTYPE_STRING);
    EXPECT_EQ(COleDateTime::valid, other.GetStatus());
    EXPECT_EQ(0.0, static_cast<DATE>(other));
}

TEST(RoundByMode, RoundsTheWrittenValueAsDecimal)
{
    const auto rows = ReadExpected('R');
    ASSERT_EQ(600u, rows.size());
    for (const auto& r : rows) {
        const double dExpected = strtod(r[4].c_str(), nullptr);
        EXPECT_EQ(dExpected, RoundByMode(std::stoi(r[1]), strtod(r[2].c_str(), nullptr), std::stoi(r[3])))
            << "mode " << r[1] << " value " << r[2] << " decimals " << r[3];
    }
    EXPECT_EQ(3.0, RoundByMode(ROUND_HALF_UP, 2.5, 0));
    EXPECT_EQ(-2.0, RoundByMode(ROUND_HALF_UP, -2.5, 0));
    EXPECT_EQ(-1.3, RoundByMode(ROUND_DOWN, -1.25, 1));
    EXPECT_EQ(1.3, RoundByMode(ROUND_UP, 1.21, 1));
    EXPECT_EQ(1.01, RoundByMode(ROUND_HALF_UP, 1.005, 2));       // as written, not as stored
    EXPECT_EQ(0.01, RoundByMode(ROUND_UP, 1e-200, 2));
    EXPECT_EQ(0.0, RoundByMode(ROUND_DOWN, 1e-200, 2));
    EXPECT_EQ(1200.0, RoundByMode(ROUND_HALF_UP, 1234.5, -2));
    EXPECT_EQ(0.0, RoundByMode(3, 2.5, 0));
    EXPECT_EQ(0.0, RoundByMode(-1, 2.5, 0));
}
