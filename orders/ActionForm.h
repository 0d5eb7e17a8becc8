#pragma once
// The body of the forms that act on a position (forward contract details, option exercise,
// expiration instruction): a form view that is a message sink while it lives, builds its
// requests from one snapshot of its values and refuses what cannot be sent with a text, and runs
// a modal dialog inside a reply handler without being destroyed under it: a close or log-off
// meanwhile ends the dialog with Cancel, and the form deletes itself once the handler is done.
#include "framework/window/EnhancedEdit.h"
#include "link/MessageSink.h"
#include "market/dialogs/FormDialog.h"
#include "orders/OrderRequests.h"
#include "orders/OrderTicketSnapshot.h"

class CServerMessage;

// One input field of a form: its control, kind, decimals and length.
struct ACTION_EDIT
{
    int nControl;
    int nType;          // COLTYPE_
    int nDecimals;
    int nLength;
};

class CActionForm : public CFormDialog, public CZorvatMessageSink
{
protected:
    CActionForm(UINT nTemplate, const CMessageTypeSet& types);

    // Subclasses the fields (edits has nEdits rows, pEdits as many edits).
    void SetUpEdits(const ACTION_EDIT* pRows, CEnhancedEdit* pEdits, int nEdits);
    // Sends the body built from the snapshot: the request's number, or 0 after a refusal shown in
    // the information window (priority 2). pszAccount and pszUser replace the logged-in user's
    // account text and number when not null.
    long SendBody(const ORDER_BODY& body, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword,
                  LPCSTR pszAccount = nullptr, LPCSTR pszUser = nullptr);
    // The server's text of a reply's error code, at priority 2.
    static void ShowError(long nCode);
    // Runs the dialog modally from a reply handler. IDCANCEL when one already runs or the form
    // went meanwhile; after a call the handler asks DeleteIfGone() before touching the form.
    INT_PTR RunModal(CDialog& dialog);
    BOOL IsInModal() const { return m_pModal != nullptr; }
    // TRUE when the form was destroyed during RunModal: it is deleted now and the handler
    // returns at once.
    BOOL DeleteIfGone();

    CString GetText(int nId) const;
    void SetText(int nId, LPCSTR pszText);
    void EnableControl(int nId, BOOL bEnable);

    afx_msg void OnDestroy();
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    CDialog* m_pModal = nullptr;        // the dialog running in a reply handler
    BOOL m_bGone = FALSE;               // the window went while it ran
};
