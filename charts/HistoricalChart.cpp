#include "charts/HistoricalChart.h"

#include <algorithm>
#include <cmath>

#include "charts/ChartPoint.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartSettings.h"

namespace {
const int PERIOD_DAILY = 2;
const int PERIOD_WEEKLY = 3;
const int PERIOD_MONTHLY = 4;
}  // namespace

CHistoricalChart::CHistoricalChart(ChartKind kind)
{
    ApplyKind(kind);
    m_pXAxis->SetDescr(this);
    m_pYAxis->SetDescr(this);
}

BOOL CHistoricalChart::CanDraw()
{
    return m_rcPlot.right > m_rcPlot.left && m_rcPlot.bottom > m_rcPlot.top;
}

void CHistoricalChart::SetRect(RECT rc)
{
    CZorvatChartDataHolder* pMain = GetMainSeries();
    CZorvatChartDataHolder* pCompare = GetCompareSeries();
    CZorvatChartSettings* pSettings = GetSettings();
    const BOOL bComparison = pSettings != nullptr && pSettings->HasComparison();
    if (!IsDrawable(pMain) || (bComparison && pCompare != nullptr && !pCompare->IsComplete()))
        return;
    int nLo = pMain->GetHead()->m_nSeq;
    int nHi = pMain->GetTail()->m_nSeq + 1;
    int nLast = pMain->GetTail()->m_nSeq;
    if (bComparison && pCompare != nullptr && pCompare->GetHead() != nullptr) {
        nLo = std::min(nLo, pCompare->GetHead()->m_nSeq);
        nHi = std::max(nHi, pCompare->GetTail()->m_nSeq);
        nLast = std::max(nLast, pCompare->GetTail()->m_nSeq);
    }
    CChartAxis& x = *m_pXAxis;
    x.m_nDataMin = nLo;
    x.m_nDataMax = nHi;
    const int nPeriod = pSettings != nullptr ? pSettings->GetPeriod() : 0;
    if (nPeriod >= PERIOD_DAILY && nPeriod <= PERIOD_MONTHLY) {
        x.m_nStep = nPeriod == PERIOD_DAILY ? 1 : 4;
        x.m_nMinorDivisor = nPeriod == PERIOD_DAILY ? 5 : 1;
        x.m_bLabels = x.m_bMinorTicks = !m_bVolume;
    }
    x.m_nMin = nLo;
    x.m_nMax = nHi;
    CChart::SetRect(rc);
    FitBars(rc, nLast);
    UpdateValueStep();
}

CString CHistoricalChart::Describe(int nValue, BOOL bVertical)
{
    if (bVertical)
        return DescribeValue(nValue);
    CZorvatChartDataHolder* pMain = GetMainSeries();
    CZorvatChartSettings* pSettings = GetSettings();
    if (pMain == nullptr || pSettings == nullptr)
        return CString();
    CNorvDate date;
    date.SetPacked(pMain->GetStartDate());
    switch (pSettings->GetPeriod()) {
    case PERIOD_DAILY: {
        // The calendar slot of the point at that position (the last point past the end). A
        // point's m_nSeq is its position, so the walk may start from the nearer end: the
        // labels of a long series are read near its newest points.
        const CChartPoint* p = pMain->GetTail();
        if (p != nullptr && nValue < p->m_nSeq) {
            if (p->m_nSeq - nValue < nValue) {
                while (p->m_pPrev != nullptr && p->m_nSeq > nValue)
                    p = p->m_pPrev;
            } else {
                p = pMain->GetHead();
                for (int i = 0; i < nValue && p->m_pNext != nullptr; ++i)
                    p = p->m_pNext;
            }
        }
        if (p != nullptr)
            date = date + p->m_nTime;
        return date.Format();
    }
    case PERIOD_WEEKLY:
        return (date + 7 * nValue).Format();
    case PERIOD_MONTHLY: {
        // Whole years by division: month 11 plus 30 is May two and a half years on.
        const int nMonths = date.GetMonth() - 1 + nValue;
        CString strText;
        strText.Format("%02d/%04d", nMonths % 12 + 1, date.GetYear() + nMonths / 12);
        return strText;
    }
    }
    return CString();
}

void CHistoricalChart::DrawBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    if (!IsDrawable(pSeries))
        return;
    int nTick = 0, nBody = 0;
    GetBarSizes(&nTick, &nBody);
    CPen pen(PS_SOLID, 1, cr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    // The plot's clip cuts what lies outside; bars wholly outside it are not even drawn, so
    // a long series costs only the visible bars.
    for (const CChartPoint* p = pSeries->GetHead(); p != nullptr; p = p->m_pNext) {
        const int x = p->m_nSeq - m_nBarWidth / 2;
        const int nPixel = m_pXAxis->ValueToPixel(x) + m_rcPlot.left;
        if (nPixel + nTick < m_rcPlot.left)
            continue;
        if (nPixel - nTick >= m_rcPlot.right)
            break;
        DrawBar(pDC, x, p->m_dOpen, p->m_dHigh, p->m_dLow, p->m_dClose, nTick, nBody);
    }
    pDC->SelectObject(pOldPen);
}

void CHistoricalChart::DrawVolumeBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    if (!IsDrawable(pSeries))
        return;
    int nWidth = 0, nBody = 0;
    GetBarSizes(&nWidth, &nBody);
    for (const CChartPoint* p = pSeries->GetHead(); p != nullptr; p = p->m_pNext) {
        const int x = p->m_nSeq - m_nBarWidth / 2;
        const int nPixel = m_pXAxis->ValueToPixel(x) + m_rcPlot.left;
        if (nPixel + nWidth < m_rcPlot.left)
            continue;
        if (nPixel - nWidth >= m_rcPlot.right)
            break;
        FillVolumeBar(pDC, x, p->m_nVolume, nWidth, cr);
    }
}

CString CHistoricalChart::GetReadout(CPoint pt)
{
    CString strText;
    if (!CanReadOut(pt))
        return strText;
    const int nHalfBar = m_pXAxis->m_dScale > 0.0 ? static_cast<int>(m_nBarWidth / m_pXAxis->m_dScale) / 2 : 0;
    const int v = m_pXAxis->PixelToValue(pt.x - m_pXAxis->m_rcAxis.left + nHalfBar);
    if (GetLineReadout(v, /*bTime=*/FALSE, strText))
        return strText;
    m_pXAxis->GetLabel(v, strText);
    for (const CChartPoint* p = GetMainSeries()->GetHead(); p != nullptr; p = p->m_pNext) {
        if (p->m_nSeq != v)
            continue;
        if (m_bVolume)
            strText.AppendFormat(" %lld", static_cast<long long>(p->m_nVolume));
        else
            strText.AppendFormat("  O: %.2f H: %.2f L: %.2f C: %.2f", p->m_dOpen, p->m_dHigh, p->m_dLow, p->m_dClose);
        break;
    }
    return strText;
}

void CHistoricalVolumeChart::UpdateValueStep()
{
    m_pYAxis->SetExponent(3);
    CZorvatChart::UpdateValueStep();
    // Millions only when every label is a whole number of them: the step is never below a
    // thousand, so a step of whole thousands would show 200,000 as "0".
    if (m_pYAxis->m_nStep * m_pYAxis->GetUnit() % 1000000 == 0)
        m_pYAxis->SetExponent(6);
}
