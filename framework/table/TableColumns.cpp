#include "framework/table/TableColumns.h"
#include <cstring>
#include <utility>
#include "framework/base/ColumnValues.h"
#include "framework/base/Ini.h"
#include "framework/table/TableKeys.h"
#include "framework/table/TreeNode.h"

#define COLUMN_COUNT_MAX 99

void CTableColumns::Assign(const CTableColumns& other)
{
    if (&other == this)
        return;
    DeleteAll();
    SetSize(0, 8);
    for (const CTableColumn* pColumn : other)
        Add(pColumn ? CloneColumn(*pColumn) : new CTableColumn);
    m_nFixed = other.m_nFixed;
    m_bDefaultOrder = other.m_bDefaultOrder;
    m_sortKeys.Assign(other.m_sortKeys);
    m_groupKeys.Assign(other.m_groupKeys);
    m_defaultKeys.Assign(other.m_defaultKeys);
}

static size_t SlotsOf(int nBytes)
{
    return (static_cast<size_t>(nBytes) + sizeof(TBCellSlot) - 1) / sizeof(TBCellSlot);
}

size_t CTableColumns::GetRowValuesSize() const
{
    size_t nSlots = static_cast<size_t>(GetCount());
    for (const CTableColumn* pColumn : *this)
        nSlots += SlotsOf(pColumn->GetStorageSize());
    return nSlots * sizeof(TBCellSlot);
}

TBCellSlot* CTableColumns::AllocRowValues(BOOL bHeader) const
{
    int nColumns = GetCount();
    if (nColumns == 0)
        return nullptr;
    size_t nSlots = GetRowValuesSize() / sizeof(TBCellSlot) + (bHeader ? 1 : 0);
    TBCellSlot* pBlock = new TBCellSlot[nSlots]();
    TBCellSlot* pCells = pBlock + (bHeader ? 1 : 0);
    TBCellSlot* pStorage = pCells + nColumns;
    for (int i = 0; i < nColumns; ++i) {
        int nBytes = (*this)[i]->GetStorageSize();
        if (nBytes > 0) {
            pCells[i].pData = pStorage;
            pStorage += SlotsOf(nBytes);
        }
    }
    return pBlock;
}

void CTableColumns::FreeRowValues(TBCellSlot* pBlock)
{
    delete[] pBlock;
}

// Bytes a value of this type copies into its out-of-line storage (texts aside).
static int FixedStorageBytes(int nType)
{
    switch (nType) {
    case COLTYPE_INT64:
    case COLTYPE_DOUBLE:
    case COLTYPE_DATE_TEXT:
        return 8;
    case COLTYPE_PACKED_DATETIME:
    case COLTYPE_TIME_TEXT:
        return 6;
    case COLTYPE_DATETIME_TEXT:
        return 14;
    default:
        return 0;
    }
}

static BOOL IsSlotType(int nType)
{
    switch (nType) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_CHAR4:
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
    case COLTYPE_NONE:
    case COLTYPE_COMPUTED:
        return TRUE;
    default:
        return FALSE;
    }
}

void CTableColumns::SetSlotValue(TBCellSlot* pSlot, const void* pValue, int nCol) const
{
    const CTableColumn* pColumn = GetAt(nCol);
    if (!pSlot || !pColumn)
        return;
    int nType = pColumn->GetDataType();
    if (IsSlotType(nType)) {
        int32_t nValue = 0;
        if (pValue)
            memcpy(&nValue, pValue, sizeof nValue);
        pSlot->nValue = nValue;
        return;
    }
    if (!pSlot->pData)
        return;
    if (nType == COLTYPE_STRING) {
        int nSize = pColumn->m_nSize > 0 ? pColumn->m_nSize : 1;
        char* pszBuf = static_cast<char*>(pSlot->pData);
        memset(pszBuf, 0, static_cast<size_t>(nSize));
        if (pValue)
            strncpy(pszBuf, static_cast<const char*>(pValue), static_cast<size_t>(nSize - 1));
        return;
    }
    int nBytes = FixedStorageBytes(nType);
    if (nBytes == 0)
        return;
    if (pValue)
        memcpy(pSlot->pData, pValue, static_cast<size_t>(nBytes));
    else
        memset(pSlot->pData, 0, static_cast<size_t>(nBytes));
}

BOOL CTableColumns::SlotDiffers(const TBCellSlot* pSlot, const void* pValue, int nCol) const
{
    const CTableColumn* pColumn = GetAt(nCol);
    if (!pSlot || !pColumn)
        return FALSE;
    int nType = pColumn->GetDataType();
    if (IsSlotType(nType)) {
        int32_t nValue = 0;
        if (pValue)
            memcpy(&nValue, pValue, sizeof nValue);
        return pSlot->nValue != nValue;
    }
    if (!pSlot->pData)
        return FALSE;
    static const char s_zero[16] = {};
    if (nType == COLTYPE_STRING) {
        const char* pszNew = pValue ? static_cast<const char*>(pValue) : "";
        size_t nMax = static_cast<size_t>(pColumn->m_nSize > 0 ? pColumn->m_nSize - 1 : 0);
        return strncmp(static_cast<const char*>(pSlot->pData), pszNew, nMax) != 0;
    }
    int nBytes = FixedStorageBytes(nType);
    return nBytes > 0 && memcmp(pSlot->pData, pValue ? pValue : s_zero, static_cast<size_t>(nBytes)) != 0;
}

BOOL CTableColumns::RawSlotDiffers(const TBCellSlot* pSlot, const TBCellSlot* pOther, int nCol) const
{
    const CTableColumn* pColumn = GetAt(nCol);
    if (!pSlot || !pOther || !pColumn)
        return FALSE;
    if (IsSlotType(pColumn->GetDataType()))
        return pSlot->nValue != pOther->nValue;
    return SlotDiffers(pSlot, pOther->pData, nCol);
}

void CTableColumns::CopyRowValues(TBCellSlot* pDest, const TBCellSlot* pSource) const
{
    if (!pDest || !pSource)
        return;
    for (int i = 0; i < GetCount(); ++i) {
        if (IsSlotType((*this)[i]->GetDataType()))
            SetSlotValue(&pDest[i], &pSource[i].nValue, i);
        else
            SetSlotValue(&pDest[i], pSource[i].pData, i);
    }
}

int CTableColumns::FindByTitle(const char* pszTitle) const
{
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->GetTitle() == pszTitle)
            return i;
    return -1;
}

int CTableColumns::FindByName(const char* pszName) const
{
    for (int i = 0; i < GetCount(); ++i)
        if ((*this)[i]->m_strName == pszName)
            return i;
    return -1;
}

int CTableColumns::GetMaxTitleLines() const
{
    int nLines = 1;
    for (const CTableColumn* pColumn : *this)
        if (pColumn->GetTitleLines() > nLines)
            nLines = pColumn->GetTitleLines();
    return nLines;
}

void CTableColumns::AppendDefaultKeys()
{
    for (int i = 0; i < m_defaultKeys.GetCount(); ++i)
        if (!m_sortKeys.HasColumn(m_defaultKeys.GetAt(i).m_nColumn))
            m_sortKeys.Add(m_defaultKeys.GetAt(i));
}

template <class T>
static int Order(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A 32-bit key as an unsigned number in key order: the sign bit flipped, all bits for descending.
static uint32_t OrderedKey32(int32_t nValue, int nDirection)
{
    uint32_t nKey = static_cast<uint32_t>(nValue) ^ 0x80000000u;
    return nDirection < 0 ? ~nKey : nKey;
}

// How a key's cell packs for this node: 32 or 64 bits, 0 when it must be read the long way.
static int PackedBits(const CTableColumn* pColumn, const CTableTreeNode* pNode, int nCol)
{
    switch (pColumn->GetDataType()) {
    case COLTYPE_INT32:
        // A cell in sixty-fourths has another decimal code: it compares by the long way.
        return pNode->IsFraction(nCol) ? 0 : 32;
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        return 32;
    case COLTYPE_INT64:
        return 64;
    default:
        return 0;
    }
}

// The packed keys of a node's values (see CTreeNode::m_nKeyCache), the cell of column nCol read
// as nValue when nCol >= 0; FALSE when the first key does not pack.
BOOL CTableColumns::PackSortKey(const CTableTreeNode* pNode, const TBCellSlot* pValues, int nCol, int32_t nValue,
                                CPackedKey* pKey) const
{
    *pKey = CPackedKey();
    if (!pValues || m_sortKeys.GetCount() == 0)
        return FALSE;
    const CSortPair& first = m_sortKeys.GetAt(0);
    const CTableColumn* pColumn = GetAt(first.m_nColumn);
    signed char chTag = PackedKeyTag(first);
    int nBits = pColumn && chTag ? PackedBits(pColumn, pNode, first.m_nColumn) : 0;
    if (nBits == 64) {
        const void* pStorage = pValues[first.m_nColumn].pData;
        if (!pStorage || first.m_nColumn == nCol)
            return FALSE;
        int64_t nFirst;
        memcpy(&nFirst, pStorage, sizeof nFirst);
        uint64_t nKey = static_cast<uint64_t>(nFirst) ^ 0x8000000000000000ull;
        pKey->nKey = first.m_nDirection < 0 ? ~nKey : nKey;
        pKey->chKey1 = chTag;
        return TRUE;
    }
    if (nBits != 32)
        return FALSE;
    // The first key in the high half; a second 32-bit key, when there is one, in the low half, so
    // that one comparison of numbers orders most rows of a two-key view without their blocks.
    int32_t nFirst = first.m_nColumn == nCol ? nValue : pValues[first.m_nColumn].nValue;
    pKey->nKey = static_cast<uint64_t>(OrderedKey32(nFirst, first.m_nDirection)) << 32;
    pKey->chKey1 = chTag;
    if (m_sortKeys.GetCount() < 2)
        return TRUE;
    const CSortPair& second = m_sortKeys.GetAt(1);
    const CTableColumn* pSecond = GetAt(second.m_nColumn);
    signed char chSecond = PackedKeyTag(second);
    if (!pSecond || !chSecond || PackedBits(pSecond, pNode, second.m_nColumn) != 32)
        return TRUE;
    int32_t nSecond = second.m_nColumn == nCol ? nValue : pValues[second.m_nColumn].nValue;
    pKey->nKey |= OrderedKey32(nSecond, second.m_nDirection);
    pKey->chKey2 = chSecond;
    return TRUE;
}

void CTableColumns::CacheSortKey(CTableTreeNode* pNode) const
{
    CPackedKey key;
    PackSortKey(pNode, pNode->GetData(), -1, 0, &key);
    pNode->m_nKeyCache = key.nKey;
    pNode->m_chKey1 = key.chKey1;
    pNode->m_chKey2 = key.chKey2;
}

BOOL CTableColumns::PackSortKeyAfter(const CTableTreeNode* pNode, int nCol, const void* pValue, BOOL bRaw,
                                     CPackedKey* pKey) const
{
    const CTableColumn* pColumn = GetAt(nCol);
    if (!pColumn || !pValue || !IsSlotType(pColumn->GetDataType()))
        return FALSE;
    int32_t nValue;
    if (bRaw)
        nValue = static_cast<const TBCellSlot*>(pValue)->nValue;
    else
        memcpy(&nValue, pValue, sizeof nValue);
    return PackSortKey(pNode, pNode->GetData(), nCol, nValue, pKey);
}

int CTableColumns::CompareValues(const CTableTreeNode* pFirst, const CTableTreeNode* pSecond,
                                 const CSortColumns& keys, int nFirstKey) const
{
    const TBCellSlot* pA = pFirst->GetData();
    const TBCellSlot* pB = pSecond->GetData();
    if (!pA || !pB)
        return pA ? 1 : (pB ? -1 : 0);
    int nColumns = GetCount();
    for (int k = nFirstKey; k < keys.GetCount(); ++k) {
        const CSortPair& key = keys.GetAt(k);
        int nCol = key.m_nColumn;
        if (nCol < 0 || nCol >= nColumns)
            continue;
        const CTableColumn* pColumn = m_pData[nCol];
        int nType = pColumn->GetDataType();
        int nDecA = pColumn->GetDecimals(pFirst->IsFraction(nCol));
        int nDecB = pColumn->GetDecimals(pSecond->IsFraction(nCol));
        int nCmp;
        // Same decimal codes compare by plain value; this is the path of nearly every row.
        if (nDecA == nDecB && (nType == COLTYPE_INT32 || nType == COLTYPE_INT || nType == COLTYPE_COMPUTED))
            nCmp = Order(pA[nCol].nValue, pB[nCol].nValue);
        else
            nCmp = CompareColumnValues(&pA[nCol], nDecA, &pB[nCol], nDecB, nType);
        if (nCmp != 0)
            return (nCmp > 0 ? 1 : -1) * key.m_nDirection;
    }
    return 0;
}

void CTableColumns::Save(CIni* pLayout, CIni* pDefinition) const
{
    if (pDefinition)
        pDefinition->WriteInt(IDS_COLS_COUNT, GetCount());
    for (int i = 0; i < GetCount(); ++i)
        (*this)[i]->Save(pLayout, pDefinition, i);
    if (pLayout) {
        pLayout->WriteInt(IDS_COLS_FIXED, m_nFixed);
        pLayout->WriteString(IDS_COLS_SORT, m_bDefaultOrder ? "" : static_cast<const char*>(m_sortKeys.ToText()));
        m_groupKeys.Save(*pLayout, IDS_COLS_GROUP);
    }
    if (pDefinition)
        m_defaultKeys.Save(*pDefinition, IDS_COLS_DEFSORT);
}

void CTableColumns::LoadLayoutKeys(CIni* pLayout)
{
    int nFixed = pLayout->GetInt(IDS_COLS_FIXED, m_nFixed);
    if (nFixed >= 0 && nFixed <= GetCount())
        m_nFixed = nFixed;
    m_groupKeys.Load(*pLayout, IDS_COLS_GROUP, GetCount());
    BOOL bGrouped = m_groupKeys.GetCount() > 0;
    m_sortKeys.Load(*pLayout, IDS_COLS_SORT, GetCount());
    m_bDefaultOrder = m_sortKeys.GetCount() == 0;
    AppendDefaultKeys();
    // A view groups by its first sort key alone.
    m_groupKeys.Clear();
    if (bGrouped && m_sortKeys.GetCount() > 0)
        m_groupKeys.Add(m_sortKeys.GetAt(0));
}

BOOL CTableColumns::Load(CIni* pLayout, CIni* pDefinition)
{
    // Work on a copy: a refused load leaves the view's columns and keys as they were.
    CTableColumns work;
    work.Assign(*this);
    if (pDefinition) {
        int nCount = pDefinition->GetInt(IDS_COLS_COUNT, 0);
        if (nCount < 0 || nCount > COLUMN_COUNT_MAX)
            return FALSE;
        for (int i = 0; i < nCount; ++i) {
            if (i >= work.GetCount())
                work.Add(new CTableColumn);
            if (!work[i]->Load(nullptr, pDefinition, i))
                return FALSE;
        }
        work.m_defaultKeys.Load(*pDefinition, IDS_COLS_DEFSORT, work.GetCount());
    }
    if (pLayout) {
        work.LoadLayoutKeys(pLayout);
        for (int i = 0; i < work.GetCount(); ++i)
            work[i]->Load(pLayout, nullptr, i);
    }
    std::swap(m_pData, work.m_pData);
    std::swap(m_nCount, work.m_nCount);
    std::swap(m_nCapacity, work.m_nCapacity);
    std::swap(m_nGrowBy, work.m_nGrowBy);
    m_nFixed = work.m_nFixed;
    m_bDefaultOrder = work.m_bDefaultOrder;
    m_sortKeys.Assign(work.m_sortKeys);
    m_groupKeys.Assign(work.m_groupKeys);
    m_defaultKeys.Assign(work.m_defaultKeys);
    return TRUE;
}

void CTableColumns::LoadLayout(CIni* pLayout)
{
    if (!pLayout)
        return;
    LoadLayoutKeys(pLayout);
    for (int i = 0; i < GetCount(); ++i)
        (*this)[i]->Load(pLayout, nullptr, i);
}
