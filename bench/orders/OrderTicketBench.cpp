// The order ticket's busy paths, offscreen unless a display is given: one keystroke in the ticker
// box of a market of 10,000 symbols (the box emptied and refilled with the symbols whose symbol
// or name holds the text), and a "GO" reply of 5,000 option series into an open ticket, from its
// header to the strike list filled at its end.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <vector>

#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "bench/common/BenchMain.h"
#include "bench/market/MarketBenchSupport.h"
#include "link/MessageSource.h"
#include "orders/NewPlaceOrderDlg.h"
#include "platform/qt/QtPlatform.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {

const int SYMBOLS = 10000;
const int SERIES = 5000;
const char* const MARKET = "Big Board";

struct CTicketRoad
{
    CTicketRoad()
    {
        OpenBenchFrame("Order ticket benchmark", source, pApp, pFrame);
        types.CreateTables();
        // One US-type market (family 1, both sides, four order types, three validities, options)
        // and its 10,000 symbols.
        Fire(source, "~XC|1|XC||0|0|0|0|0");
        Fire(source, "|Big Board||164|1|1|0|3|0|15|7|2|4|Big Board||1|0|1|0|0|0|0|0");
        Fire(source, "$EN|1|XC|0|1");
        Fire(source, "~DS|1|XC||0|0|4");
        for (int i = 0; i < SYMBOLS; ++i) {
            char szRow[160];
            snprintf(szRow, sizeof szRow, "S%c%c%04d|4|S%04d|S%04d||Company %c%c number %d|||USD||", 'A' + i % 26,
                     'A' + (i / 26) % 26, i, i, i, 'A' + (i / 7) % 26, 'A' + (i / 11) % 26, i);
            Fire(source, szRow);
        }
        Fire(source, "$EN|1|XC|0|" + std::to_string(SYMBOLS));
        pTicket = new CNewPlaceOrderDlg;
        pTicket->Create(nullptr, "", 0, CRect(0, 0, 0, 0), pFrame, IDD_FORM_ORDER_TICKET);
        pTicket->ShowWindow(SW_SHOW);
        source.AddSink(pTicket->GetSinkRecord());
        pTicket->SelectMarket(MARKET);
        for (int n = 0; n < 2; ++n) {
            std::vector<std::string>& reply = replies[n];
            for (int i = 0; i < SERIES; ++i) {
                char szRow[160];
                // 20 months of 125 strikes, calls and puts.
                snprintf(szRow, sizeof szRow, "%s|O%d|%d|%d|%d%02d%02d|1.5|1.4|1.6|100", n == 0 ? "ALPN" : "GLNT", i,
                         1 + i % 2, 10 + (i / 2) % 125, 27 + (i / 250) / 12, 1 + (i / 250) % 12, 15);
                reply.push_back(szRow);
            }
        }
        Pump();
    }
    ~CTicketRoad()
    {
        pTicket->DestroyWindow();
        CloseBenchFrame(pApp, pFrame);
    }
    void Reply(int n)
    {
        Fire(source, std::string("~GO|1|XC||0|") + (n == 0 ? "ALPN" : "GLNT"));
        for (const std::string& strRow : replies[n])
            Fire(source, strRow);
        Fire(source, "$EN|1|XC|0|" + std::to_string(SERIES));
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CZorvatTypes types;
    CNewPlaceOrderDlg* pTicket = nullptr;   // deletes itself with its window
    std::vector<std::string> replies[2];
};

CTicketRoad* s_pRoad = nullptr;

// One keystroke: the box holds what the user typed so far.
void BM_TickerKeystroke(benchmark::State& state)
{
    static const char* const s_typed[] = {"S", "SA", "SAB", "C", "COMPANY A", "12"};
    size_t n = 0;
    for (auto _ : state)
        s_pRoad->pTicket->FilterTickers(s_typed[n++ % (sizeof s_typed / sizeof s_typed[0])]);
    state.SetItemsProcessed(static_cast<int64_t>(n));
    s_pRoad->pTicket->FilterTickers("S");
    state.counters["symbols"] = static_cast<double>(
        SendDlgItemMessageA(s_pRoad->pTicket->m_hWnd, IDC_TICKET_TICKER, CB_GETCOUNT, 0, 0));
}
BENCHMARK(BM_TickerKeystroke)->Unit(benchmark::kMillisecond);

// A reply of 5,000 series; each replaces the last one's underlying.
void BM_OptionChainReply(benchmark::State& state)
{
    int n = 0;
    for (auto _ : state)
        s_pRoad->Reply(n++ % 2);
    state.counters["series"] = s_pRoad->pTicket->GetOptionStore().GetCount();
}
BENCHMARK(BM_OptionChainReply)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CTicketRoad;
    benchmark::RunSpecifiedBenchmarks();
    delete s_pRoad;
    return 0;
}
