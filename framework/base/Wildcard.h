#pragma once
// Wildcard patterns of the table filters and the fast find: '*' any run of characters (none
// too), '?' exactly one, '\' makes the next character literal.
#include "framework/base/TBString.h"

// A pattern with more than 20 runs of '*', or more than 20 of '?', matches nothing. Without case
// sensitivity characters compare after the C library's lower-casing.
BOOL MatchWildcard(const char* pszPattern, const char* pszText, BOOL bCaseSensitive);
// Replaces each run of '*' by a single '*'.
void CollapseStarRuns(CTBString& strPattern);
