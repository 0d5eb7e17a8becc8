#include <gtest/gtest.h>

#include "../table/TableTestSupport.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableRowCache.h"

namespace {
// A view of 300 numbered rows, 0 to 299 in insertion order.
class TableRowCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseSourceResources();
        m_table.Table().Open();
        for (int i = 0; i < 300; ++i) {
            TBCellSlot* pBlock = m_table.NewBlock();
            PutInt(m_table, pBlock, 0, i);
            ASSERT_TRUE(m_table.Insert(pBlock));
        }
    }
    int Number(CViewRow* pRow)
    {
        CTBString strText;
        return pRow && pRow->GetText(strText, 0) ? atoi(strText) : -1;
    }
    COwnedTable m_table{{{"N", COLTYPE_INT32, 0, FALSE}}};
};
}  // namespace

TEST_F(TableRowCacheTest, LinesReadTheirRowsOnceWithinTheRange)
{
    CTableRowCache cache;
    EXPECT_EQ(nullptr, cache.GetLine(0));           // no slots yet
    ASSERT_TRUE(cache.Init(&m_table.View(), 20));
    EXPECT_EQ(-1, cache.GetFirst());
    EXPECT_EQ(nullptr, cache.GetLine(0));

    cache.SetRange(10, 5, FALSE);
    EXPECT_EQ(12, Number(cache.GetLine(2)));
    EXPECT_EQ(14, Number(cache.GetRow(14)));
    EXPECT_EQ(cache.GetLine(2)->GetNode(), cache.GetRowData(12));
    EXPECT_EQ(cache.GetLineRow(0), cache.GetRowData(10));
    EXPECT_EQ(nullptr, cache.GetLine(5));           // the count itself is outside
    EXPECT_EQ(nullptr, cache.GetLine(-1));
    EXPECT_EQ(nullptr, cache.GetRow(9));

    // The same range keeps the filled slots unless forced; then they read the view again.
    CTableRow* pRow = cache.GetLineRow(1);
    ASSERT_TRUE(m_table.View().DeleteRowAt(11));
    cache.SetRange(10, 5, FALSE);
    EXPECT_EQ(pRow, cache.GetLineRow(1));
    cache.SetRange(10, 5, TRUE);
    EXPECT_EQ(12, Number(cache.GetLine(1)));

    // A range past the view's end reads nothing there.
    cache.SetRange(295, 10, FALSE);
    EXPECT_EQ(299, Number(cache.GetLine(3)));
    EXPECT_EQ(nullptr, cache.GetLine(4));
    cache.Clear();
    EXPECT_EQ(0, cache.GetCount());
    EXPECT_EQ(nullptr, cache.GetLine(0));
}

TEST_F(TableRowCacheTest, TheRangeNeverExceedsTheSlots)
{
    CTableRowCache cache;
    ASSERT_TRUE(cache.Init(&m_table.View(), 10));
    cache.SetRange(0, 50, FALSE);
    EXPECT_EQ(10, cache.GetCount());
    EXPECT_EQ(9, Number(cache.GetLine(9)));
    EXPECT_EQ(nullptr, cache.GetLine(10));

    // A window taller than the slots grows them; never below a hundred, never shrinking.
    ASSERT_TRUE(cache.SetCapacity(30));
    EXPECT_EQ(CTableRowCache::MIN_CAPACITY, cache.GetCapacity());
    EXPECT_EQ(&m_table.View(), cache.GetView());
    ASSERT_TRUE(cache.SetCapacity(150));
    EXPECT_EQ(150, cache.GetCapacity());
    ASSERT_TRUE(cache.SetCapacity(120));
    EXPECT_EQ(150, cache.GetCapacity());
    cache.SetRange(100, 150, FALSE);
    EXPECT_EQ(249, Number(cache.GetLine(149)));

    CTableRowCache unbound;
    EXPECT_FALSE(unbound.Init(&m_table.View(), 0));
    unbound.SetRange(0, 5, FALSE);
    EXPECT_EQ(0, unbound.GetCount());
    EXPECT_EQ(nullptr, unbound.GetLine(0));
}

// Every line read since the last clear, the deepest too, reads the view again after the next.
TEST_F(TableRowCacheTest, ClearForgetsEveryLineReadSinceTheLastClear)
{
    CTableRowCache cache;
    ASSERT_TRUE(cache.Init(&m_table.View(), 20));
    for (int nRound = 0; nRound < 3; ++nRound) {
        cache.SetRange(0, 20, FALSE);
        EXPECT_EQ(nRound, Number(cache.GetLine(0)));
        EXPECT_EQ(nRound + 17, Number(cache.GetLine(17)));
        // The first row goes; the lines read before must not keep their old rows.
        ASSERT_TRUE(m_table.View().DeleteRowAt(0));
        cache.Clear();
        cache.SetRange(0, 20, FALSE);
        EXPECT_EQ(nRound + 1, Number(cache.GetLine(0)));
        EXPECT_EQ(nRound + 18, Number(cache.GetLine(17)));
        EXPECT_EQ(nRound + 20, Number(cache.GetLine(19)));
        cache.Clear();
    }
}
