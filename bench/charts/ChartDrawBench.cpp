// A daily chart of 10,000 bars in a 1,600 x 1,000 window, price above volume, with the moving
// average and its bands: a full repaint as bars and as a line, the relayout a completed series
// costs (range, bar fit, value step of both panes), and the reply from its header to the
// painted chart. The series comes in through reply lines of the message source.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "charts/ChartPoint.h"
#include "charts/HistoricalChart.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartSettings.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/qt/QtPlatform.h"
#include "tests/link/LinkDoubles.h"
#include "platform/win/gdi/Gdi.h"

namespace {
const int BARS = 10000;
const int CX = 1600, CY = 1000;

class CBenchSettings : public CZorvatChartSettings
{
public:
    CBenchSettings()
    {
        m_strTkrSymb = "ABC";
        m_nDuration = 5;
        m_nPeriod = 2;
        m_nMovingAverage = 4;
        m_bStandardVariation = TRUE;
    }
    void OnSeriesComplete(const char*) override {}
    void OnSeriesUpdated(const char*, CZorvatChartDataHolder*) override {}
};

class CDailyChart
{
public:
    CDailyChart() : m_holder(0, &m_source)
    {
        static const BOOL s_bDisplay = TbInitQtPlatform(nullptr, nullptr);
        (void)s_bDisplay;
        RegisterMessageCodes(g_messageCodePairs);
        m_holder.SetSettings(&m_settings);
        m_settings.SetHolders(&m_holder, nullptr);
        m_holder.RequestSeries();
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> step(-0.4, 0.41);
        double dClose = 50, dSum = 0;
        std::vector<double> closes;
        CNorvDate date(19860106);
        for (int i = 0; i < BARS; date.AddDays(1)) {
            if (date.DayOfWeek() > 5)
                continue;
            const double dOpen = dClose;
            dClose = std::max(1.0, dClose + step(rng));
            closes.push_back(dClose);
            dSum += dClose - (closes.size() > 20 ? closes[closes.size() - 21] : 0);
            const double dAverage = dSum / static_cast<double>(std::min<size_t>(closes.size(), 20));
            char szLine[160];
            snprintf(szLine, sizeof szLine, "%d|%.2f|%u|%.2f|%.2f|%.2f|%.2f|%.2f", date.GetPacked() - 20000000, dClose,
                     100000 + static_cast<unsigned>(rng() % 900000), std::max(dOpen, dClose) + 0.1,
                     std::min(dOpen, dClose) - 0.1, dOpen, dAverage, 0.8);
            m_lines.push_back(szLine);
            ++i;
        }
        FeedReply();
        m_price.SetMainSeries(&m_holder);
        m_volume.SetMainSeries(&m_holder);
        m_price.m_bBars = TRUE;
        m_price.m_nBarWidth = m_volume.m_nBarWidth = 1;
        m_price.m_pYAxis->m_nMax = 15000;
        m_volume.m_pYAxis->m_nMax = 1100000;
        std::vector<DWORD> bits(static_cast<size_t>(CX) * CY, 0x00FFFFFF);
        m_hBitmap = CreateBitmap(CX, CY, 1, 32, bits.data());
        m_dc.Attach(CreateCompatibleDC(nullptr));
        m_hOld = SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
        Layout();
    }
    ~CDailyChart()
    {
        SelectObject(m_dc.GetSafeHdc(), m_hOld);
        DeleteDC(m_dc.Detach());
        DeleteObject(m_hBitmap);
        m_holder.ClearSeries();
    }
    void FeedReply()
    {
        FireLine(m_source, "~CD|1|XC||ABC|5|3|20|0|0|0");
        for (const std::string& strLine : m_lines)
            FireLine(m_source, strLine.c_str());
        FireLine(m_source, "$EN|1|XC");
    }
    // The panes as a chart window splits them: 70 per cent price, 15 pixels free below.
    void Layout()
    {
        const int nSplit = (CY - 15) * 7 / 10 + 15;
        m_volume.SetRect(RECT{0, nSplit + 3, CX, CY - 15});
        m_price.SetRect(RECT{0, 0, CX, nSplit});
    }
    void Paint()
    {
        m_dc.FillSolidRect(RECT{0, 0, CX, CY}, RGB(255, 255, 255));
        for (CZorvatChart* pChart : {static_cast<CZorvatChart*>(&m_price), static_cast<CZorvatChart*>(&m_volume)}) {
            const int nSaved = ::SaveDC(m_dc.GetSafeHdc());
            pChart->Draw(&m_dc);
            ::RestoreDC(m_dc.GetSafeHdc(), nSaved);
        }
    }
    std::vector<std::string> m_lines;           // the reply's rows
    CZorvatMessageSource m_source;
    CBenchSettings m_settings;
    CZorvatChartDataHolder m_holder;
    CHistoricalChart m_price;
    CHistoricalVolumeChart m_volume;
    CDC m_dc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

CDailyChart& Chart()
{
    static CDailyChart s_chart;
    return s_chart;
}

void BM_DailyRepaintBars(benchmark::State& state)
{
    CDailyChart& chart = Chart();
    chart.m_price.m_bBars = TRUE;
    for (auto _ : state)
        chart.Paint();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DailyRepaintBars)->Unit(benchmark::kMillisecond);

void BM_DailyRepaintLine(benchmark::State& state)
{
    CDailyChart& chart = Chart();
    chart.m_price.m_bBars = FALSE;
    for (auto _ : state)
        chart.Paint();
    chart.m_price.m_bBars = TRUE;
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DailyRepaintLine)->Unit(benchmark::kMillisecond);

// What the window's erase costs of the repaint above: one fill of 1,600 x 1,000 pixels.
void BM_WindowClear(benchmark::State& state)
{
    CDailyChart& chart = Chart();
    for (auto _ : state)
        chart.m_dc.FillSolidRect(RECT{0, 0, CX, CY}, RGB(255, 255, 255));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WindowClear)->Unit(benchmark::kMillisecond);

// The whole road of a reply: header, 10,000 rows and "EN" through the holder, the layout and
// the paint of both panes.
void BM_DailyReplyToPaintedChart(benchmark::State& state)
{
    CDailyChart& chart = Chart();
    for (auto _ : state) {
        chart.FeedReply();
        chart.Layout();
        chart.Paint();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DailyReplyToPaintedChart)->Unit(benchmark::kMillisecond);

void BM_DailyRelayout(benchmark::State& state)
{
    CDailyChart& chart = Chart();
    for (auto _ : state)
        chart.Layout();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DailyRelayout)->Unit(benchmark::kMicrosecond);
}  // namespace
