#ifndef KELVO_LWSIZEDCHUNK_H
#define KELVO_LWSIZEDCHUNK_H

#include <cstdint>
#include <string>

#include "lwloader/LWLoaderComponent.h"

class LWReader;

// What chunks and sub-chunks of an LWO2 file share: an identifier, then a body size field (U4 for
// a chunk, U2 for a sub-chunk) and the body its subclass parses in readData, bounded by that size.
class LWSizedChunk : public LWLoaderComponent {
public:
    LWSizedChunk(const LWSizedChunk&) = delete;
    LWSizedChunk& operator=(const LWSizedChunk&) = delete;
    virtual ~LWSizedChunk();

    // Parses the body from the reader, which ends at the end of the body: the bytes consumed, or
    // READ_FAILED. Reports failures through the result (and the reader), never by throwing.
    virtual int64_t readData(LWReader& reader) = 0;

    int getId() const { return id; }
    void setIdString(const std::string& text) { idString = text; }
    std::string getIdString() const { return idString; }

protected:
    explicit LWSizedChunk(int id);

    // Reads the body of size bytes (the reader positioned after a size field of fieldBytes), skips
    // what readData left unread and the pad byte after an odd body: fieldBytes + size (+ 1 for the
    // pad), or READ_FAILED when the body does not fit in what remains or readData fails.
    int64_t readBody(LWReader& reader, int64_t fieldBytes, uint32_t size);

private:
    int id;                // identifier number
    std::string idString;  // the code as read
};

#endif
