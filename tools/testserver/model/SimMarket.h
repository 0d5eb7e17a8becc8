#pragma once
// The markets and their walk: every stock and symbol of the data files with its quotation, a
// book of five price levels a side and its recent trades, and the KSE indices. One Step picks a
// symbol with the seeded generator and lets one trade hit its book; prices move in tick steps
// inside the day's limits and the book follows. Owned by the simulator; the order engine reads
// the books and trades against them through TakeLiquidity.
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>
#include "tools/testserver/model/SimClock.h"
#include "tools/testserver/model/SimEvent.h"
#include "tools/testserver/model/SimRandom.h"
#include "tools/testserver/model/SimTables.h"

// Records. Prices are in the market's decimals (KSE prices in fils), amounts in its currency.
// "Read at" is where the terminal's readers take the value (message: field), for the server's
// shape file; a blank means no reader of a modelled message reads it.
//
// quote (SIM_QUOTE, GetQuote)
// | name | value | read at |
// |---|---|---|
// | symbol | the KSE stock id or the US ticker | SQ/QQ 0 |
// | market | market code | |
// | name, name_ar | company names | GS 22, 26 |
// | last | price of the last trade, 0 before it | SQ/QQ 1, GS 3 |
// | datetime | of the last trade | SQ/QQ 2 |
// | bid, ask | best prices of the book | SQ/QQ 3, 4; GS 4, 5 |
// | open, high, low | first, highest, lowest trade today, 0 before it | SQ/QQ 5, 6, 7; GS 10, 11, 12 |
// | volume, trades, value | shares, trades and value today | SQ/QQ 8, 9, 10; GS 9 (trades) |
// | last_qty | quantity of the last trade | SQ/QQ 11 |
// | prev_close, prev_date | previous close and its date | SQ/QQ 12, 13; GS 15, 16 |
// | ref_price | last when traded, else the previous close | SQ/QQ 14 |
// | limit_up, limit_down | the day's limits, 0 for none | SQ/QQ 15, 16; GS 33, 32 |
// | bid_qty, ask_qty | quantities of the best levels | SQ/QQ 22, 23 |
// | change, change_pct | last minus the previous close, and per cent of it | SQ/QQ 24 |
// | stock_status | the stock's status: 0 traded (1 suspended, 2 halted, 3 delisted never come) | SQ/QQ 25 |
// | state, session | the trading state 1; the session, 0 open (the walk trades all day) | SQ/QQ 26, 27 |
// | time, date | of the last trade | SQ/QQ 29; GS 6 |
// | ticker | 1 when the change goes to the scrolling ticker | SQ/QQ 30 |
// | bid_lots, ask_lots | bid_qty and ask_qty in lots of 100 | GS 7, 8 |
// | eps, pe | earnings per share, price-earnings ratio | GS 17 |
//
// level (SIM_BOOK, GetBook): one price of a book with both sides; both 0: the price went
// | name | value | read at |
// |---|---|---|
// | symbol, price | the level | OB/OU 0, 1 |
// | bid_orders, bid_qty | the buy side | OB/OU 2, 3 |
// | ask_orders, ask_qty | the sell side | OB/OU 4, 5 |
// | market | market code | |
// | position | 1 for the best price of its side, up to 5; 0 for a gone level | |
// | bid_maker, ask_maker | market maker of the side (101 to 112), empty for an empty side | L3 |
// | bid_entry, ask_entry | the maker's entry text ("MM104"), empty for an empty side | L3 |
//
// trade (SIM_TRADE, GetTrades)
// | name | value | read at |
// |---|---|---|
// | board | 1, the regular board | TE/TM 0 |
// | trade_no | running number on the market, from 1 | TE/TM 1 |
// | datetime | server form | TE/TM 2 |
// | symbol | | TE/TM 3 |
// | price, quantity | | TE/TM 4, 5 |
// | market, value, time, date | | |
// | side | 1 a buyer took the offer, 2 a seller hit the bid | |
//
// index (SIM_INDEX, GetIndices)
// | name | value | read at |
// |---|---|---|
// | code, name, name_ar | | LX 0, 1, 2; IX 0 |
// | value | now | LX 3, IX 1 |
// | open, high, low | today's | LX 4, 5, 6; IX 2, 3, 4 |
// | prev_close | the reference of the change | LX 7, IX 5 |
// | volume, amount, trades | of its stocks today | LX 8, 9, 10; IX 6, 7, 8 |
// | change, change_pct, datetime, time | | IX 17 (datetime) |
// | market | 2, or the US market of a US index (us_indices.txt) | |
//
// odd lot (SIM_ODDLOT, GetOddLots): one entry of the KSE odd-lot board; orders 0: it went
// | name | value | read at |
// |---|---|---|
// | symbol, quantity, price, side, orders | side 1 buy, 2 sell | OD/OO 0, 1, 2, 3, 4 |
// | market | | |
//
// ticker (SIM_TICKER)
// | name | value |
// |---|---|
// | market, symbol | |
// | text | the KSE company name or the US ticker |
// | last, change, change_pct | as in the quote |
//
// minute (SIM_MINUTE): | date, time, datetime | the clock at the new minute |
//
// news (SIM_NEWS, GetNews)
// | name | value |
// |---|---|
// | id, lang, market, symbol, headline, story | the row of news.txt (lang 0 English, 1 Arabic) |
// | minute | minutes after the start when it comes out |
// | datetime, date, time | when it came out |
//
// announcement (SIM_ANNOUNCEMENT, GetAnnouncements): the KSE stories of one stock that come out
// together, as one announcement in both languages
// | name | value |
// |---|---|
// | id, market, symbol, minute | those of its first story |
// | datetime, date, time | when it came out, a second more for each announcement before it in the same release |
// | lang | 0 English only, 1 Arabic only, 2 both |
// | headline, story | the English story's, "" when there is none |
// | headline_ar, story_ar | the Arabic story's, "" when there is none |
//
// mover (GetMovers)
// | name | value |
// |---|---|
// | kind, rank | 0 gainers, 1 losers, 2 most active; place from 1 |
// | market, symbol, name, last, change, change_pct, volume, prev_close | as in the quote |
//
// forward (SIM_FORWARD after each trade of its stock, GetForwards)
// | name | value |
// |---|---|
// | stock, series, months, premium | the row of forwards.txt |
// | underlying | the stock's last (or previous close) |
// | price, bid, ask | the forward price from the stock's last, and a spread around it |
// | volume, trades | 0: the forward board does not trade |
// | mN_bid, mN_ask, mN_price | bid, ask and price again, N the series' months |
//
// day (GetDailyHistory)
// | name | value |
// |---|---|
// | market, symbol, date | |
// | open, high, low, close, prev_close, change, change_pct | |
// | volume, trades, value | |
// | segment | 1 |
// | state | the stock's status that day: 0 traded | DQ 11 |
//
// index day (GetIndexHistory)
// | name | value |
// |---|---|
// | code, date | |
// | open, high, low, value, prev_close, change, change_pct | value is the close |
// | volume, amount, trades | |
//
// chart point (GetChart)
// | name | value | read at |
// |---|---|---|
// | at | intraday the minute (server time), else the period's first trading day (server date) | CD/KH row 0 |
// | close, volume | price and the period's volume | CD/KH row 1, 2 |
// | high, low, open | historical only | CD/KH row 3, 4, 5 |
// | average, deviation | of the closes over the asked length, 0 without one | CD/KH row 6, 7 |
// | ref | the previous close | CD header 5, KH header 6 |
//
// option (GetOptionChain)
// | name | value |
// |---|---|
// | underlying, market, symbol | market of the options board; symbol "ALPN 261218C45" |
// | right, strike, expiry | 1 call, 2 put; expiry a server date |
// | last, bid, ask, open_interest | priced from the underlying |
//
// match (LookupSymbols): | market, symbol, name, name_ar | |
// state (GetMarketState): | market, state, time, text, text_ar | the schedule.txt row in force |
// Reference files (markets, stocks, rates, interest, schedule, holidays, countries, events,
// errors) are served as their rows, CSimTables::Get, under the names of each file's header.

enum
{
    SIM_MARKET_US = 1,              // the US markets as one: a chart of any of their symbols
    SIM_MARKET_KSE = 2,             // numeric stock ids, tick bands, limits and indices
    SIM_MARKET_OPTIONS = 16,        // where the option chains are listed
};

struct CSimMarketInfo
{
    int nCode = 0;
    std::string strName, strCurrency;
    int nScale = 1;                 // price units per 1.0 of the price as written
    int nDecimals = 0;              // digits after the '.' in prices
    int64_t nTick = 0;              // price units per step; 0: the KSE bands
    int64_t nUnit = 1;              // written prices per one unit of the currency (fils: 1000)
    double dCommission = 0, dMinCommission = 0, dExchangeFee = 0, dClearingFee = 0;
    int nLimitPct = 0;              // a day's move either way, per cent; 0: none
    int nOpens = 0, nCloses = 0;    // the session, HHMMSS Kuwait time
};

struct CSimLevel
{
    int nBidOrders = 0;
    int64_t nBidQty = 0;
    int nAskOrders = 0;
    int64_t nAskQty = 0;
};

// An odd-lot order of the KSE: fewer shares than a round lot, at its own price.
struct CSimOddLot
{
    int64_t nQty = 0, nPrice = 0;
    int nSide = 1;                  // 1 buy, 2 sell
    int nOrders = 1;
};

struct CSimInstrument
{
    int nIndex = 0;
    const CSimMarketInfo* pMarket = nullptr;
    std::string strSymbol, strName, strNameAr;
    int nSector = 0;
    double dShares = 0;             // index weight
    double dEps = 0;
    bool bTicker = false;
    int64_t nPrevClose = 0, nLast = 0, nOpen = 0, nHigh = 0, nLow = 0;
    int64_t nLimitUp = 0, nLimitDown = 0;     // 0: none
    int64_t nBestBid = 0, nBestAsk = 0;
    int64_t nVolume = 0, nLastQty = 0;
    double dValue = 0;
    int nTrades = 0;
    int64_t nLastMillis = 0;
    std::map<int64_t, CSimLevel> levels;      // by price, both sides
    std::vector<CSimOddLot> oddLots;          // KSE stocks only
    CSimRecord quote;
    CSimRecordSlots quoteSlots;               // the quote's fields a trade rewrites
    struct Trade { int64_t nNo, nMillis, nPrice, nQty; int nSide; };
    std::deque<Trade> recent;                 // the last kRecentTrades, oldest first
};

class CSimMarket
{
public:
    static constexpr int kLevels = 5;
    static constexpr int kOddLotsASide = 2;
    static constexpr size_t kRecentTrades = 200;

    // Builds every market, symbol, book and index from the tables; false with a message when a
    // row does not make sense (a symbol on an unknown market, a price off its ticks).
    bool Init(const CSimTables& tables, CSimClock* pClock, uint64_t nSeed, std::string* pstrError);
    // One step of the walk: the clock moves nStepMillis, and the trade of one symbol with its
    // quote, book, index and ticker events goes to the sink.
    // Returns the symbol that traded, for the orders resting on it.
    CSimInstrument* Step(ISimEventSink& sink);
    void SetStepMillis(int64_t nMillis) { m_nStepMillis = nMillis >= 0 ? nMillis : 0; }

    // Lookups; null when unknown.
    const CSimMarketInfo* FindMarket(int nCode) const;
    CSimInstrument* Find(int nMarket, const std::string& strSymbol);
    const CSimInstrument* Find(int nMarket, const std::string& strSymbol) const;
    const std::vector<CSimInstrument>& GetInstruments() const { return m_instruments; }

    // Prices: units to the written form and back, ticks and limits.
    static int64_t ToUnits(const CSimMarketInfo& market, double dPrice);
    static std::string PriceText(const CSimMarketInfo& market, int64_t nUnits);
    int64_t TickAt(const CSimInstrument& inst, int64_t nPrice) const;   // the step up from nPrice
    int64_t StepUp(const CSimInstrument& inst, int64_t nPrice) const;
    int64_t StepDown(const CSimInstrument& inst, int64_t nPrice) const;
    bool IsOnTick(const CSimInstrument& inst, int64_t nPrice) const;
    bool IsInsideLimits(const CSimInstrument& inst, int64_t nPrice) const;
    // Value in the currency of nQty at nPrice.
    static double Value(const CSimMarketInfo& market, int64_t nPrice, int64_t nQty);
    // The walk's round lot: levels and trades come in multiples of it.
    static int64_t LotOf(const CSimInstrument& inst) { return inst.pMarket->nCode == SIM_MARKET_KSE ? 500 : 100; }

    // Trades nQty of the user's order against the opposite side (nSide 1 buys from the asks),
    // best level first, no further than nLimit (0: any of the five levels). Each traded level
    // becomes a trade on the tape. Returns the fills as (price, quantity).
    std::vector<std::pair<int64_t, int64_t>> TakeLiquidity(CSimInstrument& inst, int nSide, int64_t nLimit, int64_t nQty,
                                                           ISimEventSink& sink);

    // Records for replies.
    const CSimRecord& GetQuote(const CSimInstrument& inst) const { return inst.quote; }
    std::vector<CSimRecord> GetBook(const CSimInstrument& inst) const;     // highest price first
    std::vector<CSimRecord> GetOddLots(const CSimInstrument& inst) const;
    std::vector<CSimRecord> GetTrades(const CSimInstrument& inst) const;   // oldest first
    std::vector<CSimRecord> GetIndices() const;
    std::vector<CSimRecord> GetMovers(int nMarket, int nKind, int nCount) const;
    std::vector<CSimRecord> GetForwards() const;
    std::vector<CSimRecord> GetOptionChain(const std::string& strUnderlying) const;
    // Stories released so far: nLanguage -1 takes every language, an empty symbol every story.
    std::vector<CSimRecord> GetNews(int nLanguage, const std::string& strSymbol = std::string()) const;
    // KSE announcements released so far, in release order.
    const std::vector<CSimRecord>& GetAnnouncements() const { return m_announcements; }
    // A chart series ("CD", "KH"), oldest first: the day's minutes so far (duration 0), or the
    // days, weeks or months (period codes 3, 4, 5) of the last 3, 6, 12, 24 or 60 months
    // (durations 1 to 5) up to the last trading day, with the average and deviation of nAverage
    // periods. The symbol of the market (any market for 0) or a US index; false for neither.
    bool GetChart(int nMarket, const std::string& strSymbol, int nDuration, int nPeriodCode, int nAverage,
                  std::vector<CSimRecord>& rows) const;
    // Not a weekend day of the market (Friday and Saturday on the KSE, Saturday and Sunday on the
    // US boards) nor a holiday of its calendar (holidays.txt).
    bool IsTradingDay(int nMarket, int nDate) const;
    // Symbols whose ticker starts with the text or whose name holds it, any case; file order.
    std::vector<CSimRecord> LookupSymbols(const std::string& strText, int nMax) const;
    // Past trading days, newest first, up to the previous trading date: the days after nAfter
    // (YYYYMMDD, 0: from the first), at most nDays. The same days for the same seed and symbol
    // whatever the walk has done, so a terminal's cache stays valid between runs.
    std::vector<CSimRecord> GetDailyHistory(const CSimInstrument& inst, int nAfter, int nDays) const;
    std::vector<CSimRecord> GetIndexHistory(int nCode, int nAfter, int nDays) const;
    CSimRecord GetMarketState(int nMarket) const;

private:
    struct Index
    {
        CSimRecord rec;
        double dBase = 0, dPrevSum = 0, dSum = 0;
        double dOpen = 0, dHigh = 0, dLow = 0;
        int nSector = 0;                 // 0: every stock
        int nMarket = SIM_MARKET_KSE;    // a US index: the market its lines name
        int nBoard = 0;                  // a US index: the board it follows, 0 every US board
        int64_t nVolume = 0, nTrades = 0;
        double dAmount = 0;
        int64_t nLastMillis = -1;
    };
    struct Forward
    {
        size_t nInstrument;         // the KSE stock
        int nSeries, nMonths;
        double dPremium;
        CSimRecord rec;             // as last sent
        int64_t nOpenQty = 0, nOpenContracts = 0, nSettled = 0;    // the open interest
        double dMarginPct = 0;
    };
    struct Option { std::string strUnderlying; int nRight; double dStrike; int nExpiry; };

    void BuildBook(CSimInstrument& inst);
    void RestoreBook(CSimInstrument& inst, ISimEventSink& sink);
    void RandomLevel(CSimInstrument& inst, CSimLevel& level, bool bBid);
    CSimOddLot RandomOddLot(CSimInstrument& inst, int nSide);
    void RenewOddLot(CSimInstrument& inst, ISimEventSink& sink);
    void FillOddLotRecord(CSimRecord& rec, const CSimInstrument& inst, const CSimOddLot& lot) const;
    void RecordTrade(CSimInstrument& inst, int64_t nPrice, int64_t nQty, int nSide, ISimEventSink& sink);
    void UpdateQuote(CSimInstrument& inst, bool bTicker);
    void PublishQuote(CSimInstrument& inst, ISimEventSink& sink);     // with the ticker line
    void UpdateIndices(CSimInstrument& inst, int64_t nOldLast, int64_t nQty, double dValue, ISimEventSink& sink);
    static bool IndexFollows(const Index& index, const CSimInstrument& inst);
    void EmitLevel(const CSimInstrument& inst, int64_t nPrice, const CSimLevel& level, ISimEventSink& sink);
    void EmitDueNews(ISimEventSink& sink);
    // The story joins the announcement of its minute and stock among those from nFirstNew on, or
    // starts one.
    void JoinAnnouncement(const CSimRecord& story, size_t nFirstNew);
    void FillForwardRecord(CSimRecord& rec, const Forward& fwd) const;
    int LevelPosition(const CSimInstrument& inst, int64_t nPrice, const CSimLevel& level) const;
    void FillLevelRecord(CSimRecord& rec, const CSimInstrument& inst, int64_t nPrice, const CSimLevel& level) const;
    void FillTradeRecord(CSimRecord& rec, const CSimInstrument& inst, const CSimInstrument::Trade& trade) const;

    CSimClock* m_pClock = nullptr;          // not owned: the simulator's
    uint64_t m_nSeed = 0;
    CSimRandom m_random;
    int64_t m_nStepMillis = 20;
    int64_t m_nStartMinute = 0, m_nLastMinute = -1;
    std::vector<CSimMarketInfo> m_markets;
    std::vector<std::pair<int64_t, int64_t>> m_bands;   // KSE: (low, tick) in units, ascending
    std::vector<CSimInstrument> m_instruments;
    std::vector<Index> m_indices;
    std::vector<Forward> m_forwards;
    std::vector<std::vector<size_t>> m_forwardsOf;      // per instrument: its forward series
    std::vector<Option> m_options;
    std::vector<CSimRecord> m_schedule;
    std::vector<CSimRecord> m_news;                     // in release order
    size_t m_nNewsReleased = 0;
    // Room for one per story is kept from the start, so that a record an event points at never moves.
    std::vector<CSimRecord> m_announcements;
    std::vector<int> m_newsMinute;
    int64_t m_nTradeNo = 0;
    int m_nPrevDate = 0;
    std::vector<std::pair<int, int>> m_holidays;        // (date, market)
    // Records the walk reuses from step to step; events point at them until taken.
    CSimRecord m_tradeRec, m_tickerRec, m_minuteRec;
    CSimRecordSlots m_tradeSlots;
    std::deque<CSimRecord> m_levelRecs;               // a deque: the first stay put as it grows
    std::deque<CSimRecordSlots> m_levelSlots;
    CSimRecord m_oddLotGone, m_oddLotNew;
    size_t m_nLevelRecsUsed = 0;
    // The clock's texts, made once a simulated second.
    int64_t m_nTextSecond = -1;
    std::string m_strNowDateTime, m_strNowTime, m_strNowDate;
    void UpdateClockTexts();
};
