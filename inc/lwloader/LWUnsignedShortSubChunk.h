#ifndef KELVO_LWUNSIGNEDSHORTSUBCHUNK_H
#define KELVO_LWUNSIGNEDSHORTSUBCHUNK_H

#include <cstdint>

#include "lwloader/LWSubChunk.h"

// A sub-chunk holding one U2: ENAB (a block's enable flag) or CSYS (object or world coordinates
// of a texture placement).
class LWUnsignedShortSubChunk : public LWSubChunk {
public:
    explicit LWUnsignedShortSubChunk(int id);
    ~LWUnsignedShortSubChunk() override;

    int64_t readData(LWReader& reader) override;

    uint16_t getValue() const { return value; }

private:
    uint16_t value;  // 1 until read
};

#endif
