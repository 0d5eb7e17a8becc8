// The choice between the interleaved and the vector path, fed with trial times of a machine the
// test makes up: a vector path clearly faster is taken, one a little faster or slower is not, a
// load that lands on one path's trials does not turn the choice, and the trials stay within
// their time whatever the clock says.
#include "link/crypto/TwofishPathChoice.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <random>

namespace {

// A made-up machine: each path's true time, and a load that comes and goes in bursts and
// stretches every trial it falls on.
struct Machine
{
    double dInterleaved;
    double dVector;
    double dLoadStarts = 0;             // chance that a load begins at a trial
    double dLoadStays = 0;              // chance that it goes on to the next trial
    std::mt19937 rng{1};
    bool bLoaded = false;
    int nTrials = 0;
    double dSpent = 0;
    // The trials of the interleaved path up to this count are stretched by dFirstStretch.
    int nStretchInterleavedUpTo = 0;
    double dFirstStretch = 1;
    double dVectorEveryOther = 0;       // when set, every second vector trial takes this long
    int nVectorTrials = 0;
    double dPace = 1;                   // every trial this share of the one before: a clock speeding up

    static double Run(int nPath, void* pContext)
    {
        Machine& m = *static_cast<Machine*>(pContext);
        std::uniform_real_distribution<double> unit(0, 1);
        m.bLoaded = m.bLoaded ? unit(m.rng) < m.dLoadStays : unit(m.rng) < m.dLoadStarts;
        double d = nPath == TWOFISH_PATH_AVX2 ? m.dVector : m.dInterleaved;
        if (nPath == TWOFISH_PATH_AVX2 && m.dVectorEveryOther > 0 && m.nVectorTrials++ % 2 == 1)
            d = m.dVectorEveryOther;
        if (nPath == TWOFISH_PATH_INTERLEAVED && m.nTrials < m.nStretchInterleavedUpTo)
            d *= m.dFirstStretch;
        if (m.bLoaded)
            d *= 1.5 + 4 * unit(m.rng);
        d *= std::pow(m.dPace, m.nTrials);
        ++m.nTrials;
        if (std::isfinite(d))
            m.dSpent += d;
        return d;
    }
    int Choose() { return TwofishChoosePath(Run, this); }
};

const double US = 1e-6;
const int MAX_TRIALS = 2 * TWOFISH_CHOICE_PAIRS_PER_ROUND * TWOFISH_CHOICE_MAX_ROUNDS;

} // namespace

TEST(TwofishPathChoice, VectorPathOnlyWhenItsTrialsAreClearlyFaster)
{
    const struct { double dInterleaved, dVector, dVectorEveryOther, dPace; int nExpected; const char* pszWhat; } cases[] = {
        {5 * US, 2.5 * US, 0, 1, TWOFISH_PATH_AVX2, "twice as fast"},
        {5 * US, 3.9 * US, 0, 1, TWOFISH_PATH_AVX2, "just inside the margin"},
        {5 * US, 4.1 * US, 0, 1, TWOFISH_PATH_INTERLEAVED, "just outside the margin"},
        {5 * US, 5 * US, 0, 1, TWOFISH_PATH_INTERLEAVED, "as fast"},
        {5 * US, 8.5 * US, 0, 1, TWOFISH_PATH_INTERLEAVED, "slower, as gathers are on some CPUs"},
        {5 * US, 2.5 * US, 5 * US, 1, TWOFISH_PATH_INTERLEAVED, "twice as fast in every other pair only, to the end"},
        {5 * US, 5 * US, 0, 0.75, TWOFISH_PATH_INTERLEAVED, "as fast, on a clock that speeds up from trial to trial"},
        {0, 0, 0, 1, TWOFISH_PATH_INTERLEAVED, "a clock too coarse to see a trial"},
        {5 * US, -1 * US, 0, 1, TWOFISH_PATH_INTERLEAVED, "a clock that went back"},
        {5 * US, NAN, 0, 1, TWOFISH_PATH_INTERLEAVED, "not a time"},
        {1000 * US, 500 * US, 0, 1, TWOFISH_PATH_INTERLEAVED, "trials so slow that their time runs out"},
    };
    for (const auto& c : cases) {
        Machine m{c.dInterleaved, c.dVector};
        m.dVectorEveryOther = c.dVectorEveryOther;
        m.dPace = c.dPace;
        EXPECT_EQ(c.nExpected, m.Choose()) << c.pszWhat;
        EXPECT_LE(m.nTrials, MAX_TRIALS) << c.pszWhat;
        // The budget is looked at after every pair: it is passed by one pair at most.
        EXPECT_LE(m.dSpent, TWOFISH_CHOICE_BUDGET_SECONDS + 2 * std::max(c.dInterleaved, c.dVector)) << c.pszWhat;
    }
}

TEST(TwofishPathChoice, LoadOnOnePathsFirstTrialsDoesNotChooseTheSlowerPath)
{
    // Every interleaved trial of the first round three times as long as it is: one round alone
    // would take the vector path, 1.7 times slower in truth.
    Machine m{5 * US, 8.5 * US};
    m.nStretchInterleavedUpTo = 2 * TWOFISH_CHOICE_PAIRS_PER_ROUND;
    m.dFirstStretch = 3;
    EXPECT_EQ(TWOFISH_PATH_INTERLEAVED, m.Choose());
}

TEST(TwofishPathChoice, OnALoadedMachineTheSlowerVectorPathIsNeverTakenAndTheFasterOneMostly)
{
    // Bursts of load of a few trials each, on about a third of the trials, in a thousand fresh
    // processes.
    int nSlowTaken = 0, nFastTaken = 0, nMostTrials = 0;
    for (unsigned nSeed = 1; nSeed <= 1000; ++nSeed) {
        Machine slow{5 * US, 8.5 * US, 0.15, 0.7};
        slow.rng.seed(nSeed);
        nSlowTaken += slow.Choose() == TWOFISH_PATH_AVX2;
        Machine fast{5 * US, 2.5 * US, 0.15, 0.7};
        fast.rng.seed(nSeed);
        nFastTaken += fast.Choose() == TWOFISH_PATH_AVX2;
        nMostTrials = std::max({nMostTrials, slow.nTrials, fast.nTrials});
    }
    EXPECT_EQ(0, nSlowTaken);
    EXPECT_GE(nFastTaken, 900);
    EXPECT_LE(nMostTrials, MAX_TRIALS);
}
