#include "TestSupport.h"

#include <cstdio>
#include <stdexcept>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "LwoWriter.h"

#include "Exception.h"
#include "Log.h"

namespace fs = std::filesystem;

LogCapture::LogCapture()
    : errorStart(Log::getErrorCount()), warningStart(Log::getWarningCount()), savedLevel(Log::getInstance()->getLevel())
{
    Log::getInstance()->setCaptureStream(&stream);
}

LogCapture::~LogCapture()
{
    Log::getInstance()->setCaptureStream(nullptr);
    Log::getInstance()->setLevel(savedLevel);
}

std::string LogCapture::text() const
{
    return stream.str();
}

bool LogCapture::contains(const std::string& piece) const
{
    return stream.str().find(piece) != std::string::npos;
}

int LogCapture::errors() const
{
    return Log::getErrorCount() - errorStart;
}

int LogCapture::warnings() const
{
    return Log::getWarningCount() - warningStart;
}

void LogCapture::clear()
{
    stream.str("");
    errorStart = Log::getErrorCount();
    warningStart = Log::getWarningCount();
}

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "kelvo-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("cannot create a temporary folder");
    dir = buffer.data();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(dir, ignored);
}

std::string TempDir::file(const std::string& name) const
{
    return dir + "/" + name;
}

void TempDirTest::SetUp()
{
    savedCwd = fs::current_path().string();
    temp = new TempDir();
    fs::current_path(temp->path());
}

void TempDirTest::TearDown()
{
    fs::current_path(savedCwd);
    delete temp;
    temp = nullptr;
}

std::string TempDirTest::path(const std::string& name) const
{
    return temp->file(name);
}

void TempDirTest::writeFile(const std::string& name, const std::string& content) const
{
    ::writeFile(path(name), content);
}

std::string exceptionMessage(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Exception& e) {
        return e.getMessage();
    }
    return "(nothing thrown)";
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& content)
{
    fs::path target(path);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool fileExists(const std::string& path)
{
    return fs::exists(path);
}

std::string sharedDir()
{
    const char* chosen = std::getenv("KELVO_SHARED_DIR");
    std::string dir = chosen ? chosen : KELVO_SHARED_DIR;
    return !dir.empty() && fs::is_directory(dir) ? dir : std::string();
}

int testBinaryStatus(int result)
{
    const ::testing::UnitTest& tests = *::testing::UnitTest::GetInstance();
    return result == 0 && tests.skipped_test_count() > 0 ? SKIPPED_STATUS : result;
}

std::string sourceDir()
{
    return KELVO_SOURCE_DIR;
}

ProgramRun runProgram(const std::vector<std::string>& arguments, const std::string& folder)
{
    return runExecutable(KELVO_PROGRAM, arguments, folder);
}

ProgramRun runExecutable(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& folder)
{
    ProgramRun run{-1, ""};
    if (program.empty())
        return run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return run;
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    return run;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double readerSecondsLimit()
{
#if defined(__SANITIZE_ADDRESS__)
    return 4.0;
#else
    return 1.0;
#endif
}

std::string::size_type foundAt(const std::string& text, const std::string& piece, std::string::size_type from)
{
    std::string::size_type found = text.find(piece, from);
    EXPECT_NE(found, std::string::npos) << "missing: " << piece << "\n" << text;
    return found;
}

std::string uvMappedSquareLwo(const std::string& surface, const std::string& picture, float half)
{
    LwoWriter w;
    w.chunk("TAGS").s0(surface).end();
    w.chunk("LAYR").u2(1).u2(0).vec12(0, 0, 0).s0("").end();
    w.chunk("PNTS").vec12(-half, -half, 0).vec12(half, -half, 0).vec12(half, half, 0).vec12(-half, half, 0).end();
    w.chunk("VMAP").id("TXUV").u2(2).s0("uv").vx(0).f4(0).f4(0).vx(1).f4(1).f4(0).vx(2).f4(1).f4(1).vx(3).f4(0).f4(1).end();
    w.chunk("POLS").id("FACE").u2(4).vx(0).vx(1).vx(2).vx(3).end();
    w.chunk("PTAG").id("SURF").vx(0).u2(0).end();
    w.chunk("CLIP").u4(1).subChunk("STIL").s0(picture).end().end();
    w.chunk("SURF").s0(surface).s0("");
    w.subChunk("COLR").vec12(1, 1, 1).vx(0).end();
    w.subChunk("BLOK");
    w.subChunk("IMAP").s0("\x80").subChunk("CHAN").id("COLR").end().end();
    w.subChunk("PROJ").u2(5).end().subChunk("IMAG").vx(1).end().subChunk("WRAP").u2(1).u2(1).end();
    w.subChunk("VMAP").s0("uv").end();
    w.end();
    w.end();
    return w.file();
}
