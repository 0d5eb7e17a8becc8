#pragma once
// The order road every order form takes: Submit reads the form once, checks it and sends the
// check request of the form's road; the form's own check reply opens the review, whose OK sends
// the order built from the same values plus the password; the form's own order reply is
// acknowledged. The review runs modally inside the reply handler while the link keeps reading:
// the values are a copy, and a close or log-off during it ends it with Cancel and deletes the
// form after the handler is done with it. A form adds its snapshot, its road, how it keeps the
// ticket flag and what it clears after an acknowledgement.
#include "link/MessageSink.h"
#include "market/dialogs/FormDialog.h"
#include "orders/OrderPending.h"
#include "orders/OrderRequests.h"
#include "orders/OrderTicketSnapshot.h"

#define IDC_ORDER_FORM_SUBMIT 5737

class CReviewDialog;

// The name of a KSE stock in the stock list, in the interface language or (bFirst) the first
// language; empty when the list lacks it.
CString GetKseStockName(LPCSTR pszStock, BOOL bFirst = FALSE);

class COrderRoadForm : public CFormDialog, public CZorvatMessageSink
{
public:
    // The form's values now, read once.
    virtual ORDER_TICKET_SNAPSHOT TakeSnapshot() = 0;
    const COrderPending& GetPending() const { return m_pending; }
    BOOL IsReviewing() const { return m_pReview != nullptr; }

protected:
    // The sink registers with the application's message source at once, or (!bAddSinkNow) when
    // the form calls AddSink().
    COrderRoadForm(UINT nTemplate, const CMessageTypeSet& types, BOOL bAddSinkNow = TRUE);
    void AddSink();

    void Submit();
    // Replies of the road's kinds; each counts only when it answers the form's pending request.
    void OnCheckReply(CServerMessage* pMsg);
    void OnOrderReply(CServerMessage* pMsg);

    // The road of these values; null sends nothing.
    virtual const ORDER_ROAD* GetRoadOf(const ORDER_TICKET_SNAPSHOT& shot) const = 0;
    // Submit read the form; bSent: its check left.
    virtual void KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL bSent) = 0;
    virtual void ClearAfterAcknowledgement(int nOrderType) = 0;

    void PostNcDestroy() override;
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    int RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                  CString* pPassword);
    void SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword);
    void Refuse(UINT nTextId, int nFocus);

    COrderPending m_pending;
    CReviewDialog* m_pReview = nullptr;     // the review running in a reply handler
    BOOL m_bDestroyedInReview = FALSE;      // the window went while it ran: delete after
};
