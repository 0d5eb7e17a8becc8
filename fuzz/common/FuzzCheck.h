#pragma once
// A property a fuzz target asserts. A broken property aborts, so libFuzzer keeps the input as a
// crash and the replay of a kept input fails the test run.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void TbFuzzFail(const char* pszWhat, const char* pszCondition, const char* pszFile, int nLine)
{
    std::fprintf(stderr, "property failed: %s\n  %s\n  at %s:%d\n", pszWhat, pszCondition, pszFile, nLine);
    std::abort();
}

#define FUZZ_CHECK(cond, what)                                   \
    do {                                                         \
        if (!(cond))                                             \
            TbFuzzFail((what), #cond, __FILE__, __LINE__);       \
    } while (0)
