#include "app/DataTable.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/ChangeRequests.h"
#include "app/dialogs/CredentialDialogs.h"
#include "app/dialogs/VersionInfoDlg.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "link/ZorvatComm.h"
#include "platform/win/user/MessageBox.h"

#define IDS_ASK_DIRECTION 40342
#define IDS_DIRECTION_SECTION 40375
#define IDS_DIRECTION_KEY 40376
#define IDS_DIRECTION_NEXT_START 40377

BOOL CZORVAT32App::AskCredentials(CString& strUser, CString& strPassword)
{
    CLoginDlg dialog(m_pMainFrame);
    dialog.SetUserId(ReadProfileText(".General", "MostRecentUserID", ""));
    // Shown once: a dialog opened later for another reason has nothing to explain.
    dialog.SetRefusal(m_strLoginRefusal);
    m_strLoginRefusal.Empty();
    if (dialog.DoModal() != IDOK)
        return FALSE;
    strUser = dialog.GetUserId();
    strPassword = dialog.GetPassword();
    return TRUE;
}

void CZORVAT32App::OnChangePassword(UINT)
{
    CString strBody, strNewPassword;
    if (!ChangePassword(m_user, &strBody, &strNewPassword, m_pMainFrame))
        return;
    // The new password becomes the session's only when the server takes it.
    if (SendRequest(MSG_US, strBody) > 0)
        m_pendingChanges.push_back({TRUE, strNewPassword});
}

void CZORVAT32App::OnChangePin(UINT)
{
    CString strBody;
    // Its reply is told apart from a password change's by its place in the queue only.
    if (ChangePin(m_user, &strBody, m_pMainFrame) && SendRequest(MSG_US, strBody) > 0)
        m_pendingChanges.push_back({FALSE, ""});
}

void CZORVAT32App::OnAbout(UINT)
{
    CAboutDlg dialog(m_pComm, m_pMainFrame);
    dialog.DoModal();
}

void CZORVAT32App::AcceptPendingText()
{
    m_user.AcceptPendingText();
}

void CZORVAT32App::OnChangeReply(BOOL bAccepted)
{
    PENDING_CHANGE change{FALSE, ""};
    if (!m_pendingChanges.empty()) {
        change = m_pendingChanges.front();
        m_pendingChanges.pop_front();
    }
    if (!bAccepted)
        return;
    AcceptPendingText();
    // Pause lock and order review compare with the session's password: it must be the new one,
    // and never one the server refused.
    if (change.bPassword)
        m_user.SetPassword(change.strPassword);
}

void CZORVAT32App::OnReadingDirection(UINT)
{
    if (AskYesNo(IDS_ASK_DIRECTION) != IDYES)
        return;
    // The very value start-up reads: the profile's section and key name it under the brand.
    CString strSection, strKey, strText;
    GetSharedGlobals()->LoadString(strSection, IDS_DIRECTION_SECTION);
    GetSharedGlobals()->LoadString(strKey, IDS_DIRECTION_KEY);
    WriteProfileInt(strSection, strKey, GetNorvGlobals().m_bRightToLeft ? 0 : 1);
    // The tables take the other language's characters at once; the layout waits for the start.
    const BYTE nCharset = GetNorvGlobals().m_bRightToLeft ? DEFAULT_CHARSET : ARABIC_CHARSET;
    SetFontCharset(nCharset);
    for (UINT nTable : {IDS_TABLE_US_ORDER_STATUS, IDS_TABLE_KSE_ORDER_STATUS})
        if (IDataTable* pTable = FindTable(nTable))
            pTable->SetWindowsCharset(nCharset);
    GetSharedGlobals()->LoadString(strText, IDS_DIRECTION_NEXT_START);
    MessageBoxA(nullptr, strText, m_strAppTitle, MB_OK | MB_ICONQUESTION);
}

void CZORVAT32App::ShowVersionInfo(LPCSTR pszText, int nVersionStatus)
{
    CVersionInfoDlg dialog(pszText, nVersionStatus, m_pMainFrame);
    dialog.DoModal();
}

void CZORVAT32App::OnVersionCommand(UINT)
{
    // What the last hello said: its status and the address it gave.
    const CONNECTION_VALUES& values = m_dispatcher.GetConnectionValues();
    ShowVersionInfo(values.strText5, static_cast<int>(values.nValue2));
}
