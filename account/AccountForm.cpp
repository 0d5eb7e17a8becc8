// The account forms' common body: the sink, the one pending request and its replies, refusals.
#include "account/AccountForm.h"

#include <cstdlib>

#include "account/AccountForms.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/TableLinks.h"

BEGIN_MESSAGE_MAP(CAccountForm, CFormDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CAccountForm::CAccountForm(UINT nTemplate, const CMessageTypeSet& types)
    : CFormDialog(nTemplate), CZorvatMessageSink(types)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->AddSink(GetSinkRecord());
}

void CAccountForm::SetUpFields(const ACCOUNT_FIELD* pRows, CEnhancedEdit* pEdits, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        pEdits[i].SubclassDlgItem(pRows[i].nControl, m_hWnd);
        pEdits[i].SetDataType(pRows[i].nType, pRows[i].nDecimals);
        pEdits[i].SetLengthLimits(pRows[i].nLength, 0);
        pEdits[i].SetReadOnly(TRUE);
        // Out of the tab order, so that the form's focus goes to what the user types; an empty
        // number field that had the focus would show a zero on leaving it.
        const HWND hEdit = pEdits[i].GetSafeHwnd();
        ::SetWindowLongA(hEdit, GWL_STYLE, ::GetWindowLongA(hEdit, GWL_STYLE) & ~WS_TABSTOP);
    }
}

void CAccountForm::OpenField(CEnhancedEdit& edit)
{
    edit.SetReadOnly(FALSE);
    const HWND hEdit = edit.GetSafeHwnd();
    ::SetWindowLongA(hEdit, GWL_STYLE, ::GetWindowLongA(hEdit, GWL_STYLE) | WS_TABSTOP);
}

BOOL CAccountForm::FocusFirstInput()
{
    if (const HWND hFirst = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE))
        ::SetFocus(hFirst);
    return FALSE;
}

BOOL CAccountForm::SendPending(int nType, LPCSTR pszBody)
{
    m_nPending = 0;
    CString strLine;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    long nNumber = 0;
    if (pApp != nullptr && FormatRequestLine(&strLine, nType, pszBody, 1, FALSE, FALSE, nullptr, FALSE) == REQUEST_OK)
        nNumber = pApp->SendRequest(strLine);
    if (nNumber <= 0) {
        ShowMarketInfo(nullptr, IDS_ACCOUNT_NOT_SENT, 2);
        return FALSE;
    }
    m_nPending = nNumber;
    return TRUE;
}

BOOL CAccountForm::TakeReply(const CServerMessage* pMsg)
{
    if (m_nPending == 0 || GetRawLineNumber(pMsg) != m_nPending)
        return FALSE;
    m_nPending = 0;
    return TRUE;
}

BOOL CAccountForm::IsRefused(const CServerMessage* pMsg, int nField, BOOL bNumberRequired)
{
    const char* pszText = pMsg->GetFieldText(nField);
    char* pszEnd = nullptr;
    const long nCode = strtol(pszText, &pszEnd, 10);
    while (pszEnd != pszText && *pszEnd == ' ')
        ++pszEnd;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    // Read as the server writes its code: an empty result is 0, success.
    if (pApp == nullptr || (bNumberRequired && (pszEnd == pszText || *pszEnd != '\0'))) {
        ShowMarketInfo(nullptr, IDS_ACCOUNT_BAD_REPLY, 2);
        return TRUE;
    }
    if (nCode < 1)
        return FALSE;
    ShowMarketInfo(pApp->GetErrorText(nCode), 0, 2);
    return TRUE;
}

CString CAccountForm::UserAndAccount()
{
    CString strText;
    if (CZORVAT32App* pApp = CZORVAT32App::Get()) {
        const CUser user = pApp->GetUser();
        strText.Format("%d|%s", user.GetUserNumber(), static_cast<LPCSTR>(user.GetAccountText()));
    }
    return strText;
}

CString CAccountForm::GetText(int nId) const
{
    CString strText;
    if (CWnd* pItem = GetDlgItem(nId))
        pItem->GetWindowText(strText);
    return strText;
}

void CAccountForm::SetText(int nId, LPCSTR pszText)
{
    SetDlgItemText(nId, pszText);
}

void CAccountForm::OnDestroy()
{
    if (CMessageSource* pSource = GetSinkRecord()->m_pSource)
        pSource->RemoveSink(GetSinkId());
    CFormDialog::OnDestroy();
}
