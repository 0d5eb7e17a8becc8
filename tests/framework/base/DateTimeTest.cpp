#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/base/DateTime.h"
#include "tests/common/ExpectedData.h"

namespace {

std::vector<std::vector<std::string>> ReadDates(char chKind)
{
    return ReadExpectedRows("tests/framework/base/expected_dates.txt", chKind);
}

std::string Date(const char* pszPattern, int nYear, int nMonth, int nDay, int nSize = 64)
{
    char szText[64] = "?";
    FormatDate(szText, nSize, pszPattern, nYear, nMonth, nDay);
    return szText;
}

std::string Time(const char* pszPattern, int nHour, int nMinute, int nSecond)
{
    char szText[64] = "?";
    FormatTime(szText, sizeof(szText), pszPattern, nHour, nMinute, nSecond);
    return szText;
}

// "y-m-d" of a read, or "FAIL".
std::string ReadDate(const char* pszText, const char* pszPattern)
{
    int nYear, nMonth, nDay;
    const char* p = pszText;
    if (!ParseDate(&nYear, &nMonth, &nDay, &p, pszPattern))
        return "FAIL";
    return std::to_string(nYear) + "-" + std::to_string(nMonth) + "-" + std::to_string(nDay);
}

std::string ReadTime(const char* pszText, const char* pszPattern)
{
    int nHour, nMinute, nSecond;
    const char* p = pszText;
    if (!ParseTime(&nHour, &nMinute, &nSecond, &p, pszPattern))
        return "FAIL";
    return std::to_string(nHour) + ":" + std::to_string(nMinute) + ":" + std::to_string(nSecond);
}

std::string Bytes(const char* p, int n)
{
    std::string str;
    for (int i = 0; i < n; ++i)
        str += std::to_string(static_cast<unsigned char>(p[i])) + (i + 1 < n ? "," : "");
    return str;
}

}  // namespace

TEST(DateTime, CalendarMatchesPythonCalendar)
{
    auto rows = ReadDates('V');
    ASSERT_GT(rows.size(), 500u);
    for (const auto& f : rows) {
        int nYear = std::stoi(f[1]), nMonth = std::stoi(f[2]), nDay = std::stoi(f[3]);
        EXPECT_EQ(std::stoi(f[4]), IsValidDate(nYear, nMonth, nDay)) << f[1] << "-" << f[2] << "-" << f[3];
        EXPECT_EQ(std::stoi(f[5]), DaysInMonth(nYear, nMonth)) << f[1] << "-" << f[2];
    }
    EXPECT_EQ(28, DaysInMonth(0, 2));
    EXPECT_TRUE(IsValidDate(0, 1, 1));
    EXPECT_FALSE(IsValidDate(10000, 1, 1));
    EXPECT_TRUE(IsValidTime(23, 59, -1));
    EXPECT_FALSE(IsValidTime(24, 0, 0));
    EXPECT_FALSE(IsValidTime(12, 60, 0));
}

TEST(DateTime, FormatsThroughPatterns)
{
    auto rows = ReadDates('F');
    ASSERT_GT(rows.size(), 200u);
    for (const auto& f : rows)
        EXPECT_EQ(f[5], Date(f[1].c_str(), std::stoi(f[2]), std::stoi(f[3]), std::stoi(f[4]))) << f[1];

    EXPECT_EQ("02/03", Date("D/M/Y", 2005, 3, 2, 6));     // the second '/' and the year do not fit
    EXPECT_EQ("02/03/", Date("D/M/Y", 2005, 3, 2, 10));
    EXPECT_EQ("31/12/1899", Date("D/M/Y", 1899, 12, 31));
    EXPECT_EQ("01/01/0100", Date("D/M/Y", DATE_YEAR_FIRST, 1, 1));
    EXPECT_EQ("", Date("D/M/Y", DATE_YEAR_FIRST - 1, 12, 31));
    EXPECT_EQ("", Date("D/M/Y", DATE_YEAR_LAST + 1, 1, 1));
    EXPECT_EQ("31/02/2005", Date("D/M/Y", 2005, 2, 31));  // the day is not checked against the month
    EXPECT_EQ("", Date("D/M/Y", 2005, 13, 1));

    EXPECT_EQ("09:05", Time("H:M:S", 9, 5, -1));
    EXPECT_EQ("9:05:07", Time("h:M:S", 9, 5, 7));
    EXPECT_EQ("", Time("H:M:S", 24, 0, 0));
    EXPECT_EQ("", Time("H:M:S", -1, 0, 0));
}

TEST(DateTime, ReadsThroughPatterns)
{
    auto rows = ReadDates('P');
    ASSERT_GT(rows.size(), 200u);
    for (const auto& f : rows) {
        std::string strWant = f.size() == 6 ? f[3] + "-" + f[4] + "-" + f[5] : f[3];
        EXPECT_EQ(strWant, ReadDate(f[2].c_str(), f[1].c_str())) << f[2];
    }
    EXPECT_EQ("2005-3-2", ReadDate("02-03-05", "D/M/Y"));
    EXPECT_EQ("2070-3-2", ReadDate("02.03.70", "D/M/Y"));
    EXPECT_EQ("1971-3-2", ReadDate("02.03.71", "D/M/Y"));
    EXPECT_EQ("FAIL", ReadDate("31/02/2005", "D/M/Y"));
    EXPECT_EQ("2004-2-29", ReadDate("29/02/2004", "D/M/Y"));
    EXPECT_EQ("FAIL", ReadDate("02/03", "D/M/Y"));
    EXPECT_EQ("FAIL", ReadDate("02x03x2005", "D/M/Y"));
    EXPECT_EQ("FAIL", ReadDate("2/3/2005", "D/D/Y")) << "a field read twice";

    EXPECT_EQ("12:30:-1", ReadTime("12:30", "H:M:S"));
    EXPECT_EQ("12:30:-1", ReadTime("12:30 PM", "H:M:S"));
    EXPECT_EQ("FAIL", ReadTime("12", "H:M:S"));
    EXPECT_EQ("FAIL", ReadTime("24:00:00", "H:M:S"));
    EXPECT_EQ("FAIL", ReadTime("12.30.00", "H:M:S"));
    EXPECT_EQ("9:5:7", ReadTime("9:05:07", "h:M:S"));
}

TEST(DateTime, PackedFormsRoundTrip)
{
    char ab[8];
    memset(ab, 'x', sizeof(ab));
    ASSERT_TRUE(ParsePackedDateTime(ab, "02/03/2005", "D/M/Y", nullptr));
    EXPECT_EQ("83,51,50,0,120", Bytes(ab, 5));      // four bytes written, the fifth untouched
    char szText[32];
    FormatPackedDate(szText, sizeof(szText), ab, "Y/M/D");
    EXPECT_STREQ("2005/03/02", szText);
    FormatPackedDate(szText, sizeof(szText), ab, "d/m/y");
    EXPECT_STREQ("2/3/05", szText);

    memset(ab, 'x', sizeof(ab));
    ASSERT_TRUE(ParsePackedDateTime(ab, "02/03/2005 12:30:15", "D/M/Y", "H:M:S"));
    EXPECT_EQ("83,51,50,60,78,63,120", Bytes(ab, 7));
    FormatPackedDateTime(szText, sizeof(szText), ab, "D/M/Y", "H:M:S");
    EXPECT_STREQ("02/03/2005 12:30:15", szText);
    ASSERT_TRUE(ParsePackedDateTime(ab, "02/03/2005", "D/M/Y", "H:M:S"));
    EXPECT_EQ("83,51,50,48,48,48", Bytes(ab, 6));
    EXPECT_FALSE(ParsePackedDateTime(ab, "02/03/200512:30:15", "D/M/Y", "H:M:S"));
    EXPECT_FALSE(ParsePackedDateTime(ab, "02/03/2005 junk", "D/M/Y", nullptr));

    // A date and time without seconds stores the no-seconds marker, as a time alone does.
    memset(ab, 'x', sizeof(ab));
    ASSERT_TRUE(ParsePackedDateTime(ab, "02/03/2005 12:30", "D/M/Y", "H:M:S"));
    EXPECT_EQ("83,51,50,60,78,0", Bytes(ab, 6));
    FormatPackedDateTime(szText, sizeof(szText), ab, "D/M/Y", "H:M:S");
    EXPECT_STREQ("02/03/2005 12:30", szText);
    memset(ab, 'x', sizeof(ab));
    ASSERT_TRUE(ParsePackedDateTime(ab, "9:05", nullptr, "H:M:S"));
    EXPECT_EQ("57,53,0,0,120", Bytes(ab, 5));
    FormatPackedTime(szText, sizeof(szText), ab, "H:M:S");
    EXPECT_STREQ("09:05", szText);
    FormatPackedDateTime(szText, sizeof(szText), nullptr, "D/M/Y", "H:M:S");
    EXPECT_STREQ("", szText);

    // A short destination cuts the text; a date cut short is never followed by a time, which
    // would show another moment ("02/03/ 12" reads as 2 March, 12 o'clock).
    ASSERT_TRUE(ParsePackedDateTime(ab, "02/03/2005 12:30:15", "D/M/Y", "H:M:S"));
    for (int nSize = 1; nSize <= 20; ++nSize) {
        char szShort[32];
        FormatPackedDateTime(szShort, nSize, ab, "D/M/Y", "H:M:S");
        EXPECT_EQ(0u, std::string("02/03/2005 12:30:15").find(szShort)) << nSize << ": " << szShort;
        char achDigits[15];
        ASSERT_TRUE(ParseDateTimeText(achDigits, "02/03/2005 12:30:15", "D/M/Y", "H:M:S"));
        FormatDateTimeText(szShort, nSize, achDigits, "D/M/Y", "H:M:S");
        EXPECT_EQ(0u, std::string("02/03/2005 12:30:15").find(szShort)) << nSize << ": " << szShort;
    }
}

TEST(DateTime, PackedYearsOutsideTheByteAreRefused)
{
    char ab[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(ParsePackedDateTime(ab, "31/12/1921", "D/M/Y", nullptr));
    EXPECT_FALSE(ParsePackedDateTime(ab, "01/01/2178", "D/M/Y", nullptr));
    EXPECT_FALSE(ParsePackedDateTime(ab, "01/01/2999 10:00:00", "D/M/Y", "H:M:S"));
    // In a date and time a first byte 0 means "no value", so the base year cannot be kept there.
    EXPECT_FALSE(ParsePackedDateTime(ab, "01/01/1922 10:00:00", "D/M/Y", "H:M:S"));
    EXPECT_EQ("1,2,3,4,5,6", Bytes(ab, 6)) << "a refused read leaves the destination alone";
    ASSERT_TRUE(ParsePackedDateTime(ab, "01/01/1922", "D/M/Y", nullptr));
    char abLast[4];
    ASSERT_TRUE(ParsePackedDateTime(abLast, "31/12/2177", "D/M/Y", nullptr));
    char szText[16];
    FormatPackedDate(szText, sizeof(szText), ab, "Y/M/D");
    EXPECT_STREQ("1922/01/01", szText);
    FormatPackedDate(szText, sizeof(szText), abLast, "Y/M/D");
    EXPECT_STREQ("2177/12/31", szText);
}

TEST(DateTime, DigitTextsRoundTrip)
{
    char ach[16];
    memset(ach, '.', sizeof(ach));
    ASSERT_TRUE(ParseDateTimeText(ach, "02/03/2005 12:30", "D/M/Y", "H:M:S"));
    EXPECT_EQ("20050302123000..", std::string(ach, 16)) << "no seconds: the full minute, no terminator";
    char szText[32];
    FormatDateTimeText(szText, sizeof(szText), ach, "D/M/Y", "H:M:S");
    EXPECT_STREQ("02/03/2005 12:30:00", szText);
    FormatDateTimeText(szText, 14, ach, "D/M/Y", "H:M:S");
    EXPECT_STREQ("02/03/2005 12", szText);
    FormatDateTimeText(szText, 13, "2005", "D/M/Y", "H:M:S");   // short text: never read past it
    EXPECT_STREQ("", szText);

    ASSERT_TRUE(ParseDateTimeText(ach, "02/03/2005", "D/M/Y", "H:M:S"));
    EXPECT_EQ("20050302000000", std::string(ach, 14));
    EXPECT_FALSE(ParseDateTimeText(ach, "", nullptr, "H:M:S"));
    ASSERT_TRUE(ParseDateTimeText(ach, "23:59:58", nullptr, "H:M:S"));
    EXPECT_EQ("235958", std::string(ach, 6));
    FormatTimeText(szText, sizeof(szText), ach, "h:M");
    EXPECT_STREQ("23:59", szText);
    FormatDateText(szText, sizeof(szText), "20051232", "D/M/Y");
    EXPECT_STREQ("", szText);
    FormatDateText(szText, sizeof(szText), "2005-3-2", "D/M/Y");
    EXPECT_STREQ("", szText);
}

// What a reader takes, the display shows, and the shown text reads back as the same date: a
// date before 1900 is neither refused nor dropped from the display (and so from an export).
TEST(DateTime, EveryDateReadIsShownAndReadsBack)
{
    const char* const apszPatterns[] = {"D/M/Y", "Y/M/D", "M-D-Y", "Y.M.D"};
    for (const char* pszPattern : apszPatterns) {
        for (int nYear = DATE_YEAR_FIRST; nYear <= DATE_YEAR_LAST; nYear += nYear < 2200 ? 1 : 37) {
            char szText[32];
            FormatDate(szText, sizeof(szText), pszPattern, nYear, 2, 28);
            ASSERT_NE('\0', szText[0]) << nYear;
            char achDigits[9] = "........";
            ASSERT_TRUE(ParseDateTimeText(achDigits, szText, pszPattern, nullptr)) << szText;
            char szWant[9];
            snprintf(szWant, sizeof(szWant), "%04d0228", nYear);
            ASSERT_EQ(std::string(szWant), std::string(achDigits, 8)) << szText;
            char szShown[32];
            FormatDateText(szShown, sizeof(szShown), achDigits, pszPattern);
            ASSERT_STREQ(szText, szShown);
        }
    }
    // The readers give no year below DATE_YEAR_FIRST: two digits are completed into 1971..2070.
    EXPECT_EQ("1850-6-1", ReadDate("01/06/1850", "D/M/Y"));
    EXPECT_EQ("100-1-1", ReadDate("01/01/0100", "D/M/Y"));
    EXPECT_EQ("1999-1-1", ReadDate("01/01/0099", "D/M/Y"));
    EXPECT_EQ("2000-1-1", ReadDate("01/01/0000", "D/M/Y"));
}
