#pragma once
// A report of a date range: made by its date-range dialog on the first query, reused by every
// later one, titled with the range the server echoes and refreshed through the same dialog
// preset with the last range. The description adds to the account table's where the reply
// echoes the range, which views the caption titles and the request's body.
#include "account/AccountTable.h"

#define ID_APP_US_REALIZED        33120
#define ID_APP_US_TRANSACTIONS    33140
#define ID_APP_KSE_TRANSACTIONS   33234
#define ID_APP_KSE_REALIZED       33236
#define IDD_REALIZED_RANGE        7118
#define IDD_TRANSACTION_RANGE     7119

struct RANGE_REPORT_DESC
{
    ACCOUNT_DESC account;
    UINT nDialogId;                     // the date-range dialog's template
    // The request's body: %ld the user number, %s the account, %s from and %s to (server form).
    LPCSTR pszBody;
    int nEchoFrom, nEchoTo;             // the begin line's fields that echo the range
    int nErrorField;                    // the begin line's error code
    BOOL bEveryView;                    // the caption titles every view, else view 0 only
};

class CRangeReportTable : public CAccountTable
{
public:
    CRangeReportTable(const RANGE_REPORT_DESC& desc, CZorvatMessageSource* pSource);
    const RANGE_REPORT_DESC& GetReport() const { return m_report; }

    // The range last asked for, in the server's date form.
    void SetDateRange(const CString& strFrom, const CString& strTo);
    const CString& GetFrom() const { return m_strFrom; }
    const CString& GetTo() const { return m_strTo; }
    // The refresh: the date-range dialog again, preset with the last range.
    BOOL SendRequest() override;
    using CAccountTable::SendRequest;
    // After the dialog's request went out with this link number.
    virtual void OnQuerySent(long /*nNumber*/) {}
    // "name from date through date" once a reply has echoed its range.
    CString GetViewTitle(CViewTable* pView, BOOL bLanguage) override;

protected:
    // A reply begins: the caption takes its echoed range, the rows are emptied and the reply
    // opened (bEmpty FALSE: the rows stay, for a second reply that adds to them). FALSE, and
    // only the server's error text in the information window, for a refusal.
    BOOL BeginRangeReply(CServerMessage* pMsg, BOOL bEmpty = TRUE);
    // The captions take the range a begin line echoes in fields nFrom and nTo; with
    // bFirstViewOnly only view 0's, the others keep theirs.
    void ShowRange(CServerMessage* pMsg, int nFrom, int nTo, BOOL bFirstViewOnly = FALSE);
    // A begin line whose field nField holds an error code above 0: its text is shown.
    static BOOL IsRefusal(CServerMessage* pMsg, int nField);
    // A row of the reply now arriving (null outside it, or refused by the store).
    CDataBuffer* AddReplyRow(CServerMessage* pMsg);
    // A live line's row, when its date (field 1) lies within the range the last reply echoed
    // (its ends included; an end that was empty or 0 bounds nothing); null otherwise.
    CDataBuffer* AddLiveRow(CServerMessage* pMsg);
    // Dates as the grid shows them from the server's form (empty stays empty).
    static CString ShownDate(LPCSTR pszServerDate);

private:
    const RANGE_REPORT_DESC& m_report;
    CString m_strFrom, m_strTo;
    CString m_strShownFrom, m_strShownTo;   // the last echoed range; empty before the first
    CString m_strFirstFrom, m_strFirstTo;   // view 0's own, when a later reply titled it alone
    long m_nLower = 0, m_nUpper = 0;        // the same as server dates; 0 for none
};

// Opens the report's date-range dialog over hParent: from the menu (no range: the last seven
// days) or preset. On OK the request goes out; the table is then made or emptied, shown, and
// handed the range. With the link down nothing changes but a line in the information window.
INT_PTR RunRangeDialog(const RANGE_REPORT_DESC& report, HWND hParent, const CString& strFrom = CString(),
                       const CString& strTo = CString());
// The report's request for the range (server form) goes out; the table is then made or emptied,
// shown and armed with the range and the request's number. 0, and nothing changed but a line in
// the information window, when the link cannot send.
long QueryRangeReport(const RANGE_REPORT_DESC& report, const CString& strFrom, const CString& strTo);
// The server's date form of a YYYYMMDD text: the year minus 2000, then MMDD ("260310").
CString ToServerDate(LPCSTR pszDigits);
