#include "framework/table/BlockIndex.h"
#include <algorithm>
#include <cstdint>
#include <new>

namespace {

const uint64_t TOMBSTONE = 1;           // rows are aligned: no row is at address 1
const int TAG_SHIFT = 48;
const uint64_t ROW_MASK = (uint64_t(1) << TAG_SHIFT) - 1;

// Blocks are slot-aligned: drop the zero bits and spread the rest (Fibonacci hashing). The table
// takes the high bits of the spread for the slot, the tag takes bits below those.
uint64_t Hash(const TBCellSlot* pBlock)
{
    return (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pBlock)) >> 3) * 0x9E3779B97F4A7C15ull;
}

uint64_t Tag(uint64_t nHash)
{
    return ((nHash >> 16) & 0xffff) << TAG_SHIFT;
}

CTableRow* RowOf(uint64_t nEntry)
{
    return reinterpret_cast<CTableRow*>(static_cast<uintptr_t>(nEntry & ROW_MASK));
}

}  // namespace

// The index is grown when entries and tombstones pass this share of it (in eighths), to twice
// its entries: between half and three quarters full, a probe still mostly reads one line.
#define INDEX_FULL_EIGHTHS 6
#define INDEX_MIN_SIZE 64

size_t CBlockIndex::Slot(uint64_t nHash) const
{
    // The high bits of the spread map to the table, which lets the table be of any size.
    return static_cast<size_t>((static_cast<unsigned __int128>(nHash) * m_entries.size()) >> 64);
}

size_t CBlockIndex::NextSlot(size_t i) const
{
    return i + 1 == m_entries.size() ? 0 : i + 1;
}

CTableRow* CBlockIndex::Find(const TBCellSlot* pBlock) const
{
    if (!pBlock || m_entries.empty())
        return nullptr;
    uint64_t nHash = Hash(pBlock);
    uint64_t nTag = Tag(nHash);
    for (size_t i = Slot(nHash);; i = NextSlot(i)) {
        uint64_t nEntry = m_entries[i];
        if (!nEntry)
            return nullptr;
        if ((nEntry & ~ROW_MASK) == nTag && nEntry != TOMBSTONE && RowOf(nEntry)->GetData() == pBlock)
            return RowOf(nEntry);
    }
}

CTableRow* CBlockIndex::FindLikely(const TBCellSlot* pBlock) const
{
    if (!pBlock || m_entries.empty())
        return nullptr;
    uint64_t nHash = Hash(pBlock);
    uint64_t nTag = Tag(nHash);
    for (size_t i = Slot(nHash);; i = NextSlot(i)) {
        uint64_t nEntry = m_entries[i];
        if (!nEntry)
            return nullptr;
        if ((nEntry & ~ROW_MASK) == nTag && nEntry != TOMBSTONE)
            return RowOf(nEntry);
    }
}

void CBlockIndex::Prefetch(const TBCellSlot* pBlock) const
{
    if (pBlock && !m_entries.empty())
        __builtin_prefetch(&m_entries[Slot(Hash(pBlock))]);
}

void CBlockIndex::Grow()
{
    std::vector<uint64_t> old;
    old.swap(m_entries);
    size_t nSize = std::max<size_t>(INDEX_MIN_SIZE, static_cast<size_t>(m_nCount) * 2);
    m_entries.assign(nSize, 0);
    m_nCount = m_nUsed = 0;
    // Each entry's block is read on its row, all over memory: the rows some entries ahead are
    // fetched meanwhile, or the rows' cache misses would follow one another.
    const size_t AHEAD = 16;
    for (size_t i = 0; i < old.size(); ++i) {
        if (i + AHEAD < old.size() && old[i + AHEAD] > TOMBSTONE)
            __builtin_prefetch(RowOf(old[i + AHEAD]));
        uint64_t nEntry = old[i];
        if (nEntry <= TOMBSTONE)
            continue;
        // The rows are distinct and so are their blocks: the first empty entry takes it.
        const TBCellSlot* pBlock = RowOf(nEntry)->GetData();
        if (!pBlock)
            continue;
        uint64_t nHash = Hash(pBlock);
        size_t j = Slot(nHash);
        while (m_entries[j])
            j = NextSlot(j);
        m_entries[j] = Tag(nHash) | (nEntry & ROW_MASK);
        ++m_nCount;
        ++m_nUsed;
    }
}

void CBlockIndex::Set(const TBCellSlot* pBlock, CTableRow* pRow)
{
    if (!pBlock)
        return;
    // The tag takes the top bits of the row's address; an address that uses them cannot be kept.
    if (reinterpret_cast<uintptr_t>(pRow) & ~ROW_MASK)
        throw std::bad_alloc();
    if (static_cast<size_t>(m_nUsed + 1) * 8 > m_entries.size() * INDEX_FULL_EIGHTHS)
        Grow();
    uint64_t nHash = Hash(pBlock);
    uint64_t nTag = Tag(nHash);
    uint64_t nNew = nTag | reinterpret_cast<uintptr_t>(pRow);
    size_t nTomb = SIZE_MAX;
    for (size_t i = Slot(nHash);; i = NextSlot(i)) {
        uint64_t& entry = m_entries[i];
        if (!entry) {
            uint64_t& target = nTomb != SIZE_MAX ? m_entries[nTomb] : entry;
            if (nTomb == SIZE_MAX)
                ++m_nUsed;
            target = nNew;
            ++m_nCount;
            return;
        }
        if (entry == TOMBSTONE) {
            if (nTomb == SIZE_MAX)
                nTomb = i;
        } else if ((entry & ~ROW_MASK) == nTag && RowOf(entry)->GetData() == pBlock) {
            entry = nNew;
            return;
        }
    }
}

void CBlockIndex::Erase(const TBCellSlot* pBlock, const CTableRow* pRow)
{
    if (!pBlock || m_entries.empty())
        return;
    uint64_t nHash = Hash(pBlock);
    uint64_t nEntry = Tag(nHash) | reinterpret_cast<uintptr_t>(pRow);
    for (size_t i = Slot(nHash);; i = NextSlot(i)) {
        uint64_t& entry = m_entries[i];
        if (entry == nEntry) {
            entry = TOMBSTONE;
            --m_nCount;
            return;
        }
        if (!entry)
            return;
    }
}

void CBlockIndex::Clear()
{
    m_entries.clear();
    m_nCount = m_nUsed = 0;
}
