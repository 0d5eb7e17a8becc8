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
    CString strQuestion;
    GetSharedGlobals()->LoadString(strQuestion, IDS_PAUSE_LOG_OFF_QUESTION);
    const UINT uReading = GetNorvGlobals().m_bRightToLeft ? MB_RIGHT | MB_RTLREADING : 0;
    if (::MessageBoxA(m_hWnd, strQuestion, nullptr, MB_YESNO | MB_ICONQUESTION | uReading) == IDYES)
        EndDialog(IDCANCEL);
}
