// The US order ticket: its fields, the ticker and market lookups, the good-till date on
// weekdays, the option series, and Submit through the order road.
#include "orders/PlaceOrderDlg.h"

#include <cstdlib>

#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedComboBox.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "orders/MarketChoices.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum
{
    IDC_DAYS = 5718, IDC_GOOD_TILL = 5719, IDC_BUY = 5720, IDC_SELL = 5721, IDC_TICKER = 5722, IDC_QUANTITY = 5723,
    IDC_MARKET_ORDER = 5724, IDC_LIMIT_ORDER = 5725, IDC_STOP = 5726, IDC_STOP_ORDER = 5727, IDC_LIMIT = 5728,
    IDC_STOP_LIMIT_ORDER = 5729, IDC_STOP_OF_STOP_LIMIT = 5730, IDC_LIMIT_OF_STOP_LIMIT = 5731, IDC_DAY = 5732,
    IDC_TILL_CANCELLED = 5733, IDC_TILL_DATE = 5735, IDC_SUBMIT = 5737, IDC_CLOSE = 5738, IDC_RESET = 5742,
    IDC_SERIES = 5996, IDC_STRIKE = 6676, IDC_RIGHT = 6677, IDC_EXPIRY = 6678, IDC_UNDERLYING = 6679,
    IDC_MARKET = 6730, IDC_INFO = 6731, IDC_DESCRIPTION = 6732, IDC_OPTIONS = 6733, IDC_SIDE_27 = 5770,
    IDC_SIDE_28 = 5771,
};
// The radio groups by index, and the codes each index sends.
const int SIDE_IDS[] = {IDC_BUY, IDC_SELL, IDC_SIDE_27, IDC_SIDE_28};
const int SIDE_CODES[] = {1, 2, 27, 28};
const int TYPE_IDS[] = {IDC_MARKET_ORDER, IDC_LIMIT_ORDER, IDC_STOP_ORDER, IDC_STOP_LIMIT_ORDER};
const int TYPE_CODES[] = {3, 0, 1, 2};
const int VALIDITY_IDS[] = {IDC_DAY, IDC_TILL_CANCELLED, IDC_TILL_DATE};
const int VALIDITY_CODES[] = {0, 2, 1};
const int TILL_DATE_INDEX = 2, MARKET_INDEX = 0, LIMIT_INDEX = 1, STOP_INDEX = 2, STOP_LIMIT_INDEX = 3;
const int OPTION_CONTROLS[] = {IDC_STRIKE, IDC_RIGHT, IDC_EXPIRY, IDC_UNDERLYING, IDC_SERIES,
                               6701, 6702, 6708, 6709, 6710, 6711};
const int WIDTH_WITH_OPTIONS = 590, WIDTH_WITHOUT_OPTIONS = 480, FORM_HEIGHT = 160;
const long KSE_ODD_LOT_MARKET = 2;
const UINT US_QUOTES = 51921;
const int US_NAME_COLUMN = 2, US_INFO_COLUMN = 12, US_DESCRIPTION_COLUMN = 22;
const int RECENT_TICKERS = 10;

int CheckedIndex(const CWnd* pForm, const int* pIds, int nIds)
{
    for (int i = 0; i < nIds; ++i)
        if (pForm->IsDlgButtonChecked(pIds[i]) == BST_CHECKED)
            return i;
    return -1;
}

CString RecentTickerKey(int n)
{
    CString strKey;
    strKey.Format("TICKER%d", n);
    return strKey;
}

// A numeric symbol shows with its name: "symbol/name".
bool TakesName(const CString& strSymbol, const CString& strName)
{
    return atol(strSymbol) > 0 && !strName.IsEmpty();
}
}  // namespace

BEGIN_MESSAGE_MAP(CPlaceOrderDlg, COrderRoadForm)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_GOOD_TILL, OnGoodTillDateChanged)
END_MESSAGE_MAP()

CPlaceOrderDlg::CPlaceOrderDlg() : COrderRoadForm(IDD_FORM_US_ORDER, {MSG_OV, MSG_OR, MSG_RN, MSG_GO})
{
    m_goodTill = GetOrderToday();
}

CWnd* CPlaceOrderDlg::Make(UINT)
{
    return new CPlaceOrderDlg;
}

BOOL CPlaceOrderDlg::OnInitDialog()
{
    COrderRoadForm::OnInitDialog();
    SetUpEdits({
        {&m_editQuantity, IDC_QUANTITY, COLTYPE_INT64, 0, 10},
        {&m_editLimit, IDC_LIMIT, COLTYPE_DOUBLE, -4, 256},
        {&m_editStop, IDC_STOP, COLTYPE_DOUBLE, -4, 256},
        {&m_editStopOfStopLimit, IDC_STOP_OF_STOP_LIMIT, COLTYPE_DOUBLE, -4, 256},
        {&m_editLimitOfStopLimit, IDC_LIMIT_OF_STOP_LIMIT, COLTYPE_DOUBLE, -4, 256},
        {&m_editDays, IDC_DAYS, COLTYPE_INT32, 0, 4},
        {&m_editInfo, IDC_INFO, COLTYPE_STRING, 0, 12},
        {&m_editDescription, IDC_DESCRIPTION, COLTYPE_STRING, 0, 256},
        {&m_editUnderlying, IDC_UNDERLYING, COLTYPE_STRING, 0, 6},
        {&m_editSeries, IDC_SERIES, COLTYPE_STRING, 0, 6},
    });
    m_editQuantity.SetNoMinus(TRUE);
    // A price typed or given is taken whole; the request refuses one of more decimals than it carries.
    SetPriceField(m_editLimit, IDC_LIMIT, US_PRICE_DECIMALS);
    SetPriceField(m_editStop, IDC_STOP, US_PRICE_DECIMALS);
    SetPriceField(m_editStopOfStopLimit, IDC_STOP_OF_STOP_LIMIT, US_PRICE_DECIMALS);
    SetPriceField(m_editLimitOfStopLimit, IDC_LIMIT_OF_STOP_LIMIT, US_PRICE_DECIMALS);
    for (CEnhancedEdit* pEdit : {&m_editInfo, &m_editDescription})
        pEdit->SetReadOnly(TRUE);
    m_pickGoodTill.SubclassDlgItem(IDC_GOOD_TILL, this);
    m_pickGoodTill.SetFormat("dd'/'MM'/'yyyy");
    for (int nRight = 0; nRight <= 2; ++nRight) {
        const CString strRight = COptionRight::GetText(nRight);
        SendDlgItemMessage(IDC_RIGHT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strRight)));
    }
    CheckRadioButton(IDC_BUY, IDC_SIDE_28, IDC_BUY);
    OnSideClicked();
    CheckDlgButton(IDC_LIMIT_ORDER, BST_CHECKED);
    CheckDlgButton(IDC_DAY, BST_CHECKED);
    LoadRecentTickers();
    ResetForm();
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i) {
        const CString strName = GetGlobals()->GetMarketName(codes[i]);
        if (codes[i] != KSE_ODD_LOT_MARKET && !strName.IsEmpty() &&
            SendDlgItemMessage(IDC_MARKET, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strName))) == CB_ERR)
            SendDlgItemMessage(IDC_MARKET, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strName)));
    }
    GetDlgItem(IDC_OPTIONS)->EnableWindow(FALSE);
    GetDlgItem(IDC_OPTIONS)->ShowWindow(SW_HIDE);
    ShowOptionFields(TRUE);
    return TRUE;
}

BOOL CPlaceOrderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    const BOOL bLeft = nCode == EN_KILLFOCUS || nCode == ECBN_LEFT;
    switch (nId) {
    case IDC_SUBMIT:
        if (nCode == BN_CLICKED)
            Submit();
        return TRUE;
    case IDC_CLOSE:
        if (nCode == BN_CLICKED) {
            SaveRecentTickers();
            CloseForm();
        }
        return TRUE;
    case IDC_RESET:
        if (nCode == BN_CLICKED)
            ResetForm();
        return TRUE;
    case IDC_BUY:
    case IDC_SELL:
    case IDC_SIDE_27:
    case IDC_SIDE_28:
        if (nCode == BN_CLICKED)
            OnSideClicked();
        return TRUE;
    case IDC_MARKET_ORDER:
    case IDC_LIMIT_ORDER:
    case IDC_STOP_ORDER:
    case IDC_STOP_LIMIT_ORDER:
        if (nCode == BN_CLICKED)
            OnOrderTypeClicked(nId);
        return TRUE;
    case IDC_DAY:
    case IDC_TILL_CANCELLED:
    case IDC_TILL_DATE:
        if (nCode == BN_CLICKED)
            OnValidityClicked(nId);
        return TRUE;
    case IDC_DAYS:
        if (bLeft)
            OnDaysLeft();
        return TRUE;
    case IDC_QUANTITY:
    case IDC_STOP:
    case IDC_LIMIT:
    case IDC_STOP_OF_STOP_LIMIT:
    case IDC_LIMIT_OF_STOP_LIMIT:
        if (bLeft) {
            TellRefusedKeys(nId, nId == IDC_QUANTITY ? IDS_TICKET_QUANTITY_REFUSED : IDS_TICKET_PRICE_REFUSED);
            const CString strText = GetText(nId);
            if (strText.GetLength() > 1 && strText[0] == '-')
                SetText(nId, static_cast<LPCSTR>(strText) + 1);
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_SERIES:
        if (bLeft)
            UpdateSubmitButton();
        return TRUE;
    case IDC_TICKER:
        if (nCode == CBN_SELCHANGE || nCode == CBN_KILLFOCUS || nCode == ECBN_LEFT) {
            if (nCode == CBN_SELCHANGE)
                SetText(IDC_TICKER, GetBoxText(IDC_TICKER));
            OnTickerChanged();
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_MARKET:
        if ((nCode == CBN_SELCHANGE || nCode == ECBN_LEFT) && GetBoxText(IDC_MARKET) != m_strMarket)
            OnMarketChanged();
        return TRUE;
    case IDC_UNDERLYING:
        if (nCode == EN_KILLFOCUS || nCode == ECBN_LEFT)
            if (const long nNumber = AskOptionSeries(IDC_UNDERLYING, &m_strOptionsAsked))
                m_nOptionRequest = nNumber;
        return TRUE;
    case IDC_RIGHT:
    case IDC_EXPIRY:
        if ((nCode == CBN_SELCHANGE || nCode == CBN_KILLFOCUS || nCode == CBN_SELENDOK) && !m_bReceivingOptions)
            FillStrikeList();
        return TRUE;
    case IDC_OPTIONS:
        if (nCode == BN_CLICKED)
            ShowOptionFields(!::IsWindowVisible(::GetDlgItem(m_hWnd, IDC_UNDERLYING)));
        return TRUE;
    }
    return COrderRoadForm::OnCommand(wParam, lParam);
}

HBRUSH CPlaceOrderDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (HBRUSH hBrush = YellowBrushFor(pDC, pWnd, {IDC_TICKER, IDC_MARKET, IDC_STRIKE, IDC_EXPIRY}))
        return hBrush;
    if (HBRUSH hBrush = FormBrushFor(pDC, nCtlColor, FALSE))
        return hBrush;
    return COrderRoadForm::OnCtlColor(pDC, pWnd, nCtlColor);
}

// ---- State ------------------------------------------------------------------------------------

void CPlaceOrderDlg::OnSideClicked()
{
    // As the KSE ticket: a purchase's colour, a sale's, and the dialog face for the other sides.
    const int nSide = CheckedIndex(this, SIDE_IDS, 4);
    ColourBySide(nSide == 0, nSide == 1);
    UpdateSubmitButton();
}

void CPlaceOrderDlg::ResetForm()
{
    SetText(IDC_TICKER, "");
    m_strTicker.Empty();
    SendDlgItemMessage(IDC_MARKET, CB_SETCURSEL, static_cast<WPARAM>(-1));
    m_strMarket.Empty();
    for (int nId : {IDC_QUANTITY, IDC_INFO, IDC_LIMIT, IDC_STOP, IDC_STOP_OF_STOP_LIMIT, IDC_LIMIT_OF_STOP_LIMIT,
                    IDC_UNDERLYING, IDC_SERIES})
        SetText(nId, "");
    long nDays = 1;
    ShowGoodTill(GoodTillFromTypedDays(GetOrderToday(), 1, TRUE, &nDays));
    SetText(IDC_DAYS, "1");
    for (int nId : {IDC_STRIKE, IDC_EXPIRY})
        SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(-1));
    SendDlgItemMessage(IDC_RIGHT, CB_SETCURSEL, 0);
    ApplyPriceFields();
    ApplyValidityFields();
    UpdateSubmitButton();
}

int CPlaceOrderDlg::GetOrderTypeIndex() const
{
    return CheckedIndex(this, TYPE_IDS, 4);
}

int CPlaceOrderDlg::GetValidityIndex() const
{
    return CheckedIndex(this, VALIDITY_IDS, 3);
}

void CPlaceOrderDlg::UpdateSubmitButton()
{
    BOOL bOk = !GetText(IDC_QUANTITY).IsEmpty() && !GetText(IDC_TICKER).IsEmpty() &&
               CheckedIndex(this, SIDE_IDS, 4) >= 0;
    auto holds = [](CEnhancedEdit& edit) { return !edit.IsEmpty() && edit.GetDouble() != 0.0; };
    switch (GetOrderTypeIndex()) {
    case LIMIT_INDEX: bOk = bOk && holds(m_editLimit); break;
    case STOP_INDEX: bOk = bOk && holds(m_editStop); break;
    case STOP_LIMIT_INDEX: bOk = bOk && holds(m_editStopOfStopLimit) && holds(m_editLimitOfStopLimit); break;
    default: break;
    }
    if (GetValidityIndex() == TILL_DATE_INDEX)
        bOk = bOk && !m_editDays.IsEmpty() && m_editDays.GetLong() != 0;
    MarketDetail market;
    bOk = bOk && GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(GetBoxText(IDC_MARKET)), market);
    GetDlgItem(IDC_SUBMIT)->EnableWindow(bOk);
}

const ORDER_ROAD* CPlaceOrderDlg::GetRoadOf(const ORDER_TICKET_SNAPSHOT& shot) const
{
    MarketDetail market;
    return GetGlobals()->LookupMarket(shot.nMarketCode, market) ? &US_TICKET_ROAD : nullptr;
}

ORDER_TICKET_SNAPSHOT CPlaceOrderDlg::TakeSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot;
    const int nSide = CheckedIndex(this, SIDE_IDS, 4);
    const int nType = GetOrderTypeIndex();
    const int nValidity = GetValidityIndex();
    shot.nSide = nSide >= 0 ? SIDE_CODES[nSide] : -1;
    shot.nOrderType = nType >= 0 ? TYPE_CODES[nType] : -1;
    shot.nValidity = nValidity >= 0 ? VALIDITY_CODES[nValidity] : -1;
    shot.strTicker = GetText(IDC_TICKER);
    shot.strDescription = m_strDescription;
    shot.strQuantity = static_cast<LPCSTR>(m_editQuantity.GetPlainText());
    CEnhancedEdit& limit = nType == STOP_LIMIT_INDEX ? m_editLimitOfStopLimit : m_editLimit;
    CEnhancedEdit& stop = nType == STOP_LIMIT_INDEX ? m_editStopOfStopLimit : m_editStop;
    shot.strLimitPrice = static_cast<LPCSTR>(limit.GetText(/*bStrip=*/TRUE));
    shot.strStopPrice = static_cast<LPCSTR>(stop.GetText(/*bStrip=*/TRUE));
    shot.strDays = static_cast<LPCSTR>(m_editDays.GetPlainText());
    shot.goodTill = m_goodTill;
    shot.strMarketName = GetBoxText(IDC_MARKET);
    shot.nMarketCode = GetGlobals()->GetMarketCode(shot.strMarketName);
    // Only a call or a put is an option series; any other text sends no option fields.
    const int nRight = COptionRight::GetCodeByText(GetBoxText(IDC_RIGHT));
    shot.nRight = nRight == 1 || nRight == 2 ? nRight : 0;
    shot.strUnderlying = GetText(IDC_UNDERLYING);
    shot.strStrike = GetBoxText(IDC_STRIKE);
    shot.strExpiryMonth = GetBoxText(IDC_EXPIRY);
    shot.strExpiryKey = shot.strExpiryMonth.IsEmpty() ? CString() : m_options.FindKey(shot.strExpiryMonth);
    shot.strExtra = GetText(IDC_SERIES);
    return shot;
}

// ---- Order type, validity, good till ----------------------------------------------------------

void CPlaceOrderDlg::OnOrderTypeClicked(int nId)
{
    if (nId == IDC_MARKET_ORDER && GetValidityIndex() != 0) {
        // A market order lives for the day.
        CheckRadioButton(IDC_DAY, IDC_TILL_DATE, IDC_DAY);
        ApplyValidityFields();
    }
    ApplyPriceFields();
    UpdateSubmitButton();
}

void CPlaceOrderDlg::OnValidityClicked(int nId)
{
    if (nId != IDC_TILL_DATE && GetOrderTypeIndex() == MARKET_INDEX) {
        CheckRadioButton(IDC_MARKET_ORDER, IDC_STOP_LIMIT_ORDER, IDC_LIMIT_ORDER);
        ApplyPriceFields();
    }
    ApplyValidityFields();
    UpdateSubmitButton();
}

void CPlaceOrderDlg::ApplyPriceFields()
{
    const int nType = GetOrderTypeIndex();
    m_editLimit.SetReadOnly(nType != LIMIT_INDEX);
    m_editStop.SetReadOnly(nType != STOP_INDEX);
    m_editStopOfStopLimit.SetReadOnly(nType != STOP_LIMIT_INDEX);
    m_editLimitOfStopLimit.SetReadOnly(nType != STOP_LIMIT_INDEX);
}

void CPlaceOrderDlg::ApplyValidityFields()
{
    const BOOL bDated = GetValidityIndex() == TILL_DATE_INDEX;
    if (!bDated)
        SetText(IDC_DAYS, "");
    m_editDays.SetReadOnly(!bDated);
    GetDlgItem(IDC_GOOD_TILL)->EnableWindow(bDated);
}

void CPlaceOrderDlg::OnDaysLeft()
{
    long nDays = 0;
    ShowGoodTill(GoodTillFromTypedDays(GetOrderToday(), m_editDays.GetLong(), TRUE, &nDays));
    CString strDays;
    strDays.Format("%ld", nDays);
    SetText(IDC_DAYS, strDays);
    UpdateSubmitButton();
}

void CPlaceOrderDlg::ShowGoodTill(const COleDateTime& date)
{
    m_goodTill = date;
    m_pickGoodTill.SetTime(m_goodTill);
}

void CPlaceOrderDlg::OnGoodTillDateChanged(NMHDR*, LRESULT* pResult)
{
    COleDateTime picked;
    m_pickGoodTill.GetTime(picked);
    const COleDateTime today = GetOrderToday();
    ShowGoodTill(ClampGoodTillDate(today, picked, TRUE));
    CString strDays;
    strDays.Format("%ld", GoodTillDays(today, m_goodTill));
    SetText(IDC_DAYS, strDays);
    UpdateSubmitButton();
    *pResult = 0;
}

// ---- Ticker and market ------------------------------------------------------------------------

CString CPlaceOrderDlg::GetSymbol() const
{
    CString strTicker = GetText(IDC_TICKER);
    const int nSlash = strTicker.Find('/');
    if (nSlash >= 0)
        strTicker = strTicker.Left(nSlash);
    strTicker.Trim();
    return strTicker;
}

void CPlaceOrderDlg::OnTickerChanged()
{
    const CString strEntry = GetText(IDC_TICKER);
    if (strEntry == m_strTicker)
        return;
    m_strTicker = strEntry;
    const CString strSymbol = GetSymbol();
    if (strSymbol.IsEmpty())
        return;
    CDataTable* pTable = FindDataTable(US_QUOTES);
    CDataBuffer* pRow = pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow({strSymbol}) : nullptr;
    if (pRow == nullptr) {
        RequestTickerInfo(strSymbol);
        return;
    }
    const CString strName = pRow->GetText(US_NAME_COLUMN);
    SetText(IDC_INFO, pRow->GetText(US_INFO_COLUMN));
    m_strDescription = pRow->GetText(US_DESCRIPTION_COLUMN);
    SetText(IDC_DESCRIPTION, m_strDescription);
    if (TakesName(strSymbol, strName) && strEntry.Find('/') < 0) {
        m_strTicker = strSymbol + "/" + strName;
        SetText(IDC_TICKER, m_strTicker);
    }
}

void CPlaceOrderDlg::OnMarketChanged()
{
    m_strMarket = GetBoxText(IDC_MARKET);
    MarketDetail market;
    const BOOL bFound = GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market);
    if (bFound && market.m_nValue22 != 1 && !GetSymbol().IsEmpty() && !m_strMarket.IsEmpty())
        RequestTickerInfo(GetSymbol());
    SetText(IDC_TICKER, "");
    for (int nId : {IDC_INFO, IDC_DESCRIPTION})
        SetText(nId, "");
    m_strTicker.Empty();
    m_strDescription.Empty();
    FillMarketSymbols();
    UpdateSubmitButton();
}

void CPlaceOrderDlg::FillMarketSymbols()
{
    SendDlgItemMessage(IDC_TICKER, CB_RESETCONTENT);
    const long nCode = GetGlobals()->GetMarketCode(m_strMarket);
    CStringArray symbols;
    if (nCode != 0)
        GetGlobals()->GetMarketSymbols(nCode, symbols);
    const BOOL bArabic = GetNorvGlobals().m_nLanguage == 1;
    for (int i = 0; i < symbols.GetSize(); ++i) {
        ShortStockListEntry entry;
        if (symbols[i].IsEmpty() || symbols[i][0] == '.' || !GetGlobals()->LookupShortStockEntry(nCode, symbols[i], entry))
            continue;
        const CString strName = bArabic ? entry.text6 : entry.text5;
        const CString strItem = TakesName(symbols[i], strName) ? symbols[i] + "/" + strName : symbols[i];
        SendDlgItemMessage(IDC_TICKER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strItem)));
    }
}

void CPlaceOrderDlg::RequestTickerInfo(LPCSTR pszSymbol)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    ORDER_TICKET_SNAPSHOT shot;
    shot.strTicker = pszSymbol;
    ORDER_VALUES values;
    values.pShot = &shot;
    CString strLine;
    if (pApp != nullptr && BuildOrderRequest(RN_SYMBOL_BODY, values, &strLine) == 0) {
        m_nTickerInfoRequest = pApp->SendRequest(strLine);
        m_strTickerInfoSymbol = pszSymbol;
    }
}

void CPlaceOrderDlg::OnRN(CServerMessage* pMsg)
{
    // Only the answer to this form's own last request.
    if (pMsg == nullptr || m_nTickerInfoRequest == 0 || GetRawLineNumber(pMsg) != m_nTickerInfoRequest)
        return;
    m_nTickerInfoRequest = 0;
    // Matched with the symbol it was asked for: a market change asks, then empties the ticker.
    MarketDetail market;
    if (pMsg->GetLong(0) != 0 || pMsg->GetField(2) != m_strTickerInfoSymbol ||
        !GetGlobals()->LookupMarket(pMsg->GetLong(3), market))
        return;
    const CString strMarket = GetGlobals()->GetMarketName(pMsg->GetLong(3));
    const CString strShown = GetText(IDC_MARKET);
    if (!strShown.IsEmpty() && strShown != strMarket) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            ShowMarketInfo(pApp->GetErrorText(1026), 0, 2);
        return;
    }
    const CString strSymbol = GetSymbol();
    if (strSymbol != m_strTickerInfoSymbol)
        return;                 // the ticker has moved on
    SetText(IDC_INFO, pMsg->GetField(9));
    m_strDescription = pMsg->GetField(7);
    SetText(IDC_DESCRIPTION, m_strDescription);
    const CString strName = pMsg->GetField(5);
    if (TakesName(strSymbol, strName) && GetText(IDC_TICKER).Find('/') < 0) {
        m_strTicker = strSymbol + "/" + strName;
        SetText(IDC_TICKER, m_strTicker);
    }
}

// ---- Recent tickers ---------------------------------------------------------------------------

void CPlaceOrderDlg::LoadRecentTickers()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    for (int n = 0; pApp != nullptr && n < RECENT_TICKERS; ++n) {
        const CString strTicker = pApp->ReadProfileText(".General", RecentTickerKey(n), "");
        if (!strTicker.IsEmpty() && SendDlgItemMessage(IDC_TICKER, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strTicker))) == CB_ERR)
            SendDlgItemMessage(IDC_TICKER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strTicker)));
    }
}

void CPlaceOrderDlg::SaveRecentTickers()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    MarketDetail market;
    if (pApp == nullptr || !GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market) ||
        !ReadMarketChoices(market).bKeepTickers)
        return;
    const int nCount = static_cast<int>(SendDlgItemMessage(IDC_TICKER, CB_GETCOUNT));
    for (int i = nCount - 1, n = 0; i >= 0 && n < RECENT_TICKERS; --i, ++n) {
        char szItem[256] = "";
        if (SendDlgItemMessage(IDC_TICKER, CB_GETLBTEXTLEN, static_cast<WPARAM>(i)) < static_cast<LRESULT>(sizeof szItem))
            SendDlgItemMessage(IDC_TICKER, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(szItem));
        pApp->WriteProfileText(".General", RecentTickerKey(n), szItem);
    }
}

// ---- Order road -------------------------------------------------------------------------------

int CPlaceOrderDlg::ClearAfterAcknowledgement(int)
{
    for (int nId : {IDC_QUANTITY, IDC_LIMIT, IDC_STOP, IDC_STOP_OF_STOP_LIMIT, IDC_LIMIT_OF_STOP_LIMIT})
        EmptyIfAsSent(nId);
    if (EmptyIfAsSent(IDC_TICKER))
        m_strTicker.Empty();
    UpdateSubmitButton();
    return IDC_TICKER;
}

// ---- Option series ----------------------------------------------------------------------------

void CPlaceOrderDlg::OnGO(CServerMessage* pMsg)
{
    // Only the series this ticket asked for.
    if (m_nOptionRequest == 0 || GetRawLineNumber(pMsg) != m_nOptionRequest)
        return;
    m_nOptionRequest = 0;
    m_bReceivingOptions = TRUE;
    m_nOptionRows = 0;
    ReceiveRecords(TRUE, /*bBusy=*/TRUE);
}

void CPlaceOrderDlg::OnRecord(CServerMessage* pMsg)
{
    if (!m_bReceivingOptions || pMsg == nullptr)
        return;
    const tagOption option = ReadOptionRow(*pMsg);
    // The chain asks for one right, then the other: a reply for the underlying held adds to it.
    m_options.AddReplyRow(option, m_nOptionRows == 0);
    if (m_nOptionRows++ == 0) {
        SendDlgItemMessage(IDC_RIGHT, CB_SETCURSEL,
                           static_cast<WPARAM>(SendDlgItemMessage(IDC_RIGHT, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                                  reinterpret_cast<LPARAM>(static_cast<LPCSTR>(
                                                                      COptionRight::GetText(static_cast<int>(option.right)))))));
        SetText(IDC_UNDERLYING, option.symbol);
    }
}

void CPlaceOrderDlg::OnEnd(CServerMessage*)
{
    if (!m_bReceivingOptions)
        return;
    m_bReceivingOptions = FALSE;
    ReceiveRecords(FALSE, /*bBusy=*/TRUE);
    // The expiry box lists the months of the whole store.
    CStringArray months;
    m_options.GetMonths(months);
    SendDlgItemMessage(IDC_EXPIRY, CB_RESETCONTENT);
    for (int i = 0; i < months.GetSize(); ++i)
        SendDlgItemMessage(IDC_EXPIRY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(months[i])));
    SendDlgItemMessage(IDC_EXPIRY, CB_SETCURSEL, 0);
    FillStrikeList();
}

void CPlaceOrderDlg::FillStrikeList()
{
    CStringArray strikes;
    const CString strUnderlying = GetText(IDC_UNDERLYING);
    m_options.GetStrikes(GetBoxText(IDC_EXPIRY), COptionRight::GetCodeByText(GetBoxText(IDC_RIGHT)), strUnderlying, strikes);
    SendDlgItemMessage(IDC_STRIKE, CB_RESETCONTENT);
    for (int i = 0; i < strikes.GetSize(); ++i)
        SendDlgItemMessage(IDC_STRIKE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strikes[i])));
    SendDlgItemMessage(IDC_STRIKE, CB_SETCURSEL, 0);
}

// The option controls beside the form, and the frame's width with them.
void CPlaceOrderDlg::ShowOptionFields(BOOL bShow)
{
    for (int nId : OPTION_CONTROLS)
        ShowControl(nId, bShow);
    FitFrame(bShow ? WIDTH_WITH_OPTIONS : WIDTH_WITHOUT_OPTIONS, FORM_HEIGHT);
}
