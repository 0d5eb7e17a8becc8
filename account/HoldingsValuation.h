#pragma once
// What the holdings and unrealized windows share beside the valuation (PositionValuation.h): their
// commands and menu items, the refresh question, the rate of a currency against the user's base
// currency, the KSE codes' and status texts and the view filters of their option commands.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>
#include "account/PositionValuation.h"
#include "app/dialogs/AppHelpers.h"
#include "market/TableLinks.h"
#include "platform/mfc/String.h"

// The commands of the holdings and unrealized windows.
#define ID_POSITIONS_REFRESH        33175
#define ID_POSITIONS_REFRESH_OTHER  33617   // the other account kind; never offered
#define ID_POSITIONS_ORDER          33208
#define ID_POSITIONS_ALL            33563
#define ID_POSITIONS_OPTIONS        33564   // never offered
#define ID_POSITIONS_STOCKS         33565
#define ID_POSITIONS_SYMBOL         33567
#define ID_POSITIONS_SYMBOL_BOOK    33568
#define ID_POSITIONS_SYMBOL_NEWS    33569
#define ID_POSITIONS_EXERCISE       33335   // an option row: the exercise form on it
#define ID_POSITIONS_EXPIRATION     33355   // an option row: its expiration instruction
#define ID_KSE_HOLDINGS_ITEM        40225
#define IDS_POSITIONS_FILTER_MENU   33558
#define IDS_POSITIONS_ORDER_ITEM    40353
#define IDS_REFRESH_QUESTION        40342


// A market name is a key of the position tables: held whole (the longest names pass 20 characters).
#define MARKET_NAME_SIZE 40

class CDataArray;
class CDataBuffer;
class CDataTable;
class CServerMessage;
class CViewRow;

// The rate of a currency ("=USD") against the user's base currency; 0 when either is unknown.
double RateToBase(LPCSTR pszCurrency);

// A live US position line ("NH") that closes its position: its long and short quantities
// (fields 1, 3, 15, 16), read as whole numbers, are all 0.
BOOL IsClosedUsPosition(CServerMessage* pMsg);

CString MarketNameOf(long nMarketCode);
long MarketCodeOf(LPCSTR pszMarketName);
// A KSE stock code's name from the stock list ("=KWD" for the cash line, the code itself for a
// stock the list lacks); bInterface: in the interface language, else the first language.
CString KseStockName(long nStock, BOOL bInterface);
// The text of a KSE position's status code.
CString KseStatusText(long nStatus);
// The text of a holding type code; bCash: the row is a cash line. A US option position is of a
// type of its own, beyond the KSE holding types (0 to 4) that US shares share.
#define HOLDING_TYPE_OPTION 5
CString HoldingTypeText(int nType, BOOL bCash);

// The option commands of a holdings window: every row, only option rows (code above 0), or only
// rows without an option right, on the main window's view by the option-right column.
enum OPTION_FILTER { OPTION_FILTER_ALL, OPTION_FILTER_OPTIONS, OPTION_FILTER_STOCKS };
BOOL FilterOptionRows(CDataTable* pTable, int nCol, OPTION_FILTER filter);

// TRUE when every character is a letter or digit of ASCII (an empty text too): a symbol an order
// can be placed for.
BOOL IsAlphanumeric(LPCSTR pszText);

// Columns hidden (the user cannot show them) or shown again (and switchable).
void SetColumnsHiddenOf(CDataTable* pTable, std::initializer_list<int> columns, BOOL bHidden);

// The refresh question (Yes/No); TRUE on Yes.
BOOL AskRefresh();

// At the top of a position table's menu: Refresh, a separator, the table's own item, a separator.
void InsertRefreshAndItem(HMENU hMenu, UINT nItemId, LPCSTR pszItemText);

// The logged-in user trades on the US markets.
BOOL HasUsAccess();

