#pragma once
// The US order's modify form (7124). Its load also asks the security name of the order's
// symbol ("RN"), which the review shows; only the answer to that request counts.
#include "orders/SeparateModifyForm.h"

#define IDD_FORM_MODIFY_ORDER_US 7124

class CModifyOrderDlg : public CSeparateModifyForm
{
public:
    CModifyOrderDlg();
    static CWnd* Make(UINT nFormId);

    void LoadOrder(long nOrder) override;
    void OnRN(CServerMessage* pMsg) override;
};
