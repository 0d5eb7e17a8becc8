// Receiving: bytes through the cipher into the ring, cut into lines or packets by the framing of
// the connection type, each complete line handed on.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include "link/FeedExpansion.h"
#include "link/FieldNumbers.h"
#include "link/LinkChecksum.h"
#include "link/LinkProtocol.h"
#include "platform/win/user/LineHandling.h"

// Longest line content: a line that fills the ring (31999 bytes) without its LF is dropped.
static const int s_nLineLimit = RECEIVE_RING_SIZE - 2;

void CLinkProtocol::OnReceived(const BYTE* pBytes, int nCount)
{
    if (nCount <= 0 || !m_bConnected)
        return;
    if (m_nDepth > 0) {
        // A line handler is running (a modal dialog pumps the queue): these bytes come after
        // the rest of the read in progress, which picks them up when it is done.
        m_pending.insert(m_pending.end(), pBytes, pBytes + nCount);
        return;
    }
    RestartIdle();
    Ingest(pBytes, nCount);
    while (!m_pending.empty() && m_nDepth == 0 && m_bConnected) {
        std::vector<BYTE> more;
        more.swap(m_pending);
        Ingest(more.data(), static_cast<int>(more.size()));
    }
}

void CLinkProtocol::Ingest(const BYTE* pBytes, int nCount)
{
    std::vector<BYTE> plain;
    if (m_cipher.IsOn()) {
        if (!m_cipher.Decrypt(pBytes, nCount, plain))
            m_pPort->Log("Decryption failed!\n");
        pBytes = plain.data();
        nCount = static_cast<int>(plain.size());
    }
    if (m_nType == LINK_SERIAL_PROTOCOL) {
        // The protocol's serial lines carry no NUL and no CR of their own.
        if (plain.empty())
            plain.assign(pBytes, pBytes + nCount);
        plain.erase(std::remove_if(plain.begin(), plain.end(), [](BYTE ch) { return ch == 0 || ch == '\r'; }),
                    plain.end());
        pBytes = plain.data();
        nCount = static_cast<int>(plain.size());
    }
    const unsigned nSession = m_nSession;
    const BOOL bEncrypted = m_cipher.IsOn();
    int nDone = 0;
    while (nDone < nCount) {
        // The ring takes what it has room for; the framing empties it before the next piece.
        nDone += m_ring.Put(pBytes + nDone, nCount - nDone);
        Frame();
        if (m_nSession != nSession)
            return;         // closed or reopened while a line was handled: the rest is stale
        if (m_cipher.IsOn() != bEncrypted) {
            // The line just handled switched the cipher: the bytes after it, in the ring and
            // still in this read, are the first of the enciphered stream.
            std::vector<BYTE> rest(static_cast<size_t>(m_ring.GetUsed()));
            m_ring.TakeAll(rest.data(), static_cast<int>(rest.size()));
            rest.insert(rest.end(), pBytes + nDone, pBytes + nCount);
            if (!rest.empty())
                Ingest(rest.data(), static_cast<int>(rest.size()));
            return;
        }
    }
}

BOOL CLinkProtocol::SessionChanged(unsigned nSession, BOOL bWasEncrypted) const
{
    return m_nSession != nSession || m_cipher.IsOn() != bWasEncrypted;
}

void CLinkProtocol::Frame()
{
    if (m_nType == LINK_DIRECT_SOCKET)
        FrameDirect();
    else if (m_nType == LINK_SERIAL_RAW || (m_nType == LINK_NETWORK && m_options.bLineMode))
        FrameLines();
    else
        FramePackets();
}

BOOL CLinkProtocol::AppendToLine(BYTE ch)
{
    if (m_bDiscarding)
        return FALSE;
    if (m_nLine >= s_nLineLimit) {
        m_bDiscarding = TRUE;
        m_nLine = 0;
        return FALSE;
    }
    m_line[static_cast<size_t>(m_nLine++)] = static_cast<char>(ch);
    return TRUE;
}

BOOL CLinkProtocol::FrameDirect()
{
    const unsigned nSession = m_nSession;
    const BOOL bEncrypted = m_cipher.IsOn();
    while (!m_ring.IsEmpty()) {
        const BYTE* p = nullptr;
        const int n = m_ring.PeekSegment(&p);
        const BYTE* pLf = static_cast<const BYTE*>(std::memchr(p, '\n', static_cast<size_t>(n)));
        const int nTake = pLf ? static_cast<int>(pLf - p) : n;
        if (!m_bDiscarding) {
            if (m_nLine + nTake > s_nLineLimit) {
                m_bDiscarding = TRUE;
                m_nLine = 0;
            } else {
                std::memcpy(m_line.data() + m_nLine, p, static_cast<size_t>(nTake));
                m_nLine += nTake;
            }
        }
        m_ring.Skip(pLf ? nTake + 1 : nTake);
        if (!pLf)
            continue;
        const BOOL bDropped = m_bDiscarding;
        m_bDiscarding = FALSE;
        if (!bDropped && !OnDirectLine())
            return FALSE;
        m_nLine = 0;
        if (SessionChanged(nSession, bEncrypted))
            return FALSE;
    }
    return TRUE;
}

// Field 1 of a line of three fields or more (a trailing empty field not counted), or -1. Three
// bars always make three fields, so the scan stops at the third.
static long AcknowledgedNumber(const char* pszLine, int nLength)
{
    const char* pEnd = pszLine + nLength;
    const char* pBar1 = static_cast<const char*>(std::memchr(pszLine, '|', static_cast<size_t>(nLength)));
    if (!pBar1)
        return -1;
    const char* pBar2 = static_cast<const char*>(std::memchr(pBar1 + 1, '|', static_cast<size_t>(pEnd - pBar1 - 1)));
    if (!pBar2)
        return -1;
    if (!std::memchr(pBar2 + 1, '|', static_cast<size_t>(pEnd - pBar2 - 1)) && pEnd[-1] == '|')
        return -1;
    return ReadFieldLong(std::string_view(pBar1 + 1, static_cast<size_t>(pBar2 - pBar1 - 1)));
}

BOOL CLinkProtocol::OnDirectLine()
{
    const unsigned nSession = m_nSession;
    m_line[static_cast<size_t>(m_nLine)] = '\0';
    char* pszLine = m_line.data();
    int nLength = m_nLine;
    if (m_options.bDecompress) {
        m_expanded.clear();
        ExpandFeed(pszLine, nLength, m_expanded);
        pszLine = m_expanded.data();
        nLength = static_cast<int>(m_expanded.size());
    }
    // Read the acknowledgement first: the line's owner may change the text it is handed.
    const long nAck = AcknowledgedNumber(pszLine, nLength);
    RestartIdle();
    Deliver(pszLine);
    if (m_nSession != nSession)
        return FALSE;
    if (nAck >= 0)
        Acknowledge(nAck, TRUE);
    return TRUE;
}

BOOL CLinkProtocol::FrameLines()
{
    const unsigned nSession = m_nSession;
    const BOOL bEncrypted = m_cipher.IsOn();
    while (!m_ring.IsEmpty()) {
        const BYTE* p = nullptr;
        const int n = m_ring.PeekSegment(&p);
        int i = 0;
        while (i < n && p[i] != '\n') {
            if (p[i] != '\r')
                AppendToLine(p[i]);
            ++i;
        }
        m_ring.Skip(i < n ? i + 1 : n);
        if (i == n)
            continue;
        const BOOL bDropped = m_bDiscarding;
        m_bDiscarding = FALSE;
        if (!bDropped)
            CheckedLine();
        m_nLine = 0;
        if (SessionChanged(nSession, bEncrypted))
            return FALSE;
    }
    return TRUE;
}

BOOL CLinkProtocol::CheckedLine()
{
    int nLength = m_nLine;
    if (m_options.bChecksums) {
        if (nLength < 2) {
            m_pPort->Log("-- Empty line\n");
            return FALSE;
        }
        if (!LinkChecksumMatches(m_line.data(), nLength)) {
            m_pPort->Log("-- Checksum error in above line\n");
            return FALSE;
        }
        nLength -= 2;
    }
    m_line[static_cast<size_t>(nLength)] = '\0';
    if (!std::memchr(m_line.data(), '|', static_cast<size_t>(nLength)))
        return FALSE;
    OnControlLine(m_line.data());
    return TRUE;
}

BOOL CLinkProtocol::FramePackets()
{
    const unsigned nSession = m_nSession;
    const BOOL bEncrypted = m_cipher.IsOn();
    while (!m_ring.IsEmpty()) {
        const BYTE* p = nullptr;
        const int n = m_ring.PeekSegment(&p);
        int i = 0;
        BOOL bBody = FALSE;
        for (; i < n && !bBody; ++i) {
            const BYTE ch = p[i];
            if (m_bInPacket) {
                if (ch == '\n')
                    bBody = TRUE;
                else
                    AppendToLine(ch);
            } else if (m_bSkipping) {
                if (ch == '\n')
                    m_bSkipping = FALSE;
            } else if (ch == '#') {
                m_bInPacket = TRUE;
                m_nLine = 0;
                m_bDiscarding = FALSE;
            } else if (ch == '!') {
                m_bSkipping = TRUE;
            } else if (ch == '\n') {
                char szText[80];
                snprintf(szText, sizeof szText, "Error:<cr> received outside a packet: last packet=%c\n",
                         m_chLastPacket);
                m_pPort->Log(szText);
            }
        }
        m_ring.Skip(i);
        if (!bBody)
            continue;
        m_bInPacket = FALSE;
        const BOOL bDropped = m_bDiscarding;
        m_bDiscarding = FALSE;
        if (!bDropped)
            OnPacketBody();
        m_nLine = 0;
        if (SessionChanged(nSession, bEncrypted))
            return FALSE;
    }
    return TRUE;
}

void CLinkProtocol::OnPacketBody()
{
    const char* pBody = m_line.data();
    const int nLength = m_nLine;
    if (nLength < 1) {
        WriteAck(m_chLastPacket);
        return;
    }
    const char ch = pBody[0];
    char chExpected = ch == '/' ? '/' : static_cast<char>(m_chLastPacket + 1);
    if (chExpected > m_options.chSequenceLimit)
        chExpected = '0';
    if (ch != chExpected) {
        // A repeat of the last packet was already taken; anything else asks for a resend.
        if (ch != m_chLastPacket)
            WriteAck(m_chLastPacket);
        return;
    }
    if (nLength <= 2 || !LinkChecksumMatches(pBody + 1, nLength - 1)) {
        WriteAck(m_chLastPacket);
        return;
    }
    m_chLastPacket = ch;
    if (!m_options.bLineMode)
        WriteAck(ch);
    std::string payload;
    if (m_options.bDecompress)
        ExpandFeed(pBody + 1, nLength - 3, payload);
    else
        payload.assign(pBody + 1, static_cast<size_t>(nLength - 3));
    const unsigned nSession = m_nSession;
    size_t nStart = 0;
    for (;;) {
        const size_t nHash = payload.find('#', nStart);
        if (nHash != std::string::npos)
            payload[nHash] = '\0';
        OnControlLine(payload.data() + nStart);
        if (nHash == std::string::npos || m_nSession != nSession)
            return;
        nStart = nHash + 1;
    }
}

void CLinkProtocol::Deliver(char* pszLine)
{
    ++m_nDepth;
    ++m_nDelivered;
    // No dialog may open until the line is handled: the layer checks every modal loop.
    TbBeginLineHandling();
    m_pPort->OnLine(pszLine);
    TbEndLineHandling();
    --m_nDepth;
}

void CLinkProtocol::DeliverLine(char* pszLine)
{
    if (pszLine)
        Deliver(pszLine);
}
