#include "charts/ZorvatChart.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "charts/ChartPoint.h"
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartSettings.h"
#include "refdata/ZorvatGlobals.h"

namespace {

// What the four kinds set after the product chart's defaults. The intraday kinds take their
// horizontal range from the market times when they are made.
struct ChartKindRow {
    BOOL bVolume;
    int nValueExponent;
    int nValueStep;
    int nTimeThickness;
    BOOL bTimeLabels;
    BOOL bClockRange;               // intraday: range from the market times, hourly ticks
};
const ChartKindRow s_kinds[] = {
    /* CHARTKIND_HISTORICAL */        {FALSE, -2, 100, 20, TRUE, FALSE},
    /* CHARTKIND_HISTORICAL_VOLUME */ {TRUE, 3, 1000, 10, FALSE, FALSE},
    /* CHARTKIND_INTRADAY */          {FALSE, -2, 100, 20, TRUE, TRUE},
    /* CHARTKIND_INTRADAY_VOLUME */   {TRUE, 3, 1000, 10, FALSE, TRUE},
};

const int SECONDS_PER_HOUR = 3600;
const int DEFAULT_DAY_START = 27000;    // 07:30, while the market times are not known
const int DEFAULT_DAY_END = 64800;      // 18:00

int SaturateToInt(double d)
{
    if (!(d > INT_MIN))
        return INT_MIN;
    return d < INT_MAX ? static_cast<int>(d) : INT_MAX;
}

}  // namespace

int ValueCents(double dValue)
{
    return SaturateToInt(std::round(dValue * 100));
}

int IntradayClockShift()
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    const int nNewYork = pGlobals->GetFirstMarketTimeNY().GetSecondsOfDay();
    if (nNewYork == pGlobals->GetSecondMarketTimeNY().GetSecondsOfDay())
        return 0;
    return (nNewYork - pGlobals->GetFirstMarketTime().GetSecondsOfDay()) % (24 * SECONDS_PER_HOUR);
}

void GetSessionHours(int* pnOpen, int* pnClose)
{
    *pnOpen = GetGlobals()->GetFirstMarketTimeNY().GetSecondsOfDay();
    *pnClose = GetGlobals()->GetSecondMarketTimeNY().GetSecondsOfDay();
    if (*pnOpen == *pnClose)
        *pnClose = -1;
}

void GetIntradayRange(int* pnFirst, int* pnLast)
{
    const int t1 = GetGlobals()->GetFirstMarketTimeNY().GetSecondsOfDay();
    const int t2 = GetGlobals()->GetSecondMarketTimeNY().GetSecondsOfDay();
    *pnFirst = t1 == t2 ? DEFAULT_DAY_START : t1 - 2 * SECONDS_PER_HOUR;
    *pnLast = t1 == t2 ? DEFAULT_DAY_END : t2 + 2 * SECONDS_PER_HOUR;
}

CZorvatChart::CZorvatChart()
{
    m_nMargin = 7;
    CChartAxis& y = *m_pYAxis;
    y.SetExponent(-2);
    y.m_nStep = 100;
    y.m_bLabels = TRUE;
    y.m_nMinorDivisor = 50;
    y.m_bMinorTicks = FALSE;
    y.m_nThickness = VALUE_AXIS_THICKNESS;
    for (CChartAxis* pAxis : {m_pXAxis, m_pYAxis}) {
        pAxis->m_nInset = 0;
        pAxis->m_crBackground = RGB(255, 255, 255);
        pAxis->m_crText = pAxis->m_crMajorTick = pAxis->m_crMinorTick = RGB(0, 0, 0);
    }
    m_pXAxis->m_nThickness = 20;
}

void CZorvatChart::ApplyKind(ChartKind kind)
{
    const ChartKindRow& row = s_kinds[kind];
    m_bVolume = row.bVolume;
    m_pYAxis->SetExponent(row.nValueExponent);
    m_pYAxis->m_nStep = row.nValueStep;
    m_pYAxis->m_bLabels = TRUE;
    CChartAxis& x = *m_pXAxis;
    x.m_nThickness = row.nTimeThickness;
    if (row.bClockRange) {
        GetIntradayRange(&x.m_nDataMin, &x.m_nDataMax);
        x.m_nMin = x.m_nDataMin;
        x.m_nMax = x.m_nDataMax;
        x.m_nStep = SECONDS_PER_HOUR;
        x.m_nMinorDivisor = SECONDS_PER_HOUR / 6;
        x.m_bMinorTicks = TRUE;
    } else {
        x.m_nDataMin = 0;
        x.m_nDataMax = 1;
    }
    x.m_bLabels = row.bTimeLabels;
}

CZorvatChartSettings* CZorvatChart::GetSettings()
{
    return m_pMainSeries != nullptr ? m_pMainSeries->GetSettings() : nullptr;
}

BOOL CZorvatChart::IsDrawable(CZorvatChartDataHolder* pSeries)
{
    return pSeries != nullptr && pSeries->IsComplete() && pSeries->HasData();
}

void CZorvatChart::GetValuePoint(CPoint* pOut, int x, double dValue)
{
    pOut->x = m_pXAxis->ValueToPixel(x) + m_rcPlot.left;
    pOut->y = m_pYAxis->ValueToPixel(ValueCents(dValue)) + m_rcPlot.top;
}

void CZorvatChart::GetVolumePoint(CPoint* pOut, int x, int64_t nVolume)
{
    const int64_t nUnits = nVolume / m_pYAxis->GetUnit();
    const int nValue = nUnits > INT_MAX ? m_pYAxis->m_nMax : static_cast<int>(nUnits);
    pOut->x = m_pXAxis->ValueToPixel(x) + m_rcPlot.left;
    pOut->y = m_pYAxis->ValueToPixel(nValue) + m_rcPlot.top;
}

int64_t CZorvatChart::GetVolumeTop() const
{
    return static_cast<int64_t>(m_pYAxis->m_nMax) * m_pYAxis->GetUnit();
}

void CZorvatChart::DrawData(CDC* pDC)
{
    m_bMarkDrawn = FALSE;
    CZorvatChartDataHolder* pMain = GetMainSeries();
    if (pMain == nullptr || pMain->GetHead() == nullptr)
        return;
    const CChartAxis& xAxis = *m_pXAxis;
    const CChartAxis& yAxis = *m_pYAxis;
    const int xMin = xAxis.ValueToPixel(xAxis.m_nMin) + m_rcPlot.left;
    const int xMax = xAxis.ValueToPixel(xAxis.m_nMax) + m_rcPlot.left;
    const int yMin = yAxis.ValueToPixel(yAxis.m_nMin) + m_rcPlot.top;
    const int yMax = yAxis.ValueToPixel(yAxis.m_nMax) + m_rcPlot.top;

    CPen penFrame(PS_SOLID, 1, yAxis.m_crMajorTick);
    CPen* pOldPen = pDC->SelectObject(&penFrame);
    pDC->MoveTo(m_rcPlot.left, yMin);
    pDC->LineTo(xMax, yMin);
    pDC->MoveTo(m_rcPlot.left, yMax);
    pDC->LineTo(xMax, yMax);
    pDC->MoveTo(xMin, m_rcPlot.bottom);
    pDC->LineTo(xMin, yMax);
    pDC->MoveTo(xMax, m_rcPlot.bottom);
    pDC->LineTo(xMax, yMax);

    // The grid follows the configured steps, not the label steps doubled for room.
    CPen penGrid(PS_SOLID, 1, GetGridColor());
    pDC->SelectObject(&penGrid);
    if (yAxis.m_nStep > 0) {
        long long v = static_cast<long long>(yAxis.m_nMin) / yAxis.m_nStep * yAxis.m_nStep;
        for (; v < yAxis.m_nMax; v += yAxis.m_nStep) {
            if (v <= yAxis.m_nMin)
                continue;
            const int y = yAxis.ValueToPixel(static_cast<int>(v)) + m_rcPlot.top;
            pDC->MoveTo(m_rcPlot.left, y);
            pDC->LineTo(m_rcPlot.right, y);
        }
    }
    if (xAxis.m_nStep > 0) {
        for (long long v = xAxis.m_nMin; v <= xAxis.m_nMax; v += xAxis.m_nStep) {
            const int x = xAxis.ValueToPixel(static_cast<int>(v)) + m_rcPlot.left;
            pDC->MoveTo(x, m_rcPlot.bottom);
            pDC->LineTo(x, yMax);
        }
    }
    pDC->SelectObject(pOldPen);

    ::IntersectClipRect(pDC->GetSafeHdc(), m_rcPlot.left, m_rcPlot.top, m_rcPlot.right, m_rcPlot.bottom);
    CZorvatChartSettings* pSettings = GetSettings();
    const BOOL bComparison = pSettings != nullptr && pSettings->HasComparison();
    const BOOL bIntraday = pSettings != nullptr && pSettings->IsIntraday();
    if (!m_bVolume && (bComparison || bIntraday)) {
        CPen penDot(PS_DOT, 1, bComparison ? RGB(0, 0, 0) : RGB(255, 0, 0));
        pOldPen = pDC->SelectObject(&penDot);
        const double dLevel = bComparison ? 0.0 : pMain->GetHeaderRef();
        CPoint ptFrom, ptTo;
        GetValuePoint(&ptFrom, xAxis.m_nMin, dLevel);
        GetValuePoint(&ptTo, xAxis.m_nMax, dLevel);
        pDC->MoveTo(ptFrom);
        pDC->LineTo(ptTo.x, ptTo.y);
        pDC->SelectObject(pOldPen);
    }
    if (m_bVolume) {
        DrawVolumeBars(pDC, pMain, GetMainColor());
    } else if (bComparison) {
        DrawPercentLine(pDC, pMain, GetMainColor());
        DrawPercentLine(pDC, GetCompareSeries(), GetCompareColor());
    } else if (m_bBars) {
        DrawBars(pDC, pMain, GetMainColor());
    } else {
        DrawLine(pDC, pMain, GetMainColor());
    }
    if (!m_bVolume && !bIntraday && !bComparison && pSettings != nullptr && pSettings->GetMovingAverage() != 0)
        DrawAverage(pDC, pMain, GetAverageColor());
}

void CZorvatChart::WalkLine(CDC* pDC, CZorvatChartDataHolder* pSeries, LineValue value)
{
    auto valueOf = [value](const CChartPoint* p) {
        switch (value) {
        case LINE_PERCENT:    return p->m_dPercent;
        case LINE_AVERAGE:    return p->m_dAverage;
        case LINE_UPPER_BAND: return p->m_dAverage + p->m_dDeviation;
        case LINE_LOWER_BAND: return p->m_dAverage - p->m_dDeviation;
        case LINE_CLOSE:      break;
        }
        return p->m_dClose;
    };
    const CChartPoint* p = pSeries->GetHead();
    CPoint pt;
    GetValuePoint(&pt, p->m_nSeq, valueOf(p));
    pDC->MoveTo(pt);
    int xLeast = pt.x, xMost = pt.x;
    for (p = p->m_pNext; p != nullptr; p = p->m_pNext) {
        if (p->m_nSeq < m_pXAxis->m_nMin)
            continue;
        if (p->m_nSeq > m_pXAxis->m_nMax)
            break;
        GetValuePoint(&pt, p->m_nSeq, valueOf(p));
        pDC->LineTo(pt.x, pt.y);
        xLeast = std::min(xLeast, static_cast<int>(pt.x));
        xMost = std::max(xMost, static_cast<int>(pt.x));
    }
    // A line within one column of pixels (the day's first quotes) shows little or nothing: the
    // last price shows as a short thick dash at its level.
    if (xMost - xLeast < LINE_MIN_SPAN) {
        m_bMarkDrawn = TRUE;
        int nTick = 0, nBody = 0;
        GetBarSizes(&nTick, &nBody);
        const int nHalf = std::max(nTick, 4);
        for (int dy = -1; dy <= 1; ++dy) {
            pDC->MoveTo(pt.x - nHalf, pt.y + dy);
            pDC->LineTo(pt.x + nHalf + 1, pt.y + dy);
        }
    }
}

BOOL CZorvatChart::StrokeLine(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr, LineValue value)
{
    if (!IsDrawable(pSeries))
        return FALSE;
    CPen pen(PS_SOLID, 1, cr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    WalkLine(pDC, pSeries, value);
    pDC->SelectObject(pOldPen);
    return TRUE;
}

void CZorvatChart::DrawLine(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    StrokeLine(pDC, pSeries, cr, LINE_CLOSE);
}

// Per cents go along m_nSeq as the line does: in a historical comparison the two series then
// share the sequence axis that the horizontal range is taken in.
void CZorvatChart::DrawPercentLine(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    StrokeLine(pDC, pSeries, cr, LINE_PERCENT);
}

void CZorvatChart::DrawAverage(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    if (!IsDrawable(pSeries))
        return;
    CPen pen(PS_SOLID, 1, cr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    WalkLine(pDC, pSeries, LINE_AVERAGE);
    CZorvatChartSettings* pSettings = pSeries->GetSettings();
    if (pSettings != nullptr && pSettings->IsStandardVariation()) {
        CPen penBand(PS_DOT, 1, cr);
        pDC->SelectObject(&penBand);
        WalkLine(pDC, pSeries, LINE_UPPER_BAND);
        WalkLine(pDC, pSeries, LINE_LOWER_BAND);
        pDC->SelectObject(&pen);
    }
    pDC->SelectObject(pOldPen);
}

void CZorvatChart::GetBarSizes(int* pTick, int* pBody) const
{
    const int nPixels = m_pXAxis->m_dScale > 0.0 ? SaturateToInt(m_nBarWidth / m_pXAxis->m_dScale) : 0;
    *pTick = std::max(2, nPixels / 2);
    *pBody = std::max(1, *pTick / 2);
}

void CZorvatChart::DrawBar(CDC* pDC, int x, double dOpen, double dHigh, double dLow, double dClose, int nTick, int nBody)
{
    CPoint ptHigh, ptLow, ptOpen, ptClose;
    GetValuePoint(&ptHigh, x, dHigh);
    GetValuePoint(&ptLow, x, dLow);
    GetValuePoint(&ptOpen, x, dOpen);
    GetValuePoint(&ptClose, x, dClose);
    const int nLeft = ptHigh.x - nBody / 2;
    pDC->FillSolidRect(RECT{nLeft, ptHigh.y, nLeft + nBody, ptLow.y + 1}, GetMainColor());
    pDC->MoveTo(ptOpen);
    pDC->LineTo(ptOpen.x - nTick, ptOpen.y);
    pDC->MoveTo(ptClose);
    pDC->LineTo(ptClose.x + nTick, ptClose.y);
}

void CZorvatChart::DrawBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    if (!IsDrawable(pSeries) || m_nBarWidth <= 0)
        return;
    int nTick = 0, nBody = 0;
    GetBarSizes(&nTick, &nBody);
    CPen pen(PS_SOLID, 1, cr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const CChartPoint* p = pSeries->GetHead();
    for (long long t = static_cast<long long>(m_pXAxis->m_nMin) + m_nBarWidth; t <= m_pXAxis->m_nMax && p != nullptr;
         t += m_nBarWidth) {
        if (p->m_nTime > t)
            continue;
        const long long nStart = t - m_nBarWidth;
        double dOpen = p->m_dClose, dHigh = dOpen, dLow = dOpen, dClose = dOpen;
        for (; p != nullptr && p->m_nTime <= t; p = p->m_pNext) {
            if (p->m_nTime < nStart) {
                // The last price before the slot opens it.
                dOpen = dHigh = dLow = dClose = p->m_dClose;
            } else {
                dClose = p->m_dClose;
                dHigh = std::max(dHigh, dClose);
                dLow = std::min(dLow, dClose);
            }
        }
        DrawBar(pDC, static_cast<int>(t - m_nBarWidth / 2), dOpen, dHigh, dLow, dClose, nTick, nBody);
    }
    pDC->SelectObject(pOldPen);
}

void CZorvatChart::FillVolumeBar(CDC* pDC, int x, int64_t nVolume, int nWidth, COLORREF cr)
{
    CPoint pt0, pt1;
    GetVolumePoint(&pt0, x, 0);
    GetVolumePoint(&pt1, x, nVolume);
    const int nLeft = pt0.x - nWidth / 2;
    pDC->FillSolidRect(RECT{nLeft + 1, pt1.y, nLeft + nWidth, pt0.y + 1}, cr);
}

void CZorvatChart::DrawVolumeBars(CDC* pDC, CZorvatChartDataHolder* pSeries, COLORREF cr)
{
    if (!IsDrawable(pSeries) || m_nBarWidth <= 0)
        return;
    int nWidth = 0, nBody = 0;
    GetBarSizes(&nWidth, &nBody);
    const CChartPoint* p = pSeries->GetHead();
    for (long long t = static_cast<long long>(m_pXAxis->m_nMin) + m_nBarWidth; t <= m_pXAxis->m_nMax && p != nullptr;
         t += m_nBarWidth) {
        if (p->m_nTime > t)
            continue;
        const long long nStart = t - m_nBarWidth;
        int64_t nSum = 0;
        for (; p != nullptr && p->m_nTime <= t; p = p->m_pNext) {
            if (p->m_nTime >= nStart)
                nSum += p->m_nVolume;
        }
        m_nLastVolume = nSum;
        FillVolumeBar(pDC, static_cast<int>(t - m_nBarWidth / 2), nSum, nWidth, cr);
    }
}

void CZorvatChart::RedrawBar(CDC* pDC, int x)
{
    HDC hdc = pDC->GetSafeHdc();
    const int nSaved = ::SaveDC(hdc);
    if (m_nBarWidth > 0) {
        // The slot that holds x: slots end every bar width from the axis minimum and take
        // both ends, so a time on a slot's end (10:05:00) is the slot before, not the next.
        const long long nFrom = static_cast<long long>(x) - m_pXAxis->m_nMin;
        const int k = static_cast<int>(m_pXAxis->m_nMin + ((nFrom + m_nBarWidth - 1) / m_nBarWidth - 1) * m_nBarWidth);
        const int nStripLeft = m_pXAxis->m_rcAxis.left;
        const RECT rc = {m_pXAxis->ValueToPixel(k) + nStripLeft - 1, m_rcPlot.top,
                         m_pXAxis->ValueToPixel(k + m_nBarWidth) + nStripLeft + 1, m_rcPlot.bottom};
        // A volume bar only grows within its slot: its redraw is clipped to the slot as well
        // (without clearing it), so one live quote repaints one bar, not the whole pane.
        if (m_bVolume || m_bBars)
            ::IntersectClipRect(hdc, rc.left, rc.top, rc.right, rc.bottom);
        if (!m_bVolume && m_bBars)
            pDC->FillSolidRect(rc, m_crBackground);
    }
    DrawData(pDC);
    ::RestoreDC(hdc, nSaved);
}

void CZorvatChart::UpdateValueStep()
{
    double r = 20 * m_pYAxis->m_dScale;
    // At least one unit of the labels, counted in axis values.
    double a = 1;
    for (int i = m_pYAxis->m_nUnitExponent; i < m_pYAxis->m_nExponent; ++i)
        a *= 10;
    double b = 1;
    while (r >= 1) {
        r /= 10;
        b *= 10;
    }
    const double m = r <= 0.2 ? 0.2 : (r <= 0.5 ? 0.5 : 1.0);
    m_pYAxis->m_nStep = SaturateToInt(a > m * b ? a : std::trunc(m * b));
    m_pYAxis->m_bLabels = TRUE;
}

void CZorvatChart::FitBars(RECT rc, int nLast)
{
    CChartAxis& x = *m_pXAxis;
    const double b = m_nBarWidth;
    double s = x.m_dScale;
    if (b <= 0 || s <= 0.0)
        return;
    const int nWidth = x.m_rcAxis.right - x.m_rcAxis.left;
    const double p = b / s;
    if (p != std::floor(p) && std::floor(p) >= 1)
        s = b / std::floor(p);
    if (p >= 1 && b / s >= 4) {
        const int nLength = x.GetLength(s);
        if (nLength != nWidth)
            CChart::SetRect(RECT{rc.left, rc.top, rc.right + nLength - nWidth, rc.bottom});
        // The narrowed chart's labels may still use the rectangle it was given.
        x.m_nLabelRight = rc.right;
        return;
    }
    // Fewer than 4 pixels per bar: the oldest bars go off the left edge so that 4 fit.
    const int nLength4 = x.GetLength(b / 4);
    const long long nExcessBars = static_cast<long long>(std::ceil((nLength4 - nWidth) / 4.0));
    double dExcess = static_cast<double>(nExcessBars) * b;
    if (x.m_nDataMin < nLast && nLast < x.m_nDataMax) {
        if (nLast > x.m_nDataMax - dExcess) {
            x.m_nMax = static_cast<int>(std::ceil(nLast / b) * b);
            dExcess -= x.m_nDataMax - x.m_nMax;
        } else {
            x.m_nMax = static_cast<int>(x.m_nDataMax - dExcess);
            dExcess = 0;
        }
    }
    const double dRounded = std::ceil(std::trunc(dExcess) / b) * b;
    x.m_nMin = static_cast<int>(x.m_nDataMin + dRounded);
    CChart::SetRect(RECT{rc.left, rc.top, rc.right + x.GetLength(b / 4) - nWidth, rc.bottom});
    x.m_nLabelRight = rc.right;
}

BOOL CZorvatChart::CanReadOut(CPoint pt)
{
    return IsDrawable(GetMainSeries()) && CRect(m_rcPlot).PtInRect(pt);
}

CString CZorvatChart::DescribeValue(int nValue)
{
    CString strText;
    m_pYAxis->FormatLabel(nValue, strText);
    CZorvatChartSettings* pSettings = GetSettings();
    if (!m_bVolume && pSettings != nullptr && pSettings->HasComparison())
        strText += "%";
    return strText;
}

namespace {
const CChartPoint* FirstAtOrAfter(const CChartPoint* p, int v, BOOL bTime)
{
    for (; p != nullptr; p = p->m_pNext) {
        if ((bTime ? p->m_nTime : p->m_nSeq) >= v || p->m_pNext == nullptr)
            return p;
    }
    return nullptr;
}
}  // namespace

BOOL CZorvatChart::GetLineReadout(int v, BOOL bTime, CString& strText)
{
    CZorvatChartSettings* pSettings = GetSettings();
    const CChartPoint* p1 = FirstAtOrAfter(GetMainSeries()->GetHead(), v, bTime);
    CZorvatChartDataHolder* pCompare = GetCompareSeries();
    CString strLabel;
    if (!m_bVolume && pSettings != nullptr && pSettings->HasComparison() && pCompare != nullptr &&
        pCompare->GetHead() != nullptr) {
        const CChartPoint* p2 = FirstAtOrAfter(pCompare->GetHead(), v, bTime);
        CString strLabel2;
        m_pXAxis->GetLabel(bTime ? p1->m_nTime : p1->m_nSeq, strLabel);
        m_pXAxis->GetLabel(bTime ? p2->m_nTime : p2->m_nSeq, strLabel2);
        strText.Format("%s %.2f [%s: %s %.2f]", static_cast<LPCSTR>(strLabel), p1->m_dClose,
                       static_cast<LPCSTR>(pSettings->GetCompTicker()), static_cast<LPCSTR>(strLabel2),
                       p2->m_dClose);
        return TRUE;
    }
    if (m_bBars || m_bVolume)
        return FALSE;
    CString strValue;
    m_pXAxis->GetLabel(bTime ? p1->m_nTime : p1->m_nSeq, strLabel);
    m_pYAxis->GetLabel(ValueCents(p1->m_dClose), strValue);
    strText.Format("%s %s", static_cast<LPCSTR>(strLabel), static_cast<LPCSTR>(strValue));
    return TRUE;
}
