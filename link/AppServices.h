#pragma once
// What the link and the routing of messages need of the application: its connection callbacks,
// the login, the information window, the busy flag and the services they reach through it.
// The application implements it. Anything it returns may be gone after a call that can run a
// nested message loop (the login dialog runs modally inside the link's read handler), so
// callers ask again instead of keeping what they got.
#include "platform/win/WinTypes.h"

class CServerMessage;
struct ICommLink;
struct IInfoWindow;
struct ICompactQuoteExpander;

struct IAppServices
{
    virtual ~IAppServices() = default;

    // Services, each null while it does not exist.
    virtual ICommLink* GetLink() = 0;
    virtual IInfoWindow* GetInfoWindow() = 0;
    virtual ICompactQuoteExpander* GetQuoteExpander() = 0;

    // Raises the information window unless the user's level is above nPriority (1 for
    // confirmations, 2 for errors).
    virtual void BringInfoWindowToTop(int nPriority) = 0;
    // "0" for the English user interface, "1" for Arabic.
    virtual LPCSTR GetLanguageCode() const = 0;
    // The busy flag, with the wait cursor while it is set.
    virtual void SetBusy(BOOL bBusy) = 0;

    // The session.
    virtual void OnLoginReply(CServerMessage* pReply) = 0;     // the "UL" reply, before its fan-out
    virtual void Login() = 0;                                   // the modal login dialog, then "UL"
    virtual void OnMessageDR(CServerMessage* pMsg) = 0;        // after the "DR" fan-out
    virtual void OnInitialLoadDone() {}                         // once a session, after its line

    // The link's callbacks: its status code (COMM_STATE_ of CommLink.h) and its end.
    virtual void OnConnectionState(int nCode) = 0;
    virtual void OnCommDestroyed() = 0;
};
