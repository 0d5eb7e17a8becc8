#pragma once
// Conversions of cell values by column type: display text, typed text read back, plain storage
// text, comparison and sums. Numbers use the framework globals' decimal and thousands
// separators and dates their patterns; nothing depends on the process's C locale.
//
// A cell is a TBCellSlot (ColumnDataType.h). A decimal code d comes from the view column; for
// integer cells -1..-98 mean fixed point with |d| fraction digits, 0 whole numbers, d above 0
// a value scaled down by 10^d, DECIMALS_64THS a count of sixty-fourths. Doubles hold the value
// itself for negative codes (shown with up to |d| fraction digits) and a count of sixty-fourths
// for DECIMALS_64THS.
//
// Nothing here raises: an unreadable text gives FALSE (an integer cell then holds its missing
// marker), an overflow makes the target missing, a text that does not fit its destination
// becomes nSize - 1 '#' characters, and so does a missing value.
#include "framework/base/ColumnDataType.h"

// The cell's display text; returns its length.
int  FormatColumnValue(char* pszDest, int nSize, const TBCellSlot* pCell, int nDecimals, const CColumnDataType& type);
// Typed text into the cell; nTextSize bounds a text cell's buffer.
BOOL ParseColumnValue(TBCellSlot* pCell, int nTextSize, int nDecimals, const CColumnDataType& type,
                      const char* pszText);
// The plain storage form: numbers as C number texts with '.', the other types as their bytes.
BOOL StoreColumnValue(TBCellSlot* pCell, int nTextSize, const CColumnDataType& type, const char* pszStorage);
// Sums and running totals: the source is brought to the target's decimal code first. FALSE when
// the result is missing or out of range. Non-numeric types do nothing and succeed.
BOOL AddColumnValues(TBCellSlot* pTarget, int nTargetDecimals, const TBCellSlot* pSource, int nSourceDecimals,
                     int nType);
BOOL SubtractColumnValues(TBCellSlot* pTarget, int nTargetDecimals, const TBCellSlot* pSource,
                          int nSourceDecimals, int nType);
// Negative, 0 or positive. Numbers with different decimal codes compare by value. A null
// pointer of a stored type orders below any value.
int  CompareColumnValues(const TBCellSlot* pFirst, int nFirstDecimals, const TBCellSlot* pSecond,
                         int nSecondDecimals, int nType);
void ClearColumnValue(TBCellSlot* pCell, int nType);

// Number helpers.
double RoundHalfAwayFromZero(double x, int n);      // as x is written in decimal: 2.675 gives 2.68
double GetPowerOfTen(int n);
// Typed text into a plain C number text ('-', digits, '.' with bKeepPoint). For d below 0 the
// fraction is cut or padded to |d| digits (without the point the digits form the fixed-point
// integer); for d above 0 the last d digits are dropped. Leading zeros of the whole part are
// not copied (one stays for a whole part of zeros alone). FALSE, with the empty text, for a text
// that is not a number or does not fit nOutSize. The readers' own buffer takes the plain text of every double the
// display can show, so a shown number always reads back.
BOOL NormalizeNumberText(char* pszOut, int nOutSize, const char* pszText, int nDecimals, BOOL bKeepPoint);
// Numeric order of two plain number texts; "" counts as 0 and trailing fraction zeros do not count.
int  CompareNumberText(const char* pszFirst, const char* pszSecond);

// The per-type workers behind the functions above.
int  FormatIntValue(char* pszDest, int nSize, int32_t nValue, int nDecimals, const CColumnDataType& type);
int  FormatInt64Value(char* pszDest, int nSize, LONGLONG nValue, int nDecimals, const CColumnDataType& type);
int  FormatDecimalNumber(char* pszDest, int nSize, double dValue, int nDecimals, const CColumnDataType& type);
BOOL ParseIntValue(int32_t* pnValue, int nDecimals, const CColumnDataType& type, const char* pszText);
BOOL ParseInt64Value(LONGLONG* pnValue, int nDecimals, const CColumnDataType& type, const char* pszText);
BOOL ParseDoubleValue(double* pdValue, int nDecimals, const CColumnDataType& type, const char* pszText);
// "10 17/32", "1/2", "-3": a count of sixty-fourths; the denominator is 2, 4, ... or 64.
BOOL ParseFractionText(int32_t* pnValue, const char* pszText, BOOL bBlankZero);
BOOL ParseFractionText64(LONGLONG* pnValue, const char* pszText, BOOL bBlankZero);
BOOL AddIntValue(int32_t* pnTarget, int nTargetDecimals, int32_t nSource, int nSourceDecimals);
BOOL SubtractIntValue(int32_t* pnTarget, int nTargetDecimals, int32_t nSource, int nSourceDecimals);
BOOL AddInt64Value(LONGLONG* pnTarget, int nTargetDecimals, LONGLONG nSource, int nSourceDecimals);
BOOL SubtractInt64Value(LONGLONG* pnTarget, int nTargetDecimals, LONGLONG nSource, int nSourceDecimals);
BOOL AddDoubleValue(double* pdTarget, int nTargetDecimals, double dSource, int nSourceDecimals);
BOOL SubtractDoubleValue(double* pdTarget, int nTargetDecimals, double dSource, int nSourceDecimals);
int  CompareIntValues(int32_t nFirst, int nFirstDecimals, int32_t nSecond, int nSecondDecimals);
int  CompareInt64Values(LONGLONG nFirst, int nFirstDecimals, LONGLONG nSecond, int nSecondDecimals);
int  CompareDoubleValues(double dFirst, int nFirstDecimals, double dSecond, int nSecondDecimals);
