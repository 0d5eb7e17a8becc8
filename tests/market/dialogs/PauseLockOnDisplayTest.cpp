// The pause lock over the terminal, and its log-off question over it, on a real display (Xvfb
// with a window manager), driven by real clicks and keys: a click on the window under a modal
// one gives the modal one back the keys (the terminal's click the lock's, the lock's click the
// question's), the question's answer key answers it rather than going into the lock's field, and
// once it is answered the keys are in the lock's password field again. In English and in Arabic.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/dialogs/DialogDriver.h"
#include "market/dialogs/PausePasswdDlg.h"
#include "platform/win/kernel/CodePage.h"
#include "tests/common/DisplayUnderTest.h"

namespace {
const char PASSWORD[] = "Secret";

// ---- what the display shows this process's windows to be, through xdotool ----

std::vector<std::string> Lines(const std::string& strText)
{
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        if (!strLine.empty())
            lines.push_back(strLine);
    return lines;
}

std::string Xdotool(std::vector<std::string> args)
{
    args.insert(args.begin(), "xdotool");
    return RunOnDisplay(args).strOutput;
}

// This program's windows the display shows.
std::vector<std::string> ShownWindows()
{
    return Lines(Xdotool({"search", "--onlyvisible", "--pid", std::to_string(getpid())}));
}

std::string KeyboardWindow()
{
    const std::vector<std::string> lines = Lines(Xdotool({"getwindowfocus"}));
    return lines.empty() ? "" : lines.front();
}

struct SCREEN_RECT {
    int x = 0, y = 0, cx = 0, cy = 0;
};

SCREEN_RECT Geometry(const std::string& strWindow)
{
    SCREEN_RECT rect;
    for (const std::string& strLine : Lines(Xdotool({"getwindowgeometry", "--shell", strWindow}))) {
        const size_t nEq = strLine.find('=');
        if (nEq == std::string::npos)
            continue;
        const std::string strName = strLine.substr(0, nEq);
        const int nValue = std::atoi(strLine.c_str() + nEq + 1);
        if (strName == "X")
            rect.x = nValue;
        else if (strName == "Y")
            rect.y = nValue;
        else if (strName == "WIDTH")
            rect.cx = nValue;
        else if (strName == "HEIGHT")
            rect.cy = nValue;
    }
    return rect;
}

// The middle of the widest strip of the owner that the box leaves uncovered, from the owner's
// corner. (The positions xdotool tells are off by the frame's edges, alike for both windows.)
bool UncoveredPoint(const SCREEN_RECT& owner, const SCREEN_RECT& box, int& x, int& y)
{
    const int xBox = box.x - owner.x, yBox = box.y - owner.y;
    const SCREEN_RECT strips[] = {
        {0, 0, xBox, owner.cy},                                     // left of the box
        {xBox + box.cx, 0, owner.cx - xBox - box.cx, owner.cy},    // right of it
        {0, 0, owner.cx, yBox},                                     // above it
        {0, yBox + box.cy, owner.cx, owner.cy - yBox - box.cy},    // below it
    };
    const SCREEN_RECT* pBest = nullptr;
    for (const SCREEN_RECT& strip : strips)
        if (strip.cx >= 8 && strip.cy >= 8 && (!pBest || strip.cx * strip.cy > pBest->cx * pBest->cy))
            pBest = &strip;
    if (!pBest)
        return false;
    x = pBest->x + pBest->cx / 2;
    y = pBest->y + pBest->cy / 2;
    return true;
}

bool WaitFor(const std::function<bool()>& fnDone, int nMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    while (!fnDone()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A step that went wrong leaves the lock (or its question) waiting for keys that will not come:
// the run ends here, and the test that started it reads why.
void Fail(const std::string& strWhy)
{
    std::fprintf(stderr, "ON THE DISPLAY: %s\n", strWhy.c_str());
    std::fflush(stderr);
    std::_Exit(3);
}

// A window of this program the display shows that is not among those known.
std::string NewWindow(const std::vector<std::string>& known)
{
    std::string strNew;
    WaitFor([&] {
        for (const std::string& strShown : ShownWindows())
            if (std::find(known.begin(), known.end(), strShown) == known.end())
                strNew = strShown;
        return !strNew.empty();
    }, 5000);
    return strNew;
}

// A click on the owner where the window over it leaves it uncovered; the window over it then has
// the keys again once the window manager is done with the click.
void ClickOwner(const std::string& strOwner, const std::string& strOver, const char* pszOwner, const char* pszOver)
{
    int x = 0, y = 0;
    if (!UncoveredPoint(Geometry(strOwner), Geometry(strOver), x, y))
        Fail(std::string("the ") + pszOver + " covers the whole " + pszOwner);
    Xdotool({"mousemove", "--window", strOwner, "--sync", std::to_string(x), std::to_string(y)});
    Xdotool({"click", "1"});
    // The window manager hands the keyboard to the window clicked at once; the modal window
    // takes it back a moment later.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (!WaitFor([&] { return KeyboardWindow() == strOver; }, 2000))
        Fail(std::string("after a click on the ") + pszOwner + " the keys are not with the " + pszOver);
}

// The trader, at the display: the terminal paused, types part of the password, clicks the
// terminal under the lock, types on, presses Escape, clicks the lock under the question that
// comes, answers No by its key and types the rest of the password with Enter.
void Trader(const std::string& strNoKey)
{
    // The terminal is the larger of the two windows.
    std::vector<std::string> shown;
    if (!WaitFor([&] { return (shown = ShownWindows()).size() == 2; }, 10000))
        Fail("the lock did not show over the terminal");
    if (Geometry(shown[0]).cy < Geometry(shown[1]).cy)
        std::swap(shown[0], shown[1]);
    const std::string strTerminal = shown[0], strLock = shown[1];
    if (!WaitFor([&] { return KeyboardWindow() == strLock; }, 3000))
        Fail("the lock did not take the keys when it opened");
    Xdotool({"type", "--delay", "20", "Se"});
    ClickOwner(strTerminal, strLock, "terminal", "lock");
    Xdotool({"type", "--delay", "20", "c"});
    Xdotool({"key", "Escape"});

    const std::string strBox = NewWindow({strTerminal, strLock});
    if (strBox.empty())
        Fail("Escape on the lock asked nothing");
    if (!WaitFor([&] { return KeyboardWindow() == strBox; }, 3000))
        Fail("the question did not take the keys when it opened");
    ClickOwner(strLock, strBox, "lock", "question");
    Xdotool({"key", strNoKey});
    if (!WaitFor([&] { return ShownWindows().size() == 2; }, 3000))
        Fail("the question's key for No did not answer it");
    if (!WaitFor([&] { return KeyboardWindow() == strLock; }, 3000))
        Fail("the lock did not take the keys back when its question was answered");
    Xdotool({"type", "--delay", "20", "ret"});
    Xdotool({"key", "Return"});
    if (!WaitFor([&] { return ShownWindows().size() == 1; }, 3000))
        Fail("the lock stayed: its field does not hold the password typed");
}

// On a display a test started: the lock over the terminal in each language, driven by the
// trader's clicks and keys.
TEST(PauseLockOnDisplay, DISABLED_TheTradersRoad)
{
    if (!OnDisplayUnderTest())
        GTEST_SKIP() << "runs on a display that PauseLockOnDisplay.ModalWindowsTakeTheKeysBackAfterAClickOnTheirOwner starts";
    // As the terminal starts: the code page is Arabic's whatever the language, the user's
    // language the thread's locale.
    const UINT uOldCodePage = GetACP();
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "PauseLockTerminal";
    RegisterClassA(&wc);
    // The keyboard an Arabic trader has: the Latin letters and the Arabic ones, the Arabic No's
    // mnemonic on its own key (a key xdotool maps for the moment may be read after it is
    // unmapped again).
    for (const auto& [nCodePage, pszNoKey] : {std::pair{1252, "n"}, std::pair{1256, "Arabic_lam"}}) {
        SCOPED_TRACE(nCodePage);
        const DISPLAY_RUN layout = RunOnDisplay({"setxkbmap", "-layout", nCodePage == 1256 ? "us,ara" : "us"});
        ASSERT_EQ(0, layout.nStatus) << layout.strOutput;
        CTestLanguage language(nCodePage);
        SetThreadLocale(nCodePage == 1256 ? 0x3401 : 1033);
        CRecordingInfoWindow info;
        // The terminal's main window, which the lock is over.
        const HWND hTerminal = CreateWindowExA(0, "PauseLockTerminal", "Quelmor Pro", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                               100, 80, 900, 640, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, hTerminal);
        CPausePasswdDlg dlg(CWnd::FromHandle(hTerminal));
        dlg.SetExpectedPassword(PASSWORD);
        std::thread trader(Trader, std::string(pszNoKey));
        const INT_PTR nResult = dlg.DoModal();
        trader.join();
        DestroyWindow(hTerminal);
        // Unlocked by the password whole: neither a click nor the question's key went into it.
        EXPECT_EQ(IDOK, nResult);
        EXPECT_TRUE(info.m_lines.empty()) << info.m_lines.front();
    }
    UnregisterClassA("PauseLockTerminal", nullptr);
    SetThreadLocale(1033);
    TbSetActiveCodePage(uOldCodePage);
}
}  // namespace

TEST(PauseLockOnDisplay, ModalWindowsTakeTheKeysBackAfterAClickOnTheirOwner)
{
    RunCaseOnDisplay("PauseLockOnDisplay.DISABLED_TheTradersRoad", 30000);
}
