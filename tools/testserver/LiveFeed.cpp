#include "tools/testserver/LiveFeed.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A price of nUnits / 10^nDecimals with its '.', written without a double: one per field of every
// live line, so it must be cheap.
static std::string FormatFixed(long nUnits, int nDecimals)
{
    char sz[32];
    char* p = sz + sizeof sz;
    const bool bNegative = nUnits < 0;
    unsigned long n = bNegative ? 0ul - static_cast<unsigned long>(nUnits) : static_cast<unsigned long>(nUnits);
    for (int i = 0; i < nDecimals || n > 0 || i <= nDecimals; ++i) {
        if (i == nDecimals)
            *--p = '.';
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    if (bNegative)
        *--p = '-';
    return std::string(p, static_cast<size_t>(sz + sizeof sz - p));
}

void CLiveFeed::Init(const std::vector<CRecord>* pSymbols, unsigned long nSeed)
{
    m_rng.seed(nSeed);
    m_walks.clear();
    m_nCount = 0;
    if (!pSymbols)
        return;
    for (const CRecord& rec : *pSymbols) {
        auto itPrice = rec.find("price"), itTick = rec.find("tick"), itFeed = rec.find("feed");
        if (itPrice == rec.end() || itTick == rec.end() || itFeed == rec.end() || itFeed->second != "1")
            continue;
        const double dTick = atof(itTick->second.c_str());
        if (dTick <= 0)
            continue;
        const char* pszDot = strchr(itTick->second.c_str(), '.');
        const int nDecimals = pszDot ? static_cast<int>(strlen(pszDot + 1)) : 0;
        const long nTicks = lround(atof(itPrice->second.c_str()) / dTick);
        const int nShown = nDecimals < 1 ? 1 : nDecimals;
        m_walks.push_back({&rec, nTicks, nTicks, nTicks, nTicks, 0, 0, lround(dTick * pow(10.0, nShown)), nShown});
    }
}

const CRecord& CLiveFeed::Next()
{
    if (m_walks.empty())
        return m_rec;
    const uint64_t r = m_rng();
    Walk& w = m_walks[r % m_walks.size()];
    // A step of -2..2 ticks that never takes the price below one tick.
    const long nStep = static_cast<long>((r >> 20) % 5) - 2;
    if (w.nTicks + nStep >= 1)
        w.nTicks += nStep;
    w.nHigh = std::max(w.nHigh, w.nTicks);
    w.nLow = std::min(w.nLow, w.nTicks);
    w.nVolume += static_cast<long long>((r >> 32) % 50 + 1) * 100;
    ++w.nTrades;
    auto price = [&](long nTicks) { return FormatFixed(nTicks * w.nTickUnits, w.nDecimals); };
    for (const char* pszField : {"symbol", "market", "name", "name_ar"}) {
        auto it = w.pSymbol->find(pszField);
        m_rec[pszField] = it == w.pSymbol->end() ? "" : it->second;
    }
    m_rec["last"] = price(w.nTicks);
    m_rec["bid"] = price(w.nTicks - 1);
    m_rec["ask"] = price(w.nTicks + 1);
    m_rec["bidsize"] = std::to_string((r >> 40) % 20 + 1);
    m_rec["asksize"] = std::to_string((r >> 48) % 20 + 1);
    m_rec["open"] = price(w.nStartTicks);
    m_rec["reference"] = price(w.nStartTicks);
    m_rec["high"] = price(w.nHigh);
    m_rec["low"] = price(w.nLow);
    m_rec["trades"] = std::to_string(w.nTrades);
    m_rec["volume"] = std::to_string(w.nVolume);
    m_rec["seq"] = std::to_string(m_nCount++);
    return m_rec;
}
