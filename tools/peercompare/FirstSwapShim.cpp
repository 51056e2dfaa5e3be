// Preloaded into a program (LD_PRELOAD) by firstframe: when the program's first
// SDL_GL_SwapBuffers returns, writes the monotonic clock's nanoseconds (one int64_t) to the file
// descriptor named by FIRSTSWAP_FD and ends the process at once. The program itself is unchanged.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_GL_SwapBuffers(void)
{
    using Swap = void (*)(void);
    const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (real)
        real();
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t nanoseconds = static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    const char* fd = std::getenv("FIRSTSWAP_FD");
    if (fd && write(std::atoi(fd), &nanoseconds, sizeof nanoseconds) != sizeof nanoseconds)
        _exit(3);
    _exit(0);
}
