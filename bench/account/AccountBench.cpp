// What a quote of a held symbol costs the account tables: a watch list of 500 US symbols on two
// markets (1,000 rows, window of 60 lines open, each symbol held) takes "GS" lines, first alone,
// then with the US holdings, the combined holdings and the US unrealized tables holding 1,000
// positions (each symbol on both markets) with their windows open. The difference between the two
// is the account tables' share. Offscreen unless a display is given.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "account/CombinedHoldingsTable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "market/DataArray.h"
#include "market/QuotationTable.h"
#include "platform/qt/QtPlatform.h"

namespace {

const int SYMBOLS = 500;
const int LINES = 4096;
const int PAINT_EVERY = 8;
const int MARKETS[] = {4, 8};

struct CAccountRoad
{
    CAccountRoad()
    {
        OpenBenchFrame("Account benchmark", source, pApp, pFrame);
        for (const std::string& strLine : {std::string("$XC|1|XC||0"), MarketRow(4, "Harbor"), MarketRow(8, "Atlantic"),
                                           std::string("$EN|1|XC|0")})
            Fire(source, strLine);
        pQuotes = new CQuotationTable(&source);
        pQuotes->Create();
        // Every symbol listed on both markets.
        for (int nMarket : MARKETS) {
            Fire(source, "$DS|1|XC||0||" + std::to_string(nMarket));
            for (int i = 0; i < SYMBOLS; ++i)
                Fire(source, Ticker(i) + "|" + std::to_string(nMarket) + "|" + Ticker(i) + "|Name " + Ticker(i) +
                                 "|n|Company|c|USD|Sector|s");
            Fire(source, "$EN|1|XC|0");
        }
        Show(pQuotes);
        // The watch list holds the positions in both runs: the difference is the account tables'.
        FirePositions();
        std::mt19937 rng(17);
        for (int n = 0; n < LINES; ++n) {
            const int i = static_cast<int>(rng() % SYMBOLS);
            const int nMarket = MARKETS[rng() % 2];
            char szFields[160];
            const double dLast = 50 + static_cast<int>(rng() % 200) / 100.0 - 1;
            snprintf(szFields, sizeof szFields, "0|1|%.2f|%.2f|%.2f|%06d|%d|%d|%d#%d|49.50|51.20|48.80|||49.90|211207",
                     dLast, dLast - 0.01, dLast + 0.01, 163000 + n % 3000, n % 9 + 1, n % 7 + 1, 1000 + n, 100000 + n * 10);
            lines.push_back("~GS|1|XC|" + std::to_string(nMarket) + "|" + Ticker(i) + "|" + szFields);
        }
    }
    ~CAccountRoad() { CloseBenchFrame(pApp, pFrame); }

    void Show(CDataTable* pTable)
    {
        CNorvApp::ShowTable(pTable);
        if (CTableMDIWnd* pWindow = pTable->GetMainWindow()) {
            pWindow->GetGrid().SetHighlightSeconds(5);
            pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
        }
        Pump();
    }

    // A position of every symbol on both markets, as live lines (the watch list takes them too).
    void FirePositions()
    {
        for (int nMarket : MARKETS)
            for (int i = 0; i < SYMBOLS; ++i)
                Fire(source, "~NH|0|XC||" + Ticker(i) + "|" + std::to_string(100 + i) + "|0|0|5000|50|" +
                                 std::to_string((100 + i) * 50) +
                                 "|10020||0|261201|261201|5000|5000||0|0||0|0|||||||" + std::to_string(nMarket) +
                                 "|=USD||0|0");
    }

    // The three tables with a position of every symbol on both markets.
    void OpenAccount()
    {
        auto* pHoldings = new CInvestorHoldingsTable(&source);
        pHoldings->Create();
        auto* pCombined = new CCombinedHoldingsTable(&source);
        pCombined->Create();
        auto* pUnrealized = new CUnrealizedProfitLossTable(&source);
        pUnrealized->Create();
        FirePositions();
        Fire(source, "~UP|1|XC||1002|10020|2|0");
        for (int nMarket : MARKETS)
            for (int i = 0; i < SYMBOLS; ++i)
                Fire(source, Ticker(i) + "|261201|261201|50|5000|" + std::to_string(100 + i) + "|0||50|||0|0|0|0||||||" +
                                 std::to_string(nMarket) + "|=USD||||");
        Fire(source, "$EN|1|XC|0");
        for (CDataTable* pTable : {static_cast<CDataTable*>(pHoldings), static_cast<CDataTable*>(pCombined),
                                   static_cast<CDataTable*>(pUnrealized)}) {
            Show(pTable);
            positions += pTable->GetRows()->GetCount();
        }
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CQuotationTable* pQuotes = nullptr;     // the table map owns every table
    std::vector<std::string> lines;
    int positions = 0;
};

CAccountRoad* s_pRoad = nullptr;

void RunQuotes(benchmark::State& state)
{
    size_t n = 0;
    for (auto _ : state) {
        CServerMessage msg(s_pRoad->lines[n % LINES].c_str(), 1);
        s_pRoad->source.FireType(msg.GetType(), &msg, -1);
        if (++n % PAINT_EVERY == 0)
            Pump();
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
}

void BM_QuoteWithoutAccount(benchmark::State& state)
{
    RunQuotes(state);
}
BENCHMARK(BM_QuoteWithoutAccount)->Unit(benchmark::kMicrosecond);

void BM_QuoteOfHeldSymbol(benchmark::State& state)
{
    if (s_pRoad->positions == 0)
        s_pRoad->OpenAccount();
    SetWindowsFitting(state.range(0) != 0);
    RunQuotes(state);
    state.counters["positions"] = s_pRoad->positions;
}
// The columns fitting what they hold (fit:1) or keeping their widths (fit:0).
BENCHMARK(BM_QuoteOfHeldSymbol)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CAccountRoad;
    CArgRatioReporter reporter("fit", 1.1);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    fflush(stdout);
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
