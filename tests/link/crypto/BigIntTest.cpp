#include "link/crypto/BigInt.h"
#include "tests/link/crypto/GmpBridge.h"
#include <gtest/gtest.h>
#include <cctype>
#include <string>
#include <vector>

namespace {

// Random operands from GMP's generator with a fixed seed: a failure replays exactly.
class BigIntModel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gmp_randinit_default(m_state);
        gmp_randseed_ui(m_state, 20240607);
    }
    void TearDown() override { gmp_randclear(m_state); }

    // Draws an mpz and the same value as a BIGINT.
    void Draw(CMpz& z, CTestBigInt& a, unsigned long nMaxBits, bool bSigned)
    {
        RandomOperand(z, m_state, nMaxBits, bSigned);
        FromMpz(a.p(), z);
    }
    unsigned long Below(unsigned long n) { return gmp_urandomm_ui(m_state, n); }

    gmp_randstate_t m_state;
};

std::string GmpRadixText(mpz_srcptr z, int nRadix)
{
    if (nRadix > 62)
        return ReferenceRadixText(z, nRadix);
    // GMP writes upper-case letters for a negative base up to 36, and 0-9A-Za-z above 36.
    char* psz = mpz_get_str(nullptr, nRadix <= 36 ? -nRadix : nRadix, z);
    std::string s(psz);
    void (*pfnFree)(void*, size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &pfnFree);
    pfnFree(psz, s.size() + 1);
    return s;
}

std::string ToText(const BIGINT* a, int nRadix)
{
    std::vector<char> buffer(2100);
    if (BigIntToRadix(a, buffer.data(), static_cast<int>(buffer.size()), nRadix) != BIGINT_OK)
        return "<failed>";
    return buffer.data();
}

} // namespace

TEST_F(BigIntModel, AddSubtractMultiplyCompareMatchGmp)
{
    for (int nStep = 0; nStep < 500; ++nStep) {
        CMpz za, zb, want;
        CTestBigInt a, b, c;
        Draw(za, a, 2000, true);
        if (nStep % 10 == 0)
            mpz_set(zb, za);           // equal operands: zero differences, equal comparisons
        else
            RandomOperand(zb, m_state, 2000, true);
        FromMpz(b.p(), zb);

        ASSERT_EQ(BIGINT_OK, BigIntAdd(a.p(), b.p(), c.p()));
        mpz_add(want, za, zb);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "add, step " << nStep;
        ASSERT_EQ(BIGINT_OK, BigIntSub(a.p(), b.p(), c.p()));
        mpz_sub(want, za, zb);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "sub, step " << nStep;
        EXPECT_EQ(mpz_sgn(want) == 0 ? BIGINT_NO : BIGINT_YES, BigIntIsNonZero(c.p()));
        ASSERT_EQ(BIGINT_OK, BigIntMul(a.p(), b.p(), c.p()));
        mpz_mul(want, za, zb);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "mul, step " << nStep;
        const int nCmp = mpz_cmp(za, zb);
        EXPECT_EQ(nCmp < 0 ? -1 : (nCmp > 0 ? 1 : 0), BigIntCompare(a.p(), b.p())) << "step " << nStep;

        // The result may be an operand.
        CTestBigInt s;
        BigIntCopy(a.p(), s.p());
        ASSERT_EQ(BIGINT_OK, BigIntSub(s.p(), b.p(), s.p()));
        mpz_sub(want, za, zb);
        ASSERT_EQ(Hex(want.p()), Hex(s.p())) << "sub into a, step " << nStep;
        BigIntCopy(b.p(), s.p());
        ASSERT_EQ(BIGINT_OK, BigIntAdd(a.p(), s.p(), s.p()));
        mpz_add(want, za, zb);
        ASSERT_EQ(Hex(want.p()), Hex(s.p())) << "add into b, step " << nStep;
        BigIntCopy(a.p(), s.p());
        ASSERT_EQ(BIGINT_OK, BigIntMul(s.p(), s.p(), s.p()));
        mpz_mul(want, za, za);
        ASSERT_EQ(Hex(want.p()), Hex(s.p())) << "square in place, step " << nStep;
    }
}

TEST_F(BigIntModel, SmallDigitOperationsMatchGmp)
{
    for (int nStep = 0; nStep < 500; ++nStep) {
        CMpz za, want;
        CTestBigInt a, c;
        Draw(za, a, 400, true);
        const uint16_t d = static_cast<uint16_t>(nStep % 5 == 0 ? 0xFFFF : 1 + Below(0xFFFF));

        ASSERT_EQ(BIGINT_OK, BigIntAddSmall(a.p(), d, c.p()));
        mpz_add_ui(want, za, d);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "step " << nStep;
        ASSERT_EQ(BIGINT_OK, BigIntSubSmall(a.p(), d, c.p()));
        mpz_sub_ui(want, za, d);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "step " << nStep;
        ASSERT_EQ(BIGINT_OK, BigIntMulSmall(a.p(), d, c.p()));
        mpz_mul_ui(want, za, d);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "step " << nStep;

        uint16_t rem = 0;
        ASSERT_EQ(BIGINT_OK, BigIntDivSmall(a.p(), d, c.p(), &rem));
        CMpz wantRem;
        mpz_tdiv_qr_ui(want, wantRem, za, d);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "step " << nStep;
        EXPECT_EQ(mpz_get_ui(wantRem), rem) << "step " << nStep;
        ASSERT_EQ(BIGINT_OK, BigIntModSmall(a.p(), d, &rem));
        EXPECT_EQ(mpz_fdiv_ui(za, d), rem) << "step " << nStep;

        BigIntCopy(a.p(), c.p());
        ASSERT_EQ(BIGINT_OK, BigIntHalve(c.p()));
        mpz_tdiv_q_2exp(want, za, 1);
        ASSERT_EQ(Hex(want.p()), Hex(c.p())) << "step " << nStep;
        EXPECT_EQ(mpz_odd_p(za) ? BIGINT_YES : BIGINT_NO, BigIntIsOdd(a.p()));
        EXPECT_EQ(mpz_even_p(za) ? BIGINT_YES : BIGINT_NO, BigIntIsEven(a.p()));
        const int nCmp = mpz_cmp_ui(za, d);
        EXPECT_EQ(nCmp < 0 ? -1 : (nCmp > 0 ? 1 : 0), BigIntCompareSmall(a.p(), d));
    }
    CTestBigInt a;
    BigIntSetInt(a.p(), 0x12345678u);
    EXPECT_EQ("12345678", Hex(a.p()));
    EXPECT_EQ(BIGINT_RANGE, BigIntDivSmall(a.p(), 0, nullptr, nullptr));
    EXPECT_EQ(29, BigIntCountBits(a.p()));
    // Negating zero gives no negative zero.
    BigIntZero(a.p());
    BigIntNegate(a.p(), a.p());
    EXPECT_EQ(BIGINT_ZPOS, a.p()->nSign);
}

TEST_F(BigIntModel, DivisionAndModuloMatchGmp)
{
    for (int nStep = 0; nStep < 500; ++nStep) {
        CMpz za, zb;
        CTestBigInt a, b;
        Draw(za, a, 2000, nStep % 3 == 0);     // a third with signs: division truncates
        // Divisors of one digit, of about the dividend's size, and anything between.
        const unsigned long nBits = nStep % 4 == 0 ? 16 : (nStep % 4 == 1 ? mpz_sizeinbase(za, 2) : 2000);
        do
            RandomOperand(zb, m_state, nBits, nStep % 3 == 0);
        while (mpz_sgn(zb) == 0);
        FromMpz(b.p(), zb);

        CTestBigInt q, r;
        ASSERT_EQ(BIGINT_OK, BigIntDivMod(a.p(), b.p(), q.p(), r.p()));
        CMpz wantQ, wantR;
        mpz_tdiv_qr(wantQ, wantR, za, zb);
        ASSERT_EQ(Hex(wantQ.p()), Hex(q.p())) << "quotient, step " << nStep;
        ASSERT_EQ(Hex(wantR.p()), Hex(r.p())) << "remainder, step " << nStep;

        CTestBigInt m;
        ASSERT_EQ(BIGINT_OK, BigIntMod(a.p(), b.p(), m.p()));
        CMpz want;
        mpz_mod(want, za, zb);
        ASSERT_EQ(Hex(want.p()), Hex(m.p())) << "mod, step " << nStep;

        // Quotient into the dividend, remainder into the divisor.
        ASSERT_EQ(BIGINT_OK, BigIntDivMod(a.p(), b.p(), a.p(), b.p()));
        ASSERT_EQ(Hex(wantQ.p()), Hex(a.p())) << "step " << nStep;
        ASSERT_EQ(Hex(wantR.p()), Hex(b.p())) << "step " << nStep;
    }
    CTestBigInt a, zero;
    BigIntSet(a.p(), 7);
    EXPECT_EQ(BIGINT_RANGE, BigIntDivMod(a.p(), zero.p(), a.p(), nullptr));
    EXPECT_EQ(BIGINT_RANGE, BigIntMod(a.p(), zero.p(), a.p()));
}

TEST_F(BigIntModel, ModularExponentiationMatchesGmp)
{
    for (int nStep = 0; nStep < 150; ++nStep) {
        CMpz zg, zx, zm;
        CTestBigInt g, x, m, y;
        Draw(zg, g, 2000, true);
        // Long moduli with short exponents keep the run short; both kinds of modulus parity.
        const unsigned long nModBits = nStep % 3 == 0 ? 2000 : 300;
        do
            RandomOperand(zm, m_state, nModBits, false);
        while (mpz_sgn(zm) == 0);
        if (nStep == 1)
            mpz_set_ui(zm, 1);
        FromMpz(m.p(), zm);
        RandomOperand(zx, m_state, nModBits == 2000 ? 64 : 300, false);
        if (nStep % 10 == 2)
            mpz_set_ui(zx, 0);
        FromMpz(x.p(), zx);

        ASSERT_EQ(BIGINT_OK, BigIntExpMod(g.p(), x.p(), m.p(), y.p()));
        CMpz want;
        mpz_powm(want, zg, zx, zm);
        ASSERT_EQ(Hex(want.p()), Hex(y.p())) << "step " << nStep << " modulus " << Hex(zm.p());
        // Into the base.
        ASSERT_EQ(BIGINT_OK, BigIntExpMod(g.p(), x.p(), m.p(), g.p()));
        ASSERT_EQ(Hex(want.p()), Hex(g.p())) << "step " << nStep;
    }
    // Fermat to base 2 holds for a prime.
    CMpz prime("340282366920938463463374607431768211507");     // 2^128 + 51
    CTestBigInt p, two, y;
    FromMpz(p.p(), prime);
    BigIntSet(two.p(), 2);
    ASSERT_EQ(BIGINT_OK, BigIntExpMod(two.p(), p.p(), p.p(), y.p()));
    EXPECT_EQ(0, BigIntCompareSmall(y.p(), 2));
    // No modulus below 1, no negative exponent.
    CTestBigInt zero, minusOne;
    BigIntSet(minusOne.p(), 1);
    BigIntNegate(minusOne.p(), minusOne.p());
    EXPECT_EQ(BIGINT_RANGE, BigIntExpMod(two.p(), two.p(), zero.p(), y.p()));
    EXPECT_EQ(BIGINT_RANGE, BigIntExpMod(two.p(), minusOne.p(), p.p(), y.p()));
}

TEST_F(BigIntModel, GcdAndInverseMatchGmp)
{
    for (int nStep = 0; nStep < 150; ++nStep) {
        CMpz za, zb, common;
        RandomOperand(za, m_state, 1000, true);
        RandomOperand(zb, m_state, 1000, true);
        if (nStep % 3 == 0) {
            // A shared factor, with a power of two in it half the time.
            RandomOperand(common, m_state, 900, false);
            mpz_mul_2exp(common, common, Below(2) * Below(40));
            mpz_mul(za, za, common);
            mpz_mul(zb, zb, common);
        }
        if (nStep == 5)
            mpz_set_ui(za, 0);
        CTestBigInt a, b, g, x, y;
        FromMpz(a.p(), za);
        FromMpz(b.p(), zb);

        CMpz want;
        mpz_gcd(want, za, zb);
        ASSERT_EQ(BIGINT_OK, BigIntGcd(a.p(), b.p(), g.p()));
        ASSERT_EQ(Hex(want.p()), Hex(g.p())) << "gcd, step " << nStep;
        ASSERT_EQ(BIGINT_OK, BigIntExtendedGcd(a.p(), b.p(), g.p(), x.p(), y.p()));
        ASSERT_EQ(Hex(want.p()), Hex(g.p())) << "extended gcd, step " << nStep;
        CMpz zx, zy, sum, t;
        ToMpz(x.p(), zx);
        ToMpz(y.p(), zy);
        mpz_mul(sum, za, zx);
        mpz_mul(t, zb, zy);
        mpz_add(sum, sum, t);
        ASSERT_EQ(Hex(want.p()), Hex(sum.p())) << "a x + b y, step " << nStep;

        if (mpz_sizeinbase(zb, 2) < 2 || mpz_sgn(za) == 0)
            continue;
        CTestBigInt inv;
        CMpz wantInv;
        const int nResult = BigIntInverse(a.p(), b.p(), inv.p());
        if (mpz_invert(wantInv, za, zb)) {
            ASSERT_EQ(BIGINT_OK, nResult) << "step " << nStep;
            ASSERT_EQ(Hex(wantInv.p()), Hex(inv.p())) << "inverse, step " << nStep;
        } else {
            EXPECT_EQ(BIGINT_UNDEF, nResult) << "step " << nStep;
        }
    }
    CTestBigInt a, m, c;
    BigIntSet(a.p(), 3);
    BigIntSet(m.p(), 10);
    ASSERT_EQ(BIGINT_OK, BigIntInverse(a.p(), m.p(), c.p()));
    EXPECT_EQ(0, BigIntCompareSmall(c.p(), 7));
    BigIntSet(a.p(), 2);
    BigIntSet(m.p(), 4);
    EXPECT_EQ(BIGINT_UNDEF, BigIntInverse(a.p(), m.p(), c.p()));
    BigIntZero(a.p());
    EXPECT_EQ(BIGINT_RANGE, BigIntInverse(a.p(), m.p(), c.p()));
    EXPECT_EQ(BIGINT_RANGE, BigIntInverse(m.p(), a.p(), c.p()));
}

TEST_F(BigIntModel, RadixTextsMatchGmpInEveryRadix)
{
    for (int nRadix = 2; nRadix <= 64; ++nRadix) {
        for (int nStep = 0; nStep < 12; ++nStep) {
            CMpz z;
            CTestBigInt a, back;
            Draw(z, a, nStep == 0 ? 40 : 2000, true);
            const std::string want = GmpRadixText(z, nRadix);
            ASSERT_EQ(want, ToText(a.p(), nRadix)) << "radix " << nRadix;
            int nSize = 0;
            ASSERT_EQ(BIGINT_OK, BigIntRadixSize(a.p(), nRadix, &nSize));
            EXPECT_EQ(want.size() + 1, static_cast<size_t>(nSize)) << "radix " << nRadix;

            ASSERT_EQ(BIGINT_OK, BigIntReadRadix(back.p(), want.c_str(), nRadix));
            ASSERT_EQ(Hex(z.p()), Hex(back.p())) << "radix " << nRadix << " text " << want;
            if (nRadix <= 36) {
                std::string lower = want;
                for (char& ch : lower)
                    ch = static_cast<char>(tolower(ch));
                ASSERT_EQ(BIGINT_OK, BigIntReadRadix(back.p(), lower.c_str(), nRadix));
                ASSERT_EQ(Hex(z.p()), Hex(back.p())) << "radix " << nRadix << " text " << lower;
            }
            // One byte short of the room: refused, and nothing half-written is left.
            std::vector<char> small(static_cast<size_t>(nSize - 1), 'x');
            EXPECT_EQ(BIGINT_VAL, BigIntToRadix(a.p(), small.data(), nSize - 1, nRadix));
            EXPECT_EQ('\0', small[0]);
        }
    }
}

TEST_F(BigIntModel, BoundedReadTakesNumbersUpToItsBitsInEveryRadix)
{
    for (int nRadix = 2; nRadix <= 64; ++nRadix) {
        for (unsigned long nBits : {1ul, 7ul, 64ul, 300ul}) {
            // 2^nBits - 1 is read, 2^nBits and one digit more are refused; a signed value and
            // leading zeros count by their bits alone.
            CMpz top, over;
            mpz_ui_pow_ui(over, 2, nBits);
            mpz_sub_ui(top, over, 1);
            const std::string topText = "-" + std::string(300, '0') + GmpRadixText(top, nRadix);
            CTestBigInt a;
            ASSERT_EQ(BIGINT_OK, BigIntReadRadixBounded(a.p(), topText.c_str(), nRadix, static_cast<int>(nBits)));
            mpz_neg(top, top);
            ASSERT_EQ(Hex(top.p()), Hex(a.p())) << "radix " << nRadix << " bits " << nBits;
            for (const std::string& text : {GmpRadixText(over, nRadix), GmpRadixText(top, nRadix) + "1"}) {
                ASSERT_EQ(BIGINT_VAL, BigIntReadRadixBounded(a.p(), text.c_str(), nRadix, static_cast<int>(nBits)))
                    << "radix " << nRadix << " bits " << nBits << " text " << text;
                ASSERT_EQ(Hex(top.p()), Hex(a.p())) << "a refusal changed the value";
            }
        }
    }
    // A run of digits far beyond the bound is refused from its length.
    CTestBigInt a;
    const std::string huge(1 << 20, '7');
    EXPECT_EQ(BIGINT_VAL, BigIntReadRadixBounded(a.p(), huge.c_str(), 10, 4096));
    EXPECT_EQ(BIGINT_VAL, BigIntReadRadixBounded(a.p(), "1", 10, 0));
    EXPECT_EQ(BIGINT_OK, BigIntReadRadixBounded(a.p(), "|0", 64, 1));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 0));
}

TEST(BigIntRadix, ReadsSignsDigitsAndStopsWhereTheServerSeparates)
{
    CTestBigInt a;
    char text[64];
    // "-0" is a positive zero.
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "-0", 10));
    EXPECT_EQ(BIGINT_ZPOS, a.p()->nSign);
    ASSERT_EQ(BIGINT_OK, BigIntToRadix(a.p(), text, sizeof text, 10));
    EXPECT_STREQ("0", text);
    // In radix 63 and 64 '+' is the digit 62, also in front; below, it is a sign.
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "+1", 64));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 62 * 64 + 1));
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "+", 63));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 62));
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "+Z", 62));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 35));
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "-10", 64));
    EXPECT_EQ("-40", Hex(a.p()));
    // Radix 64 stops at '|' and '&'; leading characters that are no digit are skipped.
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "10|20", 64));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 64));
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "|&11&2", 64));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 65));
    // Radix 16 reads both cases, and case matters above radix 36.
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "fF", 16));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 255));
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(a.p(), "a", 64));
    EXPECT_EQ(0, BigIntCompareSmall(a.p(), 36));
    // 2^255 takes 43 radix-64 digits and comes back whole.
    CMpz z;
    mpz_ui_pow_ui(z, 2, 255);
    FromMpz(a.p(), z);
    ASSERT_EQ(BIGINT_OK, BigIntToRadix(a.p(), text, sizeof text, 64));
    EXPECT_EQ(43u, strlen(text));
    CTestBigInt back;
    ASSERT_EQ(BIGINT_OK, BigIntReadRadix(back.p(), text, 64));
    EXPECT_EQ(0, BigIntCompare(a.p(), back.p()));
    // Radixes outside 2..64 are refused.
    EXPECT_EQ(BIGINT_VAL, BigIntReadRadix(a.p(), "1", 1));
    EXPECT_EQ(BIGINT_VAL, BigIntToRadix(a.p(), text, sizeof text, 65));
    EXPECT_STREQ("", text);     // no digits of the number before it left behind
}
