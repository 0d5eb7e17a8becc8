// The version information dialog.
#include "app/dialogs/VersionInfoDlg.h"

#include <cstring>

#include "framework/base/SharedGlobals.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"

UINT GetVersionStatusStringId(int nVersionStatus)
{
    return nVersionStatus == 1 ? IDS_VERSION_NEWER : IDS_VERSION_CURRENT;
}

CVersionInfoDlg::CVersionInfoDlg(LPCSTR pszText, int nVersionStatus, CWnd* pParent)
    : CDialog(IDD_VERSION_INFO, pParent), m_nVersionStatus(nVersionStatus)
{
    // The text came from the server before encryption: kept only as far as the dialog shows it.
    const char* psz = pszText != nullptr ? pszText : "";
    m_strText = CString(psz, static_cast<int>(strnlen(psz, VERSION_TEXT_MAX)));
}

CVersionInfoDlg::~CVersionInfoDlg()
{
    DestroyWindow();
}

void CVersionInfoDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_VERSION_LINK, m_strText);
    DDX_Text(pDX, IDC_VERSION_STATUS, m_strStatus);
}

BOOL CVersionInfoDlg::OnInitDialog()
{
    SendDlgItemMessageA(m_hWnd, IDC_VERSION_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_INFORMATION)), 0);
    CSharedGlobals* pShared = GetSharedGlobals();
    if (m_strText.IsEmpty())
        pShared->LoadString(m_strText, IDS_NO_ADDRESS);
    pShared->LoadString(m_strStatus, GetVersionStatusStringId(m_nVersionStatus));
    m_link.AttachToDlgItem(m_hWnd, IDC_VERSION_LINK, m_strText);
    return CDialog::OnInitDialog();
}
