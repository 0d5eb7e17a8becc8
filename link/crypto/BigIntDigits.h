#pragma once
// Digit-level helpers shared by the BIGINT operations; not for use outside link/crypto.
#include "link/crypto/BigInt.h"

#define BIGINT_BASE 0x10000u

// Digit arrays come zero-filled and are wiped before they are freed.
uint16_t* BigIntAllocDigits(uint32_t nDigits);
void BigIntFreeDigits(uint16_t* pDigits, uint32_t nDigits);

int BigIntGrow(BIGINT* a, uint32_t nDigits);           // keeps the value
void BigIntClamp(BIGINT* a);                            // trims leading zero digits, -0 becomes 0
int BigIntSetDigits(BIGINT* a, const uint16_t* pDigits, uint32_t nDigits, int nSign);
int BigIntCompareMagnitude(const BIGINT* a, const BIGINT* b);
int BigIntIsZero(const BIGINT* a);                      // TRUE or FALSE, for our own tests
int BigIntShiftRightBits(BIGINT* a, int nBits);        // magnitude shift
int BigIntCountTrailingZeros(const BIGINT* a);          // 0 for zero

// r = a * b with na + nb digits; r must not overlap a or b.
void BigIntMulDigits(const uint16_t* a, uint32_t na, const uint16_t* b, uint32_t nb, uint16_t* r);
// r = a * a with 2n digits; r must not overlap a.
void BigIntSqrDigits(const uint16_t* a, uint32_t n, uint16_t* r);
// The low nr digits of a * b; r must not overlap a or b.
void BigIntMulLowDigits(const uint16_t* a, uint32_t na, const uint16_t* b, uint32_t nb, uint16_t* r, uint32_t nr);

// The integers of one operation, cleared (and so wiped) together however it ends.
template <int N>
class CBigIntSet
{
public:
    CBigIntSet()
    {
        for (auto& v : m_values)
            v = BIGINT{};
    }
    ~CBigIntSet()
    {
        for (auto& v : m_values)
            BigIntClear(&v);
    }
    int Init()
    {
        for (auto& v : m_values) {
            const int nResult = BigIntInit(&v);
            if (nResult != BIGINT_OK)
                return nResult;
        }
        return BIGINT_OK;
    }
    BIGINT* operator[](int i) { return &m_values[i]; }
private:
    BIGINT m_values[N];
};
