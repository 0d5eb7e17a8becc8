#include "framework/table/TablePlatform.h"
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
