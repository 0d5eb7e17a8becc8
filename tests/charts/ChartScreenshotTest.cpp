// Pictures of the chart kinds as a chart window stacks them (price above, volume below), for
// a person to look at: build/screenshots/chart_*.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "ChartDrawTestSupport.h"
#include "charts/ChartPoint.h"
#include "charts/HistoricalChart.h"
#include "charts/IntradayChart.h"

namespace {
const int CX = 800, CY = 500;

// A random walk from 20.00 with the moving average and deviation of the last 20 closes.
std::vector<HistoryRow> Walk(const std::vector<int>& dates, unsigned nSeed)
{
    std::mt19937 rng(nSeed);
    std::uniform_real_distribution<double> step(-0.4, 0.42);
    std::vector<HistoryRow> rows;
    double dClose = 20;
    for (int nDate : dates) {
        const double dOpen = dClose;
        dClose = std::max(1.0, dClose + step(rng));
        const double dHigh = std::max(dOpen, dClose) + std::fabs(step(rng)) / 2;
        const double dLow = std::min(dOpen, dClose) - std::fabs(step(rng)) / 2;
        rows.push_back({nDate, dClose, 100000 + static_cast<long long>(rng() % 400000), dHigh, dLow, dOpen, 0, 0});
        const size_t n = std::min<size_t>(rows.size(), 20);
        double dSum = 0, dSquares = 0;
        for (size_t i = rows.size() - n; i < rows.size(); ++i)
            dSum += rows[i].dClose;
        const double dMean = dSum / static_cast<double>(n);
        for (size_t i = rows.size() - n; i < rows.size(); ++i)
            dSquares += (rows[i].dClose - dMean) * (rows[i].dClose - dMean);
        rows.back().dAverage = dMean;
        rows.back().dDeviation = 2 * std::sqrt(dSquares / static_cast<double>(n));
    }
    return rows;
}

// The value axes as a chart window sets them: prices padded by a tenth, volumes from 0.
void SetValueRanges(CZorvatChart& price, CZorvatChart& volume, CZorvatChartDataHolder& series, BOOL bPerCent)
{
    double dLow = 1e9, dHigh = -1e9;
    long long nPeak = 0;
    for (const CChartPoint* p = series.GetHead(); p != nullptr; p = p->m_pNext) {
        dLow = std::min(dLow, bPerCent ? p->m_dPercent : p->m_dLow);
        dHigh = std::max(dHigh, bPerCent ? p->m_dPercent : p->m_dHigh);
        nPeak = std::max<long long>(nPeak, p->m_nVolume);
    }
    const double dPad = (dHigh - dLow) / 10;
    price.m_pYAxis->m_nMin = static_cast<int>((dLow - dPad) * 100);
    price.m_pYAxis->m_nMax = static_cast<int>((dHigh + dPad) * 100);
    volume.m_pYAxis->m_nMin = 0;
    volume.m_pYAxis->m_nMax = static_cast<int>(std::max<long long>(1000, nPeak * 11 / 10));
}

void DrawPanes(CChartCanvas& canvas, CZorvatChart& price, CZorvatChart* pVolume)
{
    canvas.Clear();
    const int nSplit = pVolume != nullptr ? (CY - 15) * 7 / 10 + 15 : CY - 15;
    price.SetRect(RECT{0, 0, CX, nSplit});
    CDC* pDC = canvas.GetDC();
    int nSaved = ::SaveDC(pDC->GetSafeHdc());
    price.Draw(pDC);
    ::RestoreDC(pDC->GetSafeHdc(), nSaved);
    if (pVolume != nullptr) {
        pVolume->SetRect(RECT{0, nSplit + 3, CX, CY - 15});
        nSaved = ::SaveDC(pDC->GetSafeHdc());
        pVolume->Draw(pDC);
        ::RestoreDC(pDC->GetSafeHdc(), nSaved);
    }
}
}  // namespace

TEST(ChartScreenshots, IntradayLineAndBarsWithVolume)
{
    CChartSeries series;
    series.m_settings.Set("ABC", "", 0, 0);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> step(-0.05, 0.052);
    std::vector<TradeRow> trades;
    double dPrice = 30;
    for (int t = 34200; t <= 50400; t += 60) {
        dPrice += step(rng);
        trades.push_back({t, std::round(dPrice * 100) / 100, 1000 + static_cast<long long>(rng() % 20000)});
    }
    series.FeedTrades(0, 30.0, trades);
    CIntradayChart price;
    CIntradayVolumeChart volume;
    price.SetMainSeries(&series.m_main);
    volume.SetMainSeries(&series.m_main);
    SetValueRanges(price, volume, series.m_main, FALSE);
    volume.m_pYAxis->m_nMax = 120000;       // five minutes of trades a bar
    CChartCanvas canvas(CX, CY);
    DrawPanes(canvas, price, nullptr);
    EXPECT_TRUE(canvas.SavePng("chart_intraday_line.png"));
    price.m_bBars = TRUE;
    DrawPanes(canvas, price, &volume);
    EXPECT_TRUE(canvas.SavePng("chart_intraday_bars_volume.png"));
}

TEST(ChartScreenshots, DailyWeeklyAndMonthly)
{
    CChartCanvas canvas(CX, CY);
    {
        CChartSeries series;
        series.m_settings.Set("ABC", "", 2, 2, /*nAverage=*/4, /*bBands=*/TRUE);
        series.FeedHistory(0, Walk(TradingDays(20240102, 130), 5));
        CHistoricalChart price;
        CHistoricalVolumeChart volume;
        price.SetMainSeries(&series.m_main);
        volume.SetMainSeries(&series.m_main);
        price.m_bBars = TRUE;
        price.m_nBarWidth = volume.m_nBarWidth = 1;
        SetValueRanges(price, volume, series.m_main, FALSE);
        DrawPanes(canvas, price, &volume);
        EXPECT_TRUE(canvas.SavePng("chart_daily_bars_average.png"));
    }
    {
        CChartSeries series;
        series.m_settings.Set("ABC", ".GSPC", 3, 3);
        std::vector<int> mondays;
        for (CNorvDate date(20240101); mondays.size() < 52; date.AddDays(7))
            mondays.push_back(date.GetPacked());
        series.FeedHistory(0, Walk(mondays, 7));
        series.FeedHistory(1, Walk(mondays, 8));
        CHistoricalChart price;
        CHistoricalVolumeChart volume;
        price.SetMainSeries(&series.m_main);
        price.SetCompareSeries(&series.m_compare);
        volume.SetMainSeries(&series.m_main);
        price.m_nBarWidth = volume.m_nBarWidth = 1;
        SetValueRanges(price, volume, series.m_main, TRUE);
        price.m_pYAxis->m_nMin = std::min(price.m_pYAxis->m_nMin, -3000);
        price.m_pYAxis->m_nMax = std::max(price.m_pYAxis->m_nMax, 3000);
        DrawPanes(canvas, price, &volume);
        EXPECT_TRUE(canvas.SavePng("chart_weekly_comparison.png"));
    }
    {
        CChartSeries series;
        series.m_settings.Set("ABC", "", 5, 4);
        std::vector<int> months;
        for (int i = 0; i < 30; ++i)
            months.push_back((2023 + (10 + i) / 12) * 10000 + ((10 + i) % 12 + 1) * 100 + 3);
        series.FeedHistory(0, Walk(months, 9));
        CHistoricalChart price;
        CHistoricalVolumeChart volume;
        price.SetMainSeries(&series.m_main);
        volume.SetMainSeries(&series.m_main);
        price.m_bBars = TRUE;
        price.m_nBarWidth = volume.m_nBarWidth = 1;
        SetValueRanges(price, volume, series.m_main, FALSE);
        DrawPanes(canvas, price, &volume);
        EXPECT_TRUE(canvas.SavePng("chart_monthly.png"));
    }
}
