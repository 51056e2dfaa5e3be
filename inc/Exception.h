#ifndef KELVO_EXCEPTION_H
#define KELVO_EXCEPTION_H

#include <exception>
#include <string>

// Base of every exception the engine throws. The message is the only payload; it names the chain
// of classes that built it: "KelvoEngineException::" "::" <class> "::" <text>.
class Exception : public std::exception {
public:
    Exception();
    Exception(const Exception& other) = default;
    ~Exception() override;

    const char* what() const noexcept override;
    virtual std::string getMessage() const;
    virtual void addSource(const std::string& name);
    virtual void appendMessage(const std::string& text);

private:
    std::string message;
};

// A value outside its allowed range.
class InvalidParameterValueException : public Exception {
public:
    explicit InvalidParameterValueException(const std::string& message);
    ~InvalidParameterValueException() override;
};

#endif
