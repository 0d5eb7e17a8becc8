#pragma once
// Account performance over a date range (forms 7117 US "PF", 7270 KSE "PK", 7328 both markets in
// the base currency "PX"): one class driven by each form's description. The range runs from
// 1 January to yesterday at first; the pickers keep it ordered and never past today. Each form
// fills its eight fields only from the reply to its own request.
#include "account/AccountForm.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDC_PERF_FROM 5920
#define IDC_PERF_TO   5921
#define PERF_RESULTS  8

struct PERFORMANCE_FORM;

class CAccountPerformanceForm : public CAccountForm
{
public:
    explicit CAccountPerformanceForm(const PERFORMANCE_FORM& form);
    static CWnd* Make(UINT nFormId);

    void OnPF(CServerMessage* pMsg) override { OnReply(pMsg); }
    void OnPK(CServerMessage* pMsg) override { OnReply(pMsg); }
    void OnPX(CServerMessage* pMsg) override { OnReply(pMsg); }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnFromDateChanged(NMHDR* pHeader, LRESULT* pResult);
    afx_msg void OnToDateChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void OnReply(CServerMessage* pMsg);
    void Send();
    void SetCaption();

    const PERFORMANCE_FORM& m_form;
    CEnhancedEdit m_results[PERF_RESULTS];
    CEnhancedEdit m_today;
    CDateTimeCtrl m_pickFrom;
    CDateTimeCtrl m_pickTo;
    COleDateTime m_from;
    COleDateTime m_to;
};
