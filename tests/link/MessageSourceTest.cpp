// Fan-out to the registered sinks: order, exclusion, reply streams, error replies, the tick,
// and sinks that come and go while a fan-out runs.
#include <gtest/gtest.h>

#include <memory>
#include "LinkDoubles.h"
#include "link/ErrorDictionary.h"
#include "link/MessageSource.h"

namespace {

class MessageSource : public ::testing::Test
{
protected:
    void SetUp() override { RegisterCodesForTest(); }

    CRecordingSink* NewSink(const char* pszName)
    {
        m_sinks.push_back(std::make_unique<CRecordingSink>(pszName, &m_log));
        EXPECT_TRUE(m_source.AddSink(m_sinks.back()->GetSinkRecord()));
        return m_sinks.back().get();
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
    std::string Take()
    {
        std::string s = Joined(m_log);
        m_log.clear();
        return s;
    }

    CEventLog m_log;
    CZorvatMessageSource m_source;
    std::vector<std::unique_ptr<CRecordingSink>> m_sinks;   // after the source: destroyed first
};

}  // namespace

TEST_F(MessageSource, RegistersWithFreshIdsOnly)
{
    CRecordingSink a("a", &m_log), b("b", &m_log);
    ASSERT_TRUE(m_source.AddSink(a.GetSinkRecord()));
    const int nId = a.GetSinkId();
    EXPECT_GT(nId, 0);
    EXPECT_FALSE(m_source.AddSink(a.GetSinkRecord()));     // twice: refused, id kept
    EXPECT_EQ(nId, a.GetSinkId());
    EXPECT_FALSE(m_source.AddSink(nullptr));
    CMessageSink orphan;                                    // a record without its sink
    EXPECT_FALSE(m_source.AddSink(&orphan));
    ASSERT_TRUE(m_source.AddSink(b.GetSinkRecord()));
    EXPECT_GT(b.GetSinkId(), nId);

    EXPECT_TRUE(m_source.SetReceiving(nId));
    EXPECT_TRUE(m_source.RemoveSink(nId));
    EXPECT_EQ(-1, a.GetSinkId());
    EXPECT_TRUE(a.GetSinkRecord()->m_bReceiving);           // removal leaves the flag alone
    EXPECT_FALSE(m_source.RemoveSink(nId));
    EXPECT_FALSE(m_source.SetReceiving(nId));
    EXPECT_FALSE(m_source.ClearReceiving(nId));
    ASSERT_TRUE(m_source.AddSink(a.GetSinkRecord()));       // back again, with a new id
    EXPECT_GT(a.GetSinkId(), b.GetSinkId());
    EXPECT_EQ(2, m_source.GetSinkCount());

    // A sink that dies registered takes itself out.
    {
        CRecordingSink c("c", &m_log);
        ASSERT_TRUE(m_source.AddSink(c.GetSinkRecord()));
        EXPECT_EQ(3, m_source.GetSinkCount());
    }
    EXPECT_EQ(2, m_source.GetSinkCount());
    Fire("$OB|1|XC||x");
    EXPECT_EQ("b OnOB x|a OnOB x", Take());
}

TEST_F(MessageSource, FansOutInOrderWithExclusionAndFreshOverrides)
{
    CRecordingSink* a = NewSink("a");
    CRecordingSink* b = NewSink("b");
    NewSink("c");
    // Each sink starts from the fields: an override set by one is gone for the next.
    a->m_hook = [](CRecordingSink*, const std::string&, CServerMessage* pMsg) {
        if (pMsg != nullptr)
            pMsg->SetOverride(0, "a's");
    };
    Fire("~OC|1|XC||5");
    EXPECT_EQ("a OnOC 5|b OnOC 5|c OnOC 5", Take());

    CServerMessage msg("~OC|1|XC||5", 1);
    msg.SetOverride(0, "stale");
    m_source.FireOC(&msg, b->GetSinkId());
    EXPECT_EQ("a OnOC 5|c OnOC 5", Take());                 // the excluded one is skipped
    EXPECT_STREQ("5", msg.GetFieldOrOverride(0));           // and the overrides were still reset

    m_source.FireTick(-1);
    EXPECT_EQ("a OnTick|b OnTick|c OnTick", Take());
}

TEST_F(MessageSource, ReplyStreamsReachOnlyReceivingSinksUntilEN)
{
    CRecordingSink* table = NewSink("table");
    NewSink("other");
    // The table marks itself receiving in its reply handler, as a table's reply does.
    table->m_hook = [this](CRecordingSink* pSink, const std::string& handler, CServerMessage*) {
        if (handler == "OnOB")
            m_source.SetReceiving(pSink->GetSinkId());
        if (handler == "OnEnd")
            m_source.ClearReceiving(pSink->GetSinkId());
    };
    Fire("~OB|1|XC||0");
    EXPECT_TRUE(m_source.IsRestricted());
    Fire("row1|a");
    Fire("~OC|1|XC||live");         // a plain update while the reply runs
    m_source.FireTick(-1);
    Fire("$EN|1|XC|0");
    EXPECT_FALSE(m_source.IsRestricted());
    EXPECT_EQ("table OnOB 0|other OnOB 0|table OnRecord row1|table OnOC live|table OnTick|table OnEnd 0", Take());
    Fire("~OC|1|XC||after");
    EXPECT_EQ("table OnOC after|other OnOC after", Take());

    // Plain and checked-only types leave the stream closed; streams open it without a check.
    Fire("~UL|1|XC||x|0");
    EXPECT_FALSE(m_source.IsRestricted());
    Fire("~GO|1|XC||9");
    EXPECT_TRUE(m_source.IsRestricted());
    Take();

    // "EN" with no sink at all still closes the stream.
    CZorvatMessageSource empty;
    CServerMessage reply("~OB|1|XC||0", 1);
    empty.FireOB(&reply, -1);
    EXPECT_TRUE(empty.IsRestricted());
    CServerMessage end("$EN|1|XC|0", 1);
    empty.FireEN(&end, -1);
    EXPECT_FALSE(empty.IsRestricted());
}

TEST_F(MessageSource, ErrorRepliesReachNobodyAndShowTheirText)
{
    CEventLog appLog;
    CFakeApp app(&appLog);
    CFakeRefData refData(&appLog);
    CZorvatErrorDictionary errors(&m_source, &app, &refData);
    CRecordingSink* table = NewSink("table");
    m_source.SetReceiving(table->GetSinkId());

    Fire("~OB|1|XC||0");            // opens the stream
    Take();
    Fire("~OB|1|XC||306");          // an error reply: nobody hears it, the stream state stays
    EXPECT_EQ("", Take());
    EXPECT_TRUE(m_source.IsRestricted());
    EXPECT_EQ("info Server error 306.|top 2", Joined(appLog));
    appLog.clear();

    // '$' lines are never error replies; the last-field types read their last field.
    Fire("$OB|1|XC||306");
    EXPECT_EQ("table OnOB 306", Take());
    Fire("~AH|1|XC||a|b|0");
    EXPECT_EQ("table OnAH a", Take());
    Fire("~AH|1|XC||0|0|17");
    EXPECT_EQ("", Take());
    EXPECT_EQ("info Server error 17.|top 2", Joined(appLog));

    // Without a dictionary an error reply is still held back.
    m_source.RemoveSink(errors.GetSinkId());
    appLog.clear();
    Fire("~OB|1|XC||306");
    EXPECT_EQ("", Take());
    EXPECT_EQ("", Joined(appLog));
    EXPECT_FALSE(m_source.SetErrorDictionary(&errors));    // only a registered sink can be it
}

TEST_F(MessageSource, SinksRemovedDuringAFanOutDoNotMakeOthersMissIt)
{
    CRecordingSink* a = NewSink("a");
    CRecordingSink* b = NewSink("b");
    CRecordingSink* c = NewSink("c");
    NewSink("d");
    // A form that closes on its reply deletes itself in its handler.
    b->m_hook = [this](CRecordingSink* pSink, const std::string&, CServerMessage*) {
        for (auto& p : m_sinks) {
            if (p.get() == pSink)
                p.reset();
        }
    };
    Fire("~OC|1|XC||1");
    EXPECT_EQ("a OnOC 1|b OnOC 1|c OnOC 1|d OnOC 1", Take());
    EXPECT_EQ(3, m_source.GetSinkCount());

    // A sink that removes one before it and one after it: the later one is not called.
    a->m_hook = nullptr;
    c->m_hook = [this, a](CRecordingSink*, const std::string&, CServerMessage*) {
        m_source.RemoveSink(a->GetSinkId());
        m_source.RemoveSink(m_sinks[3]->GetSinkId());
    };
    Fire("~OC|1|XC||2");
    EXPECT_EQ("a OnOC 2|c OnOC 2", Take());
    Fire("~OC|1|XC||3");
    EXPECT_EQ("c OnOC 3", Take());
}

TEST_F(MessageSource, SinksAddedDuringAFanOutWaitForTheNextMessage)
{
    CRecordingSink* a = NewSink("a");
    NewSink("b");
    // A reply handler that opens a form: the form must not see the reply that opened it.
    a->m_hook = [this](CRecordingSink* pSink, const std::string&, CServerMessage*) {
        pSink->m_hook = nullptr;
        NewSink("form");
    };
    Fire("~OC|1|XC||1");
    EXPECT_EQ("a OnOC 1|b OnOC 1", Take());
    Fire("~OC|1|XC||2");
    EXPECT_EQ("a OnOC 2|b OnOC 2|form OnOC 2", Take());
}

TEST_F(MessageSource, NestedFanOutsAndADestroyedSourceStaySound)
{
    auto pSource = std::make_unique<CZorvatMessageSource>();
    CRecordingSink a("a", &m_log), b("b", &m_log), c("c", &m_log);
    pSource->AddSink(a.GetSinkRecord());
    pSource->AddSink(b.GetSinkRecord());
    pSource->AddSink(c.GetSinkRecord());
    // b dispatches a nested line (a modal loop) which removes a; the outer fan-out goes on
    // with c.
    b.m_hook = [&](CRecordingSink*, const std::string& handler, CServerMessage*) {
        if (handler != "OnOC")
            return;
        CServerMessage inner("~OM|1|XC||in", 1);
        pSource->FireOM(&inner, -1);
        pSource->RemoveSink(a.GetSinkId());
    };
    CServerMessage outer("~OC|1|XC||out", 1);
    pSource->FireOC(&outer, -1);
    EXPECT_EQ("a OnOC out|b OnOC out|a OnOM in|b OnOM in|c OnOM in|c OnOC out", Take());

    // A handler that destroys the source ends the fan-out; the stream flag is not touched.
    b.m_hook = [&](CRecordingSink*, const std::string&, CServerMessage*) { pSource.reset(); };
    CServerMessage reply("~OB|1|XC||0", 1);
    CZorvatMessageSource* pRaw = pSource.get();
    pRaw->FireOB(&reply, -1);
    EXPECT_EQ("b OnOB 0", Take());
    EXPECT_EQ(nullptr, pSource);
    EXPECT_EQ(-1, b.GetSinkId());
    EXPECT_EQ(-1, c.GetSinkId());
}
