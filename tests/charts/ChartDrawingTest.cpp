// The charts' pixels for fixed series in fixed rectangles. Every expected coordinate is worked
// out here from the layout and mapping formulas (margin 7, value strip 40, time strip 20 or 10,
// no insets; pixel = trunc((value - min) / scale)), not through the charts' own mapping. The
// pictures go to build/screenshots.
#include <gtest/gtest.h>

#include <cmath>

#include "ChartDrawTestSupport.h"
#include "tests/market/dialogs/MarketDialogSupport.h"
#include "charts//HistoricalChart.h"
#include "charts/IntradayChart.h"

namespace {
const COLORREF WHITE = RGB(255, 255, 255), BLUE = RGB(0, 0, 255), ORANGE = RGB(255, 128, 0);
const COLORREF RED = RGB(255, 0, 0), BLACK = RGB(0, 0, 0), GRID = RGB(190, 190, 190);

// The plot and scales of a chart laid out in {0, nTop, cx, nBottom} over nBars bars, its
// horizontal strip narrowed to whole pixels a bar.
struct Mapping
{
    Mapping(int cx, int nTop, int nBottom, int nTimeStrip, int nBars, int nValueMin, int nValueMax)
        : nMin(nValueMin)
    {
        const int nPerBar = ((cx - 7) - (7 + 40)) / nBars;
        plot = CRect(47, nTop + 7, 47 + nPerBar * nBars, nBottom - 7 - nTimeStrip);
        dX = static_cast<double>(nBars) / plot.Width();
        dY = static_cast<double>(nValueMax - nValueMin) / plot.Height();
    }
    int X(double v) const { return plot.left + static_cast<int>(v / dX); }
    int Y(int v) const { return plot.bottom - static_cast<int>((v - nMin) / dY); }
    int Price(double d) const { return Y(static_cast<int>(std::lround(d * 100))); }
    bool IsGridRow(int y, int nStep) const
    {
        for (int v = nMin / nStep * nStep + nStep; Y(v) >= plot.top; v += nStep)
            if (Y(v) == y)
                return true;
        return false;
    }
    int nMin;
    CRect plot;
    double dX = 0, dY = 0;
};

std::vector<HistoryRow> Candles(const std::vector<int>& dates)
{
    std::vector<HistoryRow> rows;
    for (size_t i = 0; i < dates.size(); ++i) {
        const double dClose = 10 + 0.3 * static_cast<double>(i);
        rows.push_back({dates[i], dClose, 1000 + 300 * static_cast<long long>(i), dClose + 0.4, dClose - 0.4,
                        dClose - 0.2, dClose - 1.0, 0.3});
    }
    return rows;
}
}  // namespace

// Candles (body, open and close ticks, background just outside), the grid, the average and
// its bands in red; volume bars below standing on zero.
TEST(ChartDrawing, DailyCandlesAverageBandsGridAndVolume)
{
    CChartSeries series;
    series.Set("ABC", "", 3, 2, /*nAverage=*/4, /*bBands=*/TRUE);
    const std::vector<HistoryRow> rows = Candles(TradingDays(20240108, 10));
    series.FeedHistory(0, rows);
    CHistoricalChart price;
    CHistoricalVolumeChart volume;
    price.SetMainSeries(series.Main());
    volume.SetMainSeries(series.Main());
    price.m_bBars = TRUE;
    price.m_nBarWidth = volume.m_nBarWidth = 1;
    price.m_pYAxis->m_nMin = 800;
    price.m_pYAxis->m_nMax = 1600;
    volume.m_pYAxis->m_nMax = 5000;
    price.SetRect(RECT{0, 0, 400, 300});
    volume.SetRect(RECT{0, 300, 400, 450});
    CChartCanvas canvas(400, 450);
    canvas.Draw(price);
    canvas.Draw(volume);
    canvas.SavePng("chart_daily_bars_average.png");

    const Mapping m(400, 0, 300, 20, 10, 800, 1600), v(400, 300, 450, 10, 10, 0, 5000);
    ASSERT_EQ(m.plot, CRect(price.m_rcPlot));
    ASSERT_EQ(v.plot, CRect(volume.m_rcPlot));
    ASSERT_EQ(100, price.m_pYAxis->m_nStep);        // 20 pixels are 60 values: the next of 1, 2, 5
    const int w1 = static_cast<int>(1 / m.dX) / 2, w2 = w1 / 2;
    // The first day stands on the plot's left edge: its right half shows.
    EXPECT_EQ(BLUE, canvas.Pixel(m.plot.left + w2 / 2 - 1, m.Price(rows[0].dClose + 0.1)));
    EXPECT_EQ(BLUE, canvas.Pixel(m.plot.left + w1 - 1, m.Price(rows[0].dClose)));
    for (int i = 2; i < 8; ++i) {
        const HistoryRow& row = rows[static_cast<size_t>(i)];
        const int x = m.X(i), yOpen = m.Price(row.dOpen), yClose = m.Price(row.dClose);
        const int nLeft = x - w2 / 2, nRight = nLeft + w2 - 1;
        for (int y = m.Price(row.dHigh); y <= m.Price(row.dLow); ++y) {
            for (int px = nLeft; px <= nRight; ++px)
                ASSERT_EQ(BLUE, canvas.Pixel(px, y)) << "body of " << i << " at " << px << "," << y;
            const COLORREF crOut = m.IsGridRow(y, 100) ? GRID : WHITE;
            EXPECT_EQ(y == yOpen ? BLUE : crOut, canvas.Pixel(nLeft - 1, y)) << "left of " << i << " row " << y;
            EXPECT_EQ(y == yClose ? BLUE : crOut, canvas.Pixel(nRight + 1, y)) << "right of " << i << " row " << y;
        }
        // The ticks reach w1 pixels out, their ends left out.
        for (int k = 0; k < w1; ++k) {
            EXPECT_EQ(BLUE, canvas.Pixel(x - k, yOpen)) << "open tick of " << i;
            EXPECT_EQ(BLUE, canvas.Pixel(x + k, yClose)) << "close tick of " << i;
        }
        EXPECT_EQ(m.IsGridRow(yOpen, 100) ? GRID : WHITE, canvas.Pixel(x - w1, yOpen)) << "past the open tick " << i;
        EXPECT_EQ(m.IsGridRow(yClose, 100) ? GRID : WHITE, canvas.Pixel(x + w1, yClose)) << "past the close tick " << i;
        // The grid: a vertical line at every day, above the bar; rows at every 1.00.
        EXPECT_EQ(GRID, canvas.Pixel(x, m.Price(row.dHigh) - 1)) << i;
        EXPECT_EQ(GRID, canvas.Pixel(x + w1, m.Y(1500))) << i;
        EXPECT_EQ(WHITE, canvas.Pixel(x + w1, m.Y(1500) + 1)) << i;
        // The average and its dotted bands, each segment starting with a dot.
        for (double d : {row.dAverage, row.dAverage + row.dDeviation, row.dAverage - row.dDeviation})
            EXPECT_EQ(RED, canvas.Pixel(x, m.Price(d))) << "average " << d << " at " << i;
        // The volume bar: half a day wide, from its volume down to the plot's bottom.
        const int w = static_cast<int>(1 / v.dX) / 2, nBarLeft = x - w / 2 + 1, nBarRight = x - w / 2 + w - 1;
        const int yTop = v.Y(static_cast<int>(row.nVolume));
        for (int y = yTop; y < v.plot.bottom; ++y)
            for (int px = nBarLeft; px <= nBarRight; ++px)
                ASSERT_EQ(BLUE, canvas.Pixel(px, y)) << "volume " << i << " at " << px << "," << y;
        EXPECT_EQ(WHITE, canvas.Pixel(nBarLeft - 1, v.Y(500))) << i;
        EXPECT_EQ(WHITE, canvas.Pixel(nBarRight + 1, v.Y(1500))) << i;
        EXPECT_EQ(WHITE, canvas.Pixel(nBarLeft + 1, yTop - 1)) << i;
    }
}

// A weekly comparison: both series as per cents from their first close along the sequence,
// over a dotted zero line (three dots, three gaps), no average whatever the option says.
TEST(ChartDrawing, ComparisonDrawsPerCentLinesOverADottedZeroLine)
{
    CChartSeries series;
    series.Set("ABC", ".GSPC", 3, 3, /*nAverage=*/4);
    std::vector<int> mondays;
    for (CNorvDate date(20240101); mondays.size() < 10; date.AddDays(date.GetPacked() == 20240122 ? 14 : 7))
        mondays.push_back(date.GetPacked());
    std::vector<HistoryRow> main = Candles(mondays), compare = Candles(mondays);
    for (size_t i = 0; i < compare.size(); ++i)
        compare[i].dClose = 20 + 1.5 * static_cast<double>(i);
    series.FeedHistory(0, main);
    series.FeedHistory(1, compare);
    CHistoricalChart chart;
    chart.SetMainSeries(series.Main());
    chart.SetCompareSeries(series.Compare());
    chart.m_nBarWidth = 1;
    chart.m_pYAxis->m_nMin = -500;
    chart.m_pYAxis->m_nMax = 8000;
    chart.SetRect(RECT{0, 0, 400, 300});
    CChartCanvas canvas(400, 300);
    canvas.Draw(chart);
    canvas.SavePng("chart_weekly_comparison.png");
    const Mapping m(400, 0, 300, 20, 10, -500, 8000);
    ASSERT_EQ(m.plot, CRect(chart.m_rcPlot));
    for (size_t i = 1; i < 9; ++i) {
        const double dMain = (main[i].dClose - main[0].dClose) / main[0].dClose * 100;
        const double dCompare = (compare[i].dClose - compare[0].dClose) / compare[0].dClose * 100;
        EXPECT_EQ(BLUE, canvas.Pixel(m.X(static_cast<double>(i)), m.Price(dMain))) << i;
        EXPECT_EQ(ORANGE, canvas.Pixel(m.X(static_cast<double>(i)), m.Price(dCompare))) << i;
    }
    for (int k = 3; m.plot.left + k < m.plot.right; ++k)
        ASSERT_EQ(k % 6 < 3 ? BLACK : WHITE, canvas.Pixel(m.plot.left + k, m.Y(0))) << "zero line at " << k;
    for (int y = m.plot.top; y < m.plot.bottom; ++y)
        for (int x = m.plot.left; x < m.plot.right; ++x)
            ASSERT_NE(RED, canvas.Pixel(x, y)) << x << "," << y;
}

// Five-minute bars from trades and the reference price as a red dotted line; below, volume,
// where an index's 3,000,000,000 in five minutes fills the pane instead of wrapping.
TEST(ChartDrawing, IntradayBarsReferenceLineAndVolumePast32Bits)
{
    CChartSeries series;
    series.Set("ABC", "", 0, 0);
    series.FeedTrades(0, 12.5, {{36000, 10.0, 5}, {36060, 10.6, 3000000000LL}, {36120, 9.6, 1}, {36240, 10.2, 1},
                                {36400, 10.1, 1000000000LL}});
    CIntradayChart price;
    CIntradayVolumeChart volume;
    price.SetMainSeries(series.Main());
    volume.SetMainSeries(series.Main());
    price.m_bBars = TRUE;
    price.m_pYAxis->m_nMin = 900;
    price.m_pYAxis->m_nMax = 1300;
    volume.m_pYAxis->m_nMax = 2000000000;
    price.SetRect(RECT{0, 0, 800, 300});
    volume.SetRect(RECT{0, 300, 800, 450});
    CChartCanvas canvas(800, 450);
    canvas.Draw(price);
    canvas.Draw(volume);
    canvas.SavePng("chart_intraday_bars_volume.png");
    const Mapping m(800, 0, 300, 20, 126, 900, 1300), v(800, 300, 450, 10, 126, 0, 2000000000);
    ASSERT_EQ(m.plot, CRect(price.m_rcPlot));
    auto X = [&m](int t) { return m.X((t - 27000) / 300.0); };
    const int x = X(36150), w1 = static_cast<int>(1 / m.dX) / 2, w2 = std::max(1, w1 / 2);
    for (int y = m.Price(10.6); y <= m.Price(9.6); ++y)
        EXPECT_EQ(BLUE, canvas.Pixel(x - w2 / 2, y)) << y;
    EXPECT_EQ(WHITE, canvas.Pixel(x - w2 / 2 - 1, m.Price(9.7)));
    EXPECT_EQ(BLUE, canvas.Pixel(x - w1 + 1, m.Price(10.6)));       // opened by 10:01
    EXPECT_EQ(BLUE, canvas.Pixel(x + w1 - 1, m.Price(10.2)));
    EXPECT_EQ(BLUE, canvas.Pixel(X(35850) + 1, m.Price(10.0)));     // 09:55-10:00 ends with 10:00
    for (int k = 0; m.plot.left + k < m.plot.right; ++k)
        ASSERT_EQ(k % 6 < 3 ? RED : WHITE, canvas.Pixel(m.plot.left + k, m.Price(12.5))) << "reference at " << k;
    EXPECT_EQ(BLUE, canvas.Pixel(x, v.plot.top));
    EXPECT_EQ(BLUE, canvas.Pixel(x, v.plot.bottom - 1));
    EXPECT_EQ(WHITE, canvas.Pixel(X(36450), v.Y(1100000000)));
    EXPECT_EQ(BLUE, canvas.Pixel(X(36450), v.Y(900000000)));
    EXPECT_EQ(1000000000LL, volume.GetLastVolume());
}

// A live quote inside the axes: its bar drawn again on the painted chart changes no pixel
// outside the slot's rectangle and leaves the chart as a full repaint draws it.
TEST(ChartDrawing, ALiveQuoteRedrawsItsBarAsAFullRepaintWould)
{
    static const struct { BOOL bVolume, bBars; } rows[] = {{FALSE, TRUE}, {FALSE, FALSE}, {TRUE, FALSE}};
    for (const auto& row : rows) {
        CChartSeries series;
        series.Set("ABC", "", 0, 0);
        std::vector<TradeRow> trades;
        for (int t = 34260; t <= 36120; t += 60)
            trades.push_back({t, 10 + (t % 600) / 1000.0, 400});
        series.FeedTrades(0, 10.2, trades);
        CIntradayChart price;
        CIntradayVolumeChart volume;
        CZorvatChart& chart = row.bVolume ? static_cast<CZorvatChart&>(volume) : price;
        chart.SetMainSeries(series.Main());
        chart.m_bBars = row.bBars;
        chart.m_pYAxis->m_nMin = row.bVolume ? 0 : 900;
        chart.m_pYAxis->m_nMax = row.bVolume ? 5000 : 1300;
        chart.SetRect(RECT{0, 0, 800, 300});
        CChartCanvas shown(800, 300), repainted(800, 300);
        shown.Draw(chart);
        std::vector<COLORREF> before;
        for (int i = 0; i < 800 * 300; ++i)
            before.push_back(shown.Pixel(i % 800, i / 800));
        FireDialogLine(series.m_source, "$GS|1|XC||ABC|0|0|10.45|||100430|||5000");
        FireDialogLine(series.m_source, "$GS|1|XC||ABC|0|0|10.05|||100450|||5900");
        ASSERT_EQ(36290, series.Main()->GetTail()->m_nTime);
        chart.RedrawBar(shown.GetDC(), 36290);
        repainted.Draw(chart);
        if (!row.bVolume && !row.bBars)
            repainted.SavePng("chart_intraday_line.png");
        const CChartAxis& x = *chart.m_pXAxis;
        const CRect rcSlot(x.m_rcAxis.left + static_cast<int>((36000 - x.m_nMin) / x.m_dScale) - 1, chart.m_rcPlot.top,
                           x.m_rcAxis.left + static_cast<int>((36300 - x.m_nMin) / x.m_dScale) + 1, chart.m_rcPlot.bottom);
        int nChanged = 0;
        for (int i = 0; i < 800 * 300; ++i) {
            const CPoint pt(i % 800, i / 800);
            ASSERT_EQ(repainted.Pixel(pt.x, pt.y), shown.Pixel(pt.x, pt.y)) << pt.x << "," << pt.y << " bars " << row.bBars;
            if (shown.Pixel(pt.x, pt.y) != before[static_cast<size_t>(i)]) {
                ++nChanged;
                ASSERT_TRUE(rcSlot.PtInRect(pt)) << pt.x << "," << pt.y << " outside the slot, bars " << row.bBars;
            }
        }
        EXPECT_LT(0, nChanged) << "volume " << row.bVolume << " bars " << row.bBars;
    }
}
