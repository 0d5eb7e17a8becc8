#pragma once
// The account of the combined unrealized profit and loss: OK, only for a number above 0, asks
// for its positions and opens the table on them.
#include "platform/mfc/Dialog.h"

#define IDD_COMBINED_UNREALIZED 249
#define IDC_COMBINED_UNREALIZED_ACCOUNT 1700

class CCombinedUnrealizedProfitLossDlg : public CDialog
{
public:
    explicit CCombinedUnrealizedProfitLossDlg(CWnd* pParent = nullptr) : CDialog(IDD_COMBINED_UNREALIZED, pParent) {}
    static INT_PTR Run(HWND hParent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    long ReadAccount() const;
};
