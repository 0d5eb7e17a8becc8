#include "LinkSessionSupport.h"
#include <execinfo.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <gtest/gtest.h>
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
    // The server outlives any test that keeps one session (a slow machine, the sanitizers, a
    // property run TB_PROPERTY_SCALE times longer, tests/common/Property.h), or the terminal
    // would end the run waiting in its "connection lost" box; its idle time still ends it soon
    // after the test.
    int nRunTime = 600;
    if (const char* pszScale = getenv("TB_PROPERTY_SCALE"))
        nRunTime *= std::max(1, atoi(pszScale));
    std::vector<std::string> args = {"--run-time", std::to_string(nRunTime), "--idle-time", "20", "--log", m_strLog};
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

namespace {

std::atomic<long long> s_nLastBeat{0};     // steady clock, milliseconds
std::atomic<int> s_nWatching{0};           // pumps waiting now
#ifdef __SANITIZE_ADDRESS__
std::atomic<int> s_nLimitMs{20000};        // the sanitizers run every handler several times slower
#else
std::atomic<int> s_nLimitMs{5000};
#endif
pthread_t s_mainThread;

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

// On the stuck thread: its stack, then the end of the run.
void DumpStackAndAbort(int)
{
    static const char s_szHead[] = "\nqueue watchdog: the stack of the thread that stopped turning the queue:\n";
    ssize_t nIgnored = write(STDERR_FILENO, s_szHead, sizeof(s_szHead) - 1);
    (void)nIgnored;
    void* frames[64];
    backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
    signal(SIGABRT, SIG_DFL);
    abort();
}

void Watch()
{
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const long long nQuiet = NowMs() - s_nLastBeat.load();
        if (s_nWatching.load() > 0 && nQuiet > s_nLimitMs.load()) {
            const ::testing::TestInfo* pTest = ::testing::UnitTest::GetInstance()->current_test_info();
            fprintf(stderr, "\nqueue watchdog: no message processed for %lld ms in %s.%s\n", nQuiet,
                    pTest ? pTest->test_suite_name() : "?", pTest ? pTest->name() : "?");
            fflush(stderr);
            pthread_kill(s_mainThread, SIGUSR2);
            std::this_thread::sleep_for(std::chrono::seconds(10));
            abort();
        }
    }
}

// The watching thread, started once by the first pump; the stuck thread dumps its stack on an
// alternate stack of its own, so that a stack run out by endless recursion still shows.
void StartWatch()
{
    static bool s_bStarted = false;
    if (s_bStarted)
        return;
    s_bStarted = true;
    s_mainThread = pthread_self();
    stack_t current;
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        static char s_altStack[1 << 16];
        stack_t alt = {};
        alt.ss_sp = s_altStack;
        alt.ss_size = sizeof(s_altStack);
        sigaltstack(&alt, nullptr);
    }
    struct sigaction action = {};
    action.sa_handler = DumpStackAndAbort;
    action.sa_flags = SA_ONSTACK;
    sigaction(SIGUSR2, &action, nullptr);
    std::thread(Watch).detach();
}

void CALLBACK BeatOnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    CQueueWatch::Beat();
}

}  // namespace

CQueueWatch::CQueueWatch()
{
    StartWatch();
    Beat();
    ++s_nWatching;
}

CQueueWatch::~CQueueWatch()
{
    --s_nWatching;
}

void CQueueWatch::Beat()
{
    s_nLastBeat = NowMs();
}

void CQueueWatch::SetLimit(int nMs)
{
    s_nLimitMs = nMs;
}

bool PumpUntil(const std::function<bool()>& done, int nMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    CQueueWatch watch;
    // A thread timer ends every wait soon, so the condition is looked at often; it also tells
    // the watch that the queue turns while a modal loop of the terminal runs it.
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, BeatOnTimer);
    bool bDone = done();
    MSG msg;
    while (!bDone && std::chrono::steady_clock::now() < end) {
        const BOOL bGot = GetMessageA(&msg, nullptr, 0, 0);
        if (bGot < 0)
            break;
        // A quit an earlier test's closing terminal left in the queue ends no wait of this one.
        if (bGot > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        CQueueWatch::Beat();
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
