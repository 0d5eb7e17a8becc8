// A chart window of today's trading, one point a minute from 07:30 to 18:00, five-minute bars
// over volume bars, 1,600 x 1,000 pixels: what one "GS" quote for the charted ticker costs when
// it stays inside the axes (the holder's update of the newest point and both panes' bar redrawn
// on the window).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "charts/ZorvatChart.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartView.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/qt/QtPlatform.h"
#include "tests/link/LinkDoubles.h"

namespace {
const int CX = 1600, CY = 1000;
const int DAY_START = 27000, DAY_END = 64800;   // 07:30 and 18:00

// The view on holders of the bench's own message source.
class CLiveView : public CZorvatChartView
{
public:
    explicit CLiveView(CZorvatMessageSource* pSource)
        : CZorvatChartView(new CZorvatChartDataHolder(0, pSource), new CZorvatChartDataHolder(1, pSource))
    {
    }
};

void BM_LiveQuoteInsideTheAxes(benchmark::State& state)
{
    static const BOOL s_bDisplay = TbInitQtPlatform(nullptr, nullptr);
    (void)s_bDisplay;
    RegisterMessageCodes(g_messageCodePairs);
    CZorvatMessageSource source;
    CWnd frame;
    frame.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, CX + 40, CY + 60, nullptr, nullptr);
    frame.ShowWindow(SW_SHOW);
    auto* pView = new CLiveView(&source);
    pView->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, CX, CY), &frame, 1);
    CChartChoices choices;
    pView->FillChooser(choices);
    choices.m_strTicker = "ABC";
    choices.m_nLineType = 1;
    pView->ApplyFromChooser(choices);
    FireLine(source, "~CD|1|XC||ABC|0|0|0|0|50.00|0");
    for (int t = DAY_START; t < DAY_END; t += 60) {
        char szRow[64];
        snprintf(szRow, sizeof szRow, "%02d%02d00|%.2f|%d", t / 3600, t / 60 % 60, 50.0 + (t / 60 % 37) * 0.05,
                 1000 + t % 700);
        FireLine(source, szRow);
    }
    FireLine(source, "$EN|1|XC");
    pView->UpdateWindow();
    // The day's last minute, again and again: the newest point takes each price, the axes hold
    // (the day's volume stays, so no bar outgrows its axis).
    const long long nVolume = 100000;
    int nTick = 0;
    for (auto _ : state) {
        char szQuote[128];
        snprintf(szQuote, sizeof szQuote, "~GS|0|XC|8|ABC|0|2|%.2f|||175930|||7#%lld", 50.5 + (nTick++ % 20) * 0.01,
                 nVolume);
        FireLine(source, szQuote);
    }
    // 0: no quote left the axes, so every one was a bar redraw, never a relayout.
    state.counters["relayouts"] = ::GetUpdateRect(pView->m_hWnd, nullptr, FALSE) ? 1 : 0;
    frame.DestroyWindow();
}
BENCHMARK(BM_LiveQuoteInsideTheAxes)->Unit(benchmark::kMicrosecond);

}  // namespace
