#include "framework/table/BlockIndex.h"
#include <algorithm>
#include <cstdint>

static const TBCellSlot* const TOMBSTONE = reinterpret_cast<const TBCellSlot*>(uintptr_t(1));

// The index is grown when entries and tombstones pass this share of it (in eighths), to twice
// its entries: between half and three quarters full, a probe still mostly reads one line.
#define INDEX_FULL_EIGHTHS 6
#define INDEX_MIN_SIZE 64

size_t CBlockIndex::Slot(const TBCellSlot* pBlock) const
{
    // Blocks are slot-aligned: drop the zero bits, spread the rest (Fibonacci hashing), and map
    // the spread to the table by its high bits, which lets the table be of any size.
    uint64_t nKey = (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pBlock)) >> 3) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>((static_cast<unsigned __int128>(nKey) * m_entries.size()) >> 64);
}

size_t CBlockIndex::NextSlot(size_t i) const
{
    return i + 1 == m_entries.size() ? 0 : i + 1;
}

CTableRow* CBlockIndex::Find(const TBCellSlot* pBlock) const
{
    if (!pBlock || m_entries.empty())
        return nullptr;
    for (size_t i = Slot(pBlock);; i = NextSlot(i)) {
        const Entry& entry = m_entries[i];
        if (entry.pBlock == pBlock)
            return entry.pRow;
        if (!entry.pBlock)
            return nullptr;
    }
}

void CBlockIndex::Prefetch(const TBCellSlot* pBlock) const
{
    if (pBlock && !m_entries.empty())
        __builtin_prefetch(&m_entries[Slot(pBlock)]);
}

void CBlockIndex::Grow()
{
    std::vector<Entry> old;
    old.swap(m_entries);
    size_t nSize = std::max<size_t>(INDEX_MIN_SIZE, static_cast<size_t>(m_nCount) * 2);
    m_entries.assign(nSize, Entry());
    m_nCount = m_nUsed = 0;
    for (const Entry& entry : old)
        if (entry.pBlock && entry.pBlock != TOMBSTONE)
            Set(entry.pBlock, entry.pRow);
}

void CBlockIndex::Set(const TBCellSlot* pBlock, CTableRow* pRow)
{
    if (!pBlock)
        return;
    if (static_cast<size_t>(m_nUsed + 1) * 8 > m_entries.size() * INDEX_FULL_EIGHTHS)
        Grow();
    size_t nTomb = SIZE_MAX;
    for (size_t i = Slot(pBlock);; i = NextSlot(i)) {
        Entry& entry = m_entries[i];
        if (entry.pBlock == pBlock) {
            entry.pRow = pRow;
            return;
        }
        if (entry.pBlock == TOMBSTONE && nTomb == SIZE_MAX)
            nTomb = i;
        if (!entry.pBlock) {
            Entry& target = nTomb != SIZE_MAX ? m_entries[nTomb] : entry;
            if (nTomb == SIZE_MAX)
                ++m_nUsed;
            target.pBlock = pBlock;
            target.pRow = pRow;
            ++m_nCount;
            return;
        }
    }
}

void CBlockIndex::Erase(const TBCellSlot* pBlock, const CTableRow* pRow)
{
    if (!pBlock || m_entries.empty())
        return;
    for (size_t i = Slot(pBlock);; i = NextSlot(i)) {
        Entry& entry = m_entries[i];
        if (entry.pBlock == pBlock) {
            if (entry.pRow == pRow) {
                entry.pBlock = TOMBSTONE;
                entry.pRow = nullptr;
                --m_nCount;
            }
            return;
        }
        if (!entry.pBlock)
            return;
    }
}

void CBlockIndex::Clear()
{
    m_entries.clear();
    m_nCount = m_nUsed = 0;
}
