#ifndef KELVO_LWSURFCHUNK_H
#define KELVO_LWSURFCHUNK_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Material.h"
#include "lwloader/LWBlokSubChunk.h"
#include "lwloader/LWChunk.h"

// SURF: one surface of the object, named as the SURF tags of its polygons name it: its material
// (colour, diffuse, luminosity, specularity, glossiness) and its texture blocks. Applied, it puts
// a surface of that name into the actor's surface library.
class LWSurfChunk : public LWChunk {
public:
    LWSurfChunk();
    ~LWSurfChunk() override;

    // Builds the material as the values come: DIFF and LUMI scale the colour read before them.
    int64_t readData(LWReader& reader) override;
    // The actor's surface of the name, created when missing, gets the material and the blocks.
    // Throws LWLoaderException.
    void fillObject(Actor* actor, LWLoader* loader) override;

    const std::string& getName() const { return name; }
    const std::string& getSource() const { return source; }
    int getBlockCount() const { return static_cast<int>(blocks.size()); }
    const LWBlokSubChunk& getBlock(int i) const { return *blocks[i]; }
    const Material& getMaterial() const { return material; }

private:
    // GLOS: the shininess of a glossiness within 0 to 1; anything else (not a number included) is
    // clamped into it and remembered for the warning of fillObject.
    void setGlossiness(float value);

    std::string name;    // kept whole, however long
    std::string source;  // the surface this one was derived from; not used
    std::vector<std::unique_ptr<LWBlokSubChunk>> blocks;  // in file order
    Material material;
    bool glossinessClamped;  // the last GLOS was outside 0 to 1
    float glossinessRead;    // that value, for the warning
};

#endif
