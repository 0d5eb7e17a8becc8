#include "framework/table/TableTree.h"
#include "framework/table/TableRowSum.h"
#include "framework/table/ViewTable.h"

ITreeAlloc* CTableTree::GetAllocator()
{
    return m_pView ? m_pView->GetAllocator() : nullptr;
}

static BOOL IsUnsortedRow(const CTreeNode* pNode)
{
    return pNode->Kind() == NODE_ROW && !static_cast<const CTableRow*>(pNode)->IsSorted();
}

static int CompareIds(const CTreeNode* pA, const CTreeNode* pB)
{
    int nA = pA->Kind() == NODE_ROW ? static_cast<const CTableRow*>(pA)->m_nRowId : -1;
    int nB = pB->Kind() == NODE_ROW ? static_cast<const CTableRow*>(pB)->m_nRowId : -1;
    if (nA < 0 || nB < 0)
        return 0;
    return nA < nB ? -1 : (nA > nB ? 1 : 0);
}

// Rows placed at a position come first in row-id order; the others follow the sort keys, and
// rows with equal keys follow their row ids.
int CompareRowsFull(CViewTable* pView, CTreeNode* pA, CTreeNode* pB)
{
    BOOL bUnsortedA = IsUnsortedRow(pA);
    BOOL bUnsortedB = IsUnsortedRow(pB);
    if (bUnsortedA && bUnsortedB)
        return CompareIds(pA, pB);
    if (bUnsortedA)
        return -1;
    if (bUnsortedB)
        return 1;
    int nCmp = pView->GetColumns().CompareRows(static_cast<CTableTreeNode*>(pA), static_cast<CTableTreeNode*>(pB),
                                               pView->GetSortColumns());
    return nCmp != 0 ? nCmp : CompareIds(pA, pB);
}

int CTableRows::CompareNodes(CTreeNode* pA, CTreeNode* pB)
{
    return CompareRowsFull(m_pView, pA, pB);
}

int CTableRows::GetNodeWeight(CTreeNode* pNode)
{
    return static_cast<CTableRow*>(pNode)->IsHidden() ? 0 : 1;
}

CTreeNode* CTableRows::PlaceNodeAt(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex)
{
    static_cast<CTableRow*>(pNode)->SetFlag(ROW_SORTED, FALSE);
    return CTableTree::PlaceNodeAt(pParent, bLeft, pNode, nIndex);
}

void CTableRows::RefreshHidden(CTableRowSum* pGroupSum, CTableRowSum* pTotal)
{
    BOOL bMarkedMode = m_pView && m_pView->GetSumMode() == 1;
    for (CTreeNode* pNode = First(); pNode; pNode = Next(pNode)) {
        CTableRow* pRow = static_cast<CTableRow*>(pNode);
        BOOL bHide = bMarkedMode && !pRow->IsMarked();
        pRow->SetFlag(ROW_HIDDEN, bHide);
        if (!bHide) {
            if (pGroupSum)
                pGroupSum->AddRow(pRow, m_pView, -1);
            if (pTotal)
                pTotal->AddRow(pRow, m_pView, -1);
        }
    }
    RecalcAllWeights();
}

void CTableRows::HideByCategory(CTableRowSum* pGroupSum, CTableRowSum* pTotal, DWORD dwMask)
{
    for (CTreeNode* pNode = First(); pNode; pNode = Next(pNode)) {
        CTableRow* pRow = static_cast<CTableRow*>(pNode);
        BOOL bHide = dwMask == 0xffffffff || (pRow->m_dwCategory & dwMask) != 0;
        pRow->SetFlag(ROW_HIDDEN, bHide);
        if (!bHide) {
            if (pGroupSum)
                pGroupSum->AddRow(pRow, m_pView, -1);
            if (pTotal)
                pTotal->AddRow(pRow, m_pView, -1);
        }
    }
    RecalcAllWeights();
}
