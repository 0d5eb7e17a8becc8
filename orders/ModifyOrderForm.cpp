// The modify forms' road: Submit, the preview, the review, the change or cancel, the
// acknowledgement and the order's end.
#include "orders/ModifyOrderForm.h"

#include <cstdlib>
#include <memory>

#include "app/ZorvatApp.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "orders/ReviewOrderOddLotKSEDlg.h"

namespace {
#define MODE_CANCEL 1
#define MODE_MODIFY 2

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

CModifyOrderForm::CModifyOrderForm(UINT nTemplate, const MODIFY_CONTROLS& controls, int nMoreType)
    : COrderFormBase(nTemplate, ModifyTypes(nMoreType)), m_controls(controls)
{
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
    return COrderFormBase::OnCommand(wParam, lParam);
}

void CModifyOrderForm::Submit(BOOL bModify)
{
    if (IsInModal() || m_bEnding || m_nOrder == 0 || (bModify && !m_bChangeable))
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
    UINT nRefusal = 0;
    const long nNumber = SendBody(*roads.modify.pCheck, ValuesOf(shot, nullptr), &nRefusal);
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
    ShowRefusal(nTextId, nFocus);
    EnableModify();
}

void CModifyOrderForm::OnPreviewReply(CServerMessage* pMsg)
{
    if (!m_pending.IsCheckReply(pMsg) || IsInModal())
        return;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    // Copies: the link reads on while the review runs.
    const ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    const CServerMessage reply(*pMsg);
    m_pending.Clear();
    if (reply.GetLong(road.nCheckError) != 0) {
        ShowReplyError(reply, road.nCheckError, road.nCheckInsert);
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
    const INT_PTR nResult = RunModal(*pDialog);
    if (DeleteIfGone())
        return;                 // its window is gone
    if (m_bEnding) {
        CloseForm();
        return;
    }
    if (nResult == IDOK) {
        UINT nRefusal = 0;
        const long nNumber = SendBody(*road.pOrder, ValuesOf(shot, pDialog->GetPassword()), &nRefusal);
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
        ShowError(pMsg->GetLong(ack.nError));
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
    if (IsInModal()) {
        // The review's handler closes the form when the review is over.
        m_bEnding = TRUE;
        CancelModal();
        return;
    }
    CloseForm();
}
