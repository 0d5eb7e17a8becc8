// The command table's privilege rules over every command id, and what the removing rules do to
// a menu. The expected rules are written out here from the terminal's command list, not read
// from the table, so that a wrong row shows.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/AppCommands.h"
#include "app/ZorvatApp.h"
#include "platform/win/user/Menu.h"

namespace {

// Each command's rule as the command list names it.
struct EXPECTED_RULE
{
    UINT nFirst;
    UINT nLast;
    const char* pszRule;
};

const EXPECTED_RULE s_expected[] = {
    {32774, 32774, "not connected"}, {32775, 32775, "connected"}, {32776, 32776, "not connected"},
    {32778, 32778, "raw serial"}, {32780, 32780, "always"}, {32819, 32819, "always"},
    {32831, 32832, "always"}, {32835, 32835, "always"}, {32842, 32843, "always"},
    {33046, 33046, "none"}, {33047, 33047, "role 1"}, {33048, 33048, "logged in"},
    {33049, 33050, "KSE orders"}, {33100, 33100, "US orders"}, {33101, 33101, "US"},
    {33103, 33103, "US"}, {33109, 33109, "none"}, {33112, 33112, "US"}, {33119, 33121, "US"},
    {33122, 33122, "role 1"}, {33140, 33140, "US"}, {33163, 33163, "always"},
    {33180, 33190, "role 1"}, {33191, 33191, "US quotes"}, {33192, 33196, "role 1"},
    {33197, 33197, "role 3"}, {33198, 33199, "always"}, {33202, 33202, "US quotes"},
    {33203, 33205, "role 1"}, {33207, 33207, "role 1"}, {33215, 33215, "role 1"},
    {33223, 33223, "KSE orders"}, {33224, 33224, "KSE"}, {33226, 33226, "KSE"},
    {33228, 33230, "KSE"}, {33232, 33237, "KSE"}, {33238, 33238, "both markets"},
    {33241, 33243, "KSE"}, {33251, 33251, "KSE"}, {33253, 33253, "KSE"}, {33255, 33255, "KSE"},
    {33268, 33268, "always"}, {33269, 33269, "KSE orders"}, {33270, 33272, "KSE"},
    {33273, 33273, "KSE orders"}, {33274, 33276, "KSE"}, {33277, 33278, "role 1"},
    {33285, 33301, "role 1"}, {33305, 33305, "role 1"}, {33306, 33306, "US orders"},
    {33309, 33310, "disabled"}, {33311, 33311, "margin"}, {33313, 33313, "disabled"},
    {33315, 33315, "role 1"}, {33335, 33337, "removed"}, {33347, 33347, "both markets"},
    {33348, 33348, "role 1"}, {33351, 33351, "role 1"}, {33355, 33355, "removed"},
    {33566, 33566, "role 1"}, {33601, 33601, "US orders"}, {33603, 33613, "always"},
    {33614, 33615, "role 1"}, {33616, 33616, "always"}, {33621, 33621, "US quotes page"},
    {33624, 33625, "role 1"}, {33627, 33630, "always"}, {33649, 33649, "role 1"},
    {33650, 33650, "US quotes"}, {40020, 40031, "always"}, {40192, 40193, "role 1"},
    {40224, 40224, "always"}, {40228, 40229, "KSE"}, {40230, 40230, "none"},
    {40231, 40232, "US"}, {57452, 57452, "role 1"}, {57664, 57664, "none"},
};

// The value that a rule reads: ids 33109 and 40192 do nothing, but have a rule all the same.
bool ExpectEnabled(const std::string& strRule, const COMMAND_CONTEXT& c)
{
    const bool bUs = c.nUsLevel >= 10;
    const bool bKse = c.nKseLevel >= 10;
    if (strRule == "always" || strRule == "none" || strRule == "removed")
        return true;
    if (strRule == "logged in")
        return c.nRole != -1;
    if (strRule == "role 1")
        return c.nRole >= 1;
    if (strRule == "role 3")
        return c.nRole >= 3;
    if (strRule == "US")
        return bUs;
    if (strRule == "KSE")
        return bKse;
    if (strRule == "both markets")
        return c.nRole >= 1 && bUs && bKse;
    if (strRule == "US orders")
        return c.nRole >= 4 && bUs;
    if (strRule == "KSE orders")
        return c.nRole >= 4 && bKse;
    if (strRule == "US quotes")
        return c.nUsQuoteValue > 0 && bUs;
    if (strRule == "US quotes page")
        return c.nUsQuoteValue >= 1 && bUs && c.bUsPagesSet;
    if (strRule == "margin")
        return c.nMarginValue != 0 && bUs;
    if (strRule == "disabled")
        return false;
    if (strRule == "not connected")
        return !c.bLinkConnected;
    if (strRule == "connected")
        return c.bLinkConnected;
    if (strRule == "raw serial")
        return c.bLinkConnected && c.nLinkType == 1;
    ADD_FAILURE() << "no such rule: " << strRule;
    return false;
}

MENU_REMOVAL ExpectRemoval(const std::string& strRule, const COMMAND_CONTEXT& c)
{
    if (strRule == "removed")
        return REMOVE_ITEM;
    if (strRule == "margin" && c.nMarginValue == 0)
        return REMOVE_ITEM_AND_SEPARATOR_BEFORE;
    return REMOVE_NOTHING;
}

std::vector<COMMAND_CONTEXT> MakeMatrix()
{
    std::vector<COMMAND_CONTEXT> contexts;
    for (int nRole : {-1, 1, 3, 4})
        for (int nUs : {9, 10})
            for (int nKse : {9, 10})
                for (int nQuote : {0, 1})
                    for (int nMargin : {0, 1})
                        for (BOOL bPages : {FALSE, TRUE})
                            for (int nLink : {0, 8, 1}) {   // not connected, socket, raw serial
                                COMMAND_CONTEXT c;
                                c.nRole = nRole;
                                c.nUsLevel = nUs;
                                c.nKseLevel = nKse;
                                c.nUsQuoteValue = nQuote;
                                c.nMarginValue = nMargin;
                                c.bUsPagesSet = bPages;
                                c.bLinkConnected = nLink != 0;
                                c.nLinkType = nLink;
                                contexts.push_back(c);
                            }
    return contexts;
}

TEST(CommandRules, EveryCommandFollowsItsRuleOverRolesLevelsValuesPagesAndLink)
{
    const std::vector<COMMAND_CONTEXT> contexts = MakeMatrix();
    for (const EXPECTED_RULE& expected : s_expected) {
        for (UINT nId = expected.nFirst; nId <= expected.nLast; ++nId) {
            COMMAND_RULE rule = RULE_DISABLED;
            ASSERT_TRUE(CZORVAT32App::GetCommandRule(nId, &rule, nullptr)) << nId << " is in the table";
            const std::string strRule = expected.pszRule;
            if (strRule == "none") {
                EXPECT_EQ(RULE_NONE, rule) << nId << " has no rule of its own";
            }
            for (const COMMAND_CONTEXT& c : contexts) {
                ASSERT_EQ(ExpectEnabled(strRule, c), static_cast<bool>(IsRuleMet(rule, c)))
                    << nId << " (" << strRule << ") role " << c.nRole << " US " << c.nUsLevel << " KSE "
                    << c.nKseLevel << " quote " << c.nUsQuoteValue << " margin " << c.nMarginValue << " pages "
                    << c.bUsPagesSet << " link " << c.nLinkType;
                ASSERT_EQ(ExpectRemoval(strRule, c), GetRuleRemoval(rule, c)) << nId << " margin " << c.nMarginValue;
            }
        }
    }
}

TEST(CommandRules, BeforeLoginOnlyTheLinkAndAlwaysRulesEnable)
{
    const COMMAND_CONTEXT nobody;   // role -1, levels 0, no link
    for (const EXPECTED_RULE& expected : s_expected) {
        COMMAND_RULE rule = RULE_NONE;
        CZORVAT32App::GetCommandRule(expected.nFirst, &rule, nullptr);
        const std::string strRule = expected.pszRule;
        const bool bOpen = strRule == "always" || strRule == "none" || strRule == "removed" || strRule == "not connected";
        EXPECT_EQ(bOpen, static_cast<bool>(IsRuleMet(rule, nobody))) << expected.nFirst;
    }
}

TEST(CommandRules, IdsOutsideTheListAreNotTheApplications)
{
    for (UINT nId : {32777u, 33110u, 33206u, 33312u, 33602u, 33626u, 40033u, 57665u}) {
        BOOL bHandled = TRUE;
        EXPECT_FALSE(CZORVAT32App::GetCommandRule(nId, nullptr, &bHandled)) << nId;
        EXPECT_FALSE(bHandled);
    }
}

// A popup of the given ids, 0 for a separator.
HMENU MakePopup(const std::vector<UINT>& ids)
{
    HMENU hMenu = CreatePopupMenu();
    for (UINT nId : ids)
        AppendMenuA(hMenu, nId == 0 ? MF_SEPARATOR : MF_STRING, nId, nId == 0 ? nullptr : "item");
    return hMenu;
}

std::vector<UINT> Ids(HMENU hMenu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        ids.push_back(GetMenuItemID(hMenu, i));
    return ids;
}

TEST(CommandMenus, RemovalTakesTheItemWithOneSeparatorOnTheSideItsRuleSays)
{
    struct CASE
    {
        std::vector<UINT> before;
        MENU_REMOVAL removal;
        std::vector<UINT> after;
    };
    const CASE cases[] = {
        // The margin item goes with the separator that opens its group; the one after it stays.
        {{33101, 0, 33311, 0, 33313}, REMOVE_ITEM_AND_SEPARATOR_BEFORE, {33101, 0, 33313}},
        {{33311, 0, 33313}, REMOVE_ITEM_AND_SEPARATOR_BEFORE, {0, 33313}},
        {{33101, 33311}, REMOVE_ITEM_AND_SEPARATOR_BEFORE, {33101}},
        // A removed item takes the separator after it.
        {{33101, 33311, 0, 33313}, REMOVE_ITEM, {33101, 33313}},
        {{0, 33311, 33313}, REMOVE_ITEM, {0, 33313}},
        {{33101, 33311}, REMOVE_ITEM, {33101}},
    };
    for (const CASE& c : cases) {
        HMENU hMenu = MakePopup(c.before);
        EXPECT_TRUE(RemoveCommandItem(hMenu, 33311, c.removal));
        EXPECT_EQ(c.after, Ids(hMenu));
        EXPECT_FALSE(RemoveCommandItem(hMenu, 33311, c.removal)) << "gone once";
        DestroyMenu(hMenu);
    }
    HMENU hMenu = MakePopup({33101, 0, 33311});
    EXPECT_FALSE(RemoveCommandItem(hMenu, 33311, REMOVE_NOTHING));
    EXPECT_FALSE(RemoveCommandItem(nullptr, 33311, REMOVE_ITEM));
    EXPECT_EQ((std::vector<UINT>{33101, 0, 33311}), Ids(hMenu));
    DestroyMenu(hMenu);
}

}  // namespace
