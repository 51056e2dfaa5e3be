#ifndef KELVO_XMLFILEPARSER_H
#define KELVO_XMLFILEPARSER_H

#include <memory>
#include <string>

#include <xercesc/util/XercesDefs.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class DOMDocument;
class SecurityManager;
class XercesDOMParser;
XERCES_CPP_NAMESPACE_END

class DOMTreeErrorReporter;

// The DOM parser every XML reader uses, set up for untrusted files: validation only when the
// document declares a grammar, no namespaces or schemas, entity references expanded in place,
// no entity or DTD ever read from outside the document (such a reference is a fatal parse error)
// and entity expansion bounded: in count, and in the text one entity may stand for. Syntax
// problems go to its DOMTreeErrorReporter. One per read.
class XMLFileParser {
public:
    // Starts Xerces first when no reader has; its XMLException passes through.
    XMLFileParser();
    ~XMLFileParser();
    XMLFileParser(const XMLFileParser&) = delete;
    XMLFileParser& operator=(const XMLFileParser&) = delete;

    // Xerces' own XMLException and DOMException pass through; syntax errors only reach the reporter.
    // Throws XMLParserException naming the file and the entity when an entity declaration stands
    // for more text than the parser allows.
    void parse(const std::string& path);
    // The parser counted an error or the reporter saw one.
    bool hasErrors() const;
    // Owned by the parser; null before a parse.
    xercesc::DOMDocument* getDocument() const;
    DOMTreeErrorReporter& getReporter() const { return *reporter; }

    // Starts Xerces once for the whole run; it is never terminated. Throws Xerces' XMLException.
    static void initializeXerces();

private:
    std::unique_ptr<xercesc::SecurityManager> securityManager;
    std::unique_ptr<DOMTreeErrorReporter> reporter;
    std::unique_ptr<xercesc::XercesDOMParser> parser;  // declared last: goes first, it uses the two above
};

#endif
