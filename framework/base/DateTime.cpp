#include "framework/base/DateTime.h"

#include <cstdio>
#include <cstring>

namespace {

BOOL IsBlankChar(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
}

BOOL IsDigitChar(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Writes a pattern's items into a fixed destination. The first item that does not fit ends
// the text there, so a short destination gets a clean prefix rather than half a field.
class CPatternWriter
{
public:
    CPatternWriter(char* pszDest, int nSize) : m_pszDest(pszDest), m_nSize(nSize)
    {
        if (m_nSize > 0)
            m_pszDest[0] = '\0';
    }
    // nRoom: the characters the field may take; nWidth: zero padding, 0 for none.
    BOOL Field(int nValue, int nWidth, int nRoom)
    {
        if (!HasRoom(nRoom))
            return FALSE;
        int n = snprintf(m_pszDest + m_nPos, static_cast<size_t>(m_nSize - m_nPos), "%0*d", nWidth, nValue);
        if (n > 0)
            m_nPos += n < m_nSize - m_nPos ? n : m_nSize - m_nPos - 1;
        return TRUE;
    }
    BOOL Char(char ch)
    {
        if (!HasRoom(1))
            return FALSE;
        m_pszDest[m_nPos++] = ch;
        m_pszDest[m_nPos] = '\0';
        return TRUE;
    }

private:
    BOOL HasRoom(int nRoom)
    {
        if (m_nPos + nRoom >= m_nSize)
            m_bFull = TRUE;
        return !m_bFull;
    }

    char* m_pszDest;
    int m_nSize;
    int m_nPos = 0;
    BOOL m_bFull = FALSE;
};

// One field of up to nMaxDigits digits; a field read twice or without a digit fails.
BOOL ReadField(const char** ppsz, int nMaxDigits, int* pnValue)
{
    if (*pnValue != -1 || !IsDigitChar(**ppsz))
        return FALSE;
    int nValue = 0;
    for (int i = 0; i < nMaxDigits && IsDigitChar(**ppsz); ++i, ++*ppsz)
        nValue = nValue * 10 + (**ppsz - '0');
    *pnValue = nValue;
    return TRUE;
}

// A fixed-width run of digits, as the digit-text columns store them.
BOOL ReadFixedDigits(const char* psz, int nDigits, int* pnValue)
{
    int nValue = 0;
    for (int i = 0; i < nDigits; ++i) {
        if (!IsDigitChar(psz[i]))
            return FALSE;
        nValue = nValue * 10 + (psz[i] - '0');
    }
    *pnValue = nValue;
    return TRUE;
}

// The time part after a date or on its own: an optional blank, then the time; the end of the
// text is midnight. After a date any other character fails, so date and time need the blank.
BOOL ReadTimeAfter(const char** ppsz, BOOL bAfterDate, const char* pszPattern, int* pnHour, int* pnMinute,
                   int* pnSecond)
{
    if (**ppsz == ' ')
        ++*ppsz;
    else if (bAfterDate && **ppsz != '\0')
        return FALSE;
    if (**ppsz == '\0') {
        *pnHour = *pnMinute = *pnSecond = 0;
        return TRUE;
    }
    return ParseTime(pnHour, pnMinute, pnSecond, ppsz, pszPattern);
}

}  // namespace

static BOOL WriteDate(char* pszDest, int nSize, const char* pszPattern, int nYear, int nMonth, int nDay);
static BOOL WriteDateText(char* pszDest, int nSize, const char* pszDigits, const char* pszPattern);

BOOL IsLeapYear(int nYear)
{
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int DaysInMonth(int nYear, int nMonth)
{
    static const int s_anDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return -1;
    if (nMonth == 2 && nYear != 0 && IsLeapYear(nYear))
        return 29;
    return s_anDays[nMonth - 1];
}

BOOL IsValidDate(int nYear, int nMonth, int nDay)
{
    return nYear >= 0 && nYear <= 9999 && nMonth >= 1 && nMonth <= 12 && nDay >= 1 && nDay <= 31 &&
           nDay <= DaysInMonth(nYear, nMonth);
}

BOOL IsValidTime(int nHour, int nMinute, int nSecond)
{
    return nHour >= 0 && nHour <= 23 && nMinute >= 0 && nMinute <= 59 && nSecond < 60;
}

void FormatDate(char* pszDest, int nSize, const char* pszPattern, int nYear, int nMonth, int nDay)
{
    WriteDate(pszDest, nSize, pszPattern, nYear, nMonth, nDay);
}

// FormatDate, telling whether the whole text fitted (an empty text for a date out of range does).
static BOOL WriteDate(char* pszDest, int nSize, const char* pszPattern, int nYear, int nMonth, int nDay)
{
    if (pszDest == nullptr || nSize <= 0)
        return FALSE;
    CPatternWriter out(pszDest, nSize);
    // The day is not checked against the month: a stored 31 February still shows. The years are
    // the readers' own, so that every date they take shows (1850 as well as 2005).
    if (pszPattern == nullptr || nYear < DATE_YEAR_FIRST || nYear > DATE_YEAR_LAST || nMonth < 1 || nMonth > 12 ||
        nDay < 1 || nDay > 31)
        return TRUE;
    for (const char* p = pszPattern; *p != '\0'; ++p) {
        BOOL bFits;
        switch (*p) {
        case 'D': bFits = out.Field(nDay, 2, 2); break;
        case 'd': bFits = out.Field(nDay, 0, 2); break;
        case 'M': bFits = out.Field(nMonth, 2, 2); break;
        case 'm': bFits = out.Field(nMonth, 0, 2); break;
        case 'Y': bFits = out.Field(nYear, 4, 4); break;
        case 'y': bFits = out.Field(nYear % 100, 2, 2); break;
        default:  bFits = out.Char(*p); break;
        }
        if (!bFits)
            return FALSE;
    }
    return TRUE;
}

void FormatTime(char* pszDest, int nSize, const char* pszPattern, int nHour, int nMinute, int nSecond)
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    CPatternWriter out(pszDest, nSize);
    // Bytes decoded from a damaged packed time can come out negative: show nothing for them.
    if (pszPattern == nullptr || nHour < 0 || nHour > 23 || nMinute < 0 || nMinute > 59 || nSecond > 59)
        return;
    for (const char* p = pszPattern; *p != '\0'; ++p) {
        BOOL bFits = TRUE;
        switch (*p) {
        case 'H': bFits = out.Field(nHour, 2, 2); break;
        case 'h': bFits = out.Field(nHour, 0, 2); break;
        case 'M':
        case 'm':
            bFits = out.Field(nMinute, *p == 'M' ? 2 : 0, 2);
            // A time without seconds ends with its minutes, separator and all.
            if (bFits && nSecond < 0)
                return;
            break;
        case 'S':
        case 's':
            if (nSecond >= 0)
                bFits = out.Field(nSecond, *p == 'S' ? 2 : 0, 2);
            break;
        default: bFits = out.Char(*p); break;
        }
        if (!bFits)
            return;
    }
}

BOOL ParseDate(int* pnYear, int* pnMonth, int* pnDay, const char** ppszCursor, const char* pszPattern)
{
    int nYear = -1, nMonth = -1, nDay = -1;
    *pnYear = *pnMonth = *pnDay = -1;
    if (ppszCursor == nullptr || *ppszCursor == nullptr || pszPattern == nullptr)
        return FALSE;
    const char* p = *ppszCursor;
    for (const char* pat = pszPattern; *pat != '\0'; ++pat) {
        BOOL bRead = TRUE;
        switch (*pat) {
        case 'D': case 'd': bRead = ReadField(&p, 2, &nDay); break;
        case 'M': case 'm': bRead = ReadField(&p, 2, &nMonth); break;
        case 'Y':           bRead = ReadField(&p, 4, &nYear); break;
        case 'y':           bRead = ReadField(&p, 2, &nYear); break;
        default:
            // Users separate with whatever is at hand: '.', '-' and '/' stand for any separator.
            if (*p == '\0' || (*p != *pat && *p != '.' && *p != '-' && *p != '/'))
                bRead = FALSE;
            else
                ++p;
            break;
        }
        if (!bRead) {
            *ppszCursor = p;
            return FALSE;
        }
    }
    if (nYear < 71)
        nYear += 2000;
    else if (nYear < 100)
        nYear += 1900;
    *pnYear = nYear;
    *pnMonth = nMonth;
    *pnDay = nDay;
    *ppszCursor = p;
    return IsValidDate(nYear, nMonth, nDay);
}

BOOL ParseTime(int* pnHour, int* pnMinute, int* pnSecond, const char** ppszCursor, const char* pszPattern)
{
    *pnHour = *pnMinute = *pnSecond = -1;
    if (ppszCursor == nullptr || *ppszCursor == nullptr || pszPattern == nullptr)
        return FALSE;
    const char*& p = *ppszCursor;
    for (const char* pat = pszPattern; *pat != '\0'; ++pat) {
        switch (*pat) {
        case 'H': case 'h':
            if (!ReadField(&p, 2, pnHour))
                return FALSE;
            break;
        case 'M': case 'm':
            if (!ReadField(&p, 2, pnMinute))
                return FALSE;
            break;
        case 'S': case 's':
            if (!ReadField(&p, 2, pnSecond))
                return FALSE;
            break;
        default:
            if (*p == *pat && *p != '\0') {
                ++p;
                break;
            }
            // "12:30" against "H:M:S": the time ends at the end of the text or at a blank.
            if (*p == '\0' || IsBlankChar(*p))
                return *pnHour >= 0 && *pnMinute >= 0 && IsValidTime(*pnHour, *pnMinute, *pnSecond);
            return FALSE;
        }
    }
    return *pnHour >= 0 && *pnHour <= 23 && *pnMinute >= 0 && *pnMinute <= 59 && *pnSecond < 60;
}

void FormatPackedDate(char* pszDest, int nSize, const char* pPacked, const char* pszPattern)
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    pszDest[0] = '\0';
    if (pPacked == nullptr)
        return;
    const BYTE* pb = reinterpret_cast<const BYTE*>(pPacked);
    FormatDate(pszDest, nSize, pszPattern, PACKED_YEAR_BASE + pb[0], pb[1] - '0', pb[2] - '0');
}

void FormatPackedTime(char* pszDest, int nSize, const char* pPacked, const char* pszPattern)
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    pszDest[0] = '\0';
    if (pPacked == nullptr)
        return;
    const BYTE* pb = reinterpret_cast<const BYTE*>(pPacked);
    // A NUL seconds byte decodes negative: the time has no seconds.
    FormatTime(pszDest, nSize, pszPattern, pb[0] - '0', pb[1] - '0', pb[2] - '0');
}

void FormatPackedDateTime(char* pszDest, int nSize, const char* pPacked, const char* pszDatePattern,
                          const char* pszTimePattern)
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    pszDest[0] = '\0';
    if (pPacked == nullptr || pPacked[0] == '\0')
        return;
    const BYTE* pb = reinterpret_cast<const BYTE*>(pPacked);
    // A date cut short ends the text: a time behind half a date would read as another moment.
    if (!WriteDate(pszDest, nSize, pszDatePattern, PACKED_YEAR_BASE + pb[0], pb[1] - '0', pb[2] - '0'))
        return;
    int nLength = static_cast<int>(strlen(pszDest));
    if (nLength + 3 >= nSize)
        return;
    if (nLength > 0)
        pszDest[nLength++] = ' ';
    FormatPackedTime(pszDest + nLength, nSize - nLength, pPacked + 3, pszTimePattern);
}

BOOL ParsePackedDateTime(char* pDest, const char* pszText, const char* pszDatePattern, const char* pszTimePattern)
{
    if (pDest == nullptr || (pszDatePattern == nullptr && pszTimePattern == nullptr))
        return FALSE;
    const char* p = pszText != nullptr ? pszText : "";
    char abValue[6] = {};
    int nBytes = 0;
    BOOL bDate = FALSE;
    if (pszDatePattern != nullptr) {
        int nYear, nMonth, nDay;
        if (!ParseDate(&nYear, &nMonth, &nDay, &p, pszDatePattern))
            return FALSE;
        // One byte holds 256 years; a year outside them would come back as another year.
        // The base year itself is refused in a date and time, where a first byte 0 means empty.
        if (nYear < PACKED_YEAR_BASE || nYear > PACKED_YEAR_LAST)
            return FALSE;
        if (nYear == PACKED_YEAR_BASE && pszTimePattern != nullptr)
            return FALSE;
        abValue[0] = static_cast<char>(nYear - PACKED_YEAR_BASE);
        abValue[1] = static_cast<char>('0' + nMonth);
        abValue[2] = static_cast<char>('0' + nDay);
        nBytes = 4;
        bDate = TRUE;
    }
    if (pszTimePattern != nullptr) {
        int nHour, nMinute, nSecond;
        if (!ReadTimeAfter(&p, bDate, pszTimePattern, &nHour, &nMinute, &nSecond))
            return FALSE;
        int nAt = bDate ? 3 : 0;
        abValue[nAt] = static_cast<char>('0' + nHour);
        abValue[nAt + 1] = static_cast<char>('0' + nMinute);
        // No seconds: the NUL marker, in a date and time as in a time alone.
        abValue[nAt + 2] = nSecond >= 0 ? static_cast<char>('0' + nSecond) : '\0';
        nBytes = bDate ? 6 : 4;
    } else if (*p != '\0') {
        return FALSE;
    }
    memcpy(pDest, abValue, static_cast<size_t>(nBytes));
    return TRUE;
}

void FormatDateText(char* pszDest, int nSize, const char* pszDigits, const char* pszPattern)
{
    WriteDateText(pszDest, nSize, pszDigits, pszPattern);
}

// FormatDateText, telling whether the whole text fitted.
static BOOL WriteDateText(char* pszDest, int nSize, const char* pszDigits, const char* pszPattern)
{
    if (pszDest == nullptr || nSize <= 0)
        return FALSE;
    pszDest[0] = '\0';
    int nYear, nMonth, nDay;
    if (pszDigits == nullptr || !ReadFixedDigits(pszDigits, 4, &nYear) || !ReadFixedDigits(pszDigits + 4, 2, &nMonth) ||
        !ReadFixedDigits(pszDigits + 6, 2, &nDay))
        return TRUE;
    return WriteDate(pszDest, nSize, pszPattern, nYear, nMonth, nDay);
}

void FormatTimeText(char* pszDest, int nSize, const char* pszDigits, const char* pszPattern)
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    pszDest[0] = '\0';
    int nHour, nMinute, nSecond;
    if (pszDigits == nullptr || !ReadFixedDigits(pszDigits, 2, &nHour) || !ReadFixedDigits(pszDigits + 2, 2, &nMinute) ||
        !ReadFixedDigits(pszDigits + 4, 2, &nSecond))
        return;
    FormatTime(pszDest, nSize, pszPattern, nHour, nMinute, nSecond);
}

void FormatDateTimeText(char* pszDest, int nSize, const char* pszDigits, const char* pszDatePattern,
                        const char* pszTimePattern)
{
    if (pszDest == nullptr || nSize <= 0)
        return;
    pszDest[0] = '\0';
    if (pszDigits == nullptr || pszDigits[0] == '\0')
        return;
    if (!WriteDateText(pszDest, nSize, pszDigits, pszDatePattern))
        return;     // as for the packed form: no time behind a date cut short
    int nLength = static_cast<int>(strlen(pszDest));
    // The time digits exist only behind eight date characters; never read past a short text.
    if (nLength + 3 >= nSize || memchr(pszDigits, '\0', 8) != nullptr)
        return;
    pszDest[nLength++] = ' ';
    pszDest[nLength] = '\0';
    FormatTimeText(pszDest + nLength, nSize - nLength, pszDigits + 8, pszTimePattern);
}

BOOL ParseDateTimeText(char* pDest, const char* pszText, const char* pszDatePattern, const char* pszTimePattern)
{
    if (pDest == nullptr || (pszDatePattern == nullptr && pszTimePattern == nullptr))
        return FALSE;
    const char* p = pszText != nullptr ? pszText : "";
    char szValue[32] = {};
    int nLength = 0;
    BOOL bDate = FALSE;
    if (pszDatePattern != nullptr) {
        int nYear, nMonth, nDay;
        if (!ParseDate(&nYear, &nMonth, &nDay, &p, pszDatePattern))
            return FALSE;
        snprintf(szValue, sizeof(szValue), "%04d%02d%02d", nYear, nMonth, nDay);
        nLength = 8;
        bDate = TRUE;
    }
    if (pszTimePattern != nullptr) {
        int nHour, nMinute, nSecond;
        BOOL bTime = bDate ? ReadTimeAfter(&p, bDate, pszTimePattern, &nHour, &nMinute, &nSecond)
                           : ParseTime(&nHour, &nMinute, &nSecond, &p, pszTimePattern);
        if (!bTime)
            return FALSE;
        // Six digits have no place for "no seconds": such a time stores the full minute.
        snprintf(szValue + nLength, sizeof(szValue) - static_cast<size_t>(nLength), "%02d%02d%02d", nHour, nMinute,
                 nSecond >= 0 ? nSecond : 0);
        nLength += 6;
    } else if (*p != '\0') {
        return FALSE;
    }
    memcpy(pDest, szValue, static_cast<size_t>(nLength));
    return TRUE;
}
