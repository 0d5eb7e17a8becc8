#include "charts/Chart.h"

CChart::CChart() : m_pXAxis(new CChartAxis(FALSE, 50)), m_pYAxis(new CChartAxis(TRUE, 50)) {}

CChart::~CChart()
{
    delete m_pXAxis;
    delete m_pYAxis;
}

void CChart::GetPoint(CPoint* pOut, int x, int y)
{
    pOut->x = m_pXAxis->ValueToPixel(x) + m_rcPlot.left;
    pOut->y = m_pYAxis->ValueToPixel(y) + m_rcPlot.top;
}

void CChart::SetRect(RECT rc)
{
    m_rcChart = {rc.left + m_nMargin, rc.top + m_nMargin, rc.right - m_nMargin, rc.bottom - m_nMargin};
    m_rcPlot = m_rcChart;
    m_rcPlot.left += m_pYAxis->m_nThickness;
    m_rcPlot.bottom -= m_pXAxis->m_nThickness;
    // The bottom-left square between the strips belongs to neither axis.
    const RECT rcY = {m_rcChart.left, m_rcChart.top, m_rcChart.left + m_pYAxis->m_nThickness,
                      m_rcChart.bottom - m_pXAxis->m_nThickness};
    const RECT rcX = {m_rcChart.left + m_pYAxis->m_nThickness, m_rcChart.bottom - m_pXAxis->m_nThickness,
                      m_rcChart.right, m_rcChart.bottom};
    m_pYAxis->SetRect(&rcY);
    m_pXAxis->SetRect(&rcX);
    m_pXAxis->m_nLabelRight = rc.right;
}

BOOL CChart::CanDraw()
{
    return m_rcPlot.right - m_rcPlot.left >= 100 && m_rcPlot.bottom - m_rcPlot.top >= 100;
}

void CChart::Draw(CDC* pDC)
{
    pDC->SetBkColor(m_crBackground);
    if (!CanDraw()) {
        pDC->FillSolidRect(m_rcChart, m_crBackground);
        return;
    }
    // The margin bands at the plot's top and right edges, and the corner square, in the value
    // axis's colour: the frame and the last labels reach into them.
    const COLORREF cr = m_pYAxis->m_crBackground;
    pDC->FillSolidRect(RECT{m_rcPlot.left, m_rcPlot.top, m_rcChart.right, m_rcPlot.top + m_nMargin}, cr);
    pDC->FillSolidRect(RECT{m_rcChart.right - m_nMargin, m_rcChart.top + m_nMargin, m_rcChart.right, m_rcPlot.bottom},
                       cr);
    pDC->FillSolidRect(RECT{m_rcChart.left, m_rcPlot.bottom, m_rcPlot.left, m_rcChart.bottom}, cr);
    m_pXAxis->Draw(pDC);
    m_pYAxis->Draw(pDC);
    DrawData(pDC);
}

void CChart::DrawData(CDC*) {}
