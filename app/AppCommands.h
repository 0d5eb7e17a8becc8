#pragma once
// The application's menu and toolbar commands and their enabling rules, one table for all.
#include "platform/mfc/AfxRes.h"
#include "platform/win/WinTypes.h"

#define ID_APP_CONNECT          32774
#define ID_APP_DISCONNECT       32775
#define ID_APP_LINK_SETTINGS    32776
#define ID_APP_PROTOCOL_MODE    32778   // the raw serial link to the protocol mode
#define ID_APP_FEED_LOG         32780
#define ID_APP_SHOW_INFO        32819
#define ID_APP_SAVE_WORKSPACE   32831
#define ID_APP_OPEN_WORKSPACE   32832
#define ID_APP_SAVE_WORKSPACE_AS 32835
#define ID_APP_LOGIN            33046
#define ID_APP_CHANGE_PASSWORD  33047
#define ID_APP_PAUSE_LOCK       33048
#define ID_APP_NEWS             33193
#define ID_APP_COMPANY_NEWS     33194   // as 33624: the company asked for
#define ID_APP_TICKER_LOOKUP    33195
#define ID_APP_KSE_EVENTS       33232
#define ID_APP_KSE_NEWS_BROWSER 33285
#define ID_APP_KSE_NEWS         33286
#define ID_APP_MARGIN_DETAILS   33311
#define ID_APP_ACTIVE_WINDOW    33616   // passed on to the active window as its own command
#define ID_APP_PREFERENCES      40231
#define ID_APP_CORP_EVENTS      33122   // the corporate events download filter
#define ID_APP_OPTION_CHAIN     33337   // the option chain form, no symbol
#define ID_ACTIVE_WINDOW_COMMAND 40018
#define ID_APP_CLEAR_INFO       33163
#define ID_APP_VERSION          33196
#define ID_APP_CHANGE_PIN       33197
#define ID_APP_INFO_RAISE       33199
#define ID_APP_READING_DIRECTION 33268
#define ID_APP_INFO_PRIORITY_1  33627
#define ID_APP_INFO_PRIORITY_4  33630
#define ID_APP_INFO_BUTTON      40230
#define ID_APP_US_QUOTES        33191
#define ID_APP_US_HOLDINGS      33112
#define ID_APP_US_UNREALIZED    33119
#define ID_APP_KSE_HOLDINGS     33233
#define ID_APP_COMBINED_HOLDINGS 40224
#define ID_APP_US_TIME_SALES    33202
#define ID_APP_US_TIME_SALES_2  33650
#define ID_APP_KSE_STOCK_LIST   33242
#define ID_APP_KSE_TICK_UNITS   33243
#define ID_APP_KSE_TIME_SALES   33255
#define ID_APP_FWD_TIME_SALES   33271
#define ID_APP_FWD_RULES        33275
#define ID_APP_GAINERS          33203
#define ID_APP_LOSERS           33204
#define ID_APP_MOST_ACTIVE      33205
#define ID_APP_HOLIDAYS         33207
#define ID_APP_COMPANY_NEWS_2   33624
#define ID_APP_NEWS_LIST        33625
#define ID_APP_KSE_QUOTES       33251
#define ID_APP_KSE_ORDER_BOOK   33253
#define ID_APP_KSE_INDICES      33270
#define ID_APP_FWD_QUOTES       33272
#define ID_APP_FWD_OPEN_INTEREST 33274
#define ID_APP_CHART_US_HISTORY 33190  // the chart commands: a chooser with no symbol
#define ID_APP_CHART_US_INTRADAY 33192
#define ID_APP_CHART_KSE_HISTORY 33300
#define ID_APP_CHART_KSE_INTRADAY 33301
#define ID_APP_CHART_MARKET_1 33614    // market 1's chart, unless it looks its symbols up
#define ID_APP_KSE_SORT_FIRST   33287   // further KSE quotation windows, each sorted its way
#define ID_APP_KSE_SORT_LAST    33289
#define ID_APP_EXCHANGE_RATES   33348
#define ID_APP_INTEREST_RATES   33351
#define ID_APP_INTL_BOOK        33649
#define ID_APP_INTL_BOOK_2      57452
#define ID_APP_INTL_MM_BOOK     40193
#define ID_APP_WEB_SITE         33198
#define ID_APP_COMPANY_NEWS_TICKER 33566 // the company news through the ticker choice
#define ID_APP_MARKET_DEPTH     33305
#define ID_APP_TICKER_FIRST     33603   // the ticker sub-menu: ticker n is 33602 + n
#define ID_APP_TICKER_LAST      33613
#define ID_APP_TICKER_FLOAT     32842   // the ticker whose menu asked floats
#define ID_APP_TICKER_DOCK      32843   // or docks
#define ID_APP_MARKET_FIRST     40020   // the market-schedule sub-menu: market i is 40020 + i
#define ID_APP_MARKET_LAST      40030
#define ID_APP_MARKET_ALL       40031

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
    RULE_US,                // US access level at least 10
    RULE_KSE,               // KSE access level at least 10
    RULE_BOTH_MARKETS,      // role at least 1, both access levels at least 10
    RULE_US_ORDERS,         // role at least 4, US access level at least 10
    RULE_KSE_ORDERS,        // role at least 4, KSE access level at least 10
    RULE_US_QUOTES,         // US quote value above 0 and US access level at least 10
    RULE_US_QUOTES_PAGE,    // as RULE_US_QUOTES, and both US page strings set
    RULE_MARGIN,            // margin value 0 removes the item with the separator before it
    RULE_REMOVED,           // the item never stays in a menu
    RULE_DISABLED,
    RULE_NOT_CONNECTED,
    RULE_CONNECTED,
    RULE_RAW_SERIAL,        // connected over the raw serial link
};

#define LINK_TYPE_RAW_SERIAL 1

// What a rule reads.
struct COMMAND_CONTEXT
{
    int nRole = -1;
    int nUsLevel = 0;
    int nKseLevel = 0;
    int nUsQuoteValue = 0;
    int nMarginValue = 0;
    BOOL bUsPagesSet = FALSE;   // both US page strings of the login reply non-empty
    BOOL bLinkConnected = FALSE;
    int nLinkType = 0;          // the connected link's connection type
};

// Whether a rule enables its item; RULE_NONE answers TRUE (the handler enables it).
BOOL IsRuleMet(COMMAND_RULE rule, const COMMAND_CONTEXT& context);

// How a rule edits the menu that holds its item.
enum MENU_REMOVAL
{
    REMOVE_NOTHING,
    REMOVE_ITEM,                    // the item, and a separator directly after it
    REMOVE_ITEM_AND_SEPARATOR_BEFORE,   // a separator directly before it first, then as above
};
MENU_REMOVAL GetRuleRemoval(COMMAND_RULE rule, const COMMAND_CONTEXT& context);

// Takes the command's item out of hMenu as the removal says; FALSE when the item is not there.
BOOL RemoveCommandItem(HMENU hMenu, UINT nId, MENU_REMOVAL removal);

// The pause lock's dialog, given by whoever builds it: IDOK when the user typed the password.
typedef int (*PAUSE_LOCK_RUNNER)(HWND hParent, LPCSTR pszPassword);
void RegisterPauseLock(PAUSE_LOCK_RUNNER pfnRun);
PAUSE_LOCK_RUNNER GetPauseLock();

// The modal dialog a command runs, given by whoever builds it (the corporate events download
// filter, the schedules, the KSE parameters), one per command id: it runs modal over hParent and
// answers as DoModal does. A second registration replaces the first; null removes it.
typedef INT_PTR (*COMMAND_DIALOG_RUNNER)(HWND hParent);
void RegisterCommandDialog(UINT nCommand, COMMAND_DIALOG_RUNNER pfnRun);
COMMAND_DIALOG_RUNNER FindCommandDialog(UINT nCommand);
