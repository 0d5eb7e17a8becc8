#pragma once
// The application's menu and toolbar commands and their enabling rules, one table for all.
#include "platform/mfc/AfxRes.h"
#include "platform/win/WinTypes.h"

#define ID_APP_CONNECT          32774
#define ID_APP_DISCONNECT       32775
#define ID_APP_LINK_SETTINGS    32776
#define ID_APP_SHOW_INFO        32819
#define ID_APP_SAVE_WORKSPACE   32831
#define ID_APP_OPEN_WORKSPACE   32832
#define ID_APP_SAVE_WORKSPACE_AS 32835
#define ID_APP_LOGIN            33046
#define ID_APP_CHANGE_PASSWORD  33047
#define ID_APP_CLEAR_INFO       33163
#define ID_APP_VERSION          33196
#define ID_APP_CHANGE_PIN       33197
#define ID_APP_INFO_RAISE       33199
#define ID_APP_READING_DIRECTION 33268
#define ID_APP_INFO_PRIORITY_1  33627
#define ID_APP_INFO_PRIORITY_4  33630
#define ID_APP_INFO_BUTTON      40230

// Who may use a command (the privilege checks). RULE_NONE: no rule of its own, so the item is
// enabled because the command has a handler.
enum COMMAND_RULE
{
    RULE_NONE,
    RULE_ALWAYS,
    RULE_LOGGED_IN,
    RULE_ROLE_1,            // from a copy of the user record
    RULE_ROLE_1_DIRECT,     // from the application's own record
    RULE_ROLE_3,
    RULE_NOT_CONNECTED,
    RULE_CONNECTED,
};

// What a rule reads.
struct COMMAND_CONTEXT
{
    int nRole = -1;
    BOOL bLinkConnected = FALSE;
};

// Whether a rule enables its item; RULE_NONE answers TRUE (the handler enables it).
BOOL IsRuleMet(COMMAND_RULE rule, const COMMAND_CONTEXT& context);
