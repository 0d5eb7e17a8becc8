#include "link/MessageSource.h"

#include "link/ErrorDictionary.h"
#include "link/SinkHandlers.h"

namespace {

// Ids are never reused, so a stale id can never reach another sink.
int s_nNextSinkId = 1;

BOOL HandlesAll(const CZorvatMessageSink*)
{
    return TRUE;
}

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
    const SinkHandler pfnHandler = GetSinkHandler(pInfo->nSlot);
    const CDefaultHandler& def = GetDefaultHandler(pInfo->nSlot);
    if (!Walk(
            pMsg, nExcludeId, [&def](const CZorvatMessageSink* pSink) { return !def.IsDefaultIn(pSink); },
            [pMsg, pfnHandler](CZorvatMessageSink* pSink) { (pSink->*pfnHandler)(pMsg); }))
        return TRUE;
    if (nFanOut == FANOUT_REPLY || nFanOut == FANOUT_STREAM)
        m_bRestricted = TRUE;
    return TRUE;
}

void CZorvatMessageSource::FireEN(CServerMessage* pMsg, int nExcludeId)
{
    if (Walk(pMsg, nExcludeId, HandlesAll, [pMsg](CZorvatMessageSink* pSink) { pSink->OnEnd(pMsg); }))
        m_bRestricted = FALSE;
}

void CZorvatMessageSource::FireRawLine(CServerMessage* pMsg, int nExcludeId)
{
    Walk(pMsg, nExcludeId, HandlesAll, [pMsg](CZorvatMessageSink* pSink) { pSink->OnRecord(pMsg); });
}

void CZorvatMessageSource::FireTick(int nExcludeId)
{
    Walk(nullptr, nExcludeId, HandlesAll, [](CZorvatMessageSink* pSink) { pSink->OnTick(); });
}
