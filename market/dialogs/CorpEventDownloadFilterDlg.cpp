// The corporate events download's date range.
#include "market/dialogs/CorpEventDownloadFilterDlg.h"

#include "framework/base/ColumnDataType.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/DataExchange.h"
#include "refdata/ServerDateFields.h"

namespace {
const char* const DISPLAY_FORMAT = "dd'/'MM'/'yyyy";
const int DEFAULT_DAYS_BACK = 90;
}  // namespace

CCorpEventDownloadFilterDlg::CCorpEventDownloadFilterDlg(CWnd* pParent, PFN_REQUEST_CORP_EVENTS pfnRequest)
    : CDialog(IDD_CORP_EVENT_FILTER, pParent), m_dateFrom(COleDateTime::GetCurrentTime()),
      m_dateTo(COleDateTime::GetCurrentTime()), m_pfnRequest(pfnRequest)
{
}

CString CCorpEventDownloadFilterDlg::ServerDateOf(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return CString();
    return ConvertDisplayDateField(date.Format("%Y%m%d"), COLTYPE_DATE_TEXT);
}

BOOL CCorpEventDownloadFilterDlg::OnInitDialog()
{
    m_dateTo = COleDateTime::GetCurrentTime();
    m_dateFrom = m_dateTo - COleDateTimeSpan(DEFAULT_DAYS_BACK, 0, 0, 0);
    for (int nId : {IDC_CORP_EVENT_FROM, IDC_CORP_EVENT_TO})
        SendDlgItemMessage(nId, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(DISPLAY_FORMAT));
    return CDialog::OnInitDialog();
}

void CCorpEventDownloadFilterDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_DateTimeCtrl(pDX, IDC_CORP_EVENT_FROM, m_dateFrom);
    DDX_DateTimeCtrl(pDX, IDC_CORP_EVENT_TO, m_dateTo);
}

void CCorpEventDownloadFilterDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_pfnRequest != nullptr)
        m_pfnRequest(ServerDateOf(m_dateFrom), ServerDateOf(m_dateTo));
    EndDialog(IDOK);
}
