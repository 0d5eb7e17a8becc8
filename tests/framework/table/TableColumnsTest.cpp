// Columns, value blocks, key lists and the column order, with their settings.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "TableTestSupport.h"
#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/TableKeys.h"

namespace {

std::string FreshIni(const char* pszName)
{
    std::string strPath = TestFilePath(std::string(pszName) + ".ini");
    remove(strPath.c_str());
    return strPath;
}

CTableColumn* AddColumn(CTableColumns& columns, int nType, int nSize = 25)
{
    CTableColumn* pColumn = new CTableColumn;
    pColumn->SetDataType(nType);
    pColumn->m_nSize = nSize;
    columns.Add(pColumn);
    return pColumn;
}

}  // namespace

TEST(SortColumns, TextFormReadsSignsSkipsEmptyItemsAndKeepsWithinCapacity)
{
    CSortColumns keys(30);
    EXPECT_TRUE(keys.FromText("-5"));
    EXPECT_EQ("-5", std::string(keys.ToText()));
    EXPECT_TRUE(keys.FromText("5"));
    EXPECT_EQ("+5", std::string(keys.ToText()));
    EXPECT_TRUE(keys.FromText("+5,,+2"));
    EXPECT_EQ("+5,+2", std::string(keys.ToText()));
    EXPECT_TRUE(keys.FromText("+5,x,+2"));
    EXPECT_EQ("+5", std::string(keys.ToText()));
    EXPECT_TRUE(keys.FromText("+5, +2"));
    EXPECT_EQ("+5", std::string(keys.ToText()));
    EXPECT_FALSE(keys.FromText("-2147483648"));
    EXPECT_EQ(0, keys.GetCount());
    // A stored list longer than the group keys' room keeps what fits.
    CGroupColumns groups;
    EXPECT_TRUE(groups.FromText("+1,+2,+3,+4,+5"));
    EXPECT_EQ("+1,+2,+3", std::string(groups.ToText()));
    groups.Add(9, SORT_ASCENDING);
    EXPECT_EQ(3, groups.GetCount());
    // Keys of columns the view does not have are dropped.
    EXPECT_TRUE(keys.FromText("+1,-7,+2", 3));
    EXPECT_EQ("+1,+2", std::string(keys.ToText()));
}

TEST(TableColumns, RowBlockLayoutKeepsPointersWholeAndTextsTerminated)
{
    CTableColumns columns;
    AddColumn(columns, COLTYPE_INT32);
    AddColumn(columns, COLTYPE_DOUBLE);
    AddColumn(columns, COLTYPE_STRING, 25);
    // Three pointer-sized slots, 8 bytes for the double, 25 for the text rounded up to 32.
    EXPECT_EQ(3 * sizeof(TBCellSlot) + 8 + 32, columns.GetRowValuesSize());
    TBCellSlot* pBlock = columns.AllocRowValues(FALSE);
    const char* pBase = reinterpret_cast<const char*>(pBlock);
    EXPECT_EQ(pBase + 3 * sizeof(TBCellSlot), pBlock[1].pData);
    EXPECT_EQ(pBase + 3 * sizeof(TBCellSlot) + 8, pBlock[2].pData);
    // A text as long as the text size keeps size-1 characters and its terminator.
    std::string strLong(25, 'x');
    columns.SetSlotValue(&pBlock[2], strLong.c_str(), 2);
    EXPECT_EQ(std::string(24, 'x'), std::string(static_cast<const char*>(pBlock[2].pData)));
    EXPECT_FALSE(columns.SlotDiffers(&pBlock[2], std::string(24, 'x').c_str(), 2));
    double d = 2.5;
    columns.SetSlotValue(&pBlock[1], &d, 1);
    EXPECT_EQ(2.5, *static_cast<double*>(pBlock[1].pData));
    CTableColumns::FreeRowValues(pBlock);
}

TEST(TableColumns, KeyOrderComparesEveryKeyAndTheDirection)
{
    UseSourceResources();
    COwnedTable t({{"N", COLTYPE_INT32, 0, FALSE}, {"S", COLTYPE_STRING, 8, FALSE}});
    t.Table().Open();
    CTableColumns& columns = t.View().GetColumns();
    CTableRow a, b;
    a.AllocAttributes(2);
    b.AllocAttributes(2);
    a.SetData(t.NewBlock());
    b.SetData(t.NewBlock());
    PutInt(t, a.GetData(), 0, 1);
    PutInt(t, b.GetData(), 0, 1);
    PutText(t, a.GetData(), 1, "A");
    PutText(t, b.GetData(), 1, "B");
    CSortColumns keys(30);
    keys.Add(0, SORT_DESCENDING);
    EXPECT_EQ(0, columns.CompareRows(&a, &b, keys));
    keys.Add(1, SORT_DESCENDING);
    EXPECT_EQ(1, columns.CompareRows(&a, &b, keys));    // B before A when descending
    CSortColumns bogus(30);
    bogus.Add(7, SORT_ASCENDING);
    EXPECT_EQ(0, columns.CompareRows(&a, &b, bogus));
}

TEST(TableColumns, DefinitionLoadsAreWholeOrNotAtAll)
{
    UseSourceResources();
    std::string strPath = FreshIni("columns_load");
    CIni ini(strPath.c_str(), "Def");
    CTableColumns columns;
    CTableColumn* pFirst = AddColumn(columns, COLTYPE_INT32);
    pFirst->m_strName = "First";
    AddColumn(columns, COLTYPE_STRING, 12)->m_strName = "Second";
    columns.Save(nullptr, &ini);

    CTableColumns loaded;
    ASSERT_TRUE(loaded.Load(nullptr, &ini));
    ASSERT_EQ(2, loaded.GetCount());
    EXPECT_EQ("Second", std::string(loaded[1]->m_strName));
    EXPECT_EQ(12, loaded[1]->m_nSize);

    // A type the engine does not know refuses the load and changes nothing already there.
    ini.WriteInt(TableKey(TableKey(IDS_COL_PREFIX, 1), IDS_COL_TYPE), 77);
    ini.WriteString(TableKey(TableKey(IDS_COL_PREFIX, 0), IDS_COL_NAME), "Changed");
    EXPECT_FALSE(loaded.Load(nullptr, &ini));
    ASSERT_EQ(2, loaded.GetCount());
    EXPECT_EQ("First", std::string(loaded[0]->m_strName));

    ini.WriteInt(IDS_COLS_COUNT, 100);
    EXPECT_FALSE(loaded.Load(nullptr, &ini));
    ini.WriteInt(IDS_COLS_COUNT, 0);
    EXPECT_TRUE(loaded.Load(nullptr, &ini));
    EXPECT_EQ(2, loaded.GetCount());
}

TEST(TableColumns, LayoutKeysGroupByTheFirstSortKey)
{
    UseSourceResources();
    std::string strPath = FreshIni("columns_layout");
    CIni ini(strPath.c_str(), "Layout");
    CTableColumns columns;
    for (int i = 0; i < 4; ++i)
        AddColumn(columns, COLTYPE_INT32);
    ini.WriteString(IDS_COLS_SORT, "-2,+0,+9");
    ini.WriteString(IDS_COLS_GROUP, "+1");
    ini.WriteInt(IDS_COLS_FIXED, 7);
    columns.m_defaultKeys.Add(3, SORT_ASCENDING);
    columns.LoadLayout(&ini);
    EXPECT_EQ("-2,+0,+3", std::string(columns.m_sortKeys.ToText()));
    EXPECT_EQ("-2", std::string(columns.m_groupKeys.ToText()));
    EXPECT_EQ(0, columns.m_nFixed);     // 7 is past the columns
    EXPECT_EQ(0, columns.m_bDefaultOrder);
}

TEST(TableColumnsMap, MovesAndRefusesAnOrderThatIsNoPermutation)
{
    UseSourceResources();
    COwnedTable t({{"A", COLTYPE_INT32, 0, FALSE}, {"B", COLTYPE_INT32, 0, FALSE}, {"C", COLTYPE_INT32, 0, FALSE},
                   {"D", COLTYPE_INT32, 0, FALSE}, {"E", COLTYPE_INT32, 0, FALSE}});
    t.Table().Open();
    CTableColumnsMap& order = t.View().GetColumnOrder();
    ASSERT_EQ(5, order.GetCount());
    ASSERT_TRUE(order.MoveColumn(1, 4));
    EXPECT_EQ(3, order.FindPosition(1));
    EXPECT_EQ(1, order.GetColumnIndex(3));
    std::string strPath = FreshIni("order");
    CIni ini(strPath.c_str(), "Order");
    order.Save(&ini);
    order.Rebuild(t.View().GetColumns());
    ASSERT_TRUE(order.Load(&ini));
    EXPECT_EQ(1, order.GetColumnIndex(3));
    // Two positions naming one column: refused whole, the order stays.
    ini.WriteInt(TableKey(IDS_ORDER_ENTRY, 0), 4);
    order.Rebuild(t.View().GetColumns());
    EXPECT_FALSE(order.Load(&ini));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(i, order.GetColumnIndex(i));
    t.View().GetColumns()[2]->m_bHidden = TRUE;
    EXPECT_EQ(4, order.GetVisibleColumnCount());
}

TEST(TableColumn, AlignmentTitlesAndDecimalCodes)
{
    CTableColumn text;
    text.m_nAlign = ALIGN_LEFT;
    CTableColumn number;
    number.SetDataType(COLTYPE_INT32);
    GetNorvGlobals().m_bRightToLeft = TRUE;
    text.RecalcAlignment();
    number.RecalcAlignment();
    GetNorvGlobals().m_bRightToLeft = FALSE;
    EXPECT_EQ(ALIGN_RIGHT, text.GetEffectiveAlignment());
    EXPECT_EQ(ALIGN_LEFT, number.GetEffectiveAlignment());
    text.m_strTitle[0] = "a\nb\nc";
    EXPECT_EQ(3, text.GetTitleLines());
    number.m_chDecimals = -2;
    EXPECT_EQ(-2, number.GetDecimals(FALSE));
    EXPECT_EQ(DECIMALS_64THS, number.GetDecimals(TRUE));
    number.SetDataType(COLTYPE_INT);
    EXPECT_EQ(DECIMALS_64THS, number.GetDecimals(FALSE));
}
