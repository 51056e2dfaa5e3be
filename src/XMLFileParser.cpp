#include "XMLFileParser.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <xercesc/dom/DOMDocument.hpp>
#include <xercesc/dom/DOMException.hpp>
#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/XMLErrorCodes.hpp>
#include <xercesc/util/XMLUni.hpp>
#include <xercesc/validators/DTD/DTDEntityDecl.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>

#include "DOMTreeErrorReporter.h"
#include "Log.h"
#include "ResourceFile.h"
#include "ResourceLoader.h"
#include "StringUtil.h"
#include "TranscodedString.h"

namespace {
bool xercesStarted = false;

// The entity expansion budget of one document: all its entity references together, nested ones
// included, may stand for at most this much text (characters) in at most so many expansions.
// Real files use a few entities a few times; a file of nested entities that would stand for
// megabytes is refused before Xerces expands anything (each expansion costs Xerces a reader of
// about 170 KB).
const uint64_t ENTITY_TEXT_BUDGET = 1 << 20;
const XMLSize_t ENTITY_EXPANSION_LIMIT = 5000;
// Characters one entity may stand for. Xerces' own bound, kept behind the budget above for what
// the count of expansions cannot see beforehand.
const XMLSize_t ENTITY_REPLACEMENT_LIMIT = 1024;

// How a reader's load() opens the message of a file it could not parse.
const char* const LOAD_FAILED = "load() - An error occured during parsing. ";

// Counts, from a document's bytes and before Xerces reads them, the text and the expansions its
// entity references stand for. Each declared entity's cost (the characters of its replacement
// text, each reference in it replaced by the cost of what it names) is worked out once and kept,
// so the count is linear in the size of the document however deep the nesting. Markup it does not
// follow ends the count early; Xerces then reports the fault, under its own bounds. An encoding
// with two-byte units is counted on the low byte of each unit, which keeps the markup's ASCII.
class EntityBudget {
public:
    explicit EntityBudget(const std::vector<uint8_t>& bytes);

    // The references of the document stand for more than the budget allows.
    bool exceeded() const { return over; }
    // An entity of the document stands for more than ENTITY_REPLACEMENT_LIMIT characters on its
    // own, which Xerces refuses when it reads the declaration.
    bool hasOversizedEntity() const { return oversized; }

private:
    struct Entity {
        std::string text;  // the replacement text: character references decoded, the rest as written
        bool costed = false;
        bool expanding = false;
        uint64_t characters = 0;
        uint64_t expansions = 0;
    };
    // Nesting deeper than this is not followed: it is counted as over the budget (each level is
    // at least one expansion, and no real file comes near).
    static const int MAX_DEPTH = 256;

    void charge(uint64_t characters, uint64_t expansions);
    void readProlog();
    // Declarations from at until the end of the internal subset (top level) or of text.
    void readSubset(const std::string& text, size_t& at, bool topLevel, int depth);
    void readEntityDeclaration(const std::string& text, size_t& at, int depth);
    // Charges every general entity referenced in text[from, to), skipping comments, CDATA sections
    // and processing instructions when markup is set.
    void chargeReferences(const std::string& text, size_t from, size_t to, bool markup);
    // The cost of entity, computed once.
    void cost(Entity& entity, int depth);

    std::string document;
    std::map<std::string, Entity> general;
    std::map<std::string, Entity> parameter;
    uint64_t characters = 0;
    uint64_t expansions = 0;
    bool over = false;
    bool oversized = false;
};

bool startsWith(const std::string& text, size_t at, const char* prefix)
{
    return text.compare(at, std::strlen(prefix), prefix) == 0;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Past the end of the next terminator from at, or the end of text.
size_t skipPast(const std::string& text, size_t at, const char* terminator)
{
    const size_t found = text.find(terminator, at);
    return found == std::string::npos ? text.size() : found + std::strlen(terminator);
}

// A name from at up to (not including) the first space, quote, ';', '>' or '%'.
std::string readName(const std::string& text, size_t& at)
{
    const size_t start = at;
    while (at < text.size() && !isSpace(text[at]) && text[at] != ';' && text[at] != '>' && text[at] != '"' &&
           text[at] != '\'' && text[at] != '%' && text[at] != '&' && text[at] != '<')
        ++at;
    return text.substr(start, at - start);
}

// Characters of UTF-8 text: bytes other than continuation bytes.
uint64_t characterCount(const std::string& text, size_t from, size_t to)
{
    uint64_t count = 0;
    for (size_t i = from; i < to; ++i)
        count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return count;
}

void appendUtf8(std::string& text, uint32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// An entity value as written, with its character references replaced by their characters, as
// the declaration makes them.
std::string replacementText(const std::string& literal)
{
    std::string text;
    text.reserve(literal.size());
    for (size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] == '&' && i + 2 < literal.size() && literal[i + 1] == '#') {
            const size_t end = literal.find(';', i);
            const bool hex = literal[i + 2] == 'x';
            const size_t digits = i + (hex ? 3 : 2);
            if (end != std::string::npos && end > digits && end - digits <= 8) {
                const std::string number = literal.substr(digits, end - digits);
                char* stop = nullptr;
                const unsigned long code = std::strtoul(number.c_str(), &stop, hex ? 16 : 10);
                if (*stop == '\0' && code <= 0x10FFFF) {
                    appendUtf8(text, static_cast<uint32_t>(code));
                    i = end;
                    continue;
                }
            }
        }
        text += literal[i];
    }
    return text;
}

EntityBudget::EntityBudget(const std::vector<uint8_t>& bytes)
{
    const bool bigEndian16 = bytes.size() >= 2 && ((bytes[0] == 0xFE && bytes[1] == 0xFF) ||
                                                   (bytes[0] == 0 && bytes[1] == '<'));
    const bool littleEndian16 = bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) ||
                                                      (bytes[0] == '<' && bytes[1] == 0));
    if (bigEndian16 || littleEndian16) {
        document.reserve(bytes.size() / 2);
        for (size_t i = bigEndian16 ? 1 : 0; i < bytes.size(); i += 2)
            document += static_cast<char>(bytes[i]);
    } else {
        document.assign(bytes.begin(), bytes.end());
    }
    readProlog();
}

void EntityBudget::charge(uint64_t addedCharacters, uint64_t addedExpansions)
{
    // Both stay below 2^62: everything past the budget counts the same.
    characters = std::min<uint64_t>(characters + addedCharacters, uint64_t(1) << 62);
    expansions = std::min<uint64_t>(expansions + addedExpansions, uint64_t(1) << 62);
    if (characters > ENTITY_TEXT_BUDGET || expansions > ENTITY_EXPANSION_LIMIT)
        over = true;
}

void EntityBudget::readProlog()
{
    size_t at = startsWith(document, 0, "\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        while (at < document.size() && (isSpace(document[at]) || document[at] == '\xFF' || document[at] == '\xFE'))
            ++at;
        if (startsWith(document, at, "<?"))
            at = skipPast(document, at, "?>");
        else if (startsWith(document, at, "<!--"))
            at = skipPast(document, at, "-->");
        else
            break;
    }
    if (!startsWith(document, at, "<!DOCTYPE"))
        return;  // no entity is declared: none but the predefined ones can be referenced
    // The name and the external identifier, up to the internal subset or the end.
    char quote = 0;
    for (at += 9; at < document.size(); ++at) {
        const char c = document[at];
        if (quote) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++at;
            readSubset(document, at, true, 0);
            if (over)
                return;
            at = skipPast(document, at, ">");
            break;
        } else if (c == '>') {
            ++at;
            break;
        }
    }
    chargeReferences(document, at, document.size(), true);
}

void EntityBudget::readSubset(const std::string& text, size_t& at, bool topLevel, int depth)
{
    while (!over && at < text.size()) {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        if (at >= text.size())
            return;
        if (text[at] == ']' && topLevel) {
            ++at;
            return;
        }
        if (text[at] == '%') {
            // A parameter entity between declarations: its text is read as declarations.
            ++at;
            const std::string name = readName(text, at);
            if (at < text.size() && text[at] == ';')
                ++at;
            const auto found = parameter.find(name);
            if (found == parameter.end() || found->second.expanding)
                continue;  // Xerces reports it
            if (depth >= MAX_DEPTH) {
                over = true;
                return;
            }
            charge(characterCount(found->second.text, 0, found->second.text.size()), 1);
            size_t inner = 0;
            found->second.expanding = true;
            readSubset(found->second.text, inner, false, depth + 1);
            found->second.expanding = false;
        } else if (startsWith(text, at, "<!--")) {
            at = skipPast(text, at, "-->");
        } else if (startsWith(text, at, "<?")) {
            at = skipPast(text, at, "?>");
        } else if (startsWith(text, at, "<!ENTITY")) {
            at += 8;
            readEntityDeclaration(text, at, depth);
        } else if (startsWith(text, at, "<!")) {
            // Element, attribute list and notation declarations: defaults of attributes are
            // expanded, so their references count.
            char quote = 0;
            size_t literal = 0;
            for (at += 2; at < text.size(); ++at) {
                const char c = text[at];
                if (quote) {
                    if (c == quote) {
                        chargeReferences(text, literal, at, false);
                        quote = 0;
                    }
                } else if (c == '"' || c == '\'') {
                    quote = c;
                    literal = at + 1;
                } else if (c == '>') {
                    break;
                }
            }
            ++at;
        } else {
            return;  // not a declaration: Xerces reports it
        }
    }
}

void EntityBudget::readEntityDeclaration(const std::string& text, size_t& at, int depth)
{
    while (at < text.size() && isSpace(text[at]))
        ++at;
    bool isParameter = false;
    if (at < text.size() && text[at] == '%') {
        isParameter = true;
        ++at;
        while (at < text.size() && isSpace(text[at]))
            ++at;
    }
    const std::string name = readName(text, at);
    while (at < text.size() && isSpace(text[at]))
        ++at;
    Entity entity;
    if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
        const char quote = text[at];
        const size_t end = text.find(quote, at + 1);
        if (end == std::string::npos) {
            at = text.size();
            return;
        }
        const std::string literal = text.substr(at + 1, end - at - 1);
        // Parameter entities named in the value are expanded as the declaration is read.
        for (size_t i = literal.find('%'); i != std::string::npos; i = literal.find('%', i + 1)) {
            size_t nameAt = i + 1;
            const auto found = parameter.find(readName(literal, nameAt));
            if (found != parameter.end()) {
                if (depth >= MAX_DEPTH) {
                    over = true;
                    return;
                }
                cost(found->second, depth + 1);
                charge(found->second.characters, found->second.expansions);
            }
        }
        entity.text = replacementText(literal);
        if (characterCount(entity.text, 0, entity.text.size()) > ENTITY_REPLACEMENT_LIMIT)
            oversized = true;
        at = end + 1;
    }
    // An external entity keeps no text: Xerces never reads it.
    at = skipPast(text, at, ">");
    // The first declaration of a name is the one that holds.
    (isParameter ? parameter : general).emplace(name, std::move(entity));
}

void EntityBudget::chargeReferences(const std::string& text, size_t from, size_t to, bool markup)
{
    for (size_t i = from; i < to && !over; ++i) {
        if (markup && text[i] == '<') {
            if (startsWith(text, i, "<!--"))
                i = skipPast(text, i, "-->") - 1;
            else if (startsWith(text, i, "<![CDATA["))
                i = skipPast(text, i, "]]>") - 1;
            else if (startsWith(text, i, "<?"))
                i = skipPast(text, i, "?>") - 1;
            continue;
        }
        if (text[i] != '&' || (i + 1 < to && text[i + 1] == '#'))
            continue;
        size_t at = i + 1;
        const std::string name = readName(text, at);
        const auto found = general.find(name);
        if (found == general.end())
            continue;  // predefined, or Xerces reports it
        cost(found->second, 0);
        charge(found->second.characters, found->second.expansions);
        i = at;
    }
}

void EntityBudget::cost(Entity& entity, int depth)
{
    if (entity.costed || entity.expanding)
        return;  // a recursive entity is Xerces' fault to report
    if (depth >= MAX_DEPTH) {
        over = true;
        return;
    }
    entity.expanding = true;
    uint64_t ownCharacters = 0;
    uint64_t ownExpansions = 1;
    const std::string& text = entity.text;
    size_t plain = 0;
    for (size_t i = text.find('&'); i != std::string::npos && !over; i = text.find('&', i + 1)) {
        if (i + 1 < text.size() && text[i + 1] == '#')
            continue;
        size_t at = i + 1;
        const auto found = general.find(readName(text, at));
        if (found == general.end() || &found->second == &entity)
            continue;
        cost(found->second, depth + 1);
        ownCharacters = std::min<uint64_t>(ownCharacters + characterCount(text, plain, i) + found->second.characters,
                                           uint64_t(1) << 62);
        ownExpansions = std::min<uint64_t>(ownExpansions + found->second.expansions, uint64_t(1) << 62);
        plain = at < text.size() && text[at] == ';' ? at + 1 : at;
        i = plain - 1;
    }
    entity.characters = std::min<uint64_t>(ownCharacters + characterCount(text, plain, text.size()), uint64_t(1) << 62);
    entity.expansions = ownExpansions;
    entity.expanding = false;
    entity.costed = true;
}

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

    // Xerces' own count of expansions ran out: the same budget, seen late.
    void error(const unsigned int code, const XMLCh* const domain, const xercesc::XMLErrorReporter::ErrTypes type,
               const XMLCh* const text, const XMLCh* const systemId, const XMLCh* const publicId,
               const XMLFileLoc line, const XMLFileLoc column) override
    {
        if (code == xercesc::XMLErrs::EntityExpansionLimitExceeded &&
            xercesc::XMLString::equals(domain, xercesc::XMLUni::fgXMLErrDomain))
            budgetExceeded = true;
        xercesc::XercesDOMParser::error(code, domain, type, text, systemId, publicId, line, column);
    }

    std::string refusedEntity;  // empty while no declaration was refused
    XMLSize_t refusedLength = 0;
    bool budgetExceeded = false;
};

// The longest stretch of a file without a '<': a value or a text is never longer. Real files hold
// values of a few hundred bytes; a value of tens of megabytes cost Xerces ten times its size in
// buffers and copies before the reader could look at it, so it is refused before parsing.
const size_t MARKUP_FREE_LIMIT = 1 << 20;

// The refusal of the first stretch longer than MARKUP_FREE_LIMIT, or "" for a file that has none.
std::string overlongStretch(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const uint8_t* const begin = bytes.data();
    const uint8_t* const end = begin + bytes.size();
    const uint8_t* start = begin;
    while (start != end) {
        const void* found = std::memchr(start, '<', static_cast<size_t>(end - start));
        const uint8_t* const next = found ? static_cast<const uint8_t*>(found) : end;
        if (static_cast<size_t>(next - start) > MARKUP_FREE_LIMIT) {
            const long line = 1 + std::count(begin, start, '\n');
            return "parse() - File " + quoted(path) + ": from line " + std::to_string(line) + " on, " +
                   std::to_string(next - start) + " bytes go by without a '<': a value or a text of more than " +
                   std::to_string(MARKUP_FREE_LIMIT) + " bytes is refused.";
        }
        start = next == end ? end : next + 1;
    }
    return "";
}

XMLParserException budgetRefusal(const std::string& path)
{
    return XMLParserException("parse() - File " + quoted(path) +
                              ": the entity expansion budget was exceeded: the entities of a file may stand for " +
                              std::to_string(ENTITY_TEXT_BUDGET) + " characters in " +
                              std::to_string(ENTITY_EXPANSION_LIMIT) + " expansions at most.");
}
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

void XMLFileParser::DocumentRelease::operator()(xercesc::DOMDocument* document) const
{
    document->release();
}

// The bytes are read through the resource loader's checked open, so a named pipe or a device is
// refused at once, and reach Xerces from memory: nothing is ever opened or fetched by the parser.
void XMLFileParser::parse(const std::string& path)
{
    if (!parser)
        throw XMLParserException("parse() - File " + quoted(path) + ": this parser has parsed a file already.");
    std::vector<uint8_t> bytes;
    {
        ResourceFile file = ResourceFile::atPath(path);
        if (!file.isOpen() || !file.readToEnd(bytes)) {
            const int error = errno;
            const std::string problem = ResourceLoader::describeUnreadable(path);
            throw XMLParserException("parse() - " + (problem.empty() ? "File " + quoted(path) + ": " +
                                                                           std::strerror(error) + "."
                                                                     : problem));
        }
    }
    const std::string overlong = overlongStretch(path, bytes);
    if (!overlong.empty())
        throw XMLParserException(overlong);
    const EntityBudget budget(bytes);
    if (budget.exceeded() && !budget.hasOversizedEntity())
        throw budgetRefusal(path);

    // The system id Xerces names the file by in its messages: the path made absolute, as a file
    // source of that path would name it.
    std::unique_ptr<XMLCh, void (*)(XMLCh*)> wide(xercesc::XMLString::transcode(path.c_str()),
                                                  [](XMLCh* text) { xercesc::XMLString::release(&text); });
    const xercesc::LocalFileInputSource named(wide.get());
    const xercesc::MemBufInputSource source(bytes.data(), bytes.size(), named.getSystemId());
    BoundedEntityDOMParser& bounded = static_cast<BoundedEntityDOMParser&>(*parser);
    bounded.refusedEntity.clear();
    bounded.budgetExceeded = false;
    parser->parse(source);
    // The document outlives the parser: its scanning buffers, as large as the longest value of
    // the file several times over, are freed at once instead of while the reader walks the tree.
    errorCount = parser->getErrorCount();
    document.reset(parser->adoptDocument());
    const std::string refusedEntity = bounded.refusedEntity;
    const XMLSize_t refusedLength = bounded.refusedLength;
    const bool budgetExceeded = bounded.budgetExceeded;
    parser.reset();
    if (!refusedEntity.empty())
        throw XMLParserException("parse() - File " + quoted(path) + ": the entity " + quoted(refusedEntity) +
                                 " stands for " + std::to_string(refusedLength) +
                                 " characters, more than the " + std::to_string(ENTITY_REPLACEMENT_LIMIT) +
                                 " an entity may.");
    if (budget.exceeded() || budgetExceeded)
        throw budgetRefusal(path);
}

bool XMLFileParser::hasErrors() const
{
    return errorCount > 0 || reporter->errorSeen;
}

xercesc::DOMDocument* XMLFileParser::getDocument() const
{
    return document.get();
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
        throw XMLParserException("load() - " + std::string(lead) + "Error occurred while parsing " + quoted(path) +
                                 ". Errors should have been reported by the parser.");
    return parser;
}
