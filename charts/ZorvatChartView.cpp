// The chart view: its life, the chart pair, the layout of panes and value axes, the painting
// and the live update. The mouse, readout and splitter are in ZorvatChartViewMouse.cpp.
#include "charts/ZorvatChartView.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "charts/HistoricalChart.h"
#include "charts/IntradayChart.h"
#include "charts/ZorvatChartDataHolder.h"
#include "app/StockActions.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/Ini.h"
#include "framework/base/SharedGlobals.h"
#include "platform/mfc/DC.h"

namespace {

CString LoadText(UINT nId)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nId);
    return strText;
}

void MakeFont(CFont& font, int nHeight, int nWeight)
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = nWeight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
    font.CreateFontIndirect(&lf);
}

// The volume axis's top stays below this in its own values, leaving the day's growth room under 2^31.
const double VOLUME_AXIS_LIMIT = 1e9;

// Bar widths in horizontal values by period: five and fifteen minutes, then one slot.
int BarWidthOf(int nPeriod)
{
    static const int s_anWidths[] = {300, 900};
    return nPeriod >= 0 && nPeriod < 2 ? s_anWidths[nPeriod] : 1;
}
}  // namespace

IMPLEMENT_DYNCREATE(CZorvatChartView, CView)

BEGIN_MESSAGE_MAP(CZorvatChartView, CView)
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CZorvatChartView::CZorvatChartView(int nKind, int)
    : CZorvatChartView(new CZorvatChartDataHolder(0), new CZorvatChartDataHolder(1))
{
    m_nKind = nKind;
}

CZorvatChartView::CZorvatChartView(CZorvatChartDataHolder* pMain, CZorvatChartDataHolder* pComp)
{
    pMain->SetSettings(this);
    pComp->SetSettings(this);
    SetHolders(pMain, pComp);
    m_pHistoricalChart = new CHistoricalChart;
    m_pHistoricalVolumeChart = new CHistoricalVolumeChart;
    m_pIntradayChart = new CIntradayChart;
    m_pIntradayVolumeChart = new CIntradayVolumeChart;
    for (CZorvatChart* pChart : {static_cast<CZorvatChart*>(m_pHistoricalChart), static_cast<CZorvatChart*>(m_pIntradayChart)}) {
        pChart->SetMainSeries(pMain);
        pChart->SetCompareSeries(pComp);
    }
    m_pHistoricalVolumeChart->SetMainSeries(pMain);
    m_pIntradayVolumeChart->SetMainSeries(pMain);
}

CZorvatChartView::~CZorvatChartView()
{
    m_pMainHolder->ClearSeries();
    m_pCompHolder->ClearSeries();
    delete m_pHistoricalChart;
    delete m_pHistoricalVolumeChart;
    delete m_pIntradayChart;
    delete m_pIntradayVolumeChart;
    delete m_pMainHolder;
    delete m_pCompHolder;
    delete m_pDragDC;
    delete m_pDragBitmap;
}

BOOL CZorvatChartView::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                              CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    if (pParentWnd != nullptr)
        pParentWnd->ModifyStyle(0, WS_OVERLAPPEDWINDOW);
    return CView::Create(pszClassName, pszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

void CZorvatChartView::SetSettingsKey(int nSlot)
{
    m_strSettingsKey = FormatChartViewKey(nSlot);
}

int CZorvatChartView::GetChartKind() const
{
    if (m_pPriceChart == nullptr)
        return m_nKind;
    return IsIntraday() ? CHART_KIND_INTRADAY : CHART_KIND_HISTORY;
}

void CZorvatChartView::ApplyChoice(IChartChoice& choice)
{
    if (auto* pChoices = dynamic_cast<CChartChoices*>(&choice))
        ApplyFromChooser(*pChoices);
}

void CZorvatChartView::RefreshSeries(LPCSTR pszSymbol)
{
    for (CZorvatChartDataHolder* pHolder : {m_pMainHolder, m_pCompHolder}) {
        if (pszSymbol != nullptr && pHolder->GetTicker() != pszSymbol)
            continue;
        pHolder->ClearSeries();
        pHolder->RequestSeries();
    }
}

void CZorvatChartView::ApplyFromChooser(CChartChoices& choices)
{
    CZorvatChartSettings::ApplyFromChooser(choices);
    SelectCharts();
}

void CZorvatChartView::Load(CIni& ini)
{
    const BOOL bTicker = ini.GetString("TkrSymb", "").GetLength() > 0;
    CZorvatChartSettings::Load(ini);
    if (bTicker)
        SelectCharts();
}

void CZorvatChartView::SelectCharts()
{
    if (IsIntraday()) {
        m_pPriceChart = m_pIntradayChart;
        m_pVolumeChart = m_pIntradayVolumeChart;
    } else {
        m_pPriceChart = m_pHistoricalChart;
        m_pVolumeChart = m_pHistoricalVolumeChart;
    }
    m_pPriceChart->m_bBars = m_nLineType == 1;
    m_pPriceChart->m_nBarWidth = m_pVolumeChart->m_nBarWidth = BarWidthOf(m_nPeriod);
    // Durations outside 0..5 come only from a hand-made section: the title then has no span.
    const CString strDuration = m_nDuration >= 0 && m_nDuration < CHART_DURATION_COUNT
                                    ? LoadText(IDS_CHART_DURATION_FIRST + m_nDuration)
                                    : CString();
    m_strTitle = m_strTkrSymb + " " + strDuration;
    if (CWnd* pFrame = GetParent())
        pFrame->SetWindowText(m_strTitle);
    LayoutValueAxis();
    LayoutPanes();
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
}

BOOL CZorvatChartView::IsSeriesReady() const
{
    return m_pMainHolder->IsComplete() && (!HasComparison() || m_pCompHolder->IsComplete()) && m_pMainHolder->HasData();
}

CRect CZorvatChartView::GetSplitterRect() const
{
    if (!m_bShowVolume || m_hWnd == nullptr)
        return CRect(0, 0, 0, 0);
    CRect rc;
    GetClientRect(&rc);
    return CRect(rc.left, m_nSplitY + rc.top, rc.right, m_nSplitY + m_nPaneGap + rc.top);
}

void CZorvatChartView::LayoutPanes()
{
    if (m_hWnd == nullptr || m_pPriceChart == nullptr || !IsSeriesReady())
        return;
    CRect rc;
    GetClientRect(&rc);
    if (rc.Width() < 1 || rc.Height() < 1)
        return;
    FitValueAxes();
    if (!m_bShowVolume) {
        m_nSplitY = rc.bottom - m_nBottomMargin;
    } else {
        m_nSplitY = static_cast<int>((rc.bottom - m_nBottomMargin - rc.top) * m_dPriceShare) + m_nBottomMargin;
        m_pVolumeChart->SetRect(RECT{rc.left, m_nSplitY + m_nPaneGap, rc.right, rc.bottom - m_nBottomMargin});
    }
    m_pPriceChart->SetRect(RECT{rc.left, rc.top, rc.right, m_nSplitY});
}

// The value strips widen to their widest label, so that "-15.00%" keeps its sign inside the
// window; both panes take the same width, so that their times stand one above the other.
void CZorvatChartView::FitValueAxes()
{
    int nThickness = VALUE_AXIS_THICKNESS;
    CClientDC dc(this);
    for (CZorvatChart* pChart : {m_pPriceChart, m_pVolumeChart}) {
        CChartAxis* pY = pChart->m_pYAxis;
        CFont* pOld = dc.SelectObject(&pY->m_font);
        for (const int nValue : {pY->m_nMin, pY->m_nMax}) {
            CString strLabel;
            pY->GetLabel(nValue, strLabel);
            // The label ends at the tick, 7 pixels and a gap of 5 from the plot.
            nThickness = std::max(nThickness, static_cast<int>(dc.GetTextExtent(strLabel).cx) + 7 + 5 + 2);
        }
        dc.SelectObject(pOld);
    }
    m_pPriceChart->m_pYAxis->m_nThickness = m_pVolumeChart->m_pYAxis->m_nThickness = nThickness;
}

void CZorvatChartView::LayoutValueAxis()
{
    m_bAxesLaidOut = FALSE;
    if (m_pPriceChart == nullptr || !IsSeriesReady())
        return;
    m_bAxesLaidOut = TRUE;
    double dHigh = 0.0, dLow = -1.0, dPctHigh = 0.0, dPctLow = 0.0;
    LONGLONG nPeak = 0;
    const BOOL bIntraday = IsIntraday();
    auto seeLow = [&dLow](double d) {
        if (d != 0.0 && (dLow < 0.0 || d < dLow))
            dLow = d;
    };
    for (const CChartPoint* p = m_pMainHolder->GetHead(); p != nullptr; p = p->m_pNext) {
        dHigh = std::max(dHigh, bIntraday ? p->m_dHigh : std::max(p->m_dClose, p->m_dHigh));
        seeLow(p->m_dLow);
        dPctHigh = std::max(dPctHigh, p->m_dPercent);
        dPctLow = std::min(dPctLow, p->m_dPercent);
        if (!bIntraday)
            nPeak = std::max(nPeak, p->m_nVolume);
    }
    if (bIntraday) {
        // The largest bar the volume pane will draw: its slots, summed as it sums them.
        const int b = m_pVolumeChart->m_nBarWidth;
        const CChartAxis* pX = m_pVolumeChart->m_pXAxis;
        const CChartPoint* p = m_pMainHolder->GetHead();
        for (long long t = static_cast<long long>(pX->m_nMin) + b; t <= pX->m_nMax && p != nullptr; t += b) {
            LONGLONG nSum = 0;
            for (; p != nullptr && p->m_nTime <= t; p = p->m_pNext)
                if (p->m_nTime >= t - b)
                    nSum += p->m_nVolume;
            nPeak = std::max(nPeak, nSum);
        }
    }
    CChartAxis* pY = m_pPriceChart->m_pYAxis;
    if (HasComparison()) {
        for (const CChartPoint* p = m_pCompHolder->GetHead(); p != nullptr; p = p->m_pNext) {
            dPctHigh = std::max(dPctHigh, p->m_dPercent);
            dPctLow = std::min(dPctLow, p->m_dPercent);
        }
        double lo = std::floor(2 * dPctLow), hi = std::floor(2 * dPctHigh);
        lo += lo >= 0 ? 1 : -1;
        hi += hi >= 0 ? 1 : -1;
        pY->m_nMin = ValueCents(lo * 0.5);
        pY->m_nMax = ValueCents(hi * 0.5);
    } else {
        const double r = m_pMainHolder->GetHeaderRef();
        if (r > 0) {
            dLow = std::min(dLow, r);
            dHigh = std::max(dHigh, r);
        }
        double dRange = std::fabs(dHigh - dLow);
        if (dRange < 0.01)
            dRange = 1.0;
        const double lo = dLow - dRange / 10, hi = dHigh + dRange / 10;
        const double f = std::floor(lo), frac = lo - f;
        const double L = frac <= 0.2 ? f : frac <= 0.5 ? f + 0.2 : f + 0.5;
        pY->m_nMin = ValueCents(L);
        pY->m_nMax = pY->m_nMin + static_cast<int>(std::floor((hi - L) * 10) + 1) * 10;
    }
    pY->SetExponent(-2);
    // The volume axis: the peak's leading digit rounded up to .2, .5 or a whole, plus a tenth.
    double V = static_cast<double>(nPeak), m = 1;
    while (V > 10) {
        V /= 10;
        m *= 10;
    }
    const double f = std::floor(V), frac = V - f;
    const double top = frac <= 0.2 ? f + 0.2 : frac <= 0.5 ? f + 0.5 : f + 1;
    const double dMax = std::max(std::trunc(top * 1.1 * m), 1000.0);
    // An index trades billions a day: the axis then counts thousands or millions of shares, so
    // that the top and a day's growth stay well inside its 32-bit values.
    CChartAxis* pVolume = m_pVolumeChart->m_pYAxis;
    pVolume->m_nUnitExponent = 0;
    while (dMax / static_cast<double>(pVolume->GetUnit()) > VOLUME_AXIS_LIMIT)
        pVolume->m_nUnitExponent += 3;
    const double dTop = std::ceil(dMax / static_cast<double>(pVolume->GetUnit()));
    pVolume->m_nMax = dTop < INT_MAX ? static_cast<int>(dTop) : INT_MAX;
    pVolume->m_nMin = 0;
}

void CZorvatChartView::Relayout()
{
    LayoutValueAxis();
    LayoutPanes();
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
}

void CZorvatChartView::OnSeriesComplete(const char*)
{
    Relayout();
}

void CZorvatChartView::OnSeriesUpdated(const char*, CZorvatChartDataHolder* pHolder)
{
    const CChartPoint* T = pHolder != nullptr ? pHolder->GetTail() : nullptr;
    if (T == nullptr || !pHolder->IsComplete() || m_pPriceChart == nullptr || m_hWnd == nullptr)
        return;
    const CChartAxis* pX = m_pPriceChart->m_pXAxis;
    const CChartAxis* pY = m_pPriceChart->m_pYAxis;
    // Each series against its own axes: the comparison's per cents share the price axis, but
    // only the main series has a volume pane (an index's volumes would overflow it every tick).
    const BOOL bMain = pHolder == m_pMainHolder;
    const BOOL bVolume = m_bShowVolume && bMain;
    const int nValue = ValueCents(HasComparison() ? T->m_dPercent : T->m_dClose);
    // A chart that had no data never laid its axes out: its first point does.
    const BOOL bOutside = !m_bAxesLaidOut || T->m_nTime > pX->m_nMax || nValue > pY->m_nMax || nValue < pY->m_nMin ||
                          (bVolume && m_pVolumeChart->GetLastVolume() + T->m_nVolume > m_pVolumeChart->GetVolumeTop());
    // A line too narrow to read is marked with a dash, which a redraw over the old picture would
    // leave behind when the price moves: while it shows, each quote repaints the chart.
    if (bOutside || m_pPriceChart->HasMark()) {
        Relayout();
        return;
    }
    CClientDC dc(this);
    if (dc.m_hDC == nullptr)
        return;
    m_pPriceChart->RedrawBar(&dc, T->m_nTime);
    if (bVolume)
        m_pVolumeChart->RedrawBar(&dc, T->m_nTime);
}

void CZorvatChartView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED && nType != SIZE_MAXSHOW && nType != SIZE_MAXHIDE) {
        LayoutPanes();
        // The panes moved: what was drawn where they stood before must go as well.
        if (m_hWnd != nullptr)
            InvalidateRect(nullptr, TRUE);
    }
}

void CZorvatChartView::OnDraw(CDC* pDC)
{
    ::SetMapMode(pDC->m_hDC, MM_TEXT);
    CRect rcClient;
    GetClientRect(&rcClient);
    UINT nMessage = 0;
    if (!m_pMainHolder->IsComplete() || (HasComparison() && !m_pCompHolder->IsComplete()))
        nMessage = IDS_CHART_WAITING;
    else if (!m_pMainHolder->HasData())
        nMessage = IDS_CHART_NO_DATA;
    // A chart restored hidden never chose its pair: it waits, on the historical pair's colour.
    if (m_pPriceChart == nullptr && nMessage == 0)
        nMessage = IDS_CHART_WAITING;
    if (nMessage != 0) {
        DrawMessage(pDC, rcClient, nMessage);
        return;
    }
    // The charts paint their strips and data, not the plot's ground: the view clears it.
    pDC->FillSolidRect(rcClient, m_pPriceChart->m_crBackground);
    for (CZorvatChart* pChart : {m_pPriceChart, m_bShowVolume ? m_pVolumeChart : nullptr}) {
        if (pChart == nullptr)
            continue;
        const int nSaved = ::SaveDC(pDC->m_hDC);
        pChart->Draw(pDC);
        ::RestoreDC(pDC->m_hDC, nSaved);
    }
    if (m_bShowVolume)
        pDC->FillSolidRect(GetSplitterRect(), RGB(255, 255, 255));
    // The legend last, over the plot's top.
    DrawLegend(pDC, rcClient);
}

void CZorvatChartView::DrawMessage(CDC* pDC, const CRect& rcClient, UINT nTextId)
{
    const CZorvatChart* pChart = m_pPriceChart != nullptr ? m_pPriceChart : m_pHistoricalChart;
    const COLORREF crBack = pChart->m_pXAxis->m_crBackground;
    pDC->FillSolidRect(rcClient, crBack);
    const COLORREF crOldBack = pDC->SetBkColor(crBack);
    CFont font;
    MakeFont(font, 16, FW_NORMAL);
    CFont* pOldFont = pDC->SelectObject(&font);
    CRect rc = rcClient;
    pDC->DrawText(LoadText(nTextId), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SelectObject(pOldFont);
    pDC->SetBkColor(crOldBack);
}

void CZorvatChartView::DrawLegend(CDC* pDC, const CRect& rcClient)
{
    CFont font;
    MakeFont(font, 12, 100);
    CFont* pOldFont = pDC->SelectObject(&font);
    const COLORREF crOldBack = pDC->SetBkColor(m_pPriceChart->m_pXAxis->m_crBackground);
    // The legend stands inside the price pane's plot, under its frame line and right of the
    // value labels: in the few pixels above the frame a line of text (an Arabic one most of
    // all) would be crossed by the frame and would hide the top value label.
    const RECT& rcPlot = m_pPriceChart->GetPlotRect();
    const BOOL bInPlot = rcPlot.right > rcPlot.left && rcPlot.bottom > rcPlot.top;
    int nLeft = bInPlot ? rcPlot.left + 5 : rcClient.left + 5;
    const int nTop = bInPlot ? rcPlot.top + 2 : rcClient.top;
    // A text measured and drawn at the top; with a colour, its short line after it. The next
    // entry starts 10 pixels after the line.
    auto entry = [&](const CString& strText, const COLORREF* pcrLine) {
        CRect rc(nLeft, nTop, rcClient.right, rcClient.bottom - m_nBottomMargin);
        pDC->DrawText(strText, &rc, DT_CALCRECT | DT_VCENTER | DT_SINGLELINE);
        pDC->DrawText(strText, &rc, DT_VCENTER | DT_SINGLELINE);
        if (pcrLine == nullptr)
            return;
        const int y = rc.top + rc.Height() / 2 - 1;
        CPen pen(PS_SOLID, 0, *pcrLine);
        CPen* pOldPen = pDC->SelectObject(&pen);
        pDC->MoveTo(rc.right + 5, y);
        pDC->LineTo(rc.right + 15, y);
        pDC->SelectObject(pOldPen);
        nLeft = rc.right + 15 + 10;
    };
    const COLORREF crMain = m_pPriceChart->GetMainColor(), crCompare = m_pPriceChart->GetCompareColor();
    entry(m_strTkrSymb, &crMain);
    if (!m_strTkrSymbComp.IsEmpty())
        entry(m_strTkrSymbComp, &crCompare);
    if (m_bShowVolume) {
        const int nExponent = m_pVolumeChart->m_pYAxis->m_nExponent;
        if (nExponent == 3 || nExponent == 6)
            entry(LoadText(nExponent == 3 ? IDS_CHART_THOUSANDS : IDS_CHART_MILLIONS), nullptr);
    }
    pDC->SetBkColor(crOldBack);
    pDC->SelectObject(pOldFont);
}
