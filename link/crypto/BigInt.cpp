#include "link/crypto/BigInt.h"
#include "link/crypto/BigIntDigits.h"
#include <cstdlib>
#include <cstring>

const char g_szBigIntRadixDigits[65] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";

const char* BigIntResultText(int nCode)
{
    switch (nCode) {
    case BIGINT_OK: return "boolean true";
    case BIGINT_NO: return "boolean false";
    case BIGINT_MEM: return "out of memory";
    case BIGINT_RANGE: return "argument out of range";
    case BIGINT_VAL: return "invalid input parameter";
    case BIGINT_UNDEF: return "result is undefined";
    }
    return "unknown result code";
}

// ---- digits and life ----

uint16_t* BigIntAllocDigits(uint32_t nDigits)
{
    return static_cast<uint16_t*>(calloc(nDigits == 0 ? 1 : nDigits, sizeof(uint16_t)));
}

void BigIntFreeDigits(uint16_t* pDigits, uint32_t nDigits)
{
    if (pDigits == nullptr)
        return;
    explicit_bzero(pDigits, (nDigits == 0 ? 1 : nDigits) * sizeof(uint16_t));
    free(pDigits);
}

int BigIntInitSize(BIGINT* a, uint32_t nDigits)
{
    if (nDigits == 0)
        nDigits = 1;
    a->nSign = BIGINT_ZPOS;
    a->nUsed = 1;
    a->pDigits = BigIntAllocDigits(nDigits);
    a->nAlloc = a->pDigits != nullptr ? nDigits : 0;
    return a->pDigits != nullptr ? BIGINT_OK : BIGINT_MEM;
}

int BigIntInit(BIGINT* a)
{
    return BigIntInitSize(a, BIGINT_DEFAULT_DIGITS);
}

int BigIntInitCopy(BIGINT* a, const BIGINT* b)
{
    const int nResult = BigIntInitSize(a, b->nUsed > BIGINT_DEFAULT_DIGITS ? b->nUsed : BIGINT_DEFAULT_DIGITS);
    return nResult != BIGINT_OK ? nResult : BigIntCopy(b, a);
}

void BigIntClear(BIGINT* a)
{
    BigIntFreeDigits(a->pDigits, a->nAlloc);
    a->pDigits = nullptr;
    a->nAlloc = 0;
    a->nUsed = 0;
    a->nSign = BIGINT_ZPOS;
}

int BigIntGrow(BIGINT* a, uint32_t nDigits)
{
    if (a->nAlloc >= nDigits && a->pDigits != nullptr)
        return BIGINT_OK;
    // A little slack, so that a number growing digit by digit is not copied at every digit.
    const uint32_t nNew = nDigits + 8;
    uint16_t* p = BigIntAllocDigits(nNew);
    if (p == nullptr)
        return BIGINT_MEM;
    if (a->pDigits != nullptr)
        memcpy(p, a->pDigits, (a->nUsed < a->nAlloc ? a->nUsed : a->nAlloc) * sizeof(uint16_t));
    BigIntFreeDigits(a->pDigits, a->nAlloc);
    a->pDigits = p;
    a->nAlloc = nNew;
    if (a->nUsed == 0)
        a->nUsed = 1;
    return BIGINT_OK;
}

void BigIntClamp(BIGINT* a)
{
    while (a->nUsed > 1 && a->pDigits[a->nUsed - 1] == 0)
        --a->nUsed;
    if (a->nUsed <= 1 && a->pDigits[0] == 0) {
        a->nUsed = 1;
        a->nSign = BIGINT_ZPOS;
    }
}

int BigIntSetDigits(BIGINT* a, const uint16_t* pDigits, uint32_t nDigits, int nSign)
{
    if (nDigits == 0) {
        BigIntZero(a);
        return BIGINT_OK;
    }
    const int nResult = BigIntGrow(a, nDigits);
    if (nResult != BIGINT_OK)
        return nResult;
    memmove(a->pDigits, pDigits, nDigits * sizeof(uint16_t));
    a->nUsed = nDigits;
    a->nSign = nSign;
    BigIntClamp(a);
    return BIGINT_OK;
}

// ---- values ----

void BigIntZero(BIGINT* a)
{
    if (a->pDigits != nullptr)
        memset(a->pDigits, 0, a->nAlloc * sizeof(uint16_t));
    a->nUsed = 1;
    a->nSign = BIGINT_ZPOS;
}

int BigIntSet(BIGINT* a, uint16_t d)
{
    const int nResult = BigIntGrow(a, 1);
    if (nResult != BIGINT_OK)
        return nResult;
    BigIntZero(a);
    a->pDigits[0] = d;
    return BIGINT_OK;
}

int BigIntSetInt(BIGINT* a, uint32_t n)
{
    const uint16_t digits[2] = {static_cast<uint16_t>(n), static_cast<uint16_t>(n >> 16)};
    return BigIntSetDigits(a, digits, 2, BIGINT_ZPOS);
}

int BigIntCopy(const BIGINT* a, BIGINT* b)
{
    if (a == b)
        return BIGINT_OK;
    return BigIntSetDigits(b, a->pDigits, a->nUsed, a->nSign);
}

void BigIntExchange(BIGINT* a, BIGINT* b)
{
    const BIGINT t = *a;
    *a = *b;
    *b = t;
}

int BigIntAbs(const BIGINT* a, BIGINT* b)
{
    const int nResult = BigIntCopy(a, b);
    if (nResult == BIGINT_OK)
        b->nSign = BIGINT_ZPOS;
    return nResult;
}

int BigIntNegate(const BIGINT* a, BIGINT* b)
{
    const int nResult = BigIntCopy(a, b);
    if (nResult == BIGINT_OK && !BigIntIsZero(b))
        b->nSign = b->nSign == BIGINT_NEG ? BIGINT_ZPOS : BIGINT_NEG;
    return nResult;
}

int BigIntCountBits(const BIGINT* a)
{
    if (BigIntIsZero(a))
        return 0;
    int nBits = static_cast<int>(a->nUsed - 1) * 16;
    for (uint32_t top = a->pDigits[a->nUsed - 1]; top != 0; top >>= 1)
        ++nBits;
    return nBits;
}

int BigIntCountTrailingZeros(const BIGINT* a)
{
    if (BigIntIsZero(a))
        return 0;
    int nBits = 0;
    uint32_t i = 0;
    while (a->pDigits[i] == 0) {
        ++i;
        nBits += 16;
    }
    for (uint32_t d = a->pDigits[i]; (d & 1) == 0; d >>= 1)
        ++nBits;
    return nBits;
}

int BigIntShiftRightBits(BIGINT* a, int nBits)
{
    const uint32_t nDigitShift = static_cast<uint32_t>(nBits / 16);
    const int nBitShift = nBits % 16;
    if (nDigitShift >= a->nUsed) {
        BigIntZero(a);
        return BIGINT_OK;
    }
    const uint32_t nUsed = a->nUsed - nDigitShift;
    uint16_t* d = a->pDigits;
    for (uint32_t i = 0; i < nUsed; ++i) {
        uint32_t w = d[i + nDigitShift] >> nBitShift;
        if (nBitShift != 0 && i + nDigitShift + 1 < a->nUsed)
            w |= static_cast<uint32_t>(d[i + nDigitShift + 1]) << (16 - nBitShift);
        d[i] = static_cast<uint16_t>(w);
    }
    for (uint32_t i = nUsed; i < a->nUsed; ++i)
        d[i] = 0;
    a->nUsed = nUsed;
    BigIntClamp(a);
    return BIGINT_OK;
}

// ---- comparison and tests ----

int BigIntIsZero(const BIGINT* a)
{
    return a->nUsed <= 1 && a->pDigits[0] == 0;
}

int BigIntCompareMagnitude(const BIGINT* a, const BIGINT* b)
{
    if (a->nUsed != b->nUsed)
        return a->nUsed > b->nUsed ? 1 : -1;
    for (uint32_t i = a->nUsed; i-- > 0;) {
        if (a->pDigits[i] != b->pDigits[i])
            return a->pDigits[i] > b->pDigits[i] ? 1 : -1;
    }
    return 0;
}

int BigIntCompare(const BIGINT* a, const BIGINT* b)
{
    if (a->nSign != b->nSign)
        return a->nSign == BIGINT_NEG ? -1 : 1;
    const int nMagnitude = BigIntCompareMagnitude(a, b);
    return a->nSign == BIGINT_NEG ? -nMagnitude : nMagnitude;
}

int BigIntCompareSmall(const BIGINT* a, uint16_t d)
{
    if (a->nSign == BIGINT_NEG)
        return -1;
    if (a->nUsed > 1 || a->pDigits[0] > d)
        return 1;
    return a->pDigits[0] == d ? 0 : -1;
}

int BigIntIsNonZero(const BIGINT* a) { return BigIntIsZero(a) ? BIGINT_NO : BIGINT_YES; }
int BigIntIsOdd(const BIGINT* a) { return (a->pDigits[0] & 1) ? BIGINT_YES : BIGINT_NO; }
int BigIntIsEven(const BIGINT* a) { return (a->pDigits[0] & 1) ? BIGINT_NO : BIGINT_YES; }

// ---- addition and subtraction ----

// |c| = |a| + |b|; c may be a or b. The sign is the caller's.
static int AddMagnitude(const BIGINT* a, const BIGINT* b, BIGINT* c)
{
    if (a->nUsed < b->nUsed) {
        const BIGINT* t = a;
        a = b;
        b = t;
    }
    const uint32_t na = a->nUsed, nb = b->nUsed;
    const int nResult = BigIntGrow(c, na + 1);    // may move a's or b's digits when c is one of them
    if (nResult != BIGINT_OK)
        return nResult;
    const uint16_t* pa = a->pDigits;
    const uint16_t* pb = b->pDigits;
    uint16_t* pc = c->pDigits;
    uint32_t carry = 0;
    for (uint32_t i = 0; i < na; ++i) {
        const uint32_t w = pa[i] + (i < nb ? pb[i] : 0u) + carry;
        pc[i] = static_cast<uint16_t>(w);
        carry = w >> 16;
    }
    pc[na] = static_cast<uint16_t>(carry);
    c->nUsed = na + 1;
    return BIGINT_OK;
}

// |c| = |a| - |b| for |a| >= |b|; c may be a or b.
static int SubMagnitude(const BIGINT* a, const BIGINT* b, BIGINT* c)
{
    const uint32_t na = a->nUsed, nb = b->nUsed;
    const int nResult = BigIntGrow(c, na);
    if (nResult != BIGINT_OK)
        return nResult;
    const uint16_t* pa = a->pDigits;
    const uint16_t* pb = b->pDigits;
    uint16_t* pc = c->pDigits;
    uint32_t borrow = 0;
    for (uint32_t i = 0; i < na; ++i) {
        const uint32_t w = BIGINT_BASE + pa[i] - (i < nb ? pb[i] : 0u) - borrow;
        pc[i] = static_cast<uint16_t>(w);
        borrow = (w >> 16) ? 0 : 1;
    }
    c->nUsed = na;
    return BIGINT_OK;
}

// c = a + (bNegateB ? -b : b)
static int AddSigned(const BIGINT* a, const BIGINT* b, BOOL bNegateB, BIGINT* c)
{
    const int nSignA = a->nSign;
    const int nSignB = bNegateB && !BigIntIsZero(b) ? (b->nSign ^ 1) : b->nSign;
    int nResult;
    int nSign;
    if (nSignA == nSignB) {
        nSign = nSignA;
        nResult = AddMagnitude(a, b, c);
    } else if (BigIntCompareMagnitude(a, b) >= 0) {
        nSign = nSignA;
        nResult = SubMagnitude(a, b, c);
    } else {
        nSign = nSignB;
        nResult = SubMagnitude(b, a, c);
    }
    if (nResult != BIGINT_OK)
        return nResult;
    c->nSign = nSign;
    BigIntClamp(c);
    return BIGINT_OK;
}

int BigIntAdd(const BIGINT* a, const BIGINT* b, BIGINT* c) { return AddSigned(a, b, FALSE, c); }
int BigIntSub(const BIGINT* a, const BIGINT* b, BIGINT* c) { return AddSigned(a, b, TRUE, c); }

int BigIntAddSmall(const BIGINT* a, uint16_t d, BIGINT* c)
{
    uint16_t digit = d;
    const BIGINT small = {BIGINT_ZPOS, 1, 1, &digit};
    return AddSigned(a, &small, FALSE, c);
}

int BigIntSubSmall(const BIGINT* a, uint16_t d, BIGINT* c)
{
    uint16_t digit = d;
    const BIGINT small = {BIGINT_ZPOS, 1, 1, &digit};
    return AddSigned(a, &small, TRUE, c);
}

// ---- multiplication ----

void BigIntMulDigits(const uint16_t* a, uint32_t na, const uint16_t* b, uint32_t nb, uint16_t* r)
{
    memset(r, 0, (na + nb) * sizeof(uint16_t));
    for (uint32_t i = 0; i < na; ++i) {
        const uint32_t ai = a[i];
        if (ai == 0)
            continue;
        uint32_t carry = 0;
        for (uint32_t j = 0; j < nb; ++j) {
            // (2^16-1)^2 + 2 (2^16-1) still fits in 32 bits.
            const uint32_t w = ai * b[j] + r[i + j] + carry;
            r[i + j] = static_cast<uint16_t>(w);
            carry = w >> 16;
        }
        r[i + nb] = static_cast<uint16_t>(carry);
    }
}

void BigIntMulLowDigits(const uint16_t* a, uint32_t na, const uint16_t* b, uint32_t nb, uint16_t* r, uint32_t nr)
{
    memset(r, 0, nr * sizeof(uint16_t));
    for (uint32_t i = 0; i < na && i < nr; ++i) {
        const uint32_t ai = a[i];
        uint32_t carry = 0;
        uint32_t j = 0;
        for (; j < nb && i + j < nr; ++j) {
            const uint32_t w = ai * b[j] + r[i + j] + carry;
            r[i + j] = static_cast<uint16_t>(w);
            carry = w >> 16;
        }
        if (i + j < nr)
            r[i + j] = static_cast<uint16_t>(carry);
    }
}

void BigIntSqrDigits(const uint16_t* a, uint32_t n, uint16_t* r)
{
    // The cross products once, doubled by a shift, then the squares on the diagonal: every
    // step stays within 32-bit words.
    memset(r, 0, 2 * n * sizeof(uint16_t));
    for (uint32_t i = 0; i + 1 < n; ++i) {
        const uint32_t ai = a[i];
        uint32_t carry = 0;
        for (uint32_t j = i + 1; j < n; ++j) {
            const uint32_t w = ai * a[j] + r[i + j] + carry;
            r[i + j] = static_cast<uint16_t>(w);
            carry = w >> 16;
        }
        r[i + n] = static_cast<uint16_t>(carry);
    }
    uint32_t top = 0;
    for (uint32_t i = 0; i < 2 * n; ++i) {
        const uint32_t w = (static_cast<uint32_t>(r[i]) << 1) | top;
        r[i] = static_cast<uint16_t>(w);
        top = w >> 16;
    }
    uint32_t carry = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t sq = static_cast<uint32_t>(a[i]) * a[i];
        uint32_t w = r[2 * i] + (sq & 0xFFFF) + carry;
        r[2 * i] = static_cast<uint16_t>(w);
        w = r[2 * i + 1] + (sq >> 16) + (w >> 16);
        r[2 * i + 1] = static_cast<uint16_t>(w);
        carry = w >> 16;
    }
}

int BigIntMul(const BIGINT* a, const BIGINT* b, BIGINT* c)
{
    const uint32_t n = a->nUsed + b->nUsed;
    uint16_t* p = BigIntAllocDigits(n);
    if (p == nullptr)
        return BIGINT_MEM;
    if (a == b)
        BigIntSqrDigits(a->pDigits, a->nUsed, p);
    else
        BigIntMulDigits(a->pDigits, a->nUsed, b->pDigits, b->nUsed, p);
    const int nSign = a->nSign ^ b->nSign;
    // The product replaces c's digits, so c may be a or b.
    BigIntFreeDigits(c->pDigits, c->nAlloc);
    c->pDigits = p;
    c->nAlloc = n;
    c->nUsed = n;
    c->nSign = nSign;
    BigIntClamp(c);
    return BIGINT_OK;
}

int BigIntMulSmall(const BIGINT* a, uint16_t d, BIGINT* c)
{
    const uint32_t na = a->nUsed;
    const int nSign = a->nSign;
    const int nResult = BigIntGrow(c, na + 1);
    if (nResult != BIGINT_OK)
        return nResult;
    const uint16_t* pa = a->pDigits;
    uint16_t* pc = c->pDigits;
    uint32_t carry = 0;
    for (uint32_t i = 0; i < na; ++i) {
        const uint32_t w = static_cast<uint32_t>(pa[i]) * d + carry;
        pc[i] = static_cast<uint16_t>(w);
        carry = w >> 16;
    }
    pc[na] = static_cast<uint16_t>(carry);
    c->nUsed = na + 1;
    c->nSign = nSign;
    BigIntClamp(c);
    return BIGINT_OK;
}

// ---- division by a digit ----

int BigIntDivSmall(const BIGINT* a, uint16_t d, BIGINT* q, uint16_t* pRemainder)
{
    if (d == 0)
        return BIGINT_RANGE;
    const uint32_t na = a->nUsed;
    const int nSign = a->nSign;
    if (q != nullptr) {
        const int nResult = BigIntGrow(q, na);
        if (nResult != BIGINT_OK)
            return nResult;
    }
    const uint16_t* pa = a->pDigits;
    uint32_t rem = 0;
    for (uint32_t i = na; i-- > 0;) {
        const uint32_t w = (rem << 16) | pa[i];
        rem = w % d;
        if (q != nullptr)
            q->pDigits[i] = static_cast<uint16_t>(w / d);
    }
    if (q != nullptr) {
        q->nUsed = na;
        q->nSign = nSign;
        BigIntClamp(q);
    }
    if (pRemainder != nullptr)
        *pRemainder = static_cast<uint16_t>(rem);
    return BIGINT_OK;
}

int BigIntModSmall(const BIGINT* a, uint16_t d, uint16_t* pRemainder)
{
    uint16_t rem = 0;
    const int nResult = BigIntDivSmall(a, d, nullptr, &rem);
    if (nResult != BIGINT_OK)
        return nResult;
    if (a->nSign == BIGINT_NEG && rem != 0)
        rem = static_cast<uint16_t>(d - rem);
    if (pRemainder != nullptr)
        *pRemainder = rem;
    return BIGINT_OK;
}

int BigIntHalve(BIGINT* a)
{
    return BigIntShiftRightBits(a, 1);
}
