#include "link/crypto/BigInt.h"
#include "link/crypto/BigIntDigits.h"

namespace {

int ShiftLeftBits(BIGINT* a, int nBits)
{
    int nResult = BIGINT_OK;
    for (; nBits >= 15 && nResult == BIGINT_OK; nBits -= 15)
        nResult = BigIntMulSmall(a, 1u << 15, a);
    if (nResult == BIGINT_OK && nBits > 0)
        nResult = BigIntMulSmall(a, static_cast<uint16_t>(1u << nBits), a);
    return nResult;
}

// While u is even: u /= 2 and keep u = A x + B y, making A and B even first where needed.
int HalveKeepingCofactors(BIGINT* u, BIGINT* A, BIGINT* B, const BIGINT* x, const BIGINT* y)
{
    int nResult = BIGINT_OK;
    while (nResult == BIGINT_OK && BigIntIsNonZero(u) == BIGINT_YES && BigIntIsEven(u) == BIGINT_YES) {
        nResult = BigIntHalve(u);
        if (nResult == BIGINT_OK && (BigIntIsOdd(A) == BIGINT_YES || BigIntIsOdd(B) == BIGINT_YES)) {
            nResult = BigIntAdd(A, y, A);
            if (nResult == BIGINT_OK)
                nResult = BigIntSub(B, x, B);
        }
        if (nResult == BIGINT_OK)
            nResult = BigIntHalve(A);
        if (nResult == BIGINT_OK)
            nResult = BigIntHalve(B);
    }
    return nResult;
}

int SetSign(BIGINT* a, uint16_t d, int nSign)
{
    const int nResult = BigIntSet(a, d);
    if (nResult == BIGINT_OK && d != 0)
        a->nSign = nSign;
    return nResult;
}

} // namespace

int BigIntGcd(const BIGINT* a, const BIGINT* b, BIGINT* g)
{
    if (BigIntIsZero(a))
        return BigIntAbs(b, g);
    if (BigIntIsZero(b))
        return BigIntAbs(a, g);
    CBigIntSet<2> t;
    BIGINT* u = t[0];
    BIGINT* v = t[1];
    int nResult = t.Init();
    if (nResult == BIGINT_OK)
        nResult = BigIntAbs(a, u);
    if (nResult == BIGINT_OK)
        nResult = BigIntAbs(b, v);
    if (nResult != BIGINT_OK)
        return nResult;
    // Binary method: take out the common power of two, then keep both odd and subtract.
    const int nZerosU = BigIntCountTrailingZeros(u), nZerosV = BigIntCountTrailingZeros(v);
    const int nCommon = nZerosU < nZerosV ? nZerosU : nZerosV;
    BigIntShiftRightBits(u, nZerosU);
    BigIntShiftRightBits(v, nZerosV);
    while (nResult == BIGINT_OK) {
        if (BigIntCompareMagnitude(u, v) > 0)
            BigIntExchange(u, v);
        nResult = BigIntSub(v, u, v);
        if (nResult != BIGINT_OK || BigIntIsZero(v))
            break;
        BigIntShiftRightBits(v, BigIntCountTrailingZeros(v));
    }
    if (nResult == BIGINT_OK)
        nResult = ShiftLeftBits(u, nCommon);
    if (nResult == BIGINT_OK)
        nResult = BigIntCopy(u, g);
    return nResult;
}

int BigIntExtendedGcd(const BIGINT* a, const BIGINT* b, BIGINT* g, BIGINT* x, BIGINT* y)
{
    const int nSignA = a->nSign, nSignB = b->nSign;
    CBigIntSet<8> t;
    BIGINT* xa = t[0];
    BIGINT* yb = t[1];
    BIGINT* u = t[2];
    BIGINT* v = t[3];
    BIGINT* A = t[4];
    BIGINT* B = t[5];
    BIGINT* C = t[6];
    BIGINT* D = t[7];
    int nResult = t.Init();
    if (nResult == BIGINT_OK)
        nResult = BigIntAbs(a, xa);
    if (nResult == BIGINT_OK)
        nResult = BigIntAbs(b, yb);
    if (nResult != BIGINT_OK)
        return nResult;

    // With a zero operand the other one is the gcd, and its sign the cofactor.
    if (BigIntIsZero(xa) || BigIntIsZero(yb)) {
        const BOOL bBZero = BigIntIsZero(yb);
        nResult = BigIntCopy(bBZero ? xa : yb, u);
        if (nResult == BIGINT_OK)
            nResult = SetSign(C, bBZero && !BigIntIsZero(xa) ? 1 : 0, nSignA);
        if (nResult == BIGINT_OK)
            nResult = SetSign(D, bBZero ? 0 : 1, nSignB);
    } else {
        // The binary extended Euclidean algorithm: u = A xa + B yb and v = C xa + D yb hold
        // throughout, with the common power of two taken out of both first.
        const int nZerosA = BigIntCountTrailingZeros(xa), nZerosB = BigIntCountTrailingZeros(yb);
        const int nCommon = nZerosA < nZerosB ? nZerosA : nZerosB;
        BigIntShiftRightBits(xa, nCommon);
        BigIntShiftRightBits(yb, nCommon);
        nResult = BigIntCopy(xa, u);
        if (nResult == BIGINT_OK)
            nResult = BigIntCopy(yb, v);
        if (nResult == BIGINT_OK)
            nResult = BigIntSet(A, 1);
        if (nResult == BIGINT_OK)
            nResult = BigIntSet(D, 1);
        while (nResult == BIGINT_OK && BigIntIsNonZero(u) == BIGINT_YES) {
            nResult = HalveKeepingCofactors(u, A, B, xa, yb);
            if (nResult == BIGINT_OK)
                nResult = HalveKeepingCofactors(v, C, D, xa, yb);
            if (nResult != BIGINT_OK)
                break;
            if (BigIntCompare(u, v) >= 0) {
                nResult = BigIntSub(u, v, u);
                if (nResult == BIGINT_OK)
                    nResult = BigIntSub(A, C, A);
                if (nResult == BIGINT_OK)
                    nResult = BigIntSub(B, D, B);
            } else {
                nResult = BigIntSub(v, u, v);
                if (nResult == BIGINT_OK)
                    nResult = BigIntSub(C, A, C);
                if (nResult == BIGINT_OK)
                    nResult = BigIntSub(D, B, D);
            }
        }
        if (nResult == BIGINT_OK)
            nResult = ShiftLeftBits(v, nCommon);
        if (nResult == BIGINT_OK)
            BigIntExchange(u, v);
        // Cofactors of |a| and |b| become those of a and b.
        if (nResult == BIGINT_OK && nSignA == BIGINT_NEG)
            nResult = BigIntNegate(C, C);
        if (nResult == BIGINT_OK && nSignB == BIGINT_NEG)
            nResult = BigIntNegate(D, D);
    }
    if (nResult == BIGINT_OK && g != nullptr)
        nResult = BigIntCopy(u, g);
    if (nResult == BIGINT_OK && x != nullptr)
        nResult = BigIntCopy(C, x);
    if (nResult == BIGINT_OK && y != nullptr)
        nResult = BigIntCopy(D, y);
    return nResult;
}

int BigIntInverse(const BIGINT* a, const BIGINT* m, BIGINT* c)
{
    if (BigIntIsZero(a) || BigIntIsZero(m))
        return BIGINT_RANGE;
    CBigIntSet<4> t;
    BIGINT* mAbs = t[0];
    BIGINT* aMod = t[1];
    BIGINT* g = t[2];
    BIGINT* x = t[3];
    int nResult = t.Init();
    if (nResult == BIGINT_OK)
        nResult = BigIntAbs(m, mAbs);
    if (nResult == BIGINT_OK)
        nResult = BigIntMod(a, mAbs, aMod);
    if (nResult != BIGINT_OK)
        return nResult;
    if (BigIntCompareSmall(mAbs, 1) == 0) {
        BigIntZero(c);                  // everything is its own inverse modulo 1
        return BIGINT_OK;
    }
    // The inverse of a is that of a mod |m|, so it is reported in 0..|m|-1 whatever a's sign.
    nResult = BigIntExtendedGcd(aMod, mAbs, g, x, nullptr);
    if (nResult != BIGINT_OK)
        return nResult;
    if (BigIntCompareSmall(g, 1) != 0)
        return BIGINT_UNDEF;
    return BigIntMod(x, mAbs, c);
}
