#pragma once
// Dates and times as the library keeps them: a DATE is days since 30 December 1899 with the
// time of day as the fraction (before that day the whole part is negative and the fraction
// still counts forward, so -1.25 is 29 December 1899 06:00), years 100 to 9999, the Gregorian
// calendar throughout, to the second. Each value carries a status; what fails to convert or
// falls outside the range becomes invalid, and invalid values answer -1 from every getter.
#include <ctime>
#include "platform/mfc/String.h"
#include "platform/win/Records.h"

typedef double DATE;

class COleDateTimeSpan;

class COleDateTime
{
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    // Construction: the default is the zero date (30 December 1899 00:00:00), valid.
    COleDateTime() = default;
    COleDateTime(DATE dtSrc);                       // NOLINT: a DATE is a date-time
    explicit COleDateTime(time_t timeSrc);          // local time, as the C library's localtime
    COleDateTime(const SYSTEMTIME& systimeSrc);     // NOLINT: the parts to the second
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    static COleDateTime GetCurrentTime();           // local time now

    COleDateTime& operator=(DATE dtSrc);
    // Setters answer 0 when the parts make a date, else 1 with the status invalid. SetTime
    // puts the time on the zero date.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }
    int SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

    // The parts of a valid value (milliseconds 0, day of week 0 for Sunday); FALSE otherwise.
    BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    operator DATE() const { return m_dt; }

    // Parts, rounded to the nearest second; -1 when the value is not a valid date. Day of
    // week 1 is Sunday.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;
    int GetDayOfYear() const;

    // strftime's codes in English with the C locale's forms (%a %A %b %B %c %d %H %I %j %m %M
    // %p %S %U %w %W %x %X %y %Y %%; '#' drops leading zeros, as in "%#d"). An invalid value
    // formats as "Invalid DateTime", a null one as "".
    CString Format(LPCSTR pszFormat) const;
    CString Format(UINT nFormatId) const;           // the format is a string resource

    // Comparison. Ordering is false when either side is not valid; equality needs the same
    // status and the same value.
    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const;
    bool operator>=(const COleDateTime& date) const { return date <= *this; }

    // Arithmetic. A result outside the range, or from an operand that is not valid, is invalid.
    COleDateTime operator+(const COleDateTimeSpan& span) const;
    COleDateTime operator-(const COleDateTimeSpan& span) const;
    COleDateTime& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTime& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }
    COleDateTimeSpan operator-(const COleDateTime& date) const;

private:
    struct Parts { int nYear, nMonth, nDay, nHour, nMin, nSec, nDayOfWeek, nDayOfYear; };
    bool GetParts(Parts& parts) const;
    static COleDateTime FromLinear(double dLinear);

    DATE m_dt = 0.0;
    DateTimeStatus m_status = valid;
};

// A length of time in days (fraction = time of day), with a status like COleDateTime's.
class COleDateTimeSpan
{
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() = default;
    COleDateTimeSpan(double dblSpanSrc);            // NOLINT: a span is a number of days
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    operator double() const { return m_span; }

    // Whole parts, rounded to the nearest second; a negative span has negative parts.
    LONG GetDays() const;
    LONG GetHours() const;
    LONG GetMinutes() const;
    LONG GetSeconds() const;
    double GetTotalDays() const { return m_span; }
    double GetTotalHours() const { return m_span * 24.0; }
    double GetTotalMinutes() const { return m_span * 24.0 * 60.0; }
    double GetTotalSeconds() const { return m_span * 24.0 * 60.0 * 60.0; }

    bool operator==(const COleDateTimeSpan& span) const { return m_status == span.m_status && m_span == span.m_span; }
    bool operator!=(const COleDateTimeSpan& span) const { return !(*this == span); }
    bool operator<(const COleDateTimeSpan& span) const { return BothValid(span) && m_span < span.m_span; }
    bool operator>(const COleDateTimeSpan& span) const { return BothValid(span) && m_span > span.m_span; }
    bool operator<=(const COleDateTimeSpan& span) const { return BothValid(span) && m_span <= span.m_span; }
    bool operator>=(const COleDateTimeSpan& span) const { return BothValid(span) && m_span >= span.m_span; }

    COleDateTimeSpan operator+(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& span) const;
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& span) { return *this = *this + span; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& span) { return *this = *this - span; }

private:
    bool BothValid(const COleDateTimeSpan& span) const { return m_status == valid && span.m_status == valid; }
    long long RoundedSeconds() const;

    double m_span = 0.0;
    DateTimeSpanStatus m_status = valid;
};
