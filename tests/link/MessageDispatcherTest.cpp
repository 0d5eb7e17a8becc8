// The dispatcher's session steps against doubles of the link and the application: hello, key
// exchange, login replies, the initial load, the role filter, and nested dispatches that
// destroy what the outer one was using.
#include <gtest/gtest.h>

#include <gmp.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "link/MessageDispatcher.h"
#include "link/MessageSource.h"

namespace {

// A fixed key pair of the server: n = p q with p of 126 and q of 130 bits, e = 7. The public
// half goes to the dispatcher as radix-64 texts; the private exponent only to GMP.
const char* const s_pszServerModulus64 = "ENyjaUVSl1CVp6cxequOGYkAhyE/BcBcH8J6RRjG2f1";
const char* const s_pszServerExponent64 = "7";
const char* const s_pszModulusHex = "e5fcb6479f72f04c7f31a6ee8d386108ae2abf0efcb98b99121319b6ed402a41";
const char* const s_pszPrivateHex = "31487033eb4f7ca2ad8aa3c56767828108d419a0625315e246aa057ff26c7e89";

// Textbook RSA decryption of one radix-64 number, with GMP: 32 big-endian bytes.
std::string DecryptWithGmp(const std::string& cipher)
{
    static const char s_szDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";
    mpz_t c, m, n, d;
    mpz_inits(c, m, n, d, nullptr);
    mpz_set_str(n, s_pszModulusHex, 16);
    mpz_set_str(d, s_pszPrivateHex, 16);
    for (char ch : cipher) {
        const char* p = strchr(s_szDigits, ch);
        if (p == nullptr || ch == '\0')
            return "bad digit";
        mpz_mul_ui(c, c, 64);
        mpz_add_ui(c, c, static_cast<unsigned long>(p - s_szDigits));
    }
    mpz_powm(m, c, d, n);
    unsigned char bytes[64] = {};
    size_t nCount = 0;
    mpz_export(bytes, &nCount, 1, 1, 1, 0, m);
    std::string plain(32 - std::min<size_t>(nCount, 32), '\0');
    plain.append(reinterpret_cast<const char*>(bytes), std::min<size_t>(nCount, 32));
    mpz_clears(c, m, n, d, nullptr);
    return plain;
}

class CFakeExpander : public ICompactQuoteExpander
{
public:
    void ExpandCompactQuote(CServerMessage* pMsg) override
    {
        ++m_nCalls;
        pMsg->Parse(("~GS|1|XC|7|" + std::string(pMsg->GetFieldText(0)) + "|expanded").c_str());
    }
    int m_nCalls = 0;
};

class MessageDispatcher : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterCodesForTest();
        m_app.m_pLink = m_pLink.get();
        m_source.AddSink(m_sink.GetSinkRecord());
    }
    void Line(const char* pszLine) { m_pDispatcher->OnServerMessage(pszLine); }
    std::string Take()
    {
        std::string s = Joined(m_log, "; ");     // the lines sent hold '|' themselves
        m_log.clear();
        return s;
    }
    // The session up to the server's public key: hello, then the key exchange request.
    std::string SendKey()
    {
        Line("$VC|1|XC||0|1|0|80000|1|Test server");
        m_pLink->m_sent.clear();
        Line(("$X9|2|XC||0|" + std::string(s_pszServerModulus64) + "|" + s_pszServerExponent64).c_str());
        return m_pLink->m_sent.empty() ? "" : m_pLink->m_sent.back();
    }

    CEventLog m_log;
    std::unique_ptr<CFakeLink> m_pLink = std::make_unique<CFakeLink>(&m_log);
    CFakeApp m_app{&m_log};
    CFakeRefData m_refData{&m_log};
    CZorvatMessageSource m_source;
    CZorvatErrorDictionary m_errors{&m_source, &m_app, &m_refData};
    CRecordingSink m_sink{"sink", &m_log};
    std::unique_ptr<CMessageDispatcher> m_pDispatcher =
        std::make_unique<CMessageDispatcher>(&m_source, &m_errors, &m_app, &m_refData);
};

}  // namespace

TEST_F(MessageDispatcher, HelloReplyAsksForTheKeyExchange)
{
    Line("$VC|1|XC||0|1|0|80000|1|Test server");
    EXPECT_EQ("sink OnVC 0; send &XC|XC||||; send &X9|XC||", Take());
    const CONNECTION_VALUES& values = m_pDispatcher->GetConnectionValues();
    EXPECT_EQ(0, values.nValue2);
    EXPECT_STREQ("Test server", values.strText5);
    EXPECT_EQ(1, values.nValue1);
    EXPECT_EQ(1, values.nValue4);
    EXPECT_TRUE(values.bSameVersion);
    EXPECT_EQ(MSG_VC, m_pDispatcher->GetLastType());

    // Without encryption the session goes straight on to the login.
    m_pLink->m_bEncryptionOption = FALSE;
    m_app.m_pszLanguage = "1";
    Line("$VC|1|XC||0|1|0|80000|2|Test server");
    EXPECT_EQ("sink OnVC 0; send &XC|XC||||; send &MT|XC||; send &EM|XC||1|0; login", Take());
    EXPECT_FALSE(m_pDispatcher->GetConnectionValues().bSameVersion);

    // Not connected: the sinks hear it, nothing is sent.
    m_pLink->m_bConnected = FALSE;
    Line("$VC|1|XC||0|1|0|80000|1|x");
    EXPECT_EQ("sink OnVC 0", Take());
}

TEST_F(MessageDispatcher, KeyExchangeSendsASessionKeyOnlyTheServerCanRead)
{
    const std::string sent = SendKey();
    ASSERT_EQ(0u, sent.rfind("&X9|XC||", 0)) << sent;
    const std::string cipher = sent.substr(8);
    EXPECT_EQ(std::string::npos, cipher.find('&'));         // 32 characters: one RSA number

    const std::string key(m_pLink->m_szKey);
    ASSERT_EQ(32u, key.size());
    EXPECT_EQ(std::string::npos, key.find_first_not_of("0123456789ABCDEF")) << key;
    EXPECT_EQ(key, DecryptWithGmp(cipher));
    EXPECT_FALSE(m_pLink->m_bEncrypted);

    // A second exchange draws a new key.
    const std::string again = SendKey();
    EXPECT_NE(key, std::string(m_pLink->m_szKey));
    EXPECT_EQ(std::string(m_pLink->m_szKey), DecryptWithGmp(again.substr(8)));
}

TEST_F(MessageDispatcher, AcceptSwitchesEncryptionOnBeforeTheSessionGoesOn)
{
    SendKey();
    m_log.clear();
    Line("$X9|3|XC||0");
    // The cipher is on before anything else happens, so the requests that follow, and the
    // rest of the read the accept came in, pass through it.
    EXPECT_EQ("encryption on; info #40340; top 1; send &MT|XC||; send &EM|XC||0|0; login", Take());
    EXPECT_TRUE(m_pLink->m_bEncrypted);
    EXPECT_TRUE(m_pLink->m_bConnected);
}

TEST_F(MessageDispatcher, EveryMalformedExchangeDisconnectsAndReports)
{
    const std::string modulus = s_pszServerModulus64;
    const std::vector<std::string> replies = {
        "$X9|2|XC||0|" + modulus,                       // two fields
        "$X9|2|XC||0|" + modulus + "|7|9",              // four fields
        "$X9|2|XC||0||7",                               // a key text without a modulus
        "$X9|2|XC||0|1|7",                              // a modulus too small to carry the key
        "$X9|2|XC||1",                                  // refused
        "$X9|2|XC||x",                                  // not a number
        "$X9|2|XC||",                                   // empty
        "$X9|2|XC",                                     // no fields
    };
    for (const std::string& reply : replies) {
        SCOPED_TRACE(reply);
        m_pLink = std::make_unique<CFakeLink>(&m_log);
        m_app.m_pLink = m_pLink.get();
        SendKey();
        m_log.clear();
        Line(reply.c_str());
        EXPECT_EQ("info #40341; top 2; disconnect; state 599", Take());
        EXPECT_FALSE(m_pLink->m_bConnected);
        EXPECT_FALSE(m_pLink->m_bEncrypted);
        EXPECT_EQ(std::string(SESSION_KEY_BUFFER_SIZE, '\0'), std::string(m_pLink->m_szKey, SESSION_KEY_BUFFER_SIZE));
    }
    // An accept for a key that was never sent would switch on a cipher without a key.
    m_pLink = std::make_unique<CFakeLink>(&m_log);
    m_app.m_pLink = m_pLink.get();
    Line("$X9|3|XC||0");
    EXPECT_EQ("info #40341; top 2; disconnect; state 599", Take());
    EXPECT_FALSE(m_pLink->m_bEncrypted);
}

TEST_F(MessageDispatcher, SessionRepliesShowTheirTextsAndReachTheSinks)
{
    Line("$EM|1|XC||0");
    Line("100|Unknown user or password");
    Line("306|Password too short");
    Line("$EN|1|XC|0");
    m_log.clear();

    Line("~BP|1|XC||x|y|306");              // the error text, no sink
    EXPECT_EQ("info Password too short; top 2", Take());
    Line("~BP|1|XC||x|y|0");
    Line("~BP|1|XC||x|y|-4");
    EXPECT_EQ("", Take());

    Line("~RW|1|XC||a|77|b|c|d|e|0");
    EXPECT_EQ("info Request 77 was carried out.; top 1; sink OnRW a", Take());
    Line("~US|1|XC||55|0");
    EXPECT_EQ("pending text accepted; info Request 55 was carried out.; top 1; sink OnUS 55", Take());
    Line("~US|1|XC||55|306");               // refused: the error instead, the text stays
    EXPECT_EQ("info Password too short; top 2", Take());

    Line("~UL|1|XC||demo|100");             // refused: the error, then the dialog again
    EXPECT_EQ("login reply 100; info Unknown user or password; top 2; login", Take());
    Line("~UL|1|XC||demo|0|1001");
    EXPECT_EQ("login reply 0; sink OnUL demo", Take());

    Line("$DR|0|XC||K");
    EXPECT_EQ("sink OnDR K; app DR K", Take());
    Line("$IC|0|XC||x");                    // in the table, but no sink takes it
    Line("$ZZ|0|XC||x");
    EXPECT_EQ("", Take());
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, m_pDispatcher->GetLastType());
}

TEST_F(MessageDispatcher, InitialLoadEndsOnceWithTheAwaitedReply)
{
    m_pDispatcher->SetAwaitedType(MSG_KB);
    Line("$EN|1|XC|0");                     // an "EN" before the awaited reply
    Line("$KB|1|XC||0");
    Line("row|1");
    m_refData.m_nRole = 16;
    Line("~OU|1|XC||live");                 // dropped for the role: the last type stays "KB"
    Line("$EN|1|XC|0");
    EXPECT_TRUE(m_pDispatcher->IsInitialLoadDone());
    EXPECT_EQ(MSG_EN, m_pDispatcher->GetLastType());
    EXPECT_EQ(1, std::count(m_log.begin(), m_log.end(), "info #40331"));
    Line("$KB|1|XC||0");
    Line("$EN|1|XC|0");
    EXPECT_EQ(1, std::count(m_log.begin(), m_log.end(), "info #40331"));
    m_pDispatcher->ResetInitialLoad();
    Line("$KB|1|XC||0");
    Line("$EN|1|XC|0");
    EXPECT_EQ(2, std::count(m_log.begin(), m_log.end(), "info #40331"));
}

TEST_F(MessageDispatcher, RoleFilterAndCompactQuotes)
{
    CFakeExpander expander;
    m_app.m_pExpander = &expander;
    Line("~OU|1|XC||live");
    Line("~GS|1|XC|7|KWD|AbCd");            // compact: expanded before the fan-out
    Line("~GS|1|XC|7|KWD|1|2");             // already full
    EXPECT_EQ("sink OnOU live; sink OnGS KWD; sink OnGS KWD", Take());
    EXPECT_EQ(1, expander.m_nCalls);

    m_refData.m_nRole = 17;
    Line("~OU|1|XC||live");
    Line("~GS|1|XC|7|KWD|AbCd");            // not expanded for a restricted role
    Line("~OC|1|XC||plain");                // not in the filter
    EXPECT_EQ("sink OnGS KWD; sink OnOC plain", Take());
    EXPECT_EQ(1, expander.m_nCalls);

    // Without a quotation table the compact line goes on as it is.
    m_refData.m_nRole = 3;
    m_app.m_pExpander = nullptr;
    Line("~GS|1|XC|7|KWD|AbCd");
    EXPECT_EQ("sink OnGS KWD", Take());

    m_pDispatcher->SetHold(TRUE);
    Line("~OC|1|XC||held");
    EXPECT_EQ("", Take());
    EXPECT_EQ(MSG_GS, m_pDispatcher->GetLastType());
}

TEST_F(MessageDispatcher, SendsOnlyWholeLinesWhileConnected)
{
    EXPECT_EQ(1, m_pDispatcher->SendRequest("&OB|XC||a"));
    EXPECT_EQ(2, m_pDispatcher->SendRequest(MSG_OB, "b"));
    EXPECT_EQ(0, m_pDispatcher->SendRequest("@VC|1"));      // a link line carries no number
    EXPECT_EQ(SEND_REFUSED, m_pDispatcher->SendRequest("&OB|XC||a\r\n&UL|XC||x|y|"));
    EXPECT_EQ(SEND_REFUSED, m_pDispatcher->SendRequest(MSG_OB, "note\nmore"));
    EXPECT_EQ(SEND_REFUSED, m_pDispatcher->SendRequest(190, "x"));
    EXPECT_EQ("send &OB|XC||a; send &OB|XC||b; send @VC|1", Take());
    m_pLink->m_bConnected = FALSE;
    EXPECT_EQ(0, m_pDispatcher->SendRequest("&OB|XC||a"));
    m_app.m_pLink = nullptr;
    EXPECT_EQ(0, m_pDispatcher->SendRequest("&OB|XC||a"));
    EXPECT_EQ(0, m_pDispatcher->SendRequest(nullptr));
    EXPECT_EQ("", Take());
}

TEST_F(MessageDispatcher, NestedDispatchesMayDestroyTheLinkSinksAndDispatcher)
{
    // The login dialog runs its own loop: the login reply and the first data arrive inside it,
    // and the connection is lost and its window destroyed before the dialog returns.
    auto pForm = std::make_unique<CRecordingSink>("form", &m_log);
    m_source.AddSink(pForm->GetSinkRecord());
    m_app.m_onLogin = [this, &pForm] {
        m_app.m_onLogin = nullptr;
        Line("~UL|1|XC||demo|0|1001");
        pForm->m_hook = [&pForm](CRecordingSink*, const std::string&, CServerMessage*) { pForm.reset(); };
        Line("~OC|1|XC||1");
        m_app.m_pLink = nullptr;
        m_pLink.reset();
    };
    SendKey();
    m_log.clear();
    Line("$X9|3|XC||0");
    EXPECT_EQ("encryption on; info #40340; top 1; send &MT|XC||; send &EM|XC||0|0; login; login reply 0; "
              "sink OnUL demo; form OnUL demo; sink OnOC 1; form OnOC 1",
              Take());
    EXPECT_EQ(nullptr, pForm);
    EXPECT_EQ(MSG_OC, m_pDispatcher->GetLastType());        // the outer line did not overwrite it

    // A sink that loses the link while handling the hello: no request goes anywhere.
    m_pLink = std::make_unique<CFakeLink>(&m_log);
    m_app.m_pLink = m_pLink.get();
    m_sink.m_hook = [this](CRecordingSink*, const std::string& handler, CServerMessage*) {
        if (handler == "OnVC")
            m_app.m_pLink = nullptr;
    };
    Line("$VC|1|XC||0|1|0|80000|1|x");
    EXPECT_EQ("sink OnVC 0", Take());
    m_sink.m_hook = nullptr;

    // The application ends inside the dialog of a refused login: the outer dispatch returns
    // without touching the dispatcher it came from.
    m_app.m_pLink = m_pLink.get();
    m_app.m_onLogin = [this] { m_pDispatcher.reset(); };
    Line("~UL|1|XC||demo|100");
    EXPECT_EQ(nullptr, m_pDispatcher);
    m_app.m_onLogin = nullptr;
}
