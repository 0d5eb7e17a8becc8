#include "framework/table/Row.h"
#include <algorithm>
#include <cstring>
#include "framework/table/Table.h"

void CViewRowList::Add(CViewRow* pRow)
{
    if (m_nCount == m_nCapacity) {
        int nCapacity = m_nCapacity * 2;
        CViewRow** ppMore = new CViewRow*[static_cast<size_t>(nCapacity)];
        std::copy(begin(), end(), ppMore);
        delete[] m_ppMore;
        m_ppMore = ppMore;
        m_nCapacity = nCapacity;
    }
    (m_ppMore ? m_ppMore : m_apInline)[m_nCount++] = pRow;
}

void CViewRowList::DeleteAll()
{
    for (CViewRow* pRow : *this)
        delete pRow;
    delete[] m_ppMore;
    m_ppMore = nullptr;
    m_nCount = 0;
    m_nCapacity = INLINE_VIEWS;
}

CRow::CRow(CTable* pTable, TBCellSlot* pValues)
{
    if (pTable)
        pTable->CreateViewRows(*this, pValues);
}

void CRow::Assign(const CRow& other)
{
    if (&other == this)
        return;
    m_rows.DeleteAll();
    for (const CViewRow* pRow : other.m_rows)
        m_rows.Add(pRow ? new CViewRow(*pRow) : new CViewRow);
}

void CRow::NewNodes(TBCellSlot* pValues)
{
    for (CViewRow* pRow : m_rows)
        pRow->NewNode(pValues);
}

void CRow::SetEditable(BOOL bEditable)
{
    for (CViewRow* pRow : m_rows)
        pRow->SetEditable(bEditable);
}

BOOL CRow::IsValid() const
{
    return m_rows.GetSize() > 0 && m_rows[0]->IsValid();
}

BOOL CRow::IsDataRow() const
{
    return IsValid() && m_rows[0]->IsDataRow();
}

TBCellSlot* CRow::LockValues()
{
    return m_rows.GetSize() > 0 ? m_rows[0]->LockValues() : nullptr;
}

void CRow::UnlockValues(TBCellSlot* pValues)
{
    if (m_rows.GetSize() > 0)
        m_rows[0]->UnlockValues(pValues);
}

BOOL CRow::GetText(CTBString& strText, int nCol)
{
    return m_rows.GetSize() > 0 && m_rows[0]->GetText(strText, nCol);
}

void CRow::Reset()
{
    for (CViewRow* pRow : m_rows) {
        if (!pRow)
            break;
        pRow->Reset(FALSE);
    }
}

void CRow::BeginUpdate()
{
    for (CViewRow* pRow : m_rows)
        pRow->BeginUpdate();
}

void CRow::EndUpdate()
{
    FinishUpdate(/*bTouch=*/TRUE);
}

void CRow::FinishUpdate(BOOL bTouch)
{
    // The rows taken out for a move go back in view after view, each walking down its tree:
    // walked down together first (by the new keys), their cache misses overlap.
    CTouchWalk aWalks[TOUCH_WALKS_MAX];
    int nWalks = 0;
    for (CViewRow* pRow : m_rows) {
        CPackedKey key;
        if (bTouch && pRow->m_nDetached && pRow->GetNode()
            && pRow->GetView()->GetColumns().GetPackedKey(pRow->GetNode(), &key))
            nWalks += pRow->GetView()->GetRowTree().AddInsertWalk(key, pRow->GetNode()->m_nRowId, aWalks + nWalks,
                                                                  TOUCH_WALKS_MAX - nWalks);
    }
    if (nWalks > 1)
        CAVLTree::TouchWalks(aWalks, nWalks);
    for (CViewRow* pRow : m_rows)
        pRow->EndUpdate();
}

int CRow::FindMoving(int nCol, const void* pValue, int nFlags, CViewRow** apRows, int nMax)
{
    int nMoving = 0;
    for (CViewRow* pRow : m_rows) {
        if (!pRow->WouldMove(nCol, pValue, nFlags, FALSE))
            continue;
        if (nMoving < nMax)
            apRows[nMoving] = pRow;
        ++nMoving;
    }
    return nMoving;
}

BOOL CRow::WriteAll(int nCol, const void* pValue, int nFlags, int nMode)
{
    int nViews = m_rows.GetSize();
    if (nViews == 0)
        return FALSE;
    CViewRow* apMoving[TOUCH_WALKS_MAX];
    int nMoving = m_rows[0]->IsUpdatePending() ? 0 : FindMoving(nCol, pValue, nFlags, apMoving, TOUCH_WALKS_MAX);
    if (nMoving > 0) {
        // A key changes outside an update: wrap the write in one, so each view moves the row once.
        // The views take the row out and put it back one after the other, each walking its tree
        // up, then down to the new place; walked in all views together first, the walks' cache
        // misses overlap.
        BOOL bTouched = nMoving > 1 && nMoving <= TOUCH_WALKS_MAX;
        if (bTouched) {
            CTouchWalk aWalks[TOUCH_WALKS_MAX];
            int nWalks = 0;
            for (int i = 0; i < nMoving; ++i)
                nWalks += apMoving[i]->AddMoveWalks(nCol, pValue, nFlags, aWalks + nWalks, TOUCH_WALKS_MAX - nWalks);
            if (nWalks > 1)
                CAVLTree::TouchWalks(aWalks, nWalks);
        }
        BeginUpdate();
        BOOL bDone = WriteAll(nCol, pValue, nFlags, nMode);
        FinishUpdate(/*bTouch=*/!bTouched);
        return bDone;
    }
    if (nMode == 1)
        for (CViewRow* pRow : m_rows)
            if (pRow->IsUpdatePending())
                pRow->SetReposition();
    for (CViewRow* pRow : m_rows)
        if (!pRow->Validate(nCol, pValue, nullptr, nFlags))
            return FALSE;
    for (CViewRow* pRow : m_rows)
        pRow->Prepare(nCol, pValue, nullptr, nFlags);
    BOOL bStored = m_rows[0]->StoreValue(nCol, pValue, nFlags);
    for (int i = 1; i < nViews; ++i) {
        if (nCol < 0 && (nFlags & WRITE_RAW))
            m_rows[i]->StoreValue(nCol, pValue, nFlags);
        else if (bStored)
            m_rows[i]->MarkChanged(nCol);
    }
    for (CViewRow* pRow : m_rows)
        if (!pRow->Commit(nCol, pValue, nullptr, nFlags))
            return FALSE;
    return TRUE;
}

BOOL CRow::SetCell(int nCol, int32_t nValue, int nMode)
{
    TBCellSlot slot{};
    slot.nValue = nValue;
    return WriteAll(nCol, &slot, WRITE_RAW, nMode);
}

BOOL CRow::UpdateCell(int nCol, const void* pValue)
{
    return WriteAll(nCol, pValue, WRITE_VALUE, 0);
}

BOOL CRow::SetRowValues(TBCellSlot* pValues)
{
    if (!pValues)
        return FALSE;
    for (CViewRow* pRow : m_rows)
        if (!pRow->GetNode())
            pRow->NewNode(pValues);
    return WriteAll(-1, pValues, WRITE_RAW, 0);
}

BOOL CRow::SetCellFromBuffer(int nCol, const CTBString& strText)
{
    CViewRow* pBase = m_rows.GetAt(0);
    const CTableColumn* pColumn = pBase && pBase->GetView() ? pBase->GetView()->GetColumns().GetColumn(nCol) : nullptr;
    if (!pColumn)
        return FALSE;
    const char* pszText = strText;
    size_t nLength = strlen(pszText);
    switch (pColumn->GetDataType()) {
    case COLTYPE_CHAR4:
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
    case COLTYPE_COMPUTED: {
        char achSlot[4] = {};
        memcpy(achSlot, pszText, nLength < 4 ? nLength : 4);
        int32_t nValue;
        memcpy(&nValue, achSlot, sizeof nValue);
        return SetCell(nCol, nValue);
    }
    case COLTYPE_STRING:
        return UpdateCell(nCol, pszText);
    case COLTYPE_PACKED_DATETIME:
    case COLTYPE_DATE_TEXT:
    case COLTYPE_TIME_TEXT:
    case COLTYPE_DATETIME_TEXT: {
        // Fixed widths: a shorter text is padded, never read past its end.
        char achFixed[16] = {};
        memcpy(achFixed, pszText, nLength < 14 ? nLength : 14);
        return UpdateCell(nCol, achFixed);
    }
    default:
        return FALSE;
    }
}

BOOL CRow::SetCellTextColor(int nCol, int nColor)
{
    BOOL bAll = m_rows.GetSize() > 0;
    for (CViewRow* pRow : m_rows)
        bAll = pRow->SetCellTextColor(nCol, nColor) && bAll;
    return bAll;
}

BOOL CRow::SetCellBackColor(int nCol, int nColor)
{
    BOOL bAll = m_rows.GetSize() > 0;
    for (CViewRow* pRow : m_rows)
        bAll = pRow->SetCellBackColor(nCol, nColor) && bAll;
    return bAll;
}
