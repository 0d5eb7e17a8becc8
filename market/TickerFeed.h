#pragma once
// The scrolling tickers as the market tables reach them: a ticker is known by its name (a
// market's name in the interface's language), and takes items of a label and a text, each in
// its colour. The ticker window registers itself here; while none is registered under a name,
// the items meant for it are dropped.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

struct ITickerFeed
{
    virtual ~ITickerFeed() = default;
    virtual void AddItem(LPCSTR pszLabel, COLORREF crLabel, LPCSTR pszText, COLORREF crText) = 0;
    virtual COLORREF GetTextColor() const = 0;
    virtual COLORREF GetUpColor() const = 0;
    virtual COLORREF GetDownColor() const = 0;
    virtual BOOL IsShowingChanges() const = 0;
};

// A quote's item: the label in the text colour, the last price with nDecimals (and its change
// when the ticker shows changes) in the colour of the change's sign.
void AddPriceItem(ITickerFeed* pFeed, LPCSTR pszLabel, double dLast, double dChange, int nDecimals);

// Null removes the name; the feed is not owned and must unregister before it goes.
void RegisterTickerFeed(LPCSTR pszName, ITickerFeed* pFeed);
ITickerFeed* FindTickerFeed(LPCSTR pszName);
