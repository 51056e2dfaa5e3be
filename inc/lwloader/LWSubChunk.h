#ifndef KELVO_LWSUBCHUNK_H
#define KELVO_LWSUBCHUNK_H

#include <cstdint>
#include <string>

#include "lwloader/LWLoaderComponent.h"

class LWReader;

// A sub-chunk inside a chunk or another sub-chunk: identifier, U2 body size and the body its
// subclass parses. Owned by the chunk or sub-chunk that read it and destroyed with it.
class LWSubChunk : public LWLoaderComponent {
public:
    explicit LWSubChunk(int id);
    LWSubChunk(const LWSubChunk&) = delete;
    LWSubChunk& operator=(const LWSubChunk&) = delete;
    virtual ~LWSubChunk();

    // Parses the body from the reader, which ends at the end of the body: the bytes consumed, or
    // READ_FAILED. Reports failures through the result (and the reader), never by throwing.
    virtual int64_t readData(LWReader& reader) = 0;

    // Reads the U2 body size and the body (the reader positioned after the identifier), skips what
    // readData left unread and the pad byte after an odd body: 2 + size (+ 1 for the pad), or
    // READ_FAILED when the size is cut off, the body does not fit in what remains or readData fails.
    int64_t read(LWReader& reader);

    int getId() const { return id; }
    void setIdString(const std::string& text) { idString = text; }
    std::string getIdString() const { return idString; }
    uint16_t getSize() const { return size; }  // body bytes, pad byte excluded

private:
    int id;                // identifier number
    std::string idString;  // the code as read
    uint16_t size;
};

#endif
