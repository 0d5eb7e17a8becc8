#pragma once
// The US market's two session times, in Kuwait and in New York time, as the reference data
// holds them; shown only.
#include "market/dialogs/ShownFieldsDlg.h"

#define IDD_MARKET_SCHEDULE         7259
#define IDC_SCHEDULE_FIRST          1757
#define IDC_SCHEDULE_FIRST_NY       1758
#define IDC_SCHEDULE_SECOND         1759
#define IDC_SCHEDULE_SECOND_NY      1760

class CMarketScheduleDlg : public CShownFieldsDlg
{
public:
    explicit CMarketScheduleDlg(CWnd* pParent = nullptr);

protected:
    void FillFields() override;
};
