#ifndef KELVO_LWBLOKSUBCHUNK_H
#define KELVO_LWBLOKSUBCHUNK_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lwloader/LWImapBlokHeader.h"
#include "lwloader/LWSubChunk.h"
#include "lwloader/LWTmapSubChunk.h"

class Actor;
class LWLoader;
class Surface;

// BLOK of a surface: one texture layer. An image-map block names a clip (the image), how the
// image is projected onto the object and how it wraps; blocks of other kinds (procedural,
// gradient, shader) only place their texture.
class LWBlokSubChunk : public LWSubChunk {
public:
    // Projection codes
    static constexpr uint16_t PROJECTION_PLANAR = 0;
    static constexpr uint16_t PROJECTION_CYLINDRICAL = 1;
    static constexpr uint16_t PROJECTION_SPHERICAL = 2;
    static constexpr uint16_t PROJECTION_CUBIC = 3;
    static constexpr uint16_t PROJECTION_FRONT = 4;
    static constexpr uint16_t PROJECTION_UV = 5;
    // Wrap codes
    static constexpr uint16_t WRAP_RESET = 0;
    static constexpr uint16_t WRAP_REPEAT = 1;
    static constexpr uint16_t WRAP_MIRROR = 2;
    static constexpr uint16_t WRAP_EDGE = 3;

    LWBlokSubChunk();
    ~LWBlokSubChunk() override;

    int64_t readData(LWReader& reader) override;
    // Places the texture on the surface and, for an image-map block, adds the clip's image as a
    // texture of the scene shared by name and projection and wrap, then gives the actor texture
    // coordinates: a planar projection through the placement, or the actor's UV maps of the
    // block's map name. Throws LWLoaderException for another projection (naming it and the
    // surface, before any image is loaded) or a planar one that neither repeats nor stops at the
    // edge, and what creating or loading the texture throws.
    void fillSurface(Actor* actor, Surface* surface, LWLoader* loader) const;
    // The scene's name of a clip image's texture: the file name without its folders, then "r"
    // (repeat) or "c" (clamp) for the width and the height.
    std::string textureName(const std::string& clipPath) const;

    bool hasImageHeader() const { return header != nullptr; }
    const LWImapBlokHeader* getHeader() const { return header.get(); }
    int getTextureMapCount() const { return static_cast<int>(textureMaps.size()); }
    const LWTmapSubChunk& getTextureMap(int i) const { return *textureMaps[i]; }
    uint32_t getImageIndex() const { return imageIndex; }
    uint16_t getProjection() const { return projection; }
    uint16_t getAxis() const { return axis; }
    uint16_t getWidthWrap() const { return widthWrap; }
    uint16_t getHeightWrap() const { return heightWrap; }
    const std::string& getUvMapName() const { return uvMapName; }

private:
    std::unique_ptr<LWImapBlokHeader> header;  // an image-map block's header; none for other kinds
    std::vector<std::unique_ptr<LWTmapSubChunk>> textureMaps;  // in file order
    uint32_t imageIndex;  // IMAG: the clip index of the image
    uint16_t projection;  // PROJ code
    uint16_t axis;        // AXIS code of the projection: 0 X, 1 Y, 2 Z
    uint16_t widthWrap;   // WRAP codes, edge until read
    uint16_t heightWrap;
    std::string uvMapName;  // VMAP: the UV map of a UV projection
};

#endif
