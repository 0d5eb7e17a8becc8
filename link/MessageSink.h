#pragma once
// The receivers of server messages. Every object that consumes messages derives from
// CZorvatMessageSink, overrides the handlers of the types it cares about, states those types
// when it is built and registers its record with the application's message source. The
// handlers are generated from MessageTypeList.h, one per type in slot order; every default
// does nothing.
#include <bitset>
#include <initializer_list>
#include "link/MessageTypes.h"
#include "platform/win/WinTypes.h"

class CServerMessage;
class CMessageSource;
class CZorvatMessageSink;

// The message types a sink takes, by their handler slots. The source files a sink under each
// of them, so that a fan-out walks only the sinks that take its type; "EN", data rows and the
// tick reach every sink whatever it takes.
class CMessageTypeSet
{
public:
    CMessageTypeSet() = default;                        // no type
    CMessageTypeSet(std::initializer_list<int> codes);  // message codes: MSG_GS, MSG_QQ
    static CMessageTypeSet Every();

    // A code without a sink handler ("EN", "BP", one outside the table) is left out.
    void Add(int nCode);
    BOOL HasSlot(int nSlot) const { return nSlot > 0 && nSlot < MESSAGE_SLOT_TICK && m_slots[nSlot]; }
    bool operator==(const CMessageTypeSet&) const = default;

private:
    std::bitset<MESSAGE_SLOT_TICK> m_slots;             // [0] and the gaps stay clear
};

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
    // A sink takes every type unless it says which: each class that overrides handlers states
    // exactly their types (the tests hold every class of the program to that), so that the
    // fan-outs of other types pass it by.
    CZorvatMessageSink() : CZorvatMessageSink(CMessageTypeSet::Every()) {}
    explicit CZorvatMessageSink(const CMessageTypeSet& types) : m_types(types) { m_sink.m_pOwner = this; }
    // A sink still registered when it dies takes itself out, so that no fan-out, not even one
    // running further up the stack, calls it afterwards.
    virtual ~CZorvatMessageSink();
    CZorvatMessageSink(const CZorvatMessageSink&) = delete;
    CZorvatMessageSink& operator=(const CZorvatMessageSink&) = delete;

    CMessageSink* GetSinkRecord() { return &m_sink; }
    int GetSinkId() const { return m_sink.m_nId; }
    // Fixed at construction: the source files the sink by them when it registers.
    const CMessageTypeSet& GetMessageTypes() const { return m_types; }

#define TB_MESSAGE(mn, code, kind, field, role) virtual void On##mn(CServerMessage*) {}
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"

    virtual void OnTick() {}                        // once a second
    virtual void OnRecord(CServerMessage*) {}       // a data row of a reply
    virtual void OnEnd(CServerMessage*) {}          // "EN"
    // An error reply of a type the sink takes, after its text was shown: a sink waiting for
    // that reply can stop waiting. No handler sees the reply itself.
    virtual void OnReplyError(int /*nType*/, CServerMessage*) {}

protected:
    CMessageSink m_sink;

private:
    const CMessageTypeSet m_types;
};
