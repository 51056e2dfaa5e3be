#include "FontSet.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <xercesc/dom/DOM.hpp>

#include "BlendableTexture.h"
#include "CharMesh.h"
#include "ComponentExceptions.h"
#include "DOMTreeErrorReporter.h"
#include "Environment.h"
#include "Log.h"
#include "StringUtil.h"
#include "Texture.h"
#include "TextureManager.h"
#include "TranscodedString.h"
#include "XMLFileParser.h"
#include "XMLTimeline.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
bool isElementNamed(const xercesc::DOMNode* node, const char* name)
{
    return node->getNodeType() == xercesc::DOMNode::ELEMENT_NODE &&
           std::string(TranscodedString(node->getNodeName()).c_str()) == name;
}

// The value of a "character" attribute the entry cannot do without.
std::string requiredAttribute(const char* attribute, xercesc::DOMNode* character, const std::string& file)
{
    xercesc::DOMNode* node = getAttributeNode(attribute, character);
    if (!node)
        throw XMLParserException(std::string("load() - Error! Attribute \"") + attribute +
                                 "\" of a character is missing in " + quoted(file) + ".");
    return TranscodedString(node->getNodeValue()).c_str();
}
}

FontSet::FontSet(Environment* owner) : owner(owner)
{
    setClassName("Action<FontSet>");
    addStringAction("load", &FontSet::load);
}

FontSet::~FontSet() = default;

void FontSet::setName(const std::string& name)
{
    this->name = name;
}

std::string FontSet::getName() const
{
    return name;
}

void FontSet::addCharacter(char c, const std::string& file)
{
    glyphs[c] = file;
}

std::string FontSet::getGlyphFile(char c) const
{
    const auto it = glyphs.find(c);
    return it == glyphs.end() ? std::string() : it->second;
}

void FontSet::load(std::string file)
{
    KELVO_LOG(LogLevel::info) << "load() - Loading Fontset from " << quoted(file) << ".."
                 << logEnd;
    // Backslashes separate folders here too, as in every name a data file gives.
    std::replace(file.begin(), file.end(), '\\', '/');

    // Font-set files are named relative to the working directory.
    const std::unique_ptr<XMLFileParser> parser = XMLFileParser::loadFile(file, LOG_SOURCE);

    xercesc::DOMNode* fontset = getChildElement("fontset", parser->getDocument());
    if (!fontset)
        throw XMLParserException("load() - Error! The root element of " + quoted(file) + " is not \"fontset\".");

    // Every entry is read before any is added, so a broken file changes nothing.
    std::vector<std::pair<char, std::string>> entries;
    for (xercesc::DOMNode* node = fontset->getFirstChild(); node; node = node->getNextSibling()) {
        if (!isElementNamed(node, "character"))
            continue;
        const std::string charcode = requiredAttribute("charcode", node, file);
        const std::string filename = requiredAttribute("filename", node, file);
        // The character itself, not its number: only its first byte counts.
        if (charcode.empty())
            throw XMLParserException("load() - Error! Attribute \"charcode\" of a character is empty in " + quoted(file) +
                                     ".");
        entries.emplace_back(charcode[0], filename);
    }
    for (const auto& entry : entries)
        addCharacter(entry.first, entry.second);
    KELVO_LOG(LogLevel::info) << "load() - Loading completed. "
                 << toString(static_cast<int>(entries.size())) << " Fonts loaded to a Fontset." << logEnd;
}

std::string FontSet::describeCharacter(char c)
{
    return "'" + std::string(1, c) + "' (" + toString(static_cast<int>(static_cast<unsigned char>(c))) + ")";
}

std::unique_ptr<CharMesh> FontSet::createCharMesh(char c)
{
    if (!hasGlyph(c))
        throw ComponentNotFoundException("FontSet", "createCharMesh() - The font set \"" + name +
                                                        "\" has no glyph for the character " + describeCharacter(c) +
                                                        ".");
    const std::string file = getGlyphFile(c);
    TextureManager& manager = owner->getTextureManager();
    // One texture per glyph picture in the scene: a text of thousands of characters decodes and
    // keeps each distinct picture once. A texture that never uploaded is made again; one that
    // fails to load is taken out of the manager again.
    Texture* texture = manager.exists(file) ? manager.find(file) : nullptr;
    if (!dynamic_cast<BlendableTexture*>(texture) || texture->getTextureId() == 0) {
        texture = manager.createBlendableTexture(file);
        manager.loadCreated(texture, file);
    }
    return std::make_unique<CharMesh>(owner, texture);
}
