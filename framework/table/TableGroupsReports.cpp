// The grouped tree's sums and reports, recomputations, copies and walks.
#include "framework/table/TableGroups.h"
#include "framework/table/ViewTable.h"

static BOOL ShowsSums(int nTotals)
{
    return nTotals == 1 || nTotals == 3;
}

void CTableGroups::AddToSums(CTableRow* pRow, int nCol)
{
    if (pRow->GetGroup())
        pRow->GetGroup()->m_sum.AddRow(pRow, m_pView, nCol);
    m_total.AddRow(pRow, m_pView, nCol);
}

void CTableGroups::SubtractFromSums(CTableRow* pRow, int nCol)
{
    if (pRow->GetGroup())
        pRow->GetGroup()->m_sum.SubtractRow(pRow, m_pView, nCol);
    m_total.SubtractRow(pRow, m_pView, nCol);
}

void CTableGroups::ReportSumLines(CTableRow* pRow)
{
    if (!m_pView->HasSinks())
        return;
    CTableGroup* pGroup = pRow->GetGroup();
    if (pGroup && Contains(pGroup) && ShowsSums(m_nTotalsMode)) {
        int nRows = pGroup->m_rows.GetCount();
        if (nRows > 1 || IsCustomMode())
            m_pView->StampRowChanged(&pGroup->m_sum, GetIndexOf(pGroup) + nRows, -1);
    }
    if (HasTotalLine())
        m_pView->StampRowChanged(&m_total, GetTotalLineIndex(), -1);
}

// The lines of a top-level node whose look depends on its group's size.
void CTableGroups::ReportAround(CTreeNode* pTop)
{
    if (!pTop || !Contains(pTop))
        return;
    if (pTop->GetKind() != NODE_GROUP)
        return;
    CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
    int nRows = pGroup->m_rows.GetCount();
    if (nRows == 0)
        return;
    int nStart = GetIndexOf(pGroup);
    if (ShowsSums(m_nTotalsMode) && (nRows > 1 || IsCustomMode()))
        m_pView->StampRowChanged(&pGroup->m_sum, nStart + nRows, -1);
    if (m_nHeaderMode == 1 && m_nTotalsMode == 0)
        m_pView->NotifyRowLookChanged(static_cast<CTableRow*>(pGroup->m_rows.GetAt(nRows - 1)), nStart + nRows - 1);
}

void CTableGroups::ReportLineAt(int nIndex)
{
    CRowPosition pos;
    if (!LocateByIndex(nIndex, &pos))
        return;
    if (pos.m_pGroup)
        ReportAround(pos.m_pGroup);
    else if (pos.IsDataRow())
        m_pView->NotifyRowLookChanged(pos.m_pNode, pos.m_nIndex);
}

void CTableGroups::OnRowUpdated(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines)
{
    if (!m_pView || !IsNotifying() || !m_pView->HasSinks())
        return;
    pOld->m_pGroup = nullptr;           // the old group may be gone
    if (pNew->m_pNode && pNew->m_pNode->IsHidden())
        pNew->m_nIndex = -1;            // the row shows no line now
    if (pOld->m_nIndex != pNew->m_nIndex || nOldLines != nNewLines) {
        m_pView->NotifyRowMoved(pOld, nOldLines, pNew, nNewLines);
    } else if (pNew->m_pNode && !pNew->m_pNode->IsHidden()) {
        m_pView->StampRowChanged(pNew->m_pNode, pNew->m_nIndex, -1);
    }
    // Neighbours of the old place (shifted when the row now stands before it) and of the new.
    if (pOld->m_nIndex >= 0) {
        int nOld = pOld->m_nIndex + (pNew->m_nIndex >= 0 && pNew->m_nIndex < pOld->m_nIndex ? nNewLines : 0);
        ReportLineAt(nOld - 1);
        ReportLineAt(nOld);
    }
    if (pNew->m_pNode && pNew->m_pNode->GetGroup())
        ReportAround(pNew->m_pNode->GetGroup());
    if (HasTotalLine())
        m_pView->StampRowChanged(&m_total, GetTotalLineIndex(), -1);
}

void CTableGroups::RecalcTableGroups()
{
    if (!m_pView)
        return;
    RefreshMode();
    m_total.Reset(m_pView);
    BOOL bMarkedMode = m_pView->GetSumMode() == 1;
    for (CTreeNode* pTop = First(); pTop; pTop = Next(pTop)) {
        if (pTop->GetKind() == NODE_GROUP) {
            CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
            pGroup->m_sum.Reset(m_pView);
            pGroup->m_rows.RefreshHidden(&pGroup->m_sum, &m_total);
        } else {
            CTableRow* pRow = static_cast<CTableRow*>(pTop);
            BOOL bHide = bMarkedMode && !pRow->IsMarked();
            pRow->SetFlag(ROW_HIDDEN, bHide);
            if (!bHide)
                m_total.AddRow(pRow, m_pView, -1);
        }
    }
    RecalcAllWeights();
}

void CTableGroups::RecalcTableGroupsByMask(DWORD dwMask)
{
    if (!m_pView)
        return;
    RefreshMode();
    m_total.Reset(m_pView);
    for (CTreeNode* pTop = First(); pTop; pTop = Next(pTop)) {
        if (pTop->GetKind() == NODE_GROUP) {
            CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
            pGroup->m_sum.Reset(m_pView);
            pGroup->m_rows.HideByCategory(&pGroup->m_sum, &m_total, dwMask);
        } else {
            CTableRow* pRow = static_cast<CTableRow*>(pTop);
            BOOL bHide = dwMask == 0xffffffff || (pRow->GetCategory() & dwMask) != 0;
            pRow->SetFlag(ROW_HIDDEN, bHide);
            if (!bHide)
                m_total.AddRow(pRow, m_pView, -1);
        }
    }
    RecalcAllWeights();
}

BOOL CTableGroups::CopyRows(CTableGroups* pSource, int nFlags)
{
    if (!pSource || !m_pView)
        return FALSE;
    HoldNotify();
    RemoveAll();
    ITreeAlloc* pAlloc = GetAllocator();
    BOOL bDone = pSource->ForEachRow([&](CTableRow* pSourceRow) {
        CTableRow* pRow = static_cast<CTableRow*>(pAlloc ? pAlloc->CreateNode(NODE_ROW) : new CTableRow);
        if (!pRow)
            return FALSE;
        pRow->CopyFrom(*pSourceRow, m_pView, nFlags);
        if (!Insert(pRow))
            ReleaseRow(pRow, 1);
        return TRUE;
    });
    ReleaseNotify();
    return bDone;
}

void CTableGroups::CountRows(CRowStatistics* pStats)
{
    *pStats = CRowStatistics();
    for (CTreeNode* pTop = First(); pTop; pTop = Next(pTop))
        if (pTop->GetKind() == NODE_GROUP)
            ++pStats->nGroups;
    ForEachRow([pStats](CTableRow* pRow) {
        ++pStats->nRows;
        if (pRow->IsMarked())
            ++pStats->nMarked;
        else
            ++pStats->nUnmarked;
        if (pRow->IsHidden())
            ++pStats->nHidden;
        return TRUE;
    });
}

int CTableGroups::ApplyFilter(ITreeVisitor* pFilters)
{
    RefreshMode();
    return WalkRange(pFilters, 0);
}

BOOL CTableGroups::VisitNode(ITreeVisitor* pVisitor, CTreeNode* pNode, int nIndex)
{
    if (pNode->GetKind() == NODE_GROUP)
        return static_cast<CTableGroup*>(pNode)->m_rows.WalkRange(pVisitor, nIndex) != 0;
    return pVisitor->VisitNode(pNode, nIndex);
}

BOOL CTableGroups::SetCellTextAt(int nIndex, int nCol, const char* pszText)
{
    return m_pView ? m_pView->SetCellTextAt(nIndex, nCol, pszText) : FALSE;
}
