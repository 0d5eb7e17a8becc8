// The packed calendar date: validity, normalisation of two-digit years and day arithmetic.
#include "charts/ChartPoint.h"

#include <cstdio>

#include "framework/base/DateTime.h"
#include "framework/base/NorvGlobals.h"

int CNorvDate::DaysInYear(int nYear)
{
    return IsLeapYear(nYear) ? 366 : 365;
}

int CNorvDate::DaysInMonth(int nMonth, int nYear)
{
    static const int s_anDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (!IsValidMonth(nMonth))
        return 0;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : s_anDays[nMonth - 1];
}

void CNorvDate::SetPacked(int nPacked)
{
    m_nValue = nPacked;
    Normalize();
}

void CNorvDate::SetDate(int nYear, int nMonth, int nDay)
{
    m_nValue = (nYear * 100 + nMonth) * 100 + nDay;
    Normalize();
}

void CNorvDate::Normalize()
{
    int nYear = m_nValue / 10000;
    const int nMonth = m_nValue / 100 % 100;
    const int nDay = m_nValue % 100;
    if (nYear == 0) {
        if (nMonth == 0 && nDay == 0)
            return;
        nYear = 2000;
    } else if (nYear == 99) {
        if (nMonth == 99 && nDay == 99) {
            m_nValue = 99999999;
            return;
        }
        nYear = 1999;
    } else if (nYear >= 1 && nYear <= 79) {
        nYear += 2000;
    } else if (nYear >= 80 && nYear <= 98) {
        nYear += 1900;
    }
    if (IsValidMonth(nMonth) && nDay >= 1 && nDay <= DaysInMonth(nMonth, nYear))
        m_nValue = (nYear * 100 + nMonth) * 100 + nDay;
}

BOOL CNorvDate::IsValid() const
{
    if (m_nValue == 0)
        return TRUE;
    return IsValidMonth(GetMonth()) && GetDay() <= DaysInMonth(GetMonth(), GetYear());
}

int CNorvDate::DayOfYear() const
{
    int nDays = GetDay();
    for (int nMonth = 1; nMonth < GetMonth(); ++nMonth)
        nDays += DaysInMonth(nMonth, GetYear());
    return nDays;
}

void CNorvDate::SetDayOfYear(int nDay, int nYear)
{
    int nMonth = 1;
    while (nMonth < 12 && nDay > DaysInMonth(nMonth, nYear)) {
        nDay -= DaysInMonth(nMonth, nYear);
        ++nMonth;
    }
    SetDate(nYear, nMonth, nDay);
}

void CNorvDate::AddDays(int nDays)
{
    int nYear = GetYear();
    int nMonth = GetMonth();
    const int nDay = GetDay();
    const int nDayOfYear = DayOfYear();
    if (nDayOfYear + nDays > DaysInYear(nYear)) {
        int nRest = nDayOfYear + nDays - DaysInYear(nYear);
        ++nYear;
        while (nRest > DaysInYear(nYear)) {
            nRest -= DaysInYear(nYear);
            ++nYear;
        }
        SetDayOfYear(nRest, nYear);
        return;
    }
    if (nDay + nDays <= DaysInMonth(nMonth, nYear)) {
        SetDate(nYear, nMonth, nDay + nDays);
        return;
    }
    int nRest = nDay + nDays - DaysInMonth(nMonth, nYear);
    ++nMonth;
    while (nRest > DaysInMonth(nMonth, nYear)) {
        nRest -= DaysInMonth(nMonth, nYear);
        ++nMonth;
    }
    SetDate(nYear, nMonth, nRest);
}

void CNorvDate::SubtractDays(int nDays)
{
    int nYear = GetYear();
    int nMonth = GetMonth();
    const int nDay = GetDay();
    const int nDayOfYear = DayOfYear();
    if (nDays >= nDayOfYear) {
        int nRest = nDays - nDayOfYear;
        --nYear;
        while (nRest >= DaysInYear(nYear)) {
            nRest -= DaysInYear(nYear);
            --nYear;
        }
        SetDayOfYear(DaysInYear(nYear) - nRest, nYear);
        return;
    }
    if (nDays < nDay) {
        SetDate(nYear, nMonth, nDay - nDays);
        return;
    }
    int nRest = nDays - nDay;
    --nMonth;
    while (nRest >= DaysInMonth(nMonth, nYear)) {
        nRest -= DaysInMonth(nMonth, nYear);
        --nMonth;
    }
    SetDate(nYear, nMonth, DaysInMonth(nMonth, nYear) - nRest);
}

int CNorvDate::DayOfWeek() const
{
    if (m_nValue == 0 || !IsValid())
        return 0;
    int nYear = GetYear();
    int nMonth = GetMonth();
    if (nMonth <= 2) {
        nMonth += 12;
        --nYear;
    }
    return (GetDay() + 2 * nMonth + 3 * (nMonth + 1) / 5 + nYear + nYear / 4 - nYear / 100 + nYear / 400) % 7 + 1;
}

int CNorvDate::GetDayNumber() const
{
    const int nYear = GetYear() - 1;
    return nYear * 365 + nYear / 4 - nYear / 100 + nYear / 400 + DayOfYear() - 1;
}

CNorvDate CNorvDate::operator+(int nDays) const
{
    CNorvDate date(*this);
    date.AddDays(nDays);
    return date;
}

CString CNorvDate::Format() const
{
    char szDigits[16];
    snprintf(szDigits, sizeof(szDigits), "%04d%02d%02d", m_nValue / 10000 % 10000, GetMonth(), GetDay());
    char szText[64];
    FormatDateText(szText, sizeof(szText), szDigits, GetNorvGlobals().m_strDatePattern);
    return CString(szText);
}
