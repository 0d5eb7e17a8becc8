#include "account/RangeReportTable.h"
#include <algorithm>

#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "market/TableLinks.h"
#include "framework/base/DateTime.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewTable.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/ServerDateFields.h"

// "%s from %s through %s" in the user's language: title, first and last date.
#define IDS_RANGE_CAPTION 41178

CRangeReportTable::CRangeReportTable(const RANGE_REPORT_DESC& desc, CZorvatMessageSource* pSource)
    : CAccountTable(desc.account, pSource), m_report(desc)
{
}

void CRangeReportTable::SetDateRange(const CString& strFrom, const CString& strTo)
{
    m_strFrom = strFrom;
    m_strTo = strTo;
}

BOOL CRangeReportTable::SendRequest()
{
    CTableMDIWnd* pWindow = GetActiveWindow();
    return RunRangeDialog(m_report, pWindow != nullptr ? pWindow->m_hWnd : nullptr, m_strFrom, m_strTo) == IDOK;
}

CString CRangeReportTable::GetViewTitle(CViewTable* pView, BOOL bLanguage)
{
    const CString strTitle = CAccountTable::GetViewTitle(pView, bLanguage);
    const BOOL bFirst = pView != nullptr && GetTable()->FindView(pView) == 0;
    if (m_strShownFrom.IsEmpty() || pView == nullptr || (!m_report.bEveryView && !bFirst))
        return strTitle;
    // The window's own title before the range: the view's name is a settings key, no words.
    const BOOL bOwn = bFirst && !m_strFirstFrom.IsEmpty();
    CString strCaption;
    CString strFormat = LoadMarketText(IDS_RANGE_CAPTION);
    if (strFormat.IsEmpty())
        strFormat = "%s from %s through %s";
    strCaption.Format(strFormat, static_cast<LPCSTR>(strTitle),
                      static_cast<LPCSTR>(bOwn ? m_strFirstFrom : m_strShownFrom),
                      static_cast<LPCSTR>(bOwn ? m_strFirstTo : m_strShownTo));
    return strCaption;
}

CString CRangeReportTable::ShownDate(LPCSTR pszServerDate)
{
    const CString strDigits = ConvertServerDateField(pszServerDate, COLTYPE_DATE_TEXT);
    char szDate[32] = "";
    if (!strDigits.IsEmpty())
        FormatDateText(szDate, sizeof(szDate), strDigits, GetNorvGlobals().m_strDatePattern);
    return szDate;
}

BOOL CRangeReportTable::IsRefusal(CServerMessage* pMsg, int nField)
{
    const long nError = pMsg != nullptr ? pMsg->GetLong(nField) : 0;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (nError > 0 && pApp != nullptr)
        ShowMarketInfo(pApp->GetErrorText(nError), 0, INFO_PRIORITY_ERROR);
    return nError > 0;
}

BOOL CRangeReportTable::BeginRangeReply(CServerMessage* pMsg, BOOL bEmpty)
{
    if (pMsg == nullptr || IsRefusal(pMsg, m_report.nErrorField))
        return FALSE;
    ShowRange(pMsg, m_report.nEchoFrom, m_report.nEchoTo);
    BeginReply(bEmpty);
    return TRUE;
}

void CRangeReportTable::ShowRange(CServerMessage* pMsg, int nFrom, int nTo, BOOL bFirstViewOnly)
{
    (bFirstViewOnly ? m_strFirstFrom : m_strShownFrom) = ShownDate(pMsg->GetFieldText(nFrom));
    (bFirstViewOnly ? m_strFirstTo : m_strShownTo) = ShownDate(pMsg->GetFieldText(nTo));
    if (!bFirstViewOnly) {
        m_strFirstFrom.Empty();
        m_strFirstTo.Empty();
        m_nLower = pMsg->GetLong(nFrom);
        m_nUpper = pMsg->GetLong(nTo);
    }
    for (int i = 0; i < (bFirstViewOnly ? std::min(1, GetTable()->GetViewCount()) : GetTable()->GetViewCount()); ++i) {
        CViewTable* pView = GetTable()->GetView(i);
        pView->SetTitle(GetViewTitle(pView, FALSE), 0);
        pView->SetTitle(GetViewTitle(pView, TRUE), 1);
    }
}

CDataBuffer* CRangeReportTable::AddReplyRow(CServerMessage* pMsg)
{
    BOOL bNew = FALSE;
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return nullptr;
    return FillOrAddRow(pMsg, 0, &bNew);
}

CDataBuffer* CRangeReportTable::AddLiveRow(CServerMessage* pMsg)
{
    BOOL bNew = FALSE;
    const long nDate = pMsg != nullptr ? pMsg->GetLong(1) : 0;
    if (pMsg == nullptr || (m_nLower > 0 && nDate < m_nLower) || (m_nUpper > 0 && nDate > m_nUpper))
        return nullptr;
    return FillOrAddRow(pMsg, 0, &bNew);
}
