// The order tables: an "OS" reply of 100,000 orders from its header to the window painted after
// its "EN"; "NO" lines changing those orders with the window open, painted every eighth line; and
// "NS" lines through the KSE order table and its four views; "NO" lines while 100,000 trades
// wait for orders not yet told; a click on a title of the 100,000 orders. Each with the columns
// fitting what they hold (fit:1) and keeping their widths (fit:0), the ratios printed at the end,
// and the reply's CPU time with fitting against its goal of a second. The machine's load moves
// single runs by up to two times either way: --benchmark_repetitions=5 ratios the medians.
// Offscreen unless a display is given.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "app/TableMDIWnd.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "market/DataArray.h"
#include "platform/qt/QtPlatform.h"
#include "refdata/ZorvatTypes.h"

namespace {

const int ORDERS = 100000;
const int LIVE_LINES = 4096;
const int PAINT_EVERY = 8;
const int PRICE_FIELD = 9;          // the order's limit price
const int WAITING_FILLS = 100000;

// An order's fields as the server sends them: number, time, symbol, side, quantity, open,
// filled, type, prices, duration, good till, status, market.
std::string Order(int nNo, int nStatus, int nFilled)
{
    char szRow[256];
    snprintf(szRow, sizeof szRow, "%d|261208%02d%02d%02d|S%03d|%d|1000|%d|%d||0|%d.25|0|0||261208|||%d|||||8||||||8", nNo,
             9 + nNo % 7, nNo % 60, nNo % 59, nNo % 500, 1 + nNo % 2, 1000 - nFilled, nFilled, 10 + nNo % 90, nStatus);
    return szRow;
}

// A KSE order: number, time, stock, side, quantity, open, filled, type, prices, duration, good
// till, value, status, market, date, reference.
std::string KseOrder(int nNo, int nStatus, int nFilled)
{
    char szRow[256];
    snprintf(szRow, sizeof szRow, "%d|261208%02d%02d%02d|%d|%d|1000|%d|%d||0|%d||0||261208|0||%d|||||||2|261208|R%d", nNo,
             9 + nNo % 7, nNo % 60, nNo % 59, 101 + nNo % 40, 1 + nNo % 2, 1000 - nFilled, nFilled, 500 + nNo % 300,
             nStatus, nNo);
    return szRow;
}

struct COrdersRoad
{
    COrdersRoad()
    {
        OpenBenchFrame("Orders benchmark", source, pApp, pFrame);
        // The code tables, so that sides, types and statuses read as the trader reads them.
        types.CreateTables();
        pOrders = new COrderStatusTable(&source);
        pOrders->Create();
        for (int i = 0; i < ORDERS; ++i)
            reply.push_back(Order(1 + i, 2, 0));
        for (int n = 0; n < LIVE_LINES; ++n)
            live.push_back("$NO|0|XC||" + Order(1 + (n * 7919) % ORDERS, 6, 100 + n % 800));
        CNorvApp::ShowTable(pOrders);
        if (CTableMDIWnd* pWindow = pOrders->GetMainWindow())
            pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
        kse.push_back(new COrderStatusKSETable(&source));
        kse.push_back(new COrderStatusActiveKSETable(&source));
        kse.push_back(new COrderStatusFilledKSETable(&source));
        kse.push_back(new COrderStatusCancelledKSETable(&source));
        kse.push_back(new COrderStatusForwardTable(&source));
        const UINT nNames[] = {51128, 51164, 51165, 51166, 56370};
        for (size_t i = 0; i < kse.size(); ++i)
            kse[i]->Create(nNames[i], 2, 0);
        Fire(source, "~KS|0|XC||0");
        for (int i = 0; i < 2000; ++i)
            Fire(source, KseOrder(1 + i, 2, 0));
        Fire(source, "$EN|0|XC|0|2000");
        Fire(source, "~KB|0|XC||0");
        Fire(source, "$EN|0|XC|0|0");
        for (int n = 0; n < LIVE_LINES; ++n)
            kseLive.push_back("$NS|0|XC||" + KseOrder(1 + (n * 7919) % 2000, n % 3 == 0 ? 3 : 6, 100 + n % 800));
        Pump();
    }
    ~COrdersRoad() { CloseBenchFrame(pApp, pFrame); }
    // Trades of orders no line has told yet: each waits for its order's line.
    void WaitingFills()
    {
        for (int i = 0; i < WAITING_FILLS; ++i) {
            char szLine[128];
            snprintf(szLine, sizeof szLine, "$NT|0|XC||%d|26120810%02d%02d|1|S%03d|10|10.25|102.5|||%d|1||||||8", 900000 + i,
                     (i / 60) % 60, i % 60, i % 500, ORDERS + 1000 + i);
            Fire(source, szLine);
        }
    }
    void Reply()
    {
        Fire(source, "~OS|0|XC||0|0|0|0|0|0|0|0|0");
        for (const std::string& strRow : reply)
            Fire(source, strRow);
        Fire(source, "$EN|0|XC|0|" + std::to_string(ORDERS));
        Pump();
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CZorvatTypes types;
    COrderStatusTable* pOrders = nullptr;   // the table map owns the tables
    std::vector<COrderStatusKSETable*> kse;
    std::vector<std::string> reply, live, kseLive;
};

COrdersRoad* s_pRoad = nullptr;

void BM_OrderStatusReply(benchmark::State& state)
{
    SetWindowsFitting(state.range(0) != 0);
    for (auto _ : state)
        s_pRoad->Reply();
    state.counters["rows"] = s_pRoad->pOrders->GetRows()->GetCount();
}
BENCHMARK(BM_OrderStatusReply)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A click on the price's title: the cycle runs ascending, descending, unsorted; each click
// re-sorts the 100,000 orders and paints the window.
void BM_OrderStatusTitleClickSort(benchmark::State& state)
{
    SetWindowsFitting(state.range(0) != 0);
    // The reply's orders, whichever bench ran before: interleaved repetitions keep the first
    // one's count of iterations, and an empty window's sort would set it a hundred times too high.
    if (s_pRoad->pOrders->GetRows()->GetCount() < ORDERS)
        s_pRoad->Reply();
    CTableWindow& grid = s_pRoad->pOrders->GetMainWindow()->GetGrid();
    const std::span<const TABLE_COLUMN> columns = s_pRoad->pOrders->GetDescription().columns;
    int nPrice = 0;
    while (nPrice < static_cast<int>(columns.size()) && columns[static_cast<size_t>(nPrice)].nField != PRICE_FIELD)
        ++nPrice;
    const int nDisplayCol = grid.GetView()->GetColumnOrder().FindPosition(nPrice);
    for (auto _ : state) {
        grid.SortByColumn(nDisplayCol);
        grid.UpdateNow();
    }
    state.counters["rows"] = grid.GetView()->GetRowCount();
}
BENCHMARK(BM_OrderStatusTitleClickSort)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Lines fired round the given ones, the windows painted every eighth line.
void FireLines(benchmark::State& state, const std::vector<std::string>& lines)
{
    size_t n = 0;
    for (auto _ : state) {
        CServerMessage msg(lines[n % LIVE_LINES].c_str(), 1);
        s_pRoad->source.FireType(msg.GetType(), &msg, -1);
        if (++n % PAINT_EVERY == 0)
            Pump();
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
}

void BM_OrderStatusLiveLines(benchmark::State& state)
{
    SetWindowsFitting(state.range(0) != 0);
    FireLines(state, s_pRoad->live);
}
BENCHMARK(BM_OrderStatusLiveLines)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same lines while 100,000 trades wait for other orders' lines.
void BM_OrderLinesWithFillsWaiting(benchmark::State& state)
{
    if (s_pRoad->pOrders->GetWaitingFillCount() == 0)
        s_pRoad->WaitingFills();
    SetWindowsFitting(state.range(0) != 0);
    FireLines(state, s_pRoad->live);
    state.counters["waiting"] = static_cast<double>(s_pRoad->pOrders->GetWaitingFillCount());
}
BENCHMARK(BM_OrderLinesWithFillsWaiting)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_KseOrderLinesThroughFiveTables(benchmark::State& state)
{
    SetWindowsFitting(state.range(0) != 0);
    FireLines(state, s_pRoad->kseLive);
    state.counters["rows"] = s_pRoad->kse[0]->GetRows()->GetCount();
}
BENCHMARK(BM_KseOrderLinesThroughFiveTables)->ArgName("fit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new COrdersRoad;
    CArgRatioReporter reporter("fit", 1.1);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    reporter.PrintCpuGoal("BM_OrderStatusReply/fit:1", 1000, "ms");
    fflush(stdout);
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
