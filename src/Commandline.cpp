#include "Commandline.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdlib>

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

CommandlineException::CommandlineException(const std::string& message)
{
    addSource("CommandlineException");
    appendMessage(message);
}

Commandline::Commandline() : arguments(nullptr), argumentCount(0)
{
}

Commandline::Commandline(char** arguments, int argumentCount) : arguments(arguments), argumentCount(argumentCount)
{
}

Commandline::~Commandline() = default;

char** Commandline::getArguments() const
{
    return arguments;
}

int Commandline::getArgumentCount() const
{
    return argumentCount;
}

bool Commandline::findOption(const std::string& option, std::string& value) const
{
    for (int i = 1; i < argumentCount; ++i) {
        if (option == arguments[i]) {
            if (i + 1 < argumentCount && arguments[i + 1][0] != '-')
                value = arguments[i + 1];
            return true;
        }
    }
    return false;
}

std::string Commandline::getParameter(const std::string& option, const std::string& description) const
{
    std::string value;
    findOption(option, value);
    if (!value.empty()) {
        KELVO_LOG(LogLevel::debug) << "getParameter() - " << description << " = " << value
                     << logEnd;
        return value;
    }
    std::string message = "getParameter() - Empty or missing " + description + ". Please add -" + option +
                          " <value> the runtime configuration parameters.";
    KELVO_LOG(LogLevel::error) << message << logEnd;
    throw CommandlineException(message);
}

int Commandline::getValue(const std::string& option, const std::string& description) const
{
    std::string text = getParameter(option, description);
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    // long is wider than int here: a value beyond int is as invalid as one beyond long.
    if (errno != 0 || value < INT_MIN || value > INT_MAX) {
        std::string message = "getValue() - Invalid parameter value.The value for " + description +
                              " should be a numerical value. Current value is \"" + text + "\".";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw CommandlineException(message);
    }
    return static_cast<int>(value);
}

float Commandline::getFloat(const std::string& option, const std::string& description) const
{
    std::string text = getParameter(option, description);
    errno = 0;
    double value = std::strtod(text.c_str(), nullptr);
    // A double beyond the float range cannot be narrowed (undefined); it is as invalid as one
    // beyond the double range.
    if (errno != 0 || value > FLT_MAX || value < -FLT_MAX) {
        std::string message = "getFloat() - Invalid parameter value.The value for " + description +
                              " should be a floating-point value. Current value is \"" + text + "\".";
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw CommandlineException(message);
    }
    return static_cast<float>(value);
}
