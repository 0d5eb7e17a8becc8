#pragma once
// The C runtime's 64-bit time as the original used it: seconds since 1970 in a 64-bit value,
// broken down in local time or UTC. Times before 1970 or after 3000 are refused (null, or
// EINVAL from the _s form), as the original's runtime refuses them.
#include <cstdint>
#include <ctime>

typedef int64_t __time64_t;

__time64_t _time64(__time64_t* pTime);
struct tm* _localtime64(const __time64_t* pTime);       // a per-thread buffer
struct tm* _gmtime64(const __time64_t* pTime);
int        _localtime64_s(struct tm* pTm, const __time64_t* pTime);
__time64_t _mktime64(struct tm* pTm);                   // normalises pTm; -1 when out of range
