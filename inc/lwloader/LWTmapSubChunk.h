#ifndef KELVO_LWTMAPSUBCHUNK_H
#define KELVO_LWTMAPSUBCHUNK_H

#include <cstdint>

#include "lwloader/LWFallSubChunk.h"
#include "lwloader/LWStringSubChunk.h"
#include "lwloader/LWSubChunk.h"
#include "lwloader/LWUnsignedShortSubChunk.h"
#include "lwloader/LWVectorSubChunk.h"

class Surface;

// TMAP of a texture block: where the texture sits on the object. Only the centre and size reach
// the surface (for a planar projection); the rest is read and kept.
class LWTmapSubChunk : public LWSubChunk {
public:
    LWTmapSubChunk();
    ~LWTmapSubChunk() override;

    // Every sub-chunk must be one of the six a placement holds; any other fails the read.
    int64_t readData(LWReader& reader) override;

    // The surface's texture centre (z negated, as the points are) and size.
    void applyToSurface(Surface* surface) const;

    const LWVectorSubChunk& getCenter() const { return center; }
    const LWVectorSubChunk& getSizeVector() const { return size; }
    const LWVectorSubChunk& getRotation() const { return rotation; }
    const LWStringSubChunk& getReferenceObject() const { return referenceObject; }
    const LWFallSubChunk& getFalloff() const { return falloff; }
    const LWUnsignedShortSubChunk& getCoordinateSystem() const { return coordinateSystem; }

private:
    LWVectorSubChunk center;    // object units
    LWVectorSubChunk size;      // object units
    LWVectorSubChunk rotation;  // heading, pitch, bank in radians
    LWStringSubChunk referenceObject;
    LWFallSubChunk falloff;
    LWUnsignedShortSubChunk coordinateSystem;  // 0 object, 1 world
};

#endif
