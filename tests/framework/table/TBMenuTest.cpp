// Popup menus built from settings sections, and sorted by text.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "framework/base/Ini.h"
#include "platform/win/user/Menu.h"
#include "framework/table/TBMenu.h"

namespace {

std::string ItemText(HMENU hMenu, int nPos)
{
    char szText[64];
    GetMenuStringA(hMenu, static_cast<UINT>(nPos), szText, sizeof szText, MF_BYPOSITION);
    return szText;
}

}  // namespace

TEST(TBMenu, BuildsItemsSeparatorsAndSubmenusUntilTheFirstMissingKey)
{
    std::string strPath = std::string(TB_BINARY_DIR) + "/menus.ini";
    remove(strPath.c_str());
    CIni menu(strPath.c_str(), "GridMenu");
    menu.WriteString(CTBString("0"), "Copy,25501");
    menu.WriteString(CTBString("1"), "-");
    menu.WriteString(CTBString("2"), ">,ColumnsMenu");
    menu.WriteString(CTBString("4"), "Print,25505");
    CIni columns(strPath.c_str(), "ColumnsMenu");
    columns.WriteString(CTBString("0"), "Refresh,abc");
    columns.WriteString(CTBString("1"), "Checked,7,8");
    columns.WriteString(CTBString("2"), "Grayed,8,1");
    columns.WriteString(CTBString("3"), ">,Loop");
    CIni loop(strPath.c_str(), "Loop");
    loop.WriteString(CTBString("Name"), "Again");
    loop.WriteString(CTBString("0"), ">,Loop");     // names itself: built to a bounded depth

    CTBMenu built;
    ASSERT_TRUE(built.LoadFromSettings(menu));
    EXPECT_EQ("GridMenu", std::string(menu.GetSection()));
    HMENU hMenu = built.GetHandle();
    ASSERT_EQ(3, GetMenuItemCount(hMenu));
    EXPECT_EQ("Copy", ItemText(hMenu, 0));
    EXPECT_EQ(25501u, GetMenuItemID(hMenu, 0));
    EXPECT_NE(0u, GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ("ColumnsMenu", ItemText(hMenu, 2));
    HMENU hSub = GetSubMenu(hMenu, 2);
    ASSERT_TRUE(IsMenu(hSub));
    ASSERT_EQ(3, GetMenuItemCount(hSub));           // "Refresh,abc" adds nothing
    EXPECT_EQ("Checked", ItemText(hSub, 0));
    EXPECT_NE(0u, GetMenuState(hSub, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_NE(0u, GetMenuState(hSub, 1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ("Again", ItemText(hSub, 2));
    HMENU hTaken = built.Detach();
    EXPECT_EQ(nullptr, built.GetHandle());
    EXPECT_TRUE(DestroyMenu(hTaken));
    EXPECT_FALSE(IsMenu(hSub));
}

TEST(TBMenu, SortsByBytesAndKeepsIdsAndChecks)
{
    CTBMenu menu;
    EXPECT_FALSE(menu.AppendItem("x", 1, FALSE));   // no menu yet
    ASSERT_TRUE(menu.CreatePopup());
    EXPECT_FALSE(menu.AppendItem("  ", 1, FALSE));
    menu.AppendItem("b", 1, FALSE);
    menu.AppendItem("B", 2, TRUE);
    menu.AppendItem("a", 3, FALSE);
    menu.SortItems();
    HMENU hMenu = menu.GetHandle();
    ASSERT_EQ(3, GetMenuItemCount(hMenu));
    EXPECT_EQ("B", ItemText(hMenu, 0));
    EXPECT_EQ(2u, GetMenuItemID(hMenu, 0));
    EXPECT_NE(0u, GetMenuState(hMenu, 0, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ("a", ItemText(hMenu, 1));
    EXPECT_EQ("b", ItemText(hMenu, 2));
}
