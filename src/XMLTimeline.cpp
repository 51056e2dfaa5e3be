#include "XMLTimeline.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/XMLException.hpp>

#include "DOMTreeErrorReporter.h"
#include "Log.h"
#include "StringUtil.h"
#include "TranscodedString.h"
#include "XMLFileParser.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
// Names in the engine are ISO-8859-1, one byte a character, the inverse of TranscodedString.
std::u16string parserString(const std::string& text)
{
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
}

bool hasName(const xercesc::DOMNode* node, const std::string& name)
{
    return xercesc::XMLString::equals(node->getNodeName(), parserString(name).c_str());
}

std::string attributeText(xercesc::DOMNode* attribute)
{
    return TranscodedString(attribute->getNodeValue()).c_str();
}

// The value of a required attribute of an "action" element; its absence names the file.
std::string requiredAttribute(const std::string& attribute, xercesc::DOMNode* action, const std::string& actionName,
                              const std::string& path)
{
    xercesc::DOMNode* node = getAttributeNode(attribute, action);
    if (!node) {
        std::string which = actionName.empty() ? std::string("an action") : "action " + quoted(actionName);
        throw XMLParserException("load() - Error! Attribute " + quoted(attribute) + " of " + which + " is missing in " +
                                 quoted(path) + ".");
    }
    return attributeText(node);
}
}

XMLTimeline::XMLTimeline()
{
    try {
        XMLFileParser::initializeXerces();
    } catch (const xercesc::XMLException& e) {
        std::string message =
            std::string("XMLTimeline() - Error during Xerces-c Initialization. ") + TranscodedString(e.getMessage()).c_str();
        KELVO_LOG(LogLevel::error) << message << logEnd;
        throw XMLParserException(message);
    }
}

void XMLTimeline::load(const std::string& file)
{
    KELVO_LOG(LogLevel::info) << "load() - Loading Timeline from " << quoted(file) << ".."
                 << logEnd;
    setName(file);

    std::string path;
    const std::unique_ptr<XMLFileParser> parser = XMLFileParser::loadResource(file, path, LOG_SOURCE);

    xercesc::DOMNode* timelineElement = getChildElement("timeline", parser->getDocument());
    if (!timelineElement)
        throw XMLParserException("load() - Error! The root element of " + quoted(path) + " is not \"timeline\".");

    int count = 0;
    for (xercesc::DOMNode* node = timelineElement->getFirstChild(); node; node = node->getNextSibling()) {
        if (node->getNodeType() != xercesc::DOMNode::ELEMENT_NODE || !hasName(node, "action"))
            continue;
        std::string name = requiredAttribute("name", node, "", path);
        std::string type = requiredAttribute("type", node, name, path);
        const std::string timeText = requiredAttribute("time", node, name, path);
        double time = getTimeOffset() + std::atof(timeText.c_str());
        // A time that is no number of seconds ("nan", "inf", "1e999") is never reached, or always,
        // and would hold back every action after it for ever.
        if (!std::isfinite(time))
            throw XMLParserException("load() - Error! The time " + quoted(timeText) + " of action " + quoted(name) +
                                     " in " + quoted(path) + " is not a finite number of seconds.");

        int kind = ActionKindNone;
        const char* kindWord = nullptr;
        if (type == "string") {
            kind = ActionKindString;
            kindWord = "String";
        } else if (type == "float") {
            kind = ActionKindFloat;
            kindWord = "Float";
        } else if (type == "integer") {
            kind = ActionKindInteger;
            kindWord = "Integer";
        } else if (type != "none") {
            // Still an action without a parameter, but a type word with a capital or a typo would
            // otherwise only show when a handler of the right kind is not found.
            KELVO_LOG(LogLevel::warning) << "load() - Action \"" << name << "\" has the type \"" << type
                                         << "\", which is none of \"string\", \"float\", \"integer\" and "
                                            "\"none\": it is sent without a parameter." << logEnd;
        }
        std::string parameter;
        if (kind != ActionKindNone) {
            xercesc::DOMNode* param = getAttributeNode("param", node);
            if (!param)
                throw XMLParserException(std::string("load() - Error! ") + kindWord + " parameter for action " +
                                         quoted(name) + " is missing.");
            parameter = attributeText(param);
        }
        addTimedAction(TimedAction(time, name, kind, parameter));
        ++count;
    }
    KELVO_LOG(LogLevel::info) << "load() - Loading completed. " << toString(count)
                 << " Actions loaded to the timeline." << logEnd;
}

xercesc::DOMNode* getChildElement(const std::string& name, xercesc::DOMNode* parent)
{
    if (!parent)
        return nullptr;
    for (xercesc::DOMNode* child = parent->getFirstChild(); child; child = child->getNextSibling()) {
        if (child->getNodeType() == xercesc::DOMNode::ELEMENT_NODE && hasName(child, name))
            return child;
    }
    return nullptr;
}

xercesc::DOMNode* getAttributeNode(const std::string& name, xercesc::DOMNode* node)
{
    if (!node)
        return nullptr;
    xercesc::DOMNamedNodeMap* attributes = node->getAttributes();
    if (!attributes)
        return nullptr;
    return attributes->getNamedItem(parserString(name).c_str());
}
