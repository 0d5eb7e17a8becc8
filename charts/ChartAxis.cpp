#include "charts/ChartAxis.h"

#include <climits>
#include <cmath>
#include <cstdio>

CChartAxis::CChartAxis(BOOL bVertical, int nThickness) : m_nThickness(nThickness), m_bVertical(bVertical)
{
    LOGFONTA lf = {};
    lf.lfHeight = 12;
    lf.lfWeight = 100;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Arial");
    m_font.CreateFontIndirect(&lf);
}

void CChartAxis::SetRect(const RECT* pRect)
{
    m_rcAxis = *pRect;
    UpdateScale();
}

int CChartAxis::StripLength() const
{
    return m_bVertical ? m_rcAxis.bottom - m_rcAxis.top : m_rcAxis.right - m_rcAxis.left;
}

void CChartAxis::UpdateScale()
{
    const int nLength = StripLength() - 2 * m_nInset;
    // A strip no longer than its insets, or a reversed range, has no usable scale: 0 keeps every
    // mapping at the inset and tells Draw to leave the ticks out.
    if (nLength <= 0 || m_nMax < m_nMin)
        m_dScale = 0.0;
    else
        m_dScale = (static_cast<double>(m_nMax) - m_nMin) / nLength;
}

int CChartAxis::ValueToPixel(int nValue) const
{
    int nPixel = 0;
    if (m_dScale > 0.0) {
        const double d = (static_cast<double>(nValue) - m_nMin) / m_dScale;
        nPixel = static_cast<int>(std::fmax(std::fmin(d, INT_MAX / 2), INT_MIN / 2));
    }
    return m_bVertical ? StripLength() - nPixel - m_nInset : nPixel + m_nInset;
}

int CChartAxis::PixelToValue(int nPixel) const
{
    return m_nMin + static_cast<int>((nPixel - m_nInset) * m_dScale);
}

int CChartAxis::GetLength(double dScale) const
{
    if (dScale <= 0.0)
        return 2 * m_nInset;
    return static_cast<int>((static_cast<double>(m_nMax) - m_nMin) / dScale) + 2 * m_nInset;
}

void CChartAxis::GetLabel(int nValue, CString& strText)
{
    if (m_pDescr != nullptr)
        strText = m_pDescr->Describe(nValue, m_bVertical);
    else
        FormatLabel(nValue, strText);
}

long long CChartAxis::GetUnit() const
{
    long long nUnit = 1;
    for (int i = 0; i < m_nUnitExponent && nUnit <= LLONG_MAX / 10; ++i)
        nUnit *= 10;
    return nUnit;
}

void CChartAxis::FormatLabel(int nValue, CString& strText)
{
    double d = static_cast<double>(nValue) * static_cast<double>(GetUnit());
    const int nTimes = m_nExponent < 0 ? -m_nExponent : m_nExponent;
    for (int i = 0; i < nTimes; ++i)
        d /= 10.0;
    strText.Format("%.*f", m_nExponent <= 0 ? -m_nExponent : 0, d);
}

long long CChartAxis::PixelSpan(long long nValues) const
{
    if (m_dScale <= 0.0)
        return 0;
    return static_cast<long long>(static_cast<double>(nValues) / m_dScale);
}

// The configured step, doubled until two labels are at least d pixels apart. The doubling stops
// where one more step would pass the visible range: no second tick could show anyway.
int CChartAxis::MajorStep(CDC* pDC)
{
    long long nMinDistance = 16;
    if (!m_bVertical) {
        CString strLabel;
        GetLabel(m_nMin, strLabel);
        CFont* pOld = pDC->SelectObject(&m_font);
        const CSize size = pDC->GetTextExtent(strLabel);
        pDC->SelectObject(pOld);
        if (size.cx > nMinDistance)
            nMinDistance = size.cx;
    }
    long long nStep = m_nStep;
    const long long nRange = static_cast<long long>(m_nMax) - m_nMin;
    while (PixelSpan(nStep) < nMinDistance && nStep <= nRange)
        nStep *= 2;
    return static_cast<int>(nStep > INT_MAX ? INT_MAX : nStep);
}

// The smallest divisor of nStep above nMinor that is at least 4 pixels wide: what raising nMinor
// one by one until it divides the step again finds, without walking up to a large step.
int CChartAxis::MinorStepAbove(int nStep, int nMinor) const
{
    int nBest = nStep;
    for (int d = 1; static_cast<long long>(d) * d <= nStep; ++d) {
        if (nStep % d != 0)
            continue;
        for (const int c : {d, nStep / d})
            if (c > nMinor && c < nBest && PixelSpan(c) >= 4)
                nBest = c;
    }
    return nBest;
}

void CChartAxis::Draw(CDC* pDC)
{
    RECT rcClip = {};
    ::GetClipBox(pDC->GetSafeHdc(), &rcClip);
    RECT rcVisible = {};
    if (!::IntersectRect(&rcVisible, &rcClip, &m_rcAxis))
        return;
    const COLORREF crOldBack = pDC->SetBkColor(m_crBackground);
    pDC->FillSolidRect(m_rcAxis, m_crBackground);
    if (HasScale() && m_nMax > m_nMin && m_nStep > 0) {
        const int nStep = MajorStep(pDC);
        DrawTicks(pDC, nStep, 7, m_nTickPenWidth, m_crMajorTick, m_bLabels);
        if (m_bLabels && m_bMinorTicks && m_nMinorDivisor > 0) {
            int nMinor = m_nMinorDivisor;
            while (nMinor > 1 && nStep % nMinor != 0)
                --nMinor;
            if (PixelSpan(nMinor) < 4)
                nMinor = MinorStepAbove(nStep, nMinor);
            if (nMinor < m_nStep)
                DrawTicks(pDC, nMinor, 4, 1, m_crMinorTick, FALSE);
        }
    }
    pDC->SetBkColor(crOldBack);
}

void CChartAxis::DrawTicks(CDC* pDC, int nStep, int nLength, int nPenWidth, COLORREF cr, BOOL bLabels)
{
    if (nStep <= 0)
        return;
    CPen pen(PS_SOLID, nPenWidth, cr);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CFont* pOldFont = pDC->SelectObject(&m_font);
    const COLORREF crOldText = pDC->SetTextColor(m_crText);
    long long nValue = m_nMin / nStep * nStep;
    if (nValue < m_nMin)
        nValue += nStep;
    CString strLabel;
    for (; nValue <= m_nMax; nValue += nStep) {
        const int v = static_cast<int>(nValue);
        if (m_bVertical) {
            const int y = ValueToPixel(v) + m_rcAxis.top;
            pDC->MoveTo(m_rcAxis.right - nLength, y);
            pDC->LineTo(m_rcAxis.right, y);
            if (bLabels) {
                GetLabel(v, strLabel);
                CRect rcText(0, 0, 0, 0);
                pDC->DrawText(strLabel, &rcText, DT_CALCRECT | DT_SINGLELINE);
                const int nHalf = rcText.Height() / 2;
                CRect rcLabel(m_rcAxis.left, y - nHalf, m_rcAxis.right - nLength - 5, y + nHalf);
                rcLabel.left = rcLabel.right - rcText.Width();
                pDC->DrawText(strLabel, &rcLabel, DT_RIGHT | DT_SINGLELINE | DT_NOCLIP);
            }
        } else {
            const int x = ValueToPixel(v) + m_rcAxis.left;
            pDC->MoveTo(x, m_rcAxis.top + nLength);
            pDC->LineTo(x, m_rcAxis.top);
            if (bLabels) {
                GetLabel(v, strLabel);
                const CSize size = pDC->GetTextExtent(strLabel);
                const int nHalf = (size.cx + 1) / 2;
                CRect rcLabel(x - nHalf, m_rcAxis.top + nLength + 5, x + nHalf, m_rcAxis.bottom);
                if (rcLabel.right > m_nLabelRight)
                    rcLabel.OffsetRect(m_nLabelRight - rcLabel.right, 0);
                pDC->DrawText(strLabel, &rcLabel, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
            }
        }
    }
    pDC->SetTextColor(crOldText);
    pDC->SelectObject(pOldFont);
    pDC->SelectObject(pOldPen);
}
