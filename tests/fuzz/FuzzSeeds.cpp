// Writes the hostile files of a fuzz target into a corpus folder: fuzz_seeds <target> <folder>.
#include <cstdio>
#include <string>

#include "HostileFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds <target> <folder>\n");
        return 2;
    }
    const std::string target = argv[1];
    const std::string folder = argv[2];
    for (const HostileFile& file : hostileFiles()) {
        if (file.target != target)
            continue;
        const std::string bytes = file.make();
        const std::string path = folder + "/" + file.name;
        FILE* out = std::fopen(path.c_str(), "wb");
        if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0) {
            std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
