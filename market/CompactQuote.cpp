#include "market/CompactQuote.h"

#include <cstdio>

namespace {

// The symbols a packed character pair carries; 14 and 15 only pad the last triple.
const char s_szSymbols[] = "0123456789|. #";
const int SYMBOL_COUNT = static_cast<int>(sizeof(s_szSymbols) - 1);

// The six-bit value of a packed character, -1 outside the alphabet (62 has no character).
int PackedValue(char ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A';
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 26;
    if (ch >= '0' && ch <= '9')
        return ch - '0' + 52;
    return ch == ',' ? 63 : -1;
}

void AppendSymbol(std::string& out, int nSymbol)
{
    if (nSymbol < SYMBOL_COUNT)
        out += s_szSymbols[nSymbol];
}

}  // namespace

BOOL ExpandCompactQuoteLine(long nMarket, std::string_view ticker, std::string_view packed, std::string& strOut)
{
    char szHead[48];
    snprintf(szHead, sizeof(szHead), "~GS|1|XC|%ld|", nMarket);
    std::string& line = strOut;
    line.assign(szHead);
    line.append(ticker);
    line += '|';
    line.reserve(line.size() + packed.size() * 3 / 2);
    for (size_t i = 0; i + 1 < packed.size(); i += 2) {
        const int a = PackedValue(packed[i]);
        const int b = PackedValue(packed[i + 1]);
        if (a < 0 || b < 0) {
            line.clear();
            return FALSE;
        }
        const int v = (a % 4) * 64 + b;
        AppendSymbol(line, a / 4);
        AppendSymbol(line, v / 16);
        AppendSymbol(line, v % 16);
    }
    return TRUE;
}
