// Tables large enough for the engine's paths for big trees: rows found and moved with their paths
// warmed in every view at once (a moving row goes back in where its warming walk ended), sorted
// inserts that arrive in key order, a resort that puts the rows back in order. Checked against the
// keys themselves after a stream of writes. TB_MODEL_ROWS=200000 runs them on bigger tables.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include "TableTestSupport.h"
#include "framework/table/NodePool.h"

namespace {

enum { COL_SYM, COL_SECTOR, COL_LAST, COL_VOL, COL_COUNT };

// Above the size from which the views' paths are warmed.
int Rows()
{
    const char* pszRows = getenv("TB_MODEL_ROWS");
    int nRows = pszRows ? atoi(pszRows) : 0;
    return nRows > 0 ? nRows : 20000;
}
const int ROWS = Rows();

int32_t Cell(const CTreeNode* pNode, int nCol)
{
    return pNode->GetData()[nCol].nValue;
}

int64_t Cell64(const CTreeNode* pNode, int nCol)
{
    int64_t nValue = 0;
    memcpy(&nValue, pNode->GetData()[nCol].pData, sizeof nValue);
    return nValue;
}

// Three views: sector up and last down; grouped by sector and symbol with sums; last down.
class CSizedTable
{
public:
    CSizedTable()
        : m_table({{"Sym", COLTYPE_STRING, 12, FALSE},
                   {"Sector", COLTYPE_INT32, 0, FALSE},
                   {"Last", COLTYPE_INT32, 0, FALSE},
                   {"Vol", COLTYPE_INT64, 0, TRUE}})
    {
        UseSourceResources();
        m_table.Table().SetAllowCut(FALSE);
        m_table.Table().SetAllowPaste(FALSE);
        EXPECT_TRUE(m_table.Table().Open());
        m_table.Table().AddView("Sectors");
        m_table.Table().AddView("Last");
        Sort(0, {{COL_SECTOR, SORT_ASCENDING}, {COL_LAST, SORT_DESCENDING}}, FALSE);
        Sort(1, {{COL_SECTOR, SORT_ASCENDING}, {COL_SYM, SORT_ASCENDING}}, TRUE);
        m_table.View(1).SetTotalsMode(3);
        Sort(2, {{COL_LAST, SORT_DESCENDING}}, FALSE);
    }
    void Sort(int nView, std::vector<CSortPair> keys, BOOL bGroup)
    {
        CSortColumns list(30);
        for (const CSortPair& key : keys)
            list.Add(key);
        m_table.View(nView).Sort(list, bGroup);
    }
    TBCellSlot* Insert(int nSerial, int32_t nSector, int32_t nLast, int64_t nVol)
    {
        TBCellSlot* pBlock = m_table.NewBlock();
        char szSym[16];
        snprintf(szSym, sizeof szSym, "S%07d", nSerial);
        PutText(m_table, pBlock, COL_SYM, szSym);
        PutInt(m_table, pBlock, COL_SECTOR, nSector);
        PutInt(m_table, pBlock, COL_LAST, nLast);
        m_table.View(0).GetColumns().SetSlotValue(&pBlock[COL_VOL], &nVol, COL_VOL);
        EXPECT_TRUE(m_table.Insert(pBlock));
        return pBlock;
    }
    // Every view holds every row once, in its key order; the grouped view's sums add up.
    void Check(size_t nRows)
    {
        for (int v = 0; v < 3; ++v) {
            CViewTable& view = m_table.View(v);
            ASSERT_TRUE(CheckViewTrees(view)) << "view " << v;
            std::vector<const CTreeNode*> rows;
            view.GetRowTree().ForEachRow([&](CTableRow* pRow) { rows.push_back(pRow); return TRUE; });
            ASSERT_EQ(nRows, rows.size()) << "view " << v;
            for (size_t i = 1; i < rows.size(); ++i) {
                const CTreeNode* pA = rows[i - 1];
                const CTreeNode* pB = rows[i];
                bool bOrdered;
                if (v == 0)
                    bOrdered = Cell(pA, COL_SECTOR) < Cell(pB, COL_SECTOR)
                               || (Cell(pA, COL_SECTOR) == Cell(pB, COL_SECTOR) && Cell(pA, COL_LAST) > Cell(pB, COL_LAST))
                               || (Cell(pA, COL_SECTOR) == Cell(pB, COL_SECTOR) && Cell(pA, COL_LAST) == Cell(pB, COL_LAST)
                                   && pA->m_nRowId < pB->m_nRowId);
                else if (v == 1)
                    bOrdered = Cell(pA, COL_SECTOR) < Cell(pB, COL_SECTOR)
                               || (Cell(pA, COL_SECTOR) == Cell(pB, COL_SECTOR)
                                   && strcmp(static_cast<const char*>(pA->GetData()[COL_SYM].pData),
                                             static_cast<const char*>(pB->GetData()[COL_SYM].pData)) < 0);
                else
                    bOrdered = Cell(pA, COL_LAST) > Cell(pB, COL_LAST)
                               || (Cell(pA, COL_LAST) == Cell(pB, COL_LAST) && pA->m_nRowId < pB->m_nRowId);
                ASSERT_TRUE(bOrdered) << "view " << v << " line " << i;
            }
        }
        CTableGroups& groups = m_table.View(1).GetRowTree();
        int64_t nTotal = 0;
        for (CTreeNode* pTop = groups.First(); pTop; pTop = CAVLTree::Next(pTop)) {
            if (pTop->GetKind() != NODE_GROUP) {
                nTotal += Cell64(pTop, COL_VOL);
                continue;
            }
            CTableGroup* pGroup = static_cast<CTableGroup*>(pTop);
            int64_t nSum = 0;
            for (CTreeNode* p = pGroup->m_rows.First(); p; p = CAVLTree::Next(p))
                nSum += Cell64(p, COL_VOL);
            ASSERT_EQ(nSum, Cell64(&pGroup->m_sum, COL_VOL));
            nTotal += nSum;
        }
        ASSERT_EQ(nTotal, Cell64(groups.GetTotalLine(), COL_VOL));
    }

    COwnedTable m_table;
};

}  // namespace

TEST(TableAtSize, MovesInsertsAndDeletesKeepEveryViewInKeyOrderWithItsSums)
{
    std::mt19937 rng(11);
    CSizedTable t;
    std::vector<TBCellSlot*> blocks;
    int nSerial = 0;
    for (; nSerial < ROWS; ++nSerial)
        blocks.push_back(t.Insert(nSerial, static_cast<int32_t>(rng() % 40), static_cast<int32_t>(rng() % 5000),
                                  static_cast<int64_t>(rng() % 100000)));
    ASSERT_NO_FATAL_FAILURE(t.Check(blocks.size()));
    for (int nStep = 0; nStep < 4000; ++nStep) {
        size_t i = rng() % blocks.size();
        switch (rng() % 5) {
        case 0:
        case 1: {
            // Moves in two views, ties on the key included.
            int32_t nLast = static_cast<int32_t>(rng() % 5000);
            CRow row = t.m_table.Find(blocks[i]);
            ASSERT_TRUE(row.IsValid());
            ASSERT_TRUE(row.UpdateCell(COL_LAST, &nLast));
            break;
        }
        case 2: {
            int64_t nVol = static_cast<int64_t>(rng() % 100000);
            CRow row = t.m_table.Find(blocks[i]);
            ASSERT_TRUE(row.UpdateCell(COL_VOL, &nVol));
            break;
        }
        case 3:
            blocks.push_back(t.Insert(nSerial++, static_cast<int32_t>(rng() % 40), static_cast<int32_t>(rng() % 5000),
                                      static_cast<int64_t>(rng() % 100000)));
            break;
        default: {
            CRow row = t.m_table.Find(blocks[i]);
            ASSERT_TRUE(t.m_table.Table().DeleteRow(row));
            t.m_table.FreeBlock(blocks[i]);
            blocks[i] = blocks.back();
            blocks.pop_back();
            break;
        }
        }
    }
    ASSERT_NO_FATAL_FAILURE(t.Check(blocks.size()));
    for (TBCellSlot* pBlock : blocks)
        ASSERT_TRUE(t.m_table.Find(pBlock).IsDataRow());
}

TEST(TableAtSize, RowsInKeyOrderAndAResortShowTheSameAsRowsInAnyOrder)
{
    std::vector<int> order(ROWS);
    for (int i = 0; i < ROWS; ++i)
        order[static_cast<size_t>(i)] = i;
    std::mt19937 rng(5);
    std::shuffle(order.begin(), order.end(), rng);
    // The same rows, one table fed in symbol order (each row goes in at the end of its group),
    // the other in no order.
    CSizedTable sorted;
    CSizedTable shuffled;
    auto values = [](int n) { return std::make_tuple(n % 40, (n * 7919) % 5000, static_cast<int64_t>(n) * 3); };
    for (int n = 0; n < ROWS; ++n) {
        auto [nSector, nLast, nVol] = values(n);
        sorted.Insert(n, nSector, nLast, nVol);
    }
    for (int n : order) {
        auto [nSector, nLast, nVol] = values(n);
        shuffled.Insert(n, nSector, nLast, nVol);
    }
    const std::vector<int> columns{COL_SYM, COL_SECTOR, COL_VOL};
    EXPECT_EQ(ViewText(sorted.m_table.View(1), columns), ViewText(shuffled.m_table.View(1), columns));
    sorted.m_table.View(1).Resort();
    shuffled.m_table.View(1).Resort();
    EXPECT_EQ(ViewText(sorted.m_table.View(1), columns), ViewText(shuffled.m_table.View(1), columns));
    ASSERT_NO_FATAL_FAILURE(sorted.Check(ROWS));
    ASSERT_NO_FATAL_FAILURE(shuffled.Check(ROWS));
}

// Rows put at a place show before every sorted row, in the order they came; the warming walk of a
// sorted row on the move steps past them as the comparison does, and they themselves move the
// long way. Two views, so that the moves are warmed.
TEST(TableAtSize, RowsPutAtAPlaceStayFirstWhileSortedRowsMoveAroundThem)
{
    COwnedTable table({{"Sym", COLTYPE_STRING, 12, FALSE}, {"Sector", COLTYPE_INT32, 0, FALSE},
                       {"Last", COLTYPE_INT32, 0, FALSE}, {"Vol", COLTYPE_INT64, 0, TRUE}});
    UseSourceResources();
    table.Table().SetAllowCut(FALSE);
    table.Table().SetAllowPaste(FALSE);
    ASSERT_TRUE(table.Table().Open());
    table.Table().AddView("Last");
    for (int v = 0; v < 2; ++v) {
        CSortColumns keys(30);
        keys.Add(COL_LAST, v == 0 ? SORT_DESCENDING : SORT_ASCENDING);
        table.View(v).Sort(keys, FALSE);
    }
    std::mt19937 rng(21);
    std::vector<TBCellSlot*> blocks;
    auto newBlock = [&]() {
        TBCellSlot* pBlock = table.NewBlock();
        PutInt(table, pBlock, COL_SECTOR, 0);
        PutInt(table, pBlock, COL_LAST, static_cast<int32_t>(rng() % 3000));
        blocks.push_back(pBlock);
        return pBlock;
    };
    for (int i = 0; i < ROWS; ++i)
        ASSERT_TRUE(table.Insert(newBlock()));
    const int PLACED = 5;
    std::vector<TBCellSlot*> placed;
    for (int i = 0; i < PLACED; ++i) {
        CRow row(&table.Table(), newBlock());
        table.Table().InsertRowAt(i, row);
        placed.push_back(blocks.back());
    }
    for (int nStep = 0; nStep < 3000; ++nStep) {
        // Every tenth write moves a placed row.
        TBCellSlot* pBlock = nStep % 10 == 0 ? placed[rng() % PLACED] : blocks[rng() % blocks.size()];
        int32_t nLast = static_cast<int32_t>(rng() % 3000);
        CRow row = table.Find(pBlock);
        ASSERT_TRUE(row.UpdateCell(COL_LAST, &nLast)) << "step " << nStep;
    }
    for (int v = 0; v < 2; ++v) {
        CViewTable& view = table.View(v);
        ASSERT_TRUE(CheckViewTrees(view)) << "view " << v;
        std::vector<const CTreeNode*> rows;
        view.GetRowTree().ForEachRow([&](CTableRow* pRow) { rows.push_back(pRow); return TRUE; });
        ASSERT_EQ(blocks.size(), rows.size()) << "view " << v;
        for (int i = 0; i < PLACED; ++i)
            ASSERT_EQ(placed[static_cast<size_t>(i)], rows[static_cast<size_t>(i)]->GetData()) << "view " << v;
        for (size_t i = PLACED + 1; i < rows.size(); ++i) {
            int32_t nA = Cell(rows[i - 1], COL_LAST);
            int32_t nB = Cell(rows[i], COL_LAST);
            bool bOrdered = (v == 0 ? nA > nB : nA < nB) || (nA == nB && rows[i - 1]->m_nRowId < rows[i]->m_nRowId);
            ASSERT_TRUE(bOrdered) << "view " << v << " line " << i;
        }
    }
}

// The engine's own memory for a row of the three views: the row nodes its pool hands out and the
// views' indexes of rows by block (the value blocks are the owner's). Three nodes of one cache
// line with their side records of half a line (every row is stamped), and three indexes of one
// word an entry, kept between half and three quarters full.
TEST(TableAtSize, ThreeViewsKeepARowInTheirMemoryBudget)
{
    const double BUDGET = 3 * (64 + 32) + 3 * 8 / 0.5;
    long long nBefore = CNodePool::GetThreadBalance();
    CSizedTable t;
    std::mt19937 rng(3);
    for (int n = 0; n < ROWS; ++n)
        t.Insert(n, static_cast<int32_t>(rng() % 40), static_cast<int32_t>(rng() % 5000), n);
    double dBytes = static_cast<double>(CNodePool::GetThreadBalance() - nBefore);
    for (int v = 0; v < 3; ++v)
        dBytes += static_cast<double>(t.m_table.View(v).GetRowTree().GetIndexBytes());
    double dPerRow = dBytes / ROWS;
    RecordProperty("BytesPerRow", static_cast<int>(dPerRow));
    EXPECT_LE(dPerRow, BUDGET);
    EXPECT_GE(dPerRow, 3 * 64);     // the count sees the nodes
}
