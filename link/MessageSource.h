#pragma once
// The application's list of message sinks and the fan-out of each message type to them, in
// registration order. Each type keeps its own list of the sinks that take it, so a fan-out
// walks only those; "EN", data rows and the tick walk every sink. While a reply stream is open
// (restricted) only the sinks that marked themselves receiving are called, until "EN".
// Handlers may add and remove sinks, and even destroy the source, while a fan-out runs: a sink
// removed is not called and does not make the next one miss the message; a sink added waits
// for the next message.
#include <vector>
#include "link/MessageSink.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"

class CZorvatErrorDictionary;

class CMessageSource
{
public:
    CMessageSource() = default;
    // Unregisters every record (ids back to -1) and ends the fan-outs in progress.
    virtual ~CMessageSource();
    CMessageSource(const CMessageSource&) = delete;
    CMessageSource& operator=(const CMessageSource&) = delete;

    // Registration. AddSink refuses a null record, one that is registered already (id not
    // negative) or one without its sink; it gives a fresh id from a process-wide counter that
    // is never reused, and files the sink under every type it takes. The others answer FALSE
    // when no record has the id.
    BOOL AddSink(CMessageSink* pSink);
    BOOL RemoveSink(int nId);
    BOOL SetReceiving(int nId);
    BOOL ClearReceiving(int nId);

    BOOL IsRestricted() const { return m_bRestricted; }
    int  GetSinkCount() const { return static_cast<int>(m_sinks.size()); }

protected:
    virtual void OnSinkRemoved(CMessageSink* /*pSink*/) {}

    // Calls pfnCall, with the filters of a fan-out, on the sinks that take the type of a handler
    // slot (1 to 254) in order; on every sink for the tick, a data row and "EN" (the slots from
    // MESSAGE_SLOT_TICK on). FALSE when the source was destroyed meanwhile: the caller must not
    // touch it then.
    template<class CALL>
    BOOL Walk(int nSlot, CServerMessage* pMsg, int nExcludeId, CALL&& pfnCall);

    BOOL m_bRestricted = FALSE;

private:
    using CSinkList = std::vector<CMessageSink*>;   // not owned, in registration order
    // One fan-out in progress, on its caller's stack; nested fan-outs form a chain.
    struct CWalk {
        CWalk* pOuter;
        const CSinkList* pList; // the sinks it walks
        int nNext;              // index in pList of the next sink to call
        int nEnd;               // the sinks of pList registered when the fan-out began end here
        int nAllEnd;            // the same in m_sinks
        BOOL bSourceGone;
    };
    int FindSink(int nId) const;
    CSinkList& ListOf(int nSlot) { return nSlot > 0 && nSlot < MESSAGE_SLOT_TICK ? m_takers[nSlot] : m_sinks; }
    // Takes the sink out of a list, and the fan-outs walking it on with the sink that followed.
    void Unlist(CSinkList& list, const CMessageSink* pSink);

    CSinkList m_sinks;                          // every sink
    CSinkList m_takers[MESSAGE_SLOT_TICK];      // the sinks that take each slot's type
    CWalk* m_pWalks = nullptr;
};

class CZorvatMessageSource : public CMessageSource
{
public:
    // The error dictionary shows the text of an error reply in place of the fan-out. It must
    // be registered here as a sink; removing it unhooks it. FALSE when it is not registered.
    BOOL SetErrorDictionary(CZorvatErrorDictionary* pErrors);

    // The fan-out of a type with a sink handler: the error check where the type has one, every
    // sink's handler, then the reply stream opened where the type opens one. FALSE, and
    // nothing done, for a type without a handler.
    BOOL FireType(int nType, CServerMessage* pMsg, int nExcludeId);
#define TB_MESSAGE(mn, code, kind, field, role) \
    void Fire##mn(CServerMessage* pMsg, int nExcludeId) { FireType(code, pMsg, nExcludeId); }
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"

    void FireEN(CServerMessage* pMsg, int nExcludeId);         // OnEnd, then the stream is closed
    void FireRawLine(CServerMessage* pMsg, int nExcludeId);    // OnRecord
    void FireTick(int nExcludeId);                              // OnTick, once a second

protected:
    void OnSinkRemoved(CMessageSink* pSink) override;

private:
    CZorvatErrorDictionary* m_pErrors = nullptr;    // a registered sink, not owned
};

template<class CALL>
BOOL CMessageSource::Walk(int nSlot, CServerMessage* pMsg, int nExcludeId, CALL&& pfnCall)
{
    const CSinkList& list = ListOf(nSlot);
    CWalk walk{m_pWalks, &list, 0, static_cast<int>(list.size()), static_cast<int>(m_sinks.size()), FALSE};
    m_pWalks = &walk;
    int nLastCalledId = 0;
    while (walk.nNext < walk.nEnd) {
        CMessageSink* pSink = list[walk.nNext++];
        if (pSink->m_nId == nExcludeId || (m_bRestricted && !pSink->m_bReceiving))
            continue;
        // No sink sees another sink's overrides.
        if (pMsg != nullptr)
            pMsg->ResetOverrides();
        nLastCalledId = pSink->m_nId;
        pfnCall(pSink->m_pOwner);
        if (walk.bSourceGone)
            return FALSE;
    }
    m_pWalks = walk.pOuter;
    // As if each sink had been reset for, called or passed by: the last one's overrides stay
    // only when no sink registered after it (ids grow in registration order) is left of those
    // the fan-out began with.
    if (pMsg != nullptr && walk.nAllEnd > 0 && m_sinks[walk.nAllEnd - 1]->m_nId > nLastCalledId)
        pMsg->ResetOverrides();
    return TRUE;
}
