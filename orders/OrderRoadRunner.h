#pragma once
// The order road every order form takes, kept once: Submit checks the form's snapshot and sends
// the check request of the form's road; the form's own check reply opens the review, whose OK
// sends the order built from the same snapshot plus the password; the form's own order reply
// is acknowledged in the information window. A refusal shows its text at priority 2, sends
// nothing, leaves nothing pending and enables Submit again.
//
// The review runs modally inside the reply handler while the link keeps reading: everything it
// needs is a copy. A close or log-off during it ends it with Cancel; the form must then not be
// deleted under the handler: it asks MayDeleteForm in PostNcDestroy and, after a check reply,
// deletes itself when IsFormGone.
#include "orders/OrderPending.h"
#include "orders/OrderRequests.h"

class CWnd;
class CReviewDialog;
class CServerMessage;

class COrderRoadRunner
{
public:
    // pForm: the form whose Submit button and fields it drives (not owned; it owns us).
    explicit COrderRoadRunner(CWnd* pForm) : m_pForm(pForm) {}

    // The check request of the road for the snapshot; FALSE when refused (or no road).
    BOOL Submit(const ORDER_ROAD* pRoad, const ORDER_TICKET_SNAPSHOT& shot);
    void Refuse(UINT nTextId, int nFocus);
    // FALSE when the reply is not the answer to this form's pending check; otherwise it shows
    // the error, or runs the review and sends the order.
    BOOL OnCheckReply(CServerMessage* pMsg);
    // The road of this form's order when the reply answers it and was acknowledged; null for
    // someone else's reply or a refusal (its text shown).
    const ORDER_ROAD* OnOrderReply(CServerMessage* pMsg);

    // The form's window is going: a running review ends with Cancel.
    void OnFormDestroy();
    // From PostNcDestroy: FALSE while a review runs (the handler deletes the form after it).
    BOOL MayDeleteForm();
    BOOL IsFormGone() const { return m_bFormGone; }
    BOOL IsReviewing() const { return m_pReview != nullptr; }
    const COrderPending& GetPending() const { return m_pending; }

private:
    int RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                  CString* pPassword);
    void SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword);
    void EnableSubmit(BOOL bEnable);

    CWnd* m_pForm;
    COrderPending m_pending;
    CReviewDialog* m_pReview = nullptr;     // the review running in a reply handler
    BOOL m_bFormGone = FALSE;               // the window went while it ran
};

// The KSE stock list's name of a stock number, in the interface language; "" when unknown.
CString GetKseStockListName(LPCSTR pszStock);
