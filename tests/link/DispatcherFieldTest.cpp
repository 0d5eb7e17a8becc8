// The fields the dispatcher reads by index, each in a line whose neighbouring fields hold other
// values, so that reading the field before or after it changes what the test sees: the hello
// reply's connection values, the key exchange's accept, the login and password replies, the
// request confirmation, the error line and the compact quote's field count.
#include <gtest/gtest.h>

#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "link/MessageDispatcher.h"

namespace {

// The server's public key (radix 64, "modulus|exponent"), as in MessageDispatcherTest.
const char* const s_pszServerKey64 = "ENyjaUVSl1CVp6cxequOGYkAhyE/BcBcH8J6RRjG2f1|7";

class CCountingExpander : public ICompactQuoteExpander
{
public:
    void ExpandCompactQuote(CServerMessage* pMsg) override
    {
        ++m_nCalls;
        pMsg->Parse(("~GS|1|XC|7|full " + std::string(pMsg->GetFieldText(0)) + "|1|2").c_str());
    }
    int m_nCalls = 0;
};

class DispatcherFields : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterCodesForTest();
        m_app.m_pLink = &m_link;
        m_source.AddSink(m_sink.GetSinkRecord());
        for (const char* pszLine : {"$EM|1|XC||0", "100|Unknown user", "306|Password too short", "$EN|1|XC|0"})
            m_dispatcher.OnServerMessage(pszLine);
        m_log.clear();
    }
    std::string Line(const std::string& line)
    {
        m_dispatcher.OnServerMessage(line.c_str());
        return Take(m_log);
    }

    CEventLog m_log;
    CFakeLink m_link{&m_log};
    CFakeApp m_app{&m_log};
    CFakeRefData m_refData{&m_log};
    CZorvatMessageSource m_source;
    CZorvatErrorDictionary m_errors{&m_source, &m_app, &m_refData};
    CRecordingSink m_sink{"sink", &m_log};
    CMessageDispatcher m_dispatcher{&m_source, &m_errors, &m_app, &m_refData};
};

}  // namespace

TEST_F(DispatcherFields, HelloReplyTakesFieldsTwoFiveOneAndFour)
{
    EXPECT_EQ("sink OnVC 11; send &XC|XC||||; send &X9|XC||", Line("$VC|1|XC||11|12|13|14|15|sixteen|seventeen"));
    const CONNECTION_VALUES& values = m_dispatcher.GetConnectionValues();
    EXPECT_EQ(13, values.nValue2);
    EXPECT_STREQ("sixteen", values.strText5);
    EXPECT_EQ(12, values.nValue1);
    EXPECT_EQ(15, values.nValue4);
    EXPECT_FALSE(values.bSameVersion);
    // Fields 1 and 4 equal, every neighbour of theirs different.
    Line("$VC|1|XC||3|7|4|5|7|six|8");
    EXPECT_EQ(4, values.nValue2);
    EXPECT_STREQ("six", values.strText5);
    EXPECT_EQ(7, values.nValue1);
    EXPECT_EQ(7, values.nValue4);
    EXPECT_TRUE(values.bSameVersion);
}

TEST_F(DispatcherFields, KeyExchangeAcceptIsItsOnlyFieldReadingZero)
{
    Line("$VC|1|XC||0|1|0|80000|1|x");
    Line(std::string("$X9|2|XC|5|0|") + s_pszServerKey64);
    ASSERT_EQ(0u, m_link.m_sent.back().rfind("&X9|XC||", 0));
    // The line's acknowledgement and header numbers around the field are not zero.
    EXPECT_EQ("encryption on; info #40340; top 1; send &MT|XC||; send &EM|XC||0|0; login", Line("$X9|3|XC|5|0"));

    // Refused: the one field is not zero though the numbers around it are; or a second field
    // follows the zero.
    for (const char* pszReply : {"$X9|0|XC|0|7", "$X9|3|XC|5|0|0"}) {
        m_link.m_bConnected = TRUE;
        Line(std::string("$X9|2|XC|5|0|") + s_pszServerKey64);
        EXPECT_EQ("info #40341; top 2; disconnect; state 599", Line(pszReply)) << pszReply;
    }
}

TEST_F(DispatcherFields, LoginReplyReadsFieldOne)
{
    // Accepted: field 1 is 0; fields 0 and 2 hold error codes that must not be read.
    EXPECT_EQ("login reply 0; sink OnUL 100", Line("~UL|1|XC||100|0|306"));
    // Refused: field 1 holds the code; fields 0 and 2 are 0.
    EXPECT_EQ("login reply 100; info Unknown user; top 2; login", Line("~UL|1|XC||0|100|0"));
}

TEST_F(DispatcherFields, PasswordReplyReadsFieldOneAndConfirmsFieldZero)
{
    EXPECT_EQ("pending text accepted; info Request 55 was carried out.; top 1; sink OnUS 55",
              Line("~US|1|XC||55|0|306"));
    EXPECT_EQ("info Password too short; top 2", Line("~US|1|XC||0|306|0"));
}

TEST_F(DispatcherFields, RequestReplyReadsFieldSixAndConfirmsFieldOne)
{
    EXPECT_EQ("info Request 77 was carried out.; top 1; sink OnRW 3", Line("~RW|1|XC||3|77|5|4|9|100|0|306"));
    EXPECT_EQ("info Password too short; top 2", Line("~RW|1|XC||3|77|5|4|9|0|306|0"));
}

TEST_F(DispatcherFields, ErrorLineShowsFieldTwoWhenAboveZero)
{
    EXPECT_EQ("info Password too short; top 2", Line("~BP|1|XC||100|0|306|100"));
    EXPECT_EQ("", Line("~BP|1|XC||100|306|0|100"));
    EXPECT_EQ("", Line("~BP|1|XC||100|306|-1|100"));
    EXPECT_EQ("info Server error 1.; top 2", Line("~BP|1|XC||0|0|1|0"));      // the smallest code shown
}

TEST_F(DispatcherFields, CompactQuoteIsExactlyTwoFields)
{
    CCountingExpander expander;
    m_app.m_pExpander = &expander;
    EXPECT_EQ("sink OnGS KWD", Line("~GS|1|XC|7|KWD"));
    EXPECT_EQ("sink OnGS full KWD", Line("~GS|1|XC|7|KWD|AbCd"));
    EXPECT_EQ("sink OnGS KWD", Line("~GS|1|XC|7|KWD|1|2"));
    EXPECT_EQ(1, expander.m_nCalls);
}
