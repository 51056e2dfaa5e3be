#include "ResourceLoader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FuzzTarget.h"
#include "TestSupport.h"

namespace {
class ResourceLoaderTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResourceLoader::setResourcePath("");
    }
    void TearDown() override
    {
        ResourceLoader::setResourcePath("");
        TempDirTest::TearDown();
    }

    ResourceLoader* loader = ResourceLoader::getInstance();
};

// The whole file name names, read through the loader; "<failed: message>" when it cannot be opened.
std::string readAll(const std::string& name)
{
    Result<ResourceFile> file = ResourceLoader::readResourceFile(name);
    if (!file)
        return "<failed: " + file.failure() + ">";
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(file->readToEnd(bytes)) << name;
    return std::string(bytes.begin(), bytes.end());
}
}

TEST_F(ResourceLoaderTest, GetInstanceReturnsTheOneLoader)
{
    EXPECT_NE(loader, nullptr);
    EXPECT_EQ(ResourceLoader::getInstance(), loader);
}

TEST_F(ResourceLoaderTest, NamesAreJoinedToTheResourcePath)
{
    writeFile("data/a.txt", "data");
    ResourceLoader::setResourcePath("data/");
    EXPECT_EQ(readAll("a.txt"), "data");
    EXPECT_EQ(ResourceLoader::getResourceFilename("a.txt"), "data/a.txt");
}

TEST_F(ResourceLoaderTest, AnEmptyResourcePathOpensRelativeToTheWorkingFolder)
{
    writeFile("a.txt", "here");
    EXPECT_EQ(readAll("a.txt"), "here");
    EXPECT_EQ(ResourceLoader::getResourceFilename("a.txt"), "a.txt");
}

// Each file opened is its own: a name read while it is open elsewhere reads from its start, and
// the path is joined anew, so a changed resource folder is seen at once.
TEST_F(ResourceLoaderTest, EveryOpeningOfANameIsAFileOfItsOwnFromItsStart)
{
    writeFile("old/a.txt", "old");
    writeFile("new/a.txt", "new");
    ResourceLoader::setResourcePath("old/");
    Result<ResourceFile> first = ResourceLoader::readResourceFile("a.txt");
    ASSERT_TRUE(first);
    EXPECT_EQ(readAll("a.txt"), "old");
    ResourceLoader::setResourcePath("new/");
    EXPECT_EQ(readAll("a.txt"), "new");
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(first->readToEnd(bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
}

TEST_F(ResourceLoaderTest, OpenFailuresLogFailAndLeaveNothingOpen)
{
    std::filesystem::create_directories(path("data/folder"));
    // Opening a named pipe waits for the other end: a loader that opened first would hang here.
    ASSERT_EQ(mkfifo(path("data/pipe").c_str(), 0644), 0);
    ResourceLoader::setResourcePath("data/");
    struct Case {
        const char* name;
        const char* message;
    } cases[] = {
        {"missing.txt", "readResourceFile() - Can't open file \"data/missing.txt\". Failed to access the file."},
        {"folder", "readResourceFile() - Can't open file \"data/folder\". Failed to access the file."},
        {"pipe", "readResourceFile() - Can't open file \"data/pipe\". Failed to access the file."},
        {"", "readResourceFile() - Can't open file \"data/\". Failed to access the file."},
    };
    const int descriptors = openDescriptors();
    for (const Case& c : cases) {
        LogCapture log;
        Result<ResourceFile> file = ResourceLoader::readResourceFile(c.name);
        EXPECT_FALSE(file) << "opened " << c.name;
        EXPECT_EQ(file.failure(), c.message);
        EXPECT_TRUE(log.contains(std::string("[error] resourceloader::") + c.message)) << log.text();
        EXPECT_EQ(log.errors(), 1) << c.name;
        EXPECT_EQ(openDescriptors(), descriptors) << c.name;
    }
}

TEST_F(ResourceLoaderTest, ExistenceNeedsARegularFile)
{
    writeFile("data/a.txt", "x");
    std::filesystem::create_directories(path("data/folder"));
    ASSERT_EQ(mkfifo(path("data/pipe").c_str(), 0644), 0);
    ResourceLoader::setResourcePath("data/");
    LogCapture log;
    EXPECT_TRUE(ResourceLoader::resourceExists("a.txt"));
    EXPECT_FALSE(ResourceLoader::resourceExists("folder"));
    EXPECT_FALSE(ResourceLoader::resourceExists("pipe"));
    EXPECT_FALSE(ResourceLoader::resourceExists(""));
    const int descriptors = openDescriptors();
    EXPECT_FALSE(ResourceLoader::resourceExists("missing.txt"));
    EXPECT_EQ(log.errors(), 0);
    // Probing leaves nothing open.
    EXPECT_TRUE(ResourceLoader::resourceExists("a.txt"));
    EXPECT_EQ(openDescriptors(), descriptors);
}

TEST_F(ResourceLoaderTest, FilenamesOfFoldersAndMissingFilesThrowWithoutLogging)
{
    std::filesystem::create_directories(path("data/folder"));
    ASSERT_EQ(mkfifo(path("data/pipe").c_str(), 0644), 0);
    writeFile("data/file", "x");
    ResourceLoader::setResourcePath("data/");
    struct Case {
        const char* name;
        const char* reason;
    } cases[] = {
        {"folder", "not a regular file"}, {"pipe", "not a regular file"}, {"missing.xml", "file not found"},
        {"", "not a regular file"},       {"file/x.xml", "file not found"},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        LogCapture log;
        try {
            ResourceLoader::getResourceFilename(name);
            ADD_FAILURE() << "accepted " << name;
        } catch (const ResourceLoaderException& e) {
            EXPECT_EQ(e.getMessage(), std::string("KelvoEngineException::::ResourceLoaderException::getResourceFilename() "
                                                  "- File \"data/") +
                                          name + "\" is not a valid resource! Reason: " + c.reason + ".");
        }
        EXPECT_EQ(log.text(), "");
        EXPECT_EQ(log.errors(), 0);
    }
}

TEST_F(ResourceLoaderTest, BackslashesInJoinedPathsSeparateFolders)
{
    writeFile("data/sub/a.txt", "deep");
    ResourceLoader::setResourcePath("data\\");
    EXPECT_TRUE(ResourceLoader::resourceExists("sub\\a.txt"));
    EXPECT_EQ(ResourceLoader::getResourceFilename("sub\\a.txt"), "data/sub/a.txt");
    EXPECT_EQ(readAll("sub\\a.txt"), "deep");
}

TEST_F(ResourceLoaderTest, TheReasonAFileCannotBeReadIsNamed)
{
    writeFile("a.txt", "x");
    std::filesystem::create_directories(path("folder"));
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0644), 0);
    struct Case {
        const char* path;
        const char* reason;
        const char* description;
    } cases[] = {
        {"a.txt", "", ""},
        {"missing.txt", "file not found", "File \"missing.txt\": file not found."},
        {"a.txt/b.txt", "file not found", "File \"a.txt/b.txt\": file not found."},
        {"folder", "not a regular file", "File \"folder\": not a regular file."},
        {"pipe", "not a regular file", "File \"pipe\": not a regular file."},
        {"/dev/null", "not a regular file", "File \"/dev/null\": not a regular file."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResourceLoader::whyUnreadable(c.path), c.reason) << c.path;
        EXPECT_EQ(ResourceLoader::describeUnreadable(c.path), c.description) << c.path;
    }
}

TEST_F(ResourceLoaderTest, AFileItsReaderMayNotReadIsNamedAsSuch)
{
    // Root reads every file, so the question is asked by a child that has given that up.
    writeFile("secret.txt", "x");
    ASSERT_EQ(chmod(path("secret.txt").c_str(), 0), 0);
    ASSERT_EQ(chmod(temp->path().c_str(), 0755), 0);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        const std::string reason = ResourceLoader::whyUnreadable(path("secret.txt"));
        const bool exists = ResourceLoader::resourceExists(path("secret.txt"));
        const std::string answer = reason + (exists ? " but exists" : "");
        _exit(write(fds[1], answer.data(), answer.size()) == static_cast<ssize_t>(answer.size()) ? 0 : 3);
    }
    close(fds[1]);
    std::string answer;
    char buffer[256];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, static_cast<size_t>(got));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(answer, "permission denied");
}

TEST_F(ResourceLoaderTest, ANameThatDiffersFromItsFileInCaseAloneFindsTheFileAndTellsWhichOnce)
{
    writeFile("data/IMAGE1.jpg", "upper");
    writeFile("data/Mixed.Jpg", "mixed");
    writeFile("data/Maps/Wood.JPG", "wood");
    writeFile("data/exact.txt", "lower");
    writeFile("data/EXACT.txt", "upper");
    ResourceLoader::setResourcePath("data/");
    struct Case {
        const char* name;
        const char* asked;  // the joined path
        const char* file;   // the joined path found
        const char* content;
    } cases[] = {
        {"image1.jpg", "data/image1.jpg", "data/IMAGE1.jpg", "upper"},
        {"IMAGE1.JPG", "data/IMAGE1.JPG", "data/IMAGE1.jpg", "upper"},
        {"mixed.jpg", "data/mixed.jpg", "data/Mixed.Jpg", "mixed"},
        {"maps/wood.jpg", "data/maps/wood.jpg", "data/Maps/Wood.JPG", "wood"},
        {"MAPS\\wood.jpg", "data/MAPS/wood.jpg", "data/Maps/Wood.JPG", "wood"},
        // The exact name comes first, and then nothing is said.
        {"exact.txt", "data/exact.txt", "data/exact.txt", "lower"},
        {"EXACT.txt", "data/EXACT.txt", "data/EXACT.txt", "upper"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The line a use of the file logs, by the operation that used it.
        auto used = [&](const std::string& operation) {
            return c.asked == std::string(c.file)
                       ? std::string()
                       : "[info] resourceloader::" + operation + "() - \"" + c.asked + "\" does not exist; \"" +
                             c.file + "\", whose name matches it ignoring case, is used instead.\n";
        };
        {
            // Probing for a file is no use of it.
            LogCapture log;
            EXPECT_TRUE(ResourceLoader::resourceExists(c.name));
            EXPECT_EQ(log.text(), "");
        }
        {
            LogCapture log;
            EXPECT_EQ(ResourceLoader::getResourceFilename(c.name), c.file);
            EXPECT_EQ(log.text(), used("getResourceFilename"));
        }
        LogCapture log;
        EXPECT_EQ(readAll(c.name), c.content);
        EXPECT_EQ(log.text(), used("readResourceFile"));
    }
}

TEST_F(ResourceLoaderTest, SeveralFilesMatchingANameIgnoringCaseAreNamedInAWarningAndNoneIsUsed)
{
    writeFile("data/Twin.txt", "a");
    writeFile("data/TWIN.txt", "b");
    ResourceLoader::setResourcePath("data/");
    const std::string warning = "[warning] resourceloader::resolveCase() - \"data/twin.txt\" does not exist and several "
                                "files match it ignoring case: \"data/TWIN.txt\", \"data/Twin.txt\". None of them is used.\n";
    {
        LogCapture log;
        EXPECT_FALSE(ResourceLoader::resourceExists("twin.txt"));
        EXPECT_EQ(log.text(), warning);
    }
    {
        LogCapture log;
        EXPECT_THROW(ResourceLoader::getResourceFilename("twin.txt"), ResourceLoaderException);
        EXPECT_EQ(log.text(), warning);
    }
    LogCapture log;
    EXPECT_EQ(readAll("twin.txt"),
              "<failed: readResourceFile() - Can't open file \"data/twin.txt\". Failed to access the file.>");
    EXPECT_EQ(log.warnings(), 1);
    EXPECT_TRUE(log.contains(warning)) << log.text();
}
