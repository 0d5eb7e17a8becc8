// The chart series of the "CD" and "KH" replies: a symbol's or a US index's minutes of the day,
// or its days, weeks or months over the asked span, all from the seed; and the trading days of
// each market's calendar.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "tools/testserver/model/SimMarket.h"

namespace {
const int s_anSpanMonths[] = {0, 3, 6, 12, 24, 60};     // by duration code
enum { PERIOD_DAY = 3, PERIOD_WEEK = 4, PERIOD_MONTH = 5 };

struct Bar
{
    int nDate;
    double dOpen, dHigh, dLow, dClose;
    int64_t nVolume;
};

// A generator of its own per series: FNV-1a of the key, mixed with the seed.
uint64_t SeriesSeed(uint64_t nSeed, const std::string& strKey)
{
    uint64_t nHash = 0xCBF29CE484222325ull;
    for (unsigned char ch : strKey)
        nHash = (nHash ^ ch) * 0x100000001B3ull;
    return nHash ^ (nSeed * 0x9E3779B97F4A7C15ull);
}

int IsoWeekday(int nDate)
{
    return static_cast<int>((CSimClock::DayNumber(nDate) % 7 + 12) % 7) + 1;   // day 0 is a Saturday
}

// The same day nMonths later (earlier when negative), cut to the month's length.
int AddMonths(int nDate, int nMonths)
{
    const int nIndex = nDate / 10000 * 12 + nDate / 100 % 100 - 1 + nMonths;
    const int nYear = nIndex / 12, nMonth = nIndex % 12 + 1;
    int nDay = nDate % 100;
    while (nDay > 28 && !CSimClock::IsValidDate(nYear * 10000 + nMonth * 100 + nDay))
        --nDay;
    return nYear * 10000 + nMonth * 100 + nDay;
}

int Seconds(int nTime)
{
    return nTime / 10000 * 3600 + nTime / 100 % 100 * 60 + nTime % 100;
}
}

bool CSimMarket::IsTradingDay(int nMarket, int nDate) const
{
    const int nDay = IsoWeekday(nDate);
    if (nMarket == SIM_MARKET_KSE ? nDay == 5 || nDay == 6 : nDay == 6 || nDay == 7)
        return false;
    // The US boards keep one calendar.
    for (const auto& [nHoliday, nHolidayMarket] : m_holidays)
        if (nHoliday == nDate && (nHolidayMarket == SIM_MARKET_KSE) == (nMarket == SIM_MARKET_KSE))
            return false;
    return true;
}

bool CSimMarket::GetChart(int nMarket, const std::string& strSymbol, int nDuration, int nPeriodCode, int nAverage,
                          std::vector<CSimRecord>& rows) const
{
    rows.clear();
    const CSimInstrument* pInst = nullptr;
    for (const CSimInstrument& inst : m_instruments)
        if (!pInst && inst.strSymbol == strSymbol &&
            (nMarket == 0 || inst.pMarket->nCode == nMarket ||
             (nMarket == SIM_MARKET_US && inst.pMarket->nCode != SIM_MARKET_KSE)))
            pInst = &inst;
    const Index* pIndex = nullptr;
    for (const Index& index : m_indices)
        if (!pInst && !pIndex && index.nMarket != SIM_MARKET_KSE && GetField(index.rec, "code") == strSymbol)
            pIndex = &index;
    if (!pInst && !pIndex)
        return false;
    const CSimMarketInfo* pMarket = pInst ? pInst->pMarket : FindMarket(pIndex->nMarket);
    if (!pMarket || nDuration < 0 || nDuration > 5)
        return true;
    const auto text = [&](double dPrice) {
        return pInst ? PriceText(*pMarket, ToUnits(*pMarket, dPrice)) : FormatDouble(dPrice, 2);
    };
    const double dPrevClose = pInst ? static_cast<double>(pInst->nPrevClose) / pMarket->nScale : pIndex->dBase;
    const std::string strRef = text(dPrevClose);

    if (nDuration == 0) {
        // The day so far, a row a minute from the open: a path from the previous close to the
        // last price, and the day's volume shared out over the minutes.
        const double dLast = pInst ? static_cast<double>(pInst->nLast) / pMarket->nScale
                                   : (pIndex->nTrades > 0 ? pIndex->dBase * pIndex->dSum / pIndex->dPrevSum : 0.0);
        const int64_t nDayVolume = pInst ? pInst->nVolume : pIndex->nVolume;
        const int nFirst = Seconds(pMarket->nOpens) / 60;
        const int nLast = std::min(Seconds(m_pClock->GetTime()), Seconds(pMarket->nCloses)) / 60;
        if (dLast <= 0 || nLast < nFirst)
            return true;
        const int nCount = nLast - nFirst + 1;
        CSimRandom random(SeriesSeed(m_nSeed, "minutes:" + strSymbol + ":" + std::to_string(m_pClock->GetDate())));
        std::vector<double> walk(static_cast<size_t>(nCount), 0.0);
        std::vector<int> weights(static_cast<size_t>(nCount), 1);
        int64_t nWeights = 0;
        for (size_t i = 0; i < walk.size(); ++i) {
            walk[i] = (i > 0 ? walk[i - 1] : 0.0) + random.Between(-100, 100) / 10000.0;
            weights[i] = random.Between(1, 100);
            nWeights += weights[i];
        }
        int64_t nShared = 0, nWeightsSoFar = 0;
        for (size_t i = 0; i < walk.size(); ++i) {
            const double dAt = nCount > 1 ? static_cast<double>(i) / (nCount - 1) : 1.0;
            const double dPrice = dPrevClose + (dLast - dPrevClose) * dAt + dPrevClose * (walk[i] - walk.back() * dAt);
            nWeightsSoFar += weights[i];
            const int64_t nUpTo = nDayVolume * nWeightsSoFar / nWeights;
            const int nMinute = nFirst + static_cast<int>(i);
            CSimRecord rec;
            SetField(rec, "at", CSimClock::ServerTime(nMinute / 60 * 10000 + nMinute % 60 * 100));
            SetField(rec, "close", text(std::max(dPrice, dPrevClose / 100)));
            SetField(rec, "volume", nUpTo - nShared);
            SetField(rec, "ref", strRef);
            rows.push_back(std::move(rec));
            nShared = nUpTo;
        }
        return true;
    }

    // Days back from the last trading day before today, further than the span by what the
    // average needs, closes a few per cent apart.
    int nLastDay = m_pClock->GetDate();
    do
        nLastDay = CSimClock::DateOfDay(CSimClock::DayNumber(nLastDay) - 1);
    while (!IsTradingDay(pMarket->nCode, nLastDay));
    const int nFirstDay = AddMonths(nLastDay, -s_anSpanMonths[nDuration]);
    const int nPeriodDays = nPeriodCode == PERIOD_WEEK ? 7 : nPeriodCode == PERIOD_MONTH ? 31 : 1;
    const int64_t nFrom = CSimClock::DayNumber(nFirstDay) - static_cast<int64_t>(nAverage) * nPeriodDays * 7 / 5 - 7;
    CSimRandom random(SeriesSeed(m_nSeed, "chart:" + std::to_string(pMarket->nCode) + ":" + strSymbol));
    std::vector<Bar> days;
    double dClose = dPrevClose;
    for (int64_t nDay = CSimClock::DayNumber(nLastDay); nDay >= nFrom; --nDay) {
        const int nDate = CSimClock::DateOfDay(nDay);
        if (!IsTradingDay(pMarket->nCode, nDate))
            continue;
        const double dPrev = dClose * (1.0 - random.Between(-200, 200) / 10000.0);
        Bar bar{nDate, dPrev + (dClose - dPrev) * random.Below(100) / 100.0, 0, 0, dClose, 0};
        bar.dHigh = std::max(bar.dOpen, dClose) * (1.0 + random.Below(15) / 1000.0);
        bar.dLow = std::min(bar.dOpen, dClose) * (1.0 - random.Below(15) / 1000.0);
        // An index trades billions a day: its volumes pass 2^31.
        bar.nVolume = pInst ? int64_t{1000} * random.Between(50, 5000) : int64_t{1000000} * random.Between(2200, 4500);
        days.push_back(bar);
        dClose = dPrev;
    }
    std::reverse(days.begin(), days.end());

    // Weeks (from Monday, Sunday on the KSE) and months are dated on their first trading day.
    const int nWeekStart = pMarket->nCode == SIM_MARKET_KSE ? 7 : 1;
    std::vector<Bar> bars;
    int64_t nLastKey = -1;
    for (const Bar& day : days) {
        const int64_t nDay = CSimClock::DayNumber(day.nDate);
        const int64_t nKey = nPeriodCode == PERIOD_WEEK ? nDay - (IsoWeekday(day.nDate) - nWeekStart + 7) % 7
                           : nPeriodCode == PERIOD_MONTH ? day.nDate / 100
                                                         : nDay;
        if (bars.empty() || nKey != nLastKey) {
            bars.push_back(day);
        } else {
            Bar& bar = bars.back();
            bar.dHigh = std::max(bar.dHigh, day.dHigh);
            bar.dLow = std::min(bar.dLow, day.dLow);
            bar.dClose = day.dClose;
            bar.nVolume += day.nVolume;
        }
        nLastKey = nKey;
    }
    for (size_t i = 0; i < bars.size(); ++i) {
        const Bar& bar = bars[i];
        if (bar.nDate < nFirstDay)
            continue;
        double dAverage = 0, dDeviation = 0;
        if (nAverage > 0) {
            const size_t nStart = i + 1 >= static_cast<size_t>(nAverage) ? i + 1 - static_cast<size_t>(nAverage) : 0;
            for (size_t k = nStart; k <= i; ++k)
                dAverage += bars[k].dClose;
            dAverage /= static_cast<double>(i + 1 - nStart);
            for (size_t k = nStart; k <= i; ++k)
                dDeviation += (bars[k].dClose - dAverage) * (bars[k].dClose - dAverage);
            dDeviation = std::sqrt(dDeviation / static_cast<double>(i + 1 - nStart));
        }
        CSimRecord rec;
        SetField(rec, "at", CSimClock::ServerDate(bar.nDate));
        SetField(rec, "close", text(bar.dClose));
        SetField(rec, "volume", bar.nVolume);
        SetField(rec, "high", text(bar.dHigh));
        SetField(rec, "low", text(bar.dLow));
        SetField(rec, "open", text(bar.dOpen));
        SetField(rec, "average", FormatDouble(dAverage, 4));
        SetField(rec, "deviation", FormatDouble(dDeviation, 4));
        SetField(rec, "ref", strRef);
        rows.push_back(std::move(rec));
    }
    return true;
}
