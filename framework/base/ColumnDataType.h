#pragma once
// The data type of a table column: its type code and the number display settings that every
// conversion of its cells honours. Base of the table engine's CTableColumn. The conversions
// themselves are in ColumnValues.h.
#include "platform/win/WinTypes.h"

// Type codes, as stored in layout files.
const int COLTYPE_INT32 = 1;
const int COLTYPE_INT64 = 2;
const int COLTYPE_DOUBLE = 3;
const int COLTYPE_INT = 4;              // a 32-bit integer always shown in sixty-fourths
const int COLTYPE_CHAR4 = 11;           // up to four characters inside the cell
const int COLTYPE_STRING = 12;
const int COLTYPE_PACKED_DATE = 21;     // packed forms and digit texts: see DateTime.h
const int COLTYPE_PACKED_TIME = 22;
const int COLTYPE_PACKED_DATETIME = 23;
const int COLTYPE_DATE_TEXT = 24;
const int COLTYPE_TIME_TEXT = 25;
const int COLTYPE_DATETIME_TEXT = 26;
const int COLTYPE_NONE = 90;            // no value of its own
const int COLTYPE_COMPUTED = 99;        // a 32-bit integer whose text may come from a callback

// Decimal codes (a signed byte per view column): -1..-98 fraction digits, 0 whole numbers,
// 1 and above the value scaled down by 10^d, and this one for sixty-fourths.
const int DECIMALS_64THS = -99;

// Markers of a cell without a value; such a cell shows as '#' characters.
const int32_t MISSING_INT32 = INT32_MIN;
const LONGLONG MISSING_INT64 = INT64_MIN;
const double MISSING_DOUBLE = 2.2250738585072014e-308;  // the smallest normal double

// One cell of a row's value block. The small types (1, 4, 11, 21, 22, 90, 99) keep their value
// in the first four bytes; the others keep a pointer to storage the row owns (null = no value):
// 8 bytes for 2 and 3, the text buffer for 12, 6 bytes for 23 and 25, 8 for 24, 14 for 26.
// Pointer-sized, so that the pointer fits on 64-bit.
union TBCellSlot
{
    void* pData;            // first, so that TBCellSlot{} is a null pointer
    int32_t nValue;
    char achBytes[4];
};

class CColumnDataType
{
public:
    CColumnDataType() = default;
    CColumnDataType(int nType, BOOL bThousands, int nOmitZeroFraction, int nMinDecimals, BOOL bBlankZero)
        : m_nType(nType), m_bThousands(bThousands), m_nOmitZeroFraction(nOmitZeroFraction),
          m_nMinDecimals(nMinDecimals), m_bBlankZero(bBlankZero) {}
    virtual ~CColumnDataType() = default;
    void CopyFrom(const CColumnDataType& other);

    int  GetDataType() const { return m_nType; }
    void SetDataType(int nType) { m_nType = nType; }
    // Thousands separator every three digits of the whole part.
    BOOL GetThousands() const { return m_bThousands; }
    void SetThousands(BOOL bThousands) { m_bThousands = bThousands; }
    // Nonzero: a zero fraction is not shown (columns keep a mode 0..2; any nonzero acts alike).
    int  GetOmitZeroFraction() const { return m_nOmitZeroFraction; }
    void SetOmitZeroFraction(int nMode) { m_nOmitZeroFraction = nMode; }
    // Fraction digits kept when trailing zeros are dropped.
    int  GetMinDecimals() const { return m_nMinDecimals; }
    void SetMinDecimals(int nMinDecimals) { m_nMinDecimals = nMinDecimals; }
    // A zero shows as "" and a blank text reads as zero.
    BOOL GetBlankZero() const { return m_bBlankZero; }
    void SetBlankZero(BOOL bBlankZero) { m_bBlankZero = bBlankZero; }

protected:
    int32_t m_nType = COLTYPE_INT32;
    int32_t m_bThousands = TRUE;
    int32_t m_nOmitZeroFraction = 0;
    int32_t m_nMinDecimals = 0;
    int32_t m_bBlankZero = TRUE;
};

// Type predicates on a type code.
BOOL ColumnTypeIsNumeric(int nType);    // 1, 2, 3, 4, 99
BOOL ColumnTypeIsTextual(int nType);    // compared as text by find and filter: 11, 12, 21..26, 99
BOOL ColumnTypeIsValid(int nType);      // accepted when a column's type is loaded
BOOL ColumnTypeIsStored(int nType);     // the slot points at the row's storage: 2, 3, 12, 23..26
