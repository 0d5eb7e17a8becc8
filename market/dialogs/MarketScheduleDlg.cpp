// The US session times dialog.
#include "market/dialogs/MarketScheduleDlg.h"

#include "framework/base/ColumnDataType.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const SHOWN_FIELDS s_scheduleFields[] = {
    {IDC_SCHEDULE_FIRST, IDC_SCHEDULE_SECOND_NY, COLTYPE_STRING, 0, 12},
};
}  // namespace

CMarketScheduleDlg::CMarketScheduleDlg(CWnd* pParent)
    : CShownFieldsDlg(IDD_MARKET_SCHEDULE, s_scheduleFields, 1, pParent)
{
}

void CMarketScheduleDlg::FillFields()
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    SetFieldText(IDC_SCHEDULE_FIRST, pGlobals->GetFirstMarketTimeText());
    SetFieldText(IDC_SCHEDULE_FIRST_NY, pGlobals->GetFirstMarketTimeNYText());
    SetFieldText(IDC_SCHEDULE_SECOND, pGlobals->GetSecondMarketTimeText());
    SetFieldText(IDC_SCHEDULE_SECOND_NY, pGlobals->GetSecondMarketTimeNYText());
}
