// The quotation tables' resources in both language files: names that read the same everywhere,
// every title and text in both languages, the context menus alike in shape with a prompt for
// every command.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/user/Menu.h"
#include "tests/common/MenuCommands.h"

namespace {

const char* const s_pszFiles[2] = {TB_SOURCE_DIR "/resources/_1252.rc", TB_SOURCE_DIR "/resources/_1256.rc"};

// Table names: table-map keys and settings sections.
const UINT s_names[] = {51921, 52115};
const UINT s_texts[] = {56779, 56731, 51236, 57375, 51890, 51891, 51922, 51923, 51893, 51894, 51895, 51896, 51897,
                        51898, 57373, 57374, 51899, 51900, 51901, 51902, 51903, 51904, 51905, 51906, 51907, 51909,
                        51910, 51911, 51912, 51913, 51914, 51915, 51916, 51917, 51918, 51919, 51920, 51924, 51925,
                        51926, 51927, 51928, 51929, 51930, 51941, 51942, 57444, 57491, 57493, 51937, 51936, 52180,
                        51939, 51931, 51932, 51934, 51935, 55291, 55292, 55293, 55296, 55297, 55298, 55302, 57105};

std::string MenuShape(const std::vector<TBMENUTEMPLATEITEM>& items)
{
    std::ostringstream out;
    for (const auto& item : items) {
        out << item.uId << "/" << item.uFlags;
        if (item.uFlags & MF_POPUP)
            out << "{" << MenuShape(item.popup) << "}";
        out << " ";
    }
    return out.str();
}

}  // namespace

TEST(QuotationResources, NamesTextsAndMenusInBothLanguages)
{
    CResourceScript files[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(files[i].LoadFile(s_pszFiles[i])) << s_pszFiles[i];
        ASSERT_TRUE(files[i].GetErrors().empty()) << s_pszFiles[i] << ": " << files[i].GetErrors().front();
    }
    const auto& en = files[0].GetStrings();
    const auto& ar = files[1].GetStrings();
    for (UINT uId : s_names) {
        ASSERT_TRUE(en.count(uId) && ar.count(uId)) << uId;
        EXPECT_EQ(en.at(uId), ar.at(uId)) << "a name is a settings section: one text in both";
        EXPECT_EQ(std::string::npos, en.at(uId).find(' ')) << uId;
    }
    for (UINT uId : s_texts) {
        ASSERT_TRUE(en.count(uId) && ar.count(uId)) << uId;
        EXPECT_NE(en.at(uId), ar.at(uId)) << uId;
    }
    for (UINT uId : {55296u, 55302u})
        for (const auto* pStrings : {&en, &ar})
            EXPECT_NE(std::string::npos, pStrings->at(uId).find("%1")) << uId;

    for (const char* pszMenu : {"#251", "#253"}) {
        const auto& menuEn = files[0].GetTemplates().menus;
        const auto& menuAr = files[1].GetTemplates().menus;
        ASSERT_TRUE(menuEn.count(pszMenu) && menuAr.count(pszMenu)) << pszMenu;
        EXPECT_EQ(MenuShape(menuEn.at(pszMenu)), MenuShape(menuAr.at(pszMenu))) << pszMenu;
        ASSERT_EQ(1u, menuEn.at(pszMenu).size()) << "one popup, the context menu";
        std::set<UINT> commands;
        CollectCommands(menuEn.at(pszMenu), commands);
        commands.erase(33255);          // the application's own command, with its own prompt
        for (UINT uId : commands)
            EXPECT_TRUE(en.count(uId) && ar.count(uId)) << pszMenu << " command " << uId << " has no prompt";
    }
    // The market popup comes first, "All" at its head, for the program to fill.
    const auto& popup = files[0].GetTemplates().menus.at("#251")[0].popup;
    ASSERT_FALSE(popup.empty());
    ASSERT_TRUE(popup[0].uFlags & MF_POPUP);
    ASSERT_FALSE(popup[0].popup.empty());
    EXPECT_EQ(33075u, popup[0].popup[0].uId);
}

TEST(QuotationResources, CommandsBetweenTablesHaveAPromptAndAShortTextInBothLanguages)
{
    CResourceScript files[2];
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(files[i].LoadFile(s_pszFiles[i])) << s_pszFiles[i];
    const auto& en = files[0].GetStrings();
    const auto& ar = files[1].GetStrings();
    // The reference dialogs, the books a watch-list row follows, the book's stop and the
    // forward market's ticket: the status bar shows the prompt, a tip the short text.
    for (UINT uId : {33215u, 33277u, 33278u, 33648u, 57454u, 57455u, 57456u, 40195u, 40196u, 40197u, 33208u}) {
        ASSERT_TRUE(en.count(uId) && ar.count(uId)) << uId;
        for (const auto* pStrings : {&en, &ar}) {
            const std::string& strText = pStrings->at(uId);
            const size_t nBreak = strText.find('\n');
            ASSERT_NE(std::string::npos, nBreak) << uId << ": " << strText;
            EXPECT_GT(nBreak, 0u) << uId;
            EXPECT_LT(nBreak + 1, strText.size()) << uId;
        }
        EXPECT_NE(en.at(uId), ar.at(uId)) << uId;
    }
    // The stop's menu text takes the symbol.
    for (const auto* pStrings : {&en, &ar})
        EXPECT_NE(std::string::npos, pStrings->at(41267).find("%s"));
}
