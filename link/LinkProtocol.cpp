// The link's life: connecting by type, closing, resetting, the cipher switch and the timers.
#include "link/LinkProtocol.h"
#include "link/crypto/LinkCipher.h"
#include "link/crypto/Rsa.h"

// "@OK" and "@CO" with their check characters, enclosed in CRs.
static const char s_szHello[] = "\r@OK3J\r";
static const char s_szConnect[] = "\r@CO3B\r";

CLinkProtocol::CLinkProtocol(ILinkPort* pPort, int nSendQueueSize)
    : m_pPort(pPort), m_line(LINK_MAX_LINE + 1), m_queue(nSendQueueSize)
{
    ResetLinkState();
}

void CLinkProtocol::PrepareConnect(int nType)
{
    m_cipher.SetOn(FALSE);
    m_bKeyAwaited = FALSE;
    if (!m_options.bEncryption)
        return;
    if (!m_bCipherReady && TwofishCipherInit() == 0)
        m_bCipherReady = TRUE;
    // The protocol modes exchange the session key under the link's own key pair; the direct
    // socket mode gets it from the application's exchange and needs none.
    if (nType != LINK_DIRECT_SOCKET && m_szPublicKey[0] == '\0' &&
        MakeRsaKeyTexts(m_szPublicKey, sizeof m_szPublicKey, m_szPrivateKey, sizeof m_szPrivateKey) != 0) {
        m_szPublicKey[0] = m_szPrivateKey[0] = '\0';
        m_pPort->Log("Making the key pair failed!\n");
    }
}

void CLinkProtocol::ResetReceive()
{
    m_ring.Reset();
    m_nLine = 0;
    m_bDiscarding = FALSE;
    m_pending.clear();
    m_cipher.SetOn(m_cipher.IsOn());    // empties the carry, keeps the switch
}

void CLinkProtocol::ResetLinkState()
{
    m_nLastSent = 0;
    m_nClientNumber = 0;
    m_queue.Reset();
    m_bQueueBlocked = FALSE;
    m_bMaySend = TRUE;
    m_bInPacket = m_bSkipping = FALSE;
    m_chLastPacket = '.';
    m_chSavedPacket = 0;
    m_bOpen = FALSE;
    m_bConnectPhase = m_bConnectAnswered = m_bHelloDone = m_bKeyAwaited = m_bResume = FALSE;
    m_nLastSeen = m_nNextNumber = m_nSavedLastSeen = m_nHighest = 0;
    m_bResendRequested = m_bRetransmitting = m_bQuit = FALSE;
    m_nSilent = 0;
    m_nResumeNumber = 0;
}

void CLinkProtocol::OnOpened(int nType)
{
    ++m_nSession;
    m_bConnected = TRUE;
    m_out.clear();
    m_nOutStart = 0;
    m_bResumeWait = m_bResendHeld = m_bKeyHold = FALSE;
    m_held.clear();
    ResetReceive();
    const BOOL bSwitch = nType == LINK_SERIAL_SWITCH;
    if (bSwitch) {
        // An open raw serial link goes over to the protocol: always afresh.
        m_bResume = FALSE;
        nType = LINK_SERIAL_PROTOCOL;
    }
    m_nType = nType;
    if (!m_bResume)
        ResetLinkState();
    switch (nType) {
    case LINK_DIRECT_SOCKET:
        m_pPort->StopTimer(LINK_TIMER_IDLE);
        m_bOpen = TRUE;
        m_nClientNumber = 1;
        m_pPort->OnState(LINK_STATE_READY);
        break;
    case LINK_SERIAL_RAW:
        m_pPort->StopTimer(LINK_TIMER_IDLE);
        m_bOpen = TRUE;
        break;
    case LINK_SERIAL_PROTOCOL:
        m_bOpen = TRUE;
        WriteText(s_szHello);
        // Opened as such, silent from the start: a port that never answers ends the link (or
        // goes to the other port) at the first period. A raw link switched over keeps the
        // reset's count and says hello three more times first.
        m_nSilent = bSwitch ? 0 : 3;
        if (m_options.nIdlePeriod > 0)
            m_pPort->StartTimer(LINK_TIMER_IDLE, static_cast<UINT>(m_options.nIdlePeriod));
        break;
    case LINK_NETWORK:
        m_bOpen = TRUE;
        if (m_options.bLineMode) {
            m_pPort->StopTimer(LINK_TIMER_IDLE);
            if (m_options.nReconnectMinutes > 0 && !m_options.bUdp)
                m_pPort->StartTimer(LINK_TIMER_RECONNECT, static_cast<UINT>(m_options.nReconnectMinutes) * 60000u);
            m_pPort->OnState(LINK_STATE_READY);
            break;
        }
        WriteText(s_szHello);
        if (m_options.nIdlePeriod >= 1 && !m_options.bUdp)
            m_pPort->StartTimer(LINK_TIMER_IDLE, static_cast<UINT>(m_options.nIdlePeriod));
        break;
    default:
        break;
    }
}

void CLinkProtocol::OnClosed(BOOL bKeepResume)
{
    ++m_nSession;
    m_bOpen = m_bConnected = FALSE;
    m_bConnectPhase = m_bConnectAnswered = m_bHelloDone = m_bKeyAwaited = FALSE;
    m_bResumeWait = m_bResendHeld = m_bKeyHold = FALSE;
    m_held.clear();
    if (!bKeepResume)
        m_nResumeNumber = 0;
    m_out.clear();
    m_nOutStart = 0;
    m_pending.clear();
    m_pPort->WatchWritable(FALSE);
    m_pPort->StopTimer(LINK_TIMER_IDLE);
    m_pPort->StopTimer(LINK_TIMER_RESUME_WAIT);
}

BOOL CLinkProtocol::PrepareResume()
{
    if (!m_options.bRetry || m_nResumeNumber <= 0)
        return FALSE;
    m_chSavedPacket = m_chLastPacket;
    m_bConnectPhase = m_bConnectAnswered = m_bHelloDone = m_bKeyAwaited = FALSE;
    m_bResume = TRUE;
    return TRUE;
}

void CLinkProtocol::SetEncryption(BOOL bOn)
{
    m_cipher.SetOn(bOn);
    // Held lines go enciphered or not at all.
    if (!m_bKeyHold || !bOn)
        return;
    m_bKeyHold = FALSE;
    if (m_bConnected)
        Pump(TRUE);
}

void CLinkProtocol::HoldUntilEncrypted()
{
    m_bKeyHold = TRUE;
}

void CLinkProtocol::RestartIdle()
{
    m_nSilent = 0;
    if (m_options.nIdlePeriod > 0 && !m_options.bUdp && m_bOpen)
        m_pPort->StartTimer(LINK_TIMER_IDLE, static_cast<UINT>(m_options.nIdlePeriod));
}

void CLinkProtocol::OnIdleTimer()
{
    if (!m_bConnected)
        return;
    if (m_nSilent < 3) {
        if (!m_bConnectPhase) {
            WriteText("\r");
            WriteText(s_szHello);
        } else if (!m_bConnectAnswered) {
            WriteText("\r");
            WriteText(s_szConnect);
        } else if (!IsSerial()) {
            WriteText("\r");
        } else {
            WriteAck(m_chLastPacket);
        }
        ++m_nSilent;
        return;
    }
    m_pPort->StopTimer(LINK_TIMER_IDLE);
    if (IsSerial() && m_options.bDualPort) {
        m_chSavedPacket = m_bConnectPhase ? m_chLastPacket : 0;
        m_bResume = TRUE;
        m_pPort->Reconnect(LINK_SERIAL_PROTOCOL);
    } else if (m_bConnectPhase && m_options.bRetry) {
        m_chSavedPacket = m_chLastPacket;
        m_bResume = TRUE;
        m_pPort->Reconnect(LINK_NETWORK);
    } else {
        m_pPort->OnState(LINK_ERR_IDLE);
    }
}

void CLinkProtocol::OnResumeWaitTimer()
{
    m_pPort->StopTimer(LINK_TIMER_RESUME_WAIT);
    if (!m_bResumeWait)
        return;
    m_bResumeWait = FALSE;
    const BOOL bResend = m_bResendHeld;
    m_bResendHeld = FALSE;
    if (m_bMaySend)
        Pump(TRUE);
    else if (bResend)
        Pump(FALSE);    // the line in flight when the link dropped, held by the pause
}
