#include "ComponentExceptions.h"

ComponentNotFoundException::ComponentNotFoundException(const std::string& source, const std::string& message)
{
    addSource(source + "Exception");
    appendMessage(message);
}

ComponentAlreadyExistsException::ComponentAlreadyExistsException(const std::string& source,
                                                                 const std::string& message)
{
    addSource(source + "Exception");
    appendMessage(message);
}
