#include "framework/base/DecimalDigits.h"

#include <charconv>
#include <cmath>
#include <cstring>

BOOL CDecimalDigits::Split(double dValue, int nFraction, BOOL bRound)
{
    strcpy(m_szWhole, "0");
    m_szFraction[0] = '\0';
    m_bNegative = std::signbit(dValue);
    if (!std::isfinite(dValue))
        return FALSE;
    if (nFraction < 0)
        nFraction = 0;
    if (nFraction > MAX_FRACTION)
        nFraction = MAX_FRACTION;

    // Shortest round-trip digits: "d.ddde+XX", so the digit i stands for 10^(nExp - i).
    char szSci[64];
    auto res = std::to_chars(szSci, szSci + sizeof(szSci) - 1, std::fabs(dValue), std::chars_format::scientific);
    if (res.ec != std::errc())
        return FALSE;
    *res.ptr = '\0';
    char szDigits[32];
    int nDigits = 0;
    const char* p = szSci;
    for (; *p != '\0' && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && nDigits < static_cast<int>(sizeof(szDigits)) - 1)
            szDigits[nDigits++] = *p;
    int nExp = 0;
    if (*p == 'e')
        std::from_chars(p + (p[1] == '+' ? 2 : 1), res.ptr, nExp);

    auto DigitAt = [&](int nPower) -> char {
        int i = nExp - nPower;
        return i >= 0 && i < nDigits ? szDigits[i] : '0';
    };
    // Whole digits with one spare place in front for a carry.
    char szWhole[MAX_WHOLE + 2];
    int nWhole = 0;
    szWhole[nWhole++] = '0';
    for (int nPower = nExp < 0 ? 0 : nExp; nPower >= 0 && nWhole < MAX_WHOLE; --nPower)
        szWhole[nWhole++] = DigitAt(nPower);
    for (int j = 1; j <= nFraction; ++j)
        m_szFraction[j - 1] = DigitAt(-j);
    m_szFraction[nFraction] = '\0';

    if (bRound && DigitAt(-(nFraction + 1)) >= '5') {
        int i = nFraction - 1;
        for (; i >= 0 && m_szFraction[i] == '9'; --i)
            m_szFraction[i] = '0';
        if (i >= 0) {
            ++m_szFraction[i];
        } else {
            int k = nWhole - 1;
            for (; k >= 0 && szWhole[k] == '9'; --k)
                szWhole[k] = '0';
            if (k >= 0)
                ++szWhole[k];
        }
    }
    int nSkip = 0;
    while (nSkip < nWhole - 1 && szWhole[nSkip] == '0')
        ++nSkip;
    memcpy(m_szWhole, szWhole + nSkip, static_cast<size_t>(nWhole - nSkip));
    m_szWhole[nWhole - nSkip] = '\0';
    return TRUE;
}

BOOL CDecimalDigits::IsZero() const
{
    if (strcmp(m_szWhole, "0") != 0)
        return FALSE;
    for (const char* p = m_szFraction; *p != '\0'; ++p)
        if (*p != '0')
            return FALSE;
    return TRUE;
}
