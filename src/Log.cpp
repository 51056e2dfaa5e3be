#include "Log.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "StringUtil.h"

Log* Log::instance = nullptr;
int Log::errorCount = 0;
int Log::warningCount = 0;

const LogEnd logEnd = {};

namespace {
const char* const LOG_FILE_NAME = "kelvo.log";
}

std::string sourceBaseName(const std::string& path)
{
    std::string::size_type d = path.rfind('.');
    if (d == std::string::npos)
        d = path.size();
    std::string::size_type slash = path.rfind('\\');
    std::string::size_type s = (slash == std::string::npos) ? 0 : slash + 1;
    if (d < s)
        d = path.size();
    return path.substr(s, d - s);
}

namespace {
std::string lowerCased(const std::string& text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}
}

LogContext::LogContext(const std::string& sourcePath, LogLevel level)
    : source(lowerCased(sourceBaseName(sourcePath))), level(level)
{
}

std::string LogContext::getSource() const
{
    return source;
}

std::string LogContext::getLevelName() const
{
    switch (level) {
    case LogLevel::error: return "error";
    case LogLevel::warning: return "warning";
    case LogLevel::info: return "info";
    case LogLevel::debug: return "debug";
    case LogLevel::frame: return "debug_fdraw";
    default: return "unknown";
    }
}

Log::Log() : threshold(LogLevel::info), currentLevel(LogLevel::info), fileOutput(true), capture(nullptr)
{
    errorCount = 0;
    warningCount = 0;
}

Log::~Log()
{
    if (fileOutput && file.is_open())
        file.close();
}

Log* Log::getInstance()
{
    if (!instance)
        instance = new Log();
    return instance;
}

void Log::deleteInstance()
{
    delete instance;
    instance = nullptr;
}

template <typename T> void Log::writeUnfiltered(const T& piece, bool toFile)
{
    if (toFile && fileOutput && file.is_open())
        file << piece;
    std::cout << piece;
    if (capture)
        *capture << piece;
}

template <typename T> void Log::writePiece(const T& piece)
{
    if (isLoggable())
        writeUnfiltered(piece, true);
}

void Log::flush()
{
    if (fileOutput && file.is_open())
        file.flush();
    std::cout.flush();
}

void Log::initialize()
{
    if (!fileOutput)
        return;
    int openError = 0;
    if (!file.is_open()) {
        errno = 0;
        file.open(LOG_FILE_NAME, std::ios::out | std::ios::trunc);
        openError = errno;
    }
    if (file.is_open())
        writeUnfiltered("Log::initialize() - Log file \"kelvo.log\" opened.\n", true);
    else
        writeUnfiltered(std::string("Log::initialize() - Error: Failed to initialize log file \"kelvo.log\". Reason: ") +
                            (openError != 0 ? std::strerror(openError) : "unknown") + ".\n",
                        false);
    flush();
}

void Log::setLevel(LogLevel level)
{
    threshold = level;
}

LogLevel Log::getLevel() const
{
    return threshold;
}

void Log::setFileOutput(bool on)
{
    if (on == fileOutput)
        return;
    if (on) {
        fileOutput = true;
        initialize();
    } else {
        if (file.is_open())
            file.close();
        file.clear();
        fileOutput = false;
    }
}

std::string Log::getInfo() const
{
    return "Log::getInfo() - Total of " + toString(errorCount) + " errors and " + toString(warningCount) +
           " warnings.";
}

void Log::registerSource(const std::string& sourcePath)
{
    std::string name = lowerCased(sourceBaseName(sourcePath));
    sources[name] = name;
}

std::string Log::listSources() const
{
    std::string list;
    for (auto it = sources.begin(); it != sources.end(); ++it) {
        if (it != sources.begin())
            list += ", ";
        list += it->first;
    }
    return list;
}

bool Log::isLoggable() const
{
    return currentLevel <= threshold;
}

bool Log::admits(LogLevel level)
{
    currentLevel = level;
    if (isLoggable())
        return true;
    if (level == LogLevel::warning)
        ++warningCount;
    else if (level == LogLevel::error)
        ++errorCount;
    return false;
}

Log& Log::operator<<(const LogContext& context)
{
    currentLevel = context.getLevel();
    if (isLoggable()) {
        writeUnfiltered("[", true);
        writeUnfiltered(context.getLevelName(), true);
        writeUnfiltered("] ", true);
        writeUnfiltered(context.getSource(), true);
        writeUnfiltered("::", true);
    }
    if (currentLevel == LogLevel::warning)
        ++warningCount;
    else if (currentLevel == LogLevel::error)
        ++errorCount;
    return *this;
}

Log& Log::operator<<(const char* text)
{
    writePiece(text);
    return *this;
}

Log& Log::operator<<(const std::string& text)
{
    writePiece(text);
    return *this;
}

Log& Log::operator<<(int value)
{
    writePiece(value);
    return *this;
}

Log& Log::operator<<(long value)
{
    writePiece(value);
    return *this;
}

Log& Log::operator<<(double value)
{
    writePiece(value);
    return *this;
}

Log& Log::operator<<(const LogEnd&)
{
    if (isLoggable()) {
        writeUnfiltered("\n", true);
        // Every line reaches the file as it ends, so the file is complete on every way out.
        flush();
    }
    return *this;
}

int Log::getErrorCount()
{
    return errorCount;
}

int Log::getWarningCount()
{
    return warningCount;
}

void Log::setCaptureStream(std::ostream* stream)
{
    capture = stream;
}

LogSourceRegistration::LogSourceRegistration(const std::string& sourcePath)
{
    Log::getInstance()->registerSource(sourcePath);
}
