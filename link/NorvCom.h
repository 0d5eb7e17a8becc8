#pragma once
// The framework's link to a feed or trading server: an MDI child window (the terminal view of raw
// traffic, usually hidden) that owns one connection, serial, TCP or UDP multicast, and hands
// every complete received line to its subclass. The protocol machinery is CLinkProtocol; this
// class is its port to the transports, the window's timers and the settings. Created once and
// kept across reconnects; the ring, the queue and the terminal state live as long as it does.
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>
#include "link/LinkProtocol.h"
#include "link/TerminalScreen.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/String.h"
#include "platform/win/Records.h"
#include "platform/win/net/Winsock.h"

#define WM_LINK_SOCKET (WM_USER + 2)    // socket notifications of the link window
#define LINK_CONNECT_TIMEOUT 20000      // ms a connect may take before it counts as failed

class CNorvCom : public CMDIChildWnd, protected ILinkPort
{
public:
    // The settings file holds the section "Communication"; the dialog flags choose the settings
    // dialog's buttons (bit 0 network, bit 1 serial); the client id goes out in "@VC|%ld".
    CNorvCom(const CString& strSettingsFile, int nDialogFlags, long nClientId, int nSendQueueSize);
    ~CNorvCom() override;

    // What the subclass does with the link's news.
    virtual void OnLineReceived(const char* pszLine) = 0;
    virtual void OnCommState(int nCode) = 0;
    virtual void OnCommDestroy() = 0;

    // Opens the link of a connection type (LINK_ of LinkProtocol.h; -1 reloads the settings
    // and takes the network or the raw serial link they name). Nothing happens before the
    // window exists. Returns the connected flag: a TCP connect finishes later, with -5 (ready)
    // or 503 (refused, or not answered within LINK_CONNECT_TIMEOUT) to OnCommState.
    BOOL Connect(int nType, int nArg);
    // Closes the link; the resume number is kept with bKeepResume. FALSE when not connected.
    BOOL Disconnect(BOOL bKeepResume);
    BOOL IsConnected() const { return m_link.IsConnected(); }
    BOOL IsConnecting() const { return m_bConnecting; }
    int  GetConnectType() const { return m_nConnectType; }   // of the last connect
    // Numbers, queues and writes a line; FALSE (and no number) when the queue refuses it.
    BOOL SendLine(const char* pszLine, long* pnNumber);
    void SetEncryption(BOOL bOn) { m_link.SetEncryption(bOn); }
    void HoldUntilEncrypted() { m_link.HoldUntilEncrypted(); }
    BOOL IsEncrypted() const { return m_link.IsEncrypted(); }
    BOOL IsEncryptionOption() const { return m_link.Options().bEncryption; }
    char* GetSessionKey() { return m_link.GetSessionKeyBuffer(); }
    BOOL RequestRetransmission() { return m_link.RequestRetransmission(); }
    // Hands a line on as if it had been received (logged, counted, OnLineReceived).
    void DeliverLine(char* pszLine) { m_link.DeliverLine(pszLine); }
    long GetDeliveredCount() const { return m_link.GetDeliveredCount(); }

    // Shows or hides the window and remembers whether it is visible.
    void ShowLinkWindow(int nShowCommand);
    BOOL IsLinkWindowVisible() const { return m_bVisible; }

    // The terminal view (NorvComTerminal.cpp). Received bytes are shown only while the window is
    // visible; the screen's cells are painted with the font of the stored "Font" description.
    void ShowReceived(const BYTE* pBytes, int nCount);
    const CTerminalScreen& GetScreen() const { return m_screen; }
    void SetNewLineOnCr(BOOL bOn) { m_screen.m_bNewLineOnCr = bOn; }
    // After the settings changed the font: made anew from m_font, the cells measured again, the
    // window resized to its own size so that the scroll ranges follow, the caret made again.
    void ApplyTerminalFont();
    // A character cell in pixels, and the scroll positions (pixels from the screen's corner).
    SIZE GetCellSize() const { return SIZE{m_cxChar, m_cyChar}; }
    POINT GetScrollPositions() const { return POINT{m_nHScrollPos, m_nVScrollPos}; }

    // Settings of the section "Communication".
    void LoadCommSettings();
    void SaveCommSettings();
    // "Not connected", "TCP/IP %s:%ld", "UDP/IP %s:%ld" or "Serial COM%d at %d Baud".
    void GetConnectionText(CString* pOut) const;
    // The traffic log: only the settings dialog opens or closes it, never a connect.
    BOOL OpenTrafficLog();
    void CloseTrafficLog();
    BOOL IsTrafficLogOpen() const { return m_pLog != nullptr; }

    // The settings dialogs (NorvComDialogs.cpp); both answer 1. The connection dialog always
    // opens on the stored settings, whatever the argument. On OK it stores the settings, opens,
    // closes or moves the traffic log of a connected link, applies the font and saves; the
    // replay dialog stores its options and restarts the replay when it is on.
    int EditCommSettings(int nArg);
    int EditFeedLogSettings();

    // Replay of the recorded feed "datafeed.log": one line per period (timer 99); at the end
    // of the file the cycle message unless repeat is on, and then again from the start with
    // repeat, or the end of the replay.
    BOOL StartReplay();
    void StopReplay();
    BOOL IsReplaying() const { return m_pReplay != nullptr; }

protected:
    // Options the subclass sets after the settings are loaded.
    LINK_OPTIONS& LinkOptions() { return m_link.Options(); }
    // Which of the connection dialog's optional controls this link offers.
    void ShowDialogControls(BOOL bLog, BOOL bCrypt, BOOL bProtocol)
    {
        m_bDialogLog = bLog;
        m_bDialogCrypt = bCrypt;
        m_bDialogProtocol = bProtocol;
    }
    // The replay's message at the end of a cycle: a system-modal message box.
    virtual void OnReplayCycle(const char* pszText);

    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnSocketNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

protected:
    // The link's settings ("Communication").
    int  m_nConnectionSetting = 1;      // "Connection type": 1 network, otherwise serial
    CString m_strServer;
    CString m_strServer2;
    long m_nPort = 8001;
    BOOL m_bUseUdp = FALSE;
    BOOL m_bCryptSetting = FALSE;       // "CryptConnection" as stored
    int  m_nReconnectMinutes = 0;       // "Reconnect Time"
    int  m_nComPort = 1;                // 1 to 4, 5 for "Dual"
    int  m_nBaudRate = 9600;
    int  m_nFlowControl = 0;            // handshake bits: 0 DTR/DSR, 1 RTS/CTS, 2 XON/XOFF
    int  m_nParity = 0;
    int  m_nStopBits = 0;
    int  m_nByteSize = 8;
    BOOL m_bXonXoff = TRUE;
    BOOL m_bHardwareHandshake = FALSE;
    BOOL m_bLocalEcho = FALSE;
    BOOL m_bAutoWrap = TRUE;
    LOGFONTA m_font{};
    BOOL m_bLogIn = FALSE;              // "Logfile in"
    CString m_strLogPath;               // "Logfile in path"
    int  m_nDialogFlags;
    // The connection dialog's optional controls.
    BOOL m_bDialogLog = TRUE;
    BOOL m_bDialogCrypt = TRUE;
    BOOL m_bDialogProtocol = TRUE;
    // The replay's options.
    BOOL m_bReplayOn = FALSE;
    BOOL m_bReplayRepeat = FALSE;
    int  m_nReplayPeriod = 5;           // ms

private:
    // ILinkPort.
    int  WriteTransport(const BYTE* pBytes, int nCount) override;
    void WatchWritable(BOOL bOn) override;
    void OnLine(char* pszLine) override;
    void OnState(int nCode) override { OnCommState(nCode); }
    void StartTimer(UINT nId, UINT nMs) override;
    void StopTimer(UINT nId) override;
    void Log(const char* pszText) override;
    void Reconnect(int nType) override;
    void ClearInput() override;
    void CloseLink(int nCode) override;

    // Network (NorvComSocket.cpp).
    BOOL OpenSocket(int nType);
    void FinishConnect(int nError);
    void SelectSocket();
    void ReadSocket();
    void LoseSocket(BOOL bKeepResume);
    void CloseSocket();
    // Serial (NorvComSerial.cpp).
    BOOL OpenSerialPort();
    void ReadSerial();
    void CloseSerialPort();
    void SerialWatchThread();
    // Replay (NorvComReplay.cpp).
    void OnReplayTick();
    // Terminal view (NorvComTerminal.cpp).
    void MeasureCells();
    void PaintRows(HDC hdc, int nFirst, int nLast);
    void PaintCell(int nColumn, int nRow);
    void UpdateScrollRanges();
    void ScrollTo(int nHPos, int nVPos);
    void ShowCursorRow();
    void PlaceCaret();
    void CreateTerminalCaret();
    void RemoveCaret();

    CLinkProtocol m_link;
    CString m_strSettingsFile;
    BOOL m_bCreated = FALSE;
    BOOL m_bVisible = FALSE;
    FILE* m_pLog = nullptr;             // the traffic log, owned

    // Network.
    SOCKET m_socket = INVALID_SOCKET;
    BOOL m_bSocketLibrary = FALSE;
    BOOL m_bConnecting = FALSE;
    int  m_nConnectType = 0;
    sockaddr_in m_udpGroup{};           // where a UDP link's own lines go
    BOOL m_bInSocketHandler = FALSE;
    BOOL m_bWantWrite = FALSE;
    std::vector<BYTE> m_readBuffer;

    // Serial.
    HANDLE m_hPort = INVALID_HANDLE_VALUE;
    HANDLE m_hReadDone = nullptr;       // set by the window when it has read, waited on by the watch
    std::thread m_watch;
    std::atomic<bool> m_bWatchRunning{false};
    int  m_nDualCurrent = 1;            // COM1 or COM2 of a "Dual" port

    // Terminal view.
    CTerminalScreen m_screen;
    HFONT m_hFont = nullptr;            // owned
    int m_cxChar = 1;
    int m_cyChar = 1;
    int m_nHScrollPos = 0, m_nVScrollPos = 0;
    int m_nHScrollMax = 0, m_nVScrollMax = 0;
    BOOL m_bCaret = FALSE;

    // Replay.
    FILE* m_pReplay = nullptr;
    DWORD m_dwReplayStart = 0;
    BOOL m_bLogInBeforeReplay = FALSE;
};
