// Writing rows: the three phases across views, updates, key writes, attributes and text cells.
#include <gtest/gtest.h>
#include <cstring>
#include "TableTestSupport.h"
#include "framework/table/TableFilters.h"

namespace {

enum { COL_KEY, COL_QTY, COL_CODE, COL_DATE };

class CTwoViewTable
{
public:
    CTwoViewTable()
        : t({{"Key", COLTYPE_INT32, 0, FALSE}, {"Qty", COLTYPE_INT32, 0, TRUE}, {"Code", COLTYPE_CHAR4, 0, FALSE},
             {"Date", COLTYPE_DATE_TEXT, 0, FALSE}})
    {
        UseSourceResources();
        for (int i = 0; i < 2; ++i) {
            t.Table().GetColumn(i).SetThousands(FALSE);
            t.Table().GetColumn(i).SetBlankZero(FALSE);
        }
        t.Table().SetAllowCut(FALSE);
        t.Table().SetAllowPaste(FALSE);
        t.Table().Open();
        CSortColumns keys(30);
        keys.Add(COL_KEY, SORT_ASCENDING);
        t.View(0).Sort(keys, FALSE);
        t.Table().AddView("TableView");
        CSortColumns byQty(30);
        byQty.Add(COL_QTY, SORT_DESCENDING);
        t.View(1).Sort(byQty, FALSE);
        t.View(0).SetTotalsMode(2);
    }
    TBCellSlot* Add(int nKey, int nQty)
    {
        TBCellSlot* pBlock = t.NewBlock();
        PutInt(t, pBlock, COL_KEY, nKey);
        PutInt(t, pBlock, COL_QTY, nQty);
        EXPECT_TRUE(t.Insert(pBlock));
        return pBlock;
    }
    std::string Lines(int v) { return ViewText(t.View(v), {COL_KEY, COL_QTY}); }
    COwnedTable t;
};

}  // namespace

TEST(RowWrite, SameValueStoresNothingButStillTouchesTheRow)
{
    CTwoViewTable w;
    TBCellSlot* pBlock = w.Add(1, 10);
    w.Add(2, 20);
    CRecordingSink sink(&w.t.View(0));
    w.t.View(0).AddSink(&sink);
    CRow row = w.t.Find(pBlock);
    int32_t nSame = 10;
    std::string strBefore = w.Lines(0);
    ASSERT_TRUE(row.UpdateCell(COL_QTY, &nSame));
    EXPECT_EQ(strBefore, w.Lines(0));
    EXPECT_GE(sink.m_nChanged, 1);
    EXPECT_TRUE(sink.m_errors.empty());
    w.t.View(0).RemoveSink(&sink);
}

TEST(RowWrite, ARefusingViewLeavesEveryViewUnchanged)
{
    CTwoViewTable w;
    w.Add(1, 10);
    // A row the second view does not hold: its cursor has no node there and refuses.
    TBCellSlot* pBlock = w.t.NewBlock();
    PutInt(w.t, pBlock, COL_KEY, 2);
    PutInt(w.t, pBlock, COL_QTY, 5);
    CViewRow only(&w.t.View(0), pBlock);
    ASSERT_TRUE(w.t.View(0).InsertRow(only));
    std::string strBefore = w.Lines(0);
    CRow row = w.t.Find(pBlock);
    ASSERT_TRUE(row.IsValid());
    int32_t nQty = 99;
    EXPECT_FALSE(row.UpdateCell(COL_QTY, &nQty));
    EXPECT_EQ(5, pBlock[COL_QTY].nValue);
    EXPECT_EQ(strBefore, w.Lines(0));       // the total line included
}

TEST(RowWrite, KeyWritesMoveTheRowInEveryViewOnce)
{
    CTwoViewTable w;
    TBCellSlot* pMoving = w.Add(1, 10);
    w.Add(2, 20);
    w.Add(3, 30);
    CRecordingSink sink(&w.t.View(1));
    w.t.View(1).AddSink(&sink);
    CRow row = w.t.Find(pMoving);
    row.GetViewRow(1)->SetMarked(TRUE);
    // Outside an update: the row moves at once and later lookups find it.
    ASSERT_TRUE(row.SetCell(COL_KEY, 9));
    EXPECT_EQ("1:2,20|1:3,30|1:9,10|4:,60|", w.Lines(0));
    int32_t nQty = 25;
    ASSERT_TRUE(row.UpdateCell(COL_QTY, &nQty));
    EXPECT_EQ("1:3,30|1:9,25|1:2,20|", w.Lines(1));
    CRow found = w.t.Find(pMoving);
    EXPECT_EQ(1, found.GetViewRow(1)->GetIndex());
    // Inside an update: stored at once, moved once at the end, still marked.
    int nMoved = sink.m_nMoved;
    row.BeginUpdate();
    nQty = 40;
    ASSERT_TRUE(row.UpdateCell(COL_QTY, &nQty));
    nQty = 1;
    ASSERT_TRUE(row.UpdateCell(COL_QTY, &nQty));
    EXPECT_EQ(nMoved, sink.m_nMoved);
    row.EndUpdate();
    EXPECT_EQ(nMoved + 1, sink.m_nMoved);
    EXPECT_EQ("1:3,30|1:2,20|1:9,1|", w.Lines(1));
    EXPECT_TRUE(row.GetViewRow(1)->GetNode()->IsMarked());
    EXPECT_TRUE(sink.m_errors.empty());
    EXPECT_TRUE(sink.CountMatches());
    EXPECT_TRUE(CheckViewTrees(w.t.View(0)));
    EXPECT_TRUE(CheckViewTrees(w.t.View(1)));
    w.t.View(1).RemoveSink(&sink);
}

TEST(RowWrite, InPlaceEditOfAKeyCellRepositionsTheRow)
{
    CTwoViewTable w;
    w.Add(1, 10);
    w.Add(2, 20);
    EXPECT_FALSE(w.t.View(0).SetCellTextAt(0, COL_KEY, "x1"));
    EXPECT_FALSE(w.t.View(0).SetCellTextAt(2, COL_KEY, "5"));   // the total line
    ASSERT_TRUE(w.t.View(0).SetCellTextAt(0, COL_KEY, "7"));
    EXPECT_EQ("1:2,20|1:7,10|4:,30|", w.Lines(0));
    ASSERT_TRUE(w.t.View(0).SetCellTextAt(1, COL_QTY, "15"));
    EXPECT_EQ("1:2,20|1:7,15|4:,35|", w.Lines(0));
    EXPECT_EQ("1:2,20|1:7,15|", w.Lines(1));
    EXPECT_TRUE(CheckViewTrees(w.t.View(0)));
    EXPECT_TRUE(CheckViewTrees(w.t.View(1)));
}

TEST(RowWrite, SumLinesTakeAttributesButNoValues)
{
    CTwoViewTable w;
    w.Add(1, 10);
    CViewRow total(&w.t.View(0));
    ASSERT_TRUE(w.t.View(0).GetRow(total, 1));
    ASSERT_EQ(LINE_TOTAL, total.GetPosition().m_nKind);
    int32_t nQty = 3;
    EXPECT_FALSE(total.Write(COL_QTY, &nQty, 0, FALSE, FALSE, WRITE_VALUE));
    EXPECT_TRUE(total.SetCellTextColor(COL_QTY, 5));
    EXPECT_EQ(5, total.GetNode()->GetAttr(COL_QTY, 1) & CELL_TEXT_MASK);
    EXPECT_EQ("1:1,10|4:,10|", w.Lines(0));
}

TEST(RowWrite, TextCellsFromBuffersKeepTheirWidths)
{
    CTwoViewTable w;
    TBCellSlot* pBlock = w.Add(1, 10);
    CRow row = w.t.Find(pBlock);
    ASSERT_TRUE(row.SetCellFromBuffer(COL_CODE, CTBString("AB")));
    EXPECT_EQ(0, memcmp(pBlock[COL_CODE].achBytes, "AB\0\0", 4));
    // A short date text is padded, never read past its end.
    ASSERT_TRUE(row.SetCellFromBuffer(COL_DATE, CTBString("2024")));
    EXPECT_EQ(0, memcmp(pBlock[COL_DATE].pData, "2024\0\0\0\0", 8));
    ASSERT_TRUE(row.SetCellFromBuffer(COL_DATE, CTBString("20240131")));
    EXPECT_EQ(0, memcmp(pBlock[COL_DATE].pData, "20240131", 8));
    EXPECT_FALSE(row.SetCellFromBuffer(COL_QTY, CTBString("5")));
}

TEST(RowWrite, WholeRowWritesReplaceTheBlockInEveryView)
{
    CTwoViewTable w;
    TBCellSlot* pOld = w.Add(1, 10);
    w.Add(2, 20);
    TBCellSlot* pNew = w.t.NewBlock();
    PutInt(w.t, pNew, COL_KEY, 5);
    PutInt(w.t, pNew, COL_QTY, 50);
    CRow row = w.t.Find(pOld);
    ASSERT_TRUE(row.SetRowValues(pNew));
    w.t.FreeBlock(pOld);
    EXPECT_EQ("1:2,20|1:5,50|4:,70|", w.Lines(0));
    EXPECT_EQ("1:5,50|1:2,20|", w.Lines(1));
    CRow found = w.t.Find(pNew);
    EXPECT_TRUE(found.IsDataRow());
    EXPECT_EQ(1, found.GetViewRow(0)->GetIndex());
}

// A row taken out for a move and then deleted before its update ends is gone from every view's
// index of blocks: the block no longer finds a row, not even after its node serves another row.
TEST(RowWrite, RowDeletedInTheMiddleOfAMoveIsNoLongerFoundByItsBlock)
{
    CTwoViewTable w;
    TBCellSlot* pGone = w.Add(5, 50);
    w.Add(7, 70);
    {
        CRow row = w.t.Find(pGone);
        row.BeginUpdate();
        int32_t nKey = 9;
        ASSERT_TRUE(row.UpdateCell(COL_KEY, &nKey));
        ASSERT_TRUE(w.t.Table().DeleteRow(row));
    }
    EXPECT_FALSE(w.t.Find(pGone).IsValid());
    TBCellSlot* pNext = w.Add(8, 80);
    EXPECT_FALSE(w.t.Find(pGone).IsValid());
    CRow next = w.t.Find(pNext);
    ASSERT_TRUE(next.IsDataRow());
    EXPECT_EQ("1:7,70|1:8,80|4:,150|", w.Lines(0));
    EXPECT_EQ("1:8,80|1:7,70|", w.Lines(1));
}

// The total line counts the rows the filters show: removing a hidden row leaves it, and tells
// nobody it changed; removing a shown one changes it.
TEST(RowWrite, RemovingAHiddenRowLeavesTheTotalLineAlone)
{
    CTwoViewTable w;
    w.Add(1, 10);
    TBCellSlot* pHidden = w.Add(2, 5);
    TBCellSlot* pShown = w.Add(3, 30);
    CViewTable& view = w.t.View(0);
    CTableFilters* pFilters = new CTableFilters;
    ASSERT_TRUE(pFilters->Init(&view, nullptr));
    ASSERT_EQ(0, pFilters->AddFilter(COL_QTY, ">=10", FALSE, 0));
    // The rows the filter marks alone show.
    pFilters->SetMode(FILTER_MARK);
    view.SetFilters(pFilters);
    view.ApplyFilters(pFilters);
    view.SetSumMode(1);
    ASSERT_EQ("1:1,10|1:3,30|4:,40|", w.Lines(0));
    CRecordingSink sink(&view);
    view.AddSink(&sink);
    CRow hidden = w.t.Find(pHidden);
    ASSERT_TRUE(w.t.Table().DeleteRow(hidden));
    EXPECT_EQ("1:1,10|1:3,30|4:,40|", w.Lines(0));
    EXPECT_EQ(0, sink.m_nChanged);
    CRow shown = w.t.Find(pShown);
    ASSERT_TRUE(w.t.Table().DeleteRow(shown));
    EXPECT_EQ("1:1,10|4:,10|", w.Lines(0));
    EXPECT_GE(sink.m_nChanged, 1);
    EXPECT_TRUE(sink.m_errors.empty());
    EXPECT_TRUE(sink.CountMatches());
    view.RemoveSink(&sink);
    view.SetFilters(nullptr);
}
