#include "account/HistRangeDlg.h"

#include <cstring>

#include "account/CombinedRealizedProfitLossTable.h"
#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "platform/mfc/DataExchange.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"

#define RANGE_DAYS_BACK 7
#define IDS_RANGE_REVERSED 40398

CHistRangeDlg::CHistRangeDlg(const RANGE_REPORT_DESC& report, CWnd* pParent)
    : CDialog(report.nDialogId, pParent), m_pReport(&report), m_nDaysBack(RANGE_DAYS_BACK)
{
}

CHistRangeDlg::CHistRangeDlg(UINT nTemplate, UINT nFromId, UINT nToId, int nDaysBack, CWnd* pParent)
    : CDialog(nTemplate, pParent), m_nFromId(nFromId), m_nToId(nToId), m_nDaysBack(nDaysBack)
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
    DDX_Control(pDX, static_cast<int>(m_nFromId), m_pickFrom);
    DDX_Control(pDX, static_cast<int>(m_nToId), m_pickTo);
    DDX_DateTimeCtrl(pDX, static_cast<int>(m_nFromId), m_from);
    DDX_DateTimeCtrl(pDX, static_cast<int>(m_nToId), m_to);
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
    m_from = m_bPreset ? DayOf(m_strFrom) : now - COleDateTimeSpan(m_nDaysBack, 0, 0, 0);
    CDialog::OnInitDialog();
    m_pickFrom.SetFormat("dd'/'MM'/'yyyy");
    m_pickTo.SetFormat("dd'/'MM'/'yyyy");
    return TRUE;
}

void CHistRangeDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // A range that ends before it starts asks for nothing: the form stays, with the reason.
    if (strcmp(m_to.Format("%Y%m%d"), m_from.Format("%Y%m%d")) < 0) {
        ShowMarketInfo(nullptr, IDS_RANGE_REVERSED, INFO_PRIORITY_ERROR);
        return;
    }
    m_strFrom = ToServerDate(m_from.Format("%Y%m%d"));
    m_strTo = ToServerDate(m_to.Format("%Y%m%d"));
    Query();
    EndDialog(IDOK);
}

void CHistRangeDlg::Query()
{
    if (m_pReport != nullptr)
        QueryRangeReport(*m_pReport, m_strFrom, m_strTo);
}

long QueryRangeReport(const RANGE_REPORT_DESC& report, const CString& strFrom, const CString& strTo)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return 0;
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format(report.pszBody, static_cast<long>(user.GetUserNumber()), static_cast<LPCSTR>(user.GetAccountText()),
                   static_cast<LPCSTR>(strFrom), static_cast<LPCSTR>(strTo));
    // Sent first: a report that cannot be asked for keeps its rows and caption.
    const long nNumber = pApp->SendRequest(report.account.table.nRequestType, strBody);
    if (nNumber <= 0) {
        ShowMarketInfo(nullptr, IDS_REQUEST_NOT_SENT, INFO_PRIORITY_ERROR);
        return 0;
    }
    const TABLE_DESC& table = report.account.table;
    auto* pTable = dynamic_cast<CRangeReportTable*>(FindDataTable(table.nNameId));
    if (pTable != nullptr) {
        pTable->RemoveAllRows();
    } else if ((pTable = dynamic_cast<CRangeReportTable*>(MakeTable(table.nNameId, 0, table.nTitleId))) != nullptr) {
        if (CTableMDIWnd* pMain = pTable->GetMainWindow())
            pMain->LoadSettings();
    }
    // Armed before its window shows: showing runs the message loop, and the reply may come.
    if (pTable != nullptr) {
        pTable->SetDateRange(strFrom, strTo);
        pTable->OnQuerySent(nNumber);
        CNorvApp::ShowTable(pTable);
    }
    return nNumber;
}

namespace {
INT_PTR RunPreset(CHistRangeDlg& dialog, const CString& strFrom, const CString& strTo)
{
    if (!strFrom.IsEmpty() || !strTo.IsEmpty())
        dialog.SetDates(strFrom, strTo);
    return dialog.DoModal();
}
}  // namespace

INT_PTR RunRangeDialog(const RANGE_REPORT_DESC& report, HWND hParent, const CString& strFrom, const CString& strTo)
{
    CHistRangeDlg dialog(report, hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr);
    return RunPreset(dialog, strFrom, strTo);
}

INT_PTR CCombinedRealizedProfitLossDlg::Run(HWND hParent, const CString& strFrom, const CString& strTo)
{
    CCombinedRealizedProfitLossDlg dialog(hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr);
    return RunPreset(dialog, strFrom, strTo);
}

void CCombinedRealizedProfitLossDlg::Query()
{
    QueryCombinedRealized(GetFrom(), GetTo());
}

CString ToServerDate(LPCSTR pszDigits)
{
    return ConvertDisplayDateField(pszDigits, COLTYPE_DATE_TEXT);
}
