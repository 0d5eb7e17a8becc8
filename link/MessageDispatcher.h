#pragma once
// The dispatcher of received lines: the link hands it every complete line; it parses the line,
// runs the steps of the connection and the login itself (hello, key exchange, login reply) and
// fans every other type out to the registered sinks. It sends its requests through the link.
//
// It is re-entrant: the login dialog runs modally inside it, and the lines that arrive
// meanwhile are dispatched by nested calls. It never keeps the link or the information window
// across such a call, and a dispatch whose dispatcher was destroyed meanwhile returns at once.
#include "link/ServerMessage.h"
#include "platform/mfc/String.h"

class CZorvatMessageSource;
class CZorvatErrorDictionary;
struct IAppServices;
struct IRefDataServices;

// The values of the hello reply ("VC").
struct CONNECTION_VALUES
{
    long nValue2 = 0;                   // field 2
    CString strText5;                   // field 5
    long nValue1 = 0;                   // field 1
    long nValue4 = 0;                   // field 4
    BOOL bSameVersion = FALSE;          // fields 1 and 4 are equal
};

// SendRequest's answer for a line it refuses to send.
#define SEND_REFUSED (-1)

class CMessageDispatcher
{
public:
    // Nothing is owned; all four must outlive the dispatcher.
    CMessageDispatcher(CZorvatMessageSource* pSource, CZorvatErrorDictionary* pErrors, IAppServices* pApp,
                       IRefDataServices* pRefData);
    ~CMessageDispatcher();
    CMessageDispatcher(const CMessageDispatcher&) = delete;
    CMessageDispatcher& operator=(const CMessageDispatcher&) = delete;

    // One received line, on the user-interface thread.
    void OnServerMessage(LPCSTR pszLine);

    // Sends a request line while the link exists and is connected: the number the link gave
    // it, or 0 (nothing sent, or a line that carries no number). A line holding CR or LF is
    // never sent: SEND_REFUSED.
    long SendRequest(LPCSTR pszLine);
    // The mode-1 request line of a type with a body, sent as above.
    long SendRequest(int nType, LPCSTR pszBody);

    // Session state kept for the application. While the hold flag is set every line is
    // dropped unread.
    void SetHold(BOOL bHold) { m_bHold = bHold; }
    BOOL IsHeld() const { return m_bHold; }
    int  GetLastType() const { return m_nLastType; }        // of the last typed line dispatched
    void SetAwaitedType(int nType) { m_nAwaitedType = nType; }
    int  GetAwaitedType() const { return m_nAwaitedType; }
    // Set by the "EN" that closes a stream the awaited reply type opened, whatever live lines
    // came in between; the application clears it for a new session.
    BOOL IsInitialLoadDone() const { return m_bInitialLoad; }
    void ResetInitialLoad() { m_bInitialLoad = FALSE; }
    const CONNECTION_VALUES& GetConnectionValues() const { return m_connection; }

private:
    // A dispatch in progress, on its caller's stack; the destructor marks them all.
    struct CDispatch {
        CDispatch* pOuter;
        BOOL bGone;
    };
    void Dispatch(CServerMessage& msg, CDispatch& frame);
    void OnHelloReply(CServerMessage& msg, CDispatch& frame);
    void OnKeyExchange(CServerMessage& msg);
    void SendSessionKey(const CServerMessage& msg);
    void FailKeyExchange();
    void StartSession();
    void ShowResourceText(UINT nId, int nPriority);
    void ShowConfirmation(long nNumber);

    CZorvatMessageSource* m_pSource;
    CZorvatErrorDictionary* m_pErrors;
    IAppServices* m_pApp;
    IRefDataServices* m_pRefData;
    CDispatch* m_pDispatches = nullptr;

    BOOL m_bHold = FALSE;
    int  m_nLastType = MESSAGE_TYPE_UNKNOWN;
    int  m_nAwaitedType = MESSAGE_TYPE_UNKNOWN;
    int  m_nStreamType = MESSAGE_TYPE_UNKNOWN;  // the type whose reply stream is open
    BOOL m_bInitialLoad = FALSE;
    BOOL m_bKeySent = FALSE;            // our session key is out, its accept is awaited
    CONNECTION_VALUES m_connection;
};
