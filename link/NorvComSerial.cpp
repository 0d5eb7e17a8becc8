// The link's serial transport: the port set up from the settings, a watch thread that waits for
// the line-feed event character and posts WM_COMMNOTIFY, and the window reading what came.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include "link/NorvCom.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/serial/Comm.h"
#include "platform/win/user/Messages.h"

BOOL CNorvCom::OpenSerialPort()
{
    CloseSerialPort();
    char szPort[8];
    snprintf(szPort, sizeof szPort, "COM%d", m_nComPort == 5 ? m_nDualCurrent : m_nComPort);
    const HANDLE hPort = OpenCommPort(szPort);
    if (hPort == INVALID_HANDLE_VALUE) {
        Log("Error opening the serial port!\n");
        return FALSE;
    }
    SetCommMask(hPort, EV_RXFLAG);
    SetupComm(hPort, 16000, 8192);
    const COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 0, 5000};
    SetCommTimeouts(hPort, &timeouts);
    DCB dcb{};
    GetCommState(hPort, &dcb);
    dcb.BaudRate = static_cast<DWORD>(m_nBaudRate);
    dcb.ByteSize = static_cast<BYTE>(m_nByteSize);
    dcb.fBinary = 1;
    if (m_bHardwareHandshake) {
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = dcb.fOutX = dcb.fInX = 0;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fAbortOnError = 1;
        dcb.XonLim = 8000;
        dcb.XoffLim = 2000;
    } else {
        const int nHandshake = m_nFlowControl | (m_bXonXoff ? 4 : 0);
        dcb.Parity = static_cast<BYTE>(m_nParity);
        dcb.StopBits = static_cast<BYTE>(m_nStopBits);
        dcb.fOutxDsrFlow = (nHandshake & 1) != 0;
        dcb.fDtrControl = (nHandshake & 1) ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE;
        dcb.fOutxCtsFlow = (nHandshake & 2) != 0;
        dcb.fRtsControl = (nHandshake & 2) ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
        dcb.fOutX = dcb.fInX = (nHandshake & 4) != 0;
        dcb.XonLim = 4096;
        dcb.XoffLim = 1024;
    }
    dcb.EvtChar = '\n';
    dcb.XonChar = 17;
    dcb.XoffChar = 19;
    if (!SetCommState(hPort, &dcb)) {
        // A speed or format the port cannot take: the link does not open.
        Log("Error setting up the serial port!\n");
        CloseHandle(hPort);
        return FALSE;
    }
    m_hPort = hPort;
    m_bWatchRunning = true;
    SetEvent(m_hReadDone);
    m_watch = std::thread([this] { SerialWatchThread(); });
    EscapeCommFunction(m_hPort, SETDTR);
    // A port opened while the view has the focus gets its caret now, not at the next focus.
    if (m_hWnd && ::GetFocus() == m_hWnd && !m_bCaret)
        CreateTerminalCaret();
    ReadSerial();
    return TRUE;
}

// The only other thread: it waits for a line to arrive, then for the window to have read the
// last one, and posts one notification at a time.
void CNorvCom::SerialWatchThread()
{
    const HWND hWnd = m_hWnd;
    while (m_bWatchRunning) {
        DWORD dwEvents = 0;
        if (!WaitCommEvent(m_hPort, &dwEvents)) {
            // A port that failed or hung up: wait a little rather than spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        if (!(dwEvents & EV_RXFLAG))
            continue;
        WaitForSingleObject(m_hReadDone, INFINITE);
        ResetEvent(m_hReadDone);
        if (m_bWatchRunning)
            PostMessageA(hWnd, WM_COMMNOTIFY, 0, 0);
    }
}

LRESULT CNorvCom::OnCommNotify(WPARAM, LPARAM)
{
    if (m_hPort == INVALID_HANDLE_VALUE)
        return 0;
    ReadSerial();
    if (m_hReadDone)
        SetEvent(m_hReadDone);
    return 0;
}

void CNorvCom::ReadSerial()
{
    BYTE buffer[1024];
    for (;;) {
        DWORD dwErrors = 0;
        COMSTAT stat{};
        if (ClearCommError(m_hPort, &dwErrors, &stat) && dwErrors) {
            char szText[40];
            const int nShown = snprintf(szText, sizeof szText, "<CE-%u>", static_cast<unsigned>(dwErrors));
            ShowReceived(reinterpret_cast<const BYTE*>(szText), std::min(nShown, static_cast<int>(sizeof szText) - 1));
            snprintf(szText, sizeof szText, "ClearComm: %u\n", static_cast<unsigned>(dwErrors));
            Log(szText);
        }
        DWORD dwRead = 0;
        if (!ReadComm(m_hPort, buffer, sizeof buffer, &dwRead)) {
            char szText[40];
            snprintf(szText, sizeof szText, "LastError: %u\n", static_cast<unsigned>(GetLastError()));
            Log(szText);
            return;
        }
        if (dwRead == 0)
            return;
        const HANDLE hPort = m_hPort;
        ShowReceived(buffer, static_cast<int>(dwRead));
        m_link.OnReceived(buffer, static_cast<int>(dwRead));
        if (m_hPort != hPort)
            return;             // a line closed the port
    }
}

void CNorvCom::CloseSerialPort()
{
    if (m_hPort == INVALID_HANDLE_VALUE)
        return;
    StopTimer(LINK_TIMER_IDLE);
    RemoveCaret();
    // The watch ends: its flag cleared, its wait for an event released, its wait for the
    // window released.
    m_bWatchRunning = false;
    SetCommMask(m_hPort, 0);
    if (m_hReadDone)
        SetEvent(m_hReadDone);
    if (m_watch.joinable())
        m_watch.join();
    EscapeCommFunction(m_hPort, CLRDTR);
    PurgeComm(m_hPort, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    CloseHandle(m_hPort);
    m_hPort = INVALID_HANDLE_VALUE;
}
