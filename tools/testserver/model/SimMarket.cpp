#include "tools/testserver/model/SimMarket.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

// Fields of the quote a trade rewrites, in slot order; the others are set once.
enum { Q_LAST, Q_LAST_QTY, Q_BID, Q_BID_QTY, Q_ASK, Q_ASK_QTY, Q_OPEN, Q_HIGH, Q_LOW, Q_REF_PRICE, Q_CHANGE, Q_CHANGE_PCT,
       Q_VOLUME, Q_TRADES, Q_VALUE, Q_DATETIME, Q_TIME, Q_DATE, Q_TICKER, Q_PE, Q_BID_LOTS, Q_ASK_LOTS, Q_COUNT };
static const char* const s_quoteSlots[Q_COUNT] = {
    "last", "last_qty", "bid", "bid_qty", "ask", "ask_qty", "open", "high", "low", "ref_price", "change", "change_pct",
    "volume", "trades", "value", "datetime", "time", "date", "ticker", "pe", "bid_lots", "ask_lots"};

// Fields of a trade.
enum { T_MARKET, T_SYMBOL, T_BOARD, T_TRADE_NO, T_PRICE, T_QUANTITY, T_VALUE, T_SIDE, T_DATETIME, T_TIME, T_DATE, T_COUNT };
static const char* const s_tradeSlots[T_COUNT] = {
    "market", "symbol", "board", "trade_no", "price", "quantity", "value", "side", "datetime", "time", "date"};
static double ToDouble(const CSimRecord& rec, const char* pszName)
{
    return GetDouble(rec, pszName);
}

static int ToInt(const CSimRecord& rec, const char* pszName)
{
    return atoi(GetField(rec, pszName).c_str());
}

int64_t CSimMarket::ToUnits(const CSimMarketInfo& market, double dPrice)
{
    return static_cast<int64_t>(std::llround(dPrice * market.nScale));
}

std::string CSimMarket::PriceText(const CSimMarketInfo& market, int64_t nUnits)
{
    return FormatUnits(nUnits, market.nDecimals);
}

double CSimMarket::Value(const CSimMarketInfo& market, int64_t nPrice, int64_t nQty)
{
    return static_cast<double>(nPrice) * static_cast<double>(nQty) / market.nScale / static_cast<double>(market.nUnit);
}

const CSimMarketInfo* CSimMarket::FindMarket(int nCode) const
{
    for (const CSimMarketInfo& market : m_markets)
        if (market.nCode == nCode)
            return &market;
    return nullptr;
}

CSimInstrument* CSimMarket::Find(int nMarket, const std::string& strSymbol)
{
    for (CSimInstrument& inst : m_instruments)
        if (inst.pMarket->nCode == nMarket && inst.strSymbol == strSymbol)
            return &inst;
    return nullptr;
}

const CSimInstrument* CSimMarket::Find(int nMarket, const std::string& strSymbol) const
{
    return const_cast<CSimMarket*>(this)->Find(nMarket, strSymbol);
}

int64_t CSimMarket::TickAt(const CSimInstrument& inst, int64_t nPrice) const
{
    if (inst.pMarket->nTick > 0 || m_bands.empty())
        return inst.pMarket->nTick > 0 ? inst.pMarket->nTick : 1;
    int64_t nTick = m_bands.front().second;
    for (const auto& band : m_bands)
        if (nPrice >= band.first)
            nTick = band.second;
    return nTick;
}

int64_t CSimMarket::StepUp(const CSimInstrument& inst, int64_t nPrice) const
{
    return nPrice + TickAt(inst, nPrice);
}

int64_t CSimMarket::StepDown(const CSimInstrument& inst, int64_t nPrice) const
{
    // The step below a band's low is the lower band's tick.
    return nPrice - TickAt(inst, nPrice - 1);
}

bool CSimMarket::IsOnTick(const CSimInstrument& inst, int64_t nPrice) const
{
    return nPrice > 0 && nPrice % TickAt(inst, nPrice) == 0;
}

bool CSimMarket::IsInsideLimits(const CSimInstrument& inst, int64_t nPrice) const
{
    if (nPrice <= 0)
        return false;
    if (inst.nLimitUp > 0 && nPrice > inst.nLimitUp)
        return false;
    return inst.nLimitDown <= 0 || nPrice >= inst.nLimitDown;
}

bool CSimMarket::Init(const CSimTables& tables, CSimClock* pClock, uint64_t nSeed, std::string* pstrError)
{
    m_pClock = pClock;
    m_nSeed = nSeed;
    m_random = CSimRandom(nSeed);
    m_markets.clear();
    m_instruments.clear();
    m_indices.clear();
    m_bands.clear();
    m_nTradeNo = 0;
    m_nPrevDate = CSimClock::PreviousTradingDate(pClock->GetDate());
    for (const CSimRecord& row : tables.Get("markets").rows) {
        CSimMarketInfo market;
        market.nCode = ToInt(row, "code");
        market.strName = GetField(row, "name");
        market.strCurrency = GetField(row, "currency");
        market.nScale = ToInt(row, "scale");
        market.nDecimals = ToInt(row, "decimals");
        market.nTick = atoll(GetField(row, "tick").c_str());
        market.nUnit = atoll(GetField(row, "unit").c_str());
        market.dCommission = ToDouble(row, "commission");
        market.dMinCommission = ToDouble(row, "min_commission");
        market.dExchangeFee = ToDouble(row, "exchange_fee");
        market.dClearingFee = ToDouble(row, "clearing_fee");
        market.nLimitPct = ToInt(row, "limit_pct");
        market.nOpens = ToInt(row, "opens");
        market.nCloses = ToInt(row, "closes");
        int nPower = 1;
        for (int i = 0; i < market.nDecimals; ++i)
            nPower *= 10;
        if (market.nScale != nPower || market.nUnit <= 0 || market.nTick < 0) {
            *pstrError = "markets: market " + GetField(row, "code") + " needs scale 10^decimals, a unit and a tick";
            return false;
        }
        m_markets.push_back(market);
    }
    const CSimMarketInfo* pKse = FindMarket(SIM_MARKET_KSE);
    if (!pKse) {
        *pstrError = "markets: no KSE (code 2)";
        return false;
    }
    for (const CSimRecord& row : tables.Get("ticks").rows)
        m_bands.emplace_back(ToUnits(*pKse, ToDouble(row, "low")), ToUnits(*pKse, ToDouble(row, "tick")));
    std::sort(m_bands.begin(), m_bands.end());
    for (size_t i = 0; i < m_bands.size(); ++i) {
        const bool bAligned = m_bands[i].second > 0 && m_bands[i].first % m_bands[i].second == 0 &&
                              (i == 0 || m_bands[i].first % m_bands[i - 1].second == 0);
        if (!bAligned) {
            *pstrError = "ticks: band " + std::to_string(i + 1) + " does not start on its ticks";
            return false;
        }
    }

    auto addInstrument = [&](const CSimMarketInfo* pMarket, const CSimRecord& row, const char* pszSymbol) {
        CSimInstrument inst;
        inst.nIndex = static_cast<int>(m_instruments.size());
        inst.pMarket = pMarket;
        inst.strSymbol = GetField(row, pszSymbol);
        inst.strName = GetField(row, "name");
        inst.strNameAr = GetField(row, "name_ar");
        inst.nSector = ToInt(row, "sector");
        inst.dShares = ToDouble(row, "shares");
        inst.dEps = ToDouble(row, "eps");
        inst.bTicker = ToInt(row, "ticker") != 0;
        inst.nPrevClose = ToUnits(*pMarket, ToDouble(row, "prev_close"));
        if (!IsOnTick(inst, inst.nPrevClose)) {
            *pstrError = inst.strSymbol + ": previous close off its ticks";
            return false;
        }
        if (pMarket->nLimitPct > 0) {
            const int64_t nMove = inst.nPrevClose * pMarket->nLimitPct / 100;
            inst.nLimitUp = inst.nPrevClose;
            while (StepUp(inst, inst.nLimitUp) <= inst.nPrevClose + nMove)
                inst.nLimitUp = StepUp(inst, inst.nLimitUp);
            inst.nLimitDown = inst.nPrevClose;
            while (StepDown(inst, inst.nLimitDown) >= inst.nPrevClose - nMove && StepDown(inst, inst.nLimitDown) > 0)
                inst.nLimitDown = StepDown(inst, inst.nLimitDown);
        }
        inst.nBestBid = inst.nPrevClose;
        inst.nBestAsk = StepUp(inst, inst.nPrevClose);
        m_instruments.push_back(std::move(inst));
        return true;
    };
    for (const CSimRecord& row : tables.Get("stocks").rows)
        if (!addInstrument(pKse, row, "id"))
            return false;
    for (const CSimRecord& row : tables.Get("us_symbols").rows) {
        const CSimMarketInfo* pMarket = FindMarket(ToInt(row, "market"));
        if (!pMarket) {
            *pstrError = "us_symbols: " + GetField(row, "symbol") + " on an unknown market";
            return false;
        }
        if (!addInstrument(pMarket, row, "symbol"))
            return false;
    }
    m_nTextSecond = -1;
    UpdateClockTexts();
    for (CSimInstrument& inst : m_instruments) {
        BuildBook(inst);
        // Fields no trade changes.
        const CSimMarketInfo& market = *inst.pMarket;
        SetField(inst.quote, "market", int64_t{market.nCode});
        SetField(inst.quote, "symbol", inst.strSymbol);
        SetField(inst.quote, "name", inst.strName);
        SetField(inst.quote, "name_ar", inst.strNameAr);
        SetField(inst.quote, "currency", "=" + market.strCurrency);
        SetField(inst.quote, "prev_close", PriceText(market, inst.nPrevClose));
        SetField(inst.quote, "prev_date", CSimClock::ServerDate(m_nPrevDate));
        SetField(inst.quote, "limit_up", PriceText(market, inst.nLimitUp));
        SetField(inst.quote, "limit_down", PriceText(market, inst.nLimitDown));
        SetField(inst.quote, "stock_status", int64_t{0});
        SetField(inst.quote, "state", int64_t{1});
        SetField(inst.quote, "session", int64_t{0});
        SetField(inst.quote, "eps", FormatDouble(inst.dEps, 2));
        inst.quoteSlots.Bind(inst.quote, s_quoteSlots, Q_COUNT);
        UpdateQuote(inst, false);
        for (int i = 0; i < 2 * kOddLotsASide && market.nCode == SIM_MARKET_KSE; ++i)
            inst.oddLots.push_back(RandomOddLot(inst, i < kOddLotsASide ? 1 : 2));
    }
    m_tradeSlots.Bind(m_tradeRec, s_tradeSlots, T_COUNT);

    for (const CSimRecord& row : tables.Get("indices").rows) {
        Index index;
        index.rec = row;
        index.dBase = ToDouble(row, "base");
        index.nSector = ToInt(row, "sector");
        for (const CSimInstrument& inst : m_instruments)
            if (inst.pMarket->nCode == SIM_MARKET_KSE && (index.nSector == 0 || index.nSector == inst.nSector))
                index.dPrevSum += inst.dShares * static_cast<double>(inst.nPrevClose);
        index.dSum = index.dPrevSum;
        index.dOpen = index.dHigh = index.dLow = 0;
        for (const char* pszName : {"value", "prev_close"})
            SetField(index.rec, pszName, FormatDouble(index.dBase, 2));
        for (const char* pszName : {"open", "high", "low", "change", "change_pct", "amount"})
            SetField(index.rec, pszName, FormatDouble(0, 2));
        SetField(index.rec, "volume", int64_t{0});
        SetField(index.rec, "trades", int64_t{0});
        SetField(index.rec, "datetime", pClock->ServerDateTime());
        SetField(index.rec, "time", pClock->ServerTime());
        SetField(index.rec, "market", int64_t{SIM_MARKET_KSE});
        m_indices.push_back(std::move(index));
    }
    // The US indices weigh every symbol of their board alike, as a price index does.
    for (const CSimRecord& row : tables.Get("us_indices").rows) {
        Index index;
        index.rec = row;
        index.dBase = ToDouble(row, "base");
        index.nBoard = ToInt(row, "board");
        index.nMarket = ToInt(row, "market");
        SetField(index.rec, "code", GetField(row, "symbol"));
        for (const CSimInstrument& inst : m_instruments)
            if (IndexFollows(index, inst))
                index.dPrevSum += static_cast<double>(inst.nPrevClose);
        index.dSum = index.dPrevSum;
        for (const char* pszName : {"value", "prev_close"})
            SetField(index.rec, pszName, FormatDouble(index.dBase, 2));
        for (const char* pszName : {"open", "high", "low", "change", "change_pct", "amount"})
            SetField(index.rec, pszName, FormatDouble(0, 2));
        SetField(index.rec, "volume", int64_t{0});
        SetField(index.rec, "trades", int64_t{0});
        SetField(index.rec, "datetime", pClock->ServerDateTime());
        SetField(index.rec, "time", pClock->ServerTime());
        m_indices.push_back(std::move(index));
    }
    m_holidays.clear();
    for (const CSimRecord& row : tables.Get("holidays").rows)
        m_holidays.emplace_back(ToInt(row, "date"), ToInt(row, "market"));

    m_forwards.clear();
    m_forwardsOf.assign(m_instruments.size(), std::vector<size_t>());
    for (const CSimRecord& row : tables.Get("forwards").rows) {
        const CSimInstrument* pStock = Find(SIM_MARKET_KSE, GetField(row, "stock"));
        if (!pStock) {
            *pstrError = "forwards: no stock " + GetField(row, "stock");
            return false;
        }
        m_forwardsOf[static_cast<size_t>(pStock->nIndex)].push_back(m_forwards.size());
        m_forwards.push_back({static_cast<size_t>(pStock->nIndex), ToInt(row, "series"), ToInt(row, "months"),
                              ToDouble(row, "premium"), CSimRecord(), ToInt(row, "open_qty"),
                              ToInt(row, "open_contracts"), ToInt(row, "settled"), ToDouble(row, "margin_pct")});
        FillForwardRecord(m_forwards.back().rec, m_forwards.back());
    }
    m_options.clear();
    for (const CSimRecord& row : tables.Get("options").rows)
        m_options.push_back({GetField(row, "underlying"), ToInt(row, "right"), ToDouble(row, "strike"), ToInt(row, "expiry")});

    m_schedule = tables.Get("schedule").rows;
    m_news = tables.Get("news").rows;
    std::stable_sort(m_news.begin(), m_news.end(),
                     [](const CSimRecord& a, const CSimRecord& b) { return ToInt(a, "minute") < ToInt(b, "minute"); });
    m_nNewsReleased = 0;
    m_announcements.clear();
    m_announcements.reserve(m_news.size());
    m_nStartMinute = pClock->GetMinute();
    m_nLastMinute = m_nStartMinute;
    return true;
}

CSimInstrument* CSimMarket::Step(ISimEventSink& sink)
{
    m_nLevelRecsUsed = 0;
    m_pClock->Advance(m_nStepMillis);
    UpdateClockTexts();
    if (m_pClock->GetMinute() != m_nLastMinute) {
        m_nLastMinute = m_pClock->GetMinute();
        SetField(m_minuteRec, "date", m_pClock->ServerDate());
        SetField(m_minuteRec, "time", m_pClock->ServerTime());
        SetField(m_minuteRec, "datetime", m_pClock->ServerDateTime());
        sink.OnSimEvent(SIM_MINUTE, 0, std::string(), m_minuteRec);
        EmitDueNews(sink);
    }
    if (m_instruments.empty())
        return nullptr;
    CSimInstrument& inst = m_instruments[static_cast<size_t>(m_random.Below(static_cast<int>(m_instruments.size())))];
    // A slight pull towards the previous close keeps a long run near its data.
    const int nBuyPercent = inst.nLast > inst.nPrevClose ? 47 : inst.nLast > 0 && inst.nLast < inst.nPrevClose ? 53 : 50;
    const bool bBuy = m_random.Chance(nBuyPercent);
    const int64_t nLot = LotOf(inst);
    const int64_t nWant = nLot * m_random.Between(1, 6);
    const int64_t nPrice = bBuy ? inst.nBestAsk : inst.nBestBid;
    CSimLevel& level = inst.levels[nPrice];
    int64_t& nHave = bBuy ? level.nAskQty : level.nBidQty;
    int& nOrders = bBuy ? level.nAskOrders : level.nBidOrders;
    if (nHave <= 0)
        RandomLevel(inst, level, !bBuy);
    const int64_t nQty = std::min(nWant, nHave);
    nHave -= nQty;
    if (nHave > 0 && nOrders > 1 && m_random.Chance(30))
        --nOrders;
    RecordTrade(inst, nPrice, nQty, bBuy ? 1 : 2, sink);
    if (nHave > 0) {
        EmitLevel(inst, nPrice, level, sink);
    } else {
        nOrders = 0;
        // The side is used up: the book moves a tick, unless the price stands at its limit, where
        // fresh orders take the place of the old.
        const bool bAtLimit = bBuy ? (inst.nLimitUp > 0 && nPrice >= inst.nLimitUp)
                                   : (inst.nLimitDown > 0 && nPrice <= inst.nLimitDown) || StepDown(inst, nPrice) <= 0;
        if (!bAtLimit) {
            inst.nBestAsk = bBuy ? StepUp(inst, nPrice) : nPrice;
            inst.nBestBid = bBuy ? nPrice : StepDown(inst, nPrice);
        }
        RestoreBook(inst, sink);
    }
    PublishQuote(inst, sink);
    // The odd-lot board changes now and then beside the regular one.
    if (!inst.oddLots.empty() && m_random.Chance(25))
        RenewOddLot(inst, sink);
    return &inst;
}

void CSimMarket::RecordTrade(CSimInstrument& inst, int64_t nPrice, int64_t nQty, int nSide, ISimEventSink& sink)
{
    const int64_t nOldLast = inst.nLast > 0 ? inst.nLast : inst.nPrevClose;
    const double dValue = Value(*inst.pMarket, nPrice, nQty);
    inst.nLast = nPrice;
    inst.nLastQty = nQty;
    inst.nOpen = inst.nOpen > 0 ? inst.nOpen : nPrice;
    inst.nHigh = std::max(inst.nHigh, nPrice);
    inst.nLow = inst.nLow > 0 ? std::min(inst.nLow, nPrice) : nPrice;
    inst.nVolume += nQty;
    inst.dValue += dValue;
    ++inst.nTrades;
    inst.nLastMillis = m_pClock->GetMillis();
    const CSimInstrument::Trade trade{++m_nTradeNo, inst.nLastMillis, nPrice, nQty, nSide};
    if (inst.recent.size() == kRecentTrades)
        inst.recent.pop_front();
    inst.recent.push_back(trade);

    CSimRecordSlots& f = m_tradeSlots;
    AssignInt(f[T_MARKET], inst.pMarket->nCode);
    f[T_SYMBOL].assign(inst.strSymbol);
    AssignInt(f[T_BOARD], 1);
    AssignInt(f[T_TRADE_NO], trade.nNo);
    AssignUnits(f[T_PRICE], nPrice, inst.pMarket->nDecimals);
    AssignInt(f[T_QUANTITY], nQty);
    f[T_VALUE] = FormatDouble(dValue, 3);
    AssignInt(f[T_SIDE], nSide);
    f[T_DATETIME].assign(m_strNowDateTime);
    f[T_TIME].assign(m_strNowTime);
    f[T_DATE].assign(m_strNowDate);
    sink.OnSimEvent(SIM_TRADE, inst.pMarket->nCode, std::string(), m_tradeRec);

    if (inst.pMarket->nCode != SIM_MARKET_OPTIONS)
        UpdateIndices(inst, nOldLast, nQty, dValue, sink);
    // Forward prices follow their stock.
    for (size_t nForward : m_forwardsOf[static_cast<size_t>(inst.nIndex)]) {
        Forward& fwd = m_forwards[nForward];
        FillForwardRecord(fwd.rec, fwd);
        sink.OnSimEvent(SIM_FORWARD, SIM_MARKET_KSE, std::string(), fwd.rec);
    }
}

void CSimMarket::PublishQuote(CSimInstrument& inst, ISimEventSink& sink)
{
    UpdateQuote(inst, inst.bTicker);
    sink.OnSimEvent(SIM_QUOTE, inst.pMarket->nCode, std::string(), inst.quote);
    if (!inst.bTicker)
        return;
    SetField(m_tickerRec, "market", int64_t{inst.pMarket->nCode});
    SetField(m_tickerRec, "symbol", inst.strSymbol);
    SetField(m_tickerRec, "text", inst.pMarket->nCode == SIM_MARKET_KSE ? inst.strName : inst.strSymbol);
    SetField(m_tickerRec, "last", GetField(inst.quote, "last"));
    SetField(m_tickerRec, "change", GetField(inst.quote, "change"));
    SetField(m_tickerRec, "change_pct", GetField(inst.quote, "change_pct"));
    sink.OnSimEvent(SIM_TICKER, inst.pMarket->nCode, std::string(), m_tickerRec);
}

void CSimMarket::UpdateClockTexts()
{
    const int64_t nSecond = m_pClock->GetMillis() / 1000;
    if (nSecond == m_nTextSecond)
        return;
    m_nTextSecond = nSecond;
    m_strNowDateTime = m_pClock->ServerDateTime();
    m_strNowTime = m_pClock->ServerTime();
    m_strNowDate = m_pClock->ServerDate();
}

void CSimMarket::UpdateQuote(CSimInstrument& inst, bool bTicker)
{
    const CSimMarketInfo& market = *inst.pMarket;
    CSimRecordSlots& f = inst.quoteSlots;
    const int nDecimals = market.nDecimals;
    AssignUnits(f[Q_LAST], inst.nLast, nDecimals);
    AssignInt(f[Q_LAST_QTY], inst.nLastQty);
    const auto bid = inst.levels.find(inst.nBestBid);
    const auto ask = inst.levels.find(inst.nBestAsk);
    const int64_t nBidQty = bid == inst.levels.end() ? 0 : bid->second.nBidQty;
    const int64_t nAskQty = ask == inst.levels.end() ? 0 : ask->second.nAskQty;
    AssignUnits(f[Q_BID], inst.nBestBid, nDecimals);
    AssignInt(f[Q_BID_QTY], nBidQty);
    AssignUnits(f[Q_ASK], inst.nBestAsk, nDecimals);
    AssignInt(f[Q_ASK_QTY], nAskQty);
    AssignInt(f[Q_BID_LOTS], nBidQty / 100);
    AssignInt(f[Q_ASK_LOTS], nAskQty / 100);
    AssignUnits(f[Q_OPEN], inst.nOpen, nDecimals);
    AssignUnits(f[Q_HIGH], inst.nHigh, nDecimals);
    AssignUnits(f[Q_LOW], inst.nLow, nDecimals);
    AssignUnits(f[Q_REF_PRICE], inst.nLast > 0 ? inst.nLast : inst.nPrevClose, nDecimals);
    const int64_t nChange = inst.nLast > 0 ? inst.nLast - inst.nPrevClose : 0;
    AssignUnits(f[Q_CHANGE], nChange, nDecimals);
    f[Q_CHANGE_PCT] =
        FormatDouble(inst.nPrevClose > 0 ? 100.0 * static_cast<double>(nChange) / static_cast<double>(inst.nPrevClose) : 0.0, 2);
    AssignInt(f[Q_VOLUME], inst.nVolume);
    AssignInt(f[Q_TRADES], inst.nTrades);
    f[Q_VALUE] = FormatDouble(inst.dValue, 3);
    // Every trade is the clock's latest, so the last trade's time is the clock's.
    f[Q_DATETIME].assign(inst.nLastMillis > 0 ? m_strNowDateTime : std::string());
    f[Q_TIME].assign(inst.nLastMillis > 0 ? m_strNowTime : std::string());
    f[Q_DATE].assign(inst.nLastMillis > 0 ? m_strNowDate : std::string());
    AssignInt(f[Q_TICKER], bTicker ? 1 : 0);
    const double dLast = static_cast<double>(inst.nLast > 0 ? inst.nLast : inst.nPrevClose) / market.nScale;
    f[Q_PE] = FormatDouble(inst.dEps > 0 ? dLast / inst.dEps : 0.0, 2);
}

bool CSimMarket::IndexFollows(const Index& index, const CSimInstrument& inst)
{
    const int nCode = inst.pMarket->nCode;
    if (index.nMarket == SIM_MARKET_KSE)
        return nCode == SIM_MARKET_KSE && (index.nSector == 0 || index.nSector == inst.nSector);
    return nCode != SIM_MARKET_KSE && nCode != SIM_MARKET_OPTIONS && (index.nBoard == 0 || index.nBoard == nCode);
}

void CSimMarket::UpdateIndices(CSimInstrument& inst, int64_t nOldLast, int64_t nQty, double dValue, ISimEventSink& sink)
{
    for (Index& index : m_indices) {
        if (!IndexFollows(index, inst))
            continue;
        const double dWeight = index.nMarket == SIM_MARKET_KSE ? inst.dShares : 1.0;
        index.dSum += dWeight * static_cast<double>(inst.nLast - nOldLast);
        index.nVolume += nQty;
        index.dAmount += dValue;
        ++index.nTrades;
        const double dValueNow = index.dPrevSum > 0 ? index.dBase * index.dSum / index.dPrevSum : index.dBase;
        index.dOpen = index.dOpen > 0 ? index.dOpen : dValueNow;
        index.dHigh = index.dHigh > 0 ? std::max(index.dHigh, dValueNow) : dValueNow;
        index.dLow = index.dLow > 0 ? std::min(index.dLow, dValueNow) : dValueNow;
        // An index line at most once a simulated second: a calculated value, not a trade.
        if (index.nLastMillis >= 0 && m_pClock->GetMillis() - index.nLastMillis < 1000)
            continue;
        index.nLastMillis = m_pClock->GetMillis();
        CSimRecord& r = index.rec;
        SetField(r, "value", FormatDouble(dValueNow, 2));
        SetField(r, "open", FormatDouble(index.dOpen, 2));
        SetField(r, "high", FormatDouble(index.dHigh, 2));
        SetField(r, "low", FormatDouble(index.dLow, 2));
        SetField(r, "change", FormatDouble(dValueNow - index.dBase, 2));
        SetField(r, "change_pct", FormatDouble(100.0 * (dValueNow - index.dBase) / index.dBase, 2));
        SetField(r, "volume", index.nVolume);
        SetField(r, "amount", FormatDouble(index.dAmount, 3));
        SetField(r, "trades", index.nTrades);
        SetField(r, "datetime", m_pClock->ServerDateTime());
        SetField(r, "time", m_pClock->ServerTime());
        sink.OnSimEvent(SIM_INDEX, index.nMarket, std::string(), r);
    }
}

void CSimMarket::EmitDueNews(ISimEventSink& sink)
{
    const size_t nFirstNew = m_announcements.size();
    while (m_nNewsReleased < m_news.size() && m_nStartMinute + ToInt(m_news[m_nNewsReleased], "minute") <= m_nLastMinute) {
        CSimRecord& rec = m_news[m_nNewsReleased++];
        SetField(rec, "datetime", m_pClock->ServerDateTime());
        SetField(rec, "date", m_pClock->ServerDate());
        SetField(rec, "time", m_pClock->ServerTime());
        sink.OnSimEvent(SIM_NEWS, ToInt(rec, "market"), std::string(), rec);
        if (ToInt(rec, "market") == SIM_MARKET_KSE)
            JoinAnnouncement(rec, nFirstNew);
    }
    // Once a release is whole, so that the two languages of a stock's story come out as one.
    for (size_t i = nFirstNew; i < m_announcements.size(); ++i)
        sink.OnSimEvent(SIM_ANNOUNCEMENT, SIM_MARKET_KSE, std::string(), m_announcements[i]);
}

void CSimMarket::JoinAnnouncement(const CSimRecord& story, size_t nFirstNew)
{
    const bool bArabic = GetField(story, "lang") == "1";
    CSimRecord* pJoined = nullptr;
    for (size_t i = nFirstNew; i < m_announcements.size() && pJoined == nullptr; ++i)
        if (GetField(m_announcements[i], "minute") == GetField(story, "minute") &&
            GetField(m_announcements[i], "symbol") == GetField(story, "symbol"))
            pJoined = &m_announcements[i];
    if (pJoined == nullptr) {
        CSimRecord rec;
        for (const char* pszName : {"id", "lang", "market", "symbol", "minute"})
            rec[pszName] = GetField(story, pszName);
        // An announcement is known by its time: each one of a release a second after the one before.
        CSimClock stamp = *m_pClock;
        stamp.Advance(int64_t{1000} * static_cast<int64_t>(m_announcements.size() - nFirstNew));
        rec["datetime"] = stamp.ServerDateTime();
        rec["date"] = stamp.ServerDate();
        rec["time"] = stamp.ServerTime();
        rec["headline"] = rec["story"] = rec["headline_ar"] = rec["story_ar"] = "";
        m_announcements.push_back(std::move(rec));
        pJoined = &m_announcements.back();
    } else if (GetField(*pJoined, "lang") != GetField(story, "lang")) {
        (*pJoined)["lang"] = "2";
    }
    (*pJoined)[bArabic ? "headline_ar" : "headline"] = GetField(story, "headline");
    (*pJoined)[bArabic ? "story_ar" : "story"] = GetField(story, "story");
}
