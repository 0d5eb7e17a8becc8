// The end-to-end tests' watch on the window queue: a handler that never returns ends the run
// with its stack instead of hanging it.
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
