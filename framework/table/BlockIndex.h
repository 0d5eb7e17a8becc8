#pragma once
#include <vector>
#include "framework/table/TreeNode.h"

// The rows of one view by the value block they carry: owners write a row by the block they
// hold, and the lookup must not depend on the order of equal keys. Open addressing over
// pointer keys, so that a lookup is mostly one memory access.
class CBlockIndex
{
public:
    CTableRow* Find(const TBCellSlot* pBlock) const;
    // Starts fetching the entry Find will read first, so that lookups in several indexes overlap.
    void Prefetch(const TBCellSlot* pBlock) const;
    void Set(const TBCellSlot* pBlock, CTableRow* pRow);
    // Takes the entry out only while it still names that row.
    void Erase(const TBCellSlot* pBlock, const CTableRow* pRow);
    void Clear();
    int  GetCount() const { return m_nCount; }
    // Bytes the index holds, for the engine's memory figures.
    size_t GetBytes() const { return m_entries.capacity() * sizeof(Entry); }

private:
    struct Entry
    {
        const TBCellSlot* pBlock = nullptr;    // null: empty; TOMBSTONE: taken out
        CTableRow* pRow = nullptr;
    };
    size_t Slot(const TBCellSlot* pBlock) const;
    size_t NextSlot(size_t i) const;
    void Grow();

    std::vector<Entry> m_entries;       // between half and three quarters used
    int m_nCount = 0;
    int m_nUsed = 0;                    // entries and tombstones
};
