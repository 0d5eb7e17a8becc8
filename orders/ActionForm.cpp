// The position forms' common body: fields, requests, refusals and the modal dialog run inside a
// reply handler.
#include "orders/ActionForm.h"

#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "market/TableLinks.h"

BEGIN_MESSAGE_MAP(CActionForm, CFormDialog)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CActionForm::CActionForm(UINT nTemplate, const CMessageTypeSet& types) : CFormDialog(nTemplate), CZorvatMessageSink(types)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->AddSink(GetSinkRecord());
}

void CActionForm::SetUpEdits(const ACTION_EDIT* pRows, CEnhancedEdit* pEdits, int nEdits)
{
    for (int i = 0; i < nEdits; ++i) {
        const ACTION_EDIT& row = pRows[i];
        pEdits[i].SubclassDlgItem(row.nControl, m_hWnd);
        pEdits[i].SetDataType(row.nType, row.nDecimals);
        pEdits[i].SetLengthLimits(row.nLength, 0);
        // Numbers here are names and counts as the server gives them: shown without grouping.
        pEdits[i].SetThousandsGrouping(FALSE);
        SendDlgItemMessage(row.nControl, EM_LIMITTEXT, static_cast<WPARAM>(row.nLength));
    }
}

long CActionForm::SendBody(const ORDER_BODY& body, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword,
                           LPCSTR pszAccount, LPCSTR pszUser)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    ORDER_VALUES values;
    values.pShot = &shot;
    if (pApp != nullptr) {
        const CUser user = pApp->GetUser();
        values.strUser.Format("%d", user.GetUserNumber());
        values.strAccount = user.GetAccountText();
    }
    if (pszAccount != nullptr)
        values.strAccount = pszAccount;
    if (pszUser != nullptr)
        values.strUser = pszUser;
    values.strPassword = pszPassword != nullptr ? pszPassword : "";
    CString strLine;
    UINT nRefusal = BuildOrderRequest(body, values, &strLine);
    long nNumber = 0;
    if (nRefusal == 0 && (pApp == nullptr || (nNumber = pApp->SendRequest(strLine)) == 0))
        nRefusal = IDS_ORDER_NOT_CONNECTED;
    if (nRefusal != 0) {
        ShowMarketInfo(nullptr, nRefusal, 2);
        return 0;
    }
    return nNumber;
}

void CActionForm::ShowError(long nCode)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        ShowMarketInfo(pApp->GetErrorText(nCode), 0, 2);
}

INT_PTR CActionForm::RunModal(CDialog& dialog)
{
    if (m_pModal != nullptr)
        return IDCANCEL;
    m_pModal = &dialog;
    const INT_PTR nResult = dialog.DoModal();
    m_pModal = nullptr;
    return m_bGone ? IDCANCEL : nResult;
}

BOOL CActionForm::DeleteIfGone()
{
    if (!m_bGone)
        return FALSE;
    delete this;
    return TRUE;
}

CString CActionForm::GetText(int nId) const
{
    CString strText;
    if (CWnd* pItem = GetDlgItem(nId))
        pItem->GetWindowText(strText);
    return strText;
}

void CActionForm::SetText(int nId, LPCSTR pszText)
{
    SetDlgItemText(nId, pszText);
}

void CActionForm::EnableControl(int nId, BOOL bEnable)
{
    if (CWnd* pItem = GetDlgItem(nId))
        pItem->EnableWindow(bEnable);
}

void CActionForm::OnDestroy()
{
    // A close or log-off while a dialog runs in a reply handler ends it with Cancel: nothing is
    // sent, and the handler deletes the form when it returns.
    if (m_pModal != nullptr && m_pModal->m_hWnd != nullptr)
        m_pModal->EndDialog(IDCANCEL);
    if (CMessageSource* pSource = GetSinkRecord()->m_pSource)
        pSource->RemoveSink(GetSinkId());
    CFormDialog::OnDestroy();
}

void CActionForm::PostNcDestroy()
{
    if (m_pModal != nullptr)
        m_bGone = TRUE;
    else
        CFormDialog::PostNcDestroy();
}
