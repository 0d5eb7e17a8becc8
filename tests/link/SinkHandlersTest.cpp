// A fan-out calls only the sinks with a handler of their own for the type, in registration
// order, and still keeps each sink's overrides from the next.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include "LinkDoubles.h"
#include "link/SinkHandlers.h"

namespace {

// Logs the quotation ("GS") only.
class CQuoteSink : public CZorvatMessageSink
{
public:
    CQuoteSink(const char* pszName, CEventLog* pLog) : m_strName(pszName), m_pLog(pLog) {}
    void OnGS(CServerMessage* pMsg) override { m_pLog->push_back(m_strName + " OnGS " + pMsg->GetFieldOrOverrideText(0)); }

private:
    std::string m_strName;
    CEventLog* m_pLog;
};

// Adds a handler of "OC" to the quotation one, which sets an override there.
class CQuoteAndOrderSink : public CQuoteSink
{
public:
    using CQuoteSink::CQuoteSink;
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
    void OnNC(CServerMessage*) override {}
};

// Asks at each stage of its construction whether it has the quotation handler.
class CBuiltSink : public CZorvatMessageSink
{
public:
    explicit CBuiltSink(BOOL* pbDuringBase) { *pbDuringBase = HasSinkHandler(this, MESSAGE_SLOT_GS); }
};
class CBuiltQuoteSink : public CBuiltSink
{
public:
    explicit CBuiltQuoteSink(BOOL* pbDuringBase) : CBuiltSink(pbDuringBase) {}
    void OnGS(CServerMessage*) override {}
};

// The slots pSink has a handler of its own for.
std::set<int> HandledSlots(const CZorvatMessageSink* pSink)
{
    std::set<int> slots;
    for (int nSlot = 1; nSlot < MESSAGE_SLOT_TICK; ++nSlot) {
        if (GetSinkHandler(nSlot) != nullptr && HasSinkHandler(pSink, nSlot))
            slots.insert(nSlot);
    }
    return slots;
}

}  // namespace

TEST(SinkHandlers, TellsEachSinksOwnHandlers)
{
    CEventLog log;
    const CZorvatMessageSink none;
    EXPECT_EQ(std::set<int>{}, HandledSlots(&none));
    const CQuoteSink quote("q", &log);
    EXPECT_EQ(std::set<int>{MESSAGE_SLOT_GS}, HandledSlots(&quote));
    const CQuoteAndOrderSink both("b", &log);
    EXPECT_EQ((std::set<int>{MESSAGE_SLOT_GS, MESSAGE_SLOT_OC}), HandledSlots(&both));
    const CWindowSink window;
    EXPECT_EQ(std::set<int>{MESSAGE_SLOT_NC}, HandledSlots(static_cast<const CZorvatMessageSink*>(&window)));
    const CRecordingSink all("r", &log);
    EXPECT_EQ(static_cast<size_t>(MESSAGE_SLOT_TICK - 1 - 6), HandledSlots(&all).size());     // all but the gaps

    BOOL bDuringBase = TRUE;
    const CBuiltQuoteSink built(&bDuringBase);
    EXPECT_FALSE(bDuringBase);      // its own handler was not there yet, nor would be called
    EXPECT_TRUE(HasSinkHandler(&built, MESSAGE_SLOT_GS));
    EXPECT_TRUE(HasSinkHandler(&built, 0) && HasSinkHandler(&built, MESSAGE_SLOT_TICK));   // unknown: called
}

TEST(SinkHandlers, FanOutCallsOnlySinksWithAHandlerInOrder)
{
    RegisterCodesForTest();
    CEventLog log;
    CZorvatMessageSource source;
    CQuoteSink a("a", &log);
    CZorvatMessageSink idle;
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
}
