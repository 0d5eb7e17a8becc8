#include "framework/table/ViewRow.h"
#include <cstring>
#include <vector>
#include "framework/table/NodePool.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewTable.h"

static const size_t CURSOR_POOLED_MAX = 4 * CNodePool::SLOT_SIZE;
static_assert(sizeof(CViewRow) <= CURSOR_POOLED_MAX, "a cursor comes from the pool");

void* CViewRow::operator new(size_t nSize)
{
    return nSize <= CURSOR_POOLED_MAX ? CNodePool::Allocate(nSize) : ::operator new(nSize);
}

void CViewRow::operator delete(void* p, size_t nSize)
{
    if (nSize <= CURSOR_POOLED_MAX)
        CNodePool::Free(p, nSize);
    else
        ::operator delete(p);
}

CViewRow::CViewRow(CViewTable* pView, TBCellSlot* pValues) : m_pView(pView)
{
    if (pValues)
        NewNode(pValues);
}

CViewRow::CViewRow(const CViewRow& other)
{
    Assign(other);
}

CViewRow::~CViewRow()
{
    Reset(TRUE);
}

void CChangeBits::Free()
{
    if (m_nColumns > 64)
        delete[] m_pWords;
    m_nBits = 0;
    m_nColumns = 0;
}

void CChangeBits::Reset(int nColumns)
{
    if (nColumns != m_nColumns) {
        Free();
        if (nColumns > 64)
            m_pWords = new uint64_t[static_cast<size_t>((nColumns + 63) >> 6)];
        m_nColumns = nColumns > 0 ? nColumns : 0;
    }
    Clear();
}

void CChangeBits::Clear()
{
    memset(Words(), 0, sizeof(uint64_t) * static_cast<size_t>(WordCount() > 0 ? WordCount() : 1));
}

void CChangeBits::SetAll()
{
    uint64_t* pWords = Words();
    for (int i = 0; i < WordCount(); ++i) {
        int nLeft = m_nColumns - i * 64;
        pWords[i] = nLeft >= 64 ? ~uint64_t(0) : (uint64_t(1) << nLeft) - 1;
    }
}

int CChangeBits::CountSet() const
{
    int nCount = 0;
    const uint64_t* pWords = Words();
    for (int i = 0; i < WordCount(); ++i)
        nCount += __builtin_popcountll(pWords[i]);
    return nCount;
}

// The marks are sized when a write first needs them; most cursors only look.
void CViewRow::EnsureMarks()
{
    int nColumns = m_pView ? m_pView->GetColumnCount() : 0;
    if (m_marks.GetCount() != nColumns)
        m_marks.Reset(nColumns);
}

void CViewRow::ClearMarks()
{
    m_marks.Clear();
}

void CViewRow::MarkChanged(int nCol)
{
    EnsureMarks();
    if (nCol < 0)
        m_marks.SetAll();
    else if (nCol < m_marks.GetCount())
        m_marks.Set(nCol);
}

int CViewRow::CountChangedColumns() const
{
    return m_marks.CountSet();
}

void CViewRow::NewNode(TBCellSlot* pValues)
{
    Reset(TRUE);
    if (!m_pView)
        return;
    ITreeAlloc* pAlloc = m_pView->GetAllocator();
    CTableRow* pNode = static_cast<CTableRow*>(pAlloc ? pAlloc->CreateNode(NODE_ROW) : new CTableRow);
    pNode->ClearValues(m_pView);
    if (pAlloc)
        pAlloc->SetNodeDataIfAny(pNode, pValues);
    else if (pValues)
        pNode->SetData(pValues);
    m_pos.Clear();
    m_pos.m_pNode = pNode;
}

CTableRow* CViewRow::EnsureNode()
{
    if (!m_pos.m_pNode)
        NewNode(nullptr);
    return m_pos.m_pNode;
}

int CViewRow::Reset(BOOL bDelete)
{
    // A cursor that goes away in the middle of an update finishes it: the row must not stay out.
    if (m_bPending)
        EndUpdate();
    CTableRow* pNode = m_pos.m_pNode;
    if (pNode && IsOwned()) {
        if (bDelete) {
            ITreeAlloc* pAlloc = m_pView ? m_pView->GetAllocator() : nullptr;
            if (pAlloc)
                pAlloc->ReleaseNode(pNode);
            else
                delete pNode;
            pNode = nullptr;
        } else {
            pNode->ClearValues(m_pView);
        }
    } else {
        pNode = nullptr;
    }
    m_pos.Clear();
    m_pos.m_pNode = pNode;
    m_bReposition = FALSE;
    m_nDetached = 0;
    return -1;
}

void CViewRow::Assign(const CViewRow& other)
{
    if (&other == this)
        return;
    Reset(TRUE);
    m_pView = other.m_pView;
    m_marks.Free();
    if (other.IsOwned()) {
        NewNode(nullptr);
        m_pos.m_pNode->CopyFrom(*other.m_pos.m_pNode, m_pView, 0);
    } else if (!other.m_nDetached) {
        m_pos = other.m_pos;
    }
}

void CViewRow::Rebind(CViewTable* pView)
{
    Reset(TRUE);
    m_pView = pView;
    m_marks.Free();
}

void CViewRow::SetPosition(const CRowPosition& pos)
{
    if (pos.m_pNode != m_pos.m_pNode)
        Reset(TRUE);
    m_pos = pos;
}

int CViewRow::AssignRowId()
{
    CTableRow* pNode = m_pos.m_pNode;
    // A row that has an id keeps it, also while it moves: equal keys keep their order.
    if (!pNode || !m_pView || pNode->m_nRowId >= 0)
        return -1;
    pNode->m_nRowId = m_pView->NextRowId();
    return pNode->m_nRowId;
}

BOOL CViewRow::RefreshPosition()
{
    if (!IsInTree())
        return FALSE;
    if (!m_pos.IsDataRow())
        return TRUE;            // sum, total and empty lines stay where the cursor found them
    CRowPosition pos;
    if (!m_pView->GetRowTree().PositionOf(m_pos.m_pNode, &pos)) {
        m_pos.Clear();
        return FALSE;
    }
    m_pos = pos;
    return TRUE;
}

void CViewRow::SetEditable(BOOL bEditable)
{
    if (CTableRow* pNode = EnsureNode())
        pNode->SetEditable(bEditable);
}

BOOL CViewRow::IsMarked()
{
    CTableRow* pNode = EnsureNode();
    return pNode && pNode->IsMarked();
}

TBCellSlot* CViewRow::LockValues()
{
    CTableRow* pNode = EnsureNode();
    if (!pNode)
        return nullptr;
    ITreeAlloc* pAlloc = m_pView->GetAllocator();
    return pAlloc ? pAlloc->LockValues(pNode) : pNode->GetData();
}

void CViewRow::UnlockValues(TBCellSlot* pValues)
{
    ITreeAlloc* pAlloc = m_pView ? m_pView->GetAllocator() : nullptr;
    if (pAlloc && m_pos.m_pNode)
        pAlloc->UnlockValues(m_pos.m_pNode, pValues);
}

BOOL CViewRow::GetText(CTBString& strText, int nCol)
{
    strText.Empty();
    CTableRow* pNode = m_pos.m_pNode;
    const CTableColumn* pColumn = m_pView ? m_pView->GetColumns().GetColumn(nCol) : nullptr;
    if (!pNode || !pColumn)
        return FALSE;
    int nSize = pColumn->m_nSize > 0 ? pColumn->m_nSize : 1;
    std::vector<char> buffer(static_cast<size_t>(nSize), '\0');
    pNode->GetCellText(buffer.data(), nSize, nCol, pColumn, m_pView);
    strText = buffer.data();
    return TRUE;
}

void CViewRow::SetMarked(BOOL bMarked)
{
    CTableRow* pNode = EnsureNode();
    if (!pNode || pNode->IsMarked() == (bMarked ? TRUE : FALSE))
        return;
    SetRowMarked(m_pView, pNode, bMarked);
    if (!IsInTree() || m_bPending)
        return;
    // In marked-rows mode the mark decides whether the row shows: it moves in or out at once.
    if (m_pView->GetSumMode() != 0)
        MoveNow();
    else if (!m_pView->IsSuspended() && RefreshPosition())
        m_pView->NotifyRowChanged(pNode, m_pos.m_nIndex, -1);
}

void CViewRow::SetStatusChar(char chStatus)
{
    CTableRow* pNode = EnsureNode();
    if (!pNode)
        return;
    pNode->SetStatus(chStatus);
    if (IsInTree() && !m_pView->IsSuspended() && RefreshPosition())
        m_pView->StampRowChanged(pNode, m_pos.m_nIndex, -1);
}

void CViewRow::SetMarkable(BOOL bMarkable)
{
    if (CTableRow* pNode = EnsureNode())
        pNode->SetFlag(ROW_MARKABLE, bMarkable);
}

void CViewRow::SetCategoryBits(DWORD dwBits)
{
    if (CTableRow* pNode = EnsureNode())
        pNode->SetCategory(dwBits);
}

BOOL CViewRow::HasFilterOn(int nCol) const
{
    CTableFilters* pFilters = m_pView ? m_pView->GetFilters() : nullptr;
    if (!pFilters)
        return FALSE;
    if (nCol >= 0)
        return pFilters->HasFilterOn(nCol);
    for (int i = 0; i < m_pView->GetColumnCount(); ++i)
        if (pFilters->HasFilterOn(i))
            return TRUE;
    return FALSE;
}

BOOL CViewRow::WouldMove(int nCol, const void* pValue, int nFlags, BOOL bFraction)
{
    CTableRow* pNode = m_pos.m_pNode;
    if (!pNode || !IsInTree() || !m_pView)
        return FALSE;
    const CTableColumns& columns = m_pView->GetColumns();
    const TBCellSlot* pData = pNode->GetData();
    if (nCol < 0) {
        if (!(nFlags & WRITE_RAW))
            return FALSE;
        const TBCellSlot* pNew = static_cast<const TBCellSlot*>(pValue);
        if (!pData || !pNew)
            return pData != pNew;
        for (int i = 0; i < columns.GetCount(); ++i)
            if (columns.IsKeyColumn(i) && columns.RawSlotDiffers(&pData[i], &pNew[i], i))
                return TRUE;
        return FALSE;
    }
    if (nCol >= columns.GetCount() || !columns.IsKeyColumn(nCol))
        return FALSE;
    if ((nFlags & WRITE_FRACTION) && columns[nCol]->GetDataType() == COLTYPE_INT32
        && pNode->IsFraction(nCol) != (bFraction ? TRUE : FALSE))
        return TRUE;
    if (!pData)
        return FALSE;
    if ((nFlags & WRITE_RAW) && pValue)
        return columns.RawSlotDiffers(&pData[nCol], static_cast<const TBCellSlot*>(pValue), nCol);
    if (nFlags & WRITE_VALUE)
        return columns.SlotDiffers(&pData[nCol], pValue, nCol);
    return FALSE;
}

int CViewRow::AddMoveWalks(int nCol, const void* pValue, int nFlags, CTouchWalk* aWalks, int nRoom)
{
    CTableRow* pNode = m_pos.m_pNode;
    if (!pNode || !m_pView || !IsInTree())
        return 0;
    CTableGroups& tree = m_pView->GetRowTree();
    int nWalks = tree.AddRemoveWalks(pNode, aWalks, nRoom);
    CPackedKey key;
    if (nWalks > 0 && nCol >= 0 && (nFlags & (WRITE_RAW | WRITE_VALUE))
        && m_pView->GetColumns().PackSortKeyAfter(pNode, nCol, pValue, (nFlags & WRITE_RAW) != 0, &key))
        nWalks += tree.AddInsertWalk(key, pNode->m_nRowId, aWalks + nWalks, nRoom - nWalks);
    return nWalks;
}

// Sum, total and empty lines take attributes only.
int CViewRow::EffectiveFlags(int, int nFlags) const
{
    if (IsValid() && !m_pos.IsDataRow())
        nFlags &= ~WRITE_VALUES;
    return nFlags;
}

BOOL CViewRow::Validate(int nCol, const void* pValue, const void*, int nFlags)
{
    CTableRow* pNode = m_pos.m_pNode;
    if (!pNode || !m_pView)
        return FALSE;
    int nEffective = EffectiveFlags(nCol, nFlags);
    if (nEffective == 0)
        return FALSE;
    const CTableColumns& columns = m_pView->GetColumns();
    if (nCol >= columns.GetCount())
        return FALSE;
    if (nCol < 0) {
        // A whole-row write needs a block; per-cell attributes need a column.
        if ((nEffective & WRITE_RAW) && !pValue)
            return FALSE;
        if (nEffective & (WRITE_VALUE | WRITE_FRACTION))
            return FALSE;
        return TRUE;
    }
    if ((nEffective & (WRITE_RAW | WRITE_VALUE)) && !pNode->GetData())
        return FALSE;
    // A raw 32-bit slot may not replace the pointer of a value kept out of line.
    if ((nEffective & WRITE_RAW) && (!pValue || columns[nCol]->GetStorageSize() > 0))
        return FALSE;
    return TRUE;
}

void CViewRow::Prepare(int nCol, const void* pValue, const void* pAttrs, int nFlags)
{
    CTableRow* pNode = m_pos.m_pNode;
    int nEffective = EffectiveFlags(nCol, nFlags);
    if (!m_bPending) {
        m_bReposition = FALSE;
    } else if (!m_bReposition) {
        BOOL bFraction = pAttrs && nCol >= 0 ? static_cast<const CellAttrs*>(pAttrs)->bFraction : FALSE;
        if (WouldMove(nCol, pValue, nEffective, bFraction))
            m_bReposition = TRUE;
    }
    if (m_bPending && m_bReposition && !m_nDetached && IsInTree())
        Detach();
    if ((nEffective & WRITE_VALUES) && IsInTree() && !pNode->IsHidden() && !(m_bPending && m_bReposition))
        m_pView->GetRowTree().SubtractFromSums(pNode, nCol);
}

BOOL CViewRow::StoreValue(int nCol, const void* pValue, int nFlags)
{
    CTableRow* pNode = m_pos.m_pNode;
    if (!pNode || !m_pView)
        return FALSE;
    int nEffective = EffectiveFlags(nCol, nFlags);
    const CTableColumns& columns = m_pView->GetColumns();
    if (nCol < 0) {
        if (!(nEffective & WRITE_RAW))
            return FALSE;
        TBCellSlot* pOld = pNode->GetData();
        TBCellSlot* pNew = static_cast<TBCellSlot*>(const_cast<void*>(pValue));
        if (ITreeAlloc* pAlloc = m_pView->GetAllocator())
            pAlloc->SetNodeData(pNode, pNew);
        else
            pNode->SetData(pNew);
        if (m_pView->GetRowTree().HoldsRow(pNode) || m_nDetached)
            m_pView->GetRowTree().RebindBlock(pNode, pOld);
        MarkChanged(-1);
        return TRUE;
    }
    TBCellSlot* pData = pNode->GetData();
    if (!pData)
        return FALSE;
    if (nEffective & WRITE_RAW) {
        const TBCellSlot* pRaw = static_cast<const TBCellSlot*>(pValue);
        if (!columns.RawSlotDiffers(&pData[nCol], pRaw, nCol))
            return FALSE;
        pData[nCol].nValue = pRaw->nValue;
        MarkChanged(nCol);
        return TRUE;
    }
    if (nEffective & WRITE_VALUE) {
        if (!columns.SlotDiffers(&pData[nCol], pValue, nCol))
            return FALSE;
        columns.SetSlotValue(&pData[nCol], pValue, nCol);
        MarkChanged(nCol);
        return TRUE;
    }
    return FALSE;
}

BOOL CViewRow::ApplyCellAttributes(int nCol, int nColor, BOOL bBold, BOOL bFraction, int nFlags)
{
    CTableRow* pNode = m_pos.m_pNode;
    BYTE b0 = pNode->GetAttr(nCol, 0);
    BYTE b1 = pNode->GetAttr(nCol, 1);
    BYTE b2 = pNode->GetAttr(nCol, 2);
    if (nFlags & WRITE_BACKCOLOR)
        b0 = static_cast<BYTE>((b0 & ~CELL_BACK_MASK) | (nColor & CELL_BACK_MASK));
    if (nFlags & WRITE_TEXTCOLOR)
        b1 = static_cast<BYTE>((b1 & ~CELL_TEXT_MASK) | (nColor & CELL_TEXT_MASK));
    if (nFlags & WRITE_BOLD)
        b1 = static_cast<BYTE>(bBold ? (b1 | CELL_BOLD) : (b1 & ~CELL_BOLD));
    if (nFlags & WRITE_FRACTION)
        b2 = static_cast<BYTE>(bFraction ? (b2 | CELL_FRACTION) : (b2 & ~CELL_FRACTION));
    if (b0 == pNode->GetAttr(nCol, 0) && b1 == pNode->GetAttr(nCol, 1) && b2 == pNode->GetAttr(nCol, 2))
        return FALSE;
    pNode->SetAttr(nCol, 0, b0);
    pNode->SetAttr(nCol, 1, b1);
    pNode->SetAttr(nCol, 2, b2);
    MarkChanged(nCol);
    return TRUE;
}

BOOL CViewRow::ApplyAttributes(int nCol, const void* pAttrs, int nFlags)
{
    if (!pAttrs)
        return FALSE;
    if (nCol >= 0) {
        const CellAttrs* pCell = static_cast<const CellAttrs*>(pAttrs);
        return ApplyCellAttributes(nCol, pCell->nColor, pCell->bBold, pCell->bFraction, nFlags);
    }
    const CRowAttributes* pRow = static_cast<const CRowAttributes*>(pAttrs);
    BOOL bChanged = FALSE;
    for (int i = 0; i < m_pView->GetColumnCount(); ++i) {
        if (pRow->pTextColor)
            bChanged |= ApplyCellAttributes(i, pRow->pTextColor[i], FALSE, FALSE, nFlags & WRITE_TEXTCOLOR);
        if (pRow->pBackColor)
            bChanged |= ApplyCellAttributes(i, pRow->pBackColor[i], FALSE, FALSE, nFlags & WRITE_BACKCOLOR);
        if (pRow->pBold)
            bChanged |= ApplyCellAttributes(i, 0, pRow->pBold[i], FALSE, nFlags & WRITE_BOLD);
        if (pRow->pFraction)
            bChanged |= ApplyCellAttributes(i, 0, FALSE, pRow->pFraction[i], nFlags & WRITE_FRACTION);
    }
    return bChanged;
}

BOOL CViewRow::Commit(int nCol, const void*, const void* pAttrs, int nFlags)
{
    CTableRow* pNode = m_pos.m_pNode;
    if (!pNode || !m_pView)
        return FALSE;
    int nEffective = EffectiveFlags(nCol, nFlags);
    BOOL bAttributes = ApplyAttributes(nCol, pAttrs, nEffective);
    if (!IsInTree())
        return TRUE;
    if (!m_pos.IsDataRow()) {
        if (bAttributes && !m_bPending)
            m_pView->NotifyRowChanged(pNode, m_pos.m_nIndex, nCol);
        return TRUE;
    }
    CTableGroups& tree = m_pView->GetRowTree();
    // Indexes are worked out only for the sinks that hear them, and not inside an update: its
    // end finds the row's place once for every write it held.
    BOOL bTell = !m_bPending && m_pView->HasSinks() && !m_pView->IsSuspended() && RefreshPosition();
    BOOL bMove = FALSE;
    if (!m_bPending) {
        BOOL bWasMarked = pNode->IsMarked();
        m_pView->ClearChangeMarks();
        m_pView->FilterRow(pNode, -1);
        BYTE* pMarks = m_pView->GetChangeMarks();
        if (m_pView->GetCellEventMode() == 1 && pMarks && bTell) {
            BOOL bHit = FALSE;
            for (int i = 0; i < m_pView->GetColumnCount() && !bHit; ++i)
                bHit = pMarks[i] == MARK_CHANGED && (nCol < 0 || i == nCol);
            if (bHit)
                m_pView->GetEvents().FireRowInserted(pNode, m_pos.m_nIndex, nCol);
        }
        m_pView->ClearChangeMarks();
        m_pView->TouchRow(*this);
        if (bWasMarked && !pNode->IsMarked() && !HasFilterOn(nCol))
            SetRowMarked(m_pView, pNode, TRUE);
        if (pNode->IsMarked() != bWasMarked && m_pView->GetSumMode() != 0)
            bMove = TRUE;
        else if (!pNode->IsHidden() && bTell)
            m_pView->StampRowChanged(pNode, m_pos.m_nIndex, nCol);
    }
    if ((nEffective & WRITE_VALUES) && !pNode->IsHidden() && !(m_bPending && m_bReposition)) {
        tree.AddToSums(pNode, nCol);
        if (!m_bPending)
            tree.ReportSumLines(pNode);
    }
    if (bMove)
        MoveNow();
    return TRUE;
}

void CViewRow::Detach()
{
    if (m_pView->HasSinks())
        RefreshPosition();
    m_oldPos = m_pos;
    CTableGroups& tree = m_pView->GetRowTree();
    if (!tree.Remove(m_pos.m_pNode, 0))
        return;
    m_oldPos.m_nIndex = tree.GetPosition().m_nIndex;     // -1 for a row that showed no line
    m_nOldLines = tree.GetLastLines();
    m_nDetached = 1;
}

void CViewRow::Reinsert()
{
    m_nDetached = 0;
    m_pos.m_nKind = LINE_NONE;
    if (!m_pView->AddRow(*this)) {
        // Nothing refuses a row that was just in the tree; should it happen, the cursor owns it.
        m_pos.m_nKind = LINE_NONE;
    }
}

// A move outside an update: out and back in under the keys and marks, reported once.
void CViewRow::MoveNow()
{
    CTableGroups& tree = m_pView->GetRowTree();
    tree.HoldNotify();
    Detach();
    if (!m_nDetached) {
        tree.ReleaseNotify();
        return;
    }
    Reinsert();
    int nNewLines = tree.GetLastLines();
    tree.ReleaseNotify();
    if (!m_pView->HasSinks())
        return;
    RefreshPosition();
    CRowPosition posNew = m_pos;
    tree.OnRowUpdated(&m_oldPos, m_nOldLines, &posNew, nNewLines);
}

BOOL CViewRow::Write(int nCol, const void* pValue, int nColor, BOOL bBold, BOOL bFraction, int nFlags)
{
    if (!m_bPending && WouldMove(nCol, pValue, nFlags, bFraction)) {
        // A key changes: the row must move at once, not stay out of key order.
        BeginUpdate();
        BOOL bDone = Write(nCol, pValue, nColor, bBold, bFraction, nFlags);
        EndUpdate();
        return bDone;
    }
    CellAttrs attrs{nColor, bBold, bFraction};
    const void* pAttrs = nCol >= 0 ? static_cast<const void*>(&attrs) : nullptr;
    if (!Validate(nCol, pValue, pAttrs, nFlags))
        return FALSE;
    Prepare(nCol, pValue, pAttrs, nFlags);
    StoreValue(nCol, pValue, nFlags);
    return Commit(nCol, pValue, pAttrs, nFlags);
}

void CViewRow::BeginUpdate()
{
    if (m_bPending || !m_pView)
        return;
    m_bPending = TRUE;
    m_bReposition = FALSE;
    EnsureMarks();
    ClearMarks();
    m_bWasMarked = m_pos.m_pNode && m_pos.m_pNode->IsMarked();
    m_pView->GetRowTree().HoldNotify();
}

void CViewRow::EndUpdate()
{
    if (!m_bPending)
        return;
    CTableGroups& tree = m_pView->GetRowTree();
    CTableRow* pNode = m_pos.m_pNode;
    if (!pNode || (!IsInTree() && !m_nDetached)) {
        m_bPending = m_bReposition = FALSE;
        ClearMarks();
        tree.ReleaseNotify();
        return;
    }
    BOOL bTell = m_pView->HasSinks() && !m_pView->IsSuspended();
    if (bTell && !m_nDetached)
        RefreshPosition();
    int nChanged = CountChangedColumns();
    m_pView->ClearChangeMarks();
    if (m_pView->GetFilters())
        m_pView->FilterRow(pNode, -1);
    BOOL bRemark = TRUE;
    BYTE* pMarks = m_pView->GetChangeMarks();
    for (int i = 0; i < m_marks.GetCount(); ++i) {
        if (!m_marks.IsSet(i))
            continue;
        if (pMarks && pMarks[i] == MARK_CHANGED && m_pView->GetCellEventMode() == 1 && bTell)
            m_pView->GetEvents().FireRowInserted(pNode, m_pos.m_nIndex, i);
        if (HasFilterOn(i))
            bRemark = FALSE;
    }
    m_pView->ClearChangeMarks();
    if (m_bWasMarked && !pNode->IsMarked() && bRemark)
        SetRowMarked(m_pView, pNode, TRUE);
    if (nChanged > 0)
        m_pView->TouchRow(*this);
    BOOL bMarkChanged = pNode->IsMarked() != m_bWasMarked;
    if (nChanged == 0 && !m_bReposition && !bMarkChanged && !m_nDetached) {
        m_bPending = FALSE;
        ClearMarks();
        tree.ReleaseNotify();
        return;
    }
    if (bMarkChanged && m_pView->GetSumMode() != 0 && !m_nDetached && IsInTree())
        Detach();
    if (m_nDetached) {
        Reinsert();
        int nNewLines = tree.GetLastLines();
        tree.ReleaseNotify();
        if (bTell) {
            RefreshPosition();
            CRowPosition posNew = m_pos;
            const CTableRow* pWasNode = m_pView->m_pUpdatedNode;
            const CChangeBits* pWasChanges = m_pView->m_pUpdateChanges;
            m_pView->m_pUpdatedNode = pNode;
            m_pView->m_pUpdateChanges = &m_marks;
            tree.OnRowUpdated(&m_oldPos, m_nOldLines, &posNew, nNewLines);
            m_pView->m_pUpdatedNode = pWasNode;
            m_pView->m_pUpdateChanges = pWasChanges;
        }
    } else {
        tree.ReleaseNotify();
        if (IsInTree() && !pNode->IsHidden() && nChanged > 0 && tree.IsNotifying() && bTell) {
            int nColumns = m_marks.GetCount();
            if (nChanged == nColumns) {
                m_pView->StampRowChanged(pNode, m_pos.m_nIndex, -1);
            } else {
                for (int i = 0; i < nColumns; ++i)
                    if (m_marks.IsSet(i))
                        m_pView->StampRowChanged(pNode, m_pos.m_nIndex, i);
            }
            tree.ReportSumLines(pNode);
        }
    }
    m_bPending = FALSE;
    m_bReposition = FALSE;
    ClearMarks();
}
