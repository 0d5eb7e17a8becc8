#pragma once
// The password and PIN change commands: the dialog for the logged-in user, then the body of the
// "US" request that the application sends. The reply is the session's.
#include "platform/mfc/String.h"

class CUser;
class CWnd;

// Runs the change-password dialog for the user. FALSE when the user cancelled: nothing to send.
// On OK the body "%d|%s||%s|||||" (user number, old password, new password) and the new password,
// which becomes the session's when the server accepts it. The user's pending text becomes the
// current user text, so that the accepted change leaves it as it is.
BOOL ChangePassword(CUser& user, CString* pBody, CString* pNewPassword, CWnd* pParent = nullptr);
// The same for the PIN: the body "%d||||%s|%s|||" (user number, old PIN, new PIN).
BOOL ChangePin(CUser& user, CString* pBody, CWnd* pParent = nullptr);

// The two bodies from their values.
CString FormatPasswordChangeBody(int nUserNumber, LPCSTR pszOld, LPCSTR pszNew);
CString FormatPinChangeBody(int nUserNumber, LPCSTR pszOld, LPCSTR pszNew);
