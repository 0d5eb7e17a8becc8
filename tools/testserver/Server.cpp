#include "tools/testserver/Server.h"
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
    if (!m_clock.Set(m_options.strClock))
        return false;
    m_nStartSeconds = m_clock.GetSeconds();
    m_nLastMinute = m_clock.GetMinute();
    m_shared.clock = m_clock.Values();
    m_feed.Init(m_tables.FindTable("symbols"), m_options.nSeed);
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
        m_sessions.push_back(std::make_unique<CSession>(fd, m_shared));
    }
}

// The market moves at --rate lines a second of run time; line k moves the simulated clock to
// the start plus k / rate seconds, and every simulated minute the clock goes out as "TI".
// Each session gets the lines of one turn as one write.
void CServer::PushLive(double dNow)
{
    static const uint64_t TURN_LIMIT = 20000;     // lines made in one turn of the loop
    std::vector<std::string> live, symbols, ticks;
    CShapeContext ctx;
    ctx.pClock = &m_shared.clock;
    const CShape* pLive = m_shapes.Find("GS.live");
    const CShape* pTick = m_shapes.Find("TI");
    while (m_options.dRate > 0 && live.size() + ticks.size() < TURN_LIMIT) {
        const uint64_t nDue = static_cast<uint64_t>(dNow * m_options.dRate);
        if (m_feed.GetCount() >= nDue)
            break;
        const uint64_t k = m_feed.GetCount();
        const CRecord& rec = m_feed.Next();
        if (m_feed.GetCount() == k)
            break;                  // no symbols: the market stands still
        m_clock.Advance(static_cast<long>(m_nStartSeconds + static_cast<long long>(
            static_cast<double>(k + 1) / m_options.dRate) - m_clock.GetSeconds()));
        m_shared.clock = m_clock.Values();
        CShapeReply reply;
        ctx.pRecord = &rec;
        if (pLive && m_writer.Write(*pLive, ctx, reply) && reply.lines.size() == 1) {
            live.push_back(std::move(reply.lines[0]));
            symbols.push_back(rec.at("symbol"));
        }
        if (m_clock.GetMinute() != m_nLastMinute) {
            m_nLastMinute = m_clock.GetMinute();
            ctx.pRecord = nullptr;
            if (pTick && m_writer.Write(*pTick, ctx, reply))
                ticks.insert(ticks.end(), reply.lines.begin(), reply.lines.end());
        }
    }
    if (!live.empty())
        m_shared.strLastLive = live.back();
    for (auto& pSession : m_sessions) {
        if (pSession->IsLoggedIn() && !live.empty())
            pSession->SendLive(live, symbols, dNow);
        if (pSession->IsLoggedIn() && !ticks.empty())
            pSession->SendUnsolicited(ticks, dNow);
    }
}

int CServer::Run()
{
    const int fdListen = Listen(m_options.nPort);
    if (fdListen < 0) {
        perror("testserver: listen");
        return 1;
    }
    sockaddr_in addr{};
    socklen_t nLen = sizeof addr;
    getsockname(fdListen, reinterpret_cast<sockaddr*>(&addr), &nLen);
    printf("PORT %d\n", ntohs(addr.sin_port));
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
        // Wake for the next live line, a held reply or a split piece, and at least every 50 ms.
        double dWake = dNow + 0.05;
        if (m_options.dRate > 0)
            dWake = std::min(dWake, static_cast<double>(m_feed.GetCount() + 1) / m_options.dRate);
        std::vector<pollfd> fds{{fdListen, POLLIN, 0}};
        for (const auto& s : m_sessions) {
            fds.push_back({s->Socket(), static_cast<short>(POLLIN | (s->WantsWrite(dNow) ? POLLOUT : 0)), 0});
            if (s->NextDue() > 0)
                dWake = std::min(dWake, s->NextDue());
        }
        dWake = std::min(dWake, m_options.dRunTime);
        const int nWait = static_cast<int>(std::ceil(std::max(0.0, dWake - dNow) * 1000));
        poll(fds.data(), fds.size(), nWait);
        const double dAfter = Now() - dStart;
        if (fds[0].revents & POLLIN)
            Accept(fdListen);
        for (size_t i = fds.size() - 1; i >= 1; --i) {
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
