#include "link/MessageSource.h"

#include <algorithm>
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
    for (CMessageSink* pSink : m_sinks) {
        pSink->m_nId = -1;
        pSink->m_pSource = nullptr;
    }
    for (CWalk* pWalk = m_pWalks; pWalk != nullptr; pWalk = pWalk->pOuter)
        pWalk->bSourceGone = TRUE;
}

int CMessageSource::FindSink(int nId) const
{
    for (size_t i = 0; i < m_sinks.size(); ++i) {
        if (m_sinks[i]->m_nId == nId)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CMessageSource::AddSink(CMessageSink* pSink)
{
    if (pSink == nullptr || pSink->m_nId >= 0 || pSink->m_pOwner == nullptr)
        return FALSE;
    // Appended behind every fan-out in progress: it hears the next message, not this one.
    m_sinks.push_back(pSink);
    const CMessageTypeSet& types = pSink->m_pOwner->GetMessageTypes();
    for (int nSlot = 1; nSlot < MESSAGE_SLOT_TICK; ++nSlot) {
        if (types.HasSlot(nSlot))
            m_takers[nSlot].push_back(pSink);
    }
    pSink->m_nId = s_nNextSinkId++;
    pSink->m_pSource = this;
    return TRUE;
}

BOOL CMessageSource::RemoveSink(int nId)
{
    const int nIndex = FindSink(nId);
    if (nIndex < 0)
        return FALSE;
    CMessageSink* pSink = m_sinks[nIndex];
    const CMessageTypeSet& types = pSink->m_pOwner->GetMessageTypes();
    for (int nSlot = 1; nSlot < MESSAGE_SLOT_TICK; ++nSlot) {
        if (types.HasSlot(nSlot))
            Unlist(m_takers[nSlot], pSink);
    }
    Unlist(m_sinks, pSink);
    for (CWalk* pWalk = m_pWalks; pWalk != nullptr; pWalk = pWalk->pOuter) {
        if (nIndex < pWalk->nAllEnd)
            --pWalk->nAllEnd;
    }
    pSink->m_nId = -1;
    pSink->m_pSource = nullptr;
    OnSinkRemoved(pSink);
    return TRUE;
}

void CMessageSource::Unlist(CSinkList& list, const CMessageSink* pSink)
{
    const auto it = std::find(list.begin(), list.end(), pSink);
    if (it == list.end())
        return;
    const int nIndex = static_cast<int>(it - list.begin());
    list.erase(it);
    // The fan-outs in progress go on with the sink that followed the removed one.
    for (CWalk* pWalk = m_pWalks; pWalk != nullptr; pWalk = pWalk->pOuter) {
        if (pWalk->pList != &list)
            continue;
        if (nIndex < pWalk->nNext)
            --pWalk->nNext;
        if (nIndex < pWalk->nEnd)
            --pWalk->nEnd;
    }
}

BOOL CMessageSource::SetReceiving(int nId)
{
    const int nIndex = FindSink(nId);
    if (nIndex < 0)
        return FALSE;
    m_sinks[nIndex]->m_bReceiving = TRUE;
    return TRUE;
}

BOOL CMessageSource::ClearReceiving(int nId)
{
    const int nIndex = FindSink(nId);
    if (nIndex < 0)
        return FALSE;
    m_sinks[nIndex]->m_bReceiving = FALSE;
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
        Walk(pInfo->nSlot, pMsg, nExcludeId, [nType, pMsg](CZorvatMessageSink* pSink) { pSink->OnReplyError(nType, pMsg); });
        return TRUE;
    }
    const SinkHandler pfnHandler = s_handlers[pInfo->nSlot];
    if (!Walk(pInfo->nSlot, pMsg, nExcludeId, [pMsg, pfnHandler](CZorvatMessageSink* pSink) { (pSink->*pfnHandler)(pMsg); }))
        return TRUE;
    if (nFanOut == FANOUT_REPLY || nFanOut == FANOUT_STREAM)
        m_bRestricted = TRUE;
    return TRUE;
}

void CZorvatMessageSource::FireEN(CServerMessage* pMsg, int nExcludeId)
{
    if (Walk(MESSAGE_SLOT_END, pMsg, nExcludeId, [pMsg](CZorvatMessageSink* pSink) { pSink->OnEnd(pMsg); }))
        m_bRestricted = FALSE;
}

void CZorvatMessageSource::FireRawLine(CServerMessage* pMsg, int nExcludeId)
{
    Walk(MESSAGE_SLOT_RECORD, pMsg, nExcludeId, [pMsg](CZorvatMessageSink* pSink) { pSink->OnRecord(pMsg); });
}

void CZorvatMessageSource::FireTick(int nExcludeId)
{
    Walk(MESSAGE_SLOT_TICK, nullptr, nExcludeId, [](CZorvatMessageSink* pSink) { pSink->OnTick(); });
}
