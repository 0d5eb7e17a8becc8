// The receive side of the link in every framing mode: direct lines (plain, expanded, enciphered
// from the start or from the key exchange's accept on), checksummed lines, packets, and the
// numbered feed of the protocol modes. The input makes up what the server sends, framed for
// the mode so that the checks pass or fail as the input says, plus junk. The same bytes go
// into one link whole and into another in chunks of sizes the input picks, some of them while
// a line is being handled (a modal dialog reading the socket): both must deliver, write, log
// and report the same. In direct line mode the lines must also be those a plain model cuts.
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/common/FuzzInput.h"
#include "link/LinkChecksum.h"
#include "link/LinkProtocol.h"
#include "link/crypto/LinkCipher.h"

namespace {

const char s_szKey[] = "00112233445566778899AABBCCDDEEFF";
const char s_szAccept[] = "$X9|3|XC||0";          // the line on which the dispatcher switches
const size_t MAX_STREAM = 80000;
const int LINE_LIMIT = RECEIVE_RING_SIZE - 2;      // longest line a link keeps

// The window around the link as far as receiving needs it: a transport that takes every byte,
// and closing as the window closes (a reconnect is left waiting for its socket).
class CFuzzPort : public ILinkPort
{
public:
    int WriteTransport(const BYTE* pBytes, int nCount) override
    {
        m_written.append(reinterpret_cast<const char*>(pBytes), static_cast<size_t>(nCount));
        return nCount;
    }
    void WatchWritable(BOOL) override {}
    void OnLine(char* pszLine) override
    {
        m_lines.emplace_back(pszLine);
        if (m_onLine)
            m_onLine(pszLine);
    }
    void OnState(int nCode) override { m_events.push_back("state " + std::to_string(nCode)); }
    void StartTimer(UINT, UINT) override {}
    void StopTimer(UINT) override {}
    void Log(const char* pszText) override { m_log += pszText; }
    void Reconnect(int nType) override
    {
        m_events.push_back("reconnect " + std::to_string(nType));
        m_pLink->OnClosed(TRUE);
    }
    void ClearInput() override { m_events.push_back("clear input"); }
    void CloseLink(int nCode) override
    {
        m_events.push_back("close " + std::to_string(nCode));
        m_pLink->OnClosed(FALSE);
    }

    CLinkProtocol* m_pLink = nullptr;
    std::vector<std::string> m_lines;
    std::string m_written, m_log;
    std::vector<std::string> m_events;
    std::function<void(const char*)> m_onLine;
};

struct SETUP {
    int nType = LINK_DIRECT_SOCKET;
    LINK_OPTIONS options;
    bool bCipherFromStart = false;      // direct mode: at once; protocol modes: after the first "$OK"
    bool bSwitchOnAccept = false;
};

struct CLinkUnderTest {
    CFuzzPort port;
    CLinkProtocol link{&port, 4096};
    explicit CLinkUnderTest(const SETUP& setup)
    {
        port.m_pLink = &link;
        link.Options() = setup.options;
        link.PrepareConnect(setup.nType);
        link.OnOpened(setup.nType);
        if (setup.bCipherFromStart && setup.nType == LINK_DIRECT_SOCKET)
            SwitchCipherOn();
        if (setup.bSwitchOnAccept) {
            port.m_onLine = [this](const char* pszLine) {
                if (!link.IsEncrypted() && std::strcmp(pszLine, s_szAccept) == 0)
                    SwitchCipherOn();
            };
        }
    }
    void SwitchCipherOn()
    {
        std::snprintf(link.GetSessionKeyBuffer(), LINK_SESSION_KEY_SIZE, "%s", s_szKey);
        link.SetEncryption(TRUE);
    }
    void Feed(const std::string& bytes)
    {
        link.OnReceived(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<int>(bytes.size()));
    }
};

// The feed code as the protocol describes it, byte by byte.
std::string ReferenceExpand(const std::string& raw)
{
    static const unsigned char s_accents[] = {0xC1, 0xC9, 0xCD, 0xD1, 0xD3, 0xDA, 0xE1, 0xE9, 0xED, 0xF1, 0xF3, 0xFA};
    std::string out;
    for (unsigned char b : raw) {
        if (b < 32 || b > 253)
            continue;
        if (b <= 121) {
            out += static_cast<char>('1' + (b - 32) / 10);
            out += static_cast<char>('0' + (b - 32) % 10);
        } else if (b <= 125) {
            out.append(static_cast<size_t>(b - 120), '0');
            out += '|';
        } else if (b <= 137) {
            out += static_cast<char>(b - 80);
            out += '|';
        } else if (b <= 163) {
            out += static_cast<char>(b - 73);
        } else if (b <= 189) {
            out += static_cast<char>(b - 67);
        } else if (b <= 205) {
            out += static_cast<char>((b + 98) & 0xFF);
        } else if (b <= 212) {
            out += static_cast<char>((b + 108) & 0xFF);
        } else if (b <= 218) {
            out += static_cast<char>(b - 122);
        } else if (b <= 222) {
            out += static_cast<char>(b - 96);
        } else if (b <= 231) {
            out.append(static_cast<size_t>(b - 221), '|');
        } else if (b <= 241) {
            out += static_cast<char>((b + 72) & 0xFF);
        } else {
            out += static_cast<char>(s_accents[b - 242]);
        }
    }
    return out;
}

// What the server sends: units of plain bytes, enciphered from the switch on, each padded on
// its own; and the plain stream the receiver must see once the padding is gone.
class CServerStream
{
public:
    void Add(const std::string& unit)
    {
        if (m_bCipher) {
            std::string padded = unit;
            padded.append((16 - padded.size() % 16) % 16, '-');
            std::string cipher(padded.size(), '\0');
            TwofishEncryptBlocks(reinterpret_cast<BYTE*>(cipher.data()), reinterpret_cast<const BYTE*>(padded.data()),
                                 static_cast<int>(padded.size()), s_szKey);
            m_bytes += cipher;
            m_enciphered += padded;
        } else {
            m_bytes += unit;
            m_plain += unit;
        }
        m_bLineStart = unit.empty() ? m_bLineStart : unit.back() == '\n';
    }
    void SwitchCipher() { m_bCipher = true; }
    bool IsCipher() const { return m_bCipher; }
    bool AtLineStart() const { return m_bLineStart; }
    size_t Size() const { return m_bytes.size(); }
    const std::string& Bytes() const { return m_bytes; }

    // The deciphered stream without its padding: a run of '-' after a line feed that reaches
    // the next block boundary of the enciphered part.
    std::string Received() const
    {
        std::string s = m_plain;
        for (size_t i = 0; i < m_enciphered.size(); ++i) {
            s += m_enciphered[i];
            if (m_enciphered[i] != '\n')
                continue;
            const size_t nBoundary = (i + 1 + 15) / 16 * 16;
            size_t j = i + 1;
            while (j < nBoundary && m_enciphered[j] == '-')
                ++j;
            if (j == nBoundary)
                i = nBoundary - 1;
        }
        return s;
    }

private:
    std::string m_bytes, m_plain, m_enciphered;
    bool m_bCipher = false;
    bool m_bLineStart = true;
};

std::string WithChecksum(const std::string& text, bool bCorrupt)
{
    char check[2];
    LinkChecksum(text.data(), static_cast<int>(text.size()), check);
    if (bCorrupt)
        check[1] = static_cast<char>(check[1] ^ 1);
    return text + std::string(check, 2);
}

// Bytes of a line's content: anything but LF.
std::string Content(CFuzzInput& in, size_t nMax)
{
    std::string s = in.TakeBytes(static_cast<size_t>(in.TakeInt(0, static_cast<int>(nMax))));
    for (char& ch : s) {
        if (ch == '\n')
            ch = ' ';
    }
    return s;
}

// A control or feed line of the protocol modes.
std::string ControlLine(CFuzzInput& in)
{
    static const char* const s_forms[] = {"$OK|%d", "$CO|||%d", "$NS|%d", "$RM|%d", "$RC|0|%d|7", "$RC|0|0|%d",
                                          "$QU|%d", "$TI|%d|00", "$DB|%d", "$EN|%d", "$ZZ|%d|x", "$X9|%d|A&B"};
    // One decision a statement: the order in which arguments are taken is the compiler's.
    const char* pszForm = s_forms[in.TakeInt(0, 11)];
    const int nNumber = in.TakeInt(0, 12);
    char szLine[64];
    std::snprintf(szLine, sizeof szLine, pszForm, nNumber);
    return szLine + (in.TakeBool() ? std::string() : "|" + Content(in, 8));
}

// The server's stream. The protocol modes open with a hello ("$OK") whose answer starts the
// connect phase; on an enciphered link it is the last plain unit, as after a key exchange, since
// the link would switch the cipher off for a connect phase that starts later. Its length is
// returned.
size_t Generate(CFuzzInput& in, const SETUP& setup, CServerStream& server)
{
    const bool bDirect = setup.nType == LINK_DIRECT_SOCKET;
    const bool bLines = setup.nType == LINK_SERIAL_RAW || (setup.nType == LINK_NETWORK && setup.options.bLineMode);
    char chPacket = '.';
    size_t nPrefix = 0;
    bool bLong = false;
    if (!bDirect) {
        const std::string hello = "$OK|0";
        server.Add(bLines ? (setup.options.bChecksums ? WithChecksum(hello, false) : hello) + "\n"
                          : "#/" + WithChecksum(hello, false) + "\n");
        nPrefix = server.Size();
    }
    if (setup.bCipherFromStart)
        server.SwitchCipher();
    // Before the accept, no line may read as the accept by chance: the link would switch early.
    auto addPlain = [&](std::string unit) {
        if (setup.bSwitchOnAccept && !server.IsCipher()) {
            for (char& ch : unit)
                ch = ch == '$' ? '%' : ch;
        }
        server.Add(unit);
    };
    const int nOps = in.TakeInt(0, 24);
    for (int nOp = 0; nOp < nOps && server.Size() < MAX_STREAM; ++nOp) {
        const int nKind = in.TakeInt(0, 5);
        if (nKind == 4) {
            // Junk, LFs and all; enciphered junk would only be noise.
            if (!server.IsCipher())
                addPlain(in.TakeBytes(static_cast<size_t>(in.TakeInt(0, 48))));
            continue;
        }
        if (nKind == 5 && bDirect && setup.bSwitchOnAccept && !server.IsCipher() && server.AtLineStart()) {
            server.Add(std::string(s_szAccept) + "\n");
            server.SwitchCipher();
            continue;
        }
        std::string content;
        if (nKind == 0 || nKind == 5) {
            content = Content(in, 48);
        } else if (nKind == 1) {
            // One line may outgrow the ring; more of them would only cost time.
            const size_t nLength = static_cast<size_t>(in.TakeInt(0, bLong ? 300 : 40000));
            bLong = bLong || nLength > 300;
            content.assign(nLength, static_cast<char>(in.TakeByte() | 1));
        } else {
            content = ControlLine(in);
        }
        if (bDirect) {
            addPlain(content + "\n");
        } else if (bLines) {
            std::string line = setup.options.bChecksums ? WithChecksum(content, in.TakeInt(0, 7) == 0) : content;
            if (in.TakeBool())
                line.insert(static_cast<size_t>(in.TakeInt(0, static_cast<int>(line.size()))), "\r");
            server.Add(line + "\n");
        } else {
            // Mostly the packet the receiver expects next; now and then a repeat or a stray.
            char chNext = static_cast<char>(chPacket + 1);
            if (chPacket == '.' || chNext > setup.options.chSequenceLimit)
                chNext = chPacket == '.' ? '/' : '0';
            const int nPick = in.TakeInt(0, 9);
            const char ch = nPick == 0 ? '/' : nPick == 1 ? chPacket : nPick == 2 ? static_cast<char>(in.TakeByte()) : chNext;
            if (ch == chNext || ch == '/')
                chPacket = ch;
            std::string unit = in.TakeInt(0, 7) == 0 ? "!" + Content(in, 8) + "\n" : std::string();
            unit += "#" + std::string(1, ch) + WithChecksum(content, in.TakeInt(0, 7) == 0) + "\n";
            server.Add(unit);
        }
    }
    if (!server.IsCipher() && in.TakeBool())
        addPlain(Content(in, 16));          // a line still on its way
    return nPrefix;
}

// The lines a link in direct line mode must deliver from the stream.
std::vector<std::string> DirectLines(const std::string& received, bool bExpand)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nLf; (nLf = received.find('\n', nStart)) != std::string::npos; nStart = nLf + 1) {
        const std::string raw = received.substr(nStart, nLf - nStart);
        if (raw.size() > static_cast<size_t>(LINE_LIMIT))
            continue;       // filled the ring without its LF: dropped
        lines.push_back(bExpand ? ReferenceExpand(raw) : raw.substr(0, raw.find('\0')));
    }
    return lines;
}

SETUP MakeSetup(CFuzzInput& in)
{
    static const int s_types[] = {LINK_DIRECT_SOCKET, LINK_DIRECT_SOCKET, LINK_NETWORK, LINK_NETWORK,
                                  LINK_SERIAL_RAW, LINK_SERIAL_PROTOCOL, LINK_SERIAL_SWITCH};
    SETUP setup;
    const int nPick = in.TakeInt(0, 6);
    setup.nType = s_types[nPick];
    LINK_OPTIONS& o = setup.options;
    o.bLineMode = nPick == 2;
    o.bChecksums = in.TakeBool();
    o.bDecompress = in.TakeBool();
    o.bSerialProtocol = in.TakeBool();
    o.bRetry = in.TakeBool();
    o.bUdp = in.TakeBool();
    o.bDualPort = in.TakeBool();
    o.nIdlePeriod = in.TakeBool() ? 30000 : -1;
    o.nClientId = in.TakeInt(0, 2);
    o.chSequenceLimit = static_cast<char>('0' + in.TakeInt(1, 9));
    // The protocol modes would make a key pair of their own: their cipher is switched on as
    // the accept of their exchange would.
    o.bEncryption = setup.nType == LINK_DIRECT_SOCKET;
    setup.bCipherFromStart = in.TakeInt(0, 3) == 0;
    setup.bSwitchOnAccept = !setup.bCipherFromStart && setup.nType == LINK_DIRECT_SOCKET && !o.bDecompress;
    return setup;
}

void CompareLinks(CLinkUnderTest& a, CLinkUnderTest& b)
{
    FUZZ_CHECK(a.port.m_lines == b.port.m_lines, "the same lines whatever the chunks");
    FUZZ_CHECK(a.port.m_written == b.port.m_written, "the same bytes written");
    FUZZ_CHECK(a.port.m_log == b.port.m_log, "the same traffic log");
    FUZZ_CHECK(a.port.m_events == b.port.m_events, "the same states, closes and reconnects");
    FUZZ_CHECK(a.link.GetDeliveredCount() == b.link.GetDeliveredCount(), "the same count of lines");
    FUZZ_CHECK(a.link.IsEncrypted() == b.link.IsEncrypted() && a.link.IsConnected() == b.link.IsConnected(),
               "the same cipher and connection");
    FUZZ_CHECK(a.link.GetLastPacketChar() == b.link.GetLastPacketChar() &&
                   a.link.GetResumeNumber() == b.link.GetResumeNumber() &&
                   a.link.GetLastSeenNumber() == b.link.GetLastSeenNumber() && a.link.IsHelloDone() == b.link.IsHelloDone(),
               "the same protocol state");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    TwofishCipherInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // The cipher keeps the expanded key of the last key text: start every input from another.
    BYTE block[16] = {};
    TwofishEncryptBlocks(block, block, sizeof block, "FFEEDDCCBBAA99887766554433221100");

    CFuzzInput in(pData, nSize);
    const SETUP setup = MakeSetup(in);
    std::vector<int> chunkSizes(static_cast<size_t>(in.TakeInt(1, 6)));
    for (int& n : chunkSizes)
        n = in.TakeInt(1, in.TakeBool() ? 40 : 3000);
    const int nNestEvery = in.TakeInt(0, 3);        // 0: no chunk arrives inside a line's handler
    CServerStream server;
    const size_t nPrefix = Generate(in, setup, server);
    const std::string prefix = server.Bytes().substr(0, nPrefix);
    const std::string stream = server.Bytes().substr(nPrefix);

    CLinkUnderTest whole(setup);
    CLinkUnderTest chunked(setup);
    for (CLinkUnderTest* pLink : {&whole, &chunked}) {
        pLink->Feed(prefix);
        if (setup.bCipherFromStart && setup.nType != LINK_DIRECT_SOCKET && pLink->link.IsConnected())
            pLink->SwitchCipherOn();
    }
    whole.Feed(stream);

    std::deque<std::string> chunks;
    for (size_t nAt = 0, i = 0; nAt < stream.size(); ++i) {
        const size_t n = static_cast<size_t>(chunkSizes[i % chunkSizes.size()]);
        chunks.push_back(stream.substr(nAt, n));
        nAt += n;
    }
    if (nNestEvery > 0) {
        // Bytes that arrive while a line is handled: the handler's own work comes first.
        auto onLine = chunked.port.m_onLine;
        chunked.port.m_onLine = [&chunked, &chunks, onLine, nNestEvery](const char* pszLine) {
            if (onLine)
                onLine(pszLine);
            if (chunked.port.m_lines.size() % static_cast<size_t>(nNestEvery) == 0 && !chunks.empty()) {
                const std::string chunk = chunks.front();
                chunks.pop_front();
                chunked.Feed(chunk);
            }
        };
    }
    while (!chunks.empty()) {
        const std::string chunk = chunks.front();
        chunks.pop_front();
        chunked.Feed(chunk);
    }
    CompareLinks(whole, chunked);

    if (setup.nType == LINK_DIRECT_SOCKET) {
        const std::vector<std::string> want = DirectLines(server.Received(), setup.options.bDecompress);
        FUZZ_CHECK(whole.port.m_lines == want, "direct lines as the stream holds them");
    }
    return 0;
}
