// The order ticket: life, commands and the market's choices.
#include "orders/NewPlaceOrderDlg.h"

#include <cstdlib>

#include "app/FormMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/window/EnhancedComboBox.h"
#include "link/MessageSource.h"
#include "link/MessageTypes.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
const char* const DATE_FORMAT = "dd'/'MM'/'yyyy";
// The one trading session of a market without KSE market types.
const UINT IDS_REGULAR_SESSION = 57031;
const char* const PRE_MARKET_SESSION = "Pre-Market";
const char* const TENORS[] = {"1", "3", "6", "9", "12"};
const UINT FILL_RULES[] = {57554, 57555};   // CFillRest codes 3 and 2

// The ticket's limit prices: the limit types and type 5.
bool TakesLimitPrice(int nType)
{
    return IsLimitType(nType) || nType == 5;
}
}  // namespace

BEGIN_MESSAGE_MAP(CNewPlaceOrderDlg, COrderRoadForm)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_TICKET_GOOD_TILL, OnGoodTillDateChanged)
END_MESSAGE_MAP()

CNewPlaceOrderDlg::CNewPlaceOrderDlg()
    : COrderRoadForm(IDD_FORM_ORDER_TICKET, {MSG_GO, MSG_OV, MSG_OR, MSG_KV, MSG_KR, MSG_KU, MSG_KA, MSG_KJ, MSG_KQ, MSG_RN})
{
    m_goodTill = COleDateTime(GetGlobals()->GetNow());
}

CWnd* CNewPlaceOrderDlg::Make(UINT)
{
    return new CNewPlaceOrderDlg;
}

BOOL CNewPlaceOrderDlg::OnInitDialog()
{
    CFormDialog::OnInitDialog();
    SetUpEdits({
        {&m_editQuantity, IDC_TICKET_QUANTITY, COLTYPE_INT64, 0, 10},
        {&m_editLimit, IDC_TICKET_LIMIT, COLTYPE_DOUBLE, -4, 256},
        {&m_editStop, IDC_TICKET_STOP, COLTYPE_DOUBLE, -4, 256},
        {&m_editDays, IDC_TICKET_DAYS, COLTYPE_INT32, 0, 4},
        {&m_editContract, IDC_TICKET_CONTRACT, COLTYPE_INT32, 0, 6},
        {&m_editCurrency, IDC_TICKET_CURRENCY, COLTYPE_STRING, 0, 12},
        {&m_editDescription, IDC_TICKET_DESCRIPTION, COLTYPE_STRING, 0, 256},
        {&m_editMarketMaker, IDC_TICKET_MARKET_MAKER, COLTYPE_STRING, 0, 6},
        {&m_editUnderlying, IDC_TICKET_UNDERLYING, COLTYPE_STRING, 0, 6},
        {&m_editExtra, IDC_TICKET_EXTRA, COLTYPE_STRING, 0, 6},
        {&m_editLogin, IDC_TICKET_LOGIN, COLTYPE_STRING, 0, 12},
        {&m_editUserName, IDC_TICKET_USER_NAME, COLTYPE_STRING, 0, 60},
    });
    m_editQuantity.SetNoMinus(TRUE);
    // Quantities and prices read with their thousands grouped; a contract number is a name.
    for (CEnhancedEdit* pEdit : {&m_editQuantity, &m_editLimit, &m_editStop})
        pEdit->SetThousandsGrouping(TRUE);
    m_editContract.SetThousandsGrouping(FALSE);
    SetPriceField(m_editLimit, IDC_TICKET_LIMIT, US_PRICE_DECIMALS);
    SetPriceField(m_editStop, IDC_TICKET_STOP, US_PRICE_DECIMALS);
    m_pickGoodTill.SubclassDlgItem(IDC_TICKET_GOOD_TILL, this);
    m_pickContract.SubclassDlgItem(IDC_TICKET_CONTRACT_DATE, this);
    m_pickGoodTill.SetFormat(DATE_FORMAT);
    m_pickContract.SetFormat(DATE_FORMAT);

    // The account panel: the user's login text, name and account.
    const CUser user = CZORVAT32App::Get() != nullptr ? CZORVAT32App::Get()->GetUser() : CUser();
    SetText(IDC_TICKET_LOGIN, user.GetUserText());
    SetText(IDC_TICKET_USER_NAME, user.GetName());
    SendDlgItemMessage(IDC_TICKET_ACCOUNT, CB_RESETCONTENT);
    if (!user.GetAccountText().IsEmpty()) {
        SendDlgItemMessage(IDC_TICKET_ACCOUNT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(user.GetAccountText())));
        SendDlgItemMessage(IDC_TICKET_ACCOUNT, CB_SETCURSEL, 0);
    }
    for (int nRight = 0; nRight <= 2; ++nRight) {
        const CString strRight = COptionRight::GetText(nRight);
        SendDlgItemMessage(IDC_TICKET_RIGHT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strRight)));
    }
    for (const char* pszTenor : TENORS)
        SendDlgItemMessage(IDC_TICKET_TENOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszTenor));
    for (UINT nId : FILL_RULES) {
        const CString strRule = LoadMarketText(nId);
        SendDlgItemMessage(IDC_TICKET_FILL_RULE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strRule)));
    }
    LoadRecentTickers();
    ResetForm();
    FillMarketBox();
    ShowOptionPanel(FALSE);
    ShowExtraField(FALSE);
    ShowKsePanel(KSE_TYPE_NONE);
    ShowControl(IDC_TICKET_ADVANCED, FALSE);
    ShowSidePanel(FALSE);
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    ShowAdvanced(pApp != nullptr && pApp->IsOrderAdvancedShown());
    return TRUE;
}

BOOL CNewPlaceOrderDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    const BOOL bLeft = nCode == ECBN_LEFT;      // an input field or box lost the focus
    switch (nId) {
    case IDC_TICKET_SUBMIT:
        if (nCode == BN_CLICKED)
            Submit();
        return TRUE;
    case IDC_TICKET_CLOSE:
        if (nCode == BN_CLICKED) {
            SaveRecentTickers();
            CloseForm();
        }
        return TRUE;
    case IDC_TICKET_RESET:
        if (nCode == BN_CLICKED)
            ResetForm();
        return TRUE;
    case IDC_TICKET_ADVANCED:
        if (nCode == BN_CLICKED)
            ShowAdvanced(!m_bAdvancedShown);
        return TRUE;
    case IDC_TICKET_DAYS:
        if (bLeft || nCode == EN_KILLFOCUS)
            OnDaysLeft();
        return TRUE;
    case IDC_TICKET_QUANTITY:
    case IDC_TICKET_STOP:
    case IDC_TICKET_LIMIT:
    case IDC_TICKET_CONTRACT:
        if (bLeft || nCode == EN_KILLFOCUS)
            OnNumberLeft(nId);
        return TRUE;
    case IDC_TICKET_TICKER:
        if (nCode == CBN_EDITCHANGE) {
            FilterTickers(GetText(IDC_TICKET_TICKER));
        } else if (nCode == CBN_SELCHANGE || nCode == CBN_SELENDOK || nCode == CBN_KILLFOCUS) {
            // A choice from the list sets the ticker it names, also the item chosen before, which
            // the list tells only as the choice's end.
            if (nCode != CBN_KILLFOCUS) {
                // The edit part follows the list only after this notification: take the item.
                const int nItem = static_cast<int>(SendDlgItemMessage(IDC_TICKET_TICKER, CB_GETCURSEL));
                if (nItem >= 0)
                    SetText(IDC_TICKET_TICKER, GetBoxText(IDC_TICKET_TICKER));
            }
            // Looked up once per text: leaving the box again asks nothing and keeps the prices.
            if (GetText(IDC_TICKET_TICKER) != m_strTickerLooked)
                OnTickerChanged();
            if (!GetText(IDC_TICKET_TICKER).IsEmpty())
                UpdateSubmitButton();
        }
        return TRUE;
    case IDC_TICKET_MARKET:
        if (nCode == CBN_SELCHANGE || nCode == CBN_KILLFOCUS)
            OnMarketChanged();
        return TRUE;
    case IDC_TICKET_SIDE:
        if (nCode == CBN_SELCHANGE && GetBoxText(IDC_TICKET_SIDE) != m_strSide) {
            OnSideChanged();
            UpdateSubmitButton();
            ColourBySide();
        }
        return TRUE;
    case IDC_TICKET_TYPE:
        if (nCode == CBN_SELCHANGE && GetBoxText(IDC_TICKET_TYPE) != m_strType) {
            OnOrderTypeChanged();
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_TICKET_VALIDITY:
        if (nCode == CBN_SELCHANGE && GetBoxText(IDC_TICKET_VALIDITY) != m_strValidity) {
            OnValidityChanged();
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_TICKET_SESSION:
        if (nCode == CBN_SELCHANGE && GetBoxText(IDC_TICKET_SESSION) != m_strKseType)
            OnKseMarketTypeChanged();
        return TRUE;
    case IDC_TICKET_MARKET_MAKER:
        if (bLeft || nCode == EN_KILLFOCUS) {
            if (!GetText(IDC_TICKET_MARKET_MAKER).IsEmpty())
                UpdateReferencePrice();
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_TICKET_FILL_RULE:
    case IDC_TICKET_TENOR:
        if (nCode == CBN_SELCHANGE) {
            UpdateReferencePrice();
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_TICKET_UNDERLYING:
        if (bLeft || nCode == EN_KILLFOCUS)
            if (const long nNumber = AskOptionSeries(IDC_TICKET_UNDERLYING, &m_strOptionsAsked))
                m_nOptionRequest = nNumber;
        return TRUE;
    case IDC_TICKET_RIGHT:
    case IDC_TICKET_EXPIRY:
        if ((nCode == CBN_SELCHANGE || nCode == CBN_KILLFOCUS || nCode == CBN_SELENDOK) && m_nReceiving != MSG_GO)
            FillStrikeList();
        return TRUE;
    }
    return CFormDialog::OnCommand(wParam, lParam);
}

HBRUSH CNewPlaceOrderDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (HBRUSH hBrush =
            YellowBrushFor(pDC, pWnd, {IDC_TICKET_TICKER, IDC_TICKET_MARKET, IDC_TICKET_EXPIRY, IDC_TICKET_STRIKE}))
        return hBrush;
    return FormBrushFor(pDC, nCtlColor, FALSE);
}

// ---- The market and its choices ----------------------------------------------------------

void CNewPlaceOrderDlg::FillMarketBox()
{
    SendDlgItemMessage(IDC_TICKET_MARKET, CB_RESETCONTENT);
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i) {
        MarketDetail market;
        if (!GetGlobals()->LookupMarket(codes[i], market))
            continue;
        const MARKET_CHOICES choices = ReadMarketChoices(market);
        if (choices.nSides == 0)
            continue;
        if (m_bPreMarket && (codes[i] == 2 || !choices.bPreMarket))
            continue;
        const CString strName = GetGlobals()->GetMarketName(codes[i]);
        if (SendDlgItemMessage(IDC_TICKET_MARKET, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strName))) == CB_ERR)
            SendDlgItemMessage(IDC_TICKET_MARKET, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strName)));
    }
}

void CNewPlaceOrderDlg::OnMarketChanged()
{
    const CString strName = GetBoxText(IDC_TICKET_MARKET);
    if (strName == m_strMarket)
        return;
    // The order sent last is no order of the market chosen now: what still shows it goes.
    DropFieldsAsSent(TRUE);
    if (strName.IsEmpty()) {
        ForgetPrices();
        m_strMarket.Empty();
        UpdateMarketChoices(MarketDetail());
        return;
    }
    // The side the trader chose stays where the market takes it; else he hears it went.
    const CString strSide = GetBoxText(IDC_TICKET_SIDE);
    SelectMarket(strName);
    if (!strSide.IsEmpty() && GetBoxText(IDC_TICKET_SIDE) != strSide) {
        if (SelectBoxText(IDC_TICKET_SIDE, strSide, /*bExact=*/TRUE) < 0) {
            CString strText;
            strText.FormatMessage(IDS_TICKET_SIDE_NOT_TAKEN, static_cast<LPCSTR>(strSide), static_cast<LPCSTR>(strName),
                                  static_cast<LPCSTR>(GetBoxText(IDC_TICKET_SIDE)));
            ShowMarketInfo(strText, 0, 2);
        }
        OnSideChanged();
        ColourBySide();
    }
    UpdateSubmitButton();
}

void CNewPlaceOrderDlg::LeaveKseMarket(BOOL bForSymbol)
{
    MarketDetail market;
    if (!GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market) ||
        ReadMarketChoices(market).nFamily != MARKET_FAMILY_KSE)
        return;
    // A command names no order of its own: a KSE order begun comes forward as it stands, the
    // trader's keys kept.
    for (int nId : {IDC_TICKET_TICKER, IDC_TICKET_QUANTITY, IDC_TICKET_LIMIT, IDC_TICKET_STOP})
        if (!GetText(nId).IsEmpty() && !bForSymbol)
            return;
    ResetForm();
    UpdateMarketChoices(MarketDetail());
    FillSymbolMap(0);
    ColourBySide();             // no side chosen: no side's colour
}

void CNewPlaceOrderDlg::SelectMarket(LPCSTR pszMarketName)
{
    const CString strName = pszMarketName != nullptr ? pszMarketName : "";
    // The last order's series and extra text are no part of an order on the market chosen now.
    ForgetOptionSeries();
    SelectBoxText(IDC_TICKET_MARKET, strName, /*bExact=*/TRUE);
    m_strMarket = strName;
    const long nCode = GetGlobals()->GetMarketCode(strName);
    MarketDetail market;
    const BOOL bFound = GetGlobals()->LookupMarket(nCode, market);
    if (bFound && !GetText(IDC_TICKET_TICKER).IsEmpty() && GetText(IDC_TICKET_DESCRIPTION).IsEmpty())
        RequestTickerInfo(GetSymbolText(), nCode);
    SendDlgItemMessage(IDC_TICKET_SESSION, CB_RESETCONTENT);
    if (bFound && ReadMarketChoices(market).nFamily == MARKET_FAMILY_KSE) {
        for (int nType : {KSE_TYPE_REGULAR, KSE_TYPE_FORWARD, KSE_TYPE_CONTRACT}) {
            const CString strType = CKSEMktType::GetText(nType);
            SendDlgItemMessage(IDC_TICKET_SESSION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strType)));
        }
        // The KSE chosen is its regular board, ready to fill: a market type box with no choice
        // would leave every field grey (an opener chooses its own type after this).
        SelectBoxText(IDC_TICKET_SESSION, CKSEMktType::GetText(KSE_TYPE_REGULAR), /*bExact=*/TRUE);
        EnableControl(IDC_TICKET_SESSION, TRUE);
        CheckDlgButton(IDC_TICKET_ACCOUNTS, BST_UNCHECKED);
        EnableControl(IDC_TICKET_ACCOUNTS, FALSE);
    } else {
        const CString strRegular = LoadMarketText(IDS_REGULAR_SESSION);
        SendDlgItemMessage(IDC_TICKET_SESSION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strRegular)));
        SendDlgItemMessage(IDC_TICKET_SESSION, CB_SETCURSEL, 0);
        EnableControl(IDC_TICKET_ACCOUNTS, TRUE);
    }
    m_strKseType = GetBoxText(IDC_TICKET_SESSION);
    ForgetPrices();
    // Prices in the market's own decimals: a KSE price has one, as its board quotes it.
    const int nPriceDecimals =
        bFound && ReadMarketChoices(market).nFamily == MARKET_FAMILY_KSE ? KSE_PRICE_DECIMALS : US_PRICE_DECIMALS;
    SetPriceField(m_editLimit, IDC_TICKET_LIMIT, nPriceDecimals);
    SetPriceField(m_editStop, IDC_TICKET_STOP, nPriceDecimals);
    UpdateMarketChoices(bFound ? market : MarketDetail());
    // The ticker starts afresh with the market's symbols; one typed before the market was chosen
    // stays when the market lists it.
    const CString strTyped = GetText(IDC_TICKET_TICKER);
    SendDlgItemMessage(IDC_TICKET_TICKER, CB_RESETCONTENT);
    SetText(IDC_TICKET_TICKER, "");
    m_strTickerLooked.Empty();
    SetText(IDC_TICKET_CURRENCY, "");
    SetText(IDC_TICKET_DESCRIPTION, "");
    FillSymbolMap(bFound ? nCode : 0);
    if (strTyped.IsEmpty())
        return;
    SetText(IDC_TICKET_TICKER, strTyped);
    if (ListsSymbol(GetSymbolText()))
        OnTickerChanged();
    else
        SetText(IDC_TICKET_TICKER, "");
}

void CNewPlaceOrderDlg::ForgetPrices()
{
    // The old market's prices, given or typed, are no prices here: fils are no dollars, and a
    // forward price is no board's.
    for (int nId : {IDC_TICKET_LIMIT, IDC_TICKET_STOP})
        SetText(nId, "");
    m_strLimitApplied.Empty();
    m_strStopApplied.Empty();
    m_strReferencePrice.Empty();
}

void CNewPlaceOrderDlg::UpdateMarketChoices(const MarketDetail& market)
{
    m_choices = ReadMarketChoices(market);
    BOOL bEnabled = m_choices.nFamily != MARKET_FAMILY_NONE;
    int nKseType = KSE_TYPE_NONE;
    if (m_choices.nFamily == MARKET_FAMILY_KSE) {
        nKseType = CKSEMktType::GetCodeByText(GetBoxText(IDC_TICKET_SESSION));
        if (nKseType != KSE_TYPE_REGULAR && nKseType != KSE_TYPE_FORWARD && nKseType != KSE_TYPE_CONTRACT) {
            nKseType = KSE_TYPE_NONE;
            bEnabled = FALSE;
        }
        EnableControl(IDC_TICKET_SESSION, TRUE);
    }
    ApplyChoices(ApplyKseMarketType(m_choices, nKseType), bEnabled);
    if (m_choices.nFamily == MARKET_FAMILY_KSE) {
        ShowKsePanel(nKseType);
    } else {
        ShowKsePanel(KSE_TYPE_NONE);
        if (m_bPreMarket) {
            SendDlgItemMessage(IDC_TICKET_SESSION, CB_RESETCONTENT);
            SendDlgItemMessage(IDC_TICKET_SESSION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PRE_MARKET_SESSION));
            SendDlgItemMessage(IDC_TICKET_SESSION, CB_SETCURSEL, 0);
        } else {
            SelectBoxText(IDC_TICKET_SESSION, CKSEMktType::GetText(KSE_TYPE_REGULAR), /*bExact=*/TRUE);
        }
    }
    // The side the market starts with; the contract panel starts on the sell side.
    const int nSideItems = static_cast<int>(SendDlgItemMessage(IDC_TICKET_SIDE, CB_GETCOUNT));
    if (m_nKseMarketType == KSE_TYPE_CONTRACT) {
        // A contract is sold: the form shows the sale's colour and flag state as a chosen sale does.
        SelectBoxText(IDC_TICKET_SIDE, LoadMarketText(55046), /*bExact=*/TRUE);
        OnSideChanged();
        ColourBySide();
    } else if (nSideItems > 0 && (m_choices.nDefaultSide == 1 || m_choices.nDefaultSide == 2)) {
        const int nBit = m_choices.nDefaultSide;
        if ((ApplyKseMarketType(m_choices, nKseType).nSides & nBit) != 0 && SelectBoxText(IDC_TICKET_SIDE, LoadMarketText(nBit == 1 ? 55045 : 55046), TRUE) >= 0) {
            OnSideChanged();
            UpdateSubmitButton();
            ColourBySide();
        }
    }
    OnValidityChanged();
    OnOrderTypeChanged();
    ShowOptionPanel(m_choices.bOptions);
    ShowExtraField(!m_choices.strExtraLabel.IsEmpty());
}

void CNewPlaceOrderDlg::FillBox(int nId, const std::vector<CHOICE_ITEM>& items)
{
    SendDlgItemMessage(nId, CB_RESETCONTENT);
    for (const CHOICE_ITEM& item : items) {
        const CString strText = LoadMarketText(item.nStringId);
        SendDlgItemMessage(nId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strText)));
    }
}

void CNewPlaceOrderDlg::ApplyChoices(const MARKET_CHOICES& choices, BOOL bEnabled)
{
    const bool bPre = m_bPreMarket != FALSE;
    FillBox(IDC_TICKET_SIDE, bEnabled ? GetSideItems(choices.nSides) : std::vector<CHOICE_ITEM>());
    FillBox(IDC_TICKET_TYPE, bEnabled ? GetOrderTypeItems(choices.nOrderTypes, bPre) : std::vector<CHOICE_ITEM>());
    FillBox(IDC_TICKET_VALIDITY, bEnabled ? GetValidityItems(choices.nValidities, bPre) : std::vector<CHOICE_ITEM>());
    for (int nId : {IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY, IDC_TICKET_GOOD_TILL})
        EnableControl(nId, bEnabled);
    for (int nId : {IDC_TICKET_QUANTITY, IDC_TICKET_LIMIT, IDC_TICKET_STOP, IDC_TICKET_DAYS}) {
        if (!bEnabled)
            SetText(nId, "");
        SetReadOnly(nId, !bEnabled);
    }
    // The first item the market offers is the one a ticket starts with.
    SendDlgItemMessage(IDC_TICKET_TYPE, CB_SETCURSEL, 0);
    SendDlgItemMessage(IDC_TICKET_VALIDITY, CB_SETCURSEL, 0);
    m_strSide = GetBoxText(IDC_TICKET_SIDE);
    m_strType = GetBoxText(IDC_TICKET_TYPE);
    m_strValidity = GetBoxText(IDC_TICKET_VALIDITY);
}

BOOL CNewPlaceOrderDlg::SelectKseMarketType(int nType)
{
    const BOOL bFound = SelectBoxText(IDC_TICKET_SESSION, CKSEMktType::GetText(nType), /*bExact=*/TRUE) >= 0;
    m_strKseType = GetBoxText(IDC_TICKET_SESSION);
    return bFound;
}

void CNewPlaceOrderDlg::OnKseMarketTypeChanged()
{
    DropFieldsAsSent(TRUE);
    m_strKseType = GetBoxText(IDC_TICKET_SESSION);
    MarketDetail market;
    if (GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market))
        UpdateMarketChoices(market);
    UpdateReferencePrice();
}

// ---- Side, order type, validity -----------------------------------------------------------

void CNewPlaceOrderDlg::OnSideChanged()
{
    m_strSide = GetBoxText(IDC_TICKET_SIDE);
    // The forward market's price depends on the side.
    if (m_nKseMarketType == KSE_TYPE_FORWARD)
        UpdateReferencePrice();
}

void CNewPlaceOrderDlg::SelectTransactionType(int nSide)
{
    const CString strText = m_nKseMarketType == KSE_TYPE_CONTRACT ? LoadMarketText(55046)
                                                                   : CTransactionType::GetText(nSide);
    if (nSide < 0 && m_nKseMarketType != KSE_TYPE_CONTRACT)
        SendDlgItemMessage(IDC_TICKET_SIDE, CB_SETCURSEL, static_cast<WPARAM>(-1));
    else
        SelectBoxText(IDC_TICKET_SIDE, strText, /*bExact=*/FALSE);
    m_strSide = GetBoxText(IDC_TICKET_SIDE);
    ColourBySide();
}

void CNewPlaceOrderDlg::OnOrderTypeChanged()
{
    m_strType = GetBoxText(IDC_TICKET_TYPE);
    const int nType = COrderType::GetCodeByText(m_strType);
    const int nValidity = COrderDur::GetCodeByText(GetBoxText(IDC_TICKET_VALIDITY));
    SetReadOnly(IDC_TICKET_LIMIT, !TakesLimitPrice(nType));
    SetReadOnly(IDC_TICKET_STOP, !IsStopType(nType));
    if ((nType == 3 && (nValidity == 1 || nValidity == 2)) || m_bPreMarket) {
        SelectBoxText(IDC_TICKET_VALIDITY, COrderDur::GetText(0), /*bExact=*/TRUE);
        m_strValidity = GetBoxText(IDC_TICKET_VALIDITY);
        SetText(IDC_TICKET_DAYS, "");
        SetReadOnly(IDC_TICKET_DAYS, TRUE);
    }
    ApplyReferencePrice();
}

void CNewPlaceOrderDlg::ApplyReferencePrice()
{
    const int nType = COrderType::GetCodeByText(GetBoxText(IDC_TICKET_TYPE));
    ApplyPrice(IDC_TICKET_LIMIT, TakesLimitPrice(nType), &m_strLimitApplied);
    ApplyPrice(IDC_TICKET_STOP, IsStopType(nType), &m_strStopApplied);
}

void CNewPlaceOrderDlg::ApplyPrice(int nId, BOOL bTakes, CString* pApplied)
{
    const CString strShown = GetText(nId);
    if (bTakes && !strShown.IsEmpty() && strShown != *pApplied)
        return;                 // typed by the user: his
    SetText(nId, bTakes ? static_cast<LPCSTR>(m_strReferencePrice) : "");
    *pApplied = GetText(nId);
}

void CNewPlaceOrderDlg::OnValidityChanged()
{
    m_strValidity = GetBoxText(IDC_TICKET_VALIDITY);
    const BOOL bDated = COrderDur::GetCodeByText(m_strValidity) == 1;
    if (!bDated)
        SetText(IDC_TICKET_DAYS, "");
    SetReadOnly(IDC_TICKET_DAYS, !bDated);
    EnableControl(IDC_TICKET_GOOD_TILL, bDated);
}

void CNewPlaceOrderDlg::OnDaysLeft()
{
    long nDays = 0;
    m_goodTill = GoodTillFromTypedDays(GetOrderToday(), m_editDays.GetLong(), FALSE, &nDays);
    m_pickGoodTill.SetTime(m_goodTill);
    CString strDays;
    strDays.Format("%ld", nDays);
    SetText(IDC_TICKET_DAYS, strDays);
    UpdateSubmitButton();
}

void CNewPlaceOrderDlg::OnNumberLeft(int nId)
{
    if (nId == IDC_TICKET_QUANTITY || nId == IDC_TICKET_LIMIT || nId == IDC_TICKET_STOP)
        TellRefusedKeys(nId, nId == IDC_TICKET_QUANTITY ? IDS_TICKET_QUANTITY_REFUSED : IDS_TICKET_PRICE_REFUSED);
    const CString strText = GetText(nId);
    if (strText.GetLength() > 1 && strText[0] == '-')
        SetText(nId, static_cast<LPCSTR>(strText) + 1);
    UpdateSubmitButton();
}

void CNewPlaceOrderDlg::ColourBySide()
{
    const int nSide = CTransactionType::GetCodeByText(GetBoxText(IDC_TICKET_SIDE));
    const BOOL bBuy = nSide == 1 || nSide == 27;
    const BOOL bSell = nSide == 2 || nSide == 28;
    EnableControl(IDC_TICKET_FLAG, bBuy);
    COrderRoadForm::ColourBySide(bBuy, bSell);
}

void CNewPlaceOrderDlg::SetBackgroundColor(COLORREF crBack)
{
    SetFormColour(crBack);
}
