#pragma once
// What the drawing tests share: a colour memory DC to paint into and read back, and a chart
// window's series filled through reply lines of the message source (SeriesTestSupport.h).
#include <vector>

#include "SeriesTestSupport.h"
#include "charts/Chart.h"
#include "platform/mfc/DC.h"

// A white 32-bit bitmap in a memory DC. Pixel reads what was drawn up to the last GetDC.
class CChartCanvas
{
public:
    CChartCanvas(int cx, int cy);
    ~CChartCanvas();
    CDC* GetDC()
    {
        m_bStale = TRUE;
        return &m_dc;
    }
    COLORREF Pixel(int x, int y) const;
    void Clear() { GetDC()->FillSolidRect(RECT{0, 0, m_cx, m_cy}, RGB(255, 255, 255)); }
    void Draw(CChart& chart);                   // in a saved DC state, as the chart view does
    void SavePng(const char* pszName);          // under build/screenshots
    int m_cx, m_cy;

private:
    CDC m_dc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    mutable std::vector<DWORD> m_bits;          // 0x00RRGGBB rows
    mutable BOOL m_bStale = TRUE;
};

// Rows of a historical reply (date yyyymmdd, close, volume, high, low, open, average,
// deviation) and of an intraday one (seconds of the day, price, volume).
struct HistoryRow { int nDate; double dClose; long long nVolume; double dHigh, dLow, dOpen, dAverage, dDeviation; };
struct TradeRow { int nSeconds; double dPrice; long long nVolume; };

// A chart's settings and both holders on a source of their own.
class CChartSeries
{
public:
    CChartSeries() : m_chart(&m_source) {}
    // As the chooser's OK applies it; market 4 asks with "CD".
    void Set(const char* pszTicker, const char* pszCompare, int nDuration, int nPeriod, int nAverage = 0,
             BOOL bBands = FALSE);
    void FeedHistory(int nSeries, const std::vector<HistoryRow>& rows);
    void FeedTrades(int nSeries, double dReference, const std::vector<TradeRow>& rows);
    CZorvatChartDataHolder* Main() { return &m_chart.main; }
    CZorvatChartDataHolder* Compare() { return &m_chart.comp; }
    CZorvatMessageSource m_source;
    CSeriesChart m_chart;
};

// The trading days from a date on, Saturdays and Sundays left out, as yyyymmdd.
std::vector<int> TradingDays(int nFirst, int nCount);
