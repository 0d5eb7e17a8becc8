// The simulator must feed 200,000 live lines a second on one core, wire and cipher included,
// so the model's share of an event has to stay well under 5 microseconds.
#include <benchmark/benchmark.h>
#include <string>
#include "tools/testserver/model/Simulator.h"

namespace {

bool Start(CSimulator& sim)
{
    std::string strError;
    return sim.Start(TESTSERVER_MARKET_DIR, 1, 20261207, 90000, &strError);
}

void BM_NextEvent(benchmark::State& state)
{
    CSimulator sim;
    if (!Start(sim)) {
        state.SkipWithError("market files");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(sim.Next());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextEvent);

// With every field of the record looked at, as a writer filling a line would.
void BM_NextEventRead(benchmark::State& state)
{
    CSimulator sim;
    if (!Start(sim)) {
        state.SkipWithError("market files");
        return;
    }
    size_t nBytes = 0;
    for (auto _ : state) {
        const CSimEvent* pEvent = sim.Next();
        for (const auto& field : *pEvent->pRecord)
            nBytes += field.second.size();
    }
    benchmark::DoNotOptimize(nBytes);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextEventRead);

// Open orders on every KSE stock: each trade looks for orders to fill.
void BM_NextEventWithOrders(benchmark::State& state)
{
    CSimulator sim;
    if (!Start(sim)) {
        state.SkipWithError("market files");
        return;
    }
    sim.Login("trader", "secret");
    for (const CSimInstrument& inst : sim.Market().GetInstruments()) {
        if (inst.pMarket->nCode != 2)
            continue;
        CSimOrderRequest req;
        req.strUser = "trader";
        req.strPassword = "secret";
        req.nMarket = 2;
        req.strSymbol = inst.strSymbol;
        req.nType = SIM_TYPE_LIMIT;
        req.nQty = 500;
        req.dPrice = static_cast<double>(inst.nLimitDown) / inst.pMarket->nScale;
        CSimRecord order;
        std::string strInsert;
        sim.SendOrder(req, &order, &strInsert);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(sim.Next());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextEventWithOrders);

}  // namespace
