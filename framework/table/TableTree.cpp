#include "framework/table/TableTree.h"
#include "framework/table/TableRowSum.h"
#include "framework/table/ViewTable.h"

ITreeAlloc* CTableTree::GetAllocator()
{
    return m_pView ? m_pView->GetAllocator() : nullptr;
}

int CompareRowsFull(CViewTable* pView, CTreeNode* pA, CTreeNode* pB)
{
    return CompareRowsByKeys(pView->GetColumns(), pView->GetSortColumns(), pA, pB);
}

int CTableRows::CompareNodes(CTreeNode* pA, CTreeNode* pB)
{
    return CompareRowsByKeys(m_pView->GetColumns(), m_pView->GetSortColumns(), pA, pB);
}

BOOL CTableRows::AppendsFirst()
{
    return m_pView && m_pView->GetRowTree().IsRebuilding();
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
        BOOL bHide = dwMask == 0xffffffff || (pRow->GetCategory() & dwMask) != 0;
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
