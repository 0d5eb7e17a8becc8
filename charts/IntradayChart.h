#pragma once
// Today's trading against the clock: price (CIntradayChart) and volume (CIntradayVolumeChart)
// over the market's hours with two hours either side, one bar per five or fifteen minutes.
#include "charts/ZorvatChart.h"

class CIntradayChart : public CZorvatChart, public CChartAxisDescr
{
public:
    CIntradayChart() : CIntradayChart(CHARTKIND_INTRADAY) {}

    void SetRect(RECT rc) override;
    BOOL CanDraw() override;
    CString GetReadout(CPoint pt) override;
    // Times of day ("09:30") on the horizontal axis, prices or per cents on the value axis.
    CString Describe(int nValue, BOOL bVertical) override;

protected:
    explicit CIntradayChart(ChartKind kind);
};

class CIntradayVolumeChart : public CIntradayChart
{
public:
    CIntradayVolumeChart() : CIntradayChart(CHARTKIND_INTRADAY_VOLUME) {}
};
