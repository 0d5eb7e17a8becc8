#include "framework/window/TableRowCache.h"

#include <new>
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"

BOOL CTableRowCache::Init(CViewTable* pView, int nCapacity)
{
    m_pView = pView;
    m_pSlots.reset();
    m_nCapacity = 0;
    if (nCapacity > 0) {
        m_pSlots.reset(new (std::nothrow) CViewRow[nCapacity]);
        if (m_pSlots)
            m_nCapacity = nCapacity;
    }
    m_nFilled = m_nCapacity;            // fresh slots are bound to the view once
    Clear();
    return m_pSlots != nullptr;
}

BOOL CTableRowCache::SetCapacity(int nLines)
{
    int nWanted = nLines > MIN_CAPACITY ? nLines : MIN_CAPACITY;
    if (nWanted <= m_nCapacity)
        return TRUE;
    std::unique_ptr<CViewRow[]> pSlots(new (std::nothrow) CViewRow[nWanted]);
    if (!pSlots)
        return FALSE;
    m_pSlots = std::move(pSlots);
    m_nCapacity = nWanted;
    m_nFilled = m_nCapacity;
    Clear();
    return TRUE;
}

void CTableRowCache::Clear()
{
    m_nFirst = -1;
    m_nCount = 0;
    // Only slots below the mark were ever read: a live change clears the cache before it paints
    // its one line, and emptying all the slots cost more than the paint.
    for (int i = 0; i < m_nFilled && i < m_nCapacity; ++i)
        m_pSlots[i].Rebind(m_pView);
    m_nFilled = 0;
}

void CTableRowCache::SetRange(int nFirst, int nCount, BOOL bForce)
{
    // A range longer than the slots would read past them: the lines beyond are not cached.
    if (nCount > m_nCapacity)
        nCount = m_nCapacity;
    if (nCount < 0 || nFirst < 0) {
        nFirst = -1;
        nCount = 0;
    }
    if (!bForce && nFirst == m_nFirst && nCount == m_nCount)
        return;
    Clear();
    m_nFirst = nFirst;
    m_nCount = nCount;
}

CViewRow* CTableRowCache::GetLine(int nLine)
{
    if (!m_pSlots || !m_pView || nLine < 0 || nLine >= m_nCount || m_nFirst < 0)
        return nullptr;
    CViewRow& slot = m_pSlots[nLine];
    if (nLine >= m_nFilled)
        m_nFilled = nLine + 1;
    if (!slot.GetNode() && !m_pView->GetRow(slot, m_nFirst + nLine))
        return nullptr;
    return slot.GetNode() ? &slot : nullptr;
}

CTableRow* CTableRowCache::GetLineRow(int nLine)
{
    CViewRow* pRow = GetLine(nLine);
    return pRow ? pRow->GetNode() : nullptr;
}
