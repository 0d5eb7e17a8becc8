// Locale information from the user's POSIX locale.
#include <cstdlib>
#include <cstring>
#include <string>
#include "platform/win/kernel/Kernel.h"

namespace {
// The locale name the C library would use for measurements: LC_ALL, then LC_MEASUREMENT, then LANG.
std::string MeasurementLocale()
{
    for (const char* pszVar : {"LC_ALL", "LC_MEASUREMENT", "LANG"})
        if (const char* pszValue = getenv(pszVar); pszValue && *pszValue)
            return pszValue;
    return "C";
}

// The territories that measure in inches, as the C library's locale data has them; every other
// locale, "C" included, is metric.
BOOL MeasuresInInches(const std::string& strLocale)
{
    size_t nUnderscore = strLocale.find('_');
    if (nUnderscore == std::string::npos)
        return FALSE;
    std::string strTerritory = strLocale.substr(nUnderscore + 1, 2);
    return strTerritory == "US" || strTerritory == "LR" || strTerritory == "MM";
}
}

int GetLocaleInfoA(LCID, LCTYPE LCType, LPSTR lpLCData, int cchData)
{
    if (LCType != LOCALE_IMEASURE || cchData < 0 || (cchData > 0 && !lpLCData)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* pszAnswer = MeasuresInInches(MeasurementLocale()) ? "1" : "0";
    const int cchNeeded = static_cast<int>(strlen(pszAnswer)) + 1;
    if (cchData == 0)
        return cchNeeded;
    if (cchData < cchNeeded) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(lpLCData, pszAnswer, static_cast<size_t>(cchNeeded));
    return cchNeeded;
}
