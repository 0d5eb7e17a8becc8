#include "link/MessageSource.h"

#include "link/ErrorDictionary.h"

namespace {

// Ids are never reused, so a stale id can never reach another sink.
int s_nNextSinkId = 1;

using SinkHandler = void (CZorvatMessageSink::*)(CServerMessage*);

// The handler of each slot, generated from the same list as the slots themselves.
const SinkHandler s_handlers[] = {
    nullptr,
#define TB_MESSAGE(mn, code, kind, field, role) &CZorvatMessageSink::On##mn,
#define TB_MESSAGE_GAP(slot) nullptr,
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
};
static_assert(sizeof(s_handlers) / sizeof(s_handlers[0]) == MESSAGE_SLOT_TICK, "one handler per slot");

}  // namespace

CMessageSource::~CMessageSource()
{
    for (int i = 0; i < m_sinks.GetSize(); ++i) {
        CMessageSink* pSink = m_sinks.GetAt(i);
        pSink->m_nId = -1;
        pSink->m_pSource = nullptr;
    }
    for (CWalk* pWalk = m_pWalks; pWalk != nullptr; pWalk = pWalk->pOuter)
        pWalk->bSourceGone = TRUE;
}

int CMessageSource::FindSink(int nId) const
{
    for (int i = 0; i < m_sinks.GetSize(); ++i) {
        if (m_sinks.GetAt(i)->m_nId == nId)
            return i;
    }
    return -1;
}

BOOL CMessageSource::AddSink(CMessageSink* pSink)
{
    if (pSink == nullptr || pSink->m_nId >= 0 || pSink->m_pOwner == nullptr)
        return FALSE;
    // Appended behind every fan-out in progress: it hears the next message, not this one.
    m_sinks.Add(pSink);
    pSink->m_nId = s_nNextSinkId++;
    pSink->m_pSource = this;
    return TRUE;
}

BOOL CMessageSource::RemoveSink(int nId)
{
    const int nIndex = FindSink(nId);
    if (nIndex < 0)
        return FALSE;
    CMessageSink* pSink = m_sinks.GetAt(nIndex);
    m_sinks.RemoveAt(nIndex);
    // The fan-outs in progress go on with the sink that followed the removed one.
    for (CWalk* pWalk = m_pWalks; pWalk != nullptr; pWalk = pWalk->pOuter) {
        if (nIndex < pWalk->nNext)
            --pWalk->nNext;
        if (nIndex < pWalk->nEnd)
            --pWalk->nEnd;
    }
    pSink->m_nId = -1;
    pSink->m_pSource = nullptr;
    OnSinkRemoved(pSink);
    return TRUE;
}

BOOL CMessageSource::SetReceiving(int nId)
{
    const int nIndex = FindSink(nId);
    if (nIndex < 0)
        return FALSE;
    m_sinks.GetAt(nIndex)->m_bReceiving = TRUE;
    return TRUE;
}

BOOL CMessageSource::ClearReceiving(int nId)
{
    const int nIndex = FindSink(nId);
    if (nIndex < 0)
        return FALSE;
    m_sinks.GetAt(nIndex)->m_bReceiving = FALSE;
    return TRUE;
}

BOOL CZorvatMessageSource::SetErrorDictionary(CZorvatErrorDictionary* pErrors)
{
    if (pErrors != nullptr && pErrors->GetSinkRecord()->m_pSource != this)
        return FALSE;
    m_pErrors = pErrors;
    return TRUE;
}

void CZorvatMessageSource::OnSinkRemoved(CMessageSink* pSink)
{
    if (m_pErrors != nullptr && pSink->m_pOwner == m_pErrors)
        m_pErrors = nullptr;
}

BOOL CZorvatMessageSource::FireType(int nType, CServerMessage* pMsg, int nExcludeId)
{
    const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nType);
    if (pInfo == nullptr || pInfo->nSlot == MESSAGE_SLOT_NONE)
        return FALSE;
    const int nFanOut = pInfo->nFanOut;
    if ((nFanOut == FANOUT_REPLY || nFanOut == FANOUT_CHECKED) && IsReplyError(pMsg, pInfo->nErrorField) != 0) {
        // An error reply reaches nobody and leaves the stream state alone, so a table waiting
        // for its reply stays receiving.
        if (m_pErrors != nullptr)
            m_pErrors->ShowReplyError(pMsg, pInfo->nErrorField);
        return TRUE;
    }
    const SinkHandler pfnHandler = s_handlers[pInfo->nSlot];
    if (!Walk(pMsg, nExcludeId, [pMsg, pfnHandler](CZorvatMessageSink* pSink) { (pSink->*pfnHandler)(pMsg); }))
        return TRUE;
    if (nFanOut == FANOUT_REPLY || nFanOut == FANOUT_STREAM)
        m_bRestricted = TRUE;
    return TRUE;
}

void CZorvatMessageSource::FireEN(CServerMessage* pMsg, int nExcludeId)
{
    if (Walk(pMsg, nExcludeId, [pMsg](CZorvatMessageSink* pSink) { pSink->OnEnd(pMsg); }))
        m_bRestricted = FALSE;
}

void CZorvatMessageSource::FireRawLine(CServerMessage* pMsg, int nExcludeId)
{
    Walk(pMsg, nExcludeId, [pMsg](CZorvatMessageSink* pSink) { pSink->OnRecord(pMsg); });
}

void CZorvatMessageSource::FireTick(int nExcludeId)
{
    Walk(nullptr, nExcludeId, [](CZorvatMessageSink* pSink) { pSink->OnTick(); });
}
