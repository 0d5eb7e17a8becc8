#pragma once
// How the conversions lay out a number: the separators of the framework globals and the
// display settings of a column's data type, and the one routine that writes sign, whole part,
// grouping and the fraction tail into a bounded destination. Private to the conversions.
#include "framework/base/ColumnDataType.h"

struct CNumberStyle
{
    char chDecimal = '.';
    char chThousands = ',';
    BOOL bGroup = FALSE;
    BOOL bOmitZeroFraction = FALSE;
    int  nMinDecimals = 0;
    BOOL bBlankZero = FALSE;
};

// The display style of a column type with the globals' separators.
CNumberStyle GetDisplayStyle(const CColumnDataType& type);
// The plain form that cells of different decimal codes compare in: '.', no grouping, zero
// fraction left out, zero as "".
CNumberStyle GetPlainStyle();
char GetGlobalDecimalSeparator();
char GetGlobalThousandsSeparator();
const char* GetGlobalDatePattern();
const char* GetGlobalTimePattern();

// Writes [-]whole, nZeros appended zeros, grouping across both, then pszTail (the fraction
// part with its separator, or a sixty-fourths tail). An empty pszWhole writes no whole part.
// Text that does not fit becomes nSize - 1 '#' characters. Returns the length written.
int LayOutNumber(char* pszDest, int nSize, const CNumberStyle& style, BOOL bNegative, const char* pszWhole,
                 int nZeros, const char* pszTail);
// A number of the integer cells: magnitude and sign, laid out by decimal code (fixed point,
// whole, scaled or sixty-fourths). Missing markers and blank zeros are the caller's.
int FormatIntegerText(char* pszDest, int nSize, const CNumberStyle& style, BOOL bNegative,
                      unsigned __int128 nMagnitude, int nDecimals);
// A double: rounded half away from zero to |d| digits for d below 0, cut for d at 0 or above,
// a count of sixty-fourths for DECIMALS_64THS. A value that shows as zero shows no sign.
int FormatDoubleText(char* pszDest, int nSize, const CNumberStyle& style, double dValue, int nDecimals);
// Exact integer helpers: 10^n (FALSE past 128 bits) and a quotient rounded half away from
// zero (the divisor is positive).
BOOL PowerOfTen128(int nExponent, __int128* pnPower);
__int128 DivideRounded(__int128 nNumerator, __int128 nDenominator);
// Exact conversion between sixty-fourths and another decimal code (one of the two is
// DECIMALS_64THS), rounded half away from zero. FALSE when the result would not fit 128 bits.
BOOL ConvertSixtyFourths(__int128 nValue, int nFromDecimals, int nToDecimals, __int128* pnResult);
// nSize - 1 '#' characters: a missing value or a text that does not fit.
int FillMissing(char* pszDest, int nSize);
