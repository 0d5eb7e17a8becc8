// The KSE regular board's order ticket.
#include "orders/PlaceOrderKSEDlg.h"

#include <cmath>
#include <cstdlib>
#include <iterator>

#include "framework/base/NorvGlobals.h"
#include "framework/window/EnhancedComboBox.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "platform/win/user/DateTimePick.h"

namespace {
const char* const DATE_FORMAT = "dd'/'MM'/'yyyy";

const KSE_CHOICE SIDES[] = {{IDC_KSE_SIDE_BUY, 1}, {IDC_KSE_SIDE_SELL, 2}, {IDC_KSE_SIDE_27, 27}, {IDC_KSE_SIDE_28, 28}};
const KSE_CHOICE TYPES[] = {{IDC_KSE_TYPE_MARKET, 3}, {IDC_KSE_TYPE_LIMIT, 0}, {IDC_KSE_TYPE_STOP, 1},
                            {IDC_KSE_TYPE_STOP_LIMIT, 2}};
const KSE_CHOICE VALIDITIES[] = {{IDC_KSE_VALIDITY_FIRST, 0}, {IDC_KSE_VALIDITY_FIRST + 1, 2},
                                 {IDC_KSE_VALIDITY_FIRST + 2, 3}, {IDC_KSE_VALIDITY_FIRST + 3, 1}};
const int PRICE_IDS[] = {IDC_KSE_LIMIT, IDC_KSE_STOP, IDC_KSE_STOP_2, IDC_KSE_LIMIT_2};

const KSE_TICKET_KIND REGULAR = {IDD_FORM_KSE_TICKET, TYPES, 4, &KSE_TICKET_ROAD, TRUE, TRUE};

// The code of the checked radio of a group; -1 when none is checked.
int CheckedCode(HWND hDlg, const KSE_CHOICE* pChoices, int nChoices)
{
    for (int i = 0; i < nChoices; ++i)
        if (::IsDlgButtonChecked(hDlg, pChoices[i].nControl) == BST_CHECKED)
            return pChoices[i].nCode;
    return -1;
}

void CheckCode(HWND hDlg, const KSE_CHOICE* pChoices, int nChoices, int nCode)
{
    for (int i = 0; i < nChoices; ++i)
        ::CheckDlgButton(hDlg, pChoices[i].nControl, pChoices[i].nCode == nCode ? BST_CHECKED : BST_UNCHECKED);
}

bool IsIn(int nId, const KSE_CHOICE* pChoices, int nChoices)
{
    for (int i = 0; i < nChoices; ++i)
        if (pChoices[i].nControl == nId)
            return true;
    return false;
}

// The price fields an order type takes.
bool TakesPrice(int nType, int nId)
{
    switch (nId) {
    case IDC_KSE_LIMIT: return nType == 0;
    case IDC_KSE_STOP: return nType == 1;
    default: return nType == 2;
    }
}

void SetReadOnly(CEnhancedEdit& edit, BOOL bReadOnly)
{
    if (edit.m_hWnd != nullptr)
        edit.SetReadOnly(bReadOnly);
}
}  // namespace

BEGIN_MESSAGE_MAP(CPlaceOrderKSEDlg, COrderRoadForm)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_KSE_GOOD_TILL, OnGoodTillDateChanged)
END_MESSAGE_MAP()

CPlaceOrderKSEDlg::CPlaceOrderKSEDlg() : CPlaceOrderKSEDlg(REGULAR)
{
}

CPlaceOrderKSEDlg::CPlaceOrderKSEDlg(const KSE_TICKET_KIND& kind)
    : COrderRoadForm(kind.nTemplate, {MSG_KV, MSG_KR}), m_kind(kind)
{
}

CWnd* CPlaceOrderKSEDlg::Make(UINT)
{
    return new CPlaceOrderKSEDlg;
}

BOOL CPlaceOrderKSEDlg::OnInitDialog()
{
    COrderRoadForm::OnInitDialog();
    // The odd-lot board has one price and no validity: the fields it lacks are passed by.
    SetUpEdits({
        {&m_editQuantity, IDC_KSE_QUANTITY, COLTYPE_INT64, 0, 10},
        {&m_editPrices[0], PRICE_IDS[0], COLTYPE_DOUBLE, -1, 256},
        {&m_editPrices[1], PRICE_IDS[1], COLTYPE_DOUBLE, -1, 256},
        {&m_editPrices[2], PRICE_IDS[2], COLTYPE_DOUBLE, -1, 256},
        {&m_editPrices[3], PRICE_IDS[3], COLTYPE_DOUBLE, -1, 256},
        {&m_editDays, IDC_KSE_DAYS, COLTYPE_INT32, 0, 4},
    });
    m_editQuantity.SetNoMinus(TRUE);
    m_editQuantity.SetThousandsGrouping(TRUE);
    // A price typed or given is taken whole, as the acknowledgement then shows it.
    for (int i = 0; i < static_cast<int>(std::size(m_editPrices)); ++i)
        SetPriceField(m_editPrices[i], PRICE_IDS[i], KSE_PRICE_DECIMALS);
    SetReadOnly(m_editDays, TRUE);
    if (HasControl(IDC_KSE_GOOD_TILL)) {
        m_pickGoodTill.SubclassDlgItem(IDC_KSE_GOOD_TILL, this);
        m_pickGoodTill.SetFormat(DATE_FORMAT);
        m_pickGoodTill.EnableWindow(FALSE);
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KSE_FLAG), FALSE);
    CheckCode(m_hWnd, m_kind.pTypes, m_kind.nTypes, m_kind.pTypes[1].nCode);
    CheckCode(m_hWnd, VALIDITIES, 4, 0);
    FillStockList("");
    ResetForm();
    OnOrderTypeChosen();
    return TRUE;
}

BOOL CPlaceOrderKSEDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    const BOOL bLeft = nCode == ECBN_LEFT || nCode == EN_KILLFOCUS;
    if (IsIn(nId, SIDES, 4)) {
        if (nCode == BN_CLICKED)
            OnSideChosen();
        return TRUE;
    }
    if (IsIn(nId, m_kind.pTypes, m_kind.nTypes)) {
        if (nCode == BN_CLICKED)
            OnOrderTypeChosen();
        return TRUE;
    }
    if (IsIn(nId, VALIDITIES, 4)) {
        if (nCode == BN_CLICKED)
            OnValidityChosen();
        return TRUE;
    }
    switch (nId) {
    case IDC_ORDER_FORM_SUBMIT:
        if (nCode == BN_CLICKED)
            Submit();
        return TRUE;
    case IDC_KSE_CLOSE:
        if (nCode == BN_CLICKED)
            CloseForm();
        return TRUE;
    case IDC_KSE_RESET:
        if (nCode == BN_CLICKED)
            ResetForm();
        return TRUE;
    case IDC_KSE_DAYS:
        if (bLeft)
            OnDaysLeft();
        return TRUE;
    case IDC_KSE_QUANTITY:
    case IDC_KSE_LIMIT:
    case IDC_KSE_STOP:
    case IDC_KSE_STOP_2:
    case IDC_KSE_LIMIT_2:
        if (bLeft) {
            TellRefusedKeys(nId, nId == IDC_KSE_QUANTITY ? IDS_TICKET_QUANTITY_REFUSED : IDS_TICKET_PRICE_REFUSED);
            // A negative number is taken as its size.
            const CString strText = GetText(nId);
            if (strText.GetLength() > 1 && strText[0] == '-')
                ::SetDlgItemTextA(m_hWnd, nId, static_cast<LPCSTR>(strText) + 1);
            UpdateSubmitButton();
        }
        return TRUE;
    case IDC_KSE_STOCK:
        if (nCode == CBN_EDITCHANGE && m_kind.bFilterAsTyped) {
            const CString strTyped = GetText(IDC_KSE_STOCK);
            FillStockList(strTyped);
            ::SetDlgItemTextA(m_hWnd, IDC_KSE_STOCK, strTyped);
            SendDlgItemMessage(IDC_KSE_STOCK, CB_SETEDITSEL, 0, MAKELPARAM(strTyped.GetLength(), strTyped.GetLength()));
        } else if ((nCode == CBN_KILLFOCUS || nCode == CBN_SELENDCANCEL) && !m_kind.bFilterAsTyped) {
            OnStockLeft();
        } else if (nCode == CBN_SELCHANGE) {
            UpdateSubmitButton();
        }
        return TRUE;
    }
    return COrderRoadForm::OnCommand(wParam, lParam);
}

// ---- The stock list -----------------------------------------------------------------------

void CPlaceOrderKSEDlg::FillStockList(LPCSTR pszFilter)
{
    const CString strFilter = pszFilter != nullptr ? pszFilter : "";
    SendDlgItemMessage(IDC_KSE_STOCK, CB_RESETCONTENT);
    CDataTable* pTable = FindDataTable(IDS_TABLE_STOCK_LIST_KSE);
    CDataArray* pRows = pTable != nullptr ? pTable->GetRows() : nullptr;
    const int nSymbolColumn = GetNorvGlobals().m_bRightToLeft ? SLC_SYMBOL_AR : SLC_SYMBOL;
    for (int i = 0; pRows != nullptr && i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const CString strSymbol = pRow->GetText(nSymbolColumn);
        const CString strId = pRow->GetText(SLC_ID);
        if (!strFilter.IsEmpty() && strSymbol.Find(strFilter) < 0 && strId.Find(strFilter) < 0)
            continue;
        CString strItem;
        strItem.Format("%s / %ld", static_cast<LPCSTR>(strSymbol), atol(strId));
        const LRESULT nItem = SendDlgItemMessage(IDC_KSE_STOCK, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strItem)));
        SendDlgItemMessage(IDC_KSE_STOCK, CB_SETITEMDATA, static_cast<WPARAM>(nItem), atol(strId));
    }
    if (strFilter.IsEmpty())
        SendDlgItemMessage(IDC_KSE_STOCK, CB_SETCURSEL, 0);
    else
        SendDlgItemMessage(IDC_KSE_STOCK, CB_SHOWDROPDOWN, TRUE);
}

void CPlaceOrderKSEDlg::OnStockLeft()
{
    // A text typed exactly as an item chooses that item; any other text chooses none, so no
    // stock but the one shown can be sent.
    const CString strText = GetText(IDC_KSE_STOCK);
    if (!strText.IsEmpty() && strText != SelectedItemText(IDC_KSE_STOCK)) {
        const LRESULT nItem = SendDlgItemMessage(IDC_KSE_STOCK, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                 reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strText)));
        SendDlgItemMessage(IDC_KSE_STOCK, CB_SETCURSEL, static_cast<WPARAM>(nItem));
        if (nItem == CB_ERR)
            ::SetDlgItemTextA(m_hWnd, IDC_KSE_STOCK, strText);
    }
    UpdateSubmitButton();
}

CString CPlaceOrderKSEDlg::GetStockNumber() const
{
    // The chosen item's stock, and only while the box shows it: a typed text is never sent.
    const LRESULT nItem = ::SendDlgItemMessageA(m_hWnd, IDC_KSE_STOCK, CB_GETCURSEL, 0, 0);
    if (nItem == CB_ERR || GetText(IDC_KSE_STOCK) != SelectedItemText(IDC_KSE_STOCK))
        return CString();
    CString strId;
    strId.Format("%ld", static_cast<long>(::SendDlgItemMessageA(m_hWnd, IDC_KSE_STOCK, CB_GETITEMDATA, static_cast<WPARAM>(nItem), 0)));
    return strId;
}

// ---- Choices ------------------------------------------------------------------------------

int CPlaceOrderKSEDlg::GetOrderType() const
{
    return CheckedCode(m_hWnd, m_kind.pTypes, m_kind.nTypes);
}

int CPlaceOrderKSEDlg::GetValidity() const
{
    return CheckedCode(m_hWnd, VALIDITIES, 4);
}

void CPlaceOrderKSEDlg::OnSideChosen()
{
    const int nSide = CheckedCode(m_hWnd, SIDES, 4);
    // The sides whose check carries the flag (1 and 27) offer the box, as the last Submit kept
    // it; only a plain purchase or sale colours the form.
    const BOOL bFlagged = nSide == 1 || nSide == 27;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KSE_FLAG), bFlagged);
    if (bFlagged)
        CheckDlgButton(IDC_KSE_FLAG, GetKeptTicketFlag() ? BST_CHECKED : BST_UNCHECKED);
    ColourBySide(nSide == 1, nSide == 2);
    UpdateSubmitButton();
}

void CPlaceOrderKSEDlg::OnOrderTypeChosen()
{
    const int nType = GetOrderType();
    // A market order lives for the day.
    if (nType == 3 && GetValidity() == 1) {
        CheckCode(m_hWnd, VALIDITIES, 4, 0);
        OnValidityChosen();
    }
    for (int i = 0; i < 4; ++i) {
        SetReadOnly(m_editPrices[i], !TakesPrice(nType, PRICE_IDS[i]));
        if (m_kind.bClearPricesOnType && m_editPrices[i].m_hWnd != nullptr)
            m_editPrices[i].Clear();
    }
    UpdateSubmitButton();
}

void CPlaceOrderKSEDlg::OnValidityChosen()
{
    const BOOL bDated = GetValidity() == 1;
    SetReadOnly(m_editDays, !bDated);
    if (!bDated && m_editDays.m_hWnd != nullptr)
        m_editDays.Clear();
    if (m_pickGoodTill.m_hWnd != nullptr)
        m_pickGoodTill.EnableWindow(bDated);
    UpdateSubmitButton();
}

// ---- Good till ----------------------------------------------------------------------------

void CPlaceOrderKSEDlg::OnDaysLeft()
{
    long nDays = 0;
    m_goodTill = GoodTillFromTypedDays(GetOrderToday(), m_editDays.GetLong(), TRUE, &nDays);
    CString strDays;
    strDays.Format("%ld", nDays);
    ::SetDlgItemTextA(m_hWnd, IDC_KSE_DAYS, strDays);
    m_pickGoodTill.SetTime(m_goodTill);
    UpdateSubmitButton();
}

void CPlaceOrderKSEDlg::ApplyGoodTillDate()
{
    if (m_pickGoodTill.m_hWnd == nullptr)
        return;
    const COleDateTime today = GetOrderToday();
    m_goodTill = ClampGoodTillDate(today, m_goodTill, TRUE);
    m_pickGoodTill.SetTime(m_goodTill);
    CString strDays;
    strDays.Format("%ld", GoodTillDays(today, m_goodTill));
    ::SetDlgItemTextA(m_hWnd, IDC_KSE_DAYS, strDays);
}

void CPlaceOrderKSEDlg::OnGoodTillDateChanged(NMHDR*, LRESULT* pResult)
{
    m_pickGoodTill.GetTime(m_goodTill);
    ApplyGoodTillDate();
    *pResult = 0;
}

// ---- State --------------------------------------------------------------------------------

void CPlaceOrderKSEDlg::ResetForm()
{
    EmptyIfAsSent(IDC_KSE_STOCK);
    if (StillAsSent(IDC_KSE_QUANTITY))
        m_editQuantity.Clear();
    for (CEnhancedEdit& edit : m_editPrices)
        if (edit.m_hWnd != nullptr && StillAsSent(::GetDlgCtrlID(edit.m_hWnd)))
            edit.Clear();
    if (m_pickGoodTill.m_hWnd != nullptr) {
        m_goodTill = COleDateTime();            // tomorrow, off a weekend
        ApplyGoodTillDate();
        if (GetValidity() != 1)
            m_editDays.Clear();
    }
    CheckDlgButton(IDC_KSE_FLAG, BST_UNCHECKED);
    UpdateSubmitButton();
}

void CPlaceOrderKSEDlg::UpdateSubmitButton()
{
    const int nType = GetOrderType();
    BOOL bOk = !m_editQuantity.IsEmpty() && CheckedCode(m_hWnd, SIDES, 4) != -1 &&
               SendDlgItemMessage(IDC_KSE_STOCK, CB_GETCURSEL) != CB_ERR;
    for (int nId : PRICE_IDS)
        if (TakesPrice(nType, nId) && HasControl(nId))
            bOk &= HoldsValue(nId);
    if (GetValidity() == 1)
        bOk &= m_editDays.GetLong() != 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ORDER_FORM_SUBMIT), bOk);
}

ORDER_TICKET_SNAPSHOT CPlaceOrderKSEDlg::TakeSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot;
    shot.nSide = CheckedCode(m_hWnd, SIDES, 4);
    shot.nOrderType = GetOrderType();
    shot.nValidity = GetValidity();
    shot.strTicker = GetStockNumber();
    shot.strDescription = GetKseStockName(shot.strTicker, /*bFirst=*/TRUE);
    shot.strQuantity = static_cast<LPCSTR>(m_editQuantity.GetPlainText());
    CEnhancedEdit& limit = m_editPrices[shot.nOrderType == 2 ? 3 : 0];
    CEnhancedEdit& stop = m_editPrices[shot.nOrderType == 2 ? 2 : 1];
    shot.strLimitPrice = limit.m_hWnd != nullptr ? static_cast<LPCSTR>(limit.GetText(/*bStrip=*/TRUE)) : "";
    shot.strStopPrice = stop.m_hWnd != nullptr ? static_cast<LPCSTR>(stop.GetText(/*bStrip=*/TRUE)) : "";
    shot.strDays = m_editDays.m_hWnd != nullptr ? static_cast<LPCSTR>(m_editDays.GetPlainText()) : "";
    shot.goodTill = m_goodTill;
    shot.nKseMarketType = 1;
    shot.bTicketFlag = IsDlgButtonChecked(IDC_KSE_FLAG) == BST_CHECKED;
    return shot;
}

void CPlaceOrderKSEDlg::KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL bSent)
{
    if (bSent && (shot.nSide == 1 || shot.nSide == 27))
        SetKeptTicketFlag(shot.bTicketFlag);
}

int CPlaceOrderKSEDlg::ClearAfterAcknowledgement(int)
{
    // The choices stay for the next order.
    EmptyIfAsSent(IDC_KSE_STOCK);
    if (StillAsSent(IDC_KSE_QUANTITY))
        m_editQuantity.Clear();
    for (CEnhancedEdit& edit : m_editPrices)
        if (edit.m_hWnd != nullptr && StillAsSent(::GetDlgCtrlID(edit.m_hWnd)))
            edit.Clear();
    UpdateSubmitButton();
    return IDC_KSE_STOCK;
}

// ---- Drawing and control access -----------------------------------------------------------

HBRUSH CPlaceOrderKSEDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    // The stock box is yellow.
    if (HBRUSH hBrush = YellowBrushFor(pDC, pWnd, {IDC_KSE_STOCK}))
        return hBrush;
    return FormBrushFor(pDC, nCtlColor, FALSE);
}

BOOL CPlaceOrderKSEDlg::HoldsValue(int nId)
{
    for (int i = 0; i < 4; ++i)
        if (PRICE_IDS[i] == nId)
            return !m_editPrices[i].IsEmpty() && m_editPrices[i].GetDouble() != 0.0;
    return FALSE;
}
