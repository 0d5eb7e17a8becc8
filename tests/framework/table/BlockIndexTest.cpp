// The views' index of rows by value block: with enough rows that many blocks share the short tag
// an entry keeps, every row is found by its own block and by no other, through growth, removals
// and rows that change block.
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <set>
#include <vector>
#include "framework/table/BlockIndex.h"

namespace {

const int ROWS = 150000;

// The index only compares blocks, never reads them: blocks here are addresses picked at random
// over the whole user space, so that blocks sharing a tag meet on probe paths as they would among
// the scattered blocks of a long-running owner (blocks from one array spread too evenly for that).
struct CIndexedRows
{
    CIndexedRows()
    {
        std::mt19937_64 rng(5);
        std::set<uintptr_t> taken;
        while (blocks.size() < static_cast<size_t>(ROWS) * 2) {
            uintptr_t nAddress = (rng() & ((uintptr_t(1) << 47) - 1) & ~uintptr_t(7)) | (uintptr_t(1) << 20);
            if (taken.insert(nAddress).second)
                blocks.push_back(reinterpret_cast<TBCellSlot*>(nAddress));
        }
        for (int i = 0; i < ROWS; ++i) {
            rows.emplace_back(new CTableRow);
            rows.back()->SetData(blocks[i]);
            index.Set(blocks[i], rows.back().get());
        }
    }
    std::vector<TBCellSlot*> blocks;    // the second half: blocks no row carries yet
    std::vector<std::unique_ptr<CTableRow>> rows;
    CBlockIndex index;
};

TEST(BlockIndex, EveryRowIsFoundByItsBlockAndNoBlockFindsAnotherRow)
{
    CIndexedRows t;
    ASSERT_EQ(ROWS, t.index.GetCount());
    for (int i = 0; i < ROWS; ++i) {
        ASSERT_EQ(t.rows[i].get(), t.index.Find(t.blocks[i])) << i;
        ASSERT_EQ(t.rows[i].get(), t.index.Confirm(t.blocks[i], t.index.FindLikely(t.blocks[i]))) << i;
        ASSERT_EQ(nullptr, t.index.Find(t.blocks[ROWS + i])) << i;
        ASSERT_EQ(nullptr, t.index.Confirm(t.blocks[ROWS + i], t.index.FindLikely(t.blocks[ROWS + i]))) << i;
    }
    // Setting a block again names the row that carries it now, without a second entry.
    t.index.Set(t.blocks[7], t.rows[7].get());
    EXPECT_EQ(ROWS, t.index.GetCount());
    // One word an entry, at least half of them used.
    EXPECT_LE(t.index.GetBytes(), static_cast<size_t>(ROWS) * 8 * 2);
}

TEST(BlockIndex, RemovalsAndNewBlocksLeaveOnlyTheRowsThatCarryThem)
{
    CIndexedRows t;
    std::mt19937 rng(11);
    std::vector<int> state(ROWS, 0);    // 0: own block, 1: erased, 2: moved to its second block
    for (int i = 0; i < ROWS; ++i) {
        int nWhat = static_cast<int>(rng() % 3);
        if (nWhat == 1) {
            t.index.Erase(t.blocks[i], t.rows[i].get());
        } else if (nWhat == 2) {
            t.rows[i]->SetData(t.blocks[ROWS + i]);
            t.index.Erase(t.blocks[i], t.rows[i].get());
            t.index.Set(t.blocks[ROWS + i], t.rows[i].get());
        }
        state[i] = nWhat;
    }
    // An erase that names another row takes nothing out.
    t.index.Erase(t.blocks[ROWS + 1], t.rows[0].get());
    int nCount = 0;
    for (int i = 0; i < ROWS; ++i) {
        CTableRow* pOwn = t.index.Find(t.blocks[i]);
        CTableRow* pSecond = t.index.Find(t.blocks[ROWS + i]);
        ASSERT_EQ(state[i] == 0 ? t.rows[i].get() : nullptr, pOwn) << i;
        ASSERT_EQ(state[i] == 2 ? t.rows[i].get() : nullptr, pSecond) << i;
        nCount += state[i] != 1;
    }
    EXPECT_EQ(nCount, t.index.GetCount());
    // Tombstones are reused and the index still grows and finds everything after it.
    for (int i = 0; i < ROWS; ++i) {
        if (state[i] == 1) {
            t.index.Set(t.blocks[i], t.rows[i].get());
            ++nCount;
        }
    }
    EXPECT_EQ(nCount, t.index.GetCount());
    for (int i = 0; i < ROWS; ++i)
        ASSERT_EQ(t.rows[i].get(), t.index.Find(state[i] == 2 ? t.blocks[ROWS + i] : t.blocks[i])) << i;
    t.index.Clear();
    EXPECT_EQ(0, t.index.GetCount());
    EXPECT_EQ(nullptr, t.index.Find(t.blocks[0]));
}

}  // namespace
