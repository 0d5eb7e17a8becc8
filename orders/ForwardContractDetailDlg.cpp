// Forward contract details: the contract's fields from "KD", the buttons by the mask, and the
// road of an action: "KL", the contract review, "KI".
#include "orders/ForwardContractDetailDlg.h"

#include <cstdlib>

#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/DateTime.h"
#include "framework/base/NumberStyle.h"
#include "framework/table/TableColumn.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/ReviewForwardContractDlg.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
const char* const DATE_FORMAT = "dd'/'MM'/'yyyy";
const UINT STOCK_LIST_ID = 56376;
const int SIDE_SELL = 2;
const int NO_FIELD = -1;

// The fields in member order, with the "KD" field that fills each (-1: filled apart).
const struct { ACTION_EDIT edit; int nField; } FIELDS[CForwardContractDetailDlg::EDITS] = {
    {{IDC_CONTRACT_SYMBOL, COLTYPE_STRING, 0, 6}, NO_FIELD},
    {{6435, COLTYPE_INT32, 0, 10}, 10},  {{IDC_CONTRACT_MAKER, COLTYPE_INT32, 0, 10}, 6},
    {{IDC_CONTRACT_ID, COLTYPE_INT32, 0, 10}, 5},
    {{6442, COLTYPE_DOUBLE, -3, 256}, 17}, {{6443, COLTYPE_DOUBLE, -3, 256}, 18}, {{6450, COLTYPE_DOUBLE, -3, 256}, 25},
    {{6449, COLTYPE_DOUBLE, -3, 256}, 24}, {{6448, COLTYPE_DOUBLE, -3, 256}, 23}, {{6447, COLTYPE_DOUBLE, -3, 256}, 22},
    {{6439, COLTYPE_DOUBLE, -3, 256}, 14}, {{6437, COLTYPE_INT32, 0, 10}, 12},   {{6440, COLTYPE_DOUBLE, -3, 256}, 15},
    {{6438, COLTYPE_INT32, 0, 10}, 13},   {{6453, COLTYPE_DOUBLE, -3, 256}, 28},
    {{IDC_CONTRACT_PRICE, COLTYPE_DOUBLE, -5, 20}, 29},
    {{IDC_CONTRACT_HELD, COLTYPE_INT32, 0, 10}, 16}, {{IDC_CONTRACT_QUANTITY, COLTYPE_INT32, 0, 10}, 33},
    {{6445, COLTYPE_DOUBLE, -3, 256}, 20}, {{6446, COLTYPE_DOUBLE, -3, 256}, 21}, {{6452, COLTYPE_DOUBLE, -3, 256}, 27},
    {{IDC_CONTRACT_TEXT_26, COLTYPE_DOUBLE, -3, 256}, 26}, {{6444, COLTYPE_DOUBLE, -3, 256}, 19},
    {{6426, COLTYPE_STRING, 0, 6}, NO_FIELD}, {{6430, COLTYPE_STRING, 0, 6}, NO_FIELD},
};

// Places in FIELDS of the fields read back.
const int FIELD_MAKER = 2, FIELD_ID = 3, FIELD_PRICE = 15, FIELD_HELD = 16, FIELD_QUANTITY = 17;

// The action buttons by their bit of the mask.
const struct { int nButton; int nBit; } BUTTONS[] = {
    {IDC_CONTRACT_NEW_ORDER, 1}, {IDC_CONTRACT_ACTION_2, 2}, {IDC_CONTRACT_ACTION_4, 4},
    {IDC_CONTRACT_ACTION_8, 8},  {IDC_CONTRACT_ACTION_16, 16},
};

// The review's line and the acknowledgement's action text by the action's code; for the line,
// the field whose text is its third insert (-1: the text of field 6451, 0: none).
struct CONTRACT_ACTION
{
    int nAction;
    UINT nReview;
    int nThird;
    UINT nDone;
    BOOL bExtra;        // the acknowledgement names the quantity and the series
};
const CONTRACT_ACTION ACTIONS[] = {
    {1, 56803, 0, 56806, TRUE},   {2, 56800, -1, 56807, TRUE},  {4, 56801, 20, 56816, FALSE},
    {8, 56802, 0, 56809, FALSE},  {16, 56962, 0, 56817, FALSE}, {32, 56894, 0, 56818, TRUE},
    {64, 56960, 0, 56819, FALSE},
};

const CONTRACT_ACTION* FindAction(long nAction)
{
    for (const CONTRACT_ACTION& action : ACTIONS)
        if (action.nAction == nAction)
            return &action;
    return nullptr;
}

// A server date field as a date; the current time when it is no valid date.
COleDateTime DateOf(const CServerMessage& msg, int nField)
{
    const CString strDate = ConvertServerDateField(msg.GetFieldText(nField), 24);
    const COleDateTime date(atoi(strDate.Mid(0, 4)), atoi(strDate.Mid(4, 2)), atoi(strDate.Mid(6, 2)), 0, 0, 0);
    if (strDate.GetLength() >= 8 && date.GetStatus() == COleDateTime::valid)
        return date;
    return COleDateTime(GetGlobals()->GetNow());
}

// A date in the interface's date pattern.
CString DateText(const COleDateTime& date)
{
    char szText[33] = {};
    FormatDateText(szText, static_cast<int>(sizeof szText), date.Format("%Y%m%d"), GetGlobalDatePattern());
    return szText;
}
}  // namespace

CForwardContractDetailDlg::CForwardContractDetailDlg()
    : CActionForm(IDD_FORM_FORWARD_CONTRACT, {MSG_KD, MSG_KL, MSG_KI, MSG_CU})
{
    m_contractDate = COleDateTime(GetGlobals()->GetNow());
    m_maturity = m_contractDate;
}

CWnd* CForwardContractDetailDlg::Make(UINT)
{
    return new CForwardContractDetailDlg;
}

BOOL CForwardContractDetailDlg::OnInitDialog()
{
    CActionForm::OnInitDialog();
    ACTION_EDIT rows[EDITS];
    for (int i = 0; i < EDITS; ++i)
        rows[i] = FIELDS[i].edit;
    SetUpEdits(rows, m_edits, EDITS);
    for (CEnhancedEdit& edit : m_edits)
        edit.SetReadOnly(::GetDlgCtrlID(edit.m_hWnd) != IDC_CONTRACT_PRICE);
    m_pickDate.SubclassDlgItem(IDC_CONTRACT_DATE, this);
    m_pickMaturity.SubclassDlgItem(IDC_CONTRACT_MATURITY, this);
    for (CDateTimeCtrl* pPick : {&m_pickDate, &m_pickMaturity}) {
        pPick->SetFormat(DATE_FORMAT);
        pPick->SetTime(m_contractDate);
        pPick->EnableWindow(FALSE);
    }
    return TRUE;
}

void CForwardContractDetailDlg::ShowContract(long nUser, long nAccount, const COleDateTime& date, LPCSTR pszContractId,
                                             long nMask)
{
    m_contractDate = date;
    m_strContractId = pszContractId != nullptr ? pszContractId : "";
    m_nMask = nMask;
    for (const auto& button : BUTTONS)
        EnableControl(button.nButton, (nMask & button.nBit) != 0);
    ORDER_TICKET_SNAPSHOT shot;
    shot.contractDate = date;
    shot.strContractId = m_strContractId;
    CString strUser, strAccount;
    strUser.Format("%ld", nUser);
    strAccount.Format("%ld", nAccount);
    m_nDetailsRequest = SendBody(KD_BODY, shot, nullptr, strAccount, strUser);
}

BOOL CForwardContractDetailDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED)
        return CActionForm::OnCommand(wParam, lParam);
    switch (nId) {
    case IDC_CONTRACT_NEW_ORDER: OnNewOrder(); return TRUE;
    case IDC_CONTRACT_ACTION_2: SendActionPreview(2); return TRUE;
    case IDC_CONTRACT_ACTION_4: SendActionPreview(4); return TRUE;
    case IDC_CONTRACT_ACTION_8: SendActionPreview(8); return TRUE;
    case IDC_CONTRACT_ACTION_16: SendActionPreview(16); return TRUE;
    case IDC_CONTRACT_CLOSE: CloseForm(); return TRUE;
    default: return CActionForm::OnCommand(wParam, lParam);
    }
}

void CForwardContractDetailDlg::OnKD(CServerMessage* pMsg)
{
    if (m_nDetailsRequest == 0 || GetRawLineNumber(pMsg) != m_nDetailsRequest)
        return;
    m_nDetailsRequest = 0;
    const CServerMessage& reply = *pMsg;
    if (reply.GetLong(0) > 0) {
        ShowReplyError(reply, 0);
        return;
    }
    m_contractDate = DateOf(reply, 4);
    m_maturity = DateOf(reply, 32);
    m_pickDate.SetTime(m_contractDate);
    m_pickMaturity.SetTime(m_maturity);
    m_nStock = reply.GetLong(8);
    m_nSide = static_cast<int>(reply.GetLong(7));
    m_nSeries = reply.GetLong(9);
    m_strContractId = reply.GetFieldText(5);
    for (int i = 0; i < EDITS; ++i) {
        const int nId = FIELDS[i].edit.nControl;
        CString strText;
        if (FIELDS[i].nField != NO_FIELD)
            strText = reply.GetFieldText(FIELDS[i].nField);
        else if (nId == IDC_CONTRACT_SYMBOL) {
            strText = GetStockSymbolFrom(STOCK_LIST_ID, m_nStock, IsArabicInterface());
            if (strText.IsEmpty())          // the stock list is not open: its number
                strText.Format("%ld", m_nStock);
        } else if (nId == 6426)
            strText = CTransactionType::GetText(m_nSide);
        else
            strText.Format("%ld", m_nSeries);
        m_edits[i].SetText(strText);
        if (FIELDS[i].edit.nType != COLTYPE_STRING)
            m_edits[i].Reformat();
    }
    // The quantity to act on is the user's to change while a new order may be made, never on a sale.
    m_edits[FIELD_QUANTITY].SetReadOnly(m_nSide == SIDE_SELL || (m_nMask & 1) == 0);
    SetCaptions(reply);
}

void CForwardContractDetailDlg::SetCaptions(const CServerMessage& reply)
{
    const COleDateTime now(GetGlobals()->GetNow());
    const bool bBeforeMaturity = now < m_maturity;
    SetText(IDC_CONTRACT_ACTION_2, LoadMarketText(bBeforeMaturity ? 56950 : 56951));
    const double dPrice = reply.GetDouble(29, 0), dPrice30 = reply.GetDouble(30, 0);
    UINT nCaption = 0;
    if (dPrice > 0 && dPrice30 > dPrice)
        nCaption = 56952;
    else if (dPrice == dPrice30 && !bBeforeMaturity)
        nCaption = 56953;
    else if (reply.GetLong(31) == 5)
        nCaption = 56954;
    else if (dPrice == dPrice30 && bBeforeMaturity)
        nCaption = 56955;
    if (nCaption != 0)
        SetText(IDC_CONTRACT_ACTION_16, LoadMarketText(nCaption));
}

void CForwardContractDetailDlg::SendActionPreview(int nAction)
{
    if (IsInModal())
        return;
    ORDER_TICKET_SNAPSHOT shot;
    shot.nAction = nAction;
    shot.contractDate = m_contractDate;
    shot.strContractId = m_strContractId;
    shot.strMarketMaker = m_edits[FIELD_MAKER].GetText(TRUE);
    shot.nSide = m_nSide;
    shot.nStock = m_nStock;
    shot.nSeries = m_nSeries;
    shot.strQuantity.Format("%ld", m_edits[FIELD_QUANTITY].GetLong());
    shot.strLimitPrice.Format("%lf", m_edits[FIELD_PRICE].GetDouble());
    // The review's third text of a close: what the form shows now.
    shot.strExtra = GetText(IDC_CONTRACT_TEXT_26);
    const long nNumber = SendBody(*CONTRACT_ACTION_ROAD.pCheck, shot, nullptr);
    if (nNumber != 0)
        m_pending.CheckSent(CONTRACT_ACTION_ROAD, nNumber, shot);
    else
        m_pending.ForgetCheck();
}

CString CForwardContractDetailDlg::ReviewText(const ORDER_TICKET_SNAPSHOT& shot, const CServerMessage& reply) const
{
    const auto* pAction = FindAction(shot.nAction);
    if (pAction == nullptr)
        return "";
    CString strThird;
    if (pAction->nThird == -1)
        strThird = shot.strExtra;
    else if (pAction->nThird > 0)
        strThird = reply.GetFieldText(pAction->nThird);
    CString strText;
    strText.FormatMessage(pAction->nReview, static_cast<LPCSTR>(shot.strContractId),
                          static_cast<LPCSTR>(DateText(shot.contractDate)), static_cast<LPCSTR>(strThird));
    return strText;
}

void CForwardContractDetailDlg::OnKL(CServerMessage* pMsg)
{
    if (!m_pending.IsCheckReply(pMsg) || IsInModal())
        return;
    // Copies: the review opens after this line, and the link reads on while it runs.
    const ORDER_TICKET_SNAPSHOT shot = m_pending.GetSnapshot();
    const CServerMessage reply(*pMsg);
    m_pending.ForgetCheck();
    if (reply.GetLong(0) > 0) {
        ShowReplyError(reply, 0);
        return;
    }
    AfterLine([this, shot, reply] {
        CReviewForwardContractDlg review(ReviewText(shot, reply), this);
        const INT_PTR nResult = RunModal(review);
        if (DeleteIfGone())
            return;
        if (nResult == IDOK)
            SendAction(shot, review.GetPassword());
    });
}

void CForwardContractDetailDlg::SendAction(const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword)
{
    const long nNumber = SendBody(*CONTRACT_ACTION_ROAD.pOrder, shot, pszPassword);
    if (nNumber == 0)
        return;
    m_pending.OrderSent(CONTRACT_ACTION_ROAD, nNumber, shot);
}

void CForwardContractDetailDlg::OnKI(CServerMessage* pMsg)
{
    OUTSTANDING_ORDER order;
    if (!m_pending.TakeOrderReply(pMsg, &order))
        return;
    const CServerMessage& reply = *pMsg;
    if (reply.GetLong(0) != 0) {
        ShowReplyError(reply, 0);
        return;
    }
    const auto* pAction = FindAction(reply.GetLong(4));
    CString strAction, strExtra;
    if (pAction != nullptr) {
        strAction = LoadMarketText(pAction->nDone);
        if (pAction->bExtra)
            strExtra.FormatMessage(IDS_CONTRACT_DONE_EXTRA, static_cast<LPCSTR>(reply.GetFieldText(11)),
                                   static_cast<LPCSTR>(reply.GetFieldText(9)));
    }
    const CString strDate = ConvertServerDateField(reply.GetFieldText(5), 24);
    char szDate[33] = {};
    FormatDateText(szDate, static_cast<int>(sizeof szDate), strDate, GetGlobalDatePattern());
    CString strText;
    strText.FormatMessage(IDS_CONTRACT_DONE, static_cast<LPCSTR>(reply.GetFieldText(6)), szDate,
                          static_cast<LPCSTR>(strExtra), static_cast<LPCSTR>(strAction));
    ShowMarketInfo(strText, 0, 1);
}

void CForwardContractDetailDlg::OnCU(CServerMessage* pMsg)
{
    if (m_strContractId.IsEmpty() || pMsg->GetFieldText(3) != m_strContractId)
        return;
    const CString strId = m_strContractId;
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    const CUser user = pApp != nullptr ? pApp->GetUser() : CUser();
    ShowContract(user.GetUserNumber(), user.GetAccountNumber(), m_contractDate, strId, pMsg->GetLong(14));
}

void CForwardContractDetailDlg::OnNewOrder()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return;
    CString strQuantity = static_cast<LPCSTR>(m_edits[FIELD_QUANTITY].GetText(TRUE));
    if (strQuantity.IsEmpty() || strQuantity == "0")
        strQuantity = static_cast<LPCSTR>(m_edits[FIELD_HELD].GetText(TRUE));
    pApp->OpenOrderTicketForward(GetText(IDC_CONTRACT_SYMBOL), m_contractDate, m_edits[FIELD_MAKER].GetText(TRUE),
                                 m_edits[FIELD_ID].GetText(TRUE), strQuantity, -1);
}
