// The simulator's live lines as fast as it can make them: each one walked, written through its
// shape, enciphered (one padding per write) and sent over loopback to one client that deciphers
// and counts them. The server is one thread, so this is its rate on one core. Items per second
// are lines per second.
#include <benchmark/benchmark.h>

#include <string>
#include "tools/testserver/client/SimClient.h"

namespace {

void BM_LiveLinesToOneClient(benchmark::State& state)
{
    CSimServerProcess server;
    // A rate past what any core makes: the server sends as fast as it can.
    if (!server.Start(TESTSERVER_PATH, {"--rate", "10000000", "--run-time", "120", "--idle-time", "10"})) {
        state.SkipWithError("the server did not start");
        return;
    }
    CSimClient client;
    if (!client.Connect(server.Port()) || !client.KeyExchange("00112233445566778899AABBCCDDEEFF")) {
        state.SkipWithError("no key exchange");
        return;
    }
    client.Send("UL", "trader|secret|");
    for (const char* psz : {"ALPN", "CRST", "PRSM", "QNTL", "BRKT"})
        client.Send("GS", std::string(psz) + "|1");
    // The KSE tables with live lines: quotations, books, trades and indices.
    for (const char* psz : {"SQ", "OB", "LX"})
        client.Send(psz, "");
    client.Send("TE", "1");
    if (!client.ReadUntil("~GS|", 5000)) {
        state.SkipWithError("no live line");
        return;
    }
    const long nLines = 500000;
    std::string line;
    for (auto _ : state) {
        for (long i = 0; i < nLines; ++i) {
            if (!client.ReadLine(line, 5000)) {
                state.SkipWithError("the stream ended early");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * nLines);
}
BENCHMARK(BM_LiveLinesToOneClient)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
