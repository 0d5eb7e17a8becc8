// The KSE forward order ticket: the tickers of the KSE stock list, the market makers of the
// forward quotation table, and Submit through the order road.
#include "orders/PlaceOrderForwardDlg.h"

#include <algorithm>
#include <vector>

#include "app/DataTable.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedComboBox.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/QuotationFwdKSETable.h"
#include "market/TableLinks.h"

namespace {
enum
{
    IDC_BUY = 5720, IDC_SELL = 5721, IDC_TICKER = 5722, IDC_QUANTITY = 5723, IDC_SUBMIT = 5737, IDC_CLOSE = 5738,
    IDC_RESET = 5742, IDC_MAKERS = 5794, IDC_TENOR_FIRST = 5795, IDC_TENOR_LAST = 5799, IDC_PRICE = 5800,
    IDC_ALL_OR_NONE = 5801, IDC_PARTIAL = 5802, IDC_FLAG = 6872,
};
const int SIDE_CODES[] = {1, 2, 27, 28};
const char* const TENORS[] = {"1", "3", "6", "9", "12"};
// The forward quotes: 1 stock, 2 quote side, 3 market maker, 5 the quantity limit; each tenor's
// price and quantity columns.
const int FQ_STOCK = 1, FQ_SIDE = 2, FQ_MAKER = 3, FQ_LIMIT = 5;
const int TENOR_PRICE_FIRST = 8, TENOR_QUANTITY_FIRST = 10, TENOR_STRIDE = 5;
const UINT KSE_STOCK_LIST = 56376;
const int KSE_CODE_COLUMN = 0, KSE_NAME_COLUMN = 3, KSE_NAME_AR_COLUMN = 4;

struct MARKET_MAKER
{
    double dPrice;
    long nMaker;
    CString strText;
};

CDataArray* RowsOf(UINT nTableId)
{
    CDataTable* pTable = FindDataTable(nTableId);
    return pTable != nullptr ? pTable->GetRows() : nullptr;
}
}  // namespace

BEGIN_MESSAGE_MAP(CPlaceOrderForwardDlg, COrderRoadForm)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPlaceOrderForwardDlg::CPlaceOrderForwardDlg()
    : COrderRoadForm(IDD_FORM_FORWARD_ORDER, {MSG_KU, MSG_KA, MSG_FQ}, /*bAddSinkNow=*/FALSE)
{
}

CWnd* CPlaceOrderForwardDlg::Make(UINT)
{
    return new CPlaceOrderForwardDlg;
}

BOOL CPlaceOrderForwardDlg::OnInitDialog()
{
    COrderRoadForm::OnInitDialog();
    m_editQuantity.SubclassDlgItem(IDC_QUANTITY, m_hWnd);
    m_editQuantity.SetDataType(COLTYPE_INT64, 0);
    m_editQuantity.SetLengthLimits(10, 0);
    m_editQuantity.SetNoMinus(TRUE);
    m_editPrice.SubclassDlgItem(IDC_PRICE, m_hWnd);
    // The makers quote three decimals: a maker's price, given or typed, is taken whole.
    SetPriceField(m_editPrice, IDC_PRICE, KSE_PRICE_DECIMALS);
    const BOOL bOpen = FindDataTable(IDS_TABLE_QUOTATIONS_FWD_KSE) != nullptr;
    if (!bOpen) {
        if (IDataTable* pTable = MakeTable(IDS_TABLE_QUOTATIONS_FWD_KSE, 0, IDS_TITLE_QUOTATIONS_FWD_KSE))
            if (CTableMDIWnd* pMain = pTable->GetMainWindow())
                pMain->LoadSettings();
    }
    // Registered after the table: "EN" reaches the sinks in registration order, so the table
    // has taken the quotes when this form's end handler reads them.
    AddSink();
    if (bOpen) {
        InitForm();
    } else {
        m_bAwaitingQuotes = TRUE;
        EnableWindow(FALSE);
        AskQuotes();
        if (m_nQuotesRequest == 0)
            ShowRefusal(IDS_ORDER_NOT_CONNECTED);      // asked again once the link is back
    }
    return TRUE;
}

void CPlaceOrderForwardDlg::AskQuotes()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    m_nQuotesRequest = pApp != nullptr && pApp->IsConnected() ? pApp->SendRequest(MSG_FQ, "") : 0;
}

void CPlaceOrderForwardDlg::OnTick()
{
    if (m_bAwaitingQuotes && m_nQuotesRequest == 0)
        AskQuotes();
}

void CPlaceOrderForwardDlg::OnFQ(CServerMessage* pMsg)
{
    if (m_nQuotesRequest == 0 || GetRawLineNumber(pMsg) != m_nQuotesRequest)
        return;
    m_bReceivingQuotes = TRUE;
    ReceiveRecords(TRUE, /*bBusy=*/FALSE);
}

void CPlaceOrderForwardDlg::OnEnd(CServerMessage*)
{
    // Only the end of this form's own quotations: another reply's end changes nothing here.
    if (!m_bReceivingQuotes)
        return;
    m_bReceivingQuotes = FALSE;
    m_bAwaitingQuotes = FALSE;
    m_nQuotesRequest = 0;
    ReceiveRecords(FALSE, /*bBusy=*/FALSE);
    EnableWindow(TRUE);
    InitForm();
}

void CPlaceOrderForwardDlg::InitForm()
{
    ++m_nInits;
    m_editQuantity.SetThousandsGrouping(TRUE);
    m_editPrice.SetThousandsGrouping(TRUE);
    FillTickers();
    ResetForm();
    CheckRadioButton(IDC_ALL_OR_NONE, IDC_PARTIAL, IDC_PARTIAL);
    CheckRadioButton(IDC_TENOR_FIRST, IDC_TENOR_LAST, IDC_TENOR_FIRST);
    UpdateSubmitButton();
    FillMarketMakers();
}

void CPlaceOrderForwardDlg::ResetForm()
{
    SetText(IDC_QUANTITY, "");
    SetText(IDC_PRICE, "");
    CheckDlgButton(IDC_FLAG, BST_UNCHECKED);
    UpdateSubmitButton();
}

BOOL CPlaceOrderForwardDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    switch (nId) {
    case IDC_SUBMIT:
        if (nCode == BN_CLICKED)
            Submit();
        return TRUE;
    case IDC_CLOSE:
        if (nCode == BN_CLICKED)
            CloseForm();
        return TRUE;
    case IDC_RESET:
        if (nCode == BN_CLICKED)
            ResetForm();
        return TRUE;
    case IDC_TICKER:
        if (nCode == CBN_SELCHANGE) {
            OnTickerChosen();
        } else if (nCode == CBN_KILLFOCUS || nCode == CBN_SELENDCANCEL || nCode == ECBN_LEFT) {
            char szText[256] = "";
            ::GetDlgItemTextA(m_hWnd, IDC_TICKER, szText, sizeof szText);
            const LRESULT nItem = szText[0] == '\0' || m_strTyped == szText ? CB_ERR
                : SendDlgItemMessage(IDC_TICKER, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(szText));
            if (nItem != CB_ERR) {
                m_strTyped = szText;
                SendDlgItemMessage(IDC_TICKER, CB_SETCURSEL, static_cast<WPARAM>(nItem));
                OnTickerChosen();       // a typed ticker is a chosen one
            } else if (szText[0] != '\0' && SelectedItemText(IDC_TICKER) != szText) {
                // A text that names no stock chooses none: no order for a stock not shown.
                SendDlgItemMessage(IDC_TICKER, CB_SETCURSEL, static_cast<WPARAM>(-1));
                ::SetDlgItemTextA(m_hWnd, IDC_TICKER, szText);
                SendDlgItemMessage(IDC_MAKERS, CB_RESETCONTENT);
                OnMarketMakerChanged();
            }
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_QUANTITY:
    case IDC_PRICE:
        if (nCode == EN_KILLFOCUS || nCode == ECBN_LEFT) {
            char szText[64] = "";
            ::GetDlgItemTextA(m_hWnd, nId, szText, sizeof szText);
            if (szText[0] == '-' && szText[1] != '\0')
                SetText(nId, szText + 1);
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_BUY:
    case IDC_SELL:
        if (nCode == BN_CLICKED)
            OnSideClicked();
        return TRUE;
    case IDC_MAKERS:
        if (nCode == CBN_SELCHANGE)
            OnMarketMakerChanged();
        return TRUE;
    }
    if (nId >= IDC_TENOR_FIRST && nId <= IDC_TENOR_LAST && nCode == BN_CLICKED) {
        FillMarketMakers();
        UpdateSubmitButton();
        return TRUE;
    }
    return COrderRoadForm::OnCommand(wParam, lParam);
}

void CPlaceOrderForwardDlg::OnTickerChosen()
{
    CString strCode;
    strCode.Format("%ld", GetChosenCode());
    m_strDescription = GetKseStockName(strCode);
    FillMarketMakers();
    UpdateSubmitButton();
}

void CPlaceOrderForwardDlg::OnSideClicked()
{
    // The flag belongs to a purchase; it starts as the last Submit kept it.
    const BOOL bFirst = GetSideIndex() == 0;
    GetDlgItem(IDC_FLAG)->EnableWindow(bFirst);
    if (bFirst)
        CheckDlgButton(IDC_FLAG, GetKeptTicketFlag() ? BST_CHECKED : BST_UNCHECKED);
    ColourBySide(bFirst, GetSideIndex() == 1);
    FillMarketMakers();
    UpdateSubmitButton();
}

HBRUSH CPlaceOrderForwardDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (HBRUSH hBrush = YellowBrushFor(pDC, pWnd, {IDC_TICKER}))
        return hBrush;
    return FormBrushFor(pDC, nCtlColor, /*bButtons=*/TRUE);
}

// ---- Tickers and market makers ----------------------------------------------------------------

void CPlaceOrderForwardDlg::FillTickers()
{
    SendDlgItemMessage(IDC_TICKER, CB_RESETCONTENT);
    CDataArray* pRows = RowsOf(KSE_STOCK_LIST);
    const int nNameColumn = GetNorvGlobals().m_nLanguage == 1 ? KSE_NAME_AR_COLUMN : KSE_NAME_COLUMN;
    for (int i = 0; pRows != nullptr && i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const long nCode = pRow->GetLong(KSE_CODE_COLUMN);
        CString strItem;
        strItem.Format("%s / %ld", static_cast<LPCSTR>(pRow->GetText(nNameColumn)), nCode);
        const LRESULT nItem = SendDlgItemMessage(IDC_TICKER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strItem)));
        SendDlgItemMessage(IDC_TICKER, CB_SETITEMDATA, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nCode));
    }
    SendDlgItemMessage(IDC_TICKER, CB_SETCURSEL, 0);
    OnTickerChosen();
}

long CPlaceOrderForwardDlg::GetChosenCode() const
{
    const LRESULT nItem = ::SendDlgItemMessageA(m_hWnd, IDC_TICKER, CB_GETCURSEL, 0, 0);
    return nItem == CB_ERR ? -1 : static_cast<long>(::SendDlgItemMessageA(m_hWnd, IDC_TICKER, CB_GETITEMDATA, static_cast<WPARAM>(nItem), 0));
}

// A buyer takes the sellers' quotes (side 2), a seller the buyers' (side 1).
long CPlaceOrderForwardDlg::GetQuoteSide() const
{
    return GetSideIndex() == 0 ? 2 : 1;
}

void CPlaceOrderForwardDlg::FillMarketMakers()
{
    const long nCode = GetChosenCode();
    if (nCode < 0)
        return;
    const long nQuoteSide = GetQuoteSide();
    const int nTenor = GetTenorIndex();
    SendDlgItemMessage(IDC_MAKERS, CB_RESETCONTENT);
    SendDlgItemMessage(IDC_MAKERS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    SendDlgItemMessage(IDC_MAKERS, CB_SETITEMDATA, 0, static_cast<LPARAM>(-1));
    std::vector<MARKET_MAKER> makers;
    CDataArray* pRows = RowsOf(IDS_TABLE_QUOTATIONS_FWD_KSE);
    for (int i = 0; pRows != nullptr && nTenor >= 0 && i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const int nPrice = TENOR_PRICE_FIRST + TENOR_STRIDE * nTenor, nQuantity = TENOR_QUANTITY_FIRST + TENOR_STRIDE * nTenor;
        if (pRow->GetLong(FQ_SIDE) != nQuoteSide || pRow->GetLong(FQ_STOCK) != nCode || pRow->GetDouble(nPrice) <= 0 ||
            pRow->GetDouble(nQuantity) <= 0)
            continue;
        MARKET_MAKER maker{pRow->GetDouble(nPrice), pRow->GetLong(FQ_MAKER), ""};
        maker.strText.Format("%ld / %s / %s", maker.nMaker, static_cast<LPCSTR>(pRow->GetText(nPrice, TRUE)),
                             static_cast<LPCSTR>(pRow->GetText(nQuantity, TRUE)));
        makers.push_back(maker);
    }
    // The best price first; equal prices keep the table's order.
    std::stable_sort(makers.begin(), makers.end(), [nQuoteSide](const MARKET_MAKER& a, const MARKET_MAKER& b) {
        return nQuoteSide == 2 ? a.dPrice < b.dPrice : a.dPrice > b.dPrice;
    });
    for (const MARKET_MAKER& maker : makers) {
        const LRESULT nItem = SendDlgItemMessage(IDC_MAKERS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(maker.strText)));
        SendDlgItemMessage(IDC_MAKERS, CB_SETITEMDATA, static_cast<WPARAM>(nItem), static_cast<LPARAM>(maker.nMaker));
    }
    SendDlgItemMessage(IDC_MAKERS, CB_SETCURSEL, 0);
    OnMarketMakerChanged();
}

void CPlaceOrderForwardDlg::OnMarketMakerChanged()
{
    const LRESULT nItem = SendDlgItemMessage(IDC_MAKERS, CB_GETCURSEL);
    const long nCode = GetChosenCode();
    if (nCode < 0 || nItem == CB_ERR) {
        SetText(IDC_QUANTITY, "");
        SetText(IDC_PRICE, "");
        return;
    }
    const long nMaker = static_cast<long>(SendDlgItemMessage(IDC_MAKERS, CB_GETITEMDATA, static_cast<WPARAM>(nItem)));
    CDataArray* pRows = RowsOf(IDS_TABLE_QUOTATIONS_FWD_KSE);
    const int nTenor = GetTenorIndex();
    if (nMaker < 0 || pRows == nullptr || nTenor < 0)
        return;
    if (const CDataBuffer* pRow = pRows->FindRowByIds({static_cast<LONG>(nCode), static_cast<LONG>(GetQuoteSide()), static_cast<LONG>(nMaker)})) {
        // Never more than the quote's limit.
        const double dQuantity = std::min(pRow->GetDouble(TENOR_QUANTITY_FIRST + TENOR_STRIDE * nTenor), pRow->GetDouble(FQ_LIMIT));
        CString strText;
        strText.Format("%.0f", dQuantity);
        SetText(IDC_QUANTITY, strText);
        // The maker's price as quoted, every decimal of it: a rounded one may cross his quote.
        strText.Format("%.6f", pRow->GetDouble(TENOR_PRICE_FIRST + TENOR_STRIDE * nTenor));
        strText.TrimRight('0');
        if (strText.Right(1) == ".")
            strText += "0";
        SetText(IDC_PRICE, strText);
    }
    UpdateSubmitButton();
}

// ---- State ------------------------------------------------------------------------------------

int CPlaceOrderForwardDlg::GetSideIndex() const
{
    return IsDlgButtonChecked(IDC_BUY) == BST_CHECKED ? 0 : IsDlgButtonChecked(IDC_SELL) == BST_CHECKED ? 1 : -1;
}

int CPlaceOrderForwardDlg::GetTenorIndex() const
{
    for (int nId = IDC_TENOR_FIRST; nId <= IDC_TENOR_LAST; ++nId)
        if (IsDlgButtonChecked(nId) == BST_CHECKED)
            return nId - IDC_TENOR_FIRST;
    return -1;
}

void CPlaceOrderForwardDlg::UpdateSubmitButton()
{
    GetDlgItem(IDC_SUBMIT)->EnableWindow(!m_editQuantity.IsEmpty() && !m_editPrice.IsEmpty() && GetChosenCode() >= 0 &&
                                         GetSideIndex() >= 0);
}

ORDER_TICKET_SNAPSHOT CPlaceOrderForwardDlg::TakeSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot;
    const int nSide = GetSideIndex();
    shot.nSide = nSide >= 0 ? SIDE_CODES[nSide] : -1;
    const long nCode = GetChosenCode();
    if (nCode >= 0 && GetText(IDC_TICKER) == SelectedItemText(IDC_TICKER))
        shot.strTicker.Format("%ld", nCode);
    shot.strDescription = m_strDescription;
    shot.strQuantity = static_cast<LPCSTR>(m_editQuantity.GetPlainText());
    shot.strLimitPrice = static_cast<LPCSTR>(m_editPrice.GetText(/*bStrip=*/TRUE));
    const LRESULT nItem = SendDlgItemMessage(IDC_MAKERS, CB_GETCURSEL);
    const long nMaker = nItem == CB_ERR ? -1 : static_cast<long>(SendDlgItemMessage(IDC_MAKERS, CB_GETITEMDATA, static_cast<WPARAM>(nItem)));
    if (nMaker >= 0)
        shot.strMarketMaker.Format("%ld", nMaker);
    shot.nFillRule = IsDlgButtonChecked(IDC_ALL_OR_NONE) == BST_CHECKED ? 3 : 2;
    const int nTenor = GetTenorIndex();
    shot.strTenor = nTenor >= 0 ? TENORS[nTenor] : "";
    shot.bTicketFlag = IsDlgButtonChecked(IDC_FLAG) == BST_CHECKED;
    shot.nKseMarketType = 3;
    return shot;
}

// ---- Order road -------------------------------------------------------------------------------

int CPlaceOrderForwardDlg::ClearAfterAcknowledgement(int)
{
    if (StillAsSent(IDC_TICKER))
        SendDlgItemMessage(IDC_TICKER, CB_SETCURSEL, static_cast<WPARAM>(-1));
    EmptyIfAsSent(IDC_QUANTITY);
    EmptyIfAsSent(IDC_PRICE);
    UpdateSubmitButton();
    return IDC_TICKER;
}

