#include "framework/table/ViewTable.h"
#include <cstring>
#include <ctime>
#include "framework/base/ColumnValues.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/Row.h"
#include "framework/table/Table.h"
#include "framework/table/TableArchive.h"
#include "framework/table/TableFilters.h"
#include "framework/table/TablePlatform.h"
#include "framework/table/ViewColumn.h"

static CViewTable::MEMORYLOADPROC s_pfnMemoryLoad = TableMemoryLoad;

void CViewTable::SetMemoryLoadProc(MEMORYLOADPROC pfnProc)
{
    s_pfnMemoryLoad = pfnProc ? pfnProc : TableMemoryLoad;
}

CViewTable::CViewTable()
{
    m_order.SetView(this);
}

CViewTable::~CViewTable()
{
    m_events.FireViewDestroyed();
    m_rows.RemoveAll();
    // The columns go before the tree does: it must not reach for them any more.
    m_rows.SetView(nullptr);
    delete m_pFilters;
    m_pFilters = nullptr;
    delete m_pAlloc;
    m_pAlloc = nullptr;
    delete[] m_pChangeMarks;
}

void CViewTable::ClearChangeMarks()
{
    if (m_pChangeMarks)
        memset(m_pChangeMarks, MARK_UNCHANGED, static_cast<size_t>(m_columns.GetCount()));
}

BOOL CViewTable::Open(const ITreeAlloc* pAlloc)
{
    if (m_bOpen || m_columns.GetCount() == 0 || m_pAlloc)
        return FALSE;
    m_pAlloc = pAlloc ? pAlloc->Clone() : new CTreeAlloc;
    if (m_order.GetCount() != m_columns.GetCount())
        m_order.Rebuild(m_columns);
    m_rows.SetView(this);
    delete[] m_pChangeMarks;
    m_pChangeMarks = new BYTE[static_cast<size_t>(m_columns.GetCount())];
    ClearChangeMarks();
    m_bOpen = TRUE;
    return TRUE;
}

BOOL CViewTable::SetAllocator(ITreeAlloc* pAlloc)
{
    if (m_bOpen || m_pAlloc) {
        delete pAlloc;
        return FALSE;
    }
    m_pAlloc = pAlloc;
    return TRUE;
}

void CViewTable::Reset()
{
    m_rows.RemoveAll();
    m_order.Clear();
    m_columns.DeleteAll();
    m_columns.m_sortKeys.Clear();
    m_columns.m_groupKeys.Clear();
    m_columns.m_defaultKeys.Clear();
    m_columns.m_nFixed = 0;
    delete m_pAlloc;
    m_pAlloc = nullptr;
    delete m_pFilters;
    m_pFilters = nullptr;
    m_bOpen = FALSE;
    m_strName.Empty();
    delete[] m_pChangeMarks;
    m_pChangeMarks = nullptr;
}

void CViewTable::CheckMemory()
{
    int nLines = m_rows.GetCount();
    // Each thousand read once: a table that keeps its size by inserting and deleting around a
    // round number must not read the memory status at every insert.
    if (nLines == 0 || nLines % 1000 != 0 || nLines == m_nGuardMark)
        return;
    m_nGuardMark = nLines;
    double dUsed = 0;
    if (s_pfnMemoryLoad(&dUsed) && dUsed >= 98.0)
        m_events.FireMemoryLow(static_cast<int>(dUsed));
}

// Steps shared by the inserts: id, hidden bit in marked-rows mode, the sorted insert.
int CViewTable::InsertNode(CViewRow& row, BOOL bEvents)
{
    CTableRow* pNode = row.GetNode();
    if (m_nSumMode == 1)
        pNode->SetFlag(ROW_HIDDEN, !pNode->IsMarked());
    else
        pNode->SetFlag(ROW_HIDDEN, FALSE);
    if (!bEvents)
        m_rows.HoldNotify();
    int nResult = m_rows.Insert(pNode);
    if (!bEvents)
        m_rows.ReleaseNotify();
    if (nResult)
        row.SetPosition(m_rows.GetPosition());
    return nResult;
}

int CViewTable::InsertRow(CViewRow& row)
{
    if (!m_bOpen || !row.GetNode() || row.IsInTree() || row.GetView() != this)
        return 0;
    CheckMemory();
    row.AssignRowId();
    ClearChangeMarks();
    FilterRow(row.GetNode(), -1);
    TouchRow(row);
    int nResult = InsertNode(row, TRUE);
    if (nResult && m_nCellEvents == 1 && m_pChangeMarks) {
        int nCol = 0;
        while (nCol < m_columns.GetCount() && m_pChangeMarks[nCol] != MARK_CHANGED)
            ++nCol;
        m_events.FireRowInserted(row.GetNode(), row.GetIndex(), nCol);
    }
    ClearChangeMarks();
    return nResult;
}

int CViewTable::AddRow(CViewRow& row)
{
    // Puts back a row that moved: the table does not grow, so the memory guard stays quiet.
    if (!m_bOpen || !row.GetNode())
        return 0;
    row.AssignRowId();
    return InsertNode(row, FALSE);
}

BOOL CViewTable::InsertRowAt(int nIndex, CViewRow& row)
{
    if (!m_bOpen || !row.GetNode() || !row.GetNode()->GetData() || row.IsInTree() || row.GetView() != this)
        return FALSE;
    CheckMemory();
    row.AssignRowId();
    TouchRow(row);
    CTableRow* pNode = row.GetNode();
    pNode->SetFlag(ROW_HIDDEN, m_nSumMode == 1 && !pNode->IsMarked());
    if (!m_rows.InsertAt(nIndex, pNode))
        return FALSE;
    row.SetPosition(m_rows.GetPosition());
    return TRUE;
}

int CViewTable::RemoveRow(CViewRow& row)
{
    CTableRow* pNode = row.GetNode();
    if (!pNode || row.GetView() != this || !row.IsValid())
        return 0;
    if (row.m_nDetached) {
        // Taken out for a move that will not happen now: the index must not keep naming the
        // node, which the allocator hands out again for another row.
        row.m_nDetached = 0;
        row.m_pos.Clear();
        m_rows.ForgetDetached(pNode);
        if (m_pAlloc)
            m_pAlloc->ReleaseNode(pNode);
        return 1;
    }
    if (!m_rows.Remove(pNode, 1))
        return 0;
    row.m_pos.Clear();
    row.m_bPending = FALSE;
    return 1;
}

BOOL CViewTable::DeleteRowAt(int nIndex)
{
    return m_rows.RemoveAt(nIndex) != 0;
}

BOOL CViewTable::GetRow(CViewRow& row, int nIndex)
{
    row.Rebind(this);
    CRowPosition pos;
    if (!m_rows.LocateByIndex(nIndex, &pos))
        return FALSE;
    row.SetPosition(pos);
    return TRUE;
}

BOOL CViewTable::LocateRow(CViewRow& row, const CViewRow& other)
{
    CTableRow* pKey = other.GetNode();
    return LocateRow(row, other, pKey ? m_rows.FindByBlock(pKey->GetData()) : nullptr);
}

BOOL CViewTable::LocateRow(CViewRow& row, const CViewRow& other, CTableRow* pHeld)
{
    row.Rebind(this);
    CRowPosition pos;
    if (!other.GetNode() || !m_rows.LocateRow(other.GetNode(), pHeld, &pos, /*bIndex=*/FALSE))
        return FALSE;
    row.SetPosition(pos);
    return TRUE;
}

void CViewTable::TouchRow(CViewRow& row)
{
    CTableRow* pNode = row.GetNode();
    if (!pNode)
        return;
    pNode->SetStamp(static_cast<int64_t>(time(nullptr)));
    if (m_bRowAlerts && pNode->IsMarked()) {
        BOOL bHandled = FALSE;
        m_events.FireRowAlert(&row, &bHandled);
        if (!bHandled && GetNorvGlobals().m_bBeep)
            TableBeep();
    }
}

void CViewTable::RemoveAllRows()
{
    // One rebuild for the sinks instead of a removal per row.
    ++m_nSuspend;
    m_rows.RemoveAll();
    --m_nSuspend;
    m_events.FireFilterChanged();
}

void CViewTable::GetRowStatistics(CRowStatistics* pStats)
{
    *pStats = CRowStatistics();
    if (m_bOpen)
        m_rows.CountRows(pStats);
}

BOOL CViewTable::ForEachRow(ITableArchive* pArchive)
{
    if (!pArchive)
        return FALSE;
    if (m_bWriteTitleLine && !pArchive->WriteHeader(m_columns))
        return FALSE;
    return m_rows.ForEachRow([pArchive](CTableRow* pRow) { return pArchive->WriteRow(pRow) != 0; });
}

static BOOL ReadTitleFlag(ITableArchive* pArchive, const CTableColumns& columns)
{
    char szLine[257];
    if (!pArchive->ReadString(szLine, sizeof szLine))
        return FALSE;
    size_t nLength = strlen(szLine);
    while (nLength > 0 && (szLine[nLength - 1] == '\n' || szLine[nLength - 1] == '\r'))
        szLine[--nLength] = '\0';
    if (nLength > 0 && szLine[nLength - 1] == '1')
        return pArchive->ReadHeader(columns) != 0;
    return TRUE;
}

BOOL CViewTable::ReadRows(ITableArchive* pArchive)
{
    return ReadRowsAt(pArchive, -1);
}

BOOL CViewTable::ReadRowsAt(ITableArchive* pArchive, int nIndex)
{
    if (!pArchive || !m_bOpen || !ReadTitleFlag(pArchive, m_columns))
        return FALSE;
    // A refused line is passed over, and the import then reports that it was not whole.
    BOOL bWhole = TRUE;
    for (;;) {
        CViewRow row(this);
        int nRead = pArchive->ReadRow(row);
        if (nRead == 0)
            break;
        if (nRead < 0) {
            bWhole = FALSE;
            continue;
        }
        BOOL bInserted = nIndex < 0 ? InsertRow(row) != 0 : InsertRowAt(nIndex, row);
        if (!bInserted)
            bWhole = FALSE;
        else if (nIndex >= 0)
            ++nIndex;
    }
    return bWhole;
}

void CViewTable::SetFilters(CTableFilters* pFilters)
{
    if (pFilters == m_pFilters)
        return;
    delete m_pFilters;
    m_pFilters = pFilters;
}

BOOL CViewTable::ApplyFilters(CTableFilters* pFilters)
{
    if (!pFilters)
        return TRUE;
    pFilters->ResetCounters();
    BOOL bResult = m_rows.ApplyFilter(pFilters);
    if (m_nSumMode != 0 && pFilters->GetMode() == FILTER_MARK) {
        m_rows.RecalcTableGroups();
        m_events.FireFilterChanged();
    }
    return bResult;
}

BOOL CViewTable::ReapplyFilters()
{
    return m_pFilters ? ApplyFilters(m_pFilters) : TRUE;
}

void CViewTable::FilterRow(CTableRow* pRow, int nIndex)
{
    if (!m_pFilters || !pRow)
        return;
    int nMode = m_pFilters->GetMode();
    m_pFilters->SetMode(FILTER_MARK);
    m_pFilters->ResetCounters();
    m_pFilters->VisitRow(pRow, nIndex);
    m_pFilters->ResetCounters();
    m_pFilters->SetMode(nMode);
}

// The key lists as Sort and Resort take them; keys naming no column are dropped.
void CViewTable::TakeKeys(const CSortColumns& keys, BOOL bGroup, BOOL bKeepGrouping)
{
    BOOL bWasGrouped = m_columns.m_groupKeys.GetCount() > 0;
    m_columns.m_groupKeys.Clear();
    m_columns.m_sortKeys.Clear();
    for (int i = 0; i < keys.GetCount(); ++i)
        if (keys.GetAt(i).m_nColumn >= 0 && keys.GetAt(i).m_nColumn < m_columns.GetCount())
            m_columns.m_sortKeys.Add(keys.GetAt(i));
    m_columns.m_bDefaultOrder = m_columns.m_sortKeys.GetCount() == 0;
    m_columns.AppendDefaultKeys();
    BOOL bGrouped = bKeepGrouping ? bWasGrouped : bGroup;
    if (bGrouped && m_columns.m_sortKeys.GetCount() > 0)
        m_columns.m_groupKeys.Add(m_columns.m_sortKeys.GetAt(0));
}

void CViewTable::RebuildTree()
{
    m_events.FireSortChanging();
    if (m_bOpen)
        m_rows.Resort();
    m_events.FireSortChanged(&m_columns.m_sortKeys);
}

int CViewTable::Sort(const CSortColumns& keys, BOOL bGroup)
{
    TakeKeys(keys, bGroup, FALSE);
    RebuildTree();
    return m_columns.m_sortKeys.GetCount();
}

int CViewTable::Resort(const CSortColumns& keys)
{
    TakeKeys(keys, FALSE, TRUE);
    RebuildTree();
    return m_columns.m_sortKeys.GetCount();
}

void CViewTable::Resort()
{
    RebuildTree();
}

int CViewTable::SetDefaultSortColumns(const CSortColumns& keys)
{
    CSortColumns before(m_columns.m_sortKeys);
    m_columns.m_defaultKeys.Clear();
    for (int i = 0; i < keys.GetCount(); ++i)
        if (keys.GetAt(i).m_nColumn >= 0 && keys.GetAt(i).m_nColumn < m_columns.GetCount())
            m_columns.m_defaultKeys.Add(keys.GetAt(i));
    m_columns.AppendDefaultKeys();
    // Rows already held must follow the longer key list.
    if (m_bOpen && m_rows.GetRoot() && !(before == m_columns.m_sortKeys))
        RebuildTree();
    return m_columns.m_defaultKeys.GetCount();
}

void CViewTable::SetLoading(BOOL bLoading)
{
    if (bLoading == m_bLoading)
        return;
    m_bLoading = bLoading;
    if (!bLoading)
        m_events.FireLoadEnded();
}

void CViewTable::NotifyRowChanged(CTableRow* pNode, int nIndex, int nCol)
{
    if (m_nSuspend == 0)
        m_events.FireRowChanged(pNode, nIndex, nCol);
}

void CViewTable::StampRowChanged(CTableRow* pNode, int nIndex, int nCol)
{
    if (m_nSuspend > 0)
        return;
    if (pNode)
        pNode->SetStamp(static_cast<int64_t>(time(nullptr)));
    m_events.FireRowChanged(pNode, nIndex, nCol);
}

void CViewTable::NotifyRowLookChanged(CTableRow* pNode, int nIndex)
{
    if (m_nSuspend > 0)
        return;
    const BOOL bWas = m_bLookOnly;
    m_bLookOnly = TRUE;
    m_events.FireRowChanged(pNode, nIndex, -1);
    m_bLookOnly = bWas;
}

void CViewTable::NotifyRowMoved(CRowPosition* pOld, int nOldLines, CRowPosition* pNew, int nNewLines)
{
    if (m_nSuspend == 0)
        m_events.FireRowMoved(pOld, nOldLines, pNew, nNewLines);
}

void CViewTable::NotifyRowsRemoved(int nIndex, int nLines)
{
    if (m_nSuspend == 0)
        m_events.FireRowsRemoved(nIndex, nLines);
}

BOOL CViewTable::CopyFrom(const char* pszName, CViewTable* pSource, int nFlags)
{
    if (m_bOpen || !pSource || !pSource->m_bOpen || pSource->m_columns.GetCount() == 0)
        return FALSE;
    m_strName = pszName;
    m_strTitle[0] = pSource->m_strTitle[0];
    m_strTitle[1] = pSource->m_strTitle[1];
    m_bShowHeader = pSource->m_bShowHeader;
    m_bHideOnClose = pSource->m_bHideOnClose;
    m_bAllowFixedColumns = pSource->m_bAllowFixedColumns;
    m_bAllowCut = pSource->m_bAllowCut;
    m_bAllowPaste = pSource->m_bAllowPaste;
    m_nGroupHeaderMode = pSource->m_nGroupHeaderMode;
    m_nTotalsMode = pSource->m_nTotalsMode;
    m_nSumMode = pSource->m_nSumMode;
    m_bAllowSortDialog = pSource->m_bAllowSortDialog;
    m_bRowAlerts = pSource->m_bRowAlerts;
    m_bWriteTitleLine = pSource->m_bWriteTitleLine;
    m_nSuspend = pSource->m_nSuspend;
    m_nNextRowId = pSource->m_nNextRowId;
    m_columns.Assign(pSource->m_columns);
    if (!m_pAlloc)
        m_pAlloc = pSource->m_pAlloc->Clone();
    m_order.Rebuild(m_columns);
    m_order.CopyFrom(pSource->m_order);
    delete[] m_pChangeMarks;
    m_pChangeMarks = new BYTE[static_cast<size_t>(m_columns.GetCount())];
    ClearChangeMarks();
    m_rows.SetView(this);
    m_rows.CopyRows(&pSource->m_rows, nFlags);
    if (!m_pFilters && pSource->m_pFilters) {
        CTableFilters* pFilters = new CTableFilters;
        if (pFilters->Init(this, pSource->m_pFilters))
            m_pFilters = pFilters;
        else
            delete pFilters;
    }
    m_bOpen = TRUE;
    return TRUE;
}

BOOL CViewTable::SetCellTextAt(int nIndex, int nCol, const char* pszText)
{
    CRowPosition pos;
    CTableColumn* pColumn = m_columns.GetColumn(nCol);
    if (!pszText || !pColumn || !m_rows.LocateByIndex(nIndex, &pos) || !pos.IsDataRow() || !pos.m_pNode->GetData())
        return FALSE;
    // Parsed aside: a text the column refuses changes nothing.
    TBCellSlot* pParsed = pColumn->AllocValue();
    BOOL bParsed = pColumn->ParseCellText(pParsed, pColumn->GetDecimals(pos.m_pNode->IsFraction(nCol)), pszText);
    if (bParsed) {
        const void* pValue = pColumn->GetStorageSize() > 0 ? pParsed->pData : static_cast<const void*>(&pParsed->nValue);
        // Through the row's cursors, so that every view sharing the cell re-sorts, re-sums and reports.
        CRow row;
        if (m_pTable && m_pTable->LocateRows(row, this, pos.m_pNode)) {
            row.BeginUpdate();
            bParsed = row.UpdateCell(nCol, pValue);
            row.EndUpdate();
        } else {
            CViewRow cursor(this);
            cursor.SetPosition(pos);
            cursor.BeginUpdate();
            bParsed = cursor.Write(nCol, pValue, 0, FALSE, FALSE, WRITE_VALUE);
            cursor.EndUpdate();
        }
    }
    CTableColumn::FreeValue(pParsed);
    return bParsed;
}
