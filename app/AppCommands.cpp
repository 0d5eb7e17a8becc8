#include "app/AppCommands.h"

#define ACCESS_LEVEL_OPEN 10   // a market's access level that opens its commands

BOOL IsRuleMet(COMMAND_RULE rule, const COMMAND_CONTEXT& context)
{
    switch (rule) {
    case RULE_NONE:
    case RULE_ALWAYS:
        return TRUE;
    case RULE_LOGGED_IN:
        return context.nRole != -1;
    case RULE_ROLE_1:
    case RULE_ROLE_1_DIRECT:
        return context.nRole >= 1;
    case RULE_ROLE_3:
        return context.nRole >= 3;
    case RULE_KSE:
        return context.nKseLevel >= ACCESS_LEVEL_OPEN;
    case RULE_US_QUOTES:
        return context.nUsQuoteValue > 0 && context.nUsLevel >= ACCESS_LEVEL_OPEN;
    case RULE_DISABLED:
        return FALSE;
    case RULE_NOT_CONNECTED:
        return !context.bLinkConnected;
    case RULE_CONNECTED:
        return context.bLinkConnected;
    }
    return FALSE;
}
