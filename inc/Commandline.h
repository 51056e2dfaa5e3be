#ifndef KELVO_COMMANDLINE_H
#define KELVO_COMMANDLINE_H

#include <string>
#include <vector>

#include "Exception.h"

class CommandlineException : public Exception {
public:
    explicit CommandlineException(const std::string& message);
};

// Read-only access to the program's arguments, and the one place their rules live: an option's
// value is the next argument unless that begins with '-', the first of an option given twice is
// the one read, numbers are read as strtol and strtod read them. The argument array is not owned.
class Commandline {
public:
    // What an option takes after it.
    enum class Takes { nothing, text, wholeNumber, number };
    struct Option {
        const char* name;
        Takes takes;
    };

    Commandline();
    Commandline(char** arguments, int argumentCount);
    Commandline(const Commandline& other) = default;
    virtual ~Commandline();

    char** getArguments() const;
    int getArgumentCount() const;

    // True when option is present; value becomes the next argument unless it starts with '-'.
    bool findOption(const std::string& option, std::string& value) const;
    std::string getParameter(const std::string& option, const std::string& description) const;
    int getValue(const std::string& option, const std::string& description) const;
    float getFloat(const std::string& option, const std::string& description) const;

    // One message for each argument that is none of the known options nor the value of one, and
    // for each value of a number option that does not read whole as a number (it is then read as
    // its leading number, or 0). Nothing else changes: the options are read as they stand.
    std::vector<std::string> argumentWarnings(const std::vector<Option>& known) const;

private:
    // True when an argument follows position i and does not begin with '-'.
    bool valueFollows(int i) const;

    char** arguments;
    int argumentCount;
};

#endif
