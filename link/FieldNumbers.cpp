#include "link/FieldNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

bool IsBlank(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// Skips the blanks and the sign; answers whether the number is negative.
bool SkipLead(std::string_view text, size_t& rAt)
{
    while (rAt < text.size() && IsBlank(text[rAt]))
        ++rAt;
    bool bNegative = false;
    if (rAt < text.size() && (text[rAt] == '+' || text[rAt] == '-'))
        bNegative = text[rAt++] == '-';
    return bNegative;
}

}  // namespace

long ReadFieldLong(std::string_view text)
{
    size_t nAt = 0;
    const bool bNegative = SkipLead(text, nAt);
    const int64_t nLimit = bNegative ? 2147483648LL : 2147483647LL;
    int64_t n = 0;
    for (; nAt < text.size() && IsDigit(text[nAt]); ++nAt) {
        n = n * 10 + (text[nAt] - '0');
        if (n > nLimit)
            n = nLimit;
    }
    return static_cast<long>(bNegative ? -n : n);
}

double ReadFieldDouble(std::string_view text)
{
    size_t nAt = 0;
    const bool bNegative = SkipLead(text, nAt);
    const size_t nStart = nAt;
    // The longest decimal number: digits, a point, digits, and an exponent only when it has
    // digits of its own. Where its first significant digit stands tells overflow from underflow.
    long nMagnitude = 0;        // decimal position of the first significant digit
    bool bSignificant = false;
    bool bPoint = false;
    size_t nDigits = 0;
    for (; nAt < text.size(); ++nAt) {
        const char ch = text[nAt];
        if (IsDigit(ch)) {
            ++nDigits;
            if (!bSignificant && ch != '0')
                bSignificant = true;
            if (bSignificant && !bPoint)
                ++nMagnitude;
            else if (!bSignificant && bPoint)
                --nMagnitude;
        } else if (ch == '.' && !bPoint) {
            bPoint = true;
        } else {
            break;
        }
    }
    if (nDigits == 0)
        return 0.0;
    if (nAt < text.size() && (text[nAt] == 'e' || text[nAt] == 'E')) {
        size_t nExp = nAt + 1;
        const bool bExpNegative = nExp < text.size() && text[nExp] == '-';
        if (nExp < text.size() && (text[nExp] == '+' || text[nExp] == '-'))
            ++nExp;
        if (nExp < text.size() && IsDigit(text[nExp])) {
            long nExponent = 0;
            for (; nExp < text.size() && IsDigit(text[nExp]); ++nExp) {
                if (nExponent < 100000)
                    nExponent = nExponent * 10 + (text[nExp] - '0');
            }
            nMagnitude += bExpNegative ? -nExponent : nExponent;
            nAt = nExp;
        }
    }
    double d = 0.0;
    const auto result = std::from_chars(text.data() + nStart, text.data() + nAt, d, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        d = bSignificant && nMagnitude > 0 ? HUGE_VAL : 0.0;
    else if (result.ec != std::errc())
        d = 0.0;
    return bNegative ? -d : d;
}

double PowerOfTen(int n)
{
    static const double s_powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n >= 0 && n <= 22)
        return s_powers[n];
    if (n < 0 && n >= -22)
        return 1.0 / s_powers[-n];
    return std::pow(10.0, n);
}
