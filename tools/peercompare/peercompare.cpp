// The timing side every peer program shares: `<peer> <loads> <file>...` loads each file so many
// times in this one process (the files named relative to the working folder) and prints one line
// per file as the engine's benchmark does with --files:
//   "<file>\t<warm ms>\t<cold ms>\t<triangles>" or "<file>\tfailed"
// cold is the first load of the file in the process, warm the median of the loads after it (the
// first one when there is only one). Only the load is timed; what it made is counted and freed
// after the clock stops.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Peer.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <loads> <file>...\n", argv[0]);
        return 2;
    }
    const int loads = std::max(1, std::atoi(argv[1]));
    std::unique_ptr<Peer> peer = makePeer();
    if (!peer)
        return 1;
    for (int i = 2; i < argc; ++i) {
        peer->prepare(argv[i]);
        std::vector<double> times;  // milliseconds
        bool failed = false;
        long triangles = 0;
        for (int run = 0; run < loads && !failed; ++run) {
            const auto start = std::chrono::steady_clock::now();
            failed = !peer->load(argv[i]);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (run == 0 && !failed)
                triangles = peer->triangles();
            peer->release();
        }
        if (failed) {
            std::printf("%s\tfailed\n", argv[i]);
        } else {
            const double cold = times.front();
            if (times.size() > 1)
                times.erase(times.begin());
            std::sort(times.begin(), times.end());
            std::printf("%s\t%.4f\t%.4f\t%ld\n", argv[i], times[times.size() / 2], cold, triangles);
        }
        std::fflush(stdout);
    }
    return 0;
}
