#include "market/WatchListSettings.h"

#include <cstdio>
#include "market/QuotationFigures.h"

namespace {

// The numbered keys, one form each; the odd-lot list has its own three.
enum WATCH_KEY {
    WK_TICKER, WK_MARKET, WK_OWN_QUANTITY, WK_OWN_PRICE, WK_ALERT_PRICE, WK_ALERT_DIRECTION,
    WK_IN_TIMES_AND_SALES, WK_STOPPED_IN_TIMES_AND_SALES, WK_SCROLLING_TICKER, WK_SHORT_TICKER,
    WK_ODDLOT_TICKER, WK_ODDLOT_ALERT_PRICE, WK_ODDLOT_ALERT_DIRECTION,
};
const char* const s_pszKeyForms[] = {
    "Ticker%d", "MktCode%d", "ExtQty%d", "ExtPrc%d", "AlertPrc%d", "AlertDir%d",
    "AddedToTimesAndSales%d", "StoppedInTimesAndSales%d", "ScrollingTicker%d", "TkrShrt%d",
    "TickerKSE%d", "AlertPrcKSE%d", "AlertDirKSE%d",
};
static_assert(sizeof(s_pszKeyForms) / sizeof(s_pszKeyForms[0]) == WK_ODDLOT_ALERT_DIRECTION + 1);

const char SHOW_EXTENDED_KEY[] = "ShowExt";

CTBString Key(WATCH_KEY nKey, int nIndex)
{
    char szKey[48];
    snprintf(szKey, sizeof(szKey), s_pszKeyForms[nKey], nIndex);
    return CTBString(szKey);
}

}  // namespace

void SelectWatchListSection(CIni& ini, const char* pszTable, BOOL bOddLot)
{
    char szSection[128];
    snprintf(szSection, sizeof(szSection), bOddLot ? "%s.TickerKSE" : "%s.Ticker", pszTable != nullptr ? pszTable : "");
    ini.SetSection(szSection);
}

void WriteWatchListHead(CIni& ini, BOOL bOddLot, BOOL bShowExtended)
{
    if (!bOddLot)
        ini.WriteBool(SHOW_EXTENDED_KEY, bShowExtended);
    ini.WriteString(Key(bOddLot ? WK_ODDLOT_TICKER : WK_TICKER, 0), "");
}

void WriteWatchEntry(CIni& ini, int nIndex, const WATCH_ENTRY& entry)
{
    if (nIndex < 0)
        return;
    ini.WriteString(Key(WK_TICKER, nIndex), entry.strTicker);
    ini.WriteInt(Key(WK_MARKET, nIndex), entry.nMarketCode);
    ini.WriteLong(Key(WK_OWN_QUANTITY, nIndex), entry.nOwnQuantity);
    ini.WriteLong(Key(WK_OWN_PRICE, nIndex), PriceToSetting(entry.dOwnPrice));
    ini.WriteLong(Key(WK_ALERT_PRICE, nIndex), PriceToSetting(entry.dAlertPrice));
    ini.WriteLong(Key(WK_ALERT_DIRECTION, nIndex), entry.nAlertDirection);
    ini.WriteBool(Key(WK_IN_TIMES_AND_SALES, nIndex), entry.bInTimesAndSales);
    ini.WriteBool(Key(WK_STOPPED_IN_TIMES_AND_SALES, nIndex), entry.bStoppedInTimesAndSales);
    ini.WriteBool(Key(WK_SCROLLING_TICKER, nIndex), entry.bScrollingTicker);
    ini.WriteString(Key(WK_SHORT_TICKER, nIndex), entry.strShortTicker);
    ini.WriteString(Key(WK_TICKER, nIndex + 1), "");
}

void WriteOddLotWatchEntry(CIni& ini, int nIndex, const ODDLOT_WATCH_ENTRY& entry)
{
    if (nIndex < 0)
        return;
    ini.WriteString(Key(WK_ODDLOT_TICKER, nIndex), entry.strTicker);
    ini.WriteLong(Key(WK_ODDLOT_ALERT_PRICE, nIndex), PriceToSetting(entry.dAlertPrice));
    ini.WriteLong(Key(WK_ODDLOT_ALERT_DIRECTION, nIndex), entry.nAlertDirection);
    ini.WriteString(Key(WK_ODDLOT_TICKER, nIndex + 1), "");
}

BOOL ReadShowExtended(CIni& ini)
{
    return ini.GetBool(SHOW_EXTENDED_KEY, FALSE);
}

BOOL ReadWatchEntry(CIni& ini, int nIndex, WATCH_ENTRY* pEntry)
{
    if (nIndex < 0 || pEntry == nullptr)
        return FALSE;
    WATCH_ENTRY entry;
    entry.strTicker = ini.GetString(Key(WK_TICKER, nIndex));
    if (entry.strTicker.GetLength() == 0)
        return FALSE;
    entry.nMarketCode = ini.GetInt(Key(WK_MARKET, nIndex), 0);
    entry.nOwnQuantity = ini.GetLong(Key(WK_OWN_QUANTITY, nIndex), 0);
    entry.dOwnPrice = SettingToPrice(ini.GetLong(Key(WK_OWN_PRICE, nIndex), 0));
    entry.dAlertPrice = SettingToPrice(ini.GetLong(Key(WK_ALERT_PRICE, nIndex), 0));
    entry.nAlertDirection = ini.GetLong(Key(WK_ALERT_DIRECTION, nIndex), 0);
    entry.bInTimesAndSales = ini.GetBool(Key(WK_IN_TIMES_AND_SALES, nIndex), FALSE);
    entry.bStoppedInTimesAndSales = ini.GetBool(Key(WK_STOPPED_IN_TIMES_AND_SALES, nIndex), FALSE);
    entry.bScrollingTicker = ini.GetBool(Key(WK_SCROLLING_TICKER, nIndex), FALSE);
    entry.strShortTicker = ini.GetString(Key(WK_SHORT_TICKER, nIndex));
    *pEntry = entry;
    return TRUE;
}
