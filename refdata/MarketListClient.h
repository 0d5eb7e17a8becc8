#pragma once
// What the reference data needs of the application while it takes in the market list and the
// single messages it keeps: requests, the user, the busy flag, the information window, the
// market menus and tickers, the charts and the US order status table. The application
// implements it; tests use a double.
#include "platform/mfc/String.h"
#include "refdata/User.h"

// The ticker of every market, made when the user may see no market of his own.
#define TICKER_ALL_MARKETS "ALL"

struct IMarketListClient
{
    virtual ~IMarketListClient() = default;

    // Sends a request of nType (mode 1, no caret) with the body; its number, or -1 when the
    // link is down or the line could not be built.
    virtual long SendRequest(int nType, LPCSTR pszBody) = 0;
    // A copy of the logged-in user (user number 0 while nobody is).
    virtual CUser GetUser() const = 0;
    // The busy flag, with the wait cursor while it is set.
    virtual void SetBusy(BOOL bBusy) = 0;
    // A line in the information window, and raising it (priority 1 notices, 2 errors).
    virtual void AddInfoText(LPCSTR pszText) = 0;
    virtual void BringInfoWindowToTop(int nPriority) = 0;

    // The ticker map: emptied when a market list begins (open ticker windows closed first),
    // then one entry per permitted market by name, without a window yet.
    virtual void RemoveAllTickers() = 0;
    virtual void AddTicker(LPCSTR pszName) = 0;
    virtual int GetTickerCount() const = 0;
    // The market list is complete: rebuild the market sub-menus, then show and place the tickers.
    virtual void OnMarketListChanged() = 0;

    // The US market opened again ("MM" state 4): every chart clears and asks for its series.
    virtual void ResetCharts() = 0;
    // The symbol lists are all in: the open tables name the companies of the rows that came
    // before them, and the US order status table, when open, asks for its data.
    virtual void OnSymbolListsIn() = 0;
    // The currency list is in.
    virtual void OnCurrencyListIn() = 0;
    // The folder of the program and its settings files, with no separator at the end.
    virtual CString GetProgramFolder() const = 0;
};
