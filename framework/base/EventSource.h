#pragma once
// The framework's observer: a source keeps its sinks in registration order and a fire calls one
// handler on every sink except the sender. The globals, each table view and each table window
// are sources; their sink interfaces derive from CEventSink.
#include <type_traits>

#include "framework/base/OwnedPtrArray.h"

// The part of a sink object that its source sees: the registration id, unique over the whole
// process, -1 while the sink is not registered.
class CEventSink
{
public:
    int GetSinkId() const { return m_nSinkId; }

protected:
    CEventSink() = default;
    // A copy is a different object: it is not registered anywhere.
    CEventSink(const CEventSink&) : m_nSinkId(-1) {}
    CEventSink& operator=(const CEventSink&) { return *this; }
    ~CEventSink() = default;

private:
    friend class CEventSource;
    int m_nSinkId = -1;
};

// The sink list and the fire loop, common to every kind of source. A handler may add or remove
// sinks of the source that is calling it: a sink added during a fire is called by that fire, a
// sink removed before its turn is not, and removing one never makes the next one miss the event.
// A handler may even destroy the source; the fire then stops.
class CEventSource
{
public:
    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;
    virtual ~CEventSource();     // the sinks are neither deleted nor told

    // Takes out the sink registered under nSinkId; FALSE when there is none. The sink is not told.
    BOOL RemoveSink(int nSinkId);
    int  GetSinkCount() const;

    static const int NO_SENDER = -1;

protected:
    // Appends the sink and gives it the next process-wide id. Refused (FALSE) for a null sink
    // and for one that is already registered here.
    BOOL AddSinkPart(CEventSink* pSink);

    // Calls call(TSink*) on every registered sink whose id is not nSenderId, in order.
    template <class TSink, class TCall>
    void FireEach(int nSenderId, TCall&& call);

private:
    // One per fire in progress, innermost first; lets nested fires and the destructor agree on
    // when the list may be compacted and whether the source still exists.
    struct FireFrame
    {
        FireFrame* pOuter;
        bool bSourceAlive;
    };
    void BeginFire(FireFrame& frame);
    void EndFire(FireFrame& frame);
    int  FindSlot(int nSinkId) const;

    CTBPtrArray<CEventSink> m_sinks;   // not owned; a null slot is a sink removed during a fire
    FireFrame* m_pFiring = nullptr;
    bool m_bHoles = false;
};

template <class TSink, class TCall>
void CEventSource::FireEach(int nSenderId, TCall&& call)
{
    static_assert(std::is_base_of_v<CEventSink, TSink>, "a sink interface derives from CEventSink");
    FireFrame frame{nullptr, true};
    BeginFire(frame);
    struct Guard {
        CEventSource* pSource;
        FireFrame* pFrame;
        ~Guard() { if (pFrame->bSourceAlive) pSource->EndFire(*pFrame); }
    } guard{this, &frame};
    // The length is read at every step so that sinks added by a handler are reached.
    for (int i = 0; i < m_sinks.GetSize(); ++i) {
        CEventSink* pSink = m_sinks[i];
        if (pSink == nullptr || pSink->m_nSinkId == nSenderId)
            continue;
        call(static_cast<TSink*>(pSink));
        if (!frame.bSourceAlive)
            return;
    }
}

// A source whose sinks all implement TSink; derived sources name their fires after the handlers.
template <class TSink>
class CEventSourceT : public CEventSource
{
public:
    BOOL AddSink(TSink* pSink) { return AddSinkPart(pSink); }

protected:
    template <class... TParams, class... TArgs>
    void Fire(int nSenderId, void (TSink::*pfnHandler)(TParams...), const TArgs&... args)
    {
        FireEach<TSink>(nSenderId, [&](TSink* pSink) { (pSink->*pfnHandler)(args...); });
    }
};
