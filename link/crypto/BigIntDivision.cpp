#include "link/crypto/BigInt.h"
#include "link/crypto/BigIntDigits.h"
#include <cstring>

namespace {

// Scratch digit arrays of one operation, wiped and freed together: they hold key material.
class CDigitScratch
{
public:
    ~CDigitScratch()
    {
        for (int i = 0; i < m_nCount; ++i)
            BigIntFreeDigits(m_pArrays[i], m_nSizes[i]);
    }
    uint16_t* Get(uint32_t nDigits)
    {
        if (m_nCount == MAX_ARRAYS)
            return nullptr;
        uint16_t* p = BigIntAllocDigits(nDigits);
        if (p != nullptr) {
            m_pArrays[m_nCount] = p;
            m_nSizes[m_nCount++] = nDigits;
        }
        return p;
    }
private:
    static const int MAX_ARRAYS = 8;
    uint16_t* m_pArrays[MAX_ARRAYS] = {};
    uint32_t m_nSizes[MAX_ARRAYS] = {};
    int m_nCount = 0;
};

int LeadingZeros16(uint32_t d)
{
    int n = 0;
    for (uint32_t bit = 0x8000; bit != 0 && (d & bit) == 0; bit >>= 1)
        ++n;
    return n;
}

// Schoolbook long division of u (m + n digits) by v (n >= 2 digits, top digit non-zero):
// q gets m + 1 digits, r gets n digits. un needs m + n + 1 digits and vn n digits of scratch.
void LongDivide(const uint16_t* u, uint32_t nu, const uint16_t* v, uint32_t n,
                uint16_t* q, uint16_t* r, uint16_t* un, uint16_t* vn)
{
    const uint32_t m = nu - n;
    // Normalise so that the divisor's top digit has its high bit set; the quotient digit
    // estimate is then at most two too large.
    const int s = LeadingZeros16(v[n - 1]);
    for (uint32_t i = n - 1; i > 0; --i)
        vn[i] = static_cast<uint16_t>((static_cast<uint32_t>(v[i]) << s) | (s ? v[i - 1] >> (16 - s) : 0));
    vn[0] = static_cast<uint16_t>(static_cast<uint32_t>(v[0]) << s);
    un[nu] = static_cast<uint16_t>(s ? u[nu - 1] >> (16 - s) : 0);
    for (uint32_t i = nu - 1; i > 0; --i)
        un[i] = static_cast<uint16_t>((static_cast<uint32_t>(u[i]) << s) | (s ? u[i - 1] >> (16 - s) : 0));
    un[0] = static_cast<uint16_t>(static_cast<uint32_t>(u[0]) << s);

    for (uint32_t j = m + 1; j-- > 0;) {
        const uint32_t num = (static_cast<uint32_t>(un[j + n]) << 16) | un[j + n - 1];
        uint32_t qhat = num / vn[n - 1];
        uint32_t rhat = num % vn[n - 1];
        while (qhat >= BIGINT_BASE || qhat * vn[n - 2] > ((rhat << 16) | un[j + n - 2])) {
            --qhat;
            rhat += vn[n - 1];
            if (rhat >= BIGINT_BASE)
                break;
        }
        // un[j .. j+n] -= qhat * vn
        uint32_t carry = 0, borrow = 0;
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t p = qhat * vn[i] + carry;
            carry = p >> 16;
            const uint32_t sub = (p & 0xFFFF) + borrow;
            borrow = un[i + j] < sub ? 1 : 0;
            un[i + j] = static_cast<uint16_t>(un[i + j] + (borrow << 16) - sub);
        }
        const uint32_t sub = carry + borrow;
        const BOOL bNegative = un[j + n] < sub;
        un[j + n] = static_cast<uint16_t>(un[j + n] + (bNegative ? BIGINT_BASE : 0) - sub);
        if (bNegative) {
            // The estimate was one too large: add the divisor back.
            --qhat;
            uint32_t c = 0;
            for (uint32_t i = 0; i < n; ++i) {
                const uint32_t w = static_cast<uint32_t>(un[i + j]) + vn[i] + c;
                un[i + j] = static_cast<uint16_t>(w);
                c = w >> 16;
            }
            un[j + n] = static_cast<uint16_t>(un[j + n] + c);
        }
        q[j] = static_cast<uint16_t>(qhat);
    }
    for (uint32_t i = 0; i < n; ++i)
        r[i] = static_cast<uint16_t>((un[i] >> s) | (s ? static_cast<uint32_t>(un[i + 1]) << (16 - s) : 0));
}

int CompareDigits(const uint16_t* a, uint32_t na, const uint16_t* b, uint32_t nb)
{
    while (na > 0 && a[na - 1] == 0)
        --na;
    while (nb > 0 && b[nb - 1] == 0)
        --nb;
    if (na != nb)
        return na > nb ? 1 : -1;
    for (uint32_t i = na; i-- > 0;) {
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
    }
    return 0;
}

// a -= b over n digits (b has nb <= n digits); the final borrow is dropped.
void SubDigits(uint16_t* a, const uint16_t* b, uint32_t nb, uint32_t n)
{
    uint32_t borrow = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t w = BIGINT_BASE + a[i] - (i < nb ? b[i] : 0u) - borrow;
        a[i] = static_cast<uint16_t>(w);
        borrow = (w >> 16) ? 0 : 1;
    }
}

// Barrett reduction modulo m (k digits) with mu = floor(2^(32k) / m) (nMu digits).
class CBarrett
{
public:
    CBarrett(const uint16_t* m, uint32_t k, const uint16_t* mu, uint32_t nMu, CDigitScratch& scratch)
        : m_m(m), m_k(k), m_mu(mu), m_nMu(nMu)
    {
        m_q2 = scratch.Get(k + 1 + nMu);
        m_r = scratch.Get(k + 1);
    }
    BOOL IsReady() const { return m_q2 != nullptr && m_r != nullptr; }

    // out (k digits) = x mod m, for x of 2k digits below m^2.
    void Reduce(const uint16_t* x, uint16_t* out)
    {
        const uint32_t k = m_k;
        BigIntMulDigits(x + k - 1, k + 1, m_mu, m_nMu, m_q2);
        const uint16_t* q3 = m_q2 + k + 1;                  // nMu digits
        BigIntMulLowDigits(q3, m_nMu, m_m, k, m_r, k + 1);
        // r = x - q3 m modulo 2^(16(k+1)); the true remainder is below 3m, so it fits.
        uint32_t borrow = 0;
        for (uint32_t i = 0; i <= k; ++i) {
            const uint32_t w = BIGINT_BASE + x[i] - m_r[i] - borrow;
            m_r[i] = static_cast<uint16_t>(w);
            borrow = (w >> 16) ? 0 : 1;
        }
        while (CompareDigits(m_r, k + 1, m_m, k) >= 0)
            SubDigits(m_r, m_m, k, k + 1);
        memcpy(out, m_r, k * sizeof(uint16_t));
    }

private:
    const uint16_t* m_m;
    uint32_t m_k;
    const uint16_t* m_mu;
    uint32_t m_nMu;
    uint16_t* m_q2 = nullptr;
    uint16_t* m_r = nullptr;
};

} // namespace

int BigIntDivMod(const BIGINT* a, const BIGINT* b, BIGINT* q, BIGINT* r)
{
    if (BigIntIsZero(b))
        return BIGINT_RANGE;
    const int nSignQ = a->nSign ^ b->nSign;
    const int nSignR = a->nSign;
    if (BigIntCompareMagnitude(a, b) < 0) {
        int nResult = BIGINT_OK;
        if (r != nullptr)
            nResult = BigIntCopy(a, r);
        if (nResult == BIGINT_OK && q != nullptr)
            BigIntZero(q);
        return nResult;
    }
    const uint32_t nu = a->nUsed, n = b->nUsed;
    if (n == 1) {
        uint16_t rem = 0;
        int nResult = BigIntDivSmall(a, b->pDigits[0], q, &rem);    // q takes a's sign
        if (nResult == BIGINT_OK && q != nullptr && !BigIntIsZero(q))
            q->nSign = nSignQ;
        if (nResult == BIGINT_OK && r != nullptr)
            nResult = BigIntSetDigits(r, &rem, 1, nSignR);
        return nResult;
    }
    CDigitScratch scratch;
    uint16_t* pq = scratch.Get(nu - n + 1);
    uint16_t* pr = scratch.Get(n);
    uint16_t* un = scratch.Get(nu + 1);
    uint16_t* vn = scratch.Get(n);
    if (pq == nullptr || pr == nullptr || un == nullptr || vn == nullptr)
        return BIGINT_MEM;
    LongDivide(a->pDigits, nu, b->pDigits, n, pq, pr, un, vn);
    // a and b are read in full before q and r change, so either may be one of them.
    int nResult = BIGINT_OK;
    if (q != nullptr)
        nResult = BigIntSetDigits(q, pq, nu - n + 1, nSignQ);
    if (nResult == BIGINT_OK && r != nullptr)
        nResult = BigIntSetDigits(r, pr, n, nSignR);
    return nResult;
}

int BigIntMod(const BIGINT* a, const BIGINT* m, BIGINT* c)
{
    BIGINT mAbs;
    int nResult = BigIntInitCopy(&mAbs, m);          // c may be m
    if (nResult != BIGINT_OK) {
        BigIntClear(&mAbs);
        return nResult;
    }
    mAbs.nSign = BIGINT_ZPOS;
    nResult = BigIntDivMod(a, &mAbs, nullptr, c);
    if (nResult == BIGINT_OK && c->nSign == BIGINT_NEG)
        nResult = BigIntAdd(c, &mAbs, c);
    BigIntClear(&mAbs);
    return nResult;
}

int BigIntExpMod(const BIGINT* g, const BIGINT* x, const BIGINT* m, BIGINT* y)
{
    if (m->nSign == BIGINT_NEG || BigIntIsZero(m) || x->nSign == BIGINT_NEG)
        return BIGINT_RANGE;
    if (BigIntCompareSmall(m, 1) == 0) {
        BigIntZero(y);
        return BIGINT_OK;
    }
    const uint32_t k = m->nUsed;
    CDigitScratch scratch;
    uint16_t* pm = scratch.Get(k);
    uint16_t* pResult = scratch.Get(k);
    uint16_t* pSquare = scratch.Get(k);
    uint16_t* pProduct = scratch.Get(2 * k);
    BIGINT mu = {}, t = {};
    int nResult = BigIntInitSize(&mu, 2 * k + 1);
    if (nResult == BIGINT_OK)
        nResult = BigIntInitSize(&t, 2 * k + 1);
    if (nResult == BIGINT_OK && (pm == nullptr || pResult == nullptr || pSquare == nullptr || pProduct == nullptr))
        nResult = BIGINT_MEM;
    if (nResult == BIGINT_OK) {
        memcpy(pm, m->pDigits, k * sizeof(uint16_t));
        // mu = floor(2^(32k) / m)
        t.pDigits[2 * k] = 1;
        t.nUsed = 2 * k + 1;
        nResult = BigIntDivMod(&t, m, &mu, nullptr);
    }
    if (nResult == BIGINT_OK)
        nResult = BigIntMod(g, m, &t);               // the running square starts at g mod m
    const int nBits = BigIntCountBits(x);
    const uint16_t* px = x->pDigits;                 // y may be x: read the exponent before y changes
    if (nResult == BIGINT_OK) {
        CBarrett barrett(pm, k, mu.pDigits, mu.nUsed, scratch);
        if (!barrett.IsReady())
            nResult = BIGINT_MEM;
        else {
            memcpy(pSquare, t.pDigits, t.nUsed * sizeof(uint16_t));
            pResult[0] = 1;                          // 1 < m here
            for (int nBit = 0; nBit < nBits; ++nBit) {
                if ((px[nBit / 16] >> (nBit % 16)) & 1) {
                    BigIntMulDigits(pResult, k, pSquare, k, pProduct);
                    barrett.Reduce(pProduct, pResult);
                }
                if (nBit + 1 < nBits) {
                    BigIntSqrDigits(pSquare, k, pProduct);
                    barrett.Reduce(pProduct, pSquare);
                }
            }
        }
    }
    if (nResult == BIGINT_OK)
        nResult = BigIntSetDigits(y, pResult, k, BIGINT_ZPOS);
    BigIntClear(&mu);
    BigIntClear(&t);
    return nResult;
}
