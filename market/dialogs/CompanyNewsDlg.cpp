// The company choice: the markets, a market's entries, the narrowing as the ticker is typed and
// OK's enabling.
#include "market/dialogs/CompanyNewsDlg.h"

#include <algorithm>

#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"
#include "platform/mfc/Array.h"
#include "platform/mfc/StringArray.h"
#include "platform/win/user/Dialogs.h"
#include "refdata/ZorvatGlobals.h"

namespace {
// The symbol of a "symbol/name" entry, or of a typed text.
CString SymbolOf(const CString& strEntry)
{
    const int nSlash = strEntry.Find('/');
    CString strSymbol = nSlash >= 0 ? strEntry.Left(nSlash) : strEntry;
    strSymbol.Trim();
    return strSymbol;
}

CString Upper(const CString& str)
{
    CString strUpper = str;
    strUpper.MakeUpper();
    return strUpper;
}
}  // namespace

BEGIN_MESSAGE_MAP(CCompanyNewsDlg, CDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_COMPANY_MARKET, OnMarketChosen)
    ON_CONTROL(ECBN_LEFT, IDC_COMPANY_MARKET, OnMarketLeft)
    ON_CONTROL(CBN_EDITCHANGE, IDC_COMPANY_TICKER, OnTickerTyped)
    ON_CONTROL(CBN_SELCHANGE, IDC_COMPANY_TICKER, OnTickerChosen)
END_MESSAGE_MAP()

CCompanyNewsDlg::CCompanyNewsDlg(LPCSTR pszCaption, CWnd* pParent)
    : CDialog(IDD_COMPANY_NEWS, pParent), m_strCaption(pszCaption != nullptr ? pszCaption : "")
{
}

BOOL CCompanyNewsDlg::Choose(CWnd* pParent, UINT nTitleId, CString* pstrTicker, CString* pstrMarket)
{
    CString strTitle;
    strTitle.LoadString(nTitleId);
    CCompanyNewsDlg dialog(strTitle, pParent);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    if (pstrTicker != nullptr)
        *pstrTicker = Upper(dialog.GetTicker());
    if (pstrMarket != nullptr)
        *pstrMarket = dialog.GetMarket();
    return TRUE;
}

BOOL CCompanyNewsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_strCaption.IsEmpty())
        SetWindowText(m_strCaption);
    m_comboTicker.SubclassDlgItem(IDC_COMPANY_TICKER, this);
    m_comboMarket.SubclassDlgItem(IDC_COMPANY_MARKET, this);
    // Completing the typed text would take the narrowing's text away from the user.
    m_comboTicker.SetAutoComplete(FALSE);
    CArray<int, int> codes;
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (pGlobals != nullptr)
        pGlobals->GetMarketCodes(codes);
    std::vector<int> sorted(codes.GetData(), codes.GetData() + codes.GetSize());
    std::sort(sorted.begin(), sorted.end());
    for (const int nCode : sorted) {
        const CString strName = pGlobals->GetMarketName(nCode);
        if (!strName.IsEmpty() && m_comboMarket.FindStringExact(-1, strName) == CB_ERR)
            m_comboMarket.AddString(strName);
    }
    m_strTicker.Empty();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    return TRUE;
}

void CCompanyNewsDlg::LoadMarket(LPCSTR pszMarket)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    const long nCode = pGlobals != nullptr ? pGlobals->GetMarketCode(pszMarket) : 0;
    m_strMarket = pszMarket;
    // Leaving the market box unchanged keeps what was typed meanwhile.
    if (nCode == m_nMarketCode)
        return;
    m_nMarketCode = nCode;
    m_symbols.clear();
    CStringArray symbols;
    if (pGlobals != nullptr)
        pGlobals->GetMarketSymbols(nCode, symbols);
    const BOOL bArabic = GetNorvGlobals().m_nLanguage == 1;
    for (int i = 0; i < symbols.GetSize(); ++i) {
        const CString& strSymbol = symbols[i];
        ShortStockListEntry entry;
        if (strSymbol.IsEmpty() || strSymbol[0] == '.' || !pGlobals->LookupShortStockEntry(nCode, strSymbol, entry))
            continue;
        m_symbols.emplace_back(strSymbol, bArabic ? entry.text6 : entry.text5);
    }
    std::sort(m_symbols.begin(), m_symbols.end(),
              [](const auto& a, const auto& b) { return a.first.Compare(b.first) < 0; });
    m_bFilling = TRUE;
    m_comboTicker.SetWindowText("");
    m_bFilling = FALSE;
    FillTickers("");
}

void CCompanyNewsDlg::FillTickers(const CString& strText)
{
    const CString strWant = Upper(strText);
    m_entries.clear();
    for (const auto& [strSymbol, strName] : m_symbols) {
        if (!strWant.IsEmpty() && Upper(strSymbol).Find(strWant) < 0 && Upper(strName).Find(strWant) < 0)
            continue;
        CString strEntry;
        strEntry.Format("%s/%s", static_cast<LPCSTR>(strSymbol), static_cast<LPCSTR>(strName));
        m_entries.push_back(strEntry);
    }
    const DWORD dwSel = m_comboTicker.GetEditSel();
    m_bFilling = TRUE;
    m_comboTicker.ResetContent();
    for (const CString& strEntry : m_entries)
        m_comboTicker.AddString(strEntry);
    if (strText.IsEmpty()) {
        if (!m_entries.empty())
            m_comboTicker.SetCurSel(0);
    } else {
        // Emptying the list emptied the field: the typed text and its caret come back.
        m_comboTicker.SetWindowText(strText);
        m_comboTicker.SetEditSel(LOWORD(dwSel), HIWORD(dwSel));
        if (!m_entries.empty())
            m_comboTicker.ShowDropDown(TRUE);
    }
    m_bFilling = FALSE;
    CString strShown;
    m_comboTicker.GetWindowText(strShown);
    SetTicker(strShown);
}

void CCompanyNewsDlg::SetTicker(const CString& strEntry)
{
    m_strTicker = SymbolOf(strEntry);
    const BOOL bCarried = IsRequestFieldText(m_strTicker);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), bCarried && !m_strTicker.IsEmpty());
    CString strReason;
    if (!bCarried)
        strReason.LoadString(IDS_REQUEST_FIELD_REFUSED);
    ::SetDlgItemTextA(m_hWnd, IDC_COMPANY_REASON, strReason);
}

void CCompanyNewsDlg::OnMarketChosen()
{
    const int nItem = m_comboMarket.GetCurSel();
    if (nItem == CB_ERR)
        return;
    CString strName;
    m_comboMarket.GetLBText(nItem, strName);
    LoadMarket(strName);
}

void CCompanyNewsDlg::OnMarketLeft()
{
    CString strName;
    m_comboMarket.GetWindowText(strName);
    if (!strName.IsEmpty())
        LoadMarket(strName);
}

void CCompanyNewsDlg::OnTickerTyped()
{
    if (m_bFilling)
        return;
    CString strText;
    m_comboTicker.GetWindowText(strText);
    FillTickers(strText);
}

void CCompanyNewsDlg::OnTickerChosen()
{
    if (m_bFilling)
        return;
    const int nItem = m_comboTicker.GetCurSel();
    if (nItem == CB_ERR)
        return;
    CString strEntry;
    m_comboTicker.GetLBText(nItem, strEntry);
    SetTicker(strEntry);
}

void CCompanyNewsDlg::OnOK()
{
    // Enter reaches here even while OK is disabled.
    CString strText;
    m_comboTicker.GetWindowText(strText);
    if (m_comboTicker.GetCurSel() == CB_ERR || SymbolOf(strText) != m_strTicker)
        SetTicker(strText);
    if (m_strTicker.IsEmpty() || !IsRequestFieldText(m_strTicker)) {
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_COMPANY_TICKER)), TRUE);
        return;
    }
    m_comboMarket.GetWindowText(m_strMarket);
    EndDialog(IDOK);
}
