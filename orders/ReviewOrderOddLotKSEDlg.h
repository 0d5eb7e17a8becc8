#pragma once
// The review of a KSE odd-lot order from its "KV" check reply, or of the odd-lot modify form's
// "KW" preview: the regular board's layout without duration and date, and with the limit price
// shown also when it is 0.
#include "orders/ReviewDialog.h"

#define IDD_REVIEW_ORDER_ODD_LOT 7267

class CReviewOrderOddLotKSEDlg : public CReviewDialog
{
public:
    CReviewOrderOddLotKSEDlg(const CServerMessage& reply, const CString* pName, int nMode = 0,
                             CWnd* pParent = nullptr);

protected:
    void ShowBySide() override { ShowKseSideLabels(); }
};
