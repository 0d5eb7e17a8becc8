#include "link/MessageSink.h"

#include "link/MessageSource.h"

CMessageTypeSet::CMessageTypeSet(std::initializer_list<int> codes)
{
    for (int nCode : codes)
        Add(nCode);
}

CMessageTypeSet CMessageTypeSet::Every()
{
    static const CMessageTypeSet s_every = [] {
        CMessageTypeSet types;
#define TB_MESSAGE(mn, code, kind, field, role) types.m_slots.set(MESSAGE_SLOT_##mn);
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
        return types;
    }();
    return s_every;
}

void CMessageTypeSet::Add(int nCode)
{
    const MESSAGE_TYPE_INFO* pInfo = GetMessageTypeInfo(nCode);
    if (pInfo != nullptr && pInfo->nSlot != MESSAGE_SLOT_NONE)
        m_slots.set(static_cast<size_t>(pInfo->nSlot));
}

CZorvatMessageSink::~CZorvatMessageSink()
{
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->RemoveSink(m_sink.m_nId);
}
