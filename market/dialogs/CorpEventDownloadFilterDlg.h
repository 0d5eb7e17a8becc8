#pragma once
// The date range of a corporate events download: from 90 days ago to today by default, each end
// a date picker that may hold no date. OK hands the range, in the server's date form, to the
// requester the caller gives (an end with no date is an empty field) and closes the dialog.
#include "platform/mfc/Dialog.h"
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/String.h"

#define IDD_CORP_EVENT_FILTER   7412
#define IDC_CORP_EVENT_FROM     5920
#define IDC_CORP_EVENT_TO       5921

// Asks for the events between the two server dates; either may be empty.
typedef void (*PFN_REQUEST_CORP_EVENTS)(LPCSTR pszFrom, LPCSTR pszTo);

class CCorpEventDownloadFilterDlg : public CDialog
{
public:
    CCorpEventDownloadFilterDlg(CWnd* pParent, PFN_REQUEST_CORP_EVENTS pfnRequest);

    // The date's day in the server's form ("%Y%m%d" with the year less 2000); empty when the
    // value is not a valid date.
    static CString ServerDateOf(const COleDateTime& date);

    COleDateTime m_dateFrom;
    COleDateTime m_dateTo;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    PFN_REQUEST_CORP_EVENTS m_pfnRequest;
};
