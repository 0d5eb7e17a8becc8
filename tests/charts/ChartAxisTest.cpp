// The chart base and its axes: layout, mapping, labels, and the ticks as painted, the expected
// pixels worked out here from the axis formulas.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "ChartDrawTestSupport.h"

namespace {
const COLORREF NAVY = RGB(0, 0, 128), RED = RGB(255, 0, 0), GREEN = RGB(0, 255, 0);

std::vector<int> ColumnsOf(const CChartCanvas& canvas, const RECT& rc, int y, COLORREF cr)
{
    std::vector<int> columns;
    for (int x = rc.left; x < rc.right; ++x)
        if (canvas.Pixel(x, y) == cr)
            columns.push_back(x);
    return columns;
}
}  // namespace

TEST(ChartAxis, LaysOutMapsAndLabels)
{
    CChart chart;
    chart.SetRect(RECT{0, 0, 300, 300});
    EXPECT_EQ(CRect(4, 4, 296, 296), CRect(chart.m_rcChart));
    EXPECT_EQ(CRect(54, 4, 296, 246), CRect(chart.m_rcPlot));
    EXPECT_EQ(CRect(4, 4, 54, 246), CRect(chart.m_pYAxis->m_rcAxis));
    EXPECT_EQ(CRect(54, 246, 296, 296), CRect(chart.m_pXAxis->m_rcAxis));
    // 0..1000 over 220 pixels less two insets of 10: 5 values a pixel, either way up.
    CChartAxis horizontal(FALSE, 50), vertical(TRUE, 50);
    const RECT rcH = {30, 0, 250, 50}, rcV = {0, 30, 50, 250};
    horizontal.SetRect(&rcH);
    vertical.SetRect(&rcV);
    EXPECT_DOUBLE_EQ(5.0, horizontal.m_dScale);
    EXPECT_EQ(std::vector<int>({10, 210, 57, 210, 10}),
              std::vector<int>({horizontal.ValueToPixel(0), horizontal.ValueToPixel(1000), horizontal.ValueToPixel(239),
                                vertical.ValueToPixel(0), vertical.ValueToPixel(1000)}));
    EXPECT_EQ(1000, horizontal.PixelToValue(210));
    EXPECT_EQ(235, horizontal.PixelToValue(57));
    EXPECT_EQ(420, horizontal.GetLength(2.5));
    static const struct { int nExponent, nValue; const char* pszText; } labels[] = {
        {-2, 12345, "123.45"}, {0, 12345, "12345"}, {3, 12345, "12"}, {6, 12345, "0"}, {-2, -5, "-0.05"}};
    for (const auto& row : labels) {
        CString strText;
        vertical.SetExponent(row.nExponent);
        vertical.GetLabel(row.nValue, strText);
        EXPECT_STREQ(row.pszText, strText) << row.nValue << " e" << row.nExponent;
    }
}

// The major step doubles from 10 until two ticks are 16 pixels apart; the minor step starts at
// the divisor, goes down to a divisor of the major step, then up to one 4 pixels wide, and
// shows only below the configured step. Ticks hang from the strip's top edge, which they leave
// out: 7 pixels major, 4 minor. An axis without a usable scale paints its strip bare.
TEST(ChartAxis, DrawsTicksWhereTheyFitAndABareStripWithoutScale)
{
    static const struct { int nMin, nMax, nPixels, nStep, nDivisor, nMajor, nMinor; } rows[] = {
        {0, 1000, 500, 10, 5, 40, 8},       // 5, 10 pixels too close; minor 2.5 pixels -> 8 values
        {0, 500, 400, 10, 5, 20, 5},        // 20 values are exactly 16 pixels
        {0, 100, 200, 10, 10, 10, 0},       // the minor step would equal the step
        {-25, 100, 500, 10, 5, 10, 5},      // the first tick is -20: the first multiple not below -25
        {500, 500, 500, 10, 5, 0, 0},       // empty range
        {1000, 0, 500, 10, 5, 0, 0},        // reversed
        {0, 1000, 0, 10, 5, 0, 0},          // no longer than the two insets
        {0, 1000, -8, 10, 5, 0, 0},
        {0, 1000, 500, 0, 5, 0, 0},         // a step that would never grow
        {0, 1000, 500, -10, 5, 0, 0},
    };
    CChartCanvas canvas(600, 100);
    for (const auto& row : rows) {
        canvas.Clear();
        CChartAxis axis(FALSE, 50);
        axis.m_crMajorTick = RED;
        axis.m_crMinorTick = GREEN;
        axis.m_nMin = row.nMin;
        axis.m_nMax = row.nMax;
        axis.m_nStep = row.nStep;
        axis.m_nMinorDivisor = row.nDivisor;
        const RECT rc = {20, 10, 20 + row.nPixels + 20, 60};
        axis.SetRect(&rc);
        axis.Draw(canvas.GetDC());
        auto columns = [&row, &rc](int nStep) {
            std::vector<int> result;
            const double dScale = static_cast<double>(row.nMax - row.nMin) / row.nPixels;
            for (int v = static_cast<int>(std::ceil(row.nMin / double(nStep))) * nStep; nStep > 0 && v <= row.nMax;
                 v += nStep)
                result.push_back(rc.left + 10 + static_cast<int>((v - row.nMin) / dScale));
            return result;
        };
        const std::string strRow = std::to_string(row.nMin) + ".." + std::to_string(row.nMax) + " on " +
                                   std::to_string(row.nPixels) + " step " + std::to_string(row.nStep);
        EXPECT_EQ(columns(row.nMajor), ColumnsOf(canvas, rc, rc.top + 7, RED)) << strRow;
        EXPECT_EQ(columns(row.nMajor), ColumnsOf(canvas, rc, rc.top + 5, RED)) << strRow;
        EXPECT_EQ(columns(row.nMinor), ColumnsOf(canvas, rc, rc.top + 4, GREEN)) << strRow;
        for (int y : {rc.top, rc.top + 8, rc.bottom - 1})
            EXPECT_EQ(std::vector<int>(), ColumnsOf(canvas, rc, y, RED)) << strRow << " row " << y;
        EXPECT_EQ(row.nPixels + 20, static_cast<int>(ColumnsOf(canvas, rc, rc.bottom - 1, NAVY).size())) << strRow;
        if (row.nMajor == 0 && row.nStep > 0) {
            EXPECT_EQ(10, axis.ValueToPixel(row.nMax)) << strRow;
        }
    }
    // A range of nearly 2^32 on a strip of two pixels: the step stops doubling at the range.
    CChartAxis axis(TRUE, 50);
    axis.m_nMin = INT_MIN / 2;
    axis.m_nMax = INT_MAX / 2;
    axis.m_nStep = 1;
    const RECT rc = {20, 10, 70, 32};
    axis.SetRect(&rc);
    axis.Draw(canvas.GetDC());
    EXPECT_GT(axis.m_dScale, 1e8);
}
