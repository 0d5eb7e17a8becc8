#pragma once
// The review of a KSE forward-market order from its check reply: the contract's price with the
// charges taken off a sale and added to a purchase, and the side named as a forward sale or
// purchase in label 1706.
#include "orders/ReviewDialog.h"

#define IDD_REVIEW_ORDER_FORWARD 7288
#define IDS_REVIEW_FORWARD_SALE 56892
#define IDS_REVIEW_FORWARD_PURCHASE 56893

class CReviewOrderForwardDlg : public CReviewDialog
{
public:
    CReviewOrderForwardDlg(const CServerMessage& reply, const CString* pName, int nMode = 0, CWnd* pParent = nullptr);

protected:
    void ShowBySide() override;
};
