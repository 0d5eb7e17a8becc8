#pragma once
// Cash conversion between the account's two balances (form 7269): a two-decimal and a
// three-decimal currency. "CC" gives both balances and both rates when the form opens; the
// result is worked on the client, exactly and rounded down, as the user types; "PB" makes the
// conversion, and a success closes the form.
#include "account/AccountForm.h"

#define IDC_CONV_BALANCE_2  6260
#define IDC_CONV_BALANCE_3  6261
#define IDC_CONV_SEND       6262
#define IDC_CONV_CLEAR      6263
#define IDC_CONV_RATE_TO_2  6264
#define IDC_CONV_RATE_TO_3  6265
#define IDC_CONV_TO_2       6266    // direction 0: from the three-decimal currency
#define IDC_CONV_TO_3       6267    // direction 1: from the two-decimal currency
#define IDC_CONV_AMOUNT     6268
#define IDC_CONV_RESULT     6269
#define IDC_CONV_NEW_2      6270
#define IDC_CONV_NEW_3      6271
#define IDC_CONV_CLOSE      6392

class CCurrencyConversionForm;
// The form by the name its users know it by.
using CCurrencyConversionDlg = CCurrencyConversionForm;

class CCurrencyConversionForm : public CAccountForm
{
public:
    static constexpr int FIELDS = 8;

    CCurrencyConversionForm();
    static CWnd* Make(UINT nFormId);

    void OnCC(CServerMessage* pMsg) override;
    void OnPB(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void Recompute();
    void SendConversion();
    void Clear();
    CEnhancedEdit& Field(int nControl);
    BOOL IsToThreeDecimals() const;

    CEnhancedEdit m_fields[FIELDS];
};
