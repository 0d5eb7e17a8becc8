#pragma once
// One price series of a chart window, and the message sink that asks for it ("CD" or "KH"),
// takes the reply into a list of points and keeps an intraday series current from the live
// "GS", "QQ" and "IX" quotes, one point a minute. The view owns two (series 0 the main ticker,
// 1 the comparison) and clears them before it deletes them. The holder never draws.
#include "charts/ChartPoint.h"
#include "link/MessageSink.h"
#include "platform/mfc/String.h"

class CServerMessage;
class CZorvatMessageSource;
class CZorvatChartSettings;
struct CHART_REPLY_KIND;
struct CHART_LIVE_FIELDS;

class CZorvatChartDataHolder : public CZorvatMessageSink
{
public:
    // Registers with the source given, or with the application's when it is null; the
    // destructor takes it out again.
    explicit CZorvatChartDataHolder(int nSeriesIndex, CZorvatMessageSource* pSource = nullptr);
    ~CZorvatChartDataHolder() override;

    // The series. ClearSeries deletes the points (the pending live points stay); RequestSeries
    // sends the request the settings describe, and drops the live points kept for an earlier
    // one. Nothing is sent for an empty ticker or while the link is down.
    virtual void ClearSeries();
    virtual void RequestSeries();

    // The view attaches its settings once, right after making the holder; not owned.
    virtual void SetSettings(CZorvatChartSettings* pSettings) { m_pSettings = pSettings; }
    virtual CZorvatChartSettings* GetSettings() const { return m_pSettings; }

    // What the charts read. The list is oldest first; historical points carry in m_nTime their
    // day, week or month counted from GetStartDate (packed yyyymmdd) once the reply ended.
    virtual CChartPoint* GetHead() const { return m_pHead; }
    virtual CChartPoint* GetTail() const { return m_pTail; }
    virtual double GetHeaderRef() const { return m_dHeaderRef; }
    virtual int GetSeriesIndex() const { return m_nSeriesIndex; }
    virtual int GetStartDate() const { return m_nStartDate; }
    BOOL IsComplete() const { return m_bComplete; }
    // A point to chart: for today's US series one inside the market's session hours, so that a
    // pre-market quote alone leaves the chart without data.
    BOOL HasData() const;
    // The ticker the settings give this series now; empty without settings.
    CString GetTicker() const;

    // Handlers; the constructor states their types.
    void OnCD(CServerMessage* pMsg) override;
    void OnKH(CServerMessage* pMsg) override;
    void OnGS(CServerMessage* pMsg) override;
    void OnQQ(CServerMessage* pMsg) override;
    void OnIX(CServerMessage* pMsg) override;
    // The KSE schedule came: a KSE day taken before it keeps only its session's minutes now.
    void OnGM(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    // The server refused the series: the wait ends, with no points (the error is shown).
    void OnReplyError(int nType, CServerMessage* pMsg) override;

protected:
    // The request line goes out here: the application's link, whose request number is answered
    // (0 or less: not sent). Tests replace it.
    virtual long SendLine(LPCSTR pszLine);

private:
    void OnReplyHeader(CServerMessage* pMsg, const CHART_REPLY_KIND& kind);
    // The header names this holder's ticker, duration and (for a history) period.
    BOOL IsOwnHeader(const CServerMessage& msg, const CHART_REPLY_KIND& kind) const;
    void OnLive(CServerMessage* pMsg, const CHART_LIVE_FIELDS& fields);
    CChartPoint* MakeIntradayPoint(const CServerMessage& row);
    CChartPoint* MakeHistoricalPoint(const CServerMessage& row);
    // A KSE minute (server time, seconds of the day) inside the schedule's session hours.
    static BOOL InKseSession(int nSeconds);
    void MergePending();
    void PlaceOnCalendar();
    // An intraday time of the server moved onto the axis's clock (m_nClockShift).
    int OnAxisClock(int nSeconds) const;
    void SetPercent(CChartPoint* pPoint) const;
    static void DeleteList(CChartPoint*& pHead, CChartPoint*& pTail);
    static void Append(CChartPoint*& pHead, CChartPoint*& pTail, CChartPoint* pPoint);

    CZorvatMessageSource* m_pSource = nullptr;      // not owned; where the holder is registered
    int m_nSeriesIndex = 0;
    CChartPoint* m_pHead = nullptr;                 // the series, owned
    CChartPoint* m_pTail = nullptr;
    CChartPoint* m_pPendingHead = nullptr;          // live points of a reply still running, owned
    CChartPoint* m_pPendingTail = nullptr;
    double m_dHeaderRef = 0.0;                      // the intraday header's reference price
    double m_dPctBase = 0.0;                        // base of the per-cent changes
    int m_nDurationCode = 0;                        // as last requested, 0..5
    int m_nPeriodCode = 0;                          // as last requested: 0, 3, 4 or 5
    CZorvatChartSettings* m_pSettings = nullptr;    // not owned: the view's
    BOOL m_bComplete = FALSE;                       // the last reply asked for has ended
    BOOL m_bReceiving = FALSE;                      // a reply of ours is running
    int m_nStartDate = 0;                           // historical: the date of slot 0
    LONGLONG m_nLastCumVolume = 0;                  // the day's cumulative volume last seen
    int m_nClockShift = 0;                          // intraday: server time to the axis's, as requested
    int m_nDayFirst = 0, m_nDayLast = 86400;        // intraday: the axis's span on its clock, as requested
    int m_nOpen = 0, m_nClose = -1;                 // today's US session on the axis's clock; -1: any point
    const CHART_REPLY_KIND* m_pReplyKind = nullptr; // the reply taken last ("CD" or "KH")
    BOOL m_bSessionUnread = FALSE;                  // KSE minutes kept before the schedule came
};
