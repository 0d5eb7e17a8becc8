// The ticker lookup form and its rules.
#include "market/TickerLookupDlg.h"

#include <cstring>
#include <string>

#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/ColumnDataType.h"
#include "market/TickerLookupResultsTable.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"
#include "market/dialogs/CompanyNewsDlg.h"
#include "platform/mfc/DataExchange.h"

namespace {
const char* const TICKER_PATTERN_CHARS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ*?";
const int PATTERN_MAX_LENGTH = 254;
const int TICKER_RULE_LENGTH = 6;
const int NAME_RULE_LENGTH = 100;

BOOL IsWildcard(char ch)
{
    return ch == '*' || ch == '?';
}

// Characters other than wildcards among the first nLength, counted up to nEnough.
int CountLetters(LPCSTR psz, int nLength, int nEnough)
{
    int nCount = 0;
    for (int n = 0; n < nLength && psz[n] != '\0' && nCount < nEnough; ++n) {
        if (!IsWildcard(psz[n]))
            ++nCount;
    }
    return nCount;
}
}  // namespace

BOOL IsTickerPatternSearchable(LPCSTR pszPattern)
{
    if (pszPattern == nullptr || pszPattern[0] == '\0')
        return FALSE;
    if (CountLetters(pszPattern, TICKER_RULE_LENGTH, 2) >= 2)
        return TRUE;
    const size_t nLength = strlen(pszPattern);
    if (pszPattern[0] == '?')
        return nLength <= 2;                                    // "?" and "?x"
    if (IsWildcard(pszPattern[0]))
        return FALSE;
    return nLength == 1 || (nLength == 2 && pszPattern[1] == '?');      // "A" and "A?"
}

BOOL IsNamePatternSearchable(LPCSTR pszPattern)
{
    return pszPattern != nullptr && CountLetters(pszPattern, NAME_RULE_LENGTH, 3) >= 3;
}

CString DecorateTickerPattern(LPCSTR pszPattern)
{
    CString str = pszPattern != nullptr ? pszPattern : "";
    if (str.GetLength() > 1 && str[str.GetLength() - 1] != '*')
        str += '*';
    return str;
}

CString DecorateNamePattern(LPCSTR pszPattern)
{
    CString str = pszPattern != nullptr ? pszPattern : "";
    if (str.GetLength() <= 1)
        return str;
    if (str[str.GetLength() - 1] != '*')
        str += '*';
    if (str[0] != '*')
        str = "*" + str;
    return str;
}

BEGIN_MESSAGE_MAP(CTickerLookupDlg, CFormDialog)
    ON_CONTROL(EN_CHANGE, IDC_LOOKUP_TICKER, OnTickerChanged)
    ON_CONTROL(EN_CHANGE, IDC_LOOKUP_NAME, OnNameChanged)
    ON_COMMAND(IDC_LOOKUP_SEARCH, OnSearch)
    ON_COMMAND(IDC_LOOKUP_CLEAR, OnClear)
    ON_COMMAND(IDC_LOOKUP_CLOSE, OnClose)
END_MESSAGE_MAP()

CWnd* CTickerLookupDlg::Make(UINT)
{
    return new CTickerLookupDlg;
}

void CTickerLookupDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_EnhancedEdit(pDX, IDC_LOOKUP_TICKER, m_editTicker, COLTYPE_STRING, 0, PATTERN_MAX_LENGTH, 0, EE_KEEP_COLOR,
                     EE_KEEP_COLOR, m_strTicker);
    DDX_EnhancedEdit(pDX, IDC_LOOKUP_NAME, m_editName, COLTYPE_STRING, 0, PATTERN_MAX_LENGTH, 0, EE_KEEP_COLOR,
                     EE_KEEP_COLOR, m_strName);
}

BOOL CTickerLookupDlg::OnInitDialog()
{
    CFormDialog::OnInitDialog();
    m_editTicker.SetValidChars(TICKER_PATTERN_CHARS);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_LOOKUP_SEARCH), FALSE);
    return TRUE;
}

void CTickerLookupDlg::EnableSearch(UINT nReasonId)
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_LOOKUP_SEARCH), nReasonId == 0);
    CString strHint;
    strHint.LoadString(nReasonId != 0 ? nReasonId : IDS_LOOKUP_HINT);
    ::SetDlgItemTextA(m_hWnd, IDC_LOOKUP_HINT, strHint);
}

void CTickerLookupDlg::OnTickerChanged()
{
    const CTBString strTicker = m_editTicker.GetText(FALSE);
    if (strTicker.GetLength() == 0) {
        if (m_editName.IsEmpty())
            EnableSearch(IDS_LOOKUP_HINT);
        return;
    }
    if (!m_editName.IsEmpty())
        m_editName.Clear();
    EnableSearch(IsTickerPatternSearchable(strTicker) ? 0 : IDS_LOOKUP_TICKER_RULE);
}

void CTickerLookupDlg::OnNameChanged()
{
    const CTBString strName = m_editName.GetText(FALSE);
    if (strName.GetLength() == 0) {
        if (m_editTicker.IsEmpty())
            EnableSearch(IDS_LOOKUP_HINT);
        return;
    }
    if (!m_editTicker.IsEmpty())
        m_editTicker.Clear();
    // A '|' would split the request's name field: such a name is refused, not cut.
    if (!IsRequestFieldText(strName))
        EnableSearch(IDS_REQUEST_FIELD_REFUSED);
    else
        EnableSearch(IsNamePatternSearchable(strName) ? 0 : IDS_LOOKUP_NAME_RULE);
}

void CTickerLookupDlg::OnSearch()
{
    CDataTable* pTable = FindDataTable(IDS_TABLE_TICKER_LOOKUP_RESULTS);
    if (pTable == nullptr) {
        pTable = dynamic_cast<CDataTable*>(
            MakeTable(IDS_TABLE_TICKER_LOOKUP_RESULTS, 0, IDS_TITLE_TICKER_LOOKUP_RESULTS));
        if (pTable == nullptr)
            return;
        if (CTableMDIWnd* pMain = pTable->GetMainWindow())
            pMain->LoadSettings();
    } else {
        pTable->RemoveAllRows();
    }
    CNorvApp::ShowTable(pTable);

    const CString strName = DecorateNamePattern(m_editName.GetText(FALSE));
    if (!IsRequestFieldText(strName))
        return;
    CString strBody;
    strBody.Format("%s|%s", static_cast<LPCSTR>(DecorateTickerPattern(m_editTicker.GetText(FALSE))),
                   static_cast<LPCSTR>(strName));
    pTable->SendRequest(strBody);
}

void CTickerLookupDlg::OnClear()
{
    m_editTicker.Clear();
    m_editName.Clear();
    EnableSearch(IDS_LOOKUP_HINT);
}

void CTickerLookupDlg::OnClose()
{
    CloseForm();
}
