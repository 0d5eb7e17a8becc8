#include "framework/table/TFilter.h"
#include <cstring>
#include "framework/base/ColumnValues.h"
#include "framework/base/Ini.h"
#include "framework/table/CriteriaParser.h"
#include "framework/table/TableKeys.h"
#include "framework/base/Wildcard.h"
#include "framework/table/ViewTable.h"

static BOOL IsTextColumn(const CTableColumn* pColumn)
{
    return pColumn->GetDataType() == COLTYPE_CHAR4 || pColumn->GetDataType() == COLTYPE_STRING;
}

// A value as the column shows it, whatever its width, but a zero shows as "0".
static CTBString FormatValue(const CTableColumn* pColumn, const TBCellSlot* pValue)
{
    CColumnDataType type;
    type.CopyFrom(*pColumn);
    type.SetBlankZero(FALSE);
    int nSize = pColumn->GetFullTextSize();
    std::vector<char> buffer(static_cast<size_t>(nSize), '\0');
    FormatColumnValue(buffer.data(), nSize, pValue, pColumn->GetDecimals(FALSE), type);
    return CTBString(buffer.data());
}

// Parses a criterion's value into a one-cell value of the column; null when it does not parse.
static TBCellSlot* ParseValue(const CTableColumn* pColumn, const char* pszText)
{
    // Quotes hold a value with blanks or separators together (a date and time); only a text
    // column keeps them as part of its value.
    CTBString strText = IsTextColumn(pColumn) ? CTBString(pszText) : UnquoteCriteriaText(pszText);
    TBCellSlot* pValue = pColumn->AllocValue();
    if (!ParseColumnValue(pValue, pColumn->m_nSize, pColumn->GetDecimals(FALSE), *pColumn, strText)) {
        CTableColumn::FreeValue(pValue);
        return nullptr;
    }
    return pValue;
}

// A value as criteria text: quoted when the parser would not read it back as one value, as a
// date and time with its blank, or a time with its colons.
static CTBString ValueCriteriaText(const CTableColumn* pColumn, const TBCellSlot* pValue)
{
    CTBString strText = FormatValue(pColumn, pValue);
    if (IsTextColumn(pColumn))
        return strText;
    CCriteriaParser parser;
    parser.Parse(strText, CRIT_NUMERIC);
    if (parser.GetCount() == 1 && parser.GetToken(0)->m_nClass == CRIT_VALUE && parser.GetToken(0)->m_strText == strText)
        return strText;
    return QuoteCriteriaText(strText);
}

static int CellDecimals(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn)
{
    return pColumn->GetDecimals(pNode->IsFraction(nCol));
}

static BOOL PassesOperator(int nOperator, int nCmp)
{
    switch (nOperator) {
    case CRIT_OP_EQ: return nCmp == 0;
    case CRIT_OP_GT: return nCmp > 0;
    case CRIT_OP_GE: return nCmp >= 0;
    case CRIT_OP_LT: return nCmp < 0;
    case CRIT_OP_LE: return nCmp <= 0;
    default: return FALSE;
    }
}

static int Sign(int n)
{
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

BOOL ITFilter::SetFromText(int nCol, const CTableColumn* pColumn, const char* pszText, CViewTable* pView, BOOL bFlag,
                           int nGroup)
{
    if (!pColumn || !pszText)
        return FALSE;
    CCriteriaParser parser;
    parser.Parse(pszText, IsTextColumn(pColumn) ? CRIT_TEXT : CRIT_NUMERIC);
    m_bFlag = bFlag;
    m_nGroup = nGroup;
    return SetFromTokens(nCol, pColumn, parser, parser.Classify(), pView);
}

void ITFilter::Save(CIni* pSettings, const CTBString& strKey, int nCol, const CTableColumn* pColumn)
{
    CTBString strText;
    GetText(strText, nCol, pColumn);
    pSettings->WriteString(strKey, strText);
    pSettings->WriteBool(TableSubKey(strKey, IDS_FILTER_FLAG), m_bFlag);
    pSettings->WriteInt(TableSubKey(strKey, IDS_FILTER_GROUP), m_nGroup);
}

CRangeFilter::~CRangeFilter()
{
    CTableColumn::FreeValue(m_pLow);
    CTableColumn::FreeValue(m_pHigh);
}

BOOL CRangeFilter::SetFromTokens(int, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                                 CViewTable*)
{
    if (nShape != CRIT_RANGE)
        return FALSE;
    TBCellSlot* pLow = ParseValue(pColumn, parser.GetToken(0)->m_strText);
    TBCellSlot* pHigh = pLow ? ParseValue(pColumn, parser.GetToken(2)->m_strText) : nullptr;
    if (!pHigh) {
        CTableColumn::FreeValue(pLow);
        return FALSE;
    }
    CTableColumn::FreeValue(m_pLow);
    CTableColumn::FreeValue(m_pHigh);
    m_pLow = pLow;
    m_pHigh = pHigh;
    m_nDecimals = pColumn->GetDecimals(FALSE);
    return TRUE;
}

TBCellSlot* CRangeFilter::DetachLow()
{
    TBCellSlot* pLow = m_pLow;
    m_pLow = nullptr;
    return pLow;
}

BOOL CRangeFilter::IsEmptyRange(const CTableColumn* pColumn) const
{
    return CompareColumnValues(m_pLow, m_nDecimals, m_pHigh, m_nDecimals, pColumn->GetDataType()) >= 0;
}

BOOL CRangeFilter::Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable*)
{
    const TBCellSlot* pValues = pNode->GetData();
    if (!pValues || !m_pLow)
        return FALSE;
    int nType = pColumn->GetDataType();
    int nDecimals = CellDecimals(pNode, nCol, pColumn);
    return CompareColumnValues(&pValues[nCol], nDecimals, m_pLow, m_nDecimals, nType) >= 0
        && CompareColumnValues(&pValues[nCol], nDecimals, m_pHigh, m_nDecimals, nType) <= 0;
}

void CRangeFilter::GetText(CTBString& strText, int, const CTableColumn* pColumn)
{
    // In text criteria a blank and a '-' belong to the value: only ':' separates there.
    const char* pszSeparator = IsTextColumn(pColumn) ? ":" : " - ";
    strText = ValueCriteriaText(pColumn, m_pLow) + pszSeparator + ValueCriteriaText(pColumn, m_pHigh);
}

int CRangeFilter::CompareTo(const ITFilter& other, const CTableColumn* pColumn) const
{
    int nType = pColumn->GetDataType();
    if (other.GetKind() == FILTER_COMPARISON)
        return 1;
    if (other.GetKind() == FILTER_OPERATOR)
        return -other.CompareTo(*this, pColumn);
    if (other.GetKind() != FILTER_RANGE)
        return 0;
    const CRangeFilter& range = static_cast<const CRangeFilter&>(other);
    int nCmp = CompareColumnValues(m_pLow, m_nDecimals, range.m_pLow, range.m_nDecimals, nType);
    if (nCmp == 0)
        nCmp = CompareColumnValues(m_pHigh, m_nDecimals, range.m_pHigh, range.m_nDecimals, nType);
    return Sign(nCmp);
}

void CMaskFilter::SetPattern(const char* pszPattern)
{
    m_strPattern = pszPattern ? pszPattern : "";
    CollapseStarRuns(m_strPattern);
    m_strMatch = UnquoteCriteriaText(m_strPattern);
}

BOOL CMaskFilter::SetFromText(int, const CTableColumn* pColumn, const char* pszText, CViewTable*, BOOL bFlag,
                              int nGroup)
{
    if (!pColumn || !pszText)
        return FALSE;
    SetPattern(pszText);
    m_bFlag = bFlag;
    m_nGroup = nGroup;
    return TRUE;
}

BOOL CMaskFilter::SetFromTokens(int, const CTableColumn*, const CCriteriaParser& parser, int, CViewTable*)
{
    SetPattern(parser.GetCount() > 0 ? static_cast<const char*>(parser.GetToken(0)->m_strText) : "");
    return TRUE;
}

BOOL CMaskFilter::Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable* pView)
{
    if (m_strMatch.GetLength() == 0)
        return TRUE;
    char szText[281];
    const_cast<CTableTreeNode*>(pNode)->GetCellText(szText, sizeof szText, nCol, pColumn, pView);
    return MatchWildcard(m_strMatch, szText, FALSE);
}

void CMaskFilter::GetText(CTBString& strText, int, const CTableColumn*)
{
    strText = m_strPattern;
}

int CMaskFilter::CompareTo(const ITFilter& other, const CTableColumn*) const
{
    if (other.GetKind() == FILTER_COMPARISON)
        return 1;
    if (other.GetKind() != FILTER_MASK)
        return 0;
    return Sign(strcmp(m_strPattern, static_cast<const CMaskFilter&>(other).m_strPattern));
}

COperatorFilter::~COperatorFilter()
{
    CTableColumn::FreeValue(m_pValue);
    CTableColumn::FreeValue(m_pTextValue);
}

void COperatorFilter::PrepareTextValue(const CTableColumn* pColumn)
{
    CTableColumn::FreeValue(m_pTextValue);
    m_pTextValue = nullptr;
    if (!IsTextColumn(pColumn))
        return;
    // A text value is compared without its quotes. Read once here, not at every row.
    CTBString strText = FormatValue(pColumn, m_pValue);
    m_pTextValue = ParseValue(pColumn, UnquoteCriteriaText(strText));
}

BOOL COperatorFilter::SetFromTokens(int, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                                    CViewTable*)
{
    int nOperator;
    const char* pszValue;
    if (nShape == CRIT_SINGLE) {
        nOperator = CRIT_OP_EQ;
        pszValue = parser.GetToken(0)->m_strText;
    } else if (nShape == CRIT_OPVALUE) {
        BOOL bFirst = parser.GetToken(0)->m_nClass == CRIT_OPERATOR;
        nOperator = LookupCriteriaOperator(parser.GetToken(bFirst ? 0 : 1)->m_strText);
        pszValue = parser.GetToken(bFirst ? 1 : 0)->m_strText;
    } else {
        return FALSE;
    }
    TBCellSlot* pValue = ParseValue(pColumn, pszValue);
    if (!pValue)
        return FALSE;
    CTableColumn::FreeValue(m_pValue);
    m_pValue = pValue;
    m_nOperator = nOperator;
    m_nDecimals = pColumn->GetDecimals(FALSE);
    PrepareTextValue(pColumn);
    return TRUE;
}

void COperatorFilter::SetEqual(TBCellSlot* pValue, const CTableColumn* pColumn)
{
    CTableColumn::FreeValue(m_pValue);
    m_pValue = pValue;
    m_nOperator = CRIT_OP_EQ;
    m_nDecimals = pColumn->GetDecimals(FALSE);
    PrepareTextValue(pColumn);
}

BOOL COperatorFilter::Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable*)
{
    const TBCellSlot* pValues = pNode->GetData();
    const TBCellSlot* pValue = m_pTextValue ? m_pTextValue : m_pValue;
    if (!pValues || !pValue)
        return FALSE;
    int nCmp = CompareColumnValues(&pValues[nCol], CellDecimals(pNode, nCol, pColumn), pValue, m_nDecimals,
                                   pColumn->GetDataType());
    return PassesOperator(m_nOperator, nCmp);
}

void COperatorFilter::GetText(CTBString& strText, int, const CTableColumn* pColumn)
{
    strText = CTBString(GetCriteriaOperatorText(m_nOperator)) + ValueCriteriaText(pColumn, m_pValue);
}

int COperatorFilter::CompareTo(const ITFilter& other, const CTableColumn* pColumn) const
{
    if (other.GetKind() == FILTER_COMPARISON)
        return 1;
    int nType = pColumn->GetDataType();
    if (other.GetKind() == FILTER_OPERATOR) {
        const COperatorFilter& op = static_cast<const COperatorFilter&>(other);
        int nCmp = CompareColumnValues(m_pValue, m_nDecimals, op.m_pValue, op.m_nDecimals, nType);
        return nCmp != 0 ? Sign(nCmp) : Sign(m_nOperator - op.m_nOperator);
    }
    if (other.GetKind() == FILTER_RANGE) {
        const CRangeFilter& range = static_cast<const CRangeFilter&>(other);
        int nCmp = CompareColumnValues(m_pValue, m_nDecimals, range.GetLow(), m_nDecimals, nType);
        // At equal values a range comes first.
        return nCmp != 0 ? Sign(nCmp) : 1;
    }
    return 0;
}

BOOL CComparisonFilter::SetAgainst(int nOtherCol, int nOperator, CViewTable* pView)
{
    const CTableColumn* pOther = pView ? pView->GetColumns().GetColumn(nOtherCol) : nullptr;
    if (!pOther)
        return FALSE;
    m_nOtherCol = nOtherCol;
    m_pOther = pOther;
    m_nOperator = nOperator;
    return TRUE;
}

BOOL CComparisonFilter::SetFromTokens(int, const CTableColumn* pColumn, const CCriteriaParser& parser, int nShape,
                                      CViewTable* pView)
{
    int nOperator;
    const char* pszName;
    if (nShape == CRIT_SINGLE) {
        nOperator = CRIT_OP_EQ;
        pszName = parser.GetToken(0)->m_strText;
    } else if (nShape == CRIT_OPVALUE) {
        BOOL bFirst = parser.GetToken(0)->m_nClass == CRIT_OPERATOR;
        nOperator = ColumnTypeIsTextual(pColumn->GetDataType()) ? CRIT_OP_EQ
                                                                : LookupCriteriaOperator(parser.GetToken(bFirst ? 0 : 1)->m_strText);
        pszName = parser.GetToken(bFirst ? 1 : 0)->m_strText;
    } else {
        return FALSE;
    }
    if (!pView)
        return FALSE;
    int nOther = pView->GetColumns().FindByTitle(pszName);
    if (nOther < 0)
        nOther = pView->GetColumns().FindByName(pszName);
    return nOther >= 0 && SetAgainst(nOther, nOperator, pView);
}

BOOL CComparisonFilter::Match(const CTableTreeNode* pNode, int nCol, const CTableColumn* pColumn, CViewTable*)
{
    const TBCellSlot* pValues = pNode->GetData();
    if (!pValues || !m_pOther)
        return FALSE;
    int nCmp = CompareColumnValues(&pValues[nCol], CellDecimals(pNode, nCol, pColumn), &pValues[m_nOtherCol],
                                   CellDecimals(pNode, m_nOtherCol, m_pOther), pColumn->GetDataType());
    return PassesOperator(m_nOperator, nCmp);
}

void CComparisonFilter::Save(CIni* pSettings, const CTBString& strKey, int, const CTableColumn*)
{
    // By name, so that a load finds the column whatever the language of its title.
    CTBString strText = CTBString(GetCriteriaOperatorText(m_nOperator)) + (m_pOther ? m_pOther->m_strName : CTBString(""));
    pSettings->WriteString(strKey, strText);
}

void CComparisonFilter::GetText(CTBString& strText, int, const CTableColumn*)
{
    // A column without a title in this language is found again by its name.
    CTBString strOther;
    if (m_pOther)
        strOther = m_pOther->GetTitle().GetLength() > 0 ? m_pOther->GetTitle() : m_pOther->m_strName;
    strText = CTBString(GetCriteriaOperatorText(m_nOperator)) + strOther;
}

int CComparisonFilter::CompareTo(const ITFilter& other, const CTableColumn*) const
{
    if (other.GetKind() != FILTER_COMPARISON)
        return -1;
    const CComparisonFilter& cmp = static_cast<const CComparisonFilter&>(other);
    if (m_nOtherCol != cmp.m_nOtherCol)
        return m_nOtherCol < cmp.m_nOtherCol ? -1 : 1;
    return Sign(m_nOperator - cmp.m_nOperator);
}
