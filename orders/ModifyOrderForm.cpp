// The modify forms' road: Submit, the preview, the review, the change or cancel, the
// acknowledgement and the order's end.
#include "orders/ModifyOrderForm.h"

#include <cstdlib>
#include <memory>

#include "app/ZorvatApp.h"
#include "link/ErrorDictionary.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "orders/ReviewOrderOddLotKSEDlg.h"

namespace {
#define MODE_CANCEL 1
#define MODE_MODIFY 2

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
    values.bKeptFlag = shot.bTicketFlag;
    return values;
}

// Sends the line; 0 when it did not leave.
long Send(const CString& strLine)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->SendRequest(strLine) : 0;
}

bool IsLimitType(int nType)
{
    return nType == 0 || nType == 2;
}

bool IsStopType(int nType)
{
    return nType == 1 || nType == 2;
}

// The checks of Modify and Cancel order: a quantity (40323), the prices its type needs (40324).
UINT CheckModify(const ORDER_TICKET_SNAPSHOT& shot)
{
    if (atof(shot.strQuantity) == 0.0)
        return IDS_ORDER_NO_QUANTITY;
    if ((IsLimitType(shot.nOrderType) && atof(shot.strLimitPrice) == 0.0) ||
        (IsStopType(shot.nOrderType) && atof(shot.strStopPrice) == 0.0))
        return IDS_ORDER_NO_PRICE;
    return 0;
}

CMessageTypeSet ModifyTypes(int nMoreType)
{
    CMessageTypeSet types = {MSG_OW, MSG_KW, MSG_OM, MSG_KM, MSG_OC, MSG_KC, MSG_NC};
    if (nMoreType != 0)
        types.Add(nMoreType);
    return types;
}
}  // namespace

BEGIN_MESSAGE_MAP(CModifyOrderForm, CFormDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CModifyOrderForm::CModifyOrderForm(UINT nTemplate, const MODIFY_CONTROLS& controls, int nMoreType)
    : CFormDialog(nTemplate), CZorvatMessageSink(ModifyTypes(nMoreType)), m_controls(controls)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->AddSink(GetSinkRecord());
}

void CModifyOrderForm::SetOrder(long nOrder, BOOL bChangeable)
{
    m_nOrder = nOrder;
    m_bChangeable = nOrder != 0 && bChangeable;
    m_pending.Clear();
    EnableControl(m_controls.nCancel, nOrder != 0);
    EnableModify();
}

void CModifyOrderForm::EnableModify()
{
    EnableControl(m_controls.nModify, m_bChangeable);
}

BOOL CModifyOrderForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && (nId == m_controls.nModify || nId == m_controls.nCancel)) {
        Submit(nId == m_controls.nModify);
        return TRUE;
    }
    return CFormDialog::OnCommand(wParam, lParam);
}

void CModifyOrderForm::Submit(BOOL bModify)
{
    if (m_pReview != nullptr || m_bEnding || m_nOrder == 0 || (bModify && !m_bChangeable))
        return;
    ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    shot.nOrderNumber = m_nOrder;
    if (const UINT nRefusal = CheckModify(shot)) {
        Refuse(nRefusal, nRefusal == IDS_ORDER_NO_QUANTITY ? m_controls.nQuantity : 0);
        return;
    }
    if (shot.nSide == 1 || shot.nSide == 27)
        SetKeptTicketFlag(shot.bTicketFlag);
    const MODIFY_ROAD& roads = GetRoads();
    if (!bModify) {
        CServerMessage preview(1);
        UINT nRefusal = 0;
        if (!BuildLocalPreview(*roads.cancel.pCheck, ValuesOf(shot, nullptr), &preview, &nRefusal)) {
            Refuse(nRefusal, 0);
            return;
        }
        m_pending.Clear();
        Review(roads.cancel, MODE_CANCEL, preview, shot);
        return;
    }
    CString strLine;
    UINT nRefusal = BuildOrderRequest(*roads.modify.pCheck, ValuesOf(shot, nullptr), &strLine);
    long nNumber = 0;
    if (nRefusal == 0 && (nNumber = Send(strLine)) == 0)
        nRefusal = IDS_ORDER_NOT_CONNECTED;
    if (nRefusal != 0) {
        Refuse(nRefusal, 0);
        return;
    }
    m_pending.CheckSent(roads.modify, nNumber, shot);
    EnableControl(m_controls.nModify, FALSE);
}

void CModifyOrderForm::Refuse(UINT nTextId, int nFocus)
{
    m_pending.Clear();
    ShowMarketInfo(nullptr, nTextId, 2);
    if (nFocus != 0)
        GetDlgItem(nFocus)->SetFocus();
    EnableModify();
}

void CModifyOrderForm::OnPreviewReply(CServerMessage* pMsg)
{
    if (!m_pending.IsCheckReply(pMsg) || m_pReview != nullptr)
        return;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    // Copies: the link reads on while the review runs.
    const ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    const CServerMessage reply(*pMsg);
    m_pending.Clear();
    const long nError = reply.GetLong(road.nCheckError);
    if (nError != 0) {
        CString strText;
        if (CZORVAT32App* pApp = CZORVAT32App::Get()) {
            if (road.nCheckInsert >= 0)
                pApp->GetErrorDictionary().FormatReplyError(&strText, road.nCheckError, road.nCheckInsert, &reply);
            else
                strText = pApp->GetErrorText(nError);
        }
        ShowMarketInfo(strText, 0, 2);
        EnableModify();
        return;
    }
    Review(road, MODE_MODIFY, reply, shot);
}

void CModifyOrderForm::Review(const ORDER_ROAD& road, int nMode, const CServerMessage& preview,
                              const ORDER_TICKET_SNAPSHOT& shot)
{
    const CString strName = GetSecurityName();
    std::unique_ptr<CReviewDialog> pDialog;
    if (road.nReview == OR_US)
        pDialog = std::make_unique<CReviewOrderDlg>(preview, &strName, nMode);
    else if (road.nReview == OR_ODD_LOT)
        pDialog = std::make_unique<CReviewOrderOddLotKSEDlg>(preview, &strName, nMode);
    else
        pDialog = std::make_unique<CReviewOrderKSEDlg>(preview, &strName, nMode, FALSE);
    if (road.nReviewTitle != 0)
        pDialog->SetTitleId(road.nReviewTitle);
    m_pReview = pDialog.get();
    const int nResult = static_cast<int>(pDialog->DoModal());
    m_pReview = nullptr;
    if (m_bDestroyedInReview) {
        delete this;            // its window is gone
        return;
    }
    if (m_bEnding) {
        CloseForm();
        return;
    }
    if (nResult == IDOK) {
        CString strLine;
        UINT nRefusal = BuildOrderRequest(*road.pOrder, ValuesOf(shot, pDialog->GetPassword()), &strLine);
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
    EnableModify();
}

void CModifyOrderForm::OnAcknowledgement(CServerMessage* pMsg)
{
    if (!m_pending.IsOrderReply(pMsg))
        return;
    const ORDER_ACK& ack = *m_pending.GetRoad()->pAck;
    m_pending.Clear();
    CString strText;
    if (!BuildAcknowledgement(ack, *pMsg, nullptr, &strText)) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            ShowMarketInfo(pApp->GetErrorText(pMsg->GetLong(ack.nError)), 0, 2);
        return;
    }
    ShowMarketInfo(strText, 0, 1);
    EndForm();
}

void CModifyOrderForm::OnNC(CServerMessage* pMsg)
{
    if (m_nOrder == 0 || pMsg->GetLong(0) != m_nOrder)
        return;
    CString strText;
    strText.FormatMessage(IDS_ORDER_CANCELLED, pMsg->GetField(0), pMsg->GetField(4));
    ShowMarketInfo(strText, 0, 1);
    EndForm();
}

void CModifyOrderForm::EndForm()
{
    m_pending.Clear();
    if (m_pReview != nullptr) {
        // The review's handler closes the form when the review is over.
        m_bEnding = TRUE;
        if (m_pReview->m_hWnd != nullptr)
            m_pReview->EndDialog(IDCANCEL);
        return;
    }
    CloseForm();
}

void CModifyOrderForm::OnDestroy()
{
    // A close or log-off during the review ends it with Cancel: nothing is sent.
    if (m_pReview != nullptr && m_pReview->m_hWnd != nullptr)
        m_pReview->EndDialog(IDCANCEL);
    if (CMessageSource* pSource = GetSinkRecord()->m_pSource)
        pSource->RemoveSink(GetSinkId());
    CFormDialog::OnDestroy();
}

void CModifyOrderForm::PostNcDestroy()
{
    // Under a review's handler the object lives until the handler is done with it.
    if (m_pReview != nullptr)
        m_bDestroyedInReview = TRUE;
    else
        CFormDialog::PostNcDestroy();
}

void CModifyOrderForm::EnableControl(int nId, BOOL bEnable)
{
    if (CWnd* pControl = GetDlgItem(nId))
        pControl->EnableWindow(bEnable);
}

void CModifyOrderForm::ShowControl(int nId, BOOL bShow)
{
    if (CWnd* pControl = GetDlgItem(nId))
        pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

CString CModifyOrderForm::GetText(int nId) const
{
    char szText[512] = "";
    ::GetDlgItemTextA(m_hWnd, nId, szText, sizeof szText);
    return szText;
}

void CModifyOrderForm::SetText(int nId, LPCSTR pszText)
{
    ::SetDlgItemTextA(m_hWnd, nId, pszText != nullptr ? pszText : "");
}

CString CModifyOrderForm::GetBoxText(int nId) const
{
    const HWND hBox = ::GetDlgItem(m_hWnd, nId);
    const LRESULT nItem = ::SendMessageA(hBox, CB_GETCURSEL, 0, 0);
    char szText[512] = "";
    const LRESULT nLength = nItem == CB_ERR ? 0 : ::SendMessageA(hBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(nItem), 0);
    if (nLength <= 0 || nLength >= static_cast<LRESULT>(sizeof szText))
        return GetText(nId);
    ::SendMessageA(hBox, CB_GETLBTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(szText));
    return szText;
}

int CModifyOrderForm::SelectBoxText(int nId, LPCSTR pszText, BOOL bAdd)
{
    LRESULT nItem = SendDlgItemMessage(nId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
    if (nItem == CB_ERR && bAdd && pszText != nullptr && *pszText != '\0')
        nItem = SendDlgItemMessage(nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(nItem == CB_ERR ? -1 : nItem));
    return nItem == CB_ERR ? -1 : static_cast<int>(nItem);
}
