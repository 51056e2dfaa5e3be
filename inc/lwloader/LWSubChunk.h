#ifndef KELVO_LWSUBCHUNK_H
#define KELVO_LWSUBCHUNK_H

#include <cstdint>

#include "lwloader/LWSizedChunk.h"

class LWReader;

// A sub-chunk inside a chunk or another sub-chunk: identifier, U2 body size and the body its
// subclass parses. Owned by the chunk or sub-chunk that read it and destroyed with it.
class LWSubChunk : public LWSizedChunk {
public:
    explicit LWSubChunk(int id);
    virtual ~LWSubChunk();

    // Reads the U2 body size and the body (the reader positioned after the identifier), skips what
    // readData left unread and the pad byte after an odd body: 2 + size (+ 1 for the pad), or
    // READ_FAILED when the size is cut off, the body does not fit in what remains or readData fails.
    int64_t read(LWReader& reader);

    uint16_t getSize() const { return size; }  // body bytes, pad byte excluded

private:
    uint16_t size;
};

#endif
