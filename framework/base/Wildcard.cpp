#include "framework/base/Wildcard.h"

#include <cctype>
#include <string>

namespace {
const int MAX_WILDCARD_RUNS = 20;

BOOL TooManyRuns(const char* p)
{
    int nStars = 0, nMarks = 0;
    char chPrev = '\0';
    for (; *p; ++p) {
        if (*p == '\\') {
            if (p[1] == '\0')
                break;
            ++p;
            chPrev = '\0';
            continue;
        }
        if (*p == '*' && chPrev != '*')
            ++nStars;
        else if (*p == '?' && chPrev != '?')
            ++nMarks;
        chPrev = *p;
    }
    return nStars > MAX_WILDCARD_RUNS || nMarks > MAX_WILDCARD_RUNS;
}

bool Same(char a, char b, BOOL bCaseSensitive)
{
    if (bCaseSensitive)
        return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}
}  // namespace

BOOL MatchWildcard(const char* pszPattern, const char* pszText, BOOL bCaseSensitive)
{
    if (pszPattern == nullptr || pszText == nullptr || TooManyRuns(pszPattern))
        return FALSE;
    const char* p = pszPattern;
    const char* t = pszText;
    const char* pStar = nullptr;        // the pattern just after the last '*'
    const char* tStar = nullptr;        // where the text stood when it was met
    while (*t) {
        if (*p == '*') {
            while (*p == '*')
                ++p;
            pStar = p;
            tStar = t;
            continue;
        }
        if (*p == '?') {
            ++p;
            ++t;
            continue;
        }
        // A lone '\' at the end stands for itself.
        int nLength = (*p == '\\' && p[1] != '\0') ? 2 : 1;
        char chLiteral = p[nLength - 1];
        if (chLiteral != '\0' && Same(chLiteral, *t, bCaseSensitive)) {
            p += nLength;
            ++t;
            continue;
        }
        if (pStar == nullptr)
            return FALSE;
        // Let the last '*' swallow one more character and try again from there.
        p = pStar;
        t = ++tStar;
    }
    while (*p == '*')
        ++p;
    return *p == '\0';
}

void CollapseStarRuns(CTBString& strPattern)
{
    std::string strOut;
    for (const char* p = strPattern; *p; ++p)
        if (!(*p == '*' && p[1] == '*'))
            strOut += *p;
    if (static_cast<int>(strOut.size()) != strPattern.GetLength())
        strPattern = strOut.c_str();
}
