#pragma once
// The receivers of server messages. Every object that consumes messages derives from
// CZorvatMessageSink, overrides the handlers of the types it cares about and registers its
// record with the application's message source. The handlers are generated from
// MessageTypeList.h, one per type in slot order; every default does nothing.
#include "platform/win/WinTypes.h"

class CServerMessage;
class CMessageSource;
class CZorvatMessageSink;

// A sink's registration: id -1 while not registered, else the id the source gave it.
struct CMessageSink
{
    int m_nId = -1;
    BOOL m_bReceiving = FALSE;              // takes the rows of a reply in progress
    CZorvatMessageSink* m_pOwner = nullptr; // the sink this record belongs to
    CMessageSource* m_pSource = nullptr;    // where it is registered, null while it is not
};

class CZorvatMessageSink
{
public:
    CZorvatMessageSink() { m_sink.m_pOwner = this; }
    // A sink still registered when it dies takes itself out, so that no fan-out, not even one
    // running further up the stack, calls it afterwards.
    virtual ~CZorvatMessageSink();
    CZorvatMessageSink(const CZorvatMessageSink&) = delete;
    CZorvatMessageSink& operator=(const CZorvatMessageSink&) = delete;

    CMessageSink* GetSinkRecord() { return &m_sink; }
    int GetSinkId() const { return m_sink.m_nId; }

#define TB_MESSAGE(mn, code, kind, field, role) virtual void On##mn(CServerMessage*) {}
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"

    virtual void OnTick() {}                        // once a second
    virtual void OnRecord(CServerMessage*) {}       // a data row of a reply
    virtual void OnEnd(CServerMessage*) {}          // "EN"

protected:
    CMessageSink m_sink;
};
