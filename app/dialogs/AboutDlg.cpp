// The about box.
#include "app/dialogs/AboutDlg.h"

#include "framework/base/SharedGlobals.h"
#include "link/NorvCom.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"

CString GetAboutVersionText()
{
    CString strVersion;
    strVersion.Format("%d.%02d.%02d[%s %s]", 8, 0, 0, "Mar 29 2018", "09:09:21");
    return strVersion;
}

CAboutDlg::CAboutDlg(const CNorvCom* pLink, CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent)
{
    if (pLink == nullptr)
        return;
    pLink->GetConnectionText(&m_strConnection);
    // The closed lock only while the line is really enciphered: the option alone is set on every
    // link of the terminal, connected or not.
    if (pLink->IsEncrypted())
        m_nPicture = IDB_LINK_ENCRYPTED;
}

CAboutDlg::~CAboutDlg()
{
    DestroyWindow();
    if (m_hPicture != nullptr)
        DeleteObject(m_hPicture);
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_ABOUT_CONNECTION, m_strConnection);
}

BOOL CAboutDlg::OnInitDialog()
{
    CSharedGlobals* pShared = GetSharedGlobals();
    if (HICON hIcon = pShared->LoadIcon(IDI_TERMINAL))
        SendDlgItemMessageA(m_hWnd, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    m_hPicture = pShared->LoadBitmap(m_nPicture);
    if (m_hPicture != nullptr)
        SendDlgItemMessageA(m_hWnd, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hPicture));
    SetDlgItemTextA(m_hWnd, IDC_ABOUT_VERSION, GetAboutVersionText());
    return CDialog::OnInitDialog();
}
