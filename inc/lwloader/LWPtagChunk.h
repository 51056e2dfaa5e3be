#ifndef KELVO_LWPTAGCHUNK_H
#define KELVO_LWPTAGCHUNK_H

#include <cstdint>
#include <vector>

#include "lwloader/LWChunk.h"

// PTAG: tags of the polygons of the chunk before it, each naming a string of the tag list. SURF
// tags give the actor's triangles their surfaces; BNWT tags name bones after their weight maps.
// Other kinds are skipped.
class LWPtagChunk : public LWChunk {
public:
    LWPtagChunk();
    ~LWPtagChunk() override;

    int64_t readData(LWReader& reader) override;
    void fillObject(Actor* actor, LWLoader* loader) override;

    int getTagType() const { return tagType; }
    int getEntryCount() const { return static_cast<int>(polygonIndices.size()); }
    uint32_t getPolygonIndex(int entry) const { return polygonIndices[entry]; }
    uint16_t getTagIndex(int entry) const { return tagIndices[entry]; }

private:
    int tagType;                            // ID_SURF, ID_BNWT, ID_BONE or another identifier number
    std::vector<uint32_t> polygonIndices;   // the polygon of each entry, in its polygons chunk
    std::vector<uint16_t> tagIndices;       // the tag of each entry, in the tag list
};

#endif
