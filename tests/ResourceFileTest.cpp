#include "ResourceFile.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "FuzzTarget.h"
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

TEST_F(ResourceFileTest, ReadsEveryByteOfAFileLargerThanOneBlockAndClosesItWhenItGoes)
{
    std::string content;
    for (int i = 0; i < 200000; ++i)
        content.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    writeFile("data/big.bin", content);
    std::vector<uint8_t> bytes{'>'};
    const int descriptors = openDescriptors();
    {
        ResourceFile file("big.bin");
        ASSERT_TRUE(file.readToEnd(bytes));
        EXPECT_EQ(bytes.size(), content.size() + 1) << "appended to what the vector held";
        EXPECT_TRUE(file.readToEnd(bytes)) << "nothing is left after the end";
        EXPECT_EQ(bytes.size(), content.size() + 1);
    }
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.end()), content);
    EXPECT_EQ(openDescriptors(), descriptors);
}

// Two readers of one name, one inside the other's life, as a scene file and a picture it names
// twice may be: each has a descriptor of its own, reads the whole file, and closes only its own.
TEST_F(ResourceFileTest, TwoFilesOfOneNameEachReadItWholeAndNeitherClosesTheOther)
{
    writeFile("data/a.bin", "abcdef");
    const int descriptors = openDescriptors();
    {
        ResourceFile outer("a.bin");
        std::vector<uint8_t> bytes;
        {
            ResourceFile inner("a.bin");
            ASSERT_TRUE(inner.readToEnd(bytes));
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcdef");
        }
        bytes.clear();
        ASSERT_TRUE(outer.readToEnd(bytes)) << "the inner reader closed the outer one's file";
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abcdef");
        // A moved file is closed once, by the object it moved to.
        Result<ResourceFile> moved = ResourceLoader::readResourceFile("a.bin");
        ASSERT_TRUE(moved);
        ResourceFile taken = std::move(moved).orThrow<ResourceLoaderException>();
        bytes.clear();
        ASSERT_TRUE(taken.readToEnd(bytes));
        EXPECT_EQ(bytes.size(), 6u);
    }
    EXPECT_EQ(openDescriptors(), descriptors);
}

// Whatever the size against the reading block, the file comes whole, and nothing after it.
TEST_F(ResourceFileTest, ReadsAFileOfAnySize)
{
    for (size_t size : {0, 1, 65535, 65536, 65537, 131072, 200001}) {
        std::string content;
        for (size_t i = 0; i < size; ++i)
            content.push_back(static_cast<char>((i * 13 + i / 251) & 0xFF));
        writeFile("data/sized.bin", content);
        std::vector<uint8_t> bytes;
        ResourceFile file("sized.bin");
        ASSERT_TRUE(file.readToEnd(bytes)) << size;
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content) << size;
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

TEST_F(ResourceFileTest, AnExceptionClosesTheFile)
{
    writeFile("data/a.txt", "abc");
    const int descriptors = openDescriptors();
    try {
        ResourceFile file("a.txt");
        std::vector<uint8_t> bytes;
        file.readToEnd(bytes);
        throw std::runtime_error("the reader gives up");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(openDescriptors(), descriptors);
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
    EXPECT_EQ(log.errors(), 1) << "the open failure alone";
}
