// Tables and views: views and their options, events, the memory guard, snapshots.
#include <gtest/gtest.h>
#include "TableTestSupport.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/TablePlatform.h"
#include "framework/table/TBMenu.h"
#include "platform/win/user/Menu.h"

namespace {

class COptionSink : public CTableEventSink
{
public:
    void OnShowHeaderChanged(BOOL) override { ++m_nOptions; }
    void OnTotalsModeChanged(int) override { ++m_nOptions; }
    void OnTitleChanged(const CTBString*, int) override { ++m_nOptions; }
    void OnSumModeChanged() override { ++m_nOptions; }
    void OnFixedColumnsChanged(int nCount) override { m_nFixed = nCount; }
    void OnMemoryLow(int nPercent) override { m_nMemoryLow = nPercent; }
    void OnRowAlert(CViewRow*, BOOL* pbHandled) override { ++m_nAlerts; *pbHandled = m_bHandle; }
    void OnViewDestroyed() override
    {
        ++m_nDestroyed;
        if (m_pView)
            m_pView->RemoveSink(this);
    }
    CViewTable* m_pView = nullptr;
    int m_nOptions = 0;
    int m_nFixed = -1;
    int m_nMemoryLow = -1;
    int m_nAlerts = 0;
    BOOL m_bHandle = FALSE;
    int m_nDestroyed = 0;
};

int s_nBeeps = 0;
void CountBeep() { ++s_nBeeps; }
double s_dMemoryLoad = 0;
int s_nMemoryReads = 0;
BOOL FakeMemoryLoad(double* pdUsed) { ++s_nMemoryReads; *pdUsed = s_dMemoryLoad; return TRUE; }

}  // namespace

TEST(Table, ViewsCopyTheBaseAndTakeCutAndPasteAway)
{
    UseSourceResources();
    CTable table;
    ASSERT_EQ(1, table.GetViewCount());
    EXPECT_STREQ("MyTable", table.GetName());
    EXPECT_EQ(0, table.GetView(0)->GetViewId());
    EXPECT_FALSE(table.GetView(0)->IsOpen());
    EXPECT_EQ(0, table.GetRowCount());
    CColumn column = table.AddColumn();
    column.GetTableColumn()->m_bEditable = TRUE;
    ASSERT_TRUE(table.Open());
    // A single view that allows cut or paste keeps the table to itself.
    EXPECT_EQ(-1, table.AddViewCopy("Second", table.GetView(0)));
    table.SetAllowCut(FALSE);
    table.SetAllowPaste(FALSE);
    table.GetView(0)->m_bAllowPaste = TRUE;
    EXPECT_EQ(-1, table.AddView("TableView"));
    table.SetAllowPaste(FALSE);
    ASSERT_EQ(1, table.AddView("TableView"));
    EXPECT_EQ(1, table.GetView(1)->GetViewId());
    EXPECT_FALSE(table.GetView(0)->GetColumns()[0]->m_bEditable);
    table.SetAllowCut(TRUE);
    EXPECT_FALSE(table.GetView(0)->m_bAllowCut);
    EXPECT_FALSE(table.GetView(1)->m_bAllowCut);

    table.SetName("Quotes");
    CViewTable* pSnapshot = table.CreateSnapshotView(3);
    ASSERT_NE(nullptr, pSnapshot);
    EXPECT_EQ("Quotes_Snapshot", std::string(pSnapshot->GetName()));
    delete pSnapshot;
    EXPECT_TRUE(table.RemoveView(table.GetView(1)));
    EXPECT_EQ(1, table.GetViewCount());
}

TEST(ViewTable, OptionsFireOnlyWhenTheyChange)
{
    UseSourceResources();
    COwnedTable t({{"A", COLTYPE_INT32, 0, FALSE}, {"B", COLTYPE_INT32, 0, FALSE}, {"C", COLTYPE_INT32, 0, FALSE}});
    t.Table().Open();
    COptionSink sink;
    CViewTable& view = t.View();
    view.AddSink(&sink);
    view.SetShowHeader(TRUE);
    view.SetTotalsMode(-1);
    view.SetSumMode(0);
    view.SetTitle("", 0);
    EXPECT_EQ(0, sink.m_nOptions);
    view.SetShowHeader(FALSE);
    view.SetTitle("Quotes", 1);
    view.SetTitle("Quotes", 1);
    EXPECT_EQ(2, sink.m_nOptions);

    // Fixed columns count visible columns: a permanently hidden one is walked over.
    view.GetColumns()[1]->m_bHidden = TRUE;
    view.GetColumns()[1]->m_bUserSwitchable = FALSE;
    view.SetFixedColumnCount(2);
    EXPECT_EQ(3, sink.m_nFixed);
    EXPECT_EQ(2, view.GetFixedColumnCount());
    view.SetFixedColumnCount(9);
    EXPECT_EQ(2, view.GetFixedColumnCount());
    view.RemoveSink(&sink);
}

TEST(ViewTable, MemoryGuardReadsOnEveryThousandthLine)
{
    UseSourceResources();
    COwnedTable t({{"N", COLTYPE_INT32, 0, FALSE}});
    t.Table().Open();
    COptionSink sink;
    t.View().AddSink(&sink);
    CViewTable::SetMemoryLoadProc(FakeMemoryLoad);
    s_nMemoryReads = 0;
    s_dMemoryLoad = 99.7;
    for (int i = 0; i < 999; ++i)
        t.Insert(t.NewBlock());
    EXPECT_EQ(-1, sink.m_nMemoryLow);
    t.Insert(t.NewBlock());                 // the view held 999 lines
    EXPECT_EQ(-1, sink.m_nMemoryLow);
    t.Insert(t.NewBlock());                 // now it held 1000
    EXPECT_EQ(99, sink.m_nMemoryLow);
    EXPECT_EQ(1, s_nMemoryReads);
    // A table that stays at its size by deleting and inserting reads the status once only.
    ASSERT_TRUE(t.View().DeleteRowAt(0));
    for (int i = 0; i < 5; ++i) {
        t.Insert(t.NewBlock());             // each time the view holds 1000 lines
        ASSERT_TRUE(t.View().DeleteRowAt(0));
    }
    EXPECT_EQ(1, s_nMemoryReads);
    sink.m_nMemoryLow = -1;
    s_dMemoryLoad = 50;
    for (int i = 0; i < 1000; ++i)
        t.Insert(t.NewBlock());
    EXPECT_EQ(-1, sink.m_nMemoryLow);
    CViewTable::SetMemoryLoadProc(nullptr);
    t.View().RemoveSink(&sink);
}

TEST(ViewTable, MarkedRowAlertsBeepUnlessASinkHandlesThem)
{
    UseSourceResources();
    COwnedTable t({{"N", COLTYPE_INT32, 0, FALSE}});
    t.Table().Open();
    COptionSink sink;
    t.View().AddSink(&sink);
    t.View().m_bRowAlerts = TRUE;
    TableSetBeepProc(CountBeep);
    TBCellSlot* pBlock = t.NewBlock();
    t.Insert(pBlock);
    CRow row = t.Find(pBlock);
    row.GetViewRow(0)->SetMarked(TRUE);
    s_nBeeps = 0;
    ASSERT_TRUE(row.SetCell(0, 5));
    EXPECT_EQ(1, sink.m_nAlerts);
    EXPECT_EQ(1, s_nBeeps);
    GetNorvGlobals().m_bBeep = FALSE;
    ASSERT_TRUE(row.SetCell(0, 6));
    EXPECT_EQ(1, s_nBeeps);
    GetNorvGlobals().m_bBeep = TRUE;
    sink.m_bHandle = TRUE;
    ASSERT_TRUE(row.SetCell(0, 7));
    EXPECT_EQ(3, sink.m_nAlerts);
    EXPECT_EQ(1, s_nBeeps);
    TableSetBeepProc(nullptr);
    t.View().RemoveSink(&sink);
}

TEST(ViewTable, DestroyedViewTellsSinksOnceAndRemoveAllRowsRebuildsOnce)
{
    UseSourceResources();
    COptionSink sink;
    {
        COwnedTable t({{"N", COLTYPE_INT32, 0, FALSE}});
        t.Table().Open();
        CRecordingSink rows(&t.View());
        t.View().AddSink(&rows);
        for (int i = 0; i < 5; ++i)
            t.Insert(t.NewBlock());
        int nRemoved = rows.m_nRemoved;
        t.Table().RemoveAllRows();
        EXPECT_EQ(nRemoved, rows.m_nRemoved);  // suspended: no per-row removals
        EXPECT_EQ(1, rows.m_nFilterChanged);
        EXPECT_EQ(0, t.View().GetRowCount());
        t.View().RemoveSink(&rows);
        sink.m_pView = &t.View();
        t.View().AddSink(&sink);
    }
    EXPECT_EQ(1, sink.m_nDestroyed);
}

TEST(ViewTable, ColumnMenuListsSwitchableColumnsSortedWithChecks)
{
    UseSourceResources();
    COwnedTable t({{"b", COLTYPE_INT32, 0, FALSE}, {"B", COLTYPE_INT32, 0, FALSE}, {"a\nline", COLTYPE_INT32, 0, FALSE},
                   {"fixed", COLTYPE_INT32, 0, FALSE}});
    t.View().GetColumns()[3]->m_bUserSwitchable = FALSE;
    t.View().GetColumns()[1]->m_bHidden = TRUE;
    HMENU hMenu = t.View().BuildColumnMenu();
    ASSERT_NE(nullptr, hMenu);
    ASSERT_EQ(3, GetMenuItemCount(hMenu));
    char szText[32];
    GetMenuStringA(hMenu, 0, szText, sizeof szText, MF_BYPOSITION);
    EXPECT_STREQ("B", szText);
    EXPECT_EQ(27001u, GetMenuItemID(hMenu, 0));
    EXPECT_EQ(0u, GetMenuState(hMenu, 0, MF_BYPOSITION) & MF_CHECKED);
    GetMenuStringA(hMenu, 1, szText, sizeof szText, MF_BYPOSITION);
    EXPECT_STREQ("a line", szText);
    EXPECT_NE(0u, GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(27000u, GetMenuItemID(hMenu, 2));
    DestroyMenu(hMenu);
    CViewTable empty;
    EXPECT_EQ(nullptr, empty.BuildColumnMenu());
}
