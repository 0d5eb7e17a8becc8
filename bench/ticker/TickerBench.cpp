// A docked ticker 1,920 pixels wide and 24 high under a plain frame. One frame is one timer step
// (the scroll, the strip copy and the pending paints dispatched); every third frame an item
// arrives first, so at 60 frames a second items come 20 a second, and the strip fills and
// shifts many times over a run. Reports the mean and the worst frame, the frames over 8 ms and
// the strip shifts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "bench/common/BenchMain.h"
#include "framework/window/TickerWnd.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/user/Message.h"

namespace {

const int WIDTH = 1920;
const int HEIGHT = 24;
const int FRAMES = 36000;

void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void BM_TickerFrames(benchmark::State& state)
{
    CWnd frame;
    frame.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, WIDTH, 200, nullptr, nullptr);
    CTickerWnd ticker;
    CTickerWnd* pSlot = &ticker;
    RECT rc = {0, 200 - HEIGHT, WIDTH, 200};
    ticker.CreateTickerWindow(rc, &frame, &pSlot, TRUE, TRUE, FALSE);
    LOGFONTA lf = ticker.GetLogFont();
    lf.lfHeight = -15;
    ticker.SetLogFont(lf);
    ticker.MoveWindow(0, 200 - HEIGHT, WIDTH, HEIGHT);
    DrainQueue();

    double dTotalMs = 0, dMaxMs = 0;
    long nOver = 0, nOverItem = 0, nShifts = 0, nFrames = 0;
    char szSymbol[16], szValue[32];
    for (auto _ : state) {
        for (int i = 0; i < FRAMES; ++i) {
            auto start = std::chrono::steady_clock::now();
            if (i % 3 == 0) {
                int nTarget = ticker.GetTarget();
                snprintf(szSymbol, sizeof szSymbol, "SYM%04d", i % 5000);
                snprintf(szValue, sizeof szValue, "%.2f %+.2f", 100.0 + (i % 700) / 7.0, ((i % 41) - 20) / 10.0);
                ticker.AddItem(szSymbol, CTickerWnd::TEXT_COLOR, szValue, (i % 2) ? 0x00A000 : 0x0000FF);
                nShifts += ticker.GetTarget() <= nTarget;
            }
            if (ticker.IsTimerRunning())
                ticker.SendMessage(WM_TIMER, CTickerWnd::SCROLL_TIMER);
            DrainQueue();
            double dMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            dTotalMs += dMs;
            dMaxMs = std::max(dMaxMs, dMs);
            nOver += dMs > 8.0;
            nOverItem += dMs > 8.0 && i % 3 == 0;
            ++nFrames;
        }
    }
    state.counters["mean_ms"] = dTotalMs / static_cast<double>(std::max(1L, nFrames));
    state.counters["max_ms"] = dMaxMs;
    state.counters["over_8ms"] = static_cast<double>(nOver);
    state.counters["over_8ms_item"] = static_cast<double>(nOverItem);
    state.counters["shifts"] = static_cast<double>(nShifts);
    state.counters["frames"] = static_cast<double>(nFrames);
}
BENCHMARK(BM_TickerFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv)) {
        fprintf(stderr, "bench_ticker: the Qt display did not start (QT_QPA_PLATFORM=offscreen?)\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
