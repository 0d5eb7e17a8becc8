// The four chart kinds on series filled through reply lines: the horizontal range and the bar
// fit, the labels of dates and times, the readouts under the mouse and the value steps.
#include <gtest/gtest.h>

#include <cmath>

#include "ChartDrawTestSupport.h"
#include "charts/ChartPoint.h"
#include "charts/HistoricalChart.h"
#include "charts/IntradayChart.h"

namespace {
const int DURATION_YEAR = 3;
const int DURATION_FIVE_YEARS = 5;
const int PERIOD_DAILY = 2;
const int PERIOD_WEEKLY = 3;
const int PERIOD_MONTHLY = 4;

// n trading days from Monday 2 January 2023, closing 10.00, 10.01, ...
std::vector<HistoryRow> DailyRows(int nCount)
{
    std::vector<HistoryRow> rows;
    for (int nDate : TradingDays(20230102, nCount)) {
        const double d = 10 + static_cast<double>(rows.size()) / 100;
        rows.push_back({nDate, d, 1000 + static_cast<long long>(rows.size()), d + 0.5, d - 0.5, d - 0.1, 0, 0});
    }
    return rows;
}

// The chart's rectangle whose horizontal strip is nWidth pixels before the fit.
RECT RectForStrip(const CZorvatChart& chart, int nWidth)
{
    return RECT{0, 0, nWidth + 2 * chart.m_nMargin + chart.m_pYAxis->m_nThickness, 300};
}
}  // namespace

// A strip of 650 pixels for 100 days: 6.5 pixels a bar become 6, and the chart narrows to 600.
// 1000 days in 500 pixels: the oldest 874 go off so that 4 pixels a bar fit.
TEST(HistoricalChart, FitsWholePixelBarsOrScrollsTheOldestOff)
{
    static const struct { int nDays, nStrip, nMin, nMax, nFitted; } rows[] = {
        {100, 650, 0, 100, 600}, {1000, 500, 874, 999, 500}, {10, 346, 0, 10, 340}, {150, 600, 0, 150, 600}};
    for (const auto& row : rows) {
        CChartSeries series;
        series.m_settings.Set("ABC", "", DURATION_YEAR, PERIOD_DAILY);
        series.FeedHistory(0, DailyRows(row.nDays));
        CHistoricalChart chart;
        chart.SetMainSeries(&series.m_main);
        chart.m_nBarWidth = 1;
        chart.SetRect(RectForStrip(chart, row.nStrip));
        const CChartAxis& x = *chart.m_pXAxis;
        EXPECT_EQ(row.nMin, x.m_nMin) << row.nDays << " days";
        EXPECT_EQ(row.nMax, x.m_nMax) << row.nDays << " days";
        EXPECT_EQ(row.nFitted, x.m_rcAxis.right - x.m_rcAxis.left) << row.nDays << " days";
        EXPECT_EQ(0, row.nFitted % (row.nMax - row.nMin)) << "whole pixels a bar";
    }
}

// 07:30 to 18:00 (the market times not known yet): hours from 08:00, ten-minute minor ticks.
TEST(IntradayChart, TicksFallOnWholeHoursFromEightAndEveryTenMinutes)
{
    CChartCanvas canvas(1100, 300);
    CIntradayChart chart;
    chart.SetRect(RECT{0, 0, 1100, 300});
    chart.Draw(canvas.GetDC());
    const CChartAxis& x = *chart.m_pXAxis;
    ASSERT_EQ(27000, x.m_nMin);
    ASSERT_EQ(64800, x.m_nMax);
    // 300-second bars at whole pixels: 37.5 seconds a pixel.
    ASSERT_DOUBLE_EQ(37.5, x.m_dScale);
    std::vector<int> hours, tenMinutes, seenHours, seenTens;
    for (int v = 27000; v <= 64800; v += 600) {
        const int nPixel = x.m_rcAxis.left + static_cast<int>((v - 27000) / 37.5);
        if (nPixel >= x.m_rcAxis.right)
            break;
        tenMinutes.push_back(nPixel);
        if (v % 3600 == 0)
            hours.push_back(nPixel);
    }
    EXPECT_EQ(28800, 27000 + static_cast<int>((hours.front() - x.m_rcAxis.left) * 37.5));
    for (int nPixel = x.m_rcAxis.left; nPixel < x.m_rcAxis.right; ++nPixel) {
        if (canvas.Pixel(nPixel, x.m_rcAxis.top + 6) == RGB(0, 0, 0))
            seenHours.push_back(nPixel);
        if (canvas.Pixel(nPixel, x.m_rcAxis.top + 3) == RGB(0, 0, 0))
            seenTens.push_back(nPixel);
    }
    EXPECT_EQ(hours, seenHours);
    EXPECT_EQ(tenMinutes, seenTens);
}

TEST(ChartLabels, DatesByPeriodTimesOfDayAndValues)
{
    // Months counted on from November 2023, one at a time.
    {
        CChartSeries series;
        series.m_settings.Set("ABC", "", DURATION_FIVE_YEARS, PERIOD_MONTHLY);
        std::vector<HistoryRow> rows;
        for (int i = 0; i < 40; ++i) {
            const int nMonth = (10 + i) % 12 + 1, nYear = 2023 + (10 + i) / 12;
            rows.push_back({nYear * 10000 + nMonth * 100 + 6, 10, 100, 0, 0, 0, 0, 0});
        }
        series.FeedHistory(0, rows);
        ASSERT_EQ(20231101, series.m_main.GetStartDate());
        CHistoricalChart chart;
        chart.SetMainSeries(&series.m_main);
        int nMonth = 11, nYear = 2023;
        for (int v = 0; v <= 60; ++v) {
            char szExpected[32];
            snprintf(szExpected, sizeof szExpected, "%02d/%04d", nMonth, nYear);
            EXPECT_STREQ(szExpected, chart.Describe(v, FALSE)) << v;
            if (++nMonth > 12) {
                nMonth = 1;
                ++nYear;
            }
        }
        EXPECT_STREQ("02/2024", chart.Describe(3, FALSE));
        EXPECT_STREQ("05/2026", chart.Describe(30, FALSE));
    }
    // Days: the date of the point at that position; past the last point, the last date.
    {
        CChartSeries series;
        series.m_settings.Set("ABC", "", DURATION_YEAR, PERIOD_DAILY);
        series.FeedHistory(0, DailyRows(12));
        const std::vector<int> days = TradingDays(20230102, 12);
        CHistoricalChart chart;
        chart.SetMainSeries(&series.m_main);
        for (int v : {0, 4, 5, 11})
            EXPECT_STREQ(CNorvDate(days[static_cast<size_t>(v)]).Format(), chart.Describe(v, FALSE)) << v;
        EXPECT_STREQ(CNorvDate(days.back()).Format(), chart.Describe(40, FALSE));
    }
    // Weeks: seven days a step from the Monday of the first row's week.
    {
        CChartSeries series;
        series.m_settings.Set("ABC", "", DURATION_YEAR, PERIOD_WEEKLY);
        series.FeedHistory(0, {{20230104, 10, 1, 0, 0, 0, 0, 0}, {20230111, 11, 1, 0, 0, 0, 0, 0}});
        CHistoricalChart chart;
        chart.SetMainSeries(&series.m_main);
        EXPECT_STREQ(CNorvDate(20230102).Format(), chart.Describe(0, FALSE));
        EXPECT_STREQ(CNorvDate(20230313).Format(), chart.Describe(10, FALSE));
    }
    // Times of day, and values: prices, per cents with a comparison, volumes in thousands.
    CChartSeries series;
    series.m_settings.Set("ABC", ".GSPC", 0, 0);
    CIntradayChart price;
    CIntradayVolumeChart volume;
    price.SetMainSeries(&series.m_main);
    volume.SetMainSeries(&series.m_main);
    EXPECT_STREQ("09:30", price.Describe(34200, FALSE));
    EXPECT_STREQ("01:05", price.Describe(86400 + 3900, FALSE));
    EXPECT_STREQ("1.50%", price.Describe(150, TRUE));
    EXPECT_STREQ("56", volume.Describe(56000, TRUE));
    series.m_settings.Set("ABC", "", 0, 0);
    EXPECT_STREQ("12.34", price.Describe(1234, TRUE));
}

// Five-minute bars read their slot; over an hour without trades the slot alone.
TEST(ChartReadout, ReadsTheSlotOrPointUnderTheMouse)
{
    CChartSeries series;
    series.m_settings.Set("ABC", "", 0, 0);
    series.FeedTrades(0, 10.0, {{35880, 9.90, 100}, {36060, 10.20, 200}, {36180, 10.40, 3000000000LL},
                                {36240, 10.10, 50}, {36300, 10.30, 1}, {39600, 11.00, 10}});
    CIntradayChart price;
    CIntradayVolumeChart volume;
    for (CZorvatChart* pChart : {static_cast<CZorvatChart*>(&price), static_cast<CZorvatChart*>(&volume)}) {
        pChart->SetMainSeries(&series.m_main);
        pChart->m_bBars = TRUE;
        pChart->SetRect(RECT{0, 0, 1100, 300});
    }
    // The pixel of a time, by the axis formula; the readout maps it back within its slot.
    auto at = [&price](int nSeconds) {
        const CChartAxis& x = *price.m_pXAxis;
        return CPoint(x.m_rcAxis.left + static_cast<int>((nSeconds - x.m_nMin) / x.m_dScale), 100);
    };
    // 10:00-10:05 opens at 09:58's price and takes the trades up to 10:05 itself.
    EXPECT_STREQ("10:00-10:05  O: 9.90 H: 10.40 L: 9.90 C: 10.30", price.GetReadout(at(36120)));
    EXPECT_STREQ("10:00-10:05 3000000251", volume.GetReadout(at(36120)));
    EXPECT_STREQ("10:10-10:15", price.GetReadout(at(36720)));
    EXPECT_STREQ("", price.GetReadout(CPoint(3, 100)));
    price.m_bBars = FALSE;
    EXPECT_STREQ("10:05 10.30", price.GetReadout(at(36290)));

    // Historical: half a bar to the right picks the nearest bar; past the last, the date alone.
    CChartSeries days;
    days.m_settings.Set("ABC", "", DURATION_YEAR, PERIOD_DAILY);
    days.FeedHistory(0, DailyRows(10));
    CHistoricalChart history;
    history.SetMainSeries(&days.m_main);
    history.m_bBars = TRUE;
    history.m_nBarWidth = 1;
    history.SetRect(RECT{0, 0, 400, 300});
    const CChartAxis& x = *history.m_pXAxis;
    const int nBar = static_cast<int>(1 / x.m_dScale);
    const CPoint ptThird(x.m_rcAxis.left + 3 * nBar - nBar / 2 + 1, 100);
    EXPECT_STREQ(history.Describe(3, FALSE) + "  O: 9.93 H: 10.53 L: 9.53 C: 10.03", history.GetReadout(ptThird));
    const CPoint ptEnd(history.m_rcPlot.right - 1, 100);
    EXPECT_STREQ(history.Describe(10, FALSE), history.GetReadout(ptEnd));
}

TEST(ChartValueStep, StepsAtLeastTwentyPixelsApartInOnesTwosAndFives)
{
    static const struct { double dScale; int nStep; } rows[] = {
        {0.5, 20}, {0.01, 1}, {1.0, 20}, {2.0, 50}, {3.0, 100}, {30.0, 1000}, {1000.0, 20000}};
    CHistoricalChart price;
    for (const auto& row : rows) {
        price.m_pYAxis->m_dScale = row.dScale;
        price.UpdateValueStep();
        EXPECT_EQ(row.nStep, price.m_pYAxis->m_nStep) << row.dScale;
    }
    // Volumes: at least a thousand, shown in millions when the step is whole thousands.
    CHistoricalVolumeChart volume;
    volume.m_pYAxis->m_dScale = 3.0;
    volume.UpdateValueStep();
    EXPECT_EQ(1000, volume.m_pYAxis->m_nStep);
    EXPECT_EQ(6, volume.m_pYAxis->m_nExponent);
    CIntradayVolumeChart intraday;
    intraday.m_pYAxis->m_dScale = 3.0;
    intraday.UpdateValueStep();
    EXPECT_EQ(3, intraday.m_pYAxis->m_nExponent);
}
