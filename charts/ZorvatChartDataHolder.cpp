// The chart series holder: the request, the reply into points, the calendar slots of a
// historical series and the live intraday points.
#include "charts/ZorvatChartDataHolder.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>

#include "app/NorvApp.h"
#include "app/ZorvatApp.h"
#include "charts/ZorvatChart.h"
#include "charts/ZorvatChartSettings.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_TABLE_US_QUOTATIONS 51921   // its rows carry the day's cumulative volume
#define QUOTE_COLUMN_COUNTER 21          // field 9 of "GS", up to its '#'
#define QUOTE_COLUMN_AFTER_HASH 46       // field 9 after its '#'
#define DATE_TEXT 24                    // the server's date and time field types
#define TIME_TEXT 25
#define DATETIME_TEXT 26
#define FIELD_ABSENT (-1)

// What differs between the two series replies; everything else is read once for both.
struct CHART_REPLY_KIND
{
    int nType;
    int nTickerField;           // then the duration and the period
    int nRefField;              // the intraday reference price
    BOOL bSessionHours;         // intraday rows outside the KSE session hours are dropped
    BOOL bHighAtLeastLow;       // a high below the low is raised to it
    BOOL bOpenFromClose;        // a missing open is the close, else 0
    int nWeekStart;             // DayOfWeek of a week's first day
    int nWeekend1, nWeekend2;   // the days a month's first slot steps past
};

// The fields of a live quote.
struct CHART_LIVE_FIELDS
{
    int nType;
    int nZeroField, nNotOneField;   // must read 0, must not read 1; FIELD_ABSENT: no condition
    int nPrice;
    int nTime, nTimeType;           // TIME_TEXT: hhmmss; DATETIME_TEXT: yyyymmddhhmmss
    int nCumVolume;
    int nHigh, nLow;
};

namespace {
const CHART_REPLY_KIND s_replyKinds[] = {
    {MSG_CD, 0, 5, FALSE, TRUE, TRUE, 1, 6, 7},
    {MSG_KH, 2, 6, TRUE, FALSE, FALSE, 7, 5, 6},
};
const CHART_LIVE_FIELDS s_liveFields[] = {
    {MSG_GS, 1, 2, 3, 6, TIME_TEXT, 9, 11, 12},
    {MSG_QQ, FIELD_ABSENT, FIELD_ABSENT, 1, 2, DATETIME_TEXT, 8, 6, 7},
    {MSG_IX, FIELD_ABSENT, FIELD_ABSENT, 1, 17, DATETIME_TEXT, 6, 3, 4},
};

const CHART_REPLY_KIND& ReplyKind(int nType)
{
    return nType == MSG_KH ? s_replyKinds[1] : s_replyKinds[0];
}

const CHART_LIVE_FIELDS& LiveFields(int nType)
{
    for (const CHART_LIVE_FIELDS& fields : s_liveFields)
        if (fields.nType == nType)
            return fields;
    return s_liveFields[0];
}

// Volumes pass 2^31 on the indices, beyond what the message's own conversion holds. A quote's
// counter "trades#volume" gives the number after '#'.
LONGLONG FieldInt64(const CServerMessage& msg, int nField)
{
    const char* pszField = msg.GetFieldText(nField);
    const char* pszHash = strchr(pszField, '#');
    return strtoll(pszHash != nullptr ? pszHash + 1 : pszField, nullptr, 10);
}

// An empty field is as good as none: a high of 0 would stretch the axis to the floor.
BOOL HasField(const CServerMessage& msg, int nField)
{
    return msg.GetFieldText(nField)[0] != 0;
}

// Seconds of the day of a time text whose hour starts at nHourAt and which ends with seconds;
// -1 when the text is too short.
int SecondsOfDay(const CString& strTime, int nHourAt)
{
    const int nLength = strTime.GetLength();
    if (nLength < nHourAt + 6)
        return -1;
    const char* psz = strTime;
    // An empty field comes as blanks: no time, rather than midnight.
    if (psz[nHourAt] == ' ' || psz[nLength - 1] == ' ')
        return -1;
    const char szHour[3] = {psz[nHourAt], psz[nHourAt + 1], 0};
    const char szMinute[3] = {psz[nHourAt + 2], psz[nHourAt + 3], 0};
    return atoi(szHour) * 3600 + atoi(szMinute) * 60 + atoi(psz + nLength - 2);
}

BOOL IsWeekend(const CNorvDate& date, const CHART_REPLY_KIND& kind)
{
    const int nDay = date.DayOfWeek();
    return nDay == kind.nWeekend1 || nDay == kind.nWeekend2;
}

void StepPastWeekend(CNorvDate& date, const CHART_REPLY_KIND& kind)
{
    while (IsWeekend(date, kind))
        date.AddDays(1);
}

int MonthNumber(const CNorvDate& date)
{
    return date.GetYear() * 12 + date.GetMonth() - 1;
}
}

CZorvatChartDataHolder::CZorvatChartDataHolder(int nSeriesIndex, CZorvatMessageSource* pSource)
    : CZorvatMessageSink(CMessageTypeSet{MSG_CD, MSG_GS, MSG_QQ, MSG_IX, MSG_KH, MSG_GM}),
      m_pSource(pSource != nullptr ? pSource : CZORVAT32App::Get()),
      m_nSeriesIndex(nSeriesIndex)
{
    if (m_pSource != nullptr)
        m_pSource->AddSink(GetSinkRecord());
}

CZorvatChartDataHolder::~CZorvatChartDataHolder()
{
    if (m_bReceiving)
        if (CNorvApp* pApp = CNorvApp::Get())
            pApp->SetBusyFlag(FALSE);
    if (m_pSource != nullptr && GetSinkId() >= 0)
        m_pSource->RemoveSink(GetSinkId());
    DeleteList(m_pHead, m_pTail);
    DeleteList(m_pPendingHead, m_pPendingTail);
}

CString CZorvatChartDataHolder::GetTicker() const
{
    return m_pSettings != nullptr ? m_pSettings->GetSeriesTicker(m_nSeriesIndex) : CString();
}

void CZorvatChartDataHolder::DeleteList(CChartPoint*& pHead, CChartPoint*& pTail)
{
    while (pHead != nullptr) {
        CChartPoint* pNext = pHead->m_pNext;
        delete pHead;
        pHead = pNext;
    }
    pTail = nullptr;
}

void CZorvatChartDataHolder::Append(CChartPoint*& pHead, CChartPoint*& pTail, CChartPoint* pPoint)
{
    pPoint->m_pNext = nullptr;
    pPoint->m_pPrev = pTail;
    if (pTail != nullptr)
        pTail->m_pNext = pPoint;
    else
        pHead = pPoint;
    pTail = pPoint;
}

void CZorvatChartDataHolder::ClearSeries()
{
    // Head and tail together: a head left over would hand the charts freed points.
    DeleteList(m_pHead, m_pTail);
    m_dHeaderRef = 0.0;
}

long CZorvatChartDataHolder::SendLine(LPCSTR pszLine)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->SendRequest(pszLine) : 0;
}

void CZorvatChartDataHolder::RequestSeries()
{
    if (m_pSettings == nullptr)
        return;
    const CString strTicker = GetTicker();
    if (strTicker.IsEmpty())
        return;
    m_bComplete = FALSE;
    // The KSE's times are Kuwait's own; a US series' come on the server's clock.
    m_nClockShift = m_pSettings->GetMarket() == CHART_MARKET_KSE ? 0 : IntradayClockShift();
    GetIntradayRange(&m_nDayFirst, &m_nDayLast);
    GetSessionHours(&m_nOpen, &m_nClose);
    if (m_pSettings->GetMarket() == CHART_MARKET_KSE || !m_pSettings->IsIntraday())
        m_nClose = -1;
    // Live points kept for the last request belong to its ticker, which may not be this one.
    DeleteList(m_pPendingHead, m_pPendingTail);
    m_nLastCumVolume = 0;
    const int nDuration = m_pSettings->GetDuration();
    if (nDuration == 0)
        if (CNorvApp* pApp = CNorvApp::Get())
            if (auto* pQuotes = dynamic_cast<CDataTable*>(pApp->FindTable(IDS_TABLE_US_QUOTATIONS)))
                if (const CDataBuffer* pRow = pQuotes->GetRows()->FindRow({static_cast<LPCSTR>(strTicker)})) {
                    // The day's volume as the live quotes give it (FieldInt64): after the
                    // counter's '#' when there is one, else the counter.
                    const LONGLONG nAfterHash = pRow->GetInt64(QUOTE_COLUMN_AFTER_HASH);
                    m_nLastCumVolume = nAfterHash != 0 ? nAfterHash : pRow->GetInt64(QUOTE_COLUMN_COUNTER);
                }
    if (nDuration >= 0 && nDuration < CHART_DURATION_COUNT)
        m_nDurationCode = nDuration;
    static const int s_anPeriodCodes[] = {0, 0, 3, 4, 5};
    const int nPeriod = m_pSettings->GetPeriod();
    if (nPeriod >= 0 && nPeriod < 5)
        m_nPeriodCode = s_anPeriodCodes[nPeriod];
    const int nAverage = CZorvatChartSettings::GetMovingAverageLength(m_pSettings->GetMovingAverage());
    const long nMarketCode = m_pSettings->GetMarketName().IsEmpty() ? 0 : GetGlobals()->GetMarketCode(m_pSettings->GetMarketName());

    CString strLine;
    if (m_pSettings->GetMarket() == CHART_MARKET_KSE) {
        CServerMessage request(1);
        CString strNumber;
        request.SetAtGrow(2, strTicker);
        strNumber.Format("%d", m_nDurationCode);
        request.SetAtGrow(3, strNumber);
        strNumber.Format("%d", m_nPeriodCode);
        request.SetAtGrow(4, strNumber);
        strNumber.Format("%d", nAverage);
        request.SetAtGrow(5, strNumber);
        request.FormatRequest(&strLine, MSG_KH, 1, FALSE, FALSE, nullptr, FALSE);
    } else {
        CString strBody;
        strBody.Format("%s|%d|%d|%d|%ld", static_cast<LPCSTR>(strTicker), m_nDurationCode, m_nPeriodCode, nAverage,
                       nMarketCode);
        FormatRequestLine(&strLine, MSG_CD, static_cast<LPCSTR>(strBody), 1, FALSE, FALSE, nullptr, FALSE);
    }
    if (!strLine.IsEmpty())
        SendLine(strLine);
}

void CZorvatChartDataHolder::OnCD(CServerMessage* pMsg)
{
    OnReplyHeader(pMsg, ReplyKind(MSG_CD));
}

void CZorvatChartDataHolder::OnKH(CServerMessage* pMsg)
{
    OnReplyHeader(pMsg, ReplyKind(MSG_KH));
}

BOOL CZorvatChartDataHolder::IsOwnHeader(const CServerMessage& msg, const CHART_REPLY_KIND& kind) const
{
    if (m_pSettings == nullptr)
        return FALSE;
    const int k = kind.nTickerField;
    const CString& strTicker = m_pSettings->GetSeriesTicker(m_nSeriesIndex);
    if (strTicker.IsEmpty() || strTicker.Compare(msg.GetFieldText(k)) != 0)
        return FALSE;
    const long nDuration = msg.GetLong(k + 1);
    return nDuration == m_nDurationCode && (nDuration == 0 || msg.GetLong(k + 2) == m_nPeriodCode);
}

void CZorvatChartDataHolder::OnReplyError(int nType, CServerMessage* pMsg)
{
    if ((nType != MSG_CD && nType != MSG_KH) || pMsg == nullptr || m_bComplete || m_bReceiving ||
        !IsOwnHeader(*pMsg, ReplyKind(nType)))
        return;
    m_bComplete = TRUE;
    ClearSeries();
    DeleteList(m_pPendingHead, m_pPendingTail);
    m_pSettings->OnSeriesComplete(GetTicker());
}

void CZorvatChartDataHolder::OnReplyHeader(CServerMessage* pMsg, const CHART_REPLY_KIND& kind)
{
    if (pMsg == nullptr || !IsOwnHeader(*pMsg, kind))
        return;
    const long nDuration = pMsg->GetLong(kind.nTickerField + 1);
    if (m_pSource != nullptr && GetSinkId() >= 0)
        m_pSource->SetReceiving(GetSinkId());
    if (!m_bReceiving)
        if (CNorvApp* pApp = CNorvApp::Get())
            pApp->SetBusyFlag(TRUE);
    m_bReceiving = TRUE;
    ClearSeries();
    m_bSessionUnread = FALSE;
    m_pReplyKind = &kind;
    m_dHeaderRef = nDuration == 0 ? pMsg->GetDouble(kind.nRefField, 0) : 0.0;
    m_dPctBase = m_dHeaderRef;
    m_nStartDate = 0;
}

BOOL CZorvatChartDataHolder::HasData() const
{
    for (const CChartPoint* p = m_pHead; p != nullptr; p = p->m_pNext)
        if (m_nClose < 0 || (p->m_nTime >= m_nOpen && p->m_nTime <= m_nClose))
            return TRUE;
    return FALSE;
}

int CZorvatChartDataHolder::OnAxisClock(int nSeconds) const
{
    const int nDay = 86400;
    return m_nClockShift == 0 ? nSeconds : (nSeconds + m_nClockShift + nDay) % nDay;
}

void CZorvatChartDataHolder::SetPercent(CChartPoint* pPoint) const
{
    pPoint->m_dPercent = m_dPctBase != 0.0 ? (pPoint->m_dClose - m_dPctBase) / m_dPctBase * 100.0 : 0.0;
}

CChartPoint* CZorvatChartDataHolder::MakeIntradayPoint(const CServerMessage& row)
{
    const int nSeconds = SecondsOfDay(ConvertServerDateField(row.GetFieldText(0), TIME_TEXT), 0);
    if (nSeconds < 0)
        return nullptr;
    // Before the schedule is in (a restored chart is answered before the login's "GM") the
    // minute is kept: OnGM reads the series again against the session's hours.
    if (m_pReplyKind->bSessionHours) {
        if (!GetGlobals()->HasSchedule())
            m_bSessionUnread = TRUE;
        else if (!InKseSession(nSeconds))
            return nullptr;
    }
    // A minute outside the hours the axis spans (a pre-market trade) has no place on the day's
    // chart: taken, it would draw empty axes and a lone volume bar instead of "no data".
    const int nOnAxis = OnAxisClock(nSeconds);
    if (nOnAxis < m_nDayFirst || nOnAxis > m_nDayLast)
        return nullptr;
    CChartPoint* pPoint = new CChartPoint;
    pPoint->m_dClose = row.GetDouble(1, 0);
    pPoint->m_nTime = pPoint->m_nSeq = nOnAxis;
    pPoint->m_dHigh = pPoint->m_dLow = pPoint->m_dClose;
    return pPoint;
}

BOOL CZorvatChartDataHolder::InKseSession(int nSeconds)
{
    // "GM" fields 4 and 5: the KSE session's opening and closing times.
    const CZorvatGlobals* pGlobals = GetGlobals();
    return nSeconds >= pGlobals->GetScheduleTime(2).GetSecondsOfDay()
        && nSeconds <= pGlobals->GetScheduleTime(3).GetSecondsOfDay();
}

void CZorvatChartDataHolder::OnGM(CServerMessage* /*pMsg*/)
{
    // The reference data took the schedule first: it was registered at start-up, before any chart.
    if (!m_bSessionUnread || !GetGlobals()->HasSchedule())
        return;
    m_bSessionUnread = FALSE;
    for (CChartPoint* p = m_pHead; p != nullptr;) {
        CChartPoint* pNext = p->m_pNext;
        if (!InKseSession(p->m_nTime)) {
            (p->m_pPrev != nullptr ? p->m_pPrev->m_pNext : m_pHead) = pNext;
            (pNext != nullptr ? pNext->m_pPrev : m_pTail) = p->m_pPrev;
            delete p;
        }
        p = pNext;
    }
    // Without the header's reference the per cents count from the first minute that stays.
    if (m_dHeaderRef <= 0.0 && m_pHead != nullptr) {
        m_dPctBase = m_pHead->m_dClose;
        for (CChartPoint* p = m_pHead; p != nullptr; p = p->m_pNext)
            SetPercent(p);
    }
    // A reply still running ends as any does; an ended one is drawn again.
    if (m_bComplete && m_pSettings != nullptr)
        m_pSettings->OnSeriesComplete(GetTicker());
}

CChartPoint* CZorvatChartDataHolder::MakeHistoricalPoint(const CServerMessage& row)
{
    const CHART_REPLY_KIND& kind = *m_pReplyKind;
    CChartPoint* pPoint = new CChartPoint;
    const double dClose = row.GetDouble(1, 0);
    pPoint->m_dClose = dClose;
    pPoint->m_nSeq = m_pTail != nullptr ? m_pTail->m_nSeq + 1 : 0;
    pPoint->m_nTime = atoi(ConvertServerDateField(row.GetFieldText(0), DATE_TEXT));
    const double dHigh = row.GetDouble(3, 0);
    const double dLow = row.GetDouble(4, 0);
    pPoint->m_dHigh = dHigh != 0.0 ? dHigh : dClose;
    pPoint->m_dLow = dLow != 0.0 ? dLow : dClose;
    if (kind.bHighAtLeastLow && pPoint->m_dHigh < pPoint->m_dLow)
        pPoint->m_dHigh = pPoint->m_dLow;
    pPoint->m_dOpen = HasField(row, 5) ? row.GetDouble(5, 0) : kind.bOpenFromClose ? dClose : 0.0;
    pPoint->m_dAverage = row.GetDouble(6, 0);
    pPoint->m_dDeviation = row.GetDouble(7, 0);
    return pPoint;
}

void CZorvatChartDataHolder::OnRecord(CServerMessage* pMsg)
{
    // Rows reach every sink outside a reply stream; only a reply this holder took is ours.
    if (!m_bReceiving || pMsg == nullptr || m_pSettings == nullptr)
        return;
    CChartPoint* pPoint = m_pSettings->IsIntraday() ? MakeIntradayPoint(*pMsg) : MakeHistoricalPoint(*pMsg);
    if (pPoint == nullptr)
        return;
    if (m_dPctBase <= 0.0)
        m_dPctBase = pPoint->m_dClose;
    SetPercent(pPoint);
    pPoint->m_nVolume = FieldInt64(*pMsg, 2);
    Append(m_pHead, m_pTail, pPoint);
}

void CZorvatChartDataHolder::OnEnd(CServerMessage* /*pMsg*/)
{
    if (!m_bReceiving)
        return;
    m_bReceiving = FALSE;
    if (m_pSource != nullptr && GetSinkId() >= 0)
        m_pSource->ClearReceiving(GetSinkId());
    if (CNorvApp* pApp = CNorvApp::Get())
        pApp->SetBusyFlag(FALSE);
    m_bComplete = TRUE;
    if (m_pSettings == nullptr)
        return;
    if (m_pSettings->IsIntraday())
        MergePending();
    else if (m_pHead != nullptr)
        PlaceOnCalendar();
    const CString strTicker = GetTicker();
    m_pSettings->OnSeriesComplete(strTicker);
}

void CZorvatChartDataHolder::MergePending()
{
    if (m_pPendingHead == nullptr)
        return;
    if (m_pHead == nullptr) {
        m_pHead = m_pPendingHead;
        m_pTail = m_pPendingTail;
    } else {
        // The reply already holds the minutes up to its last row.
        while (m_pPendingHead != nullptr && m_pTail->m_nTime >= m_pPendingHead->m_nTime) {
            CChartPoint* pNext = m_pPendingHead->m_pNext;
            delete m_pPendingHead;
            m_pPendingHead = pNext;
        }
        if (m_pPendingHead != nullptr) {
            m_pPendingHead->m_pPrev = m_pTail;
            m_pTail->m_pNext = m_pPendingHead;
            m_pTail = m_pPendingTail;
        }
    }
    m_pPendingHead = m_pPendingTail = nullptr;
}

// Each point's slot comes from its own date: days or weeks from the aligned start, or months.
// Where the dates ascend without gaps in the grid this is what a walk along the calendar gives;
// unlike the walk it also places a point after a duplicate, out-of-order or weekend date.
void CZorvatChartDataHolder::PlaceOnCalendar()
{
    const CHART_REPLY_KIND& kind = *m_pReplyKind;
    const int nPeriod = m_pSettings->GetPeriod();
    CNorvDate start;
    for (CChartPoint* p = m_pHead; p != nullptr; p = p->m_pNext) {
        const CNorvDate date(p->m_nTime);
        if (date.GetPacked() != 0 && date.IsValid() && (start.GetPacked() == 0 || date < start))
            start = date;
    }
    if (nPeriod < 2 || nPeriod > 4 || start.GetPacked() == 0) {
        // No calendar step for this period (or no date at all): the points stand side by side.
        m_nStartDate = start.GetPacked();
        for (CChartPoint* p = m_pHead; p != nullptr; p = p->m_pNext)
            p->m_nTime = p->m_nSeq;
        return;
    }
    if (nPeriod == 4) {
        start.SetDate(start.GetYear(), start.GetMonth(), 1);
        StepPastWeekend(start, kind);
    } else {
        for (int nDay = 0; nDay < 7 && start.DayOfWeek() != kind.nWeekStart; ++nDay)
            start.SubtractDays(1);
    }
    m_nStartDate = start.GetPacked();
    const int nStartDay = start.GetDayNumber();
    const int nStartMonth = MonthNumber(start);
    int nSlot = 0;
    for (CChartPoint* p = m_pHead; p != nullptr; p = p->m_pNext) {
        const CNorvDate date(p->m_nTime);
        // A date that names no day keeps the slot before it.
        if (date.GetPacked() != 0 && date.IsValid()) {
            const int nDays = date.GetDayNumber() - nStartDay;
            nSlot = nPeriod == 2 ? nDays : nPeriod == 3 ? nDays / 7 : MonthNumber(date) - nStartMonth;
        }
        p->m_nTime = nSlot;
    }
}

void CZorvatChartDataHolder::OnGS(CServerMessage* pMsg)
{
    OnLive(pMsg, LiveFields(MSG_GS));
}

void CZorvatChartDataHolder::OnQQ(CServerMessage* pMsg)
{
    OnLive(pMsg, LiveFields(MSG_QQ));
}

void CZorvatChartDataHolder::OnIX(CServerMessage* pMsg)
{
    OnLive(pMsg, LiveFields(MSG_IX));
}

void CZorvatChartDataHolder::OnLive(CServerMessage* pMsg, const CHART_LIVE_FIELDS& fields)
{
    // Every chart's holders see every quote: the ticker test comes first and costs one compare.
    if (pMsg == nullptr || m_pSettings == nullptr || !m_pSettings->IsIntraday())
        return;
    const CString& strTicker = m_pSettings->GetSeriesTicker(m_nSeriesIndex);
    if (strTicker.IsEmpty() || strTicker.Compare(pMsg->GetFieldText(0)) != 0)
        return;
    if (fields.nZeroField != FIELD_ABSENT && pMsg->GetLong(fields.nZeroField) != 0)
        return;
    if (fields.nNotOneField != FIELD_ABSENT && pMsg->GetLong(fields.nNotOneField) == 1)
        return;
    const double dPrice = pMsg->GetDouble(fields.nPrice, 0);
    if (dPrice <= 0.0)
        return;
    const int nServerSeconds = SecondsOfDay(ConvertServerDateField(pMsg->GetFieldText(fields.nTime), fields.nTimeType),
                                            fields.nTimeType == DATETIME_TEXT ? 8 : 0);
    if (nServerSeconds < 0)
        return;
    const int nSeconds = OnAxisClock(nServerSeconds);
    // A quote outside the hours the axis spans (a board that trades before its session) has no
    // place on today's chart: taken, it would turn "no data" into empty axes.
    if (nSeconds < m_nDayFirst || nSeconds > m_nDayLast)
        return;
    const LONGLONG nCumVolume = FieldInt64(*pMsg, fields.nCumVolume);
    const BOOL bHigh = HasField(*pMsg, fields.nHigh);
    const BOOL bLow = HasField(*pMsg, fields.nLow);
    CChartPoint*& pHead = m_bComplete ? m_pHead : m_pPendingHead;
    CChartPoint*& pTail = m_bComplete ? m_pTail : m_pPendingTail;
    if (pTail != nullptr && pTail->m_nTime / 60 == nSeconds / 60) {
        CChartPoint* pLast = pTail;
        const int n = pLast->m_nCount;
        pLast->m_nTime = nSeconds;
        pLast->m_nCount = n + 1;
        pLast->m_dClose = (n * pLast->m_dClose + dPrice) / (n + 1);
        SetPercent(pLast);
        if (m_nLastCumVolume != 0)
            pLast->m_nVolume += nCumVolume - m_nLastCumVolume;
        m_nLastCumVolume = nCumVolume;
        pLast->m_dHigh = bHigh ? pMsg->GetDouble(fields.nHigh, 0) : std::max(pLast->m_dHigh, dPrice);
        pLast->m_dLow = bLow ? pMsg->GetDouble(fields.nLow, 0) : std::min(pLast->m_dLow, dPrice);
    } else {
        CChartPoint* pPoint = new CChartPoint;
        pPoint->m_dClose = dPrice;
        pPoint->m_nTime = pPoint->m_nSeq = nSeconds;
        if (m_dPctBase <= 0.0)
            m_dPctBase = dPrice;
        SetPercent(pPoint);
        pPoint->m_nVolume = m_nLastCumVolume > 0 ? nCumVolume - m_nLastCumVolume : 0;
        m_nLastCumVolume = nCumVolume;
        pPoint->m_dHigh = bHigh ? pMsg->GetDouble(fields.nHigh, 0) : dPrice;
        pPoint->m_dLow = bLow ? pMsg->GetDouble(fields.nLow, 0) : dPrice;
        Append(pHead, pTail, pPoint);
    }
    m_pSettings->OnSeriesUpdated(strTicker, this);
}
