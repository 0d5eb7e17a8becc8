#pragma once
// Every user's account: cash per currency, holdings, the transaction history, realized profit
// and loss, forward contracts and margin figures. An account opens from portfolios.txt at the
// user's first login and stays for the run, shared by all of the user's sessions. The order
// engine moves money and shares through ApplyFill and the reservations; reports read the rest.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "tools/testserver/model/SimClock.h"
#include "tools/testserver/model/SimEvent.h"
#include "tools/testserver/model/SimMarket.h"
#include "tools/testserver/model/SimTables.h"

// Records (amounts in the line's currency with three decimals, prices in the market's form):
//
// cash (SIM_CASH, GetCash)
// | name | value |
// |---|---|
// | account, user, currency | |
// | balance | cash held |
// | reserved | held back for open buy orders |
// | available | balance minus reserved |
// | balance_kwd | the balance in KWD |
//
// holding (SIM_HOLDING, GetHoldings; one row per stock, KSE and US)
// | name | value |
// |---|---|
// | account, market, symbol, name, currency | |
// | type | holding type, 0 regular |
// | quantity, reserved, available | shares held, held back for open sell orders, the rest |
// | avg_cost, cost | average cost per share (price form) and the total cost |
// | price, market_value | last price (previous close before a trade) and its value |
// | unrealized, unrealized_pct | market value minus cost, and in per cent of the cost |
// | realized | profit taken on sales of the stock so far |
// | open_date | first purchase of the shares held, server date |
// | market_value_kwd | the market value in KWD |
//
// transaction (SIM_TRANSACTION, GetTransactions)
// | name | value |
// |---|---|
// | txn_no, account | running number per account |
// | date, datetime | server forms |
// | type | 1 buy, 2 sell, 3 deposit, 5 currency conversion |
// | market, symbol, quantity, price | empty for cash lines |
// | amount, charges | signed change of the cash line, charges included; the charges |
// | credit, debit | the amount when it brings money in, or its size when it takes money out |
// | currency, balance | the cash line and its balance afterwards |
// | text | a description |
//
// realized (GetRealized): one sale
// | name | value |
// |---|---|
// | row, account | running number per account, from 1 |
// | date, datetime, buy_date, sell_date | server forms; buy_date: first purchase of the shares sold |
// | market, symbol, name, side | side 2 |
// | quantity, avg_cost, price | average cost per share and the sale's price, price form |
// | cost, proceeds, charges, profit | profit: proceeds - charges - cost |
// | net, profit_pct | proceeds less charges; profit in per cent of the cost |
// | currency | |
//
// forward (GetForwardContracts)
// | name | value |
// |---|---|
// | contract_no, account, stock, series | |
// | side, quantity, price | 1 buy, 2 sell; price in fils |
// | open_date, maturity | server dates |
// | current, value, profit | the series' forward price now, its value and the profit, KWD |
// | status | 1 open, 2 closed |
// | actions | what the terminal may do with it: an open contract 7 (1 a new order for it, 2 close, |
// |   | 4 roll), a closed one 0 |
//
// contract action (CheckContractAction and ActOnContract: "KL" previews, "KI" acts)
// | name | value |
// |---|---|
// | action, contract_no, stock, series, side | |
// | quantity | the quantity acted on: to close, the quantity asked (0: all), else the contract's |
// | left | the quantity the contract keeps |
// | price | the price it is closed at: the one asked, else the series' price now; rolled: the contract's |
// | value, profit | at that price, of the quantity acted on (profit paid in KWD when closed) |
// | maturity | the maturity after the action: a roll moves it on by the series' months |
// | open_date, status | the contract's opening date and status after the action |
//
// forward review (CheckForward; PlaceForward gives the forward order with the maturity, value and charges)
// | name | value |
// |---|---|
// | stock, series, months, side, quantity | side 1 buy, 2 sell |
// | price | the price asked, else the series' ask for a buy, its bid for a sale; fils |
// | maturity | server date, the months after today |
// | value, commission, exchange_fee, clearing_fee, total, margin | KWD; total: value plus charges for a buy, minus for a sale |
//
// forward order (SIM_FORWARD_ORDER, GetForwardOrders): an order of the forward board
// | name | value |
// |---|---|
// | order_no | from 900001 for the run, apart from the regular board's orders |
// | datetime, date | when placed |
// | stock, series, months, side, quantity, filled, price | price: the limit, fils |
// | duration | 0, a day order |
// | status | 1 open, 3 filled |
// | reference, contract_no | the server's text; the contract it opened once filled |
//
// forward trade (SIM_FORWARD_TRADE to every session, GetForwardTrades; SIM_FORWARD_FILL to the
// user, GetForwardFills)
// | name | value |
// |---|---|
// | trade_no | from 1 for the run |
// | datetime, date | |
// | stock, series, months, side, quantity, price, value | as the contract opened |
// | commission, exchange_fee, clearing_fee, total | the user's charges (fills only) |
// | order_no, reference, status | the order filled, status 1 done (fills only) |
//
// option position (GetOptionPositions: holdings of market 16 beside the others)
// | name | value |
// |---|---|
// | symbol | the letters the exercise form names it by: the underlying, the expiry's month letter |
// |   | (calls A to L for January to December, puts M to X) and the strike's letter (A for 5 or |
// |   | 105, B for 10 or 110, ... T for 100 or 200): "ALPNLI" is the December 45 call of ALPN |
// | name | the chain's name of the option ("ALPN 261218C45") |
// | underlying, right, strike, expiry | right 1 call, 2 put; expiry a server date |
// | quantity, available | contracts held |
// | price, market_value, cost, unrealized | the chain's price a share; a contract is 100 shares |
// | short_quantity, short_avg, short_proceeds | contracts written (sold to open), the premium |
// |   | received a share, and the proceeds as a share's premium times the contracts (shares: 0) |
// | account, market, currency, type | market 16, USD, type 0 |
//
// exercise (Exercise: "XO")
// | name | value |
// |---|---|
// | symbol, name, underlying, right, strike, expiry | the position's |
// | contracts, shares | contracts exercised and the underlying's shares they deliver (x 100) |
// | amount | the shares at the strike: paid for a call, received for a put |
// | cash_after | the dollars left after it (below 0: not enough) |
// | shares_after | the underlying's shares held after it |
//
// expiration instruction (Instruct: "XI")
// | name | value |
// |---|---|
// | symbol, name, underlying, right, strike, expiry | the position's |
// | contracts | contracts to exercise at expiration (until one is given: every one held) |
// | min_in_money | exercised only when in the money by at least this much a share (0.01) |
// | limit | a call is not exercised above this price of the underlying, a put not below it; 0 none |
// | held, multiplier | contracts held, shares per contract (100) |
//
// margin (SIM_MARGIN, GetMargin), in KWD
// | name | value |
// |---|---|
// | account, currency | |
// | cash, holdings_value, equity | equity: cash and holdings |
// | loan | cash below zero |
// | margin_rate, margin_required, excess | per cent of the holdings; what it asks; equity beyond it |
// | call, ratio | 1 for a margin call; equity per cent of the holdings |
//
// performance (GetPerformance), in the market's currency, KWD for every market
// | name | value |
// |---|---|
// | account, currency, from, to | the range, server dates |
// | opening_value, closing_value | before the range and now |
// | deposits, withdrawals | money in and out of the cash lines in the range |
// | realized, unrealized, charges | gains in the range, gains held, charges paid |
// | return_pct | realized and unrealized per cent of the opening value |
//
// conversion (ConvertCash)
// | name | value |
// |---|---|
// | account, from, to, amount | currencies and the amount in the first |
// | rate, converted | seven decimals; the amount in the second |
// | from_balance, to_balance, from_after, to_after | the two balances before and after |
// | done | 1 when executed, 0 for a quote |

struct CSimHolding
{
    int nMarket = 0;
    std::string strSymbol;
    int64_t nQty = 0, nReserved = 0;
    double dCost = 0;               // of the shares held, in the currency
    double dRealized = 0;
    double dAdded = 0;              // what the server adds to the position's value (kind A), in the currency
    int nOpenDate = 0;              // YYYYMMDD of the first purchase of the shares held
};

struct CSimAccount
{
    std::string strUser, strPassword;
    int nAccount = 0;
    struct Cash { double dBalance = 0, dReserved = 0; };
    std::map<std::string, Cash> cash;         // by currency
    std::vector<CSimHolding> holdings;
    std::vector<CSimRecord> transactions;     // oldest first
    std::vector<CSimRecord> realized;
    struct Forward { int nNo, nStock, nSeries, nSide; int64_t nQty; double dPrice; int nOpenDate, nMaturity; int nStatus = 1; };
    std::vector<Forward> forwards;
    struct ForwardOrder { int64_t nNo; int nStock, nSeries, nMonths, nSide; int64_t nQty, nFilled; double dPrice; int nStatus;
                          int64_t nPlacedMillis; int nContract; };
    std::vector<ForwardOrder> forwardOrders;
    std::vector<CSimRecord> forwardFills;
    struct OptionPosition { std::string strSymbol, strUnderlying; int nRight; double dStrike; int nExpiry; int64_t nContracts;
                            double dCost; double dToldPrice = -1;       // the premium its last line told
                            int64_t nWritten = 0; double dProceeds = 0; };  // contracts sold to open, and what they brought
    std::vector<OptionPosition> options;
    struct Instruction { int64_t nContracts; double dMinInMoney, dLimit; };
    std::map<std::string, Instruction> instructions;    // by option symbol
};

enum { SIM_ERR_CONVERT = 461, SIM_ERR_CONVERT_CASH = 428, SIM_ERR_NO_ACTION = 500 };
// Actions on a forward contract, as the contract form sends them.
enum { SIM_CONTRACT_CLOSE = 2, SIM_CONTRACT_ROLL = 4 };

// An action on a forward contract.
struct CSimContractAction
{
    std::string strUser, strPassword;
    int nContract = 0, nAction = 0;
    int64_t nQty = 0;               // to close: 0 the whole contract
    double dPrice = 0;              // to close at, fils; 0 the series' price now
};

// The option series an order is for: the options board's contract of 100 shares of the
// underlying. Right 0: no option, the order is for the symbol itself.
struct CSimOptionSeries
{
    std::string strUnderlying;
    int nRight = 0;                 // 1 call, 2 put
    double dStrike = 0;
    int nExpiry = 0;                // YYYYMMDD
    bool IsOption() const { return nRight == 1 || nRight == 2; }
};

// An exercise of option contracts, or an expiration instruction for them.
struct CSimOptionRequest
{
    std::string strUser, strSymbol;
    bool bExecute = false;          // exercise or record; else only the terms
    int64_t nContracts = 0;
    double dMinInMoney = 0, dLimit = 0;     // the instruction's
};

// An order on the KSE forward board, taken at once against the series' quote.
struct CSimForwardRequest
{
    std::string strUser, strPassword;
    int nStock = 0, nMonths = 0, nSide = 1;
    int64_t nQty = 0;
    double dPrice = 0;              // fils; 0 takes the series' quote
};

class CSimAccounts
{
public:
    bool Init(const CSimTables& tables, CSimMarket* pMarket, CSimClock* pClock);

    // The user's account, opened at the first call with the positions of portfolios.txt (the
    // "*" lines for a user it does not name) under nAccount (0: the next from 5001); the
    // password given first is the trading password.
    CSimAccount& Open(const std::string& strUser, const std::string& strPassword, int nAccount = 0);
    CSimAccount* Find(const std::string& strUser);
    const CSimAccount* Find(const std::string& strUser) const;
    bool CheckPassword(const CSimAccount& account, const std::string& strPassword) const
    {
        return account.strPassword == strPassword;
    }

    // Money and shares for the order engine.
    double AvailableCash(const CSimAccount& account, const std::string& strCurrency) const;
    int64_t AvailableShares(const CSimAccount& account, int nMarket, const std::string& strSymbol) const;
    // Reservations hold money and shares back for open orders (negative amounts give them
    // back); they tell nobody, so that one change of an order goes out as one line each.
    void ReserveCash(CSimAccount& account, const std::string& strCurrency, double dAmount);
    void ReserveShares(CSimAccount& account, int nMarket, const std::string& strSymbol, int64_t nQty);
    void PublishCash(const CSimAccount& account, const std::string& strCurrency, ISimEventSink& sink) const;
    void PublishHolding(CSimAccount& account, int nMarket, const std::string& strSymbol, ISimEventSink& sink);
    // A trade moved a US stock's price: every holder's position line goes out again with its
    // value and gain at that price, so that the server's figures follow the quotes.
    void PublishHolders(const CSimInstrument& inst, ISimEventSink& sink);
    // A trade of the account: cash, holding, realized profit and a transaction; the holding,
    // cash, transaction and margin lines go to the sink.
    void ApplyFill(CSimAccount& account, const CSimInstrument& inst, int nSide, int64_t nQty, int64_t nPrice, double dCharges,
                   ISimEventSink& sink);

    // Reports; nFrom and nTo are YYYYMMDD, both included; nMarket 0 takes every market.
    std::vector<CSimRecord> GetCash(const CSimAccount& account) const;
    std::vector<CSimRecord> GetHoldings(const CSimAccount& account, int nMarket) const;
    std::vector<CSimRecord> GetTransactions(const CSimAccount& account, int nMarket, int nFrom, int nTo) const;
    std::vector<CSimRecord> GetRealized(const CSimAccount& account, int nMarket, int nFrom, int nTo) const;
    std::vector<CSimRecord> GetForwardContracts(const CSimAccount& account) const;
    CSimRecord GetMargin(const CSimAccount& account) const;
    // Value at the end of the range against the start, from the history: nMarket 0 counts
    // every market in KWD.
    CSimRecord GetPerformance(const CSimAccount& account, int nMarket, int nFrom, int nTo) const;
    // Quotes, and with bExecute makes, a conversion of cash at the rates of rates.txt (through
    // the KWD when the pair is not listed). Refusals: SIM_ERR_CONVERT for an unknown currency or
    // an amount not above 0, SIM_ERR_CONVERT_CASH (insert: the balance) for too little cash.
    int ConvertCash(CSimAccount& account, const std::string& strFrom, const std::string& strTo, double dAmount, bool bExecute,
                    ISimEventSink& sink, CSimRecord* pQuote, std::string* pstrInsert);
    double ToKwd(const std::string& strCurrency, double dAmount) const;
    // Every account's positions and cash, then the exchange rates, one "|"-separated line each:
    // "holding|user|market|symbol|quantity|cost|price|currency|right|strike" (an option's right
    // and strike, empty for shares), "cash|user|currency|balance",
    // "rate|from|to|rate" (as the rate lines give them) and "kwd|currency|dinars a unit".
    std::string StateText() const;

    // Forward orders. Refusals: 652 (insert: the stock) when the stock has no series of those
    // months, 442 (insert: 1) for no quantity; the order also checks the trading password
    // (105). A placed order opens a contract at once: its contract and forward trade lines go
    // to the sink.
    int CheckForward(const CSimForwardRequest& req, CSimRecord* pReview, std::string* pstrInsert) const;
    // A forward order trades at once when its price reaches the series' quote (a buy at the ask
    // or above, a sale at the bid or below, or no price), opening its contract; otherwise it
    // rests until the series' quote reaches it (OnForwardQuotes). pOrder gets the order as it
    // stands, with the review's charges and, once filled, its contract's fields.
    int PlaceForward(const CSimForwardRequest& req, ISimEventSink& sink, CSimRecord* pOrder, std::string* pstrInsert);
    // After the forward series moved: fills the resting orders their quote reached.
    void OnForwardQuotes(ISimEventSink& sink);
    bool HasRestingForwards() const { return m_nResting > 0; }
    std::vector<CSimRecord> GetForwardOrders(const CSimAccount& account) const;
    std::vector<CSimRecord> GetForwardFills(const CSimAccount& account) const { return account.forwardFills; }
    const std::vector<CSimRecord>& GetForwardTrades() const { return m_forwardTrades; }

    // Contract actions. Refusals: 724 (insert: the contract) for a contract not open, 500 for an
    // action the contract does not offer, 442 (insert: the contract's quantity) for more than
    // it holds, and for the action itself 105.
    int CheckContractAction(const CSimContractAction& req, CSimRecord* pReview, std::string* pstrInsert) const;
    int ActOnContract(const CSimContractAction& req, ISimEventSink& sink, CSimRecord* pResult, std::string* pstrInsert);

    // Option positions, exercise and expiration instructions. Refusals: 652 (insert: the
    // symbol) for no such position, 442 (insert: the contracts held) for none or more than are
    // held; an exercise made also 428 (insert: the cash) for a call the dollars do not pay and
    // 432 (insert: the shares) for a put without the shares. An exercise made trades the
    // underlying at the strike through fnTrade (the order engine books it as a trade).
    std::vector<CSimRecord> GetOptionPositions(const CSimAccount& account) const;
    using TradeFn = void (*)(void* pContext, CSimAccount& account, const CSimInstrument& inst, int nSide, int64_t nQty,
                             int64_t nPrice, ISimEventSink& sink);
    int Exercise(const CSimOptionRequest& req, ISimEventSink& sink, TradeFn fnTrade, void* pContext, CSimRecord* pTerms,
                 std::string* pstrInsert);
    int Instruct(const CSimOptionRequest& req, CSimRecord* pInstruction, std::string* pstrInsert);
    // The letters a series is held and booked under ("ALPNLI").
    static std::string OptionSymbol(const CSimOptionSeries& series);
    int64_t HeldContracts(const CSimAccount& account, const std::string& strSymbol) const;
    // A trade of option contracts (dValue: the premium of their shares; a buy books it with the
    // charges as cost): the position and the cash, their lines to the sink.
    void ApplyOptionFill(CSimAccount& account, const CSimOptionSeries& series, int nSide, int64_t nContracts, double dValue,
                         double dCharges, ISimEventSink& sink);
    // After a trade of the underlying: the position lines of the options on it whose premium moved,
    // so that every window values a position at the premium of the moment.
    void PublishOptionPrices(const std::string& strUnderlying, ISimEventSink& sink);

private:
    CSimRecord ContractRecord(const CSimAccount& account, const CSimAccount::Forward& fwd) const;
    CSimRecord ForwardOrderRecord(const CSimAccount::ForwardOrder& order) const;
    void FillForward(CSimAccount& account, CSimAccount::ForwardOrder& order, ISimEventSink& sink);
    const CSimAccount::OptionPosition* FindOption(const CSimAccount& account, const std::string& strSymbol) const;
    CSimRecord OptionRecord(const CSimAccount& account, const CSimAccount::OptionPosition& pos) const;
    bool AddOptionPosition(CSimAccount& account, const std::string& strSymbol, int64_t nContracts, double dPremium, bool bWritten);
    CSimHolding& HoldingOf(CSimAccount& account, int nMarket, const std::string& strSymbol);
    double Sell(CSimAccount& account, const CSimInstrument& inst, CSimHolding& holding, int64_t nQty, int64_t nPrice,
                double dCharges, int nDate, int64_t nMillis);
    CSimRecord CashRecord(const CSimAccount& account, const std::string& strCurrency) const;
    CSimRecord HoldingRecord(const CSimAccount& account, const CSimHolding& holding) const;
    void PublishChange(const CSimAccount& account, size_t nNewTransactions, ISimEventSink& sink) const;
    void AddTransaction(CSimAccount& account, int nDate, int64_t nMillis, int nType, const CSimInstrument* pInst, int64_t nQty,
                        int64_t nPrice, double dAmount, double dCharges, const std::string& strCurrency, const std::string& strText);

    CSimMarket* m_pMarket = nullptr;        // not owned: the simulator's
    CSimClock* m_pClock = nullptr;
    const CSimTable* m_pPortfolios = nullptr;
    std::map<std::string, double> m_kwdPerUnit;
    std::map<std::pair<std::string, std::string>, double> m_rates;
    std::vector<std::unique_ptr<CSimAccount>> m_accounts;   // pointers stay valid as users come
    std::vector<CSimRecord> m_forwardTrades;                // the forward board's trades of the run
    int64_t m_nForwardOrderNo = 900000, m_nForwardTradeNo = 0;
    int m_nResting = 0;                                     // forward orders open
};
