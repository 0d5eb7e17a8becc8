#pragma once
// One axis of a chart: the visible range of 32-bit axis values, the mapping between values and
// pixels of its strip, and the strip's painting with major and minor ticks and labels.
#include <climits>
#include "platform/mfc/DC.h"
#include "platform/mfc/GdiObject.h"
#include "platform/mfc/String.h"

// The label text of an axis value, supplied by the chart kinds (dates, times, per cents).
class CChartAxisDescr
{
public:
    virtual ~CChartAxisDescr() = default;
    virtual CString Describe(int nValue, BOOL bVertical) = 0;
};

// Made and owned by its CChart. Pixels are relative to the strip's origin; on a vertical axis
// larger values lie higher up.
class CChartAxis
{
public:
    CChartAxis(BOOL bVertical, int nThickness);
    virtual ~CChartAxis() = default;
    CChartAxis(const CChartAxis&) = delete;
    CChartAxis& operator=(const CChartAxis&) = delete;

    // Layout: the strip, then the scale of the visible range over its length less the insets.
    void SetRect(const RECT* pRect);
    void UpdateScale();
    // An axis draws ticks only over a range that is not empty on a strip longer than twice its
    // inset: elsewhere every value maps to the inset and the strip is painted bare.
    BOOL HasScale() const { return m_dScale > 0.0; }

    int ValueToPixel(int nValue) const;
    int PixelToValue(int nPixel) const;         // horizontal axes
    int GetLength(double dScale) const;         // the strip the visible range needs at that scale

    void SetDescr(CChartAxisDescr* pDescr) { m_pDescr = pDescr; }
    void SetExponent(int nExponent) { m_nExponent = nExponent; }
    void GetLabel(int nValue, CString& strText);
    // The value with the decimal exponent: -2 shows 12345 as 123.45, 3 as 12 (thousands).
    // The value is first taken in what it counts (m_nUnitExponent).
    virtual void FormatLabel(int nValue, CString& strText);
    // What one axis value counts: 10 to the power of m_nUnitExponent.
    long long GetUnit() const;

    void Draw(CDC* pDC);
    void DrawTicks(CDC* pDC, int nStep, int nLength, int nPenWidth, COLORREF cr, BOOL bLabels);

    COLORREF m_crBackground = RGB(0, 0, 128);
    COLORREF m_crText = RGB(255, 255, 255);
    COLORREF m_crMajorTick = RGB(255, 255, 255);
    COLORREF m_crMinorTick = RGB(255, 255, 255);
    int m_nThickness;                           // width of a vertical strip, height of a horizontal one
    BOOL m_bVertical;
    RECT m_rcAxis = {0, 0, 0, 0};
    // The rightmost pixel a label of a horizontal axis may reach: the edge of the rectangle its
    // chart was given. A label that would pass it is moved left, whole, rather than cut.
    int m_nLabelRight = INT_MAX;
    int m_nInset = 10;                          // free pixels at both ends of the strip
    CChartAxisDescr* m_pDescr = nullptr;        // not owned; null: FormatLabel
    int m_nExponent = 0;
    // An axis value counts 10^m_nUnitExponent of what the labels show: a volume axis of billions
    // of shares holds thousands, which 32-bit values reach.
    int m_nUnitExponent = 0;
    int m_nDataMax = 1000;
    int m_nDataMin = 0;
    int m_nMax = 1000;                          // the visible range
    int m_nMin = 0;
    int m_nStep = 10;                           // major step before doubling for label room
    int m_nTickPenWidth = 1;
    int m_nMinorDivisor = 5;
    BOOL m_bLabels = TRUE;
    BOOL m_bMinorTicks = TRUE;
    double m_dScale = 1.0;                      // axis values per pixel
    CFont m_font;

private:
    int StripLength() const;
    long long PixelSpan(long long nValues) const;   // pixels between m_nMin and m_nMin + nValues
    int MajorStep(CDC* pDC);
    int MinorStepAbove(int nStep, int nMinor) const;
};
