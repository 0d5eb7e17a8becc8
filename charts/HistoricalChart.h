#pragma once
// The daily, weekly and monthly charts: price (CHistoricalChart) and volume
// (CHistoricalVolumeChart) of a series whose x is the point's position in the reply, labelled
// with calendar dates from the series' start date.
#include "charts/ZorvatChart.h"

class CHistoricalChart : public CZorvatChart, public CChartAxisDescr
{
public:
    CHistoricalChart() : CHistoricalChart(CHARTKIND_HISTORICAL) {}

    // The range of both series in sequence numbers, fitted to whole-pixel bars. The previous
    // layout stays until the series it needs are complete.
    void SetRect(RECT rc) override;
    BOOL CanDraw() override;
    CString GetReadout(CPoint pt) override;
    void DrawBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr) override;
    void DrawVolumeBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr) override;
    // Dates on the horizontal axis (by period), prices or per cents on the value axis.
    CString Describe(int nValue, BOOL bVertical) override;

protected:
    explicit CHistoricalChart(ChartKind kind);
};

class CHistoricalVolumeChart : public CHistoricalChart
{
public:
    CHistoricalVolumeChart() : CHistoricalChart(CHARTKIND_HISTORICAL_VOLUME) {}
    // Thousands, or millions when the step is a whole number of millions.
    void UpdateValueStep() override;
};
