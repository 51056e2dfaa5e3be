#ifndef KELVO_COMMANDLINE_H
#define KELVO_COMMANDLINE_H

#include <string>

#include "Exception.h"

class CommandlineException : public Exception {
public:
    explicit CommandlineException(const std::string& message);
};

// Read-only access to the program's arguments. The argument array is not owned.
class Commandline {
public:
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

private:
    char** arguments;
    int argumentCount;
};

#endif
