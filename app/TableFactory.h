#pragma once
// The layers above the application (the market tables, the account tables) make their tables;
// the application only knows them by name string id. Each layer registers, once at start-up, a
// maker per name id; the standing set, the table openers and the workspace ask for a table by
// its id and get it made and created (registered in the table map), or null when no maker is
// registered or its Create failed.
#include <vector>
#include "platform/win/Windows.h"

struct IDataTable;

// The name ids of the tables the application reaches itself (the session, the subscription, the
// language switch, the workspace).
#define IDS_TABLE_COMBINED_HOLDINGS   41125
#define IDS_TABLE_COMBINED_REALIZED   41152
#define IDS_TABLE_MARKET_SCHEDULE     41057
#define IDS_TABLE_US_ORDER_STATUS     51110
#define IDS_TABLE_KSE_ORDER_STATUS    51128
#define IDS_TABLE_US_EXECUTED_TRADES  51130
#define IDS_TABLE_KSE_EXECUTED_TRADES 51142
#define IDS_TABLE_US_HOLDINGS         51170
#define IDS_TABLE_US_QUOTATIONS       51921
#define IDS_TABLE_US_UNREALIZED       51200
#define IDS_TABLE_NEWS                51960
#define IDS_TABLE_KSE_HOLDINGS        56256
#define IDS_TABLE_KSE_QUOTATIONS      52114
#define IDS_TABLE_COMBINED_UNREALIZED 41176
#define IDS_TABLE_KSE_UNREALIZED      56304

// The account tables that value positions at the quotation tables' prices: a quote once stored
// revalues the rows of its symbol in each of them that is open (IDataTable::RevalueSymbol).
inline constexpr UINT g_positionTables[] = {IDS_TABLE_US_HOLDINGS,  IDS_TABLE_KSE_HOLDINGS,   IDS_TABLE_COMBINED_HOLDINGS,
                                            IDS_TABLE_US_UNREALIZED, IDS_TABLE_KSE_UNREALIZED, IDS_TABLE_COMBINED_UNREALIZED};

// Makes the table on the heap and calls its Create (name id, fixed columns, title id); null on
// failure (the maker deletes what it made).
typedef IDataTable* (*PFN_MAKE_TABLE)(UINT nNameId, int nFixedColumns, UINT nTitleId);

// A second registration of an id replaces the first; a null maker removes it.
void RegisterTableMaker(UINT nNameId, PFN_MAKE_TABLE pfnMake);
PFN_MAKE_TABLE FindTableMaker(UINT nNameId);
// Every name id with a maker, in id order.
std::vector<UINT> RegisteredTableIds();
// Null when no maker is registered for the id.
IDataTable* MakeTable(UINT nNameId, int nFixedColumns, UINT nTitleId);
