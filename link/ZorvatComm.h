#pragma once
// The program's link window: the direct socket mode over TCP, always encrypted after the "X9" key
// exchange, without checksums, feed expansion or idle watchdog. Every received line goes to the
// dispatcher; the link's status codes and its end go to the application. The dispatcher and the
// application reach it as their ICommLink.
#include "link/CommLink.h"
#include "link/NorvCom.h"

class CMessageDispatcher;
struct IAppServices;

#define ZORVAT_SEND_QUEUE_SIZE 131072
#define ZORVAT_CLIENT_ID 80000

class CZorvatComm : public CNorvCom, public ICommLink
{
public:
    // Neither is owned; both outlive the window (the application holds them for the process).
    CZorvatComm(const CString& strSettingsFile, CMessageDispatcher* pDispatcher, IAppServices* pApp);

    // The window "Terminal", hidden; FALSE when it could not be made.
    BOOL CreateLinkWindow();

    // ICommLink. A line holding CR or LF is refused: the server would read two lines.
    BOOL SendLine(LPCSTR pszLine, long* pnNumber) override;
    BOOL IsConnected() const override { return CNorvCom::IsConnected(); }
    BOOL IsEncryptionOption() const override { return CNorvCom::IsEncryptionOption(); }
    void SetEncryption(BOOL bOn) override { CNorvCom::SetEncryption(bOn); }
    void HoldUntilEncrypted() override { CNorvCom::HoldUntilEncrypted(); }
    BOOL Disconnect(BOOL bKeepResume) override { return CNorvCom::Disconnect(bKeepResume); }
    char* GetSessionKeyBuffer() override { return GetSessionKey(); }

protected:
    void OnLineReceived(const char* pszLine) override;
    void OnCommState(int nCode) override;
    void OnCommDestroy() override;

private:
    CMessageDispatcher* m_pDispatcher;
    IAppServices* m_pApp;
};
