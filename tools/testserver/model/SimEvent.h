#pragma once
// What the model tells the server, one event at a time: its type picks the message shape, its
// record fills the fields. Record names of each type are in the header of the class that makes
// it (SimMarket.h for the market's, SimAccounts.h and SimOrders.h for an account's).
#include <string>
#include "tools/testserver/model/SimRecord.h"

// The live lines each type stands for, KSE first, then the US markets, as the terminal reads them.
enum ESimEvent
{
    SIM_QUOTE,          // a stock's quotation changed: QQ; GS
    SIM_BOOK,           // one price level changed, both sides 0 when it went: OU; L2, L3
    SIM_ODDLOT,         // an entry of the KSE odd-lot board came or went (orders 0): OO
    SIM_TRADE,          // a trade on the market: TM (US time and sales come from GS)
    SIM_INDEX,          // an index moved (its market: the KSE's or a US one): IX
    SIM_TICKER,         // a trade of a stock that runs in the scrolling ticker
    SIM_FORWARD,        // a forward series' prices moved with its stock: FW
    SIM_FORWARD_TRADE,  // a contract was traded on the forward board: FM
    SIM_NEWS,           // a story came out: BW
    SIM_ANNOUNCEMENT,   // a KSE announcement came out, its stories of both languages joined: NI
    SIM_MINUTE,         // the simulated clock entered a new minute: TI
    SIM_ORDER,          // one of the user's orders changed: NS; NO
    SIM_FILL,           // one of the user's orders traded: NX; NT
    SIM_HOLDING,        // a holding of the user changed, or a US one's price moved: IU; NH
    SIM_CASH,           // a cash line of the user changed: the cash line of IU
    SIM_TRANSACTION,    // a line joined the user's history: NK; NR
    SIM_MARGIN,         // the user's margin figures after a trade or conversion: MN
    SIM_CONTRACT,       // a forward contract of the user opened or changed: CU
    SIM_FORWARD_ORDER,  // a forward order of the user was placed or filled: NF
    SIM_FORWARD_FILL,   // a forward order of the user traded: NW
    SIM_EVENT_TYPES
};

struct CSimEvent
{
    int nType = SIM_MINUTE;
    int nMarket = 0;                    // market code of the line; 0 for the clock
    std::string strUser;                // the account's user for SIM_ORDER and the types after it, else ""
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
