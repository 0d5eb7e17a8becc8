// The link's network transport: a TCP connection (connected without blocking, within a bound)
// or a UDP multicast group, read and written through the socket notification WM_USER+2.
#include <fcntl.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <cstring>
#include "link/NorvCom.h"
#include "platform/win/serial/Comm.h"

static const int s_nReadChunk = 65536;
// Reads per notification: a flooding server must leave the user interface its turn.
static const int s_nReadsPerNotify = 32;

// The server's address: a dotted number as it stands, a name beginning "LOCALH" (any case) as
// the loopback without a lookup, anything else resolved. FALSE when the name does not resolve.
static BOOL ResolveServer(const char* pszServer, in_addr* pAddr, BOOL* pbLoopback)
{
    *pbLoopback = FALSE;
    if (inet_pton(AF_INET, pszServer, pAddr) == 1)
        return TRUE;
    if (strncasecmp(pszServer, "LOCALH", 6) == 0) {
        *pbLoopback = TRUE;
        pAddr->s_addr = htonl(INADDR_LOOPBACK);
        return TRUE;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* pResult = nullptr;
    if (getaddrinfo(pszServer, nullptr, &hints, &pResult) != 0 || !pResult)
        return FALSE;
    *pAddr = reinterpret_cast<const sockaddr_in*>(pResult->ai_addr)->sin_addr;
    freeaddrinfo(pResult);
    return TRUE;
}

BOOL CNorvCom::OpenSocket(int nType)
{
    WSADATA data;
    if (!m_bSocketLibrary) {
        if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
            Log("No useable winsock.dll found!\n");
            OnCommState(LINK_ERR_NO_SOCKETS);
            return FALSE;
        }
        m_bSocketLibrary = TRUE;
    }
    const BOOL bUdp = m_link.Options().bUdp;
    in_addr addr{};
    BOOL bLoopback = FALSE;
    if (!ResolveServer(m_strServer, &addr, &bLoopback)) {
        OnCommState(LINK_ERR_RESOLVE);
        return FALSE;
    }
    if (bLoopback)
        Log("initiating virtual loopback\n");
    m_socket = socket(AF_INET, bUdp ? SOCK_DGRAM : SOCK_STREAM, 0);
    if (m_socket == INVALID_SOCKET) {
        Log("No useable winsock.dll found!\n");
        OnCommState(LINK_ERR_NO_SOCKETS);
        return FALSE;
    }
    unsigned long ulOn = 1;
    if (ioctlsocket(m_socket, static_cast<long>(FIONBIO_WINSOCK), &ulOn) != 0) {
        Log("Error ioctlsocket!\n");
        CloseSocket();
        OnCommState(LINK_ERR_NONBLOCKING);
        return FALSE;
    }
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<uint16_t>(m_nPort));
    server.sin_addr = addr;
    if (bUdp) {
        const int nOn = 1;
        if (setsockopt(m_socket, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn) != 0) {
            Log("Reusing address failed!\n");
            CloseSocket();
            OnCommState(LINK_ERR_CONNECT);
            return FALSE;
        }
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = server.sin_port;
        local.sin_addr.s_addr = htonl(INADDR_ANY);
        if (bind(m_socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            Log("Error binding UDP socket!\n");
            CloseSocket();
            OnCommState(LINK_ERR_CONNECT);
            return FALSE;
        }
        ip_mreq group{};
        group.imr_multiaddr = addr;
        group.imr_interface.s_addr = htonl(INADDR_ANY);
        if (setsockopt(m_socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group) != 0) {
            // Without the group the link still hears datagrams sent to this host's port.
            Log("Joining multicast group failed!\n");
            OnCommState(LINK_ERR_MULTICAST);
        }
        m_udpGroup = server;
        m_nConnectType = nType;
        FinishConnect(0);
        return m_link.IsConnected();
    }
    const int nOn = 1;
    if (setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn) != 0)
        Log("Can't set TCP no delay \n");
    m_nConnectType = nType;
    if (connect(m_socket, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0) {
        FinishConnect(0);
        return m_link.IsConnected();
    }
    const int nError = WSAGetLastError();
    if (nError != WSAEWOULDBLOCK) {
        Log("Error connecting socket!\n");
        CloseSocket();
        OnCommState(LINK_ERR_CONNECT);
        return FALSE;
    }
    // The answer comes as FD_CONNECT, or the bound runs out; the user interface goes on meanwhile.
    m_bConnecting = TRUE;
    WSAAsyncSelect(m_socket, m_hWnd, WM_LINK_SOCKET, FD_CONNECT);
    SetTimer(LINK_TIMER_CONNECT, LINK_CONNECT_TIMEOUT);
    return FALSE;
}

void CNorvCom::FinishConnect(int nError)
{
    m_bConnecting = FALSE;
    KillTimer(LINK_TIMER_CONNECT);
    if (nError) {
        Log("Error connecting socket!\n");
        CloseSocket();
        OnCommState(LINK_ERR_CONNECT);
        return;
    }
    if (!m_link.Options().bUdp)
        Log("connect() successfull!\n");
    ShowLinkWindow(SW_HIDE);
    m_bWantWrite = FALSE;
    m_link.OnOpened(m_nConnectType);
    if (m_link.IsConnected() && m_socket != INVALID_SOCKET && !m_bInSocketHandler)
        SelectSocket();
}

// Notifications on again: read and close, and write while bytes wait to go out.
void CNorvCom::SelectSocket()
{
    long lEvents = FD_READ | FD_CLOSE;
    if (m_bWantWrite)
        lEvents |= FD_WRITE;
    if (WSAAsyncSelect(m_socket, m_hWnd, WM_LINK_SOCKET, lEvents) != 0 && WSAGetLastError() == WSAENETDOWN)
        LoseSocket(TRUE);
}

// TRUE while a non-blocking connect has neither succeeded nor failed.
static BOOL StillConnecting(SOCKET s)
{
    int nErrno = 0;
    socklen_t nLen = sizeof nErrno;
    sockaddr_in peer{};
    socklen_t nPeer = sizeof peer;
    return getsockopt(s, SOL_SOCKET, SO_ERROR, &nErrno, &nLen) == 0 && nErrno == 0 &&
           getpeername(s, reinterpret_cast<sockaddr*>(&peer), &nPeer) != 0;
}

LRESULT CNorvCom::OnSocketNotify(WPARAM wParam, LPARAM lParam)
{
    // A notification of a socket that has been closed since is old news.
    if (m_socket == INVALID_SOCKET || static_cast<SOCKET>(wParam) != m_socket)
        return 0;
    int nEvent = WSAGETSELECTEVENT(lParam);
    const int nError = WSAGETSELECTERROR(lParam);
    if (nEvent == FD_CONNECT) {
        if (m_bConnecting && (nError || StillConnecting(m_socket) == FALSE))
            FinishConnect(nError);
        return 0;
    }
    // Descriptors are reused at once: a close posted for an earlier socket of the same number
    // must not end this one. A close is believed when the socket says so itself.
    if (nEvent == FD_CLOSE && !m_link.Options().bUdp) {
        char ch;
        const ssize_t n = recv(m_socket, &ch, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n > 0)
            nEvent = FD_READ;
        else if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
            return 0;
    }
    // Nothing more is posted while the bytes are handled: a modal dialog that a line opens
    // must not read the socket again underneath it.
    if (WSAAsyncSelect(m_socket, m_hWnd, 0, 0) != 0 && WSAGetLastError() == WSAENETDOWN) {
        LoseSocket(TRUE);
        return 0;
    }
    const SOCKET s = m_socket;
    m_bInSocketHandler = TRUE;
    if (nEvent == FD_WRITE)
        m_link.OnWritable();
    if (m_socket == s && (nEvent == FD_READ || nEvent == FD_CLOSE))
        ReadSocket();
    // A close comes after the data that was sent before it.
    if (m_socket == s && nEvent == FD_CLOSE)
        LoseSocket(TRUE);
    m_bInSocketHandler = FALSE;
    if (m_socket == s && m_link.IsConnected())
        SelectSocket();
    return 0;
}

void CNorvCom::ReadSocket()
{
    m_readBuffer.resize(s_nReadChunk);
    BYTE* pBuffer = m_readBuffer.data();
    const SOCKET s = m_socket;
    for (int nReads = 0; nReads < s_nReadsPerNotify && m_socket == s; ++nReads) {
        // A datagram is read whole; the framing feeds it through the ring piece by piece.
        const ssize_t n = recv(s, pBuffer, s_nReadChunk, 0);
        if (n > 0) {
            ShowReceived(pBuffer, static_cast<int>(n));
            m_link.OnReceived(pBuffer, static_cast<int>(n));
            continue;
        }
        if (n == 0 && !m_link.Options().bUdp) {
            // Everything the server sent before it closed has been handed on: now the close.
            LoseSocket(TRUE);
            return;
        }
        if (n == 0)
            continue;
        const int nError = WSAGetLastError();
        if (nError == WSAEWOULDBLOCK || nError == WSAEINTR)
            return;
        if (nError == WSAENETUNREACH || nError == WSAENETRESET || nError == WSAECONNABORTED ||
            nError == WSAECONNRESET || nError == WSAEHOSTUNREACH || nError == WSAEDISCON) {
            LoseSocket(FALSE);
            return;
        }
        return;
    }
}

void CNorvCom::LoseSocket(BOOL bKeepResume)
{
    // The server's close and a network that went down keep the resume number; a connection
    // that failed does not.
    Disconnect(bKeepResume);
    if (bKeepResume)
        m_link.PrepareResume();
    // With a "Reconnect Time" the link tries again every so many minutes until it is back.
    if (m_nReconnectMinutes > 0 && !m_link.Options().bUdp && m_hWnd)
        SetTimer(LINK_TIMER_RECONNECT, static_cast<UINT>(m_nReconnectMinutes) * 60000u);
    OnCommState(LINK_STATE_LOST);
}

void CNorvCom::CloseSocket()
{
    if (m_socket != INVALID_SOCKET) {
        WSAAsyncSelect(m_socket, m_hWnd, 0, 0);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    if (m_bSocketLibrary) {
        WSACleanup();
        m_bSocketLibrary = FALSE;
    }
}

int CNorvCom::WriteTransport(const BYTE* pBytes, int nCount)
{
    if (m_hPort != INVALID_HANDLE_VALUE) {
        DWORD dwWritten = 0;
        // A write the port has not taken within a second counts as not written.
        return WriteComm(m_hPort, pBytes, static_cast<DWORD>(nCount), &dwWritten, 1000) ? static_cast<int>(dwWritten) : -1;
    }
    if (m_socket == INVALID_SOCKET)
        return -1;
    const ssize_t n = m_link.Options().bUdp
                          ? sendto(m_socket, pBytes, static_cast<size_t>(nCount), MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&m_udpGroup), sizeof m_udpGroup)
                          : send(m_socket, pBytes, static_cast<size_t>(nCount), MSG_NOSIGNAL);
    if (n >= 0)
        return static_cast<int>(n);
    const int nError = WSAGetLastError();
    if (nError == WSAEWOULDBLOCK || nError == WSAEINTR)
        return 0;
    if (m_link.Options().bUdp)
        return nCount;      // a datagram nobody takes is gone either way; the link goes on
    // The connection is broken: the close is reported from the queue, not from inside a send.
    PostMessage(WM_LINK_SOCKET, static_cast<WPARAM>(m_socket), WSAMAKESELECTREPLY(FD_CLOSE, nError));
    return -1;
}

void CNorvCom::WatchWritable(BOOL bOn)
{
    if (m_bWantWrite == bOn)
        return;
    m_bWantWrite = bOn;
    if (m_socket != INVALID_SOCKET && !m_bInSocketHandler && !m_bConnecting && m_link.IsConnected())
        SelectSocket();
}
