#pragma once
// The KSE global trading parameters as the reference data holds them: thirteen integers, ten
// rates with two fraction digits and three limits; shown only.
#include "market/dialogs/ShownFieldsDlg.h"

#define IDD_GLOBAL_PARAM_KSE        7292
#define IDC_KSE_PARAM_FIRST         6500        // 6500..6512 integers
#define IDC_KSE_PARAM_RATE_FIRST    6513        // 6513..6522 rates
#define IDC_KSE_PARAM_LIMIT_FIRST   6523        // 6523..6525 limits
#define IDC_KSE_PARAM_LAST          6525

class CGlobalParamKSEDlg : public CShownFieldsDlg
{
public:
    explicit CGlobalParamKSEDlg(CWnd* pParent = nullptr);

protected:
    void FillFields() override;
};
