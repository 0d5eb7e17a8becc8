#pragma once
#include "framework/table/BlockIndex.h"
#include "framework/table/RowPosition.h"
#include "framework/table/TableGroup.h"
#include "framework/table/TableRowSum.h"
#include "framework/table/TableTree.h"

class ITableArchive;
class CViewRow;

// Statistics of a view's rows.
struct CRowStatistics
{
    int nRows = 0;
    int nMarked = 0;
    int nUnmarked = 0;
    int nHidden = 0;
    int nGroups = 0;
};

// The lines of one view. Top-level nodes are bare rows and groups; a group holds the rows that
// share its group key value, then its sum line and an empty line as the view's modes ask. A
// group appears with a second row of its key and falls back to a bare row when one is left (in
// the custom-sum-line mode every row lives in a group). Weights give every display line, so no
// line is ever materialised; the tree keeps the sums current and tells the view's sinks what
// appeared, went, moved or changed.
class CTableGroups : public CTableTree
{
public:
    CTableGroups();
    ~CTableGroups() override;
    void SetView(CViewTable* pView) override;

    // Tree operations. Insert answers 1 when the row was linked (bare or into a group).
    int  Insert(CTreeNode* pNode) override;
    int  InsertAt(int nIndex, CTreeNode* pNode) override;
    // Rows only; the row leaves its group (a group of one is dissolved, an empty one removed).
    int  Remove(CTreeNode* pNode, int nRelease) override;
    // Data rows only: sum, empty and total lines answer 0.
    int  RemoveAt(int nIndex) override;
    void RemoveAll() override;
    void Resort() override;
    int  CompareNodes(CTreeNode* pA, CTreeNode* pB) override;
    // Lines of every node, plus the grand total line when one shows.
    int  GetCount() override;
    CTreeNode* DetachRoot() override;
    int  GetNodeWeight(CTreeNode* pNode) override;

    // Lookups.
    BOOL LocateByIndex(int nIndex, CRowPosition* pPos);
    // The row by its keys (the exact node when it is in this tree). Without bIndex a row found
    // by its block may come back with the index -1, for the cursor to work out when asked.
    BOOL LocateRow(CTableRow* pRow, CRowPosition* pPos, BOOL bIndex = TRUE);
    // The same with the row of pRow's block already looked up (FindByBlock; null when none).
    BOOL LocateRow(CTableRow* pRow, CTableRow* pHeld, CRowPosition* pPos, BOOL bIndex);
    // TRUE when the row is linked in this tree (bare or in a group).
    BOOL HoldsRow(const CTableRow* pRow) const;
    // Where a row of this tree stands now; FALSE when it is not in the tree.
    BOOL PositionOf(CTableRow* pRow, CRowPosition* pPos);
    CTableRow* GetNodeAt(int nIndex);
    const CRowPosition& GetPosition() const { return m_pos; }
    // Lines the last insert added or the last removal took away.
    int  GetLastLines() const { return m_nLastLines; }

    // Edits, updates and recomputation.
    BOOL SetCellTextAt(int nIndex, int nCol, const char* pszText);
    void OnRowUpdated(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines);
    void RecalcTableGroups();
    void RecalcTableGroupsByMask(DWORD dwMask);
    BOOL CopyRows(CTableGroups* pSource, int nFlags);
    // Every row node in tree order (groups included); stops when the visitor answers FALSE.
    template <class TVisit> BOOL ForEachRow(TVisit&& visit);
    void CountRows(CRowStatistics* pStats);
    int  ApplyFilter(ITreeVisitor* pFilters);

    // Sum lines and marks.
    CTableRowSum* GetTotalLine() { return &m_total; }
    CTableRowEmpty* GetEmptyLine() { return &m_empty; }
    BOOL HasTotalLine();
    int  GetTotalLineIndex();
    void AddToSums(CTableRow* pRow, int nCol);
    void SubtractFromSums(CTableRow* pRow, int nCol);
    void ReportSumLines(CTableRow* pRow);
    int  GetMarkedCount() const { return m_nMarked; }
    void ChangeMarkedCount(int nDelta) { m_nMarked += nDelta; }
    // Reports of inserts and removals are held while above 0 (rebuilds, open row updates).
    void HoldNotify() { ++m_nHold; }
    void ReleaseNotify() { if (m_nHold > 0) --m_nHold; }
    BOOL IsNotifying() const { return m_nHold == 0; }
    // A resort is putting the rows back (in their old order).
    BOOL IsRebuilding() const { return m_bRebuilding; }

    // The mode of the view: grouped, and every row in a group node.
    BOOL IsGrouped();
    BOOL IsCustomMode();
    // The row of this tree that carries a value block (owners write rows by their blocks).
    CTableRow* FindByBlock(const TBCellSlot* pBlock) const;
    // The first step of FindByBlock as a fetch only, for a caller that looks a block up in
    // several views: all index entries first, then all rows, so that the cache misses overlap.
    void PrefetchIndex(const TBCellSlot* pBlock) const { m_blocks.Prefetch(pBlock); }
    // The next steps for that caller: the row the index most likely names, to fetch, and then the
    // row that FindByBlock answers (mostly the likely one, without a second look at the index).
    CTableRow* FindLikelyByBlock(const TBCellSlot* pBlock) const { return m_blocks.FindLikely(pBlock); }
    CTableRow* ConfirmByBlock(const TBCellSlot* pBlock, CTableRow* pLikely) const
    {
        return m_blocks.Confirm(pBlock, pLikely);
    }
    void RebindBlock(CTableRow* pRow, const TBCellSlot* pOldBlock);
    // A row taken out for a move that will not come back (it is deleted): its block no longer
    // names it. The index keeps the rows taken out for a move, as they come back with their block.
    void ForgetDetached(const CTableRow* pRow);
    // Bytes of the index of rows by block, for the engine's memory figures.
    size_t GetIndexBytes() const { return m_blocks.GetBytes(); }
    // Cache-warming walks (see CAVLTree::TouchWalks) for a caller about to change several views:
    // the walks taking a row of this tree out will make, or the walk down to where a row with
    // these packed keys and row id (-1: a new row, whose id will be the largest) goes. The number
    // put in aWalks, at most nRoom; none for a tree small enough to stay in cache.
    int  AddRemoveWalks(const CTableRow* pRow, CTouchWalk* aWalks, int nRoom) const;
    // Where the packed keys stand for every sort key, the walk down also finds the row's place,
    // and the insert that follows links it there.
    int  AddInsertWalk(const CPackedKey& key, int nRowId, CTouchWalk* aWalks, int nRoom);
    // Re-reads the view's grouping and modes; every weight is recomputed when one changed.
    void RefreshMode();

protected:
    BOOL LinksEqualNodes() override;
    BOOL AppendsFirst() override { return m_bRebuilding; }
    CTreeNode* PlaceNode(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex) override;
    CTreeNode* PlaceNodeAt(CTreeNode* pParent, BOOL bLeft, CTreeNode* pNode, int nIndex) override;
    void OnDuplicate(CTreeNode* pNew, CTreeNode* pEqual, int nIndex) override;
    void ReinsertSubtree(CTreeNode* pNode) override;
    BOOL VisitNode(ITreeVisitor* pVisitor, CTreeNode* pNode, int nIndex) override;

private:
    CTableGroup* NewGroup(CTableRow* pFounder);
    void ReleaseGroup(CTableGroup* pGroup);
    void LinkRow(CTableRow* pRow);
    void UnlinkRow(CTableRow* pRow);
    void AfterInsert(CTableRow* pRow);
    void ReportAround(CTreeNode* pTop);
    void ReportLineAt(int nIndex);
    int  LineKindOf(CTableRow* pRow, CTableGroup* pGroup, int nInGroup);
    void ReleaseRow(CTableRow* pRow, int nRelease);

    CRowPosition m_pos;                 // result of the last insert, locate or removal
    CTableRowSum m_total;               // sums of every visible row: the grand total line
    CTableRowEmpty m_empty;             // shared by every empty separator line
    int m_nHold = 0;
    int m_nMarked = 0;                  // rows held whose marked bit is set, hidden ones included
    int m_nLastLines = 0;
    int m_nTopBefore = 0;               // lines of the node an insert went into, before it
    CTreeNode* m_pTopInserted = nullptr;
    BOOL m_bInserted = FALSE;
    BOOL m_bFormed = FALSE;             // the last insert turned a bare row into a group
    BOOL m_bRebuilding = FALSE;
    // The view's modes as the stored weights were computed under them.
    BOOL m_bGrouped = FALSE;
    BOOL m_bCustom = FALSE;
    int  m_nHeaderMode = -1;
    int  m_nTotalsMode = -1;
    CBlockIndex m_blocks;
};

template <class TVisit>
BOOL CTableGroups::ForEachRow(TVisit&& visit)
{
    for (CTreeNode* pTop = First(); pTop; pTop = Next(pTop)) {
        if (pTop->GetKind() == NODE_GROUP) {
            CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
            for (CTreeNode* pRow = pGroup->m_rows.First(); pRow; pRow = CAVLTree::Next(pRow))
                if (!visit(static_cast<CTableRow*>(pRow)))
                    return FALSE;
        } else if (!visit(static_cast<CTableRow*>(pTop))) {
            return FALSE;
        }
    }
    return TRUE;
}
