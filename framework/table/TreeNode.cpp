#include "framework/table/TreeNode.h"
#include <cstring>
#include "framework/base/ColumnValues.h"
#include "framework/table/NodePool.h"
#include "framework/table/TableColumns.h"
#include "framework/table/ViewTable.h"

CTableTreeNode::~CTableTreeNode()
{
    delete[] m_pAttrs;
}

void CTableTreeNode::AllocAttributes(int nColumns)
{
    delete[] m_pAttrs;
    m_pAttrs = nullptr;
    m_nAttrColumns = nColumns > 0 ? nColumns : 0;
}

void CTableTreeNode::CopyAttributes(const CTableTreeNode& other)
{
    AllocAttributes(other.m_nAttrColumns);
    if (other.m_pAttrs) {
        m_pAttrs = new BYTE[static_cast<size_t>(m_nAttrColumns) * 3];
        memcpy(m_pAttrs, other.m_pAttrs, static_cast<size_t>(m_nAttrColumns) * 3);
    }
}

void CTableTreeNode::SetAttr(int nCol, int nByte, BYTE b)
{
    if (nCol < 0 || nCol >= m_nAttrColumns)
        return;
    if (!m_pAttrs) {
        if (b == 0)
            return;
        m_pAttrs = new BYTE[static_cast<size_t>(m_nAttrColumns) * 3]();
    }
    m_pAttrs[nCol * 3 + nByte] = b;
}

void CTableTreeNode::GetCellText(char* pszBuf, int nSize, int nCol, const CTableColumn* pColumn, CViewTable* pView)
{
    if (!pszBuf || nSize <= 0)
        return;
    pszBuf[0] = '\0';
    if (!pColumn || !pView || nCol < 0 || nCol >= pView->GetColumnCount())
        return;
    ITreeAlloc* pAlloc = pView->GetAllocator();
    TBCellSlot* pValues = pAlloc ? pAlloc->LockValues(this) : GetData();
    if (!pValues)
        return;
    BOOL bDone = FALSE;
    if (pColumn->GetDataType() == COLTYPE_COMPUTED && pColumn->m_pfnFormat && GetKind() == NODE_ROW) {
        bDone = pColumn->m_pfnFormat(pszBuf, nSize, pValues, pColumn->m_nUserValue);
        pszBuf[nSize - 1] = '\0';
    }
    if (!bDone)
        FormatColumnValue(pszBuf, nSize, &pValues[nCol], pColumn->GetDecimals(IsFraction(nCol)), *pColumn);
    if (pAlloc)
        pAlloc->UnlockValues(this, pValues);
}

BOOL CTableTreeNode::SetCellText(const char* pszText, int nCol, const CTableColumn* pColumn, CViewTable* pView)
{
    if (!pszText || !pColumn || !pView || nCol < 0 || nCol >= pView->GetColumnCount())
        return FALSE;
    TBCellSlot* pValues = GetData();
    if (!pValues)
        return FALSE;
    // Parsed aside first: a text the column refuses leaves the cell as it was.
    TBCellSlot* pParsed = pColumn->AllocValue();
    BOOL bParsed = pColumn->ParseCellText(pParsed, pColumn->GetDecimals(IsFraction(nCol)), pszText);
    if (bParsed) {
        const void* pValue = pColumn->GetStorageSize() > 0 ? pParsed->pData : static_cast<const void*>(&pParsed->nValue);
        pView->GetColumns().SetSlotValue(&pValues[nCol], pValue, nCol);
    }
    CTableColumn::FreeValue(pParsed);
    return bParsed;
}

static_assert(sizeof(CTableRow) <= CNodePool::SLOT_SIZE, "a row node fits a pool slot");

void* CTableRow::operator new(size_t nSize)
{
    return nSize <= CNodePool::SLOT_SIZE ? CNodePool::Allocate() : ::operator new(nSize);
}

void CTableRow::operator delete(void* p, size_t nSize)
{
    if (nSize <= CNodePool::SLOT_SIZE)
        CNodePool::Free(p);
    else
        ::operator delete(p);
}

CTableRow::CTableRow()
{
    m_bKind = NODE_ROW;
    m_bFlags = ROW_MARKABLE | ROW_SORTED;
}

void CTableRow::ResetRow()
{
    m_dwCategory = 0;
    m_nRowId = -1;
    m_chStatus = ' ';
    m_bFlags = static_cast<BYTE>((m_bFlags & ROW_KEPT_BITS) | ROW_MARKABLE | ROW_SORTED);
    m_tStamp = 0;
}

void CTableRow::ClearValues(CViewTable* pView)
{
    ResetRow();
    m_pGroup = nullptr;
    m_chKey1 = m_chKey2 = 0;
    if (pView) {
        AllocAttributes(pView->GetColumnCount());
        Init(nullptr);
    }
}

void CTableRow::Recycle()
{
    ClearLinks();
    AllocAttributes(0);
    SetData(nullptr);
    m_dwCategory = 0;
    m_nRowId = -1;
    m_chStatus = ' ';
    m_bFlags = ROW_MARKABLE | ROW_SORTED;
    m_tStamp = 0;
    m_pGroup = nullptr;
    m_chKey1 = m_chKey2 = 0;
}

void CTableRow::SetEditable(BOOL bEditable)
{
    SetFlag(ROW_EDITABLE, bEditable);
}

void CTableRow::CopyFrom(const CTableRow& src, CViewTable* pView, int nFlags)
{
    ClearValues(pView);
    ITreeAlloc* pAlloc = pView ? pView->GetAllocator() : nullptr;
    if (!(nFlags & 1)) {
        if (pAlloc)
            pAlloc->SetNodeData(this, src.GetData());
        else
            SetData(src.GetData());
    } else if (pAlloc && pView) {
        TBCellSlot* pValues = pAlloc->AllocValues(&pView->GetColumns());
        if (pValues)
            pView->GetColumns().CopyRowValues(pValues, src.GetData());
        pAlloc->SetNodeData(this, pValues);
    }
    if (!pView)
        CopyAttributes(src);
    for (int i = 0; i < m_nAttrColumns; ++i)
        for (int b = 0; b < 3; ++b)
            SetAttr(i, b, src.GetAttr(i, b));
    const BYTE bCopied = ROW_EDITABLE | ROW_HIDDEN | ROW_SORTED | ROW_MARKABLE | ROW_MARKED;
    m_bFlags = static_cast<BYTE>((m_bFlags & ~bCopied) | (src.m_bFlags & bCopied));
    m_chStatus = src.m_chStatus;
    m_nRowId = src.m_nRowId;
    if (nFlags & 2)
        m_dwCategory = (src.IsHidden() ? 1u : 0u) | (src.IsMarked() ? 0u : 2u);
    else
        m_dwCategory = src.m_dwCategory;
}

CTableRowEmpty::CTableRowEmpty()
{
    m_bKind = NODE_EMPTY;
    SetFlag(ROW_EDITABLE | ROW_MARKABLE, FALSE);
}

void CTableRowEmpty::ResetRow()
{
    CTableRow::ResetRow();
    SetFlag(ROW_EDITABLE | ROW_MARKABLE, FALSE);
}

void CTableRowEmpty::GetCellText(char* pszBuf, int nSize, int, const CTableColumn*, CViewTable*)
{
    if (pszBuf && nSize > 0)
        pszBuf[0] = '\0';
}
