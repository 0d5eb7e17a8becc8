#pragma once
// One point of a chart series and the packed calendar date the historical series are placed by.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

// A point of a series: a node of the doubly linked list the series holder owns and fills
// (ZorvatChartDataHolder.h); the charts only read it.
struct CChartPoint
{
    int m_nSeq = 0;             // x of lines: position in a historical series, seconds of the day intraday
    int m_nTime = 0;            // x of bars and per-cent lines: calendar slot from the start date, or seconds
    double m_dClose = 0.0;      // last or closing price
    int m_nCount = 1;           // prices averaged into m_dClose
    double m_dHigh = 0.0;
    double m_dLow = 0.0;
    double m_dPercent = 0.0;    // change against the series' base price, per cent
    // 64-bit: the indices trade past 2^31 a day, and sums and deltas of them more.
    LONGLONG m_nVolume = 0;
    double m_dOpen = 0.0;
    double m_dAverage = 0.0;    // moving average, as the server sends it
    double m_dDeviation = 0.0;  // standard deviation around the average
    CChartPoint* m_pNext = nullptr;
    CChartPoint* m_pPrev = nullptr;
};

// A calendar date packed as yyyymmdd. 0 is the empty date; 99999999 the special value that
// 99/99/99 normalises to. Two-digit years 1 to 79 are 20yy and 80 to 98 are 19yy.
class CNorvDate
{
public:
    CNorvDate() = default;
    explicit CNorvDate(int nPacked) { SetPacked(nPacked); }

    static BOOL IsValidMonth(int nMonth) { return nMonth >= 1 && nMonth <= 12; }
    static int DaysInYear(int nYear);
    static int DaysInMonth(int nMonth, int nYear);      // 0 for a month outside 1..12

    // Setting. A value that does not name a day of the calendar is kept as given (IsValid FALSE).
    void SetPacked(int nPacked);
    void SetDate(int nYear, int nMonth, int nDay);
    void Normalize();

    int GetPacked() const { return m_nValue; }
    int GetYear() const { return m_nValue / 10000; }
    int GetMonth() const { return m_nValue / 100 % 100; }
    int GetDay() const { return m_nValue % 100; }
    BOOL IsValid() const;                               // TRUE for the empty date too

    // Day arithmetic, on valid dates only.
    int DayOfYear() const;                              // 1 for the 1st of January
    void SetDayOfYear(int nDay, int nYear);
    void AddDays(int nDays);                            // nDays >= 0
    void SubtractDays(int nDays);                       // nDays >= 0
    int DayOfWeek() const;                              // 1 Monday .. 7 Sunday; 0 when invalid
    // Days since 1 January of year 1 (proleptic Gregorian, that day is 0): the distance of two
    // dates is the difference of their numbers.
    int GetDayNumber() const;
    CNorvDate operator+(int nDays) const;

    bool operator==(const CNorvDate& other) const { return m_nValue == other.m_nValue; }
    bool operator<(const CNorvDate& other) const { return m_nValue < other.m_nValue; }
    bool operator<=(const CNorvDate& other) const { return m_nValue <= other.m_nValue; }

    // The display date in the framework's date pattern.
    CString Format() const;

private:
    int m_nValue = 0;
};
