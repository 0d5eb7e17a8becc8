#pragma once
// The link to the trading server as the dispatcher and the application use it. The link window
// implements it; the application hands it out while it exists.
#include "platform/win/WinTypes.h"

// Status codes the link reports to the application's connection-state handler.
#define COMM_STATE_READY (-5)           // connected: the application answers with its hello
#define COMM_STATE_LOST 599             // the connection is gone; 501 to 598 are errors by string id

#define SESSION_KEY_BUFFER_SIZE 33      // 32 hexadecimal characters and a NUL

struct ICommLink
{
    virtual ~ICommLink() = default;

    // Numbers and sends one line (without its LF). TRUE when it went out, with the number the
    // link gave it in *pnNumber (0 for lines that carry none). A line holding CR or LF is
    // refused: it would reach the server as two lines.
    virtual BOOL SendLine(LPCSTR pszLine, long* pnNumber) = 0;
    virtual BOOL IsConnected() const = 0;
    // The encryption option: the key exchange runs after the hello while it is on.
    virtual BOOL IsEncryptionOption() const = 0;
    // Switches the cipher on or off. Called while the line that accepted the key is being
    // delivered: the bytes that follow that line, including those already read in the same
    // chunk but not yet cut into lines, are deciphered.
    virtual void SetEncryption(BOOL bOn) = 0;
    // The session key is out: what is sent from here waits until the cipher is switched on.
    virtual void HoldUntilEncrypted() {}
    // Closes the connection without reporting a status; the resume number is kept only with
    // bKeepResume. FALSE when the link was not connected.
    virtual BOOL Disconnect(BOOL bKeepResume) = 0;
    // The session key: SESSION_KEY_BUFFER_SIZE bytes that the key exchange fills.
    virtual char* GetSessionKeyBuffer() = 0;
};
