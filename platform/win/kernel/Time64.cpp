// 64-bit time over the C library's time_t, which is 64 bits wide here.
#include "platform/win/kernel/Time64.h"

#include <cerrno>
#include <cstring>

namespace {
// 3000-12-31 23:59:59 UTC, the original runtime's last representable second.
const __time64_t MAX_TIME64 = 32535215999LL;

bool InRange(const __time64_t* pTime)
{
    return pTime && *pTime >= 0 && *pTime <= MAX_TIME64;
}

thread_local struct tm t_tm;
}  // namespace

__time64_t _time64(__time64_t* pTime)
{
    const __time64_t t = static_cast<__time64_t>(time(nullptr));
    if (pTime)
        *pTime = t;
    return t;
}

int _localtime64_s(struct tm* pTm, const __time64_t* pTime)
{
    if (!pTm)
        return EINVAL;
    const time_t t = InRange(pTime) ? static_cast<time_t>(*pTime) : 0;
    if (!InRange(pTime) || !localtime_r(&t, pTm)) {
        std::memset(pTm, 0xFF, sizeof(*pTm));      // the original marks a refused result this way
        return EINVAL;
    }
    return 0;
}

struct tm* _localtime64(const __time64_t* pTime)
{
    if (!InRange(pTime))
        return nullptr;
    const time_t t = static_cast<time_t>(*pTime);
    return localtime_r(&t, &t_tm);
}

struct tm* _gmtime64(const __time64_t* pTime)
{
    if (!InRange(pTime))
        return nullptr;
    const time_t t = static_cast<time_t>(*pTime);
    return gmtime_r(&t, &t_tm);
}

__time64_t _mktime64(struct tm* pTm)
{
    if (!pTm)
        return -1;
    struct tm tmCopy = *pTm;
    const time_t t = mktime(&tmCopy);
    const __time64_t t64 = static_cast<__time64_t>(t);
    if (t == static_cast<time_t>(-1) || !InRange(&t64))
        return -1;
    *pTm = tmCopy;
    return t64;
}
