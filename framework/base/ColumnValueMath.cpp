// Comparing, summing and clearing cells, and the number helpers behind them.
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "framework/base/ColumnValues.h"
#include "framework/base/DecimalDigits.h"
#include "framework/base/NumberStyle.h"
#include "platform/win/kernel/CodePage.h"

namespace {

typedef __int128 INT128;

// Plain texts of cells with different decimal codes: a signed byte of zeros or fraction digits
// and a 128-bit number fit with room to spare.
const int PLAIN_TEXT_MAX = 512;

// An integer cell as a plain number text; sixty-fourths become the value / 64 with six
// fraction digits (exact: 1/64 = 0.015625).
void PlainIntegerText(char* pszText, INT128 nValue, int nDecimals)
{
    if (nValue == 0) {
        pszText[0] = '\0';
        return;
    }
    if (nDecimals == DECIMALS_64THS) {
        nValue *= 15625;
        nDecimals = -6;
    }
    unsigned __int128 nMagnitude = nValue < 0 ? 0 - static_cast<unsigned __int128>(nValue) : nValue;
    FormatIntegerText(pszText, PLAIN_TEXT_MAX, GetPlainStyle(), nValue < 0, nMagnitude, nDecimals);
}

void PlainDoubleText(char* pszText, double dValue, int nDecimals)
{
    if (dValue == 0) {
        pszText[0] = '\0';
        return;
    }
    if (nDecimals == DECIMALS_64THS) {
        dValue /= 64;
        nDecimals = -6;
    }
    FormatDoubleText(pszText, PLAIN_TEXT_MAX, GetPlainStyle(), dValue, nDecimals);
}

template <typename T>
int CompareIntegers(T nFirst, int nFirstDecimals, T nSecond, int nSecondDecimals)
{
    const T MISSING = std::numeric_limits<T>::min();
    if (nFirstDecimals == nSecondDecimals || nFirst == MISSING || nSecond == MISSING)
        return nFirst < nSecond ? -1 : nFirst > nSecond ? 1 : 0;
    char szFirst[PLAIN_TEXT_MAX], szSecond[PLAIN_TEXT_MAX];
    PlainIntegerText(szFirst, nFirst, nFirstDecimals);
    PlainIntegerText(szSecond, nSecond, nSecondDecimals);
    return CompareNumberText(szFirst, szSecond);
}

// Brings a source to the target's decimal code and adds or subtracts it. Counts further apart
// than nMaxSpread follow the old rule: a source far finer than the target is too small to
// count, one far coarser cannot be represented.
template <typename T>
BOOL CombineIntegers(T* pnTarget, int nTargetDecimals, T nSource, int nSourceDecimals, BOOL bSubtract, int nMaxSpread)
{
    const T MISSING = std::numeric_limits<T>::min();
    if (*pnTarget == MISSING)
        return FALSE;
    if (nSource == MISSING) {
        *pnTarget = MISSING;
        return FALSE;
    }
    INT128 nConverted = nSource;
    if (nTargetDecimals == nSourceDecimals) {
        // nothing to bring over
    } else if (nTargetDecimals == DECIMALS_64THS || nSourceDecimals == DECIMALS_64THS) {
        // A 64ths cell in a decimal sum (or the reverse) counts at its value, not as nothing.
        if (!ConvertSixtyFourths(nSource, nSourceDecimals, nTargetDecimals, &nConverted)) {
            *pnTarget = MISSING;
            return FALSE;
        }
    } else if (nTargetDecimals > nSourceDecimals) {
        if (nTargetDecimals - nSourceDecimals > nMaxSpread)
            return TRUE;
        INT128 nPower;
        PowerOfTen128(nTargetDecimals - nSourceDecimals, &nPower);
        nConverted = nConverted / nPower;
    } else {
        INT128 nPower;
        if (nSourceDecimals - nTargetDecimals > nMaxSpread) {
            *pnTarget = MISSING;
            return FALSE;
        }
        PowerOfTen128(nSourceDecimals - nTargetDecimals, &nPower);
        nConverted = nConverted * nPower;
    }
    INT128 nResult = bSubtract ? *pnTarget - nConverted : *pnTarget + nConverted;
    if (nResult <= MISSING || nResult > std::numeric_limits<T>::max()) {
        *pnTarget = MISSING;
        return FALSE;
    }
    *pnTarget = static_cast<T>(nResult);
    return TRUE;
}

// What one unit of a double cell is worth: the value itself for the fraction codes, 10^d for
// scaled codes, a 64th for sixty-fourths.
double DoubleUnit(int nDecimals)
{
    if (nDecimals == DECIMALS_64THS)
        return 1.0 / 64;
    return nDecimals > 0 ? GetPowerOfTen(nDecimals) : 1.0;
}

BOOL CombineDoubles(double* pdTarget, int nTargetDecimals, double dSource, int nSourceDecimals, BOOL bSubtract)
{
    double dConverted = dSource;
    if (nTargetDecimals != nSourceDecimals)
        dConverted = dSource * DoubleUnit(nSourceDecimals) / DoubleUnit(nTargetDecimals);
    double dResult;
    if (bSubtract)
        dResult = *pdTarget - dConverted;
    else    // six places first, so that binary noise does not pile up in long sums
        dResult = RoundHalfAwayFromZero(*pdTarget, 6) + RoundHalfAwayFromZero(dConverted, 6);
    if (!std::isfinite(dResult)) {
        *pdTarget = MISSING_DOUBLE;
        return FALSE;
    }
    *pdTarget = dResult;
    return TRUE;
}

// A plain number text taken apart: sign, whole digits without leading zeros, fraction digits
// without trailing zeros.
struct CPlainNumber
{
    explicit CPlainNumber(const char* psz)
    {
        if (psz == nullptr)
            psz = "";
        bNegative = *psz == '-';
        if (bNegative)
            ++psz;
        while (*psz == '0')
            ++psz;
        pszWhole = psz;
        while (*psz >= '0' && *psz <= '9')
            ++psz;
        nWhole = static_cast<int>(psz - pszWhole);
        if (*psz == '.') {
            pszFraction = ++psz;
            while (*psz >= '0' && *psz <= '9')
                ++psz;
            nFraction = static_cast<int>(psz - pszFraction);
            while (nFraction > 0 && pszFraction[nFraction - 1] == '0')
                --nFraction;
        }
        if (nWhole == 0 && nFraction == 0)
            bNegative = FALSE;      // "-0.00" is zero
    }
    int CompareMagnitude(const CPlainNumber& other) const
    {
        if (nWhole != other.nWhole)
            return nWhole < other.nWhole ? -1 : 1;
        int n = memcmp(pszWhole, other.pszWhole, static_cast<size_t>(nWhole));
        if (n != 0)
            return n < 0 ? -1 : 1;
        int nCommon = nFraction < other.nFraction ? nFraction : other.nFraction;
        n = memcmp(pszFraction, other.pszFraction, static_cast<size_t>(nCommon));
        if (n != 0)
            return n < 0 ? -1 : 1;
        return nFraction < other.nFraction ? -1 : nFraction > other.nFraction ? 1 : 0;
    }

    BOOL bNegative = FALSE;
    const char* pszWhole = "";
    int nWhole = 0;
    const char* pszFraction = "";
    int nFraction = 0;
};

// Stored values behind a pointer: a null pointer orders below any value.
int CompareNull(const void* pFirst, const void* pSecond, BOOL* pbDecided)
{
    *pbDecided = pFirst == nullptr || pSecond == nullptr;
    if (!*pbDecided)
        return 0;
    return pFirst == nullptr ? (pSecond == nullptr ? 0 : -1) : 1;
}

}  // namespace

double GetPowerOfTen(int n)
{
    static const double s_adPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n >= 0 && n < static_cast<int>(sizeof(s_adPowers) / sizeof(s_adPowers[0])))
        return s_adPowers[n];
    return std::pow(10.0, n);
}

double RoundHalfAwayFromZero(double x, int n)
{
    CDecimalDigits digits;
    if (!digits.Split(x, n, /*bRound=*/TRUE))
        return x;
    char szText[CDecimalDigits::MAX_WHOLE + CDecimalDigits::MAX_FRACTION + 4];
    size_t nWhole = strlen(digits.GetWhole());
    memcpy(szText, digits.GetWhole(), nWhole);
    szText[nWhole] = '.';
    strcpy(szText + nWhole + 1, digits.GetFraction());
    double dResult = 0.0;
    std::from_chars(szText, szText + strlen(szText), dResult);
    return std::signbit(x) ? -dResult : dResult;
}

int CompareNumberText(const char* pszFirst, const char* pszSecond)
{
    CPlainNumber first(pszFirst), second(pszSecond);
    if (first.bNegative != second.bNegative)
        return first.bNegative ? -1 : 1;
    int n = first.CompareMagnitude(second);
    return first.bNegative ? -n : n;
}

int CompareIntValues(int32_t nFirst, int nFirstDecimals, int32_t nSecond, int nSecondDecimals)
{
    return CompareIntegers<int32_t>(nFirst, nFirstDecimals, nSecond, nSecondDecimals);
}

int CompareInt64Values(LONGLONG nFirst, int nFirstDecimals, LONGLONG nSecond, int nSecondDecimals)
{
    return CompareIntegers<LONGLONG>(nFirst, nFirstDecimals, nSecond, nSecondDecimals);
}

int CompareDoubleValues(double dFirst, int nFirstDecimals, double dSecond, int nSecondDecimals)
{
    if (nFirstDecimals == nSecondDecimals)
        return dFirst < dSecond ? -1 : dFirst > dSecond ? 1 : 0;
    if (dFirst == MISSING_DOUBLE || dSecond == MISSING_DOUBLE)
        return dFirst == dSecond ? 0 : dFirst == MISSING_DOUBLE ? -1 : 1;
    char szFirst[PLAIN_TEXT_MAX], szSecond[PLAIN_TEXT_MAX];
    PlainDoubleText(szFirst, dFirst, nFirstDecimals);
    PlainDoubleText(szSecond, dSecond, nSecondDecimals);
    return CompareNumberText(szFirst, szSecond);
}

int CompareColumnValues(const TBCellSlot* pFirst, int nFirstDecimals, const TBCellSlot* pSecond,
                        int nSecondDecimals, int nType)
{
    if (pFirst == nullptr || pSecond == nullptr || nType < 1 || nType > 99 || nType == COLTYPE_NONE)
        return 0;
    const void* pFirstData = ColumnTypeIsStored(nType) ? pFirst->pData : nullptr;
    const void* pSecondData = ColumnTypeIsStored(nType) ? pSecond->pData : nullptr;
    BOOL bDecided = FALSE;
    int nNull = ColumnTypeIsStored(nType) ? CompareNull(pFirstData, pSecondData, &bDecided) : 0;
    if (bDecided && nType != COLTYPE_STRING)
        return nNull;
    switch (nType) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        return CompareIntValues(pFirst->nValue, nFirstDecimals, pSecond->nValue, nSecondDecimals);
    case COLTYPE_INT64: {
        LONGLONG nFirst, nSecond;
        memcpy(&nFirst, pFirstData, sizeof(nFirst));
        memcpy(&nSecond, pSecondData, sizeof(nSecond));
        return CompareInt64Values(nFirst, nFirstDecimals, nSecond, nSecondDecimals);
    }
    case COLTYPE_DOUBLE: {
        double dFirst, dSecond;
        memcpy(&dFirst, pFirstData, sizeof(dFirst));
        memcpy(&dSecond, pSecondData, sizeof(dSecond));
        return CompareDoubleValues(dFirst, nFirstDecimals, dSecond, nSecondDecimals);
    }
    case COLTYPE_CHAR4:
        return strncmp(pFirst->achBytes, pSecond->achBytes, 4);
    case COLTYPE_STRING:
        // The word sort of the active code page, as every text sort and filter of the system.
        return lstrcmpA(static_cast<const char*>(pFirstData), static_cast<const char*>(pSecondData));
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
        return memcmp(pFirst->achBytes, pSecond->achBytes, 3);
    case COLTYPE_PACKED_DATETIME:
        return memcmp(pFirstData, pSecondData, 6);
    case COLTYPE_DATE_TEXT:
        return strncmp(static_cast<const char*>(pFirstData), static_cast<const char*>(pSecondData), 8);
    case COLTYPE_TIME_TEXT:
        return strncmp(static_cast<const char*>(pFirstData), static_cast<const char*>(pSecondData), 6);
    case COLTYPE_DATETIME_TEXT:
        return strncmp(static_cast<const char*>(pFirstData), static_cast<const char*>(pSecondData), 14);
    default:
        return 0;
    }
}

BOOL AddIntValue(int32_t* pnTarget, int nTargetDecimals, int32_t nSource, int nSourceDecimals)
{
    return CombineIntegers<int32_t>(pnTarget, nTargetDecimals, nSource, nSourceDecimals, FALSE, 9);
}

BOOL SubtractIntValue(int32_t* pnTarget, int nTargetDecimals, int32_t nSource, int nSourceDecimals)
{
    return CombineIntegers<int32_t>(pnTarget, nTargetDecimals, nSource, nSourceDecimals, TRUE, 9);
}

BOOL AddInt64Value(LONGLONG* pnTarget, int nTargetDecimals, LONGLONG nSource, int nSourceDecimals)
{
    return CombineIntegers<LONGLONG>(pnTarget, nTargetDecimals, nSource, nSourceDecimals, FALSE, 18);
}

BOOL SubtractInt64Value(LONGLONG* pnTarget, int nTargetDecimals, LONGLONG nSource, int nSourceDecimals)
{
    return CombineIntegers<LONGLONG>(pnTarget, nTargetDecimals, nSource, nSourceDecimals, TRUE, 18);
}

BOOL AddDoubleValue(double* pdTarget, int nTargetDecimals, double dSource, int nSourceDecimals)
{
    return CombineDoubles(pdTarget, nTargetDecimals, dSource, nSourceDecimals, FALSE);
}

BOOL SubtractDoubleValue(double* pdTarget, int nTargetDecimals, double dSource, int nSourceDecimals)
{
    return CombineDoubles(pdTarget, nTargetDecimals, dSource, nSourceDecimals, TRUE);
}

namespace {

BOOL CombineColumnValues(TBCellSlot* pTarget, int nTargetDecimals, const TBCellSlot* pSource, int nSourceDecimals,
                         int nType, BOOL bSubtract)
{
    if (nType < 1 || nType > 99 || !ColumnTypeIsNumeric(nType))
        return TRUE;
    if (pTarget == nullptr || pSource == nullptr)
        return FALSE;
    if (nType == COLTYPE_INT64) {
        if (pTarget->pData == nullptr || pSource->pData == nullptr)
            return FALSE;
        LONGLONG nTarget, nSource;
        memcpy(&nTarget, pTarget->pData, sizeof(nTarget));
        memcpy(&nSource, pSource->pData, sizeof(nSource));
        BOOL bDone = bSubtract ? SubtractInt64Value(&nTarget, nTargetDecimals, nSource, nSourceDecimals)
                               : AddInt64Value(&nTarget, nTargetDecimals, nSource, nSourceDecimals);
        memcpy(pTarget->pData, &nTarget, sizeof(nTarget));
        return bDone;
    }
    if (nType == COLTYPE_DOUBLE) {
        if (pTarget->pData == nullptr || pSource->pData == nullptr)
            return FALSE;
        double dTarget, dSource;
        memcpy(&dTarget, pTarget->pData, sizeof(dTarget));
        memcpy(&dSource, pSource->pData, sizeof(dSource));
        BOOL bDone = bSubtract ? SubtractDoubleValue(&dTarget, nTargetDecimals, dSource, nSourceDecimals)
                               : AddDoubleValue(&dTarget, nTargetDecimals, dSource, nSourceDecimals);
        memcpy(pTarget->pData, &dTarget, sizeof(dTarget));
        return bDone;
    }
    return bSubtract ? SubtractIntValue(&pTarget->nValue, nTargetDecimals, pSource->nValue, nSourceDecimals)
                     : AddIntValue(&pTarget->nValue, nTargetDecimals, pSource->nValue, nSourceDecimals);
}

}  // namespace

BOOL AddColumnValues(TBCellSlot* pTarget, int nTargetDecimals, const TBCellSlot* pSource, int nSourceDecimals,
                     int nType)
{
    return CombineColumnValues(pTarget, nTargetDecimals, pSource, nSourceDecimals, nType, FALSE);
}

BOOL SubtractColumnValues(TBCellSlot* pTarget, int nTargetDecimals, const TBCellSlot* pSource,
                          int nSourceDecimals, int nType)
{
    return CombineColumnValues(pTarget, nTargetDecimals, pSource, nSourceDecimals, nType, TRUE);
}

void ClearColumnValue(TBCellSlot* pCell, int nType)
{
    if (pCell == nullptr)
        return;
    char* pData = ColumnTypeIsStored(nType) ? static_cast<char*>(pCell->pData) : nullptr;
    switch (nType) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_CHAR4:
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
        memset(pCell, 0, sizeof(*pCell));
        break;
    case COLTYPE_INT64:
    case COLTYPE_DOUBLE:
        if (pData != nullptr)
            memset(pData, 0, 8);    // all-zero bits are 0 and 0.0 alike
        break;
    case COLTYPE_PACKED_DATETIME:
        if (pData != nullptr)
            memset(pData, 0, 6);
        break;
    case COLTYPE_STRING:
    case COLTYPE_DATE_TEXT:
    case COLTYPE_TIME_TEXT:
    case COLTYPE_DATETIME_TEXT:     // emptied like its siblings, not left standing
        if (pData != nullptr)
            pData[0] = '\0';
        break;
    default:
        break;
    }
}
