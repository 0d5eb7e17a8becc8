// The connection dialog: network or serial, the server and port or the serial line, the options
// the link offers, the traffic log, the terminal font and the serial port's own dialog.
#include <cstring>
#include "link/CommDialogs.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Controls.h"

namespace {
// Which kind of link shows a control: the rows share their places on the two kinds.
enum { SHOW_NETWORK, SHOW_SERIAL };
const struct { int nId; int nKind; } s_kindControls[] = {
    {IDC_COMM_SERVER_LABEL, SHOW_NETWORK}, {IDC_COMM_SERVER, SHOW_NETWORK},
    {IDC_COMM_SERVER2_LABEL, SHOW_NETWORK}, {IDC_COMM_SERVER2, SHOW_NETWORK},
    {IDC_COMM_PORT_LABEL, SHOW_NETWORK},   {IDC_COMM_PORT, SHOW_NETWORK},
    {IDC_COMM_UDP, SHOW_NETWORK},          {IDC_COMM_CRYPT, SHOW_NETWORK},
    {IDC_COMM_COMPORT_LABEL, SHOW_SERIAL}, {IDC_COMM_COMPORT, SHOW_SERIAL},
    {IDC_COMM_SPEED_LABEL, SHOW_SERIAL},   {IDC_COMM_SPEED, SHOW_SERIAL},
    {IDC_COMM_PROTOCOL, SHOW_SERIAL},      {IDC_COMM_SERIALSET, SHOW_SERIAL},
};
}  // namespace

BEGIN_MESSAGE_MAP(CCommSettingsDlg, CDialog)
    ON_CONTROL(BN_CLICKED, IDC_COMM_NETWORK, OnKindClicked)
    ON_CONTROL(BN_CLICKED, IDC_COMM_SERIAL, OnKindClicked)
    ON_CONTROL(BN_CLICKED, IDC_COMM_LOG, OnLogClicked)
    ON_CONTROL(EN_CHANGE, IDC_COMM_LOGPATH, OnLogPathChanged)
    ON_CONTROL(BN_CLICKED, IDC_COMM_BROWSE, OnBrowse)
    ON_CONTROL(BN_CLICKED, IDC_COMM_FONT, OnFont)
    ON_CONTROL(BN_CLICKED, IDC_COMM_SERIALSET, OnSerialSettings)
END_MESSAGE_MAP()

CCommSettingsDlg::CCommSettingsDlg(const COMM_DIALOG_VALUES& values, const COMM_DIALOG_OPTIONS& options, CWnd* pParent)
    : CDialog(IDD_COMM_SETTINGS, pParent), m_values(values), m_options(options)
{
}

BOOL CCommSettingsDlg::IsChecked(int nId) const
{
    return ::IsDlgButtonChecked(m_hWnd, nId) == BST_CHECKED;
}

void CCommSettingsDlg::ShowItem(int nId, BOOL bShow)
{
    if (HWND hItem = ::GetDlgItem(m_hWnd, nId))
        ::ShowWindow(hItem, bShow ? SW_SHOW : SW_HIDE);
}

BOOL CCommSettingsDlg::IsNetworkChosen() const
{
    return IsChecked(IDC_COMM_NETWORK);
}

void CCommSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_COMM_SERVER, m_values.strServer);
    DDX_Text(pDX, IDC_COMM_SERVER2, m_values.strServer2);
    DDX_Text(pDX, IDC_COMM_LOGPATH, m_values.strLogPath);
    // The port matters only to a network link; a serial link keeps what it had.
    if (!pDX->m_bSaveAndValidate || IsNetworkChosen()) {
        DDX_Text(pDX, IDC_COMM_PORT, m_values.nPort);
        DDV_MinMaxLong(pDX, m_values.nPort, 1, 65535);
    }
}

BOOL CCommSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const BOOL bNetwork = m_values.nConnection == 1;
    ::CheckDlgButton(m_hWnd, IDC_COMM_NETWORK, bNetwork ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_COMM_SERIAL, bNetwork ? BST_UNCHECKED : BST_CHECKED);
    ShowItem(IDC_COMM_NETWORK, (m_options.nDialogFlags & 1) != 0);
    ShowItem(IDC_COMM_SERIAL, (m_options.nDialogFlags & 2) != 0);
    FillCommList(::GetDlgItem(m_hWnd, IDC_COMM_COMPORT), COMM_LIST_PORT, m_values.serial.nComPort);
    FillCommList(::GetDlgItem(m_hWnd, IDC_COMM_SPEED), COMM_LIST_SPEED, m_values.serial.nBaudRate);
    ::CheckDlgButton(m_hWnd, IDC_COMM_UDP, m_values.bUdp ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_COMM_CRYPT, m_values.bCrypt ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_COMM_LOG, m_values.bLog ? BST_CHECKED : BST_UNCHECKED);
    UpdateData(FALSE);
    m_bShownNetwork = bNetwork;
    ShowKind();
    EnableLogPath();
    return TRUE;
}

void CCommSettingsDlg::ShowKind()
{
    const BOOL bNetwork = IsNetworkChosen();
    for (const auto& control : s_kindControls)
        ShowItem(control.nId, (control.nKind == SHOW_NETWORK) == (bNetwork != FALSE));
    // What the link does not offer stays hidden on either kind.
    if (!m_options.bCryptControl)
        ShowItem(IDC_COMM_CRYPT, FALSE);
    if (!m_options.bProtocolControl)
        ShowItem(IDC_COMM_PROTOCOL, FALSE);
    for (int nId : {IDC_COMM_LOG, IDC_COMM_LOGPATH, IDC_COMM_BROWSE})
        ShowItem(nId, m_options.bLogControls);
}

void CCommSettingsDlg::EnableLogPath()
{
    const BOOL bLog = IsChecked(IDC_COMM_LOG);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_COMM_LOGPATH), bLog);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_COMM_BROWSE), bLog);
}

void CCommSettingsDlg::OnKindClicked()
{
    const BOOL bNetwork = IsNetworkChosen();
    if (bNetwork == m_bShownNetwork)
        return;
    m_bShownNetwork = bNetwork;
    ::CheckDlgButton(m_hWnd, IDC_COMM_PROTOCOL, BST_UNCHECKED);
    ShowKind();
}

void CCommSettingsDlg::OnLogClicked()
{
    EnableLogPath();
    if (IsChecked(IDC_COMM_LOG) && ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_COMM_LOGPATH)) == 0)
        OnBrowse();
}

void CCommSettingsDlg::OnLogPathChanged()
{
    // A log without a file is no log.
    if (::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_COMM_LOGPATH)) == 0 && IsChecked(IDC_COMM_LOG)) {
        ::CheckDlgButton(m_hWnd, IDC_COMM_LOG, BST_UNCHECKED);
        EnableLogPath();
    }
}

void CCommSettingsDlg::OnBrowse()
{
    char szPath[MAX_PATH] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_COMM_LOGPATH, szPath, sizeof szPath);
    CString strFilter;
    strFilter.LoadString(IDS_COMM_LOG_FILTER);
    CFileDialog dlg(FALSE, "log", szPath, OFN_HIDEREADONLY, strFilter.IsEmpty() ? nullptr : static_cast<LPCSTR>(strFilter), this);
    if (dlg.DoModal() == IDOK) {
        const CString strChosen = dlg.GetPathName();
        ::SetDlgItemTextA(m_hWnd, IDC_COMM_LOGPATH, strChosen);
        if (strChosen.IsEmpty())
            OnLogPathChanged();
    } else if (szPath[0] == '\0') {
        OnLogPathChanged();
    }
}

void CCommSettingsDlg::OnFont()
{
    CFontDialog dlg(&m_values.font, CF_SCREENFONTS, nullptr, this);
    if (dlg.DoModal() == IDOK)
        dlg.GetCurrentFont(&m_values.font);
}

void CCommSettingsDlg::OnSerialSettings()
{
    // The serial dialog starts from what this one shows.
    m_values.serial.nComPort = GetCommListValue(::GetDlgItem(m_hWnd, IDC_COMM_COMPORT), m_values.serial.nComPort);
    m_values.serial.nBaudRate = GetCommListValue(::GetDlgItem(m_hWnd, IDC_COMM_SPEED), m_values.serial.nBaudRate);
    CCommSerialSettings dlg(m_values.serial, m_options.bPortOpen, this);
    if (dlg.DoModal() != IDOK)
        return;
    m_values.serial = dlg.GetValues();
    FillCommList(::GetDlgItem(m_hWnd, IDC_COMM_COMPORT), COMM_LIST_PORT, m_values.serial.nComPort);
    FillCommList(::GetDlgItem(m_hWnd, IDC_COMM_SPEED), COMM_LIST_SPEED, m_values.serial.nBaudRate);
}

void CCommSettingsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    const BOOL bNetwork = IsNetworkChosen();
    if (bNetwork)
        m_values.nConnection = 1;
    else if (m_values.nConnection == 1)
        m_values.nConnection = 0;       // serial; a serial kind stored before is kept
    m_values.serial.nComPort = GetCommListValue(::GetDlgItem(m_hWnd, IDC_COMM_COMPORT), m_values.serial.nComPort);
    m_values.serial.nBaudRate = GetCommListValue(::GetDlgItem(m_hWnd, IDC_COMM_SPEED), m_values.serial.nBaudRate);
    m_values.bUdp = IsChecked(IDC_COMM_UDP);
    if (m_options.bCryptControl)
        m_values.bCrypt = IsChecked(IDC_COMM_CRYPT);
    if (m_options.bLogControls)
        m_values.bLog = IsChecked(IDC_COMM_LOG) && !m_values.strLogPath.IsEmpty();
    EndDialog(IDOK);
}
