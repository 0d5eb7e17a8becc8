// Fan-out to the registered sinks: order, exclusion, reply streams, error replies, the tick,
// and sinks (or the source) that come and go while a fan-out runs.
#include <gtest/gtest.h>

#include <memory>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"

namespace {

class MessageSource : public ::testing::Test
{
protected:
    void SetUp() override { RegisterCodesForTest(); }
    CRecordingSink* NewSink(const char* pszName)
    {
        m_sinks.push_back(std::make_unique<CRecordingSink>(pszName, &m_log));
        m_source.AddSink(m_sinks.back()->GetSinkRecord());
        return m_sinks.back().get();
    }
    std::string Fire(const char* pszLine)
    {
        FireLine(m_source, pszLine);
        return Take(m_log);
    }

    CEventLog m_log;
    CZorvatMessageSource m_source;
    std::vector<std::unique_ptr<CRecordingSink>> m_sinks;   // destroyed before the source
};

}  // namespace

TEST_F(MessageSource, RegistersEachSinkOnceWithFreshIds)
{
    CRecordingSink a("a", &m_log);
    ASSERT_TRUE(m_source.AddSink(a.GetSinkRecord()));
    const int nId = a.GetSinkId();
    EXPECT_FALSE(m_source.AddSink(a.GetSinkRecord()));     // twice: refused, id kept
    EXPECT_EQ(nId, a.GetSinkId());
    CMessageSink orphan;                                    // a record without its sink
    EXPECT_FALSE(m_source.AddSink(&orphan));
    EXPECT_TRUE(m_source.SetReceiving(nId));
    EXPECT_TRUE(m_source.RemoveSink(nId));
    EXPECT_EQ(-1, a.GetSinkId());
    EXPECT_TRUE(a.GetSinkRecord()->m_bReceiving);           // removal leaves the flag alone
    EXPECT_FALSE(m_source.RemoveSink(nId) || m_source.ClearReceiving(nId));
    ASSERT_TRUE(m_source.AddSink(a.GetSinkRecord()));       // back again, with a new id
    EXPECT_GT(a.GetSinkId(), nId);
    {
        CRecordingSink b("b", &m_log);                      // dies registered: takes itself out
        m_source.AddSink(b.GetSinkRecord());
    }
    EXPECT_EQ(1, m_source.GetSinkCount());
    EXPECT_EQ("a OnOB x", Fire("$OB|1|XC||x"));
}

TEST_F(MessageSource, FansOutInOrderWithExclusionAndFreshOverrides)
{
    CRecordingSink* a = NewSink("a");
    CRecordingSink* b = NewSink("b");
    NewSink("c");
    a->m_hook = [](CRecordingSink*, const std::string&, CServerMessage* pMsg) {
        if (pMsg != nullptr)
            pMsg->SetOverride(0, "a's");        // must not reach b or c
    };
    EXPECT_EQ("a OnOC 5; b OnOC 5; c OnOC 5", Fire("~OC|1|XC||5"));
    CServerMessage msg("~OC|1|XC||5", 1);
    msg.SetOverride(0, "stale");
    m_source.FireOC(&msg, b->GetSinkId());
    EXPECT_EQ("a OnOC 5; c OnOC 5", Take(m_log));
    m_source.FireTick(a->GetSinkId());
    EXPECT_EQ("b OnTick; c OnTick", Take(m_log));
}

TEST_F(MessageSource, ReplyStreamsReachOnlyReceivingSinksUntilEN)
{
    CRecordingSink* table = NewSink("table");
    NewSink("other");
    table->m_hook = [this](CRecordingSink* pSink, const std::string& handler, CServerMessage*) {
        if (handler == "OnOB")
            m_source.SetReceiving(pSink->GetSinkId());
        if (handler == "OnEnd")
            m_source.ClearReceiving(pSink->GetSinkId());
    };
    EXPECT_EQ("table OnOB 0; other OnOB 0", Fire("~OB|1|XC||0"));
    EXPECT_TRUE(m_source.IsRestricted());
    EXPECT_EQ("table OnRecord row", Fire("row|a"));
    EXPECT_EQ("table OnOC live", Fire("~OC|1|XC||live"));
    m_source.FireTick(-1);
    EXPECT_EQ("table OnTick; table OnEnd 0", Fire("$EN|1|XC|0"));
    EXPECT_FALSE(m_source.IsRestricted());
    EXPECT_EQ("table OnOC 1; other OnOC 1", Fire("~OC|1|XC||1"));
    Fire("~UL|1|XC||x|0");                  // checked, but opens no stream
    EXPECT_FALSE(m_source.IsRestricted());
    Fire("~GO|1|XC||9");                    // a stream without a check
    EXPECT_TRUE(m_source.IsRestricted());

    CZorvatMessageSource empty;             // "EN" without sinks still closes the stream
    FireLine(empty, "~OB|1|XC||0");
    FireLine(empty, "$EN|1|XC|0");
    EXPECT_FALSE(empty.IsRestricted());
}

TEST_F(MessageSource, ErrorRepliesReachNobodyAndShowTheirText)
{
    CFakeApp app(&m_log);
    CFakeRefData refData(&m_log);
    CZorvatErrorDictionary errors(&m_source, &app, &refData);
    m_source.SetReceiving(NewSink("table")->GetSinkId());
    Fire("~OB|1|XC||0");
    // Nobody hears the error and the stream stays open, so the table waits on for its reply.
    EXPECT_EQ("info Server error 306.; top 2", Fire("~OB|1|XC||306"));
    EXPECT_TRUE(m_source.IsRestricted());
    EXPECT_EQ("table OnOB 306", Fire("$OB|1|XC||306"));    // '$' lines are never errors
    EXPECT_EQ("table OnAH a", Fire("~AH|1|XC||a|b|0"));     // the last field holds the code
    EXPECT_EQ("info Server error 17.; top 2", Fire("~AH|1|XC||0|0|17"));
    m_source.RemoveSink(errors.GetSinkId());                // unhooks the dictionary
    EXPECT_EQ("", Fire("~OB|1|XC||306"));
    EXPECT_FALSE(m_source.SetErrorDictionary(&errors));
}

TEST_F(MessageSource, SinksRemovedOrAddedDuringAFanOut)
{
    CRecordingSink* a = NewSink("a");
    CRecordingSink* b = NewSink("b");
    CRecordingSink* c = NewSink("c");
    NewSink("d");
    // A form that closes on its reply: the sink after it still gets the message.
    b->m_hook = [this](CRecordingSink* pSink, const std::string&, CServerMessage*) {
        for (auto& p : m_sinks)
            if (p.get() == pSink)
                p.reset();
    };
    EXPECT_EQ("a OnOC 1; b OnOC 1; c OnOC 1; d OnOC 1", Fire("~OC|1|XC||1"));
    // Removing one before and one after the current sink: the later one is not called.
    c->m_hook = [this, a](CRecordingSink*, const std::string&, CServerMessage*) {
        m_source.RemoveSink(a->GetSinkId());
        m_source.RemoveSink(m_sinks[3]->GetSinkId());
    };
    EXPECT_EQ("a OnOC 2; c OnOC 2", Fire("~OC|1|XC||2"));
    // A form opened by a reply does not see the reply that opened it.
    c->m_hook = [this](CRecordingSink* pSink, const std::string&, CServerMessage*) {
        pSink->m_hook = nullptr;
        NewSink("form");
    };
    EXPECT_EQ("c OnOC 3", Fire("~OC|1|XC||3"));
    EXPECT_EQ("c OnOC 4; form OnOC 4", Fire("~OC|1|XC||4"));
}

TEST_F(MessageSource, NestedFanOutsAndADestroyedSource)
{
    auto pSource = std::make_unique<CZorvatMessageSource>();
    CRecordingSink a("a", &m_log), b("b", &m_log), c("c", &m_log);
    for (CRecordingSink* p : {&a, &b, &c})
        pSource->AddSink(p->GetSinkRecord());
    // b runs a nested fan-out (a modal loop) and removes a; the outer one goes on with c.
    b.m_hook = [&](CRecordingSink*, const std::string& handler, CServerMessage*) {
        if (handler == "OnOC") {
            FireLine(*pSource, "~OM|1|XC||in");
            pSource->RemoveSink(a.GetSinkId());
        }
    };
    FireLine(*pSource, "~OC|1|XC||out");
    EXPECT_EQ("a OnOC out; b OnOC out; a OnOM in; b OnOM in; c OnOM in; c OnOC out", Take(m_log));
    // A handler that destroys the source ends the fan-out without touching it again.
    b.m_hook = [&](CRecordingSink*, const std::string&, CServerMessage*) { pSource.reset(); };
    FireLine(*pSource, "~OB|1|XC||0");
    EXPECT_EQ("b OnOB 0", Take(m_log));
    EXPECT_EQ(-1, c.GetSinkId());
}
