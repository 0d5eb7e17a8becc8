// The local cash conversion: balances and rates from "CC", the result worked exactly, "PB".
#include "account/CurrencyConversionForm.h"

#include "account/AccountForms.h"
#include "account/ExactDecimal.h"
#include "framework/table/TableColumn.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"

namespace {
const ACCOUNT_FIELD FIELD_ROWS[CCurrencyConversionForm::FIELDS] = {
    {IDC_CONV_BALANCE_2, COLTYPE_DOUBLE, -2, 16}, {IDC_CONV_BALANCE_3, COLTYPE_DOUBLE, -3, 16},
    {IDC_CONV_RATE_TO_3, COLTYPE_DOUBLE, -7, 17}, {IDC_CONV_RATE_TO_2, COLTYPE_DOUBLE, -7, 17},
    {IDC_CONV_AMOUNT, COLTYPE_DOUBLE, -3, 16},    {IDC_CONV_RESULT, COLTYPE_DOUBLE, -3, 16},
    {IDC_CONV_NEW_2, COLTYPE_DOUBLE, -2, 16},     {IDC_CONV_NEW_3, COLTYPE_DOUBLE, -3, 16},
};
// "CC": the fields that fill the balances and rates, in the order of FIELD_ROWS.
const int CC_FIELDS[] = {4, 5, 6, 7};

// A field's value, 0 when it holds none.
CExactDecimal ValueOf(CEnhancedEdit& edit)
{
    CExactDecimal value;
    return CExactDecimal::Parse(edit.GetText(TRUE), &value) ? value : CExactDecimal();
}
}  // namespace

CCurrencyConversionForm::CCurrencyConversionForm() : CAccountForm(IDD_FORM_CURRENCY_CONVERSION, {MSG_CC, MSG_PB})
{
}

CWnd* CCurrencyConversionForm::Make(UINT)
{
    return new CCurrencyConversionForm;
}

CEnhancedEdit& CCurrencyConversionForm::Field(int nControl)
{
    for (int i = 0; i < FIELDS; ++i)
        if (FIELD_ROWS[i].nControl == nControl)
            return m_fields[i];
    return m_fields[0];
}

BOOL CCurrencyConversionForm::OnInitDialog()
{
    CAccountForm::OnInitDialog();
    SetUpFields(FIELD_ROWS, m_fields, FIELDS);
    OpenField(Field(IDC_CONV_AMOUNT));
    CheckRadioButton(IDC_CONV_TO_2, IDC_CONV_TO_3, IDC_CONV_TO_2);
    SendPending(MSG_CC, "||" + UserAndAccount());
    return FocusFirstInput();
}

BOOL CCurrencyConversionForm::IsToThreeDecimals() const
{
    return IsDlgButtonChecked(IDC_CONV_TO_3) == BST_CHECKED;
}

BOOL CCurrencyConversionForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (nId == IDC_CONV_AMOUNT && nCode == EN_CHANGE) {
        CAccountForm::OnCommand(wParam, lParam);
        Recompute();
        return TRUE;
    }
    if (nCode == BN_CLICKED) {
        switch (nId) {
        case IDC_CONV_TO_2:
        case IDC_CONV_TO_3:
            CheckRadioButton(IDC_CONV_TO_2, IDC_CONV_TO_3, nId);
            Recompute();
            return TRUE;
        case IDC_CONV_SEND: SendConversion(); return TRUE;
        case IDC_CONV_CLEAR: Clear(); return TRUE;
        case IDC_CONV_CLOSE: CloseForm(); return TRUE;
        default: break;
        }
    }
    return CAccountForm::OnCommand(wParam, lParam);
}

void CCurrencyConversionForm::Recompute()
{
    const CExactDecimal amount = ValueOf(Field(IDC_CONV_AMOUNT));
    const CExactDecimal balance2 = ValueOf(Field(IDC_CONV_BALANCE_2));
    const CExactDecimal balance3 = ValueOf(Field(IDC_CONV_BALANCE_3));
    if (IsToThreeDecimals()) {
        const CExactDecimal rate = ValueOf(Field(IDC_CONV_RATE_TO_3));
        const CExactDecimal result = rate.IsPositive() ? amount.MultiplyDown(rate, 3) : CExactDecimal();
        Field(IDC_CONV_RESULT).SetText(result.Format(3).c_str());
        Field(IDC_CONV_NEW_2).SetText((balance2 - amount).Format(2).c_str());
        Field(IDC_CONV_NEW_3).SetText((result + balance3).Format(3).c_str());
    } else {
        const CExactDecimal rate = ValueOf(Field(IDC_CONV_RATE_TO_2));
        const CExactDecimal result = rate.IsPositive() ? amount.DivideDown(rate, 2) : CExactDecimal();
        Field(IDC_CONV_RESULT).SetText(result.Format(2).c_str());
        Field(IDC_CONV_NEW_2).SetText((result + balance2).Format(2).c_str());
        Field(IDC_CONV_NEW_3).SetText((balance3 - amount).Format(3).c_str());
    }
}

void CCurrencyConversionForm::Clear()
{
    for (int nId : {IDC_CONV_AMOUNT, IDC_CONV_RESULT, IDC_CONV_NEW_2, IDC_CONV_NEW_3, IDC_CONV_BALANCE_2,
                    IDC_CONV_BALANCE_3})
        Field(nId).Clear();
}

void CCurrencyConversionForm::SendConversion()
{
    // The server takes plain numbers: the amount and rates without grouping, in the C locale.
    CExactDecimal amount;
    if (!CExactDecimal::Parse(Field(IDC_CONV_AMOUNT).GetText(TRUE), &amount) || !amount.IsPositive()) {
        ShowMarketInfo(nullptr, IDS_ACCOUNT_NO_AMOUNT, 2);
        return;
    }
    CExactDecimal rate3, rate2;
    CExactDecimal::Parse(Field(IDC_CONV_RATE_TO_3).GetText(TRUE), &rate3);
    CExactDecimal::Parse(Field(IDC_CONV_RATE_TO_2).GetText(TRUE), &rate2);
    const std::string strAmount = amount.Format(3);
    const bool bToThree = IsToThreeDecimals();
    const std::string strBody = "||" + std::string(UserAndAccount()) + "|" + (bToThree ? strAmount : "") + "|" +
                                (bToThree ? "" : strAmount) + "|" + rate3.Format(7) + "|" + rate2.Format(7);
    SendPending(MSG_PB, strBody.c_str());
}

void CCurrencyConversionForm::OnCC(CServerMessage* pMsg)
{
    if (pMsg == nullptr || pMsg->GetType() != MSG_CC || !TakeReply(pMsg))
        return;
    // Balances from a reply whose result cannot be read are not put before the user.
    if (IsRefused(pMsg, 0, /*bNumberRequired=*/TRUE))
        return;
    for (int i = 0; i < 4; ++i)
        m_fields[i].SetText(pMsg->GetFieldText(CC_FIELDS[i]));
    if (!Field(IDC_CONV_AMOUNT).IsEmpty())
        Recompute();
}

void CCurrencyConversionForm::OnPB(CServerMessage* pMsg)
{
    if (pMsg == nullptr || pMsg->GetType() != MSG_PB || !TakeReply(pMsg))
        return;
    if (IsRefused(pMsg, 0))
        return;
    ShowMarketInfo(nullptr, IDS_CONVERSION_DONE, 1);
    CloseForm();
}
