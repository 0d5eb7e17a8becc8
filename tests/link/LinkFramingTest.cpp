// The link's receiving side without a socket: direct lines cut from chunks split anywhere, the
// cipher's carry and padding, the switch to the cipher inside a read, over-long lines, the
// checksummed lines and packets of the protocol modes, and the feed expansion.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "LinkPortDouble.h"
#include "link/FeedExpansion.h"
#include "link/LinkChecksum.h"

namespace {

const char* const s_pszKey = "00112233445566778899AABBCCDDEEFF";

struct CDirectLink {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    CDirectLink()
    {
        link.Options().bChecksums = FALSE;
        link.Options().bDecompress = FALSE;
        link.Options().nIdlePeriod = -1;
        link.Options().bEncryption = TRUE;
        link.PrepareConnect(LINK_DIRECT_SOCKET);
        link.OnOpened(LINK_DIRECT_SOCKET);
    }
    void Feed(const std::string& bytes)
    {
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    }
    void Encrypt()
    {
        std::snprintf(link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
        link.SetEncryption(TRUE);
    }
};

// Lines as the server writes them, with the bytes they make plain or enciphered.
const std::vector<std::string> s_lines = {
    "$VC|1|XC||0|1|0|80000|1|Test server", "", "100|Unknown user", "no bars at all", "GS|7|x\r",
    "-5|negative first value", "---dashes that are data", "1234567890abcde", "1234567890abcdef",
    "1234567890abcdef1234567890abcde", "1234567890abcdef1234567890abcdef", "5|digit after a padded line"};

std::string PlainStream()
{
    std::string s;
    for (const std::string& line : s_lines)
        s += line + "\n";
    return s;
}

std::string CipherStream()
{
    std::string s;
    for (const std::string& line : s_lines)
        s += ServerCipher(line + "\n", s_pszKey);
    return s;
}

TEST(LinkFraming, ChunksSplitAtEveryOffsetGiveTheSameLines)
{
    for (BOOL bEncrypted : {FALSE, TRUE}) {
        const std::string stream = bEncrypted ? CipherStream() : PlainStream();
        for (size_t nSplit = 0; nSplit <= stream.size(); ++nSplit) {
            CDirectLink t;
            if (bEncrypted)
                t.Encrypt();
            t.Feed(stream.substr(0, nSplit));
            t.Feed(stream.substr(nSplit));
            ASSERT_EQ(Join(s_lines), Join(t.port.m_lines)) << "encrypted " << bEncrypted << " split " << nSplit;
        }
        CDirectLink t;
        if (bEncrypted)
            t.Encrypt();
        for (char ch : stream)
            t.Feed(std::string(1, ch));
        EXPECT_EQ(Join(s_lines), Join(t.port.m_lines)) << "byte by byte, encrypted " << bEncrypted;
    }
}

TEST(LinkFraming, PaddingIsOnlyTheDashesThatReachTheBlockBoundary)
{
    CDirectLink t;
    t.Encrypt();
    // Lines of 15, 16, 31 and 32 bytes with their LF, each padded on its own by the server.
    for (int nLength : {15, 16, 17, 31, 32, 33}) {
        const std::string line(static_cast<size_t>(nLength - 1), 'x');
        const std::string cipher = ServerCipher(line + "\n", s_pszKey);
        EXPECT_EQ(static_cast<size_t>((nLength + 15) / 16 * 16), cipher.size());
        t.Feed(cipher);
        ASSERT_FALSE(t.port.m_lines.empty());
        EXPECT_EQ(line, t.port.m_lines.back()) << nLength;
    }
    t.port.m_lines.clear();
    // A sender that packs lines into one block: the dashes after the first LF stop short of
    // the boundary, so they are data; the run after the second LF reaches it and is padding.
    t.Feed(ServerCipher("A\n--B\n", s_pszKey));
    EXPECT_EQ("A|--B|", Join(t.port.m_lines));
    t.port.m_lines.clear();
    // A block that ends in dashes with no LF before them is data too.
    t.Feed(ServerCipher("abcdefghijklmn--" "x\n", s_pszKey));
    EXPECT_EQ("abcdefghijklmn--x|", Join(t.port.m_lines));
}

TEST(LinkFraming, AcceptLineSwitchesTheCipherForTheRestOfTheSameRead)
{
    const std::string accept = "$X9|3|XC||0\n";
    const std::string after = ServerCipher("$DR|0|XC||K\n", s_pszKey) + ServerCipher("-5|x\n", s_pszKey);
    const std::string stream = accept + after;
    for (size_t nSplit = 0; nSplit <= stream.size(); ++nSplit) {
        CDirectLink t;
        t.port.m_onLine = [&t](char* pszLine) {
            if (std::string(pszLine).rfind("$X9", 0) == 0) {
                std::snprintf(t.link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_pszKey);
                t.link.SetEncryption(TRUE);
            }
        };
        t.Feed(stream.substr(0, nSplit));
        t.Feed(stream.substr(nSplit));
        ASSERT_EQ("$X9|3|XC||0|$DR|0|XC||K|-5|x|", Join(t.port.m_lines)) << "split " << nSplit;
    }
}

TEST(LinkFraming, LineLongerThanTheRingIsDroppedWholeThroughItsLf)
{
    const std::string longest(RECEIVE_RING_SIZE - 2, 'a');     // 31998 characters fit
    const std::string tooLong(RECEIVE_RING_SIZE - 1, 'b');     // 31999 fill the ring
    const std::string stream = longest + "\n" + tooLong + "tail|1|2\n" + "next\n";
    for (size_t nChunk : {size_t(1024), size_t(65536), size_t(7)}) {
        CDirectLink t;
        for (size_t i = 0; i < stream.size(); i += nChunk)
            t.Feed(stream.substr(i, nChunk));
        ASSERT_EQ(2u, t.port.m_lines.size()) << nChunk;
        EXPECT_EQ(longest, t.port.m_lines[0]);
        EXPECT_EQ("next", t.port.m_lines[1]);
    }
}

TEST(LinkFraming, ConnectStartsWithEmptyRingLineAndCarry)
{
    CDirectLink t;
    t.Encrypt();
    const std::string cipher = ServerCipher("half a line that never ends", s_pszKey);
    t.Feed(cipher.substr(0, 20));       // a whole block and a carry of four bytes
    t.link.OnClosed(FALSE);
    t.link.PrepareConnect(LINK_DIRECT_SOCKET);
    t.link.OnOpened(LINK_DIRECT_SOCKET);
    EXPECT_FALSE(t.link.IsEncrypted());
    t.Feed("fresh|1|2\n");
    EXPECT_EQ("fresh|1|2|", Join(t.port.m_lines));
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY, LINK_STATE_READY}), t.port.m_states);
}

TEST(LinkFraming, DisconnectInsideALineHandlerDropsTheRestOfTheRead)
{
    CDirectLink t;
    t.port.m_onLine = [&t](char* pszLine) {
        if (std::string(pszLine) == "bye")
            t.link.OnClosed(FALSE);
    };
    t.Feed("one\nbye\nnever\n");
    EXPECT_EQ("one|bye|", Join(t.port.m_lines));
}

TEST(LinkFraming, BytesArrivingWhileALineIsHandledComeAfterTheRestOfTheRead)
{
    CDirectLink t;
    t.port.m_onLine = [&t](char* pszLine) {
        // A modal dialog inside the handler pumps the queue and a read comes in.
        if (std::string(pszLine) == "dialog")
            t.Feed("nested\n");
    };
    t.Feed("dialog\nsame read\n");
    EXPECT_EQ("dialog|same read|nested|", Join(t.port.m_lines));
}

TEST(LinkChecksum, CheckCharactersOfTheFixedLinesAndMismatches)
{
    char check[2];
    const struct { const char *text, *expected; } rows[] = {{"@OK", "3J"}, {"@CO", "3B"}, {"@CO||1", "7k"}, {"", "00"}};
    for (const auto& r : rows) {
        LinkChecksum(r.text, static_cast<int>(strlen(r.text)), check);
        EXPECT_EQ(r.expected, std::string(check, 2)) << r.text;
    }
    // Bytes above 127 count as unsigned.
    LinkChecksum("\xff\xff", 2, check);
    EXPECT_EQ(std::string({static_cast<char>('0' + (510 >> 6)), static_cast<char>('0' + (510 & 63))}),
              std::string(check, 2));
    EXPECT_TRUE(LinkChecksumMatches("@OK3J", 5));
    EXPECT_FALSE(LinkChecksumMatches("@OK3K", 5));
    EXPECT_FALSE(LinkChecksumMatches("J", 1));
}

TEST(LinkFraming, NetworkLineModeTestsChecksumsAndIgnoresCr)
{
    CFakeLinkPort port;
    CLinkProtocol link(&port, 4096);
    link.Options().bLineMode = TRUE;
    link.Options().bDecompress = FALSE;
    link.PrepareConnect(LINK_NETWORK);
    link.OnOpened(LINK_NETWORK);
    EXPECT_EQ(std::vector<int>({LINK_STATE_READY}), port.m_states);
    const std::string stream = Checked("QT|1|ok") + "\r\n" + "x\n" + Checked("QT|2|bad") + "!\n" +
                               Checked("no bar") + "\n" + Checked("QT|3|last") + "\n";
    for (char ch : stream)
        link.OnReceived(reinterpret_cast<const BYTE*>(&ch), 1);
    EXPECT_EQ("QT|1|ok|QT|3|last|", Join(port.m_lines));
    EXPECT_EQ("-- Empty line\n-- Checksum error in above line\n", port.m_log);
}

// A packet as the server writes it: '#', the packet character, the payload, its check, LF.
std::string Packet(char ch, const std::string& payload)
{
    return "#" + std::string(1, ch) + Checked(payload) + "\n";
}

struct CPacketLink {
    CFakeLinkPort port;
    CLinkProtocol link{&port, 4096};
    CPacketLink()
    {
        link.Options().bDecompress = FALSE;
        link.PrepareConnect(LINK_NETWORK);
        link.OnOpened(LINK_NETWORK);
        port.TakeWritten();
    }
    void Feed(const std::string& bytes)
    {
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    }
};

TEST(LinkPackets, SequenceDuplicatesAndResends)
{
    CPacketLink t;
    t.Feed(Packet('/', "A|1"));
    EXPECT_EQ("/\r", t.port.TakeWritten());
    for (char ch = '0'; ch <= '9'; ++ch)
        t.Feed(Packet(ch, std::string("B|") + ch));
    EXPECT_EQ("0\r1\r2\r3\r4\r5\r6\r7\r8\r9\r", t.port.TakeWritten());
    // After the limit the cycle goes on with '0', not '/'.
    t.Feed(Packet('0', "C|0"));
    EXPECT_EQ("0\r", t.port.TakeWritten());
    t.Feed(Packet('0', "C|0 again"));          // a duplicate: ignored, not acknowledged
    EXPECT_EQ("", t.port.TakeWritten());
    t.Feed(Packet('3', "D|3"));                // '1' expected: ask for it again
    EXPECT_EQ("0\r", t.port.TakeWritten());
    t.Feed("#1D|1XX\n");                       // the right one with a bad check
    EXPECT_EQ("0\r", t.port.TakeWritten());
    t.Feed("#1\n");                            // too short
    EXPECT_EQ("0\r", t.port.TakeWritten());
    t.Feed(Packet('/', "E|restart"));          // '/' always restarts the cycle
    EXPECT_EQ("/\r", t.port.TakeWritten());
    EXPECT_EQ('/', t.link.GetLastPacketChar());
    EXPECT_EQ("A|1|B|0|B|1|B|2|B|3|B|4|B|5|B|6|B|7|B|8|B|9|C|0|E|restart|", Join(t.port.m_lines));
}

TEST(LinkPackets, PayloadSplitsAtHashAndNoiseOutsidePacketsIsSkipped)
{
    CPacketLink t;
    t.Feed("noise!skipped # not a packet\n\n" + Packet('/', "A|1#B|2#C|3"));
    EXPECT_EQ("A|1|B|2|C|3|", Join(t.port.m_lines));
    EXPECT_EQ("Error:<cr> received outside a packet: last packet=.\n", t.port.m_log);
}

TEST(FeedExpansion, EveryRangeBoundary)
{
    const struct { int nByte; const char* pszText; } rows[] = {
        {0, ""}, {31, ""}, {32, "10"}, {33, "11"}, {121, "99"}, {122, "00|"}, {125, "00000|"},
        {126, ".|"}, {127, "/|"}, {128, "0|"}, {137, "9|"}, {138, "A"}, {163, "Z"}, {164, "a"},
        {189, "z"}, {190, " "}, {205, "/"}, {206, ":"}, {212, "@"}, {213, "["}, {218, "`"},
        {219, "{"}, {222, "~"}, {223, "||"}, {231, "||||||||||"}, {232, "0"}, {241, "9"},
        {242, "\xC1"}, {253, "\xFA"}, {254, ""}, {255, ""}};
    for (const auto& r : rows) {
        const char ch = static_cast<char>(r.nByte);
        std::string out = "<";
        ExpandFeed(&ch, 1, out);
        EXPECT_EQ(std::string("<") + r.pszText, out) << "byte " << r.nByte;
    }
    // A line of the widest byte grows far beyond its own length.
    const std::string wide(RECEIVE_RING_SIZE, static_cast<char>(231));
    std::string out;
    ExpandFeed(wide.data(), static_cast<int>(wide.size()), out);
    EXPECT_EQ(wide.size() * 10, out.size());
}

TEST(LinkFraming, ExpandsDirectLinesWhenDecompressionIsOn)
{
    CDirectLink t;
    t.link.Options().bDecompress = TRUE;
    t.Feed(std::string("\x8a\x7a\x40\x01", 4) + "\n");     // 'A', "00|", "32", a dropped control byte
    EXPECT_EQ("A00|42|", Join(t.port.m_lines));
}

}
