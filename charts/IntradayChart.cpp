#include "charts/IntradayChart.h"

#include <algorithm>

#include "charts/ChartPoint.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartSettings.h"
#include "framework/base/NorvTime.h"

namespace {
const int SECONDS_PER_DAY = 86400;
}  // namespace

CIntradayChart::CIntradayChart(ChartKind kind)
{
    ApplyKind(kind);
    m_pXAxis->SetDescr(this);
    m_pYAxis->SetDescr(this);
}

BOOL CIntradayChart::CanDraw()
{
    return m_rcPlot.right > m_rcPlot.left && m_rcPlot.bottom > m_rcPlot.top;
}

void CIntradayChart::SetRect(RECT rc)
{
    CChartAxis& x = *m_pXAxis;
    x.m_nMin = x.m_nDataMin;
    x.m_nMax = x.m_nDataMax;
    CChart::SetRect(rc);
    int nLast = x.m_nDataMin;
    CZorvatChartDataHolder* pMain = GetMainSeries();
    if (IsDrawable(pMain)) {
        nLast = pMain->GetTail()->m_nTime;
        CZorvatChartDataHolder* pCompare = GetCompareSeries();
        if (pCompare != nullptr && pCompare->GetTail() != nullptr && pCompare->GetTail()->m_nTime > nLast)
            nLast = pCompare->GetTail()->m_nTime;
    }
    FitBars(rc, nLast);
    if (CanDraw())
        UpdateValueStep();
}

CString CIntradayChart::Describe(int nValue, BOOL bVertical)
{
    if (bVertical)
        return DescribeValue(nValue);
    // An axis that starts before midnight labels the evening before it, not a negative time.
    const int nSeconds = (nValue % SECONDS_PER_DAY + SECONDS_PER_DAY) % SECONDS_PER_DAY;
    CNorvTime time;
    time.Set(nSeconds / 3600, nSeconds / 60 % 60, nSeconds % 60);
    char szTime[16];
    time.FormatTo(szTime, sizeof szTime, /*bLeadingZero=*/TRUE);
    szTime[5] = '\0';
    return CString(szTime);
}

CString CIntradayChart::GetReadout(CPoint pt)
{
    CString strText;
    if (!CanReadOut(pt) || m_nBarWidth <= 0)
        return strText;
    const int v = m_pXAxis->PixelToValue(pt.x - m_pXAxis->m_rcAxis.left);
    if (GetLineReadout(v, /*bTime=*/TRUE, strText))
        return strText;
    const int nStart = v / m_nBarWidth * m_nBarWidth;
    const int nEnd = nStart + m_nBarWidth;
    CString strEnd;
    m_pXAxis->GetLabel(nStart, strText);
    m_pXAxis->GetLabel(nEnd, strEnd);
    strText += "-";
    strText += strEnd;
    double dOpen = -1, dHigh = 0, dLow = 0, dClose = 0;
    int64_t nVolume = 0;
    for (const CChartPoint* p = GetMainSeries()->GetHead(); p != nullptr && p->m_nTime <= nEnd; p = p->m_pNext) {
        if (p->m_nTime < nStart) {
            dOpen = dHigh = dLow = dClose = p->m_dClose;
            continue;
        }
        if (dOpen < 0) {
            dOpen = dHigh = dLow = p->m_dClose;
        } else {
            dHigh = std::max(dHigh, p->m_dClose);
            dLow = std::min(dLow, p->m_dClose);
        }
        dClose = p->m_dClose;
        nVolume += p->m_nVolume;
    }
    if (nVolume < 1)
        return strText;
    if (m_bVolume)
        strText.AppendFormat(" %lld", static_cast<long long>(nVolume));
    else
        strText.AppendFormat("  O: %.2f H: %.2f L: %.2f C: %.2f", dOpen, dHigh, dLow, dClose);
    return strText;
}
