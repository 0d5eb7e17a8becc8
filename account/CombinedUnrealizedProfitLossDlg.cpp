#include "account/CombinedUnrealizedProfitLossDlg.h"
#include <cstdlib>
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "app/ZorvatApp.h"

INT_PTR CCombinedUnrealizedProfitLossDlg::Run(HWND hParent)
{
    CCombinedUnrealizedProfitLossDlg dialog(hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr);
    return dialog.DoModal();
}

long CCombinedUnrealizedProfitLossDlg::ReadAccount() const
{
    char szText[32] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_COMBINED_UNREALIZED_ACCOUNT, szText, static_cast<int>(sizeof szText));
    return atol(szText);
}

BOOL CCombinedUnrealizedProfitLossDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_COMBINED_UNREALIZED_ACCOUNT, EM_LIMITTEXT, 10, 0);
    // The account is the user's to type: OK waits for one, so that it never does nothing.
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), ReadAccount() > 0);
    return TRUE;
}

BOOL CCombinedUnrealizedProfitLossDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_COMBINED_UNREALIZED_ACCOUNT && HIWORD(wParam) == EN_CHANGE) {
        ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), ReadAccount() > 0);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CCombinedUnrealizedProfitLossDlg::OnOK()
{
    const long nAccount = ReadAccount();
    if (nAccount <= 0) {
        // Reached by the Enter key: the field the account goes in takes the focus.
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_COMBINED_UNREALIZED_ACCOUNT));
        return;
    }
    CString strAccount;
    strAccount.Format("%ld", nAccount);
    // Not sent: the notice says so and the dialog stays for another try.
    if (CCombinedUnrealizedProfitLossTable::OpenForAccount(strAccount))
        EndDialog(IDOK);
}
