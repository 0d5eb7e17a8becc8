// The market's answers to requests: books, trades, indices, movers, forwards, option chains and
// news as records. The walk itself is in SimMarket.cpp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include "tools/testserver/model/SimMarket.h"

void CSimMarket::FillTradeRecord(CSimRecord& rec, const CSimInstrument& inst, const CSimInstrument::Trade& trade) const
{
    CSimClock at;
    at.Advance(trade.nMillis);
    SetField(rec, "market", int64_t{inst.pMarket->nCode});
    SetField(rec, "symbol", inst.strSymbol);
    SetField(rec, "board", int64_t{1});
    SetField(rec, "trade_no", trade.nNo);
    SetField(rec, "price", PriceText(*inst.pMarket, trade.nPrice));
    SetField(rec, "quantity", trade.nQty);
    SetField(rec, "value", FormatDouble(Value(*inst.pMarket, trade.nPrice, trade.nQty), 3));
    SetField(rec, "side", int64_t{trade.nSide});
    SetField(rec, "datetime", at.ServerDateTime());
    SetField(rec, "time", at.ServerTime());
    SetField(rec, "date", at.ServerDate());
}

std::vector<CSimRecord> CSimMarket::GetBook(const CSimInstrument& inst) const
{
    std::vector<CSimRecord> rows;
    for (auto it = inst.levels.rbegin(); it != inst.levels.rend(); ++it) {
        if (it->second.nBidQty == 0 && it->second.nAskQty == 0)
            continue;
        rows.emplace_back();
        FillLevelRecord(rows.back(), inst, it->first, it->second);
    }
    return rows;
}

std::vector<CSimRecord> CSimMarket::GetTrades(const CSimInstrument& inst) const
{
    std::vector<CSimRecord> rows(inst.recent.size());
    for (size_t i = 0; i < inst.recent.size(); ++i)
        FillTradeRecord(rows[i], inst, inst.recent[i]);
    return rows;
}

std::vector<CSimRecord> CSimMarket::GetIndices() const
{
    std::vector<CSimRecord> rows;
    for (const Index& index : m_indices)
        rows.push_back(index.rec);
    return rows;
}

std::vector<CSimRecord> CSimMarket::GetMovers(int nMarket, int nKind, int nCount) const
{
    std::vector<const CSimInstrument*> list;
    for (const CSimInstrument& inst : m_instruments) {
        if (inst.pMarket->nCode != nMarket || inst.nLast == 0)
            continue;
        const int64_t nChange = inst.nLast - inst.nPrevClose;
        if ((nKind == 0 && nChange > 0) || (nKind == 1 && nChange < 0) || (nKind == 2 && inst.nVolume > 0))
            list.push_back(&inst);
    }
    // Changes compare in per cent; ties go by the order of the data files, so a list replays.
    const auto pct = [](const CSimInstrument* p) {
        return static_cast<double>(p->nLast - p->nPrevClose) / static_cast<double>(p->nPrevClose);
    };
    std::stable_sort(list.begin(), list.end(), [&](const CSimInstrument* a, const CSimInstrument* b) {
        if (nKind == 2)
            return a->nVolume > b->nVolume;
        return nKind == 0 ? pct(a) > pct(b) : pct(a) < pct(b);
    });
    std::vector<CSimRecord> rows;
    for (size_t i = 0; i < list.size() && static_cast<int>(i) < nCount; ++i) {
        const CSimRecord& q = list[i]->quote;
        CSimRecord rec;
        SetField(rec, "kind", int64_t{nKind});
        SetField(rec, "rank", static_cast<int64_t>(i + 1));
        for (const char* pszName : {"market", "symbol", "name", "last", "change", "change_pct", "volume", "prev_close"})
            SetField(rec, pszName, GetField(q, pszName));
        rows.push_back(std::move(rec));
    }
    return rows;
}

void CSimMarket::FillForwardRecord(CSimRecord& rec, const Forward& fwd) const
{
    const CSimInstrument& inst = m_instruments[fwd.nInstrument];
    const int64_t nUnder = inst.nLast > 0 ? inst.nLast : inst.nPrevClose;
    const double dUnder = static_cast<double>(nUnder) / inst.pMarket->nScale;
    const double dPrice = dUnder * (1.0 + fwd.dPremium / 100.0 * fwd.nMonths / 12.0);
    SetField(rec, "stock", inst.strSymbol);
    SetField(rec, "series", int64_t{fwd.nSeries});
    SetField(rec, "months", int64_t{fwd.nMonths});
    SetField(rec, "premium", FormatDouble(fwd.dPremium, 3));
    SetField(rec, "underlying", PriceText(*inst.pMarket, nUnder));
    SetField(rec, "price", FormatDouble(dPrice, 3));
    SetField(rec, "bid", FormatDouble(dPrice * 0.998, 3));
    SetField(rec, "ask", FormatDouble(dPrice * 1.002, 3));
    SetField(rec, "volume", int64_t{0});
    SetField(rec, "trades", int64_t{0});
    // The open interest, valued at the series' price in the currency (fils to dinars).
    const double dValue = static_cast<double>(fwd.nOpenQty) * dPrice / static_cast<double>(inst.pMarket->nUnit);
    SetField(rec, "oi_qty", fwd.nOpenQty);
    SetField(rec, "oi_contracts", fwd.nOpenContracts);
    SetField(rec, "oi_value", FormatDouble(dValue, 3));
    SetField(rec, "oi_margin", FormatDouble(dValue * fwd.dMarginPct / 100.0, 3));
    SetField(rec, "oi_settled", fwd.nSettled);
    // The same figures under the name of the series' period, so that a line with a group per
    // period finds them in their group and the others empty.
    const std::string strPeriod = "m" + std::to_string(fwd.nMonths) + "_";
    for (const char* pszName : {"bid", "ask", "price"})
        SetField(rec, (strPeriod + pszName).c_str(), GetField(rec, pszName));
}

std::vector<CSimRecord> CSimMarket::GetForwards() const
{
    std::vector<CSimRecord> rows(m_forwards.size());
    for (size_t i = 0; i < m_forwards.size(); ++i)
        FillForwardRecord(rows[i], m_forwards[i]);
    return rows;
}

std::vector<CSimRecord> CSimMarket::GetOptionChain(const std::string& strUnderlying) const
{
    std::vector<CSimRecord> rows;
    int nCount = 0;
    for (const Option& opt : m_options) {
        ++nCount;
        if (opt.strUnderlying != strUnderlying)
            continue;
        const CSimInstrument* pInst = nullptr;
        for (const CSimInstrument& inst : m_instruments)
            if (inst.strSymbol == opt.strUnderlying && inst.pMarket->nCode != SIM_MARKET_KSE)
                pInst = &inst;
        if (!pInst)
            continue;
        const CSimMarketInfo* pMarket = FindMarket(SIM_MARKET_OPTIONS) ? FindMarket(SIM_MARKET_OPTIONS) : pInst->pMarket;
        const double dUnder = static_cast<double>(pInst->nLast > 0 ? pInst->nLast : pInst->nPrevClose) / pInst->pMarket->nScale;
        // Intrinsic value and a time value that shrinks towards expiry: enough to look like a chain.
        const double dIntrinsic = std::max(0.0, opt.nRight == 1 ? dUnder - opt.dStrike : opt.dStrike - dUnder);
        CSimClock expiry;
        expiry.Set(opt.nExpiry, 0);
        const int64_t nDays = std::max<int64_t>(1, (expiry.GetMillis() - m_pClock->GetMillis()) / 86400000);
        const double dPrice = std::round((dIntrinsic + 0.04 * opt.dStrike * std::sqrt(static_cast<double>(nDays) / 365.0)) * 100.0) / 100.0;
        // "ALPN 261218C45": underlying, expiry YYMMDD, right and strike (a whole strike without
        // its fraction); the digits are written here so that no locale enters.
        const std::string strExpiry = std::to_string(1000000 + opt.nExpiry % 1000000).substr(1);
        const std::string strStrike = std::floor(opt.dStrike) == opt.dStrike ? std::to_string(static_cast<int64_t>(opt.dStrike))
                                                                           : FormatDouble(opt.dStrike, 2);
        const std::string strSymbol = opt.strUnderlying + " " + strExpiry + (opt.nRight == 1 ? "C" : "P") + strStrike;
        CSimRecord rec;
        SetField(rec, "underlying", opt.strUnderlying);
        SetField(rec, "market", int64_t{pMarket->nCode});
        SetField(rec, "symbol", strSymbol);
        SetField(rec, "right", int64_t{opt.nRight});
        SetField(rec, "strike", FormatDouble(opt.dStrike, 2));
        SetField(rec, "expiry", CSimClock::ServerDate(opt.nExpiry));
        SetField(rec, "last", FormatDouble(dPrice, 2));
        SetField(rec, "bid", FormatDouble(std::max(0.01, dPrice - 0.05), 2));
        SetField(rec, "ask", FormatDouble(dPrice + 0.05, 2));
        SetField(rec, "open_interest", int64_t{100 * nCount});
        rows.push_back(std::move(rec));
    }
    return rows;
}

std::vector<CSimRecord> CSimMarket::GetNews(int nLanguage, const std::string& strSymbol) const
{
    std::vector<CSimRecord> rows;
    for (size_t i = 0; i < m_nNewsReleased; ++i)
        if ((nLanguage < 0 || atoi(GetField(m_news[i], "lang").c_str()) == nLanguage) &&
            (strSymbol.empty() || GetField(m_news[i], "symbol") == strSymbol))
            rows.push_back(m_news[i]);
    return rows;
}

static std::string Lower(const std::string& str)
{
    std::string strLower = str;
    for (char& ch : strLower)
        ch = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
    return strLower;
}

std::vector<CSimRecord> CSimMarket::LookupSymbols(const std::string& strText, int nMax) const
{
    std::vector<CSimRecord> rows;
    const std::string strWant = Lower(strText);
    for (const CSimInstrument& inst : m_instruments) {
        if (static_cast<int>(rows.size()) >= nMax || strWant.empty())
            break;
        if (Lower(inst.strSymbol).rfind(strWant, 0) != 0 && Lower(inst.strName).find(strWant) == std::string::npos)
            continue;
        CSimRecord rec;
        SetField(rec, "market", int64_t{inst.pMarket->nCode});
        SetField(rec, "symbol", inst.strSymbol);
        SetField(rec, "name", inst.strName);
        SetField(rec, "name_ar", inst.strNameAr);
        rows.push_back(std::move(rec));
    }
    return rows;
}

// A generator of its own per symbol: FNV-1a of the text, mixed with the seed.
static uint64_t HistorySeed(uint64_t nSeed, const std::string& strKey)
{
    uint64_t nHash = 0xCBF29CE484222325ull;
    for (unsigned char ch : strKey)
        nHash = (nHash ^ ch) * 0x100000001B3ull;
    return nHash ^ (nSeed * 0x9E3779B97F4A7C15ull);
}

// Days from the previous trading date backwards, each close a few per cent from the next one.
// Returns (date, close) newest first; fnSnap puts a price on its tick.
static std::vector<std::pair<int, double>> WalkBack(CSimRandom& random, int nLastDate, double dLastClose,
                                                    const std::function<double(double)>& fnSnap, int nDays)
{
    std::vector<std::pair<int, double>> days;
    int nDate = nLastDate;
    double dClose = dLastClose;
    for (int i = 0; i < nDays; ++i) {
        days.emplace_back(nDate, dClose);
        const double dMove = dClose * (random.Between(-200, 200) / 10000.0);
        dClose = fnSnap(dClose - dMove);
        nDate = CSimClock::PreviousTradingDate(nDate);
    }
    return days;
}

static const int HISTORY_DAYS = 250;      // about a year of trading days

std::vector<CSimRecord> CSimMarket::GetDailyHistory(const CSimInstrument& inst, int nAfter, int nDays) const
{
    const CSimMarketInfo& market = *inst.pMarket;
    CSimRandom random(HistorySeed(m_nSeed, std::to_string(market.nCode) + ":" + inst.strSymbol));
    const double dScale = market.nScale;
    const auto snap = [&](double dPrice) {
        const int64_t nUnits = std::max<int64_t>(1, ToUnits(market, dPrice));
        const int64_t nTick = TickAt(inst, nUnits);
        return static_cast<double>(std::max(nTick, (nUnits + nTick / 2) / nTick * nTick)) / dScale;
    };
    const auto days = WalkBack(random, m_nPrevDate, static_cast<double>(inst.nPrevClose) / dScale, snap, HISTORY_DAYS + 1);
    std::vector<CSimRecord> rows;
    for (size_t i = 0; i + 1 < days.size() && static_cast<int>(rows.size()) < nDays; ++i) {
        if (days[i].first <= nAfter)
            break;
        const double dClose = days[i].second, dPrev = days[i + 1].second;
        // Open between the two closes; high and low around both.
        const double dOpen = snap(dPrev + (dClose - dPrev) * random.Below(100) / 100.0);
        const double dHigh = snap(std::max(dOpen, dClose) * (1.0 + random.Below(15) / 1000.0));
        const double dLow = snap(std::min(dOpen, dClose) * (1.0 - random.Below(15) / 1000.0));
        const int64_t nVolume = int64_t{1000} * random.Between(50, 5000);
        const int nTrades = random.Between(20, 900);
        CSimRecord rec;
        SetField(rec, "market", int64_t{market.nCode});
        SetField(rec, "symbol", inst.strSymbol);
        SetField(rec, "date", CSimClock::ServerDate(days[i].first));
        SetField(rec, "open", PriceText(market, ToUnits(market, dOpen)));
        SetField(rec, "high", PriceText(market, ToUnits(market, dHigh)));
        SetField(rec, "low", PriceText(market, ToUnits(market, dLow)));
        SetField(rec, "close", PriceText(market, ToUnits(market, dClose)));
        SetField(rec, "prev_close", PriceText(market, ToUnits(market, dPrev)));
        SetField(rec, "change", PriceText(market, ToUnits(market, dClose) - ToUnits(market, dPrev)));
        SetField(rec, "change_pct", FormatDouble(100.0 * (dClose - dPrev) / dPrev, 2));
        SetField(rec, "volume", nVolume);
        SetField(rec, "trades", int64_t{nTrades});
        SetField(rec, "value", FormatDouble(dClose * static_cast<double>(nVolume) / static_cast<double>(market.nUnit), 3));
        SetField(rec, "segment", int64_t{1});
        SetField(rec, "state", int64_t{0});
        rows.push_back(std::move(rec));
    }
    return rows;
}

std::vector<CSimRecord> CSimMarket::GetIndexHistory(int nCode, int nAfter, int nDays) const
{
    std::vector<CSimRecord> rows;
    for (const Index& index : m_indices) {
        if (atoi(GetField(index.rec, "code").c_str()) != nCode)
            continue;
        CSimRandom random(HistorySeed(m_nSeed, "index:" + std::to_string(nCode)));
        const auto days =
            WalkBack(random, m_nPrevDate, index.dBase, [](double d) { return std::round(d * 100.0) / 100.0; }, HISTORY_DAYS + 1);
        for (size_t i = 0; i + 1 < days.size() && static_cast<int>(rows.size()) < nDays; ++i) {
            if (days[i].first <= nAfter)
                break;
            const double dClose = days[i].second, dPrev = days[i + 1].second;
            const double dSpread = dClose * random.Below(80) / 10000.0;
            CSimRecord rec;
            SetField(rec, "code", int64_t{nCode});
            SetField(rec, "date", CSimClock::ServerDate(days[i].first));
            SetField(rec, "open", FormatDouble(dPrev, 2));
            SetField(rec, "high", FormatDouble(std::max(dPrev, dClose) + dSpread, 2));
            SetField(rec, "low", FormatDouble(std::min(dPrev, dClose) - dSpread, 2));
            SetField(rec, "value", FormatDouble(dClose, 2));
            SetField(rec, "prev_close", FormatDouble(dPrev, 2));
            SetField(rec, "change", FormatDouble(dClose - dPrev, 2));
            SetField(rec, "change_pct", FormatDouble(100.0 * (dClose - dPrev) / dPrev, 2));
            SetField(rec, "volume", int64_t{100000} * random.Between(100, 3000));
            SetField(rec, "amount", FormatDouble(1000.0 * random.Between(500, 90000), 3));
            SetField(rec, "trades", int64_t{random.Between(800, 9000)});
            rows.push_back(std::move(rec));
        }
    }
    return rows;
}

CSimRecord CSimMarket::GetMarketState(int nMarket) const
{
    // Rows by time of day; before the day's first state the market still shows its last.
    const CSimRecord* pFound = nullptr;
    const CSimRecord* pLast = nullptr;
    const int nNow = m_pClock->GetTime();
    for (const CSimRecord& row : m_schedule) {
        if (atoi(GetField(row, "market").c_str()) != nMarket)
            continue;
        const int nTime = atoi(GetField(row, "time").c_str());
        if (!pLast || nTime >= atoi(GetField(*pLast, "time").c_str()))
            pLast = &row;
        if (nTime <= nNow && (!pFound || nTime >= atoi(GetField(*pFound, "time").c_str())))
            pFound = &row;
    }
    if (!pFound)
        pFound = pLast;
    return pFound ? *pFound : CSimRecord();
}
