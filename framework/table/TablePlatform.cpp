#include "framework/table/TablePlatform.h"
#include <sys/mman.h>
#include <cstdint>
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/SysMetrics.h"

static TABLEBEEPPROC s_pfnBeep = nullptr;

void TableSetBeepProc(TABLEBEEPPROC pfnBeep)
{
    s_pfnBeep = pfnBeep;
}

void TableBeep()
{
    if (s_pfnBeep)
        s_pfnBeep();
    else
        MessageBeep(0);
}

int TableScreenWidth()
{
    // Without a screen, a width no screen of the day exceeds.
    int nWidth = GetSystemMetrics(SM_CXSCREEN);
    return nWidth > 0 ? nWidth : 8192;
}

BOOL TableMemoryLoad(double* pdUsedPercent)
{
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    if (status.dwTotalPhys == 0)
        return FALSE;
    *pdUsedPercent = 100.0 - (100.0 / static_cast<double>(status.dwTotalPhys)) * static_cast<double>(status.dwAvailPhys);
    return TRUE;
}

void* TableReserveRange(size_t nSize, size_t nAlign)
{
    if (nSize == 0 || nAlign == 0 || (nAlign & (nAlign - 1)) != 0 || nSize > SIZE_MAX - nAlign)
        return nullptr;
    void* p = mmap(nullptr, nSize + nAlign, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    // The unaligned head and the tail past the range go back.
    uintptr_t nStart = reinterpret_cast<uintptr_t>(p);
    uintptr_t nAligned = (nStart + nAlign - 1) & ~static_cast<uintptr_t>(nAlign - 1);
    if (nAligned > nStart)
        munmap(p, nAligned - nStart);
    size_t nTail = nStart + nSize + nAlign - (nAligned + nSize);
    if (nTail > 0)
        munmap(reinterpret_cast<void*>(nAligned + nSize), nTail);
    return reinterpret_cast<void*>(nAligned);
}

BOOL TableCommitRange(void* pStart, size_t nSize)
{
    if (!pStart || mprotect(pStart, nSize, PROT_READ | PROT_WRITE) != 0)
        return FALSE;
#if defined(MADV_HUGEPAGE)
    // One page table entry per chunk: walks that touch nodes all over then miss the address
    // cache far less often.
    madvise(pStart, nSize, MADV_HUGEPAGE);
#endif
    return TRUE;
}
