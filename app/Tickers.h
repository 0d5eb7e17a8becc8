#pragma once
// The terminal's ticker windows as the application makes them: the market layer registers the
// maker (each ticker reads its own settings and takes the market tables' items); the
// application keeps the names, numbers and places.
#include <functional>

#include "framework/window/TickerWnd.h"

struct TICKER_PLACE
{
    RECT rect;                  // in the parent's client coordinates (screen for a popup)
    CWnd* pParent;
    CTickerWnd** ppSlot;        // cleared by the window when it goes
    BOOL bDocked;
    int nNumber;                // from 1, the ticker's settings keys and menu item
    BOOL bDirection;            // right to left
    LPCSTR pszName;
};

// A new ticker with its window made, owned by the caller; null when no window could be made.
using TickerMaker = CTickerWnd* (*)(const TICKER_PLACE& place);
void RegisterTickerMaker(TickerMaker pfnMaker);
TickerMaker GetTickerMaker();

// A ticker closed by the user asks the application to remove it; the application answers later,
// not inside the closing window's own message. The window names the ticker: two may share a name.
using TickerCloser = std::function<void(CTickerWnd* pTicker)>;
void SetTickerCloser(TickerCloser closer);
void CloseTicker(CTickerWnd* pTicker);
