#pragma once
// What one chart window shows (ticker, comparison, duration, period, indicators, market), kept
// in the chart's workspace section. The chart view derives from it and is so its own settings;
// the two series holders of the view are attached here and asked for their series when a
// choice that shapes a series changes.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

class CIni;
class CZorvatChartDataHolder;

// The choices of the chart chooser: the dialog (CChartChooserDlg) carries them as its members.
struct CChartChoices
{
    int m_nCompare = 0;             // 0 the typed m_strCompare (none when empty), 1..3 an index
    int m_nDuration = 0;            // 0 today, 1..5 the historical spans
    int m_nMovingAverage = 0;       // 0 none, 1..7 the lengths of GetMovingAverageLength
    int m_nPeriod = 0;              // 0 five minutes, 1 fifteen, 2 daily, 3 weekly, 4 monthly
    BOOL m_bStandardVariation = FALSE;
    CString m_strTicker;
    CString m_strCompare;
    CString m_strMarket;            // market name as the chooser's list shows it
    int m_nLineType = 0;            // 1 bars, other a line
    BOOL m_bShowVolume = TRUE;
    int m_nMarket = 0;              // market code
};

#define CHART_DURATION_COUNT 6      // durations 0 (today) to 5
#define CHART_MARKET_KSE 2          // the market whose series come with "KH"

class CZorvatChartSettings
{
public:
    CZorvatChartSettings() = default;
    virtual ~CZorvatChartSettings() = default;
    CZorvatChartSettings(const CZorvatChartSettings&) = delete;
    CZorvatChartSettings& operator=(const CZorvatChartSettings&) = delete;

    // The chooser's rules, shared with the dialog. Periods a duration allows form one range; a
    // duration outside 0..5 allows none. FitPeriod keeps an allowed period and replaces any other
    // by the duration's first (0 for a duration outside 0..5).
    static BOOL IsPeriodAllowed(int nDuration, int nPeriod);
    static int FitPeriod(int nDuration, int nPeriod);
    // Moving-average codes 1..7 to their lengths; any other code 0 (none).
    static int GetMovingAverageLength(int nCode);
    // Comparison codes 1..3 to the index tickers; 0 and any other code null (the typed ticker).
    static LPCSTR GetIndexTicker(int nCode);

    // The chooser. Apply clears and re-requests only the series whose shape changed.
    virtual void ApplyFromChooser(CChartChoices& choices);
    virtual void FillChooser(CChartChoices& choices);

    // Told by the holders: a reply ended, or a live quote changed a series.
    virtual void OnSeriesComplete(const char* pszTicker) = 0;
    virtual void OnSeriesUpdated(const char* pszTicker, CZorvatChartDataHolder* pHolder) = 0;

    virtual BOOL HasComparison() const { return !m_strTkrSymb.IsEmpty() && !m_strTkrSymbComp.IsEmpty(); }
    virtual BOOL IsIntraday() const { return m_nDuration == 0; }
    virtual CZorvatChartDataHolder* GetMainHolder() const { return m_pMainHolder; }
    virtual CZorvatChartDataHolder* GetCompHolder() const { return m_pCompHolder; }

    // The workspace, in the section the caller chose. Load of a section without "TkrSymb"
    // changes nothing; otherwise it brings the values within the chooser's rules, takes the
    // market name from the stored market code and asks the holders for their series.
    virtual void Save(CIni& ini);
    virtual void Load(CIni& ini);

    // The holders, not owned: the view makes them and attaches them once.
    void SetHolders(CZorvatChartDataHolder* pMain, CZorvatChartDataHolder* pComp)
    {
        m_pMainHolder = pMain;
        m_pCompHolder = pComp;
    }

    const CString& GetTicker() const { return m_strTkrSymb; }
    const CString& GetCompTicker() const { return m_strTkrSymbComp; }
    // The ticker of a series: 0 main, 1 comparison, any other empty.
    const CString& GetSeriesTicker(int nSeriesIndex) const;
    const CString& GetMarketName() const { return m_strMarketName; }
    int GetDuration() const { return m_nDuration; }
    int GetMovingAverage() const { return m_nMovingAverage; }
    int GetPeriod() const { return m_nPeriod; }
    BOOL IsStandardVariation() const { return m_bStandardVariation; }
    int GetLineType() const { return m_nLineType; }
    BOOL IsShowVolume() const { return m_bShowVolume; }
    int GetMarket() const { return m_nMarket; }

protected:
    CString m_strTkrSymb;                   // main ticker; empty: no chart
    CString m_strTkrSymbComp;               // comparison ticker; empty: none
    CString m_strMarketName;                // not stored; Load takes it from m_nMarket
    int m_nDuration = 0;
    int m_nMovingAverage = 0;
    int m_nPeriod = 0;
    BOOL m_bStandardVariation = FALSE;
    int m_nLineType = 0;
    BOOL m_bShowVolume = TRUE;
    int m_nMarket = 1;
    CZorvatChartDataHolder* m_pMainHolder = nullptr;    // not owned
    CZorvatChartDataHolder* m_pCompHolder = nullptr;    // not owned
};
