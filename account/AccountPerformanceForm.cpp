// Account performance: the range's guard, the request of the form's market and its reply.
#include "account/AccountPerformanceForm.h"

#include "account/AccountForms.h"
#include "app/ZorvatApp.h"
#include "framework/table/TableColumn.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"

// What makes each performance form: its template, its request (the body's leading empty fields,
// the base currency at the end), where the reply's result and values are, and its controls.
struct PERFORMANCE_FORM
{
    UINT nTemplate;
    int nType;
    const char* pszLead;            // before user|account|from|to
    BOOL bBaseCurrency;             // the body ends with it; the frame's caption names it
    int nResultField;
    int nFirstValue;                // the first result field's reply field; the others follow
    int nToday;
    int results[PERF_RESULTS];
    int decimals[PERF_RESULTS];
    int nEditable;                  // the result field left as its template has it
    int nSend;
    int nClose;
    int nInert;
};

namespace {
const char* const DATE_FORMAT = "dd'/'MM'/'yyyy";
const char* const CAPTION = "AccountPerformance ";

const PERFORMANCE_FORM FORMS[] = {
    {IDD_FORM_PERFORMANCE_US, MSG_PF, "", FALSE, 4, 5, 1683,
     {5925, 5928, 5926, 5927, 5929, 5930, 1716, 5931}, {-2, -2, -2, -2, -2, -2, -2, -2}, 1716, 5923, 5924, 1711},
    {IDD_FORM_PERFORMANCE_KSE, MSG_PK, "||", FALSE, 0, 6, 1683,
     {5925, 5928, 5926, 5927, 5929, 5930, 1716, 5931}, {-3, -3, -3, -3, -3, -3, -2, -2}, 1716, 5923, 5924, 1711},
    {IDD_FORM_PERFORMANCE_COMBINED, MSG_PX, "", TRUE, 4, 5, 6960,
     {6962, 6965, 6963, 6964, 6966, 6967, 6973, 6968}, {-2, -2, -2, -2, -2, -2, -2, -2}, 6973, 6969, 6971, 6972},
};

// Today at 00:00 by the terminal's clock.
COleDateTime Today()
{
    const COleDateTime now(GetGlobals()->GetNow());
    return COleDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
}

// A date in the server's form ("yymmdd" with the year less 2000 unpadded).
CString ServerDate(const COleDateTime& date)
{
    return ConvertDisplayDateField(date.Format("%Y%m%d"), COLTYPE_DATE_TEXT);
}
}  // namespace

BEGIN_MESSAGE_MAP(CAccountPerformanceForm, CAccountForm)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_PERF_FROM, OnFromDateChanged)
    ON_NOTIFY(DTN_DATETIMECHANGE, IDC_PERF_TO, OnToDateChanged)
END_MESSAGE_MAP()

CAccountPerformanceForm::CAccountPerformanceForm(const PERFORMANCE_FORM& form)
    : CAccountForm(form.nTemplate, {form.nType}), m_form(form)
{
    m_from = COleDateTime(GetGlobals()->GetNow());
    m_to = m_from;
}

CWnd* CAccountPerformanceForm::Make(UINT nFormId)
{
    for (const PERFORMANCE_FORM& form : FORMS)
        if (form.nTemplate == nFormId)
            return new CAccountPerformanceForm(form);
    return nullptr;
}

BOOL CAccountPerformanceForm::OnInitDialog()
{
    CAccountForm::OnInitDialog();
    ACCOUNT_FIELD rows[PERF_RESULTS];
    for (int i = 0; i < PERF_RESULTS; ++i)
        rows[i] = {m_form.results[i], COLTYPE_DOUBLE, m_form.decimals[i], 254};
    SetUpFields(rows, m_results, PERF_RESULTS);
    // Account figures run to millions: grouped, as the number columns of the account tables are.
    for (int i = 0; i < PERF_RESULTS; ++i) {
        m_results[i].SetThousandsGrouping(TRUE);
        if (m_form.results[i] == m_form.nEditable)
            OpenField(m_results[i]);
    }
    const ACCOUNT_FIELD today = {m_form.nToday, COLTYPE_STRING, 0, 10};
    SetUpFields(&today, &m_today, 1);
    const COleDateTime now(GetGlobals()->GetNow());
    m_today.SetText(now.Format("%d/%m/%Y"));
    m_from = COleDateTime(now.GetYear(), 1, 1, 0, 0, 0);
    m_to = now - COleDateTimeSpan(1, 0, 0, 0);
    m_pickFrom.SubclassDlgItem(IDC_PERF_FROM, this);
    m_pickTo.SubclassDlgItem(IDC_PERF_TO, this);
    m_pickFrom.SetFormat(DATE_FORMAT);
    m_pickTo.SetFormat(DATE_FORMAT);
    m_pickFrom.SetTime(m_from);
    m_pickTo.SetTime(m_to);
    SetCaption();
    return FocusFirstInput();
}

void CAccountPerformanceForm::SetCaption()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (m_form.bBaseCurrency && pApp != nullptr && GetParent() != nullptr)
        GetParent()->SetWindowText(CString(CAPTION) + pApp->GetBaseCurrency());
}

BOOL CAccountPerformanceForm::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        const int nId = LOWORD(wParam);
        if (nId == m_form.nSend) {
            Send();
            return TRUE;
        }
        if (nId == m_form.nClose) {
            CloseForm();
            return TRUE;
        }
        if (nId == m_form.nInert)
            return TRUE;
    }
    return CAccountForm::OnCommand(wParam, lParam);
}

void CAccountPerformanceForm::Send()
{
    m_pickFrom.GetTime(m_from);
    m_pickTo.GetTime(m_to);
    CString strBody;
    strBody.Format("%s%s|%s|%s", m_form.pszLead, static_cast<LPCSTR>(UserAndAccount()),
                   static_cast<LPCSTR>(ServerDate(m_from)), static_cast<LPCSTR>(ServerDate(m_to)));
    if (m_form.bBaseCurrency)
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            strBody += "|" + pApp->GetBaseCurrency();
    SendPending(m_form.nType, strBody);
}

void CAccountPerformanceForm::OnReply(CServerMessage* pMsg)
{
    if (pMsg == nullptr || pMsg->GetType() != m_form.nType || !TakeReply(pMsg))
        return;
    if (IsRefused(pMsg, m_form.nResultField))
        return;
    // A figure the server leaves empty (a return with no opening value) shows nothing, not a zero.
    for (int i = 0; i < PERF_RESULTS; ++i) {
        const char* pszText = pMsg->GetFieldText(m_form.nFirstValue + i);
        if (*pszText == '\0')
            m_results[i].Clear();
        else
            m_results[i].SetText(pszText);
    }
    SetCaption();
}

void CAccountPerformanceForm::OnFromDateChanged(NMHDR*, LRESULT* pResult)
{
    m_pickFrom.GetTime(m_from);
    m_pickTo.GetTime(m_to);
    if (m_from > m_to) {
        m_from = m_to;
        m_pickFrom.SetTime(m_from);
    }
    *pResult = 0;
}

void CAccountPerformanceForm::OnToDateChanged(NMHDR*, LRESULT* pResult)
{
    m_pickFrom.GetTime(m_from);
    m_pickTo.GetTime(m_to);
    const COleDateTime today = Today();
    if (m_to > today) {
        m_to = today;
        m_pickTo.SetTime(m_to);
    } else if (m_to < m_from) {
        m_to = m_from;
        m_pickTo.SetTime(m_to);
    }
    *pResult = 0;
}
