// The link's sending side without a socket: numbering, the "EN" number, the full queue, the
// outgoing bytes that survive a transport that blocks or takes part of a write, the padding of
// enciphered lines, the lines held while the session key is out, and the one-line window of
// the protocol modes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include "LinkPortDouble.h"
#include "link/LinkChecksum.h"

namespace {

const char* const s_pszKey = "FEDCBA98765432100123456789ABCDEF";

struct CSendLink {
    CFakeLinkPort port;
    CLinkProtocol link;
    explicit CSendLink(int nQueue = 131072, int nType = LINK_DIRECT_SOCKET) : link(&port, nQueue)
    {
        link.Options().bChecksums = nType != LINK_DIRECT_SOCKET;
        link.Options().nIdlePeriod = -1;
        link.Options().bEncryption = TRUE;
        link.PrepareConnect(nType);
        link.OnOpened(nType);
        port.TakeWritten();
    }
    long Send(const char* pszLine)
    {
        long nNumber = -1;
        EXPECT_TRUE(link.SendLine(pszLine, &nNumber)) << pszLine;
        return nNumber;
    }
};

TEST(LinkSend, DirectRequestsAreNumberedAndEnRepeatsTheNumber)
{
    CSendLink t;
    EXPECT_EQ(1, t.Send("&VC|XC||0|80000"));
    EXPECT_EQ(2, t.Send("&XC|XC||"));
    EXPECT_EQ(3, t.Send("^X9|XC||"));
    EXPECT_EQ(3, t.Send("&EN|XC|0"));
    EXPECT_EQ(0, t.Send("not a request"));
    EXPECT_EQ(4, t.Send("&MT,odd head|XC||"));
    EXPECT_EQ("&VC|1|XC||0|80000\n&XC|2|XC||\n^X9|3|XC||\n&EN|3|XC|0\nnot a request\n&MT|4,odd head|XC||\n",
              t.port.TakeWritten());
    long nNumber = -1;
    EXPECT_FALSE(t.link.SendLine("", &nNumber));
    EXPECT_EQ(0, nNumber);
}

TEST(LinkSend, FullQueueRefusesWithoutTakingANumber)
{
    CSendLink t(/*nQueue=*/256);
    t.port.Accept(0);                       // the peer reads nothing for a while
    const std::string body(90, 'q');
    long nLast = 0;
    int nRefused = 0;
    for (int i = 0; i < 2000 && nRefused == 0; ++i) {
        long nNumber = -1;
        if (t.link.SendLine(("&QT|XC||" + body).c_str(), &nNumber))
            nLast = nNumber;
        else
        {
            ++nRefused;
            EXPECT_EQ(0, nNumber);
        }
    }
    ASSERT_EQ(1, nRefused) << "the queue never filled";
    EXPECT_GE(t.link.GetPendingOutput(), LINK_OUT_LIMIT);
    // The peer reads again: every accepted line goes out, in order, and the numbering goes on
    // from the last accepted line.
    t.port.Accept(-1);
    t.link.OnWritable();
    EXPECT_EQ(0, t.link.GetPendingOutput());
    EXPECT_EQ(nLast + 1, t.Send("&QT|XC||after"));
    const std::string written = t.port.TakeWritten();
    long nExpected = 1;
    size_t nPos = 0;
    for (; nPos < written.size(); ++nExpected) {
        const size_t nEnd = written.find('\n', nPos);
        ASSERT_NE(std::string::npos, nEnd);
        const std::string prefix = "&QT|" + std::to_string(nExpected) + "|XC||";
        ASSERT_EQ(prefix, written.substr(nPos, prefix.size())) << "at byte " << nPos;
        nPos = nEnd + 1;
    }
    EXPECT_EQ(nLast + 2, nExpected);
}

TEST(LinkSend, BlockedAndPartialWritesKeepTheCipherStreamWhole)
{
    std::mt19937 rng(11);
    CSendLink t;
    std::snprintf(t.link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
    t.link.SetEncryption(TRUE);
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        t.port.Accept(static_cast<int>(rng() % 40));         // 0 to 39 bytes, rarely a whole block
        const std::string line = "&QT|XC||" + std::string(rng() % 50, 'a' + i % 26);
        const long nNumber = t.Send(line.c_str());
        std::string plain = "&QT|" + std::to_string(nNumber) + line.substr(3) + "\n";
        plain.append((16 - plain.size() % 16) % 16, '-');
        expected += plain;
        if (rng() % 3 == 0)
            t.link.OnWritable();
    }
    t.port.Accept(-1);
    t.link.OnWritable();
    EXPECT_FALSE(t.port.m_bWatchWritable);
    EXPECT_EQ(expected, Decipher(t.port.TakeWritten(), s_pszKey));
}

TEST(LinkSend, EncipheredLinesArePaddedToTheNextBlockOnly)
{
    CSendLink t;
    std::snprintf(t.link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
    t.link.SetEncryption(TRUE);
    const struct { int nChars; size_t nBytes; } rows[] = {{19, 32}, {15, 16}, {31, 32}, {32, 48}, {14, 16}};
    for (const auto& r : rows) {
        t.link.SendLine(std::string(static_cast<size_t>(r.nChars), 'x').c_str(), nullptr);
        const std::string plain = Decipher(t.port.TakeWritten(), s_pszKey);
        EXPECT_EQ(r.nBytes, plain.size()) << r.nChars;
        EXPECT_EQ(std::string(static_cast<size_t>(r.nChars), 'x') + "\n" +
                      std::string(r.nBytes - static_cast<size_t>(r.nChars) - 1, '-'),
                  plain);
    }
}

// The session key is out: lines sent until the server takes it wait, in order and however many,
// behind everything queued before the key (the key too, when the peer was behind), and go out
// enciphered once the cipher is on. A link that closes meanwhile sends none of them, ever.
TEST(LinkSend, LinesAfterTheSessionKeyWaitForTheCipher)
{
    enum { ACCEPT, REFUSE, LOSE };
    const struct { const char* pszCase; int nBacklog, nHeld, nEnd; } rows[] = {
        {"accepted", 0, 3, ACCEPT},
        {"key still queued", 40, 3, ACCEPT},
        {"burst beyond the queue", 0, 10000, ACCEPT},
        {"refused key", 0, 3, REFUSE},
        {"closed link", 40, 3, LOSE},
    };
    const std::string backlog = "|XC||" + std::string(2000, 'b');
    auto padded = [](std::string s) { return s.append((16 - s.size() % 16) % 16, '-'); };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pszCase);
        CSendLink t;
        std::snprintf(t.link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
        t.port.Accept(r.nBacklog > 0 ? 0 : -1);
        std::string plain;
        for (int i = 0; i < r.nBacklog; ++i)
            plain += "&QT|" + std::to_string(t.Send(("&QT" + backlog).c_str())) + backlog + "\n";
        plain += "&X9|" + std::to_string(t.Send("&X9|XC||key")) + "|XC||key\n";
        t.link.HoldUntilEncrypted();
        std::string held;
        int nRefused = 0;
        for (int i = 0; i < r.nHeld; ++i) {
            long nNumber = 0;
            nRefused += !t.link.SendLine("&SL|XC||1|NBK|", &nNumber);
            held += padded("&SL|" + std::to_string(nNumber) + "|XC||1|NBK|\n");
        }
        EXPECT_EQ(0, nRefused);
        // The peer reads a few hundred bytes at a time: what was queued before the hold goes.
        for (int i = 0; i < 1000 && t.link.GetPendingOutput() > 0; ++i) {
            t.port.Accept(700);
            t.link.OnWritable();
        }
        t.port.Accept(-1);
        t.link.OnWritable();
        EXPECT_EQ(plain, t.port.TakeWritten());
        if (r.nEnd == ACCEPT) {
            // Accepted while the peer is behind again: a line sent now keeps its turn.
            t.port.Accept(0);
            t.link.SetEncryption(TRUE);
            held += padded("&QT|" + std::to_string(t.Send("&QT|XC||after")) + "|XC||after\n");
            t.port.Accept(-1);
            t.link.OnWritable();
            const std::string sent = Decipher(t.port.TakeWritten(), s_pszKey);
            EXPECT_EQ(held.size(), sent.size());
            EXPECT_TRUE(held == sent) << sent.substr(0, 200);
            continue;
        }
        t.link.OnClosed(/*bKeepResume=*/r.nEnd == LOSE);
        t.link.PrepareConnect(LINK_DIRECT_SOCKET);
        t.link.OnOpened(LINK_DIRECT_SOCKET);
        t.Send("&VC|XC||again");
        EXPECT_EQ("&VC|1|XC||again\n", t.port.TakeWritten());
    }
}

TEST(LinkSend, ProtocolModeKeepsOneLineInFlightAndResendsTheOldest)
{
    CSendLink t(131072, LINK_NETWORK);
    EXPECT_EQ(1, t.Send("@AB|one"));            // the reset left 0: the first line raises it
    EXPECT_EQ(Checked("@AB|1|one") + "\r", t.port.TakeWritten());
    EXPECT_EQ(2, t.Send("@CD|two"));
    EXPECT_EQ(0, t.Send("plain"));
    EXPECT_EQ("", t.port.TakeWritten()) << "one line in flight";
    t.link.Acknowledge(0, TRUE);                // older than the line in flight: no effect
    EXPECT_EQ("", t.port.TakeWritten());
    t.link.Acknowledge(1, TRUE);
    EXPECT_EQ(Checked("@CD|2|two") + "\r", t.port.TakeWritten());
    t.link.Acknowledge(0, FALSE);               // a resend request: the oldest again
    EXPECT_EQ(Checked("@CD|2|two") + "\r", t.port.TakeWritten());
    t.link.Acknowledge(2, TRUE);
    EXPECT_EQ(Checked("plain") + "\r", t.port.TakeWritten());
    EXPECT_EQ(0, t.link.GetLastSent());
}

}
