#ifndef KELVO_LWNULLSUBCHUNK_H
#define KELVO_LWNULLSUBCHUNK_H

#include "lwloader/LWSubChunk.h"

// A sub-chunk this loader does not read: its body is skipped. Readers use a temporary one for
// every sub-chunk they do not support.
class LWNullSubChunk : public LWSubChunk {
public:
    LWNullSubChunk();
    ~LWNullSubChunk() override;

    // Skips the whole body: its size, or READ_FAILED.
    int64_t readData(LWReader& reader) override;
};

#endif
