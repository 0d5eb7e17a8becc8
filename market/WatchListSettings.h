#pragma once
// The watch lists kept in the settings file between runs: the US quotation list under
// "<table>.Ticker" (one numbered set of keys per symbol, with the user's own position and alert),
// the odd-lot list under "<table>.TickerKSE" (ticker and alert only). Each list ends at the first
// index whose ticker is empty. Prices are kept as whole hundredths, rounded to the nearest.
#include "framework/base/Ini.h"
#include "framework/base/TBString.h"

// One symbol of the US list.
struct WATCH_ENTRY {
    CTBString strTicker;
    int nMarketCode = 0;
    LONG nOwnQuantity = 0;
    double dOwnPrice = 0;
    double dAlertPrice = 0;
    LONG nAlertDirection = 0;
    BOOL bInTimesAndSales = FALSE;
    BOOL bStoppedInTimesAndSales = FALSE;
    BOOL bScrollingTicker = FALSE;
    CTBString strShortTicker;
};

// One stock of the odd-lot list.
struct ODDLOT_WATCH_ENTRY {
    CTBString strTicker;
    double dAlertPrice = 0;
    LONG nAlertDirection = 0;
};

// Selects the list's section of the table named pszTable in ini.
void SelectWatchListSection(CIni& ini, const char* pszTable, BOOL bOddLot);

// Writing, in the selected section: the head ("ShowExt" for the US list, and an empty ticker
// 0), then each entry n followed by an empty ticker n + 1, so that the list always ends right
// after its last entry.
void WriteWatchListHead(CIni& ini, BOOL bOddLot, BOOL bShowExtended);
void WriteWatchEntry(CIni& ini, int nIndex, const WATCH_ENTRY& entry);
void WriteOddLotWatchEntry(CIni& ini, int nIndex, const ODDLOT_WATCH_ENTRY& entry);

// Reading the US list: FALSE at its end (an empty ticker) and for a negative index.
BOOL ReadShowExtended(CIni& ini);
BOOL ReadWatchEntry(CIni& ini, int nIndex, WATCH_ENTRY* pEntry);
