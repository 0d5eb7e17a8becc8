// The market's answers to requests: books, trades, indices, movers, forwards, option chains and
// news as records. The walk itself is in SimMarket.cpp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
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

std::vector<CSimRecord> CSimMarket::GetForwards() const
{
    std::vector<CSimRecord> rows;
    const CSimMarketInfo* pKse = FindMarket(2);
    for (const Forward& fwd : m_forwards) {
        const CSimInstrument* pInst = nullptr;
        for (const CSimInstrument& inst : m_instruments)
            if (inst.pMarket == pKse && atoi(inst.strSymbol.c_str()) == fwd.nStock)
                pInst = &inst;
        if (!pInst)
            continue;
        const int64_t nUnder = pInst->nLast > 0 ? pInst->nLast : pInst->nPrevClose;
        const double dUnder = static_cast<double>(nUnder) / pKse->nScale;
        const double dPrice = dUnder * (1.0 + fwd.dPremium / 100.0 * fwd.nMonths / 12.0);
        CSimRecord rec;
        SetField(rec, "stock", pInst->strSymbol);
        SetField(rec, "series", int64_t{fwd.nSeries});
        SetField(rec, "months", int64_t{fwd.nMonths});
        SetField(rec, "premium", FormatDouble(fwd.dPremium, 3));
        SetField(rec, "underlying", PriceText(*pKse, nUnder));
        SetField(rec, "price", FormatDouble(dPrice, 3));
        SetField(rec, "bid", FormatDouble(dPrice * 0.998, 3));
        SetField(rec, "ask", FormatDouble(dPrice * 1.002, 3));
        SetField(rec, "volume", int64_t{0});
        SetField(rec, "trades", int64_t{0});
        rows.push_back(std::move(rec));
    }
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
            if (inst.strSymbol == opt.strUnderlying && inst.pMarket->nCode != 2)
                pInst = &inst;
        if (!pInst)
            continue;
        const CSimMarketInfo* pMarket = FindMarket(8) ? FindMarket(8) : pInst->pMarket;
        const double dUnder = static_cast<double>(pInst->nLast > 0 ? pInst->nLast : pInst->nPrevClose) / pInst->pMarket->nScale;
        // Intrinsic value and a time value that shrinks towards expiry: enough to look like a chain.
        const double dIntrinsic = std::max(0.0, opt.nRight == 1 ? dUnder - opt.dStrike : opt.dStrike - dUnder);
        CSimClock expiry;
        expiry.Set(opt.nExpiry, 0);
        const int64_t nDays = std::max<int64_t>(1, (expiry.GetMillis() - m_pClock->GetMillis()) / 86400000);
        const double dPrice = std::round((dIntrinsic + 0.04 * opt.dStrike * std::sqrt(static_cast<double>(nDays) / 365.0)) * 100.0) / 100.0;
        char szSymbol[48];
        snprintf(szSymbol, sizeof szSymbol, "%s %06d%c%g", opt.strUnderlying.c_str(), opt.nExpiry % 1000000,
                 opt.nRight == 1 ? 'C' : 'P', opt.dStrike);
        CSimRecord rec;
        SetField(rec, "underlying", opt.strUnderlying);
        SetField(rec, "market", int64_t{pMarket->nCode});
        SetField(rec, "symbol", szSymbol);
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

std::vector<CSimRecord> CSimMarket::GetNews(int nLanguage) const
{
    std::vector<CSimRecord> rows;
    for (size_t i = 0; i < m_nNewsReleased; ++i)
        if (nLanguage < 0 || atoi(GetField(m_news[i], "lang").c_str()) == nLanguage)
            rows.push_back(m_news[i]);
    return rows;
}
