// Sockets on the headless display: the library start, errno as Winsock codes, and WSAAsyncSelect
// posting connect, read, write and close to a window, once per kind until it is asked again.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <unistd.h>
#include "platform/win/net/Winsock.h"
#include "platform/win/user/WindowTestSupport.h"
#include "platform/win/user/Messages.h"

namespace {
const UINT WM_SOCKET = WM_USER + 2;

struct WinsockTest : ::testing::Test {
    void SetUp() override
    {
        PumpReady();
        g_pfnTestOverride = nullptr;
        hWnd = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW);
        PumpReady();
        CMessageLog::Get().Clear();
    }
    void TearDown() override
    {
        DestroyWindow(hWnd);
        PumpReady();
    }
    // The socket notifications so far, as "READ CLOSE ..." with the error of each when not 0.
    std::string Events() const
    {
        std::string s;
        for (const RecordedMessage& m : CMessageLog::Get().All()) {
            if (m.hWnd != hWnd || m.uMsg != WM_SOCKET)
                continue;
            static const struct { int n; const char* psz; } s_names[] = {
                {FD_READ, "READ"}, {FD_WRITE, "WRITE"}, {FD_CONNECT, "CONNECT"}, {FD_CLOSE, "CLOSE"}};
            for (const auto& e : s_names)
                if (WSAGETSELECTEVENT(m.lParam) == e.n)
                    s += std::string(s.empty() ? "" : " ") + e.psz;
            if (WSAGETSELECTERROR(m.lParam))
                s += "/" + std::to_string(WSAGETSELECTERROR(m.lParam));
        }
        return s;
    }
    void PumpUntil(const std::function<bool()>& done, int nMs = 2000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
        while (!done() && std::chrono::steady_clock::now() < end)
            PumpFor(5);
    }
    HWND hWnd = nullptr;
};

int Listener(int* pnPort)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(fd, 4);
    socklen_t nLen = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &nLen);
    *pnPort = ntohs(addr.sin_port);
    return fd;
}

int ConnectTo(int nPort)
{
    const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    unsigned long ulOn = 1;
    EXPECT_EQ(0, ioctlsocket(s, static_cast<long>(FIONBIO_WINSOCK), &ulOn));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        EXPECT_EQ(WSAEWOULDBLOCK, WSAGetLastError());
    }
    return s;
}
}

TEST(Winsock, StartupVersionsAndErrorCodes)
{
    WSADATA data;
    EXPECT_EQ(WSAVERNOTSUPPORTED, WSAStartup(MAKEWORD(1, 0), &data));
    ASSERT_EQ(0, WSAStartup(MAKEWORD(1, 1), &data));
    EXPECT_EQ(MAKEWORD(1, 1), data.wVersion);
    EXPECT_EQ(0, WSACleanup());
    EXPECT_EQ(SOCKET_ERROR, WSACleanup());
    EXPECT_EQ(WSANOTINITIALISED, WSAGetLastError());
    // A later POSIX failure replaces a code set by the layer.
    EXPECT_EQ(SOCKET_ERROR, closesocket(-1));
    EXPECT_EQ(WSAEBADF, WSAGetLastError());
    // Where POSIX and Winsock name a state differently.
    EXPECT_EQ(WSAEWOULDBLOCK, WSAErrorFromErrno(EINPROGRESS));
    EXPECT_EQ(WSAECONNRESET, WSAErrorFromErrno(EPIPE));
}

TEST_F(WinsockTest, ConnectReportsSuccessAndRefusal)
{
    int nPort = 0;
    const int fdListen = Listener(&nPort);
    const SOCKET s = ConnectTo(nPort);
    ASSERT_EQ(0, WSAAsyncSelect(s, hWnd, WM_SOCKET, FD_CONNECT));
    PumpUntil([&] { return !Events().empty(); });
    EXPECT_EQ("CONNECT", Events());
    closesocket(s);
    close(fdListen);         // nobody listens on the port any more
    CMessageLog::Get().Clear();
    const SOCKET s2 = ConnectTo(nPort);
    ASSERT_EQ(0, WSAAsyncSelect(s2, hWnd, WM_SOCKET, FD_CONNECT));
    PumpUntil([&] { return !Events().empty(); });
    EXPECT_EQ("CONNECT/" + std::to_string(WSAECONNREFUSED), Events());
    closesocket(s2);
}

TEST_F(WinsockTest, ReadIsPostedOncePerSelectAndCloseAfterTheData)
{
    int fds[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ | FD_CLOSE));
    ASSERT_EQ(3, write(fds[1], "abc", 3));
    PumpUntil([&] { return !Events().empty(); });
    ASSERT_EQ(3, write(fds[1], "def", 3));
    PumpFor(30);
    EXPECT_EQ("READ", Events()) << "one until the window asks again";
    char buf[16];
    EXPECT_EQ(6, recv(fds[0], buf, sizeof buf, 0));
    close(fds[1]);
    PumpFor(30);
    EXPECT_EQ("READ", Events());
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ | FD_CLOSE));
    PumpUntil([&] { return Events() != "READ"; });
    EXPECT_EQ("READ CLOSE", Events());
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, 0, 0));
    PumpFor(30);
    EXPECT_EQ("READ CLOSE", Events()) << "stopped";
    closesocket(fds[0]);
}

TEST_F(WinsockTest, CloseComesAsReadWhenOnlyReadWasAskedFor)
{
    int fds[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ));
    close(fds[1]);
    PumpUntil([&] { return !Events().empty(); });
    EXPECT_EQ("READ", Events());
    char ch;
    EXPECT_EQ(0, recv(fds[0], &ch, 1, 0));
    closesocket(fds[0]);
}

TEST_F(WinsockTest, WriteIsPostedWhenTheSocketTakesBytes)
{
    int fds[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ | FD_WRITE | FD_CLOSE));
    PumpUntil([&] { return !Events().empty(); });
    EXPECT_EQ("WRITE", Events());
    // Filled up, the socket says nothing until the peer reads.
    std::string block(65536, 'x');
    while (send(fds[0], block.data(), block.size(), MSG_NOSIGNAL | MSG_DONTWAIT) > 0) {
    }
    EXPECT_EQ(WSAEWOULDBLOCK, WSAGetLastError());
    CMessageLog::Get().Clear();
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ | FD_WRITE | FD_CLOSE));
    PumpFor(30);
    EXPECT_EQ("", Events());
    char buf[65536];
    while (recv(fds[1], buf, sizeof buf, MSG_DONTWAIT) > 0) {
    }
    PumpUntil([&] { return !Events().empty(); });
    EXPECT_EQ("WRITE", Events());
    closesocket(fds[0]);
    close(fds[1]);
}
