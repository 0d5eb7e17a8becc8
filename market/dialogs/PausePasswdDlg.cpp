// The pause lock.
#include "market/dialogs/PausePasswdDlg.h"

#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Dialogs.h"

CPausePasswdDlg::CPausePasswdDlg(CWnd* pParent)
    : CDialog(IDD_PAUSE_LOCK, pParent)
{
}

void CPausePasswdDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PAUSE_PASSWORD, m_strTyped);
}

void CPausePasswdDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strTyped == m_strExpected) {
        EndDialog(IDOK);
        return;
    }
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_PAUSE_PASSWORD)), TRUE);
    if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow)
        pInfo->AddResourceText(IDS_PAUSE_WRONG_PASSWORD);
}

void CPausePasswdDlg::OnCancel()
{
    // Titled with the program's name, as the session's same question is: a box without a title
    // reads "Error".
    CString strQuestion, strTitle;
    GetSharedGlobals()->LoadString(strQuestion, IDS_PAUSE_LOG_OFF_QUESTION);
    GetSharedGlobals()->LoadString(strTitle, IDS_PAUSE_QUESTION_TITLE);
    const UINT uReading = GetNorvGlobals().m_bRightToLeft ? MB_RIGHT | MB_RTLREADING : 0;
    if (::MessageBoxA(m_hWnd, strQuestion, strTitle, MB_YESNO | MB_ICONQUESTION | uReading) == IDYES)
        EndDialog(IDCANCEL);
}
