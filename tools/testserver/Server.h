#pragma once
// The server: the listening socket, the sessions, the simulated clock and the live feed, in one
// poll loop that never waits on one terminal. It stops after the run time, or when no terminal
// has been connected for the idle time, whatever the terminals do.
#include <memory>
#include <string>
#include <vector>
#include "tools/testserver/LiveFeed.h"
#include "tools/testserver/ServerClock.h"
#include "tools/testserver/Session.h"

class CServer
{
public:
    explicit CServer(const ServerOptions& options);
    // Reads the data files; false, with the reason on stderr, when one is missing or wrong.
    bool Load();
    // Listens, prints "PORT <n>" and serves until the run time or the idle time is up; the exit code.
    int Run();
private:
    void Accept(int fdListen);
    void PushLive(double dNow);
    void Note(const std::string& strText) const;

    const ServerOptions& m_options;
    CScript m_script;
    CShapeBook m_shapes;
    CRecordTables m_tables;
    CWireText m_text;
    CShapeWriter m_writer{m_shapes, m_tables, m_text};
    CServerRsa m_rsa;
    CServerShared m_shared{m_options, m_script, m_shapes, m_writer, nullptr, m_rsa, {}, {}};
    CServerClock m_clock;
    long long m_nStartSeconds = 0;
    long long m_nLastMinute = 0;
    CLiveFeed m_feed;
    std::vector<std::unique_ptr<CSession>> m_sessions;
};
