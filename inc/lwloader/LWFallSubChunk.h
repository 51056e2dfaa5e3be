#ifndef KELVO_LWFALLSUBCHUNK_H
#define KELVO_LWFALLSUBCHUNK_H

#include <cstdint>

#include "Vector.h"
#include "lwloader/LWSubChunk.h"

// FALL of a texture placement: the fall-off of a texture with distance. Read and kept, not used.
class LWFallSubChunk : public LWSubChunk {
public:
    LWFallSubChunk();
    ~LWFallSubChunk() override;

    int64_t readData(LWReader& reader) override;

    uint16_t getType() const { return type; }
    Vector getVector() const { return vector; }
    uint32_t getEnvelope() const { return envelope; }

private:
    uint16_t type;
    Vector vector;      // fall-off per unit along x, y, z
    uint32_t envelope;  // envelope index, 0 for none
};

#endif
