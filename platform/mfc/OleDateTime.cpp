#include "platform/mfc/OleDateTime.h"

#include <chrono>
#include <cmath>

namespace {

using namespace std::chrono;

constexpr sys_days ZERO_DATE = sys_days{year{1899} / December / 30};
constexpr long long SECONDS_PER_DAY = 86400;
// 1 January 100 and the day after 31 December 9999, as days from the zero date.
constexpr double MIN_LINEAR = -657434.0;
constexpr double END_LINEAR = 2958466.0;

// A DATE before the zero date has a negative day and a forward-counting fraction, so it does
// not order as a number. Arithmetic and comparison work on the plain "linear" day count.
double DateToLinear(DATE dt)
{
    if (dt >= 0.0)
        return dt;
    double dDay = std::ceil(dt);
    return dDay + (dDay - dt);
}

DATE LinearToDate(double dLinear)
{
    if (dLinear >= 0.0)
        return dLinear;
    double dDay = std::floor(dLinear);
    double dFraction = dLinear - dDay;
    return dFraction == 0.0 ? dDay : dDay - dFraction;
}

bool IsInRange(double dLinear)
{
    return std::isfinite(dLinear) && dLinear >= MIN_LINEAR && dLinear < END_LINEAR;
}

const char* const s_days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const s_months[] = {"January", "February", "March", "April", "May", "June", "July",
                                "August", "September", "October", "November", "December"};

} // namespace

COleDateTime::COleDateTime(DATE dtSrc)
{
    *this = dtSrc;
}

COleDateTime::COleDateTime(time_t timeSrc)
{
    struct tm tmLocal;
    if (localtime_r(&timeSrc, &tmLocal) == nullptr) {
        m_status = invalid;
        return;
    }
    SetDateTime(tmLocal.tm_year + 1900, tmLocal.tm_mon + 1, tmLocal.tm_mday, tmLocal.tm_hour, tmLocal.tm_min,
                // A leap second shows as :59, the last second the library knows.
                tmLocal.tm_sec > 59 ? 59 : tmLocal.tm_sec);
}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute,
                systimeSrc.wSecond);
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    Parts parts;
    if (m_status != valid || !GetParts(parts))
        return FALSE;
    sysTime.wYear = static_cast<WORD>(parts.nYear);
    sysTime.wMonth = static_cast<WORD>(parts.nMonth);
    sysTime.wDayOfWeek = static_cast<WORD>(parts.nDayOfWeek - 1);
    sysTime.wDay = static_cast<WORD>(parts.nDay);
    sysTime.wHour = static_cast<WORD>(parts.nHour);
    sysTime.wMinute = static_cast<WORD>(parts.nMin);
    sysTime.wSecond = static_cast<WORD>(parts.nSec);
    sysTime.wMilliseconds = 0;
    return TRUE;
}

COleDateTime COleDateTime::GetCurrentTime()
{
    return COleDateTime(time(nullptr));
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = IsInRange(DateToLinear(dtSrc)) ? valid : invalid;
    return *this;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    year_month_day ymd{year{nYear}, month{static_cast<unsigned>(nMonth)}, day{static_cast<unsigned>(nDay)}};
    bool bValid = nYear >= 100 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31
                  && ymd.ok() && nHour >= 0 && nHour <= 23 && nMin >= 0 && nMin <= 59 && nSec >= 0 && nSec <= 59;
    if (!bValid) {
        m_dt = 0.0;
        m_status = invalid;
        return 1;
    }
    long long nDays = (sys_days{ymd} - ZERO_DATE).count();
    double dTime = static_cast<double>(nHour * 3600 + nMin * 60 + nSec) / static_cast<double>(SECONDS_PER_DAY);
    m_dt = nDays >= 0 ? static_cast<double>(nDays) + dTime : static_cast<double>(nDays) - dTime;
    m_status = valid;
    return 0;
}

bool COleDateTime::GetParts(Parts& parts) const
{
    double dLinear = DateToLinear(m_dt);
    if (m_status != valid || !IsInRange(dLinear))
        return false;
    long long nTotal = std::llround(dLinear * static_cast<double>(SECONDS_PER_DAY));
    long long nDays = nTotal / SECONDS_PER_DAY;
    long long nSeconds = nTotal % SECONDS_PER_DAY;
    if (nSeconds < 0) {
        nSeconds += SECONDS_PER_DAY;
        --nDays;
    }
    sys_days date = ZERO_DATE + days{nDays};
    year_month_day ymd{date};
    int nYear = static_cast<int>(ymd.year());
    if (nYear > 9999)
        return false;   // 31 December 9999 23:59:59.6 rounds into year 10000
    parts.nYear = nYear;
    parts.nMonth = static_cast<int>(static_cast<unsigned>(ymd.month()));
    parts.nDay = static_cast<int>(static_cast<unsigned>(ymd.day()));
    parts.nHour = static_cast<int>(nSeconds / 3600);
    parts.nMin = static_cast<int>(nSeconds / 60 % 60);
    parts.nSec = static_cast<int>(nSeconds % 60);
    parts.nDayOfWeek = static_cast<int>(weekday{date}.c_encoding()) + 1;
    parts.nDayOfYear = static_cast<int>((date - sys_days{ymd.year() / January / 1}).count()) + 1;
    return true;
}

int COleDateTime::GetYear() const
{
    Parts parts;
    return GetParts(parts) ? parts.nYear : -1;
}

int COleDateTime::GetMonth() const
{
    Parts parts;
    return GetParts(parts) ? parts.nMonth : -1;
}

int COleDateTime::GetDay() const
{
    Parts parts;
    return GetParts(parts) ? parts.nDay : -1;
}

int COleDateTime::GetHour() const
{
    Parts parts;
    return GetParts(parts) ? parts.nHour : -1;
}

int COleDateTime::GetMinute() const
{
    Parts parts;
    return GetParts(parts) ? parts.nMin : -1;
}

int COleDateTime::GetSecond() const
{
    Parts parts;
    return GetParts(parts) ? parts.nSec : -1;
}

int COleDateTime::GetDayOfWeek() const
{
    Parts parts;
    return GetParts(parts) ? parts.nDayOfWeek : -1;
}

int COleDateTime::GetDayOfYear() const
{
    Parts parts;
    return GetParts(parts) ? parts.nDayOfYear : -1;
}

CString COleDateTime::Format(LPCSTR pszFormat) const
{
    if (m_status == null)
        return CString();
    Parts p;
    if (!GetParts(p))
        return CString("Invalid DateTime");
    CString str;
    for (LPCSTR psz = pszFormat ? pszFormat : ""; *psz != '\0'; ++psz) {
        if (*psz != '%' || psz[1] == '\0') {
            str += *psz;
            continue;
        }
        bool bAlternate = psz[1] == '#';
        if (bAlternate && psz[2] == '\0') {
            str += "%#";
            break;
        }
        char chCode = psz[bAlternate ? 2 : 1];
        psz += bAlternate ? 2 : 1;
        // Numbers: width 2 (or 3, 4) with zeros, or without them under '#'.
        auto number = [&](int nValue, int nWidth) { str.AppendFormat("%0*d", bAlternate ? 1 : nWidth, nValue); };
        int nHour12 = p.nHour % 12 == 0 ? 12 : p.nHour % 12;
        int nYearDay0 = p.nDayOfYear - 1, nWeekDay0 = p.nDayOfWeek - 1;
        switch (chCode) {
        case 'a': str.AppendFormat("%.3s", s_days[nWeekDay0]); break;
        case 'A': str += s_days[nWeekDay0]; break;
        case 'b': str.AppendFormat("%.3s", s_months[p.nMonth - 1]); break;
        case 'B': str += s_months[p.nMonth - 1]; break;
        case 'c':
            str += bAlternate ? Format("%A, %B %#d, %Y, %H:%M:%S") : Format("%m/%d/%y %H:%M:%S");
            break;
        case 'x': str += bAlternate ? Format("%A, %B %#d, %Y") : Format("%m/%d/%y"); break;
        case 'X': str += Format("%H:%M:%S"); break;
        case 'd': number(p.nDay, 2); break;
        case 'H': number(p.nHour, 2); break;
        case 'I': number(nHour12, 2); break;
        case 'j': number(p.nDayOfYear, 3); break;
        case 'm': number(p.nMonth, 2); break;
        case 'M': number(p.nMin, 2); break;
        case 'S': number(p.nSec, 2); break;
        case 'p': str += p.nHour < 12 ? "AM" : "PM"; break;
        case 'U': number((nYearDay0 + 7 - nWeekDay0) / 7, 2); break;
        case 'W': number((nYearDay0 + 7 - (nWeekDay0 + 6) % 7) / 7, 2); break;
        case 'w': number(nWeekDay0, 1); break;
        case 'y': number(p.nYear % 100, 2); break;
        case 'Y': number(p.nYear, 4); break;
        case '%': str += '%'; break;
        default:    // not a code we know: kept as written
            str += '%';
            if (bAlternate)
                str += '#';
            str += chCode;
            break;
        }
    }
    return str;
}

CString COleDateTime::Format(UINT nFormatId) const
{
    CString strFormat;
    strFormat.LoadString(nFormatId);
    return Format(strFormat.GetString());
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && m_dt == date.m_dt;
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && DateToLinear(m_dt) < DateToLinear(date.m_dt);
}

bool COleDateTime::operator<=(const COleDateTime& date) const
{
    return m_status == valid && date.m_status == valid && DateToLinear(m_dt) <= DateToLinear(date.m_dt);
}

COleDateTime COleDateTime::FromLinear(double dLinear)
{
    COleDateTime date;
    if (IsInRange(dLinear))
        date.m_dt = LinearToDate(dLinear);
    else
        date.m_status = invalid;
    return date;
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& span) const
{
    if (m_status != valid || span.GetStatus() != COleDateTimeSpan::valid)
        return FromLinear(NAN);
    return FromLinear(DateToLinear(m_dt) + static_cast<double>(span));
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& span) const
{
    if (m_status != valid || span.GetStatus() != COleDateTimeSpan::valid)
        return FromLinear(NAN);
    return FromLinear(DateToLinear(m_dt) - static_cast<double>(span));
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan span(DateToLinear(m_dt) - DateToLinear(date.m_dt));
    if (m_status != valid || date.m_status != valid)
        span.SetStatus(COleDateTimeSpan::invalid);
    return span;
}

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc)
{
    if (!std::isfinite(dblSpanSrc))
        m_status = invalid;
}

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    // Whole seconds first: one division keeps "1 day" exactly 1.0.
    long long nTotal = static_cast<long long>(lDays) * SECONDS_PER_DAY + static_cast<long long>(nHours) * 3600
                       + static_cast<long long>(nMins) * 60 + nSecs;
    m_span = static_cast<double>(nTotal) / static_cast<double>(SECONDS_PER_DAY);
    m_status = valid;
}

long long COleDateTimeSpan::RoundedSeconds() const
{
    return m_status == valid ? std::llround(m_span * static_cast<double>(SECONDS_PER_DAY)) : 0;
}

LONG COleDateTimeSpan::GetDays() const
{
    return static_cast<LONG>(RoundedSeconds() / SECONDS_PER_DAY);
}

LONG COleDateTimeSpan::GetHours() const
{
    return static_cast<LONG>(RoundedSeconds() % SECONDS_PER_DAY / 3600);
}

LONG COleDateTimeSpan::GetMinutes() const
{
    return static_cast<LONG>(RoundedSeconds() % 3600 / 60);
}

LONG COleDateTimeSpan::GetSeconds() const
{
    return static_cast<LONG>(RoundedSeconds() % 60);
}

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& span) const
{
    COleDateTimeSpan result(m_span + span.m_span);
    if (!BothValid(span))
        result.m_status = invalid;
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& span) const
{
    COleDateTimeSpan result(m_span - span.m_span);
    if (!BothValid(span))
        result.m_status = invalid;
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}
