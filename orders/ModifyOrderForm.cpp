// The modify forms' road: Submit, the preview, the review, the change or cancel, the
// acknowledgement and the order's end.
#include "orders/ModifyOrderForm.h"

#include <cstdlib>
#include <memory>

#include "app/FormMDIWnd.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/NorvGlobals.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "orders/ReviewOrderOddLotKSEDlg.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
#define MODE_CANCEL 1
#define MODE_MODIFY 2
#define KSE_MARKET_CODE 2
#define KSE_MARKET_MASK 1

// US order-status columns.
enum { UC_SIDE = 2, UC_SYMBOL = 3, UC_QUANTITY = 4, UC_TYPE = 5, UC_LIMIT = 6, UC_STOP = 7, UC_DURATION = 8,
       UC_GOOD_TILL = 9, UC_OPEN = 10, UC_FILLED = 11, UC_STATUS = 12, UC_FIXED = 13, UC_DURATION_FIXED = 16, UC_UNDERLYING = 17, UC_RIGHT = 18,
       UC_OPTION_B = 19, UC_OPTION_A = 20, UC_MARKET = 21, UC_CURRENCY = 22, UC_LINKED = 24 };
// KSE order-status columns.
enum { KC_MARKET_TYPE = 3, KC_SIDE = 4, KC_SYMBOL = 5, KC_SERIES = 8, KC_QUANTITY = 9, KC_TYPE = 10,
       KC_LIMIT = 11, KC_STOP = 12, KC_DURATION = 13, KC_GOOD_TILL = 14, KC_OPEN = 15, KC_FILLED = 16,
       KC_STATE = 19, KC_DATE = 20, KC_CONTRACT = 21 };

CString Whole(long nValue)
{
    CString strText;
    strText.Format("%ld", nValue);
    return strText;
}

// A count of shares as the quantity beside it shows one: "184,200".
CString Shares(long nValue)
{
    return GroupedNumber(static_cast<LPCSTR>(Whole(nValue))).c_str();
}

// An eight-digit year-month-day above 20000000, else no date.
COleDateTime DateOf(long nDate)
{
    COleDateTime date;
    date.SetStatus(COleDateTime::invalid);
    if (nDate > 20000000)
        date.SetDate(nDate / 10000, nDate / 100 % 100, nDate % 100);
    return date;
}

CDataBuffer* FindOrderRow(UINT nTableId, long nOrder)
{
    CDataTable* pTable = FindDataTable(nTableId);
    return pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow({Whole(nOrder)}) : nullptr;
}

BOOL ReadUSRow(long nOrder, OPEN_ORDER* pOrder)
{
    const CDataBuffer* pRow = FindOrderRow(IDS_TABLE_US_ORDER_STATUS, nOrder);
    if (pRow == nullptr)
        return FALSE;
    pOrder->nOrder = nOrder;
    // An order linked to another that is still open stays as it is; the link's key is a number,
    // 0 for none.
    const long nLinked = pRow->GetLong(UC_LINKED);
    if (nLinked == 0) {
        pOrder->bChangeable = pRow->GetLong(UC_FIXED) != 1;
    } else {
        const CDataBuffer* pLinked = FindOrderRow(IDS_TABLE_US_ORDER_STATUS, nLinked);
        pOrder->bChangeable = pLinked == nullptr || pLinked->GetDouble(UC_OPEN) <= 0;
    }
    pOrder->strSide = pRow->GetText(UC_SIDE, TRUE);
    pOrder->strType = pRow->GetText(UC_TYPE, TRUE);
    pOrder->strDuration = pRow->GetText(UC_DURATION, TRUE);
    pOrder->dLimit = pRow->GetDouble(UC_LIMIT);
    pOrder->dStop = pRow->GetDouble(UC_STOP);
    pOrder->strSymbol = pRow->GetText(UC_SYMBOL);
    pOrder->strMarket = pRow->GetText(UC_MARKET);
    pOrder->nMarketCode = GetGlobals()->GetMarketCode(pOrder->strMarket);
    pOrder->bDurationFixed = pRow->GetLong(UC_DURATION_FIXED) == 1;
    pOrder->strCurrency = pRow->GetText(UC_CURRENCY);
    pOrder->strQuantity = Whole(pRow->GetLong(UC_QUANTITY));
    pOrder->strOpen = Shares(pRow->GetLong(UC_OPEN));
    pOrder->strFilled = Shares(pRow->GetLong(UC_FILLED));
    pOrder->goodTill = DateOf(pRow->GetLong(UC_GOOD_TILL));
    const long nRight = pRow->GetLong(UC_RIGHT);
    if (nRight == 1 || nRight == 2) {
        pOrder->strRight = COptionRight::GetText(nRight);
        pOrder->strOptionA = pRow->GetText(UC_OPTION_A, TRUE);
        pOrder->strOptionB = pRow->GetText(UC_OPTION_B, TRUE);
        pOrder->series.strUnderlying = pRow->GetText(UC_UNDERLYING);
        pOrder->series.nRight = static_cast<int>(nRight);
        pOrder->series.strStrike = pOrder->strOptionA;
        const COleDateTime expiry = DateOf(pRow->GetLong(UC_OPTION_B));
        if (expiry.GetStatus() == COleDateTime::valid)
            pOrder->series.strExpiryKey = expiry.Format("%Y/%m/%d");
    }
    return TRUE;
}

BOOL ReadKSERow(long nOrder, OPEN_ORDER* pOrder)
{
    const CDataBuffer* pRow = FindOrderRow(IDS_TABLE_KSE_ORDER_STATUS, nOrder);
    if (pRow == nullptr)
        return FALSE;
    const long nState = pRow->GetLong(KC_STATE);
    if (nState != 1 && nState != 2 && nState != 6) {
        ShowMarketInfo(nullptr, IDS_ORDER_STATE_REFUSED, 2);
        return FALSE;
    }
    pOrder->nOrder = nOrder;
    pOrder->bKse = TRUE;
    pOrder->bChangeable = nState != 6;
    MarketDetail market;
    // The market's own word overrides the order's state while it is 2.
    if (GetGlobals()->LookupMarket(KSE_MARKET_CODE, market) && market.m_nValue5 == 2)
        pOrder->bChangeable = (market.m_nValue19 & KSE_MARKET_MASK) == 0;
    pOrder->strSymbol = pRow->GetText(KC_SYMBOL);
    if (auto* pList = dynamic_cast<CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE)))
        pOrder->strSecurity = pList->GetStockName(atol(pOrder->strSymbol), GetNorvGlobals().m_bRightToLeft);
    pOrder->strSide = pRow->GetText(KC_SIDE, TRUE);
    pOrder->strType = pRow->GetText(KC_TYPE, TRUE);
    pOrder->strDuration = pRow->GetText(KC_DURATION, TRUE);
    pOrder->dLimit = pRow->GetDouble(KC_LIMIT);
    pOrder->dStop = pRow->GetDouble(KC_STOP);
    pOrder->strMarket = GetGlobals()->GetMarketName(KSE_MARKET_CODE);
    pOrder->nMarketCode = KSE_MARKET_CODE;
    pOrder->nKseMarketType = pRow->GetLong(KC_MARKET_TYPE);
    if (pOrder->nKseMarketType == 4) {
        pOrder->strContract = pRow->GetText(KC_CONTRACT);
        pOrder->strSeries = pRow->GetText(KC_SERIES);
        pOrder->contractDate = DateOf(pRow->GetLong(KC_DATE));
    }
    pOrder->strQuantity = Whole(pRow->GetLong(KC_QUANTITY));
    pOrder->strOpen = Shares(pRow->GetLong(KC_OPEN));
    pOrder->strFilled = Shares(pRow->GetLong(KC_FILLED));
    pOrder->goodTill = DateOf(pRow->GetLong(KC_GOOD_TILL));
    return TRUE;
}

// The order's row in its family's order-status table; null when there is none.
const CDataBuffer* OrderRow(BOOL bKse, long nOrder)
{
    return FindOrderRow(bKse ? IDS_TABLE_KSE_ORDER_STATUS : IDS_TABLE_US_ORDER_STATUS, nOrder);
}

BOOL IsOpenStatus(long nStatus)
{
    return nStatus == 1 || nStatus == 2 || nStatus == 6;
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
    CMessageTypeSet types = {MSG_OW, MSG_KW, MSG_OM, MSG_KM, MSG_OC, MSG_KC, MSG_NC, MSG_NO, MSG_NS, MSG_NT};
    if (nMoreType != 0)
        types.Add(nMoreType);
    return types;
}
}  // namespace

BEGIN_MESSAGE_MAP(CModifyOrderForm, COrderFormBase)
    ON_MESSAGE(WM_FORM_CLOSING, OnFormClosing)
    ON_MESSAGE(WM_FORM_LINK_DOWN, OnLinkDown)
    ON_MESSAGE(WM_FORM_ORDER_ROWS, OnOrderRowChanged)
END_MESSAGE_MAP()

CModifyOrderForm::CModifyOrderForm(UINT nTemplate, const MODIFY_CONTROLS& controls, int nMoreType)
    : COrderFormBase(nTemplate, ModifyTypes(nMoreType)), m_controls(controls)
{
}

BOOL CModifyOrderForm::ReadOpenOrder(BOOL bKse, long nOrder, OPEN_ORDER* pOrder)
{
    return bKse ? ReadKSERow(nOrder, pOrder) : ReadUSRow(nOrder, pOrder);
}

void CModifyOrderForm::AskSecurityName(const CString& strSymbol, long nMarketCode)
{
    m_nNameRequest = SendNameRequest(strSymbol, nMarketCode);
}

BOOL CModifyOrderForm::TakeSecurityName(const CServerMessage& msg, const CString& strSymbol)
{
    if (m_nNameRequest == 0 || GetRawLineNumber(&msg) != m_nNameRequest)
        return FALSE;
    m_nNameRequest = 0;
    return msg.GetLong(0) == 0 && msg.GetField(2) == strSymbol;
}

void CModifyOrderForm::SetOrder(long nOrder, BOOL bChangeable)
{
    m_nOrder = nOrder;
    m_bChangeable = nOrder != 0 && bChangeable;
    m_bFinished = FALSE;
    m_loaded = TakeSeriesSnapshot();
    m_loaded.nOrderNumber = nOrder;
    m_pending.ForgetCheck();
    EnableControl(m_controls.nCancel, nOrder != 0);
    EnableModify();
    if (m_bHidden) {
        m_bHidden = FALSE;
        if (auto* pFrame = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)))) {
            pFrame->ShowWindow(SW_SHOW);
            pFrame->MDIActivate();
        }
    }
}

LRESULT CModifyOrderForm::OnFormClosing(WPARAM, LPARAM)
{
    // Logged off, no reply comes any more: the form goes at once.
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (!m_pending.IsOrderPending() || pApp == nullptr || !pApp->IsLoggedIn())
        return 0;
    m_bHidden = TRUE;
    EndForm();
    return 1;
}

LRESULT CModifyOrderForm::OnLinkDown(WPARAM, LPARAM)
{
    m_pending.ForgetAll();
    if (m_bFinished)
        EndForm();              // it only waited for its replies
    else if (!IsInModal())
        EnableModify();         // no preview comes: Modify takes another try
    return 0;
}

void CModifyOrderForm::ShowDays(int nId, LPCSTR pszDays)
{
    SetText(nId, pszDays);
    m_strDaysShown = GetText(nId);
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
    if (IsInModal() || m_bEnding || m_bFinished || m_nOrder == 0 || (bModify && !m_bChangeable) || !FollowOrder())
        return;
    // A cancel stands for the order as loaded, whatever the fields hold by now.
    ORDER_TICKET_SNAPSHOT shot = bModify ? TakeSeriesSnapshot() : m_loaded;
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
        m_pending.ForgetCheck();
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

ORDER_TICKET_SNAPSHOT CModifyOrderForm::TakeSeriesSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    shot.strUnderlying = m_series.strUnderlying;
    shot.nRight = m_series.nRight;
    shot.strStrike = m_series.strStrike;
    shot.strExpiryKey = m_series.strExpiryKey;
    return shot;
}

void CModifyOrderForm::Refuse(UINT nTextId, int nFocus)
{
    // What is already in flight stays so: its reply is still told.
    ShowRefusal(nTextId, nFocus);
    EnableModify();
}

void CModifyOrderForm::OnPreviewReply(CServerMessage* pMsg)
{
    if (!m_pending.IsCheckReply(pMsg) || IsInModal())
        return;
    const ORDER_ROAD& road = *m_pending.GetRoad();
    // Copies: the review opens after this line, and the link reads on while it runs.
    const ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    const CServerMessage reply(*pMsg);
    m_pending.ForgetCheck();
    if (reply.GetLong(road.nCheckError) != 0) {
        ShowReplyError(reply, road.nCheckError);
        EnableModify();
        return;
    }
    const ORDER_ROAD* pRoad = &road;
    AfterLine([this, pRoad, reply, shot] { Review(*pRoad, MODE_MODIFY, reply, shot); });
}

void CModifyOrderForm::Review(const ORDER_ROAD& road, int nMode, const CServerMessage& preview,
                              const ORDER_TICKET_SNAPSHOT& shot)
{
    if (m_bFinished) {
        // The order ended before its review could open: that was told, and nothing is reviewed.
        m_bEnding = FALSE;
        if (!m_pending.IsOrderPending())
            CloseForm();
        return;
    }
    const CString strName = GetSecurityName();
    std::unique_ptr<CReviewDialog> pDialog;
    if (road.nReview == OR_US) {
        auto pUs = std::make_unique<CReviewOrderDlg>(preview, &strName, nMode);
        pUs->SetOptionSeries(OptionSeriesText(shot));
        pUs->SetMarket(shot.strMarketName);
        pDialog = std::move(pUs);
    } else if (road.nReview == OR_ODD_LOT)
        pDialog = std::make_unique<CReviewOrderOddLotKSEDlg>(preview, &strName, nMode);
    else
        pDialog = std::make_unique<CReviewOrderKSEDlg>(preview, &strName, nMode, FALSE);
    if (road.nReviewTitle != 0)
        pDialog->SetTitleId(road.nReviewTitle);
    const INT_PTR nResult = RunModal(*pDialog);
    if (DeleteIfGone())
        return;                 // its window is gone
    if (m_bEnding) {
        m_bEnding = FALSE;      // done with: a form loaded again takes a Submit
        if (!m_pending.IsOrderPending())
            CloseForm();
        return;
    }
    if (nResult == IDOK) {
        // The order may have ended while the review was open: then nothing goes out.
        if (!FollowOrder())
            return;
        UINT nRefusal = 0;
        const long nNumber = SendBody(*road.pOrder, ValuesOf(shot, pDialog->GetPassword()), &nRefusal);
        if (nRefusal != 0) {
            Refuse(nRefusal, 0);
            return;
        }
        m_pending.OrderSent(road, nNumber, shot);
    }
    EnableModify();
}

void CModifyOrderForm::OnAcknowledgement(CServerMessage* pMsg)
{
    OUTSTANDING_ORDER order;
    if (!m_pending.TakeOrderReply(pMsg, &order))
        return;
    const ORDER_ACK& ack = *order.pRoad->pAck;
    CString strText;
    const BOOL bKse = order.pRoad->nKseType >= 0;
    // An order's change names it as its placing did.
    const BOOL bDone = BuildAcknowledgement(ack, *pMsg, AcknowledgedName(ack, *pMsg, order.shot, bKse), &strText);
    if (!bDone)
        ShowReplyError(*pMsg, ack.nError);
    // A cancel whose order's status line came first was told by it: the order's end is told once.
    else if (ack.nKind != ACK_CANCELLED || IsFirstToTellOrderEnd(bKse, Whole(order.shot.nOrderNumber)))
        ShowMarketInfo(strText, 0, 1);
    // A change or cancel made ends the form; one that ended meanwhile closes with its last reply.
    if ((bDone && order.shot.nOrderNumber == m_nOrder) || (m_bFinished && !m_pending.IsOrderPending()))
        EndForm();
}

void CModifyOrderForm::OnNC(CServerMessage* pMsg)
{
    // Once the form's own acknowledgement told the order's end, its status line tells nothing new.
    if (m_nOrder == 0 || m_bFinished || pMsg->GetLong(0) != m_nOrder)
        return;
    // What happened to the order, by its new status, with the reference the server gave it.
    EndWithOrder(pMsg->GetLong(2), pMsg->GetField(4));
}

void CModifyOrderForm::OnOrderLine(CServerMessage* pMsg, int nOrderField)
{
    if (m_nOrder != 0 && !m_bFinished && pMsg != nullptr && pMsg->GetLong(nOrderField) == m_nOrder && m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, WM_FORM_ORDER_ROWS, 0, 0);
}

LRESULT CModifyOrderForm::OnOrderRowChanged(WPARAM, LPARAM)
{
    FollowOrder();
    return 0;
}

BOOL CModifyOrderForm::FollowOrder()
{
    if (m_nOrder == 0 || m_bFinished)
        return !m_bFinished;
    const BOOL bKse = GetRoads().bKse;
    const CDataBuffer* pRow = OrderRow(bKse, m_nOrder);
    if (pRow == nullptr)
        return TRUE;
    const long nStatus = pRow->GetLong(bKse ? static_cast<int>(KC_STATE) : static_cast<int>(UC_STATUS));
    if (IsOpenStatus(nStatus)) {
        SetText(m_controls.nOpen, Shares(pRow->GetLong(bKse ? static_cast<int>(KC_OPEN) : static_cast<int>(UC_OPEN))));
        SetText(m_controls.nFilled, Shares(pRow->GetLong(bKse ? static_cast<int>(KC_FILLED) : static_cast<int>(UC_FILLED))));
        return TRUE;
    }
    EndWithOrder(nStatus, nullptr);
    return FALSE;
}

void CModifyOrderForm::EndWithOrder(long nStatus, LPCSTR pszReference)
{
    // By status: filled, cancelled, expired, any other end; with the server's reference or without.
    static const UINT s_withReference[] = {IDS_ORDER_ENDED_FILLED, IDS_ORDER_ENDED_CANCELLED, IDS_ORDER_ENDED_EXPIRED, IDS_ORDER_ENDED};
    static const UINT s_alone[] = {IDS_FORM_ORDER_FILLED, IDS_FORM_ORDER_CANCELLED, IDS_FORM_ORDER_EXPIRED, IDS_FORM_ORDER_ENDED};
    const int nKind = nStatus == ORDER_STATUS_FILLED      ? 0
                      : nStatus == ORDER_STATUS_CANCELLED ? 1
                      : nStatus == ORDER_STATUS_EXPIRED   ? 2
                                                          : 3;
    if (IsFirstToTellOrderEnd(GetRoads().bKse, Whole(m_nOrder))) {
        CString strText;
        strText.FormatMessage((pszReference != nullptr ? s_withReference : s_alone)[nKind], static_cast<LPCSTR>(Whole(m_nOrder)),
                              pszReference != nullptr ? pszReference : "");
        ShowMarketInfo(strText, 0, 1);
    }
    EndForm();
}

void CModifyOrderForm::EndForm()
{
    m_bFinished = TRUE;
    m_pending.ForgetCheck();
    EnableControl(m_controls.nModify, FALSE);
    EnableControl(m_controls.nCancel, FALSE);
    if (m_pending.IsOrderPending() && !IsInModal())
        return;                 // each order sent is answered first; the last reply closes the form
    if (IsInModal()) {
        // The review closes the form when it is over.
        m_bEnding = TRUE;
        CancelModal();
        return;
    }
    CloseForm();
}
