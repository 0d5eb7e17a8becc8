#include "link/crypto/TwofishPathChoice.h"
#include <chrono>
#include <cmath>

int TwofishChoosePath(TwofishTrialFn pfnTrial, void* pContext)
{
    int nPairs = 0, nClear = 0;
    double dSpent = 0;
    for (int nRound = 1; nRound <= TWOFISH_CHOICE_MAX_ROUNDS; ++nRound) {
        for (int i = 0; i < TWOFISH_CHOICE_PAIRS_PER_ROUND; ++i) {
            double dInterleaved, dVector;
            if (i % 2 == 0) {
                dInterleaved = pfnTrial(TWOFISH_PATH_INTERLEAVED, pContext);
                dVector = pfnTrial(TWOFISH_PATH_AVX2, pContext);
            } else {
                dVector = pfnTrial(TWOFISH_PATH_AVX2, pContext);
                dInterleaved = pfnTrial(TWOFISH_PATH_INTERLEAVED, pContext);
            }
            // A clock that does not tell the two apart decides nothing.
            if (!(dInterleaved > 0) || !(dVector > 0) || !std::isfinite(dInterleaved) || !std::isfinite(dVector))
                return TWOFISH_PATH_INTERLEAVED;
            ++nPairs;
            nClear += dVector <= TWOFISH_CHOICE_VECTOR_SHARE * dInterleaved;
            dSpent += dInterleaved + dVector;
            if (dSpent > TWOFISH_CHOICE_BUDGET_SECONDS)
                return TWOFISH_PATH_INTERLEAVED;
        }
        if (nRound < TWOFISH_CHOICE_MIN_ROUNDS)
            continue;
        if (4 * nClear >= 3 * nPairs)
            return TWOFISH_PATH_AVX2;
        if (2 * nClear < nPairs)
            return TWOFISH_PATH_INTERLEAVED;
    }
    return TWOFISH_PATH_INTERLEAVED;
}

namespace {

// A short run deciphered in place under a fixed key: what the link does with what it reads.
struct Trial
{
    static const size_t BLOCKS = 128;
    TwofishKeyInstance key;
    BYTE scratch[BLOCKS * TWOFISH_BLOCK_BYTES] = {};

    static double Run(int nPath, void* pContext)
    {
        Trial& t = *static_cast<Trial*>(pContext);
        const auto start = std::chrono::steady_clock::now();
        TwofishDecryptRun(nPath, &t.key, t.scratch, BLOCKS, t.scratch);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

} // namespace

int TwofishPickPath()
{
    if (!TwofishPathAvailable(TWOFISH_PATH_AVX2))
        return TWOFISH_PATH_INTERLEAVED;
    Trial trial;
    TwofishMakeKey(&trial.key, TWOFISH_DIR_DECRYPT, TWOFISH_KEY_BITS, "00000000000000000000000000000000");
    // One untimed run each first: the tables into the cache, the vector unit awake.
    Trial::Run(TWOFISH_PATH_INTERLEAVED, &trial);
    Trial::Run(TWOFISH_PATH_AVX2, &trial);
    const int nPath = TwofishChoosePath(Trial::Run, &trial);
    TwofishWipeKey(&trial.key);
    return nPath;
}
