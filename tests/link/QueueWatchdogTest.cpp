// The end-to-end tests' watch on the window queue: a handler that never returns ends the run
// with its stack instead of hanging it; a queue that keeps turning, even slowly, is left alone.
#include <gtest/gtest.h>
#include <chrono>
#include <thread>
#include "LinkSessionSupport.h"
#include "platform/win/user/Message.h"

namespace {

void CALLBACK NeverReturns(HWND, UINT, UINT_PTR, DWORD)
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

void CALLBACK TakesAWhile(HWND, UINT, UINT_PTR, DWORD)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

}  // namespace

TEST(QueueWatchdogDeathTest, StuckHandlerEndsTheRunWithItsStack)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            CQueueWatch::SetLimit(500);
            SetTimer(nullptr, 0, 10, NeverReturns);
            PumpFor(20000);
        },
        "no message processed for [0-9]+ ms in QueueWatchdogDeathTest.StuckHandlerEndsTheRunWithItsStack"
        "(.|\n)*stack of the thread that stopped(.|\n)*\\]");
}

TEST(QueueWatchdog, SlowButTurningQueueRunsToItsEnd)
{
    CQueueWatch::SetLimit(500);
    const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, TakesAWhile);
    const auto start = std::chrono::steady_clock::now();
    PumpFor(1000);
    KillTimer(nullptr, nTimer);
    CQueueWatch::SetLimit(5000);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}
