#pragma once
// The body of the forms that act on a position (forward contract details, option exercise,
// expiration instruction): an order form (OrderFormBase.h) whose fields are described by rows and
// whose requests may name another account and user than the logged-in one.
#include "framework/window/EnhancedEdit.h"
#include "orders/OrderFormBase.h"

// One input field of a form: its control, kind, decimals and length.
struct ACTION_EDIT
{
    int nControl;
    int nType;          // COLTYPE_
    int nDecimals;
    int nLength;
};

class CActionForm : public COrderFormBase
{
protected:
    using COrderFormBase::COrderFormBase;

    // Subclasses the fields (edits has nEdits rows, pEdits as many edits).
    void SetUpEdits(const ACTION_EDIT* pRows, CEnhancedEdit* pEdits, int nEdits);
    // Sends the body built from the snapshot: the request's number, or 0 after a refusal shown in
    // the information window (priority 2). pszAccount and pszUser replace the logged-in user's
    // account text and number when not null.
    long SendBody(const ORDER_BODY& body, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword,
                  LPCSTR pszAccount = nullptr, LPCSTR pszUser = nullptr);
};
