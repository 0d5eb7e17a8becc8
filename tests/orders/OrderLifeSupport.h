#pragma once
// The lines of an order's life as the server writes them, and the trader with the order status
// and executed trades tables of both markets who takes them as if read from the link.
#include <string>

#include "account/ExecutedTradesKSETable.h"
#include "account/ExecutedTradesTable.h"
#include "app/TableFactory.h"
#include "tests/orders/OrderTestSupport.h"

// A US order's line (quantity, open, filled, status), an option's with its series; its trade;
// its status change (5 cancelled, 7 expired).
std::string UsOrderLine(long nOrder, long nQuantity, long nOpen, long nFilled, long nStatus, bool bOption);
std::string UsTradeLine(long nTrade, long nOrder, long nQuantity, bool bOption);
std::string UsStatusLine(long nOrder, long nStatus);
// A KSE regular-board order's line and trade; a forward order's.
std::string KseOrderLine(long nOrder, long nQuantity, long nOpen, long nFilled, long nStatus);
std::string KseTradeLine(long nTrade, long nOrder, long nQuantity);
std::string ForwardOrderLine(long nOrder, long nQuantity, long nFilled, long nStatus);
std::string ForwardTradeLine(long nTrade, long nOrder, long nQuantity);

size_t TimesIn(const std::string& strText, const std::string& strPart);

struct OrderLifeSession : COrderStatusSession
{
    PFN_MAKE_TABLE pfnUsTrades = FindTableMaker(IDS_TABLE_US_TRADES);
    PFN_MAKE_TABLE pfnKseTrades = FindTableMaker(IDS_TABLE_KSE_TRADES);

    void RegisterMakers() override;
    void TearDown() override;
    // Logged in, with the four tables loaded.
    void StartLoaded(bool bArabic = false);
    // Logged off, then in again as that user, with the four tables loaded.
    void LogInAgain(const char* pszUser, const char* pszPassword);
    // A line as the server sends it, taken as if read from the link; then the window queue
    // pumped that long, or only what it holds now for 0.
    void Line(const std::string& strLine, int nMillis = 100);
    // The cell's text of the order's row, "-" without a row; as a number, -1 without.
    std::string Shown(UINT nTable, long nOrder, int nCol) const;
    double Number(UINT nTable, long nOrder, int nCol) const;
    // The trade notices of the order told so far.
    size_t ToldFills(long nOrder) const;
    // The open combined modify form's view window when it has that order, else null.
    HWND FormOf(long nOrder);
    // The order's number clicked in its table's main window.
    void ClickOrderNumber(UINT nTable, long nOrder);
};
