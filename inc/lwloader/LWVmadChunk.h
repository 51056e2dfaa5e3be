#ifndef KELVO_LWVMADCHUNK_H
#define KELVO_LWVMADCHUNK_H

#include "lwloader/LWVmapChunk.h"

class LWPolygonsChunk;

// VMAD: a named map of values per polygon corner: each entry a point and a polygon of the
// chunks before it. TXUV maps give the corners of the actor's triangles their own texture
// coordinates, where a point's coordinates differ from polygon to polygon (along a seam).
class LWVmadChunk : public LWVmapChunk {
public:
    LWVmadChunk();
    ~LWVmadChunk() override;

    int64_t readData(LWReader& reader) override;
    // Finds the actor's points and polygons of a TXUV map's entries for applyUV; adds nothing.
    void fillObject(Actor* actor, LWLoader* loader) override;
    // A TXUV map's coordinates on every triangle of the entry's polygon that has the entry's point,
    // v turned over. Throws the actor's TextureCoordinateException for a coordinate outside its
    // range.
    void applyUV(Actor* actor) const;

    uint32_t getPolygonIndex(int entry) const { return polygonIndices[entry]; }

private:
    // The polygons chunk the entries number, once resolved with its faces added; null before and
    // when there is none. Owned by the loader, as this chunk is.
    const LWPolygonsChunk* polygons = nullptr;
};

#endif
