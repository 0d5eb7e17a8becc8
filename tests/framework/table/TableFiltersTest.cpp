// Filters: building criteria into filters, combining columns, walks that mark, find and count.
#include <gtest/gtest.h>
#include "TableTestSupport.h"
#include "framework/table/TableFilters.h"

namespace {

enum { COL_NUM, COL_TEXT, COL_OTHER, COL_FRAC };

class CFilterTable
{
public:
    CFilterTable()
        : t({{"Num", COLTYPE_INT32, 0, FALSE}, {"Text", COLTYPE_STRING, 12, FALSE}, {"Other", COLTYPE_INT32, 0, FALSE},
             {"Frac", COLTYPE_INT32, 0, FALSE}})
    {
        UseSourceResources();
        t.Table().Open();
        filters.Init(&t.View(), nullptr);
    }
    ~CFilterTable() { t.View().SetFilters(nullptr); }
    TBCellSlot* Add(int nNum, const char* pszText, int nOther)
    {
        TBCellSlot* pBlock = t.NewBlock();
        PutInt(t, pBlock, COL_NUM, nNum);
        PutText(t, pBlock, COL_TEXT, pszText);
        PutInt(t, pBlock, COL_OTHER, nOther);
        EXPECT_TRUE(t.Insert(pBlock));
        return pBlock;
    }
    std::string Text(int nCol, int nFilter)
    {
        CTBString str;
        filters.GetColumnFilter(nCol)->FormatFilterText(str, nFilter);
        return std::string(str);
    }
    int Kind(int nCol, int nFilter) { return (*filters.GetColumnFilter(nCol))[nFilter]->GetKind(); }
    COwnedTable t;
    CTableFilters filters;
};

}  // namespace

TEST(TableFilters, CriteriaBuildRangesOperatorsMasksAndComparisons)
{
    CFilterTable f;
    ASSERT_EQ(0, f.filters.AddFilter(COL_NUM, "10 - 20", FALSE, 0));
    EXPECT_EQ(FILTER_RANGE, f.Kind(COL_NUM, 0));
    f.filters.RemoveColumnFilters(COL_NUM);
    for (const char* pszEqual : {"20 - 10", "10 - 10"}) {
        ASSERT_EQ(0, f.filters.AddFilter(COL_NUM, pszEqual, FALSE, 0)) << pszEqual;
        EXPECT_EQ(FILTER_OPERATOR, f.Kind(COL_NUM, 0));
        EXPECT_EQ(pszEqual[0] == '2' ? "=20" : "=10", f.Text(COL_NUM, 0));
        f.filters.RemoveColumnFilters(COL_NUM);
    }
    // The same criterion twice leaves one filter; a mask may not join values.
    EXPECT_EQ(0, f.filters.AddFilter(COL_NUM, ">=5", FALSE, 0));
    EXPECT_EQ(-1, f.filters.AddFilter(COL_NUM, ">=5", FALSE, 0));
    EXPECT_EQ(1, f.filters.GetColumnFilter(COL_NUM)->GetSize());
    EXPECT_EQ(-1, f.filters.AddFilter(COL_NUM, "abc", FALSE, 0));
    EXPECT_EQ(0, f.filters.AddFilter(COL_TEXT, "a***b", FALSE, 0));
    EXPECT_EQ(FILTER_MASK, f.Kind(COL_TEXT, 0));
    EXPECT_EQ("a*b", f.Text(COL_TEXT, 0));
    EXPECT_EQ(-1, f.filters.AddFilter(COL_TEXT, "= abc", FALSE, 0));
    f.filters.RemoveColumnFilters(COL_TEXT);
    EXPECT_EQ(0, f.filters.AddFilter(COL_TEXT, "=abc", FALSE, 0));
    EXPECT_EQ(FILTER_OPERATOR, f.Kind(COL_TEXT, 0));
    // A criterion naming a column of the same type compares with it.
    EXPECT_EQ(0, f.filters.AddFilter(COL_OTHER, "> Num", FALSE, 0));
    EXPECT_EQ(FILTER_COMPARISON, f.Kind(COL_OTHER, 0));
    EXPECT_EQ(">Num", f.Text(COL_OTHER, 0));
    EXPECT_EQ(-1, f.filters.AddFilter(9, "1", FALSE, 0));
    EXPECT_FALSE(f.filters.IsValidCriteria(COL_NUM, "1-x"));
    EXPECT_TRUE(f.filters.IsValidCriteria(COL_NUM, "1-2"));
}

TEST(TableFilters, ColumnsCombineByAllOfAndAnyOfGroups)
{
    CFilterTable f;
    TBCellSlot* pRow = f.Add(5, "alpha", 1);
    CRow row = f.t.Find(pRow);
    CTableRow* pNode = row.GetViewRow(0)->GetNode();
    f.filters.AddFilter(COL_NUM, ">10", FALSE, 0);
    EXPECT_FALSE(f.filters.Match(pNode, 0));
    f.filters.SetCombine(1);
    EXPECT_FALSE(f.filters.Match(pNode, 0));
    f.filters.AddFilter(COL_TEXT, "al*", FALSE, 1);
    EXPECT_TRUE(f.filters.Match(pNode, 0));
    f.filters.SetCombine(0);
    EXPECT_FALSE(f.filters.Match(pNode, 0));
    f.filters.RemoveAllFilters();
    EXPECT_TRUE(f.filters.IsEmpty());
    EXPECT_TRUE(f.filters.Match(pNode, 0));
    f.filters.SetCombine(1);
    EXPECT_FALSE(f.filters.Match(pNode, 0));
}

TEST(TableFilters, QuotedTextOperatorsMatchTheTextItself)
{
    CFilterTable f;
    TBCellSlot* pKwd = f.Add(1, "KWD", 0);
    f.Add(2, "USD", 0);
    ASSERT_EQ(0, f.filters.AddFilter(COL_TEXT, "KWD", FALSE, 0, /*bQuote=*/TRUE));
    EXPECT_EQ(FILTER_MASK, f.Kind(COL_TEXT, 0));
    f.filters.RemoveAllFilters();
    ASSERT_EQ(0, f.filters.AddFilter(COL_TEXT, "=\"KWD\"", FALSE, 0));
    EXPECT_TRUE(f.filters.Match(f.t.Find(pKwd).GetViewRow(0)->GetNode(), 0));
    f.filters.SetMode(FILTER_COUNT);
    f.t.View().ApplyFilters(&f.filters);
    EXPECT_EQ(1, f.filters.GetMatchCount());
}

TEST(TableFilters, WalksMarkFindAndCountInTheirRange)
{
    CFilterTable f;
    for (int i = 0; i < 6; ++i)
        f.Add(i, "x", 0);
    f.filters.AddFilter(COL_NUM, ">=3", FALSE, 0);
    f.filters.SetMode(FILTER_FIND);
    f.filters.SetRowRange(0, 2);
    f.t.View().ApplyFilters(&f.filters);
    EXPECT_EQ(-1, f.filters.GetFoundIndex());
    EXPECT_EQ(0, f.filters.GetMatchCount());
    f.filters.SetRowRange(0, -1);
    f.t.View().ApplyFilters(&f.filters);
    EXPECT_EQ(3, f.filters.GetFoundIndex());
    f.filters.SetMode(FILTER_MARK);
    f.t.View().ApplyFilters(&f.filters);
    EXPECT_EQ(3, f.filters.GetMatchCount());
    EXPECT_EQ(3, f.t.View().GetRowTree().GetMarkedCount());
    f.filters.SetMode(FILTER_FIND_MARKED);
    f.t.View().ApplyFilters(&f.filters);
    EXPECT_EQ(3, f.filters.GetFoundIndex());
    f.filters.SetMode(FILTER_UNMARK_ALL);
    f.t.View().ApplyFilters(&f.filters);
    EXPECT_EQ(0, f.t.View().GetRowTree().GetMarkedCount());
}

TEST(TableFilters, SixtyFourthsCellsMatchTheirOwnValue)
{
    CFilterTable f;
    f.t.View().GetColumns()[COL_FRAC]->m_chDecimals = -2;
    TBCellSlot* pBlock = f.Add(0, "x", 0);
    CRow row = f.t.Find(pBlock);
    ASSERT_TRUE(row.GetViewRow(0)->SetCellFraction(COL_FRAC, TRUE));
    ASSERT_TRUE(row.SetCell(COL_FRAC, 672));        // 10 1/2 in sixty-fourths
    ASSERT_EQ(0, f.filters.AddFilter(COL_FRAC, "10.5", FALSE, 0));
    EXPECT_TRUE(f.filters.Match(row.GetViewRow(0)->GetNode(), 0));
}
