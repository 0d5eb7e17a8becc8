// What valuing positions at live quotes costs: an account of 500 positions (250 US symbols, 250
// KSE stocks) in every table that values positions, eight windows of them open (two tables with
// a second one), quotes of random symbols of both markets each stored in its quotation table and
// handed on to the position tables, against a plain loop over the same tables' rows in the same
// run. At 1,000 quotes a second, the time of one quote in microseconds is a thousandth of a core
// per microsecond. Each with the columns fitting what they hold (fit:1) and keeping their widths
// (fit:0), the ratios printed at the end. Offscreen unless a display is given.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "account/CombinedHoldingsTable.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/InvestorHoldingsKSETable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "platform/qt/QtPlatform.h"

namespace {
const int US_SYMBOLS = 250;
const int KSE_STOCKS = 250;
const int FIRST_STOCK = 1000;
const int US_MARKET = 4;
const int KSE_MARKET = 2;
// The account lines carry this account: the unrealized reports, which have had no reply, take it.
const char* const ACCOUNT = "-1";

std::string Stock(int i)
{
    return std::to_string(FIRST_STOCK + i);
}

struct CValuationRoad
{
    CValuationRoad()
    {
        OpenBenchFrame("Valuation benchmark", source, pApp, pFrame);
        for (const std::string& strLine : {std::string("$XC|1|XC||0"), MarketRow(KSE_MARKET, "KSE"),
                                           MarketRow(US_MARKET, "Harbor"), std::string("$EN|1|XC|0")})
            Fire(source, strLine);
        pQuotes = new CQuotationTable(&source);
        pQuotes->Create();
        Fire(source, "$DS|1|XC||0||" + std::to_string(US_MARKET));
        for (int i = 0; i < US_SYMBOLS; ++i)
            Fire(source, Ticker(i) + "|" + std::to_string(US_MARKET) + "|" + Ticker(i) + "|Name " + Ticker(i) +
                             "|n|Company|c|USD|Sector|s");
        Fire(source, "$EN|1|XC|0");
        pBoard = new CQuotationKSETable(&source);
        pBoard->Create();
        for (int i = 0; i < KSE_STOCKS; ++i) {
            CDataBuffer* pRow = pBoard->GetRows()->NewRow();
            pRow->SetText(KC_STOCK, Stock(i).c_str(), FALSE);
            pRow->SetText(KC_LAST, "1130", FALSE);
            pBoard->GetRows()->AddRow(pRow, TRUE);
            delete pRow;
        }
        // Every table that values positions, with the account's lines.
        tables = {Make<CInvestorHoldingsTable>(), Make<CInvestorHoldingsKSETable>(), Make<CCombinedHoldingsTable>(),
                  Make<CUnrealizedProfitLossTable>(), Make<CUnrealizedProfitLossKSETable>(),
                  Make<CCombinedUnrealizedProfitLossTable>()};
        for (int i = 0; i < US_SYMBOLS; ++i)
            Fire(source, "~NH|0|XC||" + Ticker(i) + "|" + std::to_string(100 + i) + "|0|0|5000|50|" +
                             std::to_string((100 + i) * 50) + "|" + ACCOUNT +
                             "|0|261201|261201|5000|5000||0|0||0|0|||||||" + std::to_string(US_MARKET) + "|=USD||0|0");
        for (int i = 0; i < KSE_STOCKS; ++i)
            Fire(source, "~IU|0|XC||0|" + Stock(i) + "|" + std::to_string(1000 + i) + "|0|0|1000.000|0|1130|0|0|" +
                             ACCOUNT + "|0|0|261109|261109|=KWD|1000.000|0");
        int nWindows = 0;
        for (CDataTable* pTable : tables) {
            CNorvApp::ShowTable(pTable);
            Size(pTable->GetMainWindow());
            ++nWindows;
            positions += pTable->GetRows()->GetCount();
        }
        for (UINT nTable : {IDS_TABLE_COMBINED_HOLDINGS, IDS_TABLE_COMBINED_UNREALIZED}) {
            Size(FindDataTable(nTable)->OpenWindow(FALSE));
            ++nWindows;
        }
        windows = nWindows;
        for (int i = 0; i < US_SYMBOLS; ++i)
            usQuotes.push_back(pQuotes->FindQuote(Ticker(i).c_str(), "Harbor"));
        for (int i = 0; i < KSE_STOCKS; ++i)
            boardRows.push_back(pBoard->GetRows()->FindRowByIds({static_cast<LONG>(FIRST_STOCK + i)}));
        Pump();
    }
    ~CValuationRoad() { CloseBenchFrame(pApp, pFrame); }

    template <class TTable>
    CDataTable* Make()
    {
        auto* pTable = new TTable(&source);
        pTable->Create();
        return pTable;
    }

    static void Size(CTableMDIWnd* pWindow)
    {
        if (pWindow == nullptr)
            return;
        pWindow->GetGrid().SetHighlightSeconds(5);
        pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CQuotationTable* pQuotes = nullptr;     // the table map owns every table
    CQuotationKSETable* pBoard = nullptr;
    std::vector<CDataTable*> tables;
    std::vector<CDataBuffer*> usQuotes;
    std::vector<CDataBuffer*> boardRows;
    int positions = 0;
    int windows = 0;
};

CValuationRoad* s_pRoad = nullptr;
double s_dPlainLoopNs = 0;      // one plain loop over every row, measured first

// What a valuation that ignored the symbol would do: every row of every position table read once.
void BM_PlainLoopOverTheRows(benchmark::State& state)
{
    double dSum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        for (CDataTable* pTable : s_pRoad->tables) {
            CDataArray* pRows = pTable->GetRows();
            for (int i = 0; i < pRows->GetCount(); ++i)
                dSum += pRows->GetAt(i)->GetDouble(1) * pRows->GetAt(i)->GetDouble(3);
            benchmark::DoNotOptimize(dSum);
        }
    const double dNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    s_dPlainLoopNs = dNs / static_cast<double>(state.iterations());
    state.counters["rows"] = s_pRoad->positions;
}
BENCHMARK(BM_PlainLoopOverTheRows)->Unit(benchmark::kMicrosecond);

// A quote stored and every open position table revalued: only the symbol's rows change. The
// windows paint every state.range(0) quotes, or (0) only after the run: the valuation alone.
void BM_QuoteRevaluesItsSymbolsRows(benchmark::State& state)
{
    const size_t nPaintEvery = static_cast<size_t>(state.range(0));
    SetWindowsFitting(state.range(1) != 0);
    std::mt19937 rng(17);
    size_t n = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        char szPrice[32];
        if (rng() % 2 == 0) {
            const int i = static_cast<int>(rng() % US_SYMBOLS);
            snprintf(szPrice, sizeof szPrice, "%.2f", 49 + static_cast<int>(rng() % 200) / 100.0);
            s_pRoad->usQuotes[static_cast<size_t>(i)]->SetText(QC_LAST, szPrice, TRUE);
            RevaluePositionsOf(Ticker(i).c_str(), US_MARKET);
        } else {
            const int i = static_cast<int>(rng() % KSE_STOCKS);
            snprintf(szPrice, sizeof szPrice, "%d", 1100 + static_cast<int>(rng() % 60));
            s_pRoad->boardRows[static_cast<size_t>(i)]->SetText(KC_LAST, szPrice, TRUE);
            RevaluePositionsOf(Stock(i).c_str(), KSE_MARKET);
        }
        if (++n % (nPaintEvery > 0 ? nPaintEvery : SIZE_MAX) == 0)
            Pump();
    }
    const double dNs = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
                       static_cast<double>(n);
    state.SetItemsProcessed(static_cast<int64_t>(n));
    state.counters["positions"] = s_pRoad->positions;
    state.counters["windows"] = s_pRoad->windows;
    // The share of a core at 1,000 quotes a second, painting included, and the cost of a quote
    // against one plain loop over every row.
    state.counters["core_at_1000_per_s"] = dNs * 1000 / 1e9;
    state.counters["ratio_to_plain_loop"] = s_dPlainLoopNs > 0 ? dNs / s_dPlainLoopNs : 0;
    Pump();
}
BENCHMARK(BM_QuoteRevaluesItsSymbolsRows)
    ->ArgNames({"paint", "fit"})
    ->Args({8, 0})
    ->Args({8, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CValuationRoad;
    CArgRatioReporter reporter("fit", 1.1);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    fflush(stdout);
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
