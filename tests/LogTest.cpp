#include "Log.h"
#include "StringUtil.h"

#include <gtest/gtest.h>

#include "Exception.h"
#include "TestSupport.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

TEST(SourceBaseName, SplitsAtBackslashesOnly)
{
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\kelvo\\src\\Keyframer\\Keyframer.cpp", "Keyframer"},
        {"C:\\kelvo\\inc\\keyframer/TCBInterpolator.inl", "keyframer/TCBInterpolator"},
        {"C:\\kelvo\\src\\text\\../Action.inl", "../Action"},
        {"plain", "plain"},
        {"folder.d\\name", "name"},
        {"Environment.cpp", "Environment"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sourceBaseName(c.path), c.name) << c.path;
}

TEST(LogContext, LowerCasesTheBaseNameAndNamesTheLevel)
{
    EXPECT_EQ(LogContext("C:\\src\\Keyframer\\Keyframer.cpp", LogLevel::error).getSource(), "keyframer");
    const char* names[] = {"error", "warning", "info", "debug", "debug_fdraw", "unknown"};
    for (int level = 0; level < 6; ++level)
        EXPECT_EQ(LogContext("x.cpp", static_cast<LogLevel>(level)).getLevelName(), names[level]);
    EXPECT_EQ(LogContext("x.cpp", LogLevel::none).getLevelName(), "unknown");
}

TEST(Log, WritesHeaderPiecesAndLineBreak)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::info);
    *Log::getInstance() << LogContext("Environment.cpp", LogLevel::info) << "initialize() - " << 42 << " " << 7L << " " << 0.5
                        << " " << std::string("s") << logEnd;
    EXPECT_EQ(log.text(), "[info] environment::initialize() - 42 7 0.5 s\n");
}

TEST(Log, LineHeaderOfAnEngineFileNamesItsBaseName)
{
    LogCapture log;
    *Log::getInstance() << LogContext(LOG_SOURCE, LogLevel::info) << "x" << logEnd;
    EXPECT_EQ(log.text(), "[info] logtest::x\n");
}

TEST(Log, FilteredMessagesWriteNothingButAreCounted)
{
    struct Case {
        int threshold;
        int level;
        bool written;
        int errors;
        int warnings;
    } cases[] = {
        {2, 3, false, 0, 0}, {0, 1, false, 0, 1}, {0, 0, true, 1, 0}, {2, 1, true, 0, 1},
        {4, 4, true, 0, 0},  {6, 7, false, 0, 0}, {7, 7, true, 0, 0},
    };
    for (const Case& c : cases) {
        LogCapture log;
        Log::getInstance()->setLevel(static_cast<LogLevel>(c.threshold));
        *Log::getInstance() << LogContext("a.cpp", static_cast<LogLevel>(c.level)) << "m" << logEnd;
        EXPECT_EQ(!log.text().empty(), c.written) << c.threshold << "/" << c.level;
        EXPECT_EQ(log.errors(), c.errors);
        EXPECT_EQ(log.warnings(), c.warnings);
    }
}

namespace {
int piecesMade = 0;

// A piece of a message that counts how often it was made.
std::string madePiece(const std::string& text)
{
    ++piecesMade;
    return text;
}
}

TEST(Log, AMessageBelowTheThresholdMakesNoneOfItsPiecesYetCountsErrorsAndWarnings)
{
    struct Case {
        int threshold;
        int level;
        bool written;
        int errors;
        int warnings;
    } cases[] = {
        {2, 3, false, 0, 0}, {2, 4, false, 0, 0}, {0, 1, false, 0, 1}, {-1, 0, false, 1, 0},
        {0, 0, true, 1, 0},  {2, 1, true, 0, 1},  {4, 4, true, 0, 0},  {6, 7, false, 0, 0},
    };
    for (const Case& c : cases) {
        LogCapture log;
        Log::getInstance()->setLevel(static_cast<LogLevel>(c.threshold));
        piecesMade = 0;
        KELVO_LOG(static_cast<LogLevel>(c.level)) << madePiece("m") << " " << piecesMade << logEnd;
        const std::string expected = c.written ? "[" + LogContext("x", static_cast<LogLevel>(c.level)).getLevelName() + "] logtest::m 1\n" : "";
        EXPECT_EQ(log.text(), expected) << c.threshold << "/" << c.level;
        EXPECT_EQ(piecesMade, c.written ? 1 : 0) << c.threshold << "/" << c.level;
        EXPECT_EQ(log.errors(), c.errors) << c.threshold << "/" << c.level;
        EXPECT_EQ(log.warnings(), c.warnings) << c.threshold << "/" << c.level;
    }
}

TEST(Log, AMessageStatementKeepsTheElseOfTheIfAroundIt)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::info);
    for (bool first : {true, false}) {
        if (first)
            KELVO_LOG(LogLevel::debug) << "hidden" << logEnd;
        else
            KELVO_LOG(LogLevel::info) << "shown" << logEnd;
    }
    EXPECT_EQ(log.text(), "[info] logtest::shown\n");
}

TEST(Log, UnknownLevelHeader)
{
    LogCapture log;
    Log::getInstance()->setLevel(static_cast<LogLevel>(7));
    *Log::getInstance() << LogContext("a.cpp", static_cast<LogLevel>(7)) << "m" << logEnd;
    EXPECT_EQ(log.text(), "[unknown] a::m\n");
}

TEST(Log, InfoReportsTotalsAsDifferences)
{
    LogCapture log;
    Log::getInstance()->setLevel(LogLevel::info);
    int errors = Log::getErrorCount();
    int warnings = Log::getWarningCount();
    *Log::getInstance() << LogContext("a.cpp", LogLevel::error) << "e" << logEnd;
    *Log::getInstance() << LogContext("a.cpp", LogLevel::warning) << "w" << logEnd;
    *Log::getInstance() << LogContext("a.cpp", LogLevel::warning) << "w" << logEnd;
    EXPECT_EQ(Log::getInstance()->getInfo(), "Log::getInfo() - Total of " + std::to_string(errors + 1) +
                                                  " errors and " + std::to_string(warnings + 2) + " warnings.");
    EXPECT_EQ(log.errors(), 1);
    EXPECT_EQ(log.warnings(), 2);
}

TEST(Log, RegisteredSourcesAreListedOnceInOrder)
{
    Log::getInstance()->registerSource("C:\\x\\Zeta.cpp");
    Log::getInstance()->registerSource("zeta.h");
    std::string list = Log::getInstance()->listSources();
    EXPECT_NE(list.find("logtest"), std::string::npos);
    EXPECT_EQ(list.find("zeta"), list.rfind("zeta"));
    EXPECT_EQ(list.substr(list.size() - 4), "zeta");
    EXPECT_EQ(list.find(", , "), std::string::npos);
}

class LogFile : public TempDirTest {
protected:
    void TearDown() override
    {
        // Leave the shared log as the other tests expect it: file output on, file closed.
        Log::getInstance()->setFileOutput(false);
        Log::getInstance()->setFileOutput(true);
        Log::getInstance()->setFileOutput(false);
        TempDirTest::TearDown();
    }
};

TEST_F(LogFile, InitializeOpensAndTruncatesAndEveryLineIsFlushed)
{
    writeFile("kelvo.log", "old contents\n");
    LogCapture log;
    Log::getInstance()->setFileOutput(true);
    Log::getInstance()->initialize();
    *Log::getInstance() << LogContext("a.cpp", LogLevel::info) << "hello" << logEnd;
    Log::getInstance()->initialize();  // a second call reports again without reopening
    *Log::getInstance() << LogContext("a.cpp", LogLevel::debug) << "filtered" << logEnd;
    EXPECT_EQ(readFile("kelvo.log"), "Log::initialize() - Log file \"kelvo.log\" opened.\n"
                                     "[info] a::hello\n"
                                     "Log::initialize() - Log file \"kelvo.log\" opened.\n");
    EXPECT_EQ(log.errors(), 0);
}

TEST_F(LogFile, NoFileOutputCreatesNoFileAndWritesNoStatusLine)
{
    Log::getInstance()->setFileOutput(false);
    LogCapture log;
    Log::getInstance()->initialize();
    *Log::getInstance() << LogContext("a.cpp", LogLevel::info) << "x" << logEnd;
    EXPECT_FALSE(fileExists("kelvo.log"));
    EXPECT_EQ(log.text(), "[info] a::x\n");
}

TEST_F(LogFile, SwitchingFileOutputBackOnTruncatesAgain)
{
    Log::getInstance()->setFileOutput(false);
    Log::getInstance()->setFileOutput(true);
    *Log::getInstance() << LogContext("a.cpp", LogLevel::info) << "first" << logEnd;
    Log::getInstance()->setFileOutput(false);
    *Log::getInstance() << LogContext("a.cpp", LogLevel::info) << "not in the file" << logEnd;
    Log::getInstance()->setFileOutput(true);
    EXPECT_EQ(readFile("kelvo.log"), "Log::initialize() - Log file \"kelvo.log\" opened.\n");
}

TEST(ExceptionBase, MessageNamesTheClassChain)
{
    InvalidParameterValueException e("x");
    EXPECT_EQ(e.getMessage(), "KelvoEngineException::::InvalidParameterValueException::x");
    EXPECT_STREQ(e.what(), "KelvoEngineException::::InvalidParameterValueException::x");
    Exception base;
    base.addSource("Outer");
    base.appendMessage(e.getMessage());
    EXPECT_EQ(base.getMessage(), "KelvoEngineException::::Outer::KelvoEngineException::::InvalidParameterValueException::x");
}

TEST(ExceptionBase, CaughtAsStandardException)
{
    try {
        throw InvalidParameterValueException("y");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "KelvoEngineException::::InvalidParameterValueException::y");
    }
}

TEST(Quoting, ShortValuesAreQuotedWholeAndLongOnesByTheirBeginningAndLength)
{
    const std::string limit(200, 'a');
    struct Case {
        std::string value;
        std::string quoted;
        std::string clipped;
    } cases[] = {
        {"", "\"\"", ""},
        {"scene.load", "\"scene.load\"", "scene.load"},
        {limit, "\"" + limit + "\"", limit},
        {limit + "b", "\"" + limit + "...\" (201 characters)", limit + "... (201 characters)"},
        {limit + std::string(52428600, 'b'), "\"" + limit + "...\" (52428800 characters)",
         limit + "... (52428800 characters)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(quoted(c.value), c.quoted) << c.value.size();
        EXPECT_EQ(clipped(c.value), c.clipped) << c.value.size();
    }
}
