#include "link/crypto/Rsa.h"
#include "link/crypto/BigIntDigits.h"
#include "link/crypto/RandomSource.h"
#include <cstring>
#include <vector>

namespace {

const int RADIX = 64;
const int MAX_PLAIN_LENGTH = 1 << 20;      // far above any key text; keeps sizes in an int
const int MAX_PRIME_BITS = 1024;

BOOL IsRadixDigit(char ch)
{
    return ch != '\0' && strchr(g_szBigIntRadixDigits, ch) != nullptr;
}

// Probable prime: no factor 3, 5, 7 or 11, and 2^x mod x = 2 (Fermat to base 2).
int IsProbablePrime(const BIGINT* x, BIGINT* two, BIGINT* t, BOOL* pbPrime)
{
    *pbPrime = FALSE;
    static const uint16_t s_small[] = {3, 5, 7, 11};
    for (uint16_t d : s_small) {
        uint16_t rem = 0;
        const int nResult = BigIntModSmall(x, d, &rem);
        if (nResult != BIGINT_OK)
            return nResult;
        if (rem == 0)
            return BIGINT_OK;
    }
    int nResult = BigIntSet(two, 2);
    if (nResult == BIGINT_OK)
        nResult = BigIntExpMod(two, x, x, t);
    if (nResult == BIGINT_OK)
        *pbPrime = BigIntCompareSmall(t, 2) == 0;
    return nResult;
}

// The smallest value of nBits bits whose top two bits are set, 3 * 2^(nBits-2).
int SetFloor(BIGINT* a, int nBits)
{
    int nResult = BigIntSet(a, 3);
    for (int i = 0; i < nBits - 2 && nResult == BIGINT_OK; ++i)
        nResult = BigIntMulSmall(a, 2, a);
    return nResult;
}

// A random start of nBits bits beginning with the bits 11, read from its binary text.
int RandomStart(BIGINT* a, int nBits)
{
    char szBits[MAX_PRIME_BITS + 1];
    BYTE random[MAX_PRIME_BITS / 8 + 1];
    const size_t nBytes = static_cast<size_t>(nBits / 8 + 1);
    if (!GetRandomBytes(random, nBytes))
        return -1;
    szBits[0] = '1';
    szBits[1] = '1';
    for (int i = 2; i < nBits; ++i)
        szBits[i] = ((random[i / 8] >> (i % 8)) & 1) ? '1' : '0';
    szBits[nBits] = '\0';
    const int nResult = BigIntReadRadix(a, szBits, 2);
    explicit_bzero(szBits, sizeof szBits);
    explicit_bzero(random, sizeof random);
    return nResult == BIGINT_OK ? 0 : -1;
}

// Writes "a|b" into the buffer when it fits.
int WriteKeyText(const BIGINT* a, const BIGINT* b, char* pszOut, int nOutSize)
{
    int nSizeA = 0, nSizeB = 0;
    if (BigIntRadixSize(a, RADIX, &nSizeA) != BIGINT_OK || BigIntRadixSize(b, RADIX, &nSizeB) != BIGINT_OK)
        return -1;
    if (nOutSize < nSizeA + nSizeB)             // both terminators' room holds the '|' and the NUL
        return -1;
    if (BigIntToRadix(a, pszOut, nSizeA, RADIX) != BIGINT_OK)
        return -1;
    pszOut[nSizeA - 1] = '|';
    return BigIntToRadix(b, pszOut + nSizeA, nSizeB, RADIX) == BIGINT_OK ? 0 : -1;
}

// 32 bytes, big-endian, as a number.
int ChunkToNumber(const BYTE* pChunk, BIGINT* m)
{
    uint16_t digits[RSA_CHUNK_BYTES / 2];
    for (int i = 0; i < RSA_CHUNK_BYTES / 2; ++i)
        digits[i] = static_cast<uint16_t>((pChunk[RSA_CHUNK_BYTES - 2 - 2 * i] << 8) | pChunk[RSA_CHUNK_BYTES - 1 - 2 * i]);
    const int nResult = BigIntSetDigits(m, digits, RSA_CHUNK_BYTES / 2, BIGINT_ZPOS);
    explicit_bzero(digits, sizeof digits);
    return nResult == BIGINT_OK ? 0 : -1;
}

// A number below 2^256 as 32 big-endian bytes.
int NumberToChunk(const BIGINT* m, BYTE* pChunk)
{
    if (m->nSign == BIGINT_NEG || BigIntCountBits(m) > 8 * RSA_CHUNK_BYTES)
        return -1;
    for (int i = 0; i < RSA_CHUNK_BYTES / 2; ++i) {
        const uint16_t d = static_cast<uint32_t>(i) < m->nUsed ? m->pDigits[i] : 0;
        pChunk[RSA_CHUNK_BYTES - 2 - 2 * i] = static_cast<BYTE>(d >> 8);
        pChunk[RSA_CHUNK_BYTES - 1 - 2 * i] = static_cast<BYTE>(d);
    }
    return 0;
}

// The longest radix-64 number below the modulus.
int ModulusDigits(const BIGINT* n)
{
    int nSize = 0;
    return BigIntRadixSize(n, RADIX, &nSize) == BIGINT_OK ? nSize - 1 : -1;
}

} // namespace

int RandomPrime(BIGINT* p, int nBits)
{
    if (p == nullptr || nBits < 4 || nBits > MAX_PRIME_BITS)
        return -1;
    CBigIntSet<4> t;
    BIGINT* start = t[0];
    BIGINT* lowest = t[1];
    BIGINT* two = t[2];
    BIGINT* scratch = t[3];
    if (t.Init() != BIGINT_OK || SetFloor(lowest, nBits) != BIGINT_OK)
        return -1;
    for (;;) {
        if (RandomStart(p, nBits) != 0)
            return -1;
        if (BigIntIsEven(p) == BIGINT_YES && BigIntAddSmall(p, 1, p) != BIGINT_OK)
            return -1;
        if (BigIntCopy(p, start) != BIGINT_OK)
            return -1;
        // Upwards by 2 from the start; past nBits bits, downwards from the start instead. A
        // downward search that would lose the leading 11 draws a new start, so that p and q
        // always keep n above 2^255.
        BOOL bDown = FALSE;
        for (;;) {
            BOOL bPrime = FALSE;
            if (IsProbablePrime(p, two, scratch, &bPrime) != BIGINT_OK)
                return -1;
            if (bPrime)
                return 0;
            const int nResult = bDown ? BigIntSubSmall(p, 2, p) : BigIntAddSmall(p, 2, p);
            if (nResult != BIGINT_OK)
                return -1;
            if (!bDown && BigIntCountBits(p) > nBits) {
                bDown = TRUE;
                if (BigIntSubSmall(start, 2, p) != BIGINT_OK)
                    return -1;
            }
            if (bDown && BigIntCompare(p, lowest) < 0)
                break;
        }
    }
}

int MakeRsaKeyPair(const BIGINT* p, const BIGINT* q, BIGINT* n, BIGINT* e, BIGINT* d)
{
    if (p == nullptr || q == nullptr || n == nullptr || e == nullptr || d == nullptr)
        return -1;
    if (BigIntCompareSmall(p, 3) < 0 || BigIntCompareSmall(q, 3) < 0 || BigIntCompare(p, q) == 0)
        return -1;
    CBigIntSet<5> t;
    BIGINT* p1 = t[0];
    BIGINT* q1 = t[1];
    BIGINT* lambda = t[2];
    BIGINT* g = t[3];
    BIGINT* eTry = t[4];
    int nResult = t.Init();
    // lambda = (p - 1)(q - 1) / gcd(p - 1, q - 1)
    if (nResult == BIGINT_OK)
        nResult = BigIntSubSmall(p, 1, p1);
    if (nResult == BIGINT_OK)
        nResult = BigIntSubSmall(q, 1, q1);
    if (nResult == BIGINT_OK)
        nResult = BigIntGcd(p1, q1, g);
    if (nResult == BIGINT_OK)
        nResult = BigIntMul(p1, q1, lambda);
    if (nResult == BIGINT_OK)
        nResult = BigIntDivMod(lambda, g, lambda, nullptr);
    // e = the smallest odd number from 3 with gcd(e, lambda) = 1
    if (nResult == BIGINT_OK)
        nResult = BigIntSet(eTry, 3);
    while (nResult == BIGINT_OK) {
        nResult = BigIntGcd(eTry, lambda, g);
        if (nResult != BIGINT_OK || BigIntCompareSmall(g, 1) == 0)
            break;
        nResult = BigIntAddSmall(eTry, 2, eTry);
    }
    if (nResult == BIGINT_OK)
        nResult = BigIntInverse(eTry, lambda, d);
    if (nResult == BIGINT_OK)
        nResult = BigIntCopy(eTry, e);
    if (nResult == BIGINT_OK)
        nResult = BigIntMul(p, q, n);
    return nResult == BIGINT_OK ? 0 : -1;
}

int GenerateRsaKeyPair(BIGINT* n, BIGINT* e, BIGINT* d)
{
    CBigIntSet<2> t;
    if (t.Init() != BIGINT_OK)
        return -1;
    // New primes until the pair works; with e prime to lambda the inverse always exists, so
    // the bound is only there to end a loop that a faulty random source could make endless.
    for (int nTry = 0; nTry < 100; ++nTry) {
        if (RandomPrime(t[0], RSA_PRIME_P_BITS) != 0 || RandomPrime(t[1], RSA_PRIME_Q_BITS) != 0)
            return -1;
        if (MakeRsaKeyPair(t[0], t[1], n, e, d) == 0)
            return 0;
    }
    return -1;
}

int MakeRsaKeyTexts(char* pszPublic, int nPublicSize, char* pszPrivate, int nPrivateSize)
{
    if (pszPublic == nullptr || pszPrivate == nullptr || nPublicSize < 1 || nPrivateSize < 1)
        return -1;
    CBigIntSet<3> t;
    BIGINT* n = t[0];
    BIGINT* e = t[1];
    BIGINT* d = t[2];
    if (t.Init() != BIGINT_OK || GenerateRsaKeyPair(n, e, d) != 0 ||
        WriteKeyText(n, e, pszPublic, nPublicSize) != 0 || WriteKeyText(n, d, pszPrivate, nPrivateSize) != 0) {
        pszPublic[0] = '\0';
        explicit_bzero(pszPrivate, static_cast<size_t>(nPrivateSize));
        return -1;
    }
    return 0;
}

int ParseRsaKeyText(const char* pszKeyText, BIGINT* n, BIGINT* e)
{
    if (pszKeyText == nullptr || n == nullptr || e == nullptr)
        return -1;
    const char* pszBar = strchr(pszKeyText, '|');
    if (pszBar == nullptr)
        return -1;
    // Each side needs a digit of its own: the reader skips what is not a digit, so a missing
    // modulus would otherwise be taken from the exponent.
    const char* p = pszKeyText;
    while (p < pszBar && !IsRadixDigit(*p))
        ++p;
    if (p == pszBar)
        return -1;
    p = pszBar + 1;
    while (*p != '\0' && !IsRadixDigit(*p))
        ++p;
    if (*p == '\0')
        return -1;
    // Read aside, so that a refused text leaves the caller's numbers as they were.
    CBigIntSet<2> t;
    if (t.Init() != BIGINT_OK || BigIntReadRadixBounded(t[0], pszKeyText, RADIX, RSA_MAX_KEY_BITS) != BIGINT_OK ||
        BigIntReadRadixBounded(t[1], pszBar + 1, RADIX, RSA_MAX_KEY_BITS) != BIGINT_OK)
        return -1;
    if (BigIntCompareSmall(t[0], 2) < 0 || BigIntCompareSmall(t[1], 1) < 0)
        return -1;
    BigIntExchange(n, t[0]);
    BigIntExchange(e, t[1]);
    return 0;
}

int RsaCipherTextSize(int nPlainLength, const char* pszKeyText)
{
    if (nPlainLength < 0 || nPlainLength > MAX_PLAIN_LENGTH)
        return -1;
    CBigIntSet<2> t;
    if (t.Init() != BIGINT_OK || ParseRsaKeyText(pszKeyText, t[0], t[1]) != 0)
        return -1;
    const int nDigits = ModulusDigits(t[0]);
    if (nDigits < 0)
        return -1;
    const int nChunks = (nPlainLength + RSA_CHUNK_BYTES - 1) / RSA_CHUNK_BYTES;
    return nChunks == 0 ? 1 : nChunks * (nDigits + 1);     // digits, then '&' or the NUL
}

int RsaEncryptText(char* pszOut, int nOutSize, const char* pszPlain, const char* pszKeyText)
{
    if (pszOut == nullptr || pszPlain == nullptr || pszKeyText == nullptr || nOutSize < 1)
        return -1;
    pszOut[0] = '\0';
    const size_t nLength = strlen(pszPlain);
    if (nLength > static_cast<size_t>(MAX_PLAIN_LENGTH))
        return -1;
    const int nNeeded = RsaCipherTextSize(static_cast<int>(nLength), pszKeyText);
    if (nNeeded < 0 || nOutSize < nNeeded)
        return -1;
    CBigIntSet<4> t;
    BIGINT* n = t[0];
    BIGINT* e = t[1];
    BIGINT* m = t[2];
    BIGINT* c = t[3];
    if (t.Init() != BIGINT_OK || ParseRsaKeyText(pszKeyText, n, e) != 0)
        return -1;
    int nPos = 0;
    int nResult = 0;
    BYTE chunk[RSA_CHUNK_BYTES];
    for (size_t nStart = 0; nStart < nLength && nResult == 0; nStart += RSA_CHUNK_BYTES) {
        // A short last chunk is padded with zero bytes at its end.
        const size_t nTake = nLength - nStart < RSA_CHUNK_BYTES ? nLength - nStart : RSA_CHUNK_BYTES;
        memset(chunk, 0, sizeof chunk);
        memcpy(chunk, pszPlain + nStart, nTake);
        nResult = ChunkToNumber(chunk, m);
        // A chunk at or above the modulus would come back as another text.
        if (nResult == 0 && BigIntCompare(m, n) >= 0)
            nResult = -1;
        if (nResult == 0 && BigIntExpMod(m, e, n, c) != BIGINT_OK)
            nResult = -1;
        if (nResult == 0 && nStart > 0)
            pszOut[nPos++] = '&';
        if (nResult == 0 && BigIntToRadix(c, pszOut + nPos, nOutSize - nPos, RADIX) != BIGINT_OK)
            nResult = -1;
        if (nResult == 0)
            nPos += static_cast<int>(strlen(pszOut + nPos));
    }
    explicit_bzero(chunk, sizeof chunk);
    if (nResult != 0)
        pszOut[0] = '\0';
    return nResult;
}

int RsaDecryptText(char* pOut, int nOutSize, const char* pszCipherText, const char* pszKeyText)
{
    if (pOut == nullptr || pszCipherText == nullptr || pszKeyText == nullptr || nOutSize < 0)
        return -1;
    CBigIntSet<4> t;
    BIGINT* n = t[0];
    BIGINT* d = t[1];
    BIGINT* c = t[2];
    BIGINT* m = t[3];
    if (t.Init() != BIGINT_OK || ParseRsaKeyText(pszKeyText, n, d) != 0)
        return -1;
    const int nMaxDigits = ModulusDigits(n);
    const char* pszText = pszCipherText[0] == '&' ? pszCipherText + 1 : pszCipherText;

    // Check every piece before anything is written: each holds a digit and is no longer than
    // the modulus can make, and all of them fit the destination.
    int nPieces = 0;
    for (const char* p = pszText;; ++nPieces) {
        const char* pszEnd = strchr(p, '&');
        const size_t nPiece = pszEnd != nullptr ? static_cast<size_t>(pszEnd - p) : strlen(p);
        BOOL bDigit = FALSE;
        for (size_t i = 0; i < nPiece && !bDigit; ++i)
            bDigit = IsRadixDigit(p[i]);
        if (!bDigit || nPiece > static_cast<size_t>(nMaxDigits))
            return -1;
        if (pszEnd == nullptr) {
            ++nPieces;
            break;
        }
        p = pszEnd + 1;
    }
    if (nPieces > nOutSize / RSA_CHUNK_BYTES)
        return -1;

    // Deciphered aside and copied out whole, so that a refusal writes nothing.
    std::vector<BYTE> plain(static_cast<size_t>(nPieces) * RSA_CHUNK_BYTES);
    int nResult = 0;
    size_t nWritten = 0;
    for (const char* p = pszText; nResult == 0 && nWritten < plain.size();) {
        if (BigIntReadRadix(c, p, RADIX) != BIGINT_OK || c->nSign == BIGINT_NEG || BigIntCompare(c, n) >= 0 ||
            BigIntExpMod(c, d, n, m) != BIGINT_OK || NumberToChunk(m, plain.data() + nWritten) != 0)
            nResult = -1;
        nWritten += RSA_CHUNK_BYTES;
        const char* pszEnd = strchr(p, '&');
        p = pszEnd != nullptr ? pszEnd + 1 : p;
    }
    if (nResult == 0)
        memcpy(pOut, plain.data(), plain.size());
    explicit_bzero(plain.data(), plain.size());
    return nResult;
}

int RandomHexKey(char* pszKey)
{
    if (pszKey == nullptr)
        return -1;
    static const char s_szHex[] = "0123456789ABCDEF";
    BYTE random[RSA_SESSION_KEY_CHARS / 2];
    if (!GetRandomBytes(random, sizeof random))
        return -1;
    for (int i = 0; i < RSA_SESSION_KEY_CHARS / 2; ++i) {
        pszKey[2 * i] = s_szHex[random[i] >> 4];
        pszKey[2 * i + 1] = s_szHex[random[i] & 15];
    }
    explicit_bzero(random, sizeof random);
    return 0;
}
