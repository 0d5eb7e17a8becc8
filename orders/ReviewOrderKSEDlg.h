#pragma once
// The review of a KSE regular-board order: the "KV" check reply of a new order, the "KJ" reply
// of a modification check, or the reply the KSE modify forms review. Label 1706 stands beside
// the buying figure of a purchase (side code 1), 1705 beside the holding of a sale.
#include "orders/ReviewDialog.h"

#define IDD_REVIEW_ORDER_KSE    7268
#define IDS_REVIEW_TITLE_MODIFY_CHECK 56856
#define IDS_REVIEW_TITLE_NEW    56857
#define IDS_REVIEW_TITLE_MODIFY_FORM 7293

class CReviewOrderKSEDlg : public CReviewDialog
{
public:
    // bModifyCheck: the "KJ" layout; else mode 0 the "KV" layout and modes 1 and 2 the modify
    // forms'. pName: the stock's name as the caller knows it (null or empty: the stock list's).
    CReviewOrderKSEDlg(const CServerMessage& reply, const CString* pName, int nMode, BOOL bModifyCheck,
                       CWnd* pParent = nullptr);

protected:
    void ShowBySide() override { ShowKseSideLabels(); }
};
