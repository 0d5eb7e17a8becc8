// The serial port's dialog: the port, the line's settings, the handshake bits and the terminal's
// options.
#include "link/CommDialogs.h"
#include "platform/win/user/Controls.h"

namespace {
// A check box for one handshake bit.
const struct { int nId; int nBit; } s_handshake[] = {
    {IDC_SERIAL_DTRDSR, 1}, {IDC_SERIAL_RTSCTS, 2}, {IDC_SERIAL_XONXOFF, 4},
};
// A check box for one of the terminal's options.
const struct { int nId; BOOL COMM_SERIAL_VALUES::*pFlag; } s_options[] = {
    {IDC_SERIAL_AUTOWRAP, &COMM_SERIAL_VALUES::bAutoWrap},
    {IDC_SERIAL_NEWLINE, &COMM_SERIAL_VALUES::bNewLineOnCr},
    {IDC_SERIAL_LOCALECHO, &COMM_SERIAL_VALUES::bLocalEcho},
};
}  // namespace

CCommSerialSettings::CCommSerialSettings(const COMM_SERIAL_VALUES& values, BOOL bPortOpen, CWnd* pParent)
    : CDialog(IDD_COMM_SERIAL, pParent), m_values(values), m_bPortOpen(bPortOpen)
{
}

BOOL CCommSerialSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillCommList(::GetDlgItem(m_hWnd, IDC_SERIAL_PORT), COMM_LIST_PORT, m_values.nComPort);
    // An open port cannot change under the link.
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_SERIAL_PORT), !m_bPortOpen);
    FillCommList(::GetDlgItem(m_hWnd, IDC_SERIAL_SPEED), COMM_LIST_SPEED, m_values.nBaudRate);
    FillCommList(::GetDlgItem(m_hWnd, IDC_SERIAL_BYTESIZE), COMM_LIST_BYTESIZE, m_values.nByteSize);
    FillCommList(::GetDlgItem(m_hWnd, IDC_SERIAL_PARITY), COMM_LIST_PARITY, m_values.nParity);
    FillCommList(::GetDlgItem(m_hWnd, IDC_SERIAL_STOPBITS), COMM_LIST_STOPBITS, m_values.nStopBits);
    for (const auto& box : s_handshake)
        ::CheckDlgButton(m_hWnd, box.nId, (m_values.nHandshake & box.nBit) ? BST_CHECKED : BST_UNCHECKED);
    for (const auto& box : s_options)
        ::CheckDlgButton(m_hWnd, box.nId, m_values.*box.pFlag ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CCommSerialSettings::OnOK()
{
    m_values.nComPort = GetCommListValue(::GetDlgItem(m_hWnd, IDC_SERIAL_PORT), m_values.nComPort);
    m_values.nBaudRate = GetCommListValue(::GetDlgItem(m_hWnd, IDC_SERIAL_SPEED), m_values.nBaudRate);
    m_values.nByteSize = GetCommListValue(::GetDlgItem(m_hWnd, IDC_SERIAL_BYTESIZE), m_values.nByteSize);
    m_values.nParity = GetCommListValue(::GetDlgItem(m_hWnd, IDC_SERIAL_PARITY), m_values.nParity);
    m_values.nStopBits = GetCommListValue(::GetDlgItem(m_hWnd, IDC_SERIAL_STOPBITS), m_values.nStopBits);
    m_values.nHandshake = 0;
    for (const auto& box : s_handshake)
        if (::IsDlgButtonChecked(m_hWnd, box.nId) == BST_CHECKED)
            m_values.nHandshake |= box.nBit;
    for (const auto& box : s_options)
        m_values.*box.pFlag = ::IsDlgButtonChecked(m_hWnd, box.nId) == BST_CHECKED;
    EndDialog(IDOK);
}
