// The link's settings dialogs run over its settings: the connection and the feed replay.
#include <cstring>
#include "link/CommDialogs.h"
#include "link/NorvCom.h"
#include "platform/win/kernel/Kernel.h"

int CNorvCom::EditCommSettings(int /*nArg*/)
{
    COMM_DIALOG_VALUES values;
    values.nConnection = m_nConnectionSetting;
    values.strServer = m_strServer;
    values.strServer2 = m_strServer2;
    values.nPort = m_nPort;
    values.bUdp = m_bUseUdp;
    values.bCrypt = m_bCryptSetting;
    values.bLog = m_bLogIn;
    values.strLogPath = m_strLogPath;
    values.font = m_font;
    COMM_SERIAL_VALUES& serial = values.serial;
    serial.nComPort = m_nComPort;
    serial.nBaudRate = m_nBaudRate;
    serial.nByteSize = m_nByteSize;
    serial.nParity = m_nParity;
    serial.nStopBits = m_nStopBits;
    serial.nHandshake = (m_nFlowControl & 3) | (m_bXonXoff ? 4 : 0);
    serial.bAutoWrap = m_bAutoWrap;
    serial.bNewLineOnCr = m_screen.m_bNewLineOnCr;
    serial.bLocalEcho = m_bLocalEcho;

    COMM_DIALOG_OPTIONS options;
    options.nDialogFlags = m_nDialogFlags;
    options.bLogControls = m_bDialogLog;
    options.bCryptControl = m_bDialogCrypt;
    options.bProtocolControl = m_bDialogProtocol;
    options.bPortOpen = m_hPort != INVALID_HANDLE_VALUE;

    CCommSettingsDlg dlg(values, options, m_hWnd ? this : nullptr);
    if (dlg.DoModal() != IDOK)
        return 1;
    const COMM_DIALOG_VALUES& chosen = dlg.GetValues();
    m_nConnectionSetting = chosen.nConnection;
    m_strServer = chosen.strServer;
    m_strServer2 = chosen.strServer2;
    m_nPort = chosen.nPort;
    m_bUseUdp = chosen.bUdp;
    m_bCryptSetting = chosen.bCrypt;
    // A link that hides the choice keeps the encryption its owner set.
    if (m_bDialogCrypt)
        m_link.Options().bEncryption = m_bCryptSetting;

    // Only this dialog opens the traffic log, and only on a connected link; a disconnected one
    // just keeps the choice.
    const BOOL bLogChanged = chosen.bLog != m_bLogIn;
    const BOOL bPathChanged = chosen.strLogPath != m_strLogPath;
    m_bLogIn = chosen.bLog;
    m_strLogPath = chosen.strLogPath;
    if (IsConnected()) {
        if (bLogChanged && !m_bLogIn)
            CloseTrafficLog();
        else if (m_bLogIn && (bLogChanged || bPathChanged || !IsTrafficLogOpen()))
            OpenTrafficLog();           // closes the old file first
    }
    if (!IsReplaying())
        m_link.Options().bLogOutgoing = m_bLogIn;

    m_nComPort = chosen.serial.nComPort;
    m_nBaudRate = chosen.serial.nBaudRate;
    m_nByteSize = chosen.serial.nByteSize;
    m_nParity = chosen.serial.nParity;
    m_nStopBits = chosen.serial.nStopBits;
    m_nFlowControl = chosen.serial.nHandshake & 3;
    m_bXonXoff = (chosen.serial.nHandshake & 4) != 0;
    m_bAutoWrap = chosen.serial.bAutoWrap;
    m_screen.m_bAutoWrap = m_bAutoWrap;
    m_screen.m_bNewLineOnCr = chosen.serial.bNewLineOnCr;
    m_bLocalEcho = chosen.serial.bLocalEcho;
    if (std::memcmp(&chosen.font, &m_font, sizeof m_font) != 0) {
        m_font = chosen.font;
        ApplyTerminalFont();
    }
    SaveCommSettings();
    return 1;
}

int CNorvCom::EditFeedLogSettings()
{
    StopReplay();
    FEED_REPLAY_VALUES values;
    values.bReplay = m_bReplayOn;
    values.bRepeat = m_bReplayRepeat;
    values.nPeriod = m_nReplayPeriod;
    CNorvFeedSettings dlg(values, m_hWnd ? this : nullptr);
    if (dlg.DoModal() != IDOK)
        return 1;
    m_bReplayRepeat = dlg.GetValues().bRepeat;
    m_bReplayOn = dlg.GetValues().bReplay;
    m_nReplayPeriod = dlg.GetValues().nPeriod;
    m_dwReplayStart = GetTickCount();
    if (m_bReplayOn)
        StartReplay();
    return 1;
}
