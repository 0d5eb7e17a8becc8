// Popup menus built from settings sections, and sorted by text.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "TableTestSupport.h"
#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/TBMenu.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Menu.h"

namespace {

std::string ItemText(HMENU hMenu, int nPos)
{
    char szText[64];
    GetMenuStringA(hMenu, static_cast<UINT>(nPos), szText, sizeof szText, MF_BYPOSITION);
    return szText;
}

std::string MenuTexts(HMENU hMenu)
{
    std::string out;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        out += (i ? "|" : "") + ItemText(hMenu, i);
    return out;
}

// The Arabic user interface for one test: code page 1256 and the second titles.
class CArabicScope
{
public:
    CArabicScope()
    {
        TbSetActiveCodePage(1256);
        GetNorvGlobals().SetLanguage(1);
    }
    ~CArabicScope()
    {
        GetNorvGlobals().SetLanguage(0);
        TbSetActiveCodePage(1252);
    }
    CArabicScope(const CArabicScope&) = delete;
    CArabicScope& operator=(const CArabicScope&) = delete;
};

// Code page 1256: alef-seen-meem "name", beh-noon-kaf "bank", qaf-yeh-meem-teh marbuta "value".
const char* const NAME_AR = "\xC7\xD3\xE3";
const char* const BANK_AR = "\xC8\xE4\xDF";
const char* const VALUE_AR = "\xDE\xED\xE3\xC9";

}  // namespace

TEST(TBMenu, BuildsItemsSeparatorsAndSubmenusUntilTheFirstMissingKey)
{
    std::string strPath = TestFilePath("menus.ini");
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

TEST(TBMenu, ArabicTextsSortAfterLatinByTheirBytes)
{
    CArabicScope arabic;
    ASSERT_EQ(1256u, GetACP());
    CTBMenu menu;
    ASSERT_TRUE(menu.CreatePopup());
    // Bytes of 0x80 and above compare as unsigned: after every Latin letter, and a Latin
    // prefix followed by an Arabic letter after the same prefix followed by a Latin one.
    for (const char* pszText : {BANK_AR, "Bid", NAME_AR, "ask", "A\xC7", "AB", VALUE_AR})
        menu.AppendItem(pszText, 1, FALSE);
    menu.SortItems();
    EXPECT_EQ(std::string("AB|A\xC7|Bid|ask|") + NAME_AR + "|" + BANK_AR + "|" + VALUE_AR, MenuTexts(menu.GetHandle()));

    // The view's column menu sorts its switchable columns' titles of the current language.
    UseSourceResources();
    COwnedTable t({{"Symbol", COLTYPE_STRING, 8, FALSE}, {"Bank", COLTYPE_STRING, 8, FALSE},
                   {"Last", COLTYPE_INT32, 0, FALSE}, {"Name", COLTYPE_STRING, 8, FALSE}});
    const char* apszTitles[] = {"Symbol", BANK_AR, "Last\n2", NAME_AR};
    for (int i = 0; i < 4; ++i)
        t.Table().GetColumn(i).SetTitle(apszTitles[i], 1);
    t.Table().GetColumn(0).SetUserSwitchable(FALSE);
    t.Table().GetColumn(1).SetHidden(TRUE);
    ASSERT_TRUE(t.Table().Open());
    HMENU hColumns = t.View().BuildColumnMenu();
    ASSERT_NE(nullptr, hColumns);
    EXPECT_EQ(std::string("Last 2|") + NAME_AR + "|" + BANK_AR, MenuTexts(hColumns));
    EXPECT_EQ(27002u, GetMenuItemID(hColumns, 0));
    EXPECT_EQ(27003u, GetMenuItemID(hColumns, 1));
    EXPECT_EQ(27001u, GetMenuItemID(hColumns, 2));
    EXPECT_NE(0u, GetMenuState(hColumns, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_EQ(0u, GetMenuState(hColumns, 2, MF_BYPOSITION) & MF_CHECKED);
    DestroyMenu(hColumns);
}
