#include "lwloader/LWLoaderException.h"

namespace {
const char* codeText(int code)
{
    switch (code) {
    case LWLoaderException::noError:
        return "NO ERROR!?";
    case LWLoaderException::fileNotFound:
        return "File not found.";
    case LWLoaderException::unknownFileFormat:
        return "Unknown file format.";
    case LWLoaderException::corruptedFile:
        return "Corrupted file.";
    default:
        return "INVALID MESSAGE!";
    }
}
}

LWLoaderException::LWLoaderException(const std::string& source, int code)
{
    addSource(source);
    appendMessage(codeText(code));
}

LWLoaderException::LWLoaderException(const std::string& source, const std::string& message)
{
    addSource(source);
    appendMessage(message);
}

LWLoaderException::~LWLoaderException() = default;
