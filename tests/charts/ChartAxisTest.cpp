// The chart base and its axes: layout, the value-to-pixel mapping, labels, and the ticks as
// painted, with the expected pixels worked out here from the axis formulas.
#include <gtest/gtest.h>

#include <climits>

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

// 0..1000 at 5 pixels per 10 values: 10, 20 are closer than 16 pixels, so the major step
// doubles to 40 (20 pixels); the minor divisor 5 (2.5 pixels) rises to 8 (4 pixels).
TEST(ChartAxis, DoublesTheMajorStepUntilLabelsFitAndDrawsMinorTicksBetween)
{
    CChartCanvas canvas(600, 200);
    CChartAxis axis(FALSE, 50);
    axis.m_crMajorTick = RED;
    axis.m_crMinorTick = GREEN;
    const RECT rc = {20, 10, 540, 60};
    axis.SetRect(&rc);
    axis.Draw(canvas.GetDC());
    std::vector<int> major, minor;
    for (int v = 0; v <= 1000; v += 8)
        minor.push_back(rc.left + 10 + v / 2);
    for (int v = 0; v <= 1000; v += 40)
        major.push_back(rc.left + 10 + v / 2);
    // Ticks hang from the strip's top edge, which they leave out: 7 pixels major, 4 minor.
    EXPECT_EQ(major, ColumnsOf(canvas, rc, rc.top + 7, RED));
    EXPECT_EQ(major, ColumnsOf(canvas, rc, rc.top + 5, RED));
    EXPECT_EQ(minor, ColumnsOf(canvas, rc, rc.top + 4, GREEN));
    EXPECT_TRUE(ColumnsOf(canvas, rc, rc.top + 8, RED).empty());
    EXPECT_TRUE(ColumnsOf(canvas, rc, rc.top + 5, GREEN).empty());
    EXPECT_EQ(NAVY, canvas.Pixel(rc.left + 10, rc.top));
    EXPECT_EQ(NAVY, canvas.Pixel(rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(rc.right, rc.top + 5));

    // The first tick is the first multiple of the step not below the minimum: -20 of -25..100.
    canvas.Clear();
    axis.m_nMin = -25;
    axis.m_nMax = 100;
    axis.m_bMinorTicks = FALSE;
    axis.SetRect(&rc);          // 4 pixels a value: every step of 10 has room
    axis.Draw(canvas.GetDC());
    major.clear();
    for (int v = -20; v <= 100; v += 10)
        major.push_back(rc.left + 10 + (v + 25) * 4);
    EXPECT_EQ(major, ColumnsOf(canvas, rc, rc.top + 6, RED));
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
