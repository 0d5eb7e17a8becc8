#pragma once
// The application's list of message sinks and the fan-out of each message type to them, in
// registration order. While a reply stream is open (restricted) only the sinks that marked
// themselves receiving are called, until "EN". Handlers may add and remove sinks, and even
// destroy the source, while a fan-out runs: a sink removed is not called and does not make
// the next one miss the message; a sink added waits for the next message.
#include "link/MessageSink.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "platform/mfc/PtrArray.h"

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
    // is never reused. The others answer FALSE when no record has the id.
    BOOL AddSink(CMessageSink* pSink);
    BOOL RemoveSink(int nId);
    BOOL SetReceiving(int nId);
    BOOL ClearReceiving(int nId);

    BOOL IsRestricted() const { return m_bRestricted; }
    int  GetSinkCount() const { return m_sinks.GetSize(); }

protected:
    virtual void OnSinkRemoved(CMessageSink* /*pSink*/) {}

    // Calls pfnCall on every sink in order, with the filters of a fan-out; a sink for which
    // pfnHandles answers FALSE is passed over without a call. FALSE when the source was
    // destroyed meanwhile: the caller must not touch it then.
    template<class HANDLES, class CALL>
    BOOL Walk(CServerMessage* pMsg, int nExcludeId, HANDLES&& pfnHandles, CALL&& pfnCall);

    BOOL m_bRestricted = FALSE;

private:
    // One fan-out in progress, on its caller's stack; nested fan-outs form a chain.
    struct CWalk {
        CWalk* pOuter;
        int nNext;              // index of the next sink to call
        int nEnd;               // the sinks registered when the fan-out began end here
        BOOL bSourceGone;
    };
    int FindSink(int nId) const;

    CTypedPtrArray<CPtrArray, CMessageSink*> m_sinks;   // not owned
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

template<class HANDLES, class CALL>
BOOL CMessageSource::Walk(CServerMessage* pMsg, int nExcludeId, HANDLES&& pfnHandles, CALL&& pfnCall)
{
    CWalk walk{m_pWalks, 0, m_sinks.GetSize(), FALSE};
    m_pWalks = &walk;
    // No sink sees another sink's overrides. Between two calls one reset does what a reset per
    // sink passed over would, so the sinks passed over cost no call on the message either.
    BOOL bResetDue = FALSE;
    while (walk.nNext < walk.nEnd) {
        CMessageSink* pSink = m_sinks.GetAt(walk.nNext++);
        if (pSink->m_nId == nExcludeId || (m_bRestricted && !pSink->m_bReceiving) || !pfnHandles(pSink->m_pOwner)) {
            bResetDue = TRUE;
            continue;
        }
        if (pMsg != nullptr)
            pMsg->ResetOverrides();
        bResetDue = FALSE;
        pfnCall(pSink->m_pOwner);
        if (walk.bSourceGone)
            return FALSE;
    }
    if (bResetDue && pMsg != nullptr)
        pMsg->ResetOverrides();
    m_pWalks = walk.pOuter;
    return TRUE;
}
