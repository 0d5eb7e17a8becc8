// The login and the password and PIN changes: their fields, the checks before anything is handed
// back, and the mismatch of the two new values.
#include "app/dialogs/CredentialDialogs.h"

#include <cstring>
#include <initializer_list>

#include "framework/base/ColumnDataType.h"
#include "framework/base/SharedGlobals.h"
#include "link/ServerMessage.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Dialogs.h"

namespace {
// One field of a dialog as its check sees it: the value read from the control, the control, and
// the fewest characters it must hold.
struct FIELD_CHECK
{
    const CString& strValue;
    int nId;
    int nMinLength;
};

// The control of the first field that may not be sent, 0 when every field may.
int FirstRefusedField(std::initializer_list<FIELD_CHECK> fields)
{
    for (const FIELD_CHECK& field : fields)
        if (!IsAcceptableCredential(field.strValue, field.nMinLength))
            return field.nId;
    return 0;
}

void FocusField(HWND hDlg, int nId)
{
    ::SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(hDlg, nId)), TRUE);
}

void ExchangeField(CDataExchange* pDX, int nId, CEnhancedEdit& field, CString& strValue)
{
    // No minimum here: a short value is refused by the dialog without the exchange's message.
    DDX_EnhancedEdit(pDX, nId, field, COLTYPE_STRING, 0, CREDENTIAL_MAX_LENGTH, 0, EE_KEEP_COLOR, EE_KEEP_COLOR,
                     strValue);
}

const CHANGE_DIALOG_LAYOUT s_passwordLayout = {IDD_CHANGE_PASSWORD, IDC_PASSWORD_USER, IDC_PASSWORD_OLD,
                                               IDC_PASSWORD_NEW, IDC_PASSWORD_REPEAT};
const CHANGE_DIALOG_LAYOUT s_pinLayout = {IDD_CHANGE_PIN, IDC_PIN_USER, IDC_PIN_OLD, IDC_PIN_NEW, IDC_PIN_REPEAT};
}  // namespace

BOOL IsAcceptableCredential(LPCSTR pszText, int nMinLength)
{
    return IsRequestFieldText(pszText) && static_cast<int>(strlen(pszText)) >= nMinLength;
}

// CLoginDlg

CLoginDlg::CLoginDlg(CWnd* pParent) : CDialog(IDD_LOGIN, pParent)
{
}

void CLoginDlg::DoDataExchange(CDataExchange* pDX)
{
    ExchangeField(pDX, IDC_LOGIN_USER, m_editUserId, m_strUserId);
    ExchangeField(pDX, IDC_LOGIN_PASSWORD, m_editPassword, m_strPassword);
}

BOOL CLoginDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The field's exchange only reads: the remembered user id is put in here.
    m_editUserId.SetText(m_strUserId);
    ::SetDlgItemTextA(m_hWnd, IDC_LOGIN_REFUSAL, m_strRefusal);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_LOGIN_REFUSAL), m_strRefusal.IsEmpty() ? SW_HIDE : SW_SHOW);
    // The user id is usually the last one and stays; the password is what is typed first.
    FocusField(m_hWnd, IDC_LOGIN_PASSWORD);
    return FALSE;
}

void CLoginDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (const int nRefused = FirstRefusedField({{m_strUserId, IDC_LOGIN_USER, LOGIN_MIN_LENGTH},
                                                {m_strPassword, IDC_LOGIN_PASSWORD, LOGIN_MIN_LENGTH}})) {
        FocusField(m_hWnd, nRefused);
        return;
    }
    EndDialog(IDOK);
}

// CChangeValueDlg

CChangeValueDlg::CChangeValueDlg(const CHANGE_DIALOG_LAYOUT& layout, LPCSTR pszUserText, CWnd* pParent)
    : CDialog(layout.nTemplate, pParent), m_layout(layout), m_strUserText(pszUserText != nullptr ? pszUserText : "")
{
}

void CChangeValueDlg::DoDataExchange(CDataExchange* pDX)
{
    ExchangeField(pDX, m_layout.nUserId, m_editUserId, m_strUserText);
    ExchangeField(pDX, m_layout.nOld, m_editOld, m_strOld);
    ExchangeField(pDX, m_layout.nNew, m_editNew, m_strNew);
    ExchangeField(pDX, m_layout.nRepeat, m_editRepeat, m_strRepeat);
}

BOOL CChangeValueDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Shown so the user sees whose value changes; the request names the user by number.
    m_editUserId.SetText(m_strUserText);
    m_editUserId.SetReadOnly(TRUE);
    FocusField(m_hWnd, m_layout.nOld);
    return FALSE;
}

void CChangeValueDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // An empty old value is the server's to judge; it is sent as an empty field.
    if (const int nRefused = FirstRefusedField({{m_strOld, m_layout.nOld, 0},
                                                {m_strNew, m_layout.nNew, 0},
                                                {m_strRepeat, m_layout.nRepeat, 0}})) {
        FocusField(m_hWnd, nRefused);
        return;
    }
    if (m_strNew != m_strRepeat) {
        if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow)
            pInfo->AddResourceText(IDS_NEW_VALUES_DIFFER);
        m_editRepeat.Clear();
        m_strRepeat.Empty();
        FocusField(m_hWnd, m_layout.nRepeat);
        return;
    }
    m_strOldValue = m_strOld;
    m_strNewValue = m_strNew;
    EndDialog(IDOK);
}

CChangePasswdDlg::CChangePasswdDlg(LPCSTR pszUserText, CWnd* pParent)
    : CChangeValueDlg(s_passwordLayout, pszUserText, pParent)
{
}

CChangePINDlg::CChangePINDlg(LPCSTR pszUserText, CWnd* pParent) : CChangeValueDlg(s_pinLayout, pszUserText, pParent)
{
}
