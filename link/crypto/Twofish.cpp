#include "link/crypto/Twofish.h"
#include "link/crypto/TwofishAvx2.h"
#include "link/crypto/TwofishPathChoice.h"
#include <cstring>

namespace {

// The four 4-bit permutations each of q0 and q1 is built from.
constexpr BYTE s_q0Nibbles[4][16] = {
    {0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
    {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
    {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
    {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}};
constexpr BYTE s_q1Nibbles[4][16] = {
    {0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
    {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
    {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
    {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}};

// The MDS matrix (over GF(2^8) modulo x^8+x^6+x^5+x^3+1) and the Reed-Solomon matrix that
// turns key bytes into the S-box key words (modulo x^8+x^6+x^3+x^2+1).
constexpr BYTE s_mds[4][4] = {
    {0x01, 0xEF, 0x5B, 0x5B}, {0x5B, 0xEF, 0xEF, 0x01}, {0xEF, 0x5B, 0x01, 0xEF}, {0xEF, 0x01, 0xEF, 0x5B}};
constexpr BYTE s_rs[4][8] = {
    {0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
    {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
    {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
    {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};
constexpr uint32_t MDS_POLY = 0x169;
constexpr uint32_t RS_POLY = 0x14D;

constexpr uint32_t GfMul(uint32_t a, uint32_t b, uint32_t poly)
{
    uint32_t r = 0;
    while (b != 0) {
        if (b & 1)
            r ^= a;
        a <<= 1;
        if (a & 0x100)
            a ^= poly;
        b >>= 1;
    }
    return r;
}

constexpr uint32_t Ror4(uint32_t x) { return ((x >> 1) | (x << 3)) & 0xF; }

constexpr BYTE QPermute(const BYTE t[4][16], uint32_t x)
{
    const uint32_t a0 = x >> 4, b0 = x & 0xF;
    const uint32_t a1 = a0 ^ b0, b1 = (a0 ^ Ror4(b0) ^ (8 * a0)) & 0xF;
    const uint32_t a2 = t[0][a1], b2 = t[1][b1];
    const uint32_t a3 = a2 ^ b2, b3 = (a2 ^ Ror4(b2) ^ (8 * a2)) & 0xF;
    return static_cast<BYTE>((t[3][b3] << 4) | t[2][a3]);
}

struct FixedTables
{
    BYTE q0[256] = {};
    BYTE q1[256] = {};
    uint32_t mds[4][256] = {};      // column j of the MDS matrix times y, as a word
};

constexpr FixedTables MakeFixedTables()
{
    FixedTables t;
    for (uint32_t x = 0; x < 256; ++x) {
        t.q0[x] = QPermute(s_q0Nibbles, x);
        t.q1[x] = QPermute(s_q1Nibbles, x);
        for (int j = 0; j < 4; ++j) {
            uint32_t w = 0;
            for (int i = 0; i < 4; ++i)
                w |= GfMul(s_mds[i][j], x, MDS_POLY) << (8 * i);
            t.mds[j][x] = w;
        }
    }
    return t;
}

constexpr FixedTables s_fixed = MakeFixedTables();

inline uint32_t Rol(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }
inline uint32_t Ror(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
inline uint32_t Byte(uint32_t x, int n) { return (x >> (8 * n)) & 0xFF; }

inline uint32_t LoadLE(const BYTE* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void StoreLE(BYTE* p, uint32_t x)
{
    p[0] = static_cast<BYTE>(x);
    p[1] = static_cast<BYTE>(x >> 8);
    p[2] = static_cast<BYTE>(x >> 16);
    p[3] = static_cast<BYTE>(x >> 24);
}

// The byte permutations of h for a two-word key list: l1 is applied first, l0 last.
inline BYTE HByte0(uint32_t x, uint32_t l0, uint32_t l1)
{
    const auto& t = s_fixed;
    return t.q1[t.q0[t.q0[x] ^ Byte(l1, 0)] ^ Byte(l0, 0)];
}
inline BYTE HByte1(uint32_t x, uint32_t l0, uint32_t l1)
{
    const auto& t = s_fixed;
    return t.q0[t.q0[t.q1[x] ^ Byte(l1, 1)] ^ Byte(l0, 1)];
}
inline BYTE HByte2(uint32_t x, uint32_t l0, uint32_t l1)
{
    const auto& t = s_fixed;
    return t.q1[t.q1[t.q0[x] ^ Byte(l1, 2)] ^ Byte(l0, 2)];
}
inline BYTE HByte3(uint32_t x, uint32_t l0, uint32_t l1)
{
    const auto& t = s_fixed;
    return t.q0[t.q1[t.q1[x] ^ Byte(l1, 3)] ^ Byte(l0, 3)];
}

uint32_t H(uint32_t x, uint32_t l0, uint32_t l1)
{
    const auto& m = s_fixed.mds;
    return m[0][HByte0(Byte(x, 0), l0, l1)] ^ m[1][HByte1(Byte(x, 1), l0, l1)] ^
           m[2][HByte2(Byte(x, 2), l0, l1)] ^ m[3][HByte3(Byte(x, 3), l0, l1)];
}

// Eight key bytes times the Reed-Solomon matrix: one S-box key word.
uint32_t RsWord(const BYTE* pBytes)
{
    uint32_t w = 0;
    for (int r = 0; r < 4; ++r) {
        uint32_t s = 0;
        for (int j = 0; j < 8; ++j)
            s ^= GfMul(s_rs[r][j], pBytes[j], RS_POLY);
        w |= s << (8 * r);
    }
    return w;
}

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

int CheckBlockCall(const TwofishCipherInstance* pCipher, const TwofishKeyInstance* pKey,
                   const BYTE* pInput, int inputLen, const BYTE* pOutput)
{
    if (pCipher == nullptr)
        return TWOFISH_BAD_CIPHER_STATE;
    if (pCipher->mode != TWOFISH_MODE_ECB)
        return TWOFISH_BAD_CIPHER_MODE;
    if (pKey == nullptr || pKey->keyLen != TWOFISH_KEY_BITS)
        return TWOFISH_BAD_KEY_INSTANCE;
    if (inputLen < 0 || inputLen % (8 * TWOFISH_BLOCK_BYTES) != 0)
        return TWOFISH_BAD_INPUT_LEN;
    if (inputLen > 0 && (pInput == nullptr || pOutput == nullptr))
        return TWOFISH_BAD_INPUT_LEN;
    return TWOFISH_TRUE;
}

} // namespace

int TwofishMakeKey(TwofishKeyInstance* pKey, BYTE direction, int keyLen, const char* pszKeyMaterial)
{
    if (pKey == nullptr)
        return TWOFISH_BAD_KEY_INSTANCE;
    if (direction != TWOFISH_DIR_ENCRYPT && direction != TWOFISH_DIR_DECRYPT)
        return TWOFISH_BAD_KEY_DIR;
    if (keyLen != TWOFISH_KEY_BITS || pszKeyMaterial == nullptr)
        return TWOFISH_BAD_KEY_MAT;

    BYTE key[16];
    for (int i = 0; i < 32; ++i) {
        // A short text fails at its NUL, which is not a hexadecimal digit.
        const int nDigit = HexDigit(pszKeyMaterial[i]);
        if (nDigit < 0) {
            explicit_bzero(key, sizeof key);
            return TWOFISH_BAD_KEY_MAT;
        }
        if (i % 2 == 0)
            key[i / 2] = static_cast<BYTE>(nDigit << 4);
        else
            key[i / 2] = static_cast<BYTE>(key[i / 2] | nDigit);
    }

    pKey->direction = direction;
    pKey->keyLen = keyLen;
    pKey->numRounds = TWOFISH_ROUNDS;
    for (int i = 0; i < 4; ++i)
        pKey->keyWords[i] = LoadLE(key + 4 * i);

    // Round subkeys from the even and odd key words.
    const uint32_t rho = 0x01010101;
    for (uint32_t i = 0; i < 20; ++i) {
        const uint32_t a = H(2 * i * rho, pKey->keyWords[0], pKey->keyWords[2]);
        const uint32_t b = Rol(H((2 * i + 1) * rho, pKey->keyWords[1], pKey->keyWords[3]), 8);
        pKey->subKeys[2 * i] = a + b;
        pKey->subKeys[2 * i + 1] = Rol(a + 2 * b, 9);
    }

    // Full keying: g's S-boxes for every byte value, with the MDS column folded in, so that a
    // round costs eight table reads.
    uint32_t s[2] = {RsWord(key), RsWord(key + 8)};
    const auto& m = s_fixed.mds;
    for (uint32_t x = 0; x < 256; ++x) {
        pKey->sBox[0][x] = m[0][HByte0(x, s[1], s[0])];
        pKey->sBox[1][x] = m[1][HByte1(x, s[1], s[0])];
        pKey->sBox[2][x] = m[2][HByte2(x, s[1], s[0])];
        pKey->sBox[3][x] = m[3][HByte3(x, s[1], s[0])];
    }
    explicit_bzero(key, sizeof key);
    explicit_bzero(s, sizeof s);
    return TWOFISH_TRUE;
}

void TwofishWipeKey(TwofishKeyInstance* pKey)
{
    if (pKey != nullptr)
        explicit_bzero(pKey, sizeof *pKey);
}

int TwofishCipherInitInstance(TwofishCipherInstance* pCipher, BYTE mode, const char* /*pszIV*/)
{
    if (pCipher == nullptr)
        return TWOFISH_BAD_CIPHER_STATE;
    if (mode != TWOFISH_MODE_ECB)
        return TWOFISH_BAD_CIPHER_MODE;
    pCipher->mode = mode;
    return TWOFISH_TRUE;
}

#define TF_G0(x) (sb[0][Byte(x, 0)] ^ sb[1][Byte(x, 1)] ^ sb[2][Byte(x, 2)] ^ sb[3][Byte(x, 3)])
#define TF_G1(x) (sb[0][Byte(x, 3)] ^ sb[1][Byte(x, 0)] ^ sb[2][Byte(x, 1)] ^ sb[3][Byte(x, 2)])

namespace {

// The whitening of N blocks on the way in and out: each block's four words against four subkeys,
// into (or from) the lanes named in the order the block holds them.
template <int N>
inline void LoadLanes(const BYTE* pIn, const uint32_t* w, uint32_t* x0, uint32_t* x1, uint32_t* x2, uint32_t* x3)
{
#pragma GCC unroll 8
    for (int i = 0; i < N; ++i) {
        const BYTE* p = pIn + i * TWOFISH_BLOCK_BYTES;
        x0[i] = LoadLE(p) ^ w[0];
        x1[i] = LoadLE(p + 4) ^ w[1];
        x2[i] = LoadLE(p + 8) ^ w[2];
        x3[i] = LoadLE(p + 12) ^ w[3];
    }
}

// Every block was read whole before, so writing over the input is safe.
template <int N>
inline void StoreLanes(BYTE* pOut, const uint32_t* w, const uint32_t* x0, const uint32_t* x1, const uint32_t* x2,
                       const uint32_t* x3)
{
#pragma GCC unroll 8
    for (int i = 0; i < N; ++i) {
        BYTE* p = pOut + i * TWOFISH_BLOCK_BYTES;
        StoreLE(p, x0[i] ^ w[0]);
        StoreLE(p + 4, x1[i] ^ w[1]);
        StoreLE(p + 8, x2[i] ^ w[2]);
        StoreLE(p + 12, x3[i] ^ w[3]);
    }
}

// N blocks through the same rounds at once. One block's rounds are a chain of table reads, each
// waiting for the one before; with four chains side by side the reads of one fill the others'
// waits. The lane loops are unrolled so that each lane's words stay in registers.
template <int N>
void EncryptLanes(const TwofishKeyInstance* pKey, const BYTE* pIn, BYTE* pOut)
{
    const uint32_t(*sb)[256] = pKey->sBox;
    const uint32_t* k = pKey->subKeys;
    uint32_t a[N], b[N], c[N], d[N];
    LoadLanes<N>(pIn, k, a, b, c, d);
    // Two rounds per step: the halves trade places instead of being swapped.
#pragma GCC unroll 8
    for (int r = 0; r < TWOFISH_ROUNDS / 2; ++r) {
        const uint32_t* kr = k + 8 + 4 * r;
#pragma GCC unroll 8
        for (int i = 0; i < N; ++i) {
            const uint32_t t0 = TF_G0(a[i]), t1 = TF_G1(b[i]);
            c[i] = Ror(c[i] ^ (t0 + t1 + kr[0]), 1);
            d[i] = Rol(d[i], 1) ^ (t0 + 2 * t1 + kr[1]);
        }
#pragma GCC unroll 8
        for (int i = 0; i < N; ++i) {
            const uint32_t t0 = TF_G0(c[i]), t1 = TF_G1(d[i]);
            a[i] = Ror(a[i] ^ (t0 + t1 + kr[2]), 1);
            b[i] = Rol(b[i], 1) ^ (t0 + 2 * t1 + kr[3]);
        }
    }
    StoreLanes<N>(pOut, k + 4, c, d, a, b);
}

template <int N>
void DecryptLanes(const TwofishKeyInstance* pKey, const BYTE* pIn, BYTE* pOut)
{
    const uint32_t(*sb)[256] = pKey->sBox;
    const uint32_t* k = pKey->subKeys;
    uint32_t a[N], b[N], c[N], d[N];
    LoadLanes<N>(pIn, k + 4, c, d, a, b);
#pragma GCC unroll 8
    for (int r = TWOFISH_ROUNDS / 2 - 1; r >= 0; --r) {
        const uint32_t* kr = k + 8 + 4 * r;
#pragma GCC unroll 8
        for (int i = 0; i < N; ++i) {
            const uint32_t t0 = TF_G0(c[i]), t1 = TF_G1(d[i]);
            a[i] = Rol(a[i], 1) ^ (t0 + t1 + kr[2]);
            b[i] = Ror(b[i] ^ (t0 + 2 * t1 + kr[3]), 1);
        }
#pragma GCC unroll 8
        for (int i = 0; i < N; ++i) {
            const uint32_t t0 = TF_G0(a[i]), t1 = TF_G1(b[i]);
            c[i] = Rol(c[i], 1) ^ (t0 + t1 + kr[0]);
            d[i] = Ror(d[i] ^ (t0 + 2 * t1 + kr[1]), 1);
        }
    }
    StoreLanes<N>(pOut, k, a, b, c, d);
}

using LanesFn = void (*)(const TwofishKeyInstance*, const BYTE*, BYTE*);

// Groups of N blocks through Lanes, the rest one at a time.
template <int N>
void RunInGroups(LanesFn pfnGroup, LanesFn pfnOne, const TwofishKeyInstance* pKey, const BYTE* pIn,
                 size_t nBlocks, BYTE* pOut)
{
    size_t n = 0;
    for (; n + N <= nBlocks; n += N)
        pfnGroup(pKey, pIn + n * TWOFISH_BLOCK_BYTES, pOut + n * TWOFISH_BLOCK_BYTES);
    for (; n < nBlocks; ++n)
        pfnOne(pKey, pIn + n * TWOFISH_BLOCK_BYTES, pOut + n * TWOFISH_BLOCK_BYTES);
}

const int INTERLEAVED_LANES = 4;

int BestPath()
{
    static const int s_nBest = TwofishPickPath();
    return s_nBest;
}

} // namespace

BOOL TwofishPathAvailable(int nPath)
{
    switch (nPath) {
    case TWOFISH_PATH_SINGLE:
    case TWOFISH_PATH_INTERLEAVED:
        return TRUE;
    case TWOFISH_PATH_AVX2:
        return TwofishAvx2Available();
    }
    return FALSE;
}

int TwofishSelectedPath() { return BestPath(); }

namespace {

// One direction's run on a path; the vector path leaves its last few blocks to the interleaved one.
BOOL RunOnPath(int nPath, LanesFn pfnOne, LanesFn pfnGroup,
               size_t (*pfnVector)(const TwofishKeyInstance*, const BYTE*, size_t, BYTE*),
               const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput)
{
    if (!TwofishPathAvailable(nPath) || pKey == nullptr || pKey->keyLen != TWOFISH_KEY_BITS)
        return FALSE;
    if (nBlocks > 0 && (pInput == nullptr || pOutput == nullptr))
        return FALSE;
    size_t nDone = 0;
    if (nPath == TWOFISH_PATH_AVX2)
        nDone = pfnVector(pKey, pInput, nBlocks, pOutput);
    if (nPath == TWOFISH_PATH_SINGLE)
        RunInGroups<1>(pfnOne, pfnOne, pKey, pInput, nBlocks, pOutput);
    else
        RunInGroups<INTERLEAVED_LANES>(pfnGroup, pfnOne, pKey, pInput + nDone * TWOFISH_BLOCK_BYTES, nBlocks - nDone,
                                       pOutput + nDone * TWOFISH_BLOCK_BYTES);
    return TRUE;
}

} // namespace

BOOL TwofishEncryptRun(int nPath, const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput)
{
    return RunOnPath(nPath, EncryptLanes<1>, EncryptLanes<INTERLEAVED_LANES>, TwofishAvx2Encrypt, pKey, pInput,
                     nBlocks, pOutput);
}

BOOL TwofishDecryptRun(int nPath, const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput)
{
    return RunOnPath(nPath, DecryptLanes<1>, DecryptLanes<INTERLEAVED_LANES>, TwofishAvx2Decrypt, pKey, pInput,
                     nBlocks, pOutput);
}

int TwofishBlockEncrypt(const TwofishCipherInstance* pCipher, const TwofishKeyInstance* pKey,
                        const BYTE* pInput, int inputLen, BYTE* pOutput)
{
    const int nCheck = CheckBlockCall(pCipher, pKey, pInput, inputLen, pOutput);
    if (nCheck != TWOFISH_TRUE)
        return nCheck;
    TwofishEncryptRun(BestPath(), pKey, pInput, static_cast<size_t>(inputLen / (8 * TWOFISH_BLOCK_BYTES)), pOutput);
    return inputLen;
}

int TwofishBlockDecrypt(const TwofishCipherInstance* pCipher, const TwofishKeyInstance* pKey,
                        const BYTE* pInput, int inputLen, BYTE* pOutput)
{
    const int nCheck = CheckBlockCall(pCipher, pKey, pInput, inputLen, pOutput);
    if (nCheck != TWOFISH_TRUE)
        return nCheck;
    TwofishDecryptRun(BestPath(), pKey, pInput, static_cast<size_t>(inputLen / (8 * TWOFISH_BLOCK_BYTES)), pOutput);
    return inputLen;
}
