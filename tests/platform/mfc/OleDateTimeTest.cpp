#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include "platform/mfc/OleDateTime.h"

namespace {

struct DateTimeCase {
    double dDate;
    int nYear, nMonth, nDay, nHour, nMin, nSec, nDayOfWeek, nDayOfYear;
    const char* pszText;
};
struct DateParts {
    int nYear, nMonth, nDay, nHour, nMin, nSec;
};
struct DateSpanCase {
    DateParts start;
    long lDays, lSeconds;
    DateParts end;
};
#include "DateTimeCases.inc"

std::string PartsText(const COleDateTime& date)
{
    return std::string(date.Format("%Y-%m-%d %H:%M:%S"));
}

std::string PartsText(const DateParts& p)
{
    return std::string(COleDateTime(p.nYear, p.nMonth, p.nDay, p.nHour, p.nMin, p.nSec).Format("%Y-%m-%d %H:%M:%S"));
}

} // namespace

TEST(COleDateTime, AgreesWithPythonDatetime)
{
    for (const DateTimeCase& c : s_dateTimeCases) {
        COleDateTime fromParts(c.nYear, c.nMonth, c.nDay, c.nHour, c.nMin, c.nSec);
        ASSERT_EQ(COleDateTime::valid, fromParts.GetStatus()) << c.pszText;
        EXPECT_DOUBLE_EQ(c.dDate, static_cast<DATE>(fromParts)) << c.pszText;

        COleDateTime fromDate(c.dDate);
        EXPECT_EQ(c.nYear, fromDate.GetYear()) << c.pszText;
        EXPECT_EQ(c.nMonth, fromDate.GetMonth()) << c.pszText;
        EXPECT_EQ(c.nDay, fromDate.GetDay()) << c.pszText;
        EXPECT_EQ(c.nHour, fromDate.GetHour()) << c.pszText;
        EXPECT_EQ(c.nMin, fromDate.GetMinute()) << c.pszText;
        EXPECT_EQ(c.nSec, fromDate.GetSecond()) << c.pszText;
        EXPECT_EQ(c.nDayOfWeek, fromDate.GetDayOfWeek()) << c.pszText;
        EXPECT_EQ(c.nDayOfYear, fromDate.GetDayOfYear()) << c.pszText;
        EXPECT_STREQ(c.pszText, fromDate.Format("%Y %m %d %H %M %S %a %A %b %B %j %I %p %U %W %w %y"));
    }
}

TEST(COleDateTime, ArithmeticAgreesWithPythonDatetime)
{
    for (const DateSpanCase& c : s_dateSpanCases) {
        const DateParts& s = c.start;
        COleDateTime start(s.nYear, s.nMonth, s.nDay, s.nHour, s.nMin, s.nSec);
        COleDateTimeSpan span(c.lDays, 0, 0, static_cast<int>(c.lSeconds));
        COleDateTime end = start + span;
        ASSERT_EQ(COleDateTime::valid, end.GetStatus()) << PartsText(start);
        EXPECT_EQ(PartsText(c.end), PartsText(end)) << PartsText(start) << " + " << c.lDays << "d " << c.lSeconds << "s";
        EXPECT_EQ(PartsText(start), PartsText(end - span));

        COleDateTimeSpan back = end - start;
        EXPECT_EQ(c.lDays, back.GetDays());
        EXPECT_EQ(c.lSeconds, back.GetHours() * 3600L + back.GetMinutes() * 60L + back.GetSeconds());
        EXPECT_EQ(c.lDays >= 0, start <= end);
        EXPECT_EQ(c.lDays < 0, end < start);
    }
}

TEST(COleDateTime, StatusGuardsEveryUse)
{
    COleDateTime date;
    EXPECT_EQ(COleDateTime::valid, date.GetStatus());
    EXPECT_EQ(0.0, static_cast<DATE>(date));
    EXPECT_EQ(1, date.SetDate(2007, 2, 29));        // not a leap year
    EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
    EXPECT_EQ(-1, date.GetYear());
    EXPECT_EQ(-1, date.GetDayOfWeek());
    EXPECT_STREQ("Invalid DateTime", date.Format("%d/%m/%Y"));
    EXPECT_EQ(1, date.SetDate(99, 12, 31));         // before the year 100
    EXPECT_EQ(1, date.SetDateTime(2007, 1, 1, 24, 0, 0));
    EXPECT_EQ(1, date.SetDate(2007, 13, 1));
    EXPECT_EQ(1, date.SetDate(2007, 1, -3));
    EXPECT_EQ(0, date.SetTime(13, 5, 9));
    EXPECT_EQ(1899, date.GetYear());
    EXPECT_EQ(13, date.GetHour());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(3e6).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(-7e5).GetStatus());

    // An invalid date is never earlier nor later; equality wants the same status too.
    COleDateTime bad(2007, 2, 30, 0, 0, 0), good(2007, 3, 1, 0, 0, 0);
    EXPECT_FALSE(bad < good);
    EXPECT_FALSE(good < bad);
    EXPECT_FALSE(bad >= good);
    EXPECT_TRUE(bad != good);
    EXPECT_EQ(COleDateTime::invalid, (bad + COleDateTimeSpan(1, 0, 0, 0)).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (good - bad).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, (COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(1.0)).GetStatus());
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    EXPECT_STREQ("", nullDate.Format("%Y"));
}

TEST(COleDateTime, NegativeDatesCountTheirTimeForward)
{
    // 29 December 1899 06:00 is -1.25 and comes before 18:00 the same day, -1.75.
    COleDateTime morning(-1.25), evening(-1.75);
    EXPECT_TRUE(morning < evening);
    COleDateTimeSpan span = evening - morning;
    EXPECT_DOUBLE_EQ(0.5, span.GetTotalDays());
    EXPECT_EQ(12, span.GetHours());
    EXPECT_DOUBLE_EQ(-1.75, static_cast<DATE>(morning + COleDateTimeSpan(0, 12, 0, 0)));
    EXPECT_DOUBLE_EQ(0.25, static_cast<DATE>(evening + COleDateTimeSpan(0, 12, 0, 0)));
    EXPECT_EQ(-12, (-span).GetHours());
}

TEST(COleDateTime, FormatsTheCodesTheFormsUse)
{
    COleDateTime date(2006, 3, 5, 9, 7, 3);
    EXPECT_STREQ("20060305", date.Format("%Y%m%d"));
    EXPECT_STREQ("05/03/2006", date.Format("%d/%m/%Y"));
    EXPECT_STREQ("2006/03/05", date.Format("%Y/%m/%d"));
    EXPECT_STREQ("5/3 9:7", date.Format("%#d/%#m %#H:%#M"));
    EXPECT_STREQ("03/05/06 09:07:03|03/05/06|09:07:03", date.Format("%c|%x|%X"));
    EXPECT_STREQ("Sunday, March 5, 2006", date.Format("%#x"));
    EXPECT_STREQ("100% %q %", date.Format("100%% %q %"));
}

TEST(COleDateTime, CurrentTimeIsLocalTime)
{
    time_t now = time(nullptr);
    struct tm tmLocal;
    ASSERT_NE(nullptr, localtime_r(&now, &tmLocal));
    COleDateTime current = COleDateTime::GetCurrentTime();
    COleDateTime expected(tmLocal.tm_year + 1900, tmLocal.tm_mon + 1, tmLocal.tm_mday, tmLocal.tm_hour,
                          tmLocal.tm_min, tmLocal.tm_sec);
    EXPECT_LT(std::abs((current - expected).GetTotalSeconds()), 5.0);

    // "Now plus one day", as the order forms preset their expiry date.
    COleDateTime tomorrow = current + COleDateTimeSpan(1, 0, 0, 0);
    EXPECT_DOUBLE_EQ(1.0, (tomorrow - current).GetTotalDays());
    EXPECT_EQ(current.GetHour(), tomorrow.GetHour());
}
