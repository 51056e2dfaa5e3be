#include "Exception.h"

Exception::Exception()
{
    addSource("KelvoEngineException::");
}

Exception::~Exception() = default;

const char* Exception::what() const noexcept
{
    return message.c_str();
}

std::string Exception::getMessage() const
{
    return message;
}

void Exception::addSource(const std::string& name)
{
    message += name;
    message += "::";
}

void Exception::appendMessage(const std::string& text)
{
    message += text;
}

InvalidParameterValueException::InvalidParameterValueException(const std::string& message)
{
    addSource("InvalidParameterValueException");
    appendMessage(message);
}

InvalidParameterValueException::~InvalidParameterValueException() = default;
