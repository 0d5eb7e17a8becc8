// The simulator's web side: the pages of the terminal's addresses from the model's data, with
// what the address carries decoded and shown as text; every request logged; a connection that
// says nothing holds up no other, and one that sends more than a request may hold gets no answer.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <chrono>
#include <fstream>
#include <string>
#include "SimSession.h"

namespace {

int ConnectTo(int nPort)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

// Everything the server sends until it closes, or 3 s pass.
std::string ReadAll(int fd)
{
    std::string text;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[4096];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        text.append(buf, static_cast<size_t>(n));
    }
    return text;
}

std::string Get(int nPort, const std::string& strRequest)
{
    const int fd = ConnectTo(nPort);
    if (fd < 0)
        return "no connection";
    send(fd, strRequest.data(), strRequest.size(), MSG_NOSIGNAL);
    std::string text = ReadAll(fd);
    close(fd);
    return text;
}

// A field of the first row of a data file whose first field is strKey.
std::string DataField(const std::string& strFile, const std::string& strKey, int nField)
{
    std::ifstream in(TB_SOURCE_DIR "/tools/testserver/data/market/" + strFile);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(strKey + "|", 0) != 0)
            continue;
        size_t nStart = 0;
        for (int i = 0; i < nField; ++i)
            nStart = line.find('|', nStart) + 1;
        return line.substr(nStart, line.find('|', nStart) - nStart);
    }
    return "?";
}

}  // namespace

TEST(WebSide, AnswersThePagesOfTheTerminalsAddressesAndLogsEveryRequest)
{
    char szDir[] = "/tmp/tb-sim-web-XXXXXX";
    ASSERT_TRUE(mkdtemp(szDir));
    const std::string strLog = std::string(szDir) + "/server.log";
    CSimSession s;
    ASSERT_TRUE(s.Start({"--log", strLog}));
    const int nPort = s.server.HttpPort();
    ASSERT_GT(nPort, 0);
    ASSERT_NE(s.server.Port(), nPort);

    // A silent connection first: the others are answered all the same.
    const int fdSilent = ConnectTo(nPort);
    ASSERT_GE(fdSilent, 0);

    const struct { const char* pszTarget; const char* pszStatus; std::string strHas; } cases[] = {
        {"/research/profile?symbol=ALPN", "200", DataField("us_symbols.txt", "ALPN", 2)},
        {"/research/insider?symbol=ALPN&market=us", "200", "target=\"_blank\""},
        // What the address carried, decoded, is text on the page, not markup.
        {"/research/research?symbol=A%26B%20%3Cb%3E", "200", "<title>Research A&amp;B &lt;b&gt;</title>"},
        {"/research/profile?symbol=BRK+B&market=kse", "200", "Company profile (KSE) BRK B"},
        {"/story?id=5001", "200", DataField("news.txt", "5001", 5)},
        {"/story?id=5002", "200", "dir=\"rtl\""},
        {"/story?id=x%23y", "404", "x#y"},
        {"/image.png", "200", "image/png"},
        {"/frame", "200", "<iframe"},
        {"/no/such/page", "404", "Not found"},
    };
    for (const auto& c : cases) {
        const std::string strReply = Get(nPort, std::string("GET ") + c.pszTarget + " HTTP/1.1\r\nHost: x\r\n\r\n");
        EXPECT_EQ(0u, strReply.find(std::string("HTTP/1.1 ") + c.pszStatus)) << c.pszTarget << "\n" << strReply;
        EXPECT_NE(std::string::npos, strReply.find(c.strHas)) << c.pszTarget << "\n" << strReply;
    }
    EXPECT_EQ(0u, Get(nPort, "POST /story?id=5001 HTTP/1.1\r\n\r\n").find("HTTP/1.1 405"));
    // A request past its limit is cut off unanswered, at once.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ("", Get(nPort, "GET /" + std::string(9000, 'a')));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    close(fdSilent);

    s.server.Stop();
    std::ifstream in(strLog);
    std::string strLogged;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("H ", 0) == 0)
            strLogged += line + "\n";
    EXPECT_NE(std::string::npos, strLogged.find("H GET /research/profile?symbol=ALPN HTTP/1.1\n")) << strLogged;
    EXPECT_NE(std::string::npos, strLogged.find("H POST /story?id=5001 HTTP/1.1\n")) << strLogged;
    EXPECT_EQ(std::string::npos, strLogged.find("aaaa")) << "a request cut off is not one";
}
