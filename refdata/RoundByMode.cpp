#include "refdata/RoundByMode.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// The shortest significant digits of |dValue| that read back to it, and the power of ten of
// the first: |dValue| = 0.d1d2...dn x 10^(nExponent + 1).
int ShortestDigits(double dValue, char* pszDigits, int* pnExponent)
{
    char szText[40];
    for (int nPrecision = 1; nPrecision <= 17; ++nPrecision) {
        snprintf(szText, sizeof(szText), "%.*e", nPrecision - 1, dValue);
        if (strtod(szText, nullptr) == dValue || nPrecision == 17)
            break;
    }
    int n = 0;
    const char* p = szText;
    for (; *p != 'e' && *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9')
            pszDigits[n++] = *p;
    }
    while (n > 1 && pszDigits[n - 1] == '0')
        --n;                                        // the rounding below needs a non-zero tail
    pszDigits[n] = '\0';
    *pnExponent = *p == 'e' ? atoi(p + 1) : 0;
    return n;
}
}  // namespace

double RoundByMode(int nMode, double dValue, int nDecimals)
{
    if (nMode != ROUND_HALF_UP && nMode != ROUND_UP && nMode != ROUND_DOWN)
        return 0.0;
    if (!std::isfinite(dValue) || dValue == 0.0)
        return dValue;
    // Far beyond a double's range either way: nothing to round, or everything rounds away.
    if (nDecimals > 400)
        return dValue;
    if (nDecimals < -400)
        nDecimals = -400;
    const BOOL bNegative = dValue < 0;
    char szDigits[24];
    int nExponent = 0;
    const int nDigits = ShortestDigits(std::fabs(dValue), szDigits, &nExponent);
    const int nKeep = nExponent + 1 + nDecimals;        // digits left of the rounding point
    if (nKeep >= nDigits)
        return dValue;                                  // already within the decimals
    unsigned long long nKept = 0;
    for (int i = 0; i < nKeep; ++i)
        nKept = nKept * 10 + static_cast<unsigned>(szDigits[i] - '0');
    // How the dropped digits compare with half a unit of the last kept place.
    int nHalf = -1;                                     // below
    if (nKeep >= 0) {
        const int nFirst = szDigits[nKeep] - '0';
        BOOL bRest = FALSE;
        for (int i = nKeep + 1; i < nDigits; ++i)
            bRest = bRest || szDigits[i] != '0';
        nHalf = nFirst > 5 || (nFirst == 5 && bRest) ? 1 : nFirst == 5 ? 0 : -1;
    }
    // The dropped part is never zero here: the digits end in a non-zero digit.
    BOOL bAwayFromZero = FALSE;
    switch (nMode) {
    case ROUND_HALF_UP: bAwayFromZero = bNegative ? nHalf > 0 : nHalf >= 0; break;
    case ROUND_UP:      bAwayFromZero = !bNegative; break;
    default:            bAwayFromZero = bNegative; break;
    }
    if (bAwayFromZero)
        ++nKept;
    if (nKept == 0)
        return 0.0;
    char szResult[48];
    snprintf(szResult, sizeof(szResult), "%s%llue%d", bNegative ? "-" : "", nKept, -nDecimals);
    return strtod(szResult, nullptr);
}
