#pragma once
// The protocol machinery of the link window, without the window and without a transport:
// received bytes in, deciphered, cut into lines by the framing of the connection type and
// handed on; request lines numbered, queued, enciphered and written; the control lines, the
// packet sequence, the numbered feed and the idle watchdog of the protocol modes. The link
// window owns one and is its port to the transport, the timers and the owner of the lines.
#include <deque>
#include <string>
#include <vector>
#include "link/LinkCipherStream.h"
#include "link/ReceiveRing.h"
#include "link/SendQueue.h"
#include "platform/win/WinTypes.h"

// Connection types.
#define LINK_SERIAL_RAW         1
#define LINK_SERIAL_PROTOCOL    2
#define LINK_NETWORK            8       // TCP, or UDP multicast with the UDP option
#define LINK_SERIAL_SWITCH      16      // an open raw serial link goes over to the protocol
#define LINK_DIRECT_SOCKET      32      // the terminal's own: plain lines, encrypted after "X9"

// Status codes for the owner.
#define LINK_STATE_READY        (-5)
#define LINK_ERR_NO_SOCKETS     501
#define LINK_ERR_CONNECT        503
#define LINK_ERR_NONBLOCKING    504
#define LINK_ERR_MULTICAST      505
#define LINK_ERR_SERIAL         506     // the serial port could not be opened or set up
#define LINK_ERR_IDLE           512
#define LINK_ERR_RESOLVE        514
#define LINK_STATE_LOST         599

// Timers of the link window.
#define LINK_TIMER_REPLAY       99
#define LINK_TIMER_IDLE         100
#define LINK_TIMER_RECONNECT    101
#define LINK_TIMER_CONNECT      102     // the bound of a connect in progress
#define LINK_TIMER_RESUME_WAIT  103     // the pause after a resuming connect request

#define LINK_MAX_LINE           32000   // longest line written; received lines stop one short
#define LINK_OUT_LIMIT          65536   // outgoing bytes held before lines wait in the queue

// What the machinery needs of the window around it.
struct ILinkPort
{
    virtual ~ILinkPort() = default;
    // Hands bytes to the transport: how many it took (0 when it would block), -1 when the
    // connection failed.
    virtual int  WriteTransport(const BYTE* pBytes, int nCount) = 0;
    // Asks for CLinkProtocol::OnWritable once the transport takes bytes again, or stops asking.
    virtual void WatchWritable(BOOL bOn) = 0;
    virtual void OnLine(char* pszLine) = 0;             // a complete received line
    virtual void OnState(int nCode) = 0;
    virtual void StartTimer(UINT nId, UINT nMs) = 0;
    virtual void StopTimer(UINT nId) = 0;
    virtual void Log(const char* pszText) = 0;          // the traffic log, when one is open
    // Closes the transport keeping the numbering and connects again with nType; on a dual
    // serial port the other port is taken.
    virtual void Reconnect(int nType) = 0;
    virtual void ClearInput() = 0;                      // the serial port's input is purged
    // Closes the transport and reports nCode to the owner: the link cannot go on.
    virtual void CloseLink(int nCode) = 0;
};

// The link's options; the window fills them from its settings and its subclass.
struct LINK_OPTIONS
{
    BOOL bChecksums = TRUE;             // check characters on written lines, tested on received
    BOOL bDecompress = TRUE;            // feed expansion of received lines
    BOOL bLineMode = FALSE;             // checksummed lines instead of packets on a network link
    BOOL bUdp = FALSE;
    BOOL bSerialProtocol = FALSE;       // "Connection type" is 2: numbered feed, retransmission
    BOOL bRetry = FALSE;                // the same on any link
    BOOL bDualPort = FALSE;
    BOOL bEncryption = FALSE;           // the encryption option ("CryptConnection")
    BOOL bLogOutgoing = FALSE;          // "Logfile in": sent lines go to the traffic log too
    long nClientId = 0;                 // sent in "@VC|%ld" after the hello
    int  nIdlePeriod = 30000;           // ms; 0 or less: no idle watchdog
    int  nReconnectMinutes = 0;
    char chSequenceLimit = '9';
};

class CLinkProtocol
{
public:
    CLinkProtocol(ILinkPort* pPort, int nSendQueueSize);
    CLinkProtocol(const CLinkProtocol&) = delete;
    CLinkProtocol& operator=(const CLinkProtocol&) = delete;

    // Options, set by the window from its settings.
    LINK_OPTIONS& Options() { return m_options; }
    const LINK_OPTIONS& Options() const { return m_options; }

    // Connecting. PrepareConnect clears the encryption before the transport opens (it makes
    // the link's key pair for the protocol modes the first time); OnOpened runs the type's
    // connect steps once it is open: reset unless resuming, hello, timers, ready.
    void PrepareConnect(int nType);
    void OnOpened(int nType);
    // The transport is gone: the link closes; the resume number is kept with bKeepResume.
    void OnClosed(BOOL bKeepResume);
    // A lost connection that the retry option may pick up again: the packet character is
    // saved and the next connect resumes. TRUE when a resume was prepared.
    BOOL PrepareResume();
    void ResetLinkState();
    // Every connect starts with an empty ring, line buffer and cipher carry.
    void ResetReceive();

    BOOL IsConnected() const { return m_bConnected; }
    BOOL IsOpen() const { return m_bOpen; }
    int  GetType() const { return m_nType; }

    // Encryption: the cipher switches on or off for both directions; the bytes of the current
    // read that are not yet framed are deciphered from here on.
    void SetEncryption(BOOL bOn);
    BOOL IsEncrypted() const { return m_cipher.IsOn(); }
    // The session key has gone out: the lines sent from here wait until the cipher is on,
    // since the server deciphers everything after the key and a plain line would garble the
    // rest of the session. They wait beyond the send queue, however many, and enter it in
    // order once the cipher is on; a link that opens or closes meanwhile drops them.
    void HoldUntilEncrypted();
    char* GetSessionKeyBuffer() { return m_cipher.GetKeyBuffer(); }
    const char* GetPublicKeyText() const { return m_szPublicKey; }

    // Receiving: bytes as the transport delivered them.
    void OnReceived(const BYTE* pBytes, int nCount);
    // Delivers one line as if received (the replay of a recorded feed).
    void DeliverLine(char* pszLine);
    long GetDeliveredCount() const { return m_nDelivered; }

    // Sending. SendLine numbers the request line, queues it and writes what may be written.
    // FALSE, with *pnNumber 0 and the numbering unchanged, when the queue refuses it.
    BOOL SendLine(const char* pszLine, long* pnNumber);
    void Acknowledge(long nNumber, BOOL bAdvance);
    // Writes bytes on the link's road (through the cipher when it is on). FALSE when the
    // transport failed.
    BOOL WriteText(const char* pszText);
    void OnWritable();
    int  GetPendingOutput() const { return static_cast<int>(m_out.size() - m_nOutStart); }
    long GetClientNumber() const { return m_nClientNumber; }
    long GetLastSent() const { return m_nLastSent; }

    // Timers the window forwards: idle watchdog and the pause after a resuming connect.
    void OnIdleTimer();
    void OnResumeWaitTimer();
    // The protocol modes' retransmission request of the numbered feed: TRUE when "@RM" went out.
    BOOL RequestRetransmission();

    // State the tests and the window read.
    char GetLastPacketChar() const { return m_chLastPacket; }
    long GetResumeNumber() const { return m_nResumeNumber; }
    long GetLastSeenNumber() const { return m_nLastSeen; }
    BOOL IsHelloDone() const { return m_bHelloDone; }
    int  GetSilentCount() const { return m_nSilent; }

private:
    // Receiving (LinkReceive.cpp).
    void Ingest(const BYTE* pBytes, int nCount);
    void Frame();
    BOOL FrameDirect();
    BOOL FrameLines();
    BOOL FramePackets();
    BOOL AppendToLine(BYTE ch);
    BOOL OnDirectLine();
    void OnPacketBody();
    BOOL CheckedLine();
    BOOL SessionChanged(unsigned nSession, BOOL bWasEncrypted) const;
    void RestartIdle();
    // Sending (LinkSend.cpp).
    BOOL QueueLine(const std::string& strLine);
    void MoveHeldIntoQueue();
    BOOL Pump(BOOL bAdvance);
    BOOL WriteBytes(const char* pBytes, int nCount);
    BOOL Flush();
    void WriteAck(char chPacket);
    // Control lines of the protocol modes (LinkControl.cpp).
    void OnControlLine(char* pszLine);
    void OnOk(char* pszLine);
    void OnKeyLine(const char* pszLine);
    void OnFeedLine(char* pszLine);
    void StartConnectPhase();
    void Deliver(char* pszLine);

    BOOL IsSerial() const { return m_nType == LINK_SERIAL_RAW || m_nType == LINK_SERIAL_PROTOCOL; }
    BOOL NumberedFeed() const { return m_options.bSerialProtocol || m_options.bRetry; }

    ILinkPort* m_pPort;                 // not owned: the window that owns us
    LINK_OPTIONS m_options;
    int  m_nType = 0;
    BOOL m_bConnected = FALSE;
    BOOL m_bOpen = FALSE;               // framing active
    unsigned m_nSession = 0;            // grows with every open and close

    // Cipher.
    CLinkCipherStream m_cipher;
    BOOL m_bCipherReady = FALSE;
    char m_szPublicKey[256] = {};
    char m_szPrivateKey[256] = {};

    // Receiving.
    CReceiveRing m_ring;
    std::vector<BYTE> m_plain;          // deciphered bytes on their way into the ring
    std::vector<BYTE> m_pending;        // bytes that arrived while a line was being handled
    std::vector<char> m_line;           // the line being assembled, LINK_MAX_LINE + 1 bytes
    int  m_nLine = 0;
    BOOL m_bDiscarding = FALSE;         // a line too long for the ring: dropped through its LF
    int  m_nDepth = 0;                  // lines being handled on the stack
    BOOL m_bInPacket = FALSE;
    BOOL m_bSkipping = FALSE;
    char m_chLastPacket = '.';
    char m_chSavedPacket = 0;           // kept across a resuming reconnect, 0 = none
    std::string m_expanded;
    long m_nDelivered = 0;
    int  m_nSilent = 0;

    // Sending.
    CSendQueue m_queue;
    BOOL m_bQueueBlocked = FALSE;       // a protocol-mode write failed: nothing more is queued
    long m_nClientNumber = 0;
    long m_nLastSent = 0;
    BOOL m_bMaySend = TRUE;
    BOOL m_bResumeWait = FALSE;         // writes held after a resuming connect request
    BOOL m_bResendHeld = FALSE;         // a resend of the oldest line asked for while held
    BOOL m_bKeyHold = FALSE;            // the session key is out: new lines wait for the cipher
    std::deque<std::string> m_held;     // lines sent during the hold, and those behind them
    std::vector<BYTE> m_out;            // bytes the transport has not taken yet
    size_t m_nOutStart = 0;
    std::string m_strSend;

    // Connect state of the protocol modes.
    BOOL m_bConnectPhase = FALSE;
    BOOL m_bConnectAnswered = FALSE;
    BOOL m_bHelloDone = FALSE;
    BOOL m_bKeyAwaited = FALSE;
    BOOL m_bResume = FALSE;
    long m_nResumeNumber = 0;

    // The numbered feed.
    long m_nLastSeen = 0;
    long m_nNextNumber = 0;
    long m_nSavedLastSeen = 0;
    long m_nHighest = 0;
    BOOL m_bResendRequested = FALSE;
    BOOL m_bRetransmitting = FALSE;
    BOOL m_bQuit = FALSE;
};
