#ifndef KELVO_LWCHUNK_H
#define KELVO_LWCHUNK_H

#include <cstdint>
#include <string>

#include "lwloader/LWLoaderComponent.h"

class Actor;
class LWLoader;
class LWReader;

// A top-level chunk of an LWO2 file: its identifier, its body size, and the body its subclass
// parses in readData and applies to the actor in fillObject. Owned by the LWLoader that read it.
class LWChunk : public LWLoaderComponent {
public:
    explicit LWChunk(int id);
    LWChunk(const LWChunk&) = delete;
    LWChunk& operator=(const LWChunk&) = delete;

    // Applies the chunk to the actor; loader gives the other chunks through its cursor. Throws.
    virtual void fillObject(Actor* actor, LWLoader* loader) = 0;
    // Parses the body from the reader, which ends at the end of the body: the bytes consumed, or
    // READ_FAILED. Reports failures through the result (and the reader), never by throwing.
    virtual int64_t readData(LWReader& reader) = 0;
    virtual ~LWChunk();

    // The layer number of a LAYR chunk; other chunks answer 0.
    virtual int getLayerNumber() const;
    // The identifier number of the polygon type of a POLS chunk (ID_FACE, ID_BONE, ...); other
    // chunks answer ID_OTHER.
    virtual int getPolygonType() const;

    // Reads the U4 body size and the body (the reader positioned after the identifier), skips what
    // readData left unread and the pad byte after an odd body: 4 + size (+ 1 for the pad), or
    // READ_FAILED when the size is cut off, the body does not fit in what remains or readData fails.
    int64_t read(LWReader& reader);

    int getId() const { return id; }
    void setIdString(const std::string& text) { idString = text; }
    std::string getIdString() const { return idString; }
    uint32_t getSize() const { return size; }  // body bytes, pad byte excluded

private:
    int id;                // identifier number
    std::string idString;  // the code as read
    uint32_t size;
};

#endif
