#include "tools/testserver/ServerCrypto.h"
#include <cstring>
#include <ctime>

static const char s_szDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";

std::string ToRadix64(const mpz_t value)
{
    if (mpz_sgn(value) == 0)
        return "0";
    mpz_t v;
    mpz_init_set(v, value);
    std::string out;
    while (mpz_sgn(v) > 0)
        out.insert(out.begin(), s_szDigits[mpz_fdiv_q_ui(v, v, 64)]);
    mpz_clear(v);
    return out;
}

bool FromRadix64(mpz_t value, const std::string& text)
{
    mpz_set_ui(value, 0);
    if (text.empty())
        return false;
    for (char ch : text) {
        const char* p = std::strchr(s_szDigits, ch);
        if (ch == 0 || !p)
            return false;
        mpz_mul_ui(value, value, 64);
        mpz_add_ui(value, value, static_cast<unsigned long>(p - s_szDigits));
    }
    return true;
}

CServerRsa::CServerRsa() { mpz_inits(m_n, m_e, m_d, nullptr); }
CServerRsa::~CServerRsa() { mpz_clears(m_n, m_e, m_d, nullptr); }

static void RandomPrime(mpz_t p, int nBits, gmp_randstate_t state)
{
    mpz_urandomb(p, state, static_cast<mp_bitcnt_t>(nBits));
    mpz_setbit(p, static_cast<mp_bitcnt_t>(nBits - 1));
    mpz_setbit(p, static_cast<mp_bitcnt_t>(nBits - 2));
    mpz_nextprime(p, p);
}

void CServerRsa::Generate(int nBits, unsigned long ulSeed)
{
    gmp_randstate_t state;
    gmp_randinit_default(state);
    gmp_randseed_ui(state, ulSeed);
    mpz_t p, q, p1, q1, lambda, g;
    mpz_inits(p, q, p1, q1, lambda, g, nullptr);
    for (;;) {
        RandomPrime(p, nBits / 2, state);
        RandomPrime(q, nBits - nBits / 2, state);
        if (mpz_cmp(p, q) == 0)
            continue;
        mpz_sub_ui(p1, p, 1);
        mpz_sub_ui(q1, q, 1);
        mpz_lcm(lambda, p1, q1);
        mpz_set_ui(m_e, 65537);
        mpz_gcd(g, m_e, lambda);
        if (mpz_cmp_ui(g, 1) != 0 || !mpz_invert(m_d, m_e, lambda))
            continue;
        mpz_mul(m_n, p, q);
        break;
    }
    mpz_clears(p, q, p1, q1, lambda, g, nullptr);
    gmp_randclear(state);
}

bool CServerRsa::Decrypt(const std::string& cipherText, std::string& plain) const
{
    plain.clear();
    mpz_t c, m;
    mpz_inits(c, m, nullptr);
    bool bOk = true;
    size_t nStart = 0;
    while (bOk && nStart <= cipherText.size()) {
        size_t nEnd = cipherText.find('&', nStart);
        if (nEnd == std::string::npos)
            nEnd = cipherText.size();
        const std::string piece = cipherText.substr(nStart, nEnd - nStart);
        if (!piece.empty()) {
            bOk = FromRadix64(c, piece);
            mpz_powm(m, c, m_d, m_n);
            unsigned char block[32] = {};
            const size_t nBytes = mpz_sgn(m) == 0 ? 0 : (mpz_sizeinbase(m, 2) + 7) / 8;
            size_t nCount = 0;
            if (nBytes > sizeof block)
                bOk = false;
            else if (nBytes > 0)
                mpz_export(block + sizeof block - nBytes, &nCount, 1, 1, 1, 0, m);
            plain.append(reinterpret_cast<const char*>(block), sizeof block);
        }
        nStart = nEnd + 1;
    }
    mpz_clears(c, m, nullptr);
    // The plain text ends at its first NUL (the zero bytes that padded the last chunk).
    plain.resize(std::strlen(plain.c_str()));
    return bOk;
}

static int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

bool CServerCipher::SetKeyText(const std::string& keyText)
{
    if (keyText.size() != 32)
        return false;
    uint8_t key[16];
    for (int i = 0; i < 16; ++i) {
        const int hi = HexValue(keyText[2 * i]), lo = HexValue(keyText[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        key[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    twofish128_set_key(&m_ctx, key);
    return true;
}

std::string CServerCipher::EncryptPadded(const std::string& plain) const
{
    std::string buf = plain;
    buf.append((16 - buf.size() % 16) % 16, '-');
    std::string out(buf.size(), '\0');
    twofish_encrypt(&m_ctx, buf.size(), reinterpret_cast<uint8_t*>(out.data()),
                    reinterpret_cast<const uint8_t*>(buf.data()));
    return out;
}

std::string CServerCipher::DecryptStream(std::string& carry, const std::string& data) const
{
    carry += data;
    const size_t nWhole = carry.size() / 16 * 16;
    std::string out(nWhole, '\0');
    twofish_decrypt(&m_ctx, nWhole, reinterpret_cast<uint8_t*>(out.data()),
                    reinterpret_cast<const uint8_t*>(carry.data()));
    carry.erase(0, nWhole);
    return out;
}

std::string StripLinePadding(const std::string& plain)
{
    std::string out;
    size_t i = 0;
    while (i < plain.size()) {
        const size_t nLf = plain.find('\n', i);
        if (nLf == std::string::npos) {
            out.append(plain, i, std::string::npos);
            break;
        }
        out.append(plain, i, nLf + 1 - i);
        i = nLf + 1;
        const size_t nBoundary = (i + 15) / 16 * 16;
        size_t j = i;
        while (j < nBoundary && j < plain.size() && plain[j] == '-')
            ++j;
        if (j == nBoundary)
            i = nBoundary;
    }
    return out;
}
