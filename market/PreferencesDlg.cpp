// The preferences form.
#include "market/PreferencesDlg.h"

#include "app/DataTable.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "link/ServerMessage.h"
#include "platform/mfc/StringArray.h"
#include "refdata/ZorvatGlobals.h"

namespace {
// The server's message that tells the new base currency, in its parentheses.
const char* const BASE_CURRENCY_CHANGED_CODE = "1164";
}  // namespace

BEGIN_MESSAGE_MAP(CPreferencesDlg, CFormDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_PREFERENCES_CURRENCY, OnCurrencyChanged)
    ON_COMMAND(IDC_PREFERENCES_APPLY, OnApply)
    ON_COMMAND(IDC_PREFERENCES_CLOSE, OnClose)
END_MESSAGE_MAP()

CWnd* CPreferencesDlg::Make(UINT)
{
    return new CPreferencesDlg;
}

BOOL CPreferencesDlg::OnInitDialog()
{
    CFormDialog::OnInitDialog();
    m_comboCurrency.SubclassDlgItem(IDC_PREFERENCES_CURRENCY, this);
    FillCurrencies();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PREFERENCES_APPLY), FALSE);
    return TRUE;
}

void CPreferencesDlg::FillCurrencies()
{
    m_comboCurrency.ResetContent();
    CStringArray codes;
    GetGlobals()->GetCurrencyCodes(codes);
    for (int n = 0; n < codes.GetSize(); ++n)
        m_comboCurrency.AddString(codes[n]);
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr)
        m_comboCurrency.SelectString(-1, pApp->GetBaseCurrency());
}

CString CPreferencesDlg::GetChosenCurrency() const
{
    CString strCode;
    const int nItem = m_comboCurrency.GetCurSel();
    if (nItem >= 0)
        m_comboCurrency.GetLBText(nItem, strCode);
    return strCode;
}

void CPreferencesDlg::OnCurrencyChanged()
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    const BOOL bOther = pApp != nullptr && GetChosenCurrency() != pApp->GetBaseCurrency();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PREFERENCES_APPLY), bOther);
}

void CPreferencesDlg::OnApply()
{
    const CString strCode = GetChosenCurrency();
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (strCode.IsEmpty() || pApp == nullptr)
        return;
    pApp->WriteProfileText(".General", "BaseCurrency", strCode);
    pApp->SetBaseCurrency(strCode);
    // The combined tables' amounts follow the new base currency at once.
    for (UINT nTable : {IDS_TABLE_COMBINED_HOLDINGS, IDS_TABLE_COMBINED_UNREALIZED, IDS_TABLE_COMBINED_REALIZED})
        if (IDataTable* pCombined = pApp->FindTable(nTable))
            pCombined->ConvertToBaseCurrency();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PREFERENCES_APPLY), FALSE);

    CServerMessage notice(0);
    notice.SetAtGrow(0, BASE_CURRENCY_CHANGED_CODE);
    notice.SetAtGrow(1, strCode);
    CString strText;
    pApp->GetErrorDictionary().FormatReplyError(&strText, 0, 1, &notice);
    pApp->AddInfoText(strText);
    pApp->BringInfoWindowToTop(2);
}

void CPreferencesDlg::OnClose()
{
    CloseForm();
}
