#include "Timer.h"

#include <cmath>
#include <cstdint>
#include <ctime>

#include <SDL/SDL_timer.h>

Timer::Timer() : ticks(SDL_GetTicks), startTicks(0), loopLength(0.0f)
{
    setClassName("Action<Timer>");
    addAction("reset", &Timer::reset);
    addFloatAction("loopAt", &Timer::loopAt);
    addFloatAction("set", &Timer::set);
}

Timer::~Timer() = default;

void Timer::setTickSource(TickSource source)
{
    ticks = source != nullptr ? source : SDL_GetTicks;
}

void Timer::reset()
{
    startTicks = ticks();
}

void Timer::set(float seconds)
{
    // Clamped to what a signed 32-bit difference can report back, so a huge offset never reads
    // back with the wrong sign; NaN means no offset.
    const double milliseconds = static_cast<double>(seconds * 1000.0f);
    int32_t offset = 0;
    if (std::isnan(milliseconds))
        offset = 0;
    else if (milliseconds >= static_cast<double>(INT32_MAX))
        offset = INT32_MAX;
    else if (milliseconds <= static_cast<double>(INT32_MIN))
        offset = INT32_MIN;
    else
        offset = static_cast<int32_t>(milliseconds);
    startTicks = ticks() - static_cast<Uint32>(offset);
}

void Timer::loopAt(float seconds)
{
    loopLength = seconds;
}

float Timer::getTime()
{
    // The unsigned difference keeps short intervals right across the 2^32 wrap of the counter.
    const int32_t elapsed = static_cast<int32_t>(ticks() - startTicks);
    float t = static_cast<float>(elapsed) * 0.001f;
    if (loopLength > 0.0f && t > loopLength) {
        // Constant time, whatever the ratio of t to the loop length; an exact multiple reads as the
        // full length, as repeated subtraction while t > length would give.
        const double wrapped = std::fmod(static_cast<double>(t), static_cast<double>(loopLength));
        t = wrapped == 0.0 ? loopLength : static_cast<float>(wrapped);
    }
    return t;
}

int Timer::getSystemTime()
{
    return static_cast<int>(std::time(nullptr));
}
