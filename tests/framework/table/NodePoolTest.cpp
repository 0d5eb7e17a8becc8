// The pool of node slots: what it hands out lies in its range on cache lines, every size class is
// reused and packed, links stand for the addresses both ways. Each case runs in a thread of its
// own, whose free lists start empty, so that what other tests left on the lists changes nothing.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <new>
#include <set>
#include <thread>
#include <vector>
#include "framework/table/NodePool.h"
#include "framework/table/TreeNode.h"

namespace {

const uintptr_t LINE = 64;

template <class F> void InFreshThread(F f)
{
    std::thread worker(f);
    worker.join();
}

uintptr_t Address(const void* p)
{
    return reinterpret_cast<uintptr_t>(p);
}

TEST(NodePool, SidesTakeHalfALineEachAndTwoShareALine)
{
    InFreshThread([] {
        const long long nStart = CNodePool::GetThreadBalance();
        std::vector<void*> halves;
        std::set<uintptr_t> lines;
        for (int i = 0; i < 2000; ++i) {
            void* p = CNodePool::Allocate(sizeof(CNodeSide));
            EXPECT_TRUE(CNodePool::Holds(p));
            EXPECT_EQ(0u, Address(p) % (LINE / 2));
            halves.push_back(p);
            lines.insert(Address(p) / LINE);
        }
        EXPECT_EQ(1000u, lines.size());     // no half of a line left unused
        EXPECT_EQ(2000 * static_cast<long long>(LINE / 2), CNodePool::GetThreadBalance() - nStart);
        for (void* p : halves)
            CNodePool::Free(p, sizeof(CNodeSide));
        EXPECT_EQ(nStart, CNodePool::GetThreadBalance());
        // Freed halves are handed out again before any new line.
        std::set<void*> freed(halves.begin(), halves.end());
        for (int i = 0; i < 2000; ++i)
            EXPECT_EQ(1u, freed.count(CNodePool::Allocate(sizeof(CNodeSide))));
    });
}

TEST(NodePool, ObjectsOfSeveralSlotsStartOnALineAndDoNotOverlap)
{
    InFreshThread([] {
        std::vector<std::pair<uintptr_t, size_t>> taken;
        for (size_t nBytes : {size_t{8}, size_t{33}, size_t{64}, size_t{65}, size_t{200}, size_t{320},
                              CNodePool::SLOTS_MAX * CNodePool::SLOT_SIZE})
            for (int i = 0; i < 300; ++i) {
                void* p = CNodePool::Allocate(nBytes);
                ASSERT_TRUE(CNodePool::Holds(p));
                ASSERT_TRUE(CNodePool::Holds(static_cast<char*>(p) + nBytes - 1));
                if (nBytes > LINE / 2) {
                    EXPECT_EQ(0u, Address(p) % LINE) << nBytes;
                }
                taken.emplace_back(Address(p), nBytes);
            }
        std::sort(taken.begin(), taken.end());
        for (size_t i = 1; i < taken.size(); ++i)
            ASSERT_LE(taken[i - 1].first + taken[i - 1].second, taken[i].first);
        // A size class gives back what was freed in it, last freed first.
        void* p = CNodePool::Allocate(200);
        CNodePool::Free(p, 200);
        EXPECT_EQ(p, CNodePool::Allocate(200));
        EXPECT_THROW(CNodePool::Allocate(CNodePool::SLOTS_MAX * CNodePool::SLOT_SIZE + 1), std::bad_alloc);
    });
}

TEST(NodePool, LinksStandForTheirNodes)
{
    EXPECT_EQ(0u, CNodePool::LinkOf(nullptr));
    EXPECT_EQ(nullptr, CNodePool::At<CTreeNode>(0));
    std::vector<CTableRow*> rows;
    std::set<uint32_t> links;
    for (int i = 0; i < 100; ++i) {
        rows.push_back(new CTableRow);
        uint32_t nLink = CNodePool::LinkOf(rows.back());
        EXPECT_NE(0u, nLink);
        EXPECT_EQ(rows.back(), CNodePool::At<CTableRow>(nLink));
        links.insert(nLink);
    }
    EXPECT_EQ(rows.size(), links.size());
    // Links between nodes: set, read back, cleared.
    rows[0]->SetLeft(rows[1]);
    rows[0]->SetRight(rows[2]);
    rows[1]->SetParent(rows[0]);
    EXPECT_EQ(rows[1], rows[0]->Left());
    EXPECT_EQ(rows[2], rows[0]->Child(1));
    EXPECT_EQ(rows[0], rows[1]->Parent());
    EXPECT_EQ(0, rows[0]->SideOf(rows[1]));
    EXPECT_EQ(1, rows[0]->SideOf(rows[2]));
    rows[0]->ClearLinks();
    rows[1]->ClearLinks();
    EXPECT_EQ(nullptr, rows[0]->Left());
    EXPECT_FALSE(rows[1]->HasParent());
    for (CTableRow* pRow : rows)
        delete pRow;
}

// The row's rarer fields read their defaults until set, and keep what is set apart per row.
TEST(NodePool, RowFieldsOutOfTheNodeReadBackPerRow)
{
    CTableRow a, b;
    EXPECT_EQ(0, a.GetStamp());
    EXPECT_EQ(' ', a.GetStatus());
    EXPECT_EQ(0u, a.GetCategory());
    EXPECT_EQ(nullptr, a.GetGroup());
    EXPECT_EQ(0, a.GetAttr(0, 1));
    a.SetStamp(1234567890123LL);
    a.SetStatus('S');
    a.SetCategory(0x80000001u);
    a.AllocAttributes(3);
    a.SetAttr(2, 1, CELL_BOLD);
    b.SetStatus('T');
    EXPECT_EQ(1234567890123LL, a.GetStamp());
    EXPECT_EQ('S', a.GetStatus());
    EXPECT_EQ(0x80000001u, a.GetCategory());
    EXPECT_EQ(CELL_BOLD, a.GetAttr(2, 1));
    EXPECT_EQ(0, a.GetAttr(3, 1));          // past the columns
    EXPECT_EQ('T', b.GetStatus());
    EXPECT_EQ(0, b.GetStamp());
    EXPECT_EQ(0, b.GetAttr(2, 1));
    a.Recycle();
    EXPECT_EQ(0, a.GetStamp());
    EXPECT_EQ(' ', a.GetStatus());
    EXPECT_EQ(0, a.GetAttr(2, 1));
}

}  // namespace
