#pragma once
// The simulated clock: Kuwait local time in milliseconds since 1 January 2000 00:00. It starts
// where the caller sets it and moves only with the model's events, never with the wall clock,
// so a run replays exactly. Kuwait keeps no summer time, so no time zone enters.
#include <cstdint>
#include <string>

class CSimClock
{
public:
    // nDate YYYYMMDD (2000 to 2099), nTime HHMMSS; false, and the clock unchanged, when either
    // is not a real date or time.
    bool Set(int nDate, int nTime);
    void Advance(int64_t nMillis) { m_nMillis += nMillis > 0 ? nMillis : 0; }
    int64_t GetMillis() const { return m_nMillis; }
    int GetDate() const;                  // YYYYMMDD
    int GetTime() const;                  // HHMMSS
    int64_t GetMinute() const { return m_nMillis / 60000; }

    // The server's compact forms: the year minus 2000 without leading zeros, then MMDD, and
    // the time with no leading zero of the hour ("61231", "93000", "61231093000").
    std::string ServerDate() const { return ServerDate(GetDate()); }
    std::string ServerTime() const { return ServerTime(GetTime()); }
    std::string ServerDateTime() const;
    static std::string ServerDate(int nDate);
    static std::string ServerTime(int nTime);
    // A server date back to YYYYMMDD; 0 when it is not a date.
    static int FromServerDate(const std::string& strDate);
    // The day before nDate, skipping Fridays and Saturdays (the KSE weekend).
    static int PreviousTradingDate(int nDate);
    static bool IsValidDate(int nDate);
    // Days from 1 January 2000 (day 0, a Saturday) to a valid YYYYMMDD, and back.
    static int64_t DayNumber(int nDate);
    static int DateOfDay(int64_t nDay);
private:
    int64_t m_nMillis = 0;
};
