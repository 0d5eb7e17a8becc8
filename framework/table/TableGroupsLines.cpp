// The grouped tree's lookups: the line at an index, where a row stands, a row by its keys.
#include "framework/table/TableGroups.h"
#include <climits>
#include "framework/table/ViewTable.h"

static BOOL ShowsSums(int nTotals)
{
    return nTotals == 1 || nTotals == 3;
}

int CTableGroups::LineKindOf(CTableRow* pRow, CTableGroup* pGroup, int nInGroup)
{
    if (!pGroup)
        return m_bGrouped ? LINE_GROUP_END : LINE_ROW;
    int nRows = pGroup->m_rows.GetCount();
    if (pRow->IsHidden() || nInGroup != nRows - 1)
        return LINE_ROW;
    // The last row closes its group unless a sum line follows it.
    if (!ShowsSums(m_nTotalsMode) || (!IsCustomMode() && nRows == 1))
        return LINE_GROUP_END;
    return LINE_ROW;
}

BOOL CTableGroups::HoldsRow(const CTableRow* pRow) const
{
    if (!pRow)
        return FALSE;
    if (pRow->GetGroup())
        return pRow->Parent() || pRow->GetGroup()->m_rows.GetRoot() == pRow;
    return pRow->Parent() || m_pRoot == pRow;
}

BOOL CTableGroups::PositionOf(CTableRow* pRow, CRowPosition* pPos)
{
    pPos->Clear();
    if (!pRow)
        return FALSE;
    CTableGroup* pGroup = pRow->GetGroup();
    if (pGroup) {
        // Each index walk also proves that the node belongs to its tree.
        int nStart = GetIndexOf(pGroup);
        int nIn = nStart >= 0 ? pGroup->m_rows.GetIndexOf(pRow) : -1;
        if (nIn < 0)
            return FALSE;
        pPos->m_pNode = pRow;
        pPos->m_pGroup = pGroup;
        pPos->m_nIndex = nStart + nIn;
        pPos->m_nGroupStart = nStart;
        pPos->m_nKind = LineKindOf(pRow, pGroup, nIn);
        return TRUE;
    }
    int nIndex = GetIndexOf(pRow);
    if (nIndex < 0)
        return FALSE;
    pPos->m_pNode = pRow;
    pPos->m_nIndex = nIndex;
    pPos->m_nKind = LineKindOf(pRow, nullptr, 0);
    return TRUE;
}

BOOL CTableGroups::LocateByIndex(int nIndex, CRowPosition* pPos)
{
    pPos->Clear();
    pPos->m_nIndex = nIndex;
    if (nIndex < 0 || !m_pRoot || !m_pView)
        return FALSE;
    RefreshMode();
    int nLines = GetSubtreeWeight(m_pRoot);
    if (nIndex >= nLines) {
        if (nIndex == nLines && HasTotalLine()) {
            pPos->m_pNode = &m_total;
            pPos->m_nKind = LINE_TOTAL;
            return TRUE;
        }
        return FALSE;
    }
    int nStart = 0;
    CTreeNode* pTop = FindLine(nIndex, &nStart);
    if (!pTop)
        return FALSE;
    int nAt = nIndex - nStart;
    if (pTop->GetKind() == NODE_GROUP) {
        CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
        int nRows = pGroup->m_rows.GetCount();
        pPos->m_pGroup = pGroup;
        pPos->m_nGroupStart = nStart;
        if (nAt < nRows) {
            CTableRow* pRow = static_cast<CTableRow*>(pGroup->m_rows.GetAt(nAt));
            pPos->m_pNode = pRow;
            pPos->m_nKind = pRow ? LineKindOf(pRow, pGroup, nAt) : LINE_NONE;
            return pRow != nullptr;
        }
        if (nAt == nRows && ShowsSums(m_nTotalsMode) && (nRows > 1 || IsCustomMode())) {
            pPos->m_pNode = &pGroup->m_sum;
            pPos->m_nKind = LINE_GROUP_SUM;
            return TRUE;
        }
        pPos->m_pNode = &m_empty;
        pPos->m_nKind = LINE_EMPTY;
        return TRUE;
    }
    CTableRow* pRow = static_cast<CTableRow*>(pTop);
    if (nAt == 0) {
        pPos->m_pNode = pRow;
        pPos->m_nKind = LineKindOf(pRow, nullptr, 0);
    } else {
        pPos->m_pNode = &m_empty;
        pPos->m_nKind = LINE_EMPTY;
    }
    return TRUE;
}

CTableRow* CTableGroups::GetNodeAt(int nIndex)
{
    CRowPosition pos;
    return LocateByIndex(nIndex, &pos) ? pos.m_pNode : nullptr;
}

CTableRow* CTableGroups::FindByBlock(const TBCellSlot* pBlock) const
{
    if (!pBlock)
        return nullptr;
    return m_blocks.Find(pBlock);
}

// Below this many nodes the paths stay in cache on their own: warming them is only work.
#define TOUCH_MIN_NODES 16384

static int AddWalk(CTouchWalk* aWalks, int nRoom, int nAt, const CTreeNode* pStart, int nKind)
{
    if (!pStart || nAt >= nRoom)
        return 0;
    aWalks[nAt].pCur = pStart;
    aWalks[nAt].nKind = nKind;
    return 1;
}

int CTableGroups::AddRemoveWalks(const CTableRow* pRow, CTouchWalk* aWalks, int nRoom) const
{
    if (!pRow || m_nNodes < TOUCH_MIN_NODES)
        return 0;
    int n = AddWalk(aWalks, nRoom, 0, pRow, TOUCH_UP);
    // A removed row's side record is reset or freed with it.
    pRow->PrefetchSide();
    // The group is in the row's side record: read only where groups are.
    if (m_bGrouped && pRow->GetGroup())
        n += AddWalk(aWalks, nRoom, n, pRow->GetGroup(), TOUCH_UP);
    // The removal relinks the children: the predecessor from the left spine takes the node's
    // place, or the one child moves up.
    if (pRow->Left() && pRow->Right()) {
        n += AddWalk(aWalks, nRoom, n, pRow->Left(), TOUCH_SPINE);
        n += AddWalk(aWalks, nRoom, n, pRow->Right(), TOUCH_ONE);
    } else {
        n += AddWalk(aWalks, nRoom, n, pRow->Left() ? pRow->Left() : pRow->Right(), TOUCH_ONE);
    }
    return n;
}

int CTableGroups::AddInsertWalk(const CPackedKey& key, int nRowId, CTouchWalk* aWalks, int nRoom)
{
    // Group nodes compare by the group keys alone: the packed keys cannot steer among them.
    if (m_nNodes < TOUCH_MIN_NODES || m_bGrouped || key.chKey1 == 0 || !AddWalk(aWalks, nRoom, 0, m_pRoot, TOUCH_DOWN))
        return 0;
    CTouchWalk& walk = aWalks[0];
    walk.key = key;
    walk.nRowId = nRowId >= 0 ? nRowId : INT_MAX;
    // How many leading sort keys the packed keys stand for, as CTableColumns::CompareRows counts.
    const CSortColumns& keys = m_pView->GetSortColumns();
    int nPacked = 0;
    walk.nShift = 0;
    if (key.chKey1 == keys.GetPackedTag(0)) {
        if (key.chKey2 != 0 && key.chKey2 == keys.GetPackedTag(1)) {
            nPacked = 2;
        } else {
            nPacked = 1;
            walk.nShift = key.chKey2 != 0 ? 32 : 0;
        }
    }
    // A new row's id is not known yet: its walk warms the path only.
    walk.pTree = nPacked > 0 && nPacked >= keys.GetCount() && nRowId >= 0 ? this : nullptr;
    walk.pParent = nullptr;
    walk.bLeft = walk.bEverLeft = FALSE;
    walk.bExact = TRUE;
    return 1;
}

void CTableGroups::RebindBlock(CTableRow* pRow, const TBCellSlot* pOldBlock)
{
    if (pOldBlock) {
        m_blocks.Erase(pOldBlock, pRow);
    }
    if (pRow->GetData())
        m_blocks.Set(pRow->GetData(), pRow);
}

void CTableGroups::ForgetDetached(const CTableRow* pRow)
{
    if (pRow && pRow->GetData())
        m_blocks.Erase(pRow->GetData(), pRow);
}

BOOL CTableGroups::LocateRow(CTableRow* pRow, CRowPosition* pPos, BOOL bIndex)
{
    return LocateRow(pRow, pRow ? FindByBlock(pRow->GetData()) : nullptr, pPos, bIndex);
}

BOOL CTableGroups::LocateRow(CTableRow* pRow, CTableRow* pHeld, CRowPosition* pPos, BOOL bIndex)
{
    pPos->Clear();
    if (!pRow || !m_pView)
        return FALSE;
    RefreshMode();
    // The owner holds the row's own block: that names the row exactly, ties or not.
    if (pHeld) {
        if (!bIndex && HoldsRow(pHeld)) {
            pPos->m_pNode = pHeld;
            pPos->m_pGroup = pHeld->GetGroup();
            pPos->m_nKind = LINE_ROW;
            return TRUE;
        }
        if (PositionOf(pHeld, pPos))
            return TRUE;
    }
    pPos->Clear();
    CTreeNode* pCur = m_pRoot;
    while (pCur) {
        int nCmp = CompareNodes(pRow, pCur);
        if (nCmp == 0)
            break;
        pCur = nCmp < 0 ? pCur->Left() : pCur->Right();
    }
    if (!pCur)
        return FALSE;
    if (pCur->GetKind() == NODE_GROUP) {
        CRowPosition inner;
        if (!static_cast<CTableGroup*>(pCur)->m_rows.LocateByKey(pRow, &inner))
            return FALSE;
        return PositionOf(inner.m_pNode, pPos);
    }
    if (CompareRowsFull(m_pView, pRow, pCur) != 0)
        return FALSE;
    return PositionOf(static_cast<CTableRow*>(pCur), pPos);
}
