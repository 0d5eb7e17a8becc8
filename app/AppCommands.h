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
#define ID_APP_US_QUOTES        33191
#define ID_APP_US_TIME_SALES    33202
#define ID_APP_US_TIME_SALES_2  33650
#define ID_APP_KSE_STOCK_LIST   33242
#define ID_APP_KSE_TICK_UNITS   33243
#define ID_APP_KSE_TIME_SALES   33255
#define ID_APP_FWD_TIME_SALES   33271
#define ID_APP_FWD_RULES        33275
#define ID_APP_KSE_QUOTES       33251
#define ID_APP_KSE_ORDER_BOOK   33253
#define ID_APP_KSE_INDICES      33270
#define ID_APP_FWD_QUOTES       33272
#define ID_APP_FWD_OPEN_INTEREST 33274
#define ID_APP_KSE_SORT_FIRST   33287   // further KSE quotation windows, each sorted its way
#define ID_APP_KSE_SORT_LAST    33289
#define ID_APP_EXCHANGE_RATES   33348
#define ID_APP_INTEREST_RATES   33351
#define ID_APP_INTL_BOOK        33649
#define ID_APP_INTL_BOOK_2      57452
#define ID_APP_INTL_MM_BOOK     40193
#define ID_APP_GAINERS          33203
#define ID_APP_LOSERS           33204
#define ID_APP_MOST_ACTIVE      33205
#define ID_APP_HOLIDAYS         33207
#define ID_APP_NEWS_LIST        33625
#define ID_APP_KSE_EVENTS       33232
#define ID_APP_WEB_SITE         33198
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
    RULE_KSE,               // KSE access level at least 10
    RULE_US_QUOTES,         // US quote value above 0 and US access level at least 10
    RULE_DISABLED,          // mapped, but what it opens is not there yet
    RULE_NOT_CONNECTED,
    RULE_CONNECTED,
};

// What a rule reads.
struct COMMAND_CONTEXT
{
    int nRole = -1;
    int nUsLevel = 0;
    int nKseLevel = 0;
    int nUsQuoteValue = 0;
    BOOL bLinkConnected = FALSE;
};

// Whether a rule enables its item; RULE_NONE answers TRUE (the handler enables it).
BOOL IsRuleMet(COMMAND_RULE rule, const COMMAND_CONTEXT& context);
