#pragma once
// Textbook RSA for the link's key exchange: key pairs, key texts ("n|e" or "n|d" in radix 64),
// texts enciphered in 32-byte chunks written as radix-64 numbers joined by '&', and the random
// session key. No padding, no signatures. Every operation returns 0, or -1 on failure.
#include "link/crypto/BigInt.h"

#define RSA_KEY_TEXT_SIZE 256           // the link's buffers for its own two key texts
#define RSA_SESSION_KEY_CHARS 32        // hexadecimal characters of a session key, no terminator
#define RSA_CHUNK_BYTES 32              // plain bytes per RSA number
#define RSA_PRIME_P_BITS 126
#define RSA_PRIME_Q_BITS 130
// The longest modulus or exponent a key text may carry. Ours are 256 bits; a server's key text
// is read from a line and then used in modular arithmetic whose time grows with the cube of
// the length, so a longer number is refused rather than worked on.
#define RSA_MAX_KEY_BITS 4096

// A probable prime of exactly nBits bits (4 to 1024) whose top two bits are set, from the
// operating system's random source.
int RandomPrime(BIGINT* p, int nBits);

// n = p q, e the smallest odd number from 3 prime to lambda = lcm(p - 1, q - 1), d = e^-1 mod
// lambda. Refused for equal primes or primes below 3.
int MakeRsaKeyPair(const BIGINT* p, const BIGINT* q, BIGINT* n, BIGINT* e, BIGINT* d);
// A fresh pair from a 126-bit and a 130-bit prime, so that n lies above 2^255.
int GenerateRsaKeyPair(BIGINT* n, BIGINT* e, BIGINT* d);
// A fresh pair written as "n|e" and "n|d"; refused when a buffer is null or too small.
int MakeRsaKeyTexts(char* pszPublic, int nPublicSize, char* pszPrivate, int nPrivateSize);

// Reads the modulus before the first '|' and the exponent after it. Refused without '|',
// without digits on either side, for a modulus below 2, an exponent below 1 or either number
// longer than RSA_MAX_KEY_BITS; n and e are then left as they were.
int ParseRsaKeyText(const char* pszKeyText, BIGINT* n, BIGINT* e);

// The room RsaEncryptText needs for a plain text of nPlainLength bytes under the key text,
// terminator included: one number per started chunk, as long as the modulus can make it.
int RsaCipherTextSize(int nPlainLength, const char* pszKeyText);
// Refused when nOutSize is below RsaCipherTextSize or a chunk is not below the modulus;
// on failure pszOut holds "" (when it has room for that).
int RsaEncryptText(char* pszOut, int nOutSize, const char* pszPlain, const char* pszKeyText);
// Writes 32 big-endian bytes per number and no terminator. Refused for an empty cipher text,
// more numbers than nOutSize / 32, a number not below the modulus or longer than the modulus
// can make, and a result of more than 32 bytes; a refusal writes nothing into pOut.
int RsaDecryptText(char* pOut, int nOutSize, const char* pszCipherText, const char* pszKeyText);

// Exactly 32 characters of "0123456789ABCDEF", no terminator.
int RandomHexKey(char* pszKey);
