// The last error, ticks, sleeping and the memory status.
#include "platform/win/kernel/Kernel.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <unistd.h>

namespace {
thread_local DWORD t_dwLastError = ERROR_SUCCESS;
thread_local LCID t_lcid = 1033;
std::atomic<UINT> s_uErrorMode{0};

// Reads the "Name:   1234 kB" lines we need from /proc/meminfo; FALSE when it is unreadable.
BOOL ReadMemInfo(ULONGLONG& ullTotal, ULONGLONG& ullAvail, ULONGLONG& ullSwapTotal, ULONGLONG& ullSwapFree)
{
    FILE* pFile = std::fopen("/proc/meminfo", "r");
    if (!pFile)
        return FALSE;
    ullTotal = ullAvail = ullSwapTotal = ullSwapFree = 0;
    ULONGLONG ullFree = 0;
    BOOL bAvail = FALSE;
    char szLine[256];
    while (std::fgets(szLine, sizeof(szLine), pFile)) {
        char szName[64];
        unsigned long long ullKb = 0;
        if (std::sscanf(szLine, "%63[^:]: %llu", szName, &ullKb) != 2)
            continue;
        const ULONGLONG ullBytes = ullKb * 1024ULL;
        if (std::strcmp(szName, "MemTotal") == 0) ullTotal = ullBytes;
        else if (std::strcmp(szName, "MemAvailable") == 0) { ullAvail = ullBytes; bAvail = TRUE; }
        else if (std::strcmp(szName, "MemFree") == 0) ullFree = ullBytes;
        else if (std::strcmp(szName, "SwapTotal") == 0) ullSwapTotal = ullBytes;
        else if (std::strcmp(szName, "SwapFree") == 0) ullSwapFree = ullBytes;
    }
    std::fclose(pFile);
    if (!bAvail)            // old kernels have no MemAvailable line
        ullAvail = ullFree;
    return ullTotal != 0;
}
}  // namespace

DWORD GetLastError()
{
    return t_dwLastError;
}

void SetLastError(DWORD dwError)
{
    t_dwLastError = dwError;
}

ULONGLONG GetTickCount64()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<ULONGLONG>(ts.tv_sec) * 1000ULL + static_cast<ULONGLONG>(ts.tv_nsec) / 1000000ULL;
}

DWORD GetTickCount()
{
    return static_cast<DWORD>(GetTickCount64());
}

void Sleep(DWORD dwMilliseconds)
{
    timespec ts {static_cast<time_t>(dwMilliseconds / 1000), static_cast<long>(dwMilliseconds % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

void GlobalMemoryStatus(LPMEMORYSTATUS pStatus)
{
    if (!pStatus)
        return;
    ULONGLONG ullTotal = 0, ullAvail = 0, ullSwapTotal = 0, ullSwapFree = 0;
    if (!ReadMemInfo(ullTotal, ullAvail, ullSwapTotal, ullSwapFree)) {
        // Unknown memory reads as plenty rather than as none: a guard that sees 0 would refuse all work.
        ullTotal = ullAvail = 1ULL << 32;
    }
    pStatus->dwLength = sizeof(MEMORYSTATUS);
    pStatus->dwMemoryLoad = static_cast<DWORD>(ullTotal ? (ullTotal - ullAvail) * 100 / ullTotal : 0);
    pStatus->dwTotalPhys = static_cast<SIZE_T>(ullTotal);
    pStatus->dwAvailPhys = static_cast<SIZE_T>(ullAvail);
    pStatus->dwTotalPageFile = static_cast<SIZE_T>(ullTotal + ullSwapTotal);
    pStatus->dwAvailPageFile = static_cast<SIZE_T>(ullAvail + ullSwapFree);
    // The user address space of a 64-bit process, less what this process has mapped.
    const ULONGLONG ullSpace = 1ULL << 47;
    ULONGLONG ullMapped = 0;
    if (FILE* pFile = std::fopen("/proc/self/statm", "r")) {
        unsigned long long ullPages = 0;
        if (std::fscanf(pFile, "%llu", &ullPages) == 1)
            ullMapped = ullPages * static_cast<ULONGLONG>(sysconf(_SC_PAGESIZE));
        std::fclose(pFile);
    }
    pStatus->dwTotalVirtual = static_cast<SIZE_T>(ullSpace);
    pStatus->dwAvailVirtual = static_cast<SIZE_T>(ullMapped < ullSpace ? ullSpace - ullMapped : 0);
}

UINT SetErrorMode(UINT uMode)
{
    return s_uErrorMode.exchange(uMode);
}

BOOL SetThreadLocale(LCID lcid)
{
    if (lcid == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    t_lcid = lcid;
    return TRUE;
}

LCID GetThreadLocale()
{
    return t_lcid;
}

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    const long long llDivisor = nDenominator < 0 ? -static_cast<long long>(nDenominator) : nDenominator;
    long long llProduct = static_cast<long long>(nNumber) * nNumerator;
    // Round half away from zero, on the sign of the whole quotient.
    const bool bNegative = (llProduct < 0) != (nDenominator < 0);
    if (llProduct < 0)
        llProduct = -llProduct;
    long long llResult = (llProduct + llDivisor / 2) / llDivisor;
    if (bNegative)
        llResult = -llResult;
    if (llResult > 0x7FFFFFFFLL || llResult < -0x80000000LL)
        return -1;
    return static_cast<int>(llResult);
}
