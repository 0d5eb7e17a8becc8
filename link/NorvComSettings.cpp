// The link's settings in the section "Communication" of its settings file, and the one line that
// describes the connection.
#include <cstring>
#include "framework/base/SettingsFile.h"
#include "link/NorvCom.h"

// The server a fresh installation points at: the trading server on the broker's own network.
static const char s_szDefaultServer[] = "192.168.1.10";

void CNorvCom::LoadCommSettings()
{
    CSettingsFile settings(m_strSettingsFile, "Communication");
    m_nConnectionSetting = settings.GetInt("Connection type", 1);
    m_nPort = settings.GetLong("IP-Port", 8001);
    m_strServer = static_cast<const char*>(settings.GetString("IP-Server", s_szDefaultServer));
    m_strServer2 = static_cast<const char*>(settings.GetString("IP-Server2", m_strServer));
    m_bCryptSetting = settings.GetBool("CryptConnection", FALSE);
    m_bUseUdp = settings.GetBool("UseUDP", FALSE);
    m_nReconnectMinutes = settings.GetLong("Reconnect Time", 0);
    m_bLocalEcho = settings.GetBool("Localecho", FALSE);
    m_bAutoWrap = settings.GetBool("Autowrap", TRUE);
    m_nComPort = settings.GetInt("COM Port", 1);
    if (m_nComPort < 1 || m_nComPort > 5)
        m_nComPort = 1;
    m_nBaudRate = settings.GetInt("Baud Rate", 9600);
    m_nFlowControl = settings.GetInt("Flowctrl", 0);
    m_nParity = settings.GetInt("Parity", 0);
    m_nStopBits = settings.GetInt("Stopbits", 0);
    m_bXonXoff = settings.GetBool("XonOff", TRUE);
    LOGFONTA defaultFont{};
    defaultFont.lfHeight = -12;
    defaultFont.lfWeight = 400;
    std::strncpy(defaultFont.lfFaceName, "Courier", LF_FACESIZE - 1);
    settings.GetLogFont(&m_font, "Font", &defaultFont);
    m_bLogIn = settings.GetBool("Logfile in", FALSE);
    m_strLogPath = static_cast<const char*>(settings.GetString("Logfile in path", ""));
}

void CNorvCom::SaveCommSettings()
{
    CSettingsFile settings(m_strSettingsFile, "Communication");
    settings.WriteInt("Connection type", m_nConnectionSetting);
    settings.WriteLong("IP-Port", m_nPort);
    settings.WriteString("IP-Server", m_strServer);
    settings.WriteString("IP-Server2", m_strServer2);
    settings.WriteBool("CryptConnection", m_bCryptSetting);
    settings.WriteBool("UseUDP", m_bUseUdp);
    settings.WriteLong("Reconnect Time", m_nReconnectMinutes);
    settings.WriteBool("Localecho", m_bLocalEcho);
    settings.WriteBool("Autowrap", m_bAutoWrap);
    settings.WriteInt("COM Port", m_nComPort);
    settings.WriteInt("Baud Rate", m_nBaudRate);
    settings.WriteInt("Flowctrl", m_nFlowControl);
    settings.WriteInt("Parity", m_nParity);
    settings.WriteInt("Stopbits", m_nStopBits);
    settings.WriteBool("XonOff", m_bXonXoff);
    settings.WriteLogFont("Font", &m_font);
    settings.WriteBool("Logfile in", m_bLogIn);
    settings.WriteString("Logfile in path", m_strLogPath);
    if (m_hWnd) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(&placement))
            settings.WriteWindowPlacement("WinPlace", &placement);
    }
    settings.SaveSettingsFile();
}

void CNorvCom::GetConnectionText(CString* pOut) const
{
    if (!pOut)
        return;
    if (!m_link.IsConnected()) {
        *pOut = "Not connected";
        return;
    }
    if (m_nConnectionSetting == 1) {
        pOut->Format(m_bUseUdp ? "UDP/IP %s:%ld" : "TCP/IP %s:%ld", static_cast<const char*>(m_strServer),
                     m_nPort);
        return;
    }
    // The serial line as the settings file has it, whatever the window holds.
    CSettingsFile settings(m_strSettingsFile, "Communication");
    pOut->Format("Serial COM%d at %d Baud", settings.GetInt("COM Port", 1), settings.GetInt("Baud Rate", 9600));
}
