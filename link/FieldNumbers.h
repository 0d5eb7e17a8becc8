#pragma once
// Numbers in server fields and request texts, read as the 32-bit original's atol and atof read
// them in the "C" locale, whatever numeric locale the process has: leading blanks, an optional
// sign, then the longest number that follows; a text with no number reads as 0.
#include <string_view>

// Saturates at the 32-bit limits, as atol does on the original.
long ReadFieldLong(std::string_view text);
// Decimal only, with '.' as the point; a value too large for a double reads as +-HUGE_VAL and
// one too small as 0.
double ReadFieldDouble(std::string_view text);
// 10 to the power n, exact for the powers the scaled fields use.
double PowerOfTen(int n);
