// The charts' pixels for fixed series in fixed rectangles. Every expected coordinate is worked
// out here from the layout and mapping formulas (margin 7, value strip 40, time strip 20 or
// 10, no insets; pixel = trunc((value - min) / scale)), not through the charts' own mapping.
#include <gtest/gtest.h>

#include <cmath>

#include "ChartDrawTestSupport.h"
#include "charts/HistoricalChart.h"
#include "charts/IntradayChart.h"

namespace {
const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF BLUE = RGB(0, 0, 255);
const COLORREF ORANGE = RGB(255, 128, 0);
const COLORREF RED = RGB(255, 0, 0);
const COLORREF BLACK = RGB(0, 0, 0);
const COLORREF GRID = RGB(190, 190, 190);

// The plot and scales of a chart laid out in {0, 0, cx, cy} over nBars bars of one value,
// with the horizontal strip narrowed to whole pixels a bar.
struct Mapping
{
    Mapping(int cx, int cy, int nTimeStrip, int nBars, int nValueMin, int nValueMax)
    {
        const int nStrip = (cx - 7) - (7 + 40);
        const int nPerBar = static_cast<int>(std::floor(nStrip / static_cast<double>(nBars)));
        plot = CRect(7 + 40, 7, 7 + 40 + nPerBar * nBars, cy - 7 - nTimeStrip);
        dX = static_cast<double>(nBars) / (plot.right - plot.left);
        dY = static_cast<double>(nValueMax - nValueMin) / (plot.bottom - plot.top);
        nMin = nValueMin;
    }
    int X(int v) const { return plot.left + static_cast<int>(v / dX); }
    int Y(int v) const { return plot.bottom - static_cast<int>((v - nMin) / dY); }
    int Price(double d) const { return Y(static_cast<int>(std::trunc(d * 100))); }
    CRect plot;
    double dX, dY;
    int nMin;
};

// The rows of the horizontal grid lines at every 1.00 between 8.00 and 16.00.
bool IsGridRow(const Mapping& m, int y)
{
    for (int v = 900; v < 1600; v += 100)
        if (m.Y(v) == y)
            return true;
    return false;
}

std::vector<HistoryRow> Candles()
{
    std::vector<HistoryRow> rows;
    const std::vector<int> days = TradingDays(20240108, 10);
    for (int i = 0; i < 10; ++i) {
        const double dClose = 10 + 0.3 * i;
        rows.push_back({days[static_cast<size_t>(i)], dClose, 1000 + 300 * i, dClose + 0.4, dClose - 0.4,
                        dClose - 0.2, dClose - 1.0, 0.3});
    }
    return rows;
}
}  // namespace

TEST(ChartDrawing, DailyCandlesAverageBandsAndGrid)
{
    CChartSeries series;
    series.m_settings.Set("ABC", "", 3, 2, /*nAverage=*/4, /*bBands=*/TRUE);
    const std::vector<HistoryRow> rows = Candles();
    series.FeedHistory(0, rows);
    CChartCanvas canvas(400, 300);
    CHistoricalChart chart;
    chart.SetMainSeries(&series.m_main);
    chart.m_bBars = TRUE;
    chart.m_nBarWidth = 1;
    chart.m_pYAxis->m_nMin = 800;
    chart.m_pYAxis->m_nMax = 1600;
    chart.SetRect(RECT{0, 0, 400, 300});
    chart.Draw(canvas.GetDC());
    canvas.SavePng("chart_pixels_daily.png");

    const Mapping m(400, 300, 20, 10, 800, 1600);
    ASSERT_EQ(m.plot, CRect(chart.m_rcPlot));
    ASSERT_EQ(100, chart.m_pYAxis->m_nStep);        // 20 pixels are 60 values: the next of 1, 2, 5
    const int nBarPixels = static_cast<int>(1 / m.dX);
    const int w1 = nBarPixels / 2, w2 = w1 / 2;
    for (int i = 2; i < 8; ++i) {
        const HistoryRow& row = rows[static_cast<size_t>(i)];
        const int x = m.X(i), yHigh = m.Price(row.dHigh), yLow = m.Price(row.dLow);
        const int yOpen = m.Price(row.dOpen), yClose = m.Price(row.dClose);
        const int nLeft = x - w2 / 2, nRight = nLeft + w2 - 1;
        for (int y = yHigh; y <= yLow; ++y) {
            for (int px = nLeft; px <= nRight; ++px)
                ASSERT_EQ(BLUE, canvas.Pixel(px, y)) << "body of " << i << " at " << px << "," << y;
            const bool bGridRow = IsGridRow(m, y);
            if (y != yOpen && !bGridRow) {
                EXPECT_EQ(WHITE, canvas.Pixel(nLeft - 1, y)) << "left of " << i << " at row " << y;
            }
            if (y != yClose && !bGridRow) {
                EXPECT_EQ(WHITE, canvas.Pixel(nRight + 1, y)) << "right of " << i << " at row " << y;
            }
        }
        // The open tick reaches w1 pixels left, the close tick w1 right, their ends left out.
        for (int k = 0; k < w1; ++k) {
            EXPECT_EQ(BLUE, canvas.Pixel(x - k, yOpen)) << "open tick of " << i;
            EXPECT_EQ(BLUE, canvas.Pixel(x + k, yClose)) << "close tick of " << i;
        }
        EXPECT_EQ(IsGridRow(m, yOpen) ? GRID : WHITE, canvas.Pixel(x - w1, yOpen)) << "past the open tick of " << i;
        EXPECT_EQ(IsGridRow(m, yClose) ? GRID : WHITE, canvas.Pixel(x + w1, yClose)) << "past the close tick of " << i;
        // The grid: a vertical line at every day above the bar, rows at every 1.00.
        EXPECT_EQ(GRID, canvas.Pixel(x, yHigh - 1)) << i;
        EXPECT_EQ(GRID, canvas.Pixel(x + w1, m.Y(1500))) << i;
        EXPECT_EQ(WHITE, canvas.Pixel(x + w1, m.Y(1500) + 1)) << i;
        // The average in red and its dotted bands, whose segments each start with a dot.
        EXPECT_EQ(RED, canvas.Pixel(x, m.Price(row.dAverage))) << "average at " << i;
        EXPECT_EQ(RED, canvas.Pixel(x, m.Price(row.dAverage + row.dDeviation))) << "upper band at " << i;
        EXPECT_EQ(RED, canvas.Pixel(x, m.Price(row.dAverage - row.dDeviation))) << "lower band at " << i;
    }
}

TEST(ChartDrawing, VolumeBarsStandOnZeroAndABarPast32BitsReachesTheTop)
{
    CChartSeries series;
    series.m_settings.Set("ABC", "", 3, 2);
    const std::vector<HistoryRow> rows = Candles();
    series.FeedHistory(0, rows);
    CChartCanvas canvas(400, 150);
    CHistoricalVolumeChart chart;
    chart.SetMainSeries(&series.m_main);
    chart.m_nBarWidth = 1;
    chart.m_pYAxis->m_nMax = 5000;
    chart.SetRect(RECT{0, 0, 400, 150});
    chart.Draw(canvas.GetDC());
    const Mapping m(400, 150, 10, 10, 0, 5000);
    ASSERT_EQ(m.plot, CRect(chart.m_rcPlot));
    const int w = static_cast<int>(1 / m.dX) / 2;
    for (int i = 2; i < 8; ++i) {
        const int x = m.X(i), nLeft = x - w / 2 + 1, nRight = x - w / 2 + w - 1;
        const int yTop = m.Y(static_cast<int>(rows[static_cast<size_t>(i)].nVolume));
        for (int y = yTop; y < m.plot.bottom; ++y)
            for (int px = nLeft; px <= nRight; ++px)
                ASSERT_EQ(BLUE, canvas.Pixel(px, y)) << "bar " << i << " at " << px << "," << y;
        EXPECT_EQ(WHITE, canvas.Pixel(nLeft - 1, m.Y(500))) << i;
        EXPECT_EQ(WHITE, canvas.Pixel(nRight + 1, m.Y(1500))) << i;
        EXPECT_EQ(WHITE, canvas.Pixel(nLeft + 1, yTop - 1)) << i;
    }

    // An index trades 3,000,000,000 in five minutes: the bar fills the pane, not wrapped.
    CChartSeries today;
    today.m_settings.Set("ABC", "", 0, 0);
    today.FeedTrades(0, 10, {{36000, 10, 5}, {36060, 10, 3000000000LL}, {36400, 10, 1000000000LL}});
    CIntradayVolumeChart volume;
    volume.SetMainSeries(&today.m_main);
    volume.m_pYAxis->m_nMax = 2000000000;
    volume.SetRect(RECT{0, 0, 400, 150});
    canvas.Clear();
    volume.Draw(canvas.GetDC());
    const CChartAxis& x = *volume.m_pXAxis;
    const int nSlot = x.m_rcAxis.left + static_cast<int>((36150 - x.m_nMin) / x.m_dScale);
    const int nNext = x.m_rcAxis.left + static_cast<int>((36450 - x.m_nMin) / x.m_dScale);
    EXPECT_EQ(BLUE, canvas.Pixel(nSlot, volume.m_rcPlot.top));
    EXPECT_EQ(BLUE, canvas.Pixel(nSlot, volume.m_rcPlot.bottom - 1));
    EXPECT_EQ(WHITE, canvas.Pixel(nNext, volume.m_rcPlot.top + 10));
    EXPECT_EQ(BLUE, canvas.Pixel(nNext, (volume.m_rcPlot.top + volume.m_rcPlot.bottom) / 2 + 2));
    EXPECT_EQ(1000000000LL, volume.GetLastVolume());
}

// A comparison: both series as per cents from their first close, a dotted zero line (three
// dots, three gaps), no average whatever the option says.
TEST(ChartDrawing, ComparisonDrawsPerCentLinesOverADottedZeroLine)
{
    CChartSeries series;
    series.m_settings.Set("ABC", ".GSPC", 3, 2, /*nAverage=*/4);
    std::vector<HistoryRow> main = Candles(), compare = Candles();
    for (size_t i = 0; i < compare.size(); ++i)
        compare[i].dClose = 20 + 1.5 * static_cast<double>(i);
    series.FeedHistory(0, main);
    series.FeedHistory(1, compare);
    CChartCanvas canvas(400, 300);
    CHistoricalChart chart;
    chart.SetMainSeries(&series.m_main);
    chart.SetCompareSeries(&series.m_compare);
    chart.m_nBarWidth = 1;
    chart.m_pYAxis->m_nMin = -500;
    chart.m_pYAxis->m_nMax = 8000;
    chart.SetRect(RECT{0, 0, 400, 300});
    chart.Draw(canvas.GetDC());
    const Mapping m(400, 300, 20, 10, -500, 8000);
    ASSERT_EQ(m.plot, CRect(chart.m_rcPlot));
    for (int i = 1; i < 9; ++i) {
        const double dMain = (main[static_cast<size_t>(i)].dClose - main[0].dClose) / main[0].dClose * 100;
        const double dCompare = (compare[static_cast<size_t>(i)].dClose - compare[0].dClose) / compare[0].dClose * 100;
        EXPECT_EQ(BLUE, canvas.Pixel(m.X(i), m.Price(dMain))) << i;
        EXPECT_EQ(ORANGE, canvas.Pixel(m.X(i), m.Price(dCompare))) << i;
    }
    const int y0 = m.Y(0);
    for (int k = 3; m.plot.left + k < m.plot.right; ++k)
        ASSERT_EQ(k % 6 < 3 ? BLACK : WHITE, canvas.Pixel(m.plot.left + k, y0)) << "zero line at " << k;
    for (int y = m.plot.top; y < m.plot.bottom; ++y)
        for (int x = m.plot.left; x < m.plot.right; ++x)
            ASSERT_NE(RED, canvas.Pixel(x, y)) << x << "," << y;
}

// Five-minute bars from trades: the slot's first trade opens it, and the reference price is
// a red dotted line across the day.
TEST(ChartDrawing, IntradayBarsFromTradesAndTheReferenceLine)
{
    CChartSeries series;
    series.m_settings.Set("ABC", "", 0, 0);
    series.FeedTrades(0, 12.5, {{36000, 10.0, 1}, {36060, 10.6, 1}, {36120, 9.6, 1}, {36240, 10.2, 1}});
    CChartCanvas canvas(800, 300);
    CIntradayChart chart;
    chart.SetMainSeries(&series.m_main);
    chart.m_bBars = TRUE;
    chart.m_pYAxis->m_nMin = 900;
    chart.m_pYAxis->m_nMax = 1300;
    chart.SetRect(RECT{0, 0, 800, 300});
    chart.Draw(canvas.GetDC());
    // 37800 seconds of 300-second bars in the strip, whole pixels a bar.
    const int nBars = (64800 - 27000) / 300;
    const Mapping byBar(800, 300, 20, nBars, 900, 1300);
    ASSERT_EQ(byBar.plot, CRect(chart.m_rcPlot));
    auto X = [&byBar](int t) { return byBar.X(0) + static_cast<int>((t - 27000) / (byBar.dX * 300)); };
    const int x = X(36150);     // the bar of 10:00-10:05 stands at its middle
    const int w1 = static_cast<int>(1 / byBar.dX) / 2;
    const int w2 = std::max(1, w1 / 2);
    for (int y = byBar.Price(10.6); y <= byBar.Price(9.6); ++y)
        EXPECT_EQ(BLUE, canvas.Pixel(x - w2 / 2, y)) << y;
    EXPECT_EQ(WHITE, canvas.Pixel(x - w2 / 2 - 1, byBar.Price(9.7)));
    EXPECT_EQ(BLUE, canvas.Pixel(x - w1 + 1, byBar.Price(10.6)));   // opened by the 10:01 trade
    EXPECT_EQ(BLUE, canvas.Pixel(x + w1 - 1, byBar.Price(10.2)));
    EXPECT_EQ(BLUE, canvas.Pixel(X(35850) + 1, byBar.Price(10.0)));   // 09:55-10:00 ends with 10:00
    const int yRef = byBar.Price(12.5);
    for (int k = 0; byBar.plot.left + k < byBar.plot.right; ++k)
        ASSERT_EQ(k % 6 < 3 ? RED : WHITE, canvas.Pixel(byBar.plot.left + k, yRef)) << "reference at " << k;
}
