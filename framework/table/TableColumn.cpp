#include "framework/table/TableColumn.h"
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>
#include "framework/base/ColumnValues.h"
#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/TableKeys.h"

CTableColumn::CTableColumn()
{
    m_nType = COLTYPE_STRING;
    m_strTitle[0] = "Column Title";
}

void CTableColumn::CopyFrom(const CTableColumn& other)
{
    if (&other == this)
        return;
    CColumnDataType::CopyFrom(other);
    m_nSize = other.m_nSize;
    m_nWidth = other.m_nWidth;
    m_bFitWidth = other.m_bFitWidth;
    m_bFitYields = other.m_bFitYields;
    m_bFitYieldsLast = other.m_bFitYieldsLast;
    m_lSetting = other.m_lSetting;
    m_bEditable = other.m_bEditable;
    m_bOptionFlag = other.m_bOptionFlag;
    m_bSummed = other.m_bSummed;
    m_bHidden = other.m_bHidden;
    m_bSortable = other.m_bSortable;
    m_bFlag1 = other.m_bFlag1;
    m_bFlag2 = other.m_bFlag2;
    m_bFlag3 = other.m_bFlag3;
    m_bUserSwitchable = other.m_bUserSwitchable;
    m_nSetting03 = other.m_nSetting03;
    m_strName = other.m_strName;
    m_strTitle[0] = other.m_strTitle[0];
    m_strTitle[1] = other.m_strTitle[1];
    m_nAlign = other.m_nAlign;
    m_nUserValue = other.m_nUserValue;
    m_pfnFormat = other.m_pfnFormat;
    m_nUnitColumn = other.m_nUnitColumn;
    m_pfnUnitDecimals = other.m_pfnUnitDecimals;
    m_chDecimals = other.m_chDecimals;
    m_custSum = other.m_custSum;
    m_nEffAlign = other.m_nEffAlign;
}

const CTBString& CTableColumn::GetTitle() const
{
    return GetTitleAt(GetNorvGlobals().m_nLanguage);
}

int CTableColumn::GetTitleLines() const
{
    int nLines = 1;
    for (const char* psz = GetTitle(); *psz; ++psz)
        if (*psz == '\n')
            ++nLines;
    return nLines;
}

int CTableColumn::GetStorageSize() const
{
    switch (m_nType) {
    case COLTYPE_INT64:
    case COLTYPE_DOUBLE:
    case COLTYPE_DATE_TEXT:
        return 8;
    case COLTYPE_STRING:
        return m_nSize > 0 ? m_nSize : 1;
    case COLTYPE_PACKED_DATETIME:
    case COLTYPE_TIME_TEXT:
        return 6;
    case COLTYPE_DATETIME_TEXT:
        return 14;
    default:
        return 0;
    }
}

int CTableColumn::GetRowDecimals(const TBCellSlot* pRow, BOOL bFraction) const
{
    const int nDecimals = GetDecimals(bFraction);
    if (m_nUnitColumn < 0 || m_pfnUnitDecimals == nullptr || pRow == nullptr || pRow[m_nUnitColumn].pData == nullptr)
        return nDecimals;
    return m_pfnUnitDecimals(static_cast<const char*>(pRow[m_nUnitColumn].pData), nDecimals);
}

double CTableColumn::ShownDouble(const TBCellSlot* pRow, double dValue, BOOL bFraction) const
{
    const int nDecimals = GetRowDecimals(pRow, bFraction);
    // Beyond fifteen places a double holds no decimal digit more.
    if (nDecimals >= 0 || nDecimals < -15 || !std::isfinite(dValue))
        return dValue;
    const double dShown = RoundHalfAwayFromZero(dValue, -nDecimals);
    return std::isfinite(dShown) ? dShown : dValue;
}

int CTableColumn::GetValueSize() const
{
    return static_cast<int>(sizeof(TBCellSlot)) + GetStorageSize();
}

TBCellSlot* CTableColumn::AllocValue() const
{
    // Storage rounded up to whole slots keeps doubles and 64-bit values aligned.
    size_t cbStorage = (static_cast<size_t>(GetStorageSize()) + sizeof(TBCellSlot) - 1) / sizeof(TBCellSlot);
    TBCellSlot* pValue = new TBCellSlot[1 + cbStorage]();
    if (GetStorageSize() > 0)
        pValue->pData = pValue + 1;
    return pValue;
}

void CTableColumn::FreeValue(TBCellSlot* pValue)
{
    delete[] pValue;
}

BOOL CTableColumn::ParseCellText(TBCellSlot* pValue, int nDecimals, const char* pszText) const
{
    if (!ParseColumnValue(pValue, m_nSize, nDecimals, *this, pszText))
        return FALSE;
    // A cell's text is what a copy, an export and the screen carry of it: a value whose text
    // reads back as another is no value for a cell. A text column's value is its text, so only
    // the typed columns are checked; their text fits on the stack, as every cell write of a
    // server-fed row comes through here.
    if (m_nType == COLTYPE_CHAR4 || m_nType == COLTYPE_STRING)
        return TRUE;
    char szShort[1024];
    std::vector<char> longText;
    int nSize = GetFullTextSize();
    char* pszShown = szShort;
    if (nSize > static_cast<int>(sizeof(szShort))) {
        longText.assign(static_cast<size_t>(nSize), '\0');
        pszShown = longText.data();
    }
    FormatColumnValue(pszShown, nSize, pValue, nDecimals, *this);
    TBCellSlot* pAgain = AllocValue();
    BOOL bSame = ParseColumnValue(pAgain, m_nSize, nDecimals, *this, pszShown)
              && CompareColumnValues(pAgain, nDecimals, pValue, nDecimals, m_nType) == 0;
    FreeValue(pAgain);
    return bSame;
}

void CTableColumn::RecalcAlignment()
{
    m_nEffAlign = m_nAlign;
    if (GetNorvGlobals().m_bRightToLeft && (m_nType == COLTYPE_CHAR4 || m_nType == COLTYPE_STRING)) {
        if (m_nAlign == ALIGN_LEFT)
            m_nEffAlign = ALIGN_RIGHT;
        else if (m_nAlign == ALIGN_RIGHT)
            m_nEffAlign = ALIGN_LEFT;
    }
}

void CTableColumn::Save(CIni* pLayout, CIni* pDefinition, int nIndex) const
{
    CTBString strPrefix = TableKey(IDS_COL_PREFIX, nIndex);
    if (pDefinition) {
        CIni& d = *pDefinition;
        d.WriteString(TableKey(strPrefix, IDS_COL_NAME), m_strName);
        for (int i = 0; i < 2; ++i)
            d.WriteString(TableKey(strPrefix, IDS_COL_TITLE, i), m_strTitle[i]);
        d.WriteInt(TableKey(strPrefix, IDS_COL_SIZE), m_nSize);
        d.WriteInt(TableKey(strPrefix, IDS_COL_DECIMALS), m_chDecimals);
        d.WriteLong(TableKey(strPrefix, IDS_COL_SETTING), m_lSetting);
        d.WriteBool(TableKey(strPrefix, IDS_COL_EDITABLE), m_bEditable);
        d.WriteBool(TableKey(strPrefix, IDS_COL_OPTION), m_bOptionFlag);
        d.WriteBool(TableKey(strPrefix, IDS_COL_SUMMED), m_bSummed);
        d.WriteInt(TableKey(strPrefix, IDS_COL_TYPE), m_nType);
        d.WriteBool(TableKey(strPrefix, IDS_COL_SORTABLE), m_bSortable);
        d.WriteBool(TableKey(strPrefix, IDS_COL_FLAG1), m_bFlag1);
        d.WriteBool(TableKey(strPrefix, IDS_COL_FLAG2), m_bFlag2);
        d.WriteBool(TableKey(strPrefix, IDS_COL_FLAG3), m_bFlag3);
        d.WriteBool(TableKey(strPrefix, IDS_COL_SWITCHABLE), m_bUserSwitchable);
        d.WriteBool(TableKey(strPrefix, IDS_COL_THOUSANDS), m_bThousands);
        d.WriteInt(TableKey(strPrefix, IDS_COL_MINDECIMALS), m_nMinDecimals);
        d.WriteInt(TableKey(strPrefix, IDS_COL_OMITZERO), m_nOmitZeroFraction);
        d.WriteBool(TableKey(strPrefix, IDS_COL_BLANKZERO), m_bBlankZero);
        d.WriteInt(TableKey(strPrefix, IDS_COL_SETTING03), m_nSetting03);
    }
    if (pLayout) {
        pLayout->WriteInt(TableKey(strPrefix, IDS_COL_WIDTH), m_bFitWidth ? 0 : m_nWidth);
        pLayout->WriteBool(TableKey(strPrefix, IDS_COL_HIDDEN), m_bHidden);
        pLayout->WriteInt(TableKey(strPrefix, IDS_COL_ALIGN), m_nAlign);
    }
}

BOOL CTableColumn::Load(CIni* pLayout, CIni* pDefinition, int nIndex)
{
    CTBString strPrefix = TableKey(IDS_COL_PREFIX, nIndex);
    // Read into a copy: a definition refused half-way must leave the column as it was.
    CTableColumn c(*this);
    if (pDefinition) {
        CIni& d = *pDefinition;
        c.m_strName = d.GetString(TableKey(strPrefix, IDS_COL_NAME), c.m_strName);
        for (int i = 0; i < 2; ++i)
            c.m_strTitle[i] = d.GetString(TableKey(strPrefix, IDS_COL_TITLE, i), c.m_strTitle[i]);
        c.m_nSize = d.GetInt(TableKey(strPrefix, IDS_COL_SIZE), c.m_nSize);
        // Every row of the view gets a buffer of this size: a damaged file may not make it absurd.
        if (c.m_nSize < 1 || c.m_nSize > TEXT_SIZE_MAX)
            c.m_nSize = m_nSize;
        int nDecimals = d.GetInt(TableKey(strPrefix, IDS_COL_DECIMALS), c.m_chDecimals);
        if (nDecimals >= -128 && nDecimals <= 127)
            c.m_chDecimals = static_cast<signed char>(nDecimals);
        c.m_lSetting = d.GetLong(TableKey(strPrefix, IDS_COL_SETTING), c.m_lSetting);
        c.m_bEditable = d.GetBool(TableKey(strPrefix, IDS_COL_EDITABLE), c.m_bEditable);
        c.m_bOptionFlag = d.GetBool(TableKey(strPrefix, IDS_COL_OPTION), c.m_bOptionFlag);
        c.m_bSummed = d.GetBool(TableKey(strPrefix, IDS_COL_SUMMED), c.m_bSummed);
        int nType = d.GetInt(TableKey(strPrefix, IDS_COL_TYPE), c.m_nType);
        if (!ColumnTypeIsValid(nType))
            return FALSE;
        c.m_nType = nType;
        c.m_bSortable = d.GetBool(TableKey(strPrefix, IDS_COL_SORTABLE), c.m_bSortable);
        c.m_bFlag1 = d.GetBool(TableKey(strPrefix, IDS_COL_FLAG1), c.m_bFlag1);
        c.m_bFlag2 = d.GetBool(TableKey(strPrefix, IDS_COL_FLAG2), c.m_bFlag2);
        c.m_bFlag3 = d.GetBool(TableKey(strPrefix, IDS_COL_FLAG3), c.m_bFlag3);
        c.m_bUserSwitchable = d.GetBool(TableKey(strPrefix, IDS_COL_SWITCHABLE), c.m_bUserSwitchable);
        c.m_bThousands = d.GetBool(TableKey(strPrefix, IDS_COL_THOUSANDS), c.m_bThousands);
        c.m_nMinDecimals = d.GetInt(TableKey(strPrefix, IDS_COL_MINDECIMALS), c.m_nMinDecimals);
        int nOmit = d.GetInt(TableKey(strPrefix, IDS_COL_OMITZERO), c.m_nOmitZeroFraction);
        c.m_nOmitZeroFraction = nOmit >= 0 && nOmit <= 2 ? nOmit : 0;
        c.m_bBlankZero = d.GetBool(TableKey(strPrefix, IDS_COL_BLANKZERO), c.m_bBlankZero);
        int nSetting = d.GetInt(TableKey(strPrefix, IDS_COL_SETTING03), c.m_nSetting03);
        c.m_nSetting03 = nSetting >= 0 && nSetting <= 3 ? nSetting : 1;
        // Summing is for numbers only, whatever a file says.
        if (!ColumnTypeIsNumeric(c.m_nType))
            c.m_bSummed = FALSE;
    }
    if (pLayout) {
        // A width of its own is the user's (or an older layout's), and stays; none (0) fits again.
        int nWidth = pLayout->GetInt(TableKey(strPrefix, IDS_COL_WIDTH), 0);
        if (nWidth >= 10) {
            c.m_nWidth = nWidth;
            c.m_bFitWidth = FALSE;
        }
        // A column the user may not switch stays hidden whatever the layout says.
        if (!c.m_bHidden || c.m_bUserSwitchable)
            c.m_bHidden = pLayout->GetBool(TableKey(strPrefix, IDS_COL_HIDDEN), c.m_bHidden);
        int nAlign = pLayout->GetInt(TableKey(strPrefix, IDS_COL_ALIGN), c.m_nAlign);
        c.m_nAlign = nAlign >= ALIGN_LEFT && nAlign <= ALIGN_RIGHT ? nAlign : ALIGN_LEFT;
    }
    c.RecalcAlignment();
    CopyFrom(c);
    return TRUE;
}
