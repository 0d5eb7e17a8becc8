// A fan-out calls only the sinks that take its type, in registration order, while "EN", data
// rows and the tick reach every sink; each sink still sees the message without the overrides
// of the one before, and sinks may come and go during a fan-out as when every sink is walked.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
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

// The check that holds the program's sinks to their stated types must read every shape of sink.
TEST(SinkTypes, OverridesAreReadFromEveryShapeOfSink)
{
    CEventLog log;
    const CZorvatMessageSink none(CMessageTypeSet{});
    EXPECT_EQ(CMessageTypeSet{}, GetOverriddenTypes(&none));
    const CQuoteSink quote("q", &log);
    EXPECT_EQ(CMessageTypeSet{MSG_GS}, GetOverriddenTypes(&quote));
    const CQuoteAndOrderSink both("b", &log);
    EXPECT_EQ((CMessageTypeSet{MSG_OC, MSG_GS}), GetOverriddenTypes(&both));
    const CWindowSink window;
    EXPECT_EQ(CMessageTypeSet{MSG_NC}, GetOverriddenTypes(static_cast<const CZorvatMessageSink*>(&window)));
    const CRecordingSink all("r", &log);
    EXPECT_EQ(CMessageTypeSet::Every(), GetOverriddenTypes(&all));
    for (const CZorvatMessageSink* pSink : {&none, static_cast<const CZorvatMessageSink*>(&quote),
                                            static_cast<const CZorvatMessageSink*>(&both),
                                            static_cast<const CZorvatMessageSink*>(&window)})
        EXPECT_EQ(pSink->GetMessageTypes(), GetOverriddenTypes(pSink));

    // Codes without a handler are no type of a sink.
    EXPECT_EQ(CMessageTypeSet{}, (CMessageTypeSet{MSG_EN, MSG_BP, MSG_X9, 0, 190, 9999}));
    EXPECT_TRUE(CMessageTypeSet::Every().HasSlot(MESSAGE_SLOT_DA) && !CMessageTypeSet::Every().HasSlot(MESSAGE_SLOT_TICK));
}

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

namespace {

// Random fan-outs of a few types to sinks taking random types, whose handlers remove sinks and
// add new ones, against a model that walks every sink registered when the fan-out began.
class FanOutModel : public ::testing::Test
{
protected:
    struct CPlan {
        int nAction = 0;        // 0 nothing, 1 remove nTarget, 2 add a sink taking types
        size_t nTarget = 0;
        std::vector<int> types;
    };
    const std::vector<int> m_pool = {MSG_OC, MSG_OM, MSG_GS, MSG_NC};

    void SetUp() override { RegisterCodesForTest(); }

    std::vector<int> RandomTypes()
    {
        if (m_rng() % 6 == 0)
            return m_pool;
        std::vector<int> types;
        for (int nType : m_pool)
            if (m_rng() % 2 == 0)
                types.push_back(nType);
        return types;
    }
    // The sink of number n in both the source and the model.
    void NewSink(const std::vector<int>& types)
    {
        const size_t n = m_sinks.size();
        CMessageTypeSet set;
        for (int nType : types)
            set.Add(nType);
        m_sinks.push_back(std::make_unique<CRecordingSink>(std::to_string(n).c_str(), &m_log, set));
        m_types.push_back(types);
        m_sinks.back()->m_hook = [this, n](CRecordingSink*, const std::string& handler, CServerMessage* pMsg) {
            if (handler != "OnTick")
                Act(n, pMsg);
        };
        m_source.AddSink(m_sinks.back()->GetSinkRecord());
    }
    void Act(size_t n, CServerMessage* pMsg)
    {
        pMsg->SetOverride(0, std::to_string(n).c_str());
        const CPlan& plan = m_plans[n];
        if (plan.nAction == 1)
            m_source.RemoveSink(m_sinks[plan.nTarget]->GetSinkId());
        else if (plan.nAction == 2)
            NewSink(plan.types);
    }
    BOOL Takes(size_t n, int nType) const
    {
        return std::find(m_types[n].begin(), m_types[n].end(), nType) != m_types[n].end();
    }

    std::mt19937 m_rng{26};     // fixed seed: a failure replays step by step
    CEventLog m_log;
    CZorvatMessageSource m_source;
    std::vector<std::unique_ptr<CRecordingSink>> m_sinks;   // by number, registered or not
    std::vector<std::vector<int>> m_types;
    std::map<size_t, CPlan> m_plans;
    std::vector<size_t> m_registered;                       // the model's, in order
};

}  // namespace

TEST_F(FanOutModel, FanOutsMatchAWalkOfEverySinkWhileSinksComeAndGo)
{
    for (int i = 0; i < 6; ++i) {
        NewSink(RandomTypes());
        m_registered.push_back(m_sinks.size() - 1);
    }
    for (int nStep = 0; nStep < 400; ++nStep) {
        SCOPED_TRACE(nStep);
        // Every registered sink's plan, should it be called.
        m_plans.clear();
        size_t nNext = m_sinks.size();
        for (size_t n : m_registered) {
            CPlan plan;
            const unsigned nDraw = m_rng() % 10;
            if (nDraw < 2 && !m_registered.empty()) {
                plan.nAction = 1;
                plan.nTarget = m_registered[m_rng() % m_registered.size()];
            } else if (nDraw < 4 && m_registered.size() < 12) {
                plan.nAction = 2;
                plan.types = RandomTypes();
            }
            m_plans[n] = plan;
        }
        const int nType = m_pool[m_rng() % m_pool.size()];
        const size_t nExcluded = m_rng() % 4 == 0 && !m_registered.empty() ? m_registered[m_rng() % m_registered.size()]
                                                                            : SIZE_MAX;

        // The model: every sink registered at the start, in order, still there when its turn
        // comes; the last one's override stays only when no later one of the start is left.
        std::string strExpected;
        const std::vector<size_t> start = m_registered;
        size_t nLastCalled = SIZE_MAX;
        for (size_t n : start) {
            if (std::find(m_registered.begin(), m_registered.end(), n) == m_registered.end() || n == nExcluded ||
                !Takes(n, nType))
                continue;
            strExpected += (strExpected.empty() ? "" : "; ") + std::to_string(n) + " On" +
                           GetMessageMnemonic(nType) + " x";
            nLastCalled = n;
            const CPlan& plan = m_plans[n];
            if (plan.nAction == 1)
                std::erase(m_registered, plan.nTarget);
            else if (plan.nAction == 2)
                m_registered.push_back(nNext++);
        }
        size_t nLastStill = SIZE_MAX;
        for (size_t n : start)
            if (std::find(m_registered.begin(), m_registered.end(), n) != m_registered.end())
                nLastStill = n;

        CServerMessage msg((std::string("$") + GetMessageMnemonic(nType) + "|1|XC||x").c_str(), 1);
        m_source.FireType(nType, &msg, nExcluded == SIZE_MAX ? -1 : m_sinks[nExcluded]->GetSinkId());
        ASSERT_EQ(strExpected, Take(m_log));
        const BOOL bKept = nLastCalled != SIZE_MAX && (nLastStill == SIZE_MAX || nLastStill <= nLastCalled);
        const std::string strLeft = bKept ? std::to_string(nLastCalled) : "x";
        ASSERT_STREQ(strLeft.c_str(), msg.GetFieldOrOverrideText(0));

        // The tick walks every sink, in the model's order.
        std::string strAll;
        for (size_t n : m_registered)
            strAll += (strAll.empty() ? "" : "; ") + std::to_string(n) + " OnTick";
        m_source.FireTick(-1);
        ASSERT_EQ(strAll, Take(m_log));
        ASSERT_EQ(static_cast<int>(m_registered.size()), m_source.GetSinkCount());
        if (m_registered.size() < 3) {
            NewSink(RandomTypes());
            m_registered.push_back(m_sinks.size() - 1);
        }
    }
}
