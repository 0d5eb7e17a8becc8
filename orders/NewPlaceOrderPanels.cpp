// The order ticket's panels and layout, its dates, its option series and the presets from an
// order.
#include "orders/NewPlaceOrderDlg.h"

#include "app/dialogs/AppHelpers.h"

#include "app/FormMDIWnd.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "platform/win/user/DateTimePick.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
// The form's sizes in dialog units: with and without the account panel, with and without the
// advanced rows.
const char* const ADVANCED_SHOWN = "<< Advance";
const char* const ADVANCED_HIDDEN = "Advance >>";

const int FORWARD_CONTROLS[] = {IDC_TICKET_FILL_RULE, IDC_TICKET_FILL_LABEL, IDC_TICKET_TENOR, IDC_TICKET_TENOR_LABEL,
                                IDC_TICKET_MARKET_MAKER, IDC_TICKET_MAKER_LABEL};
const int CONTRACT_CONTROLS[] = {IDC_TICKET_CONTRACT, IDC_TICKET_CONTRACT_LABEL, IDC_TICKET_CONTRACT_DATE,
                                 IDC_TICKET_DATE_LABEL};
const int OPTION_CONTROLS[] = {IDC_TICKET_STRIKE, IDC_TICKET_RIGHT, IDC_TICKET_EXPIRY, IDC_TICKET_UNDERLYING,
                               IDC_TICKET_OPTION_LABEL_FIRST, IDC_TICKET_OPTION_LABEL_FIRST + 1,
                               IDC_TICKET_OPTION_LABEL_FIRST + 2, IDC_TICKET_OPTION_LABEL_FIRST + 3};
// The columns of an order-status row the ticket is preset from: the US table's (51110) and the
// KSE table's (51128). nMarketType is the US row's session (1 pre-market) and the KSE row's
// market type.
struct ORDER_ROW_COLUMNS
{
    int nMarketType, nMarket, nSide, nSymbol, nQuantity, nType, nLimit, nStop, nValidity, nGoodTill, nCurrency;
};
const ORDER_ROW_COLUMNS US_ORDER_COLUMNS = {16, 21, 2, 3, 4, 5, 6, 7, 8, 9, 22};
const ORDER_ROW_COLUMNS KSE_ORDER_COLUMNS = {3, -1, 4, 5, 9, 10, 11, 12, 13, 14, -1};
const long KSE_MARKET_CODE = 2;
const char* const KSE_CURRENCY = "=KWD";
// A kept date reads yyyymmdd; less this, it is the server's date form (years since 2000).
const double SERVER_DATE_BASE = 20000000.0;
}  // namespace

// ---- Panels ---------------------------------------------------------------------------------

void CNewPlaceOrderDlg::ShowKsePanel(int nKseType)
{
    m_nKseMarketType = nKseType;
    for (int nId : FORWARD_CONTROLS)
        ShowControl(nId, nKseType == KSE_TYPE_FORWARD);
    for (int nId : CONTRACT_CONTROLS)
        ShowControl(nId, nKseType == KSE_TYPE_CONTRACT);
    // A panel starts empty: the last order's market maker or contract is none of this one's (a
    // contract's opener names its maker after choosing the panel).
    SetText(IDC_TICKET_MARKET_MAKER, "");
    SetText(IDC_TICKET_CONTRACT, "");
    if (nKseType == KSE_TYPE_FORWARD) {
        SendDlgItemMessage(IDC_TICKET_TENOR, CB_SETCURSEL, static_cast<WPARAM>(-1));
    } else if (nKseType == KSE_TYPE_CONTRACT) {
        m_pickContract.SetTime(COleDateTime(GetGlobals()->GetNow()));
    } else if (nKseType == KSE_TYPE_NONE) {
        SelectBoxText(IDC_TICKET_SESSION, CKSEMktType::GetText(KSE_TYPE_REGULAR), /*bExact=*/TRUE);
    }
}

void CNewPlaceOrderDlg::ShowOptionPanel(BOOL bShow)
{
    m_bOptionsShown = bShow;
    for (int nId : OPTION_CONTROLS)
        ShowControl(nId, bShow);
}

void CNewPlaceOrderDlg::ShowExtraField(BOOL bShow)
{
    // The label keeps the form's own text, in the interface language: the market's label text
    // comes in the server's one language and only asks for the field.
    m_bExtraShown = bShow;
    ShowControl(IDC_TICKET_EXTRA, bShow);
    ShowControl(IDC_TICKET_EXTRA_LABEL, bShow);
}

// The validity extras the openers ask for: the contract date picker, or the validity list.
void CNewPlaceOrderDlg::HideDurationExtras()
{
    ShowControl(IDC_TICKET_CONTRACT_DATE, FALSE);
    ShowControl(IDC_TICKET_DATE_LABEL, FALSE);
}

void CNewPlaceOrderDlg::ShowDurationList()
{
    HideDurationExtras();
    ShowControl(IDC_TICKET_VALIDITY, TRUE);
}

void CNewPlaceOrderDlg::ShowDurationDate()
{
    ShowControl(IDC_TICKET_CONTRACT_DATE, TRUE);
    ShowControl(IDC_TICKET_DATE_LABEL, TRUE);
    m_pickContract.SetTime(COleDateTime(GetGlobals()->GetNow()));
}

void CNewPlaceOrderDlg::SetContractDate(const COleDateTime& date)
{
    m_pickContract.SetTime(date);
}

// ---- Layout ---------------------------------------------------------------------------------

void CNewPlaceOrderDlg::ShowAdvanced(BOOL bShow)
{
    if ((bShow != FALSE) == (m_bAdvancedShown != FALSE))
        return;
    m_bAdvancedShown = bShow;
    for (int nId = IDC_TICKET_ADVANCED_FIRST; nId <= IDC_TICKET_ADVANCED_LAST; ++nId)
        ShowControl(nId, bShow);
    SetText(IDC_TICKET_ADVANCED, bShow ? ADVANCED_SHOWN : ADVANCED_HIDDEN);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->SetOrderAdvancedShown(bShow);
    FitPanelFrame(m_bSidePanelShown, m_bAdvancedShown);
}

void CNewPlaceOrderDlg::ShowSidePanel(BOOL bShow)
{
    if ((bShow != FALSE) == (m_bSidePanelShown != FALSE))
        return;
    m_bSidePanelShown = bShow;
    for (int nId : {IDC_TICKET_LOGIN, IDC_TICKET_USER_NAME, IDC_TICKET_SIDE_LABEL})
        EnableControl(nId, bShow);
    for (int nId : {IDC_TICKET_SIDE_GROUP, IDC_TICKET_ACCOUNT_INFO, IDC_TICKET_ACCOUNTS, IDC_TICKET_SIDE_NOTE})
        ShowControl(nId, bShow);
    SetReadOnly(IDC_TICKET_LOGIN, TRUE);
    SetReadOnly(IDC_TICKET_USER_NAME, TRUE);
    EnableControl(IDC_TICKET_ACCOUNT, bShow);
    FitPanelFrame(m_bSidePanelShown, m_bAdvancedShown);
}

void CNewPlaceOrderDlg::SetPreMarket(BOOL bPreMarket)
{
    CString strTitle;
    GetSharedGlobals()->LoadString(strTitle, bPreMarket ? IDS_TITLE_PRE_MARKET : IDS_TITLE_ORDER_TICKET);
    if (const HWND hFrame = ::GetParent(m_hWnd))
        ::SetWindowTextA(hFrame, strTitle);
    if ((bPreMarket != FALSE) != (m_bPreMarket != FALSE)) {
        m_bPreMarket = bPreMarket;
        for (int nId : {IDC_TICKET_LIMIT, IDC_TICKET_STOP, IDC_TICKET_QUANTITY, IDC_TICKET_DAYS, IDC_TICKET_CURRENCY,
                        IDC_TICKET_DESCRIPTION})
            SetText(nId, "");
        for (int nId : {IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY}) {
            SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(-1));
            EnableControl(nId, FALSE);
        }
        EnableControl(IDC_TICKET_GOOD_TILL, FALSE);
        m_strMarket.Empty();
        FillMarketBox();
        ColourBySide();         // no side chosen now: no side's colour
    }
    UpdateSubmitButton();
}

// ---- Dates ----------------------------------------------------------------------------------

void CNewPlaceOrderDlg::ApplyGoodTillDate()
{
    const COleDateTime today = GetOrderToday();
    m_goodTill = ClampGoodTillDate(today, m_goodTill);
    m_pickGoodTill.SetTime(m_goodTill);
    CString strDays;
    strDays.Format("%ld", GoodTillDays(today, m_goodTill));
    SetText(IDC_TICKET_DAYS, strDays);
}

void CNewPlaceOrderDlg::OnGoodTillDateChanged(NMHDR*, LRESULT* pResult)
{
    m_pickGoodTill.GetTime(m_goodTill);
    ApplyGoodTillDate();
    *pResult = 0;
}

// ---- Option series --------------------------------------------------------------------------

void CNewPlaceOrderDlg::OnGO(CServerMessage* pMsg)
{
    if (m_nOptionRequest == 0 || GetRawLineNumber(pMsg) != m_nOptionRequest)
        return;
    m_nOptionRequest = 0;
    m_nReceiving = MSG_GO;
    m_nOptionRows = 0;
    ReceiveRecords(TRUE, /*bBusy=*/TRUE);
}

void CNewPlaceOrderDlg::OnRecord(CServerMessage* pMsg)
{
    if (m_nReceiving != MSG_GO || pMsg == nullptr)
        return;
    const tagOption option = ReadOptionRow(*pMsg);
    const BOOL bFirst = m_nOptionRows == 0;
    // The chain asks for one right, then the other: a reply for the underlying held adds to it.
    if (m_options.AddReplyRow(option, bFirst)) {
        SendDlgItemMessage(IDC_TICKET_STRIKE, CB_RESETCONTENT);
        SendDlgItemMessage(IDC_TICKET_EXPIRY, CB_RESETCONTENT);
    }
    ++m_nOptionRows;
    const CString strMonth = option.expiry.Left(7);
    if (SendDlgItemMessage(IDC_TICKET_EXPIRY, CB_FINDSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strMonth))) == CB_ERR)
        SendDlgItemMessage(IDC_TICKET_EXPIRY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strMonth)));
    if (bFirst) {
        SelectBoxText(IDC_TICKET_RIGHT, COptionRight::GetText(static_cast<int>(option.right)), /*bExact=*/TRUE);
        SelectBoxText(IDC_TICKET_EXPIRY, strMonth, /*bExact=*/TRUE);
        SetText(IDC_TICKET_UNDERLYING, option.symbol);
    }
}

void CNewPlaceOrderDlg::OnEnd(CServerMessage*)
{
    if (m_nReceiving != MSG_GO)
        return;
    m_nReceiving = -1;
    ReceiveRecords(FALSE, /*bBusy=*/TRUE);
    SendDlgItemMessage(IDC_TICKET_EXPIRY, CB_SETCURSEL, 0);
    FillStrikeList();
}

void CNewPlaceOrderDlg::FillStrikeList()
{
    const CString strMonth = GetBoxText(IDC_TICKET_EXPIRY);
    if (strMonth.IsEmpty())
        return;
    CStringArray strikes;
    m_options.GetStrikes(strMonth, COptionRight::GetCodeByText(GetBoxText(IDC_TICKET_RIGHT)), nullptr, strikes);
    const HWND hBox = ::GetDlgItem(m_hWnd, IDC_TICKET_STRIKE);
    ::SendMessageA(hBox, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < strikes.GetSize(); ++i)
        ::SendMessageA(hBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strikes[i])));
    ::SendMessageA(hBox, CB_SETCURSEL, 0, 0);
}

// ---- Presets from an order ------------------------------------------------------------------

void CNewPlaceOrderDlg::LoadUSOrder(long nOrder)
{
    LoadOrderRow(nOrder, /*bKse=*/FALSE);
}

void CNewPlaceOrderDlg::LoadKSEOrder(long nOrder)
{
    LoadOrderRow(nOrder, /*bKse=*/TRUE);
}

void CNewPlaceOrderDlg::LoadOrderRow(long nOrder, BOOL bKse)
{
    CDataTable* pTable = FindDataTable(bKse ? IDS_TABLE_KSE_ORDER_STATUS : IDS_TABLE_US_ORDER_STATUS);
    if (nOrder == 0 || pTable == nullptr || pTable->GetRows() == nullptr)
        return;
    CString strKey;
    strKey.Format("%ld", nOrder);
    const CDataBuffer* pRow = pTable->GetRows()->FindRow({static_cast<LPCSTR>(strKey)});
    if (pRow == nullptr)
        return;
    const ORDER_ROW_COLUMNS& cols = bKse ? KSE_ORDER_COLUMNS : US_ORDER_COLUMNS;
    // The row's order, whole: one begun here is replaced, and told.
    ReplaceBegunOrder(nullptr, nullptr);
    ResetForm();
    MarketDetail market;
    if (bKse) {
        SetPreMarket(FALSE);
        SelectMarket(GetGlobals()->GetMarketName(KSE_MARKET_CODE));
        // The row names the forward market by its type; any other code is a regular order.
        if (!SelectKseMarketType(pRow->GetLong(cols.nMarketType)))
            SelectKseMarketType(KSE_TYPE_REGULAR);
        if (GetGlobals()->LookupMarket(KSE_MARKET_CODE, market))
            UpdateMarketChoices(market);
        SetText(IDC_TICKET_CURRENCY, KSE_CURRENCY);
    } else {
        // The order's session: pre-market lists only the markets that trade before the bell.
        const long nSession = pRow->GetLong(cols.nMarketType);
        if (nSession == 0 || nSession == 1)
            SetPreMarket(nSession == 1);
        SelectMarket(pRow->GetText(cols.nMarket));
    }
    // The code columns show their code table's text, which the boxes list.
    SelectBoxText(IDC_TICKET_SIDE, pRow->GetText(cols.nSide, TRUE), /*bExact=*/FALSE);
    OnSideChanged();
    SelectBoxText(IDC_TICKET_TYPE, pRow->GetText(cols.nType, TRUE), /*bExact=*/FALSE);
    m_strType = GetBoxText(IDC_TICKET_TYPE);
    const CString strValidity = pRow->GetText(cols.nValidity, TRUE);
    if (SelectBoxText(IDC_TICKET_VALIDITY, strValidity, /*bExact=*/FALSE) < 0) {
        SendDlgItemMessage(IDC_TICKET_VALIDITY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strValidity)));
        SelectBoxText(IDC_TICKET_VALIDITY, strValidity, /*bExact=*/FALSE);
    }
    m_strValidity = GetBoxText(IDC_TICKET_VALIDITY);
    const int nType = COrderType::GetCodeByText(m_strType);
    const bool bLimit = nType == 0 || nType == 2 || nType == 5, bStop = nType == 1 || nType == 2;
    if (bLimit)
        SetText(IDC_TICKET_LIMIT, PriceText(pRow->GetDouble(cols.nLimit)));
    else
        SetText(IDC_TICKET_LIMIT, "");
    if (bStop)
        SetText(IDC_TICKET_STOP, PriceText(pRow->GetDouble(cols.nStop)));
    else
        SetText(IDC_TICKET_STOP, "");
    SetReadOnly(IDC_TICKET_LIMIT, !bLimit);
    SetReadOnly(IDC_TICKET_STOP, !bStop);
    SetText(IDC_TICKET_TICKER, pRow->GetText(cols.nSymbol));
    m_strTickerLooked = GetText(IDC_TICKET_TICKER);
    ShowAdvanced(FALSE);
    if (!bKse)
        SetText(IDC_TICKET_CURRENCY, pRow->GetText(cols.nCurrency));
    m_editQuantity.SetDouble(pRow->GetDouble(cols.nQuantity));
    SetReadOnly(IDC_TICKET_QUANTITY, FALSE);

    // The good-till date kept with the order; an undated order is good till tomorrow.
    const BOOL bDated = COrderDur::GetCodeByText(m_strValidity) == 1;
    const double dDate = pRow->GetDouble(cols.nGoodTill);
    CString strDate = "0";
    if (dDate > SERVER_DATE_BASE)
        strDate.Format("%ld", static_cast<long>(dDate - SERVER_DATE_BASE));
    const COleDateTime date = ParseServerDateField(strDate, COLTYPE_DATE_TEXT);
    const COleDateTime tomorrow = GoodTillFromDays(GetOrderToday(), 1);
    m_goodTill = bDated && date.GetStatus() == COleDateTime::valid ? date : tomorrow;
    SetReadOnly(IDC_TICKET_DAYS, !bDated);
    EnableControl(IDC_TICKET_GOOD_TILL, bDated);
    ApplyGoodTillDate();
    ColourBySide();
    UpdateSubmitButton();
    EnableControl(IDC_TICKET_ACCOUNT_INFO, FALSE);
    EnableControl(IDC_TICKET_ACCOUNTS, FALSE);
}
