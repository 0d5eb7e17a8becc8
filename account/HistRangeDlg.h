#pragma once
// The date-range dialog of a report (realized profit and loss, transactions; US or KSE): two
// pickers, from the menu the last seven days, from the report's refresh its last range. OK sends
// the report's request and hands the range to its table.
#include "account/RangeReportTable.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/OleDateTime.h"

#define IDC_RANGE_FROM  5920
#define IDC_RANGE_TO    5921

class CHistRangeDlg : public CDialog
{
public:
    CHistRangeDlg(const RANGE_REPORT_DESC& report, CWnd* pParent);
    // Opens on this range (server form) instead of the last seven days.
    void SetDates(const CString& strFrom, const CString& strTo);
    const CString& GetFrom() const { return m_strFrom; }
    const CString& GetTo() const { return m_strTo; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    const RANGE_REPORT_DESC& m_report;
    COleDateTime m_from, m_to;
    CString m_strFrom, m_strTo;
    BOOL m_bPreset = FALSE;
    CDateTimeCtrl m_pickFrom, m_pickTo;
};
