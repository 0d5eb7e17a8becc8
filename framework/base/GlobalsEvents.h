#pragma once
// Notifications of the framework globals to the windows that follow them.
#include "framework/base/EventSource.h"

// Handler slots in order; each does nothing unless overridden.
class CGlobalsEventSink : public CEventSink
{
public:
    virtual void OnLayoutChanged(int nLanguage) { (void)nLanguage; }         // reading direction changed
    virtual void OnLanguageChanged(int nLanguage) { (void)nLanguage; }
    virtual void OnFrameColor1Changed(COLORREF crColor) { (void)crColor; }
    virtual void OnFrameColor2Changed(COLORREF crColor) { (void)crColor; }

protected:
    ~CGlobalsEventSink() = default;   // destroyed through the window that implements it
};

class CGlobalsEventSource : public CEventSourceT<CGlobalsEventSink>
{
public:
    // One fire per handler slot, each with its argument and the sender's id (NO_SENDER = all).
    void FireSlot0(int nLanguage, int nSenderId) { Fire(nSenderId, &CGlobalsEventSink::OnLayoutChanged, nLanguage); }
    void FireSlot1(int nLanguage, int nSenderId) { Fire(nSenderId, &CGlobalsEventSink::OnLanguageChanged, nLanguage); }
    void FireSlot2(COLORREF crColor, int nSenderId) { Fire(nSenderId, &CGlobalsEventSink::OnFrameColor1Changed, crColor); }
    void FireSlot3(COLORREF crColor, int nSenderId) { Fire(nSenderId, &CGlobalsEventSink::OnFrameColor2Changed, crColor); }
};
