#include "ExitNowException.h"

ExitNowException::ExitNowException(const std::string& message)
{
    addSource("ExitNowException");
    appendMessage(message);
}
