#ifndef KELVO_LWVMAPCHUNK_H
#define KELVO_LWVMAPCHUNK_H

#include <cstdint>
#include <string>
#include <vector>

#include "lwloader/LWChunk.h"

// VMAP: a named map of values per point of the points chunk before it. WGHT maps give points their
// weight for the bone of the map's name; TXUV maps are texture coordinates, applied by the texture
// blocks that name them. Other kinds are read and kept.
class LWVmapChunk : public LWChunk {
public:
    LWVmapChunk();
    ~LWVmapChunk() override;

    int64_t readData(LWReader& reader) override;
    // Adds a WGHT map's weights to the actor (outside a bone layer), and finds the actor's points
    // of a TXUV map's entries for applyUV.
    void fillObject(Actor* actor, LWLoader* loader) override;
    // A TXUV map's coordinates as the per-point coordinates of the actor's points; v is turned
    // over (LightWave's v runs up the image, the engine's down). Nothing for other kinds, or for a
    // map whose points the actor does not have.
    void applyUV(Actor* actor) const;

    uint16_t getDimension() const { return dimension; }
    int getMapType() const { return mapType; }
    const std::string& getName() const { return name; }
    int getEntryCount() const { return static_cast<int>(pointIndices.size()); }
    uint32_t getPointIndex(int entry) const { return pointIndices[entry]; }
    // Value k (below the dimension) of an entry.
    float getValue(int entry, int k) const { return values[static_cast<size_t>(entry) * dimension + k]; }

protected:
    // VMAP and VMAD differ by the polygon number after each point.
    LWVmapChunk(int id, bool perPolygon);
    int64_t readMap(LWReader& reader);
    // The actor's point of each entry; empty when the points are a bone layer's.
    void resolvePoints(LWLoader* loader);

    uint16_t dimension;  // values per entry
    int mapType;         // ID_WGHT, ID_TXUV or another identifier number
    std::string name;    // kept whole, however long
    std::vector<uint32_t> pointIndices;    // per entry, in the points chunk
    std::vector<uint32_t> polygonIndices;  // per entry of a VMAD, in the polygons chunk
    std::vector<float> values;             // dimension values per entry
    std::vector<int> actorPoints;          // per entry, once resolved

private:
    bool perPolygon;
};

#endif
