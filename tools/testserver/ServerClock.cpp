#include "tools/testserver/ServerClock.h"
#include <cstdio>
#include <ctime>

bool CServerClock::Set(const std::string& strText)
{
    tm t{};
    char c;
    if (sscanf(strText.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour, &t.tm_min,
               &t.tm_sec, &c) != 6)
        return false;
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    m_nSeconds = static_cast<long long>(timegm(&t));
    return true;
}

CRecord CServerClock::Values() const
{
    const time_t when = static_cast<time_t>(m_nSeconds);
    tm t{};
    gmtime_r(&when, &t);
    char szDate[48], szTime[48], szDate8[48], szTime6[48];
    snprintf(szDate, sizeof szDate, "%d%02d%02d", t.tm_year + 1900 - 2000, t.tm_mon + 1, t.tm_mday);
    snprintf(szTime, sizeof szTime, "%d%02d%02d", t.tm_hour, t.tm_min, t.tm_sec);
    snprintf(szDate8, sizeof szDate8, "%04d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    snprintf(szTime6, sizeof szTime6, "%02d%02d%02d", t.tm_hour, t.tm_min, t.tm_sec);
    // A date of 2000 has no digits of its own before MMDD; "0" keeps the field a number.
    std::string strDate = szDate;
    if (t.tm_year + 1900 == 2000)
        strDate = "0" + strDate;
    return {{"date", strDate}, {"time", szTime}, {"datetime", strDate + szTime6},
            {"date8", szDate8}, {"time6", szTime6}};
}
