#include "framework/table/Table.h"

CColumn::CColumn(CTable* pTable, int nCol) : m_pTable(pTable)
{
    if (!pTable)
        return;
    for (int i = 0; i < pTable->GetViewCount(); ++i) {
        CViewColumn* pColumn = new CViewColumn;
        if (!pTable->GetView(i)->GetColumn(nCol, *pColumn)) {
            delete pColumn;
            break;
        }
        m_columns.Add(pColumn);
    }
}

CColumn& CColumn::operator=(const CColumn& other)
{
    if (&other == this)
        return *this;
    m_columns.DeleteAll();
    m_pTable = other.m_pTable;
    for (const CViewColumn* pColumn : other.m_columns)
        m_columns.Add(new CViewColumn(*pColumn));
    return *this;
}

template <class TCall>
void CColumn::ForEachView(TCall&& call)
{
    for (CViewColumn* pColumn : m_columns) {
        if (!pColumn)
            break;
        call(*pColumn);
    }
}

void CColumn::SetSize(int nSize) { ForEachView([&](CViewColumn& c) { c.SetSize(nSize); }); }
void CColumn::SetWidth(int nWidth) { ForEachView([&](CViewColumn& c) { c.SetWidth(nWidth); }); }
void CColumn::SetFitWidth(BOOL bFit, BOOL bYields, BOOL bYieldsLast)
{
    ForEachView([&](CViewColumn& c) { c.SetFitWidth(bFit, bYields, bYieldsLast); });
}
void CColumn::SetDecimals(int nDecimals) { ForEachView([&](CViewColumn& c) { c.SetDecimals(nDecimals); }); }
void CColumn::SetOptionFlag(BOOL bFlag) { ForEachView([&](CViewColumn& c) { c.SetOptionFlag(bFlag); }); }
void CColumn::SetSummed(BOOL bSummed) { ForEachView([&](CViewColumn& c) { c.SetSummed(bSummed); }); }
void CColumn::SetDataType(int nType) { ForEachView([&](CViewColumn& c) { c.SetDataType(nType); }); }
void CColumn::SetComputed(TBCOLUMNFORMAT pfnFormat, int nUserValue)
{
    ForEachView([&](CViewColumn& c) { c.SetComputed(pfnFormat, nUserValue); });
}
void CColumn::SetUnit(int nUnitCol, TBUNITDECIMALS pfnDecimals)
{
    ForEachView([&](CViewColumn& c) { c.SetUnit(nUnitCol, pfnDecimals); });
}
void CColumn::SetAlignment(int nAlign) { ForEachView([&](CViewColumn& c) { c.SetAlignment(nAlign); }); }
void CColumn::SetTitle(const char* pszTitle, int nLanguage)
{
    ForEachView([&](CViewColumn& c) { c.SetTitle(pszTitle, nLanguage); });
}
void CColumn::SetName(const char* pszName) { ForEachView([&](CViewColumn& c) { c.SetName(pszName); }); }
void CColumn::SetHidden(BOOL bHidden) { ForEachView([&](CViewColumn& c) { c.SetHidden(bHidden); }); }
void CColumn::SetSortable(BOOL bSortable) { ForEachView([&](CViewColumn& c) { c.SetSortable(bSortable); }); }
void CColumn::SetUserSwitchable(BOOL bSwitchable) { ForEachView([&](CViewColumn& c) { c.SetUserSwitchable(bSwitchable); }); }
void CColumn::SetThousands(BOOL bThousands) { ForEachView([&](CViewColumn& c) { c.SetThousands(bThousands); }); }
void CColumn::SetOmitZeroFraction(int nMode) { ForEachView([&](CViewColumn& c) { c.SetOmitZeroFraction(nMode); }); }
void CColumn::SetMinDecimals(int nMin) { ForEachView([&](CViewColumn& c) { c.SetMinDecimals(nMin); }); }
void CColumn::SetBlankZero(BOOL bBlankZero) { ForEachView([&](CViewColumn& c) { c.SetBlankZero(bBlankZero); }); }

CViewColumn* CColumn::GetViewColumn() const
{
    int nView = m_pTable && m_pTable->GetCurrentView() ? m_pTable->FindView(m_pTable->GetCurrentView()) : 0;
    CViewColumn* pColumn = m_columns.GetAt(nView);
    return pColumn ? pColumn : m_columns.GetAt(0);
}

int CColumn::GetDisplayWidth() const { CViewColumn* p = GetViewColumn(); return p ? p->GetDisplayWidth() : 0; }
int CColumn::GetDecimals() const { CViewColumn* p = GetViewColumn(); return p ? p->GetDecimals() : 0; }
BOOL CColumn::IsHidden() const { CViewColumn* p = GetViewColumn(); return p && p->IsHidden(); }
BOOL CColumn::IsUserSwitchable() const { CViewColumn* p = GetViewColumn(); return p && p->IsUserSwitchable(); }
int CColumn::GetDataType() const { CViewColumn* p = GetViewColumn(); return p ? p->GetDataType() : 0; }
CTableColumn* CColumn::GetTableColumn() const { CViewColumn* p = GetViewColumn(); return p ? p->GetTableColumn() : nullptr; }

CTable::CTable()
{
    AddView("MyTable");
}

CTable::~CTable()
{
    m_views.DeleteAll();
}

void CTable::Reset()
{
    for (CViewTable* pView : m_views)
        pView->Reset();
    m_views.DeleteAll();
    m_nNextViewId = 1;
    m_nCurrent = -1;
    AddView("MyTable");
}

int CTable::AddView(const char* pszName)
{
    if (m_views.GetSize() > 0)
        return AddViewCopy(pszName, m_views[0]);
    CViewTable* pView = new CViewTable;
    pView->SetViewId(0);
    pView->SetName(pszName);
    pView->SetTable(this);
    return m_views.Add(pView);
}

int CTable::AddViewCopy(const char* pszName, CViewTable* pSource)
{
    if (!pSource || !pSource->IsOpen())
        return -1;
    if (m_views.GetSize() == 1 && (m_views[0]->m_bAllowCut || m_views[0]->m_bAllowPaste))
        return -1;
    CViewTable* pView = new CViewTable;
    if (!pView->CopyFrom(pszName, pSource, 0)) {
        delete pView;
        return -1;
    }
    pView->SetViewId(m_nNextViewId++);
    pView->SetTable(this);
    int nIndex = m_views.Add(pView);
    // Several windows on one set of rows: none may cut, paste or edit in place.
    if (m_views.GetSize() > 1)
        for (CViewTable* pEach : m_views)
            pEach->ResetColumnState();
    return nIndex;
}

CViewTable* CTable::CreateSnapshotView(int nFlags)
{
    CViewTable* pSource = GetCurrentView() ? GetCurrentView() : m_views.GetAt(0);
    if (!pSource)
        return nullptr;
    CTBString strName;
    strName.Format("%s_%s", GetName(), "Snapshot");
    CViewTable* pView = new CViewTable;
    CSnapAlloc alloc;
    pView->SetAllocator(alloc.Clone());
    // The snapshot's allocator frees its rows' blocks, so every row gets a copy of its own.
    if (!pView->CopyFrom(strName, pSource, nFlags | 1)) {
        delete pView;
        return nullptr;
    }
    pView->SetViewId(0);
    return pView;
}

BOOL CTable::RemoveView(CViewTable* pView)
{
    int nIndex = FindView(pView);
    if (nIndex < 0)
        return FALSE;
    m_views.DeleteAt(nIndex);
    if (m_nCurrent > nIndex)
        --m_nCurrent;
    if (m_nCurrent >= m_views.GetSize())
        m_nCurrent = 0;
    return TRUE;
}

int CTable::FindView(const CViewTable* pView) const
{
    if (!pView)
        return -1;
    for (int i = 0; i < m_views.GetSize(); ++i)
        if (m_views[i]->GetViewId() == pView->GetViewId())
            return i;
    return -1;
}

BOOL CTable::Open(const ITreeAlloc* pAlloc)
{
    return m_views.GetSize() == 1 && m_views[0]->Open(pAlloc);
}

void CTable::SetName(const char* pszName)
{
    if (CViewTable* pBase = m_views.GetAt(0))
        pBase->SetName(pszName);
}

const char* CTable::GetName() const
{
    CViewTable* pBase = m_views.GetAt(0);
    return pBase ? static_cast<const char*>(pBase->GetName()) : "";
}

CColumn CTable::AddColumn()
{
    CViewTable* pBase = m_views.GetAt(0);
    CViewColumn column;
    if (!pBase || !pBase->AddColumn(column))
        return CColumn();
    return CColumn(this, column.GetIndex());
}

CColumn CTable::GetColumn(int nCol)
{
    return CColumn(this, nCol);
}

int CTable::GetColumnCount() const
{
    CViewTable* pBase = m_views.GetAt(0);
    return pBase ? pBase->GetColumnCount() : 0;
}

CViewTable* CTable::GetReadView() const
{
    CViewTable* pView = GetCurrentView();
    return pView ? pView : m_views.GetAt(0);
}

int CTable::GetRowCount() const
{
    CViewTable* pView = GetReadView();
    return pView ? pView->GetRowCount() : 0;
}

void CTable::CreateViewRows(CRow& row, TBCellSlot* pValues)
{
    row.m_rows.DeleteAll();
    for (int i = 0; i < m_views.GetSize(); ++i)
        row.m_rows.Add(new CViewRow(m_views[i], pValues));
}

// Each view walks its tree for the row, one view after the other: walked in all views together
// first, the walks' cache misses overlap.
void CTable::TouchRowPaths(CRow& row, BOOL bInsert)
{
    CTouchWalk aWalks[TOUCH_WALKS_MAX];
    int nWalks = 0;
    for (int i = 0; i < m_views.GetSize(); ++i) {
        CTableRow* pNode = row.GetViewRow(i)->GetNode();
        CTableGroups& tree = m_views[i]->GetRowTree();
        CPackedKey key;
        if (!pNode)
            continue;
        if (!bInsert)
            nWalks += tree.AddRemoveWalks(pNode, aWalks + nWalks, TOUCH_WALKS_MAX - nWalks);
        else if (m_views[i]->GetColumns().GetPackedKey(pNode, &key))
            nWalks += tree.AddInsertWalk(key, pNode->m_nRowId, aWalks + nWalks, TOUCH_WALKS_MAX - nWalks);
        if (bInsert && nWalks > 0)
            tree.PrefetchIndex(pNode->GetData());
    }
    if (nWalks > 1)
        CAVLTree::TouchWalks(aWalks, nWalks);
}

BOOL CTable::InsertRow(CRow& row)
{
    if (m_views.GetSize() == 0 || row.GetViewCount() < m_views.GetSize())
        return FALSE;
    TouchRowPaths(row, /*bInsert=*/TRUE);
    for (int i = 0; i < m_views.GetSize(); ++i)
        if (!m_views[i]->InsertRow(*row.GetViewRow(i)))
            return FALSE;
    return TRUE;
}

BOOL CTable::DeleteRow(CRow& row)
{
    if (m_views.GetSize() == 0 || row.GetViewCount() < m_views.GetSize())
        return FALSE;
    if (row.GetViewRow(0)->IsInTree())
        TouchRowPaths(row, /*bInsert=*/FALSE);
    for (int i = 0; i < m_views.GetSize(); ++i)
        if (!m_views[i]->RemoveRow(*row.GetViewRow(i)))
            return FALSE;
    return TRUE;
}

void CTable::InsertRowAt(int nIndex, CRow& row)
{
    for (int i = 0; i < m_views.GetSize() && i < row.GetViewCount(); ++i)
        m_views[i]->InsertRowAt(nIndex, *row.GetViewRow(i));
}

// Views whose rows FindRow looks up in one pass; a table with more looks each up where it goes.
#define FIND_VIEWS_MAX 16

CRow CTable::FindRow(const CRow& row)
{
    CRow found;
    CreateViewRows(found, nullptr);
    CViewRow* pKey = row.GetViewRow(0);
    if (!pKey || !pKey->GetNode())
        return found;
    // Each view's lookup misses the cache twice (index entry, then row): all index entries are
    // fetched before the first is read, and all rows before the first is used, so that the waits
    // overlap instead of adding up. Each index is read once; the block comes along, as the write
    // that follows reads it.
    int nViews = m_views.GetSize();
    CTableRow* apHeld[FIND_VIEWS_MAX];
    BOOL bHeld = nViews <= FIND_VIEWS_MAX;
    const TBCellSlot* pBlock = pKey->GetNode()->GetData();
    if (pBlock) {
        __builtin_prefetch(pBlock);
        for (CViewTable* pView : m_views)
            pView->GetRowTree().PrefetchIndex(pBlock);
    }
    if (bHeld) {
        for (int i = 0; i < nViews; ++i) {
            apHeld[i] = m_views[i]->GetRowTree().FindLikelyByBlock(pBlock);
            if (apHeld[i])
                __builtin_prefetch(apHeld[i]);
        }
    }
    for (int i = 0; i < nViews; ++i) {
        CViewRow& target = *found.GetViewRow(i);
        if (bHeld) {
            apHeld[i] = m_views[i]->GetRowTree().ConfirmByBlock(pBlock, apHeld[i]);
            // The write stamps the row in its side record: fetched while the other views look.
            if (apHeld[i])
                apHeld[i]->PrefetchSide();
        }
        BOOL bFound = bHeld ? m_views[i]->LocateRow(target, *pKey, apHeld[i]) : m_views[i]->LocateRow(target, *pKey);
        if (!bFound && i == 0)
            return found;
    }
    return found;
}

BOOL CTable::LocateRows(CRow& row, CViewTable* pFrom, CTableRow* pNode)
{
    CreateViewRows(row, nullptr);
    int nFrom = FindView(pFrom);
    if (nFrom < 0 || !pNode)
        return FALSE;
    CRowPosition pos;
    if (!pFrom->GetRowTree().PositionOf(pNode, &pos))
        return FALSE;
    row.GetViewRow(nFrom)->SetPosition(pos);
    for (int i = 0; i < m_views.GetSize(); ++i) {
        if (i == nFrom)
            continue;
        CRowPosition other;
        if (m_views[i]->GetRowTree().LocateRow(pNode, &other))
            row.GetViewRow(i)->SetPosition(other);
    }
    return TRUE;
}

CRow CTable::GetRowAt(int nIndex)
{
    CRow row;
    CreateViewRows(row, nullptr);
    CViewTable* pView = GetReadView();
    CRowPosition pos;
    if (!pView || !pView->GetRowTree().LocateByIndex(nIndex, &pos))
        return row;
    if (!pos.IsDataRow()) {
        row.GetViewRow(FindView(pView))->SetPosition(pos);
        return row;
    }
    LocateRows(row, pView, pos.m_pNode);
    return row;
}

void CTable::RemoveAllRows()
{
    for (CViewTable* pView : m_views)
        pView->RemoveAllRows();
}

template <class TCall>
void CTable::ForTargetViews(TCall&& call)
{
    if (CViewTable* pCurrent = GetCurrentView()) {
        call(*pCurrent);
        return;
    }
    for (CViewTable* pView : m_views)
        call(*pView);
}

void CTable::SetFixedColumnCount(int nCount) { ForTargetViews([&](CViewTable& v) { v.SetFixedColumnCount(nCount); }); }

int CTable::SetDefaultSortColumns(const CSortColumns& keys)
{
    int nCount = 0;
    ForTargetViews([&](CViewTable& v) { nCount = v.SetDefaultSortColumns(keys); });
    return nCount;
}

void CTable::SetTitle(const char* pszTitle, int nLanguage) { ForTargetViews([&](CViewTable& v) { v.SetTitle(pszTitle, nLanguage); }); }
void CTable::SetShowHeader(BOOL bShow) { ForTargetViews([&](CViewTable& v) { v.SetShowHeader(bShow); }); }
void CTable::SetAllowFixedColumns(BOOL bAllow) { ForTargetViews([&](CViewTable& v) { v.SetAllowFixedColumns(bAllow); }); }
void CTable::SetGroupHeaderMode(int nMode) { ForTargetViews([&](CViewTable& v) { v.SetGroupHeaderMode(nMode); }); }
void CTable::SetTotalsMode(int nMode) { ForTargetViews([&](CViewTable& v) { v.SetTotalsMode(nMode); }); }

void CTable::SetAllowCut(BOOL bAllow)
{
    if (bAllow && m_views.GetSize() > 1)
        return;
    ForTargetViews([&](CViewTable& v) { v.m_bAllowCut = bAllow; });
}

void CTable::SetAllowPaste(BOOL bAllow)
{
    if (bAllow && m_views.GetSize() > 1)
        return;
    ForTargetViews([&](CViewTable& v) { v.m_bAllowPaste = bAllow; });
}
