// The server's error texts: filled from the "EM" reply stream, asked by code, and put together
// with a reply's parameter.
#include <gtest/gtest.h>

#include <memory>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "link/MessageSource.h"

namespace {

class ErrorDictionary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterCodesForTest();
        m_refData.m_paymentModes[3] = "Cheque";
        m_refData.m_accountTypes[2] = "Margin";
    }
    void Fire(const char* pszLine)
    {
        CServerMessage msg(pszLine, 1);
        if (msg.GetType() == MSG_EN)
            m_source.FireEN(&msg, -1);
        else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
            m_source.FireRawLine(&msg, -1);
        else
            m_source.FireType(msg.GetType(), &msg, -1);
    }
    void LoadTexts()
    {
        Fire("$EM|1|XC||0");
        Fire("428|At least ( ) days");
        Fire("442|Quantity must be at least ( ) shares");
        Fire("447|No parentheses here");
        Fire("695|Payment by ( ) is not allowed");
        Fire("696|Account (type) ( ) is closed");
        Fire("697|Between (a) and (b) only");
        Fire("100|Unknown user or password");
        Fire("$EN|1|XC|0");
    }
    std::string ReplyError(const char* pszLine, int nCodeField)
    {
        CServerMessage msg(pszLine, 1);
        CString strText;
        m_errors.FormatReplyError(&strText, nCodeField, nCodeField + 1, &msg);
        return std::string(strText);
    }

    CEventLog m_log;
    CFakeApp m_app{&m_log};
    CFakeRefData m_refData{&m_log};
    CZorvatMessageSource m_source;
    CZorvatErrorDictionary m_errors{&m_source, &m_app, &m_refData};
};

}  // namespace

TEST_F(ErrorDictionary, FillsFromTheEMReplyStream)
{
    CEventLog sinkLog;
    CRecordingSink other("other", &sinkLog);
    m_source.AddSink(other.GetSinkRecord());
    LoadTexts();
    EXPECT_EQ("busy|idle", Joined(m_log));          // the wait cursor while the texts come in
    EXPECT_EQ(7, m_errors.GetCount());
    EXPECT_FALSE(m_source.IsRestricted());
    EXPECT_FALSE(m_errors.GetSinkRecord()->m_bReceiving);
    EXPECT_EQ("other OnEM 0", Joined(sinkLog));     // rows and "EN" went to the receiving dictionary only

    CString strText;
    m_errors.GetText(&strText, 100);
    EXPECT_STREQ("Unknown user or password", strText);
    EXPECT_FALSE(m_errors.HasMissingCode());

    // Rows outside a reply are nobody's; a second "EM" adds and replaces.
    Fire("100|Stray row");
    m_errors.GetText(&strText, 100);
    EXPECT_STREQ("Unknown user or password", strText);
    Fire("$EM|1|XC||0");
    Fire("100|Wrong password");
    Fire("101|Market closed");
    Fire("$EN|1|XC|0");
    m_errors.GetText(&strText, 100);
    EXPECT_STREQ("Wrong password", strText);
    EXPECT_EQ(8, m_errors.GetCount());

    // A code the server never described still has a text.
    m_errors.GetText(&strText, 9999);
    EXPECT_STREQ("Server error 9999.", strText);
    EXPECT_TRUE(m_errors.HasMissingCode());
}

TEST_F(ErrorDictionary, PutsTheParameterIntoTheText)
{
    LoadTexts();
    EXPECT_EQ("Quantity must be at least 100 shares", ReplyError("~KV|1|XC||442|100", 0));
    EXPECT_EQ("Quantity must be at least  shares", ReplyError("~KV|1|XC||442", 0));
    EXPECT_EQ("At least 0 days", ReplyError("~KV|1|XC||428|", 0));     // empty shows as "0"
    EXPECT_EQ("At least 5 days", ReplyError("~KV|1|XC||428|5", 0));
    EXPECT_EQ("9No parentheses here", ReplyError("~KV|1|XC||447|9", 0));
    EXPECT_EQ("Payment by Cheque is not allowed", ReplyError("~KV|1|XC||695|3", 0));
    EXPECT_EQ("Payment by 8 is not allowed", ReplyError("~KV|1|XC||695|8", 0));
    EXPECT_EQ("Account Margin is closed", ReplyError("~KV|1|XC||696|2", 0));
    EXPECT_EQ("Between xb) only", ReplyError("~KV|1|XC||697|x", 0));   // right from the last '('
    EXPECT_EQ("Unknown user or password", ReplyError("~UL|1|XC||0|100|7", 1));
    // The last-field form: code from the third field, no parameter after it.
    EXPECT_EQ("Quantity must be at least  shares", ReplyError("~AH|1|XC||7|8|442", -1));
    EXPECT_EQ("Server error 0.", ReplyError("~AH|1|XC|", -1));
}

TEST_F(ErrorDictionary, TellsErrorRepliesFromOthers)
{
    const auto Error = [](const char* pszLine, int nField) {
        CServerMessage msg(pszLine, 1);
        return IsReplyError(&msg, nField);
    };
    EXPECT_EQ(306, Error("~OB|1|XC||306", 0));
    EXPECT_EQ(306, Error("&OB|1|XC||306", 0));
    EXPECT_EQ(0, Error("$OB|1|XC||306", 0));        // '$' lines never carry an error
    EXPECT_EQ(0, Error("~OB|1|XC||0|306", 0));
    EXPECT_EQ(306, Error("~OB|1|XC||0|1|306", -1));
    EXPECT_EQ(0, Error("~OB|1|XC||0|1", 5));          // no such field
    EXPECT_EQ(0, Error("~OB|1|XC|", -1));             // no fields at all
    EXPECT_EQ(0, IsReplyError(nullptr, 0));

    LoadTexts();
    m_log.clear();
    CServerMessage refused("~UL|1|XC||x|100", 1);
    EXPECT_TRUE(m_errors.CheckReplyError(&refused, 1));
    EXPECT_EQ("info Unknown user or password|top 2", Joined(m_log));
    CServerMessage accepted("~UL|1|XC||x|0", 1);
    EXPECT_FALSE(m_errors.CheckReplyError(&accepted, 1));
}

TEST_F(ErrorDictionary, OutlivesOrPrecedesItsSource)
{
    // The dictionary goes first: the source reports no more errors, and calls nobody dead.
    auto pSource = std::make_unique<CZorvatMessageSource>();
    auto pErrors = std::make_unique<CZorvatErrorDictionary>(pSource.get(), &m_app, &m_refData);
    EXPECT_EQ(1, pSource->GetSinkCount());
    pErrors.reset();
    EXPECT_EQ(0, pSource->GetSinkCount());
    m_log.clear();
    CServerMessage error("~OB|1|XC||306", 1);
    pSource->FireOB(&error, -1);
    EXPECT_EQ("", Joined(m_log));

    // The source goes first: the dictionary lets go of it quietly.
    pErrors = std::make_unique<CZorvatErrorDictionary>(pSource.get(), &m_app, &m_refData);
    pSource.reset();
    EXPECT_EQ(-1, pErrors->GetSinkId());
    pErrors.reset();
}
