// The control lines of the protocol modes: hello and connect ("$OK", "$CO"), the link-level key
// exchange ("$X9"), resend requests ("$NS", "$RM", "$RC") and the numbered feed lines.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>
#include "link/FieldNumbers.h"
#include "link/LinkChecksum.h"
#include "link/LinkProtocol.h"
#include "link/crypto/Rsa.h"

static const char s_szConnect[] = "\r@CO3B\r";

// Field n of a '|'-separated line ("" when the line has fewer).
static std::string_view FieldOf(std::string_view line, int n)
{
    size_t nStart = 0;
    for (int i = 0; i < n; ++i) {
        const size_t nBar = line.find('|', nStart);
        if (nBar == std::string_view::npos)
            return {};
        nStart = nBar + 1;
    }
    const size_t nEnd = line.find('|', nStart);
    return line.substr(nStart, nEnd == std::string_view::npos ? std::string_view::npos : nEnd - nStart);
}

// The fields of a line, a trailing empty field not counted.
static int CountFields(std::string_view line)
{
    int n = 1;
    for (char ch : line)
        n += ch == '|';
    return !line.empty() && line.back() == '|' ? n - 1 : n;
}

static BOOL HasMnemonic(std::string_view line, const char* pszMnemonic)
{
    return line.size() >= 3 && line[0] == '$' && line[1] == pszMnemonic[0] && line[2] == pszMnemonic[1];
}

void CLinkProtocol::OnControlLine(char* pszLine)
{
    const std::string_view line(pszLine);
    m_nSilent = 0;
    if (m_options.nIdlePeriod > 0 && !m_options.bUdp)
        m_pPort->StartTimer(LINK_TIMER_IDLE, static_cast<UINT>(m_options.nIdlePeriod));

    if (HasMnemonic(line, "OK")) {
        OnOk(pszLine);
    } else if (HasMnemonic(line, "CO")) {
        WriteText("\r");
        m_bConnectAnswered = TRUE;
        m_nResumeNumber = CountFields(line) >= 4 ? ReadFieldLong(FieldOf(line, 3)) : 0;
        if (m_chSavedPacket) {
            // A resumed session goes on where it stopped: the same packet sequence, and the
            // lines the server may have missed are written again.
            m_chLastPacket = m_chSavedPacket;
            m_chSavedPacket = 0;
            Acknowledge(0, FALSE);
            m_pPort->OnState(LINK_STATE_READY);
        }
    } else if (HasMnemonic(line, "X9")) {
        OnKeyLine(pszLine);
    } else if (HasMnemonic(line, "NS")) {
        Acknowledge(0, FALSE);
    } else if (HasMnemonic(line, "RM") && NumberedFeed()) {
        Acknowledge(0, FALSE);
        m_bRetransmitting = FALSE;
    } else if (HasMnemonic(line, "RC") && NumberedFeed()) {
        const long nResend = ReadFieldLong(FieldOf(line, 2));
        const long nHighest = ReadFieldLong(FieldOf(line, 3));
        m_pPort->StopTimer(LINK_TIMER_IDLE);
        m_nSilent = 0;
        const unsigned nSession = m_nSession;
        Deliver(pszLine);
        if (m_nSession != nSession)
            return;
        if (m_bQuit)
            m_nLastSeen = m_nSavedLastSeen;
        m_bQuit = FALSE;
        m_bResendRequested = nResend != 0;
        if (nResend == 0)
            m_nLastSeen = 0;
        m_nHighest = nHighest;
        if (RequestRetransmission())
            m_bRetransmitting = TRUE;
    } else if (!NumberedFeed() && !m_options.bUdp) {
        Deliver(pszLine);
    } else {
        OnFeedLine(pszLine);
    }
}

void CLinkProtocol::OnOk(char* pszLine)
{
    const std::string_view line(pszLine);
    if (m_bKeyAwaited) {
        // The server has the session key: from here on both directions are enciphered.
        m_bKeyAwaited = FALSE;
        SetEncryption(TRUE);
        Acknowledge(ReadFieldLong(FieldOf(line, 1)), TRUE);
        m_pPort->OnState(LINK_STATE_READY);
        return;
    }
    if (m_bConnectAnswered && m_bHelloDone) {
        const long nAck = ReadFieldLong(FieldOf(line, 1));
        const unsigned nSession = m_nSession;
        Deliver(pszLine);
        if (m_nSession == nSession)
            Acknowledge(nAck, TRUE);
        return;
    }
    if (m_bConnectAnswered) {
        m_bHelloDone = TRUE;
        const BOOL bResume = m_bResume;
        m_bResume = FALSE;
        if (!bResume) {
            m_nClientNumber = 1;
            if (m_options.nClientId >= 1) {
                char szHello[32];
                snprintf(szHello, sizeof szHello, "@VC|%ld", m_options.nClientId);
                SendLine(szHello, nullptr);
            }
        }
        if ((!bResume && !m_options.bEncryption) || IsSerial()) {
            m_pPort->OnState(LINK_STATE_READY);
        } else if (m_options.bEncryption) {
            std::string strKey = "@X9|256|";
            strKey += m_szPublicKey;
            SendLine(strKey.c_str(), nullptr);
        }
        return;
    }
    if (m_bConnectPhase)
        return;             // the connect request is out; "$CO" comes first
    if (IsSerial() && m_options.bDualPort) {
        m_pPort->Reconnect(LINK_SERIAL_PROTOCOL);
        return;
    }
    StartConnectPhase();
}

void CLinkProtocol::StartConnectPhase()
{
    m_cipher.SetOn(FALSE);
    m_bHelloDone = FALSE;
    m_chLastPacket = '.';
    m_bConnectPhase = TRUE;
    char szLine[48];
    int n = m_nResumeNumber > 0 ? snprintf(szLine, sizeof szLine, "@CO|||%ld", m_nResumeNumber)
                                : snprintf(szLine, sizeof szLine, "@CO||");
    if (m_options.bChecksums) {
        LinkChecksum(szLine, n, szLine + n);
        n += 2;
    }
    szLine[n++] = '\r';
    szLine[n] = '\0';
    WriteText(szLine);
    if (IsSerial() && !m_bResume) {
        WriteText("\r");
    } else if (!IsSerial() && m_bResume) {
        // The server needs a moment to take the resumed session up: hold every write for
        // three seconds, without holding the user interface.
        m_bResumeWait = TRUE;
        m_pPort->StartTimer(LINK_TIMER_RESUME_WAIT, 3000);
    }
}

void CLinkProtocol::OnKeyLine(const char* pszLine)
{
    // "$X9|field|key": the session key, enciphered under our public key, after the second '|'.
    const char* pBar = std::strchr(pszLine, '|');
    const char* pKey = pBar ? std::strchr(pBar + 1, '|') : nullptr;
    char key[RSA_SESSION_KEY_CHARS];
    BOOL bOk = pKey && m_szPrivateKey[0] &&
               RsaDecryptText(key, sizeof key, pKey + 1, m_szPrivateKey) == 0;
    for (int i = 0; bOk && i < RSA_SESSION_KEY_CHARS; ++i)
        bOk = std::isxdigit(static_cast<unsigned char>(key[i])) != 0;
    if (!bOk) {
        // Without the key the next "$OK" would switch to a cipher the server does not share.
        m_pPort->Log("Key exchange failed!\n");
        m_pPort->CloseLink(LINK_STATE_LOST);
        return;
    }
    char* pszSession = m_cipher.GetKeyBuffer();
    std::memcpy(pszSession, key, RSA_SESSION_KEY_CHARS);
    pszSession[RSA_SESSION_KEY_CHARS] = '\0';
    m_bKeyAwaited = TRUE;
}

void CLinkProtocol::OnFeedLine(char* pszLine)
{
    const std::string_view line(pszLine);
    if (line.empty() || line[0] != '$') {
        if (!m_bRetransmitting)
            Deliver(pszLine);
        return;
    }
    const long nNumber = ReadFieldLong(FieldOf(line, 1));
    const BOOL bEndLine = HasMnemonic(line, "DB") || HasMnemonic(line, "DN") || HasMnemonic(line, "EN");
    const BOOL bNumbered = nNumber != 0 && (!bEndLine || m_options.bUdp);
    if (bNumbered) {
        m_nNextNumber = nNumber;
        if (m_options.bUdp && nNumber >= 1 && nNumber <= 999)
            m_nLastSeen = 0;        // the feed started again
    }
    if (HasMnemonic(line, "TI") && FieldOf(line, 2).substr(0, 2) == "00")
        m_nLastSeen = 0;
    if (HasMnemonic(line, "QU")) {
        m_pPort->StopTimer(LINK_TIMER_IDLE);
        m_bQuit = TRUE;
        if (!m_options.bSerialProtocol)
            m_nResumeNumber = 0;
        if (bNumbered)
            m_nSavedLastSeen = m_nLastSeen;
        if (m_options.bUdp || m_nType == LINK_SERIAL_RAW) {
            m_nLastSeen = 0;
            Deliver(pszLine);
            return;
        }
    }
    if (bNumbered) {
        if (nNumber <= m_nLastSeen)
            return;         // a line seen before: the resend overlapped
        m_nLastSeen = nNumber;
    }
    if (!m_bRetransmitting)
        Deliver(pszLine);
}

BOOL CLinkProtocol::RequestRetransmission()
{
    if (!NumberedFeed())
        return FALSE;
    if (m_bResendRequested) {
        if (m_nHighest <= m_nNextNumber) {
            WriteText("\r");
            Pump(FALSE);
            return FALSE;
        }
        char szLine[48];
        int n = snprintf(szLine, sizeof szLine, "@RM||%ld", m_nNextNumber);
        if (m_options.bChecksums) {
            LinkChecksum(szLine, n, szLine + n);
            n += 2;
        }
        szLine[n++] = '\r';
        szLine[n] = '\0';
        WriteText(szLine);
        WriteText("\r");
        return TRUE;
    }
    // Nothing to resend from: the session starts over with a fresh connect request.
    m_nLastSent = 0;
    m_nClientNumber = 1;
    m_queue.Reset();
    m_bQueueBlocked = FALSE;
    m_bMaySend = TRUE;
    if (m_options.bSerialProtocol)
        m_pPort->ClearInput();
    WriteText(s_szConnect);
    m_bConnectPhase = TRUE;
    m_bConnectAnswered = FALSE;
    return FALSE;
}
