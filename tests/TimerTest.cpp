#include "Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>

#include <SDL/SDL.h>

#include "TestSupport.h"

namespace {
Uint32 fakeTicks = 0;  // ms
Uint32 readFakeTicks()
{
    return fakeTicks;
}

class TimerTest : public ::testing::Test {
protected:
    TimerTest()
    {
        fakeTicks = 0;
        timer.setTickSource(readFakeTicks);
    }

    // The reading at tick ms.
    float readAt(Uint32 ms)
    {
        fakeTicks = ms;
        return timer.getTime();
    }

    Timer timer;
};
}

TEST_F(TimerTest, ReadsMillisecondsSinceTheStartPoint)
{
    EXPECT_FLOAT_EQ(readAt(1500), 1.5f);
    fakeTicks = 10000;
    timer.reset();
    EXPECT_EQ(readAt(10000), 0.0f);
    EXPECT_FLOAT_EQ(readAt(10250), 0.25f);
    // A start point ahead of the counter reads as a negative time.
    EXPECT_FLOAT_EQ(readAt(9000), -1.0f);
}

TEST_F(TimerTest, SetMovesTheStartPointByWholeMilliseconds)
{
    struct Case {
        float seconds;
        float reading;  // seconds, right after set
    } cases[] = {
        {12.5f, 12.5f},
        {-2.0f, -2.0f},
        {0.0015f, 0.001f},   // truncated to 1 ms
        {-0.0015f, -0.001f}, // toward zero
        {0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        fakeTicks = 50000;
        timer.set(c.seconds);
        EXPECT_FLOAT_EQ(timer.getTime(), c.reading) << c.seconds;
    }
    fakeTicks = 50000;
    timer.set(-2.0f);
    EXPECT_FLOAT_EQ(readAt(51999), -0.001f);
    EXPECT_FLOAT_EQ(readAt(52001), 0.001f);
}

TEST_F(TimerTest, SetClampsHugeOffsetsToTheSignedRangeAndTakesNaNAsZero)
{
    const float maxSeconds = static_cast<float>(INT32_MAX) * 0.001f;
    const float minSeconds = static_cast<float>(INT32_MIN) * 0.001f;
    struct Case {
        float seconds;
        float reading;
    } cases[] = {
        {1e9f, maxSeconds},
        {std::numeric_limits<float>::infinity(), maxSeconds},
        {2147484.0f, maxSeconds},  // just past the range: must not read back negative
        {-1e9f, minSeconds},
        {-std::numeric_limits<float>::infinity(), minSeconds},
        {std::numeric_limits<float>::quiet_NaN(), 0.0f},
    };
    for (const Case& c : cases) {
        fakeTicks = 123456;
        timer.set(c.seconds);
        EXPECT_EQ(timer.getTime(), c.reading) << c.seconds;
    }
}

TEST_F(TimerTest, LoopAtWrapsTheReadingIntoTheLoopLength)
{
    timer.loopAt(10.0f);
    struct Case {
        Uint32 ms;
        float reading;
    } cases[] = {
        {0, 0.0f}, {9990, 9.99f}, {10000, 10.0f}, {10010, 0.01f}, {25000, 5.0f}, {1000000, 0.00006f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(readAt(c.ms), c.reading, 1e-5) << c.ms;
    // Times at or below the length are never changed, negative ones included.
    fakeTicks = 1000;
    timer.set(-3.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), -3.0f);
    timer.loopAt(0.0f);
    fakeTicks = 0;
    timer.reset();
    EXPECT_FLOAT_EQ(readAt(25000), 25.0f);
    timer.loopAt(-1.0f);
    EXPECT_FLOAT_EQ(readAt(25000), 25.0f);
}

TEST_F(TimerTest, ExactMultipleOfTheLoopLengthReadsAsTheLength)
{
    // Tick counts whose reading is exactly a whole multiple of the length in single precision.
    struct Case {
        float length;
        Uint32 ms;
    } cases[] = {{0.5f, 2000}, {2.5f, 10000}, {10.0f, 10000}, {0.25f, 1000}};
    for (const Case& c : cases) {
        timer.loopAt(c.length);
        ASSERT_EQ(std::fmod(static_cast<float>(c.ms) * 0.001f, c.length), 0.0f) << c.ms;
        EXPECT_EQ(readAt(c.ms), c.length) << c.length << " at " << c.ms;
    }
}

TEST_F(TimerTest, LoopAtAgreesWithRepeatedSubtraction)
{
    // Repeated subtraction in single precision drifts by a few ulps a step; the wrapped reading
    // may differ by that much, never by a wrong number of loops.
    for (float length : {10.0f, 0.75f, 3.3f, 0.3f}) {
        timer.loopAt(length);
        for (Uint32 ms = 0; ms < 60000; ms += 97) {
            float expected = static_cast<float>(static_cast<int32_t>(ms)) * 0.001f;
            while (expected > length)
                expected -= length;
            // Near a wrap the two may land on opposite sides of it; those readings are not compared.
            if (expected < 2e-3f || expected > length - 2e-3f)
                continue;
            EXPECT_NEAR(readAt(ms), expected, 1e-3) << length << " at " << ms;
        }
    }
}

TEST_F(TimerTest, TinyLoopLengthReturnsAtOnceWithinTheLength)
{
    // At 1000 s subtracting 0.00001 changes nothing in single precision.
    timer.loopAt(0.00001f);
    const float length = 0.00001f;
    auto start = std::chrono::steady_clock::now();
    for (Uint32 ms : {1000000u, 12345678u, 2000000000u}) {
        float t = readAt(ms);
        EXPECT_GT(t, 0.0f) << ms;
        EXPECT_LE(t, length) << ms;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(TimerTest, ShortIntervalsStayRightAcrossTheTickWrap)
{
    fakeTicks = 0xFFFFFC18u;  // 1000 ms before the 2^32 wrap
    timer.reset();
    EXPECT_FLOAT_EQ(readAt(0xFFFFFFFFu), 0.999f);
    EXPECT_FLOAT_EQ(readAt(0u), 1.0f);
    EXPECT_FLOAT_EQ(readAt(1500u), 2.5f);
    fakeTicks = 500;
    timer.set(2.0f);  // start point before the wrap
    EXPECT_FLOAT_EQ(readAt(600), 2.1f);
}

TEST_F(TimerTest, ActionsReachTheClock)
{
    fakeTicks = 4000;
    timer.action("reset");
    EXPECT_FLOAT_EQ(readAt(5000), 1.0f);
    timer.floatAction("set", 12.5f);
    EXPECT_FLOAT_EQ(timer.getTime(), 12.5f);
    timer.floatAction("loopAt", 10.0f);
    EXPECT_FLOAT_EQ(timer.getTime(), 2.5f);
    LogCapture log;
    EXPECT_THROW(timer.action("Reset"), ActionException);
    EXPECT_THROW(timer.action("set"), ActionException);
    EXPECT_THROW(timer.intAction("set", 1), ActionException);
    EXPECT_EQ(log.errors(), 3);
}

TEST(TimerClock, DefaultSourceIsSdlTicks)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0) << SDL_GetError();
    Timer timer;
    timer.reset();
    EXPECT_GE(timer.getTime(), 0.0f);
    EXPECT_LT(timer.getTime(), 0.5f);
    SDL_Delay(30);
    EXPECT_GE(timer.getTime(), 0.029f);
    timer.setTickSource(readFakeTicks);
    timer.setTickSource(nullptr);
    EXPECT_LT(timer.getTime(), 5.0f);
    SDL_Quit();
}

TEST(TimerClock, SystemTimeIsCalendarSeconds)
{
    const long now = static_cast<long>(std::time(nullptr));
    EXPECT_LE(std::labs(Timer::getSystemTime() - now), 1L);
}
