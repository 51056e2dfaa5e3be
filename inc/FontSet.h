#ifndef KELVO_FONTSET_H
#define KELVO_FONTSET_H

#include <map>
#include <memory>
#include <string>

#include "Action.inl"

class CharMesh;
class Environment;

// Maps characters to glyph images: for each character the colour JPEG of its glyph, drawn
// through the alpha JPEG beside it. Read from a font-set file by the "load" action; 3D texts ask
// it for one glyph mesh per character. Kept by its scene for the whole run.
class FontSet : public Action<FontSet> {
public:
    // owner: the scene whose texture manager receives the glyph textures; not owned.
    explicit FontSet(Environment* owner);
    // The glyph textures stay in the scene's texture manager.
    ~FontSet() override;
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    void setName(const std::string& name);
    std::string getName() const;

    // Adds the "character" entries of the font-set file (named relative to the working
    // directory, not the timeline's folder) to the glyphs already held; a character listed again
    // takes the later file. Throws XMLParserException when the file cannot be parsed or lacks its
    // "fontset" element or an entry's "charcode" or "filename"; the glyphs are then unchanged.
    void load(std::string file);
    void addCharacter(char c, const std::string& file);
    // The glyph image file of c; empty when c has none.
    std::string getGlyphFile(char c) const;
    bool hasGlyph(char c) const { return glyphs.count(c) != 0; }
    // c as a message names it: quoted, with its code (0 to 255), so that a blank or a control
    // character is recognisable too.
    static std::string describeCharacter(char c);
    const std::map<char, std::string>& getGlyphs() const { return glyphs; }

    // A new glyph mesh for c, owned by the caller, drawn with the scene's texture of the glyph's
    // file name: the first call for a picture creates it in the scene's texture manager and loads
    // it from the file and its alpha companion; later calls, from any text of the scene, share
    // it; a picture that fails to load leaves no texture behind. What creating or loading the
    // texture throws passes through; a character without a glyph throws
    // ComponentNotFoundException naming the character and this font set.
    std::unique_ptr<CharMesh> createCharMesh(char c);

private:
    Environment* owner;                 // not owned
    std::map<char, std::string> glyphs;  // glyph image resource name by character
    std::string name;                    // the scene's name for it
};

#endif
