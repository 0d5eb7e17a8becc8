#pragma once
// The terminal's pause lock: a modal dialog that stays up until the logged-in user types the
// log-in password again. OK with a different password tells so in the information window and
// keeps the lock; Cancel, Escape or the close box asks whether to log off and ends the dialog
// with IDCANCEL only on Yes. The caller logs the user off on any result but IDOK.
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_PAUSE_LOCK              7100
#define IDC_PAUSE_PASSWORD          5602
#define IDS_PAUSE_WRONG_PASSWORD    40302
#define IDS_PAUSE_LOG_OFF_QUESTION  40336
#define IDS_PAUSE_QUESTION_TITLE    280

class CPausePasswdDlg : public CDialog
{
public:
    explicit CPausePasswdDlg(CWnd* pParent = nullptr);

    // Before DoModal: the password the user logged in with; compared exactly, case counts.
    void SetExpectedPassword(LPCSTR pszPassword) { m_strExpected = pszPassword != nullptr ? pszPassword : ""; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

private:
    CString m_strTyped;
    CString m_strExpected;
};
