#pragma once
// The body of the account forms (performance, cash conversion): a form view that is a message
// sink while it lives and takes only the replies to its own latest request, the number that the
// reply echoes in its first header field. A request that cannot be sent is refused with a text
// in the information window and leaves nothing pending.
#include "framework/window/EnhancedEdit.h"
#include "link/MessageSink.h"
#include "market/dialogs/FormDialog.h"

class CServerMessage;

// One field of a form: its control, kind, decimals and length.
struct ACCOUNT_FIELD
{
    int nControl;
    int nType;          // COLTYPE_
    int nDecimals;
    int nLength;
};

class CAccountForm : public CFormDialog, public CZorvatMessageSink
{
protected:
    CAccountForm(UINT nTemplate, const CMessageTypeSet& types);

    // Subclasses the fields (as many edits as rows) with their kinds, read-only and out of the
    // tab order; the caller opens the ones the user types in.
    void SetUpFields(const ACCOUNT_FIELD* pRows, CEnhancedEdit* pEdits, int nCount);
    static void OpenField(CEnhancedEdit& edit);
    // The end of the form's set-up: the focus on its first input (the read-only fields are out
    // of the tab order now); FALSE, for the dialog manager has nothing left to focus.
    BOOL FocusFirstInput();
    // Sends the body with the message type and keeps its number as the pending request; FALSE
    // after a refusal (the link is down), nothing then pending.
    BOOL SendPending(int nType, LPCSTR pszBody);
    // TRUE when the reply answers the pending request, which it then settles.
    BOOL TakeReply(const CServerMessage* pMsg);
    long GetPending() const { return m_nPending; }
    // TRUE, with its text raised in the information window, for a reply whose result field reads
    // as 1 or more (the server's error code); below 1 is success, and a field that is empty or
    // starts with no number reads as 0. With bNumberRequired such a field is refused too (a
    // reply that cannot be read).
    static BOOL IsRefused(const CServerMessage* pMsg, int nField, BOOL bNumberRequired = FALSE);
    // The body's user number and account text, "user|account".
    static CString UserAndAccount();

    CString GetText(int nId) const;
    void SetText(int nId, LPCSTR pszText);

    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    long m_nPending = 0;
};
