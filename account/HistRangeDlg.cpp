#include "account/HistRangeDlg.h"

#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "platform/mfc/DataExchange.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"

#define RANGE_DAYS_BACK 7

CHistRangeDlg::CHistRangeDlg(const RANGE_REPORT_DESC& report, CWnd* pParent)
    : CDialog(report.nDialogId, pParent), m_report(report)
{
}

void CHistRangeDlg::SetDates(const CString& strFrom, const CString& strTo)
{
    m_strFrom = strFrom;
    m_strTo = strTo;
    m_bPreset = TRUE;
}

void CHistRangeDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_RANGE_FROM, m_pickFrom);
    DDX_Control(pDX, IDC_RANGE_TO, m_pickTo);
    DDX_DateTimeCtrl(pDX, IDC_RANGE_FROM, m_from);
    DDX_DateTimeCtrl(pDX, IDC_RANGE_TO, m_to);
}

namespace {
COleDateTime DayOf(const CString& strServerDate)
{
    const CString strDigits = ConvertServerDateField(strServerDate, COLTYPE_DATE_TEXT);
    COleDateTime day;
    if (strDigits.GetLength() == 8)
        day.SetDate(atoi(strDigits.Left(4)), atoi(strDigits.Mid(4, 2)), atoi(strDigits.Mid(6, 2)));
    return day;
}
}  // namespace

BOOL CHistRangeDlg::OnInitDialog()
{
    const COleDateTime now(GetGlobals()->GetNow());
    m_to = m_bPreset ? DayOf(m_strTo) : now;
    m_from = m_bPreset ? DayOf(m_strFrom) : now - COleDateTimeSpan(RANGE_DAYS_BACK, 0, 0, 0);
    CDialog::OnInitDialog();
    m_pickFrom.SetFormat("dd'/'MM'/'yyyy");
    m_pickTo.SetFormat("dd'/'MM'/'yyyy");
    return TRUE;
}

void CHistRangeDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strFrom = ToServerDate(m_from.Format("%Y%m%d"));
    m_strTo = ToServerDate(m_to.Format("%Y%m%d"));
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return;
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format(m_report.pszBody, static_cast<long>(user.GetUserNumber()), static_cast<LPCSTR>(user.GetAccountText()),
                   static_cast<LPCSTR>(m_strFrom), static_cast<LPCSTR>(m_strTo));
    // Sent first: a report that cannot be asked for keeps its rows and caption.
    const long nNumber = pApp->SendRequest(m_report.account.table.nRequestType, strBody);
    if (nNumber <= 0) {
        ShowMarketInfo(nullptr, IDS_REQUEST_NOT_SENT, INFO_PRIORITY_ERROR);
        EndDialog(IDOK);
        return;
    }
    const TABLE_DESC& table = m_report.account.table;
    auto* pTable = dynamic_cast<CRangeReportTable*>(FindDataTable(table.nNameId));
    if (pTable != nullptr) {
        pTable->RemoveAllRows();
    } else if ((pTable = dynamic_cast<CRangeReportTable*>(MakeTable(table.nNameId, 0, table.nTitleId))) != nullptr) {
        if (CTableMDIWnd* pMain = pTable->GetMainWindow())
            pMain->LoadSettings();
    }
    if (pTable != nullptr) {
        CNorvApp::ShowTable(pTable);
        pTable->SetDateRange(m_strFrom, m_strTo);
        pTable->OnQuerySent(nNumber);
    }
    EndDialog(IDOK);
}

INT_PTR RunRangeDialog(const RANGE_REPORT_DESC& report, HWND hParent, const CString& strFrom, const CString& strTo)
{
    CHistRangeDlg dialog(report, hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr);
    if (!strFrom.IsEmpty() || !strTo.IsEmpty())
        dialog.SetDates(strFrom, strTo);
    return dialog.DoModal();
}

CString ToServerDate(LPCSTR pszDigits)
{
    return ConvertDisplayDateField(pszDigits, COLTYPE_DATE_TEXT);
}
