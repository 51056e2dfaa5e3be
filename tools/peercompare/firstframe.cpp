// `firstframe <shim.so> <program> [arguments...]`: starts the program with the shim preloaded and
// prints the milliseconds from just before its start (fork and exec) to its first
// SDL_GL_SwapBuffers returning, or "noswap" when it ended without one. The program's output goes
// where this program's goes.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {
int64_t nowNanoseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <shim.so> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    int channel[2];
    if (pipe(channel) != 0)
        return 1;
    const int64_t start = nowNanoseconds();
    const pid_t child = fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        close(channel[0]);
        setenv("LD_PRELOAD", argv[1], 1);
        setenv("FIRSTSWAP_FD", std::to_string(channel[1]).c_str(), 1);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    close(channel[1]);
    int64_t swapped = 0;
    const ssize_t got = read(channel[0], &swapped, sizeof swapped);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof swapped) {
        std::printf("noswap\n");
        return 1;
    }
    std::printf("%.3f\n", static_cast<double>(swapped - start) / 1e6);
    return 0;
}
