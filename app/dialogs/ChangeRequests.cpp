// The change commands' dialogs and request bodies.
#include "app/dialogs/ChangeRequests.h"

#include "app/dialogs/CredentialDialogs.h"
#include "refdata/User.h"

namespace {
// Runs one change dialog for the user; on OK its values, and the pending text made current.
template <class DIALOG>
BOOL RunChangeDialog(CUser& user, CWnd* pParent, CString* pOld, CString* pNew)
{
    DIALOG dlg(user.GetUserText(), pParent);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    // The reply's acceptance makes the pending text the user text; left empty, an accepted
    // change would wipe the user's name from the record.
    user.SetPendingText(user.GetUserText());
    *pOld = dlg.GetOldValue();
    *pNew = dlg.GetNewValue();
    return TRUE;
}
}  // namespace

CString FormatPasswordChangeBody(int nUserNumber, LPCSTR pszOld, LPCSTR pszNew)
{
    CString strBody;
    strBody.Format("%d|%s||%s|||||", nUserNumber, pszOld, pszNew);
    return strBody;
}

CString FormatPinChangeBody(int nUserNumber, LPCSTR pszOld, LPCSTR pszNew)
{
    CString strBody;
    strBody.Format("%d||||%s|%s|||", nUserNumber, pszOld, pszNew);
    return strBody;
}

BOOL ChangePassword(CUser& user, CString* pBody, CString* pNewPassword, CWnd* pParent)
{
    CString strOld, strNew;
    if (!RunChangeDialog<CChangePasswdDlg>(user, pParent, &strOld, &strNew))
        return FALSE;
    *pBody = FormatPasswordChangeBody(user.GetUserNumber(), strOld, strNew);
    *pNewPassword = strNew;
    return TRUE;
}

BOOL ChangePin(CUser& user, CString* pBody, CWnd* pParent)
{
    CString strOld, strNew;
    if (!RunChangeDialog<CChangePINDlg>(user, pParent, &strOld, &strNew))
        return FALSE;
    *pBody = FormatPinChangeBody(user.GetUserNumber(), strOld, strNew);
    return TRUE;
}
