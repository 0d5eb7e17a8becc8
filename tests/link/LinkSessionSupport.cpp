#include "LinkSessionSupport.h"
#include <stdlib.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include "link/MessageDispatcher.h"
#include "link/ServerMessage.h"
#include "platform/win/user/Message.h"

bool CTestServer::Start(const std::vector<std::string>& options)
{
    char szDir[] = "/tmp/tb-link-server-XXXXXX";
    if (!mkdtemp(szDir))
        return false;
    m_strLog = std::string(szDir) + "/server.log";
    std::vector<std::string> args = {"--run-time", "60", "--idle-time", "20", "--log", m_strLog};
    args.insert(args.end(), options.begin(), options.end());
    return m_process.Start(TB_BINARY_DIR "/tools/testserver/testserver", args);
}

void CTestServer::Stop()
{
    m_process.Stop();
}

std::vector<std::string> CTestServer::Log() const
{
    std::vector<std::string> lines;
    std::ifstream in(m_strLog);
    std::string line;
    // A last line without its newline is still being written: it is read next time.
    while (std::getline(in, line) && !in.eof())
        lines.push_back(line);
    return lines;
}

std::vector<std::string> CTestServer::Received() const
{
    std::vector<std::string> lines;
    for (const std::string& line : Log())
        if (line.rfind("< ", 0) == 0)
            lines.push_back(line.substr(2));
    return lines;
}

bool PumpUntil(const std::function<bool()>& done, int nMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    // A thread timer ends every wait soon, so the condition is looked at often.
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, nullptr);
    bool bDone = done();
    MSG msg;
    while (!bDone && std::chrono::steady_clock::now() < end && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        bDone = done();
    }
    KillTimer(nullptr, nTimer);
    return bDone;
}

void PumpFor(int nMs)
{
    PumpUntil([] { return false; }, nMs);
}

std::string WriteSettings(const std::string& strLines)
{
    char szDir[] = "/tmp/tb-link-settings-XXXXXX";
    if (!mkdtemp(szDir))
        return "";
    const std::string strPath = std::string(szDir) + "/settings.ini";
    std::ofstream out(strPath);
    out << "[Communication]\n" << strLines;
    return strPath;
}

void CSessionApp::OnConnectionState(int nCode)
{
    Event("state " + std::to_string(nCode));
    // Ready: the hello, as the application sends it.
    if (nCode == COMM_STATE_READY && m_pDispatcher)
        m_pDispatcher->SendRequest(MSG_VC, "0|80000");
}

void CSessionApp::Login()
{
    const auto& login = m_logins[std::min(m_nLogin, m_logins.size() - 1)];
    ++m_nLogin;
    Event("login " + login.first);
    if (m_pDispatcher)
        m_pDispatcher->SendRequest(MSG_UL, (login.first + "|" + login.second + "|").c_str());
}

void CSessionApp::OnLoginReply(CServerMessage* pReply)
{
    Event(std::string("login reply ") + pReply->GetFieldText(1));
    if (pReply->GetLong(1) != 0 || !m_pDispatcher)
        return;
    for (int nType : {MSG_CT, MSG_HD, MSG_VS, MSG_VX})
        m_followUps.push_back(m_pDispatcher->SendRequest(nType, ""));
}

void CSessionApp::OnMessageDR(CServerMessage* pMsg)
{
    Event(std::string("DR ") + pMsg->GetFieldText(0));
}

bool CSessionApp::Has(const std::string& strEvent) const
{
    return Count(strEvent) > 0;
}

int CSessionApp::Count(const std::string& strEvent) const
{
    int n = 0;
    for (const std::string& e : m_events)
        n += e == strEvent;
    return n;
}

std::string CSessionApp::Events() const
{
    std::string s;
    for (const std::string& e : m_events)
        s += e + "; ";
    return s;
}
