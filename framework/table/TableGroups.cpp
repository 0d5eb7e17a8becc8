#include "framework/table/TableGroups.h"
#include "framework/table/ViewTable.h"

// Rows ahead of the one being put back whose values a resort fetches.
#define RESORT_FETCH_AHEAD 8

CTableGroups::CTableGroups() = default;

CTableGroups::~CTableGroups()
{
    RemoveAll();
}

void CTableGroups::SetView(CViewTable* pView)
{
    CTableTree::SetView(pView);
    m_total.Init(pView, nullptr);
    m_empty.AllocAttributes(pView ? pView->GetColumnCount() : 0);
    m_nHold = 0;
    m_nMarked = 0;
    m_bGrouped = pView && pView->GetGroupColumns().GetCount() > 0;
    m_bCustom = pView && pView->HasCustomGroupSumLine();
    m_nHeaderMode = pView ? pView->GetGroupHeaderMode() : -1;
    m_nTotalsMode = pView ? pView->GetTotalsMode() : -1;
}

void CTableGroups::RefreshMode()
{
    if (!m_pView)
        return;
    BOOL bGrouped = m_pView->GetGroupColumns().GetCount() > 0;
    BOOL bCustom = m_pView->HasCustomGroupSumLine();
    int nHeader = m_pView->GetGroupHeaderMode();
    int nTotals = m_pView->GetTotalsMode();
    if (bGrouped == m_bGrouped && bCustom == m_bCustom && nHeader == m_nHeaderMode && nTotals == m_nTotalsMode)
        return;
    m_bGrouped = bGrouped;
    m_bCustom = bCustom;
    m_nHeaderMode = nHeader;
    m_nTotalsMode = nTotals;
    // Stored weights count lines under the old modes.
    RecalcAllWeights();
}

BOOL CTableGroups::IsGrouped()
{
    return m_bGrouped;
}

BOOL CTableGroups::IsCustomMode()
{
    return m_bCustom && m_bGrouped;
}

BOOL CTableGroups::LinksEqualNodes()
{
    return !m_bGrouped;
}

static BOOL ShowsSums(int nTotals)
{
    return nTotals == 1 || nTotals == 3;
}

int CTableGroups::GetNodeWeight(CTreeNode* pNode)
{
    if (pNode->Kind() == NODE_GROUP) {
        int nRows = static_cast<CTableGroup*>(pNode)->m_rows.GetCount();
        if (nRows == 0)
            return 0;
        int nExtra = (m_nHeaderMode == 2 ? 1 : 0) + (ShowsSums(m_nTotalsMode) ? 1 : 0);
        if (IsCustomMode() || nRows > 1)
            return nRows + nExtra;
        return m_nHeaderMode == 2 ? 2 : 1;
    }
    if (static_cast<CTableRow*>(pNode)->IsHidden())
        return 0;
    return m_bGrouped && m_nHeaderMode == 2 ? 2 : 1;
}

BOOL CTableGroups::HasTotalLine()
{
    return m_pView && m_pView->HasGrandTotalRow() && m_pRoot;
}

int CTableGroups::GetTotalLineIndex()
{
    return HasTotalLine() ? GetSubtreeWeight(m_pRoot) : -1;
}

int CTableGroups::GetCount()
{
    return GetSubtreeWeight(m_pRoot) + (HasTotalLine() ? 1 : 0);
}

// Group order: unsorted rows first by id, then the group key columns only.
int CTableGroups::CompareNodes(CTreeNode* pA, CTreeNode* pB)
{
    const CTableColumns& columns = m_pView->GetColumns();
    if (!m_bGrouped)
        return CompareRowsByKeys(columns, m_pView->GetSortColumns(), pA, pB);
    BOOL bUnsortedA = pA->Kind() == NODE_ROW && !(pA->m_bFlags & ROW_SORTED);
    BOOL bUnsortedB = pB->Kind() == NODE_ROW && !(pB->m_bFlags & ROW_SORTED);
    if (bUnsortedA || bUnsortedB)
        return CompareRowsByKeys(columns, m_pView->GetSortColumns(), pA, pB);
    return columns.CompareRows(static_cast<CTableTreeNode*>(pA), static_cast<CTableTreeNode*>(pB),
                               m_pView->GetGroupColumns());
}

CTableGroup* CTableGroups::NewGroup(CTableRow* pFounder)
{
    ITreeAlloc* pAlloc = GetAllocator();
    CTableGroup* pGroup = static_cast<CTableGroup*>(pAlloc ? pAlloc->CreateNode(NODE_GROUP) : new CTableGroup);
    TBCellSlot* pValues = m_pView->GetColumns().AllocRowValues(FALSE);
    m_pView->GetColumns().CopyRowValues(pValues, pFounder->GetData());
    pGroup->Init(pValues, m_pView);
    for (int i = 0; i < pGroup->GetAttrColumns(); ++i)
        for (int b = 0; b < 3; ++b)
            pGroup->SetAttr(i, b, pFounder->GetAttr(i, b));
    m_pView->GetColumns().CacheSortKey(pGroup);
    return pGroup;
}

void CTableGroups::ReleaseGroup(CTableGroup* pGroup)
{
    pGroup->ClearLinks();
    if (ITreeAlloc* pAlloc = GetAllocator()) {
        pAlloc->ReleaseNode(pGroup);
    } else {
        CTableColumns::FreeRowValues(pGroup->GetData());
        delete pGroup;
    }
}

void CTableGroups::ReleaseRow(CTableRow* pRow, int nRelease)
{
    pRow->SetGroup(nullptr);
    pRow->ClearLinks();
    if (nRelease != 1)
        return;
    if (ITreeAlloc* pAlloc = GetAllocator())
        pAlloc->ReleaseNode(pRow);
    else
        delete pRow;
}

CTreeNode* CTableGroups::PlaceNode(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int)
{
    CTableRow* pRow = static_cast<CTableRow*>(pNode);
    m_bInserted = TRUE;
    m_nTopBefore = 0;
    if (IsCustomMode()) {
        // Every row of this mode lives in a group, even alone.
        CTableGroup* pGroup = NewGroup(pRow);
        pGroup->m_rows.Insert(pRow);
        pRow->SetGroup(pGroup);
        LinkNode(pParent, bLeft, pGroup);
        m_pTopInserted = pGroup;
        return pGroup;
    }
    pRow->SetGroup(nullptr);
    LinkNode(pParent, bLeft, pRow);
    m_pTopInserted = pRow;
    return pRow;
}

CTreeNode* CTableGroups::PlaceNodeAt(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex)
{
    if (!IsCustomMode())
        static_cast<CTableRow*>(pNode)->SetFlag(ROW_SORTED, FALSE);
    return PlaceNode(pParent, bLeft, pNode, nIndex);
}

void CTableGroups::OnDuplicate(CTreeNode* pNew, CTreeNode* pEqual, int)
{
    CTableRow* pRow = static_cast<CTableRow*>(pNew);
    m_nTopBefore = GetNodeWeight(pEqual);
    CTableGroup* pGroup;
    if (pEqual->GetKind() == NODE_GROUP) {
        pGroup = static_cast<CTableGroup*>(pEqual);
    } else {
        // The second row of a key turns the bare row into a group that takes its place.
        CTableRow* pBare = static_cast<CTableRow*>(pEqual);
        pGroup = NewGroup(pBare);
        ReplaceNode(pBare, pGroup);
        pGroup->m_rows.Insert(pBare);
        pBare->SetGroup(pGroup);
        if (!pBare->IsHidden())
            pGroup->m_sum.AddRow(pBare, m_pView, -1);
        m_bFormed = TRUE;
    }
    pGroup->m_rows.Insert(pRow);
    pRow->SetGroup(pGroup);
    RefreshWeights(pGroup);
    m_pTopInserted = pGroup;
    m_bInserted = TRUE;
}

int CTableGroups::Insert(CTreeNode* pNode)
{
    if (!pNode || pNode->GetKind() != NODE_ROW || !m_pView)
        return 0;
    RefreshMode();
    CTableRow* pRow = static_cast<CTableRow*>(pNode);
    m_pos.Clear();
    m_bInserted = FALSE;
    m_bFormed = FALSE;
    m_pTopInserted = nullptr;
    m_nTopBefore = 0;
    pRow->ClearLinks();
    m_pView->GetColumns().CacheSortKey(pRow);
    CTreeNode* pParent;
    BOOL bLeft, bEverLeft;
    if (!m_bGrouped && TakeInsertHint(pRow, &pParent, &bLeft, &bEverLeft)) {
        // A warming walk found the place already (a row on the move).
        OnInserting();
        m_bAppending = !bEverLeft;
        PlaceNode(pParent, bLeft, pRow, /*nIndex=*/-1);     // this tree's placing needs no index
        OnInserted();
    } else {
        CAVLTree::Insert(pRow);
    }
    if (!m_bInserted)
        return 0;
    AfterInsert(pRow);
    return 1;
}

int CTableGroups::InsertAt(int nIndex, CTreeNode* pNode)
{
    if (!pNode || pNode->GetKind() != NODE_ROW || !m_pView)
        return 0;
    RefreshMode();
    CTableRow* pRow = static_cast<CTableRow*>(pNode);
    m_pos.Clear();
    m_bInserted = FALSE;
    m_bFormed = FALSE;
    m_pTopInserted = nullptr;
    m_nTopBefore = 0;
    pRow->ClearLinks();
    m_pView->GetColumns().CacheSortKey(pRow);
    int nLines = GetSubtreeWeight(m_pRoot);
    if (nIndex < 0)
        nIndex = 0;
    int nStart = 0;
    CTreeNode* pTop = nIndex < nLines ? FindLine(nIndex, &nStart) : nullptr;
    if (pTop && pTop->GetKind() == NODE_GROUP) {
        // Into the group whose lines hold the index; its extra lines append to its rows.
        CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
        m_nTopBefore = GetNodeWeight(pGroup);
        int nRows = pGroup->m_rows.GetCount();
        int nAt = nIndex - nStart;
        pGroup->m_rows.InsertAt(nAt < nRows ? nAt : nRows, pRow);
        pRow->SetGroup(pGroup);
        RefreshWeights(pGroup);
        m_pTopInserted = pGroup;
        m_bInserted = TRUE;
    } else {
        CAVLTree::InsertAt(nIndex < nLines ? nIndex : nLines, pRow);
    }
    if (!m_bInserted)
        return 0;
    AfterInsert(pRow);
    return 1;
}

void CTableGroups::AfterInsert(CTableRow* pRow)
{
    // A rebuild puts back the rows the index already names.
    const TBCellSlot* pBlock = pRow->GetData();
    if (pBlock && !m_bRebuilding)
        m_blocks.Set(pBlock, pRow);
    if (pRow->IsMarked() && !m_bRebuilding)
        ++m_nMarked;
    CTreeNode* pTop = m_pTopInserted;
    m_nLastLines = GetNodeWeight(pTop) - m_nTopBefore;
    BOOL bTell = IsNotifying() && m_pView->HasSinks() && !pRow->IsHidden();
    // The index costs walks up the tree: worked out when a sink will hear it, else on demand.
    if (bTell) {
        PositionOf(pRow, &m_pos);
    } else {
        m_pos.Clear();
        m_pos.m_pNode = pRow;
        m_pos.m_pGroup = pRow->GetGroup();
        m_pos.m_nKind = LINE_ROW;
    }
    if (pRow->IsHidden())
        return;
    AddToSums(pRow, -1);
    if (!bTell)
        return;
    m_pView->NotifyRowMoved(&m_pos, 0, &m_pos, m_nLastLines);
    if (m_bFormed && pTop->GetKind() == NODE_GROUP) {
        // The founding row's line now belongs to a group and may close it no more.
        CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
        CRowPosition pos;
        for (CTreeNode* p = pGroup->m_rows.First(); p; p = CAVLTree::Next(p))
            if (p != pRow && PositionOf(static_cast<CTableRow*>(p), &pos) && !static_cast<CTableRow*>(p)->IsHidden())
                m_pView->NotifyRowLookChanged(pos.m_pNode, pos.m_nIndex);
    }
    ReportAround(pTop);
    if (HasTotalLine())
        m_pView->StampRowChanged(&m_total, GetTotalLineIndex(), -1);
}

int CTableGroups::Remove(CTreeNode* pNode, int nRelease)
{
    if (!pNode || pNode->GetKind() != NODE_ROW || !m_pView)
        return 0;
    RefreshMode();
    CTableRow* pRow = static_cast<CTableRow*>(pNode);
    CTableGroup* pGroup = pRow->GetGroup();
    // Rows come from this view's own cursors: a linked row is one of ours. (A walk to the root
    // to prove it would cost as much as the removal itself.)
    if (!HoldsRow(pRow))
        return 0;
    m_pos.Clear();
    BOOL bTell = IsNotifying() && m_pView->HasSinks();
    if (m_pView->HasSinks())
        PositionOf(pRow, &m_pos);
    m_pos.m_pNode = pRow;
    CTreeNode* pTop = pGroup ? static_cast<CTreeNode*>(pGroup) : pRow;
    int nBefore = GetNodeWeight(pTop);
    BOOL bVisible = !pRow->IsHidden();
    if (bVisible)
        SubtractFromSums(pRow, -1);
    else
        m_pos.m_nIndex = -1;
    if (pRow->IsMarked())
        --m_nMarked;
    if (nRelease == 1 && pRow->GetData()) {
        m_blocks.Erase(pRow->GetData(), pRow);
    }

    CTreeNode* pSurvivor = nullptr;
    int nAfter = 0;
    if (pGroup) {
        pGroup->m_rows.Remove(pRow, 0);
        int nLeft = pGroup->m_rows.GetNodeCount();
        if (nLeft == 0) {
            UnlinkNode(pGroup);
            ReleaseGroup(pGroup);
        } else if (nLeft == 1 && !IsCustomMode()) {
            // A group of one falls back to a bare row in the group's place.
            CTableRow* pLast = static_cast<CTableRow*>(pGroup->m_rows.DetachRoot());
            pLast->ClearLinks();
            pLast->SetGroup(nullptr);
            ReplaceNode(pGroup, pLast);
            RefreshWeights(pLast);
            ReleaseGroup(pGroup);
            pSurvivor = pLast;
            nAfter = GetNodeWeight(pLast);
        } else {
            RefreshWeights(pGroup);
            pSurvivor = pGroup;
            nAfter = GetNodeWeight(pGroup);
        }
    } else {
        UnlinkNode(pRow);
    }
    m_nLastLines = nBefore - nAfter;
    pRow->m_chKey1 = pRow->m_chKey2 = 0;    // a detached row may change: it compares the long way
    ReleaseRow(pRow, nRelease);
    if (nRelease != 1)
        m_pos.m_pNode = pRow;
    m_pos.m_pGroup = nullptr;           // the group may be gone

    if (!bTell)
        return 1;
    m_pView->NotifyRowsRemoved(m_pos.m_nIndex, m_nLastLines);
    if (m_pos.m_nIndex >= 0 && pSurvivor) {
        if (pSurvivor->GetKind() == NODE_ROW) {
            CRowPosition pos;
            if (PositionOf(static_cast<CTableRow*>(pSurvivor), &pos) && !pos.m_pNode->IsHidden())
                m_pView->NotifyRowLookChanged(pos.m_pNode, pos.m_nIndex);
        } else {
            ReportAround(pSurvivor);
        }
    }
    // A row the filters hid took nothing from the sums: the total line stays as it was.
    if (HasTotalLine() && bVisible)
        m_pView->StampRowChanged(&m_total, GetTotalLineIndex(), -1);
    return 1;
}

int CTableGroups::RemoveAt(int nIndex)
{
    CRowPosition pos;
    if (!LocateByIndex(nIndex, &pos) || !pos.IsDataRow())
        return 0;
    return Remove(pos.m_pNode, 1);
}

void CTableGroups::RemoveAll()
{
    if (m_pView)
        m_total.Reset(m_pView);
    CTreeNode* pRoot = CAVLTree::DetachRoot();
    if (pRoot) {
        std::vector<CTreeNode*> nodes;
        std::vector<CTreeNode*> stack{pRoot};
        while (!stack.empty()) {
            CTreeNode* pNode = stack.back();
            stack.pop_back();
            nodes.push_back(pNode);
            if (pNode->Left())
                stack.push_back(pNode->Left());
            if (pNode->Right())
                stack.push_back(pNode->Right());
        }
        for (CTreeNode* pNode : nodes) {
            if (pNode->GetKind() == NODE_GROUP) {
                CTableGroup* pGroup = static_cast<CTableGroup*>(pNode);
                pGroup->m_rows.RemoveAll();
                ReleaseGroup(pGroup);
            } else {
                ReleaseRow(static_cast<CTableRow*>(pNode), 1);
            }
        }
    }
    m_nMarked = 0;
    m_blocks.Clear();
}

CTreeNode* CTableGroups::DetachRoot()
{
    if (m_pView)
        m_total.Reset(m_pView);
    return CAVLTree::DetachRoot();
}

void CTableGroups::ReinsertSubtree(CTreeNode* pRoot)
{
    // Rows come out of their groups in display order; the groups go and are formed anew by the
    // inserts. Put back in that order, rows whose order the keys keep (a resort on the same
    // keys, or one that changes little) each go in at the end, along a path still in cache.
    std::vector<CTreeNode*> tops;
    std::vector<CTreeNode*> stack;
    for (CTreeNode* pNode = pRoot; pNode || !stack.empty();) {
        for (; pNode; pNode = pNode->Left())
            stack.push_back(pNode);
        pNode = stack.back();
        stack.pop_back();
        tops.push_back(pNode);
        pNode = pNode->Right();
    }
    std::vector<CTreeNode*> rows;
    for (CTreeNode* pNode : tops) {
        if (pNode->GetKind() == NODE_GROUP) {
            CTableGroup* pGroup = static_cast<CTableGroup*>(pNode);
            pGroup->m_rows.CollectNodes(rows, FALSE);
            pGroup->m_rows.DetachRoot();
            ReleaseGroup(pGroup);
        } else {
            rows.push_back(pNode);
        }
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        // Each insert reads its row and the row's keys: rows a few places on are fetched
        // meanwhile, and the values of those fetched before.
        if (i + 2 * RESORT_FETCH_AHEAD < rows.size())
            __builtin_prefetch(rows[i + 2 * RESORT_FETCH_AHEAD]);
        if (i + RESORT_FETCH_AHEAD < rows.size()) {
            __builtin_prefetch(rows[i + RESORT_FETCH_AHEAD]->GetData());
            // The row's group is cleared in its side record.
            static_cast<const CTableRow*>(rows[i + RESORT_FETCH_AHEAD])->PrefetchSide();
        }
        CTableRow* pRow = static_cast<CTableRow*>(rows[i]);
        pRow->ClearLinks();
        pRow->SetGroup(nullptr);
        pRow->SetFlag(ROW_SORTED, TRUE);
        Insert(pRow);
    }
}

void CTableGroups::Resort()
{
    HoldNotify();
    m_bRebuilding = TRUE;
    RefreshMode();
    ReinsertSubtree(DetachRoot());
    m_bRebuilding = FALSE;
    ReleaseNotify();
}
