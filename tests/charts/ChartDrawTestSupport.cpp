#include "ChartDrawTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "charts/ChartPoint.h"
#include "link/LinkDoubles.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"

namespace {
// The display for fonts and image files, and the message codes lines are parsed by.
class CChartDrawEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        RegisterCodesForTest();
    }
};
const auto* s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CChartDrawEnvironment);
}  // namespace

CChartCanvas::CChartCanvas(int cx, int cy) : m_cx(cx), m_cy(cy)
{
    std::vector<DWORD> bits(static_cast<size_t>(cx) * cy, 0x00FFFFFF);
    m_hBitmap = CreateBitmap(cx, cy, 1, 32, bits.data());
    m_dc.Attach(CreateCompatibleDC(nullptr));
    m_hOld = SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
}

CChartCanvas::~CChartCanvas()
{
    SelectObject(m_dc.GetSafeHdc(), m_hOld);
    DeleteDC(m_dc.Detach());
    DeleteObject(m_hBitmap);
}

COLORREF CChartCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_cx || y >= m_cy)
        return CLR_INVALID;
    if (m_bStale) {
        m_bits.assign(static_cast<size_t>(m_cx) * m_cy, 0);
        GetBitmapBits(m_hBitmap, static_cast<LONG>(m_bits.size() * 4), m_bits.data());
        m_bStale = FALSE;
    }
    const DWORD px = m_bits[static_cast<size_t>(y) * m_cx + x];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

void CChartCanvas::Draw(CChart& chart)
{
    const int nSaved = ::SaveDC(GetDC()->GetSafeHdc());
    chart.Draw(GetDC());
    ::RestoreDC(m_dc.GetSafeHdc(), nSaved);
}

void CChartCanvas::SavePng(const char* pszName)
{
    const std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    SelectObject(m_dc.GetSafeHdc(), m_hOld);
    EXPECT_TRUE(TbSaveBitmapPng(m_hBitmap, (strDir + "/" + pszName).c_str())) << pszName;
    m_hOld = SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
}

void CChartSeries::Set(const char* pszTicker, const char* pszCompare, int nDuration, int nPeriod, int nAverage,
                       BOOL bBands)
{
    CChartChoices choices;
    m_chart.FillChooser(choices);
    choices.m_strTicker = pszTicker;
    choices.m_nCompare = 0;
    choices.m_strCompare = pszCompare;
    choices.m_nDuration = nDuration;
    choices.m_nPeriod = nPeriod;
    choices.m_nMovingAverage = nAverage;
    choices.m_bStandardVariation = bBands;
    choices.m_nMarket = 4;
    m_chart.ApplyFromChooser(choices);
}

namespace {
void FireHeader(CChartSeries& series, int nSeries, double dReference)
{
    static const int s_anPeriodCodes[] = {0, 0, 3, 4, 5};
    CZorvatChartDataHolder* pHolder = nSeries == 0 ? series.Main() : series.Compare();
    pHolder->RequestSeries();
    char szLine[128];
    snprintf(szLine, sizeof szLine, "~CD|1|XC||%s|%d|%d|20|0|%.2f|0", static_cast<LPCSTR>(pHolder->GetTicker()),
             series.m_chart.GetDuration(), s_anPeriodCodes[series.m_chart.GetPeriod()], dReference);
    FireSeriesLine(series.m_source, szLine);
}
}  // namespace

void CChartSeries::FeedHistory(int nSeries, const std::vector<HistoryRow>& rows)
{
    FireHeader(*this, nSeries, 0);
    for (const HistoryRow& r : rows) {
        char szLine[256];
        snprintf(szLine, sizeof szLine, "%d|%.2f|%lld|%.2f|%.2f|%.2f|%.2f|%.2f", r.nDate - 20000000, r.dClose, r.nVolume,
                 r.dHigh, r.dLow, r.dOpen, r.dAverage, r.dDeviation);
        FireSeriesLine(m_source, szLine);
    }
    FireSeriesLine(m_source, "$EN|1|XC");
}

void CChartSeries::FeedTrades(int nSeries, double dReference, const std::vector<TradeRow>& rows)
{
    FireHeader(*this, nSeries, dReference);
    for (const TradeRow& r : rows) {
        char szLine[128];
        snprintf(szLine, sizeof szLine, "%02d%02d%02d|%.2f|%lld", r.nSeconds / 3600, r.nSeconds / 60 % 60,
                 r.nSeconds % 60, r.dPrice, r.nVolume);
        FireSeriesLine(m_source, szLine);
    }
    FireSeriesLine(m_source, "$EN|1|XC");
}

std::vector<int> TradingDays(int nFirst, int nCount)
{
    std::vector<int> days;
    for (CNorvDate date(nFirst); static_cast<int>(days.size()) < nCount; date.AddDays(1))
        if (date.DayOfWeek() <= 5)
            days.push_back(date.GetPacked());
    return days;
}
