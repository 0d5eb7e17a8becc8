#include "refdata/ZorvatClocks.h"

#include <cstdio>
#include <cstring>
#include "framework/base/ColumnDataType.h"
#include "refdata/NewYorkTime.h"
#include "refdata/ServerDateFields.h"

namespace {
const long long SECONDS_PER_DAY = 86400;

class CSystemClock : public IClockSource
{
public:
    time_t GetNow() const override { return time(nullptr); }
    int GetLocalSecondsOfDay() const override
    {
        const time_t now = time(nullptr);
        struct tm local = {};
        if (localtime_r(&now, &local) == nullptr)
            return 0;
        return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    }
};

long long WrapDay(long long nSeconds)
{
    return (nSeconds % SECONDS_PER_DAY + SECONDS_PER_DAY) % SECONDS_PER_DAY;
}

int Digit(char ch)
{
    return ch - '0';
}
}  // namespace

const IClockSource& GetSystemClock()
{
    static const CSystemClock s_clock;
    return s_clock;
}

CString CZorvatClocks::ClockText(const CNorvTime& time)
{
    const long long nSeconds = WrapDay(time.GetSecondsOfDay());
    CString strText;
    strText.Format("%02d:%02d:%02d", static_cast<int>(nSeconds / 3600), static_cast<int>(nSeconds / 60 % 60),
                   static_cast<int>(nSeconds % 60));
    return strText;
}

CNorvTime CZorvatClocks::GetServerTime() const
{
    // The offset is the server's claim: keep the difference in 64 bits and within what a
    // packed time holds.
    long long nSeconds = static_cast<long long>(Clock().GetLocalSecondsOfDay()) - m_nClockOffset;
    const long long nLimit = 700000000;
    if (nSeconds > nLimit)
        nSeconds = nLimit;
    if (nSeconds < -nLimit)
        nSeconds = -nLimit;
    CNorvTime time;
    time.Set(0, 0, static_cast<int>(nSeconds));
    return time;
}

CString CZorvatClocks::GetServerTimeText() const
{
    return ClockText(GetServerTime());
}

CNorvTime CZorvatClocks::ToNewYork(const CNorvTime& kuwait) const
{
    CNorvTime result;
    KuwaitToNewYorkTimeAt(kuwait, result, Clock().GetNow());
    return result;
}

CNorvTime CZorvatClocks::GetServerTimeNY() const
{
    // The server time comes from the machine's time of day, so it is unwrapped and its date is
    // whichever the machine's zone gives. It names the instant nearest now with that Kuwait time
    // of day, and that instant, not today in Kuwait, decides New York's summer time.
    const time_t tNow = Clock().GetNow();
    const long long nServer = WrapDay(GetServerTime().GetSecondsOfDay());
    const long long nAhead =
        WrapDay(nServer - (static_cast<long long>(tNow) + KUWAIT_UTC_OFFSET) + SECONDS_PER_DAY / 2) -
        SECONDS_PER_DAY / 2;
    CNorvTime kuwait, result;
    kuwait.Set(0, 0, static_cast<int>(nServer));
    KuwaitToNewYorkTimeAt(kuwait, result, static_cast<time_t>(tNow + nAhead));
    return result;
}

CString CZorvatClocks::GetServerTimeNYText() const
{
    return ClockText(GetServerTimeNY());
}

BOOL CZorvatClocks::ShiftServerTime(const char* pszTime, char* pszResult, long nMarketCode) const
{
    if (pszResult == nullptr)
        return FALSE;
    if (pszTime == nullptr)
        pszTime = "";
    BOOL bDigits = strlen(pszTime) == SHIFT_TIME_SIZE - 1;
    for (int i = 0; bDigits && i < SHIFT_TIME_SIZE - 1; ++i)
        bDigits = pszTime[i] >= '0' && pszTime[i] <= '9';
    if (!bDigits) {
        snprintf(pszResult, SHIFT_TIME_SIZE, "%s", pszTime);
        return FALSE;
    }
    const long nMarketOffset = m_pMarkets != nullptr ? m_pMarkets->GetMarketTimeOffset(nMarketCode) : 0;
    const long long nSeconds = (Digit(pszTime[0]) * 10 + Digit(pszTime[1])) * 3600LL +
                               (Digit(pszTime[2]) * 10 + Digit(pszTime[3])) * 60LL + Digit(pszTime[4]) * 10 +
                               Digit(pszTime[5]) - nMarketOffset + m_nGlobalTimeOffset;
    // Wrapped into one day either way so that six digits always hold it; only the next day is
    // told, the caller has no use for the previous one.
    const BOOL bNextDay = nSeconds >= SECONDS_PER_DAY;
    const long long nWrapped = WrapDay(nSeconds);
    // Unsigned and bounded, so that the compiler too sees two digits each.
    const unsigned uWrapped = static_cast<unsigned>(nWrapped);
    snprintf(pszResult, SHIFT_TIME_SIZE, "%02u%02u%02u", uWrapped / 3600 % 24, uWrapped / 60 % 60, uWrapped % 60);
    return bNextDay;
}

BOOL CZorvatClocks::ShiftServerTimeField(const char* pszField, char* pszResult, long nMarketCode) const
{
    return ShiftServerTime(ConvertServerDateField(pszField, COLTYPE_TIME_TEXT), pszResult, nMarketCode);
}
