// The KSE schedule dialog and its minutes to the next session.
#include "market/dialogs/MarketScheduleKSEDlg.h"

#include <cstdio>
#include <iterator>

#include "framework/base/ColumnDataType.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const SHOWN_FIELDS s_kseScheduleFields[] = {
    {IDC_KSE_SCHEDULE_FIRST, IDC_KSE_SCHEDULE_LAST, COLTYPE_STRING, 0, 12},
    {IDC_KSE_SCHEDULE_STATE, IDC_KSE_SCHEDULE_MINUTES, COLTYPE_STRING, 0, 12},
};

// The schedule times that open a session, in the order they are tried.
const int s_sessionTimes[] = {0, 1, 2, 4, 5, 6};
}  // namespace

long MinutesToNextKseSession(const CNorvTime (&times)[KSE_SCHEDULE_TIMES], const CNorvTime& now)
{
    CNorvTime next = times[s_sessionTimes[0]];
    for (int nIndex : s_sessionTimes) {
        if (now < times[nIndex]) {
            next = times[nIndex];
            break;
        }
    }
    CNorvTime midnight;
    midnight.Set(24, 0, 0);
    const CNorvTime diff = next > now ? next - now : (midnight - now) + next;
    return diff.GetSecondsOfDay() / 60;
}

CMarketScheduleKSEDlg::CMarketScheduleKSEDlg(CWnd* pParent)
    : CShownFieldsDlg(IDD_MARKET_SCHEDULE_KSE, s_kseScheduleFields,
                      static_cast<int>(std::size(s_kseScheduleFields)), pParent)
{
}

void CMarketScheduleKSEDlg::FillFields()
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    CNorvTime times[KSE_SCHEDULE_TIMES];
    for (int n = 0; n < KSE_SCHEDULE_TIMES; ++n) {
        times[n] = pGlobals->GetScheduleTime(n);
        SetFieldText(IDC_KSE_SCHEDULE_FIRST + n, times[n].ToString());
    }
    SetFieldText(IDC_KSE_SCHEDULE_STATE, pGlobals->GetKseMarketStateText());
    char szMinutes[24];
    snprintf(szMinutes, sizeof szMinutes, "%ld", MinutesToNextKseSession(times, pGlobals->GetServerTime()));
    SetFieldText(IDC_KSE_SCHEDULE_MINUTES, szMinutes);
}
