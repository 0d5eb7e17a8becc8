#include "link/crypto/TwofishAvx2.h"
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>

namespace {

#define TF_AVX2 __attribute__((target("avx2")))

TF_AVX2 inline __m256i Rol1(__m256i x) { return _mm256_or_si256(_mm256_slli_epi32(x, 1), _mm256_srli_epi32(x, 31)); }
TF_AVX2 inline __m256i Ror1(__m256i x) { return _mm256_or_si256(_mm256_srli_epi32(x, 1), _mm256_slli_epi32(x, 31)); }

// Byte n of every lane, as a table index.
TF_AVX2 inline __m256i Lane(__m256i x, int n)
{
    return _mm256_and_si256(_mm256_srli_epi32(x, 8 * n), _mm256_set1_epi32(0xFF));
}

TF_AVX2 inline __m256i Look(const uint32_t* pTable, __m256i idx)
{
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(pTable), idx, 4);
}

TF_AVX2 inline __m256i G0(const uint32_t (*sb)[256], __m256i x)
{
    return _mm256_xor_si256(_mm256_xor_si256(Look(sb[0], Lane(x, 0)), Look(sb[1], Lane(x, 1))),
                            _mm256_xor_si256(Look(sb[2], Lane(x, 2)), Look(sb[3], _mm256_srli_epi32(x, 24))));
}

TF_AVX2 inline __m256i G1(const uint32_t (*sb)[256], __m256i x)
{
    return _mm256_xor_si256(_mm256_xor_si256(Look(sb[0], _mm256_srli_epi32(x, 24)), Look(sb[1], Lane(x, 0))),
                            _mm256_xor_si256(Look(sb[2], Lane(x, 1)), Look(sb[3], Lane(x, 2))));
}

// Word j of eight consecutive blocks, one per lane. x86 is little-endian, as the cipher's words are.
TF_AVX2 inline __m256i LoadWord(const BYTE* pIn, int j)
{
    const __m256i idx = _mm256_setr_epi32(0, 4, 8, 12, 16, 20, 24, 28);
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(pIn + 4 * j), idx, 4);
}

// The four state words back into eight blocks; all eight were read before the first write.
TF_AVX2 inline void StoreWords(BYTE* pOut, __m256i w0, __m256i w1, __m256i w2, __m256i w3)
{
    uint32_t words[4][8];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(words[0]), w0);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(words[1]), w1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(words[2]), w2);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(words[3]), w3);
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j)
            memcpy(pOut + 16 * i + 4 * j, &words[j][i], 4);
}

TF_AVX2 void Encrypt8(const TwofishKeyInstance* pKey, const BYTE* pIn, BYTE* pOut)
{
    const uint32_t(*sb)[256] = pKey->sBox;
    const uint32_t* k = pKey->subKeys;
    __m256i a = _mm256_xor_si256(LoadWord(pIn, 0), _mm256_set1_epi32(static_cast<int>(k[0])));
    __m256i b = _mm256_xor_si256(LoadWord(pIn, 1), _mm256_set1_epi32(static_cast<int>(k[1])));
    __m256i c = _mm256_xor_si256(LoadWord(pIn, 2), _mm256_set1_epi32(static_cast<int>(k[2])));
    __m256i d = _mm256_xor_si256(LoadWord(pIn, 3), _mm256_set1_epi32(static_cast<int>(k[3])));
    for (int r = 0; r < TWOFISH_ROUNDS / 2; ++r) {
        const uint32_t* kr = k + 8 + 4 * r;
        __m256i t0 = G0(sb, a), t1 = G1(sb, b);
        __m256i f0 = _mm256_add_epi32(_mm256_add_epi32(t0, t1), _mm256_set1_epi32(static_cast<int>(kr[0])));
        __m256i f1 = _mm256_add_epi32(_mm256_add_epi32(t0, _mm256_add_epi32(t1, t1)),
                                      _mm256_set1_epi32(static_cast<int>(kr[1])));
        c = Ror1(_mm256_xor_si256(c, f0));
        d = _mm256_xor_si256(Rol1(d), f1);
        t0 = G0(sb, c);
        t1 = G1(sb, d);
        f0 = _mm256_add_epi32(_mm256_add_epi32(t0, t1), _mm256_set1_epi32(static_cast<int>(kr[2])));
        f1 = _mm256_add_epi32(_mm256_add_epi32(t0, _mm256_add_epi32(t1, t1)), _mm256_set1_epi32(static_cast<int>(kr[3])));
        a = Ror1(_mm256_xor_si256(a, f0));
        b = _mm256_xor_si256(Rol1(b), f1);
    }
    StoreWords(pOut, _mm256_xor_si256(c, _mm256_set1_epi32(static_cast<int>(k[4]))),
               _mm256_xor_si256(d, _mm256_set1_epi32(static_cast<int>(k[5]))),
               _mm256_xor_si256(a, _mm256_set1_epi32(static_cast<int>(k[6]))),
               _mm256_xor_si256(b, _mm256_set1_epi32(static_cast<int>(k[7]))));
}

TF_AVX2 void Decrypt8(const TwofishKeyInstance* pKey, const BYTE* pIn, BYTE* pOut)
{
    const uint32_t(*sb)[256] = pKey->sBox;
    const uint32_t* k = pKey->subKeys;
    __m256i c = _mm256_xor_si256(LoadWord(pIn, 0), _mm256_set1_epi32(static_cast<int>(k[4])));
    __m256i d = _mm256_xor_si256(LoadWord(pIn, 1), _mm256_set1_epi32(static_cast<int>(k[5])));
    __m256i a = _mm256_xor_si256(LoadWord(pIn, 2), _mm256_set1_epi32(static_cast<int>(k[6])));
    __m256i b = _mm256_xor_si256(LoadWord(pIn, 3), _mm256_set1_epi32(static_cast<int>(k[7])));
    for (int r = TWOFISH_ROUNDS / 2 - 1; r >= 0; --r) {
        const uint32_t* kr = k + 8 + 4 * r;
        __m256i t0 = G0(sb, c), t1 = G1(sb, d);
        __m256i f0 = _mm256_add_epi32(_mm256_add_epi32(t0, t1), _mm256_set1_epi32(static_cast<int>(kr[2])));
        __m256i f1 = _mm256_add_epi32(_mm256_add_epi32(t0, _mm256_add_epi32(t1, t1)),
                                      _mm256_set1_epi32(static_cast<int>(kr[3])));
        a = _mm256_xor_si256(Rol1(a), f0);
        b = Ror1(_mm256_xor_si256(b, f1));
        t0 = G0(sb, a);
        t1 = G1(sb, b);
        f0 = _mm256_add_epi32(_mm256_add_epi32(t0, t1), _mm256_set1_epi32(static_cast<int>(kr[0])));
        f1 = _mm256_add_epi32(_mm256_add_epi32(t0, _mm256_add_epi32(t1, t1)), _mm256_set1_epi32(static_cast<int>(kr[1])));
        c = _mm256_xor_si256(Rol1(c), f0);
        d = Ror1(_mm256_xor_si256(d, f1));
    }
    StoreWords(pOut, _mm256_xor_si256(a, _mm256_set1_epi32(static_cast<int>(k[0]))),
               _mm256_xor_si256(b, _mm256_set1_epi32(static_cast<int>(k[1]))),
               _mm256_xor_si256(c, _mm256_set1_epi32(static_cast<int>(k[2]))),
               _mm256_xor_si256(d, _mm256_set1_epi32(static_cast<int>(k[3]))));
}

} // namespace

BOOL TwofishAvx2Available()
{
    static const BOOL s_bAvx2 = __builtin_cpu_supports("avx2") ? TRUE : FALSE;
    return s_bAvx2;
}

size_t TwofishAvx2Encrypt(const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput)
{
    if (!TwofishAvx2Available())
        return 0;
    const size_t nDone = nBlocks / 8 * 8;
    for (size_t n = 0; n < nDone; n += 8)
        Encrypt8(pKey, pInput + n * TWOFISH_BLOCK_BYTES, pOutput + n * TWOFISH_BLOCK_BYTES);
    return nDone;
}

size_t TwofishAvx2Decrypt(const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput)
{
    if (!TwofishAvx2Available())
        return 0;
    const size_t nDone = nBlocks / 8 * 8;
    for (size_t n = 0; n < nDone; n += 8)
        Decrypt8(pKey, pInput + n * TWOFISH_BLOCK_BYTES, pOutput + n * TWOFISH_BLOCK_BYTES);
    return nDone;
}

#else

BOOL TwofishAvx2Available() { return FALSE; }
size_t TwofishAvx2Encrypt(const TwofishKeyInstance*, const BYTE*, size_t, BYTE*) { return 0; }
size_t TwofishAvx2Decrypt(const TwofishKeyInstance*, const BYTE*, size_t, BYTE*) { return 0; }

#endif
