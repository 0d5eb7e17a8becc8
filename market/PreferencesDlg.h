#pragma once
// The preferences form: the base currency in which the combined account tables show their
// amounts. Apply is enabled only while the chosen currency differs from the base currency;
// applying stores it in the profile, makes it the application's and says so in the information
// window.
#include "framework/window/EnhancedComboBox.h"
#include "market/dialogs/FormDialog.h"

#define IDD_FORM_PREFERENCES        7327
#define IDC_PREFERENCES_CURRENCY    6959
#define IDC_PREFERENCES_APPLY       6974
#define IDC_PREFERENCES_CLOSE       6975

class CPreferencesDlg : public CFormDialog
{
public:
    CPreferencesDlg() : CFormDialog(IDD_FORM_PREFERENCES) {}
    static CWnd* Make(UINT nFormId);

protected:
    BOOL OnInitDialog() override;

    afx_msg void OnCurrencyChanged();
    afx_msg void OnApply();
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    // The reference data's currencies in their order, the base currency selected.
    void FillCurrencies();
    CString GetChosenCurrency() const;          // empty when none is selected

    CEnhancedComboBox m_comboCurrency;
};
