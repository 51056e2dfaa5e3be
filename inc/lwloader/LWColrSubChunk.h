#ifndef KELVO_LWCOLRSUBCHUNK_H
#define KELVO_LWCOLRSUBCHUNK_H

#include <cstdint>

#include "RGBA.h"
#include "lwloader/LWSubChunk.h"

// COLR of a surface: its base colour and the envelope that may animate it (not used).
class LWColrSubChunk : public LWSubChunk {
public:
    LWColrSubChunk();
    ~LWColrSubChunk() override;

    int64_t readData(LWReader& reader) override;

    // Red, green and blue as read, alpha 1.
    RGBA getColor() const;
    uint32_t getEnvelope() const { return envelope; }

private:
    float colour[3];    // r, g, b in 0..1
    uint32_t envelope;  // envelope index, 0 for none
};

#endif
