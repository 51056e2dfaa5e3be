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
// and entity expansion bounded: in the text and the expansions of the whole document, and in the
// text one entity may stand for. Syntax
// problems go to its DOMTreeErrorReporter. One per read.
class XMLFileParser {
public:
    // Starts Xerces first when no reader has; its XMLException passes through.
    XMLFileParser();
    ~XMLFileParser();
    XMLFileParser(const XMLFileParser&) = delete;
    XMLFileParser& operator=(const XMLFileParser&) = delete;

    // One parse per object. Reads the file at path through the resource loader's checked open and parses its bytes from
    // memory. Xerces' own XMLException and DOMException pass through; syntax errors only reach the
    // reporter. Throws XMLParserException naming the file when it cannot be read, when an entity
    // declaration stands for more text than the parser allows, and when the entity references of
    // the document, nested ones included, would exceed the entity expansion budget (refused before
    // Xerces expands any).
    void parse(const std::string& path);
    // The parser counted an error or the reporter saw one.
    bool hasErrors() const;
    // Owned by this object; null before a parse.
    xercesc::DOMDocument* getDocument() const;
    DOMTreeErrorReporter& getReporter() const { return *reporter; }

    // Starts Xerces once for the whole run; it is never terminated. Throws Xerces' XMLException.
    static void initializeXerces();

    // The parse a reader's load() makes of one file: a parser holding a document the reporter
    // found no fault in, or an XMLParserException whose text begins "load() - ". A file that
    // cannot be read is described (where it was looked for and why) and not opened; a file the
    // reporter found faults in is named after lead ("" or the reader's own opening words); the
    // parser's refusal of an entity passes through; a Xerces or DOM exception gives its own text.
    // The refusal and a Xerces exception are logged as errors of logSource, the caller's
    // LOG_SOURCE; the other failures are not logged here.
    // A data file named relative to the timeline's folder; path receives the file it resolves to
    // and is left as it was when there is none.
    static std::unique_ptr<XMLFileParser> loadResource(const std::string& file, std::string& path,
                                                       const char* logSource, const char* lead = "");
    // A file at path as it stands (font sets: relative to the working directory).
    static std::unique_ptr<XMLFileParser> loadFile(const std::string& path, const char* logSource,
                                                   const char* lead = "");

private:
    // The common part of both loads; unreadable is the whole failure message for a file that
    // cannot be read, "" when it can.
    static std::unique_ptr<XMLFileParser> load(const std::string& path, const std::string& unreadable,
                                               const char* logSource, const char* lead);

    struct DocumentRelease {
        void operator()(xercesc::DOMDocument* document) const;
    };

    std::unique_ptr<xercesc::SecurityManager> securityManager;
    std::unique_ptr<DOMTreeErrorReporter> reporter;
    // Null once it has parsed: the document is taken from it, and its buffers go with it.
    std::unique_ptr<xercesc::XercesDOMParser> parser;  // declared after the two it uses: goes first
    std::unique_ptr<xercesc::DOMDocument, DocumentRelease> document;  // null before a parse
    XMLSize_t errorCount = 0;  // the parser's count of errors in its parse
};

#endif
