#include "XMLFileParser.h"

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>

#include "DOMTreeErrorReporter.h"

namespace {
bool xercesStarted = false;

// Entity expansions allowed in one document; a "billion laughs" file needs far more.
const XMLSize_t ENTITY_EXPANSION_LIMIT = 50000;
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
    parser = std::make_unique<xercesc::XercesDOMParser>();
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
    parser->parse(source);
}

bool XMLFileParser::hasErrors() const
{
    return parser->getErrorCount() > 0 || reporter->errorSeen;
}

xercesc::DOMDocument* XMLFileParser::getDocument() const
{
    return parser->getDocument();
}
