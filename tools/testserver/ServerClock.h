#pragma once
// The simulated clock: Kuwait time in whole seconds. It starts at the time given on the command
// line and moves only when the server moves it (with the live events), so a run replays.
#include <string>
#include "tools/testserver/Records.h"

class CServerClock
{
public:
    // "YYYY-MM-DD HH:MM:SS"; false, and the clock unchanged, when the text is not one.
    bool Set(const std::string& strText);
    void Advance(long nSeconds) { m_nSeconds += nSeconds > 0 ? nSeconds : 0; }
    long long GetSeconds() const { return m_nSeconds; }
    long long GetMinute() const { return m_nSeconds / 60; }
    // The values shapes read as {clock.F}: date, time and datetime in the server's compact
    // forms (year minus 2000 without leading zeros, then MMDD; the hour without a leading
    // zero), and date8 (YYYYMMDD) and time6 (HHMMSS) in full.
    CRecord Values() const;
private:
    long long m_nSeconds = 0;     // since 1970-01-01 00:00:00 Kuwait time
};
