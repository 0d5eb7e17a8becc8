// One million enciphered quotation lines from the test server over loopback, through the link's
// whole receiving road on one core: reads of 64 KiB, Twofish with the kept session key, the
// padding and the framing, then the dispatcher's parse and the fan-out to 40 sinks, 5 of which
// take the quotation type. Items per second are lines per second.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include "bench/common/BenchSinks.h"
#include "link/AppServices.h"
#include "link/CommLink.h"
#include "link/ErrorDictionary.h"
#include "link/LinkProtocol.h"
#include "link/MessageDispatcher.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "platform/win/net/Winsock.h"

namespace {

const long s_nLines = 1000000;

// The test server in its streaming scenario; its port, or 0.
struct CServer {
    pid_t pid = -1;
    int nPort = 0;
    CServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            const std::string strLines = std::to_string(s_nLines);
            execl(TESTSERVER_PATH, TESTSERVER_PATH, "--port", "0", "--scenario", "stream", "--lines", strLines.c_str(),
                  "--run-time", "120", "--idle-time", "30", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buf[64] = {};
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 10000) > 0 && read(fds[0], buf, sizeof buf - 1) > 0)
            sscanf(buf, "PORT %d", &nPort);
        close(fds[0]);
    }
    ~CServer()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

// The link without its window: the protocol machinery on a socket read in a plain loop, and the
// application's few steps (hello on ready, a login).
class CBenchLink : public ICommLink, public IAppServices, private ILinkPort
{
public:
    CBenchLink() : m_link(this, 131072)
    {
        m_link.Options().bEncryption = TRUE;
        m_link.Options().bChecksums = FALSE;
        m_link.Options().bDecompress = FALSE;
        m_link.Options().nIdlePeriod = -1;
    }
    ~CBenchLink() override
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    BOOL Open(int nPort)
    {
        m_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(nPort));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
            return FALSE;
        m_link.PrepareConnect(LINK_DIRECT_SOCKET);
        m_link.OnOpened(LINK_DIRECT_SOCKET);
        return TRUE;
    }
    // Reads until the sink has seen every line: FALSE when the connection ended first.
    BOOL ReadUntil(const CQuoteSink& sink, long nLines)
    {
        std::vector<BYTE> buffer(65536);
        while (sink.m_nLines < nLines) {
            const ssize_t n = recv(m_fd, buffer.data(), buffer.size(), 0);
            if (n <= 0)
                return FALSE;
            m_link.OnReceived(buffer.data(), static_cast<int>(n));
        }
        return TRUE;
    }
    CMessageDispatcher* m_pDispatcher = nullptr;

    // ICommLink.
    BOOL SendLine(LPCSTR pszLine, long* pnNumber) override { return m_link.SendLine(pszLine, pnNumber); }
    BOOL IsConnected() const override { return m_link.IsConnected(); }
    BOOL IsEncryptionOption() const override { return TRUE; }
    void SetEncryption(BOOL bOn) override { m_link.SetEncryption(bOn); }
    BOOL Disconnect(BOOL bKeepResume) override
    {
        m_link.OnClosed(bKeepResume);
        return TRUE;
    }
    char* GetSessionKeyBuffer() override { return m_link.GetSessionKeyBuffer(); }
    // IAppServices.
    ICommLink* GetLink() override { return this; }
    IInfoWindow* GetInfoWindow() override { return nullptr; }
    ICompactQuoteExpander* GetQuoteExpander() override { return nullptr; }
    void BringInfoWindowToTop(int) override {}
    LPCSTR GetLanguageCode() const override { return "0"; }
    void SetBusy(BOOL) override {}
    void OnLoginReply(CServerMessage*) override {}
    void Login() override { m_pDispatcher->SendRequest(MSG_UL, "viewer|viewer|"); }
    void OnMessageDR(CServerMessage*) override {}
    void OnConnectionState(int nCode) override
    {
        if (nCode == COMM_STATE_READY)
            m_pDispatcher->SendRequest(MSG_VC, "0|80000");
    }
    void OnCommDestroyed() override {}

private:
    // ILinkPort.
    int WriteTransport(const BYTE* pBytes, int nCount) override
    {
        const ssize_t n = send(m_fd, pBytes, static_cast<size_t>(nCount), MSG_NOSIGNAL);
        return n >= 0 ? static_cast<int>(n) : -1;
    }
    void WatchWritable(BOOL) override {}
    void OnLine(char* pszLine) override { m_pDispatcher->OnServerMessage(pszLine); }
    void OnState(int nCode) override { OnConnectionState(nCode); }
    void StartTimer(UINT, UINT) override {}
    void StopTimer(UINT) override {}
    void Log(const char*) override {}
    void Reconnect(int) override {}
    void ClearInput() override {}
    void CloseLink(int) override {}

    CLinkProtocol m_link;
    int m_fd = -1;
};

void BM_ReceiveEncipheredQuotations(benchmark::State& state)
{
    RegisterMessageCodes(g_messageCodePairs);
    for (auto _ : state) {
        state.PauseTiming();
        CServer server;
        if (!server.nPort) {
            state.SkipWithError("the test server did not start");
            return;
        }
        CBenchLink link;
        CBenchRefData refData;
        CZorvatMessageSource source;
        CZorvatErrorDictionary errors(&source, &link, &refData);
        CMessageDispatcher dispatcher(&source, &errors, &link, &refData);
        link.m_pDispatcher = &dispatcher;
        std::vector<std::unique_ptr<CZorvatMessageSink>> sinks;
        CQuoteSink* pFirst = AddBenchSinks(source, sinks, 40);
        state.ResumeTiming();
        // The hello, the key exchange and the stream that follows it.
        if (!link.Open(server.nPort) || !link.ReadUntil(*pFirst, s_nLines)) {
            state.SkipWithError("the stream ended early");
            return;
        }
        benchmark::DoNotOptimize(pFirst->m_dLast);
        state.PauseTiming();
        for (auto& pSink : sinks)
            source.RemoveSink(pSink->GetSinkRecord()->m_nId);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * s_nLines);
}
BENCHMARK(BM_ReceiveEncipheredQuotations)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}
