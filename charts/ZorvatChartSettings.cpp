// The chart settings: the chooser's rules, applying and filling the chooser, the workspace keys.
#include "charts/ZorvatChartSettings.h"

#include "charts/ZorvatChartDataHolder.h"
#include "framework/base/Ini.h"
#include "refdata/ZorvatGlobals.h"

namespace {
// The periods each duration allows, by duration: today 5 or 15 minutes, the short spans daily or
// weekly, the long ones weekly or monthly, five years monthly.
const struct { int nFirst, nLast; } s_periods[CHART_DURATION_COUNT] = {{0, 1}, {2, 3}, {2, 3}, {3, 4}, {3, 4}, {4, 4}};
const int s_anAverageLengths[] = {5, 12, 13, 20, 26, 50, 200};
const char* const s_apszIndices[] = {".DJI", ".IXIC", ".GSPC"};
const int AVERAGE_CODES = static_cast<int>(sizeof(s_anAverageLengths) / sizeof(s_anAverageLengths[0]));
const int INDEX_CODES = static_cast<int>(sizeof(s_apszIndices) / sizeof(s_apszIndices[0]));

void ClearAndMark(CZorvatChartDataHolder* pHolder)
{
    if (pHolder != nullptr)
        pHolder->ClearSeries();
}

void Request(CZorvatChartDataHolder* pHolder)
{
    if (pHolder != nullptr)
        pHolder->RequestSeries();
}
}

BOOL CZorvatChartSettings::IsPeriodAllowed(int nDuration, int nPeriod)
{
    if (nDuration < 0 || nDuration >= CHART_DURATION_COUNT)
        return FALSE;
    return nPeriod >= s_periods[nDuration].nFirst && nPeriod <= s_periods[nDuration].nLast;
}

int CZorvatChartSettings::FitPeriod(int nDuration, int nPeriod)
{
    if (nDuration < 0 || nDuration >= CHART_DURATION_COUNT)
        return 0;
    return IsPeriodAllowed(nDuration, nPeriod) ? nPeriod : s_periods[nDuration].nFirst;
}

int CZorvatChartSettings::GetMovingAverageLength(int nCode)
{
    return nCode >= 1 && nCode <= AVERAGE_CODES ? s_anAverageLengths[nCode - 1] : 0;
}

LPCSTR CZorvatChartSettings::GetIndexTicker(int nCode)
{
    return nCode >= 1 && nCode <= INDEX_CODES ? s_apszIndices[nCode - 1] : nullptr;
}

const CString& CZorvatChartSettings::GetSeriesTicker(int nSeriesIndex) const
{
    static const CString s_strNone;
    return nSeriesIndex == 0 ? m_strTkrSymb : nSeriesIndex == 1 ? m_strTkrSymbComp : s_strNone;
}

void CZorvatChartSettings::ApplyFromChooser(CChartChoices& choices)
{
    // The comparison shares the main series' axis, so what reshapes one reshapes both.
    const BOOL bShapeChanged = choices.m_nDuration != m_nDuration
                               || (choices.m_nDuration != 0 && choices.m_nPeriod != m_nPeriod)
                               || choices.m_nMovingAverage != m_nMovingAverage;
    BOOL bMainChanged = bShapeChanged;
    if (bMainChanged || choices.m_strTicker != m_strTkrSymb || choices.m_strMarket != m_strMarketName) {
        ClearAndMark(m_pMainHolder);
        bMainChanged = TRUE;
    }
    const LPCSTR pszIndex = GetIndexTicker(choices.m_nCompare);
    const CString strComp = choices.m_nCompare == 0 ? choices.m_strCompare : CString(pszIndex != nullptr ? pszIndex : "");
    BOOL bCompChanged = bShapeChanged;
    if (bCompChanged || strComp != m_strTkrSymbComp) {
        ClearAndMark(m_pCompHolder);
        bCompChanged = TRUE;
    }
    m_strTkrSymb = choices.m_strTicker;
    m_strTkrSymbComp = strComp;
    m_nDuration = choices.m_nDuration;
    m_nPeriod = choices.m_nPeriod;
    m_nMovingAverage = choices.m_nMovingAverage;
    m_bStandardVariation = choices.m_bStandardVariation;
    m_nLineType = choices.m_nLineType;
    m_bShowVolume = choices.m_bShowVolume;
    m_nMarket = choices.m_nMarket;
    m_strMarketName = choices.m_strMarket;
    if (bMainChanged)
        Request(m_pMainHolder);
    if (bCompChanged)
        Request(m_pCompHolder);
}

void CZorvatChartSettings::FillChooser(CChartChoices& choices)
{
    choices.m_strTicker = m_strTkrSymb;
    choices.m_nDuration = m_nDuration;
    choices.m_nPeriod = m_nPeriod;
    choices.m_nMovingAverage = m_nMovingAverage;
    choices.m_bStandardVariation = m_bStandardVariation;
    choices.m_nLineType = m_nLineType;
    choices.m_bShowVolume = m_bShowVolume;
    choices.m_nMarket = m_nMarket;
    choices.m_strCompare.Empty();
    choices.m_nCompare = 0;
    for (int nCode = 1; nCode <= INDEX_CODES; ++nCode)
        if (m_strTkrSymbComp == GetIndexTicker(nCode))
            choices.m_nCompare = nCode;
    if (choices.m_nCompare == 0)
        choices.m_strCompare = m_strTkrSymbComp;
}

void CZorvatChartSettings::Save(CIni& ini)
{
    ini.WriteString("TkrSymb", m_strTkrSymb);
    ini.WriteString("TkrSymbComp", m_strTkrSymbComp);
    ini.WriteInt("Duration", m_nDuration);
    ini.WriteInt("MovingAverage", m_nMovingAverage);
    ini.WriteInt("Period", m_nPeriod);
    ini.WriteBool("StandardVariation", m_bStandardVariation);
    ini.WriteInt("LineType", m_nLineType);
    ini.WriteBool("ShowVolume", m_bShowVolume);
    ini.WriteInt("Market", m_nMarket);
}

void CZorvatChartSettings::Load(CIni& ini)
{
    const CTBString strTicker = ini.GetString("TkrSymb", "");
    if (strTicker.GetLength() == 0)
        return;
    m_strTkrSymb = static_cast<LPCSTR>(strTicker);
    m_strTkrSymbComp = static_cast<LPCSTR>(ini.GetString("TkrSymbComp", ""));
    m_nDuration = ini.GetInt("Duration", 0);
    m_nMovingAverage = ini.GetInt("MovingAverage", 0);
    m_nPeriod = ini.GetInt("Period", 0);
    m_bStandardVariation = ini.GetBool("StandardVariation", FALSE);
    m_nLineType = ini.GetInt("LineType", 0);
    m_bShowVolume = ini.GetBool("ShowVolume", FALSE);
    m_nMarket = ini.GetInt("Market", 0);
    // A section edited by hand, or written by another version, must not ask the server for a
    // series the chooser could never have produced.
    if (m_nDuration < 0 || m_nDuration >= CHART_DURATION_COUNT)
        m_nDuration = 0;
    m_nPeriod = FitPeriod(m_nDuration, m_nPeriod);
    if (m_nDuration == 0 || GetMovingAverageLength(m_nMovingAverage) == 0)
        m_nMovingAverage = 0;
    // The name is not stored; the market code is, so a restored chart asks for its own market.
    m_strMarketName = GetGlobals()->GetMarketName(m_nMarket);
    Request(m_pMainHolder);
    if (!m_strTkrSymbComp.IsEmpty())
        Request(m_pCompHolder);
}
