#pragma once
// The about box (template 2): the program's icon, its version, a picture of whether the link is
// encrypted, and the link's connection. Modal, on its caller's stack.
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

class CNorvCom;

#define IDD_ABOUTBOX            2
#define IDC_ABOUT_PICTURE       1530
#define IDC_ABOUT_VERSION       1531
#define IDC_ABOUT_ICON          1532
#define IDC_ABOUT_CONNECTION    5602
#define IDI_TERMINAL            280
#define IDB_LINK_ENCRYPTED      234
#define IDB_LINK_PLAIN          235

// The version text: "8.00.00[Mar 29 2018 09:09:21]".
CString GetAboutVersionText();

class CAboutDlg : public CDialog
{
public:
    // pLink: the link window, null before the first connection. Its state is read here, once.
    explicit CAboutDlg(const CNorvCom* pLink, CWnd* pParent = nullptr);
    ~CAboutDlg() override;

    const CString& GetConnectionText() const { return m_strConnection; }
    UINT GetPictureId() const { return m_nPicture; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CString m_strConnection = "Not connected";
    UINT m_nPicture = IDB_LINK_PLAIN;
    HBITMAP m_hPicture = nullptr;       // owned: a static does not free the image it shows
};
