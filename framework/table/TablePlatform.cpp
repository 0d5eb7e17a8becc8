#include "framework/table/TablePlatform.h"
#include <cstring>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"

static TABLEBEEPPROC s_pfnBeep = nullptr;
static TABLESCREENPROC s_pfnScreenWidth = nullptr;

void TableSetPlatformProcs(TABLEBEEPPROC pfnBeep, TABLESCREENPROC pfnScreenWidth)
{
    s_pfnBeep = pfnBeep;
    s_pfnScreenWidth = pfnScreenWidth;
}

void TableBeep()
{
    if (s_pfnBeep)
        s_pfnBeep();
}

int TableScreenWidth()
{
    // Without a window system, a width no screen of the day exceeds.
    int nWidth = s_pfnScreenWidth ? s_pfnScreenWidth() : 0;
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

void TableCollapseStarRuns(char* pszPattern)
{
    if (!pszPattern)
        return;
    char* pszOut = pszPattern;
    for (const char* psz = pszPattern; *psz; ++psz)
        if (*psz != '*' || pszOut == pszPattern || pszOut[-1] != '*')
            *pszOut++ = *psz;
    *pszOut = '\0';
}

static char Fold(char ch, BOOL bCaseSensitive)
{
    return bCaseSensitive ? ch : static_cast<char>(TbToLower(static_cast<BYTE>(ch)));
}

BOOL TableMatchWildcard(const char* pszPattern, const char* pszText, BOOL bCaseSensitive)
{
    if (!pszPattern || !pszText)
        return FALSE;
    // A pattern of many wildcard runs could take long to match: refuse it.
    int nRuns = 0;
    for (const char* psz = pszPattern; *psz; ++psz) {
        if (*psz == '\\' && psz[1]) {
            ++psz;
            continue;
        }
        if ((*psz == '*' || *psz == '?') && (psz == pszPattern || psz[-1] != *psz))
            ++nRuns;
    }
    if (nRuns > 20)
        return FALSE;
    const char* pszP = pszPattern;
    const char* pszT = pszText;
    const char* pszStarP = nullptr;
    const char* pszStarT = nullptr;
    while (*pszT) {
        if (*pszP == '*') {
            while (*pszP == '*')
                ++pszP;
            pszStarP = pszP;
            pszStarT = pszT;
            continue;
        }
        BOOL bLiteral = *pszP == '\\' && pszP[1];
        char chP = bLiteral ? pszP[1] : *pszP;
        if (chP && ((!bLiteral && chP == '?') || Fold(chP, bCaseSensitive) == Fold(*pszT, bCaseSensitive))) {
            pszP += bLiteral ? 2 : 1;
            ++pszT;
            continue;
        }
        if (!pszStarP)
            return FALSE;
        pszP = pszStarP;
        pszT = ++pszStarT;
    }
    while (*pszP == '*')
        ++pszP;
    return *pszP == '\0';
}
