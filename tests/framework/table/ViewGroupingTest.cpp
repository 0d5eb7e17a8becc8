// Grouping, group lines, sums and marked rows of one view.
#include <gtest/gtest.h>
#include <cstring>
#include "TableTestSupport.h"
#include "framework/table/TableFilters.h"

namespace {

enum { COL_KEY, COL_NAME, COL_QTY };

class CGroupedTable
{
public:
    CGroupedTable() : t({{"Key", COLTYPE_STRING, 8, FALSE}, {"Name", COLTYPE_STRING, 8, FALSE}, {"Qty", COLTYPE_INT32, 0, TRUE}})
    {
        UseSourceResources();
        for (int i = 0; i < 3; ++i) {
            t.Table().GetColumn(i).SetThousands(FALSE);
            t.Table().GetColumn(i).SetBlankZero(FALSE);
        }
        t.Table().Open();
        CSortColumns keys(30);
        keys.Add(COL_KEY, SORT_ASCENDING);
        keys.Add(COL_NAME, SORT_ASCENDING);
        t.View().Sort(keys, /*bGroup=*/TRUE);
    }
    TBCellSlot* Add(const char* pszKey, const char* pszName, int nQty)
    {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, COL_KEY, pszKey);
        PutText(t, pBlock, COL_NAME, pszName);
        PutInt(t, pBlock, COL_QTY, nQty);
        EXPECT_TRUE(t.Insert(pBlock));
        return pBlock;
    }
    std::string Lines() { return ViewText(t.View(), {COL_NAME, COL_QTY}); }
    COwnedTable t;
};

class CCountingFormat : public ICustSumFormat
{
public:
    void Format(int nKey, int nRows, int nCol, char* pszBuf, int nSize) override
    {
        ++m_nCalls;
        m_nKey = nKey;
        snprintf(pszBuf, static_cast<size_t>(nSize), "r%d/%d", nRows, nCol);
    }
    int m_nCalls = 0;
    int m_nKey = -1;
};

}  // namespace

TEST(ViewGrouping, GroupsShowTheirSumAndEmptyLinesAndDissolve)
{
    CGroupedTable g;
    g.t.View().SetGroupHeaderMode(2);
    g.t.View().SetTotalsMode(3);
    g.Add("A", "A1", 1);
    TBCellSlot* pA2 = g.Add("A", "A2", 2);
    g.Add("B", "B1", 4);
    EXPECT_EQ("1:A1,1|1:A2,2|3:,3|5:,|2:B1,4|5:,|4:,7|", g.Lines());
    CRow row = g.t.Find(pA2);
    ASSERT_TRUE(g.t.Table().DeleteRow(row));
    EXPECT_EQ("2:A1,1|5:,|2:B1,4|5:,|4:,5|", g.Lines());
    EXPECT_TRUE(CheckViewTrees(g.t.View()));

    g.t.View().SetTotalsMode(0);
    g.t.View().SetGroupHeaderMode(1);
    g.Add("A", "A2", 2);
    EXPECT_EQ("1:A1,1|2:A2,2|2:B1,4|", g.Lines());
}

TEST(ViewGrouping, OnlyDataRowsCanBeRemovedByIndex)
{
    CGroupedTable g;
    g.t.View().SetGroupHeaderMode(2);
    g.t.View().SetTotalsMode(3);
    EXPECT_EQ(0, g.t.View().GetRowCount());   // no node, no grand total line
    g.Add("A", "A1", 1);
    g.Add("A", "A2", 2);
    int nLines = g.t.View().GetRowCount();
    EXPECT_FALSE(g.t.View().DeleteRowAt(2));    // the group's sum line
    EXPECT_FALSE(g.t.View().DeleteRowAt(3));    // its empty line
    EXPECT_FALSE(g.t.View().DeleteRowAt(4));    // the grand total
    EXPECT_FALSE(g.t.View().DeleteRowAt(9));
    EXPECT_EQ(nLines, g.t.View().GetRowCount());
    EXPECT_TRUE(g.t.View().DeleteRowAt(0));
    EXPECT_EQ("2:A2,2|5:,|4:,2|", g.Lines());
}

TEST(ViewGrouping, CustomSumLineKeepsLoneRowsInGroupsAndAsksOnce)
{
    CGroupedTable g;
    CCountingFormat format;
    CTableColumn* pKey = g.t.View().GetColumns()[COL_KEY];
    pKey->m_custSum.m_pHandler = &format;
    pKey->m_custSum.m_nKeyColumn = COL_KEY;
    pKey->m_custSum.SetEntry(COL_NAME, 2);
    g.t.View().SetTotalsMode(3);
    g.Add("B", "B1", 4);
    // A single row keeps its group and shows its own sum line.
    EXPECT_EQ(3, g.t.View().GetRowCount());
    CRowPosition pos;
    ASSERT_TRUE(g.t.View().GetRowTree().LocateByIndex(1, &pos));
    EXPECT_EQ(LINE_GROUP_SUM, pos.m_nKind);
    char szText[32];
    const CTableColumn* pName = g.t.View().GetColumns()[COL_NAME];
    pos.m_pNode->GetCellText(szText, sizeof szText, COL_NAME, pName, &g.t.View());
    pos.m_pNode->GetCellText(szText, sizeof szText, COL_NAME, pName, &g.t.View());
    EXPECT_EQ(1, format.m_nCalls);
    EXPECT_STREQ("r1/1", szText);
    // A sum change makes an entry-2 text ask again.
    g.Add("B", "B2", 1);
    ASSERT_TRUE(g.t.View().GetRowTree().LocateByIndex(2, &pos));
    pos.m_pNode->GetCellText(szText, sizeof szText, COL_NAME, pName, &g.t.View());
    EXPECT_EQ(2, format.m_nCalls);
    EXPECT_STREQ("r2/1", szText);
    // The total line passes key 0 and row count -1.
    ASSERT_TRUE(g.t.View().GetRowTree().LocateByIndex(3, &pos));
    ASSERT_EQ(LINE_TOTAL, pos.m_nKind);
    pos.m_pNode->GetCellText(szText, sizeof szText, COL_NAME, pName, &g.t.View());
    EXPECT_STREQ("r-1/1", szText);
    EXPECT_EQ(0, format.m_nKey);
}

TEST(ViewGrouping, MarkedRowsModeHidesUnmarkedRowsSilentlyAndKeepsTheCount)
{
    CGroupedTable g;
    g.t.View().SetTotalsMode(3);
    CRecordingSink sink(&g.t.View());
    g.t.View().AddSink(&sink);
    TBCellSlot* pA1 = g.Add("A", "A1", 1);
    CRow row = g.t.Find(pA1);
    row.GetViewRow(0)->SetMarked(TRUE);
    g.t.View().SetSumMode(1);
    int nMoved = sink.m_nMoved;
    g.Add("A", "A2", 5);          // unmarked: hidden, unsummed, unannounced
    EXPECT_EQ(nMoved, sink.m_nMoved);
    EXPECT_EQ("2:A1,1|4:,1|", g.Lines());
    EXPECT_EQ(1, g.t.View().GetRowTree().GetMarkedCount());
    // A marked row whose sort key changes moves and stays marked and counted.
    CRow again = g.t.Find(pA1);
    ASSERT_TRUE(again.UpdateCell(COL_NAME, "A9"));
    EXPECT_EQ(1, g.t.View().GetRowTree().GetMarkedCount());
    EXPECT_EQ("2:A9,1|4:,1|", g.Lines());
    EXPECT_TRUE(sink.m_errors.empty());
    EXPECT_TRUE(sink.CountMatches());
    again.GetViewRow(0)->SetMarked(FALSE);
    EXPECT_EQ(0, g.t.View().GetRowTree().GetMarkedCount());
    EXPECT_EQ("4:,0|", g.Lines());
    g.t.View().RemoveSink(&sink);
}

TEST(ViewGrouping, RebuildSortsRowsPlacedAtAPosition)
{
    CGroupedTable g;
    CSortColumns keys(30);
    keys.Add(COL_QTY, SORT_ASCENDING);
    g.t.View().Sort(keys, FALSE);
    g.Add("A", "A1", 5);
    g.Add("A", "A2", 1);
    CViewRow cursor(&g.t.View(), g.t.NewBlock());
    PutInt(g.t, cursor.GetNode()->GetData(), COL_QTY, 9);
    PutText(g.t, cursor.GetNode()->GetData(), COL_NAME, "P");
    ASSERT_TRUE(g.t.View().InsertRowAt(1, cursor));
    EXPECT_EQ("1:A2,1|1:P,9|1:A1,5|", g.Lines());
    EXPECT_FALSE(cursor.GetNode()->IsSorted());
    g.t.View().Resort();
    EXPECT_EQ("1:A2,1|1:A1,5|1:P,9|", g.Lines());
    EXPECT_TRUE(cursor.GetNode()->IsSorted());
}

TEST(ViewGrouping, SumsReturnToWhereTheyWereAndViewsWithoutSummedColumnsShowEmptyTotals)
{
    CGroupedTable g;
    g.t.View().SetTotalsMode(2);
    g.Add("A", "A1", 3);
    g.Add("B", "B1", 4);
    std::string strBefore = g.Lines();
    TBCellSlot* pExtra = g.Add("A", "A2", 40);
    CRow row = g.t.Find(pExtra);
    ASSERT_TRUE(g.t.Table().DeleteRow(row));
    EXPECT_EQ(strBefore, g.Lines());

    COwnedTable plain({{"Text", COLTYPE_STRING, 8, FALSE}});
    plain.Table().Open();
    plain.View().SetTotalsMode(2);
    TBCellSlot* pBlock = plain.NewBlock();
    PutText(plain, pBlock, 0, "x");
    plain.Insert(pBlock);
    EXPECT_EQ("1:x|4:|", ViewText(plain.View(), {0}));
}

// Counts and quantities near the most one row holds: their group sums and the total pass what a
// row's 32 bits hold and still show whole, both ways, and return as the rows go.
TEST(ViewGrouping, SumsOfLargeCountsShowWholeWhereTheyPassWhatOneRowHolds)
{
    CGroupedTable g;
    g.t.View().SetTotalsMode(3);
    g.Add("A", "A1", INT32_MAX);
    TBCellSlot* pA2 = g.Add("A", "A2", INT32_MAX);
    g.Add("B", "B1", -INT32_MAX);
    g.Add("B", "B2", -INT32_MAX);
    g.Add("B", "B3", -2);
    EXPECT_EQ("1:A1,2147483647|1:A2,2147483647|3:,4294967294|1:B1,-2147483647|1:B2,-2147483647|1:B3,-2|3:,-4294967296|4:,-2|",
              g.Lines());
    CRow row = g.t.Find(pA2);
    ASSERT_TRUE(g.t.Table().DeleteRow(row));
    EXPECT_EQ("2:A1,2147483647|1:B1,-2147483647|1:B2,-2147483647|1:B3,-2|3:,-4294967296|4:,-2147483649|", g.Lines());
    g.Add("A", "A3", INT32_MAX);
    g.Add("A", "A4", INT32_MAX);
    EXPECT_NE(std::string::npos, g.Lines().find("4:,2147483645|")) << g.Lines();
    EXPECT_EQ(std::string::npos, g.Lines().find('#')) << g.Lines();
}

namespace {
// A dinar shows three places, any other currency two.
int TestUnitDecimals(const char* pszUnit, int nDecimals)
{
    return *pszUnit == '\0' ? nDecimals : strcmp(pszUnit, "KWD") == 0 ? -3 : -2;
}
}  // namespace

// An amount shows the places of its row's currency, and a total adds the rows as they show:
// each row rounded once, also as rows come and go.
TEST(ViewGrouping, AmountsShowTheirRowsUnitAndTotalsAddWhatTheRowsShow)
{
    COwnedTable t({{"Currency", COLTYPE_STRING, 8, FALSE}, {"Amount", COLTYPE_DOUBLE, 0, TRUE}, {"Base", COLTYPE_DOUBLE, 0, TRUE}});
    t.Table().GetColumn(1).SetDecimals(-3);
    t.Table().GetColumn(1).SetUnit(0, TestUnitDecimals);
    t.Table().GetColumn(2).SetDecimals(-1);
    t.Table().Open();
    t.View().SetTotalsMode(2);
    const auto add = [&](const char* pszCurrency, double dAmount, double dBase) {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, 0, pszCurrency);
        t.View(0).GetColumns().SetSlotValue(&pBlock[1], &dAmount, 1);
        t.View(0).GetColumns().SetSlotValue(&pBlock[2], &dBase, 2);
        t.Insert(pBlock);
        return pBlock;
    };
    add("USD", 1.005, 0.25);
    TBCellSlot* pDinars = add("KWD", 2.0005, 0.25);
    add("", 2000000000.0004, 2583599700.94);
    // Rounded as written: 1.005 to the cent is 1.01, 0.25 to a tenth 0.3.
    EXPECT_EQ("1:USD,1.01,0.3|1:KWD,2.001,0.3|1:,2,000,000,000.000,2,583,599,700.9|4:,2,000,000,003.011,2,583,599,701.5|",
              ViewText(t.View(), {0, 1, 2}));
    CRow dinars = t.Find(pDinars);
    ASSERT_TRUE(t.Table().DeleteRow(dinars));
    EXPECT_EQ("1:USD,1.01,0.3|1:,2,000,000,000.000,2,583,599,700.9|4:,2,000,000,001.010,2,583,599,701.2|",
              ViewText(t.View(), {0, 1, 2}));
}

// An amount shown to more places than its unit's (an average or a cost to four) shows them all
// in its rows, and its total the same places under them.
TEST(ViewGrouping, ATotalShowsThePlacesItsRowsShow)
{
    COwnedTable t({{"Currency", COLTYPE_STRING, 8, FALSE}, {"Cost", COLTYPE_DOUBLE, 0, TRUE}});
    t.Table().GetColumn(1).SetDecimals(-4);
    t.Table().GetColumn(1).SetMinDecimals(2);
    t.Table().GetColumn(1).SetUnit(0, TestUnitDecimals);
    t.Table().Open();
    t.View().SetTotalsMode(2);
    for (const double dCost : {141016.435, 1050.0}) {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, 0, "");
        t.View(0).GetColumns().SetSlotValue(&pBlock[1], &dCost, 1);
        t.Insert(pBlock);
    }
    EXPECT_EQ("1:,141,016.4350|1:,1,050.0000|4:,142,066.4350|", ViewText(t.View(), {0, 1}));
}
