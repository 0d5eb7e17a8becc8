#pragma once
// The end-to-end tests' equipment: the test server started on a free loopback port with a time
// bound and stopped at the end, a bounded pump of the window queue, and a double of the
// application that answers the link's news as the terminal does (hello on ready, the login with
// its credentials, the follow-up requests after a successful login).
#include <functional>
#include <string>
#include <vector>
#include <sys/types.h>
#include "link/AppServices.h"
#include "tools/testserver/client/SimClient.h"
#include "link/CommLink.h"
#include "link/MarketServices.h"
#include "link/RefDataServices.h"

class CMessageDispatcher;

class CTestServer
{
public:
    CTestServer() = default;
    ~CTestServer() { Stop(); }
    CTestServer(const CTestServer&) = delete;
    CTestServer& operator=(const CTestServer&) = delete;
    // Starts tools/testserver with these options (and a run time, an idle time and a log of
    // its own); false when it did not announce its port within ten seconds.
    bool Start(const std::vector<std::string>& options = {});
    void Stop();
    int Port() const { return m_process.Port(); }
    int HttpPort() const { return m_process.HttpPort(); }
    // The lines the server received ("< ...") and sent ("> ..."), in order.
    std::vector<std::string> Log() const;
    std::vector<std::string> Received() const;
private:
    CSimServerProcess m_process;
    std::string m_strLog;
};

// The watch on the window queue, for the whole program: while a pump of these helpers (or one
// that holds a CQueueWatch) waits, a queue that turns no message for the limit (5 s) ends the
// run with the stack of the stuck thread on the error output, so a frozen terminal fails its
// test instead of hanging it. Beat: the queue turned; modal loops turn it through the pump's
// timer too.
class CQueueWatch
{
public:
    CQueueWatch();
    ~CQueueWatch();
    CQueueWatch(const CQueueWatch&) = delete;
    CQueueWatch& operator=(const CQueueWatch&) = delete;
    static void Beat();
    static void SetLimit(int nMs);
};

// Runs the window queue until done() or the time is up; false on time-out.
bool PumpUntil(const std::function<bool()>& done, int nMs = 10000);
void PumpFor(int nMs);

// A settings file in a fresh temporary folder with the "Communication" lines given.
std::string WriteSettings(const std::string& strLines);

class CSessionApp : public IAppServices, public IInfoWindow
{
public:
    ICommLink* GetLink() override { return m_pLink; }
    IInfoWindow* GetInfoWindow() override { return this; }
    ICompactQuoteExpander* GetQuoteExpander() override { return nullptr; }
    void BringInfoWindowToTop(int) override {}
    LPCSTR GetLanguageCode() const override { return "0"; }
    void SetBusy(BOOL) override {}
    void OnLoginReply(CServerMessage* pReply) override;
    void Login() override;
    void OnMessageDR(CServerMessage* pMsg) override;
    void OnConnectionState(int nCode) override;
    void OnCommDestroyed() override { m_pLink = nullptr; Event("link destroyed"); }
    void AddText(LPCSTR pszText) override { Event(std::string("info ") + pszText); }
    void AddResourceText(UINT nId) override { Event("info #" + std::to_string(nId)); }

    bool Has(const std::string& strEvent) const;
    int Count(const std::string& strEvent) const;
    std::string Events() const;

    ICommLink* m_pLink = nullptr;
    CMessageDispatcher* m_pDispatcher = nullptr;
    // The credentials of each login in turn; the last one is used again.
    std::vector<std::pair<std::string, std::string>> m_logins = {{"viewer", "viewer"}};
    std::vector<long> m_followUps;              // the numbers the follow-up requests got
    std::vector<std::string> m_events;
private:
    void Event(const std::string& strEvent) { m_events.push_back(strEvent); }
    size_t m_nLogin = 0;
};

class CSessionRefData : public IRefDataServices
{
public:
    int GetUserRole() const override { return 3; }
    void AcceptPendingText() override {}
    CString GetPaymentModeText(long) const override { return ""; }
    CString GetAccountTypeText(long) const override { return ""; }
};
