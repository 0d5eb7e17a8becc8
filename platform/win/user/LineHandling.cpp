#include "platform/win/user/LineHandling.h"

#include <cstdio>

namespace {
int s_nLineDepth = 0;
BOOL s_bReported = FALSE;           // the line being handled was reported already
TBMODALINLINEREPORT s_pfnReport = nullptr;
}  // namespace

void TbBeginLineHandling()
{
    if (s_nLineDepth++ == 0)
        s_bReported = FALSE;
}

void TbEndLineHandling()
{
    if (s_nLineDepth > 0)
        --s_nLineDepth;
}

BOOL TbIsHandlingLine()
{
    return s_nLineDepth > 0;
}

TBMODALINLINEREPORT TbSetModalInLineReport(TBMODALINLINEREPORT pfnReport)
{
    const TBMODALINLINEREPORT pfnBefore = s_pfnReport;
    s_pfnReport = pfnReport;
    return pfnBefore;
}

void TbCheckModalStart(LPCSTR pszWhat)
{
    if (s_nLineDepth == 0 || s_bReported)
        return;
    s_bReported = TRUE;
    if (s_pfnReport != nullptr)
        s_pfnReport(pszWhat);
    else
        fprintf(stderr, "a %s was opened inside the handler of a server line\n", pszWhat);
}
