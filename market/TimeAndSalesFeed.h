#pragma once
// What the US quotation table's row commands ask of the US time-and-sales table (51954): follow
// a symbol's trades, pause and resume them, drop them, show only them. The time-and-sales table
// takes the quote lines ("GS") itself, as a sink of its own; at AddSymbol it reads the symbol's
// high (column 7), low (8) and cumulative volume (21) from the quotation table's row, and for
// each trade its formatted column 2, through the quotation table's row store.
#include "platform/win/WinTypes.h"

struct ITimeAndSalesFeed
{
    virtual ~ITimeAndSalesFeed() = default;

    // A symbol already followed is left as it is.
    virtual void AddSymbol(LPCSTR pszSymbol) = 0;
    // A followed symbol stops making rows, or starts again; its volume keeps counting meanwhile.
    virtual void ToggleSymbolStop(LPCSTR pszSymbol) = 0;
    // No longer followed; its rows go.
    virtual void RemoveSymbol(LPCSTR pszSymbol) = 0;
    // The main window shows the symbol's rows only.
    virtual void FilterSymbol(LPCSTR pszSymbol) = 0;
    // For the commands' check marks.
    virtual BOOL IsSymbolAdded(LPCSTR pszSymbol) const = 0;
    virtual BOOL IsSymbolStopped(LPCSTR pszSymbol) const = 0;
};

// The time-and-sales table when it exists, else null.
ITimeAndSalesFeed* FindTimeAndSalesFeed();
