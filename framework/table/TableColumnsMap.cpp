#include "framework/table/TableColumnsMap.h"
#include <vector>
#include "framework/base/Ini.h"
#include "framework/table/TableKeys.h"
#include "framework/table/ViewTable.h"

void CTableColumnsMap::Append(int nCol)
{
    m_order.Add(nCol);
}

BOOL CTableColumnsMap::CopyFrom(const CTableColumnsMap& other)
{
    if (&other == this)
        return TRUE;
    int nMine = m_pView ? m_pView->GetColumnCount() : 0;
    int nTheirs = other.m_pView ? other.m_pView->GetColumnCount() : 0;
    if (nMine != nTheirs)
        return FALSE;
    m_order.SetSize(0);
    for (int nCol : other.m_order)
        m_order.Add(nCol);
    return TRUE;
}

CTableColumn* CTableColumnsMap::GetColumn(int nPos) const
{
    if (!m_pView || nPos < 0 || nPos >= m_order.GetSize())
        return nullptr;
    return m_pView->GetColumns().GetColumn(m_order[nPos]);
}

int CTableColumnsMap::FindPosition(int nCol) const
{
    for (int i = 0; i < m_order.GetSize(); ++i)
        if (m_order[i] == nCol)
            return i;
    return -1;
}

BOOL CTableColumnsMap::MoveColumn(int nFrom, int nTo)
{
    int nCount = m_order.GetSize();
    if (nFrom < 0 || nFrom >= nCount || nTo < 0)
        return FALSE;
    int nCol = m_order[nFrom];
    m_order.RemoveAt(nFrom);
    if (nTo > nFrom)
        --nTo;
    if (nTo >= m_order.GetSize())
        m_order.Add(nCol);
    else
        m_order.InsertAt(nTo, nCol);
    return TRUE;
}

int CTableColumnsMap::GetVisibleColumnCount() const
{
    int nVisible = 0;
    for (int i = 0; i < m_order.GetSize(); ++i) {
        const CTableColumn* pColumn = GetColumn(i);
        if (pColumn && !pColumn->m_bHidden)
            ++nVisible;
    }
    return nVisible > 0 ? nVisible : -1;
}

void CTableColumnsMap::Rebuild(const CTableColumns& columns)
{
    m_order.SetSize(0, 8);
    for (int i = 0; i < columns.GetCount(); ++i)
        Append(i);
}

void CTableColumnsMap::Save(CIni* pLayout) const
{
    if (!pLayout)
        return;
    pLayout->WriteInt(IDS_ORDER_COUNT, m_order.GetSize());
    for (int i = 0; i < m_order.GetSize(); ++i)
        pLayout->WriteInt(TableKey(IDS_ORDER_ENTRY, i), m_order[i]);
}

BOOL CTableColumnsMap::Load(CIni* pLayout)
{
    if (!m_pView || !pLayout)
        return FALSE;
    int nCount = pLayout->GetInt(IDS_ORDER_COUNT, m_order.GetSize());
    int nColumns = m_pView->GetColumnCount();
    if (nCount != m_order.GetSize())
        return FALSE;
    // Read whole first: a stored order that is not a permutation of the columns is refused.
    std::vector<int> order(static_cast<size_t>(nCount));
    std::vector<bool> seen(static_cast<size_t>(nColumns), false);
    for (int i = 0; i < nCount; ++i) {
        int nCol = pLayout->GetInt(TableKey(IDS_ORDER_ENTRY, i), m_order[i]);
        if (nCol < 0 || nCol >= nColumns || seen[static_cast<size_t>(nCol)])
            return FALSE;
        seen[static_cast<size_t>(nCol)] = true;
        order[static_cast<size_t>(i)] = nCol;
    }
    for (int i = 0; i < nCount; ++i)
        m_order[i] = order[static_cast<size_t>(i)];
    return TRUE;
}
