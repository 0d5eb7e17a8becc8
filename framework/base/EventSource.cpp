#include "framework/base/EventSource.h"

namespace {
// Ids are never reused, also not across sources, so a stale id can never remove a newer sink.
int s_nNextSinkId = 1;
}  // namespace

CEventSource::~CEventSource()
{
    for (FireFrame* pFrame = m_pFiring; pFrame != nullptr; pFrame = pFrame->pOuter)
        pFrame->bSourceAlive = false;
}

BOOL CEventSource::AddSinkPart(CEventSink* pSink)
{
    if (pSink == nullptr)
        return FALSE;
    for (CEventSink* pRegistered : m_sinks)
        if (pRegistered == pSink)
            return FALSE;
    pSink->m_nSinkId = s_nNextSinkId++;
    m_sinks.Add(pSink);
    return TRUE;
}

BOOL CEventSource::RemoveSink(int nSinkId)
{
    int nSlot = FindSlot(nSinkId);
    if (nSlot < 0)
        return FALSE;
    m_sinks[nSlot]->m_nSinkId = -1;
    // While a fire walks the list by index, closing the gap would shift the next sink onto the
    // index just called, and it would miss the event: leave a hole until the fire is over.
    if (m_pFiring != nullptr) {
        m_sinks[nSlot] = nullptr;
        m_bHoles = true;
    } else {
        m_sinks.RemoveAt(nSlot);
    }
    return TRUE;
}

int CEventSource::GetSinkCount() const
{
    int nCount = 0;
    for (const CEventSink* pSink : m_sinks)
        if (pSink != nullptr)
            ++nCount;
    return nCount;
}

int CEventSource::FindSlot(int nSinkId) const
{
    if (nSinkId < 1)
        return -1;
    for (int i = 0; i < m_sinks.GetSize(); ++i)
        if (m_sinks[i] != nullptr && m_sinks[i]->m_nSinkId == nSinkId)
            return i;
    return -1;
}

void CEventSource::BeginFire(FireFrame& frame)
{
    frame.pOuter = m_pFiring;
    m_pFiring = &frame;
}

void CEventSource::EndFire(FireFrame& frame)
{
    m_pFiring = frame.pOuter;
    if (m_pFiring != nullptr || !m_bHoles)
        return;
    int nKept = 0;
    for (int i = 0; i < m_sinks.GetSize(); ++i)
        if (m_sinks[i] != nullptr)
            m_sinks[nKept++] = m_sinks[i];
    m_sinks.SetSize(nKept);
    m_bHoles = false;
}
