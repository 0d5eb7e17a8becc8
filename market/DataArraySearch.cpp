// Key searches of the row store: a key row filled from the given texts or ids, a binary search
// over the sorted rows, and the walk over a key prefix's range.
#include <algorithm>
#include <cstdio>
#include "market/DataArray.h"

CDataBuffer* CDataArray::KeyRow() const
{
    if (!m_pKeyRow)
        m_pKeyRow = new CDataBuffer(const_cast<CDataArray*>(this));
    return m_pKeyRow->AllocValues() ? m_pKeyRow : nullptr;
}

int CDataArray::Search(const CDataBuffer& key, int nKeys) const
{
    if (IsBulk() || m_rows.empty() || nKeys < 1)
        return -1;
    size_t nFirst = 0;
    size_t nLast = 0;
    int nCovered = 0;
    if (!LeadRange(&key, nKeys, &nFirst, &nLast, &nCovered))
        return -1;
    if (nCovered >= nKeys)
        return static_cast<int>(nFirst);
    auto last = m_rows.begin() + static_cast<std::ptrdiff_t>(nLast);
    auto it = std::lower_bound(m_rows.begin() + static_cast<std::ptrdiff_t>(nFirst), last, &key,
                               [nKeys](const CDataBuffer* pA, const CDataBuffer* pB) { return pA->Compare(pB, nKeys) < 0; });
    if (it == last || (*it)->Compare(&key, nKeys) != 0)
        return -1;
    return static_cast<int>(it - m_rows.begin());
}

int CDataArray::IndexOfRow(const CDataBuffer* pRow) const
{
    // Rows with equal keys follow one another: the row is among them, told apart by address.
    for (int i = Search(*pRow, GetKeyColumnCount()); i >= 0 && i < GetCount(); ++i) {
        const CDataBuffer* pStored = m_rows[static_cast<size_t>(i)];
        if (pStored == pRow)
            return i;
        if (pStored->Compare(pRow, -1) != 0)
            break;
    }
    auto it = std::find(m_rows.begin(), m_rows.end(), pRow);
    return it != m_rows.end() ? static_cast<int>(it - m_rows.begin()) : -1;
}

CDataBuffer* CDataArray::MakeKeyRow(std::span<const char* const> keys, int* pnKeys) const
{
    *pnKeys = 0;
    if (keys.empty() || !keys[0] || m_keys.empty())
        return nullptr;
    CDataBuffer* pKey = KeyRow();
    for (size_t i = 0; pKey && i < keys.size() && i < m_keys.size() && keys[i]; ++i) {
        pKey->SetText(m_keys[i], keys[i], FALSE);
        ++*pnKeys;
    }
    return pKey;
}

CDataBuffer* CDataArray::MakeKeyRow(std::span<const LONG> keys, int* pnKeys) const
{
    *pnKeys = 0;
    CViewTable* pView = GetReadView();
    if (keys.empty() || keys[0] < 0 || m_keys.empty() || !pView)
        return nullptr;
    CDataBuffer* pKey = KeyRow();
    for (size_t i = 0; pKey && i < keys.size() && i < m_keys.size(); ++i) {
        int nCol = m_keys[i];
        // An id reaches a key column in that column's own form.
        switch (pView->GetColumns().GetColumn(nCol)->GetDataType()) {
        case COLTYPE_INT32:
        case COLTYPE_INT:
        case COLTYPE_COMPUTED: {
            int32_t nValue = keys[i];
            pKey->SetValue(nCol, &nValue, FALSE);
            break;
        }
        case COLTYPE_INT64: {
            LONGLONG nValue = keys[i];
            pKey->SetValue(nCol, &nValue, FALSE);
            break;
        }
        case COLTYPE_DOUBLE: {
            double dValue = keys[i];
            pKey->SetValue(nCol, &dValue, FALSE);
            break;
        }
        default: {
            char szText[16];
            snprintf(szText, sizeof szText, "%ld", static_cast<long>(keys[i]));
            pKey->SetText(nCol, szText, FALSE);
            break;
        }
        }
        ++*pnKeys;
    }
    return pKey;
}

int CDataArray::FindRowIndex(std::span<const char* const> keys) const
{
    int nKeys = 0;
    CDataBuffer* pKey = IsBulk() || m_rows.empty() ? nullptr : MakeKeyRow(keys, &nKeys);
    int nIndex = pKey ? Search(*pKey, nKeys) : -1;
    return nIndex;
}

CDataBuffer* CDataArray::FindRow(std::span<const char* const> keys) const
{
    return GetAt(FindRowIndex(keys));
}

int CDataArray::FindRowIndexByIds(std::span<const LONG> keys) const
{
    int nKeys = 0;
    CDataBuffer* pKey = IsBulk() || m_rows.empty() ? nullptr : MakeKeyRow(keys, &nKeys);
    int nIndex = pKey ? Search(*pKey, nKeys) : -1;
    return nIndex;
}

CDataBuffer* CDataArray::FindRowByIds(std::span<const LONG> keys) const
{
    return GetAt(FindRowIndexByIds(keys));
}

void CDataArray::FindRange(CRowFinder& finder, std::span<const char* const> keys)
{
    int nKeys = 0;
    CDataBuffer* pKey = IsBulk() || m_rows.empty() ? nullptr : MakeKeyRow(keys, &nKeys);
    finder.m_pArray = this;
    finder.m_nKeys = nKeys;
    finder.m_nIndex = pKey ? Search(*pKey, nKeys) : -1;
}

int CDataArray::FindIndexOfRow(const CDataBuffer* pRow) const
{
    if (!pRow)
        return -1;
    if (pRow->m_pArray == this && pRow->m_bAdded)
        return IndexOfRow(pRow);
    return Search(*pRow, GetKeyColumnCount());
}

BOOL CDataArray::RemoveRow(std::span<const char* const> keys)
{
    return RemoveAt(FindRowIndex(keys));
}

int CDataArray::RemoveRange(std::span<const char* const> keys)
{
    CRowFinder finder;
    FindRange(finder, keys);
    const int nFirst = finder.m_nIndex;
    if (nFirst < 0)
        return 0;
    while (finder.FindNext() != nullptr) {
    }
    // From the range's end, so that no removal moves a row still to be removed.
    for (int i = finder.m_nIndex; i >= nFirst; --i)
        RemoveAt(i);
    return finder.m_nIndex - nFirst + 1;
}

CDataBuffer* CRowFinder::GetRow() const
{
    return m_pArray && m_nIndex >= 0 ? m_pArray->GetAt(m_nIndex) : nullptr;
}

CDataBuffer* CRowFinder::FindNext()
{
    CDataBuffer* pCurrent = GetRow();
    if (!pCurrent || m_nKeys < 1)
        return nullptr;
    // The rows are sorted: the range ends at the first row that differs.
    CDataBuffer* pNext = m_pArray->GetAt(m_nIndex + 1);
    if (!pNext || pNext->Compare(pCurrent, m_nKeys) != 0)
        return nullptr;
    ++m_nIndex;
    return pNext;
}
