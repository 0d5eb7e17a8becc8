// Keys typed at once after a click, on a real display (Xvfb with a window manager), as xdotool
// types characters: Arabic digits and the Arabic decimal separator land in the field clicked,
// never in the field the keys were in before the click, also when the click first closes another
// field's open list. On the Arabic trader's keyboard (the Latin and the Arabic layouts), in each
// code page. (A character the keyboard lacks xdotool types on a spare key it maps for the moment,
// which the display may read after it is unmapped again: such a key carries nothing.)
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "QtTestSupport.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Controls.h"
#include "platform/win/kernel/CodePage.h"
#include "tests/common/DisplayUnderTest.h"

namespace {
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

std::string Text(HWND hWnd)
{
    char sz[64] = "";
    GetWindowTextA(hWnd, sz, sizeof sz);
    return sz;
}

// The trader: a click on the limit (at x, y of the window's client), the Arabic keys at once.
void ClickAndType(int x, int y, std::atomic<bool>* pDone)
{
    std::vector<std::string> shown;
    for (int n = 0; n < 200 && shown.empty(); ++n) {
        shown = Lines(Xdotool({"search", "--onlyvisible", "--name", "^Keys after a click$"}));
        if (shown.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    if (!shown.empty()) {
        Xdotool({"mousemove", "--window", shown.front(), "--sync", std::to_string(x), std::to_string(y)});
        Xdotool({"click", "1"});
        Xdotool({"type", "--delay", "15", "\u0668\u0664\u0666\u066B\u0660"});
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    *pDone = true;
}

TEST(QtInputOnDisplay, DISABLED_KeysAfterAClick)
{
    if (!OnDisplayUnderTest())
        GTEST_SKIP() << "runs on a display that QtInputOnDisplay.KeysTypedAtOnceAfterAClickLandInTheFieldClicked starts";
    const UINT uOld = GetACP();
    for (const char* pszLayout : {"us,ara"})
        for (const UINT uPage : {1252u, 1256u})
            for (const bool bListOpen : {false, true}) {
                SCOPED_TRACE(std::string(pszLayout) + " page " + std::to_string(uPage) + (bListOpen ? " list open" : ""));
                ASSERT_EQ(0, RunOnDisplay({"setxkbmap", "-layout", pszLayout}).nStatus);
                ASSERT_TRUE(TbSetActiveCodePage(uPage));
                const HWND hTop = CreateQtWindow(nullptr, WS_OVERLAPPEDWINDOW, 60, 60, 320, 220);
                SetWindowTextA(hTop, "Keys after a click");
                const HWND hTicker = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 20, 10, 150, 120,
                                                     hTop, reinterpret_cast<HMENU>(11), nullptr, nullptr);
                const HWND hQuantity = CreateWindowExA(0, "Edit", "1,500", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 40, 120, 22,
                                                       hTop, reinterpret_cast<HMENU>(12), nullptr, nullptr);
                const HWND hLimit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 160, 120, 22, hTop,
                                                    reinterpret_cast<HMENU>(13), nullptr, nullptr);
                SendMessageA(hTicker, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("ALPN/Alpine"));
                ShowWindow(hTop, SW_SHOWNORMAL);
                SetActiveWindow(hTop);
                SetFocus(hQuantity);
                SendMessageA(hQuantity, EM_SETSEL, 5, 5);
                PumpQt(300);
                if (bListOpen) {
                    SetFocus(hTicker);
                    SendMessageA(hTicker, CB_SHOWDROPDOWN, TRUE, 0);
                    PumpQt(100);
                }
                std::atomic<bool> bDone{false};
                std::thread trader(ClickAndType, 30, 170, &bDone);
                for (int n = 0; n < 400 && !bDone; ++n)
                    PumpQt(25);
                trader.join();
                PumpQt(100);
                EXPECT_EQ("846.0", Text(hLimit));
                EXPECT_EQ("1,500", Text(hQuantity));
                EXPECT_EQ("", Text(hTicker));
                EXPECT_EQ(hLimit, GetFocus());
                DestroyWindow(hTop);
                PumpQt(50);
            }
    TbSetActiveCodePage(uOld);
}
}  // namespace

TEST(QtInputOnDisplay, KeysTypedAtOnceAfterAClickLandInTheFieldClicked)
{
    RunCaseOnDisplay("QtInputOnDisplay.DISABLED_KeysAfterAClick", 60000);
}
