#include "lwloader/LWFallSubChunk.h"

#include "lwloader/LWReader.h"

LWFallSubChunk::LWFallSubChunk() : LWSubChunk(ID_FALL), type(0), envelope(0)
{
}

LWFallSubChunk::~LWFallSubChunk() = default;

int64_t LWFallSubChunk::readData(LWReader& reader)
{
    float values[3];
    if (reader.readU2(type) != 2 || reader.readVEC12(values, 1) != 12)
        return READ_FAILED;
    vector = Vector(values);
    int64_t index = reader.readVX(envelope);
    return index == 0 ? READ_FAILED : 14 + index;
}
