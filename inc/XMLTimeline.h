#ifndef KELVO_XMLTIMELINE_H
#define KELVO_XMLTIMELINE_H

#include <string>

#include <xercesc/util/XercesDefs.hpp>

#include "Timeline.h"

XERCES_CPP_NAMESPACE_BEGIN
class DOMNode;
XERCES_CPP_NAMESPACE_END

// The timeline read from an XML file: one "action" element per timed action, in file order.
class XMLTimeline : public Timeline {
public:
    // Starts Xerces for the run; a failure is logged and thrown as XMLParserException.
    XMLTimeline();

    // file is relative to the resource folder; its actions are appended to those already held.
    void load(const std::string& file);
};

// The first child element of parent named name, or null. Not owned: part of parent's document.
xercesc::DOMNode* getChildElement(const std::string& name, xercesc::DOMNode* parent);
// The attribute node named name of node, or null when node has no such attribute.
xercesc::DOMNode* getAttributeNode(const std::string& name, xercesc::DOMNode* node);

#endif
