#pragma once
#include <cstdint>
#include <vector>
#include "framework/table/TreeNode.h"

// The rows of one view by the value block they carry: owners write a row by the block they
// hold, and the lookup must not depend on the order of equal keys. Open addressing, so that a
// lookup is mostly one memory access.
//
// An entry is one word: the row's address in the low bits and a tag of its block's hash in the
// top 16, which user-space addresses leave clear. The block itself is the row's (every entry is
// set from the row's block), so a tag that matches is confirmed on the row, which the caller reads
// next anyway; a false match costs one read in 65,536 probes.
class CBlockIndex
{
public:
    CTableRow* Find(const TBCellSlot* pBlock) const;
    // The row the first matching tag names, unconfirmed (null when none): for a caller that
    // fetches the rows of several indexes before reading any, and confirms with Confirm.
    CTableRow* FindLikely(const TBCellSlot* pBlock) const;
    // pLikely from FindLikely when it carries the block, else the full lookup.
    CTableRow* Confirm(const TBCellSlot* pBlock, CTableRow* pLikely) const
    {
        return !pLikely || pLikely->GetData() == pBlock ? pLikely : Find(pBlock);
    }
    // Starts fetching the entry Find will read first, so that lookups in several indexes overlap.
    void Prefetch(const TBCellSlot* pBlock) const;
    // pRow carries pBlock.
    void Set(const TBCellSlot* pBlock, CTableRow* pRow);
    // Takes the entry of pBlock out only while it still names that row (the row may carry another
    // block by now).
    void Erase(const TBCellSlot* pBlock, const CTableRow* pRow);
    void Clear();
    int  GetCount() const { return m_nCount; }
    // Bytes the index holds, for the engine's memory figures.
    size_t GetBytes() const { return m_entries.capacity() * sizeof(uint64_t); }

private:
    size_t Slot(uint64_t nHash) const;
    size_t NextSlot(size_t i) const;
    void Grow();

    // 0: empty; TOMBSTONE: taken out. Between half and three quarters used.
    std::vector<uint64_t> m_entries;
    int m_nCount = 0;
    int m_nUsed = 0;                    // entries and tombstones
};
