#pragma once
// The few window-system services the engine needs, behind small functions until the framework's
// drawing utilities and the window layer offer them; then these forward and can go.
#include "platform/win/WinTypes.h"

// '*' any run, '?' one character, '\' makes the next one literal; more than 20 runs of '*' or
// '?' match nothing. Without case sensitivity both sides are lower-cased first.
BOOL TableMatchWildcard(const char* pszPattern, const char* pszText, BOOL bCaseSensitive);
// Replaces each run of '*' by one.
void TableCollapseStarRuns(char* pszPattern);
// MessageBeep(0) for a refused action; the framework's beep flag is the caller's business.
void TableBeep();
// The widest a column may be made: the screen width.
int  TableScreenWidth();
// Percent of physical memory in use; FALSE when unknown.
BOOL TableMemoryLoad(double* pdUsedPercent);

// The application (or a test) plugs the window system's services in.
typedef void (*TABLEBEEPPROC)();
typedef int (*TABLESCREENPROC)();
void TableSetPlatformProcs(TABLEBEEPPROC pfnBeep, TABLESCREENPROC pfnScreenWidth);
