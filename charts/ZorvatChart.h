#pragma once
// The product chart on the chart base: binds a chart to the main and comparison series, reads
// the options through the series' settings and paints the plot: frame, grid, reference lines,
// the price as a line, as open-high-low-close bars or as per-cent lines, volume bars, and the
// moving average with its deviation bands. The four kinds (HistoricalChart.h, IntradayChart.h)
// complete it; each is set up from its row of one table of kinds (ApplyKind).
#include <cstdint>

#include "charts/Chart.h"

struct CChartPoint;
class CZorvatChartDataHolder;
class CZorvatChartSettings;

// The rows of the kinds' table (ZorvatChart.cpp).
enum ChartKind { CHARTKIND_HISTORICAL, CHARTKIND_HISTORICAL_VOLUME, CHARTKIND_INTRADAY, CHARTKIND_INTRADAY_VOLUME };

class CZorvatChart : public CChart
{
public:
    CZorvatChart();

    // Series, not owned; the view binds them right after construction.
    virtual CZorvatChartDataHolder* GetMainSeries() { return m_pMainSeries; }
    virtual CZorvatChartDataHolder* GetCompareSeries() { return m_pCompareSeries; }
    virtual void SetMainSeries(CZorvatChartDataHolder* pSeries) { m_pMainSeries = pSeries; }
    virtual void SetCompareSeries(CZorvatChartDataHolder* pSeries) { m_pCompareSeries = pSeries; }
    virtual COLORREF GetMainColor() { return m_crMain; }
    virtual COLORREF GetCompareColor() { return m_crCompare; }
    virtual COLORREF GetAverageColor() { return m_crAverage; }
    virtual COLORREF GetGridColor() { return m_crGrid; }
    // The volume of the newest intraday volume bar the last paint drew.
    virtual int64_t GetLastVolume() { return m_nLastVolume; }
    // The values under a point of the plot, for the title while the mouse button is held;
    // empty when there is nothing to show.
    virtual CString GetReadout(CPoint pt) = 0;

    // Paints the data again over the bar slot of x (a live update); a bar chart clears the slot
    // first, inside a saved DC state.
    virtual void RedrawBar(CDC* pDC, int x);
    void DrawData(CDC* pDC) override;
    virtual void DrawLine(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr);
    virtual void DrawBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr);
    virtual void DrawVolumeBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr);
    virtual void DrawPercentLine(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr);
    virtual void DrawAverage(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr);
    // The last drawing marked a line too narrow to read with a dash at its last price, which a
    // live redraw over the old picture would leave behind.
    BOOL HasMark() const { return m_bMarkDrawn; }
    // The value axis's major step: at least 20 pixels apart, in steps of 1, 2 and 5.
    virtual void UpdateValueStep();

    // The pixel of horizontal value x and price (or per cent) dValue, placed at trunc(dValue x 100).
    void GetValuePoint(CPoint* pOut, int x, double dValue);
    // The pixel of horizontal value x and a volume. Volumes are 64-bit; the axis holds them in
    // its unit (GetUnit), and one beyond the axis stands at its top instead of wrapping.
    void GetVolumePoint(CPoint* pOut, int x, int64_t nVolume);
    // The largest volume the value axis holds, in shares.
    int64_t GetVolumeTop() const;

    BOOL m_bBars = FALSE;                       // open-high-low-close bars instead of a line
    int m_nBarWidth = 300;                      // horizontal values per bar: 300 or 900 s, or 1 slot
    CZorvatChartDataHolder* m_pMainSeries = nullptr;
    CZorvatChartDataHolder* m_pCompareSeries = nullptr;
    BOOL m_bVolume = FALSE;
    COLORREF m_crMain = RGB(0, 0, 255);
    COLORREF m_crCompare = RGB(255, 128, 0);
    COLORREF m_crAverage = RGB(255, 0, 0);
    COLORREF m_crGrid = RGB(190, 190, 190);
    int64_t m_nLastVolume = 0;
    BOOL m_bMarkDrawn = FALSE;

protected:
    // Sets the axes as the kind's row of the table says; the kinds' constructors call it.
    void ApplyKind(ChartKind kind);
    CZorvatChartSettings* GetSettings();
    // A series the drawing may read: present, complete and with data (HasData).
    static BOOL IsDrawable(CZorvatChartDataHolder* pSeries);
    // Both pens of a bar: tick length and body width, from the pixels per bar.
    void GetBarSizes(int* pTick, int* pBody) const;
    void DrawBar(CDC* pDC, int x, double dOpen, double dHigh, double dLow, double dClose, int nTick, int nBody);
    void FillVolumeBar(CDC* pDC, int x, int64_t nVolume, int nWidth, COLORREF cr);
    // Bar fit: whole pixels per bar, or the oldest bars scrolled off at 4 pixels per bar. nLast
    // is the x of the newest point; the data minimum when there is none.
    void FitBars(RECT rc, int nLast);
    // What the kinds' readouts share: on a comparison both closes, on a line chart the close,
    // of the first point at or after v (the last point when none); x is m_nTime when bTime,
    // else m_nSeq. FALSE, leaving the text, on a bar or volume chart.
    BOOL GetLineReadout(int v, BOOL bTime, CString& strText);
    // The value axis's label; per cents on a price chart with a comparison.
    CString DescribeValue(int nValue);
    // The main series' readiness for a readout at pt: drawable and pt inside the plot.
    BOOL CanReadOut(CPoint pt);
    enum LineValue { LINE_CLOSE, LINE_PERCENT, LINE_AVERAGE, LINE_UPPER_BAND, LINE_LOWER_BAND };
    // One line through the series along m_nSeq, in the pen selected: from the first point,
    // whether visible or not, through the points of the visible range.
    void WalkLine(CDC* pDC, CZorvatChartDataHolder* pSeries, LineValue value);
    // The walk in a solid pen of one pixel; FALSE, and nothing drawn, for a series not drawable.
    BOOL StrokeLine(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr, LineValue value);
};

// What a US series' intraday times move by to stand on the intraday axis: the server writes
// Kuwait time, the axis runs on New York time, so this is the shift from the session times of
// "MT" to their New York forms, in seconds modulo a day (-28800 or -25200, or the same plus a day
// when New York's session time falls on the day before). 0 while those times are not
// known: the default axis then takes the times as they come.
int IntradayClockShift();
// A line narrower than this, in pixels across, is marked with a dash at its last price.
const int LINE_MIN_SPAN = 2;
// The value axis's strip as made; the view widens it where a label needs more.
const int VALUE_AXIS_THICKNESS = 40;
// The seconds of the day an intraday axis spans: the session of "MT" in New York time, two hours
// either side, or 07:30 to 18:00 while those times are not known.
void GetIntradayRange(int* pnFirst, int* pnLast);
// The session of "MT" in New York time as seconds of the day; the close -1 while not known.
void GetSessionHours(int* pnOpen, int* pnClose);

// A price or a per cent as the value axis holds it: hundredths, rounded to the nearest, so that a
// price quoted on the cent (8.20, whose double lies just below) is the cent quoted.
int ValueCents(double dValue);
