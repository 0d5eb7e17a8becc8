// Reading cells back: typed display text through the globals' separators and patterns, and the
// plain storage form. Integers are read exactly (128-bit intermediates, no double on the way).
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "framework/base/ColumnValues.h"
#include "framework/base/DateTime.h"
#include "framework/base/DecimalDigits.h"
#include "framework/base/NumberStyle.h"
#include "framework/base/TBString.h"

namespace {

typedef __int128 INT128;

// A plain number text of anything the display shows: a sign, the whole digits of the largest
// double (or a scaled one with its appended zeros), the point and a signed byte of fraction
// digits. Leading zeros are not copied, so a longer text is beyond every double and integer.
const int NUMBER_TEXT_MAX = 1 + CDecimalDigits::MAX_WHOLE + 1 + CDecimalDigits::MAX_FRACTION + 1;

BOOL IsDigitChar(char ch)
{
    return ch >= '0' && ch <= '9';
}

BOOL IsBlankOrTab(char ch)
{
    return ch == ' ' || ch == '\t';
}

// A plain integer text ("-0012"), already range-checked or short enough for 128 bits.
BOOL PlainTextToInt(const char* psz, INT128* pnValue)
{
    BOOL bNegative = *psz == '-';
    if (bNegative)
        ++psz;
    INT128 n = 0;
    for (; *psz != '\0'; ++psz) {
        if (!IsDigitChar(*psz))
            return FALSE;
        if (__builtin_mul_overflow(n, static_cast<INT128>(10), &n) ||
            __builtin_add_overflow(n, static_cast<INT128>(*psz - '0'), &n))
            return FALSE;
    }
    *pnValue = bNegative ? -n : n;
    return TRUE;
}

// A decimal text ("10.5") into sixty-fourths: six fraction digits are exact for every 64th.
BOOL DecimalTextToSixtyFourths(const char* pszText, INT128* pn64ths)
{
    char szPlain[NUMBER_TEXT_MAX];
    INT128 nMillionths;
    if (!NormalizeNumberText(szPlain, sizeof(szPlain), pszText, -6, /*bKeepPoint=*/FALSE) ||
        strlen(szPlain) > 30 || !PlainTextToInt(szPlain, &nMillionths))
        return FALSE;
    *pn64ths = DivideRounded(nMillionths * 64, 1000000);
    return TRUE;
}

template <typename T>
BOOL ParseFractionOf(T* pnValue, const char* pszText, BOOL bBlankZero)
{
    if (IsBlankText(pszText) && bBlankZero) {
        *pnValue = 0;
        return TRUE;
    }
    *pnValue = std::numeric_limits<T>::min();
    if (pszText == nullptr)
        return FALSE;
    const char chThousands = GetGlobalThousandsSeparator();
    const char* p = pszText;
    BOOL bNegative = FALSE, bSign = FALSE;
    T nWhole = 0;
    int nWholeDigits = 0, nNumerator = -1;
    // The whole part; a '/' right behind its digits makes them the numerator.
    for (; *p != '\0' && !IsBlankOrTab(*p); ++p) {
        if (IsDigitChar(*p)) {
            if (__builtin_mul_overflow(nWhole, static_cast<T>(10), &nWhole) ||
                __builtin_add_overflow(nWhole, static_cast<T>(*p - '0'), &nWhole))
                return FALSE;
            ++nWholeDigits;
        } else if (*p == chThousands) {
            continue;
        } else if ((*p == '+' || *p == '-') && !bSign && nWholeDigits == 0) {
            bSign = TRUE;
            bNegative = *p == '-';
        } else if (*p == '/' && nWholeDigits > 0) {
            if (nWholeDigits > 2)
                return FALSE;
            nNumerator = static_cast<int>(nWhole);
            nWhole = 0;
            break;
        } else {
            return FALSE;
        }
    }
    while (IsBlankOrTab(*p))
        ++p;
    T n64ths = 0;
    if (*p != '\0') {
        if (nNumerator < 0) {
            if (!IsDigitChar(*p))
                return FALSE;
            nNumerator = *p++ - '0';
            if (IsDigitChar(*p))
                nNumerator = nNumerator * 10 + (*p++ - '0');
        }
        if (*p++ != '/' || !IsDigitChar(*p))
            return FALSE;
        int nDenominator = *p++ - '0';
        if (IsDigitChar(*p))
            nDenominator = nDenominator * 10 + (*p++ - '0');
        while (IsBlankOrTab(*p))
            ++p;
        BOOL bPowerOfTwo = nDenominator >= 2 && nDenominator <= 64 && (nDenominator & (nDenominator - 1)) == 0;
        if (*p != '\0' || !bPowerOfTwo || nNumerator >= nDenominator)
            return FALSE;
        n64ths = static_cast<T>(nNumerator * (64 / nDenominator));
    } else if (nWholeDigits == 0) {
        return FALSE;
    }
    T nValue;
    if (__builtin_mul_overflow(nWhole, static_cast<T>(64), &nValue) || __builtin_add_overflow(nValue, n64ths, &nValue))
        return FALSE;
    *pnValue = bNegative ? -nValue : nValue;
    return TRUE;
}

// Integer cells of either width: the missing marker stays in the cell when the read fails.
template <typename T>
BOOL ParseIntegerOf(T* pnValue, int nDecimals, const CColumnDataType& type, const char* pszText, const char* pszMin,
                    const char* pszMax)
{
    const T MISSING = std::numeric_limits<T>::min();
    if (IsBlankText(pszText) && type.GetBlankZero()) {
        *pnValue = 0;
        return TRUE;
    }
    *pnValue = MISSING;
    if (pszText == nullptr)
        return FALSE;
    const char chDecimal = GetGlobalDecimalSeparator();
    INT128 nValue;
    if (nDecimals == DECIMALS_64THS && strchr(pszText, chDecimal) == nullptr) {
        return ParseFractionOf<T>(pnValue, pszText, type.GetBlankZero());
    } else if (nDecimals == DECIMALS_64THS) {
        if (!DecimalTextToSixtyFourths(pszText, &nValue))
            return FALSE;
    } else if (strchr(pszText, '/') != nullptr) {
        T n64ths;
        if (!ParseFractionOf<T>(&n64ths, pszText, type.GetBlankZero()) ||
            !ConvertSixtyFourths(n64ths, DECIMALS_64THS, nDecimals, &nValue)) {
            *pnValue = MISSING;
            return FALSE;
        }
    } else {
        char szPlain[NUMBER_TEXT_MAX];
        if (!NormalizeNumberText(szPlain, sizeof(szPlain), pszText, nDecimals, /*bKeepPoint=*/FALSE) ||
            CompareNumberText(szPlain, pszMin) < 0 || CompareNumberText(szPlain, pszMax) > 0 ||
            !PlainTextToInt(szPlain, &nValue))
            return FALSE;
    }
    // The marker itself is not a value: the range stops one above it.
    if (nValue <= MISSING || nValue > std::numeric_limits<T>::max())
        return FALSE;
    *pnValue = static_cast<T>(nValue);
    return TRUE;
}

// Leading blanks, a sign and digits, as the C library's atol reads them; saturates.
LONGLONG ReadStoredInteger(const char* psz, LONGLONG nMin, LONGLONG nMax)
{
    if (psz == nullptr)
        return 0;
    while (*psz == ' ' || (*psz >= '\t' && *psz <= '\r'))
        ++psz;
    BOOL bNegative = *psz == '-';
    if (*psz == '-' || *psz == '+')
        ++psz;
    INT128 n = 0;
    for (; IsDigitChar(*psz); ++psz) {
        n = n * 10 + (*psz - '0');
        if (n > static_cast<INT128>(nMax) + 1)
            n = static_cast<INT128>(nMax) + 1;
    }
    if (bNegative)
        n = -n;
    return static_cast<LONGLONG>(n < nMin ? nMin : n > nMax ? nMax : n);
}

// As atof, but always with '.': the numeric locale of the process plays no part.
double ReadStoredDouble(const char* psz)
{
    if (psz == nullptr)
        return 0.0;
    while (*psz == ' ' || (*psz >= '\t' && *psz <= '\r'))
        ++psz;
    if (*psz == '+')
        ++psz;
    double d = 0.0;
    auto res = std::from_chars(psz, psz + strlen(psz), d);
    return res.ec == std::errc() ? d : 0.0;
}

// Copies up to nBytes, never reading past the text's end; the rest is zero.
void CopyBounded(char* pDest, const char* pszSource, int nBytes)
{
    strncpy(pDest, pszSource != nullptr ? pszSource : "", static_cast<size_t>(nBytes));
}

}  // namespace

// The normaliser's walk; on FALSE the output may hold a part of the text without its end.
static BOOL WriteNumberText(char* pszOut, int nOutSize, const char* pszText, int nDecimals, BOOL bKeepPoint)
{
    if (pszText == nullptr)
        return FALSE;
    const char chDecimal = GetGlobalDecimalSeparator();
    const char chThousands = GetGlobalThousandsSeparator();
    int nFraction = nDecimals < 0 ? -nDecimals : 0;
    int nPos = 0, nFractionDigits = 0, nDigits = 0;
    BOOL bInFraction = FALSE;
    BOOL bLeadingZero = FALSE;      // zeros before the first significant whole digit, not copied
    auto Put = [&](char ch) {
        if (nPos >= nOutSize - 1)
            return FALSE;
        pszOut[nPos++] = ch;
        return TRUE;
    };
    // A whole part of zeros alone keeps one of them, so that "0.5" stays "0.5".
    auto PutHeldZero = [&]() {
        if (!bLeadingZero)
            return TRUE;
        bLeadingZero = FALSE;
        ++nDigits;
        return Put('0');
    };
    for (const char* p = pszText; *p != '\0'; ++p) {
        if (*p == '-' && p == pszText) {
            if (!Put('-'))
                return FALSE;
        } else if (*p == chThousands) {
            continue;
        } else if (*p == chDecimal && !bInFraction) {
            if (nDecimals >= 0)
                break;
            if (!PutHeldZero())
                return FALSE;
            bInFraction = TRUE;
            if (bKeepPoint && !Put('.'))
                return FALSE;
        } else if (IsDigitChar(*p)) {
            if (bInFraction && nFractionDigits == nFraction)
                break;              // the digits beyond the decimal code are not read
            // Leading zeros say nothing of the value; copied, they would let a long text of them
            // overrun a buffer that every number's own digits fit.
            if (!bInFraction && nDigits == 0 && *p == '0') {
                bLeadingZero = TRUE;
                continue;
            }
            bLeadingZero = FALSE;
            if (!Put(*p))
                return FALSE;
            ++nDigits;
            if (bInFraction)
                ++nFractionDigits;
        } else {
            return FALSE;
        }
    }
    if (!bInFraction && nDigits == 0 && !PutHeldZero())
        return FALSE;
    if (nDecimals < 0) {
        if (!bInFraction && bKeepPoint && !Put('.'))
            return FALSE;
        for (; nFractionDigits < nFraction; ++nFractionDigits)
            if (!Put('0'))
                return FALSE;
    } else if (nDecimals > 0) {
        // The value is kept scaled down: its last d digits go, a text of d digits or fewer is 0.
        int nCut = nDigits < nDecimals ? nDigits : nDecimals;
        nPos -= nCut;
        if (nDigits <= nDecimals)
            nPos = 0;
    }
    pszOut[nPos] = '\0';
    return TRUE;
}

BOOL NormalizeNumberText(char* pszOut, int nOutSize, const char* pszText, int nDecimals, BOOL bKeepPoint)
{
    if (pszOut == nullptr || nOutSize <= 0)
        return FALSE;
    pszOut[0] = '\0';
    // A refused text leaves the empty text, never a part of the number without its end.
    if (!WriteNumberText(pszOut, nOutSize, pszText, nDecimals, bKeepPoint)) {
        pszOut[0] = '\0';
        return FALSE;
    }
    return TRUE;
}

BOOL ParseFractionText(int32_t* pnValue, const char* pszText, BOOL bBlankZero)
{
    return ParseFractionOf<int32_t>(pnValue, pszText, bBlankZero);
}

BOOL ParseFractionText64(LONGLONG* pnValue, const char* pszText, BOOL bBlankZero)
{
    return ParseFractionOf<LONGLONG>(pnValue, pszText, bBlankZero);
}

BOOL ParseIntValue(int32_t* pnValue, int nDecimals, const CColumnDataType& type, const char* pszText)
{
    return ParseIntegerOf<int32_t>(pnValue, nDecimals, type, pszText, "-2147483647", "2147483647");
}

BOOL ParseInt64Value(LONGLONG* pnValue, int nDecimals, const CColumnDataType& type, const char* pszText)
{
    return ParseIntegerOf<LONGLONG>(pnValue, nDecimals, type, pszText, "-9223372036854775807", "9223372036854775807");
}

BOOL ParseDoubleValue(double* pdValue, int nDecimals, const CColumnDataType& type, const char* pszText)
{
    if (IsBlankText(pszText) && type.GetBlankZero()) {
        *pdValue = 0.0;
        return TRUE;
    }
    if (pszText == nullptr)
        return FALSE;
    if (nDecimals == DECIMALS_64THS) {
        // The double holds a count of sixty-fourths, read like an integer cell's.
        INT128 n64ths;
        if (strchr(pszText, GetGlobalDecimalSeparator()) == nullptr) {
            LONGLONG n;
            if (!ParseFractionText64(&n, pszText, type.GetBlankZero()))
                return FALSE;
            n64ths = n;
        } else if (!DecimalTextToSixtyFourths(pszText, &n64ths)) {
            return FALSE;
        }
        // The count must stay a 64-bit integer as a double too, or the display could not show it
        // in a text that reads back.
        const double dCount = static_cast<double>(n64ths);
        if (std::fabs(dCount) >= 9223372036854775808.0)
            return FALSE;
        *pdValue = dCount;
        return TRUE;
    }
    char szPlain[NUMBER_TEXT_MAX];
    if (!NormalizeNumberText(szPlain, sizeof(szPlain), pszText, nDecimals, /*bKeepPoint=*/TRUE))
        return FALSE;
    if (strpbrk(szPlain, "0123456789") == nullptr) {
        *pdValue = 0.0;
        return TRUE;
    }
    double d = 0.0;
    auto res = std::from_chars(szPlain, szPlain + strlen(szPlain), d, std::chars_format::fixed);
    if (res.ec != std::errc() || *res.ptr != '\0')
        return FALSE;
    *pdValue = d;
    return TRUE;
}

BOOL ParseColumnValue(TBCellSlot* pCell, int nTextSize, int nDecimals, const CColumnDataType& type,
                      const char* pszText)
{
    if (pCell == nullptr)
        return FALSE;
    int nType = type.GetDataType();
    if (ColumnTypeIsStored(nType) && pCell->pData == nullptr)
        return FALSE;
    const char* pszDate = GetGlobalDatePattern();
    const char* pszTime = GetGlobalTimePattern();
    char* pData = ColumnTypeIsStored(nType) ? static_cast<char*>(pCell->pData) : nullptr;
    switch (nType) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        return ParseIntValue(&pCell->nValue, nDecimals, type, pszText);
    case COLTYPE_INT64: {
        LONGLONG nValue;
        BOOL bRead = ParseInt64Value(&nValue, nDecimals, type, pszText);
        memcpy(pData, &nValue, sizeof(nValue));
        return bRead;
    }
    case COLTYPE_DOUBLE: {
        double dValue;
        if (!ParseDoubleValue(&dValue, nDecimals, type, pszText))
            return FALSE;
        memcpy(pData, &dValue, sizeof(dValue));
        return TRUE;
    }
    case COLTYPE_CHAR4:
        if (pszText == nullptr)
            return FALSE;
        CopyBounded(pCell->achBytes, pszText, 4);
        return TRUE;
    case COLTYPE_STRING:
        if (pszText == nullptr || nTextSize < 1)
            return FALSE;
        strncpy(pData, pszText, static_cast<size_t>(nTextSize - 1));
        pData[nTextSize - 1] = '\0';
        return TRUE;
    case COLTYPE_PACKED_DATE:     return ParsePackedDateTime(pCell->achBytes, pszText, pszDate, nullptr);
    case COLTYPE_PACKED_TIME:     return ParsePackedDateTime(pCell->achBytes, pszText, nullptr, pszTime);
    case COLTYPE_PACKED_DATETIME: return ParsePackedDateTime(pData, pszText, pszDate, pszTime);
    case COLTYPE_DATE_TEXT:       return ParseDateTimeText(pData, pszText, pszDate, nullptr);
    case COLTYPE_TIME_TEXT:       return ParseDateTimeText(pData, pszText, nullptr, pszTime);
    case COLTYPE_DATETIME_TEXT:   return ParseDateTimeText(pData, pszText, pszDate, pszTime);
    default:
        pCell->nValue = 0;
        return TRUE;
    }
}

BOOL StoreColumnValue(TBCellSlot* pCell, int nTextSize, const CColumnDataType& type, const char* pszStorage)
{
    if (pCell == nullptr)
        return FALSE;
    int nType = type.GetDataType();
    if (ColumnTypeIsStored(nType) && pCell->pData == nullptr)
        return FALSE;
    char* pData = ColumnTypeIsStored(nType) ? static_cast<char*>(pCell->pData) : nullptr;
    switch (nType) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        pCell->nValue = static_cast<int32_t>(ReadStoredInteger(pszStorage, INT32_MIN, INT32_MAX));
        break;
    case COLTYPE_INT64: {
        LONGLONG nValue = ReadStoredInteger(pszStorage, INT64_MIN, INT64_MAX);
        memcpy(pData, &nValue, sizeof(nValue));
        break;
    }
    case COLTYPE_DOUBLE: {
        double dValue = ReadStoredDouble(pszStorage);
        memcpy(pData, &dValue, sizeof(dValue));
        break;
    }
    case COLTYPE_CHAR4:
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
        CopyBounded(pCell->achBytes, pszStorage, 4);
        break;
    case COLTYPE_STRING:
        if (nTextSize < 1)
            return FALSE;
        CopyBounded(pData, pszStorage, nTextSize - 1);
        pData[nTextSize - 1] = '\0';
        break;
    case COLTYPE_PACKED_DATETIME:
    case COLTYPE_TIME_TEXT:
        CopyBounded(pData, pszStorage, 6);
        break;
    case COLTYPE_DATE_TEXT:
        CopyBounded(pData, pszStorage, 8);
        break;
    case COLTYPE_DATETIME_TEXT:
        CopyBounded(pData, pszStorage, 14);     // the storage holds 14 digits, not 16
        break;
    default:
        break;
    }
    return TRUE;
}
