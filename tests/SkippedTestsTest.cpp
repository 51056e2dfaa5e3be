#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestSupport.h"

// How a test binary ends when it could not test everything: ctest must be able to tell.
namespace {
// Runs the sample-file binary with KELVO_SHARED_DIR set to folder.
ProgramRun runSampleFileTests(const std::string& folder, const std::vector<std::string>& arguments)
{
    const char* saved = std::getenv("KELVO_SHARED_DIR");
    const std::string restore = saved ? saved : "";
    setenv("KELVO_SHARED_DIR", folder.c_str(), 1);
    ProgramRun run = runExecutable(SAMPLE_FILES_TEST, arguments, ".");
    if (saved)
        setenv("KELVO_SHARED_DIR", restore.c_str(), 1);
    else
        unsetenv("KELVO_SHARED_DIR");
    return run;
}
}

TEST(SkippedTestsTest, ABinaryWhoseSampleFilesAreAbsentEndsWithTheSkipStatus)
{
    const ProgramRun run = runSampleFileTests("/nonexistent/kelvo-shared", {});
    EXPECT_EQ(run.status, SKIPPED_STATUS) << run.output;
    EXPECT_NE(run.output.find("[  SKIPPED ]"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("is absent"), std::string::npos) << "the skip says why:\n" << run.output;
}

TEST(SkippedTestsTest, ABinaryThatRanAllItsTestsEndsWithZeroAndOneWithAFailureWithOne)
{
    // A test that skips nothing, whatever the samples: the empty-file test needs only the folder
    // it names, so a folder of our own with that file in it runs it.
    TempDir shared;
    writeFile(shared.file("models/invalid/empty.lwo"), "");
    ProgramRun run = runSampleFileTests(shared.path(), {"--gtest_filter=*AnEmptyFileIsCorrupted"});
    EXPECT_EQ(run.status, 0) << run.output;
    // A test that fails: the empty file is not empty.
    writeFile(shared.file("models/invalid/empty.lwo"), "JUNK");
    run = runSampleFileTests(shared.path(), {"--gtest_filter=*AnEmptyFileIsCorrupted"});
    EXPECT_EQ(run.status, 1) << run.output;
}
