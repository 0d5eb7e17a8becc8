// The order road of the order forms: Submit, the form's own check and order replies, the review
// run inside the reply handler.
#include "orders/OrderRoadForm.h"

#include <memory>

#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "link/ErrorDictionary.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderForwardDlg.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "orders/ReviewOrderOddLotKSEDlg.h"

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

CString GetKseStockName(LPCSTR pszStock, BOOL bFirst)
{
    CDataTable* pTable = FindDataTable(IDS_TABLE_STOCK_LIST_KSE);
    CDataBuffer* pRow = pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow({pszStock}) : nullptr;
    if (pRow == nullptr)
        return CString();
    return pRow->GetText(!bFirst && GetNorvGlobals().m_nLanguage == 1 ? SLC_NAME_AR : SLC_NAME);
}

BEGIN_MESSAGE_MAP(COrderRoadForm, CFormDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COrderRoadForm::COrderRoadForm(UINT nTemplate, const CMessageTypeSet& types, BOOL bAddSinkNow)
    : CFormDialog(nTemplate), CZorvatMessageSink(types)
{
    if (bAddSinkNow)
        AddSink();
}

void COrderRoadForm::AddSink()
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->AddSink(GetSinkRecord());
}

void COrderRoadForm::Submit()
{
    if (m_pReview != nullptr)
        return;                 // one review at a time
    const ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    int nFocus = 0;
    UINT nRefusal = CheckOrderTicket(shot, &nFocus);
    const ORDER_ROAD* pRoad = GetRoadOf(shot);
    if (nRefusal == 0 && pRoad == nullptr) {
        KeepTicketFlag(shot, FALSE);
        return;
    }
    CString strLine;
    if (nRefusal == 0)
        nRefusal = BuildOrderRequest(*pRoad->pCheck, ValuesOf(shot, nullptr), &strLine);
    long nNumber = 0;
    if (nRefusal == 0 && (nNumber = Send(strLine)) == 0)
        nRefusal = IDS_ORDER_NOT_CONNECTED;
    KeepTicketFlag(shot, nRefusal == 0);
    if (nRefusal != 0) {
        Refuse(nRefusal, nFocus);
        return;
    }
    m_pending.CheckSent(*pRoad, nNumber, shot);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ORDER_FORM_SUBMIT), FALSE);
}

void COrderRoadForm::Refuse(UINT nTextId, int nFocus)
{
    m_pending.Clear();
    ShowMarketInfo(nullptr, nTextId, 2);
    if (nFocus != 0 && ::GetDlgItem(m_hWnd, nFocus) != nullptr)
        ::SetFocus(::GetDlgItem(m_hWnd, nFocus));
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ORDER_FORM_SUBMIT), TRUE);
}

void COrderRoadForm::OnCheckReply(CServerMessage* pMsg)
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
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ORDER_FORM_SUBMIT), TRUE);
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
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ORDER_FORM_SUBMIT), TRUE);
}

int COrderRoadForm::RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                              CString* pPassword)
{
    std::unique_ptr<CReviewDialog> pDialog;
    switch (road.nReview) {
    case OR_US: pDialog = std::make_unique<CReviewOrderDlg>(reply, &shot.strDescription, 0); break;
    case OR_FORWARD: pDialog = std::make_unique<CReviewOrderForwardDlg>(reply, &shot.strDescription, 0); break;
    case OR_ODD_LOT: pDialog = std::make_unique<CReviewOrderOddLotKSEDlg>(reply, &shot.strDescription, 0); break;
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

void COrderRoadForm::SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword)
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

void COrderRoadForm::OnOrderReply(CServerMessage* pMsg)
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

void COrderRoadForm::OnDestroy()
{
    // A close or log-off during the review ends it with Cancel: nothing is sent.
    if (m_pReview != nullptr && m_pReview->m_hWnd != nullptr)
        m_pReview->EndDialog(IDCANCEL);
    if (CMessageSource* pSource = GetSinkRecord()->m_pSource)
        pSource->RemoveSink(GetSinkId());
    CFormDialog::OnDestroy();
}

void COrderRoadForm::PostNcDestroy()
{
    // Under a review's handler the object lives until the handler is done with it.
    if (m_pReview != nullptr)
        m_bDestroyedInReview = TRUE;
    else
        CFormDialog::PostNcDestroy();
}
