#pragma once
// A time of day or a signed duration, packed as sign x (hours x 10000 + minutes x 100 + seconds)
// so that times compare as plain integers. Hours are not limited to 23; minutes and seconds
// always lie in 0..59. The market schedules and the displayed clock use it.
#include "framework/base/TBString.h"
#include "platform/win/WinTypes.h"

class CNorvTime
{
public:
    CNorvTime() = default;
    virtual ~CNorvTime() = default;

    // Seconds carry into minutes and minutes into hours; any negative part makes the value
    // negative. Returns the packed value. Hours beyond what the packed value holds are cut.
    int Set(int nHours, int nMinutes, int nSeconds);
    int SetNow();                                   // the local time of the system clock
    int GetPacked() const { return m_nPacked; }
    int GetSecondsOfDay() const;                    // signed, like the value

    bool operator>(const CNorvTime& other) const { return m_nPacked > other.m_nPacked; }
    bool operator>=(const CNorvTime& other) const { return m_nPacked >= other.m_nPacked; }
    bool operator<(const CNorvTime& other) const { return m_nPacked < other.m_nPacked; }
    CNorvTime operator+(const CNorvTime& other) const;
    CNorvTime operator-(const CNorvTime& other) const;

    // "09:05:07" with the leading zero, "9:05:07" without; a negative value leads with '-'.
    void FormatTo(char* pszDest, int nSize, BOOL bLeadingZero) const;
    CTBString Format(BOOL bLeadingZero) const;
    CTBString ToString() const { return Format(TRUE); }

private:
    int32_t m_nPacked = 0;
};
