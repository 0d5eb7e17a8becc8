#pragma once
// Test doubles of the services the routing of messages stands on, all writing into one event
// log, so that a test sees the order in which link, application and sinks were called.
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "link/AppServices.h"
#include "link/CommLink.h"
#include "link/MarketServices.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "platform/win/kernel/Resources.h"

using CEventLog = std::vector<std::string>;

// The link: records the lines sent and numbers the request lines.
class CFakeLink : public ICommLink
{
public:
    explicit CFakeLink(CEventLog* pLog) : m_pLog(pLog) {}
    BOOL SendLine(LPCSTR pszLine, long* pnNumber) override
    {
        m_sent.push_back(pszLine);
        m_pLog->push_back(std::string("send ") + pszLine);
        *pnNumber = (pszLine[0] == '&' || pszLine[0] == '^') ? m_nNextNumber++ : 0;
        return TRUE;
    }
    BOOL IsConnected() const override { return m_bConnected; }
    BOOL IsEncryptionOption() const override { return m_bEncryptionOption; }
    void SetEncryption(BOOL bOn) override { m_pLog->push_back(bOn ? "encryption on" : "encryption off"); m_bEncrypted = bOn; }
    BOOL Disconnect(BOOL) override { m_pLog->push_back("disconnect"); m_bConnected = FALSE; return TRUE; }
    char* GetSessionKeyBuffer() override { return m_szKey; }

    std::vector<std::string> m_sent;
    BOOL m_bConnected = TRUE, m_bEncryptionOption = TRUE, m_bEncrypted = FALSE;
    long m_nNextNumber = 1;
    char m_szKey[SESSION_KEY_BUFFER_SIZE] = {};
private:
    CEventLog* m_pLog;
};

// The application with its information window; the login may run a nested loop (m_onLogin).
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
    void OnLoginReply(CServerMessage* pReply) override { Log(std::string("login reply ") + pReply->GetFieldText(1)); }
    void Login() override
    {
        Log("login");
        if (m_onLogin)
            m_onLogin();
    }
    void OnMessageDR(CServerMessage* pMsg) override { Log(std::string("app DR ") + pMsg->GetFieldText(0)); }
    void OnConnectionState(int nCode) override { Log("state " + std::to_string(nCode)); }
    void OnCommDestroyed() override { Log("link destroyed"); }
    void AddText(LPCSTR pszText) override { Log(std::string("info ") + pszText); }
    void AddResourceText(UINT nId) override { Log("info #" + std::to_string(nId)); }

    ICommLink* m_pLink = nullptr;
    ICompactQuoteExpander* m_pExpander = nullptr;
    LPCSTR m_pszLanguage = "0";
    std::function<void()> m_onLogin;
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
    CString GetPaymentModeText(long nCode) const override { return nCode == 3 ? "Cheque" : "?"; }
    CString GetAccountTypeText(long nCode) const override { return nCode == 2 ? "Margin" : "?"; }
    int m_nRole = 3;
private:
    CEventLog* m_pLog;
};

// A sink that logs every handler call as "<name> <handler> <field 0>", then runs its hook. It
// takes every type unless told which.
class CRecordingSink : public CZorvatMessageSink
{
public:
    CRecordingSink(const char* pszName, CEventLog* pLog, const CMessageTypeSet& types = CMessageTypeSet::Every())
        : CZorvatMessageSink(types), m_strName(pszName), m_pLog(pLog)
    {
    }
#define TB_MESSAGE(mn, code, kind, field, role) \
    void On##mn(CServerMessage* pMsg) override { Record("On" #mn, pMsg); }
#define TB_MESSAGE_GAP(slot)
#define TB_MESSAGE_NOSINK(mn, code)
#include "link/MessageTypeList.h"
    void OnTick() override { Record("OnTick", nullptr); }
    void OnRecord(CServerMessage* pMsg) override { Record("OnRecord", pMsg); }
    void OnEnd(CServerMessage* pMsg) override { Record("OnEnd", pMsg); }

    std::function<void(CRecordingSink*, const std::string&, CServerMessage*)> m_hook;   // may delete the sink
private:
    void Record(const std::string& handler, CServerMessage* pMsg)
    {
        m_pLog->push_back(m_strName + " " + handler + (pMsg ? std::string(" ") + pMsg->GetFieldOrOverrideText(0) : ""));
        if (auto hook = m_hook)     // a copy: the hook may destroy this sink and m_hook with it
            hook(this, handler, pMsg);
    }
    std::string m_strName;
    CEventLog* m_pLog;
};

// What the application's start-up does before the first line: the message codes and the
// English language library as the resource module.
inline void RegisterCodesForTest()
{
    RegisterMessageCodes(g_messageCodePairs);
    static const HMODULE s_hLanguage = [] {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        HMODULE hModule = LoadLibraryA("_1252.dll");
        TbSetResourceModule(hModule);
        return hModule;
    }();
    (void)s_hLanguage;
}

// Routes a line to its fan-out as the dispatcher would, without the dispatcher's own steps.
inline void FireLine(CZorvatMessageSource& source, const char* pszLine)
{
    CServerMessage msg(pszLine, 1);
    if (msg.GetType() == MSG_EN)
        source.FireEN(&msg, -1);
    else if (msg.GetType() == MESSAGE_TYPE_DATA_ROW)
        source.FireRawLine(&msg, -1);
    else
        source.FireType(msg.GetType(), &msg, -1);
}

// The log joined and emptied: "a; b; c" (lines sent hold '|' themselves).
inline std::string Take(CEventLog& log)
{
    std::string s;
    for (size_t i = 0; i < log.size(); ++i)
        s += (i ? "; " : "") + log[i];
    log.clear();
    return s;
}
