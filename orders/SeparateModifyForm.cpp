// The separate modify forms: set-up, the load from the order-status row, the radio groups and
// the weekend-free good-till rules.
#include "orders/SeparateModifyForm.h"

#include <cstdlib>
#include <iterator>

#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedComboBox.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
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
#define KSE_MARKET_CODE 2
#define KSE_MARKET_MASK 1
#define STOP_LIMIT 2

// US order-status columns.
enum { UC_SIDE = 2, UC_SYMBOL = 3, UC_QUANTITY = 4, UC_TYPE = 5, UC_LIMIT = 6, UC_STOP = 7, UC_DURATION = 8,
       UC_GOOD_TILL = 9, UC_OPEN = 10, UC_FILLED = 11, UC_FIXED = 13, UC_MARKET = 21, UC_CURRENCY = 22,
       UC_LINKED = 24 };
// KSE order-status columns.
enum { KC_SIDE = 4, KC_SYMBOL = 5, KC_QUANTITY = 9, KC_TYPE = 10, KC_LIMIT = 11, KC_STOP = 12, KC_DURATION = 13,
       KC_GOOD_TILL = 14, KC_OPEN = 15, KC_FILLED = 16, KC_STATE = 19 };

bool IsLimitType(int nType)
{
    return nType == 0 || nType == 2;
}

bool IsStopType(int nType)
{
    return nType == 1 || nType == 2;
}

CString Whole(long nValue)
{
    CString strText;
    strText.Format("%ld", nValue);
    return strText;
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

CDataBuffer* FindOrderRow(UINT nTableId, LPCSTR pszKey)
{
    CDataTable* pTable = FindDataTable(nTableId);
    return pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow({pszKey}) : nullptr;
}

int IndexOf(const int* pCodes, int nCodes, int nCode)
{
    for (int i = 0; i < nCodes; ++i)
        if (pCodes[i] == nCode)
            return i;
    return -1;
}
}  // namespace

// What a load takes from a row, all of it before anything is shown.
struct CSeparateModifyForm::LOADED
{
    long nOrder = 0;
    BOOL bChangeable = FALSE;
    int nSide = -1, nType = -1, nValidity = -1;
    CString strSymbol, strSecurity, strCurrency, strQuantity, strOpen, strFilled;
    double dLimit = 0, dStop = 0;
    COleDateTime goodTill;
    long nMarketCode = 0;
};

BEGIN_MESSAGE_MAP(CSeparateModifyForm, CModifyOrderForm)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_SEPARATE_GOOD_TILL, OnGoodTillChanged)
END_MESSAGE_MAP()

CSeparateModifyForm::CSeparateModifyForm(const SEPARATE_MODIFY_FORM& form)
    : CModifyOrderForm(form.nTemplate, {IDC_SEPARATE_MODIFY, IDC_SEPARATE_CANCEL, IDC_SEPARATE_QUANTITY}, form.nMoreType),
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
    Show(LOADED());
    return TRUE;
}

// ---- Load ------------------------------------------------------------------------------------

void CSeparateModifyForm::LoadOrder(long nOrder)
{
    LOADED order;
    const BOOL bRead = nOrder != 0 && (m_form.bKse ? ReadKSERow(nOrder, &order) : ReadUSRow(nOrder, &order));
    Show(bRead ? order : LOADED());
}

BOOL CSeparateModifyForm::ReadUSRow(long nOrder, LOADED* pOrder) const
{
    const CDataBuffer* pRow = FindOrderRow(IDS_TABLE_US_ORDER_STATUS, Whole(nOrder));
    if (pRow == nullptr)
        return FALSE;
    pOrder->nOrder = nOrder;
    // An order linked to another that is still open stays as it is.
    const long nLinked = pRow->GetLong(UC_LINKED);
    if (nLinked == 0) {
        pOrder->bChangeable = pRow->GetLong(UC_FIXED) != 1;
    } else {
        const CDataBuffer* pLinked = FindOrderRow(IDS_TABLE_US_ORDER_STATUS, Whole(nLinked));
        pOrder->bChangeable = pLinked == nullptr || pLinked->GetDouble(UC_OPEN) <= 0;
    }
    pOrder->nSide = CTransactionType::GetCodeByText(pRow->GetText(UC_SIDE, TRUE));
    pOrder->nType = COrderType::GetCodeByText(pRow->GetText(UC_TYPE, TRUE));
    pOrder->nValidity = COrderDur::GetCodeByText(pRow->GetText(UC_DURATION, TRUE));
    pOrder->dLimit = pRow->GetDouble(UC_LIMIT);
    pOrder->dStop = pRow->GetDouble(UC_STOP);
    pOrder->strSymbol = pRow->GetText(UC_SYMBOL);
    pOrder->nMarketCode = GetGlobals()->GetMarketCode(pRow->GetText(UC_MARKET));
    pOrder->strCurrency = pRow->GetText(UC_CURRENCY);
    pOrder->strQuantity = Whole(pRow->GetLong(UC_QUANTITY));
    pOrder->strOpen = Whole(pRow->GetLong(UC_OPEN));
    pOrder->strFilled = Whole(pRow->GetLong(UC_FILLED));
    pOrder->goodTill = DateOf(pRow->GetLong(UC_GOOD_TILL));
    return TRUE;
}

BOOL CSeparateModifyForm::ReadKSERow(long nOrder, LOADED* pOrder) const
{
    const CDataBuffer* pRow = FindOrderRow(IDS_TABLE_KSE_ORDER_STATUS, Whole(nOrder));
    if (pRow == nullptr)
        return FALSE;
    const long nState = pRow->GetLong(KC_STATE);
    if (nState != 1 && nState != 2 && nState != 6) {
        ShowMarketInfo(nullptr, IDS_ORDER_STATE_REFUSED, 2);
        return FALSE;
    }
    pOrder->nOrder = nOrder;
    pOrder->bChangeable = nState != 6;
    MarketDetail market;
    // The market's own word overrides the order's state while it is 2.
    if (GetGlobals()->LookupMarket(KSE_MARKET_CODE, market) && market.m_nValue5 == 2)
        pOrder->bChangeable = (market.m_nValue19 & KSE_MARKET_MASK) == 0;
    pOrder->strSymbol = pRow->GetText(KC_SYMBOL);
    if (auto* pList = dynamic_cast<CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE)))
        pOrder->strSecurity = pList->GetStockName(atol(pOrder->strSymbol), GetNorvGlobals().m_bRightToLeft);
    pOrder->nSide = CTransactionType::GetCodeByText(pRow->GetText(KC_SIDE, TRUE));
    pOrder->nType = COrderType::GetCodeByText(pRow->GetText(KC_TYPE, TRUE));
    pOrder->nValidity = HasValidity() ? COrderDur::GetCodeByText(pRow->GetText(KC_DURATION, TRUE)) : 0;
    pOrder->dLimit = pRow->GetDouble(KC_LIMIT);
    pOrder->dStop = pRow->GetDouble(KC_STOP);
    pOrder->nMarketCode = KSE_MARKET_CODE;
    pOrder->strQuantity = Whole(pRow->GetLong(KC_QUANTITY));
    pOrder->strOpen = Whole(pRow->GetLong(KC_OPEN));
    pOrder->strFilled = Whole(pRow->GetLong(KC_FILLED));
    pOrder->goodTill = DateOf(pRow->GetLong(KC_GOOD_TILL));
    return TRUE;
}

void CSeparateModifyForm::Show(const LOADED& order)
{
    m_nSide = order.nSide;
    m_nOrderType = order.nType;
    m_nValidity = order.nValidity;
    m_bEditAllowed = order.bChangeable;
    m_strSymbol = order.strSymbol;
    m_strSecurity = order.strSecurity;
    m_nMarketCode = order.nMarketCode;
    SetText(IDC_SEPARATE_ORDER, order.nOrder != 0 ? static_cast<LPCSTR>(Whole(order.nOrder)) : "");
    SetText(IDC_SEPARATE_SYMBOL, order.strSymbol);
    SetText(IDC_SEPARATE_CURRENCY, order.strCurrency);
    SetText(IDC_SEPARATE_QUANTITY, order.strQuantity);
    SetText(IDC_SEPARATE_OPEN, order.strOpen);
    SetText(IDC_SEPARATE_FILLED, order.strFilled);
    // Each price in the field of its order type, with the form's decimals.
    CString strLimit, strStop;
    strLimit.Format("%.*f", m_form.nDecimals, order.dLimit);
    strStop.Format("%.*f", m_form.nDecimals, order.dStop);
    const BOOL bStopLimit = order.nType == STOP_LIMIT && GetDlgItem(IDC_SEPARATE_SL_LIMIT) != nullptr;
    for (int nId : PRICE_FIELDS)
        SetText(nId, "");
    if (IsLimitType(order.nType))
        SetText(bStopLimit ? IDC_SEPARATE_SL_LIMIT : IDC_SEPARATE_LIMIT, strLimit);
    if (IsStopType(order.nType))
        SetText(bStopLimit ? IDC_SEPARATE_SL_STOP : IDC_SEPARATE_STOP, strStop);
    CheckDlgButton(IDC_SEPARATE_SIDE_OPTION, GetKeptTicketFlag() ? BST_CHECKED : BST_UNCHECKED);
    m_editQuantity.SetReadOnly(order.nOrder == 0 || !order.bChangeable);
    ShowRadios();
    SetOrder(order.nOrder, order.bChangeable);
    if (HasValidity()) {
        const COleDateTime today = GetOrderToday();
        ShowGoodTill(ClampGoodTillDate(
            today, order.goodTill.GetStatus() == COleDateTime::valid ? order.goodTill : GoodTillFromDays(today, 1), TRUE));
        if (order.nOrder == 0)
            SetText(IDC_SEPARATE_DAYS, "");
        ApplyValidity();
    }
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
    SetText(IDC_SEPARATE_DAYS, Whole(GoodTillDays(GetOrderToday(), m_goodTill)));
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
            for (int nField : {IDC_SEPARATE_QUANTITY, IDC_SEPARATE_FILLED, IDC_SEPARATE_OPEN, IDC_SEPARATE_STOP,
                               IDC_SEPARATE_LIMIT, IDC_SEPARATE_SL_STOP, IDC_SEPARATE_SL_LIMIT, IDC_SEPARATE_DAYS})
                SetText(nField, "");
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
    long nDays = 0;
    const COleDateTime date = GoodTillFromTypedDays(GetOrderToday(), atol(GetText(IDC_SEPARATE_DAYS)), TRUE, &nDays);
    m_goodTill = date;
    m_pickGoodTill.SetTime(m_goodTill);
    SetText(IDC_SEPARATE_DAYS, Whole(nDays));
}

void CSeparateModifyForm::OnGoodTillChanged(NMHDR*, LRESULT* pResult)
{
    COleDateTime picked;
    m_pickGoodTill.GetTime(picked);
    ShowGoodTill(ClampGoodTillDate(GetOrderToday(), picked, TRUE));
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
