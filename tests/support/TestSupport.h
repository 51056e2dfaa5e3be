#ifndef KELVO_TESTSUPPORT_H
#define KELVO_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "Log.h"

// Captures every log line written while it lives, and the error and warning totals since it began.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const;
    bool contains(const std::string& piece) const;
    int errors() const;    // errors counted since construction
    int warnings() const;  // warnings counted since construction
    void clear();

private:
    std::ostringstream stream;
    int errorStart;
    int warningStart;
    LogLevel savedLevel;
};

// A fresh temporary folder, removed with everything in it at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const;  // path of name inside the folder

private:
    std::string dir;
};

// Fixture: each test runs in a temporary working folder of its own.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& name) const;  // path inside the working folder
    void writeFile(const std::string& name, const std::string& content) const;

    TempDir* temp = nullptr;

private:
    std::string savedCwd;
};

// An LWO2 object of one square, half units from the origin on each side, of the one surface
// named surface, white, whose block maps the clip of picture (a path as the file names it) by the
// square's UV map "uv".
std::string uvMappedSquareLwo(const std::string& surface, const std::string& picture, float half);

// Position of piece in text from from on (a log, a program's output); fails the calling test,
// showing the whole text, when piece is missing, and returns npos.
std::string::size_type foundAt(const std::string& text, const std::string& piece, std::string::size_type from = 0);

// How much more processor time four times the input may take in the scaling tests: a linear
// path takes four times, a quadratic one sixteen. The margin above four is for what a four times
// larger input costs beyond its work (caches it no longer fits, fresh pages) on a busy machine.
const double FOUR_TIMES_INPUT_GROWTH_LIMIT = 8.0;

// Seconds of processor time the calling thread has used: work done, unlike the wall clock, not
// stretched by other processes of a busy machine.
double threadCpuSeconds();

// Processor seconds a reader may spend on one hostile input before it counts as stalled: one in the
// plain build; AddressSanitizer and UndefinedBehaviorSanitizer make the same work several times
// slower, so their build allows four.
double readerSecondsLimit();

// The message of the engine exception call throws, or "(nothing thrown)".
std::string exceptionMessage(const std::function<void()>& call);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);

// The folder of third-party sample files (../shared beside the project unless the build or the
// environment variable KELVO_SHARED_DIR names another), or "" when it is absent.
std::string sharedDir();

// The exit status ctest counts as "skipped" for every test binary here.
const int SKIPPED_STATUS = 77;
// A test binary's exit status from RUN_ALL_TESTS's result: SKIPPED_STATUS when it passed with
// tests skipped, so a run that could not test something never shows as passed.
int testBinaryStatus(int result);
std::string sourceDir();

// The program run as a subprocess in folder, standard output and error captured together.
struct ProgramRun {
    int status;          // exit status, or -1 when it did not exit normally
    std::string output;  // standard output and standard error
};
ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& folder);
// The same for any executable.
ProgramRun runExecutable(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder);

#endif
