#pragma once
// What the model tells the server, one event at a time: its type picks the message shape, its
// record fills the fields. Record names of each type are in the header of the class that makes
// it (SimMarket.h for the market's, SimAccounts.h and SimOrders.h for an account's).
#include <string>
#include "tools/testserver/model/SimRecord.h"

enum ESimEvent
{
    SIM_QUOTE,          // a stock's quotation changed (SimMarket.h, quote)
    SIM_BOOK,           // one price level of a book changed; both sides 0: the level is gone
    SIM_ODDLOT,         // an entry of the KSE odd-lot board came or went (orders 0)
    SIM_TRADE,          // a trade on the market, for time and sales
    SIM_INDEX,          // a KSE index moved
    SIM_TICKER,         // a trade of a stock that runs in the scrolling ticker
    SIM_FORWARD,        // a forward series' prices moved with its stock
    SIM_NEWS,           // a story came out
    SIM_MINUTE,         // the simulated clock entered a new minute
    SIM_ORDER,          // an order's status changed (SimOrders.h, order); strUser says whose
    SIM_FILL,           // an order of the user traded (SimOrders.h, fill)
    SIM_HOLDING,        // a holding of the user changed (SimAccounts.h, holding)
    SIM_CASH,           // a cash line of the user changed (SimAccounts.h, cash)
    SIM_TRANSACTION,    // a line joined the user's transaction history (SimAccounts.h)
    SIM_MARGIN,         // the user's margin figures after a trade or conversion (SimAccounts.h)
    SIM_EVENT_TYPES
};

struct CSimEvent
{
    int nType = SIM_MINUTE;
    int nMarket = 0;                    // market code of the line; 0 for the clock
    std::string strUser;                // the account's user for SIM_ORDER to SIM_MARGIN, else ""
    const CSimRecord* pRecord = nullptr;
};

// Where the market and the accounts put their events; the simulator queues them.
struct ISimEventSink
{
    virtual ~ISimEventSink() = default;
    // The record must stay as it is until the walk step that made it has been taken; events of
    // an order or an account action are copied, since the walk goes on before they are read.
    virtual void OnSimEvent(int nType, int nMarket, const std::string& strUser, const CSimRecord& rec) = 0;
};
