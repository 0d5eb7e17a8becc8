#pragma once
// The ticker lookup form: the user searches the symbols by a ticker pattern or by a company-name
// pattern ('*' any run, '?' one character); the search fills the ticker lookup results table
// with the "TL" reply. The two fields exclude each other, and the search is enabled only for a
// pattern specific enough to search by; otherwise the hint line says what the pattern lacks.
#include "framework/window/EnhancedEdit.h"
#include "market/dialogs/FormDialog.h"
#include "platform/mfc/String.h"

#define IDD_FORM_TICKER_LOOKUP      7260
#define IDC_LOOKUP_TICKER           1762
#define IDC_LOOKUP_NAME             1763
#define IDC_LOOKUP_SEARCH           1764
#define IDC_LOOKUP_CLEAR            1765
#define IDC_LOOKUP_CLOSE            1766
#define IDC_LOOKUP_HINT             1767    // the wildcards, or why a search cannot run
#define IDS_LOOKUP_HINT             7262
#define IDS_LOOKUP_TICKER_RULE      7263
#define IDS_LOOKUP_NAME_RULE        7252

// Whether a ticker pattern may be searched: two letters among its first six characters, or one
// of the short forms "A", "A?", "?", "?x".
BOOL IsTickerPatternSearchable(LPCSTR pszPattern);
// Whether a name pattern may be searched: three characters other than wildcards among its
// first hundred.
BOOL IsNamePatternSearchable(LPCSTR pszPattern);
// The patterns as sent: a ticker pattern of two or more characters ends in '*', a name pattern
// of two or more characters starts and ends in '*'.
CString DecorateTickerPattern(LPCSTR pszPattern);
CString DecorateNamePattern(LPCSTR pszPattern);

class CTickerLookupDlg : public CFormDialog
{
public:
    CTickerLookupDlg() : CFormDialog(IDD_FORM_TICKER_LOOKUP) {}
    static CWnd* Make(UINT nFormId);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnTickerChanged();
    afx_msg void OnNameChanged();
    afx_msg void OnSearch();
    afx_msg void OnClear();
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    // Search enabled when nReasonId is 0; else disabled, the reason's text on the hint line.
    void EnableSearch(UINT nReasonId);

    CEnhancedEdit m_editTicker;
    CEnhancedEdit m_editName;
    CString m_strTicker;
    CString m_strName;
};
