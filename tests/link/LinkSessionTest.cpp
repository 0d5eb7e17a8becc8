// The terminal's road end to end over loopback: the link window and the dispatcher, with a double
// of the application, against tools/testserver (GMP and nettle on its side): hello, market list,
// key exchange, enciphered lines, error texts, login, the follow-up requests, and every way the
// server can let the session down.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include "LinkSessionSupport.h"
#include "link/ErrorDictionary.h"
#include "link/MessageDispatcher.h"
#include "link/MessageSource.h"
#include "link/ZorvatComm.h"

namespace {

// The terminal's link, with a test's hook after each received line has been handled.
class CHookedComm : public CZorvatComm
{
public:
    using CZorvatComm::CZorvatComm;
    std::function<void(const char*)> m_afterLine;
protected:
    void OnLineReceived(const char* pszLine) override
    {
        CZorvatComm::OnLineReceived(pszLine);
        if (m_afterLine)
            m_afterLine(pszLine);
    }
};

// One terminal: the application's double, its message source, error dictionary, dispatcher and
// the link window, pointed at the server's port.
struct CTerminal {
    CSessionApp app;
    CSessionRefData refData;
    CZorvatMessageSource source;
    CZorvatErrorDictionary errors{&source, &app, &refData};
    CMessageDispatcher dispatcher{&source, &errors, &app, &refData};
    CHookedComm* pComm = nullptr;

    explicit CTerminal(int nPort, const char* pszServer = "127.0.0.1")
    {
        RegisterMessageCodes(g_messageCodePairs);
        const std::string strSettings =
            WriteSettings(std::string("IP-Server=") + pszServer + "\nIP-Port=" + std::to_string(nPort) + "\n");
        pComm = new CHookedComm(strSettings.c_str(), &dispatcher, &app);
        app.m_pLink = pComm;
        app.m_pDispatcher = &dispatcher;
        EXPECT_TRUE(pComm->CreateLinkWindow());
    }
    ~CTerminal()
    {
        if (app.m_pLink)
            pComm->DestroyWindow();     // the window deletes itself and tells the application
    }
    CString ErrorText(long nCode)
    {
        CString str;
        errors.GetText(&str, nCode);
        return str;
    }
};

// Waits until the server has received nCount lines, then lets their replies come in.
bool WaitForRequests(const CTestServer& server, size_t nCount, int nMs = 10000)
{
    const bool bOk = PumpUntil([&] { return server.Received().size() >= nCount; }, nMs);
    PumpFor(100);
    return bOk;
}

const char* const s_expectedRequests[] = {
    "&VC|1|XC||0|80000", "&XC|2|XC||||", "&X9|3|XC||", "&X9|4|XC||*", "&MT|5|XC||", "&EM|6|XC||0|0",
    "&UL|7|XC||viewer|viewer|", "&CT|8|XC||", "&HD|9|XC||", "&VS|10|XC||", "&VX|11|XC||"};

void ExpectWholeSession(CTerminal& t, const CTestServer& server)
{
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(std::size(s_expectedRequests), received.size()) << t.app.Events();
    for (size_t i = 0; i < received.size(); ++i) {
        const std::string expected = s_expectedRequests[i];
        if (expected.back() == '*')
            EXPECT_EQ(expected.substr(0, expected.size() - 1), received[i].substr(0, expected.size() - 1));
        else
            EXPECT_EQ(expected, received[i]);
    }
    EXPECT_GT(received[3].size(), 20u) << "the session key, enciphered under the server's key";
    EXPECT_EQ(std::vector<long>({8, 9, 10, 11}), t.app.m_followUps);
    EXPECT_EQ(1, t.app.Count("state -5")) << t.app.Events();
    EXPECT_TRUE(t.app.Has("info #40340"));
    EXPECT_TRUE(t.app.Has("login reply 0"));
    EXPECT_FALSE(t.app.Has("state 599"));
    EXPECT_TRUE(t.pComm->IsEncrypted());
    // The error texts came enciphered, several padded lines in one write.
    EXPECT_STREQ("Unknown user or password", t.ErrorText(100));
    EXPECT_STREQ("Quantity must be at least ( ) shares", t.ErrorText(442));
}

TEST(LinkSession, WholeSessionThroughLoginAndItsFollowUps)
{
    CTestServer server;
    ASSERT_TRUE(server.Start());
    CTerminal t(server.Port());
    EXPECT_FALSE(t.pComm->Connect(LINK_DIRECT_SOCKET, 1)) << "the connect finishes later";
    ASSERT_TRUE(WaitForRequests(server, std::size(s_expectedRequests))) << t.app.Events();
    ExpectWholeSession(t, server);
    CString strText;
    t.pComm->GetConnectionText(&strText);
    EXPECT_STREQ(("TCP/IP 127.0.0.1:" + std::to_string(server.Port())).c_str(), strText);
}

TEST(LinkSession, RepliesSplitAtEveryByteGiveTheSameSession)
{
    for (const char* pszSplit : {"1", "7", "17"}) {
        CTestServer server;
        ASSERT_TRUE(server.Start({"--split", pszSplit}));
        CTerminal t(server.Port(), "LOCALHOST");
        t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
        ASSERT_TRUE(WaitForRequests(server, std::size(s_expectedRequests), 20000)) << pszSplit << ": " << t.app.Events();
        ExpectWholeSession(t, server);
    }
}

TEST(LinkSession, RefusedLoginAsksAgain)
{
    CTestServer server;
    ASSERT_TRUE(server.Start());
    CTerminal t(server.Port());
    t.app.m_logins = {{"viewer", "wrong"}, {"trader", "secret"}};
    t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
    ASSERT_TRUE(WaitForRequests(server, 12)) << t.app.Events();
    const std::vector<std::string> received = server.Received();
    EXPECT_EQ("&UL|7|XC||viewer|wrong|", received[6]);
    EXPECT_EQ("&UL|8|XC||trader|secret|", received[7]);
    EXPECT_EQ("&CT|9|XC||", received[8]);
    // The refusal shows the server's own text for its code.
    EXPECT_TRUE(t.app.Has("info Unknown user or password")) << t.app.Events();
    EXPECT_EQ(1, t.app.Count("login reply 0"));
}

TEST(LinkSession, ServerCloseComesOnceAfterTheDataSentBeforeIt)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--scenario", "close-after-hello"}));
    CTerminal t(server.Port());
    t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
    ASSERT_TRUE(PumpUntil([&] { return t.app.Has("state 599"); })) << t.app.Events();
    PumpFor(100);
    EXPECT_EQ(1, t.app.Count("state 599"));
    EXPECT_STREQ("Test server", t.dispatcher.GetConnectionValues().strText5) << "the hello reply came first";
    EXPECT_FALSE(t.pComm->IsConnected());
    EXPECT_TRUE(IsWindow(t.pComm->m_hWnd)) << "the window stays for the next connect";
}

TEST(LinkSession, RefusedPortReports503)
{
    CTestServer server;
    ASSERT_TRUE(server.Start());
    const int nPort = server.Port();
    server.Stop();              // nothing listens there any more
    CTerminal t(nPort);
    t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
    ASSERT_TRUE(PumpUntil([&] { return t.app.Has("state 503"); })) << t.app.Events();
    EXPECT_FALSE(t.app.Has("state -5"));
    EXPECT_FALSE(t.pComm->IsConnected());
    EXPECT_FALSE(t.pComm->IsConnecting());
}

TEST(LinkSession, MalformedKeyExchangeEndsTheLinkAndSaysSo)
{
    for (const char* pszScenario : {"x9-two-fields", "x9-reject"}) {
        CTestServer server;
        ASSERT_TRUE(server.Start({"--scenario", pszScenario}));
        CTerminal t(server.Port());
        t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
        ASSERT_TRUE(PumpUntil([&] { return t.app.Has("info #40341"); })) << pszScenario << ": " << t.app.Events();
        PumpFor(50);
        EXPECT_EQ(1, t.app.Count("state 599")) << pszScenario << ": " << t.app.Events();
        EXPECT_FALSE(t.pComm->IsConnected()) << pszScenario;
        EXPECT_FALSE(t.app.Has("login viewer")) << pszScenario;
        EXPECT_FALSE(t.pComm->IsEncrypted()) << pszScenario;
    }
}

TEST(LinkSession, LinesInTheSameWriteAsTheAcceptAreDeciphered)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--scenario", "data-after-accept"}));
    CTerminal t(server.Port());
    t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
    ASSERT_TRUE(PumpUntil([&] { return t.app.Has("DR K"); })) << t.app.Events();
    ASSERT_TRUE(WaitForRequests(server, std::size(s_expectedRequests))) << t.app.Events();
    ExpectWholeSession(t, server);
}

TEST(LinkSession, ServerThatNeverAcknowledgesStillTakesEveryRequest)
{
    CTestServer server;
    ASSERT_TRUE(server.Start({"--scenario", "no-ack"}));
    CTerminal t(server.Port());
    t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
    ASSERT_TRUE(WaitForRequests(server, std::size(s_expectedRequests))) << t.app.Events();
    // Far more than the send queue holds: each line leaves it once written.
    const int nLines = 4000;
    long nLast = 11;
    for (int i = 0; i < nLines; ++i) {
        long nNumber = 0;
        ASSERT_TRUE(t.pComm->SendLine("&QQ|XC||a request of some forty characters", &nNumber)) << i;
        ASSERT_EQ(nLast + 1, nNumber);
        nLast = nNumber;
        if (i % 500 == 0)
            PumpFor(1);
    }
    ASSERT_TRUE(WaitForRequests(server, std::size(s_expectedRequests) + nLines, 20000));
    EXPECT_EQ("&QQ|" + std::to_string(nLast) + "|XC||a request of some forty characters", server.Received().back());
}

TEST(LinkSession, LookupsSentWhileTheKeyIsOutAllReachTheServerAfterIt)
{
    CTestServer server;
    ASSERT_TRUE(server.Start());
    CTerminal t(server.Port());
    const int nLookups = 10000;
    int nRefused = -1;
    t.pComm->m_afterLine = [&](const char* pszLine) {
        // The server's key came first and ours has just gone: its accept is still to come.
        if (nRefused < 0 && std::string(pszLine).compare(0, 4, "~X9|") == 0) {
            nRefused = 0;
            for (int i = 0; i < nLookups; ++i)
                nRefused += !t.pComm->SendLine("&QQ|XC||NBK", nullptr);
        }
    };
    t.pComm->Connect(LINK_DIRECT_SOCKET, 1);
    ASSERT_TRUE(PumpUntil([&] { return t.app.Has("login reply 0"); }, 20000)) << t.app.Events();
    EXPECT_EQ(0, nRefused);
    WaitForRequests(server, std::size(s_expectedRequests) + nLookups, 5000);
    const std::vector<std::string> received = server.Received();
    ASSERT_EQ(std::size(s_expectedRequests) + nLookups, received.size());
    EXPECT_EQ("&QQ|5|XC||NBK", received[4]);
    EXPECT_EQ("&QQ|10004|XC||NBK", received[nLookups + 3]);
    EXPECT_EQ("&MT|10005|XC||", received[nLookups + 4]);
}

TEST(LinkSession, ConnectReturnsAtOnceWhateverTheServerDoes)
{
    // An address that never answers: the connect waits in the background, bounded by a timer.
    CTerminal t(9, "10.255.255.1");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(t.pComm->Connect(LINK_DIRECT_SOCKET, 1));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_TRUE(t.pComm->IsConnecting() || t.app.Has("state 503")) << t.app.Events();
    EXPECT_FALSE(t.pComm->Disconnect(FALSE));
    EXPECT_FALSE(t.pComm->IsConnecting());
    PumpFor(50);
    EXPECT_FALSE(t.app.Has("state -5"));
}

}
