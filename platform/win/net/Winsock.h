#pragma once
// The Winsock 1.1 subset the link uses, on POSIX sockets. Sockets are made, connected, bound,
// read and written with the POSIX calls themselves (send with MSG_NOSIGNAL, recv() == 0 is the
// peer's close); this adds what POSIX lacks: the library start, the Winsock error codes (mapped
// from errno), closesocket and ioctlsocket, and WSAAsyncSelect, which reports a socket's
// readiness to a window as a posted message.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include "platform/win/WinTypes.h"

typedef int SOCKET;                     // the descriptor itself
#define INVALID_SOCKET (-1)
#define SOCKET_ERROR (-1)

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128
struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
};
typedef WSADATA* LPWSADATA;

// Events of WSAAsyncSelect; the message's lParam carries the event and an error code.
#define FD_READ     0x01
#define FD_WRITE    0x02
#define FD_OOB      0x04
#define FD_ACCEPT   0x08
#define FD_CONNECT  0x10
#define FD_CLOSE    0x20
#define WSAMAKESELECTREPLY(event, error) (static_cast<LPARAM>(MAKELONG(event, error)))
#define WSAGETSELECTEVENT(lParam) LOWORD(lParam)
#define WSAGETSELECTERROR(lParam) HIWORD(lParam)

#define FIONBIO_WINSOCK 0x8004667E      // ioctlsocket's command to switch blocking off or on

// Error codes as Winsock reports them.
#define WSAEINTR            10004
#define WSAEBADF            10009
#define WSAEACCES           10013
#define WSAEFAULT           10014
#define WSAEINVAL           10022
#define WSAEMFILE           10024
#define WSAEWOULDBLOCK      10035
#define WSAEINPROGRESS      10036
#define WSAEALREADY         10037
#define WSAENOTSOCK         10038
#define WSAEDESTADDRREQ     10039
#define WSAEMSGSIZE         10040
#define WSAEPROTOTYPE       10041
#define WSAENOPROTOOPT      10042
#define WSAEPROTONOSUPPORT  10043
#define WSAEOPNOTSUPP       10045
#define WSAEAFNOSUPPORT     10047
#define WSAEADDRINUSE       10048
#define WSAEADDRNOTAVAIL    10049
#define WSAENETDOWN         10050
#define WSAENETUNREACH      10051
#define WSAENETRESET        10052
#define WSAECONNABORTED     10053
#define WSAECONNRESET       10054
#define WSAENOBUFS          10055
#define WSAEISCONN          10056
#define WSAENOTCONN         10057
#define WSAESHUTDOWN        10058
#define WSAETIMEDOUT        10060
#define WSAECONNREFUSED     10061
#define WSAEHOSTDOWN        10064
#define WSAEHOSTUNREACH     10065
#define WSAVERNOTSUPPORTED  10092
#define WSANOTINITIALISED   10093
#define WSAEDISCON          10101
#define WSAHOST_NOT_FOUND   11001

// The library: a version below 1.1 is refused (WSAVERNOTSUPPORTED). Start and cleanup count.
int WSAStartup(WORD wVersionRequested, LPWSADATA pData);
int WSACleanup();

// The Winsock code of the calling thread's last socket failure (errno mapped; 0 for none).
int WSAGetLastError();
void WSASetLastError(int nError);
// The Winsock code of an errno value.
int WSAErrorFromErrno(int nErrno);

int closesocket(SOCKET s);
// FIONBIO_WINSOCK only: *pArg non-zero makes the socket non-blocking.
int ioctlsocket(SOCKET s, long nCommand, unsigned long* pArg);

// Posts uMsg to hWnd (wParam the socket, lParam WSAMAKESELECTREPLY) for the events in lEvent;
// 0 for both stops the notifications. Like Winsock it makes the socket non-blocking, and after
// an event of a kind has been posted no other is posted for that kind (reading: FD_READ and
// FD_CLOSE; writing: FD_WRITE and FD_CONNECT) until WSAAsyncSelect is called again. The peer's
// close of a socket that asked only for FD_READ comes as FD_READ, for recv() to find it.
// User-interface thread only.
int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT uMsg, long lEvent);
