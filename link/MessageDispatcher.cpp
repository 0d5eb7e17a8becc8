#include "link/MessageDispatcher.h"

#include <cstring>
#include <vector>
#include "link/AppServices.h"
#include "link/CommLink.h"
#include "link/ErrorDictionary.h"
#include "link/MarketServices.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "link/crypto/Rsa.h"
#include "platform/win/user/LineHandling.h"

#define IDS_INITIAL_LOAD_DONE 40331     // the session's first data are in
#define IDS_LINK_ENCRYPTED 40340        // the server took our session key
#define IDS_KEY_EXCHANGE_FAILED 40341
#define IDS_REQUEST_DONE 55207          // "%1": a change the server confirmed, by its number

#define INFO_PRIORITY_CONFIRMATION 1
#define INFO_PRIORITY_ERROR 2

namespace {

// The key exchange's accept: one field that is a number and reads 0.
bool IsZeroNumber(std::string_view text)
{
    if (text.empty())
        return false;
    for (char ch : text) {
        if (ch != '0')
            return false;
    }
    return true;
}

}  // namespace

CMessageDispatcher::CMessageDispatcher(CZorvatMessageSource* pSource, CZorvatErrorDictionary* pErrors,
                                       IAppServices* pApp, IRefDataServices* pRefData)
    : m_pSource(pSource), m_pErrors(pErrors), m_pApp(pApp), m_pRefData(pRefData)
{
}

CMessageDispatcher::~CMessageDispatcher()
{
    for (CDispatch* pDispatch = m_pDispatches; pDispatch != nullptr; pDispatch = pDispatch->pOuter)
        pDispatch->bGone = TRUE;
}

void CMessageDispatcher::OnServerMessage(LPCSTR pszLine)
{
    if (m_bHold || pszLine == nullptr)
        return;
    CServerMessage msg(pszLine, 1);
    CDispatch frame{m_pDispatches, FALSE};
    m_pDispatches = &frame;
    // A line however it came (the link, a replay): what it calls for opens after it.
    TbBeginLineHandling();
    Dispatch(msg, frame);
    TbEndLineHandling();
    if (!frame.bGone)
        m_pDispatches = frame.pOuter;
}

void CMessageDispatcher::Dispatch(CServerMessage& msg, CDispatch& frame)
{
    int nType = msg.GetType();
    if (nType == MSG_GS && msg.GetSize() == 2 && m_pRefData != nullptr &&
        !IsRestrictedRole(m_pRefData->GetUserRole())) {
        if (ICompactQuoteExpander* pExpander = m_pApp->GetQuoteExpander())
            pExpander->ExpandCompactQuote(&msg);
        nType = msg.GetType();
    }
    if (nType == MESSAGE_TYPE_DATA_ROW) {
        m_pSource->FireRawLine(&msg, -1);
        return;
    }
    if (nType == MSG_EN) {
        // The stream this "EN" closes is the one the last reply or stream header opened; live
        // lines that came in between do not change it. Taken as the line comes in, so lines
        // dispatched by a nested loop further down keep theirs.
        const BOOL bAwaitedEnd = m_nStreamType != MESSAGE_TYPE_UNKNOWN && m_nStreamType == m_nAwaitedType;
        m_nStreamType = MESSAGE_TYPE_UNKNOWN;
        m_nLastType = nType;
        m_pSource->FireEN(&msg, -1);
        if (frame.bGone || !bAwaitedEnd || m_bInitialLoad)
            return;
        m_bInitialLoad = TRUE;
        ShowResourceText(IDS_INITIAL_LOAD_DONE, 0);
        m_pApp->OnInitialLoadDone();
        return;
    }
    const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nType);
    if (pInfo != nullptr && pInfo->bRoleFiltered && m_pRefData != nullptr &&
        IsRestrictedRole(m_pRefData->GetUserRole()))
        return;
    m_nLastType = nType;
    if (pInfo != nullptr && (pInfo->nFanOut == FANOUT_REPLY || pInfo->nFanOut == FANOUT_STREAM))
        m_nStreamType = nType;

    switch (nType) {
    case MSG_BP: {
        const long nCode = msg.GetLong(2);
        if (nCode > 0 && m_pErrors != nullptr) {
            CString strText;
            m_pErrors->GetTextAlone(&strText, nCode);
            if (IInfoWindow* pInfoWindow = m_pApp->GetInfoWindow())
                pInfoWindow->AddText(strText);
            m_pApp->BringInfoWindowToTop(INFO_PRIORITY_ERROR);
        }
        break;
    }
    case MSG_DR:
        m_pSource->FireType(nType, &msg, -1);
        if (!frame.bGone)
            m_pApp->OnMessageDR(&msg);
        break;
    case MSG_RW:
        if (msg.GetLong(6) == 0)
            ShowConfirmation(msg.GetLong(1));
        m_pSource->FireType(nType, &msg, -1);
        break;
    case MSG_UL:
        m_pApp->OnLoginReply(&msg);
        if (frame.bGone)
            return;
        m_pSource->FireType(nType, &msg, -1);
        // A refused login showed its error through the fan-out; the dialog comes again.
        if (!frame.bGone && msg.GetLong(1) != 0)
            m_pApp->Login();
        break;
    case MSG_US:
        if (m_pRefData != nullptr)
            m_pRefData->OnChangeReply(msg.GetLong(1) == 0);
        if (msg.GetLong(1) == 0)
            ShowConfirmation(msg.GetLong(0));
        m_pSource->FireType(nType, &msg, -1);
        break;
    case MSG_VC:
        OnHelloReply(msg, frame);
        break;
    case MSG_X9:
        OnKeyExchange(msg);
        break;
    default:
        // Types without a handler ("IC", "NE", ...) and unknown mnemonics end here.
        m_pSource->FireType(nType, &msg, -1);
        break;
    }
    // A refused reply has no "EN": when it is the one the initial load waits for, it ends the
    // load as its "EN" would have.
    if (!frame.bGone && nType == m_nAwaitedType && pInfo != nullptr && !m_bInitialLoad &&
        (pInfo->nFanOut == FANOUT_REPLY || pInfo->nFanOut == FANOUT_STREAM) &&
        IsReplyError(&msg, pInfo->nErrorField) != 0) {
        m_nStreamType = MESSAGE_TYPE_UNKNOWN;
        m_bInitialLoad = TRUE;
        ShowResourceText(IDS_INITIAL_LOAD_DONE, 0);
        m_pApp->OnInitialLoadDone();
    }
}

void CMessageDispatcher::OnHelloReply(CServerMessage& msg, CDispatch& frame)
{
    m_pSource->FireType(MSG_VC, &msg, -1);
    if (frame.bGone)
        return;
    ICommLink* pLink = m_pApp->GetLink();
    if (pLink == nullptr || !pLink->IsConnected())
        return;
    m_connection.nValue2 = msg.GetLong(2);
    m_connection.strText5 = msg.GetField(5);
    m_connection.nValue1 = msg.GetLong(1);
    m_connection.nValue4 = msg.GetLong(4);
    m_connection.bSameVersion = m_connection.nValue1 == m_connection.nValue4;
    SendRequest(MSG_XC, "||");
    pLink = m_pApp->GetLink();
    if (pLink != nullptr && pLink->IsEncryptionOption()) {
        m_bKeySent = FALSE;
        SendRequest(MSG_X9, "");
    } else {
        StartSession();
    }
}

void CMessageDispatcher::OnKeyExchange(CServerMessage& msg)
{
    ICommLink* pLink = m_pApp->GetLink();
    if (pLink == nullptr)
        return;
    if (msg.GetSize() == 3) {
        SendSessionKey(msg);
        return;
    }
    // An accept counts only for a key we sent: switching the cipher on without one would
    // garble every following line.
    if (msg.GetSize() == 1 && IsZeroNumber(msg.GetFieldView(0)) && m_bKeySent) {
        m_bKeySent = FALSE;
        // Now, while the accept line is being delivered: whatever follows it in the same read
        // is already enciphered.
        pLink->SetEncryption(TRUE);
        ShowResourceText(IDS_LINK_ENCRYPTED, INFO_PRIORITY_CONFIRMATION);
        StartSession();
        return;
    }
    FailKeyExchange();
}

void CMessageDispatcher::SendSessionKey(const CServerMessage& msg)
{
    ICommLink* pLink = m_pApp->GetLink();
    char* pszKey = pLink->GetSessionKeyBuffer();
    CString strKeyText = msg.GetField(1) + "|" + msg.GetField(2);
    if (pszKey == nullptr || RandomHexKey(pszKey) != 0) {
        FailKeyExchange();
        return;
    }
    pszKey[RSA_SESSION_KEY_CHARS] = '\0';
    const int nSize = RsaCipherTextSize(RSA_SESSION_KEY_CHARS, strKeyText);
    std::vector<char> cipher(static_cast<size_t>(nSize > 0 ? nSize : 1));
    if (nSize <= 0 || RsaEncryptText(cipher.data(), nSize, pszKey, strKeyText) != 0) {
        FailKeyExchange();
        return;
    }
    m_bKeySent = TRUE;
    SendRequest(MSG_X9, cipher.data());
    // The server deciphers everything after the key; lookups and subscriptions that answers
    // still on their way plainly ask for must not reach it plain.
    if (ICommLink* pSent = m_pApp->GetLink())
        pSent->HoldUntilEncrypted();
}

void CMessageDispatcher::FailKeyExchange()
{
    m_bKeySent = FALSE;
    ShowResourceText(IDS_KEY_EXCHANGE_FAILED, INFO_PRIORITY_ERROR);
    if (ICommLink* pLink = m_pApp->GetLink()) {
        if (char* pszKey = pLink->GetSessionKeyBuffer())
            memset(pszKey, 0, SESSION_KEY_BUFFER_SIZE);
        pLink->Disconnect(FALSE);
    }
    // The link closes without a status of its own; the application must still learn that
    // the session is gone.
    m_pApp->OnConnectionState(COMM_STATE_LOST);
}

void CMessageDispatcher::StartSession()
{
    SendRequest(MSG_MT, "");
    LPCSTR pszLanguage = m_pApp->GetLanguageCode();
    CString strBody;
    strBody.Format("%s|0", pszLanguage != nullptr ? pszLanguage : "0");
    SendRequest(MSG_EM, strBody);
    m_pApp->Login();
}

void CMessageDispatcher::ShowResourceText(UINT nId, int nPriority)
{
    if (IInfoWindow* pInfoWindow = m_pApp->GetInfoWindow())
        pInfoWindow->AddResourceText(nId);
    if (nPriority > 0)
        m_pApp->BringInfoWindowToTop(nPriority);
}

void CMessageDispatcher::ShowConfirmation(long nNumber)
{
    CString strText;
    FormatNumberText(&strText, IDS_REQUEST_DONE, nNumber);
    if (IInfoWindow* pInfoWindow = m_pApp->GetInfoWindow())
        pInfoWindow->AddText(strText);
    m_pApp->BringInfoWindowToTop(INFO_PRIORITY_CONFIRMATION);
}

long CMessageDispatcher::SendRequest(LPCSTR pszLine)
{
    if (pszLine == nullptr)
        return 0;
    if (strpbrk(pszLine, "\r\n") != nullptr)
        return SEND_REFUSED;
    ICommLink* pLink = m_pApp->GetLink();
    if (pLink == nullptr || !pLink->IsConnected())
        return 0;
    long nNumber = 0;
    if (!pLink->SendLine(pszLine, &nNumber))
        return 0;
    return nNumber;
}

long CMessageDispatcher::SendRequest(int nType, LPCSTR pszBody)
{
    CString strLine;
    if (FormatRequestLine(&strLine, nType, pszBody != nullptr ? pszBody : "", 1, FALSE, FALSE, nullptr, FALSE) !=
        REQUEST_OK)
        return SEND_REFUSED;
    return SendRequest(strLine);
}
