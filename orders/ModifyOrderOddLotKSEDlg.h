#pragma once
// The KSE odd-lot board's modify form (7266): a market or limit order of one price, with no
// validity.
#include "orders/SeparateModifyForm.h"

#define IDD_FORM_MODIFY_ORDER_ODD_LOT 7266

class CModifyOrderOddLotKSEDlg : public CSeparateModifyForm
{
public:
    CModifyOrderOddLotKSEDlg();
    static CWnd* Make(UINT nFormId);
};
