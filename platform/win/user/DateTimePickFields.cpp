// The date picker's fields and calendar (DateTimePickFields.h).
#include "platform/win/user/DateTimePickFields.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace TbDateFields {
namespace {
const char* const DEFAULT_FORMAT = "dd/MM/yyyy";
const char* const s_pszMonths[] = {"January", "February", "March", "April", "May", "June", "July", "August",
                                   "September", "October", "November", "December"};
const char* const s_pszDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool IsLeap(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

// 0 for Sunday, by the Gregorian calendar.
int DayOfWeek(int nYear, int nMonth, int nDay)
{
    static const int s_offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (nMonth < 3)
        --nYear;
    return (nYear + nYear / 4 - nYear / 100 + nYear / 400 + s_offsets[nMonth - 1] + nDay) % 7;
}

FieldKind KindOfLetter(char ch)
{
    switch (ch) {
    case 'd': return FIELD_DAY;
    case 'M': return FIELD_MONTH;
    case 'y': return FIELD_YEAR;
    case 'h': case 'H': return FIELD_HOUR;
    case 'm': return FIELD_MINUTE;
    case 's': return FIELD_SECOND;
    case 't': return FIELD_AMPM;
    }
    return FIELD_TEXT;
}

void AddText(std::vector<TbDateField>& fields, const std::string& strText)
{
    if (strText.empty())
        return;
    if (!fields.empty() && fields.back().kind == FIELD_TEXT)
        fields.back().strText += strText;
    else
        fields.push_back(TbDateField{FIELD_TEXT, 0, strText, 0});
}
}  // namespace

int DaysInMonth(int nYear, int nMonth)
{
    static const int s_days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return nMonth == 2 && IsLeap(nYear) ? 29 : s_days[nMonth - 1];
}

bool IsValidTime(const SYSTEMTIME& st)
{
    return st.wYear >= MIN_YEAR && st.wYear <= MAX_YEAR && st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 &&
           st.wDay <= DaysInMonth(st.wYear, st.wMonth) && st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 &&
           st.wMilliseconds < 1000;
}

void SetDayOfWeek(SYSTEMTIME& st)
{
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(st.wYear, st.wMonth, st.wDay));
}

SYSTEMTIME LocalNow()
{
    const time_t now = time(nullptr);
    struct tm parts = {};
    localtime_r(&now, &parts);
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(std::clamp(parts.tm_year + 1900, MIN_YEAR, MAX_YEAR));
    st.wMonth = static_cast<WORD>(parts.tm_mon + 1);
    st.wDay = static_cast<WORD>(parts.tm_mday);
    st.wHour = static_cast<WORD>(parts.tm_hour);
    st.wMinute = static_cast<WORD>(parts.tm_min);
    st.wSecond = static_cast<WORD>(std::min(parts.tm_sec, 59));
    SetDayOfWeek(st);
    return st;
}


std::vector<TbDateField> ParseFormat(LPCSTR pszFormat)
{
    std::vector<TbDateField> fields;
    const std::string strFormat = pszFormat ? pszFormat : DEFAULT_FORMAT;
    for (size_t i = 0; i < strFormat.size();) {
        const char ch = strFormat[i];
        if (ch == '\'') {
            // Quoted text, '' inside it standing for one quote; an open quote runs to the end.
            std::string strText;
            size_t j = i + 1;
            for (; j < strFormat.size(); ++j) {
                if (strFormat[j] != '\'') {
                    strText += strFormat[j];
                } else if (j + 1 < strFormat.size() && strFormat[j + 1] == '\'') {
                    strText += '\'';
                    ++j;
                } else {
                    break;
                }
            }
            AddText(fields, strText.empty() && j == i + 1 ? "'" : strText);
            i = std::min(strFormat.size(), j + 1);
            continue;
        }
        const FieldKind kind = KindOfLetter(ch);
        size_t j = i;
        while (j < strFormat.size() && strFormat[j] == ch)
            ++j;
        if (kind == FIELD_TEXT) {
            AddText(fields, strFormat.substr(i, j - i));
        } else {
            const int nLetters = static_cast<int>(j - i);
            TbDateField field{kind, nLetters, std::string(), ch};
            if (kind == FIELD_DAY && nLetters >= 3)
                field.kind = FIELD_WEEKDAY;
            fields.push_back(field);
        }
        i = j;
    }
    return fields;
}

bool IsEditable(FieldKind kind)
{
    return kind != FIELD_TEXT && kind != FIELD_WEEKDAY;
}

std::string FieldText(const TbDateField& field, const SYSTEMTIME& st)
{
    char sz[32] = "";
    const bool bTwo = field.nLetters >= 2;
    switch (field.kind) {
    case FIELD_TEXT:    return field.strText;
    case FIELD_DAY:     snprintf(sz, sizeof sz, bTwo ? "%02d" : "%d", st.wDay); break;
    case FIELD_WEEKDAY: return field.nLetters == 3 ? std::string(s_pszDays[st.wDayOfWeek % 7], 3) : s_pszDays[st.wDayOfWeek % 7];
    case FIELD_MONTH:
        if (field.nLetters >= 3)
            return field.nLetters == 3 ? std::string(s_pszMonths[st.wMonth - 1], 3) : s_pszMonths[st.wMonth - 1];
        snprintf(sz, sizeof sz, bTwo ? "%02d" : "%d", st.wMonth);
        break;
    case FIELD_YEAR:
        if (field.nLetters <= 2)
            snprintf(sz, sizeof sz, field.nLetters == 1 ? "%d" : "%02d", st.wYear % 100);
        else
            snprintf(sz, sizeof sz, "%d", st.wYear);
        break;
    case FIELD_HOUR: {
        int nHour = st.wHour;
        if (field.chLetter == 'h')
            nHour = nHour % 12 == 0 ? 12 : nHour % 12;
        snprintf(sz, sizeof sz, bTwo ? "%02d" : "%d", nHour);
        break;
    }
    case FIELD_MINUTE:  snprintf(sz, sizeof sz, bTwo ? "%02d" : "%d", st.wMinute); break;
    case FIELD_SECOND:  snprintf(sz, sizeof sz, bTwo ? "%02d" : "%d", st.wSecond); break;
    case FIELD_AMPM:    return std::string(st.wHour < 12 ? "AM" : "PM", bTwo ? 2 : 1);
    }
    return sz;
}

int FieldValue(const TbDateField& field, const SYSTEMTIME& st)
{
    switch (field.kind) {
    case FIELD_DAY:    return st.wDay;
    case FIELD_MONTH:  return st.wMonth;
    case FIELD_YEAR:   return st.wYear;
    case FIELD_HOUR:   return st.wHour;
    case FIELD_MINUTE: return st.wMinute;
    case FIELD_SECOND: return st.wSecond;
    case FIELD_AMPM:   return st.wHour < 12 ? 0 : 1;
    default:           return 0;
    }
}

void FieldRange(const TbDateField& field, const SYSTEMTIME& st, int* pnMin, int* pnMax)
{
    *pnMin = 0;
    switch (field.kind) {
    case FIELD_DAY:    *pnMin = 1; *pnMax = DaysInMonth(st.wYear, st.wMonth); break;
    case FIELD_MONTH:  *pnMin = 1; *pnMax = 12; break;
    case FIELD_YEAR:   *pnMin = MIN_YEAR; *pnMax = MAX_YEAR; break;
    case FIELD_HOUR:   *pnMax = 23; break;
    case FIELD_MINUTE:
    case FIELD_SECOND: *pnMax = 59; break;
    case FIELD_AMPM:   *pnMax = 1; break;
    default:           *pnMax = 0; break;
    }
}

SYSTEMTIME WithValue(const TbDateField& field, SYSTEMTIME st, int nValue)
{
    switch (field.kind) {
    case FIELD_DAY:    st.wDay = static_cast<WORD>(nValue); break;
    case FIELD_MONTH:  st.wMonth = static_cast<WORD>(nValue); break;
    case FIELD_YEAR:   st.wYear = static_cast<WORD>(nValue); break;
    case FIELD_HOUR:   st.wHour = static_cast<WORD>(nValue); break;
    case FIELD_MINUTE: st.wMinute = static_cast<WORD>(nValue); break;
    case FIELD_SECOND: st.wSecond = static_cast<WORD>(nValue); break;
    case FIELD_AMPM:   st.wHour = static_cast<WORD>(st.wHour % 12 + 12 * nValue); break;
    default:           break;
    }
    return st;
}
}  // namespace TbDateFields
