#pragma once
// What the drawing tests share: a colour memory DC to paint into and read back, and a chart
// window's two series filled through real reply lines of the message source.
#include <string>
#include <vector>

#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartSettings.h"
#include "link/MessageSource.h"
#include "platform/mfc/DC.h"

// A white 32-bit bitmap in a memory DC.
class CChartCanvas
{
public:
    CChartCanvas(int cx, int cy);
    ~CChartCanvas();
    // Handing out the DC marks the pixels read before as stale.
    CDC* GetDC()
    {
        m_bStale = TRUE;
        return &m_dc;
    }
    COLORREF Pixel(int x, int y) const;
    void Clear();
    // Under build/screenshots; FALSE when nothing could be written.
    BOOL SavePng(const char* pszName);
    int m_cx, m_cy;

private:
    CDC m_dc;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    mutable std::vector<DWORD> m_bits;          // 0x00RRGGBB rows, read once per drawing
    mutable BOOL m_bStale = TRUE;
};

// A chart's settings, set by hand; the notifications only count.
class CChartTestSettings : public CZorvatChartSettings
{
public:
    void OnSeriesComplete(const char*) override { ++m_nCompleted; }
    void OnSeriesUpdated(const char*, CZorvatChartDataHolder*) override { ++m_nUpdated; }
    void Set(const char* pszTicker, const char* pszCompare, int nDuration, int nPeriod, int nAverage = 0,
             BOOL bBands = FALSE);
    int m_nCompleted = 0;
    int m_nUpdated = 0;
};

// One row of a historical reply: date, close, volume, high, low, open, average, deviation.
struct HistoryRow
{
    int nDate;                  // yyyymmdd
    double dClose;
    long long nVolume;
    double dHigh, dLow, dOpen, dAverage, dDeviation;
};
// One row of an intraday reply.
struct TradeRow
{
    int nSeconds;
    double dPrice;
    long long nVolume;
};

// The settings and both holders of one chart window, on a message source of their own.
class CChartSeries
{
public:
    CChartSeries();
    ~CChartSeries();
    // Requests as the settings say (nothing leaves: there is no link), then the reply lines.
    void FeedHistory(int nSeries, const std::vector<HistoryRow>& rows);
    void FeedTrades(int nSeries, double dReference, const std::vector<TradeRow>& rows);
    CZorvatChartDataHolder* Holder(int nSeries) { return nSeries == 0 ? &m_main : &m_compare; }
    CZorvatMessageSource m_source;
    CChartTestSettings m_settings;
    CZorvatChartDataHolder m_main;
    CZorvatChartDataHolder m_compare;
};

// The trading days from a Monday date on (Saturdays and Sundays left out), as yyyymmdd.
std::vector<int> TradingDays(int nFirst, int nCount);
