#include "platform/mfc/Base64.h"

namespace {
int DigitOf(char ch)
{
    if (ch >= 'A' && ch <= 'Z') return ch - 'A';
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 26;
    if (ch >= '0' && ch <= '9') return ch - '0' + 52;
    if (ch == '+') return 62;
    if (ch == '/') return 63;
    return -1;
}

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}
}  // namespace

int Base64DecodeGetRequiredLength(int nSrcLen)
{
    return nSrcLen <= 0 ? 0 : nSrcLen / 4 * 3 + 3;
}

BOOL Base64Decode(LPCSTR pszSrc, int nSrcLen, BYTE* pbDest, int* pnDestLen)
{
    if (pszSrc == nullptr || pnDestLen == nullptr || nSrcLen < 0 || *pnDestLen < 0)
        return FALSE;
    int nOut = 0, nBits = 0, nPad = 0;
    unsigned uAccum = 0;
    bool bTooSmall = false;
    for (int i = 0; i < nSrcLen; ++i) {
        const char ch = pszSrc[i];
        if (IsBlank(ch))
            continue;
        if (ch == '=') {
            ++nPad;
            continue;
        }
        const int nDigit = DigitOf(ch);
        if (nDigit < 0 || nPad > 0)     // a character outside the alphabet, or data after padding
            return FALSE;
        uAccum = (uAccum << 6) | static_cast<unsigned>(nDigit);
        nBits += 6;
        if (nBits >= 8) {
            nBits -= 8;
            if (pbDest != nullptr && nOut < *pnDestLen)
                pbDest[nOut] = static_cast<BYTE>(uAccum >> nBits);
            else
                bTooSmall = true;
            ++nOut;
        }
    }
    // Six bits left over is a lone character, which holds no byte; more than two '=' is no padding.
    if (nBits >= 6 || nPad > 2)
        return FALSE;
    if (bTooSmall) {
        *pnDestLen = nOut;
        return FALSE;
    }
    *pnDestLen = nOut;
    return TRUE;
}
