// Typical quotation lines of 30 data fields: parsed alone, and dispatched to 40 registered sinks
// of which 5 handle the type, as the quotation windows, the ticker and the alerts do.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>
#include "bench/common/BenchSinks.h"
#include "link/AppServices.h"
#include "link/ErrorDictionary.h"
#include "link/MessageDispatcher.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "link/ServerMessage.h"

namespace {

// "~GS|n|XC|market|ticker|..." with 30 data fields of prices, volumes, times and texts.
std::vector<std::string> QuotationLines()
{
    std::vector<std::string> lines;
    const char* const pszTickers[] = {"ZAIN", "NBK", "KFH", "AGILITY", "GBK", "BURGAN", "MABANEE", "HUMANSOFT"};
    for (int i = 0; i < 64; ++i) {
        std::string line = "~GS|" + std::to_string(1000 + i) + "|XC|7|" + pszTickers[i % 8];
        for (int nField = 1; nField < 30; ++nField) {
            switch (nField % 5) {
            case 0: line += "|" + std::to_string(100 + i * 7 + nField) + "." + std::to_string(nField % 10) + "5"; break;
            case 1: line += "|" + std::to_string(12500 * (i + 1) + nField); break;
            case 2: line += "|" + std::to_string(9 + nField % 3) + ":" + std::to_string(10 + i % 50) + ":05"; break;
            case 3: line += nField % 2 ? "|" : "|KWD"; break;
            default: line += "|-" + std::to_string(nField) + ".250"; break;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

class CBenchApp : public IAppServices
{
public:
    ICommLink* GetLink() override { return nullptr; }
    IInfoWindow* GetInfoWindow() override { return nullptr; }
    ICompactQuoteExpander* GetQuoteExpander() override { return nullptr; }
    void BringInfoWindowToTop(int) override {}
    LPCSTR GetLanguageCode() const override { return "0"; }
    void SetBusy(BOOL) override {}
    void OnLoginReply(CServerMessage*) override {}
    void Login() override {}
    void OnMessageDR(CServerMessage*) override {}
    void OnConnectionState(int) override {}
    void OnCommDestroyed() override {}
};

void BM_ParseQuotationLine(benchmark::State& state)
{
    RegisterMessageCodes(g_messageCodePairs);
    const std::vector<std::string> lines = QuotationLines();
    size_t nLine = 0;
    for (auto _ : state) {
        CServerMessage msg(lines[nLine++ & 63].c_str(), 1);
        benchmark::DoNotOptimize(msg.GetType());
        benchmark::DoNotOptimize(msg.GetSize());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseQuotationLine);

void BM_DispatchQuotationLine(benchmark::State& state)
{
    RegisterMessageCodes(g_messageCodePairs);
    const std::vector<std::string> lines = QuotationLines();
    CBenchApp app;
    CBenchRefData refData;
    CZorvatMessageSource source;
    CZorvatErrorDictionary errors(&source, &app, &refData);
    std::vector<std::unique_ptr<CZorvatMessageSink>> sinks;
    AddBenchSinks(source, sinks, 39);          // with the dictionary, 40 sinks; five take "GS"
    CMessageDispatcher dispatcher(&source, &errors, &app, &refData);
    size_t nLine = 0;
    for (auto _ : state)
        dispatcher.OnServerMessage(lines[nLine++ & 63].c_str());
    state.SetItemsProcessed(state.iterations());
    long nSeen = 0;
    for (auto& pSink : sinks) {
        if (auto* pQuote = dynamic_cast<CQuoteSink*>(pSink.get()))
            nSeen += pQuote->m_nLines != 0;
    }
    state.counters["quote_sinks"] = static_cast<double>(nSeen);
}
BENCHMARK(BM_DispatchQuotationLine);

}  // namespace
