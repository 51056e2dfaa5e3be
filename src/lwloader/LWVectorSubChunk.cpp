#include "lwloader/LWVectorSubChunk.h"

#include "lwloader/LWReader.h"

LWVectorSubChunk::LWVectorSubChunk(int id) : LWSubChunk(id), envelope(0)
{
}

LWVectorSubChunk::~LWVectorSubChunk() = default;

int64_t LWVectorSubChunk::readData(LWReader& reader)
{
    float values[3];
    if (reader.readVEC12(values, 1) != 12)
        return READ_FAILED;
    vector = Vector(values);
    int64_t index = reader.readVX(envelope);
    return index == 0 ? READ_FAILED : 12 + index;
}
