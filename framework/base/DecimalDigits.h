#pragma once
// The decimal digits of a double, taken from the shortest text that reads back to the same
// double. Rounding works on those digits, so 2.675 rounds the way it is written (2.68), not the
// way its binary neighbour 2.67499999... would; display, sums and reading agree on one value.
#include "platform/win/WinTypes.h"

class CDecimalDigits
{
public:
    static const int MAX_FRACTION = 130;    // covers every decimal code of a signed byte
    static const int MAX_WHOLE = 320;       // the largest double has 309 whole digits

    // Splits |dValue| into whole and nFraction fraction digits (0..MAX_FRACTION), rounded half
    // away from zero or, with bRound FALSE, cut. FALSE for a value that is not finite.
    BOOL Split(double dValue, int nFraction, BOOL bRound);
    const char* GetWhole() const { return m_szWhole; }          // "0" for a zero whole part
    const char* GetFraction() const { return m_szFraction; }    // exactly nFraction digits
    BOOL IsNegative() const { return m_bNegative; }
    BOOL IsZero() const;                                        // every digit kept is 0

private:
    char m_szWhole[MAX_WHOLE + 2] = "0";
    char m_szFraction[MAX_FRACTION + 1] = "";
    BOOL m_bNegative = FALSE;
};
