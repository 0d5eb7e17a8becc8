#include "platform/win/net/Winsock.h"
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include "platform/win/user/Display.h"
#include "platform/win/user/Message.h"

namespace {
int s_nStarted = 0;

struct AsyncSelect {
    HWND hWnd = nullptr;
    UINT uMsg = 0;
    long lEvents = 0;
    BOOL bDatagram = FALSE;
    BOOL bReadArmed = TRUE;
    BOOL bWriteArmed = TRUE;
    BOOL bConnectPending = TRUE;    // the first write readiness answers a connect
};
// Sockets and windows belong to the user-interface thread, so no lock.
std::map<SOCKET, AsyncSelect>& Selects()
{
    static std::map<SOCKET, AsyncSelect>* s_pSelects = new std::map<SOCKET, AsyncSelect>;
    return *s_pSelects;
}

const struct { int nErrno; int nWsa; } s_errors[] = {
    {EINTR, WSAEINTR}, {EBADF, WSAEBADF}, {EACCES, WSAEACCES}, {EFAULT, WSAEFAULT}, {EINVAL, WSAEINVAL},
    {EMFILE, WSAEMFILE}, {EAGAIN, WSAEWOULDBLOCK}, {EWOULDBLOCK, WSAEWOULDBLOCK},
    // A non-blocking connect under way is "would block" on Winsock.
    {EINPROGRESS, WSAEWOULDBLOCK}, {EALREADY, WSAEALREADY}, {ENOTSOCK, WSAENOTSOCK},
    {EDESTADDRREQ, WSAEDESTADDRREQ}, {EMSGSIZE, WSAEMSGSIZE}, {EPROTOTYPE, WSAEPROTOTYPE},
    {ENOPROTOOPT, WSAENOPROTOOPT}, {EPROTONOSUPPORT, WSAEPROTONOSUPPORT}, {EOPNOTSUPP, WSAEOPNOTSUPP},
    {EAFNOSUPPORT, WSAEAFNOSUPPORT}, {EADDRINUSE, WSAEADDRINUSE}, {EADDRNOTAVAIL, WSAEADDRNOTAVAIL},
    {ENETDOWN, WSAENETDOWN}, {ENETUNREACH, WSAENETUNREACH}, {ENETRESET, WSAENETRESET},
    {ECONNABORTED, WSAECONNABORTED}, {ECONNRESET, WSAECONNRESET},
    // Writing to a connection the peer has closed.
    {EPIPE, WSAECONNRESET}, {ENOBUFS, WSAENOBUFS}, {EISCONN, WSAEISCONN}, {ENOTCONN, WSAENOTCONN},
    {ESHUTDOWN, WSAESHUTDOWN}, {ETIMEDOUT, WSAETIMEDOUT}, {ECONNREFUSED, WSAECONNREFUSED},
    {EHOSTDOWN, WSAEHOSTDOWN}, {EHOSTUNREACH, WSAEHOSTUNREACH},
};

void UpdateWatch(SOCKET s, const AsyncSelect& sel)
{
    int nEvents = 0;
    if (sel.bReadArmed && (sel.lEvents & (FD_READ | FD_CLOSE)))
        nEvents |= TB_FD_READ;
    if (sel.bWriteArmed && (sel.lEvents & (FD_WRITE | FD_CONNECT)))
        nEvents |= TB_FD_WRITE;
    TbGetDisplay()->WatchFd(s, nEvents);
}

void Post(SOCKET s, const AsyncSelect& sel, int nEvent, int nError)
{
    PostMessageA(sel.hWnd, sel.uMsg, static_cast<WPARAM>(s), WSAMAKESELECTREPLY(nEvent, nError));
}

// What a readable socket has to say: data, the peer's close, or an error.
void OnReadable(SOCKET s, AsyncSelect& sel)
{
    int nEvent = FD_READ, nError = 0;
    if (!sel.bDatagram) {
        char ch;
        const ssize_t n = recv(s, &ch, 1, MSG_PEEK | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            return;                         // nothing after all: stay armed
        if (n <= 0) {
            nEvent = FD_CLOSE;
            nError = n < 0 ? WSAErrorFromErrno(errno) : 0;
        }
    }
    if (nEvent == FD_CLOSE && !(sel.lEvents & FD_CLOSE))
        nEvent = FD_READ;
    sel.bReadArmed = FALSE;
    if (sel.lEvents & nEvent)
        Post(s, sel, nEvent, nError);
}

void OnWritable(SOCKET s, AsyncSelect& sel)
{
    sel.bWriteArmed = FALSE;
    if (sel.bConnectPending && (sel.lEvents & FD_CONNECT)) {
        sel.bConnectPending = FALSE;
        int nErrno = 0;
        socklen_t nLen = sizeof nErrno;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, &nErrno, &nLen) != 0)
            nErrno = errno;
        Post(s, sel, FD_CONNECT, nErrno ? WSAErrorFromErrno(nErrno) : 0);
        return;
    }
    sel.bConnectPending = FALSE;
    if (sel.lEvents & FD_WRITE)
        Post(s, sel, FD_WRITE, 0);
}
}

int WSAErrorFromErrno(int nErrno)
{
    if (nErrno == 0)
        return 0;
    for (const auto& e : s_errors)
        if (e.nErrno == nErrno)
            return e.nWsa;
    return WSAEINVAL;
}

// errno is the one record of the last failure: a code set here is kept in it as a negative
// value, which no POSIX call produces, so a later failure simply replaces it.
int WSAGetLastError()
{
    const int nErrno = errno;
    return nErrno < 0 ? -nErrno : WSAErrorFromErrno(nErrno);
}

void WSASetLastError(int nError)
{
    errno = -nError;
}

int WSAStartup(WORD wVersionRequested, LPWSADATA pData)
{
    if (!pData)
        return WSAEFAULT;
    std::memset(pData, 0, sizeof *pData);
    pData->wHighVersion = MAKEWORD(1, 1);
    if (LOBYTE(wVersionRequested) < 1 || (LOBYTE(wVersionRequested) == 1 && HIBYTE(wVersionRequested) < 1))
        return WSAVERNOTSUPPORTED;
    pData->wVersion = MAKEWORD(1, 1);
    std::snprintf(pData->szDescription, sizeof pData->szDescription, "POSIX sockets");
    std::snprintf(pData->szSystemStatus, sizeof pData->szSystemStatus, "Running");
    pData->iMaxSockets = 1024;
    pData->iMaxUdpDg = 65467;
    ++s_nStarted;
    return 0;
}

int WSACleanup()
{
    if (s_nStarted <= 0) {
        WSASetLastError(WSANOTINITIALISED);
        return SOCKET_ERROR;
    }
    --s_nStarted;
    return 0;
}

int closesocket(SOCKET s)
{
    if (Selects().erase(s))
        TbGetDisplay()->WatchFd(s, 0);
    if (close(s) != 0) {
        WSASetLastError(WSAErrorFromErrno(errno));
        return SOCKET_ERROR;
    }
    return 0;
}

int ioctlsocket(SOCKET s, long nCommand, unsigned long* pArg)
{
    if (nCommand != static_cast<long>(FIONBIO_WINSOCK) || !pArg) {
        WSASetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    const int nFlags = fcntl(s, F_GETFL, 0);
    if (nFlags < 0 || fcntl(s, F_SETFL, *pArg ? (nFlags | O_NONBLOCK) : (nFlags & ~O_NONBLOCK)) != 0) {
        WSASetLastError(WSAErrorFromErrno(errno));
        return SOCKET_ERROR;
    }
    return 0;
}

int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT uMsg, long lEvent)
{
    int nType = 0;
    socklen_t nLen = sizeof nType;
    if (getsockopt(s, SOL_SOCKET, SO_TYPE, &nType, &nLen) != 0) {
        WSASetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (!hWnd || !uMsg || !lEvent) {
        if (Selects().erase(s))
            TbGetDisplay()->WatchFd(s, 0);
        return 0;
    }
    unsigned long ulOn = 1;
    if (ioctlsocket(s, static_cast<long>(FIONBIO_WINSOCK), &ulOn) != 0)
        return SOCKET_ERROR;
    auto it = Selects().find(s);
    const BOOL bConnectPending = it == Selects().end() || it->second.bConnectPending;
    AsyncSelect& sel = Selects()[s];
    sel.hWnd = hWnd;
    sel.uMsg = uMsg;
    sel.lEvents = lEvent;
    sel.bDatagram = nType == SOCK_DGRAM;
    sel.bReadArmed = sel.bWriteArmed = TRUE;
    sel.bConnectPending = bConnectPending && (lEvent & FD_CONNECT);
    UpdateWatch(s, sel);
    return 0;
}

void TbDisplayFdReady(int fd, int nEvents)
{
    auto it = Selects().find(fd);
    if (it == Selects().end()) {
        TbGetDisplay()->WatchFd(fd, 0);
        return;
    }
    if ((nEvents & TB_FD_WRITE) && it->second.bWriteArmed)
        OnWritable(fd, it->second);
    it = Selects().find(fd);
    if (it != Selects().end() && (nEvents & TB_FD_READ) && it->second.bReadArmed)
        OnReadable(fd, it->second);
    it = Selects().find(fd);
    if (it != Selects().end())
        UpdateWatch(fd, it->second);
}
