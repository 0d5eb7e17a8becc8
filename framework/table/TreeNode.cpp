#include "framework/table/TreeNode.h"
#include <cstring>
#include "framework/base/ColumnValues.h"
#include "framework/table/NodePool.h"
#include "framework/table/TableColumns.h"
#include "framework/table/ViewTable.h"

CTableTreeNode::~CTableTreeNode()
{
    if (CNodeSide* pSide = Side()) {
        delete[] pSide->pAttrs;
        pSide->~CNodeSide();
        CNodePool::Free(pSide, sizeof(CNodeSide));
    }
}

CNodeSide& CTableTreeNode::MakeSide()
{
    if (CNodeSide* pSide = Side())
        return *pSide;
    CNodeSide* pSide = new (CNodePool::Allocate(sizeof(CNodeSide))) CNodeSide;
    m_nSide = CNodePool::LinkOf(pSide);
    return *pSide;
}

void CTableTreeNode::ResetSide()
{
    if (CNodeSide* pSide = Side()) {
        delete[] pSide->pAttrs;
        *pSide = CNodeSide();
    }
}

void CTableTreeNode::AllocAttributes(int nColumns)
{
    CNodeSide* pSide = Side();
    if (!pSide && nColumns <= 0)
        return;
    pSide = &MakeSide();
    delete[] pSide->pAttrs;
    pSide->pAttrs = nullptr;
    pSide->nAttrColumns = nColumns > 0 ? nColumns : 0;
}

void CTableTreeNode::CopyAttributes(const CTableTreeNode& other)
{
    AllocAttributes(other.GetAttrColumns());
    const CNodeSide* pOther = other.Side();
    if (pOther && pOther->pAttrs) {
        CNodeSide* pSide = Side();
        pSide->pAttrs = new BYTE[static_cast<size_t>(pSide->nAttrColumns) * 3];
        memcpy(pSide->pAttrs, pOther->pAttrs, static_cast<size_t>(pSide->nAttrColumns) * 3);
    }
}

void CTableTreeNode::SetAttr(int nCol, int nByte, BYTE b)
{
    CNodeSide* pSide = Side();
    if (!pSide || nCol < 0 || nCol >= pSide->nAttrColumns)
        return;
    if (!pSide->pAttrs) {
        if (b == 0)
            return;
        pSide->pAttrs = new BYTE[static_cast<size_t>(pSide->nAttrColumns) * 3]();
    }
    pSide->pAttrs[nCol * 3 + nByte] = b;
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
    if (!bDone && pColumn->m_nUnitColumn >= 0) {
        // An amount in its row's unit: that unit's decimals, every one of them shown; a sum line
        // without a unit of its own shows the column's, every one, as its rows show theirs.
        const int nDecimals = pColumn->GetRowDecimals(pValues, IsFraction(nCol));
        CColumnDataType type(*pColumn);
        if (nDecimals < 0) {
            type.SetMinDecimals(-nDecimals);
            type.SetOmitZeroFraction(0);
        }
        FormatColumnValue(pszBuf, nSize, &pValues[nCol], nDecimals, type);
        bDone = TRUE;
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
static_assert(sizeof(CNodeSide) <= CNodePool::SLOT_SIZE / 2, "a side record fits half a slot");

CTableRow::CTableRow()
{
    m_bKind = NODE_ROW;
    m_bFlags = ROW_MARKABLE | ROW_SORTED;
}

void CTableRow::ResetRow()
{
    if (CNodeSide* pSide = Side()) {
        pSide->dwCategory = 0;
        pSide->chStatus = ' ';
        pSide->tStamp = 0;
    }
    m_nRowId = -1;
    m_bFlags = static_cast<BYTE>((m_bFlags & ROW_KEPT_BITS) | ROW_MARKABLE | ROW_SORTED);
}

void CTableRow::ClearValues(CViewTable* pView)
{
    ResetRow();
    SetGroup(nullptr);
    m_chKey1 = m_chKey2 = 0;
    if (pView) {
        AllocAttributes(pView->GetColumnCount());
        Init(nullptr);
    }
}

void CTableRow::Recycle()
{
    ClearLinks();
    ResetSide();
    SetData(nullptr);
    m_nRowId = -1;
    m_bFlags = ROW_MARKABLE | ROW_SORTED;
    m_chKey1 = m_chKey2 = 0;
}

void CTableRow::SetCategory(DWORD dwCategory)
{
    if (dwCategory != 0 || Side())
        MakeSide().dwCategory = dwCategory;
}

void CTableRow::SetStatus(char chStatus)
{
    if (chStatus != ' ' || Side())
        MakeSide().chStatus = chStatus;
}

void CTableRow::SetStamp(int64_t tStamp)
{
    if (tStamp != 0 || Side())
        MakeSide().tStamp = tStamp;
}

void CTableRow::SetGroup(CTableGroup* pGroup)
{
    if (pGroup || Side())
        MakeSide().nGroup = CNodePool::LinkOf(pGroup);
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
    for (int i = 0; i < GetAttrColumns(); ++i)
        for (int b = 0; b < 3; ++b)
            SetAttr(i, b, src.GetAttr(i, b));
    const BYTE bCopied = ROW_EDITABLE | ROW_HIDDEN | ROW_SORTED | ROW_MARKABLE | ROW_MARKED;
    m_bFlags = static_cast<BYTE>((m_bFlags & ~bCopied) | (src.m_bFlags & bCopied));
    SetStatus(src.GetStatus());
    m_nRowId = src.m_nRowId;
    if (nFlags & 2)
        SetCategory((src.IsHidden() ? 1u : 0u) | (src.IsMarked() ? 0u : 2u));
    else
        SetCategory(src.GetCategory());
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
