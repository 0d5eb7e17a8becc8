// A fan-out calls only the sinks that take its type, in registration order, while "EN", data
// rows and the tick reach every sink; each sink still sees the message without the overrides
// of the one before, and sinks may come and go during a fan-out as when every sink is walked.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>
#include "LinkDoubles.h"
#include "tests/common/SinkOverrides.h"

namespace {

// Logs the quotation ("GS") only.
class CQuoteSink : public CZorvatMessageSink
{
public:
    CQuoteSink(const char* pszName, CEventLog* pLog) : CQuoteSink({MSG_GS}, pszName, pLog) {}
    void OnGS(CServerMessage* pMsg) override { m_pLog->push_back(m_strName + " OnGS " + pMsg->GetFieldOrOverrideText(0)); }
    void OnEnd(CServerMessage*) override { m_pLog->push_back(m_strName + " OnEnd"); }

protected:
    CQuoteSink(std::initializer_list<int> types, const char* pszName, CEventLog* pLog)
        : CZorvatMessageSink(types), m_strName(pszName), m_pLog(pLog)
    {
    }

private:
    std::string m_strName;
    CEventLog* m_pLog;
};

// Adds a handler of "OC" to the quotation one, which sets an override there.
class CQuoteAndOrderSink : public CQuoteSink
{
public:
    CQuoteAndOrderSink(const char* pszName, CEventLog* pLog) : CQuoteSink({MSG_GS, MSG_OC}, pszName, pLog) {}
    void OnOC(CServerMessage* pMsg) override { pMsg->SetOverride(0, "mine"); }
};

// The sink as a second base, behind another class with virtual functions.
struct CWindowLike {
    virtual ~CWindowLike() = default;
    virtual void Paint() {}
    int m_nPadding = 0;
};
class CWindowSink : public CWindowLike, public CZorvatMessageSink
{
public:
    CWindowSink() : CZorvatMessageSink({MSG_NC}) {}
    void OnNC(CServerMessage*) override {}
};

}  // namespace

TEST(SinkTypes, FanOutCallsOnlyTheSinksTakingTheTypeInOrder)
{
    RegisterCodesForTest();
    CEventLog log;
    CZorvatMessageSource source;
    CQuoteSink a("a", &log);
    CRecordingSink idle("i", &log, CMessageTypeSet{});     // overrides all, takes none
    CRecordingSink b("b", &log);
    CQuoteAndOrderSink c("c", &log);
    CWindowSink window;
    CQuoteSink d("d", &log);
    // Codes without a handler are no type of a sink.
    EXPECT_EQ(CMessageTypeSet{}, (CMessageTypeSet{MSG_EN, MSG_BP, MSG_X9, 0, 190, 9999}));
    EXPECT_TRUE(CMessageTypeSet::Every().HasSlot(MESSAGE_SLOT_DA) && !CMessageTypeSet::Every().HasSlot(MESSAGE_SLOT_TICK));
    for (CZorvatMessageSink* pSink : std::initializer_list<CZorvatMessageSink*>{&a, &idle, &b, &c, &window, &d})
        ASSERT_TRUE(source.AddSink(pSink->GetSinkRecord()));

    FireLine(source, "$GS|1|XC|4|12.5");
    EXPECT_EQ("a OnGS 12.5; b OnGS 12.5; c OnGS 12.5; d OnGS 12.5", Take(log));
    FireLine(source, "$OC|1|XC|4|7");
    EXPECT_EQ("b OnOC 7", Take(log));
    CServerMessage msg("$GS|1|XC|4|12.5", 1);
    source.FireGS(&msg, c.GetSinkId());
    EXPECT_EQ("a OnGS 12.5; b OnGS 12.5; d OnGS 12.5", Take(log));
    // "EN", data rows and the tick reach every sink, whatever types it takes.
    FireLine(source, "$EN|1|XC|0");
    EXPECT_EQ("a OnEnd; i OnEnd 0; b OnEnd 0; c OnEnd; d OnEnd", Take(log));
    FireLine(source, "row|1");
    source.FireTick(-1);
    EXPECT_EQ("i OnRecord row; b OnRecord row; i OnTick; b OnTick", Take(log));

    // c's override reaches neither d nor anyone after the fan-out, as when every sink is
    // called; with c last, the override stays as it did.
    msg.Parse("$OC|1|XC|4|7");
    source.FireOC(&msg, -1);
    EXPECT_STREQ("7", msg.GetFieldOrOverrideText(0));
    source.RemoveSink(window.GetSinkId());
    source.RemoveSink(d.GetSinkId());
    source.FireOC(&msg, -1);
    EXPECT_STREQ("mine", msg.GetFieldOrOverrideText(0));
    EXPECT_EQ("b OnOC 7; b OnOC 7", Take(log));
    source.RemoveSink(c.GetSinkId());
    FireLine(source, "$GS|1|XC|4|1");
    EXPECT_EQ("a OnGS 1; b OnGS 1", Take(log));
}

// Sinks that come and go during a fan-out of one type: sinks that go are passed by, sinks that
// come wait for the next, and the last one's override stays, as no sink the fan-out began with is
// left after it.
TEST(SinkTypes, SinksComingAndGoingDuringATypesFanOut)
{
    RegisterCodesForTest();
    CEventLog log;
    CZorvatMessageSource source;
    std::vector<std::unique_ptr<CRecordingSink>> sinks;
    auto Add = [&](CMessageTypeSet types) {
        sinks.push_back(std::make_unique<CRecordingSink>(std::to_string(sinks.size()).c_str(), &log, types));
        source.AddSink(sinks.back()->GetSinkRecord());
    };
    for (const CMessageTypeSet& types : {CMessageTypeSet{MSG_OC}, CMessageTypeSet{MSG_GS}, CMessageTypeSet{MSG_OC},
                                         CMessageTypeSet{MSG_OC, MSG_GS}, CMessageTypeSet{MSG_OC}})
        Add(types);
    // 0 removes 1, which takes another type; 2 removes 4 and adds two; 3 sets its override.
    sinks[0]->m_hook = [&](CRecordingSink*, const std::string&, CServerMessage*) { source.RemoveSink(sinks[1]->GetSinkId()); };
    sinks[2]->m_hook = [&](CRecordingSink*, const std::string&, CServerMessage*) {
        source.RemoveSink(sinks[4]->GetSinkId());
        Add(CMessageTypeSet{MSG_OC});
        Add(CMessageTypeSet{MSG_OC});
    };
    sinks[3]->m_hook = [](CRecordingSink*, const std::string&, CServerMessage* pMsg) { pMsg->SetOverride(0, "3"); };
    CServerMessage msg("$OC|1|XC||x", 1);
    source.FireOC(&msg, -1);
    EXPECT_EQ("0 OnOC x; 2 OnOC x; 3 OnOC x", Take(log));
    EXPECT_STREQ("3", msg.GetFieldOrOverrideText(0));
}
