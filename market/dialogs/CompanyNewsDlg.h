#pragma once
// Asks for a company before its news is requested: a market, then a ticker typed or chosen from
// that market's "symbol/name" entries, which narrow to the typed text (symbol or name, in any
// case) as the user types. OK stays disabled while the ticker is empty, and while it holds what a
// request field cannot carry, which the reason line then says.
#include <utility>
#include <vector>

#include "framework/window/EnhancedComboBox.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_COMPANY_NEWS        7382
#define IDC_COMPANY_TICKER      7383
#define IDC_COMPANY_MARKET      7384
#define IDC_COMPANY_REASON      7389    // why OK is refused, empty otherwise
#define IDS_REQUEST_FIELD_REFUSED 7253  // a text with '|' or a control character cannot be sent

class CCompanyNewsDlg : public CDialog
{
public:
    // A null or empty caption keeps the template's.
    explicit CCompanyNewsDlg(LPCSTR pszCaption, CWnd* pParent = nullptr);

    // After IDOK: the text before the first "/" of the ticker chooser, trimmed, and the market
    // chooser's text (CZorvatGlobals::GetMarketCode turns it into a code).
    const CString& GetTicker() const { return m_strTicker; }
    const CString& GetMarket() const { return m_strMarket; }
    // The entries the ticker chooser lists now, in order.
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }

    // The dialog titled with a string id, run once: TRUE on OK, with the ticker upper-cased.
    static BOOL Choose(CWnd* pParent, UINT nTitleId, CString* pstrTicker, CString* pstrMarket);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnMarketChosen();
    afx_msg void OnMarketLeft();
    afx_msg void OnTickerTyped();
    afx_msg void OnTickerChosen();
    DECLARE_MESSAGE_MAP()

private:
    // The market's symbols and names, without the symbols that start with '.'.
    void LoadMarket(LPCSTR pszMarket);
    // The chooser lists the entries that hold the text (all of them for an empty text).
    void FillTickers(const CString& strText);
    void SetTicker(const CString& strEntry);

    CString m_strCaption;
    CString m_strTicker;
    CString m_strMarket;
    long m_nMarketCode = -1;                            // the market whose entries are loaded
    std::vector<std::pair<CString, CString>> m_symbols; // symbol and name, by symbol
    std::vector<CString> m_entries;                     // what the chooser lists
    BOOL m_bFilling = FALSE;                            // the chooser's own changes are not typing
    CEnhancedComboBox m_comboTicker;
    CEnhancedComboBox m_comboMarket;
};
