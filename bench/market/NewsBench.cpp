// The news list: an "LW" reply of 5,000 headlines with two market mentions each, from its header
// to the window painted after its "EN", and "BW" live headlines into that list with its window
// open, painted every eighth line. Offscreen unless a display is given.
#include <benchmark/benchmark.h>
#include <cstdio>
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
#include "market/ListNewsTable.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "refdata/ZorvatGlobals.h"

namespace {

const int HEADLINES = 5000;
const int LIVE_LINES = 4096;            // distinct live lines, each a new story
const int PAINT_EVERY = 8;

// A story's fields: id, language, time, symbol, id, market, a headline with two mentions.
std::string Story(int nId)
{
    static const int s_markets[] = {2, 4, 8, 16};
    char szRow[256];
    snprintf(szRow, sizeof szRow, "%d|%d|2612%02d%02d%02d%02d00|S%03d|%d|%d|Story %d: @%d leads, @%d follows in late trade|",
             nId, nId % 2, 1 + nId % 28, 9 + nId % 5, nId % 60, nId % 60, nId % 500, nId, s_markets[nId % 4], nId,
             s_markets[nId % 4], s_markets[(nId + 1) % 4]);
    return szRow;
}

struct CNewsRoad
{
    CNewsRoad()
    {
        OpenBenchFrame("News benchmark", source, pApp, pFrame);
        // The markets the mentions name.
        Fire(source, "~XC|1|XC||0|0|0|0|0");
        for (const char* pszMarket : {"KSE|Kuwait Stock Exchange||KSE|1|0|0|0|0|0|0|0|2|Kuwait Stock Exchange||1|0|1|0|0|0|0|0",
                                      "NYS|New York Stock Exchange||NYS|1|0|0|0|0|0|0|0|4|New York Stock Exchange||1|0|1|0|0|0|0|0",
                                      "NAS|Nasdaq Stock Market||NAS|1|0|0|0|0|0|0|0|8|Nasdaq Stock Market||1|0|1|0|0|0|0|0",
                                      "OPT|US Options||OPT|1|0|0|0|0|0|0|0|16|US Options||1|0|1|0|0|0|0|0"})
            Fire(source, pszMarket);
        Fire(source, "$EN|1|XC|0|4");
        pNews = new CListNewsTable(&source);
        pNews->Create();
        for (int i = 0; i < HEADLINES; ++i)
            reply.push_back(Story(1000 + i));
        for (int n = 0; n < LIVE_LINES; ++n)
            live.push_back("$BW|1|XC||" + Story(100000 + n));
        CNorvApp::ShowTable(pNews);
        if (CTableMDIWnd* pWindow = pNews->GetMainWindow())
            pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
        Pump();
    }
    ~CNewsRoad()
    {
        CloseBenchFrame(pApp, pFrame);
    }
    void Reply()
    {
        Fire(source, "~LW|1|XC||0|7|0|0|0|||");
        for (const std::string& strRow : reply)
            Fire(source, strRow);
        Fire(source, "$EN|1|XC|0|" + std::to_string(HEADLINES));
        Pump();
    }

    CNorvApp* pApp = nullptr;
    CNorvMainFrame* pFrame = nullptr;
    CZorvatMessageSource source;
    CListNewsTable* pNews = nullptr;    // the table map owns it
    std::vector<std::string> reply, live;
};

CNewsRoad* s_pRoad = nullptr;

void BM_NewsListReply(benchmark::State& state)
{
    for (auto _ : state)
        s_pRoad->Reply();
    state.counters["rows"] = s_pRoad->pNews->GetRows()->GetCount();
}
BENCHMARK(BM_NewsListReply)->Unit(benchmark::kMillisecond);

// Live headlines after a full reply; each line is a new story, so the list grows as it would.
void BM_NewsLiveLines(benchmark::State& state)
{
    s_pRoad->Reply();
    size_t n = 0;
    for (auto _ : state) {
        CServerMessage msg(s_pRoad->live[n % LIVE_LINES].c_str(), 1);
        s_pRoad->source.FireType(msg.GetType(), &msg, -1);
        if (++n % PAINT_EVERY == 0)
            Pump();
    }
    state.SetItemsProcessed(static_cast<int64_t>(n));
    state.counters["rows"] = s_pRoad->pNews->GetRows()->GetCount();
}
BENCHMARK(BM_NewsLiveLines)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    if (!TbInitQtPlatform(&argc, argv))
        return 1;
    s_pRoad = new CNewsRoad;
    benchmark::RunSpecifiedBenchmarks();
    delete s_pRoad;
    benchmark::Shutdown();
    return 0;
}
