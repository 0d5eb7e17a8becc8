#include "tools/testserver/LiveFeed.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void CLiveFeed::Init(const std::vector<CRecord>* pSymbols, unsigned long nSeed)
{
    m_rng.seed(nSeed);
    m_walks.clear();
    m_nCount = 0;
    if (!pSymbols)
        return;
    for (const CRecord& rec : *pSymbols) {
        auto itPrice = rec.find("price"), itTick = rec.find("tick");
        if (itPrice == rec.end() || itTick == rec.end())
            continue;
        const double dTick = atof(itTick->second.c_str());
        if (dTick <= 0)
            continue;
        const char* pszDot = strchr(itTick->second.c_str(), '.');
        const int nDecimals = pszDot ? static_cast<int>(strlen(pszDot + 1)) : 0;
        const long nTicks = lround(atof(itPrice->second.c_str()) / dTick);
        m_walks.push_back({&rec, nTicks, nTicks, 0, dTick, nDecimals < 1 ? 1 : nDecimals});
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
    w.nVolume += static_cast<long long>((r >> 32) % 50 + 1) * 100;
    char szLast[32], szChange[32];
    snprintf(szLast, sizeof szLast, "%.*f", w.nDecimals, static_cast<double>(w.nTicks) * w.dTick);
    snprintf(szChange, sizeof szChange, "%.*f", w.nDecimals, static_cast<double>(w.nTicks - w.nStartTicks) * w.dTick);
    m_rec["symbol"] = w.pSymbol->at("symbol");
    m_rec["market"] = w.pSymbol->count("market") ? w.pSymbol->at("market") : "";
    m_rec["last"] = szLast;
    m_rec["change"] = szChange;
    m_rec["volume"] = std::to_string(w.nVolume);
    m_rec["seq"] = std::to_string(m_nCount++);
    return m_rec;
}
