// Sending: numbering request lines, the send queue and its window of unacknowledged lines, and
// the outgoing bytes, which wait in order until the transport takes them.
#include <cstdio>
#include <cstring>
#include <string_view>
#include "link/FieldNumbers.h"
#include "link/LinkChecksum.h"
#include "link/LinkProtocol.h"

BOOL CLinkProtocol::SendLine(const char* pszLine, long* pnNumber)
{
    if (pnNumber)
        *pnNumber = 0;
    if (!pszLine || !*pszLine)
        return FALSE;
    const std::string_view line(pszLine);
    std::string strLine;
    long nNumber = 0;
    const long nClientBefore = m_nClientNumber;
    const BOOL bMayBefore = m_bMaySend;
    const BOOL bDirect = m_nType == LINK_DIRECT_SOCKET;
    const BOOL bRequest = bDirect ? line.size() > 2 && (line[0] == '&' || line[0] == '^')
                                  : line.size() >= 3 && line[0] == '@';
    if (bRequest && !bDirect && line.substr(0, 3) == "@OK") {
        strLine = "@OK|";
        strLine += line.substr(3);
    } else if (bRequest) {
        // The head is the prefix and the mnemonic, up to the first ',' or '|' after them.
        size_t nHead = line.find_first_of(",|", 3);
        if (nHead == std::string_view::npos)
            nHead = line.size();
        if (bDirect ? m_nLastSent > m_nClientNumber : m_nLastSent >= m_nClientNumber) {
            m_nClientNumber = m_nLastSent + 1;
            if (!bDirect)
                m_bMaySend = TRUE;
        }
        // An "EN" ends a request stream and carries the number of the request it ends.
        if (line.substr(1, 2) == "EN")
            --m_nClientNumber;
        nNumber = m_nClientNumber;
        char szNumber[24];
        snprintf(szNumber, sizeof szNumber, "|%ld", nNumber);
        strLine.assign(line.substr(0, nHead));
        strLine += szNumber;
        strLine += line.substr(nHead);
        ++m_nClientNumber;
    } else {
        strLine.assign(line);
    }
    if (!QueueLine(strLine)) {
        // Refused: the number was never used, so the next line takes it.
        m_nClientNumber = nClientBefore;
        m_bMaySend = bMayBefore;
        return FALSE;
    }
    if (pnNumber)
        *pnNumber = nNumber;
    if (m_bMaySend)
        Pump(TRUE);
    return TRUE;
}

BOOL CLinkProtocol::QueueLine(const std::string& strLine)
{
    if (m_bQueueBlocked || strLine.empty())
        return FALSE;
    std::string strQueued = strLine;
    if (m_options.bChecksums) {
        char check[2];
        LinkChecksum(strQueued.data(), static_cast<int>(strQueued.size()), check);
        strQueued.append(check, 2);
    }
    // A line too long to be written, or ever to fit the queue, is refused here, before it
    // takes a number.
    const int nLength = static_cast<int>(strQueued.size());
    if (nLength > LINK_MAX_LINE || nLength + 2 > m_queue.GetSize())
        return FALSE;
    if (m_bKeyHold || !m_held.empty()) {
        // The hold lasts until the server answers the key, and whatever the terminal asks for
        // meanwhile (a saved workspace's lookups, thousands of them) must reach it: the lines
        // wait here, beyond the queue's bound, and those sent after them keep their turn.
        m_held.push_back(strQueued);
    } else if (!m_queue.Put(strQueued.data(), nLength)) {
        return FALSE;
    }
    if (m_options.bLogOutgoing) {
        std::string strLog = strLine + "\n";
        m_pPort->Log(strLog.c_str());
    }
    return TRUE;
}

// The number a written line carries after its head ("&MN|n..." or "@MN|n..."): 1 (direct) or 0
// for a line without one. The check characters are not part of the number.
static long SentNumber(const std::string& strLine, BOOL bDirect, BOOL bChecksums)
{
    std::string_view line(strLine);
    const BOOL bHead = line.size() + 1 > 6 && line[3] == '|' &&
                       (bDirect ? (line[0] == '&' || line[0] == '^') : line[0] == '@');
    if (!bHead)
        return bDirect ? 1 : 0;
    if (bChecksums && line.size() >= 6)
        line.remove_suffix(2);
    return ReadFieldLong(line.substr(4));
}

BOOL CLinkProtocol::Pump(BOOL bAdvance)
{
    if (m_bResumeWait) {
        // The pause after a resuming connect request holds every write; a resend asked for
        // meanwhile ("$CO" of the resumed session) is done when it ends.
        if (!bAdvance)
            m_bResendHeld = TRUE;
        return TRUE;
    }
    const BOOL bDirect = m_nType == LINK_DIRECT_SOCKET;
    for (;;) {
        if (bDirect && bAdvance && GetPendingOutput() >= LINK_OUT_LIMIT)
            return TRUE;    // the transport is behind: the lines wait in the queue
        if (!m_bKeyHold)
            MoveHeldIntoQueue();
        if (!m_queue.TakeLine(bAdvance, m_strSend)) {
            m_bMaySend = TRUE;
            return TRUE;
        }
        if (!bDirect)
            m_bMaySend = FALSE;     // one line in flight until it is acknowledged
        m_nLastSent = SentNumber(m_strSend, bDirect, m_options.bChecksums);
        m_strSend += bDirect ? '\n' : '\r';
        const BOOL bWritten = WriteBytes(m_strSend.data(), static_cast<int>(m_strSend.size()));
        if (bDirect) {
            // The line is in the outgoing bytes, which lose nothing: it leaves the queue.
            m_queue.AcknowledgeWritten();
        }
        if (!bWritten) {
            if (!bDirect)
                m_bQueueBlocked = TRUE;
            return FALSE;
        }
        if (!bDirect || !bAdvance)
            return TRUE;
    }
}

void CLinkProtocol::MoveHeldIntoQueue()
{
    while (!m_held.empty() &&
           m_queue.Put(m_held.front().data(), static_cast<int>(m_held.front().size())))
        m_held.pop_front();
}

void CLinkProtocol::Acknowledge(long nNumber, BOOL bAdvance)
{
    m_bResendRequested = FALSE;
    if (bAdvance) {
        if (nNumber < m_nLastSent)
            return;         // an answer to an older line says nothing of the newer ones
        m_queue.AcknowledgeWritten();
    }
    Pump(bAdvance);
}

BOOL CLinkProtocol::WriteText(const char* pszText)
{
    return pszText ? WriteBytes(pszText, static_cast<int>(std::strlen(pszText))) : FALSE;
}

void CLinkProtocol::WriteAck(char chPacket)
{
    const char szAck[3] = {chPacket, '\r', '\0'};
    WriteText(szAck);
}

BOOL CLinkProtocol::WriteBytes(const char* pBytes, int nCount)
{
    if (!m_bConnected || nCount <= 0)
        return FALSE;
    if (m_cipher.IsOn()) {
        if (!m_cipher.Encrypt(pBytes, nCount, m_out)) {
            m_pPort->Log("Encryption failed!\n");
            return FALSE;
        }
    } else {
        m_out.insert(m_out.end(), reinterpret_cast<const BYTE*>(pBytes), reinterpret_cast<const BYTE*>(pBytes) + nCount);
    }
    return Flush();
}

BOOL CLinkProtocol::Flush()
{
    while (m_nOutStart < m_out.size()) {
        const int nWant = static_cast<int>(std::min<size_t>(m_out.size() - m_nOutStart, 1 << 30));
        const int n = m_pPort->WriteTransport(m_out.data() + m_nOutStart, nWant);
        if (n < 0) {
            m_out.clear();
            m_nOutStart = 0;
            return FALSE;
        }
        if (n == 0) {
            // Keep the rest in order; half of a cipher block can never be followed by
            // another line's bytes.
            if (m_nOutStart > m_out.size() / 2) {
                m_out.erase(m_out.begin(), m_out.begin() + static_cast<long>(m_nOutStart));
                m_nOutStart = 0;
            }
            m_pPort->WatchWritable(TRUE);
            return TRUE;
        }
        m_nOutStart += static_cast<size_t>(n);
    }
    m_out.clear();
    m_nOutStart = 0;
    return TRUE;
}

void CLinkProtocol::OnWritable()
{
    if (!m_bConnected)
        return;
    if (!Flush())
        return;
    if (GetPendingOutput() == 0)
        m_pPort->WatchWritable(FALSE);
    if (m_nType == LINK_DIRECT_SOCKET && (m_queue.HasUnsent() || !m_held.empty()) &&
        GetPendingOutput() < LINK_OUT_LIMIT)
        Pump(TRUE);
}
