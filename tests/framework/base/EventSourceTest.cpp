#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/base/EventSource.h"

namespace {
// A sink interface and source of the shape the views and windows use, with a two-argument
// handler and a hook that lets a test act from inside a fire.
class CProbeSink : public CEventSink
{
public:
    virtual void OnProbe(int nValue, const char* pszWhat) = 0;
protected:
    ~CProbeSink() = default;
};

class CProbeSource : public CEventSourceT<CProbeSink>
{
public:
    void FireProbe(int nValue, const char* pszWhat, int nSenderId) { Fire(nSenderId, &CProbeSink::OnProbe, nValue, pszWhat); }
};

class CRecorder : public CProbeSink
{
public:
    CRecorder(const char* pszName, std::string* pLog) : m_strName(pszName), m_pLog(pLog) {}
    void OnProbe(int nValue, const char* pszWhat) override
    {
        *m_pLog += m_strName + ":" + std::to_string(nValue) + pszWhat + " ";
        if (m_onProbe) {
            auto onProbe = m_onProbe;
            m_onProbe = nullptr;          // act once
            onProbe();
        }
    }
    std::function<void()> m_onProbe;
private:
    std::string m_strName;
    std::string* m_pLog;
};
}  // namespace

TEST(EventSource, IdsAreConsecutiveAcrossSources)
{
    std::string strLog;
    CProbeSource source1, source2;
    CRecorder a("a", &strLog), b("b", &strLog), c("c", &strLog);
    EXPECT_EQ(-1, a.GetSinkId());
    ASSERT_TRUE(source1.AddSink(&a));
    ASSERT_TRUE(source1.AddSink(&b));
    ASSERT_TRUE(source2.AddSink(&c));
    EXPECT_EQ(a.GetSinkId() + 1, b.GetSinkId());
    EXPECT_EQ(b.GetSinkId() + 1, c.GetSinkId());
    EXPECT_GE(a.GetSinkId(), 1);

    EXPECT_FALSE(source1.AddSink(nullptr));
    EXPECT_FALSE(source1.AddSink(&a));          // already here: one entry, one id
    EXPECT_EQ(2, source1.GetSinkCount());

    // A removed sink comes back with a fresh id; the old one is dead.
    int nOldId = a.GetSinkId();
    EXPECT_TRUE(source1.RemoveSink(nOldId));
    EXPECT_EQ(-1, a.GetSinkId());
    EXPECT_FALSE(source1.RemoveSink(nOldId));
    ASSERT_TRUE(source1.AddSink(&a));
    EXPECT_GT(a.GetSinkId(), c.GetSinkId());
    source1.FireProbe(1, "", CEventSource::NO_SENDER);
    EXPECT_EQ("b:1 a:1 ", strLog);
}

TEST(EventSource, FireSkipsTheSenderOnly)
{
    std::string strLog;
    CProbeSource source;
    source.FireProbe(0, "x", CEventSource::NO_SENDER);    // no sinks: nothing happens
    CRecorder a("a", &strLog), b("b", &strLog), c("c", &strLog);
    source.AddSink(&a);
    source.AddSink(&b);
    source.AddSink(&c);
    source.FireProbe(7, "x", b.GetSinkId());
    EXPECT_EQ("a:7x c:7x ", strLog);
    strLog.clear();
    source.FireProbe(8, "y", CEventSource::NO_SENDER);
    EXPECT_EQ("a:8y b:8y c:8y ", strLog);

    strLog.clear();
    EXPECT_FALSE(source.RemoveSink(9999));
    EXPECT_FALSE(source.RemoveSink(-1));
    EXPECT_FALSE(source.RemoveSink(0));
    EXPECT_EQ(3, source.GetSinkCount());
    source.FireProbe(9, "", CEventSource::NO_SENDER);
    EXPECT_EQ("a:9 b:9 c:9 ", strLog);
}

TEST(EventSource, SinksChangedDuringAFire)
{
    std::string strLog;
    CProbeSource source;
    CRecorder a("a", &strLog), b("b", &strLog), c("c", &strLog), d("d", &strLog);
    source.AddSink(&a);
    source.AddSink(&b);
    source.AddSink(&c);

    // A sink that removes itself does not make the next one miss the event.
    a.m_onProbe = [&] { source.RemoveSink(a.GetSinkId()); };
    source.FireProbe(1, "", CEventSource::NO_SENDER);
    EXPECT_EQ("a:1 b:1 c:1 ", strLog);
    EXPECT_EQ(2, source.GetSinkCount());

    // A sink removed before its turn is not called; the one after it still is.
    strLog.clear();
    b.m_onProbe = [&] { source.RemoveSink(c.GetSinkId()); source.AddSink(&d); };
    source.FireProbe(2, "", CEventSource::NO_SENDER);
    EXPECT_EQ("b:2 d:2 ", strLog);

    // The list is compact again after the fire: order is registration order.
    strLog.clear();
    source.AddSink(&a);
    source.FireProbe(3, "", CEventSource::NO_SENDER);
    EXPECT_EQ("b:3 d:3 a:3 ", strLog);
    EXPECT_EQ(3, source.GetSinkCount());
}

TEST(EventSource, NestedFiresAndASourceDestroyedByItsSink)
{
    std::string strLog;
    CProbeSource source;
    CRecorder a("a", &strLog), b("b", &strLog), c("c", &strLog);
    source.AddSink(&a);
    source.AddSink(&b);
    source.AddSink(&c);
    // b fires again from inside the fire and a is removed inside the inner one.
    b.m_onProbe = [&] {
        a.m_onProbe = [&] { source.RemoveSink(b.GetSinkId()); };
        source.FireProbe(2, "", CEventSource::NO_SENDER);
    };
    source.FireProbe(1, "", CEventSource::NO_SENDER);
    EXPECT_EQ("a:1 b:1 a:2 c:2 c:1 ", strLog);
    EXPECT_EQ(2, source.GetSinkCount());

    // A handler that destroys the source ends the fire there.
    strLog.clear();
    auto pOwned = std::make_unique<CProbeSource>();
    CRecorder x("x", &strLog), y("y", &strLog);
    pOwned->AddSink(&x);
    pOwned->AddSink(&y);
    x.m_onProbe = [&] { pOwned.reset(); };
    pOwned->FireProbe(5, "", CEventSource::NO_SENDER);
    EXPECT_EQ("x:5 ", strLog);
    EXPECT_EQ(nullptr, pOwned);
}
