// Xvfb and openbox for a test, and programs run on them, each bounded in time.
#include "tests/common/DisplayUnderTest.h"
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {
const char ON_DISPLAY_MARK[] = "TB_TEST_ON_DISPLAY";
const int START_MS = 10000;

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end)
{
    return static_cast<int>(std::max<long long>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count()));
}

bool OnPath(const std::string& strProgram)
{
    const char* pszPath = std::getenv("PATH");
    std::string strPath = pszPath ? pszPath : "/usr/bin:/bin";
    for (size_t nStart = 0; nStart <= strPath.size();) {
        size_t nEnd = strPath.find(':', nStart);
        if (nEnd == std::string::npos)
            nEnd = strPath.size();
        const std::string strFile = strPath.substr(nStart, nEnd - nStart) + "/" + strProgram;
        if (nEnd > nStart && access(strFile.c_str(), X_OK) == 0)
            return true;
        nStart = nEnd + 1;
    }
    return false;
}

// This process's environment with some variables set anew.
std::vector<std::string> EnvironmentWith(const std::vector<std::pair<std::string, std::string>>& set)
{
    std::vector<std::string> env;
    for (char** pp = environ; *pp; ++pp) {
        const std::string strVar = *pp;
        bool bReplaced = false;
        for (const auto& [strName, strValue] : set)
            bReplaced = bReplaced || strVar.compare(0, strName.size() + 1, strName + "=") == 0;
        if (!bReplaced)
            env.push_back(strVar);
    }
    for (const auto& [strName, strValue] : set)
        env.push_back(strName + "=" + strValue);
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& str : strings)
        pointers.push_back(str.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts a program in a process group of its own, which dies with this process; its output goes
// to nOutFd; nPassFd, when given, stays open in it under the same number.
pid_t Start(std::vector<std::string> args, std::vector<std::string> env, int nOutFd, int nPassFd = -1)
{
    std::vector<char*> argv = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    // Only calls that are safe after fork() in a process with threads, up to exec.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    const int nNull = open("/dev/null", O_RDONLY);
    dup2(nNull, 0);
    dup2(nOutFd, 1);
    dup2(nOutFd, 2);
    if (nPassFd >= 0)
        fcntl(nPassFd, F_SETFD, 0);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
}

// Ends a program's process group: politely, then, after a bounded wait, for sure. Returns the
// program's exit status, -1 when it had to be killed or died of a signal.
int EndGroup(pid_t pid, int nSignal, int nGraceMs)
{
    int nStatus = 0;
    if (nSignal != 0)
        kill(-pid, nSignal);
    const auto end = Clock::now() + std::chrono::milliseconds(nGraceMs);
    while (waitpid(pid, &nStatus, WNOHANG) == 0) {
        if (MsLeft(end) == 0) {
            kill(-pid, SIGKILL);
            waitpid(pid, &nStatus, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

DISPLAY_RUN RunToEnd(std::vector<std::string> args, std::vector<std::string> env, int nTimeoutMs)
{
    DISPLAY_RUN run;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return run;
    const pid_t pid = Start(args, env, fds[1]);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return run;
    }
    const auto end = Clock::now() + std::chrono::milliseconds(nTimeoutMs);
    bool bTimedOut = false;
    for (;;) {
        pollfd pfd = {fds[0], POLLIN, 0};
        const int nReady = poll(&pfd, 1, MsLeft(end));
        if (nReady < 0 && errno == EINTR)
            continue;
        if (nReady <= 0) {
            bTimedOut = true;
            break;
        }
        char buffer[4096];
        const ssize_t nRead = read(fds[0], buffer, sizeof buffer);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0)
            break;
        run.strOutput.append(buffer, static_cast<size_t>(nRead));
    }
    close(fds[0]);
    const int nStatus = EndGroup(pid, bTimedOut ? SIGKILL : 0, bTimedOut ? 0 : std::max(MsLeft(end), 1000));
    run.nStatus = bTimedOut ? -1 : nStatus;
    if (bTimedOut)
        run.strOutput += "\n[" + args[0] + " did not end within " + std::to_string(nTimeoutMs) + " ms]\n";
    return run;
}
}  // namespace

std::string CDisplayUnderTest::MissingPrograms()
{
    std::string strMissing;
    for (const char* pszProgram : {"Xvfb", "openbox", "xdotool", "setxkbmap"})
        if (!OnPath(pszProgram))
            strMissing += strMissing.empty() ? pszProgram : std::string(" ") + pszProgram;
    return strMissing;
}

CDisplayUnderTest::CDisplayUnderTest()
{
    char szDir[] = "/tmp/display-under-test-XXXXXX";
    if (mkdtemp(szDir) == nullptr) {
        m_strWhy = "no folder for the display's logs";
        return;
    }
    m_strDir = szDir;
    const auto end = Clock::now() + std::chrono::milliseconds(START_MS);

    // Xvfb writes the number of the display it found free to the descriptor it is given.
    int fds[2];
    const int nLog = open((m_strDir + "/xvfb.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (nLog < 0 || pipe2(fds, O_CLOEXEC) != 0) {
        m_strWhy = "no pipe for Xvfb";
        if (nLog >= 0)
            close(nLog);
        return;
    }
    m_pidServer = Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x900x24", "-nolisten", "tcp"},
                        EnvironmentWith({}), nLog, fds[1]);
    close(fds[1]);
    close(nLog);
    std::string strNumber;
    while (strNumber.find('\n') == std::string::npos) {
        pollfd pfd = {fds[0], POLLIN, 0};
        if (poll(&pfd, 1, MsLeft(end)) <= 0)
            break;
        char buffer[32];
        const ssize_t nRead = read(fds[0], buffer, sizeof buffer);
        if (nRead <= 0)
            break;
        strNumber.append(buffer, static_cast<size_t>(nRead));
    }
    close(fds[0]);
    if (m_pidServer < 0 || strNumber.find('\n') == std::string::npos) {
        m_strWhy = "Xvfb did not come up (" + m_strDir + "/xvfb.log)";
        return;
    }
    m_strName = ":" + strNumber.substr(0, strNumber.find('\n'));

    // openbox runs its start command once it manages the screen. Its own folders keep the
    // user's configuration out.
    const std::string strReady = m_strDir + "/manager-ready";
    const int nManagerLog = open((m_strDir + "/openbox.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    m_pidManager = Start({"openbox", "--sm-disable", "--startup", "touch " + strReady},
                         EnvironmentWith({{"DISPLAY", m_strName}, {"XDG_CONFIG_HOME", m_strDir}, {"XDG_CACHE_HOME", m_strDir}}),
                         nManagerLog);
    if (nManagerLog >= 0)
        close(nManagerLog);
    while (m_pidManager >= 0 && !std::filesystem::exists(strReady) && MsLeft(end) > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!std::filesystem::exists(strReady))
        m_strWhy = "openbox did not come up on " + m_strName + " (" + m_strDir + "/openbox.log)";
}

CDisplayUnderTest::~CDisplayUnderTest()
{
    Stop(m_pidManager);
    Stop(m_pidServer);
    // The logs stay where the display did not come up, to be read.
    if (Ready() && !m_strDir.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_strDir, error);
    }
}

void CDisplayUnderTest::Stop(pid_t& pid)
{
    if (pid > 0)
        EndGroup(pid, SIGTERM, 3000);
    pid = -1;
}

DISPLAY_RUN CDisplayUnderTest::RunCase(const std::string& strCase, int nTimeoutMs) const
{
    if (!Ready())
        return {-1, m_strWhy};
    char szSelf[4096] = {};
    const ssize_t nLength = readlink("/proc/self/exe", szSelf, sizeof szSelf - 1);
    if (nLength <= 0)
        return {-1, "this test program cannot be found"};
    return RunToEnd({szSelf, "--gtest_filter=" + strCase, "--gtest_also_run_disabled_tests", "--gtest_brief=0"},
                    EnvironmentWith({{"DISPLAY", m_strName}, {"QT_QPA_PLATFORM", "xcb"}, {ON_DISPLAY_MARK, "1"}}),
                    nTimeoutMs);
}

bool OnDisplayUnderTest()
{
    const char* pszMark = std::getenv(ON_DISPLAY_MARK);
    return pszMark != nullptr && std::strcmp(pszMark, "1") == 0 && std::getenv("DISPLAY") != nullptr;
}

DISPLAY_RUN RunOnDisplay(const std::vector<std::string>& args, int nTimeoutMs)
{
    // xdotool reads the text it types in the locale's encoding: under the bare C locale of a
    // fresh machine it types nothing of the Arabic digits.
    return RunToEnd(args, EnvironmentWith({{"LC_ALL", "C.UTF-8"}}), nTimeoutMs);
}

void RunCaseOnDisplay(const std::string& strCase, int nTimeoutMs)
{
    const std::string strMissing = CDisplayUnderTest::MissingPrograms();
    if (!strMissing.empty())
        GTEST_SKIP() << "no real display: " << strMissing << " not installed (scripts/setup installs them)";
    CDisplayUnderTest display;
    ASSERT_TRUE(display.Ready()) << display.Why();
    const DISPLAY_RUN run = display.RunCase(strCase, nTimeoutMs);
    EXPECT_EQ(0, run.nStatus) << run.strOutput;
    EXPECT_NE(std::string::npos, run.strOutput.find("[  PASSED  ] 1 test")) << run.strOutput;
}
