// Display text of cells: numbers by decimal code and the column's display settings, texts,
// dates and times through the globals' patterns.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "framework/base/ColumnValues.h"
#include "framework/base/DateTime.h"
#include "framework/base/DecimalDigits.h"
#include "framework/base/NumberStyle.h"

namespace {

// Enough for a 128-bit magnitude.
const int DIGITS_MAX = 48;

void MagnitudeDigits(unsigned __int128 nMagnitude, char* pszDigits)
{
    char szReversed[DIGITS_MAX];
    int n = 0;
    do {
        szReversed[n++] = static_cast<char>('0' + static_cast<int>(nMagnitude % 10));
        nMagnitude /= 10;
    } while (nMagnitude != 0 && n < DIGITS_MAX - 1);
    for (int i = 0; i < n; ++i)
        pszDigits[i] = szReversed[n - 1 - i];
    pszDigits[n] = '\0';
}

// The fraction tail for d below 0: the separator and the digits kept, or "" when none remain.
void FractionTail(char* pszTail, const CNumberStyle& style, const char* pszFraction, int nKeep)
{
    pszTail[0] = '\0';
    if (nKeep <= 0)
        return;
    pszTail[0] = style.chDecimal;
    memcpy(pszTail + 1, pszFraction, static_cast<size_t>(nKeep));
    pszTail[nKeep + 1] = '\0';
}

int KeptFractionDigits(const char* pszFraction, int nDigits, int nMinimum)
{
    if (nMinimum < 0)
        nMinimum = 0;
    int nKeep = nDigits;
    while (nKeep > nMinimum && pszFraction[nKeep - 1] == '0')
        --nKeep;
    return nKeep;
}

int FormatSixtyFourths(char* pszDest, int nSize, const CNumberStyle& style, BOOL bNegative,
                       unsigned __int128 nMagnitude)
{
    char szWhole[DIGITS_MAX];
    unsigned __int128 nWhole = nMagnitude >> 6;
    int nNumerator = static_cast<int>(nMagnitude & 63);
    int nDenominator = 64;
    char szTail[24] = "";
    if (nNumerator != 0) {
        while (nNumerator % 2 == 0) {
            nNumerator /= 2;
            nDenominator /= 2;
        }
        snprintf(szTail, sizeof(szTail), "%s%d/%d", nWhole != 0 ? " " : "", nNumerator, nDenominator);
    }
    // A zero whole part is left out before a fraction; a plain zero still shows "0".
    if (nWhole == 0 && nNumerator != 0)
        szWhole[0] = '\0';
    else
        MagnitudeDigits(nWhole, szWhole);
    return LayOutNumber(pszDest, nSize, style, bNegative, szWhole, 0, szTail);
}

}  // namespace

int FormatIntegerText(char* pszDest, int nSize, const CNumberStyle& style, BOOL bNegative,
                      unsigned __int128 nMagnitude, int nDecimals)
{
    if (nDecimals == DECIMALS_64THS)
        return FormatSixtyFourths(pszDest, nSize, style, bNegative, nMagnitude);
    char szDigits[DIGITS_MAX];
    MagnitudeDigits(nMagnitude, szDigits);
    if (nDecimals >= 0) {
        BOOL bZero = nMagnitude == 0;
        return LayOutNumber(pszDest, nSize, style, bNegative, szDigits, bZero ? 0 : nDecimals, "");
    }
    // Fixed point: pad with leading zeros so that the whole part keeps at least one digit.
    int nFraction = -nDecimals < CDecimalDigits::MAX_FRACTION ? -nDecimals : CDecimalDigits::MAX_FRACTION;
    char szPadded[DIGITS_MAX + CDecimalDigits::MAX_FRACTION + 2];
    int nDigits = static_cast<int>(strlen(szDigits));
    int nPad = nDigits <= nFraction ? nFraction + 1 - nDigits : 0;
    memset(szPadded, '0', static_cast<size_t>(nPad));
    strcpy(szPadded + nPad, szDigits);
    int nTotal = nPad + nDigits;
    char* pszFraction = szPadded + nTotal - nFraction;
    BOOL bZeroFraction = TRUE;
    for (int i = 0; i < nFraction; ++i)
        if (pszFraction[i] != '0')
            bZeroFraction = FALSE;
    int nKeep = nFraction;
    if (bZeroFraction && style.bOmitZeroFraction)
        nKeep = 0;
    else if (style.nMinDecimals > 0)
        nKeep = KeptFractionDigits(pszFraction, nFraction, style.nMinDecimals);
    char szTail[CDecimalDigits::MAX_FRACTION + 2];
    FractionTail(szTail, style, pszFraction, nKeep);
    *pszFraction = '\0';
    return LayOutNumber(pszDest, nSize, style, bNegative, szPadded, 0, szTail);
}

int FormatDoubleText(char* pszDest, int nSize, const CNumberStyle& style, double dValue, int nDecimals)
{
    BOOL bNegative = dValue < 0;
    if (nDecimals == DECIMALS_64THS) {
        // The count of 64ths rounded as written, like every other double we show.
        CDecimalDigits count;
        if (!count.Split(dValue, 0, /*bRound=*/TRUE) || strlen(count.GetWhole()) > 19)
            return FillMissing(pszDest, nSize);
        unsigned __int128 nCount = 0;
        for (const char* p = count.GetWhole(); *p != '\0'; ++p)
            nCount = nCount * 10 + static_cast<unsigned>(*p - '0');
        // The readers take counts of a 64-bit integer; a larger one would show a text that no
        // reader takes back.
        if (nCount > static_cast<unsigned __int128>(INT64_MAX))
            return FillMissing(pszDest, nSize);
        return FormatSixtyFourths(pszDest, nSize, style, bNegative && nCount != 0, nCount);
    }
    CDecimalDigits digits;
    if (nDecimals >= 0) {
        if (!digits.Split(dValue, 0, /*bRound=*/FALSE))
            return FillMissing(pszDest, nSize);
        BOOL bZero = digits.IsZero();
        return LayOutNumber(pszDest, nSize, style, bNegative && !bZero, digits.GetWhole(), bZero ? 0 : nDecimals, "");
    }
    int nFraction = -nDecimals < CDecimalDigits::MAX_FRACTION ? -nDecimals : CDecimalDigits::MAX_FRACTION;
    if (!digits.Split(dValue, nFraction, /*bRound=*/TRUE))
        return FillMissing(pszDest, nSize);
    int nMinimum = style.nMinDecimals < nFraction ? style.nMinDecimals : nFraction;
    int nKeep = KeptFractionDigits(digits.GetFraction(), nFraction, nMinimum);
    char szTail[CDecimalDigits::MAX_FRACTION + 2];
    FractionTail(szTail, style, digits.GetFraction(), nKeep);
    // -0.001 at two places shows "0", not "-0".
    return LayOutNumber(pszDest, nSize, style, bNegative && !digits.IsZero(), digits.GetWhole(), 0, szTail);
}

int FormatIntValue(char* pszDest, int nSize, int32_t nValue, int nDecimals, const CColumnDataType& type)
{
    if (nValue == MISSING_INT32)
        return FillMissing(pszDest, nSize);
    CNumberStyle style = GetDisplayStyle(type);
    if (nValue == 0 && style.bBlankZero)
        return LayOutNumber(pszDest, nSize, style, FALSE, "", 0, "");
    long long nWide = nValue;
    return FormatIntegerText(pszDest, nSize, style, nWide < 0, static_cast<unsigned __int128>(nWide < 0 ? -nWide : nWide),
                             nDecimals);
}

int FormatInt64Value(char* pszDest, int nSize, LONGLONG nValue, int nDecimals, const CColumnDataType& type)
{
    if (nValue == MISSING_INT64)
        return FillMissing(pszDest, nSize);
    CNumberStyle style = GetDisplayStyle(type);
    if (nValue == 0 && style.bBlankZero)
        return LayOutNumber(pszDest, nSize, style, FALSE, "", 0, "");
    unsigned __int128 nMagnitude = nValue < 0 ? 0 - static_cast<unsigned __int128>(nValue) : nValue;
    return FormatIntegerText(pszDest, nSize, style, nValue < 0, nMagnitude, nDecimals);
}

int FormatDecimalNumber(char* pszDest, int nSize, double dValue, int nDecimals, const CColumnDataType& type)
{
    if (dValue == MISSING_DOUBLE || !std::isfinite(dValue))
        return FillMissing(pszDest, nSize);
    CNumberStyle style = GetDisplayStyle(type);
    if (dValue == 0 && style.bBlankZero)
        return LayOutNumber(pszDest, nSize, style, FALSE, "", 0, "");
    return FormatDoubleText(pszDest, nSize, style, dValue, nDecimals);
}

int FormatColumnValue(char* pszDest, int nSize, const TBCellSlot* pCell, int nDecimals, const CColumnDataType& type)
{
    if (pszDest == nullptr || nSize <= 0)
        return 0;
    pszDest[0] = '\0';
    if (pCell == nullptr)
        return 0;
    // Only the stored types read the slot as a pointer.
    const void* pData = ColumnTypeIsStored(type.GetDataType()) ? pCell->pData : nullptr;
    switch (type.GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        return FormatIntValue(pszDest, nSize, pCell->nValue, nDecimals, type);
    case COLTYPE_INT64: {
        if (pData == nullptr)
            return FillMissing(pszDest, nSize);
        LONGLONG nValue;
        memcpy(&nValue, pData, sizeof(nValue));     // the row's storage need not be aligned
        return FormatInt64Value(pszDest, nSize, nValue, nDecimals, type);
    }
    case COLTYPE_DOUBLE: {
        if (pData == nullptr)
            return FillMissing(pszDest, nSize);
        double dValue;
        memcpy(&dValue, pData, sizeof(dValue));
        return FormatDecimalNumber(pszDest, nSize, dValue, nDecimals, type);
    }
    case COLTYPE_CHAR4: {
        int n = 0;
        while (n < 4 && n < nSize - 1 && pCell->achBytes[n] != '\0') {
            pszDest[n] = pCell->achBytes[n];
            ++n;
        }
        pszDest[n] = '\0';
        return n;
    }
    case COLTYPE_STRING: {
        // Copied as it stands, cut to the room: a live text is read at every write.
        const char* pszText = pData != nullptr ? static_cast<const char*>(pData) : "[NULL]";
        const size_t nLength = strnlen(pszText, static_cast<size_t>(nSize) - 1);
        memcpy(pszDest, pszText, nLength);
        pszDest[nLength] = '\0';
        break;
    }
    case COLTYPE_PACKED_DATE:
        FormatPackedDate(pszDest, nSize, pCell->achBytes, GetGlobalDatePattern());
        break;
    case COLTYPE_PACKED_TIME:
        FormatPackedTime(pszDest, nSize, pCell->achBytes, GetGlobalTimePattern());
        break;
    case COLTYPE_PACKED_DATETIME:
        FormatPackedDateTime(pszDest, nSize, static_cast<const char*>(pData), GetGlobalDatePattern(),
                             GetGlobalTimePattern());
        break;
    case COLTYPE_DATE_TEXT:
        FormatDateText(pszDest, nSize, static_cast<const char*>(pData), GetGlobalDatePattern());
        break;
    case COLTYPE_TIME_TEXT:
        FormatTimeText(pszDest, nSize, static_cast<const char*>(pData), GetGlobalTimePattern());
        break;
    case COLTYPE_DATETIME_TEXT:
        FormatDateTimeText(pszDest, nSize, static_cast<const char*>(pData), GetGlobalDatePattern(),
                           GetGlobalTimePattern());
        break;
    default:
        break;
    }
    return static_cast<int>(strlen(pszDest));
}
