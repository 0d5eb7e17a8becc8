#pragma once
// Signed multi-precision integers of 16-bit digits for the RSA key exchange: schoolbook
// arithmetic, Barrett modular exponentiation, binary gcd and inverse, radix texts 2 to 64.
// Every operation takes its operands and result by pointer, allows the result to be one of
// the operands and returns a result code. Digits are wiped before they are freed.
#include "platform/win/WinTypes.h"
#include <cstdint>

#define BIGINT_OK 0
#define BIGINT_YES 0            // "yes" of a test (IsNonZero, IsOdd, IsEven)
#define BIGINT_NO (-1)          // "no" of a test
#define BIGINT_MEM (-2)         // out of memory
#define BIGINT_RANGE (-3)       // division by zero, negative unsigned step, inverse of zero
#define BIGINT_VAL (-4)         // invalid parameter: a radix outside 2..64, a text that does not fit
#define BIGINT_UNDEF (-5)       // no modular inverse

#define BIGINT_ZPOS 0
#define BIGINT_NEG 1
#define BIGINT_DEFAULT_DIGITS 100   // 1600 bits

// The radix digits, value 0 to 63 (not Base64: digits come first).
extern const char g_szBigIntRadixDigits[65];

struct BIGINT
{
    int nSign;                  // BIGINT_ZPOS or BIGINT_NEG; zero is never negative
    uint32_t nAlloc;            // digits allocated
    uint32_t nUsed;             // significant digits, at least 1
    uint16_t* pDigits;          // least significant first; owned
};

const char* BigIntResultText(int nCode);

// Life. An integer that failed to initialise holds no digits and may still be cleared.
int BigIntInit(BIGINT* a);
int BigIntInitSize(BIGINT* a, uint32_t nDigits);
int BigIntInitCopy(BIGINT* a, const BIGINT* b);
void BigIntClear(BIGINT* a);

// Values.
void BigIntZero(BIGINT* a);
int BigIntSet(BIGINT* a, uint16_t d);
int BigIntSetInt(BIGINT* a, uint32_t n);
int BigIntCopy(const BIGINT* a, BIGINT* b);             // b = a
void BigIntExchange(BIGINT* a, BIGINT* b);
int BigIntAbs(const BIGINT* a, BIGINT* b);
int BigIntNegate(const BIGINT* a, BIGINT* b);
int BigIntCountBits(const BIGINT* a);                    // of the magnitude; 0 for zero

// Comparison: -1, 0 or 1 by signed value. Tests answer BIGINT_YES or BIGINT_NO.
int BigIntCompare(const BIGINT* a, const BIGINT* b);
int BigIntCompareSmall(const BIGINT* a, uint16_t d);
int BigIntIsNonZero(const BIGINT* a);
int BigIntIsOdd(const BIGINT* a);
int BigIntIsEven(const BIGINT* a);

// Arithmetic: c = a op b with signs. Division truncates towards zero, the remainder takes
// the dividend's sign; BigIntMod gives 0 <= c < m for m > 0.
int BigIntAdd(const BIGINT* a, const BIGINT* b, BIGINT* c);
int BigIntSub(const BIGINT* a, const BIGINT* b, BIGINT* c);
int BigIntMul(const BIGINT* a, const BIGINT* b, BIGINT* c);
int BigIntAddSmall(const BIGINT* a, uint16_t d, BIGINT* c);
int BigIntSubSmall(const BIGINT* a, uint16_t d, BIGINT* c);
int BigIntMulSmall(const BIGINT* a, uint16_t d, BIGINT* c);
int BigIntDivSmall(const BIGINT* a, uint16_t d, BIGINT* q, uint16_t* pRemainder);  // remainder of |a|
int BigIntModSmall(const BIGINT* a, uint16_t d, uint16_t* pRemainder);             // 0 <= r < d
int BigIntHalve(BIGINT* a);
int BigIntDivMod(const BIGINT* a, const BIGINT* b, BIGINT* q, BIGINT* r);          // q, r may be null
int BigIntMod(const BIGINT* a, const BIGINT* m, BIGINT* c);

// Number theory. ExpMod needs m > 0 and x >= 0. The inverse lies in 0..|m|-1.
int BigIntExpMod(const BIGINT* g, const BIGINT* x, const BIGINT* m, BIGINT* y);
int BigIntGcd(const BIGINT* a, const BIGINT* b, BIGINT* g);
int BigIntExtendedGcd(const BIGINT* a, const BIGINT* b, BIGINT* g, BIGINT* x, BIGINT* y);  // x, y may be null
int BigIntInverse(const BIGINT* a, const BIGINT* m, BIGINT* c);

// Radix texts. Reading skips leading characters that are neither a digit nor a sign, takes an
// optional sign ('+' only where it is not a digit, that is up to radix 62) and reads digits up
// to the first non-digit; up to radix 36 letters of either case are read. Writing uses upper
// case and needs room for the digits, a '-' and the NUL; BigIntRadixSize tells that room. A
// refused write leaves an empty text (where there is room for one) and no digit behind.
int BigIntReadRadix(BIGINT* a, const char* pszText, int nRadix);
// The same for a text from outside: a number of more than nMaxBits bits is refused (BIGINT_VAL)
// and a is left as it was. Reading costs time quadratic in the length of the text, and what is
// done with a number after it more; a run of digits too long is refused before any arithmetic.
int BigIntReadRadixBounded(BIGINT* a, const char* pszText, int nRadix, int nMaxBits);
int BigIntToRadix(const BIGINT* a, char* pszOut, int nOutSize, int nRadix);
int BigIntRadixSize(const BIGINT* a, int nRadix, int* pnSize);
