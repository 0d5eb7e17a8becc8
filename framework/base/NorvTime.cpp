#include "framework/base/NorvTime.h"

#include <cstdio>
#include <ctime>

namespace {
// The most hours a packed value holds: 214747 x 10000 + 5959 still fits 32 bits.
const long long MAX_PACKED_HOURS = 214747;

long long Magnitude(long long n)
{
    return n < 0 ? -n : n;
}
}  // namespace

int CNorvTime::Set(int nHours, int nMinutes, int nSeconds)
{
    // 64-bit throughout: the carries of extreme arguments must not overflow.
    long long nSecondsAbs = Magnitude(nSeconds);
    long long nMinutesCarried = nMinutes + nSecondsAbs / 60;
    long long nHoursAbs = Magnitude(nHours) + Magnitude(nMinutesCarried) / 60;
    if (nHoursAbs > MAX_PACKED_HOURS)
        nHoursAbs = MAX_PACKED_HOURS;
    long long nPacked = nHoursAbs * 10000 + (Magnitude(nMinutesCarried) % 60) * 100 + nSecondsAbs % 60;
    if (nHours < 0 || nMinutesCarried < 0 || nSeconds < 0)
        nPacked = -nPacked;
    m_nPacked = static_cast<int32_t>(nPacked);
    return m_nPacked;
}

int CNorvTime::SetNow()
{
    time_t now = time(nullptr);
    struct tm local = {};
    if (localtime_r(&now, &local) == nullptr)
        return Set(0, 0, 0);
    return Set(local.tm_hour, local.tm_min, local.tm_sec);
}

int CNorvTime::GetSecondsOfDay() const
{
    int nAbs = m_nPacked < 0 ? -m_nPacked : m_nPacked;
    int nSeconds = (nAbs / 10000) * 3600 + (nAbs / 100 % 100) * 60 + nAbs % 100;
    return m_nPacked < 0 ? -nSeconds : nSeconds;
}

CNorvTime CNorvTime::operator+(const CNorvTime& other) const
{
    CNorvTime result;
    // Two packed values hold at most 773 million seconds each: the sum fits an int.
    result.Set(0, 0, GetSecondsOfDay() + other.GetSecondsOfDay());
    return result;
}

CNorvTime CNorvTime::operator-(const CNorvTime& other) const
{
    CNorvTime result;
    result.Set(0, 0, GetSecondsOfDay() - other.GetSecondsOfDay());
    return result;
}

void CNorvTime::FormatTo(char* pszDest, int nSize, BOOL bLeadingZero) const
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    int nAbs = m_nPacked < 0 ? -m_nPacked : m_nPacked;
    snprintf(pszDest, static_cast<size_t>(nSize), bLeadingZero ? "%s%02d:%02d:%02d" : "%s%d:%02d:%02d",
             m_nPacked < 0 ? "-" : "", nAbs / 10000, nAbs / 100 % 100, nAbs % 100);
}

CTBString CNorvTime::Format(BOOL bLeadingZero) const
{
    char szText[32];
    FormatTo(szText, sizeof(szText), bLeadingZero);
    return CTBString(szText);
}
