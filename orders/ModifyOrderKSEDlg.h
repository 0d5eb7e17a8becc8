#pragma once
// The KSE regular board's modify form (7264): the US form's layout with two-decimal prices, the
// side option box and a fourth validity.
#include "orders/SeparateModifyForm.h"

#define IDD_FORM_MODIFY_ORDER_KSE 7264

class CModifyOrderKSEDlg : public CSeparateModifyForm
{
public:
    CModifyOrderKSEDlg();
    static CWnd* Make(UINT nFormId);
};
