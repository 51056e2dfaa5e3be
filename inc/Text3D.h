#ifndef KELVO_TEXT3D_H
#define KELVO_TEXT3D_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Action.inl"
#include "Exception.h"
#include "keyframer/TCBVectorInterpolator.h"

class CharMesh;
class Environment;
class FontSet;

class Text3DException : public Exception {
public:
    explicit Text3DException(const std::string& message);
};

// A text shown in the 3D scene as glyph images on one quad whose corners fly along two keyed
// paths: the top edge along path A, the bottom edge along path B, the leading (left) edge of the
// image at the playback time and the trailing (right) edge lag seconds behind. The glyphs share the
// quad in equal cells side by side, the first at the leading edge. Kept by its scene for the whole
// run.
class Text3D : public Action<Text3D> {
public:
    // owner: the scene whose font sets and textures the text uses; not owned.
    explicit Text3D(Environment* owner);
    // Frees the glyph meshes; their textures stay in the scene's texture manager.
    ~Text3D() override;
    Text3D(const Text3D&) = delete;
    Text3D& operator=(const Text3D&) = delete;

    void setName(const std::string& name);
    std::string getName() const;

    // The scene's font set named name. Throws EnvironmentException when the scene holds none; the
    // font set is then unchanged.
    void setFontSet(std::string name);
    // Appends one glyph per character of text after the glyphs already made. Throws
    // Text3DException before any font set was chosen, and at a character the font set has no
    // glyph for (naming the character, the text and the font set); what making a glyph throws
    // passes through, and the glyphs made before it stay.
    void setText(std::string text);

    // Once per frame at time (playback seconds): moves every glyph's corners and draws it, in the
    // order the glyphs were made. Throws Text3DException when a glyph fails to draw.
    void render(double time);

    int getGlyphCount() const { return static_cast<int>(glyphs.size()); }
    CharMesh& getGlyph(int index) const { return *glyphs.at(static_cast<size_t>(index)); }

private:
    Environment* owner;                            // not owned
    std::vector<std::unique_ptr<CharMesh>> glyphs;  // in the order made
    FontSet* fontSet;                              // not owned: the scene's; null until chosen
    std::string name;                              // the scene's name for it
    TCBVectorInterpolator pathA;  // top edge, scene units over frames at 24 per second
    TCBVectorInterpolator pathB;  // bottom edge
    uint32_t lag;                 // seconds the trailing edge runs behind the leading one
};

#endif
