// The option chain form.
#include "market/OptionChainDlg.h"

#include <cstdlib>

#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/OptionChainTable.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatTypes.h"

namespace {
const int TICKER_MAX_LENGTH = 5;
const char* const EXPIRY_FORMAT = "yyyy/MM/dd";
const char* const TICKER_CHARS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.-_ ";
const char* const STRIKE_CHARS = "0123456789.-";
const int TICKER_FIELD = 2;
const int RIGHT_FIELD = 3;
// The rights in the order their requests go out: puts, then calls.
const char* const REQUEST_RIGHTS[] = {"2", "1"};

bool SameDate(const COleDateTime& a, const COleDateTime& b)
{
    if (a.GetStatus() != b.GetStatus())
        return false;
    return a.GetStatus() != COleDateTime::valid || a == b;
}
}  // namespace

BEGIN_MESSAGE_MAP(COptionChainDlg, CFormDialog)
    ON_CONTROL(EN_CHANGE, IDC_OPTION_TICKER, OnTickerChanged)
    ON_COMMAND(IDC_OPTION_REQUEST, OnRequest)
    ON_COMMAND(IDC_OPTION_SUBSCRIBE, OnSubscribe)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_OPTION_EXPIRY_FROM, OnExpiryChanged)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_OPTION_EXPIRY_TO, OnExpiryChanged)
    ON_CONTROL(EN_KILLFOCUS, IDC_OPTION_STRIKE_FROM, OnStrikeLeft)
    ON_CONTROL(EN_KILLFOCUS, IDC_OPTION_STRIKE_TO, OnStrikeLeft)
    ON_CONTROL(CBN_SELCHANGE, IDC_OPTION_RIGHT, OnRightChosen)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

COptionChainDlg::COptionChainDlg(COptionChainTable* pTable)
    : CFormDialog(IDD_FORM_OPTION_CHAIN), m_pTable(pTable)
{
    CTable* pEngine = pTable != nullptr ? pTable->GetTable() : nullptr;
    m_pView = pEngine != nullptr && pEngine->GetViewCount() > 0 ? pEngine->GetView(0) : nullptr;
    m_appliedExpiryFrom.SetStatus(COleDateTime::null);
    m_appliedExpiryTo.SetStatus(COleDateTime::null);
}

CWnd* COptionChainDlg::Make(UINT)
{
    auto* pTable = dynamic_cast<COptionChainTable*>(FindDataTable(IDS_TABLE_OPTION_CHAIN));
    if (pTable == nullptr)
        pTable = dynamic_cast<COptionChainTable*>(MakeTable(IDS_TABLE_OPTION_CHAIN, 0, IDS_TITLE_OPTION_CHAIN));
    return pTable != nullptr ? new COptionChainDlg(pTable) : nullptr;
}

BOOL COptionChainDlg::OnInitDialog()
{
    CFormDialog::OnInitDialog();
    m_editTicker.SubclassDlgItem(IDC_OPTION_TICKER, m_hWnd);
    m_editStrikeFrom.SubclassDlgItem(IDC_OPTION_STRIKE_FROM, m_hWnd);
    m_editStrikeTo.SubclassDlgItem(IDC_OPTION_STRIKE_TO, m_hWnd);
    m_comboRight.SubclassDlgItem(IDC_OPTION_RIGHT, this);
    m_pickExpiryFrom.SubclassDlgItem(IDC_OPTION_EXPIRY_FROM, this);
    m_pickExpiryTo.SubclassDlgItem(IDC_OPTION_EXPIRY_TO, this);

    m_comboRight.AddString(COptionRight::GetText(1));
    m_comboRight.AddString(COptionRight::GetText(2));
    m_comboRight.AddString(LoadMarketText(IDS_OPTION_BOTH_RIGHTS));
    m_editTicker.SetValidChars(TICKER_CHARS);
    SendDlgItemMessage(IDC_OPTION_TICKER, EM_LIMITTEXT, TICKER_MAX_LENGTH);
    m_editStrikeFrom.SetValidChars(STRIKE_CHARS);
    m_editStrikeTo.SetValidChars(STRIKE_CHARS);
    Reset();
    m_pickExpiryFrom.SetFormat(EXPIRY_FORMAT);
    m_pickExpiryTo.SetFormat(EXPIRY_FORMAT);

    m_pGrid = dynamic_cast<CTableWindow*>(CTBWnd::FromHandle(::GetDlgItem(m_hWnd, IDC_OPTION_GRID)));
    if (m_pGrid != nullptr && m_pView != nullptr && m_pGrid->AttachView(m_pView)) {
        CTableMDIWnd* pMain = m_pTable->GetMainWindow();
        if (pMain != nullptr)
            m_pGrid->CopyAppearance(&pMain->GetGrid());
        m_pGrid->AddEventSink(this);
        m_pView->AddSink(static_cast<CTableEventSink*>(this));
    }
    EnableRequest();
    return FALSE;   // the ticker has the focus
}

void COptionChainDlg::SetTicker(LPCSTR pszTicker)
{
    Reset();
    SetDlgItemText(IDC_OPTION_TICKER, pszTicker != nullptr ? pszTicker : "");
    EnableRequest();
}

void COptionChainDlg::Reset()
{
    if (m_pTable != nullptr)
        m_pTable->RemoveAllRows();
    m_comboRight.SelectString(-1, LoadMarketText(IDS_OPTION_BOTH_RIGHTS));
    for (int nId : {IDC_OPTION_TICKER, IDC_OPTION_STRIKE_FROM, IDC_OPTION_STRIKE_TO})
        SetDlgItemText(nId, "");
    COleDateTime none;
    none.SetStatus(COleDateTime::null);
    m_pickExpiryFrom.SetTime(none);
    m_pickExpiryTo.SetTime(none);
    m_dAppliedStrikeFrom = m_dAppliedStrikeTo = 0.0;
    m_appliedExpiryFrom = m_appliedExpiryTo = none;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OPTION_SUBSCRIBE), FALSE);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_OPTION_TICKER));
}

void COptionChainDlg::EnableRequest()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OPTION_REQUEST),
                   ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_OPTION_TICKER)) > 0);
}

void COptionChainDlg::OnTickerChanged()
{
    EnableRequest();
}

void COptionChainDlg::SendChainRequest(LPCSTR pszTicker, LPCSTR pszRight, long* pnRequestId)
{
    CServerMessage request(1);
    request.SetAtGrow(TICKER_FIELD, pszTicker);
    request.SetAtGrow(RIGHT_FIELD, pszRight);
    CString strLine;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr && request.FormatRequest(&strLine, MSG_GO, 1, FALSE, FALSE, pnRequestId, FALSE) == REQUEST_OK)
        pApp->SendRequest(strLine);
}

void COptionChainDlg::OnRequest()
{
    CString strTicker;
    GetDlgItemText(IDC_OPTION_TICKER, strTicker);
    if (m_pTable != nullptr)
        m_pTable->RemoveAllRows();
    // Both replies fill the same table, one right each.
    for (int i = 0; i < 2; ++i)
        SendChainRequest(strTicker, REQUEST_RIGHTS[i], &m_nRequestIds[i]);
}

double COptionChainDlg::ReadStrike(int nId)
{
    CString strText;
    GetDlgItemText(nId, strText);
    if (strText.IsEmpty())
        return 0.0;
    char* pszEnd = nullptr;
    const double dValue = strtod(strText, &pszEnd);
    if (pszEnd == static_cast<LPCSTR>(strText) || *pszEnd != '\0') {
        SetDlgItemText(nId, "");
        return 0.0;
    }
    return dValue;
}

CString COptionChainDlg::GetRightText() const
{
    CString strRight;
    const int nItem = m_comboRight.GetCurSel();
    if (nItem >= 0)
        m_comboRight.GetLBText(nItem, strRight);
    return strRight;
}

void COptionChainDlg::ApplyFilter(BOOL bForce)
{
    const double dFrom = ReadStrike(IDC_OPTION_STRIKE_FROM);
    const double dTo = ReadStrike(IDC_OPTION_STRIKE_TO);
    COleDateTime expiryFrom, expiryTo;
    m_pickExpiryFrom.GetTime(expiryFrom);
    m_pickExpiryTo.GetTime(expiryTo);
    const BOOL bChanged = bForce || dFrom != m_dAppliedStrikeFrom || dTo != m_dAppliedStrikeTo ||
                          !SameDate(expiryFrom, m_appliedExpiryFrom) || !SameDate(expiryTo, m_appliedExpiryTo);
    if (!bChanged || m_pTable == nullptr)
        return;
    m_pTable->ApplyFilter(dFrom, dTo, GetRightText(), expiryFrom, expiryTo);
    m_dAppliedStrikeFrom = dFrom;
    m_dAppliedStrikeTo = dTo;
    m_appliedExpiryFrom = expiryFrom;
    m_appliedExpiryTo = expiryTo;
}

void COptionChainDlg::OnExpiryChanged(NMHDR*, LRESULT* pResult)
{
    ApplyFilter(FALSE);
    *pResult = 0;
}

void COptionChainDlg::OnStrikeLeft()
{
    ApplyFilter(FALSE);
}

void COptionChainDlg::OnRightChosen()
{
    ApplyFilter(TRUE);
}

void COptionChainDlg::OnSubscribe()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (m_pView == nullptr || pApp == nullptr)
        return;
    CViewRow row(m_pView);
    for (int i = 0; i < m_pView->GetRowCount(); ++i) {
        if (!m_pView->GetRow(row, i) || !row.IsDataRow() || !row.IsMarked())
            continue;
        CTBString strSymbol;
        row.GetText(strSymbol, 0);
        CString strBody;
        strBody.Format("%s|1", static_cast<LPCSTR>(strSymbol));
        pApp->SendRequest(MSG_GS, strBody);
        pApp->RefreshChartsForSymbol(strSymbol);
    }
}

void COptionChainDlg::EnableSubscribe()
{
    BOOL bAny = FALSE;
    if (m_pView != nullptr) {
        CViewRow row(m_pView);
        for (int i = 0; i < m_pView->GetRowCount() && !bAny; ++i)
            bAny = m_pView->GetRow(row, i) && row.IsDataRow() && row.IsMarked();
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OPTION_SUBSCRIBE), bAny);
}

void COptionChainDlg::OnRowMarked(CViewRow*, BOOL)
{
    EnableSubscribe();
}

void COptionChainDlg::OnRowsSelected(int, int, BOOL)
{
    EnableSubscribe();
}

void COptionChainDlg::OnWindowDestroyed(CTableWindow* pWindow)
{
    if (pWindow == m_pGrid)
        m_pGrid = nullptr;
}

void COptionChainDlg::OnViewDestroyed()
{
    m_pView = nullptr;
    m_pTable = nullptr;
}

void COptionChainDlg::OnDestroy()
{
    if (m_pGrid != nullptr)
        m_pGrid->RemoveEventSink(this);
    m_pGrid = nullptr;
    // The table outlives the form: its view must not call back into it.
    if (m_pView != nullptr)
        m_pView->RemoveSink(static_cast<CTableEventSink*>(this));
    m_pView = nullptr;
    CFormDialog::OnDestroy();
}
