#include "lwloader/LWUnsignedShortSubChunk.h"

#include "lwloader/LWReader.h"

LWUnsignedShortSubChunk::LWUnsignedShortSubChunk(int id) : LWSubChunk(id), value(1)
{
}

LWUnsignedShortSubChunk::~LWUnsignedShortSubChunk() = default;

int64_t LWUnsignedShortSubChunk::readData(LWReader& reader)
{
    return reader.readU2(value) == 2 ? 2 : READ_FAILED;
}
