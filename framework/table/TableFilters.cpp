#include "framework/table/TableFilters.h"
#include "framework/base/Ini.h"
#include "framework/table/TableKeys.h"
#include "framework/table/ViewTable.h"

void SetRowMarked(CViewTable* pView, CTableRow* pRow, BOOL bMarked)
{
    bMarked = bMarked ? TRUE : FALSE;
    if (!pRow || pRow->IsMarked() == bMarked)
        return;
    pRow->SetFlag(ROW_MARKED, bMarked);
    // Rows out of the tree are counted when they go in.
    if (pView && pView->GetRowTree().HoldsRow(pRow))
        pView->GetRowTree().ChangeMarkedCount(bMarked ? 1 : -1);
}

CTableFilters::~CTableFilters()
{
    Free();
}

void CTableFilters::Free()
{
    m_columns.DeleteAll();
    m_nColumns = 0;
    m_pView = nullptr;
}

BOOL CTableFilters::Init(CViewTable* pView, const CTableFilters* pCopyFrom)
{
    if (m_pView || !pView || pView->GetColumnCount() == 0)
        return FALSE;
    m_pView = pView;
    m_nColumns = pView->GetColumnCount();
    m_columns.SetSize(0, m_nColumns);
    for (int i = 0; i < m_nColumns; ++i) {
        CColumnFilter* pColumn = new CColumnFilter;
        pColumn->Init(i, pView);
        m_columns.Add(pColumn);
    }
    if (pCopyFrom) {
        for (int i = 0; i < m_nColumns; ++i) {
            CColumnFilter* pSource = pCopyFrom->GetColumnFilter(i);
            if (!pSource)
                continue;
            for (int f = 0; f < pSource->GetSize(); ++f) {
                CTBString strText;
                pSource->FormatFilterText(strText, f);
                m_columns[i]->AddFilter(strText, (*pSource)[f]->GetFlag(), (*pSource)[f]->GetGroup());
            }
        }
        m_nCombine = pCopyFrom->m_nCombine;
    }
    return TRUE;
}

BOOL CTableFilters::IsBound() const
{
    return m_pView && m_nColumns > 0 && m_columns.GetSize() == m_nColumns;
}

CColumnFilter* CTableFilters::GetColumnFilter(int nCol) const
{
    return IsBound() ? m_columns.GetAt(nCol) : nullptr;
}

int CTableFilters::AddFilter(int nCol, const char* pszCriteria, BOOL bFlag, int nGroup, BOOL bQuote)
{
    CColumnFilter* pColumn = GetColumnFilter(nCol);
    if (!pColumn || !pszCriteria)
        return -1;
    int nType = m_pView->GetColumns()[nCol]->GetDataType();
    if (bQuote && (nType == COLTYPE_CHAR4 || nType == COLTYPE_STRING)) {
        CTBString strQuoted;
        strQuoted.Format("%c%s%c", '"', pszCriteria, '"');
        return pColumn->AddFilter(strQuoted, bFlag, nGroup);
    }
    return pColumn->AddFilter(pszCriteria, bFlag, nGroup);
}

BOOL CTableFilters::IsValidCriteria(int nCol, const char* pszCriteria)
{
    CColumnFilter* pColumn = GetColumnFilter(nCol);
    return pColumn && pszCriteria && pColumn->IsValidCriteria(pszCriteria);
}

void CTableFilters::RemoveColumnFilters(int nCol)
{
    if (CColumnFilter* pColumn = GetColumnFilter(nCol))
        pColumn->DeleteAll();
}

void CTableFilters::RemoveAllFilters()
{
    if (!IsBound())
        return;
    for (CColumnFilter* pColumn : m_columns)
        pColumn->DeleteAll();
}

BOOL CTableFilters::IsEmpty() const
{
    if (!IsBound())
        return TRUE;
    for (const CColumnFilter* pColumn : m_columns)
        if (pColumn && pColumn->IsBound() && pColumn->GetSize() > 0)
            return FALSE;
    return TRUE;
}

BOOL CTableFilters::HasFilterOn(int nCol) const
{
    CColumnFilter* pColumn = GetColumnFilter(nCol);
    return pColumn && pColumn->GetSize() > 0;
}

void CTableFilters::SetRowRange(int nFirst, int nLast)
{
    m_nFirst = nFirst;
    m_nLast = nLast < 0 ? 0x7fffffff : nLast;
}

void CTableFilters::SetAllRows()
{
    m_nFirst = 0;
    m_nLast = m_pView ? m_pView->GetRowCount() : 0;
}

BOOL CTableFilters::Match(const CTableTreeNode* pNode, int nIndex)
{
    if (!IsBound() || !pNode)
        return FALSE;
    if (m_nMode == FILTER_UNMARK_ALL || m_nMode == FILTER_MARK_ALL)
        return TRUE;
    if (m_nMode == FILTER_FIND_MARKED)
        return pNode->GetKind() == NODE_ROW && static_cast<const CTableRow*>(pNode)->IsMarked();
    BOOL bAnyOf = FALSE;
    BOOL bHasAnyOf = FALSE;
    BOOL bAllOf = TRUE;
    BOOL bHasAllOf = FALSE;
    for (CColumnFilter* pColumn : m_columns) {
        if (pColumn->GetSize() == 0)
            continue;
        if (pColumn->HasGroup(1)) {
            bHasAnyOf = TRUE;
            if (pColumn->Match(pNode, nIndex, m_pView, 1))
                bAnyOf = TRUE;
        }
        if (pColumn->HasGroup(0)) {
            bHasAllOf = TRUE;
            if (!pColumn->Match(pNode, nIndex, m_pView, 0))
                bAllOf = FALSE;
        }
    }
    BOOL bA = bHasAnyOf ? bAnyOf : (m_nCombine == 0);
    if (!bA && m_nCombine == 0)
        return FALSE;
    BOOL bB = bHasAllOf ? bAllOf : (m_nCombine == 0);
    return m_nCombine == 0 ? (bA && bB) : (bA || bB);
}

BOOL CTableFilters::VisitRow(CTableRow* pRow, int nIndex)
{
    if (!IsBound() || !pRow)
        return TRUE;
    if (pRow->IsHidden() && m_pView->GetSumMode() != 0 && m_nMode != FILTER_MARK && m_nMode != FILTER_UNMARK_ALL
        && m_nMode != FILTER_COUNT)
        return TRUE;
    BOOL bMatch = Match(pRow, nIndex);
    if (bMatch)
        ++m_nMatches;
    switch (m_nMode) {
    case FILTER_FIND:
    case FILTER_FIND_MARKED:
        if (bMatch) {
            m_nFound = nIndex;
            return FALSE;
        }
        return TRUE;
    case FILTER_MARK:
        SetRowMarked(m_pView, pRow, bMatch);
        return TRUE;
    case FILTER_UNMARK:
    case FILTER_UNMARK_ALL:
        if (bMatch)
            SetRowMarked(m_pView, pRow, FALSE);
        return TRUE;
    case FILTER_MARK_ALL:
        SetRowMarked(m_pView, pRow, TRUE);
        return TRUE;
    default:
        return TRUE;
    }
}

BOOL CTableFilters::VisitNode(CTreeNode* pNode, int nIndex)
{
    return pNode && pNode->GetKind() == NODE_ROW ? VisitRow(static_cast<CTableRow*>(pNode), nIndex) : TRUE;
}

BOOL CTableFilters::Save(CIni* pSettings)
{
    if (!IsBound() || !pSettings)
        return FALSE;
    pSettings->WriteInt(IDS_FILTER_COMBINE, m_nCombine);
    for (CColumnFilter* pColumn : m_columns)
        pColumn->Save(pSettings);
    return TRUE;
}

BOOL CTableFilters::Load(CIni* pSettings)
{
    if (!IsBound() || !pSettings)
        return FALSE;
    SetCombine(pSettings->GetInt(IDS_FILTER_COMBINE, m_nCombine));
    for (CColumnFilter* pColumn : m_columns)
        pColumn->Load(pSettings);
    return TRUE;
}
