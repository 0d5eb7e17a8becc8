#pragma once
// What a table hands to the tickers and asks of the KSE board without knowing their classes:
// a ticker window takes items under its name (the ticker windows register themselves; tests
// register a recorder), and the board table answers a stock's last price.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

struct ITickerItems
{
    virtual ~ITickerItems() = default;
    // One item: the row's name, its text and the text's colour.
    virtual void AddItem(LPCSTR pszName, LPCSTR pszText, COLORREF crText) = 0;
};

// The ticker is not owned; null removes the name. A second registration replaces the first.
void RegisterTicker(LPCSTR pszName, ITickerItems* pTicker);
// Null when no ticker goes by that name.
ITickerItems* FindTicker(LPCSTR pszName);

struct ILastPriceSource
{
    virtual ~ILastPriceSource() = default;
    // The stock's last price when above 0, else its reference price; 0 for a stock without a row.
    virtual double GetLastPrice(long nStockId) const = 0;
};
// The price the table of that name id gives; 0 while the table does not exist or gives none.
double GetLastPriceFrom(UINT nNameId, long nStockId);
