#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Watchdog.h"

TEST(WatchdogTest, AScopeLeftInTimeEndsQuietly)
{
    Watchdog watchdog("a quick piece", 5.0);
}

TEST(WatchdogTest, AScopeStillRunningEndsTheBinaryNamingIt)
{
    EXPECT_EXIT(
        {
            Watchdog watchdog("reading a pipe", 0.2);
            std::this_thread::sleep_for(std::chrono::seconds(10));
        },
        testing::ExitedWithCode(1), "\"reading a pipe\" still running after 0.2 s");
}
