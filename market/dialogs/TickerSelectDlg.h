#pragma once
// Asks for one ticker and its market: the watch list's add and change commands and the symbol
// pages run it on the caller's stack for one DoModal. The market list holds the name of every
// market of the reference data in the current language, sorted by code, and market 2's name as
// well when the caller asks for it. OK stays disabled while the ticker is empty.
//
// After IDOK the ticker is 1 to 10 of TICKER_CHARS, as typed, and the market is the text of a
// list item (CZorvatGlobals::GetMarketCode turns it back into a code). A ticker with another
// character (put there past the field's typing filter) or a market not in the list is told in a
// message box and the dialog stays open on that field.
#include "framework/window/EnhancedComboBox.h"
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_TICKER_SELECT       7255
#define IDC_TICKER_SYMBOL       1722
#define IDC_TICKER_MARKET       1720
#define IDS_TICKER_BAD_CHARS    7272
#define IDS_TICKER_NO_MARKET    7273

#define TICKER_MAX_LENGTH       10
#define TICKER_CHARS            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789./-"
#define TICKER_MARKET_KSE       2

class CTickerSelectDlg : public CDialog
{
public:
    // A null or empty caption keeps the template's.
    explicit CTickerSelectDlg(LPCSTR pszCaption, CWnd* pParent = nullptr);

    // Before DoModal: the texts shown at first, and whether market 2 joins the list. With a
    // market given the dialog opens as usual; without one the ticker field takes the focus with
    // the caret after its text, so that typing goes on from a first character already given.
    void SetTicker(LPCSTR pszTicker) { m_strTicker = pszTicker != nullptr ? pszTicker : ""; }
    void SetMarket(LPCSTR pszMarket) { m_strMarket = pszMarket != nullptr ? pszMarket : ""; }
    void SetAddMarket2(BOOL bAdd) { m_bAddMarket2 = bAdd; }
    // After IDOK.
    const CString& GetTicker() const { return m_strTicker; }
    const CString& GetMarket() const { return m_strMarket; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnTickerChanged();
    DECLARE_MESSAGE_MAP()

private:
    void FillMarkets();
    void Refuse(UINT uMessage, HWND hField);

    CString m_strCaption;
    CString m_strTicker;
    CString m_strMarket;
    BOOL m_bAddMarket2 = FALSE;
    CEnhancedEdit m_editTicker;
    CEnhancedComboBox m_comboMarket;
};
