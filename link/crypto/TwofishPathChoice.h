#pragma once
// How runs of blocks choose between the interleaved and the vector path, once per process.
// Internal to the cipher (Twofish.cpp asks on first use); the tests give the choice trial times
// of their own.
#include "link/crypto/Twofish.h"

// One trial: how long the same run of blocks took on the path, in seconds.
typedef double (*TwofishTrialFn)(int nPath, void* pContext);

// Trials of the two paths in pairs, side by side in time and in turns which goes first, so that
// a disturbance lasting longer than a pair falls on both. The vector path is chosen only when it
// was clearly faster (at most VECTOR_SHARE of the interleaved time) in three pairs of four over
// at least two rounds; the interleaved path as soon as the vector one was not clearly faster in
// half the pairs, and whenever the rounds or their time run out undecided, or a time is not a
// time. Some CPUs serve the vector path's gathers more slowly than scalar loads, and the choice
// holds for the life of the process, so a doubt keeps the path that is never far behind.
int TwofishChoosePath(TwofishTrialFn pfnTrial, void* pContext);

#define TWOFISH_CHOICE_PAIRS_PER_ROUND 8
#define TWOFISH_CHOICE_MIN_ROUNDS 2
#define TWOFISH_CHOICE_MAX_ROUNDS 6
#define TWOFISH_CHOICE_VECTOR_SHARE 0.8     // the vector time over the interleaved time to call a pair clear
#define TWOFISH_CHOICE_BUDGET_SECONDS 0.003 // trial time after which the choice stays undecided

// The choice on this machine: TwofishChoosePath over timed runs of the cipher, or the
// interleaved path where the vector one is missing.
int TwofishPickPath();
