// The order ticket's order road: Submit reads the form once and sends the check of its road;
// the ticket's own check reply opens the review, whose OK sends the order built from the same
// values plus the password; the ticket's own order reply is acknowledged and the ticket cleared.
// The review runs modally inside the reply handler while the link keeps reading: the values
// are a copy, and a close during it ends it with Cancel and deletes the ticket afterwards.
#include <memory>

#include "app/ZorvatApp.h"
#include "link/ErrorDictionary.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderForwardDlg.h"
#include "orders/ReviewOrderKSEDlg.h"

namespace {
ORDER_VALUES ValuesOf(const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword)
{
    ORDER_VALUES values;
    values.pShot = &shot;
    if (const CZORVAT32App* pApp = CZORVAT32App::Get()) {
        const CUser user = pApp->GetUser();
        values.strUser.Format("%d", user.GetUserNumber());
        values.strAccount = user.GetAccountText();
    }
    values.strPassword = pszPassword != nullptr ? pszPassword : "";
    // The flag as this Submit kept it, whatever another ticket kept since.
    values.bKeptFlag = shot.bTicketFlag;
    return values;
}

// Sends the line; 0 when it did not leave.
long Send(const CString& strLine)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->SendRequest(strLine) : 0;
}

// The US check's results whose text takes the reply's insert.
bool TakesInsert(long nCode)
{
    return nCode == 428 || nCode == 432 || nCode == 433;
}
}  // namespace

void CNewPlaceOrderDlg::Submit()
{
    if (m_pReview != nullptr)
        return;                 // one review at a time
    const ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    SetKeptTicketFlag(shot.bTicketFlag);
    int nFocus = 0;
    UINT nRefusal = CheckOrderTicket(shot, &nFocus);
    const ORDER_ROAD* pRoad = FindTicketRoad(shot.nKseMarketType);
    if (nRefusal == 0 && pRoad == nullptr)
        return;
    CString strLine;
    if (nRefusal == 0)
        nRefusal = BuildOrderRequest(*pRoad->pCheck, ValuesOf(shot, nullptr), &strLine);
    long nNumber = 0;
    if (nRefusal == 0 && (nNumber = Send(strLine)) == 0)
        nRefusal = IDS_ORDER_NOT_CONNECTED;
    if (nRefusal != 0) {
        Refuse(nRefusal, nFocus);
        return;
    }
    m_pending.CheckSent(*pRoad, nNumber, shot);
    EnableControl(IDC_TICKET_SUBMIT, FALSE);
}

void CNewPlaceOrderDlg::Refuse(UINT nTextId, int nFocus)
{
    m_pending.Clear();
    ShowMarketInfo(nullptr, nTextId, 2);
    if (nFocus != 0)
        GetDlgItem(nFocus)->SetFocus();
    EnableControl(IDC_TICKET_SUBMIT, TRUE);
}

void CNewPlaceOrderDlg::OnCheckReply(CServerMessage* pMsg)
{
    if (!m_pending.IsCheckReply(pMsg) || m_pReview != nullptr)
        return;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    // Copies: the link reads on while the review runs.
    const ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    const CServerMessage reply(*pMsg);
    m_pending.Clear();
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const long nError = reply.GetLong(road.nCheckError);
    if (nError != 0) {
        EnableControl(IDC_TICKET_SUBMIT, TRUE);
        CString strText;
        if (pApp != nullptr && (road.nReview != OR_US || TakesInsert(nError)))
            pApp->GetErrorDictionary().FormatReplyError(&strText, road.nCheckError, road.nCheckInsert, &reply);
        else if (pApp != nullptr)
            strText = pApp->GetErrorText(nError);
        ShowMarketInfo(strText, 0, 2);
        return;
    }
    CString strPassword;
    const int nResult = RunReview(road, reply, shot, &strPassword);
    if (m_bDestroyedInReview) {
        delete this;            // closed during the review; its window is gone
        return;
    }
    if (nResult == IDOK)
        SendOrder(road, shot, strPassword);
    EnableControl(IDC_TICKET_SUBMIT, TRUE);
}

int CNewPlaceOrderDlg::RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                                 CString* pPassword)
{
    std::unique_ptr<CReviewDialog> pDialog;
    switch (road.nReview) {
    case OR_US: pDialog = std::make_unique<CReviewOrderDlg>(reply, &shot.strDescription, 0); break;
    case OR_FORWARD: pDialog = std::make_unique<CReviewOrderForwardDlg>(reply, &shot.strDescription, 0); break;
    default:
        pDialog = std::make_unique<CReviewOrderKSEDlg>(reply, &shot.strDescription, 0, road.nReview == OR_CONTRACT);
        break;
    }
    if (road.nReviewTitle != 0)
        pDialog->SetTitleId(road.nReviewTitle);
    m_pReview = pDialog.get();
    const int nResult = static_cast<int>(pDialog->DoModal());
    m_pReview = nullptr;
    if (nResult == IDOK)
        *pPassword = pDialog->GetPassword();
    return m_bDestroyedInReview ? IDCANCEL : nResult;
}

void CNewPlaceOrderDlg::SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword)
{
    CString strLine;
    UINT nRefusal = BuildOrderRequest(*road.pOrder, ValuesOf(shot, pszPassword), &strLine);
    long nNumber = 0;
    if (nRefusal == 0 && (nNumber = Send(strLine)) == 0)
        nRefusal = IDS_ORDER_NOT_CONNECTED;
    if (nRefusal != 0) {
        Refuse(nRefusal, 0);
        return;
    }
    m_pending.CheckSent(road, 0, shot);
    m_pending.OrderSent(nNumber);
}

void CNewPlaceOrderDlg::OnOrderReply(CServerMessage* pMsg)
{
    if (!m_pending.IsOrderReply(pMsg))
        return;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    m_pending.Clear();
    CString strName;
    if (road.pAck->nKind == ACK_FORWARD)
        strName = GetKseStockName(pMsg->GetFieldText(road.pAck->nStock));
    CString strText;
    if (!BuildAcknowledgement(*road.pAck, *pMsg, strName, &strText)) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            ShowMarketInfo(pApp->GetErrorText(pMsg->GetLong(road.pAck->nError)), 0, 2);
        return;
    }
    ShowMarketInfo(strText, 0, 1);
    ClearAfterAcknowledgement(road.pOrder->nType);
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
    if (m_pReview != nullptr)
        m_bDestroyedInReview = TRUE;
    else
        CFormDialog::PostNcDestroy();
}
