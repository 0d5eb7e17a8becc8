// The link's timers at their boundaries: the idle watchdog's third silent period and what comes
// after it (a reconnect on the other serial port, a resuming reconnect of the network link, or
// the end), the raw serial link switched over to the protocol, the reconnect timer of the line
// mode, the resumed session that writes its unacknowledged line again, and the numbered feed's
// restart. Timers are driven by hand: the protocol machinery through its timer operations, the
// window through WM_TIMER.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <string>
#include <vector>
#include "LinkPortDouble.h"
#include "LinkSessionSupport.h"
#include "link/LinkChecksum.h"
#include "link/NorvCom.h"

namespace {

// A link of the protocol modes whose reconnects close and open it as the window does.
struct CLink {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    char chNext = '/';
    CLink()
    {
        link.Options().bDecompress = FALSE;
        port.m_onReconnect = [this](int nType) {
            link.OnClosed(TRUE);
            link.PrepareConnect(nType);
            link.OnOpened(nType);
        };
    }
    void Open(int nType)
    {
        link.PrepareConnect(nType);
        link.OnOpened(nType);
    }
    // One control line in a packet of the server's cycle.
    void Server(const std::string& payload)
    {
        const std::string packet = ServerPacket(chNext, payload);
        link.OnReceived(reinterpret_cast<const BYTE*>(packet.data()), static_cast<int>(packet.size()));
    }
    // What the link wrote, without the acknowledgements of the server's packets.
    std::string Written()
    {
        return WithoutPacketAcks(port.TakeWritten());
    }
    long Send(const char* pszLine)
    {
        long nNumber = -1;
        EXPECT_TRUE(link.SendLine(pszLine, &nNumber)) << pszLine;
        return nNumber;
    }
};

TEST(LinkTimerBoundary, RawSerialLinkSwitchedToTheProtocolSaysHelloThreeTimesBeforeGivingUp)
{
    CLink t;
    t.Open(LINK_SERIAL_RAW);
    EXPECT_FALSE(t.port.TimerRuns(LINK_TIMER_IDLE));
    t.Open(LINK_SERIAL_SWITCH);
    EXPECT_EQ(LINK_SERIAL_PROTOCOL, t.link.GetType());
    EXPECT_EQ("\r@OK3J\r", t.Written());
    EXPECT_TRUE(t.port.TimerRuns(LINK_TIMER_IDLE));
    EXPECT_EQ(0, t.link.GetSilentCount()) << "the protocol's reset: silent from zero";
    for (int i = 0; i < 3; ++i) {
        t.link.OnIdleTimer();
        EXPECT_EQ("\r\r@OK3J\r", t.Written()) << "period " << i;
        EXPECT_TRUE(t.port.m_states.empty()) << "period " << i;
    }
    t.link.OnIdleTimer();
    EXPECT_EQ("", t.Written());
    EXPECT_EQ(std::vector<int>({LINK_ERR_IDLE}), t.port.m_states);
    EXPECT_FALSE(t.port.TimerRuns(LINK_TIMER_IDLE));
}

TEST(LinkTimerBoundary, SerialProtocolLinkOpenedAsSuchGivesUpAtTheFirstSilentPeriod)
{
    // Opened directly as type 2 the link starts silent three times over.
    CLink t;
    t.Open(LINK_SERIAL_PROTOCOL);
    EXPECT_EQ("\r@OK3J\r", t.Written());
    EXPECT_EQ(3, t.link.GetSilentCount());
    t.link.OnIdleTimer();
    EXPECT_EQ("", t.Written());
    EXPECT_EQ(std::vector<int>({LINK_ERR_IDLE}), t.port.m_states);
}

TEST(LinkTimerBoundary, SwitchedLinkOnADualPortTriesTheOtherPortAfterItsHellos)
{
    CLink t;
    t.link.Options().bDualPort = TRUE;
    t.Open(LINK_SERIAL_RAW);
    t.Open(LINK_SERIAL_SWITCH);
    t.Written();
    for (int i = 0; i < 3; ++i)
        t.link.OnIdleTimer();
    EXPECT_EQ("\r\r@OK3J\r\r\r@OK3J\r\r\r@OK3J\r", t.Written());
    EXPECT_TRUE(t.port.m_reconnects.empty());
    t.link.OnIdleTimer();
    EXPECT_EQ(std::vector<int>({LINK_SERIAL_PROTOCOL}), t.port.m_reconnects);
    EXPECT_TRUE(t.port.m_states.empty());
}

TEST(LinkTimerBoundary, DualSerialPortReconnectResumesAndKeepsThePacketOnlyInTheConnectPhase)
{
    for (BOOL bConnectPhase : {FALSE, TRUE}) {
        CLink t;
        t.link.Options().bDualPort = TRUE;
        t.link.Options().bSerialProtocol = TRUE;
        t.Open(LINK_SERIAL_PROTOCOL);
        EXPECT_EQ("\r@OK3J\r", t.Written());
        if (bConnectPhase) {
            t.Server("$RC|0|0|0");                  // nothing to resend: a fresh connect request
            EXPECT_EQ("\r@CO3B\r", t.Written());
            // Silent from zero again: three connect requests, then the other port.
            for (int i = 0; i < 3; ++i)
                t.link.OnIdleTimer();
            EXPECT_EQ("\r\r@CO3B\r\r\r@CO3B\r\r\r@CO3B\r", t.Written());
        }
        EXPECT_EQ(1, t.Send("@AB|in flight"));
        EXPECT_EQ(Checked("@AB|1|in flight") + "\r", t.Written());
        EXPECT_TRUE(t.port.m_reconnects.empty());
        t.link.OnIdleTimer();
        ASSERT_EQ(std::vector<int>({LINK_SERIAL_PROTOCOL}), t.port.m_reconnects) << bConnectPhase;
        EXPECT_TRUE(t.port.m_states.empty());
        // The other port, resuming: the numbering goes on.
        EXPECT_EQ("\r@OK3J\r", t.Written());
        t.chNext = '/';
        t.Server("$CO|0|x");
        if (bConnectPhase) {
            // The packet character came back and the line in flight is written again.
            EXPECT_EQ("\r" + Checked("@AB|1|in flight") + "\r", t.Written());
            EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), t.port.m_states);
        } else {
            EXPECT_EQ("\r", t.Written());
            EXPECT_TRUE(t.port.m_states.empty());
        }
        t.link.Acknowledge(1, TRUE);
        EXPECT_EQ(2, t.Send("@CD|numbering kept")) << bConnectPhase;
    }
}

TEST(LinkTimerBoundary, NetworkLinkReconnectsOnlyFromTheConnectPhaseWithRetry)
{
    // Outside the connect phase the retry flag does not help: three hellos, then 512.
    CLink idle;
    idle.link.Options().bRetry = TRUE;
    idle.Open(LINK_NETWORK);
    for (int i = 0; i < 3; ++i)
        idle.link.OnIdleTimer();
    EXPECT_TRUE(idle.port.m_states.empty());
    idle.link.OnIdleTimer();
    EXPECT_EQ(std::vector<int>({LINK_ERR_IDLE}), idle.port.m_states);
    EXPECT_TRUE(idle.port.m_reconnects.empty());

    for (BOOL bRetry : {FALSE, TRUE}) {
        CLink t;
        t.link.Options().bRetry = bRetry;
        t.Open(LINK_NETWORK);
        t.Server("$OK|0");                          // the connect request goes out, no answer
        EXPECT_EQ("\r@OK3J\r" + Checked("@CO||") + "\r", t.Written());
        for (int i = 0; i < 3; ++i)
            t.link.OnIdleTimer();
        EXPECT_EQ("\r\r@CO3B\r\r\r@CO3B\r\r\r@CO3B\r", t.Written());
        EXPECT_TRUE(t.port.m_reconnects.empty() && t.port.m_states.empty());
        t.link.OnIdleTimer();
        if (!bRetry) {
            EXPECT_EQ(std::vector<int>({LINK_ERR_IDLE}), t.port.m_states);
            EXPECT_TRUE(t.port.m_reconnects.empty());
            continue;
        }
        EXPECT_EQ(std::vector<int>({LINK_NETWORK}), t.port.m_reconnects);
        EXPECT_TRUE(t.port.m_states.empty());
        EXPECT_EQ("\r@OK3J\r", t.Written());        // the hello on the new connection
        // The server answers at last: a resuming connect, then ready on its answer.
        t.chNext = '/';
        t.Server("$OK|0");
        EXPECT_EQ(Checked("@CO||") + "\r", t.Written());
        t.chNext = '/';                             // the connect starts the packet cycle again
        t.Server("$CO|0|x|3");
        EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), t.port.m_states);
        EXPECT_EQ(3, t.link.GetResumeNumber());
    }
}

TEST(LinkTimerBoundary, ResumedSessionWritesItsUnacknowledgedLineAgainAfterThePause)
{
    CLink t;
    t.link.Options().bRetry = TRUE;
    t.link.Options().nClientId = 80000;
    t.Open(LINK_NETWORK);
    t.Server("$OK|0");
    t.chNext = '/';
    t.Server("$CO|0|x|5");
    t.Server("$OK|0");
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), t.port.m_states);
    t.Server("$OK|1");                              // acknowledges "@VC|1|80000"
    EXPECT_EQ(2, t.Send("@QT|in flight"));
    EXPECT_EQ(3, t.Send("@QT|queued"));
    t.Written();

    // The connection drops with the line unacknowledged; the link resumes on a new one.
    t.link.OnClosed(/*bKeepResume=*/TRUE);
    ASSERT_TRUE(t.link.PrepareResume());
    t.Open(LINK_NETWORK);
    t.chNext = '/';
    t.Server("$OK|0");
    EXPECT_EQ("\r@OK3J\r" + Checked("@CO|||5") + "\r", t.Written());
    ASSERT_TRUE(t.port.TimerRuns(LINK_TIMER_RESUME_WAIT));
    // The server takes the session up at once, inside the pause: writing waits for its end.
    t.chNext = '/';
    t.Server("$CO|0|x|5");
    t.chNext = static_cast<char>(t.link.GetLastPacketChar() + 1);     // the old cycle goes on
    EXPECT_EQ("\r", t.Written());
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY, LINK_STATE_READY}), t.port.m_states);
    t.link.OnResumeWaitTimer();
    EXPECT_EQ(Checked("@QT|2|in flight") + "\r", t.Written()) << "the line the server may have missed";
    // The hello of the resumed session, then its acknowledgement lets the next line go.
    t.Server("$OK|2");
    EXPECT_EQ("", t.Written());
    t.Server("$OK|2");
    EXPECT_EQ(Checked("@QT|3|queued") + "\r", t.Written());
    EXPECT_EQ(4, t.Send("@QT|numbering kept"));
}

TEST(LinkTimerBoundary, ResumedSessionWithNothingInFlightSendsWhatWasQueuedInThePause)
{
    CLink t;
    t.link.Options().bRetry = TRUE;
    t.Open(LINK_NETWORK);
    t.Server("$OK|0");
    t.chNext = '/';
    t.Server("$CO|0|x|5");
    t.Server("$OK|0");
    t.link.OnClosed(/*bKeepResume=*/TRUE);
    ASSERT_TRUE(t.link.PrepareResume());
    t.Open(LINK_NETWORK);
    t.chNext = '/';
    t.Server("$OK|0");
    t.Written();
    EXPECT_EQ(1, t.Send("@QT|during the pause"));
    t.chNext = '/';
    t.Server("$CO|0|x|5");
    t.chNext = static_cast<char>(t.link.GetLastPacketChar() + 1);
    EXPECT_EQ("\r", t.Written());
    t.link.OnResumeWaitTimer();
    EXPECT_EQ(Checked("@QT|1|during the pause") + "\r", t.Written());
    t.Server("$OK|1");                              // the hello of the resumed session
    t.Server("$OK|1");
    EXPECT_EQ(2, t.Send("@QT|after"));
    EXPECT_EQ(Checked("@QT|2|after") + "\r", t.Written()) << "written once, and the next one goes";
}

// A network link in line mode with the serial protocol setting: the numbered feed.
struct CFeedLink : CLink {
    CFeedLink()
    {
        link.Options().bLineMode = TRUE;
        link.Options().bSerialProtocol = TRUE;
        Open(LINK_NETWORK);
        port.TakeWritten();
    }
    bool Line(const std::string& line)
    {
        const size_t nBefore = port.m_lines.size();
        const std::string bytes = Checked(line) + "\n";
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
        return port.m_lines.size() > nBefore && port.m_lines.back() == line;
    }
};

TEST(LinkTimerBoundary, NumberedFeedRestartStartsTheNumberingAndTheQueueAfresh)
{
    CFeedLink t;
    for (int i = 1; i <= 20; ++i)
        ASSERT_TRUE(t.Line("$QT|" + std::to_string(i) + "|x"));
    EXPECT_EQ(1, t.Send("@AB|sent"));
    EXPECT_EQ(2, t.Send("@CD|waits behind it"));
    EXPECT_EQ(Checked("@AB|1|sent") + "\r", t.port.TakeWritten());
    // The server starts over without a resend request.
    EXPECT_TRUE(t.Line("$RC|0|0|0"));
    EXPECT_EQ(0, t.link.GetLastSeenNumber());
    EXPECT_EQ("\r@CO3B\r", t.port.TakeWritten());
    EXPECT_EQ(1, t.port.m_nClears);
    // The old lines are gone and a new one goes out at once with the number 1.
    EXPECT_EQ(1, t.Send("@EF|fresh"));
    EXPECT_EQ(Checked("@EF|1|fresh") + "\r", t.port.TakeWritten());
    // The feed's numbers start again too.
    EXPECT_TRUE(t.Line("$QT|1|first of the new feed"));
    EXPECT_TRUE(t.Line("$QT|2|second"));
    EXPECT_FALSE(t.Line("$QT|2|again"));
}

TEST(LinkTimerBoundary, ReconnectTimerOfTheLineModeRunsEveryReconnectTimeAndOutlivesTheLink)
{
    for (int nMinutes : {0, 1, 3}) {
        for (BOOL bUdp : {FALSE, TRUE}) {
            CLink t;
            t.link.Options().bLineMode = TRUE;
            t.link.Options().bUdp = bUdp;
            t.link.Options().nReconnectMinutes = nMinutes;
            t.Open(LINK_NETWORK);
            EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), t.port.m_states);
            const bool bRuns = nMinutes > 0 && !bUdp;
            ASSERT_EQ(bRuns, t.port.TimerRuns(LINK_TIMER_RECONNECT)) << nMinutes << " minutes, UDP " << bUdp;
            if (bRuns) {
                EXPECT_EQ(static_cast<UINT>(nMinutes) * 60000u, t.port.m_timers[LINK_TIMER_RECONNECT]);
            }
            // The link goes: the timer stays, to bring it back.
            t.link.OnClosed(FALSE);
            EXPECT_EQ(bRuns, t.port.TimerRuns(LINK_TIMER_RECONNECT));
        }
    }
    // The packet mode has no reconnect timer.
    CLink packets;
    packets.link.Options().nReconnectMinutes = 1;
    packets.Open(LINK_NETWORK);
    EXPECT_FALSE(packets.port.TimerRuns(LINK_TIMER_RECONNECT));
}

// A TCP listener on loopback that counts the connections it took.
class CListener
{
public:
    CListener()
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_fd, 4);
        fcntl(m_fd, F_SETFL, O_NONBLOCK);
        socklen_t nLen = sizeof addr;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &nLen);
        m_nPort = ntohs(addr.sin_port);
    }
    ~CListener()
    {
        for (int fd : m_accepted)
            close(fd);
        close(m_fd);
    }
    int Port() const { return m_nPort; }
    // Takes the connections waiting; how many were taken in all.
    size_t Accepted()
    {
        for (int fd; (fd = accept(m_fd, nullptr, nullptr)) >= 0;)
            m_accepted.push_back(fd);
        return m_accepted.size();
    }
    void CloseLast()
    {
        close(m_accepted.back());
        m_accepted.back() = -1;
    }
private:
    int m_fd = -1;
    int m_nPort = 0;
    std::vector<int> m_accepted;
};

class CReconnectingLink : public CNorvCom
{
public:
    CReconnectingLink(const std::string& strSettings, std::vector<int>* pStates)
        : CNorvCom(strSettings.c_str(), 1, 0, 4096), m_pStates(pStates)
    {
        LinkOptions().bLineMode = TRUE;
        LinkOptions().bDecompress = FALSE;
        Create(nullptr, "Terminal", WS_CHILD | WS_OVERLAPPEDWINDOW);
    }
    void OnLineReceived(const char*) override {}
    void OnCommState(int nCode) override { m_pStates->push_back(nCode); }
    void OnCommDestroy() override {}
private:
    std::vector<int>* m_pStates;
};

TEST(LinkTimerBoundary, ReconnectTimerConnectsALostLinkAndLeavesAConnectedOneAlone)
{
    CListener listener;
    std::vector<int> states;
    auto* pLink = new CReconnectingLink(
        WriteSettings("IP-Server=127.0.0.1\nIP-Port=" + std::to_string(listener.Port()) + "\nReconnect Time=5\n"),
        &states);
    pLink->Connect(LINK_NETWORK, 1);
    ASSERT_TRUE(PumpUntil([&] { return !states.empty() && listener.Accepted() == 1; }, 5000));
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), states);
    // Connected: the timer's expiry changes nothing.
    pLink->SendMessage(WM_TIMER, LINK_TIMER_RECONNECT);
    PumpFor(100);
    EXPECT_EQ(1u, listener.Accepted());
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), states);
    // The server goes away; the next expiry connects again.
    listener.CloseLast();
    ASSERT_TRUE(PumpUntil([&] { return states.size() == 2; }, 5000));
    EXPECT_EQ(LINK_STATE_LOST, states[1]);
    EXPECT_FALSE(pLink->IsConnected());
    pLink->SendMessage(WM_TIMER, LINK_TIMER_RECONNECT);
    ASSERT_TRUE(PumpUntil([&] { return states.size() == 3 && listener.Accepted() == 2; }, 5000));
    EXPECT_EQ(LINK_STATE_READY, states[2]);
    EXPECT_TRUE(pLink->IsConnected());
    // The timer itself runs on, at the "Reconnect Time".
    EXPECT_TRUE(pLink->KillTimer(LINK_TIMER_RECONNECT));
    pLink->DestroyWindow();
}

}  // namespace
