#pragma once
// The review of a US order: the "OV" check reply of a new order (mode 0), or the preview of a
// modification (mode 2) or a cancellation (mode 1). Which figures show depends on the logged-in
// user's margin value (login reply field 18) and the side. Its keep box is the ".General"
// "RememberPIN" setting.
#include "orders/ReviewDialog.h"

#define IDD_REVIEW_ORDER_US     7129
#define IDC_REVIEW_OPTION_SERIES 5996
#define IDC_REVIEW_MARKET       5997

class CReviewOrderDlg : public CReviewDialog
{
public:
    // pDescription: the symbol's description the caller keeps (null: none).
    CReviewOrderDlg(const CServerMessage& reply, const CString* pDescription, int nMode, CWnd* pParent = nullptr);
    // The option series the order will send, as the trader reads it; empty for a share order.
    void SetOptionSeries(LPCSTR pszSeries) { SetDisplayText(IDC_REVIEW_OPTION_SERIES, pszSeries); }
    // The market the order goes to, as the form names it: the US markets list the same symbols.
    void SetMarket(LPCSTR pszMarket) { SetDisplayText(IDC_REVIEW_MARKET, pszMarket); }

protected:
    void ShowBySide() override;
};
