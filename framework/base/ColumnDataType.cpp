#include "framework/base/ColumnDataType.h"

void CColumnDataType::CopyFrom(const CColumnDataType& other)
{
    m_nType = other.m_nType;
    m_bThousands = other.m_bThousands;
    m_nOmitZeroFraction = other.m_nOmitZeroFraction;
    m_nMinDecimals = other.m_nMinDecimals;
    m_bBlankZero = other.m_bBlankZero;
}

BOOL ColumnTypeIsNumeric(int nType)
{
    return nType == COLTYPE_INT32 || nType == COLTYPE_INT64 || nType == COLTYPE_DOUBLE || nType == COLTYPE_INT ||
           nType == COLTYPE_COMPUTED;
}

BOOL ColumnTypeIsTextual(int nType)
{
    return nType == COLTYPE_CHAR4 || nType == COLTYPE_STRING ||
           (nType >= COLTYPE_PACKED_DATE && nType <= COLTYPE_DATETIME_TEXT) || nType == COLTYPE_COMPUTED;
}

BOOL ColumnTypeIsValid(int nType)
{
    // The date and time text (26) loads like its siblings: a saved layout with one must not
    // lose its whole column list.
    return ColumnTypeIsNumeric(nType) || ColumnTypeIsTextual(nType) || nType == COLTYPE_NONE;
}

BOOL ColumnTypeIsStored(int nType)
{
    return nType == COLTYPE_INT64 || nType == COLTYPE_DOUBLE || nType == COLTYPE_STRING ||
           (nType >= COLTYPE_PACKED_DATETIME && nType <= COLTYPE_DATETIME_TEXT);
}
