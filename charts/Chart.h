#pragma once
// The drawing base of every chart: a rectangle divided into the plot area and two axis strips
// (the value axis on the left, the horizontal axis at the bottom), the mapping of axis values to
// pixels, and the painting of the strips; the data is the derived chart's (DrawData).
#include "charts/ChartAxis.h"
#include "platform/mfc/DC.h"
#include "platform/mfc/Rect.h"

class CChart
{
public:
    CChart();
    virtual ~CChart();
    CChart(const CChart&) = delete;
    CChart& operator=(const CChart&) = delete;

    // The pixel of the axis values (x, y); valid after SetRect.
    virtual void GetPoint(CPoint* pOut, int x, int y);
    // Lays the chart out in the rectangle and recomputes both axis scales.
    virtual void SetRect(RECT rc);
    // A plot of at least 100 x 100 pixels; the kinds accept any plot that is not empty.
    virtual BOOL CanDraw();
    virtual void Draw(CDC* pDC);
    // The data over the strips; nothing here.
    virtual void DrawData(CDC* pDC);

    CChartAxis* GetXAxis() const { return m_pXAxis; }
    CChartAxis* GetYAxis() const { return m_pYAxis; }
    const RECT& GetChartRect() const { return m_rcChart; }
    const RECT& GetPlotRect() const { return m_rcPlot; }

    COLORREF m_crBackground = RGB(255, 255, 255);
    CChartAxis* m_pXAxis;                       // owned
    CChartAxis* m_pYAxis;                       // owned
    RECT m_rcChart = {0, 0, 0, 0};              // the given rectangle less the margin
    RECT m_rcPlot = {0, 0, 0, 0};               // m_rcChart less the two strips
    int m_nMargin = 4;
};
