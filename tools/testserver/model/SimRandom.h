#pragma once
// The model's only source of chance: splitmix64, written out here so that a seed gives the
// same market on every machine and with every C++ library (the std distributions differ).
#include <cstdint>

class CSimRandom
{
public:
    explicit CSimRandom(uint64_t nSeed = 0) : m_nState(nSeed) {}
    uint64_t Next()
    {
        uint64_t z = (m_nState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to nBound - 1; 0 when nBound is not above 0. The multiply-shift keeps it unbiased
    // enough for a simulation and free of a division.
    int Below(int nBound)
    {
        if (nBound <= 0)
            return 0;
        return static_cast<int>(((Next() >> 32) * static_cast<uint64_t>(nBound)) >> 32);
    }
    // nLow to nHigh, both included.
    int Between(int nLow, int nHigh) { return nHigh <= nLow ? nLow : nLow + Below(nHigh - nLow + 1); }
    bool Chance(int nPercent) { return Below(100) < nPercent; }
private:
    uint64_t m_nState;
};
