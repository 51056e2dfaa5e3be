#ifndef KELVO_LOG_H
#define KELVO_LOG_H

#include <fstream>
#include <iosfwd>
#include <map>
#include <string>

// The part of a source path after its last backslash and before its last '.', unchanged in case.
std::string sourceBaseName(const std::string& path);

// The levels of a message, most urgent first; the log writes a message whose level is at most its
// threshold (--loglevel, whose numbers are the values here).
enum class LogLevel : int {
    none = -1,  // as a threshold only: nothing is written (errors and warnings are still counted)
    error = 0,
    warning = 1,
    info = 2,   // the default threshold
    debug = 3,
    frame = 4,  // per-frame drawing detail
};

// Source and level of one log message; passed by value at the start of every message.
class LogContext {
public:
    LogContext(const std::string& sourcePath, LogLevel level);
    LogContext(const LogContext& other) = default;

    std::string getSource() const;
    std::string getLevelName() const;
    LogLevel getLevel() const { return level; }

private:
    std::string source;  // lower-cased base name of the writing source file
    LogLevel level;
};

// Marker that ends a message.
struct LogEnd {};
extern const LogEnd logEnd;

// The single leveled message log: every line goes to standard output and, unless switched off,
// to "kelvo.log" in the working directory.
class Log {
public:
    // Created on the first call (during static initialisation); deleted only by the shutdown routine.
    static Log* getInstance();
    static void deleteInstance();

    void initialize();
    void setLevel(LogLevel level);
    LogLevel getLevel() const;
    void setFileOutput(bool on);
    std::string getInfo() const;
    void registerSource(const std::string& sourcePath);
    std::string listSources() const;
    bool isLoggable() const;
    // Whether a message of level would be written; it becomes the current message level. An
    // error or warning below the threshold is counted here, as starting its message would count
    // it, so that a message that is not written needs none of its pieces made (see KELVO_LOG).
    bool admits(LogLevel level);

    Log& operator<<(const LogContext& context);
    Log& operator<<(const char* text);
    Log& operator<<(const std::string& text);
    Log& operator<<(int value);
    Log& operator<<(long value);
    Log& operator<<(double value);
    Log& operator<<(const LogEnd& end);

    // Totals of every error and warning message since the log was created, written or filtered.
    static int getErrorCount();
    static int getWarningCount();

    // Test hook: a third output that receives everything standard output receives; not owned.
    void setCaptureStream(std::ostream* stream);

    ~Log();

private:
    Log();
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    template <typename T> void writePiece(const T& piece);
    template <typename T> void writeUnfiltered(const T& piece, bool toFile);
    void flush();

    static Log* instance;
    static int errorCount;
    static int warningCount;

    LogLevel threshold;
    std::map<std::string, std::string> sources;
    std::ofstream file;
    LogLevel currentLevel;
    bool fileOutput;
    std::ostream* capture;  // not owned; null unless a test captures
};

// One static object per source file that logs; registers the file with the log before main runs.
class LogSourceRegistration {
public:
    explicit LogSourceRegistration(const std::string& sourcePath);
};

// The path every log statement and registration passes: the writing file's own name.
#define LOG_SOURCE __FILE_NAME__

// Starts a message of level from the writing file, to be followed by its pieces and logEnd:
//     KELVO_LOG(LogLevel::info) << "load() - Loading \"" << name << "\"." << logEnd;
// When the level is above the threshold nothing after the macro is evaluated: no context, no
// piece, no string is built. A loop of at most one pass rather than an if, so that an if/else
// around the statement keeps its own else.
#define KELVO_LOG(level) KELVO_LOG_AS(LOG_SOURCE, level)

// KELVO_LOG on behalf of another file: source is the path of the file that asked for the message
// (its LOG_SOURCE), for a routine that words a message for many callers.
#define KELVO_LOG_AS(source, level)                                                              \
    for (bool kelvoLogAdmitted = Log::getInstance()->admits(level); kelvoLogAdmitted;          \
         kelvoLogAdmitted = false)                                                               \
    *Log::getInstance() << LogContext(source, level)

#endif
