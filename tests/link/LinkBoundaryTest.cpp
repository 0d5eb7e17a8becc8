// The link's boundaries, each pinned on both sides: the '-' padding that reaches a cipher block's
// end and the run one byte short of it, the packet cycle's wrap and the first packet after it,
// the numbered feed's duplicates and restarts, the number a resend request asks for, and a send
// queue filled to its last free byte and one byte over.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "LinkPortDouble.h"
#include "link/LinkChecksum.h"

namespace {

const char* const s_pszKey = "0F1E2D3C4B5A69788796A5B4C3D2E1F0";

// The terminal's road: direct lines, enciphered once the key is set.
struct CDirect {
    CFakeLinkPort port;
    CLinkProtocol link;
    explicit CDirect(int nQueue = 4096) : link(&port, nQueue)
    {
        link.Options().bChecksums = FALSE;
        link.Options().bDecompress = FALSE;
        link.Options().nIdlePeriod = -1;
        link.Options().bEncryption = TRUE;
        link.PrepareConnect(LINK_DIRECT_SOCKET);
        link.OnOpened(LINK_DIRECT_SOCKET);
    }
    void Encrypt()
    {
        std::snprintf(link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
        link.SetEncryption(TRUE);
    }
    void Feed(const std::string& bytes)
    {
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    }
};

// Feeds the stream cut in two at every offset (the cipher's carry then starts anywhere in a
// block) and expects the same lines each time.
void ExpectLinesAtEverySplit(const std::string& cipher, const std::string& expected)
{
    for (size_t nSplit = 0; nSplit <= cipher.size(); ++nSplit) {
        CDirect t;
        t.Encrypt();
        t.Feed(cipher.substr(0, nSplit));
        t.Feed(cipher.substr(nSplit));
        ASSERT_EQ(expected, Join(t.port.m_lines)) << "split at " << nSplit;
    }
}

TEST(LinkBoundary, LfOnTheLastByteOfABlockLeavesNoPaddingToTake)
{
    // 15 characters and the LF fill the block: the next block is the next line's own, even when
    // it is nothing but dashes up to its end.
    const std::string first(15, 'a');
    const std::string dashes = std::string(16, '-') + "x";
    ExpectLinesAtEverySplit(ServerCipher(first + "\n", s_pszKey) + ServerCipher(dashes + "\n", s_pszKey),
                            first + "|" + dashes + "|");
}

TEST(LinkBoundary, OneDashThatReachesTheBlockEndIsPadding)
{
    // 14 characters and the LF end one byte short of the block: the single '-' after them is
    // padding, and the next line's own leading '-' stays.
    const std::string first(14, 'b');
    ExpectLinesAtEverySplit(ServerCipher(first + "\n", s_pszKey) + ServerCipher("-5|negative\n", s_pszKey),
                            first + "|-5|negative|");
}

TEST(LinkBoundary, DashesOneByteShortOfTheBlockEndAreData)
{
    // A sender that packs lines: after "ab\n" twelve dashes and a 'Z' fill the block. The run
    // stops one byte short of the boundary, so it is the next line's text.
    const std::string packed = "ab\n" + std::string(12, '-') + "Z|1\n";
    ASSERT_EQ('Z', packed[15]);
    ExpectLinesAtEverySplit(ServerCipher(packed, s_pszKey), "ab|" + std::string(12, '-') + "Z|1|");
}

TEST(LinkBoundary, PaddingStopsAtTheBlockEndEvenWhenTheNextLineStartsWithADash)
{
    // Thirteen dashes reach the boundary exactly: padding. The next block's "-7" is data.
    const std::string packed = "ab\n" + std::string(13, '-');
    ASSERT_EQ(16u, packed.size());
    ExpectLinesAtEverySplit(ServerCipher(packed, s_pszKey) + ServerCipher("-7|x\n", s_pszKey), "ab|-7|x|");
}

// A network link in packet mode.
struct CPackets {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    explicit CPackets(char chLimit = '9')
    {
        link.Options().bDecompress = FALSE;
        link.Options().chSequenceLimit = chLimit;
        link.PrepareConnect(LINK_NETWORK);
        link.OnOpened(LINK_NETWORK);
        port.TakeWritten();
    }
    // One packet; what the link wrote in answer.
    std::string Packet(char ch, const std::string& payload)
    {
        const std::string bytes = "#" + std::string(1, ch) + Checked(payload) + "\n";
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
        return port.TakeWritten();
    }
};

TEST(LinkBoundary, PacketCycleWrapsAfterTheLimitAndAsksAgainForTheFirstOneAfterIt)
{
    CPackets t;
    EXPECT_EQ("/\r", t.Packet('/', "S|/"));
    for (char ch = '0'; ch <= '9'; ++ch)
        ASSERT_EQ(std::string(1, ch) + "\r", t.Packet(ch, std::string("S|") + ch));
    t.port.m_lines.clear();
    // '0' is expected after the limit: a '1' right after the wrap is out of sequence, and the
    // link acknowledges the last good packet, '9', again.
    EXPECT_EQ("9\r", t.Packet('1', "early|1"));
    EXPECT_EQ("", t.Packet('9', "repeat|9"));          // the last one again: a duplicate
    EXPECT_EQ("0\r", t.Packet('0', "wrapped|0"));
    EXPECT_EQ('0', t.link.GetLastPacketChar());
    // Now '9' is neither expected nor the last: it asks for '1' by acknowledging '0'.
    EXPECT_EQ("0\r", t.Packet('9', "old|9"));
    EXPECT_EQ("1\r", t.Packet('1', "next|1"));
    EXPECT_EQ("wrapped|0|next|1|", Join(t.port.m_lines));
}

TEST(LinkBoundary, PacketCycleWrapsAtALowerLimit)
{
    CPackets t('5');
    EXPECT_EQ("/\r", t.Packet('/', "S|/"));
    for (char ch = '0'; ch <= '5'; ++ch)
        ASSERT_EQ(std::string(1, ch) + "\r", t.Packet(ch, std::string("S|") + ch));
    t.port.m_lines.clear();
    EXPECT_EQ("5\r", t.Packet('6', "past the limit|6"));
    EXPECT_EQ("0\r", t.Packet('0', "wrapped|0"));
    EXPECT_EQ("wrapped|0|", Join(t.port.m_lines));
}

// A network link in line mode with a numbered feed: the serial protocol setting on TCP, or UDP.
struct CFeed {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    explicit CFeed(BOOL bUdp)
    {
        link.Options().bLineMode = TRUE;
        link.Options().bSerialProtocol = !bUdp;
        link.Options().bUdp = bUdp;
        link.Options().bDecompress = FALSE;
        link.PrepareConnect(LINK_NETWORK);
        link.OnOpened(LINK_NETWORK);
        port.TakeWritten();
    }
    // One line; TRUE when it was delivered.
    bool Server(const std::string& line)
    {
        const size_t nBefore = port.m_lines.size();
        const std::string bytes = Checked(line) + "\n";
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
        return port.m_lines.size() > nBefore && port.m_lines.back() == line;
    }
};

TEST(LinkBoundary, UdpFeedRestartsOnNumbersOneTo999Only)
{
    CFeed t(/*bUdp=*/TRUE);
    EXPECT_TRUE(t.Server("$QT|5000|a"));
    EXPECT_FALSE(t.Server("$QT|1000|stale"));          // above 999: no restart, a duplicate
    EXPECT_EQ(5000, t.link.GetLastSeenNumber());
    EXPECT_TRUE(t.Server("$QT|999|restarted"));        // 999: the feed started again
    EXPECT_EQ(999, t.link.GetLastSeenNumber());
    EXPECT_TRUE(t.Server("$QT|1000|next"));
    EXPECT_FALSE(t.Server("$DB|1000|same number"));    // "$DB" is numbered on UDP; equal is seen
    EXPECT_TRUE(t.Server("$QT|1|restarted again"));    // the lowest number restarts too
    EXPECT_EQ(1, t.link.GetLastSeenNumber());
}

TEST(LinkBoundary, TcpFeedDropsTheEqualNumberAndTakesTheNextOne)
{
    CFeed t(/*bUdp=*/FALSE);
    EXPECT_TRUE(t.Server("$QT|999|a"));
    EXPECT_FALSE(t.Server("$QT|999|again"));
    EXPECT_FALSE(t.Server("$QT|5|low numbers do not restart on TCP"));
    EXPECT_TRUE(t.Server("$QT|1000|b"));
    EXPECT_TRUE(t.Server("$DB|7|not numbered on TCP"));
    EXPECT_EQ(1000, t.link.GetLastSeenNumber());
}

TEST(LinkBoundary, ResendAsksFromTheNextNumberNotTheLastSeen)
{
    // The feed quits with a numbered "$QU" after line 7: the server's restart brings back the
    // last seen number of before the quit (7), but the request names the next number, 8.
    CFeed t(/*bUdp=*/FALSE);
    for (const char* pszLine : {"$QT|5|a", "$QT|6|b", "$QT|7|c", "$QU|8|quit"})
        ASSERT_TRUE(t.Server(pszLine)) << pszLine;
    EXPECT_TRUE(t.Server("$RC|0|1|20"));
    EXPECT_EQ(7, t.link.GetLastSeenNumber());
    EXPECT_EQ(Checked("@RM||8") + "\r\r", t.port.TakeWritten());

    // A resent old line is numbered too: it is the next number, though the last seen stays.
    CFeed d(/*bUdp=*/FALSE);
    for (const char* pszLine : {"$QT|5|a", "$QT|6|b", "$QT|7|c"})
        ASSERT_TRUE(d.Server(pszLine)) << pszLine;
    EXPECT_FALSE(d.Server("$QT|4|resent old line"));
    EXPECT_TRUE(d.Server("$RC|0|1|20"));
    EXPECT_EQ(7, d.link.GetLastSeenNumber());
    EXPECT_EQ(Checked("@RM||4") + "\r\r", d.port.TakeWritten());
}

TEST(LinkBoundary, ResendIsAskedOnlyWhenTheServerHasMoreThanTheNextNumber)
{
    for (long nHighest : {8L, 9L}) {
        CFeed t(/*bUdp=*/FALSE);
        long nNumber = 0;
        ASSERT_TRUE(t.link.SendLine("@AB|unacknowledged", &nNumber));
        EXPECT_EQ(Checked("@AB|1|unacknowledged") + "\r", t.port.TakeWritten());
        ASSERT_TRUE(t.Server("$QT|8|last line"));
        ASSERT_TRUE(t.Server("$RC|0|1|" + std::to_string(nHighest)));
        if (nHighest == 8) {
            // Nothing the link lacks: it writes its own unacknowledged line again instead.
            EXPECT_EQ("\r" + Checked("@AB|1|unacknowledged") + "\r", t.port.TakeWritten());
            EXPECT_TRUE(t.Server("$QT|9|not withheld"));
        } else {
            EXPECT_EQ(Checked("@RM||8") + "\r\r", t.port.TakeWritten());
            EXPECT_FALSE(t.Server("$QT|9|withheld while the resend is outstanding"));
        }
    }
}

TEST(LinkBoundary, SendQueueHoldsItsSizeLessOneByte)
{
    CSendQueue queue(64);
    // Each line takes its length and a NUL; one byte always stays free.
    EXPECT_FALSE(queue.Put(std::string(63, 'a').c_str(), 63));
    EXPECT_EQ(0, queue.GetUsed());
    EXPECT_TRUE(queue.Put(std::string(62, 'a').c_str(), 62));
    EXPECT_EQ(63, queue.GetUsed());
    EXPECT_FALSE(queue.Put("", 0));
    std::string line;
    ASSERT_TRUE(queue.TakeLine(TRUE, line));
    EXPECT_EQ(std::string(62, 'a'), line);
    queue.AcknowledgeWritten();
    EXPECT_EQ(0, queue.GetUsed());
    // The positions now stand at 63: the next lines wrap round the end of the storage.
    EXPECT_TRUE(queue.Put("0123456789", 10));
    EXPECT_FALSE(queue.Put(std::string(52, 'w').c_str(), 52));     // one byte over
    EXPECT_TRUE(queue.Put(std::string(51, 'w').c_str(), 51));      // exactly full
    EXPECT_EQ(63, queue.GetUsed());
    EXPECT_FALSE(queue.Put("", 0));
    ASSERT_TRUE(queue.TakeLine(TRUE, line));
    EXPECT_EQ("0123456789", line);
    ASSERT_TRUE(queue.TakeLine(TRUE, line));
    EXPECT_EQ(std::string(51, 'w'), line);
    EXPECT_FALSE(queue.TakeLine(TRUE, line));
    // Written is not yet acknowledged: the room is still taken, and the oldest line comes again.
    EXPECT_FALSE(queue.Put("", 0));
    ASSERT_TRUE(queue.TakeLine(FALSE, line));
    EXPECT_EQ("0123456789", line);
}

TEST(LinkBoundary, ProtocolLinkQueuesToTheLastFreeByteBehindTheLineInFlight)
{
    CFakeLinkPort port;
    CLinkProtocol link(&port, 64);
    link.Options().bChecksums = FALSE;
    link.Options().bDecompress = FALSE;
    link.PrepareConnect(LINK_NETWORK);
    link.OnOpened(LINK_NETWORK);
    port.TakeWritten();
    long nNumber = 0;
    ASSERT_TRUE(link.SendLine("@AB|x", &nNumber));         // "@AB|1|x": 8 bytes, in flight
    EXPECT_EQ("@AB|1|x\r", port.TakeWritten());
    // 55 bytes are left: a line of 55 characters is one over, 54 fill the queue exactly.
    EXPECT_FALSE(link.SendLine(std::string(55, 'o').c_str(), &nNumber));
    EXPECT_TRUE(link.SendLine(std::string(54, 'f').c_str(), &nNumber));
    EXPECT_FALSE(link.SendLine("z", &nNumber));
    EXPECT_FALSE(link.SendLine("@CD|y", &nNumber));
    EXPECT_EQ(0, nNumber);
    EXPECT_EQ("", port.TakeWritten());
    // The first line is acknowledged: its 8 bytes are free again, and the queue wraps.
    link.Acknowledge(1, TRUE);
    EXPECT_EQ(std::string(54, 'f') + "\r", port.TakeWritten());
    EXPECT_FALSE(link.SendLine("12345678", &nNumber));
    EXPECT_TRUE(link.SendLine("1234567", &nNumber));
    EXPECT_FALSE(link.SendLine("z", &nNumber));
    link.Acknowledge(0, TRUE);
    EXPECT_EQ("1234567\r", port.TakeWritten());
    // The numbering went on from the refused lines as if they had never been.
    ASSERT_TRUE(link.SendLine("@CD|y", &nNumber));
    EXPECT_EQ(2, nNumber);
    link.Acknowledge(0, TRUE);
    EXPECT_EQ("@CD|2|y\r", port.TakeWritten());
}

TEST(LinkBoundary, DirectLinkQueuesToTheLastFreeByteWhileTheTransportIsBehind)
{
    CDirect t(/*nQueue=*/40000);
    t.port.Accept(0);
    // Three lines of 30000 characters wait in the outgoing bytes: beyond the limit, so the
    // lines after them wait in the queue.
    const std::string big(30000, 'b');
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(t.link.SendLine(big.c_str(), nullptr));
    ASSERT_GE(t.link.GetPendingOutput(), LINK_OUT_LIMIT);
    long nNumber = -1;
    EXPECT_TRUE(t.link.SendLine(("&AA|XC||" + std::string(19990, 'p')).c_str(), &nNumber));  // "&AA|1|XC||" 20000
    EXPECT_EQ(1, nNumber);
    // 40000 - 1 free - 20001 taken = 19998 bytes: a line of 19998 characters is one over.
    EXPECT_FALSE(t.link.SendLine(std::string(19998, 'o').c_str(), &nNumber));
    EXPECT_EQ(0, nNumber);
    EXPECT_TRUE(t.link.SendLine(std::string(19997, 'f').c_str(), &nNumber));
    EXPECT_FALSE(t.link.SendLine("&AB|XC||", &nNumber));
    EXPECT_EQ(0, nNumber);
    // The transport takes everything again: the lines follow in order, the numbering goes on.
    t.port.Accept(-1);
    t.link.OnWritable();
    EXPECT_TRUE(t.link.SendLine("&AB|XC||", &nNumber));
    EXPECT_EQ(2, nNumber);
    const std::string expected = big + "\n" + big + "\n" + big + "\n" + "&AA|1|XC||" + std::string(19990, 'p') +
                                 "\n" + std::string(19997, 'f') + "\n" + "&AB|2|XC||\n";
    const std::string written = t.port.TakeWritten();
    EXPECT_EQ(expected.size(), written.size());
    EXPECT_TRUE(expected == written);
}

TEST(LinkBoundary, DirectRequestAfterAPlainLineTakesTheNumberOne)
{
    // A plain line counts as number 1 once written; the client number, also 1, is not raised
    // by an equal last-sent number.
    CDirect t;
    long nNumber = -1;
    ASSERT_TRUE(t.link.SendLine("plain", &nNumber));
    EXPECT_EQ(0, nNumber);
    EXPECT_EQ(1, t.link.GetLastSent());
    ASSERT_TRUE(t.link.SendLine("&QT|XC||", &nNumber));
    EXPECT_EQ(1, nNumber);
    ASSERT_TRUE(t.link.SendLine("&EN|XC|0", &nNumber));
    EXPECT_EQ(1, nNumber);
    ASSERT_TRUE(t.link.SendLine("&QT|XC||", &nNumber));
    EXPECT_EQ(2, nNumber);
    EXPECT_EQ("plain\n&QT|1|XC||\n&EN|1|XC|0\n&QT|2|XC||\n", t.port.TakeWritten());
}

}  // namespace
