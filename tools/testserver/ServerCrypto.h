#pragma once
// The server's side of the key exchange and the link cipher: RSA over GMP, Twofish from nettle.
#include <gmp.h>
#include <nettle/twofish.h>
#include <string>

// Numbers in the link's radix 64: digits, upper case, lower case, then '+' and '/'.
std::string ToRadix64(const mpz_t value);
bool FromRadix64(mpz_t value, const std::string& text);

class CServerRsa
{
public:
    CServerRsa();
    ~CServerRsa();
    // A fresh key pair whose modulus has about nBits bits (two primes of half the size each,
    // their top two bits set so that a 32-byte chunk of 7-bit text stays below the modulus).
    // The primes come from a generator seeded with ulSeed, so a run replays its key exchange too.
    void Generate(int nBits, unsigned long ulSeed);
    std::string ModulusText() const { return ToRadix64(m_n); }
    std::string ExponentText() const { return ToRadix64(m_e); }
    // Decrypts "c1&c2&..." into 32 big-endian bytes per piece; false when a piece is not a number.
    bool Decrypt(const std::string& cipherText, std::string& plain) const;
private:
    mpz_t m_n, m_e, m_d;
};

// Twofish ECB under a 32-hex-character key text, with the link's '-' padding.
class CServerCipher
{
public:
    bool SetKeyText(const std::string& keyText);   // false unless 32 hexadecimal characters
    // Pads the bytes to the next multiple of 16 with '-' (none when aligned) and enciphers them.
    std::string EncryptPadded(const std::string& plain) const;
    // Deciphers whole blocks of carry + data; what is left (0..15 bytes) stays in carry.
    std::string DecryptStream(std::string& carry, const std::string& data) const;
private:
    twofish_ctx m_ctx{};
};

// Deciphered bytes without their padding: a run of '-' after a line feed that reaches the next
// block boundary (bytes start on a boundary). Data lines never start with '-', so this is safe
// whether the other end pads each line or each write.
std::string StripLinePadding(const std::string& plain);
