#pragma once
// The date-range dialog of a report (realized profit and loss, transactions; US or KSE): two
// pickers, from the menu the last seven days, from the report's refresh its last range. OK sends
// the report's request and hands the range to its table.
#include "account/HistTransactionKSETable.h"
#include "account/HistTransactionTable.h"
#include "account/RangeReportTable.h"
#include "account/RealizedProfitLossKSETable.h"
#include "account/RealizedProfitLossTable.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/OleDateTime.h"

#define IDC_RANGE_FROM  5920
#define IDC_RANGE_TO    5921

class CHistRangeDlg : public CDialog
{
public:
    CHistRangeDlg(const RANGE_REPORT_DESC& report, CWnd* pParent);
    // A range dialog of another template and pickers, opening nDaysBack days back; its Query
    // sends what its report asks for.
    CHistRangeDlg(UINT nTemplate, UINT nFromId, UINT nToId, int nDaysBack, CWnd* pParent);
    // Opens on this range (server form) instead of the last seven days.
    void SetDates(const CString& strFrom, const CString& strTo);
    const CString& GetFrom() const { return m_strFrom; }
    const CString& GetTo() const { return m_strTo; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Sends the request for m_strFrom to m_strTo and hands the range to the report's table.
    virtual void Query();

private:
    const RANGE_REPORT_DESC* m_pReport = nullptr;
    UINT m_nFromId = IDC_RANGE_FROM;
    UINT m_nToId = IDC_RANGE_TO;
    int m_nDaysBack;
    COleDateTime m_from, m_to;
    CString m_strFrom, m_strTo;
    BOOL m_bPreset = FALSE;
    CDateTimeCtrl m_pickFrom, m_pickTo;
};

// The four reports' dialogs: one design, each bound to its report.
template <const RANGE_REPORT_DESC& REPORT>
class CHistReportDlg : public CHistRangeDlg
{
public:
    explicit CHistReportDlg(CWnd* pParent = nullptr) : CHistRangeDlg(REPORT, pParent) {}
};
using CHistProfitLossDlg = CHistReportDlg<g_realizedProfitLossTable>;
using CHistProfitLossKSEDlg = CHistReportDlg<g_realizedProfitLossKSETable>;
using CHistTransactionDlg = CHistReportDlg<g_histTransactionTable>;
using CHistTransactionKSEDlg = CHistReportDlg<g_histTransactionKSETable>;

#define IDD_COMBINED_REALIZED       7325
#define IDC_COMBINED_REALIZED_FROM  6954
#define IDC_COMBINED_REALIZED_TO    6955

// The range of the combined realized profit and loss: opens three days back, or on the table's
// range when the table refreshes; OK asks for both markets' results.
class CCombinedRealizedProfitLossDlg : public CHistRangeDlg
{
public:
    explicit CCombinedRealizedProfitLossDlg(CWnd* pParent)
        : CHistRangeDlg(IDD_COMBINED_REALIZED, IDC_COMBINED_REALIZED_FROM, IDC_COMBINED_REALIZED_TO, 3, pParent) {}
    // Preset with strFrom and strTo (server form) unless both are empty.
    static INT_PTR Run(HWND hParent, const CString& strFrom, const CString& strTo);
    static INT_PTR RunFresh(HWND hParent) { return Run(hParent, CString(), CString()); }

protected:
    void Query() override;
};
