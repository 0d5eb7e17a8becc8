#pragma once
// The Twofish block cipher with 128-bit keys, 16 rounds and full keying (the key-dependent
// S-boxes are computed in full when the key is made), in ECB mode. The interface keeps the
// shape of the cipher's published reference interface: a key instance, a cipher instance,
// key making, cipher initialisation and block processing with lengths in bits.
#include "platform/win/WinTypes.h"
#include <cstddef>
#include <cstdint>

#define TWOFISH_DIR_ENCRYPT 0
#define TWOFISH_DIR_DECRYPT 1
#define TWOFISH_MODE_ECB 1
#define TWOFISH_KEY_BITS 128
#define TWOFISH_BLOCK_BYTES 16
#define TWOFISH_ROUNDS 16

// Result codes: key making and cipher initialisation return TWOFISH_TRUE, block processing
// the number of bits processed, and every failure one of the negative codes.
#define TWOFISH_TRUE 1
#define TWOFISH_BAD_KEY_DIR (-1)
#define TWOFISH_BAD_KEY_MAT (-2)
#define TWOFISH_BAD_KEY_INSTANCE (-3)
#define TWOFISH_BAD_CIPHER_MODE (-4)
#define TWOFISH_BAD_CIPHER_STATE (-5)
#define TWOFISH_BAD_INPUT_LEN (-6)

// One expanded key. About 4 KB, most of it the four S-box tables; it is key material, so
// whoever owns one wipes it with TwofishWipeKey before letting it go.
struct TwofishKeyInstance
{
    BYTE direction = TWOFISH_DIR_ENCRYPT;
    int keyLen = 0;                 // bits; 0 while no key was made
    int numRounds = 0;
    uint32_t keyWords[4] = {};      // the key bytes as little-endian words
    uint32_t subKeys[40] = {};      // whitening words 0-7, round words 8-39
    uint32_t sBox[4][256] = {};     // g's key-dependent S-boxes, already multiplied by the MDS matrix
};

struct TwofishCipherInstance
{
    BYTE mode = 0;                  // TWOFISH_MODE_ECB once initialised
};

// Key text: keyLen / 4 hexadecimal characters of either case, two per byte in text order.
// Only 128-bit keys are made; a non-hexadecimal character fails with TWOFISH_BAD_KEY_MAT.
int TwofishMakeKey(TwofishKeyInstance* pKey, BYTE direction, int keyLen, const char* pszKeyMaterial);
void TwofishWipeKey(TwofishKeyInstance* pKey);

// ECB has no initialisation vector; pszIV is ignored.
int TwofishCipherInitInstance(TwofishCipherInstance* pCipher, BYTE mode, const char* pszIV);

// Process inputLen bits (a multiple of 128) block by block. Output may equal input: each block
// is read whole before its result is written.
int TwofishBlockEncrypt(const TwofishCipherInstance* pCipher, const TwofishKeyInstance* pKey,
                        const BYTE* pInput, int inputLen, BYTE* pOutput);
int TwofishBlockDecrypt(const TwofishCipherInstance* pCipher, const TwofishKeyInstance* pKey,
                        const BYTE* pInput, int inputLen, BYTE* pOutput);

// Paths through a run of blocks; every path gives the same bytes. The two calls above take the
// fastest one this build and CPU offer, chosen on first use; the portable ones are always there.
#define TWOFISH_PATH_SINGLE 0           // one block at a time
#define TWOFISH_PATH_INTERLEAVED 1      // four blocks through the same rounds at once; plain C++
#define TWOFISH_PATH_AVX2 2             // eight blocks in vector lanes; x86-64 with AVX2 only
#define TWOFISH_PATH_COUNT 3
BOOL TwofishPathAvailable(int nPath);
int TwofishSelectedPath();

// nBlocks whole blocks on one path, with no cipher instance: FALSE for a path this machine lacks
// or a key never made. Output may equal input; other overlaps are not allowed.
BOOL TwofishEncryptRun(int nPath, const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput);
BOOL TwofishDecryptRun(int nPath, const TwofishKeyInstance* pKey, const BYTE* pInput, size_t nBlocks, BYTE* pOutput);
