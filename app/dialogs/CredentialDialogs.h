#pragma once
// The dialogs that take the user's credentials, from templates of the language module: the login
// (CLoginDlg) and the password and PIN changes (CChangePasswdDlg, CChangePINDlg). Each lives on its
// caller's stack for one DoModal; the caller reads the values after IDOK.
//
// Every field takes at most 12 characters. A field that is too short, or that holds '|' or a
// control character, keeps the dialog open with the focus on that field, and nothing is handed
// back: the values go into "|"-separated request lines, where a '|' would shift the fields after
// it and a line feed would end the line.
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_LOGIN               501
#define IDC_LOGIN_USER          1001
#define IDC_LOGIN_PASSWORD      1002
#define IDC_LOGIN_REFUSAL       1003
#define IDD_CHANGE_PASSWORD     285
#define IDC_PASSWORD_USER       1693
#define IDC_PASSWORD_OLD        1143
#define IDC_PASSWORD_NEW        1144
#define IDC_PASSWORD_REPEAT     1145
#define IDD_CHANGE_PIN          7258
#define IDC_PIN_USER            1753
#define IDC_PIN_OLD             1754
#define IDC_PIN_NEW             1755
#define IDC_PIN_REPEAT          1756
#define IDS_NEW_VALUES_DIFFER   40304

#define CREDENTIAL_MAX_LENGTH   12
#define LOGIN_MIN_LENGTH        6

// TRUE when the text may go into a request: at least nMinLength characters, no '|', no control
// character (below 0x20, or 0x7F).
BOOL IsAcceptableCredential(LPCSTR pszText, int nMinLength);

class CLoginDlg : public CDialog
{
public:
    explicit CLoginDlg(CWnd* pParent = nullptr);

    // The user id shown when the dialog opens (the last one that logged in).
    void SetUserId(LPCSTR pszUserId) { m_strUserId = pszUserId; }
    // Why the server refused the last login, in a line of its own; none hides the line.
    void SetRefusal(LPCSTR pszText) { m_strRefusal = pszText != nullptr ? pszText : ""; }
    // As typed, after IDOK.
    const CString& GetUserId() const { return m_strUserId; }
    const CString& GetPassword() const { return m_strPassword; }

protected:
    BOOL OnInitDialog() override;       // the focus goes to the password
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CEnhancedEdit m_editUserId;
    CEnhancedEdit m_editPassword;
    CString m_strUserId;
    CString m_strPassword;
    CString m_strRefusal;
};

// The controls of one change dialog: its template and its four fields.
struct CHANGE_DIALOG_LAYOUT
{
    UINT nTemplate;
    int nUserId;
    int nOld;
    int nNew;
    int nRepeat;
};

// The change dialogs' common body: the user id shown read-only, the old value, and the new value
// typed twice. Two new values that differ in any way (case, a blank) put message 40304 into the
// information window, empty the repeated field and keep the dialog open.
class CChangeValueDlg : public CDialog
{
public:
    // The old and the new value, after IDOK.
    const CString& GetOldValue() const { return m_strOldValue; }
    const CString& GetNewValue() const { return m_strNewValue; }

protected:
    CChangeValueDlg(const CHANGE_DIALOG_LAYOUT& layout, LPCSTR pszUserText, CWnd* pParent);
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    const CHANGE_DIALOG_LAYOUT& m_layout;
    CEnhancedEdit m_editUserId;
    CEnhancedEdit m_editOld;
    CEnhancedEdit m_editNew;
    CEnhancedEdit m_editRepeat;
    CString m_strUserText;              // shown, never read back
    CString m_strOld, m_strNew, m_strRepeat;
    CString m_strOldValue, m_strNewValue;
};

class CChangePasswdDlg : public CChangeValueDlg
{
public:
    explicit CChangePasswdDlg(LPCSTR pszUserText, CWnd* pParent = nullptr);
};

class CChangePINDlg : public CChangeValueDlg
{
public:
    explicit CChangePINDlg(LPCSTR pszUserText, CWnd* pParent = nullptr);
};
