#include "DOMTreeErrorReporter.h"

#include <xercesc/sax/SAXParseException.hpp>

#include "Log.h"
#include "StringUtil.h"
#include "TranscodedString.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

DOMTreeErrorReporter::DOMTreeErrorReporter() : errorSeen(false)
{
}

DOMTreeErrorReporter::~DOMTreeErrorReporter() = default;

void DOMTreeErrorReporter::warning(const xercesc::SAXParseException&)
{
}

void DOMTreeErrorReporter::error(const xercesc::SAXParseException& exception)
{
    errorSeen = true;
    TranscodedString file(exception.getSystemId());
    TranscodedString message(exception.getMessage());
    KELVO_LOG(LogLevel::error) << "error() - Error at file " << quoted(file.c_str()) << ", line "
                 << static_cast<long>(exception.getLineNumber()) << ", column "
                 << static_cast<long>(exception.getColumnNumber()) << ". Message: " << clipped(message.c_str()) << "."
                 << logEnd;
}

void DOMTreeErrorReporter::fatalError(const xercesc::SAXParseException& exception)
{
    errorSeen = true;
    TranscodedString file(exception.getSystemId());
    TranscodedString message(exception.getMessage());
    KELVO_LOG(LogLevel::error) << "fatalError() - Fatal Error at file " << quoted(file.c_str())
                 << ", line " << static_cast<long>(exception.getLineNumber()) << ", column "
                 << static_cast<long>(exception.getColumnNumber()) << ". Message: " << clipped(message.c_str())
                 << logEnd;
}

void DOMTreeErrorReporter::resetErrors()
{
    errorSeen = false;
}

XMLParserException::XMLParserException(const std::string& message)
{
    addSource("XMLParserException");
    appendMessage(message);
}

DOMTreeException::DOMTreeException(const std::string& message)
{
    addSource("DOMTreeException");
    appendMessage(message);
}
