#include "link/MessageSink.h"

#include "link/MessageSource.h"

CZorvatMessageSink::~CZorvatMessageSink()
{
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->RemoveSink(m_sink.m_nId);
}
