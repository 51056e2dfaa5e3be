#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "Program.h"

// The start-up heap, in this test binary's own process: its allocator is the one the program's
// start-up tunes.
namespace {
const size_t HEAP_BYTES = static_cast<size_t>(64) << 20;
const size_t LARGE_BLOCK = static_cast<size_t>(16) << 20;  // far above the allocator's own mapping threshold

// The VmFlags line of the mapping of this process that holds address, or "" when none does.
std::string flagsOfMappingAt(const void* address)
{
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t from = 0;
        uintptr_t to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-' && line.find(' ') != std::string::npos &&
            line.compare(0, 8, "VmFlags:") != 0) {
            inside = from <= at && at < to;
            continue;
        }
        if (inside && line.compare(0, 8, "VmFlags:") == 0)
            return line;
    }
    return "";
}

bool hugePagesAdvised(const void* address)
{
    return flagsOfMappingAt(address).find(" hg") != std::string::npos;
}
}

TEST(ProgramHeapTest, LargeBlocksComeFromTheHugePageHeapAndStayThereWhenFreed)
{
    if (!Program::prepareHeap(HEAP_BYTES))
        GTEST_SKIP() << "this allocator keeps no heap to prepare (a sanitizer's)";

    // Without the preparation a block this large is a mapping of its own, never advised.
    unsigned char* block = static_cast<unsigned char*>(std::malloc(LARGE_BLOCK));
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, LARGE_BLOCK);
    EXPECT_TRUE(hugePagesAdvised(block)) << flagsOfMappingAt(block);
    EXPECT_TRUE(hugePagesAdvised(block + LARGE_BLOCK - 1)) << flagsOfMappingAt(block + LARGE_BLOCK - 1);

    // Freed, the block's pages stay the heap's, neither unmapped nor trimmed away, so the next
    // large block is served from the pages already touched.
    // Kept as a number the compiler does not trace back to the block once it is freed.
    volatile uintptr_t freed = reinterpret_cast<uintptr_t>(block);
    std::free(block);
    EXPECT_TRUE(hugePagesAdvised(reinterpret_cast<const void*>(freed))) << "the freed block's pages were given back";
    void* again = std::malloc(LARGE_BLOCK);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(hugePagesAdvised(again)) << flagsOfMappingAt(again);
    std::free(again);
}
