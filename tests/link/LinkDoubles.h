#pragma once
// Test doubles of the services the routing of messages stands on, all writing into one event
// log, so that a test can see the order in which link, application and sinks were called.
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "link/AppServices.h"
#include "link/CommLink.h"
#include "link/MarketServices.h"
#include "link/MessageSink.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "link/ServerMessage.h"
#include "platform/win/kernel/Resources.h"

using CEventLog = std::vector<std::string>;

// The link: records every line sent and numbers the request lines as the real link does.
class CFakeLink : public ICommLink
{
public:
    explicit CFakeLink(CEventLog* pLog) : m_pLog(pLog) {}
    BOOL SendLine(LPCSTR pszLine, long* pnNumber) override
    {
        const std::string line(pszLine);
        if (line.find_first_of("\r\n") != std::string::npos)
            return FALSE;
        m_sent.push_back(line);
        m_pLog->push_back("send " + line);
        *pnNumber = (line[0] == '&' || line[0] == '^') ? m_nNextNumber++ : 0;
        return TRUE;
    }
    BOOL IsConnected() const override { return m_bConnected; }
    BOOL IsEncryptionOption() const override { return m_bEncryptionOption; }
    void SetEncryption(BOOL bOn) override
    {
        m_bEncrypted = bOn;
        m_pLog->push_back(bOn ? "encryption on" : "encryption off");
    }
    BOOL Disconnect(BOOL bKeepResume) override
    {
        m_pLog->push_back(bKeepResume ? "disconnect keep" : "disconnect");
        const BOOL bWas = m_bConnected;
        m_bConnected = FALSE;
        return bWas;
    }
    char* GetSessionKeyBuffer() override { return m_szKey; }

    std::vector<std::string> m_sent;
    BOOL m_bConnected = TRUE;
    BOOL m_bEncryptionOption = TRUE;
    BOOL m_bEncrypted = FALSE;
    long m_nNextNumber = 1;
    char m_szKey[SESSION_KEY_BUFFER_SIZE] = {};

private:
    CEventLog* m_pLog;
};

// The application with its information window.
class CFakeApp : public IAppServices, public IInfoWindow
{
public:
    explicit CFakeApp(CEventLog* pLog) : m_pLog(pLog) {}
    ICommLink* GetLink() override { return m_pLink; }
    IInfoWindow* GetInfoWindow() override { return this; }
    ICompactQuoteExpander* GetQuoteExpander() override { return m_pExpander; }
    void BringInfoWindowToTop(int nPriority) override { Log("top " + std::to_string(nPriority)); }
    LPCSTR GetLanguageCode() const override { return m_pszLanguage; }
    void SetBusy(BOOL bBusy) override { Log(bBusy ? "busy" : "idle"); }
    void OnLoginReply(CServerMessage* pReply) override
    {
        Log(std::string("login reply ") + pReply->GetFieldText(1));
        if (m_onLoginReply)
            m_onLoginReply();
    }
    void Login() override
    {
        Log("login");
        if (m_onLogin)
            m_onLogin();
    }
    void OnMessageDR(CServerMessage* pMsg) override { Log("app DR " + std::string(pMsg->GetFieldText(0))); }
    void OnConnectionState(int nCode) override { Log("state " + std::to_string(nCode)); }
    void OnCommDestroyed() override { Log("link destroyed"); }
    void AddText(LPCSTR pszText) override { Log(std::string("info ") + pszText); }
    void AddResourceText(UINT nId) override { Log("info #" + std::to_string(nId)); }

    ICommLink* m_pLink = nullptr;
    ICompactQuoteExpander* m_pExpander = nullptr;
    LPCSTR m_pszLanguage = "0";
    std::function<void()> m_onLogin;        // runs inside the modal login
    std::function<void()> m_onLoginReply;

private:
    void Log(const std::string& event) { m_pLog->push_back(event); }
    CEventLog* m_pLog;
};

class CFakeRefData : public IRefDataServices
{
public:
    explicit CFakeRefData(CEventLog* pLog) : m_pLog(pLog) {}
    int GetUserRole() const override { return m_nRole; }
    void AcceptPendingText() override { m_pLog->push_back("pending text accepted"); }
    CString GetPaymentModeText(long nCode) const override { return Lookup(m_paymentModes, nCode); }
    CString GetAccountTypeText(long nCode) const override { return Lookup(m_accountTypes, nCode); }

    int m_nRole = 3;
    std::map<long, std::string> m_paymentModes;
    std::map<long, std::string> m_accountTypes;

private:
    static CString Lookup(const std::map<long, std::string>& texts, long nCode)
    {
        auto it = texts.find(nCode);
        if (it != texts.end())
            return CString(it->second.c_str());
        CString str;
        str.Format("%ld", nCode);
        return str;
    }
    CEventLog* m_pLog;
};

// A sink that logs every handler call as "<name> <handler> <field 0>" and can run a hook.
class CRecordingSink : public CZorvatMessageSink
{
public:
    CRecordingSink(const char* pszName, CEventLog* pLog) : m_strName(pszName), m_pLog(pLog) {}

#define TB_MESSAGE(mn, code, kind, field, role) \
    void On##mn(CServerMessage* pMsg) override { Record("On" #mn, pMsg); }
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
    void OnTick() override { Record("OnTick", nullptr); }
    void OnRecord(CServerMessage* pMsg) override { Record("OnRecord", pMsg); }
    void OnEnd(CServerMessage* pMsg) override { Record("OnEnd", pMsg); }

    // Runs after the call is logged; may delete this sink.
    std::function<void(CRecordingSink*, const std::string&, CServerMessage*)> m_hook;

private:
    void Record(const std::string& handler, CServerMessage* pMsg)
    {
        std::string event = m_strName + " " + handler;
        if (pMsg != nullptr)
            event += std::string(" ") + pMsg->GetFieldOrOverrideText(0);
        m_pLog->push_back(event);
        if (m_hook) {
            auto hook = m_hook;     // the hook may destroy this sink and with it m_hook
            hook(this, handler, pMsg);
        }
    }
    std::string m_strName;
    CEventLog* m_pLog;
};

// What the application's start-up does before the first line: the message codes and the
// English language library as the resource module. Safe to call for every test.
inline void RegisterCodesForTest()
{
    RegisterMessageCodes(g_messageCodePairs);
    static HMODULE s_hLanguage = [] {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        HMODULE hModule = LoadLibraryA("_1252.dll");
        TbSetResourceModule(hModule);
        return hModule;
    }();
    (void)s_hLanguage;
}

// "a|b|c" from a log, for compact expectations.
inline std::string Joined(const CEventLog& log, const char* pszSeparator = "|")
{
    std::string s;
    for (size_t i = 0; i < log.size(); ++i)
        s += (i ? pszSeparator : "") + log[i];
    return s;
}
