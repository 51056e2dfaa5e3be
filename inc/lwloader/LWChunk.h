#ifndef KELVO_LWCHUNK_H
#define KELVO_LWCHUNK_H

#include <cstdint>

#include "lwloader/LWSizedChunk.h"

class Actor;
class LWLoader;
class LWReader;

// A top-level chunk of an LWO2 file: its identifier, its U4 body size, and the body its subclass
// parses in readData and applies to the actor in fillObject. Owned by the LWLoader that read it.
class LWChunk : public LWSizedChunk {
public:
    explicit LWChunk(int id);
    virtual ~LWChunk();

    // Applies the chunk to the actor; loader gives the other chunks through its cursor. Throws.
    virtual void fillObject(Actor* actor, LWLoader* loader) = 0;

    // The layer number of a LAYR chunk; other chunks answer 0.
    virtual int getLayerNumber() const;
    // The identifier number of the polygon type of a POLS chunk (ID_FACE, ID_BONE, ...); other
    // chunks answer ID_OTHER.
    virtual int getPolygonType() const;

    // Reads the U4 body size and the body (the reader positioned after the identifier), skips what
    // readData left unread and the pad byte after an odd body: 4 + size (+ 1 for the pad), or
    // READ_FAILED when the size is cut off, the body does not fit in what remains or readData fails.
    int64_t read(LWReader& reader);

    uint32_t getSize() const { return size; }  // body bytes, pad byte excluded

private:
    uint32_t size;
};

#endif
