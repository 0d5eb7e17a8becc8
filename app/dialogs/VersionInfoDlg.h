#pragma once
// The version information (template 42223): whether a newer version of the program exists, and
// the address the server gave for it as a link. Modal, on its caller's stack.
#include "app/dialogs/HyperLink.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_VERSION_INFO        42223
#define IDC_VERSION_ICON        1532
#define IDC_VERSION_LINK        42224
#define IDC_VERSION_STATUS      42268
#define IDS_VERSION_NEWER       55303
#define IDS_VERSION_CURRENT     55478
#define IDS_NO_ADDRESS          57557
#define VERSION_TEXT_MAX        511     // characters of the server's text that are kept

// The status line of the hello's version status, the same in the dialog and in the information
// window: 55303 (a newer version exists) for status 1, 55478 otherwise.
UINT GetVersionStatusStringId(int nVersionStatus);

class CVersionInfoDlg : public CDialog
{
public:
    // pszText: the address the hello carried (it came before the link was enciphered).
    CVersionInfoDlg(LPCSTR pszText, int nVersionStatus, CWnd* pParent = nullptr);
    ~CVersionInfoDlg() override;

    const CHyperLink& GetLink() const { return m_link; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CHyperlinkControl m_link;
    CString m_strText;                  // at most VERSION_TEXT_MAX characters
    CString m_strStatus;
    int m_nVersionStatus;
};
