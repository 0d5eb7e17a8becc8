#include "ChartDrawTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "charts/ChartPoint.h"
#include "link/LinkDoubles.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"

namespace {
// The display for fonts and image files, and the message codes the lines are parsed by.
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

void CChartCanvas::Clear()
{
    m_bStale = TRUE;
    m_dc.FillSolidRect(RECT{0, 0, m_cx, m_cy}, RGB(255, 255, 255));
}

BOOL CChartCanvas::SavePng(const char* pszName)
{
    const std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    SelectObject(m_dc.GetSafeHdc(), m_hOld);
    const BOOL bSaved = TbSaveBitmapPng(m_hBitmap, (strDir + "/" + pszName).c_str());
    m_hOld = SelectObject(m_dc.GetSafeHdc(), m_hBitmap);
    return bSaved;
}

void CChartTestSettings::Set(const char* pszTicker, const char* pszCompare, int nDuration, int nPeriod, int nAverage,
                             BOOL bBands)
{
    m_strTkrSymb = pszTicker;
    m_strTkrSymbComp = pszCompare;
    m_nDuration = nDuration;
    m_nPeriod = nPeriod;
    m_nMovingAverage = nAverage;
    m_bStandardVariation = bBands;
}

CChartSeries::CChartSeries() : m_main(0, &m_source), m_compare(1, &m_source)
{
    m_main.SetSettings(&m_settings);
    m_compare.SetSettings(&m_settings);
    m_settings.SetHolders(&m_main, &m_compare);
}

CChartSeries::~CChartSeries()
{
    m_main.ClearSeries();
    m_compare.ClearSeries();
}

namespace {
const int PERIOD_CODES[] = {0, 0, 3, 4, 5};

std::string HeaderFields(const CZorvatChartSettings& settings, const CString& strTicker, double dReference)
{
    char szFields[128];
    snprintf(szFields, sizeof szFields, "%s|%d|%d|20|0|%.2f|0", static_cast<LPCSTR>(strTicker),
             settings.GetDuration(), PERIOD_CODES[settings.GetPeriod()], dReference);
    return szFields;
}
}  // namespace

void CChartSeries::FeedHistory(int nSeries, const std::vector<HistoryRow>& rows)
{
    CZorvatChartDataHolder* pHolder = Holder(nSeries);
    pHolder->RequestSeries();
    FireLine(m_source, ("~CD|1|XC||" + HeaderFields(m_settings, pHolder->GetTicker(), 0)).c_str());
    for (const HistoryRow& row : rows) {
        char szLine[256];
        snprintf(szLine, sizeof szLine, "%d|%.2f|%lld|%.2f|%.2f|%.2f|%.2f|%.2f", row.nDate - 20000000, row.dClose,
                 row.nVolume, row.dHigh, row.dLow, row.dOpen, row.dAverage, row.dDeviation);
        FireLine(m_source, szLine);
    }
    FireLine(m_source, "$EN|1|XC");
}

void CChartSeries::FeedTrades(int nSeries, double dReference, const std::vector<TradeRow>& rows)
{
    CZorvatChartDataHolder* pHolder = Holder(nSeries);
    pHolder->RequestSeries();
    FireLine(m_source, ("~CD|1|XC||" + HeaderFields(m_settings, pHolder->GetTicker(), dReference)).c_str());
    for (const TradeRow& row : rows) {
        char szLine[128];
        snprintf(szLine, sizeof szLine, "%02d%02d%02d|%.2f|%lld", row.nSeconds / 3600, row.nSeconds / 60 % 60,
                 row.nSeconds % 60, row.dPrice, row.nVolume);
        FireLine(m_source, szLine);
    }
    FireLine(m_source, "$EN|1|XC");
}

std::vector<int> TradingDays(int nFirst, int nCount)
{
    std::vector<int> days;
    CNorvDate date(nFirst);
    while (static_cast<int>(days.size()) < nCount) {
        if (date.DayOfWeek() <= 5)
            days.push_back(date.GetPacked());
        date.AddDays(1);
    }
    return days;
}
