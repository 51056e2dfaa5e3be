#include "XMLFileParser.h"

#include <string>

#include <xercesc/dom/DOMException.hpp>
#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/XMLErrorCodes.hpp>
#include <xercesc/validators/DTD/DTDEntityDecl.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>

#include "DOMTreeErrorReporter.h"
#include "Log.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "TranscodedString.h"

namespace {
bool xercesStarted = false;

// Entity expansions allowed in one document; a "billion laughs" file needs far more.
const XMLSize_t ENTITY_EXPANSION_LIMIT = 50000;
// Characters an entity may stand for. With the expansion limit above, entities can add no more
// than about 50 MB to a document, however often a file references them.
const XMLSize_t ENTITY_REPLACEMENT_LIMIT = 1024;

// How a reader's load() opens the message of a file it could not parse.
const char* const LOAD_FAILED = "load() - An error occured during parsing. ";

// The DOM parser with a bound on what an entity declaration may stand for. A declaration beyond
// it ends the parse the way a fatal syntax error does, before any reference expands it.
class BoundedEntityDOMParser : public xercesc::XercesDOMParser {
public:
    void entityDecl(const xercesc::DTDEntityDecl& entityDecl, const bool isPEDecl, const bool isIgnored) override
    {
        if (entityDecl.getValueLen() > ENTITY_REPLACEMENT_LIMIT) {
            refusedEntity = TranscodedString(entityDecl.getName()).c_str();
            refusedLength = entityDecl.getValueLen();
            // Xerces' own way out of a scan: the scanner catches its error codes and stops.
            throw xercesc::XMLErrs::EntityExpansionLimitExceeded;
        }
        xercesc::XercesDOMParser::entityDecl(entityDecl, isPEDecl, isIgnored);
    }

    std::string refusedEntity;  // empty while no declaration was refused
    XMLSize_t refusedLength = 0;
};
}

void XMLFileParser::initializeXerces()
{
    if (xercesStarted)
        return;
    xercesc::XMLPlatformUtils::Initialize();
    xercesStarted = true;
}

XMLFileParser::XMLFileParser()
{
    initializeXerces();
    securityManager = std::make_unique<xercesc::SecurityManager>();
    securityManager->setEntityExpansionLimit(ENTITY_EXPANSION_LIMIT);
    reporter = std::make_unique<DOMTreeErrorReporter>();
    parser = std::make_unique<BoundedEntityDOMParser>();
    parser->setValidationScheme(xercesc::XercesDOMParser::Val_Auto);
    parser->setDoNamespaces(false);
    parser->setDoSchema(false);
    parser->setValidationSchemaFullChecking(false);
    parser->setCreateEntityReferenceNodes(false);
    parser->setLoadExternalDTD(false);
    // Validation under the auto scheme loads an external DTD whatever setLoadExternalDTD says;
    // without default resolution every external entity and DTD fails to open instead.
    parser->setDisableDefaultEntityResolution(true);
    parser->setSecurityManager(securityManager.get());
    parser->setErrorHandler(reporter.get());
}

XMLFileParser::~XMLFileParser() = default;

// Read as a local file always, so a path that looks like a URL is never fetched.
void XMLFileParser::parse(const std::string& path)
{
    std::unique_ptr<XMLCh, void (*)(XMLCh*)> wide(xercesc::XMLString::transcode(path.c_str()),
                                                  [](XMLCh* text) { xercesc::XMLString::release(&text); });
    xercesc::LocalFileInputSource source(wide.get());
    BoundedEntityDOMParser& bounded = static_cast<BoundedEntityDOMParser&>(*parser);
    bounded.refusedEntity.clear();
    parser->parse(source);
    if (!bounded.refusedEntity.empty())
        throw XMLParserException("parse() - File \"" + path + "\": the entity \"" + bounded.refusedEntity +
                                 "\" stands for " + std::to_string(bounded.refusedLength) +
                                 " characters, more than the " + std::to_string(ENTITY_REPLACEMENT_LIMIT) +
                                 " an entity may.");
}

bool XMLFileParser::hasErrors() const
{
    return parser->getErrorCount() > 0 || reporter->errorSeen;
}

xercesc::DOMDocument* XMLFileParser::getDocument() const
{
    return parser->getDocument();
}

std::unique_ptr<XMLFileParser> XMLFileParser::loadResource(const std::string& file, std::string& path,
                                                           const char* logSource, const char* lead)
{
    std::string unreadable;
    try {
        path = ResourceLoader::getResourceFilename(file);
    } catch (const ResourceLoaderException&) {
        // A file that cannot be read says where it was looked for and why.
        unreadable = LOAD_FAILED + ResourceLoader::describeUnreadable(ResourceLoader::joinedPath(file));
    }
    return load(path, unreadable, logSource, lead);
}

std::unique_ptr<XMLFileParser> XMLFileParser::loadFile(const std::string& path, const char* logSource,
                                                       const char* lead)
{
    // A named pipe would keep the parser waiting for a writer, so the file is looked at before it
    // is opened.
    const std::string problem = ResourceLoader::describeUnreadable(path);
    return load(path, problem.empty() ? problem : LOAD_FAILED + problem, logSource, lead);
}

std::unique_ptr<XMLFileParser> XMLFileParser::load(const std::string& path, const std::string& unreadable,
                                                   const char* logSource, const char* lead)
{
    std::unique_ptr<XMLFileParser> parser;
    std::string message;
    try {
        // Made first: a Xerces that cannot start is told before a file that cannot be read.
        parser = std::make_unique<XMLFileParser>();
        if (unreadable.empty())
            parser->parse(path);
        else
            message = unreadable;
    } catch (const XMLParserException& e) {
        // The parser's own refusal already names the file and what is wrong.
        KELVO_LOG_AS(logSource, LogLevel::error) << "load() - " << e.getMessage() << logEnd;
        throw;
    } catch (const xercesc::XMLException& e) {
        message = std::string(LOAD_FAILED) + "Message: " + TranscodedString(e.getMessage()).c_str();
        KELVO_LOG_AS(logSource, LogLevel::error) << message << logEnd;
    } catch (const xercesc::DOMException& e) {
        message = "load() - A DOM error occured during parsing. DOMException code: " + toString(static_cast<int>(e.code)) +
                  ". Message: " + TranscodedString(e.getMessage()).c_str();
    } catch (...) {
        message = "load() - An error occured during parsing.";
    }
    if (!message.empty())
        throw XMLParserException(message);
    if (parser->hasErrors())
        throw XMLParserException("load() - " + std::string(lead) + "Error occurred while parsing \"" + path +
                                 "\". Errors should have been reported by the parser.");
    return parser;
}
