// The server's key reply through the dispatcher: key numbers up to 4096 bits are used, longer
// ones end the exchange at once instead of keeping the user-interface thread in arithmetic.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "link/MessageDispatcher.h"
#include "link/crypto/Rsa.h"
#include "tests/link/crypto/GmpBridge.h"

namespace {

const char* const s_pszRefused = "info #40341; top 2; disconnect; state 599";

// 2^nBits - 1 in radix 64: the longest number of nBits bits.
std::string AllOnes64(unsigned long nBits)
{
    CMpz z;
    mpz_ui_pow_ui(z, 2, nBits);
    mpz_sub_ui(z, z, 1);
    return ReferenceRadixText(z, 64);
}

class KeyExchangeBound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterCodesForTest();
        m_app.m_pLink = &m_link;
        m_dispatcher.OnServerMessage("$VC|1|XC||0|1|0|80000|1|Test server");
        m_log.clear();
        m_link.m_sent.clear();
    }
    // The server's key reply; the events it caused, and how long it took in seconds.
    std::string KeyReply(const std::string& modulus, const std::string& exponent, double* pdSeconds = nullptr)
    {
        const std::string line = "$X9|2|XC||0|" + modulus + "|" + exponent;
        const auto start = std::chrono::steady_clock::now();
        m_dispatcher.OnServerMessage(line.c_str());
        if (pdSeconds != nullptr)
            *pdSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return Take(m_log);
    }

    CEventLog m_log;
    CFakeLink m_link{&m_log};
    CFakeApp m_app{&m_log};
    CFakeRefData m_refData{&m_log};
    CZorvatMessageSource m_source;
    CZorvatErrorDictionary m_errors{&m_source, &m_app, &m_refData};
    CMessageDispatcher m_dispatcher{&m_source, &m_errors, &m_app, &m_refData};
};

}  // namespace

TEST_F(KeyExchangeBound, ModulusOfExactly4096BitsIsUsed)
{
    const std::string modulus = AllOnes64(RSA_MAX_KEY_BITS);
    ASSERT_EQ(683u, modulus.size());
    const std::string events = KeyReply(modulus, "7");
    ASSERT_EQ(1u, m_link.m_sent.size()) << events;
    const std::string sent = m_link.m_sent[0];
    ASSERT_EQ(0u, sent.rfind("&X9|XC||", 0)) << sent;

    // GMP's view of the same exchange: the session key as one 32-byte number, to the 7th
    // power modulo 2^4096 - 1.
    const std::string key(m_link.m_szKey);
    ASSERT_EQ(32u, key.size());
    CMpz m, n, c;
    mpz_import(m, 32, 1, 1, 1, 0, key.data());
    mpz_ui_pow_ui(n, 2, RSA_MAX_KEY_BITS);
    mpz_sub_ui(n, n, 1);
    mpz_powm_ui(c, m, 7, n);
    EXPECT_EQ(ReferenceRadixText(c, 64), sent.substr(8));
    EXPECT_TRUE(m_link.m_bConnected);
}

TEST_F(KeyExchangeBound, OneDigitOverTheBoundEndsTheExchange)
{
    // One more radix-64 digit on either number, and the same with leading zeros, which add
    // no bits and are no reason to refuse.
    const std::string atBound = AllOnes64(RSA_MAX_KEY_BITS);
    const struct { std::string modulus, exponent; BOOL bRefused; } cases[] = {
        {atBound + "/", "7", TRUE},
        {"1" + std::string(683, '0'), "7", TRUE},               // 2^4098
        {atBound, atBound + "/", TRUE},
        {std::string(1000, '0') + atBound, "0007", FALSE},
    };
    for (const auto& c : cases) {
        m_link.m_bConnected = TRUE;
        m_link.m_sent.clear();
        const std::string events = KeyReply(c.modulus, c.exponent);
        if (c.bRefused) {
            EXPECT_EQ(s_pszRefused, events) << c.modulus.size() << " / " << c.exponent.size();
            EXPECT_TRUE(m_link.m_sent.empty());
            EXPECT_EQ(std::string(SESSION_KEY_BUFFER_SIZE, '\0'), std::string(m_link.m_szKey, SESSION_KEY_BUFFER_SIZE));
        } else {
            EXPECT_EQ(1u, m_link.m_sent.size()) << events;
        }
    }
}

TEST_F(KeyExchangeBound, KeysAsLongAsALineAreRefusedAtOnce)
{
    // Numbers that fill a received line took hours of modular arithmetic before they were
    // refused; now the length alone refuses them.
    const std::string longest(15990, 'z');
    double dSeconds = 0;
    EXPECT_EQ(s_pszRefused, KeyReply(longest, longest, &dSeconds));
    EXPECT_LT(dSeconds, 0.5);
    m_link.m_bConnected = TRUE;
    EXPECT_EQ(s_pszRefused, KeyReply(AllOnes64(256), longest, &dSeconds));
    EXPECT_LT(dSeconds, 0.5);
}
