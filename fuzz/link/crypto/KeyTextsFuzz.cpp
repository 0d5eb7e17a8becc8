// The texts of the key exchange: radix numbers in every radix from 2 to 64, RSA key texts and
// RSA cipher texts. A number written and read back is the same number; a text read and written
// again is its digits as the reader takes them; a refused text changes nothing; a key text is
// taken only with numbers of at most RSA_MAX_KEY_BITS bits, and a longer one is refused at once;
// what is enciphered under a key pair deciphers back, and a hostile cipher text deciphers to
// chunks that encipher back to it, or writes nothing.
#include <chrono>
#include <cstring>
#include <string>
#include <vector>
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/common/FuzzInput.h"
#include "link/crypto/BigInt.h"
#include "link/crypto/Rsa.h"

namespace {

// Expensive arithmetic only on numbers this short; the bound itself is checked by refusals.
const int MAX_WORK_BITS = 160;
const double MAX_REFUSAL_SECONDS = 0.5;

class CNumber
{
public:
    CNumber() { BigIntInit(&m_value); }
    ~CNumber() { BigIntClear(&m_value); }
    CNumber(const CNumber&) = delete;
    CNumber& operator=(const CNumber&) = delete;
    BIGINT* p() { return &m_value; }
private:
    BIGINT m_value{};
};

std::string ToText(const BIGINT* a, int nRadix)
{
    int nSize = 0;
    FUZZ_CHECK(BigIntRadixSize(a, nRadix, &nSize) == BIGINT_OK, "the room a text needs");
    std::string text(static_cast<size_t>(nSize), 'x');
    FUZZ_CHECK(BigIntToRadix(a, text.data(), nSize, nRadix) == BIGINT_OK, "writing into that room");
    FUZZ_CHECK(std::strlen(text.c_str()) + 1 == static_cast<size_t>(nSize), "the text fills the room exactly");
    text.resize(static_cast<size_t>(nSize - 1));
    return text;
}

bool Same(const BIGINT* a, const BIGINT* b)
{
    return BigIntCompare(a, b) == 0 && a->nSign == b->nSign;
}

// The radix reader as its header describes it: what is neither digit nor sign is skipped,
// then a sign ('+' only where it is no digit), then digits up to the first non-digit. The
// number it reads, written out: no leading zeros, upper case up to radix 36, '-' when not 0.
int DigitOf(char ch, int nRadix)
{
    const char* p = ch != '\0' ? std::strchr(g_szBigIntRadixDigits, ch) : nullptr;
    int n = p != nullptr ? static_cast<int>(p - g_szBigIntRadixDigits) : -1;
    if (nRadix <= 36 && ch >= 'a' && ch <= 'z')
        n = ch - 'a' + 10;
    return n >= 0 && n < nRadix ? n : -1;
}

std::string ReferenceCanonical(const std::string& text, int nRadix)
{
    auto isSign = [nRadix](char ch) { return ch == '-' || (ch == '+' && DigitOf(ch, nRadix) < 0); };
    size_t i = 0;
    while (i < text.size() && DigitOf(text[i], nRadix) < 0 && !isSign(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && isSign(text[i]))
        bNegative = text[i++] == '-';
    std::string digits;
    for (; i < text.size() && DigitOf(text[i], nRadix) >= 0; ++i) {
        if (!digits.empty() || text[i] != '0')
            digits += g_szBigIntRadixDigits[DigitOf(text[i], nRadix)];
    }
    if (digits.empty())
        return "0";
    return (bNegative ? "-" : "") + digits;
}

// A number of up to 64 bytes from the input, of either sign.
void TakeNumber(CFuzzInput& in, BIGINT* a)
{
    BigIntZero(a);
    for (unsigned char b : in.TakeBytes(static_cast<size_t>(in.TakeInt(0, 64)))) {
        BigIntMulSmall(a, 256, a);
        BigIntAddSmall(a, b, a);
    }
    if (in.TakeBool())
        BigIntNegate(a, a);
}

// A bounded read: taken when the number has at most nMaxBits bits, else refused with a left as
// it was.
void CheckBoundedRead(const std::string& text, int nRadix, const BIGINT* want, int nMaxBits)
{
    CNumber a, before;
    BigIntSetInt(a.p(), 0x5EED);
    BigIntSetInt(before.p(), 0x5EED);
    const int nResult = BigIntReadRadixBounded(a.p(), text.c_str(), nRadix, nMaxBits);
    if (BigIntCountBits(want) <= nMaxBits) {
        FUZZ_CHECK(nResult == BIGINT_OK, "a number within the bound is read");
        FUZZ_CHECK(BigIntCompare(a.p(), want) == 0, "the bounded read reads the same number");
    } else {
        FUZZ_CHECK(nResult == BIGINT_VAL, "a number over the bound is refused");
        FUZZ_CHECK(Same(a.p(), before.p()), "a refused read leaves the number as it was");
    }
}

void RadixFromNumber(CFuzzInput& in)
{
    const int nRadix = in.TakeInt(2, 64);
    CNumber value, back;
    TakeNumber(in, value.p());
    const std::string text = ToText(value.p(), nRadix);
    FUZZ_CHECK(text == ReferenceCanonical(text, nRadix), "a written text is canonical");
    FUZZ_CHECK(BigIntReadRadix(back.p(), text.c_str(), nRadix) == BIGINT_OK && Same(back.p(), value.p()),
               "a written number reads back");
    if (nRadix <= 36) {
        std::string lower = text;
        for (char& ch : lower)
            ch = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
        FUZZ_CHECK(BigIntReadRadix(back.p(), lower.c_str(), nRadix) == BIGINT_OK && Same(back.p(), value.p()),
                   "lower case reads the same up to radix 36");
    }
    // One byte short of the room: refused, and no digit of the number is left behind.
    const int nShort = static_cast<int>(text.size()) - in.TakeInt(0, 2);
    if (nShort >= 1) {
        std::string small(static_cast<size_t>(nShort), 'x');
        FUZZ_CHECK(BigIntToRadix(value.p(), small.data(), nShort, nRadix) == BIGINT_VAL, "a short buffer is refused");
        FUZZ_CHECK(small[0] == '\0', "a refused write leaves an empty text");
        for (char ch : small)
            FUZZ_CHECK(ch == 'x' || ch == '\0', "a refused write leaves no digit");
    }
    CheckBoundedRead(text, nRadix, value.p(), in.TakeInt(1, 600));
}

void RadixFromText(CFuzzInput& in)
{
    const int nRadix = in.TakeInt(2, 64);
    std::string text = in.TakeText(160);
    if (in.TakeInt(0, 7) == 0) {
        // One decision a statement: the order in which arguments are taken is the compiler's.
        const size_t nLength = static_cast<size_t>(in.TakeInt(0, 20000));
        text.append(nLength, g_szBigIntRadixDigits[in.TakeInt(0, nRadix - 1)]);
    }
    const int nMaxBits = in.TakeInt(1, 5000);
    CNumber value, again;
    if (text.size() > 400) {
        // Long runs go only through the bounded read, which must refuse them at once.
        const auto start = std::chrono::steady_clock::now();
        const int nResult = BigIntReadRadixBounded(value.p(), text.c_str(), nRadix, nMaxBits);
        const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        FUZZ_CHECK(nResult == BIGINT_OK || dSeconds < MAX_REFUSAL_SECONDS, "a refusal takes no time");
        if (nResult == BIGINT_OK)
            FUZZ_CHECK(BigIntCountBits(value.p()) <= nMaxBits, "a bounded read keeps its bound");
        return;
    }
    FUZZ_CHECK(BigIntReadRadix(value.p(), text.c_str(), nRadix) == BIGINT_OK, "any text reads");
    const std::string canonical = ToText(value.p(), nRadix);
    FUZZ_CHECK(canonical == ReferenceCanonical(text, nRadix), "the number is the digits the reader takes");
    FUZZ_CHECK(BigIntReadRadix(again.p(), canonical.c_str(), nRadix) == BIGINT_OK && Same(again.p(), value.p()),
               "read, written and read again");
    CheckBoundedRead(text, nRadix, value.p(), nMaxBits);
}

// A key text from the input, sometimes with a run of digits as long as a line allows.
std::string TakeKeyText(CFuzzInput& in)
{
    std::string text = in.TakeText(120);
    if (in.TakeInt(0, 5) == 0) {
        const size_t nAt = static_cast<size_t>(in.TakeInt(0, static_cast<int>(text.size())));
        const size_t nLength = static_cast<size_t>(in.TakeInt(600, 16000));
        text.insert(nAt, std::string(nLength, g_szBigIntRadixDigits[in.TakeInt(1, 63)]));
    }
    return text;
}

void KeyText(CFuzzInput& in)
{
    const std::string text = TakeKeyText(in);
    CNumber n, e, nBefore, eBefore, nModel, eModel;
    BigIntSetInt(n.p(), 12345);
    BigIntSetInt(e.p(), 678);
    BigIntCopy(n.p(), nBefore.p());
    BigIntCopy(e.p(), eBefore.p());

    const auto start = std::chrono::steady_clock::now();
    const int nResult = ParseRsaKeyText(text.c_str(), n.p(), e.p());
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // What the key text must give: a digit on each side of the first '|', both numbers read
    // from there, a modulus of at least 2, an exponent of at least 1, neither over the bound.
    const size_t nBar = text.find('|');
    bool bWant = nBar != std::string::npos;
    if (bWant) {
        const std::string left = text.substr(0, nBar), right = text.substr(nBar + 1);
        auto hasDigit = [](const std::string& s) { return s.find_first_of(g_szBigIntRadixDigits) != std::string::npos; };
        const std::string nText = ReferenceCanonical(left, 64), eText = ReferenceCanonical(right, 64);
        bWant = hasDigit(left) && hasDigit(right) && nText.size() <= 700 && eText.size() <= 700;
        if (bWant) {
            BigIntReadRadix(nModel.p(), nText.c_str(), 64);
            BigIntReadRadix(eModel.p(), eText.c_str(), 64);
            bWant = BigIntCompareSmall(nModel.p(), 2) >= 0 && BigIntCompareSmall(eModel.p(), 1) >= 0 &&
                    BigIntCountBits(nModel.p()) <= RSA_MAX_KEY_BITS && BigIntCountBits(eModel.p()) <= RSA_MAX_KEY_BITS;
        }
    }
    FUZZ_CHECK(nResult == (bWant ? 0 : -1), "a key text is taken exactly when it is a key");
    if (nResult != 0) {
        FUZZ_CHECK(Same(n.p(), nBefore.p()) && Same(e.p(), eBefore.p()), "a refused key text changes nothing");
        FUZZ_CHECK(RsaCipherTextSize(32, text.c_str()) == -1, "no cipher text under a refused key");
        FUZZ_CHECK(dSeconds < MAX_REFUSAL_SECONDS || text.size() < 2000, "a long key text is refused at once");
        return;
    }
    FUZZ_CHECK(Same(n.p(), nModel.p()) && Same(e.p(), eModel.p()), "the numbers of the key text");
    // Written as a key text and read again: the same key.
    const std::string rewritten = ToText(n.p(), 64) + "|" + ToText(e.p(), 64);
    CNumber n2, e2;
    FUZZ_CHECK(ParseRsaKeyText(rewritten.c_str(), n2.p(), e2.p()) == 0 && Same(n2.p(), n.p()) && Same(e2.p(), e.p()),
               "a key text written back reads the same");
    if (BigIntCountBits(n.p()) > MAX_WORK_BITS || BigIntCountBits(e.p()) > MAX_WORK_BITS)
        return;

    // Enciphering under a hostile key: whole numbers below the modulus, or nothing.
    const std::string plain = in.TakeText(40);
    const int nSize = RsaCipherTextSize(static_cast<int>(plain.size()), text.c_str());
    FUZZ_CHECK(nSize >= 1, "the room of a cipher text");
    const int nGive = nSize - in.TakeInt(0, 1);
    std::string out(static_cast<size_t>(nSize) + 8, 'x');
    const int nEncrypt = RsaEncryptText(out.data(), nGive, plain.c_str(), text.c_str());
    FUZZ_CHECK(nGive >= nSize || nEncrypt == -1, "too little room is refused");
    FUZZ_CHECK(out.compare(static_cast<size_t>(nSize), 8, "xxxxxxxx") == 0, "nothing past the room");
    if (nEncrypt != 0) {
        FUZZ_CHECK(nGive < 1 || out[0] == '\0', "a refused text leaves an empty cipher text where it has room");
        return;
    }
    const std::string cipher = out.c_str();
    if (plain.empty()) {
        FUZZ_CHECK(cipher.empty(), "an empty text has an empty cipher text");
        return;
    }
    size_t nPieces = 0;
    for (size_t nStart = 0;; ++nPieces) {
        const size_t nAmp = cipher.find('&', nStart);
        CNumber c;
        const std::string piece = cipher.substr(nStart, nAmp == std::string::npos ? std::string::npos : nAmp - nStart);
        FUZZ_CHECK(!piece.empty() && piece == ReferenceCanonical(piece, 64), "a cipher number is canonical");
        BigIntReadRadix(c.p(), piece.c_str(), 64);
        FUZZ_CHECK(BigIntCompare(c.p(), n.p()) < 0, "a cipher number lies below the modulus");
        if (nAmp == std::string::npos)
            break;
        nStart = nAmp + 1;
    }
    FUZZ_CHECK(nPieces + 1 == (plain.size() + RSA_CHUNK_BYTES - 1) / RSA_CHUNK_BYTES, "one number per chunk");
}

// A key pair from two fixed primes (126 and 130 bits), made once.
struct KEY_PAIR {
    std::string strPublic, strPrivate;
    CNumber n, e, d;
};

KEY_PAIR& KeyPair()
{
    static KEY_PAIR* s_pPair = [] {
        auto* pPair = new KEY_PAIR;
        CNumber p, q;
        BigIntReadRadix(p.p(), "30000000005a5a5a5a5a5a5a5a5a5ac1", 16);
        BigIntReadRadix(q.p(), "3000000003c3c3c3c3c3c3c3c3c3c3c49", 16);
        FUZZ_CHECK(MakeRsaKeyPair(p.p(), q.p(), pPair->n.p(), pPair->e.p(), pPair->d.p()) == 0, "the fixed key pair");
        pPair->strPublic = ToText(pPair->n.p(), 64) + "|" + ToText(pPair->e.p(), 64);
        pPair->strPrivate = ToText(pPair->n.p(), 64) + "|" + ToText(pPair->d.p(), 64);
        return pPair;
    }();
    return *s_pPair;
}

// Our own texts under the key pair come back with their zero padding, and nothing more.
void EncryptAndBack(CFuzzInput& in, KEY_PAIR& key)
{
    const std::string plain = in.TakeText(2 * RSA_CHUNK_BYTES);
    const int nSize = RsaCipherTextSize(static_cast<int>(plain.size()), key.strPublic.c_str());
    std::string cipher(static_cast<size_t>(nSize), '\0');
    const int nChunks = static_cast<int>((plain.size() + RSA_CHUNK_BYTES - 1) / RSA_CHUNK_BYTES);
    // Every chunk of a text is below a modulus above 2^255 once its first byte is below 0x80.
    bool bFits = true;
    for (size_t i = 0; i < plain.size(); i += RSA_CHUNK_BYTES)
        bFits = bFits && static_cast<unsigned char>(plain[i]) < 0x80;
    const int nEncrypt = RsaEncryptText(cipher.data(), nSize, plain.c_str(), key.strPublic.c_str());
    FUZZ_CHECK(nEncrypt == 0 || !bFits, "a text of 7-bit chunk heads is enciphered");
    if (nEncrypt == 0 && nChunks > 0) {
        std::string back(static_cast<size_t>(nChunks) * RSA_CHUNK_BYTES + 4, 'k');
        FUZZ_CHECK(RsaDecryptText(back.data(), nChunks * RSA_CHUNK_BYTES, cipher.c_str(), key.strPrivate.c_str()) == 0,
                   "our own cipher text deciphers");
        std::string want = plain;
        want.resize(static_cast<size_t>(nChunks) * RSA_CHUNK_BYTES, '\0');
        FUZZ_CHECK(back.compare(0, want.size(), want) == 0 && back.compare(want.size(), 4, "kkkk") == 0,
                   "the text and its zero padding come back, nothing more");
    }
}

void KeyPairRoundTrip(CFuzzInput& in)
{
    KEY_PAIR& key = KeyPair();
    if (in.TakeBool()) {
        EncryptAndBack(in, key);
        return;
    }

    // A hostile cipher text: numbers the input picks, or any text.
    std::string hostile;
    if (in.TakeBool()) {
        hostile = in.TakeText(200);
    } else {
        const int nNumbers = in.TakeInt(0, 3);
        for (int i = 0; i < nNumbers; ++i) {
            CNumber c;
            TakeNumber(in, c.p());
            hostile += (i > 0 || in.TakeInt(0, 7) == 0 ? "&" : "") + ToText(c.p(), 64);
        }
    }
    const int nOut = in.TakeInt(0, 2 * RSA_CHUNK_BYTES + 1);
    std::string out(static_cast<size_t>(nOut) + 8, 'k');
    const int nDecrypt = RsaDecryptText(out.data(), nOut, hostile.c_str(), key.strPrivate.c_str());
    if (nDecrypt != 0) {
        FUZZ_CHECK(out == std::string(out.size(), 'k'), "a refused cipher text writes nothing");
        return;
    }
    // Each piece read as the reader takes it; its chunk enciphers back to it.
    const std::string text = !hostile.empty() && hostile[0] == '&' ? hostile.substr(1) : hostile;
    size_t nAt = 0, nPiece = 0;
    for (;; ++nPiece) {
        const size_t nAmp = text.find('&', nAt);
        const std::string piece = text.substr(nAt, nAmp == std::string::npos ? std::string::npos : nAmp - nAt);
        FUZZ_CHECK((nPiece + 1) * RSA_CHUNK_BYTES <= static_cast<size_t>(nOut), "the pieces fit the destination");
        CNumber c, m, check;
        BigIntReadRadix(c.p(), ReferenceCanonical(piece, 64).c_str(), 64);
        for (size_t i = 0; i < RSA_CHUNK_BYTES; ++i) {
            BigIntMulSmall(m.p(), 256, m.p());
            BigIntAddSmall(m.p(), static_cast<unsigned char>(out[nPiece * RSA_CHUNK_BYTES + i]), m.p());
        }
        FUZZ_CHECK(BigIntExpMod(m.p(), key.e.p(), key.n.p(), check.p()) == BIGINT_OK && Same(check.p(), c.p()),
                   "a deciphered chunk enciphers back to its piece");
        if (nAmp == std::string::npos)
            break;
        nAt = nAmp + 1;
    }
    const size_t nWritten = (nPiece + 1) * RSA_CHUNK_BYTES;
    FUZZ_CHECK(out.compare(nWritten, std::string::npos, std::string(out.size() - nWritten, 'k')) == 0,
               "nothing past the pieces");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    KeyPair();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    switch (in.TakeInt(0, 3)) {
    case 0: RadixFromNumber(in); break;
    case 1: RadixFromText(in); break;
    case 2: KeyText(in); break;
    default: KeyPairRoundTrip(in); break;
    }
    return 0;
}
