#include "app/AppCommands.h"

#include <map>
#include "platform/win/user/Menu.h"

#define ACCESS_LEVEL_OPEN 10   // a market's access level that opens its commands
#define ROLE_ORDERS 4          // the role that may place orders

BOOL IsRuleMet(COMMAND_RULE rule, const COMMAND_CONTEXT& context)
{
    const BOOL bUs = context.nUsLevel >= ACCESS_LEVEL_OPEN;
    const BOOL bKse = context.nKseLevel >= ACCESS_LEVEL_OPEN;
    switch (rule) {
    case RULE_NONE:
    case RULE_ALWAYS:
    case RULE_REMOVED:      // a toolbar button of such a command stays usable
        return TRUE;
    case RULE_LOGGED_IN:
        return context.nRole != -1;
    case RULE_ROLE_1:
    case RULE_ROLE_1_DIRECT:
        return context.nRole >= 1;
    case RULE_ROLE_3:
        return context.nRole >= 3;
    case RULE_US:
        return bUs;
    case RULE_KSE:
        return bKse;
    case RULE_BOTH_MARKETS:
        return context.nRole >= 1 && bUs && bKse;
    case RULE_US_ORDERS:
        return context.nRole >= ROLE_ORDERS && bUs;
    case RULE_KSE_ORDERS:
        return context.nRole >= ROLE_ORDERS && bKse;
    case RULE_US_QUOTES:
        return context.nUsQuoteValue > 0 && bUs;
    case RULE_US_QUOTES_PAGE:
        return context.nUsQuoteValue > 0 && bUs && context.bUsPagesSet;
    case RULE_MARGIN:
        return context.nMarginValue != 0 && bUs;
    case RULE_DISABLED:
        return FALSE;
    case RULE_NOT_CONNECTED:
        return !context.bLinkConnected;
    case RULE_CONNECTED:
        return context.bLinkConnected;
    case RULE_RAW_SERIAL:
        return context.bLinkConnected && context.nLinkType == LINK_TYPE_RAW_SERIAL;
    }
    return FALSE;
}

MENU_REMOVAL GetRuleRemoval(COMMAND_RULE rule, const COMMAND_CONTEXT& context)
{
    if (rule == RULE_REMOVED)
        return REMOVE_ITEM;
    if (rule == RULE_MARGIN && context.nMarginValue == 0)
        return REMOVE_ITEM_AND_SEPARATOR_BEFORE;
    return REMOVE_NOTHING;
}

BOOL RemoveCommandItem(HMENU hMenu, UINT nId, MENU_REMOVAL removal)
{
    if (hMenu == nullptr || removal == REMOVE_NOTHING)
        return FALSE;
    const int nCount = ::GetMenuItemCount(hMenu);
    int nPos = 0;
    while (nPos < nCount && ::GetMenuItemID(hMenu, nPos) != nId)
        ++nPos;
    if (nPos == nCount)
        return FALSE;
    // The margin item goes with the separator that opens its group, and only that one: the
    // separator after it still divides the groups around it.
    if (removal == REMOVE_ITEM_AND_SEPARATOR_BEFORE) {
        if (nPos > 0 && ::GetMenuItemID(hMenu, nPos - 1) == 0)
            ::DeleteMenu(hMenu, static_cast<UINT>(nPos - 1), MF_BYPOSITION);
    } else if (nPos + 1 < nCount && ::GetMenuItemID(hMenu, nPos + 1) == 0) {
        ::DeleteMenu(hMenu, static_cast<UINT>(nPos + 1), MF_BYPOSITION);
    }
    return ::DeleteMenu(hMenu, nId, MF_BYCOMMAND);
}

namespace {
PAUSE_LOCK_RUNNER s_pfnPauseLock = nullptr;

std::map<UINT, COMMAND_DIALOG_RUNNER>& CommandDialogs()
{
    static std::map<UINT, COMMAND_DIALOG_RUNNER> s_dialogs;
    return s_dialogs;
}
}  // namespace

void RegisterCommandDialog(UINT nCommand, COMMAND_DIALOG_RUNNER pfnRun)
{
    if (pfnRun == nullptr)
        CommandDialogs().erase(nCommand);
    else
        CommandDialogs()[nCommand] = pfnRun;
}

COMMAND_DIALOG_RUNNER FindCommandDialog(UINT nCommand)
{
    const auto it = CommandDialogs().find(nCommand);
    return it != CommandDialogs().end() ? it->second : nullptr;
}

void RegisterPauseLock(PAUSE_LOCK_RUNNER pfnRun)
{
    s_pfnPauseLock = pfnRun;
}

PAUSE_LOCK_RUNNER GetPauseLock()
{
    return s_pfnPauseLock;
}
