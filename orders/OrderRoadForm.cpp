// The order road of the order forms: Submit, the form's own check and order replies, the review
// the check's reply calls for, opened once its line is handled.
#include "orders/OrderRoadForm.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "app/FormMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/ReviewOrderDlg.h"
#include "orders/ReviewOrderForwardDlg.h"
#include "orders/ReviewOrderKSEDlg.h"
#include "orders/ReviewOrderOddLotKSEDlg.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/ZorvatTypes.h"

namespace {
const COLORREF BUY_COLOUR = RGB(255, 128, 128);
const COLORREF SELL_COLOUR = RGB(128, 255, 128);
const COLORREF YELLOW = RGB(255, 255, 0);
}  // namespace

CString GetKseStockName(LPCSTR pszStock, BOOL bFirst)
{
    CDataTable* pTable = FindDataTable(IDS_TABLE_STOCK_LIST_KSE);
    CDataBuffer* pRow = pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow({pszStock}) : nullptr;
    if (pRow == nullptr)
        return CString();
    return pRow->GetText(!bFirst && GetNorvGlobals().m_nLanguage == 1 ? SLC_NAME_AR : SLC_NAME);
}

void COrderRoadForm::Submit()
{
    if (IsInModal())
        return;                 // one review at a time
    const ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    int nFocus = 0;
    UINT nRefusal = CheckOrderTicket(shot, &nFocus);
    const ORDER_ROAD* pRoad = GetRoadOf(shot);
    if (nRefusal == 0 && pRoad == nullptr) {
        KeepTicketFlag(shot, FALSE);
        return;
    }
    long nNumber = 0;
    if (nRefusal == 0)
        nNumber = SendBody(*pRoad->pCheck, ValuesOf(shot, nullptr), &nRefusal);
    KeepTicketFlag(shot, nRefusal == 0);
    if (nRefusal != 0) {
        Refuse(nRefusal, nFocus);
        return;
    }
    // Kept beside a check still unanswered: a second Submit's reply does not hide the first's.
    m_pending.AddCheck(*pRoad, nNumber, shot);
    m_atCheck[nNumber] = FieldTexts();
    m_bOrderSentLast = FALSE;
    // A Submit clicked has the keys: disabled, it would swallow every key typed until the reply.
    EnableControl(IDC_ORDER_FORM_SUBMIT, FALSE);
    KeepKeysInForm();
}

void COrderRoadForm::Refuse(UINT nTextId, int nFocus)
{
    // What is already in flight stays so: its reply is still told. The refused values stay to mend.
    ForgetSentFields();
    ShowRefusal(nTextId, nFocus);
    EnableControl(IDC_ORDER_FORM_SUBMIT, TRUE);
    KeepKeysInForm();
}

void COrderRoadForm::OnCheckReply(CServerMessage* pMsg)
{
    // Each check answered is reviewed, in the order answered, one review at a time.
    OUTSTANDING_ORDER check;
    if (!m_pending.TakeCheckReply(pMsg, &check))
        return;
    const ORDER_ROAD& road = *check.pRoad;
    // A copy: the review opens after this line, and the link reads on while it runs.
    const CServerMessage reply(*pMsg);
    const long nError = reply.GetLong(road.nCheckError);
    if (nError != 0) {
        m_atCheck.erase(check.nNumber);
        ForgetSentFields();
        EnableControl(IDC_ORDER_FORM_SUBMIT, TRUE);
        ShowReplyError(reply, road.nCheckError);
        KeepKeysInForm();
        return;
    }
    AfterLine([this, reply, check] { Review(*check.pRoad, reply, check); });
}

void COrderRoadForm::Review(const ORDER_ROAD& road, const CServerMessage& reply, const OUTSTANDING_ORDER& check)
{
    CString strPassword;
    const int nResult = RunReview(road, reply, check.shot, &strPassword);
    if (DeleteIfGone())
        return;                 // closed during the review; its window is gone
    std::map<int, CString> fields;
    if (const auto it = m_atCheck.find(check.nNumber); it != m_atCheck.end()) {
        fields.swap(it->second);
        m_atCheck.erase(it);
    }
    if (nResult == IDOK)
        SendOrder(road, check.shot, strPassword, fields);
    else
        ForgetSentFields();     // reviewed and left: the trader mends or sends it again
    EnableControl(IDC_ORDER_FORM_SUBMIT, TRUE);
    KeepKeysInForm();
}

int COrderRoadForm::RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                              CString* pPassword)
{
    std::unique_ptr<CReviewDialog> pDialog;
    switch (road.nReview) {
    case OR_US: {
        auto pUs = std::make_unique<CReviewOrderDlg>(reply, &shot.strDescription, 0);
        pUs->SetOptionSeries(OptionSeriesText(shot));
        pUs->SetMarket(shot.strMarketName);
        pDialog = std::move(pUs);
        break;
    }
    case OR_FORWARD: pDialog = std::make_unique<CReviewOrderForwardDlg>(reply, &shot.strDescription, 0); break;
    case OR_ODD_LOT: pDialog = std::make_unique<CReviewOrderOddLotKSEDlg>(reply, &shot.strDescription, 0); break;
    default:
        pDialog = std::make_unique<CReviewOrderKSEDlg>(reply, &shot.strDescription, 0, road.nReview == OR_CONTRACT);
        break;
    }
    if (road.nReviewTitle != 0)
        pDialog->SetTitleId(road.nReviewTitle);
    const int nResult = static_cast<int>(RunModal(*pDialog));
    if (nResult == IDOK)
        *pPassword = pDialog->GetPassword();
    return nResult;
}

// The same text, or the same number as a field shows it when left ("848" and "848.000", "1,000"
// and "1000").
static BOOL SameFieldText(const CString& strA, const CString& strB)
{
    if (strA == strB)
        return TRUE;
    auto number = [](const CString& str, double* pValue) {
        std::string text;
        for (const char* p = str; *p != '\0'; ++p)
            if (*p != ',')
                text += *p;
        char* pEnd = nullptr;
        *pValue = std::strtod(text.c_str(), &pEnd);
        return !text.empty() && pEnd != nullptr && *pEnd == '\0';
    };
    double dA = 0, dB = 0;
    return number(strA, &dA) && number(strB, &dB) && dA == dB;
}

std::map<int, CString> COrderRoadForm::FieldTexts() const
{
    std::map<int, CString> fields;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        if (const int nId = ::GetDlgCtrlID(hChild); nId > 0)
            fields[nId] = GetBoxText(nId);
    return fields;
}

void COrderRoadForm::SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword,
                               const std::map<int, CString>& fields)
{
    UINT nRefusal = 0;
    const long nNumber = SendBody(*road.pOrder, ValuesOf(shot, pszPassword), &nRefusal);
    if (nRefusal != 0) {
        Refuse(nRefusal, 0);
        return;
    }
    m_pending.OrderSent(road, nNumber, shot);
    m_bOrderSentLast = TRUE;
    m_lastSent = shot;
    // The fields that still show what went out: untouched since the check read them, and showing
    // the same (a number left reads as its field shows it). A field the trader typed in while the
    // check was answered, or that a command filled, is the next order's. A field touched
    // afterwards leaves this.
    m_asSent.clear();
    for (const auto& [nId, strAtCheck] : fields)
        if (const CString strNow = GetBoxText(nId); SameFieldText(strNow, strAtCheck))
            m_asSent[nId] = strNow;
}

void COrderRoadForm::OnOrderReply(CServerMessage* pMsg)
{
    OUTSTANDING_ORDER order;
    if (!m_pending.TakeOrderReply(pMsg, &order))
        return;
    const ORDER_ROAD& road = *order.pRoad;
    // An option order names its series, a KSE order its stock's symbol, as their other lines do.
    const CString strName = road.pAck->nKind == ACK_FORWARD ? GetKseStockName(pMsg->GetFieldText(road.pAck->nStock))
                                                             : AcknowledgedName(*road.pAck, *pMsg, order.shot, road.nKseType >= 0);
    CString strText;
    if (!BuildAcknowledgement(*road.pAck, *pMsg, strName, &strText)) {
        ForgetSentFields();     // the refused order's fields stay to mend
        ShowReplyError(*pMsg, road.pAck->nError);
        KeepKeysInForm();
        return;
    }
    ShowMarketInfo(strText, 0, 1);
    // The fields that still show the order sent, untouched, are emptied for the next order, while
    // nothing else of the form is under way (a check unanswered, another order, a review): every
    // field the trader or a command touched meanwhile stays as it is.
    if (HoldsFieldsAsSent() && !m_pending.IsCheckPending() && !m_pending.IsOrderPending() && !IsInModal()) {
        // A reply takes no keys from the trader, who may be typing the next order already.
        const HWND hFocus = ::GetFocus();
        KeepTheKeys(hFocus, ClearAfterAcknowledgement(road.pOrder->nType));
        ForgetSentFields();
    }
}

void COrderRoadForm::ForgetField(int nId)
{
    m_asSent.erase(nId);
    for (auto& [nCheck, fields] : m_atCheck)
        fields.erase(nId);
}

BOOL COrderRoadForm::StillAsSent(int nId) const
{
    const auto it = m_asSent.find(nId);
    return it != m_asSent.end() && GetBoxText(nId) == it->second;
}

BOOL COrderRoadForm::EmptyIfAsSent(int nId)
{
    if (!StillAsSent(nId))
        return FALSE;
    SetText(nId, "");
    return TRUE;
}

void COrderRoadForm::KeepKeysInForm()
{
    const HWND hFocus = ::GetFocus();
    const HWND hFrame = ::GetParent(m_hWnd);
    if (hFocus != nullptr && hFocus != m_hWnd && hFocus != hFrame &&
        (!::IsChild(m_hWnd, hFocus) || (::IsWindowEnabled(hFocus) && ::IsWindowVisible(hFocus))))
        return;                 // a field of the form, or another window the trader works in
    // Keys nowhere (the control that had them disabled) count only while the form is the window
    // worked in.
    const HWND hClient = hFrame != nullptr ? ::GetParent(hFrame) : nullptr;
    if (hFocus == nullptr && (hClient == nullptr || reinterpret_cast<HWND>(::SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0)) != hFrame))
        return;
    HWND hField = m_hLastField;
    if (hField == nullptr || !::IsChild(m_hWnd, hField) || !::IsWindowEnabled(hField) || !::IsWindowVisible(hField))
        hField = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (hField != nullptr)
        ::SetFocus(hField);
}

void COrderRoadForm::KeepTheKeys(HWND hFocus, int nFirst)
{
    if (hFocus == nullptr || !::IsChild(m_hWnd, hFocus))
        return;                 // another window is worked in: its keys stay there
    if (::IsWindowEnabled(hFocus) && ::IsWindowVisible(hFocus)) {
        if (::GetFocus() != hFocus)
            ::SetFocus(hFocus);
        return;
    }
    HWND hFirst = ::GetDlgItem(m_hWnd, nFirst);
    if (hFirst == nullptr || !::IsWindowEnabled(hFirst) || !::IsWindowVisible(hFirst))
        hFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (hFirst != nullptr)
        ::SetFocus(hFirst);
}

// ---- Colours ----------------------------------------------------------------------------------

COrderRoadForm::~COrderRoadForm()
{
    for (HBRUSH hBrush : {m_hbrForm, m_hbrYellow})
        if (hBrush != nullptr)
            ::DeleteObject(hBrush);
}

void COrderRoadForm::ColourBySide(BOOL bBuy, BOOL bSell)
{
    SetFormColour(bBuy ? BUY_COLOUR : bSell ? SELL_COLOUR : ::GetSysColor(COLOR_BTNFACE));
}

void COrderRoadForm::SetFormColour(COLORREF crBack)
{
    m_crForm = crBack;
    if (m_hbrForm != nullptr)
        ::DeleteObject(m_hbrForm);
    m_hbrForm = ::CreateSolidBrush(m_crForm);
    if (m_hWnd != nullptr)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL COrderRoadForm::OnEraseBkgnd(CDC* pDC)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    ::FillRect(pDC->m_hDC, &rc, m_hbrForm);
    return TRUE;
}

HBRUSH COrderRoadForm::YellowBrushFor(CDC* pDC, CWnd* pWnd, std::initializer_list<int> boxes) const
{
    const HWND hControl = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    const HWND hParent = hControl != nullptr ? ::GetParent(hControl) : nullptr;
    const int nId = hParent != nullptr && hParent != m_hWnd ? ::GetDlgCtrlID(hParent)
                                                             : hControl != nullptr ? ::GetDlgCtrlID(hControl) : 0;
    for (int nBox : boxes)
        if (nId == nBox) {
            ::SetBkColor(pDC->m_hDC, YELLOW);
            return m_hbrYellow;
        }
    return nullptr;
}

HBRUSH COrderRoadForm::FormBrushFor(CDC* pDC, UINT nCtlColor, BOOL bButtons) const
{
    if (nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC || (bButtons && nCtlColor == CTLCOLOR_BTN)) {
        ::SetBkMode(pDC->m_hDC, TRANSPARENT);
        return m_hbrForm;
    }
    return nullptr;
}

BOOL COrderRoadForm::HoldsUnsentOrder()
{
    // An order is a quantity of a ticker; the one sent last, still shown, is not unsent.
    const ORDER_TICKET_SNAPSHOT shot = TakeSnapshot();
    if (shot.strTicker.IsEmpty() || shot.strQuantity.IsEmpty() || atof(shot.strQuantity) == 0)
        return FALSE;
    return !m_bOrderSentLast || !IsLastSent(shot);
}

BOOL COrderRoadForm::IsLastSent(const ORDER_TICKET_SNAPSHOT& shot) const
{
    // Numbers by value: a price left for the review reads "30.0000" where "30" was typed and sent.
    const ORDER_TICKET_SNAPSHOT& sent = m_lastSent;
    auto same = [](const CString& strA, const CString& strB) {
        return strA.IsEmpty() == strB.IsEmpty() && atof(strA) == atof(strB);
    };
    return shot.nSide == sent.nSide && shot.strTicker == sent.strTicker && same(shot.strQuantity, sent.strQuantity) &&
           same(shot.strLimitPrice, sent.strLimitPrice) && same(shot.strStopPrice, sent.strStopPrice) &&
           shot.nOrderType == sent.nOrderType && shot.nValidity == sent.nValidity &&
           shot.strMarketName == sent.strMarketName && shot.nKseMarketType == sent.nKseMarketType;
}

void COrderRoadForm::NoteTheTradersChange(WPARAM wParam, LPARAM lParam)
{
    // A field's text set by the form changes no field the trader is in; one he types in has the keys.
    const HWND hControl = reinterpret_cast<HWND>(lParam);
    if (hControl == nullptr)
        return;                 // a menu's or a key's command
    char szClass[16] = "";
    ::GetClassNameA(hControl, szClass, sizeof szClass);
    const CString strClass = szClass;
    const UINT nCode = HIWORD(wParam);
    const LONG nButton = ::GetWindowLongA(hControl, GWL_STYLE) & BS_TYPEMASK;
    if ((strClass.CompareNoCase("Edit") == 0 && nCode == EN_CHANGE && ::GetFocus() == hControl) ||
        (strClass.CompareNoCase("ComboBox") == 0 && (nCode == CBN_EDITCHANGE || nCode == CBN_SELCHANGE)) ||
        (strClass.CompareNoCase("Button") == 0 && nCode == BN_CLICKED &&
         (nButton == BS_CHECKBOX || nButton == BS_AUTOCHECKBOX)))
        ForgetField(::GetDlgCtrlID(hControl));
    // The field the keys go back to when the control that has them cannot keep them.
    if ((strClass.CompareNoCase("Edit") == 0 && nCode == EN_SETFOCUS) ||
        (strClass.CompareNoCase("ComboBox") == 0 && nCode == CBN_SETFOCUS))
        m_hLastField = hControl;
}

BOOL COrderRoadForm::OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (uMsg == WM_FORM_HOLDS_ORDER) {
        if (pResult != nullptr)
            *pResult = HoldsUnsentOrder();
        return TRUE;
    }
    if (uMsg == WM_COMMAND)
        NoteTheTradersChange(wParam, lParam);
    // A date chosen in a picker is the trader's.
    if (const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        uMsg == WM_NOTIFY && pHeader != nullptr && pHeader->code == DTN_DATETIMECHANGE)
        ForgetField(static_cast<int>(pHeader->idFrom));
    const BOOL bHandled = COrderFormBase::OnWndMsg(uMsg, wParam, lParam, pResult);
    // Only a field being typed in (it has the focus): the form's own settings of its fields
    // update the button where the form says so.
    const HWND hField = reinterpret_cast<HWND>(lParam);
    if (uMsg != WM_COMMAND || HIWORD(wParam) != EN_CHANGE || hField == nullptr || ::GetFocus() != hField ||
        !::IsWindow(m_hWnd))
        return bHandled;
    // A number field's own filter keeps what is typed readable: the check's reads never empty it.
    if (dynamic_cast<CEnhancedEdit*>(CTBWnd::FromHandle(hField)) != nullptr)
        UpdateSubmitButton();
    return bHandled;
}
