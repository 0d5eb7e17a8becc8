// The row store through its public operations: ordering, searches, key changes, removals and
// what reaches the engine table and its windows.
#include <gtest/gtest.h>
#include "DataArrayTestSupport.h"
#include "framework/table/TableFilters.h"

namespace {

void AddFour(CQuoteStore& q)
{
    EXPECT_EQ(0, q.Add("C", 1, 5.0, 1));
    EXPECT_EQ(0, q.Add("A", 2, 6.0, 2));
    EXPECT_EQ(1, q.Add("B", 1, 7.0, 3));
    EXPECT_EQ(0, q.Add("A", 1, 8.0, 4));
}

TEST(DataArray, AddsInKeyOrderRefusingEqualKeysOutsideALoad)
{
    CQuoteStore q;
    EXPECT_EQ(nullptr, q.rows.FindRow({"A"}));
    EXPECT_EQ(-1, q.rows.FindRowIndexByIds({1}));
    AddFour(q);
    EXPECT_EQ("A/1#4 A/2#2 B/1#3 C/1#1 ", q.StoreText());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
    EXPECT_EQ("A/1#4 B/1#3 A/2#2 C/1#1 ", q.ViewRows(1)) << "view 1 sorts by price, descending";

    EXPECT_EQ(-1, q.Add("A", 2, 9.0, 5)) << "equal keys are refused";
    EXPECT_EQ(4, q.rows.GetCount());
    EXPECT_EQ(4, q.table.GetRowCount());
    EXPECT_EQ(6.0, q.rows.FindRow({"A", "2"})->GetDouble(QCOL_LAST)) << "the first row stays";

    // A load appends, finds nothing until its end, and keeps both rows of equal keys.
    q.rows.BeginUpdate();
    EXPECT_EQ(4, q.Add("A", 2, 9.0, 5));
    EXPECT_EQ(5, q.Add("0", 7, 1.0, 6));
    EXPECT_EQ(nullptr, q.rows.FindRow({"A", "2"}));
    EXPECT_EQ(6, q.table.GetRowCount());
    q.rows.EndUpdate();
    EXPECT_EQ("0/7#6 A/1#4 A/2#2 A/2#5 B/1#3 C/1#1 ", q.StoreText()) << "equal keys keep their arrival order";
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
    EXPECT_EQ(2, q.rows.FindRowIndex({"A", "2"}));
}

TEST(DataArray, SearchesByTextsIdsAndPrefixes)
{
    CQuoteStore q;
    AddFour(q);
    EXPECT_EQ(0, q.rows.FindRowIndex({"A"})) << "a prefix finds the first row of its range";
    EXPECT_EQ(1, q.rows.FindRowIndex({"A", "2"}));
    EXPECT_EQ(1, q.rows.FindRowIndex({"A", "2", "surplus", "keys"}));
    EXPECT_EQ(-1, q.rows.FindRowIndex({"A", "3"}));
    EXPECT_EQ(-1, q.rows.FindRowIndex({"AB"}));
    EXPECT_EQ(nullptr, q.rows.FindRow({nullptr}));
    EXPECT_EQ(nullptr, q.rows.FindRow(std::span<const char* const>()));
    std::vector<const char*> keys{"C", "1"};
    EXPECT_EQ(3, q.rows.FindRowIndex(keys));

    CRowFinder finder;
    q.rows.FindRange(finder, {"A"});
    ASSERT_NE(nullptr, finder.GetRow());
    EXPECT_EQ(4, finder.GetRow()->GetLong(QCOL_TAG));
    ASSERT_NE(nullptr, finder.FindNext());
    EXPECT_EQ(2, finder.GetRow()->GetLong(QCOL_TAG));
    EXPECT_EQ(nullptr, finder.FindNext()) << "B follows the range";
    EXPECT_EQ(1, finder.m_nIndex) << "the finder stays on the range's last row";
    q.rows.FindRange(finder, {"Q"});
    EXPECT_EQ(nullptr, finder.GetRow());
    EXPECT_EQ(nullptr, finder.FindNext());

    // Ids reach each key column in its own form: here an integer and a text key.
    CQuoteStore ids;
    ids.rows.SetKeyColumns({QCOL_TAG, QCOL_SYM});
    ids.Add("X", 1, 1.0, 30);
    ids.Add("12", 1, 1.0, 20);
    ids.Add("7", 1, 1.0, 20);
    EXPECT_EQ("X", std::string(ids.rows.FindRowByIds({30})->GetText(QCOL_SYM)));
    EXPECT_EQ("12", std::string(ids.rows.FindRowByIds({20, 12})->GetText(QCOL_SYM)));
    EXPECT_EQ(0, ids.rows.FindRowIndexByIds({20}));
    EXPECT_EQ(nullptr, ids.rows.FindRowByIds({-1}));
    EXPECT_EQ(nullptr, ids.rows.FindRowByIds({21}));

    // New keys re-sort the rows stored under the old ones.
    ASSERT_TRUE(q.rows.SetKeyColumns({QCOL_TAG}));
    EXPECT_EQ("C/1#1 A/2#2 B/1#3 A/1#4 ", q.StoreText());
    EXPECT_EQ(2, q.rows.FindRowIndexByIds({3}));
}

TEST(DataArray, KeyChangesMoveTheRowInStoreAndViews)
{
    CQuoteStore q;
    AddFour(q);
    // Outside a batch the row moves at once.
    EXPECT_TRUE(q.rows.FindRow({"A", "1"})->SetText(QCOL_SYM, "D", TRUE));
    EXPECT_EQ("A/2#2 B/1#3 C/1#1 D/1#4 ", q.StoreText());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
    EXPECT_EQ(3, q.rows.FindRowIndex({"D", "1"}));

    // Keys equal to another row's: both rows stay, stored and shown.
    EXPECT_TRUE(q.rows.FindRow({"D"})->SetText(QCOL_SYM, "B", TRUE));
    EXPECT_EQ("A/2#2 B/1#3 B/1#4 C/1#1 ", q.StoreText());
    EXPECT_EQ(4, q.table.GetRowCount());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));

    // Inside a batch the store is out of order until Commit, and says so by finding nothing.
    CDataBuffer* pRow = q.rows.FindRow({"A", "2"});
    pRow->BeginChanges();
    pRow->SetText(QCOL_SYM, "E", TRUE);
    int32_t nBoard = 0;
    pRow->SetValue(QCOL_BOARD, &nBoard, TRUE);
    EXPECT_EQ(nullptr, q.rows.FindRow({"C"}));
    pRow->Commit();
    EXPECT_EQ("B/1#3 B/1#4 C/1#1 E/0#2 ", q.StoreText());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
    EXPECT_EQ(pRow, q.rows.FindRow({"E", "0"}));
    EXPECT_EQ(3, q.rows.FindIndexOfRow(pRow));

    // A row removed in the middle of its batch takes its open key change with it.
    pRow = q.rows.GetAt(0);
    pRow->BeginChanges();
    pRow->SetText(QCOL_SYM, "Z", TRUE);
    EXPECT_TRUE(q.rows.RemoveAt(0));
    EXPECT_FALSE(q.rows.IsBulk());
    EXPECT_EQ("B/1#4 C/1#1 E/0#2 ", q.StoreText());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
}

TEST(DataArray, KeyChangesDuringALoadWaitForItsSort)
{
    CQuoteStore q;
    AddFour(q);
    q.rows.BeginUpdate();
    q.Add("B", 0, 1.0, 5);
    // A computation on a stored row during the load: a plain key write and a batch.
    q.rows.GetAt(0)->SetText(QCOL_SYM, "Z", TRUE);
    CDataBuffer* pRow = q.rows.GetAt(1);
    pRow->BeginChanges();
    pRow->SetText(QCOL_SYM, "0", TRUE);
    pRow->Commit();
    EXPECT_TRUE(q.rows.IsBulk()) << "a batch inside a load leaves the load's order to its end";
    EXPECT_EQ(nullptr, q.rows.FindRow({"Z"}));
    EXPECT_EQ("Z/1#4 0/2#2 B/1#3 C/1#1 B/0#5 ", q.StoreText());
    q.rows.EndUpdate();
    EXPECT_EQ("0/2#2 B/0#5 B/1#3 C/1#1 Z/1#4 ", q.StoreText());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
}

TEST(DataArray, BatchWritesThroughOnceAndEqualWritesNotAtAll)
{
    CQuoteStore q;
    AddFour(q);
    CRecordingSink priceSink(q.table.GetView(1));
    q.table.GetView(1)->AddSink(&priceSink);
    CDataBuffer* pRow = q.rows.FindRow({"B", "1"});
    auto Events = [&] { return q.pSink->m_nChanged + q.pSink->m_nMoved + priceSink.m_nChanged + priceSink.m_nMoved; };

    // Three writes of the price (a sort key of the price view), the volume and a colour: the
    // views hear of it at Commit only, each changed cell once, and the price view moves the row once.
    int nBefore = Events();
    pRow->BeginChanges();
    EXPECT_TRUE(pRow->SetDouble(QCOL_LAST, 9.0, TRUE));
    EXPECT_TRUE(pRow->SetDouble(QCOL_LAST, 9.25, TRUE));
    EXPECT_TRUE(pRow->SetText(QCOL_LAST, "9.5", TRUE));
    LONGLONG nVol = 5000000000LL;
    EXPECT_TRUE(pRow->SetValue(QCOL_VOL, &nVol, TRUE));
    EXPECT_TRUE(pRow->SetCellAttribute(QCOL_LAST, 4));
    EXPECT_EQ(nBefore, Events()) << "nothing is told before Commit";
    int nMovedBefore = priceSink.m_nMoved;
    pRow->Commit();
    EXPECT_EQ(2, q.pSink->m_nChanged) << "price and volume cells of the key-ordered view";
    EXPECT_EQ(1, priceSink.m_nMoved - nMovedBefore) << "one re-sort";
    EXPECT_EQ("B/1#3 A/1#4 A/2#2 C/1#1 ", q.ViewRows(1));
    EXPECT_TRUE(q.pSink->m_errors.empty());
    EXPECT_TRUE(priceSink.m_errors.empty());

    // The engine holds the values the store holds.
    CRow key(&q.table, pRow->GetValues());
    CRow found = q.table.FindRow(key);
    CTBString strText;
    ASSERT_TRUE(found.GetText(strText, QCOL_VOL));
    EXPECT_STREQ("5000000000", strText);

    // Present values and colours change nothing, in a batch or outside.
    nBefore = Events();
    EXPECT_TRUE(pRow->SetDouble(QCOL_LAST, 9.5, TRUE));
    EXPECT_TRUE(pRow->SetValue(QCOL_VOL, &nVol, TRUE));
    EXPECT_TRUE(pRow->SetCellAttribute(QCOL_LAST, 4));
    pRow->BeginChanges();
    pRow->SetText(QCOL_LAST, "9.5", TRUE);
    pRow->SetCellAttribute(QCOL_LAST, 4);
    pRow->Commit();
    EXPECT_EQ(nBefore, Events());

    // A single change outside a batch is told at once; without publish the engine hears nothing.
    nVol = 7;
    EXPECT_TRUE(pRow->SetValue(QCOL_VOL, &nVol, TRUE));
    EXPECT_EQ(nBefore + 2, Events()) << "one cell in each view";
    EXPECT_TRUE(pRow->SetDouble(QCOL_LAST, 2.25, FALSE));
    EXPECT_EQ(nBefore + 2, Events());
    EXPECT_EQ(2.25, pRow->GetDouble(QCOL_LAST));
    EXPECT_TRUE(pRow->SetCellBackColor(QCOL_LAST, 3));
    EXPECT_TRUE(pRow->SetViewCellAttribute(1, QCOL_LAST, 5));
    EXPECT_FALSE(pRow->SetViewCellAttribute(2, QCOL_LAST, 5)) << "no third view";
    EXPECT_FALSE(pRow->SetCellAttribute(QCOL_COUNT, 1));
    q.table.GetView(1)->RemoveSink(&priceSink);
}

TEST(DataArray, RefusesWhatLiesOutsideTheTable)
{
    CQuoteStore q;
    AddFour(q);
    CDataBuffer* pRow = q.rows.GetAt(0);
    EXPECT_FALSE(pRow->SetText(QCOL_COUNT, "1", TRUE));
    EXPECT_FALSE(pRow->SetText(-1, "1", TRUE));
    EXPECT_EQ(0, pRow->GetLong(QCOL_COUNT));
    EXPECT_EQ(0.0, pRow->GetDouble(-1));
    EXPECT_EQ(0, pRow->GetInt64(99));
    EXPECT_STREQ("", pRow->GetText(QCOL_COUNT, TRUE));
    EXPECT_TRUE(pRow->GetValue(QCOL_COUNT).IsEmpty());
    EXPECT_EQ(nullptr, q.rows.GetAt(4));
    EXPECT_EQ(nullptr, q.rows.GetAt(-1));

    EXPECT_FALSE(q.rows.RemoveAt(4));
    EXPECT_FALSE(q.rows.RemoveAt(-1));
    EXPECT_FALSE(q.rows.RemoveRow({"Q"}));
    EXPECT_EQ(4, q.table.GetRowCount());
    EXPECT_TRUE(q.rows.RemoveRow({"A"}));
    EXPECT_EQ("A/2#2 B/1#3 C/1#1 ", q.StoreText());
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
    EXPECT_TRUE(q.rows.RemoveAt(2));
    EXPECT_EQ(q.StoreText(), q.ViewRows(0));
    // The current view may show none of the rows (filtered out, sums only): they go all the same.
    CViewTable& prices = *q.table.GetView(1);
    CTableFilters* pFilters = new CTableFilters;
    ASSERT_TRUE(pFilters->Init(&prices, nullptr));
    ASSERT_EQ(0, pFilters->AddFilter(QCOL_LAST, ">=100", /*bFlag=*/FALSE, /*nGroup=*/0));
    prices.SetFilters(pFilters);
    prices.ApplyFilters(pFilters);
    prices.SetSumMode(1);
    q.table.SetCurrentView(1);
    q.rows.RemoveAll();
    q.table.SetCurrentView(0);
    EXPECT_EQ(0, q.rows.GetCount());
    EXPECT_EQ(0, q.table.GetRowCount()) << "no engine row is left on a freed block";
    EXPECT_EQ(0, prices.GetRowTree().GetNodeCount());

    // Key lists that name no column, and a store without a table.
    EXPECT_FALSE(q.rows.SetKeyColumns({-1}));
    EXPECT_FALSE(q.rows.SetKeyColumns({QCOL_SYM, QCOL_COUNT}));
    EXPECT_FALSE(q.rows.SetKeyColumns({0, 1, 2, 3, 4, 0}));
    EXPECT_EQ(2, q.rows.GetKeyColumnCount());
    CDataArray unbound;
    EXPECT_FALSE(unbound.SetKeyColumns({0}));
    CDataBuffer* pLoose = unbound.NewRow();
    EXPECT_FALSE(pLoose->SetText(0, "A", TRUE));
    EXPECT_EQ(-1, unbound.AddRow(pLoose, TRUE));
    EXPECT_EQ(0, pLoose->GetLong(0));
    delete pLoose;
}

} // namespace
