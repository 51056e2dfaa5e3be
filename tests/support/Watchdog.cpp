#include "Watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

Watchdog::Watchdog(std::string what, double seconds) : what(std::move(what))
{
    watcher = std::thread([this, seconds] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!finished.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return done; })) {
            std::fprintf(stderr, "Watchdog: \"%s\" still running after %g s; ending the test binary\n",
                         this->what.c_str(), seconds);
            std::fflush(stderr);
            std::_Exit(EXIT_FAILURE);
        }
    });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    finished.notify_one();
    watcher.join();
}
