#pragma once
#include "framework/table/AVLTree.h"
#include "framework/table/TableColumns.h"

class CTableRowSum;

// A tree bound to a view: its nodes come from the view's allocator.
class CTableTree : public CAVLTree
{
public:
    virtual void SetView(CViewTable* pView) { m_pView = pView; }
    CViewTable* GetView() const { return m_pView; }
    ITreeAlloc* GetAllocator() override;

protected:
    CViewTable* m_pView = nullptr;      // not owned: the view owns us
};

// The rows of one group, in the view's full key order: rows inserted at a position first (by
// row id), then by the sort keys, then by row id. Hidden rows stay in order but show no line.
class CTableRows : public CTableTree
{
public:
    ~CTableRows() override { RemoveAll(); }
    int  CompareNodes(CTreeNode* pA, CTreeNode* pB) override;
    int  GetNodeWeight(CTreeNode* pNode) override;
    // Re-derives every row's hidden bit under the view's sum mode and adds the visible rows
    // to the sums (either may be null).
    void RefreshHidden(CTableRowSum* pGroupSum, CTableRowSum* pTotal);
    // Mask 0 shows every row, all ones hides every row, any other hides the rows whose category
    // bits share a bit with it; shown rows are added to the sums.
    void HideByCategory(CTableRowSum* pGroupSum, CTableRowSum* pTotal, DWORD dwMask);

protected:
    // Equal rows (a row without an id) are still linked: a sorted insert never loses a row.
    BOOL LinksEqualNodes() override { return TRUE; }
    BOOL AppendsFirst() override;
    CTreeNode* PlaceNodeAt(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex) override;
};

// The full key order of a view, shared by the group rows and the grouped tree.
int CompareRowsFull(CViewTable* pView, CTreeNode* pA, CTreeNode* pB);

// The same on the view's columns and sort keys, inline for the trees' walks down: rows inserted
// at a position come first in row-id order; the others follow the sort keys, and rows with
// equal keys follow their row ids.
inline int CompareRowsByKeys(const CTableColumns& columns, const CSortColumns& keys, const CTreeNode* pA,
                             const CTreeNode* pB)
{
    BOOL bRowA = pA->Kind() == NODE_ROW;
    BOOL bRowB = pB->Kind() == NODE_ROW;
    BOOL bUnsortedA = bRowA && !(pA->m_bFlags & ROW_SORTED);
    BOOL bUnsortedB = bRowB && !(pB->m_bFlags & ROW_SORTED);
    if (bUnsortedA != bUnsortedB)
        return bUnsortedA ? -1 : 1;
    if (!bUnsortedA) {
        int nCmp = columns.CompareRows(static_cast<const CTableTreeNode*>(pA), static_cast<const CTableTreeNode*>(pB),
                                       keys);
        if (nCmp != 0)
            return nCmp;
    }
    int nA = bRowA ? pA->m_nRowId : -1;
    int nB = bRowB ? pB->m_nRowId : -1;
    if (nA < 0 || nB < 0)
        return 0;
    return static_cast<int>(nA > nB) - static_cast<int>(nA < nB);
}
