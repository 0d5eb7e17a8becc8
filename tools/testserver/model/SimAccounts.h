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
// | currency | |
//
// forward (GetForwardContracts)
// | name | value |
// |---|---|
// | contract_no, account, stock, series | |
// | side, quantity, price | 1 buy, 2 sell; price in fils |
// | open_date, maturity | server dates |
// | current, value, profit | the series' forward price now, its value and the profit, KWD |
// | status | 1 open |
// | actions | the mask of actions the server takes on it: 0, it takes none |
//
// forward review (CheckForward; PlaceForward adds contract_no and open_date)
// | name | value |
// |---|---|
// | stock, series, months, side, quantity | side 1 buy, 2 sell |
// | price | the price asked, else the series' ask for a buy, its bid for a sale; fils |
// | maturity | server date, the months after today |
// | value, commission, exchange_fee, clearing_fee, total, margin | KWD; total: value plus charges for a buy, minus for a sale |
//
// forward trade (SIM_FORWARD_TRADE, to every session)
// | name | value |
// |---|---|
// | stock, series, months, side, quantity, price, value | as the contract opened |
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
    struct Forward { int nNo, nStock, nSeries, nSide; int64_t nQty; double dPrice; int nOpenDate, nMaturity; };
    std::vector<Forward> forwards;
};

enum { SIM_ERR_CONVERT = 461, SIM_ERR_CONVERT_CASH = 428 };

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

    // Forward orders. Refusals: 652 (insert: the stock) when the stock has no series of those
    // months, 442 (insert: 1) for no quantity; the order also checks the trading password
    // (105). A placed order opens a contract at once: its contract and forward trade lines go
    // to the sink.
    int CheckForward(const CSimForwardRequest& req, CSimRecord* pReview, std::string* pstrInsert) const;
    int PlaceForward(const CSimForwardRequest& req, ISimEventSink& sink, CSimRecord* pContract, std::string* pstrInsert);

private:
    CSimRecord ContractRecord(const CSimAccount& account, const CSimAccount::Forward& fwd) const;
    CSimHolding& HoldingOf(CSimAccount& account, int nMarket, const std::string& strSymbol);
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
};
