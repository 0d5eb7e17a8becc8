#include "tools/testserver/Server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cmath>
#include <ctime>

static double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

static int Listen(int nPort)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    const int nOn = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

CServer::CServer(const ServerOptions& options) : m_options(options)
{
}

bool CServer::Load()
{
    // An order's lines go out before the next request is read, so that they follow its reply.
    m_shared.fnPushPending = [this](double dNow) { PushLive(dNow, true); };
    const std::string& strData = m_options.strData;
    std::string strError;
    if (!m_script.Load(strData, m_options.AccountsFile())) {
        fprintf(stderr, "testserver: cannot read %s/session.txt\n", strData.c_str());
        return false;
    }
    if (!m_shapes.Load(strData + "/shapes.txt", strError)) {
        fprintf(stderr, "testserver: %s\n", strError.c_str());
        return false;
    }
    m_tables.LoadFolder(strData + "/reference");
    if (m_tables.LoadFile("users", m_options.AccountsFile()))
        m_shared.pUsers = m_tables.FindTable("users");
    CServerClock start;
    if (!start.Set(m_options.strClock))
        return false;
    const CRecord values = start.Values();
    if (!m_sim.Start(strData + "/market", m_options.nSeed, atoi(values.at("date8").c_str()), atoi(values.at("time6").c_str()),
                     &strError)) {
        fprintf(stderr, "testserver: %s\n", strError.c_str());
        return false;
    }
    m_model.Build();
    m_nStartMillis = m_sim.GetClock().GetMillis();
    UpdateClock();
    // The shapes of each event type, by the names of the "live" key.
    static const char* const s_events[SIM_EVENT_TYPES] = {"quote", "book", "oddlot", "trade", "index", "ticker",
        "forward", "forward_trade", "news", "announcement", "minute", "order", "fill", "holding", "cash", "transaction", "margin",
        "contract", "forward_order", "forward_fill"};
    for (const CShape& shape : m_shapes.All()) {
        if (shape.strLive.empty())
            continue;
        int nType = 0;
        while (nType < SIM_EVENT_TYPES && shape.strLive != s_events[nType])
            ++nType;
        if (nType == SIM_EVENT_TYPES) {
            fprintf(stderr, "testserver: shape %s: no event type %s\n", shape.strName.c_str(), shape.strLive.c_str());
            return false;
        }
        m_liveShapes[nType].push_back(&shape);
    }
    m_rsa.Generate(m_options.nRsaBits, m_options.nSeed);
    return true;
}

void CServer::Note(const std::string& strText) const
{
    if (m_options.pLog) {
        fprintf(m_options.pLog, "! %s\n", strText.c_str());
        fflush(m_options.pLog);
    }
}

void CServer::Accept(int fdListen)
{
    for (;;) {
        const int fd = accept4(fdListen, nullptr, nullptr, SOCK_NONBLOCK);
        if (fd < 0)
            return;
        const int nOn = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
        // In pieces, the socket takes the next one only once the last has left: a terminal that
        // takes nothing then stops the pieces at once, not after megabytes of them queued.
        if (m_options.nSplit) {
            const int nLowWater = static_cast<int>(std::min<size_t>(m_options.nSplit, 1u << 20));
            setsockopt(fd, IPPROTO_TCP, TCP_NOTSENT_LOWAT, &nLowWater, sizeof nLowWater);
        }
        m_sessions.push_back(std::make_unique<CSession>(fd, m_shared));
    }
}

void CServer::UpdateClock()
{
    const CSimClock& clock = m_sim.GetClock();
    const int64_t nSecond = clock.GetMillis() / 1000;
    if (nSecond == m_nClockSecond)
        return;
    m_nClockSecond = nSecond;
    m_shared.clock["date"] = clock.ServerDate();
    m_shared.clock["time"] = clock.ServerTime();
    m_shared.clock["datetime"] = clock.ServerDateTime();
    m_shared.clock["date8"] = std::to_string(clock.GetDate());
    char sz[16];
    snprintf(sz, sizeof sz, "%06d", clock.GetTime());
    m_shared.clock["time6"] = sz;
    // The last day of the history a terminal caches: the trading day before today.
    m_shared.clock["lastday"] = CSimClock::ServerDate(CSimClock::PreviousTradingDate(clock.GetDate()));
}

// The market moves at --rate events a second of run time, event k being live line number k:
// each walk step is given the simulated time that keeps the clock at the start plus k / rate
// seconds. An event becomes a line per shape of its type; each session gets the lines of one
// turn that are meant for it as one write.
void CServer::PushLive(double dNow, bool bPendingOnly)
{
    // Events taken in one turn of the loop: few enough that a turn stays short on a slow machine
    // (the sanitizers), so that the other sessions' requests are answered between turns.
    static const size_t TURN_LIMIT = 2000;
    std::vector<CLiveLine> live;
    CShapeContext ctx;
    ctx.pClock = &m_shared.clock;
    CShapeReply reply;
    // What an order made goes out at once, whatever the rate, with the rest of its walk step.
    const size_t nPending = m_sim.GetPendingCount();
    const bool bWalk = m_options.dRate > 0 && !bPendingOnly;
    for (size_t nTaken = 0; nTaken < nPending || (bWalk && nTaken < TURN_LIMIT); ++nTaken) {
        if (nTaken >= nPending && m_nEvents >= static_cast<uint64_t>(dNow * m_options.dRate))
            break;
        if (m_sim.GetPendingCount() == 0) {
            const int64_t nTarget = m_nStartMillis + static_cast<int64_t>(static_cast<double>(m_nEvents + 1) * 1000.0 / m_options.dRate);
            m_sim.SetStepMillis(std::max<int64_t>(0, nTarget - m_sim.GetClock().GetMillis()));
        }
        const CSimEvent* pEvent = m_sim.Next();
        if (!pEvent)
            break;
        ctx.nSeq = static_cast<long>(m_nEvents++);
        UpdateClock();
        ctx.pRecord = pEvent->pRecord;
        for (const CShape* pShape : m_liveShapes[pEvent->nType]) {
            if (!m_writer.Write(*pShape, ctx, reply) || reply.lines.size() != 1)
                continue;
            CLiveLine one;
            one.line = std::move(reply.lines[0]);
            one.pShape = pShape;
            if (pShape->strAfter.size() > 3 && pShape->strAfter.compare(2, 7, ":symbol") == 0)
                one.strSymbol = GetField(*pEvent->pRecord, "symbol");
            one.strUser = pEvent->strUser;
            live.push_back(std::move(one));
        }
    }
    if (live.empty())
        return;
    // As a server whose trade lines overtake the lines of their orders.
    if (m_options.IsScenario("fill-first"))
        std::stable_partition(live.begin(), live.end(), [](const CLiveLine& one) { return one.pShape->strLive == "fill"; });
    m_shared.strLastLive = live.back().line;
    for (const CLiveLine& one : live)
        if (one.line.size() > 3) {
            m_shared.lastLiveOf[one.line.substr(1, 2)] = one.line;
            m_shared.lastLiveOf[one.pShape->strName] = one.line;
        }
    for (auto& pSession : m_sessions)
        if (pSession->IsLoggedIn())
            pSession->SendLive(live, dNow);
}

int CServer::Run()
{
    const int fdListen = Listen(m_options.nPort);
    if (fdListen < 0) {
        perror("testserver: listen");
        return 1;
    }
    if (!m_http.Listen()) {
        perror("testserver: listen for HTTP");
        close(fdListen);
        return 1;
    }
    sockaddr_in addr{};
    socklen_t nLen = sizeof addr;
    getsockname(fdListen, reinterpret_cast<sockaddr*>(&addr), &nLen);
    printf("PORT %d HTTP %d\n", ntohs(addr.sin_port), m_http.Port());
    fflush(stdout);

    const double dStart = Now();
    double dLastActive = 0;
    for (;;) {
        const double dNow = Now() - dStart;
        if (dNow >= m_options.dRunTime)
            break;
        if (!m_sessions.empty())
            dLastActive = dNow;
        else if (dNow - dLastActive > m_options.dIdleTime)
            break;
        // Wake for the next live line or a held reply, and at least every 50 ms.
        double dWake = dNow + 0.05;
        if (m_options.dRate > 0)
            dWake = std::min(dWake, static_cast<double>(m_nEvents + 1) / m_options.dRate);
        std::vector<pollfd> fds{{fdListen, POLLIN, 0}};
        for (const auto& s : m_sessions) {
            fds.push_back({s->Socket(), static_cast<short>(POLLIN | (s->WantsWrite(dNow) ? POLLOUT : 0)), 0});
            if (s->NextDue() > 0)
                dWake = std::min(dWake, s->NextDue());
        }
        const size_t nHttpFirst = fds.size();
        m_http.AddPollFds(fds, dNow);
        dWake = std::min(dWake, m_options.dRunTime);
        const int nWait = static_cast<int>(std::ceil(std::max(0.0, dWake - dNow) * 1000));
        poll(fds.data(), fds.size(), nWait);
        const double dAfter = Now() - dStart;
        m_http.Serve(fds, nHttpFirst, dAfter);
        if (fds[0].revents & POLLIN)
            Accept(fdListen);
        for (size_t i = nHttpFirst - 1; i >= 1; --i) {
            CSession& s = *m_sessions[i - 1];
            bool bKeep = true;
            std::string strWhy = "closed by the terminal";
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR))
                bKeep = s.OnReadable(dAfter);
            if (bKeep && s.WantsWrite(dAfter)) {
                bKeep = s.OnWritable(dAfter);
                strWhy = "closed after its last write";
            }
            if (bKeep && !s.WithinBound(dAfter, strWhy)) {
                bKeep = false;
                fprintf(stderr, "testserver: session on socket %d closed: %s\n", s.Socket(), strWhy.c_str());
            }
            if (!bKeep) {
                Note("session on socket " + std::to_string(s.Socket()) + " " + strWhy);
                m_sessions.erase(m_sessions.begin() + static_cast<long>(i - 1));
            }
        }
        PushLive(Now() - dStart);
    }
    m_sessions.clear();
    close(fdListen);
    return 0;
}
