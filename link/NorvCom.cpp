// The link window's life and messages: creation, closing, destruction, timers, connecting by
// type, and the port the protocol machinery writes, reports and keeps time through.
#include "link/NorvCom.h"
#include "framework/base/SettingsFile.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/serial/Comm.h"
#include "platform/win/user/Messages.h"

BEGIN_MESSAGE_MAP(CNorvCom, CMDIChildWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_LINK_SOCKET, OnSocketNotify)
    ON_MESSAGE(WM_COMMNOTIFY, OnCommNotify)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_CHAR()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CNorvCom::CNorvCom(const CString& strSettingsFile, int nDialogFlags, long nClientId, int nSendQueueSize)
    : m_nDialogFlags(nDialogFlags), m_link(this, nSendQueueSize), m_strSettingsFile(strSettingsFile)
{
    LINK_OPTIONS& options = m_link.Options();
    options.nIdlePeriod = 30000;
    options.chSequenceLimit = '9';
    options.bDecompress = TRUE;
    options.bChecksums = TRUE;
    options.nClientId = nClientId;
    m_link.ResetLinkState();
    LoadCommSettings();
    // The stored choice, once: a subclass may insist on its own, and a reload keeps it.
    options.bEncryption = m_bCryptSetting;
}

CNorvCom::~CNorvCom()
{
    // Normally WM_DESTROY did all this; an object that never had a window still lets go.
    StopReplay();
    CloseSerialPort();
    CloseSocket();
    CloseTrafficLog();
    if (m_hReadDone)
        CloseHandle(m_hReadDone);
    if (m_hFont)
        DeleteObject(m_hFont);
}

int CNorvCom::OnCreate(LPCREATESTRUCTA pCreate)
{
    if (CMDIChildWnd::OnCreate(pCreate) == -1)
        return -1;
    // The serial watch and the window meet at this event: set when the window has read.
    m_hReadDone = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (!m_hReadDone)
        return -1;
    m_screen.Clear();
    MeasureCells();
    m_link.ResetReceive();
    m_bCreated = TRUE;
    CSettingsFile settings(m_strSettingsFile, "Communication");
    WINDOWPLACEMENT placement{};
    BOOL bDefault = TRUE;
    settings.GetWindowPlacement(&placement, "WinPlace", nullptr, &bDefault);
    if (!bDefault) {
        // Placed where it was, but hidden: the link works unseen until the user asks for it.
        placement.showCmd = SW_HIDE;
        SetWindowPlacement(&placement);
    }
    return 0;
}

void CNorvCom::OnClose()
{
    // Closing only hides the terminal view; the link stays, and the user goes on in the next window.
    if (CMDIFrameWnd* pFrame = GetMDIFrame())
        if (pFrame->MDIGetActive() == this)
            pFrame->MDINext();
    ShowLinkWindow(SW_HIDE);
}

void CNorvCom::OnDestroy()
{
    OnCommDestroy();
    StopReplay();
    for (UINT nId : {LINK_TIMER_IDLE, LINK_TIMER_RECONNECT, LINK_TIMER_CONNECT, LINK_TIMER_RESUME_WAIT})
        KillTimer(nId);
    Disconnect(FALSE);
    CloseSerialPort();
    CloseSocket();
    m_bCreated = FALSE;
    CMDIChildWnd::OnDestroy();
}

void CNorvCom::ShowLinkWindow(int nShowCommand)
{
    if (!m_hWnd)
        return;
    ShowWindow(nShowCommand);
    m_bVisible = IsWindowVisible();
}

BOOL CNorvCom::Connect(int nType, int /*nArg*/)
{
    m_link.PrepareConnect(nType == -1 ? LINK_NETWORK : nType);
    if (!m_bCreated)
        return FALSE;
    if (nType == -1) {
        LoadCommSettings();
        nType = m_nConnectionSetting == 1 ? LINK_NETWORK : LINK_SERIAL_RAW;
    }
    if (nType != LINK_SERIAL_RAW && nType != LINK_SERIAL_PROTOCOL && nType != LINK_NETWORK &&
        nType != LINK_SERIAL_SWITCH && nType != LINK_DIRECT_SOCKET)
        return FALSE;
    if (nType == LINK_SERIAL_SWITCH) {
        if (m_hPort == INVALID_HANDLE_VALUE || m_link.GetType() != LINK_SERIAL_RAW)
            return FALSE;
        m_link.OnOpened(LINK_SERIAL_SWITCH);
        ShowLinkWindow(SW_HIDE);
        return m_link.IsConnected();
    }
    // A second connect replaces the link that is open or still being made.
    if (m_link.IsConnected() || m_bConnecting)
        Disconnect(TRUE);
    LINK_OPTIONS& options = m_link.Options();
    options.bUdp = m_bUseUdp && (nType == LINK_NETWORK || nType == LINK_DIRECT_SOCKET);
    options.bSerialProtocol = m_nConnectionSetting == 2;
    options.bDualPort = m_nComPort == 5;
    options.nReconnectMinutes = m_nReconnectMinutes;
    options.bLogOutgoing = m_bLogIn;
    if (nType == LINK_NETWORK || nType == LINK_DIRECT_SOCKET)
        return OpenSocket(nType);
    if (!OpenSerialPort()) {
        if (nType != LINK_SERIAL_PROTOCOL || !options.bDualPort)
            return FALSE;
        m_nDualCurrent = m_nDualCurrent == 1 ? 2 : 1;
        if (!OpenSerialPort())
            return FALSE;
    }
    m_link.OnOpened(nType);
    ShowLinkWindow(nType == LINK_SERIAL_RAW ? SW_SHOW : SW_HIDE);
    return m_link.IsConnected();
}

BOOL CNorvCom::Disconnect(BOOL bKeepResume)
{
    if (m_bConnecting) {
        // A connect that has not answered yet is simply dropped.
        KillTimer(LINK_TIMER_CONNECT);
        m_bConnecting = FALSE;
        CloseSocket();
        return FALSE;
    }
    // Whoever ends the link ends its reconnecting; a loss starts it again after.
    StopTimer(LINK_TIMER_RECONNECT);
    if (!m_link.IsConnected())
        return FALSE;
    const int nType = m_link.GetType();
    m_link.OnClosed(bKeepResume);
    if (nType == LINK_SERIAL_RAW || nType == LINK_SERIAL_PROTOCOL) {
        CloseSerialPort();
        if (m_link.Options().bDualPort)
            m_nDualCurrent = m_nDualCurrent == 1 ? 2 : 1;
    } else {
        CloseSocket();
    }
    return TRUE;
}

BOOL CNorvCom::SendLine(const char* pszLine, long* pnNumber)
{
    if (pnNumber)
        *pnNumber = 0;
    if (!m_link.IsConnected())
        return FALSE;
    return m_link.SendLine(pszLine, pnNumber);
}

void CNorvCom::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case LINK_TIMER_REPLAY:
        OnReplayTick();
        break;
    case LINK_TIMER_IDLE:
        m_link.OnIdleTimer();
        break;
    case LINK_TIMER_RECONNECT:
        if (m_link.IsConnected()) {
            // A direct link back up needs no more tries until it is lost again.
            if (m_link.GetType() == LINK_DIRECT_SOCKET)
                KillTimer(LINK_TIMER_RECONNECT);
        } else if (!m_bConnecting) {
            Connect(m_link.GetType() == LINK_DIRECT_SOCKET ? LINK_DIRECT_SOCKET : LINK_NETWORK, 1);
        }
        break;
    case LINK_TIMER_CONNECT:
        KillTimer(LINK_TIMER_CONNECT);
        if (m_bConnecting)
            FinishConnect(WSAETIMEDOUT);
        break;
    case LINK_TIMER_RESUME_WAIT:
        m_link.OnResumeWaitTimer();
        break;
    default:
        CMDIChildWnd::OnTimer(nIDEvent);
        break;
    }
}

void CNorvCom::OnLine(char* pszLine)
{
    if (m_pLog) {
        fprintf(m_pLog, "%s\n", pszLine);
        fflush(m_pLog);
    }
    OnLineReceived(pszLine);
}

void CNorvCom::StartTimer(UINT nId, UINT nMs)
{
    if (m_hWnd)
        SetTimer(nId, nMs);
}

void CNorvCom::StopTimer(UINT nId)
{
    if (m_hWnd)
        KillTimer(nId);
}

void CNorvCom::Log(const char* pszText)
{
    if (m_pLog && pszText) {
        fputs(pszText, m_pLog);
        fflush(m_pLog);
    }
}

void CNorvCom::Reconnect(int nType)
{
    Disconnect(TRUE);
    Connect(nType, 1);
}

void CNorvCom::ClearInput()
{
    if (m_hPort != INVALID_HANDLE_VALUE)
        PurgeComm(m_hPort, PURGE_RXABORT | PURGE_RXCLEAR);
}

void CNorvCom::CloseLink(int nCode)
{
    Disconnect(FALSE);
    OnCommState(nCode);
}

BOOL CNorvCom::OpenTrafficLog()
{
    CloseTrafficLog();
    if (m_strLogPath.IsEmpty())
        return FALSE;
    m_pLog = fopen(m_strLogPath, "w");
    return m_pLog != nullptr;
}

void CNorvCom::CloseTrafficLog()
{
    if (m_pLog)
        fclose(m_pLog);
    m_pLog = nullptr;
}
