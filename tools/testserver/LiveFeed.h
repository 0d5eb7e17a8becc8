#pragma once
// The live lines until the market model takes over: quotation records of the symbol table,
// each price a step of its tick from the last, drawn from one generator seeded by --seed. Record
// k is the same in every run with the same seed and data, whoever is connected.
#include <cstdint>
#include <random>
#include <vector>
#include "tools/testserver/Records.h"

class CLiveFeed
{
public:
    // Symbols are the records of the table with "feed" 1 and a "price" and a "tick" field.
    void Init(const std::vector<CRecord>* pSymbols, unsigned long nSeed);
    // The next record: symbol, market, name, name_ar, last, bid, ask, bidsize, asksize, open,
    // high, low, reference, trades, volume, and "seq", its number in the feed.
    const CRecord& Next();
    uint64_t GetCount() const { return m_nCount; }
private:
    struct Walk {
        const CRecord* pSymbol;
        long nTicks, nStartTicks, nHigh, nLow;
        long long nVolume, nTrades;
        long nTickUnits;        // the tick in units of the last decimal shown
        int nDecimals;
    };
    std::vector<Walk> m_walks;
    std::mt19937_64 m_rng;
    CRecord m_rec;
    uint64_t m_nCount = 0;
};
