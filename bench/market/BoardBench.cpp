// The KSE board of 250 stocks shown in a window of 60 lines: an "SQ" reply from its header to
// the repaint after its "EN", and "QQ" lines through the derived columns, colours, one commit a
// line and the painting of what changed every eighth line. The parse alone and the lines with the
// window hidden split the cost. Offscreen unless a display is given.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/ZorvatGlobals.h"

namespace {

const int STOCKS = 250;
const int LINES = 4096;                 // distinct lines cycled through
const int PAINT_EVERY = 8;

// A stock's line: last walking around its previous close, volume and value growing.
std::string BoardRow(int nStock, double dLast, int n)
{
    char szRow[256];
    snprintf(szRow, sizeof szRow,
             "%d|%.1f|211207093000|%.1f|%.1f|%.1f|%.1f|%.1f|%d|%d|%d.%03d|10|%.1f|211206|%.1f|0|0||||||5|6|0|%d|%d|%d|%d.%d|%d|1",
             nStock, dLast, dLast - 1, dLast + 1, dLast, dLast + 2, dLast - 2, 1000 + n, 3 + n % 9, 500 + n, n % 1000,
             100.0 + nStock % 50, 100.0 + nStock % 50, 1 + n % 3, 1 + n % 13, n % 3, n % 9, n % 10,
             93000 + n % 3000);
    return szRow;
}

struct CBoardRoad
{
    CBoardRoad()
    {
        OpenBenchFrame("Board benchmark", source, pApp, pFrame);
        pBoard = new CQuotationKSETable(&source);
        pBoard->Create();
        for (int i = 0; i < STOCKS; ++i)
            reply.push_back(BoardRow(100 + i, 100 + i % 50, i));
        std::mt19937 rng(11);
        for (int n = 0; n < LINES; ++n) {
            const int i = static_cast<int>(rng() % STOCKS);
            const double dPrevious = 100.0 + (100 + i) % 50;
            live.push_back("~QQ|1|XC|0|" + BoardRow(100 + i, dPrevious + static_cast<int>(rng() % 40) / 10.0 - 2, n));
        }
        Fire(source, "~SQ|1|XC||0");
        for (const std::string& strRow : reply)
            Fire(source, strRow);
        Fire(source, "$EN|1|XC|0");
        Show(TRUE);
    }
    ~CBoardRoad()
    {
        CloseBenchFrame(pApp, pFrame);
    }
    void Show(BOOL bShow)
    {
        if (bShow)
            CNorvApp::ShowTable(pBoard);
        if (CTableMDIWnd* pWindow = pBoard->GetMainWindow()) {
            pWindow->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
            // 60 whole lines.
            pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
        }
        Pump();
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CQuotationKSETable* pBoard = nullptr;           // the table map owns it
    std::vector<std::string> reply, live;
};

CBoardRoad* s_pRoad = nullptr;

void BM_BoardReply(benchmark::State& state)
{
    for (auto _ : state) {
        Fire(s_pRoad->source, "~SQ|1|XC||0");
        for (const std::string& strRow : s_pRoad->reply)
            Fire(s_pRoad->source, strRow);
        Fire(s_pRoad->source, "$EN|1|XC|0");
        Pump();
    }
    state.counters["rows"] = s_pRoad->pBoard->GetRows()->GetCount();
}
BENCHMARK(BM_BoardReply)->Unit(benchmark::kMillisecond);

void BM_BoardLineParse(benchmark::State& state)
{
    size_t n = 0;
    for (auto _ : state) {
        CServerMessage msg(s_pRoad->live[n++ % LINES].c_str(), 1);
        benchmark::DoNotOptimize(msg.GetLong(0));
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
}
BENCHMARK(BM_BoardLineParse)->Unit(benchmark::kMicrosecond);

void RunLines(benchmark::State& state, BOOL bShown)
{
    s_pRoad->Show(bShown);
    size_t n = 0;
    for (auto _ : state) {
        CServerMessage msg(s_pRoad->live[n % LINES].c_str(), 1);
        s_pRoad->source.FireType(msg.GetType(), &msg, -1);
        if (++n % PAINT_EVERY == 0)
            Pump();
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
}
void BM_BoardLineHidden(benchmark::State& state) { RunLines(state, FALSE); }
void BM_BoardLineShown(benchmark::State& state) { RunLines(state, TRUE); }
BENCHMARK(BM_BoardLineHidden)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardLineShown)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CBoardRoad;
    benchmark::RunSpecifiedBenchmarks();
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
