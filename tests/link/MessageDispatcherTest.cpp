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

namespace {

// A fixed key pair of the server: n = p q with p of 126 and q of 130 bits, e = 7. The public
// half goes to the dispatcher in radix 64; the private exponent only to GMP.
const char* const s_pszServerKey64 = "ENyjaUVSl1CVp6cxequOGYkAhyE/BcBcH8J6RRjG2f1|7";
const char* const s_pszModulusHex = "e5fcb6479f72f04c7f31a6ee8d386108ae2abf0efcb98b99121319b6ed402a41";
const char* const s_pszPrivateHex = "31487033eb4f7ca2ad8aa3c56767828108d419a0625315e246aa057ff26c7e89";

// Textbook RSA decryption of one radix-64 number with GMP: 32 big-endian bytes.
std::string DecryptWithGmp(const std::string& cipher)
{
    static const char s_szDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+/";
    mpz_t c, m, n, d;
    mpz_inits(c, m, n, d, nullptr);
    mpz_set_str(n, s_pszModulusHex, 16);
    mpz_set_str(d, s_pszPrivateHex, 16);
    for (char ch : cipher) {
        mpz_mul_ui(c, c, 64);
        mpz_add_ui(c, c, static_cast<unsigned long>(strchr(s_szDigits, ch) - s_szDigits));
    }
    mpz_powm(m, c, d, n);
    unsigned char bytes[32] = {};
    size_t nCount = 0;
    if (mpz_sizeinbase(m, 256) <= 32)
        mpz_export(bytes + 32 - mpz_sizeinbase(m, 256), &nCount, 1, 1, 1, 0, m);
    mpz_clears(c, m, n, d, nullptr);
    return std::string(reinterpret_cast<const char*>(bytes), 32);
}

class CFakeExpander : public ICompactQuoteExpander
{
public:
    void ExpandCompactQuote(CServerMessage* pMsg) override
    {
        ++m_nCalls;
        pMsg->Parse(("~GS|1|XC|7|full " + std::string(pMsg->GetFieldText(0)) + "|1|2").c_str());
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
    std::string Line(const std::string& line)
    {
        m_pDispatcher->OnServerMessage(line.c_str());
        return Take(m_log);
    }
    std::string Lines(std::initializer_list<const char*> lines)    // in order, events joined
    {
        for (const char* pszLine : lines)
            m_pDispatcher->OnServerMessage(pszLine);
        return Take(m_log);
    }
    // Hello and the server's public key: the line that carries our enciphered session key.
    std::string SendKey()
    {
        Line("$VC|1|XC||0|1|0|80000|1|Test server");
        Line("$X9|2|XC||0|" + std::string(s_pszServerKey64));
        return m_pLink->m_sent.back();
    }
    void NewLink()
    {
        m_pLink = std::make_unique<CFakeLink>(&m_log);
        m_app.m_pLink = m_pLink.get();
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

TEST_F(MessageDispatcher, HelloReplyLeadsToTheKeyExchangeOrTheLogin)
{
    EXPECT_EQ("sink OnVC 0; send &XC|XC||||; send &X9|XC||", Line("$VC|1|XC||0|1|0|80000|1|Test server"));
    const CONNECTION_VALUES& values = m_pDispatcher->GetConnectionValues();
    EXPECT_EQ(0, values.nValue2);
    EXPECT_STREQ("Test server", values.strText5);
    EXPECT_TRUE(values.nValue1 == 1 && values.nValue4 == 1 && values.bSameVersion);

    m_pLink->m_bEncryptionOption = FALSE;
    m_app.m_pszLanguage = "1";
    EXPECT_EQ("sink OnVC 0; send &XC|XC||||; send &MT|XC||; send &EM|XC||1|0; login",
              Line("$VC|1|XC||0|1|0|80000|2|x"));
    EXPECT_FALSE(values.bSameVersion);
    m_pLink->m_bConnected = FALSE;
    EXPECT_EQ("sink OnVC 0", Line("$VC|1|XC||0|1|0|80000|1|x"));
}

TEST_F(MessageDispatcher, KeyExchangeSendsASessionKeyOnlyTheServerCanRead)
{
    const std::string sent = SendKey();
    ASSERT_EQ(0u, sent.rfind("&X9|XC||", 0)) << sent;
    EXPECT_EQ(std::string::npos, sent.find('&', 1));       // 32 characters: one RSA number
    const std::string key(m_pLink->m_szKey);
    ASSERT_EQ(32u, key.size());
    EXPECT_EQ(std::string::npos, key.find_first_not_of("0123456789ABCDEF")) << key;
    EXPECT_EQ(key, DecryptWithGmp(sent.substr(8)));
    SendKey();
    EXPECT_NE(key, std::string(m_pLink->m_szKey));         // a fresh key for each exchange

    // The accept: the cipher goes on before anything else, so the requests that follow, and
    // the rest of the read the accept came in, pass through it.
    EXPECT_EQ("encryption on; info #40340; top 1; send &MT|XC||; send &EM|XC||0|0; login", Line("$X9|3|XC||0"));
    EXPECT_TRUE(m_pLink->m_bEncrypted);
}

TEST_F(MessageDispatcher, EveryMalformedExchangeDisconnectsAndReports)
{
    const std::string modulus = std::string(s_pszServerKey64).substr(0, 43);
    for (const std::string& reply : {"$X9|2|XC||0|" + modulus, "$X9|2|XC||0|" + modulus + "|7|9",
                                     std::string("$X9|2|XC||0||7"), std::string("$X9|2|XC||0|1|7"),
                                     std::string("$X9|2|XC||1"), std::string("$X9|2|XC||x"),
                                     std::string("$X9|2|XC||"), std::string("$X9|2|XC")}) {
        NewLink();
        SendKey();
        // The application hears that the session is gone, not only the information window.
        EXPECT_EQ("info #40341; top 2; disconnect; state 599", Line(reply)) << reply;
        EXPECT_FALSE(m_pLink->m_bConnected || m_pLink->m_bEncrypted);
        EXPECT_EQ(std::string(SESSION_KEY_BUFFER_SIZE, '\0'), std::string(m_pLink->m_szKey, SESSION_KEY_BUFFER_SIZE));
    }
    NewLink();                              // an accept for a key never sent
    EXPECT_EQ("info #40341; top 2; disconnect; state 599", Line("$X9|3|XC||0"));
}

TEST_F(MessageDispatcher, SessionRepliesShowTheirTextsAndReachTheSinks)
{
    Lines({"$EM|1|XC||0", "100|Unknown user", "306|Password too short", "$EN|1|XC|0"});
    EXPECT_EQ("info Password too short; top 2", Line("~BP|1|XC||x|y|306"));
    EXPECT_EQ("", Line("~BP|1|XC||x|y|-4"));
    EXPECT_EQ("info Request 77 was carried out.; top 1; sink OnRW a", Line("~RW|1|XC||a|77|b|c|d|e|0"));
    EXPECT_EQ("pending text accepted; info Request 55 was carried out.; top 1; sink OnUS 55", Line("~US|1|XC||55|0"));
    EXPECT_EQ("info Password too short; top 2", Line("~US|1|XC||55|306"));
    EXPECT_EQ("login reply 100; info Unknown user; top 2; login", Line("~UL|1|XC||demo|100"));
    EXPECT_EQ("login reply 0; sink OnUL demo", Line("~UL|1|XC||demo|0|1001"));
    EXPECT_EQ("sink OnDR K; app DR K", Line("$DR|0|XC||K"));
    EXPECT_EQ("", Lines({"$IC|0|XC||x", "$ZZ|0|XC||x"}));    // no sink takes these
    EXPECT_EQ(MESSAGE_TYPE_UNKNOWN, m_pDispatcher->GetLastType());
}

TEST_F(MessageDispatcher, InitialLoadEndsOnceWithTheAwaitedReply)
{
    m_pDispatcher->SetAwaitedType(MSG_KB);
    EXPECT_EQ(std::string::npos, Lines({"$EN|1|XC|0", "$KB|1|XC||0", "row|1"}).find("40331"));
    m_refData.m_nRole = 16;
    EXPECT_EQ("", Line("~OU|1|XC||live"));  // dropped for the role: the last type stays "KB"
    EXPECT_EQ("info #40331", Line("$EN|1|XC|0"));
    EXPECT_EQ("sink OnKB 0", Lines({"$KB|1|XC||0", "$EN|1|XC|0"}));     // not twice
    m_pDispatcher->ResetInitialLoad();
    EXPECT_EQ("sink OnKB 0; info #40331", Lines({"$KB|1|XC||0", "$EN|1|XC|0"}));
    // Live lines inside the stream do not make its "EN" another type's.
    m_pDispatcher->ResetInitialLoad();
    m_refData.m_nRole = 3;
    EXPECT_EQ("sink OnKB 0; app DR K; info #40331",
              Lines({"$KB|1|XC||0", "$DR|0|XC||K", "$EN|1|XC|0"}));
    // An "EN" of another stream does not end the load, however the last line looked.
    m_pDispatcher->ResetInitialLoad();
    EXPECT_EQ(std::string::npos, Lines({"$HD|1|XC||x", "$EN|1|XC|0", "$EN|1|XC|0"}).find("40331"));
}

TEST_F(MessageDispatcher, RoleFilterCompactQuotesAndHold)
{
    CFakeExpander expander;
    m_app.m_pExpander = &expander;
    EXPECT_EQ("sink OnOU live", Line("~OU|1|XC||live"));
    EXPECT_EQ("sink OnGS full KWD", Line("~GS|1|XC|7|KWD|AbCd"));
    EXPECT_EQ("sink OnGS KWD", Line("~GS|1|XC|7|KWD|1|2"));    // already full
    m_refData.m_nRole = 17;
    EXPECT_EQ("", Line("~OU|1|XC||live"));
    EXPECT_EQ("sink OnGS KWD", Line("~GS|1|XC|7|KWD|AbCd"));   // not expanded for the role
    EXPECT_EQ(1, expander.m_nCalls);
    m_pDispatcher->SetHold(TRUE);
    EXPECT_EQ("", Line("~OC|1|XC||held"));
    EXPECT_EQ(MSG_GS, m_pDispatcher->GetLastType());
}

TEST_F(MessageDispatcher, SendsOnlyWholeLinesWhileConnected)
{
    EXPECT_EQ(1, m_pDispatcher->SendRequest("&OB|XC||a"));
    EXPECT_EQ(2, m_pDispatcher->SendRequest(MSG_OB, "b"));
    EXPECT_EQ(0, m_pDispatcher->SendRequest("@VC|1"));      // a link line carries no number
    EXPECT_EQ(SEND_REFUSED, m_pDispatcher->SendRequest("&OB|XC||a\r\n&UL|XC||x|y|"));
    EXPECT_EQ(SEND_REFUSED, m_pDispatcher->SendRequest(MSG_OB, "note\nmore"));
    EXPECT_EQ("send &OB|XC||a; send &OB|XC||b; send @VC|1", Take(m_log));
    m_pLink->m_bConnected = FALSE;
    EXPECT_EQ(0, m_pDispatcher->SendRequest("&OB|XC||a"));
    m_app.m_pLink = nullptr;
    EXPECT_EQ(0, m_pDispatcher->SendRequest("&OB|XC||a"));
    EXPECT_EQ("", Take(m_log));
}

TEST_F(MessageDispatcher, NestedDispatchesMayDestroyTheLinkSinksAndDispatcher)
{
    // The login dialog runs its own loop: the login reply and the first data arrive inside it,
    // a form closes on a line, and the link is destroyed before the dialog returns.
    auto pForm = std::make_unique<CRecordingSink>("form", &m_log);
    m_source.AddSink(pForm->GetSinkRecord());
    m_app.m_onLogin = [this, &pForm] {
        m_app.m_onLogin = nullptr;
        m_pDispatcher->OnServerMessage("~UL|1|XC||demo|0|1001");
        pForm->m_hook = [&pForm](CRecordingSink*, const std::string&, CServerMessage*) { pForm.reset(); };
        m_pDispatcher->OnServerMessage("~OC|1|XC||1");
        m_app.m_pLink = nullptr;
        m_pLink.reset();
    };
    SendKey();
    EXPECT_EQ("encryption on; info #40340; top 1; send &MT|XC||; send &EM|XC||0|0; login; login reply 0; "
              "sink OnUL demo; form OnUL demo; sink OnOC 1; form OnOC 1",
              Line("$X9|3|XC||0"));
    EXPECT_EQ(MSG_OC, m_pDispatcher->GetLastType());        // the outer line did not overwrite it

    // A sink that loses the link while handling the hello: no request goes anywhere.
    NewLink();
    m_sink.m_hook = [this](CRecordingSink*, const std::string&, CServerMessage*) { m_app.m_pLink = nullptr; };
    EXPECT_EQ("sink OnVC 0", Line("$VC|1|XC||0|1|0|80000|1|x"));
    m_sink.m_hook = nullptr;

    // The application ends inside the dialog of a refused login: the outer dispatch returns
    // without touching the dispatcher it came from.
    m_app.m_onLogin = [this] { m_pDispatcher.reset(); };
    m_pDispatcher->OnServerMessage("~UL|1|XC||demo|100");
    EXPECT_EQ(nullptr, m_pDispatcher);
}
