// The four chart kinds on series filled through reply lines: the horizontal range and bar fit,
// the labels of dates and times, the readouts under the mouse and the value steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ChartDrawTestSupport.h"
#include "charts/ChartPoint.h"
#include "charts/HistoricalChart.h"
#include "charts/IntradayChart.h"
#include "refdata/ZorvatGlobals.h"

namespace {
// n trading days from Monday 2 January 2023, closing 10.00, 10.01, ...
std::vector<HistoryRow> DailyRows(int nCount)
{
    std::vector<HistoryRow> rows;
    for (int nDate : TradingDays(20230102, nCount)) {
        const double d = 10 + static_cast<double>(rows.size()) / 100;
        rows.push_back({nDate, d, 1000, d + 0.5, d - 0.5, d - 0.1, 0, 0});
    }
    return rows;
}

// The rectangle of a chart whose horizontal strip is nWidth pixels before the fit.
RECT StripOf(int nWidth) { return RECT{0, 0, nWidth + 2 * 7 + 40, 300}; }
}  // namespace

// 6.5 pixels a bar become 6 and the chart narrows to 600; 1000 days in 500 pixels scroll the
// oldest 874 off for 4 pixels a bar, and a line still runs through the points shown.
TEST(ChartKinds, FitWholePixelBarsOrScrollTheOldestOff)
{
    static const struct { int nDays, nStrip, nMin, nMax, nFitted; } rows[] = {
        {100, 650, 0, 100, 600}, {1000, 500, 874, 999, 500}, {10, 346, 0, 10, 340}, {150, 600, 0, 150, 600}};
    for (const auto& row : rows) {
        CChartSeries series;
        series.Set("ABC", "", 3, 2);
        series.FeedHistory(0, DailyRows(row.nDays));
        CHistoricalChart chart;
        chart.SetMainSeries(series.Main());
        chart.m_nBarWidth = 1;
        chart.m_pYAxis->m_nMin = 900;
        chart.m_pYAxis->m_nMax = 2100;
        chart.SetRect(StripOf(row.nStrip));
        const CChartAxis& x = *chart.m_pXAxis;
        EXPECT_EQ(row.nMin, x.m_nMin) << row.nDays << " days";
        EXPECT_EQ(row.nMax, x.m_nMax) << row.nDays << " days";
        EXPECT_EQ(row.nFitted, x.m_rcAxis.right - x.m_rcAxis.left) << row.nDays << " days";
        CChartCanvas canvas(StripOf(row.nStrip).right, 300);
        canvas.Draw(chart);
        const double dX = static_cast<double>(row.nMax - row.nMin) / row.nFitted;
        const double dY = 1200.0 / (chart.m_rcPlot.bottom - chart.m_rcPlot.top);
        for (int v : {row.nMin + 6, row.nMax - 2}) {   // the last point ends the line, left out
            const int nClose = static_cast<int>(std::trunc((10 + v / 100.0) * 100));
            EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(chart.m_rcPlot.left + static_cast<int>((v - row.nMin) / dX),
                                                   chart.m_rcPlot.bottom - static_cast<int>((nClose - 900) / dY)))
                << "point " << v << " of " << row.nDays;
        }
    }
    // Five-minute bars in 300 pixels, traded up to 16:40:10: the 75 bars up to that trade's.
    CChartSeries series;
    series.Set("ABC", "", 0, 0);
    series.FeedTrades(0, 10, {{34200, 10, 1}, {60010, 10, 1}});
    CIntradayChart chart;
    chart.SetMainSeries(series.Main());
    chart.SetRect(StripOf(300));
    EXPECT_EQ(37800, chart.m_pXAxis->m_nMin);
    EXPECT_EQ(60300, chart.m_pXAxis->m_nMax);
    EXPECT_EQ(300, chart.m_pXAxis->m_rcAxis.right - chart.m_pXAxis->m_rcAxis.left);
}

// 07:30 to 18:00 while the market times are not known: hours from 08:00, ticks every ten
// minutes; once known, two hours either side of them.
TEST(ChartKinds, IntradayTicksFallOnWholeHoursFromEight)
{
    CChartCanvas canvas(1100, 300);
    CIntradayChart chart;
    chart.SetRect(RECT{0, 0, 1100, 300});
    canvas.Draw(chart);
    const CChartAxis& x = *chart.m_pXAxis;
    ASSERT_EQ(27000, x.m_nMin);
    ASSERT_EQ(64800, x.m_nMax);
    ASSERT_DOUBLE_EQ(37.5, x.m_dScale);         // 300-second bars at whole pixels
    std::vector<int> hours, tens, seenHours, seenTens;
    for (int v = 27000; x.m_rcAxis.left + (v - 27000) / 37.5 < x.m_rcAxis.right; v += 600) {
        tens.push_back(x.m_rcAxis.left + static_cast<int>((v - 27000) / 37.5));
        if (v % 3600 == 0)
            hours.push_back(tens.back());
    }
    for (int nPixel = x.m_rcAxis.left; nPixel < x.m_rcAxis.right; ++nPixel) {
        if (canvas.Pixel(nPixel, x.m_rcAxis.top + 6) == RGB(0, 0, 0))
            seenHours.push_back(nPixel);
        if (canvas.Pixel(nPixel, x.m_rcAxis.top + 3) == RGB(0, 0, 0))
            seenTens.push_back(nPixel);
    }
    EXPECT_EQ(hours, seenHours);
    EXPECT_EQ(tens, seenTens);
    EXPECT_EQ(x.m_rcAxis.left + 48, hours.front());     // 08:00

    CZorvatClocks& clocks = *GetGlobals();
    const CNorvTime first = clocks.GetFirstMarketTime(), second = clocks.GetSecondMarketTime();
    CNorvTime opens, closes;
    opens.Set(17, 30, 0);
    closes.Set(23, 0, 0);
    clocks.SetFirstMarketTime(opens);
    clocks.SetSecondMarketTime(closes);
    CIntradayVolumeChart known;
    const int t1 = clocks.GetFirstMarketTimeNY().GetSecondsOfDay(), t2 = clocks.GetSecondMarketTimeNY().GetSecondsOfDay();
    clocks.SetFirstMarketTime(first);
    clocks.SetSecondMarketTime(second);
    EXPECT_EQ(std::vector<int>({t1 - 7200, t2 + 7200, 19800}),
              std::vector<int>({known.m_pXAxis->m_nMin, known.m_pXAxis->m_nMax, t2 - t1}));
}

// A chart given exactly the width its axis needs: the last label (18:00 on the strip's right
// end) is moved left to end at the rectangle's edge, whole, rather than run past it and be cut.
TEST(ChartKinds, TheLastTimeLabelEndsInsideTheChartsRectangle)
{
    CChartCanvas canvas(1100, 300);
    CIntradayChart chart;
    const int nRight = 40 + 2 * 7 + (64800 - 27000) * 2 / 75;       // the strip at 37.5 seconds a pixel
    chart.SetRect(RECT{0, 0, nRight, 300});
    canvas.Draw(chart);
    const CChartAxis& x = *chart.m_pXAxis;
    ASSERT_EQ(nRight - 7, x.m_rcAxis.right) << "the fit kept the width";
    int nLastInk = -1;
    for (int y = x.m_rcAxis.top + 8; y < 300; ++y)
        for (int px = x.m_rcAxis.right - 40; px < canvas.m_cx; ++px)
            if (canvas.Pixel(px, y) != RGB(255, 255, 255))
                nLastInk = std::max(nLastInk, px);
    canvas.SavePng("chart_last_label.png");
    EXPECT_LT(nLastInk, nRight) << "past the rectangle";
    EXPECT_GE(nLastInk, nRight - 4) << "the label runs up to its edge";
}

TEST(ChartKinds, LabelDatesByPeriodTimesOfDayAndValues)
{
    // Months counted on one at a time from November 2023, past several years.
    CChartSeries months;
    months.Set("ABC", "", 5, 4);
    std::vector<HistoryRow> rows;
    for (int i = 0; i < 30; ++i) {
        const double d = 10 + (i * 7 % 11) * 0.25;
        rows.push_back({(2023 + (10 + i) / 12) * 10000 + ((10 + i) % 12 + 1) * 100 + 6, d, 100, d + 0.4, d - 0.4,
                        d - 0.2, 0, 0});
    }
    months.FeedHistory(0, rows);
    ASSERT_EQ(20231101, months.Main()->GetStartDate());
    CHistoricalChart chart;
    chart.SetMainSeries(months.Main());
    chart.m_bBars = TRUE;
    chart.m_nBarWidth = 1;
    chart.m_pYAxis->m_nMin = 900;
    chart.m_pYAxis->m_nMax = 1400;
    chart.SetRect(RECT{0, 0, 800, 400});
    CChartCanvas canvas(800, 400);
    canvas.Draw(chart);
    canvas.SavePng("chart_monthly.png");
    for (int v = 0, nMonth = 11, nYear = 2023; v <= 60; ++v, nYear += nMonth == 12, nMonth = nMonth % 12 + 1) {
        CString strExpected;
        strExpected.Format("%02d/%04d", nMonth, nYear);
        EXPECT_STREQ(strExpected, chart.Describe(v, FALSE)) << v;
    }
    EXPECT_STREQ("05/2026", chart.Describe(30, FALSE));
    // Days: the date of the point at that position, the last past the end. Weeks: seven days
    // a step from the Monday of the first row's week.
    CChartSeries days, weeks;
    days.Set("ABC", "", 3, 2);
    days.FeedHistory(0, DailyRows(12));
    weeks.Set("ABC", "", 3, 3);
    weeks.FeedHistory(0, {{20230104, 10, 1, 0, 0, 0, 0, 0}, {20230111, 11, 1, 0, 0, 0, 0, 0}});
    const std::vector<int> dates = TradingDays(20230102, 12);
    CHistoricalChart daily, weekly;
    daily.SetMainSeries(days.Main());
    weekly.SetMainSeries(weeks.Main());
    for (int v : {0, 4, 5, 8, 9, 10, 11, 40})
        EXPECT_STREQ(CNorvDate(dates[static_cast<size_t>(std::min(v, 11))]).Format(), daily.Describe(v, FALSE)) << v;
    EXPECT_STREQ(CNorvDate(20230102).Format(), weekly.Describe(0, FALSE));
    EXPECT_STREQ(CNorvDate(20230313).Format(), weekly.Describe(10, FALSE));
    // Times of day; prices, per cents with a comparison, volumes in thousands.
    CChartSeries today;
    today.Set("ABC", ".GSPC", 0, 0);
    CIntradayChart price;
    CIntradayVolumeChart volume;
    price.SetMainSeries(today.Main());
    volume.SetMainSeries(today.Main());
    EXPECT_STREQ("09:30", price.Describe(34200, FALSE));
    EXPECT_STREQ("01:05", price.Describe(86400 + 3900, FALSE));
    EXPECT_STREQ("23:00", price.Describe(-3600, FALSE));
    EXPECT_STREQ("1.50%", price.Describe(150, TRUE));
    EXPECT_STREQ("56", volume.Describe(56000, TRUE));
    today.Set("ABC", "", 0, 0);
    EXPECT_STREQ("12.34", price.Describe(1234, TRUE));
}

// Five-minute bars read their slot, opened by the last price before it, with 64-bit volumes;
// a slot without trades reads alone. Historical bars read the nearest bar.
TEST(ChartKinds, ReadOutTheSlotOrPointUnderTheMouse)
{
    CChartSeries series;
    series.Set("ABC", "", 0, 0);
    series.FeedTrades(0, 10.0, {{35880, 9.90, 100}, {36060, 10.20, 200}, {36180, 10.40, 3000000000LL},
                                {36240, 10.10, 50}, {36300, 10.30, 1}, {39600, 11.00, 10}});
    CIntradayChart price;
    CIntradayVolumeChart volume;
    for (CZorvatChart* pChart : {static_cast<CZorvatChart*>(&price), static_cast<CZorvatChart*>(&volume)}) {
        pChart->SetMainSeries(series.Main());
        pChart->m_bBars = TRUE;
        pChart->SetRect(RECT{0, 0, 1100, 300});
    }
    auto at = [&price](int nSeconds) {
        const CChartAxis& x = *price.m_pXAxis;
        return CPoint(x.m_rcAxis.left + static_cast<int>((nSeconds - x.m_nMin) / x.m_dScale), 100);
    };
    EXPECT_STREQ("10:00-10:05  O: 9.90 H: 10.40 L: 9.90 C: 10.30", price.GetReadout(at(36120)));
    EXPECT_STREQ("10:00-10:05 3000000251", volume.GetReadout(at(36120)));
    EXPECT_STREQ("10:10-10:15", price.GetReadout(at(36720)));
    EXPECT_STREQ("", price.GetReadout(CPoint(3, 100)));
    price.m_bBars = FALSE;
    EXPECT_STREQ("10:05 10.30", price.GetReadout(at(36290)));

    CChartSeries days;
    days.Set("ABC", "", 3, 2);
    days.FeedHistory(0, DailyRows(10));
    CHistoricalChart history;
    history.SetMainSeries(days.Main());
    history.m_bBars = TRUE;
    history.m_nBarWidth = 1;
    history.SetRect(RECT{0, 0, 400, 300});
    const CChartAxis& x = *history.m_pXAxis;
    const int nBar = static_cast<int>(1 / x.m_dScale);
    const CPoint ptThird(x.m_rcAxis.left + 3 * nBar - nBar / 2 + 1, 100);
    EXPECT_STREQ(history.Describe(3, FALSE) + "  O: 9.93 H: 10.53 L: 9.53 C: 10.03", history.GetReadout(ptThird));
    EXPECT_STREQ(history.Describe(10, FALSE), history.GetReadout(CPoint(history.m_rcPlot.right - 1, 100)));
}

// Steps at least 20 pixels apart in ones, twos and fives; volumes in thousands, in millions
// when the step is whole millions, so that no label reads 0.
TEST(ChartKinds, ChooseValueStepsAndVolumeUnits)
{
    static const struct { double dScale; int nStep; } prices[] = {
        {0.5, 20}, {0.01, 1}, {1.0, 20}, {2.0, 50}, {3.0, 100}, {30.0, 1000}, {1000.0, 20000}};
    CHistoricalChart price;
    for (const auto& row : prices) {
        price.m_pYAxis->m_dScale = row.dScale;
        price.UpdateValueStep();
        EXPECT_EQ(row.nStep, price.m_pYAxis->m_nStep) << row.dScale;
    }
    static const struct { double dScale; int nStep; int nExponent; const char* pszStep; } volumes[] = {
        {3.0, 1000, 3, "1"}, {10000.0, 200000, 3, "200"}, {40000.0, 1000000, 6, "1"}, {2000000.0, 50000000, 6, "50"}};
    CHistoricalVolumeChart volume;
    CIntradayVolumeChart intraday;
    for (const auto& row : volumes) {
        volume.m_pYAxis->m_dScale = intraday.m_pYAxis->m_dScale = row.dScale;
        volume.UpdateValueStep();
        intraday.UpdateValueStep();
        EXPECT_EQ(row.nStep, volume.m_pYAxis->m_nStep) << row.dScale;
        EXPECT_EQ(row.nExponent, volume.m_pYAxis->m_nExponent) << row.dScale;
        EXPECT_STREQ(row.pszStep, volume.Describe(row.nStep, TRUE)) << row.dScale;
        EXPECT_EQ(3, intraday.m_pYAxis->m_nExponent);
    }
}
