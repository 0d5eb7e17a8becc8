// View settings: what a view saves comes back, in closed and open views, and failures leave the
// settings objects pointing where they were.
#include <gtest/gtest.h>
#include <cstdio>
#include "TableTestSupport.h"
#include "framework/base/Ini.h"
#include "framework/table/TableFilters.h"
#include "framework/table/TableKeys.h"

namespace {

std::string FreshIni(const char* pszName)
{
    std::string strPath = TestFilePath(std::string(pszName) + ".ini");
    remove(strPath.c_str());
    return strPath;
}

std::vector<CTestColumn> Columns()
{
    return {{"Sym", COLTYPE_STRING, 8, FALSE}, {"Last", COLTYPE_INT32, 0, TRUE}, {"Vol", COLTYPE_INT32, 0, TRUE}};
}

void Fill(COwnedTable& t)
{
    const char* names[] = {"b", "a", "c", "a"};
    for (int i = 0; i < 4; ++i) {
        TBCellSlot* pBlock = t.NewBlock();
        PutText(t, pBlock, 0, names[i]);
        PutInt(t, pBlock, 1, 10 * (i + 1));
        PutInt(t, pBlock, 2, i);
        t.Insert(pBlock);
    }
}

}  // namespace

TEST(ViewSettings, ALayoutSavedComesBackIntoAClosedAndAnOpenView)
{
    UseSourceResources();
    std::string strPath = FreshIni("view_layout");
    CIni layout(strPath.c_str(), "Quotes");
    {
        COwnedTable t(Columns());
        t.Table().SetName("Quotes");
        t.Table().Open();
        CViewTable& view = t.View();
        CSortColumns keys(30);
        keys.Add(0, SORT_DESCENDING);
        view.Sort(keys, /*bGroup=*/TRUE);
        view.GetColumns()[1]->m_nWidth = 120;
        view.GetColumnOrder().MoveColumn(2, 0);
        view.SetFixedColumnCount(1);
        view.m_bRowAlerts = TRUE;
        CTableFilters* pFilters = new CTableFilters;
        pFilters->Init(&view, nullptr);
        pFilters->AddFilter(1, ">=20", /*bFlag=*/TRUE, /*nGroup=*/0);
        view.SetFilters(pFilters);
        t.Table().SaveSettings(&layout, nullptr);
        EXPECT_EQ("Quotes", std::string(layout.GetSection()));
    }
    // A closed view takes the layout as it is.
    COwnedTable closed(Columns());
    ASSERT_TRUE(closed.Table().LoadSettings(&layout, nullptr));
    CViewTable& view = closed.View();
    EXPECT_EQ("-0", std::string(view.GetSortColumns().ToText()));
    EXPECT_EQ("-0", std::string(view.GetGroupColumns().ToText()));
    EXPECT_EQ(120, view.GetColumns()[1]->m_nWidth);
    EXPECT_EQ(2, view.GetColumnOrder().GetColumnIndex(0));
    EXPECT_EQ(1, view.GetFixedColumnCount());
    EXPECT_TRUE(view.m_bRowAlerts);
    ASSERT_NE(nullptr, view.GetFilters());
    EXPECT_TRUE(view.GetFilters()->HasFilterOn(1));
    EXPECT_TRUE((*view.GetFilters()->GetColumnFilter(1))[0]->GetFlag());

    // An open view re-sorts its rows and its sinks rebuild once.
    COwnedTable open(Columns());
    open.Table().Open();
    open.View().SetName("Mine");
    open.View().m_bAllowSortDialog = FALSE;
    Fill(open);
    CRecordingSink sink(&open.View());
    open.View().AddSink(&sink);
    ASSERT_TRUE(open.Table().LoadSettings(&layout, nullptr));
    EXPECT_EQ(1, sink.m_nFilterChanged);
    EXPECT_FALSE(open.View().IsSuspended());
    EXPECT_EQ("Mine", std::string(open.View().GetName()));
    EXPECT_FALSE(open.View().m_bAllowSortDialog);
    EXPECT_EQ("2:c|2:b|1:a|2:a|", ViewText(open.View(), {0}));
    EXPECT_EQ(3, open.View().GetRowTree().GetMarkedCount());  // marked by the loaded filter
    EXPECT_TRUE(CheckViewTrees(open.View()));
    open.View().RemoveSink(&sink);
}

TEST(ViewSettings, ModesOutOfRangeLoadAsZeroAndAViewWithoutFiltersClearsThem)
{
    UseSourceResources();
    std::string strPath = FreshIni("view_modes");
    CIni definition(strPath.c_str(), "Def");
    CIni layout(strPath.c_str(), "Lay");
    COwnedTable t(Columns());
    for (int nStored : {7, -1, 2}) {
        definition.WriteInt(IDS_VIEW_GROUPHEADER, nStored);
        definition.WriteInt(IDS_VIEW_TOTALS, nStored == 2 ? 3 : nStored);
        ASSERT_TRUE(t.View().LoadSettings(nullptr, &definition));
        EXPECT_EQ(nStored == 2 ? 2 : 0, t.View().GetGroupHeaderMode()) << nStored;
        EXPECT_EQ(nStored == 2 ? 3 : 0, t.View().GetTotalsMode()) << nStored;
    }
    // Saved without filters, loaded over filters: none are left.
    t.View().SaveSettings(&layout, nullptr);
    COwnedTable other(Columns());
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(&other.View(), nullptr);
    pFilters->AddFilter(1, ">5", FALSE, 0);
    other.View().SetFilters(pFilters);
    ASSERT_TRUE(other.View().LoadSettings(&layout, nullptr));
    EXPECT_EQ(nullptr, other.View().GetFilters());
}

TEST(ViewSettings, AFailedLoadKeepsTheEarlierOptionsAndPutsTheSectionsBack)
{
    UseSourceResources();
    std::string strPath = FreshIni("view_failed");
    CIni definition(strPath.c_str(), "Def");
    CIni layout(strPath.c_str(), "Lay");
    definition.WriteBool(IDS_VIEW_SHOWHEADER, FALSE);
    {
        CIni columns(strPath.c_str(), (std::string("Def.") + std::string(TableKeyText(IDS_VIEW_COLUMNS))).c_str());
        columns.WriteInt(IDS_COLS_COUNT, 100);
    }
    COwnedTable t(Columns());
    EXPECT_FALSE(t.View().LoadSettings(&layout, &definition));
    EXPECT_FALSE(t.View().GetShowHeader());          // applied before the failing step
    EXPECT_EQ(3, t.View().GetColumnCount());         // the columns stay whole
    EXPECT_EQ("Def", std::string(definition.GetSection()));
    EXPECT_EQ("Lay", std::string(layout.GetSection()));
    // A column order that names one column twice fails the load and keeps the default order.
    CIni goodDefinition(strPath.c_str(), "Other");
    {
        CIni order(strPath.c_str(), (std::string("Lay.") + std::string(TableKeyText(IDS_VIEW_ORDER))).c_str());
        order.WriteInt(IDS_ORDER_COUNT, 3);
        for (int i = 0; i < 3; ++i)
            order.WriteInt(TableKey(IDS_ORDER_ENTRY, i), 1);
    }
    EXPECT_FALSE(t.View().LoadSettings(&layout, nullptr));
    EXPECT_EQ("Lay", std::string(layout.GetSection()));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i, t.View().GetColumnOrder().GetColumnIndex(i));
}

TEST(ViewSettings, TableSavesEachViewInASectionOfItsName)
{
    UseSourceResources();
    std::string strPath = FreshIni("table_views");
    CIni layout(strPath.c_str(), "Start");
    COwnedTable t(Columns());
    t.Table().SetAllowCut(FALSE);
    t.Table().SetAllowPaste(FALSE);
    t.Table().SetName("Base");
    t.Table().Open();
    t.Table().AddView("TableView");
    t.View(1).SetName("Second");
    t.Table().SaveSettings(&layout, nullptr);
    EXPECT_EQ("Start", std::string(layout.GetSection()));
    CIni base(strPath.c_str(), "Base");
    CIni second(strPath.c_str(), "Second");
    EXPECT_EQ(std::string(""), std::string(base.GetString(IDS_VIEW_NAME, "")));     // no definition written
    EXPECT_TRUE(base.GetBool(IDS_VIEW_SUMMODE, TRUE) == FALSE);
    EXPECT_TRUE(second.GetBool(IDS_VIEW_SUMMODE, TRUE) == FALSE);
}
