#pragma once
// Cash conversion between any two currencies of the reference data (form 7307): the server
// quotes the pair and amount ("RC", execute flag 0) whenever either changes, and makes the
// conversion on the convert command (flag 1); a reply that reports it made resets the form.
// Each side's fields show that currency's decimals.
#include "account/AccountForm.h"
#include "app/FormFactory.h"
#include "platform/mfc/Controls.h"

#define IDC_INTL_BALANCE_FROM   6746
#define IDC_INTL_BALANCE_TO     6747
#define IDC_INTL_RATE_1         6748
#define IDC_INTL_RATE_2         6749
#define IDC_INTL_NEW_FROM       6750
#define IDC_INTL_NEW_TO         6751
#define IDC_INTL_CONVERT        6752
#define IDC_INTL_RESET          6753
#define IDC_INTL_CLOSE          6754
#define IDC_INTL_AMOUNT         6755
#define IDC_INTL_FROM           6756
#define IDC_INTL_RESULT         6757
#define IDC_INTL_TO             6758
#define IDC_INTL_LABEL_FROM     6759
#define IDC_INTL_LABEL_TO       6760
#define IDC_INTL_LABEL_NEW_FROM 6761
#define IDC_INTL_LABEL_NEW_TO   6762

class CInternationalConversionForm;
// The form by the name its users know it by.
using CInternationalCurrencyConversionDlg = CInternationalConversionForm;

class CInternationalConversionForm : public CAccountForm, public ICurrencyPairForm
{
public:
    static constexpr int FIELDS = 8;

    CInternationalConversionForm();
    ~CInternationalConversionForm() override;
    static CWnd* Make(UINT nFormId);

    BOOL SelectCurrencyPair(LPCSTR pszFrom, LPCSTR pszTo) override;
    void OnRC(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void Update(BOOL bExecute, BOOL bAmountLeft);
    void SetCurrencies(LPCSTR pszTo, LPCSTR pszFrom);
    void OnAmountChanged();
    void Reset();
    void ShowNewBalances();
    CEnhancedEdit& Field(int nControl);

    CEnhancedEdit m_fields[FIELDS];
    CComboBox m_boxFrom;
    CComboBox m_boxTo;
    CString m_strAmount;
    CString m_strFrom;
    CString m_strTo;
    double m_dQuote = 0;
    int m_nToDecimals = -2;
    int m_nFromDecimals = -2;
    HBRUSH m_hbrYellow = nullptr;
};
