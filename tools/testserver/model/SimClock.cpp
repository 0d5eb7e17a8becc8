#include "tools/testserver/model/SimClock.h"
#include <cstdio>
#include <cstdlib>

// Days from 1 January 2000 (a Saturday) to a civil date, and back: the proleptic Gregorian
// count on years starting in March, so leap days fall at the end of a year.
static int64_t DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 730425;     // 730425: days from 0000-03-01 to 2000-01-01
}

static int CivilFromDays(int64_t nDays)
{
    const int64_t z = nDays + 730425;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2));
    return y * 10000 + m * 100 + d;
}

bool CSimClock::IsValidDate(int nDate)
{
    const int y = nDate / 10000, m = nDate / 100 % 100, d = nDate % 100;
    if (y < 2000 || y > 2099 || m < 1 || m > 12 || d < 1)
        return false;
    return CivilFromDays(DaysFromCivil(y, m, d)) == nDate;
}

bool CSimClock::Set(int nDate, int nTime)
{
    const int h = nTime / 10000, mi = nTime / 100 % 100, s = nTime % 100;
    if (!IsValidDate(nDate) || nTime < 0 || h > 23 || mi > 59 || s > 59)
        return false;
    const int64_t nDays = DaysFromCivil(nDate / 10000, nDate / 100 % 100, nDate % 100);
    m_nMillis = ((nDays * 24 + h) * 3600 + mi * 60 + s) * 1000;
    return true;
}

int CSimClock::GetDate() const
{
    return CivilFromDays(m_nMillis / 86400000);
}

int CSimClock::GetTime() const
{
    const int64_t nSeconds = m_nMillis / 1000 % 86400;
    return static_cast<int>(nSeconds / 3600 * 10000 + nSeconds / 60 % 60 * 100 + nSeconds % 60);
}

std::string CSimClock::ServerDate(int nDate)
{
    char sz[16];
    snprintf(sz, sizeof sz, "%d%04d", nDate / 10000 - 2000, nDate % 10000);
    return sz;
}

std::string CSimClock::ServerTime(int nTime)
{
    char sz[16];
    snprintf(sz, sizeof sz, "%d", nTime);
    return sz;
}

int CSimClock::FromServerDate(const std::string& strDate)
{
    const int nDate = atoi(strDate.c_str()) + 20000000;
    return IsValidDate(nDate) ? nDate : 0;
}

std::string CSimClock::ServerDateTime() const
{
    char sz[24];
    const int nDate = GetDate();
    snprintf(sz, sizeof sz, "%d%04d%06d", nDate / 10000 - 2000, nDate % 10000, GetTime());
    return sz;
}

int CSimClock::PreviousTradingDate(int nDate)
{
    if (!IsValidDate(nDate))
        return nDate;
    int64_t nDays = DaysFromCivil(nDate / 10000, nDate / 100 % 100, nDate % 100);
    do {
        --nDays;
    } while ((nDays + 5) % 7 == 4 || (nDays + 5) % 7 == 5);   // Monday 0; day 0 was a Saturday
    return CivilFromDays(nDays);
}

int64_t CSimClock::DayNumber(int nDate)
{
    return DaysFromCivil(nDate / 10000, nDate / 100 % 100, nDate % 100);
}

int CSimClock::DateOfDay(int64_t nDay)
{
    return CivilFromDays(nDay);
}
