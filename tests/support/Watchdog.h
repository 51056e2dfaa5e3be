#ifndef KELVO_WATCHDOG_H
#define KELVO_WATCHDOG_H

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Guards a piece of a test that could block for ever (a read of a named pipe, say): when the
// scope has not been left after the given seconds of wall time, the whole test binary ends with
// a failure naming what was running, instead of hanging ctest until its own timeout.
class Watchdog {
public:
    Watchdog(std::string what, double seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string what;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread watcher;
};

#endif
