#include "3dsLoaderException.h"

_3dsLoaderException::_3dsLoaderException(const std::string& message)
{
    addSource("3dsLoaderException");
    appendMessage(message);
}

_3dsLoaderException::~_3dsLoaderException() = default;
