#pragma once
// What the lines of one order have told so far, whatever order they came in. The server writes
// an order's line with the fills made before it, and may deliver its trades before or after it;
// a line that counts fewer fills than another is older, and an order ends once (filled,
// cancelled, expired, refused) whatever comes after. The record gives one answer for every order
// of the same lines.
#include <algorithm>
#include <string>
#include <unordered_map>

#include "platform/win/WinTypes.h"

struct ORDER_LIFE
{
    double dLineFilled = 0;     // the most fills one of the order's own lines counted
    double dReplyFilled = 0;    // the fills the last table reply counted (US)
    double dTraded = 0;         // the distinct trades told since that reply (US)
    long nEnded = 0;            // the status that ended the order; 0 while it is open

    double Filled() const { return std::max(dLineFilled, dReplyFilled + dTraded); }
};

// Filled, cancelled by the trader or the market, expired, refused: no line opens the order again.
inline BOOL IsEndedOrderStatus(long nStatus)
{
    return nStatus == 3 || nStatus == 4 || nStatus == 5 || nStatus == 7 || nStatus == 8;
}

// An order line of nStatus counting dLineFilled: TRUE when it tells the order as it stands now
// (taken whole), FALSE when it counts fewer fills than the order has shown, or the order has
// ended, so that only its count adds. It ends the order when its status does.
inline BOOL TakeOrderLine(ORDER_LIFE& life, double dLineFilled, long nStatus, BOOL bHasRow)
{
    const BOOL bWhole = !bHasRow || (life.nEnded == 0 && (dLineFilled >= life.Filled() || IsEndedOrderStatus(nStatus)));
    life.dLineFilled = std::max(life.dLineFilled, dLineFilled);
    if (bWhole && life.nEnded == 0 && IsEndedOrderStatus(nStatus))
        life.nEnded = nStatus;
    return bWhole;
}

// The order's status, open and filled quantities by its record, for an order of dQuantity whose
// row reads nRowStatus. Trades that fill its quantity show it filled; only the server's own
// line ends it for good, as a line of a larger quantity may still come.
struct ORDER_COUNTS
{
    long nStatus;
    double dOpen;
    double dFilled;
};
inline ORDER_COUNTS CountOrder(const ORDER_LIFE& life, double dQuantity, long nRowStatus)
{
    const double dFilled = life.Filled();
    if (life.nEnded != 0)
        return {life.nEnded, 0, dFilled};
    if (dQuantity > 0 && dFilled >= dQuantity)
        return {3, 0, dFilled};
    // Unfilled, it keeps the status its line gave it (waiting, open), unless that told of fills.
    const long nStatus = dFilled > 0 ? 6 : IsEndedOrderStatus(nRowStatus) || nRowStatus == 6 ? 2 : nRowStatus;
    return {nStatus, std::max(0.0, dQuantity - dFilled), dFilled};
}

using ORDER_LIVES = std::unordered_map<std::string, ORDER_LIFE>;
