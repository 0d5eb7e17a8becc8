#include "refdata/ServerDateFields.h"

#include <cstdlib>
#include <cstring>
#include "framework/base/ColumnDataType.h"

namespace {
const int SERVER_YEAR_BASE = 2000;

// The year part of a server field (year - 2000) plus the base, as the server's number: a text
// that is not a number counts as 0, as atol reads it. Kept within a long's reach.
long ServerYear(const CString& strYear)
{
    long long nYear = strtoll(strYear, nullptr, 10);
    if (nYear > 100000000)
        nYear = 100000000;
    if (nYear < -100000000)
        nYear = -100000000;
    return static_cast<long>(nYear + SERVER_YEAR_BASE);
}

// Splits the text into a year part and a fixed tail; a text shorter than the tail takes the
// default tail and year 0.
CString WithFullYear(const CString& strText, int nTail, LPCSTR pszDefaultTail)
{
    CString strYear;
    CString strRest(pszDefaultTail);
    if (strText.GetLength() >= nTail) {
        strYear = strText.Left(strText.GetLength() - nTail);
        strRest = strText.Right(nTail);
    }
    CString strResult;
    strResult.Format("%ld", ServerYear(strYear));
    return strResult + strRest;
}

// A part of a field as a number; -1 when it is not all digits. An empty part is 0.
int DigitsValue(const char* p, int nLength)
{
    if (nLength > 9)
        return -1;
    int nValue = 0;
    for (int i = 0; i < nLength; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return -1;
        nValue = nValue * 10 + (p[i] - '0');
    }
    return nValue;
}

BOOL IsBlank(const CString& strText)
{
    CString strTrimmed(strText);
    return strTrimmed.Trim().IsEmpty();
}
}  // namespace

CString ConvertServerDateField(LPCSTR pszText, int nType)
{
    const CString strText(pszText != nullptr ? pszText : "");
    if (strText.IsEmpty()) {
        switch (nType) {
        case COLTYPE_DATE_TEXT:     return CString("        ");
        case COLTYPE_TIME_TEXT:     return CString("      ");
        case COLTYPE_DATETIME_TEXT: return CString("            ");
        default:                    return strText;
        }
    }
    switch (nType) {
    case COLTYPE_DATE_TEXT:
        return WithFullYear(strText, 4, "0101");
    case COLTYPE_TIME_TEXT:
        if (strText.GetLength() < 6)
            return "0" + strText;
        return strText.GetLength() == 6 ? strText : CString();
    case COLTYPE_DATETIME_TEXT:
        return WithFullYear(strText, 10, "0101000000");
    default:
        return strText;
    }
}

CString ConvertDisplayDateField(LPCSTR pszText, int nType)
{
    CString strText(pszText != nullptr ? pszText : "");
    if (IsBlank(strText))
        return strText;
    CString strResult;
    switch (nType) {
    case COLTYPE_DATE_TEXT:
        strResult.Format("%ld", strtol(strText.Left(4), nullptr, 10) - SERVER_YEAR_BASE);
        return strResult + strText.Right(4);
    case COLTYPE_TIME_TEXT:
        if (strText[0] == '0')
            return strText.Mid(1, 5);
        return strText.Trim();
    case COLTYPE_DATETIME_TEXT:
        strResult.Format("%ld", strtol(strText.Left(4), nullptr, 10) - SERVER_YEAR_BASE);
        return strResult + strText.Right(10);
    default:
        return strText;
    }
}

COleDateTime ParseServerDateField(LPCSTR pszText, int nType)
{
    const char* p = pszText != nullptr ? pszText : "";
    const int nLength = static_cast<int>(strlen(p));
    COleDateTime result;
    int nMinimum = 0;
    switch (nType) {
    case COLTYPE_DATE_TEXT:
    case COLTYPE_TIME_TEXT:     nMinimum = 4; break;
    case COLTYPE_DATETIME_TEXT: nMinimum = 10; break;
    default:                    return result;
    }
    if (nLength < nMinimum) {
        result.SetStatus(COleDateTime::null);
        return result;
    }
    // Two digits each, counted from the end; the rest is the year (or the hours of a time).
    const int nFixed = nMinimum;
    int nParts[5] = {0, 0, 0, 0, 0};
    for (int i = 0; i < nFixed / 2; ++i)
        nParts[i] = DigitsValue(p + nLength - 2 * (i + 1), 2);
    const int nHead = DigitsValue(p, nLength - nFixed);
    BOOL bDigits = nHead >= 0;
    for (int i = 0; i < nFixed / 2; ++i)
        bDigits = bDigits && nParts[i] >= 0;
    if (!bDigits) {
        result.SetStatus(COleDateTime::invalid);
        return result;
    }
    switch (nType) {
    case COLTYPE_DATE_TEXT:
        result.SetDate(nHead + SERVER_YEAR_BASE, nParts[1], nParts[0]);
        break;
    case COLTYPE_TIME_TEXT:
        result.SetTime(nHead, nParts[1], nParts[0]);
        break;
    default:
        result.SetDateTime(nHead + SERVER_YEAR_BASE, nParts[4], nParts[3], nParts[2], nParts[1], nParts[0]);
        break;
    }
    return result;
}
