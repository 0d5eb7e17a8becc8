// A socket's readiness reaches its window through Qt's event loop: read, the peer's close, and
// write once the socket takes bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <unistd.h>
#include "QtTestSupport.h"
#include "platform/win/net/Winsock.h"

namespace {
const UINT WM_SOCKET = WM_USER + 2;

std::string SocketEvents(HWND hWnd)
{
    std::string s;
    for (const LoggedMessage& m : MessagesOf(WM_SOCKET)) {
        if (m.hWnd != hWnd)
            continue;
        const int nEvent = WSAGETSELECTEVENT(m.lParam);
        s += std::string(s.empty() ? "" : " ") +
             (nEvent == FD_READ ? "READ" : nEvent == FD_CLOSE ? "CLOSE" : nEvent == FD_WRITE ? "WRITE" : "?");
    }
    return s;
}

void PumpUntil(size_t nEvents)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (MessagesOf(WM_SOCKET).size() < nEvents && std::chrono::steady_clock::now() < end)
        PumpQt(10);
}
}

TEST(QtSocket, ReadCloseAndWriteReachTheWindow)
{
    HWND hWnd = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW, 10, 10, 100, 80);
    QtLog().clear();
    int fds[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ | FD_CLOSE));
    ASSERT_EQ(2, write(fds[1], "hi", 2));
    PumpUntil(1);
    EXPECT_EQ("READ", SocketEvents(hWnd));
    char buf[8];
    EXPECT_EQ(2, recv(fds[0], buf, sizeof buf, 0));
    close(fds[1]);
    ASSERT_EQ(0, WSAAsyncSelect(fds[0], hWnd, WM_SOCKET, FD_READ | FD_CLOSE | FD_WRITE));
    PumpUntil(3);
    const std::string events = SocketEvents(hWnd);
    EXPECT_TRUE(events == "READ WRITE CLOSE" || events == "READ CLOSE WRITE") << events;
    closesocket(fds[0]);
    PumpQt(20);
    DestroyWindow(hWnd);
}
