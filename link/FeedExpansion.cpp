#include "link/FeedExpansion.h"
#include <cstring>

namespace {
// The expansion of every byte value, built once from the ranges of the code.
struct FeedTable {
    char text[256][11];
    FeedTable();
};

FeedTable::FeedTable()
{
    static const BYTE s_accents[] = {0xC1, 0xC9, 0xCD, 0xD1, 0xD3, 0xDA, 0xE1, 0xE9, 0xED, 0xF1, 0xF3, 0xFA};
    std::memset(text, 0, sizeof text);
    for (int b = 0; b < 256; ++b) {
        char* p = text[b];
        if (b < 32) {
            // control bytes stand for nothing
        } else if (b <= 121) {
            p[0] = static_cast<char>('1' + (b - 32) / 10);
            p[1] = static_cast<char>('0' + (b - 32) % 10);
        } else if (b <= 125) {
            const int nZeros = b - 120;
            std::memset(p, '0', static_cast<size_t>(nZeros));
            p[nZeros] = '|';
        } else if (b <= 137) {
            p[0] = static_cast<char>(b - 80);
            p[1] = '|';
        } else if (b <= 163) {
            p[0] = static_cast<char>(b - 73);
        } else if (b <= 189) {
            p[0] = static_cast<char>(b - 67);
        } else if (b <= 205) {
            p[0] = static_cast<char>((b + 98) & 0xFF);
        } else if (b <= 212) {
            p[0] = static_cast<char>((b + 108) & 0xFF);
        } else if (b <= 218) {
            p[0] = static_cast<char>(b - 122);
        } else if (b <= 222) {
            p[0] = static_cast<char>(b - 96);
        } else if (b <= 231) {
            std::memset(p, '|', static_cast<size_t>(b - 221));
        } else if (b <= 241) {
            p[0] = static_cast<char>((b + 72) & 0xFF);
        } else if (b <= 253) {
            p[0] = static_cast<char>(s_accents[b - 242]);
        }
        // 254 and 255 stand for nothing
    }
}

const FeedTable& Table()
{
    static const FeedTable s_table;
    return s_table;
}
}

void ExpandFeed(const char* pBytes, int nLength, std::string& strOut)
{
    const FeedTable& table = Table();
    for (int i = 0; i < nLength; ++i)
        strOut.append(table.text[static_cast<unsigned char>(pBytes[i])]);
}
