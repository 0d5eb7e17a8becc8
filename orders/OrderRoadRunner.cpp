// The order road of the order forms: Submit, the form's own check reply and its review, the
// order built from the reviewed snapshot, the form's own order reply.
#include "orders/OrderRoadRunner.h"

#include <memory>

#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "link/ErrorDictionary.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderForwardDlg.h"
#include "orders/ReviewOrderKSEDlg.h"

namespace {
const int SUBMIT_ID = 5737;                 // every order form's Submit button
const UINT KSE_STOCK_LIST = 56376;
const int KSE_NAME_COLUMN = 3, KSE_NAME_AR_COLUMN = 4;

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

CString GetKseStockListName(LPCSTR pszStock)
{
    CDataTable* pTable = FindDataTable(KSE_STOCK_LIST);
    CDataBuffer* pRow = pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow({pszStock}) : nullptr;
    return pRow != nullptr ? pRow->GetText(GetNorvGlobals().m_nLanguage == 1 ? KSE_NAME_AR_COLUMN : KSE_NAME_COLUMN)
                           : CString();
}

BOOL COrderRoadRunner::Submit(const ORDER_ROAD* pRoad, const ORDER_TICKET_SNAPSHOT& shot)
{
    if (m_pReview != nullptr)
        return FALSE;           // one review at a time
    int nFocus = 0;
    UINT nRefusal = CheckOrderTicket(shot, &nFocus);
    if (nRefusal == 0 && pRoad == nullptr)
        return FALSE;
    CString strLine;
    if (nRefusal == 0)
        nRefusal = BuildOrderRequest(*pRoad->pCheck, ValuesOf(shot, nullptr), &strLine);
    long nNumber = 0;
    if (nRefusal == 0 && (nNumber = Send(strLine)) == 0)
        nRefusal = IDS_ORDER_NOT_CONNECTED;
    if (nRefusal != 0) {
        Refuse(nRefusal, nFocus);
        return FALSE;
    }
    m_pending.CheckSent(*pRoad, nNumber, shot);
    EnableSubmit(FALSE);
    return TRUE;
}

void COrderRoadRunner::Refuse(UINT nTextId, int nFocus)
{
    m_pending.Clear();
    ShowMarketInfo(nullptr, nTextId, 2);
    if (nFocus != 0)
        if (CWnd* pField = m_pForm->GetDlgItem(nFocus))
            pField->SetFocus();
    EnableSubmit(TRUE);
}

void COrderRoadRunner::EnableSubmit(BOOL bEnable)
{
    if (HWND hButton = ::GetDlgItem(m_pForm->m_hWnd, SUBMIT_ID))
        ::EnableWindow(hButton, bEnable);
}

BOOL COrderRoadRunner::OnCheckReply(CServerMessage* pMsg)
{
    if (!m_pending.IsCheckReply(pMsg) || m_pReview != nullptr)
        return FALSE;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    // Copies: the link reads on while the review runs.
    const ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    const CServerMessage reply(*pMsg);
    m_pending.Clear();
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const long nError = reply.GetLong(road.nCheckError);
    if (nError != 0) {
        EnableSubmit(TRUE);
        CString strText;
        if (pApp != nullptr && (road.nReview != OR_US || TakesInsert(nError)))
            pApp->GetErrorDictionary().FormatReplyError(&strText, road.nCheckError, road.nCheckInsert, &reply);
        else if (pApp != nullptr)
            strText = pApp->GetErrorText(nError);
        ShowMarketInfo(strText, 0, 2);
        return TRUE;
    }
    CString strPassword;
    const int nResult = RunReview(road, reply, shot, &strPassword);
    if (m_bFormGone)
        return TRUE;            // the form is deleted by its handler now
    if (nResult == IDOK)
        SendOrder(road, shot, strPassword);
    EnableSubmit(TRUE);
    return TRUE;
}

int COrderRoadRunner::RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
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
    return m_bFormGone ? IDCANCEL : nResult;
}

void COrderRoadRunner::SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword)
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

const ORDER_ROAD* COrderRoadRunner::OnOrderReply(CServerMessage* pMsg)
{
    if (!m_pending.IsOrderReply(pMsg))
        return nullptr;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    m_pending.Clear();
    CString strName;
    if (road.pAck->nKind == ACK_FORWARD)
        strName = GetKseStockListName(pMsg->GetFieldText(road.pAck->nStock));
    CString strText;
    if (!BuildAcknowledgement(*road.pAck, *pMsg, strName, &strText)) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            ShowMarketInfo(pApp->GetErrorText(pMsg->GetLong(road.pAck->nError)), 0, 2);
        return nullptr;
    }
    ShowMarketInfo(strText, 0, 1);
    return &road;
}

void COrderRoadRunner::OnFormDestroy()
{
    // A close or log-off during the review ends it with Cancel: nothing is sent.
    if (m_pReview != nullptr && m_pReview->m_hWnd != nullptr)
        m_pReview->EndDialog(IDCANCEL);
}

BOOL COrderRoadRunner::MayDeleteForm()
{
    if (m_pReview == nullptr)
        return TRUE;
    m_bFormGone = TRUE;
    return FALSE;
}
