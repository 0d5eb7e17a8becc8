#include "refdata/NewYorkTime.h"

namespace {
const long long SECONDS_PER_DAY = 86400;

// Days since 1 January 1970 of a Gregorian date (H. Hinnant's days-from-civil).
long long DaysFromCivil(long long nYear, int nMonth, int nDay)
{
    nYear -= nMonth <= 2;
    const long long nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
    const long long nYearOfEra = nYear - nEra * 400;
    const long long nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
    const long long nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    return nEra * 146097 + nDayOfEra - 719468;
}

long long FloorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int YearOfInstant(time_t tInstant)
{
    struct tm utc = {};
    if (gmtime_r(&tInstant, &utc) == nullptr)
        return 0;
    return utc.tm_year + 1900;
}

// The day (since 1970) of the nth Sunday of a month.
long long NthSunday(int nYear, int nMonth, int nNth)
{
    const long long nFirst = DaysFromCivil(nYear, nMonth, 1);
    const long long nWeekday = ((nFirst + 4) % 7 + 7) % 7;     // 1 January 1970 was a Thursday
    const long long nToSunday = (7 - nWeekday) % 7;
    return nFirst + nToSunday + 7 * (nNth - 1);
}

int ResolveYear(int nYear)
{
    return nYear == 0 ? YearOfInstant(time(nullptr)) : nYear;
}
}  // namespace

time_t UsDstStart(int nYear)
{
    nYear = ResolveYear(nYear);
    if (nYear < 1 || nYear > 9999)
        return -1;
    // 02:00 standard time (UTC-5) on the second Sunday of March.
    return static_cast<time_t>(NthSunday(nYear, 3, 2) * SECONDS_PER_DAY + 7 * 3600);
}

time_t UsDstEnd(int nYear)
{
    nYear = ResolveYear(nYear);
    if (nYear < 1 || nYear > 9999)
        return -1;
    // 02:00 summer time (UTC-4) on the first Sunday of November.
    return static_cast<time_t>(NthSunday(nYear, 11, 1) * SECONDS_PER_DAY + 6 * 3600);
}

BOOL IsUsSummerTime(time_t tInstant)
{
    const int nYear = YearOfInstant(tInstant);
    if (nYear < 1 || nYear > 9999)
        return FALSE;
    return tInstant >= UsDstStart(nYear) && tInstant < UsDstEnd(nYear);
}

BOOL KuwaitToNewYorkTimeAt(const CNorvTime& kuwait, CNorvTime& result, time_t tNow)
{
    const long long nKuwait = kuwait.GetSecondsOfDay();
    // The instant of that time of day on today's date in Kuwait.
    const long long nKuwaitDay = FloorDiv(static_cast<long long>(tNow) + KUWAIT_UTC_OFFSET, SECONDS_PER_DAY);
    const time_t tInstant = static_cast<time_t>(nKuwaitDay * SECONDS_PER_DAY - KUWAIT_UTC_OFFSET + nKuwait);
    const long long nOffset = IsUsSummerTime(tInstant) ? KUWAIT_TO_NEW_YORK_SUMMER : KUWAIT_TO_NEW_YORK_WINTER;
    long long nNewYork = nKuwait - nOffset;
    BOOL bPreviousDay = FALSE;
    if (nNewYork < 0) {
        nNewYork += SECONDS_PER_DAY;
        bPreviousDay = TRUE;
    }
    // A packed time holds far more than any seconds of day GetSecondsOfDay can give.
    result.Set(0, 0, static_cast<int>(nNewYork));
    return bPreviousDay;
}

BOOL KuwaitToNewYorkTime(const CNorvTime& kuwait, CNorvTime& result)
{
    return KuwaitToNewYorkTimeAt(kuwait, result, time(nullptr));
}
