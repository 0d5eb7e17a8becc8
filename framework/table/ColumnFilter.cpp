#include "framework/table/ColumnFilter.h"
#include "framework/base/Ini.h"
#include "framework/table/CriteriaParser.h"
#include "framework/table/TableKeys.h"
#include "framework/table/ViewTable.h"

void CColumnFilter::Init(int nCol, CViewTable* pView)
{
    DeleteAll();
    m_pView = pView;
    m_pColumn = pView ? pView->GetColumns().GetColumn(nCol) : nullptr;
    m_nCol = m_pColumn ? nCol : -1;
}

// A criterion naming another column of the same type and decimals compares the two cells. A
// column named by the whole text after the operator comes first, so that a saved comparison
// finds its own column again when another column's title is part of that name ("Bid", "Bid2").
static int FindComparedColumn(CViewTable* pView, const CTableColumn* pColumn, const char* pszText)
{
    const CTableColumns& columns = pView->GetColumns();
    const char* pszName = pszText;
    while (*pszName == ' ' || *pszName == '\t' || *pszName == '<' || *pszName == '>' || *pszName == '=')
        ++pszName;
    // A quoted text is a value, whatever column title it holds.
    if (*pszName == '"')
        return -1;
    int nFound = -1;
    for (int i = 0; i < columns.GetCount(); ++i) {
        const CTableColumn* pOther = columns[i];
        if (pOther->GetDataType() != pColumn->GetDataType() || pOther->m_chDecimals != pColumn->m_chDecimals)
            continue;
        const CTBString& strTitle = pOther->GetTitle();
        BOOL bTitle = strTitle.GetLength() > 0;
        BOOL bName = pOther->m_strName.GetLength() > 0;
        if ((bTitle && strTitle == pszName) || (bName && pOther->m_strName == pszName))
            return i;
        if (nFound < 0 && ((bTitle && FindStringMB(pszText, strTitle)) || (bName && FindStringMB(pszText, pOther->m_strName))))
            nFound = i;
    }
    return nFound;
}

ITFilter* CColumnFilter::BuildFilter(const char* pszText)
{
    ITFilter* pFilter = BuildFromText(pszText);
    if (pFilter && !RebuildsItself(pFilter)) {
        delete pFilter;
        return nullptr;
    }
    return pFilter;
}

// A filter lives on as its text: saved with the view, copied into new views, shown in the
// filter dialog. One whose text would build another filter (a value the column cannot show, a
// quoted text cut open by the column's size) is refused now rather than changed later.
BOOL CColumnFilter::RebuildsItself(ITFilter* pFilter)
{
    CTBString strText;
    pFilter->GetText(strText, m_nCol, m_pColumn);
    ITFilter* pAgain = BuildFromText(strText);
    BOOL bSame = pAgain && pAgain->GetKind() == pFilter->GetKind() && pFilter->CompareTo(*pAgain, m_pColumn) == 0;
    delete pAgain;
    return bSame;
}

ITFilter* CColumnFilter::BuildFromText(const char* pszText)
{
    // Nothing typed builds nothing: an empty text is where a saved column's filters end.
    if (!m_pColumn || !pszText || !*pszText)
        return nullptr;
    int nOther = FindComparedColumn(m_pView, m_pColumn, pszText);
    if (nOther >= 0) {
        const char* psz = pszText;
        while (*psz == ' ' || *psz == '\t')
            ++psz;
        int nOperator = LookupCriteriaOperator(psz);
        if (nOperator == 0 || ColumnTypeIsTextual(m_pColumn->GetDataType()))
            nOperator = CRIT_OP_EQ;
        CComparisonFilter* pFilter = new CComparisonFilter;
        if (!pFilter->SetAgainst(nOther, nOperator, m_pView)) {
            delete pFilter;
            return nullptr;
        }
        return pFilter;
    }
    int nType = m_pColumn->GetDataType();
    BOOL bText = nType == COLTYPE_CHAR4 || nType == COLTYPE_STRING;
    CCriteriaParser parser;
    parser.Parse(pszText, bText ? CRIT_TEXT : CRIT_NUMERIC);
    int nShape = parser.Classify();
    ITFilter* pFilter = nullptr;
    if (ColumnTypeIsTextual(nType) && (nShape == CRIT_SINGLE || nShape == CRIT_INVALID)) {
        pFilter = new CMaskFilter;
        pFilter->SetFromText(m_nCol, m_pColumn, pszText, m_pView, FALSE, 0);
        return pFilter;
    }
    if (nShape == CRIT_SINGLE || nShape == CRIT_OPVALUE)
        pFilter = new COperatorFilter;
    else if (nShape == CRIT_RANGE)
        pFilter = new CRangeFilter;
    else
        return nullptr;
    if (!pFilter->SetFromTokens(m_nCol, m_pColumn, parser, nShape, m_pView)) {
        delete pFilter;
        return nullptr;
    }
    if (nShape == CRIT_RANGE && static_cast<CRangeFilter*>(pFilter)->IsEmptyRange(m_pColumn)) {
        // "20 - 10" and "10 - 10" mean the first value.
        COperatorFilter* pEqual = new COperatorFilter;
        pEqual->SetEqual(static_cast<CRangeFilter*>(pFilter)->DetachLow(), m_pColumn);
        delete pFilter;
        pFilter = pEqual;
    }
    return pFilter;
}

int CColumnFilter::InsertFilter(ITFilter* pFilter)
{
    int nKind = pFilter->GetKind();
    for (ITFilter* pHeld : *this) {
        int nHeld = pHeld->GetKind();
        if (nHeld == nKind && pFilter->CompareTo(*pHeld, m_pColumn) == 0)
            return -1;
        // Masks stay among masks, values among values. Comparisons stand apart: they join any
        // column and bar nothing, or a saved column (comparisons first) would lose its values.
        if (nKind == FILTER_COMPARISON || nHeld == FILTER_COMPARISON)
            continue;
        if ((nKind == FILTER_MASK) != (nHeld == FILTER_MASK))
            return -1;
    }
    int nAt = 0;
    while (nAt < GetSize()) {
        int nCmp = pFilter->CompareTo(*(*this)[nAt], m_pColumn);
        if (nCmp < 0 || (nCmp == 0 && nKind == FILTER_OPERATOR))
            break;
        ++nAt;
    }
    InsertAt(nAt, pFilter);
    return nAt;
}

int CColumnFilter::AddFilter(const char* pszText, BOOL bFlag, int nGroup)
{
    ITFilter* pFilter = BuildFilter(pszText);
    if (!pFilter)
        return -1;
    pFilter->SetFlag(bFlag);
    pFilter->SetGroup(nGroup ? 1 : 0);
    int nAt = InsertFilter(pFilter);
    if (nAt < 0)
        delete pFilter;
    return nAt;
}

BOOL CColumnFilter::IsValidCriteria(const char* pszText)
{
    ITFilter* pFilter = BuildFilter(pszText);
    delete pFilter;
    return pFilter != nullptr;
}

BOOL CColumnFilter::FormatFilterText(CTBString& strText, int nFilter)
{
    ITFilter* pFilter = GetAt(nFilter);
    if (!pFilter || !m_pColumn)
        return FALSE;
    pFilter->GetText(strText, m_nCol, m_pColumn);
    return TRUE;
}

BOOL CColumnFilter::HasGroup(int nGroup) const
{
    for (const ITFilter* pFilter : *this)
        if (pFilter->GetGroup() == nGroup)
            return TRUE;
    return FALSE;
}

BOOL CColumnFilter::Match(const CTableTreeNode* pNode, int, CViewTable* pView, int nGroup)
{
    if (GetSize() == 0)
        return nGroup == 0;
    BOOL bAnswer = nGroup == 0;
    for (ITFilter* pFilter : *this) {
        if (pFilter->GetGroup() != nGroup)
            continue;
        BOOL bPass = pFilter->Match(pNode, m_nCol, m_pColumn, pView);
        if (nGroup == 1 && bPass) {
            bAnswer = TRUE;
            break;
        }
        if (nGroup == 0 && !bPass) {
            bAnswer = FALSE;
            break;
        }
    }
    if (bAnswer && pView && pView->GetChangeMarks() && m_nCol < pView->GetColumnCount())
        pView->GetChangeMarks()[m_nCol] = 0x7f;
    return bAnswer;
}

void CColumnFilter::Save(CIni* pSettings)
{
    CTBString strKey = TableKey(IDS_FILTER_PREFIX, m_nCol);
    pSettings->WriteInt(strKey, GetSize());
    for (int i = 0; i < GetSize(); ++i) {
        CTBString strFilterKey;
        strFilterKey.Format("%s_%d", static_cast<const char*>(strKey), i);
        (*this)[i]->Save(pSettings, strFilterKey, m_nCol, m_pColumn);
    }
}

void CColumnFilter::Load(CIni* pSettings)
{
    DeleteAll();
    CTBString strKey = TableKey(IDS_FILTER_PREFIX, m_nCol);
    int nCount = pSettings->GetInt(strKey, 0);
    for (int i = 0; i < nCount; ++i) {
        CTBString strFilterKey;
        strFilterKey.Format("%s_%d", static_cast<const char*>(strKey), i);
        CTBString strText = pSettings->GetString(strFilterKey, "");
        if (strText.GetLength() == 0)
            break;
        BOOL bFlag = pSettings->GetBool(TableSubKey(strFilterKey, IDS_FILTER_FLAG), FALSE);
        int nGroup = pSettings->GetInt(TableSubKey(strFilterKey, IDS_FILTER_GROUP), 0);
        AddFilter(strText, bFlag, nGroup);
    }
}
