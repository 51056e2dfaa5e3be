#ifndef KELVO_LWAXISSUBCHUNK_H
#define KELVO_LWAXISSUBCHUNK_H

#include <cstdint>

#include "lwloader/LWSubChunk.h"

// AXIS of a block header: the axis a projection looks along.
class LWAxisSubChunk : public LWSubChunk {
public:
    LWAxisSubChunk();
    ~LWAxisSubChunk() override;

    int64_t readData(LWReader& reader) override;

    uint16_t getValue() const { return value; }

private:
    uint16_t value;  // 0 X, 1 Y, 2 Z
};

#endif
