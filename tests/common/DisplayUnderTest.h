#pragma once
// A real X display for a test: Xvfb on a display number it picks itself, with openbox managing
// its windows, both stopped when the object goes. Qt picks its platform once per process, so the
// display's part of a test runs in a child process: this same test program again, running one
// case that does its work only there (OnDisplayUnderTest()). Every wait is bounded.
#include <string>
#include <vector>
#include <sys/types.h>

// What a program run to its end left: its exit status (-1 when it did not end in time or could
// not start) and what it printed, standard output and error together.
struct DISPLAY_RUN
{
    int nStatus = -1;
    std::string strOutput;
};

class CDisplayUnderTest
{
public:
    // Starts the display and its window manager; Ready() says whether both came up, Why() why not.
    CDisplayUnderTest();
    ~CDisplayUnderTest();
    CDisplayUnderTest(const CDisplayUnderTest&) = delete;
    CDisplayUnderTest& operator=(const CDisplayUnderTest&) = delete;

    // The programs the display and its tests need (xdotool to click and type, setxkbmap to
    // choose the keyboard) that this machine lacks, "" when all are there: a test skips then.
    static std::string MissingPrograms();

    bool Ready() const { return m_strWhy.empty(); }
    const std::string& Why() const { return m_strWhy; }
    const std::string& Name() const { return m_strName; }      // ":N"

    // This test program again, on the display (QT_QPA_PLATFORM=xcb), running only the case named
    // (disabled cases included: a display-only case is one, so that ordinary runs pass it by).
    DISPLAY_RUN RunCase(const std::string& strCase, int nTimeoutMs) const;

private:
    void Stop(pid_t& pid);

    std::string m_strDir;       // the logs, the window manager's configuration
    std::string m_strName;
    std::string m_strWhy;
    pid_t m_pidServer = -1;
    pid_t m_pidManager = -1;
};

// Whether this process is the child a CDisplayUnderTest started to run a case on its display.
bool OnDisplayUnderTest();

// A tool run on the display of this process (xdotool ...), to its end or for at most nTimeoutMs.
DISPLAY_RUN RunOnDisplay(const std::vector<std::string>& args, int nTimeoutMs = 5000);

// The body of a test whose work runs on a display: skips where the display's programs are
// missing, starts a display, runs the case named there and expects it to pass.
void RunCaseOnDisplay(const std::string& strCase, int nTimeoutMs);
