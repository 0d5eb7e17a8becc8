#pragma once
// The order engine: checks, sends, modifies and cancels the users' orders against the market's
// books and the accounts. A marketable order trades against the book at once (partly when the
// levels are short); the rest waits and fills when the walk's last price reaches its limit; a
// stop waits for the last price to reach it. Every change goes to the sink as order, fill,
// holding and cash events for the user. Owned by the simulator.
#include <cstdint>
#include <string>
#include <vector>
#include "tools/testserver/model/SimAccounts.h"
#include "tools/testserver/model/SimMarket.h"

// Order codes as the terminal sends them.
enum { SIM_SIDE_BUY = 1, SIM_SIDE_SELL = 2 };
enum { SIM_TYPE_LIMIT = 0, SIM_TYPE_STOP = 1, SIM_TYPE_STOP_LIMIT = 2, SIM_TYPE_MARKET = 3 };
// The terminal's order status codes: 2 open, 6 partly filled, 3 filled, 5 cancelled, 1 a stop not yet triggered.
enum { SIM_STATUS_OPEN = 2, SIM_STATUS_PARTLY = 6, SIM_STATUS_FILLED = 3, SIM_STATUS_CANCELLED = 5, SIM_STATUS_WAITING = 1 };

// Refusals: codes of the error texts (errors.txt); the insert goes with them.
enum
{
    SIM_ERR_ACCOUNT = 100,          // no such user's account
    SIM_ERR_PASSWORD = 105,         // wrong trading password
    SIM_ERR_CASH = 428,             // insert: the cash available
    SIM_ERR_SHARES = 432,           // insert: the shares available
    SIM_ERR_TICK = 433,             // insert: the tick at that price
    SIM_ERR_QUANTITY = 442,         // insert: the smallest quantity
    SIM_ERR_LIMITS = 447,           // insert: "low - high"
    SIM_ERR_SYMBOL = 652,           // insert: the symbol
    SIM_ERR_NOT_OPEN = 724,         // insert: the order number
};

struct CSimOrderRequest
{
    std::string strUser, strPassword;
    int nMarket = 0;
    std::string strSymbol;          // the KSE stock id or the US ticker
    int nSide = SIM_SIDE_BUY;
    int nType = SIM_TYPE_LIMIT;
    int64_t nQty = 0;
    double dPrice = 0;              // the limit, as written (fils, dollars); limit types only
    double dStop = 0;               // the stop; stop types only
    int nDuration = 0;
    int nGoodTill = 0;              // YYYYMMDD, 0: none
    CSimOptionSeries option;        // an option order: its series on the options board (the
                                    // underlying is strSymbol's instrument), its quantity contracts
    int nBooked = 0;                // a US order for another market than the symbol's own: the
                                    // market it names, where its status and fills say it is
};

// Records; "read at" as in SimMarket.h (message: field).
//
// review (Check, CheckModify, CheckCancel)
// | name | value | read at |
// |---|---|---|
// | market | market code | KV 4 (1 there: the regular board) |
// | side, symbol, quantity, type | the order | KV 5, 6, 7, 8 |
// | price, stop_price | limit and stop | KV 9, 10 |
// | duration, good_till | | KV 11, 13 |
// | cash_available | cash before the order (buys) | KV 14 |
// | shares_available | shares before the order (sales) | KV 15 |
// | est_price | the price the value is counted at: the limit, else the far side of the book | KV 16 |
// | value | quantity at est_price | KV 17 |
// | commission, exchange_fee, clearing_fee, other_fee | the charges | KV 18, 19, 20, 21 |
// | total | value plus charges for a buy, minus for a sale | KV 22 |
// | margin | margin needed, 0.00 | KV 25 |
// | name, charges, currency | company name, sum of the charges, the market's currency | |
// | order_no | the order changed (modify and cancel checks) | |
// An option order's review is of the options board: symbol the option's letters, its value the
// contracts' 100 shares each at the premium, shares_available the contracts held.
//
// order (SIM_ORDER, Send, Modify, Cancel, GetOrders)
// | name | value | read at |
// |---|---|---|
// | order_no | from 1 for the run | KS/NS 0, OS/NO 0 |
// | datetime | when placed | KS/NS 1, OS/NO 1 |
// | symbol, side, quantity | as sent or modified | KS/NS 2, 3, 4; OS/NO 2, 3, 4 |
// | open_qty, filled_qty | | KS/NS 5, 6; OS/NO 5, 6 |
// | type, price, stop_price, duration | | KS/NS 8, 9, 10, 11; OS/NO 8, 9, 10, 11 |
// | good_till | server date, "" for none | KS/NS 13, OS/NO 13 |
// | value | value filled | KS/NS 14 |
// | status | 1 open, 2 partly filled, 3 filled, 4 cancelled, 6 waiting for its stop | KS/NS 16, OS/NO 16 |
// | cancelled, partly | 1 when cancelled; 1 when part of it, not all, has traded | NU 11, 14 |
// | market | market code | KS/NS 23, OS/NO 21 |
// | date | when placed | KS/NS 24 |
// | reference | the server's text for the order | KS/NS 25 |
// | account, user, name, avg_price, time, updated, currency | updated: datetime of the last change | |
// | underlying, right, strike, expiry | an option order's series, on market 16; symbol its letters | OS/NO 23, 24, 25, 26 |
//
// fill (SIM_FILL, GetFills)
// | name | value | read at |
// |---|---|---|
// | trade_no | from 1 for the run | EK/NX 1, ET/NT 0 |
// | datetime | | EK/NX 2, ET/NT 1 |
// | market | | EK/NX 0 |
// | side, symbol, quantity, price | | EK/NX 3, 4, 5, 6; ET/NT 2, 3, 4, 5 |
// | commission | | EK/NX 7 |
// | value | | ET/NT 6 |
// | order_no | | EK/NX 13, ET/NT 9 |
// | reference | the order's | EK/NX 14 |
// | status | 1 done | EK/NX 15, ET/NT 10 |
// | date | | EK/NX 17 |
// | fees, charges, net, account, name, currency, time | fees: exchange and clearing; net: value + charges for a buy, - for a sale | |
// | underlying, right, strike, expiry | an option's fill: its series; value counts 100 shares a contract | ET/NT 12, 13, 14, 15 |

class CSimOrders
{
public:
    void Init(CSimMarket* pMarket, CSimAccounts* pAccounts, CSimClock* pClock);

    // Checks answer without changing anything; each returns 0 or a refusal code with its insert.
    int Check(const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert);
    // Places the order (the password is checked first); pOrder gets its record as placed and
    // traded at once.
    int Send(const CSimOrderRequest& req, ISimEventSink& sink, CSimRecord* pOrder, std::string* pstrInsert);
    // Modify takes the new quantity (the whole order, filled part included), limit and stop of
    // req; side, symbol and type stay.
    int CheckModify(int64_t nOrderNo, const CSimOrderRequest& req, CSimRecord* pReview, std::string* pstrInsert);
    int Modify(int64_t nOrderNo, const CSimOrderRequest& req, ISimEventSink& sink, CSimRecord* pOrder, std::string* pstrInsert);
    int CheckCancel(const std::string& strUser, int64_t nOrderNo, CSimRecord* pReview, std::string* pstrInsert);
    int Cancel(const std::string& strUser, const std::string& strPassword, int64_t nOrderNo, ISimEventSink& sink,
               CSimRecord* pOrder, std::string* pstrInsert);

    // After each trade of the walk: stops that the last price reached, and resting orders whose
    // limit it reached.
    void OnMarketTrade(CSimInstrument& inst, ISimEventSink& sink);
    // Whether OnMarketTrade would change anything after the symbol's last trade.
    bool AnyReached(const CSimInstrument& inst) const;

    // An option exercised into its underlying: an order of its own, filled at once at the
    // strike and booked to the account like any other.
    void BookExercise(CSimAccount& account, const CSimInstrument& inst, int nSide, int64_t nQty, int64_t nPrice,
                      ISimEventSink& sink);

    // Reports; nFrom and nTo YYYYMMDD, both included; nMarket 0 takes every market.
    std::vector<CSimRecord> GetOrders(const std::string& strUser, int nMarket, int nFrom, int nTo) const;
    std::vector<CSimRecord> GetFills(const std::string& strUser, int nMarket, int nFrom, int nTo) const;
    bool HasOpenOrders(const CSimInstrument& inst) const;

private:
    struct Order
    {
        int64_t nNo = 0;
        std::string strUser;
        CSimInstrument* pInst = nullptr;
        int nSide = SIM_SIDE_BUY, nType = SIM_TYPE_LIMIT, nDuration = 0, nGoodTill = 0;
        int64_t nQty = 0, nFilled = 0, nLimit = 0, nStop = 0;
        bool bTriggered = false;
        int nStatus = SIM_STATUS_OPEN;
        double dFilledValue = 0, dReservedCash = 0, dCommission = 0;
        int64_t nReservedShares = 0;
        int64_t nPlacedMillis = 0, nUpdatedMillis = 0;
        CSimOptionSeries option;    // an option order: pInst is its underlying
        int nBooked = 0;            // the market it names, when not its symbol's own
    };
    struct Charges { double dCommission, dFees; };

    int Validate(const CSimOrderRequest& req, CSimAccount** ppAccount, CSimInstrument** ppInst, int64_t nQtyFreed,
                 double dCashFreed, std::string* pstrInsert);
    // The options board's side of an order: its market, the shares a unit of its quantity counts,
    // the symbol it is booked under, and the series' premium now (price units of the board; false
    // when the chain has no such series).
    const CSimMarketInfo& MarketOf(const Order& order) const;
    // The market code its status, review and fills name: the one the order named, else MarketOf's.
    int64_t BookedMarketOf(const Order& order) const { return order.nBooked != 0 ? order.nBooked : MarketOf(order).nCode; }
    static int64_t SharesOf(const Order& order) { return order.option.IsOption() ? 100 : 1; }
    std::string SymbolOf(const Order& order) const;
    bool OptionQuote(const CSimOptionSeries& option, int64_t* pLast, int64_t* pBid, int64_t* pAsk) const;
    // The price a resting order would trade at now; 0 when nothing reaches it.
    int64_t ReachedPrice(const Order& order, int64_t nLast) const;
    CSimRecord Review(const CSimOrderRequest& req, const CSimAccount& account, const CSimInstrument& inst) const;
    int64_t EstimatePrice(const Order& order) const;
    Order ProbeOf(const CSimOrderRequest& req, CSimInstrument* pInst) const;
    Charges ChargesOf(const CSimMarketInfo& market, double dValue) const;
    double CashToReserve(const Order& order) const;
    void Reserve(Order& order, CSimAccount& account);
    void Unreserve(Order& order, CSimAccount& account, ISimEventSink& sink);
    void TradeNow(Order& order, ISimEventSink& sink);
    void Fill(Order& order, int64_t nPrice, int64_t nQty, ISimEventSink& sink);
    void BookFill(CSimAccount& account, const Order& order, int64_t nQty, int64_t nPrice, const Charges& charges,
                  ISimEventSink& sink);
    void Publish(const Order& order, ISimEventSink& sink);
    Order* FindOpen(const std::string& strUser, int64_t nOrderNo);
    void Close(const Order& order);
    bool IsReached(const Order& order, int64_t nLast) const;
    bool IsOpen(const Order& order) const { return order.nStatus == SIM_STATUS_OPEN || order.nStatus == SIM_STATUS_PARTLY || order.nStatus == SIM_STATUS_WAITING; }
    CSimRecord OrderRecord(const Order& order) const;
    static std::string ReferenceOf(int64_t nOrderNo);

    CSimMarket* m_pMarket = nullptr;        // not owned: the simulator's
    CSimAccounts* m_pAccounts = nullptr;
    CSimClock* m_pClock = nullptr;
    std::vector<Order> m_orders;            // every order of the run, by number - 1
    std::vector<std::pair<std::string, CSimRecord>> m_fills;   // (user, fill), oldest first
    std::vector<std::vector<size_t>> m_open;    // per instrument index: its open orders, ascending
    int64_t m_nTradeNo = 0;
};
