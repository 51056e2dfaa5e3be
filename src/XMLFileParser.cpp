#include "XMLFileParser.h"

#include <string>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/XMLErrorCodes.hpp>
#include <xercesc/validators/DTD/DTDEntityDecl.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>

#include "DOMTreeErrorReporter.h"
#include "TranscodedString.h"

namespace {
bool xercesStarted = false;

// Entity expansions allowed in one document; a "billion laughs" file needs far more.
const XMLSize_t ENTITY_EXPANSION_LIMIT = 50000;
// Characters an entity may stand for. With the expansion limit above, entities can add no more
// than about 50 MB to a document, however often a file references them.
const XMLSize_t ENTITY_REPLACEMENT_LIMIT = 1024;

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
