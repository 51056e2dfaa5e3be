#include "ResourceFile.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "ResourceLoader.h"
#include "TestSupport.h"

// While set, every read of this process gives at most so many bytes, as a network or user-space
// file system may, or a read cut short by a signal: this definition takes the place of the C
// library's for the engine's library as well. 0 reads as the system does.
static size_t shortReadLimit = 0;

extern "C" ssize_t read(int descriptor, void* buffer, size_t count)
{
    if (shortReadLimit != 0 && count > shortReadLimit)
        count = shortReadLimit;
    return syscall(SYS_read, descriptor, buffer, count);
}

namespace {
class ResourceFileTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("data/");
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }
};
}

TEST_F(ResourceFileTest, ReadsEveryByteOfAFileLargerThanOneBlockAndReleasesItWhenItGoes)
{
    std::string content;
    for (int i = 0; i < 200000; ++i)
        content.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    writeFile("data/big.bin", content);
    std::vector<uint8_t> bytes{'>'};
    {
        ResourceFile file("big.bin");
        ASSERT_TRUE(file.readToEnd(bytes));
        EXPECT_EQ(bytes.size(), content.size() + 1) << "appended to what the vector held";
        EXPECT_TRUE(file.readToEnd(bytes)) << "nothing is left after the end";
        EXPECT_EQ(bytes.size(), content.size() + 1);
    }
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.end()), content);
    // A file still held would be handed out again at its end.
    ResourceFile again("big.bin");
    std::vector<uint8_t> second;
    ASSERT_TRUE(again.readToEnd(second));
    EXPECT_EQ(second.size(), content.size());
}

// Whatever the size against the reading block, and wherever earlier reading of the same open
// name left the file, the rest of it comes whole, and nothing after it.
TEST_F(ResourceFileTest, ReadsTheRestOfAFileOfAnySize)
{
    struct Case {
        size_t size;
        size_t readBefore;  // bytes taken through the loader's stream first
    } cases[] = {{0, 0}, {1, 0}, {65535, 0}, {65536, 0}, {65537, 0}, {131072, 0}, {131072, 100}, {70000, 69999}};
    for (const Case& c : cases) {
        std::string content;
        for (size_t i = 0; i < c.size; ++i)
            content.push_back(static_cast<char>((i * 13 + i / 251) & 0xFF));
        writeFile("data/sized.bin", content);
        std::vector<uint8_t> bytes;
        {
            FILE* stream = ResourceLoader::getInstance()->readResourceFile("sized.bin");
            std::vector<char> first(c.readBefore);
            ASSERT_EQ(std::fread(first.data(), 1, first.size(), stream), c.readBefore) << c.size;
            ResourceFile file("sized.bin");
            ASSERT_TRUE(file.readToEnd(bytes)) << c.size;
        }
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content.substr(c.readBefore)) << c.size << " " << c.readBefore;
    }
}

TEST_F(ResourceFileTest, AShortReadInTheMiddleIsNotTheEnd)
{
    std::string content;
    for (size_t i = 0; i < 200000; ++i)
        content.push_back(static_cast<char>((i * 7 + i / 509) & 0xFF));
    writeFile("data/short.bin", content);
    for (size_t limit : {1000, 65535, 70000}) {
        std::vector<uint8_t> bytes;
        bool read = false;
        {
            ResourceFile file("short.bin");
            shortReadLimit = limit;
            read = file.readToEnd(bytes);
            shortReadLimit = 0;
        }
        EXPECT_TRUE(read) << limit;
        EXPECT_EQ(bytes.size(), content.size()) << limit;
        EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == content) << limit;
    }
}

TEST_F(ResourceFileTest, AnExceptionReleasesTheFileSoItReadsAgainFromItsStart)
{
    writeFile("data/a.txt", "abc");
    try {
        ResourceFile file("a.txt");
        std::vector<uint8_t> bytes;
        file.readToEnd(bytes);
        throw std::runtime_error("the reader gives up");
    } catch (const std::runtime_error&) {
    }
    ResourceFile again("a.txt");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(again.readToEnd(bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
}

TEST_F(ResourceFileTest, AFileThatCannotBeOpenedThrowsTheResourceLoadersExceptionAndHoldsNothing)
{
    LogCapture log;
    try {
        ResourceFile file("missing.txt");
        FAIL() << "a missing file opened";
    } catch (const ResourceLoaderException& e) {
        EXPECT_EQ(e.getMessage(), "KelvoEngineException::::ResourceLoaderException::readResourceFile() - Can't open "
                                  "file \"data/missing.txt\". Failed to access the file.");
    }
    EXPECT_EQ(log.errors(), 1) << "the open failure alone; no release is attempted";
}
