#include "Commandline.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstdlib>
#include <set>
#include <sstream>

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// The whole text is a number of the kind, as far as strtol or strtod read it.
bool readsWholeAsNumber(const std::string& text, Commandline::Takes takes)
{
    char* end = nullptr;
    if (takes == Commandline::Takes::wholeNumber)
        std::strtol(text.c_str(), &end, 10);
    else
        std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0';
}

const Commandline::Option* findKnown(const std::vector<Commandline::Option>& known, const std::string& name)
{
    for (const Commandline::Option& option : known)
        if (name == option.name)
            return &option;
    return nullptr;
}
}

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

bool Commandline::valueFollows(int i) const
{
    return i + 1 < argumentCount && arguments[i + 1][0] != '-';
}

bool Commandline::findOption(const std::string& option, std::string& value) const
{
    for (int i = 1; i < argumentCount; ++i) {
        if (option == arguments[i]) {
            if (valueFollows(i))
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

std::vector<std::string> Commandline::argumentWarnings(const std::vector<Option>& known) const
{
    std::vector<std::string> warnings;
    std::set<std::string> seen;
    for (int i = 1; i < argumentCount; ++i) {
        const std::string argument = arguments[i];
        const bool hasValue = valueFollows(i);
        const Option* option = findKnown(known, argument);
        if (!option) {
            // A negative number after an option that takes a value is that value, refused by the
            // option's own missing-value error.
            const Option* previous = i > 1 ? findKnown(known, arguments[i - 1]) : nullptr;
            if (previous && previous->takes != Takes::nothing && readsWholeAsNumber(argument, Takes::number))
                continue;
            if (argument.empty() || argument[0] != '-') {
                warnings.push_back("Ignoring the argument \"" + argument +
                                   "\": it follows no option that takes a value.");
                continue;
            }
            warnings.push_back("Ignoring the unknown option \"" + argument + "\"" +
                               (hasValue ? std::string(" and its value \"") + arguments[i + 1] + "\"" : "") + ".");
            if (hasValue)
                ++i;
            continue;
        }
        if (option->takes == Takes::nothing || !hasValue)
            continue;
        const std::string value = arguments[++i];
        // Only the first of an option given twice is read.
        if (!seen.insert(argument).second || option->takes == Takes::text)
            continue;
        if (readsWholeAsNumber(value, option->takes))
            continue;
        // Read as the option is read: what is not a number counts as 0, and only the leading
        // number of a text with more after it.
        std::ostringstream readAs;
        if (option->takes == Takes::wholeNumber)
            readAs << std::atol(value.c_str());
        else
            readAs << std::atof(value.c_str());
        warnings.push_back("The value \"" + value + "\" of the option \"" + argument +
                           "\" is not a number; it is read as " + readAs.str() + ".");
    }
    return warnings;
}
