#ifndef KELVO_DOMTREEERRORREPORTER_H
#define KELVO_DOMTREEERRORREPORTER_H

#include <string>

#include <xercesc/sax/ErrorHandler.hpp>

#include "Exception.h"

// Receives the parser's syntax and grammar problems: logs errors and fatal errors with file, line
// and column and notes that one occurred. It never throws and never stops the parse.
class DOMTreeErrorReporter : public xercesc::ErrorHandler {
public:
    DOMTreeErrorReporter();
    ~DOMTreeErrorReporter() override;

    void warning(const xercesc::SAXParseException& exception) override;
    void error(const xercesc::SAXParseException& exception) override;
    void fatalError(const xercesc::SAXParseException& exception) override;
    void resetErrors() override;

    // Read by the owning reader right after parsing.
    bool errorSeen;
};

// A file that could not be read as the reader expects.
class XMLParserException : public Exception {
public:
    explicit XMLParserException(const std::string& message);
};

class DOMTreeException : public Exception {
public:
    explicit DOMTreeException(const std::string& message);
};

#endif
