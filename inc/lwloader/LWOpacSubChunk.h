#ifndef KELVO_LWOPACSUBCHUNK_H
#define KELVO_LWOPACSUBCHUNK_H

#include <cstdint>

#include "lwloader/LWSubChunk.h"

// OPAC of a block header: how the block is layered over those below it. Read and kept, not used.
class LWOpacSubChunk : public LWSubChunk {
public:
    LWOpacSubChunk();
    ~LWOpacSubChunk() override;

    int64_t readData(LWReader& reader) override;

    uint16_t getType() const { return type; }
    float getOpacity() const { return opacity; }
    uint32_t getEnvelope() const { return envelope; }

private:
    uint16_t type;      // layering mode
    float opacity;      // 0..1
    uint32_t envelope;  // envelope index, 0 for none
};

#endif
