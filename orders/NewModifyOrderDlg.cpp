// The combined modify form: set-up, the loads from the order-status rows, the layout modes and
// the editing rules.
#include "orders/NewModifyOrderDlg.h"

#include <cstdlib>
#include <iterator>

#include "app/ZorvatApp.h"
#include "framework/window/EnhancedComboBox.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
const char* const DATE_FORMAT = "dd'/'MM'/'yyyy";
// The one trading session of a market without KSE market types.
const UINT IDS_REGULAR_MARKET = 57031;
const char* const TENORS[] = {"1", "3", "6", "9", "12"};
const UINT FILL_RULES[] = {57554, 57555};
const UINT SIDE_ITEMS[] = {55045, 55046, 57032, 57033};
const UINT TYPE_ITEMS[] = {55048, 55049, 55050, 55051, 57553};
const UINT DURATION_ITEMS[] = {55053, 55054};
const int READ_ONLY_BOXES[] = {IDC_MODIFY_SYMBOL, IDC_MODIFY_MARKET, IDC_MODIFY_SIDE, IDC_MODIFY_TYPE,
                               IDC_MODIFY_MARKET_TYPE};
// Shown by no order of this form.
const int NEVER_SHOWN[] = {6791, 6762, 6780};
// An option order's series: its group, right, strike and expiry with their labels.
const int OPTION_GROUP[] = {6767, 6774, 6775, 6776, 6777, 6778, 6779};
const int SIDE_PANEL[] = {6781, 5857, 6782, 6768};
const int ADVANCED_ROWS[] = {6764, 6766, 6763, 6765, 6757};
// The KSE market types' fields and labels, and the layouts that show them.
const int TYPE_FIELDS[] = {IDC_MODIFY_FILL_RULE, IDC_MODIFY_TENOR, IDC_MODIFY_SERIES, IDC_MODIFY_CONTRACT,
                           IDC_MODIFY_CONTRACT_DATE, 6889, 6891, 6893, 6895, 6897};
const int TYPE_3_SHOWN[] = {IDC_MODIFY_FILL_RULE, IDC_MODIFY_TENOR, IDC_MODIFY_SERIES, 6891, 6895, 6897};
const int TYPE_4_SHOWN[] = {IDC_MODIFY_CONTRACT, IDC_MODIFY_SERIES, IDC_MODIFY_CONTRACT_DATE, 6889, 6891, 6893};

CString Whole(long nValue)
{
    CString strText;
    strText.Format("%ld", nValue);
    return strText;
}

// A price the user left at its value goes out as loaded, whatever format the field gave it when
// it was passed through: an order without a stop price gets none.
CString AsLoaded(LPCSTR pszField, const CString& strLoaded)
{
    return atof(pszField) == atof(strLoaded) ? strLoaded : CString(pszField);
}
}  // namespace

BEGIN_MESSAGE_MAP(CNewModifyOrderDlg, CModifyOrderForm)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_MODIFY_GOOD_TILL, OnGoodTillChanged)
END_MESSAGE_MAP()

CNewModifyOrderDlg::CNewModifyOrderDlg()
    : CModifyOrderForm(IDD_FORM_MODIFY_ORDER, {IDC_MODIFY_MODIFY, IDC_MODIFY_CANCEL, IDC_MODIFY_QUANTITY, IDC_MODIFY_OPEN, IDC_MODIFY_FILLED}, MSG_RN)
{
    m_goodTill = GoodTillFromDays(GetOrderToday(), 1);
}

CWnd* CNewModifyOrderDlg::Make(UINT)
{
    return new CNewModifyOrderDlg;
}

BOOL CNewModifyOrderDlg::OnInitDialog()
{
    CModifyOrderForm::OnInitDialog();
    SetUpEdits({
        {&m_editQuantity, IDC_MODIFY_QUANTITY, COLTYPE_INT64, 0, 10},
        {&m_editLimit, IDC_MODIFY_LIMIT, COLTYPE_DOUBLE, -4, 256},
        {&m_editStop, IDC_MODIFY_STOP, COLTYPE_DOUBLE, -4, 256},
        {&m_editDays, IDC_MODIFY_DAYS, COLTYPE_INT32, 0, 2},
    });
    m_editQuantity.SetNoMinus(TRUE);
    // Quantities and prices read with their thousands grouped, as on the ticket.
    for (CEnhancedEdit* pEdit : {&m_editQuantity, &m_editLimit, &m_editStop})
        pEdit->SetThousandsGrouping(TRUE);
    m_pickGoodTill.SubclassDlgItem(IDC_MODIFY_GOOD_TILL, this);
    m_pickContract.SubclassDlgItem(IDC_MODIFY_CONTRACT_DATE, this);
    m_pickGoodTill.SetFormat(DATE_FORMAT);
    m_pickContract.SetFormat(DATE_FORMAT);
    for (int nId : READ_ONLY_BOXES)
        EnableControl(nId, FALSE);
    for (int nId : NEVER_SHOWN)
        ShowControl(nId, FALSE);
    EnableControl(IDC_MODIFY_CONTRACT_DATE, FALSE);
    for (int nId : {IDC_MODIFY_LOGIN, IDC_MODIFY_USER_NAME, IDC_MODIFY_SECURITY, IDC_MODIFY_CURRENCY, IDC_MODIFY_OPEN,
                    IDC_MODIFY_FILLED, IDC_MODIFY_CONTRACT, IDC_MODIFY_SERIES})
        SendDlgItemMessage(nId, EM_SETREADONLY, TRUE);

    const CUser user = CZORVAT32App::Get() != nullptr ? CZORVAT32App::Get()->GetUser() : CUser();
    SetText(IDC_MODIFY_LOGIN, user.GetUserText());
    SetText(IDC_MODIFY_USER_NAME, user.GetName());
    if (!user.GetAccountText().IsEmpty())
        ShowBoxText(IDC_MODIFY_ACCOUNT, user.GetAccountText(), /*bAdd=*/TRUE);
    const struct { int nId; const UINT* pItems; size_t nItems; } s_boxes[] = {
        {IDC_MODIFY_SIDE, SIDE_ITEMS, std::size(SIDE_ITEMS)},
        {IDC_MODIFY_TYPE, TYPE_ITEMS, std::size(TYPE_ITEMS)},
        {IDC_MODIFY_DURATION, DURATION_ITEMS, std::size(DURATION_ITEMS)},
    };
    for (const auto& box : s_boxes)
        for (size_t i = 0; i < box.nItems; ++i)
            SendDlgItemMessage(box.nId, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(static_cast<LPCSTR>(LoadMarketText(box.pItems[i]))));
    Show(OPEN_ORDER());
    return TRUE;
}

// ---- Loads -----------------------------------------------------------------------------------

void CNewModifyOrderDlg::LoadUSOrder(long nOrder)
{
    if (nOrder == 0)
        return;
    OPEN_ORDER order;
    if (!ReadOpenOrder(FALSE, nOrder, &order))
        order = OPEN_ORDER();
    Show(order);
    // The security name: the form's own request, answered for its symbol. An option order's
    // security is its series.
    if (order.nOrder != 0 && !IsOptionOrder())
        AskSecurityName(order.strSymbol, order.nMarketCode);
}

void CNewModifyOrderDlg::LoadKSEOrder(long nOrder)
{
    if (nOrder == 0)
        return;
    OPEN_ORDER order;
    if (!ReadOpenOrder(TRUE, nOrder, &order))
        order = OPEN_ORDER();
    Show(order);
}

void CNewModifyOrderDlg::Show(const OPEN_ORDER& order)
{
    ForgetSecurityName();
    m_bKse = order.bKse;
    // A KSE order of another market type takes the US layout.
    const bool bTyped = order.bKse && order.nKseMarketType >= 1 && order.nKseMarketType <= 4;
    SetLayoutMode(bTyped ? static_cast<int>(order.nKseMarketType) : -1);
    if (m_nLayout != -1)
        ShowBoxText(IDC_MODIFY_MARKET_TYPE, CKSEMktType::GetText(order.nKseMarketType), /*bAdd=*/TRUE);
    m_strSymbol = order.strSymbol;
    SetSeries(order.series);
    m_strSecurity = IsOptionOrder() ? GetSeriesText() : order.strSecurity;
    ShowBoxText(IDC_MODIFY_SIDE, order.strSide, FALSE);
    ShowBoxText(IDC_MODIFY_TYPE, order.strType, FALSE);
    ShowBoxText(IDC_MODIFY_DURATION, order.strDuration, /*bAdd=*/TRUE);
    m_strDuration = GetBoxText(IDC_MODIFY_DURATION);
    m_nOrderType = COrderType::GetCodeByText(order.strType);
    SendDlgItemMessage(IDC_MODIFY_SYMBOL, CB_RESETCONTENT);
    ShowBoxText(IDC_MODIFY_SYMBOL, order.strSymbol, /*bAdd=*/TRUE);
    SendDlgItemMessage(IDC_MODIFY_MARKET, CB_RESETCONTENT);
    ShowBoxText(IDC_MODIFY_MARKET, order.strMarket, /*bAdd=*/TRUE);
    SetText(IDC_MODIFY_SECURITY, m_strSecurity);
    SetText(IDC_MODIFY_CURRENCY, order.bKse ? "=KWD" : static_cast<LPCSTR>(order.strCurrency));
    SetText(IDC_MODIFY_QUANTITY, order.strQuantity);
    SetText(IDC_MODIFY_OPEN, order.strOpen);
    SetText(IDC_MODIFY_FILLED, order.strFilled);
    // The market's decimals, as its ticket and order status show them.
    SetPriceField(m_editLimit, IDC_MODIFY_LIMIT, order.bKse ? KSE_PRICE_DECIMALS : US_PRICE_DECIMALS);
    SetPriceField(m_editStop, IDC_MODIFY_STOP, order.bKse ? KSE_PRICE_DECIMALS : US_PRICE_DECIMALS);
    SetText(IDC_MODIFY_LIMIT, order.nOrder != 0 && IsLimitType(m_nOrderType) ? PriceText(order.dLimit) : CString());
    SetText(IDC_MODIFY_STOP, order.nOrder != 0 && IsStopType(m_nOrderType) ? PriceText(order.dStop) : CString());
    // Grouped as the ticket shows them; an empty figure stays empty.
    for (CEnhancedEdit* pEdit : {&m_editQuantity, &m_editLimit, &m_editStop})
        if (!pEdit->IsEmpty())
            pEdit->Reformat();
    SetText(IDC_MODIFY_RIGHT, order.strRight);
    SetText(IDC_MODIFY_OPTION_A, order.strOptionA);
    SetText(IDC_MODIFY_OPTION_B, order.strOptionB);
    for (int nId : OPTION_GROUP)
        ShowControl(nId, IsOptionOrder());
    SetText(IDC_MODIFY_CONTRACT, order.strContract);
    SetText(IDC_MODIFY_SERIES, order.strSeries);
    if (order.contractDate.GetStatus() == COleDateTime::valid)
        m_pickContract.SetTime(order.contractDate);
    CheckDlgButton(IDC_MODIFY_SIDE_OPTION, BST_UNCHECKED);
    EnableControl(IDC_MODIFY_DURATION, order.nOrder != 0 && !order.bDurationFixed);
    SetReadOnly(IDC_MODIFY_QUANTITY, !order.bChangeable);
    const COleDateTime today = GetOrderToday();
    m_goodTill = order.goodTill.GetStatus() == COleDateTime::valid ? order.goodTill : GoodTillFromDays(today, 1);
    m_loadedGoodTill = order.goodTill;
    ApplyValidity(order.nOrder != 0 && order.bChangeable);
    if (order.nOrder == 0)
        ShowDays(IDC_MODIFY_DAYS, "");
    // As the order-status row gives them, whatever decimals the fields show them in.
    m_strLimitLoaded = GetText(IDC_MODIFY_LIMIT).IsEmpty() ? CString() : PriceText(order.dLimit);
    m_strStopLoaded = GetText(IDC_MODIFY_STOP).IsEmpty() ? CString() : PriceText(order.dStop);
    SetOrder(order.nOrder, order.bChangeable);
    if (CWnd* pClose = GetDlgItem(IDC_MODIFY_CLOSE))
        pClose->SetFocus();
}

// The price and validity fields by the loaded type and the chosen duration.
void CNewModifyOrderDlg::ApplyValidity(BOOL bChangeable)
{
    SetReadOnly(IDC_MODIFY_LIMIT, !(bChangeable && IsLimitType(m_nOrderType)));
    SetReadOnly(IDC_MODIFY_STOP, !(bChangeable && IsStopType(m_nOrderType)));
    if (!IsLimitType(m_nOrderType))
        SetText(IDC_MODIFY_LIMIT, "");
    if (!IsStopType(m_nOrderType))
        SetText(IDC_MODIFY_STOP, "");
    const BOOL bDated = bChangeable && COrderDur::GetCodeByText(GetBoxText(IDC_MODIFY_DURATION)) == 1;
    SetReadOnly(IDC_MODIFY_DAYS, !bDated);
    EnableControl(IDC_MODIFY_GOOD_TILL, bDated);
    if (COrderDur::GetCodeByText(GetBoxText(IDC_MODIFY_DURATION)) != 1)
        m_goodTill = GoodTillFromDays(GetOrderToday(), 1);
    UpdateDaysFromDate();
}

// ---- Layout ----------------------------------------------------------------------------------

void CNewModifyOrderDlg::SetLayoutMode(int nMode)
{
    if (nMode != 1 && nMode != 3 && nMode != 4)
        nMode = -1;
    m_nLayout = nMode;
    for (int nId : TYPE_FIELDS)
        ShowControl(nId, FALSE);
    if (nMode == -1) {
        SendDlgItemMessage(IDC_MODIFY_MARKET_TYPE, CB_RESETCONTENT);
        ShowBoxText(IDC_MODIFY_MARKET_TYPE, LoadMarketText(IDS_REGULAR_MARKET), /*bAdd=*/TRUE);
    } else if (nMode == 3) {
        for (int nId : TYPE_3_SHOWN)
            ShowControl(nId, TRUE);
        SendDlgItemMessage(IDC_MODIFY_FILL_RULE, CB_RESETCONTENT);
        for (UINT nText : FILL_RULES)
            SendDlgItemMessage(IDC_MODIFY_FILL_RULE, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(static_cast<LPCSTR>(LoadMarketText(nText))));
        SendDlgItemMessage(IDC_MODIFY_TENOR, CB_RESETCONTENT);
        for (const char* pszTenor : TENORS)
            SendDlgItemMessage(IDC_MODIFY_TENOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszTenor));
        EnableControl(IDC_MODIFY_FILL_RULE, FALSE);
        EnableControl(IDC_MODIFY_TENOR, FALSE);
        SetText(IDC_MODIFY_SERIES, "");
    } else if (nMode == 4) {
        for (int nId : TYPE_4_SHOWN)
            ShowControl(nId, TRUE);
        SetText(IDC_MODIFY_CONTRACT, "");
        SetText(IDC_MODIFY_SERIES, "");
    }
}

void CNewModifyOrderDlg::ShowSidePanel(BOOL bShow)
{
    if ((bShow != FALSE) == (m_bSidePanelShown != FALSE))
        return;
    m_bSidePanelShown = bShow;
    for (int nId : {IDC_MODIFY_LOGIN, IDC_MODIFY_USER_NAME, 6756})
        EnableControl(nId, bShow);
    for (int nId : SIDE_PANEL)
        ShowControl(nId, bShow);
    EnableControl(IDC_MODIFY_ACCOUNT, bShow);
    FitPanelFrame(m_bSidePanelShown, m_bAdvancedShown);
}

void CNewModifyOrderDlg::ShowAdvanced(BOOL bShow)
{
    if ((bShow != FALSE) == (m_bAdvancedShown != FALSE))
        return;
    m_bAdvancedShown = bShow;
    for (int nId : ADVANCED_ROWS)
        ShowControl(nId, bShow);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->SetOrderAdvancedShown(bShow);
    FitPanelFrame(m_bSidePanelShown, m_bAdvancedShown);
}

// ---- Editing ---------------------------------------------------------------------------------

BOOL CNewModifyOrderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    const BOOL bLeft = nCode == ECBN_LEFT || nCode == EN_KILLFOCUS;
    switch (nId) {
    case IDC_MODIFY_QUANTITY:
    case IDC_MODIFY_STOP:
    case IDC_MODIFY_LIMIT:
        if (bLeft)
            OnNumberLeft(nId);
        return TRUE;
    case IDC_MODIFY_DAYS:
        if (bLeft)
            OnDaysLeft();
        return TRUE;
    case IDC_MODIFY_TYPE:
        // The type of an order cannot change.
        if (nCode == CBN_SELCHANGE)
            ShowBoxText(IDC_MODIFY_TYPE, COrderType::GetText(m_nOrderType), FALSE);
        return TRUE;
    case IDC_MODIFY_DURATION:
        if (nCode == CBN_SELCHANGE) {
            if (!IsChangeable())
                ShowBoxText(IDC_MODIFY_DURATION, m_strDuration, FALSE);
            else if (GetBoxText(IDC_MODIFY_DURATION) != m_strDuration)
                ApplyValidity(TRUE);
            m_strDuration = GetBoxText(IDC_MODIFY_DURATION);
        }
        return TRUE;
    case IDC_MODIFY_CLEAR:
        if (nCode == BN_CLICKED) {
            ClearEditable({IDC_MODIFY_QUANTITY, IDC_MODIFY_OPEN, IDC_MODIFY_FILLED, IDC_MODIFY_STOP, IDC_MODIFY_LIMIT,
                           IDC_MODIFY_DAYS});
            CheckDlgButton(IDC_MODIFY_SIDE_OPTION, BST_UNCHECKED);
        }
        return TRUE;
    case IDC_MODIFY_CLOSE:
        if (nCode == BN_CLICKED)
            CloseForm();
        return TRUE;
    default:
        return CModifyOrderForm::OnCommand(wParam, lParam);
    }
}

void CNewModifyOrderDlg::OnNumberLeft(int nId)
{
    const CString strText = GetText(nId);
    if (strText.GetLength() > 1 && strText[0] == '-')
        SetText(nId, static_cast<LPCSTR>(strText) + 1);
}

void CNewModifyOrderDlg::OnDaysLeft()
{
    if (GetText(IDC_MODIFY_DAYS).IsEmpty() || !AreDaysTyped(IDC_MODIFY_DAYS))
        return;
    long nDays = 0;
    m_goodTill = GoodTillFromTypedDays(GetOrderToday(), std::labs(m_editDays.GetLong()), FALSE, &nDays);
    UpdateDaysFromDate();
}

void CNewModifyOrderDlg::OnGoodTillChanged(NMHDR*, LRESULT* pResult)
{
    m_pickGoodTill.GetTime(m_goodTill);
    UpdateDaysFromDate();
    *pResult = 0;
}

void CNewModifyOrderDlg::UpdateDaysFromDate()
{
    const COleDateTime today = GetOrderToday();
    // The order's own date stays as it was loaded until the user picks another.
    if (m_loadedGoodTill.GetStatus() != COleDateTime::valid || m_goodTill != m_loadedGoodTill)
        m_goodTill = ClampGoodTillDate(today, m_goodTill);
    m_pickGoodTill.SetTime(m_goodTill);
    ShowDays(IDC_MODIFY_DAYS, Whole(GoodTillDays(today, m_goodTill)));
}

void CNewModifyOrderDlg::SetReadOnly(int nId, BOOL bReadOnly)
{
    for (CEnhancedEdit* pEdit : {&m_editQuantity, &m_editLimit, &m_editStop, &m_editDays})
        if (pEdit->m_hWnd != nullptr && ::GetDlgCtrlID(pEdit->m_hWnd) == nId)
            pEdit->SetReadOnly(bReadOnly);
}

// ---- Requests --------------------------------------------------------------------------------

ORDER_TICKET_SNAPSHOT CNewModifyOrderDlg::TakeSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot;
    shot.nSide = CTransactionType::GetCodeByText(GetBoxText(IDC_MODIFY_SIDE));
    shot.nOrderType = COrderType::GetCodeByText(GetBoxText(IDC_MODIFY_TYPE));
    shot.nValidity = COrderDur::GetCodeByText(GetBoxText(IDC_MODIFY_DURATION));
    shot.strTicker = m_strSymbol;
    shot.strDescription = m_strSecurity;
    shot.strQuantity = static_cast<LPCSTR>(m_editQuantity.GetPlainText());
    shot.strLimitPrice = AsLoaded(static_cast<LPCSTR>(m_editLimit.GetText(/*bStrip=*/TRUE)), m_strLimitLoaded);
    shot.strStopPrice = AsLoaded(static_cast<LPCSTR>(m_editStop.GetText(/*bStrip=*/TRUE)), m_strStopLoaded);
    shot.strDays = static_cast<LPCSTR>(m_editDays.GetPlainText());
    shot.goodTill = m_goodTill;
    shot.strMarketName = GetBoxText(IDC_MODIFY_MARKET);
    shot.nMarketCode = GetGlobals()->GetMarketCode(shot.strMarketName);
    shot.nKseMarketType = m_nLayout;
    // The side option box: "1" sent while clear.
    shot.bTicketFlag = IsDlgButtonChecked(IDC_MODIFY_SIDE_OPTION) == BST_CHECKED;
    shot.nOrderNumber = GetOrderNumber();
    return shot;
}

const MODIFY_ROAD& CNewModifyOrderDlg::GetRoads() const
{
    return GetCombinedModifyRoad(m_bKse);
}

void CNewModifyOrderDlg::OnRN(CServerMessage* pMsg)
{
    if (!TakeSecurityName(*pMsg, m_strSymbol))
        return;
    m_strSecurity = pMsg->GetField(7);
    SetText(IDC_MODIFY_SECURITY, m_strSecurity);
    SendDlgItemMessage(IDC_MODIFY_MARKET, CB_RESETCONTENT);
    ShowBoxText(IDC_MODIFY_MARKET, GetGlobals()->GetMarketName(pMsg->GetLong(3)), /*bAdd=*/TRUE);
}
