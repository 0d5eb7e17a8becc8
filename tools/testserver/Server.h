#pragma once
// The server: the listening socket, the sessions, the market model and its live lines, in one
// poll loop that never waits on one terminal. It stops after the run time, or when no terminal
// has been connected for the idle time, whatever the terminals do.
#include <memory>
#include <string>
#include <vector>
#include "tools/testserver/HttpSide.h"
#include "tools/testserver/ModelTables.h"
#include "tools/testserver/ServerClock.h"
#include "tools/testserver/Session.h"

class CServer
{
public:
    explicit CServer(const ServerOptions& options);
    // Reads the data files; false, with the reason on stderr, when one is missing or wrong.
    bool Load();
    // Listens, prints "PORT <n> HTTP <m>" (the line port, then the web side's) and serves until the run time or the idle time is up; the exit code.
    int Run();
private:
    void Accept(int fdListen);
    // The model's events due by now, as live lines to the sessions; only those already made
    // when bPendingOnly.
    void PushLive(double dNow, bool bPendingOnly = false);
    void UpdateClock();
    void Note(const std::string& strText) const;

    const ServerOptions& m_options;
    CScript m_script;
    CShapeBook m_shapes;
    CRecordTables m_tables;
    CSimulator m_sim;
    CModelTables m_model{m_sim, m_tables};
    CWireText m_text;
    CShapeWriter m_writer{m_shapes, m_model, m_text};
    CServerRsa m_rsa;
    CHttpSide m_http{m_model, m_sim, m_options.pLog};
    CServerShared m_shared{m_options, m_script, m_shapes, m_writer, nullptr, m_rsa, {}, {}, {}, m_sim, {}};
    std::vector<const CShape*> m_liveShapes[SIM_EVENT_TYPES];   // the shapes of each event type
    int64_t m_nStartMillis = 0;
    uint64_t m_nEvents = 0;             // events taken from the model: live line number k is event k
    int64_t m_nClockSecond = -1;        // the second the clock values were made for
    std::vector<std::unique_ptr<CSession>> m_sessions;
};
