// The forward contract's confirmation: its text and its second button.
#include "orders/ReviewForwardContractDlg.h"

namespace {
KEPT_PASSWORD s_kept;
const REVIEW_CLASS s_class = {IDD_REVIEW_FORWARD_CONTRACT, 256, &s_kept, /*bKeepIsSetting=*/FALSE};
}  // namespace

CReviewForwardContractDlg::CReviewForwardContractDlg(LPCSTR pszText, CWnd* pParent)
    : CReviewDialog(s_class, NO_MODE, pParent)
{
    SetDisplayText(IDC_REVIEW_CONTRACT_TEXT, pszText);
}

BOOL CReviewForwardContractDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_REVIEW_CONTRACT_OTHER && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(IDC_REVIEW_CONTRACT_OTHER);
        return TRUE;
    }
    return CReviewDialog::OnCommand(wParam, lParam);
}
