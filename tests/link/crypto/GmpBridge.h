#pragma once
// GMP as the independent reference for the big integers: conversion through the digit
// arrays (not through our radix texts, which are under test themselves) and random operands.
#include "link/crypto/BigInt.h"
#include <gmp.h>
#include <string>

// A BIGINT that clears itself.
class CTestBigInt
{
public:
    CTestBigInt() { BigIntInit(&m_value); }
    ~CTestBigInt() { BigIntClear(&m_value); }
    CTestBigInt(const CTestBigInt&) = delete;
    CTestBigInt& operator=(const CTestBigInt&) = delete;
    BIGINT* p() { return &m_value; }
private:
    BIGINT m_value{};
};

// An mpz_t that clears itself.
class CMpz
{
public:
    CMpz() { mpz_init(m_value); }
    explicit CMpz(const char* pszDecimal) { mpz_init_set_str(m_value, pszDecimal, 10); }
    ~CMpz() { mpz_clear(m_value); }
    CMpz(const CMpz&) = delete;
    CMpz& operator=(const CMpz&) = delete;
    mpz_ptr p() { return m_value; }
    operator mpz_ptr() { return m_value; }
    mpz_ptr operator->() { return m_value; }    // for GMP's macros (mpz_sgn, mpz_odd_p)
private:
    mpz_t m_value;
};

inline void ToMpz(const BIGINT* a, mpz_ptr z)
{
    mpz_import(z, a->nUsed, -1, sizeof(uint16_t), 0, 0, a->pDigits);
    if (a->nSign == BIGINT_NEG)
        mpz_neg(z, z);
}

inline void FromMpz(BIGINT* a, mpz_srcptr z)
{
    const size_t nDigits = mpz_sgn(z) == 0 ? 1 : (mpz_sizeinbase(z, 2) + 15) / 16;
    BigIntClear(a);
    BigIntInitSize(a, static_cast<uint32_t>(nDigits));
    size_t nCount = 0;
    mpz_export(a->pDigits, &nCount, -1, sizeof(uint16_t), 0, 0, z);
    a->nUsed = nCount == 0 ? 1 : static_cast<uint32_t>(nCount);
    a->nSign = mpz_sgn(z) < 0 ? BIGINT_NEG : BIGINT_ZPOS;
}

inline std::string Hex(mpz_srcptr z)
{
    char* psz = mpz_get_str(nullptr, 16, z);
    std::string s(psz);
    void (*pfnFree)(void*, size_t) = nullptr;
    mp_get_memory_functions(nullptr, nullptr, &pfnFree);
    pfnFree(psz, s.size() + 1);
    return s;
}

inline std::string Hex(const BIGINT* a)
{
    CMpz z;
    ToMpz(a, z);
    return Hex(z.p());
}

// Random operands with up to nMaxBits bits: half of them with long runs of ones and zeros,
// which carries and borrows across many digits; bSigned gives either sign.
inline void RandomOperand(mpz_ptr z, gmp_randstate_t state, unsigned long nMaxBits, bool bSigned)
{
    const unsigned long nBits = gmp_urandomm_ui(state, nMaxBits + 1);
    if (gmp_urandomb_ui(state, 1))
        mpz_rrandomb(z, state, nBits);
    else
        mpz_urandomb(z, state, nBits);
    if (bSigned && gmp_urandomb_ui(state, 1))
        mpz_neg(z, z);
}

// Radix 63 and 64 are beyond GMP: this small reference writes them from our alphabet.
inline std::string ReferenceRadixText(mpz_srcptr value, int nRadix)
{
    if (mpz_sgn(value) == 0)
        return "0";
    CMpz v;
    mpz_abs(v, value);
    std::string s;
    while (mpz_sgn(v) != 0)
        s.insert(s.begin(), g_szBigIntRadixDigits[mpz_fdiv_q_ui(v, v, static_cast<unsigned long>(nRadix))]);
    if (mpz_sgn(value) < 0)
        s.insert(s.begin(), '-');
    return s;
}
