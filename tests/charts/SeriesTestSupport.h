#pragma once
// The series tests' setting: chart settings with their two holders on a message source of the
// test's own, the request lines they send kept, and the series written out as text.
#include <string>
#include <vector>
#include "charts/ZorvatChartDataHolder.h"
#include "charts/ZorvatChartSettings.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"

// A holder whose request lines are kept instead of sent.
class CRecordingHolder : public CZorvatChartDataHolder
{
public:
    CRecordingHolder(int nSeriesIndex, CZorvatMessageSource* pSource) : CZorvatChartDataHolder(nSeriesIndex, pSource) {}
    std::vector<std::string> lines;

protected:
    long SendLine(LPCSTR pszLine) override
    {
        lines.push_back(pszLine);
        return static_cast<long>(lines.size());
    }
};

// Settings as a chart view has them, counting what the holders tell.
class CSeriesChart : public CZorvatChartSettings
{
public:
    explicit CSeriesChart(CZorvatMessageSource* pSource) : main(0, pSource), comp(1, pSource)
    {
        main.SetSettings(this);
        comp.SetSettings(this);
        SetHolders(&main, &comp);
    }
    ~CSeriesChart() override
    {
        main.ClearSeries();
        comp.ClearSeries();
    }
    void OnSeriesComplete(const char* /*pszTicker*/) override { ++nComplete; }
    void OnSeriesUpdated(const char* /*pszTicker*/, CZorvatChartDataHolder* /*pHolder*/) override { ++nUpdated; }
    // The chooser's road: the choices applied as its OK applies them.
    void Choose(const char* pszTicker, int nDuration, int nPeriod, int nMarket = 4, const char* pszCompare = "",
                int nAverage = 0)
    {
        CChartChoices choices;
        FillChooser(choices);
        choices.m_strTicker = pszTicker;
        choices.m_nDuration = nDuration;
        choices.m_nPeriod = nPeriod;
        choices.m_nMarket = nMarket;
        choices.m_nCompare = 0;
        choices.m_strCompare = pszCompare;
        choices.m_nMovingAverage = nAverage;
        ApplyFromChooser(choices);
    }

    CRecordingHolder main, comp;
    int nComplete = 0;
    int nUpdated = 0;
};

// A line as the dispatcher hands it on: "EN", a reply's data row, or a typed line.
inline void FireSeriesLine(CZorvatMessageSource& source, const std::string& strLine)
{
    CServerMessage msg(strLine.c_str(), 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

// A series as "time:close:count:volume", points joined by '|'; the prices with two decimals.
inline std::string SeriesText(const CZorvatChartDataHolder& holder)
{
    std::string strText;
    char szPoint[96];
    for (const CChartPoint* p = holder.GetHead(); p != nullptr; p = p->m_pNext) {
        snprintf(szPoint, sizeof(szPoint), "%s%d:%.2f:%d:%lld", strText.empty() ? "" : "|", p->m_nTime, p->m_dClose,
                 p->m_nCount, static_cast<long long>(p->m_nVolume));
        strText += szPoint;
    }
    return strText;
}
