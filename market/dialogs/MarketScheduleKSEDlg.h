#pragma once
// The KSE schedule: the seven schedule times of the reference data, the KSE market state text
// and the minutes until the next session; shown only, as of the moment the dialog opened.
#include "framework/base/NorvTime.h"
#include "market/dialogs/ShownFieldsDlg.h"

#define IDD_MARKET_SCHEDULE_KSE     7291
#define IDC_KSE_SCHEDULE_FIRST      5700        // to 5706, the seven times
#define IDC_KSE_SCHEDULE_LAST       5706
#define IDC_KSE_SCHEDULE_STATE      5708
#define IDC_KSE_SCHEDULE_MINUTES    5709

const int KSE_SCHEDULE_TIMES = 7;

// Whole minutes from now until the next of the sessions that open at the first, second, third,
// fifth, sixth and seventh schedule times (the fourth opens none); a time equal to now has
// begun. With none left today the first one tomorrow is the next.
long MinutesToNextKseSession(const CNorvTime (&times)[KSE_SCHEDULE_TIMES], const CNorvTime& now);

class CMarketScheduleKSEDlg : public CShownFieldsDlg
{
public:
    explicit CMarketScheduleKSEDlg(CWnd* pParent = nullptr);

protected:
    void FillFields() override;
};
