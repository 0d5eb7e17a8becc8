// The chart base and its axes: layout, the value-to-pixel mapping, labels, and the ticks as
// painted, with the expected pixels worked out here from the axis formulas.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "ChartDrawTestSupport.h"
#include "charts/Chart.h"

namespace {
const COLORREF NAVY = RGB(0, 0, 128);
const COLORREF RED = RGB(255, 0, 0);
const COLORREF GREEN = RGB(0, 255, 0);

// Columns of the strip whose pixel in row y has the colour.
std::vector<int> ColumnsOf(const CChartCanvas& canvas, const RECT& rc, int y, COLORREF cr)
{
    std::vector<int> columns;
    for (int x = rc.left; x < rc.right; ++x)
        if (canvas.Pixel(x, y) == cr)
            columns.push_back(x);
    return columns;
}
}  // namespace

TEST(ChartLayout, SplitsTheRectangleAndMapsValuesToPixels)
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
    EXPECT_EQ(10, horizontal.ValueToPixel(0));
    EXPECT_EQ(210, horizontal.ValueToPixel(1000));
    EXPECT_EQ(57, horizontal.ValueToPixel(239));
    EXPECT_EQ(210, vertical.ValueToPixel(0));
    EXPECT_EQ(10, vertical.ValueToPixel(1000));
    EXPECT_EQ(1000, horizontal.PixelToValue(210));
    EXPECT_EQ(235, horizontal.PixelToValue(57));
    EXPECT_EQ(220, horizontal.GetLength(5.0));
    EXPECT_EQ(420, horizontal.GetLength(2.5));
}

TEST(ChartAxis, FormatsLabelsWithTheDecimalExponent)
{
    static const struct { int nExponent; int nValue; const char* pszText; } rows[] = {
        {-2, 12345, "123.45"}, {0, 12345, "12345"}, {3, 12345, "12"}, {6, 12345, "0"},
        {-2, -5, "-0.05"}, {3, 3000000, "3000"}, {6, 2000000000, "2000"}};
    CChartAxis axis(TRUE, 50);
    for (const auto& row : rows) {
        axis.SetExponent(row.nExponent);
        CString strText;
        axis.GetLabel(row.nValue, strText);
        EXPECT_STREQ(row.pszText, strText) << row.nValue << " e" << row.nExponent;
    }
}

// The major step doubles from 10 until two labels are 16 pixels apart; the minor step starts
// at the divisor, goes down to a divisor of the major step, then up to one 4 pixels wide, and
// shows only below the configured step. Ticks hang from the strip's top edge, which they
// leave out: 7 pixels major, 4 minor.
TEST(ChartAxis, DoublesTheMajorStepUntilLabelsFitAndDrawsMinorTicksBetween)
{
    static const struct { int nMin, nMax, nPixels, nDivisor, nMajor, nMinor; } rows[] = {
        {0, 1000, 500, 5, 40, 8},       // 5, 10 pixels too close; minor 2.5 pixels -> 8 values
        {0, 500, 400, 5, 20, 5},        // 20 values are exactly 16 pixels; minor 4 pixels
        {0, 100, 200, 10, 10, 0},       // the minor step would equal the step: none
        {-25, 100, 500, 5, 10, 5},      // the first tick is -20, the first multiple not below -25
    };
    CChartCanvas canvas(600, 200);
    for (const auto& row : rows) {
        canvas.Clear();
        CChartAxis axis(FALSE, 50);
        axis.m_crMajorTick = RED;
        axis.m_crMinorTick = GREEN;
        axis.m_nMin = row.nMin;
        axis.m_nMax = row.nMax;
        axis.m_nMinorDivisor = row.nDivisor;
        const RECT rc = {20, 10, 20 + row.nPixels + 20, 60};
        axis.SetRect(&rc);
        axis.Draw(canvas.GetDC());
        const double dScale = static_cast<double>(row.nMax - row.nMin) / row.nPixels;
        auto columns = [&](int nStep) {
            std::vector<int> result;
            if (nStep <= 0)
                return result;
            const int nFirst = static_cast<int>(std::ceil(static_cast<double>(row.nMin) / nStep)) * nStep;
            for (int v = nFirst; v <= row.nMax; v += nStep)
                result.push_back(rc.left + 10 + static_cast<int>((v - row.nMin) / dScale));
            return result;
        };
        const std::string strRow = std::to_string(row.nMin) + ".." + std::to_string(row.nMax);
        EXPECT_EQ(columns(row.nMajor), ColumnsOf(canvas, rc, rc.top + 7, RED)) << strRow;
        EXPECT_EQ(columns(row.nMajor), ColumnsOf(canvas, rc, rc.top + 5, RED)) << strRow;
        EXPECT_EQ(columns(row.nMinor), ColumnsOf(canvas, rc, rc.top + 4, GREEN)) << strRow;
        EXPECT_TRUE(ColumnsOf(canvas, rc, rc.top + 8, RED).empty()) << strRow;
        EXPECT_TRUE(ColumnsOf(canvas, rc, rc.top + 5, GREEN).empty()) << strRow;
        EXPECT_EQ(NAVY, canvas.Pixel(rc.left + 10, rc.top)) << strRow;
        EXPECT_EQ(NAVY, canvas.Pixel(rc.right - 1, rc.bottom - 1)) << strRow;
        EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(rc.right, rc.top + 5)) << strRow;
    }
}

// Without a usable scale nothing is divided by zero and the step is not doubled for ever:
// the strip is painted in its colour, bare.
TEST(ChartAxis, AnEmptyRangeOrAShortStripPaintsTheStripWithoutTicks)
{
    static const struct { int nMin, nMax, nLength, nStep; } rows[] = {
        {500, 500, 520, 10},        // empty range
        {1000, 0, 520, 10},         // reversed range
        {0, 1000, 20, 10},          // no longer than the two insets
        {0, 1000, 12, 10},          // shorter than them
        {0, 1000, 520, 0},          // a step that never grows
        {0, 1000, 520, -10},
    };
    CChartCanvas canvas(600, 100);
    for (const auto& row : rows) {
        canvas.Clear();
        CChartAxis axis(FALSE, 50);
        axis.m_crMajorTick = axis.m_crMinorTick = RED;
        axis.m_nMin = row.nMin;
        axis.m_nMax = row.nMax;
        axis.m_nStep = row.nStep;
        const RECT rc = {20, 10, 20 + row.nLength, 60};
        axis.SetRect(&rc);
        axis.Draw(canvas.GetDC());
        int nTickPixels = 0, nBackPixels = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) {
                nTickPixels += canvas.Pixel(x, y) == RED;
                nBackPixels += canvas.Pixel(x, y) == NAVY;
            }
        EXPECT_EQ(0, nTickPixels) << row.nMin << ".." << row.nMax << " on " << row.nLength;
        EXPECT_LT(row.nLength * 50 / 2, nBackPixels) << row.nMin << ".." << row.nMax << " on " << row.nLength;
        if (!axis.HasScale()) {
            EXPECT_EQ(10, axis.ValueToPixel(row.nMax)) << row.nMin << ".." << row.nMax << " on " << row.nLength;
        }
    }
    // A range of nearly 2^32 on a strip of two pixels: the step stops doubling at the range.
    CChartAxis axis(TRUE, 50);
    axis.m_nMin = INT_MIN / 2;
    axis.m_nMax = INT_MAX / 2;
    axis.m_nStep = 1;
    axis.m_crMajorTick = RED;
    const RECT rc = {20, 10, 70, 32};
    axis.SetRect(&rc);
    axis.Draw(canvas.GetDC());
    EXPECT_GT(axis.m_dScale, 1e8);
}
