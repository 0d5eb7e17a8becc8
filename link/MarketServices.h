#pragma once
// What the routing of messages needs of the market-data layer above it: the information window
// (the information table, which the application sets up) and the expander of compact quotes
// (the quotation table).
#include "platform/win/WinTypes.h"

class CServerMessage;

struct IInfoWindow
{
    virtual ~IInfoWindow() = default;
    // Adds one numbered line with the text (bytes in the active code page).
    virtual void AddText(LPCSTR pszText) = 0;
    // Adds the text of a string id; an id without a string adds string 854 with its number.
    virtual void AddResourceText(UINT nId) = 0;
};

struct ICompactQuoteExpander
{
    virtual ~ICompactQuoteExpander() = default;
    // Rewrites a compact "GS" line of two data fields in place into the full "GS" message,
    // parsed again in mode 1.
    virtual void ExpandCompactQuote(CServerMessage* pMsg) = 0;
};
