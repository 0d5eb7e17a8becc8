// The order ticket's order road: Submit reads the form once and sends the check of its road;
// the ticket's own check reply opens the review, whose OK sends the order built from the same
// values plus the password; the ticket's own order reply is acknowledged and the ticket cleared.
// The review runs modally inside the reply handler while the link keeps reading: the values
// are a copy, and a close during it ends it with Cancel and deletes the ticket afterwards.
#include "link/MessageTypes.h"
#include "orders/NewPlaceOrderDlg.h"

void CNewPlaceOrderDlg::Submit()
{
    if (m_road.IsReviewing())
        return;                 // one review at a time
    const ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    SetKeptTicketFlag(shot.bTicketFlag);
    m_road.Submit(FindTicketRoad(shot.nKseMarketType), shot);
}

void CNewPlaceOrderDlg::OnCheckReply(CServerMessage* pMsg)
{
    if (m_road.OnCheckReply(pMsg) && m_road.IsFormGone())
        delete this;            // closed during the review; its window is gone
}

void CNewPlaceOrderDlg::OnOrderReply(CServerMessage* pMsg)
{
    if (const ORDER_ROAD* pRoad = m_road.OnOrderReply(pMsg))
        ClearAfterAcknowledgement(pRoad->pOrder->nType);
}

void CNewPlaceOrderDlg::ClearAfterAcknowledgement(int nOrderType)
{
    for (int nId : {IDC_TICKET_TICKER, IDC_TICKET_QUANTITY, IDC_TICKET_DESCRIPTION, IDC_TICKET_STOP, IDC_TICKET_LIMIT})
        SetText(nId, "");
    GetDlgItem(IDC_TICKET_TICKER)->SetFocus();
    if (nOrderType != MSG_KA) {
        SendDlgItemMessage(IDC_TICKET_SIDE, CB_SETCURSEL, static_cast<WPARAM>(-1));
        m_strSide.Empty();
    }
    if (nOrderType != MSG_KQ)
        UpdateSubmitButton();
}

void CNewPlaceOrderDlg::PostNcDestroy()
{
    // Under a review's handler the object lives until the handler is done with it.
    if (m_road.MayDeleteForm())
        CFormDialog::PostNcDestroy();
}
