#include "framework/base/NumberStyle.h"

#include <cstring>

#include "framework/base/NorvGlobals.h"

CNumberStyle GetDisplayStyle(const CColumnDataType& type)
{
    CNumberStyle style;
    style.chDecimal = GetGlobalDecimalSeparator();
    style.chThousands = GetGlobalThousandsSeparator();
    style.bGroup = type.GetThousands();
    style.bOmitZeroFraction = type.GetOmitZeroFraction() != 0;
    style.nMinDecimals = type.GetMinDecimals();
    style.bBlankZero = type.GetBlankZero();
    return style;
}

CNumberStyle GetPlainStyle()
{
    CNumberStyle style;
    style.bOmitZeroFraction = TRUE;
    style.bBlankZero = TRUE;
    return style;
}

char GetGlobalDecimalSeparator()
{
    return GetNorvGlobals().m_chDecimal;
}

char GetGlobalThousandsSeparator()
{
    return GetNorvGlobals().GetThousandsSeparator();
}

const char* GetGlobalDatePattern()
{
    return GetNorvGlobals().m_strDatePattern;
}

const char* GetGlobalTimePattern()
{
    return GetNorvGlobals().m_strTimePattern;
}

int FillMissing(char* pszDest, int nSize)
{
    if (pszDest == nullptr || nSize <= 0)
        return 0;
    memset(pszDest, '#', static_cast<size_t>(nSize - 1));
    pszDest[nSize - 1] = '\0';
    return nSize - 1;
}

int LayOutNumber(char* pszDest, int nSize, const CNumberStyle& style, BOOL bNegative, const char* pszWhole,
                 int nZeros, const char* pszTail)
{
    if (pszDest == nullptr || nSize <= 0)
        return 0;
    size_t nWhole = strlen(pszWhole);
    size_t nDigits = nWhole + (nWhole > 0 && nZeros > 0 ? static_cast<size_t>(nZeros) : 0);
    size_t nGroups = style.bGroup && style.chThousands != '\0' && nDigits > 0 ? (nDigits - 1) / 3 : 0;
    size_t nLength = (bNegative ? 1 : 0) + nDigits + nGroups + strlen(pszTail);
    if (nLength >= static_cast<size_t>(nSize))
        return FillMissing(pszDest, nSize);
    char* p = pszDest;
    if (bNegative)
        *p++ = '-';
    // Grouping counts from the right across the digits and the appended zeros alike.
    for (size_t i = 0; i < nDigits; ++i) {
        *p++ = i < nWhole ? pszWhole[i] : '0';
        size_t nLeft = nDigits - 1 - i;
        if (nGroups > 0 && nLeft > 0 && nLeft % 3 == 0)
            *p++ = style.chThousands;
    }
    strcpy(p, pszTail);
    return static_cast<int>(nLength);
}

BOOL PowerOfTen128(int nExponent, __int128* pnPower)
{
    __int128 n = 1;
    for (int i = 0; i < nExponent; ++i)
        if (__builtin_mul_overflow(n, static_cast<__int128>(10), &n))
            return FALSE;
    *pnPower = n;
    return TRUE;
}

__int128 DivideRounded(__int128 nNumerator, __int128 nDenominator)
{
    __int128 nMagnitude = nNumerator < 0 ? -nNumerator : nNumerator;
    __int128 nQuotient = nMagnitude / nDenominator;
    if ((nMagnitude % nDenominator) * 2 >= nDenominator)
        ++nQuotient;
    return nNumerator < 0 ? -nQuotient : nQuotient;
}

BOOL ConvertSixtyFourths(__int128 nValue, int nFromDecimals, int nToDecimals, __int128* pnResult)
{
    __int128 nPower;
    if (nFromDecimals == DECIMALS_64THS) {
        if (nToDecimals == DECIMALS_64THS) {
            *pnResult = nValue;
            return TRUE;
        }
        if (nToDecimals > 0) {
            // A divisor past 128 bits leaves nothing of any 64-bit value.
            if (!PowerOfTen128(nToDecimals, &nPower) || __builtin_mul_overflow(nPower, static_cast<__int128>(64), &nPower))
                *pnResult = 0;
            else
                *pnResult = DivideRounded(nValue, nPower);
            return TRUE;
        }
        if (!PowerOfTen128(-nToDecimals, &nPower) || __builtin_mul_overflow(nValue, nPower, &nValue))
            return FALSE;
        *pnResult = DivideRounded(nValue, 64);
        return TRUE;
    }
    if (nToDecimals != DECIMALS_64THS)
        return FALSE;
    if (__builtin_mul_overflow(nValue, static_cast<__int128>(64), &nValue))
        return FALSE;
    if (nFromDecimals < 0) {
        if (!PowerOfTen128(-nFromDecimals, &nPower))
            *pnResult = 0;
        else
            *pnResult = DivideRounded(nValue, nPower);
        return TRUE;
    }
    if (!PowerOfTen128(nFromDecimals, &nPower) || __builtin_mul_overflow(nValue, nPower, &nValue))
        return FALSE;
    *pnResult = nValue;
    return TRUE;
}
