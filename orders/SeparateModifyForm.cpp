// The separate modify forms: set-up, the load from the order-status row, the radio groups and
// the weekend-free good-till rules.
#include "orders/SeparateModifyForm.h"

#include <cstdlib>
#include <iterator>

#include "app/ZorvatApp.h"
#include "framework/window/EnhancedComboBox.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/ZorvatTypes.h"

namespace {
// Radio groups: the controls and the codes they stand for.
const int SIDE_RADIOS[] = {IDC_SEPARATE_SIDE_BUY, IDC_SEPARATE_SIDE_SELL, IDC_SEPARATE_SIDE_COVER, IDC_SEPARATE_SIDE_SHORT};
const int SIDE_CODES[] = {1, 2, 27, 28};
const int TYPE_RADIOS[] = {IDC_SEPARATE_TYPE_MARKET, IDC_SEPARATE_TYPE_LIMIT, IDC_SEPARATE_TYPE_STOP,
                           IDC_SEPARATE_TYPE_STOP_LIMIT};
const int TYPE_CODES[] = {3, 0, 1, 2};
const int VALIDITY_RADIOS[] = {IDC_SEPARATE_VALIDITY_1, IDC_SEPARATE_VALIDITY_2, IDC_SEPARATE_VALIDITY_3,
                               IDC_SEPARATE_VALIDITY_4};
const int PRICE_FIELDS[] = {IDC_SEPARATE_STOP, IDC_SEPARATE_LIMIT, IDC_SEPARATE_SL_STOP, IDC_SEPARATE_SL_LIMIT};
const char* const DATE_FORMAT = "dd'/'MM'/'yyyy";
#define STOP_LIMIT 2

CString Whole(long nValue)
{
    CString strText;
    strText.Format("%ld", nValue);
    return strText;
}

int IndexOf(const int* pCodes, int nCodes, int nCode)
{
    for (int i = 0; i < nCodes; ++i)
        if (pCodes[i] == nCode)
            return i;
    return -1;
}
}  // namespace

BEGIN_MESSAGE_MAP(CSeparateModifyForm, CModifyOrderForm)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_SEPARATE_GOOD_TILL, OnGoodTillChanged)
END_MESSAGE_MAP()

CSeparateModifyForm::CSeparateModifyForm(const SEPARATE_MODIFY_FORM& form)
    : CModifyOrderForm(form.nTemplate, {IDC_SEPARATE_MODIFY, IDC_SEPARATE_CANCEL, IDC_SEPARATE_QUANTITY, IDC_SEPARATE_OPEN, IDC_SEPARATE_FILLED}, form.nMoreType),
      m_form(form)
{
    m_goodTill = GoodTillFromDays(GetOrderToday(), 1);
}

BOOL CSeparateModifyForm::OnInitDialog()
{
    CModifyOrderForm::OnInitDialog();
    m_editQuantity.SubclassDlgItem(IDC_SEPARATE_QUANTITY, m_hWnd);
    m_editQuantity.SetDataType(COLTYPE_INT64, 0);
    m_editQuantity.SetLengthLimits(10, 0);
    m_editQuantity.SetNoMinus(TRUE);
    SendDlgItemMessage(IDC_SEPARATE_QUANTITY, EM_LIMITTEXT, 10);
    for (int nId : {IDC_SEPARATE_FILLED, IDC_SEPARATE_OPEN, IDC_SEPARATE_SYMBOL, IDC_SEPARATE_CURRENCY,
                    IDC_SEPARATE_ORDER, IDC_SEPARATE_STOP, IDC_SEPARATE_LIMIT, IDC_SEPARATE_SL_STOP, IDC_SEPARATE_SL_LIMIT})
        SendDlgItemMessage(nId, EM_SETREADONLY, TRUE);
    if (HasValidity()) {
        m_editDays.SubclassDlgItem(IDC_SEPARATE_DAYS, m_hWnd);
        m_editDays.SetDataType(COLTYPE_INT32, 0);
        m_editDays.SetLengthLimits(2, 0);
        SendDlgItemMessage(IDC_SEPARATE_DAYS, EM_LIMITTEXT, 2);
        m_pickGoodTill.SubclassDlgItem(IDC_SEPARATE_GOOD_TILL, this);
        m_pickGoodTill.SetFormat(DATE_FORMAT);
    }
    Show(OPEN_ORDER());
    return TRUE;
}

// ---- Load ------------------------------------------------------------------------------------

void CSeparateModifyForm::LoadOrder(long nOrder)
{
    OPEN_ORDER order;
    if (nOrder == 0 || !ReadOpenOrder(m_form.bKse, nOrder, &order))
        order = OPEN_ORDER();
    Show(order);
}

void CSeparateModifyForm::Show(const OPEN_ORDER& order)
{
    const BOOL bShown = order.nOrder != 0;
    m_nSide = bShown ? CTransactionType::GetCodeByText(order.strSide) : -1;
    m_nOrderType = bShown ? COrderType::GetCodeByText(order.strType) : -1;
    // The odd-lot board's orders have no validity here.
    m_nValidity = !bShown ? -1 : HasValidity() ? COrderDur::GetCodeByText(order.strDuration) : 0;
    m_bEditAllowed = order.bChangeable;
    m_strSymbol = order.strSymbol;
    // An option order's security is its series.
    SetSeries(order.series);
    m_strSecurity = IsOptionOrder() ? GetSeriesText() : order.strSecurity;
    m_nMarketCode = order.nMarketCode;
    SetText(IDC_SEPARATE_ORDER, order.nOrder != 0 ? static_cast<LPCSTR>(Whole(order.nOrder)) : "");
    SetText(IDC_SEPARATE_SYMBOL, order.strSymbol);
    SetText(IDC_SEPARATE_CURRENCY, order.strCurrency);  // none on a KSE order
    SetText(IDC_SEPARATE_QUANTITY, order.strQuantity);
    SetText(IDC_SEPARATE_OPEN, order.strOpen);
    SetText(IDC_SEPARATE_FILLED, order.strFilled);
    // Each price in the field of its order type, in the market's decimals, never fewer than it has.
    const CString strLimit = FormatPrice(order.dLimit, m_form.nDecimals);
    const CString strStop = FormatPrice(order.dStop, m_form.nDecimals);
    const BOOL bStopLimit = m_nOrderType == STOP_LIMIT && GetDlgItem(IDC_SEPARATE_SL_LIMIT) != nullptr;
    for (int nId : PRICE_FIELDS)
        SetText(nId, "");
    if (IsLimitType(m_nOrderType))
        SetText(bStopLimit ? IDC_SEPARATE_SL_LIMIT : IDC_SEPARATE_LIMIT, strLimit);
    if (IsStopType(m_nOrderType))
        SetText(bStopLimit ? IDC_SEPARATE_SL_STOP : IDC_SEPARATE_STOP, strStop);
    CheckDlgButton(IDC_SEPARATE_SIDE_OPTION, GetKeptTicketFlag() ? BST_CHECKED : BST_UNCHECKED);
    m_editQuantity.SetReadOnly(order.nOrder == 0 || !order.bChangeable);
    ShowRadios();
    if (HasValidity()) {
        const COleDateTime today = GetOrderToday();
        // The order's own date stays as it was loaded until the user picks another.
        m_loadedGoodTill = order.goodTill;
        ShowGoodTill(order.goodTill.GetStatus() == COleDateTime::valid ? order.goodTill : GoodTillFromDays(today, 1));
        if (order.nOrder == 0)
            ShowDays(IDC_SEPARATE_DAYS, "");
        ApplyValidity();
    }
    SetOrder(order.nOrder, order.bChangeable);
    if (CWnd* pClose = GetDlgItem(IDC_SEPARATE_CLOSE))
        pClose->SetFocus();
}

void CSeparateModifyForm::ShowRadios()
{
    const int nSide = IndexOf(SIDE_CODES, static_cast<int>(std::size(SIDE_CODES)), m_nSide);
    const int nType = IndexOf(TYPE_CODES, static_cast<int>(std::size(TYPE_CODES)), m_nOrderType);
    const int nValidity = IndexOf(m_form.pValidities, m_form.nValidities, m_nValidity);
    for (int i = 0; i < static_cast<int>(std::size(SIDE_RADIOS)); ++i)
        CheckDlgButton(SIDE_RADIOS[i], i == nSide ? BST_CHECKED : BST_UNCHECKED);
    for (int i = 0; i < static_cast<int>(std::size(TYPE_RADIOS)); ++i)
        CheckDlgButton(TYPE_RADIOS[i], i == nType ? BST_CHECKED : BST_UNCHECKED);
    for (int i = 0; i < m_form.nValidities; ++i)
        CheckDlgButton(VALIDITY_RADIOS[i], i == nValidity ? BST_CHECKED : BST_UNCHECKED);
}

// Days and date are typed or picked only for a good-till-date order that may change.
void CSeparateModifyForm::ApplyValidity()
{
    const BOOL bDated = m_bEditAllowed && m_nValidity == 1;
    m_editDays.SetReadOnly(!bDated);
    EnableControl(IDC_SEPARATE_GOOD_TILL, bDated);
}

void CSeparateModifyForm::ShowGoodTill(const COleDateTime& date)
{
    m_goodTill = date;
    m_pickGoodTill.SetTime(m_goodTill);
    ShowDays(IDC_SEPARATE_DAYS, Whole(GoodTillDays(GetOrderToday(), m_goodTill)));
}

// ---- Editing ---------------------------------------------------------------------------------

BOOL CSeparateModifyForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    const int nValidity = IndexOf(VALIDITY_RADIOS, m_form.nValidities, nId);
    if (nValidity >= 0) {
        if (nCode == BN_CLICKED && m_bEditAllowed && GetOrderNumber() != 0) {
            m_nValidity = m_form.pValidities[nValidity];
            ApplyValidity();
        }
        ShowRadios();
        return TRUE;
    }
    if (IndexOf(SIDE_RADIOS, static_cast<int>(std::size(SIDE_RADIOS)), nId) >= 0 ||
        IndexOf(TYPE_RADIOS, static_cast<int>(std::size(TYPE_RADIOS)), nId) >= 0) {
        // The order may become a market order; nothing else about side or type changes.
        if (nCode == BN_CLICKED && nId == IDC_SEPARATE_TYPE_MARKET && GetOrderNumber() != 0)
            m_nOrderType = TYPE_CODES[0];
        ShowRadios();
        return TRUE;
    }
    switch (nId) {
    case IDC_SEPARATE_DAYS:
        if ((nCode == ECBN_LEFT || nCode == EN_KILLFOCUS) && HasValidity())
            OnDaysLeft();
        return TRUE;
    case IDC_SEPARATE_CLEAR:
        if (nCode == BN_CLICKED)
            ClearEditable({IDC_SEPARATE_QUANTITY, IDC_SEPARATE_FILLED, IDC_SEPARATE_OPEN, IDC_SEPARATE_STOP,
                           IDC_SEPARATE_LIMIT, IDC_SEPARATE_SL_STOP, IDC_SEPARATE_SL_LIMIT, IDC_SEPARATE_DAYS});
        return TRUE;
    case IDC_SEPARATE_CLOSE:
        if (nCode == BN_CLICKED)
            CloseForm();
        return TRUE;
    default:
        return CModifyOrderForm::OnCommand(wParam, lParam);
    }
}

void CSeparateModifyForm::OnDaysLeft()
{
    if (!AreDaysTyped(IDC_SEPARATE_DAYS))
        return;
    long nDays = 0;
    const COleDateTime date = GoodTillFromTypedDays(GetOrderToday(), atol(GetText(IDC_SEPARATE_DAYS)), TRUE, &nDays);
    m_goodTill = date;
    m_pickGoodTill.SetTime(m_goodTill);
    ShowDays(IDC_SEPARATE_DAYS, Whole(nDays));
}

void CSeparateModifyForm::OnGoodTillChanged(NMHDR*, LRESULT* pResult)
{
    COleDateTime picked;
    m_pickGoodTill.GetTime(picked);
    const BOOL bLoaded = m_loadedGoodTill.GetStatus() == COleDateTime::valid && picked == m_loadedGoodTill;
    ShowGoodTill(bLoaded ? picked : ClampGoodTillDate(GetOrderToday(), picked, TRUE));
    *pResult = 0;
}

// ---- Requests --------------------------------------------------------------------------------

ORDER_TICKET_SNAPSHOT CSeparateModifyForm::TakeSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot;
    shot.nSide = m_nSide;
    shot.nOrderType = m_nOrderType;
    shot.nValidity = m_nValidity;
    shot.strTicker = m_strSymbol;
    shot.strDescription = m_strSecurity;
    shot.strQuantity = static_cast<LPCSTR>(m_editQuantity.GetPlainText());
    // A stop-limit order's prices are in their own pair of fields, where the form has them.
    const BOOL bStopLimit = m_nOrderType == STOP_LIMIT && GetDlgItem(IDC_SEPARATE_SL_LIMIT) != nullptr;
    shot.strLimitPrice = GetText(bStopLimit ? IDC_SEPARATE_SL_LIMIT : IDC_SEPARATE_LIMIT);
    shot.strStopPrice = GetText(bStopLimit ? IDC_SEPARATE_SL_STOP : IDC_SEPARATE_STOP);
    if (HasValidity())
        shot.strDays = static_cast<LPCSTR>(m_editDays.GetPlainText());
    shot.goodTill = m_goodTill;
    shot.nMarketCode = m_nMarketCode;
    shot.nKseMarketType = m_form.bKse ? 1 : -1;
    // A form without the box leaves the remembered flag as it is.
    shot.bTicketFlag = GetDlgItem(IDC_SEPARATE_SIDE_OPTION) != nullptr
                           ? IsDlgButtonChecked(IDC_SEPARATE_SIDE_OPTION) == BST_CHECKED
                           : GetKeptTicketFlag();
    shot.nOrderNumber = GetOrderNumber();
    return shot;
}
