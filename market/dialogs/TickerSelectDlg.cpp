// The ticker choice: the market list, OK's enabling, and the checks before anything is handed
// back.
#include "market/dialogs/TickerSelectDlg.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "platform/mfc/Array.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Dialogs.h"
#include "refdata/ZorvatGlobals.h"

namespace {
BOOL IsTickerText(LPCSTR pszText)
{
    return strspn(pszText, TICKER_CHARS) == strlen(pszText);
}
}  // namespace

BEGIN_MESSAGE_MAP(CTickerSelectDlg, CDialog)
    ON_CONTROL(EN_CHANGE, IDC_TICKER_SYMBOL, OnTickerChanged)
END_MESSAGE_MAP()

CTickerSelectDlg::CTickerSelectDlg(LPCSTR pszCaption, CWnd* pParent)
    : CDialog(IDD_TICKER_SELECT, pParent), m_strCaption(pszCaption != nullptr ? pszCaption : "")
{
}

void CTickerSelectDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_TICKER_SYMBOL, m_strTicker);
    DDX_EnhancedEdit(pDX, IDC_TICKER_SYMBOL, m_editTicker, COLTYPE_STRING, 0, TICKER_MAX_LENGTH, 0, EE_KEEP_COLOR,
                     EE_KEEP_COLOR, m_strTicker);
    // The market as shown: no market given selects none (the exchange would take the first
    // item for an empty text), and a text the user emptied is no market.
    if (pDX->m_bSaveAndValidate)
        m_comboMarket.GetWindowText(m_strMarket);
    else if (m_strMarket.GetLength() > 0)
        DDX_CBString(pDX, IDC_TICKER_MARKET, m_strMarket);
}

BOOL CTickerSelectDlg::OnInitDialog()
{
    if (m_strCaption.GetLength() > 0)
        SetWindowText(m_strCaption);
    // The list is filled before the exchange, which selects the item of a given market.
    m_comboMarket.SubclassDlgItem(IDC_TICKER_MARKET, this);
    FillMarkets();
    CDialog::OnInitDialog();
    m_editTicker.SetValidChars(TICKER_CHARS);
    OnTickerChanged();
    if (m_strMarket.GetLength() > 0)
        return TRUE;
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_editTicker.m_hWnd), TRUE);
    const int nEnd = m_strTicker.GetLength();
    ::SendMessageA(m_editTicker.m_hWnd, EM_SETSEL, static_cast<WPARAM>(nEnd), nEnd);
    return FALSE;
}

void CTickerSelectDlg::FillMarkets()
{
    CArray<int, int> codes;
    GetGlobals()->GetMarketCodes(codes);
    std::vector<int> sorted(codes.GetData(), codes.GetData() + codes.GetSize());
    std::sort(sorted.begin(), sorted.end());
    if (m_bAddMarket2 && std::find(sorted.begin(), sorted.end(), TICKER_MARKET_KSE) == sorted.end())
        sorted.push_back(TICKER_MARKET_KSE);
    for (int nCode : sorted) {
        const CString strName = GetGlobals()->GetMarketName(nCode);
        // Two codes of one name would offer a choice the caller cannot tell apart.
        if (strName.GetLength() > 0 && m_comboMarket.FindStringExact(-1, strName) == CB_ERR)
            m_comboMarket.AddString(strName);
    }
}

void CTickerSelectDlg::OnTickerChanged()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !m_editTicker.IsEmpty());
}

void CTickerSelectDlg::Refuse(UINT uMessage, HWND hField)
{
    CString strMessage;
    strMessage.LoadString(uMessage);
    const UINT uReading = GetNorvGlobals().m_bRightToLeft ? MB_RIGHT | MB_RTLREADING : 0;
    ::MessageBoxA(m_hWnd, strMessage, nullptr, MB_OK | MB_ICONEXCLAMATION | uReading);
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hField), TRUE);
}

void CTickerSelectDlg::OnOK()
{
    // Enter reaches here even while OK is disabled.
    if (m_editTicker.IsEmpty() || !UpdateData(TRUE))
        return;
    // The ticker goes into request lines, where a '|' or a blank would shift the fields.
    if (!IsTickerText(m_strTicker)) {
        Refuse(IDS_TICKER_BAD_CHARS, m_editTicker.m_hWnd);
        return;
    }
    // The caller turns the name back into a code: only a name of the list has one. A name typed
    // in another case is the list's item all the same.
    const int nItem = m_comboMarket.FindStringExact(-1, m_strMarket);
    if (m_strMarket.GetLength() == 0 || nItem == CB_ERR) {
        Refuse(IDS_TICKER_NO_MARKET, m_comboMarket.m_hWnd);
        return;
    }
    m_comboMarket.GetLBText(nItem, m_strMarket);
    EndDialog(IDOK);
}
