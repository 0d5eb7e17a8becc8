#pragma once
// The confirmation of an instruction on an existing forward contract: one text the caller
// composes, the trading password, and a second way out (button 5769, ended with 5769 and no
// password asked) besides OK and Cancel.
#include "orders/ReviewDialog.h"

#define IDD_REVIEW_FORWARD_CONTRACT 7290
#define IDC_REVIEW_CONTRACT_TEXT 5814
#define IDC_REVIEW_CONTRACT_OTHER 5769

class CReviewForwardContractDlg : public CReviewDialog
{
public:
    explicit CReviewForwardContractDlg(LPCSTR pszText, CWnd* pParent = nullptr);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
