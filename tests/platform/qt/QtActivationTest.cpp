// Two top-level windows activated one after the other: Qt's activation events arrive late, and
// must not make the layer activate the windows in turn for ever.
#include <gtest/gtest.h>
#include <chrono>
#include "QtTestSupport.h"
#include "platform/win/user/Window.h"

TEST(QtActivation, LateActivationEventsDoNotBounceBetweenWindows)
{
    HWND hFirst = CreateQtWindow(nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 100, 80);
    HWND hSecond = CreateQtWindow(nullptr, WS_POPUP | WS_VISIBLE, 120, 0, 100, 80);
    ASSERT_NE(nullptr, hFirst);
    ASSERT_NE(nullptr, hSecond);
    int nSwitches = 0;
    for (int i = 0; i < 3; ++i) {
        SetActiveWindow(hFirst);
        SetActiveWindow(hSecond);
        auto start = std::chrono::steady_clock::now();
        HWND hLast = GetActiveWindow();
        while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(150)) {
            PumpQt(5);
            if (GetActiveWindow() != hLast) {
                hLast = GetActiveWindow();
                ++nSwitches;
            }
        }
        EXPECT_EQ(hSecond, GetActiveWindow()) << "round " << i;
    }
    EXPECT_LE(nSwitches, 3) << "the active window kept changing by itself";
    DestroyWindow(hFirst);
    DestroyWindow(hSecond);
    PumpQt(10);
}
