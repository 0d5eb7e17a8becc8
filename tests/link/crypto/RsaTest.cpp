#include "link/crypto/Rsa.h"
#include "tests/link/crypto/GmpBridge.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A key pair made by our code from primes GMP found, with GMP's own view of it beside.
class RsaFixedKey : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // p of 126 and q of 130 bits, both starting with the bits 11.
        mpz_ui_pow_ui(m_p, 2, 124);
        mpz_mul_ui(m_p, m_p, 3);
        mpz_add_ui(m_p, m_p, 123456789);
        mpz_nextprime(m_p, m_p);
        mpz_ui_pow_ui(m_q, 2, 128);
        mpz_mul_ui(m_q, m_q, 3);
        mpz_add_ui(m_q, m_q, 987654321);
        mpz_nextprime(m_q, m_q);
        MakeKey(m_p, m_q, m_publicText, m_privateText);
    }

    void MakeKey(mpz_ptr zp, mpz_ptr zq, std::string& publicText, std::string& privateText)
    {
        CTestBigInt p, q;
        FromMpz(p.p(), zp);
        FromMpz(q.p(), zq);
        ASSERT_EQ(0, MakeRsaKeyPair(p.p(), q.p(), m_key[0].p(), m_key[1].p(), m_key[2].p()));
        ToMpz(m_key[0].p(), m_n);
        ToMpz(m_key[1].p(), m_e);
        ToMpz(m_key[2].p(), m_d);
        publicText = ReferenceRadixText(m_n, 64) + "|" + ReferenceRadixText(m_e, 64);
        privateText = ReferenceRadixText(m_n, 64) + "|" + ReferenceRadixText(m_d, 64);
    }

    // What GMP makes of a 32-byte chunk under the public key, in radix 64.
    std::string GmpEncryptChunk(const std::string& chunk)
    {
        std::string bytes = chunk;
        bytes.resize(32, '\0');
        CMpz m, c;
        mpz_import(m, 32, 1, 1, 1, 0, bytes.data());
        mpz_powm(c, m, m_e, m_n);
        return ReferenceRadixText(c, 64);
    }

    CMpz m_p, m_q, m_n, m_e, m_d;
    CTestBigInt m_key[3];
    std::string m_publicText, m_privateText;
};

const char s_szPlain32[] = "0123456789ABCDEF0123456789ABCDEF";

} // namespace

TEST_F(RsaFixedKey, KeyPairFromKnownPrimes)
{
    CMpz n, p1, q1, lambda, t;
    mpz_mul(n, m_p, m_q);
    EXPECT_EQ(0, mpz_cmp(n, m_n));
    mpz_sub_ui(p1, m_p, 1);
    mpz_sub_ui(q1, m_q, 1);
    mpz_lcm(lambda, p1, q1);
    // e is the smallest odd number from 3 that is prime to lambda, and e d = 1 modulo lambda.
    ASSERT_TRUE(mpz_odd_p(m_e));
    ASSERT_GE(mpz_cmp_ui(m_e, 3), 0);
    for (unsigned long e = 3; mpz_cmp_ui(m_e, e) > 0; e += 2) {
        mpz_gcd_ui(t, lambda, e);
        EXPECT_NE(0, mpz_cmp_ui(t, 1)) << "a smaller e would do: " << e;
    }
    mpz_mul(t, m_e, m_d);
    mpz_mod(t, t, lambda);
    EXPECT_EQ(0, mpz_cmp_ui(t, 1));
    EXPECT_LT(mpz_cmp(m_d, lambda), 0);
}

TEST_F(RsaFixedKey, EncryptsChunksAsGmpAndDecryptsThemBack)
{
    char cipher[256];
    ASSERT_EQ(0, RsaEncryptText(cipher, sizeof cipher, s_szPlain32, m_publicText.c_str()));
    EXPECT_EQ(nullptr, strchr(cipher, '&'));
    EXPECT_EQ(GmpEncryptChunk(s_szPlain32), cipher);
    char plain[40];
    memset(plain, 'x', sizeof plain);
    ASSERT_EQ(0, RsaDecryptText(plain, 32, cipher, m_privateText.c_str()));
    EXPECT_EQ(std::string(s_szPlain32), std::string(plain, 32));
    EXPECT_EQ('x', plain[32]);         // no terminator, and nothing past the destination

    // 33 characters: two numbers, the second one character and 31 zero bytes.
    const std::string plain33 = std::string(s_szPlain32) + "Z";
    ASSERT_EQ(0, RsaEncryptText(cipher, sizeof cipher, plain33.c_str(), m_publicText.c_str()));
    EXPECT_EQ(GmpEncryptChunk(s_szPlain32) + "&" + GmpEncryptChunk("Z"), cipher);
    char plain64[64];
    ASSERT_EQ(0, RsaDecryptText(plain64, sizeof plain64, cipher, m_privateText.c_str()));
    EXPECT_EQ(plain33 + std::string(31, '\0'), std::string(plain64, 64));
    // A leading '&' is skipped.
    const std::string withLead = std::string("&") + cipher;
    ASSERT_EQ(0, RsaDecryptText(plain64, sizeof plain64, withLead.c_str(), m_privateText.c_str()));
    EXPECT_EQ(plain33, std::string(plain64, 33));
}

TEST_F(RsaFixedKey, DecryptionIsBoundedByItsDestination)
{
    char cipher[256];
    const std::string plain33 = std::string(s_szPlain32) + "Z";
    ASSERT_EQ(0, RsaEncryptText(cipher, sizeof cipher, plain33.c_str(), m_publicText.c_str()));
    char key[33];
    memset(key, 'k', sizeof key);
    // Where one piece is expected, two are refused and nothing is written.
    EXPECT_EQ(-1, RsaDecryptText(key, 32, cipher, m_privateText.c_str()));
    EXPECT_EQ(-1, RsaDecryptText(key, 33, cipher, m_privateText.c_str()));
    for (char ch : key)
        ASSERT_EQ('k', ch);
    EXPECT_EQ(-1, RsaDecryptText(key, 32, "", m_privateText.c_str()));
    EXPECT_EQ(-1, RsaDecryptText(key, 32, "&", m_privateText.c_str()));
    // A piece longer than the modulus can make, or not below it, is no cipher text.
    const std::string nText = ReferenceRadixText(m_n, 64);
    EXPECT_EQ(-1, RsaDecryptText(key, 32, ("1" + nText).c_str(), m_privateText.c_str()));
    EXPECT_EQ(-1, RsaDecryptText(key, 32, nText.c_str(), m_privateText.c_str()));
    EXPECT_EQ(-1, RsaDecryptText(key, 32, "-5", m_privateText.c_str()));
    for (char ch : key)
        ASSERT_EQ('k', ch);
}

TEST_F(RsaFixedKey, RefusalAfterAGoodPieceWritesNothing)
{
    // The first number deciphers, the second is the modulus itself: the refusal must not
    // leave the first chunk, nor zeros in its place, in the destination.
    char cipher[256];
    ASSERT_EQ(0, RsaEncryptText(cipher, sizeof cipher, s_szPlain32, m_publicText.c_str()));
    const std::string text = std::string(cipher) + "&" + ReferenceRadixText(m_n, 64);
    char out[64];
    memset(out, 'k', sizeof out);
    EXPECT_EQ(-1, RsaDecryptText(out, sizeof out, text.c_str(), m_privateText.c_str()));
    EXPECT_EQ(std::string(sizeof out, 'k'), std::string(out, sizeof out));
}

TEST_F(RsaFixedKey, ReadsCipherTextsThatStartWithPlus)
{
    // c = 62 * 64^41 + 12345 is written "+" and 41 more digits; a reader taking '+' for a sign
    // would drop the top digit.
    CMpz c, m;
    mpz_ui_pow_ui(c, 64, 41);
    mpz_mul_ui(c, c, 62);
    mpz_add_ui(c, c, 12345);
    const std::string text = ReferenceRadixText(c, 64);
    ASSERT_EQ('+', text[0]);
    mpz_powm(m, c, m_d, m_n);
    unsigned char want[32] = {};
    size_t nCount = 0;
    mpz_export(want + 32 - (mpz_sizeinbase(m, 2) + 7) / 8, &nCount, 1, 1, 1, 0, m);
    char got[32];
    ASSERT_EQ(0, RsaDecryptText(got, sizeof got, text.c_str(), m_privateText.c_str()));
    EXPECT_EQ(0, memcmp(want, got, 32));
    // A key text whose modulus starts with '+'.
    CTestBigInt n, e;
    ASSERT_EQ(0, ParseRsaKeyText("+A|3", n.p(), e.p()));
    EXPECT_EQ(0, BigIntCompareSmall(n.p(), 62 * 64 + 10));
    EXPECT_EQ(0, BigIntCompareSmall(e.p(), 3));
}

TEST(RsaKeyText, NumbersUpTo4096BitsAreReadLongerOnesLeaveTheKeyAsItWas)
{
    // 2^4096 - 1 is "F" and 682 "/" in radix 64; a digit more makes 4102 bits.
    CMpz top;
    mpz_ui_pow_ui(top, 2, RSA_MAX_KEY_BITS);
    mpz_sub_ui(top, top, 1);
    const std::string atBound = ReferenceRadixText(top, 64);
    ASSERT_EQ(683u, atBound.size());
    CTestBigInt n, e;
    ASSERT_EQ(0, ParseRsaKeyText((atBound + "|" + atBound).c_str(), n.p(), e.p()));
    EXPECT_EQ(Hex(top.p()), Hex(n.p()));
    EXPECT_EQ(Hex(top.p()), Hex(e.p()));
    ASSERT_EQ(0, ParseRsaKeyText("AB|3", n.p(), e.p()));
    for (const std::string& text : {atBound + "/|3", "AB|" + atBound + "/", "AB|1" + std::string(683, '0'),
                                    std::string(40000, 'z') + "|3"}) {
        EXPECT_EQ(-1, ParseRsaKeyText(text.c_str(), n.p(), e.p())) << text.size();
        EXPECT_EQ(0, BigIntCompareSmall(n.p(), 10 * 64 + 11));
        EXPECT_EQ(0, BigIntCompareSmall(e.p(), 3));
        EXPECT_EQ(-1, RsaCipherTextSize(32, text.c_str()));
    }
    // Leading zeros add no bits.
    EXPECT_EQ(0, ParseRsaKeyText((std::string(5000, '0') + atBound + "|0003").c_str(), n.p(), e.p()));
    EXPECT_EQ(Hex(top.p()), Hex(n.p()));
    EXPECT_EQ(0, BigIntCompareSmall(e.p(), 3));
}

TEST(RsaKeyText, RefusesTextsWithoutBothNumbers)
{
    CTestBigInt n, e;
    EXPECT_EQ(-1, ParseRsaKeyText("ABCDEF", n.p(), e.p()));     // no '|'
    EXPECT_EQ(-1, ParseRsaKeyText("|3", n.p(), e.p()));
    EXPECT_EQ(-1, ParseRsaKeyText("AB|", n.p(), e.p()));
    EXPECT_EQ(-1, ParseRsaKeyText("1|3", n.p(), e.p()));        // modulus below 2
    EXPECT_EQ(-1, ParseRsaKeyText("AB|0", n.p(), e.p()));
    EXPECT_EQ(-1, ParseRsaKeyText(nullptr, n.p(), e.p()));
    EXPECT_EQ(0, ParseRsaKeyText("AB|3|junk", n.p(), e.p()));
    char out[64];
    EXPECT_EQ(-1, RsaEncryptText(out, sizeof out, "text", "ABCDEF"));
    EXPECT_STREQ("", out);
    // Every chunk of a text is at or above a tiny modulus: refused rather than garbled.
    EXPECT_EQ(-1, RsaEncryptText(out, sizeof out, "text", "+A|3"));
}

TEST_F(RsaFixedKey, SizesItsOutputFromTheServersModulus)
{
    // A server with a 512-bit modulus writes numbers of up to 86 radix-64 digits.
    CMpz p, q;
    mpz_ui_pow_ui(p, 2, 255);
    mpz_nextprime(p, p);
    mpz_ui_pow_ui(q, 2, 256);
    mpz_sub_ui(q, q, 1000);
    mpz_nextprime(q, q);
    std::string publicText, privateText;
    MakeKey(p, q, publicText, privateText);
    ASSERT_EQ(86u, ReferenceRadixText(m_n, 64).size());
    const std::string plain33 = std::string(s_szPlain32) + "Z";
    const int nSize = RsaCipherTextSize(static_cast<int>(plain33.size()), publicText.c_str());
    EXPECT_EQ(2 * 87, nSize);
    std::vector<char> out(static_cast<size_t>(nSize), 'x');
    EXPECT_EQ(-1, RsaEncryptText(out.data(), nSize - 1, plain33.c_str(), publicText.c_str()));
    EXPECT_EQ('\0', out[0]);
    ASSERT_EQ(0, RsaEncryptText(out.data(), nSize, plain33.c_str(), publicText.c_str()));
    EXPECT_EQ(GmpEncryptChunk(s_szPlain32) + "&" + GmpEncryptChunk("Z"), out.data());
    char plain[64];
    ASSERT_EQ(0, RsaDecryptText(plain, sizeof plain, out.data(), privateText.c_str()));
    EXPECT_EQ(plain33, std::string(plain, 33));
}

TEST(RsaGeneration, PrimesHaveTheirSizesAndArePrime)
{
    for (int nBits : {RSA_PRIME_P_BITS, RSA_PRIME_Q_BITS, RSA_PRIME_P_BITS, RSA_PRIME_Q_BITS}) {
        CTestBigInt p;
        ASSERT_EQ(0, RandomPrime(p.p(), nBits));
        CMpz z;
        ToMpz(p.p(), z);
        EXPECT_EQ(static_cast<size_t>(nBits), mpz_sizeinbase(z, 2));
        EXPECT_TRUE(mpz_tstbit(z, nBits - 2)) << "the two top bits are set";
        EXPECT_NE(0, mpz_probab_prime_p(z, 30)) << Hex(z.p());
    }
}

TEST(RsaGeneration, GeneratedKeyTextsWorkTogether)
{
    char publicText[RSA_KEY_TEXT_SIZE], privateText[RSA_KEY_TEXT_SIZE];
    ASSERT_EQ(0, MakeRsaKeyTexts(publicText, sizeof publicText, privateText, sizeof privateText));
    CTestBigInt n, e, n2, d;
    ASSERT_EQ(0, ParseRsaKeyText(publicText, n.p(), e.p()));
    ASSERT_EQ(0, ParseRsaKeyText(privateText, n2.p(), d.p()));
    EXPECT_EQ(0, BigIntCompare(n.p(), n2.p()));
    EXPECT_EQ(256, BigIntCountBits(n.p()));        // above 2^255: every 7-bit chunk fits
    EXPECT_EQ(BIGINT_YES, BigIntIsOdd(e.p()));
    EXPECT_GE(BigIntCompareSmall(e.p(), 3), 0);

    char sessionKey[RSA_SESSION_KEY_CHARS + 1] = {};
    ASSERT_EQ(0, RandomHexKey(sessionKey));
    char cipher[128];
    ASSERT_EQ(0, RsaEncryptText(cipher, sizeof cipher, sessionKey, publicText));
    char back[RSA_SESSION_KEY_CHARS + 1] = {};
    ASSERT_EQ(0, RsaDecryptText(back, RSA_SESSION_KEY_CHARS, cipher, privateText));
    EXPECT_STREQ(sessionKey, back);

    char tooSmall[40];
    EXPECT_EQ(-1, MakeRsaKeyTexts(publicText, sizeof publicText, tooSmall, sizeof tooSmall));
    EXPECT_EQ(-1, MakeRsaKeyTexts(nullptr, 0, privateText, sizeof privateText));
}

TEST(RsaSessionKey, IsThirtyTwoHexDigitsFromTheSystemSource)
{
    char key[RSA_SESSION_KEY_CHARS + 1], other[RSA_SESSION_KEY_CHARS + 1];
    memset(key, '#', sizeof key);
    memset(other, '#', sizeof other);
    ASSERT_EQ(0, RandomHexKey(key));
    ASSERT_EQ(0, RandomHexKey(other));
    EXPECT_EQ('#', key[RSA_SESSION_KEY_CHARS]);     // no terminator written
    for (int i = 0; i < RSA_SESSION_KEY_CHARS; ++i)
        ASSERT_NE(nullptr, strchr("0123456789ABCDEF", key[i])) << key[i];
    // Two keys drawn within the same second differ.
    EXPECT_NE(std::string(key, 32), std::string(other, 32));
    EXPECT_EQ(-1, RandomHexKey(nullptr));
}
