#include "account/ExactDecimal.h"

#include <algorithm>

namespace {
__int128 Power10(int n)
{
    __int128 nValue = 1;
    while (n-- > 0)
        nValue *= 10;
    return nValue;
}

// a / b rounded towards minus infinity (b > 0).
__int128 FloorDivide(__int128 a, __int128 b)
{
    __int128 q = a / b;
    if (a % b != 0 && a < 0)
        --q;
    return q;
}

// a / b rounded half away from zero (b > 0).
__int128 RoundDivide(__int128 a, __int128 b)
{
    const __int128 nHalf = b / 2;
    return a >= 0 ? (a + nHalf) / b : -((-a + nHalf) / b);
}
}  // namespace

bool CExactDecimal::Parse(const char* pszText, CExactDecimal* pOut)
{
    if (pszText == nullptr)
        return false;
    bool bNegative = false, bPoint = false, bDigit = false;
    int nDigits = 0, nScale = 0;
    __int128 nUnits = 0;
    const char* p = pszText;
    while (*p == ' ')
        ++p;
    if (*p == '-' || *p == '+')
        bNegative = *p++ == '-';
    for (; *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++nDigits > 18)
                return false;
            nUnits = nUnits * 10 + (*p - '0');
            nScale += bPoint ? 1 : 0;
            bDigit = true;
        } else if (*p == '.' && !bPoint) {
            bPoint = true;
        } else if (!(*p == ',' && !bPoint) && *p != ' ') {
            return false;
        }
    }
    if (!bDigit)
        return false;
    *pOut = CExactDecimal(bNegative ? -nUnits : nUnits, nScale);
    return true;
}

CExactDecimal CExactDecimal::Rescaled(int nScale) const
{
    return CExactDecimal(m_nUnits * Power10(nScale - m_nScale), nScale);
}

CExactDecimal CExactDecimal::operator+(const CExactDecimal& other) const
{
    const int nScale = std::max(m_nScale, other.m_nScale);
    return CExactDecimal(Rescaled(nScale).m_nUnits + other.Rescaled(nScale).m_nUnits, nScale);
}

CExactDecimal CExactDecimal::operator-(const CExactDecimal& other) const
{
    const int nScale = std::max(m_nScale, other.m_nScale);
    return CExactDecimal(Rescaled(nScale).m_nUnits - other.Rescaled(nScale).m_nUnits, nScale);
}

CExactDecimal CExactDecimal::MultiplyDown(const CExactDecimal& other, int nDecimals) const
{
    // Units of 10^-(s1+s2) to units of 10^-nDecimals.
    const __int128 nProduct = m_nUnits * other.m_nUnits;
    const int nScale = m_nScale + other.m_nScale;
    if (nScale <= nDecimals)
        return CExactDecimal(nProduct * Power10(nDecimals - nScale), nDecimals);
    return CExactDecimal(FloorDivide(nProduct, Power10(nScale - nDecimals)), nDecimals);
}

CExactDecimal CExactDecimal::DivideDown(const CExactDecimal& other, int nDecimals) const
{
    if (other.m_nUnits == 0)
        return CExactDecimal(0, nDecimals);
    // (a / 10^s1) / (b / 10^s2) * 10^n = a * 10^(s2 + n) / (b * 10^s1).
    __int128 nNumerator = m_nUnits * Power10(other.m_nScale + nDecimals);
    __int128 nDenominator = other.m_nUnits * Power10(m_nScale);
    if (nDenominator < 0) {
        nNumerator = -nNumerator;
        nDenominator = -nDenominator;
    }
    return CExactDecimal(FloorDivide(nNumerator, nDenominator), nDecimals);
}

CExactDecimal CExactDecimal::Round(int nDecimals) const
{
    if (m_nScale <= nDecimals)
        return Rescaled(nDecimals);
    return CExactDecimal(RoundDivide(m_nUnits, Power10(m_nScale - nDecimals)), nDecimals);
}

std::string CExactDecimal::Format(int nDecimals) const
{
    const CExactDecimal value = Round(nDecimals);
    __int128 nUnits = value.m_nUnits < 0 ? -value.m_nUnits : value.m_nUnits;
    std::string strDigits;
    do {
        strDigits.insert(strDigits.begin(), static_cast<char>('0' + static_cast<int>(nUnits % 10)));
        nUnits /= 10;
    } while (nUnits != 0);
    if (static_cast<int>(strDigits.size()) <= nDecimals)
        strDigits.insert(0, static_cast<size_t>(nDecimals + 1) - strDigits.size(), '0');
    if (nDecimals > 0)
        strDigits.insert(strDigits.size() - static_cast<size_t>(nDecimals), ".");
    return (value.m_nUnits < 0 ? "-" : "") + strDigits;
}
