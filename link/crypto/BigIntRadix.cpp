#include "link/crypto/BigInt.h"
#include "link/crypto/BigIntDigits.h"
#include <cstring>

namespace {

// Value of a character in the radix alphabet, -1 for none; radix 36 and below read letters of
// either case, above it case matters. '+' is the digit 62, so in radix 63 and 64 it is never a
// sign; '-' is no digit anywhere.
int DigitValue(char ch, int nRadix)
{
    if (nRadix <= 36 && ch >= 'a' && ch <= 'z')
        ch = static_cast<char>(ch - 'a' + 'A');
    int nValue = -1;
    if (ch >= '0' && ch <= '9')
        nValue = ch - '0';
    else if (ch >= 'A' && ch <= 'Z')
        nValue = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'z')
        nValue = ch - 'a' + 36;
    else if (ch == '+')
        nValue = 62;
    else if (ch == '/')
        nValue = 63;
    return nValue < nRadix ? nValue : -1;
}

BOOL IsSign(char ch, int nRadix)
{
    return ch == '-' || (ch == '+' && DigitValue(ch, nRadix) < 0);
}

// Where the digits of a radix text start: past the characters that are neither digit nor sign
// and past the sign, which *pbNegative tells.
const char* FindDigits(const char* pszText, int nRadix, BOOL* pbNegative)
{
    const char* p = pszText;
    while (*p != '\0' && DigitValue(*p, nRadix) < 0 && !IsSign(*p, nRadix))
        ++p;
    *pbNegative = FALSE;
    if (IsSign(*p, nRadix))
        *pbNegative = *p++ == '-';
    return p;
}

// floor(log2(nRadix)): the fewest bits each digit after the first adds to a number.
int BitsPerDigit(int nRadix)
{
    int nBits = 0;
    while ((2 << nBits) <= nRadix)
        ++nBits;
    return nBits;
}

// Writes the digits of |a| least significant first into pszOut (when given, up to nCap of
// them) and counts them; -1 when they do not fit.
int CollectDigits(const BIGINT* a, int nRadix, char* pszOut, int nCap, int* pnCount)
{
    *pnCount = 0;
    BIGINT t = {};
    int nResult = BigIntInitCopy(&t, a);
    if (nResult == BIGINT_OK)
        t.nSign = BIGINT_ZPOS;
    while (nResult == BIGINT_OK && !BigIntIsZero(&t)) {
        uint16_t rem = 0;
        nResult = BigIntDivSmall(&t, static_cast<uint16_t>(nRadix), &t, &rem);
        if (nResult != BIGINT_OK)
            break;
        if (pszOut != nullptr) {
            if (*pnCount >= nCap) {
                nResult = BIGINT_VAL;
                break;
            }
            pszOut[*pnCount] = g_szBigIntRadixDigits[rem];
        }
        ++*pnCount;
    }
    BigIntClear(&t);
    return nResult;
}

} // namespace

int BigIntReadRadix(BIGINT* a, const char* pszText, int nRadix)
{
    if (pszText == nullptr || nRadix < 2 || nRadix > 64)
        return BIGINT_VAL;
    BOOL bNegative = FALSE;
    const char* p = FindDigits(pszText, nRadix, &bNegative);
    BigIntZero(a);
    for (int nDigit; (nDigit = DigitValue(*p, nRadix)) >= 0; ++p) {
        int nResult = BigIntMulSmall(a, static_cast<uint16_t>(nRadix), a);
        if (nResult == BIGINT_OK)
            nResult = BigIntAddSmall(a, static_cast<uint16_t>(nDigit), a);
        if (nResult != BIGINT_OK)
            return nResult;
    }
    if (bNegative && !BigIntIsZero(a))
        a->nSign = BIGINT_NEG;
    return BIGINT_OK;
}

int BigIntReadRadixBounded(BIGINT* a, const char* pszText, int nRadix, int nMaxBits)
{
    if (pszText == nullptr || nRadix < 2 || nRadix > 64 || nMaxBits < 1)
        return BIGINT_VAL;
    // Reading takes time quadratic in the digits, so a run that must make more than nMaxBits
    // bits is refused from its length alone; leading zeros add nothing and are not counted.
    BOOL bNegative = FALSE;
    const char* p = FindDigits(pszText, nRadix, &bNegative);
    while (*p == '0')
        ++p;
    size_t nDigits = 0;
    while (DigitValue(p[nDigits], nRadix) >= 0)
        ++nDigits;
    if (nDigits > 0 && (nDigits - 1) * static_cast<size_t>(BitsPerDigit(nRadix)) >= static_cast<size_t>(nMaxBits))
        return BIGINT_VAL;
    // Read aside, so that a refusal leaves a as it was.
    BIGINT t = {};
    int nResult = BigIntInit(&t);
    if (nResult == BIGINT_OK)
        nResult = BigIntReadRadix(&t, pszText, nRadix);
    if (nResult == BIGINT_OK && BigIntCountBits(&t) > nMaxBits)
        nResult = BIGINT_VAL;
    if (nResult == BIGINT_OK)
        BigIntExchange(a, &t);
    BigIntClear(&t);
    return nResult;
}

int BigIntRadixSize(const BIGINT* a, int nRadix, int* pnSize)
{
    if (pnSize == nullptr || nRadix < 2 || nRadix > 64)
        return BIGINT_VAL;
    int nDigits = 0;
    const int nResult = CollectDigits(a, nRadix, nullptr, 0, &nDigits);
    if (nResult != BIGINT_OK)
        return nResult;
    *pnSize = (nDigits == 0 ? 1 : nDigits) + (a->nSign == BIGINT_NEG ? 1 : 0) + 1;
    return BIGINT_OK;
}

int BigIntToRadix(const BIGINT* a, char* pszOut, int nOutSize, int nRadix)
{
    if (pszOut == nullptr || nOutSize < 1)
        return BIGINT_VAL;
    pszOut[0] = '\0';
    if (nRadix < 2 || nRadix > 64)
        return BIGINT_VAL;
    if (BigIntIsZero(a)) {
        if (nOutSize < 2)
            return BIGINT_VAL;
        pszOut[0] = '0';
        pszOut[1] = '\0';
        return BIGINT_OK;
    }
    const BOOL bNegative = a->nSign == BIGINT_NEG;
    const int nCap = nOutSize - 1 - (bNegative ? 1 : 0);
    int nDigits = 0;
    const int nResult = nCap > 0 ? CollectDigits(a, nRadix, pszOut, nCap, &nDigits) : BIGINT_VAL;
    if (nResult != BIGINT_OK) {
        explicit_bzero(pszOut, static_cast<size_t>(nOutSize));    // no half-written key material
        return nResult;
    }
    if (bNegative)
        pszOut[nDigits++] = '-';
    for (int i = 0, j = nDigits - 1; i < j; ++i, --j) {
        const char ch = pszOut[i];
        pszOut[i] = pszOut[j];
        pszOut[j] = ch;
    }
    pszOut[nDigits] = '\0';
    return BIGINT_OK;
}
