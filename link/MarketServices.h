#pragma once
// What the routing of messages needs of the market-data layer above it: the information window
// (declared with the shared services, framework/base/InfoWindow.h) and the expander of compact
// quotes (the quotation table).
#include "framework/base/InfoWindow.h"
#include "platform/win/WinTypes.h"

class CServerMessage;

struct ICompactQuoteExpander
{
    virtual ~ICompactQuoteExpander() = default;
    // Rewrites a compact "GS" line of two data fields in place into the full "GS" message,
    // parsed again in mode 1.
    virtual void ExpandCompactQuote(CServerMessage* pMsg) = 0;
};
