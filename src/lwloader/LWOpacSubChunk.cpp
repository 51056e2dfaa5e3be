#include "lwloader/LWOpacSubChunk.h"

#include "lwloader/LWReader.h"

LWOpacSubChunk::LWOpacSubChunk() : LWSubChunk(ID_OPAC), type(0), opacity(1.0f), envelope(0)
{
}

LWOpacSubChunk::~LWOpacSubChunk() = default;

int64_t LWOpacSubChunk::readData(LWReader& reader)
{
    if (reader.readU2(type) != 2 || reader.readF4(opacity) != 4)
        return READ_FAILED;
    int64_t index = reader.readVX(envelope);
    return index == 0 ? READ_FAILED : 6 + index;
}
