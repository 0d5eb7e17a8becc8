// The resource reader's dialogs, menus and accelerator tables, and loading them from a module.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Menu.h"

namespace {
std::string Errors(const CResourceScript& script)
{
    std::string str;
    for (const std::string& strError : script.GetErrors())
        str += strError + "\n";
    return str;
}
}  // namespace

TEST(ResourceTemplates, ReadsDialogWithEveryControlStatement)
{
    CResourceScript script;
    script.Parse(
        "100 DIALOGEX 10, 20, 200, 120\n"
        "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
        "EXSTYLE WS_EX_CONTROLPARENT\n"
        "CAPTION \"Find \"\"it\"\"\"\n"
        "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\n"
        "BEGIN\n"
        "    LTEXT \"&Name:\", IDC_STATIC, 7, 9, 40, 8\n"
        "    RTEXT \"r\", -1, 7, 9, 40, 8, NOT WS_GROUP\n"
        "    CTEXT \"c\", 3, 7, 9, 40, 8\n"
        "    EDITTEXT 101, 50, 7, 100, 12, ES_AUTOHSCROLL | NOT WS_BORDER, WS_EX_RTLREADING | WS_EX_RIGHT\n"
        "    DEFPUSHBUTTON \"OK\", IDOK, 140, 100, 50, 14\n"
        "    PUSHBUTTON \"Cancel\", IDCANCEL, 80, 100, 50, 14, WS_DISABLED\n"
        "    CHECKBOX \"a\", 102, 7, 30, 50, 10\n"
        "    AUTOCHECKBOX \"b\", 103, 7, 40, 50, 10\n"
        "    RADIOBUTTON \"c\", 104, 7, 50, 50, 10\n"
        "    AUTORADIOBUTTON \"d\", 105, 7, 60, 50, 10, WS_GROUP\n"
        "    GROUPBOX \"g\", 106, 2, 25, 60, 50\n"
        "    COMBOBOX 107, 70, 30, 60, 80, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL\n"
        "    LISTBOX 108, 70, 50, 60, 40, LBS_EXTENDEDSEL\n"
        "    SCROLLBAR 109, 140, 30, 10, 60, SBS_VERT\n"
        "    CONTROL \"\", 110, \"msctls_trackbar32\", TBS_AUTOTICKS | WS_TABSTOP,\n"
        "            7, 80, 100, 15, WS_EX_STATICEDGE\n"
        "    CONTROL \"x\", 111, BUTTON, BS_AUTORADIOBUTTON | NOT WS_VISIBLE, 1, 2, 3, 4\n"
        "END\n");
    EXPECT_EQ("", Errors(script));
    const auto& dialogs = script.GetTemplates().dialogs;
    ASSERT_EQ(1u, dialogs.count("#100"));
    const TBDLGTEMPLATE& dlg = dialogs.at("#100");
    EXPECT_EQ(static_cast<DWORD>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT), dlg.dwStyle);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_CONTROLPARENT), dlg.dwExStyle);
    EXPECT_EQ(10, dlg.x);
    EXPECT_EQ(120, dlg.cy);
    EXPECT_EQ("Find \"it\"", dlg.strCaption);
    EXPECT_EQ("MS Shell Dlg", dlg.strFace);
    EXPECT_EQ(8, dlg.nPointSize);
    EXPECT_EQ(400, dlg.nWeight);
    ASSERT_EQ(16u, dlg.items.size());
    const DWORD CV = WS_CHILD | WS_VISIBLE;
    struct Expected { const char* pszClass; const char* pszText; int nId; DWORD dwStyle; DWORD dwExStyle; };
    const Expected expected[] = {
        {"STATIC", "&Name:", -1, CV | SS_LEFT | WS_GROUP, 0},
        {"STATIC", "r", -1, CV | SS_RIGHT, 0},
        {"STATIC", "c", 3, CV | SS_CENTER | WS_GROUP, 0},
        {"EDIT", "", 101, CV | ES_LEFT | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_RTLREADING | WS_EX_RIGHT},
        {"BUTTON", "OK", IDOK, CV | BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {"BUTTON", "Cancel", IDCANCEL, CV | BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 0},
        {"BUTTON", "a", 102, CV | BS_CHECKBOX | WS_TABSTOP, 0},
        {"BUTTON", "b", 103, CV | BS_AUTOCHECKBOX | WS_TABSTOP, 0},
        {"BUTTON", "c", 104, CV | BS_RADIOBUTTON | WS_TABSTOP, 0},
        {"BUTTON", "d", 105, CV | BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 0},
        {"BUTTON", "g", 106, CV | BS_GROUPBOX, 0},
        {"COMBOBOX", "", 107, CV | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0},
        {"LISTBOX", "", 108, CV | LBS_NOTIFY | WS_BORDER | LBS_EXTENDEDSEL, 0},
        {"SCROLLBAR", "", 109, CV | SBS_VERT, 0},
        {"msctls_trackbar32", "", 110, CV | TBS_AUTOTICKS | WS_TABSTOP, WS_EX_STATICEDGE},
        {"BUTTON", "x", 111, WS_CHILD | BS_AUTORADIOBUTTON, 0},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        const TBDLGITEMTEMPLATE& item = dlg.items[i];
        EXPECT_EQ(expected[i].pszClass, item.strClass) << "control " << i;
        EXPECT_EQ(expected[i].pszText, item.strText) << "control " << i;
        EXPECT_EQ(expected[i].nId, item.nId) << "control " << i;
        EXPECT_EQ(expected[i].dwStyle, item.dwStyle) << "control " << i;
        EXPECT_EQ(expected[i].dwExStyle, item.dwExStyle) << "control " << i;
    }
    EXPECT_EQ(50, dlg.items[3].x);
    EXPECT_EQ(7, dlg.items[3].y);
    EXPECT_EQ(100, dlg.items[3].cx);
    EXPECT_EQ(12, dlg.items[3].cy);
    EXPECT_EQ(7, dlg.items[14].x);
    EXPECT_EQ(15, dlg.items[14].cy);
}

TEST(ResourceTemplates, DialogWithoutStyleGetsTheDefaultAndFaultsKeepTheRest)
{
    CResourceScript script;
    script.Parse(
        "7 DIALOG 0, 0, 100, 50\n"
        "BEGIN\n"
        "    LTEXT \"a\", 1, 1, 1, 10, 10\n"
        "    WIDGET \"b\", 2, 1, 1, 10, 10\n"
        "    PUSHBUTTON \"c\", 3, 1, 1, 10\n"
        "    EDITTEXT 4, 1, 1, 10, 10, ES_NOSUCH\n"
        "    PUSHBUTTON \"d\", 5, 1, 1, 10, 10\n"
        "END\n"
        "STRINGTABLE BEGIN 1, \"still read\" END\n");
    const auto& dialogs = script.GetTemplates().dialogs;
    ASSERT_EQ(1u, dialogs.count("#7"));
    const TBDLGTEMPLATE& dlg = dialogs.at("#7");
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU), dlg.dwStyle);
    ASSERT_EQ(2u, dlg.items.size());
    EXPECT_EQ(1, dlg.items[0].nId);
    EXPECT_EQ(5, dlg.items[1].nId);
    const std::string strErrors = Errors(script);
    EXPECT_NE(std::string::npos, strErrors.find("line 4: unknown control statement WIDGET"));
    EXPECT_NE(std::string::npos, strErrors.find("line 5:"));
    EXPECT_NE(std::string::npos, strErrors.find("line 6: unknown name ES_NOSUCH"));
    EXPECT_EQ("still read", script.GetStrings().at(1));
}

TEST(ResourceTemplates, ReadsMenusWithOptionsAndNestedPopups)
{
    CResourceScript script;
    script.Parse(
        "104 MENU DISCARDABLE\n"
        "BEGIN\n"
        "    POPUP \"&File\"\n"
        "    BEGIN\n"
        "        MENUITEM \"&Open...\\tCtrl+O\", 101\n"
        "        MENUITEM SEPARATOR\n"
        "        POPUP \"&Recent\" { MENUITEM \"one\", 110, CHECKED }\n"
        "        MENUITEM \"E&xit\", 102, GRAYED, CHECKED\n"
        "    END\n"
        "    MENUITEM \"&Help\", 103, HELP\n"
        "END\n"
        "104 CURSOR \"hand.png\"\n");
    EXPECT_EQ("", Errors(script));
    const auto& menus = script.GetTemplates().menus;
    ASSERT_EQ(1u, menus.count("#104"));
    const auto& bar = menus.at("#104");
    ASSERT_EQ(2u, bar.size());
    EXPECT_EQ(static_cast<UINT>(MF_POPUP), bar[0].uFlags);
    ASSERT_EQ(4u, bar[0].popup.size());
    EXPECT_EQ("&Open...\tCtrl+O", bar[0].popup[0].strText);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), bar[0].popup[1].uFlags);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), bar[0].popup[2].popup.at(0).uFlags);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED | MF_CHECKED), bar[0].popup[3].uFlags);
    EXPECT_EQ(102u, bar[0].popup[3].uId);
    EXPECT_EQ(static_cast<UINT>(MF_HELP), bar[1].uFlags);
    // Cursor 104 is another resource than menu 104.
    EXPECT_EQ("hand.png", script.GetFiles().at("CURSOR/#104"));
}

TEST(ResourceTemplates, ReadsAcceleratorsInEveryForm)
{
    CResourceScript script;
    script.Parse(
        "300 ACCELERATORS\n"
        "BEGIN\n"
        "    \"^C\", 101\n"
        "    \"a\", 102, ASCII\n"
        "    \"s\", 103, VIRTKEY, CONTROL, SHIFT\n"
        "    VK_F5, 104, VIRTKEY\n"
        "    65, 105, VIRTKEY, ALT, NOINVERT\n"
        "    \"ab\", 106\n"
        "    VK_DELETE, 107, VIRTKEY, WOBBLY\n"
        "END\n");
    const auto& tables = script.GetTemplates().accelerators;
    ASSERT_EQ(1u, tables.count("#300"));
    const auto& t = tables.at("#300");
    ASSERT_EQ(5u, t.size());
    EXPECT_EQ(0, t[0].fVirt);
    EXPECT_EQ(3, t[0].key);
    EXPECT_EQ(101, t[0].cmd);
    EXPECT_EQ(0, t[1].fVirt);
    EXPECT_EQ('a', t[1].key);
    EXPECT_EQ(FVIRTKEY | FCONTROL | FSHIFT, t[2].fVirt);
    EXPECT_EQ('S', t[2].key);
    EXPECT_EQ(FVIRTKEY, t[3].fVirt);
    EXPECT_EQ(0x74, t[3].key);
    EXPECT_EQ(FVIRTKEY | FALT | FNOINVERT, t[4].fVirt);
    EXPECT_EQ(65, t[4].key);
    EXPECT_EQ(2u, script.GetErrors().size()) << Errors(script);
}

TEST(ResourceTemplates, ReadsToolbarsAndLeavesOutBrokenOnes)
{
    CResourceScript script;
    script.Parse(
        "280 TOOLBAR 16, 15\n"
        "BEGIN\n"
        "    BUTTON 32832\n"
        "    SEPARATOR\n"
        "    BUTTON 0xE140\n"
        "    BUTTON 0\n"                  // not a command: left out
        "    BUTTON\n"
        "    KNOB 5\n"
        "    BUTTON 40230\n"
        "END\n"
        "280 BITMAP \"toolbar.png\"\n"
        "281 TOOLBAR 0, 15\nBEGIN\n BUTTON 1\nEND\n"
        "282 TOOLBAR 16\nBEGIN\n BUTTON 1\nEND\n"
        "280 TOOLBAR 8, 8\nBEGIN\nEND\n");
    const auto& toolbars = script.GetTemplates().toolbars;
    ASSERT_EQ(1u, toolbars.size()) << Errors(script);
    const TBTOOLBARTEMPLATE& t = toolbars.at("#280");
    EXPECT_EQ(16, t.cx);
    EXPECT_EQ(15, t.cy);
    EXPECT_EQ((std::vector<UINT>{32832, 0, 0xE140, 40230}), t.ids);
    EXPECT_EQ("toolbar.png", script.GetFiles().at("BITMAP/#280"));      // the strip is a resource of its own
    EXPECT_EQ(6u, script.GetErrors().size()) << Errors(script);
}

TEST(ResourceTemplates, UnterminatedBlocksAndDeepPopupsAreFaultsNotHangs)
{
    const char* const scripts[] = {
        "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n LTEXT \"a\", 1, 1, 1, 1, 1\n",
        "1 DIALOGEX 0, 0\nSTYLE\nBEGIN END\n",
        "2 MENU\nBEGIN\n POPUP \"a\"\n",
        "3 ACCELERATORS\nBEGIN\n \"^\", 1\n , , ,\nEND\n",
        "4 TOOLBAR 16, 15\nBEGIN\n BUTTON 1\n",
        "1 DIALOG 0,0,1,1 BEGIN BEGIN END END END\n",
    };
    for (const char* psz : scripts) {
        CResourceScript script;
        script.Parse(psz);
        EXPECT_FALSE(script.GetErrors().empty()) << psz;
    }
    std::string strDeep = "2 MENU\nBEGIN\n";
    for (int i = 0; i < 40; ++i)
        strDeep += "POPUP \"p\" BEGIN\n";
    CResourceScript script;
    script.Parse(strDeep);
    EXPECT_FALSE(script.GetErrors().empty());
}

TEST(ResourceTemplates, LoadMenuAndAcceleratorsFromAModule)
{
    TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
    HMODULE hModule = LoadLibraryA("testdlg_1252.dll");
    ASSERT_NE(nullptr, hModule);
    HMENU hMenu = LoadMenuA(hModule, MAKEINTRESOURCEA(200));
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(2, GetMenuItemCount(hMenu));
    HMENU hFile = GetSubMenu(hMenu, 0);
    ASSERT_NE(nullptr, hFile);
    char sz[64];
    GetMenuStringA(hFile, 0, sz, sizeof sz, MF_BYPOSITION);
    EXPECT_STREQ("&Open...\tCtrl+O", sz);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(hFile, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(hFile, 202, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(hMenu, 203, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(nullptr, LoadMenuA(hModule, MAKEINTRESOURCEA(201)));
    EXPECT_EQ(nullptr, LoadMenuA(hModule, MAKEINTRESOURCEA(300)));     // an accelerator table, not a menu
    DestroyMenu(hMenu);

    HACCEL hAccel = LoadAcceleratorsA(hModule, MAKEINTRESOURCEA(300));
    ASSERT_NE(nullptr, hAccel);
    ACCEL table[8];
    ASSERT_EQ(3, CopyAcceleratorTableA(hAccel, table, 8));
    EXPECT_EQ(3, table[0].key);
    EXPECT_EQ(201, table[0].cmd);
    EXPECT_EQ(FVIRTKEY | FCONTROL, table[1].fVirt);
    EXPECT_EQ('O', table[1].key);
    DestroyAcceleratorTable(hAccel);

    // Texts arrive in the module's code page: the Arabic file's caption in 1256.
    HMODULE hArabic = LoadLibraryA("testdlg_1256.dll");
    ASSERT_NE(nullptr, hArabic);
    const TBDLGTEMPLATE* pDlg = TbFindDialogTemplate(hArabic, MAKEINTRESOURCEA(100));
    ASSERT_NE(nullptr, pDlg);
    ASSERT_FALSE(pDlg->strCaption.empty());
    EXPECT_EQ('\xC7', pDlg->strCaption[0]);     // ALEF in 1256
    FreeLibrary(hArabic);
    FreeLibrary(hModule);
}
