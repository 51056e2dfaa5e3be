#ifndef KELVO_TIMER_H
#define KELVO_TIMER_H

#include <SDL/SDL_stdinc.h>

#include "Action.inl"

// The playback clock: seconds since a start point on SDL's millisecond tick counter. Scriptable
// as "reset", "set" (float seconds) and "loopAt" (float seconds).
class Timer : public Action<Timer> {
public:
    // Milliseconds since some fixed point, wrapping after 2^32; SDL_GetTicks by default.
    typedef Uint32 (*TickSource)();

    Timer();
    ~Timer() override;

    // Replaces where ticks come from (tests drive the clock with it); null restores SDL_GetTicks.
    void setTickSource(TickSource source);

    // Playback time restarts at 0 now.
    void reset();
    // Playback time continues from seconds (whole milliseconds, truncated toward zero).
    void set(float seconds);
    // Report the time wrapped into (0, seconds]; 0 or less switches wrapping off.
    void loopAt(float seconds);
    // Seconds since the start point, negative while the start point lies ahead.
    float getTime();

    // Calendar seconds since 1970.
    static int getSystemTime();

private:
    TickSource ticks;
    Uint32 startTicks;  // tick count (ms) at which playback time 0 lies
    float loopLength;   // seconds; 0 means no wrapping
};

#endif
