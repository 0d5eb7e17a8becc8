// Snapshot views, as printing takes them: rows copied with their category bits, and a category
// mask that hides rows of the snapshot and leaves them out of its sums, never touching the view.
#include <gtest/gtest.h>
#include <memory>
#include "TableTestSupport.h"
#include "framework/table/TableGroups.h"

namespace {

enum { COL_SYM, COL_GROUP, COL_QTY };

// Rows r0..rN with a group column; rows whose group is shared form a group, the others stay bare.
class CSnapshotTable
{
public:
    CSnapshotTable() : t({{"Sym", COLTYPE_STRING, 8, FALSE}, {"Grp", COLTYPE_INT32, 0, FALSE}, {"Qty", COLTYPE_INT32, 0, TRUE}})
    {
        UseSourceResources();
        t.Table().SetName("Quotes");
        t.Table().Open();
    }
    ~CSnapshotTable() { t.Table().RemoveAllRows(); }
    CRow Add(const std::string& strSym, int nGroup, int nQty)
    {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, COL_SYM, strSym.c_str());
        PutInt(t, pBlock, COL_GROUP, nGroup);
        PutInt(t, pBlock, COL_QTY, nQty);
        EXPECT_TRUE(t.Insert(pBlock));
        return t.Find(pBlock);
    }
    void GroupBy(int nCol)
    {
        CSortColumns keys(30);
        keys.Add(nCol, SORT_ASCENDING);
        t.View().Sort(keys, /*bGroup=*/TRUE);
    }
    COwnedTable t;
};

// The visible rows of a view by symbol, in display order, and the total of Qty over them.
std::string Shown(CViewTable& view)
{
    std::string out;
    for (int i = 0; i < view.GetRowCount(); ++i) {
        CRowPosition pos;
        if (view.GetRowTree().LocateByIndex(i, &pos) && pos.IsDataRow())
            out += std::string(static_cast<const char*>(pos.m_pNode->GetData()[COL_SYM].pData)) + " ";
    }
    char szTotal[32];
    view.GetRowTree().GetTotalLine()->GetCellText(szTotal, sizeof szTotal, COL_QTY, view.GetColumns()[COL_QTY], &view);
    return out + "= " + szTotal;
}

std::unique_ptr<CViewTable> Snapshot(CTable& table, int nFlags)
{
    std::unique_ptr<CViewTable> pSnapshot(table.CreateSnapshotView(nFlags));
    EXPECT_NE(nullptr, pSnapshot);
    return pSnapshot;
}

}  // namespace

TEST(SnapshotView, EveryCategoryBitHidesItsRowsAloneAndAllOnesHideEveryRow)
{
    for (BOOL bGrouped : {FALSE, TRUE}) {
        CSnapshotTable s;
        // Row b carries category bit b alone; "none" carries none. Grouped, the first sixteen
        // rows form groups ("none" joins the first) and the rest stay bare, so that both kinds
        // of line are walked.
        for (int b = 0; b < 32; ++b)
            s.Add("r" + std::to_string(b), b < 16 ? b / 2 : 100 + b, 1).GetViewRow(0)->SetCategoryBits(1u << b);
        s.Add("none", 0, 1000);
        if (bGrouped)
            s.GroupBy(COL_GROUP);
        std::unique_ptr<CViewTable> pSnapshot = Snapshot(s.t.Table(), 0);
        CTableGroups& rows = pSnapshot->GetRowTree();
        std::string strAll = Shown(*pSnapshot);
        ASSERT_EQ("= 1,032", strAll.substr(strAll.size() - 7)) << "grouped " << bGrouped;
        for (int b = 0; b < 32; ++b) {
            rows.RecalcTableGroupsByMask(1u << b);
            std::string strWithout = strAll;
            strWithout.erase(strWithout.find("r" + std::to_string(b) + " "), std::to_string(b).size() + 2);
            strWithout.replace(strWithout.find("= "), std::string::npos, "= 1,031");
            EXPECT_EQ(strWithout, Shown(*pSnapshot)) << "bit " << b << " grouped " << bGrouped;
        }
        rows.RecalcTableGroupsByMask(0xffffffff);
        EXPECT_EQ("= ", Shown(*pSnapshot)) << "grouped " << bGrouped;
        // Every bit but the top one: a row without categories still shows.
        rows.RecalcTableGroupsByMask(0x7fffffff);
        EXPECT_EQ(bGrouped ? "none r31 = 1,001" : "r31 none = 1,001", Shown(*pSnapshot)) << "grouped " << bGrouped;
        rows.RecalcTableGroupsByMask(0);
        EXPECT_EQ(strAll, Shown(*pSnapshot)) << "grouped " << bGrouped;
        // The live view never saw any of it.
        EXPECT_EQ(strAll, Shown(s.t.View())) << "grouped " << bGrouped;
    }
}

TEST(SnapshotView, PrintMasksHideHiddenOrUnmarkedRows)
{
    for (BOOL bGrouped : {FALSE, TRUE}) {
        CSnapshotTable s;
        // a and b marked, c and d not; a and c share a group.
        s.Add("a", 1, 1).GetViewRow(0)->SetMarked(TRUE);
        s.Add("b", 2, 10).GetViewRow(0)->SetMarked(TRUE);
        s.Add("c", 1, 100);
        s.Add("d", 3, 1000);
        if (bGrouped)
            s.GroupBy(COL_GROUP);
        const char* pszAll = bGrouped ? "a c b d = 1,111" : "a b c d = 1,111";
        const char* pszMarked = "a b = 11";
        // All rows shown in the view: bit 1 says unmarked, bit 0 (hidden) is never set.
        std::unique_ptr<CViewTable> pShown = Snapshot(s.t.Table(), 3);
        for (DWORD dwMask : {0u, 1u}) {
            pShown->GetRowTree().RecalcTableGroupsByMask(dwMask);
            EXPECT_EQ(pszAll, Shown(*pShown)) << "mask " << dwMask << " grouped " << bGrouped;
        }
        pShown->GetRowTree().RecalcTableGroupsByMask(2);
        EXPECT_EQ(pszMarked, Shown(*pShown)) << "grouped " << bGrouped;
        // Marked-rows mode hides the unmarked rows: now bits 0 and 1 both say so, and mask 0
        // prints the rows the window hides.
        s.t.View().SetSumMode(1);
        ASSERT_EQ(pszMarked, Shown(s.t.View()));
        std::unique_ptr<CViewTable> pMarkedMode = Snapshot(s.t.Table(), 3);
        for (DWORD dwMask : {1u, 2u}) {
            pMarkedMode->GetRowTree().RecalcTableGroupsByMask(dwMask);
            EXPECT_EQ(pszMarked, Shown(*pMarkedMode)) << "mask " << dwMask << " grouped " << bGrouped;
        }
        pMarkedMode->GetRowTree().RecalcTableGroupsByMask(0);
        EXPECT_EQ(pszAll, Shown(*pMarkedMode)) << "grouped " << bGrouped;
        EXPECT_EQ(pszMarked, Shown(s.t.View())) << "grouped " << bGrouped;
        // A snapshot without flag 2 keeps the categories the rows carry.
        std::unique_ptr<CViewTable> pPlain = Snapshot(s.t.Table(), 1);
        pPlain->GetRowTree().RecalcTableGroupsByMask(2);
        EXPECT_EQ(pszAll, Shown(*pPlain)) << "grouped " << bGrouped;
    }
}
