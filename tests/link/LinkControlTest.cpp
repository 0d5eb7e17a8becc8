// The protocol modes' control lines without a socket: the hello and connect handshake, the
// link-level key exchange, the numbered feed with duplicates and retransmission, and the idle
// watchdog.
#include <gtest/gtest.h>

#include <string>
#include "LinkPortDouble.h"
#include "link/LinkChecksum.h"
#include "link/crypto/Rsa.h"

namespace {

// A network link in packet mode; the server's control lines come one per packet.
struct CProtocolLink {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    char chNext = '/';
    explicit CProtocolLink(BOOL bEncryption = FALSE)
    {
        link.Options().bDecompress = FALSE;
        link.Options().bEncryption = bEncryption;
        link.Options().nClientId = 80000;
        link.PrepareConnect(LINK_NETWORK);
        link.OnOpened(LINK_NETWORK);
    }
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
};

TEST(LinkControl, HelloConnectAndReady)
{
    CProtocolLink t;
    EXPECT_EQ("\r@OK3J\r", t.Written());
    EXPECT_TRUE(t.port.TimerRuns(LINK_TIMER_IDLE));
    t.Server("$OK|0");
    EXPECT_EQ(Checked("@CO||") + "\r", t.Written());
    t.chNext = '/';                             // the connect starts the packet cycle again
    t.Server("$OK|0");                          // before "$CO": nothing
    EXPECT_EQ("", t.Written());
    t.Server("$CO|0|x|7");
    EXPECT_EQ("\r", t.Written());
    EXPECT_EQ(7, t.link.GetResumeNumber());
    EXPECT_TRUE(t.port.m_states.empty());
    t.Server("$OK|0");
    EXPECT_TRUE(t.link.IsHelloDone());
    EXPECT_EQ(Checked("@VC|1|80000") + "\r", t.Written());
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), t.port.m_states);
    t.Server("$OK|1|after the hello");          // now an ordinary line that acknowledges
    EXPECT_EQ(std::vector<std::string>({"$OK|1|after the hello"}), t.port.m_lines);
    t.Server("QT|5|plain feed line");
    EXPECT_EQ(2u, t.port.m_lines.size());
}

TEST(LinkControl, LinkLevelKeyExchangeSwitchesTheCipherOnTheNextOk)
{
    CProtocolLink t(/*bEncryption=*/TRUE);
    ASSERT_NE('\0', t.link.GetPublicKeyText()[0]);
    t.Server("$OK|0");
    t.chNext = '/';
    t.Server("$CO|0|x");
    t.Server("$OK|0");
    EXPECT_TRUE(t.port.m_states.empty()) << "ready only once the key is agreed";
    t.Server("$OK|1");                          // acknowledges "@VC": "@X9" goes out
    const std::string written = t.Written();
    const std::string x9 = "@X9|2|256|" + std::string(t.link.GetPublicKeyText());
    ASSERT_NE(std::string::npos, written.find(Checked(x9) + "\r")) << written;

    const char szSession[] = "0123456789ABCDEF0123456789ABCDEF";
    std::string cipher(static_cast<size_t>(RsaCipherTextSize(32, t.link.GetPublicKeyText())), '\0');
    ASSERT_EQ(0, RsaEncryptText(cipher.data(), static_cast<int>(cipher.size()), szSession, t.link.GetPublicKeyText()));
    t.Server("$X9|0|" + std::string(cipher.c_str()));
    EXPECT_EQ(std::string(szSession), t.link.GetSessionKeyBuffer());
    EXPECT_FALSE(t.link.IsEncrypted());
    t.Server("$OK|2");
    EXPECT_TRUE(t.link.IsEncrypted());
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), t.port.m_states);
    t.port.TakeWritten();
    t.link.SendLine("@QT|enciphered", nullptr);
    const std::string plain = Decipher(t.port.TakeWritten(), szSession);
    EXPECT_EQ(Checked("@QT|3|enciphered") + "\r", plain.substr(0, plain.find('\r') + 1));
}

TEST(LinkControl, KeyLineWithoutItsSecondBarFailsTheExchange)
{
    for (const char* pszLine : {"$X9|0", "$X9|0|not radix 64 !", "$X9|0|"}) {
        CProtocolLink t(/*bEncryption=*/TRUE);
        t.Server(pszLine);
        EXPECT_EQ(std::vector<int>({LINK_STATE_LOST}), t.port.m_closes) << pszLine;
        EXPECT_EQ('\0', t.link.GetSessionKeyBuffer()[0]) << pszLine;
    }
}

// A network link in line mode with the serial protocol setting: a numbered feed.
struct CFeedLink {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    CFeedLink()
    {
        link.Options().bLineMode = TRUE;
        link.Options().bSerialProtocol = TRUE;
        link.Options().bDecompress = FALSE;
        link.PrepareConnect(LINK_NETWORK);
        link.OnOpened(LINK_NETWORK);
        port.TakeWritten();
    }
    void Server(const std::string& line)
    {
        const std::string bytes = Checked(line) + "\n";
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    }
};

TEST(LinkControl, NumberedFeedDropsDuplicatesAndAsksForWhatIsMissing)
{
    CFeedLink t;
    t.Server("$QT|5|a");
    t.Server("$QT|5|a again");
    t.Server("$QT|4|older");
    t.Server("$QT|6|b");
    t.Server("$DB|9|not numbered on TCP");
    t.Server("$TI|1|00:00:01");                 // a new day: the count starts again
    t.Server("$QT|3|after the day break");
    EXPECT_EQ(3, t.link.GetLastSeenNumber());
    EXPECT_EQ("$QT|5|a,$QT|6|b,$DB|9|not numbered on TCP,$TI|1|00:00:01,$QT|3|after the day break,",
              [&] { std::string s; for (auto& l : t.port.m_lines) s += l + ","; return s; }());
    // The server restarts and has lines up to 20: the link asks for those after 3.
    t.port.m_lines.clear();
    t.Server("$RC|0|1|20");
    EXPECT_EQ(Checked("@RM||3") + "\r\r", t.port.TakeWritten());
    t.Server("$QT|4|withheld while the resend is outstanding");
    EXPECT_EQ(1u, t.port.m_lines.size());       // only the "$RC" itself
    t.Server("$RM|0");
    t.Server("$QT|5|resent");
    EXPECT_EQ("$QT|5|resent", t.port.m_lines.back());
    // A restart without a resend request begins a fresh connect.
    t.Server("$RC|0|0|0");
    EXPECT_EQ("\r@CO3B\r", t.port.TakeWritten());
    EXPECT_EQ(1, t.port.m_nClears);
}

TEST(LinkControl, IdleWatchdogSaysHelloThreeTimesThenGivesUp)
{
    CProtocolLink t;
    t.Written();
    for (int i = 0; i < 3; ++i) {
        t.link.OnIdleTimer();
        EXPECT_EQ("\r\r@OK3J\r", t.Written()) << i;
    }
    t.Server("$OK|0");                          // an answer: silent again from zero
    t.chNext = '/';
    EXPECT_EQ(0, t.link.GetSilentCount());
    t.Written();
    for (int i = 0; i < 3; ++i)
        t.link.OnIdleTimer();
    EXPECT_EQ("\r\r@CO3B\r\r\r@CO3B\r\r\r@CO3B\r", t.Written());
    EXPECT_TRUE(t.port.m_states.empty());
    t.link.OnIdleTimer();
    EXPECT_EQ(std::vector<int>({LINK_ERR_IDLE}), t.port.m_states);
    EXPECT_FALSE(t.port.TimerRuns(LINK_TIMER_IDLE));
}

TEST(LinkControl, ResumingConnectHoldsWritesOnATimerNotTheThread)
{
    CProtocolLink t;
    t.link.Options().bRetry = TRUE;
    t.Server("$OK|0");
    t.chNext = '/';
    t.Server("$CO|0|x|5");
    t.link.OnClosed(/*bKeepResume=*/TRUE);       // the server went away
    ASSERT_TRUE(t.link.PrepareResume());
    t.link.OnOpened(LINK_NETWORK);
    t.Written();
    t.chNext = '/';
    t.Server("$OK|0");
    EXPECT_EQ(Checked("@CO|||5") + "\r", t.Written());
    EXPECT_EQ(3000u, t.port.m_timers[LINK_TIMER_RESUME_WAIT]);
    long nNumber = 0;
    EXPECT_TRUE(t.link.SendLine("@QT|held", &nNumber));
    EXPECT_EQ("", t.Written()) << "held while the server takes the session up";
    t.link.OnResumeWaitTimer();
    EXPECT_FALSE(t.port.TimerRuns(LINK_TIMER_RESUME_WAIT));
    EXPECT_EQ(Checked("@QT|" + std::to_string(nNumber) + "|held") + "\r", t.Written());
}

}
