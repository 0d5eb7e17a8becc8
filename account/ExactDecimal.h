#pragma once
// Decimal amounts as the forms type and show them, worked exactly: a binary double cannot hold
// 0.29 or 1.15, and a conversion rounded down from one would lose a unit of the last place
// (100 at 0.29 gives 28.999). A value is an integer of units of 10^-scale.
#include <string>

class CExactDecimal
{
public:
    CExactDecimal() = default;
    // Plain C-locale text: an optional sign, digits, an optional '.' and digits; blanks and
    // grouping commas are skipped. FALSE for anything else or more than 18 digits.
    static bool Parse(const char* pszText, CExactDecimal* pOut);

    bool IsZero() const { return m_nUnits == 0; }
    bool IsPositive() const { return m_nUnits > 0; }
    CExactDecimal operator+(const CExactDecimal& other) const;
    CExactDecimal operator-(const CExactDecimal& other) const;
    // The product, or the quotient, rounded down (towards minus infinity) to nDecimals places.
    CExactDecimal MultiplyDown(const CExactDecimal& other, int nDecimals) const;
    CExactDecimal DivideDown(const CExactDecimal& other, int nDecimals) const;
    // Rounded half away from zero to nDecimals places.
    CExactDecimal Round(int nDecimals) const;
    // With exactly nDecimals places (rounded half away from zero), no grouping: "1000.000".
    std::string Format(int nDecimals) const;

private:
    CExactDecimal(__int128 nUnits, int nScale) : m_nUnits(nUnits), m_nScale(nScale) {}
    CExactDecimal Rescaled(int nScale) const;   // exact when nScale is not below the scale

    __int128 m_nUnits = 0;
    int m_nScale = 0;
};
