// The international cash conversion: the pair and amount quoted by "RC", made with its execute
// flag, each side in its currency's decimals.
#include "account/InternationalConversionForm.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "account/AccountForms.h"
#include "account/ExactDecimal.h"
#include "framework/table/TableColumn.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/InternationalExchangeRatesTable.h"
#include "market/TableLinks.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

namespace {
const COLORREF YELLOW = RGB(255, 255, 0);
// The balance labels' leading words, each followed by the currency's code.
const UINT IDS_AVAILABLE_BALANCE = 56712;
const UINT IDS_NEW_BALANCE = 56713;
// The line that tells a conversion made: the amount and currency given, then those received.
const UINT IDS_CONVERSION_MADE = 56711;

// The fields with the side whose decimals they show (0: the rate's own), and the "RC" field
// that fills each (-1: worked here).
const struct { ACCOUNT_FIELD field; int nSide; int nReplyField; } FIELD_ROWS[CInternationalConversionForm::FIELDS] = {
    {{IDC_INTL_BALANCE_FROM, COLTYPE_DOUBLE, -2, 16}, 1, 13}, {{IDC_INTL_BALANCE_TO, COLTYPE_DOUBLE, -2, 16}, 2, 14},
    {{IDC_INTL_RATE_1, COLTYPE_DOUBLE, -7, 17}, 0, 11},       {{IDC_INTL_RATE_2, COLTYPE_DOUBLE, -7, 17}, 0, 12},
    {{IDC_INTL_AMOUNT, COLTYPE_DOUBLE, -2, 16}, 1, 4},        {{IDC_INTL_RESULT, COLTYPE_DOUBLE, -2, 16}, 2, 10},
    {{IDC_INTL_NEW_FROM, COLTYPE_DOUBLE, -2, 16}, 1, -1},     {{IDC_INTL_NEW_TO, COLTYPE_DOUBLE, -2, 16}, 2, -1},
};

CString TrimCode(LPCSTR pszCode)
{
    CString strCode = pszCode;
    strCode.TrimLeft('=');
    return strCode;
}

// The box's entry of the code, which the reference data may write with a leading "=".
int FindCode(const CComboBox& box, LPCSTR pszCode)
{
    const CString strWanted = TrimCode(pszCode);
    for (int i = 0; i < box.GetCount(); ++i) {
        CString strText;
        box.GetLBText(i, strText);
        if (TrimCode(strText) == strWanted)
            return i;
    }
    return -1;
}

CExactDecimal ValueOf(CEnhancedEdit& edit)
{
    CExactDecimal value;
    return CExactDecimal::Parse(edit.GetText(TRUE), &value) ? value : CExactDecimal();
}

// An amount as the balances show it: its currency's places, grouped in thousands.
CString Grouped(const CExactDecimal& value, int nDecimals)
{
    const std::string strPlain = value.Format(nDecimals);
    const size_t nDigits = strPlain.find_first_of("0123456789");
    const size_t nEnd = std::min(strPlain.find('.'), strPlain.size());
    std::string strText = strPlain.substr(0, nEnd);
    for (size_t nAt = nEnd; nAt > nDigits + 3; nAt -= 3)
        strText.insert(nAt - 3, ",");
    return CString((strText + strPlain.substr(nEnd)).c_str());
}

CString Label(UINT nTextId, LPCSTR pszCode)
{
    CString strText;
    strText.LoadString(nTextId);
    return strText + TrimCode(pszCode);
}
}  // namespace

BEGIN_MESSAGE_MAP(CInternationalConversionForm, CAccountForm)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CInternationalConversionForm::CInternationalConversionForm() : CAccountForm(IDD_FORM_INTL_CONVERSION, {MSG_RC})
{
    m_hbrYellow = ::CreateSolidBrush(YELLOW);
}

CInternationalConversionForm::~CInternationalConversionForm()
{
    ::DeleteObject(m_hbrYellow);
}

CWnd* CInternationalConversionForm::Make(UINT)
{
    return new CInternationalConversionForm;
}

CEnhancedEdit& CInternationalConversionForm::Field(int nControl)
{
    for (int i = 0; i < FIELDS; ++i)
        if (FIELD_ROWS[i].field.nControl == nControl)
            return m_fields[i];
    return m_fields[0];
}

BOOL CInternationalConversionForm::OnInitDialog()
{
    CAccountForm::OnInitDialog();
    for (int i = 0; i < FIELDS; ++i)
        SetUpFields(&FIELD_ROWS[i].field, &m_fields[i], 1);
    OpenField(Field(IDC_INTL_AMOUNT));
    m_boxFrom.SubclassDlgItem(IDC_INTL_FROM, this);
    m_boxTo.SubclassDlgItem(IDC_INTL_TO, this);
    CStringArray codes;
    GetGlobals()->GetCurrencyCodes(codes);
    for (int i = 0; i < codes.GetSize(); ++i) {
        m_boxFrom.AddString(codes[i]);
        m_boxTo.AddString(codes[i]);
    }
    SetCurrencies("", "");
    return FocusFirstInput();
}

HBRUSH CInternationalConversionForm::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT)
{
    const HWND hWnd = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    const HWND hParent = hWnd != nullptr ? ::GetParent(hWnd) : nullptr;
    // The currency boxes are yellow; their edit parts ask with their own ids.
    const int nId = hParent != nullptr && hParent != m_hWnd ? ::GetDlgCtrlID(hParent) : hWnd != nullptr ? ::GetDlgCtrlID(hWnd) : 0;
    if (nId == IDC_INTL_FROM || nId == IDC_INTL_TO) {
        ::SetBkColor(pDC->m_hDC, YELLOW);
        return m_hbrYellow;
    }
    return nullptr;
}

BOOL CInternationalConversionForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if ((nId == IDC_INTL_FROM || nId == IDC_INTL_TO) && (nCode == CBN_SELCHANGE || nCode == EN_KILLFOCUS)) {
        Update(FALSE, FALSE);
        return TRUE;
    }
    if (nId == IDC_INTL_AMOUNT && (nCode == EN_KILLFOCUS || nCode == EN_CHANGE)) {
        CAccountForm::OnCommand(wParam, lParam);
        if (nCode == EN_KILLFOCUS)
            Update(FALSE, TRUE);
        else
            OnAmountChanged();
        return TRUE;
    }
    if (nCode == BN_CLICKED) {
        switch (nId) {
        case IDC_INTL_CONVERT: Update(TRUE, FALSE); return TRUE;
        case IDC_INTL_RESET: Reset(); return TRUE;
        case IDC_INTL_CLOSE: CloseForm(); return TRUE;
        default: break;
        }
    }
    return CAccountForm::OnCommand(wParam, lParam);
}

BOOL CInternationalConversionForm::SelectCurrencyPair(LPCSTR pszFrom, LPCSTR pszTo)
{
    if (pszFrom == nullptr || pszTo == nullptr || *pszFrom == '\0' || *pszTo == '\0')
        return FALSE;
    // Only a pair the exchange rates list: the boxes take that row's two codes.
    const CDataTable* pRates = FindDataTable(IDS_TABLE_EXCHANGE_RATES);
    const CDataBuffer* pRate = pRates != nullptr ? pRates->GetRows()->FindRow({pszFrom, pszTo}) : nullptr;
    if (pRate == nullptr)
        return FALSE;
    const int nFrom = FindCode(m_boxFrom, pRate->GetText(0, TRUE));
    const int nTo = FindCode(m_boxTo, pRate->GetText(1, TRUE));
    if (nFrom < 0 || nTo < 0)
        return FALSE;
    m_boxFrom.SetCurSel(nFrom);
    m_boxTo.SetCurSel(nTo);
    Update(FALSE, FALSE);
    GetDlgItem(IDC_INTL_AMOUNT)->SetFocus();
    return TRUE;
}

void CInternationalConversionForm::Update(BOOL bExecute, BOOL bAmountLeft)
{
    const CString strOldAmount = m_strAmount, strOldFrom = m_strFrom, strOldTo = m_strTo;
    m_strAmount = GetText(IDC_INTL_AMOUNT);
    CString strText;
    if (m_boxFrom.GetCurSel() >= 0) {
        m_boxFrom.GetLBText(m_boxFrom.GetCurSel(), strText);
        m_strFrom = strText;
    }
    if (m_boxTo.GetCurSel() >= 0) {
        m_boxTo.GetLBText(m_boxTo.GetCurSel(), strText);
        m_strTo = strText;
    }
    CExactDecimal oldAmount, amount;
    CExactDecimal::Parse(strOldAmount, &oldAmount);
    CExactDecimal::Parse(m_strAmount, &amount);
    if ((amount - oldAmount).IsZero())
        bAmountLeft = FALSE;
    if (!(m_strAmount != strOldAmount && bAmountLeft))
        SetCurrencies(m_strTo, m_strFrom);
    if (m_strFrom.IsEmpty() || m_strTo.IsEmpty())
        return;
    if (m_strTo == strOldTo && m_strFrom == strOldFrom && !bAmountLeft && !bExecute)
        return;
    // With nothing to convert there is nothing to quote: the server would refuse the pair itself.
    if (!amount.IsPositive()) {
        if (bExecute)
            ShowMarketInfo(nullptr, IDS_ACCOUNT_NO_AMOUNT, 2);
        return;
    }
    CString strBody;
    // The codes as the reference data keeps them, with their "=".
    strBody.Format("||%s|%s|%s|%s|%f|%d", static_cast<LPCSTR>(UserAndAccount()), amount.Format(-m_nFromDecimals).c_str(),
                   static_cast<LPCSTR>(m_strFrom), static_cast<LPCSTR>(m_strTo), m_dQuote, bExecute ? 1 : 0);
    SendPending(MSG_RC, strBody);
}

void CInternationalConversionForm::SetCurrencies(LPCSTR pszTo, LPCSTR pszFrom)
{
    CurrencyDetail currency;
    if (*pszTo != '\0' && GetGlobals()->LookupCurrency(pszTo, currency))
        m_nToDecimals = -currency.m_nValue2;
    if (*pszFrom != '\0' && GetGlobals()->LookupCurrency(pszFrom, currency))
        m_nFromDecimals = -currency.m_nValue2;
    // Balances run to millions: grouped, as the account tables show money; the amount is typed.
    for (int i = 0; i < FIELDS; ++i)
        if (FIELD_ROWS[i].nSide != 0) {
            m_fields[i].SetDataType(COLTYPE_DOUBLE, FIELD_ROWS[i].nSide == 1 ? m_nFromDecimals : m_nToDecimals);
            m_fields[i].SetThousandsGrouping(FIELD_ROWS[i].field.nControl != IDC_INTL_AMOUNT);
        }
    SetText(IDC_INTL_LABEL_FROM, Label(IDS_AVAILABLE_BALANCE, pszFrom));
    SetText(IDC_INTL_LABEL_NEW_FROM, Label(IDS_NEW_BALANCE, pszFrom));
    SetText(IDC_INTL_LABEL_TO, Label(IDS_AVAILABLE_BALANCE, pszTo));
    SetText(IDC_INTL_LABEL_NEW_TO, Label(IDS_NEW_BALANCE, pszTo));
}

void CInternationalConversionForm::ShowNewBalances()
{
    // Each new balance in its own currency's decimals, worked exactly.
    const CExactDecimal amount = ValueOf(Field(IDC_INTL_AMOUNT));
    const CExactDecimal result = ValueOf(Field(IDC_INTL_RESULT));
    Field(IDC_INTL_NEW_FROM).SetText((ValueOf(Field(IDC_INTL_BALANCE_FROM)) - amount).Format(-m_nFromDecimals).c_str());
    Field(IDC_INTL_NEW_TO).SetText((ValueOf(Field(IDC_INTL_BALANCE_TO)) + result).Format(-m_nToDecimals).c_str());
}

void CInternationalConversionForm::OnAmountChanged()
{
    ShowNewBalances();
}

void CInternationalConversionForm::OnRC(CServerMessage* pMsg)
{
    if (pMsg == nullptr || pMsg->GetType() != MSG_RC || !TakeReply(pMsg))
        return;
    if (IsRefused(pMsg, 0))
        return;
    // A figure the reply leaves empty (the second rate, at times) shows empty, not as a zero.
    for (int i = 0; i < FIELDS; ++i) {
        const int nField = FIELD_ROWS[i].nReplyField;
        if (nField >= 0 && *pMsg->GetFieldText(nField) == '\0')
            m_fields[i].Clear();
        else if (nField >= 0)
            m_fields[i].SetText(pMsg->GetFieldText(nField));
    }
    // A reply without the inverse rate: the trader reads it from the rate it gives.
    const CExactDecimal rate = ValueOf(Field(IDC_INTL_RATE_1));
    if (Field(IDC_INTL_RATE_2).IsEmpty() && rate.IsPositive()) {
        CExactDecimal one;
        CExactDecimal::Parse("1", &one);
        Field(IDC_INTL_RATE_2).SetText(one.DivideDown(rate, 9).Format(7).c_str());
    }
    m_strAmount = GetText(IDC_INTL_AMOUNT);
    m_dQuote = atof(pMsg->GetFieldText(7));
    for (auto [pBox, nField] : {std::pair{&m_boxFrom, 5}, std::pair{&m_boxTo, 6}}) {
        const int nIndex = FindCode(*pBox, pMsg->GetFieldText(nField));
        if (nIndex >= 0)
            pBox->SetCurSel(nIndex);
        else
            pBox->SetWindowText(pMsg->GetFieldText(nField));
    }
    ShowNewBalances();
    if (atol(pMsg->GetFieldText(8)) != 1)
        return;
    // Made: the trader is told what left and what came in, as the fields show them, before the
    // form clears for the next.
    CString strLine;
    strLine.FormatMessage(IDS_CONVERSION_MADE, static_cast<LPCSTR>(Grouped(ValueOf(Field(IDC_INTL_AMOUNT)), -m_nFromDecimals)),
                          static_cast<LPCSTR>(TrimCode(pMsg->GetFieldText(5))),
                          static_cast<LPCSTR>(Grouped(ValueOf(Field(IDC_INTL_RESULT)), -m_nToDecimals)),
                          static_cast<LPCSTR>(TrimCode(pMsg->GetFieldText(6))));
    ShowMarketInfo(strLine, 0, 1);
    Reset();
}

void CInternationalConversionForm::Reset()
{
    for (CEnhancedEdit& field : m_fields)
        field.Clear();
    m_boxFrom.SetCurSel(-1);
    m_boxTo.SetCurSel(-1);
    m_strAmount.Empty();
    m_strFrom.Empty();
    m_strTo.Empty();
    SetCurrencies("", "");
}
