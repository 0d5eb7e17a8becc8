// The getters of a stored row: its values as text, integers and doubles, by column type.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "framework/base/CompressedDateTime.h"
#include "market/DataArray.h"

// Characters a text type keeps: its fixed size, or the column's text size.
static int TextChars(const CTableColumn& column)
{
    if (column.GetDataType() == COLTYPE_STRING)
        return column.m_nSize > 0 ? column.m_nSize : 1;
    return FixedTextChars(column.GetDataType());
}

// The text of a text cell, terminated, cut to the type's length; FALSE for the other types.
static BOOL CopyCellText(const TBCellSlot& slot, const CTableColumn& column, char* pszDest, int nSize)
{
    int nChars = std::min(TextChars(column), nSize - 1);
    if (nChars <= 0)
        return FALSE;
    const char* pSource = ColumnTypeIsStored(column.GetDataType()) ? static_cast<const char*>(slot.pData) : slot.achBytes;
    size_t nLength = pSource ? strnlen(pSource, static_cast<size_t>(nChars)) : 0;
    if (nLength > 0)
        memcpy(pszDest, pSource, nLength);
    pszDest[nLength] = '\0';
    return TRUE;
}

// Room for any column's text: the largest text size a column may have.
static const int CELL_TEXT_MAX = TEXT_SIZE_MAX + 1;

// A packed date, time or date and time: its date as yyyymmdd (0 when none) and its time as hhmmss.
static void ReadPacked(const TBCellSlot& slot, const CTableColumn& column, LONGLONG* pnDate, LONGLONG* pnTime)
{
    char szText[16];
    *pnDate = 0;
    *pnTime = 0;
    if (!CopyCellText(slot, column, szText, sizeof szText))
        return;
    if (column.GetDataType() == COLTYPE_PACKED_TIME) {
        // Hours, minutes and seconds, one character each: read as a date they would give a
        // year of the 1970s, and the time would be lost.
        const unsigned char* p = reinterpret_cast<const unsigned char*>(szText);
        if (strlen(szText) == 3 && p[0] >= '0' && p[0] < '0' + 24 && p[1] >= '0' && p[1] < '0' + 60 && p[2] >= '0'
            && p[2] < '0' + 60)
            *pnTime = (p[0] - '0') * 10000 + (p[1] - '0') * 100 + (p[2] - '0');
        return;
    }
    CCompressedDateTime packed;
    packed.Parse(szText);
    const COleDateTime& date = packed.GetDate();
    if (date.GetStatus() == COleDateTime::valid && static_cast<DATE>(date) != 0)
        *pnDate = date.GetYear() * 10000LL + date.GetMonth() * 100 + date.GetDay();
    *pnTime = packed.GetTime().GetPacked();
}

// The decimal code scales unless it is 0 or sixty-fourths.
static BOOL Scales(int nDecimals)
{
    return nDecimals != 0 && nDecimals != DECIMALS_64THS;
}

CCellValue CCellValue::Read(const TBCellSlot* pValues, int nCol, const CTableColumn& column)
{
    CCellValue value;
    if (pValues == nullptr || nCol < 0)
        return value;
    const TBCellSlot& slot = pValues[nCol];
    LONGLONG nDate = 0;
    LONGLONG nTime = 0;
    char szText[CELL_TEXT_MAX];
    switch (column.GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        value.m_nKind = NUMBER;
        value.m_nNumber = slot.nValue;
        break;
    case COLTYPE_INT64:
        if (slot.pData != nullptr) {
            value.m_nKind = NUMBER;
            memcpy(&value.m_nNumber, slot.pData, sizeof value.m_nNumber);
        }
        break;
    case COLTYPE_DOUBLE:
        if (slot.pData != nullptr) {
            value.m_nKind = DOUBLE;
            memcpy(&value.m_dValue, slot.pData, sizeof value.m_dValue);
        }
        break;
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
        ReadPacked(slot, column, &nDate, &nTime);
        value.m_nKind = NUMBER;
        value.m_nNumber = nDate != 0 ? nDate : nTime;
        break;
    case COLTYPE_PACKED_DATETIME:
        ReadPacked(slot, column, &nDate, &nTime);
        value.m_nKind = NUMBER;
        value.m_nNumber = nDate * 1000000LL + nTime;
        break;
    default:
        szText[0] = '\0';
        if (CopyCellText(slot, column, szText, sizeof szText)) {
            value.m_nKind = TEXT;
            value.m_strText = szText;
        }
        break;
    }
    return value;
}

LONGLONG CCellValue::GetNumber() const
{
    switch (m_nKind) {
    case NUMBER:
        return m_nNumber;
    case DOUBLE:
        if (!(m_dValue > -9223372036854775808.0 && m_dValue < 9223372036854775808.0))
            return INT64_MIN;
        return static_cast<LONGLONG>(m_dValue);
    case TEXT:
        return strtoll(m_strText, nullptr, 10);
    default:
        return 0;
    }
}

double CCellValue::GetDouble() const
{
    switch (m_nKind) {
    case NUMBER:
        return static_cast<double>(m_nNumber);
    case DOUBLE:
        return m_dValue;
    case TEXT:
        return atof(m_strText);
    default:
        return 0.0;
    }
}

CString CCellValue::GetText() const
{
    CString strText;
    if (m_nKind == NUMBER)
        strText.Format("%lld", static_cast<long long>(m_nNumber));
    else if (m_nKind == DOUBLE)
        strText.Format("%.15g", m_dValue);
    else if (m_nKind == TEXT)
        strText = m_strText;
    return strText;
}

CCellValue CDataBuffer::GetValue(int nCol) const
{
    const CTableColumn* pColumn = GetColumn(nCol);
    return pColumn != nullptr ? CCellValue::Read(m_pValues, nCol, *pColumn) : CCellValue();
}

CString CDataBuffer::GetText(int nCol, BOOL bFormatted) const
{
    const CTableColumn* pColumn = GetColumn(nCol);
    if (!pColumn || !m_pValues)
        return CString();
    if (bFormatted) {
        CRow row(m_pArray->GetTable(), m_pValues);
        CTBString strText;
        row.GetText(strText, nCol);
        return CString(static_cast<const char*>(strText));
    }
    const TBCellSlot& slot = m_pValues[nCol];
    char szText[CELL_TEXT_MAX];
    szText[0] = '\0';
    switch (pColumn->GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        snprintf(szText, sizeof szText, "%ld", static_cast<long>(slot.nValue));
        break;
    case COLTYPE_INT64:
        snprintf(szText, sizeof szText, "%lld", slot.pData ? *static_cast<const long long*>(slot.pData) : 0LL);
        break;
    case COLTYPE_DOUBLE:
        snprintf(szText, sizeof szText, "%lf", slot.pData ? *static_cast<const double*>(slot.pData) : 0.0);
        break;
    default:
        CopyCellText(slot, *pColumn, szText, sizeof szText);
        break;
    }
    return CString(szText);
}

LONGLONG CDataBuffer::GetInt64(int nCol) const
{
    const CTableColumn* pColumn = GetColumn(nCol);
    if (!pColumn || !m_pValues)
        return 0;
    const TBCellSlot& slot = m_pValues[nCol];
    int nDecimals = pColumn->GetDecimals(FALSE);
    char szText[CELL_TEXT_MAX];
    LONGLONG nDate = 0;
    LONGLONG nTime = 0;
    switch (pColumn->GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        return slot.nValue;
    case COLTYPE_INT64:
        return slot.pData ? *static_cast<const LONGLONG*>(slot.pData) : 0;
    case COLTYPE_DOUBLE: {
        double dValue = slot.pData ? *static_cast<const double*>(slot.pData) : 0.0;
        if (Scales(nDecimals))
            dValue /= std::pow(10.0, nDecimals);
        // Outside the range (or not a number) it reads as the smallest value, as a missing one.
        if (!(dValue > -9223372036854775808.0 && dValue < 9223372036854775808.0))
            return INT64_MIN;
        return static_cast<LONGLONG>(dValue);
    }
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
        ReadPacked(slot, *pColumn, &nDate, &nTime);
        return nDate != 0 ? nDate : nTime;
    case COLTYPE_PACKED_DATETIME:
        ReadPacked(slot, *pColumn, &nDate, &nTime);
        return nDate * 100000000LL + nTime;
    default:
        if (!CopyCellText(slot, *pColumn, szText, sizeof szText))
            return 0;
        return strtoll(szText, nullptr, 10);
    }
}

LONG CDataBuffer::GetLong(int nCol) const
{
    const CTableColumn* pColumn = GetColumn(nCol);
    if (!pColumn || !m_pValues)
        return 0;
    const TBCellSlot& slot = m_pValues[nCol];
    char szText[CELL_TEXT_MAX];
    LONGLONG nDate = 0;
    LONGLONG nTime = 0;
    switch (pColumn->GetDataType()) {
    case COLTYPE_INT64:
        // The low 32 bits.
        return static_cast<LONG>(static_cast<uint32_t>(GetInt64(nCol)));
    case COLTYPE_DOUBLE: {
        double dValue = slot.pData ? *static_cast<const double*>(slot.pData) : 0.0;
        int nDecimals = pColumn->GetDecimals(FALSE);
        if (Scales(nDecimals))
            dValue /= std::pow(10.0, nDecimals);
        if (!(dValue > -2147483649.0 && dValue < 2147483648.0))
            return INT32_MIN;
        return static_cast<LONG>(dValue);
    }
    case COLTYPE_PACKED_DATETIME:
        ReadPacked(slot, *pColumn, &nDate, &nTime);
        return static_cast<LONG>(nTime);
    case COLTYPE_CHAR4:
    case COLTYPE_STRING:
    case COLTYPE_DATE_TEXT:
    case COLTYPE_TIME_TEXT:
    case COLTYPE_DATETIME_TEXT: {
        if (!CopyCellText(slot, *pColumn, szText, sizeof szText))
            return 0;
        long long nValue = strtoll(szText, nullptr, 10);
        return static_cast<LONG>(std::clamp<long long>(nValue, INT32_MIN, INT32_MAX));
    }
    default:
        return static_cast<LONG>(GetInt64(nCol));
    }
}

double CDataBuffer::GetDouble(int nCol) const
{
    const CTableColumn* pColumn = GetColumn(nCol);
    if (!pColumn || !m_pValues)
        return 0;
    const TBCellSlot& slot = m_pValues[nCol];
    int nDecimals = pColumn->GetDecimals(FALSE);
    char szText[CELL_TEXT_MAX];
    switch (pColumn->GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
    case COLTYPE_INT64: {
        double dValue = static_cast<double>(GetInt64(nCol));
        return Scales(nDecimals) ? dValue * std::pow(10.0, nDecimals) : dValue;
    }
    case COLTYPE_DOUBLE:
        return slot.pData ? *static_cast<const double*>(slot.pData) : 0.0;
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
    case COLTYPE_PACKED_DATETIME:
        return static_cast<double>(GetInt64(nCol));
    default:
        if (!CopyCellText(slot, *pColumn, szText, sizeof szText))
            return 0;
        return atof(szText);
    }
}
