// What a US price change costs the combined unrealized table: 1,000 positions (500 symbols on
// two markets, with KSE positions beside them), its window of 60 lines open, each change
// (UpdateLastPrice, as the quotation table calls it) revaluing the symbol's row. Offscreen unless
// a display is given.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "account/CombinedUnrealizedProfitLossTable.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "market/DataArray.h"
#include "platform/qt/QtPlatform.h"

namespace {
const int SYMBOLS = 500;
const char* const MARKETS[] = {"Harbor", "Atlantic"};
const int PAINT_EVERY = 8;

struct CUnrealizedRoad
{
    CUnrealizedRoad()
    {
        OpenBenchFrame("Unrealized benchmark", source, pApp, pFrame);
        pTable = new CCombinedUnrealizedProfitLossTable(&source);
        pTable->Create();
        CDataArray* pRows = pTable->GetRows();
        long nRow = 0;
        for (const char* pszMarket : MARKETS)
            for (int i = 0; i < SYMBOLS; ++i) {
                std::unique_ptr<CDataBuffer> pRow(pRows->NewRow());
                pRow->SetText(CU_SYMBOL, Ticker(i).c_str(), FALSE);
                pRow->SetText(CU_MARKET, pszMarket, FALSE);
                pRow->SetText(CU_CURRENCY, "=USD", FALSE);
                pRow->SetText(CU_KIND, "0", FALSE);
                pRow->SetDouble(CU_QTY, 100 + i, FALSE);
                pRow->SetDouble(CU_PRICE, 50, FALSE);
                pRow->SetDouble(CU_COST, 5000, FALSE);
                pRow->SetText(CU_ROW, std::to_string(nRow++).c_str(), FALSE);
                pRows->AddRow(pRow.get(), TRUE);
            }
        CNorvApp::ShowTable(pTable);
        if (CTableMDIWnd* pWindow = pTable->GetMainWindow()) {
            pWindow->GetGrid().SetHighlightSeconds(5);
            pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
        }
        Pump();
    }
    ~CUnrealizedRoad() { CloseBenchFrame(pApp, pFrame); }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CCombinedUnrealizedProfitLossTable* pTable = nullptr;  // the table map owns it
};

CUnrealizedRoad* s_pRoad = nullptr;

void BM_CombinedUnrealizedPriceChange(benchmark::State& state)
{
    std::mt19937 rng(17);
    std::vector<std::string> symbols;
    for (int i = 0; i < SYMBOLS; ++i)
        symbols.push_back(Ticker(i));
    size_t n = 0;
    for (auto _ : state) {
        const double dPrice = 49 + static_cast<int>(rng() % 200) / 100.0;
        s_pRoad->pTable->UpdateLastPrice(dPrice, symbols[rng() % SYMBOLS].c_str(), MARKETS[rng() % 2]);
        if (++n % PAINT_EVERY == 0)
            Pump();
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
    state.counters["positions"] = s_pRoad->pTable->GetRows()->GetCount();
}
BENCHMARK(BM_CombinedUnrealizedPriceChange)->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CUnrealizedRoad;
    benchmark::RunSpecifiedBenchmarks();
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
