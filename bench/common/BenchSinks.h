#pragma once
// What the benchmarks of the message road share: the reference data of an ordinary user, and the
// sinks of a busy terminal, a few taking quotations among many that take other types.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>
#include "link/MessageSink.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "link/ServerMessage.h"

class CBenchRefData : public IRefDataServices
{
public:
    int GetUserRole() const override { return 3; }
    void AcceptPendingText() override {}
    CString GetPaymentModeText(long) const override { return CString(); }
    CString GetAccountTypeText(long) const override { return CString(); }
};

// Reads the last price, as a quotation row update starts.
class CQuoteSink : public CZorvatMessageSink
{
public:
    CQuoteSink() : CZorvatMessageSink({MSG_GS}) {}
    void OnGS(CServerMessage* pMsg) override
    {
        ++m_nLines;
        m_dLast += pMsg->GetDouble(5, 0);
    }
    long m_nLines = 0;
    double m_dLast = 0.0;
};

class COtherSink : public CZorvatMessageSink
{
public:
    COtherSink() : CZorvatMessageSink({MSG_OB}) {}
    void OnOB(CServerMessage* pMsg) override { benchmark::DoNotOptimize(pMsg); }
};

// Registers nCount sinks, every eighth a quotation sink; returns the first quotation sink.
inline CQuoteSink* AddBenchSinks(CZorvatMessageSource& source, std::vector<std::unique_ptr<CZorvatMessageSink>>& sinks,
                                 int nCount)
{
    CQuoteSink* pFirst = nullptr;
    for (int i = 0; i < nCount; ++i) {
        if (i % 8 == 0) {
            auto pSink = std::make_unique<CQuoteSink>();
            if (!pFirst)
                pFirst = pSink.get();
            sinks.push_back(std::move(pSink));
        } else {
            sinks.push_back(std::make_unique<COtherSink>());
        }
        source.AddSink(sinks.back()->GetSinkRecord());
    }
    return pFirst;
}
